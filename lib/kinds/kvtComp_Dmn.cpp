#include "kinds/kvtComp_Dmn.h"

#include <unordered_set>
#include <utility>
#include <vector>

#include "core/kvtCompareContext.h"
#include "core/kvtDBOptions.h"
#include "core/kvtDBStructure.h"
#include "kinds/kvtCompColumn.h"
#include "kinds/kvtCompColumnAlter.h"
#include "kinds/kvtComp_Prc.h"
#include "kinds/kvtComp_Tbl.h"
#include "kinds/kvtComp_Viw.h"
#include "kinds/kvtListPhases.h"
#include "kinds/kvtPhaseHeader.h"
#include "script/kvtSQL_Exec.h"

TDmnData* TCustomObjs::FindDomain(const std::string& key) const {
  return FindIn<TDmnData>(DmnList, key);
}

TPGTypeOptions::TPGTypeOptions(TDmnData* domain) : Domain(domain) {}

TPGTypeOptions::~TPGTypeOptions() = default;

TDmnData::TDmnData(TObjs* aObjs)
    : TDbObj(aObjs),
      Directive(std::make_unique<TTypeDirective>()),
      PGOptions(std::make_unique<TPGTypeOptions>(this)) {
  ObjType = dboDomain;
  BaseField = std::make_unique<TFldData>(aObjs, this);
}

TDmnData::~TDmnData() = default;

// ---------------------------------------------------------------------------
// DDL texts

namespace {

// The type keyword and everything a Firebird domain carries: character set,
// default, nullability, check and collation. A domain is created whole, so
// its character set and collation are written whether or not the comparison
// looks at them.
std::string IBDomainDefinition(TFldData& f) {
  std::string s = f.GetTypeText();
  if (!f.CharacterSet.empty() && f.DataType != dtDomain) s += " CHARACTER SET " + f.CharacterSet;
  if (!f.DefaultValue.empty()) s += " " + f.GetDefaultClause();
  if (!f.Nullable) s += " NOT NULL";
  if (!f.CheckExpression.empty()) s += " CHECK " + f.CheckExpression;
  if (!f.Collation.empty()) s += " COLLATE " + f.Collation;
  return s;
}

// Oracle attribute list "  (a,\r\n   b)"; `open` leaves it open for the
// member routines that follow.
std::string OracleAttributeList(const TNamedObjList<TFldData>& attributes, bool open) {
  std::string s = "  (";
  for (int i = 0; i < attributes.Count(); ++i) {
    if (i) s += ",\r\n   ";
    if (TFldData* a = attributes[i]) s += a->GetCreateSQL();
  }
  if (!open) return s + ")";
  if (!attributes.Empty()) s += ",\r\n";
  return s;
}

std::string OracleMemberList(const TNamedObjList<TMemberPrcData>& methods) {
  if (methods.Empty()) return std::string();
  std::string s;
  for (int i = 0; i < methods.Count(); ++i) {
    if (i) s += ",\r\n";
    if (TMemberPrcData* m = methods[i]) s += m->GetCreateSQL();
  }
  return s + ")";
}

std::string TrimRight(std::string s) {
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

std::string OracleCreateSQL(TDmnData& d) {
  auto L = [](const std::string& s) { return QuoteLiteral(s, srvOracle); };
  std::string s = "CREATE OR REPLACE TYPE " + d.GetQualifiedName();
  if (!d.TypeTimestamp.empty() || !d.TypeOid.empty()) {
    s += "\r\n";
    if (!d.TypeTimestamp.empty()) s += "   TIMESTAMP " + L(d.TypeTimestamp);
    if (!d.TypeOid.empty()) s += " OID " + L(d.TypeOid);
    s += "\r\n";
  }
  const bool members = !d.Methods.Empty();
  if (!d.UnderType.empty()) {
    s += " UNDER " + d.UnderType + "\r\n" + OracleAttributeList(d.Attributes, members) +
         OracleMemberList(d.Methods);
  } else {
    s += d.TypeKind == tyTableOfIs ? " IS " : " AS ";
    switch (d.TypeKind) {
      case tyVarray:
        s += "VARRAY(" + std::to_string(d.VarrayLimit) + ") OF " + d.BaseField->GetCreateSQL();
        break;
      case tyTableOf:
      case tyTableOfIs:
        s += "TABLE OF " + d.BaseField->GetCreateSQL();
        break;
      default:
        s +=
            "OBJECT\r\n" + OracleAttributeList(d.Attributes, members) + OracleMemberList(d.Methods);
        break;
    }
  }
  const std::string directive = TrimRight(GetDirectiveText(*d.Directive));
  if (!directive.empty()) s += "\r\n   " + directive;
  if (!d.AddedAttributes.Empty()) {
    s += ";\r\n\r\nALTER TYPE " + d.GetQualifiedName() + " ADD ATTRIBUTE\r\n" +
         OracleAttributeList(d.AddedAttributes, false);
    if (d.Cascade) s += "\r\n   CASCADE";
  }
  return s;
}

// The options of a PostgreSQL base type, or the attributes of a composite type.
std::string PGTypeOptionsText(TPGTypeOptions& o) {
  if (!o.CompositeFields.Empty()) {
    std::string s = " AS (\r\n";
    for (int i = 0; i < o.CompositeFields.Count(); ++i) {
      if (i) s += ",\r\n";
      if (TFldData* f = o.CompositeFields[i]) s += f->GetCreateSQL();
    }
    return s + ")";
  }
  std::string s;
  auto entry = [&s](const char* label, const std::string& value) {
    if (!value.empty()) s += std::string(label) + value + ",\r\n";
  };
  entry("INPUT = ", o.Input);
  entry("OUTPUT = ", o.Output);
  entry("RECEIVE = ", o.Receive);
  entry("SEND = ", o.Send);
  entry("ANALYZE = ", o.Analyze);
  if (o.InternalLength >= 0) entry("INTERNALLENGTH = ", std::to_string(o.InternalLength));
  if (o.ExternalLength >= 0) entry("EXTERNALLENGTH = ", std::to_string(o.ExternalLength));
  if (o.PassedByValue) s += "PASSEDBYVALUE,\r\n";
  if (o.Alignment != 0) entry("ALIGNMENT = ", LowerAscii(DataTypeName(o.Alignment)));
  entry("STORAGE = ", o.Storage);
  entry("DEFAULT = ", o.DefaultValue);
  if (o.Element) entry("ELEMENT = ", o.Element->GetCreateSQL());
  if (!o.Delimiter.empty()) entry("DELIMITER = ", QuoteLiteral(o.Delimiter, srvPostgreSQL));
  if (s.size() >= 3) s.resize(s.size() - 3);  // the last ",\r\n"
  return "(\r\n" + s + ")";
}

}  // namespace

std::string TDmnData::GetCreateSQL() {
  TFldData& base = *BaseField;
  switch (GetServerType()) {
    case srvInterBase:
      return "CREATE DOMAIN " + QuoteName(Name) + " AS " + IBDomainDefinition(base);
    case srvOracle:
      return OracleCreateSQL(*this);
    case srvMSSQL:
    case srvASE: {
      const TServerType st = GetServerType();
      if (FromType)
        return "CREATE TYPE " + (Schema.empty() ? std::string() : QuoteName(Schema) + ".") +
               QuoteName(Name) + " FROM " + base.GetCreateSQL();
      if (IsXmlSchemaCollection())
        return "CREATE " + TypeText + " " + GetQualifiedName() + " AS N" +
               QuoteLiteral(Body, srvMSSQL);
      return "EXEC sp_addtype N" + QuoteLiteral(Name, st) + ", N" + QuoteLiteral(TypeText, st) +
             ", N" + QuoteLiteral(base.Nullable ? "NULL" : "NOT NULL", st);
    }
    case srvPostgreSQL:
      if (PGOptions->IsBaseType)
        return "CREATE TYPE " + GetQualifiedName() + PGTypeOptionsText(*PGOptions);
      return "CREATE DOMAIN " + GetQualifiedName() + " " + base.GetCreateSQL();
    default:
      return "CREATE DOMAIN " + QuoteName(Name) + " " + base.GetCreateSQL();
  }
}

std::string TDmnData::GetDropSQL() {
  switch (GetServerType()) {
    case srvOracle:
      return "DROP TYPE " + GetQualifiedName();
    case srvASE:
      return "exec sp_droptype " + QuoteLiteral(Name, srvASE);
    case srvPostgreSQL:
      return (PGOptions->IsBaseType ? "DROP TYPE " : "DROP DOMAIN ") + GetQualifiedName();
    case srvMSSQL: {
      TObjs* objs = Objs && Objs->UsePartnerServer && Objs->Partner ? Objs->Partner : Objs;
      if (objs && objs->MSSQLServerOptions &&
          objs->MSSQLServerOptions->SQLServerVersion == st_MSSQL2000)
        return "exec sp_droptype " + QuoteLiteral(Name, srvMSSQL);
      if (IsXmlSchemaCollection()) return "DROP " + TypeText + " " + GetQualifiedName();
      return "DROP TYPE " + GetQualifiedName();
    }
    default:
      return TDbObj::GetDropSQL();
  }
}

std::string TCnvData::GetCreateSQL() {
  auto L = [](const std::string& s) { return QuoteLiteral(s, srvPostgreSQL); };
  return std::string("CREATE ") + (IsDefault ? "DEFAULT " : "") + "CONVERSION " +
         QuoteName(Schema) + "." + QuoteName(Name) + " FOR " + L(SourceEncoding) + " TO " +
         L(DestEncoding) + " FROM " + QuoteName(Schema) + "." + QuoteName(FunctionName);
}

std::string TCnvData::GetDropSQL() {
  return "DROP CONVERSION " + QuoteName(Schema) + "." + QuoteName(Name);
}

// ---------------------------------------------------------------------------
// Dependency walks

namespace {

// An existing column typed by the domain `d` in its own database.
bool TypedByDomain(TFldData& col, const TDmnData& d) {
  return col.IsColumn() && col.DataType == dtDomain && col.DomainName == d.Name &&
         col.GetExists();
}

// A column that takes its type from the domain `d` and keeps it: typed by
// that domain and, when the master has the column, typed by it there too. A
// column the run already dropped, or moved to another type, no longer
// follows the domain.
bool FollowsDomain(TFldData& col, const TDmnData& d) {
  if (!TypedByDomain(col, d)) return false;
  const auto* other = col.Pair ? col.Pair->As<TFldData>() : nullptr;
  return !other || (other->DataType == dtDomain && other->DomainName == d.Name);
}

// A routine whose parameter or result is typed by the domain `name`.
bool HeaderUsesDomain(const TPrcData& p, const std::string& name) {
  for (const auto* list : {&p.Params, &p.Results})
    for (const auto& e : *list)
      if (e.Obj && e.Obj->DataType == dtDomain && e.Obj->DomainName == name) return true;
  return false;
}

// The columns of the domain `d` that `keep` accepts, each once: those
// recorded as its users and those of the tables recorded as its users.
std::vector<TFldData*> DomainColumns(TDmnData& d, bool (*keep)(TFldData&, const TDmnData&)) {
  std::vector<TFldData*> columns;
  std::unordered_set<TFldData*> seen;
  auto add = [&](TDbObj& o) {
    auto* f = o.As<TFldData>();
    if (f && keep(*f, d) && seen.insert(f).second) columns.push_back(f);
  };
  for (auto& r : d.UseInList) {
    if (!r->Obj) continue;
    if (r->Obj->IsTable())
      r->Obj->ForEachColumn(add);
    else
      add(*r->Obj);
  }
  return columns;
}

std::vector<TFldData*> ColumnsFollowing(TDmnData& d) { return DomainColumns(d, FollowsDomain); }

// Also the columns the master moves to another type later.
std::vector<TFldData*> ColumnsTypedBy(TDmnData& d) { return DomainColumns(d, TypedByDomain); }

}  // namespace

void TDmnData::DropDependents() {
  // A routine keeps a parameter's domain however its body is emptied. Where
  // the master routine's header no longer names the domain, that header goes
  // over the target's now, with the stub body; the procedure phases write
  // the body.
  for (auto& r : UseInList) {
    auto* prc = r->Pending && r->Obj ? r->Obj->As<TPrcData>() : nullptr;
    if (!prc || !prc->GetExists() || !HeaderUsesDomain(*prc, Name)) continue;
    TPrcData* master = prc->Pair ? prc->Pair->As<TPrcData>() : nullptr;
    if (!master || HeaderUsesDomain(*master, Name)) continue;
    if (TCustomSQLExec* exec = GetSQLExec())
      exec->AddStatement(master->GetStubAlterSQL(), skProcedure, master->Name, dboProcedure,
                         saEmptyBody);
    prc->EmptyBody(false);
    prc->CompareText = master->WithStubBody(&TPrcData::GetCreateSQL);
    r->Pending = false;
  }
  TDbObj::DropDependents();
  for (size_t i = 0; i < UseInList.size(); ++i) {
    TDependObj* r = UseInList[i].get();
    TDbObj* u = r->Obj;
    if (!r->Pending || !u || u == this) continue;
    if (u->ObjType == dboDomain || u->IsView()) {
      u->DropDependDef();
      r->Pending = false;
    } else if (u->IsTable() || u->IsColumn()) {
      r->Pending = false;  // the columns follow below
    }
  }
  // The columns typed by this domain release what uses them.
  for (TFldData* f : ColumnsFollowing(*this)) f->DropDependents();
}

// Domains built on domains, views casting to one and routines typed by one
// find it created here, through the base walk of CreateDependencies.
void TDmnData::ProvideFor(TDbObj& /*user*/, TDependObj& r) {
  if (!GetExists()) CreateDependDef();
  r.Pending = false;
}

// ---------------------------------------------------------------------------
// InterBase/Firebird domain alteration

namespace {

bool IsStringType(uint8_t code) { return code == dtChar || code == dtVarchar || code == dtCString; }
bool IsDateTimeType(uint8_t code) {
  return code == dtDate || code == dtTime || code == dtTimestamp;
}
bool IsExactNumeric(uint8_t code) { return code == dtNumeric || code == dtDecimal; }

// Bytes per character of the character sets that take more than one.
int BytesPerCharacter(const std::string& charset) {
  const std::string cs = UpperAscii(charset);
  if (cs == "UTF8") return 4;
  if (cs == "UNICODE_FSS") return 3;
  if (cs == "SJIS_0208" || cs == "EUCJ_0208" || cs == "KSC_5601" || cs == "BIG_5" ||
      cs == "GB_2312" || cs == "GBK" || cs == "CP943C")
    return 2;
  return 1;
}

// A blob segment size; 0 and 80 both mean the server's default.
int32_t SegmentOf(const TFldData& f) { return f.SegmentSize == 0 ? 80 : f.SegmentSize; }

// One InterBase/Firebird domain alteration: master domain M over target
// domain T. Every statement is an alteration of the domain and leaves one
// note in the comparer's change notes.
class TIBDomainAlter {
 public:
  TIBDomainAlter(TCompareContext& ctx, TPhaseHeader& header, TDmnData& m, TDmnData& t)
      : Ctx(ctx), Header(header), M(m), T(t), Mf(*m.BaseField), Tf(*t.BaseField) {
    TIBServerOptions* opts = t.GetServerOptions();
    Version = opts ? opts->SQLServerVersion : st_Firebird_25;
    Dialect = opts ? opts->SQLDialect : 3;
    Allow = opts && opts->IBCompareOptions->AllowDataTypeConversion;
    Charsets = opts && opts->IBCompareOptions->FldCharsetCompare;
    DbCharset = opts ? opts->DBCharSet.str() : std::string();
    Old = Version == st_InterBase_4x || Version == st_InterBase_5x;
    // Firebird 3 and later keep their system tables read-only.
    ReadOnlySystem = Version == st_Firebird_30 || Version == st_Firebird_40;
    QName = t.QuoteName(t.Name);
    Lit = QuoteLiteral(t.Name, srvInterBase);
  }

  void Run() {
    if (Recreate()) return;
    AlterType();
    AlterCharsetAndCollation();
    AlterBlob();
    AlterCheck();
    AlterDefault();
    AlterNullability();
  }

 private:
  TCompareContext& Ctx;
  TPhaseHeader& Header;  // written before the first statement of the phase
  TDmnData& M;
  TDmnData& T;
  TFldData& Mf;
  TFldData& Tf;
  TIBSQLServerVersionType Version;
  int Dialect;
  bool Allow, Charsets, Old, ReadOnlySystem;
  std::string DbCharset;
  std::string QName;  // the name as an identifier
  std::string Lit;    // the name as a string literal
  bool DependentsDropped = false;
  bool CharsetWritten = false;  // TYPE named a character set

  // ---- Output ----
  void DropDependents() {
    if (DependentsDropped) return;
    DependentsDropped = true;
    Header.Write();
    TCauseScope cause(&Ctx.Exec, T);
    T.DropDependents();
  }
  void Statement(const std::string& sql) {
    Header.Write();
    Ctx.Exec.AddStatement(sql, skStatement, M.Name, dboDomain, saAlter);
  }
  // A statement and the note describing it.
  void Change(const std::string& sql, const std::string& note) {
    Statement(sql);
    if (Ctx.ChangeNotes) Ctx.ChangeNotes->push_back(note + "\r\n" + sql);
  }
  std::string Note(const std::string& what) const { return "Domain " + QName + what; }
  void Comment(const std::string& text) {
    Header.Write();
    Ctx.Exec.AddComment(M.MakeComment(text));
  }

  // ---- Comparisons ----
  bool CharsetDiffers() const {
    if (!Charsets || !Mf.IsCharacterType()) return false;
    return !SameTextAscii(Mf.CharacterSet, Tf.CharacterSet);
  }
  bool CollationDiffers() const { return Charsets && !SameTextAscii(Mf.Collation, Tf.Collation); }
  bool BothBlobs() const { return Mf.DataType == dtBlob && Tf.DataType == dtBlob; }

  // ---- 1. Type ----
  void AlterType() {
    if (BothBlobs()) return;
    const std::string mType = Mf.GetTypeText();
    const std::string tType = Tf.GetTypeText();
    if (mType == tType) {
      // Firebird 3 and later change a character set only through TYPE,
      // which must name it.
      if (ReadOnlySystem && CharsetDiffers()) {
        if (Mf.CharacterSet.empty() && DbCharset.empty()) {
          Comment("Alter Domain: " + M.Name + " - character set " + Tf.CharacterSet +
                  " -> the database's, which is not known: not changed");
          return;
        }
        DropDependents();
        AlterDomainType(mType, tType);
      }
      return;
    }
    DropDependents();
    if (Mf.DataType == Tf.DataType && IsStringType(Mf.DataType) && Mf.Length != Tf.Length) {
      const bool shorter = Mf.Length < Tf.Length;
      if (Allow && !ReadOnlySystem && (Old || shorter))
        LengthBySystemTable();
      else
        AlterDomainType(mType, tType);
      return;
    }
    if (!Old || !TypeBySystemTable()) AlterDomainType(mType, tType);
  }

  // ALTER DOMAIN ... TYPE, with the character set when it is compared and
  // differs. Firebird 3 and later give a domain retyped without one the
  // database's: there it names the one the domain keeps.
  void AlterDomainType(const std::string& mType, const std::string& tType) {
    std::string type = mType;
    if (Mf.IsCharacterType()) {
      std::string cs;
      if (Charsets && (CharsetDiffers() || CollationDiffers())) {
        cs = Mf.CharacterSet;
        // A domain in the database's character set carries none of its own;
        // Firebird 3 and later must be told which one it goes back to, when
        // it is known.
        if (cs.empty() && ReadOnlySystem && CharsetDiffers()) cs = DbCharset;
      } else if (ReadOnlySystem && mType != tType) {
        cs = Charsets ? Mf.CharacterSet : Tf.CharacterSet;
      }
      if (!cs.empty()) type += " CHARACTER SET " + cs;
    }
    if (type == tType) return;
    CharsetWritten = type != mType;
    Change("ALTER DOMAIN " + QName + " TYPE " + type,
           Note(": DataType conversion " + tType + " -> " + type));
  }

  // ---- 8. Length by system table ----
  void LengthBySystemTable() {
    const int32_t bytes =
        Mf.ByteLength > 0 ? Mf.ByteLength : Mf.Length * BytesPerCharacter(Mf.GetCharacterSet());
    Change("UPDATE RDB$FIELDS SET RDB$FIELD_LENGTH=" + std::to_string(bytes) + ", " +
               "RDB$CHARACTER_LENGTH=" + std::to_string(Mf.Length) +
               "\r\n  WHERE RDB$FIELD_NAME=" + Lit,
           Note(": character length alter"));
  }

  // ---- 9. Type by system table (old servers); false when it has no statement ----
  bool TypeBySystemTable() {
    const std::string where = "\r\n  WHERE RDB$FIELD_NAME = " + Lit;
    if (Dialect == 3 && IsDateTimeType(Mf.DataType) && IsDateTimeType(Tf.DataType)) {
      const int code = Mf.DataType == dtDate ? 12 : Mf.DataType == dtTime ? 13 : 35;
      Change("UPDATE RDB$FIELDS SET RDB$FIELD_TYPE=" + std::to_string(code) + where,
             Note(": Date/Time/TimeStamp conversion"));
      return true;
    }
    if (IsExactNumeric(Mf.DataType) && IsExactNumeric(Tf.DataType)) {
      bool written = false;
      if (Mf.Scale != Tf.Scale) {
        Comment("Alter Domain: " + M.Name + " - scale conversion");
        Change("UPDATE RDB$FIELDS SET RDB$FIELD_SCALE = " + std::to_string(-Mf.Scale) + where,
               Note(": Scale conversion"));
        written = true;
      }
      if (Mf.Precision != Tf.Precision) {
        Comment("Alter Domain: " + M.Name + " - precision conversion");
        Change(
            "UPDATE RDB$FIELDS SET RDB$FIELD_PRECISION = " + std::to_string(Mf.Precision) + where,
            Note(": Precision conversion"));
        written = true;
      }
      return written;
    }
    return false;
  }

  // ---- Re-creation (Firebird 3 and later) ----
  // Two changes neither ALTER DOMAIN nor the system tables make there: a
  // collation, and a type change the server refuses (a shorter string, a
  // smaller precision, another scale or family of types). The columns typed
  // by the domain leave it for a moment, the domain is dropped and created
  // as the master has it, and the columns take it again; what uses them has
  // gone first and comes back with its phases. For a collation the columns
  // take the domain's present type; for a refused type change their rows go
  // through a temporary column of the new type (a value that does not fit
  // stops the update), and a routine whose header names the domain takes
  // its new base type there for the while. Not for arrays (their values
  // cannot be cast), nor for a collation when a routine parameter is typed
  // by the domain (the domain cannot go then): the collation difference is
  // then only said.
  bool Recreate() {
    if (!ReadOnlySystem || BothBlobs()) return false;
    const bool forType = TypeRefused();
    if (!forType && !CollationNeedsRecreate()) return false;
    if (!forType)
      for (auto& r : T.UseInList) {
        auto* prc = r->Obj ? r->Obj->As<TPrcData>() : nullptr;
        if (prc && prc->GetExists() && HeaderUsesDomain(*prc, T.Name)) return false;
      }
    DropDependents();
    if (forType) ReleaseRoutineHeaders();
    const std::vector<TFldData*> columns = ColumnsTypedBy(T);
    std::string present = Tf.GetTypeText();
    if (!Tf.CharacterSet.empty()) present += " CHARACTER SET " + Tf.CharacterSet;
    // Where the rows' copies can fail or lose data, the domain's own
    // statements carry that risk too: they only make sense after the copies.
    const std::string risk =
        forType && CompareTypes(Mf, Tf) < 0
            ? "it re-creates domain " + M.Name + " as " + Mf.GetTypeText() + " from " +
                  Tf.GetTypeText() + " after converting its columns' rows, which can fail or "
                  "lose data"
            : std::string();
    auto add = [&](const std::string& sql, const std::string& name, TDbObject kind,
                   uint8_t action, const std::string& parent) {
      if (TStatement* s = Ctx.Exec.AddStatement(sql, skStatement, name, kind, action, parent))
        s->DataRisk = risk;
    };
    auto retype = [&](TFldData& col, const std::string& type) {
      add("ALTER TABLE " + col.GetAlterTableName() + " ALTER " + col.QuoteName(col.Name) +
              " TYPE " + type,
          col.Name, dboField, saAlter, col.TableName);
    };
    Comment("Alter Domain: " + M.Name + " - drop/create for " +
            (forType ? "type change " + Tf.GetTypeText() + " -> " + Mf.GetTypeText()
                     : std::string("collation change")));
    for (TFldData* col : columns) {
      {
        // Also a column the master moves off the domain later releases
        // what uses it.
        TCauseScope cause(&Ctx.Exec, T);
        col->DropDependents();
      }
      if (forType)
        MoveToNewType(*col);
      else
        retype(*col, present);
    }
    add("DROP DOMAIN " + QName, M.Name, dboDomain, saDrop, std::string());
    const std::string create = M.GetCreateSQL();
    add(create, M.Name, dboDomain, saCreate, std::string());
    if (Ctx.ChangeNotes)
      Ctx.ChangeNotes->push_back(
          Note(forType ? ": re-created for type change" : ": re-created for collation change") +
          "\r\n" + create);
    for (TFldData* col : columns) retype(*col, QName);
    return true;
  }

  // A routine whose header names the domain, in the master too, keeps it
  // however its body is emptied, and the domain cannot go then: its header
  // takes the domain's new base type for the while, with the stub body. The
  // procedure phases write the master's routine back, domain and all.
  void ReleaseRoutineHeaders() {
    for (auto& r : T.UseInList) {
      auto* prc = r->Obj ? r->Obj->As<TPrcData>() : nullptr;
      if (!prc || !prc->GetExists() || !HeaderUsesDomain(*prc, T.Name)) continue;
      TPrcData* master = prc->Pair ? prc->Pair->As<TPrcData>() : nullptr;
      if (!master || !HeaderUsesDomain(*master, M.Name)) continue;
      std::vector<std::pair<TFldData*, std::unique_ptr<TFldData>>> typed;
      for (auto* list : {&master->Params, &master->Results})
        for (auto& e : *list) {
          TFldData* p = e.Obj.get();
          if (!p || p->DataType != dtDomain || p->DomainName != M.Name) continue;
          auto kept = std::make_unique<TFldData>(p->Objs, nullptr);
          kept->AssignType(*p);
          p->AssignType(Mf);
          typed.emplace_back(p, std::move(kept));
        }
      const std::string stub = master->GetStubAlterSQL();
      for (auto& [p, kept] : typed) p->AssignType(*kept);
      Ctx.Exec.AddStatement(stub, skProcedure, master->Name, dboProcedure, saEmptyBody);
      prc->EmptyBody(false);
      prc->CompareText = master->WithStubBody(&TPrcData::GetCreateSQL);
      r->Pending = false;
    }
  }

  // ALTER DOMAIN ... TYPE refuses the change of base type.
  bool TypeRefused() {
    if (!Mf.Dimensions.empty() || !Tf.Dimensions.empty()) return false;
    return Mf.GetTypeText() != Tf.GetTypeText() && !IsTypeAlterableInPlace(Mf, Tf);
  }

  // The collation the domain is to have comes only through re-creation:
  // it changes, or the type changes and ALTER DOMAIN ... TYPE would drop it.
  bool CollationNeedsRecreate() {
    const bool sameType = Mf.GetTypeText() == Tf.GetTypeText();
    const bool sameString = Mf.DataType == Tf.DataType && IsStringType(Mf.DataType);
    if (!sameType && !(sameString && Mf.Length >= Tf.Length)) return false;
    if (!CollationDiffers()) return !sameType && !Mf.Collation.empty();
    // A new character set brings its default collation along through TYPE.
    return !(CharsetDiffers() && Mf.Collation.empty());
  }

  // A column of the domain takes the master domain's base type, with its own
  // default and nullability as the master column has them (or as it has them
  // itself when the master moves it off the domain or lacks it), and keeps
  // its rows.
  void MoveToNewType(TFldData& col) {
    TFldData* master = col.Pair ? col.Pair->As<TFldData>() : nullptr;
    const bool follows = master && master->DataType == dtDomain && master->DomainName == M.Name;
    TFldData moved(col.Objs, col.Owner);
    moved.Assign(follows ? *master : col);
    moved.AssignType(Mf);
    moved.Dimensions = Mf.Dimensions;
    moved.TableName = col.TableName;
    moved.CheckExpression.clear();
    RetypeThroughTemporaryColumn(Ctx, moved, col);
    if (!follows) return;
    // The column is now what the master has: the column phases leave it.
    col.Nullable = master->Nullable;
    col.DefaultValue = master->DefaultValue;
    col.DefaultKeyword = master->DefaultKeyword;
    col.SetDescription(master->Description);
  }

  // ---- 3, 4. Character set and collation by system table ----
  void AlterCharsetAndCollation() {
    if (ReadOnlySystem) {
      // A new character set brings its default collation along.
      if (CollationDiffers() && !(CharsetWritten && Mf.Collation.empty()))
        Comment("Alter Domain: " + M.Name + " - collation change not supported: " +
                (Tf.Collation.empty() ? std::string("none") : Tf.Collation) + " -> " +
                (Mf.Collation.empty() ? std::string("none") : Mf.Collation));
      return;
    }
    if (CharsetDiffers()) {
      const std::string& cs = Mf.CharacterSet;
      std::string sql;
      if (cs.empty() || SameTextAscii(cs, "NONE")) {
        if (!SameTextAscii(Tf.CharacterSet, "NONE"))
          sql = "Update Rdb$Fields set Rdb$Character_Set_ID = NULL\r\nwhere Rdb$Field_Name=" + Lit;
      } else {
        sql =
            "Update Rdb$Fields set Rdb$Character_Set_ID =\r\n(Select C.Rdb$Character_Set_ID from "
            "Rdb$Character_Sets C\r\nwhere C.Rdb$Character_Set_Name=" +
            QuoteLiteral(cs, srvInterBase) + ")\r\nwhere Rdb$Field_Name=" + Lit;
      }
      if (!sql.empty()) Change(sql, Note(": CharSet difference"));
    }
    if (CollationDiffers()) {
      std::string sql;
      if (!Mf.Collation.empty())
        sql =
            "Update Rdb$Fields set Rdb$Collation_ID =\r\n(Select C.Rdb$Collation_ID from "
            "Rdb$Collations C\r\nwhere C.Rdb$Collation_Name=" +
            QuoteLiteral(Mf.Collation, srvInterBase) + ")\r\nwhere Rdb$Field_Name=" + Lit;
      else
        sql = "Update Rdb$Fields set Rdb$Collation_ID = NULL\r\nwhere Rdb$Field_Name = " + Lit;
      Change(sql, Note(": Collation difference"));
    }
  }

  // ---- 5. BLOB sub-type and segment size ----
  void AlterBlob() {
    if (!BothBlobs()) return;
    const bool subType = Mf.SubType != Tf.SubType;
    const bool segment = SegmentOf(Mf) != SegmentOf(Tf);
    if (!subType && !segment) return;
    if (ReadOnlySystem) {
      // Neither ALTER DOMAIN nor the system tables can change a blob there.
      Comment("Alter Domain: " + M.Name + " - BLOB conversion not supported: " + Tf.GetTypeText() +
              " -> " + Mf.GetTypeText());
      return;
    }
    DropDependents();
    const std::string where = "\r\nwhere Rdb$Field_Name=" + Lit;
    if (subType)
      Change("Update Rdb$Fields set RDB$FIELD_SUB_TYPE = " + std::to_string(Mf.SubType) + where,
             Note(": Blob SUB_TYPE difference"));
    if (segment)
      Change("Update Rdb$Fields set RDB$SEGMENT_LENGTH = " + std::to_string(SegmentOf(Mf)) + where,
             Note(": Blob SEGMENT SIZE difference"));
  }

  // The temporary-domain method of old servers: a domain "ZEL$TEMP" with
  // the master's definition lends its system-table values, then goes.
  void CopyFromTemporaryDomain(const std::string& update) {
    const std::string name = M.Name;
    M.Name = "ZEL$TEMP";
    const std::string create = M.GetCreateSQL();
    M.Name = name;
    Statement(create);
    Statement(update);
    Statement("DROP DOMAIN ZEL$TEMP");
  }

  // ---- 6. CHECK ----
  void AlterCheck() {
    if (Mf.CheckExpression == Tf.CheckExpression) return;
    Comment("Alter Domain: " + M.Name + " - Check(...)");
    const std::string note = Note(": check expression alter");
    if (Old) {
      const std::string update =
          "Update RDB$Fields set Rdb$Validation_Source =\r\n(Select Rdb$Validation_Source from "
          "Rdb$Fields where Rdb$Field_Name='ZEL$TEMP'),\r\nRdb$Validation_BLR =\r\n(Select "
          "Rdb$Validation_BLR from Rdb$Fields where Rdb$Field_Name='ZEL$TEMP')\r\nwhere "
          "RDB$FIELD_NAME=" +
          Lit;
      CopyFromTemporaryDomain(update);
      if (Ctx.ChangeNotes) Ctx.ChangeNotes->push_back(note + "\r\n" + update);
      return;
    }
    const std::string drop = "ALTER DOMAIN " + QName + " DROP CONSTRAINT";
    if (Mf.CheckExpression.empty()) {
      Change(drop, note);
      return;
    }
    if (!Tf.CheckExpression.empty()) Statement(drop);
    Change("ALTER DOMAIN " + QName + " ADD CHECK " + Mf.CheckExpression, note);
  }

  // ---- 7. DEFAULT ----
  void AlterDefault() {
    const std::string def = Mf.GetDefaultText();
    if (def == Tf.GetDefaultText()) return;
    const std::string note = Note(": Default-value alter");
    if (Old) {
      const std::string update =
          "Update RDB$Fields set Rdb$Default_Source =\r\n(Select Rdb$Default_Source from "
          "Rdb$Fields where Rdb$Field_Name='ZEL$TEMP'),\r\nRdb$Default_Value =\r\n(Select "
          "Rdb$Default_Value from Rdb$Fields where Rdb$Field_Name='ZEL$TEMP')\r\nwhere "
          "RDB$FIELD_NAME=" +
          Lit;
      CopyFromTemporaryDomain(update);
      if (Ctx.ChangeNotes) Ctx.ChangeNotes->push_back(note + "\r\n" + update);
      return;
    }
    Change("ALTER DOMAIN " + QName + (def.empty() ? " DROP DEFAULT" : " SET " + Mf.GetDefaultClause()),
           note);
  }

  // ---- 10. Nullability ----
  void AlterNullability() {
    if (Mf.Nullable == Tf.Nullable) return;
    const std::string note = "Convert: Domain " + QName + ": Nullable difference";
    if (ReadOnlySystem) {
      Change("ALTER DOMAIN " + QName + (Mf.Nullable ? " DROP NOT NULL" : " SET NOT NULL"), note);
    } else if (Allow) {
      Change("Update Rdb$Fields set Rdb$Null_Flag = " + std::string(Mf.Nullable ? "NULL" : "1") +
                 "\r\nwhere Rdb$Field_Name=" + Lit,
             note);
    }
  }
};

// PostgreSQL: only the CHECK of a domain is altered in place. The server
// drops a domain constraint by its name; an unnamed one is "<domain>_check".
void AlterPGDomain(TCompareContext& ctx, TPhaseHeader& header, TDmnData& m, TDmnData& t) {
  if (m.PGOptions->IsBaseType) return;
  const TFldData& mf = *m.BaseField;
  const TFldData& tf = *t.BaseField;
  if (mf.CheckExpression == tf.CheckExpression) return;
  const std::string name = m.GetQualifiedName();
  header.Write();
  std::string sql;
  if (!tf.CheckExpression.empty()) {
    sql = "ALTER DOMAIN " + name + " DROP CONSTRAINT " +
          t.QuoteName(tf.CheckName.empty() ? t.Name + "_check" : tf.CheckName);
    ctx.Exec.AddStatement(sql, skStatement, m.Name, dboDomain, saAlter);
  }
  if (!mf.CheckExpression.empty()) {
    sql = "ALTER DOMAIN " + name + " ADD " +
          (mf.CheckName.empty() ? std::string() : "CONSTRAINT " + m.QuoteName(mf.CheckName) + " ") +
          "CHECK" + mf.CheckExpression;
    ctx.Exec.AddStatement(sql, skStatement, m.Name, dboDomain, saAlter);
  }
  if (ctx.ChangeNotes)
    ctx.ChangeNotes->push_back("Domain " + name + ": Alter constraint\r\n" + sql);
}

const char* DomainHeader(TServerType st, const char* userTypes, const char* types,
                         const char* domains) {
  switch (st) {
    case srvMSSQL:
      return userTypes;
    case srvOracle:
      return types;
    default:
      return domains;
  }
}

template <class Fn>
void ForEachDomain(TObjs& objs, Fn fn) {
  for (int i = 0; i < objs.DmnList.Count(); ++i)
    if (auto* d = objs.DmnList.Objects(i)->As<TDmnData>()) fn(*d);
}

}  // namespace

// ---------------------------------------------------------------------------
// Phases

void CreateDomains(TCompareContext& ctx) {
  TPhaseHeader header(ctx.Exec,
                      DomainHeader(ctx.Target.ServerType, "/* Create User datatypes... */",
                                   "/* Create types... */", "/* Create Domains... */"));
  ForEachDomain(ctx.Master, [&](TDmnData& m) {
    if (m.Pair || m.GetExists()) return;
    header.Write();
    m.CreateDependDef();
    if (!ctx.Compares(coDescription)) return;
    if (!m.BaseField->Description.empty()) ctx.Exec.AddDescription(m.BaseField.get());
    if (!m.Description.empty()) ctx.Exec.AddDescription(&m);
  });
  header.Close();
}

void AlterDomains(TCompareContext& ctx) {
  TPhaseHeader header(ctx.Exec, DomainHeader(ctx.Target.ServerType, "/* Alter User datatypes... */",
                                             "/* Alter types... */", "/* Alter Domains... */"));
  ForEachDomain(ctx.Master, [&](TDmnData& m) {
    auto* t = m.Pair ? m.Pair->As<TDmnData>() : nullptr;
    if (!t) return;
    switch (ctx.Target.ServerType) {
      case srvInterBase:
        TIBDomainAlter(ctx, header, m, *t).Run();
        break;
      case srvPostgreSQL:
        AlterPGDomain(ctx, header, m, *t);
        break;
      default:
        break;
    }
    if (ctx.Compares(coDescription) && m.Description != t->Description &&
        !m.GetDescriptionSQL().empty()) {
      header.Write();
      ctx.Exec.AddDescription(&m);
    }
  });
  header.Close();
}

void DropDomains(TCompareContext& ctx) {
  // A view the master also has is built again once a domain it reads is gone.
  ForEachDomain(ctx.Target, [&](TDmnData& t) {
    if (t.Pair || !t.GetExists()) return;
    for (auto& r : t.UseInList) {
      auto* viw = r->Obj ? r->Obj->As<TViwData>() : nullptr;
      if (viw && ctx.Master.ViwList.Contains(viw->Name)) viw->SetNeedsRecreate(true);
    }
  });
  TPhaseHeader header(ctx.Exec, DomainHeader(ctx.Target.ServerType, "/* Drop user datatypes... */",
                                             "/* Drop types... */", "/* Drop domains... */"));
  ForEachDomain(ctx.Target, [&](TDmnData& t) {
    if (t.Pair || !t.GetExists()) return;
    header.Write();
    t.DropDependDef();
  });
  header.Close();
}

namespace {
constexpr TListPhase kConversions{olCnv, TCounterpart::Pair};
}  // namespace

void CreateConversions(TCompareContext& ctx) { CreateMissingObjects(ctx, kConversions); }

void AlterConversions(TCompareContext& ctx) { RecreateChangedObjects(ctx, kConversions); }

void DropConversions(TCompareContext& ctx) { DropVanishedObjects(ctx, kConversions); }
