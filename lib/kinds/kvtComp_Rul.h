// Rules.
#pragma once

#include "core/kvtClasses.h"

// A rule. Its DDL and comparison phases are added with the rule kind.
class TRulData : public TDbObj {
 public:
  explicit TRulData(TObjs* aObjs) : TDbObj(aObjs) { ObjType = dboRule; }
  const char* ClassName() const override { return "TRulData"; }
  TObjListId GetListId() const override { return olRul; }
};
