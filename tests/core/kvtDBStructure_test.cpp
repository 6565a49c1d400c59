#include "core/kvtDBStructure.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "core/kvtDBOptions.h"
#include "kinds/kvtCompColumn.h"
#include "kinds/kvtComp_Ctr.h"
#include "kinds/kvtComp_Idx.h"
#include "kinds/kvtComp_Pkg.h"
#include "kinds/kvtComp_Prc.h"
#include "kinds/kvtComp_Rol.h"
#include "kinds/kvtComp_Tbl.h"
#include "kinds/kvtComp_Viw.h"

namespace {

// An object of a class the container has no list for.
class TStray : public TDbObj {
 public:
  explicit TStray(TObjs* objs) : TDbObj(objs) { Name = "S"; }
  const char* ClassName() const override { return "TStray"; }
};

// Accepts every name but those in Rejected, and records reported errors.
class TRecordingAcceptor : public TObjAcceptor {
 public:
  std::vector<std::string> Rejected;
  std::vector<std::string> Errors;
  bool IsObjectAccepted(const std::string& name, TDbObject) override {
    for (const auto& r : Rejected)
      if (r == name) return false;
    return true;
  }
  void ReportObjError(const std::string& text) override { Errors.push_back(text); }
  void StructureDetached(TCustomDBStructure*) override {}
};

template <class T>
std::unique_ptr<T> Make(TObjs& objs, const std::string& name) {
  auto obj = std::make_unique<T>(&objs);
  obj->Name = name;
  return obj;
}

std::vector<std::string> Keys(const TObjList& list) {
  std::vector<std::string> keys;
  for (const auto& e : list) keys.push_back(e.Key);
  return keys;
}

// The order users see in sorted lists: case aside first, punctuation before
// digits before letters, lower case first as the tie-break.
TEST(ObjList, KeyOrder) {
  struct Case {
    const char* a;
    const char* b;
    bool caseSensitive;
    int order;  // sign of CompareListKeys(a, b)
  };
  const Case cases[] = {
      {"ORDER_ITEMS", "ORDERS", true, -1},  // punctuation before letters
      {"apple", "Banana", true, -1},        // case aside first
      {"T1", "TA", true, -1},               // digits before letters
      {"T_", "T1", true, -1},               // punctuation before digits
      {"T 1", "T_1", true, -1},             // blank before other punctuation
      {"abc", "ABC", true, -1},             // equal but for case: lower first
      {"aBc", "abC", true, 1},              // the first difference decides
      {"abc", "ABC", false, 0},             // the same key in a case-insensitive list
      {"AB", "ABC", false, -1},             // a prefix first
      {"Z", "\xC4", true, -1},             // bytes above 127 after letters
  };
  for (const Case& c : cases) {
    const int r = CompareListKeys(c.a, c.b, c.caseSensitive);
    EXPECT_EQ((r > 0) - (r < 0), c.order) << c.a << " / " << c.b;
    const int back = CompareListKeys(c.b, c.a, c.caseSensitive);
    EXPECT_EQ((back > 0) - (back < 0), -c.order) << c.b << " / " << c.a;
  }

  // Sorting and searching agree on that order.
  TObjs objs;
  for (const char* n : {"ORDERS", "Banana", "ORDER_ITEMS", "apple", "T1"}) {
    auto t = Make<TTblData>(objs, n);
    objs.AddObj(t, true);
  }
  EXPECT_EQ(Keys(objs.TblList),
            (std::vector<std::string>{"apple", "Banana", "ORDER_ITEMS", "ORDERS", "T1"}));
  EXPECT_EQ(objs.TblList.IndexOf("ORDERS"), 3);
}

TEST(ObjList, DescriptorsAreIndexedByListId) {
  TObjs objs;
  for (int i = 0; i < olCount; ++i) {
    EXPECT_EQ(ListDescriptors[i].Id, i) << ListDescriptors[i].Name;
    EXPECT_EQ(&objs.List(static_cast<TObjListId>(i)), objs.AllLists()[static_cast<size_t>(i)]);
  }
}

TEST(ObjList, StaysSortedAndKeepsTheFirstOfEqualKeys) {
  TObjs objs;
  for (const char* n : {"b", "C", "a", "B"}) {
    auto t = Make<TTblData>(objs, n);
    EXPECT_TRUE(objs.AddObj(t, true)) << n;
  }
  EXPECT_EQ(Keys(objs.TblList), (std::vector<std::string>{"a", "b", "B", "C"}));
  EXPECT_EQ(objs.TblList.IndexOf("B"), 2);
  EXPECT_EQ(objs.TblList.IndexOf("x"), -1);

  objs.SetServerType(srvMSSQL);  // case-insensitive: re-sorted, lookups ignore case
  EXPECT_EQ(objs.TblList.Count(), 4);
  EXPECT_EQ(objs.TblList.Keys(0).size(), 1u);
  EXPECT_TRUE(objs.FindTable("c") != nullptr);

  auto dup = Make<TTblData>(objs, "c");
  EXPECT_FALSE(objs.AddObj(dup, true));
  ASSERT_TRUE(dup);  // not taken: stays with the caller
  EXPECT_EQ(objs.FindTable("C")->Name, "C");

  objs.TblList.Delete(objs.TblList.IndexOf("C"));
  EXPECT_EQ(objs.FindTable("c"), nullptr);
  EXPECT_EQ(objs.TblList.Count(), 3);
}

TEST(ObjList, InterleavedAdditionsAndWalksKeepTheOrder) {
  TObjs objs;
  std::vector<std::string> expected;
  for (int i = 300; i > 0; --i) {
    const std::string name = "N" + std::to_string(i * 7 % 1000);
    auto t = Make<TTblData>(objs, name);
    if (objs.AddObj(t, true)) expected.push_back(name);
    ASSERT_EQ(objs.TblList.Keys(objs.TblList.IndexOf(name)), name);
  }
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(Keys(objs.TblList), expected);
}

TEST(ObjList, AdditionOrderSurvivesRemovalsAndRekeying) {
  // Walks in script order (views, for one) read AddedObjects: a removal or a
  // change of the case rule must not fall back to the sorted order.
  TObjs objs;
  for (const char* n : {"z", "m", "a", "q"}) {
    auto t = Make<TTblData>(objs, n);
    ASSERT_TRUE(objs.AddObj(t, true));
  }
  auto names = [&objs] {
    std::vector<std::string> out;
    for (TDbObj* o : objs.TblList.AddedObjects()) out.push_back(o->Name);
    return out;
  };
  objs.TblList.Delete(objs.TblList.IndexOf("m"));
  EXPECT_EQ(names(), (std::vector<std::string>{"z", "a", "q"}));
  auto t = Make<TTblData>(objs, "b");
  ASSERT_TRUE(objs.AddObj(t, true));
  objs.SetServerType(srvMSSQL);
  EXPECT_EQ(names(), (std::vector<std::string>{"z", "a", "q", "b"}));
}

TEST(Container, CaseRulesFollowTheServerType) {
  struct Case {
    TServerType server;
    bool caseInsensitive;
  };
  for (const Case& c : {Case{srvInterBase, false}, Case{srvASA, true}, Case{srvMySQL, false},
                        Case{srvOracle, false}, Case{srvMSSQL, true}, Case{srvPostgreSQL, false},
                        Case{srvDB2, false}, Case{srvASE, true}}) {
    TObjs objs;
    objs.SetServerType(c.server);
    auto t = Make<TTblData>(objs, "ORDERS");
    auto s = Make<TSchData>(objs, "SALES");
    ASSERT_TRUE(objs.AddObj(t, true));
    ASSERT_TRUE(objs.AddObj(s, true));
    EXPECT_EQ(objs.FindTable("orders") != nullptr, c.caseInsensitive) << int(c.server);
    EXPECT_NE(objs.FindTable("ORDERS"), nullptr);
    EXPECT_EQ(objs.FindSchema("sales"), nullptr) << int(c.server);  // schemas: always exact
  }
}

TEST(Container, AddObjDispatchesByClass) {
  TObjs objs;
  auto t = Make<TTblData>(objs, "T");
  auto v = Make<TViwData>(objs, "V");
  auto p = Make<TPrcData>(objs, "P");
  auto k = Make<TPkgData>(objs, "K");
  auto c = Make<TCtrData>(objs, "FK_1");
  TTblData* traw = t.get();
  EXPECT_TRUE(objs.AddObj(t, true));
  EXPECT_TRUE(objs.AddObj(v, true));
  EXPECT_TRUE(objs.AddObj(p, true));
  EXPECT_TRUE(objs.AddObj(k, true));
  EXPECT_TRUE(objs.AddObj(c, true));
  EXPECT_FALSE(t);
  EXPECT_EQ(objs.FindTable("T"), traw);
  EXPECT_NE(objs.FindView("V"), nullptr);
  EXPECT_NE(objs.FindProcedure("P"), nullptr);
  EXPECT_NE(objs.FindPackage("K"), nullptr);
  EXPECT_NE(objs.FindConstraint("FK_1"), nullptr);
  EXPECT_EQ(objs.FindView("T"), nullptr);
  EXPECT_EQ(objs.FindTable("V"), nullptr);

  TRecordingAcceptor acceptor;
  objs.Extractor = &acceptor;
  std::unique_ptr<TDbObj> stray = std::make_unique<TStray>(&objs);
  EXPECT_FALSE(objs.AddObj(stray, false));
  EXPECT_TRUE(stray);
  EXPECT_FALSE(objs.AddObj(stray, true));
  EXPECT_FALSE(stray);
  EXPECT_EQ(acceptor.Errors,
            (std::vector<std::string>{"Unknown DbObject to add (TStray)", "Unknown DbObject to add (TStray)"}));
}

TEST(Container, AcceptanceByExtractorHookAndIBEFilter) {
  // The acceptor outlives the structure, which tells it when it goes.
  TRecordingAcceptor acceptor;
  TDBStructure structure;
  TObjs& objs = *structure.Objs;
  objs.SetServerType(srvInterBase);
  acceptor.Rejected = {"SKIP"};
  structure.Extractor = &acceptor;

  auto skip = Make<TTblData>(objs, "SKIP");
  EXPECT_FALSE(objs.AddObj(skip, false));
  EXPECT_TRUE(skip);
  EXPECT_FALSE(objs.AddObj(skip, true));
  EXPECT_FALSE(skip);

  // The hook has the final say, both ways.
  objs.OnAcceptObject = [](void* sender, TDbObj* obj, bool& accept) {
    EXPECT_NE(sender, nullptr);
    if (obj->Name == "SKIP") accept = true;
    if (obj->Name == "VETO") accept = false;
  };
  auto again = Make<TTblData>(objs, "SKIP");
  auto veto = Make<TTblData>(objs, "VETO");
  EXPECT_TRUE(objs.AddObj(again, true));
  EXPECT_FALSE(objs.AddObj(veto, true));
  EXPECT_EQ(objs.TblList.Count(), 1);

  auto ibe = Make<TPrcData>(objs, "IBE$LOG");
  EXPECT_FALSE(objs.AddObj(ibe, true));
  objs.IBServerOptions->IBCompareOptions->IgnoreIBEObjects = false;
  auto ibe2 = Make<TPrcData>(objs, "IBE$LOG");
  EXPECT_TRUE(objs.AddObj(ibe2, true));

  TObjs mysql;
  mysql.SetServerType(srvMySQL);
  auto ibe3 = Make<TPrcData>(mysql, "IBE$LOG");
  EXPECT_TRUE(mysql.AddObj(ibe3, true));
}

TEST(Container, FieldAndParameterLookups) {
  TObjs objs;
  auto t = Make<TTblData>(objs, "T");
  auto col = std::make_unique<TFldData>(&objs, t.get());
  col->Name = "C";
  TFldData* c = t->AddField(std::move(col));
  objs.AddObj(t, true);
  auto v = Make<TViwData>(objs, "V");
  auto vc = std::make_unique<TFldData>(&objs, v.get());
  TFldData* vcol = v->Columns.Add("X", std::move(vc));
  objs.AddObj(v, true);
  auto p = Make<TPrcData>(objs, "P");
  TFldData* in = p->Params.Add("A", std::make_unique<TFldData>(&objs, p.get()));
  TFldData* out = p->Results.Add("R", std::make_unique<TFldData>(&objs, p.get()));
  objs.AddObj(p, true);

  EXPECT_EQ(objs.FindTableField("T", "C"), c);
  EXPECT_EQ(objs.FindTableField("T", "D"), nullptr);
  EXPECT_EQ(objs.FindTableField("U", "C"), nullptr);
  EXPECT_EQ(objs.FindViewField("V", "X"), vcol);
  EXPECT_EQ(objs.FindProcParam("P", "A"), in);
  EXPECT_EQ(objs.FindProcParam("P", "R"), out);
  EXPECT_EQ(objs.FindProcParam("P", "Z"), nullptr);
}

TEST(Container, RolesLoginsAndUsersAreFoundByKind) {
  TObjs objs;
  auto login = Make<TRolData>(objs, "SA");
  login->RoleKind = rkLogin;
  objs.AddObj(login, true);
  auto role = Make<TRolData>(objs, "ADMIN");
  objs.AddObj(role, true);
  EXPECT_EQ(objs.FindRole("SA"), nullptr);
  ASSERT_NE(objs.FindLogin("SA"), nullptr);
  EXPECT_EQ(objs.FindUser("SA"), nullptr);
  EXPECT_NE(objs.FindRole("ADMIN"), nullptr);
  EXPECT_EQ(objs.FindRole("admin"), nullptr);
}

// A role whose list key is given, so that two roles of one name can sit in
// different places of the list.
class TKeyedRole : public TRolData {
 public:
  TKeyedRole(TObjs* objs, std::string name, std::string key, uint8_t kind)
      : TRolData(objs), Key(std::move(key)) {
    Name = std::move(name);
    RoleKind = kind;
  }
  std::string GetListKey() override { return Key; }
  std::string Key;
};

TEST(Container, RoleLookupsTakeTheFirstInListOrder) {
  TObjs objs;
  objs.SetServerType(srvMSSQL);  // keys compare without case; names still exactly
  auto add = [&](const char* name, const char* key, uint8_t kind) {
    auto r = std::make_unique<TKeyedRole>(&objs, name, key, kind);
    TRolData* raw = r.get();
    EXPECT_TRUE(objs.AddObj(r, true)) << key;
    return raw;
  };
  TRolData* late = add("R", "s3.R", rkUser);
  EXPECT_EQ(objs.FindUser("R"), late);
  // Added after a lookup, but placed before in list order.
  TRolData* early = add("R", "S1.R", rkUser);
  EXPECT_EQ(objs.FindUser("R"), early);
  TRolData* middle = add("R", "s2.R", rkUser);
  EXPECT_EQ(objs.FindUser("R"), early);
  EXPECT_EQ(objs.FindRole("R"), nullptr);
  EXPECT_EQ(objs.FindUser("r"), nullptr);

  objs.RolList.Delete(objs.RolList.IndexOf("s1.r"));
  EXPECT_EQ(objs.FindUser("R"), middle);
  // A kind set after the lookup was indexed is still honoured.
  middle->RoleKind = rkLogin;
  EXPECT_EQ(objs.FindUser("R"), late);
  EXPECT_EQ(objs.FindLogin("R"), middle);
}

// A grant keyed by its fields, as the grant kind's GRANT text would key it.
class TKeyedGrant : public TGntData {
 public:
  using TGntData::TGntData;
  std::string GetListKey() override {
    std::string cols;
    for (const auto& c : Columns) cols += "," + c;
    return ObjectName + "/" + Grantee + "/" + Privileges.to_string() + cols;
  }
};

std::unique_ptr<TGntData> Grant(TObjs& objs, int privilege, const std::string& grantee,
                                TStringList columns = {}) {
  auto g = std::make_unique<TKeyedGrant>(&objs);
  g->ObjectName = "T";
  g->Grantee = grantee;
  g->Privileges.set(static_cast<size_t>(privilege));
  g->Columns = std::move(columns);
  return g;
}

TEST(Container, MergeGrantCombinesPrivilegesAndColumns) {
  TObjs objs;
  auto select = Grant(objs, 4, "U");
  TGntData* first = objs.MergeGrant(select);
  ASSERT_NE(first, nullptr);
  EXPECT_FALSE(select);

  auto update = Grant(objs, 2, "U");
  EXPECT_EQ(objs.MergeGrant(update), nullptr);
  ASSERT_TRUE(update);  // merged: the caller keeps it
  EXPECT_TRUE(first->Privileges.test(4) && first->Privileges.test(2));
  EXPECT_EQ(objs.GntList.Count(), 1);

  auto other = Grant(objs, 2, "V");  // another grantee: a grant of its own
  EXPECT_NE(objs.MergeGrant(other), nullptr);

  auto cols1 = Grant(objs, 4, "W", {"A", "B"});
  TGntData* colGrant = objs.MergeGrant(cols1);
  ASSERT_NE(colGrant, nullptr);
  auto cols2 = Grant(objs, 2, "W", {"B", "C"});
  EXPECT_EQ(objs.MergeGrant(cols2), nullptr);
  EXPECT_EQ(colGrant->Columns, (TStringList{"A", "B", "C"}));
  auto sameCols = Grant(objs, 4, "W", {"D"});  // same privileges: not merged
  EXPECT_NE(objs.MergeGrant(sameCols), nullptr);
  EXPECT_EQ(objs.GntList.Count(), 4);

  // After a merge the key is stale until the grants are keyed again.
  EXPECT_EQ(objs.GntList.Find(first->GetListKey()), nullptr);
  objs.ReKeyGrants();
  EXPECT_EQ(objs.GntList.Find(first->GetListKey()), first);
  auto late = Grant(objs, 3, "U");
  EXPECT_EQ(objs.MergeGrant(late), nullptr);
  EXPECT_TRUE(first->Privileges.test(3));
}

TEST(Container, RemoveFieldDependenciesDropsEveryRecordOfTheColumn) {
  TObjs objs;
  auto t = Make<TTblData>(objs, "T");
  TFldData* c = t->AddField(std::make_unique<TFldData>(&objs, t.get()));
  c->Name = "C";
  TFldData* d = t->AddField(std::make_unique<TFldData>(&objs, t.get()));
  d->Name = "D";
  TTblData* traw = t.get();
  objs.AddObj(t, true);
  auto p = Make<TPrcData>(objs, "P");
  TPrcData* praw = p.get();
  objs.AddObj(p, true);
  AddDependency(&objs, praw, c, "", 0, 0);
  AddDependency(&objs, praw, traw, "", 0, 0);
  AddDependency(&objs, d, c, "", 0, 0);  // a computed column using another

  objs.RemoveFieldDependencies(c);
  ASSERT_EQ(praw->UseOfList.size(), 1u);
  EXPECT_EQ(praw->UseOfList[0]->Obj, traw);
  EXPECT_TRUE(d->UseOfList.empty());
}

TEST(Container, VersionTextOdsAndCachedTexts) {
  TObjs master, target;
  EXPECT_EQ(master.GetServerVersionText(), "");
  master.SetServerType(srvInterBase);
  EXPECT_EQ(master.GetServerVersionText(), "Server Version (user defined): FireBird 2.5");
  master.SetServerType(srvMSSQL);
  EXPECT_EQ(master.GetServerVersionText(), "Server Version (user defined): MS SQL 2000");

  target.IBServerOptions->IBDatabaseOptions->ODSMajor = 11;
  EXPECT_EQ(master.GetTargetODSMajor(), 0);
  master.Partner = &target;
  target.Partner = &master;
  master.Role = 1;
  target.Role = 2;
  EXPECT_EQ(master.GetTargetODSMajor(), 11);
  EXPECT_EQ(target.GetTargetODSMajor(), 11);

  class TCountingView : public TViwData {
   public:
    using TViwData::TViwData;
    int Calls = 0;
    std::string GetCreateSQL() override {
      return "CREATE VIEW V" + std::to_string(++Calls) + " " + SQLText;
    }
  };
  auto v = std::make_unique<TCountingView>(&master);
  v->Name = "V";
  TCountingView* raw = v.get();
  master.AddObj(v, true);
  master.CacheTexts();
  EXPECT_EQ(raw->SQLText, "CREATE VIEW V1 ");
  EXPECT_EQ(raw->CompareText, "CREATE VIEW V2 CREATE VIEW V1 ");
}

TEST(Structure, ClearFreesObjectsAndUnlinksPartnerPairs) {
  TDBStructure masterS, targetS;
  TObjs& master = *masterS.Objs;
  TObjs& target = *targetS.Objs;
  EXPECT_EQ(master.Owner, &masterS);
  master.Partner = &target;
  target.Partner = &master;

  auto mt = Make<TTblData>(master, "T");
  auto tt = Make<TTblData>(target, "T");
  mt->Pair = tt.get();
  tt->Pair = mt.get();
  TTblData* mraw = mt.get();
  master.AddObj(mt, true);
  target.AddObj(tt, true);
  auto k = Make<TPkgData>(target, "K");
  target.AddObj(k, true);
  target.CurrentSchema = "S";
  target.MSSQLServerOptions->MSSQLDatabaseOptions->Collation = "X";

  targetS.Clear();
  for (TObjList* list : target.AllLists()) EXPECT_EQ(list->Count(), 0);
  EXPECT_EQ(mraw->Pair, nullptr);
  EXPECT_EQ(target.CurrentSchema, "");
  EXPECT_EQ(target.MSSQLServerOptions->MSSQLDatabaseOptions->Collation, "");
}

// The comparer copies its compare options into the container and then the
// extractor clears the structure: only the database options may go.
TEST(Structure, ClearResetsDatabaseOptionsButKeepsConfiguration) {
  TDBStructure s;
  TObjs& objs = *s.Objs;
  objs.SetServerType(srvInterBase);
  objs.IBServerOptions->SQLServerVersion = st_Firebird_30;
  objs.IBServerOptions->IBCompareOptions->IgnoreIBEObjects = false;
  objs.IBServerOptions->IBCompareOptions->UpdateDescriptionMode = udComment;
  objs.IBServerOptions->IBDatabaseOptions->ODSMajor = 12;
  objs.IBServerOptions->IBDatabaseOptions->PageSize = 8192;
  objs.MSSQLServerOptions->SQLServerVersion = st_MSSQL2019;
  objs.MSSQLServerOptions->MSSQLCompareOptions->CaseSensitiveIdentifiers = true;
  objs.MSSQLServerOptions->MSSQLDatabaseOptions->RecursiveTriggers = true;
  objs.ASAServerOptions->SQLServerVersion = st_ASA7;
  objs.ASAServerOptions->ASACompareOptions->CaseSensitiveIdentifiers = true;
  objs.ASAServerOptions->ASADatabaseOptions->Statistics = 3;
  objs.ASAServerOptions->ASADatabaseOptions->DateOrder = "DMY";

  s.Clear();
  EXPECT_EQ(objs.IBServerOptions->IBDatabaseOptions->ODSMajor, 0);
  EXPECT_EQ(objs.IBServerOptions->IBDatabaseOptions->PageSize, 0);
  EXPECT_FALSE(objs.MSSQLServerOptions->MSSQLDatabaseOptions->RecursiveTriggers);
  EXPECT_EQ(objs.ASAServerOptions->ASADatabaseOptions->Statistics, 0);
  EXPECT_EQ(objs.ASAServerOptions->ASADatabaseOptions->DateOrder, "");

  EXPECT_EQ(objs.IBServerOptions->SQLServerVersion, st_Firebird_30);
  EXPECT_EQ(objs.IBServerOptions->IBCompareOptions->UpdateDescriptionMode, udComment);
  EXPECT_EQ(objs.MSSQLServerOptions->SQLServerVersion, st_MSSQL2019);
  EXPECT_TRUE(objs.MSSQLServerOptions->MSSQLCompareOptions->CaseSensitiveIdentifiers);
  EXPECT_EQ(objs.ASAServerOptions->SQLServerVersion, st_ASA7);
  EXPECT_TRUE(objs.ASAServerOptions->ASACompareOptions->CaseSensitiveIdentifiers);
  // The kept option still governs what the container takes.
  auto ibe = Make<TPrcData>(objs, "IBE$LOG");
  EXPECT_TRUE(objs.AddObj(ibe, true));
}

TEST(Structure, OptionPropertiesCopyIntoTheContainersObjects) {
  TDBStructure s;
  TIBServerOptions* own = s.GetIBServerOptions();
  TIBServerOptions given;
  given.SQLDialect = 1;
  given.IBCompareOptions->UpdateDescriptionMode = udComment;
  s.SetIBServerOptions(given);
  EXPECT_EQ(s.GetIBServerOptions(), own);
  EXPECT_EQ(own->SQLDialect, 1);
  EXPECT_EQ(own->IBCompareOptions->UpdateDescriptionMode, udComment);

  TMSSQLServerOptions ms;
  ms.SQLServerVersion = st_MSSQL2019;
  s.SetMSSQLServerOptions(ms);
  EXPECT_EQ(s.GetMSSQLServerOptions()->SQLServerVersion, st_MSSQL2019);
}

}  // namespace

// Objects of a list by table: one index, current after every change of the list.
TEST(ObjList, ObjectsOnTableFollowTheList) {
  TObjs objs;
  auto add = [&objs](const char* name, const char* table) {
    auto idx = std::make_unique<TIdxData>(&objs);
    idx->Name = name;
    idx->TableName = table;
    objs.AddObj(idx, true);
  };
  add("IX_B", "T");
  add("IX_A", "T");
  add("IX_U", "U");
  auto names = [&objs](const char* table) {
    std::vector<std::string> out;
    for (TDbObj* o : objs.ObjectsOnTable(olIdx, table)) out.push_back(o->Name);
    return out;
  };
  EXPECT_EQ(names("T"), (std::vector<std::string>{"IX_A", "IX_B"}));  // list order
  add("IX_C", "T");
  EXPECT_EQ(names("T"), (std::vector<std::string>{"IX_A", "IX_B", "IX_C"}));
  EXPECT_TRUE(names("NONE").empty());
  add("IX_0", "T");  // an addition that sorts before what was asked for already
  EXPECT_EQ(names("T"), (std::vector<std::string>{"IX_0", "IX_A", "IX_B", "IX_C"}));
  objs.IdxList.Delete(objs.IdxList.IndexOf("IX_A"));
  EXPECT_EQ(names("T"), (std::vector<std::string>{"IX_0", "IX_B", "IX_C"}));
  objs.SetServerType(srvMSSQL);  // case-insensitive lists find tables regardless of case
  EXPECT_EQ(names("u"), (std::vector<std::string>{"IX_U"}));
}
