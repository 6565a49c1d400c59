#include "kinds/kvtComp_Fnc.h"

#include "core/kvtCompareContext.h"
#include "core/kvtDBStructure.h"
#include "kinds/kvtCompColumn.h"
#include "kinds/kvtComp_Prc.h"
#include "kinds/kvtComp_Trg.h"
#include "kinds/kvtComp_Viw.h"
#include "kinds/kvtPhaseHeader.h"
#include "script/kvtSQL_Exec.h"

TUdfData::TUdfData(TObjs* aObjs)
    : TDbObj(aObjs), ReturnField(std::make_unique<TFldData>(aObjs, nullptr)) {
  ObjType = dboFunction;
}

TUdfData::~TUdfData() {
  // The arguments go first, then the return column.
  Arguments.Clear();
  ReturnField.reset();
}

std::string TUdfData::GetCreateSQL() {
  std::string s = "DECLARE EXTERNAL FUNCTION " + QuoteName(Name) + "\r\n";
  bool first = true;
  for (const auto& e : Arguments) {
    if (!e.Obj) continue;
    if (!first) s += ", ";
    s += e.Obj->GetCreateSQL();
    first = false;
  }
  if (!first) s += "\r\n";
  s += "RETURNS " + (ReturnField ? ReturnField->GetCreateSQL() : std::string());
  if (FreeIt) s += " FREE_IT";
  s += "\r\nENTRY_POINT " + QuoteLiteral(EntryPoint, srvInterBase) + " MODULE_NAME " +
       QuoteLiteral(ModuleName, srvInterBase);
  return s;
}

namespace {

// The container of the given role as seen from `objs`; `objs` itself outside
// a comparison.
TObjs* SideOf(TObjs* objs, uint8_t role) {
  if (!objs) return nullptr;
  TObjs* side = objs->SideWithRole(role);
  return side ? side : objs;
}

}  // namespace

void TUdfData::DropDependents() {
  TDbObj::DropDependents();
  TObjs* target = SideOf(Objs, 2);
  for (size_t i = 0; i < UseInList.size(); ++i) {
    TDependObj* r = UseInList[i].get();
    auto* col = r->Obj ? r->Obj->As<TFldData>() : nullptr;
    if (!col || !col->IsColumn()) continue;
    // A view column: the view goes.
    if (TViwData* view = target ? target->FindView(col->TableName) : nullptr) {
      view->DropDependDef();
      r->Pending = false;
    }
    if (col->IsComputed() && col->GetExists()) {
      col->DropDependDef();
      r->Pending = false;
    }
  }
}

void TUdfData::MarkDropped() {
  TDbObj::MarkDropped();
  TObjs* master = SideOf(Objs, 1);
  if (!master) return;
  for (size_t i = 0; i < UseInList.size(); ++i) {
    TDependObj* r = UseInList[i].get();
    auto* col = r->Obj ? r->Obj->As<TFldData>() : nullptr;
    if (!col || !col->IsColumn()) continue;
    if (TViwData* view = master->FindView(col->TableName); view && !view->GetExists())
      view->CreateDependDef();
    if (col->IsComputed()) {
      TFldData* m = master->FindTableField(col->TableName, col->Name);
      if (m && !m->GetExists()) m->CreateDependDef();
    }
  }
}

// ---------------------------------------------------------------------------
// Phases

void DeclareFunctions(TCompareContext& ctx) {
  TPhaseHeader header(ctx.Exec, "/* Declare UDF */");
  for (const auto& e : ctx.Master.FncList) {
    TDbObj& m = *e.Obj;
    if (m.Pair || m.GetExists()) continue;
    header.Write();
    m.CreateDependDef();
    if (ctx.Compares(coDescription) && !m.Description.empty()) ctx.Exec.AddDescription(&m);
  }
  header.Close();
}

namespace {

// Empties, or drops, what uses the target function `t` so that it can be
// dropped; the procedure and trigger phases restore the bodies later and the
// view phases re-create the views marked for it.
void ReleaseFunctionUsers(TCompareContext& ctx, TUdfData& t) {
  TObjs& target = ctx.Target;
  TCustomSQLExec& exec = ctx.Exec;
  // What goes or is emptied here records the function as its cause.
  TCauseScope cause(&exec, t);
  for (size_t i = 0; i < t.UseInList.size(); ++i) {
    TDependObj* r = t.UseInList[i].get();
    TDbObj* u = r->Obj;
    if (!u) continue;
    if (u->IsProcedure()) {
      if (TPrcData* p = target.FindProcedure(r->Name)) {
        if (p->GetExists() && !SameNormalizedText(p->Body, p->GetStubBody())) {
          exec.AddComment(
              "/* Empty dependent procedure body before Function Alter (Drop/Create) */");
          p->EmptyBody(true);
        }
        r->Pending = false;
      }
    }
    if (u->IsTrigger()) {
      if (TTrgData* trg = target.FindTrigger(r->Name)) {
        if (trg->GetExists() && !SameNormalizedText(trg->Body, trg->GetStubBody())) {
          exec.AddComment("/* Empty dependent trigger body before Function Alter (Drop/Create) */");
          trg->ReleaseUse(t);
        }
        r->Pending = false;
      }
    }
    if (auto* col = u->As<TFldData>(); col && col->IsColumn()) {
      if (col->IsComputed()) {
        exec.AddComment(col->MakeComment("drop calc-field for UDF alter"));
        col->DropDependDef();
      } else if (TViwData* view = target.FindView(col->TableName)) {
        exec.AddComment(col->MakeComment("drop view (field) for UDF alter"));
        view->DropDependDef();
        view->SetNeedsRecreate(true);
      }
    }
    if (auto* view = u->As<TViwData>()) {
      exec.AddComment(view->MakeComment("drop view for UDF alter"));
      view->DropDependDef();
      view->SetNeedsRecreate(true);
    }
  }
}

}  // namespace

void AlterFunctions(TCompareContext& ctx) {
  TPhaseHeader header(ctx.Exec, "/* Alter UDF(Drop/Declare) */");
  for (const auto& e : ctx.Master.FncList) {
    TDbObj& m = *e.Obj;
    auto* t = FindIn<TUdfData>(ctx.Target.FncList, m.GetListKey());
    if (!t) continue;
    if (m.GetCreateSQL() != t->GetCreateSQL()) {
      header.Write();
      ReleaseFunctionUsers(ctx, *t);
      ctx.Exec.AddStatement("DROP EXTERNAL FUNCTION " + t->QuoteName(t->Name), skStatement, t->Name,
                            dboFunction, saDrop);
      ctx.Exec.AddStatement(m.GetCreateSQL(), skStatement, m.Name, dboFunction, saCreate);
    }
    if (ctx.Compares(coDescription) && m.Description != t->Description)
      ctx.Exec.AddDescription(&m);
  }
  header.Close();
}

void DropFunctions(TCompareContext& ctx) {
  TPhaseHeader header(ctx.Exec, "/* Drop UDF */");
  for (const auto& e : ctx.Target.FncList) {
    TDbObj& t = *e.Obj;
    if (t.Pair || !t.GetExists()) continue;
    header.Write();
    t.DropDependDef();
  }
  header.Close();
}

TUdfData* TCustomObjs::FindFunction(const std::string& key) const { return FindIn<TUdfData>(FncList, key); }
