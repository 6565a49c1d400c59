// Rules: MS SQL rule objects and PostgreSQL rewrite rules, texts and phases.
#include <gtest/gtest.h>

#include "kinds/kvtComp_Rul.h"
#include "kvtStatementsFixture.h"

namespace {

TEST(RuleText, ByDialect) {
  TObjs mssql;
  mssql.SetServerType(srvMSSQL);
  TRulData* r = AddNamed<TRulData>(mssql, "R_POS", [](TRulData& o) { o.Expression = "@v > 0"; });
  EXPECT_EQ(r->GetCreateSQL(), "CREATE RULE [R_POS] AS @v > 0");
  EXPECT_EQ(r->GetDropSQL(), "/* Drop: R_POS (TRulData) */\r\nDROP RULE R_POS");
  r->Expression.clear();
  r->StatementText = "CREATE RULE R_POS AS @v>0";
  EXPECT_EQ(r->GetCreateSQL(), "CREATE RULE R_POS AS @v>0");

  TObjs pg;
  pg.SetServerType(srvPostgreSQL);
  TRulData* p = AddNamed<TRulData>(pg, "no_update", [](TRulData& o) {
    o.RuleEvent = reUpdate;
    o.TableName = "orders";
    o.DoNothing = true;
  });
  EXPECT_EQ(p->GetCreateSQL(), "CREATE RULE no_update AS ON UPDATE TO orders DO NOTHING");
  EXPECT_EQ(p->GetDropSQL(), "DROP RULE IF EXISTS no_update ON orders");
  p->TableSchema = "sales";
  p->Schema = "public";  // the drop names the rule's own schema
  p->RuleEvent = reInsert;
  p->DoNothing = false;
  p->DoClause = "INSTEAD";
  p->Expression = "INSERT INTO log VALUES (NEW.id)";
  EXPECT_EQ(p->GetCreateSQL(),
            "CREATE RULE no_update AS ON INSERT TO sales.orders DO INSTEAD\r\n "
            "INSERT INTO log VALUES (NEW.id)");
  EXPECT_EQ(p->GetDropSQL(), "DROP RULE IF EXISTS no_update ON public.orders");
}

TEST(RulePhases, MSSQLRuleDifferingInCaseOnlyIsRecreated) {
  TTwoDbs db(srvMSSQL);
  AddNamed<TRulData>(db.Master, "R_POS", [](TRulData& o) { o.Expression = "@V > 0"; });
  AddNamed<TRulData>(db.Target, "R_POS", [](TRulData& o) { o.Expression = "@v > 0"; });
  AddNamed<TRulData>(db.Master, "R_NEW", [](TRulData& o) { o.Expression = "@v < 9"; });
  AddNamed<TRulData>(db.Target, "R_OLD", [](TRulData& o) { o.Expression = "@v < 5"; });
  db.PairObjects();
  db.RunPhase(7);
  db.RunPhase(27);  // the second pass finds nothing left to create
  db.RunPhase(38);
  EXPECT_EQ(StatementTexts(db.Exec),
            (TTexts{"/* Create Rule... */", "CREATE RULE [R_NEW] AS @v < 9", "",
                    "/* Alter Rule... */", "/* Drop: R_POS (TRulData) */\r\nDROP RULE R_POS",
                    "CREATE RULE [R_POS] AS @V > 0", "", "/* Drop Rule... */",
                    "/* Drop: R_OLD (TRulData) */\r\nDROP RULE R_OLD", ""}));
}

TEST(RulePhases, PostgreSQLRulesAreAlteredAndDroppedLate) {
  TTwoDbs db(srvPostgreSQL);
  AddNamed<TRulData>(db.Target, "r_old", [](TRulData& o) {
    o.RuleEvent = reDelete;
    o.TableName = "t";
    o.DoNothing = true;
  });
  db.PairObjects();
  db.RunPhase(7);
  EXPECT_EQ(db.Exec.Count(), 0);
  db.RunPhase(43);
  EXPECT_EQ(StatementTexts(db.Exec),
            (TTexts{"/* Drop Rule... */", "DROP RULE IF EXISTS r_old ON t", ""}));
}

}  // namespace
