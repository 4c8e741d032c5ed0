#pragma once

#include "session/uConnectorState.h"

#include <cstdint>
#include <string>

namespace vq {

// The body of GetItems: the Items document of the company's items flagged for the calling
// application whose revision number is above revNum, in revision order, at most
// RecordsPacket of them, with prices, VAT data, user-defined values, picture and barcodes.
// Runs on an open session; failures are raised.
std::string ExportItems(TConnectorState &state, int32_t revNum, const std::string &xmlPosInfo);

} // namespace vq
