// What translating the item export's statement costs next to running it in SQLite, on a
// work area of 10,000 items. Run: build/bench/bench_tsql
#include "core/uError.h"
#include "sandbox/uTsqlEngine.h"
#include "sandbox/uWorkArea.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <chrono>
#include <filesystem>
#include <memory>

namespace {

using vq::Value;

const char *const PriceTable =
    "create table #tmp_pli (ID INT NOT NULL IDENTITY(1,1), ITEID INT NOT NULL, RETAILPRICE "
    "NUMERIC(28,6) NULL) insert into #tmp_pli (ITEID, RETAILPRICE) select PLI.ITEID, "
    "PLI.RETAILPRICE from PLI inner join PLL on PLI.PLLID=PLL.ID inner join INI on "
    "PLI.ITEID=INI.ID where ISNULL(PLL.DISABLED, 0)=0 AND PLL.COMID=:comid and PLI.ID=(select "
    "min(ID) from PLI D where D.ITEID=PLI.ITEID and D.PLLID=PLI.PLLID) and isnull(INI.REVNUM, "
    "1)>:num order by INI.REVNUM, PLI.PLLID";

const char *const ItemStatement =
    "select INI.ABBREVIATION as ItemId, INI.NAME as ItemName, INI.FOREIGNDESCR, CASE WHEN "
    "ISNULL(#tmp_pli.RETAILPRICE, 0)<>0 THEN #tmp_pli.RETAILPRICE ELSE isnull(IIF.RETAILPRICE,0) "
    "END as Price, CAST(IIC.ID as VARCHAR(10)) as ItemGroupId, IIC.NAME as ItemGroupName, "
    "IF1.NAME as XtraFieldsName1, IR1.NAME as XtraFields1, cast((CAST(isnull(TXA.PCNTNORMAL,0) "
    "as NUMERIC(28,2))) as VARCHAR(10)) as TaxItemGroupId, isnull(CAST(TXA.PCNTNORMAL as "
    "VARCHAR(10)),0) as TaxItemGroupPcnt, ISNULL(IIF.DISCOUNT,0) as DiscPcnt, (SELECT COUNT(*) "
    "FROM AIC WHERE AIC.INIID=INI.ID AND AIC.ISBARCODE&2=2) as BCScale, ISNULL(INI.DISABLED, 0) "
    "as IsInactive, ISNULL(GNO.QTYDECS, 0) as UnitDecs, ISNULL(INI.REVNUM, 1) as RevNum from INI "
    "left join MEU on INI.MEUIDBASIC=MEU.ID left join GNO on INI.COMID=GNO.COMID left join IIC "
    "on INI.IICID=IIC.ID left join CNT on INI.CNTIDORIGIN=CNT.ID left join IR1 on "
    "INI.IF1ID=IR1.ID left join IF1 on 1=1 left join IIF on INI.ID=IIF.ITEID AND "
    "IIF.FYEID=:fyeid left join IIO on INI.COMID=IIO.COMID left join ICT on ICT.IIOID=IIO.ID AND "
    "ICT.INIID=INI.ID left join INC on INC.ID=CASE WHEN ISNULL(ICT.INCIDRETAIL, 0)=0 THEN "
    "IIO.INCIDRETAIL ELSE ICT.INCIDRETAIL END left join TXA on INC.TXAIDVAT=TXA.ID left join INC "
    "RED on INC.INCIDRVAT=RED.ID left join TXA TXAR on RED.TXAIDVAT=TXAR.ID left join #tmp_pli "
    "on #tmp_pli.ITEID=INI.ID AND #tmp_pli.ID=(select min(D.ID) from #tmp_pli D where "
    "D.ITEID=#tmp_pli.ITEID) where INI.COMID=:comid and isnull(INI.REVNUM, 1)>:num and "
    "ISNULL(INI.UPDATEMERIVO, 0)=1 order by REVNUM ";

const std::vector<Value> ItemValues = {Value(1), Value(1), Value(0)};

// A demo work area grown to 10,000 exported items with prices, in a temporary home.
struct Fixture {
  Fixture() {
    home =
        std::filesystem::temp_directory_path() /
        ("vq-bench-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    vq::sandbox::CreateWorkArea(home, "BENCH", vq::sandbox::WorkAreaContent::Demo);
    database = std::make_unique<vq::sandbox::Database>(vq::sandbox::WorkAreaPath(home, "BENCH"));
    database->Exec(
        "WITH RECURSIVE N(I) AS (SELECT 1 UNION ALL SELECT I + 1 FROM N WHERE I < 10000) "
        "INSERT INTO INI (COMID, ABBREVIATION, NAME, IICID, UPDATEMERIVO, REVNUM) "
        "SELECT 1, 'B' || I, 'Είδος ' || I, (SELECT MIN(ID) FROM IIC), 1, I FROM N");
    database->Exec("INSERT INTO IIF (ITEID, FYEID, RETAILPRICE) SELECT ID, 1, 1.5 FROM INI "
                   "WHERE ABBREVIATION LIKE 'B%'");
    engine = std::make_unique<vq::sandbox::TsqlEngine>(database->Handle());
    engine->Execute(PriceTable, {Value(1), Value(0)});
  }
  ~Fixture() {
    engine.reset();
    database.reset();
    std::error_code ignored;
    std::filesystem::remove_all(home, ignored);
  }
  std::filesystem::path home;
  std::unique_ptr<vq::sandbox::Database> database;
  std::unique_ptr<vq::sandbox::TsqlEngine> engine;
};

Fixture &Shared() {
  static Fixture fixture;
  return fixture;
}

void BM_TranslateItemStatement(benchmark::State &state) {
  Fixture &f = Shared();
  for (auto _ : state) benchmark::DoNotOptimize(f.engine->Translate(ItemStatement, ItemValues));
}

// The translated text run by SQLite alone: prepare, bind, step through every row.
void BM_SqliteRunsTranslatedStatement(benchmark::State &state) {
  Fixture &f = Shared();
  const std::string sql = f.engine->Translate(ItemStatement, ItemValues).back();
  int64_t rows = 0;
  for (auto _ : state) {
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(f.database->Handle(), sql.c_str(), -1, &statement, nullptr) != SQLITE_OK)
      throw vq::Error(sqlite3_errmsg(f.database->Handle()));
    for (int i = 0; i < static_cast<int>(ItemValues.size()); ++i)
      sqlite3_bind_int64(statement, i + 1, ItemValues[i].AsInteger());
    rows = 0;
    while (sqlite3_step(statement) == SQLITE_ROW) ++rows;
    sqlite3_finalize(statement);
  }
  state.counters["rows"] = static_cast<double>(rows);
}

// The whole engine: translation, execution and typing of the result rows.
void BM_EngineQueriesItemStatement(benchmark::State &state) {
  Fixture &f = Shared();
  for (auto _ : state) benchmark::DoNotOptimize(f.engine->Query(ItemStatement, ItemValues));
}

BENCHMARK(BM_TranslateItemStatement)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SqliteRunsTranslatedStatement)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EngineQueriesItemStatement)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
