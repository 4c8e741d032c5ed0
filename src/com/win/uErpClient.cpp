#include "com/win/uErpClient.h"

#include "com/win/uComError.h"
#include "com/win/uComText.h"
#include "com/win/uDispatchClient.h"
#include "core/uError.h"

#include <optional>

namespace vq::com {

namespace {

class TErpBusinessObject final : public IBusinessObject {
public:
  explicit TErpBusinessObject(TComPtr<IDispatch> object) : object_(std::move(object)) {}

  void PrepareNewInstance() override { object_.Get(ErpMember::PrepareNewInstance); }
  void LoadInstance(const Value &id) override { object_.Get(ErpMember::LoadInstance, {id}); }
  Value GetInstance(const std::string &provider) override {
    return object_.Get(ErpMember::GetInstance, {Value(provider)});
  }
  void PutInstance(const std::string &provider, const Value &packet) override {
    object_.Get(ErpMember::PutInstance, {Value(provider), packet});
  }
  void InsertInstance(int32_t &status) override {
    object_.CallWithStatus(ErpMember::InsertInstance, status);
  }
  void ModifyInstance(int32_t &status) override {
    object_.CallWithStatus(ErpMember::ModifyInstance, status);
  }
  Value GetProperty(const std::string &name) override {
    return object_.Get(ErpMember::GetProperty, {Value(name)});
  }
  void SetProperty(const std::string &name, const Value &value) override {
    object_.Get(ErpMember::SetProperty, {Value(name), value});
  }
  Value LastErrors() override { return object_.Get(ErpMember::LastErrors); }
  Value LastWarnings() override { return object_.Get(ErpMember::LastWarnings); }
  Value Invoke(const std::string &member, std::vector<Value> &args) override {
    return object_.CallByReference(Utf8ToWide(member), args);
  }

private:
  TDispatchClient object_;
};

class TErpAppServer final : public IAppServer {
public:
  explicit TErpAppServer(TComPtr<IDispatch> object) : object_(std::move(object)) {}

  void WorkAreaConnection(const std::string &workArea, const std::string &serverName,
                          const std::string &options) override {
    object_.Get(ErpMember::WorkAreaConnection,
                {Value(workArea), Value(serverName), Value(options)});
  }
  int32_t ApplicationLogin(int32_t companyId, int32_t branchId, TDateTime date,
                           const std::string &userName, const std::string &password,
                           int32_t flags) override {
    return object_
        .Get(ErpMember::ApplicationLogin, {Value(companyId), Value(branchId), Value(date),
                                           Value(userName), Value(password), Value(flags)})
        .AsInt32();
  }
  Value Call(const std::string &name, const std::vector<Value> &args) override {
    return object_.Get(ErpMember::Call, {Value(name), Value(args)});
  }
  void StartTransaction() override { object_.Get(ErpMember::StartTransaction); }
  void Commit() override { object_.Get(ErpMember::Commit); }
  void Rollback() override { object_.Get(ErpMember::Rollback); }
  std::unique_ptr<IBusinessObject> CreateBO(const std::string &name) override {
    return std::make_unique<TErpBusinessObject>(object_.GetObject(ErpMember::CreateBO, {name}));
  }

private:
  TDispatchClient object_;
};

class TErpConnection final : public IKvrConnection {
public:
  explicit TErpConnection(TComPtr<IDispatch> object) : object_(std::move(object)) {}

  // The application-server object belongs to one connected state.
  void SetConnected(bool connected) override {
    appServer_.reset();
    object_.Put(ErpMember::Connected, Value(connected));
  }
  bool Connected() override { return object_.Get(ErpMember::Connected).AsBoolean(); }
  void SetServerGuid(const std::string &guid) override {
    object_.Put(ErpMember::ServerGuid, Value(guid));
  }
  void SetServerName(const std::string &name) override {
    object_.Put(ErpMember::ServerName, Value(name));
  }
  std::string ServerName() override { return object_.Get(ErpMember::ServerName).AsText(); }
  void SetClientIdentity(int32_t application, const std::string &version,
                         const std::string &objectVersion) override {
    object_.Get(ErpMember::ClientIdentity,
                {Value(application), Value(version), Value(objectVersion)});
  }
  IAppServer &AppServer() override {
    if (!appServer_) appServer_.emplace(object_.GetObject(ErpMember::AppServer));
    return *appServer_;
  }
  RecordSet NewRecordSet() override { return RecordSet(); }

private:
  TDispatchClient object_;
  std::optional<TErpAppServer> appServer_;
};

} // namespace

std::unique_ptr<IKvrConnection> MakeErpConnection() {
  TComPtr<IUnknown> connection;
  HRESULT result =
      CoCreateInstance(CLSID_KvrConnection, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                       IID_IKvrConnection, reinterpret_cast<void **>(connection.Put()));
  if (FAILED(result)) throw Error(HResultText(result), result);
  TComPtr<IDispatch> dispatch;
  result = connection->QueryInterface(IID_IDispatch, reinterpret_cast<void **>(dispatch.Put()));
  if (FAILED(result)) throw Error(HResultText(result), result);
  return std::make_unique<TErpConnection>(std::move(dispatch));
}

} // namespace vq::com
