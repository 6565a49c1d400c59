#include "kinds/kvtComp_Ctr.h"

#include "core/kvtDBStructure.h"

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

const char* TCtrData::GetAutoNamePrefix() const {
  switch (ConstraintType) {
    case ctPrimaryKey: return "PK__";
    case ctUnique: return "UQ__";
    case ctForeignKey: return "FK__";
    case ctDefault: return "DF__";
    default: return "";
  }
}

TCtrData* TCustomObjs::FindConstraint(const std::string& key) const {
  return FindIn<TCtrData>(CtrList, key);
}
