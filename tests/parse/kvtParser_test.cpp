#include "parse/kvtParser.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "core/kvtMsgMngr.h"

namespace {

// A few keyword kinds, as a dialect would load them.
enum : TTokenKind { kwSELECT = tkFirstKeyword, kwCHAR, kwINT };

class TTestParser : public TCustomParser {
 public:
  TTestParser() {
    ResWords->AddWord("SELECT", kwSELECT);
    ResWords->AddWord("CHAR", kwCHAR);
    ResWords->AddWord("CHARACTER", kwCHAR);
    ResWords->AddWord("INT", kwINT);
    ResWords->AddWord("INTEGER", kwINT);
    OnErrorMessage = [this](void*, const std::string& t) { Shown.push_back(t); };
  }
  std::vector<std::string> Shown;
};

struct TTok {
  TTokenKind Kind;
  std::string Text;  // TokenText for words, LiteralText for numbers and strings
  int Start;         // TokenStart

  bool operator==(const TTok&) const = default;
};

std::ostream& operator<<(std::ostream& os, const TTok& t) {
  return os << "{" << int(t.Kind) << ", \"" << t.Text << "\", " << t.Start << "}";
}

std::vector<TTok> Scan(TCustomParser& p, const std::string& text) {
  p.SetSource(text);
  std::vector<TTok> out;
  for (int guard = 0; guard < 100; ++guard) {
    p.NextToken();
    const bool literal = p.Token == tkInteger || p.Token == tkFloat || p.Token == tkString;
    out.push_back({p.Token, literal ? p.LiteralText : p.TokenText, p.TokenStart});
    if (p.Token == tkEOF) break;
  }
  return out;
}

struct TScanCase {
  const char* Name;
  std::string Input;
  std::vector<TTok> Tokens;
  TServerType Server = srvInterBase;
};

class ScanTable : public ::testing::TestWithParam<TScanCase> {};

TEST_P(ScanTable, YieldsTokens) {
  const TScanCase& c = GetParam();
  TTestParser p;
  p.ServerType = c.Server;
  EXPECT_EQ(Scan(p, c.Input), c.Tokens);
  EXPECT_FALSE(p.Messages->HasErrors()) << p.Messages->GetErrorText();
}

const std::string Nl = "\n";

INSTANTIATE_TEST_SUITE_P(
    Tokenizer, ScanTable,
    ::testing::Values(
        TScanCase{"Empty", "", {{tkEOF, "", 1}}},
        TScanCase{"BlanksOnly", " \t\r\n", {{tkEOF, "", 5}}},
        TScanCase{"DottedName", "a.b", {{tkIdent, "A", 1}, {tkDot, "", 2}, {tkIdent, "B", 3}, {tkEOF, "", 4}}},
        TScanCase{"LeadingPointNumber", ".5", {{tkFloat, ".5", 1}, {tkEOF, "", 3}}},
        TScanCase{"Range", "1..3",
                  {{tkInteger, "1", 1}, {tkDot, "", 2}, {tkDot, "", 3}, {tkInteger, "3", 4}, {tkEOF, "", 5}}},
        TScanCase{"Exponent", "1.5E-3 2E5 7e+2x",
                  {{tkFloat, "1.5E-3", 1}, {tkInteger, "2E5", 8}, {tkInteger, "7e+2", 12},
                   {tkIdent, "X", 16}, {tkEOF, "", 17}}},
        // A number that starts on its point takes no second point.
        TScanCase{"PointNumberTakesOnePoint", ".5.3", {{tkFloat, ".5", 1}, {tkFloat, ".3", 3}, {tkEOF, "", 5}}},
        TScanCase{"NumberThenDotName", "12.a", {{tkFloat, "12.", 1}, {tkIdent, "A", 4}, {tkEOF, "", 5}}},
        TScanCase{"KeywordKeepsSpelling", "select myTable Char",
                  {{kwSELECT, "select", 1}, {tkIdent, "MYTABLE", 8}, {kwCHAR, "Char", 16}, {tkEOF, "", 20}}},
        TScanCase{"IdentChars", "a$1_b x", {{tkIdent, "A$1_B", 1}, {tkIdent, "X", 7}, {tkEOF, "", 8}}},
        TScanCase{"DoubledQuote", "'O''Brien'", {{tkString, "O'Brien", 1}, {tkEOF, "", 11}}},
        TScanCase{"OtherQuotes", "\"a b\" `c`", {{tkString, "a b", 1}, {tkString, "c", 7}, {tkEOF, "", 10}}},
        TScanCase{"BackslashKeptOutsideMySQL", "'a\\nb'", {{tkString, "a\\nb", 1}, {tkEOF, "", 7}}},
        TScanCase{"MySQLEscapes", "'a\\nb\\'c\\\\\\0\\q'",
                  {{tkString, std::string("a\nb'c\\") + '\0' + "q", 1}, {tkEOF, "", 16}},
                  srvMySQL},
        TScanCase{"LineBreakInLiteral", "'a" + Nl + "b' c", {{tkString, "a\nb", 1}, {tkIdent, "C", 7}, {tkEOF, "", 8}}},
        TScanCase{"CtrlZIsBlank", std::string("a") + char(26) + "b",
                  {{tkIdent, "A", 1}, {tkIdent, "B", 3}, {tkEOF, "", 4}}},
        TScanCase{"Comparisons", "< <= <> > >= = == !=",
                  {{tkLess, "", 1}, {tkLessEqual, "", 3}, {tkNotEqual, "", 6}, {tkGreater, "", 9},
                   {tkGreaterEqual, "", 11}, {tkEqual, "", 14}, {tkEqualEqual, "", 16},
                   {tkNotEqual, "", 19}, {tkEOF, "", 21}}},
        TScanCase{"OperatorsNoBlanks", "a<=b<c", {{tkIdent, "A", 1}, {tkLessEqual, "", 2}, {tkIdent, "B", 4},
                                                  {tkLess, "", 5}, {tkIdent, "C", 6}, {tkEOF, "", 7}}},
        TScanCase{"SplitOperatorOutsideMSSQL", "< =", {{tkLess, "", 1}, {tkEqual, "", 3}, {tkEOF, "", 4}}},
        TScanCase{"SplitOperatorMSSQL", "< = > = ! = < b",
                  {{tkLessEqual, "", 1}, {tkGreaterEqual, "", 5}, {tkNotEqual, "", 9}, {tkLess, "", 13},
                   {tkIdent, "B", 15}, {tkEOF, "", 16}},
                  srvMSSQL},
        TScanCase{"SingleChars", "(),-+*/;:[]@\\%&",
                  {{tkLParen, "", 1}, {tkRParen, "", 2}, {tkComma, "", 3}, {tkMinus, "", 4}, {tkPlus, "", 5},
                   {tkStar, "", 6}, {tkSlash, "", 7}, {tkSemicolon, "", 8}, {tkColon, "", 9},
                   {tkLBracket, "", 10}, {tkRBracket, "", 11}, {tkAt, "", 12}, {tkBackslash, "", 13},
                   {tkPercent, "", 14}, {tkAmpersand, "", 15}, {tkEOF, "", 16}}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(Tokenizer, NumberValues) {
  TTestParser p;
  p.SetSource("42 1.25 .5 2E5 99999999999 1E");
  p.NextToken();
  EXPECT_EQ(p.IntValue, 42);
  p.NextToken();
  EXPECT_EQ(p.Token, tkFloat);
  EXPECT_DOUBLE_EQ(p.FloatValue, 1.25);
  p.NextToken();
  EXPECT_DOUBLE_EQ(p.FloatValue, 0.5);
  p.NextToken();
  EXPECT_EQ(p.Token, tkInteger);
  EXPECT_EQ(p.IntValue, 200000);
  // Too large for 32 bits: the literal keeps every digit, the value saturates.
  p.NextToken();
  EXPECT_EQ(p.Token, tkInteger);
  EXPECT_EQ(p.LiteralText, "99999999999");
  EXPECT_EQ(p.IntValue, INT32_MAX);
  EXPECT_DOUBLE_EQ(p.FloatValue, 99999999999.0);
  p.NextToken();
  EXPECT_EQ(p.LiteralText, "1E");
  EXPECT_EQ(p.IntValue, 1);
  EXPECT_FALSE(p.Messages->HasErrors());
}

TEST(Tokenizer, LineAndColumnTracking) {
  TTestParser p;
  // Errors store the line and the 0-based column of the character reached.
  p.SetSource("ab\r\n  cd\n\n x");
  p.NextToken();
  EXPECT_EQ(p.Line, 1);
  p.NextToken();  // CD, reader on the LF after it
  EXPECT_EQ(p.TokenText, "CD");
  EXPECT_EQ(p.TokenStart, 7);
  p.NextToken();  // X, reader at the end
  EXPECT_EQ(p.Line, 4);
  EXPECT_EQ(p.TokenStart, 12);
  p.Error("boom");
  ASSERT_EQ(p.Messages->Count(), 1);
  EXPECT_EQ(p.Messages->Items[0]->Line, 4);
  EXPECT_EQ(p.Messages->Items[0]->Column, 2);

  // The same walk through NextChar alone agrees with the fast scanners.
  TTestParser q;
  q.SetSource("ab\r\n  cd\n\n x");
  while (q.NextChar() != 0) {
  }
  EXPECT_EQ(q.Line, p.Line);
  EXPECT_EQ(q.Col, p.Col);
  EXPECT_EQ(q.Pos, p.Pos);
}

TEST(Tokenizer, InvalidCharacterEndsScript) {
  for (const char* text : {"a ! b", "a ? b", "a | b"}) {
    TTestParser p;
    auto toks = Scan(p, text);
    ASSERT_EQ(toks.size(), 2u) << text;
    EXPECT_EQ(toks[1].Kind, tkEOF);
    ASSERT_EQ(p.Messages->Count(), 1) << text;
    EXPECT_EQ(p.Messages->Items[0]->Text,
              std::string("Invalid char in source text: \"") + text[2] + "\".");
  }
}

TEST(Tokenizer, UnterminatedLiteralIsReported) {
  TTestParser p;
  auto toks = Scan(p, "x 'abc");
  ASSERT_EQ(toks.size(), 3u);
  EXPECT_EQ(toks[1], (TTok{tkString, "abc", 3}));
  EXPECT_EQ(p.Messages->GetErrorText(), "Unterminated string literal.");
}

TEST(ResWordList, LookupAndNames) {
  TResWordList w;
  w.AddWord("Char", 40);
  w.AddWord("CHARACTER", 40);
  w.AddWord("char", 41);  // already present: ignored
  w.AddWord("INT", 42);
  w.AddWord("INTEGER", 42);
  EXPECT_EQ(w.Count(), 4);
  EXPECT_EQ(w.KindOf("cHaR"), 40);
  EXPECT_EQ(w.KindOf("VARCHAR"), -1);
  EXPECT_EQ(w.WordOf(40), "CHARACTER");
  EXPECT_EQ(w.WordOf(42), "INTEGER");
  EXPECT_EQ(w.WordOf(43), "<\?\?\?>");
  EXPECT_EQ(w.Words(0), "Char");  // sorted, spelling kept
  w.AddWord("BIGINT", 42);
  EXPECT_EQ(w.IndexOf("bigint"), 0);
  EXPECT_EQ(w.WordOf(42), "INTEGER");
  w.Clear();
  EXPECT_EQ(w.KindOf("INT"), -1);
  EXPECT_EQ(w.WordOf(42), "<\?\?\?>");
}

TEST(ResWordList, FixedKindNames) {
  TTestParser p;
  EXPECT_EQ(p.GetTokenName(tkEOF), "<EOF>");
  EXPECT_EQ(p.GetTokenName(tkLess), "\"<\"");
  EXPECT_EQ(p.GetTokenName(tkNotEqual), "[<>]");
  EXPECT_EQ(p.GetTokenName(tkBackslash), "\\");
  EXPECT_EQ(p.GetTokenName(tkAmpersand), "<&>");
  EXPECT_EQ(p.GetTokenName(kwINT), "INTEGER");
  p.SetSource("int");
  p.NextToken();
  EXPECT_EQ(p.TokenName.str(), "INTEGER");
}

TEST(Check, SignedNumbersAndMessages) {
  TTestParser p;
  p.SetSource("-5");
  p.NextToken();
  EXPECT_TRUE(p.Check(tkInteger));
  EXPECT_EQ(p.LiteralText, "-5");
  EXPECT_EQ(p.IntValue, 5);

  p.SetSource("- x");
  p.NextToken();
  EXPECT_FALSE(p.Check(tkInteger));
  EXPECT_EQ(p.Token, tkMinus);  // look-ahead undone
  p.NextToken();
  EXPECT_EQ(p.TokenText, "X");

  p.SetSource("foo ;");
  p.NextToken();
  EXPECT_FALSE(p.Check(tkTerm));
  p.NextToken();
  EXPECT_FALSE(p.Check(tkComma));
  EXPECT_FALSE(p.CheckWord("end"));
  p.NextToken();
  EXPECT_TRUE(p.CheckWord("nothing") == false);
  ASSERT_EQ(p.Messages->Count(), 5);
  EXPECT_EQ(p.Messages->Items[0]->Text, "Missing: <Integer value> (<->)");
  EXPECT_EQ(p.Messages->Items[1]->Text, "Missing: <TERM> (<Ident>: FOO)");
  EXPECT_EQ(p.Messages->Items[2]->Text, "Missing: <,> (<;>)");
  EXPECT_EQ(p.Messages->Items[3]->Text, "Must be: END");
}

TEST(Check, IsWordIgnoresCaseButNotKeywords) {
  TTestParser p;
  p.SetSource("Block select");
  p.NextToken();
  EXPECT_TRUE(p.IsWord("block"));
  EXPECT_FALSE(p.IsWord("bloc"));
  p.NextToken();
  EXPECT_FALSE(p.IsWord("select"));
}

TEST(Errors, OnlyFirstErrorIsShown) {
  TTestParser p;
  p.ScriptName = "a.sql";
  p.SetSource("x\n  y");
  p.NextToken();
  p.Error("first");
  p.NextToken();
  p.Error("second");
  ASSERT_EQ(p.Shown.size(), 1u);
  // The reader stands on the line feed after x, which belongs to line 2.
  EXPECT_EQ(p.Shown[0], "first\r\nScript: a.sql Line:2 Pos:1\r\n");
  ASSERT_EQ(p.Messages->Count(), 2);
  EXPECT_EQ(p.Messages->Items[1]->Text, "second");
  EXPECT_EQ(p.Messages->Items[1]->ScriptName, "a.sql");
  EXPECT_EQ(p.Messages->Items[1]->Line, 2);
  EXPECT_EQ(p.Messages->Items[1]->Column, 3);
  // A warning is stored, not shown, and does not hide the next error.
  p.Messages->Clear();
  p.AddWarning("note");
  p.Error("third");
  EXPECT_EQ(p.Shown.size(), 2u);
  EXPECT_EQ(p.Messages->Items[0]->Kind, mkWarning);
}

TEST(Errors, WithoutHandlerGoesToShowErrorText) {
  std::vector<std::string> boxes;
  auto old = SetShowErrorTextHandler([&](const std::string& t) { boxes.push_back(t); });
  TCustomParser p;
  p.SetSource("?");
  p.NextToken();
  SetShowErrorTextHandler(old);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].rfind("Error: Invalid char in source text: \"?\".", 0), 0u);
}

class TStuckParser : public TTestParser {
 public:
  const char* ClassName() const override { return "TStuckParser"; }
  void ScanToken() override { Token = tkIdent; }  // never advances
};

TEST(Errors, DeadlockIsReportedAndSkipped) {
  TStuckParser p;
  p.SetSource("ab");
  p.NextToken();
  p.NextToken();
  p.NextToken();
  EXPECT_EQ(p.Token, tkEOF);
  ASSERT_EQ(p.Shown.size(), 2u);
  EXPECT_EQ(p.Shown[0], "Parser TStuckParser deadlock.");
  EXPECT_FALSE(p.Messages->HasErrors());  // raised, not stored
}

TEST(Reader, ContextRestoresPosition) {
  TTestParser p;
  p.SetSource("a\nb c");
  p.NextToken();
  TParseContext ctx(&p);
  p.NextToken();
  p.NextToken();
  EXPECT_EQ(p.TokenText, "C");
  ctx.Restore();
  EXPECT_EQ(p.TokenText, "A");
  p.NextToken();
  EXPECT_EQ(p.TokenText, "B");
  EXPECT_EQ(p.Line, 2);
  EXPECT_EQ(p.TokenStart, 3);
}

TEST(Reader, EndOfInputNamesItsToken) {
  TTestParser p;
  p.SetSource("int ");
  p.NextToken();
  EXPECT_EQ(p.TokenName.str(), "INTEGER");
  p.NextToken();
  EXPECT_EQ(p.Token, tkEOF);
  EXPECT_EQ(p.TokenName.str(), "<EOF>");
  EXPECT_EQ(p.TokenText, "");
  EXPECT_EQ(p.TokenStart, 5);
}

TEST(Reader, SkipLineStopsOnTheLineFeedOfItsOwnLine) {
  // Whatever the current character (the last one before the line feed, or the
  // line feed itself), the following line is never swallowed.
  TTestParser p;
  p.SetSource("#\nnext\r\nlast");
  p.SkipLine();
  EXPECT_EQ(p.CurChar, '\n');
  EXPECT_EQ(p.Line, 2);
  p.SkipLine();
  EXPECT_EQ(p.CurChar, '\n');
  p.NextToken();
  EXPECT_EQ(p.TokenText, "NEXT");
  p.SkipLine();  // from the carriage return
  EXPECT_EQ(p.Line, 3);
  p.NextToken();
  EXPECT_EQ(p.TokenText, "LAST");
  p.SkipLine();  // no line feed left: the end of input
  EXPECT_TRUE(p.AtEnd());
}

TEST(Reader, HelpersOnRawText) {
  TTestParser p;
  p.SetSource("( a (b) ) rest\nnext");
  std::string text;
  p.ReadParenthesized(text);
  EXPECT_EQ(text, "( a (b) )");
  EXPECT_EQ(p.CurChar, ' ');
  p.SkipLine();
  EXPECT_EQ(p.CurChar, '\n');
  EXPECT_EQ(p.PeekChar(), 'n');
  EXPECT_EQ(p.PeekChar2(), 'e');
  EXPECT_EQ(p.SourceCopy(3, 1), "a");
  EXPECT_EQ(p.SourceCopy(15, 100), "\nnext");
  EXPECT_EQ(p.SourceCopy(40, 2), "");
  p.ReadParenthesized(text);  // no parenthesis: one character, no overrun
  p.ReadParenthesized(text);
  p.SetSource("(unclosed");
  p.ReadParenthesized(text);
  EXPECT_EQ(text, "(unclosed");
  EXPECT_TRUE(p.AtEnd());
}

TEST(TextHelpers, NormalizeBlock) {
  EXPECT_EQ(NormalizeBlock(""), "");
  EXPECT_EQ(NormalizeBlock("  a  \nb\t\r\rc \r\n\r\n"), "a\r\nb\r\n\r\nc");
  EXPECT_EQ(NormalizeBlock("\r\n  x"), "x");
}

TEST(TextHelpers, StripOuterParens) {
  EXPECT_EQ(StripOuterParens("((0))"), "(0)");
  EXPECT_EQ(StripOuterParens("(((getdate())))"), "(getdate())");
  EXPECT_EQ(StripOuterParens("(0)"), "(0)");
  EXPECT_EQ(StripOuterParens("((a)) + ((b))"), "((a)) + ((b))");
  EXPECT_EQ(StripOuterParens("(("), "((");
}

TEST(TextHelpers, Utf16Conversion) {
  // "aé€" + U+1F600 (surrogate pair) + lone high surrogate + odd byte.
  const char data[] = {'a', 0, '\xE9', 0, '\xAC', ' ', '\x3D', '\xD8', '\x00', '\xDE',
                       '\x3D', '\xD8', 'b', 0, 'z'};
  EXPECT_EQ(Utf16LEToUtf8(data, sizeof data),
            "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\xEF\xBF\xBD"
            "b\xEF\xBF\xBD");
}

class ParseFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Dir = std::filesystem::temp_directory_path() /
          ("kvtparser_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(Dir);
  }
  void TearDown() override { std::filesystem::remove_all(Dir); }
  std::string Write(const std::string& name, const std::string& bytes) {
    auto path = (Dir / name).string();
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }
  std::filesystem::path Dir;
};

// Records the identifiers a parse sees.
class TCollectingParser : public TTestParser {
 public:
  void ParseStatements() override {
    Seen.clear();
    for (NextToken(); Token != tkEOF; NextToken())
      Seen.push_back(Token == tkString ? LiteralText : TokenText);
    SeenLineCount = LineCount;
  }
  std::vector<std::string> Seen;
  int SeenLineCount = -1;
};

TEST_F(ParseFileTest, ByteOrderMarks) {
  TCollectingParser p;
  std::vector<std::string> log;
  p.OnLogNextLine = [&](void*, const std::string& t) { log.push_back(t); };

  auto utf8 = Write("u8.sql", "\xEF\xBB\xBFselect x\n'\xC3\xA9'\n");
  EXPECT_TRUE(p.ParseFile(utf8, nullptr));
  EXPECT_EQ(p.Seen, (std::vector<std::string>{"select", "X", "\xC3\xA9"}));
  EXPECT_EQ(p.SeenLineCount, 2);
  EXPECT_EQ(log.back(), "Parse file: " + utf8);

  std::string u16 = "\xFF\xFE";
  for (char c : std::string("select y\n'")) u16 += std::string{c, '\0'};
  u16 += "\xE9";
  u16 += '\0';
  u16 += '\'';
  u16 += '\0';
  auto utf16 = Write("u16.sql", u16);
  EXPECT_TRUE(p.ParseFile(utf16, nullptr));
  EXPECT_EQ(p.Seen, (std::vector<std::string>{"select", "Y", "\xC3\xA9"}));
  EXPECT_EQ(p.SeenLineCount, 1);
  EXPECT_FALSE(p.Messages->HasErrors());
  EXPECT_TRUE(p.Source.empty());  // released after the parse
}

TEST_F(ParseFileTest, MissingOrUnreadableFile) {
  TCollectingParser p;
  p.ScriptName = "gone.sql";
  EXPECT_FALSE(p.ParseFile((Dir / "gone.sql").string(), nullptr));
  EXPECT_FALSE(p.ParseFile(Dir.string(), nullptr));
  ASSERT_EQ(p.Messages->Count(), 2);
  EXPECT_EQ(p.Messages->Items[0]->Text, "File not found: " + (Dir / "gone.sql").string());
  EXPECT_EQ(p.Messages->Items[1]->Text, "Cannot read file: " + Dir.string());
  EXPECT_EQ(p.Shown.size(), 1u);
}

TEST(ParseScript, JoinsLinesAndReportsProgress) {
  TCollectingParser p;
  std::vector<std::pair<int, int>> progress;
  std::vector<std::string> log;
  p.OnProgressUpdate = [&](void*, int v, int m) { progress.push_back({v, m}); };
  p.OnLogNextLine = [&](void*, const std::string& t) { log.push_back(t); };
  p.ScriptName = "inline";
  TStringList lines;
  for (int i = 0; i < 1000; ++i) lines.push_back("a" + std::to_string(i));
  lines[3] = "x\ny";  // a line with its own break
  p.ParseScript(lines, nullptr);
  EXPECT_EQ(p.Seen.size(), 1001u);
  EXPECT_EQ(p.Source.substr(0, 12), "a0\r\na1\r\na2\r\n");
  EXPECT_NE(p.Source.find("x\r\ny\r\n"), std::string::npos);
  EXPECT_EQ(log, (std::vector<std::string>{"Parse Script: inline"}));
  ASSERT_FALSE(progress.empty());
  EXPECT_EQ(progress.front(), std::make_pair(0, 1000));
  // Throttled: a few dozen reports for a thousand lines, rising.
  EXPECT_LE(progress.size(), 120u);
  EXPECT_GE(progress.back().first, 990);
  for (size_t i = 1; i < progress.size(); ++i) EXPECT_GT(progress[i].first, progress[i - 1].first);

  p.ProgressEnabled = false;
  progress.clear();
  p.ParseScript(lines, nullptr);
  EXPECT_TRUE(progress.empty());
}

TEST(DebugFlags, TokenLog) {
  TTestParser p;
  std::vector<std::string> dbg;
  p.OnDebugMessage = [&](void*, const std::string& t) { dbg.push_back(t); };
  p.DebugFlags = 1;
  p.SetSource("ab 7 'q'");
  p.NextToken();
  p.NextToken();
  p.NextToken();
  ASSERT_EQ(dbg.size(), 3u);
  EXPECT_EQ(dbg[0], "(1,4) <Ident>: 1 =AB");
  EXPECT_EQ(dbg[1], "(1,6) <Integer value>: 4 =7");
  EXPECT_EQ(dbg[2], "(1,9) <String value>: 3 ='q'");
}

}  // namespace
