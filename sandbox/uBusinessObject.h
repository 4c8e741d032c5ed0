#pragma once

#include "session/uServerInterface.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace vq::sandbox {

class TsqlEngine;

// What a business object of the sandbox can reach while it loads and saves: the work
// area's engine, inside the application server's transaction.
struct BusinessContext {
  TsqlEngine &Engine;
  std::map<std::string, Value> &AppVars; // "SECTION.NAME"
};

// The framework of the sandbox's business objects: providers kept as record sets, the
// last errors and warnings as arrays of texts, and the identity of the saved object.
// A concrete object says which providers it has and how it loads and saves them.
class SandboxBusinessObject : public IBusinessObject {
public:
  explicit SandboxBusinessObject(BusinessContext context) : context_(context) {}

  void PrepareNewInstance() override;
  void LoadInstance(const Value &id) override;
  Value GetInstance(const std::string &provider) override;
  void PutInstance(const std::string &provider, const Value &packet) override;
  void InsertInstance(int32_t &status) override;
  void ModifyInstance(int32_t &status) override;
  Value GetProperty(const std::string &name) override;
  void SetProperty(const std::string &name, const Value &value) override;
  Value LastErrors() override;
  Value LastWarnings() override;
  Value Invoke(const std::string &member, std::vector<Value> &args) override;

protected:
  // Empty providers of a new instance, by name.
  virtual std::map<std::string, RecordSet> NewProviders() = 0;
  // Providers of a stored instance; raises vq::Error when there is none with that id.
  virtual std::map<std::string, RecordSet> LoadProviders(int64_t id) = 0;
  // Validates and writes the providers; adds refusals with AddError and returns the id of
  // the saved object, or 0 when it refused.
  virtual int64_t Save(bool isNew) = 0;

  RecordSet &Provider(const std::string &name);
  BusinessContext &Context() { return context_; }
  void AddError(std::string text) { errors_.push_back(std::move(text)); }
  void AddWarning(std::string text) { warnings_.push_back(std::move(text)); }
  std::map<std::string, Value> &Properties() { return properties_; }

private:
  void SaveInstance(bool isNew, int32_t &status);

  BusinessContext context_;
  std::map<std::string, RecordSet> providers_;
  std::map<std::string, Value> properties_;
  std::vector<std::string> errors_;
  std::vector<std::string> warnings_;
  int64_t identity_ = 0;
  bool loaded_ = false;
  bool isNew_ = false;
};

using BusinessObjectFactory = std::function<std::unique_ptr<IBusinessObject>(BusinessContext)>;

// The business objects the sandbox knows, by the names CreateBO takes.
std::map<std::string, BusinessObjectFactory> &BusinessObjectRegistry();

} // namespace vq::sandbox
