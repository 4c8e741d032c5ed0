#include "com/dBackOfficeConnector.h"

#include "com/uConnectorMessages.h"
#include "com/uHelpers.h"
#include "core/uError.h"
#include "core/uTrace.h"
#include "session/uSessionMessages.h"

#include <exception>

namespace vq {
namespace {

constexpr const char* SettingsFileName = "BackOfficeParams.ini";

} // namespace

TBackOfficeConnector::TBackOfficeConnector(std::string moduleDirectory, MethodBodies bodies)
    : bodies_(std::move(bodies)) {
  if (!moduleDirectory.empty() && moduleDirectory.back() != '/' && moduleDirectory.back() != '\\')
    moduleDirectory += '/';
  state_.ModuleDirectory = std::move(moduleDirectory);
}

TBackOfficeConnector::~TBackOfficeConnector() {
  try {
    DoFinalize();
  } catch (...) {
    // Nothing can be reported from a destructor.
  }
}

std::string TBackOfficeConnector::SettingsPath() const {
  return state_.ModuleDirectory + SettingsFileName;
}

void TBackOfficeConnector::DoInitialize() {
  Trace("DoInitialize", 1);
  if (state_.Session) {
    // Close a session still held on the server before it is replaced.
    try {
      state_.Session->Close();
    } catch (...) {
      // A server that fails to disconnect is released all the same.
    }
    state_.Session.reset();
  }
  state_.Settings = std::make_unique<IniFile>(SettingsPath());
  Trace("DoInitialize", 2);
  state_.Session = std::make_unique<TOrvelConnection>(*state_.Settings, state_.ExtApplicationID);
  Trace("DoInitialize", 3);
  state_.Messages = std::make_unique<std::vector<std::string>>();
  Trace("DoInitialize", 4);
}

void TBackOfficeConnector::DoFinalize() {
  Trace("DoFinalize", 1);
  Trace("DoFinalize", 2);
  // Every field is released even when closing the session fails; that failure is raised
  // at the end. The settings object is freed after the session that refers to it.
  std::unique_ptr<IniFile> settings = std::move(state_.Settings);
  Trace("DoFinalize", 3);
  std::exception_ptr failure;
  if (state_.Session) {
    try {
      state_.Session->Close();
    } catch (...) {
      failure = std::current_exception();
    }
  }
  state_.Session.reset();
  settings.reset();
  Trace("DoFinalize", 4);
  state_.Messages.reset();
  Trace("DoFinalize", 5);
  if (failure) std::rethrow_exception(failure);
}

void TBackOfficeConnector::Connect() {
  Trace("Connect", 1);
  Trace("Connect", 2);
  TOrvelConnection& session = *state_.Session;
  if (session.Open() && session.Errors().empty()) {
    Trace("Connect", 3);
    session.Login();
    Trace("Connect", 4);
  } else if (session.Errors().empty()) {
    // Without a line here the call would fail later, at its first server call.
    session.AddError(NotConnectedMessage);
  }
}

void TBackOfficeConnector::RunExportFrame(const char* method, const MethodBodies::Export& body,
                                          int32_t revNum,
                                          const std::string& xmlPosInfo, int32_t& resultCode,
                                          std::string& resultMessage, std::string& value) {
  const bool traced = std::string_view(method) == "GetCustomers";
  const auto trace = [&](int32_t step) {
    if (traced) Trace(method, step);
  };
  if (traced) Trace(std::string(method) + " XmlPosInfo=" + xmlPosInfo, 1);
  resultCode = 0;
  trace(2);
  resultMessage.clear();
  trace(3);
  value.clear();
  trace(4);
  try {
    trace(5);
    DoInitialize();
    trace(6);
    std::string document;
    try {
      trace(7);
      Connect();
      trace(8);
      if (!state_.Session->Errors().empty()) {
        trace(9);
        resultCode = 1;
        trace(10);
        resultMessage = state_.Session->ErrorsText();
        trace(11);
      } else {
        if (!body) throw Error(MethodNotAvailableMessage(method));
        value = body(state_, revNum, xmlPosInfo);
      }
    } catch (...) {
      DoFinalize();
      throw;
    }
    DoFinalize();
  } catch (const std::exception& failure) {
    resultCode = 1;
    resultMessage = failure.what();
  }
}

void TBackOfficeConnector::GetCustomers(int32_t revNum, const std::string& xmlPosInfo,
                                        int32_t& resultCode, std::string& resultMessage,
                                        std::string& value) {
  RunExportFrame("GetCustomers", bodies_.GetCustomers, revNum, xmlPosInfo, resultCode, resultMessage,
                 value);
}

void TBackOfficeConnector::GetItems(int32_t revNum, const std::string& xmlPosInfo,
                                    int32_t& resultCode, std::string& resultMessage,
                                    std::string& value) {
  RunExportFrame("GetItems", bodies_.GetItems, revNum, xmlPosInfo, resultCode, resultMessage, value);
}

void TBackOfficeConnector::OpenConnection(int32_t& resultCode, std::string& resultMessage) {
  resultCode = 0;
  resultMessage.clear();
  try {
    DoInitialize();
    Connect();
    if (!state_.Session->Errors().empty()) {
      resultCode = 1;
      resultMessage = state_.Session->ErrorsText();
    }
  } catch (const std::exception& failure) {
    resultCode = 1;
    resultMessage = failure.what();
  }
}

void TBackOfficeConnector::CloseConnection(int32_t& resultCode, std::string& resultMessage) {
  resultCode = 0;
  resultMessage.clear();
  try {
    DoFinalize();
  } catch (const std::exception& failure) {
    resultCode = 1;
    resultMessage = failure.what();
  }
}

void TBackOfficeConnector::RunImportFrame(const char* method, const MethodBodies::Import& body,
                                          const std::string& xmlData,
                                          const std::string& xmlPosInfo, int32_t& resultCode,
                                          std::string& resultMessage, std::string& customerCode) {
  const bool traced = std::string_view(method) == "InsertTransactions";
  const auto trace = [&](int32_t step) {
    if (traced) Trace(method, step);
  };
  resultMessage.clear();
  resultCode = 0;
  for (int32_t step = 3; step <= 7; ++step) trace(step);
  try {
    if (!state_.Session) throw Error(NoSessionMessage);
    if (!state_.Session->Errors().empty()) {
      trace(8);
      resultCode = 1;
      trace(9);
      resultMessage = state_.Session->ErrorsText();
      trace(10);
      return;
    }
    state_.Messages = std::make_unique<std::vector<std::string>>();
    if (!body) throw Error(MethodNotAvailableMessage(method));
    body(state_, xmlData, xmlPosInfo, resultCode, resultMessage, customerCode);
  } catch (const std::exception& failure) {
    resultCode = 1;
    resultMessage = failure.what();
  }
}

void TBackOfficeConnector::InsertTransactions(const std::string& xmlData,
                                              const std::string& xmlPosInfo, int32_t& resultCode,
                                              std::string& resultMessage) {
  Trace("InsertTransactions XmlPosInfo=" + xmlPosInfo, 1);
  Trace("InsertTransactions XmlData=" + xmlData, 2);
  std::string noCustomerCode;
  RunImportFrame("InsertTransactions", bodies_.InsertTransactions, xmlData, xmlPosInfo,
                 resultCode, resultMessage, noCustomerCode);
}

void TBackOfficeConnector::InsertCustomer(const std::string& xmlData,
                                          const std::string& xmlPosInfo, int32_t& resultCode,
                                          std::string& resultMessage, std::string& customerCode) {
  customerCode.clear();
  RunImportFrame("InsertCustomer", bodies_.InsertCustomer, xmlData, xmlPosInfo, resultCode,
                 resultMessage, customerCode);
}

std::string TBackOfficeConnector::GenericCall(const std::string& /*xmlCommand*/,
                                              const std::string& /*xmlPosInfo*/) {
  return BuildErrorXml(1, MethodNotAvailableMessage("GenericCall"));
}

void TBackOfficeConnector::BackOfficeSetup(const std::string& /*xmlPosInfo*/) {
  if (!state_.Settings) state_.Settings = std::make_unique<IniFile>(SettingsPath());
  throw Error(MethodNotAvailableMessage("BackOfficeSetup"));
}

} // namespace vq
