#include "sandbox/uTsqlEmitter.h"

#include "core/uError.h"
#include "core/uText.h"

#include <algorithm>
#include <set>

namespace vq::sandbox {

std::string QuoteName(std::string_view name) {
  std::string out = "\"";
  for (char c : name) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

std::string QuoteText(std::string_view text) {
  std::string out = "'";
  for (char c : text) {
    if (c == '\'') out += '\'';
    out += c;
  }
  return out + "'";
}

std::string TypeDeclaration(const TypeInfo& t) {
  switch (t.Type) {
  case SqlType::Bit: return "BIT";
  case SqlType::Int: return "INT";
  case SqlType::BigInt: return "BIGINT";
  case SqlType::Numeric:
    return "NUMERIC(" + std::to_string(t.Precision) + "," + std::to_string(t.Scale) + ")";
  case SqlType::Money: return "MONEY";
  case SqlType::Float: return "FLOAT";
  case SqlType::Text:
    return t.Length > 0 ? "VARCHAR(" + std::to_string(t.Length) + ")" : "VARCHAR(MAX)";
  case SqlType::DateTime: return "DATETIME";
  case SqlType::Binary: return "VARBINARY(MAX)";
  case SqlType::Null: return "INT";
  default: return "";
  }
}

std::string SqliteTableName(const std::vector<std::string>& parts) { return parts.back(); }

namespace {

[[noreturn]] void Unsupported(const std::string& what) {
  throw Error("Unsupported T-SQL construct: " + what);
}

bool SameName(std::string_view a, std::string_view b) { return UpperAscii(a) == UpperAscii(b); }

TypeInfo Make(SqlType type) {
  TypeInfo t;
  t.Type = type;
  return t;
}

TypeInfo TextType(int length) {
  TypeInfo t = Make(SqlType::Text);
  t.Length = length;
  return t;
}

char KindOf(const TypeInfo& t) {
  switch (t.Type) {
  case SqlType::Bit: return 'B';
  case SqlType::Int:
  case SqlType::BigInt: return 'I';
  case SqlType::Numeric: return 'N';
  case SqlType::Money: return 'M';
  case SqlType::Float: return 'F';
  case SqlType::Text: return 'T';
  case SqlType::DateTime: return 'D';
  case SqlType::Binary: return 'X';
  default: return '?';
  }
}

std::string KindText(const TypeInfo& t) { return std::string("'") + KindOf(t) + "'"; }

// Precedence of SQL Server's data types (higher wins).
int Precedence(const TypeInfo& t) {
  switch (t.Type) {
  case SqlType::DateTime: return 10;
  case SqlType::Float: return 9;
  case SqlType::Numeric: return 8;
  case SqlType::Money: return 7;
  case SqlType::BigInt: return 6;
  case SqlType::Int: return 5;
  case SqlType::Bit: return 4;
  case SqlType::Text: return 3;
  case SqlType::Binary: return 2;
  default: return 0;
  }
}

int PrecisionOf(const TypeInfo& t) {
  switch (t.Type) {
  case SqlType::Bit: return 1;
  case SqlType::Int: return 10;
  case SqlType::BigInt: return 19;
  case SqlType::Numeric: return t.Precision;
  case SqlType::Money: return 19;
  default: return 18;
  }
}
int ScaleOf(const TypeInfo& t) {
  return t.Type == SqlType::Numeric || t.Type == SqlType::Money ? t.Scale : 0;
}

TypeInfo NumericType(int precision, int scale) {
  TypeInfo t = Make(SqlType::Numeric);
  if (precision > 38) {
    scale = std::max(std::min(scale, 6), scale - (precision - 38));
    precision = 38;
  }
  t.Precision = precision;
  t.Scale = std::max(0, std::min(scale, precision));
  return t;
}

TypeInfo ArithmeticType(const std::string& op, const TypeInfo& a, const TypeInfo& b) {
  if (a.Type == SqlType::Float || b.Type == SqlType::Float) return Make(SqlType::Float);
  const bool exactA = a.IsExact() || a.Type == SqlType::Null || a.Type == SqlType::Text;
  const bool exactB = b.IsExact() || b.Type == SqlType::Null || b.Type == SqlType::Text;
  if (exactA && exactB) {
    if (a.Type == SqlType::BigInt || b.Type == SqlType::BigInt) return Make(SqlType::BigInt);
    return Make(SqlType::Int);
  }
  if ((a.Type == SqlType::Money || exactA) && (b.Type == SqlType::Money || exactB) && op != "/")
    return Make(SqlType::Money);
  const int p1 = PrecisionOf(a), s1 = ScaleOf(a), p2 = PrecisionOf(b), s2 = ScaleOf(b);
  if (op == "*") return NumericType(p1 + p2 + 1, s1 + s2);
  if (op == "/") {
    const int scale = std::max(6, s1 + p2 + 1);
    return NumericType(p1 - s1 + s2 + scale, scale);
  }
  const int scale = std::max(s1, s2);
  return NumericType(std::max(p1 - s1, p2 - s2) + scale + 1, scale);
}

enum class Class { Null, Unknown, Text, Number, Date, Binary };

Class ClassOf(const TypeInfo& t) {
  switch (t.Type) {
  case SqlType::Null: return Class::Null;
  case SqlType::Unknown: return Class::Unknown;
  case SqlType::Text: return Class::Text;
  case SqlType::DateTime: return Class::Date;
  case SqlType::Binary: return Class::Binary;
  default: return Class::Number;
  }
}

// Target of an implicit conversion of a text to the type of a number.
std::string NumberTarget(const TypeInfo& n) {
  if (n.IsExact()) return "'I'";
  if (n.Type == SqlType::Float) return "'F'";
  return "'N'";
}

const std::set<std::string>& AggregateNames() {
  static const std::set<std::string> names = {"SUM", "COUNT", "MIN", "MAX", "AVG", "COUNT_BIG"};
  return names;
}

} // namespace

struct TsqlEmitter::Emitted {
  std::string Sql;
  TypeInfo Type;
  bool IsColumn = false; // a plain column reference (carries its declared collation)
};

struct Source {
  std::string Name; // the name that qualifies its columns (alias or table name)
  std::vector<ColumnInfo> Columns;
  bool Known = true;
};

struct TsqlEmitter::Scope {
  std::vector<Source> Sources;
  const Scope* Outer = nullptr;
};

namespace {

std::string Collated(const TsqlEmitter::Emitted& e) {
  return "(" + e.Sql + ") COLLATE SQLSERVER";
}

} // namespace

// --- expressions -----------------------------------------------------------------------

TsqlEmitter::Emitted TsqlEmitter::Column(const Expr& e, const Scope& scope) {
  Emitted out;
  out.IsColumn = true;
  const std::string& name = e.Names.back();
  std::string qualifier = e.Names.size() >= 2 ? e.Names[e.Names.size() - 2] : std::string();
  if (e.Names.size() == 1) {
    const std::string upper = UpperAscii(name);
    if (upper == "CURRENT_TIMESTAMP") {
      out.Sql = "tsql_getdate()";
      out.Type = Make(SqlType::DateTime);
      out.IsColumn = false;
      return out;
    }
  }
  for (const Scope* s = &scope; s; s = s->Outer) {
    const Source* hit = nullptr;
    const ColumnInfo* column = nullptr;
    int hits = 0;
    for (const Source& src : s->Sources) {
      if (!qualifier.empty() && !SameName(src.Name, qualifier)) continue;
      for (const ColumnInfo& c : src.Columns) {
        if (SameName(c.Name, name)) {
          if (!hit) {
            hit = &src;
            column = &c;
          }
          ++hits;
          break;
        }
      }
    }
    if (hit) {
      out.Type = column->Type;
      // Qualified always when the name is unique, so that SQLite resolves it to the same
      // source SQL Server does; an ambiguous name stays as written and SQLite refuses it.
      out.Sql = (hits == 1 || !qualifier.empty() ? QuoteName(hit->Name) + "." : "") + QuoteName(column->Name);
      return out;
    }
  }
  // Not found: let SQLite resolve it (and report it when it does not exist).
  out.Sql = (qualifier.empty() ? "" : QuoteName(qualifier) + ".") + QuoteName(name);
  return out;
}

TsqlEmitter::Emitted TsqlEmitter::Compare(const std::string& op, const Emitted& a, const Emitted& b) {
  Emitted out;
  out.Type = Make(SqlType::Bit);
  const Class ca = ClassOf(a.Type), cb = ClassOf(b.Type);
  const std::string sqlOp = op;
  auto plain = [&](const std::string& x, const std::string& y) { return "(" + x + " " + sqlOp + " " + y + ")"; };
  if (ca == Class::Null || cb == Class::Null) {
    out.Sql = plain(a.Sql, b.Sql);
  } else if (ca == Class::Text && cb == Class::Text) {
    out.Sql = plain(a.Sql, Collated(b));
  } else if (ca == Class::Number && cb == Class::Number) {
    out.Sql = plain(a.Sql, b.Sql);
  } else if (ca == Class::Text && cb == Class::Number) {
    out.Sql = plain("tsql_num(" + a.Sql + ", " + NumberTarget(b.Type) + ")", b.Sql);
  } else if (ca == Class::Number && cb == Class::Text) {
    out.Sql = plain(a.Sql, "tsql_num(" + b.Sql + ", " + NumberTarget(a.Type) + ")");
  } else if (ca == Class::Date && cb == Class::Date) {
    out.Sql = plain(a.Sql, b.Sql);
  } else if (ca == Class::Date && (cb == Class::Text || cb == Class::Number)) {
    out.Sql = plain(a.Sql, "tsql_datetime(" + b.Sql + ")");
  } else if (cb == Class::Date && (ca == Class::Text || ca == Class::Number)) {
    out.Sql = plain("tsql_datetime(" + a.Sql + ")", b.Sql);
  } else if (ca == Class::Binary && cb == Class::Binary) {
    out.Sql = plain(a.Sql, b.Sql);
  } else if (ca == Class::Unknown && cb == Class::Date) {
    out.Sql = plain("tsql_datetime(" + a.Sql + ")", b.Sql);
  } else if (cb == Class::Unknown && ca == Class::Date) {
    out.Sql = plain(a.Sql, "tsql_datetime(" + b.Sql + ")");
  } else {
    out.Sql = "(tsql_compare(" + a.Sql + ", " + b.Sql + ") " + sqlOp + " 0)";
  }
  return out;
}

TsqlEmitter::Emitted TsqlEmitter::Arithmetic(const std::string& op, const Emitted& a, const Emitted& b) {
  Emitted out;
  const Class ca = ClassOf(a.Type), cb = ClassOf(b.Type);
  auto asNumber = [](const Emitted& x, const TypeInfo& other) {
    const Class c = ClassOf(x.Type);
    if (c == Class::Number || c == Class::Null) return x.Sql;
    if (c == Class::Text) return "tsql_num(" + x.Sql + ", " + NumberTarget(other) + ")";
    if (c == Class::Date) return "tsql_float(" + x.Sql + ", 'D')";
    return "tsql_num(" + x.Sql + ")";
  };
  if (op == "+") {
    if (ca == Class::Null || cb == Class::Null) {
      out.Sql = "tsql_add(" + a.Sql + ", " + b.Sql + ")";
      out.Type = ca == Class::Null ? b.Type : a.Type;
      if (out.Type.Type == SqlType::Null) out.Type = Make(SqlType::Int);
      return out;
    }
    if (ca == Class::Text && cb == Class::Text) {
      out.Sql = "(" + a.Sql + " || " + b.Sql + ")";
      out.Type = TextType(a.Type.Length > 0 && b.Type.Length > 0 ? std::min(8000, a.Type.Length + b.Type.Length) : 0);
      return out;
    }
    if (ca == Class::Date && (cb == Class::Number || cb == Class::Text)) {
      out.Sql = "tsql_dtadd(" + a.Sql + ", " + asNumber(b, Make(SqlType::Float)) + ")";
      out.Type = Make(SqlType::DateTime);
      return out;
    }
    if (cb == Class::Date && (ca == Class::Number || ca == Class::Text)) {
      out.Sql = "tsql_dtadd(" + b.Sql + ", " + asNumber(a, Make(SqlType::Float)) + ")";
      out.Type = Make(SqlType::DateTime);
      return out;
    }
    if (ca == Class::Unknown || cb == Class::Unknown || ca == Class::Binary || cb == Class::Binary ||
        (ca == Class::Date && cb == Class::Date)) {
      out.Sql = "tsql_add(" + a.Sql + ", " + b.Sql + ")";
      out.Type = Make(SqlType::Unknown);
      if (ca == Class::Number && cb == Class::Unknown) out.Type = a.Type;
      if (cb == Class::Number && ca == Class::Unknown) out.Type = b.Type;
      if (out.Type.IsNumeric())
        out.Sql = "(" + (ca == Class::Unknown ? "tsql_num(" + a.Sql + ")" : a.Sql) + " + " +
                  (cb == Class::Unknown ? "tsql_num(" + b.Sql + ")" : b.Sql) + ")";
      return out;
    }
    // numbers, or a number and a text that converts to it
    const TypeInfo& na = ca == Class::Number ? a.Type : b.Type;
    const TypeInfo& nb = cb == Class::Number ? b.Type : a.Type;
    out.Type = ArithmeticType(op, na, nb);
    out.Sql = "(" + asNumber(a, b.Type) + " + " + asNumber(b, a.Type) + ")";
    return out;
  }
  if (op == "-" && ca == Class::Date && (cb == Class::Number || cb == Class::Text || cb == Class::Unknown)) {
    out.Sql = "tsql_dtadd(" + a.Sql + ", -(" + asNumber(b, Make(SqlType::Float)) + "))";
    out.Type = Make(SqlType::DateTime);
    return out;
  }
  if (op == "-" && ca == Class::Date && cb == Class::Date) {
    out.Sql = "tsql_datetime(tsql_float(" + a.Sql + ", 'D') - tsql_float(" + b.Sql + ", 'D'))";
    out.Type = Make(SqlType::DateTime);
    return out;
  }
  const TypeInfo ta = ca == Class::Number ? a.Type : (cb == Class::Number ? b.Type : Make(SqlType::Int));
  const TypeInfo tb = cb == Class::Number ? b.Type : (ca == Class::Number ? a.Type : Make(SqlType::Int));
  const std::string x = asNumber(a, b.Type), y = asNumber(b, a.Type);
  if (ca == Class::Unknown || cb == Class::Unknown) out.Type = Make(SqlType::Unknown);
  else out.Type = ArithmeticType(op, ta, tb);
  if (op == "/") {
    std::string exact = "0";
    if (ca == Class::Unknown || cb == Class::Unknown) exact = "2";
    else if ((a.Type.IsExact() || ca == Class::Text || ca == Class::Null) &&
             (b.Type.IsExact() || cb == Class::Text || cb == Class::Null)) exact = "1";
    out.Sql = "tsql_div(" + x + ", " + y + ", " + exact + ")";
    return out;
  }
  if (op == "^") {
    out.Sql = "((" + x + " | " + y + ") - (" + x + " & " + y + "))";
    return out;
  }
  out.Sql = "(" + x + " " + op + " " + y + ")";
  return out;
}

TsqlEmitter::Emitted TsqlEmitter::CastTo(const Emitted& v, const TypeInfo& target, const std::string& style) {
  Emitted out;
  out.Type = target;
  const std::string kind = KindText(v.Type);
  const std::string st = style.empty() ? "NULL" : style;
  switch (target.Type) {
  case SqlType::Text: {
    int length = target.Length;
    if (length == 0) length = target.Fixed && target.Name.find('(') != std::string::npos ? 1 : 30;
    if (target.Name.find('(') == std::string::npos) length = 30;
    if (length < 0) length = 0;
    out.Type.Length = length;
    out.Sql = "tsql_text(" + v.Sql + ", " + kind + ", " + std::to_string(ScaleOf(v.Type)) + ", " +
              std::to_string(length) + ", " + (target.Fixed ? "1" : "0") + ", " + st + ")";
    return out;
  }
  case SqlType::Int:
    out.Sql = "tsql_int(" + v.Sql + ", " + kind + ", 0)";
    return out;
  case SqlType::BigInt:
    out.Sql = "tsql_int(" + v.Sql + ", " + kind + ", 1)";
    return out;
  case SqlType::Bit:
    out.Sql = "tsql_bit(" + v.Sql + ")";
    return out;
  case SqlType::Numeric:
  case SqlType::Money: {
    const int p = target.Type == SqlType::Money ? 19 : target.Precision;
    const int s = target.Type == SqlType::Money ? 4 : target.Scale;
    out.Sql = "tsql_numeric(" + v.Sql + ", " + std::to_string(p) + ", " + std::to_string(s) + ", " + kind + ")";
    return out;
  }
  case SqlType::Float:
    out.Sql = "tsql_float(" + v.Sql + ", " + kind + ")";
    return out;
  case SqlType::DateTime: {
    const std::string name = UpperAscii(target.Name);
    std::string sql = v.Type.Type == SqlType::DateTime && style.empty()
                          ? v.Sql
                          : "tsql_datetime(" + v.Sql + ", " + st + ", " + kind + ")";
    if (name == "DATE") sql = "tsql_datetime(tsql_text(" + sql + ", 'D', 0, 10, 0, 23))";
    out.Sql = sql;
    return out;
  }
  case SqlType::Binary:
    out.Sql = v.Sql;
    return out;
  default:
    Unsupported("CAST to " + target.Name);
  }
}

TsqlEmitter::Emitted TsqlEmitter::ConvertForColumn(const Emitted& v, const TypeInfo& column) {
  const Class cv = ClassOf(v.Type);
  if (cv == Class::Null || !column.IsKnown()) return v;
  switch (column.Type) {
  case SqlType::Text:
    if (cv == Class::Number || cv == Class::Date) {
      TypeInfo t = TextType(0);
      t.Name = "VARCHAR(MAX)";
      Emitted out = CastTo(v, t, "");
      out.Type = column;
      return out;
    }
    return v;
  case SqlType::Int:
  case SqlType::BigInt:
    if (cv == Class::Text) return Emitted{"tsql_num(" + v.Sql + ", 'I')", column, false};
    if (v.Type.Type == SqlType::Numeric || v.Type.Type == SqlType::Money || v.Type.Type == SqlType::Float)
      return CastTo(v, column, "");
    return v;
  case SqlType::Bit:
    if (v.Type.Type == SqlType::Bit) return v;
    return CastTo(v, column, "");
  case SqlType::Numeric:
  case SqlType::Money:
    if (v.Type.IsExact()) return v;
    if (cv == Class::Unknown) return Emitted{"tsql_numeric(" + v.Sql + ", 38, " + std::to_string(ScaleOf(column)) + ", '?')", column, false};
    return CastTo(v, column, "");
  case SqlType::Float:
    if (cv == Class::Text) return CastTo(v, column, "");
    return v;
  case SqlType::DateTime:
    if (cv == Class::Date) return v;
    return Emitted{"tsql_datetime(" + v.Sql + ")", column, false};
  default:
    return v;
  }
}

TsqlEmitter::Emitted TsqlEmitter::Case(const Expr& e, const Scope& scope) {
  // Args: operand or null, WHEN/THEN pairs, ELSE or null.
  std::optional<Emitted> operand;
  if (e.Args[0]) operand = Expression(*e.Args[0], scope);
  std::vector<Emitted> conditions, results;
  for (size_t i = 1; i + 1 < e.Args.size(); i += 2) {
    Emitted when = Expression(*e.Args[i], scope);
    if (operand) when = Compare("=", *operand, when);
    conditions.push_back(when);
    results.push_back(Expression(*e.Args[i + 1], scope));
  }
  std::optional<Emitted> otherwise;
  if (e.Args.back()) {
    otherwise = Expression(*e.Args.back(), scope);
  }
  // Result type: the highest precedence among the branches.
  TypeInfo type = Make(SqlType::Null);
  bool unknown = false;
  auto consider = [&](const Emitted& r) {
    if (r.Type.Type == SqlType::Unknown) {
      unknown = true;
      return;
    }
    if (r.Type.Type == SqlType::Null) return;
    if (Precedence(r.Type) > Precedence(type)) {
      const int length = type.Type == SqlType::Text ? type.Length : 0;
      type = r.Type;
      if (type.Type == SqlType::Text) type.Length = std::max(type.Length, length);
    } else if (r.Type.Type == type.Type) {
      if (type.Type == SqlType::Text) type.Length = std::max(type.Length, r.Type.Length);
      if (type.Type == SqlType::Numeric) {
        const int intDigits = std::max(type.Precision - type.Scale, r.Type.Precision - r.Type.Scale);
        type.Scale = std::max(type.Scale, r.Type.Scale);
        type.Precision = std::min(38, intDigits + type.Scale);
      }
    }
  };
  for (auto& r : results) consider(r);
  if (otherwise) consider(*otherwise);
  if (type.Type == SqlType::Null && unknown) type = Make(SqlType::Unknown);
  auto convert = [&](const Emitted& r) -> std::string {
    const Class cr = ClassOf(r.Type), ct = ClassOf(type);
    if (cr == Class::Text && ct == Class::Number) return "tsql_num(" + r.Sql + ", " + NumberTarget(type) + ")";
    if ((cr == Class::Text || cr == Class::Number) && ct == Class::Date) return "tsql_datetime(" + r.Sql + ")";
    return r.Sql;
  };
  std::string sql = "CASE";
  for (size_t i = 0; i < conditions.size(); ++i)
    sql += " WHEN " + conditions[i].Sql + " THEN " + convert(results[i]);
  if (otherwise) sql += " ELSE " + convert(*otherwise);
  sql += " END";
  Emitted out;
  out.Sql = sql;
  out.Type = type.Type == SqlType::Null ? Make(SqlType::Int) : type;
  return out;
}

TsqlEmitter::Emitted TsqlEmitter::Function(const Expr& e, const Scope& scope) {
  const std::string& name = e.Op;
  if (name == "UPDATE") {
    if (!context_.UpdatedColumns) throw Error("UPDATE(column) is allowed only in a trigger.");
    const std::string& column = e.Args.at(0)->Names.back();
    const auto& updated = *context_.UpdatedColumns;
    Emitted out;
    out.Type = Make(SqlType::Bit);
    out.Sql = std::any_of(updated.begin(), updated.end(),
                          [&](const std::string& c) { return SameName(c, column); })
                  ? "1"
                  : "0";
    return out;
  }
  auto arg = [&](size_t i) { return Expression(*e.Args.at(i), scope); };
  auto need = [&](size_t lo, size_t hi) {
    if (e.Args.size() < lo || e.Args.size() > hi)
      throw Error("The " + name + " function requires " + std::to_string(lo) +
                  (lo == hi ? "" : " to " + std::to_string(hi)) + " argument(s).");
  };
  auto textOf = [&](const Emitted& x) -> std::string {
    // A number given to a text function is converted as SQL Server converts it.
    const Class c = ClassOf(x.Type);
    if (c == Class::Number || c == Class::Date) {
      TypeInfo t = TextType(0);
      t.Name = "VARCHAR(MAX)";
      return CastTo(x, t, "").Sql;
    }
    return x.Sql;
  };
  Emitted out;
  if (AggregateNames().count(name)) {
    const bool star = !e.Args.empty() && e.Args[0]->Kind == ExprKind::Star;
    if (name == "COUNT" || name == "COUNT_BIG") {
      out.Type = Make(name == "COUNT" ? SqlType::Int : SqlType::BigInt);
      if (star) out.Sql = "count(*)";
      else {
        need(1, 1);
        Emitted a = arg(0);
        out.Sql = std::string("count(") + (e.Distinct ? "DISTINCT " : "") +
                  (a.Type.Type == SqlType::Text && !a.IsColumn ? Collated(a) : a.Sql) + ")";
      }
      return out;
    }
    need(1, 1);
    if (star) throw Error("T-SQL syntax error: * is allowed only in COUNT(*)");
    Emitted a = arg(0);
    const std::string distinct = e.Distinct ? "DISTINCT " : "";
    if (name == "SUM" || name == "AVG") {
      std::string x = a.Sql;
      if (ClassOf(a.Type) == Class::Text) x = "tsql_num(" + a.Sql + ", 'N')";
      if (name == "SUM") {
        out.Sql = "sum(" + distinct + x + ")";
        out.Type = a.Type;
        if (a.Type.Type == SqlType::Numeric) out.Type = NumericType(38, a.Type.Scale);
        if (a.Type.Type == SqlType::Bit) throw Error("Operand data type bit is invalid for sum operator.");
        if (a.Type.Type == SqlType::Text) out.Type = NumericType(38, 6);
      } else {
        if (a.Type.IsExact()) {
          out.Sql = "tsql_int(avg(" + distinct + x + "), 'F', 1)";
          out.Type = a.Type;
        } else {
          out.Sql = "avg(" + distinct + x + ")";
          out.Type = a.Type.Type == SqlType::Numeric ? NumericType(38, std::max(6, a.Type.Scale)) : a.Type;
        }
      }
      return out;
    }
    // MIN / MAX
    out.Sql = (name == "MIN" ? "min(" : "max(") + distinct +
              (a.Type.Type == SqlType::Text && !a.IsColumn ? Collated(a) : a.Sql) + ")";
    out.Type = a.Type;
    return out;
  }
  if (name == "ISNULL") {
    need(2, 2);
    Emitted a = arg(0), b = arg(1);
    out.Type = a.Type.Type == SqlType::Null || a.Type.Type == SqlType::Unknown ? b.Type : a.Type;
    std::string y = b.Sql;
    const Class ca = ClassOf(a.Type), cb = ClassOf(b.Type);
    if (ca == Class::Text && (cb == Class::Number || cb == Class::Date)) y = textOf(b);
    else if (ca == Class::Number && cb == Class::Text) y = "tsql_num(" + b.Sql + ", " + NumberTarget(a.Type) + ")";
    else if (ca == Class::Date && cb != Class::Date && cb != Class::Null) y = "tsql_datetime(" + b.Sql + ")";
    else if (ca == Class::Number && cb == Class::Number && a.Type.Type == SqlType::Numeric &&
             b.Type.Type != SqlType::Numeric && !b.Type.IsExact())
      y = "tsql_numeric(" + b.Sql + ", " + std::to_string(a.Type.Precision) + ", " + std::to_string(a.Type.Scale) + ", " + KindText(b.Type) + ")";
    out.Sql = "ifnull(" + a.Sql + ", " + y + ")";
    if (out.Type.Type == SqlType::Null) out.Type = Make(SqlType::Int);
    return out;
  }
  if (name == "COALESCE") {
    if (e.Args.size() < 2) throw Error("The COALESCE function requires at least two arguments.");
    std::vector<Emitted> args;
    TypeInfo type = Make(SqlType::Null);
    for (size_t i = 0; i < e.Args.size(); ++i) {
      args.push_back(arg(i));
      if (Precedence(args.back().Type) > Precedence(type)) type = args.back().Type;
    }
    out.Sql = "coalesce(";
    for (size_t i = 0; i < args.size(); ++i) {
      std::string x = args[i].Sql;
      if (ClassOf(args[i].Type) == Class::Text && ClassOf(type) == Class::Number)
        x = "tsql_num(" + x + ", " + NumberTarget(type) + ")";
      else if (ClassOf(type) == Class::Date && ClassOf(args[i].Type) != Class::Date && ClassOf(args[i].Type) != Class::Null)
        x = "tsql_datetime(" + x + ")";
      out.Sql += (i ? ", " : "") + x;
    }
    out.Sql += ")";
    out.Type = type.Type == SqlType::Null ? Make(SqlType::Int) : type;
    return out;
  }
  if (name == "NULLIF") {
    need(2, 2);
    Emitted a = arg(0), b = arg(1);
    out.Sql = "CASE WHEN " + Compare("=", a, b).Sql + " THEN NULL ELSE " + a.Sql + " END";
    out.Type = a.Type;
    return out;
  }
  if (name == "IIF") {
    Unsupported("IIF function");
  }
  if (name == "UPPER" || name == "LOWER") {
    need(1, 1);
    Emitted a = arg(0);
    out.Sql = (name == "UPPER" ? "tsql_upper(" : "tsql_lower(") + textOf(a) + ")";
    out.Type = a.Type.Type == SqlType::Text ? a.Type : TextType(30);
    return out;
  }
  if (name == "LEN" || name == "DATALENGTH") {
    need(1, 1);
    Emitted a = arg(0);
    out.Sql = (name == "LEN" ? "tsql_len(" + textOf(a) : "tsql_datalength(" + a.Sql) + ")";
    out.Type = Make(SqlType::Int);
    return out;
  }
  if (name == "SUBSTRING") {
    need(3, 3);
    Emitted a = arg(0);
    out.Sql = "tsql_substring(" + textOf(a) + ", " + arg(1).Sql + ", " + arg(2).Sql + ")";
    out.Type = a.Type.Type == SqlType::Text ? a.Type : TextType(0);
    return out;
  }
  if (name == "LEFT" || name == "RIGHT") {
    need(2, 2);
    Emitted a = arg(0);
    out.Sql = (name == "LEFT" ? "tsql_left(" : "tsql_right(") + textOf(a) + ", " + arg(1).Sql + ")";
    out.Type = a.Type.Type == SqlType::Text ? a.Type : TextType(0);
    return out;
  }
  if (name == "LTRIM" || name == "RTRIM" || name == "TRIM") {
    need(1, 1);
    Emitted a = arg(0);
    if (name == "TRIM") out.Sql = "tsql_ltrim(tsql_rtrim(" + textOf(a) + "))";
    else out.Sql = (name == "LTRIM" ? "tsql_ltrim(" : "tsql_rtrim(") + textOf(a) + ")";
    out.Type = a.Type.Type == SqlType::Text ? a.Type : TextType(0);
    return out;
  }
  if (name == "REPLACE") {
    need(3, 3);
    Emitted a = arg(0);
    out.Sql = "tsql_replace(" + textOf(a) + ", " + textOf(arg(1)) + ", " + textOf(arg(2)) + ")";
    out.Type = TextType(0);
    return out;
  }
  if (name == "CHARINDEX") {
    need(2, 3);
    out.Sql = "tsql_charindex(" + textOf(arg(0)) + ", " + textOf(arg(1)) + (e.Args.size() > 2 ? ", " + arg(2).Sql : "") + ")";
    out.Type = Make(SqlType::Int);
    return out;
  }
  if (name == "SPACE") {
    need(1, 1);
    out.Sql = "tsql_space(" + arg(0).Sql + ")";
    out.Type = TextType(0);
    return out;
  }
  if (name == "REPLICATE") {
    need(2, 2);
    out.Sql = "tsql_replicate(" + textOf(arg(0)) + ", " + arg(1).Sql + ")";
    out.Type = TextType(0);
    return out;
  }
  if (name == "ABS") {
    need(1, 1);
    Emitted a = arg(0);
    out.Sql = "abs(" + (ClassOf(a.Type) == Class::Text || ClassOf(a.Type) == Class::Unknown ? "tsql_num(" + a.Sql + ")" : a.Sql) + ")";
    out.Type = ClassOf(a.Type) == Class::Number ? a.Type : Make(SqlType::Float);
    return out;
  }
  if (name == "ROUND") {
    need(2, 3);
    Emitted a = arg(0);
    out.Sql = "tsql_round(" + (ClassOf(a.Type) == Class::Text ? "tsql_num(" + a.Sql + ", 'F')" : a.Sql) + ", " +
              arg(1).Sql + (e.Args.size() > 2 ? ", " + arg(2).Sql : "") + ")";
    out.Type = ClassOf(a.Type) == Class::Number ? a.Type : Make(SqlType::Float);
    if (out.Type.Type == SqlType::Bit) out.Type = Make(SqlType::Int);
    return out;
  }
  if (name == "FLOOR" || name == "CEILING" || name == "SIGN") {
    need(1, 1);
    Emitted a = arg(0);
    out.Sql = "tsql_" + UpperAscii(name) + "(" + a.Sql + ")";
    for (char& c : out.Sql) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    out.Sql = (name == "FLOOR" ? "tsql_floor(" : name == "CEILING" ? "tsql_ceiling(" : "tsql_sign(") + a.Sql + ")";
    out.Type = ClassOf(a.Type) == Class::Number ? a.Type : Make(SqlType::Float);
    if (out.Type.Type == SqlType::Numeric) out.Type.Scale = 0;
    return out;
  }
  if (name == "POWER") {
    need(2, 2);
    Emitted a = arg(0);
    out.Sql = "tsql_power(" + a.Sql + ", " + arg(1).Sql + ")";
    out.Type = ClassOf(a.Type) == Class::Number ? a.Type : Make(SqlType::Float);
    return out;
  }
  if (name == "GETDATE" || name == "GETUTCDATE" || name == "SYSDATETIME" || name == "CURRENT_TIMESTAMP") {
    need(0, 0);
    out.Sql = "tsql_getdate()";
    out.Type = Make(SqlType::DateTime);
    return out;
  }
  if (name == "DATEADD") {
    need(3, 3);
    out.Sql = "tsql_dateadd(" + QuoteText(e.Args[0]->Text) + ", " + arg(1).Sql + ", " + arg(2).Sql + ")";
    out.Type = Make(SqlType::DateTime);
    return out;
  }
  if (name == "DATEDIFF") {
    need(3, 3);
    out.Sql = "tsql_datediff(" + QuoteText(e.Args[0]->Text) + ", " + arg(1).Sql + ", " + arg(2).Sql + ")";
    out.Type = Make(SqlType::Int);
    return out;
  }
  if (name == "DATEPART" || name == "DATENAME") {
    need(2, 2);
    out.Sql = (name == "DATEPART" ? "tsql_datepart(" : "tsql_datename(") + QuoteText(e.Args[0]->Text) + ", " + arg(1).Sql + ")";
    out.Type = name == "DATEPART" ? Make(SqlType::Int) : TextType(30);
    return out;
  }
  if (name == "YEAR" || name == "MONTH" || name == "DAY") {
    need(1, 1);
    out.Sql = "tsql_datepart('" + name + "', " + arg(0).Sql + ")";
    out.Type = Make(SqlType::Int);
    return out;
  }
  if (name == "OBJECT_ID") {
    need(1, 2);
    out.Sql = "tsql_object_id(" + arg(0).Sql + (e.Args.size() > 1 ? ", " + arg(1).Sql : "") + ")";
    out.Type = Make(SqlType::Int);
    return out;
  }
  if (name == "OBJECTPROPERTY") {
    need(2, 2);
    out.Sql = "tsql_objectproperty(" + arg(0).Sql + ", " + arg(1).Sql + ")";
    out.Type = Make(SqlType::Int);
    return out;
  }
  if (name == "OBJECT_NAME") {
    need(1, 1);
    out.Sql = "tsql_object_name(" + arg(0).Sql + ")";
    out.Type = TextType(128);
    return out;
  }
  if (name == "SCOPE_IDENTITY" || name == "IDENT_CURRENT") {
    if (name == "IDENT_CURRENT") Unsupported("IDENT_CURRENT");
    need(0, 0);
    out.Sql = "last_insert_rowid()";
    out.Type = NumericType(38, 0);
    return out;
  }
  Unsupported("function " + name);
}

TsqlEmitter::Emitted TsqlEmitter::Expression(const Expr& e, const Scope& scope) {
  Emitted out;
  switch (e.Kind) {
  case ExprKind::Literal:
    switch (e.Literal) {
    case LiteralKind::Integer: {
      out.Sql = e.Text;
      const bool big = e.Text.size() > 10 || (e.Text.size() == 10 && e.Text > "2147483647");
      out.Type = Make(big ? SqlType::BigInt : SqlType::Int);
      if (e.Text.size() > 18) {
        out.Type = NumericType(38, 0);
        out.Sql = e.Text + ".0";
      }
      return out;
    }
    case LiteralKind::Decimal: {
      out.Sql = e.Text;
      if (out.Sql[0] == '.') out.Sql = "0" + out.Sql;
      if (out.Sql.size() > 1 && out.Sql[0] == '-' && out.Sql[1] == '.') out.Sql = "-0" + out.Sql.substr(1);
      if (out.Sql.back() == '.') out.Sql += "0";
      const size_t dot = e.Text.find('.');
      const int scale = static_cast<int>(e.Text.size() - dot - 1);
      int digits = 0;
      for (char c : e.Text)
        if (c >= '0' && c <= '9') ++digits;
      out.Type = NumericType(std::max(digits, scale), scale);
      return out;
    }
    case LiteralKind::Float:
      out.Sql = e.Text;
      out.Type = Make(SqlType::Float);
      return out;
    case LiteralKind::String:
      out.Sql = QuoteText(e.Text);
      out.Type = TextType(static_cast<int>(std::max<size_t>(1, e.Text.size())));
      return out;
    case LiteralKind::Null:
      out.Sql = "NULL";
      out.Type = Make(SqlType::Null);
      return out;
    }
    break;
  case ExprKind::Column:
    return Column(e, scope);
  case ExprKind::Placeholder:
    out.Sql = "?" + std::to_string(e.Index + 1);
    out.Type = static_cast<size_t>(e.Index) < context_.PlaceholderTypes.size()
                   ? context_.PlaceholderTypes[static_cast<size_t>(e.Index)]
                   : Make(SqlType::Unknown);
    return out;
  case ExprKind::Variable: {
    const std::string v = UpperAscii(e.Text);
    if (v == "@@IDENTITY") {
      out.Sql = "last_insert_rowid()";
      out.Type = NumericType(38, 0);
      return out;
    }
    if (v == "@@ROWCOUNT") {
      out.Sql = "changes()";
      out.Type = Make(SqlType::Int);
      return out;
    }
    const std::optional<VariableSlot> slot =
        context_.Variable ? context_.Variable(e.Text) : std::nullopt;
    if (!slot) {
      if (v.rfind("@@", 0) == 0) Unsupported("variable " + e.Text);
      throw Error("Must declare the scalar variable \"" + e.Text + "\".");
    }
    out.Sql = "?" + std::to_string(slot->Index + 1);
    out.Type = slot->Type;
    return out;
  }
  case ExprKind::Unary: {
    Emitted a = Expression(*e.Args[0], scope);
    if (e.Op == "NOT") {
      out.Sql = "(NOT " + a.Sql + ")";
      out.Type = Make(SqlType::Bit);
      return out;
    }
    const Class c = ClassOf(a.Type);
    std::string x = c == Class::Text || c == Class::Unknown ? "tsql_num(" + a.Sql + ")" : a.Sql;
    out.Sql = "(" + e.Op + x + ")";
    out.Type = c == Class::Number ? a.Type : Make(c == Class::Null ? SqlType::Int : SqlType::Unknown);
    return out;
  }
  case ExprKind::Binary: {
    Emitted a = Expression(*e.Args[0], scope);
    Emitted b = Expression(*e.Args[1], scope);
    if (e.Op == "AND" || e.Op == "OR") {
      out.Sql = "(" + a.Sql + " " + e.Op + " " + b.Sql + ")";
      out.Type = Make(SqlType::Bit);
      return out;
    }
    if (e.Op == "=" || e.Op == "<>" || e.Op == "<" || e.Op == ">" || e.Op == "<=" || e.Op == ">=")
      return Compare(e.Op, a, b);
    return Arithmetic(e.Op, a, b);
  }
  case ExprKind::Function:
    return Function(e, scope);
  case ExprKind::Cast: {
    Emitted v = Expression(*e.Args[0], scope);
    std::string style;
    if (e.Args.size() > 1) style = Expression(*e.Args[1], scope).Sql;
    return CastTo(v, e.Target, style);
  }
  case ExprKind::Case:
    return Case(e, scope);
  case ExprKind::IsNull: {
    Emitted a = Expression(*e.Args[0], scope);
    out.Sql = "(" + a.Sql + (e.Not ? " IS NOT NULL)" : " IS NULL)");
    out.Type = Make(SqlType::Bit);
    return out;
  }
  case ExprKind::Between: {
    Emitted a = Expression(*e.Args[0], scope);
    Emitted lo = Expression(*e.Args[1], scope);
    Emitted hi = Expression(*e.Args[2], scope);
    out.Sql = "(" + Compare(">=", a, lo).Sql + " AND " + Compare("<=", a, hi).Sql + ")";
    if (e.Not) out.Sql = "(NOT " + out.Sql + ")";
    out.Type = Make(SqlType::Bit);
    return out;
  }
  case ExprKind::InList: {
    Emitted a = Expression(*e.Args[0], scope);
    std::vector<Emitted> items;
    bool simple = true;
    for (size_t i = 1; i < e.Args.size(); ++i) {
      items.push_back(Expression(*e.Args[i], scope));
      const Class ci = ClassOf(items.back().Type);
      const Class ca = ClassOf(a.Type);
      if (!(ci == ca || ci == Class::Null)) simple = false;
    }
    if (ClassOf(a.Type) == Class::Unknown) simple = false;
    if (simple) {
      out.Sql = "(" + (ClassOf(a.Type) == Class::Text ? Collated(a) : a.Sql) + (e.Not ? " NOT IN (" : " IN (");
      for (size_t i = 0; i < items.size(); ++i) out.Sql += (i ? ", " : "") + items[i].Sql;
      out.Sql += "))";
    } else {
      out.Sql = "(";
      for (size_t i = 0; i < items.size(); ++i) out.Sql += (i ? " OR " : "") + Compare("=", a, items[i]).Sql;
      out.Sql += ")";
      if (e.Not) out.Sql = "(NOT " + out.Sql + ")";
    }
    out.Type = Make(SqlType::Bit);
    return out;
  }
  case ExprKind::InSelect: {
    Emitted a = Expression(*e.Args[0], scope);
    EmittedSelect sub = SelectIn(*e.Select, &scope, nullptr);
    if (sub.ColumnsKnown && sub.Columns.size() != 1)
      throw Error("Only one expression can be specified in the select list when the subquery is not introduced with EXISTS.");
    std::string left = a.Sql;
    if (ClassOf(a.Type) == Class::Text) left = Collated(a);
    if (sub.ColumnsKnown && ClassOf(a.Type) == Class::Text && ClassOf(sub.Columns[0].Type) == Class::Number)
      left = "tsql_num(" + a.Sql + ", " + NumberTarget(sub.Columns[0].Type) + ")";
    out.Sql = "(" + left + (e.Not ? " NOT IN (" : " IN (") + sub.Sql + "))";
    out.Type = Make(SqlType::Bit);
    return out;
  }
  case ExprKind::Like: {
    Emitted a = Expression(*e.Args[0], scope);
    Emitted p = Expression(*e.Args[1], scope);
    out.Sql = "tsql_like(" + a.Sql + ", " + p.Sql;
    if (e.Args.size() > 2) out.Sql += ", " + Expression(*e.Args[2], scope).Sql;
    out.Sql += ")";
    if (e.Not) out.Sql = "(NOT " + out.Sql + ")";
    out.Type = Make(SqlType::Bit);
    return out;
  }
  case ExprKind::Exists: {
    EmittedSelect sub = SelectIn(*e.Select, &scope, nullptr);
    out.Sql = "EXISTS (" + sub.Sql + ")";
    out.Type = Make(SqlType::Bit);
    return out;
  }
  case ExprKind::Subquery: {
    EmittedSelect sub = SelectIn(*e.Select, &scope, nullptr);
    if (sub.ColumnsKnown && sub.Columns.size() != 1)
      throw Error("Only one expression can be specified in the select list when the subquery is not introduced with EXISTS.");
    out.Sql = "(" + sub.Sql + ")";
    out.Type = sub.ColumnsKnown ? sub.Columns[0].Type : Make(SqlType::Unknown);
    return out;
  }
  case ExprKind::Star:
    throw Error("T-SQL syntax error: * is not allowed here");
  }
  throw Error("T-SQL: unknown expression");
}

// --- FROM ------------------------------------------------------------------------------

std::string TsqlEmitter::TableSource(const std::vector<std::string>& names, std::vector<ColumnInfo>& columns,
                                     bool& known) {
  const std::string table = names.back();
  const std::string upper = UpperAscii(table);
  const std::string database = names.size() >= 3 ? UpperAscii(names[names.size() - 3]) : std::string();
  auto catalogColumns = [&](bool indexes) {
    columns.clear();
    columns.push_back({"name", TextType(128)});
    columns.push_back({"id", Make(SqlType::Int)});
    if (indexes) {
      columns.push_back({"indid", Make(SqlType::Int)});
    } else {
      columns.push_back({"xtype", TextType(2)});
      columns.push_back({"type", TextType(2)});
      columns.push_back({"parent_obj", Make(SqlType::Int)});
      columns.push_back({"uid", Make(SqlType::Int)});
      columns.push_back({"crdate", Make(SqlType::DateTime)});
    }
  };
  if (upper == "SYSOBJECTS") {
    catalogColumns(false);
    return "(" + (database == "TEMPDB" ? context_.TempSysObjectsSql : context_.SysObjectsSql) + ")";
  }
  if (upper == "SYSINDEXES") {
    catalogColumns(true);
    return "(" + context_.SysIndexesSql + ")";
  }
  if (database == "TEMPDB" && (table.empty() || table[0] != '#')) Unsupported("tempdb table " + table);
  if (names.size() >= 2 && UpperAscii(names[names.size() - 2]) == "SYS") Unsupported("catalog view sys." + table);
  if (names.size() >= 2 && UpperAscii(names[names.size() - 2]) == "INFORMATION_SCHEMA")
    Unsupported("INFORMATION_SCHEMA." + table);
  auto rowSet = names.size() == 1 ? context_.RowSets.find(upper) : context_.RowSets.end();
  const std::string source = rowSet != context_.RowSets.end() ? rowSet->second : table;
  const std::vector<ColumnInfo>* cols = context_.Columns ? context_.Columns(source) : nullptr;
  if (cols) {
    columns = *cols;
    known = true;
  } else {
    known = false;
  }
  return QuoteName(source);
}

std::string TsqlEmitter::From(const TableRef& ref, Scope& scope) {
  if (ref.IsJoin()) {
    std::string left = From(*ref.Left, scope);
    const bool nestedRight = ref.Right->IsJoin();
    std::string right = From(*ref.Right, scope);
    if (nestedRight) right = "(" + right + ")";
    std::string word;
    switch (ref.Join) {
    case JoinKind::Inner: word = "INNER JOIN"; break;
    case JoinKind::Left: word = "LEFT JOIN"; break;
    case JoinKind::Right: word = "RIGHT JOIN"; break;
    case JoinKind::Full: word = "FULL JOIN"; break;
    case JoinKind::Cross: word = "CROSS JOIN"; break;
    default: break;
    }
    std::string sql = left + " " + word + " " + right;
    if (ref.On) sql += " ON " + Expression(*ref.On, scope).Sql;
    return sql;
  }
  Source src;
  std::string sql;
  if (ref.Select) {
    EmittedSelect sub = SelectIn(*ref.Select, scope.Outer, nullptr);
    sql = "(" + sub.Sql + ")";
    src.Columns = sub.Columns;
    src.Known = sub.ColumnsKnown;
    src.Name = ref.Alias;
  } else {
    bool known = true;
    sql = TableSource(ref.Names, src.Columns, known);
    src.Known = known;
    src.Name = ref.Alias.empty() ? ref.Names.back() : ref.Alias;
    if (&ref == rowidSource_) sql = "(SELECT rowid AS \"__rowid\", * FROM " + sql + ")";
    if (!ref.Alias.empty() || sql != QuoteName(ref.Names.back())) sql += " AS " + QuoteName(src.Name);
  }
  if (ref.Select) sql += " AS " + QuoteName(src.Name);
  scope.Sources.push_back(std::move(src));
  return sql;
}

// --- SELECT ----------------------------------------------------------------------------

EmittedSelect TsqlEmitter::QueryIn(const QuerySpec& q, const std::vector<OrderItem>& orderBy, const Scope* outer,
                                   const std::vector<TypeInfo>* targets) {
  Scope scope;
  scope.Outer = outer;
  std::string from;
  if (q.From) from = From(*q.From, scope);
  EmittedSelect out;
  std::vector<std::string> items;
  auto addItem = [&](Emitted value, const std::string& name, bool named) {
    const size_t index = out.Columns.size();
    if (targets && index < targets->size()) value = ConvertForColumn(value, (*targets)[index]);
    std::string sql = value.Sql;
    if (value.Type.Type == SqlType::Text && !value.IsColumn) sql = Collated(value);
    if (named) sql += " AS " + QuoteName(name);
    items.push_back(sql);
    out.Columns.push_back({name, value.Type.Type == SqlType::Null ? Make(SqlType::Int) : value.Type});
  };
  for (const SelectItem& item : q.Items) {
    if (item.Value->Kind == ExprKind::Star) {
      const std::string qualifier = item.Value->Names.empty() ? std::string() : item.Value->Names.back();
      bool matched = false;
      for (const Source& src : scope.Sources) {
        if (!qualifier.empty() && !SameName(src.Name, qualifier)) continue;
        matched = true;
        if (!src.Known) {
          items.push_back(QuoteName(src.Name) + ".*");
          out.ColumnsKnown = false;
          continue;
        }
        for (const ColumnInfo& c : src.Columns) {
          Emitted v;
          v.Sql = QuoteName(src.Name) + "." + QuoteName(c.Name);
          v.Type = c.Type;
          v.IsColumn = true;
          addItem(v, c.Name, true);
        }
      }
      if (!matched) {
        if (!qualifier.empty()) throw Error("The object name '" + qualifier + "' is not valid here (" + qualifier + ".*).");
        throw Error("SELECT * requires a FROM clause.");
      }
      continue;
    }
    Emitted v = Expression(*item.Value, scope);
    std::string name = item.Alias;
    bool named = !name.empty();
    if (!named && item.Value->Kind == ExprKind::Column) {
      name = item.Value->Names.back();
      named = true;
    }
    addItem(v, name, named);
  }
  std::string sql = "SELECT ";
  if (q.Distinct) sql += "DISTINCT ";
  for (size_t i = 0; i < items.size(); ++i) sql += (i ? ", " : "") + items[i];
  if (!from.empty()) sql += " FROM " + from;
  if (q.Where) sql += " WHERE " + Expression(*q.Where, scope).Sql;
  if (!q.GroupBy.empty()) {
    sql += " GROUP BY ";
    for (size_t i = 0; i < q.GroupBy.size(); ++i) {
      Emitted g = Expression(*q.GroupBy[i], scope);
      sql += (i ? ", " : "") + (g.Type.Type == SqlType::Text && !g.IsColumn ? Collated(g) : g.Sql);
    }
  }
  if (q.Having) sql += " HAVING " + Expression(*q.Having, scope).Sql;
  if (!orderBy.empty()) {
    sql += " ORDER BY ";
    for (size_t i = 0; i < orderBy.size(); ++i) {
      const Expr& o = *orderBy[i].Value;
      std::string term;
      const TypeInfo* type = nullptr;
      Emitted tmp;
      if (o.Kind == ExprKind::Literal && o.Literal == LiteralKind::Integer) {
        const size_t k = static_cast<size_t>(std::stoll(o.Text));
        if (k < 1 || k > out.Columns.size())
          throw Error("The ORDER BY position number " + o.Text + " is out of range of the number of items in the select list.");
        term = o.Text;
        type = &out.Columns[k - 1].Type;
      } else if (o.Kind == ExprKind::Column && o.Names.size() == 1) {
        for (size_t k = 0; k < q.Items.size() && k < out.Columns.size(); ++k) {
          if (!q.Items[k].Alias.empty() && SameName(q.Items[k].Alias, o.Names[0])) {
            term = std::to_string(k + 1);
            type = &out.Columns[k].Type;
            break;
          }
        }
      }
      if (term.empty()) {
        tmp = Expression(o, scope);
        term = tmp.Sql;
        type = &tmp.Type;
        if (tmp.Type.Type == SqlType::Text && !tmp.IsColumn) term = Collated(tmp);
      } else if (type && type->Type == SqlType::Text) {
        term += " COLLATE SQLSERVER";
      }
      sql += (i ? ", " : "") + term + (orderBy[i].Descending ? " DESC" : "");
    }
  }
  if (q.Top) {
    if (q.TopPercent) Unsupported("TOP ... PERCENT");
    Emitted top = Expression(*q.Top, scope);
    sql += " LIMIT " + top.Sql;
  }
  out.Sql = sql;
  return out;
}

EmittedSelect TsqlEmitter::SelectIn(const SelectStmt& s, const Scope* outer, const std::vector<TypeInfo>* targets) {
  for (const QuerySpec& m : s.Members)
    if (!m.Into.empty() && (&m != &s.Members[0] || outer)) throw Error("SELECT INTO is allowed only in the first query of a statement.");
  if (s.Members.size() == 1) {
    const QuerySpec& q = s.Members[0];
    std::vector<OrderItem> order;
    for (const auto& o : q.OrderBy) order.push_back({nullptr, o.Descending});
    // The member's own ORDER BY (parenthesised) and the statement's apply in that order.
    if (!q.OrderBy.empty() && !s.OrderBy.empty()) {
      // (SELECT TOP n ... ORDER BY a) ORDER BY b: the inner order picks the rows.
      EmittedSelect inner = QueryIn(q, q.OrderBy, outer, targets);
      EmittedSelect out = inner;
      out.Sql = "SELECT * FROM (" + inner.Sql + ") ORDER BY ";
      for (size_t i = 0; i < s.OrderBy.size(); ++i) {
        const Expr& o = *s.OrderBy[i].Value;
        size_t k = 0;
        if (o.Kind == ExprKind::Literal && o.Literal == LiteralKind::Integer) k = static_cast<size_t>(std::stoll(o.Text));
        else if (o.Kind == ExprKind::Column)
          for (size_t j = 0; j < inner.Columns.size(); ++j)
            if (SameName(inner.Columns[j].Name, o.Names.back())) {
              k = j + 1;
              break;
            }
        if (k == 0 || k > inner.Columns.size()) Unsupported("ORDER BY of a column not in the select list here");
        out.Sql += (i ? ", " : "") + std::to_string(k) +
                   (inner.Columns[k - 1].Type.Type == SqlType::Text ? " COLLATE SQLSERVER" : "") +
                   (s.OrderBy[i].Descending ? " DESC" : "");
      }
      return out;
    }
    return QueryIn(q, q.OrderBy.empty() ? s.OrderBy : q.OrderBy, outer, targets);
  }
  EmittedSelect out;
  std::vector<EmittedSelect> members;
  for (size_t i = 0; i < s.Members.size(); ++i) {
    const QuerySpec& q = s.Members[i];
    EmittedSelect m = QueryIn(q, q.OrderBy, outer, targets);
    if (q.Top || !q.OrderBy.empty()) m.Sql = "SELECT * FROM (" + m.Sql + ")";
    if (i > 0 && m.ColumnsKnown && members[0].ColumnsKnown && m.Columns.size() != members[0].Columns.size())
      throw Error("All queries combined using a UNION, INTERSECT or EXCEPT operator must have an equal number of expressions in their target lists.");
    members.push_back(std::move(m));
  }
  out.Columns = members[0].Columns;
  out.ColumnsKnown = members[0].ColumnsKnown;
  for (size_t i = 1; i < members.size(); ++i) {
    if (!members[i].ColumnsKnown) continue;
    for (size_t c = 0; c < out.Columns.size() && c < members[i].Columns.size(); ++c) {
      TypeInfo& t = out.Columns[c].Type;
      const TypeInfo& u = members[i].Columns[c].Type;
      if (t.Type == SqlType::Unknown || u.Type == SqlType::Unknown) continue;
      if (Precedence(u) > Precedence(t) && u.Type != SqlType::Null) {
        const int len = t.Type == SqlType::Text ? t.Length : 0;
        t = u;
        if (t.Type == SqlType::Text) t.Length = std::max(t.Length, len);
      } else if (t.Type == u.Type && t.Type == SqlType::Text) {
        t.Length = (t.Length <= 0 || u.Length <= 0) ? 0 : std::max(t.Length, u.Length);
      } else if (t.Type == u.Type && t.Type == SqlType::Numeric) {
        t.Scale = std::max(t.Scale, u.Scale);
      }
    }
  }
  std::string sql;
  for (size_t i = 0; i < members.size(); ++i) {
    if (i) sql += " " + s.SetOps[i - 1] + " ";
    sql += members[i].Sql;
  }
  if (!s.OrderBy.empty()) {
    sql += " ORDER BY ";
    const QuerySpec& first = s.Members[0];
    for (size_t i = 0; i < s.OrderBy.size(); ++i) {
      const Expr& o = *s.OrderBy[i].Value;
      size_t k = 0;
      if (o.Kind == ExprKind::Literal && o.Literal == LiteralKind::Integer) {
        k = static_cast<size_t>(std::stoll(o.Text));
      } else if (o.Kind == ExprKind::Column) {
        // An output name, or the same column expression as in the first query.
        for (size_t j = 0; j < out.Columns.size() && !k; ++j)
          if (o.Names.size() == 1 && SameName(out.Columns[j].Name, o.Names[0])) k = j + 1;
        for (size_t j = 0; j < first.Items.size() && !k; ++j) {
          const Expr& it = *first.Items[j].Value;
          if (it.Kind == ExprKind::Column && it.Names.size() == o.Names.size()) {
            bool same = true;
            for (size_t n = 0; n < o.Names.size(); ++n) same = same && SameName(it.Names[n], o.Names[n]);
            if (same) k = j + 1;
          }
        }
      }
      if (k == 0 || k > out.Columns.size())
        throw Error("ORDER BY items must appear in the select list if the statement contains a UNION, INTERSECT or EXCEPT operator.");
      sql += (i ? ", " : "") + std::to_string(k) +
             (out.Columns[k - 1].Type.Type == SqlType::Text ? " COLLATE SQLSERVER" : "") +
             (s.OrderBy[i].Descending ? " DESC" : "");
    }
  }
  out.Sql = sql;
  return out;
}

EmittedSelect TsqlEmitter::Select(const SelectStmt& select) { return SelectIn(select, nullptr, nullptr); }

std::string TsqlEmitter::Condition(const Expr& condition) {
  Scope scope;
  return "SELECT CASE WHEN " + Expression(condition, scope).Sql + " THEN 1 ELSE 0 END";
}

// --- DML -------------------------------------------------------------------------------

DmlPlan TsqlEmitter::Insert(const Statement& s) {
  DmlPlan plan;
  plan.Kind = DmlKind::Insert;
  plan.Table = SqliteTableName(s.Table);
  std::vector<ColumnInfo> tableColumns;
  bool known = false;
  const std::string target = TableSource(s.Table, tableColumns, known);
  if (target[0] == '(') Unsupported("INSERT into a catalog view");
  std::vector<TypeInfo> types;
  std::vector<std::string> names = s.Columns;
  if (names.empty() && known) {
    for (const ColumnInfo& c : tableColumns)
      if (!c.Type.Identity) names.push_back(c.Name);
  }
  for (const std::string& n : names) {
    TypeInfo t;
    bool found = false;
    for (const ColumnInfo& c : tableColumns)
      if (SameName(c.Name, n)) {
        t = c.Type;
        found = true;
      }
    if (known && !found) throw Error("Invalid column name '" + n + "'.");
    types.push_back(t);
  }
  plan.Columns = names;
  std::string sql = "INSERT INTO " + target;
  if (!names.empty()) {
    sql += " (";
    for (size_t i = 0; i < names.size(); ++i) sql += (i ? ", " : "") + QuoteName(names[i]);
    sql += ")";
  }
  if (s.DefaultValues) {
    sql += " DEFAULT VALUES";
  } else if (s.Select) {
    EmittedSelect sel = SelectIn(*s.Select, nullptr, &types);
    if (sel.ColumnsKnown && !names.empty() && sel.Columns.size() != names.size())
      throw Error("The select list for the INSERT statement contains " +
                  std::string(sel.Columns.size() < names.size() ? "fewer" : "more") + " items than the insert list.");
    sql += " " + sel.Sql;
  } else {
    sql += " VALUES ";
    Scope scope;
    for (size_t r = 0; r < s.Values.size(); ++r) {
      const auto& row = s.Values[r];
      if (!names.empty() && row.size() != names.size())
        throw Error("There are " + std::string(row.size() < names.size() ? "fewer" : "more") +
                    " columns in the INSERT statement than values specified in the VALUES clause.");
      sql += r ? ", (" : "(";
      for (size_t i = 0; i < row.size(); ++i) {
        Emitted v = Expression(*row[i], scope);
        if (i < types.size()) v = ConvertForColumn(v, types[i]);
        sql += (i ? ", " : "") + v.Sql;
      }
      sql += ")";
    }
  }
  plan.Sql = sql;
  return plan;
}

namespace {

// The table reference of a FROM clause that a DML target names (by alias or table name).
const TableRef* FindTarget(const TableRef& r, const std::string& name) {
  if (r.IsJoin()) {
    if (const TableRef* x = FindTarget(*r.Left, name)) return x;
    return FindTarget(*r.Right, name);
  }
  if (!r.Select && SameName(r.Alias.empty() ? r.Names.back() : r.Alias, name)) return &r;
  return nullptr;
}

} // namespace

DmlPlan TsqlEmitter::Update(const Statement& s) {
  if (s.Top) Unsupported("UPDATE TOP");
  DmlPlan plan;
  plan.Kind = DmlKind::Update;
  plan.Table = SqliteTableName(s.Table);
  Scope scope;
  Source src;
  bool known = false;
  std::string fromSql;
  std::string targetName = s.Table.back();
  const TableRef* inFrom = s.From ? FindTarget(*s.From, targetName) : nullptr;
  if (inFrom) {
    // UPDATE t SET ... FROM T t JOIN ...: the target is a row of the FROM clause; SQLite
    // updates it under a private name joined to that row by rowid.
    plan.Table = inFrom->Names.back();
    rowidSource_ = inFrom;
    fromSql = From(*s.From, scope);
    rowidSource_ = nullptr;
    for (const Source& x : scope.Sources)
      if (SameName(x.Name, targetName)) src = x;
    known = src.Known;
  }
  const std::string target = TableSource(inFrom ? inFrom->Names : s.Table, inFrom ? src.Columns : src.Columns, known);
  if (target[0] == '(') Unsupported("UPDATE of a catalog view");
  if (!inFrom) {
    src.Known = known;
    src.Name = targetName;
    scope.Sources.push_back(src);
    if (s.From) fromSql = From(*s.From, scope);
  }
  std::string sql = "UPDATE " + target + (inFrom ? " AS \"__target\"" : "") + " SET ";
  for (size_t i = 0; i < s.Assignments.size(); ++i) {
    const auto& [column, value] = s.Assignments[i];
    TypeInfo t;
    bool found = false;
    for (const ColumnInfo& c : src.Columns)
      if (SameName(c.Name, column)) {
        t = c.Type;
        found = true;
      }
    if (known && !found) throw Error("Invalid column name '" + column + "'.");
    Emitted v = ConvertForColumn(Expression(*value, scope), t);
    sql += (i ? ", " : "") + QuoteName(column) + " = " + v.Sql;
    plan.Columns.push_back(column);
  }
  std::string where = s.Where ? Expression(*s.Where, scope).Sql : std::string();
  if (!fromSql.empty()) {
    sql += " FROM " + fromSql;
    std::string condition = inFrom ? "\"__target\".rowid = " + QuoteName(targetName) + ".\"__rowid\"" : std::string();
    if (!where.empty()) condition += (condition.empty() ? "" : " AND ") + ("(" + where + ")");
    if (!condition.empty()) sql += " WHERE " + condition;
    plan.RowFilter = "rowid IN (SELECT " + QuoteName(targetName) + (inFrom ? ".\"__rowid\"" : ".rowid") + " FROM " +
                     (inFrom ? fromSql : QuoteName(plan.Table) + " CROSS JOIN " + fromSql) +
                     (where.empty() ? "" : " WHERE " + where) + ")";
  } else {
    plan.RowFilter = where.empty() ? "1" : where;
    if (!where.empty()) sql += " WHERE " + where;
  }
  plan.Sql = sql;
  return plan;
}

DmlPlan TsqlEmitter::Delete(const Statement& s) {
  if (s.Top) Unsupported("DELETE TOP");
  DmlPlan plan;
  plan.Kind = DmlKind::Delete;
  plan.Table = SqliteTableName(s.Table);
  Scope scope;
  Source src;
  bool known = false;
  const std::string target = TableSource(s.Table, src.Columns, known);
  if (target[0] == '(') Unsupported("DELETE from a catalog view");
  src.Known = known;
  src.Name = s.Table.back();
  if (s.From) {
    // DELETE [FROM] t FROM t JOIN ... WHERE ...: the rows of t that the join selects.
    Scope fromScope;
    std::string from = From(*s.From, fromScope);
    const Source* targetSource = nullptr;
    for (const Source& x : fromScope.Sources)
      if (SameName(x.Name, src.Name)) targetSource = &x;
    if (!targetSource) Unsupported("DELETE ... FROM without the target table in the FROM clause");
    std::string filter = "rowid IN (SELECT " + QuoteName(targetSource->Name) + ".rowid FROM " + from;
    if (s.Where) filter += " WHERE " + Expression(*s.Where, fromScope).Sql;
    filter += ")";
    // The target name may be an alias of the FROM clause: resolve to its table.
    std::string table = plan.Table;
    std::function<const TableRef*(const TableRef&)> find = [&](const TableRef& r) -> const TableRef* {
      if (r.IsJoin()) {
        if (auto* x = find(*r.Left)) return x;
        return find(*r.Right);
      }
      if (!r.Select && SameName(r.Alias.empty() ? r.Names.back() : r.Alias, src.Name)) return &r;
      return nullptr;
    };
    if (const TableRef* r = find(*s.From)) table = r->Names.back();
    plan.Table = table;
    plan.RowFilter = filter;
    plan.Sql = "DELETE FROM " + QuoteName(table) + " WHERE " + filter;
    return plan;
  }
  scope.Sources.push_back(src);
  plan.RowFilter = "1";
  std::string sql = "DELETE FROM " + target;
  if (s.Where) {
    plan.RowFilter = Expression(*s.Where, scope).Sql;
    sql += " WHERE " + plan.RowFilter;
  }
  plan.Sql = sql;
  return plan;
}

// --- DDL -------------------------------------------------------------------------------

DdlPlan TsqlEmitter::CreateTable(const Statement& s) {
  DdlPlan plan;
  const std::string table = SqliteTableName(s.Table);
  const bool temp = !table.empty() && table[0] == '#';
  if (s.Table.size() >= 3 && UpperAscii(s.Table[s.Table.size() - 3]) == "TEMPDB" && !temp)
    Unsupported("CREATE TABLE in tempdb");
  const ColumnDef* identity = nullptr;
  for (const ColumnDef& c : s.ColumnDefs) {
    if (c.Type.Identity) {
      if (identity) throw Error("Multiple identity columns specified for table '" + table + "'.");
      identity = &c;
      if (c.IdentityStep != 1) Unsupported("IDENTITY with an increment other than 1");
    }
  }
  std::string sql = std::string("CREATE ") + (temp ? "TEMP " : "") + "TABLE " + QuoteName(table) + " (";
  bool first = true;
  Scope empty;
  for (const ColumnDef& c : s.ColumnDefs) {
    sql += first ? "" : ", ";
    first = false;
    sql += QuoteName(c.Name) + " ";
    if (&c == identity) {
      if (c.Type.Type != SqlType::Int && c.Type.Type != SqlType::BigInt &&
          !(c.Type.Type == SqlType::Numeric && c.Type.Scale == 0))
        throw Error("Identity column '" + c.Name + "' must be of data type int, bigint, smallint, tinyint, or decimal or numeric with a scale of 0.");
      sql += "INTEGER PRIMARY KEY AUTOINCREMENT";
    } else {
      sql += c.Type.Name;
      if (c.PrimaryKey) sql += " PRIMARY KEY";
    }
    if (c.NotNull) sql += " NOT NULL";
    if (c.Unique) sql += " UNIQUE";
    if (c.Type.Type == SqlType::Text) sql += " COLLATE SQLSERVER";
    if (c.Default) sql += " DEFAULT (" + ConvertForColumn(Expression(*c.Default, empty), c.Type).Sql + ")";
  }
  for (const TableConstraint& k : s.Constraints) {
    std::string kind = k.Kind;
    if (kind == "PRIMARY KEY" && identity) {
      bool onIdentity = k.Columns.size() == 1 && SameName(k.Columns[0], identity->Name);
      if (onIdentity) continue;
      kind = "UNIQUE";
    }
    sql += ", ";
    if (!k.Name.empty()) sql += "CONSTRAINT " + QuoteName(k.Name) + " ";
    sql += kind + " (";
    for (size_t i = 0; i < k.Columns.size(); ++i) sql += (i ? ", " : "") + QuoteName(k.Columns[i]);
    sql += ")";
  }
  sql += ")";
  plan.Sql.push_back(sql);
  if (identity && identity->IdentitySeed != 1) {
    plan.Sql.push_back(std::string("INSERT INTO ") + (temp ? "temp." : "main.") + "sqlite_sequence (name, seq) VALUES (" +
                       QuoteText(table) + ", " + std::to_string(identity->IdentitySeed - 1) + ")");
  }
  return plan;
}

DdlPlan TsqlEmitter::CreateTableFor(const std::string& table, const std::vector<ColumnInfo>& columns) {
  DdlPlan plan;
  const bool temp = !table.empty() && table[0] == '#';
  std::string sql = std::string("CREATE ") + (temp ? "TEMP " : "") + "TABLE " + QuoteName(table) + " (";
  std::set<std::string> seen;
  for (size_t i = 0; i < columns.size(); ++i) {
    const ColumnInfo& c = columns[i];
    if (c.Name.empty())
      throw Error("An object or column name is missing or empty. For SELECT INTO statements, verify each column has a name.");
    if (!seen.insert(UpperAscii(c.Name)).second)
      throw Error("Column names in each table must be unique. Column name '" + c.Name + "' in table '" + table + "' is specified more than once.");
    sql += (i ? ", " : "") + QuoteName(c.Name);
    const std::string decl = TypeDeclaration(c.Type);
    if (!decl.empty()) sql += " " + decl;
    if (c.Type.Type == SqlType::Text) sql += " COLLATE SQLSERVER";
  }
  sql += ")";
  plan.Sql.push_back(sql);
  return plan;
}

DdlPlan TsqlEmitter::CreateIndex(const Statement& s) {
  DdlPlan plan;
  const std::string table = SqliteTableName(s.Table);
  const bool temp = !table.empty() && table[0] == '#';
  std::string sql = std::string("CREATE ") + (s.UniqueIndex ? "UNIQUE " : "") + "INDEX " + (temp ? "temp." : "") +
                    QuoteName(s.IndexName) + " ON " + QuoteName(table) + " (";
  for (size_t i = 0; i < s.Columns.size(); ++i)
    sql += (i ? ", " : "") + QuoteName(s.Columns[i]) + (s.Descending[i] ? " DESC" : "");
  sql += ")";
  plan.Sql.push_back(sql);
  return plan;
}

DdlPlan TsqlEmitter::Drop(const Statement& s) {
  DdlPlan plan;
  if (s.Kind == StatementKind::DropTable) {
    const std::string table = SqliteTableName(s.Table);
    const bool temp = !table.empty() && table[0] == '#';
    plan.Sql.push_back(std::string("DROP TABLE ") + (s.IfExists ? "IF EXISTS " : "") + (temp ? "temp." : "main.") +
                       QuoteName(table));
  } else {
    plan.Sql.push_back(std::string("DROP INDEX ") + (s.IfExists ? "IF EXISTS " : "") + QuoteName(s.IndexName));
  }
  return plan;
}

} // namespace vq::sandbox
