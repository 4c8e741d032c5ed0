#pragma once

#include "session/uServerInterface.h"

#include <string>
#include <string_view>
#include <vector>

namespace vq {

// The placeholder argument of "OpenSQL" and "ExecSQL": null for no placeholder, the value
// itself for one, an array in placeholder order for several.
Value PlaceholderArgument(const std::vector<Value> &values);

// Runs a statement through "OpenSQL" into a new record set of the connection.
RecordSet OpenSql(IKvrConnection &server, std::string_view sql,
                  const std::vector<Value> &values = {});
void ExecSql(IKvrConnection &server, std::string_view sql, const std::vector<Value> &values = {});

Value GetAppVar(IKvrConnection &server, const std::string &section, const std::string &name);
void SetAppVar(IKvrConnection &server, const std::string &section, const std::string &name,
               const Value &value);

} // namespace vq
