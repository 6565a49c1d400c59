#include "parse/kvtIBExParser.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <string_view>

#include "core/kvtDBStructure.h"
#include "core/kvtMsgMngr.h"
#include "kinds/kvtCompColumn.h"
#include "kinds/kvtComp_Ctr.h"
#include "kinds/kvtComp_Dmn.h"
#include "kinds/kvtComp_Fnc.h"
#include "kinds/kvtComp_Idx.h"
#include "kinds/kvtComp_Pkg.h"
#include "kinds/kvtComp_Prc.h"
#include "kinds/kvtComp_Tbl.h"
#include "kinds/kvtComp_Trg.h"
#include "kinds/kvtComp_Viw.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool IsWordByte(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
         c == '$';
}

constexpr bool SortedWords(const char* const* words, size_t n) {
  for (size_t i = 1; i < n; ++i) {
    const char* a = words[i - 1];
    const char* b = words[i];
    while (*a && *a == *b) ++a, ++b;
    if (static_cast<unsigned char>(*a) >= static_cast<unsigned char>(*b)) return false;
  }
  return true;
}

template <size_t N>
bool InWords(const char* const (&words)[N], const std::string& upper) {
  return std::binary_search(std::begin(words), std::end(words), upper.c_str(),
                            [](const char* a, const char* b) { return std::strcmp(a, b) < 0; });
}

// Words that end a list item or a table reference instead of being its alias.
constexpr const char* ClauseWords[] = {"ASC",    "ASCENDING", "DESC",   "DESCENDING", "LATERAL",
                                       "MATCHING", "NULLS",   "OFFSET", "RETURNING",  "ROWS",
                                       "USING",  "WINDOW"};
static_assert(SortedWords(ClauseWords, std::size(ClauseWords)));

// Context variables and literals written like names: never a column or a
// generator.
constexpr const char* ContextWords[] = {
    "CONNECTION_ID",  "CURRENT_CONNECTION", "CURRENT_DATE", "CURRENT_ROLE",  "CURRENT_TRANSACTION",
    "CURRENT_USER",   "DELETING",           "FALSE",        "INSERTING",     "LOCALTIME",
    "LOCALTIMESTAMP", "RESETTING",          "ROWS_AFFECTED", "ROW_COUNT",    "SQLSTATE",
    "TRANSACTION_ID", "TRUE",               "UNKNOWN",      "UPDATING"};
static_assert(SortedWords(ContextWords, std::size(ContextWords)));

// Version sets, one bit per TIBSQLServerVersionType.
constexpr uint16_t V(TIBSQLServerVersionType v) { return static_cast<uint16_t>(1u << v); }
constexpr uint16_t vAllVersions = 0xFFFF;
constexpr uint16_t vFb21Up = V(st_Firebird_21) | V(st_Firebird_25) | V(st_Firebird_30) | V(st_Firebird_40);
constexpr uint16_t vFb20Up = vFb21Up | V(st_Firebird_20);
constexpr uint16_t vFb3Up = V(st_Firebird_30) | V(st_Firebird_40) | V(st_InterBase_2020);
constexpr uint16_t vFb4 = V(st_Firebird_40);
constexpr uint16_t vYaffilFb20Up = vFb20Up | V(st_Yaffil_1x);
constexpr uint16_t vYaffil = V(st_Yaffil_1x);
constexpr uint16_t vLeftRight = static_cast<uint16_t>(
    vAllVersions & ~(V(st_InterBase_4x) | V(st_InterBase_5x) | V(st_InterBase_6x) | V(st_FireBird_1x)));

// The argument syntax of a built-in function.
enum class TBuiltinForm : uint8_t {
  ExprList,      // ( expr, ... )
  NoArgs,        // ( )
  Ranking,       // ( ) [OVER window]
  ListAgg,       // ( [ALL | DISTINCT] expr, ... )
  Substring,     // ( x FROM a [FOR b] )
  FirstLastDay,  // ( OF part FROM x )
  Hash,          // ( x [USING algorithm] )
  Crypt,         // ( x USING alg [MODE m] KEY k [IV iv] [CTR_...] [CTR_LENGTH n] [COUNTER n] )
  RsaCrypt,      // ( x KEY k [LPARAM p] [HASH alg] )
  RsaSign,       // ( x [SIGNATURE s] KEY k [HASH alg] [SALT_LENGTH n] )
  Trim,          // ( [LEADING | TRAILING | BOTH] [x] [FROM y] )
  Overlay,       // ( x PLACING y FROM z [FOR w] )
  DateDiff,      // ( part FROM a TO b ) or ( part, a, b )
  DateAdd,       // ( part, n, d ) or ( n part TO d )
  Pad            // ( [LEADING | TRAILING | BOTH] x [FROM y] [FOR z] )
};

struct TBuiltin {
  const char* Name;
  TBuiltinForm Form;
  uint16_t Versions;
};

constexpr TBuiltin Builtins[] = {
    {"COALESCE", TBuiltinForm::ExprList, vAllVersions},
    {"COT", TBuiltinForm::ExprList, vFb21Up},
    {"DATEADD", TBuiltinForm::DateAdd, vYaffilFb20Up},
    {"DATEDIFF", TBuiltinForm::DateDiff, vYaffilFb20Up},
    {"DECRYPT", TBuiltinForm::Crypt, vFb4},
    {"DENSE_RANK", TBuiltinForm::Ranking, vFb3Up},
    {"ENCRYPT", TBuiltinForm::Crypt, vFb4},
    {"FIRST_DAY", TBuiltinForm::FirstLastDay, vFb4},
    {"HASH", TBuiltinForm::Hash, vFb4},
    {"IIF", TBuiltinForm::ExprList, vAllVersions},
    {"LAST_DAY", TBuiltinForm::FirstLastDay, vFb4},
    {"LIST", TBuiltinForm::ListAgg, vFb21Up},
    {"LPAD", TBuiltinForm::ExprList, vFb21Up},
    {"MOD", TBuiltinForm::ExprList, vFb21Up},
    {"NULLIF", TBuiltinForm::ExprList, vAllVersions},
    {"OVERLAY", TBuiltinForm::Overlay, vYaffilFb20Up},
    {"PAD", TBuiltinForm::Pad, vYaffil},
    {"PI", TBuiltinForm::NoArgs, vFb21Up},
    {"RAND", TBuiltinForm::NoArgs, vFb21Up},
    {"RANK", TBuiltinForm::Ranking, vFb3Up},
    {"RDB$GET_CONTEXT", TBuiltinForm::ExprList, vFb20Up},
    {"RDB$SET_CONTEXT", TBuiltinForm::ExprList, vFb20Up},
    {"ROUND", TBuiltinForm::ExprList, vFb21Up},
    {"ROW_NUMBER", TBuiltinForm::Ranking, vFb3Up},
    {"RPAD", TBuiltinForm::ExprList, vFb21Up},
    {"RSA_DECRYPT", TBuiltinForm::RsaCrypt, vFb4},
    {"RSA_ENCRYPT", TBuiltinForm::RsaCrypt, vFb4},
    {"RSA_SIGN", TBuiltinForm::RsaSign, vFb4},
    {"RSA_VERIFY", TBuiltinForm::RsaSign, vFb4},
    {"SUBSTRING", TBuiltinForm::Substring, vAllVersions},
    {"TRIM", TBuiltinForm::Trim, vYaffilFb20Up},
};

constexpr bool BuiltinsSorted() {
  const char* names[std::size(Builtins)] = {};
  for (size_t i = 0; i < std::size(Builtins); ++i) names[i] = Builtins[i].Name;
  return SortedWords(names, std::size(Builtins));
}
static_assert(BuiltinsSorted());

const TBuiltin* FindBuiltin(const std::string& upper) {
  const TBuiltin* end = std::end(Builtins);
  auto before = [](const TBuiltin& b, const char* n) { return std::strcmp(b.Name, n) < 0; };
  const TBuiltin* it = std::lower_bound(std::begin(Builtins), end, upper.c_str(), before);
  return it != end && upper == it->Name ? it : nullptr;
}

// Whether the name is one of the system's own objects, which are never linked.
bool IsSystemName(const std::string& name) {
  return name.size() > 4 && (name[3] == '$') &&
         (UpperAscii(name.substr(0, 4)) == "RDB$" || UpperAscii(name.substr(0, 4)) == "MON$" ||
          UpperAscii(name.substr(0, 4)) == "SEC$");
}

int IndexOfName(const TStringList& list, const std::string& name) {
  for (size_t i = 0; i < list.size(); ++i)
    if (!list[i].empty() && SameTextAscii(list[i], name)) return static_cast<int>(i);
  return -1;
}

// A body without a name of its own is the block of EXECUTE BLOCK, which the
// model does not keep: nothing may depend through it.
bool IsExecuteBlock(const TDbObj* obj) { return obj->As<TPrcData>() && obj->Name.empty(); }

bool IsExpressionBody(const TDbObj* obj) {
  return obj->IsFieldObject() || obj->GetListId() == olCtr || obj->GetListId() == olIdx;
}

}  // namespace

// One level of a rule that recurses. Deeper than MaxNesting is an error,
// which also ends the body, so the stack never grows without bound.
struct TIbExParser::TNestingGuard {
  explicit TNestingGuard(TIbExParser& p) : P(p), Ok(++p.Nesting <= MaxNesting) {
    if (!Ok) P.Error("Nesting too deep");
  }
  ~TNestingGuard() { --P.Nesting; }
  TNestingGuard(const TNestingGuard&) = delete;
  TNestingGuard& operator=(const TNestingGuard&) = delete;
  explicit operator bool() const { return Ok; }
  TIbExParser& P;
  bool Ok;
};

struct TIbExParser::TScopeGuard {
  TScopeGuard(TIbExParser& p, bool complete) : P(p) { P.PushScope(complete); }
  ~TScopeGuard() { P.PopScope(); }
  TScopeGuard(const TScopeGuard&) = delete;
  TScopeGuard& operator=(const TScopeGuard&) = delete;
  TIbExParser& P;
};

TIbExParser::TIbExParser(TCustomExtract* aExtract, TObjs* aObjs) : TIbParser(aExtract, aObjs) {}

TIbExParser::~TIbExParser() = default;

std::unique_ptr<TIbParser> TIbExParser::CreateSubParser() {
  return std::make_unique<TIbExParser>(nullptr, Objs);
}

// ---- Scanner ----------------------------------------------------------------

void TIbExParser::ScanToken() {
  const char c = CurChar;
  if (c == '^' || c == '~' || c == '!') {
    const char n = PeekChar();
    // "^" is the script's terminator only when the script set it; the one a
    // body is read with leaves Firebird's "^=" and its kin to the operators.
    const bool terminator = c == '^' && TermLen > 0 && Term[0] == '^' && !TermSwitched;
    if ((n == '=' || n == '<' || n == '>') && !(c == '!' && n == '=') && !terminator) {
      TokenStart = Pos - 1;
      QuoteChar = 0;
      NextChar();
      NextChar();
      Token = n == '=' ? tkNotEqual : n == '<' ? tkGreaterEqual : tkLessEqual;
      return;
    }
  }
  TIbParser::ScanToken();
}

void TIbExParser::NextToken() {
  if (Abandoned) {
    // The body was given up: its rules see the end of their input and return.
    Token = tkEOF;
    TokenName = TTokenNameRef(ResWords->WordOf(tkEOF));
    return;
  }
  PrevTokenEnd = CurrentIndex();
  TIbParser::NextToken();
}

long TIbExParser::NextNonBlankIndex() const {
  const long n = SourceLength();
  if (AtEnd()) return n;
  long k = Pos - 2;  // CurChar
  while (k < n && IsBlank(Source[static_cast<size_t>(k)])) ++k;
  return k;
}

char TIbExParser::PeekNonBlank() const {
  const long k = NextNonBlankIndex();
  return k < SourceLength() ? Source[static_cast<size_t>(k)] : 0;
}

bool TIbExParser::PeekAssign() const {
  const long k = NextNonBlankIndex();
  return k + 1 < SourceLength() && Source[static_cast<size_t>(k)] == ':' &&
         Source[static_cast<size_t>(k) + 1] == '=';
}

bool TIbExParser::PeekWordIs(const char* word) const {
  const long n = SourceLength();
  const long k = NextNonBlankIndex();
  const size_t len = std::strlen(word);
  if (k + static_cast<long>(len) > n) return false;
  for (size_t i = 0; i < len; ++i)
    if (AsciiUpper[Source[static_cast<size_t>(k) + i]] != static_cast<unsigned char>(word[i])) return false;
  const long after = k + static_cast<long>(len);
  return after >= n || !IsWordByte(Source[static_cast<size_t>(after)]);
}

// ---- Errors -----------------------------------------------------------------

std::string TIbExParser::ErrorPrefix() const {
  const TDbObj* o = CurObject;
  if (!o) return std::string();
  if (IsExecuteBlock(o)) return "Execute block: ";
  if (o->IsTrigger()) return "Trigger " + o->Name + ": ";
  if (o->IsProcedure()) return "Procedure " + o->Name + ": ";
  if (o->IsView()) return "View " + o->Name + ": ";
  if (o->GetListId() == olIdx) return "Index " + o->Name + ": ";
  if (o->GetListId() == olCtr) return "Check-constraint " + o->Name + ": ";
  if (o->IsFieldObject()) return "Field " + o->GetParentName() + "/" + o->Name + ": ";
  return o->Name + ": ";
}

void TIbExParser::Error(const std::string& text) {
  if (GrammarDepth > 0) {
    // One message per body; what follows the first error is noise.
    if (Abandoned) return;
    Abandoned = true;
  }
  const std::string full = ErrorPrefix() + text;
  if (CurObject && ScriptName.empty()) {
    // Stored text parsed again: the position is within the object's text.
    if (!(InStatement && StmtErrors++ > 0)) {
      if (!Messages->HasErrors()) DoError(full + GetPositionText());
      Messages->AddFor(full, CurObject, Col - 1, Line, mkError);
    }
  } else {
    TIbParser::Error(full);
  }
  if (Abandoned) {
    // From here on the rules see the end of their input.
    Token = tkEOF;
    TokenName = TTokenNameRef(ResWords->WordOf(tkEOF));
  }
}

// ---- Bodies -----------------------------------------------------------------

// body text: everything the statement parser hands over, up to the end of
// the body; parsed by the object's class and stored as written.
void TIbExParser::ReadBodyText(TDbObj* obj, int start) {
  if (!obj) return;
  if (CurObject) {
    ReadNestedBody(obj, start);
    return;
  }
  const bool expression = IsExpressionBody(obj);
  int from = start >= 0 ? start : CurrentIndex();
  if (!obj->IsFieldObject() && Token != ibEXTERNAL) NextToken();
  if (obj->As<TPkgData>()) from = TokenStart;
  if (Token == tkEOF) return;  // the end of the input, or a statement given up after an error
  const int bodyStart = TokenStart;
  const TParseContext atStart(this);
  // Semicolons inside the body must not end the statement.
  const bool switched = Term == ";";
  if (switched) {
    SetTerm("^");
    TermSwitched = true;
  }
  ParseBody(obj);
  if (!expression && !Abandoned && Token != tkTerm && Token != tkSemicolon && Token != tkEOF) {
    ++GrammarDepth;
    CurObject = obj;
    Check(tkTerm);  // the body must end the statement
    CurObject = nullptr;
    --GrammarDepth;
  }
  const int end = expression ? PrevTokenEnd : TokenStart;
  if (switched) {
    SetTerm(";");
    TermSwitched = false;
  }
  if (Abandoned) {
    Abandoned = false;
    SkipFailedBody(atStart, expression ? bodyStart : from, obj);
    const int failedEnd = expression ? PrevTokenEnd : TokenStart;
    StoreBody(obj, SourceCopy(from, failedEnd - from));
    return;
  }
  if (switched && Token == tkSemicolon) {
    // The statement's own terminator, read while "^" stood in for it.
    Token = tkTerm;
    TokenName = TTokenNameRef(ResWords->WordOf(tkTerm));
    ++TermCount;
  }
  StoreBody(obj, SourceCopy(from, end - from));
}

void TIbExParser::SkipFailedBody(const TParseContext& start, int scanFrom, const TDbObj* obj) {
  // The parse may have run past the end; the raw scan starts over from the
  // body's first token.
  RestoreContext(start);
  TokenName = TTokenNameRef(ResWords->WordOf(Token));
  const bool routine = obj && (obj->IsProcedure() || obj->IsTrigger() || obj->As<TPkgData>());
  const int end =
      !obj || IsExpressionBody(obj) ? ScanParenthesized(scanFrom) : ScanToTerminator(scanFrom, routine);
  if (end <= TokenStart) return;  // the first token already is the end
  MoveTo(end);
  PrevTokenEnd = CurrentIndex();
  TIbParser::NextToken();
}

// nested body: the body of a sub-routine, package member or block inside
// another body.
void TIbExParser::ReadNestedBody(TDbObj* body, int start) {
  const int from = start >= 0 ? start : CurrentIndex();
  if (Token != ibEXTERNAL) NextToken();
  const size_t locals = TempList.size();
  ParseBodyOf(body, Receiver);
  TempList.resize(std::min(locals, TempList.size()));
  if (!Abandoned) StoreBody(body, SourceCopy(from, TokenStart - from));
}

void TIbExParser::ParseBody(TDbObj* obj) {
  if (!obj) return;
  TDbObj* const savedObject = CurObject;
  TDbObj* const savedReceiver = Receiver;
  const int savedNesting = Nesting;
  TempList.clear();
  CurObject = obj;
  Receiver = IsExecuteBlock(obj) ? nullptr : obj;
  Nesting = 0;
  ++GrammarDepth;
  const size_t scopes = Contexts.size();
  ParseBodyOf(obj, Receiver);
  while (Contexts.size() > scopes) PopScope();
  --GrammarDepth;
  Nesting = savedNesting;
  Receiver = savedReceiver;
  CurObject = savedObject;
  TempList.clear();
}

// body: by class: trigger [AS] declarations block | routine declarations
// block | package [AS] members | view select | table expression "(" expr ")"
// | domain expression
void TIbExParser::ParseBodyOf(TDbObj* body, TDbObj* obj) {
  if (body->IsTrigger()) {
    if (Token == ibAS) NextToken();
    if (Token == ibEXTERNAL) {
      ParseExternalClause();
      return;
    }
    ParseDeclarations(obj);
    ParseBlock(obj);
  } else if (auto* proc = body->As<TPrcData>()) {
    if (Token == ibAS) NextToken();
    ParseRoutineBody(proc, obj);
  } else if (auto* pkg = body->As<TPkgData>()) {
    if (Token == ibAS) NextToken();
    ParsePackageMembers(pkg, obj);
  } else if (auto* view = body->As<TViwData>()) {
    ParseViewQuery(view, obj);
  } else if (auto* field = body->As<TFldData>()) {
    ParseTableExpression(body, obj, field->TableName);
  } else if (auto* ctr = body->As<TCtrData>()) {
    ParseTableExpression(body, obj, ctr->TableName);
  } else if (auto* idx = body->As<TIdxData>()) {
    ParseTableExpression(body, obj, idx->TableName);
  } else if (body->As<TDmnData>()) {
    ParseExpression(obj);
  }
}

// view query: the select statement; a view without a column list of its own
// has the names its select list gives, as the server names its columns
void TIbExParser::ParseViewQuery(TViwData* view, TDbObj* obj) {
  if (!view->Columns.Empty() || view != obj) {
    ParseSelectStatement(obj);
    return;
  }
  TSelectNames names;
  SelectNames = &names;
  ActiveNames = &names;
  ParseSelectStatement(obj);
  SelectNames = nullptr;
  ActiveNames = nullptr;
  if (Abandoned || !names.Complete || names.Items.empty()) return;
  std::unordered_set<std::string> seen;
  for (const TSelectItem& item : names.Items)
    if (item.Name.empty() || !seen.insert(item.Name).second) return;  // a name the server would refuse
  for (const TSelectItem& item : names.Items) {
    auto col = std::make_unique<TFldData>(Objs, view);
    col->SetName(item.Name);
    col->TableName = view->Name;
    col->Position = view->Columns.Count();
    view->Columns.Add(item.Name, std::move(col));
  }
}

// Replaces each * of the select list by the columns of the tables, views or
// procedures of the FROM list just read (or of the one its qualifier names).
void TIbExParser::ExpandStars(TSelectNames& names) {
  const TParseContext* ctx = TopContext();
  bool any = false;
  for (const TSelectItem& item : names.Items) any = any || item.Star;
  if (!any || !ctx || !names.Complete) return;
  std::vector<TSelectItem> expanded;
  for (TSelectItem& item : names.Items) {
    if (!item.Star) {
      expanded.push_back(std::move(item));
      continue;
    }
    for (size_t i = 0; i < ctx->Tables.size(); ++i) {
      if (!item.Qualifier.empty() && !SameTextAscii(ctx->Tables[i], item.Qualifier) &&
          !(i < ctx->Aliases.size() && SameTextAscii(ctx->Aliases[i], item.Qualifier)))
        continue;
      TDbObj* source = FindRowSource(ctx->Tables[i]);
      if (!source) {
        names.Complete = false;
        return;
      }
      auto add = [&expanded](const std::string& name) {
        TSelectItem column;
        column.Name = name;
        expanded.push_back(std::move(column));
      };
      if (auto* proc = source->As<TPrcData>()) {
        for (const auto& e : proc->Results) add(e.Name);
      } else {
        source->ForEachColumn([&add](TDbObj& c) { add(c.Name); });
      }
    }
  }
  names.Items = std::move(expanded);
}

void TIbExParser::ParseTableExpression(TDbObj* body, TDbObj* obj, const std::string& tableName) {
  // While its table is being defined, the columns an expression names cannot
  // be found yet: the expression is read again in the final pass.
  if (!FindRowSource(tableName)) LateBodies.insert(body);
  TScopeGuard scope(*this, true);
  if (TParseContext* ctx = TopContext()) {
    ctx->Tables.push_back(tableName);
    ctx->Aliases.emplace_back();
  }
  if (!CheckNext(tkLParen)) return;
  ParseExpression(obj);
  CheckNext(tkRParen);
}

// routine body: EXTERNAL ... | declarations block
void TIbExParser::ParseRoutineBody(TPrcData* proc, TDbObj* obj) {
  for (const auto* list : {&proc->Params, &proc->Results})
    for (const auto& e : *list) AddLocalName(e.Name);
  LinkParameterTypes(proc, obj);
  if (Token == ibEXTERNAL) {
    ParseExternalClause();
    return;
  }
  ParseDeclarations(obj);
  ParseBlock(obj);
}

void TIbExParser::LinkParameterTypes(TPrcData* proc, TDbObj* obj) {
  if (!obj || !Objs) return;
  for (const auto* list : {&proc->Params, &proc->Results})
    for (const auto& e : *list) {
      const TFldData* p = e.Obj.get();
      if (!p || p->DataType != dtDomain) continue;
      if (!p->TypeOfColumn.empty()) {
        AddDepend(obj, FindRowSource(p->TypeOfTable), p->TypeOfColumn);
      } else if (!p->DomainName.empty()) {
        LinkDepend(obj, p->DomainName, {dboDomain});
      }
    }
}

// external clause: EXTERNAL [NAME 'entry'] [ENGINE name] [AS 'body']
void TIbExParser::ParseExternalClause() {
  while (Token != tkTerm && Token != tkSemicolon && Token != tkEOF && Token != ibEND &&
         Token != ibFUNCTION && Token != ibPROCEDURE)
    NextToken();
}

// package members: BEGIN { FUNCTION ... | PROCEDURE ... } END
void TIbExParser::ParsePackageMembers(TPkgData* pkg, TDbObj* obj) {
  if (!CheckNext(ibBEGIN)) return;
  const TRoutineScope scope = pkg->IsBody ? TRoutineScope::PackageBody : TRoutineScope::PackageHeader;
  while ((Token == ibFUNCTION || Token == ibPROCEDURE) && !Abandoned) {
    std::unique_ptr<TPrcData> member = ParseRoutine(scope, pkg);
    if (member) LinkParameterTypes(member.get(), obj);
  }
  CheckNext(ibEND);
}

void TIbExParser::ParseObjectBody(TDbObj* obj) {
  if (!obj) {
    Error("Expression / body parsing not implemented.");
    return;
  }
  std::string text;
  std::string defaultText;
  TPkgData* pkg = obj->As<TPkgData>();
  if (auto* d = obj->As<TDmnData>()) {
    if (d->BaseField) {
      text = d->BaseField->CheckExpression;
      defaultText = d->BaseField->GetDefaultText();
    }
  } else if (obj->IsProcedure() || obj->IsTrigger() || obj->IsView() || obj->GetListId() == olIdx ||
             obj->IsFieldObject() || pkg ||
             (obj->GetListId() == olCtr && static_cast<TCtrData*>(obj)->ConstraintType == ctCheck)) {
    text = obj->Body;
  } else {
    Error(std::string("Body parsing for DB-Obj: (") + obj->ClassName() + ") not implemented.");
    return;
  }
  // Positions refer to the object's text, not to a script.
  const std::string savedScript = ScriptName;
  const std::string savedTerm = Term;
  ScriptName.clear();
  const bool wasBody = pkg && pkg->IsBody;
  if (pkg) pkg->IsBody = true;
  TermSwitched = true;
  for (const std::string* t : {&text, &defaultText}) {
    if (t->empty()) continue;
    SetTerm("^");
    SetSource(*t);
    Abandoned = false;
    NextToken();
    ParseBody(obj);
    Abandoned = false;
  }
  TermSwitched = false;
  if (pkg) pkg->IsBody = wasBody;
  ScriptName = savedScript;
  SetTerm(savedTerm);  // a later script starts with the terminator it had
}

void TIbExParser::ParseDefaultValue(TFldData* field, std::string& text) {
  if (Token != tkLParen && !CurObject) {
    TIbParser::ParseDefaultValue(field, text);
    return;
  }
  // A parenthesised expression, or inside a body any expression.
  text.clear();
  const int from = TokenStart;
  const TParseContext atStart(this);
  ++GrammarDepth;
  const int savedNesting = Nesting;
  ParseExpression(CurObject ? Receiver : nullptr);
  Nesting = savedNesting;
  --GrammarDepth;
  if (Abandoned && !CurObject) {
    Abandoned = false;
    SkipFailedBody(atStart, from, nullptr);
  }
  text = SourceCopy(from, PrevTokenEnd - from);
}

void TIbExParser::FinishParse() {
  // The files INPUT read went through the sub-parser.
  if (auto* sub = dynamic_cast<TIbExParser*>(SubParser.get())) {
    LateBodies.insert(sub->LateBodies.begin(), sub->LateBodies.end());
    sub->LateBodies.clear();
  }
  if (Objs) {
    // Expressions read while their table was being defined, and the
    // expressions of indexes, which the DDL parser keeps as text: now every
    // column they name can be found. The set is only compared with objects
    // of the container, never followed: what it holds may have been freed.
    auto late = [this](const TDbObj* obj) { return LateBodies.count(obj) > 0; };
    for (const auto& e : Objs->TblList) {
      e.Obj->ForEachColumn([this, &late](TDbObj& c) {
        if (!c.Body.empty() && late(&c)) ParseObjectBody(&c);
      });
    }
    for (const auto& e : Objs->CtrList) {
      auto* ctr = static_cast<TCtrData*>(e.Obj.get());
      if (ctr->ConstraintType == ctCheck && !ctr->Body.empty() && late(ctr)) ParseObjectBody(ctr);
    }
    for (const auto& e : Objs->IdxList)
      if (!e.Obj->Body.empty()) ParseObjectBody(e.Obj.get());
  }
  LateBodies.clear();
  if (Objs && IsFirebird3Up()) ImplyNotNull();
  TIbParser::FinishParse();
}

void TIbExParser::ImplyNotNull() {
  // Firebird 3 makes the columns of a primary key and identity columns NOT
  // NULL, whether the script says so or not (and isql writes them so).
  for (const auto& e : Objs->CtrList) {
    const auto* ctr = static_cast<const TCtrData*>(e.Obj.get());
    if (ctr->ConstraintType != ctPrimaryKey) continue;
    TTblData* table = Objs->FindTable(ctr->TableName);
    if (!table) continue;
    for (const auto& f : ctr->Fields)
      if (TFldData* column = table->FindField(f.Name)) column->Nullable = false;
  }
  for (const auto& e : Objs->TblList)
    e.Obj->ForEachColumn([](TDbObj& c) {
      if (auto* column = c.As<TFldData>(); column && column->Identity) column->Nullable = false;
    });
}

// ---- Declarations and blocks --------------------------------------------------

// declarations: { DECLARE [VARIABLE] name type [{= | DEFAULT} expr] ;
//               | DECLARE name [[NO] SCROLL] CURSOR FOR ( select ) ;
//               | DECLARE {FUNCTION | PROCEDURE} routine }
void TIbExParser::ParseDeclarations(TDbObj* obj) {
  while (Token == ibDECLARE) {
    NextToken();
    if ((Token == ibFUNCTION || Token == ibPROCEDURE) && (IsFirebird3Up() || IsInterBase2020())) {
      TNestingGuard nest(*this);
      if (!nest) return;
      std::unique_ptr<TPrcData> routine = ParseRoutine(TRoutineScope::Local);
      if (routine) AddLocalName(routine->Name);
      continue;
    }
    if (Token == ibVARIABLE) NextToken();
    if (!Check(tkIdent)) return;
    AddLocalName(TokenText);
    NextToken();
    if (Token == ibNO) NextToken();
    if (IsWord("SCROLL")) NextToken();
    if (Token == ibCURSOR) {
      if (!NextCheck(ibFOR) || !NextCheck(tkLParen)) return;
      NextToken();
      ParseSelectStatement(obj);
      CheckNext(tkRParen);
    } else {
      ParseBodyType(obj);
    }
    if (Token == tkSemicolon) NextToken();
  }
}

// block: BEGIN { statement } END
void TIbExParser::ParseBlock(TDbObj* obj) {
  if (!CheckNext(ibBEGIN)) return;
  while (Token != ibEND && Token != tkEOF) {
    const int before = TokenStart;
    ParseStatement(obj);
    if (TokenStart == before && Token != tkEOF && !Abandoned) {
      Error("Invalid statement (" + TokenName + ")");
      return;
    }
  }
  CheckNext(ibEND);
}

// data type of a variable or CAST: a type, a domain, TYPE OF domain or
// TYPE OF COLUMN table.column, with what may follow it in a column definition
void TIbExParser::ParseBodyType(TDbObj* obj) {
  TFldData* f = ScratchField.get();
  if (!f) return;
  f->DataType = dtUnknown;
  f->DomainName.clear();
  f->TypeOf = false;
  f->TypeOfTable.clear();
  f->TypeOfColumn.clear();
  ParseDataType(f, nullptr);
  if (f->DataType != dtDomain || !obj) return;
  if (!f->TypeOfColumn.empty()) {
    AddDepend(obj, FindRowSource(f->TypeOfTable), f->TypeOfColumn);
  } else if (!f->DomainName.empty()) {
    LinkDepend(obj, f->DomainName, {dboDomain});
  }
}

// ---- Statements ---------------------------------------------------------------

// statement: block | IF | WHILE | FOR | WHEN | EXCEPTION | EXECUTE | SELECT |
// WITH | INSERT | UPDATE | DELETE | MERGE | SET | ALTER | POST_EVENT | IN
// AUTONOMOUS TRANSACTION | EXIT | SUSPEND | BREAK | LEAVE | CONTINUE |
// RETURN | OPEN | CLOSE | FETCH | label: | call | assignment; then an
// optional ";"
void TIbExParser::ParseStatement(TDbObj* obj) {
  TNestingGuard nest(*this);
  if (!nest) return;
  switch (Token) {
    case ibBEGIN:
      ParseBlock(obj);
      break;
    case ibALTER:
      ParseAlterStatement(obj);
      break;
    case ibDELETE:
      ParseDelete(obj);
      break;
    case ibEXECUTE:
      ParseExecute(obj);
      break;
    case ibFOR:
      ParseFor(obj);
      break;
    case ibINSERT:
      ParseInsert(obj);
      break;
    case ibMERGE:
      ParseMerge(obj);
      break;
    case ibPOST_EVENT:
      NextToken();
      ParseExpression(obj);
      break;
    case ibSELECT:
      NextToken();
      ParseQuerySpec(obj);
      if (!CheckNext(ibINTO)) return;
      ParseIntoList(obj);
      break;
    case ibSET:
      ParseSetStatement(obj);
      break;
    case ibUPDATE:
      ParseUpdate(obj);
      break;
    case ibWHEN:
      ParseWhen(obj);
      break;
    case ibWHILE:
      ParseWhile(obj);
      break;
    case ibWITH:
      ParseSelectStatement(obj);
      if (Token == ibINTO) {
        NextToken();
        ParseIntoList(obj);
      }
      break;
    case ibIN:
      ParseAutonomous(obj);
      break;
    case ibOPEN:
    case ibCLOSE:
      if (!NextCheck(tkIdent)) return;
      NextToken();
      break;
    case ibFETCH:
      ParseFetch(obj);
      break;
    default:
      if (IsKeyword(ibEXCEPTION, "EXCEPTION")) {
        ParseRaise(obj);
      } else if (IsKeyword(ibIF, "IF")) {
        ParseIf(obj);
      } else if (IsKeyword(ibEXIT, "EXIT") || IsKeyword(ibSUSPEND, "SUSPEND") || IsWord("BREAK") ||
                 IsWord("LEAVE") || IsWord("CONTINUE")) {
        NextToken();
        if (Token == tkIdent) NextToken();  // a label
      } else if (IsWord("RETURN")) {
        NextToken();
        ParseExpression(obj);
      } else if (IsWord("OPEN") || IsWord("CLOSE")) {
        if (!NextCheck(tkIdent)) return;
        NextToken();
      } else if (IsWord("FETCH")) {
        ParseFetch(obj);
      } else {
        if (Token == tkColon) NextToken();
        if (!Check(tkIdent)) return;
        const std::string name = TokenText;
        NextToken();
        if (Token == tkLParen) {
          ParseCall(obj, name);
        } else {
          ParseAssignment(obj, name);
        }
      }
      break;
  }
  if (Token == tkSemicolon) NextToken();
}

// call statement: function ( [expr, ...] ); the token on "("
void TIbExParser::ParseCall(TDbObj* obj, const std::string& name) {
  LinkFunction(obj, name);
  ParseCallArguments(obj);
}

// assignment: { NEW | OLD } . column = expr | [qualifier .] name = expr | label :
void TIbExParser::ParseAssignment(TDbObj* obj, const std::string& name) {
  if ((name == "NEW" || name == "OLD") && Token == tkDot) {
    NextToken();
    if (!(Token == tkStar && IsFirebird4()) && !Check(tkIdent)) return;
    auto* trg = CurObject ? CurObject->As<TTrgData>() : nullptr;
    if (!trg) {
      Error("NEW./OLD. context variable is not into trigger body.");
      return;
    }
    if (trg->Table && Token == tkIdent) AddDepend(obj, trg->Table, TokenText);
    NextToken();
  } else if (Token == tkDot) {
    NextToken();
    if (!Check(tkIdent)) return;
    if (!Contexts.empty()) LinkColumnDepend(obj, name, TokenText);
    NextToken();
  } else if (!Contexts.empty()) {
    LinkColumnDepend(obj, std::string(), name);
  }
  if (Token == tkEqual) {
    NextToken();
    ParseExpression(obj);
  } else if (Token == tkColon) {
    NextToken();  // a label
  } else {
    Error("Invalid statement (? assignment)");
  }
}

// IF ( condition ) THEN statement [ELSE statement]; ELSE IF chains are read
// as a loop, not nested
void TIbExParser::ParseIf(TDbObj* obj) {
  for (;;) {
    NextToken();
    if (!CheckNext(tkLParen)) return;
    ParseExpression(obj);
    if (!CheckNext(tkRParen) || !CheckNext(ibTHEN)) return;
    ParseStatement(obj);
    if (Token != ibELSE) return;
    NextToken();
    if (!IsKeyword(ibIF, "IF")) {
      ParseStatement(obj);
      return;
    }
  }
}

// FOR { SELECT query | WITH ... | EXECUTE STATEMENT ... } [INTO targets]
// [AS CURSOR name] DO statement
void TIbExParser::ParseFor(TDbObj* obj) {
  NextToken();
  if (Token == ibSELECT) {
    NextToken();
    ParseQuerySpec(obj);
  } else if (Token == ibWITH) {
    ParseSelectStatement(obj);
  } else if (Token == ibEXECUTE) {
    NextToken();
    if (!CheckWord("STATEMENT")) return;
    NextToken();
    ParseExecuteStatement(obj);
  } else {
    Error("Must be: SELECT / EXECUTE / WITH");
    return;
  }
  if (Token == ibINTO) {
    NextToken();
    ParseIntoList(obj);
  } else if (Token == ibAS) {
    ParseIntoList(obj);  // AS CURSOR name alone
  }
  ParseDoStatement(obj);
}

void TIbExParser::ParseDoStatement(TDbObj* obj) {
  if (!CheckKeyword(ibDO, "DO")) return;
  NextToken();
  ParseStatement(obj);
}

// WHILE ( condition ) DO statement
void TIbExParser::ParseWhile(TDbObj* obj) {
  NextToken();
  if (!CheckNext(tkLParen)) return;
  ParseExpression(obj);
  if (!CheckNext(tkRParen)) return;
  ParseDoStatement(obj);
}

// WHEN { ANY | condition, ... } DO statement; condition: EXCEPTION name |
// GDSCODE code | SQLCODE number | SQLSTATE 'state'
void TIbExParser::ParseWhen(TDbObj* obj) {
  NextToken();
  if (Token == ibANY) {
    NextToken();
  } else {
    for (;;) {
      if (IsKeyword(ibEXCEPTION, "EXCEPTION")) {
        NextToken();
        if (Token == tkIdent) LinkDepend(obj, TokenText, {dboException});
        if (!CheckNext(tkIdent)) return;
      } else if (Token == ibGDSCODE) {
        NextToken();  // the code is a name or a number, never an object
        NextToken();
      } else if (Token == ibSQLCODE) {
        NextToken();
        ParseSimpleExpr(obj);
      } else if (IsWord("SQLSTATE")) {
        NextToken();
        NextToken();
      } else {
        return;  // another token ends the statement
      }
      if (Token != tkComma) break;
      NextToken();
    }
  }
  ParseDoStatement(obj);
}

// EXCEPTION [name [message | USING ( expr, ... )]]
void TIbExParser::ParseRaise(TDbObj* obj) {
  NextToken();
  if (!IsName()) return;  // re-raise inside a handler
  Check(tkIdent);
  LinkDepend(obj, TokenText, {dboException});
  NextToken();
  if (IsWord("USING")) {
    NextToken();
    if (!CheckNext(tkLParen)) return;
    ParseExprList(obj);
    CheckNext(tkRParen);
    return;
  }
  if (Token != tkSemicolon && Token != tkTerm && Token != tkEOF && Token != ibEND) ParseExpression(obj);
}

// SET GENERATOR g TO expr | SET STATISTICS INDEX i | SET ROLE expr | SET
// TRUSTED ROLE | SET LOCAL_TIMEOUT expr | SET {SESSION | STATEMENT} [IDLE]
// TIMEOUT [TO] expr [unit] | SET TIME ZONE {expr | BIND name} | SET
// {DECFLOAT | INT128} ...
void TIbExParser::ParseSetStatement(TDbObj* obj) {
  NextToken();
  if (IsKeyword(ibGENERATOR, "GENERATOR")) {
    if (!NextCheck(tkIdent)) return;
    LinkDepend(obj, TokenText, {dboGenerator});
    if (!NextCheck(ibTO)) return;
    NextToken();
    ParseExpression(obj);
  } else if (IsKeyword(ibSTATISTICS, "STATISTICS")) {
    if (!NextCheck(ibINDEX) || !NextCheck(tkIdent)) return;
    LinkDepend(obj, TokenText, {dboIndex});
    NextToken();
  } else if (IsKeyword(ibROLE, "ROLE")) {
    NextToken();
    ParseExpression(obj);
  } else if (IsWord("TRUSTED")) {
    NextToken();
    if (!IsKeyword(ibROLE, "ROLE") && !Check(ibROLE)) return;
    NextToken();
  } else if (IsWord("LOCAL_TIMEOUT")) {
    NextToken();
    ParseExpression(obj);
  } else if (IsWord("SESSION") || IsWord("STATEMENT")) {
    NextToken();
    if (IsWord("IDLE")) NextToken();
    if (!CheckWord("TIMEOUT")) return;
    NextToken();
    if (Token == ibTO) NextToken();
    ParseSimpleExpr(obj);
    if (IsWord("HOUR") || IsWord("MINUTE") || IsWord("SECOND") || IsWord("MILLISECOND")) NextToken();
  } else if (Token == ibTIME) {
    NextToken();
    if (!CheckWord("ZONE")) return;
    NextToken();
    if (IsWord("BIND")) {
      NextToken();
      NextToken();
    } else {
      ParseExpression(obj);
    }
  } else if (IsWord("DECFLOAT") || IsWord("INT128")) {
    NextToken();
    if (IsWord("BIND")) {
      NextToken();
      if (IsWord("NATIVE")) {
        NextToken();
      } else {
        ParseBodyType(nullptr);
      }
    } else if (IsWord("ROUND")) {
      NextToken();
      NextToken();
    } else if (IsWord("TRAPS")) {
      NextToken();
      if (!CheckNext(ibTO)) return;
      while (Token == tkIdent) {
        NextToken();
        if (Token != tkComma) break;
        NextToken();
      }
    } else {
      Error("Unknown SET-statement for DECFLOAT");
    }
  } else {
    Error("Unknown SET-statement");
  }
}

// ALTER SEQUENCE g RESTART [WITH expr] | ALTER SESSION RESET
void TIbExParser::ParseAlterStatement(TDbObj* obj) {
  NextToken();
  if (IsWord("SEQUENCE") || IsKeyword(ibGENERATOR, "GENERATOR")) {
    if (!NextCheck(tkIdent)) return;
    LinkDepend(obj, TokenText, {dboGenerator});
    NextToken();
    if (!CheckWord("RESTART")) return;
    NextToken();
    if (Token != ibWITH) return;
    NextToken();
    ParseExpression(obj);
  } else if (IsWord("SESSION") && IsFirebird4()) {
    NextToken();
    if (!CheckWord("RESET")) return;
    NextToken();
  } else {
    Error("Unknown ALTER-statement");
  }
}

// IN AUTONOMOUS TRANSACTION DO statement
void TIbExParser::ParseAutonomous(TDbObj* obj) {
  NextToken();
  if (!IsWord("AUTONOMOUS")) {
    Error("AUTONOMOUS expected, but " + UpperAscii(TokenText.empty() ? TokenName.str() : TokenText) +
          " found.");
    return;
  }
  NextToken();
  if (!IsWord("TRANSACTION")) {
    Error("TRANSACTION expected, but " + UpperAscii(TokenText.empty() ? TokenName.str() : TokenText) +
          " found.");
    return;
  }
  NextToken();
  ParseDoStatement(obj);
}

// FETCH [{NEXT | PRIOR | FIRST | LAST} FROM | {ABSOLUTE | RELATIVE} n FROM]
// cursor [INTO targets]
void TIbExParser::ParseFetch(TDbObj* obj) {
  NextToken();
  if (IsWord("NEXT") || IsWord("PRIOR") || IsWord("FIRST") || IsWord("LAST")) {
    NextToken();
  } else if (IsWord("ABSOLUTE") || IsWord("RELATIVE")) {
    NextToken();
    ParseSimpleExpr(obj);
  }
  if (Token == ibFROM) NextToken();
  if (!Check(tkIdent)) return;
  NextToken();
  if (Token != ibINTO) return;
  NextToken();
  ParseIntoList(obj);
}

// EXECUTE PROCEDURE [package .] name [( args ) | args] [RETURNING_VALUES
// targets] | EXECUTE STATEMENT ... [INTO targets] | EXECUTE BLOCK ...
void TIbExParser::ParseExecute(TDbObj* obj) {
  NextToken();
  if (Token == ibPROCEDURE) {
    NextToken();
    ReadQualifiedName();
    if (!Qualifier.empty()) {
      LinkPackage(obj, Qualifier);
    } else if (!QName.empty()) {
      LinkDepend(obj, QName, {dboProcedure});
    }
    if (Token == tkLParen) {
      NextToken();
      if (Token != tkRParen) ParseExprList(obj);
      CheckNext(tkRParen);
    } else if (Token != tkSemicolon && Token != ibRETURNING_VALUES && Token != tkTerm &&
               Token != tkEOF && Token != ibEND) {
      ParseExprList(obj);
    }
    if (Token == ibRETURNING_VALUES) {
      NextToken();
      if (Token == tkLParen) {
        NextToken();
        ParseIntoList(obj);
        CheckNext(tkRParen);
      } else {
        ParseIntoList(obj);
      }
    }
  } else if (IsWord("STATEMENT")) {
    NextToken();
    ParseExecuteStatement(obj);
    if (Token == ibINTO) {
      NextToken();
      ParseIntoList(obj);
    }
  } else if (IsWord("BLOCK")) {
    NextToken();
    TPrcData block(Objs);
    ParseRoutineParameters(&block);
    if (Token != tkTerm && Token != tkSemicolon && Token != tkEOF)
      ReadBodyText(&block, Token == ibAS ? -1 : TokenStart);
  } else {
    Error("Must be: PROCEDURE / STATEMENT.");
  }
}

// execute statement: expr [( {expr | name := expr}, ... )] { WITH
// {AUTONOMOUS | COMMON} TRANSACTION | WITH CALLER PRIVILEGES | AS USER expr |
// PASSWORD expr | ROLE expr | ON EXTERNAL [DATA SOURCE] expr }
void TIbExParser::ParseExecuteStatement(TDbObj* obj) {
  ParseExpression(obj);
  if (Token == tkLParen) {
    NextToken();
    for (;;) {
      if (Token == tkIdent && PeekAssign()) {
        // name := expr: the name is a parameter of the statement text.
        NextToken();
        if (Token == tkColon) NextToken();  // ":" "=" where ":=" is no token of its own
        NextToken();
      }
      ParseExpression(obj);
      if (Token != tkComma) break;
      NextToken();
    }
    if (!CheckNext(tkRParen)) return;
  }
  for (;;) {
    if (Token == ibWITH) {
      NextToken();
      if (IsWord("AUTONOMOUS") || IsWord("COMMON")) {
        NextToken();
        if (!CheckWord("TRANSACTION")) return;
      } else if (IsWord("CALLER")) {
        NextToken();
        if (!IsKeyword(ibPRIVILEGES, "PRIVILEGES") && !Check(ibPRIVILEGES)) return;
      } else {
        Error("Must be: WITH AUTONOMOUS TRANSACTION / WITH COMMON TRANSACTION / WITH CALLER PRIVILEGES");
        return;
      }
      NextToken();
    } else if (Token == ibAS) {
      NextToken();
      if (!Check(ibUSER)) return;
      NextToken();
      ParseExpression(obj);
    } else if (Token == ibPASSWORD || ((IsFirebird3Up() || IsInterBase2020()) && IsWord("PASSWORD")) ||
               IsKeyword(ibROLE, "ROLE")) {
      NextToken();
      ParseExpression(obj);
    } else if (Token == ibON) {
      NextToken();
      if (!Check(ibEXTERNAL)) return;
      NextToken();
      if (IsWord("DATA")) {
        NextToken();
        if (!CheckWord("SOURCE")) return;
        NextToken();
      }
      ParseExpression(obj);
    } else {
      return;
    }
  }
}

// ---- Queries ------------------------------------------------------------------

// select statement: [WITH [RECURSIVE] name [( columns )] AS ( select ), ...]
// SELECT query
void TIbExParser::ParseSelectStatement(TDbObj* obj) {
  TSelectNames* const names = SelectNames;
  if (Token == ibWITH) {
    TNestingGuard nest(*this);  // a common table expression may hold another WITH
    if (!nest) return;
    SelectNames = nullptr;  // the common table expressions name no view column
    NextToken();
    if (IsWord("RECURSIVE")) NextToken();
    for (;;) {
      if (!Check(tkIdent)) return;
      NextToken();
      if (Token == tkLParen) {
        NextToken();
        while (Token == tkIdent || Token == tkComma) NextToken();
        if (!CheckNext(tkRParen)) return;
      }
      if (!CheckNext(ibAS) || !CheckNext(tkLParen)) return;
      ParseSelectStatement(obj);
      if (!CheckNext(tkRParen)) return;
      if (Token != tkComma) break;
      NextToken();
    }
  }
  if (!CheckNext(ibSELECT)) return;
  SelectNames = names;
  ParseQuerySpec(obj);
}

void TIbExParser::ParseFirstSkipValue(TDbObj* obj) {
  NextToken();
  if (Token == tkLParen) {
    NextToken();
    ParseExpression(obj);
    CheckNext(tkRParen);
  } else if (Token == tkColon) {
    NextToken();
    NextToken();
  } else {
    CheckNext(tkInteger);
  }
}

// query: [DISTINCT | ALL] [FIRST n] [SKIP n] [DISTINCT | ALL] select-list
// FROM from-list [WHERE cond] [GROUP BY list] [HAVING cond] [PLAN plan]
// [UNION [ALL | DISTINCT] SELECT query] [ORDER BY list] [ROWS ...] [OFFSET
// ... FETCH ...] [FOR UPDATE [OF list]] [WITH LOCK | WITH CHECK OPTION].
// The members of a UNION are read in a loop; the select list is resolved
// once the FROM list is known.
void TIbExParser::ParseQuerySpec(TDbObj* obj) {
  const bool firstSkip = Version() != st_InterBase_4x && Version() != st_InterBase_5x &&
                         Version() != st_InterBase_6x;
  // The names of the select list are wanted for the first block of a view's
  // own query only, not for the queries inside it.
  TSelectNames* names = SelectNames;
  SelectNames = nullptr;
  TScopeGuard scope(*this, false);
  if (names) names->Depth = Contexts.size();
  for (;;) {
    if (Token == ibDISTINCT || Token == ibALL) NextToken();
    if (firstSkip) {
      for (const char* word : {"FIRST", "SKIP"}) {
        if (!IsWord(word)) continue;
        const char next = PeekNonBlank();
        if ((next >= '0' && next <= '9') || next == '(' || next == ':')
          ParseFirstSkipValue(obj);
      }
    }
    if (Token == ibDISTINCT || Token == ibALL) NextToken();
    const bool wanted = NamesWanted;
    NamesWanted = names != nullptr;
    ParseExprList(obj, names);
    NamesWanted = wanted;
    if (!CheckNext(ibFROM)) return;
    ParseFromList(obj);
    CompleteScope();
    if (names) {
      ExpandStars(*names);
      names = nullptr;
    }
    if (Token == ibWHERE) {
      NextToken();
      ParseExpression(obj);
    }
    if (Token == ibGROUP) {
      NextToken();
      if (!CheckNext(ibBY)) return;
      ParseExprList(obj);
    }
    if (Token == ibHAVING) {
      NextToken();
      ParseExpression(obj);
    }
    if (Token == ibPLAN) ParsePlan(obj);
    if (Token != ibUNION) break;
    NextToken();
    if (Token == ibALL || Token == ibDISTINCT) NextToken();
    if (!CheckNext(ibSELECT)) return;
    PopScope();
    PushScope(false);
  }
  if (Token == ibORDER) ParseOrderBy(obj);
  if (Token == ibROWS) ParseRowsClause(obj);
  if (IsWord("OFFSET")) {
    NextToken();
    ParseSimpleExpr(obj);
    if (Token == ibROWS || IsWord("ROW")) NextToken();
  }
  if (Token == ibFETCH) {
    NextToken();
    if (IsWord("FIRST") || IsWord("NEXT")) NextToken();
    if (Token != ibROWS && !IsWord("ROW")) ParseSimpleExpr(obj);
    if (Token == ibROWS || IsWord("ROW")) NextToken();
    if (!CheckWord("ONLY")) return;
    NextToken();
  }
  if (Token == ibFOR) {
    NextToken();
    if (!CheckNext(ibUPDATE)) return;
    if (Token == ibOF) {
      NextToken();
      ParseExprList(obj);
    }
  }
  if (Token == ibWITH) {
    NextToken();
    if (IsWord("LOCK")) {
      NextToken();
    } else if (Token == ibCHECK) {
      NextToken();
      if (!IsKeyword(ibOPTION, "OPTION")) {
        Error("Must be: WITH LOCK / WITH CHECK OPTION");
        return;
      }
      NextToken();
    } else {
      Error("Must be: WITH LOCK / WITH CHECK OPTION");
    }
  }
}

void TIbExParser::ParseOrderBy(TDbObj* obj) {
  NextToken();
  if (!CheckNext(ibBY)) return;
  ParseExprList(obj);
}

// expression list: item, ...; item: expr [[AS] alias] [ASC | DESC] [NULLS
// {FIRST | LAST}]
void TIbExParser::ParseExprList(TDbObj* obj) { ParseExprList(obj, nullptr); }

void TIbExParser::ParseExprList(TDbObj* obj, TSelectNames* names) {
  for (;;) {
    TSelectItem item;
    const int itemStart = TokenStart;
    if (names) {
      // * or qualifier.*: the columns of the FROM list, known after it.
      item.Star = Token == tkStar;
      if (IsName() && PeekNonBlank() == '.') {
        const long k = NextNonBlankIndex() + 1;
        long j = k;
        while (j < SourceLength() && IsBlank(Source[static_cast<size_t>(j)])) ++j;
        if (j < SourceLength() && Source[static_cast<size_t>(j)] == '*') {
          item.Star = true;
          item.Qualifier = TokenText;
        }
      }
      LastColumnStart = -1;
    }
    ParseExpression(obj);
    if (names && !item.Star && LastColumnStart == itemStart && LastColumnEnd == PrevTokenEnd)
      item.Name = LastColumnName;  // a column keeps its name
    if (Token == ibAS && !PeekWordIs("CURSOR")) NextToken();
    if (Token == tkIdent && (QuoteChar != 0 || !InWords(ClauseWords, TokenText))) {
      item.Name = TokenText;  // an alias
      NextToken();
    }
    if (names) names->Items.push_back(std::move(item));
    if (IsKeyword(ibASC, "ASC") || IsKeyword(ibASCENDING, "ASCENDING") || IsKeyword(ibDESC, "DESC") ||
        IsKeyword(ibDESCENDING, "DESCENDING"))
      NextToken();
    if (IsWord("ROWS")) {
      NextToken();
      NextToken();
    }
    if (IsWord("NULLS")) {
      NextToken();
      if (!IsWord("FIRST") && !IsWord("LAST")) {
        Error("Must be: NULLS FIRST / NULLS LAST (order by clause).");
        return;
      }
      NextToken();
    }
    if (Token != tkComma) return;
    NextToken();
  }
}

// rows clause: ROWS expr [TO expr] [BY expr] [PERCENT] [WITH TIES]
void TIbExParser::ParseRowsClause(TDbObj* obj) {
  if (!CheckNext(ibROWS)) return;
  ParseSimpleExpr(obj);
  if (Token == ibTO) {
    NextToken();
    ParseSimpleExpr(obj);
  }
  if (Token == ibBY) {
    NextToken();
    ParseSimpleExpr(obj);
  }
  if (Token == ibPERCENT) NextToken();
  if (Token == ibWITH) {
    NextToken();
    if (Token == ibTIES) NextToken();
  }
}

// from list: table-ref, ...
void TIbExParser::ParseFromList(TDbObj* obj) {
  for (;;) {
    ParseTableRef(obj);
    if (Token != tkComma) return;
    NextToken();
  }
}

// table ref: primary { [NATURAL] [INNER | {LEFT | RIGHT | FULL} [OUTER] |
// CROSS] JOIN primary [ON cond | USING ( columns )] }
void TIbExParser::ParseTableRef(TDbObj* obj) {
  ParseTablePrimary(obj);
  for (;;) {
    bool natural = false;
    bool cross = false;
    bool join = false;
    while (Token == ibNATURAL || Token == ibINNER || Token == ibLEFT || Token == ibRIGHT ||
           Token == ibFULL || Token == ibCROSS || Token == ibOUTER || IsWord("CROSS")) {
      natural = natural || Token == ibNATURAL;
      cross = cross || Token == ibCROSS || IsWord("CROSS");
      join = true;
      NextToken();
    }
    if (Token != ibJOIN) {
      if (join) Check(ibJOIN);
      return;
    }
    NextToken();
    ParseTablePrimary(obj);
    if (natural || cross) continue;
    if (Token == ibON) {
      NextToken();
      ParseExpression(obj);
    } else if (IsKeyword(ibUSING, "USING") && IsFirebird25Up()) {
      NextToken();
      if (!CheckNext(tkLParen)) return;
      ParseExprList(obj);
      if (!CheckNext(tkRParen)) return;
    }
  }
}

// primary: ( select ) [AS] alias [( columns )] | ( table-ref ) | [package .]
// name [( args )] [[AS] alias]
void TIbExParser::ParseTablePrimary(TDbObj* obj) {
  TNestingGuard nest(*this);
  if (!nest) return;
  if (Token == tkLParen) {
    NextToken();
    if (Token == ibSELECT || Token == ibWITH) {
      // A * over a derived table names columns this parser does not follow.
      if (ActiveNames && ActiveNames->Depth == Contexts.size()) ActiveNames->Complete = false;
      ParseSelectStatement(obj);
      if (!CheckNext(tkRParen)) return;
      ParseAlias();
      if (Token == tkLParen) {
        NextToken();
        while (Token == tkIdent || Token == tkComma) NextToken();
        CheckNext(tkRParen);
      }
    } else {
      ParseTableRef(obj);
      CheckNext(tkRParen);
    }
    return;
  }
  if (!Check(tkIdent)) return;
  std::string name = TokenText;
  NextToken();
  if (Token == tkDot) {
    // A selectable procedure of a package.
    LinkPackage(obj, name);
    if (!NextCheck(tkIdent)) return;
    name = TokenText;
    NextToken();
  } else {
    LinkTable(obj, name);
  }
  if (Token == tkLParen) {
    NextToken();
    if (Token != tkRParen) ParseExprList(obj);
    if (!CheckNext(tkRParen)) return;
  }
  std::string alias = ParseAlias();
  TParseContext* ctx = TopContext();
  if (ctx && !ctx->IsQueryScope) {
    ctx->Tables.push_back(std::move(name));
    ctx->Aliases.push_back(std::move(alias));
  }
}

std::string TIbExParser::ParseAlias() {
  if (Token == ibAS) NextToken();
  if (Token != tkIdent || (QuoteChar == 0 && InWords(ClauseWords, TokenText))) return std::string();
  std::string alias = TokenText;
  NextToken();
  return alias;
}

// into list: target, ... [AS CURSOR name]; a target is read as a factor
void TIbExParser::ParseIntoList(TDbObj* obj) {
  if (Token != ibAS) {
    for (;;) {
      ParseFactor(obj);
      if (Token != tkComma) break;
      NextToken();
    }
  }
  if (Token == ibAS) {
    if (!NextCheck(ibCURSOR) || !NextCheck(tkIdent)) return;
    AddLocalName(TokenText);
    NextToken();
  }
}

// plan: PLAN plan-item
void TIbExParser::ParsePlan(TDbObj* obj) {
  if (!CheckNext(ibPLAN)) return;
  ParsePlanItem(obj);
}

// plan item: {JOIN | SORT | MERGE | HASH} ( item, ... ) | ( item, ... ) |
// table [alias ...] {NATURAL | INDEX ( names ) | ORDER name [INDEX ( names )]}
void TIbExParser::ParsePlanItem(TDbObj* obj) {
  TNestingGuard nest(*this);
  if (!nest) return;
  if (Token == ibJOIN || Token == ibSORT || IsWord("SORT") || Token == ibMERGE || IsWord("HASH"))
    NextToken();
  if (Token == tkLParen) {
    NextToken();
    for (;;) {
      ParsePlanItem(obj);
      if (Token != tkComma) break;
      NextToken();
    }
    CheckNext(tkRParen);
    return;
  }
  if (Token != tkIdent) {
    Error("Invalid symbol in PLAN-expression: " + TokenName);
    NextToken();
    return;
  }
  while (Token == tkIdent) NextToken();  // the table and the aliases of the views above it
  auto indexList = [this, obj]() {
    if (!NextCheck(tkLParen)) return;
    NextToken();
    while (Token == tkIdent) {
      LinkDepend(obj, TokenText, {dboIndex});
      NextToken();
      if (Token != tkComma) break;
      NextToken();
    }
    CheckNext(tkRParen);
  };
  if (Token == ibNATURAL) {
    NextToken();
  } else if (Token == ibINDEX) {
    indexList();
  } else if (Token == ibORDER) {
    if (!NextCheck(tkIdent)) return;
    LinkDepend(obj, TokenText, {dboIndex});
    NextToken();
    if (Token == ibINDEX) indexList();
  } else {
    Error("Invalid symbol in PLAN-expression: " + TokenName);
    NextToken();
  }
}

// The target table of a data-changing statement: linked, then with its alias
// the one table of the top scope.
void TIbExParser::ParseTargetTable(TDbObj* obj) {
  if (!Check(tkIdent)) return;
  std::string name = TokenText;
  LinkDepend(obj, name, {dboTable, dboView});
  NextToken();
  std::string alias = ParseAlias();
  if (TParseContext* ctx = TopContext()) {
    ctx->Tables.push_back(std::move(name));
    ctx->Aliases.push_back(std::move(alias));
  }
}

// insert: [UPDATE OR] INSERT INTO table [[AS] alias] [( columns )] {VALUES (
// list ) | select | DEFAULT VALUES} [MATCHING ( columns )] [RETURNING ...]
void TIbExParser::ParseInsert(TDbObj* obj) {
  NextToken();  // INSERT
  if (!CheckNext(ibINTO)) return;
  TScopeGuard scope(*this, true);
  ParseTargetTable(obj);
  if (Token == tkLParen) {
    NextToken();
    ParseExprList(obj);
    if (!CheckNext(tkRParen)) return;
  }
  if (Token == ibVALUES) {
    NextToken();
    if (!CheckNext(tkLParen)) return;
    ParseExprList(obj);
    if (!CheckNext(tkRParen)) return;
  } else if (Token == ibSELECT || Token == ibWITH) {
    ParseSelectStatement(obj);
  } else if (Token == ibDEFAULT) {
    NextToken();
    if (!CheckNext(ibVALUES)) return;
  } else {
    Error("Must be: VALUES / SELECT / DEFAULT VALUES");
    return;
  }
  if (IsWord("MATCHING")) {
    NextToken();
    if (!CheckNext(tkLParen)) return;
    ParseExprList(obj);
    if (!CheckNext(tkRParen)) return;
  }
  ParseReturning(obj);
}

// returning: RETURNING list [INTO targets]
void TIbExParser::ParseReturning(TDbObj* obj) {
  if (!IsWord("RETURNING")) return;
  NextToken();
  ParseExprList(obj);
  if (Token == ibINTO) {
    NextToken();
    ParseIntoList(obj);
  }
}

// update: UPDATE OR INSERT ... | UPDATE table [[AS] alias] SET column = expr,
// ... change-tail
void TIbExParser::ParseUpdate(TDbObj* obj) {
  NextToken();
  if (Token == ibOR) {
    NextToken();
    if (!Check(ibINSERT)) return;
    ParseInsert(obj);
    return;
  }
  TScopeGuard scope(*this, true);
  ParseTargetTable(obj);
  if (!CheckNext(ibSET) || !ParseSetList(obj)) return;
  ParseChangeTail(obj);
}

// set-list: [qualifier.]column = expr, ... ; false after a syntax error.
bool TIbExParser::ParseSetList(TDbObj* obj) {
  for (;;) {
    if (!Check(tkIdent)) return false;
    std::string column = TokenText;
    std::string qualifier;
    NextToken();
    if (Token == tkDot) {
      qualifier = std::move(column);
      if (!NextCheck(tkIdent)) return false;
      column = TokenText;
      NextToken();
    }
    LinkColumnDepend(obj, qualifier, column);
    if (!CheckNext(tkEqual)) return false;
    ParseExpression(obj);
    if (Token != tkComma) return true;
    NextToken();
  }
}

// delete: DELETE FROM table [[AS] alias] change-tail
void TIbExParser::ParseDelete(TDbObj* obj) {
  if (!CheckNext(ibDELETE) || !CheckNext(ibFROM)) return;
  TScopeGuard scope(*this, true);
  ParseTargetTable(obj);
  ParseChangeTail(obj);
}

// change tail: [WHERE CURRENT OF cursor | WHERE cond] [PLAN plan] [ORDER BY
// list] [ROWS ...] [RETURNING ...]
void TIbExParser::ParseChangeTail(TDbObj* obj) {
  if (Token == ibWHERE) {
    NextToken();
    if (Token == ibCURRENT) {
      if (!NextCheck(ibOF) || !NextCheck(tkIdent)) return;
      NextToken();
    } else {
      ParseExpression(obj);
    }
  }
  if (Token == ibPLAN) ParsePlan(obj);
  if (Token == ibORDER) ParseOrderBy(obj);
  if (Token == ibROWS) ParseRowsClause(obj);
  ParseReturning(obj);
}

// merge: MERGE INTO table [[AS] alias] USING {( select ) | table} [[AS]
// alias] ON cond { WHEN MATCHED [AND cond] THEN {UPDATE SET column = expr,
// ... | DELETE} | WHEN NOT MATCHED [AND cond] THEN INSERT [( columns )]
// VALUES ( list ) } [RETURNING ...]. Target and source form one scope.
void TIbExParser::ParseMerge(TDbObj* obj) {
  if (!NextCheck(ibINTO)) return;
  NextToken();
  TScopeGuard scope(*this, false);
  ParseTargetTable(obj);
  if (!IsKeyword(ibUSING, "USING") && !Check(ibUSING)) return;
  NextToken();
  ParseTablePrimary(obj);
  CompleteScope();
  if (!CheckNext(ibON)) return;
  ParseExpression(obj);
  while (Token == ibWHEN) {
    NextToken();
    const bool notMatched = Token == ibNOT;
    if (notMatched) NextToken();
    if (!CheckWord("MATCHED")) return;
    NextToken();
    if (Token == ibAND) {
      NextToken();
      ParseExpression(obj);
    }
    if (!CheckNext(ibTHEN)) return;
    if (notMatched) {
      if (!CheckNext(ibINSERT)) return;
      if (Token == tkLParen) {
        NextToken();
        ParseExprList(obj);
        if (!CheckNext(tkRParen)) return;
      }
      if (Token == ibVALUES) {
        NextToken();
        if (!CheckNext(tkLParen)) return;
        ParseExprList(obj);
        if (!CheckNext(tkRParen)) return;
      }
    } else if (Token == ibUPDATE) {
      if (!NextCheck(ibSET)) return;
      NextToken();
      if (!ParseSetList(obj)) return;
    } else if (Token == ibDELETE && (IsFirebird3Up() || IsInterBase2020())) {
      NextToken();
    } else {
      Error("Must be: UPDATE");
      return;
    }
  }
  ParseReturning(obj);
}

// ---- Expressions --------------------------------------------------------------

// expression: [NOT] comparison { {AND | OR} [NOT] comparison }
void TIbExParser::ParseExpression(TDbObj* obj) {
  while (Token == ibNOT) NextToken();
  ParseComparison(obj);
  while (Token == ibAND || Token == ibOR) {
    NextToken();
    while (Token == ibNOT) NextToken();
    ParseComparison(obj);
  }
}

// comparison: predicate { op predicate | [NOT] predicate-tail }
void TIbExParser::ParseComparison(TDbObj* obj) {
  ParsePredicate(obj);
  for (;;) {
    switch (Token) {
      case tkEqual:
      case tkLess:
      case tkGreater:
      case tkLessEqual:
      case tkGreaterEqual:
      case tkNotEqual:
      case tkEqualEqual:
        NextToken();
        ParsePredicate(obj);
        continue;
      case ibNOT:
        NextToken();
        ParsePredicateTail(obj);
        continue;
      case ibBETWEEN:
      case ibIN:
      case ibIS:
      case ibLIKE:
      case ibSIMILAR:
        ParsePredicateTail(obj);
        continue;
      default:
        if (IsKeyword(ibSTARTING, "STARTING") || IsKeyword(ibSTARTS, "STARTS") ||
            IsKeyword(ibCONTAINING, "CONTAINING")) {
          ParsePredicateTail(obj);
          continue;
        }
        return;
    }
  }
}

// predicate tail: BETWEEN a AND b | IN ( select | list ) | IS [NOT] {NULL |
// TRUE | FALSE | UNKNOWN | DISTINCT FROM x} | LIKE x [ESCAPE y] | STARTING
// [WITH] x | STARTS [WITH] x | CONTAINING x | SIMILAR TO x [ESCAPE y]
void TIbExParser::ParsePredicateTail(TDbObj* obj) {
  if (Token == ibBETWEEN) {
    NextToken();
    ParseSimpleExpr(obj);
    if (!CheckNext(ibAND)) return;
    ParseSimpleExpr(obj);
  } else if (Token == ibIN) {
    NextToken();
    ParseSubqueryOrList(obj);
  } else if (Token == ibIS) {
    NextToken();
    if (Token == ibNOT) NextToken();
    if (Token == ibNULL || IsWord("TRUE") || IsWord("FALSE") || IsWord("UNKNOWN")) {
      NextToken();
    } else if (Token == ibDISTINCT) {
      if (!NextCheck(ibFROM)) return;
      NextToken();
      ParseSimpleExpr(obj);
    } else {
      Error("Must be: NULL/DISTINCT FROM.");
    }
  } else if (Token == ibLIKE || Token == ibSIMILAR) {
    if (Token == ibSIMILAR && !NextCheck(ibTO)) return;
    NextToken();
    ParseSimpleExpr(obj);
    if (Token == ibESCAPE) {
      NextToken();
      ParseSimpleExpr(obj);
    }
  } else if (IsKeyword(ibSTARTING, "STARTING") || IsKeyword(ibSTARTS, "STARTS")) {
    NextToken();
    if (Token == ibWITH) NextToken();
    ParseSimpleExpr(obj);
  } else if (IsKeyword(ibCONTAINING, "CONTAINING")) {
    NextToken();
    ParseSimpleExpr(obj);
  } else {
    Error("Must be: IS/IN/EXISTS/SINGULAR/LIKE/BETWEEN/STARTING/CONTAINING.");
    NextToken();
  }
}

void TIbExParser::ParseSubqueryOrList(TDbObj* obj) {
  if (!CheckNext(tkLParen)) return;
  if (Token == ibSELECT || Token == ibWITH) {
    ParseSelectStatement(obj);
  } else {
    ParseExprList(obj);
  }
  CheckNext(tkRParen);
}

// predicate: INSERTING | UPDATING | DELETING | NOT expression | {ALL | ANY |
// SOME | EXISTS | SINGULAR | IN} ( select | list ) | simple-expression
void TIbExParser::ParsePredicate(TDbObj* obj) {
  if (IsWord("INSERTING") || IsWord("UPDATING") || IsWord("DELETING")) {
    NextToken();
    return;
  }
  if (Token == ibNOT) {
    TNestingGuard nest(*this);
    if (!nest) return;
    NextToken();
    ParseExpression(obj);
    return;
  }
  if (Token == ibALL || Token == ibANY || Token == ibSOME || Token == ibEXISTS ||
      IsKeyword(ibSINGULAR, "SINGULAR") || Token == ibIN) {
    NextToken();
    ParseSubqueryOrList(obj);
    return;
  }
  ParseSimpleExpr(obj);
}

// simple expression: [+ | -] term { {+ | - | ||} term }
void TIbExParser::ParseSimpleExpr(TDbObj* obj) {
  if (Token == tkPlus || Token == tkMinus) NextToken();
  ParseTerm(obj);
  while (Token == tkPlus || Token == tkMinus || Token == tkConcat) {
    NextToken();
    ParseTerm(obj);
  }
}

// term: factor { {* | /} factor }
void TIbExParser::ParseTerm(TDbObj* obj) {
  ParseFactor(obj);
  while (Token == tkStar || Token == tkSlash) {
    NextToken();
    ParseFactor(obj);
  }
}

// factor: [:] name | ( expression ) | VALUE | CAST (...) | GEN_ID (...) |
// UPPER (...) | LEFT (...) | RIGHT (...) | POSITION (...) | sign factor |
// aggregate | SELECT query | WITH ... | CASE ... END | * | _charset factor |
// DISTINCT expr | CURRENT_TIME [(n)] | CURRENT_TIMESTAMP [(n)] | {DATE |
// TIME | TIMESTAMP} 'literal' | EXTRACT (...) | literal; [COLLATE name]
void TIbExParser::ParseFactor(TDbObj* obj) {
  TNestingGuard nest(*this);
  if (!nest) return;
  bool colon = false;
  if (Token == tkColon) {
    colon = true;
    NextToken();
  }
  switch (Token) {
    case tkLParen:
      NextToken();
      if (Token == ibSELECT || Token == ibWITH) {
        ParseSelectStatement(obj);  // a subquery: one level, not two
      } else {
        ParseExpression(obj);
      }
      CheckNext(tkRParen);
      break;
    case ibVALUE:
      NextToken();
      break;
    case ibCAST:
      ParseCast(obj);
      break;
    case ibGEN_ID:
      ParseGenId(obj);
      break;
    case ibUPPER:
      if (!NextCheck(tkLParen)) return;
      NextToken();
      ParseExpression(obj);
      CheckNext(tkRParen);
      break;
    case ibLEFT:
    case ibRIGHT:
    case ibPOSITION: {
      const uint16_t versions = Token == ibPOSITION ? vYaffilFb20Up : vLeftRight;
      if (!(versions & V(Version()))) {
        Error("Invalid factor in expression (" + TokenName + ")");
        NextToken();
        return;
      }
      const bool position = Token == ibPOSITION;
      if (!NextCheck(tkLParen)) return;
      NextToken();
      ParseSimpleExpr(obj);
      if (position && Token == ibIN) {
        NextToken();
        ParseSimpleExpr(obj);
      } else {
        while (Token == tkComma) {
          NextToken();
          ParseExpression(obj);
        }
      }
      CheckNext(tkRParen);
      break;
    }
    case tkMinus:
    case tkPlus:
      NextToken();
      ParseFactor(obj);
      break;
    case ibAVG:
    case ibCOUNT:
    case ibMAX:
    case ibMIN:
    case ibSUM:
      ParseAggregate(obj);
      break;
    case ibSELECT:
      NextToken();
      ParseQuerySpec(obj);
      break;
    case ibWITH:
      ParseSelectStatement(obj);
      break;
    case ibCASE:
      ParseCase(obj);
      break;
    case tkStar:
      LinkColumnDepend(obj, std::string(), "*");
      NextToken();
      break;
    case ibCharsetIntroducer:
      NextToken();
      ParseFactor(obj);
      break;
    case ibDISTINCT:
      NextToken();
      ParseExpression(obj);
      break;
    case ibCURRENT_TIME:
    case ibCURRENT_TIMESTAMP:
      NextToken();
      if (Token == tkLParen) {
        NextToken();
        ParseExpression(obj);
        CheckNext(tkRParen);
      }
      break;
    case ibDATE:
    case ibTIME:
    case ibTIMESTAMP:
      NextToken();
      if (!CheckNext(tkString)) return;
      break;
    case ibEXTRACT:
      ParseExtract(obj);
      break;
    case tkInteger:
    case tkFloat:
    case tkString:
    case ibCURRENT_DATE:
    case ibGDSCODE:
    case ibNULL:
    case ibRDB_DB_KEY:
    case ibSQLCODE:
    case ibUSER:
      NextToken();
      break;
    default:
      if (Token == ibDEFAULT && IsFirebird4()) {
        NextToken();
      } else if (IsWord("GEN_ID") && PeekNonBlank() == '(') {
        ParseGenId(obj);
      } else if (IsName()) {
        ParseName(obj, colon);
      } else {
        Error("Invalid factor in expression (" + TokenName + ")");
        NextToken();
        return;
      }
      break;
  }
  if (Token == ibCOLLATE) {
    NextToken();
    NextToken();
  }
}

// GEN_ID ( generator [, step] )
void TIbExParser::ParseGenId(TDbObj* obj) {
  if (!NextCheck(tkLParen)) return;
  NextToken();
  if (!Check(tkIdent)) return;
  LinkDepend(obj, TokenText, {dboGenerator});
  NextToken();
  if (Token == tkComma) {
    NextToken();
    ParseExpression(obj);
  }
  CheckNext(tkRParen);
}

// name: {NEW | OLD} . column | context variable | function ( args ) |
// package . function ( args ) | qualifier . {column | *} | NEXT VALUE FOR
// generator | name, each with optional [subscripts]
void TIbExParser::ParseName(TDbObj* obj, bool colon) {
  // The word in upper case: identifiers are upper-cased already, keywords
  // keep the script's spelling; a quoted name is no word of the language.
  std::string keywordWord;
  if (QuoteChar == 0 && Token != tkIdent) keywordWord = UpperAscii(TokenText);
  static const std::string NoWord;
  const std::string& upper = QuoteChar != 0 ? NoWord : Token == tkIdent ? TokenText : keywordWord;
  const char next = PeekNonBlank();
  const int start = TokenStart;
  if ((upper == "NEW" || upper == "OLD") && next == '.' && ParseContextColumn(obj)) {
    // done
  } else if (next != '(' && next != '.' && InWords(ContextWords, upper)) {
    NextToken();
  } else if (upper == "NEXT" && PeekWordIs("VALUE")) {
    // NEXT VALUE FOR generator [STEP expr]
    NextToken();
    if (!NextCheck(ibFOR) || !NextCheck(tkIdent)) return;
    LinkDepend(obj, TokenText, {dboGenerator});
    NextToken();
    if (IsWord("STEP")) {
      NextToken();
      ParseSimpleExpr(obj);
    }
  } else if (next == '(') {
    const std::string name = TokenText;
    const std::string word = upper;
    NextToken();
    if (word.empty() || !ParseBuiltinCall(obj, word)) {
      LinkFunction(obj, name);
      ParseCallArguments(obj);
    }
  } else if (next == '.') {
    const std::string qualifier = TokenText;
    NextToken();
    NextToken();
    if (Token == tkStar) {
      if (!colon) LinkColumnDepend(obj, qualifier, "*");
      NextToken();
    } else if (Token == ibRDB_DB_KEY) {
      NextToken();
    } else if (Check(tkIdent)) {
      if (PeekNonBlank() == '(') {
        LinkPackage(obj, qualifier);  // a function of a package
        NextToken();
        ParseCallArguments(obj);
      } else {
        if (!colon) LinkColumnDepend(obj, qualifier, TokenText);
        NoteColumn(start);
      }
    }
  } else {
    if (!colon) LinkColumnDepend(obj, std::string(), TokenText);
    NoteColumn(start);
  }
  if (Token == tkLBracket) {
    // Array subscripts.
    NextToken();
    for (;;) {
      ParseExpression(obj);
      if (Token == tkColon) {
        NextToken();
        ParseExpression(obj);
      }
      if (Token != tkComma) break;
      NextToken();
    }
    CheckNext(tkRBracket);
  }
}

void TIbExParser::NoteColumn(int start) {
  if (NamesWanted) {
    LastColumnStart = start;
    LastColumnName = TokenText;
  }
  NextToken();
  LastColumnEnd = PrevTokenEnd;
}

bool TIbExParser::ParseContextColumn(TDbObj* obj) {
  TTrgData* trg = CurObject ? CurObject->As<TTrgData>() : nullptr;
  TCtrData* ctr = CurObject ? CurObject->As<TCtrData>() : nullptr;
  if (!trg && !ctr) return false;  // elsewhere NEW and OLD are ordinary qualifiers
  NextToken();
  NextToken();
  if (Token == tkStar || Token == ibRDB_DB_KEY) {
    NextToken();
    return true;
  }
  if (!Check(tkIdent)) return true;
  if (trg && trg->Table) {
    AddDepend(obj, trg->Table, TokenText);
  } else if (ctr) {
    AddDepend(obj, FindRowSource(ctr->TableName), TokenText);
  }
  NextToken();
  return true;
}

// call arguments: ( [expr, ...] ) [OVER window]; the token on "("
void TIbExParser::ParseCallArguments(TDbObj* obj) {
  if (!CheckNext(tkLParen)) return;
  if (Token != tkRParen) ParseExprList(obj);
  if (!CheckNext(tkRParen)) return;
  if (IsWord("OVER")) ParseWindow(obj);
}

// aggregate: {AVG | COUNT | MAX | MIN | SUM} ( [ALL | DISTINCT] {* | expr} )
// [OVER window]
void TIbExParser::ParseAggregate(TDbObj* obj) {
  if (!NextCheck(tkLParen)) return;
  NextToken();
  if (Token == ibALL || Token == ibDISTINCT) NextToken();
  if (Token == tkStar) {
    NextToken();
  } else {
    ParseExprList(obj);
  }
  if (!CheckNext(tkRParen)) return;
  if (IsWord("OVER")) ParseWindow(obj);
}

// window: OVER {name | ( [PARTITION BY list] [ORDER BY list] [frame] )}
void TIbExParser::ParseWindow(TDbObj* obj) {
  NextToken();
  if (Token == tkIdent) {
    NextToken();  // a named window
    return;
  }
  if (!CheckNext(tkLParen)) return;
  if (IsWord("PARTITION")) {
    NextToken();
    if (!CheckNext(ibBY)) return;
    ParseExprList(obj);
  }
  if (Token == ibORDER) ParseOrderBy(obj);
  // A frame (ROWS / RANGE BETWEEN ...) names no object.
  while (Token != tkRParen && Token != tkEOF && Token != tkTerm) {
    if (Token == tkLParen) {
      Error("Invalid window frame");
      return;
    }
    NextToken();
  }
  CheckNext(tkRParen);
}

// CASE [expr] WHEN expr THEN expr ... [ELSE expr] END
void TIbExParser::ParseCase(TDbObj* obj) {
  NextToken();
  if (Token != ibWHEN) ParseExpression(obj);
  while (Token == ibWHEN) {
    NextToken();
    ParseExpression(obj);
    if (!CheckNext(ibTHEN)) return;
    ParseExpression(obj);
  }
  if (Token == ibELSE) {
    NextToken();
    ParseExpression(obj);
  }
  CheckNext(ibEND);
}

// CAST ( expr AS type )
void TIbExParser::ParseCast(TDbObj* obj) {
  if (!NextCheck(tkLParen)) return;
  NextToken();
  ParseExpression(obj);
  if (!CheckNext(ibAS)) return;
  ParseBodyType(obj);
  CheckNext(tkRParen);
}

bool TIbExParser::CheckPart(std::initializer_list<const char*> words, const char* msg) {
  if (Token == tkIdent || Token >= tkFirstKeyword) {
    const std::string w = UpperAscii(TokenText);
    for (const char* word : words)
      if (w == word) return true;
  }
  Error(msg);
  return false;
}

// EXTRACT ( part FROM expr )
void TIbExParser::ParseExtract(TDbObj* obj) {
  if (!NextCheck(tkLParen)) return;
  NextToken();
  const char* msg = "Invalid <part> in EXTRACT(part FROM value) function.";
  const std::string w = Token == tkIdent || Token >= tkFirstKeyword ? UpperAscii(TokenText) : std::string();
  const bool fb21 = (vFb21Up & V(Version())) != 0;
  const bool ok = (fb21 && (w == "WEEK" || w == "MILLISECOND")) ||
                  (IsFirebird4() && (w == "TIMEZONE_HOUR" || w == "TIMEZONE_MINUTE"));
  if (!ok && !CheckPart({"SECOND", "MINUTE", "HOUR", "DAY", "MONTH", "YEAR", "WEEKDAY", "YEARDAY"}, msg))
    return;
  NextToken();
  if (!CheckNext(ibFROM)) return;
  ParseExpression(obj);
  CheckNext(tkRParen);
}

// DATEDIFF ( part FROM a TO b | part, a, b ); DATEADD ( part, n, d | n part TO d )
void TIbExParser::ParseDateDiffOrAdd(TDbObj* obj, bool add) {
  const std::initializer_list<const char*> parts = {"MILLISECOND", "SECOND", "MINUTE", "HOUR", "DAY",
                                                     "WEEK",        "MONTH",  "YEAR",   "WEEKDAY"};
  const char* msg = "Invalid timestamp part in DATEDIFF function.";
  NextToken();
  const bool partFirst = !add || PeekNonBlank() == ',';
  if (!partFirst) {
    ParseExpression(obj);
    if (!CheckPart(parts, msg)) return;
    NextToken();
    if (!CheckNext(ibTO)) return;
    ParseExpression(obj);
    CheckNext(tkRParen);
    return;
  }
  if (!CheckPart(parts, msg)) return;
  NextToken();
  if (!add && Token == ibFROM) {
    NextToken();
    ParseExpression(obj);
    if (!CheckNext(ibTO)) return;
    ParseExpression(obj);
  } else {
    if (!CheckNext(tkComma)) return;
    ParseExpression(obj);
    if (!CheckNext(tkComma)) return;
    ParseExpression(obj);
  }
  CheckNext(tkRParen);
}

bool TIbExParser::ParseBuiltinCall(TDbObj* obj, const std::string& name) {
  const TBuiltin* b = FindBuiltin(name);
  if (!b || !(b->Versions & V(Version()))) return false;
  auto expr = [this, obj]() { ParseExpression(obj); };
  auto optExpr = [this, obj, &expr](const char* word) {
    if (!IsWord(word)) return;
    NextToken();
    expr();
  };
  auto optWord = [this](const char* word) {
    if (!IsWord(word)) return;
    NextToken();
    NextToken();  // a name: an algorithm, a mode
  };
  switch (b->Form) {
    case TBuiltinForm::ExprList:
      ParseCallArguments(obj);
      return true;
    case TBuiltinForm::NoArgs:
    case TBuiltinForm::Ranking:
      if (!CheckNext(tkLParen) || !CheckNext(tkRParen)) return true;
      if (b->Form == TBuiltinForm::Ranking && IsWord("OVER")) ParseWindow(obj);
      return true;
    case TBuiltinForm::ListAgg:
      NextToken();
      if (Token == ibALL || Token == ibDISTINCT) NextToken();
      ParseExprList(obj);
      CheckNext(tkRParen);
      return true;
    case TBuiltinForm::Substring:
      NextToken();
      expr();
      if (Token == ibFROM) {
        NextToken();
        expr();
        if (Token == ibFOR) {
          NextToken();
          expr();
        }
      } else if (Token == ibSIMILAR) {
        NextToken();
        expr();
        if (Token == ibESCAPE) {
          NextToken();
          expr();
        }
      } else {
        while (Token == tkComma) {
          NextToken();
          expr();
        }
      }
      CheckNext(tkRParen);
      return true;
    case TBuiltinForm::FirstLastDay:
      NextToken();
      if (!CheckNext(ibOF)) return true;
      NextToken();  // the part
      if (!CheckNext(ibFROM)) return true;
      expr();
      CheckNext(tkRParen);
      return true;
    case TBuiltinForm::Hash:
      NextToken();
      expr();
      if (Token == ibUSING || IsWord("USING")) {
        NextToken();
        NextToken();
      }
      CheckNext(tkRParen);
      return true;
    case TBuiltinForm::Crypt:
      NextToken();
      expr();
      if (Token == ibUSING || IsWord("USING")) {
        NextToken();
        NextToken();
      }
      optWord("MODE");
      if (Token == ibKEY || IsWord("KEY")) {
        NextToken();
        expr();
      }
      optExpr("IV");
      if (IsWord("CTR_BIG_ENDIAN") || IsWord("CTR_LITTLE_ENDIAN")) NextToken();
      optExpr("CTR_LENGTH");
      optExpr("COUNTER");
      CheckNext(tkRParen);
      return true;
    case TBuiltinForm::RsaCrypt:
    case TBuiltinForm::RsaSign:
      NextToken();
      expr();
      optExpr("SIGNATURE");
      if (Token == ibKEY || IsWord("KEY")) {
        NextToken();
        expr();
      }
      optExpr("LPARAM");
      optWord("HASH");
      optExpr("SALT_LENGTH");
      CheckNext(tkRParen);
      return true;
    case TBuiltinForm::Trim:
    case TBuiltinForm::Pad:
      NextToken();
      if (IsWord("LEADING") || IsWord("TRAILING") || IsWord("BOTH")) NextToken();
      if (Token != ibFROM) expr();
      if (Token == ibFROM) {
        NextToken();
        expr();
      }
      if (b->Form == TBuiltinForm::Pad && Token == ibFOR) {
        NextToken();
        expr();
      }
      CheckNext(tkRParen);
      return true;
    case TBuiltinForm::Overlay:
      NextToken();
      expr();
      if (!CheckWord("PLACING")) return true;
      NextToken();
      expr();
      if (!CheckNext(ibFROM)) return true;
      expr();
      if (Token == ibFOR) {
        NextToken();
        expr();
      }
      CheckNext(tkRParen);
      return true;
    case TBuiltinForm::DateDiff:
    case TBuiltinForm::DateAdd:
      ParseDateDiffOrAdd(obj, b->Form == TBuiltinForm::DateAdd);
      return true;
  }
  return false;
}

// ---- Names and dependencies -----------------------------------------------------

void TIbExParser::LinkTable(TDbObj* obj, const std::string& name) {
  LinkDepend(obj, name, {dboTable, dboView, dboProcedure});
}

void TIbExParser::LinkFunction(TDbObj* obj, const std::string& name) {
  if (!obj || !Objs || IsSystemName(name) || IsLocalName(name)) return;
  if (TPrcData* f = Objs->FindProcedure(name); f && f->IsFunction && f != obj) {
    AddDepend(obj, f, std::string());
  } else {
    LinkDepend(obj, name, {dboFunction});
  }
  // A computed column's table needs the function too.
  if (auto* field = obj->As<TFldData>(); field && field->Owner && field->Owner->IsTable()) {
    TDbObj* fn = Objs->FindFunction(name);
    if (!fn)
      if (TPrcData* f = Objs->FindProcedure(name); f && f->IsFunction) fn = f;
    AddDepend(field->Owner, fn, std::string());
  }
}

void TIbExParser::LinkPackage(TDbObj* obj, const std::string& name) {
  if (!obj || !Objs || obj->Name == name) return;
  AddDepend(obj, Objs->FindPackage(name), std::string());
}

bool TIbExParser::IsLocalName(const std::string& name) const {
  for (const std::string& s : TempList)
    if (SameTextAscii(s, name)) return true;
  return false;
}

void TIbExParser::AddLocalName(const std::string& name) {
  if (!name.empty()) TempList.push_back(name);
}

void TIbExParser::LinkColumnDepend(TDbObj* obj, const std::string& qualifier, const std::string& column) {
  if (!Objs || !obj || column.empty()) return;
  TColumnRef ref;
  ref.Obj = obj;
  ref.Qualifier = qualifier;
  ref.Column = column;
  ref.Line = Line;
  ref.Col = Col;
  ResolveColumnRef(ref, Contexts.size());
}

void TIbExParser::AddDependAt(TDbObj* obj, TDbObj* target, const std::string& column, int line, int col) {
  // The record keeps where the reference stood, not where it was resolved.
  const int savedLine = Line;
  const int savedCol = Col;
  Line = line;
  Col = col;
  AddDepend(obj, target, column);
  Line = savedLine;
  Col = savedCol;
}

// Resolves a column reference from the scope at depth - 1 outward: the first
// scope whose tables (or, for a qualifier, aliases and tables) know it wins.
// A scope whose FROM list is not read yet keeps the reference until it is.
void TIbExParser::ResolveColumnRef(TColumnRef& ref, size_t depth) {
  auto wait = [this, &ref](size_t d) {
    if (d < PendingRefs.size()) PendingRefs[d].push_back(std::move(ref));
  };
  if (!ref.Started) {
    const TParseContext* top = depth > 0 ? Contexts[depth - 1].get() : nullptr;
    if (!top || (top->IsQueryScope && top->Tables.empty())) {
      // A bare name outside any query is taken for a generator.
      if (ref.Qualifier.empty() && !IsLocalName(ref.Column))
        LinkDepend(ref.Obj, ref.Column, {dboGenerator});
      return;
    }
    if (!top->IsQueryScope) {
      wait(depth - 1);
      return;
    }
    ref.Started = true;
    if (ref.Column == "*" && ref.Qualifier.empty()) {
      for (const std::string& t : top->Tables)
        AddDependAt(ref.Obj, FindRowSource(t), std::string(), ref.Line, ref.Col);
      return;
    }
  }
  const bool star = ref.Column == "*";
  for (size_t d = depth; d-- > 0;) {
    const TParseContext& ctx = *Contexts[d];
    if (!ctx.IsQueryScope) {
      wait(d);
      return;
    }
    if (!ref.Qualifier.empty()) {
      int i = IndexOfName(ctx.Aliases, ref.Qualifier);
      if (i < 0) i = IndexOfName(ctx.Tables, ref.Qualifier);
      if (i < 0) continue;
      AddDependAt(ref.Obj, FindRowSource(ctx.Tables[static_cast<size_t>(i)]),
                  star ? std::string() : ref.Column, ref.Line, ref.Col);
      return;
    }
    for (const std::string& name : ctx.Tables) {
      TDbObj* hit = nullptr;
      if (TTblData* t = Objs->FindTable(name); t && t->FindField(ref.Column)) {
        hit = t;
      } else if (TViwData* v = Objs->FindView(name); v && v->Columns.Find(ref.Column)) {
        hit = v;
      } else if (TPrcData* p = Objs->FindProcedure(name); p && p->Results.Find(ref.Column)) {
        hit = p;
      }
      if (hit) {
        AddDependAt(ref.Obj, hit, ref.Column, ref.Line, ref.Col);
        return;
      }
    }
  }
}

// ---- Query scopes -----------------------------------------------------------------

void TIbExParser::PushScope(bool complete) {
  PushContext()->IsQueryScope = complete;
  PendingRefs.resize(Contexts.size());
  PendingRefs.back().clear();
}

void TIbExParser::CompleteScope() {
  TParseContext* ctx = TopContext();
  if (!ctx || ctx->IsQueryScope) return;
  ctx->IsQueryScope = true;
  if (PendingRefs.size() < Contexts.size()) return;
  std::vector<TColumnRef> refs = std::move(PendingRefs[Contexts.size() - 1]);
  PendingRefs[Contexts.size() - 1].clear();
  for (TColumnRef& r : refs) ResolveColumnRef(r, Contexts.size());
}

void TIbExParser::PopScope() {
  PopContext();
  if (PendingRefs.size() > Contexts.size()) PendingRefs.resize(Contexts.size());
}
