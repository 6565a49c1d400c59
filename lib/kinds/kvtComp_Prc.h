// Stored procedures and functions, and PostgreSQL operators and operator classes.
#pragma once

#include <string>

#include "core/kvtClasses.h"

class TFldData;

// A stored procedure or function. Its full DDL and comparison phases are added
// with the procedure kind; what is here serves the dependency walks: the stub
// body a procedure is emptied to, and the mark that its body must be restored.
class TPrcData : public TDbObj {
 public:
  explicit TPrcData(TObjs* aObjs);
  ~TPrcData() override;
  const char* ClassName() const override { return "TPrcData"; }
  TObjListId GetListId() const override { return olPrc; }
  bool IsFunctionRoutine() const override { return IsFunction; }
  std::string GetSignatureSQL() override { return GetParamsSQL(false); }
  void DropDependents() override;
  void AppendCreateStatement() override;
  void AppendCreateDescriptions(TCustomSQLExec& exec) override;
  // Emptied to its stub when what it uses goes (never on ASE).
  bool ReleaseUse(TDbObj& used) override;
  // A missing procedure is created for its user, or created empty for now
  // and restored with its body later.
  void ProvideFor(TDbObj& user, TDependObj& r) override;

  bool NeedsRestore = false;         // body replaced by the stub; restore it later
  TNamedObjList<TFldData> Params;    // parameters in declaration order
  TNamedObjList<TFldData> Results;   // output parameters, result columns or return type
  bool ReturnsTable = false;         // MS SQL inline table-valued function
  bool IsFunction = false;

  // Sets NeedsRestore here and on the Pair.
  void SetNeedsRestore(bool value);
  bool IsTableFunction() const;
  // Parameter and return clause.
  std::string GetParamsSQL(bool withReturns);
  // Body of the empty stand-in the script creates or empties the procedure to.
  std::string GetStubBody();
  std::string GetStubCreateSQL();
  // Replaces the body by the stub; with writeAlter, appends the ALTER statement.
  void EmptyBody(bool writeAlter);
};

// A PostgreSQL operator. Its DDL is added with the operator kind.
class TOprData : public TDbObj {
 public:
  explicit TOprData(TObjs* aObjs) : TDbObj(aObjs) { ObjType = dboOperator; }
  const char* ClassName() const override { return "TOprData"; }
  TObjListId GetListId() const override { return olOpr; }
};

// A PostgreSQL operator class. Its DDL is added with the operator kind.
class TOpcData : public TDbObj {
 public:
  explicit TOpcData(TObjs* aObjs) : TDbObj(aObjs) { ObjType = dboOperatorClass; }
  const char* ClassName() const override { return "TOpcData"; }
  TObjListId GetListId() const override { return olOpc; }
};
