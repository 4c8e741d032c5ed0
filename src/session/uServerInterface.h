#pragma once

#include "core/uDateTime.h"
#include "core/uValue.h"
#include "session/uRecordSet.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vq {

// What the connector uses of the back office's application server. Three implementations
// exist: the sandbox, the late-bound client of the real ERP component (Windows), and the
// scripted double of the tests. Every failure of the server is raised as vq::Error.

// A business object: one document or record of the ERP, filled through its providers.
class IBusinessObject {
public:
  virtual ~IBusinessObject() = default;

  virtual void PrepareNewInstance() = 0;
  virtual void LoadInstance(const Value &id) = 0;
  // Providers ("prvMain", "prvDocLines", ...) as data packets.
  virtual Value GetInstance(const std::string &provider) = 0;
  virtual void PutInstance(const std::string &provider, const Value &packet) = 0;
  virtual void InsertInstance(int32_t &status) = 0;
  virtual void ModifyInstance(int32_t &status) = 0;
  virtual Value GetProperty(const std::string &name) = 0;
  virtual void SetProperty(const std::string &name, const Value &value) = 0;
  // Arrays of message texts, null when there are none.
  virtual Value LastErrors() = 0;
  virtual Value LastWarnings() = 0;
  // Further members that single objects have (EntryType, SetValues, GetItemPrice...),
  // called by name; arguments passed by reference may be changed.
  virtual Value Invoke(const std::string &member, std::vector<Value> &args) = 0;
};

// The application-server object of a connection.
class IAppServer {
public:
  virtual ~IAppServer() = default;

  virtual void WorkAreaConnection(const std::string &workArea, const std::string &serverName,
                                  const std::string &options) = 0;
  // 0 on success, else the refusal code the session turns into its message.
  virtual int32_t ApplicationLogin(int32_t companyId, int32_t branchId, TDateTime date,
                                   const std::string &userName, const std::string &password,
                                   int32_t flags) = 0;
  // "OpenSQL" (text, placeholder values) returns a data packet, "ExecSQL" runs a
  // statement, "GetAppVar"/"SetAppVar" read and write application variables...
  virtual Value Call(const std::string &name, const std::vector<Value> &args) = 0;
  virtual void StartTransaction() = 0;
  virtual void Commit() = 0;
  virtual void Rollback() = 0;
  // Unknown names fail as an unregistered class does.
  virtual std::unique_ptr<IBusinessObject> CreateBO(const std::string &name) = 0;
};

// The connection object (IKvrConnection).
class IKvrConnection {
public:
  virtual ~IKvrConnection() = default;

  virtual void SetConnected(bool connected) = 0;
  virtual bool Connected() = 0;
  virtual void SetServerGuid(const std::string &guid) = 0;
  virtual void SetServerName(const std::string &name) = 0;
  virtual std::string ServerName() = 0;
  virtual void SetClientIdentity(int32_t application, const std::string &version,
                                 const std::string &objectVersion) = 0;
  // Valid while the connection lives; raises vq::Error when not connected.
  virtual IAppServer &AppServer() = 0;
  virtual RecordSet NewRecordSet() = 0;
};

} // namespace vq
