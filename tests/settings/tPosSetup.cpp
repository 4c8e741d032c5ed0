#include "settings/uPosSetup.h"

#include "core/uError.h"
#include "settings/tSettingsFile.h"
#include "settings/uPosSettings.h"

#include <algorithm>

namespace vq {
namespace {

using PosSetupTest = test::SettingsFileTest;

PosSetup SampleSetup() {
  PosSetup setup;
  setup.Type2 = "ΤΔΑ";
  setup.Type3 = "ΕΙΣ";
  setup.DefaultCustomer = "ΛΙΑΝ";
  setup.BraAbbr = "ΚΕΝ";
  setup.WarAbbr = "Α1";
  setup.ScoAbbr = "Χ1";
  setup.UsePll = true;
  setup.InventoryImp = "Πλεόνασμα";
  setup.VatTDate = ParseDateText("01/09/2024");
  setup.SalesTypes = {{"ΑΠ", "ΑΛΠ", 12}, {"ΤΙΜ", "ΤΔΑ", 0}};
  setup.TenderTypes = {{"1", "ΤΑΜ"}};
  setup.Charges = {{"Μεταφορικά", "ΜΕΤ"}};
  setup.Salesmen = {{"7", "ΠΩΛ"}};
  setup.Statuses = {{3, "shipped"}, {0, "no state"}, {-1, "negative"}};
  return setup;
}

TEST_F(PosSetupTest, ReplacesThePosSectionWithExactlyWhatTheSetupHolds) {
  WriteUtf8("[POS1]\r\nUnknown=gone\r\nSalesman_9=old\r\n\r\n[Other]\r\nX=1\r\n");
  IniFile ini(FileName());
  WritePosSetup(ini, "POS1", SampleSetup(), 0, false);
  EXPECT_EQ(Utf8(),
            "[Other]\r\nX=1\r\n"
            "[POS1]\r\nType_2=ΤΔΑ\r\nType_3=ΕΙΣ\r\nType_4=\r\nDefaultCustomer=ΛΙΑΝ\r\n"
            "DefaultSupplier=\r\nBraAbbr=ΚΕΝ\r\nWarAbbr=Α1\r\nScoAbbr=Χ1\r\nUpdateStatus=0\r\n"
            "UsePll=1\r\nPllItemsOnly=0\r\nInventory_Imp=Πλεόνασμα\r\nInventory_Exp=\r\n"
            "VatTDate=01/09/2024\r\n"
            "InvoiceType_ΑΠ=ΑΛΠ\r\nInvoiceTypeSCO_ΑΠ=12\r\n"
            "InvoiceType_ΤΙΜ=ΤΔΑ\r\nInvoiceTypeSCO_ΤΙΜ=0\r\n"
            "TenderType_1=ΤΑΜ\r\nChargeType_Μεταφορικά=ΜΕΤ\r\nSalesman_7=ΠΩΛ\r\n"
            "Status_3=shipped\r\n");
  EXPECT_FALSE(ini.SectionExists("TEMPLATE0"));

  const PosSettings pos = ReadPosParams(ini, "POS1", 0);
  EXPECT_EQ(pos.UpdateStatus, 2) << "a setup without status is read back as final";
  EXPECT_EQ(DayMonthYearText(pos.VatTDate), "01/09/2024");
}

TEST_F(PosSetupTest, NoVatDateIsWrittenAsEmptyText) {
  IniFile ini(FileName());
  PosSetup setup;
  setup.UpdateStatus = 1;
  WritePosSetup(ini, "POS1", setup, 0, false);
  EXPECT_EQ(ini.ReadString("POS1", "VatTDate", "-"), "");
  EXPECT_EQ(ReadPosParams(ini, "POS1", 0).UpdateStatus, 1);
}

TEST_F(PosSetupTest, TemplateGetsTheSameKeysButNoBranchWarehouseOrStore) {
  WriteUtf8("[TEMPLATE2]\nStale=gone\n[TEMPLATE0]\nKept=1\n");
  IniFile ini(FileName());
  WritePosSetup(ini, "POS1", SampleSetup(), 2, true);
  std::vector<IniEntry> expected = ini.ReadSectionValues("POS1");
  std::erase_if(expected, [](const IniEntry &entry) {
    return entry.Key == "BraAbbr" || entry.Key == "WarAbbr" || entry.Key == "ScoAbbr";
  });
  EXPECT_EQ(ini.ReadSectionValues("TEMPLATE2"), expected);
  EXPECT_EQ(ini.ReadString("TEMPLATE0", "Kept", ""), "1") << "another application's template";
}

TEST_F(PosSetupTest, RowsWithTheSameCodeLeaveOneKeyWithTheLaterValue) {
  IniFile ini(FileName());
  PosSetup setup;
  setup.TenderTypes = {{"1", "first"}, {"2", "other"}, {"1", "later"}};
  WritePosSetup(ini, "POS1", setup, 0, false);
  EXPECT_EQ(ReadPosMapping(ini, "POS1", TenderTypePrefix, "1"), "later");
  const std::vector<std::string> keys = ini.ReadSection("POS1");
  EXPECT_EQ(std::count(keys.begin(), keys.end(), "TenderType_1"), 1);
}

TEST_F(PosSetupTest, SetupTheFileCannotHoldLeavesTheSectionAsItWas) {
  const std::string before = "[POS1]\r\nType_2=ΤΔΑ\r\nInvoiceType_ΑΠ=ΑΛΠ\r\n";
  WriteUtf8(before);
  IniFile ini(FileName());
  PosSetup setup = SampleSetup();
  setup.Salesmen.push_back({"8\nType_2", "injected"});
  EXPECT_THROW(WritePosSetup(ini, "POS1", setup, 0, true), Error);
  EXPECT_THROW(WritePosSetup(ini, "", SampleSetup(), 0, false), Error);
  EXPECT_EQ(Utf8(), before);
  EXPECT_EQ(ini.ReadString("POS1", "Type_2", ""), "ΤΔΑ");
}

} // namespace
} // namespace vq
