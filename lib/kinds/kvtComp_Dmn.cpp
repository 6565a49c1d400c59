#include "kinds/kvtComp_Dmn.h"

#include "core/kvtDBStructure.h"

TDmnData* TCustomObjs::FindDomain(const std::string& key) const { return FindIn<TDmnData>(DmnList, key); }
#include "kinds/kvtCompColumn.h"
#include "kinds/kvtComp_Prc.h"

TPGTypeOptions::TPGTypeOptions(TDmnData* domain) : Domain(domain) {}

TPGTypeOptions::~TPGTypeOptions() = default;

TDmnData::TDmnData(TObjs* aObjs)
    : TDbObj(aObjs),
      Directive(std::make_unique<TTypeDirective>()),
      PGOptions(std::make_unique<TPGTypeOptions>(this)) {
  ObjType = dboDomain;
  BaseField = std::make_unique<TFldData>(aObjs, this);
}

TDmnData::~TDmnData() = default;
