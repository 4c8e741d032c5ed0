#pragma once

#include "core/uValue.h"

#include <string>
#include <string_view>

namespace vq {

// The ErrorMessages document with one message: kind 1 an error, any other a warning.
// The text goes in unescaped; every line ends with CR LF.
std::string BuildErrorXml(int kind, std::string_view text);

// "&", "<", ">", double quote, "|" to entities and line feeds to blanks, in that order.
std::string XmlEscape(std::string_view text);

std::string XmlUnescapeAngles(std::string_view text);

// "dd/mm/yyyy", or empty text when the value cannot be taken as a date.
std::string DateText(const Value& value);

} // namespace vq
