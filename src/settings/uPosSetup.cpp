#include "settings/uPosSetup.h"

#include "settings/uIniValues.h"
#include "settings/uPosSettings.h"
#include "settings/uSettingKeys.h"
#include "settings/uSettingsSections.h"

#include <array>
#include <string>

namespace vq {
namespace {

struct SingleKey {
  std::string_view Key;
  SettingField<PosSetup> Field;
  bool InTemplate = true;
};

// In the order they are written.
const std::array<SingleKey, 13> SingleKeys = {{
    {Type2Key, &PosSetup::Type2},
    {Type3Key, &PosSetup::Type3},
    {Type4Key, &PosSetup::Type4},
    {DefaultCustomerKey, &PosSetup::DefaultCustomer},
    {DefaultSupplierKey, &PosSetup::DefaultSupplier},
    {BraAbbrKey, &PosSetup::BraAbbr, false},
    {WarAbbrKey, &PosSetup::WarAbbr, false},
    {ScoAbbrKey, &PosSetup::ScoAbbr, false},
    {UpdateStatusKey, &PosSetup::UpdateStatus},
    {UsePllKey, &PosSetup::UsePll},
    {PllItemsOnlyKey, &PosSetup::PllItemsOnly},
    {InventoryImpKey, &PosSetup::InventoryImp},
    {InventoryExpKey, &PosSetup::InventoryExp},
}};

struct CodeTable {
  std::string_view Prefix;
  std::vector<PosCodeMapping> PosSetup::*Rows;
};

// Between the sales document types, written first, and the states, written last.
const std::array<CodeTable, 6> CodeTables = {{
    {TenderTypePrefix, &PosSetup::TenderTypes},
    {TenderType2Prefix, &PosSetup::TenderTypes2},
    {ChargeTypePrefix, &PosSetup::Charges},
    {PurchaseTypePrefix, &PosSetup::PurchaseTypes},
    {ShipmentTypePrefix, &PosSetup::ShipmentTypes},
    {SalesmanPrefix, &PosSetup::Salesmen},
}};

std::string Key(std::string_view prefix, std::string_view code) {
  return std::string(prefix) + std::string(code);
}

} // namespace

void WritePosSetup(IniFile &ini, std::string_view posName, const PosSetup &setup,
                   int32_t extApplicationId, bool asTemplate) {
  const std::string templateName = TemplateSection(extApplicationId);
  IniWriteBatch batch(ini);
  ini.EraseSection(posName);
  if (asTemplate) ini.EraseSection(templateName);
  const auto put = [&](std::string_view key, std::string_view value, bool inTemplate = true) {
    ini.WriteString(posName, key, value);
    if (asTemplate && inTemplate) ini.WriteString(templateName, key, value);
  };

  for (const SingleKey &key : SingleKeys)
    put(key.Key, StoredText(setup, key.Field), key.InTemplate);
  put(VatTDateKey, setup.VatTDate ? IniDateText(*setup.VatTDate) : "");

  for (const PosSalesTypeMapping &row : setup.SalesTypes) {
    put(Key(InvoiceTypePrefix, row.Type), row.IvtAbbr);
    put(Key(InvoiceTypeScoPrefix, row.Type), std::to_string(row.ScoId));
  }
  for (const CodeTable &table : CodeTables)
    for (const PosCodeMapping &row : setup.*table.Rows) put(Key(table.Prefix, row.Code), row.Value);
  for (const PosStatusMapping &row : setup.Statuses)
    if (row.Ord > 0) put(Key(StatusPrefix, std::to_string(row.Ord)), row.WsState);

  ini.UpdateFile();
}

} // namespace vq
