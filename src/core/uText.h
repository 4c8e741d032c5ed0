#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vq {

// Upper case of Latin and Greek letters, as the Windows ANSI functions fold them:
// accents are kept ("ά" becomes "Ά"), final sigma becomes "Σ".
std::string UpperText(std::string_view text);

// Upper case with the Greek and Latin accents and diaereses removed, for comparisons
// that ignore both case and accents (the back office's default collation).
std::string FoldText(std::string_view text);

bool SameTextIgnoringCase(std::string_view a, std::string_view b);

std::string Trim(std::string_view text);

// Replaces every occurrence, scanning left to right and going on after the inserted text.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);

std::vector<std::string> SplitText(std::string_view text, char separator);

} // namespace vq
