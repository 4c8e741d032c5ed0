// Every statement the connector sends (tests/data/tsql_statements.txt) runs through
// the engine against the work-area schema with the demo data, without error.
#include "tTsqlFixture.h"

#include "core/uDateTime.h"
#include "core/uText.h"
#include "sandbox/uDemoData.h"
#include "sandbox/uWorkAreaSchema.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>

namespace vq::sandbox::testing {
namespace {

struct FixtureStatement {
  std::string Name;
  std::vector<Value> Values;
  std::string Sql;
};

std::vector<FixtureStatement> ReadFixture(const std::string& path) {
  std::ifstream in(path);
  std::vector<FixtureStatement> out;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind("@@ ", 0) == 0) {
      out.push_back({Trim(line.substr(3)), {}, {}});
      continue;
    }
    if (out.empty()) continue;
    if (line.rfind("@value ", 0) == 0 && out.back().Sql.empty()) {
      std::istringstream fields(line.substr(7));
      std::string kind;
      fields >> kind;
      std::string literal;
      std::getline(fields, literal);
      if (!literal.empty() && literal[0] == ' ') literal.erase(0, 1);
      Value v;
      if (kind == "int") v = Value(static_cast<int64_t>(std::atoll(literal.c_str())));
      else if (kind == "num") v = Value(std::atof(literal.c_str()));
      else if (kind == "text") v = Value(literal);
      else if (kind == "date") {
        auto d = ParseDateText(literal);
        if (!d) ADD_FAILURE() << "bad date " << literal << " in " << out.back().Name;
        v = Value(d.value_or(TDateTime{}));
      } else v = Value::Null();
      out.back().Values.push_back(v);
      continue;
    }
    out.back().Sql += line + "\n";
  }
  return out;
}

bool IsQuery(const std::string& sql) {
  const std::string upper = UpperText(Trim(sql));
  return upper.rfind("SELECT", 0) == 0 || upper.rfind("(SELECT", 0) == 0;
}

TEST(TsqlStatements, EveryQuotedStatementRunsOnTheDemoWorkArea) {
  const char* dir = std::getenv("VQ_TEST_DATA");
  const std::string path = std::string(dir ? dir : "tests/data") + "/tsql_statements.txt";
  const auto statements = ReadFixture(path);
  ASSERT_FALSE(statements.empty()) << "no statements in " << path;
  TsqlDb db;
  for (const auto& part : {WorkAreaSchema(), DemoData()})
    for (std::string_view sql : part) db.Raw(std::string(sql));
  // Statements that SQL Server itself refuses, as the connector sends them.
  const std::set<std::string> refusedBySqlServer = {
      "FiscalPeriods", // "SELECT ID, NAME, BEGINDATE, ENDDATE FROM FIP INNER JOIN FYE": ID, NAME,
                       // BEGINDATE and ENDDATE exist in both tables: ambiguous column names
  };
  const bool verbose = std::getenv("VQ_TSQL_VERBOSE") != nullptr; // row counts, for a look
  int failures = 0;
  for (const auto& s : statements) {
    try {
      if (IsQuery(s.Sql)) {
        const DataPacket p = db.Query(s.Sql, s.Values);
        if (verbose) std::printf("%-40s %zu rows, %zu fields\n", s.Name.c_str(), p.Rows.size(), p.Fields.size());
      } else {
        const int64_t n = db.Execute(s.Sql, s.Values);
        if (verbose) std::printf("%-40s %lld changed\n", s.Name.c_str(), static_cast<long long>(n));
      }
      if (refusedBySqlServer.count(s.Name)) ADD_FAILURE() << s.Name << " ran although SQL Server refuses it";
    } catch (const std::exception& e) {
      if (refusedBySqlServer.count(s.Name)) {
        EXPECT_NE(std::string(e.what()).find("ambiguous column name"), std::string::npos) << e.what();
        continue;
      }
      ++failures;
      ADD_FAILURE() << s.Name << ": " << e.what();
    }
  }
  EXPECT_EQ(failures, 0) << "of " << statements.size();
}

// The item export's statement (missing from the fixture): the joins on 1=1, on a CASE,
// and the temporary price table with its lowest-numbered row per item.
TEST(TsqlStatements, ItemStatementWithTemporaryPriceTable) {
  TsqlDb db;
  for (const auto& part : {WorkAreaSchema(), DemoData()})
    for (std::string_view sql : part) db.Raw(std::string(sql));
  const std::string drop =
      "if exists (select * from tempdb..sysobjects where id=object_id('tempdb..#tmp_pli')) drop table #tmp_pli ";
  db.Execute(drop +
                 "create table #tmp_pli (ID INT NOT NULL IDENTITY(1,1), ITEID INT NOT NULL, RETAILPRICE NUMERIC(28,6) NULL) "
                 "insert into #tmp_pli (ITEID, RETAILPRICE) select PLI.ITEID, PLI.RETAILPRICE from PLI "
                 "inner join PLL on PLI.PLLID=PLL.ID inner join INI on PLI.ITEID=INI.ID "
                 "where ISNULL(PLL.DISABLED, 0)=0 AND PLL.COMID=:comid and "
                 "PLI.ID=(select min(ID) from PLI D where D.ITEID=PLI.ITEID and D.PLLID=PLI.PLLID) and "
                 "isnull(INI.REVNUM, 1)>:num order by INI.REVNUM, PLI.PLLID",
             {Value(1), Value(0)});
  const std::string item =
      "select top 100 INI.ABBREVIATION as ItemId, INI.NAME as ItemName, INI.FOREIGNDESCR, "
      "CASE WHEN ISNULL(#tmp_pli.RETAILPRICE, 0)<>0 THEN #tmp_pli.RETAILPRICE ELSE isnull(IIF.RETAILPRICE,0) END as Price, "
      "CAST(IIC.ID as VARCHAR(10)) as ItemGroupId, IIC.NAME as ItemGroupName, IF1.NAME as XtraFieldsName1, IR1.NAME as XtraFields1, "
      "cast((CAST(isnull(TXA.PCNTNORMAL,0) as NUMERIC(28,2))) as VARCHAR(10)) as TaxItemGroupId, "
      "isnull(CAST(TXA.PCNTNORMAL as VARCHAR(10)),0) as TaxItemGroupPcnt, ISNULL(IIF.DISCOUNT,0) as DiscPcnt, "
      "(SELECT COUNT(*) FROM AIC WHERE AIC.INIID=INI.ID AND AIC.ISBARCODE&2=2) as BCScale, "
      "ISNULL(INI.DISABLED, 0) as IsInactive, ISNULL(GNO.QTYDECS, 0) as UnitDecs, ISNULL(INI.REVNUM, 1) as RevNum "
      "from INI left join MEU on INI.MEUIDBASIC=MEU.ID left join GNO on INI.COMID=GNO.COMID "
      "left join IIC on INI.IICID=IIC.ID left join CNT on INI.CNTIDORIGIN=CNT.ID left join IR1 on INI.IF1ID=IR1.ID "
      "left join IF1 on 1=1 left join IIF on INI.ID=IIF.ITEID AND IIF.FYEID=:fyeid "
      "left join IIO on INI.COMID=IIO.COMID left join ICT on ICT.IIOID=IIO.ID AND ICT.INIID=INI.ID "
      "left join INC on INC.ID=CASE WHEN ISNULL(ICT.INCIDRETAIL, 0)=0 THEN IIO.INCIDRETAIL ELSE ICT.INCIDRETAIL END "
      "left join TXA on INC.TXAIDVAT=TXA.ID left join INC RED on INC.INCIDRVAT=RED.ID left join TXA TXAR on RED.TXAIDVAT=TXAR.ID "
      "left join #tmp_pli on #tmp_pli.ITEID=INI.ID AND #tmp_pli.ID=(select min(D.ID) from #tmp_pli D where D.ITEID=#tmp_pli.ITEID) "
      "where INI.COMID=:comid and isnull(INI.REVNUM, 1)>:num and ISNULL(INI.UPDATEMERIVO, 0)=1 order by REVNUM ";
  DataPacket p;
  ASSERT_NO_THROW(p = db.Query(item, {Value(1), Value(1), Value(0)}));
  ASSERT_FALSE(p.Rows.empty());
  EXPECT_EQ(p.Fields[0].Name, "ItemId");
  EXPECT_EQ(p.Fields[3].Type, FieldType::Number);
  EXPECT_EQ(p.Fields[8].Type, FieldType::Text);
  for (const Row& r : p.Rows) {
    const std::string tax = r[8].AsText();
    ASSERT_NE(tax.find('.'), std::string::npos) << tax; // NUMERIC(28,2) as text: "24.00"
    EXPECT_EQ(tax.size() - tax.find('.'), 3u) << tax;
  }
  db.Execute(drop);
}

} // namespace
} // namespace vq::sandbox::testing
