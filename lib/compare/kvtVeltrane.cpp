#include "compare/kvtVeltrane.h"

#include <exception>
#include <initializer_list>

#include "compare/kvtPairing.h"
#include "compare/kvtPhases.h"
#include "compare/kvtScriptHeader.h"
#include "core/kvtClasses.h"
#include "core/kvtCompareContext.h"
#include "core/kvtDBOptions.h"
#include "core/kvtDBStructure.h"
#include "extract/kvtCustomScriptExtract.h"
#include "kinds/kvtComp_Tbl.h"
#include "script/kvtSQL_Exec.h"

namespace {

// The extractor attached to a structure, when it is one of ours.
TCustomExtract* ExtractorOf(TCustomDBStructure* s) {
  return s ? dynamic_cast<TCustomExtract*>(s->Extractor) : nullptr;
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
  if (m && t) ::PairObjects(*m, *t);
}

void TVeltrane::SetExistenceFlags() {
  TObjs* m = MasterObjs();
  TObjs* t = TargetObjs();
  if (m && t) ::SetExistenceFlags(*m, *t);
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
  TCompareContext ctx(m, t, *exec);
  ctx.CompareObjects = CompareObjects;
  ctx.ChangeNotes = &ChangeNotes;
  ctx.OnError = [this](const std::string& text) { DoError(text); };
  ctx.Comparer = this;
  RunPhases(ctx);

  Raise(OnAfterCompare);
  m.UsePartnerServer = false;
}

void TVeltrane::RunPhases(TCompareContext& ctx) {
  for (size_t i = 0; i < ComparePhaseCount; ++i) {
    const TComparePhase& phase = ComparePhases[i];
    if (!phase.Run || !PhaseApplies(phase, ctx)) continue;
    if (!phase.ReportsErrors) {
      phase.Run(ctx);
      continue;
    }
    try {
      phase.Run(ctx);
    } catch (...) {
      DoError(ExceptionText(std::current_exception()));
    }
  }
}

void TVeltrane::WriteScriptHeader() {
  TObjs* m = MasterObjs();
  TObjs* t = TargetObjs();
  TCustomSQLExec* exec = GetSQLExec();
  if (!m || !t || !exec) return;
  WriteScriptHeaderStatements(*exec, *m, *t, ASECompareOptions->CompareDBOptions);
}

// Waits for the cross-dialect conversion unit; until then the master is
// compared as extracted (rendered in the target's dialect during Compare).
void TVeltrane::ConvertMasterToTargetDialect() {}

bool TVeltrane::ExtractAndCompare() {
  const bool ok = Extract();
  if (ok) Compare();
  return ok;
}
