// The comment that opens a phase's part of the script, written once before
// the phase's first statement, and the bare line break that closes it when
// it was written. Every kind's phases use it.
#pragma once

#include <string>
#include <utility>

#include "core/kvtClasses.h"
#include "script/kvtSQL_Exec.h"

class TPhaseHeader {
 public:
  TPhaseHeader(TCustomSQLExec& exec, std::string text) : Exec(exec), Text(std::move(text)) {}
  TPhaseHeader(const TPhaseHeader&) = delete;
  TPhaseHeader& operator=(const TPhaseHeader&) = delete;

  // Writes the text as it is (a complete comment); nothing when it is empty.
  void Write() {
    if (Written || Text.empty()) return;
    Exec.AddComment(Text);
    Written = true;
  }
  // Writes the text as a comment of the dialect `o` renders in.
  void Write(TDbObj& o) {
    if (Written) return;
    Exec.AddComment(o.MakeComment(Text));
    Written = true;
  }
  void Close() {
    if (Written) Exec.AddComment("\r\n");
  }
  bool IsWritten() const { return Written; }

 private:
  TCustomSQLExec& Exec;
  std::string Text;
  bool Written = false;
};

// A comment of the dialect `o` renders in, appended to o's statement list.
inline void WriteComment(TDbObj& o, const std::string& text) {
  if (TCustomSQLExec* exec = o.GetSQLExec()) exec->AddComment(o.MakeComment(text));
}
