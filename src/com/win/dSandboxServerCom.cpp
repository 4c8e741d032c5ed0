#include "com/win/dSandboxServerCom.h"

#include "com/win/uComError.h"
#include "com/win/uComPtr.h"
#include "com/win/uComServer.h"
#include "com/win/uComValue.h"
#include "com/win/uDispatchServer.h"
#include "com/win/uErpMembers.h"
#include "core/uError.h"
#include "sandbox/uSandboxServer.h"

#include <memory>

namespace vq::com {
namespace {

[[noreturn]] void NotAMember() { throw Error("Member not found", DISP_E_MEMBERNOTFOUND); }

void ReturnObject(IDispatch *object, VARIANT &result) {
  result.vt = VT_DISPATCH;
  result.pdispVal = object;
}

class TSandboxConnectionCom final : public TDispatchServer {
public:
  TSandboxConnectionCom()
      : TDispatchServer(ErpObject::Connection),
        connection_(sandbox::MakeSandboxConnection(ModuleDirectory())) {}

  IKvrConnection &Connection() { return *connection_; }

protected:
  bool Answers(REFIID iid) const override { return IsEqualIID(iid, IID_IKvrConnection); }
  void Call(ErpMember member, bool put, std::vector<Value> &args, VARIANT &result) override;

private:
  std::unique_ptr<IKvrConnection> connection_;
};

// The objects below keep their connection, and so the sandbox's application server, alive.
class TSandboxBusinessObjectCom final : public TDispatchServer {
public:
  TSandboxBusinessObjectCom(TComPtr<TSandboxConnectionCom> connection,
                            std::unique_ptr<IBusinessObject> object)
      : TDispatchServer(ErpObject::BusinessObject), connection_(std::move(connection)),
        object_(std::move(object)) {}

protected:
  void Call(ErpMember member, bool put, std::vector<Value> &args, VARIANT &result) override;
  bool TakesOtherMembers() const override { return true; }
  Value CallOther(const std::string &name, std::vector<Value> &args) override {
    return object_->Invoke(name, args);
  }

private:
  TComPtr<TSandboxConnectionCom> connection_;
  std::unique_ptr<IBusinessObject> object_;
};

class TSandboxAppServerCom final : public TDispatchServer {
public:
  explicit TSandboxAppServerCom(TComPtr<TSandboxConnectionCom> connection)
      : TDispatchServer(ErpObject::AppServer), connection_(std::move(connection)) {}

protected:
  void Call(ErpMember member, bool put, std::vector<Value> &args, VARIANT &result) override;

private:
  TComPtr<TSandboxConnectionCom> connection_;
};

// A new reference to `object`, owned by the caller.
template <typename T> TComPtr<T> Referenced(T *object) {
  object->AddRef();
  return TComPtr<T>(object);
}

void TSandboxConnectionCom::Call(ErpMember member, bool put, std::vector<Value> &args,
                                 VARIANT &result) {
  switch (member) {
  case ErpMember::Connected:
    if (put)
      connection_->SetConnected(Argument(args, 0).AsBoolean());
    else
      ValueToVariant(Value(connection_->Connected()), result);
    return;
  case ErpMember::ServerGuid:
    if (!put) NotAMember();
    connection_->SetServerGuid(Argument(args, 0).AsText());
    return;
  case ErpMember::ServerName:
    if (put)
      connection_->SetServerName(Argument(args, 0).AsText());
    else
      ValueToVariant(Value(connection_->ServerName()), result);
    return;
  case ErpMember::ClientIdentity:
    connection_->SetClientIdentity(Argument(args, 0).AsInt32(), Argument(args, 1).AsText(),
                                   Argument(args, 2).AsText());
    return;
  case ErpMember::AppServer:
    if (put) NotAMember();
    connection_->AppServer(); // fails here when not connected
    ReturnObject(new TSandboxAppServerCom(Referenced(this)), result);
    return;
  default: NotAMember();
  }
}

void TSandboxAppServerCom::Call(ErpMember member, bool put, std::vector<Value> &args,
                                VARIANT &result) {
  if (put) NotAMember();
  IAppServer &server = connection_->Connection().AppServer();
  switch (member) {
  case ErpMember::WorkAreaConnection:
    server.WorkAreaConnection(Argument(args, 0).AsText(), Argument(args, 1).AsText(),
                              Argument(args, 2).AsText());
    return;
  case ErpMember::ApplicationLogin:
    ValueToVariant(
        Value(server.ApplicationLogin(Argument(args, 0).AsInt32(), Argument(args, 1).AsInt32(),
                                      Argument(args, 2).AsDate(), Argument(args, 3).AsText(),
                                      Argument(args, 4).AsText(), Argument(args, 5).AsInt32())),
        result);
    return;
  case ErpMember::Call: {
    const Value &callArgs = Argument(args, 1);
    ValueToVariant(server.Call(Argument(args, 0).AsText(),
                               callArgs.IsMissing() ? std::vector<Value>() : callArgs.AsArray()),
                   result);
    return;
  }
  case ErpMember::StartTransaction: server.StartTransaction(); return;
  case ErpMember::Commit: server.Commit(); return;
  case ErpMember::Rollback: server.Rollback(); return;
  case ErpMember::CreateBO: {
    std::unique_ptr<IBusinessObject> object = server.CreateBO(Argument(args, 0).AsText());
    ReturnObject(new TSandboxBusinessObjectCom(connection_, std::move(object)), result);
    return;
  }
  default: NotAMember();
  }
}

void TSandboxBusinessObjectCom::Call(ErpMember member, bool put, std::vector<Value> &args,
                                     VARIANT &result) {
  if (put) NotAMember();
  switch (member) {
  case ErpMember::PrepareNewInstance: object_->PrepareNewInstance(); return;
  case ErpMember::LoadInstance: object_->LoadInstance(Argument(args, 0)); return;
  case ErpMember::GetInstance:
    ValueToVariant(object_->GetInstance(Argument(args, 0).AsText()), result);
    return;
  case ErpMember::PutInstance:
    object_->PutInstance(Argument(args, 0).AsText(), Argument(args, 1));
    return;
  case ErpMember::InsertInstance:
  case ErpMember::ModifyInstance: {
    int32_t status = Argument(args, 0).AsInt32();
    if (member == ErpMember::InsertInstance)
      object_->InsertInstance(status);
    else
      object_->ModifyInstance(status);
    args[0] = Value(status);
    return;
  }
  case ErpMember::GetProperty:
    ValueToVariant(object_->GetProperty(Argument(args, 0).AsText()), result);
    return;
  case ErpMember::SetProperty:
    object_->SetProperty(Argument(args, 0).AsText(), Argument(args, 1));
    return;
  case ErpMember::LastErrors: ValueToVariant(object_->LastErrors(), result); return;
  case ErpMember::LastWarnings: ValueToVariant(object_->LastWarnings(), result); return;
  default: NotAMember();
  }
}

} // namespace

HRESULT CreateSandboxConnection(REFIID iid, void **object) {
  try {
    auto *created = new TSandboxConnectionCom();
    const HRESULT result = created->QueryInterface(iid, object);
    created->Release();
    return result;
  } catch (...) {
    return ReportCurrentFailure(iid, L"VqBackOfficeSandbox");
  }
}

} // namespace vq::com
