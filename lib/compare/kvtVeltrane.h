// The comparer: drives the extraction of the master and the target structure,
// pairs their objects, and runs the fixed sequence of comparison phases that
// fills the statement list with the update script (target -> master).
//
// The order of the phases is the heart of the design: what others depend on
// is dropped after its dependents and created before them; procedure and
// trigger bodies are emptied before what they use changes and restored at the
// end. Each phase belongs to one object kind, which scripts itself through its
// dependency walks (CreateDependDef / DropDependDef).
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "core/kvtMsgMngr.h"
#include "core/kvtTypes.h"

class TCustomExtract;
class TCustomDBStructure;
class TObjs;
class TCustomSQLExec;
class TSQLExec;
class TConnectionOptions;
class TIBCompareOptions;
class TMSSQLCompareOptions;
class TMySQLCompareOptions;
class TASACompareOptions;
class TASECompareOptions;
class TOracleCompareOptions;
class TPgSQLCompareOptions;
class TDB2CompareOptions;
struct TCompareContext;

// A plain notification with the raising component as sender.
using TNotifyEvent = std::function<void(void* Sender)>;

class TCustomVeltrane {
 public:
  TCustomVeltrane();
  // Frees the option objects and the own statement list; linked structures,
  // extractors and a linked statement list are left alone (their references
  // to the own list are cleared).
  virtual ~TCustomVeltrane();
  TCustomVeltrane(const TCustomVeltrane&) = delete;
  TCustomVeltrane& operator=(const TCustomVeltrane&) = delete;

  virtual const char* ClassName() const { return "TCustomVeltrane"; }
  // Component name, used in messages ("Veltrane").
  std::string Name;

  // ---- Fields ----
  TLogNextLineEvent OnLogNextLine;
  TProgressUpdateEvent OnProgressUpdate;
  TErrorMessageEvent OnErrorMessage;
  // Families of objects to compare; all 23 by default.
  TCmpObjSetType CompareObjects;
  // Notes on domain and column changes, each carrying the statement it
  // describes; cleared at the start of Extract and Compare.
  TStringList ChangeNotes;
  // Copy of the target's connection options.
  const std::unique_ptr<TConnectionOptions> ConnectionOptions;
  // Compare options copied into both structures before extracting and comparing.
  const std::unique_ptr<TIBCompareOptions> IBCompareOptions;
  const std::unique_ptr<TMSSQLCompareOptions> MSSQLCompareOptions;
  const std::unique_ptr<TMySQLCompareOptions> MySQLCompareOptions;
  const std::unique_ptr<TASACompareOptions> ASACompareOptions;
  const std::unique_ptr<TASECompareOptions> ASECompareOptions;
  const std::unique_ptr<TOracleCompareOptions> OracleCompareOptions;
  const std::unique_ptr<TPgSQLCompareOptions> PGSQLCompareOptions;
  const std::unique_ptr<TDB2CompareOptions> DB2CompareOptions;
  // The extractors of the two sides; hosts usually assign them in
  // OnBeforeExtract. Not owned.
  TCustomExtract* ExtractorMaster = nullptr;
  TCustomExtract* ExtractorTarget = nullptr;
  // Which sides Extract runs, and whether Compare may run (cleared when an
  // extraction failed).
  bool ExtractMasterFlag = true;
  bool ExtractTargetFlag = true;
  bool CanCompare = true;

  // ---- Properties ----
  TCustomDBStructure* GetDBStructureMaster() const { return FDBStructureMaster; }
  TCustomDBStructure* GetDBStructureTarget() const { return FDBStructureTarget; }
  // The previous structure's container loses its partner link; the new one
  // gets its role (1 master, 2 target) and, once both are set, the two
  // containers become each other's partner.
  void SetDBStructureMaster(TCustomDBStructure* value);
  void SetDBStructureTarget(TCustomDBStructure* value);
  // The linked statement list, else the own one (null before the first Compare).
  TCustomSQLExec* GetSQLExec() const;
  // Links a statement list; the own list is freed when it was the linked one.
  void SetSQLExec(TCustomSQLExec* value);
  bool GetShowFullLog() const { return FShowFullLog; }
  // Stored and copied into both structures' extractors.
  void SetShowFullLog(bool value);
  // Compare-option properties: the given values are copied into the owned objects.
  void SetIBCompareOptions(const TIBCompareOptions& value);
  void SetMSSQLCompareOptions(const TMSSQLCompareOptions& value);
  void SetMySQLCompareOptions(const TMySQLCompareOptions& value);
  void SetASACompareOptions(const TASACompareOptions& value);
  void SetASECompareOptions(const TASECompareOptions& value);
  void SetOracleCompareOptions(const TOracleCompareOptions& value);
  void SetPGSQLCompareOptions(const TPgSQLCompareOptions& value);
  void SetDB2CompareOptions(const TDB2CompareOptions& value);

  // ---- Virtual operations ----
  // A component the comparer refers to is going away: whichever of the two
  // structures, the linked statement list and the two extractors is `removed`
  // is forgotten. Hosts call it before destroying such a component.
  virtual void Notification(const void* removed);
  // Fills both structures; true when no errors were collected.
  virtual bool Extract() { return false; }
  // Writes the update script into the statement list.
  virtual void Compare() {}
  // Compare, when Extract succeeded.
  virtual bool ExtractAndCompare();

 protected:
  // A log line to OnLogNextLine, when assigned.
  void DoLogLine(const std::string& text);
  void DoProgress(int value, int maxValue);
  // An error to OnErrorMessage, or to the user's message box when nobody
  // listens. Never throws.
  virtual void DoError(const std::string& text);
  // The structure's container, or null.
  static TObjs* ObjsOf(TCustomDBStructure* s);
  // Clears every container reference to the own statement list.
  void ReleaseOwnSQLExec();
  // Clears every container reference to the given statement list.
  void ReleaseSQLExec(const void* exec);

  std::unique_ptr<TSQLExec> OwnSQLExec;
  TCustomSQLExec* LinkedSQLExec = nullptr;

 private:
  void LinkPartners();
  void SetStructure(TCustomDBStructure*& slot, TCustomDBStructure* value, uint8_t role);

  TCustomDBStructure* FDBStructureMaster = nullptr;
  TCustomDBStructure* FDBStructureTarget = nullptr;
  bool FShowFullLog = true;
};

class TVeltrane : public TCustomVeltrane {
 public:
  TVeltrane();
  ~TVeltrane() override;
  const char* ClassName() const override { return "TVeltrane"; }

  // Messages collected by Extract (the extractors' messages) and the errors
  // the comparer reported itself.
  TMsgManager MsgManager;

  TNotifyEvent OnBeforeExtractMaster;
  TNotifyEvent OnBeforeExtractTarget;
  TNotifyEvent OnAfterExtractMaster;
  TNotifyEvent OnAfterExtractTarget;
  TNotifyEvent OnBeforeCompare;
  TNotifyEvent OnAfterCompare;
  TNotifyEvent OnBeforeExtract;
  TNotifyEvent OnAfterExtract;

  // Target side first, then the master side; an error on the target side
  // stops the master side. Then pairing and the existence flags. Never throws:
  // a failure is reported as an error and the result is false.
  bool Extract() override;
  // Nothing unless the last Extract succeeded (or none ran). Re-pairs, resets
  // the existence flags, clears the statement list and runs the phase
  // sequence. Never throws: a failure is reported as an error.
  void Compare() override;
  bool ExtractAndCompare() override;
  // The opening statements of the script for the target's server.
  virtual void WriteScriptHeader();

  // Pairs every master object with the target object of the same list key
  // (and the columns of paired tables and views), then sets the existence
  // flags. Public so that hosts comparing structures built in code can
  // prepare them exactly as Extract does.
  void PairObjects();
  void SetExistenceFlags();

 protected:
  void DoError(const std::string& text) override;

 private:
  TObjs* MasterObjs() const { return ObjsOf(GetDBStructureMaster()); }
  TObjs* TargetObjs() const { return ObjsOf(GetDBStructureTarget()); }

  bool DoExtract();
  // One side of Extract; false when the setup is missing (Extract then ends).
  bool ExtractSide(bool target);
  void AfterExtraction();
  void DoCompare();
  // The phase table, top to bottom, under each phase's condition.
  void RunPhases(TCompareContext& ctx);
  void Raise(const TNotifyEvent& event);
  // Target Oracle: the master's objects take the target's schema.
  bool NormalizeOracleSchemas();

  // Conversion of the master to the target's dialect (waits for the
  // cross-dialect conversion unit; the master is compared as it is).
  void ConvertMasterToTargetDialect();
};
