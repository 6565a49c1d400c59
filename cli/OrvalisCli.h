// The command-line tool: compares a master and a target DDL script and
// writes the update script that turns the target into the master.
//
// Exit status, like diff: 0 when the update script holds no statement that
// changes anything, 1 when it does, 2 on any error.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "core/kvtTypes.h"

class TVeltrane;
class TCustomSQLExec;

inline constexpr int ExitEqual = 0;
inline constexpr int ExitDifferent = 1;
inline constexpr int ExitError = 2;
// --safe wrote at least one statement that destroys data as a comment.
inline constexpr int ExitUnsafe = 3;

// What the tool writes instead of the script.
enum class TSummaryMode { None, Text, Json };

extern const char* const OrvalisVersion;
extern const char* const OrvalisUsage;

struct TCliOptions {
  TServerType MasterDialect = srvInterBase;
  TServerType TargetDialect = srvInterBase;
  std::string MasterFile;
  std::string TargetFile;
  std::string OutputFile;  // empty: standard output
  bool HasObjects = false;
  TCmpObjSetType Objects;
  TStringList Include;
  TStringList Exclude;
  TStringList Settings;  // NAME=VALUE, applied in order
  bool Crlf = false;
  bool Runnable = false;  // wrap body statements for the target's client
  TSummaryMode Summary = TSummaryMode::None;  // a summary of the changes instead of the script
  bool Safe = false;      // statements that destroy data written as comments
  bool Explain = false;   // comment lines naming what forced each dependent change
  bool Verbose = false;
  bool Help = false;
  bool Version = false;
};

// Reads the arguments (without the program name). False with a message for
// an unknown option, a missing or invalid value, or missing file arguments.
// Settings are only collected here; they are checked when applied.
bool ParseCliArguments(const std::vector<std::string>& args, TCliOptions& opts, std::string& error);

// Dialect of a name given on the command line (firebird, interbase, ib,
// sqlanywhere, asa, mysql, oracle, mssql; any case); srvNone when unknown.
TServerType DialectByName(const std::string& name);

// The whole run: extraction of both scripts, comparison, output.
int RunOrvalis(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Compares what the comparer's two structures hold (extracted or built in
// code), writes the rendered script to `out` or to opts.OutputFile, and
// returns the exit status. Nothing is written when the comparison reports an
// error.
int CompareAndWrite(TVeltrane& veltrane, const TCliOptions& opts, std::ostream& out,
                    std::ostream& err);

// Whether the list holds a statement that changes the database (anything but
// header statements, comments and commits).
bool ScriptHasActions(const TCustomSQLExec& exec);

// The rendered script: one line per entry, each ended by LF or CR LF.
std::string RenderScriptText(TCustomSQLExec& exec, bool crlf);

// Writes `text` to `path` through a temporary file in the same directory that
// is renamed over the destination, so a failed write leaves no partial file.
// False with a message when the file cannot be written.
bool WriteFileAtomically(const std::string& path, const std::string& text, std::string& error);
