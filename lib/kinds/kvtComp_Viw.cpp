#include "kinds/kvtComp_Viw.h"

#include "core/kvtDBStructure.h"
#include "kinds/kvtCompColumn.h"

TViwData::TViwData(TObjs* aObjs) : TDbObj(aObjs) { ObjType = dboView; }

TDbObj* TViwData::FindColumn(const std::string& name) { return Columns.Find(name); }

void TViwData::ForEachColumn(const std::function<void(TDbObj&)>& fn) {
  for (const auto& e : Columns)
    if (e.Obj) fn(*e.Obj);
}

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

TViwData* TCustomObjs::FindView(const std::string& key) const { return FindIn<TViwData>(ViwList, key); }

TFldData* TCustomObjs::FindViewField(const std::string& viewKey, const std::string& column) const {
  TViwData* viw = FindView(viewKey);
  return viw ? viw->Columns.Find(column) : nullptr;
}

TViwData::~TViwData() {
  Columns.Clear();
  Body.clear();
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
