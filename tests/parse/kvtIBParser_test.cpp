// The InterBase/Firebird DDL parser: scanner additions, the statement frame,
// data types, tables and constraints, the other object statements, the final
// pass, errors and robustness.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "core/kvtDBOptions.h"
#include "core/kvtDBStructure.h"
#include "core/kvtMsgMngr.h"
#include "extract/kvtIBScriptExtract.h"
#include "kinds/kvtCompColumn.h"
#include "kinds/kvtComp_Ctr.h"
#include "kinds/kvtComp_Def.h"
#include "kinds/kvtComp_Dmn.h"
#include "kinds/kvtComp_Exc.h"
#include "kinds/kvtComp_Fnc.h"
#include "kinds/kvtComp_Gnr.h"
#include "kinds/kvtComp_Idx.h"
#include "kinds/kvtComp_Pkg.h"
#include "kinds/kvtComp_Prc.h"
#include "kinds/kvtComp_Rol.h"
#include "kinds/kvtComp_Tbl.h"
#include "kinds/kvtComp_Trg.h"
#include "kinds/kvtComp_Viw.h"
#include "parse/kvtIBParser.h"

namespace fs = std::filesystem;

namespace {

// A parser on a container of its own; Parse reads a script text with the
// statement loop, as ParseFile does after loading a file.
class IbParse : public testing::Test {
 protected:
  TObjs Objs;
  std::unique_ptr<TIbParser> P;

  IbParse() { Objs.SetServerType(srvInterBase); }

  TIbParser& Parse(const std::string& text, TIBSQLServerVersionType version = st_Firebird_25) {
    Objs.IBServerOptions->SQLServerVersion = version;
    P = std::make_unique<TIbParser>(nullptr, &Objs);
    P->OnErrorMessage = [](void*, const std::string&) {};
    P->ScriptName = "s.sql";
    P->SetSource(text);
    P->ParseStatements();
    return *P;
  }
  std::vector<std::string> Errors() const {
    std::vector<std::string> r;
    for (const auto& m : P->Messages->Items)
      if (m->Kind == mkError) r.push_back(m->Text);
    return r;
  }
  std::vector<std::string> Warnings() const {
    std::vector<std::string> r;
    for (const auto& m : P->Messages->Items)
      if (m->Kind == mkWarning) r.push_back(m->Text);
    return r;
  }
  TFldData* Column(const std::string& table, const std::string& column) {
    return Objs.FindTableField(table, column);
  }
  std::vector<std::string> ColumnNames(const std::string& table) {
    std::vector<std::string> r;
    if (TTblData* t = Objs.FindTable(table))
      for (const auto& e : t->Fields) r.push_back(e.Name);
    return r;
  }
  static std::vector<std::string> Names(const TNamedObjList<TFldData>& list) {
    std::vector<std::string> r;
    for (const auto& e : list) r.push_back(e.Name);
    return r;
  }
  // Every object the records of obj point at.
  static std::vector<TDbObj*> Uses(TDbObj* obj) {
    std::vector<TDbObj*> r;
    for (const auto& d : obj->UseOfList) r.push_back(d->Obj);
    return r;
  }
  static bool Uses(TDbObj* obj, TDbObj* target) {
    for (const auto& d : obj->UseOfList)
      if (d->Obj == target) return true;
    return false;
  }
};

using V = std::vector<std::string>;

// ---------------------------------------------------------------------------
// Scanner

TEST_F(IbParse, KeywordsFollowTheServerVersion) {
  struct Case {
    const char* Word;
    TIBSQLServerVersionType Version;
    bool Keyword;
  };
  const Case cases[] = {
      {"DOMAIN", st_Firebird_25, true},   {"DOMAIN", st_Firebird_30, false},
      {"KEY", st_Firebird_30, false},     {"KEY", st_Firebird_40, true},
      {"BIGINT", st_InterBase_6x, false}, {"BIGINT", st_FireBird_15, true},
      {"BOOLEAN", st_InterBase_7x, true}, {"BOOLEAN", st_Firebird_30, false},
      {"VARBINARY", st_Firebird_40, true}, {"RECREATE", st_InterBase_2020, true},
  };
  for (const Case& c : cases) {
    Parse("", c.Version);
    P->SetSource(c.Word);
    P->NextToken();
    EXPECT_EQ(P->Token != tkIdent, c.Keyword) << c.Word << " in version " << c.Version;
  }
}

TEST_F(IbParse, ScannerAdditions) {
  Parse("");
  P->SetSource("0x1F _UTF8 'a' X'4142' x := \"Mixed Case\"");
  P->NextToken();
  EXPECT_EQ(P->Token, tkInteger);
  EXPECT_EQ(P->IntValue, 31);
  EXPECT_EQ(P->LiteralText, "1F");
  P->NextToken();
  EXPECT_EQ(P->Token, ibCharsetIntroducer);
  EXPECT_EQ(P->TokenText, "_UTF8");
  P->NextToken();
  EXPECT_EQ(P->Token, tkString);
  P->NextToken();
  EXPECT_EQ(P->Token, tkString);
  EXPECT_EQ(P->LiteralText, "AB");
  P->NextToken();
  EXPECT_EQ(P->Token, tkIdent);
  P->NextToken();
  EXPECT_EQ(P->Token, tkAssign);
  P->NextToken();
  EXPECT_EQ(P->Token, tkIdent);  // SQL dialect 3: a delimited name keeps its spelling
  EXPECT_EQ(P->TokenText, "Mixed Case");

  // Before Firebird 2.5 hexadecimal numbers are not known; 0x is 0 and x.
  Parse("", st_Firebird_21);
  P->SetSource("0x1F");
  P->NextToken();
  EXPECT_EQ(P->IntValue, 0);
  P->NextToken();
  EXPECT_EQ(P->Token, tkIdent);
}

// ---------------------------------------------------------------------------
// Statement frame

TEST_F(IbParse, SetTermSwitchesTheTerminatorInEveryWritingOfIt) {
  Parse("SET TERM ^ ;\n"
        "CREATE PROCEDURE P1 AS BEGIN EXIT; END^\n"
        "SET TERM ;^\n"
        "SET TERM !! ;\n"
        "CREATE TRIGGER T1 FOR T BEFORE INSERT AS BEGIN NEW.A = 1; END !!\n"
        "SET TERM ; !!\n"
        "CREATE GENERATOR G1;\n");
  EXPECT_EQ(Errors(), V{});
  ASSERT_TRUE(Objs.FindProcedure("P1"));
  EXPECT_EQ(Objs.FindProcedure("P1")->Body, "BEGIN EXIT; END");
  ASSERT_TRUE(Objs.FindTrigger("T1"));
  EXPECT_EQ(Objs.FindTrigger("T1")->Body, "AS BEGIN NEW.A = 1; END");
  EXPECT_TRUE(Objs.FindGenerator("G1"));
  EXPECT_EQ(P->Term, ";");
}

TEST_F(IbParse, BodiesWithoutSetTermEndAtTheSemicolonAfterTheirBlock) {
  Parse("CREATE PROCEDURE P (A INTEGER) RETURNS (B INTEGER) AS\n"
        "DECLARE VARIABLE X INTEGER;\n"
        "BEGIN\n"
        "  X = CASE WHEN A > 0 THEN 1 ELSE 2 END;\n"
        "  IF (X = 1) THEN BEGIN B = 'END;'; END -- END;\n"
        "  SUSPEND;\n"
        "END;\n"
        "CREATE VIEW V AS SELECT 1 AS ONE FROM RDB$DATABASE;\n");
  EXPECT_EQ(Errors(), V{});
  TPrcData* p = Objs.FindProcedure("P");
  ASSERT_TRUE(p);
  EXPECT_EQ(p->Body.rfind("DECLARE VARIABLE X INTEGER;", 0), 0u);
  EXPECT_EQ(p->Body.substr(p->Body.size() - 3), "END");
  ASSERT_TRUE(Objs.FindView("V"));
  EXPECT_EQ(Objs.FindView("V")->Body, "SELECT 1 AS ONE FROM RDB$DATABASE");
}

TEST_F(IbParse, StatementsThatAreNotModelledLeaveNoTrace) {
  Parse("SET SQL DIALECT 3; SET AUTODDL OFF; COMMIT WORK; SET AUTODDL ON; COMMIT;\n"
        "SELECT * FROM T; INSERT INTO T VALUES (1); UPDATE T SET A = 1; DELETE FROM T;\n"
        "UPDATE OR INSERT INTO T (A) VALUES (1) MATCHING (A);\n"
        "EXECUTE PROCEDURE P; EXECUTE BLOCK AS BEGIN END; SET STATISTICS INDEX IX;\n"
        "SET TRANSACTION READ COMMITTED; ROLLBACK; REVOKE ALL ON T FROM U;\n"
        "RECONNECT; SET BLOBFILE 'x.lob'; SET GENERATOR G TO -5; SET NAMES UTF8;\n"
        "DROP TABLE T; DROP EXTERNAL FUNCTION F; DROP SEQUENCE S;\n");
  EXPECT_EQ(Errors(), V{});
  for (TObjList* list : Objs.AllLists()) EXPECT_EQ(list->Count(), 0);
  EXPECT_FALSE(P->AutoDDL == false);
}

TEST_F(IbParse, DialectAndDatabaseSettingsReachTheContainer) {
  Parse("CREATE DATABASE 'x.fdb' USER 'SYSDBA' PASSWORD 'masterkey' PAGE_SIZE 8192\n"
        "  LENGTH = 100 PAGES DEFAULT CHARACTER SET utf8 COLLATION UNICODE;\n"
        "SET SQL DIALECT 1;\n"
        "CREATE TABLE T (A VARCHAR(5) DEFAULT \"dq\", B VARCHAR(5) CHARACTER SET UTF8);\n");
  EXPECT_EQ(Errors(), V{});
  EXPECT_EQ(P->Options->DatabaseName, "x.fdb");
  EXPECT_EQ(P->Options->UserName, "SYSDBA");
  EXPECT_EQ(P->Options->Password, "masterkey");
  EXPECT_EQ(Objs.IBServerOptions->IBDatabaseOptions->PageSize, 8192);
  EXPECT_EQ(Objs.IBServerOptions->DBCharSet.str(), "UTF8");
  EXPECT_EQ(Objs.IBServerOptions->SQLDialect, 1);
  // Dialect 1: double quotes delimit a string, so the default is a literal.
  EXPECT_EQ(Column("T", "A")->DefaultValue, "\"dq\"");
  // The database's own character set is implied.
  EXPECT_EQ(Column("T", "B")->CharacterSet, "");
}

// ---------------------------------------------------------------------------
// Data types

TEST_F(IbParse, DataTypes) {
  struct Case {
    const char* Text;
    TIBSQLServerVersionType Version;
    uint8_t Type;
    int32_t Length, Precision, Scale, SubType, Segment;
    const char* Extra;  // CharacterSet, DomainName or dimensions, as the case needs
  };
  const Case cases[] = {
      {"NUMERIC", st_Firebird_25, dtNumeric, 0, 9, 0, 0, 0, ""},
      {"NUMERIC(15,2)", st_Firebird_25, dtNumeric, 0, 15, 2, 0, 0, ""},
      {"DEC(15)", st_Firebird_25, dtDecimal, 0, 15, 0, 0, 0, ""},
      {"DECFLOAT", st_Firebird_40, dtDecFloat, 0, 34, 0, 0, 0, ""},
      {"DECFLOAT(16)", st_Firebird_40, dtDecFloat, 0, 16, 0, 0, 0, ""},
      {"CHAR", st_Firebird_25, dtChar, 1, 0, 0, 0, 0, ""},
      {"CHARACTER VARYING (5)", st_Firebird_25, dtVarchar, 5, 0, 0, 0, 0, ""},
      {"NCHAR(3)", st_Firebird_25, dtChar, 3, 0, 0, 0, 0, "ISO8859_1"},
      {"NATIONAL CHARACTER VARYING(4)", st_Firebird_25, dtVarchar, 4, 0, 0, 0, 0, "ISO8859_1"},
      {"VARCHAR(10) CHARACTER SET WIN1252", st_Firebird_25, dtVarchar, 10, 0, 0, 0, 0, "WIN1252"},
      {"VARCHAR(10) CHARACTER SET NONE", st_Firebird_25, dtVarchar, 10, 0, 0, 0, 0, ""},
      {"BLOB", st_Firebird_25, dtBlob, 0, 0, 0, 0, 80, ""},
      {"BLOB SUB_TYPE -1 SEGMENT SIZE 100", st_Firebird_25, dtBlob, 0, 0, 0, -1, 100, ""},
      {"BLOB(100, 1)", st_Firebird_25, dtBlob, 0, 0, 0, 1, 100, ""},
      {"BLOB SUB_TYPE TEXT", st_Firebird_30, dtBlob, 0, 0, 0, 1, 80, ""},
      {"BLOB SEGMENT SIZE 4096 SUB_TYPE BINARY", st_Firebird_30, dtBlob, 0, 0, 0, 0, 4096, ""},
      {"DOUBLE PRECISION", st_Firebird_25, dtDoublePrecision, 0, 0, 0, 0, 0, ""},
      {"BIGINT", st_Firebird_25, dtBigInt, 0, 0, 0, 0, 0, ""},
      {"BOOLEAN", st_Firebird_30, dtBoolean, 0, 0, 0, 0, 0, ""},
      {"BOOLEAN", st_Firebird_25, dtDomain, 0, 0, 0, 0, 0, "BOOLEAN"},
      {"CSTRING(10)", st_Firebird_30, dtCString, 10, 0, 0, 0, 0, ""},
      {"VARBINARY(8)", st_Firebird_40, dtVarBinary, 8, 0, 0, 0, 0, ""},
      {"BINARY VARYING (8)", st_Firebird_40, dtVarBinary, 8, 0, 0, 0, 0, ""},
      {"TIME", st_Firebird_25, dtTime, 0, 0, 0, 0, 0, ""},
      // A fractional precision stands before WITH TIME ZONE.
      {"TIMESTAMP(3) WITH TIME ZONE", st_Firebird_40, dtTimestamp, 0, 3, 0, 0, 0, ""},
      {"D_AMOUNT", st_Firebird_25, dtDomain, 0, 0, 0, 0, 0, "D_AMOUNT"},
      {"\"d amount\"", st_Firebird_25, dtDomain, 0, 0, 0, 0, 0, "d amount"},
      {"INTEGER [1:10, 5]", st_Firebird_25, dtInteger, 0, 0, 0, 0, 0, "1:10,1:5"},
      {"VARCHAR(15)[-2:3]", st_Firebird_25, dtVarchar, 15, 0, 0, 0, 0, "-2:3"},
      {"NUMERIC(9,2)", st_Yaffil_1x, dtNumeric, 0, 9, 2, 0, 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.Text) + " in version " + std::to_string(c.Version));
    TObjs objs;
    objs.SetServerType(srvInterBase);
    objs.IBServerOptions->SQLServerVersion = c.Version;
    TIbParser p(nullptr, &objs);
    p.OnErrorMessage = [](void*, const std::string&) {};
    p.SetSource(std::string("CREATE TABLE T (C ") + c.Text + ");");
    p.ParseStatements();
    EXPECT_FALSE(p.Messages->HasErrors()) << p.Messages->GetErrorText();
    TFldData* f = objs.FindTableField("T", "C");
    ASSERT_TRUE(f);
    EXPECT_EQ(f->DataType, c.Type);
    EXPECT_EQ(f->Length, c.Length);
    EXPECT_EQ(f->Precision, c.Precision);
    EXPECT_EQ(f->Scale, c.Scale);
    EXPECT_EQ(f->SubType, c.SubType);
    EXPECT_EQ(f->SegmentSize, c.Segment);
    std::string extra = f->DataType == dtDomain ? f->DomainName : f->CharacterSet;
    for (const TDimension& d : f->Dimensions) {
      if (!extra.empty()) extra += ",";
      extra += std::to_string(d.Lower) + ":" + std::to_string(d.Upper);
    }
    EXPECT_EQ(extra, c.Extra);
  }
}

TEST_F(IbParse, TypeOfAndTimeZones) {
  Parse("CREATE DOMAIN D1 AS INTEGER;\n"
        "CREATE TABLE T2 (A INTEGER);\n"
        "SET TERM ^ ;\n"
        "CREATE PROCEDURE P (X TYPE OF D1, Y TYPE OF COLUMN T2.A,\n"
        "  Z TIMESTAMP WITH TIME ZONE, W TIME WITHOUT TIME ZONE) AS BEGIN END^\n",
        st_Firebird_40);
  EXPECT_EQ(Errors(), V{});
  TPrcData* p = Objs.FindProcedure("P");
  ASSERT_TRUE(p);
  TFldData* x = p->Params.Find("X");
  EXPECT_TRUE(x->TypeOf);
  EXPECT_EQ(x->DataType, dtDomain);
  EXPECT_EQ(x->DomainName, "D1");
  TFldData* y = p->Params.Find("Y");
  EXPECT_TRUE(y->TypeOf);
  EXPECT_EQ(y->TypeOfTable, "T2");
  EXPECT_EQ(y->TypeOfColumn, "A");
  EXPECT_EQ(y->Owner, p);  // a parameter stays its procedure's
  EXPECT_EQ(p->Params.Find("Z")->DataType, dtTimestamp);
  EXPECT_TRUE(p->Params.Find("Z")->WithTimeZone);
  EXPECT_EQ(p->Params.Find("W")->DataType, dtTime);
  EXPECT_FALSE(p->Params.Find("W")->WithTimeZone);
}

// ---------------------------------------------------------------------------
// Columns, tables, constraints

TEST_F(IbParse, ColumnDefaultsAndOptions) {
  Parse("CREATE DOMAIN D AS INTEGER DEFAULT 5;\n"
        "CREATE TABLE T (\n"
        "  A VARCHAR(10) DEFAULT 'it''s' NOT NULL COLLATE UNICODE_CI,\n"
        "  B INTEGER DEFAULT -1,\n"
        "  C TIMESTAMP DEFAULT CURRENT_TIMESTAMP (3),\n"
        "  D VARCHAR(5) CHARACTER SET UTF8 DEFAULT _UTF8 'abc',\n"
        "  E D DEFAULT 5,\n"
        "  F D DEFAULT 6 NOT NULL,\n"
        "  G COMPUTED BY (A || 'y'),\n"
        "  H NUMERIC(18, 4) COMPUTED BY ((B * 2)),\n"
        "  I BIGINT GENERATED BY DEFAULT AS IDENTITY (START WITH 100 INCREMENT BY 5) NOT NULL,\n"
        "  J INTEGER DEFAULT NULL,\n"
        "  K DATE DEFAULT current_date,\n"
        "  L BOOLEAN DEFAULT TRUE\n"
        ");\n",
        st_Firebird_30);
  EXPECT_EQ(Errors(), V{});
  EXPECT_EQ(ColumnNames("T"), (V{"A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L"}));
  TFldData* a = Column("T", "A");
  EXPECT_EQ(a->DefaultValue, "'it''s'");
  EXPECT_FALSE(a->Nullable);
  EXPECT_EQ(a->Collation, "UNICODE_CI");
  EXPECT_EQ(Column("T", "B")->DefaultValue, "-1");
  EXPECT_EQ(Column("T", "C")->DefaultValue, "CURRENT_TIMESTAMP(3)");
  EXPECT_EQ(Column("T", "D")->DefaultValue, "_UTF8 'abc'");
  EXPECT_EQ(Column("T", "D")->CharacterSet, "UTF8");
  EXPECT_EQ(Column("T", "E")->DefaultValue, "");  // the domain's own default
  EXPECT_EQ(Column("T", "F")->DefaultValue, "6");
  EXPECT_FALSE(Column("T", "F")->Nullable);
  EXPECT_EQ(Column("T", "G")->Body, "(A || 'y')");
  EXPECT_EQ(Column("T", "G")->DataType, dtUnknown);
  EXPECT_EQ(Column("T", "H")->Body, "((B * 2))");
  EXPECT_EQ(Column("T", "H")->DataType, dtNumeric);
  TFldData* i = Column("T", "I");
  EXPECT_TRUE(i->Identity);
  EXPECT_EQ(i->IdentitySeed, 100);
  EXPECT_EQ(i->IdentityIncrement, 5);
  EXPECT_FALSE(i->Nullable);
  EXPECT_EQ(Column("T", "J")->DefaultValue, "NULL");
  EXPECT_EQ(Column("T", "K")->DefaultValue, "current_date");
  EXPECT_EQ(Column("T", "L")->DefaultValue, "TRUE");
  for (int k = 0; k < 12; ++k) EXPECT_EQ(Objs.FindTable("T")->Fields[k]->Position, k);
  // A column of a domain depends on it.
  EXPECT_TRUE(Uses(Column("T", "E"), Objs.FindDomain("D")));
}

// The server keeps a DEFAULT clause's source as written, and its extract
// shows it: the keyword's spelling is kept for the DDL that creates the
// column or domain, and for SET DEFAULT; the value compares alone.
TEST_F(IbParse, DefaultKeywordKeepsItsSpelling) {
  Parse("CREATE DOMAIN D AS INTEGER default 5;\n"
        "CREATE TABLE T (A INTEGER DEFAULT 1, B DATE Default  '2003-12-11', C INTEGER,\n"
        "  E D DEFAULT 6);\n"
        "ALTER TABLE T ALTER C SET default 3;\n",
        st_Firebird_30);
  EXPECT_EQ(Errors(), V{});
  struct {
    TFldData* field;
    const char* value;
    const char* definition;
  } cases[] = {
      {Objs.FindDomain("D")->BaseField.get(), "5", nullptr},
      {Column("T", "A"), "1", "A INTEGER DEFAULT 1"},
      {Column("T", "B"), "'2003-12-11'", "B DATE Default  '2003-12-11'"},
      {Column("T", "C"), "3", "C INTEGER default 3"},
      {Column("T", "E"), "6", "E D DEFAULT 6"},
  };
  for (const auto& c : cases) {
    ASSERT_NE(c.field, nullptr);
    EXPECT_EQ(c.field->DefaultValue, c.value);
    if (c.definition) {
      EXPECT_EQ(c.field->GetCreateSQL(), c.definition);
    }
  }
  EXPECT_EQ(Objs.FindDomain("D")->GetCreateSQL(), "CREATE DOMAIN D AS INTEGER default 5");
  // DROP DEFAULT forgets the spelling with the value.
  Parse("CREATE TABLE U (C INTEGER default 3);\nALTER TABLE U ALTER C DROP DEFAULT;\n"
        "ALTER TABLE U ALTER C SET DEFAULT 4;\n",
        st_Firebird_30);
  EXPECT_EQ(Errors(), V{});
  EXPECT_EQ(Column("U", "C")->GetCreateSQL(), "C INTEGER DEFAULT 4");
}

TEST_F(IbParse, TableKinds) {
  Parse("CREATE GLOBAL TEMPORARY TABLE G1 (A INTEGER) ON COMMIT PRESERVE ROWS;\n"
        "CREATE GLOBAL TEMPORARY TABLE G2 (A INTEGER) ON COMMIT DELETE ROWS;\n"
        "CREATE TABLE X EXTERNAL FILE 'x.dat' (A CHAR(10));\n"
        "RECREATE TABLE R (A INTEGER);\n",
        st_Firebird_30);
  EXPECT_EQ(Errors(), V{});
  EXPECT_TRUE(Objs.FindTable("G1")->GlobalTemporary);
  EXPECT_EQ(Objs.FindTable("G1")->OnCommit, ocPreserveRows);
  EXPECT_EQ(Objs.FindTable("G2")->OnCommit, ocDeleteRows);
  EXPECT_EQ(Objs.FindTable("X")->ExternalFile, "x.dat");
  EXPECT_FALSE(Objs.FindTable("X")->GlobalTemporary);
  EXPECT_TRUE(Objs.FindTable("R"));
  // In Firebird 2.5 GLOBAL is a plain word.
  Parse("CREATE GLOBAL TEMPORARY TABLE G3 (A INTEGER);");
  EXPECT_TRUE(Objs.FindTable("G3")->GlobalTemporary);
  Parse("CREATE GLOBAL TABLE G4 (A INTEGER);");
  EXPECT_EQ(Errors(), V{"TEMPORARY expected, but TABLE found."});
}

TEST_F(IbParse, ConstraintsInAndOutsideCreateTable) {
  Parse("CREATE TABLE P (ID INTEGER NOT NULL CONSTRAINT PK_P PRIMARY KEY, CODE CHAR(3));\n"
        "CREATE TABLE C (\n"
        "  ID INTEGER NOT NULL,\n"
        "  P_ID INTEGER CONSTRAINT FK_COL REFERENCES P (ID) ON DELETE CASCADE,\n"
        "  CONSTRAINT PK_C PRIMARY KEY (ID) USING DESC INDEX IX_PK_C,\n"
        "  CONSTRAINT FK_C_P FOREIGN KEY (P_ID, ID) REFERENCES P (ID, CODE)\n"
        "    ON UPDATE CASCADE ON DELETE SET NULL,\n"
        "  CONSTRAINT CK_C CHECK (P_ID <> ID AND ID IN (1, 2)),\n"
        "  FOREIGN KEY (ID) REFERENCES P ON DELETE CASCADE,\n"
        "  CHECK (ID > 0)\n"
        ");\n"
        "ALTER TABLE C ADD CONSTRAINT UQ_C UNIQUE (P_ID);\n"
        "ALTER TABLE C ADD CONSTRAINT FK_2 FOREIGN KEY (ID) REFERENCES P (ID)\n"
        "  ON UPDATE SET DEFAULT ON DELETE NO ACTION;\n",
        st_Firebird_30);
  EXPECT_EQ(Errors(), V{});
  TCtrData* pk = Objs.FindConstraint("PK_P");
  ASSERT_TRUE(pk);
  EXPECT_EQ(pk->ConstraintType, ctPrimaryKey);
  EXPECT_EQ(pk->TableName, "P");
  EXPECT_EQ(Names(pk->Fields), V{"ID"});
  TCtrData* col = Objs.FindConstraint("FK_COL");
  ASSERT_TRUE(col);
  EXPECT_EQ(col->ConstraintType, ctForeignKey);
  EXPECT_EQ(Names(col->Fields), V{"P_ID"});
  EXPECT_EQ(col->RefTableName, "P");
  EXPECT_EQ(col->OnDelete, raCascade);
  TCtrData* pkc = Objs.FindConstraint("PK_C");
  EXPECT_TRUE(pkc->DescIndex);
  EXPECT_EQ(pkc->IndexName, "IX_PK_C");
  TCtrData* fk = Objs.FindConstraint("FK_C_P");
  EXPECT_EQ(Names(fk->Fields), (V{"P_ID", "ID"}));
  EXPECT_EQ(Names(fk->RefFields), (V{"ID", "CODE"}));
  EXPECT_EQ(fk->OnUpdate, raCascade);
  EXPECT_EQ(fk->OnDelete, raSetNull);
  EXPECT_TRUE(Uses(fk, Objs.FindTable("P")));
  TCtrData* ck = Objs.FindConstraint("CK_C");
  EXPECT_EQ(ck->ConstraintType, ctCheck);
  EXPECT_EQ(ck->Body, "(P_ID <> ID AND ID IN (1, 2))");
  EXPECT_EQ(Objs.FindConstraint("UQ_C")->ConstraintType, ctUnique);
  // Unnamed table constraints inside CREATE TABLE are kept too, foreign
  // keys with their rules and CHECK conditions included.
  int unnamedChecks = 0, unnamedKeys = 0;
  for (TDbObj* obj : Objs.ObjectsOnTable(olCtr, "C")) {
    auto* c = obj->As<TCtrData>();
    if (!c->Name.empty()) continue;
    if (c->ConstraintType == ctCheck && c->Body == "(ID > 0)") ++unnamedChecks;
    if (c->ConstraintType == ctForeignKey && c->RefTableName == "P" && c->OnDelete == raCascade &&
        c->RefFields.Empty())
      ++unnamedKeys;
  }
  EXPECT_EQ(unnamedChecks, 1);
  EXPECT_EQ(unnamedKeys, 1);
  EXPECT_EQ(Objs.FindConstraint("FK_2")->OnUpdate, raSetDefault);
  EXPECT_EQ(Objs.FindConstraint("FK_2")->OnDelete, raNone);
}

TEST_F(IbParse, ASecondPrimaryKeyIsReportedAndDropped) {
  Parse("CREATE TABLE T (A INTEGER NOT NULL, B INTEGER NOT NULL, CONSTRAINT PK1 PRIMARY KEY (A));\n"
        "ALTER TABLE T ADD CONSTRAINT PK2 PRIMARY KEY (B);\n");
  EXPECT_EQ(Errors(), V{});
  EXPECT_TRUE(Objs.FindConstraint("PK1"));
  EXPECT_FALSE(Objs.FindConstraint("PK2"));
  ASSERT_FALSE(Warnings().empty());
  EXPECT_EQ(Warnings()[0].rfind("Duplicate Primary Key, Table: T", 0), 0u);
}

TEST_F(IbParse, AlterTableAsIsqlWritesIt) {
  Parse("CREATE TABLE T (ID INTEGER NOT NULL, A INTEGER,\n"
        "  TOTAL NUMERIC(18, 4) COMPUTED BY (NULL), OLD INTEGER, B INTEGER);\n"
        "ALTER TABLE T ADD C VARCHAR(5) DEFAULT 'c', ADD CONSTRAINT PK_T PRIMARY KEY (ID);\n"
        "ALTER TABLE T\n"
        "        ALTER TOTAL TYPE NUMERIC(18, 4) COMPUTED BY (A * 2);\n"
        "ALTER TABLE T ALTER COLUMN OLD TO NEWER;\n"
        "ALTER TABLE T ALTER A POSITION 1;\n"
        "ALTER TABLE T ALTER B TYPE BIGINT;\n"
        "ALTER TABLE T ALTER C SET DEFAULT 'z', ALTER B DROP DEFAULT;\n"
        "ALTER TABLE T DROP NEWER, DROP CONSTRAINT PK_T;\n"
        "ALTER TABLE T ADD \n        CHECK (A > 0);\n");
  EXPECT_EQ(Errors(), V{});
  // DROP leaves the model as the scripts created it.
  EXPECT_EQ(ColumnNames("T"), (V{"A", "ID", "TOTAL", "NEWER", "B", "C"}));
  EXPECT_EQ(Column("T", "ID")->Position, 1);
  TFldData* total = Column("T", "TOTAL");
  EXPECT_EQ(total->Body, "(A * 2)");
  EXPECT_EQ(total->DataType, dtNumeric);
  EXPECT_EQ(total->Precision, 18);
  EXPECT_EQ(Column("T", "B")->DataType, dtBigInt);
  EXPECT_EQ(Column("T", "C")->DefaultValue, "'z'");
  EXPECT_EQ(Column("T", "C")->Position, 5);
  EXPECT_TRUE(Objs.FindConstraint("PK_T"));
  bool check = false;
  for (TDbObj* c : Objs.ObjectsOnTable(olCtr, "T"))
    check = check || (c->As<TCtrData>()->ConstraintType == ctCheck && c->Body == "(A > 0)");
  EXPECT_TRUE(check);
}

// ---------------------------------------------------------------------------
// Indexes and domains

TEST_F(IbParse, Indexes) {
  Parse("CREATE TABLE T (A INTEGER, B INTEGER);\n"
        "CREATE INDEX IX_A ON T (A);\n"
        "CREATE DESC INDEX IX_D ON T (A, B);\n"
        "CREATE UNIQUE DESCENDING INDEX IX_U ON T (B);\n"
        "CREATE ASCENDING INDEX IX_C ON T COMPUTED BY (UPPER(A) || ')');\n"
        "ALTER INDEX IX_A INACTIVE;\n",
        st_Firebird_30);
  EXPECT_EQ(Errors(), V{});
  EXPECT_EQ(Names(Objs.FindIndex("IX_A")->Fields), V{"A"});
  EXPECT_FALSE(Objs.FindIndex("IX_A")->Active);
  EXPECT_TRUE(Objs.FindIndex("IX_D")->Descending);
  EXPECT_EQ(Names(Objs.FindIndex("IX_D")->Fields), (V{"A", "B"}));
  EXPECT_TRUE(Objs.FindIndex("IX_U")->Unique);
  EXPECT_TRUE(Objs.FindIndex("IX_U")->Descending);
  EXPECT_EQ(Objs.FindIndex("IX_C")->Body, "(UPPER(A) || ')')");
  EXPECT_EQ(Objs.FindIndex("IX_C")->TableName, "T");
  EXPECT_TRUE(Objs.FindIndex("IX_C")->Active);
}

TEST_F(IbParse, DomainsAndTheirLaterConstraints) {
  Parse("CREATE DOMAIN D_CODE AS VARCHAR(5) CHARACTER SET UTF8\n"
        "  DEFAULT 'x' NOT NULL CHECK (VALUE IN ('(', ')')) COLLATE UNICODE;\n"
        "CREATE DOMAIN D_NUM NUMERIC(10, 2);\n"
        "CREATE DOMAIN D_TEXT BLOB SUB_TYPE TEXT;\n"
        "ALTER DOMAIN D_NUM ADD CONSTRAINT\n         CHECK (VALUE > 0);\n"
        "ALTER DOMAIN D_TEXT SET DEFAULT 'none';\n");
  EXPECT_EQ(Errors(), V{});
  TFldData* code = Objs.FindDomain("D_CODE")->BaseField.get();
  EXPECT_EQ(code->DataType, dtVarchar);
  EXPECT_EQ(code->Length, 5);
  EXPECT_EQ(code->CharacterSet, "UTF8");
  EXPECT_EQ(code->DefaultValue, "'x'");
  EXPECT_FALSE(code->Nullable);
  EXPECT_EQ(code->CheckExpression, "(VALUE IN ('(', ')'))");
  EXPECT_EQ(code->Collation, "UNICODE");
  EXPECT_EQ(Objs.FindDomain("D_NUM")->BaseField->Precision, 10);
  EXPECT_EQ(Objs.FindDomain("D_NUM")->BaseField->CheckExpression, "(VALUE > 0)");
  EXPECT_EQ(Objs.FindDomain("D_TEXT")->BaseField->SubType, 1);
  EXPECT_EQ(Objs.FindDomain("D_TEXT")->BaseField->DefaultValue, "'none'");
  // In Firebird 3 DOMAIN is a plain word: the statements work all the same.
  Parse("CREATE DOMAIN D3 AS INTEGER; ALTER DOMAIN D3 ADD CHECK (VALUE <> 0);\n"
        "COMMENT ON DOMAIN D3 IS 'three'; DROP DOMAIN D9;",
        st_Firebird_30);
  EXPECT_EQ(Errors(), V{});
  EXPECT_EQ(Objs.FindDomain("D3")->BaseField->CheckExpression, "(VALUE <> 0)");
  EXPECT_EQ(Objs.FindDomain("D3")->Description, "three");
}

// ---------------------------------------------------------------------------
// Routines, triggers, views, packages

TEST_F(IbParse, ProcedureHeaderFirstBodyLater) {
  Parse("SET TERM ^ ;\n"
        "CREATE OR ALTER PROCEDURE P (A INTEGER, B VARCHAR(5) CHARACTER SET NONE)\n"
        "RETURNS (R INTEGER)\nAS \nBEGIN SUSPEND; END ^\n"
        "SET TERM ; ^\n"
        "COMMENT ON PROCEDURE PARAMETER P.A IS 'first';\n"
        "SET TERM ^ ;\n"
        "ALTER PROCEDURE P (A INTEGER, C DATE = '2000-01-01')\nRETURNS (R BIGINT)\nAS \n"
        "DECLARE VARIABLE X INTEGER;\nBEGIN\n  R = A;\n  SUSPEND;\nEND ^\n"
        "CREATE OR ALTER FUNCTION F (X INTEGER) RETURNS NUMERIC(12, 2) DETERMINISTIC\n"
        "AS BEGIN RETURN X; END ^\n",
        st_Firebird_30);
  EXPECT_EQ(Errors(), V{});
  EXPECT_EQ(Objs.PrcList.Count(), 2);
  TPrcData* p = Objs.FindProcedure("P");
  EXPECT_FALSE(p->IsFunction);
  EXPECT_EQ(Names(p->Params), (V{"A", "C"}));
  EXPECT_EQ(p->Params.Find("A")->Description, "first");  // kept through ALTER
  EXPECT_EQ(p->Params.Find("A")->ObjType, dboParam);
  EXPECT_EQ(p->Params.Find("A")->TableName, "P");
  EXPECT_EQ(p->Params.Find("C")->DefaultValue, "'2000-01-01'");
  EXPECT_EQ(Names(p->Results), V{"R"});
  EXPECT_EQ(p->Results.Find("R")->DataType, dtBigInt);
  EXPECT_EQ(p->Results.Find("R")->Direction, pdOut);
  EXPECT_EQ(p->Body, "DECLARE VARIABLE X INTEGER;\r\nBEGIN\r\n  R = A;\r\n  SUSPEND;\r\nEND");
  TPrcData* f = Objs.FindProcedure("F");
  EXPECT_TRUE(f->IsFunction);
  ASSERT_EQ(f->Results.Count(), 1);
  EXPECT_EQ(f->Results[0]->DataType, dtNumeric);
  EXPECT_TRUE(f->Results[0]->Deterministic);
  EXPECT_EQ(f->Body, "BEGIN RETURN X; END");
}

TEST_F(IbParse, TriggerHeaders) {
  struct Case {
    const char* Header;
    uint8_t Time, Events;
    int32_t TypeCode, Position;
    bool Active;
    const char* Table;
    const char* DbEvent;
  };
  const Case cases[] = {
      {"FOR T ACTIVE BEFORE INSERT POSITION 0", ttBefore, teInsert, 1, 0, true, "T", ""},
      {"FOR T INACTIVE AFTER DELETE POSITION 5", ttAfter, teDelete, 6, 5, false, "T", ""},
      {"FOR T BEFORE INSERT OR UPDATE", ttBefore, teInsert | teUpdate, 17, 0, true, "T", ""},
      {"FOR T AFTER INSERT OR UPDATE OR DELETE", ttAfter, teUpdate | teDelete | teInsert, 114, 0, true, "T", ""},
      {"FOR T AFTER UPDATE OR INSERT", ttAfter, teUpdate | teInsert, 12, 0, true, "T", ""},
      {"ACTIVE BEFORE UPDATE POSITION 3 ON T", ttBefore, teUpdate, 3, 3, true, "T", ""},
      {"ACTIVE ON CONNECT POSITION 0", 0, 0, 0, 0, true, "DATABASE", "CONNECT"},
      {"ON TRANSACTION COMMIT", 0, 0, 0, 0, true, "DATABASE", "TRANSACTION COMMIT"},
      {"ACTIVE BEFORE ANY DDL STATEMENT POSITION 0", ttBefore, 0, 0, 0, true, "DATABASE",
       "ANY DDL STATEMENT"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Header);
    TObjs objs;
    objs.SetServerType(srvInterBase);
    objs.IBServerOptions->SQLServerVersion = st_Firebird_30;
    TIbParser p(nullptr, &objs);
    p.OnErrorMessage = [](void*, const std::string&) {};
    p.SetSource(std::string("CREATE TABLE T (A INTEGER);\nSET TERM ^ ;\nCREATE TRIGGER TR ") + c.Header +
                "\nAS\nBEGIN\n  NEW.A = 1;\nEND^");
    p.ParseStatements();
    EXPECT_FALSE(p.Messages->HasErrors()) << p.Messages->GetErrorText();
    TTrgData* t = objs.FindTrigger("TR");
    ASSERT_TRUE(t);
    EXPECT_EQ(t->TriggerTime, c.Time);
    EXPECT_EQ(t->Events, c.Events);
    EXPECT_EQ(t->TypeCode, c.TypeCode);
    EXPECT_EQ(t->Position, c.Position);
    EXPECT_EQ(t->Active, c.Active);
    EXPECT_EQ(t->TableName, c.Table);
    EXPECT_EQ(t->DatabaseEvent, c.DbEvent);
    EXPECT_EQ(t->Body, "AS\r\nBEGIN\r\n  NEW.A = 1;\r\nEND");
    if (std::string(c.Table) == "T") {
      EXPECT_EQ(t->Table, objs.FindTable("T"));
      EXPECT_TRUE(Uses(t, objs.FindTable("T")));
    }
  }
}

TEST_F(IbParse, AlteredTriggerKeepsWhatItDoesNotRestate) {
  Parse("CREATE TABLE T (A INTEGER);\nSET TERM ^ ;\n"
        "CREATE TRIGGER TR FOR T ACTIVE AFTER INSERT POSITION 2 AS BEGIN END^\n"
        "ALTER TRIGGER TR INACTIVE^\n"
        "ALTER TRIGGER TR POSITION 4 AS BEGIN NEW.A = 2; END^\n");
  EXPECT_EQ(Errors(), V{});
  EXPECT_EQ(Objs.TrgList.Count(), 1);
  TTrgData* t = Objs.FindTrigger("TR");
  EXPECT_EQ(t->TableName, "T");
  EXPECT_FALSE(t->Active);
  EXPECT_EQ(t->TriggerTime, ttAfter);
  EXPECT_EQ(t->Position, 4);
  EXPECT_EQ(t->Body, "AS BEGIN NEW.A = 2; END");
}

TEST_F(IbParse, ViewsPackagesAndBlocks) {
  Parse("CREATE TABLE \"Order Items\" (\"Id\" INTEGER, \"Qty\" INTEGER);\n"
        "CREATE VIEW \"Big Items\" (\"Id\", \"Qty\") AS\n"
        "SELECT \"Id\", \"Qty\" FROM \"Order Items\" WHERE \"Qty\" > 10 WITH CHECK OPTION;\n"
        "SET TERM ^ ;\n"
        "CREATE PACKAGE FX AS\nBEGIN\n  FUNCTION F (A INTEGER) RETURNS INTEGER;\nEND^\n"
        "RECREATE PACKAGE BODY FX AS\nBEGIN\n  FUNCTION F (A INTEGER) RETURNS INTEGER AS\n"
        "  BEGIN RETURN A; END\nEND^\n"
        "EXECUTE BLOCK (X INTEGER = 1) RETURNS (Y INTEGER) AS BEGIN Y = X; SUSPEND; END^\n",
        st_Firebird_30);
  EXPECT_EQ(Errors(), V{});
  TViwData* v = Objs.FindView("Big Items");
  ASSERT_TRUE(v);
  EXPECT_EQ(Names(v->Columns), (V{"Id", "Qty"}));
  EXPECT_EQ(v->Body, "SELECT \"Id\", \"Qty\" FROM \"Order Items\" WHERE \"Qty\" > 10 WITH CHECK OPTION");
  TPkgData* pkg = Objs.FindPackage("FX");
  ASSERT_TRUE(pkg);
  EXPECT_EQ(Objs.PkgList.Count(), 1);
  EXPECT_EQ(pkg->Header, "BEGIN\r\n  FUNCTION F (A INTEGER) RETURNS INTEGER;\r\nEND");
  EXPECT_EQ(pkg->Body.rfind("BEGIN\r\n  FUNCTION F (A INTEGER) RETURNS INTEGER AS", 0), 0u);
  EXPECT_EQ(Objs.PrcList.Count(), 0);  // members and blocks are no procedures of their own
}

// ---------------------------------------------------------------------------
// Generators, exceptions, roles, external functions, collations

TEST_F(IbParse, SmallObjects) {
  Parse("CREATE GENERATOR G1;\n"
        "CREATE SEQUENCE S1 START WITH -5 INCREMENT BY 10;\n"
        "CREATE SEQUENCE S2 START WITH 0 INCREMENT 1;\n"
        "CREATE EXCEPTION E1 'Order status is \"shipped.\"';\n"
        "CREATE OR ALTER EXCEPTION E1 'again';\n"
        "CREATE ROLE AUDITOR;\n"
        "DECLARE EXTERNAL FUNCTION SUBSTRLEN CSTRING(256), SMALLINT, SMALLINT\n"
        "  RETURNS CSTRING(256) FREE_IT ENTRY_POINT 'IB_UDF_substrlen' MODULE_NAME 'ib_udf';\n"
        "DECLARE EXTERNAL FUNCTION ADDDAY TIMESTAMP, INTEGER RETURNS PARAMETER 1\n"
        "  ENTRY_POINT 'addDay' MODULE_NAME 'fbudf';\n"
        "DECLARE EXTERNAL FUNCTION DPOWER DOUBLE PRECISION BY DESCRIPTOR, DOUBLE PRECISION BY DESCRIPTOR\n"
        "  RETURNS DOUBLE PRECISION BY VALUE ENTRY_POINT 'power' MODULE_NAME 'fbudf';\n"
        "CREATE COLLATION UNICODE_NOPAD FOR UTF8 FROM UNICODE NO PAD CASE INSENSITIVE\n"
        "  ACCENT INSENSITIVE 'NUMERIC-SORT=1';\n",
        st_Firebird_30);
  EXPECT_EQ(Errors(), V{});
  EXPECT_TRUE(Objs.FindGenerator("G1"));
  EXPECT_EQ(Objs.FindGenerator("S1")->StartWith, "-5");
  EXPECT_EQ(Objs.FindGenerator("S1")->IncrementBy, "10");
  EXPECT_EQ(Objs.FindGenerator("S2")->StartWith, "");
  EXPECT_EQ(Objs.FindGenerator("S2")->IncrementBy, "");
  EXPECT_EQ(Objs.FindException("E1")->Message, "again");
  EXPECT_EQ(Objs.ExcList.Count(), 1);
  ASSERT_TRUE(Objs.FindRole("AUDITOR"));
  EXPECT_EQ(Objs.FindRole("AUDITOR")->RoleKind, rkRole);
  TUdfData* f = Objs.FindFunction("SUBSTRLEN");
  ASSERT_TRUE(f);
  EXPECT_EQ(f->Arguments.Count(), 3);
  EXPECT_EQ(f->Arguments[0]->DataType, dtCString);
  EXPECT_EQ(f->Arguments[0]->Length, 256);
  EXPECT_EQ(f->Arguments[2]->DataType, dtSmallInt);
  EXPECT_EQ(f->ReturnField->DataType, dtCString);
  EXPECT_TRUE(f->FreeIt);
  EXPECT_EQ(f->EntryPoint, "IB_UDF_substrlen");
  EXPECT_EQ(f->ModuleName, "ib_udf");
  EXPECT_EQ(Objs.FindFunction("ADDDAY")->ReturnField->ParameterNumber, 1);
  TUdfData* power = Objs.FindFunction("DPOWER");
  EXPECT_TRUE(power->Arguments[0]->ByDescriptor);
  EXPECT_TRUE(power->ReturnField->ByValue);
  TCltData* c = Objs.CltList.Count() ? Objs.CltList.Objects(0)->As<TCltData>() : nullptr;
  ASSERT_TRUE(c);
  EXPECT_EQ(c->Name, "UNICODE_NOPAD");
  EXPECT_EQ(c->CharacterSet, "UTF8");
  EXPECT_EQ(c->FromCollation, "UNICODE");
  EXPECT_FALSE(c->PadSpace);
  EXPECT_FALSE(c->CaseSensitive);
  EXPECT_FALSE(c->AccentSensitive);
  EXPECT_EQ(c->Attributes, "NUMERIC-SORT=1");
  // Before Firebird 3 a sequence has no start value in its statement.
  Parse("CREATE SEQUENCE S3 START WITH 5;");
  EXPECT_FALSE(Errors().empty());
}

// ---------------------------------------------------------------------------
// Grants and descriptions

TEST_F(IbParse, Grants) {
  struct Case {
    const char* Statement;
    const char* Grantee;
    TDbObject GranteeKind;
    const char* Object;
    TDbObject ObjectKind;
    TCmpObjType Class;  // after the final pass
    int32_t Option;
    const char* Columns;
  };
  const Case cases[] = {
      {"GRANT SELECT ON T TO R1", "R1", dboRole, "T", dboTable, coRoleGrant, 0, ""},
      {"GRANT INSERT, SELECT, UPDATE (NOTE, A) ON T TO ROLE R1", "R1", dboRole, "T", dboTable,
       coRoleGrant, 0, "NOTE,A"},
      {"GRANT ALL ON T TO PUBLIC WITH GRANT OPTION", "PUBLIC", dboUser, "T", dboTable, coUserGrant, 1, ""},
      {"GRANT EXECUTE ON PROCEDURE P TO USER ALICE", "ALICE", dboUser, "P", dboProcedure, coUserGrant, 0, ""},
      {"GRANT EXECUTE ON PROCEDURE P TO PROCEDURE P", "P", dboProcedure, "P", dboProcedure, coObjGrant, 0, ""},
      {"GRANT SELECT ON T TO P", "P", dboUser, "T", dboTable, coObjGrant, 0, ""},
      {"GRANT R1 TO BOB WITH ADMIN OPTION", "BOB", dboUser, "R1", dboRole, coUserGrant, 1, ""},
      {"GRANT SELECT ON T TO NOBODY GRANTED BY SYSDBA", "NOBODY", dboUser, "T", dboTable, coUserGrant, 0, ""},
      {"GRANT USAGE ON SEQUENCE S TO U", "U", dboUser, "S", dboGenerator, coUserGrant, 0, ""},
      {"GRANT ALL ON TABLE T TO PACKAGE FB$OUT", "FB$OUT", dboPackage, "T", dboTable, coObjGrant, 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Statement);
    TObjs objs;
    objs.SetServerType(srvInterBase);
    objs.IBServerOptions->SQLServerVersion = st_Firebird_30;
    TIbParser p(nullptr, &objs);
    p.OnErrorMessage = [](void*, const std::string&) {};
    p.SetSource(std::string("CREATE ROLE R1;\nCREATE TABLE T (A INTEGER, NOTE VARCHAR(5));\n"
                            "SET TERM ^ ;\nCREATE PROCEDURE P AS BEGIN END^\nSET TERM ; ^\n") +
                c.Statement + ";");
    p.ParseStatements();
    EXPECT_FALSE(p.Messages->HasErrors()) << p.Messages->GetErrorText();
    p.FinishParse();
    ASSERT_EQ(objs.GntList.Count(), 1);
    auto* g = objs.GntList.Objects(0)->As<TGntData>();
    EXPECT_EQ(g->Grantee, c.Grantee);
    EXPECT_EQ(g->GranteeKind, c.GranteeKind);
    EXPECT_EQ(g->ObjectName, c.Object);
    EXPECT_EQ(g->ObjectKind, c.ObjectKind);
    EXPECT_EQ(g->GrantClass, c.Class);
    EXPECT_EQ(g->GrantOption, c.Option);
    std::string columns;
    for (const std::string& col : g->Columns) columns += (columns.empty() ? "" : ",") + col;
    EXPECT_EQ(columns, c.Columns);
  }
  // ALL stands for the five table privileges.
  Parse("CREATE TABLE T (A INTEGER);\nGRANT ALL ON T TO PUBLIC;\n");
  ASSERT_EQ(Objs.GntList.Count(), 1);
  auto* all = Objs.GntList.Objects(0)->As<TGntData>();
  for (uint8_t b : {pvInsert, pvUpdate, pvDelete, pvSelect, pvReferences}) EXPECT_TRUE(all->Privileges.test(b));
  EXPECT_FALSE(all->Privileges.test(pvExecute));
  // Grants on IBExpert's own objects are left out.
  TObjs other;
  other.SetServerType(srvInterBase);
  TIbParser q(nullptr, &other);
  q.SetSource("GRANT SELECT ON IBE$LOG TO X;");
  q.ParseStatements();
  EXPECT_FALSE(q.Messages->HasErrors());
  EXPECT_EQ(other.GntList.Count(), 0);
}

TEST_F(IbParse, DescriptionsReachTheirObjects) {
  Parse("CREATE DOMAIN D AS INTEGER;\nCREATE TABLE T (A INTEGER);\nCREATE VIEW V (X) AS SELECT A FROM T;\n"
        "CREATE EXCEPTION E 'e';\nCREATE GENERATOR G;\nCREATE INDEX I ON T (A);\nCREATE ROLE R;\n"
        "SET TERM ^ ;\nCREATE PROCEDURE P (IN1 INTEGER) RETURNS (OUT1 INTEGER) AS BEGIN END^\n"
        "CREATE TRIGGER TR FOR T BEFORE INSERT AS BEGIN END^\nSET TERM ; ^\n"
        "DECLARE EXTERNAL FUNCTION F INTEGER RETURNS INTEGER BY VALUE ENTRY_POINT 'f' MODULE_NAME 'm';\n"
        "COMMENT ON DOMAIN       D IS 'domain';\n"
        "COMMENT ON TABLE        T IS 'table';\n"
        "COMMENT ON    COLUMN    T.A IS 'column';\n"
        "COMMENT ON COLUMN V.X IS 'view column';\n"
        "COMMENT ON VIEW V IS 'view';\n"
        "COMMENT ON PROCEDURE    P IS 'procedure';\n"
        "COMMENT ON PARAMETER P.OUT1 IS 'output';\n"
        "COMMENT ON TRIGGER TR IS 'trigger';\n"
        "COMMENT ON EXTERNAL FUNCTION F IS 'function';\n"
        "COMMENT ON SEQUENCE G IS 'generator';\n"
        "COMMENT ON INDEX I IS 'index';\n"
        "COMMENT ON ROLE R IS 'role';\n"
        "COMMENT ON EXCEPTION E IS 'first';\n"
        "COMMENT ON EXCEPTION E IS NULL;\n"
        "COMMENT ON TABLE NOT_THERE IS 'nothing happens';\n"
        "COMMENT ON DATABASE IS 'the database';\n"
        "DESCRIBE FIELD A TABLE T 'described column';\n"
        "DESCRIBE PARAMETER IN1 PROCEDURE P 'described input';\n"
        "DESCRIBE GENERATOR G 'described generator';\n");
  EXPECT_EQ(Errors(), V{});
  EXPECT_EQ(Objs.FindDomain("D")->Description, "domain");
  EXPECT_EQ(Objs.FindTable("T")->Description, "table");
  EXPECT_EQ(Column("T", "A")->Description, "described column");
  EXPECT_EQ(Objs.FindViewField("V", "X")->Description, "view column");
  EXPECT_EQ(Objs.FindView("V")->Description, "view");
  EXPECT_EQ(Objs.FindProcedure("P")->Description, "procedure");
  EXPECT_EQ(Objs.FindProcedure("P")->FindParam("OUT1")->Description, "output");
  EXPECT_EQ(Objs.FindProcedure("P")->FindParam("IN1")->Description, "described input");
  EXPECT_EQ(Objs.FindTrigger("TR")->Description, "trigger");
  EXPECT_EQ(Objs.FindFunction("F")->Description, "function");
  EXPECT_EQ(Objs.FindGenerator("G")->Description, "described generator");
  EXPECT_EQ(Objs.FindIndex("I")->Description, "index");
  EXPECT_EQ(Objs.FindRole("R")->Description, "role");
  EXPECT_EQ(Objs.FindException("E")->Description, "");
}

// ---------------------------------------------------------------------------
// Final pass

TEST_F(IbParse, FinalPassLinksDomainsAndDropsIndexesThatDuplicateKeys) {
  Parse("CREATE DOMAIN D1 AS INTEGER;\nCREATE DOMAIN D2 AS INTEGER;\n"
        "CREATE TABLE T (ID INTEGER NOT NULL, A D1, CONSTRAINT PK_T PRIMARY KEY (ID));\n"
        "ALTER TABLE T ADD B D2;\n"
        "CREATE VIEW V AS SELECT A FROM T;\n"
        "CREATE UNIQUE INDEX PK_T ON T (ID);\n"
        "CREATE UNIQUE INDEX IX_OTHER ON T (ID);\n");
  EXPECT_EQ(Errors(), V{});
  // A view's column dependencies come from parsing its query; one is given here.
  TViwData* v = Objs.FindView("V");
  AddDependencyOnce(&Objs, v, Objs.FindTable("T"), "A", 0, 1);
  P->FinishParse();
  EXPECT_FALSE(Objs.FindIndex("PK_T"));
  EXPECT_TRUE(Objs.FindIndex("IX_OTHER"));
  EXPECT_TRUE(Uses(Column("T", "A"), Objs.FindDomain("D1")));
  EXPECT_TRUE(Uses(Column("T", "B"), Objs.FindDomain("D2")));
  EXPECT_TRUE(Uses(v, Objs.FindDomain("D1")));
  EXPECT_FALSE(Uses(v, Objs.FindDomain("D2")));
  EXPECT_TRUE(Uses(Objs.FindConstraint("PK_T"), Objs.FindTable("T")));
}

TEST_F(IbParse, ObjectsTheContainerRefusesLeaveNoRecordsBehind) {
  // The second T and its constraint are refused as duplicates; the records
  // their columns made on the domain and the table must go with them.
  Parse("CREATE DOMAIN D AS INTEGER;\n"
        "CREATE TABLE T (A D);\n"
        "CREATE TABLE T (A D, B D);\n"
        "CREATE TABLE U (ID INTEGER, CONSTRAINT FK FOREIGN KEY (ID) REFERENCES T (A));\n"
        "CREATE TABLE U2 (ID INTEGER, CONSTRAINT FK FOREIGN KEY (ID) REFERENCES T (A));\n");
  EXPECT_EQ(Errors(), V{});
  TDmnData* d = Objs.FindDomain("D");
  ASSERT_EQ(d->UseInList.size(), 1u);
  EXPECT_EQ(d->UseInList[0]->Obj, Column("T", "A"));
  for (const auto& r : Objs.FindTable("T")->UseInList) EXPECT_EQ(r->Obj, Objs.FindConstraint("FK"));
  P->FinishParse();  // walks every record: under the sanitizer a stale one fails here
}

// ---------------------------------------------------------------------------
// Errors

TEST_F(IbParse, SyntaxErrorsCarryPositionAndTheParseGoesOn) {
  struct Case {
    const char* Statement;
    const char* Message;
    int Line, Column;
  };
  // Each statement stands on line 2, after a first line that is fine; the
  // generator after it must still be read.
  const Case cases[] = {
      {"CREATE TABLE (A INTEGER);", "Missing: <Ident> (<(>)", 2, 15},
      {"CREATE TABLE T (A INTEGER DEFAULT (1));", "DEFAUT <value> error...", 2, 36},
      {"CREATE TABLE T (A INTEGER NOT 5);", "Missing: NULL (<Integer value>)", 2, 32},
      {"CREATE TABLE T (A BLOB SUB_TYPE WHATEVER);", "Unknown blob-subtype.", 2, 41},
      {"CREATE TABLE T (A INTEGER) ON COMMIT KEEP ROWS;", "Must be: DELETE ROWS / PRESERVE ROWS.", 2, 42},
      {"CREATE TABLE T (A INTEGER, CONSTRAINT C KEY (A));", "Missing: PRIMARY... or UNIQUE...", 2, 44},
      {"ALTER TABLE T2 FROB A;", "Unknown symbol", 2, 20},
      {"ALTER TABLE T2 DROP 5;", "Unknown ALTER TABLE <table-name> DROP statement", 2, 22},
      {"ALTER TABLE T2 ADD FOREIGN KEY (A) REFERENCES T2 (A) ON INSERT CASCADE;",
       "Missing: UPDATE/DELETE", 2, 63},
      {"ALTER TABLE T2 ADD FOREIGN KEY (A) REFERENCES T2 (A) ON DELETE NOTHING;",
       "Unknown action into UPDATE/DELETE rule.", 2, 71},
      {"ALTER INDEX IX OFF;", "Must be: ACTIVE/INACTIVE (ALTER INDEX... declaration)", 2, 19},
      {"CREATE THING X;", "Unknown CREATE-statement", 2, 13},
      {"FROBNICATE ALL;", "Unknown statement: <Ident>", 2, 11},
      {"ALTER BANANA X;", "Unknown ALTER statement.", 2, 13},
      {"DROP BANANA X;", "Unknown DROP statement", 2, 12},
      {"SET AUTODDL MAYBE;", "Missing: ON/OFF in \"SET AUTODDL...\"", 2, 18},
      {"COMMENT ON BANANA X IS 'x';", "Unknown Comment-statement", 2, 18},
      {"COMMENT ON TABLE T2 IS 5;", "Invalid comment text", 2, 25},
      {"GRANT SELECT ON T2 TO U WITH POWER;", "Must be: with GRANT/ADMIN option", 2, 35},
      {"CREATE TRIGGER TR FOR T2 SOMETIME INSERT AS BEGIN END;", "Must be: BEFORE / AFTER", 2, 34},
      {"CREATE INDEX IX ON T2 (A B);", "Missing: <)> (<Ident>: B)", 2, 27},
      {"CREATE TABLE T (A INTEGER) # ;", "Invalid char in source text: \"#\".", 2, 28},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Statement);
    TObjs objs;
    objs.SetServerType(srvInterBase);
    TIbParser p(nullptr, &objs);
    p.OnErrorMessage = [](void*, const std::string&) {};
    p.ScriptName = "bad.sql";
    p.SetSource(std::string("CREATE TABLE T2 (A INTEGER);\n") + c.Statement + "\nCREATE GENERATOR G;\n");
    p.ParseStatements();
    ASSERT_EQ(p.Messages->Count(), 1) << p.Messages->GetErrorText();
    const TMsgData& m = *p.Messages->Items[0];
    EXPECT_EQ(m.Text, c.Message);
    EXPECT_EQ(m.ScriptName, "bad.sql");
    EXPECT_EQ(m.Line, c.Line);
    EXPECT_EQ(m.Column, c.Column);
    if (std::string(c.Statement).back() == ';') {
      EXPECT_TRUE(objs.FindGenerator("G"));
    }
  }
}

TEST_F(IbParse, OnlyTheFirstErrorOfAnExtractionIsShown) {
  std::vector<std::string> shown;
  Objs.IBServerOptions->SQLServerVersion = st_Firebird_25;
  TIbParser p(nullptr, &Objs);
  p.OnErrorMessage = [&shown](void*, const std::string& text) { shown.push_back(text); };
  p.ScriptName = "x.sql";
  p.SetSource("CREATE THING A;\nCREATE THING B;\n");
  p.ParseStatements();
  EXPECT_EQ(p.Messages->Count(), 2);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0], "Unknown CREATE-statement\r\nScript: x.sql Line:1 Pos:14\r\n");
}

// Garbage, truncated and shuffled scripts: no crash, no hang, and the parse
// always reaches the end of its input.
TEST_F(IbParse, NoInputStopsOrBreaksTheParser) {
  const std::string base =
      "SET TERM ^ ;\nCREATE DOMAIN D AS VARCHAR(5) DEFAULT 'x' CHECK (VALUE > '');\n"
      "CREATE TABLE T (A D, B INTEGER [1:2], C COMPUTED BY (A || B), CONSTRAINT PK PRIMARY KEY (B));\n"
      "ALTER TABLE T ADD CONSTRAINT FK FOREIGN KEY (B) REFERENCES T (B) ON UPDATE CASCADE;\n"
      "CREATE PROCEDURE P (X INTEGER) RETURNS (Y INTEGER) AS BEGIN Y = X; SUSPEND; END^\n"
      "SET TERM ; ^\nCREATE VIEW V AS SELECT A FROM T;\nGRANT SELECT ON T TO PUBLIC;\n"
      "COMMENT ON TABLE T IS 'x';\nCREATE INDEX I ON T COMPUTED BY (UPPER(A));\n";
  std::mt19937 rng(7);
  std::vector<std::string> inputs = {"", ";", "^", "SET TERM", "SET TERM ^", "SET TERM ^^ ^",
                                     "CREATE", "'", "\"", "/*", "--", "(((((", "0x", "X'", "_"};
  for (size_t cut = 0; cut <= base.size(); cut += 3) inputs.push_back(base.substr(0, cut));
  const std::string alphabet = "(),;^'\"-/*[]:=.0x_ ABC\n";
  for (int i = 0; i < 300; ++i) {
    std::string s = base;
    for (int k = 0; k < 6; ++k) s[rng() % s.size()] = alphabet[rng() % alphabet.size()];
    inputs.push_back(s);
  }
  for (const std::string& text : inputs) {
    for (TIBSQLServerVersionType v : {st_Firebird_25, st_Firebird_30, st_InterBase_2020}) {
      TObjs objs;
      objs.SetServerType(srvInterBase);
      objs.IBServerOptions->SQLServerVersion = v;
      TIbParser p(nullptr, &objs);
      p.OnErrorMessage = [](void*, const std::string&) {};
      p.SetSource(text);
      p.ParseStatements();
      EXPECT_TRUE(p.AtEnd()) << text;
      p.FinishParse();
    }
  }
}

// ---------------------------------------------------------------------------
// Scripts through the extractor

struct TExtracted {
  TDBStructure Structure;
  TIBScriptExtract Extract;
  std::vector<std::string> Shown;

  TExtracted(const std::vector<std::string>& files, TIBSQLServerVersionType version) {
    Structure.Objs->IBServerOptions->SQLServerVersion = version;
    Extract.SetOnErrorMessage([this](void*, const std::string& t) { Shown.push_back(t); });
    Extract.SetDBStructure(&Structure);
    Extract.ScriptFiles = files;
  }
  TObjs& Objs() { return *Structure.Objs; }
};

std::string WriteFile(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
  return path.string();
}

TEST(IbExtract, InputReadsAFileBesideTheScriptIntoTheSameContainer) {
  const fs::path dir = fs::temp_directory_path() / ("orvalis-ib-input-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  WriteFile(dir / "part2.sql",
            "SET SQL DIALECT 3;\nCREATE TABLE T2 (A INTEGER);\nINPUT 'part3.sql';\nCREATE THING;\n");
  WriteFile(dir / "part3.sql", "CREATE TABLE T3 (A INTEGER);\n");
  const std::string main = WriteFile(dir / "main.sql",
                                     "CREATE TABLE T1 (A INTEGER);\nINPUT 'part2.sql';\n"
                                     "CREATE TABLE T4 (A INTEGER);\n");
  TExtracted x({main}, st_Firebird_30);
  EXPECT_FALSE(x.Extract.Extract());  // part2.sql holds an error
  EXPECT_TRUE(x.Objs().FindTable("T1"));
  EXPECT_TRUE(x.Objs().FindTable("T2"));
  EXPECT_FALSE(x.Objs().FindTable("T3"));  // INPUT inside an INPUT file is ignored
  EXPECT_TRUE(x.Objs().FindTable("T4"));
  bool located = false;
  for (const auto& m : x.Extract.GetMessages()->Items)
    located = located || (m->Text == "Unknown CREATE-statement" && m->ScriptName == (dir / "part2.sql").string() &&
                          m->Line == 4);
  EXPECT_TRUE(located);
  fs::remove_all(dir);
}

// The bundled corpus parses without error in the default version and in
// Firebird 3, and every object its statements create is in the model.
TEST(IbExtract, CorpusScripts) {
  struct Case {
    const char* File;
    int Domains, Tables, Views, Procedures, Triggers, Generators, Exceptions, Indexes, Packages,
        Grants, Constraints;
  };
  const Case cases[] = {
      {"employee-empddl.sql", 15, 10, 1, 10, 4, 2, 5, 12, 0, 21, 40},
      {"employee-intl-intlddl.sql", 15, 10, 1, 13, 4, 2, 5, 12, 0, 24, 40},
      {"fbout-package-header.sql", 1, 1, 0, 0, 0, 1, 0, 0, 1, 2, 0},
      {"fbout-package-body.sql", 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0},
      {"zeoslib-create_firebird.sql", 4, 20, 1, 8, 1, 1, 0, 0, 0, 2, 23},
  };
  for (const Case& c : cases) {
    for (TIBSQLServerVersionType v : {st_Firebird_25, st_Firebird_30}) {
      SCOPED_TRACE(std::string(c.File) + " in version " + std::to_string(v));
      TExtracted x({(fs::path(ORVALIS_TEST_DATA) / "corpus" / "firebird" / c.File).string()}, v);
      EXPECT_TRUE(x.Extract.Extract()) << x.Extract.GetMessages()->GetErrorText();
      TObjs& o = x.Objs();
      EXPECT_EQ(o.DmnList.Count(), c.Domains);
      EXPECT_EQ(o.TblList.Count(), c.Tables);
      EXPECT_EQ(o.ViwList.Count(), c.Views);
      EXPECT_EQ(o.PrcList.Count(), c.Procedures);
      EXPECT_EQ(o.TrgList.Count(), c.Triggers);
      EXPECT_EQ(o.GnrList.Count(), c.Generators);
      EXPECT_EQ(o.ExcList.Count(), c.Exceptions);
      EXPECT_EQ(o.IdxList.Count(), c.Indexes);
      EXPECT_EQ(o.PkgList.Count(), c.Packages);
      EXPECT_EQ(o.GntList.Count(), c.Grants);
      EXPECT_EQ(o.CtrList.Count(), c.Constraints);
    }
  }
}

// The parser works on the text in place: a large script is read quickly.
TEST(IbExtract, ALargeScriptIsReadQuickly) {
  std::string text;
  for (int i = 0; text.size() < 2u << 20; ++i) {
    const std::string n = std::to_string(i);
    text += "CREATE TABLE T" + n + " (ID INTEGER NOT NULL, NAME VARCHAR(60) CHARACTER SET UTF8,\n"
            "  AMOUNT NUMERIC(15, 2) DEFAULT 0 NOT NULL, NOTE BLOB SUB_TYPE TEXT, CREATED TIMESTAMP,\n"
            "  CONSTRAINT PK_T" + n + " PRIMARY KEY (ID));\n"
            "CREATE INDEX IX_T" + n + " ON T" + n + " (NAME);\n"
            "COMMENT ON TABLE T" + n + " IS 'Table number " + n + "';\n"
            "SET TERM ^ ;\nCREATE PROCEDURE P" + n + " AS\nDECLARE VARIABLE X INTEGER;\nBEGIN\n"
            "  /* a comment */ X = 1;\n  SUSPEND;\nEND^\nSET TERM ; ^\n";
  }
  TObjs objs;
  objs.SetServerType(srvInterBase);
  TIbParser p(nullptr, &objs);
  p.OnErrorMessage = [](void*, const std::string&) {};
  const auto start = std::chrono::steady_clock::now();
  p.SetSource(text);
  p.ParseStatements();
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_EQ(p.Messages->Count(), 0);
  EXPECT_EQ(objs.TblList.Count(), objs.PrcList.Count());
  // A generous bound that still catches work per character or per token
  // that grows with the script (a debug build reads several MB/s).
  EXPECT_LT(seconds, 20.0) << text.size() / seconds / 1e6 << " MB/s";
  RecordProperty("MBps", std::to_string(text.size() / seconds / 1e6));
}

}  // namespace
