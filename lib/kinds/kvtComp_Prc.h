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

// A stored procedure or function. It is compared by its rendered DDL and
// takes part in the stub scheme: a procedure that must exist before its body
// can compile is created with an empty body (the stub) and restored later; one
// whose callees change their parameters, or that uses an object about to go,
// is emptied to the stub first and restored afterwards.
class TPrcData : public TDbObj {
 public:
  explicit TPrcData(TObjs* aObjs);
  ~TPrcData() override;
  const char* ClassName() const override { return "TPrcData"; }
  TObjListId GetListId() const override { return olPrc; }
  bool IsFunctionRoutine() const override { return IsFunction; }
  std::string GetSignatureSQL() override { return GetParamsSQL(false); }
  std::string GetDisplayName() override;
  // MS SQL adds the group number (";n"), PostgreSQL the argument types.
  std::string GetListKey() override;
  std::string GetCreateSQL() override;
  // Users first (base walk), the procedure's own body next, then computed
  // columns that call it.
  void DropDependents() override;
  // What the base walk creates, then the views the body reads, current.
  void CreateDependencies() override;
  std::string GetDropSQL() override;
  std::string GetAlterSQL() override;
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
  // MySQL: the parameter list with its parentheses as the script wrote it.
  // The server keeps it so and its dump writes it back so; written and
  // compared in place of the list rendered from Params when present.
  std::string ParamsText;

  // ---- Operations ----
  // Sets NeedsRestore here and on the Pair.
  void SetNeedsRestore(bool value);
  bool IsTableFunction() const;
  // The parameter, or else the result, of that name; null when there is none.
  TFldData* FindParam(const std::string& name) const;
  // Parameter and return clause; withReturns asks for the return clause where
  // the dialect makes it optional.
  std::string GetParamsSQL(bool withReturns);
  // Body of the empty stand-in the script creates or empties the procedure to.
  std::string GetStubBody();
  std::string GetStubCreateSQL();
  std::string GetStubAlterSQL();
  // The body is the stub already (compared as the server reads it).
  bool HasStubBody();
  // Whether EmptyBody would change anything: the procedure exists, its body
  // is not the stub, and the dialect binds bodies when they are created.
  bool CanEmptyBody();
  // Replaces the body by the stub; with writeAlter, appends the statement
  // that empties it in the target.
  void EmptyBody(bool writeAlter);

  // ---- Comparison (master procedures) ----
  // The two texts are the same once layout and comments are left out.
  bool SameText(const std::string& a, const std::string& b) const;
  // Whether the parameter clauses of this procedure and `other` differ.
  bool ParamsDiffer(TPrcData& other);
  // The target does not hold this master text: its Pair's CompareText differs.
  bool NeedsAlter();
  // Writes the current definition over the one the target holds: ALTER, or
  // DROP and CREATE where the dialect cannot alter a body (MySQL).
  void WriteDefinition(uint8_t action);
  // Brings the target to this master procedure: empties what must not see
  // the change (callers, callees whose parameters change), creates what the
  // new body needs, then creates or alters it. Once per procedure at a time.
  void AlterInTarget();
  // Description statements of the parameters and results that have one.
  void WriteParamDescriptions();
  // A text of this procedure rendered as if its body were the stub.
  std::string WithStubBody(std::string (TPrcData::*text)());

 private:
  std::string RoutineKind() const { return IsFunction ? "FUNCTION " : "PROCEDURE "; }
  std::string GetMSSQLRoutineText();
  std::string GetPGRoutineText();
  std::string GetMySQLRoutineText();
  bool Altering = false;  // AlterInTarget is running for this procedure
};

// A member routine of an Oracle object type.
class TMemberPrcData : public TPrcData {
 public:
  explicit TMemberPrcData(TObjs* aObjs);
  ~TMemberPrcData() override;
  const char* ClassName() const override { return "TMemberPrcData"; }
  std::string GetCreateSQL() override;

  std::string TypeName;   // the object type that owns the member
  std::string Signature;  // the parameter list text exactly as parsed
  std::unique_ptr<TTypeDirective> Directive;  // OVERRIDING, [NOT] INSTANTIABLE, [NOT] FINAL
};

// Comparison phases of procedures and functions.
struct TCompareContext;
// Vanished procedures: emptied first (so that they release what they use),
// then dropped.
void DropProcedures(TCompareContext& ctx);
// New procedures, created with the stub body (PostgreSQL, ASE and MS SQL
// table functions with their real body).
void CreateProcedureStubs(TCompareContext& ctx);
// Changed procedures and the bodies emptied earlier in the run; runs twice.
void AlterProcedures(TCompareContext& ctx);
