#pragma once

#include "core/uDateTime.h"
#include "session/uServerInterface.h"
#include "settings/uIniFile.h"
#include "settings/uSessionSettings.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vq {

// The connector's session with the back office's application server: the server's
// connection object, the settings it was made from, and the working context that the
// server gives after login. A session with errors is never used for work.
class TOrvelConnection {
public:
  // Creates the server's connection object (a failure is raised) and reads the settings;
  // the server is not contacted yet. The settings object is not owned.
  TOrvelConnection(IniFile &settings, int32_t extApplicationId);
  ~TOrvelConnection();
  TOrvelConnection(const TOrvelConnection &) = delete;
  TOrvelConnection &operator=(const TOrvelConnection &) = delete;

  // Connects the server object; false (with the reason in Errors, if the server gave one)
  // when it did not connect.
  bool Open();
  // Logs in and loads the working context; false when the server refused or a step failed.
  bool Login();
  void SaveSettings();
  // Disconnects the server object; raises what the server raises.
  void Close();

  IKvrConnection &Server() { return *server_; }
  const std::vector<std::string> &Errors() const { return errors_; }
  void AddError(std::string line) { errors_.push_back(std::move(line)); }
  // Each line followed by CR LF.
  std::string ErrorsText() const;

  SessionSettings Config; // connection and option settings; abbreviations updated at login
  int32_t ExtApplicationID = 0;

  // Working context, 0 until login.
  int32_t FYEID = 0;
  int32_t SCOID = 0;
  int32_t WARID = 0;
  int32_t BRAID = 0;
  int32_t COMID = 0;
  int32_t BOOKAMOUNTDEC = 0;
  int32_t QTYDEC = 0;
  TDateTime WORKDATE;
  TDateTime FYEBEGINDATE;
  TDateTime FYEENDDATE;

  // The lookups of the login, by the settings' abbreviations.
  struct Place {
    int32_t Id = 0;
    std::string Abbreviation;
    std::string Name;
  };
  int32_t FindCompany();
  int32_t FindBranch();
  Place FindWarehouse();
  Place FindStore();

private:
  // Makes the server use the place the settings want ("WAR" or "SCO") when it chose another;
  // returns the abbreviation the server then reports.
  std::string UseWantedPlace(const Place &wanted, const std::string &kind, int32_t &current);
  void LoadWorkingContext();

  std::unique_ptr<IKvrConnection> server_;
  std::vector<std::string> errors_;
  IniFile &settings_;
};

} // namespace vq
