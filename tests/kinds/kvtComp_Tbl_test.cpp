// Table, schema and publication texts, and the table comparison phases run on
// two containers.
#include <gtest/gtest.h>

#include "kinds/kvtComp_Ctr.h"
#include "kinds/kvtComp_Idx.h"
#include "kinds/kvtComp_Viw.h"
#include "kvtKindsFixture.h"

namespace {

// ---- CREATE TABLE texts ----

TEST(TableText, InterBase) {
  TObjs objs;
  objs.SetServerType(srvInterBase);
  TTblData* t = AddTable(objs, "T",
                         {{"ID", dtInteger, 0, false},
                          {"NAME", dtVarchar, 20},
                          {"CALC", dtInteger, 0, true, "(ID * 2)"}});
  EXPECT_EQ(
      t->GetCreateSQL(),
      "CREATE TABLE T(ID INTEGER NOT NULL,\r\nNAME VARCHAR(20),\r\nCALC COMPUTED BY (ID * 2))");
  t->SetComputedPass(true);
  EXPECT_EQ(t->GetCreateSQL(), "CREATE TABLE T(ID INTEGER NOT NULL,\r\nNAME VARCHAR(20))");
  EXPECT_EQ(t->GetDropSQL(), "DROP TABLE T");

  TTblData* ext = AddTable(objs, "EXT", {{"A", dtChar, 10}});
  ext->ExternalFile = "c:\\data\\ext.dat";
  ext->GlobalTemporary = true;
  ext->OnCommit = ocPreserveRows;
  EXPECT_EQ(ext->GetCreateSQL(),
            "CREATE GLOBAL TEMPORARY TABLE EXT\r\nEXTERNAL FILE 'c:\\data\\ext.dat'\r\n"
            "(A CHAR(10))\r\n ON COMMIT PRESERVE ROWS");

  TTblData* empty = AddTable(objs, "E", {});
  EXPECT_EQ(empty->GetCreateSQL(), "CREATE TABLE E");
}

TEST(TableText, OraclePhysicalClauses) {
  TObjs objs;
  objs.SetServerType(srvOracle);
  TTblData* t = AddTable(objs, "T", {{"ID", dtNumber}});
  t->Schema = "HR";
  t->TableSpace->PctFree = 10;
  t->TablespaceName = "USERS";
  t->NoLogging = true;
  t->Cluster = "CL";
  t->ClusterColumns = "(ID)";
  t->PartitionBy = "(ID)";
  t->PartitionList = "(PARTITION P1 VALUES LESS THAN (10))";
  EXPECT_EQ(t->GetCreateSQL(),
            "CREATE TABLE HR.T(ID NUMBER)\r\npctfree 10\r\nTABLESPACE USERS\r\nNOLOGGING\r\n"
            "CLUSTER CL(ID)\r\nPARTITION BY RANGE (ID) (PARTITION P1 VALUES LESS THAN (10))");
  EXPECT_EQ(t->GetDropSQL(), "DROP TABLE HR.T");

  TTblData* gt = AddTable(objs, "G", {{"A", dtNumber}});
  gt->GlobalTemporary = true;
  gt->OnCommit = ocDeleteRows;
  EXPECT_EQ(gt->GetCreateSQL(),
            "CREATE GLOBAL TEMPORARY TABLE G(A NUMBER)\r\n ON COMMIT DELETE ROWS");
}

TEST(TableText, OnCommitDeleteRowsNotForSQLAnywhere) {
  TObjs objs;
  objs.SetServerType(srvASA);
  TTblData* t = AddTable(objs, "T", {{"A"}});
  t->Owner = "U1";
  t->GlobalTemporary = true;
  t->OnCommit = ocDeleteRows;
  EXPECT_EQ(t->GetCreateSQL(), "CREATE GLOBAL TEMPORARY TABLE U1.T(A INTEGER NULL)");
}

TEST(TableText, MySQLInlineKeysAndOptions) {
  TObjs objs;
  objs.SetServerType(srvMySQL);
  TTblData* t = AddTable(objs, "T", {{"ID", dtInteger, 0, false}});
  t->MySQLOptions->Engine = "InnoDB";
  t->MySQLOptions->DefaultCharset = "utf8";
  EXPECT_EQ(t->GetCreateSQL(),
            "CREATE TABLE T(ID INTEGER NOT NULL)\r\nENGINE=InnoDB\r\nDEFAULT CHARSET=utf8");

  TTblData* full =
      AddTable(objs, "F", {{"ID", dtInteger, 0, false}, {"NAME", dtVarchar, 40}, {"BODY", dtText}});
  auto ctr = [&](const char* table, const char* name, uint8_t type,
                 std::initializer_list<const char*> cols) {
    auto c = std::make_unique<TCtrData>(&objs);
    c->SetName(name);
    c->SetConstraintType(type);
    c->TableName = table;
    for (const char* col : cols) c->Fields.Add(col, nullptr);
    TCtrData* raw = c.get();
    EXPECT_TRUE(objs.AddObj(c, true)) << name;
    return raw;
  };
  auto index = [&](const char* table, const char* name, const char* col, int32_t length,
                   int32_t sortOrder) {
    auto i = std::make_unique<TIdxData>(&objs);
    i->SetName(name);
    i->TableName = table;
    auto f = std::make_unique<TFldData>(&objs, nullptr);
    f->SetName(col);
    f->Length = length;
    f->SortOrder = sortOrder;
    i->Fields.Add(col, std::move(f));
    TIdxData* raw = i.get();
    EXPECT_TRUE(objs.AddObj(i, true)) << name;
    return raw;
  };
  TCtrData* pk = ctr("F", "PK_F", ctPrimaryKey, {"ID"});
  TCtrData* uq = ctr("F", "", ctUnique, {"NAME"});
  uq->IndexName = "UQ_NAME";  // MySQL "UNIQUE UQ_NAME (NAME)"
  ctr("F", "UQ_BOTH", ctUnique, {"ID", "NAME"});
  ctr("F", "FK_F", ctForeignKey, {"ID"})->RefTableName = "T";  // foreign keys are not inline
  ctr("T", "PK_T", ctPrimaryKey, {"ID"});
  TIdxData* ix = index("F", "IX_F", "NAME", 10, 2);
  ix->Unique = true;
  ix->MySQLOptions->Method = "BTREE";
  TIdxData* ft = index("F", "FT_F", "BODY", 0, 0);
  ft->Fulltext = true;
  index("T", "IX_T", "ID", 0, 0);

  full->MySQLOptions->Engine = "InnoDB";
  EXPECT_EQ(full->GetCreateSQL(),
            "CREATE TABLE F(ID INTEGER NOT NULL,\r\n"
            "NAME VARCHAR(40),\r\n"
            "BODY TEXT,\r\n"
            "CONSTRAINT PK_F PRIMARY KEY(ID),\r\n"
            "UNIQUE UQ_NAME(NAME),\r\n"
            "CONSTRAINT UQ_BOTH UNIQUE(ID, NAME),\r\n"
            "UNIQUE KEY IX_F USING BTREE (NAME(10) DESC),\r\n"
            "FULLTEXT KEY FT_F (BODY))\r\n"
            "ENGINE=InnoDB");
  EXPECT_EQ(t->GetCreateSQL(),
            "CREATE TABLE T(ID INTEGER NOT NULL,\r\n"
            "CONSTRAINT PK_T PRIMARY KEY(ID),\r\n"
            "KEY IX_T (ID))\r\n"
            "ENGINE=InnoDB\r\n"
            "DEFAULT CHARSET=utf8");

  // Creating the table makes the inline keys exist, so their phases skip them.
  TSQLExec exec;
  objs.SQLExec = &exec;
  full->Exists = false;
  pk->Exists = uq->Exists = false;
  ix->Exists = ft->Exists = false;
  full->CreateDependDef();
  EXPECT_TRUE(full->GetExists());
  EXPECT_TRUE(pk->GetExists() && uq->GetExists());
  EXPECT_TRUE(ix->GetExists() && ft->GetExists());

  // A table without columns has no key list: its keys are left to their phases.
  TTblData* bare = AddTable(objs, "B", {});
  auto bk = std::make_unique<TCtrData>(&objs);
  bk->SetName("PK_B");
  bk->SetConstraintType(ctPrimaryKey);
  bk->TableName = "B";
  TCtrData* bkRaw = bk.get();
  objs.AddObj(bk, true);
  bare->Exists = false;
  bkRaw->Exists = false;
  EXPECT_EQ(bare->GetCreateSQL(), "CREATE TABLE B");
  bare->CreateDependDef();
  EXPECT_TRUE(bare->GetExists());
  EXPECT_FALSE(bkRaw->GetExists());
  objs.SQLExec = nullptr;
}

TEST(TableText, SchemaAndPublication) {
  TObjs objs;
  objs.SetServerType(srvMSSQL);
  TSchData s(&objs);
  s.SetName("SALES");
  EXPECT_EQ(s.GetCreateSQL(), "CREATE SCHEMA SALES");
  s.SchemaOwner = "BOSS";
  EXPECT_EQ(s.GetCreateSQL(), "CREATE SCHEMA SALES AUTHORIZATION BOSS");
  s.SchemaOwner = "SALES";
  EXPECT_EQ(s.GetCreateSQL(), "CREATE SCHEMA SALES");
  EXPECT_EQ(s.GetDropSQL(), "DROP SCHEMA SALES");

  TObjs asa;
  asa.SetServerType(srvASA);
  TPblData p(&asa);
  p.SetName("PUB");
  p.Owner = "U1";
  auto a2 = std::make_unique<TPblArtData>();
  a2->TableOwner = "U1";
  a2->TableName = "ORDERS";
  a2->Columns.Add("ID", nullptr);
  a2->Columns.Add("TOTAL", nullptr);
  auto a1 = std::make_unique<TPblArtData>();
  a1->TableOwner = "U1";
  a1->TableName = "CUSTOMERS";
  p.AddArticle("ORDERS", std::move(a2));
  p.AddArticle("CUSTOMERS", std::move(a1));  // articles are kept sorted
  EXPECT_EQ(p.GetCreateSQL(),
            "CREATE PUBLICATION U1.PUB (\r\n    TABLE U1.CUSTOMERS, \r\n"
            "    TABLE U1.ORDERS(ID, TOTAL)\r\n)");
  EXPECT_EQ(p.GetDropSQL(), "DROP PUBLICATION U1.PUB");
}

// ---- Phases ----

class TablePhases : public testing::Test {
 protected:
  TablePhases() : Db(srvInterBase) {}
  TTwoDbs Db;
};

TEST_F(TablePhases, NewTableGetsComputedColumnsAfterItsCreate) {
  AddTable(Db.Master, "T", {{"A"}, {"B"}, {"C", dtInteger, 0, true, "(A + B)"}});
  Db.PairObjects();
  MatchTables(Db.Ctx);
  CreateTables(Db.Ctx);
  EXPECT_EQ(Db.Script(),
            "/* Create Table... */\n"
            "CREATE TABLE T(A INTEGER,\n"
            "B INTEGER);\n"
            "\n"
            "\n"
            "ALTER TABLE T ADD C COMPUTED BY (A + B);\n"
            "\n"
            "");
  TTblData* t = Db.Master.FindTable("T");
  for (const auto& e : t->Fields) EXPECT_TRUE(e.Obj->GetExists()) << e.Name;
  EXPECT_FALSE(t->ComputedPass);

  // A second run of the phases finds nothing left to do.
  Db.Exec.Clear();
  CreateTables(Db.Ctx);
  CreateColumns(Db.Ctx);
  EXPECT_EQ(Db.Exec.Count(), 0);
}

TEST_F(TablePhases, DescriptionsOfNewTableAndColumns) {
  TTblData* t = AddTable(Db.Master, "T", {{"A"}, {"C", dtInteger, 0, true, "(A * 2)"}});
  t->SetDescription("table note");
  t->Fields[0]->SetDescription("a note");
  t->Fields[1]->SetDescription("c note");
  Db.PairObjects();
  CreateTables(Db.Ctx);
  int described = 0;
  for (int i = 0; i < Db.Exec.Count(); ++i)
    if (Db.Exec.GetStatement(i)->Kind == skDescription) ++described;
  EXPECT_EQ(described, 3);  // each description once
}

TEST_F(TablePhases, NewColumnOfExistingTable) {
  AddTable(Db.Master, "CUSTOMER", {{"ID"}, {"PHONE", dtVarchar, 20}});
  AddTable(Db.Target, "CUSTOMER", {{"ID"}});
  Db.PairObjects();
  MatchTables(Db.Ctx);
  CreateTables(Db.Ctx);
  CreateColumns(Db.Ctx);
  EXPECT_EQ(Db.Script(), "ALTER TABLE CUSTOMER ADD PHONE VARCHAR(20);\n");
  const TStatement* st = Db.Exec.GetStatement(0);
  EXPECT_EQ(st->ObjType, dboField);
  EXPECT_EQ(st->Action, saCreate);
  EXPECT_EQ(st->ParentName, "CUSTOMER");
  EXPECT_TRUE(Db.Master.FindTable("CUSTOMER")->Changed);
  EXPECT_TRUE(Db.Target.FindTable("CUSTOMER")->Changed);
}

TEST_F(TablePhases, DroppedColumnAndTable) {
  AddTable(Db.Master, "T", {{"A"}});
  AddTable(Db.Target, "T", {{"A"}, {"OLD_COL"}});
  AddTable(Db.Target, "GONE", {{"X"}});
  Db.PairObjects();
  MatchTables(Db.Ctx);
  DropColumnsAndTables(Db.Ctx);
  EXPECT_EQ(Db.Script(),
            "/* Drop table-fields... */\n"
            "ALTER TABLE T DROP OLD_COL;\n"
            "\n"
            "\n"
            "/* Drop tables... */\n"
            "DROP TABLE GONE;\n"
            "\n"
            "");
  EXPECT_TRUE(Db.Master.FindTable("T")->Changed);
  EXPECT_FALSE(Db.Target.FindTable("GONE")->GetExists());
  EXPECT_FALSE(Db.Target.FindTable("GONE")->Fields[0]->GetExists());
}

TEST_F(TablePhases, DroppedColumnTakesItsUsersFirst) {
  AddTable(Db.Master, "T", {{"B"}});
  TTblData* t = AddTable(Db.Target, "T", {{"A"}, {"B"}, {"C", dtInteger, 0, true, "(A + 1)"}});
  TFldData* a = t->Fields[0];
  TFldData* c = t->Fields[2];
  AddDependency(&Db.Target, c, a, "", 0, 0);
  auto view = std::make_unique<TViwData>(&Db.Target);
  view->SetName("V");
  TViwData* v = view.get();
  Db.Target.AddObj(view, true);
  AddDependency(&Db.Target, v, t, "", 0, 0);
  Db.PairObjects();
  DropColumnsAndTables(Db.Ctx);
  // Position of the drop statement of an object in the list.
  auto dropOf = [this](TDbObject kind, const char* name) {
    for (int i = 0; i < Db.Exec.Count(); ++i) {
      const TStatement* st = Db.Exec.GetStatement(i);
      if (st->ObjType == kind && st->ObjName == name && st->Action == saDrop) return i;
    }
    return -1;
  };
  const std::string script = Db.Script();
  EXPECT_EQ(script.find("/* Drop table-fields... */\n/* Drop T(C) for drop T(A) */\n"), 0u)
      << script;
  const int dropV = dropOf(dboView, "V"), dropC = dropOf(dboField, "C"),
            dropA = dropOf(dboField, "A");
  ASSERT_GE(dropV, 0) << script;
  EXPECT_LT(dropV, dropC) << script;  // the view reading the table goes first
  EXPECT_LT(dropC, dropA) << script;
  EXPECT_EQ(Db.Exec.GetStatement(dropC)->GetText(), "ALTER TABLE T DROP C\r\n");
  EXPECT_EQ(script.find("DROP C;", script.find("DROP A;")), std::string::npos);  // once only
  EXPECT_FALSE(v->GetExists());
  EXPECT_FALSE(a->GetExists());
  EXPECT_FALSE(c->GetExists());
}

TEST_F(TablePhases, ColumnGoneWithItsTableIsNotDroppedAgain) {
  AddTable(Db.Master, "T", {{"A"}});
  TTblData* t = AddTable(Db.Target, "T", {{"A"}, {"B"}});
  Db.PairObjects();
  t->Fields[1]->Exists = false;  // already dropped earlier in the script
  DropColumnsAndTables(Db.Ctx);
  EXPECT_EQ(Db.Exec.Count(), 0);
}

TEST_F(TablePhases, MasterTableIsNeverDropped) {
  AddTable(Db.Master, "KEEP", {{"A"}});
  AddTable(Db.Target, "KEEP", {{"A"}});
  // Not paired: the pairing did not link them, yet the name is the master's.
  DropColumnsAndTables(Db.Ctx);
  EXPECT_EQ(Db.Exec.Count(), 0);
  EXPECT_TRUE(Db.Target.FindTable("KEEP")->GetExists());
}

TEST_F(TablePhases, ColumnOrderRestoredOnFirebird) {
  AddTable(Db.Master, "T", {{"A"}, {"B"}, {"C"}});
  AddTable(Db.Target, "T", {{"B"}, {"A"}, {"C"}});
  Db.Target.IBServerOptions->SQLServerVersion = st_Firebird_25;
  Db.PairObjects();
  MatchTables(Db.Ctx);
  Db.RunPhase(21);
  TTblData* m = Db.Master.FindTable("T");
  ASSERT_TRUE(m->Changed);
  RestoreColumnOrder(Db.Ctx);
  EXPECT_EQ(Db.Script(),
            "ALTER TABLE T ALTER COLUMN A POSITION 1;\n\n"
            "ALTER TABLE T ALTER COLUMN B POSITION 2;\n\n"
            "ALTER TABLE T ALTER COLUMN C POSITION 3;\n");
  EXPECT_FALSE(m->Changed);
  EXPECT_EQ(Db.Exec.GetStatement(0)->ObjType, dboField);
  EXPECT_EQ(Db.Exec.GetStatement(0)->ObjName, "A");
}

TEST_F(TablePhases, ColumnOrderOnOldInterBaseUsesSystemTables) {
  AddTable(Db.Master, "T", {{"A"}, {"B"}});
  AddTable(Db.Target, "T", {{"B"}, {"A"}});
  Db.Target.IBServerOptions->SQLServerVersion = st_InterBase_5x;
  Db.PairObjects();
  MatchTables(Db.Ctx);
  Db.RunPhase(21);
  RestoreColumnOrder(Db.Ctx);
  ASSERT_EQ(Db.Exec.Count(), 2);
  EXPECT_EQ(Db.Exec.GetStatement(1)->GetText(),
            "UPDATE RDB$RELATION_FIELDS SET RDB$FIELD_POSITION = 2\r\n"
            " WHERE RDB$RELATION_NAME = 'T' AND RDB$FIELD_NAME = 'B'\r\n");
}

TEST_F(TablePhases, ColumnOrderCheckNeedsTheSameColumns) {
  AddTable(Db.Master, "SAME", {{"A"}, {"B"}});
  AddTable(Db.Target, "SAME", {{"A"}, {"B"}});
  AddTable(Db.Master, "RENAMED", {{"A"}, {"B"}});
  AddTable(Db.Target, "RENAMED", {{"X"}, {"A"}});
  Db.PairObjects();
  CheckColumnOrder(Db.Ctx);
  EXPECT_FALSE(Db.Master.FindTable("SAME")->Changed);
  EXPECT_FALSE(Db.Master.FindTable("RENAMED")->Changed);  // a missing column ends the check

  Db.Target.IBServerOptions->IBCompareOptions->UpdateFieldPosition = false;
  Db.Master.FindTable("SAME")->Changed = true;
  RestoreColumnOrder(Db.Ctx);
  EXPECT_EQ(Db.Exec.Count(), 0);
}

TEST_F(TablePhases, GlobalTemporaryToggleDropsAndCreates) {
  TTblData* m = AddTable(Db.Master, "T", {{"A"}});
  m->GlobalTemporary = true;
  m->OnCommit = ocPreserveRows;
  AddTable(Db.Target, "T", {{"A"}});
  auto idx = std::make_unique<TIdxData>(&Db.Target);
  idx->SetName("IX_T");
  idx->TableName = "T";
  TIdxData* ix = idx.get();
  Db.Target.AddObj(idx, true);
  Db.PairObjects();
  MatchTables(Db.Ctx);
  EXPECT_FALSE(m->Unchanged);
  AlterTables(Db.Ctx);
  const std::string script = Db.Script();
  const size_t dropIdx = script.find("DROP INDEX IX_T;");
  const size_t drop = script.find("DROP TABLE T;");
  const size_t create =
      script.find("CREATE GLOBAL TEMPORARY TABLE T(A INTEGER)\n ON COMMIT PRESERVE ROWS;");
  ASSERT_NE(drop, std::string::npos) << script;
  ASSERT_NE(create, std::string::npos) << script;
  EXPECT_LT(dropIdx, drop) << script;  // what lives on the table goes first
  EXPECT_LT(drop, create);
  EXPECT_FALSE(ix->GetExists());
  EXPECT_TRUE(m->GetExists());
  EXPECT_TRUE(m->Fields[0]->GetExists());
}

TEST_F(TablePhases, MatchDecidesColumnSameness) {
  struct {
    const char* Label;
    std::function<void(TFldData&, TFldData&)> Change;
    bool Same;
  } cases[] = {
      {"identical", [](TFldData&, TFldData&) {}, true},
      {"length", [](TFldData& m, TFldData&) { m.Length = 30; }, false},
      {"nullability", [](TFldData& m, TFldData&) { m.Nullable = false; }, false},
      {"default", [](TFldData& m, TFldData&) { m.DefaultValue = "'x'"; }, false},
      {"quoted default forms",
       [](TFldData& m, TFldData& t) {
         m.DefaultValue = "\"x\"";
         t.DefaultValue = "'x'";
       },
       true},
      {"computed expression",
       [](TFldData& m, TFldData& t) {
         m.SetBody("(A)");
         t.SetBody("(B)");
       },
       false},
      // The master renders with the target's options: a dialect-1 target has only DATE.
      {"timestamp against dialect-1 date",
       [](TFldData& m, TFldData& t) {
         m.DataType = dtTimestamp;
         t.DataType = dtDate;
         t.Objs->IBServerOptions->SQLDialect = 1;
       },
       true},
      {"domains",
       [](TFldData& m, TFldData& t) {
         m.DataType = t.DataType = dtDomain;
         m.DomainName = "D1";
         t.DomainName = "D1";
         m.Nullable = false;  // the domain decides
       },
       true},
  };
  for (const auto& c : cases) {
    TTwoDbs db(srvInterBase);
    TTblData* m = AddTable(db.Master, "T", {{"A", dtVarchar, 20}});
    TTblData* t = AddTable(db.Target, "T", {{"A", dtVarchar, 20}});
    c.Change(*m->Fields[0], *t->Fields[0]);
    db.PairObjects();
    MatchTables(db.Ctx);
    EXPECT_EQ(m->Fields[0]->SameDefinition, c.Same) << c.Label;
    EXPECT_EQ(m->Unchanged, c.Same) << c.Label;
    EXPECT_TRUE(m->InBoth);
    EXPECT_TRUE(m->Fields[0]->Matched && t->Fields[0]->Matched);
  }
}

TEST_F(TablePhases, MatchSetsPositionsAndMissingColumns) {
  TTblData* m = AddTable(Db.Master, "T", {{"A"}, {"B"}});
  TTblData* t = AddTable(Db.Target, "T", {{"B"}});
  Db.PairObjects();
  MatchTables(Db.Ctx);
  EXPECT_FALSE(m->Unchanged);
  EXPECT_FALSE(m->Fields[0]->Matched);
  EXPECT_EQ(m->Fields[0]->OtherPosition, -1);
  EXPECT_EQ(m->Fields[1]->OtherPosition, 0);
  EXPECT_EQ(t->Fields[0]->OtherPosition, 1);
}

TEST(TablePhasesMySQL, EngineAndCharsetChanges) {
  TTwoDbs db(srvMySQL);
  TTblData* m = AddTable(db.Master, "T", {{"A"}});
  TTblData* t = AddTable(db.Target, "T", {{"A"}});
  m->MySQLOptions->Engine = "InnoDB";
  t->MySQLOptions->Engine = "MyISAM";
  m->MySQLOptions->DefaultCharset = "utf8mb4";
  t->MySQLOptions->DefaultCharset = "latin1";
  db.PairObjects();
  MatchTables(db.Ctx);
  AlterTables(db.Ctx);
  // One statement: a new engine may refuse an old row format and the like.
  EXPECT_EQ(db.Script(), "ALTER TABLE T ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;\n");

  // A table leaving Aria loses the PAGE_CHECKSUM Aria gave it only by a
  // statement of its own after the engine change.
  TTwoDbs aria(srvMySQL);
  m = AddTable(aria.Master, "T", {{"A"}});
  t = AddTable(aria.Target, "T", {{"A"}});
  m->MySQLOptions->Engine = "InnoDB";
  t->MySQLOptions->Engine = "Aria";
  t->MySQLOptions->RowFormat = "PAGE";
  aria.PairObjects();
  MatchTables(aria.Ctx);
  AlterTables(aria.Ctx);
  EXPECT_EQ(aria.Script(),
            "ALTER TABLE T ENGINE=InnoDB ROW_FORMAT=DEFAULT;\n\n"
            "ALTER TABLE T PAGE_CHECKSUM=DEFAULT;\n");
}

TEST(TablePhasesMySQL, NewTableCarriesItsKeys) {
  TTwoDbs db(srvMySQL);
  AddTable(db.Master, "T", {{"ID", dtInteger, 0, false}});
  auto pk = std::make_unique<TCtrData>(&db.Master);
  pk->SetConstraintType(ctPrimaryKey);
  pk->TableName = "T";
  pk->SetName("PK_T");
  pk->Fields.Add("ID", nullptr);
  TCtrData* key = pk.get();
  db.Master.AddObj(pk, true);
  db.PairObjects();
  key->Exists = false;
  CreateTables(db.Ctx);
  EXPECT_EQ(db.Script(),
            "/* Create Table... */\n"
            "CREATE TABLE T(ID INTEGER NOT NULL,\n"
            "CONSTRAINT PK_T PRIMARY KEY(ID));\n"
            "\n\n");
  EXPECT_TRUE(key->GetExists());
}

TEST(TablePhasesMySQL, NormalisationFillsOneSidedOptions) {
  TTwoDbs db(srvMySQL);
  TTblData* m = AddTable(db.Master, "T", {{"A"}});
  TTblData* t = AddTable(db.Target, "T", {{"A"}});
  m->MySQLOptions->Engine = "InnoDB";
  t->MySQLOptions->DefaultCollate = "utf8_bin";
  db.PairObjects();
  NormalizeTables(db.Master, db.Target);
  EXPECT_EQ(t->MySQLOptions->Engine, "InnoDB");
  EXPECT_EQ(m->MySQLOptions->DefaultCollate, "utf8_bin");
  MatchTables(db.Ctx);
  EXPECT_TRUE(m->Unchanged);
}

TEST(TablePhasesOracle, NormalisationOfPhysicalAttributes) {
  TTwoDbs db(srvOracle);
  TTblData* m = AddTable(db.Master, "T", {{"A", dtNumber}});
  TTblData* t = AddTable(db.Target, "T", {{"A", dtNumber}});
  m->TableSpace->PctFree = 10;
  t->TableSpace->MaxTrans = 5;
  m->TablespaceName = "USERS";
  t->Storage = "(INITIAL 64K)";
  db.PairObjects();
  NormalizeTables(db.Master, db.Target);
  EXPECT_EQ(t->TableSpace->PctFree, 10);
  EXPECT_EQ(m->TableSpace->MaxTrans, 5);
  EXPECT_TRUE(m->TablespaceName.empty());
  EXPECT_TRUE(t->Storage.empty());
  EXPECT_EQ(m->GetCreateSQL(), t->GetCreateSQL());
}

TEST(PublicationPhases, ChangedPublicationIsDroppedAndCreated) {
  TTwoDbs db(srvASA);
  auto add = [](TObjs& objs, const char* name, const char* table) {
    auto p = std::make_unique<TPblData>(&objs);
    p->SetName(name);
    p->Owner = "U1";
    auto a = std::make_unique<TPblArtData>();
    a->TableOwner = "U1";
    a->TableName = table;
    p->AddArticle(table, std::move(a));
    TPblData* raw = p.get();
    objs.AddObj(p, true);
    return raw;
  };
  TPblData* m = add(db.Master, "P", "NEW_T");
  TPblData* t = add(db.Target, "P", "OLD_T");
  add(db.Target, "GONE", "X");
  m->Pair = t;
  t->Pair = m;
  DropPublications(db.Ctx);
  AlterPublications(db.Ctx);
  CreatePublications(db.Ctx);
  EXPECT_EQ(db.Script(),
            "DROP PUBLICATION U1.GONE;\n\n"
            "DROP PUBLICATION U1.P;\n\n"
            "CREATE PUBLICATION U1.P (\n    TABLE U1.NEW_T\n);\n");
}

TEST(SchemaPhases, CreateAndDropOnlyWhereSchemasExist) {
  for (TServerType st : {srvPostgreSQL, srvInterBase}) {
    TTwoDbs db(st);
    auto add = [](TObjs& objs, const char* name) {
      auto s = std::make_unique<TSchData>(&objs);
      s->SetName(name);
      objs.AddObj(s, true);
    };
    add(db.Master, "public");
    add(db.Master, "sales");
    add(db.Target, "archive");
    for (const auto& e : db.Master.SchList) e.Obj->Exists = false;
    CreateSchemas(db.Ctx);
    DropSchemas(db.Ctx);
    if (st == srvPostgreSQL)
      EXPECT_EQ(db.Script(), "CREATE SCHEMA sales;\n\nDROP SCHEMA archive;\n");
    else
      EXPECT_EQ(db.Exec.Count(), 0);
  }
}

}  // namespace
