#include "settings/uConnectorSettings.h"

#include "settings/uSettingKeys.h"
#include "settings/uSettingsText.h"

#include <array>

namespace vq {
namespace {

using Key = SettingKey<ConnectorSettings>;
using S = ConnectorSettings;

constexpr SectionSet AllButESales = InAllOptions & ~InESalesOptions;

const std::array<Key, 17> OptionKeys = {{
    {"RecordsPacket", &S::RecordsPacket, InAllOptions},
    {"UsePll", &S::UsePll, AllButESales},
    {"ItemUDF1", &S::ItemUDF1, InAllOptions},
    {"ItemUDF2", &S::ItemUDF2, InAllOptions},
    {"ItemUDF3", &S::ItemUDF3, InAllOptions},
    {"ItemUDF4", &S::ItemUDF4, InAllOptions},
    {"ItemUDF5", &S::ItemUDF5, InAllOptions},
    {"ItemUDF6", &S::ItemUDF6, InApplicationOptions},
    {"ItemUDF7", &S::ItemUDF7, InApplicationOptions},
    {"ItemUDF8", &S::ItemUDF8, InApplicationOptions},
    {"ItemUDF9", &S::ItemUDF9, InApplicationOptions},
    {"ItemUDF10", &S::ItemUDF10, InApplicationOptions},
    {"ImageNum", &S::ImageNum, AllButESales},
    {"DiscID", &S::DiscID, InOptions | InESalesOptions},
    {"DiscID2", &S::DiscID2, InOptions | InESalesOptions},
    {"XtraFields", &S::XtraFields, InWSOptions},
    {"GrossPriceQUILLET", &S::GrossPriceQUILLET, InESalesOptions},
}};

} // namespace

ConnectorSettings ReadSettings(const IniFile &ini, int32_t extApplicationId) {
  ConnectorSettings settings;
  ReadConnectionKeys(ini, extApplicationId, settings);
  ReadOptionKeys<S>(ini, OptionKeys, extApplicationId, settings);
  if (extApplicationId == ESalesApplication) {
    settings.UsePll = false;
    settings.ImageNum = 0;
  }
  settings.XtraFields = LeadingCharacters(settings.XtraFields, XtraFieldsLength);
  return settings;
}

} // namespace vq
