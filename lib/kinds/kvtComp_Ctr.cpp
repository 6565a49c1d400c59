#include "kinds/kvtComp_Ctr.h"

#include "core/kvtDBStructure.h"
#include "core/kvtDBOptions.h"
#include "core/kvtDBStructure.h"
#include "kinds/kvtCompColumn.h"

namespace {

// MS SQL folds identifiers to upper case unless its compare options keep case.
std::string IdentifierCase(const TDbObj& o, const std::string& value) {
  const bool upper = o.GetServerType() == srvMSSQL && o.Objs && o.Objs->MSSQLServerOptions &&
                     !o.Objs->MSSQLServerOptions->MSSQLCompareOptions->CaseSensitiveIdentifiers;
  return upper ? UpperAscii(value) : value;
}

const char* ActionWord(uint8_t action) {
  switch (action) {
    case raRestrict: return "RESTRICT";
    case raCascade: return "CASCADE";
    case raSetDefault: return "SET DEFAULT";
    case raSetNull: return "SET NULL";
    default: return nullptr;
  }
}

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
    case ctPrimaryKey: ObjType = dboPKey; break;
    case ctUnique: ObjType = dboUnique; break;
    case ctForeignKey: ObjType = dboFKey; break;
    case ctCheck: ObjType = dboCheck; break;
    case ctDefault: ObjType = dboDefault; break;
    case ctReferences: ObjType = dboReferences; break;
    default: break;
  }
}

const char* TCtrData::GetAutoNamePrefix() const {
  switch (ConstraintType) {
    case ctPrimaryKey: return "PK__";
    case ctUnique: return "UQ__";
    case ctForeignKey: return "FK__";
    case ctDefault: return "DF__";
    default: return "";
  }
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
  if (st == srvASA && !RoleName.empty()) s += QuoteName(RoleName) + " ";
  s += "(" + GetColumnList() + ") REFERENCES ";
  switch (st) {
    case srvASA:
      s += QuoteName(RefTableOwner) + "." + QuoteName(RefTableName);
      break;
    case srvMSSQL:
      if (!RefSchema.empty()) s += QuoteName(RefSchema) + ".";
      s += QuoteName(RefTableName);
      break;
    case srvPostgreSQL:
    case srvOracle:
      s += Schema.empty() ? RefTableName : Schema + "." + RefTableName;
      break;
    default:
      s += QuoteName(RefTableName);
      break;
  }
  if (!RefFields.Empty()) s += " (" + GetRefColumnList() + ")";
  if (st == srvPostgreSQL) {
    if (MatchType == mtFull) s += " MATCH FULL";
    if (MatchType == mtPartial) s += " MATCH PARTIAL";
  }
  // Databases of on-disk structure 8 and older know no referential actions.
  bool actions = true;
  if (st == srvInterBase && Objs) {
    const int ods = Objs->GetTargetODSMajor();
    actions = ods == 0 || ods > 8;
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
      s += "CHECK";
      if (NotForReplication) s += " NOT FOR REPLICATION";
      s += Body;
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
