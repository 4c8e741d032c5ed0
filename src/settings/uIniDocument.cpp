#include "settings/uIniDocument.h"

#include "core/uCodePage.h"
#include "core/uError.h"
#include "core/uText.h"

#include <algorithm>

namespace vq {
namespace {

bool IsBlank(std::string_view raw) { return Trim(raw).empty(); }

std::string MatchName(std::string_view name) { return UpperText(Trim(name)); }

bool HasLineBreakOrNul(std::string_view text) {
  return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

// Utf8ToAnsi turns what the page cannot hold into "?"; a text that does not come back
// unchanged would be stored altered.
std::string StorableAnsi(std::string_view utf8, std::string_view what) {
  std::string ansi = Utf8ToAnsi(utf8);
  if (AnsiToUtf8(ansi) != utf8)
    throw Error("The settings " + std::string(what) + " \"" + std::string(utf8) +
                "\" holds characters that the settings file's code page cannot store");
  return ansi;
}

[[noreturn]] void Invalid(std::string_view what, std::string_view text) {
  throw Error("Invalid settings " + std::string(what) + " \"" + std::string(text) + "\"");
}

void CheckSectionName(std::string_view name) {
  if (Trim(name).empty() || HasLineBreakOrNul(name) || name.find(']') != std::string_view::npos)
    Invalid("section name", name);
}

void CheckKeyName(std::string_view name) {
  const std::string trimmed = Trim(name);
  if (trimmed.empty() || HasLineBreakOrNul(name) || name.find('=') != std::string_view::npos ||
      trimmed.front() == '[' || trimmed.front() == ';')
    Invalid("key name", name);
}

void CheckValue(std::string_view value) {
  if (HasLineBreakOrNul(value)) Invalid("value", value);
}

} // namespace

IniDocument::IniDocument(std::string_view ansiText) {
  size_t pos = 0;
  while (pos < ansiText.size()) {
    const size_t lineFeed = ansiText.find('\n', pos);
    if (lineFeed == std::string_view::npos) {
      lines_.push_back(MakeLine(std::string(ansiText.substr(pos)), ""));
      break;
    }
    size_t end = lineFeed;
    if (end > pos && ansiText[end - 1] == '\r') --end;
    lines_.push_back(MakeLine(std::string(ansiText.substr(pos, end - pos)),
                              std::string(ansiText.substr(end, lineFeed + 1 - end))));
    pos = lineFeed + 1;
  }
}

std::string IniDocument::Text() const {
  std::string text;
  for (const Line &line : lines_) text += line.Raw + line.Ending;
  return text;
}

IniDocument::Line IniDocument::MakeLine(std::string raw, std::string ending) {
  Line line;
  line.Raw = std::move(raw);
  line.Ending = std::move(ending);
  const std::string trimmed = Trim(line.Raw);
  if (trimmed.starts_with('[')) {
    const size_t close = trimmed.find(']');
    if (close == std::string::npos) return line;
    line.Kind = LineKind::Section;
    line.Name = AnsiToUtf8(Trim(std::string_view(trimmed).substr(1, close - 1)));
  } else if (!trimmed.starts_with(';')) {
    const size_t equals = trimmed.find('=');
    if (equals == std::string::npos) return line;
    line.Name = AnsiToUtf8(Trim(std::string_view(trimmed).substr(0, equals)));
    if (line.Name.empty()) return line;
    line.Kind = LineKind::Entry;
    line.Value = AnsiToUtf8(Trim(std::string_view(trimmed).substr(equals + 1)));
  }
  line.Match = UpperText(line.Name);
  return line;
}

std::optional<IniDocument::Range> IniDocument::FindSection(std::string_view section) const {
  const std::string match = MatchName(section);
  const auto isHeader = [](const Line &line) { return line.Kind == LineKind::Section; };
  const auto header = std::find_if(lines_.begin(), lines_.end(), [&](const Line &line) {
    return isHeader(line) && line.Match == match;
  });
  if (header == lines_.end()) return std::nullopt;
  const auto next = std::find_if(header + 1, lines_.end(), isHeader);
  return Range{static_cast<size_t>(header - lines_.begin()),
               static_cast<size_t>(next - lines_.begin())};
}

// New lines follow the file's own convention; a new file gets the Windows one.
std::string IniDocument::LineEnding() const {
  for (const Line &line : lines_)
    if (!line.Ending.empty()) return line.Ending;
  return "\r\n";
}

std::optional<std::string> IniDocument::Value(std::string_view section,
                                              std::string_view key) const {
  const auto range = FindSection(section);
  if (!range) return std::nullopt;
  const std::string match = MatchName(key);
  for (size_t i = range->Begin + 1; i < range->End; ++i)
    if (lines_[i].Kind == LineKind::Entry && lines_[i].Match == match) return lines_[i].Value;
  return std::nullopt;
}

std::vector<IniEntry> IniDocument::Entries(std::string_view section) const {
  std::vector<IniEntry> entries;
  const auto range = FindSection(section);
  if (!range) return entries;
  std::vector<std::string> seen;
  for (size_t i = range->Begin + 1; i < range->End; ++i) {
    const Line &line = lines_[i];
    if (line.Kind != LineKind::Entry) continue;
    if (std::find(seen.begin(), seen.end(), line.Match) != seen.end()) continue;
    seen.push_back(line.Match);
    entries.push_back({line.Name, line.Value});
  }
  return entries;
}

bool IniDocument::HasSection(std::string_view section) const {
  return FindSection(section).has_value();
}

void IniDocument::SetValue(std::string_view section, std::string_view key, std::string_view value) {
  CheckSectionName(section);
  CheckKeyName(key);
  CheckValue(value);
  const std::string ansiSection = StorableAnsi(Trim(section), "section name");
  const std::string ansiKey = StorableAnsi(Trim(key), "key name");
  const std::string ansiValue = StorableAnsi(value, "value");
  const std::string ending = LineEnding();

  const auto range = FindSection(section);
  if (!range) {
    if (!lines_.empty() && lines_.back().Ending.empty()) lines_.back().Ending = ending;
    lines_.push_back(MakeLine("[" + ansiSection + "]", ending));
    lines_.push_back(MakeLine(ansiKey + "=" + ansiValue, ending));
    return;
  }
  const std::string match = MatchName(key);
  for (size_t i = range->Begin + 1; i < range->End; ++i) {
    Line &line = lines_[i];
    if (line.Kind == LineKind::Entry && line.Match == match) {
      // The key keeps the spelling it has in the file.
      line = MakeLine(Utf8ToAnsi(line.Name) + "=" + ansiValue, line.Ending);
      return;
    }
  }
  // After the section's last non-blank line, so that a blank line before the next
  // section stays where it is.
  size_t last = range->End - 1;
  while (last > range->Begin && IsBlank(lines_[last].Raw)) --last;
  if (lines_[last].Ending.empty()) lines_[last].Ending = ending;
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(last + 1),
                MakeLine(ansiKey + "=" + ansiValue, ending));
}

void IniDocument::EraseSection(std::string_view section) {
  while (const auto range = FindSection(section))
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(range->Begin),
                 lines_.begin() + static_cast<std::ptrdiff_t>(range->End));
}

void IniDocument::DeleteKey(std::string_view section, std::string_view key) {
  const auto range = FindSection(section);
  if (!range) return;
  const std::string match = MatchName(key);
  const auto begin = lines_.begin() + static_cast<std::ptrdiff_t>(range->Begin + 1);
  const auto end = lines_.begin() + static_cast<std::ptrdiff_t>(range->End);
  lines_.erase(std::remove_if(begin, end,
                              [&](const Line &line) {
                                return line.Kind == LineKind::Entry && line.Match == match;
                              }),
               end);
}

} // namespace vq
