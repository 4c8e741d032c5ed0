#include "uMethodCalls.h"

#include "core/uError.h"

namespace vq::cli {

const std::vector<std::string> &MethodNames() {
  static const std::vector<std::string> names = {
      "GetCustomers",   "GetItems",        "InsertTransactions", "BackOfficeSetup",
      "OpenConnection", "CloseConnection", "InsertCustomer",     "GenericCall"};
  return names;
}

CallOutcome RunMethod(TBackOfficeConnector &connector, const MethodCall &call) {
  CallOutcome outcome;
  outcome.Method = call.Method;
  int32_t code = 0;
  std::string message;
  std::string value;
  std::string customerCode;
  try {
    if (call.Method == "GetCustomers" || call.Method == "GetItems") {
      if (call.Method == "GetCustomers")
        connector.GetCustomers(call.RevNum, call.PosInfo, code, message, value);
      else
        connector.GetItems(call.RevNum, call.PosInfo, code, message, value);
      outcome.Value = value;
    } else if (call.Method == "InsertTransactions") {
      connector.InsertTransactions(call.Document, call.PosInfo, code, message);
    } else if (call.Method == "InsertCustomer") {
      connector.InsertCustomer(call.Document, call.PosInfo, code, message, customerCode);
      outcome.CustomerCode = customerCode;
    } else if (call.Method == "OpenConnection") {
      connector.OpenConnection(code, message);
    } else if (call.Method == "CloseConnection") {
      connector.CloseConnection(code, message);
    } else if (call.Method == "GenericCall") {
      outcome.Value = connector.GenericCall(call.Document, call.PosInfo);
      return outcome;
    } else if (call.Method == "BackOfficeSetup") {
      connector.BackOfficeSetup(call.PosInfo);
      return outcome;
    } else {
      throw Error("Unknown method: " + call.Method);
    }
  } catch (const std::exception &failure) {
    // Only the two methods without a ResultCode let failures through, as failed HRESULTs.
    outcome.Value.reset();
    outcome.Failure = failure.what();
    return outcome;
  }
  outcome.ResultCode = code;
  outcome.ResultMessage = message;
  return outcome;
}

int ExitStatus(const CallOutcome &outcome) {
  if (outcome.Failure) return 4;
  return outcome.ResultCode.value_or(0);
}

} // namespace vq::cli
