// What one comparison hands to each of its phases: the two containers, the
// statement list, the families compared, the collected change notes and the
// error sink. The comparer owns it for the length of one Compare; nothing of
// it outlives the run, so two comparisons never share state.
#pragma once

#include <functional>
#include <string>

#include "core/kvtTypes.h"

class TObjs;
class TCustomSQLExec;
class TVeltrane;

struct TCompareContext {
  TCompareContext(TObjs& master, TObjs& target, TCustomSQLExec& exec)
      : Master(master), Target(target), Exec(exec) {}
  TCompareContext(const TCompareContext&) = delete;
  TCompareContext& operator=(const TCompareContext&) = delete;

  TObjs& Master;
  TObjs& Target;
  TCustomSQLExec& Exec;
  // Families the run compares (the comparer's CompareObjects).
  TCmpObjSetType CompareObjects;
  // Notes on domain and column changes, each carrying its statement (the
  // comparer's ChangeNotes); null when nobody collects them.
  TStringList* ChangeNotes = nullptr;
  // Reports an error of the run; the sequence goes on.
  std::function<void(const std::string&)> OnError;
  // The comparer running the sequence, for the phases that are its own
  // (script header); null when phases run on their own.
  TVeltrane* Comparer = nullptr;

  void Error(const std::string& text) const {
    if (OnError) OnError(text);
  }
  bool Compares(TCmpObjType family) const { return CompareObjects.Contains(family); }
};
