// PostgreSQL operators and operator classes. No script reader creates them;
// a container receives them from a PostgreSQL source through AddObj. They are
// compared by their creation text and re-created when it differs.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/kvtClasses.h"
#include "core/kvtTypes.h"

struct TCompareContext;

// A PostgreSQL operator. Its symbol is the base Name, its schema the base
// Schema. Overloads (the same symbol on other argument types) are separate
// objects: the argument types are part of the key.
class TOprData : public TDbObj {
 public:
  explicit TOprData(TObjs* aObjs) : TDbObj(aObjs) { ObjType = dboOperator; }
  const char* ClassName() const override { return "TOprData"; }
  TObjListId GetListId() const override { return olOpr; }

  std::string GetDisplayName() override { return GetListKey(); }
  // schema.symbol (left, right)
  std::string GetListKey() override;
  std::string GetCreateSQL() override;
  std::string GetDropSQL() override;
  // "(left, right)", NONE for a missing argument.
  std::string GetArgumentPair() const;

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

// A PostgreSQL operator class of one index method.
class TOpcData : public TDbObj {
 public:
  explicit TOpcData(TObjs* aObjs) : TDbObj(aObjs) { ObjType = dboOperatorClass; }
  const char* ClassName() const override { return "TOpcData"; }
  TObjListId GetListId() const override { return olOpc; }

  std::string GetDisplayName() override { return GetListKey(); }
  // name(index method)
  std::string GetListKey() override;
  std::string GetCreateSQL() override;
  std::string GetDropSQL() override;

  bool IsDefault = false;   // DEFAULT
  std::string ForType;      // FOR TYPE
  std::string IndexMethod;  // USING
  std::vector<std::unique_ptr<TOpcOprData>> Operators;
  std::vector<std::unique_ptr<TOpcFncData>> Functions;
  std::string StorageType;  // STORAGE
};

// Comparison phases, for a PostgreSQL target only. Operators are created
// before the operator classes that use them and dropped after them.
void CreateOperators(TCompareContext& ctx);
void AlterOperators(TCompareContext& ctx);
void DropOperators(TCompareContext& ctx);
void CreateOperatorClasses(TCompareContext& ctx);
void AlterOperatorClasses(TCompareContext& ctx);
void DropOperatorClasses(TCompareContext& ctx);
