// Construction rules and the small data operations of the object kinds.
#include <gtest/gtest.h>

#include "kinds/kvtComp_Ctr.h"
#include "kinds/kvtComp_Def.h"
#include "kinds/kvtComp_Dmn.h"
#include "kinds/kvtComp_Exc.h"
#include "kinds/kvtComp_Fnc.h"
#include "kinds/kvtComp_Idx.h"
#include "kinds/kvtComp_Opr.h"
#include "kinds/kvtComp_Pkg.h"
#include "kinds/kvtComp_Prc.h"
#include "kinds/kvtComp_Rol.h"
#include "kinds/kvtComp_Rul.h"
#include "kinds/kvtComp_Trg.h"
#include "kinds/kvtComp_Viw.h"
#include "kvtKindsFixture.h"

namespace {

TEST(KindModels, OwnedPartsExistAndPointBack) {
  TObjs objs;
  TDmnData dmn(&objs);
  ASSERT_TRUE(dmn.BaseField && dmn.PGOptions && dmn.Directive);
  EXPECT_EQ(dmn.BaseField->Owner, &dmn);
  EXPECT_EQ(dmn.BaseField->Objs, &objs);
  EXPECT_EQ(dmn.PGOptions->Domain, &dmn);
  EXPECT_FALSE(dmn.PGOptions->Element);

  TUdfData udf(&objs);
  ASSERT_TRUE(udf.ReturnField);
  EXPECT_EQ(udf.ReturnField->Owner, nullptr);
  EXPECT_EQ(udf.ReturnField->Objs, &objs);

  TIdxData idx(&objs);
  EXPECT_TRUE(idx.TableSpace && idx.MSSQLOptions && idx.MySQLOptions && idx.FullTextOptions);
  TCtrData ctr(&objs);
  EXPECT_TRUE(ctr.TableSpace && ctr.IndexOptions);
  TMemberPrcData member(&objs);
  EXPECT_TRUE(member.Directive);
  EXPECT_EQ(member.ObjType, dboProcedure);
}

// Initial values that later texts depend on.
TEST(KindModels, InitialValues) {
  TIdxData idx(nullptr);
  EXPECT_TRUE(idx.Active);
  TCtrData ctr(nullptr);
  EXPECT_EQ(ctr.ConstraintType, ctForeignKey);
  TTrgData trg(nullptr);
  EXPECT_TRUE(trg.Active);
  EXPECT_EQ(trg.ObjType, dboTrigger);
  TEvtData evt(nullptr);
  EXPECT_TRUE(evt.Enabled);
  TCltData clt(nullptr);
  EXPECT_TRUE(clt.CaseSensitive && clt.AccentSensitive && !clt.PadSpace);
  TGntData gnt(nullptr);
  EXPECT_EQ(gnt.GrantClass, coGrant);
  EXPECT_EQ(gnt.GranteeKind, dboUnknown);
  TDmnData dmn(nullptr);
  const TPGTypeOptions& pg = *dmn.PGOptions;
  EXPECT_EQ(pg.InternalLength, -1);
  EXPECT_EQ(pg.ExternalLength, -1);
  EXPECT_EQ(pg.Alignment, dtInt4);
  EXPECT_EQ(pg.Storage, "plain");
  TPrcData prc(nullptr);
  EXPECT_TRUE(prc.Characteristics.none());
  EXPECT_EQ(TRolData(nullptr).RoleKind, rkRole);
  EXPECT_EQ(TOprData(nullptr).ObjType, dboOperator);
  EXPECT_EQ(TOpcData(nullptr).ObjType, dboOperatorClass);
  EXPECT_EQ(TCnvData(nullptr).ObjType, dboConversion);
  EXPECT_EQ(TRulData(nullptr).ObjType, dboRule);
  EXPECT_EQ(TPkgData(nullptr).ObjType, dboPackage);
}

TEST(KindModels, ViewRecreateMarkReachesThePair) {
  TViwData master(nullptr), target(nullptr), alone(nullptr);
  master.Pair = &target;
  target.Pair = &master;
  master.SetNeedsRecreate(true);
  EXPECT_TRUE(master.GetNeedsRecreate());
  EXPECT_TRUE(target.GetNeedsRecreate());
  target.SetNeedsRecreate(false);
  EXPECT_FALSE(master.NeedsRecreate);
  EXPECT_FALSE(target.NeedsRecreate);
  alone.SetNeedsRecreate(true);
  EXPECT_TRUE(alone.NeedsRecreate);

  // A Pair chain that does not close on itself is followed to its end.
  TViwData a(nullptr), b(nullptr), c(nullptr);
  a.Pair = &b;
  b.Pair = &c;
  a.SetNeedsRecreate(true);
  EXPECT_TRUE(b.NeedsRecreate);
  EXPECT_TRUE(c.NeedsRecreate);
}

TEST(KindModels, TriggerResolvesItsTableOrView) {
  TObjs objs;
  objs.SetServerType(srvInterBase);
  TTblData* t = AddTable(objs, "T", {{"A"}});
  auto v = std::make_unique<TViwData>(&objs);
  v->SetName("V");
  TViwData* view = v.get();
  objs.AddObj(v, true);

  TTrgData trg(&objs);
  trg.SetTableName("T");
  EXPECT_EQ(trg.Table, t);
  trg.SetTableName("V");
  EXPECT_EQ(trg.Table, view);
  EXPECT_EQ(trg.TableName, "V");
  trg.SetTableName("MISSING");
  EXPECT_EQ(trg.Table, nullptr);
  EXPECT_EQ(trg.TableName, "MISSING");
  // An unresolved name is looked up again, so a table added later is found.
  TTblData* later = AddTable(objs, "MISSING", {{"A"}});
  trg.SetTableName("MISSING");
  EXPECT_EQ(trg.Table, later);

  TObjs asa;
  asa.SetServerType(srvASA);
  auto at = std::make_unique<TTblData>(&asa);
  at->SetName("T");
  at->SetSchema("DBA");
  TTblData* asaTable = at.get();
  asa.AddObj(at, true);
  TTrgData asaTrg(&asa);
  asaTrg.Owner = "DBA";
  asaTrg.SetTableName("T");
  EXPECT_EQ(asaTrg.Table, asaTable);
}

TEST(KindModels, ProcedureFindsParametersBeforeResults) {
  TObjs objs;
  TPrcData prc(&objs);
  auto param = [&](TNamedObjList<TFldData>& list, const char* name) {
    auto f = std::make_unique<TFldData>(&objs, &prc);
    f->SetName(name);
    return list.Add(name, std::move(f));
  };
  TFldData* inA = param(prc.Params, "A");
  TFldData* outA = param(prc.Results, "A");
  TFldData* outB = param(prc.Results, "B");
  EXPECT_NE(inA, outA);
  EXPECT_EQ(prc.FindParam("A"), inA);
  EXPECT_EQ(prc.FindParam("B"), outB);
  EXPECT_EQ(prc.FindParam("C"), nullptr);
  EXPECT_EQ(inA->ObjType, dboParam);
}

}  // namespace
