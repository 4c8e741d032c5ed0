#include "settings/uPosSettings.h"

#include "core/uTrace.h"
#include "settings/uIniValues.h"
#include "settings/uSettingsSections.h"

#include <array>
#include <functional>

namespace vq {

PosSettings ReadPosParams(const IniFile &ini, const std::string &name, int32_t extApplicationId) {
  PosSettings pos;
  const auto read = [&](std::string_view key) { return ini.ReadString(name, key, ""); };
  std::string updateStatus, usePll, pllItemsOnly, vatTDate;
  const bool eSales = extApplicationId == ESalesApplication;

  // Typed keys are read as text and converted in a step of their own, so that the trace
  // tells a failing read from a failing conversion.
  const std::array<std::function<void()>, 19> steps = {
      [&] { pos.Type2 = read(Type2Key); },
      [&] { pos.Type3 = read(Type3Key); },
      [&] { pos.Type4 = read(Type4Key); },
      [&] { pos.DefaultCustomer = read(DefaultCustomerKey); },
      [&] { updateStatus = read(UpdateStatusKey); },
      [&] { pos.UpdateStatus = IniInteger(updateStatus, FinalStatus); },
      [&] {
        if (pos.UpdateStatus == 0) pos.UpdateStatus = FinalStatus;
      },
      [&] { pos.BraAbbr = read(BraAbbrKey); },
      [&] { pos.WarAbbr = read(WarAbbrKey); },
      [&] { pos.ScoAbbr = read(ScoAbbrKey); },
      [&] { usePll = read(UsePllKey); },
      [&] { pos.UsePll = IniFlag(usePll, false); },
      [&] { pllItemsOnly = read(PllItemsOnlyKey); },
      [&] { pos.PllItemsOnly = IniFlag(pllItemsOnly, false); },
      [&] { pos.DefaultSupplier = read(DefaultSupplierKey); },
      [&] { vatTDate = read(VatTDateKey); },
      [&] { pos.VatTDate = IniDate(vatTDate); },
      // The price-list options of a POS section do not apply to esales.
      [&] {
        if (eSales) pos.UsePll = false;
      },
      [&] {
        if (eSales) pos.PllItemsOnly = false;
      },
  };

  const std::string label = "ReadPosParams aName=" + name;
  Trace(label, 0);
  for (size_t i = 0; i < steps.size(); ++i) {
    steps[i]();
    Trace(label, static_cast<int32_t>(i + 1));
  }
  return pos;
}

std::string ReadPosMapping(const IniFile &ini, std::string_view posName, std::string_view prefix,
                           std::string_view code) {
  return ini.ReadString(posName, std::string(prefix) + std::string(code), "");
}

} // namespace vq
