#include "tTsqlFixture.h"

#include "sandbox/uSqlServerFunctions.h"

#include <gmock/gmock.h>

namespace vq::sandbox::testing {
namespace {

using ::testing::HasSubstr;

// A small schema of the tests' own, in SQL Server's syntax through the engine.
class TsqlBatchTest : public ::testing::Test {
protected:
  void SetUp() override {
    db.Execute("CREATE TABLE ITM (ID INT IDENTITY(1,1) NOT NULL, CODE VARCHAR(20), NAME NVARCHAR(100), "
               "PRICE NUMERIC(28,6), QTY INT, FLAGS INT, CREATED DATETIME, DISABLED BIT, PICT IMAGE)");
    db.Execute("INSERT INTO ITM (CODE, NAME, PRICE, QTY, FLAGS, CREATED, DISABLED) VALUES "
               "('A1', N'άλφα', 24, 3, 6, '2026-12-11 12:37:00', 0), "
               "('b2', N'Βήτα', 2.5, NULL, 1, CONVERT(DATETIME, '01/02/2026', 103), 1), "
               "('C3', N'ΑΛΦΑ', NULL, 7, 2, NULL, 0), "
               "('a4', N'γάμμα', 10.125, 1, 0, '2026-01-05', NULL)");
  }
  std::vector<std::string> Column(const DataPacket& p, size_t c = 0) {
    std::vector<std::string> out;
    for (const auto& r : p.Rows) out.push_back(CellText(r[c]));
    return out;
  }
  TsqlDb db;
};

TEST_F(TsqlBatchTest, IdentityColumnNumbersRowsAndResultsAreTyped) {
  DataPacket p = db.Query("SELECT ID, CODE, PRICE, QTY, CREATED, DISABLED, NAME + '!' AS N2 FROM ITM ORDER BY ID");
  ASSERT_EQ(p.Rows.size(), 4u);
  EXPECT_EQ(Column(p), (std::vector<std::string>{"1", "2", "3", "4"}));
  EXPECT_EQ(p.Fields[0].Type, FieldType::Integer);
  EXPECT_EQ(p.Fields[1].Type, FieldType::Text);
  EXPECT_EQ(p.Fields[1].Size, 20);
  EXPECT_EQ(p.Fields[1].Name, "CODE");
  EXPECT_EQ(p.Fields[2].Type, FieldType::Number);
  EXPECT_EQ(p.Rows[0][2].Type(), ValueType::Number);
  EXPECT_EQ(p.Rows[0][2].AsNumber(), 24.0);
  EXPECT_TRUE(p.Rows[2][2].IsNull());
  EXPECT_EQ(p.Fields[4].Type, FieldType::Date);
  EXPECT_EQ(p.Rows[0][4].Type(), ValueType::Date);
  EXPECT_EQ(StoredDateTimeText(p.Rows[1][4].AsDate()), "2026-02-01 00:00:00.000");
  EXPECT_EQ(StoredDateTimeText(p.Rows[3][4].AsDate()), "2026-01-05 00:00:00.000");
  EXPECT_EQ(p.Fields[5].Type, FieldType::Integer);
  EXPECT_EQ(p.Fields[6].Name, "N2");
  EXPECT_EQ(CellText(p.Rows[0][6]), "άλφα!");
}

TEST_F(TsqlBatchTest, UnnamedExpressionsHaveEmptyNames) {
  DataPacket p = db.Query("SELECT COUNT(*), MAX(PRICE), ITM.CODE FROM ITM GROUP BY ITM.CODE ORDER BY 3");
  EXPECT_EQ(p.Fields[0].Name, "");
  EXPECT_EQ(p.Fields[1].Type, FieldType::Number);
  EXPECT_EQ(p.Fields[2].Name, "CODE");
}

TEST_F(TsqlBatchTest, NumericColumnPrintsWithItsScale) {
  DataPacket p = db.Query("SELECT CAST(PRICE AS VARCHAR(20)) FROM ITM WHERE CODE = 'A1'");
  EXPECT_EQ(CellText(p.Rows[0][0]), "24.000000");
  p = db.Query("SELECT cast((CAST(isnull(PRICE,0) as NUMERIC(28,2))) as VARCHAR(10)) FROM ITM ORDER BY ID");
  EXPECT_EQ(Column(p), (std::vector<std::string>{"24.00", "2.50", "0.00", "10.13"}));
}

TEST_F(TsqlBatchTest, TextComparisonsIgnoreCaseAndAccentsGreekIncluded) {
  EXPECT_EQ(Column(db.Query("SELECT CODE FROM ITM WHERE NAME = 'ΑΛΦΑ' ORDER BY CODE")),
            (std::vector<std::string>{"A1", "C3"}));
  EXPECT_EQ(Column(db.Query("SELECT CODE FROM ITM WHERE CODE LIKE 'A%' ORDER BY CODE")),
            (std::vector<std::string>{"A1", "a4"}));
  EXPECT_EQ(Column(db.Query("SELECT CODE FROM ITM WHERE NAME LIKE '[αβ]%' ORDER BY ID")),
            (std::vector<std::string>{"A1", "b2", "C3"}));
  EXPECT_EQ(Column(db.Query("SELECT CODE FROM ITM ORDER BY CODE DESC")),
            (std::vector<std::string>{"C3", "b2", "a4", "A1"}));
  EXPECT_EQ(db.Query("SELECT DISTINCT NAME FROM ITM").Rows.size(), 3u);
  EXPECT_EQ(db.Query("SELECT UPPER(NAME) U, COUNT(*) C FROM ITM GROUP BY UPPER(NAME)").Rows.size(), 3u);
  EXPECT_EQ(db.Query("SELECT NAME FROM ITM UNION SELECT N'ΓΆΜΜΑ'").Rows.size(), 3u);
}

TEST_F(TsqlBatchTest, TextAgainstNumberComparesAsNumbers) {
  EXPECT_EQ(Column(db.Query("SELECT CODE FROM ITM WHERE QTY > '5'")), (std::vector<std::string>{"C3"}));
  EXPECT_EQ(Column(db.Query("SELECT CODE FROM ITM WHERE ID = :id", {Value("2")})), (std::vector<std::string>{"b2"}));
  EXPECT_THROW(db.Query("SELECT CODE FROM ITM WHERE ID = :id", {Value("x")}), Error);
}

TEST_F(TsqlBatchTest, BitAndFilter) {
  EXPECT_EQ(Column(db.Query("SELECT CODE FROM ITM WHERE ISNULL(FLAGS, 0)&2=2 ORDER BY ID")),
            (std::vector<std::string>{"A1", "C3"}));
}

TEST_F(TsqlBatchTest, TopInsideUnionMembersWithOrderBy) {
  DataPacket p = db.Query("select top 2 CODE, ID from ITM where ID > 1 union select top 1 CODE, ID from ITM order by ID desc");
  // The members pick their rows, the ORDER BY orders the union.
  ASSERT_EQ(p.Rows.size(), 3u);
  EXPECT_EQ(Column(p, 1), (std::vector<std::string>{"3", "2", "1"}));
  p = db.Query("(SELECT TOP 1 CODE FROM ITM ORDER BY PRICE DESC) UNION ALL (SELECT TOP 1 CODE FROM ITM ORDER BY ID DESC) ORDER BY CODE");
  EXPECT_EQ(Column(p), (std::vector<std::string>{"A1", "a4"}));
  p = db.Query("SELECT TOP 2 CODE FROM ITM ORDER BY ID");
  EXPECT_EQ(Column(p), (std::vector<std::string>{"A1", "b2"}));
  p = db.Query("SELECT ITM.CODE FROM ITM WHERE ID < 3 UNION SELECT ITM.CODE FROM ITM WHERE ID = 4 ORDER BY ITM.CODE");
  EXPECT_EQ(Column(p), (std::vector<std::string>{"A1", "a4", "b2"}));
  p = db.Query("SELECT ABBREVIATION, NAME FROM (SELECT CODE ABBREVIATION, NAME FROM ITM WHERE ID = 2) X "
               "UNION SELECT NULL ABBREVIATION, NULL NAME FROM ITM ORDER BY ABBREVIATION");
  EXPECT_EQ(Column(p), (std::vector<std::string>{"NULL", "b2"}));
}

TEST_F(TsqlBatchTest, SubqueriesExistsAndIn) {
  EXPECT_EQ(Column(db.Query("SELECT CODE FROM ITM WHERE ID = (SELECT MAX(ID) FROM ITM I2 WHERE I2.QTY > 2)")),
            (std::vector<std::string>{"C3"}));
  EXPECT_EQ(Column(db.Query("SELECT CODE FROM ITM WHERE NOT EXISTS (SELECT 1 FROM ITM I2 WHERE I2.ID > ITM.ID)")),
            (std::vector<std::string>{"a4"}));
  EXPECT_EQ(Column(db.Query("SELECT CODE FROM ITM WHERE ID IN (SELECT ID FROM ITM WHERE QTY IS NULL)")),
            (std::vector<std::string>{"b2"}));
  EXPECT_EQ(Column(db.Query("SELECT CODE FROM ITM WHERE CODE IN ('a1', 'B2') ORDER BY ID")),
            (std::vector<std::string>{"A1", "b2"}));
}

TEST_F(TsqlBatchTest, JoinsGroupByHaving) {
  db.Execute("CREATE TABLE LIN (ID INT IDENTITY(1,1), ITMID INT, AMOUNT NUMERIC(28,2), NOTE VARCHAR(10))");
  db.Execute("INSERT INTO LIN (ITMID, AMOUNT, NOTE) SELECT ID, PRICE, CODE FROM ITM WHERE PRICE IS NOT NULL");
  db.Execute("INSERT INTO LIN (ITMID, AMOUNT) VALUES (1, 1.005)");
  DataPacket p = db.Query("SELECT ITM.CODE, SUM(LIN.AMOUNT) TOTAL, COUNT(LIN.ID) N FROM ITM LEFT JOIN LIN ON LIN.ITMID = ITM.ID "
                          "GROUP BY ITM.CODE HAVING COUNT(LIN.ID) > 0 ORDER BY TOTAL DESC");
  EXPECT_EQ(Column(p), (std::vector<std::string>{"A1", "a4", "b2"}));
  EXPECT_EQ(Column(p, 1), (std::vector<std::string>{"25.01", "10.13", "2.5"}));
  EXPECT_EQ(p.Fields[1].Type, FieldType::Number);
  p = db.Query("SELECT I.CODE, L.NOTE FROM ITM I CROSS JOIN LIN L WHERE I.ID = 1 AND L.ITMID = 2");
  EXPECT_EQ(Column(p, 1), (std::vector<std::string>{"b2"}));
  p = db.Query("SELECT I.CODE FROM LIN L RIGHT JOIN ITM I WITH (NOLOCK) ON L.ITMID = I.ID WHERE L.ID IS NULL");
  EXPECT_EQ(Column(p), (std::vector<std::string>{"C3"}));
}

TEST_F(TsqlBatchTest, UpdateAndDeleteCountChangedRows) {
  EXPECT_EQ(db.Execute("UPDATE ITM SET QTY = ISNULL(QTY, 0) + 1, NAME = NAME WHERE CODE LIKE 'a%'"), 2);
  EXPECT_EQ(Column(db.Query("SELECT QTY FROM ITM WHERE CODE = 'A4'")), (std::vector<std::string>{"2"}));
  EXPECT_EQ(db.Execute("UPDATE ITM SET PRICE = '3.14159' WHERE ID = 3"), 1);
  EXPECT_EQ(Column(db.Query("SELECT PRICE FROM ITM WHERE ID = 3")), (std::vector<std::string>{"3.14159"}));
  EXPECT_EQ(db.Execute("UPDATE ITM SET CREATED = '05/03/2009' WHERE ID = 3"), 1);
  EXPECT_EQ(Column(db.Query("SELECT CONVERT(VARCHAR(10), CREATED, 103) FROM ITM WHERE ID = 3")),
            (std::vector<std::string>{"05/03/2009"}));
  EXPECT_EQ(db.Execute("DELETE FROM ITM WHERE DISABLED = 1"), 1);
  EXPECT_EQ(db.Execute("DELETE ITM WHERE ID > 3"), 1);
  EXPECT_EQ(db.Query("SELECT * FROM ITM").Rows.size(), 2u);
}

TEST_F(TsqlBatchTest, PlaceholdersTakeValuesInOrderOfAppearance) {
  // :0 twice takes two values; a colon inside a literal is text.
  DataPacket p = db.Query("SELECT CODE, 'a:b' AS T FROM ITM WHERE ID = :0 OR ID = :0 ORDER BY ID", {Value(1), Value(3)});
  EXPECT_EQ(Column(p), (std::vector<std::string>{"A1", "C3"}));
  EXPECT_EQ(Column(p, 1), (std::vector<std::string>{"a:b", "a:b"}));
  p = db.Query("SELECT :Name + ':x' AS T, :n AS N, :d AS D, :b AS B, :z AS Z",
               {Value("n"), Value(2.5), Value(EncodeDateTime({2026, 12, 11, 12, 37, 0, 0})), Value(true), Value::Null()});
  EXPECT_EQ(CellText(p.Rows[0][0]), "n:x");
  EXPECT_EQ(p.Fields[1].Type, FieldType::Number);
  EXPECT_EQ(p.Fields[2].Type, FieldType::Date);
  EXPECT_EQ(CellText(p.Rows[0][2]), "2026-12-11 12:37:00.000");
  EXPECT_EQ(CellText(p.Rows[0][3]), "1");
  EXPECT_TRUE(p.Rows[0][4].IsNull());
  try {
    db.Query("SELECT CODE FROM ITM WHERE ID = :a AND CODE = :b", {Value(1)});
    FAIL();
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "Not enough placeholder values");
  }
  EXPECT_EQ(db.Execute("UPDATE ITM SET CREATED = :d WHERE ID = :id", {Value(EncodeDateTime({2027, 1, 2})), Value(4)}), 1);
  EXPECT_EQ(Column(db.Query("SELECT CONVERT(VARCHAR(10), CREATED, 103) FROM ITM WHERE ID = 4")),
            (std::vector<std::string>{"02/01/2027"}));
}

TEST_F(TsqlBatchTest, TemporaryTablesWithIdentity) {
  const std::string drop = "if exists (select * from tempdb..sysobjects where id=object_id('tempdb..#tmp_pli')) drop table #tmp_pli ";
  db.Execute(drop);
  db.Execute(drop + "\r\nCREATE TABLE #tmp_pli (ID INT NOT NULL IDENTITY(1,1), ITEID INT NOT NULL, RETAILPRICE NUMERIC(28,6) NULL)\r\n"
                    "INSERT INTO #tmp_pli (ITEID, RETAILPRICE) select ITM.ID, ITM.PRICE from ITM where ITM.PRICE > :p order by ITM.PRICE",
             {Value(1)});
  DataPacket p = db.Query("SELECT #tmp_pli.ID, ITEID FROM #tmp_pli LEFT JOIN ITM ON #tmp_pli.ITEID=ITM.ID "
                          "AND #tmp_pli.ID=(select min(D.ID) from #tmp_pli D where D.ITEID=#tmp_pli.ITEID) ORDER BY #tmp_pli.ID");
  EXPECT_EQ(Column(p), (std::vector<std::string>{"1", "2", "3"}));
  EXPECT_EQ(Column(p, 1), (std::vector<std::string>{"2", "4", "1"}));
  EXPECT_EQ(Column(db.Query("SELECT COUNT(*) FROM tempdb..sysobjects WHERE name LIKE '#tmp_pli%'")),
            (std::vector<std::string>{"1"}));
  db.Execute(drop);
  EXPECT_EQ(Column(db.Query("SELECT COUNT(*) FROM tempdb..sysobjects WHERE id = object_id('tempdb..#tmp_pli')")),
            (std::vector<std::string>{"0"}));
  // SELECT ... INTO a temporary table keeps the types and the collation.
  db.Execute("SELECT CODE, PRICE INTO #x FROM ITM WHERE ID < 3");
  p = db.Query("SELECT CODE, PRICE FROM #x WHERE CODE = 'B2'");
  ASSERT_EQ(p.Rows.size(), 1u);
  EXPECT_EQ(p.Fields[1].Type, FieldType::Number);
  db.Execute("DROP TABLE #x");
  EXPECT_THROW(db.Query("SELECT * FROM #x"), Error);
}

TEST_F(TsqlBatchTest, CatalogAndIfNotExistsBatches) {
  const std::string create =
      "if not exists (select * from dbo.sysobjects where id = object_id(N'ZEV')) CREATE TABLE ZEV (   ORIGIN INTEGER,   "
      "ORIGINID INTEGER,   KEYCODE VARCHAR(50),   CONSTRAINT ZEV_PK PRIMARY KEY (ORIGIN, ORIGINID) )";
  db.Execute(create);
  db.Execute(create); // the second time nothing happens
  EXPECT_EQ(db.Query("SELECT name FROM dbo.sysindexes WHERE name = 'ZEV_KEYCODE'").Rows.size(), 0u);
  db.Execute("CREATE INDEX ZEV_KEYCODE ON ZEV (ORIGIN, KEYCODE)");
  EXPECT_EQ(db.Query("SELECT name FROM dbo.sysindexes WHERE name = 'ZEV_KEYCODE'").Rows.size(), 1u);
  EXPECT_EQ(db.Execute("INSERT INTO ZEV (ORIGIN, ORIGINID, KEYCODE) VALUES (1, 10, :k)", {Value("POS1-5-7")}), 1);
  EXPECT_THROW(db.Execute("INSERT INTO ZEV (ORIGIN, ORIGINID, KEYCODE) VALUES (1, 10, 'x')"), Error);
  EXPECT_EQ(Column(db.Query("SELECT ORIGINID FROM ZEV WHERE ORIGIN=:Org AND KEYCODE LIKE :Rem", {Value(1), Value("pos1-5-%")})),
            (std::vector<std::string>{"10"}));
  // Triggers: none yet; a SQLite trigger counts as one for OBJECTPROPERTY.
  const std::string isTrigger =
      "SELECT 1 FROM dbo.sysobjects WHERE id = OBJECT_ID(N'%s') AND OBJECTPROPERTY(id, N'ISTRIGGER') = 1";
  auto query = [&](const std::string& name) {
    std::string sql = isTrigger;
    sql.replace(sql.find("%s"), 2, name);
    return db.Query(sql).Rows.size();
  };
  EXPECT_EQ(query("Customer_Upd"), 0u);
  db.Raw("CREATE TRIGGER Customer_Upd AFTER INSERT ON ZEV BEGIN SELECT 1; END");
  EXPECT_EQ(query("Customer_Upd"), 1u);
  EXPECT_EQ(query("ZEV"), 0u);
  EXPECT_EQ(Column(db.Query("SELECT OBJECTPROPERTY(OBJECT_ID('ZEV'), 'IsUserTable')")), (std::vector<std::string>{"1"}));
  EXPECT_EQ(Column(db.Query("SELECT OBJECT_ID('NOSUCH')")), (std::vector<std::string>{"NULL"}));
  // An extra source of trigger names (the sandbox's own trigger store).
  db.Raw("CREATE TABLE SBX_TRIGGERS (NAME TEXT, TBL TEXT)");
  db.Raw("INSERT INTO SBX_TRIGGERS VALUES ('Items_Upd', 'ITM')");
  db.Engine().AddCatalogSource("SELECT NAME AS name, 'TR' AS xtype, TBL AS parent FROM SBX_TRIGGERS");
  EXPECT_EQ(query("Items_Upd"), 1u);
  EXPECT_EQ(query("items_upd"), 1u);
}

TEST_F(TsqlBatchTest, SeveralStatementsAndElse) {
  EXPECT_EQ(db.Execute("UPDATE ITM SET QTY = 1 WHERE ID = 1; UPDATE ITM SET QTY = 2 WHERE ID IN (2, 3)"), 3);
  db.Execute("IF EXISTS (SELECT 1 FROM ITM WHERE QTY = 99) UPDATE ITM SET QTY = 0 ELSE BEGIN UPDATE ITM SET QTY = 5 WHERE ID = 1 "
             "UPDATE ITM SET QTY = 6 WHERE ID = 2 END");
  EXPECT_EQ(Column(db.Query("SELECT QTY FROM ITM WHERE ID < 3 ORDER BY ID")), (std::vector<std::string>{"5", "6"}));
  DataPacket p = db.Query("UPDATE ITM SET QTY = 9 WHERE ID = 1 SELECT QTY FROM ITM WHERE ID = 1");
  EXPECT_EQ(Column(p), (std::vector<std::string>{"9"}));
}

TEST_F(TsqlBatchTest, UnknownConstructsFailNamingThem) {
  auto message = [&](const std::string& sql) {
    try {
      db.Execute(sql);
    } catch (const Error& e) {
      return std::string(e.what());
    }
    return std::string("no error");
  };
  EXPECT_EQ(message("MERGE ITM USING X ON 1=1"), "Unsupported T-SQL construct: MERGE");
  EXPECT_THAT(message("SELECT ROW_NUMBER() OVER (ORDER BY ID) FROM ITM"), HasSubstr("Unsupported T-SQL construct: OVER"));
  EXPECT_THAT(message("SELECT NEWID()"), HasSubstr("Unsupported T-SQL construct: function NEWID"));
  EXPECT_THAT(message("SELECT * FROM ITM CROSS APPLY X"), HasSubstr("Unsupported T-SQL construct: CROSS APPLY"));
  EXPECT_THAT(message("DECLARE @x TABLE (A INT)"), HasSubstr("Unsupported T-SQL construct: TABLE variable"));
  EXPECT_THAT(message("CREATE TRIGGER T ON ITM INSTEAD OF INSERT AS BEGIN SELECT 1 END"),
              HasSubstr("Unsupported T-SQL construct: INSTEAD OF trigger"));
  EXPECT_THAT(message("SELECT NOSUCH FROM ITM"), HasSubstr("no such column"));
  EXPECT_THAT(message("SELECT NOSUCH FROM ITM"), HasSubstr("T-SQL: SELECT NOSUCH FROM ITM"));
  EXPECT_THAT(message("SELECT 'abc"), HasSubstr("Unterminated string literal"));
}

TEST_F(TsqlBatchTest, OrderByAliasesDerivedTablesAndAggregates) {
  EXPECT_EQ(Column(db.Query("SELECT CODE C FROM ITM ORDER BY C")), (std::vector<std::string>{"A1", "a4", "b2", "C3"}));
  // An alias that is also a column name orders by the alias.
  EXPECT_EQ(Column(db.Query("SELECT ISNULL(QTY, 100) AS QTY, CODE FROM ITM ORDER BY QTY"), 1),
            (std::vector<std::string>{"a4", "A1", "C3", "b2"}));
  EXPECT_EQ(Column(db.Query("SELECT X.K FROM (SELECT CODE K, ID FROM ITM WHERE ID > 2) X ORDER BY X.ID")),
            (std::vector<std::string>{"C3", "a4"}));
  EXPECT_EQ(Column(db.Query("SELECT COUNT(DISTINCT NAME), AVG(QTY), MIN(CODE), MAX(NAME) FROM ITM")),
            (std::vector<std::string>{"3"}));
  DataPacket p = db.Query("SELECT AVG(QTY), MIN(CODE), MAX(NAME) FROM ITM");
  EXPECT_EQ(CellText(p.Rows[0][0]), "3"); // (3 + 7 + 1) / 3 in integers
  EXPECT_EQ(CellText(p.Rows[0][1]), "A1");
  EXPECT_EQ(CellText(p.Rows[0][2]), "γάμμα");
  EXPECT_EQ(Column(db.Query("SELECT CODE FROM ITM WHERE CREATED >= :d ORDER BY ID", {Value("01/06/2026")})),
            (std::vector<std::string>{"A1"}));
  EXPECT_EQ(Column(db.Query("SELECT CODE FROM ITM WHERE CREATED < CONVERT(DATETIME, '05/01/2026', 103)+1 ORDER BY ID")),
            (std::vector<std::string>{"a4"}));
  EXPECT_EQ(Column(db.Query("SELECT CODE FROM ITM WHERE YEAR(CREATED) = 2026 AND MONTH(CREATED) = 2")),
            (std::vector<std::string>{"b2"}));
}

TEST_F(TsqlBatchTest, UpdateFromJoinAndDeleteFromJoin) {
  db.Execute("CREATE TABLE GRP (ID INT, ITMID INT, LABEL VARCHAR(10))");
  db.Execute("INSERT INTO GRP VALUES (1, 1, 'one'), (2, 3, 'three')");
  // SQL Server's form: the target named again in FROM.
  EXPECT_EQ(db.Execute("UPDATE ITM SET NAME = GRP.LABEL FROM ITM INNER JOIN GRP ON GRP.ITMID = ITM.ID WHERE GRP.ID = :g",
                       {Value(2)}),
            1);
  EXPECT_EQ(Column(db.Query("SELECT NAME FROM ITM WHERE ID = 3")), (std::vector<std::string>{"three"}));
  EXPECT_EQ(db.Execute("UPDATE I SET QTY = 0 FROM ITM I JOIN GRP G ON G.ITMID = I.ID"), 2);
  EXPECT_EQ(Column(db.Query("SELECT ID FROM ITM WHERE QTY = 0 ORDER BY ID")), (std::vector<std::string>{"1", "3"}));
  // The target not in FROM: the FROM's tables join the target.
  EXPECT_EQ(db.Execute("UPDATE ITM SET FLAGS = GRP.ID FROM GRP WHERE GRP.ITMID = ITM.ID"), 2);
  EXPECT_EQ(Column(db.Query("SELECT FLAGS FROM ITM WHERE ID IN (1, 3) ORDER BY ID")), (std::vector<std::string>{"1", "2"}));
  EXPECT_EQ(db.Execute("UPDATE ITM SET QTY = QTY + 1 FROM ITM JOIN GRP ON GRP.ITMID = ITM.ID"), 2);
  EXPECT_EQ(Column(db.Query("SELECT QTY FROM ITM WHERE ID IN (1, 3) ORDER BY ID")), (std::vector<std::string>{"1", "1"}));
  EXPECT_EQ(db.Execute("DELETE ITM FROM ITM JOIN GRP ON GRP.ITMID = ITM.ID WHERE GRP.LABEL = 'ONE'"), 1);
  EXPECT_EQ(db.Query("SELECT * FROM ITM").Rows.size(), 3u);
}

TEST_F(TsqlBatchTest, ImageColumnsGiveBytes) {
  db.Execute("UPDATE ITM SET PICT = :p WHERE ID = 1", {Value(Bytes{1, 2, 0, 3})});
  DataPacket p = db.Query("SELECT PICT FROM ITM WHERE ID = 1");
  EXPECT_EQ(p.Fields[0].Type, FieldType::Bytes);
  EXPECT_EQ(p.Rows[0][0].AsBytes(), (Bytes{1, 2, 0, 3}));
}

} // namespace
} // namespace vq::sandbox::testing
