// The compare form of DDL texts: what the server reads, without layout and
// comments, literals kept exactly.
#include "kinds/kvtSqlText.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct TSameCase {
  const char* Label;
  TServerType Server;
  const char* A;
  const char* B;
  bool Same;
};

TEST(SqlText, SameUnlessTheServerReadsItDifferently) {
  const std::vector<TSameCase> cases = {
      {"line breaks and indentation", srvInterBase, "BEGIN\r\n  X = 1;\r\nEND", "BEGIN X = 1; END", true},
      {"blanks around punctuation", srvInterBase, "X = A+B*(C-1);", "X=A + B * ( C - 1 ) ;", true},
      {"words stay apart", srvInterBase, "SELECT A FROM T", "SELECTA FROM T", false},
      {"line and block comments", srvInterBase, "X = 1; -- one\r\n/* two */ Y = 2;", "X = 1; Y = 2;", true},
      {"a comment separates words", srvInterBase, "SELECT/**/A", "SELECT A", true},
      {"blanks inside a literal", srvInterBase, "X = 'a  b';", "X = 'a b';", false},
      {"comment marker inside a literal", srvInterBase, "X = '--';", "X = '';", false},
      {"doubled quote inside a literal", srvInterBase, "X = 'it''s -- x';", "X = 'it''s';", false},
      {"quoted identifier", srvInterBase, "SELECT \"a  b\" FROM T", "SELECT \"a b\" FROM T", false},
      {"letter case", srvInterBase, "begin end", "BEGIN END", false},
      {"mysql hash comment", srvMySQL, "SET a = 1; # note", "SET a = 1;", true},
      {"mysql double dash without blank is an operator", srvMySQL, "SET a = 1--1;", "SET a = 1;", false},
      {"mysql executable comment counts", srvMySQL, "/*!50001 SELECT 1 */", "", false},
      {"mysql backslash escape in a literal", srvMySQL, "SET a = 'x\\' -- y';", "SET a = 'x\\'';", false},
      {"ms sql nested comment", srvMSSQL, "SELECT 1 /* a /* b */ c */", "SELECT 1", true},
      {"ms sql bracketed name", srvMSSQL, "SELECT [a  b]", "SELECT [a b]", false},
      {"oracle hint counts", srvOracle, "SELECT /*+ FULL(t) */ 1 FROM T", "SELECT 1 FROM T", false},
  };
  for (const TSameCase& c : cases)
    EXPECT_EQ(SameSqlText(c.A, c.B, c.Server), c.Same) << c.Label;
}

TEST(SqlText, UnterminatedPartsRunToTheEnd) {
  EXPECT_EQ(SqlCompareForm("X = 'open", srvInterBase), "X='open");
  EXPECT_EQ(SqlCompareForm("X /* open", srvInterBase), "X");
  EXPECT_EQ(SqlCompareForm("", srvInterBase), "");
}

}  // namespace
