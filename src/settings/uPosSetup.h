#pragma once

#include "core/uDateTime.h"
#include "settings/uIniFile.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vq {

// One row of a mapping table that writes one key: prefix + Code = Value.
struct PosCodeMapping {
  std::string Code;
  std::string Value;
};

// A row of the sales document types: "InvoiceType_" + Type = IvtAbbr and
// "InvoiceTypeSCO_" + Type = ScoId (0 when the row names no store).
struct PosSalesTypeMapping {
  std::string Type;
  std::string IvtAbbr;
  int32_t ScoId = 0;
};

// A row of the document states: "Status_" + Ord = WsState; rows without a state
// number (Ord 0 or less) are not written.
struct PosStatusMapping {
  int32_t Ord = 0;
  std::string WsState;
};

// Everything the POS setup dialog saves of one POS section.
struct PosSetup {
  std::string Type2;
  std::string Type3;
  std::string Type4;
  std::string DefaultCustomer;
  std::string DefaultSupplier;
  std::string BraAbbr; // the three abbreviations are not part of a template
  std::string WarAbbr;
  std::string ScoAbbr;
  int32_t UpdateStatus = 0; // 0 when the dialog has none; read back as final
  bool UsePll = false;
  bool PllItemsOnly = false;
  std::string InventoryImp;
  std::string InventoryExp;
  std::optional<TDateTime> VatTDate; // none is written as empty text

  std::vector<PosSalesTypeMapping> SalesTypes;
  std::vector<PosCodeMapping> TenderTypes;
  std::vector<PosCodeMapping> TenderTypes2;
  std::vector<PosCodeMapping> Charges;
  std::vector<PosCodeMapping> PurchaseTypes;
  std::vector<PosCodeMapping> ShipmentTypes;
  std::vector<PosCodeMapping> Salesmen;
  std::vector<PosStatusMapping> Statuses;
};

// Replaces the POS section with exactly what `setup` holds (keys it does not hold are
// gone), and, with `asTemplate`, the template section of the calling application too.
// Two rows with the same code leave one key with the later row's value. All of it
// reaches the file in one replacement, or nothing does.
void WritePosSetup(IniFile &ini, std::string_view posName, const PosSetup &setup,
                   int32_t extApplicationId, bool asTemplate);

} // namespace vq
