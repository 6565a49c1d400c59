#include "kinds/kvtComp_Prc.h"

#include "core/kvtCompareContext.h"
#include "core/kvtDBStructure.h"
#include "kinds/kvtCompColumn.h"
#include "kinds/kvtComp_Trg.h"
#include "kinds/kvtComp_Viw.h"
#include "kinds/kvtPhaseHeader.h"
#include "kinds/kvtScoped.h"
#include "kinds/kvtSqlText.h"
#include "script/kvtSQL_Exec.h"

namespace {

// The entries rendered by `fn`, separated by "," CR LF.
template <class Fn>
std::string JoinFields(const TNamedObjList<TFldData>& list, Fn fn) {
  std::string s;
  for (const auto& e : list)
    if (e.Obj) s += fn(*e.Obj) + ",\r\n";
  if (s.size() >= 3) s.resize(s.size() - 3);
  return s;
}

// The parameter mode word of a dialect: `words` holds the words of modes
// 1 (IN) to 4 (VARIADIC); modes without a word write nothing.
std::string ModeWord(uint8_t direction, const char* const (&words)[4]) {
  return direction >= pdIn && direction <= pdVariadic ? words[direction - 1] : "";
}

bool EndsWithLineBreak(const std::string& s) {
  return s.size() >= 2 && s.compare(s.size() - 2, 2, "\r\n") == 0;
}

// The procedure at the other end of a dependency record; null for other kinds.
TPrcData* ProcedureOf(const TDependObj& r) { return r.Obj ? r.Obj->As<TPrcData>() : nullptr; }

// The target procedure of a master one (and the reverse): its Pair.
TPrcData* PairOf(TPrcData* p) { return p && p->Pair ? p->Pair->As<TPrcData>() : nullptr; }


// MySQL routine characteristics in bit order, with their bit.
struct TCharacteristicWord {
  uint8_t Bit;
  const char* Text;
};
constexpr TCharacteristicWord kCharacteristicWords[] = {
    {pcLanguageSql, "     LANGUAGE SQL"},
    {pcDeterministic, "     DETERMINISTIC"},
    {pcNotDeterministic, "     NOT DETERMINISTIC"},
    {pcNoSql, "     NO SQL"},
    {pcReadsSqlData, "     READS SQL DATA"},
    {pcModifiesSqlData, "     MODIFIES SQL DATA"},
    {pcSqlSecurityDefiner, "     SQL SECURITY DEFINER"},
    {pcSqlSecurityInvoker, "     SQL SECURITY INVOKER"},
};

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
  return !Results.Empty() && Results[0] && Results[0]->DataType == dtTable;
}

// ---------------------------------------------------------------------------
// Keys and texts

std::string TPrcData::GetDisplayName() { return GetListKey(); }

std::string TPrcData::GetListKey() {
  switch (GetServerType()) {
    case srvMSSQL: {
      std::string key = TDbObj::GetListKey();
      if (GroupNumber != 0) key += ";" + std::to_string(GroupNumber);
      return key;
    }
    case srvPostgreSQL: {
      // Overloads are separate objects: the argument types are part of the key.
      std::string types;
      for (const auto& e : Params)
        if (e.Obj) types += (types.empty() ? "" : ", ") + LowerAscii(e.Obj->GetTypeText());
      return (Schema.empty() ? "" : Schema + ".") + Name + "(" + types + ")";
    }
    default:
      return TDbObj::GetListKey();
  }
}

std::string TPrcData::GetParamsSQL(bool withReturns) {
  const TServerType st = GetServerType();
  TFldData* first = Results.Empty() ? nullptr : Results[0];
  auto definition = [](TFldData& f) { return f.GetCreateSQL(); };
  switch (st) {
    case srvASA: {
      static const char* const modes[4] = {"In ", "Out ", "InOut ", ""};
      std::string s = "(" + JoinFields(Params, [&](TFldData& f) {
                        return ModeWord(f.Direction, modes) + QuoteName(f.Name) + " " + f.GetTypeText();
                      }) + ")\r\n";
      if (first) {
        if (IsFunction)
          s += "RETURNS " + first->GetTypeText();
        else
          s += " Result(" + JoinFields(Results, [&](TFldData& f) {
                 return QuoteName(f.Name) + " " + f.GetTypeText();
               }) + ")\r\n";
      }
      return s;
    }
    case srvMySQL: {
      static const char* const modes[4] = {"IN ", "OUT ", "INOUT ", ""};
      std::string s = !ParamsText.empty()
                          ? ParamsText
                          : "(" + JoinFields(Params, [&](TFldData& f) {
                              return ModeWord(f.Direction, modes) +
                                     (f.Name.empty() ? "" : QuoteName(f.Name) + " ") + f.GetTypeText();
                            }) + ")";
      if (withReturns && first) s += "\r\nRETURNS " + first->GetTypeText();
      return s;
    }
    case srvMSSQL:
    case srvASE: {
      const bool parens = IsFunction || !Language.empty();
      std::string s = std::string(" ") + (parens ? "(" : "") + JoinFields(Params, definition) +
                      (parens ? ")" : "") + "\r\n";
      if (ReturnsTable)
        s += " RETURNS TABLE\r\n";
      else if (Results.Count() == 1 && first)
        s += " RETURNS " + first->GetCreateSQL() + "\r\n";
      return s;
    }
    case srvPostgreSQL: {
      static const char* const modes[4] = {"IN ", "OUT ", "INOUT ", "VARIADIC "};
      std::string s = "(" + JoinFields(Params, [&](TFldData& f) {
                        return ModeWord(f.Direction, modes) +
                               (f.Name.empty() ? "" : QuoteName(f.Name) + " ") + f.GetTypeText();
                      }) + ")";
      if (withReturns) {
        s += "\r\nRETURNS ";
        if (ReturnsSetOf) s += "SETOF ";
        s += !ReturnType.empty() ? ReturnType : first ? first->GetTypeText() : std::string();
      }
      return s;
    }
    default: {  // InterBase/Firebird, Oracle, DB2
      std::string s;
      if (!Params.Empty()) s = "(" + JoinFields(Params, definition) + ")\r\n";
      if (first) {
        // Oracle names the return type of a function with RETURN.
        const char* returns = !IsFunction ? " RETURNS(" : st == srvOracle ? " RETURN " : " RETURNS ";
        s += returns + JoinFields(Results, [](TFldData& f) {
               return f.GetCreateSQL() + (f.Deterministic ? " DETERMINISTIC" : "");
             });
        if (!IsFunction) s += ")";
        s += "\r\n";
      }
      return s;
    }
  }
}

std::string TPrcData::GetMSSQLRoutineText() {
  std::string s = RoutineKind() + GetQualifiedName();
  if (GroupNumber != 0) s += ";" + std::to_string(GroupNumber);
  s += GetParamsSQL(true);
  if (!Language.empty()) {  // an external (Java) routine
    if (ModifiesSqlData) s += "  modifies sql data\r\n";
    if (Strict) s += "  returns null on null input\r\n";
    if (DynamicResultSets > 0) s += "  dynamic result sets " + std::to_string(DynamicResultSets) + "\r\n";
    if (Deterministic) s += "  deterministic\r\n";
    if (Exportable) s += "  exportable\r\n";
    return s + "  language " + Language + "\r\n  parameter style " + ParameterStyle +
           "\r\n  external name " + QuoteLiteral(ExternalName, GetServerType());
  }
  if (!WithOptions.empty()) s += " WITH " + WithOptions + "\r\n";
  // A parsed body begins with AS; the stub does not.
  return s + (HasStubBody() ? " AS " + NormalizeText(Body) : " " + Body);
}

std::string TPrcData::GetPGRoutineText() {
  std::string s = RoutineKind() + (Schema.empty() ? "" : QuoteName(Schema) + ".") + QuoteName(Name) +
                  GetParamsSQL(true);
  if (!Body.empty())
    s += "\r\nAS $$" + Body + "$$";
  else
    s += "\r\nAS " + QuoteLiteral(ObjFile, srvPostgreSQL) + ", " +
         QuoteLiteral(LinkSymbol, srvPostgreSQL);
  if (!Language.empty()) s += "\r\nLANGUAGE " + QuoteLiteral(Language, srvPostgreSQL);
  if (!ExtraAttributes.empty()) s += " " + ExtraAttributes;
  if (Strict) s += " STRICT";
  return s;
}

std::string TPrcData::GetMySQLRoutineText() {
  std::string s = RoutineKind() + GetQualifiedName() + GetParamsSQL(true) + "\r\n";
  if (!Description.empty()) s += "     COMMENT " + QuoteLiteral(Description, srvMySQL) + "\r\n";
  for (const TCharacteristicWord& w : kCharacteristicWords)
    if (Characteristics.test(w.Bit)) s += std::string(w.Text) + "\r\n";
  return s + Body;
}

std::string TPrcData::GetCreateSQL() {
  switch (GetServerType()) {
    case srvASA: {
      // A function's clause ends with its return type; the body needs a
      // separator of its own there.
      const std::string params = GetParamsSQL(true);
      return "CREATE " + RoutineKind() + GetQualifiedName() + params +
             (EndsWithLineBreak(params) ? "" : "\r\n") + Body;
    }
    case srvMySQL:
      return "CREATE " + GetMySQLRoutineText();
    case srvOracle:
      return "CREATE OR REPLACE " + RoutineKind() + Name + "\r\n" + Body;
    case srvMSSQL:
    case srvASE:
      if (Body.empty() && Language.empty()) return StatementText;
      return "CREATE " + GetMSSQLRoutineText();
    case srvPostgreSQL:
      return "CREATE " + GetPGRoutineText();
    case srvDB2:
      return std::string();
    default:  // InterBase/Firebird
      return "CREATE " + RoutineKind() + QuoteName(Name) + GetParamsSQL(true) + " AS\r\n" + Body;
  }
}

std::string TMemberPrcData::GetCreateSQL() {
  std::string s = "   " + GetDirectiveText(*Directive) + "MEMBER " +
                  (IsFunction ? "FUNCTION " : "PROCEDURE ") + Name + Signature;
  if (IsFunction && !Results.Empty() && Results[0]) s += " RETURN " + Results[0]->GetCreateSQL();
  return s;
}

std::string TPrcData::GetAlterSQL() {
  switch (GetServerType()) {
    case srvASA:
    case srvMySQL: {
      const std::string create = GetCreateSQL();
      return "ALTER " + create.substr(create.compare(0, 7, "CREATE ") == 0 ? 7 : 0);
    }
    case srvOracle:
      return GetCreateSQL();
    case srvMSSQL:
    case srvASE:
      // A body that holds a whole CREATE statement becomes the ALTER statement.
      if (Body.size() >= 6 && UpperAscii(Body.substr(0, 6)) == "CREATE") return "ALTER" + Body.substr(6);
      return "ALTER " + GetMSSQLRoutineText();
    case srvPostgreSQL:
      if (TCustomSQLExec* exec = GetSQLExec()) exec->SetCurrentSchema(Schema);
      return "CREATE OR REPLACE " + GetPGRoutineText();
    case srvDB2:
      return std::string();
    default: {  // InterBase/Firebird
      const std::string create = GetCreateSQL();
      return "ALTER " + create.substr(create.compare(0, 7, "CREATE ") == 0 ? 7 : 0);
    }
  }
}

std::string TPrcData::GetDropSQL() {
  const std::string drop = IsFunction ? "DROP FUNCTION " : "DROP PROCEDURE ";
  const std::string schema = Schema.empty() ? std::string() : QuoteName(Schema) + ".";
  switch (GetServerType()) {
    case srvASA:
      return drop + GetQualifiedName();
    case srvMySQL:
      return drop + " IF EXISTS " + QuoteName(Name);
    case srvOracle:
    case srvMSSQL:
      return drop + schema + QuoteName(Name);
    case srvPostgreSQL:
      return drop + schema + QuoteName(Name) + GetParamsSQL(false);
    default:  // InterBase/Firebird, DB2, ASE
      return drop + QuoteName(Name);
  }
}

// ---------------------------------------------------------------------------
// Stubs

std::string TPrcData::GetStubBody() {
  const TServerType st = GetServerType();
  switch (st) {
    case srvASA:
      return " begin Return end";
    case srvMySQL:
      // A MySQL function must return a value.
      return IsFunction ? " BEGIN RETURN NULL; END" : " BEGIN END";
    case srvMSSQL:
    case srvASE:
      if (ReturnsTable) return "Return (select 0 as Result)";
      if (Results.Count() == 1 && Results[0] && Results[0]->DataType == dtTable) return "begin Return end";
      if (Results.Count() == 1 && Results[0] && Results[0]->DataType == dtUniqueIdentifier)
        return "begin Return Null end";
      return "begin Return 0 end";
    default: {
      std::string body = IsFunction          ? " BEGIN RETURN NULL; END"
                         : !Results.Empty()  ? " BEGIN SUSPEND; END"
                                             : " BEGIN EXIT; END";
      if (st == srvOracle) body += ";";
      return body;
    }
  }
}

std::string TPrcData::WithStubBody(std::string (TPrcData::*text)()) {
  return RenderWithBody(*this, GetStubBody(), [this, text] { return (this->*text)(); });
}

std::string TPrcData::GetStubCreateSQL() {
  const TServerType st = GetServerType();
  const std::string params = GetParamsSQL(true);
  const std::string stub = GetStubBody();
  switch (st) {
    case srvASA:
      // The routine's own form (parameters in parentheses, then the body);
      // a function keeps its RETURNS clause on a line of its own.
      return "CREATE " + RoutineKind() + GetQualifiedName() + params +
             (EndsWithLineBreak(params) ? "" : "\r\n") + stub;
    case srvMySQL:
      // The routine text with its characteristics, without an AS.
      return "CREATE " + WithStubBody(&TPrcData::GetMySQLRoutineText);
    case srvOracle:
      return "CREATE OR REPLACE " + RoutineKind() + (IsFunction ? QuoteName(Name) : GetQualifiedName()) +
             params + " AS\r\n" + stub;
    case srvMSSQL:
    case srvASE:
      if (IsFunction) return "CREATE FUNCTION " + GetQualifiedName() + params + "as\r\n" + stub;
      return "CREATE PROCEDURE " + GetQualifiedName() + params + " AS\r\n" + stub;
    case srvDB2:
      return std::string();  // no procedure texts for DB2: a stub could never be restored
    default:
      if (IsFunction) return "CREATE FUNCTION " + QuoteName(Name) + params + " AS\r\n" + stub;
      return "CREATE PROCEDURE " + GetQualifiedName() + params + " AS\r\n" + stub;
  }
}

std::string TPrcData::GetStubAlterSQL() {
  switch (GetServerType()) {
    case srvASA: {
      const std::string create = GetStubCreateSQL();
      return "ALTER " + create.substr(7);
    }
    case srvOracle:
      return GetStubCreateSQL();  // CREATE OR REPLACE
    case srvPostgreSQL:
      return "CREATE OR REPLACE " + WithStubBody(&TPrcData::GetPGRoutineText);
    case srvDB2:
      return std::string();
    default:
      return "ALTER " + RoutineKind() + GetQualifiedName() + GetParamsSQL(true) + " AS\r\n" +
             GetStubBody();
  }
}

bool TPrcData::SameText(const std::string& a, const std::string& b) const {
  return SameSqlText(a, b, GetServerType());
}

bool TPrcData::HasStubBody() { return SameText(Body, GetStubBody()); }

bool TPrcData::CanEmptyBody() {
  // MySQL binds routine bodies when they run, so nothing has to be emptied
  // (and it could only be done by dropping the routine); ASE routines that
  // must go are dropped and created again instead.
  const TServerType st = GetServerType();
  return GetExists() && st != srvMySQL && st != srvASE && !HasStubBody();
}

void TPrcData::EmptyBody(bool writeAlter) {
  if (!CanEmptyBody()) return;
  SetBody(GetStubBody());
  for (auto& r : UseOfList) r->Pending = false;
  // The master procedure has to get its body back later in the run.
  TPrcData* master = nullptr;
  if (Objs && Objs->Role == 2) master = PairOf(this);
  if (!master && Objs)
    if (TObjs* m = Objs->MasterSide()) master = m->FindProcedure(Name);
  if (master) master->SetNeedsRestore(true);
  if (writeAlter) {
    WriteDefinition(saEmptyBody);
    CompareText = GetCreateSQL();
  }
}

void TPrcData::WriteDefinition(uint8_t action) {
  TCustomSQLExec* exec = GetSQLExec();
  if (!exec) return;
  if (GetServerType() == srvMySQL) {
    // MySQL alters no routine body: the routine is dropped and created.
    exec->AddStatement(GetDropSQL(), skStatement, Name, dboProcedure, saDrop);
    exec->AddStatement(GetCreateScript(), skProcedure, Name, dboProcedure, action);
  } else {
    exec->AddStatement(GetAlterSQL(), skProcedure, Name, dboProcedure, action);
  }
}

// ---------------------------------------------------------------------------
// Dependency walks

void TPrcData::AppendCreateStatement() {
  if (TCustomSQLExec* exec = GetSQLExec())
    exec->AddStatement(GetCreateScript(), skProcedure, Name, dboProcedure, saCreate);
  // The target now holds the master's text.
  if (Objs && Objs->Role == 1)
    if (TPrcData* target = PairOf(this)) target->CompareText = GetCreateSQL();
}

void TPrcData::AppendCreateDescriptions(TCustomSQLExec& exec) {
  if (!Description.empty()) exec.AddDescription(this);
  for (auto& e : Params)
    if (e.Obj && !e.Obj->Description.empty()) exec.AddDescription(e.Obj.get());
  for (auto& e : Results)
    if (e.Obj && !e.Obj->Description.empty()) exec.AddDescription(e.Obj.get());
}

void TPrcData::WriteParamDescriptions() {
  TCustomSQLExec* exec = GetSQLExec();
  if (!exec || !GetCompareObjects().Contains(coDescription)) return;
  TPrcData* target = Objs && Objs->Role == 1 ? PairOf(this) : nullptr;
  for (auto* list : {&Params, &Results})
    for (auto& e : *list) {
      if (!e.Obj || e.Obj->Description.empty()) continue;
      exec->AddDescription(e.Obj.get());
      // The target's parameter holds it now.
      if (TFldData* tf = target ? target->FindParam(e.Obj->Name) : nullptr)
        tf->Description = e.Obj->Description;
    }
}

bool TPrcData::ReleaseUse(TDbObj& /*used*/) {
  EmptyBody(true);
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
  if (!HasStubBody()) {
    SetBody(GetStubBody());
    for (auto& r : UseOfList) r->Pending = false;
  }
  for (size_t i = 0; i < UseInList.size(); ++i) {
    TDependObj* r = UseInList[i].get();
    if (!r->Pending || !r->Obj || !r->Obj->GetExists() || r->Obj->IsFieldObject()) continue;
    r->Obj->DropDependDef();
    r->Pending = false;
  }
  // Computed columns that call the function go with it.
  for (size_t i = 0; i < UseInList.size(); ++i) {
    TDependObj* r = UseInList[i].get();
    if (!r->Pending || !r->Obj || !r->Obj->IsComputedColumn()) continue;
    r->Obj->DropDependDef();
    r->Pending = false;
  }
}

void TPrcData::CreateDependencies() {
  TDbObj::CreateDependencies();
  for (size_t i = 0; i < UseOfList.size(); ++i)
    if (auto* viw = UseOfList[i]->Obj ? UseOfList[i]->Obj->As<TViwData>() : nullptr)
      EnsureViewCurrent(*viw, "procedure", Name);
}

// ---------------------------------------------------------------------------
// Comparison

bool TPrcData::ParamsDiffer(TPrcData& other) {
  return !SameText(GetParamsSQL(true), other.GetParamsSQL(true));
}

bool TPrcData::NeedsAlter() { return Pair && !SameText(GetCreateSQL(), Pair->CompareText); }

namespace {

// Views that read a procedure whose parameters change go first; the view
// phases create them again once the procedure has its new parameters.
void DropViewsOnChangedParams(TPrcData& target, const std::string& reason) {
  for (size_t i = 0; i < target.UseInList.size(); ++i) {
    TDependObj* r = target.UseInList[i].get();
    if (!r->Obj || !r->Obj->IsView() || !r->Obj->GetExists()) continue;
    WriteComment(target, " Drop " + r->Obj->Name + " for " + reason + "(param list change) ");
    r->Obj->DropDependDef();
    r->Pending = false;
  }
}

}  // namespace

void TPrcData::AlterInTarget() {
  if (Altering) return;
  TFlagScope altering(Altering);

  TPrcData* target = PairOf(this);
  if (target) {
    // A callee whose parameters change: this body cannot be written before
    // the callee has its new parameters, so it is emptied first.
    for (size_t i = 0; i < target->UseOfList.size(); ++i) {
      TPrcData* callee = ProcedureOf(*target->UseOfList[i]);
      TPrcData* masterCallee = PairOf(callee);
      if (!masterCallee || !target->CanEmptyBody() || !masterCallee->ParamsDiffer(*callee)) continue;
      TCauseScope cause(GetSQLExec(), *callee);
      WriteComment(*this, "Params list changed into " + QuoteName(callee->Name) + "... ");
      WriteComment(*this, "Empty: " + target->Name);
      target->EmptyBody(true);
    }
    // Procedures calling this one are emptied before it changes.
    TCauseScope cause(GetSQLExec(), *target);
    for (size_t i = 0; i < target->UseInList.size(); ++i) {
      TDependObj* r = target->UseInList[i].get();
      TPrcData* caller = ProcedureOf(*r);
      if (caller && PairOf(caller) && caller->CanEmptyBody()) {
        WriteComment(*this, "empty dependent procedure body");
        WriteComment(*this, "Clear: " + caller->Name + " for: " + Name);
        caller->EmptyBody(true);
      } else if (GetServerType() == srvMSSQL && r->Obj && r->Obj->GetListId() == olCtr) {
        r->Obj->DropDependDef();
      }
    }
    if (ParamsDiffer(*target)) DropViewsOnChangedParams(*target, Name);
  }

  // What the new body uses: missing views and tables, callees whose
  // parameters change.
  for (size_t i = 0; i < UseOfList.size(); ++i) {
    TDependObj* r = UseOfList[i].get();
    TDbObj* u = r->Obj;
    if (!r->Pending || !u) continue;
    if ((u->IsView() || u->IsTable()) && !u->GetExists()) {
      u->CreateDependDef();
    } else if (TPrcData* callee = u->As<TPrcData>()) {
      TPrcData* targetCallee = PairOf(callee);
      if (callee != this && targetCallee && targetCallee->GetExists() &&
          callee->ParamsDiffer(*targetCallee) && callee->NeedsAlter())
        callee->AlterInTarget();
    }
  }

  if (!GetExists()) {
    // Gone during the run (or never created): created with its body.
    CreateDependDef();
    SetNeedsRestore(false);
    return;
  }
  if (!target || !NeedsAlter()) return;
  CreateDependencies();
  WriteComment(*this, "Alter (" + Name + ")");
  if (GetServerType() == srvASE) {
    target->DropDependDef();
    CreateDependDef();
  } else {
    WriteDefinition(saAlter);
    // The target procedure runs this body now.
    target->ReleaseUses();
  }
  target->CompareText = GetCreateSQL();
  SetNeedsRestore(false);
  SetExists(true);
  WriteParamDescriptions();
}

// ---------------------------------------------------------------------------
// Container lookups

TPrcData* TCustomObjs::FindProcedure(const std::string& key) const {
  return FindIn<TPrcData>(PrcList, key);
}

TFldData* TCustomObjs::FindProcParam(const std::string& procKey, const std::string& name) const {
  TPrcData* prc = FindProcedure(procKey);
  if (!prc) return nullptr;
  if (TFldData* p = prc->Params.Find(name)) return p;
  return prc->Results.Find(name);
}

// ---------------------------------------------------------------------------
// Phases

namespace {

// Procedures of a list in list order. A walk that creates objects may add
// to other lists, never to this one.
template <class Fn>
void ForEachProcedure(TObjs& objs, Fn fn) {
  for (int i = 0; i < objs.PrcList.Count(); ++i)
    if (auto* p = objs.PrcList.Objects(i)->As<TPrcData>()) fn(*p);
}

}  // namespace

void DropProcedures(TCompareContext& ctx) {
  const TServerType st = ctx.Target.ServerType;
  if (st != srvASE) {
    TPhaseHeader header(ctx.Exec, "Alter Procedure (Before Drop)...");
    ForEachProcedure(ctx.Target, [&](TPrcData& t) {
      if (t.Pair) return;
      bool pending = false;
      for (auto& r : t.UseOfList) pending = pending || r->Pending;
      if (!pending) return;
      if (!t.SameText(t.CompareText, t.GetStubCreateSQL()) && t.CanEmptyBody()) {
        header.Write(t);
        t.EmptyBody(true);
      }
      for (auto& r : t.UseOfList) r->Pending = false;
    });
    header.Close();
  }
  TPhaseHeader header(ctx.Exec, "Drop Procedure...");
  ForEachProcedure(ctx.Target, [&](TPrcData& t) {
    if (t.Pair || !t.GetExists()) return;
    header.Write(t);
    t.DropDependDef();
  });
  header.Close();
}

void CreateProcedureStubs(TCompareContext& ctx) {
  const TServerType st = ctx.Target.ServerType;
  TCustomSQLExec& exec = ctx.Exec;
  TPhaseHeader header(exec, "Create Procedure...");
  ForEachProcedure(ctx.Master, [&](TPrcData& m) {
    if (m.Pair || m.GetExists()) return;
    if (st == srvPostgreSQL || st == srvASE) {
      exec.AddStatement(m.GetCreateScript(), skProcedure, m.GetQualifiedName(), dboProcedure, saCreate);
      m.SetExists(true);
      if (ctx.Compares(coDescription)) m.AppendCreateDescriptions(exec);
    } else if (st == srvMSSQL && m.IsTableFunction()) {
      // A table function is created with its real body: its callers read
      // its columns.
      exec.AddComment(m.MakeComment("Create Procedure (returns table)..."));
      m.CreateDependDef();
    } else {
      header.Write(m);
      exec.AddStatement(m.GetStubCreateSQL(), skProcedure, m.GetQualifiedName(), dboProcedure,
                        saCreateEmpty);
      m.SetNeedsRestore(true);
      m.SetExists(true);
      if (ctx.Compares(coDescription)) m.AppendCreateDescriptions(exec);
    }
  });
  header.Close();
}

void AlterProcedures(TCompareContext& ctx) {
  const TServerType st = ctx.Target.ServerType;
  TCustomSQLExec& exec = ctx.Exec;

  // A: drop and create where the dialect cannot alter; empty the callers of
  // procedures whose parameters change.
  ForEachProcedure(ctx.Master, [&](TPrcData& m) {
    TPrcData* t = PairOf(&m);
    if (!t) return;
    if (st == srvMySQL || st == srvASE || m.IsFunction != t->IsFunction) {
      if (!m.NeedsAlter()) return;
      t->DropDependDef();
      m.CreateDependDef();
      t->CompareText = m.GetCreateSQL();
      m.SetNeedsRestore(false);
      return;
    }
    if (!m.ParamsDiffer(*t) || m.SameText(m.CompareText, t->CompareText)) return;
    TCauseScope cause(&exec, *t);  // what is emptied or dropped here records it
    for (size_t i = 0; i < t->UseInList.size(); ++i) {
      TDependObj* r = t->UseInList[i].get();
      if (!r->Pending || !r->Obj) continue;
      if (TPrcData* caller = ProcedureOf(*r)) {
        if (!caller->CanEmptyBody()) continue;
        exec.AddComment(m.MakeComment(" Empty " + caller->Name + " for " + m.Name + "(param list change) "));
        caller->EmptyBody(true);
        r->Pending = false;
      } else if (auto* trg = r->Obj->As<TTrgData>()) {
        trg->EmptyBody();
        trg->CompareText = trg->GetCreateSQL();
        r->Pending = false;
      }
    }
    DropViewsOnChangedParams(*t, m.Name);
  });

  // B: a procedure with callers and new parameters first gets the new
  // parameters with the stub body, so that its callers can be restored.
  ForEachProcedure(ctx.Target, [&](TPrcData& t) {
    TPrcData* m = PairOf(&t);
    if (!m || !m->ParamsDiffer(t) || m->SameText(m->CompareText, t.CompareText)) return;
    bool called = false;
    for (auto& r : m->UseInList) called = called || (r->Obj && r->Obj->IsProcedure());
    if (!called) return;
    exec.AddComment(m->MakeComment("Alter empty procedure " + m->Name + " with new param-list"));
    exec.AddStatement(m->GetStubAlterSQL(), skProcedure, m->Name, dboProcedure, saEmptyBody);
    t.EmptyBody(false);
    t.CompareText = m->WithStubBody(&TPrcData::GetCreateSQL);
    m->WriteParamDescriptions();
  });

  // C: every procedure the target does not hold as the master has it.
  TPhaseHeader header(exec, "Alter Procedure...");
  ForEachProcedure(ctx.Master, [&](TPrcData& m) {
    const bool selected = m.Pair ? !m.GetExists() || m.NeedsAlter() : m.NeedsRestore || !m.GetExists();
    if (!selected) return;
    header.Write(m);
    m.AlterInTarget();
  });
  if (ctx.Compares(coDescription)) {
    ForEachProcedure(ctx.Master, [&](TPrcData& m) {
      TPrcData* t = PairOf(&m);
      if (!t) return;
      if (m.Description != t->Description) {
        if (st == srvASA)
          exec.AddStatement("COMMENT ON PROCEDURE " + m.Name + " IS " + QuoteLiteral(m.Description, srvASA),
                            skStatement, m.Name, dboProcedure, saDescription);
        else if (st == srvInterBase)
          exec.AddDescription(&m);
        t->Description = m.Description;  // the target holds it now
      }
      if (st != srvInterBase) return;
      for (auto* list : {&m.Params, &m.Results})
        for (auto& e : *list) {
          TFldData* tf = e.Obj ? t->FindParam(e.Obj->Name) : nullptr;
          if (!tf || tf->Description == e.Obj->Description) continue;
          exec.AddDescription(e.Obj.get());
          tf->Description = e.Obj->Description;
        }
    });
  }

  // D: bodies emptied or created as stubs earlier get their real text.
  ForEachProcedure(ctx.Master, [&](TPrcData& m) {
    if (!m.NeedsRestore) return;
    if (m.Pair && !m.NeedsAlter() && m.GetExists()) {
      m.SetNeedsRestore(false);
      return;
    }
    exec.AddComment(m.MakeComment("Restore proc. body: " + m.Name));
    if (!m.GetExists())
      m.CreateDependDef();
    else
      m.WriteDefinition(saRestoreBody);
    if (TPrcData* t = PairOf(&m)) t->CompareText = m.GetCreateSQL();
    m.SetNeedsRestore(false);
    m.WriteParamDescriptions();
  });
  header.Close();
}
