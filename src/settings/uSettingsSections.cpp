#include "settings/uSettingsSections.h"

#include <array>

namespace vq {
namespace {

struct ApplicationSections {
  std::string_view Connection;
  OptionSection Options;
};

// Indexed by ExtApplicationID; 0, 1 and unknown values use the POS row.
constexpr std::array<ApplicationSections, 6> Sections = {{
    {"Connection", {OptionsSection, InOptions}},
    {"Connection", {OptionsSection, InOptions}},
    {"WSConnection", {"WSOptions", InWSOptions}},
    {"eSalesConnection", {"eSalesOptions", InESalesOptions}},
    {"CRMConnection", {"CRMOptions", InCRMOptions}},
    {"BrenConnection", {"BrenOptions", InBrenOptions}},
}};

const ApplicationSections &SectionsOf(int32_t extApplicationId) {
  const bool known =
      extApplicationId >= 0 && extApplicationId < static_cast<int32_t>(Sections.size());
  return Sections[known ? static_cast<size_t>(extApplicationId) : 0];
}

} // namespace

std::string_view ConnectionSection(int32_t extApplicationId) {
  return SectionsOf(extApplicationId).Connection;
}

OptionSection OwnOptionsSection(int32_t extApplicationId) {
  return SectionsOf(extApplicationId).Options;
}

std::vector<OptionSection> OptionSectionsToRead(int32_t extApplicationId) {
  const OptionSection own = OwnOptionsSection(extApplicationId);
  if (own.Member == InOptions) return {own};
  return {{OptionsSection, InOptions}, own};
}

std::string TemplateSection(int32_t extApplicationId) {
  return "TEMPLATE" + std::to_string(extApplicationId);
}

} // namespace vq
