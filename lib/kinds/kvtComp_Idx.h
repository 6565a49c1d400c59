// Indexes on tables.
#pragma once

#include <string>

#include "core/kvtClasses.h"

// An index on a table. Its DDL and comparison phases are added with the index kind.
class TIdxData : public TDbObj {
 public:
  explicit TIdxData(TObjs* aObjs) : TDbObj(aObjs) { ObjType = dboIndex; }
  const char* ClassName() const override { return "TIdxData"; }
  TObjListId GetListId() const override { return olIdx; }
  std::string GetParentName() const override { return TableName; }

  std::string TableName;  // indexed table
};
