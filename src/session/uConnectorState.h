#pragma once

#include "session/uOrvelConnection.h"
#include "session/uRecordSet.h"
#include "settings/uConnectorSettings.h"
#include "settings/uIniFile.h"
#include "settings/uPosSettings.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vq {

// What one connector object holds between and during calls. The method bodies run as
// operations on it; the call frame owns its lifecycle.
struct TConnectorState {
  // Directory of BackOfficeParams.ini and of the sandbox work areas, with a trailing separator.
  std::string ModuleDirectory;
  // Which application calls: 0 and 1 the POS, 2 webshop, 3 esales, 4 crm, 5 brenic.
  int32_t ExtApplicationID = 0;

  std::unique_ptr<IniFile> Settings;
  std::unique_ptr<TOrvelConnection> Session;
  std::unique_ptr<std::vector<std::string>> Messages;

  // Copied from the settings file at the start of each body.
  ConnectorSettings Global;
  PosSettings Pos;

  // The calling POS's store context; kept between calls, overwritten, never cleared.
  int32_t PosBranchId = 0;
  int32_t PosWarehouseId = 0;
  int32_t PosStoreId = 0;

  // Per-POS code mappings over all POS of a POS info, rebuilt on demand.
  RecordSet DocTypeMap;
  RecordSet FundMap;
  RecordSet PayMethodMap;
};

} // namespace vq
