#pragma once

#include "core/uError.h"
#include "core/uValue.h"
#include "documents/uXml.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vq {

// An element of a typed document and its child elements by name. A setter appends its
// child the first time, so children appear in the order first set, and replaces the text
// afterwards; empty text leaves the element without a text node, printed as "<A/>".
class TXmlBinding {
public:
  explicit TXmlBinding(XmlNode node) : node_(node) {}
  XmlNode Node() const { return node_; }

protected:
  // Nothing when the element is absent.
  std::optional<std::string> GetText(std::string_view name) const;
  void SetText(std::string_view name, std::string_view text);
  // Nothing when absent or empty; text that is no integer raises vq::Error.
  std::optional<int32_t> GetInteger(std::string_view name) const;
  void SetInteger(std::string_view name, int32_t value);
  // Untyped children: null when absent, else the text.
  Value GetVariant(std::string_view name) const;
  void SetVariant(std::string_view name, const Value &value);

private:
  XmlNode node_;
};

// A collection element whose children are the items of one kind.
template <typename TItem> class TXmlCollection {
public:
  TXmlCollection(XmlNode node, std::string_view itemName) : node_(node), itemName_(itemName) {}

  TItem Add() { return TItem(AddChild(node_, itemName_)); }
  int Count() const { return CountChildren(node_, itemName_); }
  // Raises vq::Error for a position outside the collection.
  TItem operator[](int index) const {
    const XmlNode item = index >= 0 ? ChildAt(node_, itemName_, index) : XmlNode();
    if (!item) throw Error("List index out of bounds (" + std::to_string(index) + ")");
    return TItem(item);
  }

private:
  XmlNode node_;
  std::string_view itemName_;
};

} // namespace vq
