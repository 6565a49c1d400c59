#include "compare/kvtVeltrane.h"

#include <exception>
#include <initializer_list>

#include "compare/kvtScriptHeader.h"
#include "core/kvtClasses.h"
#include "core/kvtDBOptions.h"
#include "core/kvtDBStructure.h"
#include "extract/kvtCustomScriptExtract.h"
#include "kinds/kvtCompColumn.h"
#include "kinds/kvtComp_Gnr.h"
#include "kinds/kvtComp_Tbl.h"
#include "kinds/kvtComp_Viw.h"
#include "script/kvtSQL_Exec.h"

namespace {

// The extractor attached to a structure, when it is one of ours.
TCustomExtract* ExtractorOf(TCustomDBStructure* s) {
  return s ? dynamic_cast<TCustomExtract*>(s->Extractor) : nullptr;
}

void ClearPairs(TNamedObjList<TFldData>& columns) {
  for (auto& e : columns)
    if (e.Obj) e.Obj->Pair = nullptr;
}

void ClearPairs(TObjs& objs) {
  for (TObjList* list : objs.AllLists())
    for (const auto& e : *list) {
      TDbObj* obj = e.Obj.get();
      obj->Pair = nullptr;
      if (auto* tbl = obj->As<TTblData>()) ClearPairs(tbl->Fields);
      else if (auto* viw = obj->As<TViwData>()) ClearPairs(viw->Columns);
    }
}

// Every object of `from` is looked up by its list key in `to`; a hit makes
// the two each other's Pair.
void PairList(const TObjList& from, const TObjList& to) {
  if (from.Empty() || to.Empty()) return;
  for (const auto& e : from) {
    TDbObj* obj = e.Obj.get();
    if (TDbObj* other = to.Find(obj->GetListKey())) {
      obj->Pair = other;
      other->Pair = obj;
    }
  }
}

// Columns within one paired table or view, by key in the other's column list.
void PairColumns(const TNamedObjList<TFldData>& from, const TNamedObjList<TFldData>& to) {
  for (const auto& e : from) {
    if (!e.Obj) continue;
    if (TFldData* other = to.Find(e.Obj->GetListKey())) {
      e.Obj->Pair = other;
      other->Pair = e.Obj.get();
    }
  }
}

void PairContainerColumns(TObjs& master) {
  for (const auto& e : master.TblList) {
    auto* tbl = e.Obj->As<TTblData>();
    auto* other = tbl && tbl->Pair ? tbl->Pair->As<TTblData>() : nullptr;
    if (!other) continue;
    PairColumns(tbl->Fields, other->Fields);
    PairColumns(other->Fields, tbl->Fields);
  }
  for (const auto& e : master.ViwList) {
    auto* viw = e.Obj->As<TViwData>();
    auto* other = viw && viw->Pair ? viw->Pair->As<TViwData>() : nullptr;
    if (!other) continue;
    PairColumns(viw->Columns, other->Columns);
    PairColumns(other->Columns, viw->Columns);
  }
}

bool EndsWithCheckOption(const std::string& body) {
  static const std::string kTail = "WITH CHECK OPTION";
  return body.size() >= kTail.size() &&
         UpperAscii(body.substr(body.size() - kTail.size())) == kTail;
}

// Two InterBase/Firebird views that differ only in the letter case of their
// closing WITH CHECK OPTION are not rebuilt: the target takes the master's tail.
void NormalizeCheckOptionTails(TObjs& master) {
  const size_t n = 17;  // length of "WITH CHECK OPTION"
  for (const auto& e : master.ViwList) {
    TDbObj* m = e.Obj.get();
    TDbObj* t = m->Pair;
    if (!t || !EndsWithCheckOption(m->Body) || !EndsWithCheckOption(t->Body)) continue;
    const std::string masterTail = m->Body.substr(m->Body.size() - n);
    if (t->Body.compare(t->Body.size() - n, n, masterTail) != 0)
      t->Body.replace(t->Body.size() - n, n, masterTail);
  }
}

void CopyCompareOptions(TObjs& objs, const TCustomVeltrane& v) {
  objs.IBServerOptions->IBCompareOptions->Assign(*v.IBCompareOptions);
  objs.ASAServerOptions->ASACompareOptions->Assign(*v.ASACompareOptions);
  objs.ASEServerOptions->ASECompareOptions->Assign(*v.ASECompareOptions);
  objs.MSSQLServerOptions->MSSQLCompareOptions->Assign(*v.MSSQLCompareOptions);
  objs.MySQLServerOptions->MySQLCompareOptions->Assign(*v.MySQLCompareOptions);
  objs.OracleServerOptions->OracleCompareOptions->Assign(*v.OracleCompareOptions);
  objs.DB2ServerOptions->DB2CompareOptions->Assign(*v.DB2CompareOptions);
  objs.PGSQLServerOptions->PGSQLCompareOptions->Assign(*v.PGSQLCompareOptions);
}

// Text of an exception caught at a public boundary.
std::string ExceptionText(std::exception_ptr p) {
  try {
    std::rethrow_exception(p);
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "Unknown exception";
  }
}

}  // namespace

// ---------------------------------------------------------------------------
// TCustomVeltrane

TCustomVeltrane::TCustomVeltrane()
    : ConnectionOptions(std::make_unique<TConnectionOptions>()),
      IBCompareOptions(std::make_unique<TIBCompareOptions>()),
      MSSQLCompareOptions(std::make_unique<TMSSQLCompareOptions>()),
      MySQLCompareOptions(std::make_unique<TMySQLCompareOptions>()),
      ASACompareOptions(std::make_unique<TASACompareOptions>()),
      ASECompareOptions(std::make_unique<TASECompareOptions>()),
      OracleCompareOptions(std::make_unique<TOracleCompareOptions>()),
      PGSQLCompareOptions(std::make_unique<TPgSQLCompareOptions>()),
      DB2CompareOptions(std::make_unique<TDB2CompareOptions>()) {}

TCustomVeltrane::~TCustomVeltrane() { ReleaseOwnSQLExec(); }

TObjs* TCustomVeltrane::ObjsOf(TCustomDBStructure* s) { return s ? s->Objs : nullptr; }

void TCustomVeltrane::ReleaseOwnSQLExec() {
  if (OwnSQLExec) ReleaseSQLExec(OwnSQLExec.get());
}

void TCustomVeltrane::ReleaseSQLExec(const void* exec) {
  for (TCustomDBStructure* s : {FDBStructureMaster, FDBStructureTarget})
    if (TObjs* objs = ObjsOf(s); objs && objs->SQLExec == exec) objs->SQLExec = nullptr;
}

void TCustomVeltrane::SetStructure(TCustomDBStructure*& slot, TCustomDBStructure* value,
                                   uint8_t role) {
  if (TObjs* old = ObjsOf(slot); old && slot != value) {
    if (old->Partner && old->Partner->Partner == old) old->Partner->Partner = nullptr;
    old->Partner = nullptr;
  }
  slot = value;
  if (value) {
    if (TCustomExtract* ex = ExtractorOf(value)) ex->ShowFullLog = FShowFullLog;
    if (TObjs* objs = ObjsOf(value)) objs->Role = role;
  }
  LinkPartners();
}

void TCustomVeltrane::LinkPartners() {
  TObjs* m = ObjsOf(FDBStructureMaster);
  TObjs* t = ObjsOf(FDBStructureTarget);
  if (!m || !t) return;
  m->Partner = t;
  t->Partner = m;
  m->Role = 1;
  t->Role = 2;
}

void TCustomVeltrane::SetDBStructureMaster(TCustomDBStructure* value) {
  SetStructure(FDBStructureMaster, value, 1);
}

void TCustomVeltrane::SetDBStructureTarget(TCustomDBStructure* value) {
  SetStructure(FDBStructureTarget, value, 2);
}

TCustomSQLExec* TCustomVeltrane::GetSQLExec() const {
  return LinkedSQLExec ? LinkedSQLExec : OwnSQLExec.get();
}

void TCustomVeltrane::SetSQLExec(TCustomSQLExec* value) {
  if (LinkedSQLExec && LinkedSQLExec != value) {
    // The containers must not keep a list the comparer no longer tracks: it
    // may be destroyed without the comparer being told.
    ReleaseSQLExec(LinkedSQLExec);
    if (LinkedSQLExec == OwnSQLExec.get()) OwnSQLExec.reset();
  }
  LinkedSQLExec = value;
}

void TCustomVeltrane::SetShowFullLog(bool value) {
  FShowFullLog = value;
  for (TCustomDBStructure* s : {FDBStructureMaster, FDBStructureTarget})
    if (TCustomExtract* ex = ExtractorOf(s)) ex->ShowFullLog = value;
}

void TCustomVeltrane::SetIBCompareOptions(const TIBCompareOptions& value) {
  IBCompareOptions->Assign(value);
}
void TCustomVeltrane::SetMSSQLCompareOptions(const TMSSQLCompareOptions& value) {
  MSSQLCompareOptions->Assign(value);
}
void TCustomVeltrane::SetMySQLCompareOptions(const TMySQLCompareOptions& value) {
  MySQLCompareOptions->Assign(value);
}
void TCustomVeltrane::SetASACompareOptions(const TASACompareOptions& value) {
  ASACompareOptions->Assign(value);
}
void TCustomVeltrane::SetASECompareOptions(const TASECompareOptions& value) {
  ASECompareOptions->Assign(value);
}
void TCustomVeltrane::SetOracleCompareOptions(const TOracleCompareOptions& value) {
  OracleCompareOptions->Assign(value);
}
void TCustomVeltrane::SetPGSQLCompareOptions(const TPgSQLCompareOptions& value) {
  PGSQLCompareOptions->Assign(value);
}
void TCustomVeltrane::SetDB2CompareOptions(const TDB2CompareOptions& value) {
  DB2CompareOptions->Assign(value);
}

void TCustomVeltrane::Notification(const void* removed) {
  if (!removed) return;
  // The containers of a structure that goes away clear their partner's link
  // themselves; here only the comparer's own references are dropped.
  if (FDBStructureMaster == removed) FDBStructureMaster = nullptr;
  if (FDBStructureTarget == removed) FDBStructureTarget = nullptr;
  // Containers may still hold the list from an earlier comparison.
  ReleaseSQLExec(removed);
  if (LinkedSQLExec == removed) LinkedSQLExec = nullptr;
  if (ExtractorMaster == removed) ExtractorMaster = nullptr;
  if (ExtractorTarget == removed) ExtractorTarget = nullptr;
}

bool TCustomVeltrane::ExtractAndCompare() {
  const bool ok = Extract();
  if (ok) Compare();
  return ok;
}

void TCustomVeltrane::DoLogLine(const std::string& text) {
  if (OnLogNextLine) OnLogNextLine(this, text);
}

void TCustomVeltrane::DoProgress(int value, int maxValue) {
  if (OnProgressUpdate) OnProgressUpdate(this, value, maxValue);
}

void TCustomVeltrane::DoError(const std::string& text) {
  try {
    if (OnErrorMessage) {
      OnErrorMessage(this, text);
      return;
    }
  } catch (...) {
    // A failing handler must not turn an error report into a crash.
  }
  ShowErrorText(text);
}

// ---------------------------------------------------------------------------
// TVeltrane

TVeltrane::TVeltrane() = default;
TVeltrane::~TVeltrane() = default;

void TVeltrane::DoError(const std::string& text) {
  MsgManager.Add(text, mkError);
  TCustomVeltrane::DoError(text);
}

void TVeltrane::Raise(const TNotifyEvent& event) {
  if (event) event(this);
}

bool TVeltrane::Extract() {
  try {
    return DoExtract();
  } catch (...) {
    CanCompare = false;
    DoError(ExceptionText(std::current_exception()));
  }
  return false;
}

bool TVeltrane::DoExtract() {
  MsgManager.Clear();
  ExtractMasterFlag = true;
  ExtractTargetFlag = true;
  CanCompare = true;
  ChangeNotes.clear();
  MsgManager.Clear();
  Raise(OnBeforeExtract);

  // A missing extractor or structure ends the run; nothing extracted may be
  // compared then.
  if ((ExtractTargetFlag && !ExtractSide(true)) || (ExtractMasterFlag && !ExtractSide(false))) {
    CanCompare = false;
    return false;
  }

  TObjs* master = MasterObjs();
  TObjs* target = TargetObjs();
  if (TObjs* source = ExtractTargetFlag ? target : master)
    ConnectionOptions->Assign(*source->ConnectionOptions);

  if (MsgManager.HasErrors()) CanCompare = false;
  if (!MsgManager.HasErrors() && master && target && master->ServerType != target->ServerType)
    ConvertMasterToTargetDialect();

  AfterExtraction();
  Raise(OnAfterExtract);
  return !MsgManager.HasErrors();
}

bool TVeltrane::ExtractSide(bool target) {
  Raise(target ? OnBeforeExtractTarget : OnBeforeExtractMaster);
  TCustomExtract* ex = target ? ExtractorTarget : ExtractorMaster;
  TCustomDBStructure* s = target ? GetDBStructureTarget() : GetDBStructureMaster();
  const std::string prefix = std::string(ClassName()) + "(" + Name + "): property ";
  const char* side = target ? "Target" : "Master";
  if (!ex) {
    DoError(prefix + "Extractor" + side + " not assigned.");
    return false;
  }
  if (!s || !s->Objs) {
    DoError(prefix + "DBStructure" + side + " not assigned.");
    return false;
  }

  ex->SetDBStructure(s);
  ex->ShowFullLog = GetShowFullLog();
  TObjs& objs = *s->Objs;
  CopyCompareOptions(objs, *this);
  ex->ExtractObjects =
      IBCompareOptions->ExtractOnlyComparedObjects ? CompareObjects : TCmpObjSetType();
  objs.CompareObjects = CompareObjects;

  // Errors of the target side leave the master side alone.
  if (!target && MsgManager.HasErrors()) {
    CanCompare = false;
    return true;
  }

  const bool extracted = ex->Extract();
  if (target) ConnectionOptions->Assign(*objs.ConnectionOptions);
  const bool hadErrors = MsgManager.HasErrors();
  MsgManager.AppendFrom(ex->GetMessages());
  // An extractor that failed without saying why must still stop the run.
  if (!extracted && !hadErrors && !MsgManager.HasErrors())
    MsgManager.Add(std::string(ex->ClassName()) + "(" + ex->Name + "): extraction failed.", mkError);
  Raise(target ? OnAfterExtractTarget : OnAfterExtractMaster);
  if (!target && MsgManager.HasErrors()) CanCompare = false;
  return true;
}

void TVeltrane::AfterExtraction() {
  TObjs* m = MasterObjs();
  TObjs* t = TargetObjs();
  if (!m || !t) return;
  PairObjects();
  m->CacheTexts();
  t->CacheTexts();
  SetExistenceFlags();
  ::NormalizeTables(*m, *t);
  if (NormalizeOracleSchemas()) {
    // The master's keys changed: pair again so that the table pairs under the
    // target's schema get their physical attributes merged.
    PairObjects();
    SetExistenceFlags();
    ::NormalizeTables(*m, *t);
  }
}

void TVeltrane::PairObjects() {
  TObjs* m = MasterObjs();
  TObjs* t = TargetObjs();
  if (!m || !t) return;
  ClearPairs(*m);
  ClearPairs(*t);
  const std::vector<TObjList*> masterLists = m->AllLists();
  const std::vector<TObjList*> targetLists = t->AllLists();
  for (size_t i = 0; i < masterLists.size(); ++i) PairList(*masterLists[i], *targetLists[i]);
  for (size_t i = 0; i < masterLists.size(); ++i) PairList(*targetLists[i], *masterLists[i]);
  PairContainerColumns(*m);
  if (m->ServerType == srvInterBase && t->ServerType == srvInterBase) NormalizeCheckOptionTails(*m);
}

void TVeltrane::SetExistenceFlags() {
  TObjs* m = MasterObjs();
  TObjs* t = TargetObjs();
  if (!m || !t) return;
  // Master first: a pair shares one flag, which the target pass then confirms.
  for (TObjList* list : m->AllLists())
    for (const auto& e : *list) {
      TDbObj* obj = e.Obj.get();
      obj->SetExists(obj->Pair != nullptr);
      if (auto* tbl = obj->As<TTblData>())
        for (auto& c : tbl->Fields)
          if (c.Obj) c.Obj->SetExists(c.Obj->Pair != nullptr);
    }
  for (TObjList* list : t->AllLists())
    for (const auto& e : *list) {
      TDbObj* obj = e.Obj.get();
      obj->SetExists(true);
      if (auto* tbl = obj->As<TTblData>())
        for (auto& c : tbl->Fields)
          if (c.Obj) c.Obj->SetExists(true);
    }
}

bool TVeltrane::NormalizeOracleSchemas() {
  TObjs* m = MasterObjs();
  TObjs* t = TargetObjs();
  if (!m || !t || t->ServerType != srvOracle) return false;
  const TConnectionOptions& conn = *t->ConnectionOptions;
  // A database name equal to the host name (both empty, as after a plain
  // script) names no schema of its own.
  if (conn.DatabaseName == conn.HostName) return false;
  for (TObjList* list : {&m->GnrList, &m->TblList, &m->ViwList, &m->CtrList, &m->IdxList,
                         &m->TrgList}) {
    if (list->Empty()) continue;
    for (const auto& e : *list) e.Obj->SetSchema(conn.DatabaseName);
    list->ReKey();
  }
  return true;
}

void TVeltrane::Compare() {
  if (!CanCompare) return;
  try {
    DoCompare();
  } catch (...) {
    DoError(ExceptionText(std::current_exception()));
  }
  // Master objects render in their own dialect again, whatever happened.
  if (TObjs* m = MasterObjs()) m->UsePartnerServer = false;
}

void TVeltrane::DoCompare() {
  const std::string prefix = std::string(ClassName()) + "(" + Name + "): property ";
  if (!GetDBStructureTarget() || !TargetObjs()) {
    DoError(prefix + "DBStructureTarget not assigned.");
    return;
  }
  if (!GetDBStructureMaster() || !MasterObjs()) {
    DoError(prefix + "DBStructureMaster not assigned.");
    return;
  }
  TObjs& m = *MasterObjs();
  TObjs& t = *TargetObjs();

  ChangeNotes.clear();
  MsgManager.Clear();
  for (TObjs* objs : {&m, &t}) {
    objs->CurrentSchema.clear();
    objs->WorkText1.clear();
    objs->WorkText2.clear();
  }
  PairObjects();
  m.CacheTexts();
  t.CacheTexts();
  SetExistenceFlags();
  Raise(OnBeforeCompare);

  TCustomSQLExec* exec = GetSQLExec();
  if (!exec) {
    OwnSQLExec = std::make_unique<TSQLExec>();
    OwnSQLExec->OnErrorMessage = OnErrorMessage;
    OwnSQLExec->OnLogNextLine = OnLogNextLine;
    OwnSQLExec->OnProgressUpdate = OnProgressUpdate;
    LinkedSQLExec = OwnSQLExec.get();
    exec = OwnSQLExec.get();
  }
  exec->Clear();
  if (auto* sqlExec = dynamic_cast<TSQLExec*>(exec)) {
    sqlExec->IBOptions->Assign(*t.IBServerOptions);
    sqlExec->MSSQLOptions->Assign(*t.MSSQLServerOptions);
    sqlExec->MySQLOptions->Assign(*t.MySQLServerOptions);
    sqlExec->ConnectionOptions->Assign(*t.ConnectionOptions);
  }

  for (TObjs* objs : {&m, &t}) {
    objs->IBServerOptions->IBCompareOptions->Assign(*IBCompareOptions);
    objs->SQLExec = exec;
    // The phases and the objects read the set from their container; keep it
    // in step with the comparer's even when Compare runs without Extract.
    objs->CompareObjects = CompareObjects;
  }
  ConnectionOptions->Assign(*t.ConnectionOptions);
  m.UsePartnerServer = true;

  DoLogLine("Comparing databases...");
  RunPhases();

  Raise(OnAfterCompare);
  m.UsePartnerServer = false;
}

void TVeltrane::RunPhases() {
  const TCmpObjSetType co = CompareObjects;
  const bool keys = co.Contains(coPrimaryKey) || co.Contains(coForeignKey) ||
                    co.Contains(coUnique) || co.Contains(coCheck);
  const bool grants =
      co.Contains(coGrant) || co.Contains(coRoleGrant) || co.Contains(coUserGrant);
  const TServerType target = TargetObjs()->ServerType;

  MatchTables();                                                      // 1
  WriteScriptHeader();                                                // 2
  if (target == srvInterBase && IBCompareOptions->DbCharsetCompare)  // 3
    UpdateDatabaseCharset();
  CreateCollations();                                                 // 4
  AlterCollations();
  CreateSchemas();                                                    // 5
  AlterSchemas();
  if (target == srvPostgreSQL) {                                      // 6
    CreateConversions();
    AlterConversions();
    CreateOperators();
    AlterOperators();
    CreateOperatorClasses();
    AlterOperatorClasses();
  }
  if (target == srvMSSQL) {                                           // 7
    CreateRules();
    CreateDefaults();
    AlterRules();
    AlterDefaults();
  }
  if (keys) DropConstraints();                                        // 8
  if (co.Contains(coDomain)) CreateDomains();                         // 9
  if (co.Contains(coFunction)) DeclareFunctions();                    // 10
  if (co.Contains(coTrigger)) EmptyTriggersOnDroppedViews();          // 11
  if (co.Contains(coProcedure)) DropProcedures();                     // 12
  if (co.Contains(coTrigger)) DropTriggers();                         // 13
  if (co.Contains(coIndex)) DropIndexes();                            // 14
  if (co.Contains(coView)) DropViews();                               // 15
  if (co.Contains(coFunction)) AlterFunctions();                      // 16
  if (co.Contains(coException)) DropExceptions();                     // 17
  if (co.Contains(coFunction)) DropFunctions();                       // 18
  if (co.Contains(coDomain)) AlterDomains();                          // 19
  if (co.Contains(coTable)) CreateTables();                           // 20
  if (co.Contains(coTable)) {                                         // 21
    CreateColumns();
    AlterTables();
  }
  if (co.Contains(coTable)) DropColumnsAndTables();                   // 22
  if (co.Contains(coProcedure)) CreateProcedureStubs();               // 23
  if (co.Contains(coDomain)) DropDomains();                           // 24
  if (co.Contains(coView)) {                                          // 25
    // A view that cannot be created yet is retried in phase 34; the failure
    // is reported and the sequence goes on.
    try {
      CreateViews();
    } catch (...) {
      DoError(ExceptionText(std::current_exception()));
    }
  }
  if (co.Contains(coView)) AlterViews();                              // 26
  if (co.Contains(coRule)) CreateRules();                             // 27
  if (co.Contains(coIndex)) {                                         // 28
    CreateIndexes();
    AlterIndexes();
  }
  if (co.Contains(coGenerator)) CreateGenerators();                   // 29
  if (co.Contains(coException)) {                                     // 30
    CreateExceptions();
    AlterExceptions();
  }
  if (keys) CreateConstraints(false);                                 // 31
  if (co.Contains(coProcedure)) AlterProcedures();                    // 32
  // DEFAULT constraints follow the procedure bodies; they are keys of their
  // table and are created whenever keys are compared.
  if (keys) CreateConstraints(true);
  if (co.Contains(coTrigger)) CreateTriggers();                       // 33
  if (co.Contains(coView)) CreateViews();                             // 34
  if (co.Contains(coTrigger)) AlterTriggers();                        // 35
  if (co.Contains(coGenerator)) {                                     // 36
    AlterGenerators();
    DropGenerators();
  }
  if (co.Contains(coProcedure)) AlterProcedures();                    // 37
  if (target == srvMSSQL) {                                           // 38
    DropDefaults();
    DropRules();
  }
  if (target == srvInterBase || target == srvOracle) {               // 39
    DropPackages();
    CreatePackages();
  }
  if (co.Contains(coTable)) RestoreColumnOrder();                     // 40
  if (co.Contains(coTable)) {                                         // 41
    DropPublications();
    AlterPublications();
    CreatePublications();
  }
  if (co.Contains(coRole)) {                                          // 42
    CreateRoles();
    AlterRoles();
  }
  if (target == srvPostgreSQL) {                                      // 43
    DropOperatorClasses();
    DropOperators();
    DropConversions();
    AlterRules();
    DropRules();
  }
  CreateEvents();                                                     // 44
  AlterEvents();
  DropEvents();
  DropSchemas();                                                      // 45
  DropCollations();                                                   // 46
  if (grants) {                                                       // 47
    RevokeGrants();
    CreateGrants();
  }
  if (co.Contains(coRole)) DropRoles();                               // 48
}

void TVeltrane::WriteScriptHeader() {
  TObjs* m = MasterObjs();
  TObjs* t = TargetObjs();
  TCustomSQLExec* exec = GetSQLExec();
  if (!m || !t || !exec) return;
  WriteScriptHeaderStatements(*exec, *m, *t, ASECompareOptions->CompareDBOptions);
}

// ---------------------------------------------------------------------------
// Steps and phases

// Waits for the cross-dialect conversion unit; until then the master is
// compared as extracted (rendered in the target's dialect during Compare).
void TVeltrane::ConvertMasterToTargetDialect() {}

void TVeltrane::MatchTables() { ::MatchTables(*MasterObjs(), *TargetObjs()); }

void TVeltrane::UpdateDatabaseCharset() {
  if (TCustomSQLExec* exec = GetSQLExec())
    WriteDatabaseCharsetUpdate(*exec, *MasterObjs(), *TargetObjs());
}

// Waits for the collation kind.
void TVeltrane::CreateCollations() {}
// Waits for the collation kind.
void TVeltrane::AlterCollations() {}

void TVeltrane::CreateSchemas() { ::CreateSchemas(*MasterObjs(), *TargetObjs()); }
void TVeltrane::AlterSchemas() { ::AlterSchemas(*MasterObjs(), *TargetObjs()); }

// Waits for the conversion kind (PostgreSQL encoding conversions).
void TVeltrane::CreateConversions() {}
// Waits for the conversion kind.
void TVeltrane::AlterConversions() {}
// Waits for the PostgreSQL operator kind.
void TVeltrane::CreateOperators() {}
// Waits for the PostgreSQL operator kind.
void TVeltrane::AlterOperators() {}
// Waits for the PostgreSQL operator-class kind.
void TVeltrane::CreateOperatorClasses() {}
// Waits for the PostgreSQL operator-class kind.
void TVeltrane::AlterOperatorClasses() {}
// Waits for the rule kind.
void TVeltrane::CreateRules() {}
// Waits for the default-object kind.
void TVeltrane::CreateDefaults() {}
// Waits for the rule kind.
void TVeltrane::AlterRules() {}
// Waits for the default-object kind.
void TVeltrane::AlterDefaults() {}
// Waits for the constraint kind: changed and vanished constraints.
void TVeltrane::DropConstraints() {}
// Waits for the domain kind: new domains and user types.
void TVeltrane::CreateDomains() {}
// Waits for the external-function kind: new external functions.
void TVeltrane::DeclareFunctions() {}
// Waits for the trigger kind: triggers of views about to be dropped.
void TVeltrane::EmptyTriggersOnDroppedViews() {}
// Waits for the procedure kind: vanished procedures, emptied first.
void TVeltrane::DropProcedures() {}
// Waits for the trigger kind: vanished triggers.
void TVeltrane::DropTriggers() {}
// Waits for the index kind: vanished indexes.
void TVeltrane::DropIndexes() {}
// Waits for the view kind: vanished views.
void TVeltrane::DropViews() {}
// Waits for the external-function kind: changed external functions.
void TVeltrane::AlterFunctions() {}
// Waits for the exception kind: vanished exceptions.
void TVeltrane::DropExceptions() {}
// Waits for the external-function kind: vanished external functions.
void TVeltrane::DropFunctions() {}
// Waits for the domain kind: changed domains.
void TVeltrane::AlterDomains() {}

void TVeltrane::CreateTables() { ::CreateTables(*MasterObjs(), *TargetObjs()); }
void TVeltrane::CreateColumns() { ::CreateColumns(*MasterObjs(), *TargetObjs()); }
void TVeltrane::AlterTables() { ::AlterTables(*MasterObjs(), *TargetObjs()); }
void TVeltrane::DropColumnsAndTables() {
  ::DropColumnsAndTables(*MasterObjs(), *TargetObjs());
}

// Waits for the procedure kind: new procedures with empty bodies.
void TVeltrane::CreateProcedureStubs() {}
// Waits for the domain kind: vanished domains.
void TVeltrane::DropDomains() {}
// Waits for the view kind: new views (runs twice in the sequence).
void TVeltrane::CreateViews() {}
// Waits for the view kind: changed views.
void TVeltrane::AlterViews() {}
// Waits for the index kind: new indexes.
void TVeltrane::CreateIndexes() {}
// Waits for the index kind: changed indexes.
void TVeltrane::AlterIndexes() {}

void TVeltrane::CreateGenerators() { ::CreateGenerators(*MasterObjs(), *TargetObjs()); }

// Waits for the exception kind: new exceptions.
void TVeltrane::CreateExceptions() {}
// Waits for the exception kind: changed exceptions.
void TVeltrane::AlterExceptions() {}
// Waits for the constraint kind: new and changed constraints, DEFAULT
// constraints in a pass of their own.
void TVeltrane::CreateConstraints(bool /*defaultOnly*/) {}
// Waits for the procedure kind: procedure bodies (runs twice in the sequence).
void TVeltrane::AlterProcedures() {}
// Waits for the trigger kind: new triggers.
void TVeltrane::CreateTriggers() {}
// Waits for the trigger kind: changed and emptied triggers.
void TVeltrane::AlterTriggers() {}

void TVeltrane::AlterGenerators() { ::AlterGenerators(*MasterObjs(), *TargetObjs()); }
void TVeltrane::DropGenerators() { ::DropGenerators(*MasterObjs(), *TargetObjs()); }

// Waits for the default-object kind: vanished default objects.
void TVeltrane::DropDefaults() {}
// Waits for the rule kind: vanished rules.
void TVeltrane::DropRules() {}
// Waits for the package kind: vanished and changed packages.
void TVeltrane::DropPackages() {}
// Waits for the package kind: new and changed packages.
void TVeltrane::CreatePackages() {}

void TVeltrane::RestoreColumnOrder() { ::RestoreColumnOrder(*MasterObjs(), *TargetObjs()); }
void TVeltrane::DropPublications() { ::DropPublications(*MasterObjs(), *TargetObjs()); }
void TVeltrane::AlterPublications() { ::AlterPublications(*MasterObjs(), *TargetObjs()); }
void TVeltrane::CreatePublications() { ::CreatePublications(*MasterObjs(), *TargetObjs()); }

// Waits for the role kind: roles, logins and users, role descriptions.
void TVeltrane::CreateRoles() {}
// Waits for the role kind.
void TVeltrane::AlterRoles() {}
// Waits for the PostgreSQL operator-class kind.
void TVeltrane::DropOperatorClasses() {}
// Waits for the PostgreSQL operator kind.
void TVeltrane::DropOperators() {}
// Waits for the conversion kind.
void TVeltrane::DropConversions() {}
// Waits for the event kind.
void TVeltrane::CreateEvents() {}
// Waits for the event kind.
void TVeltrane::AlterEvents() {}
// Waits for the event kind.
void TVeltrane::DropEvents() {}

void TVeltrane::DropSchemas() { ::DropSchemas(*MasterObjs(), *TargetObjs()); }

// Waits for the collation kind: vanished collations.
void TVeltrane::DropCollations() {}
// Waits for the grant kind: revoked privileges.
void TVeltrane::RevokeGrants() {}
// Waits for the grant kind: new privileges.
void TVeltrane::CreateGrants() {}
// Waits for the role kind: vanished users, logins and roles.
void TVeltrane::DropRoles() {}

bool TVeltrane::ExtractAndCompare() {
  const bool ok = Extract();
  if (ok) Compare();
  return ok;
}
