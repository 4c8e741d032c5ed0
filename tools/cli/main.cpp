// vqconnector: runs the connector's methods from the command line, the way a POS program
// calls them, against the back office the settings name.

#include "core/uError.h"
#include "core/uNumberText.h"
#include "uBackOffice.h"
#include "uInputFiles.h"
#include "uMethodCalls.h"
#include "uOutput.h"
#include "uScript.h"
#include "uUsage.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

constexpr int UsageStatus = 64;

const char *const UsageText = "usage: vqconnector [--home DIR] [--json] COMMAND [ARGUMENTS]\n"
                              "  get-customers REVNUM [--pos FILE]\n"
                              "  get-items REVNUM [--pos FILE]\n"
                              "  insert-transactions --data FILE [--pos FILE]\n"
                              "  insert-customer --data FILE [--pos FILE]\n"
                              "  generic-call --command FILE [--pos FILE]\n"
                              "  open-connection\n"
                              "  script FILE\n"
                              "  sandbox init DIR [--demo]\n"
                              "  sandbox sql DIR WORKAREA STATEMENT [VALUE...]\n"
                              "  demo\n";

std::filesystem::path ProgramDirectory() {
#ifdef _WIN32
  wchar_t buffer[MAX_PATH + 1] = {};
  GetModuleFileNameW(nullptr, buffer, MAX_PATH);
  return std::filesystem::path(buffer).parent_path();
#else
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::current_path() : self.parent_path();
#endif
}

std::string DefaultHome() {
  const char *home = std::getenv("VQCONNECTOR_HOME");
  if (home != nullptr && *home != '\0') return home;
  return ProgramDirectory().string();
}

// Options of a method command: "--pos FILE", "--data FILE", "--command FILE".
struct MethodOptions {
  std::vector<std::string> Positional;
  std::string Pos, Data, Command;
};

MethodOptions ParseMethodOptions(const std::vector<std::string> &args, size_t from) {
  MethodOptions options;
  for (size_t i = from; i < args.size(); ++i) {
    const std::string &arg = args[i];
    std::string *target = arg == "--pos"       ? &options.Pos
                          : arg == "--data"    ? &options.Data
                          : arg == "--command" ? &options.Command
                                               : nullptr;
    if (target != nullptr) {
      if (i + 1 >= args.size()) throw vq::cli::UsageError(arg + " needs a file");
      *target = args[++i];
    } else if (arg.rfind("--", 0) == 0) {
      throw vq::cli::UsageError("unknown option " + arg);
    } else {
      options.Positional.push_back(arg);
    }
  }
  return options;
}

int32_t RevNumArgument(const MethodOptions &options) {
  if (options.Positional.size() != 1) throw vq::cli::UsageError("one REVNUM is needed");
  const auto revNum = vq::ParseInteger(options.Positional[0]);
  if (!revNum || *revNum < INT32_MIN || *revNum > INT32_MAX)
    throw vq::cli::UsageError("REVNUM must be an integer");
  return static_cast<int32_t>(*revNum);
}

std::string OptionalFile(const std::string &name) {
  return name.empty() ? std::string() : vq::cli::ReadInputFile(name);
}

std::string RequiredFile(const std::string &name, const char *option) {
  if (name.empty()) throw vq::cli::UsageError(std::string(option) + " FILE is needed");
  return vq::cli::ReadInputFile(name);
}

// A single method command runs its calls on one connector object and reports the last.
int RunMethodCommand(const std::string &home, bool json, const std::string &command,
                     const std::vector<std::string> &args, size_t from) {
  const MethodOptions options = ParseMethodOptions(args, from);
  std::vector<vq::cli::MethodCall> calls;
  if (command == "get-customers" || command == "get-items") {
    calls.push_back({command == "get-customers" ? "GetCustomers" : "GetItems",
                     RevNumArgument(options),
                     {},
                     OptionalFile(options.Pos)});
  } else {
    if (!options.Positional.empty())
      throw vq::cli::UsageError("unexpected argument " + options.Positional[0]);
    if (command == "insert-transactions" || command == "insert-customer") {
      const std::string method =
          command == "insert-transactions" ? "InsertTransactions" : "InsertCustomer";
      calls.push_back({"OpenConnection", 0, {}, {}});
      calls.push_back({method, 0, RequiredFile(options.Data, "--data"), OptionalFile(options.Pos)});
      calls.push_back({"CloseConnection", 0, {}, {}});
    } else if (command == "generic-call") {
      calls.push_back({"GenericCall", 0, RequiredFile(options.Command, "--command"),
                       OptionalFile(options.Pos)});
    } else if (command == "open-connection") {
      calls.push_back({"OpenConnection", 0, {}, {}});
      calls.push_back({"CloseConnection", 0, {}, {}});
    } else {
      throw vq::cli::UsageError("unknown command " + command);
    }
  }

  // The named method is reported; the calls around it only open and close its session.
  const size_t reported = calls.size() == 3 ? 1 : 0;
  vq::TBackOfficeConnector connector(home);
  std::vector<vq::cli::CallOutcome> outcomes;
  for (const vq::cli::MethodCall &call : calls)
    outcomes.push_back(vq::cli::RunMethod(connector, call));
  vq::cli::PrintOutcome(outcomes[reported], json, false, std::cout, std::cerr);
  return vq::cli::ExitStatus(outcomes[reported]);
}

int Run(const std::vector<std::string> &args) {
  std::string home;
  bool json = false;
  size_t i = 0;
  for (; i < args.size(); ++i) {
    if (args[i] == "--home") {
      if (i + 1 >= args.size()) throw vq::cli::UsageError("--home needs a directory");
      home = args[++i];
    } else if (args[i] == "--json") {
      json = true;
    } else {
      break;
    }
  }
  if (i >= args.size()) throw vq::cli::UsageError("no command");
  if (home.empty()) home = DefaultHome();
  const std::string command = args[i];
  vq::cli::InstallBackOffice();

  if (command == "script") {
    if (args.size() != i + 2) throw vq::cli::UsageError("script needs one FILE");
    vq::TBackOfficeConnector connector(home);
    return vq::cli::RunScript(connector, args[i + 1], json, std::cout, std::cerr);
  }
  if (command == "sandbox") return vq::cli::RunSandboxCommand(args, i + 1, json);
  if (command == "demo") {
    if (args.size() != i + 1) throw vq::cli::UsageError("demo takes no arguments");
    return vq::cli::RunDemo(std::cout);
  }
  return RunMethodCommand(home, json, command, args, i + 1);
}

} // namespace

int main(int argc, char **argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  try {
    return Run(args);
  } catch (const vq::cli::UsageError &usage) {
    std::cerr << "vqconnector: " << usage.what() << "\n" << UsageText;
    return UsageStatus;
  } catch (const std::exception &failure) {
    std::cerr << "vqconnector: " << failure.what() << "\n";
    return 1;
  }
}
