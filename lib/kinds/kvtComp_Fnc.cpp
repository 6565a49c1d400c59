#include "kinds/kvtComp_Fnc.h"

#include "core/kvtDBStructure.h"

TUdfData* TCustomObjs::FindFunction(const std::string& key) const { return FindIn<TUdfData>(FncList, key); }
#include "kinds/kvtCompColumn.h"

TUdfData::TUdfData(TObjs* aObjs)
    : TDbObj(aObjs), ReturnField(std::make_unique<TFldData>(aObjs, nullptr)) {
  ObjType = dboFunction;
}

TUdfData::~TUdfData() {
  // The arguments go first, then the return column.
  Arguments.Clear();
  ReturnField.reset();
}
