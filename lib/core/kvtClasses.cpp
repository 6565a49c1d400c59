#include "core/kvtClasses.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "core/kvtDBOptions.h"
#include "core/kvtDBStructure.h"
#include "kinds/kvtCompColumn.h"
#include "kinds/kvtComp_Ctr.h"
#include "kinds/kvtComp_Dmn.h"
#include "kinds/kvtComp_Gnr.h"
#include "kinds/kvtComp_Idx.h"
#include "kinds/kvtComp_Prc.h"
#include "kinds/kvtComp_Tbl.h"
#include "kinds/kvtComp_Trg.h"
#include "kinds/kvtComp_Viw.h"
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

// The table or view column `name` of `obj`; null when obj is neither or has no such column.
TFldData* FindColumnOf(TDbObj* obj, const std::string& name) {
  if (auto* tbl = obj->As<TTblData>()) return tbl->FindField(name);
  if (auto* viw = obj->As<TViwData>()) return viw->Columns.Find(name);
  return nullptr;
}

// A table or view column (not a parameter, argument or domain base column).
TFldData* AsColumn(TDbObj* obj) {
  return obj && obj->ObjType == dboField ? obj->As<TFldData>() : nullptr;
}

// The container of the master / target database as seen from `objs`.
TObjs* MasterObjs(TObjs* objs) { return objs ? objs->MasterSide() : nullptr; }
TObjs* TargetObjs(TObjs* objs) { return objs ? objs->TargetSide() : nullptr; }

// The container whose dialect and options an object of `objs` renders with.
TObjs* EffectiveObjs(TObjs* objs) {
  if (objs && objs->UsePartnerServer && objs->Partner) return objs->Partner;
  return objs;
}

bool SameBody(const std::string& a, const std::string& b) {
  return NormalizeText(a) == NormalizeText(b);
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

TDbObj::~TDbObj() = default;

TDependObj::TDependObj(TObjs* aObjs) : TDbObj(aObjs) { ObjType = dboDepend; }

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
      return As<TFldData>() ? Name : GetQualifiedName();
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
      if (auto* idx = As<TIdxData>(); idx && !idx->TableName.empty())
        key = idx->TableName + "." + Name;
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

void TDbObj::CreateDependDef() {
  CreateDependencies();
  const TServerType st = GetServerType();
  TCustomSQLExec* exec = GetSQLExec();
  if (st == srvPostgreSQL && exec) exec->SetCurrentSchema(Schema);
  if (!GetExists()) {
    if (IsProcedure()) {
      Append(this, GetCreateScript(), skProcedure, Name, dboProcedure, saCreate);
    } else if (IsTrigger()) {
      Append(this, GetCreateScript(), skTrigger, Name, dboTrigger, saCreate);
      if (auto* trg = As<TTrgData>()) trg->CreatedBody = Body;
      for (auto& r : UseInList) r->Pending = false;
    } else {
      TFldData* col = AsColumn(this);
      Append(this, GetCreateScript(), skStatement, GetQualifiedName(), ObjType, saCreate,
             col ? col->TableName : std::string());
      SetExists(true);
    }
    if (GetCompareObjects().Contains(coDescription) && exec) {
      if (AsColumn(this)) {
        if (!Description.empty()) exec->AddDescription(this);
      } else if (auto* prc = As<TPrcData>()) {
        if (!Description.empty()) exec->AddDescription(this);
        for (auto& e : prc->Params)
          if (e.Obj && !e.Obj->Description.empty()) exec->AddDescription(e.Obj.get());
        for (auto& e : prc->Results)
          if (e.Obj && !e.Obj->Description.empty()) exec->AddDescription(e.Obj.get());
      }
    }
    SetExists(true);
  }
  MarkCreated();
}

void TDbObj::DropDependDef() {
  if (!GetExists()) return;
  if (TObjs* master = MasterObjs(Objs)) {
    if (IsTable() && master->TblList.Contains(Name)) return;
    if (ObjType == dboGenerator && master->GnrList.Contains(Name)) return;
  }
  DropDependents();
  if (GetExists()) {
    if (auto* tbl = As<TTblData>()) {
      for (auto& e : tbl->Fields)
        if (e.Obj) e.Obj->SetExists(false);
    } else if (auto* viw = As<TViwData>()) {
      for (auto& e : viw->Columns)
        if (e.Obj) e.Obj->SetExists(false);
    }
    const std::string name = Name.empty() && As<TCtrData>() ? AutoName : Name;
    TFldData* col = AsColumn(this);
    Append(this, GetDropSQL(), skStatement, name, ObjType, saDrop,
           col ? col->TableName : std::string());
    SetExists(false);
  }
  MarkDropped();
}

void TDbObj::DropDependents() {
  TFldData* self = AsColumn(this);
  // Index walk: dropping a user may record further dependencies on this object.
  for (size_t i = 0; i < UseInList.size(); ++i) {
    TDependObj* r = UseInList[i].get();
    TDbObj* u = r->Obj;
    if (self && r->Name == self->TableName) r->Pending = false;
    if (!u) {
      r->Pending = false;
      continue;
    }
    if (u->IsView() && u->GetExists()) r->Pending = true;  // a view is always handled again
    if (!u->GetExists()) r->Pending = false;
    if (!r->Pending) continue;

    TFldData* ucol = AsColumn(u);
    if (auto* prc = u->As<TPrcData>()) {
      if (u->GetServerType() != srvASE && !SameBody(prc->Body, prc->GetStubBody()))
        prc->EmptyBody(true);
    } else if (IsView() && ucol && ucol->IsComputed()) {
      u->DropDependDef();
    } else if (u->IsView()) {
      u->DropDependDef();
      u->SetExists(false);
    } else if (auto* trg = u->As<TTrgData>()) {
      const TServerType st = u->GetServerType();
      if (st == srvPostgreSQL || st == srvASE) {
        u->DropDependDef();
      } else if (!SameBody(trg->Body, trg->GetStubBody())) {
        trg->SetBody(trg->GetStubBody());
        Append(u, u->GetAlterSQL(), skTrigger, u->Name, dboTrigger, saEmptyBody);
      }
    } else if (u->IsGrant()) {
      u->SetExists(false);
    } else {
      continue;  // other users are left for their own phases
    }
    r->Pending = false;
  }

  if (auto* prc = As<TPrcData>()) {
    const std::string stub = prc->GetStubBody();
    if (!SameBody(Body, stub)) {
      SetBody(stub);
      for (auto& r : UseOfList) r->Pending = false;
    }
    for (size_t i = 0; i < UseInList.size(); ++i) {
      TDependObj* r = UseInList[i].get();
      if (!r->Pending || !r->Obj || !r->Obj->GetExists()) continue;
      if (!r->Obj->As<TFldData>()) r->Obj->DropDependDef();
      r->Pending = false;
    }
  }
}

void TDbObj::MarkDropped() { SetExists(false); }

void TDbObj::CreateDependencies() {
  TFldData* self = AsColumn(this);
  if (self)
    for (auto& r : UseOfList)
      if (r->Obj && r->Obj->Name == self->TableName) r->Pending = false;

  for (size_t i = 0; i < UseOfList.size(); ++i) {
    TDependObj* r = UseOfList[i].get();
    TDbObj* u = r->Obj;
    if (!r->Pending || !u) continue;

    // Tables this object needs.
    if (u->IsTable()) {
      auto* tbl = u->As<TTblData>();
      if (tbl && self && self->IsComputed()) {
        // A computed column needs its table without the other computed columns,
        // unless it uses one of them itself.
        bool usesComputed = false;
        for (auto& d : UseOfList) {
          TFldData* c = AsColumn(d->Obj);
          if (c && c->IsComputed() && (c->Owner == tbl || c->TableName == tbl->Name))
            usesComputed = true;
        }
        const bool saved = tbl->ComputedPass;
        tbl->ComputedPass = !usesComputed;
        tbl->CreateDependDef();
        tbl->ComputedPass = saved;
      } else if (!IsTable() || u->Name != Name) {
        u->CreateDependDef();
      }
      r->Pending = false;
    }
    if (!r->Pending || u->GetExists()) continue;

    TFldData* ucol = AsColumn(u);
    // A table's own column comes with the table. Tested before the general
    // column case so a table never adds its own column ahead of its CREATE.
    if (ucol && IsTable() && ucol->TableName == Name) {
      r->Pending = false;
      continue;
    }
    if (ucol && ucol->GetOwnerTable()) {  // a missing column of another table
      if (!u->GetExists()) u->CreateDependDef();
      r->Pending = false;
      continue;
    }
    if (IsTrigger() && u->IsView()) u->CreateDependDef();  // a trigger's missing view
    if (!r->Pending || u->GetExists()) continue;
    if (auto* prc = u->As<TPrcData>()) {  // a missing procedure: created, or a stub for now
      TObjs* target = TargetObjs(Objs);
      if (!target || !target->PrcList.Contains(u->Name)) {
        const TServerType st = u->GetServerType();
        if (st == srvPostgreSQL || st == srvASE || (st == srvMSSQL && prc->IsTableFunction())) {
          u->CreateDependDef();
        } else {
          Append(u, prc->GetStubCreateSQL(), skProcedure, u->Name, dboProcedure, saCreateEmpty);
          prc->SetNeedsRestore(true);
          u->SetExists(true);
        }
        r->Pending = false;
      }
      continue;
    }
    if (u->IsView()) {  // a missing view
      if (!IsView() || u->Name != Name) u->CreateDependDef();
      r->Pending = false;
    }
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
    case dboField: {
      auto* col = As<TFldData>();
      return sql + "ALTER TABLE " + QuoteName(col ? col->TableName : std::string()) + " DROP " +
             QuoteName(Name);
    }
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

// What a description statement needs to know about the object.
struct TDescTarget {
  TDbObj* Obj;
  TFldData* Column = nullptr;   // a table or view column
  TFldData* Param = nullptr;    // a procedure parameter
  TDbObj* ColumnOwner = nullptr;
  bool ViewColumn = false;
  TPrcData* ParamProc = nullptr;
  std::string TableName;        // TBL: the column's table or view
  std::string ProcName;         // PRC: the parameter's procedure

  explicit TDescTarget(TDbObj* o) : Obj(o) {
    if (auto* f = o->As<TFldData>()) {
      if (o->ObjType == dboParam) {
        Param = f;
        ParamProc = f->Owner ? f->Owner->As<TPrcData>() : nullptr;
        ProcName = ParamProc ? ParamProc->Name : f->TableName;
      } else if (o->ObjType == dboField) {
        Column = f;
        ColumnOwner = f->Owner;
        ViewColumn = f->Owner && f->Owner->IsView();
        TableName = f->TableName.empty() && f->Owner ? f->Owner->Name : f->TableName;
      }
    }
  }
  bool IsFunction() const {
    auto* p = Obj->As<TPrcData>();
    return p && p->IsFunction;
  }
};

// Keyword of the COMMENT ON / DESCRIBE / ALTER DESCRIPTION statements of
// InterBase/Firebird by kind; empty for kinds those statements do not know.
const char* IBKindKeyword(const TDescTarget& t, bool forComment) {
  switch (t.Obj->ObjType) {
    case dboDomain: return "DOMAIN";
    case dboTable: return "TABLE";
    case dboView: return "VIEW";
    case dboProcedure: return forComment && t.IsFunction() ? "FUNCTION" : "PROCEDURE";
    case dboTrigger: return "TRIGGER";
    case dboException: return "EXCEPTION";
    case dboIndex: return "INDEX";
    case dboFunction: return forComment ? "EXTERNAL FUNCTION" : "FUNCTION";
    case dboGenerator: return "GENERATOR";
    case dboRole: return "ROLE";
    default: return "";
  }
}

std::string IBDescription(TDbObj* o, const TDescTarget& t) {
  const std::string N = o->GetName();
  const std::string D = QuoteLiteral(o->Description, srvInterBase);
  auto Q = [o](const std::string& s) { return o->QuoteName(s); };
  auto L = [](const std::string& s) { return QuoteLiteral(s, srvInterBase); };
  TIBServerOptions* opts = o->GetServerOptions();
  const TUpdateDescriptionType mode =
      opts ? opts->IBCompareOptions->UpdateDescriptionMode : udSysTables;

  std::string sql;
  switch (mode) {
    case udSysTables: {
      const char* relation = nullptr;
      const char* field = nullptr;
      switch (o->ObjType) {
        case dboDomain: relation = "RDB$FIELDS"; field = "RDB$FIELD_NAME"; break;
        case dboTable:
        case dboView: relation = "RDB$RELATIONS"; field = "RDB$RELATION_NAME"; break;
        case dboProcedure: relation = "RDB$PROCEDURES"; field = "RDB$PROCEDURE_NAME"; break;
        case dboTrigger: relation = "RDB$TRIGGERS"; field = "RDB$TRIGGER_NAME"; break;
        case dboException: relation = "RDB$EXCEPTIONS"; field = "RDB$EXCEPTION_NAME"; break;
        case dboIndex: relation = "RDB$INDICES"; field = "RDB$INDEX_NAME"; break;
        case dboFunction: relation = "RDB$FUNCTIONS"; field = "RDB$FUNCTION_NAME"; break;
        case dboGenerator: relation = "RDB$GENERATORS"; field = "RDB$GENERATOR_NAME"; break;
        case dboRole: relation = "RDB$ROLES"; field = "RDB$ROLE_NAME"; break;
        default: break;
      }
      if (t.Column) {
        sql = "UPDATE RDB$RELATION_FIELDS SET RDB$DESCRIPTION = \r\n" + D +
              "\r\nWHERE RDB$RELATION_NAME = " + L(t.TableName) + " AND RDB$FIELD_NAME = " + L(N);
      } else if (t.Param) {
        sql = "UPDATE RDB$PROCEDURE_PARAMETERS SET RDB$DESCRIPTION = \r\n" + D +
              "\r\nWHERE RDB$PROCEDURE_NAME = " + L(t.ProcName) + " AND RDB$PARAMETER_NAME = " +
              L(N);
      } else if (relation) {
        sql = std::string("UPDATE ") + relation + " SET RDB$DESCRIPTION = \r\n" + D + "\r\nWHERE " +
              field + " = " + L(N);
      } else {
        sql = o->MakeComment(o->Description);
      }
      break;
    }
    case udDescribe: {
      if (t.Column) {
        sql = "DESCRIBE FIELD " + Q(N) + (t.ViewColumn ? " VIEW " : " TABLE ") + Q(t.TableName) +
              "\r\n" + D;
      } else if (t.Param) {
        sql = "DESCRIBE PARAMETER " + Q(N) + " PROCEDURE " + Q(t.ProcName) + "\r\n" + D;
      } else if (*IBKindKeyword(t, false)) {
        sql = std::string("DESCRIBE ") + IBKindKeyword(t, false) + " " + Q(N) + "\r\n" + D;
      }
      break;
    }
    case udComment: {
      if (t.Column) {
        sql = "COMMENT ON COLUMN " + Q(t.TableName) + "." + Q(N) + " IS\r\n" + D;
      } else if (t.Param) {
        sql = "COMMENT ON PARAMETER " + Q(t.ProcName) + "." + Q(N) + " IS\r\n" + D;
      } else if (o->ObjType == dboCollation) {
        sql = "COMMENT ON COLLATION " + Q(N) + " IS\r\n" + D;
      } else if (*IBKindKeyword(t, true)) {
        sql = std::string("COMMENT ON ") + IBKindKeyword(t, true) + " " + Q(N) + " IS\r\n" + D;
      }
      break;
    }
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
    } else if (*IBKindKeyword(t, true)) {
      sql = std::string("ALTER DESCRIPTION FOR ") + IBKindKeyword(t, true) + " " + Q(N) +
            " SET\r\n" + D;
    }
  }
  return sql;
}

std::string ASADescription(TDbObj* o, const TDescTarget& t) {
  const std::string N = o->GetName();
  auto Q = [o](const std::string& s) { return o->QuoteName(s); };
  if (t.Column && !t.Column->TableName.empty())
    return "COMMENT ON COLUMN " + Q(t.Column->TableName) + "." + Q(N) + " IS\r\n" +
           QuoteLiteral(o->Description, srvASA);
  const char* kw = "";
  switch (o->ObjType) {
    case dboTable: kw = "TABLE"; break;
    case dboProcedure: kw = t.IsFunction() ? "FUNCTION" : "PROCEDURE"; break;
    case dboTrigger: kw = "TRIGGER"; break;
    case dboIndex: kw = "INDEX"; break;
    case dboDomain: kw = "DOMAIN"; break;
    case dboView: kw = "VIEW"; break;
    case dboGenerator: kw = "SEQUENCE"; break;
    case dboRole: kw = "ROLE"; break;
    case dboPackage: kw = "PACKAGE"; break;
    default: return std::string();
  }
  return std::string("COMMENT ON ") + kw + " " + Q(N) + " IS\r\n" +
         QuoteLiteral(o->Description, srvASA);
}

std::string MySQLDescription(TDbObj* o, const TDescTarget& t) {
  const std::string L = QuoteLiteral(o->Description, srvMySQL);
  if (o->ObjType == dboTable) return "ALTER TABLE " + o->QuoteName(o->GetName()) + " COMMENT = " + L;
  // The column definition starts with the column's own (quoted) name.
  if (t.Column)
    return "ALTER TABLE " + o->QuoteName(t.TableName) + " MODIFY COLUMN " + o->GetCreateSQL() +
           " COMMENT " + L;
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
  if (auto* trg = o->As<TTrgData>(); trg && !trg->TableName.empty()) {
    std::string tbl = trg->Table && !trg->Table->Schema.empty()
                          ? Q(trg->Table->Schema) + "." + Q(trg->Table->Name)
                          : Q(trg->TableName);
    return "COMMENT ON TRIGGER " + tbl + "." + Q(N) + " IS\r\n" + L;
  }
  const char* kw = "";
  switch (o->ObjType) {
    case dboTable: kw = "TABLE"; break;
    case dboProcedure: kw = t.IsFunction() ? "FUNCTION" : "PROCEDURE"; break;
    case dboIndex: kw = "INDEX"; break;
    case dboDomain: kw = "TYPE"; break;
    case dboView: kw = "VIEW"; break;
    case dboGenerator: kw = "SEQUENCE"; break;
    case dboRole: kw = "ROLE"; break;
    case dboPackage: kw = "PACKAGE"; break;
    default: return "/* COMMENT ON... */";
  }
  return std::string("COMMENT ON ") + kw + " " + o->GetQualifiedName() + " IS\r\n" + L;
}

std::string MSSQLDescription(TDbObj* o, const TDescTarget& t) {
  TObjs* objs = EffectiveObjs(o->Objs);
  if (!objs || !objs->MSSQLServerOptions) return std::string();
  if (objs->MSSQLServerOptions->SQLServerVersion == st_MSSQL2000) return std::string();

  const std::string& N = o->Name;
  std::string type0, name0, type1, name1, type2, name2;
  auto routineKind = [](TDbObj* p) {
    auto* prc = p ? p->As<TPrcData>() : nullptr;
    return prc && prc->IsFunction ? "FUNCTION" : "PROCEDURE";
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
      case dboDomain: {
        auto* dmn = o->As<TDmnData>();
        type0 = "SCHEMA", name0 = o->Schema;
        type1 = dmn && dmn->TypeText == "XML SCHEMA COLLECTION" ? "XML SCHEMA COLLECTION" : "TYPE";
        name1 = N;
        break;
      }
      case dboTable:
        type0 = "SCHEMA", name0 = o->Schema, type1 = "TABLE", name1 = N;
        break;
      case dboView:
        type0 = "SCHEMA", name0 = o->Schema, type1 = "VIEW", name1 = N;
        break;
      case dboProcedure:
        type0 = "SCHEMA", name0 = o->Schema, type1 = routineKind(o), name1 = N;
        break;
      case dboTrigger: {
        auto* trg = o->As<TTrgData>();
        if (!o->Schema.empty()) {
          type0 = "SCHEMA", name0 = o->Schema;
          type1 = "TABLE", name1 = trg ? trg->TableName : std::string();
          type2 = "TRIGGER", name2 = N;
        } else {
          type0 = "TRIGGER", name0 = N;
        }
        break;
      }
      case dboIndex: {
        auto* idx = o->As<TIdxData>();
        const std::string table = idx ? idx->TableName : std::string();
        type0 = "SCHEMA", name0 = o->Schema;
        type1 = o->Objs && o->Objs->FindView(QualifyName(o->Schema, table)) ? "VIEW" : "TABLE";
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
  } else if (auto* ctr = o->As<TCtrData>()) {
    kw = "CONSTRAINT";
    target = Q(N) + " ON " + schemaPrefix(o->Schema) + Q(ctr->TableName);
  } else if (auto* prc = o->As<TPrcData>()) {
    kw = "FUNCTION";
    target = schemaPrefix(o->Schema) + Q(N) + prc->GetParamsSQL(false);
  } else if (auto* trg = o->As<TTrgData>()) {
    kw = "TRIGGER";
    target = Q(N) + " ON " + schemaPrefix(trg->Table ? trg->Table->Schema : std::string()) +
             Q(trg->TableName);
  } else {
    switch (o->ObjType) {
      case dboDomain: kw = "DOMAIN"; break;
      case dboTable: kw = "TABLE"; break;
      case dboView: kw = "VIEW"; break;
      case dboIndex: kw = "INDEX"; break;
      case dboGenerator: kw = "SEQUENCE"; break;
      case dboSchema: kw = "SCHEMA"; break;
      case dboRole: kw = "ROLE"; break;
      default: return std::string();
    }
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
  if (As<TFldData>() || Schema.empty()) return QuoteName(Name);
  return QuoteName(Schema) + "." + QuoteName(Name);
}

bool TDbObj::DetectAutoName() {
  auto* ctr = As<TCtrData>();
  if (!ctr) return false;
  const char* prefix = nullptr;
  switch (ctr->ConstraintType) {
    case ctPrimaryKey: prefix = "PK__"; break;
    case ctUnique: prefix = "UQ__"; break;
    case ctForeignKey: prefix = "FK__"; break;
    case ctDefault: prefix = "DF__"; break;
    default: return false;
  }
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
    if (TFldData* col = FindColumnOf(used, fieldName))
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
    if (TFldData* col = FindColumnOf(used, field)) {
      used = col;
      field.clear();
    } else if (user->IsTable() && (used->As<TCtrData>() || used->ObjType == dboDomain)) {
      AddDependencyOnce(container, user, used, std::string(), column, line);
      if (TFldData* own = FindColumnOf(user, field)) {
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
