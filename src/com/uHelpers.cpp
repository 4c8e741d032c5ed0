#include "com/uHelpers.h"

#include "core/uError.h"
#include "core/uText.h"

namespace vq {

std::string BuildErrorXml(int kind, std::string_view text) {
  std::string xml;
  xml += "<?xml version=\"1.0\"?>\r\n";
  xml += "<ErrorMessages xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
         "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\">\r\n";
  xml += "  <ListOfErrorMessages>\r\n";
  xml += "    <ErrorMessage>\r\n";
  xml += "      <ErrorOrWarrning>";
  xml += kind == 1 ? "1" : "2";
  xml += "</ErrorOrWarrning>\r\n";
  xml += "      <ErrorDescription>";
  xml += text;
  xml += "</ErrorDescription>\r\n";
  xml += "    </ErrorMessage>\r\n";
  xml += "  </ListOfErrorMessages>\r\n";
  xml += "</ErrorMessages>\r\n";
  return xml;
}

std::string XmlEscape(std::string_view text) {
  std::string result = ReplaceAll(text, "&", "&amp;");
  result = ReplaceAll(result, "<", "&lt;");
  result = ReplaceAll(result, ">", "&gt;");
  result = ReplaceAll(result, "\"", "&quot;");
  result = ReplaceAll(result, "|", "&brvbar;");
  return ReplaceAll(result, "\n", " ");
}

std::string XmlUnescapeAngles(std::string_view text) {
  return ReplaceAll(ReplaceAll(text, "&lt;", "<"), "&gt;", ">");
}

std::string DateText(const Value& value) {
  if (value.IsMissing()) return {};
  try {
    const TDateTime date = value.AsDate();
    const DateParts parts = DecodeDateTime(date);
    if (!IsValidDate(parts.Year, parts.Month, parts.Day)) return {};
    return DayMonthYearText(date);
  } catch (const Error&) {
    return {};
  }
}

} // namespace vq
