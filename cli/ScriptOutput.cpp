#include "ScriptOutput.h"

#include <vector>

#include "PipelineReport.h"
#include "RunnableScript.h"
#include "script/kvtSQL_Exec.h"

namespace {

std::string TrimControls(const std::string& text) {
  size_t b = 0, e = text.size();
  while (b < e && static_cast<unsigned char>(text[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(text[e - 1]) <= ' ') --e;
  return text.substr(b, e - b);
}

// Lines of a text whose line breaks are CR LF.
void AppendTextLines(TStringList& lines, const std::string& text, const std::string& lastSuffix) {
  size_t start = 0;
  for (;;) {
    const size_t pos = text.find("\r\n", start);
    if (pos == std::string::npos) {
      lines.push_back(text.substr(start) + lastSuffix);
      return;
    }
    lines.push_back(text.substr(start, pos - start));
    start = pos + 2;
  }
}

// A comment line in the target's dialect (SQL Anywhere writes "%" comments).
std::string CommentLine(TServerType dialect, const std::string& text) {
  return dialect == srvASA ? "% " + text : "/* " + text + " */";
}

}  // namespace

TScriptOutput RenderScriptOutput(TCustomSQLExec& exec, const TScriptOutputOptions& options) {
  TScriptOutput result;
  TStringList plain;
  exec.RenderScript(plain, true);
  const bool runnable = options.Runnable && RunnableScriptSupported(options.Dialect);
  std::vector<TChangeEntry> changes;
  std::vector<const TChangeEntry*> entries;
  if (options.Explain) {
    changes = SummarizeChanges(exec);
    entries = EntriesByStatement(changes, static_cast<size_t>(exec.Count()));
  }

  TStringList lines;
  const int count = exec.Count();
  for (int i = 0; i < count; ++i) {
    const TStatement& st = *exec.GetStatement(i);
    const size_t begin = static_cast<size_t>(st.FirstLine);
    const size_t end =
        i + 1 < count ? static_cast<size_t>(exec.GetStatement(i + 1)->FirstLine) : plain.size();
    const bool blankAfter = end > begin && plain[end - 1].empty();

    if (options.Explain) {
      const std::string why = ExplainStatement(st, entries[static_cast<size_t>(i)]);
      if (!why.empty()) lines.push_back(CommentLine(options.Dialect, why));
    }
    if (options.Safe) {
      const std::string loss = DataLossReason(st);
      if (!loss.empty()) {
        // Written as line comments, so nothing of the statement runs.
        lines.push_back("-- orvalis --safe: not run, " + loss);
        for (size_t k = begin; k < end; ++k)
          if (!plain[k].empty()) lines.push_back("-- " + plain[k]);
        if (blankAfter) lines.emplace_back();
        ++result.CommentedOut;
        continue;
      }
    }
    if (!runnable || !StatementHoldsBody(st)) {
      lines.insert(lines.end(), plain.begin() + static_cast<std::ptrdiff_t>(begin),
                   plain.begin() + static_cast<std::ptrdiff_t>(end));
      continue;
    }
    const std::string text = TrimControls(st.GetText());
    const std::string term = ChooseTerminator(text, BaseTerminator(options.Dialect));
    lines.push_back(OpenTerminator(options.Dialect, term));
    AppendTextLines(lines, text, term);
    lines.push_back(CloseTerminator(options.Dialect, term));
    // The blank line that follows the statement in the plain script stays.
    if (blankAfter) lines.emplace_back();
  }
  const char* eol = options.Crlf ? "\r\n" : "\n";
  for (const std::string& line : lines) {
    result.Text += line;
    result.Text += eol;
  }
  return result;
}
