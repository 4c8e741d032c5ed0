#pragma once

#include "settings/uIniFile.h"
#include "settings/uSettingsSections.h"

#include <cstdint>
#include <string>

namespace vq {

// The keys of the connection section that both the session and the connector keep.
struct ConnectionSettings {
  std::string ServerGuid;
  std::string Objversion;
  std::string ServerName;
  std::string Port;
  std::string WorkArea;
  std::string UserName;
  std::string Password; // stored in plain text
  std::string ComAbbr;
  std::string BraAbbr;
  std::string WarAbbr;
  std::string ScoAbbr;
  int32_t ApplicationID = ClientApplicationID; // never read: always the connector's number
};

// From the connection section of the calling application; missing keys keep the values
// the struct holds.
void ReadConnectionKeys(const IniFile &ini, int32_t extApplicationId, ConnectionSettings &settings);
// Also writes ApplicationID, and IsORVEL12 as false: the connection dialog knows one
// back-office application.
void WriteConnectionKeys(IniFile &ini, int32_t extApplicationId,
                         const ConnectionSettings &settings);

} // namespace vq
