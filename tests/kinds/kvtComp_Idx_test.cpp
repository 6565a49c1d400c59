// Index column lists.
#include <gtest/gtest.h>

#include <vector>

#include "kinds/kvtComp_Idx.h"
#include "kvtKindsFixture.h"

namespace {

struct TKeyCol {
  const char* Name;
  int32_t SortOrder = 0;
  int32_t Length = 0;
  bool WithObject = true;  // parsers may leave an entry without its column object
};

void AddKeyCols(TObjs& objs, TNamedObjList<TFldData>& list, const std::vector<TKeyCol>& cols) {
  for (const TKeyCol& c : cols) {
    std::unique_ptr<TFldData> f;
    if (c.WithObject) {
      f = std::make_unique<TFldData>(&objs, nullptr);
      f->SetName(c.Name);
      f->SortOrder = c.SortOrder;
      f->Length = c.Length;
    }
    list.Add(c.Name, std::move(f));
  }
}

TEST(IndexColumns, ColumnListByDialect) {
  struct Case {
    TServerType Server;
    std::vector<TKeyCol> Cols;
    const char* Expected;
  };
  const Case cases[] = {
      {srvInterBase, {{"A"}, {"B", 2}}, "A, B DESC"},
      {srvInterBase, {{"ORDER"}}, "\"ORDER\""},
      // Only MySQL writes prefix lengths; the length goes before the direction.
      {srvMySQL, {{"A", 0, 10}, {"B", 2, 5}, {"C", 1}}, "A(10), B(5) DESC, C"},
      {srvMySQL, {{"Name", 0, 0}}, "`Name`"},
      {srvMSSQL, {{"A", 0, 10}, {"order", 2}}, "A, [order] DESC"},
      {srvOracle, {{"A", 0, -1}}, "A"},
      {srvPostgreSQL, {{"A", 0, 0, false}, {"b", 2}}, "\"A\", b DESC"},
      {srvMySQL, {}, ""},
  };
  for (const Case& c : cases) {
    TObjs objs;
    objs.SetServerType(c.Server);
    TIdxData idx(&objs);
    AddKeyCols(objs, idx.Fields, c.Cols);
    EXPECT_EQ(idx.GetColumnList(), c.Expected) << int(c.Server) << " " << c.Expected;
  }
}

TEST(IndexColumns, IncludeListIsQuotedNamesOnly) {
  TObjs objs;
  objs.SetServerType(srvMSSQL);
  TIdxData idx(&objs);
  EXPECT_EQ(idx.GetIncludeList(), "");
  AddKeyCols(objs, idx.IncludeFields, {{"Order Details", 2, 4}, {"C", 0, 0, false}});
  EXPECT_EQ(idx.GetIncludeList(), "[Order Details], C");
  EXPECT_EQ(idx.GetColumnList(), "");  // the included columns are not key columns
}

}  // namespace
