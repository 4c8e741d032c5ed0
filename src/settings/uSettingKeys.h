#pragma once

#include "settings/uIniFile.h"
#include "settings/uIniValues.h"
#include "settings/uSettingsSections.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>

namespace vq {

template <typename Settings>
using SettingField = std::variant<std::string Settings::*, int32_t Settings::*, bool Settings::*>;

// One key of a settings table: its name, the field of the settings struct it fills, and
// the option sections in which it is read and into which it is written.
template <typename Settings> struct SettingKey {
  std::string_view Key;
  SettingField<Settings> Field;
  SectionSet ReadFrom = 0;
  SectionSet WrittenTo = 0;
};

// The field's value in the form the file stores.
template <typename Settings>
std::string StoredText(const Settings &settings, const SettingField<Settings> &field) {
  return std::visit(
      [&](auto member) -> std::string {
        const auto &value = settings.*member;
        using Type = std::remove_cvref_t<decltype(value)>;
        if constexpr (std::is_same_v<Type, std::string>)
          return value;
        else if constexpr (std::is_same_v<Type, int32_t>)
          return std::to_string(value);
        else
          return IniFlagText(value);
      },
      field);
}

// A key missing from the section leaves the field as it is: its default, or what an
// earlier section gave.
template <typename Settings>
void ReadSettingKey(const IniFile &ini, std::string_view section, const SettingKey<Settings> &key,
                    Settings &settings) {
  std::visit(
      [&](auto field) {
        auto &target = settings.*field;
        using Type = std::remove_reference_t<decltype(target)>;
        if constexpr (std::is_same_v<Type, std::string>)
          target = ini.ReadString(section, key.Key, target);
        else if constexpr (std::is_same_v<Type, int32_t>)
          target = ini.ReadInteger(section, key.Key, target);
        else
          target = ini.ReadBool(section, key.Key, target);
      },
      key.Field);
}

template <typename Settings>
void WriteSettingKey(IniFile &ini, std::string_view section, const SettingKey<Settings> &key,
                     const Settings &settings) {
  ini.WriteString(section, key.Key, StoredText(settings, key.Field));
}

// Reads every key of the table from the sections the calling application reads, in order.
template <typename Settings>
void ReadOptionKeys(const IniFile &ini, std::span<const SettingKey<Settings>> keys,
                    int32_t extApplicationId, Settings &settings) {
  for (const OptionSection &section : OptionSectionsToRead(extApplicationId))
    for (const SettingKey<Settings> &key : keys)
      if (key.ReadFrom & section.Member) ReadSettingKey(ini, section.Name, key, settings);
}

} // namespace vq
