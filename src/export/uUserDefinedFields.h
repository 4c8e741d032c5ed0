#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vq {

// A SQL string literal: the text between single quotes, embedded quotes doubled.
std::string SqlString(std::string_view text);

// The records that user-defined values belong to: the domain type and the alias of the
// selected table whose ID is the domain record.
struct UdfDomain {
  int32_t Type;
  std::string_view Table;
};
inline constexpr UdfDomain CustomerDomain{2, "CUA"};
inline constexpr UdfDomain ItemDomain{5, "INI"};

// One place a user-defined value may come from, by the name of its definition.
struct UdfSource {
  enum class Kind {
    ArrayValueId,   // the ID of the record's value of a user-defined array
    ArrayValueName, // the name of that value
    TextField,      // free fields (USF) by FIELDTYPE: 1 text,
    LogicalField,   // 2 logical, as text
    NumberField,    // 3 number, rounded to an integer
    PercentField,   // 4 percentage, cut to the company's percentage decimals (needs GNO)
    DateField,      // 5 date, ISO 8601
    ExtraFieldId,   // an item extra field (IF1/IR1 or IF2/IR2): the ID of the item's value
    ExtraFieldName, // the name of that value
  };
  Kind Source;
  std::string_view Name;
  int ExtraField = 1; // 1 or 2, for the extra-field kinds
};

// A column expression that yields the value of the first source whose definition exists:
// NULL when none exists, an empty text when it exists but the record has no value.
std::string UdfColumn(const UdfDomain &domain, const std::vector<UdfSource> &sources);

// The free-field sources of every field type, after the array of the same name.
std::vector<UdfSource> AnyUdfSources(std::string_view name);

} // namespace vq
