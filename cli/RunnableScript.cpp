#include "RunnableScript.h"

#include <cctype>

#include "script/kvtSQL_Exec.h"

namespace {

// Leading and trailing blanks and control characters removed, as the
// statement list trims a statement's text before rendering it.
std::string TrimControls(const std::string& text) {
  size_t b = 0, e = text.size();
  while (b < e && static_cast<unsigned char>(text[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(text[e - 1]) <= ' ') --e;
  return text.substr(b, e - b);
}

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

struct TClientSyntax {
  const char* BaseTerminator;
  std::string (*Open)(const std::string& term);
  std::string (*Close)(const std::string& term);
};

const TClientSyntax IsqlSyntax{
    "^", [](const std::string& term) { return "SET TERM " + term + " ;"; },
    [](const std::string& term) { return "SET TERM ; " + term; }};

const TClientSyntax MySQLClientSyntax{
    "$$", [](const std::string& term) { return "DELIMITER " + term; },
    [](const std::string&) { return std::string("DELIMITER ;"); }};

}  // namespace

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
  TStringList plain;
  exec.RenderScript(plain, true);
  const TClientSyntax* syntax = dialect == srvInterBase ? &IsqlSyntax
                                : dialect == srvMySQL   ? &MySQLClientSyntax
                                                        : nullptr;
  TStringList lines;
  const int count = exec.Count();
  for (int i = 0; i < count; ++i) {
    const TStatement& st = *exec.GetStatement(i);
    const size_t begin = static_cast<size_t>(st.FirstLine);
    const size_t end =
        i + 1 < count ? static_cast<size_t>(exec.GetStatement(i + 1)->FirstLine) : plain.size();
    if (!syntax || !StatementHoldsBody(st)) {
      lines.insert(lines.end(), plain.begin() + static_cast<std::ptrdiff_t>(begin),
                   plain.begin() + static_cast<std::ptrdiff_t>(end));
      continue;
    }
    const std::string text = TrimControls(st.GetText());
    const std::string term = ChooseTerminator(text, syntax->BaseTerminator);
    lines.push_back(syntax->Open(term));
    size_t start = 0;
    for (;;) {
      const size_t pos = text.find("\r\n", start);
      if (pos == std::string::npos) {
        lines.push_back(text.substr(start) + term);
        break;
      }
      lines.push_back(text.substr(start, pos - start));
      start = pos + 2;
    }
    lines.push_back(syntax->Close(term));
    // The blank line that follows the statement in the plain script stays.
    if (end > begin && plain[end - 1].empty()) lines.emplace_back();
  }
  const char* eol = crlf ? "\r\n" : "\n";
  std::string out;
  for (const std::string& line : lines) {
    out += line;
    out += eol;
  }
  return out;
}
