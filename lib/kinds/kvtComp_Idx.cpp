#include "kinds/kvtComp_Idx.h"

#include "core/kvtDBStructure.h"

TIdxData* TCustomObjs::FindIndex(const std::string& key) const { return FindIn<TIdxData>(IdxList, key); }
