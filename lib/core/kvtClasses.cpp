#include "core/kvtClasses.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "core/kvtDBOptions.h"
#include "core/kvtDBStructure.h"
#include "parse/kvtASAParser.h"
#include "parse/kvtIBParser.h"
#include "parse/kvtMSSQLParser.h"
#include "parse/kvtMySQLParser.h"
#include "parse/kvtOracleParser.h"
#include "script/kvtSQL_Exec.h"

// ---------------------------------------------------------------------------
// Text helpers

std::string UpperAscii(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return s;
}

std::string LowerAscii(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

bool SameTextAscii(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
    if (x != y) return false;
  }
  return true;
}

std::string NormalizeText(const std::string& text) {
  std::string out;
  out.reserve(text.size() + 8);
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r') {
      out += "\r\n";
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else if (c == '\n') {
      out += "\r\n";
    } else {
      out += c;
    }
  }
  // Trim blanks, tabs, line breaks and other control characters at both ends.
  auto isTrim = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  size_t b = 0, e = out.size();
  while (b < e && isTrim(out[b])) ++b;
  while (e > b && isTrim(out[e - 1])) --e;
  return out.substr(b, e - b);
}

namespace {
// The part of a text NormalizeText keeps: control characters and blanks at
// both ends go.
std::string_view TrimmedView(std::string_view t) {
  auto isTrim = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  size_t b = 0, e = t.size();
  while (b < e && isTrim(t[b])) ++b;
  while (e > b && isTrim(t[e - 1])) --e;
  return t.substr(b, e - b);
}
}  // namespace

bool SameNormalizedText(std::string_view a, std::string_view b) {
  a = TrimmedView(a);
  b = TrimmedView(b);
  // Walk both texts, reading each line break (CR LF, lone CR, lone LF) as one
  // unit, so that texts differing only in their line-break style are equal.
  size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    const bool breakA = a[i] == '\r' || a[i] == '\n';
    const bool breakB = b[j] == '\r' || b[j] == '\n';
    if (breakA != breakB) return false;
    if (breakA) {
      i += a[i] == '\r' && i + 1 < a.size() && a[i + 1] == '\n' ? 2 : 1;
      j += b[j] == '\r' && j + 1 < b.size() && b[j + 1] == '\n' ? 2 : 1;
      continue;
    }
    if (a[i] != b[j]) return false;
    ++i;
    ++j;
  }
  return i == a.size() && j == b.size();
}

namespace {

// Reserved words, sorted for binary search.
constexpr const char* kPGReserved[] = {
    "ALL", "ANALYSE", "ANALYZE", "AND", "ANY", "ARRAY", "AS", "ASC", "ASYMMETRIC",
    "AUTHORIZATION", "BETWEEN", "BINARY", "BOTH", "CASE", "CAST", "CHECK", "COLLATE", "COLUMN",
    "CONSTRAINT", "CREATE", "CROSS", "CURRENT_DATE", "CURRENT_ROLE", "CURRENT_TIME",
    "CURRENT_TIMESTAMP", "CURRENT_USER", "DEFAULT", "DEFERRABLE", "DESC", "DISTINCT", "DO", "ELSE",
    "END", "EXCEPT", "FALSE", "FOR", "FOREIGN", "FREEZE", "FROM", "FULL", "GRANT", "GROUP",
    "HAVING", "ILIKE", "IN", "INITIALLY", "INNER", "INTERSECT", "INTO", "IS", "ISNULL", "JOIN",
    "LEADING", "LEFT", "LIKE", "LIMIT", "LOCALTIME", "LOCALTIMESTAMP", "NATURAL", "NEW", "NOT",
    "NOTNULL", "NULL", "OFF", "OFFSET", "OLD", "ON", "ONLY", "OR", "ORDER", "OUTER", "OVERLAPS",
    "PLACING", "PRIMARY", "REFERENCES", "RIGHT", "SELECT", "SESSION_USER", "SIMILAR", "SOME",
    "SYMMETRIC", "TABLE", "THEN", "TO", "TRAILING", "TRUE", "UNION", "UNIQUE", "USER", "USING",
    "VERBOSE", "WHEN", "WHERE"};

constexpr const char* kDB2Reserved[] = {
    "ADD", "AFTER", "ALIAS", "ALLOW", "ALTER", "AS", "AUTHORIZATION", "BEFORE", "BUFFERPOOL", "BY",
    "CACHE", "CAPTURE", "CARDINALITY", "CHAR", "CHARACTER", "CHECK", "CLUSTER", "COMMIT",
    "CONNECT", "CONSTRAINT", "CREATE", "CURRENT", "DATA", "DATABASE", "DB2SQL", "DEFAULT",
    "DELETE", "DISALLOW", "DOUBLE", "EACH", "FILE", "FOR", "FOREIGN", "GENERATED", "GRANT",
    "GRAPHIC", "GROUP", "IDENTITY", "IN", "INCREMENT", "INDEX", "INSERT", "KEY", "LONG", "MODE",
    "NEW", "NEW_TABLE", "NO", "NOT", "NULL", "OF", "OLD", "OLD_TABLE", "ON", "OPTIMIZATION",
    "OPTION", "PARTITION", "PATH", "PRIMARY", "RECOVERY", "REFERENCES", "REFERENCING", "RESET",
    "RESTRICT", "ROW", "SCHEMA", "SELECT", "SET", "START", "SYSTEM", "TABLE", "TABLESPACE", "TO",
    "TRIGGER", "UNIQUE", "UPDATE", "USER", "USING", "VIEW", "WHEN", "WITH", "YEARS"};

template <size_t N>
bool InSortedList(const char* const (&list)[N], const std::string& word) {
  return std::binary_search(std::begin(list), std::end(list), word.c_str(),
                            [](const char* a, const char* b) { return std::strcmp(a, b) < 0; });
}

std::string DoubleQuoted(const std::string& name) {
  std::string out = "\"";
  for (char c : name) {
    if (c == '"') out += '"';  // an embedded quote is doubled so the identifier stays intact
    out += c;
  }
  return out + "\"";
}

bool IsLowerAlpha(char c) { return c >= 'a' && c <= 'z'; }
bool IsUpperAlpha(char c) { return c >= 'A' && c <= 'Z'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The container whose dialect and options an object of `objs` renders with.
TObjs* EffectiveObjs(TObjs* objs) {
  if (objs && objs->UsePartnerServer && objs->Partner) return objs->Partner;
  return objs;
}

TStatement* Append(TDbObj* o, const std::string& sql, TStatementKind kind,
                   const std::string& objName, TDbObject objType, uint8_t action,
                   const std::string& parentName = std::string()) {
  TCustomSQLExec* exec = o->GetSQLExec();
  return exec ? exec->AddStatement(sql, kind, objName, objType, action, parentName) : nullptr;
}

}  // namespace

bool PGNameNeedsQuotes(const std::string& name) {
  if (name.empty()) return false;
  if (!IsLowerAlpha(name[0]) && name[0] != '_') return true;
  for (size_t i = 1; i < name.size(); ++i) {
    char c = name[i];
    if (!IsLowerAlpha(c) && !IsDigit(c) && c != '_' && c != '$') return true;
  }
  return InSortedList(kPGReserved, UpperAscii(name));
}

bool DB2NameNeedsQuotes(const std::string& name) {
  if (name.empty()) return false;
  if (InSortedList(kDB2Reserved, UpperAscii(name))) return true;
  if (!IsUpperAlpha(name[0])) return true;
  for (size_t i = 1; i < name.size(); ++i) {
    char c = name[i];
    if (!IsUpperAlpha(c) && !IsDigit(c) && c != '#' && c != '$' && c != '@' && c != '_') return true;
  }
  return false;
}

// ---------------------------------------------------------------------------
// TDbObj

TDbObj::TDbObj(TObjs* aObjs) : Objs(aObjs) {}

TObjs* TDbObj::MasterObjs() const { return Objs ? Objs->MasterOrSelf() : nullptr; }

TObjs* TDbObj::TargetObjs() const { return Objs ? Objs->TargetOrSelf() : nullptr; }

TDbObj::~TDbObj() = default;


bool TDbObj::GetExists() { return Exists; }

void TDbObj::SetExists(bool value) {
  Exists = value;
  if (Pair) Pair->Exists = value;
}

std::string TDbObj::GetDisplayName() {
  if (Name.empty()) return AutoName.empty() ? GetCreateSQL() : AutoName;
  switch (GetServerType()) {
    case srvASA:
      return Owner.empty() ? Name : Owner + "." + Name;
    case srvMSSQL:
    case srvPostgreSQL:
    case srvDB2:
      return IsFieldObject() ? Name : GetQualifiedName();
    default:
      return Name;
  }
}

int TDbObj::GetNumber() { return -1; }

std::string TDbObj::GetListKey() {
  switch (GetServerType()) {
    case srvMSSQL:
    case srvPostgreSQL: {
      std::string key = Name;
      if (GetListId() == olIdx) {
        const std::string table = GetParentName();
        if (!table.empty()) key = table + "." + Name;
      }
      if (!Schema.empty()) key = Schema + "." + key;
      return key;
    }
    case srvASA:
    case srvOracle:
    case srvDB2:
      return QualifyName(Schema, Name);
    default:
      return Name;
  }
}

std::string TDbObj::GetCreateSQL() { return std::string(); }

std::string TDbObj::GetCompareSQL() {
  std::string sql = GetCreateSQL();
  if (GetServerType() != srvPostgreSQL || !IsView()) return sql;
  // Views read back from PostgreSQL differ in layout only: compare on one line.
  std::string flat;
  flat.reserve(sql.size());
  for (size_t i = 0; i < sql.size(); ++i) {
    char c = sql[i];
    if (c == '\r' && i + 1 < sql.size() && sql[i + 1] == '\n') {
      flat += ' ';
      ++i;
    } else if (c == '\r' || c == '\n') {
      flat += ' ';
    } else {
      flat += c;
    }
  }
  std::string out;
  out.reserve(flat.size());
  for (char c : flat) {
    if (c == ' ' && !out.empty() && out.back() == ' ') continue;
    out += c;
  }
  return out;
}

void TDbObj::AppendCreateStatement() {
  Append(this, GetCreateScript(), skStatement, GetQualifiedName(), ObjType, saCreate,
         IsColumn() ? GetParentName() : std::string());
  SetExists(true);
}

void TDbObj::CreateDependDef() {
  CreateDependencies();
  TCustomSQLExec* exec = GetSQLExec();
  if (GetServerType() == srvPostgreSQL && exec) exec->SetCurrentSchema(Schema);
  if (!GetExists()) {
    AppendCreateStatement();
    if (exec && GetCompareObjects().Contains(coDescription)) AppendCreateDescriptions(*exec);
    SetExists(true);
  }
  MarkCreated();
}

void TDbObj::DropDependDef() {
  if (!GetExists() || IsKeptForMaster()) return;
  {
    // What goes first because this object goes records it as the cause.
    TCauseScope cause(GetSQLExec(), *this);
    DropDependents();
  }
  if (GetExists()) {
    ForEachColumn([](TDbObj& c) { c.SetExists(false); });
    AppendDropStatement(Name.empty() && GetListId() == olCtr ? AutoName : Name);
    SetExists(false);
  }
  MarkDropped();
}

void TDbObj::AppendDropStatement(const std::string& name) {
  Append(this, GetDropSQL(), skStatement, name, ObjType, saDrop,
         IsColumn() ? GetParentName() : std::string());
}

void TDbObj::DropDependents() {
  // Index walk: handling a user may record further dependencies on this object.
  for (size_t i = 0; i < UseInList.size(); ++i) {
    TDependObj* r = UseInList[i].get();
    TDbObj* u = r->Obj;
    if (!u) {
      r->Pending = false;
      continue;
    }
    if (u->IsView() && u->GetExists()) r->Pending = true;  // a view is always handled again
    if (!u->GetExists()) r->Pending = false;
    if (r->Pending && u->ReleaseUse(*this)) r->Pending = false;
  }
}

void TDbObj::MarkDropped() { SetExists(false); }

void TDbObj::ReleaseUses() {
  for (auto& r : UseOfList) {
    r->Pending = false;
    if (!r->Obj) continue;
    for (auto& back : r->Obj->UseInList)
      if (back->Obj == this) back->Pending = false;
  }
}

void TDbObj::CreateDependencies() {
  // Index walk: creating what is used may record further dependencies.
  for (size_t i = 0; i < UseOfList.size(); ++i) {
    TDependObj* r = UseOfList[i].get();
    if (r->Pending && r->Obj) r->Obj->ProvideFor(*this, *r);
  }
}

void TDbObj::MarkCreated() { SetExists(true); }

std::string TDbObj::GetCreateScript() {
  if (TCustomSQLExec* exec = GetSQLExec()) exec->SetCurrentSchema(Schema);
  return GetCreateSQL();
}

std::string TDbObj::GetDropSQL() {
  std::string sql = "/* Drop: " + Name + " (" + ClassName() + ") */\r\n";
  switch (ObjType) {
    case dboFunction: return sql + "DROP EXTERNAL FUNCTION " + QuoteName(Name);
    case dboException: return sql + "DROP EXCEPTION " + QuoteName(Name);
    case dboIndex: return sql + "DROP INDEX " + QuoteName(Name);
    case dboDomain: return sql + "DROP DOMAIN " + QuoteName(Name);
    case dboField:
      return sql + "ALTER TABLE " + QuoteName(GetParentName()) + " DROP " + QuoteName(Name);
    case dboCollation: return sql + "DROP COLLATION " + QuoteName(Name);
    case dboRule: return sql + "DROP RULE " + QuoteName(Name);
    case dboDefault: return sql + "DROP DEFAULT " + QuoteName(Name);
    default: return sql;
  }
}

std::string TDbObj::GetAlterSQL() { return "/* Alter <...> */"; }

std::string TDbObj::GetSQLText() { return SQLText.empty() ? GetCreateSQL() : SQLText; }

std::string TDbObj::MakeComment(const std::string& text) {
  if (GetServerType() == srvASA) return "% " + text;
  return "/* " + text + " */";
}

std::string TDbObj::QuoteName(const std::string& name) {
  if (!Objs) return name;
  switch (GetServerType()) {
    case srvInterBase: {
      TIBServerOptions* opts = GetServerOptions();
      if (opts && opts->SQLDialect == 3 && NeedsQuotes(name, opts->SQLServerVersion))
        return DoubleQuoted(name);
      return name;
    }
    case srvASA:
      return QuoteASAName(name);
    case srvMySQL:
      return QuoteMySQLName(name);
    case srvOracle:
      return QuoteOracleName(name);
    case srvMSSQL:
      return QuoteMSSQLName(name);
    case srvPostgreSQL:
      return PGNameNeedsQuotes(name) ? DoubleQuoted(name) : name;
    case srvDB2:
      return DB2NameNeedsQuotes(name) ? DoubleQuoted(name) : name;
    default:
      return name;
  }
}

// ---------------------------------------------------------------------------
// Description statements

namespace {

// The words each dialect's description statement uses for a kind of object,
// one row per kind. Columns and parameters have statements of their own;
// nullptr means the dialect's statement does not know the kind.
struct TDescriptionWords {
  TDbObject Kind;
  const char* IBTable;     // InterBase system table holding RDB$DESCRIPTION
  const char* IBField;     // its name column
  const char* IBDescribe;  // DESCRIBE <word>
  const char* IBComment;   // COMMENT ON <word>, ALTER DESCRIPTION FOR <word>
  const char* ASA;         // COMMENT ON <word>
  const char* Oracle;      // COMMENT ON <word>
  const char* PostgreSQL;  // COMMENT ON <word> <qualified name>
};

// Routines read "PROCEDURE" here; a function says FUNCTION where the
// statement tells the two apart.
constexpr TDescriptionWords kDescriptionWords[] = {
    {dboDomain, "RDB$FIELDS", "RDB$FIELD_NAME", "DOMAIN", "DOMAIN", "DOMAIN", "TYPE", "DOMAIN"},
    {dboTable, "RDB$RELATIONS", "RDB$RELATION_NAME", "TABLE", "TABLE", "TABLE", "TABLE", "TABLE"},
    {dboView, "RDB$RELATIONS", "RDB$RELATION_NAME", "VIEW", "VIEW", "VIEW", "VIEW", "VIEW"},
    {dboProcedure, "RDB$PROCEDURES", "RDB$PROCEDURE_NAME", "PROCEDURE", "PROCEDURE", "PROCEDURE",
     "PROCEDURE", nullptr},
    {dboTrigger, "RDB$TRIGGERS", "RDB$TRIGGER_NAME", "TRIGGER", "TRIGGER", "TRIGGER", nullptr,
     nullptr},
    {dboException, "RDB$EXCEPTIONS", "RDB$EXCEPTION_NAME", "EXCEPTION", "EXCEPTION", nullptr,
     nullptr, nullptr},
    {dboIndex, "RDB$INDICES", "RDB$INDEX_NAME", "INDEX", "INDEX", "INDEX", "INDEX", "INDEX"},
    {dboFunction, "RDB$FUNCTIONS", "RDB$FUNCTION_NAME", "FUNCTION", "EXTERNAL FUNCTION", nullptr,
     nullptr, nullptr},
    {dboGenerator, "RDB$GENERATORS", "RDB$GENERATOR_NAME", "GENERATOR", "GENERATOR", "SEQUENCE",
     "SEQUENCE", "SEQUENCE"},
    {dboRole, "RDB$ROLES", "RDB$ROLE_NAME", "ROLE", "ROLE", "ROLE", "ROLE", "ROLE"},
    {dboPackage, nullptr, nullptr, nullptr, "PACKAGE", "PACKAGE", "PACKAGE", nullptr},
    {dboSchema, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, "SCHEMA"},
};

const TDescriptionWords* DescriptionWordsOf(TDbObject kind) {
  for (const TDescriptionWords& w : kDescriptionWords)
    if (w.Kind == kind) return &w;
  return nullptr;
}

// A routine word that becomes FUNCTION for functions.
std::string RoutineWord(const char* word, const TDbObj& o) {
  if (word && o.ObjType == dboProcedure && o.IsFunctionRoutine()) return "FUNCTION";
  return word ? word : "";
}

// What a description statement needs to know about the object.
struct TDescTarget {
  TDbObj* Obj;
  const TDescriptionWords* Words;
  bool Column = false;          // a table or view column
  bool Param = false;           // a procedure parameter
  TDbObj* ColumnOwner = nullptr;
  bool ViewColumn = false;
  TDbObj* ParamProc = nullptr;
  std::string ColumnTableName;  // the column's own table name, as written on it
  std::string TableName;        // TBL: that name, or the owner's name when unset
  std::string ProcName;         // PRC: the parameter's procedure

  explicit TDescTarget(TDbObj* o) : Obj(o), Words(DescriptionWordsOf(o->ObjType)) {
    if (!o->IsFieldObject()) return;
    TDbObj* owner = o->GetParentObj();
    if (o->ObjType == dboParam) {
      Param = true;
      ParamProc = owner && owner->IsProcedure() ? owner : nullptr;
      ProcName = ParamProc ? ParamProc->Name : o->GetParentName();
    } else if (o->ObjType == dboField) {
      Column = true;
      ColumnOwner = owner;
      ViewColumn = owner && owner->IsView();
      ColumnTableName = o->GetParentName();
      TableName = ColumnTableName.empty() && owner ? owner->Name : ColumnTableName;
    }
  }
  // The word of this kind in the given column of the table; empty when none.
  std::string Word(const char* TDescriptionWords::*column) const {
    return Words && Words->*column ? RoutineWord(Words->*column, *Obj) : std::string();
  }
};

std::string IBDescription(TDbObj* o, const TDescTarget& t) {
  const std::string N = o->GetName();
  const std::string D = QuoteLiteral(o->Description, srvInterBase);
  auto Q = [o](const std::string& s) { return o->QuoteName(s); };
  auto L = [](const std::string& s) { return QuoteLiteral(s, srvInterBase); };
  TIBServerOptions* opts = o->GetServerOptions();
  TUpdateDescriptionType mode = opts ? opts->IBCompareOptions->UpdateDescriptionMode : udSysTables;
  // Firebird 3 and later refuse updates of their system tables; COMMENT ON
  // stores the same description.
  if (mode == udSysTables && opts &&
      (opts->SQLServerVersion == st_Firebird_30 || opts->SQLServerVersion == st_Firebird_40))
    mode = udComment;
  const std::string comment = t.Word(&TDescriptionWords::IBComment);

  std::string sql;
  switch (mode) {
    case udSysTables:
      if (t.Column) {
        sql = "UPDATE RDB$RELATION_FIELDS SET RDB$DESCRIPTION = \r\n" + D +
              "\r\nWHERE RDB$RELATION_NAME = " + L(t.TableName) + " AND RDB$FIELD_NAME = " + L(N);
      } else if (t.Param) {
        sql = "UPDATE RDB$PROCEDURE_PARAMETERS SET RDB$DESCRIPTION = \r\n" + D +
              "\r\nWHERE RDB$PROCEDURE_NAME = " + L(t.ProcName) + " AND RDB$PARAMETER_NAME = " +
              L(N);
      } else if (t.Words && t.Words->IBTable) {
        sql = std::string("UPDATE ") + t.Words->IBTable + " SET RDB$DESCRIPTION = \r\n" + D +
              "\r\nWHERE " + t.Words->IBField + " = " + L(N);
      } else {
        sql = o->MakeComment(o->Description);
      }
      break;
    case udDescribe: {
      const std::string word = t.Words && t.Words->IBDescribe ? t.Words->IBDescribe : "";
      if (t.Column) {
        sql = "DESCRIBE FIELD " + Q(N) + (t.ViewColumn ? " VIEW " : " TABLE ") + Q(t.TableName) +
              "\r\n" + D;
      } else if (t.Param) {
        sql = "DESCRIBE PARAMETER " + Q(N) + " PROCEDURE " + Q(t.ProcName) + "\r\n" + D;
      } else if (!word.empty()) {
        sql = "DESCRIBE " + word + " " + Q(N) + "\r\n" + D;
      }
      break;
    }
    case udComment:
      if (t.Column) {
        sql = "COMMENT ON COLUMN " + Q(t.TableName) + "." + Q(N) + " IS\r\n" + D;
      } else if (t.Param) {
        sql = "COMMENT ON PARAMETER " + Q(t.ProcName) + "." + Q(N) + " IS\r\n" + D;
      } else if (o->ObjType == dboCollation) {
        sql = "COMMENT ON COLLATION " + Q(N) + " IS\r\n" + D;
      } else if (!comment.empty()) {
        sql = "COMMENT ON " + comment + " " + Q(N) + " IS\r\n" + D;
      }
      break;
  }

  // InterBase 2020 has its own statement for every kind it can describe.
  if (opts && opts->SQLServerVersion == st_InterBase_2020) {
    if (t.Column) {
      sql = "ALTER DESCRIPTION FOR COLUMN " + Q(t.TableName) + "." + Q(N) + " SET\r\n" + D;
    } else if (t.Param) {
      sql = "ALTER DESCRIPTION FOR PARAMETER " + Q(t.ProcName) + "." + Q(N) + " SET\r\n" + D;
    } else if (o->ObjType == dboCollation) {
      sql = "ALTER DESCRIPTION FOR COLLATION " + Q(N) + " IS\r\n" + D;
    } else if (o->ObjType == dboProcedure) {
      sql = "ALTER DESCRIPTION FOR PROCEDURE " + Q(N) + " SET\r\n" + D;
    } else if (!comment.empty()) {
      sql = "ALTER DESCRIPTION FOR " + comment + " " + Q(N) + " SET\r\n" + D;
    }
  }
  return sql;
}

std::string ASADescription(TDbObj* o, const TDescTarget& t) {
  const std::string N = o->GetName();
  auto Q = [o](const std::string& s) { return o->QuoteName(s); };
  if (t.Column && !t.ColumnTableName.empty())
    return "COMMENT ON COLUMN " + Q(t.ColumnTableName) + "." + Q(N) + " IS\r\n" +
           QuoteLiteral(o->Description, srvASA);
  const std::string word = t.Column || t.Param ? std::string() : t.Word(&TDescriptionWords::ASA);
  if (word.empty()) return std::string();
  return "COMMENT ON " + word + " " + Q(N) + " IS\r\n" + QuoteLiteral(o->Description, srvASA);
}

std::string MySQLDescription(TDbObj* o, const TDescTarget& t) {
  const std::string L = QuoteLiteral(o->Description, srvMySQL);
  if (o->ObjType == dboTable) return "ALTER TABLE " + o->QuoteName(o->GetName()) + " COMMENT = " + L;
  // The column definition starts with the column's own (quoted) name.
  if (t.Column)
    // The definition carries the comment (an empty one removes it).
    return "ALTER TABLE " + o->QuoteName(t.TableName) + " MODIFY COLUMN " + o->GetCreateSQL();
  return std::string();
}

std::string OracleDescription(TDbObj* o, const TDescTarget& t) {
  const std::string N = o->GetName();
  auto Q = [o](const std::string& s) { return o->QuoteName(s); };
  const std::string L = QuoteLiteral(o->Description, srvOracle);
  if (t.Column) {
    std::string tbl = Q(t.TableName);
    if (t.ColumnOwner && !t.ColumnOwner->Schema.empty()) tbl = Q(t.ColumnOwner->Schema) + "." + tbl;
    return "COMMENT ON COLUMN " + tbl + "." + Q(N) + " IS\r\n" + L;
  }
  if (o->GetListId() == olTrg && !o->GetParentName().empty()) {
    TDbObj* table = o->GetParentObj();
    std::string tbl = table && !table->Schema.empty() ? Q(table->Schema) + "." + Q(table->Name)
                                                      : Q(o->GetParentName());
    return "COMMENT ON TRIGGER " + tbl + "." + Q(N) + " IS\r\n" + L;
  }
  const std::string word = t.Param ? std::string() : t.Word(&TDescriptionWords::Oracle);
  if (word.empty()) return "/* COMMENT ON... */";
  return "COMMENT ON " + word + " " + o->GetQualifiedName() + " IS\r\n" + L;
}

std::string MSSQLDescription(TDbObj* o, const TDescTarget& t) {
  TObjs* objs = EffectiveObjs(o->Objs);
  if (!objs || !objs->MSSQLServerOptions) return std::string();
  if (objs->MSSQLServerOptions->SQLServerVersion == st_MSSQL2000) return std::string();

  const std::string& N = o->Name;
  std::string type0, name0, type1, name1, type2, name2;
  auto routineKind = [](TDbObj* p) {
    return p && p->IsFunctionRoutine() ? "FUNCTION" : "PROCEDURE";
  };
  if (t.Column) {
    TDbObj* owner = t.ColumnOwner;
    type0 = "SCHEMA";
    name0 = owner ? owner->Schema : std::string();
    type1 = t.ViewColumn ? "VIEW" : "TABLE";
    name1 = t.TableName;
    type2 = "COLUMN";
    name2 = N;
  } else if (t.Param) {
    type0 = "SCHEMA";
    name0 = t.ParamProc ? t.ParamProc->Schema : std::string();
    type1 = routineKind(t.ParamProc);
    name1 = t.ProcName;
    type2 = "PARAMETER";
    name2 = N;
  } else {
    switch (o->ObjType) {
      case dboSchema:
        type0 = "SCHEMA", name0 = N;
        break;
      case dboDomain:
        type0 = "SCHEMA", name0 = o->Schema;
        type1 = o->IsXmlSchemaCollection() ? "XML SCHEMA COLLECTION" : "TYPE";
        name1 = N;
        break;
      case dboTable:
        type0 = "SCHEMA", name0 = o->Schema, type1 = "TABLE", name1 = N;
        break;
      case dboView:
        type0 = "SCHEMA", name0 = o->Schema, type1 = "VIEW", name1 = N;
        break;
      case dboProcedure:
        type0 = "SCHEMA", name0 = o->Schema, type1 = routineKind(o), name1 = N;
        break;
      case dboTrigger:
        if (!o->Schema.empty()) {
          type0 = "SCHEMA", name0 = o->Schema;
          type1 = "TABLE", name1 = o->GetParentName();
          type2 = "TRIGGER", name2 = N;
        } else {
          type0 = "TRIGGER", name0 = N;
        }
        break;
      case dboIndex: {
        const std::string table = o->GetParentName();
        type0 = "SCHEMA", name0 = o->Schema;
        type1 = o->Objs && o->Objs->ViwList.Contains(QualifyName(o->Schema, table)) ? "VIEW"
                                                                                    : "TABLE";
        name1 = table;
        type2 = "INDEX", name2 = N;
        break;
      }
      default:
        break;
    }
  }
  if (type0.empty() || name0.empty()) return std::string();

  auto L = [](const std::string& s) { return QuoteLiteral(s, srvMSSQL); };
  const int level = objs->MSSQLServerOptions->MSSQLDatabaseOptions->CompatibilityLevel;
  std::string sql = level >= 1 && level <= 90 ? "exec dbo.sp_addextendedproperty "
                                              : "exec sys.sp_addextendedproperty ";
  sql += "@name=N" + L("MS_Description") + ", @value=N" + L(o->Description) + ", @level0type=N" +
         L(type0) + ", @level0name=N" + L(name0);
  if (!type1.empty() && !name1.empty())
    sql += ", @level1type=N" + L(type1) + ", @level1name=N" + L(name1);
  if (!type2.empty() && !name2.empty())
    sql += ", @level2type=N" + L(type2) + ", @level2name=N" + L(name2);
  return sql;
}

std::string PGDescription(TDbObj* o, const TDescTarget& t) {
  const std::string N = o->GetName();
  auto Q = [o](const std::string& s) { return o->QuoteName(s); };
  auto schemaPrefix = [&Q](const std::string& schema) {
    return schema.empty() ? std::string() : Q(schema) + ".";
  };
  std::string kw, target;
  if (t.Column) {
    if (t.ViewColumn) return std::string();
    kw = "COLUMN";
    target = schemaPrefix(t.ColumnOwner ? t.ColumnOwner->Schema : std::string()) +
             Q(t.TableName) + "." + Q(N);
  } else if (t.Param) {
    return std::string();
  } else if (o->GetListId() == olCtr) {
    kw = "CONSTRAINT";
    target = Q(N) + " ON " + schemaPrefix(o->Schema) + Q(o->GetParentName());
  } else if (o->GetListId() == olPrc) {
    kw = "FUNCTION";
    target = schemaPrefix(o->Schema) + Q(N) + o->GetSignatureSQL();
  } else if (o->GetListId() == olTrg) {
    TDbObj* table = o->GetParentObj();
    kw = "TRIGGER";
    target = Q(N) + " ON " + schemaPrefix(table ? table->Schema : std::string()) +
             Q(o->GetParentName());
  } else {
    kw = t.Word(&TDescriptionWords::PostgreSQL);
    if (kw.empty()) return std::string();
    target = o->GetQualifiedName();
  }
  return "COMMENT ON " + kw + " " + target + " IS " + QuoteLiteral(o->Description, srvPostgreSQL);
}

}  // namespace

std::string TDbObj::GetDescriptionSQL() {
  if (!GetCompareObjects().Contains(coDescription)) return std::string();
  const TDescTarget t(this);
  switch (GetServerType()) {
    case srvInterBase: return IBDescription(this, t);
    case srvASA: return ASADescription(this, t);
    case srvMySQL: return MySQLDescription(this, t);
    case srvOracle: return OracleDescription(this, t);
    case srvMSSQL: return MSSQLDescription(this, t);
    case srvPostgreSQL: return PGDescription(this, t);
    default: return std::string();  // DB2 and ASE have no description statement here
  }
}

// ---------------------------------------------------------------------------
// Non-virtual operations

namespace {
bool UpperCasesNames(TDbObj* o) {
  return o->GetServerType() == srvMSSQL && o->Objs && o->Objs->MSSQLServerOptions &&
         !o->Objs->MSSQLServerOptions->MSSQLCompareOptions->CaseSensitiveIdentifiers;
}
}  // namespace

void TDbObj::SetName(const std::string& text) { Name = UpperCasesNames(this) ? UpperAscii(text) : text; }

void TDbObj::SetSchema(const std::string& text) {
  Schema = UpperCasesNames(this) ? UpperAscii(text) : text;
}

void TDbObj::SetDescription(const std::string& text) { Description = NormalizeText(text); }

void TDbObj::SetBody(const std::string& text) { Body = NormalizeText(text); }

TServerType TDbObj::GetServerType() const {
  TObjs* objs = EffectiveObjs(Objs);
  return objs ? objs->ServerType : srvNone;
}

TIBServerOptions* TDbObj::GetServerOptions() const {
  TObjs* objs = EffectiveObjs(Objs);
  return objs ? objs->IBServerOptions.get() : nullptr;
}

TCmpObjSetType TDbObj::GetCompareObjects() const {
  return Objs ? Objs->CompareObjects : TCmpObjSetType();
}

TCustomSQLExec* TDbObj::GetSQLExec() const { return Objs ? Objs->SQLExec : nullptr; }

std::string TDbObj::GetQualifiedName() {
  const TServerType st = GetServerType();
  if (st == srvASA && (IsTable() || IsProcedure() || IsView()))
    return Owner.empty() ? "DBA." + QuoteName(Name) : QuoteName(Owner) + "." + QuoteName(Name);
  if (st != srvOracle && st != srvMSSQL && st != srvPostgreSQL && st != srvDB2) return QuoteName(Name);
  if (IsFieldObject() || Schema.empty()) return QuoteName(Name);
  return QuoteName(Schema) + "." + QuoteName(Name);
}

bool TDbObj::DetectAutoName() {
  const char* prefix = GetAutoNamePrefix();
  if (!*prefix) return false;
  const std::string& n = Name;
  if (n.size() < 10 || n.compare(0, 4, prefix) != 0) return false;
  const size_t tail = n.size() - 10;
  if (n[tail] != '_' || n[tail + 1] != '_') return false;
  for (size_t i = tail + 2; i < n.size(); ++i) {
    const char c = n[i];
    if (!IsDigit(c) && !(c >= 'A' && c <= 'F')) return false;
  }
  AutoName = n;
  Name.clear();
  return true;
}

// ---------------------------------------------------------------------------
// Dependencies

void AddDependency(TObjs* container, TDbObj* user, TDbObj* used, const std::string& fieldName,
                   int column, int line) {
  if (!user || !used) return;
  if (!fieldName.empty()) {
    if (TDbObj* col = used->FindColumn(fieldName))
      AddDependencyOnce(container, user, col, std::string(), column, line);
    return;
  }
  auto of = std::make_unique<TDependObj>(container);
  of->Name = used->Name;
  of->ObjType = used->ObjType;
  of->Obj = used;
  of->Column = column;
  of->Line = line;
  user->UseOfList.push_back(std::move(of));

  auto in = std::make_unique<TDependObj>(container);
  in->Name = user->Name;
  in->ObjType = user->ObjType;
  in->Obj = user;
  in->Column = column;
  in->Line = line;
  used->UseInList.push_back(std::move(in));
}

void AddDependencyOnce(TObjs* container, TDbObj* user, TDbObj* used, const std::string& fieldName,
                       int column, int line) {
  if (!user || !used) return;
  std::string field = fieldName;
  if (!field.empty()) {
    if (TDbObj* col = used->FindColumn(field)) {
      used = col;
      field.clear();
    } else if (user->IsTable() && (used->GetListId() == olCtr || used->ObjType == dboDomain)) {
      AddDependencyOnce(container, user, used, std::string(), column, line);
      if (TDbObj* own = user->FindColumn(field)) {
        user = own;
        field.clear();
      }
    } else if (used->IsProcedure()) {
      field.clear();
    }
  }
  if (!field.empty()) return;
  for (const auto& r : user->UseOfList)
    if (r->Obj == used) return;
  AddDependency(container, user, used, std::string(), column, line);
}
