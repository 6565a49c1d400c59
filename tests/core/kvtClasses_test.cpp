#include "core/kvtClasses.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/kvtDBOptions.h"
#include "core/kvtDBStructure.h"
#include "kinds/kvtCompColumn.h"
#include "kinds/kvtComp_Ctr.h"
#include "kinds/kvtComp_Dmn.h"
#include "kinds/kvtComp_Idx.h"
#include "kinds/kvtComp_Prc.h"
#include "kinds/kvtComp_Rol.h"
#include "kinds/kvtComp_Tbl.h"
#include "kinds/kvtComp_Trg.h"
#include "kinds/kvtComp_Viw.h"
#include "script/kvtSQL_Exec.h"

namespace {

// A stand-in object of any kind with fixed, recognisable DDL.
class TFake : public TDbObj {
 public:
  TFake(TObjs* objs, TDbObject kind, const std::string& name) : TDbObj(objs) {
    ObjType = kind;
    Name = name;
  }
  const char* ClassName() const override { return "TFake"; }
  std::string GetCreateSQL() override { return "CREATE " + Name; }
  std::string GetDropSQL() override { return "DROP " + Name; }
};

// A stand-in of a real kind (so the walks see that kind's behaviour) with
// fixed, recognisable DDL.
template <class Base>
class TFakeOf : public Base {
 public:
  TFakeOf(TObjs* objs, const std::string& name) : Base(objs) { this->Name = name; }
  const char* ClassName() const override { return "TFake"; }
  std::string GetCreateSQL() override { return "CREATE " + this->Name; }
  std::string GetDropSQL() override { return "DROP " + this->Name; }
};
using TFakeTbl = TFakeOf<TTblData>;
using TFakeViw = TFakeOf<TViwData>;
using TFakeGnt = TFakeOf<TGntData>;

class TTestPrc : public TPrcData {
 public:
  TTestPrc(TObjs* objs, const std::string& name, const std::string& body) : TPrcData(objs) {
    Name = name;
    SetBody(body);
  }
  std::string GetCreateSQL() override { return "CREATE PROCEDURE " + Name + " " + Body; }
  std::string GetAlterSQL() override { return "ALTER PROCEDURE " + Name + " " + Body; }
};

class TTestTrg : public TTrgData {
 public:
  TTestTrg(TObjs* objs, const std::string& name, const std::string& body) : TTrgData(objs) {
    Name = name;
    SetBody(body);
  }
  std::string GetCreateSQL() override { return "CREATE TRIGGER " + Name + " " + Body; }
  std::string GetAlterSQL() override { return "ALTER TRIGGER " + Name + " " + Body; }
  std::string GetDropSQL() override { return "DROP TRIGGER " + Name; }
};

// Master and target containers joined for a comparison, with a statement list.
struct CompareFixture {
  TObjs master;
  TObjs target;
  TSQLExec exec;
  std::vector<std::unique_ptr<TDbObj>> loose;  // objects not kept in a list

  explicit CompareFixture(TServerType st = srvInterBase) {
    master.SetServerType(st);
    target.SetServerType(st);
    master.Role = 1;
    target.Role = 2;
    master.Partner = &target;
    target.Partner = &master;
    master.SQLExec = &exec;
    target.SQLExec = &exec;
  }
  template <class T, class... Args>
  T* Add(TObjs& objs, TObjList& list, Args&&... args) {
    auto obj = std::make_unique<T>(&objs, std::forward<Args>(args)...);
    T* raw = obj.get();
    std::unique_ptr<TDbObj> base(std::move(obj));
    const std::string key = raw->GetListKey();
    if (!list.Add(key, base)) loose.push_back(std::move(base));
    return raw;
  }
  template <class T, class... Args>
  T* Loose(TObjs& objs, Args&&... args) {
    auto obj = std::make_unique<T>(&objs, std::forward<Args>(args)...);
    T* raw = obj.get();
    loose.push_back(std::move(obj));
    return raw;
  }
  // "action:object" of every statement but comments, in order.
  std::vector<std::string> Trace() const {
    std::vector<std::string> out;
    for (const auto& st : exec.Statements)
      if (st->Kind != skComment) out.push_back(std::to_string(st->Action) + ":" + st->ObjName);
    return out;
  }
};

void Use(TDbObj* user, TDbObj* used) { AddDependency(user->Objs, user, used, "", 0, 0); }

// ---------------------------------------------------------------------------

TEST(DbObj, NameAndTextSetters) {
  TObjs ms;
  ms.SetServerType(srvMSSQL);
  TFake a(&ms, dboTable, "");
  a.SetName("orders");
  a.SetSchema("dbo");
  EXPECT_EQ(a.Name, "ORDERS");
  EXPECT_EQ(a.Schema, "DBO");
  ms.MSSQLServerOptions->MSSQLCompareOptions->CaseSensitiveIdentifiers = true;
  a.SetName("orders");
  EXPECT_EQ(a.Name, "orders");

  TObjs ib;
  ib.SetServerType(srvInterBase);
  TFake b(&ib, dboTable, "");
  b.SetName("orders");
  EXPECT_EQ(b.Name, "orders");

  b.SetDescription("  a\nb  ");
  EXPECT_EQ(b.Description, "a\r\nb");
  b.SetBody("\r\n\tselect 1\rfrom x \r\n\r\n");
  EXPECT_EQ(b.Body, "select 1\r\nfrom x");
}

TEST(DbObj, ExistsFollowsPairAndServerTypeIsBorrowed) {
  TObjs master, target;
  master.SetServerType(srvInterBase);
  target.SetServerType(srvOracle);
  TFake m(&master, dboTable, "T"), t(&target, dboTable, "T");
  m.Pair = &t;
  m.SetExists(false);
  EXPECT_FALSE(t.GetExists());
  EXPECT_EQ(m.GetServerType(), srvInterBase);
  master.Partner = &target;
  master.UsePartnerServer = true;
  EXPECT_EQ(m.GetServerType(), srvOracle);
  master.Partner = nullptr;
  TFake none(nullptr, dboTable, "X");
  EXPECT_EQ(none.GetServerType(), srvNone);
  EXPECT_EQ(none.QuoteName("a b"), "a b");
  EXPECT_EQ(none.GetCompareObjects(), TCmpObjSetType());
}

struct QuoteCase {
  TServerType server;
  std::string name;
  std::string quoted;
};

TEST(DbObj, QuoteNamePerDialect) {
  const std::vector<QuoteCase> cases = {
      {srvInterBase, "ORDERS", "ORDERS"},
      {srvInterBase, "Orders", "\"Orders\""},
      {srvMySQL, "ORDERS", "ORDERS"},
      {srvMySQL, "orders", "`orders`"},
      {srvOracle, "ORDERS", "ORDERS"},
      {srvOracle, "my table", "\"my table\""},
      {srvMSSQL, "ORDERS", "ORDERS"},
      {srvMSSQL, "my table", "[my table]"},
      {srvASA, "my table", "\"my table\""},
      {srvPostgreSQL, "orders", "orders"},
      {srvPostgreSQL, "_a$1", "_a$1"},
      {srvPostgreSQL, "Orders", "\"Orders\""},
      {srvPostgreSQL, "1st", "\"1st\""},
      {srvPostgreSQL, "order", "\"order\""},
      {srvPostgreSQL, "a\"b", "\"a\"\"b\""},
      {srvDB2, "ORDERS", "ORDERS"},
      {srvDB2, "A#$@_1", "A#$@_1"},
      {srvDB2, "orders", "\"orders\""},
      {srvDB2, "TABLE", "\"TABLE\""},
      {srvDB2, "_X", "\"_X\""},
      {srvASE, "my table", "my table"},
  };
  for (const auto& c : cases) {
    TObjs objs;
    objs.SetServerType(c.server);
    TFake o(&objs, dboTable, c.name);
    EXPECT_EQ(o.QuoteName(c.name), c.quoted) << int(c.server) << " " << c.name;
  }
  // InterBase quotes only in SQL dialect 3.
  TObjs ib;
  ib.SetServerType(srvInterBase);
  ib.IBServerOptions->SQLDialect = 1;
  TFake o(&ib, dboTable, "Orders");
  EXPECT_EQ(o.QuoteName("Orders"), "Orders");
}

struct QualifyCase {
  TServerType server;
  TDbObject kind;
  std::string schema, owner, name;
  std::string qualified, key, display;
};

TEST(DbObj, QualifiedNameListKeyAndDisplayName) {
  const std::vector<QualifyCase> cases = {
      {srvInterBase, dboTable, "S", "", "T", "T", "T", "T"},
      {srvOracle, dboTable, "S", "", "T", "S.T", "S.T", "T"},
      {srvOracle, dboTable, "", "", "T", "T", "T", "T"},
      {srvMSSQL, dboView, "DBO", "", "V", "DBO.V", "DBO.V", "DBO.V"},
      {srvPostgreSQL, dboTable, "public", "", "t", "public.t", "public.t", "public.t"},
      {srvDB2, dboTable, "S", "", "T", "S.T", "S.T", "S.T"},
      {srvASA, dboTable, "", "OWN", "T", "OWN.T", "T", "OWN.T"},
      {srvASA, dboView, "", "", "T", "DBA.T", "T", "T"},
      {srvASA, dboTrigger, "", "OWN", "T", "T", "T", "OWN.T"},
      {srvMySQL, dboTable, "S", "", "T", "T", "T", "T"},
  };
  for (const auto& c : cases) {
    TObjs objs;
    objs.SetServerType(c.server);
    TFake o(&objs, c.kind, c.name);
    o.Schema = c.schema;
    o.Owner = c.owner;
    EXPECT_EQ(o.GetQualifiedName(), c.qualified) << int(c.server) << " " << c.name;
    EXPECT_EQ(o.GetListKey(), c.key) << int(c.server) << " " << c.name;
    EXPECT_EQ(o.GetDisplayName(), c.display) << int(c.server) << " " << c.name;
  }

  // A column is never schema-qualified; an MS SQL index is keyed schema.table.index.
  TObjs ms;
  ms.SetServerType(srvMSSQL);
  TFldData col(&ms, nullptr);
  col.Name = "C";
  col.Schema = "DBO";
  EXPECT_EQ(col.GetQualifiedName(), "C");
  TIdxData idx(&ms);
  idx.Name = "IX";
  idx.TableName = "T";
  idx.Schema = "DBO";
  EXPECT_EQ(idx.GetListKey(), "DBO.T.IX");

  // Without a name the generated name, else the DDL, is shown.
  TFake unnamed(&ms, dboCheck, "");
  EXPECT_EQ(unnamed.GetDisplayName(), "CREATE ");
  unnamed.AutoName = "CK__T__0123ABCD";
  EXPECT_EQ(unnamed.GetDisplayName(), "CK__T__0123ABCD");
}

TEST(DbObj, CommentsAndCompareText) {
  TObjs asa, pg;
  asa.SetServerType(srvASA);
  pg.SetServerType(srvPostgreSQL);
  TFake a(&asa, dboTable, "T");
  EXPECT_EQ(a.MakeComment("x"), "% x");
  TFake v(&pg, dboView, "v");
  EXPECT_EQ(v.MakeComment("x"), "/* x */");

  class TTextView : public TFake {
   public:
    using TFake::TFake;
    std::string GetCreateSQL() override { return "CREATE VIEW v AS\r\nselect  a,\n   b\rfrom t"; }
  } pv(&pg, dboView, "v"), tv(&pg, dboTable, "v");
  EXPECT_EQ(pv.GetCompareSQL(), "CREATE VIEW v AS select a, b from t");
  EXPECT_EQ(tv.GetCompareSQL(), tv.GetCreateSQL());  // only views are flattened
  EXPECT_EQ(a.GetAlterSQL(), "/* Alter <...> */");
  a.SQLText = "cached";
  EXPECT_EQ(a.GetSQLText(), "cached");
}

TEST(DbObj, BaseDropTexts) {
  TObjs ib;
  ib.SetServerType(srvInterBase);
  ib.IBServerOptions->SQLDialect = 1;
  TFldData col(&ib, nullptr);
  col.Name = "C";
  col.TableName = "T";
  EXPECT_EQ(col.TDbObj::GetDropSQL(), "/* Drop: C (TFldData) */\r\nALTER TABLE T DROP C");
  TFake dmn(&ib, dboDomain, "D");
  EXPECT_EQ(dmn.TDbObj::GetDropSQL(), "/* Drop: D (TFake) */\r\nDROP DOMAIN D");
  TFake pkg(&ib, dboPackage, "P");
  EXPECT_EQ(pkg.TDbObj::GetDropSQL(), "/* Drop: P (TFake) */\r\n");
}

struct AutoNameCase {
  uint8_t type;
  std::string name;
  bool detected;
};

TEST(DbObj, DetectAutoName) {
  const std::vector<AutoNameCase> cases = {
      {ctPrimaryKey, "PK__ORDERS__1A2B3C4D", true},
      {ctUnique, "UQ__ORDERS__00000000", true},
      {ctForeignKey, "FK__ORDERS__CUST__7F0E1D2C", true},
      {ctDefault, "DF__ORDERS__QTY__ABCDEF12", true},
      {ctPrimaryKey, "PK__ORDERS__1a2b3c4d", false},          // lower-case hex
      {ctPrimaryKey, "PK__ORDERS__1A2B3C4D5E6F7A8B", false},  // sixteen digits
      {ctPrimaryKey, "UQ__ORDERS__1A2B3C4D", false},          // prefix of another type
      {ctCheck, "CK__ORDERS__1A2B3C4D", false},
      {ctPrimaryKey, "PK_ORDERS", false},
  };
  for (const auto& c : cases) {
    TObjs ms;
    ms.SetServerType(srvMSSQL);
    TCtrData ctr(&ms);
    ctr.SetConstraintType(c.type);
    ctr.Name = c.name;
    EXPECT_EQ(ctr.DetectAutoName(), c.detected) << c.name;
    EXPECT_EQ(ctr.Name, c.detected ? "" : c.name);
    EXPECT_EQ(ctr.AutoName, c.detected ? c.name : "");
  }
}

TEST(DbObj, AddDependencyResolvesColumnsAndRecordsOnce) {
  CompareFixture f;
  auto* tbl = f.Add<TTblData>(f.target, f.target.TblList);
  tbl->Name = "T";
  auto col = std::make_unique<TFldData>(&f.target, tbl);
  col->Name = "C";
  TFldData* c = tbl->AddField(std::move(col));
  auto* prc = f.Add<TTestPrc>(f.target, f.target.PrcList, "P", "begin end");

  AddDependency(&f.target, prc, tbl, "C", 3, 7);
  ASSERT_EQ(prc->UseOfList.size(), 1u);
  EXPECT_EQ(prc->UseOfList[0]->Obj, c);
  EXPECT_EQ(prc->UseOfList[0]->Name, "C");
  EXPECT_EQ(prc->UseOfList[0]->ObjType, dboField);
  EXPECT_EQ(prc->UseOfList[0]->Column, 3);
  EXPECT_EQ(prc->UseOfList[0]->Line, 7);
  ASSERT_EQ(c->UseInList.size(), 1u);
  EXPECT_EQ(c->UseInList[0]->Obj, prc);
  EXPECT_EQ(c->UseInList[0]->ObjType, dboProcedure);
  EXPECT_TRUE(tbl->UseInList.empty());

  AddDependency(&f.target, prc, tbl, "NOPE", 0, 0);  // no such column: nothing recorded
  AddDependencyOnce(&f.target, prc, tbl, "", 0, 0);
  AddDependencyOnce(&f.target, prc, tbl, "", 0, 0);
  AddDependency(&f.target, prc, nullptr, "", 0, 0);
  EXPECT_EQ(prc->UseOfList.size(), 2u);
  EXPECT_EQ(tbl->UseInList.size(), 1u);

  // A table using a domain through one of its columns: the table and the column both use it.
  auto* dmn = f.Add<TDmnData>(f.target, f.target.DmnList);
  dmn->Name = "D";
  AddDependencyOnce(&f.target, tbl, dmn, "C", 0, 0);
  ASSERT_EQ(dmn->UseInList.size(), 2u);
  EXPECT_EQ(dmn->UseInList[0]->Obj, tbl);
  EXPECT_EQ(dmn->UseInList[1]->Obj, c);
}

// ---------------------------------------------------------------------------
// Dependency walks

TEST(DependencyWalks, CreateChainScriptsEachObjectOnceInDependencyOrder) {
  CompareFixture f;
  auto* t = f.Add<TFakeTbl>(f.master, f.master.TblList, "T");
  auto* v1 = f.Add<TFakeViw>(f.master, f.master.ViwList, "V1");
  auto* v2 = f.Add<TFakeViw>(f.master, f.master.ViwList, "V2");
  Use(v1, t);
  Use(v2, v1);
  Use(v2, t);
  for (TDbObj* o : {static_cast<TDbObj*>(t), static_cast<TDbObj*>(v1), static_cast<TDbObj*>(v2)})
    o->Exists = false;

  v2->CreateDependDef();
  v1->CreateDependDef();
  t->CreateDependDef();
  EXPECT_EQ(f.Trace(), (std::vector<std::string>{"1:T", "1:V1", "1:V2"}));
  EXPECT_TRUE(t->Exists && v1->Exists && v2->Exists);
  // The table's statement is followed by its blank separator line.
  EXPECT_EQ(f.exec.Statements[0]->Kind, skStatement);
  EXPECT_EQ(f.exec.Statements[1]->Kind, skComment);
  // A view's statement follows its own comment.
  EXPECT_EQ(f.exec.Statements[2]->Kind, skComment);
  EXPECT_EQ(f.exec.Statements[3]->ObjType, dboView);
}

TEST(DependencyWalks, MissingProcedureIsCreatedAsStubOrWhole) {
  for (TServerType st : {srvInterBase, srvPostgreSQL}) {
    CompareFixture f(st);
    auto* v = f.Add<TFakeViw>(f.master, f.master.ViwList, "V");
    auto* p = f.Add<TTestPrc>(f.master, f.master.PrcList, "P", "begin select 1; end");
    Use(v, p);
    v->Exists = false;
    p->Exists = false;
    v->CreateDependDef();
    ASSERT_EQ(f.exec.Count(), 3) << int(st);  // the stub, the view's comment, the view
    const TStatement* first = f.exec.GetStatement(0);
    EXPECT_EQ(first->ObjName, "P");
    EXPECT_EQ(first->Kind, skProcedure);
    if (st == srvInterBase) {
      EXPECT_EQ(first->Action, saCreateEmpty);
      EXPECT_EQ(first->Lines.front(), "CREATE PROCEDURE P AS");
      EXPECT_TRUE(p->NeedsRestore);
    } else {
      EXPECT_EQ(first->Action, saCreate);
      EXPECT_FALSE(p->NeedsRestore);
    }
    EXPECT_TRUE(p->Exists);
  }
  // A procedure the target already has is left to the procedure phases.
  CompareFixture f;
  auto* v = f.Add<TFakeViw>(f.master, f.master.ViwList, "V");
  auto* p = f.Add<TTestPrc>(f.master, f.master.PrcList, "P", "begin end");
  f.Add<TTestPrc>(f.target, f.target.PrcList, "P", "begin end");
  Use(v, p);
  v->Exists = false;
  p->Exists = false;
  v->CreateDependDef();
  EXPECT_EQ(f.Trace(), (std::vector<std::string>{"1:V"}));
  EXPECT_TRUE(v->UseOfList[0]->Pending);
}

TEST(DependencyWalks, TriggerCreationNeedsItsViewAndRecordsItsBody) {
  CompareFixture f;
  auto* v = f.Add<TFakeViw>(f.master, f.master.ViwList, "V");
  auto* tr = f.Add<TTestTrg>(f.master, f.master.TrgList, "TR", "begin end");
  auto* p = f.Add<TTestPrc>(f.master, f.master.PrcList, "P", "begin end");
  Use(tr, v);
  Use(p, tr);
  v->Exists = false;
  tr->Exists = false;
  tr->CreateDependDef();
  EXPECT_EQ(f.Trace(), (std::vector<std::string>{"1:V", "1:TR"}));
  EXPECT_EQ(f.exec.GetStatement(2)->Kind, skTrigger);  // after the view and its comment
  EXPECT_EQ(tr->CreatedBody, "begin end");
  EXPECT_FALSE(tr->UseInList[0]->Pending);
  EXPECT_TRUE(tr->Exists);
}

TEST(DependencyWalks, ProcedureDescriptionsFollowItsCreation) {
  CompareFixture f;
  auto* p = f.Add<TTestPrc>(f.master, f.master.PrcList, "P", "begin end");
  p->Description = "proc";
  auto in = std::make_unique<TFldData>(&f.master, p);
  in->Name = "A";
  in->Description = "input";
  p->Params.Add("A", std::move(in));
  auto out = std::make_unique<TFldData>(&f.master, p);
  out->Name = "R";
  out->Description = "output";
  p->Results.Add("R", std::move(out));
  auto quiet = std::make_unique<TFldData>(&f.master, p);
  quiet->Name = "B";
  p->Params.Add("B", std::move(quiet));
  p->Exists = false;
  p->CreateDependDef();
  EXPECT_EQ(f.Trace(), (std::vector<std::string>{"1:P", "11:P", "11:A", "11:R"}));
  EXPECT_EQ(f.exec.GetStatement(2)->ParentName, "P");

  f.exec.Clear();
  f.master.CompareObjects.Exclude(coDescription);
  p->Exists = false;
  p->CreateDependDef();
  EXPECT_EQ(f.Trace(), (std::vector<std::string>{"1:P"}));
}

// A table that shows, in its CREATE text, whether computed columns are left out.
class TPassTable : public TTblData {
 public:
  using TTblData::TTblData;
  std::string GetCreateScript() override {
    return "CREATE TABLE " + Name + (ComputedPass ? " without computed" : " with computed");
  }
};

TEST(DependencyWalks, ComputedColumnCreatesOtherTableWithoutItsComputedColumns) {
  for (bool usesComputed : {false, true}) {
    CompareFixture f;
    auto* t2 = f.Add<TPassTable>(f.master, f.master.TblList);
    t2->Name = "T2";
    TFldData* x = t2->AddField(std::make_unique<TFldData>(&f.master, t2));
    x->Name = "X";
    x->SetBody("1 + 1");
    auto* t1 = f.Add<TTblData>(f.master, f.master.TblList);
    t1->Name = "T1";
    TFldData* cc = t1->AddField(std::make_unique<TFldData>(&f.master, t1));
    cc->Name = "CC";
    cc->SetBody("(select count(*) from t2)");
    Use(cc, t2);
    if (usesComputed) Use(cc, x);
    t2->Exists = false;
    x->Exists = false;

    cc->CreateDependencies();
    ASSERT_GE(f.exec.Count(), 1);
    EXPECT_EQ(f.exec.GetStatement(0)->Lines.front(),
              usesComputed ? "CREATE TABLE T2 with computed" : "CREATE TABLE T2 without computed");
    EXPECT_FALSE(t2->ComputedPass);  // the switch is put back
    EXPECT_TRUE(t2->Exists);
  }
}

TEST(DependencyWalks, TableOwnColumnComesWithTheTable) {
  // A table whose expression uses one of its own columns: the base walk must not
  // add that column by ALTER TABLE ahead of the CREATE TABLE that holds it.
  CompareFixture f;
  auto* t = f.Add<TTblData>(f.master, f.master.TblList);
  t->Name = "T";
  TFldData* c = t->AddField(std::make_unique<TFldData>(&f.master, t));
  c->Name = "C";
  c->TableName = "T";
  c->DataType = dtInteger;
  Use(t, c);
  t->Exists = false;
  c->Exists = false;
  t->TDbObj::CreateDependencies();
  EXPECT_EQ(f.exec.Count(), 0);
  EXPECT_FALSE(t->UseOfList[0]->Pending);
  EXPECT_FALSE(c->Exists);
}

// Target: table T used by view V1 (used by view V2), trigger TR, procedure P
// and grant G.
struct DropGraph {
  CompareFixture f;
  TDbObj *t, *v1, *v2, *g;
  TTestTrg* tr;
  TTestPrc *p, *masterP;

  explicit DropGraph(TServerType st) : f(st) {
    t = f.Add<TFakeTbl>(f.target, f.target.TblList, "T");
    v1 = f.Add<TFakeViw>(f.target, f.target.ViwList, "V1");
    v2 = f.Add<TFakeViw>(f.target, f.target.ViwList, "V2");
    tr = f.Add<TTestTrg>(f.target, f.target.TrgList, "TR", "begin new.x = 1; end");
    p = f.Add<TTestPrc>(f.target, f.target.PrcList, "P", "begin select * from t; end");
    g = f.Add<TFakeGnt>(f.target, f.target.GntList, "G");
    masterP = f.Add<TTestPrc>(f.master, f.master.PrcList, "P", "begin select * from t; end");
    Use(v1, t);
    Use(tr, t);
    Use(p, t);
    Use(g, t);
    Use(v2, v1);
  }
};

TEST(DependencyWalks, DropEmptiesAndDropsUsersFirst) {
  DropGraph d(srvInterBase);
  d.t->DropDependDef();
  EXPECT_EQ(d.f.Trace(),
            (std::vector<std::string>{"3:V2", "3:V1", "4:TR", "4:P", "3:T"}));
  EXPECT_EQ(d.f.exec.GetStatement(2)->Kind, skTrigger);
  EXPECT_EQ(d.f.exec.GetStatement(3)->Kind, skProcedure);
  EXPECT_EQ(d.tr->Body, NormalizeText(d.tr->GetStubBody()));
  EXPECT_EQ(d.p->Body, NormalizeText(d.p->GetStubBody()));
  EXPECT_EQ(d.p->CompareText, d.p->GetCreateSQL());
  EXPECT_TRUE(d.masterP->NeedsRestore);
  EXPECT_FALSE(d.t->Exists || d.v1->Exists || d.v2->Exists || d.g->Exists);
  EXPECT_TRUE(d.tr->Exists && d.p->Exists);

  // Each statement for a dependent names the object whose removal forced it:
  // the innermost one (V2 goes for V1, which goes for T).
  std::vector<std::string> causes;
  for (const auto& st : d.f.exec.Statements) causes.push_back(st->CauseName);
  EXPECT_EQ(causes, (std::vector<std::string>{"V1", "T", "T", "T", ""}));

  // Each object goes once: a second walk appends nothing.
  d.t->DropDependDef();
  d.v1->DropDependDef();
  EXPECT_EQ(d.f.exec.Count(), 5);
}

TEST(DependencyWalks, PostgreSQLDropsTriggersInsteadOfEmptyingThem) {
  DropGraph d(srvPostgreSQL);
  d.t->DropDependDef();
  EXPECT_EQ(d.f.Trace(),
            (std::vector<std::string>{"3:V2", "3:V1", "3:TR", "4:P", "3:T"}));
  EXPECT_FALSE(d.tr->Exists);
}

TEST(DependencyWalks, DropSparesTablesTheMasterStillHas) {
  DropGraph d(srvInterBase);
  d.f.Add<TFakeTbl>(d.f.master, d.f.master.TblList, "T");
  d.t->DropDependDef();
  EXPECT_EQ(d.f.exec.Count(), 0);
  EXPECT_TRUE(d.t->Exists);

  d.t->Exists = false;  // an object that is gone appends nothing
  d.v1->Exists = false;
  d.v1->DropDependDef();
  EXPECT_EQ(d.f.exec.Count(), 0);
}

TEST(DependencyWalks, DroppedColumnEmptiesProcedureUsingIt) {
  CompareFixture f;
  auto* tbl = f.Add<TTblData>(f.target, f.target.TblList);
  tbl->Name = "T";
  auto col = std::make_unique<TFldData>(&f.target, tbl);
  col->Name = "C";
  col->DataType = dtInteger;
  TFldData* c = tbl->AddField(std::move(col));
  auto* p = f.Add<TTestPrc>(f.target, f.target.PrcList, "P", "begin select c from t; end");
  AddDependencyOnce(&f.target, p, tbl, "C", 0, 0);

  c->DropDependDef();
  std::vector<uint8_t> actions;
  for (const auto& st : f.exec.Statements)
    if (st->Kind != skComment) actions.push_back(st->Action);
  EXPECT_EQ(actions, (std::vector<uint8_t>{saEmptyBody, saDrop}));
  const TStatement* drop = f.exec.Statements.back().get();
  EXPECT_EQ(drop->ObjName, "C");
  EXPECT_EQ(drop->ParentName, "T");
  EXPECT_FALSE(c->Exists);
  EXPECT_TRUE(tbl->Exists);
}

// ---------------------------------------------------------------------------
// Description statements

struct DescCase {
  const char* label;
  TServerType server;
  std::function<TDbObj*(CompareFixture&)> make;
  std::function<void(TObjs&)> configure;
  std::string expected;
};

TDbObj* MakeTable(CompareFixture& f, const std::string& schema = "") {
  auto* t = f.Add<TTblData>(f.target, f.target.TblList);
  t->Name = "T";
  t->Schema = schema;
  t->Description = "It's";
  return t;
}

TFldData* MakeColumn(CompareFixture& f, TDbObj* owner) {
  auto col = std::make_unique<TFldData>(&f.target, owner);
  col->Name = "C";
  col->TableName = owner->Name;
  col->DataType = dtInteger;
  col->Description = "It's";
  TFldData* raw = col.get();
  if (auto* t = owner->As<TTblData>())
    t->AddField(std::move(col));
  else if (auto* v = owner->As<TViwData>())
    v->Columns.Add("C", std::move(col));
  else if (auto* p = owner->As<TPrcData>())
    p->Params.Add("C", std::move(col));
  return raw;
}

TDbObj* MakeView(CompareFixture& f) {
  auto* v = f.Add<TViwData>(f.target, f.target.ViwList);
  v->Name = "V";
  return v;
}

TDbObj* MakeProc(CompareFixture& f, bool isFunction) {
  auto* p = f.Add<TTestPrc>(f.target, f.target.PrcList, "P", "begin end");
  p->IsFunction = isFunction;
  p->Description = "It's";
  return p;
}

// An object carrying a description, listed under its key (schema set first).
template <class T, class... Args>
T* MakeDescribed(CompareFixture& f, TObjList& list, const std::string& schema,
                 const std::string& name, Args&&... args) {
  auto obj = std::make_unique<T>(&f.target, std::forward<Args>(args)...);
  obj->Name = name;
  obj->Schema = schema;
  obj->Description = "It's";
  T* raw = obj.get();
  std::unique_ptr<TDbObj> base(std::move(obj));
  if (!list.Add(raw->GetListKey(), base)) f.loose.push_back(std::move(base));
  return raw;
}

TDbObj* MakeKind(CompareFixture& f, TObjList& list, TDbObject kind, const std::string& name,
                 const std::string& schema = "") {
  return MakeDescribed<TFake>(f, list, schema, name, kind, name);
}

TDbObj* MakeTrigger(CompareFixture& f, TDbObj* table, const std::string& schema = "") {
  auto* tr = MakeDescribed<TTestTrg>(f, f.target.TrgList, schema, "TR", "TR", "begin end");
  tr->TableName = table->Name;
  tr->Table = table;
  return tr;
}

TEST(DbObj, DescriptionStatementsPerDialect) {
  auto ibMode = [](TUpdateDescriptionType m) {
    return [m](TObjs& o) { o.IBServerOptions->IBCompareOptions->UpdateDescriptionMode = m; };
  };
  auto ms2008 = [](int level) {
    return [level](TObjs& o) {
      o.MSSQLServerOptions->SQLServerVersion = st_MSSQL2008;
      o.MSSQLServerOptions->MSSQLDatabaseOptions->CompatibilityLevel = level;
    };
  };
  auto none = [](TObjs&) {};
  const std::vector<DescCase> cases = {
      {"ib systables table", srvInterBase, [](CompareFixture& f) { return MakeTable(f); }, none,
       "UPDATE RDB$RELATIONS SET RDB$DESCRIPTION = \r\n'It''s'\r\nWHERE RDB$RELATION_NAME = 'T'"},
      {"ib systables column", srvInterBase,
       [](CompareFixture& f) { return MakeColumn(f, MakeTable(f)); }, none,
       "UPDATE RDB$RELATION_FIELDS SET RDB$DESCRIPTION = \r\n'It''s'\r\n"
       "WHERE RDB$RELATION_NAME = 'T' AND RDB$FIELD_NAME = 'C'"},
      {"ib systables parameter", srvInterBase,
       [](CompareFixture& f) { return MakeColumn(f, MakeProc(f, false)); }, none,
       "UPDATE RDB$PROCEDURE_PARAMETERS SET RDB$DESCRIPTION = \r\n'It''s'\r\n"
       "WHERE RDB$PROCEDURE_NAME = 'P' AND RDB$PARAMETER_NAME = 'C'"},
      {"ib systables on Firebird 3 writes COMMENT ON", srvInterBase,
       [](CompareFixture& f) { return MakeTable(f); },
       [](TObjs& o) { o.IBServerOptions->SQLServerVersion = st_Firebird_30; },
       "COMMENT ON TABLE T IS\r\n'It''s'"},
      {"ib systables other kind", srvInterBase,
       [](CompareFixture& f) {
         auto* o = f.Add<TFake>(f.target, f.target.PkgList, dboPackage, "K");
         o->Description = "It's";
         return o;
       },
       none, "/* It's */"},
      {"ib describe view column", srvInterBase,
       [](CompareFixture& f) { return MakeColumn(f, MakeView(f)); }, ibMode(udDescribe),
       "DESCRIBE FIELD C VIEW V\r\n'It''s'"},
      {"ib describe procedure", srvInterBase, [](CompareFixture& f) { return MakeProc(f, true); },
       ibMode(udDescribe), "DESCRIBE PROCEDURE P\r\n'It''s'"},
      {"ib comment function", srvInterBase, [](CompareFixture& f) { return MakeProc(f, true); },
       ibMode(udComment), "COMMENT ON FUNCTION P IS\r\n'It''s'"},
      {"ib comment parameter", srvInterBase,
       [](CompareFixture& f) { return MakeColumn(f, MakeProc(f, false)); }, ibMode(udComment),
       "COMMENT ON PARAMETER P.C IS\r\n'It''s'"},
      {"interbase 2020 table", srvInterBase, [](CompareFixture& f) { return MakeTable(f); },
       [](TObjs& o) { o.IBServerOptions->SQLServerVersion = st_InterBase_2020; },
       "ALTER DESCRIPTION FOR TABLE T SET\r\n'It''s'"},
      {"interbase 2020 column", srvInterBase,
       [](CompareFixture& f) { return MakeColumn(f, MakeTable(f)); },
       [](TObjs& o) { o.IBServerOptions->SQLServerVersion = st_InterBase_2020; },
       "ALTER DESCRIPTION FOR COLUMN T.C SET\r\n'It''s'"},
      {"asa column", srvASA, [](CompareFixture& f) { return MakeColumn(f, MakeTable(f)); }, none,
       "COMMENT ON COLUMN T.C IS\r\n'It''s'"},
      {"asa procedure", srvASA, [](CompareFixture& f) { return MakeProc(f, false); }, none,
       "COMMENT ON PROCEDURE P IS\r\n'It''s'"},
      {"mysql table", srvMySQL, [](CompareFixture& f) { return MakeTable(f); }, none,
       "ALTER TABLE T COMMENT = 'It\\'s'"},
      {"oracle column with schema", srvOracle,
       [](CompareFixture& f) { return MakeColumn(f, MakeTable(f, "S")); }, none,
       "COMMENT ON COLUMN S.T.C IS\r\n'It''s'"},
      {"oracle table", srvOracle, [](CompareFixture& f) { return MakeTable(f, "S"); }, none,
       "COMMENT ON TABLE S.T IS\r\n'It''s'"},
      {"oracle other kind", srvOracle,
       [](CompareFixture& f) {
         auto* o = f.Add<TFake>(f.target, f.target.ExcList, dboException, "E");
         o->Description = "x";
         return o;
       },
       none, "/* COMMENT ON... */"},
      {"mssql 2000", srvMSSQL, [](CompareFixture& f) { return MakeTable(f, "DBO"); }, none, ""},
      {"mssql column without schema", srvMSSQL,
       [](CompareFixture& f) { return MakeColumn(f, MakeTable(f)); }, ms2008(0), ""},
      {"mssql column", srvMSSQL, [](CompareFixture& f) { return MakeColumn(f, MakeTable(f, "DBO")); },
       ms2008(0),
       "exec sys.sp_addextendedproperty @name=N'MS_Description', @value=N'It''s', "
       "@level0type=N'SCHEMA', @level0name=N'DBO', @level1type=N'TABLE', @level1name=N'T', "
       "@level2type=N'COLUMN', @level2name=N'C'"},
      {"mssql table, old compatibility", srvMSSQL,
       [](CompareFixture& f) { return MakeTable(f, "DBO"); }, ms2008(80),
       "exec dbo.sp_addextendedproperty @name=N'MS_Description', @value=N'It''s', "
       "@level0type=N'SCHEMA', @level0name=N'DBO', @level1type=N'TABLE', @level1name=N'T'"},
      {"postgresql column", srvPostgreSQL,
       [](CompareFixture& f) { return MakeColumn(f, MakeTable(f, "s")); }, none,
       "COMMENT ON COLUMN s.\"T\".\"C\" IS 'It''s'"},
      {"postgresql view column", srvPostgreSQL,
       [](CompareFixture& f) { return MakeColumn(f, MakeView(f)); }, none, ""},
      {"db2 table", srvDB2, [](CompareFixture& f) { return MakeTable(f); }, none, ""},
      {"ib describe external function", srvInterBase,
       [](CompareFixture& f) { return MakeKind(f, f.target.FncList, dboFunction, "F"); },
       ibMode(udDescribe), "DESCRIBE FUNCTION F\r\n'It''s'"},
      {"ib comment external function", srvInterBase,
       [](CompareFixture& f) { return MakeKind(f, f.target.FncList, dboFunction, "F"); },
       ibMode(udComment), "COMMENT ON EXTERNAL FUNCTION F IS\r\n'It''s'"},
      {"ib comment table column", srvInterBase,
       [](CompareFixture& f) { return MakeColumn(f, MakeTable(f)); }, ibMode(udComment),
       "COMMENT ON COLUMN T.C IS\r\n'It''s'"},
      {"ib systables generator", srvInterBase,
       [](CompareFixture& f) { return MakeKind(f, f.target.GnrList, dboGenerator, "G"); },
       none, "UPDATE RDB$GENERATORS SET RDB$DESCRIPTION = \r\n'It''s'\r\nWHERE RDB$GENERATOR_NAME = 'G'"},
      {"interbase 2020 collation", srvInterBase,
       [](CompareFixture& f) { return MakeKind(f, f.target.CltList, dboCollation, "K"); },
       [](TObjs& o) { o.IBServerOptions->SQLServerVersion = st_InterBase_2020; },
       "ALTER DESCRIPTION FOR COLLATION K IS\r\n'It''s'"},
      {"interbase 2020 function", srvInterBase, [](CompareFixture& f) { return MakeProc(f, true); },
       [](TObjs& o) {
         o.IBServerOptions->SQLServerVersion = st_InterBase_2020;
         o.IBServerOptions->IBCompareOptions->UpdateDescriptionMode = udComment;
       },
       "ALTER DESCRIPTION FOR PROCEDURE P SET\r\n'It''s'"},
      {"interbase 2020 external function", srvInterBase,
       [](CompareFixture& f) { return MakeKind(f, f.target.FncList, dboFunction, "F"); },
       [](TObjs& o) { o.IBServerOptions->SQLServerVersion = st_InterBase_2020; },
       "ALTER DESCRIPTION FOR EXTERNAL FUNCTION F SET\r\n'It''s'"},
      {"interbase 2020 parameter", srvInterBase,
       [](CompareFixture& f) { return MakeColumn(f, MakeProc(f, false)); },
       [](TObjs& o) { o.IBServerOptions->SQLServerVersion = st_InterBase_2020; },
       "ALTER DESCRIPTION FOR PARAMETER P.C SET\r\n'It''s'"},
      {"asa other kind", srvASA,
       [](CompareFixture& f) { return MakeKind(f, f.target.ExcList, dboException, "E"); },
       none, ""},
      // The column definition already starts with the column name: it is not written twice.
      {"mysql column", srvMySQL, [](CompareFixture& f) { return MakeColumn(f, MakeTable(f)); },
       none, "ALTER TABLE T MODIFY COLUMN C INTEGER COMMENT 'It\\'s'"},
      {"mysql view", srvMySQL, [](CompareFixture& f) { return MakeView(f); }, none, ""},
      {"oracle trigger on a table with schema", srvOracle,
       [](CompareFixture& f) { return MakeTrigger(f, MakeTable(f, "S")); }, none,
       "COMMENT ON TRIGGER S.T.TR IS\r\n'It''s'"},
      {"oracle domain", srvOracle,
       [](CompareFixture& f) { return MakeKind(f, f.target.DmnList, dboDomain, "D", "S"); },
       none, "COMMENT ON TYPE S.D IS\r\n'It''s'"},
      {"mssql trigger without schema", srvMSSQL,
       [](CompareFixture& f) { return MakeTrigger(f, MakeTable(f)); }, ms2008(0),
       "exec sys.sp_addextendedproperty @name=N'MS_Description', @value=N'It''s', "
       "@level0type=N'TRIGGER', @level0name=N'TR'"},
      {"mssql trigger with schema", srvMSSQL,
       [](CompareFixture& f) { return MakeTrigger(f, MakeTable(f, "DBO"), "DBO"); }, ms2008(100),
       "exec sys.sp_addextendedproperty @name=N'MS_Description', @value=N'It''s', "
       "@level0type=N'SCHEMA', @level0name=N'DBO', @level1type=N'TABLE', @level1name=N'T', "
       "@level2type=N'TRIGGER', @level2name=N'TR'"},
      {"mssql index of a view", srvMSSQL,
       [](CompareFixture& f) {
         MakeDescribed<TViwData>(f, f.target.ViwList, "DBO", "V");
         auto* idx = MakeDescribed<TIdxData>(f, f.target.IdxList, "DBO", "IX");
         idx->TableName = "V";
         return idx;
       },
       ms2008(0),
       "exec sys.sp_addextendedproperty @name=N'MS_Description', @value=N'It''s', "
       "@level0type=N'SCHEMA', @level0name=N'DBO', @level1type=N'VIEW', @level1name=N'V', "
       "@level2type=N'INDEX', @level2name=N'IX'"},
      {"mssql index of a table", srvMSSQL,
       [](CompareFixture& f) {
         auto* idx = MakeDescribed<TIdxData>(f, f.target.IdxList, "DBO", "IX");
         idx->TableName = "T";
         return idx;
       },
       ms2008(0),
       "exec sys.sp_addextendedproperty @name=N'MS_Description', @value=N'It''s', "
       "@level0type=N'SCHEMA', @level0name=N'DBO', @level1type=N'TABLE', @level1name=N'T', "
       "@level2type=N'INDEX', @level2name=N'IX'"},
      {"mssql function parameter", srvMSSQL,
       [](CompareFixture& f) {
         TDbObj* p = MakeProc(f, true);
         p->Schema = "DBO";
         return MakeColumn(f, p);
       },
       ms2008(0),
       "exec sys.sp_addextendedproperty @name=N'MS_Description', @value=N'It''s', "
       "@level0type=N'SCHEMA', @level0name=N'DBO', @level1type=N'FUNCTION', @level1name=N'P', "
       "@level2type=N'PARAMETER', @level2name=N'C'"},
      {"mssql xml schema collection", srvMSSQL,
       [](CompareFixture& f) {
         auto* d = MakeDescribed<TDmnData>(f, f.target.DmnList, "DBO", "X");
         d->TypeText = "XML SCHEMA COLLECTION";
         return d;
       },
       ms2008(0),
       "exec sys.sp_addextendedproperty @name=N'MS_Description', @value=N'It''s', "
       "@level0type=N'SCHEMA', @level0name=N'DBO', @level1type=N'XML SCHEMA COLLECTION', "
       "@level1name=N'X'"},
      {"postgresql constraint", srvPostgreSQL,
       [](CompareFixture& f) {
         auto* c = MakeDescribed<TCtrData>(f, f.target.CtrList, "s", "pk");
         c->TableName = "t";
         return c;
       },
       none, "COMMENT ON CONSTRAINT pk ON s.t IS 'It''s'"},
      {"postgresql trigger", srvPostgreSQL,
       [](CompareFixture& f) { return MakeTrigger(f, MakeTable(f, "s")); }, none,
       "COMMENT ON TRIGGER \"TR\" ON s.\"T\" IS 'It''s'"},
      {"postgresql sequence", srvPostgreSQL,
       [](CompareFixture& f) { return MakeKind(f, f.target.GnrList, dboGenerator, "g", "s"); },
       none, "COMMENT ON SEQUENCE s.g IS 'It''s'"},
  };
  for (const auto& c : cases) {
    CompareFixture f(c.server);
    c.configure(f.target);
    TDbObj* o = c.make(f);
    EXPECT_EQ(o->GetDescriptionSQL(), c.expected) << c.label;
  }

  // Nothing at all without descriptions among the compared families.
  CompareFixture f;
  TDbObj* t = MakeTable(f);
  f.target.CompareObjects.Exclude(coDescription);
  EXPECT_EQ(t->GetDescriptionSQL(), "");
}

}  // namespace
