#include "uOutput.h"

#include <cstdio>
#include <ostream>

namespace vq::cli {

std::string JsonString(const std::string &text) {
  std::string out = "\"";
  for (const char c : text) {
    switch (c) {
    case '"': out += "\\\""; break;
    case '\\': out += "\\\\"; break;
    case '\n': out += "\\n"; break;
    case '\r': out += "\\r"; break;
    case '\t': out += "\\t"; break;
    default:
      if (static_cast<unsigned char>(c) < 0x20) {
        char buffer[8];
        std::snprintf(buffer, sizeof buffer, "\\u%04x", static_cast<unsigned>(c));
        out += buffer;
      } else {
        out += c;
      }
    }
  }
  return out + "\"";
}

void PrintOutcome(const CallOutcome &outcome, bool json, bool withMethod, std::ostream &out,
                  std::ostream &err) {
  if (json) {
    std::string object = "{";
    const auto add = [&](const std::string &key, const std::string &encoded) {
      if (object.size() > 1) object += ",";
      object += JsonString(key) + ":" + encoded;
    };
    if (withMethod) add("Method", JsonString(outcome.Method));
    if (outcome.ResultCode) add("ResultCode", std::to_string(*outcome.ResultCode));
    if (outcome.ResultMessage) add("ResultMessage", JsonString(*outcome.ResultMessage));
    if (outcome.Value) add("Value", JsonString(*outcome.Value));
    if (outcome.CustomerCode) add("CustomerCode", JsonString(*outcome.CustomerCode));
    out << object << "}\n";
    if (outcome.Failure) err << *outcome.Failure << "\n";
    return;
  }
  if (withMethod) out << "== " << outcome.Method << "\n";
  if (outcome.Value) {
    out << *outcome.Value;
    // In a sequence of calls the next lines start on a line of their own.
    if (withMethod && !outcome.Value->empty() && outcome.Value->back() != '\n') out << "\n";
  }
  out.flush();
  if (outcome.Failure) err << *outcome.Failure << "\n";
  if (outcome.ResultCode) err << "ResultCode=" << *outcome.ResultCode << "\n";
  if (outcome.ResultMessage) err << *outcome.ResultMessage << "\n";
  if (outcome.CustomerCode) err << "CustomerCode=" << *outcome.CustomerCode << "\n";
  err.flush();
}

} // namespace vq::cli
