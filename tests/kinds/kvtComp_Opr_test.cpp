// PostgreSQL operators and operator classes: texts and their phases.
#include <gtest/gtest.h>

#include "kinds/kvtComp_Opr.h"
#include "kvtStatementsFixture.h"

namespace {

TOprData* AddOperator(TObjs& objs, const std::string& symbol, const std::string& left,
                      const std::string& right) {
  return AddNamed<TOprData>(objs, symbol, [&](TOprData& o) {
    o.Schema = "public";
    o.ProcedureName = "int_eq";
    o.LeftArg = left;
    o.RightArg = right;
  });
}

TEST(OperatorText, KeyAndDropNameTheArgumentsOrNone) {
  TObjs objs;
  objs.SetServerType(srvPostgreSQL);
  TOprData* unary = AddOperator(objs, "!", "", "integer");
  EXPECT_EQ(unary->GetListKey(), "public.! (NONE, integer)");
  EXPECT_EQ(unary->GetDisplayName(), "public.! (NONE, integer)");
  EXPECT_EQ(unary->GetDropSQL(), "DROP OPERATOR public.!(NONE, integer)");
  TOprData* postfix = AddOperator(objs, "!", "integer", "");
  EXPECT_EQ(postfix->GetDropSQL(), "DROP OPERATOR public.!(integer, NONE)");
  // Overloads are separate objects.
  EXPECT_EQ(objs.OprList.Count(), 2);
}

TEST(OperatorText, CreateWritesTheSetOptionsInOrder) {
  TObjs objs;
  objs.SetServerType(srvPostgreSQL);
  TOprData* o = AddOperator(objs, "===", "integer", "integer");
  o->Commutator = "===";
  o->Negator = "!==";
  o->Hashes = true;
  o->Merges = true;
  o->GtCmp = ">";
  EXPECT_EQ(o->GetCreateSQL(),
            "CREATE OPERATOR public.===(\r\nPROCEDURE = int_eq,\r\nLEFTARG = integer,\r\n"
            "RIGHTARG = integer,\r\nCOMMUTATOR = ===,\r\nNEGATOR = !==,\r\nHASHES,\r\nMERGES,\r\n"
            "GTCMP = >)");
  // Without a schema the name stands alone.
  o->Schema.clear();
  EXPECT_EQ(o->GetDropSQL(), "DROP OPERATOR ===(integer, integer)");
}

TEST(OperatorClassText, EntriesAreSeparatedOnlyBetweenEntries) {
  TObjs objs;
  objs.SetServerType(srvPostgreSQL);
  TOpcData* c = AddNamed<TOpcData>(objs, "Int_Ops", [](TOpcData& o) {
    o.Schema = "public";
    o.ForType = "integer";
    o.IndexMethod = "btree";
    o.IsDefault = true;
  });
  for (int n : {1, 3}) {
    auto e = std::make_unique<TOpcOprData>();
    e->StrategyNumber = n;
    e->OperatorName = n == 1 ? "<" : "=";
    if (n == 3) e->RightType = "bigint";
    c->Operators.push_back(std::move(e));
  }
  EXPECT_EQ(c->GetListKey(), "Int_Ops(btree)");
  EXPECT_EQ(c->GetCreateSQL(),
            "CREATE OPERATOR CLASS public.\"Int_Ops\" DEFAULT FOR TYPE integer USING btree AS\r\n"
            "OPERATOR 1 <,\r\nOPERATOR 3 = (NONE, bigint)");

  auto f = std::make_unique<TOpcFncData>();
  f->Owner = c;
  f->SupportNumber = 1;
  f->FunctionName = "btint4cmp";
  f->ArgTypes = {"integer", "integer"};
  c->Functions.push_back(std::move(f));
  c->StorageType = "integer";
  EXPECT_EQ(c->GetCreateSQL(),
            "CREATE OPERATOR CLASS public.\"Int_Ops\" DEFAULT FOR TYPE integer USING btree AS\r\n"
            "OPERATOR 1 <,\r\nOPERATOR 3 = (NONE, bigint),\r\nFUNCTION 1 btint4cmp(integer, "
            "integer),\r\nSTORAGE integer");
  EXPECT_EQ(c->GetDropSQL(), "DROP OPERATOR CLASS public.\"Int_Ops\" USING btree");
}

TEST(OperatorPhases, NewChangedAndVanishedOperatorsOnPostgreSQLOnly) {
  for (TServerType st : {srvPostgreSQL, srvInterBase}) {
    SCOPED_TRACE(st);
    TTwoDbs db(st);
    AddOperator(db.Master, "+++", "integer", "integer");            // new
    AddOperator(db.Master, "###", "integer", "integer")->Commutator = "###";  // changed
    AddOperator(db.Target, "###", "integer", "integer");
    AddOperator(db.Target, "---", "integer", "integer");             // vanished
    db.PairObjects();
    db.RunPhase(6);
    db.RunPhase(43);
    if (st != srvPostgreSQL) {
      EXPECT_EQ(db.Exec.Count(), 0);
      continue;
    }
    const TTexts sql = SqlTexts(db.Exec);
    ASSERT_EQ(sql.size(), 4u);
    EXPECT_EQ(sql[0].rfind("CREATE OPERATOR public.+++(", 0), 0u);
    EXPECT_EQ(sql[1], "DROP OPERATOR public.###(integer, integer)");
    EXPECT_EQ(sql[2].rfind("CREATE OPERATOR public.###(", 0), 0u);
    EXPECT_EQ(sql[3], "DROP OPERATOR public.---(integer, integer)");
    EXPECT_EQ(db.Exec.Count(), 4);  // these phases write no comments
  }
}

TEST(OperatorPhases, ClassesAreCreatedAfterAndDroppedBeforeOperators) {
  TTwoDbs db(srvPostgreSQL);
  AddOperator(db.Master, "+++", "integer", "integer");
  AddNamed<TOpcData>(db.Master, "new_ops", [](TOpcData& o) { o.IndexMethod = "btree"; });
  AddOperator(db.Target, "---", "integer", "integer");
  AddNamed<TOpcData>(db.Target, "old_ops", [](TOpcData& o) { o.IndexMethod = "hash"; });
  db.PairObjects();
  db.RunPhase(6);
  db.RunPhase(43);
  const TTexts sql = SqlTexts(db.Exec);
  ASSERT_EQ(sql.size(), 4u);
  EXPECT_EQ(sql[0].rfind("CREATE OPERATOR public.+++", 0), 0u);
  EXPECT_EQ(sql[1].rfind("CREATE OPERATOR CLASS new_ops", 0), 0u);
  EXPECT_EQ(sql[2], "DROP OPERATOR CLASS old_ops USING hash");
  EXPECT_EQ(sql[3], "DROP OPERATOR public.---(integer, integer)");
}

}  // namespace
