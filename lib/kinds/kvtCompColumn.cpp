#include "kinds/kvtCompColumn.h"

#include "core/kvtDBOptions.h"
#include "core/kvtDBStructure.h"
#include "kinds/kvtComp_Ctr.h"
#include "kinds/kvtComp_Dmn.h"
#include "kinds/kvtComp_Fnc.h"
#include "kinds/kvtComp_Gnr.h"
#include "kinds/kvtComp_Idx.h"
#include "kinds/kvtComp_Prc.h"
#include "kinds/kvtComp_Tbl.h"
#include "kinds/kvtComp_Viw.h"
#include "script/kvtSQL_Exec.h"

// clang-format off
const char* const DataTypeNames[DataTypeNameCount] = {
    /*  0 */ "? DataType", "INTEGER", "BIGINT", "FLOAT", "DOUBLE PRECISION",
    /*  5 */ "FLOAT4", "FLOAT8", "DECFLOAT", "TINYINT", "REAL",
    /* 10 */ "DOUBLE", "NUMBER", "LONG", "LONG RAW", "VARCHAR",
    /* 15 */ "CHAR", "LONG VARCHAR", "VARCHAR2", "DATE", "TIME",
    /* 20 */ "TIMESTAMP", "TIME", "TIMESTAMP", "DATETIME", "DATETIME2",
    /* 25 */ "SMALLDATETIME", "DATETIMEOFFSET", "GRAPHIC", "VARGRAPHIC", "Geometry",
    /* 30 */ "Point", "Curve", "LineString", "Surface", "Polygon",
    /* 35 */ "GeometryCollection", "MultiPoint", "MultiCurve", "MultiLineString", "MultiSurface",
    /* 40 */ "MultiPolygon", "BLOB", "CLOB", "DBCLOB", "BINARY",
    /* 45 */ "LONG BINARY", "NUMERIC", "DECIMAL", "TEXT", "NCHAR",
    /* 50 */ "NVARCHAR", "NVARCHAR2", "NTEXT", "NCLOB", "SMALLINT",
    /* 55 */ "QUAD", "CSTRING", "NATIONAL CHAR", "RAW", "ROWID",
    /* 60 */ "UROWID", "MEDIUMINT", "YEAR", "TINYBLOB", "MEDIUMBLOB",
    /* 65 */ "LONGBLOB", "TINYTEXT", "MEDIUMTEXT", "LONGTEXT", "ENUM",
    /* 70 */ "SET", "BIT", "VARBIT", "MONEY", "SMALLMONEY",
    /* 75 */ "GUID", "VARBINARY", "IMAGE", "BFILE", "UNIQUEIDENTIFIER",
    /* 80 */ "SYSNAME", "SQL_VARIANT", "CURSOR", "CURSOR VARYING", "TABLE",
    /* 85 */ "XML", "INTERVAL YEAR TO MONTH", "INTERVAL DAY TO SECOND", "SERIAL", "BIGSERIAL",
    /* 90 */ "BYTEA", "INTERVAL", "INT2", "INT4", "INT8",
    /* 95 */ "OID", "BOOLEAN",
};
// clang-format on

std::string DataTypeName(uint8_t code) {
  return code < DataTypeNameCount ? std::string(DataTypeNames[code]) : std::string();
}

namespace {

// The parameter mode as written in a routine's parameter list; empty for
// modes that are not written.
std::string DirectionWord(uint8_t direction) {
  switch (direction) {
    case pdIn:
      return "in";
    case pdOut:
      return "out";
    case pdInOut:
      return "inout";
    default:
      return std::string();
  }
}

bool IsOneOf(uint8_t code, std::initializer_list<uint8_t> codes) {
  for (uint8_t c : codes)
    if (c == code) return true;
  return false;
}

std::string Paren(int32_t n) { return "(" + std::to_string(n) + ")"; }

// "(p,s)" when both are non-zero, "(p)" when only the precision is.
std::string PrecisionScale(int32_t precision, int32_t scale) {
  if (precision == 0) return std::string();
  if (scale != 0) return "(" + std::to_string(precision) + "," + std::to_string(scale) + ")";
  return Paren(precision);
}

// Undoes the quoting of a MySQL string literal: '' and the backslash escapes.
std::string UnquoteMySQL(const std::string& lit) {
  std::string out;
  for (size_t i = 1; i + 1 < lit.size(); ++i) {
    char c = lit[i];
    if (c == '\'' && i + 2 < lit.size() && lit[i + 1] == '\'') {
      out += '\'';
      ++i;
    } else if (c == '\\' && i + 2 < lit.size()) {
      char e = lit[++i];
      switch (e) {
        case '0':
          out += '\0';
          break;
        case 'b':
          out += '\b';
          break;
        case 'n':
          out += '\n';
          break;
        case 'r':
          out += '\r';
          break;
        case 't':
          out += '\t';
          break;
        case 'Z':
          out += '\x1a';
          break;
        case '%':
        case '_':
          out += '\\';
          out += e;
          break;  // kept as written by MySQL itself
        default:
          out += e;
          break;
      }
    } else {
      out += c;
    }
  }
  return out;
}

// A DEFAULT constraint that covers exactly the one column `name`.
bool IsDefaultOfColumn(const TCtrData* ctr, const std::string& name) {
  return ctr && ctr->ConstraintType == ctDefault && ctr->Fields.Count() == 1 &&
         SameTextAscii(ctr->Fields.Names(0), name);
}

}  // namespace

// ---------------------------------------------------------------------------
// Construction

TFldData::TFldData(TObjs* aObjs, TDbObj* owner) : TDbObj(aObjs), Owner(owner) {
  ObjType = owner && owner->IsProcedure() ? dboParam : dboField;
  // A table column's identity generator is created when first asked for:
  // only DB2 identity options use it, and schemas hold many columns.
}

TFldData::~TFldData() = default;

TGnrData* TFldData::GetIdentityGenerator() {
  if (!IdentityGenerator && Owner && Owner->IsTable())
    IdentityGenerator = std::make_unique<TGnrData>(Objs, this);
  return IdentityGenerator.get();
}

// ---------------------------------------------------------------------------
// Simple queries

TTblData* TFldData::GetOwnerTable() const { return Owner ? Owner->As<TTblData>() : nullptr; }

bool TFldData::OwnerIsProcedure() const { return Owner && Owner->IsProcedure(); }

bool TFldData::OwnerIsTable() const { return Owner && Owner->IsTable(); }

bool TFldData::IsExternalRoutineParameter() const {
  const TPrcData* prc = Owner ? Owner->As<TPrcData>() : nullptr;
  return prc && !prc->Language.empty();
}

TDmnData* TFldData::FindDomain() const {
  if (DataType != dtDomain || !Objs) return nullptr;
  if (TDmnData* d = Objs->FindDomain(QualifyName(DomainSchema, DomainName))) return d;
  return DomainSchema.empty() ? nullptr : Objs->FindDomain(DomainName);
}

TFldData* TFldData::GetDomainField() const {
  TDmnData* dmn = FindDomain();
  TFldData* base = dmn ? dmn->BaseField.get() : nullptr;
  return base == this ? nullptr : base;
}

bool TFldData::IsCharacterType() const {
  switch (DataType) {
    case dtVarchar:
    case dtChar:
    case dtNChar:
    case dtCString:
      return true;
    case dtBlob:
      return SubType == 1;
    case dtDomain:
      if (TFldData* base = GetDomainField()) return base->IsCharacterType();
      return false;
    default:
      return false;
  }
}

bool TFldData::HasMySQLCharset() const {
  switch (DataType) {
    case dtTinyText: case dtText: case dtMediumText: case dtLongText: case dtEnum: case dtSet:
      return true;
    default:
      return IsCharacterType();
  }
}

std::string TFldData::GetCharacterSet() const {
  if (!IsCharacterType()) return std::string();
  if (!CharacterSet.empty()) return CharacterSet;
  if (TFldData* base = GetDomainField(); base && !base->CharacterSet.empty())
    return base->CharacterSet;
  if (GetServerType() == srvInterBase)
    if (TIBServerOptions* opts = GetServerOptions()) return opts->DBCharSet.str();
  return std::string();
}

std::string TFldData::GetDefaultText() const {
  const std::string& v = DefaultValue;
  if (v.size() >= 2 && v.front() == '"' && v.back() == '"')
    return QuoteLiteral(v.substr(1, v.size() - 2), srvNone);
  return v;
}

bool TFldData::SameDimensions(const TFldData& other) const {
  return Dimensions == other.Dimensions;
}

std::string TFldData::GetDisplayName() { return Name; }

// ---------------------------------------------------------------------------
// Copying

std::string TFldData::GetDefaultClause() const {
  return (DefaultKeyword.empty() ? std::string("DEFAULT ") : DefaultKeyword) + GetDefaultText();
}

void TFldData::AssignType(const TFldData& s) {
  DataType = s.DataType;
  StorageType = s.StorageType;
  ByteLength = s.ByteLength;
  Length = s.Length;
  Precision = s.Precision;
  Scale = s.Scale;
  DomainName = s.DomainName;
  CharacterSet = s.CharacterSet;
  Collation = s.Collation;
  SubType = s.SubType;
  SegmentSize = s.SegmentSize;
  TypeOf = s.TypeOf;
  TypeOfTable = s.TypeOfTable;
  TypeOfColumn = s.TypeOfColumn;
  SetBody(s.Body);
}

void TFldData::Assign(const TFldData& s) {
  if (&s == this) return;
  SetName(s.Name);
  SetDescription(s.Description);
  AssignType(s);
  DefaultValue = s.DefaultValue;
  DefaultKeyword = s.DefaultKeyword;
  Nullable = s.Nullable;
  Unsigned = s.Unsigned;
  Zerofill = s.Zerofill;
  Binary = s.Binary;
  AutoIncrement = s.AutoIncrement;
  SameDefinition = s.SameDefinition;
  DomainSchema = s.DomainSchema;
  TableName = s.TableName;
  CheckExpression = s.CheckExpression;
  CheckName = s.CheckName;
  Dimensions = s.Dimensions;
  Direction = s.Direction;
  ByValue = s.ByValue;
  ByDescriptor = s.ByDescriptor;
  ParameterNumber = s.ParameterNumber;
  Deterministic = s.Deterministic;
  SortOrder = s.SortOrder;
  EnumValues = s.EnumValues;
  Identity = s.Identity;
  IdentitySeed = s.IdentitySeed;
  IdentityIncrement = s.IdentityIncrement;
  if (s.IdentityGenerator && GetIdentityGenerator()) {
    TGnrData& g = *IdentityGenerator;
    const TGnrData& sg = *s.IdentityGenerator;
    g.MaxValue = sg.MaxValue;
    g.Cache = sg.Cache;
    g.NoCache = sg.NoCache;
    g.MinValue = sg.MinValue;
    g.StartWith = sg.StartWith;
    g.IncrementBy = sg.IncrementBy;
    g.NoMaxValue = sg.NoMaxValue;
    g.Order = sg.Order;
    g.Cycle = sg.Cycle;
  }
  Db2Generated = s.Db2Generated;
  Db2GeneratedExpression = s.Db2GeneratedExpression;
  NotForReplication = s.NotForReplication;
  RowGuidCol = s.RowGuidCol;
  BoundRule = s.BoundRule;
  Persisted = s.Persisted;
  XmlSchemaCollection = s.XmlSchemaCollection;
  Ref = s.Ref;
  WithTimeZone = s.WithTimeZone;
  WithLocalTimeZone = s.WithLocalTimeZone;
  KeyName = s.KeyName;
  Invisible = s.Invisible;
  if (s.TableType) {
    // A table type is copied column by column.
    auto tt = std::make_unique<TTblData>(Objs);
    tt->SetName(s.TableType->Name);
    tt->Schema = s.TableType->Schema;
    for (const auto& e : s.TableType->Fields) {
      if (!e.Obj) continue;
      auto f = std::make_unique<TFldData>(Objs, tt.get());
      f->Assign(*e.Obj);
      tt->AddField(std::move(f));
    }
    TableType = std::move(tt);
  } else {
    TableType.reset();
  }
  Db2Logged = s.Db2Logged;
  Db2Compact = s.Db2Compact;
  ForBitData = s.ForBitData;
  JavaType = s.JavaType;
  JavaClass = s.JavaClass;
}

// ---------------------------------------------------------------------------
// Type text

std::string TFldData::GetTypeText() { return GetTypeTextFor(GetServerType()); }

std::string TFldData::GetTypeTextFor(TServerType st) {
  if (ParameterNumber != 0) return "PARAMETER " + std::to_string(ParameterNumber);
  if (st == srvMySQL) return MySQLTypeText();
  if (DataType == dtDomain) {
    std::string s = TypeOf ? "TYPE OF " : "";
    if (!TypeOfTable.empty() && !TypeOfColumn.empty())
      return s + "COLUMN " + QuoteName(TypeOfTable) + "." + QuoteName(TypeOfColumn);
    return s + QuoteName(DomainName);
  }
  if (IsComputed()) return (st == srvMSSQL ? "AS " : "COMPUTED BY ") + Body;

  TIBServerOptions* ib = st == srvInterBase ? GetServerOptions() : nullptr;
  const TIBSQLServerVersionType version = ib ? ib->SQLServerVersion : st_Firebird_25;
  const int dialect = ib ? ib->SQLDialect : 3;

  std::string s = DataTypeName(DataType);
  if (st == srvPostgreSQL) {
    s = LowerAscii(s);
    if (DataType == dtTimeTZ || DataType == dtTimestampTZ) {
      if (Precision != 0) s += Paren(Precision);
      s += " with time zone";
    }
  }

  if (st == srvInterBase) {
    if (DataType == dtBigInt && version == st_InterBase_2020) s = "INTEGER";
    // SQL dialect 1 knows only DATE, which holds both date and time.
    if ((DataType == dtTime || DataType == dtTimestamp) && dialect != 3) s = "DATE";
    if ((DataType == dtChar || DataType == dtNChar) && Length > 1) s += Paren(Length);
    if (IsOneOf(DataType, {dtVarchar, dtNVarchar, dtCString}) && Length >= 1) s += Paren(Length);
    if (version == st_Firebird_40) {
      if (DataType == dtBinary || DataType == dtVarBinary) s += Paren(Length);
      if ((DataType == dtTime || DataType == dtTimestamp) && WithTimeZone && dialect == 3)
        s += " WITH TIME ZONE";
    }
    if (!Dimensions.empty()) {
      s += " [";
      for (size_t i = 0; i < Dimensions.size(); ++i) {
        if (i) s += ", ";
        s += std::to_string(Dimensions[i].Lower) + ":" + std::to_string(Dimensions[i].Upper);
      }
      s += "]";
    }
  } else if (IsOneOf(DataType, {dtVarchar, dtChar, dtVarchar2, dtBinary, dtNChar, dtNVarchar,
                                dtCString, dtVarBinary})) {
    if (Length > 1)
      s += Paren(Length);
    else if (Length == -1)
      s += "(MAX)";
  }

  if (DataType == dtBlob) {
    if (SubType != 0) s += " SUB_TYPE " + std::to_string(SubType);
    if (SegmentSize != 0 && SegmentSize != 80 && !(Owner && Owner->ObjType == dboFunction))
      s += " SEGMENT SIZE " + std::to_string(SegmentSize);
  }
  if (IsOneOf(DataType, {dtNumber, dtNumeric, dtDecimal})) s += PrecisionScale(Precision, Scale);
  if (DataType == dtDecFloat && Precision != 0 && Precision != 34) s += Paren(Precision);
  return s;
}

// ---------------------------------------------------------------------------
// Column definition

std::string TFldData::GetCreateSQL() {
  const TServerType st = GetServerType();
  const bool external = IsExternalRoutineParameter();
  std::string s;
  if (external && !DirectionWord(Direction).empty()) s = DirectionWord(Direction) + " ";
  if (!Name.empty()) s += (st == srvMSSQL && OwnerIsProcedure() ? Name : GetQualifiedName()) + " ";

  switch (st) {
    case srvInterBase:
      s += BodyInterBase();
      break;
    case srvASA:
      s += BodyASA();
      break;
    case srvMySQL:
      s += BodyMySQL();
      break;
    case srvOracle:
      s += BodyOracle();
      break;
    case srvMSSQL:
      s += BodyMSSQL();
      break;
    case srvPostgreSQL:
      s += BodyPostgreSQL();
      break;
    case srvDB2:
      s += BodyDB2();
      break;
    case srvASE:
      s += BodyASE();
      break;
    default:
      s += GetTypeTextFor(st);
      break;
  }

  if (st == srvASE && !external && !DirectionWord(Direction).empty())
    s += " " + DirectionWord(Direction);
  return s;
}

std::string TFldData::BodyInterBase() {
  std::string s = GetTypeTextFor(srvInterBase);
  if (ParameterNumber != 0) return s;
  if (ByDescriptor) s += " BY DESCRIPTOR";
  if (ByValue) s += " BY VALUE";

  TIBServerOptions* opts = GetServerOptions();
  const TIBSQLServerVersionType version = opts ? opts->SQLServerVersion : st_Firebird_25;
  const std::string dbCharset = opts ? opts->DBCharSet.str() : std::string();
  // A table column keeps the character set and collation it was declared
  // with, whether or not the comparison looks at them: created without them
  // it would take the database's default. A routine's header is compared as
  // its text, so its parameters name them only when they are compared.
  const bool charsets = OwnerIsTable() || (opts && opts->IBCompareOptions->FldCharsetCompare);

  if (!CharacterSet.empty() && DataType != dtDomain && !IsComputed() && charsets &&
      (CharacterSet != dbCharset || !Collation.empty()))
    s += " CHARACTER SET " + CharacterSet;
  // Identity columns exist from Firebird 3.0 on (InterBase has none).
  if (Identity && (version == st_Firebird_30 || version == st_Firebird_40)) {
    s += " GENERATED BY DEFAULT AS IDENTITY";
    // The options are fixed when the column is created (a later RESTART does
    // not change them), so they are part of the definition. Firebird 3 knows
    // only the start value.
    std::string options;
    if (IdentitySeed != 0) options = "START WITH " + std::to_string(IdentitySeed);
    if (version == st_Firebird_40 && IdentityIncrement != 0 && IdentityIncrement != 1)
      options += (options.empty() ? "" : " ") + std::string("INCREMENT BY ") +
                 std::to_string(IdentityIncrement);
    if (!options.empty()) s += " (" + options + ")";
  }

  if (!DefaultValue.empty()) {
    const std::string def = GetDefaultText();
    bool write = true;
    if (OwnerIsProcedure()) {
      // Parameter defaults are known to these servers only.
      write = version == st_InterBase_7x || version == st_InterBase_75 ||
              version == st_Firebird_25 || version == st_Firebird_30 || version == st_Firebird_40 ||
              version == st_InterBase_2020;
    }
    // A domain-typed column writes the default it has itself: the parser
    // keeps a column default only where it differs from the domain's, and
    // the server keeps the two apart.
    if (write) {
      if (OwnerIsProcedure()) {
        if (Direction != pdOut) s += " = " + def;
      } else {
        s += " " + GetDefaultClause();
      }
    }
  }
  if (!Nullable && !Identity) s += " NOT NULL";
  if (!CheckExpression.empty()) s += " CHECK" + CheckExpression;
  if (!Collation.empty() && charsets) s += " COLLATE " + Collation;
  return s;
}

std::string TFldData::BodyASA() {
  std::string s;
  if (!DomainName.empty()) {
    s = QuoteName(DomainName);
  } else {
    s = DataTypeName(DataType);
    if (IsOneOf(DataType, {dtVarchar, dtChar, dtBinary, dtNChar, dtNVarchar, dtVarBinary}) &&
        Length >= 2)
      s += Paren(Length);
  }
  if (!DefaultValue.empty()) s += (OwnerIsProcedure() ? " = " : " DEFAULT ") + GetDefaultText();
  if (Direction == pdOut) s += " OUTPUT";
  if (!Collation.empty()) s += " COLLATE " + Collation;
  if (Identity)
    s += " IDENTITY (" + std::to_string(IdentitySeed) + ", " + std::to_string(IdentityIncrement) +
         ")";
  if (RowGuidCol) s += " ROWGUIDCOL";
  if (!OwnerIsProcedure()) s += Nullable ? " NULL" : " NOT NULL";
  return s;
}

std::string TFldData::MySQLTypeText() {
  std::string s = DataType == dtDomain ? DomainName : DataTypeName(DataType);
  if (IsOneOf(DataType, {dtChar, dtVarchar, dtBinary, dtNationalChar, dtVarBinary})) {
    if (Length != 0) s += Paren(Length);
  } else if (IsOneOf(DataType, {dtFloat, dtDouble, dtNumeric, dtDecimal})) {
    s += PrecisionScale(Precision, Scale);
  } else if (DataType == dtEnum || DataType == dtSet) {
    s += "(";
    for (size_t i = 0; i < EnumValues.size(); ++i) {
      if (i) s += ", ";
      s += EnumValues[i];
    }
    s += ")";
  } else if (Precision != 0) {
    s += Paren(Precision);
  }
  if (Unsigned) s += " UNSIGNED";
  if (Zerofill) s += " ZEROFILL";
  if (Binary) s += " BINARY";
  if (!CharacterSet.empty()) s += " CHARACTER SET " + CharacterSet;
  if (!Collation.empty()) s += " COLLATE " + Collation;
  return s;
}

std::string TFldData::BodyMySQL() {
  std::string s = MySQLTypeText();
  if (IsComputed()) {
    // A generated column has no default and no NOT NULL of its own.
    s += " GENERATED ALWAYS AS " + Body + (Persisted ? " STORED" : " VIRTUAL");
    if (Invisible) s += " INVISIBLE";
    if (!Description.empty()) s += " COMMENT " + QuoteLiteral(Description, srvMySQL);
    return s;
  }
  if (!Nullable) s += " NOT NULL";
  if (!DefaultValue.empty()) {
    std::string def = GetDefaultText();
    if (def.size() >= 2 && def.front() == '\'' && def.back() == '\'')
      def = QuoteLiteral(UnquoteMySQL(def), srvMySQL);
    // A column that is only updated automatically has no DEFAULT word.
    s += (def.rfind("ON UPDATE ", 0) == 0 ? " " : " DEFAULT ") + def;
  }
  if (AutoIncrement && !AutoIncrementHeld) s += " AUTO_INCREMENT";
  if (Invisible) s += " INVISIBLE";
  if (!CheckExpression.empty()) s += " CHECK " + CheckExpression;
  // MySQL keeps a column's comment in its definition.
  if (!Description.empty() && OwnerIsTable()) s += " COMMENT " + QuoteLiteral(Description, srvMySQL);
  return s;
}

std::string TFldData::BodyOracle() {
  std::string s = Ref ? "REF " : "";
  if (!DomainName.empty())
    s += DomainName;
  else if (DataType != dtUnknown)
    s += DataTypeName(DataType);

  if (IsOneOf(DataType, {dtChar, dtVarchar, dtVarchar2, dtNChar, dtNVarchar, dtNVarchar2, dtRaw})) {
    s += Paren(Length);
  } else if (DataType == dtIntervalYearToMonth && Precision != 0) {
    s = std::string(Ref ? "REF " : "") + "INTERVAL YEAR" + Paren(Precision) + " TO MONTH";
  } else if (DataType == dtIntervalDayToSecond && (Precision != 0 || Scale != 0)) {
    s = std::string(Ref ? "REF " : "") + "INTERVAL DAY";
    if (Precision != 0) s += Paren(Precision);
    s += " TO SECOND";
    if (Scale != 0) s += Paren(Scale);
  } else if (IsOneOf(DataType, {dtFloat, dtNumber, dtNumeric, dtDecimal, dtURowId})) {
    s += PrecisionScale(Precision, Scale);
  } else if (DataType == dtTimestamp) {
    if (Precision != 0) s += Paren(Precision);
    if (WithTimeZone)
      s += " WITH TIME ZONE";
    else if (WithLocalTimeZone)
      s += " WITH LOCAL TIME ZONE";
  }
  if (!DefaultValue.empty()) {
    if (!s.empty()) s += " ";
    s += "DEFAULT " + GetDefaultText();
  }
  if (!Nullable) s += " NOT NULL";
  return s;
}

std::string TFldData::BodyMSSQL() {
  std::string s;
  if (DataType == dtDomain) {
    if (!DomainSchema.empty()) s = QuoteName(DomainSchema) + ".";
    s += QuoteName(DomainName);
  } else if (IsComputed()) {
    s = "AS " + Body;
    if (Persisted) s += " PERSISTED";
  } else if (DataType == dtXml) {
    s = "XML";
    if (!XmlSchemaCollection.empty()) s += " " + XmlSchemaCollection;
  } else if (DataType == dtTable) {
    return TableType ? TableType->GetTableText() : std::string("TABLE");
  } else {
    s = DataTypeName(DataType);
    if (IsOneOf(DataType, {dtVarchar, dtChar, dtBinary, dtNChar, dtNVarchar, dtVarBinary})) {
      if (Length > 0)
        s += Paren(Length);
      else if (Length == -1)
        s += "(MAX)";
    } else if (IsOneOf(DataType, {dtTime, dtDateTime2, dtDateTimeOffset})) {
      // 7 is the server's default fractional precision; 0 must be said.
      if (!(Precision == 7 && Scale == 0))
        s += Precision == 0 && Scale == 0 ? "(0)" : PrecisionScale(Precision, Scale);
    } else if (IsOneOf(DataType, {dtFloat, dtNumeric, dtDecimal})) {
      // Without a precision the server's default applies; "(0)" would be invalid.
      s += PrecisionScale(Precision, Scale);
    }
  }
  if (!DefaultValue.empty()) s += (OwnerIsProcedure() ? " = " : " DEFAULT ") + GetDefaultText();
  if (Direction == pdOut) s += " OUTPUT";
  if (!Collation.empty() && !(Owner && Owner->ObjType == dboDomain)) s += " COLLATE " + Collation;
  if (Identity) {
    s += " IDENTITY";
    if (IdentityIncrement != 0)
      s += " (" + std::to_string(IdentitySeed) + ", " + std::to_string(IdentityIncrement) + ")";
  }
  if (RowGuidCol) s += " ROWGUIDCOL";
  if (!IsComputed() && !OwnerIsProcedure()) s += Nullable ? " NULL" : " NOT NULL";
  return s;
}

std::string TFldData::BodyPostgreSQL() {
  std::string s;
  if (DataType == dtDomain) {
    if (TDmnData* dmn = FindDomain())
      s = dmn->GetQualifiedName();
    else
      s = (DomainSchema.empty() ? std::string() : QuoteName(DomainSchema) + ".") +
          QuoteName(DomainName);
  } else {
    s = LowerAscii(DataTypeName(DataType));
    if ((DataType == dtVarchar || DataType == dtChar) && Length != 0) s += Paren(Length);
    if (DataType == dtNumeric || DataType == dtDecimal) s += PrecisionScale(Precision, Scale);
    if (DataType == dtTimeTZ || DataType == dtTimestampTZ) s += " with time zone";
    if (!CharacterSet.empty()) s += " character set " + CharacterSet;
    if (!Collation.empty()) s += " collate " + Collation;
  }
  for (const TDimension& d : Dimensions)
    s += "[" + (d.Upper != 0 ? std::to_string(d.Upper) : "") + "]";
  if (!Nullable) s += " not null";
  if (!DefaultValue.empty()) s += " default " + GetDefaultText();
  if (!CheckExpression.empty()) {
    // An unnamed check has no CONSTRAINT keyword: "CONSTRAINT CHECK" does not parse.
    if (!CheckName.empty()) s += " CONSTRAINT " + QuoteName(CheckName);
    s += " CHECK" + CheckExpression;
  }
  return s;
}

std::string TFldData::BodyDB2() {
  std::string s = !DomainName.empty() ? DomainName : DataTypeName(DataType);
  if (IsOneOf(DataType, {dtVarchar, dtChar, dtClob, dtDbClob, dtBinary}) && Length > 0)
    s += Paren(Length);
  if ((DataType == dtNumeric || DataType == dtDecimal) && Precision != 0)
    s += "(" + std::to_string(Precision) + "," + std::to_string(Scale) + ")";
  if (ForBitData) s += " FOR BIT DATA";
  if (Db2Logged == 0)
    s += " NOT LOGGED";
  else if (Db2Logged == 1)
    s += " LOGGED";
  if (Db2Compact == 0)
    s += " NOT COMPACT";
  else if (Db2Compact == 1)
    s += " COMPACT";
  if (!Nullable) s += " NOT NULL";
  if (Db2Generated == 'A' || Db2Generated == 'D') {
    s += std::string(" GENERATED ") + (Db2Generated == 'A' ? "ALWAYS " : "BY DEFAULT ");
    if (Identity)
      s += "AS IDENTITY" +
           (GetIdentityGenerator() ? IdentityGenerator->GetIdentityOptions() : std::string());
    else
      s += "AS(" + Db2GeneratedExpression + ")";
  }
  if (!DefaultValue.empty()) s += " WITH DEFAULT " + GetDefaultText();
  return s;
}

std::string TFldData::BodyASE() {
  std::string s;
  if (JavaType) {
    s = "java.lang." + JavaClass + PrecisionScale(Precision, Scale);
  } else if (DataType == dtDomain) {
    s = QuoteName(DomainName);
  } else if (IsComputed()) {
    return "AS " + Body;
  } else if (DataType == dtTable) {
    return TableType ? TableType->GetTableText() : std::string("TABLE");
  } else {
    s = DataTypeName(DataType);
    if (IsOneOf(DataType, {dtVarchar, dtChar, dtBinary, dtNChar, dtNVarchar, dtVarBinary})) {
      if (Length > 0)
        s += Paren(Length);
      else if (Length == -1)
        s += "(MAX)";
    } else if (IsOneOf(DataType, {dtFloat, dtNumeric, dtDecimal})) {
      s += PrecisionScale(Precision, Scale);
    }
  }
  if (!DefaultValue.empty()) s += (OwnerIsProcedure() ? " = " : " DEFAULT ") + GetDefaultText();
  if (!Collation.empty()) s += " COLLATE " + Collation;
  if (Identity) s += " IDENTITY";
  if (!OwnerIsProcedure()) s += Nullable ? " NULL" : " NOT NULL";
  return s;
}

// ---------------------------------------------------------------------------
// ALTER TABLE texts

std::string TFldData::GetAlterTableName() {
  if (!Owner) return QuoteName(TableName);
  switch (GetServerType()) {
    case srvASA:
      // owner.table; a table without an owner belongs to DBA.
      return Owner->GetQualifiedName();
    case srvOracle:
    case srvMSSQL:
    case srvPostgreSQL:
      if (!Owner->Schema.empty()) return QuoteName(Owner->Schema) + "." + QuoteName(Owner->Name);
      return QuoteName(Owner->Name);
    default:
      return QuoteName(Owner->Name);
  }
}

std::string TFldData::GetCreateScript() {
  std::string s = "ALTER TABLE " + GetAlterTableName() + " ADD " + GetCreateSQL();
  const TServerType st = GetServerType();
  if (st == srvMySQL) {
    // MySQL adds a column last unless told otherwise: one that goes before
    // columns already there is placed after the nearest column before it
    // that is there, or first, so the columns come in the table's order.
    auto* table = Owner ? Owner->As<TTblData>() : nullptr;
    const int at = table ? table->Fields.IndexOf(Name) : -1;
    auto exists = [table](int i) {
      TFldData* f = table->Fields[i];
      return f && f->GetExists();
    };
    bool beforeExisting = false;
    for (int i = at + 1; at >= 0 && i < table->Fields.Count() && !beforeExisting; ++i)
      beforeExisting = exists(i);
    if (beforeExisting) {
      int before = at - 1;
      while (before >= 0 && !exists(before)) --before;
      s += before < 0 ? std::string(" FIRST") : " AFTER " + QuoteName(table->Fields.Names(before));
    }
  }
  if (st == srvMSSQL && !Nullable) {
    // A NOT NULL column can only be added with its default in the same statement.
    for (auto& r : UseInList) {
      auto* ctr = r->Obj ? r->Obj->As<TCtrData>() : nullptr;
      if (!IsDefaultOfColumn(ctr, Name)) continue;
      const std::string text = ctr->GetInlineSQL(true);
      if (text.empty()) continue;
      s += " " + text;
      ctr->SetExists(true);
    }
  }
  return s;
}

std::string TFldData::GetDropSQL() {
  switch (GetServerType()) {
    case srvMSSQL:
      return "ALTER TABLE " + (Owner ? Owner->GetQualifiedName() : QuoteName(TableName)) +
             " DROP COLUMN " + QuoteName(Name);
    case srvASA:
      if (Owner) return "ALTER TABLE " + Owner->GetQualifiedName() + " DROP " + QuoteName(Name);
      return "ALTER TABLE " + QuoteName(TableName) + " DROP " + QuoteName(Name);
    case srvOracle:
      return "ALTER TABLE " + QuoteName(TableName) + " DROP (" + QuoteName(Name) + ")";
    default:
      return "ALTER TABLE " + QuoteName(TableName) + " DROP " + QuoteName(Name);
  }
}

// ---------------------------------------------------------------------------
// Dependency walks

void TFldData::CreateDependencies() {
  // What is recorded on the column's own table comes with the table.
  for (auto& r : UseOfList)
    if (r->Obj && r->Obj->Name == TableName) r->Pending = false;
  TDbObj::CreateDependencies();
  if (DataType == dtDomain) {
    if (TObjs* master = MasterObjs()) {
      TDmnData* dmn = master->FindDomain(QualifyName(DomainSchema, DomainName));
      if (!dmn && !DomainSchema.empty()) dmn = master->FindDomain(DomainName);
      if (dmn && !dmn->GetExists()) dmn->CreateDependDef();
    }
  }
  if (IsComputed()) {
    for (size_t i = 0; i < UseOfList.size(); ++i) {
      TDependObj* r = UseOfList[i].get();
      if (!r->Pending || !r->Obj || !r->Obj->As<TUdfData>()) continue;
      r->Obj->CreateDependDef();
      r->Pending = false;
    }
  }
}

void TFldData::AppendCreateDescriptions(TCustomSQLExec& exec) {
  // A MySQL column carries its comment in the definition it was created with.
  if (GetServerType() == srvMySQL) return;
  if (IsColumn() && !Description.empty()) exec.AddDescription(this);
}

bool TFldData::ReleaseUse(TDbObj& used) {
  if (!used.IsView() || !IsComputedColumn()) return false;
  DropDependDef();
  return true;
}

void TFldData::ProvideFor(TDbObj& user, TDependObj& r) {
  if (GetExists() || !IsColumn()) return;
  // A table's own column comes with the table; tested first, so a table
  // never adds its own column ahead of its CREATE.
  if (user.IsTable() && TableName == user.Name) {
    r.Pending = false;
    return;
  }
  if (GetOwnerTable()) {  // a missing column of another table
    CreateDependDef();
    r.Pending = false;
  }
}

void TFldData::DropDependents() {
  TCustomSQLExec* exec = GetSQLExec();
  auto comment = [&](const std::string& text) {
    if (exec) exec->AddComment(MakeComment(text));
  };
  const std::string self = TableName + "(" + Name + ")";

  // What is recorded on the column's own table is not a user of the column.
  for (auto& r : UseInList)
    if (r->Name == TableName) r->Pending = false;

  for (size_t i = 0; i < UseInList.size(); ++i) {
    TDependObj* r = UseInList[i].get();
    TDbObj* u = r->Obj;
    if (!r->Pending || !u) continue;
    if (auto* prc = u->As<TPrcData>()) {
      if (!SameNormalizedText(prc->Body, prc->GetStubBody())) {
        comment("Empty " + prc->Name + " for drop " + self);
        prc->EmptyBody(true);
      }
      r->Pending = false;
    } else if (auto* col = u->As<TFldData>(); col && col->IsComputed()) {
      comment("Drop " + col->TableName + "(" + col->Name + ") for drop " + self);
      col->DropDependDef();
      r->Pending = false;
    } else if (u->As<TIdxData>() || u->As<TCtrData>() || u->ObjType == dboPublication) {
      u->DropDependDef();
      r->Pending = false;
    }
  }

  // Views that read the table go with any of its columns. They are found
  // through the table's users rather than by walking every view; once a
  // view's records on the table are cleared they stay cleared, so the
  // table's record of that view is cleared too and later column drops of the
  // same table pass it by.
  TObjs* target = TargetObjs();
  TTblData* table = GetOwnerTable();
  if (target && (!table || table->Objs != target)) table = target->FindTable(TableName);
  if (table) {
    for (size_t i = 0; i < table->UseInList.size(); ++i) {
      TDependObj* tr = table->UseInList[i].get();
      auto* viw = tr->Obj && tr->Pending ? tr->Obj->As<TViwData>() : nullptr;
      if (!viw) continue;
      bool pending = false;
      for (auto& vr : viw->UseOfList)
        if (vr->Pending && vr->Name == TableName) {
          vr->Pending = false;
          pending = true;
        }
      tr->Pending = false;
      if (pending) viw->DropDependDef();
    }
  }

  TDbObj::DropDependents();
}

void TFldData::MarkDropped() {
  TDbObj::MarkDropped();
  if (TTblData* table = GetOwnerTable()) table->SetChanged(true);
}
