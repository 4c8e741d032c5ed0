#pragma once

#include "session/uConnectorState.h"

#include <cstdint>
#include <string>

namespace vq {

// The body of GetCustomers: the Customers document of the company's customers flagged for
// the calling application whose revision number is above revNum, in revision order, at
// most RecordsPacket of them. Runs on an open session; failures are raised.
std::string ExportCustomers(TConnectorState &state, int32_t revNum, const std::string &xmlPosInfo);

} // namespace vq
