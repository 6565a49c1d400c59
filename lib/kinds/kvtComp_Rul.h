// Rules.
#pragma once

#include <cstdint>
#include <string>

#include "core/kvtClasses.h"

// PostgreSQL rule events (RuleEvent); other values write no event word.
enum : uint8_t { reInsert = 1, reUpdate = 2, reDelete = 3, reSelect = 5 };

// An MS SQL rule object or a PostgreSQL query-rewrite rule. Its DDL and
// comparison phases are added with the rule kind.
class TRulData : public TDbObj {
 public:
  explicit TRulData(TObjs* aObjs) : TDbObj(aObjs) { ObjType = dboRule; }
  const char* ClassName() const override { return "TRulData"; }
  TObjListId GetListId() const override { return olRul; }

  // The condition after AS; PostgreSQL: the rule's command text. An empty
  // MS SQL rule is created from StatementText.
  std::string Expression;
  uint8_t RuleEvent = 0;    // PostgreSQL ON event
  std::string TableName;    // PostgreSQL: the table the rule is on
  std::string TableSchema;  // PostgreSQL: that table's schema, may be empty
  std::string DoClause;     // PostgreSQL: text right after DO, may be empty
  bool DoNothing = false;   // PostgreSQL DO NOTHING
};
