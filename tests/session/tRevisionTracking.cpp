#include "double/uScriptedServer.h"
#include "session/uOrvelConnection.h"
#include "session/uRevisionTracking.h"
#include "support/uTempHome.h"

#include <gtest/gtest.h>

using vq::Value;

namespace {

class RevisionTrackingTest : public ::testing::Test {
protected:
  RevisionTrackingTest() : factory_(script_) {
    settings_ = std::make_unique<vq::IniFile>(
        home_.Write("BackOfficeParams.ini", "[Connection]\nServerName=erp\n"));
  }

  bool LogIn() {
    session_ = std::make_unique<vq::TOrvelConnection>(*settings_, 0);
    return session_->Open() && session_->Login();
  }

  std::shared_ptr<vq::test::ScriptedServer> script_ = std::make_shared<vq::test::ScriptedServer>();
  vq::test::ScopedScriptedFactory factory_;
  vq::test::TempHome home_;
  std::unique_ptr<vq::IniFile> settings_;
  std::unique_ptr<vq::TOrvelConnection> session_;
};

bool StartsWith(const std::string &text, const std::string &prefix) {
  return text.rfind(prefix, 0) == 0;
}

} // namespace

TEST_F(RevisionTrackingTest, FirstLoginCreatesLedgerIndexAndTriggersInOrder) {
  ASSERT_TRUE(LogIn()) << session_->ErrorsText();
  std::vector<std::string> created;
  for (const std::string &sql : script_->Statements()) {
    if (StartsWith(sql, "if not exists (select * from dbo.sysobjects where id = object_id(N'ZEV')) "
                        "CREATE TABLE ZEV"))
      created.push_back("ZEV");
    else if (sql == "CREATE INDEX ZEV_KEYCODE ON ZEV (ORIGIN, KEYCODE)")
      created.push_back("ZEV_KEYCODE");
    else if (StartsWith(sql, "CREATE TRIGGER "))
      created.push_back(sql.substr(15, sql.find(' ', 15) - 15));
    else if (StartsWith(sql, "update ") && sql.find("set REMARKS=REMARKS") != std::string::npos)
      created.push_back(sql);
  }
  EXPECT_EQ(created,
            (std::vector<std::string>{
                "ZEV", "ZEV_KEYCODE", "Customer_Upd", "update CUA set REMARKS=REMARKS",
                "Trader_Upd", "Supplier_Upd", "update SUA set REMARKS=REMARKS", "TraderSua_Upd",
                "Items_Upd", "update INI set REMARKS=REMARKS", "ItemsPrices_Upd", "PllItems_Upd",
                "Barcodes_Upd", "ItemUDA_Upd", "ItemsCategories_Upd", "ItemsSpecCategories_Upd"}));
  for (const std::string &sql : script_->Statements()) {
    if (StartsWith(sql, "SELECT 1 FROM dbo.sysobjects")) {
      EXPECT_NE(sql.find("OBJECTPROPERTY(id, N'ISTRIGGER') = 1"), std::string::npos);
    }
  }
}

TEST_F(RevisionTrackingTest, LaterLoginsOnlyCheckWhatExists) {
  script_->AnswerSql("FROM dbo.sysobjects WHERE id = OBJECT_ID",
                     vq::test::Rows({"X"}, {{Value(1)}}));
  script_->AnswerSql("FROM dbo.sysindexes", vq::test::Rows({"name"}, {{Value("ZEV_KEYCODE")}}));
  ASSERT_TRUE(LogIn());
  for (const std::string &sql : script_->Statements()) {
    EXPECT_EQ(sql.find("CREATE TRIGGER"), std::string::npos);
    EXPECT_EQ(sql.find("CREATE INDEX"), std::string::npos);
    EXPECT_EQ(sql.find("REMARKS=REMARKS"), std::string::npos);
  }
  // The ledger statement guards itself and is always sent.
  int ledger = 0;
  for (const std::string &sql : script_->Statements()) ledger += StartsWith(sql, "if not exists");
  EXPECT_EQ(ledger, 1);
}

TEST_F(RevisionTrackingTest, FailingStatementFailsTheLoginAndKeepsWhatWasCreated) {
  script_->FailSql("CREATE TRIGGER Items_Upd", "Invalid object name 'REVNUM'.");
  EXPECT_FALSE(LogIn());
  EXPECT_EQ(session_->ErrorsText(), "Invalid object name 'REVNUM'.\r\n");
  bool supplierCreated = false;
  for (const std::string &sql : script_->Statements()) {
    supplierCreated = supplierCreated || StartsWith(sql, "CREATE TRIGGER Supplier_Upd");
    EXPECT_FALSE(StartsWith(sql, "CREATE TRIGGER ItemsPrices_Upd"));
  }
  EXPECT_TRUE(supplierCreated);
}

TEST(RevisionTriggers, EachTriggerUsesItsTableAndCursor) {
  for (const vq::RevisionTrigger &trigger : vq::RevisionTriggers()) {
    const std::string &sql = trigger.CreateStatement;
    EXPECT_TRUE(StartsWith(sql, "CREATE TRIGGER " + trigger.Name + " ON ")) << sql;
    EXPECT_NE(sql.find("CURSOR LOCAL FOR"), std::string::npos) << trigger.Name;
    EXPECT_NE(sql.find("UPDATE REVNUM SET NUM = @RevNumber"), std::string::npos) << trigger.Name;
  }
  EXPECT_NE(vq::RevisionTriggers()[1].CreateStatement.find("REV_CRS_TRD"), std::string::npos);
  EXPECT_NE(vq::RevisionTriggers()[3].CreateStatement.find("REV_CRS_TRD"), std::string::npos);
}
