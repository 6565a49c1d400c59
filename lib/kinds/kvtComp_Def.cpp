#include "kinds/kvtComp_Def.h"

#include "core/kvtCompareContext.h"
#include "kinds/kvtListPhases.h"

// ---------------------------------------------------------------------------
// TDefData

std::string TDefData::GetCreateSQL() {
  switch (GetServerType()) {
    case srvMSSQL:
      // MS SQL keeps the name as written, always in brackets.
      if (Expression.empty()) return StatementText;
      return "CREATE DEFAULT [" + Name + "] AS " + Expression;
    default:
      return "CREATE DEFAULT " + QuoteName(Name) + " AS " + Expression;
  }
}

// ---------------------------------------------------------------------------
// TCltData

std::string TCltData::GetCreateSQL() {
  if (GetServerType() != srvInterBase) return std::string();
  auto L = [](const std::string& s) { return QuoteLiteral(s, srvInterBase); };
  std::string s = "CREATE COLLATION " + QuoteName(Name) + "\r\n";
  s += "FOR " + CharacterSet + "\r\n";
  if (!FromCollation.empty())
    s += "FROM " + FromCollation + "\r\n";
  else if (!ExternalName.empty())
    s += "FROM EXTERNAL(" + L(ExternalName) + ")\r\n";
  s += PadSpace ? "PAD SPACE\r\n" : "NO PAD\r\n";
  s += CaseSensitive ? "CASE SENSITIVE\r\n" : "CASE INSENSITIVE\r\n";
  s += AccentSensitive ? "ACCENT SENSITIVE\r\n" : "ACCENT INSENSITIVE\r\n";
  if (!Attributes.empty()) s += L(Attributes) + "\r\n";
  return s;
}

// ---------------------------------------------------------------------------
// Phases: an object's counterpart is the one under its key in the other list.

namespace {
constexpr TListPhase kCreateDefaults{olDef, TCounterpart::Namesake, "Create Default...", true};
constexpr TListPhase kAlterDefaults{olDef, TCounterpart::Namesake, "Alter Default...", true};
constexpr TListPhase kDropDefaults{olDef, TCounterpart::Namesake, "Drop Default...", true};
constexpr TListPhase kCreateCollations{olClt, TCounterpart::Namesake, "Create Collation...", true};
constexpr TListPhase kAlterCollations{olClt, TCounterpart::Namesake, "Alter Collation...", true};
constexpr TListPhase kDropCollations{olClt, TCounterpart::Namesake, "Drop Collation...", true};
}  // namespace

void CreateDefaults(TCompareContext& ctx) { CreateMissingObjects(ctx, kCreateDefaults); }
void AlterDefaults(TCompareContext& ctx) { RecreateChangedObjects(ctx, kAlterDefaults); }
void DropDefaults(TCompareContext& ctx) { DropVanishedObjects(ctx, kDropDefaults); }
void CreateCollations(TCompareContext& ctx) { CreateMissingObjects(ctx, kCreateCollations); }
void AlterCollations(TCompareContext& ctx) { RecreateChangedObjects(ctx, kAlterCollations); }
void DropCollations(TCompareContext& ctx) { DropVanishedObjects(ctx, kDropCollations); }
