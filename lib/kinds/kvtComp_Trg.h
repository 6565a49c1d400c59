// Triggers.
#pragma once

#include <string>

#include "core/kvtClasses.h"

// A trigger. Its DDL and comparison phases are added with the trigger kind;
// what is here serves the dependency walks: the table it belongs to, its stub
// body and the mark that its body must be restored.
class TTrgData : public TDbObj {
 public:
  explicit TTrgData(TObjs* aObjs) : TDbObj(aObjs) { ObjType = dboTrigger; }
  const char* ClassName() const override { return "TTrgData"; }
  TObjListId GetListId() const override { return olTrg; }
  TDbObj* GetParentObj() const override { return Table; }
  std::string GetParentName() const override { return TableName; }
  // A trigger statement; the body it was created with is remembered.
  void AppendCreateStatement() override;
  // Emptied to its stub (dropped for PostgreSQL and ASE) when what it uses goes.
  bool ReleaseUse(TDbObj& used) override;

  std::string TableName;    // table or view the trigger belongs to
  TDbObj* Table = nullptr;  // that table or view when resolved; not owned
  bool NeedsRestore = false;
  std::string CreatedBody;  // Body when the script created the trigger

  void SetNeedsRestore(bool value);
  // Body of the empty stand-in the script empties the trigger to.
  std::string GetStubBody();
};
