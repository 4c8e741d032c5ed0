#include "double/uScriptedServer.h"
#include "session/uOrvelConnection.h"
#include "session/uSessionMessages.h"
#include "support/uTempHome.h"

#include <gtest/gtest.h>

using vq::Value;
using vq::test::RecordedCall;
using vq::test::Rows;

namespace {

const char *const Settings = "[Connection]\n"
                             "ServerName=erp1\n"
                             "Objversion=7.1\n"
                             "WorkArea=DEMO\n"
                             "ComAbbr=CO\n"
                             "BraAbbr=HQ\n"
                             "WarAbbr=W1\n"
                             "ScoAbbr=S2\n"
                             "UserName=admin\n"
                             "Password=secret\n";

class SessionTest : public ::testing::Test {
protected:
  SessionTest() : factory_(script_) {
    script_->AnswerSql("FROM COM", Rows({"ID"}, {{Value(3)}}));
    script_->AnswerSql("SELECT ID FROM BRA", Rows({"ID"}, {{Value(11)}}));
    script_->AnswerSql("FROM WAR INNER JOIN",
                       Rows({"ID", "NAME"}, {{Value(21), Value("Κεντρική")}}));
    script_->AnswerSql("FROM SCO INNER JOIN", Rows({"ID", "ABBREVIATION", "NAME"},
                                                   {{Value(31), Value("S1"), Value("Main")},
                                                    {Value(32), Value("S2"), Value("Second")}}));
    script_->AppVars = {{"APPLICATION.FYEID", Value(5)},
                        {"APPLICATION.SCOID", Value(30)},
                        {"APPLICATION.WARID", Value(20)},
                        {"APPLICATION.BRAID", Value(11)},
                        {"APPLICATION.BRAABBR", Value("HQ")},
                        {"APPLICATION.WARABBR", Value("W0")},
                        {"APPLICATION.SCOABBR", Value("S0")},
                        {"APPLICATION.WORKDATE", Value(vq::EncodeDateTime({2026, 12, 11}))},
                        {"SYSTEM.BOOKAMOUNTDEC", Value(2)},
                        {"SYSTEM.QTYDEC", Value(3)}};
  }

  vq::TOrvelConnection &Session(const std::string &text = Settings) {
    settingsFile_ = std::make_unique<vq::IniFile>(home_.Write("BackOfficeParams.ini", text));
    session_ = std::make_unique<vq::TOrvelConnection>(*settingsFile_, 0);
    return *session_;
  }

  // Placeholder values of the OpenSQL statement that contains the fragment.
  std::vector<Value> ValuesOf(const std::string &fragment) const {
    for (const RecordedCall &call : script_->CallsOf("Call")) {
      if (call.Args[0].AsText() != "OpenSQL" ||
          call.Args[1].AsText().find(fragment) == std::string::npos)
        continue;
      const Value &arg = call.Args[2];
      if (arg.IsNull()) return {};
      if (arg.Type() == vq::ValueType::Array) return arg.AsArray();
      return {arg};
    }
    ADD_FAILURE() << "no statement with " << fragment;
    return {};
  }

  bool AppVarWritten(const std::string &name) const {
    for (const RecordedCall &call : script_->CallsOf("Call"))
      if (call.Args[0].AsText() == "SetAppVar" && call.Args[2].AsText() == name) return true;
    return false;
  }

  std::shared_ptr<vq::test::ScriptedServer> script_ = std::make_shared<vq::test::ScriptedServer>();
  vq::test::ScopedScriptedFactory factory_;
  vq::test::TempHome home_;
  std::unique_ptr<vq::IniFile> settingsFile_;
  std::unique_ptr<vq::TOrvelConnection> session_;
};

} // namespace

TEST_F(SessionTest, OpenSetsTheServerObjectUpAndConnects) {
  vq::TOrvelConnection &session = Session(std::string(Settings) + "Port=8080\n");
  ASSERT_TRUE(session.Open());
  std::vector<std::string> members;
  for (const RecordedCall &call : script_->Calls) members.push_back(call.Member);
  EXPECT_EQ(members,
            (std::vector<std::string>{"SetConnected", "SetServerGuid", "SetServerName",
                                      "SetServerName", "SetClientIdentity", "SetConnected"}));
  EXPECT_EQ(script_->Calls[1].Args[0].AsText(), "{71A6A086-CA28-404E-84B6-E31EBEBEBB9D}");
  EXPECT_EQ(script_->Calls[2].Args[0].AsText(), "erp1");
  EXPECT_EQ(script_->Calls[3].Args[0].AsText(), "erp1:8080");
  EXPECT_EQ(script_->Calls[4].Args, (std::vector<Value>{Value(8), Value("7.1"), Value("7.1")}));
  EXPECT_TRUE(session.Errors().empty());
}

TEST_F(SessionTest, OpenRecordsTheServersFailure) {
  script_->ConnectFailure = "RPC server unavailable";
  vq::TOrvelConnection &session = Session();
  EXPECT_FALSE(session.Open());
  EXPECT_EQ(session.ErrorsText(), "RPC server unavailable\r\n");
}

TEST_F(SessionTest, LoginLooksUpWithPlaceholderValuesInOrder) {
  vq::TOrvelConnection &session = Session();
  ASSERT_TRUE(session.Open());
  ASSERT_TRUE(session.Login()) << session.ErrorsText();
  EXPECT_EQ(ValuesOf("FROM COM"), std::vector<Value>{Value("CO")});
  EXPECT_EQ(ValuesOf("SELECT ID FROM BRA"), (std::vector<Value>{Value("HQ"), Value(3)}));
  EXPECT_EQ(ValuesOf("FROM WAR INNER JOIN"),
            (std::vector<Value>{Value("W1"), Value("HQ"), Value(3)}));
  EXPECT_EQ(ValuesOf("FROM SCO INNER JOIN"),
            (std::vector<Value>{Value("W1"), Value("HQ"), Value(3)}));

  const auto login = script_->CallsOf("ApplicationLogin");
  ASSERT_EQ(login.size(), 1u);
  EXPECT_EQ(login[0].Args[0], Value(3));
  EXPECT_EQ(login[0].Args[1], Value(11));
  EXPECT_EQ(login[0].Args[2].AsDate(), vq::Today());
  EXPECT_EQ(login[0].Args[3], Value("admin"));
  EXPECT_EQ(login[0].Args[4], Value("secret"));
  EXPECT_EQ(login[0].Args[5], Value(-1));
  const auto workArea = script_->CallsOf("WorkAreaConnection");
  ASSERT_EQ(workArea.size(), 1u);
  EXPECT_EQ(workArea[0].Args, (std::vector<Value>{Value("DEMO"), Value("erp1"), Value("")}));

  // The wanted warehouse and the store named by ScoAbbr replace the server's.
  EXPECT_EQ(session.WARID, 21);
  EXPECT_EQ(session.SCOID, 32);
  EXPECT_EQ(script_->AppVars["APPLICATION.WARNAME"], Value("Κεντρική"));
  EXPECT_EQ(script_->AppVars["APPLICATION.SCOABBR"], Value("S2"));
  EXPECT_EQ(session.Config.WarAbbr, "W1");
  EXPECT_EQ(session.Config.ScoAbbr, "S2");
  EXPECT_EQ(session.COMID, 3);
  EXPECT_EQ(session.BRAID, 11);
  EXPECT_EQ(session.FYEID, 5);
  EXPECT_EQ(session.QTYDEC, 3);
  EXPECT_EQ(session.BOOKAMOUNTDEC, 2);
  EXPECT_EQ(vq::DayMonthYearText(session.WORKDATE), "11/12/2026");
}

TEST_F(SessionTest, StoreNotOfTheWarehouseSelectsItsMainStore) {
  vq::TOrvelConnection &session =
      Session("[Connection]\nServerName=erp1\nComAbbr=CO\nBraAbbr=HQ\nWarAbbr=W1\nScoAbbr=ZZ\n");
  ASSERT_TRUE(session.Open());
  ASSERT_TRUE(session.Login());
  EXPECT_EQ(session.SCOID, 31);
}

TEST_F(SessionTest, UnknownBranchLooksUpNoWarehouse) {
  script_->AnswerSql("SELECT ID FROM BRA", Rows({"ID"}));
  vq::TOrvelConnection &session = Session();
  ASSERT_TRUE(session.Open());
  ASSERT_TRUE(session.Login());
  EXPECT_EQ(script_->CallsOf("ApplicationLogin")[0].Args[1], Value(-1));
  for (const std::string &sql : script_->Statements())
    EXPECT_EQ(sql.find("FROM WAR"), std::string::npos) << sql;
}

TEST_F(SessionTest, EmptyWarehouseKeepsTheServersWarehouseAndStore) {
  vq::TOrvelConnection &session =
      Session("[Connection]\nServerName=erp1\nComAbbr=CO\nBraAbbr=HQ\n");
  ASSERT_TRUE(session.Open());
  ASSERT_TRUE(session.Login());
  EXPECT_EQ(session.WARID, 20);
  EXPECT_EQ(session.SCOID, 30);
  EXPECT_FALSE(AppVarWritten("WARID"));
  EXPECT_FALSE(AppVarWritten("SCOID"));
  EXPECT_EQ(session.Config.WarAbbr, "W0");
}

TEST_F(SessionTest, WarehouseTheServerUsesIsNotWrittenAgain) {
  script_->AppVars["APPLICATION.WARID"] = Value(21);
  vq::TOrvelConnection &session = Session();
  ASSERT_TRUE(session.Open());
  ASSERT_TRUE(session.Login());
  EXPECT_FALSE(AppVarWritten("WARID"));
  EXPECT_TRUE(AppVarWritten("SCOID"));
}

TEST_F(SessionTest, RefusedLoginRecordsItsMessage) {
  for (int code = 0; code <= 10; ++code) {
    script_->LoginResult = code == 0 ? 0 : code;
    vq::TOrvelConnection &session = Session();
    ASSERT_TRUE(session.Open());
    EXPECT_EQ(session.Login(), code == 0);
    if (code != 0) {
      EXPECT_EQ(session.ErrorsText(), vq::LoginMessage(code) + "\r\n");
    }
  }
  EXPECT_EQ(vq::LoginMessage(8), "Το όνομα χειριστή ή ο κωδικός πρόσβασης είναι λάθος");
  EXPECT_EQ(vq::LoginMessage(0), "Αδύνατη σύνδεση");
  EXPECT_EQ(vq::LoginMessage(42), "Αδύνατη σύνδεση");
}

TEST_F(SessionTest, FailingStepIsRecordedNotRaised) {
  script_->FailSql("FROM COM", "Invalid object name 'COM'");
  vq::TOrvelConnection &session = Session();
  ASSERT_TRUE(session.Open());
  EXPECT_FALSE(session.Login());
  EXPECT_EQ(session.ErrorsText(), "Invalid object name 'COM'\r\n");
}
