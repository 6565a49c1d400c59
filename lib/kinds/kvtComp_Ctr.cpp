#include "kinds/kvtComp_Ctr.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

#include "core/kvtCompareContext.h"
#include "core/kvtDBOptions.h"
#include "core/kvtDBStructure.h"
#include "kinds/kvtCompColumn.h"
#include "kinds/kvtComp_Tbl.h"
#include "kinds/kvtPhaseHeader.h"
#include "script/kvtSQL_Exec.h"

namespace {

// MS SQL folds identifiers to upper case unless its compare options keep case.
std::string IdentifierCase(const TDbObj& o, const std::string& value) {
  const bool upper = o.GetServerType() == srvMSSQL && o.Objs && o.Objs->MSSQLServerOptions &&
                     !o.Objs->MSSQLServerOptions->MSSQLCompareOptions->CaseSensitiveIdentifiers;
  return upper ? UpperAscii(value) : value;
}

const char* ActionWord(uint8_t action) {
  switch (action) {
    case raRestrict:
      return "RESTRICT";
    case raCascade:
      return "CASCADE";
    case raSetDefault:
      return "SET DEFAULT";
    case raSetNull:
      return "SET NULL";
    default:
      return nullptr;
  }
}

// Names compare as the container's constraint list does (case-insensitively
// for SQL Anywhere, MS SQL and ASE).
bool SameName(const TObjs* objs, const std::string& a, const std::string& b) {
  return objs && !objs->CtrList.CaseSensitive() ? SameTextAscii(a, b) : a == b;
}

// Whether two column lists name the same columns, in any order.
bool SameColumnSet(const TObjs* objs, const TNamedObjList<TFldData>& a,
                   const TNamedObjList<TFldData>& b) {
  if (a.Count() != b.Count()) return false;
  for (int i = 0; i < a.Count(); ++i) {
    bool found = false;
    for (int j = 0; j < b.Count() && !found; ++j) found = SameName(objs, a.Names(i), b.Names(j));
    if (!found) return false;
  }
  return true;
}

// Whether `key` (a list of columns) has `lead` as its leading columns.
bool LeadsWith(const TNamedObjList<TFldData>& key, const TNamedObjList<TFldData>& lead) {
  if (lead.Empty() || lead.Count() > key.Count()) return false;
  for (int i = 0; i < lead.Count(); ++i)
    if (!SameTextAscii(key.Names(i), lead.Names(i))) return false;  // MySQL column names
  return true;
}

// The references of one container by the name of the table they point at,
// rebuilt when the constraint list changes.
struct TReferenceIndex : TListCache {
  uint64_t Version = ~uint64_t{0};
  std::unordered_map<std::string, std::vector<TCtrData*>> ByTable;
};

const std::vector<TCtrData*>& ReferencesTo(const TObjs& objs, const std::string& table) {
  static const std::vector<TCtrData*> kNone;
  TReferenceIndex& index = objs.ListCache<TReferenceIndex>(olCtr);
  const TObjList& list = objs.CtrList;
  auto keyOf = [&list](const std::string& name) {
    return list.CaseSensitive() ? name : UpperAscii(name);
  };
  if (index.Version != list.Version()) {
    index.ByTable.clear();
    for (const auto& e : list)
      if (auto* c = e.Obj->As<TCtrData>(); c && c->IsReference())
        index.ByTable[keyOf(c->RefTableName)].push_back(c);
    index.Version = list.Version();
  }
  auto it = index.ByTable.find(keyOf(table));
  return it == index.ByTable.end() ? kNone : it->second;
}

// Removes the CR of every CR LF: the server keeps a text as its client sent it.
std::string WithoutCR(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text)
    if (c != '\r') out += c;
  return out;
}

// A Firebird string literal of `text`; line feeds are written as
// ASCII_CHAR(10) so that the literal stays on one line of the script.
std::string FirebirdLiteral(const std::string& text) {
  std::string out = "'";
  for (char c : WithoutCR(text)) {
    if (c == '\n') {
      out += "' || ASCII_CHAR(10) || '";
      continue;
    }
    out += c;
    if (c == '\'') out += '\'';
  }
  return out + "'";
}

// The Firebird block that looks up the name the server gave an unnamed
// constraint (`from` and `where` select RDB$RELATION_CONSTRAINTS RC) and
// drops it.
std::string FirebirdLookupBlock(const std::string& prefix, const std::string& from,
                                const std::string& where) {
  return "EXECUTE BLOCK AS\r\n"
         "DECLARE VARIABLE N VARCHAR(63);\r\n"
         "BEGIN\r\n"
         "  SELECT FIRST 1 RC.RDB$CONSTRAINT_NAME FROM RDB$RELATION_CONSTRAINTS RC" +
         from + "\r\n  WHERE " + where +
         "\r\n  INTO :N;\r\n"
         "  IF (N IS NOT NULL) THEN EXECUTE STATEMENT " +
         QuoteLiteral(prefix + " DROP CONSTRAINT ", srvInterBase) +
         " || TRIM(N);\r\n"
         "END";
}

// The MySQL statements that look up the name the server gave an unnamed key
// and drop it: `query` selects that name as N (one row per candidate);
// without a match nothing happens.
std::string MySQLLookupStatements(const std::string& dropText, const std::string& query) {
  return "SET @kvt_drop = (SELECT COALESCE(MAX(CONCAT(" + QuoteLiteral(dropText + " `", srvMySQL) +
         ", REPLACE(k.N, '`', '``'), '`')), 'DO 0') FROM (" + query +
         ") k);\r\n"
         "PREPARE kvt_drop FROM @kvt_drop;\r\n"
         "EXECUTE kvt_drop;\r\n"
         "DEALLOCATE PREPARE kvt_drop";
}

std::string NameList(const TNamedObjList<TFldData>& list, const char* separator) {
  std::string s;
  for (int i = 0; i < list.Count(); ++i) {
    if (i) s += separator;
    s += list.Names(i);
  }
  return s;
}

// Temporarily sets a flag, restoring it when the scope ends.
class TFlagScope {
 public:
  explicit TFlagScope(bool& flag) : Flag(flag), Saved(flag) { Flag = true; }
  ~TFlagScope() { Flag = Saved; }
  TFlagScope(const TFlagScope&) = delete;
  TFlagScope& operator=(const TFlagScope&) = delete;

 private:
  bool& Flag;
  bool Saved;
};

}  // namespace

TCtrData::TCtrData(TObjs* aObjs)
    : TDbObj(aObjs),
      TableSpace(std::make_unique<TTableSpace>()),
      IndexOptions(std::make_unique<TIndexOptions>()) {
  ObjType = dboConstraint;
}

TCtrData::~TCtrData() = default;

void TCtrData::SetConstraintType(uint8_t value) {
  ConstraintType = value;
  switch (value) {
    case ctPrimaryKey:
      ObjType = dboPKey;
      break;
    case ctUnique:
      ObjType = dboUnique;
      break;
    case ctForeignKey:
      ObjType = dboFKey;
      break;
    case ctCheck:
      ObjType = dboCheck;
      break;
    case ctDefault:
      ObjType = dboDefault;
      break;
    case ctReferences:
      ObjType = dboReferences;
      break;
    default:
      break;
  }
}

const char* TCtrData::GetAutoNamePrefix() const {
  switch (ConstraintType) {
    case ctPrimaryKey:
      return "PK__";
    case ctUnique:
      return "UQ__";
    case ctForeignKey:
      return "FK__";
    case ctDefault:
      return "DF__";
    default:
      return "";
  }
}

void TCtrData::AddedToList(const std::string& /*key*/) {
  AddOrder = Objs ? Objs->CtrList.Count() : 0;
}

TCtrData* TCustomObjs::FindConstraint(const std::string& key) const {
  return FindIn<TCtrData>(CtrList, key);
}

void TCtrData::SetTableName(const std::string& value) { TableName = IdentifierCase(*this, value); }

void TCtrData::SetRefTableName(const std::string& value) {
  RefTableName = IdentifierCase(*this, value);
}

void TCtrData::SetRefSchema(const std::string& value) { RefSchema = IdentifierCase(*this, value); }

std::string TCtrData::GetColumnList() {
  std::string list;
  for (const auto& e : Fields) {
    if (!list.empty()) list += ", ";
    list += QuoteName(e.Name);
  }
  return list;
}

std::string TCtrData::GetRefColumnList() {
  std::string list;
  for (const auto& e : RefFields) {
    if (!list.empty()) list += ", ";
    list += QuoteName(e.Name);
  }
  return list;
}

// ---------------------------------------------------------------------------
// Texts

std::string TCtrData::GetDisplayName() {
  if (!Name.empty()) return Name;
  return AutoName.empty() ? GetCreateSQL() : AutoName;
}

std::string TCtrData::GetListKey() {
  if (!Name.empty())
    return GetServerType() == srvMySQL ? TableName + "." + Name : TDbObj::GetListKey();
  const TFlagScope scope(RenderingKey);
  return GetCreateSQL();
}

std::string TCtrData::QuoteName(const std::string& name) {
  if (RenderingKey && GetServerType() == srvInterBase) return name;
  return TDbObj::QuoteName(name);
}

std::string TCtrData::GetIndexClause() {
  if (IndexName.empty()) return std::string();
  switch (GetServerType()) {
    case srvInterBase:
      return std::string(DescIndex ? "\r\nUSING DESC INDEX " : "\r\nUSING INDEX ") +
             QuoteName(IndexName);
    case srvMySQL:
      return std::string();  // the unique key name is written before the columns
    default:
      return " " + IndexName;
  }
}

std::string TCtrData::GetForeignKeyText() {
  const TServerType st = GetServerType();
  std::string s = "FOREIGN KEY ";
  bool actions = true;
  switch (st) {
    case srvInterBase:
      // Databases of on-disk structure 8 and older know no referential
      // actions. The key of an unnamed constraint keeps them: it must not
      // depend on the database it is compared with.
      if (Objs && !RenderingKey) {
        const int ods = Objs->GetTargetODSMajor();
        actions = ods == 0 || ods > 8;
      }
      s += "(" + GetColumnList() + ") REFERENCES " + QuoteName(RefTableName);
      break;
    case srvASA:
      if (!RoleName.empty()) s += QuoteName(RoleName) + " ";
      s += "(" + GetColumnList() + ") REFERENCES ";
      if (!RefTableOwner.empty()) s += QuoteName(RefTableOwner) + ".";
      s += QuoteName(RefTableName);
      break;
    case srvOracle:
    case srvMSSQL:
    case srvPostgreSQL: {
      const std::string& schema = st == srvMSSQL ? RefSchema : GetRefSchema();
      s += "(" + GetColumnList() + ") REFERENCES ";
      if (!schema.empty()) s += QuoteName(schema) + ".";
      s += QuoteName(RefTableName);
      break;
    }
    default:
      s += "(" + GetColumnList() + ") REFERENCES " + QuoteName(RefTableName);
      break;
  }
  if (!RefFields.Empty()) s += " (" + GetRefColumnList() + ")";
  if (st == srvPostgreSQL) {
    if (MatchType == mtFull) s += " MATCH FULL";
    if (MatchType == mtPartial) s += " MATCH PARTIAL";
  }
  if (actions) {
    if (const char* w = ActionWord(OnUpdate)) s += std::string(" ON UPDATE ") + w;
    if (const char* w = ActionWord(OnDelete)) s += std::string(" ON DELETE ") + w;
  }
  if (NotForReplication) s += " NOT FOR REPLICATION";
  s += GetIndexClause();
  if (CheckOnCommit) s += " CHECK ON COMMIT";
  return s;
}

std::string TCtrData::GetInlineSQL(bool single) {
  const TServerType st = GetServerType();
  std::string s;
  if (!Name.empty()) s = "CONSTRAINT " + QuoteName(Name) + " ";
  switch (ConstraintType) {
    case ctForeignKey:
      s += GetForeignKeyText();
      break;
    case ctCheck:
      // Firebird keeps a condition's text as the script writes it, and its
      // extract shows it: "CHECK (" as a script is commonly written.
      s += "CHECK";
      if (NotForReplication) s += " NOT FOR REPLICATION";
      s += " " + Body;
      break;
    case ctPrimaryKey:
      s += "PRIMARY KEY ";
      if (st == srvASA && Clustered) s += "CLUSTERED ";
      if (st == srvMSSQL && !Clustered) s += "NONCLUSTERED ";
      s += "(" + GetColumnList() + ")" + GetIndexClause();
      break;
    case ctUnique:
      s += "UNIQUE ";
      if (st == srvMSSQL && Clustered) s += "CLUSTERED ";
      if (st == srvMySQL && !IndexName.empty()) s += QuoteName(IndexName) + " ";
      s += "(" + GetColumnList() + ")" + GetIndexClause();
      break;
    case ctReferences:
      // The column form names no column of its own; once the column is known
      // it is a foreign key, which is what ALTER TABLE ... ADD can write.
      if (!Fields.Empty()) {
        s += GetForeignKeyText();
        break;
      }
      s += "REFERENCES " + QuoteName(RefTableName);
      if (!RefFields.Empty()) s += "(" + GetRefColumnList() + ")";
      break;
    default:
      break;
  }
  if (DeferrableInitiallyDeferred) s += "\r\nDEFERRABLE INITIALLY DEFERRED";
  if ((st == srvMSSQL || st == srvASE) && ConstraintType == ctDefault) {
    s += "DEFAULT " + Body;
    // A default written right after its one column needs no FOR clause.
    if (!Fields.Empty() && !(single && Fields.Count() == 1)) s += " FOR " + GetColumnList();
  }
  if (st == srvPostgreSQL) {
    if (Deferrable) s += " DEFERRABLE";
    if (InitiallyDeferred) s += " INITIALLY DEFERRED";
  }
  if (TableSpace) {
    const std::string storage = GetStorageClause(*TableSpace);
    if (!storage.empty()) s += "\r\n" + storage;
  }
  return s;
}

std::string TCtrData::GetAlterTablePrefix() {
  std::string s = "ALTER TABLE ";
  switch (GetServerType()) {
    case srvASA:
      if (!Owner.empty()) s += QuoteName(Owner) + ".";
      break;
    case srvOracle:
    case srvMSSQL:
    case srvPostgreSQL:
      if (!Schema.empty()) s += QuoteName(Schema) + ".";
      break;
    default:
      break;
  }
  return s + QuoteName(TableName);
}

std::string TCtrData::GetCreateSQL() {
  const std::string prefix = GetAlterTablePrefix();
  if (ConstraintType == ctNotNull) {
    std::string s =
        prefix + " MODIFY (" + QuoteName(Fields.Empty() ? std::string() : Fields.Names(0));
    if (!Name.empty()) s += " CONSTRAINT " + QuoteName(Name);
    return s + " NOT NULL)";
  }
  return prefix + " ADD " + GetInlineSQL(false);
}

bool TCtrData::DropsByExecuteBlock() {
  if (!Name.empty() || !AutoName.empty() || GetServerType() != srvInterBase) return false;
  if (ConstraintType != ctPrimaryKey && ConstraintType != ctUnique && !IsReference() &&
      ConstraintType != ctCheck)
    return false;
  TIBServerOptions* opts = GetServerOptions();
  switch (opts ? opts->SQLServerVersion : st_Firebird_25) {
    case st_Firebird_20:
      // EXECUTE BLOCK came with Firebird 2.0; the text functions that find
      // a CHECK by its condition (REPLACE, ASCII_CHAR) with 2.1.
      return ConstraintType != ctCheck;
    case st_Firebird_21:
    case st_Firebird_25:
    case st_Firebird_30:
    case st_Firebird_40:
      return true;
    default:
      return false;
  }
}

std::string TCtrData::GetLookupDropSQL(const std::string& prefix) {
  switch (GetServerType()) {
    case srvInterBase: {
      if (!DropsByExecuteBlock()) return std::string();
      const std::string table = FirebirdLiteral(TableName);
      std::string from;
      std::string where = "RC.RDB$RELATION_NAME = " + table + " AND RC.RDB$CONSTRAINT_TYPE = ";
      if (ConstraintType == ctCheck) {
        // A CHECK is found by its condition, which the server keeps as
        // written after the word CHECK.
        from =
            "\r\n  JOIN RDB$CHECK_CONSTRAINTS CC ON CC.RDB$CONSTRAINT_NAME = RC.RDB$CONSTRAINT_NAME"
            "\r\n  JOIN RDB$TRIGGERS TR ON TR.RDB$TRIGGER_NAME = CC.RDB$TRIGGER_NAME";
        where +=
            "'CHECK'"
            "\r\n    AND UPPER(SUBSTRING(TR.RDB$TRIGGER_SOURCE FROM 1 FOR 5)) = 'CHECK'"
            "\r\n    AND TRIM(REPLACE(SUBSTRING(TR.RDB$TRIGGER_SOURCE FROM 6), ASCII_CHAR(13), "
            "'')) = " +
            FirebirdLiteral(Body);
        return FirebirdLookupBlock(prefix, from, where);
      }
      if (ConstraintType == ctPrimaryKey) {
        where += "'PRIMARY KEY'";  // a table has one
        return FirebirdLookupBlock(prefix, from, where);
      }
      where += IsReference() ? "'FOREIGN KEY'" : "'UNIQUE'";
      if (!IndexName.empty()) {
        where += "\r\n    AND RC.RDB$INDEX_NAME = " + FirebirdLiteral(IndexName);
      } else {
        // The key's index holds exactly its columns, in order.
        where +=
            "\r\n    AND (SELECT COUNT(*) FROM RDB$INDEX_SEGMENTS S WHERE S.RDB$INDEX_NAME = "
            "RC.RDB$INDEX_NAME) = " +
            std::to_string(Fields.Count());
        for (int i = 0; i < Fields.Count(); ++i)
          where +=
              "\r\n    AND EXISTS (SELECT 1 FROM RDB$INDEX_SEGMENTS S WHERE S.RDB$INDEX_NAME = "
              "RC.RDB$INDEX_NAME AND S.RDB$FIELD_POSITION = " +
              std::to_string(i) + " AND S.RDB$FIELD_NAME = " + FirebirdLiteral(Fields.Names(i)) +
              ")";
      }
      if (IsReference())
        where +=
            "\r\n    AND EXISTS (SELECT 1 FROM RDB$REF_CONSTRAINTS F JOIN RDB$RELATION_CONSTRAINTS "
            "P"
            " ON P.RDB$CONSTRAINT_NAME = F.RDB$CONST_NAME_UQ WHERE F.RDB$CONSTRAINT_NAME = "
            "RC.RDB$CONSTRAINT_NAME AND P.RDB$RELATION_NAME = " +
            FirebirdLiteral(RefTableName) + ")";
      return FirebirdLookupBlock(prefix, from, where);
    }
    case srvMySQL: {
      const std::string table = QuoteLiteral(TableName, srvMySQL);
      if (IsReference())
        return MySQLLookupStatements(
            prefix + " DROP FOREIGN KEY",
            "SELECT CONSTRAINT_NAME AS N FROM information_schema.KEY_COLUMN_USAGE WHERE "
            "TABLE_SCHEMA = DATABASE() AND TABLE_NAME = " +
                table + " AND REFERENCED_TABLE_NAME = " + QuoteLiteral(RefTableName, srvMySQL) +
                " GROUP BY CONSTRAINT_NAME HAVING GROUP_CONCAT(COLUMN_NAME ORDER BY "
                "ORDINAL_POSITION) = " +
                QuoteLiteral(NameList(Fields, ","), srvMySQL));
      if (ConstraintType == ctUnique)
        return MySQLLookupStatements(
            prefix + " DROP INDEX",
            "SELECT INDEX_NAME AS N FROM information_schema.STATISTICS WHERE TABLE_SCHEMA = "
            "DATABASE() AND TABLE_NAME = " +
                table +
                " AND NON_UNIQUE = 0 AND INDEX_NAME <> 'PRIMARY' GROUP BY INDEX_NAME HAVING "
                "GROUP_CONCAT(COLUMN_NAME ORDER BY SEQ_IN_INDEX) = " +
                QuoteLiteral(NameList(Fields, ","), srvMySQL));
      return std::string();
    }
    default:
      return std::string();
  }
}

std::string TCtrData::GetDropNote() { return "/* drop constraint: " + GetCreateSQL() + " */"; }

std::string TCtrData::GetDropSQL() {
  const TServerType st = GetServerType();
  const std::string prefix = GetAlterTablePrefix();
  const std::string& name = Name.empty() ? AutoName : Name;
  const std::string note = GetDropNote();
  switch (st) {
    case srvInterBase:
      if (!name.empty()) return prefix + " DROP CONSTRAINT " + QuoteName(name);
      if (DropsByExecuteBlock()) return note + "\r\n" + GetLookupDropSQL(prefix);
      if (ConstraintType == ctPrimaryKey)
        // Servers before Firebird 2.0 have no block to look the name up in.
        return note + "\r\nDelete from Rdb$Relation_Constraints\r\nwhere Rdb$Relation_Name = " +
               QuoteLiteral(TableName, srvInterBase) +
               "\r\nand Rdb$Constraint_Type = " + QuoteLiteral("PRIMARY KEY", srvInterBase);
      return note;
    case srvASA:
      if (!name.empty()) return prefix + " DROP CONSTRAINT " + QuoteName(name);
      switch (ConstraintType) {
        case ctPrimaryKey:
          return note + "\r\n" + prefix + " DROP PRIMARY KEY";
        case ctUnique:
          return note + "\r\n" + prefix + " DROP UNIQUE(" + GetColumnList() + ")";
        case ctForeignKey:
        case ctReferences:
          return note + "\r\n" + prefix + " DROP FOREIGN KEY " +
                 QuoteName(RoleName.empty() ? RefTableName : RoleName);
        case ctCheck:
          return note + "\r\n" + prefix + " DROP CHECK";
        default:
          return note;
      }
    case srvMySQL:
      switch (ConstraintType) {
        case ctPrimaryKey:
          return prefix + " DROP PRIMARY KEY";
        case ctUnique:
          // A unique key is an index named by its key name, else by the
          // constraint name; DROP INDEX works on every server version.
          if (!IndexName.empty() || !Name.empty())
            return prefix + " DROP INDEX " + QuoteName(IndexName.empty() ? Name : IndexName);
          return note + "\r\n" + GetLookupDropSQL(prefix);
        case ctForeignKey:
        case ctReferences:
          if (!Name.empty()) return prefix + " DROP FOREIGN KEY " + QuoteName(Name);
          return note + "\r\n" + GetLookupDropSQL(prefix);
        default:
          if (!Name.empty()) return prefix + " DROP CONSTRAINT " + QuoteName(Name);
          return note;
      }
    default:
      if (!name.empty()) return prefix + " DROP CONSTRAINT " + QuoteName(name);
      return note;
  }
}

void TCtrData::AppendDropStatement(const std::string& name) {
  TCustomSQLExec* exec = GetSQLExec();
  if (!exec) return;
  const std::string sql = GetDropSQL();
  // Only a note: the server would take a statement of nothing but a comment
  // for an empty one.
  if (sql == GetDropNote()) {
    exec->AddComment(sql);
    return;
  }
  if (DropsByExecuteBlock()) {
    // The block runs in the client's own transaction, not in the one that
    // commits each DDL statement: a COMMIT before it lets it see the DDL
    // committed so far (a snapshot begun earlier would conflict with it),
    // and one after it lets the later DDL see its change. The block starts
    // its statement, so that a client script wraps it like any other block.
    auto commit = [exec] {
      const int n = exec->Count();
      const TStatement* last = n ? exec->GetStatement(n - 1) : nullptr;
      if (!last || last->Action != saCommit)
        exec->AddStatement("COMMIT", skStatement, std::string(), dboUnknown, saCommit);
    };
    commit();
    exec->AddComment(GetDropNote());
    exec->AddStatement(GetLookupDropSQL(GetAlterTablePrefix()), skStatement, name, ObjType, saDrop);
    commit();
    return;
  }
  exec->AddStatement(sql, skStatement, name, ObjType, saDrop);
}

// ---------------------------------------------------------------------------
// Dependencies

TCtrData* TCtrData::FindReferencedKey() {
  if (!IsReference() || !Objs) return nullptr;
  TCtrData* found = nullptr;
  for (TDbObj* o : Objs->ObjectsOnTable(olCtr, RefTableName)) {
    auto* key = o->As<TCtrData>();
    if (!key || !key->IsKey() || !SameName(Objs, key->Schema, GetRefSchema())) continue;
    if (RefFields.Empty() ? key->ConstraintType == ctPrimaryKey
                          : SameColumnSet(Objs, key->Fields, RefFields))
      found = key;
    if (found && found->ConstraintType == ctPrimaryKey) break;
  }
  return found;
}

std::vector<TCtrData*> TCtrData::GetReferencingConstraints() {
  std::vector<TCtrData*> out;
  if (!IsKey() || !Objs) return out;
  for (TCtrData* r : ReferencesTo(*Objs, TableName)) {
    if (r == this || !SameName(Objs, r->GetRefSchema(), Schema)) continue;
    if (r->RefFields.Empty() ? ConstraintType == ctPrimaryKey
                             : SameColumnSet(Objs, r->RefFields, Fields))
      out.push_back(r);
  }
  return out;
}

void TCtrData::DropDependents() {
  if (!IsKey()) return;
  TCustomSQLExec* exec = GetSQLExec();
  if (exec && GetServerType() == srvInterBase) exec->AddReconnect();
  for (size_t i = 0; i < UseInList.size(); ++i) {
    TDependObj* r = UseInList[i].get();
    auto* ref = r->Obj ? r->Obj->As<TCtrData>() : nullptr;
    if (ref && ref->IsReference()) ref->DropDependDef();
    if (ref) r->Pending = false;
  }
  // Foreign keys are linked to the referenced table and its columns, not to
  // the key itself: they are found by the table and the columns they name.
  for (TCtrData* ref : GetReferencingConstraints()) ref->DropDependDef();
  if (GetServerType() == srvMySQL) {
    DropReferencesRestingOn(*this, TableName, Fields);
    HoldAutoIncrementOn(*this, TableName, Fields);
  }
}

void TCtrData::CreateDependencies() {
  for (size_t i = 0; i < UseOfList.size(); ++i) {
    TDbObj* u = UseOfList[i]->Obj;
    if (!u || u->GetExists()) continue;
    TDbObj* parent = u->IsColumn() ? u->GetParentObj() : nullptr;
    if (u->IsTable() || (parent && parent->IsTable())) u->CreateDependDef();
  }
  if (TCtrData* key = FindReferencedKey(); key && !key->GetExists()) key->CreateDependDef();
}

bool TCtrData::ReleaseUse(TDbObj& used) {
  if (!used.IsTable() && !used.IsColumn()) return false;
  DropDependDef();
  return true;
}

void DropReferencesToTable(TObjs* objs, TDbObj& table) {
  if (!objs) return;
  // A copy: dropping a reference leaves the list as it is, but a walk must
  // not depend on that.
  const std::vector<TCtrData*> refs = ReferencesTo(*objs, table.Name);
  for (TCtrData* r : refs)
    if (r->GetExists() && SameName(objs, r->GetRefSchema(), table.Schema)) r->DropDependDef();
}

void DropReferencesToUniqueIndex(TDbObj& index, const std::string& table,
                                 const TNamedObjList<TFldData>& columns) {
  TObjs* objs = index.Objs;
  if (!objs || columns.Empty()) return;
  for (TDbObj* o : objs->ObjectsOnTable(olCtr, table)) {
    auto* key = o->As<TCtrData>();
    if (key && key->IsKey() && key->GetExists() && SameName(objs, key->Schema, index.Schema) &&
        SameColumnSet(objs, key->Fields, columns))
      return;
  }
  const std::vector<TCtrData*> refs = ReferencesTo(*objs, table);
  for (TCtrData* r : refs)
    if (r->GetExists() && SameName(objs, r->GetRefSchema(), index.Schema) &&
        SameColumnSet(objs, r->RefFields, columns))
      r->DropDependDef();
}

namespace {
// Whether an existing index or key of `table` other than `index` and `self`
// leads with the columns `lead`.
bool KeyLeadsElsewhere(TObjs& objs, const std::string& table, const TDbObj* index, const TDbObj* self,
                       const TNamedObjList<TFldData>& lead) {
  for (TDbObj* o : objs.ObjectsOnTable(olIdx, table)) {
    auto* other = o->As<TIdxData>();
    if (other && o != index && o->GetExists() && LeadsWith(other->Fields, lead)) return true;
  }
  for (TDbObj* o : objs.ObjectsOnTable(olCtr, table)) {
    auto* other = o->As<TCtrData>();
    if (other && o != index && o != self && other->IsKey() && o->GetExists() &&
        LeadsWith(other->Fields, lead))
      return true;
  }
  return false;
}
}  // namespace

void DropReferencesRestingOn(TDbObj& index, const std::string& table,
                             const TNamedObjList<TFldData>& columns) {
  TObjs* objs = index.Objs;
  if (!objs) return;
  const std::vector<TDbObj*> onTable = objs->ObjectsOnTable(olCtr, table);
  for (TDbObj* o : onTable) {
    auto* ref = o->As<TCtrData>();
    if (!ref || !ref->IsReference() || !ref->GetExists() || !LeadsWith(columns, ref->Fields))
      continue;
    if (!KeyLeadsElsewhere(*objs, table, &index, ref, ref->Fields)) ref->DropDependDef();
  }
}

bool LeadsExistingKey(const TFldData& column, const TDbObj* except) {
  if (!column.Objs) return false;
  TNamedObjList<TFldData> lead;
  auto first = std::make_unique<TFldData>(column.Objs, nullptr);
  first->SetName(column.Name);
  lead.Add(column.Name, std::move(first));
  return KeyLeadsElsewhere(*column.Objs, column.TableName, except, nullptr, lead);
}

void HoldAutoIncrementOn(TDbObj& index, const std::string& table, const TNamedObjList<TFldData>& columns) {
  TObjs* objs = index.Objs;
  TCustomSQLExec* exec = index.GetSQLExec();
  if (!objs || !exec || columns.Empty()) return;
  TTblData* t = objs->FindTable(table);
  TFldData* column = t ? t->FindField(columns.Names(0)) : nullptr;
  if (!column || !column->AutoIncrement || column->AutoIncrementHeld || !column->GetExists()) return;
  if (LeadsExistingKey(*column, &index)) return;
  // The column as it stands now: the target's definition, or the master's
  // once the column phase wrote it.
  TFldData* master = column->Pair ? column->Pair->As<TFldData>() : nullptr;
  TFldData& current = master && column->MasterDefinitionWritten ? *master : *column;
  column->AutoIncrementHeld = true;
  if (master) master->AutoIncrementHeld = true;
  const std::string sql = "ALTER TABLE " + t->QuoteName(t->Name) + " MODIFY COLUMN " + current.GetCreateSQL();
  exec->AddComment(index.MakeComment("AUTO_INCREMENT of " + t->Name + "(" + column->Name +
                                     ") held back while its keys change"));
  exec->AddStatement(sql, skStatement, column->Name, dboField, saAlter, t->Name);
}

bool ReferenceDroppedOn(const TObjs* objs, const std::string& table,
                        const TNamedObjList<TFldData>& columns) {
  if (!objs) return false;
  for (TDbObj* o : objs->ObjectsOnTable(olCtr, table)) {
    auto* ref = o->As<TCtrData>();
    if (ref && ref->IsReference() && !ref->GetExists() && SameColumnSet(objs, ref->Fields, columns))
      return true;
  }
  return false;
}

// ---------------------------------------------------------------------------
// Phases

namespace {

// Whether the run compares constraints of this type.
bool TypeSelected(const TCtrData& c, const TCompareContext& ctx) {
  switch (c.ConstraintType) {
    case ctPrimaryKey:
      return ctx.Compares(coPrimaryKey);
    case ctUnique:
      return ctx.Compares(coUnique);
    case ctForeignKey:
    case ctReferences:
      return ctx.Compares(coForeignKey);
    default:
      return ctx.Compares(coCheck);  // CHECK, DEFAULT, NOT NULL
  }
}

constexpr uint8_t TypeBit(uint8_t type) { return static_cast<uint8_t>(1u << type); }

// One group of the create phases: the constraints of some types, under one
// header, in the order that lets each group rely on the ones before.
struct TCreateGroup {
  TCmpObjType Family;
  bool MSSQLTargetOnly;
  uint8_t Types;  // TypeBit of each constraint type
  const char* Header;
  bool Reconnect;  // tell the statement list before the first creation
};

constexpr TCreateGroup kCreateGroups[] = {
    {coCheck, false, TypeBit(ctNotNull), "/* Create check(not null)... */", false},
    {coCheck, true, TypeBit(ctDefault), "/* Create Default... */", false},
    {coPrimaryKey, false, TypeBit(ctPrimaryKey), "/* Create Primary Key... */", false},
    {coUnique, false, TypeBit(ctUnique), "/* Create Unique... */", false},
    {coForeignKey, false, static_cast<uint8_t>(TypeBit(ctForeignKey) | TypeBit(ctReferences)),
     "/* Create Foreign Key... */", true},
    {coCheck, false, static_cast<uint8_t>(TypeBit(ctCheck) | TypeBit(ctNotNull)),
     "/* Create Check... */", false},
    {coCheck, false, TypeBit(ctDefault), "/* Create Default... */", false},
};

// Creates every master constraint of the types `phaseTypes` that does not
// exist, group by group; one bare line closes the phase's output.
void CreateConstraintGroups(TCompareContext& ctx, uint8_t phaseTypes) {
  bool wrote = false;
  for (const TCreateGroup& g : kCreateGroups) {
    const uint8_t types = g.Types & phaseTypes;
    if (!types || !ctx.Compares(g.Family)) continue;
    if (g.MSSQLTargetOnly && ctx.Target.ServerType != srvMSSQL) continue;
    TPhaseHeader header(ctx.Exec, g.Header);
    std::vector<TCtrData*> group;
    for (const auto& e : ctx.Master.CtrList) {
      auto* c = e.Obj->As<TCtrData>();
      if (c && (types & TypeBit(c->ConstraintType))) group.push_back(c);
    }
    // Firebird names the triggers of an unnamed CHECK, and an unnamed key
    // with its index, by the order of creation, and its extract lists them
    // so: checks, and on Firebird every constraint, keep the script's order.
    if ((types & TypeBit(ctCheck)) || ctx.Target.ServerType == srvInterBase)
      std::stable_sort(group.begin(), group.end(),
                       [](const TCtrData* a, const TCtrData* b) { return a->AddOrder < b->AddOrder; });
    for (TCtrData* c : group) {
      if (c->GetExists()) continue;
      if (!header.IsWritten()) {
        header.Write();
        if (g.Reconnect) ctx.Exec.AddReconnect();
      }
      c->CreateDependDef();
    }
    wrote = wrote || header.IsWritten();
  }
  if (wrote) ctx.Exec.AddComment("\r\n");
}

}  // namespace

void DropConstraints(TCompareContext& ctx) {
  const TObjList& list = ctx.Target.CtrList;
  for (int i = list.Count() - 1; i >= 0; --i) {
    auto* t = list.Objects(i)->As<TCtrData>();
    if (!t || !TypeSelected(*t, ctx) || !t->GetExists()) continue;
    if (t->Pair && t->Pair->GetCreateSQL() == t->GetCreateSQL()) continue;
    // Drops the references to a key first; a dropped constraint with a
    // partner leaves the master one not existing, so it is created again.
    t->DropDependDef();
  }
}

void CreateConstraints(TCompareContext& ctx) {
  CreateConstraintGroups(ctx, static_cast<uint8_t>(~TypeBit(ctDefault)));
}

void CreateDefaultConstraints(TCompareContext& ctx) {
  CreateConstraintGroups(ctx, TypeBit(ctDefault));
}
