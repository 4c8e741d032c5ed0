#pragma once

#include "settings/uConnectionSettings.h"
#include "settings/uIniFile.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace vq {

// The application server the session connects to when the file names none.
inline constexpr std::string_view DefaultServerGuid = "{71A6A086-CA28-404E-84B6-E31EBEBEBB9D}";

// What the session keeps of the connection section and the option sections.
struct SessionSettings : ConnectionSettings {
  bool IsORVEL12 = false; // only carried
  std::string Mask;
  std::string ItemUDF1, ItemUDF2, ItemUDF3, ItemUDF4, ItemUDF5;
  std::string ItemUDF6, ItemUDF7, ItemUDF8, ItemUDF9, ItemUDF10;
  std::string ItemAltGroupName;
  std::string XtraFields;
  bool UsePll = false; // always false for esales
  bool GrossPrice = false;
  int32_t RecordsPacket = 0;
  int32_t ImageNum = 0;
  int32_t DiscID = 2;
  int32_t DiscID2 = 5;
};

SessionSettings ReadSessionSettings(const IniFile &ini, int32_t extApplicationId);

// The connection section, then the option keys the calling application owns, in one
// replacement of the file. An XtraFields longer than the file keeps is refused.
void WriteSessionSettings(IniFile &ini, const SessionSettings &settings, int32_t extApplicationId);

} // namespace vq
