#pragma once

#include "core/uValue.h"
#include "settings/uConnectorSettings.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vq {

// The statements of the item export. The item statement and the temporary price table
// share their placeholders (:fyeid, :comid, :num and the price-list level's id); the
// others take :ComID and :num.

// How the item prices are chosen.
struct ItemPricing {
  std::string JoinMode = "left";           // "inner": only items with a price-list price
  std::string PriceColumn = "RETAILPRICE"; // or "GROSSPRICE"
  std::string PriceListSwitch;             // "0=1 and " keeps the price table empty
  std::string StoreCondition;              // the price-list level's condition on PLL
  std::string OrderingTail = ", PLI.PLLID ";
};

// The session table #tmp_pli: per changed item and enabled price list in the fiscal year's
// base currency, the price of the list's first line, numbered by revision and ranking.
std::string PriceTableStatement(const ItemPricing &pricing, const std::string &filter);
extern const char *const DropPriceTableStatement;

// The items, at most as many as the row limit, in revision order, with the lowest-numbered
// price of #tmp_pli or the item's own price of the fiscal year.
std::string ItemStatement(const ItemPricing &pricing, const std::string &rowLimit,
                          const std::string &filter, bool esales);

std::string BarcodeStatement(const std::string &filter);

// The names of ItemUDF1 to ItemUDF10.
using SlotSettings = std::array<std::string, 10>;
SlotSettings SlotSettingsOf(const ConnectorSettings &settings);

// Slots 1 to 5 for every caller; 6 to 10 for the external applications.
struct UserDefinedValues {
  std::string Statement;
  // The setting of the slot that ImageNum names, when it is set: the picture's description.
  std::string PictureSlotName;
};

UserDefinedValues UserDefinedValueStatement(const std::string &filter, const SlotSettings &slots,
                                            int32_t extApplicationId, int32_t imageNum,
                                            const std::string &altGroupName);

// The pictures of the items: the one of the slot's description, or the first; none when
// ImageNum names no slot.
std::string PictureStatement(const std::string &filter, int32_t imageNum,
                             const std::string &pictureSlotName);

} // namespace vq
