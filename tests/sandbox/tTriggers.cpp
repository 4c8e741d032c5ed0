#include "core/uError.h"
#include "sandbox/uTsqlEngine.h"
#include "sandbox/uWorkArea.h"
#include "session/uRevisionTracking.h"
#include "support/uDemoHome.h"
#include "support/uTempHome.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace vq;
using namespace vq::sandbox;
using ::testing::HasSubstr;

// A demo work area with the connector's revision triggers installed as its login does.
class TriggersTest : public ::testing::Test {
protected:
  TriggersTest()
      : db_((CreateWorkArea(home_.Path(), "DEMO", WorkAreaContent::Demo),
             WorkAreaPath(home_.Path(), "DEMO"))),
        engine_(db_.Handle()) {
    for (const RevisionTrigger &trigger : RevisionTriggers()) {
      engine_.Execute(trigger.CreateStatement, {});
      if (!trigger.Table.empty())
        engine_.Execute("update " + trigger.Table + " set REMARKS=REMARKS", {});
    }
  }

  // The first column of every row, as text ("NULL" for a null).
  std::vector<std::string> Column(const std::string &sql) {
    std::vector<std::string> values;
    for (const Row &row : engine_.Query(sql, {}).Rows)
      values.push_back(row.at(0).IsMissing() ? "NULL" : row.at(0).AsText());
    return values;
  }
  std::string Failure(const std::string &sql) {
    try {
      engine_.Execute(sql, {});
    } catch (const Error &e) {
      return e.what();
    }
    return "no error";
  }

  test::TempHome home_;
  Database db_;
  TsqlEngine engine_;
};

TEST_F(TriggersTest, TheInstalledTriggersAreCatalogObjectsOfTheirTables) {
  for (const RevisionTrigger &trigger : RevisionTriggers())
    EXPECT_EQ(Column("SELECT 1 FROM dbo.sysobjects WHERE id = OBJECT_ID(N'" + trigger.Name +
                     "') AND OBJECTPROPERTY(id, N'ISTRIGGER') = 1"),
              std::vector<std::string>{"1"})
        << trigger.Name;
  EXPECT_EQ(Column("SELECT OBJECT_NAME(parent_obj) FROM dbo.sysobjects WHERE xtype = 'TR' AND "
                   "name = 'Barcodes_Upd'"),
            std::vector<std::string>{"AIC"});
  EXPECT_EQ(Column("SELECT OBJECTPROPERTY(OBJECT_ID(N'CUA'), N'ISTRIGGER')"),
            std::vector<std::string>{"0"});
  EXPECT_THAT(Failure(RevisionTriggers()[0].CreateStatement),
              HasSubstr("There is already an object named 'Customer_Upd'"));
}

TEST_F(TriggersTest, ADroppedTableTakesItsTriggersAlong) {
  engine_.Execute("CREATE TABLE T1 (ID INT)", {});
  engine_.Execute("CREATE TRIGGER T1_Ins ON T1 FOR INSERT AS BEGIN UPDATE REVNUM SET NUM = 0 END",
                  {});
  engine_.Execute("DROP TABLE T1", {});
  EXPECT_TRUE(Column("SELECT 1 FROM dbo.sysobjects WHERE id = OBJECT_ID(N'T1_Ins')").empty());
  engine_.Execute("CREATE TABLE T1 (ID INT)", {});
  engine_.Execute("INSERT INTO T1 (ID) VALUES (1)", {});
  EXPECT_NE(Column("SELECT NUM FROM REVNUM"), std::vector<std::string>{"0"});
}

TEST_F(TriggersTest, TheFirstLoginStampsEveryAccountAndItem) {
  EXPECT_EQ(Column("SELECT REVNUM FROM CUA ORDER BY ID"),
            (std::vector<std::string>{"1", "2", "3", "4", "5"}));
  EXPECT_EQ(Column("SELECT REVNUM FROM SUA ORDER BY ID"),
            (std::vector<std::string>{"6", "7", "8"}));
  EXPECT_EQ(Column("SELECT COUNT(*) FROM INI WHERE REVNUM BETWEEN 9 AND 16"),
            std::vector<std::string>{"8"});
  EXPECT_EQ(Column("SELECT NUM FROM REVNUM"), std::vector<std::string>{"17"});
}

struct StampCase {
  const char *Name;
  std::vector<std::string> Statements;
  std::string Query;
  std::vector<std::string> Stamps; // the query's values, then REVNUM.NUM
};

class StampTest : public TriggersTest, public ::testing::WithParamInterface<StampCase> {};

TEST_P(StampTest, GivesTheNumbersInOrder) {
  for (const std::string &sql : GetParam().Statements) engine_.Execute(sql, {});
  std::vector<std::string> stamps = Column(GetParam().Query);
  stamps.push_back(Column("SELECT NUM FROM REVNUM").at(0));
  EXPECT_EQ(stamps, GetParam().Stamps);
}

INSTANTIATE_TEST_SUITE_P(
    Revisions, StampTest,
    ::testing::Values(
        StampCase{"ThreeCustomersInOneStatement",
                  {"UPDATE REVNUM SET NUM = 10",
                   "INSERT INTO CUA (COMID, ABBREVIATION) VALUES (1, 'N1'), (1, 'N2'), (1, 'N3')"},
                  "SELECT REVNUM FROM CUA WHERE ID > 5 ORDER BY ID",
                  {"10", "11", "12", "13"}},
        StampCase{"TraderStampsItsAccountsWithOneNumber",
                  {"UPDATE CUA SET TRDID = 2 WHERE ID = 3", "UPDATE REVNUM SET NUM = 50",
                   "UPDATE TRD SET NAME = NAME WHERE ID = 2"},
                  "SELECT REVNUM FROM CUA WHERE TRDID = 2 ORDER BY ID",
                  {"50", "50", "51"}},
        StampCase{"SettingRevnumStampsNothing",
                  {"UPDATE REVNUM SET NUM = 40", "UPDATE CUA SET REVNUM = 99 WHERE ID = 1"},
                  "SELECT REVNUM FROM CUA WHERE ID = 1",
                  {"99", "40"}},
        StampCase{"PriceChangeStampsTheItem",
                  {"UPDATE REVNUM SET NUM = 60", "UPDATE IIF SET RETAILPRICE = 16 WHERE ITEID = 1"},
                  "SELECT REVNUM FROM INI WHERE ID = 1",
                  {"60", "61"}},
        StampCase{"BarcodeInsertStampsItsItem",
                  {"UPDATE REVNUM SET NUM = 70",
                   "INSERT INTO AIC (COMID, INIID, ALTERNATECODE) VALUES (1, 4, '999')"},
                  "SELECT REVNUM FROM INI WHERE ID = 4",
                  {"70", "71"}},
        StampCase{"EmptyRevnumGivesOne",
                  {"DELETE FROM REVNUM", "UPDATE CUA SET NAME = NAME WHERE ID = 2"},
                  "SELECT REVNUM FROM CUA WHERE ID = 2",
                  {"1", "2"}},
        StampCase{"StatementOfNoRowsFiresToo",
                  {"DELETE FROM REVNUM", "UPDATE CUA SET NAME = NAME WHERE ID = 999"},
                  "SELECT COUNT(*) FROM CUA WHERE ID = 999",
                  {"0", "1"}},
        StampCase{"RemarksUpdateStampsEveryAccount",
                  {"UPDATE REVNUM SET NUM = 100", "update CUA set REMARKS=REMARKS"},
                  "SELECT REVNUM FROM CUA ORDER BY ID",
                  {"100", "101", "102", "103", "104", "105"}},
        StampCase{"DeletedItemValueStampsFromTheDeletedRows",
                  {"INSERT INTO UDA (DOMAINTYPE, DOMAINID) VALUES (5, 3)",
                   "UPDATE REVNUM SET NUM = 80", "DELETE FROM UDA WHERE DOMAINID = 3"},
                  "SELECT REVNUM FROM INI WHERE ID = 3",
                  {"80", "81"}}),
    [](const auto &info) { return std::string(info.param.Name); });

TEST_F(TriggersTest, AFailingTriggerUndoesTheStatementThatFiredIt) {
  engine_.Execute("CREATE TRIGGER Customer_Fail ON CUA AFTER UPDATE AS BEGIN UPDATE CUA SET "
                  "NOSUCH = 1 END",
                  {});
  EXPECT_THAT(Failure("UPDATE CUA SET NAME = 'X' WHERE ID = 2"),
              HasSubstr("Invalid column name 'NOSUCH'."));
  EXPECT_EQ(Column("SELECT NAME + '/' + CAST(REVNUM AS VARCHAR) FROM CUA WHERE ID = 2"),
            std::vector<std::string>{"Παπαδόπουλος Α.Ε./2"});
  EXPECT_EQ(Column("SELECT NUM FROM REVNUM"), std::vector<std::string>{"17"});
}

TEST_F(TriggersTest, NestedFiringsHaveTheirOwnRowsUpToTheLimit) {
  engine_.Execute("CREATE TABLE CNT_LOG (N INT)", {});
  engine_.Execute("CREATE TRIGGER Cnt_Ins ON CNT FOR INSERT AS BEGIN\n"
                  "INSERT INTO CNT_LOG (N) SELECT COUNT(*) FROM inserted\n"
                  "IF (SELECT COUNT(*) FROM CNT_LOG) = 1 INSERT INTO CNT (NAME) VALUES ('a'), "
                  "('b'), ('c')\n"
                  "INSERT INTO CNT_LOG (N) SELECT COUNT(*) FROM INSERTED\nEND",
                  {});
  engine_.Execute("INSERT INTO CNT (NAME) VALUES ('x')", {});
  EXPECT_EQ(Column("SELECT N FROM CNT_LOG"), (std::vector<std::string>{"1", "3", "3", "1"}));

  engine_.Execute("CREATE TRIGGER Cnt_Loop ON CNT FOR UPDATE AS UPDATE CNT SET NAME = NAME", {});
  EXPECT_THAT(Failure("UPDATE CNT SET NAME = 'y'"),
              HasSubstr("Maximum stored procedure, function, trigger, or view nesting level "
                        "exceeded (limit 32)."));
  EXPECT_EQ(Column("SELECT COUNT(*) FROM CNT WHERE NAME = 'y'"), std::vector<std::string>{"0"});
}

TEST_F(TriggersTest, BatchesRunVariablesLoopsAndCursors) {
  EXPECT_EQ(Column("DECLARE @i INT, @s INT\nSET @i = 0\nSET @s = 0\n"
                   "WHILE @i < 5 BEGIN SET @i = @i + 1 SET @s = @s + @i END\nSELECT @s"),
            std::vector<std::string>{"15"});
  // An assignment SELECT takes the last row; no row leaves the variable as it was.
  EXPECT_EQ(Column("DECLARE @n VARCHAR(10)\nSELECT @n = ABBREVIATION FROM CUA ORDER BY ID\n"
                   "SELECT @n = ABBREVIATION FROM CUA WHERE ID = 999\nSELECT @n"),
            std::vector<std::string>{"CUS004"});
  EXPECT_EQ(Column("DECLARE @id INT, @all VARCHAR(50)\nSET @all = ''\n"
                   "DECLARE c CURSOR LOCAL FOR SELECT ID FROM SUA ORDER BY ID DESC\nOPEN c\n"
                   "FETCH NEXT FROM c INTO @id\nWHILE @@FETCH_STATUS = 0 BEGIN\n"
                   "SET @all = @all + CAST(@id AS VARCHAR)\nFETCH NEXT FROM c INTO @id\nEND\n"
                   "CLOSE c\nDEALLOCATE c\nSELECT @all + '/' + CAST(@@FETCH_STATUS AS VARCHAR)"),
            std::vector<std::string>{"321/-1"});
}

struct FaultCase {
  const char *Sql;
  const char *Message;
};

class FaultTest : public TriggersTest, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(FaultTest, FailsWithSqlServersMessage) {
  EXPECT_THAT(Failure(GetParam().Sql), HasSubstr(GetParam().Message));
}

INSTANTIATE_TEST_SUITE_P(
    Faults, FaultTest,
    ::testing::Values(
        FaultCase{"SELECT @x", "Must declare the scalar variable \"@x\"."},
        FaultCase{"DECLARE @x INT, @X INT", "The variable name '@X' has already been declared."},
        FaultCase{"OPEN nosuch", "A cursor with the name 'nosuch' does not exist."},
        FaultCase{"DECLARE c CURSOR FOR SELECT 1\nFETCH NEXT FROM c INTO @x",
                  "The cursor is not open."},
        FaultCase{"DECLARE @a INT\nSELECT @a = ID, NAME FROM CUA",
                  "must not be combined with data-retrieval operations"},
        FaultCase{"SELECT UPDATE(NAME)", "UPDATE(column) is allowed only in a trigger."},
        FaultCase{"CREATE TRIGGER T_None ON NOSUCH FOR INSERT AS SELECT 1",
                  "Cannot find the object \"NOSUCH\""},
        FaultCase{"SELECT 1\nCREATE TRIGGER T_Second ON CNT FOR INSERT AS SELECT 1",
                  "'CREATE TRIGGER' must be the first statement in a query batch."}));

TEST_F(TriggersTest, TheLogicalTablesCannotBeChanged) {
  engine_.Execute("CREATE TRIGGER T_Logical ON CNT FOR INSERT AS DELETE FROM inserted", {});
  EXPECT_THAT(Failure("INSERT INTO CNT (NAME) VALUES ('z')"),
              HasSubstr("The logical tables INSERTED and DELETED cannot be updated."));
}

TEST(DemoHomeLogin, InstallsTheTriggersOnceAndLogsInAgain) {
  test::DemoHome home;
  home.OpenConnector();
  home.OpenConnector(); // a second CREATE would fail: the triggers exist
  const std::vector<std::string> areas = WorkAreaNames(home.Home().Path());
  ASSERT_FALSE(areas.empty());
  Database db(WorkAreaPath(home.Home().Path(), areas.front()));
  TsqlEngine engine(db.Handle());
  EXPECT_EQ(
      engine.Query("SELECT COUNT(*) FROM dbo.sysobjects WHERE xtype = 'TR'", {}).Rows.at(0).at(0),
      Value(int64_t{11}));
  EXPECT_EQ(engine.Query("SELECT COUNT(*) FROM CUA WHERE REVNUM IS NULL", {}).Rows.at(0).at(0),
            Value(int64_t{0}));
}

} // namespace
