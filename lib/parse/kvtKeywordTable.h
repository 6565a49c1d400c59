// Constant keyword tables of the dialect parsers. Every table is sorted by
// case-insensitive ASCII order so that words are found by binary search
// without copying or upper-casing the word looked up; the ordering helpers are
// constexpr so that each table's order is checked when it is compiled.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

#include "parse/kvtTokens.h"

// One keyword row: a word and its keyword kind (synonyms share a kind).
struct TKeywordRow {
  std::string_view Word;  // a view of a literal: comparisons need no strlen
  TTokenKind Kind;
};

constexpr unsigned char KeywordUpper(unsigned char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 'a' + 'A') : c;
}

// <0, 0, >0 like strcmp, ignoring ASCII letter case.
constexpr int KeywordCompare(std::string_view a, std::string_view b) {
  const size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    const unsigned char x = KeywordUpper(static_cast<unsigned char>(a[i]));
    const unsigned char y = KeywordUpper(static_cast<unsigned char>(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

// Rows in non-decreasing order; equal neighbours (a word listed twice) are
// allowed only when they carry the same kind.
template <class Row, size_t N>
constexpr bool KeywordRowsSorted(const Row (&rows)[N]) {
  for (size_t i = 1; i < N; ++i) {
    const int c = KeywordCompare(rows[i - 1].Word, rows[i].Word);
    if (c > 0 || (c == 0 && rows[i - 1].Kind != rows[i].Kind)) return false;
  }
  return true;
}

// Rows in strictly increasing order of their words: no word twice.
template <class Row, size_t N>
constexpr bool WordRowsSorted(const Row (&rows)[N]) {
  for (size_t i = 1; i < N; ++i)
    if (KeywordCompare(rows[i - 1].Word, rows[i].Word) >= 0) return false;
  return true;
}

// Word lists are strictly increasing: no word twice.
template <size_t N>
constexpr bool WordListSorted(const char* const (&words)[N]) {
  for (size_t i = 1; i < N; ++i)
    if (KeywordCompare(words[i - 1], words[i]) >= 0) return false;
  return true;
}

// The row of a word (any letter case), or nullptr.
template <class Row>
const Row* FindKeywordRow(const Row* rows, size_t count, std::string_view word) {
  const Row* end = rows + count;
  const Row* it = std::lower_bound(rows, end, word, [](const Row& r, std::string_view w) {
    return KeywordCompare(r.Word, w) < 0;
  });
  return (it != end && KeywordCompare(it->Word, word) == 0) ? it : nullptr;
}

// Whether a sorted word list holds the word (any letter case).
inline bool WordListContains(const char* const* words, size_t count, std::string_view word) {
  const char* const* end = words + count;
  const char* const* it = std::lower_bound(words, end, word, [](const char* w, std::string_view x) {
    return KeywordCompare(w, x) < 0;
  });
  return it != end && KeywordCompare(*it, word) == 0;
}

// Encloses a name in the given quote characters; a closing quote inside the
// name is doubled so that the result reads back as the same name.
inline std::string QuoteWith(std::string_view name, char open, char close) {
  std::string result;
  result.reserve(name.size() + 2);
  result += open;
  for (char c : name) {
    result += c;
    if (c == close) result += c;
  }
  result += close;
  return result;
}
