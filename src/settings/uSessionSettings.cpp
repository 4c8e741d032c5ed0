#include "settings/uSessionSettings.h"

#include "core/uError.h"
#include "settings/uSettingKeys.h"
#include "settings/uSettingsText.h"

#include <array>

namespace vq {
namespace {

using Key = SettingKey<SessionSettings>;
using S = SessionSettings;

constexpr SectionSet AllButESales = InAllOptions & ~InESalesOptions;

// In the order the writer puts them into a section.
const std::array<Key, 19> OptionKeys = {{
    {"RecordsPacket", &S::RecordsPacket, InAllOptions, InAllOptions},
    {"Mask", &S::Mask, InAllOptions, InAllOptions},
    {"UsePll", &S::UsePll, AllButESales, InAllOptions},
    {"ItemUDF1", &S::ItemUDF1, InAllOptions, InAllOptions},
    {"ItemUDF2", &S::ItemUDF2, InAllOptions, InAllOptions},
    {"ItemUDF3", &S::ItemUDF3, InAllOptions, InAllOptions},
    {"ItemUDF4", &S::ItemUDF4, InAllOptions, InAllOptions},
    {"ItemUDF5", &S::ItemUDF5, InAllOptions, InAllOptions},
    {"ItemUDF6", &S::ItemUDF6, InApplicationOptions, InApplicationOptions},
    {"ItemUDF7", &S::ItemUDF7, InApplicationOptions, InApplicationOptions},
    {"ItemUDF8", &S::ItemUDF8, InApplicationOptions, InApplicationOptions},
    {"ItemUDF9", &S::ItemUDF9, InApplicationOptions, InApplicationOptions},
    {"ItemUDF10", &S::ItemUDF10, InApplicationOptions, InApplicationOptions},
    {"ImageNum", &S::ImageNum, InAllOptions, InAllOptions},
    {"DiscID", &S::DiscID, InAllOptions, InAllOptions},
    {"DiscID2", &S::DiscID2, InAllOptions, InAllOptions},
    {"GrossPrice", &S::GrossPrice, InAllOptions, InAllOptions},
    {"XtraFields", &S::XtraFields, InOptions | InWSOptions, InWSOptions},
    {"ItemAltGroupName", &S::ItemAltGroupName, InESalesOptions,
     InESalesOptions | InCRMOptions | InBrenOptions},
}};

} // namespace

SessionSettings ReadSessionSettings(const IniFile &ini, int32_t extApplicationId) {
  SessionSettings settings;
  settings.ServerGuid = DefaultServerGuid;
  ReadConnectionKeys(ini, extApplicationId, settings);
  settings.IsORVEL12 = ini.ReadBool(ConnectionSection(extApplicationId), "IsORVEL12", false);
  ReadOptionKeys<S>(ini, OptionKeys, extApplicationId, settings);
  if (extApplicationId == ESalesApplication) settings.UsePll = false;
  settings.XtraFields = LeadingCharacters(settings.XtraFields, XtraFieldsLength);
  return settings;
}

void WriteSessionSettings(IniFile &ini, const SessionSettings &settings, int32_t extApplicationId) {
  if (CharacterCount(settings.XtraFields) > XtraFieldsLength)
    throw Error("XtraFields holds more than " + std::to_string(XtraFieldsLength) + " characters");
  IniWriteBatch batch(ini);
  WriteConnectionKeys(ini, extApplicationId, settings);
  const OptionSection own = OwnOptionsSection(extApplicationId);
  for (const Key &key : OptionKeys)
    if (key.WrittenTo & own.Member) WriteSettingKey(ini, own.Name, key, settings);
  ini.UpdateFile();
}

} // namespace vq
