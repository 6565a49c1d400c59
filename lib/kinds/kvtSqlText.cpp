#include "kinds/kvtSqlText.h"

#include <cstring>

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

// Punctuation next to which white space carries no meaning: "a + b" and
// "a+b" are the same expression.
bool IsLoosePunct(char c) { return c != '\0' && std::strchr("(),;=+-*/<>|%^&~!:.", c) != nullptr; }

// End (one past) of the literal that opens at `i` and closes with `close`;
// a doubled closing character stands for itself, and with `backslash` a
// backslash escapes the next character (MySQL strings). An unterminated
// literal runs to the end of the text.
size_t LiteralEnd(std::string_view t, size_t i, char close, bool backslash) {
  size_t j = i + 1;
  while (j < t.size()) {
    if (backslash && t[j] == '\\') {
      j += 2;
      continue;
    }
    if (t[j] == close) {
      if (j + 1 < t.size() && t[j + 1] == close) {
        j += 2;
        continue;
      }
      return j + 1;
    }
    ++j;
  }
  return t.size();
}

// End (one past) of the block comment that opens at `i`; with `nested`, inner
// "/*" open further levels (MS SQL, ASE, PostgreSQL).
size_t BlockCommentEnd(std::string_view t, size_t i, bool nested) {
  int depth = 1;
  size_t j = i + 2;
  while (j < t.size()) {
    if (t[j] == '*' && j + 1 < t.size() && t[j + 1] == '/') {
      j += 2;
      if (--depth == 0) return j;
    } else if (nested && t[j] == '/' && j + 1 < t.size() && t[j + 1] == '*') {
      j += 2;
      ++depth;
    } else {
      ++j;
    }
  }
  return t.size();
}

size_t LineEnd(std::string_view t, size_t i) {
  while (i < t.size() && t[i] != '\r' && t[i] != '\n') ++i;
  return i;
}

}  // namespace

std::string SqlCompareForm(std::string_view t, TServerType st) {
  const bool mysql = st == srvMySQL;
  const bool brackets = st == srvMSSQL || st == srvASE;
  const bool nested = st == srvMSSQL || st == srvASE || st == srvPostgreSQL;
  std::string out;
  out.reserve(t.size());
  bool gap = false;  // white space or a comment since the last piece
  auto emit = [&](size_t from, size_t to) {
    if (gap && !out.empty() && !IsLoosePunct(out.back()) && !IsLoosePunct(t[from])) out += ' ';
    gap = false;
    out.append(t.substr(from, to - from));
  };
  const size_t n = t.size();
  size_t i = 0;
  while (i < n) {
    const char c = t[i];
    const char next = i + 1 < n ? t[i + 1] : '\0';
    if (IsBlank(c)) {
      gap = true;
      ++i;
      continue;
    }
    // Line comments: "--" (MySQL only before white space), MySQL "#",
    // SQL Anywhere "//".
    if ((c == '-' && next == '-' && (!mysql || i + 2 >= n || IsBlank(t[i + 2]))) ||
        (mysql && c == '#') || (st == srvASA && c == '/' && next == '/')) {
      i = LineEnd(t, i);
      gap = true;
      continue;
    }
    if (c == '/' && next == '*') {
      const char third = i + 2 < n ? t[i + 2] : '\0';
      const size_t end = BlockCommentEnd(t, i, nested);
      // Executable comments and optimizer hints are part of the statement.
      if ((mysql && third == '!') || (st == srvOracle && third == '+'))
        emit(i, end);
      else
        gap = true;
      i = end;
      continue;
    }
    char close = 0;
    if (c == '\'' || c == '"')
      close = c;
    else if (mysql && c == '`')
      close = '`';
    else if (brackets && c == '[')
      close = ']';
    if (close) {
      const size_t end = LiteralEnd(t, i, close, mysql && c != '`');
      emit(i, end);
      i = end;
      continue;
    }
    emit(i, i + 1);
    ++i;
  }
  return out;
}

bool SameSqlText(std::string_view a, std::string_view b, TServerType st) {
  if (a == b) return true;
  return SqlCompareForm(a, st) == SqlCompareForm(b, st);
}
