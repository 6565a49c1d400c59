// The procedural-language parser: what bodies use becomes dependencies, body
// texts are stored as written, errors name the object, deep nesting is an
// error and not a crash, and Firebird 3 PSQL as isql writes it parses.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/kvtDBOptions.h"
#include "core/kvtDBStructure.h"
#include "core/kvtMsgMngr.h"
#include "extract/kvtIBScriptExtract.h"
#include "kinds/kvtCompColumn.h"
#include "kinds/kvtComp_Ctr.h"
#include "kinds/kvtComp_Dmn.h"
#include "kinds/kvtComp_Gnr.h"
#include "kinds/kvtComp_Pkg.h"
#include "kinds/kvtComp_Prc.h"
#include "kinds/kvtComp_Tbl.h"
#include "kinds/kvtComp_Trg.h"
#include "kinds/kvtComp_Viw.h"
#include "parse/kvtIBExParser.h"

namespace fs = std::filesystem;

namespace {

// The objects the test bodies use.
const char* const Schema = R"(
CREATE DOMAIN D_MONEY AS NUMERIC(15,2);
CREATE TABLE T1 (ID INTEGER NOT NULL, A INTEGER, B D_MONEY);
CREATE TABLE T2 (ID INTEGER NOT NULL, A INTEGER, C VARCHAR(10));
CREATE GENERATOR G;
CREATE EXCEPTION E 'oops';
DECLARE EXTERNAL FUNCTION F INTEGER RETURNS INTEGER BY VALUE ENTRY_POINT 'f' MODULE_NAME 'm';
CREATE INDEX IX ON T1 (A);
SET TERM ^ ;
CREATE PROCEDURE SP (X INTEGER) RETURNS (R INTEGER) AS BEGIN SUSPEND; END^
SET TERM ; ^
)";

class IbExParserTest : public ::testing::Test {
 protected:
  // A fresh container and parser.
  void SetUp() override {
    P.reset();
    Container = std::make_unique<TObjs>();
    Container->SetServerType(srvInterBase);
    P = std::make_unique<TIbExParser>(nullptr, Container.get());
    P->OnErrorMessage = [](void*, const std::string&) {};
    P->ServerOptions->SQLServerVersion = st_Firebird_30;
    P->ServerOptions->SQLDialect = 3;
  }

  void Parse(const std::string& script) {
    P->ScriptName = "test.sql";
    P->SetSource(script);
    P->ParseStatements();
  }

  std::vector<std::string> Errors() const {
    std::vector<std::string> r;
    for (const auto& m : P->Messages->Items)
      if (m->Kind == mkError) r.push_back(m->Text);
    return r;
  }

  static std::set<std::string> Uses(const TDbObj* obj) { return UsesOf(obj); }

 public:
  // What obj uses: "TABLE.COLUMN" for columns, the name for other objects.
  static std::set<std::string> UsesOf(const TDbObj* obj) {
    std::set<std::string> r;
    if (!obj) return r;
    for (const auto& d : obj->UseOfList) {
      const TDbObj* o = d->Obj;
      r.insert(o->IsFieldObject() ? o->GetParentName() + "." + o->Name : o->Name);
    }
    return r;
  }

 protected:
  std::unique_ptr<TObjs> Container;
  std::unique_ptr<TIbExParser> P;
  TObjs& Objs() { return *Container; }
};

// ---- Dependencies ------------------------------------------------------------

struct TBodyCase {
  const char* What;
  const char* Body;  // of CREATE PROCEDURE P (I INTEGER) RETURNS (O INTEGER) AS ...
  std::set<std::string> Uses;
};

const TBodyCase BodyCases[] = {
    {"an unqualified column goes to the joined table that has it",
     "BEGIN FOR SELECT C FROM T1 JOIN T2 ON T1.ID = T2.ID INTO :O DO SUSPEND; END",
     {"T1", "T1.ID", "T2", "T2.ID", "T2.C"}},
    {"aliases in the select list resolve once the FROM list is read",
     "BEGIN SELECT X.B FROM T1 X WHERE X.ID = :I INTO :O; END", {"T1", "T1.B", "T1.ID"}},
    {"the inner query's table wins for an unqualified column",
     "BEGIN SELECT ID FROM T1 WHERE EXISTS (SELECT 1 FROM T2 WHERE A = 1) INTO :O; END",
     {"T1", "T1.ID", "T2", "T2.A"}},
    {"a subquery in the select list names an outer alias read later",
     "BEGIN SELECT (SELECT MAX(C) FROM T2 WHERE T2.ID = X.ID) FROM T1 X INTO :O; END",
     {"T1", "T1.ID", "T2", "T2.C", "T2.ID"}},
    {"parameters and variables are no generators, an undeclared name is",
     "DECLARE VARIABLE V INTEGER; BEGIN V = I + G; O = V; END", {"G"}},
    {"GEN_ID and NEXT VALUE FOR, also inside INSERT",
     "BEGIN O = GEN_ID(G, 1); INSERT INTO T1 (ID) VALUES (NEXT VALUE FOR G); END", {"G", "T1", "T1.ID"}},
    {"raised and handled exceptions", "BEGIN EXCEPTION E; WHEN EXCEPTION E DO O = 0; END", {"E"}},
    {"procedures and functions called",
     "BEGIN EXECUTE PROCEDURE SP (1) RETURNING_VALUES :O; O = F(O); END", {"SP", "F"}},
    {"a selectable procedure and its output", "BEGIN SELECT R FROM SP(:I) INTO :O; END", {"SP"}},
    {"UPDATE and DELETE columns",
     "BEGIN UPDATE T1 SET B = 0 WHERE ID = :I; DELETE FROM T2 WHERE C = 'x'; END",
     {"T1", "T1.B", "T1.ID", "T2", "T2.C"}},
    {"MERGE target and source",
     "BEGIN MERGE INTO T1 USING T2 S ON T1.ID = S.ID WHEN MATCHED THEN UPDATE SET A = S.A; END",
     {"T1", "T1.ID", "T1.A", "T2", "T2.ID", "T2.A"}},
    {"indexes of a plan", "BEGIN SELECT ID FROM T1 PLAN (T1 INDEX (IX)) INTO :O; END", {"T1", "T1.ID", "IX"}},
    {"domains and columns that types name",
     "DECLARE VARIABLE V D_MONEY; DECLARE VARIABLE W TYPE OF COLUMN T2.C; BEGIN O = CAST(V AS D_MONEY); END",
     {"D_MONEY", "T2.C"}},
    {"each member of a UNION in its own scope",
     "BEGIN FOR SELECT A FROM T2 UNION SELECT A FROM T1 INTO :O DO SUSPEND; END",
     {"T1", "T1.A", "T2", "T2.A"}},
    {"a common table expression with a window function",
     "BEGIN FOR WITH Q AS (SELECT A, ROW_NUMBER() OVER (PARTITION BY C ORDER BY ID) N FROM T2) "
     "SELECT A FROM Q INTO :O DO SUSPEND; END",
     {"T2", "T2.A", "T2.C", "T2.ID"}},
    {"a sub-function hides the external function of its name",
     "DECLARE FUNCTION F (X INTEGER) RETURNS INTEGER AS BEGIN RETURN X * 2; END BEGIN O = F(I); END", {}},
    {"what a sub-procedure uses belongs to the procedure",
     "DECLARE PROCEDURE SUB AS BEGIN DELETE FROM T2; END BEGIN EXECUTE PROCEDURE SUB; END", {"T2"}},
    {"a cursor's query",
     "DECLARE C CURSOR FOR (SELECT ID FROM T1); BEGIN OPEN C; FETCH C INTO :O; CLOSE C; END",
     {"T1", "T1.ID"}},
    {"dynamic statement text names nothing",
     "BEGIN IN AUTONOMOUS TRANSACTION DO EXECUTE STATEMENT 'DELETE FROM T1' WITH AUTONOMOUS TRANSACTION; END",
     {}},
    {"CASE, COALESCE and IIF",
     "BEGIN O = CASE WHEN I > 0 THEN COALESCE(F(I), 0) ELSE IIF(I < 0, -1, 0) END; END", {"F"}},
    {"a call of itself is no dependency", "BEGIN EXECUTE PROCEDURE P; END", {}},
    {"* names every table of its query",
     "BEGIN FOR SELECT * FROM T1, T2 X INTO :O DO SUSPEND; SELECT COUNT(*) FROM T2 INTO :O; END",
     {"T1", "T2"}},
};

TEST_F(IbExParserTest, BodiesDependOnWhatTheyUse) {
  for (const TBodyCase& c : BodyCases) {
    SCOPED_TRACE(c.What);
    SetUp();
    Parse(Schema);
    Parse(std::string("SET TERM ^ ;\nCREATE PROCEDURE P (I INTEGER) RETURNS (O INTEGER) AS\n") + c.Body +
          "^\nSET TERM ; ^\n");
    EXPECT_EQ(Errors(), std::vector<std::string>{});
    EXPECT_EQ(Uses(Objs().FindProcedure("P")), c.Uses);
  }
}

TEST_F(IbExParserTest, TriggerUsesItsTableThroughNewAndOld) {
  Parse(Schema);
  Parse("SET TERM ^ ;\nCREATE TRIGGER TR FOR T1 BEFORE UPDATE AS BEGIN\n"
        "  IF (NEW.B <> OLD.B) THEN NEW.A = OLD.B + 1;\nEND^\nSET TERM ; ^\n");
  EXPECT_EQ(Errors(), std::vector<std::string>{});
  const TTrgData* trg = Objs().FindTrigger("TR");
  ASSERT_TRUE(trg);
  EXPECT_EQ(Uses(trg), (std::set<std::string>{"T1", "T1.A", "T1.B"}));
  int throughB = 0;
  for (const auto& d : trg->UseOfList) throughB += d->Obj->Name == "B";
  EXPECT_EQ(throughB, 1);
}

TEST_F(IbExParserTest, ViewsAndPackagesRecordWhatTheyUse) {
  Parse(Schema);
  Parse("CREATE VIEW V (ID, TOTAL) AS SELECT T1.ID, T1.B + 1 FROM T1 LEFT JOIN T2 ON T2.ID = T1.ID "
        "WHERE T2.C IS NOT NULL WITH CHECK OPTION;\n"
        "SET TERM ^ ;\n"
        "CREATE PACKAGE PK AS BEGIN FUNCTION PF (X D_MONEY) RETURNS INTEGER; END^\n"
        "CREATE PACKAGE BODY PK AS BEGIN\n"
        "  FUNCTION PF (X D_MONEY) RETURNS INTEGER AS BEGIN RETURN (SELECT COUNT(*) FROM T2); END\n"
        "END^\nSET TERM ; ^\n");
  EXPECT_EQ(Errors(), std::vector<std::string>{});
  // A view over a table also uses the domains of that table's columns.
  EXPECT_EQ(Uses(Objs().FindView("V")),
            (std::set<std::string>{"T1", "T1.ID", "T1.B", "T2", "T2.ID", "T2.C", "D_MONEY"}));
  EXPECT_EQ(Uses(Objs().FindPackage("PK")), (std::set<std::string>{"D_MONEY", "T2"}));
  // Package members are no procedures of their own.
  EXPECT_EQ(Objs().FindProcedure("PF"), nullptr);
}

TEST_F(IbExParserTest, AViewWithoutColumnListIsNamedByItsSelectList) {
  Parse(Schema);
  Parse("CREATE VIEW W AS SELECT T1.ID AS K, T1.B, X.*, (SELECT MAX(C) FROM T2) M FROM T1 JOIN T2 X ON X.ID = T1.ID;\n"
        "CREATE VIEW W2 AS SELECT R FROM SP(1) UNION SELECT ID FROM T2;\n"
        "CREATE VIEW W3 AS SELECT K FROM W;\n"
        "CREATE VIEW UNNAMED AS SELECT ID + 1 FROM T1;\n"
        "CREATE VIEW TWICE AS SELECT T1.ID, T2.ID FROM T1, T2;\n");
  EXPECT_EQ(Errors(), std::vector<std::string>{});
  auto columns = [this](const char* view) {
    std::vector<std::string> r;
    if (const TViwData* v = Objs().FindView(view))
      for (const auto& e : v->Columns) r.push_back(e.Name);
    return r;
  };
  EXPECT_EQ(columns("W"), (std::vector<std::string>{"K", "B", "ID", "A", "C", "M"}));
  EXPECT_EQ(columns("W2"), std::vector<std::string>{"R"});
  EXPECT_TRUE(Uses(Objs().FindView("W3")).count("W.K")) << "a view's derived columns can be used";
  // Names the server would refuse give no column list.
  EXPECT_EQ(columns("UNNAMED"), std::vector<std::string>{});
  EXPECT_EQ(columns("TWICE"), std::vector<std::string>{});
}

TEST_F(IbExParserTest, TableExpressionsAreLinkedOnceTheTableIsKnown) {
  Parse(Schema);
  Parse("CREATE TABLE T3 (ID INTEGER, Q INTEGER CHECK (Q > 0), W COMPUTED BY (F(Q) + ID));\n"
        "CREATE INDEX IX3 ON T3 COMPUTED BY (Q * 2);\n");
  EXPECT_EQ(Errors(), std::vector<std::string>{});
  P->FinishParse();
  TTblData* t3 = Objs().FindTable("T3");
  ASSERT_TRUE(t3);
  EXPECT_EQ(Uses(t3->FindField("W")), (std::set<std::string>{"F", "T3.Q", "T3.ID"}));
  EXPECT_TRUE(Uses(t3).count("F")) << "the table of a computed column needs its function";
  const TCtrData* check = nullptr;
  for (const auto& e : Objs().CtrList)
    if (static_cast<TCtrData*>(e.Obj.get())->TableName == "T3") check = static_cast<TCtrData*>(e.Obj.get());
  ASSERT_TRUE(check);
  EXPECT_TRUE(Uses(check).count("T3.Q"));
  EXPECT_TRUE(Uses(Objs().FindIndex("IX3")).count("T3.Q"));
}

TEST_F(IbExParserTest, ComputedExpressionAlteredLaterIsRecordedOnTheColumnItself) {
  // isql -x writes computed columns this way; the expression is read into a
  // temporary field, whose records must not outlive it.
  Parse("CREATE TABLE T (A INTEGER, B INTEGER, C COMPUTED BY (NULL));\n"
        "ALTER TABLE T ALTER C TYPE INTEGER COMPUTED BY (A + B);\n");
  EXPECT_EQ(Errors(), std::vector<std::string>{});
  P->FinishParse();
  TTblData* t = Objs().FindTable("T");
  ASSERT_TRUE(t);
  TFldData* c = t->FindField("C");
  EXPECT_TRUE(Uses(c).count("T.A"));
  for (const char* name : {"A", "B"})
    for (const auto& r : t->FindField(name)->UseInList)
      EXPECT_TRUE(r->Obj == c || r->Obj == t) << name << " is used by " << r->Name;
}

TEST_F(IbExParserTest, FirebirdThreeKeyAndIdentityColumnsAreNotNull) {
  Parse("CREATE TABLE K1 (ID INTEGER PRIMARY KEY, N INTEGER GENERATED BY DEFAULT AS IDENTITY, X INTEGER);\n"
        "CREATE TABLE K2 (A INTEGER, B INTEGER, C INTEGER);\n"
        "ALTER TABLE K2 ADD CONSTRAINT PK_K2 PRIMARY KEY (A, B);\n");
  P->FinishParse();
  EXPECT_EQ(Errors(), std::vector<std::string>{});
  auto nullable = [this](const char* table, const char* column) {
    return Objs().FindTable(table)->FindField(column)->Nullable;
  };
  EXPECT_FALSE(nullable("K1", "ID"));
  EXPECT_FALSE(nullable("K1", "N"));
  EXPECT_TRUE(nullable("K1", "X"));
  EXPECT_FALSE(nullable("K2", "A"));
  EXPECT_FALSE(nullable("K2", "B"));
  EXPECT_TRUE(nullable("K2", "C"));
}

TEST_F(IbExParserTest, DomainBodiesAreParsedFromTheirStoredText) {
  Parse(Schema);
  Parse("CREATE DOMAIN D_REF AS INTEGER DEFAULT 0 CHECK (VALUE IS NULL OR VALUE IN (SELECT ID FROM T1));\n");
  TDmnData* d = Objs().FindDomain("D_REF");
  ASSERT_TRUE(d);
  P->ParseObjectBody(d);
  EXPECT_EQ(Errors(), std::vector<std::string>{});
  EXPECT_EQ(Uses(d), (std::set<std::string>{"T1", "T1.ID"}));
  P->ParseObjectBody(Objs().FindGenerator("G"));
  EXPECT_EQ(Errors(), std::vector<std::string>{"Body parsing for DB-Obj: (TGnrData) not implemented."});
}

// ---- Texts and terminators -------------------------------------------------------

TEST_F(IbExParserTest, BodyTextIsKeptAsWrittenAndTheScriptGoesOn) {
  // No SET TERM: the semicolons inside the bodies are no terminators, the
  // one after each body is; Firebird's ^= is an operator.
  Parse("CREATE TABLE T (ID INTEGER);\n"
        "CREATE PROCEDURE P (I INTEGER) AS\n"
        "BEGIN\n  IF (I ^= 0) THEN I = 1; -- a comment; with a semicolon\n  I = 2;\nEND;\n"
        "CREATE TRIGGER TR FOR T BEFORE INSERT AS BEGIN NEW.ID = 1; END;\n"
        "CREATE VIEW V AS SELECT ID FROM T;\n"
        "CREATE TABLE T9 (ID INTEGER);\n");
  EXPECT_EQ(Errors(), std::vector<std::string>{});
  ASSERT_TRUE(Objs().FindProcedure("P"));
  EXPECT_EQ(Objs().FindProcedure("P")->Body,
            "BEGIN\r\n  IF (I ^= 0) THEN I = 1; -- a comment; with a semicolon\r\n  I = 2;\r\nEND");
  ASSERT_TRUE(Objs().FindTrigger("TR"));
  EXPECT_EQ(Objs().FindTrigger("TR")->Body, "AS BEGIN NEW.ID = 1; END");
  ASSERT_TRUE(Objs().FindView("V"));
  EXPECT_EQ(Objs().FindView("V")->Body, "SELECT ID FROM T");
  EXPECT_TRUE(Objs().FindTable("T9"));
}

TEST_F(IbExParserTest, FirebirdThreePsqlAsIsqlWritesItParses) {
  Parse(Schema);
  Parse(R"(SET TERM ^ ;
CREATE OR ALTER PROCEDURE BIG (I INTEGER, S VARCHAR(20) = 'x')
RETURNS (O INTEGER, T TIMESTAMP)
AS
DECLARE VARIABLE V INTEGER = 0;
DECLARE VARIABLE W VARCHAR(10) CHARACTER SET UTF8 NOT NULL DEFAULT '';
DECLARE C SCROLL CURSOR FOR (SELECT ID, A FROM T1 WHERE A > :I ORDER BY ID DESC NULLS LAST);
DECLARE FUNCTION TWICE (X INTEGER) RETURNS INTEGER AS BEGIN RETURN X * 2; END
DECLARE PROCEDURE NOTE (M VARCHAR(50)) AS BEGIN IN AUTONOMOUS TRANSACTION DO INSERT INTO T2 (ID, C) VALUES (GEN_ID(G, 1), :M); END
BEGIN
  FOR SELECT FIRST 10 SKIP (:I) T1.ID, COALESCE(T2.C, 'none') FROM T1 LEFT OUTER JOIN T2 USING (ID)
      WHERE T1.B BETWEEN 1 AND 100 AND T2.C NOT LIKE 'a%' ESCAPE '\' AND T2.C CONTAINING 'b'
        AND T2.C STARTING WITH 'c' AND T2.C SIMILAR TO '[a-z]+' AND T1.A IS NOT DISTINCT FROM :V
      GROUP BY 1, 2 HAVING COUNT(*) > 0
      INTO :O, :W AS CURSOR CUR
  DO
  BEGIN
    V = TWICE(O) + NEXT VALUE FOR G + CHAR_LENGTH(W) + EXTRACT(YEAR FROM CURRENT_DATE);
    T = DATEADD(1 DAY TO CURRENT_TIMESTAMP);
    T = DATEADD(DAY, -1, T);
    O = DATEDIFF(SECOND FROM T TO CAST('NOW' AS TIMESTAMP));
    W = SUBSTRING(W FROM 1 FOR 3) || TRIM(LEADING 'x' FROM W) || LPAD(W, 5, '0') || OVERLAY(W PLACING 'y' FROM 2);
    O = POSITION('a' IN W) + MOD(O, 7) + RDB$GET_CONTEXT('SYSTEM', 'ENGINE_VERSION');
    O = (SELECT SUM(A) OVER (PARTITION BY ID ORDER BY A ROWS BETWEEN UNBOUNDED PRECEDING AND CURRENT ROW) FROM T1 ROWS 1);
    IF (ROW_COUNT = 0) THEN EXCEPTION E 'nothing: ' || O;
    ELSE IF (O IS NULL) THEN EXCEPTION E USING (O);
    ELSE UPDATE T1 SET B = B + 1 WHERE CURRENT OF CUR;
    WHILE (V > 0) DO BEGIN V = V - 1; IF (V = 5) THEN LEAVE; END
    EXECUTE PROCEDURE NOTE ('step');
    EXECUTE STATEMENT ('SELECT 1 FROM RDB$DATABASE WHERE 1 = :P') (P := 1) INTO :V;
    FOR EXECUTE STATEMENT 'SELECT 1 FROM RDB$DATABASE' ON EXTERNAL 'db' AS USER 'u' PASSWORD 'p' INTO :V DO V = 0;
    OPEN C; FETCH NEXT FROM C INTO :V, :O; CLOSE C;
    UPDATE OR INSERT INTO T2 (ID, C) VALUES (:O, :W) MATCHING (ID) RETURNING ID INTO :V;
    DELETE FROM T2 WHERE ID = :O RETURNING C INTO :W;
    MERGE INTO T1 USING (SELECT ID, A FROM T2) S ON T1.ID = S.ID
      WHEN MATCHED AND S.A > 0 THEN UPDATE SET A = S.A WHEN MATCHED THEN DELETE
      WHEN NOT MATCHED THEN INSERT (ID, A) VALUES (S.ID, S.A);
    POST_EVENT 'changed';
    SUSPEND;
  END
  WHEN SQLCODE -803, GDSCODE lock_conflict DO O = -1;
  WHEN ANY DO EXCEPTION;
END ^
CREATE TRIGGER TR_DB ACTIVE ON CONNECT POSITION 0 AS
DECLARE VARIABLE N INTEGER;
BEGIN
  N = CASE RDB$GET_CONTEXT('SYSTEM', 'CLIENT_PROCESS') WHEN 'x' THEN 1 ELSE 0 END;
  IF (NOT EXISTS (SELECT 1 FROM T1 WHERE ID = :N) AND N ~= 1 AND NOT (N !> 3)) THEN N = 2;
END ^
EXECUTE BLOCK (X INTEGER = 1) RETURNS (Y INTEGER) AS
BEGIN
  FOR SELECT A FROM T2 WHERE ID = :X INTO :Y DO SUSPEND;
END ^
SET TERM ; ^
)");
  EXPECT_EQ(Errors(), std::vector<std::string>{});
  ASSERT_TRUE(Objs().FindProcedure("BIG"));
  EXPECT_TRUE(Uses(Objs().FindProcedure("BIG")).count("T2.C"));
  EXPECT_EQ(Objs().FindProcedure("TWICE"), nullptr);
  ASSERT_TRUE(Objs().FindTrigger("TR_DB"));
  EXPECT_EQ(Uses(Objs().FindTrigger("TR_DB")), (std::set<std::string>{"T1", "T1.ID"}));
}

// ---- Errors ---------------------------------------------------------------------

TEST_F(IbExParserTest, ErrorsNameTheObjectAndParsingGoesOn) {
  struct TCase {
    const char* Script;
    const char* Error;
  } cases[] = {
      {"CREATE PROCEDURE P AS BEGIN NEW.X = 1; END;",
       "Procedure P: NEW./OLD. context variable is not into trigger body."},
      {"CREATE TRIGGER TR FOR T1 BEFORE INSERT AS BEGIN NEW.A = ; END;",
       "Trigger TR: Invalid factor in expression (<;>)"},
      {"CREATE VIEW V AS SELECT A FROM T1 WHERE;", "View V: Invalid factor in expression (<;>)"},
      {"CREATE PROCEDURE P AS BEGIN FOR UPDATE T1 SET A = 1 DO EXIT; END;",
       "Procedure P: Must be: SELECT / EXECUTE / WITH"},
      {"CREATE PROCEDURE P AS BEGIN IN TRANSACTION DO EXIT; END;",
       "Procedure P: AUTONOMOUS expected, but TRANSACTION found."},
      {"CREATE TABLE T4 (A INTEGER CHECK (A >));", "Check-constraint : Invalid factor in expression (<)>)"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Script);
    SetUp();
    Parse(Schema);
    // A failed body must not swallow what follows it.
    Parse(std::string(c.Script) + "\nCREATE TABLE AFTER_IT (ID INTEGER);\n");
    EXPECT_EQ(Errors(), std::vector<std::string>{c.Error});
    EXPECT_TRUE(Objs().FindTable("AFTER_IT"));
    ASSERT_FALSE(P->Messages->Items.empty());
    EXPECT_EQ(P->Messages->Items[0]->ScriptName, "test.sql");
    EXPECT_GT(P->Messages->Items[0]->Line, 0);
  }
}

std::string Repeat(const std::string& s, int n) {
  std::string r;
  r.reserve(s.size() * static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) r += s;
  return r;
}

// A procedure body nested n levels deep in one way.
using TNester = std::string (*)(int n);
const struct {
  const char* What;
  TNester Body;
} Nesters[] = {
    {"parentheses", [](int n) { return "BEGIN O = " + Repeat("(", n) + "1" + Repeat(")", n) + "; END"; }},
    {"blocks", [](int n) { return Repeat("BEGIN ", n) + "O = 1;" + Repeat(" END", n); }},
    {"IF statements", [](int n) { return "BEGIN " + Repeat("IF (O = 1) THEN ", n) + "O = 2; END"; }},
    {"subqueries",
     [](int n) { return "BEGIN O = " + Repeat("(SELECT ", n) + "1" + Repeat(" FROM T1)", n) + "; END"; }},
    {"derived tables",
     [](int n) { return "BEGIN SELECT 1 FROM " + Repeat("(SELECT 1 FROM ", n) + "T1" + Repeat(")", n) + " INTO :O; END"; }},
    {"CASE expressions",
     [](int n) { return "BEGIN O = " + Repeat("CASE WHEN O = 1 THEN ", n) + "1" + Repeat(" END", n) + "; END"; }},
    {"signs", [](int n) { return "BEGIN O = " + Repeat("- ", n) + "1; END"; }},
};

TEST_F(IbExParserTest, DeepNestingIsAnErrorNotACrash) {
  for (const auto& nester : Nesters) {
    SCOPED_TRACE(nester.What);
    for (int depth : {100, 100000}) {
      SetUp();
      Parse(Schema);
      Parse("SET TERM ^ ;\nCREATE PROCEDURE P RETURNS (O INTEGER) AS\n" + nester.Body(depth) +
            "^\nSET TERM ; ^\nCREATE TABLE AFTER_IT (ID INTEGER);\n");
      if (depth == 100) {
        EXPECT_EQ(Errors(), std::vector<std::string>{});
      } else {
        ASSERT_EQ(Errors(), std::vector<std::string>{"Procedure P: Nesting too deep"});
        EXPECT_EQ(P->Messages->Items[0]->Line, 3);
      }
      EXPECT_TRUE(Objs().FindTable("AFTER_IT"));
    }
  }
}

TEST_F(IbExParserTest, LongChainsAreNoNesting) {
  const int n = 20000;
  std::string elseIf = "BEGIN IF (O = 0) THEN O = 1;";
  for (int i = 1; i < n; ++i) elseIf += " ELSE IF (O = " + std::to_string(i) + ") THEN O = 1;";
  const std::string bodies[] = {
      elseIf + " END",
      "BEGIN FOR SELECT ID FROM T1" + Repeat(" UNION ALL SELECT ID FROM T2", n) + " INTO :O DO SUSPEND; END",
      "BEGIN SELECT 1 FROM T1 X0" + Repeat(" JOIN T2 ON 1 = 1", n) + " INTO :O; END",
      "BEGIN O = 1" + Repeat(" + 1 * 2 || 'x'", n) + "; END",
      "BEGIN IF (O = 1" + Repeat(" AND NOT O = 2 OR O = 3", n) + ") THEN O = 1; END",
      "BEGIN" + Repeat(" O = 1;", n) + " END",
  };
  for (const std::string& body : bodies) {
    SetUp();
    Parse(Schema);
    Parse("SET TERM ^ ;\nCREATE PROCEDURE P RETURNS (O INTEGER) AS\n" + body + "^\nSET TERM ; ^\n");
    EXPECT_EQ(Errors(), std::vector<std::string>{}) << body.substr(0, 80);
  }
}

// The extractor reads with this parser, also the files INPUT names, and its
// closing pass links what those files' table expressions use.
TEST(IbExParserExtract, TheFirebirdExtractorParsesBodiesOfEveryFile) {
  const fs::path dir = fs::temp_directory_path() / ("orvalis_ibex_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  std::ofstream(dir / "part.sql") << "CREATE TABLE T (A INTEGER, B COMPUTED BY (A * 2));\n";
  std::ofstream(dir / "main.sql") << "INPUT 'part.sql';\n"
                                     "SET TERM ^ ;\n"
                                     "CREATE PROCEDURE P RETURNS (R INTEGER) AS BEGIN SELECT B FROM T INTO :R; END^\n"
                                     "SET TERM ; ^\n";
  TDBStructure db;
  db.Objs->IBServerOptions->SQLServerVersion = st_Firebird_30;
  TIBScriptExtract extract;
  extract.SetDBStructure(&db);
  EXPECT_NE(dynamic_cast<TIbExParser*>(extract.GetParser()), nullptr);
  extract.ScriptFiles = {(dir / "main.sql").string()};
  EXPECT_TRUE(extract.Extract());
  TTblData* t = db.Objs->FindTable("T");
  ASSERT_TRUE(t);
  EXPECT_TRUE(IbExParserTest::UsesOf(t->FindField("B")).count("T.A"));
  EXPECT_TRUE(IbExParserTest::UsesOf(db.Objs->FindProcedure("P")).count("T.B"));
  extract.SetDBStructure(nullptr);
  std::error_code ec;
  fs::remove_all(dir, ec);
}

}  // namespace
