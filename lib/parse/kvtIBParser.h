// InterBase, Firebird and Yaffil keywords: the keyword kinds and rows of the
// InterBase/Firebird parser with the server versions that reserve each word,
// and the name quoting of the DDL writers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/kvtDBOptions.h"
#include "parse/kvtKeywordTable.h"
#include "parse/kvtTokens.h"

// Keyword kinds of the InterBase/Firebird parser. Synonyms share a kind.
enum : TTokenKind {
  ibACTION = 30,
  ibACTIVE = 31,
  ibADD = 32,
  ibADMIN = 33,
  ibAFTER = 34,
  ibALL = 35,
  ibALTER = 36,
  ibAND = 37,
  ibANY = 38,
  ibAS = 39,
  ibASC = 40,
  ibASCENDING = 40,
  ibAT = 41,
  ibAUTO = 42,
  ibAVG = 43,
  ibBEFORE = 44,
  ibBEGIN = 45,
  ibBETWEEN = 46,
  ibBIGINT = 47,
  ibBINARY = 48,
  ibBLOB = 49,
  ibBOOLEAN = 50,
  ibBY = 51,
  ibCACHE = 52,
  ibCASCADE = 53,
  ibCASE = 54,
  ibCAST = 55,
  ibCHAR = 56,
  ibCHARACTER = 56,
  ibCHECK = 57,
  ibCHECK_POINT_LENGTH = 58,
  ibCLOSE = 59,
  ibCOLLATE = 60,
  ibCOLUMN = 61,
  ibCOMMIT = 62,
  ibCOMPUTED = 63,
  ibCONDITIONAL = 64,
  ibCONSTRAINT = 65,
  ibCONTAINING = 66,
  ibCOUNT = 67,
  ibCREATE = 68,
  ibCROSS = 69,
  ibCSTRING = 70,
  ibCURRENT = 71,
  ibCURRENT_DATE = 72,
  ibCURRENT_TIME = 73,
  ibCURRENT_TIMESTAMP = 74,
  ibCURSOR = 75,
  ibDATABASE = 76,
  ibDATE = 77,
  ibDEC = 78,
  ibDECIMAL = 78,
  ibDECLARE = 79,
  ibDEFAULT = 80,
  ibDELETE = 81,
  ibDESC = 82,
  ibDESCENDING = 82,
  ibDESCRIBE = 83,
  ibDESCRIPTOR = 84,
  ibDISTINCT = 85,
  ibDO = 86,
  ibDOMAIN = 87,
  ibDOUBLE = 88,
  ibDROP = 89,
  ibELSE = 90,
  ibEND = 91,
  ibENTRY_POINT = 92,
  ibESCAPE = 93,
  ibEXCEPTION = 94,
  ibEXECUTE = 95,
  ibEXISTS = 96,
  ibEXIT = 97,
  ibEXTERNAL = 98,
  ibEXTRACT = 99,
  ibFETCH = 100,
  ibFILE = 101,
  ibFILTER = 102,
  ibFLOAT = 103,
  ibFOR = 104,
  ibFOREIGN = 105,
  ibFREE_IT = 106,
  ibFROM = 107,
  ibFULL = 108,
  ibFUNCTION = 109,
  ibGDSCODE = 110,
  ibGEN_ID = 111,
  ibGENERATOR = 112,
  ibGLOBAL = 113,
  ibGRANT = 114,
  ibGROUP = 115,
  ibHAVING = 116,
  ibIF = 117,
  ibIN = 118,
  ibINACTIVE = 119,
  ibINDEX = 120,
  ibINNER = 121,
  ibINSERT = 122,
  ibINT = 123,
  ibINTEGER = 123,
  ibINTO = 124,
  ibIS = 125,
  ibJOIN = 126,
  ibKEY = 127,
  ibLEFT = 128,
  ibLIKE = 129,
  ibMAX = 130,
  ibMERGE = 131,
  ibMIN = 132,
  ibMODULE_NAME = 133,
  ibNAMES = 134,
  ibNATIONAL = 135,
  ibNATURAL = 136,
  ibNCHAR = 137,
  ibNO = 138,
  ibNOT = 139,
  ibNULL = 140,
  ibNUMERIC = 141,
  ibOF = 142,
  ibON = 143,
  ibOPEN = 144,
  ibOPTION = 145,
  ibOR = 146,
  ibORDER = 147,
  ibOUTER = 148,
  ibPAGE_SIZE = 149,
  ibPARAMETER = 150,
  ibPASSWORD = 151,
  ibPERCENT = 152,
  ibPLAN = 153,
  ibPOSITION = 154,
  ibPOST_EVENT = 155,
  ibPRECISION = 156,
  ibPRESERVE = 157,
  ibPRIMARY = 158,
  ibPRIVILEGES = 159,
  ibPROCEDURE = 160,
  ibRDB_DB_KEY = 161,
  ibREAL = 162,
  ibRECREATE = 163,
  ibREFERENCES = 164,
  ibRELEASE = 165,
  ibRETURNING_VALUES = 166,
  ibRETURNS = 167,
  ibREVOKE = 168,
  ibRIGHT = 169,
  ibROLE = 170,
  ibROWS = 171,
  ibSAVEPOINT = 172,
  ibSEGMENT = 173,
  ibSELECT = 174,
  ibSET = 175,
  ibSIMILAR = 176,
  ibSINGULAR = 177,
  ibSIZE = 178,
  ibSMALLINT = 179,
  ibSOME = 180,
  ibSORT = 181,
  ibSQLCODE = 182,
  ibSTARTING = 183,
  ibSTARTS = 184,
  ibSTATISTICS = 185,
  ibSUB_TYPE = 186,
  ibSUM = 187,
  ibSUSPEND = 188,
  ibTABLE = 189,
  ibTEMPORARY = 190,
  ibTHEN = 191,
  ibTIES = 192,
  ibTIME = 193,
  ibTIMESTAMP = 194,
  ibTO = 195,
  ibTRIGGER = 196,
  ibTYPE = 197,
  ibUNION = 198,
  ibUNIQUE = 199,
  ibUPDATE = 200,
  ibUPPER = 201,
  ibUSER = 202,
  ibUSING = 203,
  ibVALUE = 204,
  ibVALUES = 205,
  ibVARBINARY = 206,
  ibVARCHAR = 207,
  ibVARIABLE = 208,
  ibVARYING = 209,
  ibVIEW = 210,
  ibWHEN = 211,
  ibWHERE = 212,
  ibWHILE = 213,
  ibWITH = 214,
  ibWORK = 215,
  ibYEAR = 216,
  ibYEARDAY = 217,
  ibCharsetIntroducer = 218,  // "_<charset>": a character-set introducer
  tkAssign = 219,  // ":=" (Firebird 2.5 and later); no keyword row
  ibDECFLOAT = 220,  // data type kind; no keyword row
  ibLastKeyword = ibDECFLOAT
};

// A keyword row. Bit v of Reserved (v a TIBSQLServerVersionType) says whether
// the word is reserved in server version v. InterBase 2020 recognises every
// word as a keyword; its bit is used only to decide whether a name needs quotes.
struct TIbKeywordRow {
  const char* Word;
  TTokenKind Kind;
  uint16_t Reserved;
};

// Words that are no keywords of the parser but are reserved by some server
// versions, so names spelled like them need quotes. Bit v of Versions as above.
struct TIbReservedRow {
  const char* Word;
  uint16_t Versions;
};

// The 198 keyword rows, sorted for binary search (CURSOR, GLOBAL,
// PAGE_SIZE and RELEASE appear twice with the same kind).
const TIbKeywordRow* IbKeywordRows(size_t& count);
// The additional reserved words of all versions, sorted.
const TIbReservedRow* IbReservedRows(size_t& count);

// Whether a keyword of this kind is a keyword in the server version; applied
// to words found in the reserved-word list. InterBase 2020 accepts all.
bool IbKindReserved(TTokenKind kind, TIBSQLServerVersionType version);
// Kind of the word (any letter case) when it is a keyword reserved in the
// version (for InterBase 2020 the quoting column), else tkIdent.
TTokenKind IsIbKeyword(const std::string& word, TIBSQLServerVersionType version);
// Whether a name must be written in double quotes for the version: it is not
// a plain upper-case identifier, or it is reserved there. False when empty.
bool NeedsQuotes(const std::string& name, TIBSQLServerVersionType version);
// The name as the DDL writers put it: in SQL dialect 3 in double quotes when
// NeedsQuotes says so, otherwise unchanged.
std::string IbFormatName(const std::string& name, TIBSQLServerVersionType version, int sqlDialect);
