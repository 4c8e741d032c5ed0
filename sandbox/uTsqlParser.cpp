#include "sandbox/uTsqlParser.h"

#include "core/uError.h"

#include <algorithm>
#include <cstdlib>
#include <set>

namespace vq::sandbox {

std::string UpperAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  return out;
}

TypeInfo TypeFromName(std::string_view declared) {
  TypeInfo t;
  t.Name = std::string(declared);
  std::string upper = UpperAscii(declared);
  // Base name: the leading word.
  size_t p = 0;
  while (p < upper.size() && upper[p] == ' ') ++p;
  size_t b = p;
  while (p < upper.size() && ((upper[p] >= 'A' && upper[p] <= 'Z') || upper[p] == '_')) ++p;
  const std::string base = upper.substr(b, p - b);
  std::vector<int> args;
  bool max = false;
  size_t open = upper.find('(', p);
  if (open != std::string::npos) {
    size_t q = open + 1;
    while (q < upper.size() && upper[q] != ')') {
      while (q < upper.size() && (upper[q] == ' ' || upper[q] == ',')) ++q;
      if (upper.compare(q, 3, "MAX") == 0) {
        max = true;
        q += 3;
      } else if (q < upper.size() && upper[q] >= '0' && upper[q] <= '9') {
        args.push_back(std::atoi(upper.c_str() + q));
        while (q < upper.size() && upper[q] >= '0' && upper[q] <= '9') ++q;
      } else {
        ++q;
      }
    }
  }
  if (upper.find("IDENTITY") != std::string::npos) t.Identity = true;
  if (base == "INT" || base == "INTEGER" || base == "SMALLINT" || base == "TINYINT") {
    t.Type = SqlType::Int;
  } else if (base == "BIGINT") {
    t.Type = SqlType::BigInt;
  } else if (base == "BIT" || base == "BOOLEAN") {
    t.Type = SqlType::Bit;
  } else if (base == "NUMERIC" || base == "DECIMAL" || base == "DEC") {
    t.Type = SqlType::Numeric;
    t.Precision = args.size() > 0 ? args[0] : 18;
    t.Scale = args.size() > 1 ? args[1] : 0;
  } else if (base == "MONEY" || base == "SMALLMONEY") {
    t.Type = SqlType::Money;
    t.Precision = 19;
    t.Scale = 4;
  } else if (base == "FLOAT" || base == "REAL" || base == "DOUBLE") {
    t.Type = SqlType::Float;
  } else if (base == "VARCHAR" || base == "NVARCHAR" || base == "CHAR" || base == "NCHAR" ||
             base == "TEXT" || base == "NTEXT" || base == "SYSNAME" || base == "CHARACTER") {
    t.Type = SqlType::Text;
    t.Length = max ? -1 : (args.empty() ? 0 : args[0]);
    if (base == "SYSNAME") t.Length = 128;
    t.Fixed = base == "CHAR" || base == "NCHAR" || base == "CHARACTER";
  } else if (base == "DATETIME" || base == "DATE" || base == "SMALLDATETIME" ||
             base == "DATETIME2" || base == "TIME") {
    t.Type = SqlType::DateTime;
  } else if (base == "IMAGE" || base == "VARBINARY" || base == "BINARY" || base == "BLOB") {
    t.Type = SqlType::Binary;
    t.Length = max ? -1 : (args.empty() ? 0 : args[0]);
  }
  return t;
}

namespace {

const std::set<std::string>& Reserved() {
  static const std::set<std::string> words = {
      "ADD", "ALL", "ALTER", "AND", "ANY", "AS", "ASC", "BEGIN", "BETWEEN", "BY", "CASE",
      "CHECK", "CLOSE", "CLUSTERED", "COLLATE", "COLUMN", "COMMIT", "CONSTRAINT", "CREATE", "CROSS",
      "CURSOR", "DEALLOCATE", "DECLARE", "DEFAULT", "DELETE", "DESC", "DISTINCT", "DROP", "ELSE", "END",
      "ESCAPE", "EXCEPT", "EXEC", "EXECUTE", "EXISTS", "FETCH", "FOR", "FOREIGN", "FROM",
      "FULL", "GO", "GOTO", "GROUP", "HAVING", "IF", "IN", "INDEX", "INNER", "INSERT",
      "INTERSECT", "INTO", "IS", "JOIN", "KEY", "LEFT", "LIKE", "MERGE", "NOT", "NULL",
      "OF", "ON", "OPEN", "OPTION", "OR", "ORDER", "OUTER", "OVER", "PIVOT", "PRIMARY", "PRINT",
      "PROCEDURE", "RETURN", "RIGHT", "ROLLBACK", "SELECT", "SET", "TABLE", "THEN", "TO",
      "TOP", "TRAN", "TRANSACTION", "TRIGGER", "TRUNCATE", "UNION", "UNIQUE", "UNPIVOT",
      "UPDATE", "USE", "VALUES", "VIEW", "WHEN", "WHERE", "WHILE", "WITH", "APPLY"};
  return words;
}

class Parser {
public:
  explicit Parser(std::string_view text) : text_(text), tokens_(TokenizeTsql(text)) {
    int count = 0;
    placeholderIndex_.resize(tokens_.size(), -1);
    for (size_t i = 0; i < tokens_.size(); ++i) {
      if (tokens_[i].Kind == TokenKind::Placeholder) {
        placeholderIndex_[i] = count++;
        batch_.PlaceholderNames.push_back(tokens_[i].Text);
      }
    }
    batch_.PlaceholderCount = count;
  }

  Batch Run() {
    while (!AtEnd()) {
      if (IsOp(";")) {
        ++pos_;
        continue;
      }
      if (IsWord("GO")) { // batch separator of the tools: treat as a statement break
        ++pos_;
        continue;
      }
      batch_.Statements.push_back(ParseStatement());
    }
    return std::move(batch_);
  }

private:
  // --- token helpers -------------------------------------------------------------------
  const Token& Peek(size_t ahead = 0) const {
    const size_t i = pos_ + ahead;
    return i < tokens_.size() ? tokens_[i] : tokens_.back();
  }
  bool AtEnd() const { return Peek().Kind == TokenKind::End; }
  bool IsOp(std::string_view op, size_t ahead = 0) const {
    const Token& t = Peek(ahead);
    return t.Kind == TokenKind::Operator && t.Text == op;
  }
  bool IsWord(std::string_view word, size_t ahead = 0) const {
    const Token& t = Peek(ahead);
    return t.Kind == TokenKind::Identifier && !t.Quoted && UpperAscii(t.Text) == word;
  }
  bool AcceptOp(std::string_view op) {
    if (!IsOp(op)) return false;
    ++pos_;
    return true;
  }
  bool AcceptWord(std::string_view word) {
    if (!IsWord(word)) return false;
    ++pos_;
    return true;
  }
  [[noreturn]] void Fail(const std::string& what) const {
    const Token& t = Peek();
    std::string near = t.Kind == TokenKind::End ? "end of text" : "'" + std::string(text_.substr(t.Offset, 40)) + "'";
    throw Error("T-SQL syntax error: " + what + " near " + near);
  }
  [[noreturn]] void Unsupported(const std::string& what) const {
    throw Error("Unsupported T-SQL construct: " + what);
  }
  void ExpectOp(std::string_view op) {
    if (!AcceptOp(op)) Fail("expected '" + std::string(op) + "'");
  }
  void ExpectWord(std::string_view word) {
    if (!AcceptWord(word)) Fail("expected " + std::string(word));
  }
  bool IsNameToken(size_t ahead = 0) const {
    const Token& t = Peek(ahead);
    return t.Kind == TokenKind::Identifier && (t.Quoted || !Reserved().count(UpperAscii(t.Text)));
  }
  std::string ExpectName() {
    const Token& t = Peek();
    if (t.Kind != TokenKind::Identifier) Fail("expected a name");
    ++pos_;
    return t.Text;
  }
  // [server.][db.][schema.]name, parts may be empty ("tempdb..sysobjects").
  std::vector<std::string> ParseMultipartName() {
    std::vector<std::string> parts;
    parts.push_back(ExpectName());
    while (IsOp(".")) {
      ++pos_;
      if (IsOp(".")) {
        parts.emplace_back();
        continue;
      }
      if (IsOp("*")) { // q.* : leave the star for the caller
        --pos_;
        break;
      }
      parts.push_back(ExpectName());
    }
    return parts;
  }

  // --- statements ----------------------------------------------------------------------
  StatementPtr ParseStatement() {
    const size_t startTok = pos_;
    StatementPtr s = ParseStatementBody();
    s->Offset = tokens_[startTok].Offset;
    const size_t end = Peek().Offset;
    s->SourceText = std::string(text_.substr(s->Offset, end - s->Offset));
    return s;
  }

  StatementPtr ParseStatementBody() {
    if (IsWord("SELECT") || (IsOp("(") && IsWord("SELECT", 1))) {
      auto s = std::make_unique<Statement>();
      s->Kind = StatementKind::Select;
      s->Select = ParseSelect();
      return s;
    }
    if (IsWord("INSERT")) return ParseInsert();
    if (IsWord("UPDATE")) return ParseUpdate();
    if (IsWord("DELETE")) return ParseDelete();
    if (IsWord("CREATE")) return ParseCreate();
    if (IsWord("DROP")) return ParseDrop();
    if (IsWord("IF")) return ParseIf();
    if (IsWord("BEGIN")) {
      if (IsWord("TRAN", 1) || IsWord("TRANSACTION", 1)) Unsupported("BEGIN TRANSACTION");
      if (IsWord("TRY", 1)) Unsupported("BEGIN TRY");
      ++pos_;
      auto s = std::make_unique<Statement>();
      s->Kind = StatementKind::Block;
      while (!IsWord("END")) {
        if (AtEnd()) Fail("expected END");
        if (AcceptOp(";")) continue;
        s->Body.push_back(ParseStatement());
      }
      ++pos_;
      return s;
    }
    if (IsWord("DECLARE")) return ParseDeclare();
    if (IsWord("SET") && Peek(1).Kind == TokenKind::Variable) return ParseSet();
    if (IsWord("WHILE")) {
      ++pos_;
      auto s = std::make_unique<Statement>();
      s->Kind = StatementKind::While;
      s->Condition = ParseExpr();
      s->Then = ParseStatement();
      return s;
    }
    if (IsWord("OPEN")) return ParseCursorStatement(StatementKind::Open);
    if (IsWord("FETCH")) return ParseFetch();
    if (IsWord("CLOSE")) return ParseCursorStatement(StatementKind::Close);
    if (IsWord("DEALLOCATE")) return ParseCursorStatement(StatementKind::Deallocate);
    const Token& t = Peek();
    if (t.Kind == TokenKind::Identifier) {
      std::string word = UpperAscii(t.Text);
      if (word == "SET" || word == "EXEC" ||
          word == "EXECUTE" || word == "MERGE" || word == "TRUNCATE" || word == "ALTER" ||
          word == "PRINT" || word == "RETURN" || word == "COMMIT" || word == "ROLLBACK" ||
          word == "WITH" || word == "USE" || word == "GOTO" || word == "RAISERROR")
        Unsupported(word);
      Unsupported("statement beginning with " + t.Text);
    }
    Fail("expected a statement");
  }

  // DECLARE @a INT, @b INT  or  DECLARE name CURSOR [LOCAL] FOR select
  StatementPtr ParseDeclare() {
    ExpectWord("DECLARE");
    auto s = std::make_unique<Statement>();
    if (Peek().Kind != TokenKind::Variable) {
      s->Kind = StatementKind::DeclareCursor;
      s->Name = ExpectName();
      ExpectWord("CURSOR");
      if (!AcceptWord("LOCAL") && IsWord("GLOBAL")) Unsupported("GLOBAL cursor");
      while (IsWord("FORWARD_ONLY") || IsWord("STATIC") || IsWord("READ_ONLY") ||
             IsWord("FAST_FORWARD"))
        ++pos_;
      ExpectWord("FOR");
      s->Select = ParseSelect();
      if (IsWord("FOR")) Unsupported("FOR UPDATE cursor");
      return s;
    }
    s->Kind = StatementKind::Declare;
    do {
      if (Peek().Kind != TokenKind::Variable) Fail("expected a variable");
      ColumnDef v;
      v.Name = Peek().Text;
      ++pos_;
      AcceptWord("AS");
      if (IsWord("TABLE") || IsWord("CURSOR")) Unsupported(UpperAscii(Peek().Text) + " variable");
      v.Type = ParseTypeName();
      if (IsOp("=")) Unsupported("DECLARE with an initial value");
      s->ColumnDefs.push_back(std::move(v));
    } while (AcceptOp(","));
    return s;
  }

  // SET @v = expr: an assignment SELECT without FROM, which always gives one row.
  StatementPtr ParseSet() {
    ExpectWord("SET");
    auto s = std::make_unique<Statement>();
    s->Kind = StatementKind::Set;
    SelectItem item;
    item.Variable = Peek().Text;
    ++pos_;
    if (!IsOp("=")) Unsupported("compound assignment in SET");
    ++pos_;
    item.Value = ParseExpr();
    s->Select = std::make_shared<SelectStmt>();
    s->Select->Members.emplace_back().Items.push_back(std::move(item));
    return s;
  }

  StatementPtr ParseCursorStatement(StatementKind kind) {
    ++pos_;
    auto s = std::make_unique<Statement>();
    s->Kind = kind;
    if (IsWord("GLOBAL")) Unsupported("GLOBAL cursor");
    s->Name = ExpectName();
    return s;
  }

  // FETCH [NEXT] FROM name INTO @a, ...
  StatementPtr ParseFetch() {
    ExpectWord("FETCH");
    auto s = std::make_unique<Statement>();
    s->Kind = StatementKind::Fetch;
    if (!AcceptWord("NEXT") && !IsWord("FROM")) Unsupported("FETCH " + UpperAscii(Peek().Text));
    ExpectWord("FROM");
    if (IsWord("GLOBAL")) Unsupported("GLOBAL cursor");
    s->Name = ExpectName();
    if (!AcceptWord("INTO")) Unsupported("FETCH without INTO");
    do {
      if (Peek().Kind != TokenKind::Variable) Fail("expected a variable");
      s->Columns.push_back(Peek().Text);
      ++pos_;
    } while (AcceptOp(","));
    return s;
  }

  // CREATE TRIGGER name ON table {FOR | AFTER} event [, event...] AS statement
  StatementPtr ParseCreateTrigger() {
    auto s = std::make_unique<Statement>();
    s->Kind = StatementKind::CreateTrigger;
    const std::vector<std::string> name = ParseMultipartName();
    s->Name = name.back();
    ExpectWord("ON");
    s->Table = ParseMultipartName();
    if (IsWord("INSTEAD")) Unsupported("INSTEAD OF trigger");
    if (!AcceptWord("FOR") && !AcceptWord("AFTER")) Fail("expected FOR or AFTER");
    do {
      const std::string event = UpperAscii(Peek().Text);
      if (Peek().Kind != TokenKind::Identifier ||
          (event != "INSERT" && event != "UPDATE" && event != "DELETE"))
        Fail("expected INSERT, UPDATE or DELETE");
      ++pos_;
      if (std::find(s->Events.begin(), s->Events.end(), event) == s->Events.end())
        s->Events.push_back(event);
    } while (AcceptOp(","));
    if (IsWord("NOT")) Unsupported("NOT FOR REPLICATION");
    ExpectWord("AS");
    // The body runs to the end of the batch.
    s->Then = std::make_unique<Statement>();
    s->Then->Kind = StatementKind::Block;
    s->Then->Offset = Peek().Offset;
    s->Then->SourceText = std::string(text_.substr(s->Then->Offset));
    while (!AtEnd()) {
      if (AcceptOp(";") || AcceptWord("GO")) continue;
      s->Then->Body.push_back(ParseStatement());
    }
    if (s->Then->Body.empty()) Fail("expected the body of the trigger");
    return s;
  }

  StatementPtr ParseIf() {
    ExpectWord("IF");
    auto s = std::make_unique<Statement>();
    s->Kind = StatementKind::If;
    s->Condition = ParseExpr();
    s->Then = ParseStatement();
    while (AcceptOp(";")) {
    }
    if (AcceptWord("ELSE")) s->Else = ParseStatement();
    return s;
  }

  StatementPtr ParseInsert() {
    ExpectWord("INSERT");
    auto s = std::make_unique<Statement>();
    s->Kind = StatementKind::Insert;
    if (IsWord("TOP")) Unsupported("INSERT TOP");
    AcceptWord("INTO");
    s->Table = ParseMultipartName();
    SkipTableHints();
    if (IsOp("(") && !IsWord("SELECT", 1)) {
      ++pos_;
      do {
        auto parts = ParseMultipartName();
        s->Columns.push_back(parts.back());
      } while (AcceptOp(","));
      ExpectOp(")");
    }
    if (IsWord("OUTPUT")) Unsupported("OUTPUT clause");
    if (AcceptWord("VALUES")) {
      do {
        ExpectOp("(");
        std::vector<ExprPtr> row;
        do {
          if (IsWord("DEFAULT")) Unsupported("DEFAULT in VALUES");
          row.push_back(ParseExpr());
        } while (AcceptOp(","));
        ExpectOp(")");
        s->Values.push_back(std::move(row));
      } while (AcceptOp(","));
    } else if (IsWord("SELECT") || (IsOp("(") && IsWord("SELECT", 1))) {
      s->Select = ParseSelect();
    } else if (AcceptWord("DEFAULT")) {
      ExpectWord("VALUES");
      s->DefaultValues = true;
    } else if (IsWord("EXEC") || IsWord("EXECUTE")) {
      Unsupported("INSERT ... EXEC");
    } else {
      Fail("expected VALUES or SELECT");
    }
    return s;
  }

  ExprPtr ParseTopClause() {
    // TOP (n) or TOP n
    if (AcceptOp("(")) {
      ExprPtr e = ParseExpr();
      ExpectOp(")");
      return e;
    }
    return ParsePrimary();
  }

  StatementPtr ParseUpdate() {
    ExpectWord("UPDATE");
    auto s = std::make_unique<Statement>();
    s->Kind = StatementKind::Update;
    if (AcceptWord("TOP")) s->Top = ParseTopClause();
    s->Table = ParseMultipartName();
    SkipTableHints();
    ExpectWord("SET");
    do {
      if (Peek().Kind == TokenKind::Variable) Unsupported("SET @variable in UPDATE");
      auto parts = ParseMultipartName();
      if (!AcceptOp("=")) {
        if (IsOp("+") || IsOp("-") || IsOp("*") || IsOp("/")) Unsupported("compound assignment in UPDATE");
        Fail("expected '='");
      }
      s->Assignments.emplace_back(parts.back(), ParseExpr());
    } while (AcceptOp(","));
    if (IsWord("OUTPUT")) Unsupported("OUTPUT clause");
    if (AcceptWord("FROM")) s->From = ParseFromList();
    if (AcceptWord("WHERE")) {
      if (IsWord("CURRENT")) Unsupported("WHERE CURRENT OF");
      s->Where = ParseExpr();
    }
    if (IsWord("OPTION")) Unsupported("OPTION clause");
    return s;
  }

  StatementPtr ParseDelete() {
    ExpectWord("DELETE");
    auto s = std::make_unique<Statement>();
    s->Kind = StatementKind::Delete;
    if (AcceptWord("TOP")) s->Top = ParseTopClause();
    AcceptWord("FROM");
    s->Table = ParseMultipartName();
    SkipTableHints();
    if (IsWord("OUTPUT")) Unsupported("OUTPUT clause");
    if (AcceptWord("FROM")) s->From = ParseFromList();
    if (AcceptWord("WHERE")) {
      if (IsWord("CURRENT")) Unsupported("WHERE CURRENT OF");
      s->Where = ParseExpr();
    }
    return s;
  }

  StatementPtr ParseCreate() {
    ExpectWord("CREATE");
    auto s = std::make_unique<Statement>();
    if (AcceptWord("TABLE")) {
      s->Kind = StatementKind::CreateTable;
      s->Table = ParseMultipartName();
      ExpectOp("(");
      do {
        if (IsOp(")")) break; // trailing comma
        if (IsWord("CONSTRAINT") || IsWord("PRIMARY") || IsWord("UNIQUE") || IsWord("FOREIGN") ||
            IsWord("CHECK")) {
          s->Constraints.push_back(ParseTableConstraint());
        } else {
          s->ColumnDefs.push_back(ParseColumnDef(*s));
        }
      } while (AcceptOp(","));
      ExpectOp(")");
      if (AcceptWord("ON")) ExpectName(); // filegroup
      return s;
    }
    if (AcceptWord("TRIGGER")) {
      if (pos_ != 2) throw Error("'CREATE TRIGGER' must be the first statement in a query batch.");
      return ParseCreateTrigger();
    }
    bool unique = AcceptWord("UNIQUE");
    AcceptWord("CLUSTERED");
    AcceptWord("NONCLUSTERED");
    if (AcceptWord("INDEX")) {
      s->Kind = StatementKind::CreateIndex;
      s->UniqueIndex = unique;
      s->IndexName = ExpectName();
      ExpectWord("ON");
      s->Table = ParseMultipartName();
      ExpectOp("(");
      do {
        s->Columns.push_back(ExpectName());
        bool desc = false;
        if (AcceptWord("DESC")) desc = true;
        else AcceptWord("ASC");
        s->Descending.push_back(desc);
      } while (AcceptOp(","));
      ExpectOp(")");
      if (IsWord("INCLUDE") || IsWord("WHERE") || IsWord("WITH")) Unsupported("CREATE INDEX options");
      return s;
    }
    const Token& t = Peek();
    Unsupported("CREATE " + (t.Kind == TokenKind::End ? std::string() : UpperAscii(t.Text)));
  }

  TableConstraint ParseTableConstraint() {
    TableConstraint c;
    if (AcceptWord("CONSTRAINT")) c.Name = ExpectName();
    if (AcceptWord("PRIMARY")) {
      ExpectWord("KEY");
      c.Kind = "PRIMARY KEY";
    } else if (AcceptWord("UNIQUE")) {
      c.Kind = "UNIQUE";
    } else if (IsWord("FOREIGN")) {
      Unsupported("FOREIGN KEY");
    } else if (IsWord("CHECK")) {
      Unsupported("CHECK constraint");
    } else {
      Fail("expected a constraint");
    }
    AcceptWord("CLUSTERED");
    AcceptWord("NONCLUSTERED");
    ExpectOp("(");
    do {
      c.Columns.push_back(ExpectName());
      if (!AcceptWord("ASC")) AcceptWord("DESC");
    } while (AcceptOp(","));
    ExpectOp(")");
    return c;
  }

  TypeInfo ParseTypeName() {
    const size_t start = Peek().Offset;
    std::string name = UpperAscii(ExpectName());
    if (name == "DOUBLE") AcceptWord("PRECISION");
    if ((name == "CHARACTER" || name == "CHAR") && AcceptWord("VARYING")) name = "VARCHAR";
    if (AcceptOp("(")) {
      while (!IsOp(")")) {
        if (AtEnd()) Fail("expected ')'");
        ++pos_;
      }
      ++pos_;
    }
    const size_t end = Peek().Offset;
    TypeInfo t = TypeFromName(text_.substr(start, end - start));
    if (t.Type == SqlType::Unknown) Unsupported("data type " + name);
    // Normalise the written name: collapse blanks.
    std::string written;
    for (char c : std::string(text_.substr(start, end - start)))
      if (c != ' ' && c != '\t' && c != '\r' && c != '\n') written += c;
    t.Name = UpperAscii(written);
    return t;
  }

  ColumnDef ParseColumnDef(Statement& table) {
    ColumnDef c;
    c.Name = ExpectName();
    c.Type = ParseTypeName();
    for (;;) {
      if (AcceptWord("IDENTITY")) {
        c.Type.Identity = true;
        if (AcceptOp("(")) {
          c.IdentitySeed = static_cast<int>(std::atoll(ExpectNumber().c_str()));
          ExpectOp(",");
          c.IdentityStep = static_cast<int>(std::atoll(ExpectNumber().c_str()));
          ExpectOp(")");
        }
      } else if (AcceptWord("NOT")) {
        ExpectWord("NULL");
        c.NotNull = true;
      } else if (AcceptWord("NULL")) {
        c.NotNull = false;
      } else if (AcceptWord("CONSTRAINT")) {
        ExpectName();
      } else if (AcceptWord("PRIMARY")) {
        ExpectWord("KEY");
        AcceptWord("CLUSTERED");
        AcceptWord("NONCLUSTERED");
        c.PrimaryKey = true;
      } else if (AcceptWord("UNIQUE")) {
        AcceptWord("CLUSTERED");
        AcceptWord("NONCLUSTERED");
        c.Unique = true;
      } else if (AcceptWord("DEFAULT")) {
        c.Default = ParseUnary();
      } else if (AcceptWord("COLLATE")) {
        ExpectName();
      } else if (IsWord("REFERENCES") || IsWord("FOREIGN")) {
        Unsupported("FOREIGN KEY");
      } else if (IsWord("CHECK")) {
        Unsupported("CHECK constraint");
      } else {
        break;
      }
    }
    (void)table;
    return c;
  }

  std::string ExpectNumber() {
    bool negative = AcceptOp("-");
    const Token& t = Peek();
    if (t.Kind != TokenKind::Number) Fail("expected a number");
    ++pos_;
    return (negative ? "-" : "") + t.Text;
  }

  StatementPtr ParseDrop() {
    ExpectWord("DROP");
    auto s = std::make_unique<Statement>();
    if (AcceptWord("TABLE")) {
      s->Kind = StatementKind::DropTable;
      if (IsWord("IF") && IsWord("EXISTS", 1)) {
        pos_ += 2;
        s->IfExists = true;
      }
      s->Table = ParseMultipartName();
      if (IsOp(",")) Unsupported("DROP TABLE of several tables");
      return s;
    }
    if (AcceptWord("INDEX")) {
      s->Kind = StatementKind::DropIndex;
      if (IsWord("IF") && IsWord("EXISTS", 1)) {
        pos_ += 2;
        s->IfExists = true;
      }
      auto parts = ParseMultipartName();
      s->IndexName = parts.back();
      if (parts.size() > 1) s->Table.assign(parts.begin(), parts.end() - 1);
      if (AcceptWord("ON")) s->Table = ParseMultipartName();
      return s;
    }
    const Token& t = Peek();
    Unsupported("DROP " + (t.Kind == TokenKind::End ? std::string() : UpperAscii(t.Text)));
  }

  void SkipTableHints() {
    // WITH (NOLOCK, ...) or the old form (NOLOCK)
    if (IsWord("WITH") && IsOp("(", 1)) {
      pos_ += 2;
      SkipHintList();
    } else if (IsOp("(") && Peek(1).Kind == TokenKind::Identifier &&
               (IsWord("NOLOCK", 1) || IsWord("READUNCOMMITTED", 1) || IsWord("ROWLOCK", 1) ||
                IsWord("UPDLOCK", 1) || IsWord("HOLDLOCK", 1) || IsWord("READPAST", 1) ||
                IsWord("TABLOCK", 1) || IsWord("TABLOCKX", 1) || IsWord("NOWAIT", 1) ||
                IsWord("XLOCK", 1) || IsWord("PAGLOCK", 1))) {
      ++pos_;
      SkipHintList();
    }
  }
  void SkipHintList() {
    static const std::set<std::string> known = {"NOLOCK", "READUNCOMMITTED", "ROWLOCK",
                                                "UPDLOCK", "HOLDLOCK", "READPAST", "TABLOCK",
                                                "TABLOCKX", "NOWAIT", "XLOCK", "PAGLOCK",
                                                "READCOMMITTED", "REPEATABLEREAD", "SERIALIZABLE"};
    do {
      const Token& t = Peek();
      if (t.Kind != TokenKind::Identifier || !known.count(UpperAscii(t.Text)))
        Unsupported("table hint " + t.Text);
      ++pos_;
    } while (AcceptOp(","));
    ExpectOp(")");
  }

  // --- SELECT --------------------------------------------------------------------------
  std::shared_ptr<SelectStmt> ParseSelect() {
    auto sel = std::make_shared<SelectStmt>();
    sel->Members.push_back(ParseQueryTerm());
    for (;;) {
      std::string op;
      if (AcceptWord("UNION")) op = AcceptWord("ALL") ? "UNION ALL" : "UNION";
      else if (AcceptWord("EXCEPT")) op = "EXCEPT";
      else if (AcceptWord("INTERSECT")) op = "INTERSECT";
      else break;
      sel->SetOps.push_back(op);
      sel->Members.push_back(ParseQueryTerm());
    }
    if (AcceptWord("ORDER")) {
      ExpectWord("BY");
      sel->OrderBy = ParseOrderList();
    }
    if (IsWord("OFFSET")) Unsupported("OFFSET ... FETCH");
    if (IsWord("FOR")) Unsupported("FOR XML/BROWSE");
    if (IsWord("OPTION")) Unsupported("OPTION clause");
    if (IsWord("COMPUTE")) Unsupported("COMPUTE");
    return sel;
  }

  std::vector<OrderItem> ParseOrderList() {
    std::vector<OrderItem> items;
    do {
      OrderItem item;
      item.Value = ParseExpr();
      if (AcceptWord("DESC")) item.Descending = true;
      else AcceptWord("ASC");
      items.push_back(std::move(item));
    } while (AcceptOp(","));
    return items;
  }

  QuerySpec ParseQueryTerm() {
    if (AcceptOp("(")) {
      auto inner = ParseSelect();
      ExpectOp(")");
      if (inner->Members.size() != 1) Unsupported("parenthesised UNION inside a UNION");
      QuerySpec q = std::move(inner->Members[0]);
      if (!inner->OrderBy.empty()) {
        if (!q.OrderBy.empty()) Fail("two ORDER BY clauses");
        q.OrderBy = std::move(inner->OrderBy);
      }
      return q;
    }
    ExpectWord("SELECT");
    QuerySpec q;
    if (AcceptWord("DISTINCT")) q.Distinct = true;
    else AcceptWord("ALL");
    if (AcceptWord("TOP")) {
      q.Top = ParseTopClause();
      if (AcceptWord("PERCENT")) q.TopPercent = true;
      if (IsWord("WITH") && IsWord("TIES", 1)) Unsupported("TOP WITH TIES");
    }
    do {
      q.Items.push_back(ParseSelectItem());
    } while (AcceptOp(","));
    if (AcceptWord("INTO")) q.Into = ParseMultipartName();
    if (AcceptWord("FROM")) q.From = ParseFromList();
    if (AcceptWord("WHERE")) q.Where = ParseExpr();
    if (AcceptWord("GROUP")) {
      ExpectWord("BY");
      if (IsWord("ALL")) Unsupported("GROUP BY ALL");
      do {
        q.GroupBy.push_back(ParseExpr());
      } while (AcceptOp(","));
      if (IsWord("WITH")) Unsupported("GROUP BY WITH ROLLUP/CUBE");
    }
    if (AcceptWord("HAVING")) q.Having = ParseExpr();
    return q;
  }

  SelectItem ParseSelectItem() {
    SelectItem item;
    if (IsOp("*")) {
      auto e = std::make_unique<Expr>();
      e->Kind = ExprKind::Star;
      e->Offset = Peek().Offset;
      ++pos_;
      item.Value = std::move(e);
      return item;
    }
    if (Peek().Kind == TokenKind::Variable && IsOp("=", 1)) {
      item.Variable = Peek().Text;
      pos_ += 2;
      item.Value = ParseExpr();
      return item;
    }
    // alias = expression
    if (Peek().Kind == TokenKind::Identifier && IsNameToken() && IsOp("=", 1)) {
      item.Alias = Peek().Text;
      pos_ += 2;
      item.Value = ParseExpr();
      return item;
    }
    if (Peek().Kind == TokenKind::String && IsOp("=", 1)) {
      item.Alias = Peek().Text;
      pos_ += 2;
      item.Value = ParseExpr();
      return item;
    }
    item.Value = ParseExpr();
    if (AcceptWord("AS")) {
      const Token& t = Peek();
      if (t.Kind != TokenKind::Identifier && t.Kind != TokenKind::String) Fail("expected an alias");
      item.Alias = t.Text;
      ++pos_;
    } else if (IsNameToken() || Peek().Kind == TokenKind::String) {
      item.Alias = Peek().Text;
      ++pos_;
    }
    return item;
  }

  std::unique_ptr<TableRef> ParseFromList() {
    auto left = ParseJoinedTable();
    while (AcceptOp(",")) {
      auto join = std::make_unique<TableRef>();
      join->Join = JoinKind::Cross;
      join->Left = std::move(left);
      join->Right = ParseJoinedTable();
      left = std::move(join);
    }
    return left;
  }

  std::unique_ptr<TableRef> ParseJoinedTable() {
    auto left = ParseTableItem();
    for (;;) {
      JoinKind kind = JoinKind::None;
      if (IsWord("JOIN")) {
        ++pos_;
        kind = JoinKind::Inner;
      } else if (IsWord("INNER") && IsWord("JOIN", 1)) {
        pos_ += 2;
        kind = JoinKind::Inner;
      } else if (IsWord("LEFT") || IsWord("RIGHT") || IsWord("FULL")) {
        const std::string w = UpperAscii(Peek().Text);
        ++pos_;
        AcceptWord("OUTER");
        ExpectWord("JOIN");
        kind = w == "LEFT" ? JoinKind::Left : w == "RIGHT" ? JoinKind::Right : JoinKind::Full;
      } else if (IsWord("CROSS") && IsWord("JOIN", 1)) {
        pos_ += 2;
        kind = JoinKind::Cross;
      } else if ((IsWord("CROSS") || IsWord("OUTER")) && IsWord("APPLY", 1)) {
        Unsupported(UpperAscii(Peek().Text) + " APPLY");
      } else if (IsWord("INNER") || IsWord("LEFT") || IsWord("RIGHT")) {
        Unsupported("join hint");
      } else {
        break;
      }
      auto join = std::make_unique<TableRef>();
      join->Join = kind;
      join->Left = std::move(left);
      join->Right = ParseTableItem();
      if (kind != JoinKind::Cross) {
        ExpectWord("ON");
        join->On = ParseExpr();
      }
      left = std::move(join);
    }
    return left;
  }

  std::unique_ptr<TableRef> ParseTableItem() {
    auto t = std::make_unique<TableRef>();
    if (IsOp("(")) {
      if (IsWord("SELECT", 1) || (IsOp("(", 1) && IsWord("SELECT", 2))) {
        ++pos_;
        t->Select = ParseSelect();
        ExpectOp(")");
      } else {
        ++pos_;
        t = ParseFromList();
        ExpectOp(")");
        return t;
      }
    } else {
      if (Peek().Kind == TokenKind::Variable) Unsupported("table variable");
      t->Names = ParseMultipartName();
      if (IsOp("(")) Unsupported("table-valued function " + t->Names.back());
    }
    if (AcceptWord("AS")) t->Alias = ExpectName();
    else if (IsNameToken() && !IsWord("WITH")) t->Alias = ExpectName();
    SkipTableHints();
    if (t->Select && t->Alias.empty()) Fail("a derived table needs an alias");
    return t;
  }

  // --- expressions ---------------------------------------------------------------------
  ExprPtr Make(ExprKind kind, size_t offset) {
    auto e = std::make_unique<Expr>();
    e->Kind = kind;
    e->Offset = offset;
    return e;
  }
  ExprPtr MakeBinary(std::string op, ExprPtr a, ExprPtr b) {
    auto e = Make(ExprKind::Binary, a->Offset);
    e->Op = std::move(op);
    e->Args.push_back(std::move(a));
    e->Args.push_back(std::move(b));
    return e;
  }

  ExprPtr ParseExpr() { return ParseOr(); }

  ExprPtr ParseOr() {
    ExprPtr left = ParseAnd();
    while (AcceptWord("OR")) left = MakeBinary("OR", std::move(left), ParseAnd());
    return left;
  }
  ExprPtr ParseAnd() {
    ExprPtr left = ParseNot();
    while (AcceptWord("AND")) left = MakeBinary("AND", std::move(left), ParseNot());
    return left;
  }
  ExprPtr ParseNot() {
    if (IsWord("NOT")) {
      const size_t off = Peek().Offset;
      ++pos_;
      auto e = Make(ExprKind::Unary, off);
      e->Op = "NOT";
      e->Args.push_back(ParseNot());
      return e;
    }
    return ParsePredicate();
  }

  ExprPtr ParsePredicate() {
    if (IsWord("EXISTS")) {
      const size_t off = Peek().Offset;
      ++pos_;
      ExpectOp("(");
      auto e = Make(ExprKind::Exists, off);
      e->Select = ParseSelect();
      ExpectOp(")");
      return e;
    }
    ExprPtr left = ParseAdditive();
    for (;;) {
      static const char* const cmp[] = {"=", "<>", "!=", "<", ">", "<=", ">=", "!<", "!>"};
      bool matched = false;
      for (const char* op : cmp) {
        if (IsOp(op)) {
          ++pos_;
          if (IsWord("ALL") || IsWord("ANY") || IsWord("SOME")) Unsupported(UpperAscii(Peek().Text) + " (subquery)");
          std::string o = op;
          if (o == "!=") o = "<>";
          if (o == "!<") o = ">=";
          if (o == "!>") o = "<=";
          left = MakeBinary(o, std::move(left), ParseAdditive());
          matched = true;
          break;
        }
      }
      if (matched) continue;
      bool negated = false;
      if (IsWord("NOT") && (IsWord("BETWEEN", 1) || IsWord("IN", 1) || IsWord("LIKE", 1))) {
        ++pos_;
        negated = true;
      }
      if (AcceptWord("BETWEEN")) {
        auto e = Make(ExprKind::Between, left->Offset);
        e->Not = negated;
        e->Args.push_back(std::move(left));
        e->Args.push_back(ParseAdditive());
        ExpectWord("AND");
        e->Args.push_back(ParseAdditive());
        left = std::move(e);
        continue;
      }
      if (AcceptWord("IN")) {
        ExpectOp("(");
        if (IsWord("SELECT") || (IsOp("(") && IsWord("SELECT", 1))) {
          auto e = Make(ExprKind::InSelect, left->Offset);
          e->Not = negated;
          e->Args.push_back(std::move(left));
          e->Select = ParseSelect();
          ExpectOp(")");
          left = std::move(e);
        } else {
          auto e = Make(ExprKind::InList, left->Offset);
          e->Not = negated;
          e->Args.push_back(std::move(left));
          do {
            e->Args.push_back(ParseExpr());
          } while (AcceptOp(","));
          ExpectOp(")");
          left = std::move(e);
        }
        continue;
      }
      if (AcceptWord("LIKE")) {
        auto e = Make(ExprKind::Like, left->Offset);
        e->Not = negated;
        e->Args.push_back(std::move(left));
        e->Args.push_back(ParseAdditive());
        if (AcceptWord("ESCAPE")) e->Args.push_back(ParseAdditive());
        left = std::move(e);
        continue;
      }
      if (IsWord("IS")) {
        ++pos_;
        auto e = Make(ExprKind::IsNull, left->Offset);
        e->Not = AcceptWord("NOT");
        ExpectWord("NULL");
        e->Args.push_back(std::move(left));
        left = std::move(e);
        continue;
      }
      break;
    }
    return left;
  }

  ExprPtr ParseAdditive() {
    ExprPtr left = ParseMultiplicative();
    for (;;) {
      std::string op;
      if (IsOp("+") || IsOp("-") || IsOp("&") || IsOp("|") || IsOp("^")) op = Peek().Text;
      else break;
      ++pos_;
      left = MakeBinary(op, std::move(left), ParseMultiplicative());
    }
    return left;
  }

  ExprPtr ParseMultiplicative() {
    ExprPtr left = ParseUnary();
    for (;;) {
      std::string op;
      if (IsOp("*") || IsOp("/") || IsOp("%")) op = Peek().Text;
      else break;
      ++pos_;
      left = MakeBinary(op, std::move(left), ParseUnary());
    }
    return left;
  }

  ExprPtr ParseUnary() {
    if (IsOp("-") || IsOp("+") || IsOp("~")) {
      const Token& t = Peek();
      ++pos_;
      // A negative number literal stays a literal.
      if (t.Text == "-" && Peek().Kind == TokenKind::Number) {
        ExprPtr lit = ParsePrimary();
        lit->Text = "-" + lit->Text;
        lit->Offset = t.Offset;
        return ParsePostfix(std::move(lit));
      }
      auto e = Make(ExprKind::Unary, t.Offset);
      e->Op = t.Text;
      e->Args.push_back(ParseUnary());
      return e;
    }
    return ParsePostfix(ParsePrimary());
  }

  ExprPtr ParsePostfix(ExprPtr e) {
    if (IsWord("COLLATE")) Unsupported("COLLATE in an expression");
    return e;
  }

  ExprPtr ParsePrimary() {
    const Token& t = Peek();
    const size_t off = t.Offset;
    switch (t.Kind) {
    case TokenKind::Number: {
      auto e = Make(ExprKind::Literal, off);
      e->Text = t.Text;
      if (t.Text.find_first_of("eE") != std::string::npos) e->Literal = LiteralKind::Float;
      else if (t.Text.find('.') != std::string::npos) e->Literal = LiteralKind::Decimal;
      else e->Literal = LiteralKind::Integer;
      ++pos_;
      return e;
    }
    case TokenKind::String: {
      auto e = Make(ExprKind::Literal, off);
      e->Literal = LiteralKind::String;
      e->Text = t.Text;
      e->National = t.National;
      ++pos_;
      return e;
    }
    case TokenKind::Placeholder: {
      auto e = Make(ExprKind::Placeholder, off);
      e->Index = placeholderIndex_[pos_];
      e->Text = t.Text;
      ++pos_;
      return e;
    }
    case TokenKind::Variable: {
      auto e = Make(ExprKind::Variable, off);
      e->Text = t.Text;
      ++pos_;
      if (IsOp("(")) Unsupported("function " + t.Text);
      return e;
    }
    case TokenKind::Operator:
      if (t.Text == "(") {
        ++pos_;
        if (IsWord("SELECT") || (IsOp("(") && IsWord("SELECT", 1))) {
          auto e = Make(ExprKind::Subquery, off);
          e->Select = ParseSelect();
          ExpectOp(")");
          return e;
        }
        ExprPtr inner = ParseExpr();
        ExpectOp(")");
        return inner;
      }
      Fail("expected an expression");
    case TokenKind::End:
      Fail("expected an expression");
    case TokenKind::Identifier:
      break;
    }
    // Identifier: keyword-led expressions, functions, columns.
    const std::string word = t.Quoted ? std::string() : UpperAscii(t.Text);
    if (word == "NULL") {
      ++pos_;
      auto e = Make(ExprKind::Literal, off);
      e->Literal = LiteralKind::Null;
      return e;
    }
    if (word == "CASE") return ParseCase();
    if (word == "CAST" && IsOp("(", 1)) {
      pos_ += 2;
      auto e = Make(ExprKind::Cast, off);
      e->Op = "CAST";
      e->Args.push_back(ParseExpr());
      ExpectWord("AS");
      e->Target = ParseTypeName();
      ExpectOp(")");
      return e;
    }
    if ((word == "CONVERT" || word == "TRY_CONVERT" || word == "TRY_CAST") && IsOp("(", 1)) {
      if (word != "CONVERT") Unsupported(word);
      pos_ += 2;
      auto e = Make(ExprKind::Cast, off);
      e->Op = "CONVERT";
      e->Target = ParseTypeName();
      ExpectOp(",");
      e->Args.push_back(ParseExpr());
      if (AcceptOp(",")) e->Args.push_back(ParseExpr());
      ExpectOp(")");
      return e;
    }
    if (word == "UPDATE" && IsOp("(", 1)) { // UPDATE(column) in a trigger
      pos_ += 2;
      auto e = Make(ExprKind::Function, off);
      e->Op = word;
      auto column = Make(ExprKind::Column, Peek().Offset);
      column->Names.push_back(ExpectName());
      e->Args.push_back(std::move(column));
      ExpectOp(")");
      return e;
    }
    if (!t.Quoted && Reserved().count(word) && word != "LEFT" && word != "RIGHT") {
      Fail("unexpected keyword " + word);
    }
    // Function call?
    if (IsOp("(", 1)) {
      pos_ += 2;
      auto e = Make(ExprKind::Function, off);
      e->Op = UpperAscii(t.Text);
      static const std::set<std::string> datePartFunctions = {"DATEADD", "DATEDIFF", "DATEPART",
                                                              "DATENAME", "DATEDIFF_BIG"};
      if (datePartFunctions.count(e->Op)) {
        const Token& part = Peek();
        if (part.Kind != TokenKind::Identifier && part.Kind != TokenKind::String)
          Fail("expected a date part");
        auto p = Make(ExprKind::Literal, part.Offset);
        p->Literal = LiteralKind::String;
        p->Text = UpperAscii(part.Text);
        e->Args.push_back(std::move(p));
        ++pos_;
        if (!IsOp(")")) ExpectOp(",");
      }
      if (IsOp("*")) {
        ++pos_;
        e->Distinct = false;
        e->Op += ""; // COUNT(*)
        auto star = Make(ExprKind::Star, off);
        e->Args.push_back(std::move(star));
      } else if (!IsOp(")")) {
        if (AcceptWord("DISTINCT")) e->Distinct = true;
        else AcceptWord("ALL");
        do {
          e->Args.push_back(ParseExpr());
        } while (AcceptOp(","));
      }
      ExpectOp(")");
      if (IsWord("OVER")) Unsupported("OVER (window function)");
      if (IsWord("WITHIN")) Unsupported("WITHIN GROUP");
      return e;
    }
    // Column reference, possibly qualified; q.* gives a star.
    std::vector<std::string> parts = ParseMultipartName();
    if (IsOp(".") && IsOp("*", 1)) {
      pos_ += 2;
      auto e = Make(ExprKind::Star, off);
      e->Names = std::move(parts);
      return e;
    }
    if (IsOp("(")) {
      // dbo.fn(...)
      std::string name;
      for (auto& p : parts) name += (name.empty() ? "" : ".") + p;
      Unsupported("user-defined function " + name);
    }
    auto e = Make(ExprKind::Column, off);
    e->Names = std::move(parts);
    return e;
  }

  ExprPtr ParseCase() {
    const size_t off = Peek().Offset;
    ExpectWord("CASE");
    auto e = Make(ExprKind::Case, off);
    if (IsWord("WHEN")) e->Args.push_back(nullptr);
    else e->Args.push_back(ParseExpr());
    bool any = false;
    while (AcceptWord("WHEN")) {
      e->Args.push_back(ParseExpr());
      ExpectWord("THEN");
      e->Args.push_back(ParseExpr());
      any = true;
    }
    if (!any) Fail("CASE without WHEN");
    if (AcceptWord("ELSE")) e->Args.push_back(ParseExpr());
    else e->Args.push_back(nullptr);
    ExpectWord("END");
    return e;
  }

  std::string_view text_;
  std::vector<Token> tokens_;
  std::vector<int> placeholderIndex_;
  size_t pos_ = 0;
  Batch batch_;
};

} // namespace

Batch ParseTsql(std::string_view text) { return Parser(text).Run(); }

} // namespace vq::sandbox
