#pragma once

#include "session/uConnectorState.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace vq {

// What every master-data export shares: the selection of the calling application's
// records, the row limit, the settings and the price lists of the calling POS.

// The applications other than the POS: webshop, esales, crm and brenic.
bool IsExternalApplication(int32_t extApplicationId);

// "isnull(T.UPDATEMERIVO, 0)=1 " for the POS, else the application's bit of
// UPDATEEXTERNALSYS; `table` is the alias of the selected table.
std::string ExportFilter(std::string_view table, int32_t extApplicationId);

// "top N " when recordsPacket is above 0, else empty.
std::string RowLimit(int32_t recordsPacket);

// Reads the global settings and, when the POS info is not empty, the section of the POS it
// names. True when a POS section was read.
bool ReadExportSettings(TConnectorState &state, const std::string &xmlPosInfo);

// DEFINEPRICELIST of the company's sales options: 1 company, 2 branch, 3 warehouse,
// 4 store; 0 without options.
int32_t PriceListLevel(TConnectorState &state);

// Which price lists a level admits and how lists of the POS's own level rank first.
struct PriceListScope {
  bool CompanyOnly = false; // level 1: lists of no branch, warehouse or store
  std::string Column;       // "BRAID", "WARID" or "SCOID" of the level's own lists
  int32_t Id = 0;           // the POS's branch, warehouse or store
  std::string Ranking;      // ", case when ... end" that puts the level's pure lists first

  // The condition on PLL, with `id` (a number or a placeholder) in place of the POS's id.
  std::string Condition(std::string_view id) const;
};

// Resolves the store context the level needs (branch; then warehouse; then store).
PriceListScope ResolvePriceListScope(TConnectorState &state, int32_t level);

} // namespace vq
