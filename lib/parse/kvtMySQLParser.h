// MySQL and MariaDB keywords: the keyword kinds and rows of the MySQL parser
// and the name quoting of the DDL writers.
#pragma once

#include <cstddef>
#include <string>

#include "parse/kvtKeywordTable.h"
#include "parse/kvtTokens.h"

// Keyword kinds of the MySQL parser. Synonyms share a kind.
enum : TTokenKind {
  myADD = 30,
  myALTER = 31,
  myAS = 32,
  myBIGINT = 33,
  myBINARY = 34,
  myBIT = 35,
  myBLOB = 36,
  myBOOL = 37,
  myTINYINT = 37,
  myCALL = 38,
  myCASCADE = 39,
  myCHAR = 40,
  myCHARACTER = 40,
  myCOLLATE = 41,
  myCONSTRAINT = 42,
  myCREATE = 43,
  myDATABASE = 44,
  myDATE = 45,
  myDATETIME = 46,
  myDEC = 47,
  myDECIMAL = 47,
  myDEFAULT = 48,
  myDELETE = 49,
  myDOUBLE = 50,
  myDROP = 51,
  myENUM = 52,
  myEXISTS = 53,
  myFLOAT = 54,
  myFOREIGN = 55,
  myFROM = 56,
  myFULLTEXT = 57,
  myIF = 58,
  myINDEX = 59,
  myINSERT = 60,
  myINT = 61,
  myINTEGER = 61,
  myINTO = 62,
  myKEY = 63,
  myLONGBLOB = 64,
  myLONGTEXT = 65,
  myMEDIUMBLOB = 66,
  myMEDIUMINT = 67,
  myMEDIUMTEXT = 68,
  myNATIONAL = 69,
  myNOT = 70,
  myNULL = 71,
  myNUMERIC = 72,
  myON = 73,
  myOR = 74,
  myPRECISION = 75,
  myPRIMARY = 76,
  myREAL = 77,
  myREFERENCES = 78,
  myREPLACE = 79,
  myRESTRICT = 80,
  mySET = 81,
  mySELECT = 82,
  mySMALLINT = 83,
  mySPATIAL = 84,
  mySQL = 85,
  myTABLE = 86,
  myTEMPORARY = 87,
  myTEXT = 88,
  myTIME = 89,
  myTINYBLOB = 90,
  myTINYTEXT = 91,
  myUPDATE = 92,
  myUNIQUE = 93,
  myUNSIGNED = 94,
  myUSE = 95,
  myVARBINARY = 96,
  myVARCHAR = 97,
  myYEAR = 98,
  myZEROFILL = 99,
  myCharsetIntroducer = 100,  // "_<charset>": a character-set introducer
};

// The 75 keyword rows, sorted for binary search.
const TKeywordRow* MySQLKeywordRows(size_t& count);
// The 215 reserved words that force quotes on a name, sorted.
const char* const* MySQLReservedWords(size_t& count);

// Kind of the word (any letter case) among the keyword rows, else tkIdent.
TTokenKind IsMySQLKeyword(const std::string& word);
// The name in backticks when it contains a lower-case letter, is a reserved
// word, holds a character that an unquoted name cannot hold, or is all digits;
// otherwise unchanged.
std::string QuoteMySQLName(const std::string& name);
