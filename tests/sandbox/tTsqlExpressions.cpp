#include "tTsqlFixture.h"

#include "sandbox/uSqlServerFunctions.h"

#include <gmock/gmock.h>

namespace vq::sandbox::testing {

std::string CellText(const Value& v) {
  switch (v.Type()) {
  case ValueType::Null:
  case ValueType::Empty: return "NULL";
  case ValueType::Integer: return std::to_string(v.AsInteger());
  case ValueType::Number: return NumberText(v.AsNumber());
  case ValueType::Date: return StoredDateTimeText(v.AsDate());
  case ValueType::Boolean: return v.AsBoolean() ? "1" : "0";
  default: return v.AsText();
  }
}

namespace {

struct Case {
  const char* Expression;
  const char* Expected; // the cell as CellText gives it; "ERROR:" + part of the message
  FieldType Type = FieldType::Text;
};

class TsqlExpressionTest : public ::testing::TestWithParam<Case> {};

TEST_P(TsqlExpressionTest, GivesSqlServersResult) {
  const Case& c = GetParam();
  TsqlDb db;
  const std::string sql = std::string("SELECT ") + c.Expression + " AS X";
  const std::string expected = c.Expected;
  if (expected.rfind("ERROR:", 0) == 0) {
    try {
      db.Query(sql);
      FAIL() << sql << " did not fail";
    } catch (const Error& e) {
      EXPECT_THAT(e.what(), ::testing::HasSubstr(expected.substr(6))) << sql;
    }
    return;
  }
  DataPacket p;
  ASSERT_NO_THROW(p = db.Query(sql)) << sql;
  ASSERT_EQ(p.Rows.size(), 1u) << sql;
  ASSERT_EQ(p.Fields.size(), 1u) << sql;
  EXPECT_EQ(CellText(p.Rows[0][0]), expected) << sql;
  EXPECT_EQ(p.Fields[0].Name, "X");
  if (expected != "NULL") {
    EXPECT_EQ(FieldTypeName(p.Fields[0].Type), std::string(FieldTypeName(c.Type))) << sql;
  }
}

const Case Cases[] = {
    // + on texts and numbers, NULL propagation and implicit conversions
    {"'a' + 'b'", "ab"},
    {"'a' + NULL", "NULL"},
    {"NULL + 1", "NULL"},
    {"'1' + 1", "2", FieldType::Integer},
    {"1 + '1'", "2", FieldType::Integer},
    {"'1.5' + 1.25", "2.75", FieldType::Number},
    {"'x' + 1", "ERROR:Conversion failed when converting the varchar value 'x' to data type int"},
    {"'1.5' + 1", "ERROR:Conversion failed when converting the varchar value '1.5' to data type int"},
    {"7 / 2", "3", FieldType::Integer},
    {"-7 / 2", "-3", FieldType::Integer},
    {"7 / 2.0", "3.5", FieldType::Number},
    {"1 / 0", "ERROR:Divide by zero"},
    {"7 % 3", "1", FieldType::Integer},
    {"6 & 2", "2", FieldType::Integer},
    {"5 | 2", "7", FieldType::Integer},
    {"6 ^ 3", "5", FieldType::Integer},
    {"ISNULL(NULL, 0) & 2", "0", FieldType::Integer},
    {"CASE WHEN ISNULL(6, 0)&2=2 THEN 1 ELSE 0 END", "1", FieldType::Integer},
    // comparisons
    {"CASE WHEN '10' > 9 THEN 1 ELSE 0 END", "1", FieldType::Integer},
    {"CASE WHEN '10' > '9' THEN 1 ELSE 0 END", "0", FieldType::Integer},
    {"CASE WHEN 'abc' = 'ABC' THEN 1 ELSE 0 END", "1", FieldType::Integer},
    {"CASE WHEN 'abc' = 'abc   ' THEN 1 ELSE 0 END", "1", FieldType::Integer},
    {"CASE WHEN 'άλφα' = 'ΑΛΦΑ' THEN 1 ELSE 0 END", "1", FieldType::Integer},
    {"CASE WHEN 'Ελλάδα' = 'ΕΛΛΑΔΑ' THEN 1 ELSE 0 END", "1", FieldType::Integer},
    {"CASE WHEN 'café' = 'CAFE' THEN 1 ELSE 0 END", "1", FieldType::Integer},
    {"CASE WHEN 'a' < 'B' THEN 1 ELSE 0 END", "1", FieldType::Integer},
    {"CASE WHEN NULL = NULL THEN 1 ELSE 0 END", "0", FieldType::Integer},
    {"CASE WHEN 'x' = 1 THEN 1 ELSE 0 END", "ERROR:Conversion failed"},
    {"CASE WHEN 3 BETWEEN 1 AND 5 THEN 1 ELSE 0 END", "1", FieldType::Integer},
    {"CASE WHEN 'b' IN ('A', 'B') THEN 1 ELSE 0 END", "1", FieldType::Integer},
    {"CASE WHEN 2 NOT IN (1, 3) THEN 1 ELSE 0 END", "1", FieldType::Integer},
    {"CASE WHEN '2' IN (1, 2) THEN 1 ELSE 0 END", "1", FieldType::Integer},
    // LIKE
    {"CASE WHEN 'Αθήνα' LIKE 'αθη%' THEN 1 ELSE 0 END", "1", FieldType::Integer},
    {"CASE WHEN 'abc' LIKE 'a_c' THEN 1 ELSE 0 END", "1", FieldType::Integer},
    {"CASE WHEN 'abc' LIKE '[a-b]bc' THEN 1 ELSE 0 END", "1", FieldType::Integer},
    {"CASE WHEN 'cbc' LIKE '[a-b]bc' THEN 1 ELSE 0 END", "0", FieldType::Integer},
    {"CASE WHEN 'cbc' LIKE '[^a-b]bc' THEN 1 ELSE 0 END", "1", FieldType::Integer},
    {"CASE WHEN '5%' LIKE '5[%]' THEN 1 ELSE 0 END", "1", FieldType::Integer},
    {"CASE WHEN '55' LIKE '5[%]' THEN 1 ELSE 0 END", "0", FieldType::Integer},
    {"CASE WHEN 'POS1-12-3' LIKE 'POS1-12-%' THEN 1 ELSE 0 END", "1", FieldType::Integer},
    {"CASE WHEN 'a_b' LIKE 'a!_b' ESCAPE '!' THEN 1 ELSE 0 END", "1", FieldType::Integer},
    {"CASE WHEN 'axb' LIKE 'a!_b' ESCAPE '!' THEN 1 ELSE 0 END", "0", FieldType::Integer},
    {"CASE WHEN 'abc' NOT LIKE '%z%' THEN 1 ELSE 0 END", "1", FieldType::Integer},
    // ISNULL, COALESCE, NULLIF, CASE
    {"ISNULL(NULL, 'x')", "x"},
    {"ISNULL('a', 'x')", "a"},
    {"ISNULL(NULL, 0)", "0", FieldType::Integer},
    {"COALESCE(NULL, NULL, 3)", "3", FieldType::Integer},
    {"NULLIF('a', 'A')", "NULL"},
    {"CASE 2 WHEN 1 THEN 'one' WHEN 2 THEN 'two' END", "two"},
    {"CASE 3 WHEN 1 THEN 'one' END", "NULL"},
    {"CASE WHEN 1=0 THEN 1 ELSE 'x' END", "ERROR:Conversion failed"},
    // CAST / CONVERT
    {"CONVERT(VARCHAR, CAST(24 AS NUMERIC(28,2)))", "24.00"},
    {"CAST(CAST(24 AS NUMERIC(28,2)) AS VARCHAR(10))", "24.00"},
    {"CAST(2.675 AS NUMERIC(10,2))", "2.68", FieldType::Number},
    {"CAST(-2.5 AS NUMERIC(10,0))", "-3", FieldType::Number},
    {"CAST(24 AS NUMERIC(28,2))", "24", FieldType::Number},
    {"CAST('12.345' AS NUMERIC(10,2))", "12.35", FieldType::Number},
    {"CAST('abc' AS NUMERIC(10,2))", "ERROR:Error converting data type varchar to numeric"},
    {"CAST('12' AS INT)", "12", FieldType::Integer},
    {"CAST(' 12 ' AS INT)", "12", FieldType::Integer},
    {"CAST('' AS INT)", "0", FieldType::Integer},
    {"CAST('1.5' AS INT)", "ERROR:Conversion failed when converting the varchar value '1.5' to data type int"},
    {"CAST(1.9 AS INT)", "1", FieldType::Integer},
    {"CAST(-1.9 AS INT)", "-1", FieldType::Integer},
    {"CAST(12 AS VARCHAR(10))", "12"},
    {"CAST(123456 AS VARCHAR(3))", "*"},
    {"CAST('abcdef' AS VARCHAR(3))", "abc"},
    {"CAST('ab' AS CHAR(4)) + '|'", "ab  |"},
    {"CAST(1.5 AS FLOAT)", "1.5", FieldType::Number},
    {"CONVERT(VARCHAR(20), CAST(1234567 AS FLOAT))", "1.23457e+006"},
    {"CONVERT(VARCHAR(20), CAST(0.1 AS FLOAT))", "0.1"},
    {"CAST(1 AS BIT)", "1", FieldType::Integer},
    {"CAST(5 AS MONEY)", "5", FieldType::Number},
    {"CONVERT(VARCHAR, CAST(5 AS MONEY))", "5.00"},
    // datetimes
    {"CONVERT(DATETIME, '05/03/2009', 103)", "2009-03-05 00:00:00.000", FieldType::Date},
    {"CONVERT(DATETIME, '05/03/2009 14:07:09', 103)", "2009-03-05 14:07:09.000", FieldType::Date},
    {"CONVERT(DATETIME, '2009-03-05T14:07:09', 126)", "2009-03-05 14:07:09.000", FieldType::Date},
    {"CONVERT(DATETIME, '2009-03-05T14:07:09.123', 126)", "2009-03-05 14:07:09.123", FieldType::Date},
    {"CONVERT(DATETIME, '31/02/2009', 103)", "ERROR:Conversion failed when converting date and/or time"},
    {"CONVERT(DATETIME, '05/03/2009', 103)+1", "2009-03-06 00:00:00.000", FieldType::Date},
    {"CONVERT(VARCHAR(10), CONVERT(DATETIME, '2026-12-11 12:37:00', 120), 103)", "11/12/2026"},
    {"CONVERT(VARCHAR(30), CONVERT(DATETIME, '2026-12-11 12:37:05.250', 121), 126)", "2026-12-11T12:37:05.250"},
    {"CONVERT(VARCHAR(30), CONVERT(DATETIME, '2026-12-11 12:37:05', 120), 126)", "2026-12-11T12:37:05"},
    {"CONVERT(VARCHAR, CONVERT(DATETIME, '2026-12-11 12:37', 120))", "Dec 11 2026 12:37PM"},
    {"CAST(CONVERT(DATETIME, '2026-12-01 09:05', 120) AS VARCHAR(30))", "Dec  1 2026  9:05AM"},
    {"CONVERT(VARCHAR(8), CONVERT(DATETIME, '2026-12-11 12:37:05', 120), 112)", "20261211"},
    {"CONVERT(VARCHAR(19), CONVERT(DATETIME, '2026-12-11 12:37:05', 120), 120)", "2026-12-11 12:37:05"},
    {"DATEADD(day, 1, CONVERT(DATETIME, '2026-12-31', 120))", "2027-01-01 00:00:00.000", FieldType::Date},
    {"DATEADD(month, 1, CONVERT(DATETIME, '2026-01-31', 120))", "2026-02-28 00:00:00.000", FieldType::Date},
    {"DATEADD(yy, -1, '2024-02-29')", "2023-02-28 00:00:00.000", FieldType::Date},
    {"DATEADD(hh, 2, '2026-12-11 23:00')", "2026-12-12 01:00:00.000", FieldType::Date},
    {"DATEDIFF(day, '2026-12-31 23:59', '2027-01-01 00:01')", "1", FieldType::Integer},
    {"DATEDIFF(month, '2026-01-31', '2026-02-01')", "1", FieldType::Integer},
    {"DATEDIFF(year, '2026-12-31', '2027-01-01')", "1", FieldType::Integer},
    {"DATEPART(month, '2026-12-11')", "12", FieldType::Integer},
    {"DATEPART(dw, '2026-12-11')", "6", FieldType::Integer},
    {"YEAR(CONVERT(DATETIME, '11/12/2026', 103))", "2026", FieldType::Integer},
    {"MONTH('2026-12-11')", "12", FieldType::Integer},
    {"DAY('2026-12-11')", "11", FieldType::Integer},
    {"CASE WHEN CONVERT(DATETIME, '11/12/2026', 103) > '2026-12-10' THEN 1 ELSE 0 END", "1", FieldType::Integer},
    {"CASE WHEN GETDATE() > '2000-01-01' THEN 1 ELSE 0 END", "1", FieldType::Integer},
    // string functions
    {"UPPER('άλφα')", "ΆΛΦΑ"},
    {"LOWER('ABC')", "abc"},
    {"LEN('abc  ')", "3", FieldType::Integer},
    {"LEN('αβγ')", "3", FieldType::Integer},
    {"SUBSTRING('abcdef', 2, 3)", "bcd"},
    {"SUBSTRING('abcdef', 0, 3)", "ab"},
    {"SUBSTRING('αβγδ', 2, 2)", "βγ"},
    {"LEFT('abc', 2)", "ab"},
    {"RIGHT('abc', 2)", "bc"},
    {"LTRIM('  a ') + '|'", "a |"},
    {"RTRIM('  a  ') + '|'", "  a|"},
    {"REPLACE('aXbx', 'x', '-')", "a-b-"},
    {"CHARINDEX('c', 'abc')", "3", FieldType::Integer},
    {"ABS(-3)", "3", FieldType::Integer},
    {"ABS(-2.5)", "2.5", FieldType::Number},
    {"ROUND(2.345, 2)", "2.35", FieldType::Number},
    {"ROUND(-2.345, 2)", "-2.35", FieldType::Number},
    {"ROUND(1234, -2)", "1200", FieldType::Integer},
    {"ROUND(2.349, 2, 1)", "2.34", FieldType::Number},
    {"ROUND(ABS(-10.005), 2)", "10.01", FieldType::Number},
    {"N'Ελλάδα'", "Ελλάδα"},
    {"'it''s'", "it's"},
    {"'a:b'", "a:b"},
    // subqueries
    {"(SELECT 5)", "5", FieldType::Integer},
    {"CASE WHEN EXISTS (SELECT 1) THEN 1 ELSE 0 END", "1", FieldType::Integer},
    {"CASE WHEN 1 IN (SELECT 1) THEN 1 ELSE 0 END", "1", FieldType::Integer},
};

// Cases are named by position: the default names would print pointers, which differ from
// one run to the next and break test discovery.
INSTANTIATE_TEST_SUITE_P(Table, TsqlExpressionTest, ::testing::ValuesIn(Cases),
                         [](const ::testing::TestParamInfo<Case>& info) {
                           return "Case" + std::to_string(info.index);
                         });

} // namespace
} // namespace vq::sandbox::testing
