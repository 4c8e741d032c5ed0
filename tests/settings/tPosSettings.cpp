#include "settings/uPosSettings.h"

#include "settings/tSettingsFile.h"

#include <cstdlib>

namespace vq {
namespace {

using PosSettingsTest = test::SettingsFileTest;

TEST_F(PosSettingsTest, MissingSectionGivesTheDefaults) {
  const PosSettings pos = ReadPosParams(IniFile(FileName()), "POS1", 0);
  EXPECT_EQ(pos.UpdateStatus, 2);
  EXPECT_FALSE(pos.UsePll);
  EXPECT_EQ(pos.BraAbbr, "");
  EXPECT_EQ(pos.VatTDate, TDateTime{});
}

TEST_F(PosSettingsTest, ReadsEveryKeyOfTheSectionWhateverItsCase) {
  WriteUtf8("[Ταμείο 1]\nType_2=ΤΔΑ\nType_3=ΕΙΣ\nType_4=ΕΠΙ\nDefaultCustomer=Λιανική\n"
            "UpdateStatus=1\nBraAbbr=ΚΕΝ\nWarAbbr=Α1\nScoAbbr=Χ1\nUsePll=1\nPllItemsOnly=1\n"
            "DefaultSupplier=ΠΡ\nVatTDate=01/01/2024\n");
  const PosSettings pos = ReadPosParams(IniFile(FileName()), "ΤΑΜΕΊΟ 1", 0);
  EXPECT_EQ(pos.Type2, "ΤΔΑ");
  EXPECT_EQ(pos.Type3, "ΕΙΣ");
  EXPECT_EQ(pos.Type4, "ΕΠΙ");
  EXPECT_EQ(pos.DefaultCustomer, "Λιανική");
  EXPECT_EQ(pos.UpdateStatus, 1);
  EXPECT_EQ(pos.BraAbbr, "ΚΕΝ");
  EXPECT_EQ(pos.WarAbbr, "Α1");
  EXPECT_EQ(pos.ScoAbbr, "Χ1");
  EXPECT_TRUE(pos.UsePll);
  EXPECT_TRUE(pos.PllItemsOnly);
  EXPECT_EQ(pos.DefaultSupplier, "ΠΡ");
  EXPECT_EQ(DayMonthYearText(pos.VatTDate), "01/01/2024");
}

TEST_F(PosSettingsTest, UpdateStatusOfZeroOrNoNumberIsFinal) {
  const struct {
    const char *Stored;
    int32_t Read;
  } cases[] = {{"0", 2}, {"1", 1}, {"2", 2}, {"", 2}, {"draft", 2}};
  for (const auto &c : cases) {
    WriteUtf8(std::string("[POS1]\nUpdateStatus=") + c.Stored + "\n");
    EXPECT_EQ(ReadPosParams(IniFile(FileName()), "POS1", 0).UpdateStatus, c.Read) << c.Stored;
  }
}

TEST_F(PosSettingsTest, ESalesIgnoresThePriceListFlags) {
  WriteUtf8("[POS1]\nUsePll=1\nPllItemsOnly=1\n");
  const IniFile ini(FileName());
  for (int32_t id : {0, 1, 2, 4, 5}) EXPECT_TRUE(ReadPosParams(ini, "POS1", id).UsePll) << id;
  const PosSettings eSales = ReadPosParams(ini, "POS1", 3);
  EXPECT_FALSE(eSales.UsePll);
  EXPECT_FALSE(eSales.PllItemsOnly);
}

TEST_F(PosSettingsTest, VatTDateThatIsNoDateIsDayZero) {
  for (const char *stored : {"", "not a date", "32/01/2024", "2024"}) {
    WriteUtf8(std::string("[POS1]\nVatTDate=") + stored + "\n");
    EXPECT_EQ(DayMonthYearText(ReadPosParams(IniFile(FileName()), "POS1", 0).VatTDate),
              "30/12/1899")
        << stored;
  }
}

TEST_F(PosSettingsTest, MappingValueIsReadByPrefixAndCodeAndTrimmed) {
  WriteUtf8("[POS1]\nInvoiceType_ΑΠ =  ΑΛΠ  \nInvoiceTypeSCO_ΑΠ= 12 \nStatus_3=done\n");
  const IniFile ini(FileName());
  EXPECT_EQ(ReadPosMapping(ini, "pos1", InvoiceTypePrefix, "απ"), "ΑΛΠ");
  EXPECT_EQ(ReadPosMapping(ini, "POS1", InvoiceTypeScoPrefix, "ΑΠ"), "12");
  EXPECT_EQ(ReadPosMapping(ini, "POS1", StatusPrefix, "3"), "done");
  EXPECT_EQ(ReadPosMapping(ini, "POS1", TenderTypePrefix, "ΑΠ"), "");
}

#ifdef _WIN32
void SetTraceFile(const std::string &path) { _putenv_s("VQCONNECTOR_TRACE", path.c_str()); }
#else
void SetTraceFile(const std::string &path) { setenv("VQCONNECTOR_TRACE", path.c_str(), 1); }
#endif

TEST_F(PosSettingsTest, TracesZeroBeforeTheFirstReadAndOneToNineteenAfterItsSteps) {
  const std::filesystem::path traceFile = Dir() / "trace.txt";
  SetTraceFile(traceFile.string());
  ReadPosParams(IniFile(FileName()), "Ταμείο 1", 0);
  SetTraceFile("");

  std::string expected;
  for (int value = 0; value <= 19; ++value)
    expected += "ReadPosParams aName=Ταμείο 1\t" + std::to_string(value) + "\n";
  std::ifstream in(traceFile, std::ios::binary);
  std::ostringstream lines;
  lines << in.rdbuf();
  EXPECT_EQ(lines.str(), expected);
}

} // namespace
} // namespace vq
