#include "kinds/kvtComp_Rul.h"

#include "core/kvtCompareContext.h"
#include "kinds/kvtListPhases.h"

namespace {

// PostgreSQL: the word after ON, with its trailing blank; empty for other values.
const char* RuleEventWord(uint8_t event) {
  switch (event) {
    case reInsert: return "INSERT ";
    case reUpdate: return "UPDATE ";
    case reDelete: return "DELETE ";
    case reSelect: return "SELECT ";
    default: return "";
  }
}

std::string Qualified(const std::string& schema, const std::string& name) {
  return schema.empty() ? name : schema + "." + name;
}

}  // namespace

std::string TRulData::GetCreateSQL() {
  switch (GetServerType()) {
    case srvMSSQL:
      // MS SQL keeps the name as written, always in brackets.
      if (Expression.empty()) return StatementText;
      return "CREATE RULE [" + Name + "] AS " + Expression;
    case srvPostgreSQL: {
      std::string s = "CREATE RULE " + QuoteName(Name) + " AS ON " + RuleEventWord(RuleEvent) +
                      "TO " + Qualified(TableSchema, TableName) + " DO";
      if (!DoClause.empty()) s += " " + DoClause;
      if (DoNothing) s += " NOTHING";
      if (!Expression.empty()) s += "\r\n " + Expression;
      return s;
    }
    default:
      return "CREATE RULE " + GetQualifiedName() + " AS " + Expression;
  }
}

std::string TRulData::GetDropSQL() {
  if (GetServerType() == srvPostgreSQL)
    return "DROP RULE IF EXISTS " + QuoteName(Name) + " ON " + Qualified(Schema, TableName);
  return TDbObj::GetDropSQL();
}

namespace {
constexpr TListPhase kCreateRules{olRul, TCounterpart::Namesake, "Create Rule...", true};
constexpr TListPhase kAlterRules{olRul, TCounterpart::Namesake, "Alter Rule...", true};
constexpr TListPhase kDropRules{olRul, TCounterpart::Namesake, "Drop Rule...", true};
}  // namespace

void CreateRules(TCompareContext& ctx) { CreateMissingObjects(ctx, kCreateRules); }
void AlterRules(TCompareContext& ctx) { RecreateChangedObjects(ctx, kAlterRules); }
void DropRules(TCompareContext& ctx) { DropVanishedObjects(ctx, kDropRules); }
