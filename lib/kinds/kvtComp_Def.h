// Default objects and collations.
#pragma once

#include "core/kvtClasses.h"

// A default object. Its DDL and comparison phases are added with the default kind.
class TDefData : public TDbObj {
 public:
  explicit TDefData(TObjs* aObjs) : TDbObj(aObjs) { ObjType = dboDefault; }
  const char* ClassName() const override { return "TDefData"; }
  TObjListId GetListId() const override { return olDef; }
};

// A collation. Its DDL and comparison phases are added with the collation kind.
class TCltData : public TDbObj {
 public:
  explicit TCltData(TObjs* aObjs) : TDbObj(aObjs) { ObjType = dboCollation; }
  const char* ClassName() const override { return "TCltData"; }
  TObjListId GetListId() const override { return olClt; }
};
