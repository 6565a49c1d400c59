#include "kinds/kvtComp_Viw.h"

#include <exception>
#include <unordered_map>
#include <vector>

#include "core/kvtCompareContext.h"
#include "core/kvtDBStructure.h"
#include "kinds/kvtCompColumn.h"
#include "kinds/kvtComp_Gnr.h"
#include "kinds/kvtComp_Prc.h"
#include "kinds/kvtComp_Rol.h"
#include "kinds/kvtComp_Tbl.h"
#include "kinds/kvtComp_Trg.h"
#include "kinds/kvtPhaseHeader.h"
#include "kinds/kvtScoped.h"
#include "kinds/kvtSqlText.h"
#include "parse/kvtMySQLParser.h"
#include "script/kvtSQL_Exec.h"

namespace {

// Action of the statement that selects the current DB2 schema.
constexpr uint8_t kActionSetSchema = 8;

// Grants of the master container by the name of the object they are on,
// rebuilt when the grant list changes; kept in the container's slot of the
// view list, since views are what asks.
struct TGrantsByObject : TListCache {
  uint64_t Version = ~uint64_t{0};
  std::unordered_map<std::string, std::vector<TGntData*>> ByObject;
};

const std::vector<TGntData*>& GrantsOn(TObjs& objs, const std::string& name) {
  static const std::vector<TGntData*> kNone;
  TGrantsByObject& index = objs.ListCache<TGrantsByObject>(olViw);
  if (index.Version != objs.GntList.Version()) {
    index.ByObject.clear();
    for (const auto& e : objs.GntList)
      if (auto* g = e.Obj->As<TGntData>()) index.ByObject[g->ObjectName].push_back(g);
    index.Version = objs.GntList.Version();
  }
  auto it = index.ByObject.find(name);
  return it == index.ByObject.end() ? kNone : it->second;
}

// The triggers of `objs` that belong to `view`.
std::vector<TTrgData*> TriggersOf(TObjs* objs, TViwData& view) {
  std::vector<TTrgData*> out;
  if (!objs) return out;
  for (TDbObj* o : objs->ObjectsOnTable(olTrg, view.Name))
    if (auto* t = o->As<TTrgData>(); t && (t->Table == &view || !t->Table)) out.push_back(t);
  return out;
}


}  // namespace

TViwData::TViwData(TObjs* aObjs) : TDbObj(aObjs) { ObjType = dboView; }

TViwData::~TViwData() {
  Columns.Clear();
  Body.clear();
}

TDbObj* TViwData::FindColumn(const std::string& name) { return Columns.Find(name); }

void TViwData::ForEachColumn(const std::function<void(TDbObj&)>& fn) {
  for (const auto& e : Columns)
    if (e.Obj) fn(*e.Obj);
}

void TViwData::SetNeedsRecreate(bool value) {
  NeedsRecreate = value;
  // Walk the Pair links; the walk ends at the first view that already holds
  // the value, so a master/target pair (each the other's Pair) stops at once.
  TViwData* next = Pair ? Pair->As<TViwData>() : nullptr;
  while (next && next->NeedsRecreate != value) {
    next->NeedsRecreate = value;
    next = next->Pair ? next->Pair->As<TViwData>() : nullptr;
  }
}

namespace {

// Whether two view texts say the same. MySQL writes a view's query back in a
// form of its own (qualified names, AS before every alias, extra
// parentheses), so its views compare in a form both reduce to.
bool SameViewText(const std::string& a, const std::string& b, TServerType st) {
  if (st == srvMySQL) return MySQLViewCompareForm(a) == MySQLViewCompareForm(b);
  return SameSqlText(a, b, st);
}

}  // namespace

// ---------------------------------------------------------------------------
// Texts

std::string TViwData::GetColumnList() {
  if (Columns.Empty()) return std::string();
  std::string s = "(";
  for (int i = 0; i < Columns.Count(); ++i) s += (i ? ",\r\n" : "\r\n") + QuoteName(Columns.Names(i));
  return s + ")";
}

std::string TViwData::GetCreateSQL() {
  const std::string columns = GetColumnList();
  switch (GetServerType()) {
    case srvMySQL: {
      std::string s = "CREATE";
      if (!Algorithm.empty()) s += " ALGORITHM=" + Algorithm;
      if (!SqlSecurity.empty()) s += " SQL SECURITY " + SqlSecurity;
      return s + " VIEW " + QuoteName(Name) + columns + "\r\n AS \r\n" + Body;
    }
    case srvOracle: {
      std::string s = "CREATE OR REPLACE VIEW " + GetQualifiedName();
      if (!OfType.empty()) s += " OF " + OfType;
      if (!ObjectIdColumns.empty()) {
        s += "\r\n   WITH OBJECT " + (ObjectIdKind.empty() ? std::string("IDENTIFIER") : ObjectIdKind) + "(";
        for (size_t i = 0; i < ObjectIdColumns.size(); ++i) s += (i ? ", " : "") + ObjectIdColumns[i];
        s += ")";
      }
      return s + columns + "\r\n   AS \r\n" + Body;
    }
    case srvMSSQL: {
      if (Body.empty()) return StatementText;
      std::string s = "CREATE VIEW " + GetQualifiedName() + columns + "\r\n";
      std::string options;
      auto option = [&options](bool set, const char* word) {
        if (set) options += (options.empty() ? "  WITH " : ", ") + std::string(word);
      };
      option(WithEncryption, "ENCRYPTION");
      option(SchemaBinding, "SCHEMABINDING");
      option(ViewMetadata, "VIEW_METADATA");
      if (!options.empty()) s += options + "\r\n";
      return s + " AS \r\n" + Body;
    }
    case srvPostgreSQL:
    case srvDB2:
      return "CREATE VIEW " + GetQualifiedName() + columns + "\r\n AS \r\n" + Body;
    default:  // InterBase/Firebird, SQL Anywhere, ASE
      return "CREATE VIEW " + QuoteName(Name) + columns + "\r\n AS \r\n" + Body;
  }
}

std::string TViwData::GetDropSQL() { return "DROP VIEW " + GetQualifiedName(); }

// ---------------------------------------------------------------------------
// Dependency walks

bool TViwData::ReleaseUse(TDbObj& /*used*/) {
  DropDependDef();
  SetExists(false);
  return true;
}

void TViwData::ProvideFor(TDbObj& user, TDependObj& r) {
  if (GetExists()) return;
  // A trigger on a missing view needs it first; once created, the record
  // stays for the trigger's own walk.
  if (user.IsTrigger()) {
    CreateDependDef();
    if (GetExists()) return;
  }
  if (!user.IsView() || user.Name != Name) CreateDependDef();
  r.Pending = false;
}

void TViwData::CreateDependDef() {
  // Views that use each other (a schema the server would reject) must not
  // recurse without end: the inner call finds the walk running.
  if (GetExists() || Creating) return;
  TFlagScope guard(Creating);
  CreateDependencies();
  if (GetExists()) return;
  TCustomSQLExec* exec = GetSQLExec();
  if (GetServerType() == srvDB2 && Objs && !Schema.empty() && Schema != Objs->CurrentSchema) {
    Objs->CurrentSchema = Schema;
    if (exec)
      exec->AddStatement("SET CURRENT SCHEMA = " + QuoteName(Schema), skStatement, std::string(),
                         dboSchema, kActionSetSchema);
  }
  if (exec) {
    exec->SetCurrentSchema(Schema);
    exec->AddComment(MakeComment("Create view: " + Name + " (ViwData.CreateDependDef)"));
    exec->AddStatement(GetCreateScript(), skStatement, Name, dboView, saCreate);
  }
  SetExists(true);
  ForEachColumn([](TDbObj& c) { c.SetExists(true); });
  // The target now holds the master's text; a view created again has lost
  // its descriptions.
  if (Pair) Pair->CompareText = CompareText;
  if (exec && GetCompareObjects().Contains(coDescription)) {
    if (!Description.empty()) exec->AddDescription(this);
    ForEachColumn([exec](TDbObj& c) {
      if (!c.Description.empty()) exec->AddDescription(&c);
    });
  }

  // The view's triggers come back with the stub body; the trigger phases
  // restore their bodies once everything they use exists.
  for (TTrgData* trg : TriggersOf(MasterObjs(), *this)) {
    if (trg->GetExists()) continue;
    const std::string stub = trg->GetStubCreateSQL();
    if (exec) exec->AddStatement(stub, skTrigger, trg->Name, dboTrigger, saCreateEmpty);
    trg->SetNeedsRestore(true);
    trg->SetExists(true);
    if (trg->Pair) trg->Pair->CompareText = stub;
  }
  MarkCreated();
}

void TViwData::CreateDependencies() {
  TDbObj::CreateDependencies();
  TObjs* target = TargetObjs();
  for (size_t i = 0; i < UseOfList.size(); ++i) {
    TDependObj* r = UseOfList[i].get();
    TDbObj* u = r->Obj;
    if (!u || u == this) continue;
    if (auto* viw = u->As<TViwData>()) {
      EnsureViewCurrent(*viw, "view", Name);
    } else if (auto* col = u->As<TFldData>(); col && col->IsColumn() && col->GetOwnerTable()) {
      // A column the target dropped during the run comes back first.
      TFldData* namesake = target ? target->FindTableField(col->TableName, col->Name) : nullptr;
      if (namesake && namesake != col && !namesake->GetExists() && col->UseOfList.empty()) {
        col->CreateDependDef();
        col->SetExists(true);
        namesake->SetExists(true);
      }
    } else if (u->As<TGnrData>()) {
      u->CreateDependDef();
    } else if (auto* prc = u->As<TPrcData>()) {
      // A selectable procedure the view reads must have its new result
      // columns before the view is created.
      auto* targetPrc = prc->Pair ? prc->Pair->As<TPrcData>() : nullptr;
      if (targetPrc && targetPrc->GetExists() && prc->ParamsDiffer(*targetPrc) && prc->NeedsAlter()) {
        WriteComment(*this, "Alter procedure: " + prc->Name + " for view: " + Name);
        prc->AlterInTarget();
      }
    }
  }
}

void TViwData::MarkCreated() {
  TDbObj::MarkCreated();
  for (auto& r : UseInList) {
    TDbObj* u = r->Obj;
    if (!u || (!u->IsView() && u->ObjType != dboDomain)) continue;
    r->Pending = true;
    for (auto& back : u->UseOfList)
      if (back->Obj == this) back->Pending = true;
  }
}

void TViwData::DropDependents() {
  // Views that use each other must not recurse without end.
  if (Dropping) return;
  TFlagScope guard(Dropping);
  const bool ase = GetServerType() == srvASE;
  for (size_t i = 0; i < UseInList.size(); ++i) {
    TDependObj* r = UseInList[i].get();
    TDbObj* u = r->Obj;
    if (u == this) {
      r->Pending = false;
      continue;
    }
    if (!r->Pending || !u) continue;
    if (auto* trg = u->As<TTrgData>()) {
      if (trg->Table == this) {
        // One of the view's own triggers: dropped below, not emptied first.
      } else if (ase)
        trg->DropDependDef();
      else
        trg->EmptyBody();
      r->Pending = false;
    } else if (auto* prc = u->As<TPrcData>()) {
      if (ase)
        prc->DropDependDef();
      else
        prc->EmptyBody(true);
      r->Pending = false;
    } else if (u->GetListId() == olCtr) {
      u->DropDependDef();
      r->Pending = false;
    }
  }
  for (TTrgData* trg : TriggersOf(TargetObjs(), *this))
    if (trg->GetExists()) trg->DropDependDef();
  TDbObj::DropDependents();
}

void TViwData::MarkDropped() {
  TDbObj::MarkDropped();
  if (TObjs* master = MasterObjs())
    for (TGntData* g : GrantsOn(*master, Name)) g->SetExists(false);
}

void EnsureViewCurrent(TViwData& used, const std::string& userKind, const std::string& userName) {
  const std::string tail = " for " + userKind + ": " + userName;
  if (!used.GetExists()) {
    WriteComment(used, "Create view: " + used.Name + tail);
    used.CreateDependDef();
  }
  const bool onMaster = used.Objs && used.Objs->Role != 2;
  TViwData* master = onMaster ? &used : used.Pair ? used.Pair->As<TViwData>() : nullptr;
  TViwData* target = onMaster ? (used.Pair ? used.Pair->As<TViwData>() : nullptr) : &used;
  if (!master || !target || SameViewText(master->CompareText, target->CompareText, used.GetServerType()))
    return;
  WriteComment(used, "Alter view (drop/create): " + used.Name + tail);
  WriteComment(used, "Alter view (drop): " + used.Name + tail);
  target->DropDependDef();
  WriteComment(used, "Alter view (create): " + used.Name + tail);
  master->CreateDependDef();
  target->CompareText = master->CompareText;
}

TViwData* TCustomObjs::FindView(const std::string& key) const { return FindIn<TViwData>(ViwList, key); }

TFldData* TCustomObjs::FindViewField(const std::string& viewKey, const std::string& column) const {
  TViwData* viw = FindView(viewKey);
  return viw ? viw->Columns.Find(column) : nullptr;
}

// ---------------------------------------------------------------------------
// Phases

namespace {

// In the order the script declares the views: the server numbers views as
// they are created and its extract lists them in that order, so views created
// in the master's order come out as the master's do. Walks that create views
// add none to the list they walk; a copy of the order is walked all the same.
template <class Fn>
void ForEachView(TObjs& objs, Fn fn) {
  const std::vector<TDbObj*> order = objs.ViwList.AddedObjects();
  for (TDbObj* o : order)
    if (auto* v = o->As<TViwData>()) fn(*v);
}

}  // namespace

void DropViews(TCompareContext& ctx) {
  TPhaseHeader header(ctx.Exec, "Drop View...");
  ForEachView(ctx.Target, [&](TViwData& t) {
    if (t.Pair || !t.GetExists()) return;
    header.Write(t);
    t.DropDependDef();
    t.CompareText.clear();
  });
  header.Close();
}

void CreateViews(TCompareContext& ctx) {
  TPhaseHeader header(ctx.Exec, "Create Views...");
  ForEachView(ctx.Master, [&](TViwData& m) {
    if (m.GetExists()) return;  // paired and kept, or created by an earlier walk
    header.Write(m);
    // A view that cannot be written is reported; the other views go on.
    try {
      m.CreateDependDef();
    } catch (const std::exception& ex) {
      ctx.Error("Create view: " + m.Name + ": " + ex.what());
      return;
    } catch (...) {
      ctx.Error("Create view: " + m.Name + ": unknown error");
      return;
    }
    m.SetNeedsRecreate(false);
    if (m.Pair) m.Pair->CompareText = m.CompareText;
  });
  header.Close();
}

void AlterViews(TCompareContext& ctx) {
  TPhaseHeader header(ctx.Exec, "Alter View (Drop, Create)...");
  ForEachView(ctx.Master, [&](TViwData& m) {
    auto* t = m.Pair ? m.Pair->As<TViwData>() : nullptr;
    if (!t) return;
    if (!m.NeedsRecreate && SameViewText(m.CompareText, t->CompareText, ctx.Target.ServerType)) {
      if (!ctx.Compares(coDescription)) return;
      if (m.Description != t->Description && ctx.Exec.AddDescription(&m))
        ctx.Exec.AddComment("\r\n");
      m.ForEachColumn([&ctx](TDbObj& c) {
        if (c.Pair && c.Description != c.Pair->Description) ctx.Exec.AddDescription(&c);
      });
      return;
    }
    header.Write(m);
    const std::string recreate = m.NeedsRecreate ? " (recreate)" : "";
    ctx.Exec.AddComment(m.MakeComment("Drop altered view: " + m.Name + recreate));
    t->DropDependDef();
    t->CompareText.clear();
    m.SetExists(false);
    ctx.Exec.AddComment(m.MakeComment("Create altered view: " + m.Name + recreate));
    m.CreateDependDef();
    t->CompareText = m.CompareText;
    m.SetNeedsRecreate(false);
  });
}
