#pragma once

#include "session/uServerInterface.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace vq::test {

struct RecordedCall {
  std::string Member;
  std::vector<Value> Args;
};

// Rows for a canned answer: field types follow the first row's values.
DataPacket Rows(const std::vector<std::string>& fields, const std::vector<Row>& rows = {});

// A back office for tests: it records every call with its arguments and answers
// statements and application variables from a script. Connections made from one script
// share it, so a test can look at what a connector sent after the connector is gone.
class ScriptedServer : public std::enable_shared_from_this<ScriptedServer> {
public:
  // The latest rule whose fragment occurs in the statement answers it, so a test can
  // override a fixture's rule; statements without a rule get no rows.
  void AnswerSql(std::string fragment, DataPacket rows);
  void FailSql(std::string fragment, std::string message);

  int32_t LoginResult = 0;
  // Application variables by "SECTION.NAME".
  std::map<std::string, Value> AppVars;
  bool ConnectsWhenAsked = true;
  std::string ConnectFailure;    // raised by SetConnected(true) when not empty
  std::string DisconnectFailure; // raised by SetConnected(false) once connected, when not empty

  std::vector<RecordedCall> Calls;
  // The SQL texts sent through "OpenSQL" and "ExecSQL", in order.
  std::vector<std::string> Statements() const;
  // Calls of one member, in order.
  std::vector<RecordedCall> CallsOf(const std::string& member) const;
  int ConnectionsMade = 0;
  int ConnectionsAlive = 0;

  std::unique_ptr<IKvrConnection> MakeConnection();

  // Answers of the scripted connection.
  Value AnswerCall(const std::string& name, const std::vector<Value>& args);

private:
  struct SqlRule {
    std::string Fragment;
    DataPacket Rows;
    std::string Failure;
  };
  std::vector<SqlRule> rules_;
};

// Installs a connection factory that makes connections of the script, for one test.
class ScopedScriptedFactory {
public:
  explicit ScopedScriptedFactory(std::shared_ptr<ScriptedServer> script);
  ~ScopedScriptedFactory();
};

} // namespace vq::test
