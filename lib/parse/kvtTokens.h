// Token kinds shared by every parser. Kinds 0..29 are fixed for all
// dialects; kinds 30..255 are keyword kinds that each dialect defines when it
// loads its reserved-word list.
#pragma once

#include <cstdint>

using TTokenKind = uint8_t;

enum : TTokenKind {
  tkEOF = 0,
  tkIdent = 1,
  tkFloat = 2,
  tkString = 3,
  tkInteger = 4,
  tkLParen = 5,
  tkRParen = 6,
  tkComma = 7,
  tkMinus = 8,
  tkPlus = 9,
  tkStar = 10,
  tkSlash = 11,
  tkTerm = 12,
  tkSemicolon = 13,
  tkEqual = 14,
  tkDot = 15,
  tkColon = 16,
  tkConcat = 17,
  tkLess = 18,
  tkGreater = 19,
  tkLessEqual = 20,
  tkGreaterEqual = 21,
  tkNotEqual = 22,
  tkEqualEqual = 23,
  tkLBracket = 24,
  tkRBracket = 25,
  tkAt = 26,
  tkBackslash = 27,
  tkPercent = 28,
  tkAmpersand = 29,
  tkFirstKeyword = 30
};

inline constexpr int FixedTokenKindCount = 30;
