#include "kinds/kvtComp_Prc.h"

#include "core/kvtDBStructure.h"
#include "kinds/kvtCompColumn.h"
#include "script/kvtSQL_Exec.h"

namespace {
constexpr uint8_t kTypeUniqueIdentifier = dtUniqueIdentifier;
constexpr uint8_t kTypeTable = dtTable;
}  // namespace

TPrcData::TPrcData(TObjs* aObjs) : TDbObj(aObjs) { ObjType = dboProcedure; }

TPrcData::~TPrcData() = default;

TMemberPrcData::TMemberPrcData(TObjs* aObjs)
    : TPrcData(aObjs), Directive(std::make_unique<TTypeDirective>()) {}

TMemberPrcData::~TMemberPrcData() = default;

TFldData* TPrcData::FindParam(const std::string& name) const {
  if (TFldData* p = Params.Find(name)) return p;
  return Results.Find(name);
}

void TPrcData::SetNeedsRestore(bool value) {
  NeedsRestore = value;
  if (auto* pair = Pair ? Pair->As<TPrcData>() : nullptr) pair->NeedsRestore = value;
}

bool TPrcData::IsTableFunction() const {
  if (ReturnsTable) return true;
  return !Results.Empty() && Results[0] && Results[0]->DataType == kTypeTable;
}

// The parameter clause is written by the procedure kind; until then a stub
// carries no parameters.
std::string TPrcData::GetParamsSQL(bool) { return std::string(); }

std::string TPrcData::GetStubBody() {
  switch (GetServerType()) {
    case srvASA:
      return " begin Return end";
    case srvMySQL:
      return " BEGIN END";
    case srvMSSQL:
    case srvASE:
      if (ReturnsTable) return "Return (select 0 as Result)";
      if (Results.Count() == 1 && Results[0] && Results[0]->DataType == kTypeTable)
        return "begin Return end";
      if (Results.Count() == 1 && Results[0] && Results[0]->DataType == kTypeUniqueIdentifier)
        return "begin Return Null end";
      return "begin Return 0 end";
    default: {
      std::string body = IsFunction          ? " BEGIN RETURN NULL; END"
                         : !Results.Empty()  ? " BEGIN SUSPEND; END"
                                             : " BEGIN EXIT; END";
      if (GetServerType() == srvOracle) body += ";";
      return body;
    }
  }
}

std::string TPrcData::GetStubCreateSQL() {
  const TServerType st = GetServerType();
  const std::string params = GetParamsSQL(true);
  if (IsFunction && st != srvASA) {
    if (st == srvMSSQL || st == srvASE)
      return "CREATE FUNCTION " + GetQualifiedName() + params + "as\r\n" + GetStubBody();
    return "CREATE FUNCTION " + QuoteName(Name) + params + " AS\r\n" + GetStubBody();
  }
  std::string text = st == srvOracle ? "CREATE OR REPLACE PROCEDURE " : "CREATE PROCEDURE ";
  if (IsFunction) text = "CREATE FUNCTION ";
  if (st == srvASA) return text + QuoteName(Owner) + "." + QuoteName(Name) + params + "as\r\n" + GetStubBody();
  if (st == srvMySQL) return text + GetQualifiedName() + params + "\r\n" + GetStubBody();
  return text + GetQualifiedName() + params + " AS\r\n" + GetStubBody();
}

void TPrcData::EmptyBody(bool writeAlter) {
  const std::string stub = GetStubBody();
  if (!Exists || SameNormalizedText(Body, stub)) return;
  SetBody(stub);
  for (auto& r : UseOfList) r->Pending = false;
  if (Objs) {
    TObjs* master = Objs->Role == 1 ? static_cast<TObjs*>(Objs) : Objs->Partner;
    if (master)
      if (TPrcData* m = master->FindProcedure(Name)) m->SetNeedsRestore(true);
  }
  if (writeAlter) {
    if (TCustomSQLExec* exec = GetSQLExec())
      exec->AddStatement(GetAlterSQL(), skProcedure, Name, dboProcedure, saEmptyBody);
    CompareText = GetCreateSQL();
  }
}

void TPrcData::AppendCreateStatement() {
  if (TCustomSQLExec* exec = GetSQLExec())
    exec->AddStatement(GetCreateScript(), skProcedure, Name, dboProcedure, saCreate);
}

void TPrcData::AppendCreateDescriptions(TCustomSQLExec& exec) {
  if (!Description.empty()) exec.AddDescription(this);
  for (auto& e : Params)
    if (e.Obj && !e.Obj->Description.empty()) exec.AddDescription(e.Obj.get());
  for (auto& e : Results)
    if (e.Obj && !e.Obj->Description.empty()) exec.AddDescription(e.Obj.get());
}

bool TPrcData::ReleaseUse(TDbObj& /*used*/) {
  if (GetServerType() != srvASE && !SameNormalizedText(Body, GetStubBody())) EmptyBody(true);
  return true;
}

void TPrcData::ProvideFor(TDbObj& /*user*/, TDependObj& r) {
  if (GetExists()) return;
  // A procedure the target has by name is left to the procedure phases.
  TObjs* target = Objs ? Objs->TargetSide() : nullptr;
  if (target && target->PrcList.Contains(Name)) return;
  const TServerType st = GetServerType();
  if (st == srvPostgreSQL || st == srvASE || (st == srvMSSQL && IsTableFunction())) {
    CreateDependDef();
  } else {
    if (TCustomSQLExec* exec = GetSQLExec())
      exec->AddStatement(GetStubCreateSQL(), skProcedure, Name, dboProcedure, saCreateEmpty);
    SetNeedsRestore(true);
    SetExists(true);
  }
  r.Pending = false;
}

void TPrcData::DropDependents() {
  TDbObj::DropDependents();
  // The procedure itself is emptied before it goes, so that what it uses is
  // free; then whatever still uses it goes first.
  const std::string stub = GetStubBody();
  if (!SameNormalizedText(Body, stub)) {
    SetBody(stub);
    for (auto& r : UseOfList) r->Pending = false;
  }
  for (size_t i = 0; i < UseInList.size(); ++i) {
    TDependObj* r = UseInList[i].get();
    if (!r->Pending || !r->Obj || !r->Obj->GetExists()) continue;
    if (!r->Obj->IsFieldObject()) r->Obj->DropDependDef();
    r->Pending = false;
  }
}

TPrcData* TCustomObjs::FindProcedure(const std::string& key) const {
  return FindIn<TPrcData>(PrcList, key);
}

TFldData* TCustomObjs::FindProcParam(const std::string& procKey, const std::string& name) const {
  TPrcData* prc = FindProcedure(procKey);
  if (!prc) return nullptr;
  if (TFldData* p = prc->Params.Find(name)) return p;
  return prc->Results.Find(name);
}
