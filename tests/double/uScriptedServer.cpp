#include "double/uScriptedServer.h"

#include "core/uError.h"
#include "session/uServerFactory.h"

namespace vq::test {
namespace {

FieldType TypeOf(const Value& v) {
  switch (v.Type()) {
  case ValueType::Integer: return FieldType::Integer;
  case ValueType::Number: return FieldType::Number;
  case ValueType::Date: return FieldType::Date;
  case ValueType::Bytes: return FieldType::Bytes;
  case ValueType::Boolean: return FieldType::Boolean;
  default: return FieldType::Text;
  }
}


class ScriptedConnection : public IKvrConnection, public IAppServer {
public:
  explicit ScriptedConnection(std::shared_ptr<ScriptedServer> script) : script_(std::move(script)) {
    ++script_->ConnectionsMade;
    ++script_->ConnectionsAlive;
  }
  ~ScriptedConnection() override { --script_->ConnectionsAlive; }

  void SetConnected(bool connected) override {
    Record("SetConnected", {Value(connected)});
    if (connected && !script_->ConnectFailure.empty()) throw Error(script_->ConnectFailure);
    if (!connected && connected_ && !script_->DisconnectFailure.empty())
      throw Error(script_->DisconnectFailure);
    connected_ = connected && script_->ConnectsWhenAsked;
  }
  bool Connected() override { return connected_; }
  void SetServerGuid(const std::string& guid) override { Record("SetServerGuid", {Value(guid)}); }
  void SetServerName(const std::string& name) override {
    Record("SetServerName", {Value(name)});
    serverName_ = name;
  }
  std::string ServerName() override { return serverName_; }
  void SetClientIdentity(int32_t application, const std::string& version,
                         const std::string& objectVersion) override {
    Record("SetClientIdentity", {Value(application), Value(version), Value(objectVersion)});
  }
  IAppServer& AppServer() override {
    if (!connected_) throw Error("Not connected to the application server");
    return *this;
  }
  RecordSet NewRecordSet() override { return RecordSet(); }

  void WorkAreaConnection(const std::string& workArea, const std::string& serverName,
                          const std::string& options) override {
    Record("WorkAreaConnection", {Value(workArea), Value(serverName), Value(options)});
  }
  int32_t ApplicationLogin(int32_t companyId, int32_t branchId, TDateTime date,
                           const std::string& userName, const std::string& password,
                           int32_t flags) override {
    Record("ApplicationLogin", {Value(companyId), Value(branchId), Value(date), Value(userName),
                                Value(password), Value(flags)});
    return script_->LoginResult;
  }
  Value Call(const std::string& name, const std::vector<Value>& args) override {
    std::vector<Value> recorded{Value(name)};
    recorded.insert(recorded.end(), args.begin(), args.end());
    Record("Call", recorded);
    return script_->AnswerCall(name, args);
  }
  void StartTransaction() override { Record("StartTransaction", {}); }
  void Commit() override { Record("Commit", {}); }
  void Rollback() override { Record("Rollback", {}); }
  std::unique_ptr<IBusinessObject> CreateBO(const std::string& name) override {
    Record("CreateBO", {Value(name)});
    throw Error("Class not registered", ClassNotRegistered);
  }

private:
  void Record(std::string member, std::vector<Value> args) {
    script_->Calls.push_back(RecordedCall{std::move(member), std::move(args)});
  }

  std::shared_ptr<ScriptedServer> script_;
  bool connected_ = false;
  std::string serverName_;
};

} // namespace

DataPacket Rows(const std::vector<std::string>& fields, const std::vector<Row>& rows) {
  DataPacket packet;
  for (size_t i = 0; i < fields.size(); ++i) {
    const FieldType type = rows.empty() ? FieldType::Text : TypeOf(rows.front().at(i));
    packet.Fields.push_back(FieldDef{fields[i], type, type == FieldType::Text ? 255 : 0});
  }
  packet.Rows = rows;
  return packet;
}

void ScriptedServer::AnswerSql(std::string fragment, DataPacket rows) {
  rules_.push_back(SqlRule{std::move(fragment), std::move(rows), {}});
}

void ScriptedServer::FailSql(std::string fragment, std::string message) {
  rules_.push_back(SqlRule{std::move(fragment), {}, std::move(message)});
}

std::vector<std::string> ScriptedServer::Statements() const {
  std::vector<std::string> texts;
  for (const RecordedCall& call : Calls) {
    if (call.Member != "Call" || call.Args.size() < 2) continue;
    const std::string name = call.Args[0].AsText();
    if (name == "OpenSQL" || name == "ExecSQL") texts.push_back(call.Args[1].AsText());
  }
  return texts;
}

std::vector<RecordedCall> ScriptedServer::CallsOf(const std::string& member) const {
  std::vector<RecordedCall> found;
  for (const RecordedCall& call : Calls)
    if (call.Member == member) found.push_back(call);
  return found;
}

Value ScriptedServer::AnswerCall(const std::string& name, const std::vector<Value>& args) {
  if (name == "OpenSQL" || name == "ExecSQL") {
    const std::string sql = args.at(0).AsText();
    for (auto rule = rules_.rbegin(); rule != rules_.rend(); ++rule) {
      if (sql.find(rule->Fragment) == std::string::npos) continue;
      if (!rule->Failure.empty()) throw Error(rule->Failure);
      return name == "OpenSQL" ? Value(rule->Rows.Encode()) : Value();
    }
    return name == "OpenSQL" ? Value(Rows({}).Encode()) : Value();
  }
  if (name == "GetAppVar") {
    const auto found = AppVars.find(args.at(0).AsText() + "." + args.at(1).AsText());
    return found == AppVars.end() ? Value() : found->second;
  }
  if (name == "SetAppVar") {
    AppVars[args.at(0).AsText() + "." + args.at(1).AsText()] = args.at(2);
    return Value();
  }
  throw Error("Unknown server call: " + name);
}

std::unique_ptr<IKvrConnection> ScriptedServer::MakeConnection() {
  return std::make_unique<ScriptedConnection>(shared_from_this());
}

ScopedScriptedFactory::ScopedScriptedFactory(std::shared_ptr<ScriptedServer> script) {
  SetConnectionFactory([script](const std::string&) { return script->MakeConnection(); });
}

ScopedScriptedFactory::~ScopedScriptedFactory() { SetConnectionFactory(nullptr); }

} // namespace vq::test
