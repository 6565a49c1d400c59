#include "parse/kvtIBParser.h"

#include <array>
#include <iterator>

namespace {

// One bit per server version, in the order of TIBSQLServerVersionType.
constexpr uint16_t Bit(TIBSQLServerVersionType v) { return static_cast<uint16_t>(1u << v); }
constexpr uint16_t vIB4 = Bit(st_InterBase_4x);
constexpr uint16_t vIB5 = Bit(st_InterBase_5x);
constexpr uint16_t vIB6 = Bit(st_InterBase_6x);
constexpr uint16_t vFB1 = Bit(st_FireBird_1x);
constexpr uint16_t vYaffil = Bit(st_Yaffil_1x);
constexpr uint16_t vFB15 = Bit(st_FireBird_15);
constexpr uint16_t vIB7 = Bit(st_InterBase_7x);
constexpr uint16_t vIB75 = Bit(st_InterBase_75);
constexpr uint16_t vFB20 = Bit(st_Firebird_20);
constexpr uint16_t vFB21 = Bit(st_Firebird_21);
constexpr uint16_t vFB25 = Bit(st_Firebird_25);
constexpr uint16_t vFB30 = Bit(st_Firebird_30);
constexpr uint16_t vFB40 = Bit(st_Firebird_40);
constexpr uint16_t vIB2020 = Bit(st_InterBase_2020);
constexpr uint16_t vAll = vIB4 | vIB5 | vIB6 | vFB1 | vYaffil | vFB15 | vIB7 | vIB75 | vFB20 | vFB21 |
                          vFB25 | vFB30 | vFB40 | vIB2020;

// Keywords: reserved in every version except the given ones. For quoting,
// InterBase 2020 treats every keyword as InterBase 7.5 does (the words 7.5
// does not reserve, such as BIGINT, RECREATE or USING, stay unreserved).
constexpr uint16_t NotIn(uint16_t versions) {
  const uint16_t bits = static_cast<uint16_t>(vAll & ~versions & ~vIB2020);
  return static_cast<uint16_t>((bits & vIB75) ? (bits | vIB2020) : bits);
}
// Keywords reserved only in the given versions (and as above for InterBase 2020).
constexpr uint16_t OnlyIn(uint16_t versions) { return NotIn(static_cast<uint16_t>(vAll & ~versions)); }

constexpr TIbKeywordRow KeywordRows[] = {
    {"ACTION", ibACTION, NotIn(vIB4 | vFB20 | vFB21 | vFB25 | vFB30 | vFB40)},
    {"ACTIVE", ibACTIVE, NotIn(vFB30 | vFB40)},
    {"ADD", ibADD, vAll},
    {"ADMIN", ibADMIN, NotIn(vIB4)},
    {"AFTER", ibAFTER, NotIn(vFB30 | vFB40)},
    {"ALL", ibALL, vAll},
    {"ALTER", ibALTER, vAll},
    {"AND", ibAND, vAll},
    {"ANY", ibANY, vAll},
    {"AS", ibAS, vAll},
    {"ASC", ibASC, NotIn(vFB30 | vFB40)},
    {"ASCENDING", ibASCENDING, NotIn(vFB30 | vFB40)},
    {"AT", ibAT, vAll},
    {"AUTO", ibAUTO, NotIn(vFB30 | vFB40)},
    {"AVG", ibAVG, vAll},
    {"BEFORE", ibBEFORE, NotIn(vFB30 | vFB40)},
    {"BEGIN", ibBEGIN, vAll},
    {"BETWEEN", ibBETWEEN, vAll},
    {"BIGINT", ibBIGINT, NotIn(vIB4 | vIB5 | vIB6 | vFB1 | vYaffil | vIB7 | vIB75)},
    {"BINARY", ibBINARY, OnlyIn(vYaffil | vFB40)},
    {"BLOB", ibBLOB, vAll},
    {"BOOLEAN", ibBOOLEAN, OnlyIn(vIB7 | vIB75)},
    {"BY", ibBY, vAll},
    {"CACHE", ibCACHE, NotIn(vFB20 | vFB21 | vFB25)},
    {"CASCADE", ibCASCADE, NotIn(vIB4 | vFB20 | vFB21 | vFB25 | vFB30 | vFB40)},
    {"CASE", ibCASE, NotIn(vIB4 | vIB5 | vIB6 | vFB1)},
    {"CAST", ibCAST, vAll},
    {"CHAR", ibCHAR, vAll},
    {"CHARACTER", ibCHARACTER, vAll},
    {"CHECK", ibCHECK, vAll},
    {"CHECK_POINT_LENGTH", ibCHECK_POINT_LENGTH, NotIn(vFB20 | vFB21 | vFB25)},
    {"CLOSE", ibCLOSE, NotIn(vIB4 | vIB5 | vIB6 | vFB1 | vYaffil | vFB15 | vIB7 | vIB75)},
    {"COLLATE", ibCOLLATE, vAll},
    {"COLUMN", ibCOLUMN, NotIn(vIB4 | vIB5 | vYaffil)},
    {"COMMIT", ibCOMMIT, vAll},
    {"COMPUTED", ibCOMPUTED, NotIn(vFB30 | vFB40)},
    {"CONDITIONAL", ibCONDITIONAL, NotIn(vFB30 | vFB40)},
    {"CONSTRAINT", ibCONSTRAINT, vAll},
    {"CONTAINING", ibCONTAINING, NotIn(vFB30 | vFB40)},
    {"COUNT", ibCOUNT, vAll},
    {"CREATE", ibCREATE, vAll},
    {"CROSS", ibCROSS, NotIn(vIB4 | vIB5 | vIB6 | vFB1 | vYaffil | vFB15 | vIB7 | vIB75)},
    {"CSTRING", ibCSTRING, NotIn(vFB30 | vFB40)},
    {"CURRENT", ibCURRENT, vAll},
    {"CURRENT_DATE", ibCURRENT_DATE, NotIn(vIB4 | vIB5 | vYaffil)},
    {"CURRENT_TIME", ibCURRENT_TIME, NotIn(vIB4 | vIB5 | vYaffil)},
    {"CURRENT_TIMESTAMP", ibCURRENT_TIMESTAMP, NotIn(vIB4 | vIB5 | vYaffil)},
    {"CURSOR", ibCURSOR, vAll},
    {"CURSOR", ibCURSOR, vAll},
    {"DATABASE", ibDATABASE, NotIn(vFB30 | vFB40)},
    {"DATE", ibDATE, vAll},
    {"DEC", ibDEC, vAll},
    {"DECIMAL", ibDECIMAL, vAll},
    {"DECLARE", ibDECLARE, vAll},
    {"DEFAULT", ibDEFAULT, vAll},
    {"DELETE", ibDELETE, vAll},
    {"DESC", ibDESC, NotIn(vFB30 | vFB40)},
    {"DESCENDING", ibDESCENDING, NotIn(vFB30 | vFB40)},
    {"DESCRIBE", ibDESCRIBE, OnlyIn(vYaffil)},
    {"DESCRIPTOR", ibDESCRIPTOR, OnlyIn(vYaffil)},
    {"DISTINCT", ibDISTINCT, vAll},
    {"DO", ibDO, NotIn(vFB30 | vFB40)},
    {"DOMAIN", ibDOMAIN, NotIn(vFB30 | vFB40)},
    {"DOUBLE", ibDOUBLE, vAll},
    {"DROP", ibDROP, vAll},
    {"ELSE", ibELSE, vAll},
    {"END", ibEND, vAll},
    {"ENTRY_POINT", ibENTRY_POINT, NotIn(vFB30 | vFB40)},
    {"ESCAPE", ibESCAPE, vAll},
    {"EXCEPTION", ibEXCEPTION, NotIn(vFB30 | vFB40)},
    {"EXECUTE", ibEXECUTE, vAll},
    {"EXISTS", ibEXISTS, vAll},
    {"EXIT", ibEXIT, NotIn(vFB30 | vFB40)},
    {"EXTERNAL", ibEXTERNAL, vAll},
    {"EXTRACT", ibEXTRACT, NotIn(vIB4 | vIB5 | vYaffil)},
    {"FETCH", ibFETCH, NotIn(vIB4 | vIB5 | vIB6 | vFB1 | vYaffil | vFB15 | vIB7 | vIB75)},
    {"FILE", ibFILE, NotIn(vFB30 | vFB40)},
    {"FILTER", ibFILTER, vAll},
    {"FLOAT", ibFLOAT, vAll},
    {"FOR", ibFOR, vAll},
    {"FOREIGN", ibFOREIGN, vAll},
    {"FREE_IT", ibFREE_IT, NotIn(vIB4 | vFB20 | vFB21 | vFB25 | vFB30 | vFB40)},
    {"FROM", ibFROM, vAll},
    {"FULL", ibFULL, vAll},
    {"FUNCTION", ibFUNCTION, vAll},
    {"GDSCODE", ibGDSCODE, vAll},
    {"GENERATOR", ibGENERATOR, NotIn(vFB30 | vFB40)},
    {"GEN_ID", ibGEN_ID, NotIn(vFB30 | vFB40)},
    {"GLOBAL", ibGLOBAL, NotIn(vIB4 | vIB5 | vIB6 | vFB1 | vYaffil | vFB15 | vFB20 | vFB21 | vFB25)},
    {"GLOBAL", ibGLOBAL, NotIn(vIB4 | vIB5 | vIB6 | vFB1 | vYaffil | vFB15 | vFB20 | vFB21 | vFB25)},
    {"GRANT", ibGRANT, vAll},
    {"GROUP", ibGROUP, vAll},
    {"HAVING", ibHAVING, vAll},
    {"IF", ibIF, NotIn(vFB30 | vFB40)},
    {"IN", ibIN, vAll},
    {"INACTIVE", ibINACTIVE, NotIn(vFB30 | vFB40)},
    {"INDEX", ibINDEX, vAll},
    {"INNER", ibINNER, vAll},
    {"INSERT", ibINSERT, vAll},
    {"INT", ibINT, vAll},
    {"INTEGER", ibINTEGER, vAll},
    {"INTO", ibINTO, vAll},
    {"IS", ibIS, vAll},
    {"JOIN", ibJOIN, vAll},
    {"KEY", ibKEY, NotIn(vFB30)},
    {"LEFT", ibLEFT, vAll},
    {"LIKE", ibLIKE, vAll},
    {"MAX", ibMAX, vAll},
    {"MERGE", ibMERGE, vAll},
    {"MIN", ibMIN, vAll},
    {"MODULE_NAME", ibMODULE_NAME, NotIn(vFB30 | vFB40)},
    {"NAMES", ibNAMES, NotIn(vFB30 | vFB40)},
    {"NATIONAL", ibNATIONAL, vAll},
    {"NATURAL", ibNATURAL, vAll},
    {"NCHAR", ibNCHAR, vAll},
    {"NO", ibNO, vAll},
    {"NOT", ibNOT, vAll},
    {"NULL", ibNULL, vAll},
    {"NUMERIC", ibNUMERIC, vAll},
    {"OF", ibOF, vAll},
    {"ON", ibON, vAll},
    {"OPEN", ibOPEN, NotIn(vIB4 | vIB5 | vIB6 | vFB1 | vYaffil | vFB15 | vIB7 | vIB75)},
    {"OPTION", ibOPTION, NotIn(vFB30 | vFB40)},
    {"OR", ibOR, vAll},
    {"ORDER", ibORDER, vAll},
    {"OUTER", ibOUTER, vAll},
    {"PAGE_SIZE", ibPAGE_SIZE, NotIn(vFB30 | vFB40)},
    {"PAGE_SIZE", ibPAGE_SIZE, NotIn(vFB30 | vFB40)},
    {"PARAMETER", ibPARAMETER, vAll},
    {"PASSWORD", ibPASSWORD, NotIn(vFB30 | vFB40)},
    {"PERCENT", ibPERCENT, OnlyIn(vIB7 | vIB75)},
    {"PLAN", ibPLAN, vAll},
    {"POSITION", ibPOSITION, vAll},
    {"POST_EVENT", ibPOST_EVENT, vAll},
    {"PRECISION", ibPRECISION, vAll},
    {"PRESERVE", ibPRESERVE, NotIn(vIB4 | vIB5 | vIB6 | vFB1 | vYaffil | vFB15 | vFB30 | vFB40)},
    {"PRIMARY", ibPRIMARY, vAll},
    {"PRIVILEGES", ibPRIVILEGES, NotIn(vFB30)},
    {"PROCEDURE", ibPROCEDURE, vAll},
    {"RDB$DB_KEY", ibRDB_DB_KEY, vAll},
    {"REAL", ibREAL, vAll},
    {"RECREATE", ibRECREATE, NotIn(vIB4 | vIB5 | vIB6 | vYaffil | vIB7 | vIB75)},
    {"REFERENCES", ibREFERENCES, vAll},
    {"RELEASE", ibRELEASE, NotIn(vIB4 | vIB5 | vIB6 | vFB1 | vYaffil | vFB30 | vFB40)},
    {"RELEASE", ibRELEASE, NotIn(vIB4 | vIB5 | vIB6 | vFB1 | vYaffil | vFB30 | vFB40)},
    {"RETURNING_VALUES", ibRETURNING_VALUES, vAll},
    {"RETURNS", ibRETURNS, vAll},
    {"REVOKE", ibREVOKE, vAll},
    {"RIGHT", ibRIGHT, vAll},
    {"ROLE", ibROLE, NotIn(vIB4 | vFB20 | vFB21 | vFB25 | vFB30 | vFB40)},
    {"ROWS", ibROWS, NotIn(vIB4 | vIB5 | vFB1 | vYaffil | vFB15)},
    {"SAVEPOINT", ibSAVEPOINT, NotIn(vIB4 | vIB5 | vIB6 | vFB1 | vYaffil)},
    {"SEGMENT", ibSEGMENT, NotIn(vFB30 | vFB40)},
    {"SELECT", ibSELECT, vAll},
    {"SET", ibSET, vAll},
    {"SIMILAR", ibSIMILAR, vAll},
    {"SINGULAR", ibSINGULAR, NotIn(vFB30 | vFB40)},
    {"SIZE", ibSIZE, NotIn(vFB30 | vFB40)},
    {"SMALLINT", ibSMALLINT, vAll},
    {"SOME", ibSOME, vAll},
    {"SORT", ibSORT, NotIn(vFB30 | vFB40)},
    {"SQLCODE", ibSQLCODE, vAll},
    {"STARTING", ibSTARTING, NotIn(vFB30 | vFB40)},
    {"STARTS", ibSTARTS, NotIn(vFB30 | vFB40)},
    {"STATISTICS", ibSTATISTICS, NotIn(vFB30 | vFB40)},
    {"SUB_TYPE", ibSUB_TYPE, NotIn(vFB30 | vFB40)},
    {"SUM", ibSUM, vAll},
    {"SUSPEND", ibSUSPEND, NotIn(vFB30 | vFB40)},
    {"TABLE", ibTABLE, vAll},
    {"TEMPORARY", ibTEMPORARY, OnlyIn(vIB7 | vIB75)},
    {"THEN", ibTHEN, vAll},
    {"TIES", ibTIES, OnlyIn(vIB7 | vIB75)},
    {"TIME", ibTIME, NotIn(vIB4 | vIB5)},
    {"TIMESTAMP", ibTIMESTAMP, NotIn(vIB4 | vIB5)},
    {"TO", ibTO, vAll},
    {"TRIGGER", ibTRIGGER, vAll},
    {"TYPE", ibTYPE, NotIn(vIB4 | vIB5 | vYaffil | vFB30 | vFB40)},
    {"UNION", ibUNION, vAll},
    {"UNIQUE", ibUNIQUE, vAll},
    {"UPDATE", ibUPDATE, vAll},
    {"UPPER", ibUPPER, vAll},
    {"USER", ibUSER, vAll},
    {"USING", ibUSING, NotIn(vIB4 | vIB5 | vIB6 | vFB1 | vYaffil | vFB15 | vIB7 | vIB75 | vFB30 | vFB40)},
    {"VALUE", ibVALUE, vAll},
    {"VALUES", ibVALUES, vAll},
    {"VARBINARY", ibVARBINARY, OnlyIn(vYaffil | vFB40)},
    {"VARCHAR", ibVARCHAR, vAll},
    {"VARIABLE", ibVARIABLE, vAll},
    {"VARYING", ibVARYING, vAll},
    {"VIEW", ibVIEW, vAll},
    {"WHEN", ibWHEN, vAll},
    {"WHERE", ibWHERE, vAll},
    {"WHILE", ibWHILE, vAll},
    {"WITH", ibWITH, vAll},
    {"WORK", ibWORK, NotIn(vFB30 | vFB40)},
    {"YEAR", ibYEAR, NotIn(vIB4 | vIB5)},
    {"YEARDAY", ibYEARDAY, NotIn(vIB4 | vIB5 | vFB30 | vFB40)},
    {"_<charset>", ibCharsetIntroducer, vAll},
};
static_assert(KeywordRowsSorted(KeywordRows), "keyword rows must be sorted");

// Versions whose additional reserved-word lists hold a word. The lists grow
// from InterBase 4 (InterBase 5, 6, 7/7.5, 2020 each add words; Firebird 1
// builds on InterBase 6, and each later Firebird on the one before, with
// Firebird 1.5 and 2.0 dropping some words). Yaffil has no list.
constexpr uint16_t xUntilFb15 = vIB4 | vIB5 | vIB6 | vIB7 | vIB75 | vIB2020 | vFB1 | vFB15;
constexpr uint16_t xAllButYaffil = vAll & ~vYaffil;
constexpr uint16_t xIB5UntilFb15 = xUntilFb15 & ~vIB4;
constexpr uint16_t xIB6On = vIB6 | vIB7 | vIB75 | vIB2020 | vFB1 | vFB15 | vFB20 | vFB21 | vFB25 | vFB30 | vFB40;
constexpr uint16_t xIB6UntilFb15 = vIB6 | vIB7 | vIB75 | vIB2020 | vFB1 | vFB15;
constexpr uint16_t xIB7On = vIB7 | vIB75 | vIB2020;
constexpr uint16_t xFB30On = vFB30 | vFB40;
constexpr uint16_t xIB7AndFb3On = xIB7On | xFB30On;
constexpr uint16_t xFB25On = vFB25 | xFB30On;
constexpr uint16_t xFB20On = vFB20 | vFB21 | xFB25On;
constexpr uint16_t xFB15On = vFB15 | xFB20On;
constexpr uint16_t xFB1On = vFB1 | xFB15On;

constexpr TIbReservedRow ReservedRows[] = {
    {"BASE_NAME", xUntilFb15},
    {"BIGINT", xFB15On},
    {"BINARY", vFB40},
    {"BIT_LENGTH", xFB20On},
    {"BOOLEAN", xFB30On},
    {"BOTH", xFB20On},
    {"BREAK", vFB1},
    {"CASE", xFB15On},
    {"CHARACTER_LENGTH", xFB20On},
    {"CHAR_LENGTH", xFB20On},
    {"CLOSE", xFB20On},
    {"COALESCE", xIB7On},
    {"CORR", xFB30On},
    {"COVAR_POP", xFB30On},
    {"COVAR_SAMP", xFB30On},
    {"CROSS", xFB20On},
    {"CURRENT_CONNECTION", xFB15On},
    {"CURRENT_ROLE", xFB1On},
    {"CURRENT_TRANSACTION", xFB15On},
    {"CURRENT_USER", xFB1On},
    {"DAY", xIB6On},
    {"DEBUG", xAllButYaffil},
    {"DELETING", xFB30On},
    {"DESCRIPTION", vIB2020},
    {"DESCRIPTOR", vFB1},
    {"DETERMINISTIC", xFB30On},
    {"FALSE", xIB7AndFb3On},
    {"FETCH", xFB20On},
    {"FIRST", vFB1},
    {"HOUR", xIB6On},
    {"INPUT_TYPE", xAllButYaffil},
    {"INSERTING", xFB30On},
    {"ISOLATION", xAllButYaffil},
    {"LEADING", xFB20On},
    {"LENGTH", xAllButYaffil},
    {"LEVEL", xAllButYaffil},
    {"LOGFILE", xUntilFb15},
    {"LOG_BUFFER_SIZE", xUntilFb15},
    {"LONG", xAllButYaffil},
    {"LOWER", xFB20On},
    {"MANUAL", xAllButYaffil},
    {"MAXIMUM_SEGMENT", xUntilFb15},
    {"MESSAGE", xAllButYaffil},
    {"MINUTE", xIB6On},
    {"MONTH", xIB6On},
    {"NAME", vIB2020},
    {"NULLIF", xIB7On},
    {"NUM_LOG_BUFFERS", xUntilFb15},
    {"OCTET_LENGTH", xFB20On},
    {"OFFSET", xFB30On},
    {"ONLY", xAllButYaffil},
    {"OPEN", xFB20On},
    {"OUTPUT_TYPE", xAllButYaffil},
    {"OVER", xFB25On},
    {"OVERFLOW", xAllButYaffil},
    {"PAGE", xAllButYaffil},
    {"PAGES", xAllButYaffil},
    {"PROTECTED", xAllButYaffil},
    {"RAW_PARTITIONS", xUntilFb15},
    {"RDB$RECORD_VERSION", xFB30On},
    {"READ", xAllButYaffil},
    {"RECORD_VERSION", xAllButYaffil},
    {"RECREATE", xFB1On},
    {"REGR_AVGX", xFB30On},
    {"REGR_AVGY", xFB30On},
    {"REGR_COUNT", xFB30On},
    {"REGR_INTERCEPT", xFB30On},
    {"REGR_R2", xFB30On},
    {"REGR_SLOPE", xFB30On},
    {"REGR_SXX", xFB30On},
    {"REGR_SXY", xFB30On},
    {"REGR_SYY", xFB30On},
    {"RELEASE", xFB15On},
    {"RESERV", xAllButYaffil},
    {"RESERVING", xAllButYaffil},
    {"RESTRICT", xIB5UntilFb15},
    {"RETAIN", xAllButYaffil},
    {"RETURN", xFB30On},
    {"ROLLBACK", xAllButYaffil},
    {"ROW", xFB30On},
    {"ROWS", xFB20On},
    {"ROW_COUNT", xFB15On},
    {"SAVEPOINT", xFB15On},
    {"SCHEMA", xAllButYaffil},
    {"SCROLL", xFB30On},
    {"SECOND", xIB6On},
    {"SHADOW", xAllButYaffil},
    {"SHARED", xAllButYaffil},
    {"SKIP", vFB1},
    {"SNAPSHOT", xAllButYaffil},
    {"SQLSTATE", xFB30On},
    {"STABILITY", xAllButYaffil},
    {"STARTS", xAllButYaffil},
    {"STDDEV_POP", xFB30On},
    {"STDDEV_SAMP", xFB30On},
    {"SUBSCRIBE", vIB2020},
    {"SUBSTRING", vFB1},
    {"SYSTEM", vIB2020},
    {"TIMEZONE_HOUR", vFB40},
    {"TIMEZONE_MINUTE", vFB40},
    {"TRAILING", xFB20On},
    {"TRANSACTION", xAllButYaffil},
    {"TRIM", xFB20On},
    {"TRUE", xIB7AndFb3On},
    {"UNKNOWN", xIB7AndFb3On},
    {"UPDATING", xFB30On},
    {"USING", xFB20On},
    {"VARBINARY", vFB40},
    {"VAR_POP", xFB30On},
    {"VAR_SAMP", xFB30On},
    {"WAIT", xAllButYaffil},
    {"WEEKDAY", xIB6UntilFb15},
    {"WITHOUT", vFB40},
    {"WRITE", xAllButYaffil},
    {"YEAR", xIB6On},
    {"YEARDAY", xIB6UntilFb15},
};
static_assert(WordRowsSorted(ReservedRows), "reserved rows must be sorted and unique");

// Reserved bits by kind, so that a word found in the reserved-word list can be
// filtered by its kind alone. Kinds without a row are never filtered.
constexpr std::array<uint16_t, 256> MakeKindBits() {
  std::array<uint16_t, 256> bits{};
  bits.fill(vAll);
  for (const TIbKeywordRow& row : KeywordRows) bits[row.Kind] = row.Reserved;
  return bits;
}
constexpr std::array<uint16_t, 256> KindBits = MakeKindBits();

// The bit of a version; a value beyond the known versions counts as every
// version, so that names are rather quoted once too often than not at all.
uint16_t VersionBit(TIBSQLServerVersionType version) {
  return (version >= st_InterBase_4x && version <= st_InterBase_2020) ? Bit(version) : vAll;
}

bool IsPlainUpperName(const std::string& name) {
  if (name[0] < 'A' || name[0] > 'Z') return false;
  for (size_t i = 1; i < name.size(); ++i) {
    const char c = name[i];
    if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '$')) return false;
  }
  return true;
}

}  // namespace

const TIbKeywordRow* IbKeywordRows(size_t& count) {
  count = std::size(KeywordRows);
  return KeywordRows;
}

const TIbReservedRow* IbReservedRows(size_t& count) {
  count = std::size(ReservedRows);
  return ReservedRows;
}

bool IbKindReserved(TTokenKind kind, TIBSQLServerVersionType version) {
  if (version == st_InterBase_2020) return true;
  return (KindBits[kind] & VersionBit(version)) != 0;
}

TTokenKind IsIbKeyword(const std::string& word, TIBSQLServerVersionType version) {
  const TIbKeywordRow* row = FindKeywordRow(KeywordRows, std::size(KeywordRows), word);
  return (row && (row->Reserved & VersionBit(version))) ? row->Kind : TTokenKind(tkIdent);
}

bool NeedsQuotes(const std::string& name, TIBSQLServerVersionType version) {
  if (name.empty()) return false;
  if (!IsPlainUpperName(name)) return true;
  if (IsIbKeyword(name, version) != tkIdent) return true;
  const TIbReservedRow* row = FindKeywordRow(ReservedRows, std::size(ReservedRows), name);
  return row && (row->Versions & VersionBit(version));
}

std::string IbFormatName(const std::string& name, TIBSQLServerVersionType version, int sqlDialect) {
  if (sqlDialect == 3 && NeedsQuotes(name, version)) return QuoteWith(name, '"', '"');
  return name;
}
