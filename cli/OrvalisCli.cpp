#include "OrvalisCli.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <ostream>

#include "OptionSettings.h"
#include "PipelineReport.h"
#include "RunnableScript.h"
#include "ScriptOutput.h"
#include "compare/kvtVeltrane.h"
#include "core/kvtClasses.h"
#include "core/kvtDBStructure.h"
#include "core/kvtMsgMngr.h"
#include "extract/kvtASAScriptExtract.h"
#include "extract/kvtIBScriptExtract.h"
#include "extract/kvtMSSQLScriptExtract.h"
#include "extract/kvtMySQLScriptExtract.h"
#include "extract/kvtOracleScriptExtract.h"
#include "script/kvtSQL_Exec.h"

const char* const OrvalisVersion = "0.1.0";

const char* const OrvalisUsage =
    "orvalis [options] MASTER TARGET\n"
    "  -d, --dialect NAME          dialect of both scripts: firebird (also: interbase, ib), "
    "sqlanywhere (asa), mysql, oracle, mssql; default firebird\n"
    "      --master-dialect NAME   dialect of the master script only (cross-dialect: the master "
    "is converted to the target's)\n"
    "      --target-dialect NAME   dialect of the target script only\n"
    "  -o, --output FILE           write the update script to FILE instead of standard output\n"
    "      --objects LIST          compare only these object families (comma list of the "
    "TCmpObjType names without \"co\", case-insensitive; default: all)\n"
    "      --include PATTERN       take only objects whose name matches (repeatable; the "
    "extractor's pattern rules)\n"
    "      --exclude PATTERN       leave out objects whose name matches (repeatable)\n"
    "      --set NAME=VALUE        set a server or compare option by its published name, e.g. "
    "IB.SQLServerVersion=st_Firebird_30, IB.SQLDialect=1, IB.UpdateFieldPosition=false, "
    "MSSQL.CaseSensitiveIdentifiers=true (repeatable; an unknown name or value is an error that "
    "lists the valid ones)\n"
    "      --crlf                  end output lines with CR LF (default: LF)\n"
    "      --runnable              write the script so that the target server's own client runs "
    "it as it is: each statement with a body (procedure, function, trigger, package, EXECUTE "
    "BLOCK, also their empty stubs and restored bodies) is put between \"SET TERM ^ ;\" and "
    "\"SET TERM ; ^\" and ended by \"^\" (firebird, for isql), or between \"DELIMITER $$\" and "
    "\"DELIMITER ;\" and ended by \"$$\" (mysql, for the mysql/mariadb client); a longer "
    "terminator (\"^^\", \"$$$\") is taken when the body holds the short one. Firebird and mysql "
    "targets only\n"
    "      --summary[=text|json]   instead of the script, one line per changed object: kind, "
    "name, what happens to it (created, altered, dropped, recreated) and, when another object "
    "forces it, which (\"view V_ORDERS recreated: column ORDERS.AMOUNT altered\"); =json writes "
    "the same as a JSON array of {action, kind, name, reason, statements}\n"
    "      --safe                  write statements that destroy data (DROP TABLE, DROP COLUMN, "
    "type changes that can truncate or fail on existing rows) as comments marked with why, and "
    "exit with 3 when any was commented out\n"
    "      --explain               put before each statement that drops, empties or re-creates "
    "an object because of another one a comment naming that object\n"
    "  -v, --verbose               also print the log lines on standard error\n"
    "  -h, --help / --version\n"
    "Exit status: 0 when the schemas are equal, 1 when they differ, 2 on any error, 3 when --safe "
    "commented out a statement.\n";

namespace {

struct TDialectName {
  const char* Name;
  TServerType Type;
};

const TDialectName DialectNames[] = {
    {"firebird", srvInterBase}, {"interbase", srvInterBase}, {"ib", srvInterBase},
    {"sqlanywhere", srvASA},    {"asa", srvASA},             {"mysql", srvMySQL},
    {"oracle", srvOracle},      {"mssql", srvMSSQL}};

std::string ValidDialects() {
  std::string text;
  for (const TDialectName& d : DialectNames) {
    if (!text.empty()) text += ", ";
    text += d.Name;
  }
  return text;
}

// The first command-line name of a dialect.
std::string DialectDisplayName(TServerType type) {
  for (const TDialectName& d : DialectNames)
    if (d.Type == type) return d.Name;
  return "dialect " + std::to_string(static_cast<int>(type));
}

std::string Trim(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
  return s.substr(b, e - b);
}

bool ParseObjects(const std::string& list, TCmpObjSetType& set, std::string& error) {
  set = TCmpObjSetType::Empty();
  size_t start = 0;
  while (start <= list.size()) {
    size_t comma = list.find(',', start);
    if (comma == std::string::npos) comma = list.size();
    const std::string item = Trim(list.substr(start, comma - start));
    start = comma + 1;
    if (item.empty()) continue;
    bool found = false;
    for (int i = 0; i < TCmpObjTypeCount; ++i) {
      const auto t = static_cast<TCmpObjType>(i);
      if (SameTextAscii(item, CmpObjTypeName(t))) {
        set.Include(t);
        found = true;
        break;
      }
    }
    if (!found) {
      std::string valid;
      for (int i = 0; i < TCmpObjTypeCount; ++i) {
        if (!valid.empty()) valid += ", ";
        valid += CmpObjTypeName(static_cast<TCmpObjType>(i));
      }
      error = "unknown object family '" + item + "' in --objects; valid families: " + valid;
      return false;
    }
  }
  return true;
}

// Library texts end lines in CR LF; the console gets plain line feeds.
std::string ToLF(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      out += '\n';
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

// Routes the components' log and error reports to standard error and
// remembers whether anything went wrong. As in the window, errors raised
// during the run are printed as they come (the first parse error carries the
// script position), and the collected error text follows under "Errors:";
// log lines are printed only with --verbose.
// The text without leading and trailing line breaks.
std::string TrimLineBreaks(const std::string& text) {
  size_t b = 0, e = text.size();
  while (b < e && (text[b] == '\n' || text[b] == '\r')) ++b;
  while (e > b && (text[e - 1] == '\n' || text[e - 1] == '\r')) --e;
  return text.substr(b, e - b);
}

class TRunReporter {
 public:
  TRunReporter(std::ostream& err, bool verbose)
      : Err(err), Verbose(verbose),
        PreviousShowError(SetShowErrorTextHandler([this](const std::string& text) {
          Err << ToLF(text) << "\n";
          ++BoxErrors;
        })) {}
  ~TRunReporter() { SetShowErrorTextHandler(PreviousShowError); }
  TRunReporter(const TRunReporter&) = delete;
  TRunReporter& operator=(const TRunReporter&) = delete;

  TLogNextLineEvent LogHandler() {
    return [this](void*, const std::string& text) { Log(text); };
  }
  TErrorMessageEvent ErrorHandler() {
    return [this](void*, const std::string& text) { Error(text); };
  }

  void Log(const std::string& text) {
    if (Verbose) Err << ToLF(text) << "\n";
  }
  void Error(const std::string& text) {
    ++LiveErrors;
    Err << TrimLineBreaks(ToLF(text)) << "\n";
  }
  bool HadErrors() const { return BoxErrors > 0 || LiveErrors > 0; }

  // The collected errors under "Errors:", as the window prints them after a
  // run.
  void ReportErrors(const TMsgManager& collected) {
    if (collected.HasErrors()) Err << "Errors:\n" << ToLF(collected.GetErrorText()) << "\n";
  }

 private:
  std::ostream& Err;
  bool Verbose;
  int BoxErrors = 0;
  int LiveErrors = 0;
  TShowErrorTextHandler PreviousShowError;
};

std::unique_ptr<TCustomScriptExtract> MakeExtractor(TServerType dialect) {
  std::unique_ptr<TCustomScriptExtract> ex;
  switch (dialect) {
    case srvInterBase:
    default:
      ex = std::make_unique<TIBScriptExtract>();
      ex->Name = "IBScriptExtract";
      break;
    case srvASA:
      ex = std::make_unique<TASAScriptExtract>();
      ex->Name = "SAWScriptExtract";
      break;
    case srvMySQL:
      ex = std::make_unique<TMySQLScriptExtract>();
      ex->Name = "MySQLScriptExtract";
      break;
    case srvOracle:
      ex = std::make_unique<TOracleScriptExtract>();
      ex->Name = "OracleScriptExtract";
      break;
    case srvMSSQL:
      ex = std::make_unique<TMSSQLScriptExtract>();
      ex->Name = "MSSQLScriptExtract";
      break;
  }
  return ex;
}

}  // namespace

TServerType DialectByName(const std::string& name) {
  for (const TDialectName& d : DialectNames)
    if (SameTextAscii(name, d.Name)) return d.Type;
  return srvNone;
}

bool ParseCliArguments(const std::vector<std::string>& args, TCliOptions& opts,
                       std::string& error) {
  TStringList files;
  bool optionsEnded = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
      files.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    std::string name = arg;
    std::string inlineValue;
    bool hasInlineValue = false;
    if (arg.rfind("--", 0) == 0) {
      if (size_t eq = arg.find('='); eq != std::string::npos) {
        name = arg.substr(0, eq);
        inlineValue = arg.substr(eq + 1);
        hasInlineValue = true;
      }
    }
    // The value of an option that takes one: after "=" or the next argument.
    auto takeValue = [&](std::string& value) {
      if (hasInlineValue) {
        value = inlineValue;
        return true;
      }
      if (i + 1 >= args.size()) {
        error = "option '" + name + "' needs a value";
        return false;
      }
      value = args[++i];
      return true;
    };
    auto takeDialect = [&](TServerType& dialect) {
      std::string value;
      if (!takeValue(value)) return false;
      dialect = DialectByName(value);
      if (dialect == srvNone) {
        error = "unknown dialect '" + value + "'; valid dialects: " + ValidDialects();
        return false;
      }
      return true;
    };

    std::string value;
    if (name == "-h" || name == "--help") {
      opts.Help = true;
    } else if (name == "--version") {
      opts.Version = true;
    } else if (name == "-v" || name == "--verbose") {
      opts.Verbose = true;
    } else if (name == "--crlf") {
      opts.Crlf = true;
    } else if (name == "--runnable") {
      opts.Runnable = true;
    } else if (name == "--safe") {
      opts.Safe = true;
    } else if (name == "--explain") {
      opts.Explain = true;
    } else if (name == "--summary") {
      if (!hasInlineValue || inlineValue == "text") {
        opts.Summary = TSummaryMode::Text;
      } else if (inlineValue == "json") {
        opts.Summary = TSummaryMode::Json;
      } else {
        error = "unknown summary format '" + inlineValue + "'; valid formats: text, json";
        return false;
      }
    } else if (name == "-d" || name == "--dialect") {
      TServerType dialect = srvNone;
      if (!takeDialect(dialect)) return false;
      opts.MasterDialect = opts.TargetDialect = dialect;
    } else if (name == "--master-dialect") {
      if (!takeDialect(opts.MasterDialect)) return false;
    } else if (name == "--target-dialect") {
      if (!takeDialect(opts.TargetDialect)) return false;
    } else if (name == "-o" || name == "--output") {
      if (!takeValue(opts.OutputFile)) return false;
      if (opts.OutputFile.empty()) {
        error = "option '" + name + "' needs a file name";
        return false;
      }
    } else if (name == "--objects") {
      if (!takeValue(value) || !ParseObjects(value, opts.Objects, error)) return false;
      opts.HasObjects = true;
    } else if (name == "--include") {
      if (!takeValue(value)) return false;
      opts.Include.push_back(value);
    } else if (name == "--exclude") {
      if (!takeValue(value)) return false;
      opts.Exclude.push_back(value);
    } else if (name == "--set") {
      if (!takeValue(value)) return false;
      opts.Settings.push_back(value);
    } else {
      error = "unknown option '" + arg + "'";
      return false;
    }
    if (hasInlineValue && (name == "-h" || name == "--help" || name == "--version" ||
                           name == "--verbose" || name == "--crlf" ||
                           name == "--runnable" || name == "--safe" || name == "--explain")) {
      error = "option '" + name + "' takes no value";
      return false;
    }
  }
  if (opts.Help || opts.Version) return true;
  if (opts.Runnable && !RunnableScriptSupported(opts.TargetDialect)) {
    error = "--runnable supports firebird and mysql targets only, not " +
            DialectDisplayName(opts.TargetDialect);
    return false;
  }
  if (files.size() < 2) {
    error = files.empty() ? "missing MASTER and TARGET script arguments"
                          : "missing TARGET script argument";
    return false;
  }
  if (files.size() > 2) {
    error = "too many arguments: '" + files[2] + "'";
    return false;
  }
  opts.MasterFile = files[0];
  opts.TargetFile = files[1];
  return true;
}

bool ScriptHasActions(const TCustomSQLExec& exec) {
  for (const auto& st : exec.Statements)
    if (st->Action != saNone && st->Action != saComment && st->Action != saCommit) return true;
  return false;
}

std::string RenderScriptText(TCustomSQLExec& exec, bool crlf) {
  TStringList lines;
  exec.RenderScript(lines, false);
  const char* eol = crlf ? "\r\n" : "\n";
  std::string text;
  for (const std::string& line : lines) {
    text += line;
    text += eol;
  }
  return text;
}

bool WriteFileAtomically(const std::string& path, const std::string& text, std::string& error) {
  namespace fs = std::filesystem;
  const fs::path dest(path);
  const fs::path dir = dest.has_parent_path() ? dest.parent_path() : fs::path(".");
  std::string pattern = (dir / ("." + dest.filename().string() + ".XXXXXX")).string();
  auto fail = [&](const std::string& what) {
    error = "cannot write '" + path + "': " + what;
    return false;
  };

  const int fd = mkstemp(pattern.data());
  if (fd < 0) return fail(std::strerror(errno));
  const std::string tmp = pattern;
  auto failAndRemove = [&](const std::string& what) {
    ::unlink(tmp.c_str());
    return fail(what);
  };

  // The file gets the permissions a plain new file would get, or keeps those
  // of the file it replaces.
  struct stat st {};
  mode_t mode;
  if (::stat(path.c_str(), &st) == 0) {
    mode = st.st_mode & 07777;
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }

  size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      const std::string why = std::strerror(errno);
      ::close(fd);
      return failAndRemove(why);
    }
    done += static_cast<size_t>(n);
  }
  if (::fchmod(fd, mode) != 0 || ::fsync(fd) != 0) {
    const std::string why = std::strerror(errno);
    ::close(fd);
    return failAndRemove(why);
  }
  if (::close(fd) != 0) return failAndRemove(std::strerror(errno));
  if (std::rename(tmp.c_str(), path.c_str()) != 0) return failAndRemove(std::strerror(errno));
  return true;
}

int CompareAndWrite(TVeltrane& veltrane, const TCliOptions& opts, std::ostream& out,
                    std::ostream& err) {
  if (!veltrane.CanCompare) {
    err << "orvalis: nothing to compare: the extraction failed\n";
    return ExitError;
  }
  TRunReporter reporter(err, opts.Verbose);
  // The comparer is the caller's: its handlers are restored afterwards.
  const TLogNextLineEvent oldLog = veltrane.OnLogNextLine;
  const TErrorMessageEvent oldError = veltrane.OnErrorMessage;
  veltrane.OnLogNextLine = reporter.LogHandler();
  veltrane.OnErrorMessage = reporter.ErrorHandler();
  veltrane.Compare();
  veltrane.OnLogNextLine = oldLog;
  veltrane.OnErrorMessage = oldError;

  TCustomSQLExec* exec = veltrane.GetSQLExec();
  if (veltrane.MsgManager.HasErrors() || reporter.HadErrors() || !exec) {
    reporter.ReportErrors(veltrane.MsgManager);
    if (!exec) err << "orvalis: no update script was produced\n";
    return ExitError;
  }
  reporter.Log("< Comparing finished. Loading script... >");

  std::string text;
  int commentedOut = 0;
  if (opts.Summary != TSummaryMode::None) {
    const std::vector<TChangeEntry> changes = SummarizeChanges(*exec);
    text = opts.Summary == TSummaryMode::Json ? FormatSummaryJson(changes, *exec, opts.Crlf)
                                              : FormatSummaryText(changes, opts.Crlf);
  } else {
    TScriptOutputOptions output;
    output.Dialect = opts.TargetDialect;
    output.Crlf = opts.Crlf;
    output.Runnable = opts.Runnable;
    output.Safe = opts.Safe;
    output.Explain = opts.Explain;
    const TScriptOutput rendered = RenderScriptOutput(*exec, output);
    text = rendered.Text;
    commentedOut = rendered.CommentedOut;
  }
  if (opts.OutputFile.empty()) {
    out << text;
    out.flush();
    if (!out) {
      err << "orvalis: cannot write the update script to standard output\n";
      return ExitError;
    }
  } else {
    std::string error;
    if (!WriteFileAtomically(opts.OutputFile, text, error)) {
      err << "orvalis: " << error << "\n";
      return ExitError;
    }
  }
  reporter.Log("< Process finished. >");
  if (commentedOut > 0) {
    err << "orvalis: --safe left " << commentedOut
        << (commentedOut == 1 ? " statement" : " statements")
        << " that would destroy data as comments\n";
    return ExitUnsafe;
  }
  return ScriptHasActions(*exec) ? ExitDifferent : ExitEqual;
}

int RunOrvalis(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  TCliOptions opts;
  std::string error;
  if (!ParseCliArguments(args, opts, error)) {
    err << "orvalis: " << error << "\nTry 'orvalis --help' for more information.\n";
    return ExitError;
  }
  if (opts.Help) {
    out << OrvalisUsage;
    return ExitEqual;
  }
  if (opts.Version) {
    out << "orvalis " << OrvalisVersion << "\n";
    return ExitEqual;
  }

  try {
    // Declared first so that it outlives every component reporting to it.
    TRunReporter reporter(err, opts.Verbose);
    TDBStructure master;
    TDBStructure target;
    TVeltrane veltrane;
    veltrane.Name = "Veltrane";
    veltrane.SetDBStructureMaster(&master);
    veltrane.SetDBStructureTarget(&target);
    for (const std::string& setting : opts.Settings)
      if (!ApplyOptionSetting(setting, {master.Objs, target.Objs}, &veltrane, error)) {
        err << "orvalis: " << error << "\n";
        return ExitError;
      }
    if (opts.HasObjects) veltrane.CompareObjects = opts.Objects;

    // One extractor per dialect; with one dialect it serves both sides, one
    // after the other, as in the window.
    std::unique_ptr<TCustomScriptExtract> masterExtract = MakeExtractor(opts.MasterDialect);
    std::unique_ptr<TCustomScriptExtract> targetOwn;
    TCustomScriptExtract* targetExtract = masterExtract.get();
    if (opts.TargetDialect != opts.MasterDialect) {
      targetOwn = MakeExtractor(opts.TargetDialect);
      targetExtract = targetOwn.get();
    }
    for (TCustomScriptExtract* ex : {masterExtract.get(), targetExtract}) {
      ex->IncludeObjsNames = opts.Include;
      ex->ExcludeObjsNames = opts.Exclude;
      ex->SetOnLogNextLine(reporter.LogHandler());
      ex->SetOnErrorMessage(reporter.ErrorHandler());
    }

    veltrane.OnLogNextLine = reporter.LogHandler();
    veltrane.OnErrorMessage = reporter.ErrorHandler();
    veltrane.OnBeforeExtract = [&](void*) {
      veltrane.ExtractorMaster = masterExtract.get();
      veltrane.ExtractorTarget = targetExtract;
    };
    veltrane.OnBeforeExtractMaster = [&](void*) {
      masterExtract->SetDBStructure(&master);
      masterExtract->ScriptFiles = {opts.MasterFile};
    };
    veltrane.OnBeforeExtractTarget = [&](void*) {
      targetExtract->SetDBStructure(&target);
      targetExtract->ScriptFiles = {opts.TargetFile};
    };

    const bool extracted = veltrane.Extract();
    reporter.Log("< Extracting finished... >");
    if (!extracted) {
      reporter.ReportErrors(veltrane.MsgManager);
      return ExitError;
    }
    return CompareAndWrite(veltrane, opts, out, err);
  } catch (const std::exception& e) {
    err << "orvalis: " << e.what() << "\n";
  } catch (...) {
    err << "orvalis: unexpected failure\n";
  }
  return ExitError;
}
