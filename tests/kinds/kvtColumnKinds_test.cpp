// Column texts that depend on the kind the column belongs to or is used by:
// the domain's base column, the routine's language and the MS SQL default
// constraint written with an added column.
#include <gtest/gtest.h>

#include "kinds/kvtComp_Ctr.h"
#include "kinds/kvtComp_Dmn.h"
#include "kinds/kvtComp_Prc.h"
#include "kvtKindsFixture.h"

namespace {

TEST(ColumnKinds, DomainTypedColumnReadsTheDomainsBaseColumn) {
  TObjs objs;
  objs.SetServerType(srvInterBase);
  auto d = std::make_unique<TDmnData>(&objs);
  d->SetName("D_NAME");
  d->BaseField->DataType = dtVarchar;
  d->BaseField->Length = 20;
  d->BaseField->CharacterSet = "WIN1252";
  d->BaseField->DefaultValue = "'x'";
  objs.AddObj(d, true);
  TTblData* t = AddTable(objs, "T", {{"A", dtDomain}});
  TFldData* a = t->Fields[0];
  a->DomainName = "D_NAME";
  EXPECT_TRUE(a->IsCharacterType());
  EXPECT_EQ(a->GetCharacterSet(), "WIN1252");
  // The column writes a default of its own, which the server keeps apart
  // from the domain's.
  EXPECT_EQ(a->GetCreateSQL(), "A D_NAME");
  a->DefaultValue = "'y'";
  EXPECT_EQ(a->GetCreateSQL(), "A D_NAME DEFAULT 'y'");

  a->DomainName = "UNKNOWN";
  EXPECT_FALSE(a->IsCharacterType());
}

TEST(ColumnKinds, ExternalRoutineParametersTakeTheModeFirst) {
  TObjs objs;
  objs.SetServerType(srvASE);
  TPrcData prc(&objs);
  TFldData p(&objs, &prc);
  p.SetName("P1");
  p.DataType = dtInteger;
  p.Direction = pdOut;
  EXPECT_FALSE(p.IsExternalRoutineParameter());
  EXPECT_EQ(p.GetCreateSQL(), "P1 INTEGER out");
  prc.Language = "java";
  EXPECT_TRUE(p.IsExternalRoutineParameter());
  EXPECT_EQ(p.GetCreateSQL(), "out P1 INTEGER");
}

TEST(ColumnKinds, MSSQLNotNullColumnIsAddedWithItsDefault) {
  TObjs objs;
  objs.SetServerType(srvMSSQL);
  TTblData* t = AddTable(objs, "T", {{"C", dtInteger, 0, false}, {"D", dtInteger, 0, false}});
  auto add = [&](const char* name, std::initializer_list<const char*> cols) {
    auto c = std::make_unique<TCtrData>(&objs);
    c->SetName(name);
    c->SetConstraintType(ctDefault);
    c->TableName = "T";
    c->SetBody("(0)");
    for (const char* col : cols) {
      c->Fields.Add(col, nullptr);
      AddDependencyOnce(&objs, c.get(), t, col, 0, 0);
    }
    TCtrData* raw = c.get();
    objs.AddObj(c, true);
    raw->Exists = false;
    return raw;
  };
  TCtrData* single = add("DF_C", {"C"});
  TCtrData* both = add("DF_CD", {"C", "D"});  // covers more than this column: not inline

  TFldData* c = t->Fields[0];
  EXPECT_EQ(c->GetCreateScript(), "ALTER TABLE T ADD C INTEGER NOT NULL CONSTRAINT DF_C DEFAULT (0)");
  EXPECT_TRUE(single->GetExists());
  EXPECT_FALSE(both->GetExists());

  c->Nullable = true;  // a nullable column is added without it
  single->Exists = false;
  EXPECT_EQ(c->GetCreateScript(), "ALTER TABLE T ADD C INTEGER NULL");
  EXPECT_FALSE(single->GetExists());
}

}  // namespace
