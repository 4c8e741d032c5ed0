#pragma once

#include "documents/uXml.h"
#include "documents/uXmlBinding.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vq {

// The Customers document: customer master data that GetCustomers returns and
// InsertCustomer reads.

// The untyped children of a Customer, in the binding's declaration order.
enum class CustomerField {
  AccountNum,
  Name,
  NameAlias,
  Address,
  Street,
  City,
  ZipCode,
  Phone,
  PhoneLocal,
  Currency,
  CustGroup,
  CustGroupName,
  CreditMax,
  LineDisc,
  Email,
  Country,
  RevNum,
  VatNum,
  VatStatus,
  DoyCode,
  DoyName,
  ReferenceID,
  Profession,
  PriceListID,
  RetailPriceListID,
  AltCustGroup,
  AltCustGroupName,
  AgencyID,
  Fax,
  ContactPerson1,
  ContactPerson2,
  Comments,
  Website,
  CustDiscountCatID,
  CustDiscountCatName,
  SPID,
  IsInactive,
  SearchCode,
  ProfessionCode,
  CityCode,
  CountryShortCode,
  CountryDescr,
  Prefecture,
  PrefectureCode,
  StreetNumber
};

// The text children of an AddressItem; IsDefault is an integer of its own.
enum class AddressField {
  Address,
  AddressDescr,
  StreetNumber,
  ZipCode,
  Street,
  Country,
  CountryShortCode,
  CountryDescr,
  City,
  CityCode,
  Prefecture,
  PrefectureCode,
  State
};

std::string_view ElementName(CustomerField field);
std::string_view ElementName(AddressField field);

class TXmlAddressItem : public TXmlBinding {
public:
  using TXmlBinding::TXmlBinding;
  std::optional<std::string> Get(AddressField field) const { return GetText(ElementName(field)); }
  void Set(AddressField field, std::string_view text) { SetText(ElementName(field), text); }
  std::optional<int32_t> IsDefault() const { return GetInteger("IsDefault"); }
  void SetIsDefault(int32_t value) { SetInteger("IsDefault", value); }
};

class TXmlTenderTypeItem : public TXmlBinding {
public:
  using TXmlBinding::TXmlBinding;
  std::optional<std::string> TenderType() const { return GetText("TenderType"); }
  void SetTenderType(std::string_view text) { SetText("TenderType", text); }
  std::optional<int32_t> IsDefault() const { return GetInteger("IsDefault"); }
  void SetIsDefault(int32_t value) { SetInteger("IsDefault", value); }
  std::optional<int32_t> PaymentDays() const { return GetInteger("PaymentDays"); }
  void SetPaymentDays(int32_t value) { SetInteger("PaymentDays", value); }
};

class TXmlCustomer : public TXmlBinding {
public:
  using TXmlBinding::TXmlBinding;
  // Null when the element is absent, so that it differs from an empty one.
  Value Get(CustomerField field) const { return GetVariant(ElementName(field)); }
  void Set(CustomerField field, const Value &value) { SetVariant(ElementName(field), value); }
  // The lists exist from their first access on.
  TXmlCollection<TXmlAddressItem> AddressItems();
  TXmlCollection<TXmlTenderTypeItem> TenderTypeItems();
};

class TXmlCustomers : public TXmlBinding {
public:
  using TXmlBinding::TXmlBinding;
  // Exists from its first access on.
  TXmlCollection<TXmlCustomer> Items();
  // The number of customers, without making the list exist.
  int CustomerCount() const;
};

class TCustomersDocument {
public:
  // A new document with an empty Customers element.
  TCustomersDocument();
  // Raises vq::Error for text that is not well-formed or whose document element is not
  // Customers.
  static TCustomersDocument Parse(std::string_view text);

  TXmlCustomers Customers() const { return TXmlCustomers(document_.Root()); }
  // The exported text: the namespace declarations on Customers.
  std::string Text(int32_t extApplicationId) const;

private:
  explicit TCustomersDocument(XmlDocument document) : document_(std::move(document)) {}
  XmlDocument document_;
};

} // namespace vq
