#include "sandbox/uBusinessObject.h"

#include "core/uError.h"
#include "core/uText.h"

namespace vq::sandbox {
namespace {

Value TextArray(const std::vector<std::string> &texts) {
  if (texts.empty()) return Value::Null();
  std::vector<Value> items(texts.begin(), texts.end());
  return Value(std::move(items));
}

} // namespace

void SandboxBusinessObject::PrepareNewInstance() {
  providers_ = NewProviders();
  errors_.clear();
  warnings_.clear();
  identity_ = 0;
  loaded_ = true;
  isNew_ = true;
}

void SandboxBusinessObject::LoadInstance(const Value &id) {
  errors_.clear();
  warnings_.clear();
  providers_ = LoadProviders(id.AsInteger());
  identity_ = id.AsInteger();
  loaded_ = true;
  isNew_ = false;
}

RecordSet &SandboxBusinessObject::Provider(const std::string &name) {
  if (!loaded_) throw Error("The business object holds no instance");
  for (auto &[key, records] : providers_)
    if (SameTextIgnoringCase(key, name)) return records;
  throw Error("Unknown provider " + name);
}

Value SandboxBusinessObject::GetInstance(const std::string &provider) {
  return Provider(provider).Data();
}

void SandboxBusinessObject::PutInstance(const std::string &provider, const Value &packet) {
  RecordSet &target = Provider(provider);
  RecordSet incoming;
  incoming.SetData(packet);
  if (incoming.Fields() != target.Fields())
    throw Error("The data packet does not fit the provider " + provider);
  target = std::move(incoming);
}

void SandboxBusinessObject::SaveInstance(bool isNew, int32_t &status) {
  errors_.clear();
  warnings_.clear();
  if (!loaded_) throw Error("The business object holds no instance");
  if (isNew != isNew_)
    throw Error(isNew ? "The instance was loaded: modify it instead"
                      : "The instance is new: insert it");
  const int64_t id = Save(isNew);
  if (id > 0 && errors_.empty()) {
    identity_ = id;
    isNew_ = false;
    status = 0;
  } else {
    if (errors_.empty()) AddError("The object was not saved");
    status = 1;
  }
}

void SandboxBusinessObject::InsertInstance(int32_t &status) { SaveInstance(true, status); }

void SandboxBusinessObject::ModifyInstance(int32_t &status) { SaveInstance(false, status); }

Value SandboxBusinessObject::GetProperty(const std::string &name) {
  if (SameTextIgnoringCase(name, "ObjIdentity")) return Value(identity_);
  const auto found = properties_.find(UpperText(name));
  if (found == properties_.end()) throw Error("Unknown property " + name);
  return found->second;
}

void SandboxBusinessObject::SetProperty(const std::string &name, const Value &value) {
  properties_[UpperText(name)] = value;
}

Value SandboxBusinessObject::LastErrors() { return TextArray(errors_); }

Value SandboxBusinessObject::LastWarnings() { return TextArray(warnings_); }

Value SandboxBusinessObject::Invoke(const std::string &member, std::vector<Value> &) {
  throw Error("The business object has no member " + member);
}

std::map<std::string, BusinessObjectFactory> &BusinessObjectRegistry() {
  static std::map<std::string, BusinessObjectFactory> registry;
  return registry;
}

} // namespace vq::sandbox
