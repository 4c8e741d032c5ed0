#include "export/uItemStatements.h"

#include "export/uExportContext.h"
#include "export/uExportTexts.h"
#include "export/uUserDefinedFields.h"
#include "settings/uSettingsSections.h"

namespace vq {
namespace {

using Kind = UdfSource::Kind;

const std::string Changed = "isnull(INI.REVNUM, 1)>:num and ";

// Of the first special tax that applies (MEANING 3, charged with VAT, with the item's
// value or a percentage), the expression chosen by `pick` (1 or 2); else `otherwise`.
template <typename Pick>
std::string SpecialTax(Pick pick, bool needsItemValue, const char *otherwise) {
  std::string text = "CASE";
  for (const char *n : {"1", "2"}) {
    const std::string tax = std::string("TAXSPEC") + n;
    const std::string itemValue = std::string("ISNULL(INI.SPECTAX") + n + "VAL, 0)<>0";
    text += " WHEN " + tax + ".MEANING=3 AND " + tax + ".VATCHARGE=1 AND " +
            (needsItemValue ? itemValue
                            : "(" + itemValue + " OR ISNULL(" + tax + ".PCNTNORMAL, 0)<>0)") +
            " THEN " + pick(std::string(n), tax);
  }
  return text + " ELSE " + otherwise + " END";
}

} // namespace

const char *const DropPriceTableStatement =
    "if exists (select * from tempdb..sysobjects where id=object_id('tempdb..#tmp_pli')) drop "
    "table #tmp_pli ";

std::string PriceTableStatement(const ItemPricing &pricing, const std::string &filter) {
  return std::string(DropPriceTableStatement) +
         "create table #tmp_pli (ID INT NOT NULL IDENTITY(1,1), ITEID INT NOT NULL, RETAILPRICE "
         "NUMERIC(28,6) NULL) insert into #tmp_pli (ITEID, RETAILPRICE) select PLI.ITEID, PLI." +
         pricing.PriceColumn + " " + "from PLI " + "inner join PLL on PLI.PLLID=PLL.ID " +
         "inner join INI on PLI.ITEID=INI.ID " +
         "where ISNULL(PLL.DISABLED, 0)=0 AND PLL.CURID=(select CURIDBASE from FYE where "
         "ID=:fyeid) and PLL.COMID=:comid and " +
         "PLI.ID=(select min(ID) from PLI D where D.ITEID=PLI.ITEID and D.PLLID=PLI.PLLID) and " +
         Changed + pricing.PriceListSwitch + filter + pricing.StoreCondition +
         "order by INI.REVNUM" + pricing.OrderingTail;
}

std::string ItemStatement(const ItemPricing &pricing, const std::string &rowLimit,
                          const std::string &filter, bool esales) {
  const std::string price = "CASE WHEN ISNULL(#tmp_pli.RETAILPRICE, 0)<>0 THEN "
                            "#tmp_pli.RETAILPRICE ELSE isnull(IIF." +
                            pricing.PriceColumn + ",0) END";
  const std::string reducedRate =
      "CASE WHEN TXAR.ID>0 THEN TXAR.PCNTNORMAL ELSE TXA.PCNTREDUCED END";
  std::string text =
      "select " + rowLimit +
      "INI.ABBREVIATION as ItemId, INI.NAME as ItemName, INI.FOREIGNDESCR, " + price +
      " as Price, " + "ISNULL(ROUND((" + price + ")/(1+TXA.PCNTNORMAL/100.0)*(1+(" + reducedRate +
      ")/100.0), 2), 0) as RPrice, " +
      "CAST(IIC.ID as VARCHAR(10)) as ItemGroupId, IIC.NAME as ItemGroupName, "
      "CNT.NAME as CntIdOriginDescr, IF1.NAME as XtraFieldsName1, IR1.NAME as XtraFields1, "
      "IF2.NAME as XtraFieldsName2, IR2.NAME as XtraFields2, "
      "cast((CAST(isnull(TXA.PCNTNORMAL,0) as NUMERIC(28,2))) as VARCHAR(10)) as TaxItemGroupId, "
      "isnull(CAST(TXA.PCNTNORMAL as VARCHAR(10)),0) as TaxItemGroupPcnt, "
      "ISNULL(CASE WHEN TXAR.ID>0 THEN CAST(TXAR.PCNTNORMAL as VARCHAR(10)) ELSE "
      "CAST(CAST(TXA.PCNTREDUCED as NUMERIC(28,2)) as VARCHAR(10)) END, 0) as TaxItemGroupRId, "
      "ISNULL(CASE WHEN TXAR.ID>0 THEN CAST(TXAR.PCNTNORMAL as VARCHAR(10)) ELSE "
      "CAST(TXA.PCNTREDUCED as VARCHAR(10)) END, 0) as TaxItemGroupRPcnt, "
      "ISNULL(IIF.DISCOUNT,0) as DiscPcnt, "
      "(SELECT COUNT(*) FROM AIC WHERE AIC.INIID=INI.ID AND AIC.ISBARCODE&2=2) as BCScale, "
      "MEU.ID as UnitID, MEU.NAME as UnitName, ISNULL(INI.DISABLED, 0) as IsInactive, " +
      SpecialTax([](const std::string &, const std::string &tax) { return tax + ".CALCMETHOD"; },
                 false, "0") +
      " as TaxSpecCM, " +
      SpecialTax(
          [](const std::string &n, const std::string &tax) {
            return "CASE WHEN ISNULL(INI.SPECTAX" + n + "VAL, 0)<>0 THEN INI.SPECTAX" + n +
                   "VAL ELSE " + tax + ".PCNTNORMAL END";
          },
          false, "0") +
      " as TaxSpecVal, " +
      SpecialTax([](const std::string &n,
                    const std::string &) { return "ISNULL(INI.SPECTAX" + n + "VALMU, 1)"; },
                 true, "1") +
      " as TaxSpecValMU, ISNULL(GNO.QTYDECS, 0) as UnitDecs, ";
  if (esales)
    text += "MEU2.ID as AltUnitId, MEU2.NAME as AltUnitName, INI.QTYBASE1 as AltUnitNumerator, "
            "INI.QTYBASE2 as AltUnitDenominator, IPZ.ID as ItemDiscountCatID, IPZ.NAME as "
            "ItemDiscountCatName, ";
  text += "ISNULL(INI.REVNUM, 1) as RevNum "
          "from INI "
          "left join MEU on INI.MEUIDBASIC=MEU.ID "
          "left join GNO on INI.COMID=GNO.COMID "
          "left join IIC on INI.IICID=IIC.ID "
          "left join CNT on INI.CNTIDORIGIN=CNT.ID "
          "left join IR1 on INI.IF1ID=IR1.ID "
          "left join IF1 on 1=1 "
          "left join IR2 on INI.IF2ID=IR2.ID "
          "left join IF2 on 1=1 "
          "left join IIF on INI.ID=IIF.ITEID AND IIF.FYEID=:fyeid "
          "left join IIO on INI.COMID=IIO.COMID "
          "left join ICT on ICT.IIOID=IIO.ID AND ICT.INIID=INI.ID "
          "left join INC on INC.ID=CASE WHEN ISNULL(ICT.INCIDRETAIL, 0)=0 THEN IIO.INCIDRETAIL "
          "ELSE ICT.INCIDRETAIL END "
          "left join TXA on INC.TXAIDVAT=TXA.ID "
          "left join TXA TAXSPEC1 on INC.TXAIDSPEC1=TAXSPEC1.ID "
          "left join TXA TAXSPEC2 on INC.TXAIDSPEC2=TAXSPEC2.ID "
          "left join INC RED on INC.INCIDRVAT=RED.ID "
          "left join TXA TXAR on RED.TXAIDVAT=TXAR.ID ";
  if (esales) text += "left join MEU MEU2 on INI.MEUID2=MEU2.ID left join IPZ on INI.IPZID=IPZ.ID ";
  return text + pricing.JoinMode +
         " join #tmp_pli on #tmp_pli.ITEID=INI.ID AND #tmp_pli.ID=(select min(D.ID) from "
         "#tmp_pli D where D.ITEID=#tmp_pli.ITEID) " +
         "where INI.COMID=:comid and " + Changed + filter + "order by REVNUM ";
}

std::string BarcodeStatement(const std::string &filter) {
  return "select INI.ABBREVIATION as ItemId, AIC.ALTERNATECODE as ItemBarcode, "
         "AIC.CODEDESCRIPTION as Description, CASE WHEN AIC.ISBARCODE&64=64 THEN 1 WHEN "
         "AIC.ISBARCODE&2=2 THEN 0 ELSE -1 END as ScaleType, CLL.NAME as Color, SZL.NAME as "
         "Size_, DFL.NAME as Style from AIC left join INI on AIC.INIID=INI.ID left join CLL on "
         "AIC.CLLID=CLL.ID left join SZL on AIC.SZLID=SZL.ID left join DFL on AIC.DFLID=DFL.ID "
         "where AIC.COMID=:ComID and " +
         Changed + filter + "order by REVNUM ";
}

SlotSettings SlotSettingsOf(const ConnectorSettings &s) {
  return {s.ItemUDF1, s.ItemUDF2, s.ItemUDF3, s.ItemUDF4, s.ItemUDF5,
          s.ItemUDF6, s.ItemUDF7, s.ItemUDF8, s.ItemUDF9, s.ItemUDF10};
}

UserDefinedValues UserDefinedValueStatement(const std::string &filter, const SlotSettings &slots,
                                            int32_t extApplicationId, int32_t imageNum,
                                            const std::string &altGroupName) {
  UserDefinedValues result;
  std::string columns;
  const auto add = [&](const std::vector<UdfSource> &sources, const std::string &alias) {
    columns += ", " + UdfColumn(ItemDomain, sources) + " as " + alias;
  };
  const auto arrayThenText = [](std::string_view greek, std::string_view english) {
    return std::vector<UdfSource>{{Kind::ArrayValueName, greek},
                                  {Kind::TextField, greek},
                                  {Kind::ArrayValueName, english},
                                  {Kind::TextField, english}};
  };
  const auto addSlots = [&](int from, int to) {
    for (int slot = from; slot <= to; ++slot) {
      const std::string &name = slots[static_cast<size_t>(slot - 1)];
      if (name.empty()) continue;
      add(AnyUdfSources(name), "ItemUdf" + std::to_string(slot));
      if (imageNum == slot) result.PictureSlotName = name;
    }
  };
  add({{Kind::ArrayValueName, ExtraField1Name}}, "XtraFieldsFL1");
  add({{Kind::ArrayValueName, ExtraField2Name}}, "XtraFieldsFL2");
  add(arrayThenText(FullDescriptionGreekName, FullDescriptionName), "CustomUdf1");
  add(arrayThenText(ForeignDescriptionGreekName, ForeignDescriptionName), "CustomUdf2");
  add(arrayThenText(ForeignGroupGreekName, ForeignGroupName), "CustomUdf3");
  addSlots(1, 5);
  if (extApplicationId == ESalesApplication)
    for (const auto &[id, alias] :
         {std::pair{true, "ItemAltCatID"}, std::pair{false, "ItemAltCatNAME"}})
      add({{id ? Kind::ExtraFieldId : Kind::ExtraFieldName, altGroupName, 1},
           {id ? Kind::ExtraFieldId : Kind::ExtraFieldName, altGroupName, 2},
           {id ? Kind::ArrayValueId : Kind::ArrayValueName, altGroupName}},
          alias);
  if (IsExternalApplication(extApplicationId)) addSlots(6, 10);
  result.Statement = "select INI.ABBREVIATION as ItemId " + columns + " from INI " +
                     "left join GNO on INI.COMID=GNO.COMID " + "where INI.COMID=:comid and " +
                     Changed + filter + "order by INI.ABBREVIATION ";
  return result;
}

std::string PictureStatement(const std::string &filter, int32_t imageNum,
                             const std::string &pictureSlotName) {
  std::string pictures = "AND 0=1 ";
  if (imageNum >= 1 && imageNum <= 10)
    pictures = pictureSlotName.empty()
                   ? "AND ITP.ID=(SELECT MIN(P.ID) FROM ITP P WHERE P.INIID=INI.ID ) "
                   : "AND UPPER(ITP.DESCRIPTION)=UPPER(" + SqlString(pictureSlotName) + ")";
  return "select INI.ABBREVIATION, ITP.PICTURE from ITP left join INI on INI.ID=ITP.INIID "
         "where INI.COMID=:ComID and " +
         Changed + filter + "\n" + pictures + " order by REVNUM ";
}

} // namespace vq
