#include "script/kvtSQL_Exec.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/kvtDBOptions.h"
#include "core/kvtDBStructure.h"
#include "kinds/kvtCompColumn.h"
#include "kinds/kvtComp_Tbl.h"

namespace {

struct RenderCase {
  const char* label;
  std::string sql;
  TStatementKind kind;
  TDbObject objType;
  uint8_t action;
  TStringList expected;
  std::string terminator = {};  // the statement's own terminator; empty: the default
};

TStringList Render(const RenderCase& c) {
  TSQLExec exec;
  exec.AddStatement(c.sql, c.kind, "X", c.objType, c.action, "", c.terminator);
  TStringList lines;
  exec.RenderScript(lines, false);
  return lines;
}

TEST(SQLExec, RenderRules) {
  const std::vector<RenderCase> cases = {
      {"one-line statement", "DROP TABLE T", skStatement, dboTable, saDrop, {"DROP TABLE T;", ""}},
      {"multi-line statement trimmed", "  CREATE TABLE T (\r\n  A INTEGER)\r\n\r\n", skStatement,
       dboTable, saCreate, {"CREATE TABLE T (", "  A INTEGER);", ""}},
      {"view", "CREATE VIEW V AS\nSELECT 1 FROM T", skStatement, dboView, saCreate,
       {"CREATE VIEW V AS", "SELECT 1 FROM T", ";", ""}},
      {"comment", "/* Create index... */", skComment, dboUnknown, saComment,
       {"/* Create index... */"}},
      {"blank comment", "\r\n", skComment, dboUnknown, saComment, {""}},
      {"empty comment", "", skComment, dboUnknown, saComment, {""}},
      {"procedure with trailing blank lines", "A\r\nB\r\nC\r\nD\r\nE\r\n\r\n  \r\n", skProcedure,
       dboProcedure, saCreate, {"A", "B", "C", "D", "E;", ""}},
      {"trigger", "CREATE TRIGGER X\rAS BEGIN END", skTrigger, dboTrigger, saCreate,
       {"CREATE TRIGGER X", "AS BEGIN END;", ""}},
      {"description", "COMMENT ON TABLE T IS 'x'", skDescription, dboTable, saDescription,
       {"COMMENT ON TABLE T IS 'x';", ""}},
      {"package create", "CREATE PACKAGE K AS END", skStatement, dboPackage, saCreate,
       {"CREATE PACKAGE K AS END;", ""}},
      {"insert", "INSERT INTO T VALUES (1)", skInsert, dboUnknown, saInsert,
       {"INSERT INTO T VALUES (1);", ""}},
      {"commit has no terminator", "COMMIT WORK", skCommit, dboUnknown, saCommit, {"COMMIT WORK"}},
      {"connect", "CONNECT 'db'", skConnect, dboUnknown, saNone, {"CONNECT 'db';", ""}},
      {"select alone", "SELECT 1 FROM T", skSelect, dboUnknown, saNone, {"SELECT 1 FROM T"}},
      {"execute block alone", "EXECUTE BLOCK AS BEGIN END", skExecuteBlock, dboUnknown, saNone,
       {"EXECUTE BLOCK AS BEGIN END"}},
      {"delete", "DELETE FROM T", skDelete, dboUnknown, saDelete, {"DELETE FROM T;", ""}},
      // Rules that end in ";" whatever the statement's own terminator says.
      {"package create ignores the terminator", "CREATE PACKAGE K AS END", skStatement, dboPackage,
       saCreate, {"CREATE PACKAGE K AS END;", ""}, "^\r\n"},
      {"package alter uses the terminator", "ALTER PACKAGE K AS END", skStatement, dboPackage,
       saAlter, {"ALTER PACKAGE K AS END^", ""}, "^\r\n"},
      {"view ignores the terminator", "CREATE VIEW V AS SELECT 1", skStatement, dboView, saCreate,
       {"CREATE VIEW V AS SELECT 1", ";", ""}, "^\r\n"},
      {"view rule applies to a comment", "/* V */", skComment, dboView, saComment,
       {"/* V */", ";", ""}},
      {"description before the view rule", "COMMENT ON VIEW V IS 'x'", skDescription, dboView,
       saDescription, {"COMMENT ON VIEW V IS 'x';", ""}},
      {"procedure before the view rule", "X", skProcedure, dboView, saCreate, {"X;", ""}},
      {"set uses the terminator", "SET SQL DIALECT 3", skSqlDialect, dboUnknown, saNone,
       {"SET SQL DIALECT 3^", ""}, "^\r\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(Render(c), c.expected) << c.label;
}

TEST(SQLExec, AddStatementKeepsWhatItIsGiven) {
  TSQLExec exec;
  EXPECT_EQ(exec.AddStatement("", skStatement, "T", dboTable, saDrop), nullptr);
  EXPECT_EQ(exec.Count(), 0);

  TStatement* st = exec.AddStatement("ALTER TABLE T\r\nDROP C\nX\rY", skStatement, "C", dboField,
                                     saDrop, "T");
  ASSERT_NE(st, nullptr);
  EXPECT_EQ(st->Lines, (TStringList{"ALTER TABLE T", "DROP C", "X", "Y"}));
  EXPECT_EQ(st->LineCount, 4);
  EXPECT_EQ(st->Terminator, ";\r\n");
  EXPECT_EQ(st->ParentName, "T");
  EXPECT_EQ(st->Owner, &exec);

  TStatement* own = exec.AddStatement("SET X", skSet, "", dboUnknown, saNone, "", "^\r\n");
  EXPECT_EQ(own->Terminator, "^\r\n");
  TStatement* blank = exec.AddComment("");  // an empty comment holds no line
  ASSERT_NE(blank, nullptr);
  EXPECT_TRUE(blank->Lines.empty());
  EXPECT_EQ(blank->LineCount, 0);
  exec.DeleteStatement(2);
  TStatement* comment = exec.AddComment("/* x */");
  EXPECT_EQ(comment->Terminator, "");
  EXPECT_EQ(comment->ObjName, "/*  */");
  EXPECT_EQ(comment->Action, saComment);
  EXPECT_EQ(exec.GetStatement(2), comment);
  EXPECT_EQ(exec.GetStatement(3), nullptr);

  TStringList lines;
  exec.RenderScript(lines, false);
  EXPECT_EQ(lines, (TStringList{"ALTER TABLE T", "DROP C", "X", "Y;", "", "SET X^", "", "/* x */"}));

  exec.AddReconnect();
  EXPECT_EQ(exec.Count(), 3);
  exec.Clear();
  EXPECT_EQ(exec.Count(), 0);
  lines.clear();
  exec.RenderScript(lines, true);
  EXPECT_TRUE(lines.empty());
}

TEST(SQLExec, RenderAppendsAndRecordsPositions) {
  TSQLExec exec;
  exec.AddComment("/* a */");
  exec.AddStatement("DROP TABLE T", skStatement, "T", dboTable, saDrop);
  exec.AddStatement("CREATE VIEW V AS SELECT 1", skStatement, "V", dboView, saCreate);
  exec.AddComment("/* b */");
  TStringList lines{"header 1", "header 2"};
  exec.RenderScript(lines, true);
  EXPECT_EQ(exec.GetStatement(0)->FirstLine, 2);
  EXPECT_EQ(exec.GetStatement(1)->FirstLine, 3);
  EXPECT_EQ(exec.GetStatement(2)->FirstLine, 5);
  EXPECT_EQ(exec.GetStatement(3)->FirstLine, 8);
  EXPECT_EQ(lines.size(), 9u);
  EXPECT_EQ(lines[7], "");
  EXPECT_EQ(lines[8], "/* b */");

  exec.GetStatement(0)->FirstLine = -5;
  TStringList again;
  exec.RenderScript(again, false);  // positions only move when asked for
  EXPECT_EQ(exec.GetStatement(0)->FirstLine, -5);
}

TEST(SQLExec, AddDescriptionCarriesTheOwnerAndText) {
  TObjs objs;
  objs.SetServerType(srvInterBase);
  TSQLExec exec;
  objs.SQLExec = &exec;
  auto t = std::make_unique<TTblData>(&objs);
  t->Name = "T";
  TFldData* c = t->AddField(std::make_unique<TFldData>(&objs, t.get()));
  c->Name = "C";
  c->TableName = "T";

  c->SetDescription("note");
  TStatement* st = exec.AddDescription(c);
  ASSERT_NE(st, nullptr);
  EXPECT_EQ(st->Kind, skDescription);
  EXPECT_EQ(st->Action, saDescription);
  EXPECT_EQ(st->ObjName, "C");
  EXPECT_EQ(st->ObjType, dboField);
  EXPECT_EQ(st->ParentName, "T");
  EXPECT_EQ(st->Description, "note");

  objs.CompareObjects.Exclude(coDescription);  // no statement text: nothing appended
  EXPECT_EQ(exec.AddDescription(c), nullptr);
  EXPECT_EQ(exec.Count(), 1);
  EXPECT_EQ(exec.AddDescription(nullptr), nullptr);
}

TEST(SQLExec, ClearResetsTheOptionObjects) {
  TSQLExec exec;
  exec.IBOptions->SQLDialect = 1;
  exec.MSSQLOptions->SQLServerVersion = st_MSSQL2019;
  exec.AddComment("/* x */");
  exec.SetCurrentSchema("S");
  EXPECT_EQ(exec.CurrentSchema, "S");
  exec.Clear();
  EXPECT_EQ(exec.Count(), 0);
  EXPECT_EQ(exec.IBOptions->SQLDialect, 3);
  EXPECT_EQ(exec.MSSQLOptions->SQLServerVersion, st_MSSQL2000);
}

TEST(SQLExec, ReportsGoToTheHandlersAndErrorsAreKept) {
  TSQLExec exec;
  std::vector<std::string> seen;
  exec.OnLogNextLine = [&](void*, const std::string& t) { seen.push_back("log " + t); };
  exec.OnErrorMessage = [&](void*, const std::string& t) { seen.push_back("error " + t); };
  exec.OnProgressUpdate = [&](void*, int v, int m) {
    seen.push_back("progress " + std::to_string(v) + "/" + std::to_string(m));
  };
  exec.DoLogLine("a");
  exec.DoProgress(1, 2);
  exec.DoError("b");
  EXPECT_EQ(seen, (std::vector<std::string>{"log a", "progress 1/2", "error b"}));
  EXPECT_TRUE(exec.Messages.HasErrors());
  EXPECT_EQ(exec.Messages.GetErrorText(), "b");
}

}  // namespace
