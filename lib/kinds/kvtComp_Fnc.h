// InterBase/Firebird external functions (DECLARE EXTERNAL FUNCTION). They
// cannot be altered in place: a changed function is dropped and declared
// again, after everything that still refers to it in the target has been
// emptied or dropped.
#pragma once

#include <memory>
#include <string>

#include "core/kvtClasses.h"

class TFldData;
struct TCompareContext;

class TUdfData : public TDbObj {
 public:
  explicit TUdfData(TObjs* aObjs);
  ~TUdfData() override;
  const char* ClassName() const override { return "TUdfData"; }
  TObjListId GetListId() const override { return olFnc; }

  // The declaration, the same for every dialect.
  std::string GetCreateSQL() override;
  // After the base walk: views reading a column that uses the function, and
  // computed columns using it, go first.
  void DropDependents() override;
  // Views and computed columns the master still has come back right after
  // the function is gone.
  void MarkDropped() override;

  // Arguments in declaration order; each column's Owner is the function and
  // its TableName the function's name.
  TNamedObjList<TFldData> Arguments;
  // The RETURNS value, created with the function (same container, no owner);
  // a ParameterNumber makes RETURNS name an argument position instead.
  std::unique_ptr<TFldData> ReturnField;
  std::string EntryPoint;  // ENTRY_POINT, unquoted
  std::string ModuleName;  // MODULE_NAME, unquoted
  bool FreeIt = false;     // FREE_IT
};

// Comparison phases.
// New master functions: declared.
void DeclareFunctions(TCompareContext& ctx);
// Functions whose declarations differ: what uses the target's function is
// emptied or dropped, then the function is dropped and declared again.
void AlterFunctions(TCompareContext& ctx);
// Target functions the master does not have.
void DropFunctions(TCompareContext& ctx);
