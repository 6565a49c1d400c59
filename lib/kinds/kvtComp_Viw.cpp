#include "kinds/kvtComp_Viw.h"

#include "kinds/kvtCompColumn.h"

TViwData::TViwData(TObjs* aObjs) : TDbObj(aObjs) { ObjType = dboView; }

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
