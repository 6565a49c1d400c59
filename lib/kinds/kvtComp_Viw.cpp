#include "kinds/kvtComp_Viw.h"

#include "kinds/kvtCompColumn.h"

TViwData::TViwData(TObjs* aObjs) : TDbObj(aObjs) { ObjType = dboView; }

TViwData::~TViwData() = default;
