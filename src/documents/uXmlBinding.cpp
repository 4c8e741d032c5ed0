#include "documents/uXmlBinding.h"

namespace vq {

std::optional<std::string> TXmlBinding::GetText(std::string_view name) const {
  return ChildText(node_, name);
}

void TXmlBinding::SetText(std::string_view name, std::string_view text) {
  XmlNode child = EnsureChild(node_, name);
  if (!text.empty()) {
    child.text().set(std::string(text).c_str());
    return;
  }
  while (child.first_child()) child.remove_child(child.first_child());
}

std::optional<int32_t> TXmlBinding::GetInteger(std::string_view name) const {
  return ChildInteger(node_, name);
}

void TXmlBinding::SetInteger(std::string_view name, int32_t value) {
  SetText(name, std::to_string(value));
}

Value TXmlBinding::GetVariant(std::string_view name) const {
  const std::optional<std::string> text = GetText(name);
  return text ? Value(*text) : Value::Null();
}

void TXmlBinding::SetVariant(std::string_view name, const Value &value) {
  SetText(name, value.AsText());
}

} // namespace vq
