#include "com/dBackOfficeConnector.h"
#include "core/uDateTime.h"
#include "double/uScriptedServer.h"
#include "support/uTempHome.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using vq::Value;

namespace {

struct Statement {
  std::string Member; // OpenSQL or ExecSQL
  std::string Sql;
  Value Placeholders;
};

// The exports against the scripted back office, where the statements' exact texts and
// placeholder values are what matters.
class ExportStatementsTest : public ::testing::Test {
protected:
  ExportStatementsTest() : factory_(script_) {
    const std::string connection = "ServerName=erp1\nWorkArea=DEMO\nComAbbr=CO\nBraAbbr=HQ\n";
    home_.Write("BackOfficeParams.ini",
                "[Connection]\n" + connection + "[eSalesConnection]\n" + connection +
                    "[Options]\nImageNum=3\nItemUDF3=O'Brien\nRecordsPacket=100\n"
                    "[POS1]\nBraAbbr=HQ\nWarAbbr=W1\nScoAbbr=S1\nUsePll=1\nPllItemsOnly=1\n");
    script_->AnswerSql("FROM COM", vq::test::Rows({"ID"}, {{Value(1)}}));
    script_->AnswerSql("FROM BRA", vq::test::Rows({"ID"}, {{Value(2)}}));
    script_->AppVars["APPLICATION.FYEID"] = Value(5);
    script_->AppVars["APPLICATION.WORKDATE"] = Value(vq::EncodeDateTime({2026, 3, 9}));
  }

  // The statements the export sent after the login's.
  std::vector<Statement> ExportStatements() const {
    std::vector<Statement> found;
    for (const vq::test::RecordedCall &call : script_->CallsOf("Call")) {
      const std::string member = call.Args[0].AsText();
      if (member != "OpenSQL" && member != "ExecSQL") continue;
      const std::string sql = call.Args[1].AsText();
      if (sql.find("DEFINEPRICELIST") != std::string::npos) found.clear(); // the export's first
      found.push_back({member, sql, call.Args[2]});
    }
    return found;
  }

  std::shared_ptr<vq::test::ScriptedServer> script_ = std::make_shared<vq::test::ScriptedServer>();
  vq::test::ScopedScriptedFactory factory_;
  vq::test::TempHome home_;
  vq::TBackOfficeConnector connector_{home_.Dir()};
  const std::string pos_ =
      "<Pos><PosItems><rConfigPos><Name>POS1</Name></rConfigPos></PosItems></Pos>";
};

Value Values(std::vector<Value> values) { return Value(std::move(values)); }

TEST_F(ExportStatementsTest, ItemExportSendsItsStatementsWithTheirPlaceholders) {
  script_->AnswerSql("FROM SLO", vq::test::Rows({"DEFINEPRICELIST"}, {{Value(2)}}));
  script_->AnswerSql("BRA.ABBREVIATION=:BraAbbr", vq::test::Rows({"ID"}, {{Value(7)}}));
  int32_t code = -1;
  std::string message, value;
  connector_.GetItems(42, pos_, code, message, value);
  ASSERT_EQ(code, 0) << message;
  EXPECT_EQ(value, "<?xml version=\"1.0\"?><InvItems/>");

  const std::vector<Statement> sent = ExportStatements();
  ASSERT_EQ(sent.size(), 8u);
  EXPECT_NE(sent[1].Sql.find("BRA.ABBREVIATION=:BraAbbr"), std::string::npos);
  // The price table: the branch's lists, ranked, with the branch id as fourth placeholder.
  EXPECT_EQ(sent[2].Member, "ExecSQL");
  EXPECT_NE(sent[2].Sql.find("isnull(INI.REVNUM, 1)>:num and isnull(INI.UPDATEMERIVO, 0)=1 and "
                             "PLL.BRAID=:braid order by INI.REVNUM, case when isnull(PLL.WARID, "
                             "0)=0 and isnull(PLL.SCOID, 0)=0 then 1 else 2 end, PLI.PLLID "),
            std::string::npos);
  EXPECT_EQ(sent[2].Placeholders, Values({Value(5), Value(1), Value(42), Value(7)}));
  // Only items with a price-list price, at most RecordsPacket of them.
  EXPECT_EQ(sent[3].Sql.rfind("select top 100 INI.ABBREVIATION as ItemId", 0), 0u);
  EXPECT_NE(sent[3].Sql.find(" inner join #tmp_pli on "), std::string::npos);
  EXPECT_EQ(sent[3].Placeholders, Values({Value(5), Value(1), Value(42)}));
  EXPECT_EQ(sent[4].Member, "ExecSQL");
  EXPECT_EQ(sent[4].Sql, "if exists (select * from tempdb..sysobjects where "
                         "id=object_id('tempdb..#tmp_pli')) drop table #tmp_pli ");
  EXPECT_TRUE(sent[4].Placeholders.IsNull());
  for (size_t i = 5; i < 8; ++i)
    EXPECT_EQ(sent[i].Placeholders, Values({Value(1), Value(42)})) << sent[i].Sql;
  EXPECT_NE(sent[5].Sql.find("from AIC left join INI"), std::string::npos);
  // A setting's quote cannot end the SQL string it is placed in.
  EXPECT_NE(sent[6].Sql.find("UPPER('O''Brien')"), std::string::npos);
  EXPECT_NE(sent[6].Sql.find(" as ItemUdf3"), std::string::npos);
  EXPECT_NE(sent[7].Sql.find("isnull(INI.UPDATEMERIVO, 0)=1 \nAND "
                             "UPPER(ITP.DESCRIPTION)=UPPER('O''Brien') order by REVNUM "),
            std::string::npos);
}

TEST_F(ExportStatementsTest, ESalesCustomerExportRanksPriceListsOfThePosStore) {
  script_->AnswerSql("FROM SLO", vq::test::Rows({"DEFINEPRICELIST"}, {{Value(4)}}));
  script_->AnswerSql("BRA.ABBREVIATION=:BraAbbr", vq::test::Rows({"ID"}, {{Value(7)}}));
  script_->AnswerSql("WAR.ABBREVIATION=:3", vq::test::Rows({"ID"}, {{Value(8)}}));
  script_->AnswerSql("SCO.ABBREVIATION=:4", vq::test::Rows({"ID"}, {{Value(9)}}));
  connector_.State().ExtApplicationID = 3;
  int32_t code = -1;
  std::string message, value;
  connector_.GetCustomers(17, pos_, code, message, value);
  ASSERT_EQ(code, 0) << message;

  const std::vector<Statement> sent = ExportStatements();
  ASSERT_EQ(sent.size(), 8u);
  const std::string filter = "isnull(CUA.UPDATEEXTERNALSYS, 0)&2=2 ";
  EXPECT_NE(sent[4].Sql.find("left join SHV on CUA.SHVID=SHV.ID left join CPZ on "
                             "CUA.CPZID=CPZ.ID where CUA.COMID=:ComID and isnull(CUA.REVNUM, "
                             "1)>:num and " +
                             filter + "order by REVNUM"),
            std::string::npos);
  EXPECT_EQ(sent[4].Sql.rfind("select top 100 CUA.ABBREVIATION as AccountNum", 0), 0u);
  EXPECT_EQ(sent[4].Placeholders, Values({Value(1), Value(17)}));
  EXPECT_NE(sent[5].Sql.find("TRD.ABBREVIATION+'-'+'ΕΔΡΑ' as Address"), std::string::npos);
  EXPECT_EQ(sent[5].Placeholders, Values({Value(1), Value(17), Value(1), Value(17)}));
  EXPECT_NE(sent[6].Sql.find("as TenderType"), std::string::npos);
  const std::string &lists = sent[7].Sql;
  EXPECT_NE(lists.find(filter + " and ISNULL(PLL.DISABLED, 0)=0 AND PLL.COMID=1 AND "
                                "(PLL.CURID=CUA.CURID OR PLL.CURID=FYE.CURIDBASE) and "
                                "PLL.SCOID=9 "),
            std::string::npos);
  EXPECT_NE(lists.find("PLL.VALIDFROM<=CONVERT(DATETIME, '09/03/2026', 103)"), std::string::npos);
  EXPECT_NE(lists.find(", case when isnull(PLL.BRAID, 0)=0 and isnull(PLL.WARID, 0)=0 then 1 "
                       "else 2 end"),
            std::string::npos);
  EXPECT_EQ(sent[7].Placeholders, Values({Value(1), Value(17)}));
}

TEST_F(ExportStatementsTest, CustomerWithoutValuesHasEveryFixedElement) {
  const std::vector<std::string> fields = {
      "AccountNum", "Name",          "NameAlias", "Address",    "Street",     "StreetCRM",
      "City",       "ZipCode",       "Phone",     "PhoneLocal", "StrNum",     "Currency",
      "CustGroup",  "CustGroupName", "CreditMax", "LineDisc",   "EMail",      "Country",
      "CountryID",  "CountryCode",   "VatNum",    "VatStatus",  "VatNum",     "SearchCode",
      "IsInactive", "DoyCode",       "DoyName",   "PreName",    "PreCode",    "MunName",
      "MunCode",    "OcpCode",       "OcpName",   "RevNum",     "ReferenceID"};
  script_->AnswerSql("from CUA left join CAC",
                     vq::test::Rows(fields, {vq::Row(fields.size(), Value::Null())}));
  int32_t code = -1;
  std::string message, value;
  connector_.GetCustomers(0, "", code, message, value);
  ASSERT_EQ(code, 0) << message;
  EXPECT_EQ(value,
            "<?xml version=\"1.0\"?><Customers xmlns:xsi=\"http://www.w3.org/2001/"
            "XMLSchema-instance\" xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\"><Items><Customer>"
            "<AccountNum/><Name/><NameAlias/><Address/><StreetNumber/><City/><ZipCode/><Phone/>"
            "<PhoneLocal/><Currency/><CustGroup/><CustGroupName/><CreditMax>0</CreditMax><Email/>"
            "<Street/><CityCode/><Country/><CountryShortCode/><CountryDescr/><RevNum>0</RevNum>"
            "<VatNum/><VatStatus/><DoyCode/><DoyName/><Profession/><ProfessionCode/><Prefecture/>"
            "<PrefectureCode/><ReferenceID/><IsInactive>0</IsInactive><SearchCode/><PriceListID/>"
            "<RetailPriceListID/><AltCustGroup/><AltCustGroupName/><AgencyID/><Fax/>"
            "<ContactPerson1/><ContactPerson2/><Comments/><Website/><CustDiscountCatID/>"
            "<CustDiscountCatName/></Customer></Items></Customers>");
}

// A failing statement or a value that does not convert fails the whole call: no part of
// the document is returned.
TEST_F(ExportStatementsTest, FailuresReturnNoDocument) {
  struct Case {
    bool Items;
    std::string Fragment, Failure;
  };
  for (const Case &c : std::vector<Case>{{true, "from AIC", "Invalid object name 'AIC'"},
                                         {false, "from CUA left join CAC", ""}}) {
    if (c.Failure.empty())
      script_->AnswerSql(
          c.Fragment, vq::test::Rows({"AccountNum", "IsInactive"}, {{Value("C1"), Value("yes")}}));
    else
      script_->FailSql(c.Fragment, c.Failure);
    int32_t code = -1;
    std::string message, value = "stale";
    if (c.Items)
      connector_.GetItems(0, "", code, message, value);
    else
      connector_.GetCustomers(0, "", code, message, value);
    EXPECT_EQ(code, 1) << c.Fragment;
    EXPECT_FALSE(message.empty());
    if (!c.Failure.empty()) {
      EXPECT_EQ(message, c.Failure);
    }
    EXPECT_EQ(value, "");
  }
}

} // namespace
