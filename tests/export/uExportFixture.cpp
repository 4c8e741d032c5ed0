#include "export/uExportFixture.h"

#include "core/uText.h"
#include "sandbox/uTsqlEngine.h"
#include "sandbox/uWorkArea.h"
#include "settings/uIniFile.h"

#include <gtest/gtest.h>

namespace vq::test {

const char *const Pos1 =
    "<Pos><PosItems><rConfigPos><Name>POS1</Name></rConfigPos></PosItems></Pos>";

ExportFixture::ExportFixture() : connector_(home_.Home().Dir()) {
  // Every application connects to the demo work area as the POS does.
  IniFile ini(home_.Home().Dir() + "BackOfficeParams.ini");
  const std::vector<IniEntry> connection = ini.ReadSectionValues("Connection");
  for (const char *section :
       {"WSConnection", "eSalesConnection", "CRMConnection", "BrenConnection"})
    for (const IniEntry &entry : connection) ini.WriteString(section, entry.Key, entry.Value);
  ini.UpdateFile();
}

void ExportFixture::Setting(const std::string &section, const std::string &key,
                            const std::string &value) const {
  IniFile ini(home_.Home().Dir() + "BackOfficeParams.ini");
  ini.WriteString(section, key, value);
  ini.UpdateFile();
}

void ExportFixture::RawSql(const std::string &sql) const {
  sandbox::Database(sandbox::WorkAreaPath(home_.Home().Path(), "DEMO")).Exec(sql);
}

void ExportFixture::Sql(const std::string &tsql) const {
  sandbox::Database database(sandbox::WorkAreaPath(home_.Home().Path(), "DEMO"));
  sandbox::TsqlEngine engine(database.Handle());
  engine.Execute(tsql, {});
}

std::string ExportFixture::Customers(int32_t application, int32_t revNum, const std::string &pos) {
  connector_.State().ExtApplicationID = application;
  int32_t code = -1;
  std::string message, value;
  connector_.GetCustomers(revNum, pos, code, message, value);
  EXPECT_EQ(code, 0) << message;
  return value;
}

std::string ExportFixture::Items(int32_t application, int32_t revNum, const std::string &pos) {
  connector_.State().ExtApplicationID = application;
  int32_t code = -1;
  std::string message, value;
  connector_.GetItems(revNum, pos, code, message, value);
  EXPECT_EQ(code, 0) << message;
  return value;
}

std::vector<std::string> ChildNames(XmlNode node) {
  std::vector<std::string> names;
  for (XmlNode child = node.first_child(); child; child = child.next_sibling())
    if (child.type() == pugi::node_element) names.push_back(child.name());
  return names;
}

XmlNode Path(XmlNode node, const std::string &path) {
  for (const std::string &name : SplitText(path, '/')) node = Child(node, name);
  return node;
}

XmlNode Entry(XmlNode list, const std::string &key, const std::string &value) {
  for (XmlNode child = list.first_child(); child; child = child.next_sibling())
    if (ChildText(child, key) == value) return child;
  return {};
}

} // namespace vq::test
