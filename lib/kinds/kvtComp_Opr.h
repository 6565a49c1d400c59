// PostgreSQL operators and operator classes.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/kvtClasses.h"
#include "core/kvtTypes.h"

// A PostgreSQL operator. Its symbol is the base Name, its schema the base
// Schema. Its DDL is added with the operator kind.
class TOprData : public TDbObj {
 public:
  explicit TOprData(TObjs* aObjs) : TDbObj(aObjs) { ObjType = dboOperator; }
  const char* ClassName() const override { return "TOprData"; }
  TObjListId GetListId() const override { return olOpr; }

  std::string ProcedureName;  // PROCEDURE = (the implementing function)
  std::string LeftArg;        // LEFTARG type; empty = NONE
  std::string RightArg;       // RIGHTARG type; empty = NONE
  std::string Commutator;     // COMMUTATOR =
  std::string Negator;        // NEGATOR =
  std::string RestrictProc;   // RESTRICT =
  std::string JoinProc;       // JOIN =
  bool Hashes = false;        // HASHES
  bool Merges = false;        // MERGES
  std::string Sort1;          // SORT1 =
  std::string Sort2;          // SORT2 =
  std::string LtCmp;          // LTCMP =
  std::string GtCmp;          // GTCMP =
};

// One OPERATOR entry of an operator class.
struct TOpcOprData {
  int32_t StrategyNumber = 0;
  std::string OperatorName;
  std::string LeftType;   // empty = NONE
  std::string RightType;  // empty = NONE
};

class TOpcData;

// One FUNCTION entry of an operator class.
struct TOpcFncData {
  TOpcData* Owner = nullptr;  // the operator class; its QuoteName quotes FunctionName
  int32_t SupportNumber = 0;
  std::string FunctionName;
  TStringList ArgTypes;  // argument type texts
};

// A PostgreSQL operator class. Its DDL is added with the operator kind.
class TOpcData : public TDbObj {
 public:
  explicit TOpcData(TObjs* aObjs) : TDbObj(aObjs) { ObjType = dboOperatorClass; }
  const char* ClassName() const override { return "TOpcData"; }
  TObjListId GetListId() const override { return olOpc; }

  bool IsDefault = false;   // DEFAULT
  std::string ForType;      // FOR TYPE
  std::string IndexMethod;  // USING
  std::vector<std::unique_ptr<TOpcOprData>> Operators;
  std::vector<std::unique_ptr<TOpcFncData>> Functions;
  std::string StorageType;  // STORAGE
};
