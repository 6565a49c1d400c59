#include "RunnableScript.h"

#include <gtest/gtest.h>

#include <string>

#include "script/kvtSQL_Exec.h"

namespace {

struct TBodyCase {
  const char* Name;
  TStatementKind Kind;
  TDbObject ObjType;
  uint8_t Action;
  const char* Sql;
  bool HoldsBody;
};

TEST(RunnableScript, WhichStatementsHoldABody) {
  const TBodyCase cases[] = {
      {"procedure", skProcedure, dboProcedure, saCreate, "CREATE PROCEDURE P AS BEGIN END", true},
      {"procedure stub", skProcedure, dboProcedure, saCreateEmpty,
       "CREATE PROCEDURE P AS BEGIN EXIT; END", true},
      {"restored body", skProcedure, dboProcedure, saRestoreBody, "ALTER PROCEDURE P AS BEGIN END",
       true},
      {"trigger emptied", skTrigger, dboTrigger, saEmptyBody, "ALTER TRIGGER T AS BEGIN END", true},
      {"package body", skPackage, dboPackageBody, saCreate, "CREATE PACKAGE BODY K AS BEGIN END",
       true},
      {"execute block kind", skExecuteBlock, dboUnknown, saNone, "EXECUTE BLOCK AS BEGIN END", true},
      {"package header statement", skStatement, dboPackage, saCreate,
       "CREATE PACKAGE K AS BEGIN PROCEDURE P; END", true},
      {"execute block as statement", skStatement, dboUnknown, saNone,
       "  execute\r\n  block AS BEGIN END", true},
      {"execute procedure", skStatement, dboUnknown, saNone, "EXECUTE PROCEDURE P", false},
      {"word that starts like BLOCK", skStatement, dboUnknown, saNone, "EXECUTE BLOCKS", false},
      {"package dropped", skStatement, dboPackage, saDrop, "DROP PACKAGE K", false},
      {"procedure dropped", skStatement, dboProcedure, saDrop, "DROP PROCEDURE P", false},
      {"table", skStatement, dboTable, saCreate, "CREATE TABLE T (A INTEGER)", false},
      {"view", skStatement, dboView, saCreate, "CREATE VIEW V AS SELECT 1 FROM T", false},
      {"description", skDescription, dboProcedure, saDescription, "COMMENT ON PROCEDURE P IS 'x'",
       false},
      {"comment naming a block", skComment, dboUnknown, saComment, "/* EXECUTE BLOCK */", false},
  };
  for (const TBodyCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TCustomSQLExec exec;
    TStatement* st = exec.AddStatement(c.Sql, c.Kind, "X", c.ObjType, c.Action);
    ASSERT_NE(st, nullptr);
    EXPECT_EQ(StatementHoldsBody(*st), c.HoldsBody);
  }
}

// A small update script with a body statement between plain ones.
void FillScript(TCustomSQLExec& exec, const std::string& header, const std::string& procedure) {
  exec.AddStatement(header, skSetNames);
  exec.AddComment("/* Create Procedure... */");
  exec.AddStatement("CREATE TABLE T (A INTEGER)", skStatement, "T", dboTable, saCreate);
  exec.AddStatement(procedure + "\r\n\r\n", skProcedure, "P", dboProcedure, saCreateEmpty);
  exec.AddStatement("CREATE VIEW V AS SELECT A FROM T", skStatement, "V", dboView, saCreate);
}

TEST(RunnableScript, FirebirdWrapsBodiesInSetTerm) {
  TCustomSQLExec exec;
  FillScript(exec, "SET NAMES UTF8", "CREATE PROCEDURE P\r\nAS\r\nBEGIN\r\n  EXIT;\r\nEND");
  exec.AddStatement("EXECUTE BLOCK AS BEGIN END", skExecuteBlock);
  const std::string expected =
      "SET NAMES UTF8;\n"
      "\n"
      "/* Create Procedure... */\n"
      "CREATE TABLE T (A INTEGER);\n"
      "\n"
      "SET TERM ^ ;\n"
      "CREATE PROCEDURE P\n"
      "AS\n"
      "BEGIN\n"
      "  EXIT;\n"
      "END^\n"
      "SET TERM ; ^\n"
      "\n"
      "CREATE VIEW V AS SELECT A FROM T\n"
      ";\n"
      "\n"
      "SET TERM ^ ;\n"
      "EXECUTE BLOCK AS BEGIN END^\n"
      "SET TERM ; ^\n";
  EXPECT_EQ(RenderRunnableScriptText(exec, srvInterBase, false), expected);

  std::string crlf;
  for (char c : expected) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  EXPECT_EQ(RenderRunnableScriptText(exec, srvInterBase, true), crlf);
}

TEST(RunnableScript, MySQLWrapsBodiesInDelimiter) {
  TCustomSQLExec exec;
  FillScript(exec, "SET NAMES utf8mb4", "CREATE PROCEDURE P()\r\nBEGIN\r\n  SELECT 1;\r\nEND");
  exec.AddStatement("CREATE TRIGGER TR BEFORE INSERT ON T FOR EACH ROW SET NEW.A = 1",
                    skTrigger, "TR", dboTrigger, saCreate);
  const std::string expected =
      "SET NAMES utf8mb4;\n"
      "\n"
      "/* Create Procedure... */\n"
      "CREATE TABLE T (A INTEGER);\n"
      "\n"
      "DELIMITER $$\n"
      "CREATE PROCEDURE P()\n"
      "BEGIN\n"
      "  SELECT 1;\n"
      "END$$\n"
      "DELIMITER ;\n"
      "\n"
      "CREATE VIEW V AS SELECT A FROM T\n"
      ";\n"
      "\n"
      "DELIMITER $$\n"
      "CREATE TRIGGER TR BEFORE INSERT ON T FOR EACH ROW SET NEW.A = 1$$\n"
      "DELIMITER ;\n"
      "\n";
  EXPECT_EQ(RenderRunnableScriptText(exec, srvMySQL, false), expected);
}

TEST(RunnableScript, TerminatorThatTheBodyHoldsIsLengthened) {
  EXPECT_EQ(ChooseTerminator("BEGIN END", "^"), "^");
  EXPECT_EQ(ChooseTerminator("IF (A ^= 1) THEN EXIT;", "^"), "^^");
  EXPECT_EQ(ChooseTerminator("SELECT '^^' || '^'", "^"), "^^^");
  EXPECT_EQ(ChooseTerminator("SELECT '$$'", "$$"), "$$$");

  TCustomSQLExec exec;
  exec.AddStatement("CREATE PROCEDURE P AS BEGIN IF (1 ^= 2) THEN EXIT; END", skProcedure, "P",
                    dboProcedure, saCreate);
  EXPECT_EQ(RenderRunnableScriptText(exec, srvInterBase, false),
            "SET TERM ^^ ;\n"
            "CREATE PROCEDURE P AS BEGIN IF (1 ^= 2) THEN EXIT; END^^\n"
            "SET TERM ; ^^\n"
            "\n");
}

TEST(RunnableScript, ScriptWithoutBodiesIsThePlainScript) {
  TCustomSQLExec exec;
  exec.AddStatement("SET SQL DIALECT 3", skSqlDialect, "3");
  exec.AddComment("/* Create table... */");
  exec.AddStatement("CREATE TABLE T (A INTEGER)", skStatement, "T", dboTable, saCreate);
  exec.AddStatement("DROP PROCEDURE P", skStatement, "P", dboProcedure, saDrop);
  exec.AddComment("\r\n");
  TStringList lines;
  exec.RenderScript(lines, false);
  std::string plain;
  for (const std::string& line : lines) plain += line + "\n";
  EXPECT_EQ(RenderRunnableScriptText(exec, srvInterBase, false), plain);
  EXPECT_EQ(RenderRunnableScriptText(exec, srvMySQL, false), plain);

  TCustomSQLExec empty;
  EXPECT_EQ(RenderRunnableScriptText(empty, srvInterBase, false), "");
}

}  // namespace
