#include "com/dBackOfficeConnector.h"
#include "com/uConnectorMessages.h"
#include "com/uHelpers.h"
#include "core/uError.h"
#include "double/uScriptedServer.h"
#include "session/uServerFactory.h"
#include "session/uSessionMessages.h"
#include "support/uTempHome.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

using vq::Value;

namespace {

struct Outputs {
  int32_t Code = -1;
  std::string Message = "stale";
  std::string Value = "stale";
  std::string CustomerCode = "stale";
};

class CallFrameTest : public ::testing::Test {
protected:
  CallFrameTest() : factory_(script_) {
    home_.Write("BackOfficeParams.ini",
                "[Connection]\nServerName=erp1\nWorkArea=DEMO\nComAbbr=CO\nBraAbbr=HQ\n");
    script_->AnswerSql("FROM COM", vq::test::Rows({"ID"}, {{Value(1)}}));
    script_->AnswerSql("FROM BRA", vq::test::Rows({"ID"}, {{Value(2)}}));
  }

  vq::TBackOfficeConnector& Connector(vq::MethodBodies bodies = {}) {
    connector_ = std::make_unique<vq::TBackOfficeConnector>(home_.Dir(), std::move(bodies));
    return *connector_;
  }

  Outputs GetCustomers(vq::TBackOfficeConnector& connector) {
    Outputs out;
    connector.GetCustomers(0, "", out.Code, out.Message, out.Value);
    return out;
  }
  Outputs Open(vq::TBackOfficeConnector& connector) {
    Outputs out;
    connector.OpenConnection(out.Code, out.Message);
    return out;
  }
  Outputs InsertTransactions(vq::TBackOfficeConnector& connector) {
    Outputs out;
    connector.InsertTransactions("<Transactions/>", "<Pos/>", out.Code, out.Message);
    return out;
  }

  std::shared_ptr<vq::test::ScriptedServer> script_ = std::make_shared<vq::test::ScriptedServer>();
  vq::test::ScopedScriptedFactory factory_;
  vq::test::TempHome home_;
  std::unique_ptr<vq::TBackOfficeConnector> connector_;
};

vq::MethodBodies::Export Document(std::string text) {
  return [text](vq::TConnectorState&, int32_t, const std::string&) { return text; };
}

} // namespace

TEST_F(CallFrameTest, ExportRunsItsBodyAndReleasesTheSession) {
  vq::MethodBodies bodies;
  int32_t seenRevNum = 0;
  bodies.GetItems = [&](vq::TConnectorState& state, int32_t revNum, const std::string& pos) {
    seenRevNum = revNum;
    EXPECT_TRUE(state.Session->Errors().empty());
    EXPECT_EQ(state.Session->COMID, 1);
    return "<Items/>" + pos;
  };
  vq::TBackOfficeConnector& connector = Connector(bodies);
  Outputs out;
  connector.GetItems(42, "<Pos/>", out.Code, out.Message, out.Value);
  EXPECT_EQ(out.Code, 0);
  EXPECT_EQ(out.Message, "");
  EXPECT_EQ(out.Value, "<Items/><Pos/>");
  EXPECT_EQ(seenRevNum, 42);
  EXPECT_EQ(script_->ConnectionsAlive, 0);
  EXPECT_FALSE(connector.State().Settings);
  EXPECT_FALSE(connector.State().Messages);
}

TEST_F(CallFrameTest, SessionErrorsAreReportedWithoutRunningTheBody) {
  script_->LoginResult = 8;
  bool ran = false;
  vq::MethodBodies bodies;
  bodies.GetCustomers = [&](vq::TConnectorState&, int32_t, const std::string&) {
    ran = true;
    return std::string("<Customers/>");
  };
  const Outputs out = GetCustomers(Connector(bodies));
  EXPECT_EQ(out.Code, 1);
  EXPECT_EQ(out.Message, vq::LoginMessage(8) + "\r\n");
  EXPECT_EQ(out.Value, "");
  EXPECT_FALSE(ran);
  EXPECT_EQ(script_->ConnectionsAlive, 0);
}

TEST_F(CallFrameTest, BodyFailureLeavesValueEmpty) {
  vq::MethodBodies bodies;
  bodies.GetCustomers = [](vq::TConnectorState&, int32_t, const std::string&) -> std::string {
    throw vq::Error("Incorrect syntax near 'FROM'");
  };
  const Outputs out = GetCustomers(Connector(bodies));
  EXPECT_EQ(out.Code, 1);
  EXPECT_EQ(out.Message, "Incorrect syntax near 'FROM'");
  EXPECT_EQ(out.Value, "");
  EXPECT_EQ(script_->ConnectionsAlive, 0);
}

TEST_F(CallFrameTest, FailureWhileFinalizingAfterACompleteExportKeepsTheDocument) {
  script_->DisconnectFailure = "The server went away";
  vq::MethodBodies bodies;
  bodies.GetCustomers = Document("<Customers/>");
  vq::TBackOfficeConnector& connector = Connector(bodies);
  const Outputs out = GetCustomers(connector);
  EXPECT_EQ(out.Code, 1);
  EXPECT_EQ(out.Message, "The server went away");
  EXPECT_EQ(out.Value, "<Customers/>");
  EXPECT_FALSE(connector.State().Session);
  EXPECT_EQ(script_->ConnectionsAlive, 0);
}

TEST_F(CallFrameTest, MethodWithoutBodySaysItIsNotAvailable) {
  const Outputs out = GetCustomers(Connector());
  EXPECT_EQ(out.Code, 1);
  EXPECT_EQ(out.Message, vq::MethodNotAvailableMessage("GetCustomers"));
  EXPECT_EQ(Connector().GenericCall("<Commands/>", ""),
            vq::BuildErrorXml(1, vq::MethodNotAvailableMessage("GenericCall")));
}

TEST_F(CallFrameTest, MissingComponentFailsTheCall) {
  vq::SetConnectionFactory(nullptr);
  vq::MethodBodies bodies;
  bodies.GetCustomers = Document("<Customers/>");
  const Outputs out = GetCustomers(Connector(bodies));
  EXPECT_EQ(out.Code, 1);
  EXPECT_EQ(out.Message, "Class not registered");
  EXPECT_EQ(Open(Connector()).Code, 1);
}

TEST_F(CallFrameTest, ServerThatStaysUnconnectedFailsAtOnce) {
  script_->ConnectsWhenAsked = false;
  const Outputs out = Open(Connector());
  EXPECT_EQ(out.Code, 1);
  EXPECT_EQ(out.Message, std::string(vq::NotConnectedMessage) + "\r\n");
  EXPECT_TRUE(script_->CallsOf("WorkAreaConnection").empty());
}

TEST_F(CallFrameTest, CloseConnectionOnANewObjectSucceeds) {
  Outputs out;
  Connector().CloseConnection(out.Code, out.Message);
  EXPECT_EQ(out.Code, 0);
  EXPECT_EQ(out.Message, "");
}

TEST_F(CallFrameTest, OpenConnectionTwiceReplacesAndClosesTheFirstSession) {
  vq::TBackOfficeConnector& connector = Connector();
  EXPECT_EQ(Open(connector).Code, 0);
  const size_t afterFirst = script_->Calls.size();
  const Outputs second = Open(connector);
  EXPECT_EQ(second.Code, 0);
  EXPECT_EQ(second.Message, "");
  EXPECT_EQ(script_->ConnectionsMade, 2);
  EXPECT_EQ(script_->ConnectionsAlive, 1);
  // The first session is disconnected before the second one is made.
  EXPECT_EQ(script_->Calls[afterFirst].Member, "SetConnected");
  EXPECT_EQ(script_->Calls[afterFirst].Args[0], Value(false));
  Outputs closed;
  connector.CloseConnection(closed.Code, closed.Message);
  EXPECT_EQ(closed.Code, 0);
  EXPECT_EQ(script_->ConnectionsAlive, 0);
}

TEST_F(CallFrameTest, RefusedOpenConnectionKeepsTheSessionWithItsErrors) {
  script_->LoginResult = 4;
  vq::TBackOfficeConnector& connector = Connector();
  const Outputs out = Open(connector);
  EXPECT_EQ(out.Code, 1);
  EXPECT_EQ(out.Message, vq::LoginMessage(4) + "\r\n");
  EXPECT_TRUE(connector.State().Session);
  const Outputs insert = InsertTransactions(connector);
  EXPECT_EQ(insert.Code, 1);
  EXPECT_EQ(insert.Message, vq::LoginMessage(4) + "\r\n");
}

TEST_F(CallFrameTest, ImportCallsNeedTheSessionOfOpenConnection) {
  vq::MethodBodies bodies;
  bodies.GetItems = Document("<Items/>");
  bodies.InsertTransactions = [](vq::TConnectorState& state, const std::string& data,
                                 const std::string&, int32_t& code, std::string& message,
                                 std::string&) {
    EXPECT_TRUE(state.Messages && state.Messages->empty());
    code = 2;
    message = "posted " + data;
  };
  vq::TBackOfficeConnector& connector = Connector(bodies);
  Outputs none = InsertTransactions(connector);
  EXPECT_EQ(none.Code, 1);
  EXPECT_EQ(none.Message, vq::NoSessionMessage);

  ASSERT_EQ(Open(connector).Code, 0);
  connector.State().Messages->push_back("left from an earlier call");
  const Outputs posted = InsertTransactions(connector);
  EXPECT_EQ(posted.Code, 2);
  EXPECT_EQ(posted.Message, "posted <Transactions/>");

  Outputs items;
  connector.GetItems(0, "", items.Code, items.Message, items.Value);
  EXPECT_EQ(items.Code, 0);
  EXPECT_EQ(InsertTransactions(connector).Code, 1); // the export released the session

  Outputs customer;
  connector.InsertCustomer("<Customers/>", "<Pos/>", customer.Code, customer.Message,
                           customer.CustomerCode);
  EXPECT_EQ(customer.Code, 1);
  EXPECT_EQ(customer.CustomerCode, "");
}

TEST_F(CallFrameTest, BackOfficeSetupFailsAtTheComLevelAndKeepsTheSettings) {
  vq::TBackOfficeConnector& connector = Connector();
  EXPECT_THROW(connector.BackOfficeSetup(""), vq::Error);
  EXPECT_TRUE(connector.State().Settings);
}

#ifndef _WIN32
TEST_F(CallFrameTest, GetCustomersTracesItsStepsInOrder) {
  const std::string trace = home_.Path().string() + "/trace.txt";
  ::setenv("VQCONNECTOR_TRACE", trace.c_str(), 1);
  script_->LoginResult = 1;
  GetCustomers(Connector());
  ::unsetenv("VQCONNECTOR_TRACE");
  std::ifstream in(trace);
  std::vector<std::string> frame;
  for (std::string line; std::getline(in, line);)
    if (line.rfind("GetCustomers", 0) == 0) frame.push_back(line);
  std::vector<std::string> expected = {"GetCustomers XmlPosInfo=\t1"};
  for (int step = 2; step <= 11; ++step) expected.push_back("GetCustomers\t" + std::to_string(step));
  EXPECT_EQ(frame, expected);
}
#endif
