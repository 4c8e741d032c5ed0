#pragma once

#include "session/uConnectorState.h"

#include <cstdint>
#include <functional>
#include <string>

namespace vq {

// The bodies the call frame runs. An empty entry makes its method answer that it is not
// available; tests put bodies of their own in place.
struct MethodBodies {
  // GetCustomers, GetItems: the export document for the revision number and POS info.
  using Export = std::function<std::string(TConnectorState&, int32_t revNum,
                                           const std::string& xmlPosInfo)>;
  // InsertTransactions, InsertCustomer: the document and the POS info; they set the outputs.
  using Import = std::function<void(TConnectorState&, const std::string& xmlData,
                                    const std::string& xmlPosInfo, int32_t& resultCode,
                                    std::string& resultMessage, std::string& customerCode)>;

  Export GetCustomers;
  Export GetItems;
  Import InsertTransactions;
  Import InsertCustomer;
};

// The bodies of this build.
MethodBodies StandardBodies();

} // namespace vq
