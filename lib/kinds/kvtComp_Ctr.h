// Table constraints: primary, unique and foreign keys, checks, defaults.
#pragma once

#include <cstdint>
#include <string>

#include "core/kvtClasses.h"

// Constraint types (ConstraintType).
enum : uint8_t {
  ctPrimaryKey = 0,
  ctUnique = 1,
  ctForeignKey = 2,
  ctCheck = 3,
  ctDefault = 5,
  ctNotNull = 6,
  ctReferences = 7
};

// A table constraint. Its DDL and comparison phases are added with the constraint kind.
class TCtrData : public TDbObj {
 public:
  explicit TCtrData(TObjs* aObjs) : TDbObj(aObjs) { ObjType = dboConstraint; }
  const char* ClassName() const override { return "TCtrData"; }
  TObjListId GetListId() const override { return olCtr; }
  std::string GetParentName() const override { return TableName; }
  const char* GetAutoNamePrefix() const override;

  // Also sets ObjType to the matching kind (types 4 and 6 leave it unchanged).
  void SetConstraintType(uint8_t value);

  uint8_t ConstraintType = ctForeignKey;
  std::string TableName;  // constrained table
};
