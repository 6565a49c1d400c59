#include "kinds/kvtComp_Pkg.h"

#include "core/kvtDBStructure.h"

TPkgData* TCustomObjs::FindPackage(const std::string& key) const { return FindIn<TPkgData>(PkgList, key); }
