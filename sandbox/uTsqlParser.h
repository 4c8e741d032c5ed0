#pragma once

#include "sandbox/uTsqlLexer.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vq::sandbox {

// SQL Server data types as far as the sandbox distinguishes them.
enum class SqlType { Unknown, Null, Bit, Int, BigInt, Numeric, Money, Float, Text, DateTime, Binary };

struct TypeInfo {
  SqlType Type = SqlType::Unknown;
  int Precision = 0; // NUMERIC
  int Scale = 0;     // NUMERIC
  int Length = 0;    // Text / Binary: characters, -1 for MAX, 0 unknown
  bool Identity = false;
  bool Fixed = false; // CHAR/NCHAR: padded with blanks
  std::string Name;  // the type name as written ("VARCHAR(50)"), for DDL

  bool IsNumeric() const {
    return Type == SqlType::Bit || Type == SqlType::Int || Type == SqlType::BigInt ||
           Type == SqlType::Numeric || Type == SqlType::Money || Type == SqlType::Float;
  }
  bool IsExact() const {
    return Type == SqlType::Bit || Type == SqlType::Int || Type == SqlType::BigInt;
  }
  bool IsKnown() const { return Type != SqlType::Unknown && Type != SqlType::Null; }
};

// Reads a SQL Server type name such as "VARCHAR(50)", "NUMERIC(28,6)", "DATETIME";
// an unknown name gives SqlType::Unknown.
TypeInfo TypeFromName(std::string_view declared);

struct SelectStmt;

enum class ExprKind {
  Literal,     // Text holds the literal; Literal says its kind
  Column,      // Names: the parts (qualifier..., column)
  Placeholder, // Index: position among all placeholders of the batch
  Variable,    // Text: @name
  Unary,       // Op: "-", "+", "~", "NOT"; Args[0]
  Binary,      // Op: + - * / % & | ^ = <> < > <= >= AND OR; Args[0], Args[1]
  Function,    // Op: upper-case name; Args; Distinct; Star (COUNT(*)); DatePart for date functions
  Cast,        // Args[0] the value, Args[1] the style when given; Target
  Case,        // Args[0] the operand or null, then WHEN/THEN pairs, then ELSE or null (Args.back())
  IsNull,      // Args[0] IS [NOT] NULL
  Between,     // Args[0] [NOT] BETWEEN Args[1] AND Args[2]
  InList,      // Args[0] [NOT] IN (Args[1..])
  InSelect,    // Args[0] [NOT] IN (Select)
  Like,        // Args[0] [NOT] LIKE Args[1] [ESCAPE Args[2]]
  Exists,      // [NOT] EXISTS (Select)
  Subquery,    // (Select) as a scalar
  Star,        // * or q.*  (Names: the qualifier parts)
};

enum class LiteralKind { Integer, Decimal, Float, String, Null };

struct Expr {
  ExprKind Kind = ExprKind::Literal;
  LiteralKind Literal = LiteralKind::Null;
  std::string Op;
  std::string Text;
  std::vector<std::string> Names;
  std::vector<std::unique_ptr<Expr>> Args; // entries may be null (CASE without operand/ELSE)
  std::shared_ptr<SelectStmt> Select;
  TypeInfo Target;
  int Index = 0;
  bool Not = false;
  bool Distinct = false;
  bool National = false;
  size_t Offset = 0;
};
using ExprPtr = std::unique_ptr<Expr>;

enum class JoinKind { None, Inner, Left, Right, Full, Cross };

struct TableRef {
  // A table (Names: [server.][database.][schema.]name) or a derived table (Select), or a join.
  std::vector<std::string> Names;
  std::shared_ptr<SelectStmt> Select;
  std::string Alias;
  JoinKind Join = JoinKind::None;
  std::unique_ptr<TableRef> Left, Right;
  ExprPtr On;
  bool IsJoin() const { return Join != JoinKind::None; }
};

struct SelectItem {
  ExprPtr Value;       // Star for * and q.*
  std::string Alias;
  std::string Variable; // SELECT @v = expr, SET @v = expr: the variable assigned
};

struct OrderItem {
  ExprPtr Value;
  bool Descending = false;
};

// One SELECT ... FROM ... WHERE ... GROUP BY ... HAVING (a member of a UNION).
struct QuerySpec {
  bool Distinct = false;
  ExprPtr Top;
  bool TopPercent = false;
  std::vector<SelectItem> Items;
  std::vector<std::string> Into; // SELECT ... INTO name
  std::unique_ptr<TableRef> From;
  ExprPtr Where;
  std::vector<ExprPtr> GroupBy;
  ExprPtr Having;
  // A parenthesised member may carry its own ORDER BY (with TOP).
  std::vector<OrderItem> OrderBy;
};

struct SelectStmt {
  std::vector<QuerySpec> Members;
  std::vector<std::string> SetOps; // between members: "UNION", "UNION ALL", "EXCEPT", "INTERSECT"
  std::vector<OrderItem> OrderBy;
};

struct ColumnDef {
  std::string Name;
  TypeInfo Type;
  bool NotNull = false;
  bool PrimaryKey = false;
  bool Unique = false;
  int IdentitySeed = 1, IdentityStep = 1;
  ExprPtr Default;
};

struct TableConstraint {
  std::string Name;
  std::string Kind; // "PRIMARY KEY", "UNIQUE"
  std::vector<std::string> Columns;
};

struct Statement;
using StatementPtr = std::unique_ptr<Statement>;

enum class StatementKind {
  Select, Insert, Update, Delete, CreateTable, CreateIndex, DropTable, DropIndex, If, Block,
  Declare, Set, While, CreateTrigger, DeclareCursor, Open, Fetch, Close, Deallocate
};

struct Statement {
  StatementKind Kind = StatementKind::Select;
  size_t Offset = 0;
  std::string SourceText; // the statement's text in the batch
  // SELECT / INSERT ... SELECT
  std::shared_ptr<SelectStmt> Select;
  // INSERT / UPDATE / DELETE / CREATE / DROP: the target
  std::vector<std::string> Table;
  std::string TargetAlias;
  std::vector<std::string> Columns;           // INSERT column list; CREATE INDEX columns
  std::vector<std::vector<ExprPtr>> Values;   // INSERT VALUES rows
  bool DefaultValues = false;
  std::vector<std::pair<std::string, ExprPtr>> Assignments; // UPDATE SET (column names)
  std::unique_ptr<TableRef> From;             // UPDATE/DELETE ... FROM
  ExprPtr Where;
  ExprPtr Top;                                // UPDATE/DELETE TOP (n)
  // CREATE TABLE
  std::vector<ColumnDef> ColumnDefs;
  std::vector<TableConstraint> Constraints;
  // CREATE INDEX
  std::string IndexName;
  bool UniqueIndex = false;
  std::vector<bool> Descending;
  bool IfExists = false; // DROP TABLE IF EXISTS
  // CREATE TRIGGER: the trigger; DECLARE CURSOR, OPEN, FETCH, CLOSE, DEALLOCATE: the cursor
  std::string Name;
  std::vector<std::string> Events; // CREATE TRIGGER: "INSERT", "UPDATE", "DELETE"
  // DECLARE: the variables, as ColumnDefs (names with the @); FETCH ... INTO: in Columns.
  // SET @v = expr: a Select of one member without FROM whose item assigns @v.
  // IF, WHILE (Then is the loop body), CREATE TRIGGER (Then is the body)
  ExprPtr Condition;
  StatementPtr Then, Else;
  // Block
  std::vector<StatementPtr> Body;
};

struct Batch {
  std::vector<StatementPtr> Statements;
  int PlaceholderCount = 0;
  std::vector<std::string> PlaceholderNames; // in order of appearance
};

// Parses a batch of T-SQL statements. Throws vq::Error with the position and, for a
// construct the sandbox does not know, "Unsupported T-SQL construct: ...".
Batch ParseTsql(std::string_view text);

std::string UpperAscii(std::string_view text);

} // namespace vq::sandbox
