#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vq {

struct IniEntry {
  std::string Key;
  std::string Value;
  friend bool operator==(const IniEntry &, const IniEntry &) = default;
};

// The text of an INI file with the lookup rules of the Windows profile functions:
// names match without regard to case (Greek too), the first of two equal sections or
// keys wins, values lose their surrounding blanks, and lines that are neither a section
// header nor "key=value" (comments, text before the first section) are ignored.
// Lines keep their bytes, so an edit changes only the line it concerns. The bytes are
// in the ANSI code page; names and values cross this interface in UTF-8.
class IniDocument {
public:
  IniDocument() = default;
  explicit IniDocument(std::string_view ansiText);
  std::string Text() const;

  std::optional<std::string> Value(std::string_view section, std::string_view key) const;
  // The keys of the section in file order, each once, with the value that reads see.
  std::vector<IniEntry> Entries(std::string_view section) const;
  bool HasSection(std::string_view section) const;

  // Throws vq::Error, leaving the document unchanged, for names and values that the file
  // could not hold as given: a line break, a name that would read back as another name
  // or as a comment, or a character outside the ANSI code page.
  void SetValue(std::string_view section, std::string_view key, std::string_view value);
  // Removes every section of that name, so that no older copy becomes visible.
  void EraseSection(std::string_view section);
  // Removes every line of that key from the section that reads see.
  void DeleteKey(std::string_view section, std::string_view key);

private:
  enum class LineKind { Other, Section, Entry };
  struct Line {
    std::string Raw;    // as in the file, without the line break
    std::string Ending; // the line break; empty on a last line without one
    LineKind Kind = LineKind::Other;
    std::string Name;  // section or key, trimmed, UTF-8
    std::string Match; // Name upper-cased, for comparisons
    std::string Value; // entries only, trimmed, UTF-8
  };
  struct Range {
    size_t Begin; // the header line
    size_t End;   // one past the section's last line
  };

  static Line MakeLine(std::string raw, std::string ending);
  std::optional<Range> FindSection(std::string_view section) const;
  std::string LineEnding() const;

  std::vector<Line> lines_;
};

} // namespace vq
