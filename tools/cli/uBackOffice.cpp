#include "uBackOffice.h"

#include "com/dBackOfficeConnector.h"
#include "core/uDateTime.h"
#include "core/uError.h"
#include "core/uNumberText.h"
#include "documents/uXml.h"
#include "sandbox/uSandboxServer.h"
#include "sandbox/uTsqlEngine.h"
#include "sandbox/uWorkArea.h"
#include "session/uServerFactory.h"
#include "uMethodCalls.h"
#include "uOutput.h"
#include "uSandboxHome.h"
#include "uUsage.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <ostream>

namespace vq::cli {
namespace {

// A statement argument: integers and decimal numbers as numbers, anything else as text.
Value StatementValue(const std::string &text) {
  if (const auto integer = ParseInteger(text)) return Value(*integer);
  if (const auto number = ParseNumber(text)) return Value(*number);
  return Value(text);
}

std::string CellText(const Value &cell) {
  switch (cell.Type()) {
  case ValueType::Empty:
  case ValueType::Null: return "NULL";
  case ValueType::Date: {
    const DateParts p = DecodeDateTime(cell.AsDate());
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d.%03d", p.Year, p.Month,
                  p.Day, p.Hour, p.Minute, p.Second, p.Millisecond);
    return buffer;
  }
  case ValueType::Bytes: return "0x" + std::to_string(cell.AsBytes().size()) + " bytes";
  default: return cell.AsText();
  }
}

std::string JsonCell(const Value &cell) {
  switch (cell.Type()) {
  case ValueType::Empty:
  case ValueType::Null: return "null";
  case ValueType::Integer:
  case ValueType::Number: return cell.AsText();
  case ValueType::Boolean: return cell.AsBoolean() ? "true" : "false";
  default: return JsonString(CellText(cell));
  }
}

void PrintRows(const DataPacket &rows, bool json, std::ostream &out) {
  if (!json) {
    for (const Row &row : rows.Rows) {
      for (size_t i = 0; i < row.size(); ++i) out << (i ? "\t" : "") << CellText(row[i]);
      out << "\n";
    }
    return;
  }
  out << "[";
  for (size_t r = 0; r < rows.Rows.size(); ++r) {
    out << (r ? "," : "") << "{";
    for (size_t i = 0; i < rows.Fields.size(); ++i)
      out << (i ? "," : "") << JsonString(rows.Fields[i].Name) << ":" << JsonCell(rows.Rows[r][i]);
    out << "}";
  }
  out << "]\n";
}

int RunSql(const std::vector<std::string> &args, size_t from, bool json) {
  if (args.size() < from + 3) throw UsageError("sandbox sql needs DIR WORKAREA STATEMENT");
  const std::filesystem::path file = sandbox::WorkAreaPath(args[from], args[from + 1]);
  std::vector<Value> values;
  for (size_t i = from + 3; i < args.size(); ++i) values.push_back(StatementValue(args[i]));
  try {
    if (!std::filesystem::is_regular_file(file))
      throw Error("The work area '" + args[from + 1] + "' does not exist in " + args[from]);
    sandbox::Database database(file);
    sandbox::TsqlEngine engine(database.Handle());
    PrintRows(engine.Query(args[from + 2], values), json, std::cout);
    return 0;
  } catch (const Error &failure) {
    std::cerr << failure.what() << "\n";
    return 1;
  }
}

std::filesystem::path FreshTemporaryHome() {
  const auto stamp = std::chrono::system_clock::now().time_since_epoch().count();
  return std::filesystem::temp_directory_path() / ("vqconnector-demo-" + std::to_string(stamp));
}

void Show(TBackOfficeConnector &connector, const MethodCall &call, std::ostream &out) {
  PrintOutcome(RunMethod(connector, call), false, true, out, out);
}

void ShowWorkingContext(TBackOfficeConnector &connector, std::ostream &out) {
  const TOrvelConnection *session = connector.State().Session.get();
  if (session == nullptr || !session->Errors().empty()) return;
  out << "-- working context: company " << session->Config.ComAbbr << " (COMID " << session->COMID
      << "), branch " << session->Config.BraAbbr << " (BRAID " << session->BRAID << "), warehouse "
      << session->Config.WarAbbr << " (WARID " << session->WARID << "), store "
      << session->Config.ScoAbbr << " (SCOID " << session->SCOID << "), fiscal year "
      << session->FYEID << " " << DayMonthYearText(session->FYEBEGINDATE) << " - "
      << DayMonthYearText(session->FYEENDDATE) << ", work date "
      << DayMonthYearText(session->WORKDATE) << ", decimals " << session->BOOKAMOUNTDEC
      << " (amounts) " << session->QTYDEC << " (quantities)\n";
}

// The highest RevNum of an export document: where the next download starts.
int32_t HighestRevNum(const std::string &document) {
  int32_t highest = 0;
  const XmlNode items = Child(XmlDocument::Parse(document).Root(), "Items");
  for (XmlNode entry = items.first_child(); entry; entry = entry.next_sibling())
    if (const auto revNum = ChildInteger(entry, "RevNum")) highest = std::max(highest, *revNum);
  return highest;
}

// A download of customers or items from a revision on; gives the next revision to ask for.
int32_t ShowDownload(TBackOfficeConnector &connector, const std::string &method, int32_t revNum,
                     std::ostream &out) {
  const char *const pos = "<Pos><PosItems><rConfigPos><Name>POS1</Name></rConfigPos></PosItems></Pos>";
  const CallOutcome outcome = RunMethod(connector, MethodCall{method, revNum, {}, pos});
  out << "-- " << method << " " << revNum << "\n";
  PrintOutcome(outcome, false, true, out, out);
  return outcome.ResultCode == 0 ? HighestRevNum(outcome.Value.value_or("")) : revNum;
}

// Master data: a first download, a change in the back office, then only what changed.
void ShowDownloads(TBackOfficeConnector &connector, const std::filesystem::path &home,
                   std::ostream &out) {
  const int32_t customers = ShowDownload(connector, "GetCustomers", 0, out);
  const int32_t items = ShowDownload(connector, "GetItems", 0, out);
  out << "-- in the back office: a new phone for CUS002 and a new price for ITM003\n";
  {
    sandbox::Database database(sandbox::WorkAreaPath(home, SandboxWorkAreaName(true)));
    sandbox::TsqlEngine engine(database.Handle());
    engine.Execute("UPDATE TRD SET PHONE1='6944000002' WHERE ABBREVIATION='CUS002'", {});
    engine.Execute("UPDATE IIF SET RETAILPRICE=10.20 WHERE ITEID=3", {});
  }
  ShowDownload(connector, "GetCustomers", customers, out);
  ShowDownload(connector, "GetItems", items, out);
}

} // namespace

void InstallBackOffice() { SetConnectionFactory(sandbox::MakeSandboxConnection); }

int RunSandboxCommand(const std::vector<std::string> &args, size_t from, bool json) {
  if (from >= args.size()) throw UsageError("sandbox needs init or sql");
  const std::string &sub = args[from];
  if (sub == "init") {
    const size_t count = args.size() - from - 1;
    const bool demo = count == 2 && args[from + 2] == "--demo";
    if (count != 1 && !demo) throw UsageError("usage: sandbox init DIR [--demo]");
    CreateSandboxHome(args[from + 1], demo);
    std::cout << "Made " << args[from + 1] << " a connector home with the work area "
              << SandboxWorkAreaName(demo) << "\n";
    return 0;
  }
  if (sub == "sql") return RunSql(args, from + 1, json);
  throw UsageError("unknown sandbox command " + sub);
}

int RunDemo(std::ostream &out) {
  const std::filesystem::path home = FreshTemporaryHome();
  CreateSandboxHome(home, true);
  out << "-- a fresh demo home: " << home.string() << "\n";
  int status = 0;
  {
    TBackOfficeConnector connector(home.string());
    const MethodCall open{"OpenConnection", 0, {}, {}};
    const CallOutcome opened = RunMethod(connector, open);
    PrintOutcome(opened, false, true, out, out);
    status = opened.ResultCode.value_or(1);
    ShowWorkingContext(connector, out);
    Show(connector, MethodCall{"CloseConnection", 0, {}, {}}, out);
    if (status == 0) ShowDownloads(connector, home, out);
  }
  std::error_code ignored;
  std::filesystem::remove_all(home, ignored);
  return status;
}

} // namespace vq::cli
