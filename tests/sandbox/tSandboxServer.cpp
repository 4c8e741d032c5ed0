#include "core/uError.h"
#include "sandbox/uSandboxServer.h"
#include "sandbox/uWorkArea.h"
#include "session/uServerCalls.h"
#include "support/uTempHome.h"

#include <gtest/gtest.h>

using vq::Value;

namespace {

class SandboxServerTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    demoHome_ = new vq::test::TempHome();
    vq::sandbox::CreateWorkArea(demoHome_->Path(), "DEMO", vq::sandbox::WorkAreaContent::Demo);
  }
  static void TearDownTestSuite() {
    delete demoHome_;
    demoHome_ = nullptr;
  }

  SandboxServerTest() {
    std::filesystem::copy_file(vq::sandbox::WorkAreaPath(demoHome_->Path(), "DEMO"),
                               vq::sandbox::WorkAreaPath(home_.Path(), "DEMO"));
    connection_ = vq::sandbox::MakeSandboxConnection(home_.Path().string());
    connection_->SetServerName("sandbox");
    connection_->SetConnected(true);
  }

  vq::IAppServer& App() { return connection_->AppServer(); }

  int32_t Login(int32_t company, int32_t branch, vq::TDateTime date, const std::string& user,
                const std::string& password) {
    App().WorkAreaConnection("DEMO", "sandbox", "");
    return App().ApplicationLogin(company, branch, date, user, password, -1);
  }

  std::string Snapshot() {
    std::string text;
    for (const char* sql : {"SELECT ID, ABBREVIATION, NAME FROM CUA ORDER BY ID",
                            "SELECT NAME, SEQ FROM sqlite_sequence ORDER BY NAME"}) {
      vq::RecordSet rows = vq::OpenSql(*connection_, sql);
      for (rows.First(); !rows.Eof(); rows.Next())
        for (const vq::FieldDef& field : rows.Fields()) text += rows.Field(field.Name).AsText() + "|";
    }
    return text;
  }

  static vq::test::TempHome* demoHome_;
  vq::test::TempHome home_;
  std::unique_ptr<vq::IKvrConnection> connection_;
};

vq::test::TempHome* SandboxServerTest::demoHome_ = nullptr;

const vq::TDateTime Day = vq::EncodeDateTime({2026, 12, 11});

} // namespace

TEST_F(SandboxServerTest, LoginRefusesWithTheServersCodes) {
  const struct {
    int32_t company, branch;
    vq::TDateTime date;
    const char *user, *password;
    int32_t code;
  } cases[] = {{9, 1, Day, "admin", "admin", 1},
               {0, 1, Day, "admin", "admin", 1},
               {1, -1, Day, "admin", "admin", 6},
               {1, 1, vq::EncodeDateTime({2019, 6, 1}), "admin", "admin", 4},
               {1, 1, Day, "admin", "wrong", 8},
               {1, 1, Day, "nobody", "admin", 8},
               {1, 1, Day, "ADMIN", "admin", 0},
               {1, 2, Day, "admin", "admin", 0}};
  for (const auto& c : cases)
    EXPECT_EQ(Login(c.company, c.branch, c.date, c.user, c.password), c.code)
        << c.company << "/" << c.branch << "/" << c.user;
}

TEST_F(SandboxServerTest, LoginFillsTheApplicationVariables) {
  ASSERT_EQ(Login(1, 1, Day, "admin", "admin"), 0);
  const auto var = [&](const char* section, const char* name) {
    return vq::GetAppVar(*connection_, section, name);
  };
  EXPECT_EQ(var("APPLICATION", "BRAABBR"), Value("HQ"));
  EXPECT_EQ(var("APPLICATION", "WARABBR"), Value("W1"));
  EXPECT_EQ(var("APPLICATION", "SCOABBR"), Value("S1"));
  EXPECT_EQ(var("APPLICATION", "FYEID").AsInteger(), 1);
  EXPECT_EQ(var("APPLICATION", "WORKDATE").AsDate(), Day);
  EXPECT_EQ(vq::DayMonthYearText(var("APPLICATION", "FYEENDDATE").AsDate()), "31/12/2030");
  EXPECT_EQ(var("SYSTEM", "QTYDEC").AsInteger(), 3);
  vq::SetAppVar(*connection_, "application", "warid", Value(2));
  EXPECT_EQ(var("APPLICATION", "WARID").AsInteger(), 2);

  // A branch the operator has no warehouse in gets the branch's own main store.
  ASSERT_EQ(Login(1, 2, Day, "admin", "admin"), 0);
  EXPECT_EQ(var("APPLICATION", "WARABBR"), Value("W2"));
  EXPECT_EQ(var("APPLICATION", "SCOABBR"), Value("S2"));
}

TEST_F(SandboxServerTest, ConnectingNeedsAServerNameAndAnExistingWorkArea) {
  auto connection = vq::sandbox::MakeSandboxConnection(home_.Path().string());
  EXPECT_THROW(connection->SetConnected(true), vq::Error);
  EXPECT_FALSE(connection->Connected());
  EXPECT_THROW(connection->AppServer(), vq::Error);
  try {
    App().WorkAreaConnection("NOPE", "sandbox", "");
    FAIL();
  } catch (const vq::Error& failure) {
    EXPECT_NE(std::string(failure.what()).find("'NOPE' does not exist"), std::string::npos);
  }
  const Value names = App().Call("GetWorkAreaNames", {Value(8)});
  EXPECT_EQ(names, Value(std::vector<Value>{Value("DEMO")}));
}

TEST_F(SandboxServerTest, RollbackLeavesRowsAndIdentitiesAsTheyWere) {
  ASSERT_EQ(Login(1, 1, Day, "admin", "admin"), 0);
  const std::string before = Snapshot();
  App().StartTransaction();
  vq::ExecSql(*connection_, "INSERT INTO CUA (COMID, ABBREVIATION, NAME) VALUES (1, 'NEW1', 'x')");
  vq::ExecSql(*connection_, "UPDATE CUA SET NAME = 'changed' WHERE ABBREVIATION = 'CUS001'");
  EXPECT_THROW(App().StartTransaction(), vq::Error);
  App().Rollback();
  EXPECT_EQ(Snapshot(), before);
  EXPECT_THROW(App().Commit(), vq::Error);

  App().StartTransaction();
  vq::ExecSql(*connection_, "UPDATE CUA SET NAME = 'kept' WHERE ABBREVIATION = 'CUS001'");
  App().Commit();
  EXPECT_NE(Snapshot(), before);
}

TEST_F(SandboxServerTest, UnknownBusinessObjectIsAnUnregisteredClass) {
  App().WorkAreaConnection("DEMO", "sandbox", "");
  try {
    App().CreateBO("VqNOSYS.Nothing");
    FAIL();
  } catch (const vq::Error& failure) {
    EXPECT_EQ(failure.HResult(), vq::ClassNotRegistered);
  }
  EXPECT_THROW(App().Call("NoSuchCall", {}), vq::Error);
}

TEST_F(SandboxServerTest, MaskGivesTheNextFreeAccountCode) {
  App().WorkAreaConnection("DEMO", "sandbox", "");
  EXPECT_EQ(App().Call("GetAbbrFromQueryAbbr", {Value("CUS?")}), Value("CUS005"));
  EXPECT_EQ(App().Call("GetAbbrFromQueryAbbr", {Value("ΠΕΛ-?")}), Value("ΠΕΛ-0001"));
}
