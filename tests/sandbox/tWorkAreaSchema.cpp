#include "sandbox/uDemoData.h"
#include "sandbox/uWorkAreaSchema.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>
#include <string_view>
#include <tuple>
#include <vector>

namespace {

// Stands in for the engine's collation: the schema only needs the name to exist.
int CompareAsciiNoCase(void *, int lengthA, const void *a, int lengthB, const void *b) {
  const int common = lengthA < lengthB ? lengthA : lengthB;
  const int order =
      sqlite3_strnicmp(static_cast<const char *>(a), static_cast<const char *>(b), common);
  return order != 0 ? order : lengthA - lengthB;
}

class WorkArea {
public:
  explicit WorkArea(const std::vector<std::string_view> &data) {
    sqlite3_open(":memory:", &db_);
    sqlite3_create_collation(db_, "SQLSERVER", SQLITE_UTF8, nullptr, CompareAsciiNoCase);
    for (const auto &statements : {vq::sandbox::WorkAreaSchema(), data})
      for (const std::string_view statement : statements) Exec(statement);
  }
  ~WorkArea() { sqlite3_close(db_); }
  WorkArea(const WorkArea &) = delete;
  WorkArea &operator=(const WorkArea &) = delete;

  // The first column of every row, as text ("NULL" for a null).
  std::vector<std::string> Column(const std::string &sql) const {
    sqlite3_stmt *statement = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr), SQLITE_OK)
        << sqlite3_errmsg(db_) << " in: " << sql;
    std::vector<std::string> values;
    while (statement && sqlite3_step(statement) == SQLITE_ROW) {
      const unsigned char *text = sqlite3_column_text(statement, 0);
      values.emplace_back(text ? reinterpret_cast<const char *>(text) : "NULL");
    }
    sqlite3_finalize(statement);
    return values;
  }

private:
  void Exec(std::string_view statement) {
    char *message = nullptr;
    const std::string sql(statement);
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK)
      ADD_FAILURE() << (message ? message : "") << " in: " << sql;
    sqlite3_free(message);
  }

  sqlite3 *db_ = nullptr;
};

using Rows = std::vector<std::string>;

// The chain a login walks: company, branch, warehouse, the warehouse's main store, a fiscal
// year holding the day, the general options and the operator.
void ExpectLoginContext(const WorkArea &area) {
  EXPECT_EQ(area.Column("SELECT ABBREVIATION FROM COM"), Rows{"DEMO"});
  EXPECT_EQ(area.Column("SELECT ID FROM BRA WHERE ABBREVIATION='HQ' AND COMID=1"), Rows{"1"});
  EXPECT_EQ(area.Column("SELECT SCO.ABBREVIATION FROM SCO INNER JOIN WAR ON SCO.WARID=WAR.ID "
                        "INNER JOIN BRA ON WAR.BRAID=BRA.ID WHERE WAR.ABBREVIATION='W1' AND "
                        "BRA.ABBREVIATION='HQ' AND BRA.COMID=1 ORDER BY SCO.ISMAIN DESC, SCO.ID "
                        "LIMIT 1"),
            Rows{"S1"});
  EXPECT_EQ(
      area.Column("SELECT ID FROM FYE WHERE COMID=1 AND STATE=3 AND "
                  "BEGINDATE<='2026-01-01 00:00:00.000' AND ENDDATE>='2027-12-31 00:00:00.000'"),
      Rows{"1"});
  EXPECT_EQ(area.Column("SELECT BOOKAMOUNTDECS || '/' || QTYDECS FROM GNO WHERE COMID=1"),
            Rows{"2/3"});
  EXPECT_EQ(area.Column("SELECT COMID || '/' || BRAID || '/' || WARID || '/' || SCOID "
                        "FROM SBX_OPERATOR WHERE USERNAME='admin' AND PASSWORD='admin'"),
            Rows{"1/1/1/1"});
  EXPECT_EQ(area.Column("SELECT COUNT(*) FROM REVNUM"), Rows{"1"});
}

TEST(WorkAreaSchema, MinimalDataHoldsOnlyWhatALoginNeeds) {
  const WorkArea area(vq::sandbox::MinimalData());
  ExpectLoginContext(area);
  EXPECT_EQ(area.Column("SELECT COUNT(*) FROM CUA"), Rows{"0"});
  EXPECT_EQ(area.Column("SELECT COUNT(*) FROM INI"), Rows{"0"});
}

TEST(WorkAreaSchema, LeavesTheImportLedgerToTheConnector) {
  const WorkArea area(vq::sandbox::MinimalData());
  EXPECT_EQ(area.Column("SELECT COUNT(*) FROM sqlite_master WHERE name='ZEV'"), Rows{"0"});
  EXPECT_EQ(area.Column("SELECT COUNT(*) FROM sqlite_master WHERE name='REVNUM'"), Rows{"1"});
}

TEST(WorkAreaSchema, DemoCompanyHasTwoBranchesEachWithOneMainStorePerWarehouse) {
  const WorkArea area(vq::sandbox::DemoData());
  ExpectLoginContext(area);
  EXPECT_EQ(area.Column("SELECT ABBREVIATION FROM BRA WHERE COMID=1 ORDER BY ABBREVIATION"),
            (Rows{"BR2", "HQ"}));
  EXPECT_EQ(area.Column("SELECT WAR.ABBREVIATION || ':' || SUM(SCO.ISMAIN) FROM WAR "
                        "LEFT JOIN SCO ON SCO.WARID=WAR.ID GROUP BY WAR.ID ORDER BY WAR.ID"),
            (Rows{"W1:1", "W2:1"}));
}

// A document type without a company settings row is hidden from every list ("(SELECT
// DISABLED ...)<>1" is unknown for it), so each type must have one.
TEST(WorkAreaSchema, DemoDocumentTypesAllHaveCompanySettings) {
  const WorkArea area(vq::sandbox::DemoData());
  for (const auto &[types, settings, key] :
       {std::tuple{"IVT", "IVC", "DTPID"}, std::tuple{"PDT", "PRC", "DTPID"},
        std::tuple{"SHT", "SVC", "DTPID"}, std::tuple{"RTY", "RTC", "RTYID"}}) {
    EXPECT_EQ(area.Column(std::string("SELECT COUNT(*) FROM ") + types +
                          " WHERE ID NOT IN (SELECT " + key + " FROM " + settings +
                          " WHERE COMID=1)"),
              Rows{"0"})
        << types;
  }
}

// The records the default settings of POS1 name.
TEST(WorkAreaSchema, DemoDataHoldsWhatPos1IsConfiguredWith) {
  const WorkArea area(vq::sandbox::DemoData());
  EXPECT_EQ(area.Column("SELECT ABBREVIATION FROM IVT WHERE ABBREVIATION IN ('ALP','TIM','PIS') "
                        "ORDER BY ABBREVIATION"),
            (Rows{"ALP", "PIS", "TIM"}));
  EXPECT_EQ(area.Column("SELECT ABBREVIATION FROM RTY ORDER BY ABBREVIATION"),
            (Rows{"EIS", "EPI"}));
  EXPECT_EQ(area.Column("SELECT FUA.ABBREVIATION FROM FUA INNER JOIN BRA ON BRA.ID=FUA.BRAID "
                        "WHERE BRA.ABBREVIATION='HQ' ORDER BY FUA.ABBREVIATION"),
            (Rows{"CARD1", "CASH1"}));
  EXPECT_EQ(area.Column("SELECT NAME FROM UPW ORDER BY ID"),
            (Rows{"Μετρητά", "Κάρτα", "Πίστωση 30 ημερών"}));
  EXPECT_EQ(area.Column("SELECT NAME FROM CUA WHERE ABBREVIATION='CUS000'"),
            Rows{"Πελάτες Λιανικής"});
  EXPECT_EQ(area.Column("SELECT ABBREVIATION FROM SUA WHERE ID=1"), Rows{"SUP001"});
  EXPECT_EQ(area.Column("SELECT EMP.ABBREVIATION FROM SLM INNER JOIN EMP ON EMP.ID=SLM.EMPID "
                        "ORDER BY SLM.ID"),
            (Rows{"P01", "P02"}));
  EXPECT_EQ(area.Column("SELECT ABBREVIATION FROM INC WHERE USEINDOC=1 AND NOT EXISTS "
                        "(SELECT 1 FROM INC t1 WHERE INC.ID=t1.IDPRIMARY) ORDER BY ABBREVIATION"),
            (Rows{"MEF", "SYS"}));
  EXPECT_EQ(area.Column("SELECT NAME FROM ITT WHERE ID IN (1, 2) ORDER BY ID"),
            (Rows{"Απογραφή - Πλεόνασμα", "Απογραφή - Έλλειμμα"}));
}

} // namespace
