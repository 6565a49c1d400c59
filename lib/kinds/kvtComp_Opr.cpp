#include "kinds/kvtComp_Opr.h"

#include "core/kvtCompareContext.h"
#include "kinds/kvtListPhases.h"

namespace {

std::string OrNone(const std::string& type) { return type.empty() ? "NONE" : type; }

// schema.name with the schema quoted; the name alone when there is no schema
// (".name" would not parse).
std::string SchemaPrefix(TDbObj& o) {
  return o.Schema.empty() ? std::string() : o.QuoteName(o.Schema) + ".";
}

}  // namespace

// ---------------------------------------------------------------------------
// TOprData

std::string TOprData::GetArgumentPair() const {
  return "(" + OrNone(LeftArg) + ", " + OrNone(RightArg) + ")";
}

std::string TOprData::GetListKey() { return Schema + "." + Name + " " + GetArgumentPair(); }

std::string TOprData::GetCreateSQL() {
  std::string s = "CREATE OPERATOR " + SchemaPrefix(*this) + Name + "(\r\nPROCEDURE = " +
                  QuoteName(ProcedureName);
  auto option = [&s](const char* label, const std::string& value) {
    if (!value.empty()) s += std::string(",\r\n") + label + value;
  };
  option("LEFTARG = ", LeftArg);
  option("RIGHTARG = ", RightArg);
  option("COMMUTATOR = ", Commutator);
  option("NEGATOR = ", Negator);
  option("RESTRICT = ", RestrictProc);
  option("JOIN = ", JoinProc);
  if (Hashes) s += ",\r\nHASHES";
  if (Merges) s += ",\r\nMERGES";
  option("SORT1 = ", Sort1);
  option("SORT2 = ", Sort2);
  option("LTCMP = ", LtCmp);
  option("GTCMP = ", GtCmp);
  return s + ")";
}

std::string TOprData::GetDropSQL() {
  return "DROP OPERATOR " + SchemaPrefix(*this) + Name + GetArgumentPair();
}

// ---------------------------------------------------------------------------
// TOpcData

std::string TOpcData::GetListKey() { return Name + "(" + IndexMethod + ")"; }

std::string TOpcData::GetCreateSQL() {
  std::string s = "CREATE OPERATOR CLASS " + SchemaPrefix(*this) + QuoteName(Name);
  if (IsDefault) s += " DEFAULT";
  s += " FOR TYPE " + QuoteName(ForType) + " USING " + IndexMethod + " AS\r\n";
  bool first = true;
  auto entry = [&s, &first](const std::string& text) {
    if (!first) s += ",\r\n";
    s += text;
    first = false;
  };
  for (const auto& o : Operators) {
    std::string text = "OPERATOR " + std::to_string(o->StrategyNumber) + " " + o->OperatorName;
    if (!o->LeftType.empty() || !o->RightType.empty())
      text += " (" + OrNone(o->LeftType) + ", " + OrNone(o->RightType) + ")";
    entry(text);
  }
  for (const auto& f : Functions) {
    TDbObj& quoter = f->Owner ? static_cast<TDbObj&>(*f->Owner) : *this;
    std::string text = "FUNCTION " + std::to_string(f->SupportNumber) + " " +
                       quoter.QuoteName(f->FunctionName) + "(";
    for (size_t i = 0; i < f->ArgTypes.size(); ++i) text += (i ? ", " : "") + f->ArgTypes[i];
    entry(text + ")");
  }
  if (!StorageType.empty()) entry("STORAGE " + StorageType);
  return s;
}

std::string TOpcData::GetDropSQL() {
  return "DROP OPERATOR CLASS " + SchemaPrefix(*this) + QuoteName(Name) + " USING " + IndexMethod;
}

// ---------------------------------------------------------------------------
// Phases

namespace {
constexpr TListPhase kOperators{olOpr, TCounterpart::Pair};
constexpr TListPhase kOperatorClasses{olOpc, TCounterpart::Pair};
}  // namespace

void CreateOperators(TCompareContext& ctx) { CreateMissingObjects(ctx, kOperators); }
void AlterOperators(TCompareContext& ctx) { RecreateChangedObjects(ctx, kOperators); }
void DropOperators(TCompareContext& ctx) { DropVanishedObjects(ctx, kOperators); }
void CreateOperatorClasses(TCompareContext& ctx) { CreateMissingObjects(ctx, kOperatorClasses); }
void AlterOperatorClasses(TCompareContext& ctx) { RecreateChangedObjects(ctx, kOperatorClasses); }
void DropOperatorClasses(TCompareContext& ctx) { DropVanishedObjects(ctx, kOperatorClasses); }
