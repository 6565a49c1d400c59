// Generators and sequences: setters, DDL per dialect and their phases.
#include <gtest/gtest.h>

#include "kvtKindsFixture.h"

namespace {

TEST(Generator, SettersTranslateSpecialValues) {
  TGnrData g(nullptr);
  EXPECT_EQ(g.Cache, "20");
  EXPECT_TRUE(g.NoMaxValue);
  ASSERT_TRUE(g.ValueType);
  EXPECT_EQ(g.ValueType->Owner, &g);

  g.SetMaxValue("1000");
  EXPECT_EQ(g.MaxValue, "1000");
  EXPECT_FALSE(g.NoMaxValue);
  g.SetMaxValue("999999999999999999999999999");
  EXPECT_EQ(g.MaxValue, "");
  EXPECT_TRUE(g.NoMaxValue);

  g.SetCache("0");
  EXPECT_EQ(g.Cache, "");
  EXPECT_TRUE(g.NoCache);
  g.SetCache("50");
  g.SetNoCache(true);
  EXPECT_EQ(g.Cache, "");
}

TEST(Generator, IdentityOptionsOfAColumnOnlyForDB2) {
  TObjs objs;
  objs.SetServerType(srvDB2);
  TTblData* t = AddTable(objs, "T", {{"ID"}});
  TGnrData& g = *t->Fields[0]->GetIdentityGenerator();
  EXPECT_FALSE(g.ValueType);  // a column's options have no value type of their own
  g.StartWith = "100";
  g.IncrementBy = "10";
  EXPECT_EQ(g.GetIdentityOptions(), "(START WITH 100, INCREMENT BY 10, CACHE 20)");
  objs.SetServerType(srvInterBase);
  EXPECT_EQ(g.GetIdentityOptions(), "");
}

struct TGnrTextCase {
  TServerType Server;
  int IBVersion;  // InterBase/Firebird server version, -1 for the default
  const char* Create;
  const char* Drop;
};

const TGnrTextCase kGnrTexts[] = {
    {srvInterBase, -1, "CREATE GENERATOR G", "DROP GENERATOR G"},
    {srvInterBase, st_InterBase_75, "CREATE GENERATOR G", "DROP GENERATOR G"},
    {srvInterBase, st_Firebird_30, "CREATE GENERATOR G START WITH 10 INCREMENT BY 5", "DROP GENERATOR G"},
    {srvInterBase, st_InterBase_6x, "CREATE GENERATOR G",
     "/* Drop generator: G */\r\nDELETE FROM RDB$GENERATORS WHERE RDB$GENERATOR_NAME = 'G'"},
    {srvOracle, -1,
     "CREATE SEQUENCE S.G\r\nminvalue 0\r\nmaxvalue 500\r\nincrement by 5\r\nnocache\r\ncycle",
     "DROP SEQUENCE S.G"},
    {srvMSSQL, -1,
     "CREATE SEQUENCE S.G\r\n    AS BIGINT\r\n    START WITH 10\r\n    INCREMENT BY 5\r\n"
     "    MINVALUE 0\r\n    MAXVALUE 500\r\n    CYCLE\r\n    NOCACHE",
     ""},
    {srvPostgreSQL, -1,
     "CREATE SEQUENCE s.g INCREMENT BY 5 MINVALUE 0 MAXVALUE 500 START WITH 10 CYCLE OWNED BY t.id",
     "DROP SEQUENCE s.g"},
    {srvMySQL, -1, "CREATE SEQUENCE G start with 10 minvalue 0 maxvalue 500 increment by 5 nocache cycle",
     "DROP SEQUENCE G"},
};

class GeneratorText : public testing::TestWithParam<TGnrTextCase> {};

TEST_P(GeneratorText, CreateAndDrop) {
  const TGnrTextCase& c = GetParam();
  TObjs objs;
  objs.SetServerType(c.Server);
  if (c.IBVersion >= 0)
    objs.IBServerOptions->SQLServerVersion = static_cast<TIBSQLServerVersionType>(c.IBVersion);
  const bool pg = c.Server == srvPostgreSQL;
  TGnrData* g = AddGenerator(objs, pg ? "g" : "G");
  g->Schema = pg ? "s" : "S";
  g->StartWith = "10";
  g->IncrementBy = "5";
  g->MinValue = "0";
  g->SetMaxValue("500");
  g->SetNoCache(true);
  g->Cycle = true;
  g->OwnedBy = "t.id";
  g->ValueType->DataType = dtBigInt;
  EXPECT_EQ(g->GetCreateSQL(), c.Create);
  EXPECT_EQ(g->GetDropSQL(), c.Drop);
}

INSTANTIATE_TEST_SUITE_P(AllDialects, GeneratorText, testing::ValuesIn(kGnrTexts));

TEST(GeneratorText, OracleDefaultsAreLeftOut) {
  TObjs objs;
  objs.SetServerType(srvOracle);
  TGnrData* g = AddGenerator(objs, "G");
  g->MinValue = "1";
  g->IncrementBy = "1";
  g->Order = true;
  EXPECT_EQ(g->GetCreateSQL(), "CREATE SEQUENCE G\r\ncache 20\r\norder");
}

TEST(GeneratorPhases, CreateNewGeneratorsWithHeader) {
  TTwoDbs db(srvInterBase);
  AddGenerator(db.Master, "GEN_NEW");
  AddGenerator(db.Master, "GEN_BOTH");
  AddGenerator(db.Target, "GEN_BOTH");
  db.PairObjects();
  CreateGenerators(db.Ctx);
  EXPECT_EQ(db.Script(), "/* Create generator... */\nCREATE GENERATOR GEN_NEW;\n\n");
  EXPECT_EQ(db.Exec.GetStatement(1)->ObjType, dboGenerator);
  EXPECT_EQ(db.Exec.GetStatement(1)->Action, saCreate);
  EXPECT_FALSE(db.Master.FindGenerator("GEN_NEW")->GetExists());
}

TEST(GeneratorPhases, Firebird3RestartsAChangedStartAndAltersTheIncrement) {
  TTwoDbs db(srvInterBase);
  for (TObjs* objs : {&db.Master, &db.Target})
    objs->IBServerOptions->SQLServerVersion = st_Firebird_30;
  TGnrData* m = AddGenerator(db.Master, "G");
  TGnrData* t = AddGenerator(db.Target, "G");
  TGnrData* same = AddGenerator(db.Master, "H");
  AddGenerator(db.Target, "H")->StartWith = "0";  // written out, the server's default
  same->IncrementBy = "1";
  m->StartWith = "100";
  m->IncrementBy = "2";
  t->StartWith = "5";
  db.PairObjects();
  AlterGenerators(db.Ctx);
  EXPECT_EQ(db.Script(),
            "/* Alter generator... */\nALTER SEQUENCE G RESTART WITH 100;\n\n"
            "ALTER SEQUENCE G INCREMENT BY 2;\n\n");
  // Restarting loses the generator's current value; changing the step does not.
  EXPECT_FALSE(db.Exec.GetStatement(1)->DataRisk.empty());
  EXPECT_TRUE(db.Exec.GetStatement(2)->DataRisk.empty());
}

TEST(GeneratorPhases, NoHeaderForMSSQL) {
  TTwoDbs db(srvMSSQL);
  AddGenerator(db.Master, "G");
  db.PairObjects();
  CreateGenerators(db.Ctx);
  EXPECT_EQ(db.Script(), "CREATE SEQUENCE G\n    CACHE 20;\n");
}

TEST(GeneratorPhases, AlterOnlyOracleAndPostgreSQLSequences) {
  TTwoDbs ib(srvInterBase);
  TGnrData* m = AddGenerator(ib.Master, "G");
  AddGenerator(ib.Target, "G");
  m->StartWith = "100";
  m->IncrementBy = "2";
  ib.PairObjects();
  AlterGenerators(ib.Ctx);
  EXPECT_EQ(ib.Exec.Count(), 0);

  TTwoDbs ora(srvOracle);
  TGnrData* om = AddGenerator(ora.Master, "S");
  TGnrData* ot = AddGenerator(ora.Target, "S");
  om->StartWith = "100";  // a start value is never altered
  om->SetNoCache(true);
  ora.PairObjects();
  AlterGenerators(ora.Ctx);
  EXPECT_EQ(ora.Script(), "ALTER SEQUENCE S nocache;\n");

  ora.Exec.Clear();
  om->SetCache("40");
  om->IncrementBy = "2";
  om->SetMaxValue("1000");
  om->Cycle = true;
  ot->Order = true;
  AlterGenerators(ora.Ctx);
  EXPECT_EQ(ora.Script(),
            "ALTER SEQUENCE S increment by 2;\n\n"
            "ALTER SEQUENCE S maxvalue 1000;\n\n"
            "ALTER SEQUENCE S cycle;\n\n"
            "ALTER SEQUENCE S noorder;\n\n"
            "ALTER SEQUENCE S cache 40;\n");
}

// MySQL alters a sequence in one statement with every option; a new start
// restarts it in that statement, which loses its current value. Options
// spelled out as the server's defaults change nothing.
TEST(GeneratorPhases, MySQLAltersEveryOptionAtOnceAndRestartsANewStart) {
  TTwoDbs db(srvMySQL);
  TGnrData* m = AddGenerator(db.Master, "G");
  AddGenerator(db.Target, "G");
  m->StartWith = "1000";
  m->MinValue = "1000";
  m->IncrementBy = "10";
  TGnrData* h = AddGenerator(db.Master, "H");
  AddGenerator(db.Target, "H")->SetCache("5");
  h->SetCache("5");
  h->StartWith = "1";
  h->MinValue = "1";
  h->SetMaxValue("9223372036854775806");
  TGnrData* k = AddGenerator(db.Master, "K");
  AddGenerator(db.Target, "K");
  k->Cycle = true;
  db.PairObjects();
  AlterGenerators(db.Ctx);
  EXPECT_EQ(db.Script(),
            "ALTER SEQUENCE G start with 1000 minvalue 1000 maxvalue 9223372036854775806 increment by 10 "
            "cache 20 nocycle restart;\n\n"
            "ALTER SEQUENCE K start with 1 minvalue 1 maxvalue 9223372036854775806 increment by 1 "
            "cache 20 cycle;\n");
  EXPECT_FALSE(db.Exec.GetStatement(0)->DataRisk.empty());
  EXPECT_TRUE(db.Exec.GetStatement(1)->DataRisk.empty());
}

TEST(GeneratorPhases, DropVanishedGenerators) {
  struct {
    TServerType St;
    TIBSQLServerVersionType Version;
    const char* Expected;
  } cases[] = {
      {srvInterBase, st_Firebird_25, "/* Drop generator... */\nDROP GENERATOR OLD_GEN;\n\n"},
      {srvInterBase, st_InterBase_6x,
       "/* Drop generator... */\n/* Drop generator: OLD_GEN */\n"
       "DELETE FROM RDB$GENERATORS WHERE RDB$GENERATOR_NAME = 'OLD_GEN';\n\n"},
      {srvOracle, st_Firebird_25, "/* Drop sequence... */\nDROP SEQUENCE OLD_GEN;\n\n"},
      {srvMSSQL, st_Firebird_25, ""},
  };
  for (const auto& c : cases) {
    TTwoDbs db(c.St);
    db.Target.IBServerOptions->SQLServerVersion = c.Version;
    TGnrData* old = AddGenerator(db.Target, "OLD_GEN");
    AddGenerator(db.Target, "KEEP");
    AddGenerator(db.Master, "KEEP");  // same name, not paired: never dropped
    DropGenerators(db.Ctx);
    EXPECT_EQ(db.Script(), c.Expected) << int(c.St);
    EXPECT_FALSE(old->GetExists());
    EXPECT_TRUE(db.Target.FindGenerator("KEEP")->GetExists());
  }
}

}  // namespace
