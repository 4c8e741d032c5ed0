#include "documents/uXml.h"

#include "core/uError.h"
#include "core/uNumberText.h"

#include <limits>
#include <sstream>

namespace vq {
namespace {

std::string Name(std::string_view name) { return std::string(name); }

// Line and column of a byte offset, for parser messages.
std::string Position(std::string_view text, ptrdiff_t offset) {
  int line = 1;
  int column = 1;
  for (ptrdiff_t i = 0; i < offset && i < static_cast<ptrdiff_t>(text.size()); ++i) {
    if (text[i] == '\n') {
      ++line;
      column = 1;
    } else {
      ++column;
    }
  }
  return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

} // namespace

XmlDocument::XmlDocument() : document_(std::make_unique<pugi::xml_document>()) {}

XmlDocument XmlDocument::Parse(std::string_view text) {
  XmlDocument document;
  const pugi::xml_parse_result result = document.document_->load_buffer(
      text.data(), text.size(), pugi::parse_default | pugi::parse_ws_pcdata_single,
      pugi::encoding_utf8);
  if (!result)
    throw Error(std::string("The XML text is not well-formed: ") + result.description() + " at " +
                Position(text, result.offset));
  if (!document.Root()) throw Error("The XML text holds no document element");
  return document;
}

XmlNode XmlDocument::Root() const { return document_->document_element(); }

XmlNode XmlDocument::CreateRoot(std::string_view name) {
  document_->reset();
  return document_->append_child(Name(name).c_str());
}

XmlNode Child(XmlNode parent, std::string_view name) { return parent.child(Name(name).c_str()); }

int CountChildren(XmlNode parent, std::string_view name) {
  int count = 0;
  const std::string wanted = Name(name);
  for (XmlNode node = parent.child(wanted.c_str()); node; node = node.next_sibling(wanted.c_str()))
    ++count;
  return count;
}

XmlNode ChildAt(XmlNode parent, std::string_view name, int index) {
  const std::string wanted = Name(name);
  XmlNode node = parent.child(wanted.c_str());
  for (int i = 0; node && i < index; ++i) node = node.next_sibling(wanted.c_str());
  return node;
}

std::optional<std::string> ChildText(XmlNode parent, std::string_view name) {
  const XmlNode node = Child(parent, name);
  if (!node) return std::nullopt;
  return std::string(node.text().get());
}

std::optional<int32_t> ChildInteger(XmlNode parent, std::string_view name) {
  const std::optional<std::string> text = ChildText(parent, name);
  if (!text || text->empty()) return std::nullopt;
  const std::optional<int64_t> value = ParseInteger(*text);
  if (!value || *value < std::numeric_limits<int32_t>::min() ||
      *value > std::numeric_limits<int32_t>::max())
    throw Error("'" + *text + "' is not a valid integer value of " + std::string(name));
  return static_cast<int32_t>(*value);
}

XmlNode EnsureChild(XmlNode parent, std::string_view name) {
  XmlNode node = Child(parent, name);
  return node ? node : parent.append_child(Name(name).c_str());
}

XmlNode SetChildText(XmlNode parent, std::string_view name, std::string_view text) {
  XmlNode node = EnsureChild(parent, name);
  node.text().set(Name(text).c_str());
  return node;
}

XmlNode AddChild(XmlNode parent, std::string_view name) {
  return parent.append_child(Name(name).c_str());
}

std::string NodeText(XmlNode node) {
  std::ostringstream out;
  node.print(out, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
  return out.str();
}

} // namespace vq
