#include "kinds/kvtComp_Tbl.h"

#include <algorithm>
#include <exception>
#include <optional>
#include <unordered_map>
#include <vector>

#include "core/kvtCompareContext.h"
#include "core/kvtDBOptions.h"
#include "core/kvtDBStructure.h"
#include "core/kvtMsgMngr.h"
#include "kinds/kvtComp_Ctr.h"
#include "kinds/kvtComp_Gnr.h"
#include "kinds/kvtComp_Idx.h"
#include "kinds/kvtComp_Trg.h"
#include "kinds/kvtComp_Viw.h"
#include "kinds/kvtPhaseHeader.h"
#include "script/kvtSQL_Exec.h"

namespace {


// The objects of list `id` of `objs` on `table` (constraints, indexes,
// triggers), as the kind T.
template <class T>
std::vector<T*> OnTable(const TObjs* objs, TObjListId id, const std::string& table) {
  std::vector<T*> out;
  if (!objs) return out;
  for (TDbObj* o : objs->ObjectsOnTable(id, table))
    if (auto* k = o->As<T>()) out.push_back(k);
  return out;
}

std::vector<TCtrData*> ConstraintsOn(TTblData& t) { return OnTable<TCtrData>(t.Objs, olCtr, t.Name); }
std::vector<TIdxData*> IndexesOn(const TObjs* objs, const std::string& table) {
  return OnTable<TIdxData>(objs, olIdx, table);
}
std::vector<TTrgData*> TriggersOn(const TObjs* objs, const std::string& table) {
  return OnTable<TTrgData>(objs, olTrg, table);
}

bool HasMissingDependency(TDbObj* o) {
  for (auto& r : o->UseOfList)
    if (r->Pending && r->Obj && !r->Obj->GetExists()) return true;
  return false;
}

bool IsServerOneOf(TServerType st, std::initializer_list<TServerType> list) {
  return std::find(list.begin(), list.end(), st) != list.end();
}

}  // namespace

// ---------------------------------------------------------------------------
// TTblData

TTblData::TTblData(TObjs* aObjs)
    : TDbObj(aObjs),
      TableSpace(std::make_unique<TTableSpace>()),
      MySQLOptions(std::make_unique<TMySQLTableOptions>()) {
  ObjType = dboTable;
  UpdateFieldCase();
}

TTblData::~TTblData() = default;

void TTblData::UpdateFieldCase() { Fields.SetCaseSensitive(GetServerType() != srvMSSQL); }

TFldData* TTblData::AddField(std::unique_ptr<TFldData> field) {
  if (!field) return nullptr;
  field->Position = Fields.Count();
  field->Owner = this;
  field->TableName = Name;
  const std::string name = field->Name;
  return Fields.Add(name, std::move(field));
}

TFldData* TTblData::FindField(const std::string& name) {
  UpdateFieldCase();
  return Fields.Find(name);
}

void TTblData::SetChanged(bool value) {
  Changed = value;
  if (auto* pair = Pair ? Pair->As<TTblData>() : nullptr) pair->Changed = value;
}

bool TTblData::HasIdentityColumn() const {
  for (const auto& e : Fields)
    if (e.Obj && e.Obj->Identity) return true;
  return false;
}

void TTblData::MarkDependentViewsForRecreate() {
  for (auto& r : UseInList)
    if (auto* viw = r->Obj ? r->Obj->As<TViwData>() : nullptr) viw->SetNeedsRecreate(true);
}

bool TTblData::GetExists() { return Exists; }

void TTblData::ForEachColumn(const std::function<void(TDbObj&)>& fn) {
  for (const auto& e : Fields)
    if (e.Obj) fn(*e.Obj);
}

bool TTblData::IsKeptForMaster() {
  TObjs* master = Objs ? Objs->MasterSide() : nullptr;
  return master && master->TblList.Contains(Name);
}

void TTblData::ProvideFor(TDbObj& user, TDependObj& r) {
  if (user.IsComputedColumn()) {
    // A computed column needs its table without the other computed columns,
    // unless it uses one of them itself.
    bool usesComputed = false;
    for (const auto& d : user.UseOfList) {
      TDbObj* c = d->Obj;
      if (c && c->IsComputedColumn() && (c->GetParentObj() == this || c->GetParentName() == Name))
        usesComputed = true;
    }
    const bool saved = ComputedPass;
    ComputedPass = !usesComputed;
    CreateDependDef();
    ComputedPass = saved;
  } else if (!user.IsTable() || user.Name != Name) {
    CreateDependDef();
  }
  r.Pending = false;
}

// The CREATE text itself has no side effects; GetCreateScript, which the
// script uses, also reports the table's schema to the statement list.
std::string TTblData::GetCreateSQL() {
  if (GetServerType() == srvMySQL) return GetMySQLCreateSQL();
  return "CREATE " + GetTableText();
}

std::string TTblData::GetTableText() {
  const TServerType st = GetServerType();
  std::string s = GlobalTemporary ? "GLOBAL TEMPORARY " : "";
  s += "TABLE " + GetQualifiedName();
  if (st == srvInterBase && !ExternalFile.empty())
    s += "\r\nEXTERNAL FILE " + QuoteLiteral(ExternalFile, srvInterBase) + "\r\n";
  if (st == srvOracle) {
    if (!OfType.empty()) s += " OF " + OfType;
    if (!NestedTable.empty()) s += "\r\nNESTED TABLE " + NestedTable;
  }
  if (!Fields.Empty()) {
    std::string cols;
    for (const auto& e : Fields) {
      TFldData* f = e.Obj.get();
      if (!f || (ComputedPass && f->IsComputed())) continue;
      cols += f->GetCreateSQL() + ",\r\n";
    }
    if (cols.size() >= 3) cols.resize(cols.size() - 3);
    s += "(" + cols + ")";
  }
  if (!AsQuery.empty()) s += "\r\nAS " + AsQuery;
  if (WithOids) s += " WITH OIDS";
  if (OnCommit == ocDeleteRows && st != srvASA) s += "\r\n ON COMMIT DELETE ROWS";
  if (OnCommit == ocPreserveRows) s += "\r\n ON COMMIT PRESERVE ROWS";
  if (st == srvOracle) {
    auto line = [&s](const std::string& text) {
      if (!text.empty()) s += "\r\n" + text;
    };
    line(TableSpace ? GetStorageClause(*TableSpace) : std::string());
    if (!TablespaceName.empty()) line("TABLESPACE " + TablespaceName);
    if (Compress) line("COMPRESS");
    if (NoLogging) line("NOLOGGING");
    if (!Storage.empty()) line("STORAGE" + Storage);
    if (!Cluster.empty()) line("CLUSTER " + Cluster + ClusterColumns);
    if (!Lob.empty()) line("LOB" + Lob);
    if (!StoreAs.empty()) line("STORE AS " + StoreAs);
    line(PhysicalText);
    if (!PartitionBy.empty()) line("PARTITION BY RANGE " + PartitionBy + " " + PartitionList);
  }
  return s;
}

std::string TTblData::GetMySQLCreateSQL() {
  std::string s = "CREATE TABLE " + QuoteName(Name);
  if (!Fields.Empty()) {
    std::string items;
    for (const auto& e : Fields)
      if (e.Obj) items += e.Obj->GetCreateSQL() + ",\r\n";

    const std::vector<TCtrData*> ctrs = ConstraintsOn(*this);
    std::vector<TIdxData*> idxs = IndexesOn(Objs, Name);
    // The server lists the unique keys first and the others in the order they
    // were declared in.
    std::stable_sort(idxs.begin(), idxs.end(), [](const TIdxData* a, const TIdxData* b) {
      if (a->Unique != b->Unique) return a->Unique;
      return a->Sequence < b->Sequence;
    });
    auto keys = [&](uint8_t type, const char* word) {
      for (TCtrData* c : ctrs) {
        if (c->ConstraintType != type) continue;
        if (!c->Name.empty()) items += "CONSTRAINT " + QuoteName(c->Name) + " ";
        items += word;
        // The name of a MySQL unique key ("UNIQUE name (...)") is kept, or the
        // server would name the key after its first column.
        if (type == ctUnique && !c->IndexName.empty()) items += " " + QuoteName(c->IndexName);
        items += "(" + c->GetColumnList() + "),\r\n";
      }
    };
    keys(ctPrimaryKey, "PRIMARY KEY");
    keys(ctUnique, "UNIQUE");
    for (TIdxData* i : idxs) {
      // FULLTEXT and SPATIAL keys keep their kind; written as plain keys they
      // would become ordinary B-tree indexes.
      if (i->Unique) items += "UNIQUE ";
      if (i->Fulltext) items += "FULLTEXT ";
      if (i->Spatial) items += "SPATIAL ";
      items += "KEY " + QuoteName(i->Name);
      if (i->MySQLOptions && !i->MySQLOptions->Method.empty())
        items += " USING " + i->MySQLOptions->Method;
      items += " (" + i->GetColumnList() + "),\r\n";
    }
    if (items.size() >= 3) items.resize(items.size() - 3);
    s += "(" + items + ")";
  }
  if (MySQLOptions) s += MySQLOptions->GetOptionsText();
  return s;
}

std::string TTblData::GetCreateScript() {
  if (TCustomSQLExec* exec = GetSQLExec()) exec->SetCurrentSchema(Schema);
  return GetCreateSQL();
}

std::string TTblData::GetDropSQL() { return "DROP TABLE " + GetQualifiedName(); }

void TTblData::MarkCreated() { TDbObj::MarkCreated(); }

void TTblData::CreateDependencies() {
  for (const auto& e : Fields) {
    TFldData* f = e.Obj.get();
    if (!f) continue;
    if (!f->IsComputed()) {
      f->SetExists(true);
    } else if (!ComputedPass) {
      f->CreateDependencies();
      f->SetExists(true);
    }
  }
}

void TTblData::CreateDependDef() {
  TCustomSQLExec* exec = GetSQLExec();
  if (GetExists()) {
    if (ComputedPass) return;
    // Computed columns left out of the CREATE statement follow once what they
    // use exists.
    for (const auto& e : Fields) {
      TFldData* f = e.Obj.get();
      if (!f || !f->IsComputed() || f->GetExists() || HasMissingDependency(f)) continue;
      f->CreateDependDef();
      SetChanged(true);
    }
    return;
  }
  CreateDependencies();
  if (GetExists()) return;
  if (exec) {
    exec->AddStatement(GetCreateScript(), skStatement, Name, dboTable, saCreate);
    exec->AddComment("\r\n");
  }
  SetExists(true);
  MarkCreated();
  if (GetServerType() == srvMySQL && !Fields.Empty()) {
    // The keys written inline in the MySQL CREATE TABLE exist with the table;
    // a table without columns has no key list, so its keys are left to their phases.
    for (TCtrData* c : ConstraintsOn(*this))
      if (c->ConstraintType == ctPrimaryKey || c->ConstraintType == ctUnique) c->SetExists(true);
    for (TIdxData* i : IndexesOn(Objs, Name)) i->SetExists(true);
  }
}

void TTblData::DropDependents() {
  if (TObjs* target = TargetObjs()) {
    for (TTrgData* trg : TriggersOn(target, Name))
      if (trg->GetExists()) trg->DropDependDef();
    for (TIdxData* idx : IndexesOn(target, Name)) idx->DropDependDef();
    // Foreign keys of other tables that point at this one go first, also
    // when the final linking pass could not tie them to the table.
    DropReferencesToTable(target, *this);
  }
  for (size_t i = 0; i < UseInList.size(); ++i) {
    TDependObj* r = UseInList[i].get();
    TDbObj* u = r->Obj;
    if (u == this) {
      r->Pending = false;
      continue;
    }
    if (!r->Pending || !u) continue;
    if (u->As<TCtrData>() || u->ObjType == dboPublication) {
      u->DropDependDef();
      r->Pending = false;
    } else if (auto* col = u->As<TFldData>(); col && col->IsComputed()) {
      col->DropDependDef();
      r->Pending = false;
    }
  }
  for (const auto& e : Fields)
    if (e.Obj && e.Obj->IsComputed() && e.Obj->GetExists()) e.Obj->DropDependents();
  TDbObj::DropDependents();
}

// ---------------------------------------------------------------------------
// TSchData

TSchData::TSchData(TObjs* aObjs) : TDbObj(aObjs) { ObjType = dboSchema; }

std::string TSchData::GetCreateSQL() {
  std::string s = "CREATE SCHEMA " + QuoteName(Name);
  if (GetServerType() == srvMSSQL && !SchemaOwner.empty() && SchemaOwner != Name)
    s += " AUTHORIZATION " + QuoteName(SchemaOwner);
  return s;
}

std::string TSchData::GetDropSQL() { return "DROP SCHEMA " + QuoteName(Name); }

// ---------------------------------------------------------------------------
// TPblData, TPblArtData

TPblArtData::~TPblArtData() = default;

std::string TPblArtData::GetText(TDbObj& quoter) const {
  std::string s = "    TABLE " + quoter.QuoteName(TableOwner) + "." + quoter.QuoteName(TableName);
  if (!Columns.Empty()) {
    s += "(";
    for (int i = 0; i < Columns.Count(); ++i) {
      if (i) s += ", ";
      s += quoter.QuoteName(Columns.Names(i));
    }
    s += ")";
  }
  return s;
}

TPblData::TPblData(TObjs* aObjs) : TDbObj(aObjs) { ObjType = dboPublication; }

TPblData::~TPblData() = default;

TPblArtData* TPblData::AddArticle(const std::string& name, std::unique_ptr<TPblArtData> article) {
  if (!article) return nullptr;
  article->Publication = this;
  TPblArtData* raw = article.get();
  int pos = Articles.Count();
  while (pos > 0 && name < Articles.Names(pos - 1)) --pos;
  if (pos == Articles.Count())
    Articles.Add(name, std::move(article));
  else
    Articles.Insert(pos, name, std::move(article));
  return raw;
}

std::string TPblData::GetCreateSQL() {
  std::string s = "CREATE PUBLICATION " + QuoteName(Owner) + "." + QuoteName(Name) + " (\r\n";
  for (int i = 0; i < Articles.Count(); ++i) {
    if (TPblArtData* a = Articles[i]) s += a->GetText(*this);
    if (i + 1 < Articles.Count()) s += ", ";
    s += "\r\n";
  }
  return s + ")";
}

std::string TPblData::GetDropSQL() {
  return "DROP PUBLICATION " + QuoteName(Owner) + "." + QuoteName(Name);
}

void TPblData::CreateDependencies() {
  TDbObj::CreateDependencies();
  for (size_t i = 0; i < UseOfList.size(); ++i) {
    TDbObj* u = UseOfList[i]->Obj;
    if (u && (u->IsTable() || u->As<TFldData>()) && !u->GetExists()) u->CreateDependDef();
  }
}

// ---------------------------------------------------------------------------
// Phases

namespace {

// A Firebird temporary table without an ON COMMIT clause deletes its rows on
// commit, and the server's extract says so; both spellings are one table.
uint8_t EffectiveOnCommit(const TTblData& t, TServerType st) {
  if (st != srvInterBase || !t.GlobalTemporary) return t.OnCommit;
  return t.OnCommit == ocPreserveRows ? ocPreserveRows : ocDeleteRows;
}

// Whether the target table has to be dropped and created again: neither
// temporary nor permanent tables can change into the other, and Firebird
// cannot alter the ON COMMIT action of a temporary table.
bool NeedsRecreate(const TTblData& m, const TTblData& t, TServerType st) {
  if (m.GlobalTemporary != t.GlobalTemporary) return true;
  return st == srvInterBase && EffectiveOnCommit(m, st) != EffectiveOnCommit(t, st);
}

}  // namespace

void MatchTables(TCompareContext& ctx) {
  TObjs& master = ctx.Master;
  TObjs& target = ctx.Target;
  const TServerType st = target.ServerType;
  for (const auto& e : master.TblList) {
    auto* m = e.Obj->As<TTblData>();
    if (!m) continue;
    auto* t = m->Pair ? m->Pair->As<TTblData>() : nullptr;
    m->InBoth = t != nullptr;
    m->Unchanged = false;
    for (const auto& fe : m->Fields)
      if (TFldData* f = fe.Obj.get()) {
        f->Matched = false;
        f->SameDefinition = false;
        f->OtherPosition = -1;
      }
    if (!t) continue;
    for (const auto& fe : t->Fields)
      if (TFldData* f = fe.Obj.get()) {
        f->Matched = false;
        f->SameDefinition = false;
        f->OtherPosition = -1;
      }

    bool unchanged = m->Description == t->Description;
    if (st == srvMySQL && m->MySQLOptions && t->MySQLOptions &&
        (m->MySQLOptions->DefaultCharset != t->MySQLOptions->DefaultCharset ||
         m->MySQLOptions->Engine != t->MySQLOptions->Engine ||
         m->MySQLOptions->GetOptionsText() != t->MySQLOptions->GetOptionsText()))
      unchanged = false;
    if (IsServerOneOf(st, {srvInterBase, srvASA, srvMSSQL}) &&
        (m->GlobalTemporary != t->GlobalTemporary ||
         EffectiveOnCommit(*m, st) != EffectiveOnCommit(*t, st)))
      unchanged = false;

    for (const auto& fe : m->Fields) {
      TFldData* mf = fe.Obj.get();
      if (!mf) continue;
      TFldData* tf = t->FindField(mf->Name);
      if (!tf) {
        unchanged = false;
        continue;
      }
      mf->Matched = tf->Matched = true;
      mf->SetExists(true);
      tf->SetExists(true);
      mf->OtherPosition = tf->Position;
      tf->OtherPosition = mf->Position;
      bool same;
      if (st == srvMySQL)
        // The whole MySQL definition: AUTO_INCREMENT, INVISIBLE, CHECK and the
        // comment are part of the column.
        same = mf->GetCreateSQL() == tf->GetCreateSQL();
      else if (mf->IsComputed())
        same = mf->Body == tf->Body;
      else if (mf->IsDomainTyped() && tf->IsDomainTyped())
        same = mf->DomainName == tf->DomainName;
      else
        same = mf->GetTypeText() == tf->GetTypeText() && mf->Nullable == tf->Nullable &&
               mf->DomainName == tf->DomainName && mf->GetDefaultText() == tf->GetDefaultText();
      mf->SameDefinition = tf->SameDefinition = same;
      if (!same) unchanged = false;
    }
    m->Unchanged = unchanged;
  }
}

void CreateTables(TCompareContext& ctx) {
  TObjs& master = ctx.Master;
  TCustomSQLExec* exec = &ctx.Exec;
  TPhaseHeader header(ctx.Exec, "Create Table...");
  const bool descriptions = master.CompareObjects.Contains(coDescription);
  for (const auto& e : master.TblList) {
    auto* t = e.Obj->As<TTblData>();
    if (!t || t->GetExists()) continue;
    header.Write(*t);
    t->SetComputedPass(true);
    t->CreateDependDef();
    t->SetComputedPass(false);
    t->CreateDependDef();
    if (descriptions) {
      if (!t->Description.empty()) exec->AddDescription(t);
      // Computed columns carry their description with their own ADD statement,
      // MySQL columns theirs in their definition.
      for (const auto& fe : t->Fields)
        if (fe.Obj && !fe.Obj->IsComputed() && !fe.Obj->Description.empty() &&
            master.ServerType != srvMySQL)
          exec->AddDescription(fe.Obj.get());
    }
  }
  header.Close();
}

void CreateColumns(TCompareContext& ctx) {
  TObjs& master = ctx.Master;
  for (int pass = 0; pass < 2; ++pass) {
    const bool computedPass = pass == 0;
    for (const auto& e : master.TblList) {
      auto* t = e.Obj->As<TTblData>();
      if (!t || (computedPass && !t->Pair)) continue;
      const bool saved = t->ComputedPass;
      t->SetComputedPass(computedPass);
      for (int i = 0; i < t->Fields.Count(); ++i) {
        TFldData* f = t->Fields[i];
        if (!f || f->GetExists() || (computedPass && f->IsComputed())) continue;
        try {
          f->CreateDependDef();
          t->SetChanged(true);
        } catch (const std::exception& ex) {
          ShowErrorText("Create field: " + t->Name + "/" + f->Name + ": " + ex.what());
        } catch (...) {
          ShowErrorText("Create field: " + t->Name + "/" + f->Name + ": unknown error");
        }
      }
      t->SetComputedPass(saved);
    }
  }
}

void CheckColumnOrder(TCompareContext& ctx) {
  TObjs& master = ctx.Master;
  for (const auto& e : master.TblList) {
    auto* m = e.Obj->As<TTblData>();
    auto* t = m && m->Pair ? m->Pair->As<TTblData>() : nullptr;
    if (!t || m->Fields.Count() != t->Fields.Count()) continue;
    bool moved = false;
    bool complete = true;
    for (int i = 0; i < m->Fields.Count(); ++i) {
      t->UpdateFieldCase();
      const int j = t->Fields.IndexOf(m->Fields.Names(i));
      if (j < 0) {
        complete = false;
        break;
      }
      if (j != i) moved = true;
    }
    if (complete && moved) m->SetChanged(true);
  }
}

void AlterTables(TCompareContext& ctx) {
  TObjs& master = ctx.Master;
  TObjs& target = ctx.Target;
  TCustomSQLExec* exec = &ctx.Exec;
  const bool descriptions = master.CompareObjects.Contains(coDescription);
  for (const auto& e : master.TblList) {
    auto* m = e.Obj->As<TTblData>();
    auto* t = m && m->Pair ? m->Pair->As<TTblData>() : nullptr;
    if (!t || !m->InBoth || m->Unchanged) continue;
    if (descriptions && m->Description != t->Description) exec->AddDescription(m);

    if (NeedsRecreate(*m, *t, target.ServerType)) {
      // The table is dropped and created again. What lives on the target table (indexes, keys,
      // triggers, views) goes first, so the later phases create it again.
      t->DropDependents();
      exec->AddStatement(t->GetDropSQL(), skStatement, t->Name, dboTable, saDrop);
      for (const auto& fe : t->Fields)
        if (fe.Obj) fe.Obj->SetExists(false);
      t->SetExists(false);
      exec->AddStatement(m->GetCreateScript(), skStatement, m->Name, dboTable, saCreate);
      for (const auto& fe : m->Fields)
        if (fe.Obj) fe.Obj->SetExists(true);
      m->SetExists(true);
      if (descriptions)
        for (const auto& fe : m->Fields)
          if (fe.Obj && !fe.Obj->Description.empty()) exec->AddDescription(fe.Obj.get());
    }

    if (target.ServerType == srvMySQL && m->MySQLOptions && t->MySQLOptions) {
      const TMySQLTableOptions& mo = *m->MySQLOptions;
      const TMySQLTableOptions& to = *t->MySQLOptions;
      // All changed options go in one statement: a new engine may refuse the
      // old row format, and a new row format may need the new engine.
      std::string options;
      if (!mo.Engine.empty() && !to.Engine.empty() && mo.Engine != to.Engine)
        options += " ENGINE=" + mo.Engine;
      // The character set and collation go together: a new set alone would
      // take the set's default collation.
      if ((!mo.DefaultCharset.empty() && mo.DefaultCharset != to.DefaultCharset) ||
          (!mo.DefaultCollate.empty() && mo.DefaultCollate != to.DefaultCollate)) {
        if (!mo.DefaultCharset.empty()) options += " DEFAULT CHARSET=" + mo.DefaultCharset;
        if (!mo.DefaultCollate.empty()) options += " COLLATE=" + mo.DefaultCollate;
      }
      // The options that are no character set, engine or comment.
      TMySQLTableOptions mRest = mo, tRest = to;
      for (TMySQLTableOptions* o : {&mRest, &tRest}) {
        o->Engine.clear();
        o->DefaultCharset.clear();
        o->DefaultCollate.clear();
        o->Comment.clear();
      }
      const std::string mText = mRest.GetOptionsText();
      if (mText != tRest.GetOptionsText()) {
        // A ROW_FORMAT the master leaves out is the server's default one.
        if (mRest.RowFormat.empty() && !tRest.RowFormat.empty()) options += " ROW_FORMAT=DEFAULT";
        for (size_t i = 0; i < mText.size();) {
          const size_t e = mText.find("\r\n", i + 2);
          options += " " + mText.substr(i + 2, (e == std::string::npos ? mText.size() : e) - i - 2);
          i = e == std::string::npos ? mText.size() : e;
        }
      }
      if (!options.empty()) {
        const std::string text = "ALTER TABLE " + m->QuoteName(m->Name) + options;
        exec->AddStatement(text, skStatement, m->Name, dboTable, saAlter);
      }
      // Aria keeps PAGE_CHECKSUM=1 on every table of its own, and the option
      // stays with a table that leaves for another engine. Only a statement
      // of its own after the engine change takes it away.
      if (!mo.Engine.empty() && SameTextAscii(to.Engine, "Aria") && !SameTextAscii(mo.Engine, "Aria"))
        exec->AddStatement("ALTER TABLE " + m->QuoteName(m->Name) + " PAGE_CHECKSUM=DEFAULT", skStatement,
                           m->Name, dboTable, saAlter);
    }
  }
}

void DropColumnsAndTables(TCompareContext& ctx) {
  TObjs& master = ctx.Master;
  TObjs& target = ctx.Target;
  TCustomSQLExec* exec = &ctx.Exec;

  TPhaseHeader fields(ctx.Exec, "Drop table-fields...");
  for (const auto& e : target.TblList) {
    auto* t = e.Obj->As<TTblData>();
    auto* m = t && t->Pair ? t->Pair->As<TTblData>() : nullptr;
    if (!m) continue;
    for (int i = 0; i < t->Fields.Count(); ++i) {
      TFldData* f = t->Fields[i];
      if (!f || m->FindField(f->Name) || !f->GetExists()) continue;
      fields.Write(*f);
      f->DropDependDef();
      m->SetChanged(true);
    }
  }
  fields.Close();

  TPhaseHeader tables(ctx.Exec, "Drop tables...");
  for (const auto& e : target.TblList) {
    auto* t = e.Obj->As<TTblData>();
    // A table the master also has (by name) is never dropped.
    if (!t || t->Pair || !t->GetExists() || master.TblList.Contains(t->Name)) continue;
    if (!tables.IsWritten()) exec->AddReconnect();
    tables.Write(*t);
    t->DropDependDef();
  }
  tables.Close();
}

void RestoreColumnOrder(TCompareContext& ctx) {
  TObjs& master = ctx.Master;
  TObjs& target = ctx.Target;
  TCustomSQLExec* exec = &ctx.Exec;
  if (target.ServerType == srvInterBase) {
    TIBServerOptions* opts = target.IBServerOptions.get();
    if (!opts || !opts->IBCompareOptions->UpdateFieldPosition) return;
    const bool oldServer =
        opts->SQLServerVersion == st_InterBase_4x || opts->SQLServerVersion == st_InterBase_5x;
    for (const auto& e : master.TblList) {
      auto* t = e.Obj->As<TTblData>();
      if (!t || !t->Changed) continue;
      for (int i = 0; i < t->Fields.Count(); ++i) {
        TFldData* f = t->Fields[i];
        if (!f) continue;
        const std::string n = std::to_string(i + 1);
        std::string sql;
        if (oldServer)
          sql = "UPDATE RDB$RELATION_FIELDS SET RDB$FIELD_POSITION = " + n +
                "\r\n WHERE RDB$RELATION_NAME = " + QuoteLiteral(t->Name, srvInterBase) +
                " AND RDB$FIELD_NAME = " + QuoteLiteral(f->Name, srvInterBase);
        else
          sql = "ALTER TABLE " + t->QuoteName(t->Name) + " ALTER COLUMN " + t->QuoteName(f->Name) +
                " POSITION " + n;
        exec->AddStatement(sql, skStatement, f->Name, dboField, saAlter, t->Name);
      }
      t->SetChanged(false);
    }
  }
}

void DropPublications(TCompareContext& ctx) {
  TObjs& target = ctx.Target;
  for (const auto& e : target.PblList) {
    TDbObj* t = e.Obj.get();
    if (!t->Pair && t->GetExists()) t->DropDependDef();
  }
}

void AlterPublications(TCompareContext& ctx) {
  TObjs& master = ctx.Master;
  for (const auto& e : master.PblList) {
    TDbObj* m = e.Obj.get();
    if (!m->Pair || m->GetCreateSQL() == m->Pair->GetCreateSQL()) continue;
    m->Pair->DropDependDef();
    m->CreateDependDef();
  }
}

void CreatePublications(TCompareContext& ctx) {
  TObjs& master = ctx.Master;
  for (const auto& e : master.PblList) {
    TDbObj* m = e.Obj.get();
    if (!m->Pair || !m->GetExists()) m->CreateDependDef();
  }
}

namespace {

bool HasSchemas(TServerType st) {
  return IsServerOneOf(st, {srvOracle, srvMSSQL, srvPostgreSQL, srvDB2});
}

// Schemas every database has, or that stand for the server's own names.
bool SkipSchema(TDbObj* s, TServerType st) {
  if (st == srvPostgreSQL && s->Name == "public") return true;
  return st == srvMSSQL && s->Name == s->AutoName;
}

}  // namespace

void CreateSchemas(TCompareContext& ctx) {
  TObjs& master = ctx.Master;
  TObjs& target = ctx.Target;
  const TServerType st = target.ServerType;
  if (!HasSchemas(st)) return;
  for (const auto& e : master.SchList) {
    TDbObj* s = e.Obj.get();
    if (SkipSchema(s, st)) continue;
    if (!s->Pair || !s->GetExists()) s->CreateDependDef();
  }
}

void AlterSchemas(TCompareContext& ctx) {
  TObjs& master = ctx.Master;
  TObjs& target = ctx.Target;
  const TServerType st = target.ServerType;
  TCustomSQLExec* exec = &ctx.Exec;
  if (!HasSchemas(st)) return;
  for (const auto& e : master.SchList) {
    TDbObj* s = e.Obj.get();
    if (SkipSchema(s, st) || !s->Pair) continue;
    if (s->Description != s->Pair->Description) exec->AddDescription(s);
  }
}

void DropSchemas(TCompareContext& ctx) {
  TObjs& target = ctx.Target;
  const TServerType st = target.ServerType;
  if (!HasSchemas(st)) return;
  for (const auto& e : target.SchList) {
    TDbObj* s = e.Obj.get();
    if (SkipSchema(s, st) || s->Pair || !s->GetExists()) continue;
    s->DropDependDef();
  }
}

void NormalizeTables(TObjs& master, TObjs& target) {
  const TServerType st = target.ServerType;
  if (st != srvMySQL && st != srvOracle) return;
  for (const auto& e : master.TblList) {
    auto* m = e.Obj->As<TTblData>();
    auto* t = m && m->Pair ? m->Pair->As<TTblData>() : nullptr;
    if (!t) continue;
    if (st == srvMySQL) {
      if (!m->MySQLOptions || !t->MySQLOptions) continue;
      auto fill = [](std::string& a, std::string& b) {
        if (a.empty())
          a = b;
        else if (b.empty())
          b = a;
      };
      fill(m->MySQLOptions->Engine, t->MySQLOptions->Engine);
      fill(m->MySQLOptions->DefaultCharset, t->MySQLOptions->DefaultCharset);
      fill(m->MySQLOptions->DefaultCollate, t->MySQLOptions->DefaultCollate);
    } else {
      if (m->TableSpace && t->TableSpace) MergeStorage(*m->TableSpace, *t->TableSpace);
      if (m->Storage.empty() != t->Storage.empty()) m->Storage.clear(), t->Storage.clear();
      if (m->TablespaceName.empty() != t->TablespaceName.empty())
        m->TablespaceName.clear(), t->TablespaceName.clear();
    }
  }
}

// ---------------------------------------------------------------------------
// Container lookups of this unit's kinds

TTblData* TCustomObjs::FindTable(const std::string& key) const { return FindIn<TTblData>(TblList, key); }
TSchData* TCustomObjs::FindSchema(const std::string& key) const { return FindIn<TSchData>(SchList, key); }

TFldData* TCustomObjs::FindTableField(const std::string& tableKey, const std::string& column) const {
  TTblData* tbl = FindTable(tableKey);
  return tbl ? tbl->FindField(column) : nullptr;
}
