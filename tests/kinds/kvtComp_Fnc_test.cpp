// External functions: the declaration and the declare, alter and drop phases.
#include <gtest/gtest.h>

#include "kinds/kvtComp_Fnc.h"
#include "kinds/kvtComp_Prc.h"
#include "kinds/kvtComp_Viw.h"
#include "kvtStatementsFixture.h"

namespace {

TUdfData* AddFunction(TObjs& objs, const std::string& name, const std::string& entry) {
  return AddNamed<TUdfData>(objs, name, [&](TUdfData& f) {
    f.EntryPoint = entry;
    f.ModuleName = "ib_udf";
    f.ReturnField->DataType = dtInteger;
  });
}

void AddArgument(TUdfData& f, uint8_t type, int32_t length, bool byDescriptor) {
  auto a = std::make_unique<TFldData>(f.Objs, &f);
  a->TableName = f.Name;
  a->DataType = type;
  a->Length = length;
  a->ByDescriptor = byDescriptor;
  f.Arguments.Add(std::string(), std::move(a));
}

TEST(FunctionText, Declarations) {
  TObjs objs;
  objs.SetServerType(srvInterBase);
  TUdfData* f = AddFunction(objs, "F_RAND", "IB_UDF_rand");
  EXPECT_EQ(f->GetCreateSQL(),
            "DECLARE EXTERNAL FUNCTION F_RAND\r\nRETURNS INTEGER\r\n"
            "ENTRY_POINT 'IB_UDF_rand' MODULE_NAME 'ib_udf'");

  TUdfData* g = AddFunction(objs, "F_PAD", "it's");
  AddArgument(*g, dtInteger, 0, false);
  AddArgument(*g, dtCString, 20, true);
  g->ReturnField->ParameterNumber = 2;
  g->FreeIt = true;
  EXPECT_EQ(g->GetCreateSQL(),
            "DECLARE EXTERNAL FUNCTION F_PAD\r\nINTEGER, CSTRING(20) BY DESCRIPTOR\r\n"
            "RETURNS PARAMETER 2 FREE_IT\r\nENTRY_POINT 'it''s' MODULE_NAME 'ib_udf'");
  EXPECT_EQ(g->GetDropSQL(), "/* Drop: F_PAD (TUdfData) */\r\nDROP EXTERNAL FUNCTION F_PAD");
}

TEST(FunctionPhases, NewFunctionsAreDeclaredVanishedOnesDropped) {
  TTwoDbs db(srvInterBase);
  AddFunction(db.Master, "F_NEW", "f_new");
  AddFunction(db.Target, "F_OLD", "f_old");
  AddFunction(db.Target, "F_GONE", "f_gone");
  db.PairObjects();  // F_GONE: already dropped earlier in this run
  db.Target.FindFunction("F_GONE")->SetExists(false);
  db.RunPhase(10);
  db.RunPhase(18);
  EXPECT_EQ(StatementTexts(db.Exec),
            (TTexts{"/* Declare UDF */",
                    "DECLARE EXTERNAL FUNCTION F_NEW\r\nRETURNS INTEGER\r\n"
                    "ENTRY_POINT 'f_new' MODULE_NAME 'ib_udf'",
                    "", "/* Drop UDF */",
                    "/* Drop: F_OLD (TUdfData) */\r\nDROP EXTERNAL FUNCTION F_OLD", ""}));
  EXPECT_TRUE(db.Master.FindFunction("F_NEW")->GetExists());
}

// A changed function in the target used by a procedure, a stubbed procedure,
// a view and a computed column.
struct TAlterFixture {
  TTwoDbs Db{srvInterBase};
  TUdfData* Target;
  TPrcData* Proc;
  TPrcData* Stub;
  TViwData* View;
  TTblData* Table;

  TAlterFixture() {
    AddFunction(Db.Master, "F_ABS", "IB_UDF_ABS");  // the entry point differs in case only
    Target = AddFunction(Db.Target, "F_ABS", "IB_UDF_abs");
    Proc = AddNamed<TPrcData>(Db.Target, "P_CALC");
    Proc->SetBody("BEGIN X = F_ABS(1); END");
    Stub = AddNamed<TPrcData>(Db.Target, "P_STUB");
    Stub->SetBody(Stub->GetStubBody());
    View = AddNamed<TViwData>(Db.Target, "V_ABS");
    Table = AddTable(Db.Target, "T", {{"A"}, {"B", dtInteger, 0, true, "(F_ABS(A))"}});
    for (TDbObj* user : {static_cast<TDbObj*>(Proc), static_cast<TDbObj*>(Stub),
                         static_cast<TDbObj*>(View), static_cast<TDbObj*>(Table->Fields[1])})
      AddDependency(&Db.Target, user, Target, "", 0, 0);
    Db.PairObjects();
  }
};

TEST(FunctionPhases, ChangedFunctionReleasesItsUsersThenIsDroppedAndDeclared) {
  TAlterFixture f;
  f.Db.RunPhase(16);
  const TTexts all = StatementTexts(f.Db.Exec);
  auto indexOf = [&all](const std::string& text) {
    for (size_t i = 0; i < all.size(); ++i)
      if (all[i].find(text) != std::string::npos) return static_cast<int>(i);
    return -1;
  };
  EXPECT_EQ(all.front(), "/* Alter UDF(Drop/Declare) */");
  const int emptied = indexOf("/* Empty dependent procedure body before Function Alter");
  const int view = indexOf("/* drop view for UDF alter */");
  const int column = indexOf("/* drop calc-field for UDF alter */");
  const int drop = indexOf("DROP EXTERNAL FUNCTION F_ABS");
  const int declare = indexOf("ENTRY_POINT 'IB_UDF_ABS'");
  ASSERT_GT(emptied, 0);
  EXPECT_EQ(f.Db.Exec.GetStatement(emptied + 1)->ObjName, "P_CALC");
  EXPECT_EQ(f.Db.Exec.GetStatement(emptied + 1)->Action, saEmptyBody);
  EXPECT_EQ(f.Db.Exec.GetStatement(emptied + 1)->CauseName, "F_ABS");
  ASSERT_GT(view, 0);
  EXPECT_EQ(f.Db.Exec.GetStatement(view + 1)->ObjName, "V_ABS");
  EXPECT_EQ(f.Db.Exec.GetStatement(view + 1)->Action, saDrop);
  ASSERT_GT(column, 0);
  EXPECT_EQ(all[static_cast<size_t>(column) + 1], "ALTER TABLE T DROP B");
  EXPECT_GT(drop, std::max({emptied, view, column}));
  EXPECT_EQ(declare, drop + 1);
  EXPECT_EQ(f.Db.Exec.GetStatement(drop)->Action, saDrop);
  EXPECT_EQ(f.Db.Exec.GetStatement(declare)->Action, saCreate);

  // The stubbed procedure needed nothing, but its record is handled.
  EXPECT_EQ(indexOf("P_STUB"), -1);
  for (const auto& r : f.Target->UseInList) {
    if (r->Obj == f.Stub) {
      EXPECT_FALSE(r->Pending);
    }
  }
  EXPECT_TRUE(f.View->NeedsRecreate);
}

TEST(FunctionPhases, UnchangedFunctionWritesNothing) {
  TTwoDbs db(srvInterBase);
  AddFunction(db.Master, "F_ABS", "abs");
  AddFunction(db.Target, "F_ABS", "abs");
  db.PairObjects();
  db.RunPhase(16);
  EXPECT_EQ(db.Exec.Count(), 0);
}

TEST(FunctionPhases, VanishedFunctionTakesTheViewOfItsColumnAlongAndBringsItBack) {
  TTwoDbs db(srvInterBase);
  TUdfData* f = AddFunction(db.Target, "F_OLD", "f_old");
  TViwData* tv = AddNamed<TViwData>(db.Target, "V");
  auto col = std::make_unique<TFldData>(&db.Target, tv);
  col->SetName("X");
  col->TableName = "V";
  TFldData* c = tv->Columns.Add("X", std::move(col));
  AddDependency(&db.Target, c, f, "", 0, 0);
  AddNamed<TViwData>(db.Master, "V");
  db.PairObjects();
  db.RunPhase(18);
  std::vector<uint8_t> actions;
  std::vector<std::string> names;
  for (const auto& st : db.Exec.Statements)
    if (st->Kind != skComment) {
      actions.push_back(st->Action);
      names.push_back(st->ObjName);
    }
  // The view goes first, then the function; the master's view comes back.
  ASSERT_GE(names.size(), 2u);
  EXPECT_EQ(names[0], "V");
  EXPECT_EQ(actions[0], saDrop);
  EXPECT_EQ(names[1], "F_OLD");
  EXPECT_EQ(actions[1], saDrop);
  EXPECT_TRUE(db.Master.FindView("V")->GetExists());
}

}  // namespace
