#pragma once

#include "com/uMethodBodies.h"
#include "session/uConnectorState.h"

#include <cstdint>
#include <string>

namespace vq {

// The automation object: the eight methods of IBackOfficeConnector in portable form.
// Methods with a ResultCode never raise; GenericCall and BackOfficeSetup raise vq::Error
// for what COM returns as a failed HRESULT. Texts are UTF-8.
class TBackOfficeConnector {
public:
  // The directory that holds BackOfficeParams.ini (the DLL's own directory on Windows).
  explicit TBackOfficeConnector(std::string moduleDirectory,
                                MethodBodies bodies = StandardBodies());
  ~TBackOfficeConnector();
  TBackOfficeConnector(const TBackOfficeConnector&) = delete;
  TBackOfficeConnector& operator=(const TBackOfficeConnector&) = delete;

  void GetCustomers(int32_t revNum, const std::string& xmlPosInfo, int32_t& resultCode,
                    std::string& resultMessage, std::string& value);
  void GetItems(int32_t revNum, const std::string& xmlPosInfo, int32_t& resultCode,
                std::string& resultMessage, std::string& value);
  void InsertTransactions(const std::string& xmlData, const std::string& xmlPosInfo,
                          int32_t& resultCode, std::string& resultMessage);
  void BackOfficeSetup(const std::string& xmlPosInfo);
  void OpenConnection(int32_t& resultCode, std::string& resultMessage);
  void CloseConnection(int32_t& resultCode, std::string& resultMessage);
  void InsertCustomer(const std::string& xmlData, const std::string& xmlPosInfo,
                      int32_t& resultCode, std::string& resultMessage, std::string& customerCode);
  std::string GenericCall(const std::string& xmlCommand, const std::string& xmlPosInfo);

  TConnectorState& State() { return state_; }

  // Path of the settings file in the module directory.
  std::string SettingsPath() const;

  void DoInitialize();
  void DoFinalize();
  void Connect();

private:
  void RunExportFrame(const char* method, const MethodBodies::Export& body, int32_t revNum,
                      const std::string& xmlPosInfo, int32_t& resultCode,
                      std::string& resultMessage, std::string& value);

  // Runs with the session OpenConnection left.
  void RunImportFrame(const char* method, const MethodBodies::Import& body,
                      const std::string& xmlData, const std::string& xmlPosInfo,
                      int32_t& resultCode, std::string& resultMessage, std::string& customerCode);

  TConnectorState state_;
  MethodBodies bodies_;
};

} // namespace vq
