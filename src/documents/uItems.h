#pragma once

#include "documents/uXml.h"
#include "documents/uXmlBinding.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vq {

// The Items document that GetItems returns: items with prices, VAT data, units,
// user-defined values and barcodes.

// The text children of an Item, in the binding's declaration order.
enum class ItemText {
  ItemId,
  ItemName,
  Price,
  RPrice,
  ItemGroupId,
  ItemGroupName,
  TaxItemGroupId,
  TaxItemGroupPcnt,
  TaxItemGroupRId,
  TaxItemGroupRPcnt,
  LineDisc,
  MultiLineDisc,
  DiscPcnt,
  RevNum,
  UnitID,
  UnitName,
  Country,
  ItemNameFL,
  ItemGroupNameFL,
  ItemMultiLineDiscFL,
  ItemXtraFields,
  ItemXtraFieldsFL,
  AltUnitId,
  AltUnitName,
  AltUnitNumerator,
  AltUnitDenominator,
  ItemDiscountCatID,
  ItemDiscountCatName,
  AltItemGroupID,
  AltItemGroupName,
  SpecialConsumptionTaxUnitID,
  SpecialConsumptionTaxPcd,
  SpecialConsumptionTaxValue
};

// The integer children of an Item.
enum class ItemInteger { ModuleType, ItemType, ScaleItem, UnitDecs };

// The children of an ItemBarCode, all text.
enum class BarcodeField { ItemId, ItemBarcode, Description, Color, Size_, Style, ScaleType };

// The user-defined slots ItemUDF1 to ItemUDF10.
inline constexpr int UserDefinedSlots = 10;

std::string_view ElementName(ItemText field);
std::string_view ElementName(ItemInteger field);
std::string_view ElementName(BarcodeField field);

class TXmlItemBarCode : public TXmlBinding {
public:
  using TXmlBinding::TXmlBinding;
  std::optional<std::string> Get(BarcodeField field) const { return GetText(ElementName(field)); }
  void Set(BarcodeField field, std::string_view text) { SetText(ElementName(field), text); }
};

class TXmlItem : public TXmlBinding {
public:
  using TXmlBinding::TXmlBinding;
  std::optional<std::string> Get(ItemText field) const { return GetText(ElementName(field)); }
  void Set(ItemText field, std::string_view text) { SetText(ElementName(field), text); }
  std::optional<int32_t> Get(ItemInteger field) const { return GetInteger(ElementName(field)); }
  void Set(ItemInteger field, int32_t value) { SetInteger(ElementName(field), value); }
  // Slots 1 to 10; any other raises vq::Error.
  Value UserDefined(int slot) const;
  void SetUserDefined(int slot, const Value &value);
  Value IsInactive() const { return GetVariant("IsInactive"); }
  void SetIsInactive(const Value &value) { SetVariant("IsInactive", value); }
  // Exists from its first access on.
  TXmlCollection<TXmlItemBarCode> Barcodes();
};

class TXmlInvItems : public TXmlBinding {
public:
  using TXmlBinding::TXmlBinding;
  // Exists from its first access on.
  TXmlCollection<TXmlItem> Items();
  // The number of items, without making the list exist.
  int ItemCount() const;
};

class TItemsDocument {
public:
  // A new document with an empty InvItems element.
  TItemsDocument();

  TXmlInvItems InvItems() const { return TXmlInvItems(document_.Root()); }
  // The exported text: the namespace declarations on Items, not on InvItems.
  std::string Text(int32_t extApplicationId) const;

private:
  XmlDocument document_;
};

} // namespace vq
