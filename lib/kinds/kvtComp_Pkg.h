// Packages.
#pragma once

#include "core/kvtClasses.h"

// A package. Its DDL and comparison phases are added with the package kind.
class TPkgData : public TDbObj {
 public:
  explicit TPkgData(TObjs* aObjs) : TDbObj(aObjs) { ObjType = dboPackage; }
  const char* ClassName() const override { return "TPkgData"; }
  TObjListId GetListId() const override { return olPkg; }
};
