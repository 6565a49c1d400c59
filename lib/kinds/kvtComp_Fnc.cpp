#include "kinds/kvtComp_Fnc.h"

#include "core/kvtDBStructure.h"

TUdfData* TCustomObjs::FindFunction(const std::string& key) const { return FindIn<TUdfData>(FncList, key); }
