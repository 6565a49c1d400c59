#include "kinds/kvtComp_Trg.h"

#include "core/kvtDBStructure.h"
#include "script/kvtSQL_Exec.h"
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

void TTrgData::AppendCreateStatement() {
  if (TCustomSQLExec* exec = GetSQLExec())
    exec->AddStatement(GetCreateScript(), skTrigger, Name, dboTrigger, saCreate);
  CreatedBody = Body;
  for (auto& r : UseInList) r->Pending = false;
}

bool TTrgData::ReleaseUse(TDbObj& /*used*/) {
  const TServerType st = GetServerType();
  if (st == srvPostgreSQL || st == srvASE) {
    DropDependDef();
  } else {
    const std::string stub = GetStubBody();
    if (!SameNormalizedText(Body, stub)) {
      SetBody(stub);
      if (TCustomSQLExec* exec = GetSQLExec())
        exec->AddStatement(GetAlterSQL(), skTrigger, Name, dboTrigger, saEmptyBody);
    }
  }
  return true;
}

TTrgData* TCustomObjs::FindTrigger(const std::string& key) const {
  return FindIn<TTrgData>(TrgList, key);
}
