#include <gtest/gtest.h>

#include <algorithm>

#include "core/kvtDBOptions.h"
#include "core/kvtDBStructure.h"
#include "core/kvtMsgMngr.h"
#include "extract/kvtCustomScriptExtract.h"
#include "kinds/kvtCompColumn.h"
#include "kinds/kvtComp_Ctr.h"
#include "kinds/kvtComp_Dmn.h"
#include "kinds/kvtComp_Gnr.h"
#include "kinds/kvtComp_Idx.h"
#include "kinds/kvtComp_Prc.h"
#include "kinds/kvtComp_Rol.h"
#include "kinds/kvtComp_Tbl.h"
#include "kinds/kvtComp_Viw.h"
#include "parse/kvtParser.h"

namespace {

class TSQLTestParser : public TCustomSQLParser {
 public:
  explicit TSQLTestParser(TCustomExtract* e = nullptr, TObjs* o = nullptr) : TCustomSQLParser(e, o) {
    OnErrorMessage = [](void*, const std::string&) {};
  }
  std::vector<std::string> Errors() const {
    std::vector<std::string> r;
    for (const auto& m : Messages->Items) r.push_back(m->Text);
    return r;
  }
};

std::vector<TTokenKind> Kinds(TCustomParser& p, const std::string& text) {
  p.SetSource(text);
  std::vector<TTokenKind> out;
  do {
    p.NextToken();
    out.push_back(p.Token);
  } while (p.Token != tkEOF && out.size() < 100);
  return out;
}

TEST(SQLScanner, CommentsAreSkippedAndKept) {
  TSQLTestParser p;
  p.SetSource("a /* x\r\n y */ b -- tail\nc/**/d");
  p.NextToken();
  p.NextToken();
  EXPECT_EQ(p.TokenText, "B");
  EXPECT_EQ(p.LastComment, " x\r\n y ");
  EXPECT_EQ(p.Line, 2);
  p.NextToken();
  EXPECT_EQ(p.TokenText, "C");
  EXPECT_EQ(p.LastComment, " tail");
  EXPECT_EQ(p.Line, 3);
  p.NextToken();
  EXPECT_EQ(p.TokenText, "D");
  EXPECT_EQ(p.LastComment, "");
  EXPECT_EQ(p.TokenStart, 30);
}

TEST(SQLScanner, CommentsRunToTheEnd) {
  TSQLTestParser p;
  // A line comment on the last line, and an unterminated block comment.
  EXPECT_EQ(Kinds(p, "x -- last words"), (std::vector<TTokenKind>{tkIdent, tkEOF}));
  EXPECT_EQ(p.LastComment, " last words");
  EXPECT_EQ(Kinds(p, "x /* open\n\n"), (std::vector<TTokenKind>{tkIdent, tkEOF}));
  EXPECT_EQ(p.LastComment, " open\n\n");
  EXPECT_EQ(p.Line, 3);
  EXPECT_FALSE(p.Messages->HasErrors());
  // A lone dash or slash is an operator.
  EXPECT_EQ(Kinds(p, "a-b/c"), (std::vector<TTokenKind>{tkIdent, tkMinus, tkIdent, tkSlash, tkIdent, tkEOF}));
}

TEST(SQLScanner, ConcatAndTerminators) {
  TSQLTestParser p;
  EXPECT_EQ(Kinds(p, "a||b;"), (std::vector<TTokenKind>{tkIdent, tkConcat, tkIdent, tkTerm, tkEOF}));
  p.SetTerm("^");
  EXPECT_EQ(Kinds(p, "x; y^"),
            (std::vector<TTokenKind>{tkIdent, tkSemicolon, tkIdent, tkTerm, tkEOF}));
  p.SetTerm("!!");
  EXPECT_EQ(Kinds(p, "x!!"), (std::vector<TTokenKind>{tkIdent, tkTerm, tkEOF}));
  p.SetTerm("");
  EXPECT_EQ(Kinds(p, ";"), (std::vector<TTokenKind>{tkSemicolon, tkEOF}));
  EXPECT_FALSE(p.Messages->HasErrors());
  p.SetTerm(";");
  EXPECT_EQ(Kinds(p, "a|b"), (std::vector<TTokenKind>{tkIdent, tkEOF}));
  EXPECT_EQ(p.Errors(), (std::vector<std::string>{"Invalid char in source text: \"|\"."}));
}

TEST(SQLScanner, SkipToAndDebugLog) {
  TSQLTestParser p;
  std::vector<std::string> dbg;
  p.OnDebugMessage = [&](void*, const std::string& t) { dbg.push_back(t); };
  p.DebugFlags = 2 | 4;
  p.SetSource("a /* c1 */ b -- c2\n( x (y) ) z");
  p.NextToken();
  p.SkipTo({tkLParen});
  EXPECT_EQ(p.Token, tkLParen);
  std::string text;
  p.SetSource("( x (y) ) z");
  p.ReadParenthesized(text);
  EXPECT_EQ(dbg, (std::vector<std::string>{"Comment:  c1 ", "Comment:  c2", "Expression: ( x (y) )"}));
  // The end of input ends every skip, even when it was not asked for.
  p.SetSource("a b c");
  p.NextToken();
  p.SkipTo({tkComma});
  EXPECT_EQ(p.Token, tkEOF);
}

TEST(SQLHelpers, QualifiedName) {
  struct {
    TServerType Server;
    const char* Owner;
    bool UseDefault;
    const char* Expected;
  } cases[] = {
      {srvMSSQL, "", true, "dbo.T"},  {srvASE, "", true, "dbo.T"},  {srvASA, "", true, "DBA.T"},
      {srvPostgreSQL, "", true, "public.T"}, {srvInterBase, "", true, "T"}, {srvMSSQL, "", false, "T"},
      {srvMSSQL, "sales", true, "sales.T"},
  };
  for (const auto& c : cases) {
    TSQLTestParser p;
    p.ServerType = c.Server;
    EXPECT_EQ(p.QualifiedName("T", c.Owner, c.UseDefault), c.Expected);
  }
}

TEST(SQLHelpers, ReadSignedInteger) {
  TSQLTestParser p;
  std::string text;
  for (auto [src, expText, expValue] :
       {std::tuple{"-12", "-12", -12}, std::tuple{"+3", "+3", 3}, std::tuple{"7", "7", 7}}) {
    p.SetSource(src);
    p.NextToken();
    EXPECT_TRUE(p.ReadSignedInteger(text)) << src;
    EXPECT_EQ(text, expText);
    EXPECT_EQ(p.IntValue, expValue);
  }
  p.SetSource("- x");
  p.NextToken();
  EXPECT_FALSE(p.ReadSignedInteger(text));
  EXPECT_EQ(text, "");
  EXPECT_EQ(p.Errors(), (std::vector<std::string>{"Missing: <Integer value> (<Ident>: X)"}));
}

TEST(SQLHelpers, ParsePrecision) {
  TObjs objs;
  TSQLTestParser p(nullptr, &objs);
  TFldData f(&objs, nullptr);
  f.Scale = 4;
  p.SetSource("(15,2) next");
  p.NextToken();
  p.ParsePrecision(&f);
  EXPECT_EQ(f.Precision, 15);
  EXPECT_EQ(f.Scale, 2);
  EXPECT_EQ(p.TokenText, "NEXT");

  f.Scale = 4;
  p.SetSource("(15)");
  p.NextToken();
  p.ParsePrecision(&f);
  EXPECT_EQ(f.Precision, 15);
  EXPECT_EQ(f.Scale, 4);

  p.SetSource("not null");
  p.NextToken();
  p.ParsePrecision(&f);
  EXPECT_EQ(f.Precision, 9);
  EXPECT_EQ(f.Scale, 0);
  EXPECT_EQ(p.TokenText, "NOT");

  p.SetSource("(15 2)");
  p.NextToken();
  p.ParsePrecision(&f);
  EXPECT_EQ(p.Errors(), (std::vector<std::string>{"Missing: <)> (<Integer value>)"}));
}

TEST(SQLStatements, GenericLoopSkipsStatementsAndFollowsSetTerm) {
  TSQLTestParser p;
  std::vector<std::pair<TStatementKind, std::string>> seen;
  p.OnStatement = [&](void*, const std::string& text, TStatementKind kind, const std::string&, int, int,
                      const std::string&) { seen.push_back({kind, text}); };
  p.ParseScript({"CREATE TABLE T (A INT);", "SET TERM ^ ;", "CREATE PROCEDURE P AS BEGIN x = 1; END^",
                 "SET TERM ;^", ";;", "select 'a;b' from t  ;", "drop view v"},
                nullptr);
  EXPECT_FALSE(p.Messages->HasErrors()) << p.Messages->GetErrorText();
  ASSERT_EQ(seen.size(), 6u);
  EXPECT_EQ(seen[0], std::make_pair(skStatement, std::string("CREATE TABLE T (A INT)")));
  EXPECT_EQ(seen[1].first, skSet);
  EXPECT_EQ(seen[2].second, "CREATE PROCEDURE P AS BEGIN x = 1; END");
  EXPECT_EQ(seen[3].first, skSet);
  EXPECT_EQ(seen[4].second, "select 'a;b' from t");
  EXPECT_EQ(seen[5].second, "drop view v");
  EXPECT_EQ(p.Term, ";");
}

// ---- Dependencies ---------------------------------------------------------------

// True when `user` has a dependency record on `used`.
bool Uses(TDbObj* user, TDbObj* used) {
  return std::any_of(user->UseOfList.begin(), user->UseOfList.end(),
                     [&](const auto& d) { return d->Obj == used; });
}

class SQLDependTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Objs.SetServerType(srvInterBase);
    Parser = std::make_unique<TSQLTestParser>(nullptr, &Objs);
    Parser->ServerType = srvInterBase;
  }

  template <class T>
  T* Add(std::unique_ptr<T> obj) {
    T* raw = obj.get();
    EXPECT_TRUE(Objs.AddObj(obj, true));
    return raw;
  }
  TTblData* Table(const std::string& name, std::initializer_list<std::pair<const char*, const char*>> cols) {
    auto t = std::make_unique<TTblData>(&Objs);
    t->SetName(name);
    for (auto [col, domain] : cols) {
      auto f = std::make_unique<TFldData>(&Objs, t.get());
      f->SetName(col);
      if (*domain) {
        f->DataType = dtDomain;
        f->DomainName = domain;
      }
      t->AddField(std::move(f));
    }
    return Add(std::move(t));
  }
  template <class T>
  T* Named(const std::string& name) {
    auto o = std::make_unique<T>(&Objs);
    o->SetName(name);
    return Add(std::move(o));
  }
  TParseContext* Scope(std::initializer_list<std::pair<const char*, const char*>> tables) {
    TParseContext* ctx = Parser->PushContext();
    ctx->IsQueryScope = true;
    for (auto [t, alias] : tables) {
      ctx->Tables.push_back(t);
      ctx->Aliases.push_back(alias);
    }
    return ctx;
  }

  TObjs Objs;
  std::unique_ptr<TSQLTestParser> Parser;
};

TEST_F(SQLDependTest, LinkDependByKindAndNeverOnItself) {
  auto* t = Table("T", {});
  auto* p = Named<TPrcData>("P");
  auto* g = Named<TGnrData>("G");
  Parser->LinkDepend(p, "P", {dboProcedure});  // a recursive call
  Parser->LinkDepend(p, "T", {dboView, dboProcedure});  // wrong kinds
  Parser->LinkDepend(p, "RDB$DATABASE", {dboTable});
  Parser->LinkDepend(p, "NOPE", {dboTable, dboGenerator});
  EXPECT_TRUE(p->UseOfList.empty());
  Parser->LinkDepend(p, "T", {dboTable, dboView});
  Parser->LinkDepend(p, "G", {dboGenerator});
  Parser->LinkDepend(p, "G", {dboGenerator});
  ASSERT_EQ(p->UseOfList.size(), 2u);
  EXPECT_TRUE(Uses(p, t));
  EXPECT_TRUE(Uses(p, g));
  EXPECT_EQ(g->UseInList.size(), 1u);
}

TEST_F(SQLDependTest, ViewOnTableAlsoUsesItsColumnsDomains) {
  auto* d1 = Named<TDmnData>("D1");
  auto* d2 = Named<TDmnData>("D2");
  auto* t = Table("T", {{"A", "D1"}, {"B", ""}, {"C", "D2"}, {"E", "D1"}, {"F", "UNKNOWN"}});
  auto* v = Named<TViwData>("V");
  Parser->AddDepend(v, t, "C");
  Parser->AddDepend(v, t, "C");
  EXPECT_TRUE(Uses(v, t->FindField("C")));
  EXPECT_TRUE(Uses(v, d1));
  EXPECT_TRUE(Uses(v, d2));
  EXPECT_EQ(v->UseOfList.size(), 3u);
  // A procedure reading the same column gets no domain links.
  auto* p = Named<TPrcData>("P");
  Parser->AddDepend(p, t, "C");
  EXPECT_EQ(p->UseOfList.size(), 1u);
}

TEST_F(SQLDependTest, ColumnReferencesResolveThroughScopes) {
  auto* outer = Table("OUTER_T", {{"A", ""}, {"B", ""}});
  auto* inner = Table("INNER_T", {{"A", ""}, {"C", ""}});
  auto* g = Named<TGnrData>("SEQ");
  auto* user = Named<TPrcData>("USER_P");

  Parser->TempList = {"v_local"};
  Parser->LinkColumnDepend(user, "", "V_LOCAL");  // a variable, no scope
  Parser->LinkColumnDepend(user, "", "SEQ");      // outside a query: a generator
  EXPECT_EQ(user->UseOfList.size(), 1u);
  EXPECT_TRUE(Uses(user, g));

  Scope({{"OUTER_T", "o"}});
  Scope({{"INNER_T", ""}});
  Parser->LinkColumnDepend(user, "", "A");  // in both: the inner table wins
  EXPECT_TRUE(Uses(user, inner->FindField("A")));
  EXPECT_FALSE(Uses(user, outer->FindField("A")));
  Parser->LinkColumnDepend(user, "", "B");  // only the outer table has it
  EXPECT_TRUE(Uses(user, outer->FindField("B")));
  Parser->LinkColumnDepend(user, "O", "A");  // qualified by the outer alias
  EXPECT_TRUE(Uses(user, outer->FindField("A")));
  Parser->LinkColumnDepend(user, "inner_t", "*");
  EXPECT_TRUE(Uses(user, inner));
  Parser->LinkColumnDepend(user, "", "NOWHERE");
  Parser->LinkColumnDepend(user, "NOALIAS", "A");
  EXPECT_EQ(user->UseOfList.size(), 5u);

  Parser->PopContext();
  Parser->PopContext();
  Scope({{"OUTER_T", ""}, {"INNER_T", ""}});
  auto* star = Named<TViwData>("STAR");
  Parser->LinkColumnDepend(star, "", "*");
  EXPECT_TRUE(Uses(star, outer));
  EXPECT_TRUE(Uses(star, inner));
}

TEST_F(SQLDependTest, FinishParseLinksIndexesAndConstraintsToTablesAndColumns) {
  auto* parent = Table("PARENT", {{"ID", ""}, {"CODE", ""}});
  auto* child = Table("CHILD", {{"A", ""}, {"B", ""}});
  auto names = [](TNamedObjList<TFldData>& list, std::initializer_list<const char*> cols) {
    for (const char* c : cols) list.Add(c, nullptr);
  };
  auto idx = std::make_unique<TIdxData>(&Objs);
  idx->SetName("IX");
  idx->TableName = "CHILD";
  names(idx->Fields, {"B", "NO_SUCH_COLUMN"});
  auto* ix = Add(std::move(idx));
  auto orphan = std::make_unique<TIdxData>(&Objs);
  orphan->SetName("IX_ORPHAN");
  orphan->TableName = "MISSING";
  names(orphan->Fields, {"A"});
  auto* ixOrphan = Add(std::move(orphan));
  auto key = [&](const char* name, uint8_t type, const char* table,
                 std::initializer_list<const char*> cols) {
    auto c = std::make_unique<TCtrData>(&Objs);
    c->SetName(name);
    c->SetConstraintType(type);
    c->TableName = table;
    names(c->Fields, cols);
    return Add(std::move(c));
  };
  auto* pk = key("PK_PARENT", ctPrimaryKey, "PARENT", {"ID", "CODE"});
  auto* reversed = key("UQ_PARENT", ctUnique, "PARENT", {"CODE", "ID"});
  auto* fk = key("FK_CHILD", ctForeignKey, "CHILD", {"A", "B"});
  fk->RefTableName = "PARENT";
  names(fk->RefFields, {"ID", "CODE"});

  Parser->FinishParse();
  // An index uses its table and the columns of it that the table has.
  EXPECT_TRUE(Uses(ix, child));
  EXPECT_TRUE(Uses(ix, child->FindField("B")));
  EXPECT_FALSE(Uses(ix, child->FindField("A")));
  EXPECT_EQ(ix->UseOfList.size(), 2u);
  EXPECT_EQ(child->FindField("B")->UseInList.size(), 2u);  // the index and the foreign key
  EXPECT_TRUE(ixOrphan->UseOfList.empty());
  // A key uses its table and columns; a foreign key also the referenced
  // table, its columns and the key over exactly those columns in that order.
  EXPECT_TRUE(Uses(pk, parent));
  EXPECT_TRUE(Uses(pk, parent->FindField("ID")));
  EXPECT_TRUE(Uses(pk, parent->FindField("CODE")));
  for (const char* col : {"A", "B"}) EXPECT_TRUE(Uses(fk, child->FindField(col))) << col;
  EXPECT_TRUE(Uses(fk, child));
  EXPECT_TRUE(Uses(fk, parent));
  EXPECT_TRUE(Uses(fk, parent->FindField("ID")));
  EXPECT_TRUE(Uses(fk, parent->FindField("CODE")));
  EXPECT_TRUE(Uses(fk, pk));
  EXPECT_FALSE(Uses(fk, reversed));
  EXPECT_EQ(fk->UseOfList.size(), 7u);

  // The pass may run again (another extraction) without doubling a link.
  Parser->FinishParse();
  EXPECT_EQ(fk->UseOfList.size(), 7u);
}

TEST_F(SQLDependTest, FinishParseLinksGrantsAndUsers) {
  auto* t = Table("T", {{"A", ""}});
  auto* p = Named<TPrcData>("P");
  auto role = [&](const char* name, uint8_t kind) {
    auto r = std::make_unique<TRolData>(&Objs);
    r->SetName(name);
    r->RoleKind = kind;
    return Add(std::move(r));
  };
  auto* login = role("JOE_LOGIN", rkLogin);
  auto* user = role("JOE", rkUser);
  user->LoginName = "JOE_LOGIN";
  auto* lost = role("ANN", rkUser);
  lost->LoginName = "NOBODY";
  auto* manager = role("MANAGER", rkRole);
  int grants = 0;
  auto grant = [&](const char* object, TDbObject objectKind, const char* grantee,
                   TDbObject granteeKind) {
    auto g = std::make_unique<TGntData>(&Objs);
    g->SetName("G" + std::to_string(++grants));  // a list key of its own
    g->ObjectName = object;
    g->ObjectKind = objectKind;
    g->Grantee = grantee;
    g->GranteeKind = granteeKind;
    g->Privileges.set(pvSelect);
    return Add(std::move(g));
  };
  auto* toProcedure = grant("T", dboTable, "P", dboProcedure);
  auto* toUser = grant("P", dboProcedure, "JOE", dboUser);
  auto* ofRole = grant("MANAGER", dboRole, "JOE", dboUnknown);  // a plain user is no object

  Parser->FinishParse();
  EXPECT_TRUE(Uses(toProcedure, t));
  EXPECT_TRUE(Uses(toProcedure, p));
  EXPECT_TRUE(Uses(toUser, p));
  EXPECT_TRUE(Uses(toUser, user));
  EXPECT_FALSE(Uses(toUser, login));
  EXPECT_TRUE(Uses(ofRole, manager));
  EXPECT_EQ(ofRole->UseOfList.size(), 1u);
  EXPECT_TRUE(Uses(user, login));
  EXPECT_TRUE(lost->UseOfList.empty());
  EXPECT_TRUE(login->UseOfList.empty());
}

// MS SQL keys tables by schema: a foreign key without its own reference
// schema looks the referenced table up in the constraint's schema.
TEST(SQLFinishParse, ReferencedTableTakesTheConstraintSchema) {
  for (const char* refSchema : {"", "SALES"}) {
    TObjs objs;
    objs.SetServerType(srvMSSQL);
    TSQLTestParser parser(nullptr, &objs);
    parser.ServerType = srvMSSQL;
    auto t = std::make_unique<TTblData>(&objs);
    t->SetName("PARENT");
    t->SetSchema("SALES");
    TTblData* table = t.get();
    ASSERT_TRUE(objs.AddObj(t, true));
    auto c = std::make_unique<TCtrData>(&objs);
    c->SetName("FK");
    c->SetSchema(*refSchema ? "DBO" : "SALES");
    c->SetConstraintType(ctForeignKey);
    c->TableName = "CHILD";
    c->SetRefTableName("PARENT");
    c->SetRefSchema(refSchema);
    TCtrData* fk = c.get();
    ASSERT_TRUE(objs.AddObj(c, true));
    parser.FinishParse();
    EXPECT_TRUE(Uses(fk, table)) << refSchema;
  }
}

TEST(SQLFinishParse, IndexTableKeyFollowsTheDialect) {
  // Tables are keyed by schema (or owner) where the dialect does so; the
  // index names its table without it.
  struct {
    TServerType Server;
    const char* TableSchema;
    const char* IdxSchema;
    const char* IdxOwner;
    bool Linked;
  } cases[] = {
      {srvMSSQL, "DBO", "DBO", "", true},     {srvMSSQL, "DBO", "", "", false},
      {srvOracle, "HR", "HR", "", true},      {srvASA, "DBA", "", "DBA", true},
      {srvASA, "DBA", "DBA", "", false},      {srvInterBase, "", "X", "Y", true},
  };
  for (const auto& c : cases) {
    TObjs objs;
    objs.SetServerType(c.Server);
    TSQLTestParser parser(nullptr, &objs);
    parser.ServerType = c.Server;
    auto t = std::make_unique<TTblData>(&objs);
    t->SetName("T");
    t->SetSchema(c.TableSchema);
    TTblData* table = t.get();
    ASSERT_TRUE(objs.AddObj(t, true));
    auto i = std::make_unique<TIdxData>(&objs);
    i->SetName("IX");
    i->SetSchema(c.IdxSchema);
    i->Owner = c.IdxOwner;
    i->TableName = "T";
    TIdxData* idx = i.get();
    ASSERT_TRUE(objs.AddObj(i, true));
    parser.FinishParse();
    EXPECT_EQ(std::any_of(idx->UseOfList.begin(), idx->UseOfList.end(),
                          [&](const auto& d) { return d->Obj == table; }),
              c.Linked)
        << int(c.Server) << " " << c.IdxSchema << "/" << c.IdxOwner;
  }
}

TEST_F(SQLDependTest, AddObjectHandsOverOrKeeps) {
  auto first = std::make_unique<TTblData>(&Objs);
  first->SetName("T");
  EXPECT_TRUE(Parser->AddObject(first, true));
  EXPECT_EQ(first, nullptr);
  // Same key: the container keeps the earlier one; the caller keeps this one.
  auto second = std::make_unique<TTblData>(&Objs);
  second->SetName("T");
  EXPECT_FALSE(Parser->AddObject(second, true));
  EXPECT_NE(second, nullptr);

  TSQLTestParser loose;  // no container
  auto obj = std::make_unique<TTblData>(nullptr);
  EXPECT_FALSE(loose.AddObject(obj, false));
  EXPECT_NE(obj, nullptr);
  EXPECT_FALSE(loose.AddObject(obj, true));
  EXPECT_EQ(obj, nullptr);
}

TEST_F(SQLDependTest, ParseScriptCopiesConnectionOptions) {
  Parser->Options->DatabaseName = "db.fdb";
  Parser->ParseScript({"select 1 from t;"}, &Objs);
  EXPECT_EQ(Objs.ConnectionOptions->DatabaseName, "db.fdb");
}

TEST(SQLParserWithExtractor, ReportsThroughItAndLetsItChoose) {
  TDBStructure structure;
  TCustomScriptExtract extract;
  extract.SetDBStructure(&structure);
  std::vector<std::string> log;
  std::vector<int> progress;
  extract.SetOnLogNextLine([&](void*, const std::string& t) { log.push_back(t); });
  extract.SetOnProgressUpdate([&](void*, int v, int) { progress.push_back(v); });
  extract.ExcludeObjsNames = {"TMP%"};

  // A parser without handlers of its own reports through the extractor.
  TSQLTestParser p(&extract, structure.Objs);
  p.ScriptName = "s.sql";
  p.ParseScript({"select 1;"}, structure.Objs);
  EXPECT_EQ(log, (std::vector<std::string>{"Parse Script: s.sql"}));
  EXPECT_FALSE(progress.empty());

  auto kept = std::make_unique<TTblData>(structure.Objs);
  kept->SetName("ORDERS");
  EXPECT_TRUE(p.AddObject(kept, false));
  auto dropped = std::make_unique<TTblData>(structure.Objs);
  dropped->SetName("TMP_ORDERS");
  EXPECT_FALSE(p.AddObject(dropped, false));
  EXPECT_EQ(dropped, nullptr);  // unwanted objects are freed
  EXPECT_NE(structure.Objs->FindTable("ORDERS"), nullptr);
  EXPECT_EQ(structure.Objs->FindTable("TMP_ORDERS"), nullptr);
}

}  // namespace
