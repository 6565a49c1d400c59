// Indexes: column lists, CREATE and DROP INDEX texts in every dialect, list
// keys, and the drop, create and alter phases on two containers.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "kvtKeysFixture.h"

namespace {

TEST(IndexColumns, ColumnListByDialect) {
  struct Case {
    TServerType Server;
    std::vector<TKeyCol> Cols;
    const char* Expected;
  };
  const Case cases[] = {
      {srvInterBase, {{"A"}, {"B", true}}, "A, B DESC"},
      {srvInterBase, {{"ORDER"}}, "\"ORDER\""},
      // Only MySQL writes prefix lengths; the length goes before the direction.
      {srvMySQL, {{"A", false, 10}, {"B", true, 5}, {"C"}}, "A(10), B(5) DESC, C"},
      {srvMySQL, {{"Name"}}, "`Name`"},
      {srvMSSQL, {{"A", false, 10}, {"order", true}}, "A, [order] DESC"},
      {srvOracle, {{"A", false, -1}}, "A"},
      {srvPostgreSQL, {{"A"}, {"b", true}}, "\"A\", b DESC"},
      {srvMySQL, {}, ""},
  };
  for (const Case& c : cases) {
    TObjs objs;
    objs.SetServerType(c.Server);
    TIdxData idx(&objs);
    AddKeyColumns(objs, idx.Fields, c.Cols);
    EXPECT_EQ(idx.GetColumnList(), c.Expected) << int(c.Server) << " " << c.Expected;
  }
  // A column entry the parser left without its object is written by name.
  TObjs objs;
  objs.SetServerType(srvMySQL);
  TIdxData idx(&objs);
  idx.Fields.Add("A", nullptr);
  EXPECT_EQ(idx.GetColumnList(), "A");
}

TEST(IndexColumns, IncludeListIsQuotedNamesOnly) {
  TObjs objs;
  objs.SetServerType(srvMSSQL);
  TIdxData idx(&objs);
  EXPECT_EQ(idx.GetIncludeList(), "");
  AddKeyColumns(objs, idx.IncludeFields, {{"Order Details", true, 4}, {"C"}});
  EXPECT_EQ(idx.GetIncludeList(), "[Order Details], C");
  EXPECT_EQ(idx.GetColumnList(), "");  // the included columns are not key columns
}

// ---- CREATE INDEX and DROP INDEX ----

struct TIndexTextCase {
  const char* Label;
  TServerType Server;
  std::function<void(TObjs&, TIdxData&)> Setup;
  const char* Create;
  const char* Drop;
};

TEST(IndexText, CreateAndDropByDialect) {
  const std::vector<TIndexTextCase> cases = {
      {"Firebird plain, descending column", srvInterBase,
       [](TObjs& o, TIdxData& i) {
         AddKeyColumns(o, i.Fields, {{"A"}, {"B", true}});
       },
       "CREATE INDEX IX ON T(A, B DESC)", "/* Drop: IX (TIdxData) */\r\nDROP INDEX IX"},
      {"Firebird unique descending", srvInterBase,
       [](TObjs& o, TIdxData& i) {
         i.Unique = true;
         i.Descending = true;
         AddKeyColumns(o, i.Fields, {{"A"}});
       },
       "CREATE UNIQUE DESC INDEX IX ON T(A)", "/* Drop: IX (TIdxData) */\r\nDROP INDEX IX"},
      {"Firebird expression index", srvInterBase,
       [](TObjs&, TIdxData& i) { i.SetBody("(ROUND(VAL, 0))"); },
       "CREATE INDEX IX ON T COMPUTED BY(ROUND(VAL, 0))",
       "/* Drop: IX (TIdxData) */\r\nDROP INDEX IX"},
      {"SQL Anywhere with owner", srvASA,
       [](TObjs& o, TIdxData& i) {
         i.Owner = "DBA";
         AddKeyColumns(o, i.Fields, {{"A"}});
       },
       "CREATE INDEX IX ON DBA.T(A)", "DROP INDEX DBA.T.IX"},
      {"MySQL method, prefix, full text", srvMySQL,
       [](TObjs& o, TIdxData& i) {
         i.Unique = true;
         i.MySQLOptions->Method = "BTREE";
         AddKeyColumns(o, i.Fields, {{"A", true, 10}, {"B"}});
       },
       "CREATE UNIQUE INDEX IX USING BTREE ON T(A(10) DESC, B)", "DROP INDEX IX ON T"},
      {"MySQL spatial", srvMySQL,
       [](TObjs& o, TIdxData& i) {
         i.Spatial = true;
         AddKeyColumns(o, i.Fields, {{"P"}});
       },
       "CREATE SPATIAL INDEX IX ON T(P)", "DROP INDEX IX ON T"},
      {"Oracle with schema and physical clauses", srvOracle,
       [](TObjs& o, TIdxData& i) {
         i.Bitmap = true;
         i.SetSchema("HR");
         i.IndexType = "CTXSYS.CONTEXT";
         i.Parameters = "('SYNC (ON COMMIT)')";
         i.Compress = true;
         i.NoLogging = true;
         i.TablespaceName = "USERS";
         i.TableSpace->PctFree = 10;
         AddKeyColumns(o, i.Fields, {{"A"}});
       },
       "CREATE BITMAP INDEX HR.IX ON HR.T(A)\r\n   INDEXTYPE IS CTXSYS.CONTEXT\r\n"
       "   PARAMETERS ('SYNC (ON COMMIT)')\r\nCOMPRESS\r\nNOLOGGING\r\nTABLESPACE USERS\r\n"
       "pctfree 10",
       "/* Drop: IX (TIdxData) */\r\nDROP INDEX HR.IX"},
      {"Oracle function-based", srvOracle, [](TObjs&, TIdxData& i) { i.SetBody("(UPPER(A))"); },
       "CREATE INDEX IX ON T(UPPER(A))", "/* Drop: IX (TIdxData) */\r\nDROP INDEX IX"},
      {"MS SQL clustered, included, filtered, options, filegroup", srvMSSQL,
       [](TObjs& o, TIdxData& i) {
         i.Unique = true;
         i.Clustered = true;
         i.Schema = "dbo";
         AddKeyColumns(o, i.Fields, {{"A", true}});
         AddKeyColumns(o, i.IncludeFields, {{"B"}, {"C"}});
         i.Where = "A > 0";
         i.WithClause = "WITH (FILLFACTOR = 80)";
         i.FileGroup = "PRIMARY";
       },
       "CREATE UNIQUE CLUSTERED INDEX IX ON dbo.T(A DESC)\r\n  INCLUDE (B, C)\r\nWHERE A > 0\r\n"
       "   WITH (FILLFACTOR = 80)\r\nON [PRIMARY]",
       "DROP INDEX dbo.T.IX"},
      {"MS SQL primary XML", srvMSSQL,
       [](TObjs& o, TIdxData& i) {
         i.PrimaryXml = true;
         i.Xml = true;
         AddKeyColumns(o, i.Fields, {{"X"}});
       },
       "CREATE PRIMARY XML INDEX IX ON T(X)", "DROP INDEX T.IX"},
      {"PostgreSQL with schema", srvPostgreSQL,
       [](TObjs& o, TIdxData& i) {
         i.SetName("ix");
         i.TableName = "t";
         i.SetSchema("public");
         AddKeyColumns(o, i.Fields, {{"a"}});
       },
       "CREATE INDEX ix ON public.t(a)", "DROP INDEX public.ix"},
      // Without a schema there is nothing to put before the name.
      {"PostgreSQL without schema", srvPostgreSQL,
       [](TObjs& o, TIdxData& i) {
         i.SetName("ix");
         i.TableName = "t";
         AddKeyColumns(o, i.Fields, {{"a"}});
       },
       "CREATE INDEX ix ON t(a)", "DROP INDEX ix"},
      {"DB2 reverse scans after the storage text", srvDB2,
       [](TObjs& o, TIdxData& i) {
         i.AllowReverseScans = true;
         i.TableSpace->PctFree = 5;
         AddKeyColumns(o, i.Fields, {{"A"}});
       },
       "CREATE INDEX IX ON T(A)\r\npctfree 5\r\n  ALLOW REVERSE SCANS",
       "/* Drop: IX (TIdxData) */\r\nDROP INDEX IX"},
      {"Sybase ASE", srvASE, [](TObjs& o, TIdxData& i) { AddKeyColumns(o, i.Fields, {{"A"}}); },
       "CREATE INDEX IX ON T(A)", "DROP INDEX T.IX"},
  };
  for (const TIndexTextCase& c : cases) {
    TObjs objs;
    objs.SetServerType(c.Server);
    TIdxData idx(&objs);
    idx.SetName("IX");
    idx.TableName = "T";
    c.Setup(objs, idx);
    EXPECT_EQ(idx.GetCreateSQL(), c.Create) << c.Label;
    EXPECT_EQ(idx.GetDropSQL(), c.Drop) << c.Label;
  }
}

TEST(IndexText, ListKeyAndActivity) {
  TObjs mysql, mssql, ib;
  mysql.SetServerType(srvMySQL);
  mssql.SetServerType(srvMSSQL);
  ib.SetServerType(srvInterBase);
  // MySQL index names are per table: two tables may both have an index ix.
  TIdxData* a = AddIndex(mysql, "ix", "a", {{"x"}});
  TIdxData* b = AddIndex(mysql, "ix", "b", {{"x"}});
  ASSERT_TRUE(a && b);
  EXPECT_EQ(a->GetListKey(), "a.ix");
  EXPECT_EQ(mysql.FindIndex("b.ix"), b);

  TIdxData* m = AddIndex(mssql, "IX", "T", {{"A"}});
  m->Schema = "dbo";
  EXPECT_EQ(m->GetListKey(), "dbo.T.IX");

  TIdxData* i = AddIndex(ib, "IX", "T", {{"A"}});
  EXPECT_EQ(i->GetListKey(), "IX");
  EXPECT_EQ(i->GetActivitySQL(false), "ALTER INDEX IX INACTIVE");
  EXPECT_EQ(i->GetActivitySQL(true), "ALTER INDEX IX ACTIVE");
  // Only InterBase/Firebird knows inactive indexes.
  EXPECT_EQ(m->GetActivitySQL(false), "");
}

// ---- Phases ----

class IndexPhases : public testing::Test {
 protected:
  IndexPhases() : Db(srvInterBase) {}
  TTwoDbs Db;
};

TEST_F(IndexPhases, NewVanishedChangedAndInactive) {
  AddTable(Db.Master, "T", {{"A"}, {"B"}, {"C"}});
  AddTable(Db.Target, "T", {{"A"}, {"B"}, {"C"}});
  TIdxData* added = AddIndex(Db.Master, "IX_NEW", "T", {{"A"}});
  added->Active = false;
  AddIndex(Db.Master, "IX_CHG", "T", {{"A"}, {"B"}});
  AddIndex(Db.Master, "IX_ACT", "T", {{"C"}})->Active = false;
  AddIndex(Db.Master, "IX_SAME", "T", {{"B", true}});
  AddIndex(Db.Target, "IX_OLD", "T", {{"C"}});
  AddIndex(Db.Target, "IX_CHG", "T", {{"A"}});
  TIdxData* act = AddIndex(Db.Target, "IX_ACT", "T", {{"C"}});
  AddIndex(Db.Target, "IX_SAME", "T", {{"B", true}});
  Db.PairObjects();
  Db.RunPhase(14);
  Db.RunPhase(28);
  EXPECT_EQ(Db.Script(),
            "/* Drop Index... */\n"
            "/* Drop: IX_OLD (TIdxData) */\n"
            "DROP INDEX IX_OLD;\n"
            "\n"
            "\n"
            "/* Create index... */\n"
            "CREATE INDEX IX_NEW ON T(A);\n"
            "\n"
            "ALTER INDEX IX_NEW INACTIVE;\n"
            "\n"
            "\n"
            "/* Alter index (Drop, Create)... */\n"
            "ALTER INDEX IX_ACT INACTIVE;\n"
            "\n"
            "/* Drop: IX_CHG (TIdxData) */\n"
            "DROP INDEX IX_CHG;\n"
            "\n"
            "CREATE INDEX IX_CHG ON T(A, B);\n"
            "\n");
  EXPECT_FALSE(act->Active);  // the target now has the master's state
  EXPECT_TRUE(added->GetExists());

  // Nothing is left to do on a second pass.
  Db.Exec.Clear();
  Db.RunPhase(14);
  Db.RunPhase(28);
  EXPECT_EQ(Db.Exec.Count(), 0);
}

TEST_F(IndexPhases, DescriptionsGoWithCreatedIndexes) {
  AddTable(Db.Master, "T", {{"A"}, {"B"}});
  AddTable(Db.Target, "T", {{"A"}, {"B"}});
  AddIndex(Db.Master, "IX_NEW", "T", {{"A"}})->SetDescription("new");
  // Re-created: the server forgets the description with the old index.
  AddIndex(Db.Master, "IX_CHG", "T", {{"B"}})->SetDescription("kept");
  AddIndex(Db.Target, "IX_CHG", "T", {{"A"}})->SetDescription("kept");
  // Unchanged but for its description.
  AddIndex(Db.Master, "IX_DSC", "T", {{"A"}, {"B"}})->SetDescription("now");
  AddIndex(Db.Target, "IX_DSC", "T", {{"A"}, {"B"}});
  Db.PairObjects();
  Db.RunPhase(28);
  const int create = StatementWith(Db.Exec, "CREATE INDEX IX_NEW");
  EXPECT_EQ(Db.Exec.GetStatement(create + 1)->Kind, skDescription);
  const int recreate = StatementWith(Db.Exec, "CREATE INDEX IX_CHG");
  EXPECT_EQ(Db.Exec.GetStatement(recreate + 1)->Kind, skDescription);
  EXPECT_EQ(StatementsWith(Db.Exec, "WHERE RDB$INDEX_NAME = 'IX_DSC'"), 1) << Db.Script();
}

TEST_F(IndexPhases, IndexGoneWithItsColumnIsCreatedOnce) {
  AddTable(Db.Master, "T", {{"A"}, {"B"}});
  AddTable(Db.Target, "T", {{"A"}, {"B"}, {"C"}});
  AddIndex(Db.Master, "IX", "T", {{"A"}});
  AddIndex(Db.Target, "IX", "T", {{"C"}});
  Db.PairObjects();
  for (int phase : {14, 21, 22, 28}) Db.RunPhase(phase);
  const std::string script = Db.Script();
  const int drop = StatementWith(Db.Exec, "DROP INDEX IX");
  const int dropColumn = StatementWith(Db.Exec, "ALTER TABLE T DROP C");
  const int create = StatementWith(Db.Exec, "CREATE INDEX IX ON T(A)");
  ASSERT_GE(drop, 0) << script;
  EXPECT_LT(drop, dropColumn) << script;  // the index goes before its column
  EXPECT_LT(dropColumn, create) << script;
  EXPECT_EQ(StatementsWith(Db.Exec, "DROP INDEX IX"), 1) << script;
  EXPECT_EQ(StatementsWith(Db.Exec, "CREATE INDEX IX"), 1) << script;
}

TEST_F(IndexPhases, VanishedIndexOfVanishedTableIsDroppedOnce) {
  AddTable(Db.Target, "OLD", {{"A"}});
  AddIndex(Db.Target, "IX_OLD", "OLD", {{"A"}});
  Db.PairObjects();
  Db.RunPhase(14);
  Db.RunPhase(22);
  const std::string script = Db.Script();
  EXPECT_EQ(StatementsWith(Db.Exec, "DROP INDEX IX_OLD"), 1) << script;
  EXPECT_LT(StatementWith(Db.Exec, "DROP INDEX IX_OLD"), StatementWith(Db.Exec, "DROP TABLE OLD"));
}

TEST_F(IndexPhases, NewIndexOnNewTableFollowsTheTable) {
  AddTable(Db.Master, "T", {{"A"}});
  AddIndex(Db.Master, "IX", "T", {{"A"}});
  Db.PairObjects();
  Db.RunPhase(28);  // the index asks for its table
  EXPECT_LT(StatementWith(Db.Exec, "CREATE TABLE T"), StatementWith(Db.Exec, "CREATE INDEX IX"));
}

TEST(IndexPhasesMSSQL, DefinitionsDifferingInCaseAreEqual) {
  TTwoDbs db(srvMSSQL);
  db.Master.MSSQLServerOptions->MSSQLCompareOptions->CaseSensitiveIdentifiers = true;
  db.Target.MSSQLServerOptions->MSSQLCompareOptions->CaseSensitiveIdentifiers = true;
  AddTable(db.Master, "T", {{"a"}});
  AddTable(db.Target, "T", {{"A"}});
  AddIndex(db.Master, "IX", "T", {{"a"}});
  AddIndex(db.Target, "IX", "T", {{"A"}});
  db.PairObjects();
  db.RunPhase(28);
  EXPECT_EQ(db.Exec.Count(), 0) << db.Script();
}

TEST(IndexPhasesMySQL, IndexesOfANewTableAreWrittenWithIt) {
  TTwoDbs db(srvMySQL);
  AddTable(db.Master, "t", {{"a"}, {"b"}});
  AddTable(db.Master, "u", {{"a"}});
  AddTable(db.Target, "u", {{"a"}});
  AddIndex(db.Master, "ix", "t", {{"a"}});
  AddIndex(db.Master, "ix", "u", {{"a", true}});  // same name on another table
  db.PairObjects();
  db.RunPhase(20);
  db.RunPhase(28);
  EXPECT_EQ(db.Script(),
            "/* Create Table... */\n"
            "CREATE TABLE `t`(`a` INTEGER,\n"
            "`b` INTEGER,\n"
            "KEY `ix` (`a`));\n"
            "\n"
            "\n"
            "\n"
            "/* Create index... */\n"
            "CREATE INDEX `ix` ON `u`(`a` DESC);\n"
            "\n");
}

// The server keeps a table's keys in the order they were added (unique ones
// first) and lists them so: what is created goes after what stays, so every
// index after the first one that does not stay is created again in the
// master's order.
TEST(IndexPhasesMySQL, IndexesAreCreatedAgainInTheMastersOrder) {
  struct TCase {
    const char* Name;
    // Master and target index names of table t in order; "~" marks the target
    // index that differs from the master's, "*" one the server made for a
    // foreign key that was dropped in the run.
    std::vector<std::string> Master, Target;
    const char* Expected;  // the statements, "; "-separated
  };
  const TCase cases[] = {
      {"one changed in the middle", {"a", "b", "c"}, {"a", "~b", "c"},
       "DROP INDEX `b` ON `t`; CREATE INDEX `b` ON `t`(`x`); "
       "DROP INDEX `c` ON `t`; CREATE INDEX `c` ON `t`(`x`)"},
      {"new one before kept ones", {"n", "a"}, {"a"},
       "CREATE INDEX `n` ON `t`(`x`); DROP INDEX `a` ON `t`; CREATE INDEX `a` ON `t`(`x`)"},
      {"new one last", {"a", "n"}, {"a"}, "CREATE INDEX `n` ON `t`(`x`)"},
      {"target in another order", {"a", "b"}, {"b", "a"},
       "DROP INDEX `b` ON `t`; CREATE INDEX `b` ON `t`(`x`)"},
      {"unique ones sort apart", {"a", "U"}, {"U", "a"}, ""},
      {"foreign key index moves", {"f", "a"}, {"*f", "a"},
       "DROP INDEX `f` ON `t`; CREATE INDEX `f` ON `t`(`x`); "
       "DROP INDEX `a` ON `t`; CREATE INDEX `a` ON `t`(`x`)"},
      {"all in place", {"a", "b"}, {"a", "b"}, ""},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TTwoDbs db(srvMySQL);
    AddTable(db.Master, "t", {{"x"}, {"y"}});
    AddTable(db.Target, "t", {{"x"}, {"y"}});
    AddTable(db.Target, "r", {{"x"}});
    auto add = [](TObjs& objs, std::string name, int32_t sequence) {
      const bool changed = name[0] == '~', forKey = name[0] == '*';
      if (changed || forKey) name.erase(0, 1);
      TIdxData* i = AddIndex(objs, name, "t", {{changed ? "y" : "x"}});
      i->Sequence = sequence;
      i->Unique = name == "U";
      if (forKey) {
        i->ForForeignKey = true;
        AddConstraint(objs, ctForeignKey, name, "t", {{"x"}}, "r", {{"x"}})->SetExists(false);
      }
    };
    for (size_t i = 0; i < c.Master.size(); ++i) add(db.Master, c.Master[i], int32_t(i) + 1);
    for (size_t i = 0; i < c.Target.size(); ++i) add(db.Target, c.Target[i], int32_t(i) + 1);
    db.PairObjects();
    for (const auto& e : db.Target.CtrList) e.Obj->SetExists(false);  // dropped earlier
    db.RunPhase(28);
    std::string got;
    for (int i = 0; i < db.Exec.Count(); ++i) {
      const TStatement* st = db.Exec.GetStatement(i);
      if (st->Kind != skStatement) continue;
      if (!got.empty()) got += "; ";
      std::string text = st->GetText();
      while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
      got += text;
    }
    EXPECT_EQ(got, c.Expected);
  }
}

}  // namespace
