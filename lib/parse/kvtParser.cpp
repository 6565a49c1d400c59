#include "parse/kvtParser.h"

#include <algorithm>
#include <bitset>
#include <charconv>
#include <climits>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <unordered_map>

#include "core/kvtDBOptions.h"
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
#include "kinds/kvtComp_Rul.h"
#include "kinds/kvtComp_Tbl.h"
#include "kinds/kvtComp_Trg.h"
#include "kinds/kvtComp_Viw.h"

namespace {

// Character classes of the scanner, one table lookup per character.
enum : uint8_t { ccOther = 0, ccBlank = 1, ccLetter = 2, ccDigit = 3 };

struct TCharClassTable {
  uint8_t Class[256] = {};
  constexpr TCharClassTable() {
    Class[static_cast<unsigned char>(' ')] = ccBlank;
    Class[static_cast<unsigned char>('\t')] = ccBlank;
    Class[static_cast<unsigned char>('\r')] = ccBlank;
    Class[static_cast<unsigned char>('\n')] = ccBlank;
    Class[26] = ccBlank;  // Ctrl-Z reads as a blank
    for (int c = 'A'; c <= 'Z'; ++c) Class[c] = ccLetter;
    for (int c = 'a'; c <= 'z'; ++c) Class[c] = ccLetter;
    for (int c = '0'; c <= '9'; ++c) Class[c] = ccDigit;
  }
};
constexpr TCharClassTable CharClasses;

inline uint8_t ClassOf(char c) { return CharClasses.Class[static_cast<unsigned char>(c)]; }
inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }
inline char UpCase(char c) { return static_cast<char>(AsciiUpper[c]); }

void UpperInPlace(std::string& s) {
  // Arithmetic rather than the table, so that the loop vectorises.
  for (char& c : s) c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}

std::string UpperCopy(std::string_view s) {
  std::string r(s);
  UpperInPlace(r);
  return r;
}

// Delphi-style trimming: every character up to the blank counts as white space.
inline bool IsTrimmed(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::string TrimText(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && IsTrimmed(s[b])) ++b;
  while (e > b && IsTrimmed(s[e - 1])) --e;
  return std::string(s.substr(b, e - b));
}

const std::string UnknownWord = "<\?\?\?>";

// Display names of the fixed token kinds, indexed by kind.
const char* const FixedKindNames[FixedTokenKindCount] = {
    "<EOF>", "<Ident>", "<Float value>", "<String value>", "<Integer value>",
    "<(>", "<)>", "<,>", "<->", "<+>",
    "<*>", "</>", "<Terminator>", "<;>", "<=>",
    "<.>", "<:>", "<||>", "\"<\"", "\">\"",
    "\"<=\"", "\">=\"", "[<>]", "<==>", "<[>",
    "<]>", "<@>", "\\", "%", "<&>"};

void AppendUtf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

constexpr uint32_t ReplacementChar = 0xFFFD;

}  // namespace

// ===========================================================================
// Text helpers

std::string NormalizeLineBreaks(const std::string& text) {
  std::string r;
  r.reserve(text.size() + text.size() / 32);
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r') {
      r += "\r\n";
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else if (c == '\n') {
      r += "\r\n";
    } else {
      r += c;
    }
  }
  return r;
}

std::string NormalizeBlock(const std::string& text) {
  const std::string normalized = NormalizeLineBreaks(text);
  std::string r;
  r.reserve(normalized.size());
  size_t start = 0;
  while (start <= normalized.size()) {
    size_t eol = normalized.find("\r\n", start);
    const bool last = eol == std::string::npos;
    if (last) eol = normalized.size();
    size_t e = eol;
    while (e > start && IsTrimmed(normalized[e - 1])) --e;
    r.append(normalized, start, e - start);
    if (last) break;
    r += "\r\n";
    start = eol + 2;
  }
  return TrimText(r);
}

std::string StripOuterParens(const std::string& text) {
  // The first "(" must close at the last ")": "((a)) + ((b))" keeps its
  // parentheses, since removing the outer characters would unbalance it.
  auto outerPairMatches = [](std::string_view s) {
    int depth = 0;
    for (size_t i = 0; i < s.size(); ++i) {
      if (s[i] == '(') {
        ++depth;
      } else if (s[i] == ')') {
        if (--depth == 0) return i == s.size() - 1;
      }
    }
    return false;
  };
  std::string_view s(text);
  while (s.size() >= 4 && s.substr(0, 2) == "((" && s.substr(s.size() - 2) == "))" &&
         outerPairMatches(s))
    s = s.substr(1, s.size() - 2);
  return std::string(s);
}

// Unpaired surrogates and a trailing odd byte become U+FFFD, so the text keeps
// its length in characters and stays valid UTF-8.
std::string Utf16LEToUtf8(const char* data, size_t size) {
  std::string out;
  out.reserve(size / 2 + size / 8);
  auto unit = [data](size_t i) {
    return static_cast<uint32_t>(static_cast<unsigned char>(data[i])) |
           (static_cast<uint32_t>(static_cast<unsigned char>(data[i + 1])) << 8);
  };
  size_t i = 0;
  while (i + 1 < size) {
    const uint32_t u = unit(i);
    i += 2;
    if (u >= 0xD800 && u <= 0xDBFF) {
      if (i + 1 < size) {
        const uint32_t low = unit(i);
        if (low >= 0xDC00 && low <= 0xDFFF) {
          i += 2;
          AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
          continue;
        }
      }
      AppendUtf8(out, ReplacementChar);
    } else if (u >= 0xDC00 && u <= 0xDFFF) {
      AppendUtf8(out, ReplacementChar);
    } else {
      AppendUtf8(out, u);
    }
  }
  if (i < size) AppendUtf8(out, ReplacementChar);
  return out;
}

// ===========================================================================
// TResWordList

const std::string TTokenNameRef::Empty;

TResWordList::TResWordList() : KindNames(std::make_unique<std::string[]>(256)) { Rebuild(); }

void TResWordList::AddWord(std::string_view word, TTokenKind kind) {
  std::string key = UpperCopy(word);
  auto it = std::lower_bound(Items.begin(), Items.end(), key,
                             [](const Entry& e, const std::string& k) { return e.Key < k; });
  if (it != Items.end() && it->Key == key) return;
  Items.insert(it, Entry{std::string(word), std::move(key), kind});
  MaxLen = std::max(MaxLen, word.size());
  Dirty = true;
}

void TResWordList::Clear() {
  Items.clear();
  MaxLen = 0;
  Dirty = true;
}

void TResWordList::Rebuild() const {
  size_t cap = 16;
  while (cap < Items.size() * 3) cap <<= 1;
  Slots.assign(cap, TSlot{-1, 0});
  for (size_t i = 0; i < Items.size(); ++i) {
    const std::string& k = Items[i].Key;
    const uint32_t h = WordHash(k.data(), k.size());
    size_t slot = h & (cap - 1);
    while (Slots[slot].Index >= 0) slot = (slot + 1) & (cap - 1);
    Slots[slot] = TSlot{static_cast<int32_t>(i), h};
  }
  for (int k = 0; k < 256; ++k) KindNames[static_cast<size_t>(k)] = UnknownWord;
  for (const Entry& e : Items) KindNames[e.Kind] = e.Word;  // the last entry of a kind wins
  std::fill(std::begin(FirstCharLengths), std::end(FirstCharLengths), 0u);
  for (const Entry& e : Items) {
    if (e.Key.empty()) continue;
    const uint32_t bit = 1u << (e.Key.size() < 31 ? e.Key.size() : 31);
    const unsigned char c = static_cast<unsigned char>(e.Key[0]);
    FirstCharLengths[c] |= bit;
    if (c >= 'A' && c <= 'Z') FirstCharLengths[c + 32] |= bit;
  }
  Dirty = false;
}

int TResWordList::KindOfWord(const char* word, size_t len) const {
  if (Dirty) Rebuild();
  if (Items.empty() || len == 0) return -1;
  const size_t mask = Slots.size() - 1;
  const uint32_t h = WordHash(word, len);
  for (size_t slot = h & mask;; slot = (slot + 1) & mask) {
    const TSlot& entry = Slots[slot];
    if (entry.Index < 0) return -1;
    if (entry.Hash != h) continue;
    const int32_t i = entry.Index;
    const std::string& k = Items[static_cast<size_t>(i)].Key;
    if (k.size() != len) continue;
    size_t j = 0;  // keys are upper-case; keywords are short
    while (j < len && static_cast<unsigned char>(k[j]) == AsciiUpper[word[j]]) ++j;
    if (j == len) return Items[static_cast<size_t>(i)].Kind;
  }
}

int TResWordList::KindOf(std::string_view word) const {
  const int i = IndexOf(word);
  return i < 0 ? -1 : Items[static_cast<size_t>(i)].Kind;
}

int TResWordList::IndexOf(std::string_view word) const {
  const std::string key = UpperCopy(word);
  auto it = std::lower_bound(Items.begin(), Items.end(), key,
                             [](const Entry& e, const std::string& k) { return e.Key < k; });
  return (it != Items.end() && it->Key == key) ? static_cast<int>(it - Items.begin()) : -1;
}

const std::string& TResWordList::WordOf(TTokenKind kind) const {
  if (Dirty) Rebuild();
  return KindNames[kind];
}

// ===========================================================================
// TParseContext

TParseContext::TParseContext(TCustomParser* parser) : Parser(parser) {
  if (parser) Save(*parser);
}

void TParseContext::Save(const TCustomParser& parser) {
  Line = parser.Line;
  Col = parser.Col;
  CurChar = parser.CurChar;
  Pos = parser.Pos;
  Token = parser.Token;
  TokenStart = parser.TokenStart;
  TokenText = parser.TokenText;
}

void TParseContext::Restore() {
  if (Parser) RestoreTo(*Parser);
}

void TParseContext::RestoreTo(TCustomParser& parser) const {
  parser.Line = Line;
  parser.Col = Col;
  parser.Pos = Pos;
  parser.CurChar = CurChar;
  parser.Token = Token;
  parser.TokenStart = TokenStart;
  parser.TokenText = TokenText;
}

// ===========================================================================
// TCustomParser

TCustomParser::TCustomParser(TCustomExtract* aExtract, TObjs* aObjs)
    : Extract(aExtract),
      Messages(std::make_unique<TMsgManager>()),
      ResWords(std::make_unique<TResWordList>()),
      Objs(aObjs) {
  if (!Objs && Extract && Extract->GetDBStructure()) Objs = Extract->GetDBStructure()->Objs;
  IdentChars = MakeCharSet("$0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdefghijklmnopqrstuvwxyz");
  TCustomParser::InitReservedWords();
  DebugFlags = 0;
  Term = ";";
  TermLen = 1;
}

TCustomParser::~TCustomParser() = default;

void TCustomParser::InitReservedWords() {
  ResWords->Clear();
  for (int k = 0; k < FixedTokenKindCount; ++k)
    ResWords->AddWord(FixedKindNames[k], static_cast<TTokenKind>(k));
}

void TCustomParser::SetServerType(TServerType kind) {
  ServerType = kind;
  if (Objs) Objs->SetServerType(kind);
}

bool TCustomParser::CheckTerminator() {
  if (TermLen <= 0 || CurChar != Term[0] || AtEnd()) return false;
  const long i = Pos - 2;
  if (i < 0 || static_cast<size_t>(i) + static_cast<size_t>(TermLen) > Source.size()) return false;
  if (Source.compare(static_cast<size_t>(i), static_cast<size_t>(TermLen), Term) != 0) return false;
  Token = tkTerm;
  for (int k = 0; k < TermLen; ++k) NextChar();
  return true;
}

TCustomExtract* TCustomParser::AttachedExtractor() const {
  return Objs ? dynamic_cast<TCustomExtract*>(Objs->GetExtractor()) : nullptr;
}

// Without a handler of its own the parser reports through the extractor
// attached to its container's structure.
void TCustomParser::DoProgress(int position, int maximum) {
  if (!ProgressEnabled) return;
  if (OnProgressUpdate)
    OnProgressUpdate(this, position, maximum);
  else if (TCustomExtract* extract = AttachedExtractor())
    extract->DoProgress(position, maximum);
}

void TCustomParser::DoLog(const std::string& text) {
  if (OnLogNextLine)
    OnLogNextLine(this, text);
  else if (TCustomExtract* extract = AttachedExtractor())
    extract->DoLogLine(text);
}

void TCustomParser::DoError(const std::string& text) {
  if (OnErrorMessage)
    OnErrorMessage(this, text);
  else
    ShowErrorText("Error: " + text);
}

void TCustomParser::DoDebug(const std::string& text) {
  if (OnDebugMessage) OnDebugMessage(this, text);
}

void TCustomParser::DoStatement(const std::string& stmtText, TStatementKind kind,
                                const std::string& objName, int objKind, int action,
                                const std::string& parent) {
  if (OnStatement) OnStatement(this, stmtText, kind, objName, objKind, action, parent);
}

void TCustomParser::StatementFound(TStatementKind kind, const std::string& objName, int objKind,
                                   int action, const std::string& parent) {
  if (!OnStatement) return;  // nobody listens: spare the copy
  DoStatement(TrimText(SourceCopy(StmtStart, TokenStart - StmtStart)), kind, objName, objKind,
              action, parent);
}

std::string TCustomParser::GetTokenName(TTokenKind kind) { return ResWords->WordOf(kind); }

bool TCustomParser::AddObject(std::unique_ptr<TDbObj>& obj, bool freeIfRejected) {
  if (freeIfRejected) obj.reset();
  return false;
}

bool TCustomParser::Check(TTokenKind kind) {
  if (Token == kind) return true;
  if ((kind == tkFloat || kind == tkInteger) && (Token == tkMinus || Token == tkPlus)) {
    const char* sign = Token == tkMinus ? "-" : "+";
    TParseContext saved(this);
    NextToken();
    if (Token == kind)
      LiteralText.insert(0, sign);
    else
      saved.Restore();
  }
  if (Token == kind) return true;
  std::string text = "Missing: ";
  text += kind == tkTerm ? std::string("<TERM>") : GetTokenName(kind);
  text += " (";
  text += GetTokenName(Token);
  if (Token == tkIdent) text += ": " + TokenText;
  text += ")";
  Error(text);
  return false;
}

bool TCustomParser::CheckNext(TTokenKind kind) {
  const bool ok = Check(kind);
  NextToken();
  return ok;
}

bool TCustomParser::NextCheck(TTokenKind kind) {
  NextToken();
  return Check(kind);
}

void TCustomParser::ParsePrecision(TFldData* /*field*/) {}

// ---- Reader state -----------------------------------------------------------

long TCustomParser::LineStartIndex() const {
  const long n = static_cast<long>(Source.size());
  const long i = AtEnd() ? n - 1 : Pos - 2;
  return i - Col + 2;
}

void TCustomParser::LineProgress() {
  NextProgressLine = Line + ProgressStep;
  DoProgress(Line, LineCount);
}

void TCustomParser::ResetReader() {
  // Progress at most about a hundred times per script, not per line.
  ProgressStep = LineCount > 0 ? std::max(1, LineCount / 100) : 1024;
  Pos = 1;
  Line = 1;
  Col = 1;
  CurChar = 0;
  NextProgressLine = ProgressStep;
  Token = tkEOF;
  TokenStart = 1;
  StmtStart = 1;
  TokenText.clear();
  TokenName = TTokenNameRef(ResWords->WordOf(tkEOF));
  NextChar();
}

void TCustomParser::SetSource(const std::string& text) {
  Source = text;
  ResetReader();
}

void TCustomParser::SetSource(std::string&& text) {
  Source = std::move(text);
  ResetReader();
}

std::string TCustomParser::SourceCopy(int from, int count) const {
  if (from < 1) {
    count += from - 1;
    from = 1;
  }
  if (count <= 0 || from > static_cast<int>(Source.size())) return std::string();
  return Source.substr(static_cast<size_t>(from - 1), static_cast<size_t>(count));
}

void TCustomParser::AddWarning(const std::string& text) {
  Messages->AddAt(text, ScriptName, Col - 1, Line, mkWarning);
}

TParseContext* TCustomParser::PushContext() {
  Contexts.push_back(std::make_unique<TParseContext>(this));
  return Contexts.back().get();
}

void TCustomParser::PopContext() {
  if (!Contexts.empty()) Contexts.pop_back();
}

// ---- Scanner ----------------------------------------------------------------

void TCustomParser::MoveTo(int index) {
  const long n = static_cast<long>(Source.size());
  const long target = std::min<long>(index - 1, n);
  const long cur = AtEnd() ? n : Pos - 2;
  if (target <= cur) return;
  long lineStart = LineStartIndex();
  // Line feeds strictly between the current character and the target; one
  // the reader lands on is counted by LandAt.
  for (long k = cur + 1; k < target; ++k) {
    if (Source[static_cast<size_t>(k)] == '\n') {
      lineStart = k + 1;
      LineFeedSeen();
    }
  }
  LandAt(target, lineStart);
}

void TCustomParser::SkipWhiteSpaceRun() {
  const char* s = Source.data();
  const long n = static_cast<long>(Source.size());
  long lineStart = LineStartIndex();
  long k = Pos - 1;  // the character after CurChar
  while (k < n) {
    const char c = s[k];
    if (ClassOf(c) != ccBlank) break;
    if (c == '\n') {
      lineStart = k + 1;
      LineFeedSeen();
    }
    ++k;
  }
  LandAt(k, lineStart);
}

bool TCustomParser::SkipSeparators() { return SkipWhiteSpace(); }

void TCustomParser::SkipBlanks() {
  TokenText.clear();
  SkipWhiteSpace();
}

void TCustomParser::ReadIdentifier() {
  if (AtEnd()) {
    TokenText.clear();
    return;
  }
  const char* s = Source.data();
  const long n = static_cast<long>(Source.size());
  const long i = Pos - 2;
  if (IdentTableSet != IdentChars) SyncIdentTable();
  const bool* ident = IdentTable;
  long k = i;
  while (k < n && ident[static_cast<unsigned char>(s[k])]) ++k;
  TokenText.clear();
  TokenText.append(s + i, static_cast<size_t>(k - i));
  if (k > i) LandAt(k, LineStartIndex());
}

void TCustomParser::SyncIdentTable() {
  IdentTableSet = IdentChars;
  for (int c = 0; c < 256; ++c) IdentTable[c] = IdentChars[static_cast<size_t>(c)];
}

TTokenKind TCustomParser::LookupWord() {
  const size_t len = TokenText.size();
  if (len == 0 || len > ResWords->MaxWordLength() || !ResWords->MayHold(TokenText[0], len))
    return tkIdent;
  const int kind = ResWords->KindOfWord(TokenText.data(), len);
  return static_cast<TTokenKind>(kind < 0 ? int(tkIdent) : kind);
}

int TCustomParser::ReadNumber() {
  LiteralText.clear();
  if (AtEnd()) {
    Error("Missing: Integer(Float) value...");
    return 0;
  }
  const char* s = Source.data();
  const long n = static_cast<long>(Source.size());
  const long i = Pos - 2;
  auto at = [s, n](long j) { return j < n ? s[j] : '\0'; };
  // Characters allowed next: digits always; one decimal point before the
  // exponent; "E" once; a sign once after the exponent. "1..10" stops at the
  // range dots.
  bool allowDot = s[i] != '.';
  bool allowE = true;
  bool allowSign = false;
  long k = i;
  for (;;) {
    const char next = UpCase(at(k + 1));
    const bool allowed = IsDigit(next) || (next == '.' && allowDot) || (next == 'E' && allowE) ||
                         ((next == '+' || next == '-') && allowSign);
    if (!allowed || (next == '.' && at(k + 2) == '.')) break;
    if (next == '.') {
      allowDot = false;
    } else if (next == 'E') {
      allowSign = true;
      allowDot = false;
      allowE = false;
    } else if (next == '+' || next == '-') {
      allowSign = false;
    }
    ++k;
  }
  LiteralText.assign(s + i, static_cast<size_t>(k - i + 1));
  LandAt(k + 1, LineStartIndex());

  // The value. Plain digits are the common case; anything with a point or
  // an exponent goes through the floating-point reader. Integers that do not
  // fit 32 bits saturate in IntValue; LiteralText keeps the exact digits.
  const char* b = LiteralText.data();
  const char* e = b + LiteralText.size();
  const bool isFloat = LiteralText.find('.') != std::string::npos;
  bool plain = !isFloat;
  int64_t whole = 0;
  if (plain) {
    for (const char* p = b; p < e; ++p) {
      if (!IsDigit(*p)) {
        plain = false;
        break;
      }
      if (whole <= INT32_MAX) whole = whole * 10 + (*p - '0');
    }
  }
  double value = 0.0;
  if (plain && whole <= INT32_MAX) {
    value = static_cast<double>(whole);
  } else {
    std::from_chars(b, e, value);
  }
  FloatValue = value;
  if (isFloat) {
    Token = tkFloat;
    return 0;
  }
  Token = tkInteger;
  if (plain) return whole > INT32_MAX ? INT32_MAX : static_cast<int>(whole);
  if (!(value < 2147483647.0)) return INT32_MAX;
  return static_cast<int>(value);
}

void TCustomParser::ReadQuoted(std::string& text) {
  text.clear();
  if (AtEnd()) return;
  const char* s = Source.data();
  const long n = static_cast<long>(Source.size());
  const long i = Pos - 2;
  const char q = s[i];
  const bool escapes = ServerType == srvMySQL;
  long lineStart = LineStartIndex();
  long k = i + 1;
  auto countLineFeed = [&](long at) {
    lineStart = at + 1;
    LineFeedSeen();
  };
  bool closed = false;
  for (;;) {
    const long start = k;
    while (k < n) {
      const char c = s[k];
      if (c == q || c == 26 || (escapes && c == '\\')) break;
      if (c == '\n') countLineFeed(k);
      ++k;
    }
    text.append(s + start, static_cast<size_t>(k - start));
    if (k >= n) break;
    const char c = s[k];
    if (c == 26) {
      text += ' ';
      ++k;
    } else if (c == q) {
      if (k + 1 < n && s[k + 1] == q) {
        text += q;
        k += 2;
      } else {
        closed = true;
        break;
      }
    } else {  // MySQL escape
      if (k + 1 >= n) {
        ++k;
        break;
      }
      char e = s[k + 1];
      switch (e) {
        case 'r': e = '\r'; break;
        case 'n': e = '\n'; break;
        case 't': e = '\t'; break;
        case 'b': e = '\b'; break;
        case 'z': e = 26; break;
        case '0': e = '\0'; break;
        case '\n': countLineFeed(k + 1); break;
        case 26: e = ' '; break;
        default: break;
      }
      text += e;
      k += 2;
    }
  }
  LandAt(closed ? k + 1 : n, lineStart);
  if (!closed) Error("Unterminated string literal.");
}

void TCustomParser::ReadParenthesized(std::string& text) {
  text.clear();
  while (!AtEnd() && (ClassOf(CurChar) == ccBlank || CurChar == 0)) NextChar();
  int depth = 0;
  while (!AtEnd()) {
    const char c = CurChar;
    if (c != 0) text += c;
    if (c == '(') {
      ++depth;
    } else if (c == ')') {
      --depth;
    }
    NextChar();
    if (depth <= 0) break;
  }
  if (DebugFlags & 4) DoDebug("Expression: " + text);
}

void TCustomParser::SkipLine() {
  while (!AtEnd() && CurChar != '\n') NextChar();
}

void TCustomParser::StepOperator() {
  NextChar();
  if (ServerType == srvMSSQL || ServerType == srvASE) SkipWhiteSpace();
}

void TCustomParser::ScanToken() {
  TokenStart = Pos - 1;
  QuoteChar = 0;
  const char c = CurChar;
  switch (ClassOf(c)) {
    case ccLetter:
      ReadIdentifier();
      Token = LookupWord();
      if (Token == tkIdent) UpperInPlace(TokenText);
      return;
    case ccDigit:
      Token = tkInteger;
      IntValue = ReadNumber();
      return;
    default:
      break;
  }
  switch (c) {
    case '.':
      // A number, unless the dot ends a range: "1..3" is 1, dot, dot, 3.
      if (IsDigit(PeekChar()) && CharAt(Pos - 2) != '.') {
        Token = tkInteger;
        IntValue = ReadNumber();
        return;
      }
      Token = tkDot;
      break;
    case '\'':
    case '"':
    case '`':
      Token = tkString;
      QuoteChar = c;
      ReadQuoted(LiteralText);
      return;
    case '<':
      StepOperator();
      if (CurChar == '=') {
        Token = tkLessEqual;
      } else if (CurChar == '>') {
        Token = tkNotEqual;
      } else {
        Token = tkLess;
        return;
      }
      break;
    case '>':
      StepOperator();
      if (CurChar != '=') {
        Token = tkGreater;
        return;
      }
      Token = tkGreaterEqual;
      break;
    case '=':
      StepOperator();
      if (CurChar != '=') {
        Token = tkEqual;
        return;
      }
      Token = tkEqualEqual;
      break;
    case '!':
      StepOperator();
      if (CurChar != '=') {
        // A lone "!" is no operator of any dialect.
        Token = tkEOF;
        Error("Invalid char in source text: \"!\".");
        return;
      }
      Token = tkNotEqual;
      break;
    case '(': Token = tkLParen; break;
    case ')': Token = tkRParen; break;
    case ',': Token = tkComma; break;
    case '-': Token = tkMinus; break;
    case '+': Token = tkPlus; break;
    case '*': Token = tkStar; break;
    case '/': Token = tkSlash; break;
    case ';': Token = tkSemicolon; break;
    case ':': Token = tkColon; break;
    case '[': Token = tkLBracket; break;
    case ']': Token = tkRBracket; break;
    case '@': Token = tkAt; break;
    case '\\': Token = tkBackslash; break;
    case '%': Token = tkPercent; break;
    case '&': Token = tkAmpersand; break;
    default:
      Token = tkEOF;
      Error(std::string("Invalid char in source text: \"") + c + "\".");
      break;
  }
  NextChar();
}

void TCustomParser::NextToken() {
  Token = tkEOF;
  TokenStart = Pos - 1;
  if (!AtEnd()) {
    while (SkipSeparators()) {
    }
  }
  if (AtEnd()) {
    TokenStart = Pos;
    TokenText.clear();
    TokenName = TTokenNameRef(ResWords->WordOf(Token));
    return;
  }
  const int before = Pos;
  SkipBlanks();
  ScanToken();
  AfterScan();
  if (Pos == before && !AtEnd()) {
    DoError(std::string("Parser ") + ClassName() + " deadlock.");
    NextChar();
  }
  if (DebugFlags & 1) LogToken();
  TokenName = TTokenNameRef(ResWords->WordOf(Token));
}

void TCustomParser::LogToken() {
  std::string text = "(" + std::to_string(Line) + "," + std::to_string(Col) + ") " +
                     GetTokenName(Token) + ": " + std::to_string(Token);
  if (Token == tkIdent) {
    text += " =" + TokenText;
  } else if (Token == tkInteger) {
    text += " =" + std::to_string(IntValue);
  } else if (Token == tkString) {
    text += " =";
    text += QuoteChar;
    text += LiteralText;
    text += QuoteChar;
  }
  DoDebug(text);
}

bool TCustomParser::IsWord(const std::string& text) {
  if (Token != tkIdent || TokenText.size() != text.size()) return false;
  for (size_t i = 0; i < text.size(); ++i)
    if (UpCase(TokenText[i]) != UpCase(text[i])) return false;
  return true;
}

bool TCustomParser::CheckWord(const std::string& text) {
  if (IsWord(text)) return true;
  Error("Must be: " + UpperCopy(text));
  return false;
}

// ---- Whole scripts ------------------------------------------------------------

void TCustomParser::ParseScript(const TStringList& lines, TObjs* objs) {
  Objs = objs;
  try {
    std::string text;
    size_t total = 0;
    bool innerBreaks = false;
    for (const std::string& l : lines) {
      total += l.size() + 2;
      if (l.find_first_of("\r\n") != std::string::npos) innerBreaks = true;
    }
    text.reserve(total);
    for (const std::string& l : lines) {
      text += l;
      text += "\r\n";
    }
    // A line may itself hold line breaks; make them all CR LF.
    if (innerBreaks) text = NormalizeLineBreaks(text);
    LineCount = static_cast<int>(lines.size());
    SetSource(std::move(text));
    DoProgress(0, LineCount);
    DoLog("Parse Script: " + ScriptName);
    ParseStatements();
  } catch (const std::exception& e) {
    Error(std::string("Script could not be parsed: ") + e.what());
  }
}

bool TCustomParser::ParseFile(const std::string& fileName, TObjs* objs) {
  Objs = objs;
  Source.clear();
  LineCount = 0;
  Pos = Line = Col = 1;
  CurChar = 0;
  try {
    std::error_code ec;
    if (!std::filesystem::exists(fileName, ec)) {
      Error("File not found: " + fileName);
      return false;
    }
    if (std::filesystem::is_directory(fileName, ec)) {
      Error("Cannot read file: " + fileName);
      return false;
    }
    std::string data;
    {
      std::FILE* f = std::fopen(fileName.c_str(), "rb");
      if (!f) {
        Error("Cannot read file: " + fileName);
        return false;
      }
      char buf[65536];
      size_t got;
      bool failed = false;
      while ((got = std::fread(buf, 1, sizeof buf, f)) > 0) {
        data.append(buf, got);
        if (data.size() > static_cast<size_t>(INT_MAX) - 16) {
          failed = true;
          break;
        }
      }
      failed = failed || std::ferror(f);
      std::fclose(f);
      if (failed) {
        Error("Cannot read file: " + fileName);
        return false;
      }
    }
    if (data.size() >= 2 && static_cast<unsigned char>(data[0]) == 0xFF &&
        static_cast<unsigned char>(data[1]) == 0xFE) {
      data = Utf16LEToUtf8(data.data() + 2, data.size() - 2);
    } else if (data.size() >= 3 && static_cast<unsigned char>(data[0]) == 0xEF &&
               static_cast<unsigned char>(data[1]) == 0xBB &&
               static_cast<unsigned char>(data[2]) == 0xBF) {
      data.erase(0, 3);
    }
    LineCount = static_cast<int>(std::count(data.begin(), data.end(), '\n'));
    SetSource(std::move(data));
    DoProgress(0, LineCount);
    DoLog("Parse file: " + fileName);
    ParseStatements();
  } catch (const std::exception& e) {
    Error("Cannot parse file " + fileName + ": " + e.what());
  }
  Source.clear();
  Source.shrink_to_fit();
  return true;
}

void TCustomParser::ParseStatements() {
  NextToken();
  while (Token != tkEOF) NextToken();
}

void TCustomParser::Error(const std::string& text) {
  if (!Messages->HasErrors()) DoError(text + GetPositionText());
  Messages->AddAt(text, ScriptName, Col - 1, Line, mkError);
}

std::string TCustomParser::GetPositionText() {
  return "\r\nScript: " + ScriptName + " Line:" + std::to_string(Line) +
         " Pos:" + std::to_string(Col) + "\r\n";
}

// ===========================================================================
// TCustomSQLParser

namespace {

bool ListHasText(const TStringList& list, const std::string& text) {
  for (const std::string& s : list)
    if (SameTextAscii(s, text)) return true;
  return false;
}

int IndexOfText(const TStringList& list, const std::string& text) {
  for (size_t i = 0; i < list.size(); ++i)
    if (SameTextAscii(list[i], text)) return static_cast<int>(i);
  return -1;
}

// The names of a column list, in order.
template <class T>
TStringList NamesOf(const TNamedObjList<T>& list) {
  TStringList names;
  names.reserve(static_cast<size_t>(list.Count()));
  for (int i = 0; i < list.Count(); ++i) names.push_back(list.Names(i));
  return names;
}

// Quoted column names joined by ", ", the form in which key column lists are compared.
std::string QuotedFieldList(TDbObj* owner, const TStringList& fields) {
  std::string text;
  for (size_t i = 0; i < fields.size(); ++i) {
    if (i) text += ", ";
    text += owner->QuoteName(fields[i]);
  }
  return text;
}

}  // namespace

TCustomSQLParser::TCustomSQLParser(TCustomExtract* aExtract, TObjs* aObjs)
    : TCustomParser(aExtract, aObjs),
      Options(std::make_unique<TConnectionOptions>()),
      ScratchField(std::make_unique<TFldData>(Objs, nullptr)) {}

TCustomSQLParser::~TCustomSQLParser() = default;

void TCustomSQLParser::SetTerm(const std::string& text) {
  Term = text;
  TermLen = static_cast<int>(text.size());
}

void TCustomSQLParser::NextTokenInStatement() {
  if (InStatement && StmtErrors > 0 && (HeldAtTerm || Token == tkTerm)) {
    // After an error the statement's terminator reads as the end of input, so
    // that the statement parser stops there and the loop goes on after it.
    HeldAtTerm = true;
    Token = tkEOF;
    TokenText.clear();
    TokenName = TTokenNameRef(ResWords->WordOf(tkEOF));
    return;
  }
  TCustomSQLParser::NextToken();
  // An invalid character is reported and stepped over; the scan goes on.
  while (Token == tkEOF && !AtEnd()) TCustomSQLParser::NextToken();
}

void TCustomSQLParser::ScanToken() {
  TokenStart = Pos - 1;
  QuoteChar = 0;
  if (CheckTerminator()) return;
  if (CurChar == '|' && PeekChar() == '|') {
    Token = tkConcat;
    NextChar();
    NextChar();
    return;
  }
  TCustomParser::ScanToken();
}

bool TCustomSQLParser::SkipSeparators() {
  if ((CurChar == '-' && PeekChar() == '-') || (CurChar == '/' && PeekChar() == '*'))
    return ReadComment();
  return TCustomParser::SkipSeparators();
}

bool TCustomSQLParser::ReadComment() {
  LastComment.clear();
  const bool block = CurChar == '/' && PeekChar() == '*';
  const bool line = CurChar == '-' && PeekChar() == '-';
  if (!block && !line) return false;
  const size_t n = Source.size();
  const size_t bodyStart = static_cast<size_t>(Pos);  // 0-based index after the two markers
  size_t bodyEnd;
  size_t landing;
  if (block) {
    // Comments do not nest; an unterminated one runs to the end of the input.
    const size_t close = Source.find("*/", bodyStart);
    bodyEnd = close == std::string::npos ? n : close;
    landing = close == std::string::npos ? n : close + 2;
  } else {
    const size_t lf = Source.find('\n', bodyStart);
    bodyEnd = lf == std::string::npos ? n : lf;
    landing = bodyEnd;  // onto the line feed
  }
  if (bodyStart < bodyEnd) LastComment.assign(Source, bodyStart, bodyEnd - bodyStart);
  long lineStart = LineStartIndex();
  // Line feeds up to the landing character; LandAt counts a line feed it lands on.
  const size_t countEnd = std::min(landing, n);
  for (size_t k = bodyStart; k < countEnd; ++k) {
    if (Source[k] == '\n') {
      lineStart = static_cast<long>(k) + 1;
      LineFeedSeen();
    }
  }
  LandAt(static_cast<long>(landing), lineStart);
  if (DebugFlags & 2) DoDebug("Comment: " + LastComment);
  return true;
}

void TCustomSQLParser::SkipTo(std::initializer_list<TTokenKind> kinds) {
  auto wanted = [&] {
    for (TTokenKind k : kinds)
      if (Token == k) return true;
    return false;
  };
  // The end of input stops every skip, asked for or not.
  while (!wanted() && Token != tkEOF) NextToken();
}

void TCustomSQLParser::SkipStatement() {
  SkipTo({tkEOF, tkTerm});
  if (Token == tkTerm) NextToken();
}

std::string TCustomSQLParser::GetSourceText(int fromPos) {
  return TrimText(SourceCopy(fromPos, TokenStart - fromPos));
}

void TCustomSQLParser::ParseScript(const TStringList& lines, TObjs* objs) {
  TCustomParser::ParseScript(lines, objs);
  if (Objs && Objs->ConnectionOptions) Objs->ConnectionOptions->Assign(*Options);
}

std::string TCustomSQLParser::QualifiedName(const std::string& name, const std::string& owner,
                                            bool useDefaultOwner) {
  std::string o = owner;
  if (o.empty() && useDefaultOwner) {
    switch (ServerType) {
      case srvASA: o = "DBA"; break;
      case srvMSSQL:
      case srvASE: o = "dbo"; break;
      case srvPostgreSQL: o = "public"; break;
      default: break;
    }
  }
  return o.empty() ? name : o + "." + name;
}

bool TCustomSQLParser::ReadSignedInteger(std::string& text) {
  text.clear();
  std::string sign;
  if (Token == tkPlus || Token == tkMinus) {
    sign = Token == tkMinus ? "-" : "+";
    NextToken();
  }
  if (!Check(tkInteger)) return false;
  text = sign + LiteralText;
  if (sign == "-") IntValue = -IntValue;
  return true;
}

void TCustomSQLParser::ParsePrecision(TFldData* field) {
  if (Token != tkLParen) {
    if (field) {
      field->Precision = 9;
      field->Scale = 0;
    }
    return;
  }
  NextCheck(tkInteger);
  if (field) field->Precision = IntValue;
  NextToken();
  if (Token == tkComma) {
    NextCheck(tkInteger);
    if (field) field->Scale = IntValue;
    NextToken();
  }
  CheckNext(tkRParen);
}

bool TCustomSQLParser::AddObject(std::unique_ptr<TDbObj>& obj, bool freeIfRejected) {
  if (!obj) return false;
  // With an extractor it decides whether the object is wanted and frees
  // what it does not want.
  if (Extract) return Extract->AddParsedObject(obj);
  if (Objs) return Objs->AddObj(obj, freeIfRejected);
  if (freeIfRejected) obj.reset();
  return false;
}

void TCustomSQLParser::AddDepend(TDbObj* obj, TDbObj* target, const std::string& column) {
  if (!obj || !target) return;
  TObjs* owner = obj->Objs ? obj->Objs : Objs;
  // AddDependencyOnce records each (target, column) pair once.
  AddDependencyOnce(owner, obj, target, column, Col - 1, Line);
  if (obj->ObjType == dboView && target->ObjType == dboTable && !column.empty() && Objs) {
    // A view over a table also depends on the domains of that table's columns.
    auto* table = static_cast<TTblData*>(target);
    for (const auto& entry : table->Fields) {
      const TFldData* field = entry.Obj.get();
      if (!field || field->DomainName.empty()) continue;
      if (TDmnData* domain = Objs->FindDomain(field->DomainName))
        AddDependencyOnce(owner, obj, domain, std::string(), Col - 1, Line);
    }
  }
}

void TCustomSQLParser::LinkDepend(TDbObj* obj, const std::string& name,
                                  std::initializer_list<TDbObject> kinds) {
  if (!Objs || !obj) return;
  if (ServerType == srvInterBase && UpperAscii(name.substr(0, 4)) == "RDB$") return;
  std::bitset<TDbObjectCount> set;
  for (TDbObject k : kinds) set.set(k);
  if (set.test(obj->ObjType) && obj->Name == name) set.reset(obj->ObjType);  // never itself

  TDbObj* found = nullptr;
  auto tryKind = [&](TDbObject kind, auto find) {
    if (!found && set.test(kind)) found = find();
  };
  tryKind(dboTable, [&]() -> TDbObj* { return Objs->FindTable(name); });
  tryKind(dboView, [&]() -> TDbObj* { return Objs->FindView(name); });
  tryKind(dboProcedure, [&]() -> TDbObj* { return Objs->FindProcedure(name); });
  tryKind(dboTrigger, [&]() -> TDbObj* { return Objs->FindTrigger(name); });
  tryKind(dboGenerator, [&]() -> TDbObj* { return Objs->FindGenerator(name); });
  tryKind(dboIndex, [&]() -> TDbObj* { return Objs->FindIndex(name); });
  tryKind(dboException, [&]() -> TDbObj* { return Objs->FindException(name); });
  tryKind(dboDomain, [&]() -> TDbObj* { return Objs->FindDomain(name); });
  tryKind(dboFunction, [&]() -> TDbObj* { return Objs->FindFunction(name); });
  // Rules and defaults win over whatever was found before.
  if (set.test(dboRule))
    if (TDbObj* rule = Objs->RulList.Find(name)) found = rule;
  if (set.test(dboDefault))
    if (TDbObj* def = Objs->DefList.Find(name)) found = def;
  if (found) AddDepend(obj, found, std::string());
}

TDbObj* TCustomSQLParser::FindRowSource(const std::string& tableName) {
  if (!Objs) return nullptr;
  if (TDbObj* t = Objs->FindTable(tableName)) return t;
  if (TDbObj* v = Objs->FindView(tableName)) return v;
  return Objs->FindProcedure(tableName);
}

TDbObj* TCustomSQLParser::ResolveQualifier(const std::string& qualifier) {
  for (auto it = Contexts.rbegin(); it != Contexts.rend(); ++it) {
    const TParseContext& ctx = **it;
    int i = IndexOfText(ctx.Aliases, qualifier);
    if (i < 0) i = IndexOfText(ctx.Tables, qualifier);
    if (i >= 0 && static_cast<size_t>(i) < ctx.Tables.size())
      return FindRowSource(ctx.Tables[static_cast<size_t>(i)]);
  }
  return nullptr;
}

void TCustomSQLParser::LinkColumnDepend(TDbObj* obj, const std::string& qualifier,
                                        const std::string& column) {
  if (!Objs) return;
  const TParseContext* ctx = TopContext();
  if (!ctx || (ctx->IsQueryScope && ctx->Tables.empty())) {
    // A bare name outside any query is taken for a generator.
    if (!ListHasText(TempList, column)) LinkDepend(obj, column, {dboGenerator});
    return;
  }
  if (!ctx->IsQueryScope || column.empty()) return;
  if (column == "*") {
    if (!qualifier.empty()) {
      AddDepend(obj, ResolveQualifier(qualifier), std::string());
    } else {
      for (const std::string& t : ctx->Tables) AddDepend(obj, FindRowSource(t), std::string());
    }
    return;
  }
  if (!qualifier.empty()) {
    if (TDbObj* source = ResolveQualifier(qualifier)) AddDepend(obj, source, column);
    return;
  }
  // Unqualified: the innermost scope whose tables know the column wins.
  for (auto it = Contexts.rbegin(); it != Contexts.rend(); ++it) {
    for (const std::string& name : (*it)->Tables) {
      TDbObj* hit = nullptr;
      if (TTblData* t = Objs->FindTable(name); t && t->FindField(column)) {
        hit = t;
      } else if (TViwData* v = Objs->FindView(name); v && v->Columns.Find(column)) {
        hit = v;
      } else if (TPrcData* p = Objs->FindProcedure(name); p && p->Results.Find(column)) {
        hit = p;
      }
      if (hit) {
        AddDepend(obj, hit, column);
        return;
      }
    }
  }
}

// ---- Final linking pass ---------------------------------------------------------

std::string TCustomSQLParser::TableKeyFor(const std::string& tableName, const std::string& schema,
                                          const std::string& owner) const {
  switch (ServerType) {
    case srvOracle:
    case srvMSSQL:
    case srvPostgreSQL: return schema.empty() ? tableName : schema + "." + tableName;
    case srvASA: return owner.empty() ? tableName : owner + "." + tableName;
    default: return tableName;
  }
}

void TCustomSQLParser::LinkTableAndColumns(TDbObj* obj, const std::string& tableKey,
                                           const TStringList& columns) {
  TTblData* table = Objs->FindTable(tableKey);
  if (!table) return;
  AddDepend(obj, table, std::string());
  for (const std::string& c : columns)
    if (table->FindField(c)) AddDepend(obj, table, c);
}

void TCustomSQLParser::LinkIndexes() {
  for (const auto& e : Objs->IdxList) {
    auto* idx = static_cast<TIdxData*>(e.Obj.get());
    LinkTableAndColumns(idx, TableKeyFor(idx->TableName, idx->Schema, idx->Owner),
                        NamesOf(idx->Fields));
  }
}

void TCustomSQLParser::LinkConstraints() {
  for (const auto& e : Objs->CtrList) {
    auto* ctr = static_cast<TCtrData*>(e.Obj.get());
    LinkTableAndColumns(ctr, TableKeyFor(ctr->TableName, ctr->Schema, ctr->Owner),
                        NamesOf(ctr->Fields));
    if (ctr->ConstraintType != ctForeignKey && ctr->ConstraintType != ctReferences) continue;
    const std::string& refSchema = ctr->RefSchema.empty() ? ctr->Schema : ctr->RefSchema;
    LinkTableAndColumns(ctr, TableKeyFor(ctr->RefTableName, refSchema, ctr->Owner),
                        NamesOf(ctr->RefFields));
  }
}

void TCustomSQLParser::LinkForeignKeysToKeys() {
  // Keys by (table, quoted column list), so each foreign key finds its
  // referenced keys without a walk over all constraints.
  std::unordered_map<std::string, std::vector<TCtrData*>> keys;
  auto keyOf = [](const std::string& table, const std::string& fields) {
    return table + '\x01' + fields;
  };
  for (const auto& e : Objs->CtrList) {
    auto* ctr = static_cast<TCtrData*>(e.Obj.get());
    if (ctr->ConstraintType == ctPrimaryKey || ctr->ConstraintType == ctUnique)
      keys[keyOf(ctr->TableName, QuotedFieldList(ctr, NamesOf(ctr->Fields)))].push_back(ctr);
  }
  if (keys.empty()) return;
  for (const auto& e : Objs->CtrList) {
    auto* fk = static_cast<TCtrData*>(e.Obj.get());
    if (fk->ConstraintType != ctForeignKey) continue;
    auto it = keys.find(keyOf(fk->RefTableName, QuotedFieldList(fk, NamesOf(fk->RefFields))));
    if (it == keys.end()) continue;
    for (TCtrData* key : it->second) AddDepend(fk, key, std::string());
  }
}

TDbObj* TCustomSQLParser::FindObjectOfKind(TDbObject kind, const std::string& name) const {
  if (!Objs) return nullptr;
  switch (kind) {
    case dboDomain: return Objs->FindDomain(name);
    case dboException: return Objs->FindException(name);
    case dboGenerator: return Objs->FindGenerator(name);
    case dboRole: return Objs->FindRole(name);
    case dboUser: return Objs->FindUser(name);
    case dboPackage: return Objs->FindPackage(name);
    case dboIndex: return Objs->FindIndex(name);
    case dboProcedure: return Objs->FindProcedure(name);
    case dboTable: return Objs->FindTable(name);
    case dboTrigger: return Objs->FindTrigger(name);
    case dboView: return Objs->FindView(name);
    case dboFunction: {
      // A stored function (Firebird 3) or an external function: one name space.
      if (TDbObj* f = Objs->FindProcedure(name)) return f;
      return Objs->FindFunction(name);
    }
    default: return nullptr;
  }
}

void TCustomSQLParser::LinkGrants() {
  for (const auto& e : Objs->GntList) {
    auto* grant = static_cast<TGntData*>(e.Obj.get());
    AddDepend(grant, FindObjectOfKind(grant->ObjectKind, grant->ObjectName), std::string());
    // A grantee is a user or role, or a routine, trigger or view holding the
    // privilege; a table never receives one.
    if (grant->GranteeKind != dboTable)
      AddDepend(grant, FindObjectOfKind(grant->GranteeKind, grant->Grantee), std::string());
  }
}

void TCustomSQLParser::LinkUsers() {
  for (const auto& e : Objs->RolList) {
    auto* role = static_cast<TRolData*>(e.Obj.get());
    if (role->RoleKind == rkUser) AddDepend(role, Objs->FindLogin(role->LoginName), std::string());
  }
}

void TCustomSQLParser::FinishParse() {
  if (!Objs) return;
  Objs->ReKeyGrants();
  LinkIndexes();
  LinkConstraints();
  LinkForeignKeysToKeys();
  LinkGrants();
  LinkUsers();
}

// ---- Generic statement loop -----------------------------------------------------

void TCustomSQLParser::ParseSetTerm() {
  const std::string oldTerm = Term;
  SkipWhiteSpace();
  std::string newTerm;
  while (!AtEnd() && ClassOf(CurChar) != ccBlank) {
    newTerm += CurChar;
    NextChar();
  }
  // "SET TERM ^;" writes the old terminator right after the new one.
  if (newTerm.size() > oldTerm.size() && !oldTerm.empty() &&
      newTerm.compare(newTerm.size() - oldTerm.size(), oldTerm.size(), oldTerm) == 0) {
    newTerm.resize(newTerm.size() - oldTerm.size());
  } else {
    SkipWhiteSpace();
    if (!oldTerm.empty() && Source.compare(static_cast<size_t>(Pos - 2), oldTerm.size(), oldTerm) == 0)
      for (size_t i = 0; i < oldTerm.size(); ++i) NextChar();
  }
  if (newTerm.empty()) {
    Error("Missing: <TERM>");
    return;
  }
  SetTerm(newTerm);
  TokenStart = Pos - 1;
  StatementFound(skSet);
}

void TCustomSQLParser::ParseStatements() {
  NextToken();
  while (Token != tkEOF) {
    StmtStart = TokenStart;
    if (Token == tkTerm) {
      NextToken();
      continue;
    }
    if (IsWord("SET")) {
      TParseContext afterSet(this);
      NextToken();
      if (IsWord("TERM")) {
        ParseSetTerm();
        NextToken();
        continue;
      }
      afterSet.Restore();
    }
    SkipTo({tkEOF, tkTerm});
    StatementFound(skStatement);
    if (Token == tkTerm) NextToken();
  }
}
