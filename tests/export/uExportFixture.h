#pragma once

#include "com/dBackOfficeConnector.h"
#include "documents/uXml.h"
#include "support/uDemoHome.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vq::test {

// A demo home on the sandbox and one connector object on it, calling the exports as a
// given application.
class ExportFixture {
public:
  ExportFixture();

  // Writes one key of the settings file; the next call reads it.
  void Setting(const std::string &section, const std::string &key, const std::string &value) const;

  // Runs T-SQL on the work area through the sandbox's engine (its triggers stamp revisions).
  void Sql(const std::string &tsql) const;
  // Runs SQLite's own SQL on the work area, past the engine and its triggers.
  void RawSql(const std::string &sql) const;

  // The document text; the call must succeed.
  std::string Customers(int32_t application, int32_t revNum = 0, const std::string &pos = {});
  std::string Items(int32_t application, int32_t revNum = 0, const std::string &pos = {});

  const DemoHome &Home() const { return home_; }

private:
  DemoHome home_;
  TBackOfficeConnector connector_;
};

// The POS info of the demo's POS.
extern const char *const Pos1;

// The element names of a node's children, in order.
std::vector<std::string> ChildNames(XmlNode node);
// The text of a child path such as "Items/Customer", the first of each name.
XmlNode Path(XmlNode node, const std::string &path);
// The first list entry whose child `key` has the text `value`.
XmlNode Entry(XmlNode list, const std::string &key, const std::string &value);

} // namespace vq::test
