#include "compare/kvtVeltrane.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "compare/kvtPhases.h"
#include "core/kvtCompareContext.h"
#include "core/kvtDBOptions.h"
#include "core/kvtDBStructure.h"
#include "extract/kvtCustomScriptExtract.h"
#include "kinds/kvtCompColumn.h"
#include "kinds/kvtComp_Gnr.h"
#include "kinds/kvtComp_Tbl.h"
#include "kinds/kvtComp_Viw.h"
#include "script/kvtSQL_Exec.h"

namespace {

// An extractor that fills its structure in code, so the comparer's driving
// can be observed without a parser.
class TFakeExtract : public TCustomExtract {
 public:
  TFakeExtract(TServerType type, std::vector<std::string>* trace, std::string tag)
      : Trace(trace), Tag(std::move(tag)) {
    ServerType = type;
    Name = "FakeExtract";
    OnErrorMessage = [](void*, const std::string&) {};
  }
  const char* ClassName() const override { return "TFakeExtract"; }

  bool Extract() override {
    Messages->Clear();
    if (Trace) Trace->push_back("extract " + Tag);
    TCustomDBStructure* s = GetDBStructure();
    s->Clear();
    s->Objs->SetServerType(ServerType);
    if (Fill) Fill(*s->Objs);
    if (!Error.empty()) DoError(Error);
    return Error.empty();
  }

  std::function<void(TObjs&)> Fill;
  std::string Error;
  std::vector<std::string>* Trace;
  std::string Tag;
};

TTblData* AddTable(TObjs& objs, const std::string& name, std::vector<std::string> columns) {
  auto tbl = std::make_unique<TTblData>(&objs);
  tbl->SetName(name);
  for (const std::string& c : columns) {
    auto f = std::make_unique<TFldData>(&objs, tbl.get());
    f->SetName(c);
    f->DataType = dtInteger;
    tbl->AddField(std::move(f));
  }
  TTblData* raw = tbl.get();
  EXPECT_TRUE(objs.AddObj(tbl, true));
  return raw;
}

void AddGenerator(TObjs& objs, const std::string& name) {
  auto g = std::make_unique<TGnrData>(&objs);
  g->SetName(name);
  EXPECT_TRUE(objs.AddObj(g, true));
}

// Master and target structures with one comparer around them.
struct TFixture {
  TDBStructure Master;
  TDBStructure Target;
  TVeltrane Veltrane;
  std::vector<std::string> Errors;

  explicit TFixture(TServerType type = srvInterBase) {
    Veltrane.Name = "Veltrane";
    Veltrane.SetDBStructureMaster(&Master);
    Veltrane.SetDBStructureTarget(&Target);
    Veltrane.OnErrorMessage = [this](void*, const std::string& t) { Errors.push_back(t); };
    Master.Objs->SetServerType(type);
    Target.Objs->SetServerType(type);
  }

  TStringList Render() {
    TStringList lines;
    if (TCustomSQLExec* exec = Veltrane.GetSQLExec()) exec->RenderScript(lines, false);
    return lines;
  }
};

// Index of the first rendered line that contains `text`; -1 when none does.
int LineOf(const TStringList& lines, const std::string& text) {
  for (size_t i = 0; i < lines.size(); ++i)
    if (lines[i].find(text) != std::string::npos) return static_cast<int>(i);
  return -1;
}

std::string Joined(const TStringList& lines) {
  std::string s;
  for (const auto& l : lines) s += l + "\n";
  return s;
}

// Both sides extracted by their own fake extractor, assigned as the window
// does in OnBeforeExtract.
struct TExtractFixture : TFixture {
  std::vector<std::string> Trace;
  TFakeExtract MasterEx;
  TFakeExtract TargetEx;

  explicit TExtractFixture(TServerType type = srvInterBase)
      : TFixture(type), MasterEx(type, &Trace, "master"), TargetEx(type, &Trace, "target") {
    Veltrane.OnBeforeExtract = [this](void*) {
      Trace.push_back("before extract");
      Veltrane.ExtractorMaster = &MasterEx;
      Veltrane.ExtractorTarget = &TargetEx;
    };
    Veltrane.OnBeforeExtractTarget = [this](void*) { Trace.push_back("before target"); };
    Veltrane.OnAfterExtractTarget = [this](void*) { Trace.push_back("after target"); };
    Veltrane.OnBeforeExtractMaster = [this](void*) { Trace.push_back("before master"); };
    Veltrane.OnAfterExtractMaster = [this](void*) { Trace.push_back("after master"); };
    Veltrane.OnAfterExtract = [this](void*) { Trace.push_back("after extract"); };
  }
};

}  // namespace

TEST(VeltraneExtract, TargetSideIsExtractedBeforeMasterSide) {
  TExtractFixture f;
  f.TargetEx.Fill = [](TObjs& o) { AddTable(o, "T", {"A"}); };
  f.MasterEx.Fill = [](TObjs& o) { AddTable(o, "T", {"A"}); };
  EXPECT_TRUE(f.Veltrane.Extract());
  EXPECT_EQ(f.Trace, (std::vector<std::string>{"before extract", "before target", "extract target",
                                               "after target", "before master", "extract master",
                                               "after master", "after extract"}));
  EXPECT_TRUE(f.Veltrane.CanCompare);
  // Pairing and existence flags are ready after Extract.
  TDbObj* m = f.Master.Objs->FindTable("T");
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(m->Pair, f.Target.Objs->FindTable("T"));
  EXPECT_TRUE(m->Exists);
}

TEST(VeltraneExtract, EachSideGetsTheComparersOptionsAndHandsBackItsMessages) {
  TExtractFixture f;
  TIBCompareOptions ib;
  ib.DbCharsetCompare = true;
  f.Veltrane.SetIBCompareOptions(ib);
  f.Veltrane.MSSQLCompareOptions->IgnoreFileGroup = true;
  f.Veltrane.MySQLCompareOptions->CaseSensitiveIdentifiers = false;
  f.Veltrane.ASACompareOptions->CaseSensitiveIdentifiers = true;
  f.Veltrane.ASECompareOptions->IgnoreFileGroup = true;
  f.Veltrane.SetShowFullLog(false);
  TCmpObjSetType kinds = TCmpObjSetType::Empty();
  kinds.Include(coTable);
  kinds.Include(coGenerator);
  f.Veltrane.CompareObjects = kinds;

  // What each extractor sees while it runs.
  auto observe = [&](TFakeExtract& ex, const std::string& side) {
    ex.Fill = [&ex, side, &f](TObjs& o) {
      EXPECT_EQ(ex.GetDBStructure(), side == "target" ? &f.Target : &f.Master);
      EXPECT_TRUE(o.IBServerOptions->IBCompareOptions->DbCharsetCompare);
      EXPECT_TRUE(o.MSSQLServerOptions->MSSQLCompareOptions->IgnoreFileGroup);
      EXPECT_FALSE(o.MySQLServerOptions->MySQLCompareOptions->CaseSensitiveIdentifiers);
      EXPECT_TRUE(o.ASAServerOptions->ASACompareOptions->CaseSensitiveIdentifiers);
      EXPECT_TRUE(o.ASEServerOptions->ASECompareOptions->IgnoreFileGroup);
      EXPECT_FALSE(ex.ShowFullLog);
      EXPECT_EQ(o.CompareObjects, f.Veltrane.CompareObjects);
      f.Trace.push_back(side + " asks " + std::to_string(ex.ExtractObjects.Bits));
      ex.Messages->Add("note from " + side, mkWarning);
    };
  };
  observe(f.TargetEx, "target");
  observe(f.MasterEx, "master");

  EXPECT_TRUE(f.Veltrane.Extract());
  const std::string only = std::to_string(kinds.Bits);
  EXPECT_NE(std::find(f.Trace.begin(), f.Trace.end(), "target asks " + only), f.Trace.end());
  EXPECT_NE(std::find(f.Trace.begin(), f.Trace.end(), "master asks " + only), f.Trace.end());
  ASSERT_EQ(f.Veltrane.MsgManager.Count(), 2);
  EXPECT_EQ(f.Veltrane.MsgManager.Items[0]->Text, "note from target");
  EXPECT_EQ(f.Veltrane.MsgManager.Items[1]->Text, "note from master");

  // Without ExtractOnlyComparedObjects the extractors are asked for everything.
  ib.ExtractOnlyComparedObjects = false;
  f.Veltrane.SetIBCompareOptions(ib);
  f.Trace.clear();
  EXPECT_TRUE(f.Veltrane.Extract());
  const std::string all = std::to_string(TCmpObjSetType().Bits);
  EXPECT_NE(std::find(f.Trace.begin(), f.Trace.end(), "target asks " + all), f.Trace.end());
  EXPECT_NE(std::find(f.Trace.begin(), f.Trace.end(), "master asks " + all), f.Trace.end());
  EXPECT_EQ(f.Veltrane.MsgManager.Count(), 2);  // messages of the earlier run are gone
}

TEST(VeltraneExtract, TargetErrorStopsMasterSideAndCompare) {
  TExtractFixture f;
  f.TargetEx.Error = "File not found: target.sql";
  EXPECT_FALSE(f.Veltrane.Extract());
  EXPECT_EQ(std::count(f.Trace.begin(), f.Trace.end(), "extract master"), 0);
  EXPECT_FALSE(f.Veltrane.CanCompare);
  EXPECT_EQ(f.Veltrane.MsgManager.GetErrorText(), "File not found: target.sql");

  f.Veltrane.Compare();
  EXPECT_EQ(f.Veltrane.GetSQLExec(), nullptr);
}

TEST(VeltraneExtract, MasterErrorDisablesCompare) {
  TExtractFixture f;
  f.MasterEx.Error = "Missing: ;";
  EXPECT_FALSE(f.Veltrane.Extract());
  EXPECT_EQ(std::count(f.Trace.begin(), f.Trace.end(), "extract master"), 1);
  f.Veltrane.Compare();
  EXPECT_EQ(f.Veltrane.GetSQLExec(), nullptr);

  // A later clean extraction enables Compare again.
  f.MasterEx.Error.clear();
  EXPECT_TRUE(f.Veltrane.Extract());
  f.Veltrane.Compare();
  EXPECT_NE(f.Veltrane.GetSQLExec(), nullptr);
}

TEST(VeltraneExtract, ExtractorFailingSilentlyStillFails) {
  struct TSilent : TFakeExtract {
    using TFakeExtract::TFakeExtract;
    bool Extract() override {
      TFakeExtract::Extract();
      return false;
    }
  };
  TExtractFixture f;
  TSilent silent(srvInterBase, nullptr, "");
  f.Veltrane.OnBeforeExtract = [&](void*) {
    f.Veltrane.ExtractorMaster = &f.MasterEx;
    f.Veltrane.ExtractorTarget = &silent;
  };
  EXPECT_FALSE(f.Veltrane.Extract());
  EXPECT_FALSE(f.Veltrane.CanCompare);
}

TEST(VeltraneExtract, MissingSetupIsReported) {
  struct TCase {
    const char* Missing;
    std::string Message;
  };
  const TCase cases[] = {
      {"ExtractorTarget", "TVeltrane(Veltrane): property ExtractorTarget not assigned."},
      {"DBStructureTarget", "TVeltrane(Veltrane): property DBStructureTarget not assigned."},
      {"ExtractorMaster", "TVeltrane(Veltrane): property ExtractorMaster not assigned."},
      {"DBStructureMaster", "TVeltrane(Veltrane): property DBStructureMaster not assigned."},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Missing);
    TExtractFixture f;
    const std::string missing = c.Missing;
    f.Veltrane.OnBeforeExtract = [&](void*) {
      f.Veltrane.ExtractorMaster = missing == "ExtractorMaster" ? nullptr : &f.MasterEx;
      f.Veltrane.ExtractorTarget = missing == "ExtractorTarget" ? nullptr : &f.TargetEx;
    };
    if (missing == "DBStructureTarget") f.Veltrane.SetDBStructureTarget(nullptr);
    if (missing == "DBStructureMaster") f.Veltrane.SetDBStructureMaster(nullptr);
    EXPECT_FALSE(f.Veltrane.Extract());
    EXPECT_EQ(f.Errors, std::vector<std::string>{c.Message});
    EXPECT_FALSE(f.Veltrane.CanCompare);
  }
}

TEST(VeltraneExtract, ExceptionsAreReportedNotThrown) {
  TExtractFixture f;
  f.Veltrane.OnBeforeExtract = [](void*) { throw std::runtime_error("handler failed"); };
  EXPECT_FALSE(f.Veltrane.Extract());
  EXPECT_EQ(f.Errors, std::vector<std::string>{"handler failed"});

  TFixture g;
  g.Veltrane.OnAfterCompare = [](void*) { throw std::runtime_error("compare failed"); };
  EXPECT_NO_THROW(g.Veltrane.Compare());
  EXPECT_EQ(g.Errors, std::vector<std::string>{"compare failed"});
  EXPECT_TRUE(g.Veltrane.MsgManager.HasErrors());
  EXPECT_FALSE(g.Master.Objs->UsePartnerServer);
}

TEST(VeltraneExtract, OracleTargetMovesMasterObjectsIntoItsSchema) {
  TExtractFixture f(srvOracle);
  f.TargetEx.Fill = [](TObjs& o) {
    o.ConnectionOptions->DatabaseName = "SCOTT";
    TTblData* t = AddTable(o, "T", {"A"});
    t->SetSchema("SCOTT");
    o.TblList.ReKey();
  };
  f.MasterEx.Fill = [](TObjs& o) { AddTable(o, "T", {"A"}); };
  ASSERT_TRUE(f.Veltrane.Extract());
  TDbObj* m = f.Master.Objs->FindTable("SCOTT.T");
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(m->Schema, "SCOTT");
  EXPECT_EQ(m->Pair, f.Target.Objs->FindTable("SCOTT.T"));
  EXPECT_EQ(f.Veltrane.ConnectionOptions->DatabaseName, "SCOTT");
}

TEST(VeltraneExtract, OracleSchemaFollowsTheTargetDatabaseNameUnlessItIsTheHostName) {
  struct TCase {
    const char* Database;
    const char* Host;
    const char* MasterKey;  // key of the master table after Extract
  };
  const TCase cases[] = {
      {"SCOTT", "", "SCOTT.T"},
      {"", "", "HR.T"},            // no connection: schemas stay
      {"ORCL", "ORCL", "HR.T"},    // the database name is the host's
      {"", "db1", "T"},            // differing names: the (empty) name is the schema
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::string(c.Database) + "@" + c.Host);
    TExtractFixture f(srvOracle);
    f.TargetEx.Fill = [&c](TObjs& o) {
      o.ConnectionOptions->DatabaseName = c.Database;
      o.ConnectionOptions->HostName = c.Host;
    };
    f.MasterEx.Fill = [](TObjs& o) {
      AddTable(o, "T", {"A"})->SetSchema("HR");
      o.TblList.ReKey();
    };
    ASSERT_TRUE(f.Veltrane.Extract());
    EXPECT_NE(f.Master.Objs->FindTable(c.MasterKey), nullptr);
  }
}

TEST(VeltranePairing, KeysFollowTheTargetListsCaseRuleAndFlagsStartRight) {
  TFixture f(srvMSSQL);
  // Names keep their case here, so only the lists' case rule can pair them.
  f.Master.Objs->MSSQLServerOptions->MSSQLCompareOptions->CaseSensitiveIdentifiers = true;
  f.Target.Objs->MSSQLServerOptions->MSSQLCompareOptions->CaseSensitiveIdentifiers = true;
  TTblData* m = AddTable(*f.Master.Objs, "orders", {"id", "extra"});
  AddTable(*f.Master.Objs, "NEWT", {"A"});
  TTblData* t = AddTable(*f.Target.Objs, "ORDERS", {"ID"});
  TTblData* old = AddTable(*f.Target.Objs, "OLD", {"A"});
  f.Veltrane.PairObjects();
  f.Veltrane.SetExistenceFlags();

  EXPECT_EQ(m->Pair, t);
  EXPECT_EQ(t->Pair, m);
  EXPECT_EQ(m->Fields[0]->Pair, t->Fields[0]);
  EXPECT_EQ(m->Fields[1]->Pair, nullptr);
  EXPECT_EQ(old->Pair, nullptr);

  EXPECT_TRUE(m->Exists);
  EXPECT_TRUE(m->Fields[0]->Exists);
  EXPECT_FALSE(m->Fields[1]->Exists);
  EXPECT_FALSE(f.Master.Objs->FindTable("NEWT")->Exists);
  EXPECT_TRUE(old->Exists);
}

TEST(VeltranePairing, CheckOptionCaseDoesNotCountForInterBaseViews) {
  TFixture f;
  auto addView = [](TObjs& o, const std::string& body) {
    auto v = std::make_unique<TViwData>(&o);
    v->SetName("V");
    v->Body = body;
    TViwData* raw = v.get();
    EXPECT_TRUE(o.AddObj(v, true));
    return raw;
  };
  addView(*f.Master.Objs, "SELECT A FROM T WITH CHECK OPTION");
  TViwData* t = addView(*f.Target.Objs, "SELECT A FROM T with check option");
  f.Veltrane.PairObjects();
  EXPECT_EQ(t->Body, "SELECT A FROM T WITH CHECK OPTION");
}

TEST(VeltraneCompare, PhasesRunInSequenceOrder) {
  TFixture f;
  TIBCompareOptions ib;
  ib.UpdateFieldPosition = true;
  f.Veltrane.SetIBCompareOptions(ib);
  TObjs& m = *f.Master.Objs;
  TObjs& t = *f.Target.Objs;
  AddTable(m, "NEWT", {"A"});
  AddTable(m, "T", {"B", "A", "C2"});
  AddTable(t, "T", {"A", "B", "D"});
  AddTable(t, "OLDT", {"A"});
  AddGenerator(m, "G1");
  AddGenerator(t, "G2");

  f.Veltrane.Compare();
  const TStringList lines = f.Render();
  SCOPED_TRACE(Joined(lines));
  const int header = LineOf(lines, "SET AUTODDL ON");
  const int createTable = LineOf(lines, "CREATE TABLE NEWT");
  const int addColumn = LineOf(lines, "ADD C2");
  const int dropColumn = LineOf(lines, "DROP D");
  const int dropTable = LineOf(lines, "DROP TABLE OLDT");
  const int createGen = LineOf(lines, "CREATE GENERATOR G1");
  const int dropGen = LineOf(lines, "DROP GENERATOR G2");
  const int position = LineOf(lines, " POSITION ");
  for (int i : {header, createTable, addColumn, dropColumn, dropTable, createGen, dropGen, position})
    ASSERT_GE(i, 0);
  EXPECT_LT(header, createTable);
  EXPECT_LT(createTable, addColumn);
  EXPECT_LT(addColumn, dropColumn);
  EXPECT_LT(dropColumn, dropTable);
  EXPECT_LT(dropTable, createGen);
  EXPECT_LT(createGen, dropGen);
  EXPECT_LT(dropGen, position);
  EXPECT_FALSE(m.UsePartnerServer);
  EXPECT_EQ(m.SQLExec, f.Veltrane.GetSQLExec());
}

TEST(VeltraneCompare, EmptyCompareObjectsRunsOnlyTheAlwaysPhases) {
  TFixture f;
  AddTable(*f.Master.Objs, "NEWT", {"A"});
  AddGenerator(*f.Master.Objs, "G1");
  AddTable(*f.Target.Objs, "OLDT", {"A"});
  f.Veltrane.CompareObjects = TCmpObjSetType::Empty();
  f.Veltrane.Compare();
  const TStringList lines = f.Render();
  SCOPED_TRACE(Joined(lines));
  EXPECT_GE(LineOf(lines, "SET AUTODDL ON"), 0);
  EXPECT_EQ(LineOf(lines, "TABLE"), -1);
  EXPECT_EQ(LineOf(lines, "GENERATOR"), -1);
}

TEST(VeltraneCompare, KindBitsAndTargetServerGatePhases) {
  struct TCase {
    const char* Name;
    TServerType Type;
    std::vector<TCmpObjType> Kinds;
    bool CharsetCompare;
    std::vector<std::string> Present;
    std::vector<std::string> Absent;
  };
  const TCase cases[] = {
      {"tables only", srvInterBase, {coTable}, false,
       {"CREATE TABLE NEWT", "DROP TABLE OLDT"}, {"GENERATOR", "RDB$CHARACTER_SET_NAME"}},
      {"generators only", srvInterBase, {coGenerator}, false,
       {"CREATE GENERATOR G1", "DROP GENERATOR G2"}, {"TABLE"}},
      {"database charset on an InterBase target", srvInterBase, {}, true,
       {"UPDATE RDB$DATABASE SET RDB$CHARACTER_SET_NAME = 'UTF8'", "SET NAMES UTF8"}, {"TABLE"}},
      {"database charset needs an InterBase target", srvMySQL, {}, true,
       {}, {"RDB$DATABASE", "SET NAMES"}},
      {"schemas are always compared", srvMSSQL, {}, false,
       {"CREATE SCHEMA", "DROP SCHEMA"}, {"TABLE"}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TFixture f(c.Type);
    TObjs& m = *f.Master.Objs;
    TObjs& t = *f.Target.Objs;
    AddTable(m, "NEWT", {"A"});
    AddTable(t, "OLDT", {"A"});
    AddGenerator(m, "G1");
    AddGenerator(t, "G2");
    for (TObjs* o : {&m, &t}) {
      auto sch = std::make_unique<TSchData>(o);
      sch->SetName(o == &m ? "SALES" : "LEGACY");
      EXPECT_TRUE(o->AddObj(sch, true));
    }
    m.IBServerOptions->DBCharSet = "UTF8";
    TIBCompareOptions ib;
    ib.DbCharsetCompare = c.CharsetCompare;
    f.Veltrane.SetIBCompareOptions(ib);
    TCmpObjSetType kinds = TCmpObjSetType::Empty();
    for (TCmpObjType k : c.Kinds) kinds.Include(k);
    f.Veltrane.CompareObjects = kinds;

    f.Veltrane.Compare();
    const TStringList lines = f.Render();
    SCOPED_TRACE(Joined(lines));
    for (const std::string& p : c.Present) EXPECT_GE(LineOf(lines, p), 0) << p;
    for (const std::string& a : c.Absent) EXPECT_EQ(LineOf(lines, a), -1) << a;
    EXPECT_TRUE(f.Errors.empty());
  }
}

TEST(VeltraneCompare, RepeatedCompareGivesTheSameScript) {
  TFixture f;
  AddTable(*f.Master.Objs, "T", {"A", "B"});
  AddTable(*f.Target.Objs, "T", {"A"});
  AddTable(*f.Target.Objs, "OLDT", {"A"});
  f.Veltrane.Compare();
  const TStringList first = f.Render();
  ASSERT_GE(LineOf(first, "ADD B"), 0);
  f.Veltrane.Compare();
  EXPECT_EQ(f.Render(), first);
}

TEST(VeltraneCompare, OwnStatementListGetsTheHandlersAndTheTargetConnection) {
  TFixture f;
  f.Target.Objs->ConnectionOptions->DatabaseName = "target.fdb";
  f.Veltrane.Compare();
  auto* exec = dynamic_cast<TSQLExec*>(f.Veltrane.GetSQLExec());
  ASSERT_NE(exec, nullptr);
  EXPECT_EQ(exec->ConnectionOptions->DatabaseName, "target.fdb");
  exec->DoError("late");
  EXPECT_EQ(f.Errors, (std::vector<std::string>{"late"}));
}

TEST(VeltraneCompare, MissingStructureIsReported) {
  TFixture f;
  f.Veltrane.SetDBStructureTarget(nullptr);
  f.Veltrane.Compare();
  EXPECT_EQ(f.Errors,
            std::vector<std::string>{"TVeltrane(Veltrane): property DBStructureTarget not assigned."});
  EXPECT_EQ(f.Veltrane.GetSQLExec(), nullptr);
}

TEST(VeltraneLinks, StructuresPartnersAndStatementLists) {
  TDBStructure master, target, other;
  TSQLExec linked;
  {
    TVeltrane v;
    v.SetDBStructureMaster(&master);
    v.SetDBStructureTarget(&target);
    EXPECT_EQ(master.Objs->Partner, target.Objs);
    EXPECT_EQ(target.Objs->Partner, master.Objs);
    EXPECT_EQ(master.Objs->Role, 1);
    EXPECT_EQ(target.Objs->Role, 2);

    // Replacing a structure unlinks the old one.
    v.SetDBStructureTarget(&other);
    EXPECT_EQ(target.Objs->Partner, nullptr);
    EXPECT_EQ(master.Objs->Partner, other.Objs);

    // Compare creates its own list; linking another one frees it.
    v.Compare();
    TCustomSQLExec* own = v.GetSQLExec();
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(master.Objs->SQLExec, own);
    v.SetSQLExec(&linked);
    EXPECT_EQ(v.GetSQLExec(), &linked);
    EXPECT_EQ(master.Objs->SQLExec, nullptr);
    v.Compare();
    EXPECT_EQ(master.Objs->SQLExec, &linked);

    // Switching lists leaves no container with the list it no longer tracks.
    {
      TSQLExec shortLived;
      v.SetSQLExec(&shortLived);
      v.Compare();
      EXPECT_EQ(other.Objs->SQLExec, &shortLived);
      v.SetSQLExec(&linked);
      EXPECT_EQ(master.Objs->SQLExec, nullptr);
      EXPECT_EQ(other.Objs->SQLExec, nullptr);
    }
    v.Compare();

    // A component going away is forgotten.
    TFakeExtract ex(srvInterBase, nullptr, "");
    v.ExtractorMaster = &ex;
    v.ExtractorTarget = &ex;
    v.Notification(&ex);
    EXPECT_EQ(v.ExtractorMaster, nullptr);
    EXPECT_EQ(v.ExtractorTarget, nullptr);
    v.Notification(&linked);
    EXPECT_EQ(v.GetSQLExec(), nullptr);
    EXPECT_EQ(master.Objs->SQLExec, nullptr);
    v.Notification(&master);
    EXPECT_EQ(v.GetDBStructureMaster(), nullptr);

    v.SetDBStructureMaster(&master);
    v.SetSQLExec(nullptr);
    v.Compare();
    EXPECT_NE(master.Objs->SQLExec, nullptr);
  }
  // The comparer's own list went with it; no container still points at it.
  EXPECT_EQ(master.Objs->SQLExec, nullptr);
  EXPECT_EQ(other.Objs->SQLExec, nullptr);
}

// The phase table reads like the sequence: every number from 1 to 48, in
// order, and each condition gates its rows.
TEST(VeltranePhases, TableCoversTheSequenceInOrder) {
  int expected = 1;
  for (size_t i = 0; i < ComparePhaseCount; ++i) {
    const int n = ComparePhases[i].Number;
    EXPECT_TRUE(n == expected || n == expected + 1) << ComparePhases[i].Name;
    expected = n;
  }
  EXPECT_EQ(expected, 48);

  TObjs master, target;
  TSQLExec exec;
  TCompareContext ctx(master, target, exec);
  auto applies = [&](const char* name) {
    for (size_t i = 0; i < ComparePhaseCount; ++i)
      if (std::string(ComparePhases[i].Name) == name) return PhaseApplies(ComparePhases[i], ctx);
    ADD_FAILURE() << "no phase " << name;
    return false;
  };
  target.SetServerType(srvMSSQL);
  ctx.CompareObjects = TCmpObjSetType::Empty();
  ctx.CompareObjects.Include(coUnique);
  EXPECT_TRUE(applies("DropConstraints"));      // keys: any key family
  EXPECT_FALSE(applies("CreateTables"));        // a family not compared
  EXPECT_TRUE(applies("DropDefaults"));         // MS SQL target
  EXPECT_FALSE(applies("DropPackages"));        // InterBase or Oracle only
  EXPECT_FALSE(applies("RevokeGrants"));        // no grant family
  EXPECT_TRUE(applies("MatchTables"));          // always
  target.SetServerType(srvOracle);
  EXPECT_TRUE(applies("DropPackages"));
  EXPECT_FALSE(applies("UpdateDatabaseCharset"));
}
