#pragma once

#include "settings/uConnectionSettings.h"
#include "settings/uIniFile.h"

#include <cstdint>
#include <string>

namespace vq {

// The connector's global settings, read again at the start of each body. ServerGuid
// stays empty when the file names none.
struct ConnectorSettings : ConnectionSettings {
  int32_t RecordsPacket = 0; // 0: no limit
  bool UsePll = false;       // always false for esales
  std::string ItemUDF1, ItemUDF2, ItemUDF3, ItemUDF4, ItemUDF5;
  std::string ItemUDF6, ItemUDF7, ItemUDF8, ItemUDF9, ItemUDF10;
  int32_t ImageNum = 0; // always 0 for esales
  int32_t DiscID = 2;
  int32_t DiscID2 = 5;
  std::string XtraFields;
  bool GrossPriceQUILLET = true;
};

ConnectorSettings ReadSettings(const IniFile &ini, int32_t extApplicationId);

} // namespace vq
