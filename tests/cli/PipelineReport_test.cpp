#include "PipelineReport.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "JsonReader.h"
#include "ScriptOutput.h"
#include "script/kvtSQL_Exec.h"

namespace {

// A statement list as a comparison leaves it: column AMOUNT of ORDERS goes,
// the view over it is dropped for it and created again, a procedure is
// emptied for it and restored, a table is created and another dropped.
void FillScript(TCustomSQLExec& exec) {
  exec.AddStatement("SET NAMES UTF8", skSetNames);
  exec.AddComment("/* Drop table-fields... */");
  {
    TStatement* v = exec.AddStatement("DROP VIEW V_ORDERS", skStatement, "V_ORDERS", dboView, saDrop);
    v->CauseName = "AMOUNT";
    v->CauseParent = "ORDERS";
    v->CauseKind = dboField;
    TStatement* p = exec.AddStatement("ALTER PROCEDURE P AS\r\nBEGIN EXIT; END", skProcedure, "P",
                                      dboProcedure, saEmptyBody);
    p->CauseName = "AMOUNT";
    p->CauseParent = "ORDERS";
    p->CauseKind = dboField;
  }
  exec.AddStatement("ALTER TABLE ORDERS DROP AMOUNT", skStatement, "AMOUNT", dboField, saDrop,
                    "ORDERS");
  exec.AddStatement("CREATE TABLE \"Notes\" (A INTEGER)", skStatement, "\"Notes\"", dboTable,
                    saCreate);
  exec.AddStatement("DROP TABLE OLD_T", skStatement, "OLD_T", dboTable, saDrop);
  exec.AddStatement("CREATE VIEW V_ORDERS AS\r\nSELECT ID FROM ORDERS", skStatement, "V_ORDERS",
                    dboView, saCreate);
  exec.AddStatement("ALTER PROCEDURE P AS\r\nBEGIN SUSPEND; END", skProcedure, "P", dboProcedure,
                    saRestoreBody);
}

TEST(PipelineReport, SummaryNamesEachObjectOnceWithWhatForcedIt) {
  TCustomSQLExec exec;
  FillScript(exec);
  const std::vector<TChangeEntry> changes = SummarizeChanges(exec);
  EXPECT_EQ(FormatSummaryText(changes, false),
            "view V_ORDERS recreated: column ORDERS.AMOUNT dropped\n"
            "procedure P altered: column ORDERS.AMOUNT dropped\n"
            "column ORDERS.AMOUNT dropped\n"
            "table Notes created\n"
            "table OLD_T dropped\n");
  ASSERT_EQ(changes.size(), 5u);
  EXPECT_EQ(changes[0].Statements, (std::vector<size_t>{2, 7}));
  EXPECT_EQ(changes[0].Action, "recreate");
}

TEST(PipelineReport, JsonSummaryParsesAndCarriesTheStatements) {
  TCustomSQLExec exec;
  FillScript(exec);
  exec.AddStatement("COMMENT ON TABLE T IS 'a \"quoted\"\ttab'", skDescription, "T", dboTable,
                    saDescription);
  const std::string json = FormatSummaryJson(SummarizeChanges(exec), exec, false);
  TJsonReader reader(json);
  ASSERT_TRUE(reader.Document()) << json;
  const std::vector<std::string>& s = reader.Strings;
  // action, kind, name, reason, then the statements of each entry.
  ASSERT_GE(s.size(), 6u);
  EXPECT_EQ(s[0], "recreate");
  EXPECT_EQ(s[1], "view");
  EXPECT_EQ(s[2], "V_ORDERS");
  EXPECT_EQ(s[3], "column ORDERS.AMOUNT dropped");
  EXPECT_EQ(s[4], "DROP VIEW V_ORDERS");
  EXPECT_EQ(s[5], "CREATE VIEW V_ORDERS AS\nSELECT ID FROM ORDERS");
  EXPECT_EQ(s.back(), "COMMENT ON TABLE T IS 'a \"quoted\"\ttab'");
  // The same list gives the same document.
  EXPECT_EQ(FormatSummaryJson(SummarizeChanges(exec), exec, false), json);

  TCustomSQLExec empty;
  EXPECT_EQ(FormatSummaryJson(SummarizeChanges(empty), empty, false), "[]\n");
}

TEST(PipelineReport, SafeCommentsOutWhatDestroysData) {
  TCustomSQLExec exec;
  FillScript(exec);
  TStatement* risky = exec.AddStatement("ALTER TABLE T ALTER COLUMN N TYPE VARCHAR(5)", skStatement,
                                        "N", dboField, saAlter, "T");
  risky->DataRisk = "VARCHAR(20) to VARCHAR(5) can truncate existing values";
  TScriptOutputOptions options;
  options.Safe = true;
  const TScriptOutput out = RenderScriptOutput(exec, options);
  EXPECT_EQ(out.CommentedOut, 3);
  EXPECT_NE(out.Text.find("-- orvalis --safe: not run, it drops column ORDERS.AMOUNT and its data\n"
                          "-- ALTER TABLE ORDERS DROP AMOUNT;\n"),
            std::string::npos)
      << out.Text;
  EXPECT_NE(out.Text.find("-- orvalis --safe: not run, it drops table OLD_T and its rows\n"
                          "-- DROP TABLE OLD_T;\n"),
            std::string::npos);
  EXPECT_NE(out.Text.find("-- orvalis --safe: not run, VARCHAR(20) to VARCHAR(5) can truncate"),
            std::string::npos);
  // What keeps data runs as before: the view is still dropped and created.
  EXPECT_NE(out.Text.find("\nDROP VIEW V_ORDERS\n;\n"), std::string::npos);

  TCustomSQLExec harmless;
  harmless.AddStatement("CREATE TABLE T (A INTEGER)", skStatement, "T", dboTable, saCreate);
  EXPECT_EQ(RenderScriptOutput(harmless, options).CommentedOut, 0);
}

TEST(PipelineReport, ExplainNamesTheDependencyThatForcedEachChange) {
  TCustomSQLExec exec;
  FillScript(exec);
  TScriptOutputOptions options;
  options.Explain = true;
  const std::string text = RenderScriptOutput(exec, options).Text;
  EXPECT_NE(text.find("/* Dropped view V_ORDERS for column ORDERS.AMOUNT */\nDROP VIEW V_ORDERS\n;"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("/* Emptied procedure P for column ORDERS.AMOUNT */\nALTER PROCEDURE P AS"),
            std::string::npos);
  EXPECT_NE(text.find("/* Created again view V_ORDERS: column ORDERS.AMOUNT dropped */\n"
                      "CREATE VIEW V_ORDERS AS"),
            std::string::npos);
  // An object's own change gets no comment.
  const size_t own = text.find("ALTER TABLE ORDERS DROP AMOUNT;");
  ASSERT_NE(own, std::string::npos);
  const size_t lineBefore = text.rfind('\n', own - 2) + 1;
  EXPECT_NE(text.compare(lineBefore, 2, "/*"), 0) << text;
  EXPECT_EQ(text.find("table OLD_T */"), std::string::npos);

  options.Dialect = srvASA;
  EXPECT_NE(RenderScriptOutput(exec, options).Text.find("% Dropped view V_ORDERS for column"),
            std::string::npos);
}

}  // namespace
