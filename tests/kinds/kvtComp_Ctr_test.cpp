// Constraint data: the type setter, the table-name setters, the column lists
// and the inline constraint clause.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "kinds/kvtComp_Ctr.h"
#include "kvtKindsFixture.h"

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
       "CHECK NOT FOR REPLICATION(A > 0)"},
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
       "FOREIGN KEY (\"A\") REFERENCES public.T (\"ID\") MATCH PARTIAL DEFERRABLE INITIALLY DEFERRED"},
      {"Oracle check deferred, with storage", srvOracle,
       [](TCtrData& c) {
         c.SetConstraintType(ctCheck);
         c.SetName("CK");
         c.SetBody("(A > 0)");
         c.DeferrableInitiallyDeferred = true;
         c.TableSpace->PctFree = 10;
       },
       "CONSTRAINT CK CHECK(A > 0)\r\nDEFERRABLE INITIALLY DEFERRED\r\npctfree 10"},
      {"Oracle FK without schema: table alone", srvOracle,
       [&](TCtrData& c) { fk(c); }, "FOREIGN KEY (A) REFERENCES T (ID)"},
      {"column REFERENCES form", srvInterBase,
       [](TCtrData& c) {
         c.SetConstraintType(ctReferences);
         c.RefTableName = "T";
         AddNames(c.RefFields, {"ID"});
       },
       "REFERENCES T(ID)"},
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

}  // namespace
