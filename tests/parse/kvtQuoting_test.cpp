// Keyword tables of the dialect parsers and the name quoting of each dialect.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "parse/kvtASAParser.h"
#include "parse/kvtIBParser.h"
#include "parse/kvtMSSQLParser.h"
#include "parse/kvtMySQLParser.h"
#include "parse/kvtOracleParser.h"

namespace {

struct TTableFacts {
  size_t Rows = 0;
  std::set<std::string> Repeated;  // words with more than one row
  std::set<TTokenKind> Kinds;
  bool KindsInRange = true;
};

template <class Row>
TTableFacts Facts(const Row* rows, size_t count) {
  TTableFacts f;
  f.Rows = count;
  for (size_t i = 0; i < count; ++i) {
    if (i > 0 && KeywordCompare(rows[i - 1].Word, rows[i].Word) == 0) f.Repeated.insert(std::string(rows[i].Word));
    f.Kinds.insert(rows[i].Kind);
    if (rows[i].Kind < tkFirstKeyword) f.KindsInRange = false;
  }
  return f;
}

template <class Row>
TTableFacts Facts(const Row* (*accessor)(size_t&)) {
  size_t count = 0;
  const Row* rows = accessor(count);
  return Facts(rows, count);
}

}  // namespace

// Row counts, intended repeats and the number of distinct kinds catch words
// lost, added or mistyped in transcription and synonyms that do not share a
// kind. (The sort order of every table is checked when it is compiled.)
TEST(KeywordTables, RowsRepeatsAndKinds) {
  struct Case {
    const char* Dialect;
    TTableFacts Facts;
    size_t Rows;
    std::set<std::string> Repeated;
    size_t Kinds;
  };
  const Case cases[] = {
      {"InterBase", Facts(IbKeywordRows), 198, {"CURSOR", "GLOBAL", "PAGE_SIZE", "RELEASE"}, 189},
      {"MySQL", Facts(MySQLKeywordRows), 75, {}, 71},
      {"Oracle", Facts(OracleKeywordRows), 112, {}, 112},
      // 173 words (TO listed twice) and 19 display-name rows of scanner kinds.
      {"MSSQL", Facts(MSSQLKeywordRows), 193, {"TO"}, 189},
      {"ASA", Facts(ASAKeywordRows), 125, {}, 118},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Dialect);
    EXPECT_EQ(c.Facts.Rows, c.Rows);
    EXPECT_EQ(c.Facts.Repeated, c.Repeated);
    EXPECT_EQ(c.Facts.Kinds.size(), c.Kinds);
    EXPECT_TRUE(c.Facts.KindsInRange);
  }

  size_t n = 0;
  MySQLReservedWords(n);
  EXPECT_EQ(n, 215u);
  MSSQLQuoteWords(n);
  EXPECT_EQ(n, 174u);
  ASAReservedWords(n);
  EXPECT_EQ(n, 105u);
}

TEST(KeywordTables, SynonymsShareAKindAndOthersDoNot) {
  const TIBSQLServerVersionType fb25 = st_Firebird_25;
  EXPECT_EQ(IsIbKeyword("ASC", fb25), IsIbKeyword("ascending", fb25));
  EXPECT_EQ(IsIbKeyword("CHAR", fb25), IsIbKeyword("CHARACTER", fb25));
  EXPECT_EQ(IsIbKeyword("INT", fb25), ibINTEGER);
  EXPECT_NE(IsIbKeyword("DESC", fb25), IsIbKeyword("DESCRIBE", fb25));

  EXPECT_EQ(IsMySQLKeyword("bool"), IsMySQLKeyword("TINYINT"));
  EXPECT_EQ(IsMySQLKeyword("bool"), myTINYINT);
  EXPECT_NE(IsMySQLKeyword("BIGINT"), IsMySQLKeyword("TINYINT"));
  EXPECT_EQ(IsMySQLKeyword("_<charset>"), myCharsetIntroducer);
  EXPECT_EQ(IsMySQLKeyword("VIEW"), tkIdent);

  // Oracle kinds are numbered in list order from the first keyword kind.
  EXPECT_EQ(IsOracleKeyword("ACCESS"), 30);
  EXPECT_EQ(IsOracleKeyword("START"), 114);
  EXPECT_EQ(IsOracleKeyword("SELECT"), 115);
  EXPECT_EQ(IsOracleKeyword("with"), 141);
  EXPECT_EQ(IsOracleKeyword("PROCEDURE"), tkIdent);

  EXPECT_EQ(IsMSSQLKeyword("exec"), IsMSSQLKeyword("EXECUTE"));
  EXPECT_EQ(IsMSSQLKeyword("PROC"), msPROCEDURE);
  EXPECT_EQ(IsMSSQLKeyword("TRAN"), IsMSSQLKeyword("TRANSACTION"));
  EXPECT_EQ(IsMSSQLKeyword("<Label:>"), msLabel);
  EXPECT_EQ(IsMSSQLKeyword("\"!<\""), msNotLess);
  EXPECT_EQ(IsMSSQLKeyword("DUMMY"), tkIdent);

  EXPECT_EQ(IsASAKeyword("unique"), IsASAKeyword("UNIQUEIDENTIFIER"));
  EXPECT_EQ(IsASAKeyword("Proc"), asaPROCEDURE);
  EXPECT_NE(IsASAKeyword("PUBLICATION"), IsASAKeyword("PROC"));
  EXPECT_EQ(IsASAKeyword("FUNCTION"), tkIdent);
}

TEST(IbKeywords, ReservedPerServerVersion) {
  struct Case {
    const char* Word;
    TIBSQLServerVersionType Version;
    bool Keyword;
  };
  const Case cases[] = {
      {"select", st_InterBase_4x, true},
      {"DOMAIN", st_Firebird_25, true},
      {"DOMAIN", st_Firebird_30, false},
      {"DOMAIN", st_Firebird_40, false},
      {"ACTION", st_InterBase_4x, false},
      {"ACTION", st_InterBase_5x, true},
      {"ACTION", st_Firebird_21, false},
      {"ADMIN", st_InterBase_4x, false},
      {"ADMIN", st_InterBase_6x, true},
      {"BINARY", st_Yaffil_1x, true},
      {"BINARY", st_Firebird_40, true},
      {"BINARY", st_Firebird_30, false},
      {"BOOLEAN", st_InterBase_75, true},
      {"BOOLEAN", st_Firebird_30, false},
      {"CASE", st_FireBird_1x, false},
      {"CASE", st_FireBird_15, true},
      {"GLOBAL", st_Firebird_25, false},
      {"GLOBAL", st_Firebird_30, true},
      {"KEY", st_Firebird_30, false},
      {"KEY", st_Firebird_40, true},
      {"TYPE", st_Yaffil_1x, false},
      {"TYPE", st_InterBase_6x, true},
      {"DESCRIBE", st_Yaffil_1x, true},
      {"DESCRIBE", st_Firebird_25, false},
      // InterBase 2020 quotes like InterBase 7.5.
      {"BOOLEAN", st_InterBase_2020, true},
      {"RECREATE", st_InterBase_2020, false},
      {"DESCRIPTOR", st_InterBase_2020, false},
      {"ADMIN", st_InterBase_2020, true},
      {"NOSUCHWORD", st_Firebird_25, false},
      {"", st_Firebird_25, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.Word) + " in version " + std::to_string(c.Version));
    EXPECT_EQ(IsIbKeyword(c.Word, c.Version) != tkIdent, c.Keyword);
  }

  // The parser's lookup filter works on kinds; InterBase 2020 accepts every
  // keyword even where its quoting column says the word is not reserved.
  EXPECT_FALSE(IbKindReserved(ibDOMAIN, st_Firebird_30));
  EXPECT_TRUE(IbKindReserved(ibDOMAIN, st_Firebird_25));
  EXPECT_TRUE(IbKindReserved(ibDESCRIBE, st_InterBase_2020));
  EXPECT_TRUE(IbKindReserved(ibDESCENDING, st_Firebird_25));
  EXPECT_FALSE(IbKindReserved(ibDESCENDING, st_Firebird_40));
  EXPECT_TRUE(IbKindReserved(tkAssign, st_Firebird_30));
}

// Sizes of the additional reserved-word lists, each built from another list
// with words added and (for Firebird 1.5 and 2.0) removed.
TEST(IbKeywords, AdditionalReservedListSizes) {
  const size_t expected[] = {35, 36, 44, 52, 0, 54, 49, 49, 60, 60, 61, 91, 96, 53};
  size_t count = 0;
  const TIbReservedRow* rows = IbReservedRows(count);
  for (int v = st_InterBase_4x; v <= st_InterBase_2020; ++v) {
    size_t n = 0;
    for (size_t i = 0; i < count; ++i)
      if (rows[i].Versions & (1u << v)) ++n;
    EXPECT_EQ(n, expected[v]) << "version " << v;
  }
}

TEST(IbKeywords, NeedsQuotesAndFormatName) {
  struct Case {
    const char* Name;
    TIBSQLServerVersionType Version;
    bool Quote;
  };
  const Case cases[] = {
      {"", st_Firebird_25, false},
      {"CUSTOMER", st_Firebird_25, false},
      {"A$1_B", st_Firebird_25, false},
      {"Customer", st_Firebird_25, true},
      {"1ABC", st_Firebird_25, true},
      {"_A", st_Firebird_25, true},
      {"MY NAME", st_Firebird_25, true},
      {"TABLE", st_Firebird_25, true},
      {"DOMAIN", st_Firebird_25, true},
      {"DOMAIN", st_Firebird_30, false},
      // additional reserved words, version by version
      {"LEVEL", st_InterBase_4x, true},
      {"LEVEL", st_Yaffil_1x, false},
      {"RESTRICT", st_InterBase_4x, false},
      {"RESTRICT", st_InterBase_5x, true},
      {"RESTRICT", st_Firebird_20, false},
      {"WEEKDAY", st_FireBird_15, true},
      {"WEEKDAY", st_Firebird_20, false},
      {"BREAK", st_FireBird_1x, true},
      {"BREAK", st_FireBird_15, false},
      {"OVER", st_Firebird_21, false},
      {"OVER", st_Firebird_25, true},
      {"RETURN", st_Firebird_30, true},
      {"TIMEZONE_HOUR", st_Firebird_30, false},
      {"TIMEZONE_HOUR", st_Firebird_40, true},
      {"NAME", st_InterBase_75, false},
      {"NAME", st_InterBase_2020, true},
      {"TRUE", st_InterBase_6x, false},
      {"TRUE", st_InterBase_7x, true},
      {"RDB$RECORD_VERSION", st_Firebird_30, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.Name) + " in version " + std::to_string(c.Version));
    EXPECT_EQ(NeedsQuotes(c.Name, c.Version), c.Quote);
  }

  EXPECT_EQ(IbFormatName("Customer", st_Firebird_25, 3), "\"Customer\"");
  EXPECT_EQ(IbFormatName("CUSTOMER", st_Firebird_25, 3), "CUSTOMER");
  EXPECT_EQ(IbFormatName("Customer", st_Firebird_25, 1), "Customer");
  EXPECT_EQ(IbFormatName("TABLE", st_Firebird_25, 1), "TABLE");
  EXPECT_EQ(IbFormatName("", st_Firebird_25, 3), "");
  // A double quote inside the name is doubled so the name reads back intact.
  EXPECT_EQ(IbFormatName("A\"B", st_Firebird_25, 3), "\"A\"\"B\"");
}

TEST(NameQuoting, MySQL) {
  const std::pair<const char*, const char*> cases[] = {
      {"order", "`order`"},
      {"ORDER", "`ORDER`"},
      {"NAME", "NAME"},
      {"Name", "`Name`"},
      {"FIELD", "`FIELD`"},
      {"ZEROFILL", "`ZEROFILL`"},
      {"CUSTOMER_1$", "CUSTOMER_1$"},
      {"1ST", "1ST"},
      {"123", "`123`"},
      {"MY TABLE", "`MY TABLE`"},
      {"A-B", "`A-B`"},
      {"A`B", "`A``B`"},
      {"", ""},
  };
  for (const auto& [name, quoted] : cases) EXPECT_EQ(QuoteMySQLName(name), quoted) << name;
}

TEST(NameQuoting, Oracle) {
  const std::pair<const char*, const char*> cases[] = {
      {"EMP", "EMP"},
      {"emp", "\"emp\""},
      {"LEVEL", "\"LEVEL\""},
      {"WITH", "\"WITH\""},
      {"EMP#", "EMP#"},
      {"A$_9", "A$_9"},
      {"SCOTT.EMP", "\"SCOTT.EMP\""},
      {"1EMP", "\"1EMP\""},
      {"_EMP", "\"_EMP\""},
      {"PROCEDURE", "PROCEDURE"},
      {"A\"B", "\"A\"\"B\""},
      {"", ""},
  };
  for (const auto& [name, quoted] : cases) EXPECT_EQ(QuoteOracleName(name), quoted) << name;
}

TEST(NameQuoting, MSSQL) {
  const std::pair<const char*, const char*> cases[] = {
      {"Customers", "Customers"},
      {"#tmp", "#tmp"},
      {"_x$1", "_x$1"},
      {"a@b", "a@b"},
      {"@a", "[@a]"},
      {"1abc", "[1abc]"},
      {"Order Details", "[Order Details]"},
      {"order", "[order]"},
      {"Proc", "[Proc]"},
      {"dummy", "[dummy]"},
      {"<table_name, sysname, T>", "<table_name, sysname, T>"},
      {"a]b", "[a]]b]"},
      {"", ""},
  };
  for (const auto& [name, quoted] : cases) EXPECT_EQ(QuoteMSSQLName(name), quoted) << name;
}

TEST(NameQuoting, ASA) {
  const std::pair<const char*, const char*> cases[] = {
      {"orders", "orders"},
      {"x", "x"},
      {"@Var_1#", "@Var_1#"},
      {"user", "\"USER\""},
      {"where", "\"WHERE\""},
      {"Dbspace", "\"DBSPACE\""},
      {"my name", "\"my name\""},
      {"1abc", "\"1abc\""},
      {"1", "\"1\""},
      {"a\"b", "\"a\"\"b\""},
      {"", ""},
  };
  for (const auto& [name, quoted] : cases) EXPECT_EQ(QuoteASAName(name), quoted) << name;
}
