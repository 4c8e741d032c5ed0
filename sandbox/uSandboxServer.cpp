#include "sandbox/uSandboxServer.h"

#include "core/uError.h"
#include "core/uText.h"
#include "sandbox/uBusinessObject.h"
#include "sandbox/uTsqlEngine.h"
#include "sandbox/uWorkArea.h"

#include <cmath>

namespace vq::sandbox {
namespace {

// Login refusals, as the application server codes them.
constexpr int32_t CompanyNotFound = 1;
constexpr int32_t NoValidFiscalYear = 4;
constexpr int32_t BranchNotFound = 6;
constexpr int32_t WrongOperator = 8;

std::string VarKey(const std::string &section, const std::string &name) {
  return UpperText(section) + "." + UpperText(name);
}

std::vector<Value> PlaceholderValues(const Value &argument) {
  if (argument.IsMissing()) return {};
  if (argument.Type() == ValueType::Array) return argument.AsArray();
  return {argument};
}

const Value &Argument(const std::vector<Value> &args, size_t index, const std::string &call) {
  if (index >= args.size()) throw Error(call + " needs more arguments");
  return args[index];
}

} // namespace

SandboxAppServer::SandboxAppServer(std::filesystem::path home) : home_(std::move(home)) {}

SandboxAppServer::~SandboxAppServer() {
  if (inTransaction_ && database_) {
    try {
      database_->Exec("ROLLBACK");
    } catch (...) {
      // The connection closes in any case; SQLite drops the open transaction.
    }
  }
}

TsqlEngine &SandboxAppServer::Engine() {
  if (!engine_) throw Error("No work area is open: call WorkAreaConnection first");
  return *engine_;
}

void SandboxAppServer::WorkAreaConnection(const std::string &workArea, const std::string &,
                                          const std::string &) {
  const std::filesystem::path file = WorkAreaPath(home_, workArea);
  if (workArea.empty() || !std::filesystem::is_regular_file(file))
    throw Error("The work area '" + workArea + "' does not exist in " + home_.string());
  engine_.reset();
  database_ = std::make_unique<Database>(file);
  engine_ = std::make_unique<TsqlEngine>(database_->Handle());
  appVars_.clear();
  inTransaction_ = false;
}

int32_t SandboxAppServer::ApplicationLogin(int32_t companyId, int32_t branchId, TDateTime date,
                                           const std::string &userName, const std::string &password,
                                           int32_t) {
  TsqlEngine &engine = Engine();
  if (engine.Query("SELECT ID FROM COM WHERE ID=:0", {Value(companyId)}).Rows.empty())
    return CompanyNotFound;
  if (engine
          .Query("SELECT ID FROM BRA WHERE ID=:0 AND COMID=:1", {Value(branchId), Value(companyId)})
          .Rows.empty())
    return BranchNotFound;
  const TDateTime day{std::floor(date.Days)};
  const DataPacket year = engine.Query(
      "SELECT ID FROM FYE WHERE COMID=:0 AND BEGINDATE<=:1 AND ENDDATE>=:2 ORDER BY BEGINDATE",
      {Value(companyId), Value(day), Value(day)});
  if (year.Rows.empty()) return NoValidFiscalYear;
  const DataPacket user = engine.Query(
      "SELECT ID, PASSWORD FROM SBX_OPERATOR WHERE USERNAME=:0 AND ISNULL(DISABLED, 0)=0",
      {Value(userName)});
  // Passwords compare exactly; the operator name without regard to case.
  if (user.Rows.empty() || user.Rows[0][1].AsText() != password) return WrongOperator;
  LoadLoginContext(companyId, branchId, year.Rows[0][0].AsInteger(), day,
                   user.Rows[0][0].AsInteger());
  return 0;
}

void SandboxAppServer::LoadLoginContext(int32_t companyId, int32_t branchId, int64_t fiscalYear,
                                        TDateTime date, int64_t operatorId) {
  TsqlEngine &engine = Engine();
  const auto set = [&](const char *section, const char *name, Value value) {
    appVars_[VarKey(section, name)] = std::move(value);
  };
  const DataPacket company =
      engine.Query("SELECT ABBREVIATION, NAME FROM COM WHERE ID=:0", {Value(companyId)});
  set("APPLICATION", "COMID", Value(companyId));
  set("APPLICATION", "COMABBR", company.Rows[0][0]);
  set("APPLICATION", "COMNAME", company.Rows[0][1]);
  const DataPacket branch =
      engine.Query("SELECT ABBREVIATION, NAME FROM BRA WHERE ID=:0", {Value(branchId)});
  set("APPLICATION", "BRAID", Value(branchId));
  set("APPLICATION", "BRAABBR", branch.Rows[0][0]);
  set("APPLICATION", "BRANAME", branch.Rows[0][1]);

  // The operator's own warehouse and store when they are of the login branch, else the
  // branch's first warehouse and its main store.
  DataPacket place =
      engine.Query("SELECT WAR.ID, WAR.ABBREVIATION, WAR.NAME, SCO.ID, SCO.ABBREVIATION, SCO.NAME "
                   "FROM SBX_OPERATOR OPR INNER JOIN WAR ON WAR.ID=OPR.WARID "
                   "LEFT JOIN SCO ON SCO.ID=OPR.SCOID AND SCO.WARID=WAR.ID "
                   "WHERE OPR.ID=:0 AND WAR.BRAID=:1",
                   {Value(operatorId), Value(branchId)});
  if (place.Rows.empty() || place.Rows[0][3].IsNull()) {
    place = engine.Query(
        "SELECT TOP 1 WAR.ID, WAR.ABBREVIATION, WAR.NAME, SCO.ID, SCO.ABBREVIATION, SCO.NAME "
        "FROM WAR LEFT JOIN SCO ON SCO.WARID=WAR.ID WHERE WAR.BRAID=:0 "
        "ORDER BY WAR.ID, SCO.ISMAIN DESC, SCO.ID",
        {Value(branchId)});
  }
  const Row none(6, Value(0));
  const Row &p = place.Rows.empty() ? none : place.Rows[0];
  set("APPLICATION", "WARID", p[0]);
  set("APPLICATION", "WARABBR", p[1]);
  set("APPLICATION", "WARNAME", p[2]);
  set("APPLICATION", "SCOID", p[3]);
  set("APPLICATION", "SCOABBR", p[4]);
  set("APPLICATION", "SCONAME", p[5]);

  const DataPacket year =
      engine.Query("SELECT BEGINDATE, ENDDATE FROM FYE WHERE ID=:0", {Value(fiscalYear)});
  set("APPLICATION", "FYEID", Value(fiscalYear));
  set("APPLICATION", "FYEBEGINDATE", year.Rows[0][0]);
  set("APPLICATION", "FYEENDDATE", year.Rows[0][1]);
  set("APPLICATION", "WORKDATE", Value(date));
  set("APPLICATION", "USRID", Value(operatorId));

  const DataPacket decimals =
      engine.Query("SELECT BOOKAMOUNTDECS, QTYDECS FROM GNO WHERE COMID=:0", {Value(companyId)});
  set("SYSTEM", "BOOKAMOUNTDEC", decimals.Rows.empty() ? Value(2) : decimals.Rows[0][0]);
  set("SYSTEM", "QTYDEC", decimals.Rows.empty() ? Value(3) : decimals.Rows[0][1]);
}

Value SandboxAppServer::GetAppVar(const std::string &section, const std::string &name) {
  const auto found = appVars_.find(VarKey(section, name));
  if (found != appVars_.end()) return found->second;
  const DataPacket stored = Engine().Query(
      "SELECT VALUE FROM SBX_APPVAR WHERE SECTION=:0 AND NAME=:1", {Value(section), Value(name)});
  return stored.Rows.empty() ? Value() : stored.Rows[0][0];
}

// "GetAbbrFromQueryAbbr": the mask's "?" becomes the next free number among the customer
// account codes that follow the mask, as wide as the widest of them (4 digits for the first).
Value SandboxAppServer::AbbreviationFromMask(const std::string &mask) {
  const size_t hole = mask.find('?');
  if (hole == std::string::npos) return Value(mask);
  const std::string prefix = mask.substr(0, hole);
  const std::string suffix = mask.substr(hole + 1);
  const DataPacket codes = Engine().Query("SELECT ABBREVIATION FROM CUA", {});
  int64_t highest = 0;
  size_t width = 0;
  for (const Row &row : codes.Rows) {
    const std::string code = row[0].AsText();
    if (code.size() <= prefix.size() + suffix.size() ||
        code.compare(0, prefix.size(), prefix) != 0 ||
        code.compare(code.size() - suffix.size(), suffix.size(), suffix) != 0)
      continue;
    const std::string digits =
        code.substr(prefix.size(), code.size() - prefix.size() - suffix.size());
    if (digits.size() > 18 || digits.find_first_not_of("0123456789") != std::string::npos) continue;
    highest = std::max<int64_t>(highest, std::stoll(digits));
    width = std::max(width, digits.size());
  }
  if (width == 0) width = 4;
  std::string number = std::to_string(highest + 1);
  if (number.size() < width) number.insert(0, width - number.size(), '0');
  return Value(prefix + number + suffix);
}

Value SandboxAppServer::Call(const std::string &name, const std::vector<Value> &args) {
  if (name == "OpenSQL") {
    const std::string sql = Argument(args, 0, name).AsText();
    const std::vector<Value> values =
        args.size() > 1 ? PlaceholderValues(args[1]) : std::vector<Value>{};
    return Value(Engine().Query(sql, values).Encode());
  }
  if (name == "ExecSQL") {
    const std::string sql = Argument(args, 0, name).AsText();
    const std::vector<Value> values =
        args.size() > 1 ? PlaceholderValues(args[1]) : std::vector<Value>{};
    return Value(Engine().Execute(sql, values));
  }
  if (name == "GetAppVar")
    return GetAppVar(Argument(args, 0, name).AsText(), Argument(args, 1, name).AsText());
  if (name == "SetAppVar") {
    appVars_[VarKey(Argument(args, 0, name).AsText(), Argument(args, 1, name).AsText())] =
        Argument(args, 2, name);
    return Value();
  }
  if (name == "GetWorkAreaNames") {
    std::vector<Value> names;
    for (const std::string &area : WorkAreaNames(home_)) names.emplace_back(area);
    return Value(std::move(names));
  }
  if (name == "GetAbbrFromQueryAbbr") return AbbreviationFromMask(Argument(args, 0, name).AsText());
  throw Error("The application server has no call " + name);
}

void SandboxAppServer::StartTransaction() {
  Engine();
  if (inTransaction_) throw Error("A transaction is already active");
  database_->Exec("BEGIN");
  inTransaction_ = true;
}

void SandboxAppServer::Commit() {
  if (!inTransaction_) throw Error("No transaction is active");
  database_->Exec("COMMIT");
  inTransaction_ = false;
}

void SandboxAppServer::Rollback() {
  if (!inTransaction_) throw Error("No transaction is active");
  database_->Exec("ROLLBACK");
  inTransaction_ = false;
}

std::unique_ptr<IBusinessObject> SandboxAppServer::CreateBO(const std::string &name) {
  const auto &registry = BusinessObjectRegistry();
  const auto found = registry.find(name);
  if (found == registry.end()) throw Error("Class not registered: " + name, ClassNotRegistered);
  return found->second(BusinessContext{Engine(), appVars_});
}

SandboxConnection::SandboxConnection(std::filesystem::path home) : home_(std::move(home)) {}

SandboxConnection::~SandboxConnection() = default;

void SandboxConnection::SetConnected(bool connected) {
  if (!connected) {
    appServer_.reset();
    return;
  }
  if (appServer_) return;
  if (Trim(serverName_).empty())
    throw Error("Cannot connect to the application server: no server name is set");
  appServer_ = std::make_unique<SandboxAppServer>(home_);
}

IAppServer &SandboxConnection::AppServer() {
  if (!appServer_) throw Error("Not connected to the application server");
  return *appServer_;
}

std::unique_ptr<IKvrConnection> MakeSandboxConnection(const std::string &home) {
  return std::make_unique<SandboxConnection>(home.empty() ? std::filesystem::path(".")
                                                          : std::filesystem::path(home));
}

} // namespace vq::sandbox
