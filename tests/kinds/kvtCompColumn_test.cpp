// Column definitions, type texts and the single-column ALTER TABLE texts in
// every dialect.
#include <gtest/gtest.h>

#include <functional>

#include "kinds/kvtComp_Prc.h"
#include "kvtKindsFixture.h"

namespace {

using TSetup = std::function<void(TFldData&)>;

struct TColumnCase {
  const char* Label;
  TServerType Server;
  TSetup Setup;
  const char* Expected;
};

// A column named C (c for PostgreSQL) of table T in a container of one dialect.
class TColumnText {
 public:
  explicit TColumnText(TServerType st) {
    Objs.SetServerType(st);
    Table = AddTable(Objs, "T", {});
    auto f = std::make_unique<TFldData>(&Objs, Table);
    f->SetName(st == srvPostgreSQL ? "c" : "C");
    Column = Table->AddField(std::move(f));
  }
  TObjs Objs;
  TTblData* Table;
  TFldData* Column;
};

TSetup Type(uint8_t type, int32_t length = 0) {
  return [=](TFldData& f) {
    f.DataType = type;
    f.Length = length;
  };
}

TSetup Then(TSetup a, TSetup b) {
  return [=](TFldData& f) {
    a(f);
    b(f);
  };
}

TSetup NotNull() {
  return [](TFldData& f) { f.Nullable = false; };
}

TSetup Default(const char* v) {
  return [=](TFldData& f) { f.DefaultValue = v; };
}

TSetup Numeric(uint8_t type, int32_t p, int32_t s) {
  return [=](TFldData& f) {
    f.DataType = type;
    f.Precision = p;
    f.Scale = s;
  };
}

TSetup Computed(const char* body) {
  return [=](TFldData& f) {
    f.DataType = dtInteger;
    f.SetBody(body);
  };
}

const TColumnCase kColumnCases[] = {
    // InterBase/Firebird
    {"IB varchar(1) keeps length", srvInterBase, Type(dtVarchar, 1), "C VARCHAR(1)"},
    {"IB char(1) drops length", srvInterBase, Type(dtChar, 1), "C CHAR"},
    {"IB char default not null", srvInterBase,
     Then(Then(Type(dtChar, 10), Default("'x'")), NotNull()), "C CHAR(10) DEFAULT 'x' NOT NULL"},
    {"IB double-quoted default", srvInterBase, Then(Type(dtVarchar, 5), Default("\"it's\"")),
     "C VARCHAR(5) DEFAULT 'it''s'"},
    {"IB numeric", srvInterBase, Numeric(dtNumeric, 15, 2), "C NUMERIC(15,2)"},
    {"IB decfloat default precision", srvInterBase, Numeric(dtDecFloat, 34, 0), "C DECFLOAT"},
    {"IB decfloat(16)", srvInterBase, Numeric(dtDecFloat, 16, 0), "C DECFLOAT(16)"},
    {"IB blob default segment", srvInterBase,
     [](TFldData& f) {
       f.DataType = dtBlob;
       f.SubType = 1;
       f.SegmentSize = 80;
     },
     "C BLOB SUB_TYPE 1"},
    {"IB blob segment", srvInterBase,
     [](TFldData& f) {
       f.DataType = dtBlob;
       f.SegmentSize = 4096;
     },
     "C BLOB SEGMENT SIZE 4096"},
    {"IB array", srvInterBase,
     [](TFldData& f) {
       f.DataType = dtInteger;
       f.Dimensions = {{1, 10}, {0, 5}};
     },
     "C INTEGER [1:10, 0:5]"},
    {"IB computed", srvInterBase, Computed("(A + B)"), "C COMPUTED BY (A + B)"},
    {"IB domain", srvInterBase,
     [](TFldData& f) {
       f.DataType = dtDomain;
       f.DomainName = "DOM_NAME";
       f.Nullable = false;
     },
     "C DOM_NAME NOT NULL"},
    {"IB type of column", srvInterBase,
     [](TFldData& f) {
       f.DataType = dtDomain;
       f.TypeOf = true;
       f.TypeOfTable = "T2";
       f.TypeOfColumn = "X";
     },
     "C TYPE OF COLUMN T2.X"},
    {"IB check", srvInterBase,
     [](TFldData& f) {
       f.DataType = dtInteger;
       f.CheckExpression = "(C > 0)";
     },
     "C INTEGER CHECK(C > 0)"},
    // SQL Anywhere
    {"ASA varchar(1)", srvASA, Type(dtVarchar, 1), "C VARCHAR NULL"},
    {"ASA identity", srvASA,
     [](TFldData& f) {
       f.DataType = dtInteger;
       f.Identity = true;
       f.IdentitySeed = 1;
       f.IdentityIncrement = 1;
       f.Nullable = false;
     },
     "C INTEGER IDENTITY (1, 1) NOT NULL"},
    {"ASA max length", srvASA, Type(dtVarchar, -1), "C VARCHAR NULL"},
    // MySQL
    {"MySQL varchar(1)", srvMySQL, Type(dtVarchar, 1), "C VARCHAR(1)"},
    {"MySQL enum", srvMySQL,
     [](TFldData& f) {
       f.DataType = dtEnum;
       f.EnumValues = {"'a'", "'b'"};
       f.Nullable = false;
       f.DefaultValue = "'a'";
     },
     "C ENUM('a', 'b') NOT NULL DEFAULT 'a'"},
    {"MySQL decimal unsigned", srvMySQL,
     [](TFldData& f) {
       f.DataType = dtDecimal;
       f.Precision = 10;
       f.Scale = 2;
       f.Unsigned = true;
     },
     "C DECIMAL(10,2) UNSIGNED"},
    {"MySQL auto increment", srvMySQL,
     [](TFldData& f) {
       f.DataType = dtInteger;
       f.Precision = 11;
       f.Nullable = false;
       f.AutoIncrement = true;
     },
     "C INTEGER(11) NOT NULL AUTO_INCREMENT"},
    {"MySQL default re-quoted", srvMySQL, Then(Type(dtVarchar, 9), Default("'a''b\\\\c'")),
     "C VARCHAR(9) DEFAULT 'a\\'b\\\\c'"},
    {"MySQL charset", srvMySQL,
     [](TFldData& f) {
       f.DataType = dtVarchar;
       f.Length = 10;
       f.CharacterSet = "utf8";
       f.Collation = "utf8_bin";
     },
     "C VARCHAR(10) CHARACTER SET utf8 COLLATE utf8_bin"},
    // Oracle
    {"Oracle varchar2 without length", srvOracle, Type(dtVarchar2, 0), "C VARCHAR2(0)"},
    {"Oracle number default", srvOracle,
     Then(Then(Numeric(dtNumber, 10, 2), Default("0")), NotNull()),
     "C NUMBER(10,2) DEFAULT 0 NOT NULL"},
    {"Oracle interval day to second", srvOracle, Numeric(dtIntervalDayToSecond, 2, 6),
     "C INTERVAL DAY(2) TO SECOND(6)"},
    {"Oracle interval year to month", srvOracle, Numeric(dtIntervalYearToMonth, 4, 0),
     "C INTERVAL YEAR(4) TO MONTH"},
    {"Oracle local time zone", srvOracle,
     [](TFldData& f) {
       f.DataType = dtTimestamp;
       f.Precision = 6;
       f.WithLocalTimeZone = true;
     },
     "C TIMESTAMP(6) WITH LOCAL TIME ZONE"},
    {"Oracle max length", srvOracle, Type(dtVarchar2, -1), "C VARCHAR2(-1)"},
    // MS SQL Server
    {"MSSQL varchar(max)", srvMSSQL, Type(dtVarchar, -1), "C VARCHAR(MAX) NULL"},
    {"MSSQL char(1)", srvMSSQL, Type(dtChar, 1), "C CHAR(1) NULL"},
    {"MSSQL datetime2 default precision", srvMSSQL, Numeric(dtDateTime2, 7, 0), "C DATETIME2 NULL"},
    {"MSSQL time(0)", srvMSSQL, Numeric(dtTime, 0, 0), "C TIME(0) NULL"},
    {"MSSQL decimal", srvMSSQL, Numeric(dtDecimal, 18, 4), "C DECIMAL(18,4) NULL"},
    {"MSSQL numeric without precision", srvMSSQL, Numeric(dtNumeric, 0, 0), "C NUMERIC NULL"},
    {"MSSQL computed persisted", srvMSSQL,
     [](TFldData& f) {
       f.SetBody("(A + B)");
       f.Persisted = true;
     },
     "C AS (A + B) PERSISTED"},
    {"MSSQL identity", srvMSSQL,
     [](TFldData& f) {
       f.DataType = dtInteger;
       f.Identity = true;
       f.IdentitySeed = 1;
       f.IdentityIncrement = 1;
       f.Nullable = false;
     },
     "C INTEGER IDENTITY (1, 1) NOT NULL"},
    {"MSSQL user type with schema", srvMSSQL,
     [](TFldData& f) {
       f.DataType = dtDomain;
       f.DomainSchema = "DBO";
       f.DomainName = "UT";
     },
     "C DBO.UT NULL"},
    {"MSSQL xml collection", srvMSSQL,
     [](TFldData& f) {
       f.DataType = dtXml;
       f.XmlSchemaCollection = "(DOCUMENT X)";
     },
     "C XML (DOCUMENT X) NULL"},
    // PostgreSQL
    {"PG varchar default", srvPostgreSQL,
     Then(Then(Type(dtVarchar, 20), NotNull()), Default("'x'")),
     "c varchar(20) not null default 'x'"},
    {"PG array", srvPostgreSQL,
     [](TFldData& f) {
       f.DataType = dtInteger;
       f.Dimensions = {{0, 0}, {1, 3}};
     },
     "c integer[][3]"},
    {"PG timestamp with time zone", srvPostgreSQL, Type(dtTimestampTZ),
     "c timestamp with time zone"},
    {"PG named check", srvPostgreSQL,
     [](TFldData& f) {
       f.DataType = dtInteger;
       f.CheckExpression = "(VALUE > 0)";
       f.CheckName = "positive";
     },
     "c integer CONSTRAINT positive CHECK(VALUE > 0)"},
    // Without a name there is no CONSTRAINT keyword: "CONSTRAINT CHECK" is not SQL.
    {"PG unnamed check", srvPostgreSQL,
     [](TFldData& f) {
       f.DataType = dtInteger;
       f.Nullable = false;
       f.CheckExpression = "(VALUE > 0)";
     },
     "c integer not null CHECK(VALUE > 0)"},
    // DB2
    {"DB2 identity", srvDB2,
     [](TFldData& f) {
       f.DataType = dtInteger;
       f.Nullable = false;
       f.Identity = true;
       f.Db2Generated = 'A';
       f.GetIdentityGenerator()->StartWith = "1";
       f.GetIdentityGenerator()->IncrementBy = "1";
     },
     "C INTEGER NOT NULL GENERATED ALWAYS AS IDENTITY(START WITH 1, INCREMENT BY 1, CACHE 20)"},
    {"DB2 clob logged", srvDB2,
     [](TFldData& f) {
       f.DataType = dtClob;
       f.Length = 1000;
       f.Db2Logged = 0;
       f.Db2Compact = 1;
     },
     "C CLOB(1000) NOT LOGGED COMPACT"},
    {"DB2 generated expression with default", srvDB2,
     [](TFldData& f) {
       f.DataType = dtInteger;
       f.Db2Generated = 'D';
       f.Db2GeneratedExpression = "A * 2";
     },
     "C INTEGER GENERATED BY DEFAULT AS(A * 2)"},
    // Sybase ASE
    {"ASE varchar(max)", srvASE, Type(dtVarchar, -1), "C VARCHAR(MAX) NULL"},
    {"ASE computed", srvASE, Computed("A + B"), "C AS A + B"},
    {"ASE java", srvASE,
     [](TFldData& f) {
       f.JavaType = true;
       f.JavaClass = "String";
     },
     "C java.lang.String NULL"},
};

class ColumnDefinition : public testing::TestWithParam<TColumnCase> {};

TEST_P(ColumnDefinition, RendersInDialect) {
  const TColumnCase& c = GetParam();
  TColumnText ct(c.Server);
  c.Setup(*ct.Column);
  EXPECT_EQ(ct.Column->GetCreateSQL(), c.Expected) << c.Label;
}

INSTANTIATE_TEST_SUITE_P(AllDialects, ColumnDefinition, testing::ValuesIn(kColumnCases));

// Type texts drive the column comparison; lengths of 1 and MAX differ by dialect.
TEST(ColumnTypeText, LengthsByDialect) {
  struct {
    TServerType St;
    uint8_t Type;
    int32_t Length;
    const char* Expected;
  } cases[] = {
      {srvInterBase, dtVarchar, 1, "VARCHAR(1)"},
      {srvInterBase, dtChar, 1, "CHAR"},
      {srvInterBase, dtChar, 2, "CHAR(2)"},
      {srvOracle, dtVarchar, 1, "VARCHAR"},
      {srvOracle, dtChar, 1, "CHAR"},
      {srvMSSQL, dtNVarchar, -1, "NVARCHAR(MAX)"},
      {srvPostgreSQL, dtVarchar, 30, "varchar(30)"},
  };
  for (const auto& c : cases) {
    TColumnText ct(c.St);
    ct.Column->DataType = c.Type;
    ct.Column->Length = c.Length;
    EXPECT_EQ(ct.Column->GetTypeText(), c.Expected) << int(c.St) << "/" << int(c.Type);
  }
}

TEST(ColumnTypeText, InterBaseVersionsAndDialect) {
  TColumnText ct(srvInterBase);
  TFldData& f = *ct.Column;
  TIBServerOptions& opts = *ct.Objs.IBServerOptions;

  f.DataType = dtTimestamp;
  EXPECT_EQ(f.GetTypeText(), "TIMESTAMP");
  opts.SQLDialect = 1;  // dialect 1 has only DATE
  EXPECT_EQ(f.GetTypeText(), "DATE");
  opts.SQLDialect = 3;

  opts.SQLServerVersion = st_Firebird_40;
  f.WithTimeZone = true;
  EXPECT_EQ(f.GetTypeText(), "TIMESTAMP WITH TIME ZONE");
  f.DataType = dtBinary;
  f.Length = 1;
  EXPECT_EQ(f.GetTypeText(), "BINARY(1)");

  opts.SQLServerVersion = st_InterBase_2020;
  f.DataType = dtBigInt;
  EXPECT_EQ(f.GetTypeText(), "INTEGER");

  f.ParameterNumber = 2;
  EXPECT_EQ(f.GetTypeText(), "PARAMETER 2");
}

TEST(ColumnTypeText, PostgreSQLTimeZoneTypes) {
  TColumnText ct(srvPostgreSQL);
  TFldData& f = *ct.Column;
  f.DataType = dtTimeTZ;
  EXPECT_EQ(f.GetTypeText(), "time with time zone");
  f.DataType = dtTimestampTZ;
  f.Precision = 3;
  EXPECT_EQ(f.GetTypeText(), "timestamp(3) with time zone");
}

TEST(ColumnDefinitionIB, CharacterSetAndIdentityFollowOptions) {
  TColumnText ct(srvInterBase);
  TFldData& f = *ct.Column;
  TIBServerOptions& opts = *ct.Objs.IBServerOptions;
  opts.DBCharSet = "WIN1252";
  f.DataType = dtVarchar;
  f.Length = 10;
  f.CharacterSet = "UTF8";
  f.Collation = "UNICODE_CI";
  // Whether character sets are compared or not, a created column keeps the
  // ones it was declared with (else it takes the database's default).
  for (bool compared : {false, true}) {
    opts.IBCompareOptions->FldCharsetCompare = compared;
    EXPECT_EQ(f.GetCreateSQL(), "C VARCHAR(10) CHARACTER SET UTF8 COLLATE UNICODE_CI");
    f.CharacterSet = "WIN1252";
    EXPECT_EQ(f.GetCreateSQL(), "C VARCHAR(10) CHARACTER SET WIN1252 COLLATE UNICODE_CI");
    f.Collation.clear();
    EXPECT_EQ(f.GetCreateSQL(), "C VARCHAR(10)");  // the database's own character set
    f.CharacterSet = "UTF8";
    f.Collation = "UNICODE_CI";
  }
  // A routine's header is compared as its text: its parameters name their
  // character set only when character sets are compared.
  TPrcData prc(&ct.Objs);
  prc.SetName("P");
  TFldData p(&ct.Objs, &prc);
  p.SetName("A");
  p.AssignType(f);
  opts.IBCompareOptions->FldCharsetCompare = false;
  EXPECT_EQ(p.GetCreateSQL(), "A VARCHAR(10)");
  opts.IBCompareOptions->FldCharsetCompare = true;
  EXPECT_EQ(p.GetCreateSQL(), "A VARCHAR(10) CHARACTER SET UTF8 COLLATE UNICODE_CI");

  TColumnText id(srvInterBase);
  id.Column->DataType = dtInteger;
  id.Column->Identity = true;
  id.Column->Nullable = false;
  EXPECT_EQ(id.Column->GetCreateSQL(), "C INTEGER");  // no identity clause before 3.0
  id.Objs.IBServerOptions->SQLServerVersion = st_Firebird_30;
  EXPECT_EQ(id.Column->GetCreateSQL(), "C INTEGER GENERATED BY DEFAULT AS IDENTITY");
  // Firebird 4.0 has identity columns too; leaving the clause out would lose it.
  id.Objs.IBServerOptions->SQLServerVersion = st_Firebird_40;
  EXPECT_EQ(id.Column->GetCreateSQL(), "C INTEGER GENERATED BY DEFAULT AS IDENTITY");
}

TEST(ColumnDefinitionIB, ParameterDefaultsDependOnVersion) {
  TObjs objs;
  objs.SetServerType(srvInterBase);
  TPrcData prc(&objs);
  prc.SetName("P");
  TFldData in(&objs, &prc), out(&objs, &prc);
  in.SetName("A");
  in.DataType = dtInteger;
  in.DefaultValue = "0";
  out.SetName("R");
  out.DataType = dtInteger;
  out.DefaultValue = "0";
  out.Direction = pdOut;
  EXPECT_EQ(in.ObjType, dboParam);
  EXPECT_EQ(in.GetCreateSQL(), "A INTEGER = 0");
  EXPECT_EQ(out.GetCreateSQL(), "R INTEGER");
  objs.IBServerOptions->SQLServerVersion = st_Firebird_21;
  EXPECT_EQ(in.GetCreateSQL(), "A INTEGER");

  // A table column keeps its default on every server version.
  TTblData* t = AddTable(objs, "T", {{"C"}});
  t->Fields[0]->DefaultValue = "1";
  EXPECT_EQ(t->Fields[0]->GetCreateSQL(), "C INTEGER DEFAULT 1");
}

TEST(ColumnDefinitionMSSQL, ProcedureParameterUsesRawName) {
  TObjs objs;
  objs.SetServerType(srvMSSQL);
  TPrcData prc(&objs);
  TFldData p(&objs, &prc);
  p.SetName("@P");
  p.DataType = dtInteger;
  p.Direction = pdOut;
  EXPECT_EQ(p.GetCreateSQL(), "@P INTEGER OUTPUT");
}

TEST(ColumnDefinitionASE, ParameterModeSuffix) {
  TObjs objs;
  objs.SetServerType(srvASE);
  TPrcData prc(&objs);
  TFldData p(&objs, &prc);
  p.SetName("@p");
  p.DataType = dtInteger;
  p.Direction = pdOut;
  EXPECT_EQ(p.GetCreateSQL(), "@p INTEGER out");
}

TEST(ColumnDefinitionMSSQL, TableTypeColumnUsesTableText) {
  TColumnText ct(srvMSSQL);
  TFldData& f = *ct.Column;
  f.DataType = dtTable;
  EXPECT_EQ(f.GetCreateSQL(), "C TABLE");
  f.TableType = std::make_unique<TTblData>(&ct.Objs);
  f.TableType->SetName("TT");
  auto a = std::make_unique<TFldData>(&ct.Objs, f.TableType.get());
  a->SetName("A");
  a->DataType = dtInteger;
  f.TableType->AddField(std::move(a));
  EXPECT_EQ(f.GetCreateSQL(), "C TABLE TT(A INTEGER NULL)");
}

// ALTER TABLE ... ADD / DROP of one column, by dialect.
TEST(ColumnAlterTexts, AddAndDropByDialect) {
  struct {
    TServerType St;
    const char* Add;
    const char* Drop;
  } cases[] = {
      {srvInterBase, "ALTER TABLE T ADD C INTEGER", "ALTER TABLE T DROP C"},
      {srvOracle, "ALTER TABLE S.T ADD C INTEGER", "ALTER TABLE T DROP (C)"},
      {srvMSSQL, "ALTER TABLE S.T ADD C INTEGER NULL", "ALTER TABLE S.T DROP COLUMN C"},
      {srvASA, "ALTER TABLE OWN.T ADD C INTEGER NULL", "ALTER TABLE OWN.T DROP C"},
      {srvMySQL, "ALTER TABLE T ADD C INTEGER", "ALTER TABLE T DROP C"},
  };
  for (const auto& c : cases) {
    TColumnText ct(c.St);
    ct.Table->Schema = "S";
    ct.Table->Owner = "OWN";
    ct.Column->DataType = dtInteger;
    EXPECT_EQ(ct.Column->GetCreateScript(), c.Add) << int(c.St);
    EXPECT_EQ(ct.Column->GetDropSQL(), c.Drop) << int(c.St);
  }
  // A column without an owner table names its table by TableName.
  TObjs objs;
  objs.SetServerType(srvASA);
  TFldData loose(&objs, nullptr);
  loose.SetName("C");
  loose.TableName = "T";
  EXPECT_EQ(loose.GetDropSQL(), "ALTER TABLE T DROP C");
  // A table without an owner is the DBA's.
  TTblData* dba = AddTable(objs, "D", {{"C"}});
  EXPECT_EQ(dba->Fields[0]->GetCreateScript(), "ALTER TABLE DBA.D ADD C INTEGER NULL");
}

// A MySQL column is added where the table has it: after the nearest column
// before it that is there, first, or last by itself.
TEST(ColumnAlterTexts, MySQLColumnIsAddedInItsPlace) {
  struct {
    std::vector<bool> Exists;  // of columns a, b, c before the one added
    int Added;
    const char* Expected;
  } cases[] = {
      {{true, false, true}, 1, "ALTER TABLE `t` ADD `b` INTEGER AFTER `a`"},
      {{false, true, true}, 0, "ALTER TABLE `t` ADD `a` INTEGER FIRST"},
      {{false, false, true}, 1, "ALTER TABLE `t` ADD `b` INTEGER FIRST"},
      {{true, false, false}, 1, "ALTER TABLE `t` ADD `b` INTEGER"},
      {{true, true, false}, 2, "ALTER TABLE `t` ADD `c` INTEGER"},
  };
  for (const auto& c : cases) {
    TObjs objs;
    objs.SetServerType(srvMySQL);
    TTblData* t = AddTable(objs, "t", {{"a"}, {"b"}, {"c"}});
    for (int i = 0; i < 3; ++i) t->Fields[i]->SetExists(c.Exists[size_t(i)]);
    EXPECT_EQ(t->Fields[c.Added]->GetCreateScript(), c.Expected);
  }
}

TEST(ColumnAttributes, DefaultTextAndCharacterTypes) {
  TColumnText ct(srvInterBase);
  TFldData& f = *ct.Column;
  f.DefaultValue = "\"a'b\"";
  EXPECT_EQ(f.GetDefaultText(), "'a''b'");
  f.DefaultValue = "CURRENT_DATE";
  EXPECT_EQ(f.GetDefaultText(), "CURRENT_DATE");

  ct.Objs.IBServerOptions->DBCharSet = "win1251";
  for (uint8_t t : {dtVarchar, dtChar, dtNChar, dtCString}) {
    f.DataType = t;
    EXPECT_TRUE(f.IsCharacterType()) << int(t);
    EXPECT_EQ(f.GetCharacterSet(), "WIN1251");  // the database's, upper-cased
  }
  f.DataType = dtBlob;
  EXPECT_FALSE(f.IsCharacterType());
  f.SubType = 1;
  EXPECT_TRUE(f.IsCharacterType());
  f.CharacterSet = "UTF8";
  EXPECT_EQ(f.GetCharacterSet(), "UTF8");
  f.DataType = dtInteger;
  EXPECT_EQ(f.GetCharacterSet(), "");
}

TEST(ColumnAttributes, AssignCopiesAllButOwnerAndPositions) {
  TObjs objs;
  objs.SetServerType(srvInterBase);
  TTblData* t1 = AddTable(objs, "T1", {{"A"}, {"B", dtVarchar, 10}});
  TTblData* t2 = AddTable(objs, "T2", {{"X"}});
  TFldData& src = *t1->Fields[1];
  src.SetDescription("  note ");
  src.DefaultValue = "'d'";
  src.Nullable = false;
  src.Matched = true;
  src.Dimensions = {{1, 2}};
  src.XmlSchemaCollection = "(X)";
  src.GetIdentityGenerator()->StartWith = "5";
  TFldData& dst = *t2->Fields[0];
  dst.Assign(src);
  EXPECT_EQ(dst.Name, "B");
  EXPECT_EQ(dst.Description, "note");
  EXPECT_EQ(dst.GetCreateSQL(), "B VARCHAR(10) [1:2] DEFAULT 'd' NOT NULL");
  EXPECT_EQ(dst.Owner, t2);
  EXPECT_EQ(dst.Position, 0);
  EXPECT_FALSE(dst.Matched);
  EXPECT_TRUE(dst.SameDimensions(src));
  EXPECT_EQ(dst.XmlSchemaCollection, "(X)");
  EXPECT_EQ(dst.GetIdentityGenerator()->StartWith, "5");

  TFldData typed(&objs, nullptr);
  typed.AssignType(src);
  EXPECT_EQ(typed.GetTypeText(), "VARCHAR(10)");
  EXPECT_TRUE(typed.Nullable);  // nullability is not part of the type
  EXPECT_TRUE(typed.Name.empty());
}

}  // namespace
