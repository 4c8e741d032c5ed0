#pragma once

#include "com/dBackOfficeConnector.h"

#include <optional>
#include <string>
#include <vector>

namespace vq::cli {

// One call of a connector method with its arguments, as a command line or script names it.
struct MethodCall {
  std::string Method;   // "GetCustomers", ...
  int32_t RevNum = 0;   // GetCustomers, GetItems
  std::string Document; // XmlData or XmlCommand
  std::string PosInfo;
};

// What a call gave back; the optional parts are those the method has.
struct CallOutcome {
  std::string Method;
  std::optional<int32_t> ResultCode;
  std::optional<std::string> ResultMessage;
  std::optional<std::string> Value;
  std::optional<std::string> CustomerCode;
  // A failure at the COM level (failed HRESULT): no outputs, this message.
  std::optional<std::string> Failure;
};

// The method names the command line knows, in the interface's order.
const std::vector<std::string> &MethodNames();

CallOutcome RunMethod(TBackOfficeConnector &connector, const MethodCall &call);

// Exit status of a single call: its ResultCode, 0 for GenericCall, 4 for a COM failure.
int ExitStatus(const CallOutcome &outcome);

} // namespace vq::cli
