#include "settings/uConnectorSettings.h"
#include "settings/uSessionSettings.h"

#include "core/uError.h"
#include "settings/tSettingsFile.h"

namespace vq {
namespace {

using OptionSettingsTest = test::SettingsFileTest;

TEST_F(OptionSettingsTest, WithoutAFileEverySettingTakesItsDefault) {
  const IniFile ini(FileName());
  const ConnectorSettings global = ReadSettings(ini, 0);
  EXPECT_EQ(global.RecordsPacket, 0);
  EXPECT_EQ(global.DiscID, 2);
  EXPECT_EQ(global.DiscID2, 5);
  EXPECT_TRUE(global.GrossPriceQUILLET);
  EXPECT_EQ(global.ServerGuid, "");
  EXPECT_EQ(global.ApplicationID, 8);

  const SessionSettings session = ReadSessionSettings(ini, 0);
  EXPECT_EQ(session.ServerGuid, "{71A6A086-CA28-404E-84B6-E31EBEBEBB9D}");
  EXPECT_EQ(session.ApplicationID, 8);
  EXPECT_EQ(session.RecordsPacket, 0);
  EXPECT_EQ(session.DiscID, 2);
  EXPECT_EQ(session.DiscID2, 5);
}

TEST_F(OptionSettingsTest, EachApplicationReadsItsOwnConnectionSection) {
  WriteUtf8("[Connection]\nServerName=pos\nApplicationID=3\n[WSConnection]\nServerName=web\n"
            "[eSalesConnection]\nServerName=esales\n[CRMConnection]\nServerName=crm\n"
            "[BrenConnection]\nServerName=bren\nServerGuid={G}\n");
  const IniFile ini(FileName());
  const char *expected[] = {"pos", "pos", "web", "esales", "crm", "bren"};
  for (int32_t id = 0; id <= 5; ++id) {
    EXPECT_EQ(ReadSettings(ini, id).ServerName, expected[id]) << id;
    EXPECT_EQ(ReadSessionSettings(ini, id).ServerName, expected[id]) << id;
    EXPECT_EQ(ReadSessionSettings(ini, id).ApplicationID, 8) << "never read from the file";
  }
  EXPECT_EQ(ReadSettings(ini, 5).ServerGuid, "{G}");
  EXPECT_EQ(ReadSessionSettings(ini, 5).ServerGuid, "{G}");
}

TEST_F(OptionSettingsTest, ApplicationOptionsReplaceOptionsOnlyForThatApplication) {
  WriteUtf8("[Options]\nRecordsPacket=10\nItemUDF1=opt\n[WSOptions]\nRecordsPacket=50\n");
  const IniFile ini(FileName());
  EXPECT_EQ(ReadSettings(ini, 2).RecordsPacket, 50);
  EXPECT_EQ(ReadSessionSettings(ini, 2).RecordsPacket, 50);
  EXPECT_EQ(ReadSettings(ini, 0).RecordsPacket, 10);
  EXPECT_EQ(ReadSettings(ini, 3).RecordsPacket, 10) << "esales has no RecordsPacket of its own";
  EXPECT_EQ(ReadSettings(ini, 2).ItemUDF1, "opt")
      << "a key the section lacks keeps the Options value";
}

TEST_F(OptionSettingsTest, SessionAndConnectorReadEachKeyFromTheirOwnSections) {
  WriteUtf8("[Options]\nUsePll=1\nImageNum=3\nDiscID=1\nXtraFields=1,2\nItemUDF6=no\nMask=C*\n"
            "[WSOptions]\nDiscID=4\nXtraFields=7,8\nItemUDF6=web\n"
            "[eSalesOptions]\nUsePll=1\nImageNum=6\nDiscID2=3\nGrossPriceQUILLET=0\n"
            "ItemAltGroupName=Alt\n[CRMOptions]\nItemAltGroupName=crm\n");
  const IniFile ini(FileName());

  const ConnectorSettings pos = ReadSettings(ini, 0);
  EXPECT_TRUE(pos.UsePll);
  EXPECT_EQ(pos.ImageNum, 3);
  EXPECT_EQ(pos.XtraFields, "") << "the connector reads XtraFields only from WSOptions";
  EXPECT_EQ(pos.ItemUDF6, "") << "ItemUDF6 belongs to the application sections";

  const ConnectorSettings web = ReadSettings(ini, 2);
  EXPECT_EQ(web.DiscID, 1) << "the connector reads DiscID only from Options and eSalesOptions";
  EXPECT_EQ(web.XtraFields, "7,8");
  EXPECT_EQ(web.ItemUDF6, "web");

  const ConnectorSettings eSales = ReadSettings(ini, 3);
  EXPECT_FALSE(eSales.UsePll);
  EXPECT_EQ(eSales.ImageNum, 0);
  EXPECT_EQ(eSales.DiscID2, 3);
  EXPECT_FALSE(eSales.GrossPriceQUILLET);
  EXPECT_TRUE(ReadSettings(ini, 2).GrossPriceQUILLET);

  const SessionSettings sessionPos = ReadSessionSettings(ini, 0);
  EXPECT_EQ(sessionPos.XtraFields, "1,2");
  EXPECT_EQ(sessionPos.Mask, "C*");
  EXPECT_EQ(sessionPos.ItemUDF6, "");
  EXPECT_EQ(ReadSessionSettings(ini, 2).DiscID, 4);
  EXPECT_EQ(ReadSessionSettings(ini, 4).ItemAltGroupName, "")
      << "only esales reads ItemAltGroupName";

  const SessionSettings sessionESales = ReadSessionSettings(ini, 3);
  EXPECT_FALSE(sessionESales.UsePll);
  EXPECT_EQ(sessionESales.ImageNum, 6);
  EXPECT_EQ(sessionESales.XtraFields, "1,2");
  EXPECT_EQ(sessionESales.ItemAltGroupName, "Alt");
}

TEST_F(OptionSettingsTest, XtraFieldsIsKeptToFiftyCharacters) {
  const std::string greek50 = [] {
    std::string text;
    for (int i = 0; i < 50; ++i) text += "Ω";
    return text;
  }();
  WriteUtf8("[WSOptions]\nXtraFields=" + greek50 + "12\n");
  IniFile ini(FileName());
  EXPECT_EQ(ReadSettings(ini, 2).XtraFields, greek50);
  SessionSettings settings = ReadSessionSettings(ini, 2);
  EXPECT_EQ(settings.XtraFields, greek50);

  const std::string before = Bytes();
  settings.XtraFields += "1";
  EXPECT_THROW(WriteSessionSettings(ini, settings, 2), Error);
  EXPECT_EQ(Bytes(), before);
}

SessionSettings SampleSession() {
  SessionSettings settings;
  settings.ServerGuid = "{G}";
  settings.ServerName = "srv";
  settings.Port = "8080";
  settings.Objversion = "5.1";
  settings.WorkArea = "Περιοχή";
  settings.ComAbbr = "C";
  settings.BraAbbr = "B";
  settings.WarAbbr = "W";
  settings.ScoAbbr = "S";
  settings.UserName = "admin";
  settings.Password = "p=ss";
  settings.IsORVEL12 = true;
  settings.RecordsPacket = 100;
  settings.Mask = "M";
  settings.UsePll = true;
  settings.ItemUDF1 = "u1";
  settings.ItemUDF10 = "u10";
  settings.ImageNum = 2;
  settings.DiscID = 3;
  settings.DiscID2 = 4;
  settings.GrossPrice = true;
  settings.XtraFields = "1,2";
  settings.ItemAltGroupName = "Alt";
  return settings;
}

TEST_F(OptionSettingsTest, SessionWriterAddsConnectionAndOptionsForThePosAndKeepsTheRest) {
  WriteUtf8("; kept\n[POS1]\nBraAbbr=X\n");
  IniFile ini(FileName());
  WriteSessionSettings(ini, SampleSession(), 0);
  EXPECT_EQ(Utf8(),
            "; kept\n[POS1]\nBraAbbr=X\n"
            "[Connection]\nServerGuid={G}\nServerName=srv\nPort=8080\nObjversion=5.1\n"
            "WorkArea=Περιοχή\nComAbbr=C\nBraAbbr=B\nWarAbbr=W\nScoAbbr=S\nUserName=admin\n"
            "Password=p=ss\nApplicationID=8\nIsORVEL12=0\n"
            "[Options]\nRecordsPacket=100\nMask=M\nUsePll=1\nItemUDF1=u1\nItemUDF2=\n"
            "ItemUDF3=\nItemUDF4=\nItemUDF5=\nImageNum=2\nDiscID=3\nDiscID2=4\nGrossPrice=1\n");
}

TEST_F(OptionSettingsTest, SessionWriterGivesEachApplicationItsOwnExtraKeys) {
  IniFile ini(FileName());
  const SessionSettings settings = SampleSession();
  for (int32_t id = 2; id <= 5; ++id) WriteSessionSettings(ini, settings, id);
  EXPECT_FALSE(ini.SectionExists("Options"));
  const struct {
    const char *Section;
    bool XtraFields, ItemAltGroupName;
  } cases[] = {{"WSOptions", true, false},
               {"eSalesOptions", false, true},
               {"CRMOptions", false, true},
               {"BrenOptions", false, true}};
  for (const auto &c : cases) {
    const std::vector<std::string> keys = ini.ReadSection(c.Section);
    EXPECT_EQ(keys.size(), 17u + c.XtraFields + c.ItemAltGroupName) << c.Section;
    EXPECT_EQ(ini.ReadString(c.Section, "ItemUDF10", ""), "u10") << c.Section;
    EXPECT_EQ(ini.ReadString(c.Section, "XtraFields", "-") != "-", c.XtraFields) << c.Section;
    EXPECT_EQ(ini.ReadString(c.Section, "ItemAltGroupName", "-") != "-", c.ItemAltGroupName)
        << c.Section;
  }

  const SessionSettings back = ReadSessionSettings(ini, 2);
  EXPECT_EQ(back.Password, "p=ss");
  EXPECT_EQ(back.WorkArea, "Περιοχή");
  EXPECT_EQ(back.ItemUDF10, "u10");
  EXPECT_EQ(back.XtraFields, "1,2");
  EXPECT_FALSE(back.IsORVEL12) << "written as false";
}

} // namespace
} // namespace vq
