#include "settings/uIniFile.h"

#include "core/uError.h"
#include "settings/tSettingsFile.h"

#include <filesystem>

namespace vq {
namespace {

using IniFileTest = test::SettingsFileTest;

TEST_F(IniFileTest, MissingFileGivesEveryReadItsDefault) {
  const IniFile ini(FileName());
  EXPECT_EQ(ini.ReadString("Connection", "ServerName", "none"), "none");
  EXPECT_EQ(ini.ReadInteger("Options", "RecordsPacket", 7), 7);
  EXPECT_TRUE(ini.ReadBool("Options", "UsePll", true));
  EXPECT_EQ(ini.ReadDate("POS1", "VatTDate"), TDateTime{});
  EXPECT_TRUE(ini.ReadSectionValues("Options").empty());
  EXPECT_FALSE(ini.SectionExists("Options"));
}

TEST_F(IniFileTest, NamesMatchWithoutRegardToCaseGreekToo) {
  WriteUtf8("[Ταμείο Κέντρου]\r\nΚωδικός=1\r\n[Options]\r\nRecordsPacket=10\r\n");
  const IniFile ini(FileName());
  EXPECT_EQ(ini.ReadString("ΤΑΜΕΊΟ ΚΈΝΤΡΟΥ", "κωδικός", ""), "1");
  EXPECT_EQ(ini.ReadInteger("OPTIONS", "recordspacket", 0), 10);
  EXPECT_TRUE(ini.SectionExists("options"));
}

TEST_F(IniFileTest, FirstOfTwoEqualSectionsOrKeysWins) {
  WriteUtf8("[POS1]\nUsePll=1\nusepll=0\nBraAbbr=A\n[pos1]\nUsePll=0\nWarAbbr=W\n");
  const IniFile ini(FileName());
  EXPECT_TRUE(ini.ReadBool("POS1", "UsePll", false));
  EXPECT_EQ(ini.ReadString("POS1", "WarAbbr", "-"), "-");
  const std::vector<IniEntry> expected = {{"UsePll", "1"}, {"BraAbbr", "A"}};
  EXPECT_EQ(ini.ReadSectionValues("Pos1"), expected);
  EXPECT_EQ(ini.ReadSection("Pos1"), (std::vector<std::string>{"UsePll", "BraAbbr"}));
}

TEST_F(IniFileTest, OnlyKeyValueLinesInsideASectionCount) {
  WriteUtf8("Before=section\n; comment=not a key\n[ POS1 ]\n  Type_2 =  ΤΔΑ  \n"
            "no equals sign\n=no key\n;Type_3=commented\n[broken\nType_4=still POS1\n");
  const IniFile ini(FileName());
  const std::vector<IniEntry> expected = {{"Type_2", "ΤΔΑ"}, {"Type_4", "still POS1"}};
  EXPECT_EQ(ini.ReadSectionValues("POS1"), expected);
  EXPECT_FALSE(ini.SectionExists("broken"));
}

struct StoredText {
  const char *Text;
  int32_t Integer; // read with default -1
  bool Flag;       // read with default true
};

TEST_F(IniFileTest, TypedReadsFallBackToTheDefaultForTextsOfAnotherType) {
  const StoredText cases[] = {
      {"12", 12, true},  {" 0 ", 0, false},   {"-3", -3, true},          {"", -1, true},
      {"abc", -1, true}, {"12abc", -1, true}, {"99999999999", -1, true}, {"1.5", -1, true},
  };
  for (const StoredText &c : cases) {
    WriteUtf8(std::string("[S]\nK=") + c.Text + "\n");
    const IniFile ini(FileName());
    EXPECT_EQ(ini.ReadInteger("S", "K", -1), c.Integer) << c.Text;
    EXPECT_EQ(ini.ReadBool("S", "K", true), c.Flag) << c.Text;
  }
}

TEST_F(IniFileTest, DateThatIsEmptyOrNoDateReadsAsDayZero) {
  WriteUtf8("[S]\nGood=01/03/2024\nEmpty=\nBad=31/02/2024\nWords=tomorrow\n");
  const IniFile ini(FileName());
  EXPECT_EQ(DayMonthYearText(ini.ReadDate("S", "Good")), "01/03/2024");
  for (const char *key : {"Empty", "Bad", "Words", "Missing"})
    EXPECT_EQ(ini.ReadDate("S", key), TDateTime{}) << key;
}

TEST_F(IniFileTest, TypedWritesUseTheStoredForms) {
  IniFile ini(FileName());
  ini.WriteInteger("S", "Number", -42);
  ini.WriteBool("S", "Yes", true);
  ini.WriteBool("S", "No", false);
  ini.WriteDate("S", "Date", *ParseDateText("05/11/2023"));
  EXPECT_EQ(Bytes(), "[S]\r\nNumber=-42\r\nYes=1\r\nNo=0\r\nDate=05/11/2023\r\n");
}

TEST_F(IniFileTest, GreekIsStoredInTheAnsiCodePage) {
  IniFile ini(FileName());
  ini.WriteString("Πωλήσεις", "Ταμείο", "Αθήνα");
  EXPECT_EQ(
      Bytes(),
      "[\xD0\xF9\xEB\xDE\xF3\xE5\xE9\xF2]\r\n\xD4\xE1\xEC\xE5\xDF\xEF=\xC1\xE8\xDE\xED\xE1\r\n");
  EXPECT_EQ(ini.ReadString("ΠΩΛΉΣΕΙΣ", "ταμείο", ""), "Αθήνα");
}

TEST_F(IniFileTest, WriteChangesOnlyTheLineItConcerns) {
  // Bytes the code page does not define and a line without its break must survive too.
  const std::string before = "; settings\r\n[Connection]\r\nServerName=old\r\nPort=80\r\n\r\n"
                             "[POS1]\r\nkeep=\xAA\xFF\r\n\r\n[Other]\r\nX=1";
  WriteBytes(before);
  IniFile ini(FileName());
  ini.WriteString("connection", "servername", "new");
  EXPECT_EQ(Bytes(), "; settings\r\n[Connection]\r\nServerName=new\r\nPort=80\r\n\r\n"
                     "[POS1]\r\nkeep=\xAA\xFF\r\n\r\n[Other]\r\nX=1");
}

TEST_F(IniFileTest, NewKeyEndsItsSectionAndNewSectionEndsTheFile) {
  WriteBytes("[A]\nX=1\n\n[B]\nY=2");
  IniFile ini(FileName());
  ini.WriteString("A", "Z", "3");
  ini.WriteString("B", "W", "4");
  ini.WriteString("C", "V", "5");
  EXPECT_EQ(Bytes(), "[A]\nX=1\nZ=3\n\n[B]\nY=2\nW=4\n[C]\nV=5\n");
}

TEST_F(IniFileTest, EraseSectionRemovesEveryCopyAndDeleteKeyEveryLine) {
  WriteBytes("[POS1]\nA=1\nA=2\nB=3\n[Keep]\nA=1\n[pos1]\nC=4\n");
  IniFile ini(FileName());
  ini.DeleteKey("POS1", "a");
  EXPECT_EQ(Bytes(), "[POS1]\nB=3\n[Keep]\nA=1\n[pos1]\nC=4\n");
  ini.EraseSection("Pos1");
  EXPECT_EQ(Bytes(), "[Keep]\nA=1\n");
  EXPECT_FALSE(ini.SectionExists("POS1"));
}

TEST_F(IniFileTest, EditThatChangesNothingCreatesNoFile) {
  IniFile ini(FileName());
  ini.EraseSection("POS1");
  ini.DeleteKey("POS1", "A");
  EXPECT_FALSE(std::filesystem::exists(Path()));
}

TEST_F(IniFileTest, ReplacedFileKeepsItsPermissions) {
  namespace fs = std::filesystem;
  WriteBytes("[S]\nK=1\n");
  const fs::perms chosen = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
  fs::permissions(Path(), chosen);
  IniFile(FileName()).WriteString("S", "K", "2");
  EXPECT_EQ(fs::status(Path()).permissions(), chosen);
}

TEST_F(IniFileTest, ObjectHeldAcrossCallsSeesEditsOnDisk) {
  WriteUtf8("[Options]\nRecordsPacket=10\n");
  const IniFile ini(FileName());
  EXPECT_EQ(ini.ReadInteger("Options", "RecordsPacket", 0), 10);
  WriteUtf8("[Options]\nRecordsPacket=20\n");
  EXPECT_EQ(ini.ReadInteger("Options", "RecordsPacket", 0), 20);
  std::filesystem::remove(Path());
  EXPECT_EQ(ini.ReadInteger("Options", "RecordsPacket", 0), 0);
}

TEST_F(IniFileTest, TextTheFileCouldNotHoldIsRefusedAndNothingIsWritten) {
  const std::string before = "[POS1]\nA=1\n";
  WriteBytes(before);
  IniFile ini(FileName());
  const struct {
    const char *Section;
    const char *Key;
    const char *Value;
  } cases[] = {
      {"POS1", "A", "two\nlines"}, {"POS1", "A", "cr\rhere"},
      {"POS1", "B=C", "x"},        {"POS1", "[X]", "x"},
      {"POS1", ";A", "x"},         {"POS1", " ", "x"},
      {"POS]1", "A", "x"},         {"", "A", "x"},
      {"POS1", "A", "Жук"},        {"POS1", "A", "\xFF\xFE"},
  };
  for (const auto &c : cases) {
    EXPECT_THROW(ini.WriteString(c.Section, c.Key, c.Value), Error)
        << c.Section << c.Key << c.Value;
    EXPECT_EQ(Bytes(), before);
  }
}

TEST_F(IniFileTest, WriteThatCannotReachTheDiskFailsAndKeepsTheFile) {
  IniFile inMissingDir((Dir() / "missing" / "BackOfficeParams.ini").string());
  EXPECT_THROW(inMissingDir.WriteString("S", "K", "V"), Error);

  std::filesystem::create_directory(Path());
  IniFile onDirectory(FileName());
  EXPECT_THROW(onDirectory.WriteString("S", "K", "V"), Error);
  EXPECT_TRUE(std::filesystem::is_directory(Path()));
  EXPECT_EQ(onDirectory.ReadString("S", "K", "default"), "default");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Dir()), {}), 1)
      << "no temporary file is left behind";
}

TEST_F(IniFileTest, ReadOnlyFileRefusesWritesWithTheSystemsReason) {
  WriteBytes("[S]\nK=1\n");
  std::filesystem::permissions(Path(), std::filesystem::perms::owner_read |
                                           std::filesystem::perms::group_read |
                                           std::filesystem::perms::others_read);
  IniFile ini(FileName());
  try {
    ini.WriteString("S", "K", "2");
    FAIL() << "the write went through";
  } catch (const Error &error) {
    EXPECT_NE(std::string(error.what()).find(FileName()), std::string::npos) << error.what();
    EXPECT_NE(std::string(error.what())
                  .find(std::make_error_code(std::errc::permission_denied).message()),
              std::string::npos)
        << error.what();
  }
  EXPECT_EQ(Bytes(), "[S]\nK=1\n");
}

TEST_F(IniFileTest, BatchPutsItsWritesOnDiskTogetherOrNotAtAll) {
  WriteBytes("[S]\nK=1\n");
  IniFile ini(FileName());
  {
    IniWriteBatch batch(ini);
    ini.WriteString("S", "K", "2");
    ini.WriteString("S", "L", "3");
    EXPECT_EQ(ini.ReadString("S", "K", ""), "2") << "reads see the held writes";
    EXPECT_EQ(Bytes(), "[S]\nK=1\n");
    ini.UpdateFile();
    EXPECT_EQ(Bytes(), "[S]\nK=2\nL=3\n");
    ini.EraseSection("S");
  }
  EXPECT_EQ(Bytes(), "[S]\nK=2\nL=3\n") << "writes not flushed are dropped";
  EXPECT_EQ(ini.ReadString("S", "K", ""), "2");
}

} // namespace
} // namespace vq
