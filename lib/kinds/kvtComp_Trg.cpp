#include "kinds/kvtComp_Trg.h"

#include "core/kvtDBStructure.h"
#include "kinds/kvtCompColumn.h"
#include "kinds/kvtComp_Tbl.h"
#include "kinds/kvtComp_Viw.h"

TTrgData::TTrgData(TObjs* aObjs) : TDbObj(aObjs) { ObjType = dboTrigger; }

TTrgData::~TTrgData() = default;

void TTrgData::SetTableName(const std::string& name) {
  if (name != TableName || !Table) {
    Table = nullptr;
    if (Objs) {
      const std::string key = GetServerType() == srvASA ? QualifyName(Owner, name) : name;
      if (TTblData* t = Objs->FindTable(key))
        Table = t;
      else if (TViwData* v = Objs->FindView(key))
        Table = v;
    }
  }
  TableName = name;
}

void TTrgData::SetNeedsRestore(bool value) {
  NeedsRestore = value;
  if (auto* pair = Pair ? Pair->As<TTrgData>() : nullptr) pair->NeedsRestore = value;
}

std::string TTrgData::GetStubBody() {
  switch (GetServerType()) {
    case srvMySQL:
      return " BEGIN END";
    case srvMSSQL:
      return " declare @i integer;\r\nbegin set @i = 0; end";
    default:
      return " AS Declare variable I integer;\r\nBEGIN I = 0; END";
  }
}
