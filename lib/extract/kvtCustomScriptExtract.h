// Extractors: components that fill one database structure with the objects of
// a database.
//
// TCustomExtract is attached to a structure, decides which objects are taken
// into it (name patterns and two host events) and relays progress, log, debug
// and error reports to its host. TCustomScriptExtract reads the objects from
// SQL script files: it clears the structure, hands every file to a parser of
// its dialect and runs the parser's closing passes. The dialect extractors
// (kvtIBScriptExtract and siblings) only choose the parser and the server type.
#pragma once

#include <memory>
#include <string>

#include "core/kvtDBStructure.h"
#include "core/kvtMsgMngr.h"
#include "core/kvtTypes.h"

class TDbObj;
class TCustomParser;

// Matches an object name against one include/exclude pattern. "*" counts as
// "%", the wildcard. Only a single wildcard at the end (prefix test) or at the
// start (suffix test: the first occurrence of the rest must end the name)
// matches anything; any other pattern, the empty pattern and the bare wildcard
// match nothing. Case-sensitive.
bool MatchObjectNamePattern(const std::string& name, const std::string& pattern);

// Matches a file name against a file-system wildcard: "*" any run of
// characters, "?" exactly one character. Case-insensitive on Windows,
// case-sensitive elsewhere.
bool MatchFileNameWildcard(const std::string& name, const std::string& mask);

// Expands one file name whose last component may hold wildcards into the
// matching directory entries (files and directories), each written as the
// name's directory part followed by the entry name, sorted by entry name.
// A name without wildcards yields itself when it exists. Never throws; a name
// that matches nothing (or an unreadable directory) yields nothing.
TStringList ExpandFileNameWildcards(const std::string& name);

class TCustomExtract : public TObjAcceptor {
 public:
  TCustomExtract();
  // Detaches from the attached structure when it still names this extractor.
  ~TCustomExtract() override;
  TCustomExtract(const TCustomExtract&) = delete;
  TCustomExtract& operator=(const TCustomExtract&) = delete;

  // Class name used in messages ("TIBScriptExtract", ...).
  virtual const char* ClassName() const { return "TCustomExtract"; }
  // Component name used in messages ("IBScriptExtract", ...).
  std::string Name;

  // ---- Fields ----
  // Assign the first three through their setters when a parser must follow
  // (TCustomScriptExtract); OnDebugMessage is read when a parser is created.
  TProgressUpdateEvent OnProgressUpdate;
  TLogNextLineEvent OnLogNextLine;
  TErrorMessageEvent OnErrorMessage;
  TLogNextLineEvent OnDebugMessage;
  bool ShowFullLog = true;
  // Dialect the extractor produces; set by each dialect extractor.
  TServerType ServerType = srvNone;
  // Families the host asks for. The script parsers read every family anyway.
  TCmpObjSetType ExtractObjects;
  // The extractor's own messages (errors it reports itself).
  std::unique_ptr<TMsgManager> Messages;
  // Name patterns of objects to take (empty: all) and to leave out.
  TStringList IncludeObjsNames;
  TStringList ExcludeObjsNames;
  // Last word on a name and kind (may change the answer either way).
  TAcceptObjEvent OnAcceptObj;
  // When assigned, decides alone about whole objects offered to the container.
  TAccept_ObjEvent OnAccept_Obj;

  TCustomDBStructure* GetDBStructure() const { return DBStructure; }

  // ---- Virtual operations ----
  virtual void SetOnProgressUpdate(const TProgressUpdateEvent& value);
  virtual void SetOnErrorMessage(const TErrorMessageEvent& value);
  virtual void SetOnLogNextLine(const TLogNextLineEvent& value);
  // Attaches the extractor to s (null detaches): the structure and its
  // container then ask this extractor about every object they are given.
  virtual void SetDBStructure(TCustomDBStructure* s);
  virtual TCmpObjSetType GetExtractObjects() const { return ExtractObjects; }
  virtual void DoProgress(int value, int maxValue);
  // Messages to hand on to the host after an extraction.
  virtual TMsgManager* GetMessages();
  virtual void DoDebugMessage(const std::string& text);
  virtual void DoLogLine(const std::string& text);
  // Logs the container's configured server version, when it has one.
  virtual void LogServerVersion();
  // Raises OnErrorMessage (or shows the text when nobody listens) and records
  // the text as an error in Messages.
  virtual void DoError(const std::string& text);
  // Fills the attached structure; true when everything succeeded.
  virtual bool Extract();

  // ---- Acceptance ----
  // Name test: no exclude pattern matches and (no include pattern, or one
  // matches); then OnAcceptObj may change the answer.
  bool IsObjectAccepted(const std::string& name, TDbObject kind) override;
  // The container's final acceptance hook. OnAccept_Obj decides when assigned;
  // otherwise the name test with a kind chosen by class. Indexes and
  // constraints are judged by their table's name as tables.
  bool AcceptObject(TDbObj* obj);
  // A parser hands over a finished object. True when the container took it
  // (obj is then empty). A rejected object is freed; an object whose key is
  // already present stays with the caller.
  bool AddParsedObject(std::unique_ptr<TDbObj>& obj);
  void ReportObjError(const std::string& text) override { DoError(text); }
  // The structure is being destroyed or was taken over by another extractor:
  // forget it without touching it. Derived classes also drop what refers to
  // its container.
  void StructureDetached(TCustomDBStructure* structure) override;

 private:
  void Detach();

  TCustomDBStructure* DBStructure = nullptr;
};

class TCustomScriptExtract : public TCustomExtract {
 public:
  TCustomScriptExtract();
  ~TCustomScriptExtract() override;
  const char* ClassName() const override { return "TCustomScriptExtract"; }

  // ---- Fields ----
  // Handed to OnLoadScript for each file; cleared at the start of Extract.
  TStringList ScriptTexts;
  // The script files to load, in order. Hosts may fill it directly; the
  // ScriptFileName setter rebuilds it.
  TStringList ScriptFiles;
  // Asked for each file when assigned: it sets Loaded to have the file parsed.
  TLoadScriptEvent OnLoadScript;

  const std::string& GetScriptFileName() const { return ScriptFileName; }
  // Stores the text and rebuilds ScriptFiles from it: either a list of names
  // in double quotes ("a b.sql" "c.sql"), or one name, whose enclosing quotes
  // are dropped. Every name is expanded as a file-system wildcard.
  void SetScriptFileName(const std::string& value);

  // The dialect parser; exists while a structure is attached.
  TCustomParser* GetParser() const { return Parser.get(); }

  // ---- Overrides ----
  void SetOnErrorMessage(const TErrorMessageEvent& value) override;
  void SetDBStructure(TCustomDBStructure* s) override;
  // The extractor's own messages followed by its parser's.
  TMsgManager* GetMessages() override;
  bool Extract() override;

  // ---- New virtual operations ----
  // The parser of the dialect, for the attached structure's container.
  virtual std::unique_ptr<TCustomParser> CreateParser();
  // Last preparations after the structure was cleared and typed.
  virtual void PrepareExtract();

 protected:
  void StructureDetached(TCustomDBStructure* structure) override;
  TObjs* AttachedObjs() const;
  // Creates the generic SQL parser with the given dialect; the dialect
  // extractors use it until their own parser exists.
  std::unique_ptr<TCustomParser> CreateGenericSQLParser(TServerType type);

  std::unique_ptr<TCustomParser> Parser;

 private:
  bool RunExtract();

  std::string ScriptFileName;
  TMsgManager AllMessages;  // what GetMessages hands out
};
