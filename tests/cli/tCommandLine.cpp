#include "sandbox/uWorkArea.h"
#include "settings/uIniFile.h"
#include "support/uDemoHome.h"
#include "uOutput.h"
#include "uScript.h"
#include "uUsage.h"

#include <array>
#include <cstdio>
#include <gtest/gtest.h>
#include <sstream>

namespace {

struct CommandRun {
  int Status = -1;
  std::string Out;
};

// Runs the built command with a shell line; standard error joins standard output.
CommandRun Command(const std::string &arguments) {
  CommandRun run;
  FILE *pipe = ::popen((std::string(VQCONNECTOR_PATH) + " " + arguments + " 2>&1").c_str(), "r");
  if (pipe == nullptr) return run;
  std::array<char, 4096> buffer{};
  size_t read = 0;
  while ((read = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
    run.Out.append(buffer.data(), read);
  const int status = ::pclose(pipe);
  run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

} // namespace

TEST(JsonString, EscapesQuotesControlsAndKeepsUtf8) {
  EXPECT_EQ(vq::cli::JsonString("a\"b\\c\r\n\t\x01Ω"), "\"a\\\"b\\\\c\\r\\n\\t\\u0001Ω\"");
}

TEST(PrintOutcome, SplitsValueAndResultLinesOrPrintsOneJsonObject) {
  vq::cli::CallOutcome outcome;
  outcome.Method = "InsertCustomer";
  outcome.ResultCode = 2;
  outcome.ResultMessage = "ok";
  outcome.CustomerCode = "C1";
  std::ostringstream out, err;
  vq::cli::PrintOutcome(outcome, false, false, out, err);
  EXPECT_EQ(out.str(), "");
  EXPECT_EQ(err.str(), "ResultCode=2\nok\nCustomerCode=C1\n");
  std::ostringstream json, none;
  vq::cli::PrintOutcome(outcome, true, true, json, none);
  EXPECT_EQ(json.str(), "{\"Method\":\"InsertCustomer\",\"ResultCode\":2,\"ResultMessage\":\"ok\","
                        "\"CustomerCode\":\"C1\"}\n");
}

TEST(Script, RunsEveryLineOnOneObject) {
  vq::test::DemoHome demo;
  demo.Home().Write("pos.xml",
                    "<Pos><PosItems><rConfigPos><Name>POS1</Name></rConfigPos></PosItems></Pos>");
  const std::string script = demo.Home().Write(
      "day.txt", "# a short day\nOpenConnection\n\nInsertTransactions missing.xml pos.xml\n"
                 "BackOfficeSetup\nCloseConnection\n");
  vq::TBackOfficeConnector connector(demo.Home().Dir());
  std::ostringstream out, err;
  EXPECT_EQ(vq::cli::RunScript(connector, script, false, out, err), 4);
  EXPECT_EQ(out.str(), "== OpenConnection\n== InsertTransactions\n== BackOfficeSetup\n"
                       "== CloseConnection\n");
  EXPECT_NE(err.str().find("Cannot read"), std::string::npos) << err.str();
}

TEST(Script, BadLineIsAUsageErrorBeforeAnythingRuns) {
  vq::test::TempHome home;
  const std::string script = home.Write("bad.txt", "OpenConnection\nGetItems notanumber\n");
  vq::TBackOfficeConnector connector(home.Dir());
  std::ostringstream out, err;
  EXPECT_THROW(vq::cli::RunScript(connector, script, false, out, err), vq::cli::UsageError);
  EXPECT_EQ(out.str(), "");
  const std::string unknown = home.Write("unknown.txt", "Frobnicate\n");
  EXPECT_THROW(vq::cli::RunScript(connector, unknown, false, out, err), vq::cli::UsageError);
}

TEST(CommandLine, ExitStatusFollowsTheContract) {
  vq::test::TempHome home;
  EXPECT_EQ(Command("").Status, 64);
  EXPECT_EQ(Command("--home " + home.Path().string() + " get-items").Status, 64);
  EXPECT_EQ(Command("--home " + home.Path().string() + " get-items 1 --bogus").Status, 64);
  EXPECT_EQ(Command("--home " + home.Path().string() + " insert-customer").Status, 64);

  const std::string dir = home.Path().string() + "/home";
  const CommandRun init = Command("sandbox init " + dir + " --demo");
  ASSERT_EQ(init.Status, 0) << init.Out;
  EXPECT_NE(Command("sandbox init " + dir + " --demo").Status, 0); // never over an existing home

  const CommandRun rows = Command("sandbox sql " + dir +
                                  " DEMO \"SELECT ABBREVIATION, NAME FROM COM WHERE ID = :0\" 1");
  EXPECT_EQ(rows.Status, 0);
  EXPECT_EQ(rows.Out, "DEMO\tΔείγμα Εμπορική Α.Ε.\n");
  const CommandRun json =
      Command("--json sandbox sql " + dir + " DEMO \"SELECT ID, NULL AS N FROM COM\"");
  EXPECT_EQ(json.Out, "[{\"ID\":1,\"N\":null}]\n");
  const CommandRun bad = Command("sandbox sql " + dir + " DEMO \"SELECT NOPE FROM COM\"");
  EXPECT_EQ(bad.Status, 1);

  const CommandRun generic = Command("--home " + dir + " generic-call --command - < /dev/null");
  EXPECT_EQ(generic.Status, 0);
  EXPECT_NE(generic.Out.find("<ErrorOrWarrning>1</ErrorOrWarrning>"), std::string::npos);
}

TEST(SandboxSession, OpenConnectionLogsInOrGivesTheRefusal) {
  vq::test::DemoHome demo;
  {
    const auto connector = demo.OpenConnector();
    const vq::TOrvelConnection &session = *connector->State().Session;
    EXPECT_EQ(session.COMID, 1);
    EXPECT_EQ(session.Config.ScoAbbr, "S1");
    EXPECT_EQ(session.QTYDEC, 3);
  }
  vq::IniFile settings((demo.Home().Path() / "BackOfficeParams.ini").string());
  settings.WriteString("Connection", "Password", "wrong");
  vq::TBackOfficeConnector connector(demo.Home().Dir());
  int32_t code = -1;
  std::string message;
  connector.OpenConnection(code, message);
  EXPECT_EQ(code, 1);
  EXPECT_EQ(message, "Το όνομα χειριστή ή ο κωδικός πρόσβασης είναι λάθος\r\n");
}

TEST(SandboxSession, FailingTrackingInstallFailsTheCallWithTheServersMessage) {
  vq::test::DemoHome demo;
  vq::sandbox::Database(vq::sandbox::WorkAreaPath(demo.Home().Path(), "DEMO"))
      .Exec("DROP TABLE REVNUM");
  vq::TBackOfficeConnector connector(demo.Home().Dir());
  int32_t code = -1;
  std::string message;
  connector.OpenConnection(code, message);
  EXPECT_EQ(code, 1);
  EXPECT_NE(message.find("REVNUM"), std::string::npos) << message;
  EXPECT_EQ(message.substr(message.size() - 2), "\r\n");
}
