// The MySQL/MariaDB DDL parser TMySQLParser, its keyword kinds and rows, and
// the name quoting of the DDL writers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "core/kvtClasses.h"
#include "parse/kvtKeywordTable.h"
#include "parse/kvtParser.h"
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

// An expression (DEFAULT, CHECK, generated column) in the one spelling both
// a script and the server's own dump reduce to: identifiers in backticks,
// keywords and function names in lower case, string literals in single
// quotes, one blank between words and none inside parentheses.
std::string MySQLCanonicalExpression(std::string_view text);

// A view's text reduced for comparison with what the server's dump writes
// for it: names lower case and unqualified, AS, INNER and OUTER left out, an
// alias equal to its column dropped, COUNT(*) as COUNT(0), and parentheses
// kept only around the arguments of functions.
std::string MySQLViewCompareForm(std::string_view text);

// ===========================================================================
// The MySQL/MariaDB DDL parser.

class TFldData;
class TTblData;
class TCtrData;
class TIdxData;
class TPrcData;
class TMySQLServerOptions;

// Reads MySQL and MariaDB scripts, as users and dump tools write them, into a
// container: tables with columns, keys, indexes, foreign keys and CHECK
// constraints, views, triggers, procedures and functions. View queries and
// routine bodies are stored as text. Statements that change data or the
// session are passed over.
//
// Version comments (/*!NNNNN ... */) are read as SQL. Names the server gives
// unnamed keys (the first column, "<table>_ibfk_<n>", "CONSTRAINT_<n>") and
// the display widths and defaults it fills in are given here as well, so that
// a script and the server's dump of it read as the same schema.
//
// Errors never stop a parse: each is recorded with script, line and column,
// only the first of a statement is kept, and parsing continues with the next
// statement.
class TMySQLParser : public TCustomSQLParser {
 public:
  explicit TMySQLParser(TCustomExtract* aExtract = nullptr, TObjs* aObjs = nullptr);
  ~TMySQLParser() override;
  const char* ClassName() const override { return "TMySQLParser"; }

  // ---- State ----
  std::unique_ptr<TMySQLServerOptions> ServerOptions;
  TDbObj* CurObject = nullptr;  // object named in error messages; not owned

  // ---- Overrides ----
  void InitReservedWords() override;
  void ScanToken() override;
  void AfterScan() override;
  void NextToken() override;
  bool SkipSeparators() override;
  bool ReadComment() override;
  void ParseStatements() override;
  void Error(const std::string& text) override;
  bool Check(TTokenKind kind) override;
  // The base linking pass, then the tables, views and routines that view
  // queries and routine and trigger bodies name.
  void FinishParse() override;
  // Firing order of the triggers (Position, OrderPrev, OrderNext).
  void OrderTriggers();
  // CREATE SEQUENCE (alter false) or ALTER SEQUENCE, the token being SEQUENCE.
  void ParseSequence(bool alter);
  int TriggerCount = 0;  // triggers read so far; their script order

  // ---- Statements ----
  void ParseStatement();
  void ParseCreate();
  void ParseDrop();
  void ParseAlter();
  void ParseSet();
  void ParseDelimiter();
  void ParseCreateDatabase();
  void ParseCreateTable();
  void ParseCreateIndex(bool unique, bool fulltext, bool spatial);
  void ParseAlterTable();
  // ALGORITHM and SQL SECURITY as read before VIEW.
  void ParseView(const std::string& algorithm, const std::string& security);
  void ParseTrigger();
  void ParseRoutine(bool isProcedure);

  // ---- Grammar pieces ----
  // One element of a table's parenthesised list (column, key, constraint).
  void ParseTableElement(TTblData* table);
  // A column definition; the token is on the column name.
  std::unique_ptr<TFldData> ParseColumnDef(TTblData* table, TDbObj* owner);
  // The type and what may follow it; the token is on the type word.
  void ParseColumnType(TFldData* field);
  void ParseColumnAttributes(TFldData* field, TTblData* table);
  // The DEFAULT value (the token after DEFAULT) in canonical spelling.
  std::string ParseDefaultValue(TFldData* field);
  void ParseEnumValues(TFldData* field);
  // "(" key parts ")" into the list.
  void ParseKeyColumns(TNamedObjList<TFldData>& list);
  // Index options after the column list (USING, COMMENT, KEY_BLOCK_SIZE...).
  void ParseIndexOptions(TIdxData* index);
  // PRIMARY KEY, UNIQUE, KEY/INDEX, FULLTEXT, SPATIAL, FOREIGN KEY or CHECK of
  // a table, with the name of a preceding CONSTRAINT (or empty).
  void ParseTableKey(TTblData* table, const std::string& tableName, const std::string& ctrName);
  void ParseForeignKey(const std::string& tableName, const std::string& ctrName);
  void ParseReferences(TCtrData* ctr);
  void ParseCheck(const std::string& tableName, const std::string& ctrName);
  void ParseTableOptions(TTblData* table);
  void ParseRoutineParams(TPrcData* proc);
  void ParseCharacteristics(TPrcData* proc);
  // The raw text from the current token to the statement's end, which is
  // then the current token (a terminator or the end of input).
  std::string ReadRoutineBody();
  // A parenthesised expression read raw from the current "("; the token
  // after ")" is current. The text keeps its parentheses.
  std::string ReadParenthesizedText();

  // ---- Names ----
  // The current token can name an object: an identifier, or a keyword that
  // MySQL does not reserve.
  bool IsName() const;
  // An object name, with an optional database qualifier that is dropped.
  std::string ReadName();
  // The current token is the unquoted word (any case).
  bool IsKw(const char* word);
  // DEFINER = user[@host], passed over.
  void SkipDefiner();
  bool ParseObjectOptions(std::string& algorithm, std::string& security);
  void SkipIfExists();
  void SkipIfNotExists();
  // Passes over the rest of a statement that is not modelled.
  void PassOver(TStatementKind kind, const std::string& name = std::string());

 protected:
  bool CaseSensitive() const;
  // Body text with the names qualified by the script's database (USE db)
  // unqualified; the update runs in the target's database.
  std::string WithoutOwnDatabase(const std::string& text) const;
  // Whether anybody receives log lines.
  bool LogWanted() const;
  int CurrentIndex() const { return AtEnd() ? SourceLength() + 1 : Pos - 1; }
  // Blanks out the markers of /*!NNNNN ... */ version comments so that their
  // content reads as SQL (lengths and lines stay as they were).
  void OpenVersionComments();
  // Scans raw text from the 1-based index to the statement's terminator,
  // outside literals and comments; with a ";" terminator, a BEGIN ... END
  // block is taken whole. Returns the index of the terminator.
  int ScanToTerminator(int from) const;

  // The name the server gives an unnamed index of the table (its first
  // column, then with _2, _3 ...).
  std::string FreeIndexName(const std::string& tableName, const std::string& base);
  // Adds an index to the container; an index of that name already on the
  // table is replaced.
  void AddIndex(std::unique_ptr<TIdxData> index);
  // The index a foreign key needs, when no index of its table begins with
  // its columns.
  void EnsureForeignKeyIndex(TCtrData* fk);
  // Column charset and collation the table already gives are not repeated.
  void NormalizeColumnCharsets(TTblData* table);
  static void ResolveBinaryAttribute(TFldData* f, const std::string& charset);
  // Removes a table and whatever is on it; a view, routine or trigger.
  void RemoveTable(const std::string& name);
  void RemoveObject(TObjListId list, const std::string& key);
  // Links obj to every table, view and routine its body text names.
  void LinkBodyNames(TDbObj* obj);
  TTblData* FindTable(const std::string& name);

  bool IdentQuoted = false;  // the current identifier was written in backticks
  int CheckCount = 0;        // unnamed CHECK constraints of the current table
  int32_t IndexCount = 0;    // indexes read so far, for their declaration order
};
