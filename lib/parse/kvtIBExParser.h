// The InterBase/Firebird parser that also reads the procedural language:
// TIbExParser parses the bodies of procedures, functions, triggers, packages
// and EXECUTE BLOCK, the queries of views, CHECK conditions and computed
// expressions with a recursive-descent grammar of PSQL, queries and
// expressions. Every table, view, column, procedure, generator, exception,
// index, domain and function a body names becomes a dependency of the object
// the body belongs to, so that the comparer orders its script by what bodies
// use. The text of each body is still stored exactly as written.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "parse/kvtIBParser.h"

class TDbObj;
class TFldData;
class TPrcData;
class TPkgData;
class TViwData;

class TIbExParser : public TIbParser {
 public:
  // A body, query or expression nested deeper than this is reported as
  // "Nesting too deep" instead of being followed down the stack.
  static constexpr int MaxNesting = 500;

  explicit TIbExParser(TCustomExtract* aExtract = nullptr, TObjs* aObjs = nullptr);
  ~TIbExParser() override;
  const char* ClassName() const override { return "TIbExParser"; }

  // The object whose body is being parsed; none outside a body.
  TDbObj* CurObject = nullptr;

  // ---- Overrides ----
  // Inside a body the message names the object; the first error of a body
  // ends its parse (the rest of the statement is passed over).
  void Error(const std::string& text) override;
  // Records the use of a column through the open query scopes. A scope whose
  // FROM list is not read yet keeps the reference until it is.
  void LinkColumnDepend(TDbObj* obj, const std::string& qualifier,
                        const std::string& column) override;
  // Parses text already stored on an object: the body of a procedure,
  // trigger, view or package, the expression of an index, computed column or
  // CHECK constraint, a domain's CHECK condition and default.
  void ParseObjectBody(TDbObj* obj) override;
  // Parses the body of obj at the current token, by its class.
  void ParseBody(TDbObj* obj) override;
  // Parses a body in the middle of a script and stores its text.
  void ReadBodyText(TDbObj* obj, int start) override;
  // Also a parenthesised expression; inside a body any expression (the
  // initial value of a variable or parameter).
  void ParseDefaultValue(TFldData* field, std::string& text) override;
  std::unique_ptr<TIbParser> CreateSubParser() override;
  // The operators ^= ~= !< ~< ^< !> ~> ^> of Firebird.
  void ScanToken() override;
  // After an error inside a body the token stream stands at its end.
  void NextToken() override;
  // Expressions stored on tables (computed columns, CHECK constraints,
  // expression indexes) are parsed again, now that every table is known;
  // in Firebird 3 and 4 the columns of primary keys and identity columns
  // become NOT NULL; then the final linking pass.
  void FinishParse() override;

  // ---- The grammar; each takes the object that receives the dependencies ----
  void ParseDeclarations(TDbObj* obj);
  void ParseBlock(TDbObj* obj);
  void ParseStatement(TDbObj* obj);
  // The statement starting with a name, the token after the name current.
  void ParseAssignment(TDbObj* obj, const std::string& name);
  void ParseSelectStatement(TDbObj* obj);
  // A query block, the token after SELECT current.
  void ParseQuerySpec(TDbObj* obj);
  void ParseExprList(TDbObj* obj);
  void ParseRowsClause(TDbObj* obj);
  void ParseTableRef(TDbObj* obj);
  void ParseFromList(TDbObj* obj);
  void ParseIntoList(TDbObj* obj);
  void ParsePlan(TDbObj* obj);
  void ParseInsert(TDbObj* obj);
  void ParseUpdate(TDbObj* obj);
  bool ParseSetList(TDbObj* obj);
  void ParseDelete(TDbObj* obj);
  void ParseMerge(TDbObj* obj);
  void ParseExecute(TDbObj* obj);
  void ParseExecuteStatement(TDbObj* obj);
  void ParseWindow(TDbObj* obj);
  void ParseExpression(TDbObj* obj);
  void ParseComparison(TDbObj* obj);
  void ParsePredicate(TDbObj* obj);
  void ParseSimpleExpr(TDbObj* obj);
  void ParseTerm(TDbObj* obj);
  void ParseFactor(TDbObj* obj);

 private:
  // Counts one level of the rules that recurse; false when too deep.
  struct TNestingGuard;
  // A query scope for the lifetime of a rule.
  struct TScopeGuard;

  // The names the items of a select list give: an alias, a column's own
  // name, or * (with its qualifier) for the columns of the FROM list.
  struct TSelectItem {
    std::string Name;
    std::string Qualifier;
    bool Star = false;
  };
  struct TSelectNames {
    std::vector<TSelectItem> Items;
    size_t Depth = 0;       // the scope of the query block they belong to
    bool Complete = true;   // false when a * covers what cannot be named
  };

  // A column reference waiting for the FROM list of its query block.
  struct TColumnRef {
    TDbObj* Obj = nullptr;
    std::string Qualifier;
    std::string Column;
    int Line = 0;
    int Col = 0;
    bool Started = false;  // the scope at the reference has been looked at
  };

  // ---- Bodies ----
  // A body read while another one is parsed: a sub-routine, a package
  // member or a block; what it uses belongs to the outer object.
  void ReadNestedBody(TDbObj* body, int start);
  // The body of `body` at the current token; obj receives the dependencies.
  void ParseBodyOf(TDbObj* body, TDbObj* obj);
  // Declarations and block of a routine, its parameters as local names.
  void ParseRoutineBody(TPrcData* proc, TDbObj* obj);
  // EXTERNAL NAME '...' ENGINE name [AS '...']: passed over.
  void ParseExternalClause();
  // A package's BEGIN { FUNCTION ... | PROCEDURE ... } END.
  void ParsePackageMembers(TPkgData* pkg, TDbObj* obj);
  // A parenthesised condition or expression of a table: computed column,
  // CHECK constraint or expression index.
  void ParseTableExpression(TDbObj* body, TDbObj* obj, const std::string& tableName);
  void ParseViewQuery(TViwData* view, TDbObj* obj);
  // Columns the server makes NOT NULL without being told.
  void ImplyNotNull();
  void ExpandStars(TSelectNames& names);
  // The select list, with the name each item gives when names is set.
  void ParseExprList(TDbObj* obj, TSelectNames* names);
  // After a column name in an expression: remembers it while a select
  // list's names are wanted, and steps past it.
  void NoteColumn(int start);
  // Parameter types that name a domain or a column make obj depend on them.
  void LinkParameterTypes(TPrcData* proc, TDbObj* obj);
  // A data type in a body (variable, CAST): read into ScratchField; a domain
  // or TYPE OF COLUMN it names becomes a dependency.
  void ParseBodyType(TDbObj* obj);
  // Leaves the failed body of obj: the scanner goes back to its first token
  // (`start`) and on to the end of its statement, or of its parenthesised
  // expression (always so without obj), found by a raw scan from scanFrom.
  void SkipFailedBody(const TParseContext& start, int scanFrom, const TDbObj* obj);

  // ---- Statements ----
  void ParseIf(TDbObj* obj);
  void ParseFor(TDbObj* obj);
  void ParseWhile(TDbObj* obj);
  void ParseWhen(TDbObj* obj);
  void ParseRaise(TDbObj* obj);
  void ParseSetStatement(TDbObj* obj);
  void ParseAlterStatement(TDbObj* obj);
  void ParseAutonomous(TDbObj* obj);
  void ParseFetch(TDbObj* obj);
  void ParseCall(TDbObj* obj, const std::string& name);
  // [WHERE CURRENT OF c | WHERE cond] [PLAN] [ORDER BY] [ROWS] [RETURNING]
  // of UPDATE and DELETE.
  void ParseChangeTail(TDbObj* obj);
  void ParseReturning(TDbObj* obj);
  // DO (keyword or word) and the statement after it.
  void ParseDoStatement(TDbObj* obj);

  // ---- Queries ----
  void ParseTablePrimary(TDbObj* obj);
  void ParsePlanItem(TDbObj* obj);
  void ParseOrderBy(TDbObj* obj);
  // FIRST / SKIP value: an integer, a variable or a parenthesised expression.
  void ParseFirstSkipValue(TDbObj* obj);
  // "(" query ")" or "(" list ")".
  void ParseSubqueryOrList(TDbObj* obj);
  // The target table of INSERT, UPDATE, DELETE and MERGE: linked, and put
  // with its alias into the top scope.
  void ParseTargetTable(TDbObj* obj);
  // [AS] alias after a table reference; the alias or empty.
  std::string ParseAlias();

  // ---- Expressions ----
  void ParsePredicateTail(TDbObj* obj);
  // A name in an expression, the token on it; colon: it was written :name.
  void ParseName(TDbObj* obj, bool colon);
  // NEW.column / OLD.column, the token on NEW or OLD; false when the name is
  // no context variable here.
  bool ParseContextColumn(TDbObj* obj);
  // The built-in functions with their own argument syntax; the token on
  // "(" after the name. False when the name is none of them here.
  bool ParseBuiltinCall(TDbObj* obj, const std::string& name);
  void ParseCallArguments(TDbObj* obj);
  void ParseAggregate(TDbObj* obj);
  void ParseGenId(TDbObj* obj);
  void ParseCase(TDbObj* obj);
  void ParseCast(TDbObj* obj);
  void ParseExtract(TDbObj* obj);
  void ParseDateDiffOrAdd(TDbObj* obj, bool add);
  // One of the listed words as the current token (the part of a date
  // function); false, with msg reported, otherwise.
  bool CheckPart(std::initializer_list<const char*> words, const char* msg);

  // ---- Names and dependencies ----
  // A table, view or procedure named in a query or data-changing statement.
  void LinkTable(TDbObj* obj, const std::string& name);
  // A function call: a stored function, else an external function.
  void LinkFunction(TDbObj* obj, const std::string& name);
  void LinkPackage(TDbObj* obj, const std::string& name);
  bool IsLocalName(const std::string& name) const;
  void AddLocalName(const std::string& name);
  // Continues resolving a column reference from the scope at depth - 1 down.
  void ResolveColumnRef(TColumnRef& ref, size_t depth);
  void AddDependAt(TDbObj* obj, TDbObj* target, const std::string& column, int line, int col);

  // ---- Query scopes ----
  void PushScope(bool complete);
  // The FROM list of the top scope is read: its waiting references resolve.
  void CompleteScope();
  void PopScope();

  // ---- Scanner helpers ----
  // Index (0-based) of the first non-blank character from CurChar on.
  long NextNonBlankIndex() const;
  // The first non-blank character after the current token; 0 at the end.
  char PeekNonBlank() const;
  // ":=" follows the current token.
  bool PeekAssign() const;
  // Whether the next word after the current token is `word` (upper case).
  bool PeekWordIs(const char* word) const;
  std::string ErrorPrefix() const;

  TDbObj* Receiver = nullptr;    // what the current top-level body's uses go to
  int GrammarDepth = 0;          // > 0 while the grammar reads a body or expression
  bool Abandoned = false;        // an error ended the body being read
  bool TermSwitched = false;     // "^" was set as terminator for a body
  int Nesting = 0;               // nesting of the rules that recurse
  int PrevTokenEnd = 0;          // source index after the previous token
  std::vector<std::vector<TColumnRef>> PendingRefs;  // parallel to Contexts
  TSelectNames* SelectNames = nullptr;  // handed to the next query block
  TSelectNames* ActiveNames = nullptr;  // of the view being read
  bool NamesWanted = false;             // a select list's names are being taken
  int LastColumnStart = -1;             // the last column name read, while wanted
  int LastColumnEnd = -1;
  std::string LastColumnName;
  // Table expressions whose table was not known yet when they were read.
  std::unordered_set<const TDbObj*> LateBodies;
};
