// Columns: the data-type codes every parser stores and every DDL writer reads,
// and TFldData, the one column object shared by tables, views, procedure
// parameters and results, external-function arguments, domains and sequences.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/kvtClasses.h"
#include "core/kvtTypes.h"

class TTblData;
class TGnrData;
class TDmnData;

// Data-type codes (TFldData::DataType). The code is the index into
// DataTypeNames; the numbering is fixed because rules test code ranges.
// dtDomain (97) has no name: the type is the domain or user type in DomainName.
enum : uint8_t {
  dtUnknown = 0,
  dtInteger = 1,
  dtBigInt = 2,
  dtFloat = 3,
  dtDoublePrecision = 4,
  dtFloat4 = 5,
  dtFloat8 = 6,
  dtDecFloat = 7,
  dtTinyInt = 8,
  dtReal = 9,
  dtDouble = 10,
  dtNumber = 11,
  dtLong = 12,
  dtLongRaw = 13,
  dtVarchar = 14,
  dtChar = 15,
  dtLongVarchar = 16,
  dtVarchar2 = 17,
  dtDate = 18,
  dtTime = 19,
  dtTimestamp = 20,
  dtTimeTZ = 21,       // TIME with time zone
  dtTimestampTZ = 22,  // TIMESTAMP with time zone
  dtDateTime = 23,
  dtDateTime2 = 24,
  dtSmallDateTime = 25,
  dtDateTimeOffset = 26,
  dtGraphic = 27,
  dtVarGraphic = 28,
  dtGeometry = 29,
  dtPoint = 30,
  dtCurve = 31,
  dtLineString = 32,
  dtSurface = 33,
  dtPolygon = 34,
  dtGeometryCollection = 35,
  dtMultiPoint = 36,
  dtMultiCurve = 37,
  dtMultiLineString = 38,
  dtMultiSurface = 39,
  dtMultiPolygon = 40,
  dtBlob = 41,
  dtClob = 42,
  dtDbClob = 43,
  dtBinary = 44,
  dtLongBinary = 45,
  dtNumeric = 46,
  dtDecimal = 47,
  dtText = 48,
  dtNChar = 49,
  dtNVarchar = 50,
  dtNVarchar2 = 51,
  dtNText = 52,
  dtNClob = 53,
  dtSmallInt = 54,
  dtQuad = 55,
  dtCString = 56,
  dtNationalChar = 57,
  dtRaw = 58,
  dtRowId = 59,
  dtURowId = 60,
  dtMediumInt = 61,
  dtYear = 62,
  dtTinyBlob = 63,
  dtMediumBlob = 64,
  dtLongBlob = 65,
  dtTinyText = 66,
  dtMediumText = 67,
  dtLongText = 68,
  dtEnum = 69,
  dtSet = 70,
  dtBit = 71,
  dtVarBit = 72,
  dtMoney = 73,
  dtSmallMoney = 74,
  dtGuid = 75,
  dtVarBinary = 76,
  dtImage = 77,
  dtBFile = 78,
  dtUniqueIdentifier = 79,
  dtSysName = 80,
  dtSqlVariant = 81,
  dtCursor = 82,
  dtCursorVarying = 83,
  dtTable = 84,
  dtXml = 85,
  dtIntervalYearToMonth = 86,
  dtIntervalDayToSecond = 87,
  dtSerial = 88,
  dtBigSerial = 89,
  dtBytea = 90,
  dtInterval = 91,
  dtInt2 = 92,
  dtInt4 = 93,
  dtInt8 = 94,
  dtOid = 95,
  dtBoolean = 96,
  dtDomain = 97
};
inline constexpr int DataTypeNameCount = 97;
// Type keyword of each code 0..96, written verbatim.
extern const char* const DataTypeNames[DataTypeNameCount];
// The keyword of a code; empty for dtDomain and codes past the table.
std::string DataTypeName(uint8_t code);

// Parameter modes (Direction).
enum : uint8_t { pdNone = 0, pdIn = 1, pdOut = 2, pdInOut = 3, pdVariadic = 4 };

// One array dimension of a column: lower and upper bound.
struct TDimension {
  int32_t Lower = 0;
  int32_t Upper = 0;
  bool operator==(const TDimension&) const = default;
};

class TFldData : public TDbObj {
 public:
  // `owner` is the object the column belongs to (table, view, procedure,
  // external function, domain, generator) or null. A table column gets an
  // owned identity generator; a procedure parameter gets the kind dboParam.
  TFldData(TObjs* aObjs, TDbObj* owner);
  ~TFldData() override;
  const char* ClassName() const override { return "TFldData"; }

  // ---- Fields, in declaration order ----
  std::string DefaultValue;  // DEFAULT expression as written
  // InterBase/Firebird: the DEFAULT keyword and the space before the value
  // as the script wrote them, when not "DEFAULT ". The server keeps the
  // clause's source text as written and its extract shows it.
  std::string DefaultKeyword;
  uint8_t DataType = dtUnknown;
  uint8_t StorageType = 0;  // InterBase NUMERIC/DECIMAL storage code (54, 1, 2, 4); 0 unknown
  int32_t ByteLength = 0;   // storage length in bytes (RDB$FIELD_LENGTH)
  int32_t Length = 0;       // declared length; -1 means MAX
  int32_t Precision = 0;
  int32_t Scale = 0;
  bool Nullable = true;
  int32_t Position = 0;        // index in the owner's column list
  int32_t OtherPosition = -1;  // position of the counterpart column (match phase)
  bool Unsigned = false;
  bool Zerofill = false;
  bool Binary = false;
  bool AutoIncrement = false;
  bool Matched = false;         // match phase: a same-named column exists on the other side
  bool SameDefinition = false;  // match phase: the column pair is unchanged
  std::string DomainName;       // domain or user type when DataType is dtDomain
  std::string DomainSchema;     // schema of that user type (MS SQL, ASE)
  std::string TableName;        // owning table's name
  // Owning object (TTblData, TViwData, TPrcData, TUdfData, TDmnData, TGnrData)
  // or null; not owned. Hides TDbObj::Owner, the owner-user string, which a
  // column does not use.
  TDbObj* Owner = nullptr;
  std::string CharacterSet;
  std::string CheckExpression;  // CHECK condition including its parentheses
  std::string CheckName;        // name of that CHECK (PostgreSQL domains)
  std::string Collation;
  int32_t SubType = 0;       // BLOB sub-type
  int32_t SegmentSize = 0;   // BLOB segment size; 0 and 80 mean default
  bool TypeOf = false;       // Firebird TYPE OF
  std::string TypeOfTable;   // Firebird TYPE OF COLUMN table ...
  std::string TypeOfColumn;  // ... and column
  std::vector<TDimension> Dimensions;
  uint8_t Direction = pdNone;
  bool ByValue = false;
  bool ByDescriptor = false;
  int32_t ParameterNumber = 0;  // RETURNS PARAMETER n of an external function
  bool Deterministic = false;
  int32_t SortOrder = 0;   // index column: 2 = descending
  TStringList EnumValues;  // MySQL ENUM/SET member literals
  bool Identity = false;
  int32_t IdentitySeed = 0;
  int32_t IdentityIncrement = 0;
  // DB2 identity options; table columns only, created by GetIdentityGenerator.
  std::unique_ptr<TGnrData> IdentityGenerator;
  char Db2Generated = 0;                        // 'A' ALWAYS, 'D' BY DEFAULT, 0 or ' ' none
  std::string Db2GeneratedExpression;
  bool NotForReplication = false;
  bool RowGuidCol = false;
  std::string BoundRule;  // MS SQL rule bound with sp_bindrule
  bool Persisted = false;
  std::string XmlSchemaCollection;
  bool Ref = false;  // Oracle REF
  bool WithTimeZone = false;
  bool WithLocalTimeZone = false;
  std::string KeyName;                  // MySQL inline KEY name
  bool Invisible = false;               // MySQL/MariaDB INVISIBLE column
  // MySQL, during a comparison: AUTO_INCREMENT is held back while the keys
  // that serve the column change (the server wants the column to lead a key
  // at every moment), and whether this target column already took the
  // master's definition. Set on the target column and its master pair.
  bool AutoIncrementHeld = false;
  bool MasterDefinitionWritten = false;
  std::unique_ptr<TTblData> TableType;  // MS SQL/ASE table type when DataType is dtTable
  int32_t Db2Logged = -1;               // -1 unspecified, 0 NOT LOGGED, 1 LOGGED
  int32_t Db2Compact = -1;              // -1 unspecified, 0 NOT COMPACT, 1 COMPACT
  bool ForBitData = false;
  bool JavaType = false;
  std::string JavaClass;  // written after "java.lang."

  // ---- Overrides ----
  bool IsFieldObject() const override { return true; }
  TDbObj* GetParentObj() const override { return Owner; }
  std::string GetParentName() const override { return TableName; }
  void AppendCreateDescriptions(TCustomSQLExec& exec) override;
  // A computed column goes with a view it reads.
  bool ReleaseUse(TDbObj& used) override;
  // A missing column of another table is added for its user.
  void ProvideFor(TDbObj& user, TDependObj& r) override;
  std::string GetDisplayName() override;
  std::string GetCreateSQL() override;  // the column definition
  void DropDependents() override;
  void MarkDropped() override;
  void CreateDependencies() override;
  std::string GetCreateScript() override;  // ALTER TABLE ... ADD
  std::string GetDropSQL() override;       // ALTER TABLE ... DROP

  // ---- Operations ----
  // The identity generator of a table column, created on first use; null
  // for other columns.
  TGnrData* GetIdentityGenerator();
  // The type part of the definition alone; the match phase compares it.
  std::string GetTypeText();
  // DefaultValue; a value in double quotes becomes an SQL string literal.
  std::string GetDefaultText() const;
  // InterBase/Firebird: "DEFAULT " + GetDefaultText(), the keyword spelled
  // as the script wrote it.
  std::string GetDefaultClause() const;
  // The domain of a dtDomain column in the column's container; else null.
  TDmnData* FindDomain() const;
  // The domain's base column when the domain is known; else null.
  TFldData* GetDomainField() const;
  bool IsCharacterType() const;
  // A character type or one of MySQL's TEXT types, ENUM and SET, which carry a
  // character set and collation as well.
  bool HasMySQLCharset() const;
  std::string GetCharacterSet() const;
  bool IsComputed() const { return !Body.empty(); }
  bool IsDomainTyped() const { return DataType == dtDomain; }
  // Copies every attribute except Owner, Matched and the positions.
  void Assign(const TFldData& source);
  // Copies the type attributes only.
  void AssignType(const TFldData& source);
  bool SameDimensions(const TFldData& other) const;
  // A parameter of a procedure written in an external language.
  bool IsExternalRoutineParameter() const;
  // The owner when it is a table; else null.
  TTblData* GetOwnerTable() const;
  // The table part of the ALTER TABLE ... ADD text.
  std::string GetAlterTableName();

 private:
  std::string GetTypeTextFor(TServerType st);
  std::string BodyInterBase();
  std::string BodyASA();
  std::string BodyMySQL();
  // The MySQL type with its size, values, sign and character set.
  std::string MySQLTypeText();
  std::string BodyOracle();
  std::string BodyMSSQL();
  std::string BodyPostgreSQL();
  std::string BodyDB2();
  std::string BodyASE();
  bool OwnerIsProcedure() const;
  bool OwnerIsTable() const;
};
