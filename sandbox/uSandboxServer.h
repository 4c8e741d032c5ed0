#pragma once

#include "session/uServerInterface.h"

#include <filesystem>
#include <map>
#include <memory>
#include <string>

namespace vq::sandbox {

class Database;
class TsqlEngine;

// The application server of the sandbox: one work area of the home directory, the
// operator's login and its application variables, SQL through the T-SQL engine, one
// transaction at a time, and the business objects.
class SandboxAppServer : public IAppServer {
public:
  explicit SandboxAppServer(std::filesystem::path home);
  ~SandboxAppServer() override;

  void WorkAreaConnection(const std::string &workArea, const std::string &serverName,
                          const std::string &options) override;
  int32_t ApplicationLogin(int32_t companyId, int32_t branchId, TDateTime date,
                           const std::string &userName, const std::string &password,
                           int32_t flags) override;
  Value Call(const std::string &name, const std::vector<Value> &args) override;
  void StartTransaction() override;
  void Commit() override;
  void Rollback() override;
  std::unique_ptr<IBusinessObject> CreateBO(const std::string &name) override;

  // The engine of the open work area; raises vq::Error when none is open.
  TsqlEngine &Engine();

private:
  Value GetAppVar(const std::string &section, const std::string &name);
  Value AbbreviationFromMask(const std::string &mask);
  void LoadLoginContext(int32_t companyId, int32_t branchId, int64_t fiscalYear, TDateTime date,
                        int64_t operatorId);

  std::filesystem::path home_;
  std::unique_ptr<Database> database_;
  std::unique_ptr<TsqlEngine> engine_;
  std::map<std::string, Value> appVars_; // "SECTION.NAME", upper case
  bool inTransaction_ = false;
};

// The connection object of the sandbox.
class SandboxConnection : public IKvrConnection {
public:
  explicit SandboxConnection(std::filesystem::path home);
  ~SandboxConnection() override;

  void SetConnected(bool connected) override;
  bool Connected() override { return appServer_ != nullptr; }
  // The sandbox is its own server and serves every client: identity is not checked.
  void SetServerGuid(const std::string &) override {}
  void SetServerName(const std::string &name) override { serverName_ = name; }
  std::string ServerName() override { return serverName_; }
  void SetClientIdentity(int32_t, const std::string &, const std::string &) override {}
  IAppServer &AppServer() override;
  RecordSet NewRecordSet() override { return RecordSet(); }

private:
  std::filesystem::path home_;
  std::string serverName_;
  std::unique_ptr<SandboxAppServer> appServer_;
};

// The factory the front ends install: connections in the given home directory.
std::unique_ptr<IKvrConnection> MakeSandboxConnection(const std::string &home);

} // namespace vq::sandbox
