#include "session/uOrvelConnection.h"

#include "core/uError.h"
#include "session/uRevisionTracking.h"
#include "session/uServerCalls.h"
#include "session/uServerFactory.h"
#include "session/uSessionMessages.h"

#include <filesystem>

namespace vq {
namespace {

std::string DirectoryOf(const std::string &path) {
  const std::filesystem::path parent = std::filesystem::path(path).parent_path();
  return parent.empty() ? std::string() : parent.string();
}

} // namespace

TOrvelConnection::TOrvelConnection(IniFile &settings, int32_t extApplicationId)
    : ExtApplicationID(extApplicationId),
      server_(CreateServerConnection(DirectoryOf(settings.FileName()))), settings_(settings) {
  Config = ReadSessionSettings(settings_, ExtApplicationID);
}

TOrvelConnection::~TOrvelConnection() = default;

std::string TOrvelConnection::ErrorsText() const {
  std::string text;
  for (const std::string &line : errors_) text += line + "\r\n";
  return text;
}

void TOrvelConnection::SaveSettings() { WriteSessionSettings(settings_, Config, ExtApplicationID); }

void TOrvelConnection::Close() { server_->SetConnected(false); }

bool TOrvelConnection::Open() {
  errors_.clear();
  try {
    server_->SetConnected(false);
    server_->SetServerGuid(Config.ServerGuid);
    server_->SetServerName(Config.ServerName);
    if (!Config.Port.empty()) server_->SetServerName(Config.ServerName + ":" + Config.Port);
    server_->SetClientIdentity(Config.ApplicationID, Config.Objversion, Config.Objversion);
    server_->SetConnected(true);
    return server_->Connected();
  } catch (const std::exception &failure) {
    errors_.emplace_back(failure.what());
    return false;
  }
}

int32_t TOrvelConnection::FindCompany() {
  RecordSet rows =
      OpenSql(*server_, "SELECT ID FROM COM WHERE ABBREVIATION=:ComAbbr", {Value(Config.ComAbbr)});
  return rows.IsEmpty() ? 0 : rows.Field("ID").AsInt32();
}

int32_t TOrvelConnection::FindBranch() {
  RecordSet rows =
      OpenSql(*server_, "SELECT ID FROM BRA WHERE ABBREVIATION=:BraAbbr and COMID=:ComID",
              {Value(Config.BraAbbr), Value(COMID)});
  return rows.IsEmpty() ? -1 : rows.Field("ID").AsInt32();
}

TOrvelConnection::Place TOrvelConnection::FindWarehouse() {
  RecordSet rows = OpenSql(*server_,
                           "SELECT WAR.ID, WAR.NAME FROM WAR INNER JOIN BRA ON WAR.BRAID=BRA.ID "
                           "WHERE WAR.ABBREVIATION=:WarAbbr AND BRA.ABBREVIATION=:BraAbbr AND "
                           "BRA.COMID=:ComId",
                           {Value(Config.WarAbbr), Value(Config.BraAbbr), Value(COMID)});
  if (rows.IsEmpty()) return Place{-1, {}, {}};
  return Place{rows.Field("ID").AsInt32(), Config.WarAbbr, rows.Field("NAME").AsText()};
}

TOrvelConnection::Place TOrvelConnection::FindStore() {
  RecordSet rows =
      OpenSql(*server_,
              "SELECT SCO.ID, SCO.ABBREVIATION, SCO.NAME FROM SCO INNER JOIN WAR ON "
              "SCO.WARID=WAR.ID INNER JOIN BRA ON WAR.BRAID=BRA.ID WHERE "
              "WAR.ABBREVIATION=:WarAbbr AND BRA.ABBREVIATION=:BraAbbr AND BRA.COMID=:ComId "
              "ORDER BY SCO.ISMAIN DESC, SCO.ID",
              {Value(Config.WarAbbr), Value(Config.BraAbbr), Value(COMID)});
  if (rows.IsEmpty()) return Place{};
  // The store the settings name, else the first row: the main store, then the lowest id.
  if (!rows.Locate("ABBREVIATION", {Value(Config.ScoAbbr)})) rows.First();
  return Place{rows.Field("ID").AsInt32(), rows.Field("ABBREVIATION").AsText(),
               rows.Field("NAME").AsText()};
}

bool TOrvelConnection::Login() {
  errors_.clear();
  try {
    IAppServer &app = server_->AppServer();
    app.WorkAreaConnection(Config.WorkArea, server_->ServerName(), "");
    SetAppVar(*server_, "SYSTEM", "ISSERVICEAPP", Value(true));
    COMID = FindCompany();
    BRAID = FindBranch();

    Place warehouse;
    Place store;
    if (BRAID != -1 && !Config.WarAbbr.empty()) {
      warehouse = FindWarehouse();
      if (warehouse.Id > 0) store = FindStore();
    }

    const int32_t result =
        app.ApplicationLogin(COMID, BRAID, Today(), Config.UserName, Config.Password, -1);
    if (result != 0) {
      errors_.push_back(LoginMessage(result));
      return false;
    }

    FYEID = GetAppVar(*server_, "APPLICATION", "FYEID").AsInt32();
    SCOID = GetAppVar(*server_, "APPLICATION", "SCOID").AsInt32();
    WARID = GetAppVar(*server_, "APPLICATION", "WARID").AsInt32();
    BRAID = GetAppVar(*server_, "APPLICATION", "BRAID").AsInt32();
    Config.BraAbbr = GetAppVar(*server_, "APPLICATION", "BRAABBR").AsText();

    Config.WarAbbr = UseWantedPlace(warehouse, "WAR", WARID);
    Config.ScoAbbr = UseWantedPlace(store, "SCO", SCOID);

    LoadWorkingContext();
    InstallRevisionTracking(*this);
    return true;
  } catch (const std::exception &failure) {
    errors_.emplace_back(failure.what());
    return false;
  }
}

std::string TOrvelConnection::UseWantedPlace(const Place &wanted, const std::string &kind,
                                             int32_t &current) {
  if (wanted.Id > 0 && wanted.Id != current) {
    SetAppVar(*server_, "APPLICATION", kind + "ID", Value(wanted.Id));
    SetAppVar(*server_, "APPLICATION", kind + "ABBR", Value(wanted.Abbreviation));
    SetAppVar(*server_, "APPLICATION", kind + "NAME", Value(wanted.Name));
    current = wanted.Id;
  }
  return GetAppVar(*server_, "APPLICATION", kind + "ABBR").AsText();
}

void TOrvelConnection::LoadWorkingContext() {
  WORKDATE = GetAppVar(*server_, "APPLICATION", "WORKDATE").AsDate();
  FYEBEGINDATE = GetAppVar(*server_, "APPLICATION", "FYEBEGINDATE").AsDate();
  FYEENDDATE = GetAppVar(*server_, "APPLICATION", "FYEENDDATE").AsDate();
  BOOKAMOUNTDEC = GetAppVar(*server_, "SYSTEM", "BOOKAMOUNTDEC").AsInt32();
  QTYDEC = GetAppVar(*server_, "SYSTEM", "QTYDEC").AsInt32();
}

} // namespace vq
