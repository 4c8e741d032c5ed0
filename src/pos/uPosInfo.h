#pragma once

#include "session/uConnectorState.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vq {

// One POS of the POS info (an rConfigPos); only what the connector uses of it.
struct PosConfig {
  std::string Name; // names the POS's settings section
  bool IsActive = false;
};

// The POS info document: the POS of a call is the first item; queries over several POS
// go through all of them.
struct PosInfo {
  std::vector<PosConfig> Items;
  // Raises vq::Error when the document lists no POS.
  const PosConfig &First() const;
};

// Raises vq::Error for text that is not well-formed or has no "Pos" document element.
PosInfo ParsePosInfo(std::string_view text);

// Reads the section of the POS into the per-POS settings; its abbreviations replace the
// connection section's in the connector's settings.
void ReadPosSection(TConnectorState &state, const std::string &posName);

// The POS's branch, warehouse and store ids from its abbreviations, each using the one
// before. A resolution that finds nothing gives 0 and leaves the context as it was.
int32_t ResolvePosBranch(TConnectorState &state);
int32_t ResolvePosWarehouse(TConnectorState &state);
int32_t ResolvePosStore(TConnectorState &state);

// Takes the context from a store when it belongs to the POS's branch, else resolves it
// from the abbreviations.
void SelectStore(TConnectorState &state, int32_t storeId);

struct PosIdLists {
  std::string StoreIds;   // "id," per POS whose store was found, duplicates included
  std::string DocTypeIds; // "id," per document type, each once
};

// Fills DocTypeMap, FundMap and PayMethodMap for every POS of the POS info.
PosIdLists BuildPosMappings(TConnectorState &state, const PosInfo &info);

} // namespace vq
