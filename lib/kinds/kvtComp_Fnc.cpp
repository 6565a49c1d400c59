#include "kinds/kvtComp_Fnc.h"

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
