// Views: texts per dialect and the walks that drop and create them along
// their dependency chains.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "kinds/kvtComp_Rol.h"
#include "kvtBodyKindsFixture.h"

namespace {

using Steps_t = std::vector<std::string>;

// ---------------------------------------------------------------------------
// Texts

struct TViewCase {
  const char* Label;
  TServerType Server;
  std::function<void(TViwData&)> Setup;
  const char* Create;
};

TEST(ViewText, CreatePerDialect) {
  auto columns = [](TViwData& v) {
    v.Columns.Add("ID", nullptr);
    v.Columns.Add("NAME", nullptr);
  };
  const std::vector<TViewCase> cases = {
      {"firebird without columns", srvInterBase, [](TViwData&) {}, "CREATE VIEW V\r\n AS \r\nSELECT 1 FROM T"},
      {"firebird with columns", srvInterBase, columns, "CREATE VIEW V(\r\nID,\r\nNAME)\r\n AS \r\nSELECT 1 FROM T"},
      {"mysql options", srvMySQL,
       [](TViwData& v) {
         v.Algorithm = "MERGE";
         v.SqlSecurity = "INVOKER";
       },
       "CREATE ALGORITHM=MERGE SQL SECURITY INVOKER VIEW V\r\n AS \r\nSELECT 1 FROM T"},
      {"ms sql schemabinding and metadata", srvMSSQL,
       [](TViwData& v) {
         v.Schema = "dbo";
         v.SchemaBinding = true;
         v.ViewMetadata = true;
       },
       "CREATE VIEW dbo.V\r\n  WITH SCHEMABINDING, VIEW_METADATA\r\n AS \r\nSELECT 1 FROM T"},
      {"oracle object view", srvOracle,
       [](TViwData& v) {
         v.OfType = "T_EMP";
         v.ObjectIdColumns = {"ID", "NAME"};
       },
       "CREATE OR REPLACE VIEW V OF T_EMP\r\n   WITH OBJECT IDENTIFIER(ID, NAME)\r\n   AS \r\nSELECT 1 FROM T"},
  };
  for (const TViewCase& c : cases) {
    TObjs objs;
    objs.SetServerType(c.Server);
    TViwData* v = AddView(objs, "V", "SELECT 1 FROM T");
    c.Setup(*v);
    EXPECT_EQ(v->GetCreateSQL(), c.Create) << c.Label;
  }
  TObjs ms;
  ms.SetServerType(srvMSSQL);
  TViwData* v = AddView(ms, "V", "");
  v->Schema = "dbo";
  v->StatementText = "CREATE VIEW dbo.V AS SELECT 1";
  EXPECT_EQ(v->GetCreateSQL(), "CREATE VIEW dbo.V AS SELECT 1");  // kept as parsed
  EXPECT_EQ(v->GetDropSQL(), "DROP VIEW dbo.V");
}

TEST(ViewText, MasterTextsAreCachedInTheTargetDialect) {
  // Before the comparison switches the master to the target's dialect, the
  // compare texts of both sides must already be comparable.
  TTwoDbs db(srvMySQL);
  db.Master.SetServerType(srvInterBase);
  db.Master.UsePartnerServer = false;
  TViwData* v = AddView(db.Master, "V", "SELECT 1 FROM T");
  v->Algorithm = "MERGE";
  db.Master.CacheTexts();
  EXPECT_EQ(v->CompareText, "CREATE ALGORITHM=MERGE VIEW V\r\n AS \r\nSELECT 1 FROM T");
  EXPECT_FALSE(db.Master.UsePartnerServer);
  EXPECT_EQ(v->GetCreateSQL(), "CREATE VIEW V\r\n AS \r\nSELECT 1 FROM T");
}

// ---------------------------------------------------------------------------
// Phases

struct ViewPhases : ::testing::Test {
  TTwoDbs Db{srvInterBase};

  // T(C) with V1 over T and V2 over V1, on both sides.
  TTblData* Chain(TObjs& objs, uint8_t type, const std::string& v2Body = "SELECT C FROM V1") {
    TTblData* t = AddTable(objs, "T", {{"C", type}});
    TViwData* v1 = AddView(objs, "V1", "SELECT C FROM T");
    TViwData* v2 = AddView(objs, "V2", v2Body);
    Uses(v1, t->FindField("C"));
    Uses(v2, v1);
    return t;
  }
};

TEST_F(ViewPhases, RetypedColumnRebuildsTheChainInOrder) {
  Chain(Db.Master, dtBigInt);
  TTblData* t = Chain(Db.Target, dtInteger);
  Prepare(Db);
  RunBodyPhases(Db, 0, 20);
  RetypeColumn(Db, t, "C", "BIGINT");
  RunBodyPhases(Db, 21);
  EXPECT_EQ(Steps(Db.Exec), (Steps_t{"drop V2", "drop V1", "alter T.C", "create V1", "create V2"}));
}

TEST_F(ViewPhases, OuterViewRebuildsAChangedInnerViewFirst) {
  // A over B, both changed; A comes first in the script, so creating the new
  // A drops and creates B on the way. Each is created once, inner first.
  auto build = [](TObjs& objs, const std::string& a, const std::string& b) {
    TViwData* outer = AddView(objs, "A", a);
    Uses(outer, AddView(objs, "B", b));
  };
  build(Db.Master, "SELECT C FROM B WHERE C > 0", "SELECT C FROM T WHERE C < 9");
  build(Db.Target, "SELECT C FROM B", "SELECT C FROM T");
  Prepare(Db);
  RunBodyPhases(Db);
  EXPECT_EQ(Steps(Db.Exec), (Steps_t{"drop A", "drop B", "create B", "create A"}));
  const std::string script = Db.Script();
  EXPECT_NE(script.find("/* Alter view (drop/create): B for view: A */"), std::string::npos) << script;
}

TEST_F(ViewPhases, NewViewsAreCreatedInTheScriptsOrder) {
  // Firebird numbers views as they are created and extracts them so: a
  // schema built from an empty one lists them as the master script does.
  AddView(Db.Master, "V_ZONES", "SELECT 1 FROM T");
  AddView(Db.Master, "V_AREAS", "SELECT 2 FROM T");
  TViwData* mid = AddView(Db.Master, "V_MIDDLE", "SELECT 3 FROM T");
  Uses(AddView(Db.Master, "V_BOTTOM", "SELECT 4 FROM V_MIDDLE"), mid);
  Prepare(Db);
  RunBodyPhases(Db);
  EXPECT_EQ(Steps(Db.Exec),
            (Steps_t{"create V_ZONES", "create V_AREAS", "create V_MIDDLE", "create V_BOTTOM"}));
}

TEST_F(ViewPhases, UnchangedViewAboveAChangedOneIsCreatedAgainOnce) {
  Chain(Db.Master, dtInteger);
  Db.Master.FindView("V1")->SetBody("SELECT C FROM T WHERE C < 9");
  Chain(Db.Target, dtInteger);
  Prepare(Db);
  RunBodyPhases(Db);
  // V2 goes with V1 and comes back in the second pass of CreateViews.
  EXPECT_EQ(Steps(Db.Exec), (Steps_t{"drop V2", "drop V1", "create V1", "create V2"}));
  const std::string script = Db.Script();
  EXPECT_NE(script.find("/* Drop altered view: V1 */"), std::string::npos) << script;
}

TEST_F(ViewPhases, ViewUsedByAProcedure) {
  auto build = [](TObjs& objs, const std::string& viewBody) {
    TTblData* t = AddTable(objs, "T", {{"C"}});
    TViwData* v = AddView(objs, "V", viewBody);
    Uses(v, t);
    Uses(AddProcedure(objs, "P", "BEGIN FOR SELECT C FROM V INTO :X DO SUSPEND; END", {}, {{"X"}}), v);
  };
  build(Db.Master, "SELECT C FROM T WHERE C > 0");
  build(Db.Target, "SELECT C FROM T");
  Prepare(Db);
  RunBodyPhases(Db);
  EXPECT_EQ(Steps(Db.Exec), (Steps_t{"empty P", "drop V", "create V", "alter P"}));
}

TEST_F(ViewPhases, SelectableProcedureGetsItsNewResultsBeforeTheViewOverIt) {
  auto build = [](TObjs& objs, const std::vector<TParamSpec>& results, const std::string& viewBody) {
    TPrcData* p = AddProcedure(objs, "TOTALS", "BEGIN SUSPEND; END", {}, results);
    Uses(AddView(objs, "REPORT", viewBody), p);
  };
  build(Db.Master, {{"REGION"}, {"TOTAL"}, {"CNT"}}, "SELECT REGION, TOTAL, CNT FROM TOTALS");
  build(Db.Target, {{"REGION"}, {"TOTAL"}}, "SELECT REGION, TOTAL FROM TOTALS");
  Prepare(Db);
  RunBodyPhases(Db);
  EXPECT_EQ(Steps(Db.Exec), (Steps_t{"drop REPORT", "alter TOTALS", "create REPORT"}));
}

TEST_F(ViewPhases, RecreatedViewBringsItsTriggerBackAsStubThenRestoresIt) {
  auto build = [](TObjs& objs, uint8_t type) {
    TTblData* t = AddTable(objs, "T", {{"C", type}});
    Uses(AddView(objs, "V", "SELECT C FROM T"), t);
    AddTrigger(objs, "TR", "V", "AS BEGIN INSERT INTO T VALUES (NEW.C); END");
    return t;
  };
  build(Db.Master, dtBigInt);
  TTblData* t = build(Db.Target, dtInteger);
  Prepare(Db);
  RetypeColumn(Db, t, "C", "BIGINT");
  RunBodyPhases(Db);
  EXPECT_EQ(Steps(Db.Exec), (Steps_t{"drop TR", "drop V", "alter T.C", "create V", "stub TR", "alter TR"}));
}

TEST_F(ViewPhases, WithCheckOptionInAnotherCaseIsNoChange) {
  AddView(Db.Master, "V", "SELECT 1 FROM T WITH CHECK OPTION");
  AddView(Db.Target, "V", "SELECT 1 FROM T with check option");
  AddView(Db.Master, "W", "SELECT 1\r\n  FROM T -- all rows");
  AddView(Db.Target, "W", "SELECT 1 FROM T");
  Prepare(Db);
  RunBodyPhases(Db);
  EXPECT_EQ(Steps(Db.Exec), Steps_t{});
}

TEST_F(ViewPhases, VanishedViewEmptiesItsProcedureAndTakesItsGrants) {
  AddTable(Db.Target, "T", {{"C"}});
  TViwData* v = AddView(Db.Target, "V", "SELECT C FROM T");
  Uses(v, Db.Target.FindTable("T"));
  Uses(AddProcedure(Db.Target, "P", "BEGIN FOR SELECT C FROM V INTO :X DO SUSPEND; END", {}, {{"X"}}), v);
  AddProcedure(Db.Master, "P", "BEGIN X = 1; SUSPEND; END", {}, {{"X"}});
  // A grant on that name, which both sides have, goes with the view; the
  // grant phases write it again for whatever the master has under the name.
  TGntData* grant = nullptr;
  for (TObjs* objs : {&Db.Master, &Db.Target}) {
    auto g = std::make_unique<TGntData>(objs);
    g->ObjectName = "V";
    g->Grantee = "PUBLIC";
    if (objs == &Db.Master) grant = g.get();
    objs->AddObj(g, true);
  }
  Prepare(Db);
  ASSERT_TRUE(grant->Pair && grant->Exists);
  RunBodyPhases(Db);
  EXPECT_EQ(Steps(Db.Exec), (Steps_t{"empty P", "drop V", "alter P"}));
  EXPECT_FALSE(grant->Exists);
}

TEST_F(ViewPhases, DescriptionOnlyChange) {
  Db.Master.CompareObjects.Include(coDescription);
  AddView(Db.Master, "V", "SELECT 1 FROM T")->SetDescription("new");
  AddView(Db.Target, "V", "SELECT 1 FROM T")->SetDescription("old");
  Prepare(Db);
  RunBodyPhases(Db);
  EXPECT_EQ(Steps(Db.Exec), (Steps_t{"describe V"}));
  EXPECT_EQ(Db.Exec.Statements.back()->Kind, skComment);  // closed by a blank comment
}

TEST_F(ViewPhases, ViewsThatUseEachOtherEndWithoutLoop) {
  TViwData* a = AddView(Db.Master, "A", "SELECT * FROM B");
  TViwData* b = AddView(Db.Master, "B", "SELECT * FROM A");
  Uses(a, b);
  Uses(b, a);
  TViwData* ta = AddView(Db.Target, "X", "SELECT * FROM Y");
  TViwData* tb = AddView(Db.Target, "Y", "SELECT * FROM X");
  Uses(ta, tb);
  Uses(tb, ta);
  Prepare(Db);
  RunBodyPhases(Db);
  Steps_t steps = Steps(Db.Exec);
  std::sort(steps.begin(), steps.end());
  EXPECT_EQ(steps, (Steps_t{"create A", "create B", "drop X", "drop Y"}));
}

}  // namespace
