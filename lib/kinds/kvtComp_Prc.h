// Stored procedures and functions.
#pragma once

#include <bitset>
#include <cstdint>
#include <memory>
#include <string>

#include "core/kvtClasses.h"
#include "core/kvtTypes.h"

class TFldData;

// MySQL routine characteristics (TPrcData::Characteristics bit positions).
// Bit 3 is never written.
enum : uint8_t {
  pcLanguageSql = 0,
  pcDeterministic = 1,
  pcNotDeterministic = 2,
  pcNoSql = 4,
  pcReadsSqlData = 5,
  pcModifiesSqlData = 6,
  pcSqlSecurityDefiner = 7,
  pcSqlSecurityInvoker = 8
};
using TRoutineCharacteristics = std::bitset<16>;

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

  // ---- Fields, in declaration order ----
  bool NeedsRestore = false;  // body replaced by the stub; write through SetNeedsRestore
  // Parameters in declaration order; each column's Direction holds the mode
  // (pdNone, pdIn, pdOut, pdInOut, pdVariadic).
  TNamedObjList<TFldData> Params;
  // Output parameters (InterBase/Firebird RETURNS), RESULT columns (SQL
  // Anywhere) or the single return type of a function.
  TNamedObjList<TFldData> Results;
  bool ReturnsTable = false;  // MS SQL inline table-valued function
  int32_t GroupNumber = 0;    // MS SQL / ASE group number (name;n); 0 = none
  bool IsFunction = false;    // a FUNCTION, not a PROCEDURE
  std::string ObjFile;        // PostgreSQL C function: object file
  std::string LinkSymbol;     // PostgreSQL C function: link symbol
  // PostgreSQL LANGUAGE; for MS SQL / ASE a non-empty value marks an external
  // (Java) routine.
  std::string Language;
  std::string ExtraAttributes;  // PostgreSQL attributes written after LANGUAGE
  bool Strict = false;          // PostgreSQL STRICT; ASE "returns null on null input"
  std::string ReturnType;       // PostgreSQL RETURNS type text; used instead of Results
  bool ReturnsSetOf = false;    // PostgreSQL RETURNS SETOF
  std::string WithOptions;      // MS SQL / ASE text after WITH
  bool ModifiesSqlData = false;   // ASE external routine
  int32_t DynamicResultSets = 0;  // ASE external routine; written when > 0
  bool Deterministic = false;     // ASE external routine
  bool Exportable = false;        // ASE external routine
  std::string ParameterStyle;     // ASE external routine
  std::string ExternalName;       // ASE external routine; written as a literal
  TRoutineCharacteristics Characteristics;  // MySQL characteristics (pc... bits)

  // ---- Operations ----
  // Sets NeedsRestore here and on the Pair.
  void SetNeedsRestore(bool value);
  bool IsTableFunction() const;
  // The parameter, or else the result, of that name; null when there is none.
  TFldData* FindParam(const std::string& name) const;
  // Parameter and return clause.
  std::string GetParamsSQL(bool withReturns);
  // Body of the empty stand-in the script creates or empties the procedure to.
  std::string GetStubBody();
  std::string GetStubCreateSQL();
  // Replaces the body by the stub; with writeAlter, appends the ALTER statement.
  void EmptyBody(bool writeAlter);
};

// A member routine of an Oracle object type.
class TMemberPrcData : public TPrcData {
 public:
  explicit TMemberPrcData(TObjs* aObjs);
  ~TMemberPrcData() override;
  const char* ClassName() const override { return "TMemberPrcData"; }

  std::string TypeName;   // the object type that owns the member
  std::string Signature;  // the parameter list text exactly as parsed
  std::unique_ptr<TTypeDirective> Directive;  // OVERRIDING, [NOT] INSTANTIABLE, [NOT] FINAL
};
