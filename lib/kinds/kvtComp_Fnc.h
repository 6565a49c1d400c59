// External functions.
#pragma once

#include <memory>
#include <string>

#include "core/kvtClasses.h"

class TFldData;

// An external function. Its DDL and comparison phases are added with the function kind.
class TUdfData : public TDbObj {
 public:
  explicit TUdfData(TObjs* aObjs);
  ~TUdfData() override;
  const char* ClassName() const override { return "TUdfData"; }
  TObjListId GetListId() const override { return olFnc; }

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
