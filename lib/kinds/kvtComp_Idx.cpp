#include "kinds/kvtComp_Idx.h"

#include <algorithm>
#include <limits>
#include <vector>

#include "core/kvtCompareContext.h"
#include "core/kvtDBStructure.h"
#include "kinds/kvtCompColumn.h"
#include "kinds/kvtComp_Ctr.h"
#include "kinds/kvtPhaseHeader.h"
#include "script/kvtSQL_Exec.h"

TIdxData* TCustomObjs::FindIndex(const std::string& key) const {
  return FindIn<TIdxData>(IdxList, key);
}

TIdxData::TIdxData(TObjs* aObjs)
    : TDbObj(aObjs),
      TableSpace(std::make_unique<TTableSpace>()),
      MSSQLOptions(std::make_unique<TIndexOptions>()),
      MySQLOptions(std::make_unique<TIndexOptions>()),
      FullTextOptions(std::make_unique<TFullTextIndexOptions>()) {
  ObjType = dboIndex;
}

TIdxData::~TIdxData() = default;

std::string TIdxData::GetColumnList() {
  const bool mySQL = GetServerType() == srvMySQL;
  std::string list;
  for (const auto& e : Fields) {
    if (!list.empty()) list += ", ";
    list += QuoteName(e.Name);
    const TFldData* f = e.Obj.get();
    if (!f) continue;
    // MySQL takes the prefix length right after the name and the direction
    // after it: "c(10) DESC"; "c DESC(10)" is not valid there.
    if (mySQL && f->Length > 0) list += "(" + std::to_string(f->Length) + ")";
    if (f->SortOrder == 2) list += " DESC";
  }
  return list;
}

std::string TIdxData::GetIncludeList() {
  std::string list;
  for (const auto& e : IncludeFields) {
    if (!list.empty()) list += ", ";
    list += QuoteName(e.Name);
  }
  return list;
}

// ---------------------------------------------------------------------------
// Texts

std::string TIdxData::GetListKey() {
  if (GetServerType() == srvMySQL) return TableName + "." + Name;
  return TDbObj::GetListKey();
}

std::string TIdxData::GetCreateSQL() {
  const TServerType st = GetServerType();
  const std::string name = QuoteName(Name);
  const std::string table = QuoteName(TableName);
  auto schemaDot = [this] { return Schema.empty() ? std::string() : QuoteName(Schema) + "."; };
  auto line = [](std::string& s, bool set, const std::string& text) {
    if (set) s += "\r\n" + text;
  };

  std::string s = "CREATE ";
  if (Unique) s += "UNIQUE ";
  if (Bitmap) s += "BITMAP ";
  std::string target;     // INDEX name ON table
  std::string tail;       // dialect clauses after the key and INCLUDE
  std::string last;       // dialect clauses after the storage text
  bool bodyAsIs = false;  // the expression follows the table directly
  switch (st) {
    case srvASA:
      target = "INDEX " + name + " ON " + (Owner.empty() ? std::string() : QuoteName(Owner) + ".") +
               table;
      break;
    case srvMySQL: {
      const std::string& method = MySQLOptions ? MySQLOptions->Method : std::string();
      target =
          "INDEX " + name + (method.empty() ? std::string() : " USING " + method) + " ON " + table;
      break;
    }
    case srvOracle:
      target = Schema.empty() ? "INDEX " + name + " ON " + table
                              : "INDEX " + schemaDot() + name + " ON " + schemaDot() + table;
      bodyAsIs = true;
      line(tail, !IndexType.empty(), "   INDEXTYPE IS " + IndexType);
      line(tail, !Parameters.empty(), "   PARAMETERS " + Parameters);
      line(tail, Compress, "COMPRESS");
      line(tail, NoCompress, "NOCOMPRESS");
      line(tail, NoLogging, "NOLOGGING");
      line(tail, !TablespaceName.empty(), "TABLESPACE " + TablespaceName);
      break;
    case srvMSSQL:
      if (Clustered) s += "CLUSTERED ";
      if (PrimaryXml) s += "PRIMARY ";
      if (Xml) s += "XML ";
      target = "INDEX " + name + " ON " + schemaDot() + table;
      line(tail, !Where.empty(), "WHERE " + Where);
      line(tail, !WithClause.empty(), "   " + WithClause);
      line(tail, !FileGroup.empty(), "ON " + QuoteName(FileGroup));
      break;
    case srvPostgreSQL:
      target = "INDEX " + name + " ON " + schemaDot() + table;
      break;
    case srvDB2:
      target = "INDEX " + name + " ON " + table;
      line(last, AllowReverseScans, "  ALLOW REVERSE SCANS");
      break;
    default:
      target = "INDEX " + name + " ON " + table;
      break;
  }
  if (Fulltext) s += "FULLTEXT ";
  if (Spatial) s += "SPATIAL ";
  if (Descending) s += "DESC ";
  s += target;
  if (Body.empty())
    s += "(" + GetColumnList() + ")";
  else
    s += bodyAsIs ? Body : " COMPUTED BY" + Body;
  line(s, !IncludeFields.Empty(), "  INCLUDE (" + GetIncludeList() + ")");
  s += tail;
  if (TableSpace) {
    const std::string storage = GetStorageClause(*TableSpace);
    line(s, !storage.empty(), storage);
  }
  return s + last;
}

std::string TIdxData::GetDropSQL() {
  const std::string name = QuoteName(Name);
  const std::string table = QuoteName(TableName);
  const std::string schemaDot = Schema.empty() ? std::string() : QuoteName(Schema) + ".";
  switch (GetServerType()) {
    case srvASA:
      return "DROP INDEX " + (Owner.empty() ? std::string() : QuoteName(Owner) + ".") + table +
             "." + name;
    case srvMySQL:
      return "DROP INDEX " + name + " ON " + table;
    case srvOracle:
      // The index lives in the schema it was created in.
      return "/* Drop: " + Name + " (" + ClassName() + ") */\r\nDROP INDEX " + schemaDot + name;
    case srvMSSQL:
      return "DROP INDEX " + schemaDot + table + "." + name;
    case srvPostgreSQL:
      return "DROP INDEX " + schemaDot + name;
    case srvASE:
      return "DROP INDEX " + table + "." + name;
    default:
      return TDbObj::GetDropSQL();
  }
}

std::string TIdxData::GetActivitySQL(bool active) {
  if (GetServerType() != srvInterBase) return std::string();
  return "ALTER INDEX " + GetQualifiedName() + (active ? " ACTIVE" : " INACTIVE");
}

// ---------------------------------------------------------------------------
// Dependencies

void TIdxData::DropDependents() {
  TDbObj::DropDependents();
  switch (GetServerType()) {
    case srvInterBase:
      if (TCustomSQLExec* exec = GetSQLExec()) exec->AddReconnect();
      break;
    case srvMySQL:
      if (Unique) DropReferencesToUniqueIndex(*this, TableName, Fields);
      DropReferencesRestingOn(*this, TableName, Fields);
      HoldAutoIncrementOn(*this, TableName, Fields);
      break;
    case srvMSSQL:
      if (Unique) DropReferencesToUniqueIndex(*this, TableName, Fields);
      break;
    default:
      break;
  }
}

void TIdxData::SetExists(bool value) {
  TDbObj::SetExists(value);
  DroppedInRun = !value;
}

void TIdxData::AppendCreateStatement() {
  TDbObj::AppendCreateStatement();
  if (Active) return;
  const std::string sql = GetActivitySQL(false);
  if (TCustomSQLExec* exec = GetSQLExec(); exec && !sql.empty())
    exec->AddStatement(sql, skStatement, Name, dboIndex, saAlter);
}

void TIdxData::AppendCreateDescriptions(TCustomSQLExec& exec) {
  if (!Description.empty()) exec.AddDescription(this);
}

bool TIdxData::ReleaseUse(TDbObj& used) {
  if (!used.IsTable() && !used.IsColumn()) return false;
  DropDependDef();
  return true;
}

// ---------------------------------------------------------------------------
// Phases

void DropIndexes(TCompareContext& ctx) {
  TPhaseHeader header(ctx.Exec, "/* Drop Index... */");
  for (const auto& e : ctx.Target.IdxList) {
    TDbObj* t = e.Obj.get();
    if (t->Pair || !t->GetExists()) continue;
    header.Write();
    t->DropDependDef();
  }
  header.Close();
}

namespace {

// MySQL sorts the keys of a table into groups: unique keys, plain (and
// spatial) ones, full-text ones; within a group they stay in the order they
// were added, and the server's extract lists them so.
int KeyGroup(const TIdxData& i) { return i.Unique ? 0 : i.Fulltext ? 2 : 1; }

// Whether the target index `t` stays where it is in the run: it is there, in
// the master's form, and no foreign key added again will move it.
bool StaysInPlace(TIdxData& m, TIdxData* t) {
  if (!t || !t->GetExists() || t->DroppedInRun) return false;
  if (t->ForForeignKey && ReferenceDroppedOn(t->Objs, t->TableName, t->Fields)) return false;
  return m.GetCreateSQL() == t->GetCreateSQL();
}

// A created index goes after the kept ones of its group, so the kept indexes
// of a group must be the first ones of the master's order: every master index
// after the first one that does not stay in place (or that comes before a
// kept one in the target) is dropped when there and created, in the master's
// order. Indexes of unknown order (no Sequence) count as in order.
void CreateMySQLIndexesInOrder(TCompareContext& ctx, TPhaseHeader& header) {
  for (const auto& te : ctx.Master.TblList) {
    TDbObj* table = te.Obj.get();
    if (!table->Pair) continue;
    std::vector<TIdxData*> idxs;
    for (TDbObj* o : ctx.Master.ObjectsOnTable(olIdx, table->Name))
      if (auto* i = o->As<TIdxData>()) idxs.push_back(i);
    std::stable_sort(idxs.begin(), idxs.end(), [](const TIdxData* a, const TIdxData* b) {
      if (KeyGroup(*a) != KeyGroup(*b)) return KeyGroup(*a) < KeyGroup(*b);
      return a->Sequence < b->Sequence;
    });
    int group = -1;
    bool inPlace = true;
    int32_t lastSequence = 0;
    for (TIdxData* m : idxs) {
      if (KeyGroup(*m) != group) {
        group = KeyGroup(*m);
        inPlace = true;
        lastSequence = std::numeric_limits<int32_t>::min();
      }
      auto* t = m->Pair ? m->Pair->As<TIdxData>() : nullptr;
      if (inPlace && StaysInPlace(*m, t) && t->Sequence >= lastSequence) {
        lastSequence = t->Sequence;
        continue;
      }
      inPlace = false;
      if (t && t->GetExists() && !t->DroppedInRun) {
        header.Write();
        t->DropDependDef();
      }
      if (!m->GetExists()) {
        header.Write();
        m->CreateDependDef();
      }
    }
  }
}

}  // namespace

void CreateIndexes(TCompareContext& ctx) {
  TPhaseHeader header(ctx.Exec, "/* Create index... */");
  if (ctx.Target.ServerType == srvMySQL) CreateMySQLIndexesInOrder(ctx, header);
  for (const auto& e : ctx.Master.IdxList) {
    TDbObj* m = e.Obj.get();
    // A master index exists when its partner is still there or when it was
    // written with its table (MySQL).
    if (m->GetExists()) continue;
    header.Write();
    m->CreateDependDef();
  }
  header.Close();
}

void AlterIndexes(TCompareContext& ctx) {
  const bool caseless = ctx.Target.ServerType == srvMSSQL;
  const bool descriptions = ctx.Compares(coDescription);
  TPhaseHeader header(ctx.Exec, "/* Alter index (Drop, Create)... */");
  for (const auto& e : ctx.Master.IdxList) {
    auto* m = e.Obj->As<TIdxData>();
    auto* t = m && m->Pair ? m->Pair->As<TIdxData>() : nullptr;
    // A target index dropped earlier in the run (with its table or column)
    // was created anew in the master's form by CreateIndexes.
    if (!t || t->DroppedInRun || !t->GetExists()) continue;
    const std::string ms = m->GetCreateSQL();
    const std::string ts = t->GetCreateSQL();
    if (caseless ? !SameTextAscii(ms, ts) : ms != ts) {
      header.Write();
      t->DropDependDef();
      m->CreateDependDef();
      continue;
    }
    if (m->Active != t->Active) {
      const std::string sql = m->GetActivitySQL(m->Active);
      if (!sql.empty()) {
        header.Write();
        ctx.Exec.AddStatement(sql, skStatement, m->Name, dboIndex, saAlter);
      }
      t->Active = m->Active;
    }
    if (descriptions && m->Description != t->Description) ctx.Exec.AddDescription(m);
  }
  header.Close();
}
