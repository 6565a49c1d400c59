#include "kinds/kvtCompColumnAlter.h"

#include <algorithm>
#include <string>
#include <unordered_set>
#include <vector>

#include "core/kvtCompareContext.h"
#include "core/kvtDBOptions.h"
#include "core/kvtDBStructure.h"
#include "kinds/kvtCompColumn.h"
#include "kinds/kvtComp_Ctr.h"
#include "kinds/kvtComp_Idx.h"
#include "kinds/kvtComp_Prc.h"
#include "kinds/kvtComp_Tbl.h"
#include "kinds/kvtComp_Trg.h"
#include "kinds/kvtComp_Viw.h"
#include "kinds/kvtPhaseHeader.h"
#include "kinds/kvtScoped.h"
#include "script/kvtSQL_Exec.h"

namespace {

// ---------------------------------------------------------------------------
// Type families: what a value of one type needs from another to fit.

enum class TFamily { Integer, Exact, Approx, String, Blob, Date, Time, Timestamp, Boolean, Other };

struct TTypeInfo {
  TFamily Family = TFamily::Other;
  int Digits = 0;  // Integer/Exact: digits before the point the type always holds
  int Scale = 0;   // Exact: digits after the point
  int Size = 0;    // Approx: bytes; String: characters (-1 = unbounded)
  int SubType = 0; // Blob sub-type
  uint8_t Code = 0;
};

// Digits of the largest value of an integer type (what it needs to be held)
// and digits it always holds (what it can hold).
int IntegerDigitsNeeded(uint8_t code) {
  switch (code) {
    case dtTinyInt: return 3;
    case dtSmallInt: case dtInt2: return 5;
    case dtMediumInt: return 8;
    case dtInteger: case dtInt4: return 10;
    default: return 19;  // BIGINT, INT8
  }
}
int IntegerDigitsHeld(uint8_t code) { return IntegerDigitsNeeded(code) - 1; }

// Characters the text of any value of the type needs.
int TextLengthNeeded(const TTypeInfo& t) {
  switch (t.Family) {
    case TFamily::Integer: return t.Digits + 1;
    case TFamily::Exact: return t.Digits + t.Scale + 2;
    case TFamily::Approx: return t.Size == 4 ? 15 : 23;
    case TFamily::Date: return 11;
    case TFamily::Time: return 13;
    case TFamily::Timestamp: return 24;
    case TFamily::Boolean: return 5;
    case TFamily::String: return t.Size;
    default: return -1;  // unbounded
  }
}

TTypeInfo InfoOf(const TFldData& f) {
  TTypeInfo i;
  i.Code = f.DataType;
  switch (f.DataType) {
    case dtSmallInt: case dtInteger: case dtBigInt: case dtTinyInt: case dtMediumInt:
    case dtInt2: case dtInt4: case dtInt8:
      i.Family = TFamily::Integer;
      i.Digits = IntegerDigitsNeeded(f.DataType);
      break;
    case dtNumeric: case dtDecimal: case dtNumber: {
      i.Family = TFamily::Exact;
      // Without a precision the server's widest exact type is meant.
      const int p = f.Precision > 0 ? f.Precision : (f.DataType == dtNumber ? 38 : 18);
      i.Scale = std::max(0, f.Scale);
      i.Digits = std::max(0, p - i.Scale);
      break;
    }
    case dtFloat: case dtReal: case dtFloat4:
      i.Family = TFamily::Approx;
      i.Size = 4;
      break;
    case dtDoublePrecision: case dtDouble: case dtFloat8:
      i.Family = TFamily::Approx;
      i.Size = 8;
      break;
    case dtVarchar: case dtChar: case dtCString: case dtNChar: case dtNVarchar: case dtVarchar2:
    case dtNVarchar2: case dtNationalChar:
      i.Family = TFamily::String;
      i.Size = f.Length < 0 ? -1 : std::max(1, f.Length);
      break;
    case dtText: case dtNText: case dtClob: case dtNClob: case dtLongVarchar: case dtTinyText:
    case dtMediumText: case dtLongText: case dtLong:
      i.Family = TFamily::String;
      i.Size = -1;
      break;
    case dtBlob: case dtImage: case dtTinyBlob: case dtMediumBlob: case dtLongBlob:
      i.Family = TFamily::Blob;
      i.SubType = f.SubType;
      break;
    case dtDate: i.Family = TFamily::Date; break;
    case dtTime: case dtTimeTZ: i.Family = TFamily::Time; break;
    case dtTimestamp: case dtTimestampTZ: case dtDateTime: case dtDateTime2: case dtSmallDateTime:
    case dtDateTimeOffset:
      i.Family = TFamily::Timestamp;
      break;
    case dtBoolean: i.Family = TFamily::Boolean; break;
    default: break;
  }
  return i;
}

// Whether every value of type `from` fits into type `to`.
bool Holds(const TTypeInfo& to, const TTypeInfo& from) {
  switch (to.Family) {
    case TFamily::Integer:
      if (from.Family == TFamily::Integer) return IntegerDigitsHeld(to.Code) >= from.Digits - 1;
      if (from.Family == TFamily::Exact) return from.Scale == 0 && IntegerDigitsHeld(to.Code) >= from.Digits;
      return false;
    case TFamily::Exact:
      if (from.Family == TFamily::Integer) return to.Digits >= from.Digits;
      if (from.Family == TFamily::Exact) return to.Digits >= from.Digits && to.Scale >= from.Scale;
      return false;
    case TFamily::Approx:
      if (from.Family == TFamily::Approx) return to.Size >= from.Size;
      // A double keeps 15 significant digits, a float 6.
      if (from.Family == TFamily::Integer || from.Family == TFamily::Exact)
        return from.Digits + from.Scale <= (to.Size == 8 ? 15 : 6);
      return false;
    case TFamily::String: {
      if (to.Size < 0) return from.Family != TFamily::Blob && from.Family != TFamily::Other;
      const int need = TextLengthNeeded(from);
      return need >= 0 && need <= to.Size;
    }
    case TFamily::Blob:
      if (from.Family == TFamily::Blob) return to.SubType == from.SubType;
      // Text goes into a text blob.
      return from.Family == TFamily::String && to.SubType == 1;
    case TFamily::Date:
      return from.Family == TFamily::Date;
    case TFamily::Time:
      return from.Family == TFamily::Time;
    case TFamily::Timestamp:
      return from.Family == TFamily::Timestamp || from.Family == TFamily::Date;
    case TFamily::Boolean:
      return from.Family == TFamily::Boolean;
    case TFamily::Other:
      return to.Code == from.Code;
  }
  return false;
}

// A target column that went and whose master counterpart was added again is
// no longer the user of what it read: later drops of those objects must not
// take the new column with them.
void ForgetUses(TDbObj& gone) {
  for (auto& r : gone.UseOfList) {
    r->Pending = false;
    if (!r->Obj) continue;
    for (auto& back : r->Obj->UseInList)
      if (back->Obj == &gone) back->Pending = false;
  }
}

bool IsOneOf(uint8_t code, std::initializer_list<uint8_t> codes) {
  return std::find(codes.begin(), codes.end(), code) != codes.end();
}

// The column whose type counts: a domain-typed column's base column when the
// domain is known, else the column itself.
TFldData& TypeBase(TFldData& f) {
  if (f.IsDomainTyped())
    if (TFldData* base = f.GetDomainField()) return *base;
  return f;
}

// Why converting table.column from one type to another can go wrong.
std::string ConversionRiskText(const std::string& table, const std::string& column,
                               const std::string& from, const std::string& to) {
  return "it converts " + table + "." + column + " from " + from + " to " + to +
         ", which can fail or lose data on existing rows";
}

// A name inside a string literal of a system-table statement.
std::string Lit(const std::string& name) { return QuoteLiteral(name, srvInterBase); }

bool IsFirebird3OrLater(TIBSQLServerVersionType v) {
  return v == st_Firebird_30 || v == st_Firebird_40;
}
bool IsOldInterBase(TIBSQLServerVersionType v) {
  return v == st_InterBase_4x || v == st_InterBase_5x;
}
// ALTER COLUMN ... SET DEFAULT / DROP DEFAULT exist from Firebird 2.0 on.
bool HasAlterDefault(TIBSQLServerVersionType v) {
  return v == st_Firebird_20 || v == st_Firebird_21 || v == st_Firebird_25 ||
         IsFirebird3OrLater(v);
}

}  // namespace

// ---------------------------------------------------------------------------
// Type comparisons

int CompareTypes(TFldData& master, TFldData& target) {
  TFldData* m = &master;
  TFldData* t = &target;
  if (m->IsDomainTyped() && !(m = m->GetDomainField())) return 1;
  if (t->IsDomainTyped() && !(t = t->GetDomainField())) return 1;
  if (!m->SameDimensions(*t)) return -1;
  const TTypeInfo mi = InfoOf(*m);
  const TTypeInfo ti = InfoOf(*t);
  const bool up = Holds(mi, ti);
  const bool down = Holds(ti, mi);
  if (up && down) return mi.Code == ti.Code || mi.Family == ti.Family ? 0 : 1;
  return up ? 1 : -1;
}

bool IsTypeAlterableInPlace(TFldData& to, TFldData& from) {
  if (!to.Dimensions.empty() || !from.Dimensions.empty()) return false;
  const TTypeInfo mi = InfoOf(to);
  const TTypeInfo ti = InfoOf(from);
  if (!Holds(mi, ti)) return false;
  switch (mi.Family) {
    case TFamily::Integer:
      return ti.Family == TFamily::Integer;
    case TFamily::Exact:
      return ti.Family == TFamily::Exact && mi.Scale == ti.Scale;
    case TFamily::String:
      return ti.Family == TFamily::String && to.DataType != dtCString &&
             from.DataType != dtCString;
    default:
      // Same base type (a domain swapped for another of the same type).
      return to.GetTypeText() == from.GetTypeText();
  }
}

bool CanRewriteSystemTables(const TObjs& target) {
  const TIBServerOptions* opts = target.IBServerOptions.get();
  if (!opts || IsFirebird3OrLater(opts->SQLServerVersion)) return false;
  return opts->IBCompareOptions->AllowDataTypeConversion ||
         opts->IBCompareOptions->ModifySystemTables;
}

bool IsImplicitlyConvertible(const TFldData& master, const TFldData& target) {
  const uint8_t m = master.DataType;
  if (m == target.DataType) return true;
  static const std::initializer_list<uint8_t> kToBinary = {
      dtInteger, dtBigInt, dtTinyInt, dtVarchar, dtChar, dtTimestamp, dtDateTime, dtSmallDateTime,
      dtBinary, dtNumeric, dtDecimal, dtNChar, dtNVarchar, dtSmallInt, dtBit, dtMoney,
      dtSmallMoney, dtVarBinary, dtImage, dtUniqueIdentifier, dtSqlVariant};
  static const std::initializer_list<uint8_t> kToChar = {
      dtInteger, dtBigInt, dtFloat, dtTinyInt, dtReal, dtVarchar, dtChar, dtDateTime,
      dtSmallDateTime, dtNumeric, dtDecimal, dtText, dtNChar, dtNVarchar, dtNText, dtSmallInt,
      dtBit, dtImage, dtUniqueIdentifier, dtSqlVariant};
  static const std::initializer_list<uint8_t> kToNChar = {
      dtInteger, dtBigInt, dtFloat, dtTinyInt, dtReal, dtVarchar, dtChar, dtDateTime,
      dtSmallDateTime, dtNumeric, dtDecimal, dtText, dtNChar, dtNVarchar, dtNText, dtSmallInt,
      dtBit, dtUniqueIdentifier, dtSqlVariant};
  static const std::initializer_list<uint8_t> kToInteger = {
      dtInteger, dtBigInt, dtFloat, dtTinyInt, dtReal, dtVarchar, dtChar, dtTimestamp, dtDateTime,
      dtSmallDateTime, dtBinary, dtNumeric, dtDecimal, dtNChar, dtNVarchar, dtSmallInt, dtBit,
      dtMoney, dtSmallMoney, dtVarBinary, dtSqlVariant};
  static const std::initializer_list<uint8_t> kToFloat = {
      dtInteger, dtBigInt, dtFloat, dtTinyInt, dtReal, dtVarchar, dtChar, dtDateTime,
      dtSmallDateTime, dtBinary, dtNumeric, dtDecimal, dtNChar, dtNVarchar, dtSmallInt, dtBit,
      dtMoney, dtSmallMoney, dtVarBinary, dtSqlVariant};
  static const std::initializer_list<uint8_t> kToMoney = {
      dtInteger, dtBigInt, dtFloat, dtTinyInt, dtReal, dtTimestamp, dtDateTime, dtSmallDateTime,
      dtBinary, dtNumeric, dtDecimal, dtSmallInt, dtBit, dtMoney, dtSmallMoney, dtVarBinary,
      dtSqlVariant};
  static const std::initializer_list<uint8_t> kToTimestamp = {
      dtInteger, dtBigInt, dtTinyInt, dtVarchar, dtChar, dtTimestamp, dtDateTime, dtSmallDateTime,
      dtBinary, dtNumeric, dtDecimal, dtSmallInt, dtBit, dtMoney, dtSmallMoney, dtVarBinary,
      dtImage};
  static const std::initializer_list<uint8_t> kToDateTime = {
      dtVarchar, dtChar, dtDateTime, dtSmallDateTime, dtNChar, dtNVarchar, dtSqlVariant};
  static const std::initializer_list<uint8_t> kToUniqueIdentifier = {
      dtVarchar, dtChar, dtBinary, dtNChar, dtNVarchar, dtVarBinary, dtSqlVariant};
  switch (target.DataType) {
    case dtBinary: case dtVarBinary: return IsOneOf(m, kToBinary);
    case dtVarchar: case dtChar: return IsOneOf(m, kToChar);
    case dtNChar: case dtNVarchar: return IsOneOf(m, kToNChar);
    case dtInteger: case dtBigInt: case dtTinyInt: case dtNumeric: case dtDecimal: case dtSmallInt:
    case dtBit:
      return IsOneOf(m, kToInteger);
    case dtFloat: case dtReal: return IsOneOf(m, kToFloat);
    case dtMoney: case dtSmallMoney: return IsOneOf(m, kToMoney);
    case dtTimestamp: return IsOneOf(m, kToTimestamp);
    case dtDateTime: case dtSmallDateTime: return IsOneOf(m, kToDateTime);
    case dtText: return IsOneOf(m, {dtVarchar, dtChar, dtNText});
    case dtNText: return IsOneOf(m, {dtText, dtNChar, dtNVarchar});
    case dtImage: return IsOneOf(m, {dtTimestamp, dtBinary, dtVarBinary});
    case dtUniqueIdentifier: return IsOneOf(m, kToUniqueIdentifier);
    default: return false;
  }
}

namespace {

// ---------------------------------------------------------------------------
// One column pair being altered: the statements, notes and comments it
// writes, and the dialect routines.

class TColumnAlter {
 public:
  TColumnAlter(TCompareContext& ctx, TTblData& mt, TTblData& tt, TFldData& m, TFldData& t)
      : Ctx(ctx), Exec(ctx.Exec), MT(mt), TT(tt), M(m), T(t),
        Table(m.GetAlterTableName()), Column(m.QuoteName(m.Name)) {}

  void Run();
  // InterBase/Firebird: the target column takes the master's definition,
  // its character set and collation included, through a temporary column.
  void RetypeKeepingRows() {
    DefinitionCharset = true;
    CopyThroughTemporaryColumn(CompareTypes(M, T) < 0);
  }
  bool WroteComment() const { return CommentWritten; }
  // The target's column was replaced by the master's (which then carries its
  // own description).
  bool Replaced() const { return ColumnReplaced; }

 private:
  // Statements of the column: action alter, kind dboField, parent the table.
  TStatement* Emit(const std::string& sql, uint8_t action = saAlter,
                   TStatementKind kind = skStatement) {
    TStatement* s = Exec.AddStatement(sql, kind, M.Name, dboField, action, MT.Name);
    if (s && !Risk.empty()) s->DataRisk = Risk;
    return s;
  }
  void Comment(const std::string& text) {
    Exec.AddComment(M.MakeComment(text));
    CommentWritten = true;
  }
  void Note(const std::string& label, const std::string& sql) {
    if (Ctx.ChangeNotes)
      Ctx.ChangeNotes->push_back(label + MT.Name + "(" + M.Name + ")/\r\n" + sql);
  }
  // What uses the target column goes first; the later phases create it again.
  void DropDependents() {
    TCauseScope cause(&Exec, T);
    T.DropDependents();
  }
  std::string OldType() { return T.GetTypeText(); }
  std::string NewType() { return M.GetTypeText(); }
  std::string ConversionRisk() {
    return ConversionRiskText(MT.Name, M.Name, OldType(), NewType());
  }
  std::string NotNullRisk() {
    return "it makes " + MT.Name + "." + M.Name + " NOT NULL, which fails while rows hold NULL";
  }

  // InterBase/Firebird
  TIBServerOptions& IBOptions() { return *Ctx.Target.IBServerOptions; }
  TIBSQLServerVersionType Version() { return IBOptions().SQLServerVersion; }
  bool AllowConversion() { return IBOptions().IBCompareOptions->AllowDataTypeConversion; }
  bool CharsetsCompared() { return IBOptions().IBCompareOptions->FldCharsetCompare; }
  void RunInterBase();
  void RecreateComputed();
  bool ChangeTypeInterBase();
  bool AlterableInPlace();
  void CopyThroughTemporaryColumn(bool risky);
  void RewriteTypeInSystemTables();
  void RewriteCharsetInSystemTables();
  void RewriteCollationInSystemTables();
  void AlterNullabilityInterBase();
  void AlterIdentityOptions();
  void AlterDefaultInterBase();
  std::string FieldSourceWhere();
  std::string TemporaryColumnName();

  // Other dialects
  void RunOracle();
  void RunMSSQL();
  void RunMySQL();
  void RunPostgreSQL();
  void RunASA();
  void RunASE();

  TCompareContext& Ctx;
  TCustomSQLExec& Exec;
  TTblData& MT;
  TTblData& TT;
  TFldData& M;
  TFldData& T;
  const std::string Table;
  const std::string Column;
  std::string Risk;  // DataRisk of the statements being written
  bool CommentWritten = false;
  bool ColumnReplaced = false;
  // The temporary column takes the master's character set and collation even
  // where they are not compared: the column goes over to a domain of them.
  bool DefinitionCharset = false;
};

void TColumnAlter::Run() {
  switch (Ctx.Target.ServerType) {
    case srvInterBase: RunInterBase(); break;
    case srvOracle: RunOracle(); break;
    case srvMSSQL: RunMSSQL(); break;
    case srvMySQL: RunMySQL(); break;
    case srvPostgreSQL: RunPostgreSQL(); break;
    case srvASA: RunASA(); break;
    case srvASE: RunASE(); break;
    default: break;  // DB2 columns are not altered
  }
}

// ---- InterBase/Firebird ---------------------------------------------------

void TColumnAlter::RunInterBase() {
  if (M.IsComputed() || T.IsComputed()) {
    if (M.IsComputed() != T.IsComputed() || M.Body != T.Body || NewType() != OldType())
      RecreateComputed();
    return;
  }
  const bool rebuilt = ChangeTypeInterBase();
  if (rebuilt) return;  // the new column carries the whole master definition
  AlterIdentityOptions();
  AlterNullabilityInterBase();
  AlterDefaultInterBase();
}

// A computed column cannot be retyped and its expression may now read other
// columns: the target's column goes (with what uses it) and the master's is
// added again. It holds no data of its own.
void TColumnAlter::RecreateComputed() {
  Comment("Alter Field (Computed)...");
  T.DropDependDef();
  ForgetUses(T);
  M.SetExists(false);
  M.CreateDependDef();
  MT.SetChanged(true);
  ColumnReplaced = true;
}

// Whether Firebird's ALTER COLUMN ... TYPE takes the change: a type change
// it takes, of strings only within the same character set and collation.
bool TColumnAlter::AlterableInPlace() {
  TFldData& mb = TypeBase(M);
  TFldData& tb = TypeBase(T);
  if (M.Identity != T.Identity || !IsTypeAlterableInPlace(mb, tb)) return false;
  return InfoOf(mb).Family != TFamily::String ||
         (mb.GetCharacterSet() == tb.GetCharacterSet() && mb.Collation == tb.Collation);
}

// Returns true when the column was rebuilt with the whole master definition.
bool TColumnAlter::ChangeTypeInterBase() {
  const bool typeDiffers = NewType() != OldType();
  const bool charsetDiffers = CharsetsCompared() && M.IsCharacterType() &&
                              M.GetCharacterSet() != T.GetCharacterSet();
  const bool collationDiffers =
      CharsetsCompared() && M.IsCharacterType() && M.Collation != T.Collation;
  const bool identityDiffers = M.Identity != T.Identity;
  if (!typeDiffers && !charsetDiffers && !collationDiffers && !identityDiffers) return false;
  // A domain the column moves to is created first when it is new.
  if (M.IsDomainTyped()) M.CreateDependencies();

  const bool systemTables = CanRewriteSystemTables(Ctx.Target);
  const std::string alterType =
      "ALTER TABLE " + Table + " ALTER COLUMN " + Column + " TYPE " + NewType();
  const int cmp = CompareTypes(M, T);

  if (!typeDiffers && !identityDiffers && systemTables) {
    // Only the character set or collation: the system tables take them.
    if (charsetDiffers) {
      DropDependents();
      RewriteCharsetInSystemTables();
    }
    if (collationDiffers) RewriteCollationInSystemTables();
    return false;
  }

  TFldData& mb = TypeBase(M);
  TFldData& tb = TypeBase(T);
  const bool arrays = !mb.Dimensions.empty() || !tb.Dimensions.empty();
  if (arrays) {
    if (systemTables && AllowConversion() && mb.Dimensions.size() == tb.Dimensions.size()) {
      RewriteTypeInSystemTables();
    } else {
      // Array values cannot be cast: there is no statement that keeps them.
      Comment("Array conversion not supported:\r\n" + alterType);
    }
    return false;
  }

  if (IsOldInterBase(Version())) {
    // Neither ALTER COLUMN TYPE nor renaming a column exist here.
    if (systemTables) {
      if (cmp < 0) Risk = ConversionRisk();
      RewriteTypeInSystemTables();
      Risk.clear();
    } else {
      Comment("WARNING:\r\nCannot perform safe conversion of " + MT.Name + "." + M.Name +
              " datatype from " + OldType() + " to " + NewType());
    }
    return false;
  }

  if (systemTables && AllowConversion() && cmp < 0) {
    // The user asked for the system tables to take conversions the server
    // refuses.
    Risk = ConversionRisk();
    RewriteTypeInSystemTables();
    Risk.clear();
    return false;
  }

  if (AlterableInPlace()) {
    if (mb.DataType == tb.DataType && IsOneOf(mb.DataType, {dtChar, dtVarchar, dtCString}) &&
        mb.Length != tb.Length)
      Comment("Alter Field (Length): from " + std::to_string(tb.Length) + " to " +
              std::to_string(mb.Length) + "...");
    DropDependents();
    std::string sql = alterType;
    if (!M.IsDomainTyped() && !M.CharacterSet.empty()) sql += " CHARACTER SET " + M.CharacterSet;
    Emit(sql);
    Note("DataType conversion: " + OldType() + " -> " + NewType() + " /", sql);
    return false;
  }

  CopyThroughTemporaryColumn(cmp < 0);
  return true;
}

std::string TColumnAlter::TemporaryColumnName() {
  std::string name = "ZELTEMP";
  for (int n = 1; MT.FindField(name) || TT.FindField(name); ++n)
    name = "ZELTEMP" + std::to_string(n);
  return name;
}

// The server cannot change the type in place: the master's column is added
// under a temporary name, the rows are copied over with a cast, the old
// column goes and the new one takes its name. The column order is restored
// with the table's other moved columns.
void TColumnAlter::CopyThroughTemporaryColumn(bool risky) {
  const std::string tmpName = TemporaryColumnName();
  TFldData tmp(M.Objs, M.Owner);
  tmp.Assign(M);
  tmp.SetName(tmpName);
  tmp.TableName = M.TableName;
  // On Firebird 3 the new column gets its NOT NULL once it holds the rows.
  const bool notNullAfter = !M.Nullable && !M.Identity && IsFirebird3OrLater(Version());
  if (notNullAfter) tmp.Nullable = true;
  // The new column keeps the character set and collation it is to have:
  // the master's when they are compared, the target's own otherwise.
  if (!DefinitionCharset && !CharsetsCompared() && T.IsCharacterType() && M.IsCharacterType() &&
      !M.IsDomainTyped()) {
    tmp.CharacterSet = T.CharacterSet;
    tmp.Collation = T.Collation;
  }
  std::string definition;
  {
    TFlagScope withCharsets(IBOptions().IBCompareOptions->FldCharsetCompare);
    definition = tmp.GetCreateSQL();
  }
  const std::string tmpQuoted = M.QuoteName(tmpName);

  // Text in another character set may hold characters the new one lacks;
  // only Unicode takes them all.
  const std::string oldCharset = T.GetCharacterSet();
  const std::string newCharset = tmp.GetCharacterSet();
  if (oldCharset != newCharset && newCharset != "UTF8" && newCharset != "UNICODE_FSS" &&
      !oldCharset.empty() && oldCharset != "NONE" && oldCharset != "OCTETS")
    risky = true;
  auto described = [](TFldData& f, const std::string& charset) {
    std::string s = f.GetTypeText();
    if (!charset.empty() && !f.IsDomainTyped()) s += " CHARACTER SET " + charset;
    if (!f.Collation.empty() && !f.IsDomainTyped()) s += " COLLATE " + f.Collation;
    if (f.Identity) s += " IDENTITY";
    if (f.Identity && f.IdentitySeed != 0) s += " (START WITH " + std::to_string(f.IdentitySeed) + ")";
    return s;
  };
  const std::string from = described(T, oldCharset);
  const std::string to = described(tmp, newCharset);
  if (M.Identity && !T.Identity) {
    // Every row needs a value the moment the identity column is added.
    Comment("WARNING:\r\nFirebird adds the identity column " + MT.Name + "." + M.Name +
            " only to a table without rows");
    Risk = "it makes " + MT.Name + "." + M.Name +
           " an identity column, which fails while the table holds rows";
  } else if (risky) {
    Comment("WARNING:\r\nCannot perform safe conversion of " + MT.Name + "." + M.Name +
            " datatype from " + from + " to " + to +
            "\r\nThe rows are copied through a cast: values that do not fit stop the update.");
    Risk = ConversionRiskText(MT.Name, M.Name, from, to);
  } else {
    Comment("Alter Field (Type): " + MT.Name + "." + M.Name + " from " + from + " to " + to +
            " through a temporary column...");
  }
  DropDependents();

  Emit("ALTER TABLE " + Table + " ADD " + definition);
  std::string value = Column;
  if (!M.IsDomainTyped()) {
    std::string type = NewType();
    if (!tmp.CharacterSet.empty()) type += " CHARACTER SET " + tmp.CharacterSet;
    value = "CAST(" + Column + " AS " + type + ")";
  }
  const std::string update = "UPDATE " + Table + " SET " + tmpQuoted + " = " + value;
  Emit(update, saUpdate, skUpdate);
  // The copied rows are committed: the table is in use until then, and the
  // server refuses to drop the old column.
  Exec.AddStatement("COMMIT WORK;", skCommit, std::string(), dboUnknown, saCommit);
  // The rows are kept in the new column, so dropping the old one loses nothing.
  Emit("ALTER TABLE " + Table + " DROP " + Column);
  Emit("ALTER TABLE " + Table + " ALTER COLUMN " + tmpQuoted + " TO " + Column);
  if (notNullAfter) Emit("ALTER TABLE " + Table + " ALTER " + Column + " SET NOT NULL");
  Note("DataType conversion: " + OldType() + " -> " + NewType() + " /", update);
  Risk.clear();
  MT.SetChanged(true);
  // The description went with the old column.
  if (MT.Objs && MT.Objs->CompareObjects.Contains(coDescription) && !M.Description.empty())
    Exec.AddDescription(&M);
  ColumnReplaced = true;
}

std::string TColumnAlter::FieldSourceWhere() {
  return "  WHERE RDB$FIELD_NAME=(SELECT RDB$FIELD_SOURCE FROM RDB$RELATION_FIELDS\r\n"
         "  WHERE RDB$RELATION_NAME=" + Lit(MT.Name) + " AND  RDB$FIELD_NAME=" + Lit(M.Name) + ")";
}

void TColumnAlter::RewriteTypeInSystemTables() {
  const std::string where = "\r\nWHERE RDB$FIELD_NAME = " + Lit(M.Name) +
                            " AND RDB$RELATION_NAME = " + Lit(MT.Name);
  if (!M.IsDomainTyped() && T.IsDomainTyped()) {
    // The column leaves its domain: it takes the field of a temporary column
    // of the new type.
    TFldData tmp(M.Objs, M.Owner);
    tmp.Assign(M);
    tmp.SetName("ZELTEMP");
    tmp.TableName = M.TableName;
    tmp.Nullable = true;
    DropDependents();
    Emit("Alter Table " + Table + " ADD " + tmp.GetCreateSQL());
    const std::string sql =
        "Update Rdb$Relation_Fields Set Rdb$Field_Source=\r\n"
        "(Select R.Rdb$Field_Source from Rdb$Relation_Fields R\r\n"
        "where R.Rdb$Relation_Name = " + Lit(MT.Name) + " and R.Rdb$Field_Name = 'ZELTEMP')" +
        where;
    Emit(sql);
    Emit("Alter Table " + Table + " DROP ZELTEMP");
    Note("Domain > SimpleType conversion /", sql);
    return;
  }
  if (M.IsDomainTyped()) {
    DropDependents();
    const std::string sql =
        "Update rdb$Relation_Fields set Rdb$Field_Source = " + Lit(M.DomainName) + where;
    Emit(sql);
    Note(T.IsDomainTyped() ? "DataType conversion: replace DOMAIN /" : "SimpleType > Domain conversion /",
         sql);
    return;
  }

  DropDependents();
  Comment("Alter Field: " + MT.Name + "." + M.Name + ": (" + OldType() + " -> " + NewType() + ")");
  const std::string fw = "\r\n" + FieldSourceWhere();
  const std::string label = "DataType conversion: " + OldType() + " -> " + NewType() + " /";
  auto update = [&](const std::string& set) {
    const std::string sql = "UPDATE RDB$FIELDS SET " + set + fw;
    Emit(sql);
    Note(label, sql);
  };
  const TIBServerOptions& opts = IBOptions();
  switch (M.DataType) {
    case dtDoublePrecision: update("RDB$FIELD_LENGTH=8, RDB$FIELD_TYPE=27"); break;
    case dtFloat: update("RDB$FIELD_LENGTH=4, RDB$FIELD_TYPE=10"); break;
    case dtBigInt: update("RDB$FIELD_LENGTH=8, RDB$FIELD_TYPE=16"); break;
    case dtInteger: update("RDB$FIELD_LENGTH=4, RDB$FIELD_TYPE=8"); break;
    case dtSmallInt: update("RDB$FIELD_LENGTH=2, RDB$FIELD_TYPE=7"); break;
    case dtVarchar:
    case dtChar: {
      const std::string n = std::to_string(M.Length);
      update("RDB$FIELD_LENGTH=" + std::to_string(M.ByteLength > 0 ? M.ByteLength : M.Length) +
             ", RDB$CHARACTER_LENGTH=" + n +
             ", RDB$FIELD_TYPE=" + (M.DataType == dtVarchar ? "37" : "14"));
      break;
    }
    case dtBlob:
      update("RDB$FIELD_LENGTH=8, RDB$FIELD_TYPE=261, RDB$FIELD_SUB_TYPE = " +
             std::to_string(M.SubType));
      break;
    case dtDate: update(opts.SQLDialect == 1 ? "RDB$FIELD_TYPE=35" : "RDB$FIELD_TYPE=12"); break;
    case dtTime: update("RDB$FIELD_TYPE=13"); break;
    case dtTimestamp: update("RDB$FIELD_TYPE=35"); break;
    case dtNumeric:
    case dtDecimal: {
      const int p = M.Precision;
      std::string set;
      if (p <= 4)
        set = "RDB$FIELD_TYPE=7, RDB$FIELD_LENGTH=2";
      else if (p <= 9)
        set = "RDB$FIELD_TYPE=8, RDB$FIELD_LENGTH=4";
      else if (opts.SupportsInt64())
        set = "RDB$FIELD_TYPE=16, RDB$FIELD_LENGTH=8";
      else
        set = "RDB$FIELD_TYPE=27, RDB$FIELD_LENGTH=8";
      set += std::string(", RDB$FIELD_SUB_TYPE=") + (M.DataType == dtNumeric ? "1" : "2");
      update(set);
      if (M.Scale != T.Scale || T.DataType != M.DataType)
        update("RDB$FIELD_SCALE = " + std::to_string(-M.Scale));
      if (M.Precision != T.Precision || T.DataType != M.DataType)
        update("RDB$FIELD_PRECISION = " + std::to_string(M.Precision));
      break;
    }
    default:
      Comment("DataType conversion not supported: \r\n" + std::string("ALTER TABLE ") + Table +
              " ALTER COLUMN " + Column + " TYPE " + NewType());
      return;
  }
  if (M.Dimensions.size() == T.Dimensions.size()) {
    for (size_t i = 0; i < M.Dimensions.size(); ++i) {
      if (M.Dimensions[i] == T.Dimensions[i]) continue;
      const std::string sql =
          "update rdb$field_dimensions set rdb$lower_bound = " +
          std::to_string(M.Dimensions[i].Lower) + ", rdb$upper_bound = " +
          std::to_string(M.Dimensions[i].Upper) + fw + "\r\nand rdb$dimension = " +
          std::to_string(i);
      Emit(sql);
      Note(label, sql);
    }
  } else {
    Comment("Array conversion - not supported: " + MT.Name + "(" + M.Name + ")");
  }
}

void TColumnAlter::RewriteCharsetInSystemTables() {
  const std::string cs = M.GetCharacterSet();
  std::string set;
  if (cs.empty() || cs == "NONE")
    set = "NULL";
  else
    set = "(SELECT RDB$CHARACTER_SET_ID FROM RDB$CHARACTER_SETS WHERE RDB$CHARACTER_SET_NAME = " +
          Lit(cs) + ")";
  const std::string sql = "UPDATE RDB$FIELDS SET RDB$CHARACTER_SET_ID = " + set + "\r\n" +
                          FieldSourceWhere();
  Emit(sql);
  Note("DataType conversion: Charset difference /", sql);
}

void TColumnAlter::RewriteCollationInSystemTables() {
  std::string sql;
  if (!M.Collation.empty()) {
    sql = "UPDATE RDB$RELATION_FIELDS SET RDB$Collation_ID =\r\n"
          "(Select C.Rdb$Collation_ID from Rdb$Collations C\r\n"
          "where C.Rdb$Collation_Name=" + Lit(M.Collation) +
          "\r\n and C.Rdb$Character_Set_ID = (select Rdb$Character_Set_ID from Rdb$character_Sets "
          "where Rdb$character_set_name = " + Lit(M.GetCharacterSet()) + "))\r\n"
          "  WHERE RDB$FIELD_NAME=" + Lit(M.Name) + " AND RDB$RELATION_NAME=" + Lit(MT.Name);
    Emit(sql);
    Note("DataType conversion: Collation difference (replace) /", sql);
  } else {
    sql = "UPDATE RDB$RELATION_FIELDS SET RDB$Collation_ID = Null\r\n"
          "  WHERE RDB$FIELD_NAME=" + Lit(M.Name) + " AND RDB$RELATION_NAME=" + Lit(MT.Name);
    Emit(sql);
    Note("DataType conversion: Collation difference (clear) /", sql);
  }
}

// The options of an identity column are fixed at its creation; a new start
// value is set by restarting it, which keeps the rows.
void TColumnAlter::AlterIdentityOptions() {
  if (!M.Identity || !T.Identity || !IsFirebird3OrLater(Version())) return;
  if (M.IdentitySeed != T.IdentitySeed)
    Emit("ALTER TABLE " + Table + " ALTER COLUMN " + Column + " RESTART WITH " +
         std::to_string(M.IdentitySeed));
  if (Version() == st_Firebird_40 && M.IdentityIncrement != T.IdentityIncrement)
    Emit("ALTER TABLE " + Table + " ALTER COLUMN " + Column + " SET INCREMENT BY " +
         std::to_string(M.IdentityIncrement == 0 ? 1 : M.IdentityIncrement));
}

void TColumnAlter::AlterNullabilityInterBase() {
  // An identity column is NOT NULL by its nature.
  if (M.Nullable == T.Nullable || M.Identity || T.Identity) return;
  Comment("Alter Field (Null / Not Null)...");
  if (IsFirebird3OrLater(Version())) {
    if (!M.Nullable) Risk = NotNullRisk();
    const std::string sql =
        "ALTER TABLE " + Table + " ALTER " + Column + (M.Nullable ? " DROP NOT NULL" : " SET NOT NULL");
    Emit(sql);
    Note("DataType conversion: Nullable difference /", sql);
    Risk.clear();
  } else if (CanRewriteSystemTables(Ctx.Target)) {
    const std::string sql = std::string("UPDATE RDB$RELATION_FIELDS SET RDB$NULL_FLAG = ") +
                            (M.Nullable ? "NULL" : "1") + " WHERE RDB$FIELD_NAME=" + Lit(M.Name) +
                            " AND RDB$RELATION_NAME=" + Lit(MT.Name);
    Emit(sql);
    Note("DataType conversion: Nullable difference /", sql);
  } else {
    Comment("WARNING:\r\nThis server cannot change the nullability of " + MT.Name + "." + M.Name +
            " without writing its system tables");
  }
}

void TColumnAlter::AlterDefaultInterBase() {
  const std::string def = M.GetDefaultText();
  if (def == T.GetDefaultText()) return;
  if (HasAlterDefault(Version())) {
    DropDependents();
    const std::string sql = "ALTER TABLE " + Table + " ALTER COLUMN " + Column + " " +
                            (def.empty() ? std::string("DROP DEFAULT") : "SET " + M.GetDefaultClause());
    Emit(sql);
    Note("DataType conversion: DEFAULT difference /", sql);
    return;
  }
  if (!CanRewriteSystemTables(Ctx.Target)) {
    Comment("WARNING:\r\nThis server cannot change the default of " + MT.Name + "." + M.Name +
            " without writing its system tables");
    return;
  }
  const std::string label = "DataType conversion: DEFAULT difference /";
  const std::string where =
      "WHERE RDB$FIELD_NAME=" + Lit(M.Name) + " AND RDB$RELATION_NAME=" + Lit(MT.Name);
  if (!def.empty()) {
    // A temporary domain of the column's type holds the new default, whose
    // compiled form the column's field takes over.
    TFldData& base = TypeBase(M);
    TFldData dom(M.Objs, nullptr);
    dom.AssignType(base);
    dom.DefaultValue = def;
    dom.SetName("ZELXXX");
    Emit("CREATE DOMAIN ZELXXX AS " + dom.GetTypeText() + " DEFAULT " + def);
    const std::string sql =
        "UPDATE RDB$RELATION_FIELDS SET RDB$DEFAULT_SOURCE=\r\n"
        "(SELECT RDB$DEFAULT_SOURCE FROM RDB$FIELDS where RDB$FIELD_NAME='ZELXXX'),\r\n"
        "RDB$DEFAULT_VALUE=\r\n"
        "(SELECT RDB$DEFAULT_VALUE FROM RDB$FIELDS where RDB$FIELD_NAME='ZELXXX')\r\n" + where;
    Emit(sql);
    Emit("DROP DOMAIN ZELXXX");
    Note(label, sql);
  } else {
    const std::string sql =
        "UPDATE RDB$RELATION_FIELDS SET RDB$DEFAULT_SOURCE = NULL, RDB$DEFAULT_VALUE = NULL\r\n" +
        where;
    Emit(sql);
    Note(label, sql);
  }
  if (!M.IsDomainTyped()) {
    const std::string sql =
        "UPDATE RDB$FIELDS SET RDB$DEFAULT_VALUE = NULL,\r\n"
        "RDB$DEFAULT_SOURCE = '' WHERE RDB$FIELD_NAME =\r\n"
        "(SELECT RDB$FIELD_SOURCE FROM RDB$RELATION_FIELDS\r\n"
        "WHERE RDB$FIELD_NAME = " + Lit(M.Name) + " AND RDB$RELATION_NAME = " + Lit(MT.Name) + ")";
    Emit(sql);
  }
}

// ---- Other dialects -------------------------------------------------------

void TColumnAlter::RunOracle() {
  const std::string head = "ALTER TABLE " + Table + " MODIFY(" + Column + " ";
  if (NewType() != OldType() || M.Body != T.Body) {
    TFldData typeOnly(M.Objs, M.Owner);
    typeOnly.AssignType(M);
    typeOnly.Ref = M.Ref;
    typeOnly.WithTimeZone = M.WithTimeZone;
    typeOnly.WithLocalTimeZone = M.WithLocalTimeZone;
    // Unnamed, nullable and without a default: the definition is the type alone.
    const std::string type = typeOnly.GetCreateSQL();
    DropDependents();
    if (CompareTypes(M, T) < 0) Risk = ConversionRisk();
    Emit(head + type + ")");
    Risk.clear();
    MT.MarkDependentViewsForRecreate();
  }
  if (M.GetDefaultText() != T.GetDefaultText())
    Emit(head + "DEFAULT " + (M.DefaultValue.empty() ? std::string("NULL") : M.GetDefaultText()) +
         ")");
  if (M.Nullable != T.Nullable) {
    if (!M.Nullable)
      Risk = NotNullRisk();
    Emit(head + (M.Nullable ? "NULL" : "NOT NULL") + ")");
    Risk.clear();
  }
}

void TColumnAlter::RunMSSQL() {
  const std::string def = M.GetDefaultText();
  if (!M.Nullable) {
    // The master's defaults come before the column refuses NULL.
    for (auto& r : M.UseInList) {
      auto* ctr = r->Obj ? r->Obj->As<TCtrData>() : nullptr;
      if (ctr && ctr->ConstraintType == ctDefault && !ctr->GetExists()) ctr->CreateDependDef();
    }
  }
  if (def != T.GetDefaultText()) {
    DropDependents();
    if (!def.empty()) Emit("ALTER TABLE " + Table + " ADD DEFAULT " + def + " FOR " + Column);
  }
  const bool typeDiffers = NewType() != OldType() || M.Collation != T.Collation;
  if (typeDiffers || M.Nullable != T.Nullable || M.IsComputed() != T.IsComputed()) {
    DropDependents();
    if (M.IsComputed() || T.IsComputed()) {
      T.DropDependDef();
      ForgetUses(T);
      M.SetExists(false);
      M.CreateDependDef();
      MT.SetChanged(true);
      ColumnReplaced = true;
    } else {
      std::string sql = "ALTER TABLE " + MT.GetQualifiedName() + " ALTER COLUMN " + Column + " " +
                        NewType();
      if (!M.Collation.empty()) sql += " COLLATE " + M.Collation;
      sql += M.Nullable ? " NULL" : " NOT NULL";
      if (!typeDiffers || IsImplicitlyConvertible(M, T)) {
        if (CompareTypes(M, T) < 0)
          Risk = ConversionRisk();
        else if (!M.Nullable && T.Nullable)
          Risk = NotNullRisk();
        Emit(sql);
        Risk.clear();
      } else {
        Exec.AddComment("/* Datatype conversion is not allowed: " + OldType() + " -> " +
                        NewType() + "\r\n" + sql + " */");
      }
    }
  }
  if (M.RowGuidCol != T.RowGuidCol) {
    Emit("ALTER TABLE " + Table + " ALTER COLUMN " + Column +
         (M.RowGuidCol ? " ADD ROWGUIDCOL" : " DROP ROWGUIDCOL"));
    MT.MarkDependentViewsForRecreate();
  }
}

void TColumnAlter::RunMySQL() {
  // MariaDB refuses to MODIFY a generated column between VIRTUAL and STORED
  // and cannot change every expression in place; such a column holds no data
  // of its own, so it is dropped and added again.
  if (M.IsComputed() || T.IsComputed()) {
    RecreateComputed();
    return;
  }
  // InnoDB refuses to change the type, character set or collation of a
  // column a foreign key uses or references (errors 1832, 1833): the keys go
  // first and the constraint phase adds them again once both ends changed.
  if (NewType() != OldType()) {
    TCauseScope cause(&Exec, T);
    for (size_t i = 0; i < T.UseInList.size(); ++i)
      if (TDbObj* u = T.UseInList[i]->Obj)
        if (auto* fk = u->As<TCtrData>(); fk && fk->ConstraintType == ctForeignKey) fk->DropDependDef();
  }
  // MySQL outside strict mode truncates what does not fit without an error.
  if (CompareTypes(M, T) < 0)
    Risk = ConversionRisk();
  else if (!M.Nullable && T.Nullable)
    Risk = "it makes " + MT.Name + "." + M.Name +
           " NOT NULL, which fails or replaces NULLs on existing rows";
  // A column that becomes AUTO_INCREMENT before a key has it first would be
  // refused; it takes AUTO_INCREMENT once the keys are made.
  if (M.AutoIncrement && !T.AutoIncrement && !LeadsExistingKey(T)) {
    M.AutoIncrementHeld = T.AutoIncrementHeld = true;
    if (M.GetCreateSQL() == T.GetCreateSQL()) return;  // AUTO_INCREMENT was the only change
  }
  const std::string sql = "ALTER TABLE " + Table + " MODIFY COLUMN " + M.GetCreateSQL();
  Emit(sql);
  T.MasterDefinitionWritten = true;
  Risk.clear();
  Note("Modify column: ", sql);
}

void TColumnAlter::RunPostgreSQL() {
  const std::string head = "ALTER TABLE " + Table + " ALTER COLUMN " + Column;
  if (NewType() != OldType()) {
    DropDependents();
    if (CompareTypes(M, T) < 0) Risk = ConversionRisk();
    // Without USING the server refuses types it has no assignment cast
    // between (text to integer, say); with it the cast is explicit.
    Emit(head + " TYPE " + NewType() + " USING " + Column + "::" + NewType());
    Risk.clear();
  }
  const std::string def = M.GetDefaultText();
  if (def != T.GetDefaultText()) {
    DropDependents();
    Emit(head + (def.empty() ? std::string(" DROP DEFAULT") : " SET DEFAULT " + def));
  }
  if (M.Nullable != T.Nullable) {
    DropDependents();
    if (!M.Nullable)
      Risk = NotNullRisk();
    Emit(head + (M.Nullable ? " DROP NOT NULL" : " SET NOT NULL"));
    Risk.clear();
  }
}

void TColumnAlter::RunASA() {
  const std::string table = MT.GetQualifiedName();
  if (NewType() != OldType()) {
    if (CompareTypes(M, T) < 0) Risk = ConversionRisk();
    Emit("ALTER TABLE " + table + " MODIFY " + Column + " " + NewType());
    Risk.clear();
  }
  if (M.Nullable != T.Nullable)
    Emit("ALTER TABLE " + table + " MODIFY " + Column + (M.Nullable ? " NULL" : " NOT NULL"));
  const std::string def = M.GetDefaultText();
  const std::string old = T.GetDefaultText();
  if (def != old) {
    if (!def.empty() && !old.empty())
      Emit("ALTER TABLE " + table + " MODIFY " + Column + " DEFAULT " + def);
    else if (!def.empty())
      Emit("ALTER TABLE " + table + " ALTER " + Column + " SET DEFAULT " + def);
    else
      Emit("ALTER TABLE " + table + " ALTER " + Column + " DROP DEFAULT");
  }
}

void TColumnAlter::RunASE() {
  const std::string def = M.GetDefaultText();
  if (def != T.GetDefaultText())
    Emit("ALTER TABLE " + Table + " REPLACE " + Column + " DEFAULT " +
         (def.empty() ? std::string("NULL") : def));
}

// ---------------------------------------------------------------------------
// MySQL column order

// Moves the target's columns into the master's order, one MODIFY ... FIRST /
// AFTER per column that is not yet in its place. Returns the master columns
// whose whole definition was written.
std::unordered_set<TFldData*> FixMySQLColumnOrder(TCompareContext& ctx, TTblData& m, TTblData& t) {
  std::unordered_set<TFldData*> written;
  if (m.Fields.Count() != t.Fields.Count()) return written;
  std::vector<std::string> order;
  order.reserve(static_cast<size_t>(t.Fields.Count()));
  for (int i = 0; i < t.Fields.Count(); ++i) {
    if (!m.FindField(t.Fields.Names(i))) return written;  // not the same columns
    order.push_back(t.Fields.Names(i));
  }
  for (int i = 0; i < m.Fields.Count(); ++i) {
    TFldData* f = m.Fields[i];
    if (!f) continue;
    // The current position of the column among the target's columns as
    // moved so far.
    size_t j = static_cast<size_t>(i);
    while (j < order.size() && order[j] != f->Name) ++j;
    if (j >= order.size()) {
      j = 0;
      while (j < order.size() && !SameTextAscii(order[j], f->Name)) ++j;
    }
    if (j == static_cast<size_t>(i) || j >= order.size()) continue;
    std::string sql = "ALTER TABLE " + f->GetAlterTableName() + " MODIFY COLUMN " + f->GetCreateSQL();
    sql += i == 0 ? std::string(" FIRST") : " AFTER " + f->QuoteName(m.Fields.Names(i - 1));
    TFldData* tf = t.FindField(f->Name);
    if (tf) tf->MasterDefinitionWritten = true;
    TStatement* st = ctx.Exec.AddStatement(sql, skStatement, f->Name, dboField, saAlter, m.Name);
    if (st && tf && f->GetCreateSQL() != tf->GetCreateSQL() && CompareTypes(*f, *tf) < 0)
      st->DataRisk = ConversionRiskText(m.Name, f->Name, tf->GetTypeText(), f->GetTypeText());
    if (ctx.ChangeNotes) ctx.ChangeNotes->push_back("Modify column: " + m.Name + "(" + f->Name + ")/\r\n" + sql);
    std::string name = order[j];
    order.erase(order.begin() + static_cast<std::ptrdiff_t>(j));
    order.insert(order.begin() + i, name);
    written.insert(f);
  }
  return written;
}

// The character set of a MySQL table's default, as given or as the prefix of
// its default collation; empty when neither is given.
std::string MySQLTableCharset(const TTblData& table) {
  if (!table.MySQLOptions) return std::string();
  const TMySQLTableOptions& o = *table.MySQLOptions;
  if (!o.DefaultCharset.empty()) return o.DefaultCharset;
  return o.DefaultCollate.substr(0, o.DefaultCollate.find('_'));
}

// Whether the MySQL character column `f` of master table `m`, which takes its
// character set from its table, gets another one from the target table `t`.
// Changing a table's default leaves its columns as they are, so such a column
// is modified to take the new default.
bool TableCharsetMovesColumn(const TTblData& m, const TTblData& t, const TFldData& f) {
  if (!f.HasMySQLCharset() || !f.CharacterSet.empty() || !f.Collation.empty()) return false;
  if (!SameTextAscii(MySQLTableCharset(m), MySQLTableCharset(t))) return true;
  const std::string& mc = m.MySQLOptions ? m.MySQLOptions->DefaultCollate : std::string();
  const std::string& tc = t.MySQLOptions ? t.MySQLOptions->DefaultCollate : std::string();
  return !mc.empty() && !tc.empty() && !SameTextAscii(mc, tc);
}

}  // namespace

void RestoreAutoIncrement(TCompareContext& ctx) {
  for (const auto& e : ctx.Master.TblList) {
    auto* m = e.Obj->As<TTblData>();
    if (!m) continue;
    for (int i = 0; i < m->Fields.Count(); ++i) {
      TFldData* mf = m->Fields[i];
      if (!mf || !mf->AutoIncrementHeld) continue;
      mf->AutoIncrementHeld = false;
      TFldData* tf = mf->Pair ? mf->Pair->As<TFldData>() : nullptr;
      if (tf) tf->AutoIncrementHeld = false;
      if (!mf->AutoIncrement || !mf->GetExists()) continue;
      const std::string sql = "ALTER TABLE " + mf->GetAlterTableName() + " MODIFY COLUMN " + mf->GetCreateSQL();
      ctx.Exec.AddStatement(sql, skStatement, mf->Name, dboField, saAlter, m->Name);
    }
  }
}

void RetypeThroughTemporaryColumn(TCompareContext& ctx, TFldData& definition, TFldData& column) {
  TTblData* tt = column.GetOwnerTable();
  if (!tt) return;
  // The column order is restored on the master's table; a table the master
  // lacks goes later anyway.
  TTblData* mt = tt->Pair ? tt->Pair->As<TTblData>() : nullptr;
  TColumnAlter(ctx, mt ? *mt : *tt, *tt, definition, column).RetypeKeepingRows();
}

// ---------------------------------------------------------------------------
// Phases

void AlterColumns(TCompareContext& ctx) {
  TObjs& master = ctx.Master;
  const TServerType st = ctx.Target.ServerType;
  const bool descriptions = master.CompareObjects.Contains(coDescription);
  bool comments = false;
  for (const auto& e : master.TblList) {
    auto* m = e.Obj->As<TTblData>();
    auto* t = m && m->Pair ? m->Pair->As<TTblData>() : nullptr;
    // A table that changed between temporary and permanent was created
    // afresh from the master's definition.
    if (!t || m->GlobalTemporary != t->GlobalTemporary) continue;
    std::unordered_set<TFldData*> written;
    if (st == srvMySQL) written = FixMySQLColumnOrder(ctx, *m, *t);
    for (int i = 0; i < m->Fields.Count(); ++i) {
      TFldData* mf = m->Fields[i];
      TFldData* tf = mf ? t->FindField(mf->Name) : nullptr;
      if (!tf) continue;
      // A computed column dropped for another column's change is added again
      // below, with its description.
      if (!mf->GetExists() || !tf->GetExists()) continue;
      bool replaced = false;
      const bool differs = mf->GetCreateSQL() != tf->GetCreateSQL() ||
                           (st == srvMySQL && TableCharsetMovesColumn(*m, *t, *mf));
      if (!written.count(mf) && differs) {
        TColumnAlter alter(ctx, *m, *t, *mf, *tf);
        alter.Run();
        comments = comments || alter.WroteComment();
        replaced = alter.Replaced();
      }
      // A MySQL column's comment is part of its definition: the MODIFY above
      // carried it.
      if (descriptions && !replaced && st != srvMySQL && mf->Description != tf->Description)
        ctx.Exec.AddDescription(mf);
    }
    // Computed columns that went with a column they read come back once what
    // they read exists again.
    if (m->GetExists() && !m->ComputedPass) {
      std::vector<TFldData*> gone;
      for (const auto& fe : m->Fields)
        if (fe.Obj && fe.Obj->IsComputed() && !fe.Obj->GetExists()) gone.push_back(fe.Obj.get());
      if (!gone.empty()) m->CreateDependDef();
      for (TFldData* f : gone)
        if (f->GetExists() && f->Pair) ForgetUses(*f->Pair);
    }
  }
  if (comments) ctx.Exec.AddComment("\r\n");
}

void RecreateTablesForColumnOrder(TCompareContext& ctx) {
  TObjs& master = ctx.Master;
  TObjs& target = ctx.Target;
  if (target.ServerType != srvMSSQL) return;
  TMSSQLServerOptions* opts = target.MSSQLServerOptions.get();
  if (!opts || !opts->MSSQLCompareOptions->UpdateColumnPosition) return;
  TCustomSQLExec& exec = ctx.Exec;

  std::vector<TTblData*> tables;
  for (const auto& e : master.TblList) {
    auto* m = e.Obj->As<TTblData>();
    auto* t = m && m->Pair ? m->Pair->As<TTblData>() : nullptr;
    if (m && t && m->Changed && t->GetExists()) tables.push_back(m);
  }
  if (tables.empty()) return;
  for (TTblData* m : tables) {
    TTblData* t = m->Pair->As<TTblData>();
    TCauseScope cause(&exec, *t);
    t->DropDependents();
  }

  for (TTblData* m : tables) {
    TTblData* t = m->Pair->As<TTblData>();
    const std::string original = m->GetQualifiedName();
    exec.DoLogLine("ReCreate table (upd. column position): " + original);

    // The master's table under the temporary name.
    const std::string realName = m->Name;
    std::string tempSql;
    m->Name = "kvt$" + realName;
    const std::string temp = m->GetQualifiedName();
    const std::string tempName = m->Name;
    tempSql = m->GetCreateScript();
    m->Name = realName;
    exec.AddStatement(tempSql, skStatement, tempName, dboTable, saCreate);

    // Rows are copied by the columns both tables have, computed ones aside.
    std::string cols;
    for (const auto& fe : m->Fields) {
      TFldData* f = fe.Obj.get();
      TFldData* tf = f ? t->FindField(f->Name) : nullptr;
      if (!f || !tf || f->IsComputed() || tf->IsComputed()) continue;
      if (!cols.empty()) cols += ", ";
      cols += m->QuoteName(f->Name);
    }
    const bool identity = m->HasIdentityColumn();
    auto copy = [&](const std::string& into, const std::string& from) {
      if (cols.empty()) return;
      if (identity)
        exec.AddStatement("SET IDENTITY_INSERT " + into + " ON", skStatement, tempName, dboTable,
                          saAlter);
      exec.AddStatement("insert into " + into + "(" + cols + ")\r\nselect " + cols + " from " +
                            from,
                        skInsert, tempName, dboTable, saInsert);
      if (identity)
        exec.AddStatement("SET IDENTITY_INSERT " + into + " OFF", skStatement, tempName, dboTable,
                          saAlter);
    };
    copy(temp, original);

    // The target table goes and the master's is created in its place.
    exec.AddStatement(t->GetDropSQL(), skStatement, t->Name, dboTable, saDrop);
    for (const auto& fe : t->Fields)
      if (fe.Obj) fe.Obj->SetExists(false);
    t->SetExists(false);
    m->SetComputedPass(false);
    m->CreateDependDef();
    copy(original, temp);
    exec.AddStatement("DROP TABLE " + temp, skStatement, tempName, dboTable, saDrop);
    m->SetChanged(false);
  }

  // What went with the tables is created again, in the order of the main sequence.
  CreateViews(ctx);
  CreateIndexes(ctx);
  CreateConstraints(ctx);
  CreateDefaultConstraints(ctx);
  CreateTriggers(ctx);
  CreateViews(ctx);
  AlterProcedures(ctx);
}
