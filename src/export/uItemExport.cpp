#include "export/uItemExport.h"

#include "documents/uBase64.h"
#include "documents/uItems.h"
#include "export/uExportContext.h"
#include "export/uExportTexts.h"
#include "export/uItemStatements.h"
#include "export/uResultRows.h"
#include "session/uServerCalls.h"
#include "settings/uSettingsSections.h"

#include <cctype>

namespace vq {
namespace {

using T = ItemText;

// Columns of the item result, found once.
struct ItemColumns {
  ItemColumns(const DataPacket &rows, bool esales) {
    const auto at = [&](std::string_view name) { return ColumnIndex(rows, name); };
    const auto maybe = [&](std::string_view name) { return esales ? at(name) : -1; };
    ItemId = at("ItemId"), ItemName = at("ItemName"), ForeignDescr = at("FOREIGNDESCR");
    Price = at("Price"), RPrice = at("RPrice"), ItemGroupId = at("ItemGroupId");
    ItemGroupName = at("ItemGroupName"), Country = at("CntIdOriginDescr");
    XtraFieldsName1 = at("XtraFieldsName1"), XtraFields1 = at("XtraFields1");
    XtraFieldsName2 = at("XtraFieldsName2"), XtraFields2 = at("XtraFields2");
    TaxItemGroupId = at("TaxItemGroupId"), TaxItemGroupPcnt = at("TaxItemGroupPcnt");
    TaxItemGroupRId = at("TaxItemGroupRId"), TaxItemGroupRPcnt = at("TaxItemGroupRPcnt");
    DiscPcnt = at("DiscPcnt"), BCScale = at("BCScale"), UnitID = at("UnitID");
    UnitName = at("UnitName"), IsInactive = at("IsInactive"), TaxSpecCM = at("TaxSpecCM");
    TaxSpecVal = at("TaxSpecVal"), TaxSpecValMU = at("TaxSpecValMU"), UnitDecs = at("UnitDecs");
    RevNum = at("RevNum");
    AltUnitId = maybe("AltUnitId"), AltUnitName = maybe("AltUnitName");
    AltUnitNumerator = maybe("AltUnitNumerator"), AltUnitDenominator = maybe("AltUnitDenominator");
    ItemDiscountCatID = maybe("ItemDiscountCatID");
    ItemDiscountCatName = maybe("ItemDiscountCatName");
  }

  int ItemId, ItemName, ForeignDescr, Price, RPrice, ItemGroupId, ItemGroupName, Country,
      XtraFieldsName1, XtraFields1, XtraFieldsName2, XtraFields2, TaxItemGroupId, TaxItemGroupPcnt,
      TaxItemGroupRId, TaxItemGroupRPcnt, DiscPcnt, BCScale, UnitID, UnitName, IsInactive,
      TaxSpecCM, TaxSpecVal, TaxSpecValMU, UnitDecs, RevNum, AltUnitId, AltUnitName,
      AltUnitNumerator, AltUnitDenominator, ItemDiscountCatID, ItemDiscountCatName;
};

// A result with its rows by one key column.
struct IndexedResult {
  IndexedResult(RecordSet result, std::string_view key)
      : Result(std::move(result)), Lookup(Result.Packet(), key) {}
  IndexedResult(const IndexedResult &) = delete; // the lookup points into the result
  IndexedResult &operator=(const IndexedResult &) = delete;

  int Column(std::string_view name) const { return ColumnIndex(Result.Packet(), name); }

  RecordSet Result;
  TRowLookup Lookup;
};

// The picture's content as the server gives it, as bytes.
Bytes PictureBytes(const Value &picture) {
  if (picture.Type() == ValueType::Bytes) return picture.AsBytes();
  const std::string text = picture.AsText();
  return Bytes(text.begin(), text.end());
}

// What the writing of every item needs besides its own row.
struct ItemWriter {
  int32_t Application;
  const ConnectorSettings &Settings;
  SlotSettings Slots;
  const ItemColumns &Columns;
  const IndexedResult &UserValues;
  const IndexedResult &Pictures;
  const IndexedResult &Barcodes;
  // Columns of the related results.
  int XtraFieldsFL1, XtraFieldsFL2, CustomUdf1, CustomUdf2, CustomUdf3, AltCatId, AltCatName;
  std::array<int, UserDefinedSlots> SlotColumns{};
  int Picture;
  std::array<int, 6> BarcodeColumns{};

  ItemWriter(int32_t application, const ConnectorSettings &settings, const ItemColumns &columns,
             const IndexedResult &userValues, const IndexedResult &pictures,
             const IndexedResult &barcodes)
      : Application(application), Settings(settings), Slots(SlotSettingsOf(settings)),
        Columns(columns), UserValues(userValues), Pictures(pictures), Barcodes(barcodes),
        XtraFieldsFL1(userValues.Column("XtraFieldsFL1")),
        XtraFieldsFL2(userValues.Column("XtraFieldsFL2")),
        CustomUdf1(userValues.Column("CustomUdf1")), CustomUdf2(userValues.Column("CustomUdf2")),
        CustomUdf3(userValues.Column("CustomUdf3")),
        AltCatId(application == ESalesApplication ? userValues.Column("ItemAltCatID") : -1),
        AltCatName(application == ESalesApplication ? userValues.Column("ItemAltCatNAME") : -1),
        Picture(pictures.Column("PICTURE")) {
    const int upper = IsExternalApplication(application) ? UserDefinedSlots : 5;
    for (int slot = 1; slot <= UserDefinedSlots; ++slot)
      SlotColumns[static_cast<size_t>(slot - 1)] =
          slot <= upper && !Slots[static_cast<size_t>(slot - 1)].empty()
              ? userValues.Column("ItemUdf" + std::to_string(slot))
              : -1;
    const char *names[] = {"ItemId", "ItemBarcode", "Color", "Size_", "Style", "ScaleType"};
    for (size_t i = 0; i < BarcodeColumns.size(); ++i)
      BarcodeColumns[i] = barcodes.Column(names[i]);
  }

  void Write(TXmlItem item, const Row &row) const;

private:
  std::string Pairs(const Row &row) const;
  void WriteSlot(TXmlItem item, int slot, const Row *values, const Row *picture) const;
};

// "name=value|name=value" of the item's two extra fields.
std::string ItemWriter::Pairs(const Row &row) const {
  const ItemColumns &c = Columns;
  return row[c.XtraFieldsName1].AsText() + "=" + row[c.XtraFields1].AsText() + "|" +
         row[c.XtraFieldsName2].AsText() + "=" + row[c.XtraFields2].AsText();
}

void ItemWriter::WriteSlot(TXmlItem item, int slot, const Row *values, const Row *picture) const {
  item.SetUserDefined(slot, Value(""));
  if (Settings.ImageNum == slot && picture) {
    const Bytes bytes = PictureBytes((*picture)[Picture]);
    if (!bytes.empty()) {
      item.SetUserDefined(slot, Value(Base64Encode(bytes)));
      return;
    }
  }
  const int column = SlotColumns[static_cast<size_t>(slot - 1)];
  if (column >= 0 && values) item.SetUserDefined(slot, (*values)[column]);
}

void ItemWriter::Write(TXmlItem item, const Row &row) const {
  const ItemColumns &c = Columns;
  const Value &itemId = row[c.ItemId];
  const Row *values = UserValues.Lookup.First(itemId);
  const auto text = [&](int column) { return row[column].AsText(); };
  const auto decimal = [&](int column) { return DecimalText(row[column]); };

  item.Set(T::ItemId, text(c.ItemId));
  item.Set(T::ItemName, text(c.ItemName));
  item.Set(T::Price, decimal(c.Price));
  item.Set(T::RPrice, decimal(c.RPrice));
  item.Set(T::ItemGroupId, text(c.ItemGroupId));
  item.Set(T::ItemGroupName, text(c.ItemGroupName));
  item.Set(T::TaxItemGroupId, text(c.TaxItemGroupId));
  item.Set(T::TaxItemGroupPcnt, decimal(c.TaxItemGroupPcnt));
  item.Set(T::TaxItemGroupRId, text(c.TaxItemGroupRId));
  item.Set(T::TaxItemGroupRPcnt, decimal(c.TaxItemGroupRPcnt));
  item.Set(ItemInteger::ModuleType, 2);
  item.Set(ItemInteger::ItemType, 0);
  item.Set(T::LineDisc, "");
  if (values) item.Set(T::MultiLineDisc, (*values)[CustomUdf1].AsText());
  item.Set(T::DiscPcnt, decimal(c.DiscPcnt));
  item.Set(T::RevNum, decimal(c.RevNum));
  item.Set(ItemInteger::ScaleItem, row[c.BCScale].AsInt32() > 0 ? 1 : 0);
  item.Set(T::UnitID, text(c.UnitID));
  item.Set(T::UnitName, text(c.UnitName));
  item.Set(ItemInteger::UnitDecs, row[c.UnitDecs].AsInt32());
  item.SetIsInactive(Value(row[c.IsInactive].AsInt32()));
  item.Set(T::Country, text(c.Country));
  item.Set(T::ItemNameFL, text(c.ForeignDescr));
  if (values) {
    item.Set(T::ItemGroupNameFL, (*values)[CustomUdf3].AsText());
    item.Set(T::ItemMultiLineDiscFL, (*values)[CustomUdf2].AsText());
  }

  std::string pairs = Pairs(row);
  if (Application == WebShopApplication && !Settings.XtraFields.empty() && values) {
    // A slot is listed when ",n," occurs in the list with a comma added on each side.
    std::string list = ",";
    list.append(Settings.XtraFields).append(",");
    for (int slot = 1; slot <= UserDefinedSlots; ++slot) {
      const std::string &name = Slots[static_cast<size_t>(slot - 1)];
      std::string wanted = ",";
      wanted.append(std::to_string(slot)).append(",");
      if (name.empty() || list.find(wanted) == std::string::npos) continue;
      pairs.append("|").append(name).append("=").append(
          (*values)[SlotColumns[static_cast<size_t>(slot - 1)]].AsText());
    }
  }
  item.Set(T::ItemXtraFields, pairs);
  if (values)
    item.Set(T::ItemXtraFieldsFL,
             std::string(ExtraField1Name) + "=" + (*values)[XtraFieldsFL1].AsText() + "|" +
                 std::string(ExtraField2Name) + "=" + (*values)[XtraFieldsFL2].AsText());

  const Row *picture = Pictures.Lookup.First(itemId);
  for (int slot = 1; slot <= 5; ++slot) WriteSlot(item, slot, values, picture);
  for (int slot = 6; slot <= UserDefinedSlots; ++slot) item.SetUserDefined(slot, Value(""));
  for (T element = T::AltUnitId; element <= T::AltItemGroupName;
       element = static_cast<T>(static_cast<int>(element) + 1))
    item.Set(element, "");
  item.Set(T::SpecialConsumptionTaxUnitID, text(c.UnitID));
  item.Set(T::SpecialConsumptionTaxPcd, "0");
  item.Set(T::SpecialConsumptionTaxValue, "0");

  if (Application == ESalesApplication) {
    item.Set(T::AltUnitId, text(c.AltUnitId));
    item.Set(T::AltUnitName, text(c.AltUnitName));
    item.Set(T::AltUnitNumerator, decimal(c.AltUnitNumerator));
    item.Set(T::AltUnitDenominator, decimal(c.AltUnitDenominator));
    item.Set(T::ItemDiscountCatID, text(c.ItemDiscountCatID));
    item.Set(T::ItemDiscountCatName, text(c.ItemDiscountCatName));
    if (values) {
      item.Set(T::AltItemGroupID, (*values)[AltCatId].AsText());
      item.Set(T::AltItemGroupName, (*values)[AltCatName].AsText());
    }
    if (row[c.TaxSpecValMU].AsInt32() == 2)
      item.Set(T::SpecialConsumptionTaxUnitID, text(c.AltUnitId));
    const int32_t method = row[c.TaxSpecCM].AsInt32();
    if (method == 1) item.Set(T::SpecialConsumptionTaxPcd, decimal(c.TaxSpecVal));
    if (method == 2) item.Set(T::SpecialConsumptionTaxValue, decimal(c.TaxSpecVal));
  }
  if (IsExternalApplication(Application))
    for (int slot = 6; slot <= UserDefinedSlots; ++slot) WriteSlot(item, slot, values, picture);

  const std::span<const Row *const> barcodes = Barcodes.Lookup.Rows(itemId);
  if (barcodes.empty()) return;
  TXmlCollection<TXmlItemBarCode> list = item.Barcodes();
  constexpr BarcodeField Fields[] = {BarcodeField::ItemId, BarcodeField::ItemBarcode,
                                     BarcodeField::Color,  BarcodeField::Size_,
                                     BarcodeField::Style,  BarcodeField::ScaleType};
  for (const Row *barcode : barcodes) {
    TXmlItemBarCode entry = list.Add();
    for (size_t i = 0; i < BarcodeColumns.size(); ++i)
      entry.Set(Fields[i], (*barcode)[BarcodeColumns[i]].AsText());
  }
}

// The price choice from the settings, the calling POS and the price-list level.
ItemPricing PricingOf(TConnectorState &state, bool posRead, std::vector<Value> &values) {
  ItemPricing pricing;
  const int32_t level = PriceListLevel(state);
  // The POS has a key of its own; the other applications use their options' key.
  const bool usePll = IsExternalApplication(state.ExtApplicationID) ? state.Global.UsePll
                                                                    : posRead && state.Pos.UsePll;
  if (posRead && state.Pos.UsePll && state.Pos.PllItemsOnly) pricing.JoinMode = "inner";
  if (!usePll) pricing.PriceListSwitch = "0=1 and ";
  if (state.ExtApplicationID == ESalesApplication && state.Global.GrossPriceQUILLET)
    pricing.PriceColumn = "GROSSPRICE";
  const PriceListScope scope = ResolvePriceListScope(state, level);
  std::string placeholder = ":" + scope.Column;
  for (char &c : placeholder) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  pricing.StoreCondition = scope.Condition(placeholder);
  if (!scope.Column.empty()) {
    pricing.OrderingTail = scope.Ranking + ", PLI.PLLID ";
    values.push_back(Value(scope.Id));
  }
  return pricing;
}

} // namespace

std::string ExportItems(TConnectorState &state, int32_t revNum, const std::string &xmlPosInfo) {
  TOrvelConnection &session = *state.Session;
  IKvrConnection &server = session.Server();
  const int32_t application = state.ExtApplicationID;
  const bool esales = application == ESalesApplication;
  const bool posRead = ReadExportSettings(state, xmlPosInfo);
  std::vector<Value> values = {Value(session.FYEID), Value(session.COMID), Value(revNum)};
  const ItemPricing pricing = PricingOf(state, posRead, values);
  const std::string filter = ExportFilter("INI", application);
  const UserDefinedValues userValueQuery =
      UserDefinedValueStatement(filter, SlotSettingsOf(state.Global), application,
                                state.Global.ImageNum, session.Config.ItemAltGroupName);

  ExecSql(server, PriceTableStatement(pricing, filter), values);
  const RecordSet items =
      OpenSql(server, ItemStatement(pricing, RowLimit(state.Global.RecordsPacket), filter, esales),
              {values[0], values[1], values[2]});
  ExecSql(server, DropPriceTableStatement);
  const std::vector<Value> changed = {Value(session.COMID), Value(revNum)};
  const IndexedResult barcodes(OpenSql(server, BarcodeStatement(filter), changed), "ItemId");
  const IndexedResult userValueRows(OpenSql(server, userValueQuery.Statement, changed), "ItemId");
  const IndexedResult pictures(
      OpenSql(server,
              PictureStatement(filter, state.Global.ImageNum, userValueQuery.PictureSlotName),
              changed),
      "ABBREVIATION");

  const DataPacket &rows = items.Packet();
  const ItemColumns columns(rows, esales);
  const ItemWriter writer(application, state.Global, columns, userValueRows, pictures, barcodes);
  TItemsDocument document;
  for (const Row &row : rows.Rows) writer.Write(document.InvItems().Items().Add(), row);
  return document.Text(application);
}

} // namespace vq
