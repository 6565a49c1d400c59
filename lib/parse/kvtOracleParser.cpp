#include "parse/kvtOracleParser.h"

#include <iterator>

namespace {

constexpr TKeywordRow KeywordRows[] = {
    {"ACCESS", oraACCESS},
    {"ADD", oraADD},
    {"ALL", oraALL},
    {"ALTER", oraALTER},
    {"AND", oraAND},
    {"ANY", oraANY},
    {"ARRAYLEN", oraARRAYLEN},
    {"AS", oraAS},
    {"ASC", oraASC},
    {"AUDIT", oraAUDIT},
    {"BETWEEN", oraBETWEEN},
    {"BY", oraBY},
    {"CHAR", oraCHAR},
    {"CHECK", oraCHECK},
    {"CLUSTER", oraCLUSTER},
    {"COLUMN", oraCOLUMN},
    {"COMMENT", oraCOMMENT},
    {"COMPRESS", oraCOMPRESS},
    {"CONNECT", oraCONNECT},
    {"CREATE", oraCREATE},
    {"CURRENT", oraCURRENT},
    {"DATE", oraDATE},
    {"DECIMAL", oraDECIMAL},
    {"DEFAULT", oraDEFAULT},
    {"DELETE", oraDELETE},
    {"DESC", oraDESC},
    {"DISTINCT", oraDISTINCT},
    {"DROP", oraDROP},
    {"ELSE", oraELSE},
    {"EXCLUSIVE", oraEXCLUSIVE},
    {"EXISTS", oraEXISTS},
    {"FILE", oraFILE},
    {"FLOAT", oraFLOAT},
    {"FOR", oraFOR},
    {"FROM", oraFROM},
    {"GRANT", oraGRANT},
    {"GROUP", oraGROUP},
    {"HAVING", oraHAVING},
    {"IDENTIFIER", oraIDENTIFIER},
    {"IMMEDIATE", oraIMMEDIATE},
    {"IN", oraIN},
    {"INCREMENT", oraINCREMENT},
    {"INDEX", oraINDEX},
    {"INITIAL", oraINITIAL},
    {"INSERT", oraINSERT},
    {"INTEGER", oraINTEGER},
    {"INTERSECT", oraINTERSECT},
    {"INTO", oraINTO},
    {"IS", oraIS},
    {"LEVEL", oraLEVEL},
    {"LIKE", oraLIKE},
    {"LOCK", oraLOCK},
    {"LONG", oraLONG},
    {"MAXEXTENTS", oraMAXEXTENTS},
    {"MINUS", oraMINUS},
    {"MODE", oraMODE},
    {"MODIFY", oraMODIFY},
    {"NOAUDIT", oraNOAUDIT},
    {"NOCOMPRESS", oraNOCOMPRESS},
    {"NOT", oraNOT},
    {"NOTFOUND", oraNOTFOUND},
    {"NOWAIT", oraNOWAIT},
    {"NULL", oraNULL},
    {"NUMBER", oraNUMBER},
    {"OF", oraOF},
    {"OFFLINE", oraOFFLINE},
    {"ON", oraON},
    {"ONLINE", oraONLINE},
    {"OPTION", oraOPTION},
    {"OR", oraOR},
    {"ORDER", oraORDER},
    {"PCTFREE", oraPCTFREE},
    {"PRIOR", oraPRIOR},
    {"PRIVILEGES", oraPRIVILEGES},
    {"PUBLIC", oraPUBLIC},
    {"RAW", oraRAW},
    {"RENAME", oraRENAME},
    {"RESOURCE", oraRESOURCE},
    {"REVOKE", oraREVOKE},
    {"ROW", oraROW},
    {"ROWID", oraROWID},
    {"ROWLABEL", oraROWLABEL},
    {"ROWNUM", oraROWNUM},
    {"ROWS", oraROWS},
    {"SELECT", oraSELECT},
    {"SESSION", oraSESSION},
    {"SET", oraSET},
    {"SHARE", oraSHARE},
    {"SIZE", oraSIZE},
    {"SMALLINT", oraSMALLINT},
    {"SQLBUF", oraSQLBUF},
    {"START", oraSTART},
    {"SUCCESSFUL", oraSUCCESSFUL},
    {"SYNONYM", oraSYNONYM},
    {"SYSDATE", oraSYSDATE},
    {"TABLE", oraTABLE},
    {"THEN", oraTHEN},
    {"TO", oraTO},
    {"TRIGGER", oraTRIGGER},
    {"UID", oraUID},
    {"UNION", oraUNION},
    {"UNIQUE", oraUNIQUE},
    {"UPDATE", oraUPDATE},
    {"USER", oraUSER},
    {"VALIDATE", oraVALIDATE},
    {"VALUES", oraVALUES},
    {"VARCHAR", oraVARCHAR},
    {"VARCHAR2", oraVARCHAR2},
    {"VIEW", oraVIEW},
    {"WHENEVER", oraWHENEVER},
    {"WHERE", oraWHERE},
    {"WITH", oraWITH},
};
static_assert(KeywordRowsSorted(KeywordRows), "keyword rows must be sorted");

bool IsPlainUpperName(const std::string& name) {
  if (name[0] < 'A' || name[0] > 'Z') return false;
  for (size_t i = 1; i < name.size(); ++i) {
    const char c = name[i];
    if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '$' || c == '#'))
      return false;
  }
  return true;
}

}  // namespace

const TKeywordRow* OracleKeywordRows(size_t& count) {
  count = std::size(KeywordRows);
  return KeywordRows;
}

TTokenKind IsOracleKeyword(const std::string& word) {
  const TKeywordRow* row = FindKeywordRow(KeywordRows, std::size(KeywordRows), word);
  return row ? row->Kind : TTokenKind(tkIdent);
}

std::string QuoteOracleName(const std::string& name) {
  if (name.empty()) return name;
  if (IsPlainUpperName(name) && IsOracleKeyword(name) == tkIdent) return name;
  return QuoteWith(name, '"', '"');
}
