#include "documents/uCustomers.h"

#include "core/uError.h"
#include "documents/uDocumentText.h"

#include <array>

namespace vq {
namespace {

constexpr std::array<std::string_view, 45> CustomerNames = {"AccountNum",
                                                            "Name",
                                                            "NameAlias",
                                                            "Address",
                                                            "Street",
                                                            "City",
                                                            "ZipCode",
                                                            "Phone",
                                                            "PhoneLocal",
                                                            "Currency",
                                                            "CustGroup",
                                                            "CustGroupName",
                                                            "CreditMax",
                                                            "LineDisc",
                                                            "Email",
                                                            "Country",
                                                            "RevNum",
                                                            "VatNum",
                                                            "VatStatus",
                                                            "DoyCode",
                                                            "DoyName",
                                                            "ReferenceID",
                                                            "Profession",
                                                            "PriceListID",
                                                            "RetailPriceListID",
                                                            "AltCustGroup",
                                                            "AltCustGroupName",
                                                            "AgencyID",
                                                            "Fax",
                                                            "ContactPerson1",
                                                            "ContactPerson2",
                                                            "Comments",
                                                            "Website",
                                                            "CustDiscountCatID",
                                                            "CustDiscountCatName",
                                                            "SPID",
                                                            "IsInactive",
                                                            "SearchCode",
                                                            "ProfessionCode",
                                                            "CityCode",
                                                            "CountryShortCode",
                                                            "CountryDescr",
                                                            "Prefecture",
                                                            "PrefectureCode",
                                                            "StreetNumber"};
static_assert(CustomerNames.size() == static_cast<size_t>(CustomerField::StreetNumber) + 1);

constexpr std::array<std::string_view, 13> AddressNames = {
    "Address",    "AddressDescr",     "StreetNumber", "ZipCode", "Street",
    "Country",    "CountryShortCode", "CountryDescr", "City",    "CityCode",
    "Prefecture", "PrefectureCode",   "State"};
static_assert(AddressNames.size() == static_cast<size_t>(AddressField::State) + 1);

constexpr std::string_view RootName = "Customers";

} // namespace

std::string_view ElementName(CustomerField field) {
  return CustomerNames[static_cast<size_t>(field)];
}

std::string_view ElementName(AddressField field) {
  return AddressNames[static_cast<size_t>(field)];
}

TXmlCollection<TXmlAddressItem> TXmlCustomer::AddressItems() {
  return {EnsureChild(Node(), "AddressItems"), "AddressItem"};
}

TXmlCollection<TXmlTenderTypeItem> TXmlCustomer::TenderTypeItems() {
  return {EnsureChild(Node(), "TenderTypeItems"), "TenderTypeItem"};
}

TXmlCollection<TXmlCustomer> TXmlCustomers::Items() {
  return {EnsureChild(Node(), "Items"), "Customer"};
}

int TXmlCustomers::CustomerCount() const {
  return CountChildren(Child(Node(), "Items"), "Customer");
}

TCustomersDocument::TCustomersDocument() { document_.CreateRoot(RootName); }

TCustomersDocument TCustomersDocument::Parse(std::string_view text) {
  XmlDocument document = XmlDocument::Parse(text);
  if (std::string_view(document.Root().name()) != RootName)
    throw Error("The customer document has the document element " +
                std::string(document.Root().name()) + " instead of Customers");
  return TCustomersDocument(std::move(document));
}

std::string TCustomersDocument::Text(int32_t extApplicationId) const {
  return ExportDocumentText(document_.Root(), "<Customers", extApplicationId);
}

} // namespace vq
