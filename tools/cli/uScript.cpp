#include "uScript.h"

#include "core/uError.h"
#include "core/uNumberText.h"
#include "core/uText.h"
#include "uInputFiles.h"
#include "uOutput.h"
#include "uUsage.h"

#include <algorithm>
#include <functional>
#include <sstream>

namespace vq::cli {
namespace {

struct ScriptLine {
  int Number = 0;
  std::vector<std::string> Words;
};

// The calls' arguments are read only when the line runs, so a file written by an earlier
// line of the same script is seen.
using LineRunner = std::function<MethodCall()>;

std::vector<std::string> Words(const std::string &line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

LineRunner Prepare(const ScriptLine &line, const std::filesystem::path &base) {
  const std::vector<std::string> &w = line.Words;
  const std::string &method = w[0];
  const size_t args = w.size() - 1;
  const auto usage = [&](const std::string &form) {
    return UsageError("line " + std::to_string(line.Number) + ": usage: " + form);
  };
  const auto file = [base](const std::string &name) { return ReadInputFile(name, base); };

  if (method == "OpenConnection" || method == "CloseConnection") {
    if (args != 0) throw usage(method);
    return [method] { return MethodCall{method, 0, {}, {}}; };
  }
  if (method == "GetCustomers" || method == "GetItems") {
    if (args < 1 || args > 2) throw usage(method + " REVNUM [POSFILE]");
    const auto revNum = ParseInteger(w[1]);
    if (!revNum || *revNum < INT32_MIN || *revNum > INT32_MAX)
      throw usage(method + " REVNUM [POSFILE]");
    const std::string pos = args == 2 ? w[2] : "";
    return [=] {
      return MethodCall{method, static_cast<int32_t>(*revNum), {}, pos.empty() ? "" : file(pos)};
    };
  }
  if (method == "InsertTransactions" || method == "InsertCustomer") {
    if (args != 2) throw usage(method + " DATAFILE POSFILE");
    const std::string data = w[1];
    const std::string pos = w[2];
    return [=] { return MethodCall{method, 0, file(data), file(pos)}; };
  }
  if (method == "GenericCall") {
    if (args < 1 || args > 2) throw usage("GenericCall COMMANDFILE [POSFILE]");
    const std::string command = w[1];
    const std::string pos = args == 2 ? w[2] : "";
    return [=] { return MethodCall{method, 0, file(command), pos.empty() ? "" : file(pos)}; };
  }
  if (method == "BackOfficeSetup") {
    if (args > 1) throw usage("BackOfficeSetup [POSFILE]");
    const std::string pos = args == 1 ? w[1] : "";
    return [=] { return MethodCall{method, 0, {}, pos.empty() ? "" : file(pos)}; };
  }
  throw UsageError("line " + std::to_string(line.Number) + ": unknown method " + method);
}

} // namespace

int RunScript(TBackOfficeConnector &connector, const std::filesystem::path &script, bool json,
              std::ostream &out, std::ostream &err) {
  std::string text;
  try {
    text = ReadInputFile(script.string());
  } catch (const Error &unreadable) {
    throw UsageError(unreadable.what());
  }
  const std::filesystem::path base = script.parent_path();
  std::vector<std::pair<std::string, LineRunner>> lines;
  int number = 0;
  for (const std::string &raw : SplitText(text, '\n')) {
    ++number;
    const std::string trimmed = Trim(raw);
    if (trimmed.empty() || trimmed[0] == '#') continue;
    ScriptLine line{number, Words(trimmed)};
    lines.emplace_back(line.Words[0], Prepare(line, base));
  }
  int status = 0;
  for (const auto &[method, prepare] : lines) {
    CallOutcome outcome;
    try {
      outcome = RunMethod(connector, prepare());
    } catch (const std::exception &failure) {
      // An argument file that cannot be read fails that call, not the script.
      outcome.Method = method;
      outcome.Failure = failure.what();
    }
    PrintOutcome(outcome, json, true, out, err);
    if (outcome.Failure) status = 4;
  }
  return status;
}

} // namespace vq::cli
