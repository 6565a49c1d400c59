// Constraints: the type setter, the table-name setters, the column lists, the
// inline clause, the ADD and DROP texts in every dialect, list keys, and the
// drop and create phases with the walks that order keys and foreign keys.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "kvtKeysFixture.h"

namespace {

void AddNames(TNamedObjList<TFldData>& list, std::initializer_list<const char*> names) {
  for (const char* n : names) list.Add(n, nullptr);
}

TEST(ConstraintData, TypeSetsTheObjectKind) {
  const std::pair<uint8_t, TDbObject> cases[] = {
      {ctPrimaryKey, dboPKey}, {ctUnique, dboUnique},   {ctForeignKey, dboFKey},
      {ctCheck, dboCheck},     {ctDefault, dboDefault}, {ctReferences, dboReferences},
  };
  for (auto [type, kind] : cases) {
    TCtrData c(nullptr);
    c.SetConstraintType(type);
    EXPECT_EQ(c.ConstraintType, type);
    EXPECT_EQ(c.ObjType, kind) << int(type);
  }
  // Type 6 (Oracle NOT NULL) and the unused 4 keep the kind they had.
  for (uint8_t type : {uint8_t{4}, uint8_t{ctNotNull}}) {
    TCtrData c(nullptr);
    c.SetConstraintType(ctCheck);
    c.SetConstraintType(type);
    EXPECT_EQ(c.ConstraintType, type);
    EXPECT_EQ(c.ObjType, dboCheck);
  }
}

TEST(ConstraintData, TableNamesFollowTheMSSQLCaseRule) {
  TObjs mssql;
  mssql.SetServerType(srvMSSQL);
  TCtrData c(&mssql);
  c.SetTableName("Orders");
  c.SetRefTableName("Customers");
  c.SetRefSchema("dbo");
  EXPECT_EQ(c.TableName, "ORDERS");
  EXPECT_EQ(c.RefTableName, "CUSTOMERS");
  EXPECT_EQ(c.RefSchema, "DBO");

  mssql.MSSQLServerOptions->MSSQLCompareOptions->CaseSensitiveIdentifiers = true;
  c.SetTableName("Orders");
  EXPECT_EQ(c.TableName, "Orders");

  TObjs ib;
  ib.SetServerType(srvInterBase);
  TCtrData d(&ib);
  d.SetRefTableName("Customers");
  EXPECT_EQ(d.RefTableName, "Customers");
}

TEST(ConstraintData, ColumnListsAreQuotedNames) {
  TObjs objs;
  objs.SetServerType(srvMSSQL);
  TCtrData c(&objs);
  EXPECT_EQ(c.GetColumnList(), "");
  AddNames(c.Fields, {"A", "order"});
  AddNames(c.RefFields, {"Order Details"});
  EXPECT_EQ(c.GetColumnList(), "A, [order]");
  EXPECT_EQ(c.GetRefColumnList(), "[Order Details]");
}

// One inline clause: the constraint is built by `setup` in a container of
// `Server`; `Ods` is the target database's on-disk structure (InterBase).
struct TInlineCase {
  const char* Label;
  TServerType Server;
  std::function<void(TCtrData&)> Setup;
  const char* Expected;
  bool Single = false;
  int Ods = 0;
};

TEST(ConstraintData, InlineTextByKindDialectAndAttributes) {
  auto fk = [](TCtrData& c) {
    c.SetConstraintType(ctForeignKey);
    AddNames(c.Fields, {"A"});
    c.RefTableName = "T";
    AddNames(c.RefFields, {"ID"});
  };
  const std::vector<TInlineCase> cases = {
      {"IB named FK with actions", srvInterBase,
       [&](TCtrData& c) {
         fk(c);
         c.SetName("FK_A");
         c.OnUpdate = raCascade;
         c.OnDelete = raSetNull;
       },
       "CONSTRAINT FK_A FOREIGN KEY (A) REFERENCES T (ID) ON UPDATE CASCADE ON DELETE SET NULL"},
      {"IB FK on ODS 8 drops its actions", srvInterBase,
       [&](TCtrData& c) {
         fk(c);
         c.OnDelete = raCascade;
       },
       "FOREIGN KEY (A) REFERENCES T (ID)", false, 8},
      {"IB FK on ODS 10 keeps them", srvInterBase,
       [&](TCtrData& c) {
         fk(c);
         c.OnDelete = raSetDefault;
         c.IndexName = "IX_FK";
       },
       "FOREIGN KEY (A) REFERENCES T (ID) ON DELETE SET DEFAULT\r\nUSING INDEX IX_FK", false, 10},
      {"IB PK with a descending index", srvInterBase,
       [](TCtrData& c) {
         c.SetConstraintType(ctPrimaryKey);
         AddNames(c.Fields, {"ID", "ORDER"});
         c.IndexName = "PK_IDX";
         c.DescIndex = true;
       },
       "PRIMARY KEY (ID, \"ORDER\")\r\nUSING DESC INDEX PK_IDX"},
      {"ASA FK with role, owner and CHECK ON COMMIT", srvASA,
       [&](TCtrData& c) {
         fk(c);
         c.RoleName = "R1";
         c.RefTableOwner = "DBA";
         c.OnDelete = raRestrict;
         c.CheckOnCommit = true;
       },
       "FOREIGN KEY R1 (A) REFERENCES DBA.T (ID) ON DELETE RESTRICT CHECK ON COMMIT"},
      {"ASA clustered PK", srvASA,
       [](TCtrData& c) {
         c.SetConstraintType(ctPrimaryKey);
         AddNames(c.Fields, {"ID"});
         c.Clustered = true;
       },
       "PRIMARY KEY CLUSTERED (ID)"},
      {"MSSQL FK with schema, not for replication", srvMSSQL,
       [&](TCtrData& c) {
         fk(c);
         c.SetName("FK");
         c.RefSchema = "dbo";
         c.NotForReplication = true;
       },
       "CONSTRAINT FK FOREIGN KEY (A) REFERENCES dbo.T (ID) NOT FOR REPLICATION"},
      {"MSSQL PK not clustered", srvMSSQL,
       [](TCtrData& c) {
         c.SetConstraintType(ctPrimaryKey);
         AddNames(c.Fields, {"ID"});
         c.IndexName = "ON [PRIMARY]";
       },
       "PRIMARY KEY NONCLUSTERED (ID) ON [PRIMARY]"},
      {"MSSQL clustered PK and unique", srvMSSQL,
       [](TCtrData& c) {
         c.SetConstraintType(ctUnique);
         AddNames(c.Fields, {"A", "B"});
         c.Clustered = true;
       },
       "UNIQUE CLUSTERED (A, B)"},
      {"MSSQL default after its column", srvMSSQL,
       [](TCtrData& c) {
         c.SetConstraintType(ctDefault);
         c.SetName("DF_A");
         AddNames(c.Fields, {"A"});
         c.SetBody("(0)");
       },
       "CONSTRAINT DF_A DEFAULT (0)", true},
      {"MSSQL default for a column", srvMSSQL,
       [](TCtrData& c) {
         c.SetConstraintType(ctDefault);
         c.SetName("DF_A");
         AddNames(c.Fields, {"A"});
         c.SetBody("(0)");
       },
       "CONSTRAINT DF_A DEFAULT (0) FOR A"},
      {"ASE default of no column", srvASE,
       [](TCtrData& c) {
         c.SetConstraintType(ctDefault);
         c.SetBody("getdate()");
       },
       "DEFAULT getdate()", true},
      {"MSSQL check not for replication", srvMSSQL,
       [](TCtrData& c) {
         c.SetConstraintType(ctCheck);
         c.SetBody("(A > 0)");
         c.NotForReplication = true;
       },
       "CHECK NOT FOR REPLICATION (A > 0)"},
      {"MySQL unique key name, no index clause", srvMySQL,
       [](TCtrData& c) {
         c.SetConstraintType(ctUnique);
         c.SetName("Name");
         AddNames(c.Fields, {"A"});
         c.IndexName = "UQ_A";
       },
       "CONSTRAINT `Name` UNIQUE UQ_A (A)"},
      {"PostgreSQL FK with match and deferral", srvPostgreSQL,
       [&](TCtrData& c) {
         fk(c);
         c.SetSchema("public");
         c.MatchType = mtPartial;
         c.Deferrable = true;
         c.InitiallyDeferred = true;
       },
       "FOREIGN KEY (\"A\") REFERENCES public.\"T\" (\"ID\") MATCH PARTIAL DEFERRABLE INITIALLY "
       "DEFERRED"},
      {"Oracle check deferred, with storage", srvOracle,
       [](TCtrData& c) {
         c.SetConstraintType(ctCheck);
         c.SetName("CK");
         c.SetBody("(A > 0)");
         c.DeferrableInitiallyDeferred = true;
         c.TableSpace->PctFree = 10;
       },
       "CONSTRAINT CK CHECK (A > 0)\r\nDEFERRABLE INITIALLY DEFERRED\r\npctfree 10"},
      {"Oracle FK without schema: table alone", srvOracle, [&](TCtrData& c) { fk(c); },
       "FOREIGN KEY (A) REFERENCES T (ID)"},
      {"column REFERENCES form", srvInterBase,
       [](TCtrData& c) {
         c.SetConstraintType(ctReferences);
         c.RefTableName = "T";
         AddNames(c.RefFields, {"ID"});
       },
       "REFERENCES T(ID)"},
      {"column REFERENCES form with its column is a foreign key", srvOracle,
       [](TCtrData& c) {
         c.SetConstraintType(ctReferences);
         AddNames(c.Fields, {"A"});
         c.RefTableName = "T";
         AddNames(c.RefFields, {"ID"});
       },
       "FOREIGN KEY (A) REFERENCES T (ID)"},
      {"REFERENCES without columns", srvMySQL,
       [](TCtrData& c) {
         c.SetConstraintType(ctReferences);
         c.RefTableName = "T";
       },
       "REFERENCES T"},
  };
  for (const TInlineCase& tc : cases) {
    TObjs objs;
    objs.SetServerType(tc.Server);
    objs.Role = 2;  // the target: its own database options decide
    objs.IBServerOptions->IBDatabaseOptions->ODSMajor = tc.Ods;
    TCtrData c(&objs);
    tc.Setup(c);
    EXPECT_EQ(c.GetInlineSQL(tc.Single), tc.Expected) << tc.Label;
  }
}

// A master constraint renders for the target: the actions depend on the
// target database's on-disk structure, not on the master's.
TEST(ConstraintData, InterBaseActionsFollowTheTargetDatabase) {
  TTwoDbs db(srvInterBase);
  db.Master.IBServerOptions->IBDatabaseOptions->ODSMajor = 11;
  db.Target.IBServerOptions->IBDatabaseOptions->ODSMajor = 8;
  TCtrData c(&db.Master);
  c.Fields.Add("A", nullptr);
  c.RefTableName = "T";
  c.OnDelete = raCascade;
  EXPECT_EQ(c.GetInlineSQL(false), "FOREIGN KEY (A) REFERENCES T");
  db.Target.IBServerOptions->IBDatabaseOptions->ODSMajor = 0;
  EXPECT_EQ(c.GetInlineSQL(false), "FOREIGN KEY (A) REFERENCES T ON DELETE CASCADE");
}

// ---- ALTER TABLE ... ADD and the removal texts ----

struct TAlterCase {
  const char* Label;
  TServerType Server;
  std::function<void(TObjs&, TCtrData&)> Setup;
  const char* Add;
  const char* Drop;
};

// The removal of an unnamed Firebird constraint: the name the server gave it
// is looked up, and the constraint dropped under that name.
std::string FirebirdBlock(const std::string& table, const std::string& from,
                          const std::string& where) {
  return "EXECUTE BLOCK AS\r\n"
         "DECLARE VARIABLE N VARCHAR(63);\r\n"
         "BEGIN\r\n"
         "  SELECT FIRST 1 RC.RDB$CONSTRAINT_NAME FROM RDB$RELATION_CONSTRAINTS RC" +
         from + "\r\n  WHERE RC.RDB$RELATION_NAME = '" + table +
         "' AND RC.RDB$CONSTRAINT_TYPE = " + where +
         "\r\n  INTO :N;\r\n  IF (N IS NOT NULL) THEN EXECUTE STATEMENT 'ALTER TABLE " + table +
         " DROP CONSTRAINT ' || TRIM(N);\r\nEND";
}

TEST(ConstraintText, AddAndDropByKindDialectAndAttributes) {
  auto key = [](uint8_t type, const char* name, const std::vector<TKeyCol>& cols) {
    return [=](TObjs& o, TCtrData& c) {
      c.SetConstraintType(type);
      c.SetName(name);
      AddKeyColumns(o, c.Fields, cols);
    };
  };
  auto fk = [](const char* name) {
    return [=](TObjs& o, TCtrData& c) {
      c.SetConstraintType(ctForeignKey);
      c.SetName(name);
      AddKeyColumns(o, c.Fields, {{"DEPT_ID"}});
      c.SetRefTableName("DEPT");
      AddKeyColumns(o, c.RefFields, {{"ID"}});
    };
  };
  auto check = [](const char* name, const char* body) {
    return [=](TObjs&, TCtrData& c) {
      c.SetConstraintType(ctCheck);
      c.SetName(name);
      c.SetBody(body);
    };
  };
  auto on = [](TIBSQLServerVersionType v, std::function<void(TObjs&, TCtrData&)> f) {
    return [=](TObjs& o, TCtrData& c) {
      o.IBServerOptions->SQLServerVersion = v;
      f(o, c);
    };
  };
  const std::string segments =
      "\r\n    AND (SELECT COUNT(*) FROM RDB$INDEX_SEGMENTS S WHERE S.RDB$INDEX_NAME = "
      "RC.RDB$INDEX_NAME) = 1"
      "\r\n    AND EXISTS (SELECT 1 FROM RDB$INDEX_SEGMENTS S WHERE S.RDB$INDEX_NAME = "
      "RC.RDB$INDEX_NAME AND S.RDB$FIELD_POSITION = 0 AND S.RDB$FIELD_NAME = 'DEPT_ID')";
  const std::string fbFk =
      "/* drop constraint: ALTER TABLE EMP ADD FOREIGN KEY (DEPT_ID) REFERENCES DEPT (ID) */\r\n" +
      FirebirdBlock("EMP", "",
                    "'FOREIGN KEY'" + segments +
                        "\r\n    AND EXISTS (SELECT 1 FROM RDB$REF_CONSTRAINTS F JOIN "
                        "RDB$RELATION_CONSTRAINTS P ON P.RDB$CONSTRAINT_NAME = F.RDB$CONST_NAME_UQ "
                        "WHERE F.RDB$CONSTRAINT_NAME = RC.RDB$CONSTRAINT_NAME AND "
                        "P.RDB$RELATION_NAME = 'DEPT')");
  const std::string fbCheck =
      "/* drop constraint: ALTER TABLE EMP ADD CHECK (ID > 0\r\n AND ID < 9) */\r\n" +
      FirebirdBlock("EMP",
                    "\r\n  JOIN RDB$CHECK_CONSTRAINTS CC ON CC.RDB$CONSTRAINT_NAME = "
                    "RC.RDB$CONSTRAINT_NAME\r\n  JOIN RDB$TRIGGERS TR ON TR.RDB$TRIGGER_NAME = "
                    "CC.RDB$TRIGGER_NAME",
                    "'CHECK'\r\n    AND UPPER(SUBSTRING(TR.RDB$TRIGGER_SOURCE FROM 1 FOR 5)) = "
                    "'CHECK'\r\n    AND TRIM(REPLACE(SUBSTRING(TR.RDB$TRIGGER_SOURCE FROM 6), "
                    "ASCII_CHAR(13), '')) = '(ID > 0' || ASCII_CHAR(10) || ' AND ID < 9)'");
  const std::string fbUnique =
      "/* drop constraint: ALTER TABLE EMP ADD UNIQUE (CODE)\r\nUSING INDEX UX */\r\n" +
      FirebirdBlock("EMP", "", "'UNIQUE'\r\n    AND RC.RDB$INDEX_NAME = 'UX'");
  const std::string fbPk = "/* drop constraint: ALTER TABLE EMP ADD PRIMARY KEY (ID) */\r\n" +
                           FirebirdBlock("EMP", "", "'PRIMARY KEY'");
  const std::string myFk =
      "/* drop constraint: ALTER TABLE EMP ADD FOREIGN KEY (DEPT_ID) REFERENCES DEPT (ID) */\r\n"
      "SET @kvt_drop = (SELECT COALESCE(MAX(CONCAT('ALTER TABLE EMP DROP FOREIGN KEY `', "
      "REPLACE(k.N, '`', '``'), '`')), 'DO 0') FROM (SELECT CONSTRAINT_NAME AS N FROM "
      "information_schema.KEY_COLUMN_USAGE WHERE TABLE_SCHEMA = DATABASE() AND TABLE_NAME = 'EMP' "
      "AND REFERENCED_TABLE_NAME = 'DEPT' GROUP BY CONSTRAINT_NAME HAVING GROUP_CONCAT(COLUMN_NAME "
      "ORDER BY ORDINAL_POSITION) = 'DEPT_ID') k);\r\n"
      "PREPARE kvt_drop FROM @kvt_drop;\r\n"
      "EXECUTE kvt_drop;\r\n"
      "DEALLOCATE PREPARE kvt_drop";
  const std::string myUnique =
      "/* drop constraint: ALTER TABLE EMP ADD UNIQUE (A, B) */\r\n"
      "SET @kvt_drop = (SELECT COALESCE(MAX(CONCAT('ALTER TABLE EMP DROP INDEX `', "
      "REPLACE(k.N, '`', '``'), '`')), 'DO 0') FROM (SELECT INDEX_NAME AS N FROM "
      "information_schema.STATISTICS WHERE TABLE_SCHEMA = DATABASE() AND TABLE_NAME = 'EMP' AND "
      "NON_UNIQUE = 0 AND INDEX_NAME <> 'PRIMARY' GROUP BY INDEX_NAME HAVING "
      "GROUP_CONCAT(COLUMN_NAME ORDER BY SEQ_IN_INDEX) = 'A,B') k);\r\n"
      "PREPARE kvt_drop FROM @kvt_drop;\r\n"
      "EXECUTE kvt_drop;\r\n"
      "DEALLOCATE PREPARE kvt_drop";

  const std::vector<TAlterCase> cases = {
      {"Firebird named key", srvInterBase, key(ctPrimaryKey, "PK_EMP", {{"ID"}}),
       "ALTER TABLE EMP ADD CONSTRAINT PK_EMP PRIMARY KEY (ID)",
       "ALTER TABLE EMP DROP CONSTRAINT PK_EMP"},
      {"Firebird unnamed primary key", srvInterBase,
       on(st_Firebird_30, key(ctPrimaryKey, "", {{"ID"}})), "ALTER TABLE EMP ADD PRIMARY KEY (ID)",
       fbPk.c_str()},
      {"Firebird unnamed foreign key", srvInterBase, on(st_Firebird_30, fk("")),
       "ALTER TABLE EMP ADD FOREIGN KEY (DEPT_ID) REFERENCES DEPT (ID)", fbFk.c_str()},
      {"Firebird unnamed unique with its index", srvInterBase,
       on(st_Firebird_25,
          [&](TObjs& o, TCtrData& c) {
            key(ctUnique, "", {{"CODE"}})(o, c);
            c.IndexName = "UX";
          }),
       "ALTER TABLE EMP ADD UNIQUE (CODE)\r\nUSING INDEX UX", fbUnique.c_str()},
      {"Firebird unnamed check over two lines", srvInterBase,
       on(st_Firebird_30, check("", "(ID > 0\n AND ID < 9)")),
       "ALTER TABLE EMP ADD CHECK (ID > 0\r\n AND ID < 9)", fbCheck.c_str()},
      {"InterBase unnamed primary key: system table", srvInterBase,
       on(st_InterBase_75, key(ctPrimaryKey, "", {{"ID"}})), "ALTER TABLE EMP ADD PRIMARY KEY (ID)",
       "/* drop constraint: ALTER TABLE EMP ADD PRIMARY KEY (ID) */\r\n"
       "Delete from Rdb$Relation_Constraints\r\nwhere Rdb$Relation_Name = 'EMP'\r\n"
       "and Rdb$Constraint_Type = 'PRIMARY KEY'"},
      {"Firebird 2.0 unnamed check: a note", srvInterBase,
       on(st_Firebird_20, check("", "(ID > 0)")), "ALTER TABLE EMP ADD CHECK (ID > 0)",
       "/* drop constraint: ALTER TABLE EMP ADD CHECK (ID > 0) */"},
      {"InterBase unnamed check: a note", srvInterBase, on(st_InterBase_75, check("", "(ID > 0)")),
       "ALTER TABLE EMP ADD CHECK (ID > 0)",
       "/* drop constraint: ALTER TABLE EMP ADD CHECK (ID > 0) */"},
      {"SQL Anywhere named, with owner", srvASA,
       [&](TObjs& o, TCtrData& c) {
         check("CK", "(ID > 0)")(o, c);
         c.Owner = "DBA";
       },
       "ALTER TABLE DBA.EMP ADD CONSTRAINT CK CHECK (ID > 0)",
       "ALTER TABLE DBA.EMP DROP CONSTRAINT CK"},
      {"SQL Anywhere unnamed unique", srvASA, key(ctUnique, "", {{"A"}, {"B"}}),
       "ALTER TABLE EMP ADD UNIQUE (A, B)",
       "/* drop constraint: ALTER TABLE EMP ADD UNIQUE (A, B) */\r\nALTER TABLE EMP DROP UNIQUE(A, "
       "B)"},
      {"SQL Anywhere unnamed foreign key by role", srvASA,
       [&](TObjs& o, TCtrData& c) {
         fk("")(o, c);
         c.RoleName = "R";
       },
       "ALTER TABLE EMP ADD FOREIGN KEY R (DEPT_ID) REFERENCES DEPT (ID)",
       "/* drop constraint: ALTER TABLE EMP ADD FOREIGN KEY R (DEPT_ID) REFERENCES DEPT (ID) */\r\n"
       "ALTER TABLE EMP DROP FOREIGN KEY R"},
      {"SQL Anywhere unnamed check", srvASA, check("", "(ID > 0)"),
       "ALTER TABLE EMP ADD CHECK (ID > 0)",
       "/* drop constraint: ALTER TABLE EMP ADD CHECK (ID > 0) */\r\nALTER TABLE EMP DROP CHECK"},
      {"MySQL primary key", srvMySQL, key(ctPrimaryKey, "", {{"ID"}}),
       "ALTER TABLE EMP ADD PRIMARY KEY (ID)", "ALTER TABLE EMP DROP PRIMARY KEY"},
      // The index of "CONSTRAINT UQ UNIQUE UX (...)" is named UX.
      {"MySQL unique: its index", srvMySQL,
       [&](TObjs& o, TCtrData& c) {
         key(ctUnique, "UQ", {{"A"}})(o, c);
         c.IndexName = "UX";
       },
       "ALTER TABLE EMP ADD CONSTRAINT UQ UNIQUE UX (A)", "ALTER TABLE EMP DROP INDEX UX"},
      {"MySQL named unique", srvMySQL, key(ctUnique, "UQ", {{"A"}}),
       "ALTER TABLE EMP ADD CONSTRAINT UQ UNIQUE (A)", "ALTER TABLE EMP DROP INDEX UQ"},
      {"MySQL unnamed unique: looked up", srvMySQL, key(ctUnique, "", {{"A"}, {"B"}}),
       "ALTER TABLE EMP ADD UNIQUE (A, B)", myUnique.c_str()},
      {"MySQL named foreign key", srvMySQL, fk("FK_EMP"),
       "ALTER TABLE EMP ADD CONSTRAINT FK_EMP FOREIGN KEY (DEPT_ID) REFERENCES DEPT (ID)",
       "ALTER TABLE EMP DROP FOREIGN KEY FK_EMP"},
      {"MySQL unnamed foreign key: looked up", srvMySQL, fk(""),
       "ALTER TABLE EMP ADD FOREIGN KEY (DEPT_ID) REFERENCES DEPT (ID)", myFk.c_str()},
      {"MySQL named check", srvMySQL, check("CK", "(ID > 0)"),
       "ALTER TABLE EMP ADD CONSTRAINT CK CHECK (ID > 0)", "ALTER TABLE EMP DROP CONSTRAINT CK"},
      {"Oracle NOT NULL", srvOracle,
       [&](TObjs& o, TCtrData& c) {
         key(ctNotNull, "NN_A", {{"A"}})(o, c);
         c.SetSchema("HR");
       },
       "ALTER TABLE HR.EMP MODIFY (A CONSTRAINT NN_A NOT NULL)",
       "ALTER TABLE HR.EMP DROP CONSTRAINT NN_A"},
      {"MS SQL default for its column", srvMSSQL,
       [&](TObjs& o, TCtrData& c) {
         key(ctDefault, "DF_A", {{"A"}})(o, c);
         c.Schema = "dbo";
         c.SetBody("(0)");
       },
       "ALTER TABLE dbo.EMP ADD CONSTRAINT DF_A DEFAULT (0) FOR A",
       "ALTER TABLE dbo.EMP DROP CONSTRAINT DF_A"},
      {"MS SQL server-named key, table needing brackets", srvMSSQL,
       [&](TObjs& o, TCtrData& c) {
         key(ctPrimaryKey, "PK__ORDER__1A2B3C4D", {{"ID"}})(o, c);
         c.SetTableName("ORDER");
         EXPECT_TRUE(c.DetectAutoName());
       },
       "ALTER TABLE [ORDER] ADD PRIMARY KEY NONCLUSTERED (ID)",
       "ALTER TABLE [ORDER] DROP CONSTRAINT PK__ORDER__1A2B3C4D"},
      {"PostgreSQL unnamed: a note", srvPostgreSQL, check("", "(id > 0)"),
       "ALTER TABLE \"EMP\" ADD CHECK (id > 0)",
       "/* drop constraint: ALTER TABLE \"EMP\" ADD CHECK (id > 0) */"},
      {"column REFERENCES form", srvASE,
       [&](TObjs& o, TCtrData& c) {
         fk("FK")(o, c);
         c.SetConstraintType(ctReferences);
       },
       "ALTER TABLE EMP ADD CONSTRAINT FK FOREIGN KEY (DEPT_ID) REFERENCES DEPT (ID)",
       "ALTER TABLE EMP DROP CONSTRAINT FK"},
  };
  for (const TAlterCase& tc : cases) {
    TObjs objs;
    objs.SetServerType(tc.Server);
    TCtrData c(&objs);
    c.SetTableName("EMP");
    tc.Setup(objs, c);
    EXPECT_EQ(c.GetCreateSQL(), tc.Add) << tc.Label;
    EXPECT_EQ(c.GetDropSQL(), tc.Drop) << tc.Label;
  }
}

TEST(ConstraintText, ListKeys) {
  TObjs ib1, ib3, mysql;
  ib1.SetServerType(srvInterBase);
  ib3.SetServerType(srvInterBase);
  ib1.IBServerOptions->SQLDialect = 1;
  mysql.SetServerType(srvMySQL);
  AddTable(ib3, "ORDER", {{"ID"}, {"QTY"}});
  AddTable(ib3, "ITEM", {{"ID"}, {"QTY"}});
  // Unnamed constraints of different tables or columns each keep their own key.
  TCtrData* a = AddConstraint(ib3, ctCheck, "", "ORDER", {}, "", {}, "(QTY > 0)");
  TCtrData* b = AddConstraint(ib3, ctCheck, "", "ITEM", {}, "", {}, "(QTY > 0)");
  TCtrData* c = AddConstraint(ib3, ctUnique, "", "ORDER", {{"ID"}});
  TCtrData* d = AddConstraint(ib3, ctUnique, "", "ORDER", {{"QTY"}});
  ASSERT_TRUE(a && b && c && d);
  EXPECT_EQ(ib3.CtrList.Count(), 4);
  // The key names no quote, whatever the dialect and the database compared with.
  EXPECT_EQ(a->GetListKey(), "ALTER TABLE ORDER ADD CHECK (QTY > 0)");
  EXPECT_EQ(a->GetCreateSQL(), "ALTER TABLE \"ORDER\" ADD CHECK (QTY > 0)");
  TCtrData* e = AddConstraint(ib1, ctForeignKey, "", "ORDER", {{"ID"}}, "ITEM", {{"ID"}});
  e->OnDelete = raCascade;
  ib1.Role = 2;
  ib1.IBServerOptions->IBDatabaseOptions->ODSMajor = 8;
  EXPECT_EQ(e->GetListKey(),
            "ALTER TABLE ORDER ADD FOREIGN KEY (ID) REFERENCES ITEM (ID) ON DELETE CASCADE");
  EXPECT_EQ(e->GetCreateSQL(), "ALTER TABLE ORDER ADD FOREIGN KEY (ID) REFERENCES ITEM (ID)");
  // A named constraint is keyed by its name; MySQL names keys per table.
  EXPECT_EQ(AddConstraint(ib3, ctPrimaryKey, "PK", "ITEM", {{"ID"}})->GetListKey(), "PK");
  TCtrData* m1 = AddConstraint(mysql, ctUnique, "code", "a", {{"code"}});
  TCtrData* m2 = AddConstraint(mysql, ctUnique, "code", "b", {{"code"}});
  ASSERT_TRUE(m1 && m2);
  EXPECT_EQ(m2->GetListKey(), "b.code");
  EXPECT_EQ(m1->GetDisplayName(), "code");
  EXPECT_EQ(a->GetDisplayName(), a->GetCreateSQL());
}

// ---- Phases ----

class ConstraintPhases : public testing::Test {
 protected:
  ConstraintPhases() : Db(srvInterBase) {}
  TTwoDbs Db;
};

TEST_F(ConstraintPhases, PrimaryKeyMovesUnderForeignKeysOfOtherTables) {
  for (TObjs* o : {&Db.Master, &Db.Target}) {
    AddTable(*o, "DEPT", {{"ID"}, {"CODE"}});
    AddTable(*o, "EMP", {{"ID"}, {"DEPT_ID"}, {"DEPT_CODE"}});
    AddTable(*o, "BUDGET", {{"DEPT"}});
    // Unchanged in its text, but it references whatever the primary key is.
    AddConstraint(*o, ctForeignKey, "FK_BUDGET_DEPT", "BUDGET", {{"DEPT"}}, "DEPT");
  }
  AddConstraint(Db.Master, ctPrimaryKey, "PK_DEPT", "DEPT", {{"CODE"}});
  AddConstraint(Db.Master, ctForeignKey, "FK_EMP_DEPT", "EMP", {{"DEPT_CODE"}}, "DEPT", {{"CODE"}});
  AddConstraint(Db.Target, ctPrimaryKey, "PK_DEPT", "DEPT", {{"ID"}});
  AddConstraint(Db.Target, ctForeignKey, "FK_EMP_DEPT", "EMP", {{"DEPT_ID"}}, "DEPT", {{"ID"}});
  Db.PairObjects();
  Db.RunPhase(8);
  Db.RunPhase(31);
  EXPECT_EQ(Db.Script(),
            "ALTER TABLE BUDGET DROP CONSTRAINT FK_BUDGET_DEPT;\n"
            "\n"
            "ALTER TABLE EMP DROP CONSTRAINT FK_EMP_DEPT;\n"
            "\n"
            "ALTER TABLE DEPT DROP CONSTRAINT PK_DEPT;\n"
            "\n"
            "/* Create Primary Key... */\n"
            "ALTER TABLE DEPT ADD CONSTRAINT PK_DEPT PRIMARY KEY (CODE);\n"
            "\n"
            "/* Create Foreign Key... */\n"
            "ALTER TABLE BUDGET ADD CONSTRAINT FK_BUDGET_DEPT FOREIGN KEY (DEPT) REFERENCES DEPT;\n"
            "\n"
            "ALTER TABLE EMP ADD CONSTRAINT FK_EMP_DEPT FOREIGN KEY (DEPT_CODE) REFERENCES DEPT "
            "(CODE);\n"
            "\n");
}

TEST_F(ConstraintPhases, CheckConstraintsChangedAddedAndVanished) {
  for (TObjs* o : {&Db.Master, &Db.Target}) {
    AddTable(*o, "BOOKING", {{"ID"}, {"STARTS"}, {"ENDS"}, {"GUESTS"}});
    AddConstraint(*o, ctPrimaryKey, "", "BOOKING", {{"ID"}});  // unchanged
  }
  AddConstraint(Db.Master, ctCheck, "CHK_DATES", "BOOKING", {}, "", {}, "(ENDS >= STARTS)");
  AddConstraint(Db.Master, ctCheck, "", "BOOKING", {}, "", {}, "(GUESTS BETWEEN 1 AND 8)");
  AddConstraint(Db.Target, ctCheck, "CHK_DATES", "BOOKING", {}, "", {}, "(ENDS > STARTS)");
  AddConstraint(Db.Target, ctCheck, "CHK_OLD", "BOOKING", {}, "", {}, "(GUESTS > 0)");
  Db.PairObjects();
  Db.RunPhase(8);
  Db.RunPhase(31);
  EXPECT_EQ(Db.Script(),
            "ALTER TABLE BOOKING DROP CONSTRAINT CHK_OLD;\n"
            "\n"
            "ALTER TABLE BOOKING DROP CONSTRAINT CHK_DATES;\n"
            "\n"
            "/* Create Check... */\n"
            "ALTER TABLE BOOKING ADD CONSTRAINT CHK_DATES CHECK (ENDS >= STARTS);\n"
            "\n"
            "ALTER TABLE BOOKING ADD CHECK (GUESTS BETWEEN 1 AND 8);\n"
            "\n");
}

TEST_F(ConstraintPhases, UnnamedFirebirdConstraintIsLookedUpBetweenCommits) {
  Db.Target.IBServerOptions->SQLServerVersion = st_Firebird_30;
  AddTable(Db.Master, "T", {{"A"}});
  AddTable(Db.Target, "T", {{"A"}});
  AddConstraint(Db.Target, ctCheck, "CK", "T", {}, "", {}, "(A < 9)");
  AddConstraint(Db.Target, ctCheck, "", "T", {}, "", {}, "(A > 0)");
  AddConstraint(Db.Target, ctCheck, "", "T", {}, "", {}, "(A > 1)");
  Db.PairObjects();
  Db.RunPhase(8);
  // Each statement by what it is; the blocks run between commits, one
  // commit between two blocks.
  std::vector<std::string> seen;
  for (int i = 0; i < Db.Exec.Count(); ++i) {
    const TStatement* st = Db.Exec.GetStatement(i);
    const std::string text = st->GetText();
    if (st->Kind == skComment)
      seen.push_back("note " + text.substr(text.find("CHECK"), 13));
    else if (text.rfind("EXECUTE BLOCK AS\r\n", 0) == 0 && st->Action == saDrop)
      seen.push_back("block");
    else
      seen.push_back(text);
  }
  const std::vector<std::string> expected = {
      "ALTER TABLE T DROP CONSTRAINT CK\r\n",
      "COMMIT\r\n",
      "note CHECK (A > 1)",
      "block",
      "COMMIT\r\n",
      "note CHECK (A > 0)",
      "block",
      "COMMIT\r\n",
  };
  EXPECT_EQ(seen, expected) << Db.Script();
}

TEST(ConstraintPhasesMySQL, UnnamedCheckIsANoteNotAStatement) {
  TTwoDbs db(srvMySQL);
  AddTable(db.Master, "T", {{"A"}});
  AddTable(db.Target, "T", {{"A"}});
  AddConstraint(db.Target, ctCheck, "", "T", {}, "", {}, "(A > 0)");
  db.PairObjects();
  db.RunPhase(8);
  EXPECT_EQ(db.Script(), "/* drop constraint: ALTER TABLE T ADD CHECK (A > 0) */");
}

TEST(ConstraintPhasesMSSQL, DefaultConstraints) {
  TTwoDbs db(srvMSSQL);
  AddTable(db.Master, "T", {{"ID"}, {"A"}, {"B", dtInteger, 0, false}});
  AddTable(db.Target, "T", {{"ID"}, {"A"}});
  AddConstraint(db.Master, ctDefault, "DF_A", "T", {{"A"}}, "", {}, "(1)");
  AddConstraint(db.Target, ctDefault, "DF_A", "T", {{"A"}}, "", {}, "(0)");
  // The new NOT NULL column carries its default in its ADD statement.
  AddConstraint(db.Master, ctDefault, "DF_B", "T", {{"B"}}, "", {}, "(2)");
  db.PairObjects();
  for (int phase : {8, 21, 31, 32}) db.RunPhase(phase);
  EXPECT_EQ(db.Script(),
            "ALTER TABLE T DROP CONSTRAINT DF_A;\n"
            "\n"
            "ALTER TABLE T ADD B INTEGER NOT NULL CONSTRAINT DF_B DEFAULT (2);\n"
            "\n"
            "/* Create Default... */\n"
            "ALTER TABLE T ADD CONSTRAINT DF_A DEFAULT (1) FOR A;\n"
            "\n");
}

TEST_F(ConstraintPhases, UniqueConstraintReplacesUniqueIndex) {
  AddTable(Db.Master, "USERS", {{"ID"}, {"EMAIL"}});
  AddTable(Db.Target, "USERS", {{"ID"}, {"EMAIL"}});
  AddConstraint(Db.Master, ctUnique, "UQ_USERS_EMAIL", "USERS", {{"EMAIL"}});
  AddIndex(Db.Target, "UX_USERS_EMAIL", "USERS", {{"EMAIL"}})->Unique = true;
  Db.PairObjects();
  for (int phase : {8, 14, 28, 31}) Db.RunPhase(phase);
  EXPECT_EQ(Db.Script(),
            "/* Drop Index... */\n"
            "/* Drop: UX_USERS_EMAIL (TIdxData) */\n"
            "DROP INDEX UX_USERS_EMAIL;\n"
            "\n"
            "\n"
            "/* Create Unique... */\n"
            "ALTER TABLE USERS ADD CONSTRAINT UQ_USERS_EMAIL UNIQUE (EMAIL);\n"
            "\n");
}

TEST(ConstraintPhasesMySQL, UniqueKeyReplacesIndexOfTheSameName) {
  TTwoDbs db(srvMySQL);
  AddTable(db.Master, "USERS", {{"ID"}, {"EMAIL"}});
  AddTable(db.Target, "USERS", {{"ID"}, {"EMAIL"}});
  AddConstraint(db.Master, ctUnique, "", "USERS", {{"EMAIL"}})->IndexName = "UQ_EMAIL";
  AddIndex(db.Target, "UQ_EMAIL", "USERS", {{"EMAIL"}});
  db.PairObjects();
  for (int phase : {8, 14, 28, 31}) db.RunPhase(phase);
  const int drop = StatementWith(db.Exec, "DROP INDEX UQ_EMAIL ON USERS");
  const int add = StatementWith(db.Exec, "ALTER TABLE USERS ADD UNIQUE UQ_EMAIL (EMAIL)");
  ASSERT_GE(drop, 0) << db.Script();
  EXPECT_LT(drop, add) << db.Script();
}

TEST(ConstraintPhasesMySQL, ForeignKeyRestingOnADroppedIndexGoesFirstAndComesBack) {
  TTwoDbs db(srvMySQL);
  for (TObjs* o : {&db.Master, &db.Target}) {
    AddTable(*o, "P", {{"ID"}});
    AddTable(*o, "T", {{"ID"}, {"A"}, {"B"}});
    AddConstraint(*o, ctPrimaryKey, "", "P", {{"ID"}});
    AddConstraint(*o, ctPrimaryKey, "", "T", {{"ID"}});
    AddConstraint(*o, ctForeignKey, "FK_A", "T", {{"A"}}, "P", {{"ID"}});
    // The primary key leads with ID: it serves FK_ID and is not dropped.
    AddConstraint(*o, ctForeignKey, "FK_ID", "T", {{"ID"}}, "P", {{"ID"}});
  }
  AddIndex(db.Master, "IX", "T", {{"B"}, {"A"}});
  AddIndex(db.Target, "IX", "T", {{"A"}, {"B"}});  // the only index leading with A
  db.PairObjects();
  for (int phase : {8, 14, 28, 31}) db.RunPhase(phase);
  const std::string script = db.Script();
  const int dropFk = StatementWith(db.Exec, "ALTER TABLE T DROP FOREIGN KEY FK_A");
  const int dropIx = StatementWith(db.Exec, "DROP INDEX IX ON T");
  const int createIx = StatementWith(db.Exec, "CREATE INDEX IX ON T(B, A)");
  const int addFk = StatementWith(db.Exec, "ADD CONSTRAINT FK_A FOREIGN KEY");
  ASSERT_GE(dropFk, 0) << script;
  EXPECT_LT(dropFk, dropIx) << script;
  EXPECT_LT(dropIx, createIx) << script;
  EXPECT_LT(createIx, addFk) << script;
  EXPECT_EQ(StatementsWith(db.Exec, "FK_ID"), 0) << script;
}

TEST(ConstraintPhasesMySQL, ReferencedUniqueIndexGivesWayToAUniqueKey) {
  TTwoDbs db(srvMySQL);
  for (TObjs* o : {&db.Master, &db.Target}) {
    AddTable(*o, "P", {{"ID"}, {"CODE"}});
    AddTable(*o, "C", {{"P_CODE"}});
    AddConstraint(*o, ctForeignKey, "FK_C", "C", {{"P_CODE"}}, "P", {{"CODE"}});
  }
  AddConstraint(db.Master, ctUnique, "UQ_CODE", "P", {{"CODE"}});
  AddIndex(db.Target, "UX_CODE", "P", {{"CODE"}})->Unique = true;
  db.PairObjects();
  for (int phase : {8, 14, 28, 31}) db.RunPhase(phase);
  const std::string script = db.Script();
  const int dropFk = StatementWith(db.Exec, "ALTER TABLE C DROP FOREIGN KEY FK_C");
  const int dropIx = StatementWith(db.Exec, "DROP INDEX UX_CODE ON P");
  const int addUq = StatementWith(db.Exec, "ADD CONSTRAINT UQ_CODE UNIQUE");
  const int addFk = StatementWith(db.Exec, "ADD CONSTRAINT FK_C FOREIGN KEY");
  ASSERT_GE(dropFk, 0) << script;
  EXPECT_LT(dropFk, dropIx) << script;
  EXPECT_LT(dropIx, addUq) << script;
  EXPECT_LT(addUq, addFk) << script;
}

TEST_F(ConstraintPhases, DroppedTableTakesForeignKeysOfSurvivingTablesFirst) {
  for (TObjs* o : {&Db.Master, &Db.Target}) AddTable(*o, "KEEP", {{"ID"}, {"OLD_ID"}});
  AddTable(Db.Target, "OLD", {{"ID"}});
  AddTable(Db.Target, "OTHER", {{"OLD_ID"}});
  AddConstraint(Db.Target, ctPrimaryKey, "PK_OLD", "OLD", {{"ID"}});
  AddConstraint(Db.Target, ctForeignKey, "FK_KEEP_OLD", "KEEP", {{"OLD_ID"}}, "OLD", {{"ID"}});
  // Not linked to its tables: found by the name of the table it references.
  auto loose = std::make_unique<TCtrData>(&Db.Target);
  loose->SetConstraintType(ctForeignKey);
  loose->SetName("FK_OTHER_OLD");
  loose->SetTableName("OTHER");
  loose->SetRefTableName("OLD");
  AddKeyColumns(Db.Target, loose->Fields, {{"OLD_ID"}});
  Db.Target.AddObj(loose, true);
  Db.PairObjects();
  // Only tables compared: no constraint phase drops the keys before.
  Db.Ctx.CompareObjects = TCmpObjSetType::Empty();
  Db.Ctx.CompareObjects.Include(coTable);
  Db.RunPhase(22);
  const std::string script = Db.Script();
  const int fk = StatementWith(Db.Exec, "DROP CONSTRAINT FK_KEEP_OLD");
  const int loose2 = StatementWith(Db.Exec, "DROP CONSTRAINT FK_OTHER_OLD");
  const int table = StatementWith(Db.Exec, "DROP TABLE OLD");
  ASSERT_GE(fk, 0) << script;
  ASSERT_GE(loose2, 0) << script;
  EXPECT_LT(fk, table) << script;
  EXPECT_LT(loose2, table) << script;

  // With every kind compared the foreign key goes in the constraint phase,
  // and only there.
  Db.Exec.Clear();
  Db.PairObjects();
  Db.Ctx.CompareObjects = TCmpObjSetType();
  Db.RunPhase(8);
  Db.RunPhase(22);
  EXPECT_EQ(StatementsWith(Db.Exec, "DROP CONSTRAINT FK_KEEP_OLD"), 1) << Db.Script();
  EXPECT_LT(StatementWith(Db.Exec, "DROP CONSTRAINT FK_KEEP_OLD"),
            StatementWith(Db.Exec, "DROP CONSTRAINT PK_OLD"));
}

// A column the column walks drop and add again (say, to change its type)
// takes its index, its key and the foreign keys referencing that key down
// first; the index and constraint phases bring each back once.
TEST_F(ConstraintPhases, RecreatedColumnBringsBackItsIndexesAndKeys) {
  for (TObjs* o : {&Db.Master, &Db.Target}) {
    AddTable(*o, "P", {{"ID"}, {"CODE"}});
    AddTable(*o, "C", {{"P_CODE"}});
    AddIndex(*o, "IX_P", "P", {{"ID"}, {"CODE"}});
    AddConstraint(*o, ctPrimaryKey, "PK_P", "P", {{"CODE"}});
    AddConstraint(*o, ctForeignKey, "FK_C", "C", {{"P_CODE"}}, "P", {{"CODE"}});
  }
  Db.PairObjects();
  Db.Target.FindTableField("P", "CODE")->DropDependDef();
  Db.Master.FindTableField("P", "CODE")->CreateDependDef();
  Db.RunPhase(28);
  Db.RunPhase(31);
  std::vector<std::string> statements;
  for (int i = 0; i < Db.Exec.Count(); ++i)
    if (Db.Exec.GetStatement(i)->Kind != skComment) {
      const std::string text = Db.Exec.GetStatement(i)->GetText();
      statements.push_back(text.substr(text.rfind("\n", text.size() - 3) + 1));
    }
  const std::vector<std::string> expected = {
      "DROP INDEX IX_P\r\n",
      "ALTER TABLE C DROP CONSTRAINT FK_C\r\n",
      "ALTER TABLE P DROP CONSTRAINT PK_P\r\n",
      "ALTER TABLE P DROP CODE\r\n",
      "ALTER TABLE P ADD CODE INTEGER\r\n",
      "CREATE INDEX IX_P ON P(ID, CODE)\r\n",
      "ALTER TABLE P ADD CONSTRAINT PK_P PRIMARY KEY (CODE)\r\n",
      "ALTER TABLE C ADD CONSTRAINT FK_C FOREIGN KEY (P_CODE) REFERENCES P (CODE)\r\n",
  };
  EXPECT_EQ(statements, expected) << Db.Script();
}

TEST_F(ConstraintPhases, ForeignKeyCreatesTheKeyItReferences) {
  AddTable(Db.Master, "P", {{"ID"}});
  AddTable(Db.Master, "C", {{"P_ID"}});
  AddTable(Db.Target, "P", {{"ID"}});
  AddTable(Db.Target, "C", {{"P_ID"}});
  AddConstraint(Db.Master, ctPrimaryKey, "PK_P", "P", {{"ID"}});
  AddConstraint(Db.Master, ctForeignKey, "FK_C", "C", {{"P_ID"}}, "P");
  Db.PairObjects();
  // Primary keys are not compared, yet the new foreign key needs one.
  Db.Ctx.CompareObjects.Exclude(coPrimaryKey);
  Db.RunPhase(31);
  EXPECT_EQ(Db.Script(),
            "/* Create Foreign Key... */\n"
            "ALTER TABLE P ADD CONSTRAINT PK_P PRIMARY KEY (ID);\n"
            "\n"
            "ALTER TABLE C ADD CONSTRAINT FK_C FOREIGN KEY (P_ID) REFERENCES P;\n"
            "\n");
}

}  // namespace
