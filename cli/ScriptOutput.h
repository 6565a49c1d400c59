// The update script as the command-line tool writes it: the statement list's
// own rendering, optionally made runnable by the target's client, with
// destructive statements commented out (--safe) and with a comment naming
// what forced each dependent change (--explain).
#pragma once

#include <string>

#include "core/kvtTypes.h"

class TCustomSQLExec;

struct TScriptOutputOptions {
  TServerType Dialect = srvInterBase;  // the target's dialect
  bool Crlf = false;                   // CR LF line ends instead of LF
  bool Runnable = false;               // body statements wrapped for the client
  bool Safe = false;                   // statements that destroy data written as comments
  bool Explain = false;                // comment lines naming what forced a dependent change
};

struct TScriptOutput {
  std::string Text;
  int CommentedOut = 0;  // statements --safe wrote as comments
};

TScriptOutput RenderScriptOutput(TCustomSQLExec& exec, const TScriptOutputOptions& options);
