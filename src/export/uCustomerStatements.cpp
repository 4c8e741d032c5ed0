#include "export/uCustomerStatements.h"

#include "export/uExportTexts.h"
#include "export/uUserDefinedFields.h"

#include <utility>
#include <vector>

namespace vq {
namespace {

using Kind = UdfSource::Kind;

const std::string Where = "where CUA.COMID=:ComID and isnull(CUA.REVNUM, 1)>:num and ";

std::string Columns(const std::vector<std::pair<std::string, std::string>> &columns) {
  std::string text;
  for (const auto &[expression, alias] : columns)
    text += (text.empty() ? "" : ", ") + expression + " as " + alias;
  return text + " ";
}

// The candidates of the array and then the free text field of each name.
std::vector<UdfSource> ArrayThenText(std::string_view greek, std::string_view english) {
  return {{Kind::ArrayValueName, greek},
          {Kind::TextField, greek},
          {Kind::ArrayValueName, english},
          {Kind::TextField, english}};
}

// The head-office address's code and description: a trader's text, a hyphen and the mark.
std::string HeadOffice(const std::string &column) {
  return column + "+'-'+" + SqlString(HeadOfficeText);
}

std::string AddressColumns(const std::string &source, const std::string &code,
                           const std::string &description, const std::string &isDefault) {
  return Columns(
      {{"ISNULL(CUA.REVNUM, 1)", "REVNUM"},
       {"CUA.ABBREVIATION", "AccountNum"},
       {code, "Address"},
       {description, "AddressDescr"},
       {"ISNULL(" + source + ".STREET, '')+' '+ISNULL(" + source + ".STRNUMBER, '')", "Street"},
       {source + ".STREET", "StreetCRM"},
       {source + ".STRNUMBER", "StrNum"},
       {source + ".CITY", "City"},
       {source + ".ZIPCODE", "ZipCode"},
       {"PRE.NAME", "PreName"},
       {"PRE.CODE", "PreCode"},
       {"MUN.NAME", "MunName"},
       {"MUN.CODE", "MunCode"},
       {"CNT.NAME", "Country"},
       {"CNT.ID", "CountryID"},
       {"CNT.EUCODE", "CountryCode"},
       {isDefault, "IsDefault"}});
}

} // namespace

std::string CustomerStatement(const std::string &rowLimit, const std::string &filter, bool esales) {
  std::vector<std::pair<std::string, std::string>> columns = {
      {"CUA.ABBREVIATION", "AccountNum"},
      {"CUA.NAME", "Name"},
      {"CUA.NAME", "NameAlias"},
      {"(TRD.STREET+' '+TRD.STRNUMBER+' '+TRD.CITY)", "Address"},
      {"(TRD.STREET+TRD.STRNUMBER)", "Street"},
      {"TRD.STREET", "StreetCRM"},
      {"TRD.CITY", "City"},
      {"TRD.ZIPCODE", "ZipCode"},
      {"TRD.PHONE1", "Phone"},
      {"TRD.PHONE2", "PhoneLocal"},
      {"TRD.STRNUMBER", "StrNum"},
      {"CUR.SYMBOL", "Currency"},
      {"CAC.CODE", "CustGroup"},
      {"CAC.NAME", "CustGroupName"},
      {"ISNULL(CUA.CREDITLIMIT,0)", "CreditMax"},
      {"ISNULL(CUA.DEFAULTDISCOUNT,0)", "LineDisc"},
      {"TRD.EMAIL", "EMail"},
      {"CNT.NAME", "Country"},
      {"CNT.ID", "CountryID"},
      {"CNT.EUCODE", "CountryCode"},
      {"TRD.AFM", "VatNum"},
      {"CASE ISNULL(CUA.FPASTATUS,0) WHEN 1 THEN 0 WHEN 2 THEN 1 ELSE 0 END", "VatStatus"},
      {"TRD.AFM", "VatNum"},
      {"TRD.IDENTITYNUM", "SearchCode"},
      {"ISNULL(CUA.DISABLED, 0)", "IsInactive"},
      {"CASE ISNULL(DOY.CODE, '') WHEN '' THEN DOY.NAME ELSE DOY.CODE END", "DoyCode"},
      {"DOY.NAME", "DoyName"},
      {"PRE.NAME", "PreName"},
      {"PRE.CODE", "PreCode"},
      {"MUN.NAME", "MunName"},
      {"MUN.CODE", "MunCode"},
      {"OCP.ID", "OcpCode"},
      {"OCP.NAME", "OcpName"}};
  if (esales)
    columns.insert(columns.end(), {{"TRD.FAX", "Fax"},
                                   {"TRD.CONTACTPERSON", "ContactPerson1"},
                                   {"CUA.REMARKS", "Comments"},
                                   {"SHV.ID", "AgencyID"},
                                   {"CPZ.ID", "CustDiscountCatID"},
                                   {"CPZ.NAME", "CustDiscountCatName"}});
  columns.insert(columns.end(),
                 {{"ISNULL(CUA.REVNUM, 1)", "RevNum"}, {"CUA.ORIGINID", "ReferenceID"}});
  if (esales)
    columns.insert(
        columns.end(),
        {{UdfColumn(CustomerDomain,
                    {{Kind::ArrayValueId, AltGroupGreekName}, {Kind::ArrayValueId, AltGroupName}}),
          "XtraFieldsFL1"},
         {UdfColumn(CustomerDomain, ArrayThenText(AltGroupGreekName, AltGroupName)), "CustomUdf1"},
         {UdfColumn(CustomerDomain, ArrayThenText(ContactPerson2GreekName, ContactPerson2Name)),
          "CustomUdf2"},
         {UdfColumn(CustomerDomain,
                    {{Kind::TextField, WebsiteGreekName}, {Kind::TextField, WebsiteName}}),
          "CustomUdf3"}});
  return "select " + rowLimit + Columns(columns) + "from CUA " +
         "left join CAC on CAC.ID=CUA.CACID " + "left join TRD on TRD.ID=CUA.TRDID " +
         "left join CUR on CUR.ID=CUA.CURID " + "left join CNT on CNT.ID=TRD.CNTID " +
         "left join DOY on TRD.DOYID=DOY.ID " + "left join PRE on TRD.PREID=PRE.ID " +
         "left join MUN on TRD.MNUID=MUN.ID " + "left join OCP on TRD.OCPID=OCP.ID " +
         (esales ? "left join SHV on CUA.SHVID=SHV.ID left join CPZ on CUA.CPZID=CPZ.ID " : "") +
         Where + filter + "order by REVNUM";
}

std::string CustomerAddressStatement(const std::string &filter) {
  return "select " +
         AddressColumns("TAD", "TAD.ABBREVIATION", "TAD.NAME",
                        "CASE WHEN ISNULL(TADDEF.ID, 0)=TAD.ID THEN 1 ELSE 0 END") +
         "from CUA inner join TRD on TRD.ID=CUA.TRDID inner join TAD on TRD.ID=TAD.TRDID "
         "left join CNT on TAD.CNTID=CNT.ID left join PRE on TAD.PREID=PRE.ID "
         "left join MUN on TAD.MNUID=MUN.ID left join TAD TADDEF on CUA.TADIDDEFAULT=TADDEF.ID " +
         Where + filter + "union select " +
         AddressColumns("TRD", HeadOffice("TRD.ABBREVIATION"), HeadOffice("TRD.NAME"),
                        "CASE WHEN ISNULL(TADDEF.ID, 0)=0 THEN 1 ELSE 0 END") +
         "from CUA inner join TRD on TRD.ID=CUA.TRDID left join CNT on TRD.CNTID=CNT.ID "
         "left join PRE on TRD.PREID=PRE.ID left join MUN on TRD.MNUID=MUN.ID "
         "left join TAD TADDEF on CUA.TADIDDEFAULT=TADDEF.ID " +
         Where + filter + "order by REVNUM";
}

std::string CustomerPayMethodStatement(const std::string &filter) {
  return "select ISNULL(CUA.REVNUM, 1) as REVNUM, CUA.ABBREVIATION as AccountNum, CASE WHEN "
         "SLO.PWMODE=2 AND UPW.ID>0 THEN CAST(UPW.ID AS VARCHAR(10)) WHEN CUA.CREDITORCASH=1 "
         "THEN '01' ELSE '02' END as TenderType, 1 as IsDefault from CUA left join UPW on "
         "CUA.UPWID=UPW.ID left join SLO on CUA.COMID=SLO.COMID " +
         Where + filter + "order by REVNUM";
}

std::string CustomerPriceListStatement(const std::string &filter, int32_t companyId,
                                       const PriceListScope &scope, const std::string &workDate) {
  const std::string day = "CONVERT(DATETIME, " + SqlString(workDate) + ", 103)";
  const std::string defaultCategory =
      "CASE WHEN (SLO.PWMODE=2 AND UPW.BASICPW=1) OR (SLO.PWMODE=1 AND CUA.CREDITORCASH=1) "
      "THEN SLO.CASHPLCID ELSE SLO.CREDITPLCID END";
  const std::string ownCategory = "ISNULL(PLL.PLCID, 0)=ISNULL(CUA.PLCID, 0)";
  const std::string otherCategory = "ISNULL(PLL.PLCID, 0)=ISNULL(" + defaultCategory + ", 0)";
  const std::string category =
      "CASE WHEN " + ownCategory + " THEN 1 WHEN " + otherCategory + " THEN 2 ELSE 3 END";
  const std::string currency =
      "CASE WHEN ISNULL(PLL.CURID, 0)=ISNULL(CUA.CURID, 0) THEN 1 ELSE 2 END";
  const std::string inRange = "PLL.VALIDFROM<=" + day + " AND PLL.VALIDTO>=" + day;
  const std::string dated = "CASE WHEN NOT ( PLL.VALIDFROM IS NULL AND PLL.VALIDTO IS NULL ) AND " +
                            inRange + " THEN 1 ELSE 2 END";
  return "select CUA.ABBREVIATION as AccountNum, PLL.ABBREVIATION as PriceListID, " + category +
         " as chkcategory, " + currency + " as chkcur, " + dated + " as chkdate " +
         "from CUA left join PLL on CUA.COMID=PLL.COMID left join UPW on CUA.UPWID=UPW.ID "
         "left join SLO on CUA.COMID=SLO.COMID "
         "left join FYE on FYE.COMID=CUA.COMID AND FYE.STATE=3 " +
         Where + filter +
         " and ISNULL(PLL.DISABLED, 0)=0 AND PLL.COMID=" + std::to_string(companyId) +
         " AND (PLL.CURID=CUA.CURID OR PLL.CURID=FYE.CURIDBASE) " +
         scope.Condition(std::to_string(scope.Id)) +
         "AND ( ( PLL.VALIDFROM IS NULL AND PLL.VALIDTO IS NULL ) OR ( " + inRange + " ) ) " +
         "AND ( " + ownCategory + " OR " + otherCategory + " ) " + "ORDER BY CUA.ABBREVIATION, " +
         category + ", " + currency + ", " + dated + scope.Ranking;
}

} // namespace vq
