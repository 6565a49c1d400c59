// Rules: MS SQL rule objects and PostgreSQL query-rewrite rules, compared by
// their creation text and re-created when it differs.
#pragma once

#include <cstdint>
#include <string>

#include "core/kvtClasses.h"

// PostgreSQL rule events (RuleEvent); other values write no event word.
enum : uint8_t { reInsert = 1, reUpdate = 2, reDelete = 3, reSelect = 5 };

struct TCompareContext;

// An MS SQL rule object or a PostgreSQL query-rewrite rule.
class TRulData : public TDbObj {
 public:
  explicit TRulData(TObjs* aObjs) : TDbObj(aObjs) { ObjType = dboRule; }
  const char* ClassName() const override { return "TRulData"; }
  TObjListId GetListId() const override { return olRul; }

  std::string GetCreateSQL() override;
  // The creation text, without selecting a current schema.
  std::string GetCreateScript() override { return GetCreateSQL(); }
  std::string GetDropSQL() override;

  // The condition after AS; PostgreSQL: the rule's command text. An empty
  // MS SQL rule is created from StatementText.
  std::string Expression;
  uint8_t RuleEvent = 0;    // PostgreSQL ON event
  std::string TableName;    // PostgreSQL: the table the rule is on
  std::string TableSchema;  // PostgreSQL: that table's schema, may be empty
  std::string DoClause;     // PostgreSQL: text right after DO, may be empty
  bool DoNothing = false;   // PostgreSQL DO NOTHING
};

// Comparison phases: new rules, changed rules (dropped and created again)
// and vanished rules.
void CreateRules(TCompareContext& ctx);
void AlterRules(TCompareContext& ctx);
void DropRules(TCompareContext& ctx);
