// Default objects and collations: texts and phases.
#include <gtest/gtest.h>

#include "kinds/kvtComp_Def.h"
#include "kvtStatementsFixture.h"

namespace {

TEST(DefaultText, BracketsForMSSQLQuotingElsewhereStatementTextWhenEmpty) {
  TObjs mssql;
  mssql.SetServerType(srvMSSQL);
  TDefData* d = AddNamed<TDefData>(mssql, "ZERO DEF", [](TDefData& o) { o.Expression = "0"; });
  EXPECT_EQ(d->GetCreateSQL(), "CREATE DEFAULT [ZERO DEF] AS 0");
  EXPECT_EQ(d->GetDropSQL(), "/* Drop: ZERO DEF (TDefData) */\r\nDROP DEFAULT [ZERO DEF]");
  d->Expression.clear();
  d->StatementText = "create default [ZERO DEF] as (0)";
  EXPECT_EQ(d->GetCreateSQL(), "create default [ZERO DEF] as (0)");

  TObjs pg;
  pg.SetServerType(srvPostgreSQL);
  TDefData* p = AddNamed<TDefData>(pg, "Zero", [](TDefData& o) { o.Expression = "0"; });
  EXPECT_EQ(p->GetCreateSQL(), "CREATE DEFAULT \"Zero\" AS 0");
}

TEST(CollationText, EveryPartOnItsOwnLine) {
  TObjs objs;
  objs.SetServerType(srvInterBase);
  TCltData* c = AddNamed<TCltData>(objs, "UNICODE_NOCASE", [](TCltData& o) {
    o.CharacterSet = "UTF8";
    o.FromCollation = "UNICODE";
    o.ExternalName = "IGNORED";  // the base collation wins
    o.CaseSensitive = false;
    o.Attributes = "NUMERIC-SORT=1";
  });
  EXPECT_EQ(c->GetCreateSQL(),
            "CREATE COLLATION UNICODE_NOCASE\r\nFOR UTF8\r\nFROM UNICODE\r\nNO PAD\r\n"
            "CASE INSENSITIVE\r\nACCENT SENSITIVE\r\n'NUMERIC-SORT=1'\r\n");
  c->FromCollation.clear();
  c->PadSpace = true;
  c->AccentSensitive = false;
  c->Attributes.clear();
  EXPECT_EQ(c->GetCreateSQL(),
            "CREATE COLLATION UNICODE_NOCASE\r\nFOR UTF8\r\nFROM EXTERNAL('IGNORED')\r\nPAD SPACE\r\n"
            "CASE INSENSITIVE\r\nACCENT INSENSITIVE\r\n");
  EXPECT_EQ(c->GetDropSQL(),
            "/* Drop: UNICODE_NOCASE (TCltData) */\r\nDROP COLLATION UNICODE_NOCASE");
  objs.SetServerType(srvMySQL);
  EXPECT_EQ(c->GetCreateSQL(), "");
}

TCltData* AddCollation(TObjs& objs, const std::string& name, bool caseSensitive) {
  return AddNamed<TCltData>(objs, name, [&](TCltData& o) {
    o.CharacterSet = "UTF8";
    o.CaseSensitive = caseSensitive;
  });
}

TEST(CollationPhases, ChangedOnesAreRecreatedUnchangedOnesLeftAlone) {
  TTwoDbs db(srvInterBase);
  db.Ctx.CompareObjects = TCmpObjSetType::Empty();  // collations are always compared
  AddCollation(db.Master, "C_CHANGED", false);
  AddCollation(db.Target, "C_CHANGED", true);
  AddCollation(db.Master, "C_SAME", true);
  AddCollation(db.Target, "C_SAME", true);
  AddCollation(db.Master, "C_NEW", true);
  AddCollation(db.Target, "C_OLD", true);
  db.PairObjects();
  db.RunPhase(4);
  db.RunPhase(46);
  const TTexts all = StatementTexts(db.Exec);
  ASSERT_EQ(all.size(), 10u) << testing::PrintToString(all);
  EXPECT_EQ(all[0], "/* Create Collation... */");
  EXPECT_EQ(all[1].rfind("CREATE COLLATION C_NEW\r\n", 0), 0u);
  EXPECT_EQ(all[3], "/* Alter Collation... */");
  EXPECT_EQ(all[4], "/* Drop: C_CHANGED (TCltData) */\r\nDROP COLLATION C_CHANGED");
  EXPECT_NE(all[5].find("CASE INSENSITIVE"), std::string::npos);
  EXPECT_EQ(all[7], "/* Drop Collation... */");
  EXPECT_EQ(all[8], "/* Drop: C_OLD (TCltData) */\r\nDROP COLLATION C_OLD");
  for (const std::string& s : all) EXPECT_EQ(s.find("C_SAME"), std::string::npos);
}

TEST(DefaultPhases, OnlyForMSSQLTargets) {
  for (TServerType st : {srvMSSQL, srvInterBase}) {
    SCOPED_TRACE(st);
    TTwoDbs db(st);
    AddNamed<TDefData>(db.Master, "D_NEW", [](TDefData& o) { o.Expression = "1"; });
    AddNamed<TDefData>(db.Master, "D_CHANGED", [](TDefData& o) { o.Expression = "(1)"; });
    AddNamed<TDefData>(db.Target, "D_CHANGED", [](TDefData& o) { o.Expression = "1"; });
    AddNamed<TDefData>(db.Target, "D_OLD", [](TDefData& o) { o.Expression = "1"; });
    db.PairObjects();
    db.RunPhase(7);
    db.RunPhase(38);
    if (st != srvMSSQL) {
      EXPECT_EQ(db.Exec.Count(), 0);
      continue;
    }
    EXPECT_EQ(SqlTexts(db.Exec),
              (TTexts{"CREATE DEFAULT [D_NEW] AS 1",
                      "/* Drop: D_CHANGED (TDefData) */\r\nDROP DEFAULT D_CHANGED",
                      "CREATE DEFAULT [D_CHANGED] AS (1)",
                      "/* Drop: D_OLD (TDefData) */\r\nDROP DEFAULT D_OLD"}));
  }
}

}  // namespace
