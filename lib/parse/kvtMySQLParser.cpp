#include "parse/kvtMySQLParser.h"

#include <algorithm>
#include <exception>
#include <iterator>
#include <map>
#include <utility>
#include <vector>

#include "core/kvtDBOptions.h"
#include "core/kvtDBStructure.h"
#include "core/kvtMsgMngr.h"
#include "kinds/kvtCompColumn.h"
#include "kinds/kvtComp_Ctr.h"
#include "kinds/kvtComp_Gnr.h"
#include "kinds/kvtComp_Idx.h"
#include "kinds/kvtComp_Prc.h"
#include "kinds/kvtComp_Tbl.h"
#include "kinds/kvtComp_Trg.h"
#include "kinds/kvtComp_Viw.h"

namespace {

constexpr TKeywordRow KeywordRows[] = {
    {"ADD", myADD},
    {"ALTER", myALTER},
    {"AS", myAS},
    {"BIGINT", myBIGINT},
    {"BINARY", myBINARY},
    {"BIT", myBIT},
    {"BLOB", myBLOB},
    {"BOOL", myBOOL},
    {"CALL", myCALL},
    {"CASCADE", myCASCADE},
    {"CHAR", myCHAR},
    {"CHARACTER", myCHARACTER},
    {"COLLATE", myCOLLATE},
    {"CONSTRAINT", myCONSTRAINT},
    {"CREATE", myCREATE},
    {"DATABASE", myDATABASE},
    {"DATE", myDATE},
    {"DATETIME", myDATETIME},
    {"DEC", myDEC},
    {"DECIMAL", myDECIMAL},
    {"DEFAULT", myDEFAULT},
    {"DELETE", myDELETE},
    {"DOUBLE", myDOUBLE},
    {"DROP", myDROP},
    {"ENUM", myENUM},
    {"EXISTS", myEXISTS},
    {"FLOAT", myFLOAT},
    {"FOREIGN", myFOREIGN},
    {"FROM", myFROM},
    {"FULLTEXT", myFULLTEXT},
    {"IF", myIF},
    {"INDEX", myINDEX},
    {"INSERT", myINSERT},
    {"INT", myINT},
    {"INTEGER", myINTEGER},
    {"INTO", myINTO},
    {"KEY", myKEY},
    {"LONGBLOB", myLONGBLOB},
    {"LONGTEXT", myLONGTEXT},
    {"MEDIUMBLOB", myMEDIUMBLOB},
    {"MEDIUMINT", myMEDIUMINT},
    {"MEDIUMTEXT", myMEDIUMTEXT},
    {"NATIONAL", myNATIONAL},
    {"NOT", myNOT},
    {"NULL", myNULL},
    {"NUMERIC", myNUMERIC},
    {"ON", myON},
    {"OR", myOR},
    {"PRECISION", myPRECISION},
    {"PRIMARY", myPRIMARY},
    {"REAL", myREAL},
    {"REFERENCES", myREFERENCES},
    {"REPLACE", myREPLACE},
    {"RESTRICT", myRESTRICT},
    {"SELECT", mySELECT},
    {"SET", mySET},
    {"SMALLINT", mySMALLINT},
    {"SPATIAL", mySPATIAL},
    {"SQL", mySQL},
    {"TABLE", myTABLE},
    {"TEMPORARY", myTEMPORARY},
    {"TEXT", myTEXT},
    {"TIME", myTIME},
    {"TINYBLOB", myTINYBLOB},
    {"TINYINT", myTINYINT},
    {"TINYTEXT", myTINYTEXT},
    {"UNIQUE", myUNIQUE},
    {"UNSIGNED", myUNSIGNED},
    {"UPDATE", myUPDATE},
    {"USE", myUSE},
    {"VARBINARY", myVARBINARY},
    {"VARCHAR", myVARCHAR},
    {"YEAR", myYEAR},
    {"ZEROFILL", myZEROFILL},
    {"_<charset>", myCharsetIntroducer},
};
static_assert(KeywordRowsSorted(KeywordRows), "keyword rows must be sorted");

constexpr const char* ReservedWords[] = {
    "ADD", "ALL", "ALTER", "ANALYZE", "AND", "AS", "ASC", "ASENSITIVE", "BEFORE", "BETWEEN",
    "BIGINT", "BINARY", "BLOB", "BOTH", "BY", "CALL", "CASCADE", "CASE", "CHANGE", "CHAR",
    "CHARACTER", "CHECK", "COLLATE", "COLUMN", "CONDITION", "CONNECTION", "CONSTRAINT", "CONTINUE",
    "CONVERT", "CREATE", "CROSS", "CURRENT_DATE", "CURRENT_TIME", "CURRENT_TIMESTAMP",
    "CURRENT_USER", "CURSOR", "DATABASE", "DATABASES", "DAY_HOUR", "DAY_MICROSECOND", "DAY_MINUTE",
    "DAY_SECOND", "DEC", "DECIMAL", "DECLARE", "DEFAULT", "DELAYED", "DELETE", "DESC", "DESCRIBE",
    "DETERMINISTIC", "DISTINCT", "DISTINCTROW", "DIV", "DOUBLE", "DROP", "DUAL", "EACH", "ELSE",
    "ELSEIF", "ENCLOSED", "ESCAPED", "EXISTS", "EXIT", "EXPLAIN", "FALSE", "FETCH", "FIELD",
    "FLOAT", "FOR", "FORCE", "FOREIGN", "FROM", "FULLTEXT", "GOTO", "GRANT", "GROUP", "HAVING",
    "HIGH_PRIORITY", "HOUR_MICROSECOND", "HOUR_MINUTE", "HOUR_SECOND", "IF", "IGNORE", "IN",
    "INDEX", "INFILE", "INNER", "INOUT", "INSENSITIVE", "INSERT", "INT", "INTEGER", "INTERVAL",
    "INTO", "IS", "ITERATE", "JOIN", "KEY", "KEYS", "KILL", "LEADING", "LEAVE", "LEFT", "LIKE",
    "LIMIT", "LINES", "LOAD", "LOCALTIME", "LOCALTIMESTAMP", "LOCK", "LONG", "LONGBLOB",
    "LONGTEXT", "LOOP", "LOW_PRIORITY", "MATCH", "MEDIUMBLOB", "MEDIUMINT", "MEDIUMTEXT",
    "MIDDLEINT", "MINUTE_MICROSECOND", "MINUTE_SECOND", "MOD", "MODIFIES", "NATURAL", "NOT",
    "NO_WRITE_TO_BINLOG", "NULL", "NUMERIC", "ON", "OPTIMIZE", "OPTION", "OPTIONALLY", "OR",
    "ORDER", "OUT", "OUTER", "OUTFILE", "PRECISION", "PRIMARY", "PROCEDURE", "PURGE", "READ",
    "READS", "REAL", "REFERENCES", "REGEXP", "RELEASE", "RENAME", "REPEAT", "REPLACE", "REQUIRE",
    "RESTRICT", "RETURN", "REVOKE", "RIGHT", "RLIKE", "SCHEMA", "SCHEMAS", "SECOND_MICROSECOND",
    "SELECT", "SENSITIVE", "SEPARATOR", "SET", "SHOW", "SMALLINT", "SONAME", "SPATIAL", "SPECIFIC",
    "SQL", "SQLEXCEPTION", "SQLSTATE", "SQLWARNING", "SQL_BIG_RESULT", "SQL_CALC_FOUND_ROWS",
    "SQL_SMALL_RESULT", "SSL", "STARTING", "STRAIGHT_JOIN", "TABLE", "TERMINATED", "THEN",
    "TINYBLOB", "TINYINT", "TINYTEXT", "TO", "TRAILING", "TRIGGER", "TRUE", "UNDO", "UNION",
    "UNIQUE", "UNLOCK", "UNSIGNED", "UPDATE", "USAGE", "USE", "USING", "UTC_DATE", "UTC_TIME",
    "UTC_TIMESTAMP", "VALUES", "VARBINARY", "VARCHAR", "VARCHARACTER", "VARYING", "WHEN", "WHERE",
    "WHILE", "WITH", "WRITE", "XOR", "YEAR_MONTH", "ZEROFILL",
};
static_assert(WordListSorted(ReservedWords), "reserved words must be sorted and unique");

// Characters of an unquoted name besides letters and digits; bytes from 128 on
// are taken as parts of multi-byte letters, which MySQL accepts unquoted.
bool IsUnquotedNameChar(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
         c == '$' || c >= 128;
}

bool NeedsBackticks(const std::string& name) {
  bool allDigits = true;
  for (char ch : name) {
    const unsigned char c = static_cast<unsigned char>(ch);
    if (c >= 'a' && c <= 'z') return true;
    if (!IsUnquotedNameChar(c)) return true;
    if (c < '0' || c > '9') allDigits = false;
  }
  return allDigits || WordListContains(ReservedWords, std::size(ReservedWords), name);
}

}  // namespace

const TKeywordRow* MySQLKeywordRows(size_t& count) {
  count = std::size(KeywordRows);
  return KeywordRows;
}

const char* const* MySQLReservedWords(size_t& count) {
  count = std::size(ReservedWords);
  return ReservedWords;
}

TTokenKind IsMySQLKeyword(const std::string& word) {
  const TKeywordRow* row = FindKeywordRow(KeywordRows, std::size(KeywordRows), word);
  return row ? row->Kind : TTokenKind(tkIdent);
}

std::string QuoteMySQLName(const std::string& name) {
  if (name.empty() || !NeedsBackticks(name)) return name;
  return QuoteWith(name, '`', '`');
}

// ===========================================================================
// Canonical expressions

namespace {

bool IsWordStart(char c) {
  const unsigned char u = static_cast<unsigned char>(c);
  return (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || u == '_' || u == '$' || u >= 128;
}
bool IsWordChar(char c) { return IsWordStart(c) || (c >= '0' && c <= '9'); }
bool IsDigitChar(char c) { return c >= '0' && c <= '9'; }

// Words an expression uses as keywords or operators: written in lower case,
// never in backticks.
constexpr const char* ExpressionWords[] = {
    "ALL", "AND", "ANY", "AS", "ASC", "BETWEEN", "BINARY", "BY", "CASE", "CHAR", "COLLATE",
    "CROSS", "CURRENT_DATE", "CURRENT_TIME", "CURRENT_TIMESTAMP", "CURRENT_USER", "DATE",
    "DAY", "DAY_HOUR", "DAY_MINUTE", "DAY_SECOND", "DECIMAL", "DESC", "DISTINCT", "DIV",
    "DOUBLE", "ELSE", "END", "ESCAPE", "EXISTS", "FALSE", "FLOAT", "FOR", "FROM", "GROUP",
    "HAVING", "HOUR", "HOUR_MINUTE", "HOUR_SECOND", "IN", "INNER", "INT", "INTEGER", "INTERVAL",
    "IS", "JOIN", "JSON", "LEFT", "LIKE", "LIMIT", "LOCALTIME", "LOCALTIMESTAMP", "MICROSECOND",
    "MINUTE", "MINUTE_SECOND", "MOD", "MONTH", "NATURAL", "NOT", "NULL", "OFFSET", "ON", "OR",
    "ORDER", "OUTER", "OVER", "PARTITION", "QUARTER", "REGEXP", "RIGHT", "RLIKE", "ROLLUP",
    "SECOND", "SELECT", "SEPARATOR", "SIGNED", "SOME", "SOUNDS", "STRAIGHT_JOIN", "THEN", "TIME",
    "TIMESTAMP", "TRUE", "UNION", "UNKNOWN", "UNSIGNED", "USING", "UTC_DATE", "UTC_TIME",
    "UTC_TIMESTAMP", "WEEK", "WHEN", "WHERE", "WITH", "XOR", "YEAR", "YEAR_MONTH",
};
static_assert(WordListSorted(ExpressionWords), "expression words must be sorted");

bool IsExpressionWord(std::string_view w) {
  return WordListContains(ExpressionWords, std::size(ExpressionWords), w);
}

std::string LowerCopy(std::string_view s) {
  std::string r(s);
  for (char& c : r)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return r;
}

// The value of a quoted literal starting at text[i] (the quote); i ends after it.
std::string ReadLiteral(std::string_view text, size_t& i) {
  const char q = text[i++];
  std::string v;
  while (i < text.size()) {
    const char c = text[i];
    if (c == q) {
      if (i + 1 < text.size() && text[i + 1] == q) {
        v += q;
        i += 2;
        continue;
      }
      ++i;
      return v;
    }
    if (c == '\\' && q != '`' && i + 1 < text.size()) {
      const char e = text[i + 1];
      switch (e) {
        case 'n': v += '\n'; break;
        case 'r': v += '\r'; break;
        case 't': v += '\t'; break;
        case '0': v += '\0'; break;
        case 'b': v += '\b'; break;
        case 'Z': v += '\x1a'; break;
        case '%': case '_': v += '\\'; v += e; break;
        default: v += e; break;
      }
      i += 2;
      continue;
    }
    v += c;
    ++i;
  }
  return v;
}


// `text` with the qualifier `db`. taken off every name it qualifies: the
// script's own database is the one the update runs in, whatever it is
// called there. Literals and comments are left alone.
std::string WithoutDatabaseQualifier(const std::string& text, const std::string& db, bool caseSensitive) {
  if (db.empty()) return text;
  const size_t n = text.size();
  std::string out;
  out.reserve(n);
  size_t i = 0;
  auto same = [&](std::string_view w) {
    return caseSensitive ? w == db : SameTextAscii(std::string(w), db);
  };
  while (i < n) {
    const char c = text[i];
    size_t k = i;
    if (c == '\'' || c == '"') {
      for (++k; k < n && text[k] != c; ++k)
        if (text[k] == '\\') ++k;
      k = std::min(n, k + 1);
    } else if (c == '#' || (c == '-' && i + 1 < n && text[i + 1] == '-')) {
      while (k < n && text[k] != '\n') ++k;
    } else if (c == '/' && i + 1 < n && text[i + 1] == '*') {
      const size_t e = text.find("*/", i + 2);
      k = e == std::string::npos ? n : e + 2;
    } else if (c == '`' || IsWordStart(c)) {
      std::string_view word;
      if (c == '`') {
        const size_t e = text.find('`', i + 1);
        k = e == std::string::npos ? n : e + 1;
        word = std::string_view(text).substr(i + 1, k - i - 2);
      } else {
        while (k < n && IsWordChar(text[k])) ++k;
        word = std::string_view(text).substr(i, k - i);
      }
      const bool qualifies = k + 1 < n && text[k] == '.' && (text[k + 1] == '`' || IsWordStart(text[k + 1]));
      const bool qualified = i > 0 && text[i - 1] == '.';
      if (qualifies && !qualified && same(word)) {
        i = k + 1;
        continue;
      }
    } else {
      ++k;
    }
    out.append(text, i, k - i);
    i = k;
  }
  return out;
}

// The server's name of a character set or collation: utf8 is utf8mb3 (and
// its collations utf8mb3_...), which is what a dump writes back.
std::string ServerCharsetName(std::string name) {
  if (SameTextAscii(name, "utf8")) return "utf8mb3";
  if (name.size() > 5 && SameTextAscii(name.substr(0, 5), "utf8_")) return "utf8mb3_" + name.substr(5);
  return name;
}

}  // namespace

std::string MySQLCanonicalExpression(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 8);
  // What the last token was, for the blank before the next one.
  enum { None, Open, Dot, Comma, Func, Other } last = None;
  auto emit = [&](const std::string& tok, bool spaceBefore) {
    if (spaceBefore && last != None && last != Open && last != Dot && last != Comma) out += ' ';
    out += tok;
  };
  size_t i = 0;
  const size_t n = text.size();
  while (i < n) {
    const char c = text[i];
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
      ++i;
      continue;
    }
    if (c == '#' || (c == '-' && i + 2 <= n && i + 1 < n && text[i + 1] == '-' &&
                     (i + 2 == n || text[i + 2] == ' ' || text[i + 2] == '\t' ||
                      text[i + 2] == '\n' || text[i + 2] == '\r'))) {
      while (i < n && text[i] != '\n') ++i;
      continue;
    }
    if (c == '/' && i + 1 < n && text[i + 1] == '*') {
      const size_t e = text.find("*/", i + 2);
      i = e == std::string_view::npos ? n : e + 2;
      continue;
    }
    if (c == '\'' || c == '"') {
      const std::string v = ReadLiteral(text, i);
      emit(QuoteLiteral(v, srvMySQL), true);
      last = Other;
      continue;
    }
    if (c == '`') {
      const std::string v = ReadLiteral(text, i);
      emit(QuoteWith(v, '`', '`'), last != Dot);
      last = Other;
      continue;
    }
    if (IsDigitChar(c) || (c == '.' && i + 1 < n && IsDigitChar(text[i + 1]) && last != Other)) {
      size_t k = i;
      while (k < n && (IsWordChar(text[k]) || text[k] == '.' ||
                       ((text[k] == '+' || text[k] == '-') && (text[k - 1] == 'e' || text[k - 1] == 'E'))))
        ++k;
      emit(std::string(text.substr(i, k - i)), true);
      last = Other;
      i = k;
      continue;
    }
    if (IsWordStart(c)) {
      size_t k = i;
      while (k < n && IsWordChar(text[k])) ++k;
      std::string_view w = text.substr(i, k - i);
      // b'0101', x'1F' and _charset'...': the prefix stays with its literal.
      if (k < n && text[k] == '\'') {
        if (w[0] == '_') {
          i = k;  // a character-set introducer says nothing the comparison needs
          continue;
        }
        if (w.size() == 1 && (w[0] == 'b' || w[0] == 'B' || w[0] == 'x' || w[0] == 'X')) {
          size_t e = text.find('\'', k + 1);
          e = e == std::string_view::npos ? n : e + 1;
          emit(LowerCopy(w) + std::string(text.substr(k, e - k)), true);
          last = Other;
          i = e;
          continue;
        }
      }
      size_t j = k;
      while (j < n && (text[j] == ' ' || text[j] == '\t' || text[j] == '\r' || text[j] == '\n')) ++j;
      const bool call = j < n && text[j] == '(';
      if (last == Dot) {
        emit(QuoteWith(w, '`', '`'), false);
        last = Other;
      } else if (call) {
        std::string f = LowerCopy(w);
        // NOW() and CURRENT_TIMESTAMP are one function.
        if (f == "now" || f == "localtimestamp" || f == "localtime") f = "current_timestamp";
        emit(f, true);
        last = Func;
      } else if (IsExpressionWord(w)) {
        std::string f = LowerCopy(w);
        if (f == "current_timestamp" || f == "localtimestamp" || f == "localtime") {
          emit("current_timestamp()", true);
          last = Other;
        } else {
          emit(f, true);
          last = Other;
        }
      } else {
        emit(QuoteWith(w, '`', '`'), true);
        last = Other;
      }
      i = k;
      continue;
    }
    switch (c) {
      case '(':
        emit("(", last != Func);
        last = Open;
        ++i;
        continue;
      case ')':
        out += ')';
        last = Other;
        ++i;
        continue;
      case ',':
        out += ',';
        last = Comma;
        ++i;
        continue;
      case '.':
        out += '.';
        last = Dot;
        ++i;
        continue;
      default:
        break;
    }
    // An operator: a run of operator characters.
    size_t k = i;
    while (k < n && std::string_view("<>=!+-*/%|&^~:").find(text[k]) != std::string_view::npos) {
      ++k;
      // A sign directly before a number stays with the next token's blank.
      if (k - i >= 3) break;
    }
    if (k == i) k = i + 1;
    emit(std::string(text.substr(i, k - i)), true);
    last = Other;
    i = k;
  }
  return out;
}

// ===========================================================================
// TMySQLParser

namespace {

bool IsReservedWord(const std::string& word) {
  return WordListContains(ReservedWords, std::size(ReservedWords), word);
}

bool IsBlankChar(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string TrimCopy(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
  return std::string(s.substr(b, e - b));
}

// The display width the server gives an integer type written without one.
int32_t DefaultDisplayWidth(uint8_t type, bool isUnsigned) {
  switch (type) {
    case dtTinyInt: return isUnsigned ? 3 : 4;
    case dtSmallInt: return isUnsigned ? 5 : 6;
    case dtMediumInt: return isUnsigned ? 8 : 9;
    case dtInteger: return isUnsigned ? 10 : 11;
    case dtBigInt: return 20;
    default: return 0;
  }
}

bool IsIntegerType(uint8_t t) {
  return t == dtTinyInt || t == dtSmallInt || t == dtMediumInt || t == dtInteger || t == dtBigInt;
}
bool IsNumericType(uint8_t t) {
  return IsIntegerType(t) || t == dtDecimal || t == dtNumeric || t == dtFloat || t == dtDouble ||
         t == dtReal;
}

// A number as the server writes it for a column of the type: an integer
// without sign or leading zeros, a decimal with exactly its scale.
std::string NormalizeNumber(const std::string& text, const TFldData& f) {
  std::string s = text;
  bool neg = false;
  if (!s.empty() && (s[0] == '+' || s[0] == '-')) {
    neg = s[0] == '-';
    s.erase(0, 1);
  }
  if (s.empty() || s.find_first_not_of("0123456789.") != std::string::npos ||
      std::count(s.begin(), s.end(), '.') > 1)
    return text;
  std::string whole = s.substr(0, s.find('.'));
  std::string frac = s.find('.') == std::string::npos ? std::string() : s.substr(s.find('.') + 1);
  while (whole.size() > 1 && whole[0] == '0') whole.erase(0, 1);
  if (whole.empty()) whole = "0";
  if (IsIntegerType(f.DataType)) {
    if (!frac.empty() && frac.find_first_not_of('0') != std::string::npos) return text;
    frac.clear();
  } else if (f.DataType == dtDecimal || f.DataType == dtNumeric) {
    const size_t scale = static_cast<size_t>(std::max(0, f.Scale));
    if (frac.size() > scale) {
      if (frac.find_first_not_of('0', scale) != std::string::npos) return text;
      frac.resize(scale);
    }
    while (frac.size() < scale) frac += '0';
  } else {
    while (!frac.empty() && frac.back() == '0') frac.pop_back();
  }
  std::string r = whole;
  if (!frac.empty()) r += "." + frac;
  if (neg && r.find_first_not_of("0.") != std::string::npos) r.insert(0, "-");
  return r;
}

// The text inside the outer parentheses of "(...)".
std::string InnerText(const std::string& parenthesized) {
  std::string t = TrimCopy(parenthesized);
  if (t.size() >= 2 && t.front() == '(' && t.back() == ')') t = t.substr(1, t.size() - 2);
  return t;
}

// The character set a collation belongs to: the text before its first "_".
std::string CharsetOfCollation(const std::string& collation) {
  const size_t u = collation.find('_');
  return u == std::string::npos ? collation : collation.substr(0, u);
}

// The collation a character set takes when none is named (MariaDB 10.11):
// "<set>_general_ci" but for the sets listed here.
std::string DefaultCollationOf(const std::string& charset) {
  static const std::unordered_map<std::string, std::string> kOthers = {
      {"big5", "big5_chinese_ci"},       {"binary", "binary"},
      {"cp932", "cp932_japanese_ci"},    {"dec8", "dec8_swedish_ci"},
      {"eucjpms", "eucjpms_japanese_ci"}, {"euckr", "euckr_korean_ci"},
      {"gb2312", "gb2312_chinese_ci"},   {"gbk", "gbk_chinese_ci"},
      {"hp8", "hp8_english_ci"},         {"latin1", "latin1_swedish_ci"},
      {"latin5", "latin5_turkish_ci"},   {"sjis", "sjis_japanese_ci"},
      {"swe7", "swe7_swedish_ci"},       {"tis620", "tis620_thai_ci"},
      {"ujis", "ujis_japanese_ci"},      {"utf8", "utf8mb3_general_ci"},
  };
  const std::string set = LowerAscii(charset);
  const auto it = kOthers.find(set);
  return it != kOthers.end() ? it->second : set + "_general_ci";
}

}  // namespace

TMySQLParser::TMySQLParser(TCustomExtract* aExtract, TObjs* aObjs)
    : TCustomSQLParser(aExtract, aObjs), ServerOptions(std::make_unique<TMySQLServerOptions>()) {
  SetServerType(srvMySQL);
  TMySQLParser::InitReservedWords();
}

TMySQLParser::~TMySQLParser() = default;

void TMySQLParser::InitReservedWords() {
  TCustomParser::InitReservedWords();
  for (const TKeywordRow& row : KeywordRows) ResWords->AddWord(row.Word, row.Kind);
}

std::string TMySQLParser::WithoutOwnDatabase(const std::string& text) const {
  return WithoutDatabaseQualifier(text, Options ? Options->DatabaseName : std::string(), CaseSensitive());
}

bool TMySQLParser::CaseSensitive() const {
  return !Objs || Objs->MySQLServerOptions->MySQLCompareOptions->CaseSensitiveIdentifiers;
}

// ---- Scanner ------------------------------------------------------------------

bool TMySQLParser::SkipSeparators() {
  if (CurChar == '#') return ReadComment();
  if (CurChar == '-' && PeekChar() == '-') {
    // "--" starts a comment only before white space or the end of the line.
    const char after = PeekChar2();
    if (after == 0 || IsBlankChar(after)) return ReadComment();
    return false;
  }
  if (CurChar == '/' && PeekChar() == '*') return ReadComment();
  return TCustomParser::SkipSeparators();
}

bool TMySQLParser::ReadComment() {
  if (CurChar != '#') return TCustomSQLParser::ReadComment();
  LastComment.clear();
  const size_t bodyStart = static_cast<size_t>(Pos);
  const size_t lf = Source.find('\n', bodyStart - 1);
  const size_t end = lf == std::string::npos ? Source.size() : lf;
  if (bodyStart < end) LastComment.assign(Source, bodyStart, end - bodyStart);
  LandAt(static_cast<long>(end), LineStartIndex());
  return true;
}

void TMySQLParser::ScanToken() {
  TokenStart = Pos - 1;
  QuoteChar = 0;
  IdentQuoted = false;
  if (CheckTerminator()) return;
  const char c = CurChar;
  if (c == '_' && IsWordChar(PeekChar())) {
    // A character-set introducer (_utf8mb4'...'): the underscore and the name.
    ReadIdentifier();
    Token = myCharsetIntroducer;
    return;
  }
  if (IsWordStart(c) && static_cast<unsigned char>(c) >= 128) {
    // A name in a multi-byte character set.
    ReadIdentifier();
    Token = tkIdent;
    if (!CaseSensitive()) TokenText = UpperAscii(TokenText);
    return;
  }
  if (c == '|' || c == '^' || c == '~' || c == '!' || c == '&' || c == '{' || c == '}' ||
      c == '?' || c == '$') {
    // Operators of expressions, which the parser only passes over.
    Token = tkAmpersand;
    NextChar();
    if (CurChar == '=' || CurChar == '|' || CurChar == '&') NextChar();
    return;
  }
  if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) {
    ReadIdentifier();
    Token = LookupWord();
    if (Token == tkIdent && !CaseSensitive()) TokenText = UpperAscii(TokenText);
    return;
  }
  TCustomSQLParser::ScanToken();
}

void TMySQLParser::AfterScan() {
  if (Token == tkString && QuoteChar == '`') {
    Token = tkIdent;
    TokenText = CaseSensitive() ? LiteralText : UpperAscii(LiteralText);
    IdentQuoted = true;
  } else if (Token == tkAt) {
    // @variable, @@system_variable, and the host part of user@host.
    std::string prefix = "@";
    if (CurChar == '@') {
      prefix = "@@";
      NextChar();
    }
    if (CurChar == '\'' || CurChar == '"' || CurChar == '`') {
      ScanToken();
      TokenText = prefix + LiteralText;
    } else if (IsWordChar(CurChar) || CurChar == '.') {
      ReadIdentifier();
      TokenText = prefix + TokenText;
    } else {
      TokenText = prefix;
    }
    Token = tkIdent;
  }
}

void TMySQLParser::NextToken() {
  NextTokenInStatement();
}

void TMySQLParser::Error(const std::string& text) {
  if (InStatement && StmtErrors++ > 0) return;
  std::string prefix;
  if (CurObject) {
    switch (CurObject->ObjType) {
      case dboProcedure: prefix = "Procedure "; break;
      case dboTrigger: prefix = "Trigger "; break;
      case dboView: prefix = "View "; break;
      case dboIndex: prefix = "Index "; break;
      default: break;
    }
    if (!prefix.empty()) prefix += CurObject->Name + ": ";
  }
  TCustomSQLParser::Error(prefix + text);
}

bool TMySQLParser::Check(TTokenKind kind) {
  if (kind == tkIdent && Token != tkIdent && IsName()) {
    Token = tkIdent;
    if (!CaseSensitive()) TokenText = UpperAscii(TokenText);
    TokenName = TTokenNameRef(ResWords->WordOf(tkIdent));
  }
  return TCustomSQLParser::Check(kind);
}

bool TMySQLParser::IsName() const {
  if (Token == tkIdent) return true;
  return Token >= tkFirstKeyword && Token < myCharsetIntroducer && !IsReservedWord(TokenText);
}

bool TMySQLParser::IsKw(const char* word) { return !IdentQuoted && IsWord(word); }

std::string TMySQLParser::ReadName() {
  if (!Check(tkIdent)) return std::string();
  std::string name = TokenText;
  NextToken();
  if (Token == tkDot) {
    NextToken();
    if (!Check(tkIdent)) return std::string();
    name = TokenText;
    NextToken();
  }
  return name;
}

// ---- Version comments and raw text ------------------------------------------------

void TMySQLParser::OpenVersionComments() {
  std::string& s = Source;
  const size_t n = s.size();
  size_t i = 0;
  int open = 0;  // version comments around the current position
  while (i < n) {
    const char c = s[i];
    if (c == '\'' || c == '"' || c == '`') {
      size_t k = i + 1;
      while (k < n && s[k] != c) {
        if (s[k] == '\\' && c != '`') ++k;
        ++k;
      }
      i = k + 1;
      continue;
    }
    if (c == '#' || (c == '-' && i + 1 < n && s[i + 1] == '-' &&
                     (i + 2 >= n || IsBlankChar(s[i + 2])))) {
      while (i < n && s[i] != '\n') ++i;
      continue;
    }
    if (c == '*' && open > 0 && i + 1 < n && s[i + 1] == '/') {
      s[i] = s[i + 1] = ' ';
      --open;
      i += 2;
      continue;
    }
    if (c == '/' && i + 1 < n && s[i + 1] == '*') {
      size_t k = i + 2;
      const bool mariadb = k < n && s[k] == 'M' && k + 1 < n && s[k + 1] == '!';
      if (mariadb) ++k;
      if (k < n && s[k] == '!') {
        size_t d = k + 1;
        long version = 0;
        while (d < n && IsDigitChar(s[d]) && d - k <= 6) version = version * 10 + (s[d++] - '0');
        // Only versions a server of today has reached are executed.
        if (version < 130000) {
          for (size_t j = i; j < d; ++j) s[j] = ' ';
          ++open;
          i = d;
          continue;
        }
      }
      const size_t e = s.find("*/", i + 2);
      i = e == std::string::npos ? n : e + 2;
      continue;
    }
    ++i;
  }
  if (!s.empty() && Pos >= 2 && static_cast<size_t>(Pos - 2) < n) CurChar = s[static_cast<size_t>(Pos - 2)];
}

int TMySQLParser::ScanToTerminator(int from) const {
  const std::string& s = Source;
  const long n = static_cast<long>(s.size());
  long i = from - 1;
  const bool blocks = Term == ";";
  int depth = 0;
  std::string prevWord;
  while (i < n) {
    const char c = s[static_cast<size_t>(i)];
    if (c == '\'' || c == '"' || c == '`') {
      long k = i + 1;
      while (k < n && s[static_cast<size_t>(k)] != c) {
        if (s[static_cast<size_t>(k)] == '\\' && c != '`') ++k;
        ++k;
      }
      i = k + 1;
      continue;
    }
    if (c == '#' || (c == '-' && i + 1 < n && s[static_cast<size_t>(i + 1)] == '-' &&
                     (i + 2 >= n || IsBlankChar(s[static_cast<size_t>(i + 2)])))) {
      while (i < n && s[static_cast<size_t>(i)] != '\n') ++i;
      continue;
    }
    if (c == '/' && i + 1 < n && s[static_cast<size_t>(i + 1)] == '*') {
      const size_t e = s.find("*/", static_cast<size_t>(i + 2));
      i = e == std::string::npos ? n : static_cast<long>(e) + 2;
      continue;
    }
    if (depth == 0 && TermLen > 0 && c == Term[0] &&
        s.compare(static_cast<size_t>(i), static_cast<size_t>(TermLen), Term) == 0)
      return static_cast<int>(i + 1);
    if (blocks && IsWordStart(c) && (i == 0 || !IsWordChar(s[static_cast<size_t>(i - 1)]))) {
      long k = i;
      while (k < n && IsWordChar(s[static_cast<size_t>(k)])) ++k;
      const std::string w = UpperAscii(s.substr(static_cast<size_t>(i), static_cast<size_t>(k - i)));
      if (w == "BEGIN" || (w == "CASE" && prevWord != "END")) {
        ++depth;
      } else if (w == "END") {
        long j = k;
        while (j < n && IsBlankChar(s[static_cast<size_t>(j)])) ++j;
        long e = j;
        while (e < n && IsWordChar(s[static_cast<size_t>(e)])) ++e;
        const std::string next =
            UpperAscii(s.substr(static_cast<size_t>(j), static_cast<size_t>(e - j)));
        if (next != "IF" && next != "LOOP" && next != "WHILE" && next != "REPEAT" && depth > 0)
          --depth;
      }
      prevWord = w;
      i = k;
      continue;
    }
    ++i;
  }
  return static_cast<int>(n + 1);
}

std::string TMySQLParser::ReadRoutineBody() {
  const int start = TokenStart;
  const int end = ScanToTerminator(start);
  std::string text = NormalizeBlock(SourceCopy(start, end - start));
  MoveTo(end);
  NextToken();
  return text;
}

std::string TMySQLParser::ReadParenthesizedText() {
  if (!Check(tkLParen)) return std::string();
  const int start = TokenStart;
  int depth = 0;
  while (Token != tkEOF && Token != tkTerm) {
    if (Token == tkLParen) ++depth;
    if (Token == tkRParen && --depth == 0) break;
    NextToken();
  }
  if (!Check(tkRParen)) return std::string();
  const std::string text = SourceCopy(start, CurrentIndex() - start);
  NextToken();
  return text;
}

// ---- Statement loop ---------------------------------------------------------------

void TMySQLParser::ParseStatements() {
  OpenVersionComments();
  HeldAtTerm = false;
  InStatement = false;
  StmtErrors = 0;
  NextToken();
  while (Token != tkEOF) {
    StmtStart = TokenStart;
    if (Token == tkTerm || Token == tkSemicolon) {
      NextToken();
      continue;
    }
    const int startPos = Pos;
    InStatement = true;
    StmtErrors = 0;
    CurObject = nullptr;
    try {
      ParseStatement();
    } catch (const std::exception& e) {
      Error(std::string("Statement not parsed: ") + e.what());
    }
    InStatement = false;
    CurObject = nullptr;
    const bool failed = StmtErrors > 0;
    StmtErrors = 0;
    if (HeldAtTerm) {
      HeldAtTerm = false;
      NextToken();
    } else if (failed) {
      SkipStatement();
    } else if (Token == tkTerm) {
      NextToken();
    } else if (Pos == startPos && Token != tkEOF) {
      NextToken();
    }
  }
}

void TMySQLParser::PassOver(TStatementKind kind, const std::string& name) {
  const int end = ScanToTerminator(TokenStart);
  MoveTo(end);
  NextToken();
  StatementFound(kind, name);
}

void TMySQLParser::ParseStatement() {
  if (Token == tkIdent && !IdentQuoted) {
    if (IsWord("COMMIT") || IsWord("ROLLBACK") || IsWord("START") || IsWord("BEGIN")) {
      PassOver(skCommit);
    } else if (IsWord("DELIMITER")) {
      ParseDelimiter();
    } else if (IsWord("LOCK") || IsWord("UNLOCK") || IsWord("FLUSH") || IsWord("GRANT") ||
               IsWord("REVOKE") || IsWord("SOURCE") || IsWord("CALL") || IsWord("TRUNCATE") ||
               IsWord("SHOW") || IsWord("ANALYZE") || IsWord("OPTIMIZE") || IsWord("RENAME") ||
               IsWord("DO") || IsWord("PREPARE") || IsWord("EXECUTE") || IsWord("DEALLOCATE") ||
               IsWord("LOAD") || IsWord("HANDLER") || IsWord("SAVEPOINT") || IsWord("RELEASE") ||
               IsWord("XA") || IsWord("CHECKSUM") || IsWord("WITH") || IsWord("VALUES") ||
               IsWord("TABLE")) {
      PassOver(skStatement);
    } else {
      Error("Missing: DDL-statement. <Proc: ParseText>");
    }
    return;
  }
  switch (Token) {
    case mySET: ParseSet(); break;
    case myCREATE: ParseCreate(); break;
    case myDROP: ParseDrop(); break;
    case myALTER: ParseAlter(); break;
    case myUSE:
      NextToken();
      if (Check(tkIdent)) {
        Options->DatabaseName = TokenText;
        NextToken();
      }
      StatementFound(skConnect);
      break;
    case myINSERT:
    case myREPLACE: PassOver(skInsert); break;
    case myUPDATE: PassOver(skUpdate); break;
    case myDELETE: PassOver(skDelete); break;
    case mySELECT: PassOver(skSelect); break;
    case myCALL: PassOver(skStatement); break;
    case tkLParen: PassOver(skSelect); break;
    default: Error("Missing: DDL-statement. <Proc: ParseText>"); break;
  }
}

void TMySQLParser::ParseDelimiter() {
  // The delimiter is raw text up to the next blank.
  while (!AtEnd() && (CurChar == ' ' || CurChar == '\t')) NextChar();
  std::string term;
  while (!AtEnd() && !IsBlankChar(CurChar)) {
    term += CurChar;
    NextChar();
  }
  if (term.empty()) {
    Error("Missing: delimiter");
    return;
  }
  SetTerm(term);
  NextToken();
}

void TMySQLParser::ParseSet() {
  NextToken();
  // The character set a SET NAMES / SET CHARACTER SET names, read past.
  auto charsetValue = [this](const char* error) {
    std::string value;
    if (Token == tkString)
      value = QuoteLiteral(LiteralText, srvMySQL);
    else if (IsName())
      value = TokenText;
    else
      Error(error);
    NextToken();
    return value;
  };
  if (IsKw("NAMES")) {
    NextToken();
    const std::string value = charsetValue("Unknown/Invalid SET NAMES-statement.");
    if (Objs && !value.empty()) Objs->MySQLServerOptions->Names = value;
    PassOver(skSetNames);
    return;
  }
  if (Token == myCHARACTER || IsKw("CHARSET")) {
    if (Token == myCHARACTER && !NextCheck(mySET)) return;
    NextToken();
    const std::string value = charsetValue("Unknown/Invalid SET CHARACTER SET-statement.");
    if (Objs && !value.empty()) Objs->MySQLServerOptions->CharSet = value;
    PassOver(skCharSet);
    return;
  }
  // SET @var = v, SET [GLOBAL|SESSION] system_variable = v, ...: passed over.
  PassOver(skSet);
}

void TMySQLParser::SkipDefiner() {
  // DEFINER = user[@host] | CURRENT_USER[()]
  NextToken();
  if (!Check(tkEqual)) return;
  NextToken();
  if (Token == tkString || IsName()) NextToken();
  if (Token == tkLParen) {
    NextToken();
    if (Check(tkRParen)) NextToken();
  }
  while (Token == tkIdent && !IdentQuoted && !TokenText.empty() && TokenText[0] == '@') NextToken();
}

void TMySQLParser::SkipIfExists() {
  if (Token == myIF) {
    NextToken();
    if (Check(myEXISTS)) NextToken();
  }
}

void TMySQLParser::SkipIfNotExists() {
  if (Token == myIF) {
    NextToken();
    if (Check(myNOT)) NextToken();
    if (Check(myEXISTS)) NextToken();
  }
}

// View and routine options stand in any order before the object word of
// CREATE and ALTER. False after an error.
bool TMySQLParser::ParseObjectOptions(std::string& algorithm, std::string& security) {
  for (;;) {
    if (IsKw("ALGORITHM")) {
      NextToken();
      if (Check(tkEqual)) NextToken();
      algorithm = UpperAscii(TokenText);
      NextToken();
    } else if (IsKw("DEFINER")) {
      SkipDefiner();
    } else if (Token == mySQL) {
      NextToken();
      if (!CheckWord("SECURITY")) return false;
      NextToken();
      security = UpperAscii(TokenText);
      NextToken();
    } else if (IsKw("AGGREGATE") || IsKw("ONLINE") || IsKw("OFFLINE")) {
      NextToken();
    } else {
      return true;
    }
  }
}

void TMySQLParser::ParseCreate() {
  NextToken();
  if (Token == myOR) {
    NextToken();
    if (Check(myREPLACE)) NextToken();
  }
  std::string algorithm, security;
  if (!ParseObjectOptions(algorithm, security)) return;
  if (IsKw("VIEW")) {
    ParseView(algorithm, security);
    return;
  }
  if (Token == myDATABASE || IsKw("SCHEMA")) return ParseCreateDatabase();
  if (IsKw("TRIGGER")) return ParseTrigger();
  if (IsKw("PROCEDURE")) return ParseRoutine(true);
  if (IsKw("FUNCTION")) return ParseRoutine(false);
  if (Token == myINDEX) return ParseCreateIndex(false, false, false);
  if (Token == myUNIQUE || Token == myFULLTEXT || Token == mySPATIAL) {
    const TTokenKind k = Token;
    NextToken();
    if (!Check(myINDEX)) return;
    return ParseCreateIndex(k == myUNIQUE, k == myFULLTEXT, k == mySPATIAL);
  }
  if (Token == myTABLE || Token == myTEMPORARY) return ParseCreateTable();
  if (IsKw("SEQUENCE")) return ParseSequence(false);
  if (IsKw("EVENT") || IsKw("USER") || IsKw("ROLE") || IsKw("SERVER") || IsKw("TABLESPACE") ||
      IsKw("LOGFILE") || IsKw("PACKAGE")) {
    PassOver(skStatement);
    return;
  }
  Error("Invalid/Unknown CREATE-statement.");
}

// ---- SEQUENCE ---------------------------------------------------------------------

void TMySQLParser::ParseSequence(bool alter) {
  NextToken();  // SEQUENCE
  if (alter)
    SkipIfExists();
  else
    SkipIfNotExists();
  const std::string name = ReadName();
  if (name.empty()) return;
  // ALTER SEQUENCE changes the sequence the script created before, or one of
  // its own that is dropped at the end.
  TGnrData* seq = alter && Objs ? Objs->FindGenerator(name) : nullptr;
  std::unique_ptr<TDbObj> created;
  if (!seq) {
    auto g = std::make_unique<TGnrData>(Objs);
    g->SetName(name);
    g->SetCache("1000");  // the server's default
    g->SetMaxValue(std::string());
    seq = g.get();
    created = std::move(g);
  }
  // A number, optionally signed, after an optional "="; the token after the
  // option word first.
  auto number = [this](std::string& out) {
    NextToken();
    if (IsKw("WITH") || IsKw("BY") || Token == tkEqual) NextToken();
    std::string sign;
    if (Token == tkMinus || Token == tkPlus) {
      if (Token == tkMinus) sign = "-";
      NextToken();
    }
    if (!Check(tkInteger)) return false;
    out = sign + LiteralText;
    NextToken();
    return true;
  };
  std::string value;
  while (Token != tkTerm && Token != tkEOF && StmtErrors == 0) {
    if (IsKw("START")) {
      if (!number(seq->StartWith)) return;
    } else if (IsKw("INCREMENT")) {
      if (!number(seq->IncrementBy)) return;
    } else if (IsKw("RESTART")) {
      // RESTART [[WITH] n]: the current value is no part of the definition.
      NextToken();
      const bool needsValue = IsKw("WITH") || Token == tkEqual;
      if (needsValue) NextToken();
      if (Token == tkMinus || Token == tkPlus) NextToken();
      if (Token == tkInteger)
        NextToken();
      else if (needsValue && !Check(tkInteger))
        return;
    } else if (IsKw("MINVALUE")) {
      if (!number(value)) return;
      seq->MinValue = value;
    } else if (IsKw("MAXVALUE")) {
      if (!number(value)) return;
      seq->SetMaxValue(value);
    } else if (IsKw("NOMINVALUE")) {
      seq->MinValue.clear();
      NextToken();
    } else if (IsKw("NOMAXVALUE")) {
      seq->SetMaxValue(std::string());
      NextToken();
    } else if (IsKw("CACHE")) {
      if (!number(value)) return;
      seq->SetCache(value);
    } else if (IsKw("NOCACHE")) {
      seq->SetNoCache(true);
      NextToken();
    } else if (IsKw("CYCLE") || IsKw("NOCYCLE")) {
      seq->Cycle = IsKw("CYCLE");
      NextToken();
    } else if (Token == myNOT || IsKw("NO")) {
      NextToken();
      if (IsKw("MINVALUE")) seq->MinValue.clear();
      else if (IsKw("MAXVALUE")) seq->SetMaxValue(std::string());
      else if (IsKw("CYCLE")) seq->Cycle = false;
      else if (IsKw("CACHE")) seq->SetNoCache(true);
      else {
        Error("Must be: MINVALUE / MAXVALUE / CYCLE / CACHE");
        return;
      }
      NextToken();
    } else if (Token == tkComma) {
      NextToken();
    } else {
      // Table options (ENGINE=..., COMMENT=...): not part of the sequence.
      NextToken();
    }
  }
  if (LogWanted()) DoLog("Sequence: " + name);
  StatementFound(skStatement, name);
  if (created) {
    if (alter) return;  // a sequence the script does not have
    RemoveObject(olGnr, name);
    AddObject(created, true);
  }
}

// ---- DROP -------------------------------------------------------------------------

TTblData* TMySQLParser::FindTable(const std::string& name) {
  return Objs ? Objs->FindTable(name) : nullptr;
}

namespace {

void EraseRecordsTo(TDependList& list, const TDbObj* obj) {
  list.erase(std::remove_if(list.begin(), list.end(),
                            [obj](const std::unique_ptr<TDependObj>& r) { return r->Obj == obj; }),
             list.end());
}

}  // namespace

void TMySQLParser::RemoveObject(TObjListId list, const std::string& key) {
  if (!Objs) return;
  TObjList& l = Objs->List(list);
  const int i = l.IndexOf(key);
  if (i < 0) return;
  std::unique_ptr<TDbObj> obj = l.Extract(i);
  TDbObj* raw = obj.get();
  // Nothing may keep a record of the object once it is gone.
  for (const auto& r : raw->UseInList)
    if (r && r->Obj) EraseRecordsTo(r->Obj->UseOfList, raw);
  for (const auto& r : raw->UseOfList)
    if (r && r->Obj) EraseRecordsTo(r->Obj->UseInList, raw);
}

void TMySQLParser::RemoveTable(const std::string& name) {
  if (!Objs || !FindTable(name)) return;
  // Its keys, indexes and triggers go with it.
  for (TObjListId id : {olIdx, olCtr, olTrg}) {
    std::vector<std::string> keys;
    for (TDbObj* o : Objs->ObjectsOnTable(id, name)) keys.push_back(o->GetListKey());
    for (const std::string& k : keys) RemoveObject(id, k);
  }
  if (TTblData* t = FindTable(name))
    for (const auto& e : t->Fields)
      if (e.Obj) Objs->RemoveFieldDependencies(e.Obj.get());
  RemoveObject(olTbl, name);
}

void TMySQLParser::ParseDrop() {
  NextToken();
  if (Token == myTEMPORARY) NextToken();
  // DROP TABLE, VIEW and SEQUENCE take a list of names.
  if (Token == myTABLE || IsKw("VIEW") || IsKw("SEQUENCE")) {
    const TObjListId list = Token == myTABLE ? olTbl : IsKw("VIEW") ? olViw : olGnr;
    NextToken();
    SkipIfExists();
    do {
      if (Token == tkComma) NextToken();
      const std::string name = ReadName();
      if (name.empty()) return;
      if (list == olTbl)
        RemoveTable(name);
      else
        RemoveObject(list, name);
    } while (Token == tkComma);
    if (Token == myRESTRICT || Token == myCASCADE) NextToken();
    StatementFound(skStatement, std::string());
    return;
  }
  if (IsKw("PROCEDURE") || IsKw("FUNCTION") || IsKw("TRIGGER")) {
    const bool trigger = IsKw("TRIGGER");
    NextToken();
    SkipIfExists();
    const std::string name = ReadName();
    if (name.empty()) return;
    if (trigger) {
      RemoveObject(olTrg, name);
    } else if (Objs) {
      // Procedures and functions share one list.
      if (TPrcData* p = Objs->FindProcedure(name)) RemoveObject(olPrc, p->GetListKey());
    }
    StatementFound(skStatement, name);
    return;
  }
  if (Token == myINDEX) {
    NextToken();
    SkipIfExists();
    const std::string name = ReadName();
    if (!Check(myON)) return;
    NextToken();
    const std::string table = ReadName();
    if (name.empty() || table.empty()) return;
    RemoveObject(olIdx, table + "." + name);
    StatementFound(skStatement, name);
    return;
  }
  if (Token == myDATABASE || IsKw("SCHEMA") || IsKw("EVENT") || IsKw("USER") || IsKw("ROLE") ||
      IsKw("SEQUENCE") || IsKw("SERVER") || IsKw("TABLESPACE") || IsKw("PACKAGE")) {
    PassOver(skStatement);
    return;
  }
  Error("Invalid DROP-statement (" + TokenText + ")");
}

void TMySQLParser::ParseCreateDatabase() {
  NextToken();
  SkipIfNotExists();
  if (!Check(tkIdent)) return;
  NextToken();
  while (Token != tkTerm && Token != tkEOF) {
    if (Token == myDEFAULT) {
      NextToken();
      continue;
    }
    if (Token == myCHARACTER || IsKw("CHARSET")) {
      if (Token == myCHARACTER && !NextCheck(mySET)) return;
      NextToken();
      if (Token == tkEqual) NextToken();
      NextToken();
    } else if (Token == myCOLLATE) {
      NextToken();
      if (Token == tkEqual) NextToken();
      NextToken();
    } else if (IsKw("COMMENT")) {
      NextToken();
      if (Token == tkEqual) NextToken();
      NextToken();
    } else {
      Error("Unknown/Invalid symbol in CREATE DATABASE: " + TokenText);
      return;
    }
  }
  StatementFound(skCreateDb);
}

// ---- CREATE TABLE -----------------------------------------------------------------

namespace {

// Columns of a foreign key whose index is looked for after its statement.
struct TPendingForeignKey {
  std::string Table;
  std::string IndexName;  // the name the implied index gets
  std::vector<std::string> Columns;
};
std::vector<TPendingForeignKey>& PendingForeignKeys() {
  thread_local std::vector<TPendingForeignKey> pending;
  return pending;
}

bool LeadsWith(const TNamedObjList<TFldData>& fields, const std::vector<std::string>& columns) {
  if (fields.Count() < static_cast<int>(columns.size())) return false;
  for (size_t i = 0; i < columns.size(); ++i)
    if (!SameTextAscii(fields.Names(static_cast<int>(i)), columns[i])) return false;
  return true;
}

}  // namespace

std::string TMySQLParser::FreeIndexName(const std::string& tableName, const std::string& base) {
  if (!Objs) return base;
  auto taken = [&](const std::string& name) {
    if (SameTextAscii(name, "PRIMARY")) return true;
    for (TDbObj* o : Objs->ObjectsOnTable(olIdx, tableName))
      if (SameTextAscii(o->Name, name)) return true;
    return false;
  };
  if (!taken(base)) return base;
  for (int n = 2;; ++n) {
    const std::string name = base + "_" + std::to_string(n);
    if (!taken(name)) return name;
  }
}

void TMySQLParser::AddIndex(std::unique_ptr<TIdxData> index) {
  if (!index) return;
  if (index->Name.empty() && !index->Fields.Empty())
    index->SetName(FreeIndexName(index->TableName, index->Fields.Names(0)));
  RemoveObject(olIdx, index->TableName + "." + index->Name);
  index->Sequence = ++IndexCount;
  if (LogWanted()) DoLog("Index: " + index->TableName + "." + index->Name);
  AddObject(index, true);
}

bool TMySQLParser::LogWanted() const {
  return static_cast<bool>(OnLogNextLine) || (Objs && AttachedExtractor());
}

void TMySQLParser::EnsureForeignKeyIndex(TCtrData* /*fk*/) {
  std::vector<TPendingForeignKey> pending;
  pending.swap(PendingForeignKeys());
  if (!Objs) return;
  for (const TPendingForeignKey& p : pending) {
    bool served = false;
    for (TDbObj* o : Objs->ObjectsOnTable(olIdx, p.Table))
      if (auto* i = o->As<TIdxData>(); i && !i->Fulltext && !i->Spatial && LeadsWith(i->Fields, p.Columns))
        served = true;
    for (TDbObj* o : Objs->ObjectsOnTable(olCtr, p.Table))
      if (auto* c = o->As<TCtrData>(); c && c->IsKey() && LeadsWith(c->Fields, p.Columns)) served = true;
    if (served || p.Columns.empty()) continue;
    auto idx = std::make_unique<TIdxData>(Objs);
    idx->TableName = p.Table;
    for (const std::string& c : p.Columns) {
      auto f = std::make_unique<TFldData>(Objs, nullptr);
      f->SetName(c);
      idx->Fields.Add(c, std::move(f));
    }
    idx->SetName(FreeIndexName(p.Table, p.IndexName.empty() ? p.Columns[0] : p.IndexName));
    idx->ForForeignKey = true;
    AddIndex(std::move(idx));
  }
}

// The BINARY attribute of a character type: the binary collation of CHARSET.
void TMySQLParser::ResolveBinaryAttribute(TFldData* f, const std::string& charset) {
  if (!f->Binary || !f->HasMySQLCharset()) return;
  f->Binary = false;
  if (!f->Collation.empty()) return;
  f->CharacterSet = charset;
  f->Collation = charset + "_bin";
}

void TMySQLParser::NormalizeColumnCharsets(TTblData* table) {
  const TMySQLTableOptions& o = *table->MySQLOptions;
  std::string tableCharset = o.DefaultCharset;
  if (tableCharset.empty() && !o.DefaultCollate.empty()) tableCharset = CharsetOfCollation(o.DefaultCollate);
  for (const auto& e : table->Fields) {
    TFldData* f = e.Obj.get();
    if (!f) continue;
    // A table without a set of its own has the database's, taken as utf8mb4.
    ResolveBinaryAttribute(f, tableCharset.empty() ? std::string("utf8mb4") : tableCharset);
    if (f->CharacterSet.empty() && !f->Collation.empty()) f->CharacterSet = CharsetOfCollation(f->Collation);
    if (f->CharacterSet.empty()) continue;
    if (!tableCharset.empty() && SameTextAscii(f->CharacterSet, tableCharset)) {
      // The table's own character set and collation are what the column has
      // anyway; a character set alone brings the set's default collation.
      const std::string own = f->Collation.empty() ? DefaultCollationOf(f->CharacterSet) : f->Collation;
      const std::string tables =
          o.DefaultCollate.empty() ? DefaultCollationOf(tableCharset) : o.DefaultCollate;
      if (SameTextAscii(own, tables)) {
        f->CharacterSet.clear();
        f->Collation.clear();
        continue;
      }
    }
    // A column's character set alone brings the set's default collation.
    if (SameTextAscii(f->Collation, DefaultCollationOf(f->CharacterSet))) f->Collation.clear();
  }
}

void TMySQLParser::ParseCreateTable() {
  if (Token == myTEMPORARY) NextToken();
  if (!CheckNext(myTABLE)) return;
  const bool ifNotExists = Token == myIF;
  SkipIfNotExists();
  const std::string name = ReadName();
  if (name.empty()) return;
  if (FindTable(name)) {
    if (ifNotExists) {
      PassOver(skStatement, name);
      return;
    }
    RemoveTable(name);  // the later definition is the one that holds
  }
  auto table = std::make_unique<TTblData>(Objs);
  table->SetName(name);
  CheckCount = 0;
  PendingForeignKeys().clear();
  if (IsKw("LIKE") || Token == tkLParen) {
    const bool paren = Token == tkLParen;
    if (paren) NextToken();
    if (IsKw("LIKE")) {
      NextToken();
      const std::string from = ReadName();
      if (TTblData* src = FindTable(from)) {
        for (const auto& e : src->Fields) {
          if (!e.Obj) continue;
          auto f = std::make_unique<TFldData>(Objs, table.get());
          f->Assign(*e.Obj);
          table->AddField(std::move(f));
        }
        *table->MySQLOptions = *src->MySQLOptions;
      } else {
        Error("Unknown table: " + from);
        return;
      }
      if (paren && !CheckNext(tkRParen)) return;
    } else {
      for (;;) {
        ParseTableElement(table.get());
        if (StmtErrors > 0) return;
        if (Token != tkComma) break;
        NextToken();
      }
      if (!CheckNext(tkRParen)) return;
    }
  }
  ParseTableOptions(table.get());
  if (StmtErrors > 0) return;
  if (Token != tkTerm && Token != tkEOF) {
    // PARTITION BY ..., or AS SELECT ...: not part of the model.
    const int end = ScanToTerminator(TokenStart);
    MoveTo(end);
    NextToken();
  }
  NormalizeColumnCharsets(table.get());
  StatementFound(skStatement, name);
  if (LogWanted()) DoLog("Table: " + name);
  AddObject(table, true);
  EnsureForeignKeyIndex(nullptr);
}

void TMySQLParser::ParseTableElement(TTblData* table) {
  const std::string& tableName = table->Name;
  if (Token == myCONSTRAINT) {
    NextToken();
    std::string ctrName;
    if (IsName() && Token != myPRIMARY && Token != myUNIQUE && Token != myFOREIGN &&
        !IsKw("CHECK")) {
      ctrName = TokenText;
      NextToken();
    }
    ParseTableKey(table, tableName, ctrName);
    return;
  }
  if (Token == myPRIMARY || Token == myUNIQUE || Token == myKEY || Token == myINDEX ||
      Token == myFULLTEXT || Token == mySPATIAL || Token == myFOREIGN || IsKw("CHECK")) {
    ParseTableKey(table, tableName, std::string());
    return;
  }
  if (IsKw("PERIOD")) {
    // PERIOD FOR SYSTEM_TIME (a, b): not part of the model.
    while (Token != tkRParen && Token != tkEOF) NextToken();
    NextToken();
    return;
  }
  if (!IsName()) {
    Check(tkIdent);
    return;
  }
  std::unique_ptr<TFldData> field = ParseColumnDef(table, table);
  if (!field) return;
  if (table->FindField(field->Name)) {
    Error("Duplicate column name: " + field->Name);
    return;
  }
  table->AddField(std::move(field));
}

std::unique_ptr<TFldData> TMySQLParser::ParseColumnDef(TTblData* table, TDbObj* owner) {
  if (!Check(tkIdent)) return nullptr;
  auto field = std::make_unique<TFldData>(Objs, owner);
  field->SetName(TokenText);
  if (table) field->TableName = table->Name;
  NextToken();
  ParseColumnType(field.get());
  if (StmtErrors > 0) return nullptr;
  ParseColumnAttributes(field.get(), table);
  if (StmtErrors > 0) return nullptr;
  return field;
}

// ---- Column types -----------------------------------------------------------------

namespace {

struct TTypeWord {
  const char* Word;
  uint8_t Type;
};
// Type words that are no keywords of the parser.
constexpr TTypeWord WordTypes[] = {
    {"BOOLEAN", dtTinyInt},  {"CURVE", dtCurve},
    {"FIXED", dtDecimal},    {"GEOMETRY", dtGeometry},
    {"GEOMETRYCOLLECTION", dtGeometryCollection},
    {"INT1", dtTinyInt},     {"INT2", dtSmallInt},
    {"INT3", dtMediumInt},   {"INT4", dtInteger},
    {"INT8", dtBigInt},      {"LINESTRING", dtLineString},
    {"MIDDLEINT", dtMediumInt}, {"MULTICURVE", dtMultiCurve},
    {"MULTILINESTRING", dtMultiLineString}, {"MULTIPOINT", dtMultiPoint},
    {"MULTIPOLYGON", dtMultiPolygon}, {"MULTISURFACE", dtMultiSurface},
    {"NCHAR", dtChar},       {"NVARCHAR", dtVarchar},
    {"POINT", dtPoint},      {"POLYGON", dtPolygon},
    {"SURFACE", dtSurface},  {"TIMESTAMP", dtTimestamp},
};

}  // namespace

void TMySQLParser::ParseColumnType(TFldData* f) {
  const std::string word = UpperAscii(TokenText);
  bool national = false;
  switch (Token) {
    case myTINYINT: f->DataType = dtTinyInt; if (SameTextAscii(word, "BOOL")) f->Precision = 1; break;
    case mySMALLINT: f->DataType = dtSmallInt; break;
    case myMEDIUMINT: f->DataType = dtMediumInt; break;
    case myINTEGER: f->DataType = dtInteger; break;
    case myBIGINT: f->DataType = dtBigInt; break;
    case myREAL: f->DataType = dtDouble; break;
    case myFLOAT: f->DataType = dtFloat; break;
    case myDOUBLE: f->DataType = dtDouble; break;
    case myDECIMAL:
    case myNUMERIC: f->DataType = dtDecimal; break;
    case myCHAR: f->DataType = dtChar; break;
    case myNATIONAL: national = true; break;
    case myVARCHAR: f->DataType = dtVarchar; break;
    case myDATE: f->DataType = dtDate; break;
    case myTIME: f->DataType = dtTime; break;
    case myDATETIME: f->DataType = dtDateTime; break;
    case myYEAR: f->DataType = dtYear; break;
    case myTINYBLOB: f->DataType = dtTinyBlob; break;
    case myBLOB: f->DataType = dtBlob; break;
    case myMEDIUMBLOB: f->DataType = dtMediumBlob; break;
    case myLONGBLOB: f->DataType = dtLongBlob; break;
    case myTINYTEXT: f->DataType = dtTinyText; break;
    case myTEXT: f->DataType = dtText; break;
    case myMEDIUMTEXT: f->DataType = dtMediumText; break;
    case myLONGTEXT: f->DataType = dtLongText; break;
    case myBINARY: f->DataType = dtBinary; break;
    case myVARBINARY: f->DataType = dtVarBinary; break;
    case myENUM: f->DataType = dtEnum; break;
    case mySET: f->DataType = dtSet; break;
    case myBIT: f->DataType = dtBit; break;
    default: {
      if (Token == tkIdent && !IdentQuoted) {
        if (word == "BOOLEAN") {
          f->DataType = dtTinyInt;
          f->Precision = 1;
          break;
        }
        if (word == "SERIAL") {
          // BIGINT UNSIGNED NOT NULL AUTO_INCREMENT UNIQUE
          f->DataType = dtBigInt;
          f->Unsigned = true;
          f->Nullable = false;
          f->AutoIncrement = true;
          f->KeyName = "UNIQUE";
          break;
        }
        if (word == "JSON") {
          // MariaDB keeps JSON as LONGTEXT with a validity check.
          f->DataType = dtLongText;
          f->CharacterSet = "utf8mb4";
          f->Collation = "utf8mb4_bin";
          f->CheckExpression = "(json_valid(" + QuoteWith(f->Name, '`', '`') + "))";
          break;
        }
        if (word == "LONG") {
          NextToken();
          if (Token == myVARBINARY || Token == myBLOB) {
            f->DataType = dtMediumBlob;
          } else {
            if (Token == myVARCHAR || Token == myCHAR) {
              if (Token == myCHAR) NextToken();  // LONG CHAR VARYING
            } else {
              Token = tkIdent;  // LONG alone is MEDIUMTEXT
              f->DataType = dtMediumText;
              break;
            }
            f->DataType = dtMediumText;
          }
          break;
        }
        bool found = false;
        for (const TTypeWord& t : WordTypes)
          if (word == t.Word) {
            f->DataType = t.Type;
            found = true;
          }
        if (found) break;
      }
      Error("Invalid field-type: " + f->GetDisplayName() + " " + word);
      return;
    }
  }
  NextToken();
  if (national) {
    if (Token == myVARCHAR)
      f->DataType = dtVarchar;
    else if (Token == myCHAR)
      f->DataType = dtChar;
    else {
      Error("Must be: CHAR");
      return;
    }
    NextToken();
  }
  if (f->DataType == dtDouble && Token == myPRECISION) NextToken();
  if (f->DataType == dtChar && IsKw("VARYING")) {
    f->DataType = dtVarchar;
    NextToken();
  }
  if (f->DataType == dtEnum || f->DataType == dtSet) {
    ParseEnumValues(f);
    if (StmtErrors > 0) return;
  } else if (Token == tkLParen) {
    NextToken();
    if (!Check(tkInteger)) return;
    const int32_t n = IntValue;
    int32_t m = -1;
    NextToken();
    if (Token == tkComma) {
      if (!NextCheck(tkInteger)) return;
      m = IntValue;
      NextToken();
    }
    if (!CheckNext(tkRParen)) return;
    switch (f->DataType) {
      case dtChar: case dtVarchar: case dtBinary: case dtVarBinary:
      case dtText: case dtBlob:
        f->Length = n;
        break;
      default:
        f->Precision = n;
        if (m >= 0) f->Scale = m;
        break;
    }
    // TEXT(n) and BLOB(n) are the smallest type that holds n bytes.
    if (f->DataType == dtText || f->DataType == dtBlob) {
      const bool text = f->DataType == dtText;
      if (n < 256) f->DataType = text ? dtTinyText : dtTinyBlob;
      else if (n >= 65536 && n < 16777216) f->DataType = text ? dtMediumText : dtMediumBlob;
      else if (n >= 16777216) f->DataType = text ? dtLongText : dtLongBlob;
      f->Length = 0;
    }
  }
  // Attributes of the type, in any order.
  for (;;) {
    if (Token == myUNSIGNED) {
      f->Unsigned = true;
    } else if (IsKw("SIGNED")) {
    } else if (Token == myZEROFILL) {
      f->Zerofill = true;
      f->Unsigned = true;
    } else if (Token == myBINARY) {
      f->Binary = true;
    } else if (IsKw("ASCII")) {
      f->CharacterSet = "latin1";
    } else if (IsKw("UNICODE")) {
      f->CharacterSet = "ucs2";
    } else if (IsKw("BYTE")) {
    } else if (Token == myCHARACTER || IsKw("CHARSET")) {
      if (Token == myCHARACTER && !NextCheck(mySET)) return;
      NextToken();
      f->CharacterSet = ServerCharsetName(Token == tkString ? LiteralText : TokenText);
    } else if (Token == myCOLLATE) {
      NextToken();
      f->Collation = ServerCharsetName(Token == tkString ? LiteralText : TokenText);
    } else {
      break;
    }
    NextToken();
  }
  // What the server fills in for a type written without its size.
  if (IsIntegerType(f->DataType) && f->Precision == 0)
    f->Precision = DefaultDisplayWidth(f->DataType, f->Unsigned);
  if (f->DataType == dtDecimal && f->Precision == 0) f->Precision = 10;
  if (f->DataType == dtYear && f->Precision == 0) f->Precision = 4;
  if (f->DataType == dtBit && f->Precision == 0) f->Precision = 1;
  if ((f->DataType == dtChar || f->DataType == dtBinary) && f->Length == 0) f->Length = 1;
  if (f->DataType == dtFloat && f->Precision > 0 && f->Scale == 0 && f->Precision <= 53) {
    // FLOAT(p) is FLOAT up to 24 and DOUBLE above.
    if (f->Precision > 24) f->DataType = dtDouble;
    f->Precision = 0;
  }
  // CHAR ... BINARY is the binary collation of the column's set; without a set
  // of its own that is the table's, known once its options are read.
  if (!f->CharacterSet.empty()) ResolveBinaryAttribute(f, f->CharacterSet);
  if (Objs && Objs->MySQLServerOptions->SQLServerVersion != st_MariaDB_10x &&
      f->DataType == dtLongText && f->CheckExpression.rfind("(json_valid(", 0) == 0) {
    // MySQL knows JSON as a type of its own.
    f->DataType = dtDomain;
    f->DomainName = "json";
    f->CharacterSet.clear();
    f->Collation.clear();
    f->CheckExpression.clear();
  }
}

void TMySQLParser::ParseEnumValues(TFldData* f) {
  if (!CheckNext(tkLParen)) return;
  for (;;) {
    if (Token == myCharsetIntroducer) NextToken();
    if (!Check(tkString)) return;
    f->EnumValues.push_back(QuoteLiteral(LiteralText, srvMySQL));
    NextToken();
    if (Token != tkComma) break;
    NextToken();
  }
  CheckNext(tkRParen);
}

// ---- Column attributes ------------------------------------------------------------

std::string TMySQLParser::ParseDefaultValue(TFldData* f) {
  const int start = TokenStart;
  std::string value;
  if (Token == tkLParen) {
    // An expression default: the server writes it without its outer parentheses.
    value = MySQLCanonicalExpression(InnerText(ReadParenthesizedText()));
  } else if (Token == myNULL) {
    NextToken();
    return std::string();
  } else if (Token == tkString || Token == myCharsetIntroducer) {
    if (Token == myCharsetIntroducer) NextToken();
    if (!Check(tkString)) return std::string();
    std::string lit = LiteralText;
    NextToken();
    // Adjacent literals are one string.
    while (Token == tkString) {
      lit += LiteralText;
      NextToken();
    }
    if (IsNumericType(f->DataType) && !lit.empty()) {
      const std::string num = NormalizeNumber(TrimCopy(lit), *f);
      value = num != TrimCopy(lit) || num.find_first_not_of("-0123456789.") == std::string::npos
                  ? num
                  : QuoteLiteral(lit, srvMySQL);
    } else {
      value = QuoteLiteral(lit, srvMySQL);
    }
  } else if (Token == tkInteger || Token == tkFloat || Token == tkMinus || Token == tkPlus) {
    std::string sign;
    if (Token == tkMinus || Token == tkPlus) {
      sign = Token == tkMinus ? "-" : "";
      NextToken();
      if (Token != tkInteger && Token != tkFloat) {
        Error("DEFAUT " + sign + TokenText + " error...");
        return std::string();
      }
    }
    const std::string num = sign + LiteralText;
    NextToken();
    if (IsNumericType(f->DataType))
      value = NormalizeNumber(num, *f);
    else if (f->DataType == dtBit)
      value = num;
    else
      value = QuoteLiteral(num, srvMySQL);  // a number for a string or date column
  } else if (IsName() || Token == tkIdent) {
    std::string w = TokenText;
    const bool quoted = IdentQuoted;
    NextToken();
    if (!quoted && (SameTextAscii(w, "b") || SameTextAscii(w, "x")) && Token == tkString &&
        TokenStart == start + 1) {
      // b'0101' and x'1F'
      value = LowerAscii(w) + QuoteLiteral(LiteralText, srvMySQL);
      NextToken();
    } else if (!quoted && (SameTextAscii(w, "TRUE") || SameTextAscii(w, "FALSE"))) {
      value = SameTextAscii(w, "TRUE") ? "1" : "0";
    } else {
      int end = TokenStart;
      if (Token == tkLParen) {
        ReadParenthesizedText();
        end = TokenStart;
      }
      value = MySQLCanonicalExpression(SourceCopy(start, end - start));
    }
  } else {
    Error("DEFAUT " + TokenText + " error...");
    return std::string();
  }
  return value;
}

void TMySQLParser::ParseColumnAttributes(TFldData* f, TTblData* table) {
  const std::string tableName = table ? table->Name : std::string();
  std::string defaultValue, onUpdate;
  bool hasDefault = false;
  for (;;) {
    if (Token == myNOT) {
      NextToken();
      if (!Check(myNULL)) return;
      f->Nullable = false;
      NextToken();
    } else if (Token == myNULL) {
      NextToken();
    } else if (Token == myDEFAULT) {
      NextToken();
      defaultValue = ParseDefaultValue(f);
      hasDefault = true;
      if (StmtErrors > 0) return;
    } else if (Token == myON) {
      NextToken();
      if (!Check(myUPDATE)) return;
      NextToken();
      onUpdate = ParseDefaultValue(f);
      if (StmtErrors > 0) return;
    } else if (IsKw("AUTO_INCREMENT")) {
      f->AutoIncrement = true;
      NextToken();
    } else if (IsKw("INVISIBLE")) {
      f->Invisible = true;
      NextToken();
    } else if (IsKw("VISIBLE")) {
      NextToken();
    } else if (IsKw("COMMENT")) {
      NextToken();
      if (!Check(tkString)) return;
      f->Description = LiteralText;
      NextToken();
    } else if (Token == myCOLLATE) {
      NextToken();
      f->Collation = ServerCharsetName(Token == tkString ? LiteralText : TokenText);
      NextToken();
    } else if (Token == myCHARACTER || IsKw("CHARSET")) {
      if (Token == myCHARACTER && !NextCheck(mySET)) return;
      NextToken();
      f->CharacterSet = ServerCharsetName(Token == tkString ? LiteralText : TokenText);
      NextToken();
    } else if (IsKw("GENERATED") || Token == myAS) {
      if (Token != myAS) {
        NextToken();
        if (!CheckWord("ALWAYS")) return;
        NextToken();
        if (!Check(myAS)) return;
      }
      NextToken();
      const std::string expr = ReadParenthesizedText();
      if (StmtErrors > 0) return;
      f->SetBody("(" + MySQLCanonicalExpression(InnerText(expr)) + ")");
      f->Persisted = false;
      if (IsKw("STORED") || IsKw("PERSISTENT")) {
        f->Persisted = true;
        NextToken();
      } else if (IsKw("VIRTUAL")) {
        NextToken();
      }
    } else if (Token == myUNIQUE || (Token == myPRIMARY) || Token == myKEY) {
      const bool primary = Token == myPRIMARY || Token == myKEY;
      NextToken();
      if (Token == myKEY) NextToken();
      if (primary) {
        auto pk = std::make_unique<TCtrData>(Objs);
        pk->SetConstraintType(ctPrimaryKey);
        pk->SetTableName(tableName);
        auto col = std::make_unique<TFldData>(Objs, nullptr);
        col->SetName(f->Name);
        pk->Fields.Add(f->Name, std::move(col));
        f->Nullable = false;
        if (LogWanted()) DoLog("Primary Key: " + tableName + "(" + f->Name + ")");
        AddObject(pk, true);
      } else {
        f->KeyName = "UNIQUE";
      }
    } else if (IsKw("CHECK") || Token == myCONSTRAINT) {
      if (Token == myCONSTRAINT) {
        NextToken();
        if (IsName() && !IsKw("CHECK")) NextToken();  // a column check keeps no name
        if (!CheckWord("CHECK")) return;
      }
      NextToken();
      const std::string expr = ReadParenthesizedText();
      if (StmtErrors > 0) return;
      f->CheckExpression = "(" + MySQLCanonicalExpression(InnerText(expr)) + ")";
    } else if (Token == myREFERENCES) {
      auto fk = std::make_unique<TCtrData>(Objs);
      fk->SetConstraintType(ctForeignKey);
      fk->SetTableName(tableName);
      auto col = std::make_unique<TFldData>(Objs, nullptr);
      col->SetName(f->Name);
      fk->Fields.Add(f->Name, std::move(col));
      ParseReferences(fk.get());
      if (StmtErrors > 0) return;
      // A column's REFERENCES clause is taken by MariaDB as a foreign key.
      if (Objs && Objs->MySQLServerOptions->SQLServerVersion == st_MariaDB_10x) {
        int n = 1;
        while (Objs->FindConstraint(tableName + "." + tableName + "_ibfk_" + std::to_string(n))) ++n;
        fk->SetName(tableName + "_ibfk_" + std::to_string(n));
        PendingForeignKeys().push_back({tableName, std::string(), {f->Name}});
        AddObject(fk, true);
      }
    } else if (IsKw("COLUMN_FORMAT") || IsKw("STORAGE")) {
      NextToken();
      NextToken();
    } else if (IsKw("SRID")) {
      NextToken();
      NextToken();
    } else if (IsKw("WITH") || IsKw("WITHOUT")) {
      // WITH[OUT] SYSTEM VERSIONING
      NextToken();
      NextToken();
      NextToken();
    } else {
      break;
    }
  }
  if (!hasDefault || defaultValue.empty()) defaultValue.clear();
  if (!onUpdate.empty()) {
    if (defaultValue.empty() && f->Nullable) defaultValue = "NULL";
    defaultValue += (defaultValue.empty() ? "ON UPDATE " : " ON UPDATE ") + onUpdate;
  }
  f->DefaultValue = defaultValue;
  if (f->KeyName == "UNIQUE") {
    f->KeyName.clear();
    if (table) {
      auto idx = std::make_unique<TIdxData>(Objs);
      idx->Unique = true;
      idx->TableName = tableName;
      auto col = std::make_unique<TFldData>(Objs, nullptr);
      col->SetName(f->Name);
      idx->Fields.Add(f->Name, std::move(col));
      AddIndex(std::move(idx));
    }
  }
}

// ---- Keys and constraints ---------------------------------------------------------

void TMySQLParser::ParseKeyColumns(TNamedObjList<TFldData>& list) {
  if (!CheckNext(tkLParen)) return;
  for (;;) {
    if (Token == tkLParen) {
      // A functional key part: kept by its expression text.
      const std::string expr = ReadParenthesizedText();
      auto f = std::make_unique<TFldData>(Objs, nullptr);
      f->SetName(expr);
      list.Add(expr, std::move(f));
    } else {
      if (!Check(tkIdent)) return;
      auto f = std::make_unique<TFldData>(Objs, nullptr);
      f->SetName(TokenText);
      const std::string name = TokenText;
      NextToken();
      if (Token == tkLParen) {
        if (!NextCheck(tkInteger)) return;
        f->Length = IntValue;
        NextToken();
        if (!CheckNext(tkRParen)) return;
      }
      if (IsKw("DESC")) {
        f->SortOrder = 2;
        NextToken();
      } else if (IsKw("ASC")) {
        NextToken();
      }
      list.Add(name, std::move(f));
    }
    if (Token != tkComma) break;
    NextToken();
  }
  CheckNext(tkRParen);
}

void TMySQLParser::ParseIndexOptions(TIdxData* index) {
  for (;;) {
    if (IsKw("USING") || IsKw("TYPE")) {
      NextToken();
      const std::string method = UpperAscii(TokenText);
      if (method != "BTREE" && method != "HASH" && method != "RTREE") {
        Error("Must be: BTREE/HASH");
        return;
      }
      if (index) index->MySQLOptions->Method = method;
      NextToken();
    } else if (IsKw("COMMENT")) {
      NextToken();
      if (!Check(tkString)) return;
      if (index) index->Description = LiteralText;
      NextToken();
    } else if (IsKw("KEY_BLOCK_SIZE")) {
      NextToken();
      if (Token == tkEqual) NextToken();
      NextToken();
    } else if (IsKw("WITH")) {
      NextToken();
      if (!CheckWord("PARSER")) return;
      NextToken();
      if (index) {
        if (!index->FullTextOptions) index->FullTextOptions = std::make_unique<TFullTextIndexOptions>();
        index->FullTextOptions->Parser = TokenText;
      }
      NextToken();
    } else if (IsKw("VISIBLE") || IsKw("INVISIBLE") || IsKw("IGNORED")) {
      NextToken();
    } else if (Token == myNOT) {
      NextToken();
      if (!CheckWord("IGNORED")) return;
      NextToken();
    } else if (IsKw("CLUSTERING")) {
      NextToken();
      if (Token == tkEqual) NextToken();
      NextToken();
    } else {
      return;
    }
  }
}

void TMySQLParser::ParseTableKey(TTblData* /*table*/, const std::string& tableName,
                                 const std::string& ctrName) {
  if (Token == myPRIMARY) {
    NextToken();
    if (!CheckNext(myKEY)) return;
    auto pk = std::make_unique<TCtrData>(Objs);
    pk->SetConstraintType(ctPrimaryKey);
    pk->SetTableName(tableName);
    auto scratch = std::make_unique<TIdxData>(Objs);
    ParseIndexOptions(scratch.get());
    ParseKeyColumns(pk->Fields);
    ParseIndexOptions(scratch.get());
    if (StmtErrors > 0) return;
    if (LogWanted()) DoLog("Primary Key: " + pk->GetCreateSQL());
    AddObject(pk, true);
    return;
  }
  if (Token == myFOREIGN) return ParseForeignKey(tableName, ctrName);
  if (IsKw("CHECK")) return ParseCheck(tableName, ctrName);
  auto idx = std::make_unique<TIdxData>(Objs);
  idx->TableName = tableName;
  if (Token == myUNIQUE) {
    idx->Unique = true;
    NextToken();
  } else if (Token == myFULLTEXT) {
    idx->Fulltext = true;
    NextToken();
  } else if (Token == mySPATIAL) {
    idx->Spatial = true;
    NextToken();
  }
  if (Token == myKEY || Token == myINDEX) NextToken();
  std::string name = ctrName;
  if (Token != tkLParen && IsName() && !IsKw("USING") && !IsKw("TYPE")) {
    name = TokenText;
    NextToken();
  }
  ParseIndexOptions(idx.get());
  ParseKeyColumns(idx->Fields);
  ParseIndexOptions(idx.get());
  if (StmtErrors > 0) return;
  if (!name.empty()) idx->SetName(name);
  AddIndex(std::move(idx));
}

void TMySQLParser::ParseReferences(TCtrData* ctr) {
  if (!CheckNext(myREFERENCES)) return;
  const std::string ref = ReadName();
  if (ref.empty()) return;
  ctr->SetRefTableName(ref);
  if (Token == tkLParen) {
    ParseKeyColumns(ctr->RefFields);
  } else if (Objs) {
    // Without columns the key references the primary key.
    for (TDbObj* o : Objs->ObjectsOnTable(olCtr, ref))
      if (auto* c = o->As<TCtrData>(); c && c->ConstraintType == ctPrimaryKey)
        for (int i = 0; i < c->Fields.Count(); ++i) {
          auto f = std::make_unique<TFldData>(Objs, nullptr);
          f->SetName(c->Fields.Names(i));
          ctr->RefFields.Add(c->Fields.Names(i), std::move(f));
        }
  }
  if (IsKw("MATCH")) {
    NextToken();
    NextToken();
  }
  while (Token == myON) {
    NextToken();
    uint8_t* rule = Token == myDELETE ? &ctr->OnDelete : Token == myUPDATE ? &ctr->OnUpdate : nullptr;
    if (!rule) {
      Error("Missing: UPDATE/DELETE");
      return;
    }
    NextToken();
    if (IsKw("NO")) {
      NextToken();
      if (!IsKw("ACTION")) {
        Error("Must be: ACTION");
        return;
      }
      *rule = raNone;
    } else if (Token == myCASCADE) {
      *rule = raCascade;
    } else if (Token == myRESTRICT) {
      // RESTRICT and NO ACTION are the same in MySQL and the server writes neither.
      *rule = raNone;
    } else if (Token == mySET) {
      NextToken();
      if (Token == myDEFAULT) {
        *rule = raSetDefault;
      } else if (Token == myNULL) {
        *rule = raSetNull;
      } else {
        Error("Missing: DEFAULT/NULL");
        return;
      }
    } else {
      Error("Unknown action into UPDATE/DELETE rule.");
      return;
    }
    NextToken();
  }
}

void TMySQLParser::ParseForeignKey(const std::string& tableName, const std::string& ctrName) {
  if (!CheckNext(myFOREIGN) || !CheckNext(myKEY)) return;
  std::string indexName;
  if (Token != tkLParen && IsName()) {
    indexName = TokenText;
    NextToken();
  }
  auto fk = std::make_unique<TCtrData>(Objs);
  fk->SetConstraintType(ctForeignKey);
  fk->SetTableName(tableName);
  ParseKeyColumns(fk->Fields);
  if (StmtErrors > 0) return;
  ParseReferences(fk.get());
  if (StmtErrors > 0) return;
  std::string name = ctrName.empty() ? indexName : ctrName;
  if (name.empty() && Objs) {
    // The server's name for an unnamed foreign key.
    int n = 1;
    while (Objs->FindConstraint(tableName + "." + tableName + "_ibfk_" + std::to_string(n))) ++n;
    name = tableName + "_ibfk_" + std::to_string(n);
  }
  fk->SetName(name);
  TPendingForeignKey pending{tableName, indexName.empty() ? ctrName : indexName, {}};
  for (int i = 0; i < fk->Fields.Count(); ++i) pending.Columns.push_back(fk->Fields.Names(i));
  PendingForeignKeys().push_back(std::move(pending));
  if (LogWanted()) DoLog("Foreign Key: " + fk->GetCreateSQL());
  RemoveObject(olCtr, tableName + "." + name);
  AddObject(fk, true);
}

void TMySQLParser::ParseCheck(const std::string& tableName, const std::string& ctrName) {
  NextToken();
  const std::string expr = ReadParenthesizedText();
  if (StmtErrors > 0) return;
  auto ctr = std::make_unique<TCtrData>(Objs);
  ctr->SetConstraintType(ctCheck);
  ctr->SetTableName(tableName);
  std::string name = ctrName;
  if (name.empty() && Objs) {
    int n = 1;
    while (Objs->FindConstraint(tableName + ".CONSTRAINT_" + std::to_string(n))) ++n;
    name = "CONSTRAINT_" + std::to_string(n);
  }
  ctr->SetName(name);
  ctr->SetBody("(" + MySQLCanonicalExpression(InnerText(expr)) + ")");
  RemoveObject(olCtr, tableName + "." + name);
  AddObject(ctr, true);
}

void TMySQLParser::ParseTableOptions(TTblData* table) {
  TMySQLTableOptions& o = *table->MySQLOptions;
  for (;;) {
    if (Token == tkComma) {
      NextToken();
      continue;
    }
    if (Token == myDEFAULT) {
      NextToken();
      continue;
    }
    auto value = [&]() -> std::string {
      NextToken();
      if (Token == tkEqual) NextToken();
      std::string v = Token == tkString ? LiteralText : TokenText;
      if (Token == tkInteger || Token == tkFloat) v = LiteralText;
      NextToken();
      return v;
    };
    auto number = [&](int& target) {
      const std::string v = value();
      target = std::atoi(v.c_str());
    };
    if (IsKw("ENGINE") || IsKw("TYPE")) {
      std::string v = value();
      if (SameTextAscii(v, "HEAP")) v = "MEMORY";
      // The server spells the engines its own way.
      if (SameTextAscii(v, "INNODB")) v = "InnoDB";
      else if (SameTextAscii(v, "MYISAM")) v = "MyISAM";
      else if (SameTextAscii(v, "MEMORY")) v = "MEMORY";
      else if (SameTextAscii(v, "ARIA")) v = "Aria";
      else if (SameTextAscii(v, "CSV")) v = "CSV";
      else if (SameTextAscii(v, "ARCHIVE")) v = "ARCHIVE";
      o.Engine = v;
    } else if (Token == myCHARACTER) {
      if (!NextCheck(mySET)) return;
      o.DefaultCharset = ServerCharsetName(value());
    } else if (IsKw("CHARSET")) {
      o.DefaultCharset = ServerCharsetName(value());
    } else if (Token == myCOLLATE) {
      o.DefaultCollate = ServerCharsetName(value());
    } else if (IsKw("COMMENT")) {
      table->Description = value();
    } else if (IsKw("AUTO_INCREMENT")) {
      number(o.AutoIncrementStart);
    } else if (IsKw("ROW_FORMAT")) {
      o.RowFormat = UpperAscii(value());
      if (o.RowFormat == "DEFAULT") o.RowFormat.clear();
    } else if (IsKw("PACK_KEYS")) {
      o.PackKeys = UpperAscii(value());
    } else if (IsKw("AVG_ROW_LENGTH")) {
      number(o.AvgRowLength);
    } else if (IsKw("CHECKSUM") || IsKw("TABLE_CHECKSUM")) {
      number(o.Checksum);
    } else if (IsKw("DELAY_KEY_WRITE")) {
      number(o.DelayKeyWrite);
    } else if (IsKw("KEY_BLOCK_SIZE")) {
      number(o.KeyBlockSize);
    } else if (IsKw("MAX_ROWS")) {
      number(o.MaxRows);
    } else if (IsKw("MIN_ROWS")) {
      number(o.MinRows);
    } else if (IsKw("INSERT_METHOD")) {
      o.InsertMethod = UpperAscii(value());
    } else if (IsKw("CONNECTION")) {
      o.Connection = value();
    } else if (IsKw("PASSWORD")) {
      o.Password = value();
    } else if (IsKw("DATA") || Token == myINDEX) {
      const bool data = Token != myINDEX;
      NextToken();
      if (!CheckWord("DIRECTORY")) return;
      (data ? o.DataDirectory : o.IndexDirectory) = value();
    } else if (IsKw("STATS_AUTO_RECALC") || IsKw("STATS_PERSISTENT") || IsKw("STATS_SAMPLE_PAGES") ||
               IsKw("PAGE_CHECKSUM") || IsKw("TRANSACTIONAL") || IsKw("ENCRYPTED") ||
               IsKw("ENCRYPTION") || IsKw("ENCRYPTION_KEY_ID") || IsKw("PAGE_COMPRESSED") ||
               IsKw("PAGE_COMPRESSION_LEVEL") || IsKw("COMPRESSION") || IsKw("TABLESPACE") ||
               IsKw("SEQUENCE") || IsKw("IETF_QUOTES") || IsKw("STORAGE")) {
      value();
    } else if (IsKw("UNION")) {
      NextToken();
      if (Token == tkEqual) NextToken();
      ReadParenthesizedText();
    } else if (IsKw("WITH")) {
      // WITH SYSTEM VERSIONING
      NextToken();
      NextToken();
      NextToken();
    } else {
      return;
    }
  }
}

void TMySQLParser::ParseCreateIndex(bool unique, bool fulltext, bool spatial) {
  NextToken();  // INDEX
  SkipIfNotExists();
  if (!Check(tkIdent)) return;
  const std::string name = TokenText;
  NextToken();
  auto idx = std::make_unique<TIdxData>(Objs);
  idx->Unique = unique;
  idx->Fulltext = fulltext;
  idx->Spatial = spatial;
  idx->SetName(name);
  ParseIndexOptions(idx.get());
  if (!CheckNext(myON)) return;
  idx->TableName = ReadName();
  if (idx->TableName.empty()) return;
  ParseIndexOptions(idx.get());
  ParseKeyColumns(idx->Fields);
  ParseIndexOptions(idx.get());
  // ALGORITHM= and LOCK= say how, not what.
  while (IsKw("ALGORITHM") || Token == tkIdent) {
    if (!IsKw("ALGORITHM") && !IsKw("LOCK")) break;
    NextToken();
    if (Token == tkEqual) NextToken();
    NextToken();
  }
  if (StmtErrors > 0) return;
  StatementFound(skStatement, name);
  AddIndex(std::move(idx));
}

// ---- ALTER ------------------------------------------------------------------------

void TMySQLParser::ParseAlter() {
  NextToken();
  if (IsKw("ONLINE") || IsKw("IGNORE")) NextToken();
  if (Token == myTABLE) return ParseAlterTable();
  std::string algorithm, security;
  if (!ParseObjectOptions(algorithm, security)) return;
  if (IsKw("VIEW")) return ParseView(algorithm, security);
  if (IsKw("SEQUENCE")) return ParseSequence(true);
  if (Token == myDATABASE || IsKw("SCHEMA") || IsKw("PROCEDURE") || IsKw("FUNCTION") ||
      IsKw("EVENT") || IsKw("USER") || IsKw("SERVER") || IsKw("TABLESPACE")) {
    // Routine characteristics, database defaults and the like are passed over.
    PassOver(skStatement);
    return;
  }
  Error("Unknown/Invalid symbol in ALTER: " + std::string(TokenName.str()));
}

void TMySQLParser::ParseAlterTable() {
  NextToken();
  SkipIfExists();
  const std::string name = ReadName();
  if (name.empty()) return;
  TTblData* table = FindTable(name);
  // A table the script did not create: its changes are read into a scratch one.
  std::unique_ptr<TTblData> scratch;
  if (!table) {
    scratch = std::make_unique<TTblData>(Objs);
    scratch->SetName(name);
    table = scratch.get();
  }
  PendingForeignKeys().clear();
  auto placeColumn = [&](std::unique_ptr<TFldData> field, int oldIndex) {
    // FIRST or AFTER c place the column; otherwise it stays where it was or goes last.
    int at = oldIndex;
    if (IsKw("FIRST")) {
      at = 0;
      NextToken();
    } else if (IsKw("AFTER")) {
      NextToken();
      if (!Check(tkIdent)) return;
      const int after = table->Fields.IndexOf(TokenText);
      if (after < 0) {
        Error("Unknown column: " + TokenText);
        return;
      }
      at = after + 1;
      NextToken();
    }
    const std::string fname = field->Name;
    if (at < 0 || at >= table->Fields.Count()) {
      table->AddField(std::move(field));
    } else {
      field->Owner = table;
      field->TableName = table->Name;
      table->Fields.Insert(at, fname, std::move(field));
    }
    for (int i = 0; i < table->Fields.Count(); ++i)
      if (TFldData* f = table->Fields[i]) f->Position = i;
  };
  auto takeColumn = [&](const std::string& col) -> int {
    const int i = table->Fields.IndexOf(col);
    if (i < 0) return -1;
    if (Objs) Objs->RemoveFieldDependencies(table->Fields[i]);
    table->Fields.Delete(i);
    return i;
  };
  while (Token != tkTerm && Token != tkEOF && StmtErrors == 0) {
    if (Token == tkComma) {
      NextToken();
      continue;
    }
    if (Token == myADD) {
      NextToken();
      if (IsKw("COLUMN")) NextToken();
      SkipIfNotExists();
      if (Token == myCONSTRAINT || Token == myPRIMARY || Token == myUNIQUE || Token == myKEY ||
          Token == myINDEX || Token == myFULLTEXT || Token == mySPATIAL || Token == myFOREIGN ||
          IsKw("CHECK")) {
        ParseTableElement(table);
      } else if (Token == tkLParen) {
        NextToken();
        for (;;) {
          ParseTableElement(table);
          if (Token != tkComma || StmtErrors > 0) break;
          NextToken();
        }
        CheckNext(tkRParen);
      } else if (IsName()) {
        std::unique_ptr<TFldData> field = ParseColumnDef(table, table);
        if (!field) break;
        if (table->FindField(field->Name)) {
          Error("Duplicate column name: " + field->Name);
          break;
        }
        placeColumn(std::move(field), -1);
      } else {
        Error("Unknown/Invalid symbol in ALTER: " + std::string(TokenName.str()));
      }
    } else if (IsKw("MODIFY") || IsKw("CHANGE")) {
      const bool change = IsKw("CHANGE");
      NextToken();
      if (IsKw("COLUMN")) NextToken();
      SkipIfExists();
      if (!Check(tkIdent)) break;
      std::string oldName = TokenText;
      if (change) NextToken();
      std::unique_ptr<TFldData> field = ParseColumnDef(table, table);
      if (!field) break;
      if (!change) oldName = field->Name;
      const int at = takeColumn(oldName);
      if (at < 0 && !scratch) {
        Error("Unknown column: " + oldName);
        break;
      }
      placeColumn(std::move(field), at);
    } else if (Token == myDROP) {
      NextToken();
      if (Token == myPRIMARY) {
        NextToken();
        CheckNext(myKEY);
        for (TDbObj* o : std::vector<TDbObj*>(Objs ? Objs->ObjectsOnTable(olCtr, name) : std::vector<TDbObj*>()))
          if (auto* c = o->As<TCtrData>(); c && c->ConstraintType == ctPrimaryKey)
            RemoveObject(olCtr, c->GetListKey());
      } else if (Token == myINDEX || Token == myKEY) {
        NextToken();
        SkipIfExists();
        if (!Check(tkIdent)) break;
        RemoveObject(olIdx, name + "." + TokenText);
        NextToken();
      } else if (Token == myFOREIGN || Token == myCONSTRAINT || IsKw("CHECK")) {
        if (Token == myFOREIGN) {
          NextToken();
          if (!Check(myKEY)) break;
        }
        NextToken();
        SkipIfExists();
        if (!Check(tkIdent)) break;
        RemoveObject(olCtr, name + "." + TokenText);
        NextToken();
      } else {
        if (IsKw("COLUMN")) NextToken();
        SkipIfExists();
        if (!Check(tkIdent)) break;
        takeColumn(TokenText);
        NextToken();
      }
    } else if (Token == myALTER) {
      NextToken();
      if (IsKw("COLUMN")) NextToken();
      if (!Check(tkIdent)) break;
      TFldData* f = table->FindField(TokenText);
      NextToken();
      if (Token == mySET) {
        NextToken();
        if (Token == myDEFAULT) {
          NextToken();
          TFldData tmp(Objs, nullptr);
          if (f) tmp.AssignType(*f);
          const std::string v = ParseDefaultValue(f ? f : &tmp);
          if (f) f->DefaultValue = v;
        } else if (IsKw("VISIBLE") || IsKw("INVISIBLE")) {
          if (f) f->Invisible = IsKw("INVISIBLE");
          NextToken();
        }
      } else if (Token == myDROP) {
        NextToken();
        if (!CheckNext(myDEFAULT)) break;
        if (f) f->DefaultValue.clear();
      } else {
        // ALTER INDEX x [NOT] IGNORED / VISIBLE
        while (Token != tkComma && Token != tkTerm && Token != tkEOF) NextToken();
      }
    } else if (IsKw("RENAME")) {
      NextToken();
      if (IsKw("COLUMN")) {
        NextToken();
        if (!Check(tkIdent)) break;
        const int i = table->Fields.IndexOf(TokenText);
        NextToken();
        if (!CheckWord("TO")) break;
        NextToken();
        if (!Check(tkIdent)) break;
        if (i >= 0) {
          table->Fields.Rename(i, TokenText);
          table->Fields[i]->SetName(TokenText);
        }
        NextToken();
      } else if (Token == myINDEX || Token == myKEY) {
        NextToken();
        if (!Check(tkIdent)) break;
        const std::string from = TokenText;
        NextToken();
        if (!CheckWord("TO")) break;
        NextToken();
        if (!Check(tkIdent)) break;
        if (Objs)
          if (TIdxData* idx = Objs->FindIndex(name + "." + from)) {
            auto copy = std::make_unique<TIdxData>(Objs);
            copy->TableName = idx->TableName;
            copy->Unique = idx->Unique;
            copy->Fulltext = idx->Fulltext;
            copy->Spatial = idx->Spatial;
            copy->MySQLOptions->Method = idx->MySQLOptions->Method;
            for (const auto& e : idx->Fields) {
              auto f = std::make_unique<TFldData>(Objs, nullptr);
              if (e.Obj) f->Assign(*e.Obj);
              copy->Fields.Add(e.Name, std::move(f));
            }
            copy->SetName(TokenText);
            RemoveObject(olIdx, name + "." + from);
            AddIndex(std::move(copy));
          }
        NextToken();
      } else {
        Error("Renaming a table is not supported: " + name);
        break;
      }
    } else if (IsKw("CONVERT")) {
      NextToken();
      if (!CheckWord("TO")) break;
      NextToken();
      if (Token == myCHARACTER) NextToken();
      if (Token == mySET) NextToken();
      table->MySQLOptions->DefaultCharset = TokenText;
      NextToken();
      if (Token == myCOLLATE) {
        NextToken();
        table->MySQLOptions->DefaultCollate = TokenText;
        NextToken();
      }
      for (const auto& e : table->Fields)
        if (e.Obj && e.Obj->HasMySQLCharset()) {
          e.Obj->CharacterSet.clear();
          e.Obj->Collation.clear();
        }
    } else if (IsKw("ALGORITHM") || IsKw("LOCK")) {
      NextToken();
      if (Token == tkEqual) NextToken();
      NextToken();
    } else if (IsKw("DISABLE") || IsKw("ENABLE")) {
      NextToken();
      NextToken();
    } else if (IsKw("FORCE")) {
      NextToken();
    } else if (IsKw("ORDER")) {
      while (Token != tkComma && Token != tkTerm && Token != tkEOF) NextToken();
    } else {
      const int before = TokenStart;
      ParseTableOptions(table);
      if (TokenStart == before) {
        Error("Unknown/Invalid symbol in ALTER: " + std::string(TokenName.str()) +
              (Token == tkIdent ? " " + TokenText : std::string()));
        break;
      }
    }
  }
  if (StmtErrors > 0) return;
  if (!scratch) NormalizeColumnCharsets(table);
  StatementFound(skStatement, name);
  EnsureForeignKeyIndex(nullptr);
}

// ---- Views, triggers, routines ---------------------------------------------------

void TMySQLParser::ParseView(const std::string& algorithm, const std::string& security) {
  NextToken();  // VIEW
  SkipIfNotExists();
  const std::string name = ReadName();
  if (name.empty()) return;
  auto view = std::make_unique<TViwData>(Objs);
  view->SetName(name);
  CurObject = view.get();
  if (algorithm != "UNDEFINED") view->Algorithm = algorithm;
  if (security != "DEFINER") view->SqlSecurity = security;
  if (Token == tkLParen) {
    for (;;) {
      NextToken();
      if (!Check(tkIdent)) return;
      auto col = std::make_unique<TFldData>(Objs, view.get());
      col->SetName(TokenText);
      view->Columns.Add(TokenText, std::move(col));
      NextToken();
      if (Token != tkComma) break;
    }
    if (!CheckNext(tkRParen)) return;
  }
  if (!Check(myAS)) return;
  NextToken();
  const int start = TokenStart;
  const int end = ScanToTerminator(start);
  view->SetBody(WithoutOwnDatabase(NormalizeBlock(SourceCopy(start, end - start))));
  MoveTo(end);
  NextToken();
  CurObject = nullptr;
  StatementFound(skStatement, name);
  if (LogWanted()) DoLog("View: " + name);
  RemoveObject(olViw, name);  // CREATE OR REPLACE, ALTER VIEW
  AddObject(view, true);
}

void TMySQLParser::ParseTrigger() {
  NextToken();  // TRIGGER
  SkipIfNotExists();
  const int headerStart = TokenStart;
  const std::string name = ReadName();
  if (name.empty()) return;
  auto trg = std::make_unique<TTrgData>(Objs);
  trg->SetName(name);
  CurObject = trg.get();
  if (IsKw("BEFORE"))
    trg->TriggerTime = ttBefore;
  else if (IsKw("AFTER"))
    trg->TriggerTime = ttAfter;
  else {
    Error("Must be: BEFORE / AFTER");
    return;
  }
  NextToken();
  if (Token == myINSERT)
    trg->Events = teInsert;
  else if (Token == myUPDATE)
    trg->Events = teUpdate;
  else if (Token == myDELETE)
    trg->Events = teDelete;
  else {
    Error("Missing: INSERT / UPDATE / DELETE");
    return;
  }
  trg->TypeCode = (trg->TriggerTime == ttBefore ? 1 : 2) +
                  2 * (trg->Events == teInsert ? 0 : trg->Events == teUpdate ? 1 : 2);
  NextToken();
  if (!CheckNext(myON)) return;
  const std::string table = ReadName();
  if (table.empty()) return;
  trg->SetTableName(table);
  if (!CheckWord("FOR")) return;
  NextToken();
  if (!CheckWord("EACH")) return;
  NextToken();
  if (!CheckWord("ROW")) return;
  // The server keeps the header and what follows the order clause as
  // written, without the clause itself.
  int separatorStart = CurrentIndex();
  trg->HeaderText = NormalizeBlock(SourceCopy(headerStart, separatorStart - headerStart));
  NextToken();
  trg->ForEachRow = true;
  if (IsKw("FOLLOWS") || IsKw("PRECEDES")) {
    trg->OrderPrecedes = IsKw("PRECEDES");
    NextToken();
    if (!Check(tkIdent)) return;
    trg->OrderTrigger = TokenText;
    separatorStart = CurrentIndex();
    NextToken();
    if (Token == tkDot) {  // a name qualified with its database
      NextToken();
      if (!Check(tkIdent)) return;
      trg->OrderTrigger = TokenText;
      separatorStart = CurrentIndex();
      NextToken();
    }
  }
  const std::string separator = SourceCopy(separatorStart, TokenStart - separatorStart);
  const size_t lastBreak = separator.rfind('\n');
  trg->BodySeparator = lastBreak == std::string::npos ? separator : "\r\n" + separator.substr(lastBreak + 1);
  trg->Position = ++TriggerCount;  // the order of the script, until FinishParse
  trg->HeaderText = WithoutOwnDatabase(trg->HeaderText);
  trg->SetBody(WithoutOwnDatabase(ReadRoutineBody()));
  CurObject = nullptr;
  if (LogWanted()) DoLog("Trigger: " + name);
  StatementFound(skTrigger, name);
  RemoveObject(olTrg, name);
  AddObject(trg, true);
}

void TMySQLParser::ParseRoutineParams(TPrcData* proc) {
  const int start = TokenStart;
  if (!CheckNext(tkLParen)) return;
  while (Token != tkRParen && Token != tkEOF && StmtErrors == 0) {
    uint8_t direction = proc->IsFunction ? pdNone : pdIn;
    if (Token == tkIdent && !IdentQuoted && (IsWord("IN") || IsWord("OUT") || IsWord("INOUT"))) {
      direction = IsWord("IN") ? pdIn : IsWord("OUT") ? pdOut : pdInOut;
      NextToken();
    }
    std::unique_ptr<TFldData> p = ParseColumnDef(nullptr, proc);
    if (!p) return;
    ResolveBinaryAttribute(p.get(), "utf8mb4");
    p->Direction = direction;
    p->Nullable = true;
    const std::string pname = p->Name;
    proc->Params.Add(pname, std::move(p));
    if (Token != tkComma) break;
    NextToken();
  }
  if (Token == tkRParen) proc->ParamsText = NormalizeBlock(SourceCopy(start, CurrentIndex() - start));
  CheckNext(tkRParen);
}

void TMySQLParser::ParseCharacteristics(TPrcData* proc) {
  for (;;) {
    if (Token == myNOT) {
      NextToken();
      if (!CheckWord("DETERMINISTIC")) return;
      NextToken();  // the default: not written
    } else if (IsKw("DETERMINISTIC")) {
      proc->Characteristics.set(pcDeterministic);
      NextToken();
    } else if (IsKw("COMMENT")) {
      NextToken();
      if (!Check(tkString)) return;
      proc->Description = LiteralText;
      NextToken();
    } else if (IsKw("LANGUAGE")) {
      NextToken();
      if (!Check(mySQL)) return;
      NextToken();  // the only language: not written
    } else if (IsKw("NO")) {
      NextToken();
      if (!Check(mySQL)) return;
      proc->Characteristics.set(pcNoSql);
      NextToken();
    } else if (IsKw("CONTAINS")) {
      NextToken();
      if (!Check(mySQL)) return;
      NextToken();  // the default
    } else if (IsKw("READS") || IsKw("MODIFIES")) {
      const bool reads = IsKw("READS");
      NextToken();
      if (!CheckNext(mySQL)) return;
      if (!CheckWord("DATA")) return;
      NextToken();
      proc->Characteristics.set(reads ? pcReadsSqlData : pcModifiesSqlData);
    } else if (Token == mySQL) {
      NextToken();
      if (!CheckWord("SECURITY")) return;
      NextToken();
      if (IsKw("INVOKER"))
        proc->Characteristics.set(pcSqlSecurityInvoker);
      else if (!IsKw("DEFINER")) {
        Error("Missing: DEFINER / INVOKER");
        return;
      }
      NextToken();
    } else {
      return;
    }
  }
}

void TMySQLParser::ParseRoutine(bool isProcedure) {
  NextToken();  // PROCEDURE / FUNCTION
  SkipIfNotExists();
  const std::string name = ReadName();
  if (name.empty()) return;
  auto proc = std::make_unique<TPrcData>(Objs);
  proc->SetName(name);
  proc->IsFunction = !isProcedure;
  CurObject = proc.get();
  ParseRoutineParams(proc.get());
  if (StmtErrors > 0) return;
  if (!isProcedure) {
    if (!CheckWord("RETURNS")) return;
    NextToken();
    auto result = std::make_unique<TFldData>(Objs, proc.get());
    result->SetName("RETURNS");
    ParseColumnType(result.get());
    if (StmtErrors > 0) return;
    ResolveBinaryAttribute(result.get(), "utf8mb4");
    proc->Results.Add("RETURNS", std::move(result));
  }
  ParseCharacteristics(proc.get());
  if (StmtErrors > 0) return;
  // The dump names the database's character set on every character
  // parameter and result; a set with its default collation says nothing more
  // than leaving it out does.
  auto plainCharset = [](TFldData* f) {
    if (!f || f->CharacterSet.empty()) return;
    if (f->Collation.empty() || SameTextAscii(f->Collation, f->CharacterSet + "_general_ci")) {
      f->CharacterSet.clear();
      f->Collation.clear();
    }
  };
  for (const auto& e : proc->Params) plainCharset(e.Obj.get());
  for (const auto& e : proc->Results) plainCharset(e.Obj.get());
  proc->SetBody(WithoutOwnDatabase(ReadRoutineBody()));
  CurObject = nullptr;
  if (LogWanted()) DoLog((isProcedure ? "Procedure: " : "Function: ") + name);
  StatementFound(skProcedure, name);
  if (Objs)
    if (TPrcData* old = Objs->FindProcedure(name)) RemoveObject(olPrc, old->GetListKey());
  AddObject(proc, true);
}

// ---- Closing pass -----------------------------------------------------------------

void TMySQLParser::LinkBodyNames(TDbObj* obj) {
  const std::string& s = obj->Body;
  const size_t n = s.size();
  size_t i = 0;
  auto link = [&](const std::string& word) {
    TDbObj* found = nullptr;
    if (TViwData* v = Objs->FindView(word)) found = v;
    else if (TTblData* t = Objs->FindTable(word)) found = t;
    else if (TPrcData* p = Objs->FindProcedure(word)) found = p;
    if (found && found != obj) AddDepend(obj, found, std::string());
  };
  while (i < n) {
    const char c = s[i];
    if (c == '\'' || c == '"') {
      size_t k = i + 1;
      while (k < n && s[k] != c) {
        if (s[k] == '\\') ++k;
        ++k;
      }
      i = k + 1;
    } else if (c == '`') {
      const size_t e = s.find('`', i + 1);
      const size_t end = e == std::string::npos ? n : e;
      link(s.substr(i + 1, end - i - 1));
      i = end + 1;
    } else if (IsWordStart(c)) {
      size_t k = i;
      while (k < n && IsWordChar(s[k])) ++k;
      std::string w = s.substr(i, k - i);
      if (!CaseSensitive()) w = UpperAscii(w);
      link(w);
      i = k;
    } else if (c == '#' || (c == '-' && i + 1 < n && s[i + 1] == '-')) {
      while (i < n && s[i] != '\n') ++i;
    } else if (c == '/' && i + 1 < n && s[i + 1] == '*') {
      const size_t e = s.find("*/", i + 2);
      i = e == std::string::npos ? n : e + 2;
    } else {
      ++i;
    }
  }
}

void TMySQLParser::OrderTriggers() {
  // Each trigger fires after those created before it for the same table,
  // time and event, unless it FOLLOWS or PRECEDES one of them.
  std::vector<TTrgData*> all;
  TObjList& list = Objs->List(olTrg);
  for (int i = 0; i < list.Count(); ++i)
    if (auto* t = list.Objects(i) ? list.Objects(i)->As<TTrgData>() : nullptr) all.push_back(t);
  std::sort(all.begin(), all.end(), [](TTrgData* a, TTrgData* b) { return a->Position < b->Position; });
  std::map<std::string, std::vector<TTrgData*>> groups;
  for (TTrgData* t : all) {
    std::vector<TTrgData*>& g =
        groups[t->TableName + '\x01' + char('0' + t->TriggerTime) + char('0' + t->Events)];
    auto at = g.end();
    if (!t->OrderTrigger.empty()) {
      auto other = std::find_if(g.begin(), g.end(), [&](TTrgData* o) { return o->Name == t->OrderTrigger; });
      if (other != g.end()) at = t->OrderPrecedes ? other : other + 1;
    }
    g.insert(at, t);
  }
  for (auto& [key, g] : groups)
    for (size_t i = 0; i < g.size(); ++i) {
      g[i]->Position = static_cast<int32_t>(i + 1);
      g[i]->OrderPrev = i > 0 ? g[i - 1] : nullptr;
      g[i]->OrderNext = i + 1 < g.size() ? g[i + 1] : nullptr;
    }
}

void TMySQLParser::FinishParse() {
  TCustomSQLParser::FinishParse();
  if (!Objs) return;
  OrderTriggers();
  for (TObjListId id : {olViw, olPrc, olTrg}) {
    TObjList& list = Objs->List(id);
    for (int i = 0; i < list.Count(); ++i)
      if (TDbObj* o = list.Objects(i)) LinkBodyNames(o);
  }
}

// ---- View comparison --------------------------------------------------------------

std::string MySQLViewCompareForm(std::string_view text) {
  struct TTok {
    std::string Text;
    char Kind;  // 'w' word, 'k' keyword, 's' string, 'n' number, 'p' punctuation
  };
  std::vector<TTok> toks;
  const size_t n = text.size();
  size_t i = 0;
  while (i < n) {
    const char c = text[i];
    if (IsBlankChar(c)) {
      ++i;
    } else if (c == '#' || (c == '-' && i + 1 < n && text[i + 1] == '-')) {
      while (i < n && text[i] != '\n') ++i;
    } else if (c == '/' && i + 1 < n && text[i + 1] == '*') {
      const size_t e = text.find("*/", i + 2);
      i = e == std::string_view::npos ? n : e + 2;
    } else if (c == '\'' || c == '"') {
      toks.push_back({QuoteLiteral(ReadLiteral(text, i), srvMySQL), 's'});
    } else if (c == '`') {
      toks.push_back({LowerCopy(ReadLiteral(text, i)), 'w'});
    } else if (IsDigitChar(c)) {
      size_t k = i;
      while (k < n && (IsWordChar(text[k]) || text[k] == '.')) ++k;
      toks.push_back({std::string(text.substr(i, k - i)), 'n'});
      i = k;
    } else if (IsWordStart(c)) {
      size_t k = i;
      while (k < n && IsWordChar(text[k])) ++k;
      const std::string_view w = text.substr(i, k - i);
      i = k;
      if (w[0] == '_' && i < n && text[i] == '\'') continue;  // an introducer
      toks.push_back({LowerCopy(w), IsExpressionWord(w) ? 'k' : 'w'});
    } else {
      size_t k = i + 1;
      if (std::string_view("<>=!|&:").find(c) != std::string_view::npos)
        while (k < n && std::string_view("<>=!|&").find(text[k]) != std::string_view::npos) ++k;
      toks.push_back({std::string(text.substr(i, k - i)), 'p'});
      i = k;
    }
  }
  // The server writes LENGTH as its synonym OCTET_LENGTH.
  for (size_t k = 0; k + 1 < toks.size(); ++k)
    if (toks[k].Kind == 'w' && toks[k].Text == "length" && toks[k + 1].Text == "(")
      toks[k].Text = "octet_length";
  // The server writes an ORDER BY that names an alias of the outer select
  // list with the aliased expression.
  {
    std::vector<std::pair<std::string, std::vector<TTok>>> aliases;
    std::vector<TTok> out;
    int depth = 0;
    size_t itemStart = 0;
    bool inSelect = false, inOrder = false;
    for (size_t k = 0; k < toks.size(); ++k) {
      const TTok& t = toks[k];
      if (t.Text == "(") ++depth;
      if (t.Text == ")") --depth;
      if (depth == 0 && t.Kind == 'k') {
        if (t.Text == "select" && aliases.empty()) {
          inSelect = true;
          itemStart = out.size() + 1;
        } else if (inSelect && t.Text == "from") {
          inSelect = false;
        } else if (t.Text == "order" && k + 1 < toks.size() && toks[k + 1].Text == "by") {
          inOrder = true;
        }
      }
      const bool itemEnd = depth == 0 && (t.Text == "," || (t.Kind == 'k' && t.Text == "from"));
      if (inSelect || (itemEnd && t.Text == "from")) {
        // "expr AS alias" at the end of an item of the select list.
        if (itemEnd && out.size() >= itemStart + 3 && out[out.size() - 2].Text == "as")
          aliases.emplace_back(out.back().Text,
                               std::vector<TTok>(out.begin() + itemStart, out.end() - 2));
        if (itemEnd) itemStart = out.size() + 1;
      }
      if (inOrder && depth == 0 && t.Kind == 'w' && k > 0 &&
          (toks[k - 1].Text == "by" || toks[k - 1].Text == ",") &&
          (k + 1 == toks.size() || toks[k + 1].Text == "," || toks[k + 1].Kind == 'k' ||
           toks[k + 1].Text == ")")) {
        auto alias = std::find_if(aliases.begin(), aliases.end(),
                                  [&](const auto& e) { return e.first == t.Text; });
        if (alias != aliases.end()) {
          out.insert(out.end(), alias->second.begin(), alias->second.end());
          continue;
        }
      }
      out.push_back(t);
    }
    toks = std::move(out);
  }
  // Qualifiers, AS, ASC (the default order), INNER, OUTER.
  std::vector<TTok> a;
  for (size_t k = 0; k < toks.size(); ++k) {
    const TTok& t = toks[k];
    if (t.Kind == 'w' && k + 1 < toks.size() && toks[k + 1].Text == ".") {
      ++k;
      continue;
    }
    if (t.Kind == 'k' && (t.Text == "as" || t.Text == "asc" || t.Text == "inner" || t.Text == "outer"))
      continue;
    a.push_back(t);
  }
  // Parentheses that are no function's.
  std::vector<TTok> b;
  std::vector<bool> kept;
  for (size_t k = 0; k < a.size(); ++k) {
    const TTok& t = a[k];
    if (t.Text == "(") {
      const bool call = !b.empty() && b.back().Kind == 'w';
      kept.push_back(call);
      if (!call) continue;
      // COUNT(*) is COUNT(0).
      if (b.back().Text == "count" && k + 2 < a.size() && a[k + 1].Text == "*" && a[k + 2].Text == ")") {
        b.push_back(t);
        b.push_back({"0", 'n'});
        ++k;
        continue;
      }
    } else if (t.Text == ")") {
      const bool call = !kept.empty() && kept.back();
      if (!kept.empty()) kept.pop_back();
      if (!call) continue;
    }
    // An alias that repeats its column.
    if (t.Kind == 'w' && !b.empty() && b.back().Kind == 'w' && b.back().Text == t.Text) continue;
    b.push_back(t);
  }
  std::string out;
  for (const TTok& t : b) {
    if (!out.empty()) out += ' ';
    out += t.Text;
  }
  return out;
}
