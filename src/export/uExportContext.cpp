#include "export/uExportContext.h"

#include "core/uError.h"
#include "pos/uPosInfo.h"
#include "session/uServerCalls.h"
#include "settings/uConnectorSettings.h"
#include "settings/uSettingsSections.h"

namespace vq {

bool IsExternalApplication(int32_t extApplicationId) {
  return extApplicationId >= WebShopApplication && extApplicationId <= BrenicApplication;
}

std::string ExportFilter(std::string_view table, int32_t extApplicationId) {
  const std::string column = "isnull(" + std::string(table);
  switch (extApplicationId) {
  case WebShopApplication: return column + ".UPDATEEXTERNALSYS, 0)&1=1 ";
  case ESalesApplication: return column + ".UPDATEEXTERNALSYS, 0)&2=2 ";
  case CrmApplication: return column + ".UPDATEEXTERNALSYS, 0)&4=4 ";
  case BrenicApplication: return column + ".UPDATEEXTERNALSYS, 0)&8=8 ";
  default: return column + ".UPDATEMERIVO, 0)=1 ";
  }
}

std::string RowLimit(int32_t recordsPacket) {
  return recordsPacket > 0 ? "top " + std::to_string(recordsPacket) + " " : std::string();
}

bool ReadExportSettings(TConnectorState &state, const std::string &xmlPosInfo) {
  if (!state.Settings) throw Error("The settings file is not open");
  state.Global = ReadSettings(*state.Settings, state.ExtApplicationID);
  if (xmlPosInfo.empty()) return false;
  ReadPosSection(state, ParsePosInfo(xmlPosInfo).First().Name);
  return true;
}

int32_t PriceListLevel(TConnectorState &state) {
  RecordSet options =
      OpenSql(state.Session->Server(),
              "SELECT ISNULL(DEFINEPRICELIST, 0) DEFINEPRICELIST FROM SLO WHERE SLO.COMID=:0",
              {Value(state.Session->COMID)});
  return options.IsEmpty() ? 0 : options.Field("DEFINEPRICELIST").AsInt32();
}

std::string PriceListScope::Condition(std::string_view id) const {
  if (CompanyOnly)
    return "and isnull(PLL.BRAID, 0)=0 and isnull(PLL.WARID, 0)=0 and isnull(PLL.SCOID, 0)=0 ";
  if (Column.empty()) return {};
  return "and PLL." + Column + "=" + std::string(id) + " ";
}

PriceListScope ResolvePriceListScope(TConnectorState &state, int32_t level) {
  PriceListScope scope;
  const auto ranking = [](std::string_view first, std::string_view second) {
    return ", case when isnull(PLL." + std::string(first) + ", 0)=0 and isnull(PLL." +
           std::string(second) + ", 0)=0 then 1 else 2 end";
  };
  switch (level) {
  case 1: scope.CompanyOnly = true; break;
  case 2:
    ResolvePosBranch(state);
    scope = {false, "BRAID", state.PosBranchId, ranking("WARID", "SCOID")};
    break;
  case 3:
    ResolvePosBranch(state);
    ResolvePosWarehouse(state);
    scope = {false, "WARID", state.PosWarehouseId, ranking("BRAID", "SCOID")};
    break;
  case 4:
    ResolvePosBranch(state);
    ResolvePosWarehouse(state);
    ResolvePosStore(state);
    scope = {false, "SCOID", state.PosStoreId, ranking("BRAID", "WARID")};
    break;
  default: break;
  }
  return scope;
}

} // namespace vq
