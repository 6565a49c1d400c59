// The generated update script: an ordered list of statements, each with its
// SQL text, kind, the object it concerns and what it does to it, rendered into
// lines of text once the comparison is over.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/kvtMsgMngr.h"
#include "core/kvtTypes.h"

class TDbObj;
class TCustomSQLExec;
class TConnectionOptions;
class TIBSQLExecOptions;
class TASAServerOptions;
class TASEServerOptions;
class TMySQLServerOptions;
class TMSSQLServerOptions;
class TOracleServerOptions;
class TPGSQLServerOptions;
class TDB2ServerOptions;

// What a statement does to its object.
enum TStatementAction : uint8_t {
  saNone = 0,
  saCreate = 1,
  saAlter = 2,
  saDrop = 3,
  saEmptyBody = 4,
  saRestoreBody = 5,
  saCreateEmpty = 6,
  saEmptyBeforeDrop = 7,
  saCommit = 9,
  saComment = 10,
  saDescription = 11,
  saInsert = 12,
  saUpdate = 13,
  saDelete = 14
};

class TStatement {
 public:
  explicit TStatement(TCustomSQLExec* owner) : Owner(owner) {}

  TCustomSQLExec* Owner;         // list the statement belongs to
  TStringList Lines;             // SQL text, one entry per line
  TStatementKind Kind = skStatement;
  int32_t FirstLine = 0;         // first line in the last rendering that recorded positions
  int32_t LineCount = 0;         // number of Lines when added
  TDbObject ObjType = dboUnknown;
  uint8_t Action = saNone;
  std::string ObjName;
  std::string ParentName;        // a column's table, a parameter's procedure
  std::string Description;       // for description statements: the text stored
  std::string Terminator;        // text that ends the statement when rendered
  // The object whose change forced this statement (a view dropped because a
  // column it reads goes, say); empty when the statement is the object's own.
  std::string CauseName;
  std::string CauseParent;       // the cause's table when it is a column
  TDbObject CauseKind = dboUnknown;
  // Why running the statement can lose or refuse existing data (a type change
  // that can truncate or fail on existing rows); empty when it cannot. Drops
  // of tables and columns are recognised by their kind and action.
  std::string DataRisk;

  // The lines joined, each followed by CR LF.
  std::string GetText() const;
};

class TCustomSQLExec {
 public:
  TCustomSQLExec() = default;
  virtual ~TCustomSQLExec();
  TCustomSQLExec(const TCustomSQLExec&) = delete;
  TCustomSQLExec& operator=(const TCustomSQLExec&) = delete;

  std::vector<std::unique_ptr<TStatement>> Statements;
  std::string CurrentSchema;  // schema the objects last reported
  TMsgManager Messages;

  // Reports of the list; the comparer passes its own handlers on.
  TLogNextLineEvent OnLogNextLine;
  TProgressUpdateEvent OnProgressUpdate;
  TErrorMessageEvent OnErrorMessage;

  // Hooks of the statement list; this system only builds scripts, so the
  // ones that serve running them against a database do nothing.
  virtual void DoLogLine(const std::string& text);
  virtual void DoProgress(int value, int maxValue);
  // Raises OnErrorMessage (or shows the text when nobody listens) and keeps
  // it as an error message.
  virtual void DoError(const std::string& text);
  virtual bool GetVerbose() { return false; }
  virtual void DoAcceptStatement(TStatement*, bool&) {}
  virtual void DoStatementStart(int) {}
  virtual void DoStatementEnd(int) {}
  virtual std::unique_ptr<TStatement> CreateStatement();
  virtual void SetCurrentSchema(const std::string& text);

  // Appends one statement; null when nothing was appended (empty text of a
  // kind other than Comment). An empty terminator means ";" CR LF, except for
  // comments, which have none.
  virtual TStatement* AddStatement(const std::string& sql, TStatementKind kind,
                                   const std::string& objName = std::string(),
                                   TDbObject objType = dboUnknown, uint8_t action = saNone,
                                   const std::string& parentName = std::string(),
                                   const std::string& terminator = std::string());
  // A comment statement holding `text` exactly as the script shows it.
  virtual TStatement* AddComment(const std::string& text);
  // Appends nothing: the script is not run against a database here.
  virtual void AddReconnect() {}
  virtual void Clear();
  virtual void DeleteStatement(int index);
  // The statement storing obj's description; null when there is none to write.
  virtual TStatement* AddDescription(TDbObj* obj);
  // Appends the rendered script to `lines`; with recordPositions, each
  // statement's FirstLine receives the index of its first line.
  virtual void RenderScript(TStringList& lines, bool recordPositions);

  int Count() const { return static_cast<int>(Statements.size()); }
  TStatement* GetStatement(int index) const;

  // The objects whose change is being carried out, innermost last. A
  // statement added for another object records the innermost one as its
  // cause. Kept through TCauseScope.
  struct TCause {
    std::string Name;
    std::string Parent;
    TDbObject Kind = dboUnknown;
  };
  std::vector<TCause> Causes;
};

// While alive, statements for other objects record `obj` as their cause.
class TCauseScope {
 public:
  TCauseScope(TCustomSQLExec* exec, const TDbObj& obj);
  ~TCauseScope();
  TCauseScope(const TCauseScope&) = delete;
  TCauseScope& operator=(const TCauseScope&) = delete;

 private:
  TCustomSQLExec* Exec;
};

// The statement list a comparison creates, with the target database's options.
class TSQLExec : public TCustomSQLExec {
 public:
  TSQLExec();
  ~TSQLExec() override;

  // Also resets the option objects.
  void Clear() override;

  std::unique_ptr<TConnectionOptions> ConnectionOptions;
  std::unique_ptr<TIBSQLExecOptions> IBOptions;
  std::unique_ptr<TASAServerOptions> ASAOptions;
  std::unique_ptr<TASEServerOptions> ASEOptions;
  std::unique_ptr<TMySQLServerOptions> MySQLOptions;
  std::unique_ptr<TMSSQLServerOptions> MSSQLOptions;
  std::unique_ptr<TOracleServerOptions> OracleOptions;
  std::unique_ptr<TPGSQLServerOptions> PGSQLOptions;
  std::unique_ptr<TDB2ServerOptions> DB2Options;

  TGetParamValueEvent OnGetParamValue;  // kept for hosts; never raised
};
