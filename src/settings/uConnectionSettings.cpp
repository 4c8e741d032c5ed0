#include "settings/uConnectionSettings.h"

#include "settings/uSettingKeys.h"

#include <array>

namespace vq {
namespace {

using Key = SettingKey<ConnectionSettings>;

const std::array<Key, 11> ConnectionKeys = {{
    {"ServerGuid", &ConnectionSettings::ServerGuid},
    {"ServerName", &ConnectionSettings::ServerName},
    {"Port", &ConnectionSettings::Port},
    {"Objversion", &ConnectionSettings::Objversion},
    {"WorkArea", &ConnectionSettings::WorkArea},
    {"ComAbbr", &ConnectionSettings::ComAbbr},
    {"BraAbbr", &ConnectionSettings::BraAbbr},
    {"WarAbbr", &ConnectionSettings::WarAbbr},
    {"ScoAbbr", &ConnectionSettings::ScoAbbr},
    {"UserName", &ConnectionSettings::UserName},
    {"Password", &ConnectionSettings::Password},
}};

} // namespace

void ReadConnectionKeys(const IniFile &ini, int32_t extApplicationId,
                        ConnectionSettings &settings) {
  const std::string_view section = ConnectionSection(extApplicationId);
  for (const Key &key : ConnectionKeys) ReadSettingKey(ini, section, key, settings);
}

void WriteConnectionKeys(IniFile &ini, int32_t extApplicationId,
                         const ConnectionSettings &settings) {
  const std::string_view section = ConnectionSection(extApplicationId);
  for (const Key &key : ConnectionKeys) WriteSettingKey(ini, section, key, settings);
  ini.WriteInteger(section, "ApplicationID", settings.ApplicationID);
  ini.WriteBool(section, "IsORVEL12", false);
}

} // namespace vq
