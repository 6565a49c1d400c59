// The InterBase/Firebird/Yaffil DDL parser TIbParser, its keyword kinds and
// rows with the server versions that reserve each word, and the name quoting
// of the DDL writers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "core/kvtClasses.h"
#include "core/kvtDBOptions.h"
#include "parse/kvtKeywordTable.h"
#include "parse/kvtParser.h"
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
  std::string_view Word;
  TTokenKind Kind;
  uint16_t Reserved;
};

// Words that are no keywords of the parser but are reserved by some server
// versions, so names spelled like them need quotes. Bit v of Versions as above.
struct TIbReservedRow {
  std::string_view Word;
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

// ===========================================================================
// The InterBase/Firebird DDL parser.

class TFldData;
class TTblData;
class TDmnData;
class TCtrData;
class TIdxData;
class TPrcData;
class TPkgData;
class TTrgData;
class TViwData;
class TGntData;
class TExcData;

// Where a routine statement stands; it decides whether an existing routine
// is reused, whether a body follows and where the routine goes.
enum class TRoutineScope : uint8_t {
  Schema,         // CREATE/ALTER/RECREATE PROCEDURE or FUNCTION: reused by name, added
  PackageHeader,  // a member declared in a package header: no body
  PackageBody,    // a member defined in a package body
  Local,          // a sub-routine declared inside a body: nothing reported
  Block           // the parameters and body of EXECUTE BLOCK
};

// Reads InterBase, Firebird and Yaffil DDL scripts into a container. Bodies
// of procedures, functions, triggers, packages and views, CHECK conditions
// and computed-column expressions are read by ReadBodyText, which stores them
// raw here; a descendant that parses the procedural language replaces it
// (and the other virtual hooks) and is then the parser the extractor creates.
//
// Errors never stop a parse: each is recorded with script, line and column,
// only the first of a statement is kept, and parsing continues with the next
// statement.
class TIbParser : public TCustomSQLParser {
 public:
  explicit TIbParser(TCustomExtract* aExtract = nullptr, TObjs* aObjs = nullptr);
  ~TIbParser() override;
  const char* ClassName() const override { return "TIbParser"; }

  // ---- State ----
  // Parses the files named by INPUT into the same container. Made on first
  // use, and only for the parser of an extractor: a sub-parser ignores INPUT.
  std::unique_ptr<TIbParser> SubParser;
  TIbParser* OwnerParser = nullptr;  // the parser whose SubParser this is; not owned
  std::string CurField;              // column being parsed, for messages
  bool AutoDDL = true;               // last SET AUTODDL state
  std::string Qualifier;             // the two parts ReadQualifiedName read
  std::string QName;
  // Server version, SQL dialect and database character set the script is
  // read with. Taken from the container's options when the parser is made
  // (the extractor copies them again before each extraction); what a script
  // sets (SET SQL DIALECT, SET NAMES, CREATE DATABASE) goes here and to the
  // container's options.
  std::unique_ptr<TIBServerOptions> ServerOptions;

  // ---- Overrides ----
  void ScanToken() override;
  void NextToken() override;
  void InitReservedWords() override;
  // Sets AUTODDL and SQL dialect 1 first, as isql does for a script of lines.
  void ParseScript(const TStringList& lines, TObjs* objs) override;
  void ParseStatements() override;
  // The keyword kind only where the server version reserves the word.
  TTokenKind LookupWord() override;
  void FinishParse() override;
  // In SQL dialect 3 the name in double quotes when it needs them.
  std::string FormatName(const std::string& name) override;
  // Only the first error of a statement is recorded.
  void Error(const std::string& text) override;
  // Where a name is wanted, a keyword that Firebird 3 and 4 no longer
  // reserve (GEN_ID, ACTIVE, ...) is taken as one in every version.
  bool Check(TTokenKind kind) override;
  // Objects the container does not take leave no dependency records behind.
  bool AddObject(std::unique_ptr<TDbObj>& obj, bool freeIfRejected) override;
  using TCustomSQLParser::AddObject;

  // ---- New virtual operations ----
  // Reads the body of obj from the current token and stores it: a routine,
  // trigger, view, package or block body up to the statement terminator
  // (the scanner is left on the terminator), a computed column's, CHECK
  // constraint's or index expression as the parenthesised text from the
  // current token (the scanner is left on the token after it). `start` is
  // the source index the text begins at, or -1 for the character after the
  // current token.
  virtual void ReadBodyText(TDbObj* obj, int start);
  // A DEFAULT value as written in the script; the token after it is current.
  virtual void ParseDefaultValue(TFldData* field, std::string& text);
  // DEFAULT (or "=") and its value into the field (which may be none),
  // with the token on the keyword; the token after the value is current.
  void ParseDefaultClause(TFldData* field);
  // The parser INPUT files are read with: one of the parser's own class.
  virtual std::unique_ptr<TIbParser> CreateSubParser();

  // ---- Server version and dialect ----
  TIBSQLServerVersionType Version() const { return ServerOptions->SQLServerVersion; }
  int SQLDialect() const { return ServerOptions->SQLDialect; }
  bool IsFirebird3Up() const;   // Firebird 3 or 4
  bool IsFirebird4() const;
  bool IsFirebird25Up() const;  // Firebird 2.5, 3 or 4
  bool IsFirebird20Up() const;  // Firebird 2.0 to 4
  bool IsYaffil() const { return Version() == st_Yaffil_1x; }
  bool IsInterBase2020() const { return Version() == st_InterBase_2020; }
  // Copies the options the script is read with (version, dialect, character set).
  void SetServerOptions(const TIBServerOptions& options);

  // ---- Grammar shared with descendants ----
  // name or qualifier.name into Qualifier and QName.
  void ReadQualifiedName();
  // The statement's terminator (or the end of input) must follow; steps past it.
  void EndStatement();
  // Whether the current token starts a data type.
  bool IsDataTypeStart();
  // A data type and what may follow it in a column or domain definition.
  void ParseDataType(TFldData* field, TDmnData* domain);
  void ParseLength(TFldData* field);
  // "(n)" at the current token into value; the token after it is current.
  bool ReadNumberInParens(int32_t& value);
  void ParseArrayDims(TFldData* field);
  void ParseColumnOptions(TFldData* field, bool forDomain);
  // A column definition of owner (a table, procedure or none; tableName
  // names the table when it is not known); the column is not yet added.
  std::unique_ptr<TFldData> ParseColumn(TDbObj* owner, const std::string& tableName = std::string());
  // The data-type kind the current token stands for in this version (plain
  // words some versions write for types included); the token's kind otherwise.
  TTokenKind DataTypeKind() const;
  // The type name and its length, precision or BLOB options alone.
  void ParseTypeName(TFldData* field);
  void ParseBlobOptions(TFldData* field);
  // IDENTITY [(START WITH n [INCREMENT [BY] n])], the token on IDENTITY.
  void ParseIdentity(TFldData* field);
  // START WITH n and INCREMENT [BY] n, in any order, each optional: the
  // signed numbers as written (without a plus sign).
  bool ParseSequenceOptions(std::string& start, std::string& increment);
  // "(" name, ... ")" into list.
  void ParseNameList(TNamedObjList<TFldData>& list);
  // CONSTRAINT name followed by the constraint; for a column constraint
  // field is the column, otherwise table or tableName the table.
  void ParseNamedConstraint(TFldData* field, TTblData* table, const std::string& tableName);
  void ParseConstraint(std::unique_ptr<TCtrData> ctr, TFldData* field, const std::string& tableName,
                       TTblData* table);
  void ParseForeignKey(TTblData* table, TCtrData* ctr);
  void ParseUsingIndex(TCtrData* ctr, std::string& text);
  // A parenthesised text read raw from the current "(" (quotes and comments
  // respected) into text, parentheses included; the token after it is current.
  bool ReadParenthesizedText(std::string& text);
  // A procedure or function statement with the token on PROCEDURE or
  // FUNCTION; package is the package a member belongs to. Returns the
  // routine when it did not go into the container (package members, local
  // sub-routines, blocks).
  std::unique_ptr<TPrcData> ParseRoutine(TRoutineScope scope, TPkgData* package = nullptr);
  // "(" parameters ")" and RETURNS of a routine.
  void ParseRoutineParameters(TPrcData* proc);

  // ---- Statements ----
  void ParseStatement();
  void ParseDatabaseClause(bool create);
  void ParseSet();
  void ParseSetTerm();
  void ParseInput();
  void ParseCreate();
  void ParseAlter();
  void ParseDrop();
  void ParseCreateOrAlter();
  void ParsePackage();
  void ParseExecuteBlock();
  void ParseTrigger(bool creating);
  void ParseView();
  void ParseGenerator();
  // With the token on the name; reuse: an existing exception of that name is updated.
  void ParseException(bool reuse);
  void ParseRole();
  void ParseExternalFunction();
  void ParseCollation();
  void ParseGrant();
  void ParseDescribe();
  void ParseComment();
  // After PROCEDURE or FUNCTION in COMMENT ON: PARAMETER follows (then current).
  bool IsParameterComment();
  // The kind of object the current word of DESCRIBE or COMMENT ON names
  // (DOMAIN, EXCEPTION, GENERATOR, ... VIEW); dboUnknown for any other word.
  TDbObject DescribedKind();
  // The object of that kind and name, or none.
  void ParseCreateTable(bool globalTemporary);
  void ParseAlterTable();
  void ParseAlterColumn(TTblData* table);
  // SET DEFAULT v, DROP DEFAULT, SET NOT NULL or DROP NOT NULL with the token
  // on SET or DROP, applied to field (which may be none). False for another
  // form, with the token after SET or DROP current.
  bool ParseDefaultOrNullChange(TFldData* field);
  // Passes over one ALTER TABLE operation that the model does not keep.
  void SkipAlterOperation();
  // Appends a column to a table; a column of a domain depends on it.
  void AddTableColumn(TTblData* table, std::unique_ptr<TFldData> column);
  void ParseCreateIndex();
  void ParseAlterIndex();
  void ParseCreateDomain();
  void ParseAlterDomain();

 protected:
  // Whether anybody receives log lines (texts built only for the log are
  // then worth building).
  bool LogWanted() const;
  // The source text of the current token, as written.
  std::string TokenSourceText() const;
  // Index (1-based) of the current character in Source; past the end at the end.
  int CurrentIndex() const;
  // The 0-based index after the literal or comment starting at index k; k
  // itself when none starts there.
  long SkipLiteralOrComment(long k) const;
  // Scans raw text from the 1-based index: to the end of the parenthesised
  // text opening there (returns the index after ")"), or to the terminator
  // outside quotes, comments and BEGIN ... END blocks, for a routine after
  // its block (returns its index).
  int ScanParenthesized(int from) const;
  int ScanToTerminator(int from, bool routine) const;
  // Stores a body read raw: routines, triggers, views and blocks in Body, a
  // package header in Header.
  void StoreBody(TDbObj* obj, const std::string& text);
  // Writes a database setting the script makes into both option objects.
  void SetDatabaseDialect(int dialect);
  void SetDatabaseCharSet(const std::string& charset);
  // The current token is a keyword that may also serve as a name.
  bool IsNameKeyword() const;
  // An identifier, or a keyword that may serve as a name.
  bool IsName() const { return Token == tkIdent || IsNameKeyword(); }
  // Keyword or, where the version does not reserve it, the word.
  bool IsKeyword(TTokenKind kind, const char* word);
  // The same, reporting "Missing: " like Check when it is neither.
  bool CheckKeyword(TTokenKind kind, const char* word);
  // Passes over the rest of a statement that is not modelled.
  void PassOver(TStatementKind kind, const std::string& name = std::string());

  // The primary key of a table among the container's constraints.
  TCtrData* FindPrimaryKey(const std::string& tableName);

  uint64_t TermCount = 0;     // terminators scanned so far

 private:
  // Primary keys by table name, valid while the constraint list has the
  // version they were taken at.
  std::unordered_map<std::string, TCtrData*> PrimaryKeys;
  uint64_t PrimaryKeysVersion = ~uint64_t{0};

  void LinkDomainColumns();
  void RemoveIndexesOfConstraints();
  void ClassifyGrants();
};
