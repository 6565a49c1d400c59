#include "kinds/kvtComp_Exc.h"

#include "core/kvtDBStructure.h"

TExcData* TCustomObjs::FindException(const std::string& key) const {
  return FindIn<TExcData>(ExcList, key);
}
TEvtData* TCustomObjs::FindEvent(const std::string& key) const { return FindIn<TEvtData>(EvtList, key); }
