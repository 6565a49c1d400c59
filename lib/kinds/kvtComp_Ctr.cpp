#include "kinds/kvtComp_Ctr.h"

void TCtrData::SetConstraintType(uint8_t value) {
  ConstraintType = value;
  switch (value) {
    case ctPrimaryKey: ObjType = dboPKey; break;
    case ctUnique: ObjType = dboUnique; break;
    case ctForeignKey: ObjType = dboFKey; break;
    case ctCheck: ObjType = dboCheck; break;
    case ctDefault: ObjType = dboDefault; break;
    case ctReferences: ObjType = dboReferences; break;
    default: break;
  }
}
