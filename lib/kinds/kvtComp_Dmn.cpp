#include "kinds/kvtComp_Dmn.h"

#include "core/kvtDBStructure.h"

TDmnData* TCustomObjs::FindDomain(const std::string& key) const { return FindIn<TDmnData>(DmnList, key); }
