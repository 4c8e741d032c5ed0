#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vq {

// Values of ExtApplicationID: which application calls. 0, a new object, counts as the POS.
inline constexpr int32_t PosApplication = 1;
inline constexpr int32_t WebShopApplication = 2;
inline constexpr int32_t ESalesApplication = 3;
inline constexpr int32_t CrmApplication = 4;
inline constexpr int32_t BrenicApplication = 5;

// The client application number the back-office server knows the connector by.
inline constexpr int32_t ClientApplicationID = 8;

// At most this many characters of XtraFields are kept and written.
inline constexpr size_t XtraFieldsLength = 50;

inline constexpr std::string_view OptionsSection = "Options";

// The option sections as a set, so that a key table can say where each key is read
// and written.
using SectionSet = uint8_t;
inline constexpr SectionSet InOptions = 1;
inline constexpr SectionSet InWSOptions = 2;
inline constexpr SectionSet InESalesOptions = 4;
inline constexpr SectionSet InCRMOptions = 8;
inline constexpr SectionSet InBrenOptions = 16;
inline constexpr SectionSet InApplicationOptions =
    InWSOptions | InESalesOptions | InCRMOptions | InBrenOptions;
inline constexpr SectionSet InAllOptions = InOptions | InApplicationOptions;

struct OptionSection {
  std::string_view Name;
  SectionSet Member;
};

std::string_view ConnectionSection(int32_t extApplicationId);
// The calling application's own options section: "Options" for the POS.
OptionSection OwnOptionsSection(int32_t extApplicationId);
// "Options" first, then the application's own section, whose keys replace those read before.
std::vector<OptionSection> OptionSectionsToRead(int32_t extApplicationId);
// "TEMPLATE" and the decimal ExtApplicationID: the suggested setup of a POS section.
std::string TemplateSection(int32_t extApplicationId);

} // namespace vq
