#include "parse/kvtIBParser.h"

#include <algorithm>
#include <array>
#include <exception>
#include <filesystem>
#include <iterator>
#include <unordered_set>
#include <utility>
#include <vector>

#include "core/kvtDBStructure.h"
#include "core/kvtMsgMngr.h"
#include "extract/kvtCustomScriptExtract.h"
#include "kinds/kvtCompColumn.h"
#include "kinds/kvtComp_Ctr.h"
#include "kinds/kvtComp_Def.h"
#include "kinds/kvtComp_Dmn.h"
#include "kinds/kvtComp_Exc.h"
#include "kinds/kvtComp_Fnc.h"
#include "kinds/kvtComp_Gnr.h"
#include "kinds/kvtComp_Idx.h"
#include "kinds/kvtComp_Pkg.h"
#include "kinds/kvtComp_Prc.h"
#include "kinds/kvtComp_Rol.h"
#include "kinds/kvtComp_Tbl.h"
#include "kinds/kvtComp_Trg.h"
#include "kinds/kvtComp_Viw.h"

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

// ===========================================================================
// TIbParser

namespace {

inline bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

inline int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return c - 'A' + 10;
}

inline bool IsWordChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
         c == '$';
}

inline bool IsLetterChar(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Delphi-style trimming: every character up to the blank counts as white space.
std::string Trimmed(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
  return std::string(s.substr(b, e - b));
}

bool SameWord(const char* s, size_t len, const char* word) {
  size_t i = 0;
  for (; i < len && word[i]; ++i)
    if (AsciiUpper[s[i]] != static_cast<unsigned char>(word[i])) return false;
  return i == len && word[i] == 0;
}

// Words that Yaffil writes as plain identifiers where a data type stands.
struct TTypeWord {
  const char* Word;
  TTokenKind Kind;
};
constexpr TTypeWord YaffilTypeWords[] = {
    {"BIGINT", ibBIGINT},     {"BLOB", ibBLOB},       {"CHAR", ibCHAR},         {"CHARACTER", ibCHAR},
    {"CSTRING", ibCSTRING},   {"DATE", ibDATE},       {"DEC", ibDECIMAL},       {"DECIMAL", ibDECIMAL},
    {"FLOAT", ibFLOAT},       {"INT", ibINTEGER},     {"INTEGER", ibINTEGER},   {"NCHAR", ibNCHAR},
    {"NUM", ibNUMERIC},       {"NUMERIC", ibNUMERIC}, {"REAL", ibREAL},         {"SMALLINT", ibSMALLINT},
    {"TIME", ibTIME},         {"TIMESTAMP", ibTIMESTAMP}};

// Named BLOB sub-types.
struct TSubTypeName {
  const char* Word;
  int32_t Code;
};
constexpr TSubTypeName BlobSubTypes[] = {
    {"BINARY", 0}, {"TEXT", 1}, {"BLR", 2}, {"ACL", 3}, {"RANGES", 4}, {"SUMMARY", 5},
    {"FORMAT", 6}, {"TRANSACTION_DESCRIPTION", 7}, {"EXTERNAL_FILE_DESCRIPTION", 8},
    {"DEBUG_INFORMATION", 9}};

// Every object whose dependency records belong to obj: obj, its columns,
// parameters and arguments.
void CollectParts(TDbObj* obj, std::vector<TDbObj*>& parts) {
  if (!obj) return;
  parts.push_back(obj);
  obj->ForEachColumn([&parts](TDbObj& c) { parts.push_back(&c); });
  if (auto* p = obj->As<TPrcData>()) {
    for (const auto& e : p->Params)
      if (e.Obj) parts.push_back(e.Obj.get());
    for (const auto& e : p->Results)
      if (e.Obj) parts.push_back(e.Obj.get());
  } else if (auto* d = obj->As<TDmnData>()) {
    if (d->BaseField) parts.push_back(d->BaseField.get());
  } else if (auto* u = obj->As<TUdfData>()) {
    for (const auto& e : u->Arguments)
      if (e.Obj) parts.push_back(e.Obj.get());
    if (u->ReturnField) parts.push_back(u->ReturnField.get());
  }
}

void EraseRecordsTo(TDependList& list, const TDbObj* obj) {
  list.erase(std::remove_if(list.begin(), list.end(),
                            [obj](const std::unique_ptr<TDependObj>& r) { return r->Obj == obj; }),
             list.end());
}

// A field parsed into a temporary object hands what it recorded to the
// object that keeps the result (or to nobody): no record may outlive the
// temporary.
void HandOverDependencies(TObjs* objs, TDbObj& from, TDbObj* to) {
  if (!objs) return;
  if (to)
    for (const auto& r : from.UseOfList)
      if (r->Obj && r->Obj != &from) AddDependencyOnce(objs, to, r->Obj, "", r->Column, r->Line);
  objs->RemoveFieldDependencies(&from);
}

// A signed integer's text without a plus sign; empty for zero.
std::string SignedText(const std::string& text) {
  std::string t = (!text.empty() && text[0] == '+') ? text.substr(1) : text;
  const bool zero = t.find_first_not_of("-0") == std::string::npos;
  return zero ? std::string() : t;
}

}  // namespace

TIbParser::TIbParser(TCustomExtract* aExtract, TObjs* aObjs)
    : TCustomSQLParser(aExtract, aObjs), ServerOptions(std::make_unique<TIBServerOptions>()) {
  // The container's dialect is set by the extractor when it starts; the
  // parser only needs its own.
  ServerType = srvInterBase;
  TIbParser::InitReservedWords();
  if (Objs && Objs->IBServerOptions) ServerOptions->Assign(*Objs->IBServerOptions);
}

TIbParser::~TIbParser() = default;

void TIbParser::InitReservedWords() {
  TCustomParser::InitReservedWords();
  size_t count = 0;
  const TIbKeywordRow* rows = IbKeywordRows(count);
  for (size_t i = 0; i < count; ++i) ResWords->AddWord(rows[i].Word, rows[i].Kind);
}

void TIbParser::SetServerOptions(const TIBServerOptions& options) { ServerOptions->Assign(options); }

bool TIbParser::IsFirebird3Up() const {
  return Version() == st_Firebird_30 || Version() == st_Firebird_40;
}

bool TIbParser::IsFirebird4() const { return Version() == st_Firebird_40; }

bool TIbParser::IsFirebird25Up() const { return Version() == st_Firebird_25 || IsFirebird3Up(); }

bool TIbParser::IsFirebird20Up() const {
  return Version() == st_Firebird_20 || Version() == st_Firebird_21 || IsFirebird25Up();
}

bool TIbParser::IsKeyword(TTokenKind kind, const char* word) {
  return Token == kind || IsWord(word);
}

bool TIbParser::CheckKeyword(TTokenKind kind, const char* word) {
  if (IsKeyword(kind, word)) return true;
  return Check(kind);
}

std::string TIbParser::FormatName(const std::string& name) {
  return IbFormatName(name, Version(), SQLDialect());
}

bool TIbParser::LogWanted() const {
  if (OnLogNextLine) return true;
  const TCustomExtract* extract = AttachedExtractor();
  return extract && extract->OnLogNextLine;
}

void TIbParser::SetDatabaseDialect(int dialect) {
  ServerOptions->SQLDialect = dialect;
  if (Objs && Objs->IBServerOptions) Objs->IBServerOptions->SQLDialect = dialect;
}

void TIbParser::SetDatabaseCharSet(const std::string& charset) {
  ServerOptions->DBCharSet = charset;
  if (Objs && Objs->IBServerOptions) Objs->IBServerOptions->DBCharSet = charset;
}

// ---- Scanner ----------------------------------------------------------------

int TIbParser::CurrentIndex() const { return AtEnd() ? SourceLength() + 1 : Pos - 1; }

std::string TIbParser::TokenSourceText() const {
  return SourceCopy(TokenStart, CurrentIndex() - TokenStart);
}

void TIbParser::ScanToken() {
  TokenStart = Pos - 1;
  QuoteChar = 0;
  if (CheckTerminator()) {
    ++TermCount;
    return;
  }
  const char c = CurChar;
  if (c == '_') {
    // A character-set introducer: the underscore and the set's name.
    ReadIdentifier();
    Token = ibCharsetIntroducer;
    return;
  }
  if (IsFirebird25Up()) {
    if (c == '0' && (PeekChar() == 'x' || PeekChar() == 'X') && IsHexDigit(PeekChar2())) {
      // 0x1F: an integer written in hexadecimal.
      const long n = static_cast<long>(Source.size());
      long k = Pos;  // 0-based index of the first digit
      uint64_t value = 0;
      bool fits = true;
      while (k < n && IsHexDigit(Source[static_cast<size_t>(k)])) {
        value = value * 16 + static_cast<uint64_t>(HexValue(Source[static_cast<size_t>(k)]));
        if (value > static_cast<uint64_t>(INT32_MAX)) fits = false;
        ++k;
      }
      LiteralText.assign(Source, static_cast<size_t>(Pos), static_cast<size_t>(k - Pos));
      IntValue = fits ? static_cast<int32_t>(value) : 0;
      FloatValue = static_cast<double>(IntValue);
      Token = tkInteger;
      LandAt(k, LineStartIndex());
      return;
    }
    if ((c == 'x' || c == 'X') && PeekChar() == '\'') {
      // X'41FF': a binary string given as hexadecimal digits.
      NextChar();
      std::string hex;
      ReadQuoted(hex);
      for (char& h : hex) h = static_cast<char>(AsciiUpper[h] == h && h >= 'A' && h <= 'Z' ? h + 32 : h);
      LiteralText.clear();
      for (size_t i = 0; i < hex.size(); i += 2) {
        int byte = IsHexDigit(hex[i]) ? HexValue(hex[i]) : 0;
        if (i + 1 < hex.size()) byte = byte * 16 + (IsHexDigit(hex[i + 1]) ? HexValue(hex[i + 1]) : 0);
        LiteralText += static_cast<char>(byte);
      }
      QuoteChar = '\'';
      Token = tkString;
      return;
    }
    if (c == ':' && PeekChar() == '=') {
      NextChar();
      NextChar();
      Token = tkAssign;
      return;
    }
  }
  TCustomSQLParser::ScanToken();
  if (Token == tkString && QuoteChar == '"' && SQLDialect() == 3 && !LiteralText.empty()) {
    // A delimited identifier keeps its spelling.
    Token = tkIdent;
    TokenText = LiteralText;
  }
}

void TIbParser::NextToken() {
  NextTokenInStatement();
}

TTokenKind TIbParser::LookupWord() {
  const TTokenKind kind = TCustomSQLParser::LookupWord();
  if (kind >= tkFirstKeyword && !IbKindReserved(kind, Version())) return tkIdent;
  return kind;
}

bool TIbParser::IsNameKeyword() const {
  return Token >= tkFirstKeyword && Token <= ibYEARDAY && !IbKindReserved(Token, st_Firebird_40);
}

bool TIbParser::Check(TTokenKind kind) {
  if (kind == tkIdent && Token != tkIdent && IsNameKeyword()) {
    Token = tkIdent;
    TokenText = UpperAscii(TokenText);
    TokenName = TTokenNameRef(ResWords->WordOf(tkIdent));
  }
  return TCustomSQLParser::Check(kind);
}

void TIbParser::Error(const std::string& text) {
  // One message per statement: what follows the first error is noise.
  if (InStatement && StmtErrors++ > 0) return;
  TCustomSQLParser::Error(text);
}

bool TIbParser::AddObject(std::unique_ptr<TDbObj>& obj, bool freeIfRejected) {
  if (!obj) return false;
  // The records other objects hold about obj and its columns, so that an
  // object the container does not take leaves nothing pointing at it.
  std::vector<TDbObj*> parts;
  CollectParts(obj.get(), parts);
  std::vector<std::pair<const TDbObj*, TDbObj*>> links;
  for (TDbObj* part : parts) {
    for (const auto& r : part->UseOfList) links.emplace_back(part, r->Obj);
    for (const auto& r : part->UseInList) links.emplace_back(part, r->Obj);
  }
  const std::unordered_set<const TDbObj*> own(parts.begin(), parts.end());
  const bool taken = TCustomSQLParser::AddObject(obj, freeIfRejected);
  if (taken) return true;
  for (const auto& [part, other] : links) {
    if (!other || own.count(other)) continue;
    EraseRecordsTo(other->UseOfList, part);
    EraseRecordsTo(other->UseInList, part);
  }
  if (obj)
    for (TDbObj* part : parts) {
      part->UseOfList.clear();
      part->UseInList.clear();
    }
  return false;
}

// ---- Statement loop ---------------------------------------------------------

void TIbParser::ParseScript(const TStringList& lines, TObjs* objs) {
  AutoDDL = true;
  ServerOptions->SQLDialect = 1;
  TCustomSQLParser::ParseScript(lines, objs);
}

void TIbParser::ParseStatements() {
  HeldAtTerm = false;
  InStatement = false;
  StmtErrors = 0;
  NextToken();
  while (Token != tkEOF) {
    StmtStart = TokenStart;
    if (Token == tkTerm) {
      NextToken();
      continue;
    }
    const uint64_t termsBefore = TermCount;
    const int startPos = Pos;
    InStatement = true;
    StmtErrors = 0;
    try {
      ParseStatement();
    } catch (const std::exception& e) {
      Error(std::string("Statement not parsed: ") + e.what());
    }
    InStatement = false;
    const bool failed = StmtErrors > 0;
    StmtErrors = 0;
    if (HeldAtTerm) {
      HeldAtTerm = false;
      NextToken();
    } else if (failed) {
      if (Token == tkTerm)
        NextToken();
      else if (TermCount == termsBefore)
        SkipStatement();
    } else if (Pos == startPos && Token != tkEOF) {
      NextToken();  // a statement parser that took nothing must not stall the loop
    }
  }
}

void TIbParser::EndStatement() {
  if (Token == tkEOF) return;  // the last statement may end the input
  if (Check(tkTerm)) NextToken();
}

void TIbParser::PassOver(TStatementKind kind, const std::string& name) {
  SkipTo({tkEOF, tkTerm});
  StatementFound(kind, name);
  if (Token == tkTerm) NextToken();
}

void TIbParser::ParseStatement() {
  switch (Token) {
    case tkIdent:
      if (IsWord("CONNECT")) {
        NextToken();
        if (IsKeyword(ibDATABASE, "DATABASE")) NextToken();
        ParseDatabaseClause(false);
      } else if (IsWord("RECONNECT")) {
        NextToken();
        StatementFound(skReConnect);
        EndStatement();
      } else if (IsWord("DESCRIBE")) {
        ParseDescribe();
      } else if (IsWord("COMMENT")) {
        ParseComment();
      } else if (IsWord("INPUT")) {
        ParseInput();
      } else if (IsWord("REINSERT") || IsWord("ROLLBACK") || IsWord("SAVEPOINT") ||
                 IsWord("RELEASE") || IsWord("SHOW") || IsWord("OUTPUT") || IsWord("QUIT") ||
                 IsWord("EXIT") || IsWord("EDIT") || IsWord("HELP") || IsWord("SHELL") ||
                 IsWord("BLOBDUMP") || IsWord("BLOBVIEW") || IsWord("COPY") ||
                 IsWord("MERGE") || IsWord("WORK")) {
        // isql commands and transaction control: nothing to model.
        PassOver(skStatement);
      } else {
        Error("Unknown statement: " + TokenName);
      }
      return;
    case ibDESCRIBE: ParseDescribe(); return;
    case ibALTER: ParseAlter(); return;
    case ibCOMMIT:
      NextToken();
      if (IsKeyword(ibWORK, "WORK")) NextToken();
      if (IsWord("RETAIN")) {
        NextToken();
        if (IsWord("SNAPSHOT")) NextToken();
      }
      StatementFound(skCommit);
      EndStatement();
      return;
    case ibCREATE:
    case ibRECREATE: ParseCreate(); return;
    case ibDECLARE:
      NextToken();
      if (IsWord("FILTER")) {
        PassOver(skStatement);
        return;
      }
      if (!Check(ibEXTERNAL) || !NextCheck(ibFUNCTION)) return;
      ParseExternalFunction();
      return;
    case ibDELETE:
      if (NextCheck(ibFROM) && NextCheck(tkIdent)) PassOver(skDelete, TokenText);
      return;
    case ibDROP: ParseDrop(); return;
    case ibEXECUTE:
      NextToken();
      if (IsWord("BLOCK")) {
        ParseExecuteBlock();
      } else if (IsWord("STATEMENT") || Token == ibPROCEDURE) {
        PassOver(skStatement);
      }
      // Anything else is left for the next round of the loop.
      return;
    case ibGRANT: ParseGrant(); return;
    case ibINSERT:
      if (NextCheck(ibINTO) && NextCheck(tkIdent)) PassOver(skInsert, TokenText);
      return;
    case ibREVOKE: PassOver(skStatement); return;
    case ibSELECT:
    case ibWITH: PassOver(skSelect); return;
    case ibSET: ParseSet(); return;
    case ibUPDATE:
      NextToken();
      if (Token == ibOR) {  // UPDATE OR INSERT INTO t ...
        PassOver(skInsert);
        return;
      }
      if (Check(tkIdent)) PassOver(skUpdate, TokenText);
      return;
    case ibMERGE:
    case ibEXIT: PassOver(skStatement); return;
    default:
      Error("Missing/unknown: DDL-statement: " + TokenName);
      return;
  }
}

// ---- Connection, database and SET ----------------------------------------------

void TIbParser::ParseDatabaseClause(bool create) {
  if (!Check(tkString)) return;
  Options->DatabaseName = LiteralText;
  DoLog("Database connect: " + LiteralText);
  NextToken();
  // Reads an optional "=" and an integer; the token after it is current.
  auto number = [this](int& value) {
    NextToken();
    if (Token == tkEqual) NextToken();
    if (!Check(tkInteger)) return false;
    value = IntValue;
    NextToken();
    return true;
  };
  auto pages = [this]() {
    if (IsWord("PAGE") || IsWord("PAGES")) NextToken();
  };
  while (Token != tkTerm && Token != tkEOF) {
    int value = 0;
    if (IsKeyword(ibPAGE_SIZE, "PAGE_SIZE")) {
      if (!number(value)) return;
      ServerOptions->IBDatabaseOptions->PageSize = value;
      if (Objs && Objs->IBServerOptions) Objs->IBServerOptions->IBDatabaseOptions->PageSize = value;
    } else if (Token == ibDEFAULT) {
      if (!NextCheck(ibCHARACTER) || !NextCheck(ibSET) || !NextCheck(tkIdent)) return;
      SetDatabaseCharSet(UpperAscii(TokenText));
      NextToken();
    } else if (IsWord("COLLATION")) {
      if (!NextCheck(tkIdent)) return;
      NextToken();
    } else if (Token == ibUSER) {
      if (!NextCheck(tkString)) return;
      Options->UserName = LiteralText;
      NextToken();
    } else if (IsKeyword(ibPASSWORD, "PASSWORD")) {
      if (!NextCheck(tkString)) return;
      Options->Password = LiteralText;
      NextToken();
    } else if (IsKeyword(ibROLE, "ROLE")) {
      NextToken();
      if (Token != tkIdent && !Check(tkString)) return;
      Options->RoleName = Token == tkString ? LiteralText : TokenText;
      NextToken();
    } else if (IsWord("LENGTH")) {
      if (!number(value)) return;
      pages();
    } else if (IsKeyword(ibCACHE, "CACHE")) {
      if (!number(value)) return;
      pages();
    } else if (IsKeyword(ibFILE, "FILE") || IsWord("DIFFERENCE")) {
      // Secondary files and the difference file are not modelled.
      if (IsWord("DIFFERENCE")) NextToken();
      if (!CheckKeyword(ibFILE, "FILE") || !NextCheck(tkString)) return;
      NextToken();
      if (IsKeyword(ibSTARTING, "STARTING")) {
        NextToken();
        if (Token == ibAT) NextToken();
        if (IsWord("PAGE")) NextToken();
        if (!Check(tkInteger)) return;
        NextToken();
      }
    } else if (Token == ibSET && create) {
      // SET NAMES 'charset' of CREATE DATABASE: the client's character set.
      NextToken();
      if (!CheckKeyword(ibNAMES, "NAMES")) return;
      NextToken();
      NextToken();
    } else {
      Error("Unknown token in DB-declaration.");
      return;
    }
  }
  StatementFound(create ? skCreateDb : skConnect);
  EndStatement();
}

void TIbParser::ParseSet() {
  NextToken();
  if (IsWord("AUTODDL")) {
    NextToken();
    if (Token == ibON) {
      AutoDDL = true;
    } else if (IsWord("OFF")) {
      AutoDDL = false;
    } else {
      Error("Missing: ON/OFF in \"SET AUTODDL...\"");
      return;
    }
    NextToken();
    StatementFound(skSet);
    EndStatement();
  } else if (IsWord("SQL")) {
    NextToken();
    if (!CheckWord("DIALECT")) return;
    NextToken();
    if (Token == tkEqual) NextToken();
    if (!Check(tkInteger)) return;
    SetDatabaseDialect(IntValue);
    const std::string dialect = std::to_string(IntValue);
    NextToken();
    StatementFound(skSqlDialect, dialect);
    EndStatement();
  } else if (IsWord("BLOBFILE")) {
    if (!NextCheck(tkString)) return;
    NextToken();
    StatementFound(skBlobFile);
    EndStatement();
  } else if (IsWord("TERM")) {
    ParseSetTerm();
  } else if (Token == ibGENERATOR) {
    // The current value of a generator is not part of the model.
    if (!NextCheck(tkIdent)) return;
    DoLog("Generator: " + TokenText);
    if (!NextCheck(ibTO)) return;
    NextToken();
    std::string value;
    if (!ReadSignedInteger(value)) return;
    NextToken();
    StatementFound(skSet);
    EndStatement();
  } else if (Token == ibNAMES) {
    if (!NextCheck(tkIdent)) return;
    SetDatabaseCharSet(TokenText);
    NextToken();
    StatementFound(skSetNames);
    EndStatement();
  } else if (Token == ibSTATISTICS) {
    if (!NextCheck(ibINDEX) || !NextCheck(tkIdent)) return;
    NextToken();
    EndStatement();
  } else {
    PassOver(skSet);
  }
}

void TIbParser::ParseSetTerm() {
  // The new terminator is raw text: usually a character the scanner does not
  // know. It ends at a blank or where the current terminator begins, so both
  // "SET TERM ^ ;" and "SET TERM ^;" switch to "^".
  const std::string oldTerm = Term;
  SkipSeparators();
  const long n = static_cast<long>(Source.size());
  const long from = AtEnd() ? n : Pos - 2;
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  long k = from;
  while (k < n && !blank(Source[static_cast<size_t>(k)]) &&
         (oldTerm.empty() || Source[static_cast<size_t>(k)] != oldTerm[0]))
    ++k;
  if (k == from) {
    // The new terminator starts like the old one ("^^" after "^"): it runs to
    // the next blank, less an old terminator written right after it.
    while (k < n && !blank(Source[static_cast<size_t>(k)])) ++k;
    const long len = k - from;
    const long oldLen = static_cast<long>(oldTerm.size());
    if (len > oldLen && oldLen > 0 &&
        Source.compare(static_cast<size_t>(k - oldLen), static_cast<size_t>(oldLen), oldTerm) == 0)
      k -= oldLen;
  }
  const std::string newTerm = Source.substr(static_cast<size_t>(from), static_cast<size_t>(k - from));
  MoveTo(static_cast<int>(k + 1));
  if (newTerm.empty()) {
    Error("Missing: <TERM>");
    return;
  }
  if (!NextCheck(tkTerm)) return;
  TokenStart = CurrentIndex();
  StatementFound(skSet);
  // The token after the statement is still read with the old terminator.
  NextToken();
  SetTerm(newTerm);
}

void TIbParser::ParseInput() {
  if (!NextCheck(tkString)) return;
  const std::string name = LiteralText;
  NextToken();
  if (Token == tkTerm) NextToken();
  // Only the parser of an extractor reads INPUT files, so nesting is one level deep.
  if (OwnerParser || !Extract || name.empty()) return;
  namespace fs = std::filesystem;
  std::string path = name;
  if (!fs::path(name).has_parent_path()) {
    const fs::path dir = fs::path(ScriptName).parent_path();
    if (!dir.empty()) path = (dir / name).string();
  }
  if (!SubParser) {
    SubParser = CreateSubParser();
    if (!SubParser) return;
    SubParser->OwnerParser = this;
  }
  TIbParser& sub = *SubParser;
  sub.OnErrorMessage = OnErrorMessage;
  sub.OnLogNextLine = OnLogNextLine;
  sub.OnDebugMessage = OnDebugMessage;
  sub.ProgressEnabled = false;
  sub.SetServerOptions(*ServerOptions);
  sub.Messages->Clear();
  sub.ScriptName = path;
  sub.ParseFile(path, Objs);
  sub.Source.clear();
  // What the file set (dialect, character set) holds on afterwards, as in isql.
  ServerOptions->Assign(*sub.ServerOptions);
  // Its errors fail the extraction like this parser's own.
  Messages->AppendFrom(sub.Messages.get());
}

std::unique_ptr<TIbParser> TIbParser::CreateSubParser() {
  return std::make_unique<TIbParser>(nullptr, Objs);
}

// ---- CREATE, ALTER, DROP ----------------------------------------------------------

void TIbParser::ParseCreate() {
  NextToken();
  if (Token == ibTABLE) {
    ParseCreateTable(false);
  } else if (Token == ibGLOBAL || (IsWord("GLOBAL") && IsFirebird20Up())) {
    NextToken();
    if (Token != ibTEMPORARY && !IsWord("TEMPORARY")) {
      Error("TEMPORARY expected, but " + UpperAscii(TokenText) + " found.");
      return;
    }
    if (!NextCheck(ibTABLE)) return;
    ParseCreateTable(true);
  } else if (IsKeyword(ibASC, "ASC") || IsKeyword(ibASCENDING, "ASCENDING") ||
             IsKeyword(ibDESC, "DESC") || IsKeyword(ibDESCENDING, "DESCENDING") ||
             Token == ibINDEX || Token == ibUNIQUE) {
    ParseCreateIndex();
  } else if (Token == ibPROCEDURE || (Token == ibFUNCTION && IsFirebird3Up())) {
    ParseRoutine(TRoutineScope::Schema);
  } else if (Token == ibTRIGGER) {
    ParseTrigger(true);
  } else if (Token == ibVIEW) {
    ParseView();
  } else if (IsWord("PACKAGE")) {
    ParsePackage();
  } else if (IsKeyword(ibROLE, "ROLE")) {
    ParseRole();
  } else if (Token == ibOR) {
    ParseCreateOrAlter();
  } else if (IsKeyword(ibGENERATOR, "GENERATOR") || IsWord("SEQUENCE")) {
    ParseGenerator();
  } else if (IsKeyword(ibDOMAIN, "DOMAIN")) {
    ParseCreateDomain();
  } else if (IsKeyword(ibDATABASE, "DATABASE") || IsWord("SCHEMA")) {
    NextToken();
    ParseDatabaseClause(true);
  } else if (Token == ibEXCEPTION || (IsWord("EXCEPTION") && IsFirebird3Up())) {
    NextToken();
    ParseException(false);
  } else if (IsWord("COLLATION") && (Version() == st_Firebird_21 || IsFirebird25Up() || IsInterBase2020())) {
    ParseCollation();
  } else if (IsWord("SHADOW") || Token == ibUSER || IsWord("MAPPING") || IsWord("FILTER")) {
    PassOver(skStatement);  // server administration: not part of the schema model
  } else {
    Error("Unknown CREATE-statement");
  }
}

void TIbParser::ParseCreateOrAlter() {
  if (!NextCheck(ibALTER)) return;
  NextToken();
  if (Token == ibPROCEDURE || Token == ibFUNCTION) {
    ParseRoutine(TRoutineScope::Schema);
  } else if (Token == ibTRIGGER) {
    ParseTrigger(false);
  } else if (Token == ibVIEW) {
    ParseView();
  } else if (IsWord("PACKAGE")) {
    ParsePackage();
  } else if (IsKeyword(ibEXCEPTION, "EXCEPTION")) {
    NextToken();
    ParseException(true);
  } else if (IsKeyword(ibGENERATOR, "GENERATOR") || IsWord("SEQUENCE")) {
    ParseGenerator();
  } else if (Token == ibUSER || IsWord("MAPPING") || Token == ibGLOBAL || IsWord("GLOBAL")) {
    PassOver(skStatement);
  } else {
    Error("Unknown ALTER-statement");
  }
}

void TIbParser::ParseAlter() {
  NextToken();
  if (Token == ibTABLE) {
    ParseAlterTable();
  } else if (Token == ibPROCEDURE || Token == ibFUNCTION) {
    ParseRoutine(TRoutineScope::Schema);
  } else if (IsWord("PACKAGE")) {
    ParsePackage();
  } else if (Token == ibINDEX) {
    ParseAlterIndex();
  } else if (Token == ibTRIGGER) {
    ParseTrigger(false);
  } else if (IsKeyword(ibDOMAIN, "DOMAIN")) {
    ParseAlterDomain();
  } else if (IsWord("SEQUENCE") || IsKeyword(ibGENERATOR, "GENERATOR")) {
    // A sequence's current value is not modelled.
    if (NextCheck(tkIdent)) PassOver(skStatement, TokenText);
  } else if (Token == ibEXCEPTION || (IsWord("EXCEPTION") && IsFirebird3Up())) {
    if (NextCheck(tkIdent)) ParseException(true);
  } else if (Token == ibVIEW) {
    ParseView();
  } else if (IsWord("SESSION") && IsFirebird4()) {
    NextToken();
    if (!CheckWord("RESET")) return;
    NextToken();
    EndStatement();
  } else if (IsKeyword(ibDATABASE, "DATABASE") || IsWord("SCHEMA") || Token == ibEXTERNAL ||
             IsWord("CHARACTER") || Token == ibCHARACTER || IsKeyword(ibROLE, "ROLE") ||
             Token == ibUSER || IsWord("MAPPING") || Token == ibGLOBAL || IsWord("GLOBAL") ||
             IsWord("CURRENT")) {
    PassOver(skStatement);  // database and server settings: not part of the schema model
  } else {
    Error("Unknown ALTER statement.");
  }
}

void TIbParser::ParseDrop() {
  NextToken();
  if (Token == ibEXTERNAL) {
    if (!NextCheck(ibFUNCTION)) return;
  } else if (IsWord("PACKAGE")) {
    NextToken();
    if (!IsWord("BODY")) {
      if (!Check(tkIdent)) return;
      NextToken();
      StatementFound(skStatement);
      EndStatement();
      return;
    }
  } else if (IsWord("SHADOW") || Token == ibUSER || IsWord("MAPPING") || IsWord("FILTER") ||
             Token == ibGLOBAL || IsWord("GLOBAL") || IsWord("COLLATION")) {
    PassOver(skStatement);
    return;
  } else if (!(IsKeyword(ibDOMAIN, "DOMAIN") || IsKeyword(ibEXCEPTION, "EXCEPTION") ||
               Token == ibINDEX || Token == ibPROCEDURE || Token == ibFUNCTION ||
               IsKeyword(ibROLE, "ROLE") || Token == ibTABLE || Token == ibTRIGGER ||
               Token == ibVIEW || IsKeyword(ibGENERATOR, "GENERATOR") || IsWord("SEQUENCE"))) {
    Error("Unknown DROP statement");
    return;
  }
  // The model describes what the scripts create: nothing is removed.
  if (!NextCheck(tkIdent)) return;
  NextToken();
  StatementFound(skStatement);
  EndStatement();
}

// ---- Routines, packages, blocks ---------------------------------------------------

std::unique_ptr<TPrcData> TIbParser::ParseRoutine(TRoutineScope scope, TPkgData* /*package*/) {
  const bool isFunction = Token == ibFUNCTION;
  if (!NextCheck(tkIdent)) return nullptr;
  const std::string name = TokenText;
  std::unique_ptr<TPrcData> owned;
  TPrcData* proc = scope == TRoutineScope::Schema && Objs ? Objs->FindProcedure(name) : nullptr;
  if (proc) {
    proc->SetBody(std::string());
  } else {
    owned = std::make_unique<TPrcData>(Objs);
    owned->SetName(name);
    proc = owned.get();
  }
  proc->IsFunction = isFunction;
  if (scope != TRoutineScope::Local && scope != TRoutineScope::Block)
    DoLog((isFunction ? "Function: " : "Procedure: ") + name);
  NextToken();
  // The parameters are read afresh; those that keep their name keep their description.
  TNamedObjList<TFldData> oldParams = std::move(proc->Params);
  TNamedObjList<TFldData> oldResults = std::move(proc->Results);
  proc->Params.Clear();
  proc->Results.Clear();
  ParseRoutineParameters(proc);
  if (scope != TRoutineScope::PackageHeader && Token != tkSemicolon && Token != tkTerm &&
      Token != tkEOF)
    ReadBodyText(proc, Token == ibAS ? -1 : TokenStart);
  auto keepDescriptions = [](TNamedObjList<TFldData>& now, TNamedObjList<TFldData>& before) {
    for (const auto& e : now)
      if (TFldData* old = before.Find(e.Name); old && e.Obj && e.Obj->Description.empty())
        e.Obj->Description = old->Description;
  };
  keepDescriptions(proc->Params, oldParams);
  keepDescriptions(proc->Results, oldResults);
  if (Objs) {
    for (auto* list : {&oldParams, &oldResults})
      for (const auto& e : *list)
        if (e.Obj) Objs->RemoveFieldDependencies(e.Obj.get());
  }
  if (scope == TRoutineScope::Schema) {
    StatementFound(skStatement, name);
    if (owned) AddObject(owned, true);
  }
  if (Token == tkSemicolon) NextToken();
  if (Token == tkTerm) NextToken();
  return owned;
}

void TIbParser::ParseRoutineParameters(TPrcData* proc) {
  auto parameterList = [this, proc](TNamedObjList<TFldData>& list, uint8_t direction) {
    NextToken();
    while (Token != tkRParen && Token != tkTerm && Token != tkEOF) {
      std::unique_ptr<TFldData> p = ParseColumn(proc);
      if (!p) return;
      p->Direction = direction;
      p->Position = list.Count();
      const std::string pname = p->Name;
      list.Add(pname, std::move(p));
      if (Token != tkComma) break;
      NextToken();
    }
    CheckNext(tkRParen);
  };
  if (Token == tkLParen) parameterList(proc->Params, pdIn);
  if (Token != ibRETURNS) return;
  NextToken();
  if (proc->IsFunction) {
    auto result = std::make_unique<TFldData>(Objs, proc);
    result->TableName = proc->Name;
    result->Direction = pdOut;
    ParseDataType(result.get(), nullptr);
    if (IsWord("DETERMINISTIC") && (IsFirebird3Up() || IsInterBase2020())) {
      result->Deterministic = true;
      NextToken();
    }
    proc->Results.Add(std::string(), std::move(result));
  } else if (Check(tkLParen)) {
    parameterList(proc->Results, pdOut);
  }
}

void TIbParser::ParsePackage() {
  NextToken();
  const bool body = IsWord("BODY");
  if (body) NextToken();
  if (!Check(tkIdent)) return;
  const std::string name = TokenText;
  std::unique_ptr<TPkgData> owned;
  TPkgData* pkg = Objs ? Objs->FindPackage(name) : nullptr;
  if (!pkg) {
    owned = std::make_unique<TPkgData>(Objs);
    owned->SetName(name);
    pkg = owned.get();
  }
  pkg->IsBody = body;
  NextToken();
  ReadBodyText(pkg, TokenStart);
  StatementFound(skPackage, name);
  if (owned) AddObject(owned, true);
  EndStatement();
}

void TIbParser::ParseExecuteBlock() {
  NextToken();
  auto block = std::make_unique<TPrcData>(Objs);
  ParseRoutineParameters(block.get());
  if (Token != tkTerm && Token != tkEOF) ReadBodyText(block.get(), Token == ibAS ? -1 : TokenStart);
  StatementFound(skExecuteBlock);
  block.reset();  // nothing of a block goes into the model
  EndStatement();
}

// ---- Triggers, views, generators, exceptions, roles ----------------------------------

void TIbParser::ParseTrigger(bool creating) {
  if (!NextCheck(tkIdent)) return;
  const std::string name = TokenText;
  std::unique_ptr<TTrgData> owned;
  TTrgData* trg = !creating && Objs ? Objs->FindTrigger(name) : nullptr;
  if (!trg) {
    owned = std::make_unique<TTrgData>(Objs);
    trg = owned.get();
  }
  trg->SetName(name);
  NextToken();
  auto onTable = [this, trg]() {
    if (!NextCheck(tkIdent)) return;
    trg->SetTableName(TokenText);
    if (trg->Table) AddDepend(trg, trg->Table, std::string());
    NextToken();
  };
  if (Token == ibFOR) {
    onTable();
  } else if (owned) {
    // A new trigger without FOR belongs to the database; an altered one keeps its table.
    trg->SetTableName("DATABASE");
  }
  if (IsKeyword(ibACTIVE, "ACTIVE")) {
    trg->Active = true;
    NextToken();
  } else if (IsKeyword(ibINACTIVE, "INACTIVE")) {
    trg->Active = false;
    NextToken();
  }
  const bool before = IsKeyword(ibBEFORE, "BEFORE");
  const bool after = IsKeyword(ibAFTER, "AFTER");
  if (Token == ibON) {
    NextToken();
    if (IsWord("CONNECT") || IsWord("DISCONNECT")) {
      trg->DatabaseEvent = UpperAscii(TokenText);
    } else if (IsWord("TRANSACTION")) {
      NextToken();
      if (IsWord("START") || Token == ibCOMMIT || IsWord("ROLLBACK")) {
        trg->DatabaseEvent = "TRANSACTION " + UpperAscii(TokenText);
      } else {
        Error("Unknown event for database trigger");
      }
    } else {
      Error("Unknown event for database trigger");
    }
    NextToken();
  } else if (owned || before || after) {
    if (!before && !after) {
      Error("Must be: BEFORE / AFTER");
      return;
    }
    trg->TriggerTime = before ? ttBefore : ttAfter;
    NextToken();
    if (Token == ibINSERT || Token == ibUPDATE || Token == ibDELETE) {
      uint8_t events = 0;
      int code = 0;
      for (int i = 1; i <= 3; ++i) {
        const int c = Token == ibINSERT ? 1 : Token == ibUPDATE ? 2 : Token == ibDELETE ? 3 : 0;
        if (c == 0) {
          Error("Must be: INSERT / UPDATE / DELETE");
          break;
        }
        events |= c == 1 ? teInsert : c == 2 ? teUpdate : teDelete;
        code += c << (2 * i - 1);
        NextToken();
        if (Token != ibOR) break;
        NextToken();
      }
      trg->Events = events;
      trg->TypeCode = (after ? 1 : 0) + code - 1;
    } else {
      // A DDL trigger (BEFORE CREATE TABLE OR ALTER TABLE, ANY DDL STATEMENT):
      // its events are kept as written.
      std::string text;
      while (Token != tkTerm && Token != tkEOF && Token != ibAS && Token != ibPOSITION &&
             !IsKeyword(ibACTIVE, "ACTIVE") && !IsKeyword(ibINACTIVE, "INACTIVE")) {
        if (!text.empty()) text += ' ';
        text += UpperAscii(TokenSourceText());
        NextToken();
      }
      trg->DatabaseEvent = text;
    }
  }
  if (Token == ibPOSITION) {
    if (!NextCheck(tkInteger)) return;
    trg->Position = IntValue;
    NextToken();
  }
  // The SQL:2003 form names the table after the events.
  if (Token == ibON) onTable();
  DoLog("Trigger: " + name);
  if (Token != tkTerm && Token != tkEOF) ReadBodyText(trg, TokenStart);
  StatementFound(skStatement, name);
  if (owned) AddObject(owned, true);
  EndStatement();
}

void TIbParser::ParseView() {
  NextToken();
  if (!Check(tkIdent)) return;
  auto view = std::make_unique<TViwData>(Objs);
  view->SetName(TokenText);
  const std::string name = TokenText;
  NextToken();
  if (Token == tkLParen) {
    NextToken();
    while (IsName() && Check(tkIdent)) {
      auto col = std::make_unique<TFldData>(Objs, view.get());
      col->SetName(TokenText);
      col->TableName = name;
      col->Position = view->Columns.Count();
      view->Columns.Add(TokenText, std::move(col));
      NextToken();
      if (Token != tkComma) break;
      NextToken();
    }
    if (!CheckNext(tkRParen)) return;
  }
  DoLog("View: " + name);
  if (!Check(ibAS)) return;
  ReadBodyText(view.get(), -1);
  StatementFound(skStatement, name);
  AddObject(view, true);
  EndStatement();
}

void TIbParser::ParseGenerator() {
  if (!NextCheck(tkIdent)) return;
  auto gen = std::make_unique<TGnrData>(Objs);
  gen->SetName(TokenText);
  NextToken();
  if (IsFirebird3Up()) {
    if (IsWord("RESTART")) NextToken();
    std::string start, increment;
    if (!ParseSequenceOptions(start, increment)) return;
    gen->StartWith = SignedText(start);
    gen->IncrementBy = increment == "1" ? std::string() : SignedText(increment);
  }
  DoLog("Generator: " + gen->Name);
  AddObject(gen, true);
  EndStatement();
}

bool TIbParser::ParseSequenceOptions(std::string& start, std::string& increment) {
  for (;;) {
    std::string* value = nullptr;
    if (IsWord("START")) {
      if (!NextCheck(ibWITH)) return false;
      value = &start;
    } else if (IsWord("INCREMENT")) {
      value = &increment;
    } else {
      return true;
    }
    NextToken();
    if (value == &increment && Token == ibBY) NextToken();
    if (!ReadSignedInteger(*value)) return false;
    if (!value->empty() && (*value)[0] == '+') value->erase(0, 1);
    NextToken();
  }
}

void TIbParser::ParseException(bool reuse) {
  if (!Check(tkIdent)) return;
  std::unique_ptr<TExcData> owned;
  TExcData* exc = reuse && Objs ? Objs->FindException(TokenText) : nullptr;
  if (!exc) {
    owned = std::make_unique<TExcData>(Objs);
    exc = owned.get();
  }
  exc->SetName(TokenText);
  if (!NextCheck(tkString)) return;
  exc->Message = LiteralText;
  NextToken();
  DoLog("Exception: " + exc->Name);
  if (owned) AddObject(owned, true);
  EndStatement();
}

void TIbParser::ParseRole() {
  if (!NextCheck(tkIdent)) return;
  auto role = std::make_unique<TRolData>(Objs);
  role->SetName(TokenText);
  role->RoleKind = rkRole;
  NextToken();
  AddObject(role, true);
  EndStatement();
}

void TIbParser::ParseExternalFunction() {
  if (!NextCheck(tkIdent)) return;
  auto udf = std::make_unique<TUdfData>(Objs);
  udf->SetName(TokenText);
  const std::string name = TokenText;
  NextToken();
  while (IsDataTypeStart()) {
    auto arg = std::make_unique<TFldData>(Objs, udf.get());
    arg->TableName = name;
    arg->Position = udf->Arguments.Count();
    ParseDataType(arg.get(), nullptr);
    udf->Arguments.Add(std::string(), std::move(arg));
    if (Token == tkComma) NextToken();
  }
  if (!CheckNext(ibRETURNS)) return;
  udf->ReturnField->TableName = name;
  if (Token == ibPARAMETER) {
    if (!NextCheck(tkInteger)) return;
    udf->ReturnField->ParameterNumber = IntValue;
    NextToken();
  } else {
    ParseDataType(udf->ReturnField.get(), nullptr);
  }
  if (IsKeyword(ibFREE_IT, "FREE_IT")) {
    udf->FreeIt = true;
    NextToken();
  }
  // Firebird 3 and later and InterBase 2020 want the words; older servers
  // take any token in their place.
  const bool strict = IsFirebird3Up() || IsInterBase2020();
  auto clause = [this, strict](TTokenKind kind, const char* word, std::string& value) {
    if (strict && !CheckKeyword(kind, word)) return false;
    if (!NextCheck(tkString)) return false;
    value = LiteralText;
    NextToken();
    return true;
  };
  if (!clause(ibENTRY_POINT, "ENTRY_POINT", udf->EntryPoint)) return;
  if (!clause(ibMODULE_NAME, "MODULE_NAME", udf->ModuleName)) return;
  DoLog("External function: " + name);
  AddObject(udf, true);
  EndStatement();
}

void TIbParser::ParseCollation() {
  if (!NextCheck(tkIdent)) return;
  auto coll = std::make_unique<TCltData>(Objs);
  coll->SetName(TokenText);
  if (!NextCheck(ibFOR) || !NextCheck(tkIdent)) return;
  coll->CharacterSet = TokenText;
  NextToken();
  if (Token == ibFROM) {
    NextToken();
    if (Token == ibEXTERNAL) {
      if (!NextCheck(tkLParen) || !NextCheck(tkString)) return;
      coll->ExternalName = LiteralText;
      NextToken();
      if (!CheckNext(tkRParen)) return;
    } else if (Token == tkIdent) {
      coll->FromCollation = TokenText;
      NextToken();
    } else {
      Error("Must be: FROM basecoll | FROM EXTERNAL ('extname')");
      return;
    }
  }
  auto sensitivity = [this](bool& flag) {
    NextToken();
    if (IsWord("SENSITIVE")) {
      flag = true;
    } else if (IsWord("INSENSITIVE")) {
      flag = false;
    } else {
      Error("Must be: SENSITIVE / INSENSITIVE");
      return false;
    }
    NextToken();
    return true;
  };
  while (Token != tkTerm && Token != tkEOF) {
    if (Token == ibNO) {
      NextToken();
      if (!CheckWord("PAD")) return;
      coll->PadSpace = false;
      NextToken();
    } else if (IsWord("PAD")) {
      NextToken();
      if (!CheckWord("SPACE")) return;
      coll->PadSpace = true;
      NextToken();
    } else if (Token == ibCASE || IsWord("CASE")) {
      if (!sensitivity(coll->CaseSensitive)) return;
    } else if (IsWord("ACCENT")) {
      if (!sensitivity(coll->AccentSensitive)) return;
    } else if (Token == tkString) {
      coll->Attributes = LiteralText;
      NextToken();
    } else {
      break;
    }
  }
  DoLog("Collation: " + coll->Name);
  AddObject(coll, true);
  EndStatement();
}

// ---- Grants and descriptions ----------------------------------------------------------

void TIbParser::ParseGrant() {
  NextToken();
  auto proto = std::make_unique<TGntData>(Objs);
  const bool privileges = Token == ibALL || Token == ibDELETE || Token == ibEXECUTE ||
                          Token == ibINSERT || Token == ibREFERENCES || Token == ibSELECT ||
                          Token == ibUPDATE || IsWord("USAGE");
  if (privileges) {
    for (;;) {
      const TTokenKind t = Token;
      if (t == ibALL) {
        for (uint8_t p : {pvInsert, pvUpdate, pvDelete, pvSelect, pvReferences}) proto->Privileges.set(p);
        NextToken();
        if (IsKeyword(ibPRIVILEGES, "PRIVILEGES")) NextToken();
      } else if (t == ibDELETE || t == ibEXECUTE || t == ibINSERT || t == ibSELECT ||
                 t == ibUPDATE || t == ibREFERENCES || IsWord("USAGE")) {
        proto->Privileges.set(t == ibDELETE    ? pvDelete
                              : t == ibEXECUTE ? pvExecute
                              : t == ibINSERT  ? pvInsert
                              : t == ibSELECT  ? pvSelect
                              : t == ibUPDATE  ? pvUpdate
                              : t == ibREFERENCES ? pvReferences
                                                  : pvUsage);
        NextToken();
        if ((t == ibUPDATE || t == ibREFERENCES) && Token == tkLParen) {
          // Column privileges.
          NextToken();
          while (IsName() && Check(tkIdent)) {
            if (std::find(proto->Columns.begin(), proto->Columns.end(), TokenText) == proto->Columns.end())
              proto->Columns.push_back(TokenText);
            NextToken();
            if (Token != tkComma) break;
            NextToken();
          }
          if (!CheckNext(tkRParen)) return;
        }
      } else {
        Check(ibON);
        return;
      }
      if (Token != tkComma) break;
      NextToken();
    }
    if (!CheckNext(ibON)) return;
    TDbObject kind = dboUnknown;
    if (Token == ibTABLE) kind = dboTable;
    else if (Token == ibVIEW) kind = dboView;
    else if (Token == ibPROCEDURE) kind = dboProcedure;
    else if (Token == ibTRIGGER) kind = dboTrigger;
    else if (Token == ibFUNCTION) kind = dboFunction;
    else if (IsWord("PACKAGE")) kind = dboPackage;
    else if (IsKeyword(ibGENERATOR, "GENERATOR") || IsWord("SEQUENCE")) kind = dboGenerator;
    else if (IsKeyword(ibEXCEPTION, "EXCEPTION")) kind = dboException;
    else if (IsKeyword(ibDOMAIN, "DOMAIN")) kind = dboDomain;
    if (kind != dboUnknown) NextToken();
    if (!Check(tkIdent)) return;
    proto->ObjectName = TokenText;
    if (kind == dboUnknown && Objs) {
      if (Objs->FindTable(TokenText))
        kind = dboTable;
      else if (Objs->FindView(TokenText))
        kind = dboView;
      else if (UpperAscii(TokenText.substr(0, 4)) == "RDB$" && proto->Privileges.test(pvSelect))
        kind = dboTable;
    }
    proto->ObjectKind = kind;
  } else {
    if (!Check(tkIdent)) return;
    proto->ObjectName = TokenText;
    proto->ObjectKind = dboRole;
  }
  NextToken();
  if (!CheckNext(ibTO)) return;
  std::vector<std::unique_ptr<TGntData>> grants;
  for (;;) {
    auto grant = std::make_unique<TGntData>(Objs);
    grant->Privileges = proto->Privileges;
    grant->Columns = proto->Columns;
    grant->ObjectName = proto->ObjectName;
    grant->ObjectKind = proto->ObjectKind;
    TDbObject kind = dboUnknown;
    TCmpObjType grantClass = coGrant;
    if (Token == ibVIEW) kind = dboView;
    else if (Token == ibPROCEDURE) kind = dboProcedure;
    else if (Token == ibTRIGGER) kind = dboTrigger;
    else if (Token == ibFUNCTION) kind = dboFunction;
    else if (IsWord("PACKAGE")) kind = dboPackage;
    else if (Token == ibUSER) kind = dboUser;
    else if (IsKeyword(ibROLE, "ROLE")) kind = dboRole;
    else if (IsWord("GROUP") || Token == ibGROUP) kind = dboUserGroup;
    if (kind != dboUnknown) {
      grantClass = kind == dboUser || kind == dboUserGroup ? coUserGrant
                   : kind == dboRole                       ? coRoleGrant
                                                           : coObjGrant;
      NextToken();
    }
    if (!Check(tkIdent)) return;
    grant->Grantee = TokenText;
    if (kind == dboUnknown) kind = Objs && Objs->FindRole(TokenText) ? dboRole : dboUser;
    grant->GranteeKind = kind == dboUserGroup ? dboUser : kind;
    grant->GrantClass = grantClass;
    grants.push_back(std::move(grant));
    NextToken();
    if (Token != tkComma) break;
    NextToken();
  }
  if (Token == ibWITH) {
    NextToken();
    if (Token != ibADMIN && Token != ibGRANT) {
      Error("Must be: with GRANT/ADMIN option");
      return;
    }
    NextToken();
    if (!CheckKeyword(ibOPTION, "OPTION")) return;
    NextToken();
    for (auto& g : grants) g->GrantOption = 1;
  }
  if (IsWord("GRANTED") || Token == ibAS) {
    // GRANTED BY / AS grantor: who granted is not compared.
    NextToken();
    if (Token == ibBY) NextToken();
    if (Token == ibUSER) NextToken();
    if (!Check(tkIdent)) return;
    NextToken();
  }
  EndStatement();
  if (!Objs) return;
  const bool ignoreIBE = Objs->IBServerOptions->IBCompareOptions->IgnoreIBEObjects;
  for (auto& g : grants) {
    if (LogWanted()) DoLog("Grant: " + g->GetCreateSQL());
    if (ignoreIBE && g->ObjectName.rfind("IBE$", 0) == 0) continue;
    Objs->MergeGrant(g);  // a grant merged into an earlier one is freed here
  }
}

TDbObject TIbParser::DescribedKind() {
  if (IsKeyword(ibDOMAIN, "DOMAIN")) return dboDomain;
  if (IsKeyword(ibEXCEPTION, "EXCEPTION")) return dboException;
  if (IsKeyword(ibGENERATOR, "GENERATOR") || IsWord("SEQUENCE")) return dboGenerator;
  if (IsKeyword(ibROLE, "ROLE")) return dboRole;
  if (IsWord("PACKAGE")) return dboPackage;
  switch (Token) {
    case ibFUNCTION: return dboFunction;
    case ibINDEX: return dboIndex;
    case ibPROCEDURE: return dboProcedure;
    case ibTABLE: return dboTable;
    case ibTRIGGER: return dboTrigger;
    case ibVIEW: return dboView;
    default: return dboUnknown;
  }
}

void TIbParser::ParseDescribe() {
  NextToken();
  TDbObj* target = nullptr;
  auto next = [this]() { return NextCheck(tkIdent); };
  if (IsWord("FIELD")) {
    if (!next()) return;
    const std::string column = TokenText;
    NextToken();
    if (Token == ibTABLE) {
      if (!next()) return;
      target = Objs ? Objs->FindTableField(TokenText, column) : nullptr;
    } else if (Token == ibVIEW) {
      if (!next()) return;
      target = Objs ? Objs->FindViewField(TokenText, column) : nullptr;
    } else {
      Error("Unknown DESCRIBE statement.");
      return;
    }
  } else if (Token == ibPARAMETER) {
    if (!next()) return;
    const std::string param = TokenText;
    if (!NextCheck(ibPROCEDURE) || !next()) return;
    if (TPrcData* proc = Objs ? Objs->FindProcedure(TokenText) : nullptr) target = proc->FindParam(param);
  } else {
    const TDbObject kind = DescribedKind();
    if (kind == dboUnknown || kind == dboPackage) {
      Error("Unknown DESCRIBE statement.");
      return;
    }
    if (!next()) return;
    target = FindObjectOfKind(kind, TokenText);
  }
  if (!NextCheck(tkString)) return;
  if (target) target->SetDescription(LiteralText);
  NextToken();
  StatementFound(skDescription);
  EndStatement();
}

bool TIbParser::IsParameterComment() {
  TParseContext saved(this);
  const uint64_t terms = TermCount;
  NextToken();
  if (Token == ibPARAMETER) return true;
  saved.Restore();
  TermCount = terms;
  TokenName = TTokenNameRef(ResWords->WordOf(Token));
  return false;
}

void TIbParser::ParseComment() {
  if (!NextCheck(ibON)) return;
  NextToken();
  TDbObj* target = nullptr;
  auto next = [this]() { return NextCheck(tkIdent); };
  // Reads "a.b" and leaves the token on b.
  auto qualified = [this](std::string& a, std::string& b) {
    if (!NextCheck(tkIdent)) return false;
    a = TokenText;
    if (!NextCheck(tkDot) || !NextCheck(tkIdent)) return false;
    b = TokenText;
    return true;
  };
  std::string a, b;
  if (IsKeyword(ibCOLUMN, "COLUMN")) {
    if (!qualified(a, b)) return;
    if (Objs) {
      target = Objs->FindTableField(a, b);
      if (!target) target = Objs->FindViewField(a, b);
    }
  } else if (Token == ibPARAMETER) {
    if (!qualified(a, b)) return;
    if (TPrcData* proc = Objs ? Objs->FindProcedure(a) : nullptr) target = proc->FindParam(b);
  } else if ((Token == ibPROCEDURE || Token == ibFUNCTION) && IsParameterComment()) {
    // PROCEDURE PARAMETER p.x, as isql writes it.
    if (!qualified(a, b)) return;
    if (TPrcData* proc = Objs ? Objs->FindProcedure(a) : nullptr) target = proc->FindParam(b);
  } else if (Token == ibEXTERNAL) {
    if (!NextCheck(ibFUNCTION) || !next()) return;
    if (Objs) target = Objs->FindFunction(TokenText);
  } else if (IsWord("DATABASE") || Token == ibDATABASE) {
    // The database's own comment is not modelled.
  } else if (IsWord("CHARACTER") || Token == ibCHARACTER || IsWord("COLLATION") ||
             IsWord("FILTER") || IsWord("MAPPING") || Token == ibUSER) {
    if (Token == ibCHARACTER || IsWord("CHARACTER")) NextCheck(ibSET);
    if (!next()) return;
  } else {
    const TDbObject kind = DescribedKind();
    if (kind == dboUnknown) {
      Error("Unknown Comment-statement");
      return;
    }
    if (!next()) return;
    target = FindObjectOfKind(kind, TokenText);
  }
  if (!NextCheck(ibIS)) return;
  NextToken();
  std::string text;
  if (Token == tkString) {
    text = LiteralText;
  } else if (Token != ibNULL) {
    Error("Invalid comment text");
    return;
  }
  NextToken();
  if (target) target->SetDescription(text);
  StatementFound(skDescription);
  EndStatement();
}

// ---- Bodies ---------------------------------------------------------------------

long TIbParser::SkipLiteralOrComment(long k) const {
  const char* s = Source.data();
  const long n = static_cast<long>(Source.size());
  const char c = s[k];
  if (c == '\'' || c == '"') {
    // A doubled quote stands for itself; an unclosed literal runs to the end.
    ++k;
    while (k < n && !(s[k] == c && (k + 1 >= n || s[k + 1] != c))) k += (s[k] == c) ? 2 : 1;
    return std::min(k + 1, n);
  }
  if (c == '/' && k + 1 < n && s[k + 1] == '*') {
    const size_t close = Source.find("*/", static_cast<size_t>(k + 2));
    return close == std::string::npos ? n : static_cast<long>(close) + 2;
  }
  if (c == '-' && k + 1 < n && s[k + 1] == '-') {
    const size_t lf = Source.find('\n', static_cast<size_t>(k + 2));
    return lf == std::string::npos ? n : static_cast<long>(lf);
  }
  return k;
}

int TIbParser::ScanParenthesized(int from) const {
  const char* s = Source.data();
  const long n = static_cast<long>(Source.size());
  long k = from - 1;
  int depth = 0;
  while (k < n) {
    const char c = s[k];
    if (const long past = SkipLiteralOrComment(k); past > k) {
      k = past;
    } else {
      if (c == '(') {
        ++depth;
      } else if (c == ')' && --depth <= 0) {
        return static_cast<int>(k + 2);
      }
      ++k;
    }
  }
  return static_cast<int>(n + 1);
}

int TIbParser::ScanToTerminator(int from, bool routine) const {
  const char* s = Source.data();
  const long n = static_cast<long>(Source.size());
  const long termLen = static_cast<long>(Term.size());
  // With ";" as terminator a body holds semicolons of its own: the one that
  // ends the statement stands outside every BEGIN ... END (and CASE ... END),
  // and in a routine after its block, since declarations end in ";" too.
  const bool blocks = Term == ";";
  int depth = 0;
  bool blockClosed = !routine;
  bool firstWord = true;
  long k = from - 1;
  while (k < n) {
    const char c = s[k];
    if (const long past = SkipLiteralOrComment(k); past > k) {
      k = past;
    } else if (termLen > 0 && depth == 0 && (blockClosed || !blocks) && c == Term[0] &&
               k + termLen <= n &&
               Source.compare(static_cast<size_t>(k), static_cast<size_t>(termLen), Term) == 0) {
      return static_cast<int>(k + 1);
    } else if (blocks && IsLetterChar(c) && (k == 0 || !IsWordChar(s[k - 1]))) {
      long e = k;
      while (e < n && IsWordChar(s[e])) ++e;
      const size_t len = static_cast<size_t>(e - k);
      if (firstWord && !SameWord(s + k, len, "AS")) {
        // A routine body that is not a block (EXTERNAL NAME ...) ends at the
        // first terminator.
        firstWord = false;
        if (!SameWord(s + k, len, "BEGIN") && !SameWord(s + k, len, "DECLARE")) blockClosed = true;
      }
      if (SameWord(s + k, len, "BEGIN") || SameWord(s + k, len, "CASE")) {
        ++depth;
      } else if (SameWord(s + k, len, "END") && depth > 0) {
        if (--depth == 0) blockClosed = true;
      }
      k = e;
    } else {
      ++k;
    }
  }
  return static_cast<int>(n + 1);
}

void TIbParser::StoreBody(TDbObj* obj, const std::string& text) {
  TPkgData* pkg = obj->As<TPkgData>();
  if (pkg && !pkg->IsBody)
    pkg->Header = NormalizeText(text);
  else
    obj->SetBody(text);
}

void TIbParser::ReadBodyText(TDbObj* obj, int start) {
  if (!obj) return;
  int from = start >= 0 ? start : CurrentIndex();
  const bool expression =
      obj->IsFieldObject() || obj->GetListId() == olCtr || obj->GetListId() == olIdx;
  if (!obj->IsFieldObject()) NextToken();
  if (obj->As<TPkgData>()) from = TokenStart;
  if (Token == tkEOF) return;  // the end of the input, or a statement given up after an error
  if (expression) {
    if (!Check(tkLParen)) return;
    const int end = ScanParenthesized(TokenStart);
    obj->SetBody(Trimmed(SourceCopy(from, end - from)));
    MoveTo(end);
    NextToken();
    return;
  }
  if (Token == tkTerm) {
    StoreBody(obj, Trimmed(SourceCopy(from, TokenStart - from)));
    return;
  }
  const bool routine = obj->GetListId() == olPrc || obj->GetListId() == olTrg || obj->As<TPkgData>() ||
                       obj->IsProcedure();
  const int end = ScanToTerminator(TokenStart, routine);
  StoreBody(obj, Trimmed(SourceCopy(from, end - from)));
  // Onto the terminator, which the caller finds as the current token.
  MoveTo(end);
  NextToken();
}

bool TIbParser::ReadParenthesizedText(std::string& text) {
  text.clear();
  if (!Check(tkLParen)) return false;
  const int end = ScanParenthesized(TokenStart);
  text = SourceCopy(TokenStart, end - TokenStart);
  if (DebugFlags & 4) DoDebug("Expression: " + text);
  MoveTo(end);
  NextToken();
  return true;
}

void TIbParser::ParseDefaultClause(TFldData* field) {
  const bool keyword = Token == ibDEFAULT;
  const int from = TokenStart;
  NextToken();
  std::string written;
  // The server keeps the clause as written: a keyword spelled otherwise is
  // kept for the DDL that creates the column or domain.
  if (keyword && field) written = SourceCopy(from, TokenStart - from);
  std::string text;
  ParseDefaultValue(field, text);
  if (!field) return;
  field->DefaultValue = text;
  field->DefaultKeyword = written == "DEFAULT " ? std::string() : written;
}

void TIbParser::ParseDefaultValue(TFldData* /*field*/, std::string& text) {
  text.clear();
  const int from = TokenStart;
  switch (Token) {
    case tkIdent:
    case tkFloat:
    case tkString:
    case tkInteger:
    case ibCURRENT_DATE:
    case ibNULL:
    case ibUSER:
      text = TokenSourceText();
      break;
    case tkMinus:
    case tkPlus:
      NextToken();
      text = SourceCopy(from, CurrentIndex() - from);
      break;
    case ibCharsetIntroducer:
      if (!NextCheck(tkString)) return;
      text = SourceCopy(from, CurrentIndex() - from);
      break;
    case ibCURRENT_TIME:
    case ibCURRENT_TIMESTAMP: {
      text = TokenSourceText();
      // A precision in parentheses belongs to the value.
      const long n = static_cast<long>(Source.size());
      long k = CurrentIndex() - 1;
      while (k < n && (Source[static_cast<size_t>(k)] == ' ' || Source[static_cast<size_t>(k)] == '\t' ||
                       Source[static_cast<size_t>(k)] == '\r' || Source[static_cast<size_t>(k)] == '\n'))
        ++k;
      if (k < n && Source[static_cast<size_t>(k)] == '(') {
        const int end = ScanParenthesized(static_cast<int>(k + 1));
        text += SourceCopy(static_cast<int>(k + 1), end - static_cast<int>(k + 1));
        MoveTo(end);
      }
      break;
    }
    default:
      Error("DEFAUT <value> error...");
      return;
  }
  NextToken();
}

// ---- Data types and columns -------------------------------------------------------

TTokenKind TIbParser::DataTypeKind() const {
  if (Token != tkIdent || QuoteChar != 0) return Token;
  const std::string& w = TokenText;  // upper case
  if (IsYaffil()) {
    for (const TTypeWord& t : YaffilTypeWords)
      if (w == t.Word) return t.Kind;
  }
  if (IsFirebird3Up()) {
    if (w == "CSTRING") return ibCSTRING;
    if (w == "TYPE") return ibTYPE;
    if (w == "BOOLEAN") return ibBOOLEAN;
  }
  if (IsFirebird4() && w == "DECFLOAT") return ibDECFLOAT;
  if (w == "TYPE") return ibTYPE;
  return Token;
}

bool TIbParser::IsDataTypeStart() {
  switch (DataTypeKind()) {
    case ibBLOB: case ibCHAR: case ibCSTRING: case ibDATE: case ibDECFLOAT: case ibBINARY:
    case ibDECIMAL: case ibDOUBLE: case ibFLOAT: case ibVARBINARY: case ibINTEGER: case ibNUMERIC:
    case ibREAL: case ibSMALLINT: case ibTIME: case ibTIMESTAMP: case ibTYPE: case ibVARCHAR:
    case ibNCHAR: case ibBIGINT: case ibBOOLEAN: case ibNATIONAL:
      return true;
    default:
      return false;
  }
}

bool TIbParser::ReadNumberInParens(int32_t& value) {
  if (Token != tkLParen || !NextCheck(tkInteger)) return false;
  value = IntValue;
  if (!NextCheck(tkRParen)) return false;
  NextToken();
  return true;
}

void TIbParser::ParseLength(TFldData* field) {
  field->Length = field->ByteLength = 1;
  int32_t length = 0;
  if (ReadNumberInParens(length)) field->Length = field->ByteLength = length;
}

void TIbParser::ParseArrayDims(TFldData* field) {
  if (Token != tkLBracket) return;
  field->Dimensions.clear();
  NextToken();
  for (;;) {
    TDimension dim;
    std::string text;
    if (!ReadSignedInteger(text)) return;
    // [n] is the range 1 to n, as the server stores it: written back as
    // lower:upper it must mean the same.
    dim.Lower = 1;
    dim.Upper = IntValue;
    NextToken();
    if (Token == tkColon) {
      dim.Lower = dim.Upper;
      NextToken();
      if (!ReadSignedInteger(text)) return;
      dim.Upper = IntValue;
      NextToken();
    }
    field->Dimensions.push_back(dim);
    if (Token != tkComma) break;
    NextToken();
  }
  CheckNext(tkRBracket);
}

void TIbParser::ParseBlobOptions(TFldData* field) {
  for (;;) {
    if (IsKeyword(ibSUB_TYPE, "SUB_TYPE")) {
      NextToken();
      bool named = false;
      if (Token == tkIdent || Token == ibBINARY) {
        const std::string w = UpperAscii(TokenText);
        for (const TSubTypeName& t : BlobSubTypes)
          if (w == t.Word) {
            field->SubType = t.Code;
            named = true;
          }
      }
      std::string text;
      if (!named) {
        if (Token != tkInteger && Token != tkMinus && Token != tkPlus) {
          Error("Unknown blob-subtype.");
          return;
        }
        if (!ReadSignedInteger(text)) return;
        field->SubType = IntValue;
      }
      NextToken();
    } else if (IsKeyword(ibSEGMENT, "SEGMENT")) {
      NextToken();
      if (!IsKeyword(ibSIZE, "SIZE") && !CheckWord("SIZE")) return;
      if (!NextCheck(tkInteger)) return;
      field->SegmentSize = IntValue;
      NextToken();
    } else {
      break;
    }
  }
  if (Token != tkLParen) return;
  if (!NextCheck(tkInteger)) return;
  field->SegmentSize = IntValue;
  NextToken();
  if (Token == tkComma) {
    NextToken();
    std::string text;
    if (!ReadSignedInteger(text)) return;
    field->SubType = IntValue;
    NextToken();
  }
  CheckNext(tkRParen);
}

void TIbParser::ParseTypeName(TFldData* f) {
  switch (DataTypeKind()) {
    case ibBLOB:
      f->DataType = dtBlob;
      f->SegmentSize = 80;
      NextToken();
      ParseBlobOptions(f);
      return;
    case ibNATIONAL:
      // NATIONAL CHARACTER [VARYING]: as NCHAR.
      NextToken();
      if (!Check(ibCHAR)) return;
      [[fallthrough]];
    case ibNCHAR:
      f->CharacterSet = "ISO8859_1";
      [[fallthrough]];
    case ibCHAR:
      f->DataType = dtChar;
      NextToken();
      if (Token == ibVARYING) {
        f->DataType = dtVarchar;
        NextToken();
      }
      ParseLength(f);
      return;
    case ibVARCHAR:
      f->DataType = dtVarchar;
      NextToken();
      ParseLength(f);
      return;
    case ibCSTRING:
      f->DataType = dtCString;
      NextToken();
      ParseLength(f);
      return;
    case ibBINARY:
      f->DataType = dtBinary;
      NextToken();
      if (Token == ibVARYING) {
        f->DataType = dtVarBinary;
        NextToken();
      }
      ParseLength(f);
      return;
    case ibVARBINARY:
      f->DataType = dtVarBinary;
      NextToken();
      ParseLength(f);
      return;
    case ibDATE: f->DataType = dtDate; break;
    case ibDECFLOAT:
      f->DataType = dtDecFloat;
      NextToken();
      if (Token == tkLParen) {
        ParsePrecision(f);
      } else {
        f->Precision = 34;
        f->Scale = 0;
      }
      return;
    case ibDECIMAL:
    case ibNUMERIC:
      f->DataType = DataTypeKind() == ibDECIMAL ? dtDecimal : dtNumeric;
      NextToken();
      ParsePrecision(f);
      return;
    case ibDOUBLE:
      f->DataType = dtDoublePrecision;
      if (!NextCheck(ibPRECISION)) return;
      break;
    case ibFLOAT:
      f->DataType = dtFloat;
      NextToken();
      ReadNumberInParens(f->Precision);  // FLOAT(binary precision)
      return;
    case ibINTEGER: f->DataType = dtInteger; break;
    case ibREAL: f->DataType = dtReal; break;
    case ibSMALLINT: f->DataType = dtSmallInt; break;
    case ibBIGINT: f->DataType = dtBigInt; break;
    case ibBOOLEAN: f->DataType = dtBoolean; break;
    case ibTIME:
    case ibTIMESTAMP:
      f->DataType = DataTypeKind() == ibTIME ? dtTime : dtTimestamp;
      NextToken();
      // A fractional precision, which no server version writes, stands right
      // after the type word and before WITH TIME ZONE.
      ReadNumberInParens(f->Precision);
      return;
    case tkIdent:
      if (IsWord("COMPUTED") || IsWord("GENERATED")) return;  // a computed column without a type
      f->DataType = dtDomain;
      f->DomainName = TokenText;
      break;
    case tkString:
      f->DataType = dtDomain;
      f->DomainName = LiteralText;
      break;
    default:
      return;  // no data type: nothing is taken
  }
  NextToken();
}

void TIbParser::ParseDataType(TFldData* field, TDmnData* domain) {
  if (!field) return;
  if (DataTypeKind() == ibTYPE) {
    if (!NextCheck(ibOF)) return;
    NextToken();
    field->TypeOf = true;
    if (IsKeyword(ibCOLUMN, "COLUMN")) {
      field->DataType = dtDomain;
      NextToken();
      field->TypeOfTable = TokenText;
      if (!CheckNext(tkIdent) || !Check(tkDot)) return;
      NextToken();
      field->TypeOfColumn = TokenText;
      if (!Check(tkIdent)) return;
      if (Objs)
        if (TTblData* table = Objs->FindTable(field->TypeOfTable); table && !field->Owner)
          field->Owner = table;
      NextToken();
    } else {
      ParseTypeName(field);  // TYPE OF domain
    }
  } else {
    ParseTypeName(field);
  }
  ParseArrayDims(field);
  if (Token == ibCHARACTER) {
    if (!NextCheck(ibSET) || !NextCheck(tkIdent)) return;
    field->CharacterSet = TokenText;
    // The database's own character set is implied; a database without one has NONE.
    const std::string dbCharSet = ServerOptions->DBCharSet.empty() ? std::string("NONE")
                                                                    : ServerOptions->DBCharSet.str();
    if (SameTextAscii(field->CharacterSet, dbCharSet)) field->CharacterSet.clear();
    NextToken();
    ParseArrayDims(field);
  }
  if ((field->DataType == dtTime || field->DataType == dtTimestamp) && IsFirebird4() &&
      (Token == ibWITH || IsWord("WITHOUT"))) {
    field->WithTimeZone = Token == ibWITH;
    NextToken();
    if (Token != ibTIME && !CheckWord("TIME")) return;
    NextToken();
    if (!CheckWord("ZONE")) return;
    NextToken();
  }
  ParseColumnOptions(field, domain != nullptr);
  if (IsKeyword(ibCOMPUTED, "COMPUTED")) {
    NextToken();
    if (Token == ibBY) NextToken();
    if (!Check(tkLParen)) return;
    ReadBodyText(field, TokenStart);
    // Constraints and NOT NULL may follow the expression.
    ParseColumnOptions(field, domain != nullptr);
  }
}

void TIbParser::ParseIdentity(TFldData* field) {
  // Token on IDENTITY.
  field->Identity = true;
  NextToken();
  if (Token != tkLParen) return;
  NextToken();
  std::string start, increment;
  if (!ParseSequenceOptions(start, increment)) return;
  int32_t value = 0;
  if (TryParseInt(start, value)) field->IdentitySeed = value;
  if (TryParseInt(increment, value)) field->IdentityIncrement = value;
  CheckNext(tkRParen);
}

void TIbParser::ParseColumnOptions(TFldData* field, bool forDomain) {
  if (IsWord("GENERATED")) {
    NextToken();
    if (Token == ibBY) {
      if (!NextCheck(ibDEFAULT) || !NextCheck(ibAS)) return;
      NextToken();
      if (!CheckWord("IDENTITY")) return;
      ParseIdentity(field);
    } else if (IsWord("ALWAYS")) {
      if (!NextCheck(ibAS)) return;
      NextToken();
      if (IsWord("IDENTITY")) {
        ParseIdentity(field);
      } else {
        // GENERATED ALWAYS AS (expression): a computed column.
        if (!Check(tkLParen)) return;
        ReadBodyText(field, TokenStart);
      }
    } else {
      Error("Must be: GENERATED BY DEFAULT / GENERATED ALWAYS");
      return;
    }
  }
  for (;;) {
    switch (Token) {
      case tkEqual:
      case ibDEFAULT: {
        ParseDefaultClause(field);
        if (TDmnData* d = field->FindDomain(); d && d->BaseField &&
                                               field->GetDefaultText() == d->BaseField->GetDefaultText()) {
          field->DefaultValue.clear();  // the domain's own default
          field->DefaultKeyword.clear();
        }
        break;
      }
      case ibNOT:
        if (!NextCheck(ibNULL)) return;
        field->Nullable = false;
        NextToken();
        break;
      case ibNULL: NextToken(); break;
      case ibCOLLATE:
        if (!NextCheck(tkIdent)) return;
        field->Collation = TokenText;
        NextToken();
        break;
      case ibBY:
        NextToken();
        if (IsKeyword(ibDESCRIPTOR, "DESCRIPTOR")) {
          field->ByDescriptor = true;
        } else if (Token == ibVALUE) {
          field->ByValue = true;
        } else {
          Error("Must be: BY DESCRIPTOR / BY VALUE");
          return;
        }
        NextToken();
        break;
      case ibCONSTRAINT:
        if (forDomain) {
          if (!NextCheck(ibCHECK)) return;
        } else {
          ParseNamedConstraint(field, nullptr, std::string());
        }
        break;
      case ibFOREIGN:
      case ibPRIMARY:
      case ibUNIQUE:
      case ibREFERENCES:
        if (forDomain) return;
        ParseConstraint(nullptr, field, std::string(), nullptr);
        break;
      case ibCHECK:
        if (forDomain) {
          NextToken();
          std::string text;
          if (!ReadParenthesizedText(text)) return;
          field->CheckExpression = text;
        } else {
          ParseConstraint(nullptr, field, std::string(), nullptr);
        }
        break;
      default:
        return;
    }
  }
}

std::unique_ptr<TFldData> TIbParser::ParseColumn(TDbObj* owner, const std::string& tableName) {
  if (Token != tkString && !Check(tkIdent)) return nullptr;
  auto field = std::make_unique<TFldData>(Objs, owner);
  field->SetName(Token == tkString ? LiteralText : TokenText);
  field->TableName = owner ? owner->Name : tableName;
  CurField = field->Name;
  NextToken();
  ParseDataType(field.get(), nullptr);
  return field;
}

void TIbParser::ParseNameList(TNamedObjList<TFldData>& list) {
  if (!Check(tkLParen)) return;
  do {
    if (!NextCheck(tkIdent)) return;
    auto field = std::make_unique<TFldData>(Objs, nullptr);
    field->SetName(TokenText);
    list.Add(TokenText, std::move(field));
    NextToken();
  } while (Token == tkComma);
  CheckNext(tkRParen);
}

// ---- Constraints ------------------------------------------------------------------

void TIbParser::ParseNamedConstraint(TFldData* field, TTblData* table, const std::string& tableName) {
  if (!Check(ibCONSTRAINT)) return;
  auto ctr = std::make_unique<TCtrData>(Objs);
  if (!NextCheck(tkIdent)) return;
  ctr->SetName(TokenText);
  NextToken();
  ParseConstraint(std::move(ctr), field, tableName, table);
}

void TIbParser::ParseConstraint(std::unique_ptr<TCtrData> ctr, TFldData* field,
                                const std::string& tableName, TTblData* table) {
  if (!ctr) ctr = std::make_unique<TCtrData>(Objs);
  ctr->SetTableName(table ? table->Name : tableName);
  TTblData* owner = table;
  if (field) {
    auto column = std::make_unique<TFldData>(Objs, nullptr);
    column->SetName(field->Name);
    ctr->Fields.Add(field->Name, std::move(column));
    ctr->SetTableName(field->TableName);
    if (!owner) owner = field->GetOwnerTable();
  }
  auto logText = [this, &ctr](const char* label) {
    if (LogWanted()) DoLog(label + ctr->GetCreateSQL());
  };
  std::string usingText;
  switch (Token) {
    case ibCHECK:
      ctr->SetConstraintType(ctCheck);
      ReadBodyText(ctr.get(), -1);
      logText("Check: ");
      break;
    case ibFOREIGN:
    case ibREFERENCES:
      ctr->SetConstraintType(ctForeignKey);
      ParseForeignKey(owner, ctr.get());
      if (Objs && Objs->CtrList.Find(ctr->GetListKey())) {
        AddWarning("Duplicate Foreign Key:");
        AddWarning(ctr->GetCreateSQL());
        AddWarning(std::string());
      }
      logText("Foreign key 2: ");
      break;
    case ibPRIMARY:
    case ibUNIQUE: {
      const bool primary = Token == ibPRIMARY;
      ctr->SetConstraintType(primary ? ctPrimaryKey : ctUnique);
      NextToken();
      if (primary) {
        if (!CheckKeyword(ibKEY, "KEY")) return;
        NextToken();
      }
      if (Token == tkLParen) ParseNameList(ctr->Fields);
      ParseUsingIndex(ctr.get(), usingText);
      if (TCtrData* key = primary ? FindPrimaryKey(ctr->TableName) : nullptr) {
        // A table has one primary key: the second is reported and dropped.
        AddWarning("Duplicate Primary Key, Table: " + ctr->QuoteName(ctr->TableName) +
                   " (convert to Unique)");
        AddWarning(key->GetCreateSQL());
        AddWarning(ctr->GetCreateSQL());
        ctr->SetConstraintType(ctUnique);
        AddWarning(ctr->GetCreateSQL());
        AddWarning(std::string());
        return;
      }
      logText(primary ? "Primary key: " : "Unique: ");
      break;
    }
    default:
      Error("Missing: PRIMARY... or UNIQUE...");
      return;
  }
  if (Objs && Objs->IBServerOptions->IBCompareOptions->IgnoreIBEObjects &&
      (ctr->Name.rfind("IBE$", 0) == 0 || ctr->TableName.rfind("IBE$", 0) == 0))
    return;
  TCtrData* raw = ctr.get();
  const bool known = Objs && PrimaryKeysVersion == Objs->CtrList.Version();
  if (AddObject(ctr, true) && known) {
    // Keep the index of primary keys in step with the list it was built from.
    if (raw->ConstraintType == ctPrimaryKey) PrimaryKeys.emplace(raw->TableName, raw);
    PrimaryKeysVersion = Objs->CtrList.Version();
  }
}

TCtrData* TIbParser::FindPrimaryKey(const std::string& tableName) {
  if (!Objs) return nullptr;
  if (PrimaryKeysVersion != Objs->CtrList.Version()) {
    PrimaryKeys.clear();
    for (const auto& e : Objs->CtrList)
      if (auto* c = e.Obj->As<TCtrData>(); c && c->ConstraintType == ctPrimaryKey)
        PrimaryKeys.emplace(c->TableName, c);
    PrimaryKeysVersion = Objs->CtrList.Version();
  }
  auto it = PrimaryKeys.find(tableName);
  return it == PrimaryKeys.end() ? nullptr : it->second;
}

void TIbParser::ParseForeignKey(TTblData* table, TCtrData* ctr) {
  if (Token == ibFOREIGN) {
    NextToken();
    if (!CheckKeyword(ibKEY, "KEY")) return;
    NextToken();
    ParseNameList(ctr->Fields);
  }
  if (!CheckNext(ibREFERENCES) || !Check(tkIdent)) return;
  ctr->SetRefTableName(TokenText);
  TTblData* ref = Objs ? Objs->FindTable(TokenText) : nullptr;
  NextToken();
  if (Token == tkLParen) ParseNameList(ctr->RefFields);
  AddDepend(ctr, table, std::string());
  AddDepend(ctr, ref, std::string());
  while (Token == ibON) {
    NextToken();
    uint8_t* rule = Token == ibDELETE ? &ctr->OnDelete : Token == ibUPDATE ? &ctr->OnUpdate : nullptr;
    if (!rule) {
      Error("Missing: UPDATE/DELETE");
      break;
    }
    NextToken();
    if (Token == ibNO) {
      NextToken();
      if (!IsKeyword(ibACTION, "ACTION")) {
        Error("Must be: ACTION");
        return;
      }
      *rule = raNone;
    } else if (IsKeyword(ibCASCADE, "CASCADE")) {
      *rule = raCascade;
    } else if (Token == ibSET) {
      NextToken();
      if (Token == ibDEFAULT) {
        *rule = raSetDefault;
      } else if (Token == ibNULL) {
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
  std::string text;
  ParseUsingIndex(ctr, text);
  if (LogWanted()) DoLog("Foreign key 1: " + ctr->GetCreateSQL());
}

void TIbParser::ParseUsingIndex(TCtrData* ctr, std::string& text) {
  text.clear();
  if (!IsKeyword(ibUSING, "USING")) return;
  text = "USING ";
  NextToken();
  const bool desc = IsKeyword(ibDESC, "DESC") || IsKeyword(ibDESCENDING, "DESCENDING");
  if (desc || IsKeyword(ibASC, "ASC") || IsKeyword(ibASCENDING, "ASCENDING")) {
    if (desc) {
      ctr->DescIndex = true;
      text += "DESC ";
    }
    NextToken();
  }
  text += "INDEX ";
  if (!CheckNext(ibINDEX) || !Check(tkIdent)) return;
  ctr->IndexName = TokenText;
  text += FormatName(TokenText);
  NextToken();
}

// ---- Tables -------------------------------------------------------------------------

void TIbParser::AddTableColumn(TTblData* table, std::unique_ptr<TFldData> column) {
  if (!table || !column) return;
  TFldData* col = table->AddField(std::move(column));
  if (col->DataType == dtDomain && Objs)
    if (TDmnData* domain = Objs->FindDomain(col->DomainName)) AddDepend(col, domain, std::string());
}

void TIbParser::ParseCreateTable(bool globalTemporary) {
  if (!NextCheck(tkIdent)) return;
  const std::string name = TokenText;
  DoLog("Table: " + name);
  auto table = std::make_unique<TTblData>(Objs);
  table->SetName(name);
  table->GlobalTemporary = globalTemporary;
  NextToken();
  if (Token == ibEXTERNAL) {
    NextToken();
    if (IsKeyword(ibFILE, "FILE")) NextToken();
    if (!Check(tkString)) return;
    table->ExternalFile = LiteralText;
    NextToken();
  }
  if (!CheckNext(tkLParen)) return;
  while (Token != tkRParen && Token != tkTerm && Token != tkEOF) {
    if (IsName() || Token == tkString) {
      AddTableColumn(table.get(), ParseColumn(table.get()));
    } else if (Token == ibCONSTRAINT) {
      ParseNamedConstraint(nullptr, table.get(), name);
    } else if (Token == ibPRIMARY || Token == ibUNIQUE || Token == ibFOREIGN || Token == ibCHECK) {
      // Table constraints, named or not, foreign keys with their rules and
      // CHECK conditions included.
      ParseConstraint(nullptr, nullptr, name, table.get());
    } else {
      // Anything else is passed over up to the next element.
      int depth = 0;
      while (Token != tkTerm && Token != tkEOF &&
             !(depth == 0 && (Token == tkComma || Token == tkRParen))) {
        if (Token == tkLParen) ++depth;
        if (Token == tkRParen) --depth;
        NextToken();
      }
    }
    if (Token != tkComma) break;
    NextToken();
  }
  CurField.clear();
  if (!CheckNext(tkRParen)) return;
  if (Token == ibON) {
    if (!NextCheck(ibCOMMIT)) return;
    NextToken();
    if (Token == ibDELETE) {
      table->OnCommit = ocDeleteRows;
    } else if (IsKeyword(ibPRESERVE, "PRESERVE")) {
      table->OnCommit = ocPreserveRows;
    } else {
      Error("Must be: DELETE ROWS / PRESERVE ROWS.");
      return;
    }
    NextToken();
    if (!CheckKeyword(ibROWS, "ROWS")) return;
    NextToken();
  }
  StatementFound(skStatement, name);
  AddObject(table, true);
  EndStatement();
}

void TIbParser::ParseAlterTable() {
  if (!NextCheck(tkIdent)) return;
  const std::string tableName = TokenText;
  TTblData* table = Objs ? Objs->FindTable(tableName) : nullptr;
  NextToken();
  // Operations separated by commas; what the model keeps is applied.
  while (Token != tkTerm && Token != tkEOF) {
    if (Token == ibADD) {
      NextToken();
      if (IsName() || Token == tkString) {
        std::unique_ptr<TFldData> column = ParseColumn(table, tableName);
        // A column of a table the scripts do not create is not kept.
        if (table) AddTableColumn(table, std::move(column));
      } else if (Token == ibCHECK || Token == ibFOREIGN || Token == ibPRIMARY || Token == ibUNIQUE) {
        ParseConstraint(nullptr, nullptr, tableName, table);
      } else if (Token == ibCONSTRAINT) {
        ParseNamedConstraint(nullptr, table, tableName);
      } else {
        Error("Unknown symbol");
        return;
      }
    } else if (Token == ibALTER) {
      NextToken();
      if (IsKeyword(ibCOLUMN, "COLUMN")) NextToken();
      ParseAlterColumn(table);
    } else if (Token == ibDROP) {
      // The model describes what the scripts create: nothing is removed.
      NextToken();
      if (Token == ibCONSTRAINT) {
        if (!NextCheck(tkIdent)) return;
      } else if (Token != tkIdent) {
        Error("Unknown ALTER TABLE <table-name> DROP statement");
        return;
      }
      NextToken();
    } else {
      Error("Unknown symbol");
      return;
    }
    if (Token != tkComma) break;
    NextToken();
  }
  CurField.clear();
  StatementFound(skStatement, tableName);
  EndStatement();
}

void TIbParser::ParseAlterColumn(TTblData* table) {
  if (!Check(tkIdent)) return;
  TFldData* col = table ? table->FindField(TokenText) : nullptr;
  CurField = TokenText;
  NextToken();
  if (Token == ibTO) {
    if (!NextCheck(tkIdent)) return;
    if (col) {
      const int i = table->Fields.IndexOfObject(col);
      col->SetName(TokenText);
      if (i >= 0) table->Fields.Rename(i, TokenText);
    }
    NextToken();
  } else if (Token == ibPOSITION) {
    if (!NextCheck(tkInteger)) return;
    if (col) {
      const int from = table->Fields.IndexOfObject(col);
      const int to = std::clamp(IntValue - 1, 0, table->Fields.Count() - 1);
      if (from >= 0) table->Fields.Move(from, to);
      for (int i = 0; i < table->Fields.Count(); ++i)
        if (TFldData* f = table->Fields[i]) f->Position = i;
    }
    NextToken();
  } else if (DataTypeKind() == ibTYPE || IsKeyword(ibCOMPUTED, "COMPUTED") ||
             IsWord("GENERATED")) {
    // A new type, a new expression, or both. A column altered without a
    // type keeps its earlier one.
    const bool typed = DataTypeKind() == ibTYPE;
    if (typed) NextToken();
    TFldData scratch(Objs, table);
    scratch.TableName = table ? table->Name : std::string();
    ParseDataType(&scratch, nullptr);
    if (col) {
      if (typed) {
        col->AssignType(scratch);
        col->Dimensions = scratch.Dimensions;
      } else {
        col->SetBody(scratch.Body);
      }
    }
    HandOverDependencies(Objs, scratch, col);
  } else if (Token == ibSET || Token == ibDROP) {
    const bool drop = Token == ibDROP;
    if (ParseDefaultOrNullChange(col)) return;
    if (drop && IsWord("IDENTITY")) {
      if (col) col->Identity = false;
      NextToken();
    } else {
      SkipAlterOperation();
    }
  } else {
    SkipAlterOperation();  // RESTART of an identity and the like: not modelled
  }
}

bool TIbParser::ParseDefaultOrNullChange(TFldData* field) {
  const bool set = Token == ibSET;
  NextToken();
  if (Token == ibDEFAULT) {
    if (set) {
      ParseDefaultClause(field);
    } else {
      NextToken();
      if (field) {
        field->DefaultValue.clear();
        field->DefaultKeyword.clear();
      }
    }
    return true;
  }
  if (Token != ibNOT) return false;
  if (NextCheck(ibNULL)) {
    if (field) field->Nullable = !set;
    NextToken();
  }
  return true;
}

void TIbParser::SkipAlterOperation() {
  int depth = 0;
  while (Token != tkTerm && Token != tkEOF && !(depth == 0 && Token == tkComma)) {
    if (Token == tkLParen) ++depth;
    if (Token == tkRParen) --depth;
    NextToken();
  }
}

// ---- Indexes and domains ---------------------------------------------------------

void TIbParser::ParseCreateIndex() {
  auto idx = std::make_unique<TIdxData>(Objs);
  while (Token != ibINDEX && Token != tkTerm && Token != tkEOF) {
    if (Token == ibUNIQUE) {
      idx->Unique = true;
    } else if (IsKeyword(ibDESC, "DESC") || IsKeyword(ibDESCENDING, "DESCENDING")) {
      idx->Descending = true;
    } else if (!IsKeyword(ibASC, "ASC") && !IsKeyword(ibASCENDING, "ASCENDING")) {
      Error("Bad INDEX definition");
      return;
    }
    NextToken();
  }
  if (!Check(ibINDEX) || !NextCheck(tkIdent)) return;
  idx->SetName(TokenText);
  const std::string name = TokenText;
  if (!NextCheck(ibON) || !NextCheck(tkIdent)) return;
  idx->TableName = TokenText;
  NextToken();
  if (IsKeyword(ibCOMPUTED, "COMPUTED")) {
    NextToken();
    if (Token == ibBY) NextToken();
    std::string text;
    if (!ReadParenthesizedText(text)) return;
    idx->SetBody(text);
  } else {
    ParseNameList(idx->Fields);
  }
  if (LogWanted()) DoLog("Index: " + idx->GetCreateSQL());
  StatementFound(skStatement, name);
  AddObject(idx, true);
  EndStatement();
}

void TIbParser::ParseAlterIndex() {
  if (!NextCheck(tkIdent)) return;
  TIdxData* idx = Objs ? Objs->FindIndex(TokenText) : nullptr;
  NextToken();
  bool active = true;
  if (IsKeyword(ibACTIVE, "ACTIVE")) {
    active = true;
  } else if (IsKeyword(ibINACTIVE, "INACTIVE")) {
    active = false;
  } else {
    Error("Must be: ACTIVE/INACTIVE (ALTER INDEX... declaration)");
    return;
  }
  if (idx) {
    idx->Active = active;
    if (LogWanted()) DoLog("Alter index: " + idx->GetCreateSQL());
  }
  NextToken();
  EndStatement();
}

void TIbParser::ParseCreateDomain() {
  if (!NextCheck(tkIdent)) return;
  auto domain = std::make_unique<TDmnData>(Objs);
  domain->SetName(TokenText);
  const std::string name = TokenText;
  NextToken();
  if (Token == ibAS) NextToken();
  try {
    ParseDataType(domain->BaseField.get(), domain.get());
  } catch (const std::exception& e) {
    Error(e.what());
    return;
  }
  DoLog("Domain: " + name);
  StatementFound(skStatement, name);
  AddObject(domain, true);
  EndStatement();
}

void TIbParser::ParseAlterDomain() {
  if (!NextCheck(tkIdent)) return;
  TDmnData* domain = Objs ? Objs->FindDomain(TokenText) : nullptr;
  TFldData* base = domain ? domain->BaseField.get() : nullptr;
  const std::string name = TokenText;
  NextToken();
  // The forms isql writes (ADD CHECK after all objects exist) and the
  // others are applied to the domain.
  while (Token != tkTerm && Token != tkEOF) {
    if (Token == ibADD) {
      NextToken();
      if (Token == ibCONSTRAINT) {
        NextToken();
        if (Token == tkIdent) NextToken();  // a constraint name
      }
      if (!Check(ibCHECK)) return;
      NextToken();
      std::string text;
      if (!ReadParenthesizedText(text)) return;
      if (base) base->CheckExpression = text;
    } else if (Token == ibSET || Token == ibDROP) {
      const bool drop = Token == ibDROP;
      if (!ParseDefaultOrNullChange(base)) {
        if (!drop || Token != ibCONSTRAINT) {
          Error("Unknown ALTER DOMAIN statement");
          return;
        }
        if (base) base->CheckExpression.clear();
        NextToken();
      }
    } else if (DataTypeKind() == ibTYPE) {
      NextToken();
      TFldData scratch(Objs, domain);
      ParseTypeName(&scratch);
      if (Token == ibCHARACTER) {
        if (!NextCheck(ibSET) || !NextCheck(tkIdent)) return;
        scratch.CharacterSet = TokenText;
        NextToken();
      }
      if (Token == ibCOLLATE) {
        if (!NextCheck(tkIdent)) return;
        scratch.Collation = TokenText;
        NextToken();
      }
      if (base) base->AssignType(scratch);
      HandOverDependencies(Objs, scratch, base);
    } else if (Token == ibTO) {
      // A renamed domain is not followed into the columns that use it.
      if (!NextCheck(tkIdent)) return;
      NextToken();
    } else {
      Error("Unknown ALTER DOMAIN statement");
      return;
    }
  }
  StatementFound(skStatement, name);
  EndStatement();
}

// ---- Final pass ---------------------------------------------------------------------

void TIbParser::ClassifyGrants() {
  for (const auto& e : Objs->GntList) {
    auto* grant = e.Obj->As<TGntData>();
    if (!grant || grant->GrantClass != coGrant) continue;
    const std::string& g = grant->Grantee;
    if (Objs->FindRole(g))
      grant->GrantClass = coRoleGrant;
    else if (Objs->FindTable(g) || Objs->FindView(g) || Objs->FindProcedure(g) || Objs->FindTrigger(g))
      grant->GrantClass = coObjGrant;
    else
      grant->GrantClass = coUserGrant;
  }
}

void TIbParser::RemoveIndexesOfConstraints() {
  auto sameFields = [](const TNamedObjList<TFldData>& a, const TNamedObjList<TFldData>& b) {
    if (a.Count() != b.Count()) return false;
    for (int i = 0; i < a.Count(); ++i)
      if (a.Names(i) != b.Names(i)) return false;
    return true;
  };
  TObjList& list = Objs->IdxList;
  for (int i = list.Count() - 1; i >= 0; --i) {
    auto* idx = list.Objects(i)->As<TIdxData>();
    if (!idx) continue;
    TCtrData* ctr = Objs->FindConstraint(idx->Name);
    if (!ctr || ctr->Name != idx->Name || ctr->TableName != idx->TableName ||
        !(ctr->ConstraintType == ctPrimaryKey || ctr->ConstraintType == ctUnique ||
          ctr->ConstraintType == ctForeignKey) ||
        !sameFields(ctr->Fields, idx->Fields))
      continue;
    if (LogWanted())
      DoLog("Remove index: " + idx->GetCreateSQL() + "\r\nfor constraint: " + ctr->GetCreateSQL());
    Objs->RemoveFieldDependencies(idx);
    list.Delete(i);
  }
}

void TIbParser::LinkDomainColumns() {
  for (const auto& e : Objs->TblList) {
    auto* table = e.Obj->As<TTblData>();
    if (!table) continue;
    for (const auto& f : table->Fields) {
      TFldData* col = f.Obj.get();
      if (!col || col->DataType != dtDomain) continue;
      TDmnData* domain = Objs->FindDomain(col->DomainName);
      if (!domain) continue;
      AddDepend(col, domain, std::string());
      // A view reading the column also depends on the column's domain.
      std::vector<TDbObj*> views;
      for (const auto& r : col->UseInList)
        if (r->Obj && r->Obj->IsView()) views.push_back(r->Obj);
      for (TDbObj* view : views) AddDepend(view, domain, std::string());
    }
  }
}

void TIbParser::FinishParse() {
  if (!Objs) return;
  ClassifyGrants();
  RemoveIndexesOfConstraints();
  TCustomSQLParser::FinishParse();
  LinkDomainColumns();
}

void TIbParser::ReadQualifiedName() {
  Qualifier.clear();
  QName.clear();
  if (!Check(tkIdent)) return;
  QName = TokenText;
  NextToken();
  if (Token != tkDot) return;
  NextToken();
  if (!Check(tkIdent)) return;
  Qualifier = QName;
  QName = TokenText;
  NextToken();
}
