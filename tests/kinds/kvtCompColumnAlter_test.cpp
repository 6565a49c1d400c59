// Column alteration: type comparisons, the per-dialect ALTER texts with their
// warnings and data risks, the MySQL column-order fix and the MS SQL table
// re-creation that keeps the rows.
#include <gtest/gtest.h>

#include <functional>

#include "core/kvtDBOptions.h"
#include "kinds/kvtCompColumnAlter.h"
#include "kvtKeysFixture.h"

namespace {

// A free-standing column of one dialect for the type comparisons.
struct TTypeSpec {
  uint8_t Type;
  int32_t Length = 0;
  int32_t Precision = 0;
  int32_t Scale = 0;
};

std::unique_ptr<TFldData> Column(TObjs& objs, const TTypeSpec& s) {
  auto f = std::make_unique<TFldData>(&objs, nullptr);
  f->SetName("C");
  f->DataType = s.Type;
  f->Length = s.Length;
  f->Precision = s.Precision;
  f->Scale = s.Scale;
  return f;
}

TEST(ColumnTypes, CompareTypes) {
  struct {
    const char* Label;
    TTypeSpec Master, Target;
    int Expected;
  } cases[] = {
      {"same integer", {dtInteger}, {dtInteger}, 0},
      {"integer widened", {dtBigInt}, {dtInteger}, 1},
      {"smallint widened", {dtInteger}, {dtSmallInt}, 1},
      {"integer narrowed", {dtSmallInt}, {dtInteger}, -1},
      {"bigint narrowed", {dtInteger}, {dtBigInt}, -1},
      {"varchar longer", {dtVarchar, 20}, {dtVarchar, 10}, 1},
      {"varchar shorter", {dtVarchar, 10}, {dtVarchar, 20}, -1},
      {"char to longer varchar", {dtVarchar, 10}, {dtChar, 8}, 1},
      {"numeric more precision", {dtNumeric, 0, 18, 2}, {dtNumeric, 0, 9, 2}, 1},
      {"numeric less precision", {dtNumeric, 0, 9, 2}, {dtNumeric, 0, 18, 2}, -1},
      {"numeric fewer decimals", {dtNumeric, 0, 9, 2}, {dtNumeric, 0, 9, 4}, -1},
      {"integer into numeric", {dtNumeric, 0, 18, 2}, {dtInteger}, 1},
      {"numeric into integer", {dtInteger}, {dtNumeric, 0, 12, 2}, -1},
      {"integer into double", {dtDoublePrecision}, {dtInteger}, 1},
      {"double into integer", {dtInteger}, {dtDoublePrecision}, -1},
      {"float into double", {dtDoublePrecision}, {dtFloat}, 1},
      {"integer into wide text", {dtVarchar, 11}, {dtInteger}, 1},
      {"integer into short text", {dtVarchar, 5}, {dtInteger}, -1},
      {"text into integer", {dtInteger}, {dtVarchar, 5}, -1},
      {"date into timestamp", {dtTimestamp}, {dtDate}, 1},
      {"timestamp into date", {dtDate}, {dtTimestamp}, -1},
      {"text into text blob", {dtBlob}, {dtVarchar, 100}, -1},  // binary blob
  };
  TObjs objs;
  objs.SetServerType(srvInterBase);
  for (const auto& c : cases) {
    auto m = Column(objs, c.Master);
    auto t = Column(objs, c.Target);
    EXPECT_EQ(CompareTypes(*m, *t), c.Expected) << c.Label;
  }

  auto blob = Column(objs, {dtBlob});
  blob->SubType = 1;
  auto text = Column(objs, {dtVarchar, 100});
  EXPECT_EQ(CompareTypes(*blob, *text), 1) << "text into a text blob";
  auto array = Column(objs, {dtInteger});
  array->Dimensions.push_back({1, 10});
  auto plain = Column(objs, {dtInteger});
  EXPECT_EQ(CompareTypes(*array, *plain), -1) << "array dimensions differ";
  auto unknownDomain = Column(objs, {dtDomain});
  unknownDomain->DomainName = "D_NOWHERE";
  EXPECT_EQ(CompareTypes(*unknownDomain, *plain), 1) << "unknown domain";
}

TEST(ColumnTypes, MSSQLImplicitConversions) {
  TObjs objs;
  objs.SetServerType(srvMSSQL);
  struct {
    uint8_t Master, Target;
    bool Expected;
  } cases[] = {
      {dtInteger, dtDateTime, false},  // DATETIME to INTEGER is refused
      {dtVarchar, dtInteger, true},    // INTEGER to VARCHAR is altered
      {dtImage, dtVarchar, true},
      {dtImage, dtNVarchar, false},
      {dtTimestamp, dtFloat, false},
      {dtNVarchar, dtNText, true},
      {dtXml, dtXml, true},
      {dtInteger, dtXml, false},
  };
  for (const auto& c : cases) {
    auto m = Column(objs, {c.Master});
    auto t = Column(objs, {c.Target});
    EXPECT_EQ(IsImplicitlyConvertible(*m, *t), c.Expected)
        << DataTypeName(c.Target) << " -> " << DataTypeName(c.Master);
  }
}

// ---- Firebird ----

class FirebirdColumnAlter : public testing::Test {
 protected:
  FirebirdColumnAlter() : Db(srvInterBase) {
    Db.Target.IBServerOptions->SQLServerVersion = st_Firebird_30;
  }
  // Runs the table phases of phase 21 on one column pair.
  void Alter(const TColSpec& master, const TColSpec& target,
             const std::function<void(TFldData&, TFldData&)>& tweak = nullptr) {
    TTblData* m = AddTable(Db.Master, "T", {{"ID", dtInteger, 0, false}, master});
    TTblData* t = AddTable(Db.Target, "T", {{"ID", dtInteger, 0, false}, target});
    if (tweak) tweak(*m->Fields[1], *t->Fields[1]);
    Db.PairObjects();
    MatchTables(Db.Ctx);
    Db.RunPhase(21);
  }
  const TStatement* With(const std::string& text) {
    const int i = StatementWith(Db.Exec, text);
    return i < 0 ? nullptr : Db.Exec.GetStatement(i);
  }
  TTwoDbs Db;
};

TEST_F(FirebirdColumnAlter, WideningIsAlteredInPlace) {
  struct {
    const char* Label;
    TColSpec Master, Target;
    const char* Statement;
  } cases[] = {
      {"varchar", {"C", dtVarchar, 20}, {"C", dtVarchar, 10},
       "ALTER TABLE T ALTER COLUMN C TYPE VARCHAR(20)"},
      {"integer to bigint", {"C", dtBigInt}, {"C", dtInteger},
       "ALTER TABLE T ALTER COLUMN C TYPE BIGINT"},
  };
  for (const auto& c : cases) {
    Db.Master.Clear();
    Db.Target.Clear();
    Db.Exec.Clear();
    Alter(c.Master, c.Target);
    const TStatement* st = With(c.Statement);
    ASSERT_NE(st, nullptr) << c.Label << "\n" << Db.Script();
    EXPECT_EQ(st->Action, saAlter);
    EXPECT_EQ(st->ObjType, dboField);
    EXPECT_EQ(st->ParentName, "T");
    EXPECT_TRUE(st->DataRisk.empty()) << c.Label;
    EXPECT_EQ(StatementWith(Db.Exec, "ZELTEMP"), -1) << c.Label;
  }
}

TEST_F(FirebirdColumnAlter, NumericPrecisionInPlaceButScaleThroughACopy) {
  Alter({"C", dtNumeric}, {"C", dtNumeric}, [](TFldData& m, TFldData& t) {
    m.Precision = 18;
    m.Scale = 2;
    t.Precision = 9;
    t.Scale = 2;
  });
  EXPECT_NE(With("ALTER TABLE T ALTER COLUMN C TYPE NUMERIC(18,2)"), nullptr) << Db.Script();

  Db.Master.Clear();
  Db.Target.Clear();
  Db.Exec.Clear();
  Alter({"C", dtNumeric}, {"C", dtNumeric}, [](TFldData& m, TFldData& t) {
    m.Precision = 9;
    m.Scale = 4;
    t.Precision = 9;
    t.Scale = 2;
  });
  EXPECT_NE(With("UPDATE T SET ZELTEMP = CAST(C AS NUMERIC(9,4))"), nullptr) << Db.Script();
}

TEST_F(FirebirdColumnAlter, NarrowingCopiesTheRowsAndCarriesTheRisk) {
  TStringList notes;
  Db.Ctx.ChangeNotes = &notes;
  Alter({"C", dtVarchar, 10, false}, {"C", dtVarchar, 40, false});
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_EQ(notes[0],
            "DataType conversion: VARCHAR(40) -> VARCHAR(10) /T(C)/\r\n"
            "UPDATE T SET ZELTEMP = CAST(C AS VARCHAR(10))");
  const std::string script = Db.Script();
  const char* steps[] = {
      "WARNING:\nCannot perform safe conversion of T.C datatype from VARCHAR(40) to VARCHAR(10)",
      "ALTER TABLE T ADD ZELTEMP VARCHAR(10);",
      "UPDATE T SET ZELTEMP = CAST(C AS VARCHAR(10));",
      "COMMIT WORK;",
      "ALTER TABLE T DROP C;",
      "ALTER TABLE T ALTER COLUMN ZELTEMP TO C;",
      "ALTER TABLE T ALTER C SET NOT NULL;",  // once the rows are in
  };
  size_t at = 0;
  for (const char* step : steps) {
    const size_t next = script.find(step, at);
    ASSERT_NE(next, std::string::npos) << step << "\n" << script;
    at = next;
  }
  for (const char* text : {"ADD ZELTEMP", "UPDATE T", "DROP C", "TO C", "SET NOT NULL"}) {
    const TStatement* st = With(text);
    ASSERT_NE(st, nullptr) << text;
    EXPECT_NE(st->DataRisk.find("from VARCHAR(40) to VARCHAR(10)"), std::string::npos) << text;
    // The old column's rows live on in the new one: no plain column drop.
    EXPECT_NE(st->Action, saDrop) << text;
  }
  EXPECT_TRUE(With("COMMIT WORK")->DataRisk.empty());
  TTblData* m = Db.Master.FindTable("T");
  EXPECT_TRUE(m->Changed);  // the column order is restored later
  EXPECT_TRUE(m->Fields[1]->GetExists());
}

TEST_F(FirebirdColumnAlter, TemporaryNameAvoidsTheTablesColumns) {
  TTblData* m = AddTable(Db.Master, "T", {{"ZELTEMP"}, {"C", dtSmallInt}});
  AddTable(Db.Target, "T", {{"ZELTEMP"}, {"C", dtInteger}});
  (void)m;
  Db.PairObjects();
  MatchTables(Db.Ctx);
  Db.RunPhase(21);
  EXPECT_NE(With("ALTER TABLE T ADD ZELTEMP1 SMALLINT"), nullptr) << Db.Script();
  EXPECT_NE(With("ALTER TABLE T ALTER COLUMN ZELTEMP1 TO C"), nullptr) << Db.Script();
}

TEST_F(FirebirdColumnAlter, NullabilityAndDefaults) {
  struct {
    const char* Label;
    TIBSQLServerVersionType Version;
    bool AllowConversion;
    bool MasterNullable, TargetNullable;
    const char* MasterDefault;
    const char* TargetDefault;
    const char* Expected;  // statement text, or comment text
    bool Risky;
  } cases[] = {
      {"not null added", st_Firebird_30, false, false, true, "", "",
       "ALTER TABLE T ALTER C SET NOT NULL", true},
      {"not null removed", st_Firebird_30, false, true, false, "", "",
       "ALTER TABLE T ALTER C DROP NOT NULL", false},
      {"default added", st_Firebird_30, false, true, true, "0", "",
       "ALTER TABLE T ALTER COLUMN C SET DEFAULT 0", false},
      {"default changed", st_Firebird_25, false, true, true, "1", "0",
       "ALTER TABLE T ALTER COLUMN C SET DEFAULT 1", false},
      {"default removed", st_Firebird_30, false, true, true, "", "0",
       "ALTER TABLE T ALTER COLUMN C DROP DEFAULT", false},
      {"nullability by system table", st_Firebird_25, true, false, true, "", "",
       "UPDATE RDB$RELATION_FIELDS SET RDB$NULL_FLAG = 1 WHERE RDB$FIELD_NAME='C' AND "
       "RDB$RELATION_NAME='T'",
       false},
      {"nullability refused", st_Firebird_25, false, false, true, "", "",
       "cannot change the nullability of T.C", false},
      {"default on InterBase 5 refused", st_InterBase_5x, false, true, true, "1", "",
       "cannot change the default of T.C", false},
  };
  for (const auto& c : cases) {
    Db.Master.Clear();
    Db.Target.Clear();
    Db.Exec.Clear();
    Db.Target.IBServerOptions->SQLServerVersion = c.Version;
    Db.Target.IBServerOptions->IBCompareOptions->AllowDataTypeConversion = c.AllowConversion;
    Alter({"C", dtInteger, 0, c.MasterNullable}, {"C", dtInteger, 0, c.TargetNullable},
          [&c](TFldData& m, TFldData& t) {
            m.DefaultValue = c.MasterDefault;
            t.DefaultValue = c.TargetDefault;
          });
    const TStatement* st = With(c.Expected);
    ASSERT_NE(st, nullptr) << c.Label << "\n" << Db.Script();
    EXPECT_EQ(!st->DataRisk.empty(), c.Risky) << c.Label;
    EXPECT_EQ(StatementWith(Db.Exec, "ZELTEMP"), -1) << c.Label;  // nothing rebuilt
  }
}

TEST_F(FirebirdColumnAlter, SystemTablesTakeTheTypeWhenConversionIsAllowed) {
  Db.Target.IBServerOptions->SQLServerVersion = st_Firebird_25;
  Db.Target.IBServerOptions->IBCompareOptions->AllowDataTypeConversion = true;
  Alter({"C", dtSmallInt}, {"C", dtInteger});
  const TStatement* st = With("UPDATE RDB$FIELDS SET RDB$FIELD_LENGTH=2, RDB$FIELD_TYPE=7");
  ASSERT_NE(st, nullptr) << Db.Script();
  EXPECT_NE(st->GetText().find("WHERE RDB$RELATION_NAME='T' AND  RDB$FIELD_NAME='C')"),
            std::string::npos);
  EXPECT_FALSE(st->DataRisk.empty());
  EXPECT_EQ(StatementWith(Db.Exec, "ZELTEMP"), -1);

  // Firebird 3 has read-only system tables: the rows are copied instead.
  Db.Master.Clear();
  Db.Target.Clear();
  Db.Exec.Clear();
  Db.Target.IBServerOptions->SQLServerVersion = st_Firebird_30;
  Alter({"C", dtSmallInt}, {"C", dtInteger});
  EXPECT_EQ(StatementWith(Db.Exec, "RDB$"), -1) << Db.Script();
  EXPECT_NE(With("UPDATE T SET ZELTEMP = CAST(C AS SMALLINT)"), nullptr) << Db.Script();
}

TEST_F(FirebirdColumnAlter, ArraysAndOldServersAreOnlyCommented) {
  Alter({"C", dtInteger}, {"C", dtInteger}, [](TFldData& m, TFldData& t) {
    m.Dimensions.push_back({1, 20});
    t.Dimensions.push_back({1, 10});
  });
  EXPECT_NE(StatementWith(Db.Exec, "Array conversion not supported:"), -1) << Db.Script();
  EXPECT_EQ(StatementWith(Db.Exec, "ALTER TABLE T ALTER COLUMN C TYPE"),
            StatementWith(Db.Exec, "Array conversion"));  // inside the comment only

  Db.Master.Clear();
  Db.Target.Clear();
  Db.Exec.Clear();
  Db.Target.IBServerOptions->SQLServerVersion = st_InterBase_5x;
  Alter({"C", dtVarchar, 40}, {"C", dtVarchar, 20});
  ASSERT_EQ(Db.Exec.Count(), 2) << Db.Script();  // the warning and the closing line
  EXPECT_EQ(Db.Exec.GetStatement(0)->Kind, skComment);
  EXPECT_NE(Db.Script().find("Cannot perform safe conversion of T.C"), std::string::npos);
}

TEST_F(FirebirdColumnAlter, ChangedComputedColumnIsDroppedAndAddedOnce) {
  TTblData* m = AddTable(Db.Master, "T", {{"A"}, {"C", dtInteger, 0, true, "(A * 2)"}, {"B"}});
  TTblData* t = AddTable(Db.Target, "T", {{"A"}, {"C", dtInteger, 0, true, "(A + 1)"}, {"B"}});
  AddDependency(&Db.Target, t->Fields[1], t->Fields[0], "", 0, 0);
  AddDependency(&Db.Master, m->Fields[1], m->Fields[0], "", 0, 0);
  Db.PairObjects();
  MatchTables(Db.Ctx);
  Db.RunPhase(21);
  EXPECT_EQ(StatementsWith(Db.Exec, "ALTER TABLE T DROP C"), 1) << Db.Script();
  EXPECT_EQ(StatementsWith(Db.Exec, "ALTER TABLE T ADD C COMPUTED BY (A * 2)"), 1)
      << Db.Script();
  EXPECT_LT(StatementWith(Db.Exec, "DROP C"), StatementWith(Db.Exec, "ADD C"));
  EXPECT_TRUE(m->Changed);

  // Dropping the column the old expression read does not take the new one.
  Db.Exec.Clear();
  t->Fields[0]->DropDependDef();
  EXPECT_EQ(StatementWith(Db.Exec, "DROP C"), -1) << Db.Script();
  EXPECT_TRUE(m->Fields[1]->GetExists());
}

TEST_F(FirebirdColumnAlter, RetypedColumnTakesItsIndexAndKeysFirst) {
  AddTable(Db.Master, "T", {{"ID", dtInteger, 0, false}, {"CODE", dtVarchar, 8}});
  AddTable(Db.Target, "T", {{"ID", dtInteger, 0, false}, {"CODE", dtVarchar, 12}});
  for (TObjs* objs : {&Db.Master, &Db.Target}) {
    AddIndex(*objs, "IX_CODE", "T", {{"CODE"}});
    AddConstraint(*objs, ctUnique, "UQ_CODE", "T", {{"CODE"}});
  }
  Db.PairObjects();
  MatchTables(Db.Ctx);
  Db.RunPhase(21);
  const int dropIdx = StatementWith(Db.Exec, "DROP INDEX IX_CODE");
  const int dropKey = StatementWith(Db.Exec, "DROP CONSTRAINT UQ_CODE");
  const int add = StatementWith(Db.Exec, "ADD ZELTEMP");
  ASSERT_GE(dropIdx, 0) << Db.Script();
  ASSERT_GE(dropKey, 0) << Db.Script();
  EXPECT_LT(dropIdx, add);
  EXPECT_LT(dropKey, add);
  // The statements of the dependents name the column as their cause.
  EXPECT_EQ(Db.Exec.GetStatement(dropIdx)->CauseName, "CODE");
  EXPECT_FALSE(Db.Master.FindIndex("IX_CODE")->GetExists());  // created again later

  Db.RunPhase(28);
  Db.RunPhase(31);
  EXPECT_EQ(StatementsWith(Db.Exec, "CREATE INDEX IX_CODE"), 1) << Db.Script();
  EXPECT_EQ(StatementsWith(Db.Exec, "ADD CONSTRAINT UQ_CODE"), 1) << Db.Script();
}

// ---- Other dialects ----

TEST(ColumnAlterDialects, StatementsPerDialect) {
  struct {
    const char* Label;
    TServerType Server;
    TColSpec Master, Target;
    std::function<void(TFldData&, TFldData&)> Tweak;
    const char* Expected;
    bool Risky;
  } cases[] = {
      {"Oracle type", srvOracle, {"C", dtVarchar2, 40}, {"C", dtVarchar2, 20}, nullptr,
       "ALTER TABLE T MODIFY(C VARCHAR2(40))", false},
      {"Oracle default", srvOracle, {"C", dtNumber}, {"C", dtNumber},
       [](TFldData& m, TFldData&) { m.DefaultValue = "1"; }, "ALTER TABLE T MODIFY(C DEFAULT 1)",
       false},
      {"Oracle not null", srvOracle, {"C", dtNumber, 0, false}, {"C", dtNumber}, nullptr,
       "ALTER TABLE T MODIFY(C NOT NULL)", true},
      {"MS SQL convertible", srvMSSQL, {"C", dtVarchar, 20}, {"C", dtInteger}, nullptr,
       "ALTER TABLE T ALTER COLUMN C VARCHAR(20) NULL", false},
      {"MS SQL narrowed", srvMSSQL, {"C", dtVarchar, 10, false}, {"C", dtVarchar, 20, false},
       nullptr, "ALTER TABLE T ALTER COLUMN C VARCHAR(10) NOT NULL", true},
      {"MS SQL refused", srvMSSQL, {"C", dtInteger}, {"C", dtDateTime}, nullptr,
       "/* Datatype conversion is not allowed: DATETIME -> INTEGER\r\n"
       "ALTER TABLE T ALTER COLUMN C INTEGER NULL */",
       false},
      {"MS SQL default", srvMSSQL, {"C", dtInteger}, {"C", dtInteger},
       [](TFldData& m, TFldData&) { m.DefaultValue = "0"; }, "ALTER TABLE T ADD DEFAULT 0 FOR C",
       false},
      {"MS SQL rowguidcol", srvMSSQL, {"C", dtUniqueIdentifier}, {"C", dtUniqueIdentifier},
       [](TFldData& m, TFldData&) { m.RowGuidCol = true; },
       "ALTER TABLE T ALTER COLUMN C ADD ROWGUIDCOL", false},
      {"MySQL modify", srvMySQL, {"C", dtVarchar, 10}, {"C", dtVarchar, 20}, nullptr,
       "ALTER TABLE T MODIFY COLUMN C VARCHAR(10)", true},
      {"PostgreSQL type", srvPostgreSQL, {"c", dtBigInt}, {"c", dtInteger}, nullptr,
       "ALTER TABLE \"T\" ALTER COLUMN c TYPE bigint USING c::bigint", false},
      {"PostgreSQL default", srvPostgreSQL, {"c", dtInteger}, {"c", dtInteger},
       [](TFldData&, TFldData& t) { t.DefaultValue = "0"; },
       "ALTER TABLE \"T\" ALTER COLUMN c DROP DEFAULT", false},
      {"PostgreSQL not null", srvPostgreSQL, {"c", dtInteger, 0, false}, {"c", dtInteger},
       nullptr, "ALTER TABLE \"T\" ALTER COLUMN c SET NOT NULL", true},
      {"SQL Anywhere type", srvASA, {"C", dtVarchar, 30}, {"C", dtVarchar, 20}, nullptr,
       "ALTER TABLE DBA.T MODIFY C VARCHAR(30)", false},
      {"SQL Anywhere new default", srvASA, {"C", dtInteger}, {"C", dtInteger},
       [](TFldData& m, TFldData&) { m.DefaultValue = "5"; },
       "ALTER TABLE DBA.T ALTER C SET DEFAULT 5", false},
      {"ASE default", srvASE, {"C", dtInteger}, {"C", dtInteger},
       [](TFldData&, TFldData& t) { t.DefaultValue = "5"; }, "ALTER TABLE T REPLACE C DEFAULT NULL",
       false},
  };
  for (const auto& c : cases) {
    TTwoDbs db(c.Server);
    TTblData* m = AddTable(db.Master, "T", {c.Master});
    TTblData* t = AddTable(db.Target, "T", {c.Target});
    if (c.Server == srvASA) m->Owner = t->Owner = "DBA";
    if (c.Tweak) c.Tweak(*m->Fields[0], *t->Fields[0]);
    db.PairObjects();
    MatchTables(db.Ctx);
    AlterColumns(db.Ctx);
    const int i = StatementWith(db.Exec, c.Expected);
    ASSERT_GE(i, 0) << c.Label << "\n" << db.Script();
    EXPECT_EQ(!db.Exec.GetStatement(i)->DataRisk.empty(), c.Risky) << c.Label;
  }
}

TEST(ColumnAlterDialects, MySQLColumnOrderFix) {
  TTwoDbs db(srvMySQL);
  AddTable(db.Master, "T", {{"C"}, {"A"}, {"B", dtVarchar, 20}, {"D"}});
  AddTable(db.Target, "T", {{"A"}, {"B", dtVarchar, 10}, {"C"}, {"D"}});
  db.PairObjects();
  MatchTables(db.Ctx);
  AlterColumns(db.Ctx);
  // C moves to the front; the others fall into place; B's new definition
  // is written once, with its move or without.
  EXPECT_EQ(db.Script(),
            "ALTER TABLE T MODIFY COLUMN C INTEGER FIRST;\n\n"
            "ALTER TABLE T MODIFY COLUMN B VARCHAR(20);\n");

  TTwoDbs swapped(srvMySQL);
  AddTable(swapped.Master, "T", {{"B"}, {"C"}, {"A"}});
  AddTable(swapped.Target, "T", {{"A"}, {"B"}, {"C"}});
  swapped.PairObjects();
  MatchTables(swapped.Ctx);
  AlterColumns(swapped.Ctx);
  EXPECT_EQ(swapped.Script(),
            "ALTER TABLE T MODIFY COLUMN B INTEGER FIRST;\n\n"
            "ALTER TABLE T MODIFY COLUMN C INTEGER AFTER B;\n");
}

// MariaDB cannot MODIFY a generated column between VIRTUAL and STORED: it is
// dropped and added again in its place. A column that takes its table's
// character set is modified when the table's default changes, which leaves
// the columns as they are.
TEST(ColumnAlterDialects, MySQLGeneratedColumnsAndTableCharsets) {
  TTwoDbs db(srvMySQL);
  TTblData* m = AddTable(db.Master, "T",
                         {{"A"}, {"G", dtInteger, 0, true, "(A * 2)"}, {"B"}, {"V", dtVarchar, 10},
                          {"W", dtVarchar, 10}});
  TTblData* t = AddTable(db.Target, "T",
                         {{"A"}, {"G", dtInteger, 0, true, "(A * 2)"}, {"B"}, {"V", dtVarchar, 10},
                          {"W", dtVarchar, 10}});
  m->Fields[1]->Persisted = true;
  m->Fields[4]->CharacterSet = t->Fields[4]->CharacterSet = "ascii";  // a set of its own
  m->MySQLOptions->DefaultCharset = "latin1";
  t->MySQLOptions->DefaultCharset = "utf8mb4";
  db.PairObjects();
  MatchTables(db.Ctx);
  db.RunPhase(21);
  const std::string script = db.Script();
  const int drop = StatementWith(db.Exec, "DROP G");
  const int add = StatementWith(db.Exec, "ADD G INTEGER GENERATED ALWAYS AS (A * 2) STORED AFTER A");
  ASSERT_GE(drop, 0) << script;
  EXPECT_LT(drop, add) << script;
  EXPECT_EQ(StatementsWith(db.Exec, "MODIFY COLUMN G"), 0) << script;
  EXPECT_EQ(StatementsWith(db.Exec, "MODIFY COLUMN V VARCHAR(10)"), 1) << script;
  EXPECT_EQ(StatementsWith(db.Exec, "MODIFY COLUMN W"), 0) << script;
  EXPECT_EQ(StatementsWith(db.Exec, "MODIFY COLUMN B"), 0) << script;
}

// ---- MS SQL re-creation for column order ----

class MSSQLRecreation : public testing::Test {
 protected:
  MSSQLRecreation() : Db(srvMSSQL) {
    Db.Target.MSSQLServerOptions->MSSQLCompareOptions->UpdateColumnPosition = true;
  }
  TTwoDbs Db;
};

TEST_F(MSSQLRecreation, CopyKeepsRowsAndRestoresIndexes) {
  TTblData* m = AddTable(Db.Master, "T", {{"ID", dtInteger, 0, false}, {"B"}, {"A"}});
  AddTable(Db.Target, "T", {{"ID", dtInteger, 0, false}, {"A"}, {"B"}});
  m->Fields[0]->Identity = true;
  for (TObjs* objs : {&Db.Master, &Db.Target}) AddIndex(*objs, "IX_A", "T", {{"A"}});
  Db.PairObjects();
  MatchTables(Db.Ctx);
  CheckColumnOrder(Db.Ctx);
  ASSERT_TRUE(m->Changed);
  RecreateTablesForColumnOrder(Db.Ctx);
  const std::string script = Db.Script();
  const char* steps[] = {
      "DROP INDEX",
      "CREATE TABLE kvt$T",
      "SET IDENTITY_INSERT kvt$T ON;",
      "insert into kvt$T(ID, B, A)\nselect ID, B, A from T;",
      "SET IDENTITY_INSERT kvt$T OFF;",
      "DROP TABLE T;",
      "CREATE TABLE T(ID INTEGER IDENTITY NOT NULL",
      "SET IDENTITY_INSERT T ON;",
      "insert into T(ID, B, A)\nselect ID, B, A from kvt$T;",
      "SET IDENTITY_INSERT T OFF;",
      "DROP TABLE kvt$T;",
      "CREATE INDEX IX_A",
  };
  size_t at = 0;
  for (const char* step : steps) {
    const size_t next = script.find(step, at);
    ASSERT_NE(next, std::string::npos) << step << "\n" << script;
    at = next;
  }
  EXPECT_EQ(StatementsWith(Db.Exec, "CREATE INDEX IX_A"), 1);
  EXPECT_FALSE(m->Changed);
  EXPECT_TRUE(m->GetExists());
}

TEST_F(MSSQLRecreation, NoIdentityNoIdentityInsertAndOnlyWithTheOption) {
  TTblData* m = AddTable(Db.Master, "T", {{"B"}, {"A"}});
  AddTable(Db.Target, "T", {{"A"}, {"B"}});
  Db.PairObjects();
  MatchTables(Db.Ctx);
  CheckColumnOrder(Db.Ctx);
  RecreateTablesForColumnOrder(Db.Ctx);
  EXPECT_EQ(StatementWith(Db.Exec, "IDENTITY_INSERT"), -1) << Db.Script();
  EXPECT_GE(StatementWith(Db.Exec, "insert into kvt$T(B, A)"), 0) << Db.Script();

  Db.Exec.Clear();
  m->SetChanged(true);
  Db.Target.MSSQLServerOptions->MSSQLCompareOptions->UpdateColumnPosition = false;
  RecreateTablesForColumnOrder(Db.Ctx);
  EXPECT_EQ(Db.Exec.Count(), 0);
}

}  // namespace
