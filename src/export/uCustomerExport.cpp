#include "export/uCustomerExport.h"

#include "core/uDateTime.h"
#include "core/uTrace.h"
#include "documents/uCustomers.h"
#include "export/uCustomerStatements.h"
#include "export/uExportContext.h"
#include "export/uExportTexts.h"
#include "export/uResultRows.h"
#include "session/uServerCalls.h"
#include "settings/uSettingsSections.h"

#include <optional>

namespace vq {
namespace {

using C = CustomerField;
using A = AddressField;

void Step(int32_t value) { Trace("GetCustomers", value); }

using Copies = std::vector<std::pair<C, int>>;

// Columns copied as they are, in writing order.
Copies CopiedColumns(const DataPacket &rows,
                     std::initializer_list<std::pair<C, std::string_view>> columns) {
  Copies copies;
  for (const auto &[element, name] : columns) copies.push_back({element, ColumnIndex(rows, name)});
  return copies;
}

// Columns of the customer result, found once.
struct CustomerColumns {
  CustomerColumns(const DataPacket &rows, bool esales)
      : Leading(CopiedColumns(rows, {{C::AccountNum, "AccountNum"},
                                     {C::Name, "Name"},
                                     {C::NameAlias, "NameAlias"},
                                     {C::Address, "Address"},
                                     {C::StreetNumber, "StrNum"}})),
        Middle(CopiedColumns(rows, {{C::ZipCode, "ZipCode"},
                                    {C::Phone, "Phone"},
                                    {C::PhoneLocal, "PhoneLocal"},
                                    {C::Currency, "Currency"},
                                    {C::CustGroup, "CustGroup"},
                                    {C::CustGroupName, "CustGroupName"}})),
        Trailing(CopiedColumns(rows, {{C::VatNum, "VatNum"},
                                      {C::VatStatus, "VatStatus"},
                                      {C::DoyCode, "DoyCode"},
                                      {C::DoyName, "DoyName"},
                                      {C::Profession, "OcpName"},
                                      {C::ProfessionCode, "OcpCode"},
                                      {C::Prefecture, "PreName"},
                                      {C::PrefectureCode, "PreCode"},
                                      {C::ReferenceID, "ReferenceID"}})),
        ESales(esales ? CopiedColumns(rows, {{C::AltCustGroup, "XtraFieldsFL1"},
                                             {C::AltCustGroupName, "CustomUdf1"},
                                             {C::AgencyID, "AgencyID"},
                                             {C::Fax, "Fax"},
                                             {C::ContactPerson1, "ContactPerson1"},
                                             {C::ContactPerson2, "CustomUdf2"},
                                             {C::Comments, "Comments"},
                                             {C::Website, "CustomUdf3"},
                                             {C::CustDiscountCatID, "CustDiscountCatID"},
                                             {C::CustDiscountCatName, "CustDiscountCatName"}})
                      : Copies{}),
        AccountNum(ColumnIndex(rows, "AccountNum")), Street(ColumnIndex(rows, "Street")),
        StreetCRM(ColumnIndex(rows, "StreetCRM")), City(ColumnIndex(rows, "City")),
        CreditMax(ColumnIndex(rows, "CreditMax")), EMail(ColumnIndex(rows, "EMail")),
        MunName(ColumnIndex(rows, "MunName")), MunCode(ColumnIndex(rows, "MunCode")),
        Country(ColumnIndex(rows, "Country")), CountryID(ColumnIndex(rows, "CountryID")),
        CountryCode(ColumnIndex(rows, "CountryCode")), RevNum(ColumnIndex(rows, "RevNum")),
        IsInactive(ColumnIndex(rows, "IsInactive")), SearchCode(ColumnIndex(rows, "SearchCode")) {}

  Copies Leading, Middle, Trailing, ESales;
  int AccountNum, Street, StreetCRM, City, CreditMax, EMail, MunName, MunCode, Country, CountryID,
      CountryCode, RevNum, IsInactive, SearchCode;
};

// Columns of the address result, found once.
struct AddressColumns {
  explicit AddressColumns(const DataPacket &rows)
      : Address(ColumnIndex(rows, "Address")), Street(ColumnIndex(rows, "Street")),
        StreetCRM(ColumnIndex(rows, "StreetCRM")), StrNum(ColumnIndex(rows, "StrNum")),
        City(ColumnIndex(rows, "City")), ZipCode(ColumnIndex(rows, "ZipCode")),
        PreName(ColumnIndex(rows, "PreName")), PreCode(ColumnIndex(rows, "PreCode")),
        MunName(ColumnIndex(rows, "MunName")), MunCode(ColumnIndex(rows, "MunCode")),
        Country(ColumnIndex(rows, "Country")), CountryID(ColumnIndex(rows, "CountryID")),
        CountryCode(ColumnIndex(rows, "CountryCode")), IsDefault(ColumnIndex(rows, "IsDefault")) {}

  int Address, Street, StreetCRM, StrNum, City, ZipCode, PreName, PreCode, MunName, MunCode,
      Country, CountryID, CountryCode, IsDefault;
};

std::string TextOf(const Row &row, int column) { return row[column].AsText(); }

// crm shows the municipality in place of the city when there is one.
std::pair<std::string, std::string> CrmCity(const Row &row, int munName, int munCode, int city) {
  const std::string municipality = TextOf(row, munName);
  if (municipality.empty()) return {TextOf(row, city), TextOf(row, city)};
  return {municipality, TextOf(row, munCode)};
}

void WriteCustomer(TXmlCustomer customer, const Row &row, const CustomerColumns &c, bool crm) {
  for (const auto &[element, column] : c.Leading) customer.Set(element, row[column]);
  const auto [crmCity, crmCityCode] = CrmCity(row, c.MunName, c.MunCode, c.City);
  customer.Set(C::City, crm ? Value(crmCity) : row[c.City]);
  for (const auto &[element, column] : c.Middle) customer.Set(element, row[column]);
  customer.Set(C::CreditMax, Value(DecimalText(row[c.CreditMax])));
  customer.Set(C::Email, row[c.EMail]);
  customer.Set(C::Street, row[crm ? c.StreetCRM : c.Street]);
  customer.Set(C::CityCode, crm ? Value(crmCityCode) : row[c.MunCode]);
  customer.Set(C::Country, row[crm ? c.CountryID : c.Country]);
  customer.Set(C::CountryShortCode, row[c.CountryCode]);
  customer.Set(C::CountryDescr, row[crm ? c.Country : c.CountryID]);
  customer.Set(C::RevNum, Value(DecimalText(row[c.RevNum])));
  for (const auto &[element, column] : c.Trailing) customer.Set(element, row[column]);
  customer.Set(C::IsInactive, Value(row[c.IsInactive].AsInt32()));
  customer.Set(C::SearchCode, row[c.SearchCode]);
  for (C element = C::PriceListID; element <= C::CustDiscountCatName;
       element = static_cast<C>(static_cast<int>(element) + 1))
    customer.Set(element, Value(""));
}

void WriteAddress(TXmlAddressItem address, const Row &row, const AddressColumns &a, bool crm) {
  address.Set(A::Address, TextOf(row, a.Address));
  address.Set(A::AddressDescr, TextOf(row, a.Street) + " " + TextOf(row, a.City));
  address.Set(A::StreetNumber, TextOf(row, a.StrNum));
  address.Set(A::ZipCode, TextOf(row, a.ZipCode));
  address.Set(A::Street, TextOf(row, crm ? a.StreetCRM : a.Street));
  address.Set(A::Country, TextOf(row, crm ? a.CountryID : a.Country));
  address.Set(A::CountryShortCode, TextOf(row, a.CountryCode));
  address.Set(A::CountryDescr, TextOf(row, crm ? a.Country : a.CountryID));
  const auto [crmCity, crmCityCode] = CrmCity(row, a.MunName, a.MunCode, a.City);
  address.Set(A::City, crm ? crmCity : TextOf(row, a.City));
  address.Set(A::CityCode, crm ? crmCityCode : TextOf(row, a.MunCode));
  address.Set(A::Prefecture, TextOf(row, a.PreName));
  address.Set(A::PrefectureCode, TextOf(row, a.PreCode));
  address.SetIsDefault(row[a.IsDefault].AsInt32());
}

// What esales adds to its customers: a payment method and a price list, the first of each
// customer's rows (price lists ranked by category, currency and dates).
class ESalesExtras {
public:
  ESalesExtras(RecordSet payMethods, RecordSet priceLists)
      : payMethods_(std::move(payMethods)), priceLists_(std::move(priceLists)),
        payLookup_(payMethods_.Packet(), "AccountNum"),
        priceListLookup_(priceLists_.Packet(), "AccountNum", "chkcategory;chkcur;chkdate"),
        tenderType_(ColumnIndex(payMethods_.Packet(), "TenderType")),
        isDefault_(ColumnIndex(payMethods_.Packet(), "IsDefault")),
        priceListId_(ColumnIndex(priceLists_.Packet(), "PriceListID")) {}
  // The lookups point into the results held here.
  ESalesExtras(const ESalesExtras &) = delete;
  ESalesExtras &operator=(const ESalesExtras &) = delete;

  void Write(TXmlCustomer customer, const Value &account) const {
    if (const Row *pay = payLookup_.First(account)) {
      TXmlTenderTypeItem tender = customer.TenderTypeItems().Add();
      tender.SetTenderType((*pay)[tenderType_].AsText());
      tender.SetIsDefault((*pay)[isDefault_].AsInt32());
      tender.SetPaymentDays(0);
    }
    const Row *list = priceListLookup_.First(account);
    const Value priceList = list ? (*list)[priceListId_] : Value(std::string(NoPriceListText));
    customer.Set(C::PriceListID, priceList);
    customer.Set(C::RetailPriceListID, priceList);
  }

private:
  RecordSet payMethods_;
  RecordSet priceLists_;
  TRowLookup payLookup_;
  TRowLookup priceListLookup_;
  int tenderType_, isDefault_, priceListId_;
};

// The address list of esales and crm.
class AddressList {
public:
  AddressList(RecordSet addresses, bool crm)
      : addresses_(std::move(addresses)), lookup_(addresses_.Packet(), "AccountNum"),
        columns_(addresses_.Packet()), crm_(crm) {}
  AddressList(const AddressList &) = delete;
  AddressList &operator=(const AddressList &) = delete;

  void Write(TXmlCustomer customer, const Value &account) const {
    for (const Row *address : lookup_.Rows(account))
      WriteAddress(customer.AddressItems().Add(), *address, columns_, crm_);
  }

private:
  RecordSet addresses_;
  TRowLookup lookup_;
  AddressColumns columns_;
  bool crm_;
};

} // namespace

std::string ExportCustomers(TConnectorState &state, int32_t revNum, const std::string &xmlPosInfo) {
  TOrvelConnection &session = *state.Session;
  IKvrConnection &server = session.Server();
  const int32_t application = state.ExtApplicationID;
  const bool esales = application == ESalesApplication;
  const bool crm = application == CrmApplication;
  Trace("ExtApplicationID", application);
  const std::string rowLimit = RowLimit(session.Config.RecordsPacket);
  Step(12);
  const std::string filter = ExportFilter("CUA", application);
  Step(13);
  PriceListScope scope;
  if (esales) {
    const int32_t level = PriceListLevel(state);
    ReadExportSettings(state, xmlPosInfo);
    scope = ResolvePriceListScope(state, level);
  }
  Step(14);
  const std::vector<Value> values = {Value(session.COMID), Value(revNum)};
  const RecordSet customers = OpenSql(server, CustomerStatement(rowLimit, filter, esales), values);
  Step(15);
  std::optional<AddressList> addresses;
  if (esales || crm)
    addresses.emplace(OpenSql(server, CustomerAddressStatement(filter),
                              {values[0], values[1], values[0], values[1]}),
                      crm);
  Step(16);
  std::optional<ESalesExtras> extras;
  if (esales) {
    RecordSet payMethods = OpenSql(server, CustomerPayMethodStatement(filter), values);
    extras.emplace(std::move(payMethods),
                   OpenSql(server,
                           CustomerPriceListStatement(filter, session.COMID, scope,
                                                      DayMonthYearText(session.WORKDATE)),
                           values));
  }
  Step(17);

  const DataPacket &rows = customers.Packet();
  const CustomerColumns columns(rows, esales);
  TCustomersDocument document;
  for (const Row &row : rows.Rows) {
    TXmlCustomer customer = document.Customers().Items().Add();
    WriteCustomer(customer, row, columns, crm);
    for (const auto &[element, column] : columns.ESales) customer.Set(element, row[column]);
    const Value &account = row[columns.AccountNum];
    if (addresses) addresses->Write(customer, account);
    if (extras) extras->Write(customer, account);
  }
  Step(18);
  std::string text = document.Text(application);
  Step(19);
  return text;
}

} // namespace vq
