// Script tokenizer and SQL parser base.
//
// TCustomParser holds the whole text of one script, cuts it into tokens,
// looks words up in a reserved-word list, tracks line and column for
// messages and collects errors in a message manager of its own.
// TCustomSQLParser adds what every SQL dialect shares: comments, the "||"
// operator, the statement terminator as a token, connection options, the
// hand-over of parsed objects to the container and the recording of
// dependencies between objects. Each dialect parser derives from it and adds
// its keyword list and its statements.
//
// Positions follow one convention throughout: Pos, TokenStart and StmtStart
// are 1-based indexes into Source; Pos is the index of the character after
// CurChar, so CurChar is Source[Pos - 2] in 0-based terms. Col is one more
// than the 1-based column of CurChar (messages store Col - 1).
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/kvtTypes.h"
#include "parse/kvtTokens.h"

class TCustomExtract;
class TObjs;
class TDbObj;
class TFldData;
class TMsgManager;
class TConnectionOptions;
class TCustomParser;

// Raised for statements a parser passes over (connection, data manipulation).
// The trailing values are whatever the dialect parser hands to StatementFound;
// by convention the object kind, the statement action and a parent name.
using TStatementEvent =
    std::function<void(void* Sender, const std::string& StmtText, TStatementKind Kind,
                       const std::string& ObjName, int ObjKind, int Action,
                       const std::string& Parent)>;

// ASCII upper case of every byte; other bytes map to themselves.
struct TUpperTable {
  unsigned char Map[256];
  constexpr TUpperTable() : Map() {
    for (int c = 0; c < 256; ++c)
      Map[c] = static_cast<unsigned char>(c >= 'a' && c <= 'z' ? c - 32 : c);
  }
  unsigned char operator[](char c) const { return Map[static_cast<unsigned char>(c)]; }
};
inline constexpr TUpperTable AsciiUpper;

// ---------------------------------------------------------------------------
// Display name of the current token: it reads like a const std::string and
// refers to the reserved-word list's name of the kind, so that stepping to the
// next token copies no text.
class TTokenNameRef {
 public:
  TTokenNameRef() = default;
  explicit TTokenNameRef(const std::string& name) : Name(&name) {}

  operator const std::string&() const { return *Name; }  // NOLINT: implicit on purpose
  const std::string& str() const { return *Name; }
  const char* c_str() const { return Name->c_str(); }
  bool empty() const { return Name->empty(); }
  size_t size() const { return Name->size(); }

  friend bool operator==(const TTokenNameRef& a, const std::string& b) { return *a.Name == b; }
  friend bool operator==(const TTokenNameRef& a, const char* b) { return *a.Name == b; }
  friend std::string operator+(const std::string& a, const TTokenNameRef& b) { return a + *b.Name; }
  friend std::string operator+(const TTokenNameRef& a, const std::string& b) { return *a.Name + b; }
  friend std::string operator+(const char* a, const TTokenNameRef& b) { return a + *b.Name; }
  friend std::string operator+(const TTokenNameRef& a, const char* b) { return *a.Name + b; }

 private:
  static const std::string Empty;
  const std::string* Name = &Empty;
};

// ---------------------------------------------------------------------------
// Reserved words of a dialect: (word, kind) rows, sorted and compared without
// regard to ASCII case; adding a word that is present already is ignored.
// Words are found through a hash index, kinds are named through a per-kind
// table; both are rebuilt lazily after the list changed.
class TResWordList {
 public:
  TResWordList();
  TResWordList(const TResWordList&) = delete;
  TResWordList& operator=(const TResWordList&) = delete;

  void AddWord(std::string_view word, TTokenKind kind);
  // Kind of the word, -1 when the list does not hold it.
  int KindOf(std::string_view word) const;
  // The same lookup on the scanner's hot path: no copy, no allocation.
  int KindOfWord(const char* word, size_t len) const;
  // Word of the last entry, in list order, that carries the kind (so for
  // synonyms the alphabetically last one); "<???>" when none does. The
  // reference stays valid as long as the list lives.
  const std::string& WordOf(TTokenKind kind) const;
  void Clear();

  int Count() const { return static_cast<int>(Items.size()); }
  const std::string& Words(int i) const { return Items[static_cast<size_t>(i)].Word; }
  TTokenKind Kinds(int i) const { return Items[static_cast<size_t>(i)].Kind; }
  // Position of the word in list order, -1 when absent.
  int IndexOf(std::string_view word) const;
  // Length of the longest word; longer words cannot be in the list.
  size_t MaxWordLength() const { return MaxLen; }
  // Quick rejection before a lookup: false when no word of this length
  // starts with this character (any case).
  bool MayHold(char first, size_t len) const {
    if (Dirty) Rebuild();
    return (FirstCharLengths[static_cast<unsigned char>(first)] >> (len < 31 ? len : 31)) & 1u;
  }

  // Hash of a word, ignoring ASCII case. It reads the length and three
  // characters only: cheap for the many identifiers that are no keywords,
  // and spread well enough over a few hundred keywords.
  static uint32_t WordHash(const char* word, size_t len) {
    if (len == 0) return 0;
    uint32_t h = static_cast<uint32_t>(len);
    h = h * 31 + AsciiUpper[word[0]];
    h = h * 31 + AsciiUpper[word[len / 2]];
    h = h * 31 + AsciiUpper[word[len - 1]];
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    return h;
  }

 private:
  struct Entry {
    std::string Word;  // as added
    std::string Key;   // upper-cased; the sort key
    TTokenKind Kind;
  };
  void Rebuild() const;

  std::vector<Entry> Items;
  size_t MaxLen = 0;
  mutable bool Dirty = false;
  struct TSlot {
    int32_t Index;  // into Items; -1 = empty
    uint32_t Hash;  // WordHash of the word, compared before the text
  };
  mutable std::vector<TSlot> Slots;  // open addressing
  // Name of every kind; the 256 strings keep their addresses for good.
  std::unique_ptr<std::string[]> KindNames;
  // Bit n set: some word of length n (31: 31 or more) starts with the
  // character; both cases of a letter carry the same bits.
  mutable uint32_t FirstCharLengths[256] = {};
};

// ---------------------------------------------------------------------------
// A saved scanner position, so that a parser can look ahead and go back, and
// the name scope of one query block (its tables and their aliases, kept in
// parallel) used to resolve column references.
class TParseContext {
 public:
  TParseContext() = default;
  // Snapshots the parser's position.
  explicit TParseContext(TCustomParser* parser);

  // Copies the scanner position of the parser into this context.
  void Save(const TCustomParser& parser);
  // Writes Line, Col, Pos, CurChar, Token, TokenStart and TokenText back into
  // the parser it was created for (LiteralText, IntValue and TokenName stay).
  void Restore();
  void RestoreTo(TCustomParser& parser) const;

  TCustomParser* Parser = nullptr;
  int Line = 0;
  int Col = 0;
  char CurChar = 0;
  int Pos = 0;
  TTokenKind Token = tkEOF;
  int TokenStart = 0;
  std::string TokenText;

  TStringList Tables;   // FROM part of the query block
  TStringList Aliases;  // alias of Tables[i], empty when none
  bool IsQueryScope = false;
};

// ---------------------------------------------------------------------------
class TCustomParser {
 public:
  // Takes the container the parsed objects go to; without one, the container
  // of the extractor's structure. Derived parsers call their own InitReservedWords
  // in their constructor (the base constructor only loads the fixed kinds).
  explicit TCustomParser(TCustomExtract* aExtract = nullptr, TObjs* aObjs = nullptr);
  virtual ~TCustomParser();
  TCustomParser(const TCustomParser&) = delete;
  TCustomParser& operator=(const TCustomParser&) = delete;

  virtual const char* ClassName() const { return "TCustomParser"; }

  // ---- State ----
  TCustomExtract* Extract = nullptr;  // owning extractor; not owned
  std::string Term;                   // statement terminator, ";" initially
  int TermLen = 0;
  TServerType ServerType = srvNone;
  std::vector<std::unique_ptr<TParseContext>> Contexts;  // look-ahead and name scopes
  bool ProgressEnabled = true;
  std::string Source;  // the script text
  char CurChar = 0;    // current character; 0 at the end
  int LineCount = 0;   // line feeds in Source; the progress maximum
  int Line = 1;
  int Col = 1;
  int Pos = 1;
  TTokenKind Token = tkEOF;
  TTokenNameRef TokenName;  // display name of Token
  int TokenStart = 1;
  int StmtStart = 1;
  std::string ScriptName;  // file name, for messages
  std::string TokenText;   // word of an identifier or keyword
  int32_t IntValue = 0;
  std::string LiteralText;  // text of a string literal or of a number
  char QuoteChar = 0;       // quote of the last string literal, 0 otherwise
  double FloatValue = 0.0;
  std::unique_ptr<TMsgManager> Messages;
  std::unique_ptr<TResWordList> ResWords;
  TCharSet IdentChars;        // characters that continue a word
  uint8_t DebugFlags = 0;     // bit 0 tokens, bit 1 comments, bit 2 raw expressions
  TErrorMessageEvent OnErrorMessage;
  TLogNextLineEvent OnLogNextLine;
  TLogNextLineEvent OnDebugMessage;
  TProgressUpdateEvent OnProgressUpdate;
  TStatementEvent OnStatement;
  TObjs* Objs = nullptr;  // container receiving the parsed objects; not owned

  // ---- Virtual operations ----
  // Stores the dialect and gives it to the container (which sets the case
  // rule of its name lists).
  virtual void SetServerType(TServerType kind);
  // At the terminator: Token := tkTerm, steps past it, true.
  virtual bool CheckTerminator();
  virtual void DoProgress(int position, int maximum);
  virtual void DoLog(const std::string& text);
  // OnErrorMessage, or a message box with "Error: " + text.
  virtual void DoError(const std::string& text);
  virtual void DoDebug(const std::string& text);
  virtual void DoStatement(const std::string& stmtText, TStatementKind kind,
                           const std::string& objName, int objKind, int action,
                           const std::string& parent);
  // Reports the statement from StmtStart up to the current token.
  virtual void StatementFound(TStatementKind kind, const std::string& objName = std::string(),
                              int objKind = 0, int action = 0,
                              const std::string& parent = std::string());
  // Display name of a kind (ResWords.WordOf).
  virtual std::string GetTokenName(TTokenKind kind);
  // Hands a parsed object over (see TCustomSQLParser). Returns true when the
  // container took it (`obj` is then empty); an object that was not taken is
  // freed when it was rejected by name and freeIfRejected is set, and
  // otherwise stays with the caller.
  virtual bool AddObject(std::unique_ptr<TDbObj>& obj, bool freeIfRejected);
  // Reports "Missing: ..." unless Token is kind; a sign before a number is
  // folded into it when a number is expected. True when Token is kind.
  virtual bool Check(TTokenKind kind);
  virtual bool CheckNext(TTokenKind kind);
  virtual bool NextCheck(TTokenKind kind);
  // "(precision[,scale])" of a data type; see TCustomSQLParser.
  virtual void ParsePrecision(TFldData* field);
  virtual int ReadNumber();
  virtual void ReadQuoted(std::string& text);
  virtual void NextToken();
  virtual void ReadIdentifier();
  // The parenthesised text starting at CurChar, parentheses included.
  virtual void ReadParenthesized(std::string& text);
  // Steps onto the next line feed (or the end of input).
  virtual void SkipLine();
  virtual void ScanToken();
  virtual void SkipBlanks();
  virtual void AfterScan() {}
  // Skips white space; true when it skipped anything.
  virtual bool SkipSeparators();
  // Loads the display names of the 30 fixed kinds.
  virtual void InitReservedWords();
  // Token is an identifier spelled text (ASCII case ignored).
  virtual bool IsWord(const std::string& text);
  virtual bool CheckWord(const std::string& text);
  // Parses the lines of a script (joined with CR LF).
  virtual void ParseScript(const TStringList& lines, TObjs* objs);
  // Reads the file as bytes and parses it. False when the file could not be
  // read (the error is reported).
  virtual bool ParseFile(const std::string& fileName, TObjs* objs);
  // Here: reads tokens up to the end; dialects run their statement loop.
  virtual void ParseStatements();
  // Records an error at the current position; only the first error since
  // Messages was cleared is also raised through DoError.
  virtual void Error(const std::string& text);
  virtual std::string GetPositionText();
  // Kind of TokenText in ResWords, tkIdent when it is no keyword.
  virtual TTokenKind LookupWord();
  virtual std::string GetDefaultTerm() { return ";"; }
  virtual std::string MakeComment(const std::string& text) { return "/* " + text + " */"; }
  virtual void FinishParse() {}

  // ---- Character reader ----
  // Steps to the next character (Ctrl-Z reads as a blank); 0 at the end.
  char NextChar() {
    if (Pos > static_cast<int>(Source.size())) {
      CurChar = 0;
      return 0;
    }
    char c = Source[static_cast<size_t>(Pos - 1)];
    if (c == '\n') {
      Col = 0;
      LineFeedSeen();
    } else if (c == 26) {
      c = ' ';
    }
    ++Pos;
    ++Col;
    CurChar = c;
    return c;
  }
  // Character after CurChar, and the one after that; 0 beyond the end.
  char PeekChar() const { return CharAt(Pos); }
  char PeekChar2() const { return CharAt(Pos + 1); }
  // True when the reader has passed the last character.
  bool AtEnd() const { return CurChar == 0 && Pos > static_cast<int>(Source.size()); }

  // ---- Non-virtual helpers ----
  // Takes text as the source and reads its first character.
  void SetSource(const std::string& text);
  void SetSource(std::string&& text);
  // 1-based slice of the source, clipped to it.
  std::string SourceCopy(int from, int count) const;
  int SourceLength() const { return static_cast<int>(Source.size()); }
  // Stores a warning at the current position; shown to nobody.
  void AddWarning(const std::string& text);
  // Name-scope stack used while parsing query blocks.
  TParseContext* PushContext();
  void PopContext();
  TParseContext* TopContext() const { return Contexts.empty() ? nullptr : Contexts.back().get(); }

 protected:
  // 1-based character of the source, 0 outside it.
  char CharAt(int pos1) const {
    return pos1 >= 1 && pos1 <= static_cast<int>(Source.size()) ? Source[static_cast<size_t>(pos1 - 1)]
                                                                 : 0;
  }
  // Index (0-based) of the first character of the current line, derived
  // from Col so that a restored context needs nothing else.
  long LineStartIndex() const;
  // Puts the scanner on the 1-based source index as if it had read there;
  // never backwards.
  void MoveTo(int index);
  // Puts the reader on 0-based index i (the end of input when i is past the
  // source) as if NextChar had walked there, given that every line feed
  // between the current character and i has been counted already.
  void LandAt(long i, long lineStart) {
    const long n = static_cast<long>(Source.size());
    if (i < n) {
      char c = Source[static_cast<size_t>(i)];
      if (c == '\n') {
        lineStart = i + 1;
        LineFeedSeen();
      } else if (c == 26) {
        c = ' ';
      }
      CurChar = c;
      Pos = static_cast<int>(i + 2);
      Col = static_cast<int>(i - lineStart + 2);
    } else {
      CurChar = 0;
      Pos = static_cast<int>(n + 1);
      Col = static_cast<int>((n - 1) - lineStart + 2);
    }
  }
  // Skips blanks, line feeds and Ctrl-Z; true when it moved. (CurChar never
  // holds Ctrl-Z: the reader turns it into a blank.)
  bool SkipWhiteSpace() {
    const char c = CurChar;
    if (c != ' ' && c != '\n' && c != '\r' && c != '\t') return false;
    SkipWhiteSpaceRun();
    return true;
  }
  void SkipWhiteSpaceRun();
  // A line feed became the current character.
  void LineFeedSeen() {
    ++Line;
    if (Line >= NextProgressLine) LineProgress();
  }
  // Prepares line tracking and progress steps for a new source.
  void ResetReader();
  // Operator character pairs ("<=", ...): steps past the first character;
  // MS SQL Server and ASE allow blanks between the two.
  void StepOperator();
  void LogToken();
  // The extractor attached to the container's structure, if any.
  TCustomExtract* AttachedExtractor() const;

 private:
  void LineProgress();
  // Byte table of IdentChars for the identifier scanner, rebuilt whenever
  // IdentChars no longer matches the set it was built from.
  void SyncIdentTable();
  TCharSet IdentTableSet;
  bool IdentTable[256] = {};
  int NextProgressLine = 1 << 30;
  int ProgressStep = 1 << 30;
};

// ---------------------------------------------------------------------------
// Common base of the SQL dialect parsers.
class TCustomSQLParser : public TCustomParser {
 public:
  explicit TCustomSQLParser(TCustomExtract* aExtract = nullptr, TObjs* aObjs = nullptr);
  ~TCustomSQLParser() override;
  const char* ClassName() const override { return "TCustomSQLParser"; }

  // ---- State ----
  std::unique_ptr<TConnectionOptions> Options;  // filled by CONNECT-like statements
  std::string LastComment;                      // text of the last comment skipped
  std::unique_ptr<TFldData> ScratchField;       // work record of the dialect parsers
  TStringList TempList;  // parameters and variables of the body being parsed

  // ---- Virtual operations ----
  // At "/*" or "--": skips the comment into LastComment, true.
  virtual bool ReadComment();
  // NextToken until Token is one of kinds.
  virtual void SkipTo(std::initializer_list<TTokenKind> kinds);
  // Source from fromPos up to TokenStart, trimmed.
  virtual std::string GetSourceText(int fromPos);
  // Records the use of a column (qualifier may be empty) through the name
  // scopes of Contexts.
  virtual void LinkColumnDepend(TDbObj* obj, const std::string& qualifier,
                                const std::string& column);
  virtual std::string FormatName(const std::string& name) { return name; }
  // Passes over stored expression or body text of an object; empty here.
  virtual void ParseObjectBody(TDbObj* /*obj*/) {}
  virtual void ParseBody(TDbObj* /*obj*/) {}

  // ---- Overrides ----
  void ScanToken() override;
  bool SkipSeparators() override;
  void ParseScript(const TStringList& lines, TObjs* objs) override;
  // The final linking pass over the container after all scripts.
  void FinishParse() override;
  void ParsePrecision(TFldData* field) override;
  bool AddObject(std::unique_ptr<TDbObj>& obj, bool freeIfRejected) override;
  using TCustomParser::AddObject;
  template <class T>
  bool AddObject(std::unique_ptr<T>& obj, bool freeIfRejected) {
    std::unique_ptr<TDbObj> base(obj.release());
    bool added = AddObject(base, freeIfRejected);
    obj.reset(static_cast<T*>(base.release()));
    return added;
  }
  // The generic statement loop: SET TERM changes the terminator, every other
  // statement is passed over up to its terminator. Dialects replace it.
  void ParseStatements() override;

  // ---- Helpers ----
  // An empty terminator turns CheckTerminator off.
  void SetTerm(const std::string& text);
  void SaveContext(TParseContext& ctx) const { ctx.Save(*this); }
  void RestoreContext(const TParseContext& ctx) { ctx.RestoreTo(*this); }
  // owner.name, with the dialect's default owner when asked for.
  std::string QualifiedName(const std::string& name, const std::string& owner,
                            bool useDefaultOwner);
  // An optionally signed integer; text is the sign and digits, empty when
  // no integer follows.
  bool ReadSignedInteger(std::string& text);
  // Records that obj uses target (or its column); each (target, column) once.
  void AddDepend(TDbObj* obj, TDbObj* target, const std::string& column);
  // Makes obj depend on the first object of the given kinds named name.
  void LinkDepend(TDbObj* obj, const std::string& name, std::initializer_list<TDbObject> kinds);
  // Passes over the rest of a statement: to the terminator and past it.
  void SkipStatement();

 protected:
  // Table, view or procedure named by a qualifier of the query scopes.
  TDbObj* ResolveQualifier(const std::string& qualifier);
  // Table, view or procedure of that name.
  TDbObj* FindRowSource(const std::string& tableName);
  // "SET TERM new old": the new terminator is read as raw text, since it is
  // usually a character the tokenizer does not know.
  void ParseSetTerm();
  // NextToken for a dialect's statement loop: after an error in a statement
  // its terminator reads as the end of input, and invalid characters are
  // stepped over.
  void NextTokenInStatement();
  int StmtErrors = 0;         // errors recorded in the current statement
  bool InStatement = false;   // the statement loop is inside a statement
  bool HeldAtTerm = false;    // after an error: the terminator is held as the end of input
  // The object of `kind` named `name` in the container being filled, or null.
  TDbObj* FindObjectOfKind(TDbObject kind, const std::string& name) const;
  // Steps of the final linking pass.
  void LinkIndexes();
  void LinkConstraints();
  void LinkForeignKeysToKeys();
  void LinkGrants();
  void LinkUsers();
  // Table key of an index or constraint: the table name, qualified by the
  // schema (or, for SQL Anywhere, the owner) the dialect keys tables with.
  std::string TableKeyFor(const std::string& tableName, const std::string& schema,
                          const std::string& owner) const;
  // obj depends on the table and on each listed column the table has.
  void LinkTableAndColumns(TDbObj* obj, const std::string& tableKey, const TStringList& columns);
};

// Line breaks to CR LF, every line right-trimmed, the whole trimmed.
std::string NormalizeBlock(const std::string& text);
// Removes redundant outer parentheses: "((0))" becomes "(0)".
std::string StripOuterParens(const std::string& text);
// Every CR LF, lone CR and lone LF becomes CR LF.
std::string NormalizeLineBreaks(const std::string& text);
// Text of a file that starts with the UTF-16LE byte-order mark, as UTF-8.
std::string Utf16LEToUtf8(const char* data, size_t size);
