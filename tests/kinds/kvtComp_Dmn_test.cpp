// Domains, user types and conversions: DDL per dialect, the Firebird
// alteration texts and their change notes, the dependency walks around a
// changed or vanished domain, and the phases.
#include <gtest/gtest.h>

#include <functional>

#include "kinds/kvtComp_Dmn.h"
#include "kvtBodyKindsFixture.h"
#include "kvtKeysFixture.h"

namespace {

TDmnData* AddDomain(TObjs& objs, const std::string& name, uint8_t type, int32_t length = 0) {
  auto d = std::make_unique<TDmnData>(&objs);
  d->SetName(name);
  d->BaseField->DataType = type;
  d->BaseField->Length = length;
  TDmnData* raw = d.get();
  objs.AddObj(d, true);
  return raw;
}

// A table column typed by `domain`, recorded as its user the way the parser does.
TFldData* TypeColumn(TObjs& objs, TTblData* table, const std::string& column, TDmnData* domain) {
  TFldData* c = table->FindField(column);
  c->DataType = dtDomain;
  c->DomainName = domain->Name;
  AddDependency(&objs, c, domain, "", 0, 0);
  return c;
}

// ---------------------------------------------------------------------------
// DDL texts

struct TDmnTextCase {
  const char* Label;
  TServerType Server;
  std::function<void(TDmnData&)> Setup;
  const char* Create;
  const char* Drop;
};

const TDmnTextCase kDmnTexts[] = {
    {"Firebird domain keeps charset, default, null, check, collation", srvInterBase,
     [](TDmnData& d) {
       TFldData& f = *d.BaseField;
       f.DataType = dtVarchar;
       f.Length = 60;
       f.CharacterSet = "WIN1252";
       f.Collation = "PXW_INTL";
       f.DefaultValue = "'x'";
       f.Nullable = false;
       f.CheckExpression = "(VALUE <> '')";
     },
     "CREATE DOMAIN D AS VARCHAR(60) CHARACTER SET WIN1252 DEFAULT 'x' NOT NULL "
     "CHECK (VALUE <> '') COLLATE PXW_INTL",
     "/* Drop: D (TDmnData) */\r\nDROP DOMAIN D"},
    {"Firebird blob domain", srvInterBase,
     [](TDmnData& d) {
       d.BaseField->DataType = dtBlob;
       d.BaseField->SubType = 1;
       d.BaseField->SegmentSize = 100;
     },
     "CREATE DOMAIN D AS BLOB SUB_TYPE 1 SEGMENT SIZE 100",
     "/* Drop: D (TDmnData) */\r\nDROP DOMAIN D"},
    {"SQL Anywhere domain", srvASA, [](TDmnData& d) { d.BaseField->Nullable = false; },
     "CREATE DOMAIN D INTEGER NOT NULL", "/* Drop: D (TDmnData) */\r\nDROP DOMAIN D"},
    {"MS SQL sp_addtype", srvMSSQL,
     [](TDmnData& d) {
       d.TypeText = "varchar(10)";
       d.BaseField->Nullable = false;
     },
     "EXEC sp_addtype N'D', N'varchar(10)', N'NOT NULL'", "DROP TYPE dbo.D"},
    {"MS SQL CREATE TYPE FROM", srvMSSQL, [](TDmnData& d) { d.FromType = true; },
     "CREATE TYPE dbo.D FROM INTEGER NULL", "DROP TYPE dbo.D"},
    {"MS SQL XML schema collection", srvMSSQL,
     [](TDmnData& d) {
       d.TypeText = "XML SCHEMA COLLECTION";
       d.SetBody("<xsd:schema/>");
     },
     "CREATE XML SCHEMA COLLECTION dbo.D AS N'<xsd:schema/>'", "DROP XML SCHEMA COLLECTION dbo.D"},
    {"ASE sp_addtype", srvASE, [](TDmnData& d) { d.TypeText = "int"; },
     "EXEC sp_addtype N'D', N'int', N'NULL'", "exec sp_droptype 'D'"},
    {"PostgreSQL domain", srvPostgreSQL,
     [](TDmnData& d) {
       d.SetName("d");
       d.Schema = "s";
       d.BaseField->CheckExpression = "(VALUE > 0)";
     },
     "CREATE DOMAIN s.d integer CHECK(VALUE > 0)", "DROP DOMAIN s.d"},
    {"PostgreSQL base type", srvPostgreSQL,
     [](TDmnData& d) {
       d.SetName("t");
       TPGTypeOptions& o = *d.PGOptions;
       o.IsBaseType = true;
       o.Input = "t_in";
       o.Output = "t_out";
       o.InternalLength = 16;
       o.PassedByValue = true;
       o.Delimiter = ",";
     },
     "CREATE TYPE t(\r\nINPUT = t_in,\r\nOUTPUT = t_out,\r\nINTERNALLENGTH = 16,\r\n"
     "PASSEDBYVALUE,\r\n"
     "ALIGNMENT = int4,\r\nSTORAGE = plain,\r\nDELIMITER = ',')",
     "DROP TYPE t"},
    {"Oracle VARRAY", srvOracle,
     [](TDmnData& d) {
       d.TypeKind = tyVarray;
       d.VarrayLimit = 10;
       d.BaseField->DataType = dtVarchar2;
       d.BaseField->Length = 20;
     },
     "CREATE OR REPLACE TYPE D AS VARRAY(10) OF VARCHAR2(20)", "DROP TYPE D"},
    {"Oracle IS TABLE OF with directive", srvOracle,
     [](TDmnData& d) {
       d.TypeKind = tyTableOfIs;
       d.BaseField->DataType = dtNumber;
       d.Directive->NotFinal = true;
     },
     "CREATE OR REPLACE TYPE D IS TABLE OF NUMBER\r\n   NOT FINAL", "DROP TYPE D"},
};

class DomainText : public testing::TestWithParam<TDmnTextCase> {};

TEST_P(DomainText, CreateAndDrop) {
  const TDmnTextCase& c = GetParam();
  TObjs objs;
  objs.SetServerType(c.Server);
  if (c.Server == srvMSSQL) objs.MSSQLServerOptions->SQLServerVersion = st_MSSQL2008;
  TDmnData* d = AddDomain(objs, "D", dtInteger);
  if (c.Server == srvMSSQL) d->Schema = "dbo";
  c.Setup(*d);
  EXPECT_EQ(d->GetCreateSQL(), c.Create);
  EXPECT_EQ(d->GetDropSQL(), c.Drop);
}

INSTANTIATE_TEST_SUITE_P(AllDialects, DomainText, testing::ValuesIn(kDmnTexts),
                         [](const testing::TestParamInfo<TDmnTextCase>& i) {
                           return "Case" + std::to_string(i.index);
                         });

TEST(DomainText, OracleObjectTypeListsAttributesAndAddedOnes) {
  TObjs objs;
  objs.SetServerType(srvOracle);
  TDmnData* d = AddDomain(objs, "PT", dtUnknown);
  d->TypeKind = tyObject;
  d->TypeOid = "ABC";
  for (const char* n : {"X", "Y"}) {
    auto f = std::make_unique<TFldData>(&objs, d);
    f->SetName(n);
    f->DataType = dtNumber;
    d->Attributes.Add(n, std::move(f));
  }
  auto z = std::make_unique<TFldData>(&objs, d);
  z->SetName("Z");
  z->DataType = dtNumber;
  d->AddedAttributes.Add("Z", std::move(z));
  d->Cascade = true;
  EXPECT_EQ(d->GetCreateSQL(),
            "CREATE OR REPLACE TYPE PT\r\n OID 'ABC'\r\n AS OBJECT\r\n  (X NUMBER,\r\n   Y NUMBER);"
            "\r\n\r\nALTER TYPE PT ADD ATTRIBUTE\r\n  (Z NUMBER)\r\n   CASCADE");
}

TEST(DomainText, MSSQL2000DropsWithSpDroptype) {
  TObjs objs;
  objs.SetServerType(srvMSSQL);
  TDmnData* d = AddDomain(objs, "D", dtInteger);
  EXPECT_EQ(d->GetDropSQL(), "exec sp_droptype 'D'");
}

TEST(ConversionText, CreateAndDrop) {
  TObjs objs;
  objs.SetServerType(srvPostgreSQL);
  TCnvData c(&objs);
  c.SetName("latin_to_utf");
  c.Schema = "public";
  c.SourceEncoding = "LATIN1";
  c.DestEncoding = "UTF8";
  c.FunctionName = "iso8859_1_to_utf8";
  EXPECT_EQ(c.GetCreateSQL(),
            "CREATE CONVERSION public.latin_to_utf FOR 'LATIN1' TO 'UTF8' FROM "
            "public.iso8859_1_to_utf8");
  c.IsDefault = true;
  EXPECT_EQ(c.GetCreateSQL().substr(0, 26), "CREATE DEFAULT CONVERSION ");
  EXPECT_EQ(c.GetDropSQL(), "DROP CONVERSION public.latin_to_utf");
}

// ---------------------------------------------------------------------------
// Firebird alteration

struct TAlterCase {
  const char* Label;
  TIBSQLServerVersionType Version;
  bool AllowConversion;
  std::function<void(TFldData& m, TFldData& t)> Setup;
  std::vector<std::string> Statements;  // statement texts, comments left out
  int Notes = -1;                        // change notes; -1: one per statement
};

const TAlterCase kAlterCases[] = {
    {"widening is ALTER DOMAIN TYPE", st_Firebird_30, false,
     [](TFldData& m, TFldData& t) {
       m.DataType = t.DataType = dtVarchar;
       m.Length = 60;
       t.Length = 25;
     },
     {"ALTER DOMAIN D TYPE VARCHAR(60)"}},
    {"narrowing without conversion is left to the server", st_Firebird_25, false,
     [](TFldData& m, TFldData& t) {
       m.DataType = t.DataType = dtVarchar;
       m.Length = 10;
       t.Length = 25;
     },
     {"ALTER DOMAIN D TYPE VARCHAR(10)"}},
    {"narrowing with conversion rewrites RDB$FIELDS", st_Firebird_25, true,
     [](TFldData& m, TFldData& t) {
       m.DataType = t.DataType = dtVarchar;
       m.Length = 10;
       t.Length = 25;
     },
     {"UPDATE RDB$FIELDS SET RDB$FIELD_LENGTH=10, RDB$CHARACTER_LENGTH=10\r\n"
      "  WHERE RDB$FIELD_NAME='D'"}},
    {"widening on Firebird 3 names the character set the domain keeps", st_Firebird_30, false,
     [](TFldData& m, TFldData& t) {
       m.DataType = t.DataType = dtVarchar;
       m.Length = 25;
       t.Length = 10;
       m.CharacterSet = t.CharacterSet = "UTF8";
     },
     {"ALTER DOMAIN D TYPE VARCHAR(25) CHARACTER SET UTF8"}},
    {"old server rewrites the length even when widening", st_InterBase_5x, true,
     [](TFldData& m, TFldData& t) {
       m.DataType = t.DataType = dtChar;
       m.Length = 30;
       t.Length = 20;
       m.CharacterSet = "UNICODE_FSS";
     },
     {"UPDATE RDB$FIELDS SET RDB$FIELD_LENGTH=90, RDB$CHARACTER_LENGTH=30\r\n"
      "  WHERE RDB$FIELD_NAME='D'"}},
    {"old server changes a numeric scale in RDB$FIELDS", st_InterBase_5x, false,
     [](TFldData& m, TFldData& t) {
       m.DataType = t.DataType = dtNumeric;
       m.Precision = t.Precision = 9;
       m.Scale = 3;
       t.Scale = 2;
     },
     {"UPDATE RDB$FIELDS SET RDB$FIELD_SCALE = -3\r\n  WHERE RDB$FIELD_NAME = 'D'"}},
    {"old server changes a date type in RDB$FIELDS", st_InterBase_5x, false,
     [](TFldData& m, TFldData& t) {
       m.DataType = dtTimestamp;
       t.DataType = dtDate;
     },
     {"UPDATE RDB$FIELDS SET RDB$FIELD_TYPE=35\r\n  WHERE RDB$FIELD_NAME = 'D'"}},
    {"other type changes are ALTER DOMAIN TYPE", st_Firebird_25, false,
     [](TFldData& m, TFldData& t) {
       m.DataType = dtBigInt;
       t.DataType = dtInteger;
     },
     {"ALTER DOMAIN D TYPE BIGINT"}},
    {"check replaced", st_Firebird_30, false,
     [](TFldData& m, TFldData& t) {
       m.CheckExpression = "(VALUE > 0)";
       t.CheckExpression = "(VALUE >= 0)";
     },
     {"ALTER DOMAIN D DROP CONSTRAINT", "ALTER DOMAIN D ADD CHECK (VALUE > 0)"},
     1},
    {"check removed", st_Firebird_30, false,
     [](TFldData&, TFldData& t) { t.CheckExpression = "(VALUE >= 0)"; },
     {"ALTER DOMAIN D DROP CONSTRAINT"}},
    {"check changed on InterBase 5 goes through ZEL$TEMP", st_InterBase_5x, false,
     [](TFldData& m, TFldData&) { m.CheckExpression = "(VALUE > 0)"; },
     {"CREATE DOMAIN ZEL$TEMP AS INTEGER CHECK (VALUE > 0)",
      "Update RDB$Fields set Rdb$Validation_Source =\r\n(Select Rdb$Validation_Source from "
      "Rdb$Fields where Rdb$Field_Name='ZEL$TEMP'),\r\nRdb$Validation_BLR =\r\n(Select "
      "Rdb$Validation_BLR from Rdb$Fields where Rdb$Field_Name='ZEL$TEMP')\r\nwhere "
      "RDB$FIELD_NAME='D'",
      "DROP DOMAIN ZEL$TEMP"},
     1},
    {"default set and dropped", st_Firebird_25, false,
     [](TFldData& m, TFldData& t) {
       m.DefaultValue = "1";
       t.DefaultValue = "0";
     },
     {"ALTER DOMAIN D SET DEFAULT 1"}},
    {"default dropped", st_Firebird_25, false, [](TFldData&, TFldData& t) { t.DefaultValue = "0"; },
     {"ALTER DOMAIN D DROP DEFAULT"}},
    {"default changed on InterBase 4 goes through ZEL$TEMP", st_InterBase_4x, false,
     [](TFldData& m, TFldData&) { m.DefaultValue = "7"; },
     {"CREATE DOMAIN ZEL$TEMP AS INTEGER DEFAULT 7",
      "Update RDB$Fields set Rdb$Default_Source =\r\n(Select Rdb$Default_Source from Rdb$Fields "
      "where Rdb$Field_Name='ZEL$TEMP'),\r\nRdb$Default_Value =\r\n(Select Rdb$Default_Value from "
      "Rdb$Fields where Rdb$Field_Name='ZEL$TEMP')\r\nwhere RDB$FIELD_NAME='D'",
      "DROP DOMAIN ZEL$TEMP"},
     1},
    {"NOT NULL on Firebird 3", st_Firebird_30, false,
     [](TFldData& m, TFldData&) { m.Nullable = false; }, {"ALTER DOMAIN D SET NOT NULL"}},
    {"NULL again on Firebird 3", st_Firebird_30, false,
     [](TFldData&, TFldData& t) { t.Nullable = false; }, {"ALTER DOMAIN D DROP NOT NULL"}},
    {"NOT NULL before Firebird 3 with conversion", st_Firebird_25, true,
     [](TFldData& m, TFldData&) { m.Nullable = false; },
     {"Update Rdb$Fields set Rdb$Null_Flag = 1\r\nwhere Rdb$Field_Name='D'"}},
    {"NOT NULL before Firebird 3 without conversion: nothing", st_Firebird_25, false,
     [](TFldData& m, TFldData&) { m.Nullable = false; }, {}},
    {"blob sub-type and segment before Firebird 3", st_Firebird_25, false,
     [](TFldData& m, TFldData& t) {
       m.DataType = t.DataType = dtBlob;
       m.SubType = 1;
       m.SegmentSize = 100;
       t.SegmentSize = 80;
     },
     {"Update Rdb$Fields set RDB$FIELD_SUB_TYPE = 1\r\nwhere Rdb$Field_Name='D'",
      "Update Rdb$Fields set RDB$SEGMENT_LENGTH = 100\r\nwhere Rdb$Field_Name='D'"}},
    {"blob change on Firebird 3 is only a comment", st_Firebird_30, false,
     [](TFldData& m, TFldData& t) {
       m.DataType = t.DataType = dtBlob;
       m.SubType = 1;
     },
     {}},
    {"unchanged blob segment: 0 and 80 are the default", st_Firebird_25, false,
     [](TFldData& m, TFldData& t) {
       m.DataType = t.DataType = dtBlob;
       t.SegmentSize = 80;
     },
     {}},
};

class DomainAlter : public testing::TestWithParam<TAlterCase> {};

TEST_P(DomainAlter, StatementsAndOneNoteEach) {
  const TAlterCase& c = GetParam();
  TTwoDbs db(srvInterBase);
  db.Target.IBServerOptions->SQLServerVersion = c.Version;
  db.Target.IBServerOptions->IBCompareOptions->AllowDataTypeConversion = c.AllowConversion;
  TStringList notes;
  db.Ctx.ChangeNotes = &notes;
  TDmnData* m = AddDomain(db.Master, "D", dtInteger);
  TDmnData* t = AddDomain(db.Target, "D", dtInteger);
  c.Setup(*m->BaseField, *t->BaseField);
  db.PairObjects();
  AlterDomains(db.Ctx);

  std::vector<std::string> texts;
  for (const auto& st : db.Exec.Statements) {
    if (st->Kind == skComment) continue;
    EXPECT_EQ(st->Action, saAlter);
    EXPECT_EQ(st->ObjType, dboDomain);
    EXPECT_EQ(st->ObjName, "D");
    std::string text = st->GetText();
    texts.push_back(text.substr(0, text.size() - 2));  // CR LF
  }
  EXPECT_EQ(texts, c.Statements);
  // One note per change, naming the domain and carrying the statement it describes.
  for (const std::string& n : notes) {
    EXPECT_NE(n.find("Domain D"), std::string::npos) << n;
    bool carries = false;
    for (const std::string& s : texts) carries = carries || n.find(s) != std::string::npos;
    EXPECT_TRUE(carries) << n;
  }
  EXPECT_EQ(notes.size(), c.Notes < 0 ? texts.size() : static_cast<size_t>(c.Notes));
  if (!texts.empty()) {
    EXPECT_EQ(db.Exec.GetStatement(0)->GetText(), "/* Alter Domains... */\r\n");
  }
}

INSTANTIATE_TEST_SUITE_P(Firebird, DomainAlter, testing::ValuesIn(kAlterCases),
                         [](const testing::TestParamInfo<TAlterCase>& i) {
                           return "Case" + std::to_string(i.index);
                         });

TEST(DomainAlter, CharacterSetAndCollationOnlyWhenCompared) {
  auto run = [](TIBSQLServerVersionType version, bool compare) {
    TTwoDbs db(srvInterBase);
    db.Target.IBServerOptions->SQLServerVersion = version;
    db.Target.IBServerOptions->IBCompareOptions->FldCharsetCompare = compare;
    TDmnData* m = AddDomain(db.Master, "D", dtVarchar, 10);
    TDmnData* t = AddDomain(db.Target, "D", dtVarchar, 10);
    m->BaseField->CharacterSet = "UTF8";
    t->BaseField->CharacterSet = "WIN1252";
    t->BaseField->Collation = "PXW_INTL";
    db.PairObjects();
    AlterDomains(db.Ctx);
    return db.Script();
  };
  EXPECT_EQ(run(st_Firebird_25, false), "");
  EXPECT_EQ(run(st_Firebird_25, true),
            "/* Alter Domains... */\n"
            "Update Rdb$Fields set Rdb$Character_Set_ID =\n"
            "(Select C.Rdb$Character_Set_ID from Rdb$Character_Sets C\n"
            "where C.Rdb$Character_Set_Name='UTF8')\nwhere Rdb$Field_Name='D';\n\n"
            "Update Rdb$Fields set Rdb$Collation_ID = NULL\nwhere Rdb$Field_Name = 'D';\n\n");
  // Firebird 3 refuses system-table updates; TYPE carries the character set.
  EXPECT_EQ(run(st_Firebird_30, true),
            "/* Alter Domains... */\nALTER DOMAIN D TYPE VARCHAR(10) CHARACTER SET UTF8;\n\n");
}

TEST(DomainAlter, Firebird3NamesTheDatabaseCharacterSetOnlyWhenKnown) {
  auto run = [](const char* dbCharset) {
    TTwoDbs db(srvInterBase);
    db.Target.IBServerOptions->SQLServerVersion = st_Firebird_30;
    db.Target.IBServerOptions->IBCompareOptions->FldCharsetCompare = true;
    db.Target.IBServerOptions->DBCharSet = dbCharset;
    AddDomain(db.Master, "D", dtVarchar, 10);  // in the database's character set
    AddDomain(db.Target, "D", dtVarchar, 10)->BaseField->CharacterSet = "WIN1252";
    db.PairObjects();
    AlterDomains(db.Ctx);
    return db.Script();
  };
  EXPECT_EQ(run("UTF8"),
            "/* Alter Domains... */\nALTER DOMAIN D TYPE VARCHAR(10) CHARACTER SET UTF8;\n\n");
  // Guessing NONE would change the data's character set for real.
  EXPECT_EQ(run(""),
            "/* Alter Domains... */\n/* Alter Domain: D - character set WIN1252 -> the database's, "
            "which is not known: not changed */\n");
}

// Firebird 3 changes a collation only by creating the domain again: its
// columns step off it and back on, what uses them goes first.
TEST(DomainAlter, Firebird3RecreatesADomainForACollation) {
  TTwoDbs db(srvInterBase);
  db.Target.IBServerOptions->SQLServerVersion = st_Firebird_30;
  db.Target.IBServerOptions->IBCompareOptions->FldCharsetCompare = true;
  TStringList notes;
  db.Ctx.ChangeNotes = &notes;
  for (TObjs* o : {&db.Master, &db.Target}) {
    TDmnData* d = AddDomain(*o, "D", dtVarchar, 20);
    d->BaseField->CharacterSet = "ISO8859_1";
    d->BaseField->Nullable = false;
    if (o == &db.Master) d->BaseField->Collation = "FR_FR";
    TTblData* t = AddTable(*o, "T", {{"ID"}, {"NAME"}});
    TypeColumn(*o, t, "NAME", d);
    AddIndex(*o, "IX_NAME", "T", {{"NAME"}});
  }
  Prepare(db);
  AlterDomains(db.Ctx);
  const std::vector<std::string> steps = {"drop IX_NAME", "alter T.NAME", "drop D", "create D",
                                          "alter T.NAME"};
  EXPECT_EQ(Steps(db.Exec), steps);
  EXPECT_EQ(
      StatementsWith(db.Exec, "ALTER TABLE T ALTER NAME TYPE VARCHAR(20) CHARACTER SET ISO8859_1"),
      1);
  EXPECT_EQ(StatementsWith(db.Exec,
                           "CREATE DOMAIN D AS VARCHAR(20) CHARACTER SET ISO8859_1 NOT NULL "
                           "COLLATE FR_FR"),
            1);
  EXPECT_EQ(StatementsWith(db.Exec, "ALTER TABLE T ALTER NAME TYPE D"), 1);
  EXPECT_EQ(notes.size(), 1u);
  db.Exec.Clear();
  db.RunPhase(28);
  EXPECT_EQ(StatementsWith(db.Exec, "CREATE INDEX IX_NAME"), 1);
}

// Firebird 3 refuses ALTER DOMAIN ... TYPE for a shorter string or a smaller
// numeric, and its system tables are read-only (even with conversions
// allowed): the rows of each column typed by the domain go through a
// temporary column of the new type, the domain is created again and the
// columns take it back. No column is dropped before its rows are copied, and
// the column keeps its own default and NOT NULL.
TEST(DomainAlter, Firebird3MovesTheRowsWhenTheTypeIsRefused) {
  struct {
    const char* label;
    uint8_t type;
    int32_t master, target;  // length, or precision with scale 2
    const char* added;  // the temporary column
  } cases[] = {
      {"shorter string", dtVarchar, 20, 60,
       "ZELTEMP VARCHAR(20) CHARACTER SET UTF8 DEFAULT 1 COLLATE UNICODE_CI;"},
      {"smaller precision", dtNumeric, 10, 15, "ZELTEMP NUMERIC(10,2) DEFAULT 1;"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    TTwoDbs db(srvInterBase);
    db.Target.IBServerOptions->SQLServerVersion = st_Firebird_30;
    db.Target.IBServerOptions->IBCompareOptions->AllowDataTypeConversion = true;
    TStringList notes;
    db.Ctx.ChangeNotes = &notes;
    for (TObjs* o : {&db.Master, &db.Target}) {
      const int32_t size = o == &db.Master ? c.master : c.target;
      TDmnData* d = AddDomain(*o, "D", c.type, c.type == dtVarchar ? size : 0);
      if (c.type == dtVarchar) {
        d->BaseField->CharacterSet = "UTF8";
        d->BaseField->Collation = "UNICODE_CI";
      } else {
        d->BaseField->Precision = size;
        d->BaseField->Scale = 2;
      }
      TTblData* t = AddTable(*o, "T", {{"ID"}, {"V"}, {"W"}});
      TFldData* v = TypeColumn(*o, t, "V", d);
      v->Nullable = false;
      v->DefaultValue = "1";
      AddIndex(*o, "IX_V", "T", {{"V"}});
    }
    Prepare(db);
    AlterDomains(db.Ctx);
    const std::vector<std::string> steps = {"drop IX_V", "alter T.V", "? T.V", "? ", "alter T.V",
                                            "alter T.V", "alter T.V", "drop D", "create D",
                                            "alter T.V"};
    EXPECT_EQ(Steps(db.Exec), steps);
    const std::string script = db.Script();
    const std::string add = "ALTER TABLE T ADD " + std::string(c.added);
    const size_t copy = script.find("UPDATE T SET ZELTEMP = CAST(V AS ");
    EXPECT_NE(script.find(add), std::string::npos) << script;
    EXPECT_NE(copy, std::string::npos) << script;
    EXPECT_GT(script.find("ALTER TABLE T DROP V;"), copy) << script;
    for (const char* s : {"ALTER TABLE T ALTER COLUMN ZELTEMP TO V;", "ALTER TABLE T ALTER V SET NOT NULL;",
                          "DROP DOMAIN D;", "ALTER TABLE T ALTER V TYPE D;"})
      EXPECT_NE(script.find(s), std::string::npos) << s << "\n" << script;
    EXPECT_EQ(script.find("ALTER DOMAIN"), std::string::npos) << script;
    // --safe holds back the domain's re-creation with the copies it needs.
    for (const auto& st : db.Exec.Statements) {
      if (st->Kind == skComment || st->Kind == skCommit || st->ObjName == "IX_V") continue;
      EXPECT_FALSE(st->DataRisk.empty()) << st->GetText();
    }
    // The column order comes back with the table's moved columns.
    EXPECT_TRUE(db.Master.FindTable("T")->Changed);
    db.Exec.Clear();
    db.RunPhase(28);
    EXPECT_EQ(StatementsWith(db.Exec, "CREATE INDEX IX_V"), 1);
  }
}

// Firebird 3's ALTER DOMAIN ... TYPE drops a domain's collation: a longer
// string keeps it by re-creation too, also where collations are not compared.
TEST(DomainAlter, Firebird3KeepsTheCollationOfAWidenedDomain) {
  TTwoDbs db(srvInterBase);
  db.Target.IBServerOptions->SQLServerVersion = st_Firebird_30;
  for (TObjs* o : {&db.Master, &db.Target}) {
    TDmnData* d = AddDomain(*o, "D", dtVarchar, o == &db.Master ? 30 : 20);
    d->BaseField->CharacterSet = "UTF8";
    d->BaseField->Collation = "UNICODE_CI";
    TypeColumn(*o, AddTable(*o, "T", {{"ID"}, {"NAME"}}), "NAME", d);
  }
  Prepare(db);
  AlterDomains(db.Ctx);
  const std::vector<std::string> steps = {"alter T.NAME", "drop D", "create D", "alter T.NAME"};
  EXPECT_EQ(Steps(db.Exec), steps);
  EXPECT_EQ(StatementsWith(db.Exec, "ALTER TABLE T ALTER NAME TYPE VARCHAR(20) CHARACTER SET UTF8"), 1);
  EXPECT_EQ(StatementsWith(db.Exec,
                           "CREATE DOMAIN D AS VARCHAR(30) CHARACTER SET UTF8 COLLATE UNICODE_CI"),
            1);
  EXPECT_EQ(StatementsWith(db.Exec, "ALTER TABLE T ALTER NAME TYPE D"), 1);
}

// A routine parameter typed by the domain would keep it from going: the
// routine's header takes the new base type while the domain is re-created.
TEST(DomainAlter, Firebird3ReleasesARoutineHeaderWhenTheTypeIsRefused) {
  TTwoDbs db(srvInterBase);
  db.Target.IBServerOptions->SQLServerVersion = st_Firebird_30;
  for (TObjs* o : {&db.Master, &db.Target}) {
    TDmnData* d = AddDomain(*o, "D", dtVarchar, o == &db.Master ? 10 : 20);
    TPrcData* p = AddProcedure(*o, "P", "BEGIN EXIT; END", {{"A", dtDomain}});
    p->Params[0]->DomainName = "D";
    Uses(p, d);
  }
  Prepare(db);
  AlterDomains(db.Ctx);
  const std::string script = db.Script();
  const size_t header = script.find("ALTER PROCEDURE P(A VARCHAR(10))");
  EXPECT_NE(header, std::string::npos) << script;
  EXPECT_GT(script.find("DROP DOMAIN D;"), header) << script;
  EXPECT_NE(script.find("CREATE DOMAIN D AS VARCHAR(10);"), std::string::npos) << script;
  EXPECT_EQ(script.find("ALTER DOMAIN"), std::string::npos) << script;
  // The master's parameter is typed by the domain again for the restore.
  TFldData* a = db.Master.FindProcedure("P")->Params[0];
  EXPECT_EQ(a->DataType, dtDomain);
  EXPECT_EQ(a->DomainName, "D");
}

TEST(DomainAlter, Firebird3SaysACollationCannotChangeUnderARoutineParameter) {
  TTwoDbs db(srvInterBase);
  db.Target.IBServerOptions->SQLServerVersion = st_Firebird_30;
  db.Target.IBServerOptions->IBCompareOptions->FldCharsetCompare = true;
  for (TObjs* o : {&db.Master, &db.Target}) {
    TDmnData* d = AddDomain(*o, "D", dtVarchar, o == &db.Master ? 20 : 10);
    if (o == &db.Master) d->BaseField->Collation = "UNICODE_CI";
    TPrcData* p = AddProcedure(*o, "P", "BEGIN EXIT; END", {{"A", dtDomain}});
    p->Params[0]->DomainName = "D";
    Uses(p, d);
  }
  Prepare(db);
  AlterDomains(db.Ctx);
  // The length changes; the collation stays as it is, said in a comment.
  EXPECT_EQ(db.Script(),
            "/* Alter Domains... */\nALTER DOMAIN D TYPE VARCHAR(20);\n\n"
            "/* Alter Domain: D - collation change not supported: none -> UNICODE_CI */\n");
}

TEST(DomainAlter, UnchangedDomainWritesNothing) {
  TTwoDbs db(srvInterBase);
  for (TObjs* o : {&db.Master, &db.Target}) {
    TDmnData* d = AddDomain(*o, "D", dtVarchar, 20);
    d->BaseField->DefaultValue = "'a'";
    d->BaseField->CheckExpression = "(VALUE <> '')";
    d->BaseField->Nullable = false;
  }
  db.PairObjects();
  AlterDomains(db.Ctx);
  EXPECT_EQ(db.Exec.Count(), 0);
}

TEST(DomainAlter, PostgreSQLChangesTheCheckByConstraintName) {
  TTwoDbs db(srvPostgreSQL);
  TStringList notes;
  db.Ctx.ChangeNotes = &notes;
  TDmnData* m = AddDomain(db.Master, "d", dtInteger);
  TDmnData* t = AddDomain(db.Target, "d", dtBigInt);  // the type is not altered
  m->BaseField->CheckExpression = "(VALUE > 0)";
  db.PairObjects();
  AlterDomains(db.Ctx);
  EXPECT_EQ(db.Script(), "/* Alter Domains... */\nALTER DOMAIN d ADD CHECK(VALUE > 0);\n\n");
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_EQ(notes[0], "Domain d: Alter constraint\r\nALTER DOMAIN d ADD CHECK(VALUE > 0)");

  // The old check goes by its name: the server's own for an unnamed one.
  m->BaseField->CheckName = "positive";
  t->BaseField->CheckExpression = "(VALUE >= 0)";
  db.Exec.Clear();
  AlterDomains(db.Ctx);
  EXPECT_EQ(db.Script(),
            "/* Alter Domains... */\nALTER DOMAIN d DROP CONSTRAINT d_check;\n\n"
            "ALTER DOMAIN d ADD CONSTRAINT positive CHECK(VALUE > 0);\n\n");
  m->BaseField->CheckExpression.clear();
  t->BaseField->CheckName = "nonneg";
  db.Exec.Clear();
  AlterDomains(db.Ctx);
  EXPECT_EQ(db.Script(), "/* Alter Domains... */\nALTER DOMAIN d DROP CONSTRAINT nonneg;\n\n");
}

TEST(DomainAlter, DescriptionChangeOnFirebird3IsCommentOn) {
  TTwoDbs db(srvInterBase);
  db.Target.IBServerOptions->SQLServerVersion = st_Firebird_30;
  TDmnData* m = AddDomain(db.Master, "D", dtInteger);
  AddDomain(db.Target, "D", dtInteger);
  m->SetDescription("quantity");
  db.PairObjects();
  AlterDomains(db.Ctx);
  EXPECT_EQ(db.Script(), "/* Alter Domains... */\nCOMMENT ON DOMAIN D IS\n'quantity';\n\n");
}

// ---------------------------------------------------------------------------
// Dependencies

// CLIENT.NAME is typed by D_NAME; a view reads it and a procedure uses the
// domain; the master widens the domain.
struct TRetypedDomain {
  TTwoDbs Db{srvInterBase};
  TDmnData* Target;
  TViwData* TargetView;
  TPrcData* TargetPrc;

  TRetypedDomain() {
    Db.Target.IBServerOptions->SQLServerVersion = st_Firebird_30;
    for (TObjs* o : {&Db.Master, &Db.Target}) {
      const bool master = o == &Db.Master;
      TDmnData* d = AddDomain(*o, "D_NAME", dtVarchar, master ? 60 : 25);
      TTblData* t = AddTable(*o, "CLIENT", {{"ID"}, {"NAME"}});
      TFldData* c = TypeColumn(*o, t, "NAME", d);
      TViwData* v = AddView(*o, "CLIENT_NAMES", "SELECT NAME FROM CLIENT");
      Uses(v, t);
      Uses(v, c);
      Uses(v, d);
      TPrcData* p = AddProcedure(*o, "P", "BEGIN SUSPEND; END", {{"A", dtDomain}});
      p->Params[0]->DomainName = "D_NAME";
      Uses(p, d);
      if (!master) {
        Target = d;
        TargetView = v;
        TargetPrc = p;
      }
    }
    Prepare(Db);
  }
};

TEST(DomainDependencies, TypeChangeTakesUsersDownFirstAndOnce) {
  TRetypedDomain s;
  s.Db.RunPhase(19);
  const std::vector<std::string> steps = Steps(s.Db.Exec);
  const std::vector<std::string> expected = {"drop CLIENT_NAMES", "empty P", "alter D_NAME"};
  EXPECT_EQ(steps, expected);
  EXPECT_FALSE(s.TargetView->GetExists());
  EXPECT_FALSE(s.Db.Master.FindView("CLIENT_NAMES")->GetExists());
  // The view comes back with the views, the body with the procedures.
  s.Db.Exec.Clear();
  RunBodyPhases(s.Db, 20);
  EXPECT_EQ(StatementsWith(s.Db.Exec, "CREATE VIEW CLIENT_NAMES"), 1);
  EXPECT_EQ(StatementsWith(s.Db.Exec, "ALTER PROCEDURE P(A D_NAME)\r\n AS\r\nBEGIN SUSPEND; END"),
            1);
}

TEST(DomainDependencies, ColumnMovedOffTheDomainIsLeftAlone) {
  TTwoDbs db(srvInterBase);
  TDmnData* t = AddDomain(db.Target, "D_PHONE", dtVarchar, 20);
  TTblData* tt = AddTable(db.Target, "CONTACT", {{"ID"}, {"PHONE", dtVarchar, 20}});
  TypeColumn(db.Target, tt, "PHONE", t);
  AddIndex(db.Target, "IX_PHONE", "CONTACT", {{"PHONE"}});
  AddTable(db.Master, "CONTACT", {{"ID"}, {"PHONE", dtVarchar, 20}});
  Prepare(db);
  db.RunPhase(24);
  // The column no longer takes its type from the domain: its index stays.
  EXPECT_EQ(Steps(db.Exec), std::vector<std::string>{"drop D_PHONE"});
  EXPECT_EQ(db.Exec.GetStatement(0)->GetText(), "/* Drop domains... */\r\n");
}

TEST(DomainDependencies, VanishedDomainRecreatesMasterViewsThatReadIt) {
  TTwoDbs db(srvInterBase);
  TDmnData* d = AddDomain(db.Target, "D_OLD", dtInteger);
  TViwData* kept = AddView(db.Target, "V_KEPT", "SELECT 1 FROM RDB$DATABASE");
  TViwData* gone = AddView(db.Target, "V_GONE", "SELECT 2 FROM RDB$DATABASE");
  Uses(kept, d);
  Uses(gone, d);
  AddView(db.Master, "V_KEPT", "SELECT 1 FROM RDB$DATABASE");
  Prepare(db);
  DropDomains(db.Ctx);
  const std::vector<std::string> expected = {"drop V_KEPT", "drop V_GONE", "drop D_OLD"};
  EXPECT_EQ(Steps(db.Exec), expected);
  db.Exec.Clear();
  db.RunPhase(25);
  EXPECT_EQ(StatementsWith(db.Exec, "CREATE VIEW V_KEPT"), 1);
  EXPECT_EQ(StatementsWith(db.Exec, "V_GONE"), 0);
}

TEST(DomainDependencies, VanishedDomainLeavesRoutineHeadersFirst) {
  TTwoDbs db(srvInterBase);
  TDmnData* d = AddDomain(db.Target, "D_OLD", dtInteger);
  TPrcData* t = AddProcedure(db.Target, "P", "BEGIN X = 1; END", {{"A", dtDomain}});
  t->Params[0]->DomainName = "D_OLD";
  Uses(t, d);
  AddProcedure(db.Master, "P", "BEGIN X = 1; END", {{"A", dtInteger}});
  Prepare(db);
  db.RunPhase(24);
  // The header the master has goes over the parameter before the domain goes;
  // emptying the body alone would leave the parameter on the domain.
  const std::vector<std::string> expected = {"empty P", "drop D_OLD"};
  EXPECT_EQ(Steps(db.Exec), expected);
  EXPECT_EQ(StatementText(db.Exec, saEmptyBody, "P"),
            "ALTER PROCEDURE P(A INTEGER)\r\n AS\r\n BEGIN EXIT; END\r\n");
  db.Exec.Clear();
  RunBodyPhases(db, 25);
  EXPECT_EQ(StatementsWith(db.Exec, "ALTER PROCEDURE P(A INTEGER)\r\n AS\r\nBEGIN X = 1; END"), 1);
}

TEST(DomainDependencies, DomainOnDomainIsCreatedFirst) {
  TTwoDbs db(srvPostgreSQL);
  TDmnData* base = AddDomain(db.Master, "base_d", dtInteger);
  TDmnData* top = AddDomain(db.Master, "a_top", dtDomain);
  top->BaseField->DomainName = "base_d";
  Uses(top, base);
  Prepare(db);
  CreateDomains(db.Ctx);
  const std::vector<std::string> expected = {"create base_d", "create a_top"};
  EXPECT_EQ(Steps(db.Exec), expected);
}

// ---------------------------------------------------------------------------
// Phases

TEST(DomainPhases, HeadersAndDescriptionsOfNewDomains) {
  struct {
    TServerType St;
    const char* Header;
  } cases[] = {{srvInterBase, "/* Create Domains... */"},
               {srvMSSQL, "/* Create User datatypes... */"},
               {srvOracle, "/* Create types... */"}};
  for (const auto& c : cases) {
    TTwoDbs db(c.St);
    db.Target.IBServerOptions->SQLServerVersion = st_Firebird_40;
    TDmnData* d = AddDomain(db.Master, "D_NEW", dtInteger);
    d->SetDescription("new one");
    AddDomain(db.Master, "D_BOTH", dtInteger);
    AddDomain(db.Target, "D_BOTH", dtInteger);
    Prepare(db);
    CreateDomains(db.Ctx);
    EXPECT_EQ(db.Exec.GetStatement(0)->GetText(), std::string(c.Header) + "\r\n");
    EXPECT_EQ(Steps(db.Exec).at(0), "create D_NEW") << int(c.St);
    EXPECT_TRUE(d->GetExists());
    if (c.St == srvInterBase) {
      EXPECT_EQ(StatementText(db.Exec, saDescription, "D_NEW"),
                "COMMENT ON DOMAIN D_NEW IS\r\n'new one'\r\n");
    }
  }
}

TEST(DomainPhases, DropHeadersPerDialect) {
  struct {
    TServerType St;
    const char* Header;
    const char* Drop;
  } cases[] = {
      {srvInterBase, "/* Drop domains... */", "/* Drop: D (TDmnData) */\r\nDROP DOMAIN D\r\n"},
      {srvMSSQL, "/* Drop user datatypes... */", "exec sp_droptype 'D'\r\n"},
      {srvOracle, "/* Drop types... */", "DROP TYPE D\r\n"},
  };
  for (const auto& c : cases) {
    TTwoDbs db(c.St);
    AddDomain(db.Target, "D", dtInteger);
    Prepare(db);
    DropDomains(db.Ctx);
    ASSERT_EQ(db.Exec.Count(), 3) << int(c.St);
    EXPECT_EQ(db.Exec.GetStatement(0)->GetText(), std::string(c.Header) + "\r\n");
    EXPECT_EQ(db.Exec.GetStatement(1)->GetText(), c.Drop);
  }
}

TEST(ConversionPhases, CreateRecreateAndDrop) {
  TTwoDbs db(srvPostgreSQL);
  auto add = [](TObjs& o, const char* name, const char* function) {
    auto c = std::make_unique<TCnvData>(&o);
    c->SetName(name);
    c->Schema = "public";
    c->SourceEncoding = "LATIN1";
    c->DestEncoding = "UTF8";
    c->FunctionName = function;
    o.AddObj(c, true);
  };
  add(db.Master, "c_new", "f");
  add(db.Master, "c_changed", "f_new");
  add(db.Target, "c_changed", "f_old");
  add(db.Master, "c_same", "f");
  add(db.Target, "c_same", "f");
  add(db.Target, "c_gone", "f");
  Prepare(db);
  db.RunPhase(6);
  db.RunPhase(43);
  const std::vector<std::string> expected = {"create public.c_new", "drop c_changed",
                                             "create public.c_changed", "drop c_gone"};
  EXPECT_EQ(Steps(db.Exec), expected);
  EXPECT_EQ(StatementsWith(db.Exec, "/*"), 0);  // no header comments
}

}  // namespace
