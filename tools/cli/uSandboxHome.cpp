#include "uSandboxHome.h"

#include "core/uError.h"
#include "sandbox/uWorkArea.h"
#include "settings/uIniFile.h"

#include <utility>
#include <vector>

namespace vq::cli {
namespace {

using Keys = std::vector<std::pair<const char *, const char *>>;

// The sandbox's own company, operator and POS as its demo data defines them.
const Keys ConnectionKeys = {{"ServerGuid", "{71A6A086-CA28-404E-84B6-E31EBEBEBB9D}"},
                             {"ServerName", "sandbox"},
                             {"Port", ""},
                             {"ApplicationID", "8"},
                             {"IsORVEL12", "0"},
                             {"Objversion", "1.0"},
                             {"ComAbbr", "DEMO"},
                             {"BraAbbr", "HQ"},
                             {"WarAbbr", "W1"},
                             {"ScoAbbr", "S1"},
                             {"UserName", "admin"},
                             {"Password", "admin"}};

const Keys OptionKeys = {{"RecordsPacket", "0"}, {"UsePll", "0"},  {"ImageNum", "0"},
                         {"DiscID", "2"},        {"DiscID2", "5"}, {"GrossPrice", "0"}};

const Keys PosKeys = {{"BraAbbr", "HQ"},
                      {"WarAbbr", "W1"},
                      {"ScoAbbr", "S1"},
                      {"Type_2", "ALP"},
                      {"Type_3", "EIS"},
                      {"Type_4", "EPI"},
                      {"DefaultCustomer", "CUS000"},
                      {"DefaultSupplier", "SUP001"},
                      {"UpdateStatus", "2"},
                      {"UsePll", "0"},
                      {"PllItemsOnly", "0"},
                      {"Inventory_Imp", "Απογραφή - Πλεόνασμα"},
                      {"Inventory_Exp", "Απογραφή - Έλλειμμα"},
                      {"VatTDate", ""},
                      {"InvoiceType_1", "ALP"},
                      {"InvoiceType_2", "TIM"},
                      {"InvoiceType_3", "PIS"},
                      {"TenderType_01", "CASH1"},
                      {"TenderType_03", "CARD1"},
                      {"TenderType2_01", "Μετρητά"},
                      {"TenderType2_02", "Πίστωση 30 ημερών"},
                      {"TenderType2_03", "Κάρτα"},
                      {"ChargeType_1", "MEF"},
                      {"ChargeType_2", "SYS"},
                      {"PurchaseType_1", "TAG"},
                      {"ShipmentType_1", "DEA"},
                      {"Salesman_1", "P01"},
                      {"Salesman_2", "P02"}};

void WriteKeys(IniFile &ini, const char *section, const Keys &keys) {
  for (const auto &[key, value] : keys) ini.WriteString(section, key, value);
}

} // namespace

std::string SandboxWorkAreaName(bool demo) { return demo ? "DEMO" : "MAIN"; }

void CreateSandboxHome(const std::filesystem::path &dir, bool demo) {
  const std::filesystem::path settingsPath = dir / "BackOfficeParams.ini";
  if (std::filesystem::exists(settingsPath)) throw Error(settingsPath.string() + " exists already");
  const std::string workArea = SandboxWorkAreaName(demo);
  sandbox::CreateWorkArea(dir, workArea,
                          demo ? sandbox::WorkAreaContent::Demo
                               : sandbox::WorkAreaContent::MinimalCompany);
  try {
    IniFile ini(settingsPath.string());
    IniWriteBatch batch(ini);
    WriteKeys(ini, "Connection", ConnectionKeys);
    ini.WriteString("Connection", "WorkArea", workArea);
    WriteKeys(ini, "Options", OptionKeys);
    WriteKeys(ini, "POS1", PosKeys);
    ini.UpdateFile();
  } catch (...) {
    // A home without its settings is no home: take the new work area back.
    std::error_code ignored;
    std::filesystem::remove(sandbox::WorkAreaPath(dir, workArea), ignored);
    throw;
  }
}

} // namespace vq::cli
