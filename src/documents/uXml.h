#pragma once

#include <pugixml.hpp>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace vq {

using XmlNode = pugi::xml_node;

// A parsed or a new DOM document; every document of the connector goes through it.
class XmlDocument {
public:
  XmlDocument();
  // Raises vq::Error with the parser's message and position for text that is not
  // well-formed.
  static XmlDocument Parse(std::string_view text);

  XmlNode Root() const;
  // Makes the document element of a new document.
  XmlNode CreateRoot(std::string_view name);

private:
  std::unique_ptr<pugi::xml_document> document_;
};

// The first child element of that name (names match exactly), or a null node.
XmlNode Child(XmlNode parent, std::string_view name);
// The number of child elements of that name, and the one at a position (0-based).
int CountChildren(XmlNode parent, std::string_view name);
XmlNode ChildAt(XmlNode parent, std::string_view name, int index);

// The text of a child element; nothing when the element is absent.
std::optional<std::string> ChildText(XmlNode parent, std::string_view name);
// An integer element read as decimal text: nothing when absent or empty; text that is no
// integer raises vq::Error naming the element.
std::optional<int32_t> ChildInteger(XmlNode parent, std::string_view name);

// Sets the text of a child element, appending the element after the others the first
// time, so that elements appear in the order they are first set.
XmlNode SetChildText(XmlNode parent, std::string_view name, std::string_view text);
// The child element of that name, appended when it does not exist yet.
XmlNode EnsureChild(XmlNode parent, std::string_view name);
// Appends a new item element to a collection.
XmlNode AddChild(XmlNode parent, std::string_view name);

// The XML text of a node with its subtree as the DOM prints it: no declaration, no
// indentation, no line breaks between elements, texts escaped.
std::string NodeText(XmlNode node);

} // namespace vq
