#include "parse/kvtASAParser.h"

#include <iterator>

namespace {

constexpr TKeywordRow KeywordRows[] = {
    {"ADD", asaADD},
    {"ALL", asaALL},
    {"ALTER", asaALTER},
    {"AND", asaAND},
    {"ANY", asaANY},
    {"AS", asaAS},
    {"ASC", asaASC},
    {"BEGIN", asaBEGIN},
    {"BETWEEN", asaBETWEEN},
    {"BIGINT", asaBIGINT},
    {"BINARY", asaBINARY},
    {"BIT", asaBIT},
    {"BY", asaBY},
    {"CALL", asaCALL},
    {"CASCADE", asaCASCADE},
    {"CHAR", asaCHAR},
    {"CHARACTER", asaCHARACTER},
    {"CHECK", asaCHECK},
    {"CLOSE", asaCLOSE},
    {"COMMENT", asaCOMMENT},
    {"COMMIT", asaCOMMIT},
    {"CONNECT", asaCONNECT},
    {"CONSTRAINT", asaCONSTRAINT},
    {"CREATE", asaCREATE},
    {"CURRENT", asaCURRENT},
    {"CURRENT_TIMESTAMP", asaCURRENT_TIMESTAMP},
    {"CURRENT_USER", asaCURRENT_USER},
    {"DATE", asaDATE},
    {"DBSPACE", asaDBSPACE},
    {"DEC", asaDEC},
    {"DECIMAL", asaDECIMAL},
    {"DECLARE", asaDECLARE},
    {"DEFAULT", asaDEFAULT},
    {"DELETE", asaDELETE},
    {"DESC", asaDESC},
    {"DOUBLE", asaDOUBLE},
    {"DROP", asaDROP},
    {"ENCRYPTED", asaENCRYPTED},
    {"END", asaEND},
    {"EXCEPTION", asaEXCEPTION},
    {"EXEC", asaEXEC},
    {"EXECUTE", asaEXECUTE},
    {"FLOAT", asaFLOAT},
    {"FOR", asaFOR},
    {"FOREIGN", asaFOREIGN},
    {"FROM", asaFROM},
    {"GRANT", asaGRANT},
    {"GROUP", asaGROUP},
    {"IDENTIFIED", asaIDENTIFIED},
    {"IF", asaIF},
    {"IN", asaIN},
    {"INDEX", asaINDEX},
    {"INOUT", asaINOUT},
    {"INSERT", asaINSERT},
    {"INT", asaINT},
    {"INTEGER", asaINTEGER},
    {"INTO", asaINTO},
    {"IS", asaIS},
    {"KEY", asaKEY},
    {"LONG", asaLONG},
    {"MEMBERSHIP", asaMEMBERSHIP},
    {"MESSAGE", asaMESSAGE},
    {"MODE", asaMODE},
    {"MODIFY", asaMODIFY},
    {"NATURAL", asaNATURAL},
    {"NO", asaNO},
    {"NOT", asaNOT},
    {"NOTIFY", asaNOTIFY},
    {"NULL", asaNULL},
    {"NUMERIC", asaNUMERIC},
    {"OF", asaOF},
    {"OFF", asaOFF},
    {"ON", asaON},
    {"OPEN", asaOPEN},
    {"OPTION", asaOPTION},
    {"OPTIONS", asaOPTIONS},
    {"OR", asaOR},
    {"ORDER", asaORDER},
    {"OUT", asaOUT},
    {"OUTER", asaOUTER},
    {"PRECISION", asaPRECISION},
    {"PRIMARY", asaPRIMARY},
    {"PRIVILEGES", asaPRIVILEGES},
    {"PROC", asaPROC},
    {"PROCEDURE", asaPROCEDURE},
    {"PUBLICATION", asaPUBLICATION},
    {"REAL", asaREAL},
    {"REFERENCES", asaREFERENCES},
    {"REMAME", asaREMAME},
    {"REMOTE", asaREMOTE},
    {"RESOURCE", asaRESOURCE},
    {"RESTORE", asaRESTORE},
    {"RESTRICT", asaRESTRICT},
    {"REVOKE", asaREVOKE},
    {"SELECT", asaSELECT},
    {"SET", asaSET},
    {"SETUSER", asaSETUSER},
    {"SMALLINT", asaSMALLINT},
    {"START", asaSTART},
    {"TABLE", asaTABLE},
    {"TEMPORARY", asaTEMPORARY},
    {"TIME", asaTIME},
    {"TIMESTAMP", asaTIMESTAMP},
    {"TINYINT", asaTINYINT},
    {"TO", asaTO},
    {"TRAN", asaTRAN},
    {"TRANSACTION", asaTRANSACTION},
    {"TRIGGER", asaTRIGGER},
    {"TRUNCATE", asaTRUNCATE},
    {"UNIQUE", asaUNIQUE},
    {"UNIQUEIDENTIFIER", asaUNIQUEIDENTIFIER},
    {"UNKNOWN", asaUNKNOWN},
    {"UNSIGNED", asaUNSIGNED},
    {"UPDATE", asaUPDATE},
    {"USER", asaUSER},
    {"USING", asaUSING},
    {"VALUES", asaVALUES},
    {"VARBINARY", asaVARBINARY},
    {"VARCHAR", asaVARCHAR},
    {"VARIABLE", asaVARIABLE},
    {"VARYING", asaVARYING},
    {"VIEW", asaVIEW},
    {"WHEN", asaWHEN},
    {"WITH", asaWITH},
    {"WORK", asaWORK},
};
static_assert(KeywordRowsSorted(KeywordRows), "keyword rows must be sorted");

constexpr const char* ReservedWords[] = {
    "BACKUP", "BETWEEN", "BOTTOM", "BREAK", "CAPABILITY", "CASE", "CAST", "CHAR_CONVERT",
    "CHECKPOINT", "CONFLICT", "CONTAINS", "CONTINUE", "CONVERT", "CROSS", "CUBE", "CURSOR",
    "DBSPACE", "DEALLOCATE", "DELETING", "DISTINCT", "DO", "DYNAMIC", "ELSE", "ELSEIF", "ENDIF",
    "ESCAPE", "EXCEPT", "EXISTING", "EXISTS", "EXTERNLOGIN", "FETCH", "FIRST", "FORCE", "FORWARD",
    "FULL", "GOTO", "HAVING", "HOLDLOCK", "INDEX_LPAREN", "INNER", "INSENSITIVE", "INSERTING",
    "INSTALL", "INSTEAD", "INTEGRATED", "INTERSECT", "IQ", "ISOLATION", "JOIN", "LATERAL", "LEFT",
    "LIKE", "LOCK", "LOGIN", "MATCH", "NEW", "NOHOLDLOCK", "OTHERS", "OVER", "PASSTHROUGH",
    "PREPARE", "PRINT", "PUBLICATION", "RAISERROR", "READTEXT", "REFERENCE", "RELEASE",
    "REORGANIZE", "RETURN", "RIGHT", "ROLLBACK", "ROLLUP", "SAVE", "SAVEPOINT", "SCROLL",
    "SENSITIVE", "SESSION", "SHARE", "SOME", "SQLCODE", "SQLSTATE", "START", "STOP", "SUBTRANS",
    "SUBTRANSACTION", "SYNCHRONIZE", "SYNTAX_ERROR", "THEN", "TOP", "TRAN", "TSEQUAL", "UNBOUNDED",
    "UNION", "UPDATING", "VALIDATE", "WAIT", "WAITFOR", "WHERE", "WHILE", "WINDOW", "WITHIN",
    "WITH_CUBE", "WITH_LPAREN", "WITH_ROLLUP", "WRITETEXT",
};
static_assert(WordListSorted(ReservedWords), "reserved words must be sorted and unique");

bool IsNameStart(unsigned char c) {
  const unsigned char u = KeywordUpper(c);
  return (u >= 'A' && u <= 'Z') || c == '#' || c == '$' || c == '@' || c == '_';
}

bool IsRegularName(const std::string& name) {
  if (!IsNameStart(static_cast<unsigned char>(name[0]))) return false;
  for (size_t i = 1; i < name.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(name[i]);
    if (!(IsNameStart(c) || (c >= '0' && c <= '9'))) return false;
  }
  return true;
}

}  // namespace

const TKeywordRow* ASAKeywordRows(size_t& count) {
  count = std::size(KeywordRows);
  return KeywordRows;
}

const char* const* ASAReservedWords(size_t& count) {
  count = std::size(ReservedWords);
  return ReservedWords;
}

TTokenKind IsASAKeyword(const std::string& word) {
  const TKeywordRow* row = FindKeywordRow(KeywordRows, std::size(KeywordRows), word);
  return row ? row->Kind : TTokenKind(tkIdent);
}

std::string QuoteASAName(const std::string& name) {
  if (name.empty()) return name;
  if (IsASAKeyword(name) != tkIdent ||
      WordListContains(ReservedWords, std::size(ReservedWords), name)) {
    std::string upper(name);
    for (char& c : upper) c = static_cast<char>(KeywordUpper(static_cast<unsigned char>(c)));
    return QuoteWith(upper, '"', '"');
  }
  if (!IsRegularName(name)) return QuoteWith(name, '"', '"');
  return name;
}
