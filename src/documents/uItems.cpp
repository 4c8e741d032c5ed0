#include "documents/uItems.h"

#include "core/uError.h"
#include "documents/uDocumentText.h"

#include <array>

namespace vq {
namespace {

constexpr std::array<std::string_view, 33> TextNames = {"ItemId",
                                                        "ItemName",
                                                        "Price",
                                                        "RPrice",
                                                        "ItemGroupId",
                                                        "ItemGroupName",
                                                        "TaxItemGroupId",
                                                        "TaxItemGroupPcnt",
                                                        "TaxItemGroupRId",
                                                        "TaxItemGroupRPcnt",
                                                        "LineDisc",
                                                        "MultiLineDisc",
                                                        "DiscPcnt",
                                                        "RevNum",
                                                        "UnitID",
                                                        "UnitName",
                                                        "Country",
                                                        "ItemNameFL",
                                                        "ItemGroupNameFL",
                                                        "ItemMultiLineDiscFL",
                                                        "ItemXtraFields",
                                                        "ItemXtraFieldsFL",
                                                        "AltUnitId",
                                                        "AltUnitName",
                                                        "AltUnitNumerator",
                                                        "AltUnitDenominator",
                                                        "ItemDiscountCatID",
                                                        "ItemDiscountCatName",
                                                        "AltItemGroupID",
                                                        "AltItemGroupName",
                                                        "SpecialConsumptionTaxUnitID",
                                                        "SpecialConsumptionTaxPcd",
                                                        "SpecialConsumptionTaxValue"};
static_assert(TextNames.size() == static_cast<size_t>(ItemText::SpecialConsumptionTaxValue) + 1);

constexpr std::array<std::string_view, 4> IntegerNames = {"ModuleType", "ItemType", "ScaleItem",
                                                          "UnitDecs"};
static_assert(IntegerNames.size() == static_cast<size_t>(ItemInteger::UnitDecs) + 1);

constexpr std::array<std::string_view, 7> BarcodeNames = {
    "ItemId", "ItemBarcode", "Description", "Color", "Size_", "Style", "ScaleType"};
static_assert(BarcodeNames.size() == static_cast<size_t>(BarcodeField::ScaleType) + 1);

constexpr std::array<std::string_view, UserDefinedSlots> SlotNames = {
    "ItemUDF1", "ItemUDF2", "ItemUDF3", "ItemUDF4", "ItemUDF5",
    "ItemUDF6", "ItemUDF7", "ItemUDF8", "ItemUDF9", "ItemUDF10"};

std::string_view SlotName(int slot) {
  if (slot < 1 || slot > UserDefinedSlots)
    throw Error("There is no user-defined item slot " + std::to_string(slot));
  return SlotNames[static_cast<size_t>(slot - 1)];
}

} // namespace

std::string_view ElementName(ItemText field) { return TextNames[static_cast<size_t>(field)]; }
std::string_view ElementName(ItemInteger field) { return IntegerNames[static_cast<size_t>(field)]; }
std::string_view ElementName(BarcodeField field) {
  return BarcodeNames[static_cast<size_t>(field)];
}

Value TXmlItem::UserDefined(int slot) const { return GetVariant(SlotName(slot)); }

void TXmlItem::SetUserDefined(int slot, const Value &value) { SetVariant(SlotName(slot), value); }

TXmlCollection<TXmlItemBarCode> TXmlItem::Barcodes() {
  return {EnsureChild(Node(), "Barcodes"), "ItemBarCode"};
}

TXmlCollection<TXmlItem> TXmlInvItems::Items() { return {EnsureChild(Node(), "Items"), "Item"}; }

int TXmlInvItems::ItemCount() const { return CountChildren(Child(Node(), "Items"), "Item"); }

TItemsDocument::TItemsDocument() { document_.CreateRoot("InvItems"); }

std::string TItemsDocument::Text(int32_t extApplicationId) const {
  return ExportDocumentText(document_.Root(), "<Items", extApplicationId);
}

} // namespace vq
