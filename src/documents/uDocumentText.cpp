#include "documents/uDocumentText.h"

#include "core/uText.h"
#include "settings/uSettingsSections.h"

namespace vq {
namespace {

constexpr std::string_view NamespaceDeclarations =
    " xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\""
    " xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\"";

} // namespace

std::string ExportDocumentText(XmlNode root, std::string_view declaringTag,
                               int32_t extApplicationId) {
  std::string text = ReplaceAll(NodeText(root), declaringTag,
                                std::string(declaringTag) + std::string(NamespaceDeclarations));
  const std::string_view declaration = extApplicationId == ESalesApplication
                                           ? "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
                                           : "<?xml version=\"1.0\"?>";
  return std::string(declaration) + text;
}

} // namespace vq
