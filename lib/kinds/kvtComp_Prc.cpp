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
  if (!Exists || NormalizeText(Body) == NormalizeText(stub)) return;
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
