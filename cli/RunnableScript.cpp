#include "RunnableScript.h"

#include <cctype>

#include "ScriptOutput.h"
#include "script/kvtSQL_Exec.h"

namespace {

// Whether `text` starts with the words EXECUTE BLOCK (any case, any blanks or
// line breaks between them and before them).
bool StartsWithExecuteBlock(const std::string& text) {
  size_t i = 0;
  auto skipBlanks = [&] {
    while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ') ++i;
  };
  auto word = [&](const char* w) {
    size_t j = i;
    for (; *w; ++w, ++j)
      if (j >= text.size() ||
          std::toupper(static_cast<unsigned char>(text[j])) != static_cast<unsigned char>(*w))
        return false;
    if (j < text.size()) {
      const unsigned char next = static_cast<unsigned char>(text[j]);
      if (std::isalnum(next) || next == '_' || next == '$') return false;
    }
    i = j;
    return true;
  };
  skipBlanks();
  if (!word("EXECUTE")) return false;
  const size_t afterExecute = i;
  skipBlanks();
  return i > afterExecute && word("BLOCK");
}

}  // namespace

const char* BaseTerminator(TServerType dialect) {
  switch (dialect) {
    case srvInterBase: return "^";
    case srvMySQL: return "$$";
    default: return "";
  }
}

std::string OpenTerminator(TServerType dialect, const std::string& term) {
  return dialect == srvMySQL ? "DELIMITER " + term : "SET TERM " + term + " ;";
}

std::string CloseTerminator(TServerType dialect, const std::string& term) {
  return dialect == srvMySQL ? std::string("DELIMITER ;") : "SET TERM ; " + term;
}

bool RunnableScriptSupported(TServerType dialect) {
  return dialect == srvInterBase || dialect == srvMySQL;
}

bool StatementHoldsBody(const TStatement& st) {
  switch (st.Kind) {
    case skProcedure:
    case skTrigger:
    case skPackage:
    case skExecuteBlock:
      return true;
    case skStatement:
      // A package header written as a plain statement lists its members,
      // each ended by ";".
      if (st.ObjType == dboPackage && st.Action == saCreate) return true;
      return StartsWithExecuteBlock(st.GetText());
    default:
      return false;
  }
}

std::string ChooseTerminator(const std::string& text, const std::string& base) {
  std::string term = base;
  while (text.find(term) != std::string::npos) term += base.back();
  return term;
}

std::string RenderRunnableScriptText(TCustomSQLExec& exec, TServerType dialect, bool crlf) {
  TScriptOutputOptions options;
  options.Dialect = dialect;
  options.Crlf = crlf;
  options.Runnable = RunnableScriptSupported(dialect);
  return RenderScriptOutput(exec, options).Text;
}
