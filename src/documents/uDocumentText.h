#pragma once

#include "documents/uXml.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace vq {

// The text of an exported document as the calling application receives it: the DOM's
// text of the document element; every occurrence of `declaringTag` (such as "<Items")
// followed by the two XML Schema namespace declarations; and the XML declaration in front,
// with the UTF-8 encoding named for esales. Every character is kept: the text stays UTF-8.
std::string ExportDocumentText(XmlNode root, std::string_view declaringTag,
                               int32_t extApplicationId);

} // namespace vq
