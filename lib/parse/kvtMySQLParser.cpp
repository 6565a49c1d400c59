#include "parse/kvtMySQLParser.h"

#include <iterator>

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
