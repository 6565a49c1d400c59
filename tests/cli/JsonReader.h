// A strict reader of the JSON documents the command-line tool writes, for the
// tests that check them.
#pragma once

#include <cctype>
#include <string>
#include <utility>
#include <vector>

// A strict reader of the JSON the summary writes: objects, arrays, strings
// (with escapes), nothing else. Returns false at the first fault.
class TJsonReader {
 public:
  explicit TJsonReader(std::string text) : Text(std::move(text)) {}
  bool Document() {
    Blanks();
    if (!Value()) return false;
    Blanks();
    return Pos == Text.size();
  }
  std::vector<std::string> Strings;  // every string value, in order
  std::vector<std::string> Keys;     // every object key, in order

 private:
  bool Value() {
    Blanks();
    if (Pos >= Text.size()) return false;
    if (Text[Pos] == '{') return Object();
    if (Text[Pos] == '[') return Array();
    if (Text[Pos] == '"') {
      std::string s;
      if (!String(s)) return false;
      Strings.push_back(s);
      return true;
    }
    return false;
  }
  bool Object() {
    ++Pos;
    Blanks();
    if (Peek('}')) return ++Pos, true;
    for (;;) {
      std::string key;
      Blanks();
      if (!String(key)) return false;
      Keys.push_back(key);
      Blanks();
      if (!Peek(':')) return false;
      ++Pos;
      if (!Value()) return false;
      Blanks();
      if (Peek('}')) return ++Pos, true;
      if (!Peek(',')) return false;
      ++Pos;
    }
  }
  bool Array() {
    ++Pos;
    Blanks();
    if (Peek(']')) return ++Pos, true;
    for (;;) {
      if (!Value()) return false;
      Blanks();
      if (Peek(']')) return ++Pos, true;
      if (!Peek(',')) return false;
      ++Pos;
    }
  }
  bool String(std::string& out) {
    if (!Peek('"')) return false;
    for (++Pos; Pos < Text.size(); ++Pos) {
      const unsigned char c = static_cast<unsigned char>(Text[Pos]);
      if (c == '"') return ++Pos, true;
      if (c < 0x20) return false;
      if (c != '\\') {
        out += static_cast<char>(c);
        continue;
      }
      if (++Pos >= Text.size()) return false;
      switch (Text[Pos]) {
        case '"': out += '"'; break;
        case '\\': out += '\\'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 'u':
          if (Pos + 4 >= Text.size()) return false;
          for (int k = 1; k <= 4; ++k)
            if (!std::isxdigit(static_cast<unsigned char>(Text[Pos + k]))) return false;
          out += '?';
          Pos += 4;
          break;
        default: return false;
      }
    }
    return false;
  }
  bool Peek(char c) const { return Pos < Text.size() && Text[Pos] == c; }
  void Blanks() {
    while (Pos < Text.size() && std::isspace(static_cast<unsigned char>(Text[Pos]))) ++Pos;
  }
  const std::string Text;
  size_t Pos = 0;
};
