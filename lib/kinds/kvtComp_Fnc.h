// External functions.
#pragma once

#include "core/kvtClasses.h"

// An external function. Its DDL and comparison phases are added with the function kind.
class TUdfData : public TDbObj {
 public:
  explicit TUdfData(TObjs* aObjs) : TDbObj(aObjs) { ObjType = dboFunction; }
  const char* ClassName() const override { return "TUdfData"; }
  TObjListId GetListId() const override { return olFnc; }
};
