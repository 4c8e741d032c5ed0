#include "session/uServerCalls.h"

namespace vq {

Value PlaceholderArgument(const std::vector<Value> &values) {
  if (values.empty()) return Value::Null();
  if (values.size() == 1) return values.front();
  return Value(values);
}

RecordSet OpenSql(IKvrConnection &server, std::string_view sql, const std::vector<Value> &values) {
  RecordSet records = server.NewRecordSet();
  records.SetData(
      server.AppServer().Call("OpenSQL", {Value(std::string(sql)), PlaceholderArgument(values)}));
  return records;
}

void ExecSql(IKvrConnection &server, std::string_view sql, const std::vector<Value> &values) {
  server.AppServer().Call("ExecSQL", {Value(std::string(sql)), PlaceholderArgument(values)});
}

Value GetAppVar(IKvrConnection &server, const std::string &section, const std::string &name) {
  return server.AppServer().Call("GetAppVar", {Value(section), Value(name)});
}

void SetAppVar(IKvrConnection &server, const std::string &section, const std::string &name,
               const Value &value) {
  server.AppServer().Call("SetAppVar", {Value(section), Value(name), value});
}

} // namespace vq
