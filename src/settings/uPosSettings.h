#pragma once

#include "core/uDateTime.h"
#include "settings/uIniFile.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace vq {

// The single keys of a POS section (and of a template section).
inline constexpr std::string_view Type2Key = "Type_2";
inline constexpr std::string_view Type3Key = "Type_3";
inline constexpr std::string_view Type4Key = "Type_4";
inline constexpr std::string_view DefaultCustomerKey = "DefaultCustomer";
inline constexpr std::string_view DefaultSupplierKey = "DefaultSupplier";
inline constexpr std::string_view BraAbbrKey = "BraAbbr";
inline constexpr std::string_view WarAbbrKey = "WarAbbr";
inline constexpr std::string_view ScoAbbrKey = "ScoAbbr";
inline constexpr std::string_view UpdateStatusKey = "UpdateStatus";
inline constexpr std::string_view UsePllKey = "UsePll";
inline constexpr std::string_view PllItemsOnlyKey = "PllItemsOnly";
inline constexpr std::string_view InventoryImpKey = "Inventory_Imp";
inline constexpr std::string_view InventoryExpKey = "Inventory_Exp";
inline constexpr std::string_view VatTDateKey = "VatTDate";

// Prefixes of the mapping keys: a prefix followed by a code of the POS.
inline constexpr std::string_view InvoiceTypePrefix = "InvoiceType_";
inline constexpr std::string_view InvoiceTypeScoPrefix = "InvoiceTypeSCO_";
inline constexpr std::string_view TenderTypePrefix = "TenderType_";
inline constexpr std::string_view TenderType2Prefix = "TenderType2_";
inline constexpr std::string_view ChargeTypePrefix = "ChargeType_";
inline constexpr std::string_view PurchaseTypePrefix = "PurchaseType_";
inline constexpr std::string_view ShipmentTypePrefix = "ShipmentType_";
inline constexpr std::string_view SalesmanPrefix = "Salesman_";
inline constexpr std::string_view StatusPrefix = "Status_";

// UpdateStatus: documents are posted as drafts (1) or as final (2).
inline constexpr int32_t FinalStatus = 2;

// What the connector reads of the calling POS's section.
struct PosSettings {
  std::string Type2; // default sales document type
  std::string Type3; // collection type
  std::string Type4; // collection type for returns
  std::string DefaultCustomer;
  int32_t UpdateStatus = FinalStatus;
  // The POS's branch, warehouse and store: they replace the connection section's
  // BraAbbr, WarAbbr and ScoAbbr for the rest of the call, empty or not.
  std::string BraAbbr;
  std::string WarAbbr;
  std::string ScoAbbr;
  bool UsePll = false;       // always false for esales
  bool PllItemsOnly = false; // always false for esales
  std::string DefaultSupplier;
  TDateTime VatTDate; // day 0 when the file holds no date
};

// Reads the section named `name`, tracing "ReadPosParams aName=" and the name with 0
// before the first read and 1 to 19 after the steps that follow.
PosSettings ReadPosParams(const IniFile &ini, const std::string &name, int32_t extApplicationId);

// One mapping value, read when it is needed: prefix and code form the key. Empty when
// the section has no such key; like every value, without blanks around it.
std::string ReadPosMapping(const IniFile &ini, std::string_view posName, std::string_view prefix,
                           std::string_view code);

} // namespace vq
