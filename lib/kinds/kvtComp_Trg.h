// Triggers.
#pragma once

#include <cstdint>
#include <string>

#include "core/kvtClasses.h"

class TFldData;

// When a trigger fires (TriggerTime).
enum : uint8_t { ttBefore = 1, ttAfter = 2, ttFor = 4, ttInsteadOf = 5 };

// Events of a trigger (Events), combined as a set.
enum : uint8_t { teInsert = 2, teUpdate = 4, teDelete = 8 };

// A trigger of a table or view, or a database trigger. It is compared by its
// rendered DDL and takes part in the stub scheme: a trigger whose body must
// not see an object while that object changes is altered to an empty body
// and written again later. A changed header (table, time, events, options)
// drops and creates it; a changed body alters it.
class TTrgData : public TDbObj {
 public:
  explicit TTrgData(TObjs* aObjs);
  ~TTrgData() override;
  const char* ClassName() const override { return "TTrgData"; }
  TObjListId GetListId() const override { return olTrg; }
  TDbObj* GetParentObj() const override { return Table; }
  std::string GetParentName() const override { return TableName; }
  std::string GetCreateSQL() override;
  // Other triggers of its view that call it are emptied first.
  void DropDependents() override;
  std::string GetDropSQL() override;
  std::string GetAlterSQL() override;
  // The CREATE text with the body as parsed.
  std::string GetSQLText() override;
  // MySQL: the CREATE text placed among the triggers that fire for the same
  // table, time and event (FOLLOWS / PRECEDES one of them).
  std::string GetCreateScript() override;
  // A trigger statement; the body it was created with is remembered.
  void AppendCreateStatement() override;
  // Emptied to its stub (dropped for PostgreSQL and ASE) when what it uses goes.
  bool ReleaseUse(TDbObj& used) override;

  // ---- Fields, in declaration order ----
  // Table or view the trigger belongs to; "DATABASE" or "ALL SERVER" for a
  // database trigger. Write through SetTableName, which resolves Table.
  std::string TableName;
  TDbObj* Table = nullptr;    // that table or view when resolved; not owned
  bool NeedsRestore = false;  // body replaced by the stub; write through SetNeedsRestore
  std::string ParsedBody;     // the body as parsed, kept for GetSQLText
  std::string CreatedBody;    // Body when the script created the trigger
  bool Active = true;         // InterBase/Firebird ACTIVE / INACTIVE
  uint8_t TriggerTime = 0;    // tt... value
  uint8_t Events = 0;         // te... bits
  int32_t Position = 0;       // InterBase/Firebird POSITION; SQL Anywhere ORDER; 0 = none
  int32_t TypeCode = 0;       // InterBase/Firebird trigger type code
  TNamedObjList<TFldData> UpdateColumns;  // columns of UPDATE OF
  std::string NewAlias;       // REFERENCING NEW AS
  std::string OldAlias;       // REFERENCING OLD AS
  std::string RemoteAlias;    // SQL Anywhere REFERENCING REMOTE AS
  std::string NewTableAlias;  // DB2 NEW_TABLE AS
  std::string OldTableAlias;  // DB2 OLD_TABLE AS
  std::string ParentAlias;    // Oracle PARENT AS
  std::string WhenCondition;  // Oracle and DB2 WHEN condition
  bool ForEachRow = false;
  bool ForEachStatement = false;
  std::string Mode;              // DB2 MODE
  uint8_t TransactSqlStyle = 0;  // SQL Anywhere: 1 = the Transact-SQL form
  bool WithAppend = false;         // MS SQL WITH APPEND
  bool NotForReplication = false;  // MS SQL NOT FOR REPLICATION
  // MySQL: the header as the script wrote it, from the name to FOR EACH ROW,
  // and the text between it and the body (a FOLLOWS / PRECEDES clause left
  // out). The server keeps both as written and its dump writes them back so;
  // they stand in place of the header rendered from the fields when set.
  std::string HeaderText;
  std::string BodySeparator;
  // MySQL FOLLOWS (PRECEDES when OrderPrecedes) OrderTrigger, as parsed. The
  // parser turns it into Position, the firing order among the triggers of
  // the same table, time and event (1 fires first), and links those
  // triggers in that order through OrderPrev and OrderNext (not owned).
  std::string OrderTrigger;
  bool OrderPrecedes = false;
  TTrgData* OrderPrev = nullptr;
  TTrgData* OrderNext = nullptr;
  // MySQL master trigger whose target namesake fires out of the master's
  // order: it is created again, in its place.
  bool OutOfOrder = false;
  // Event clause of a database trigger (InterBase/Firebird: the event after
  // ON; MS SQL: the DDL event list after FOR).
  std::string DatabaseEvent;

  // ---- Operations ----
  // Stores the name and, when it changes or Table is not resolved yet, looks
  // the table (then the view) up in the trigger's container; SQL Anywhere
  // keys it by owner and name.
  void SetTableName(const std::string& name);
  void SetNeedsRestore(bool value);
  // Body of the empty stand-in the script empties the trigger to.
  std::string GetStubBody();
  // The CREATE text with the stub body.
  std::string GetStubCreateSQL();
  bool HasStubBody();
  // A database trigger ("DATABASE", "ALL SERVER") rather than one of a table or view.
  bool IsDatabaseTrigger() const;
  // Replaces the body by the stub and writes that to the target (with
  // `action`), when the trigger exists and its body is not the stub yet.
  // Nothing for MySQL, which binds trigger bodies when they fire (and would
  // change the firing order by creating the trigger again).
  void EmptyBody(uint8_t action);
  void EmptyBody();  // written as an alteration
  // Writes the current text over the trigger the target holds: ALTER, or
  // what the dialect has instead (CREATE OR REPLACE, DROP and CREATE).
  void WriteDefinition(uint8_t action);
  bool SameText(const std::string& a, const std::string& b) const;

 private:
  std::string IBTypeText() const;
  std::string MSSQLHeader(const char* verb);
  // The event words in the order INSERT, UPDATE, DELETE, joined by `sep`.
  std::string EventWords(const char* sep) const;
  // The MySQL CREATE text with `order` (a FOLLOWS / PRECEDES clause or
  // nothing) after FOR EACH ROW.
  std::string MySQLCreateText(const std::string& order);
};

// Comparison phases of triggers.
struct TCompareContext;
// Vanished triggers of views: emptied before their views go.
void EmptyTriggersOnDroppedViews(TCompareContext& ctx);
// Vanished triggers; for MySQL first marks the paired triggers that fire
// out of the master's order.
void DropTriggers(TCompareContext& ctx);
// New triggers.
void CreateTriggers(TCompareContext& ctx);
// Changed triggers and the bodies emptied or created as stubs earlier.
void AlterTriggers(TCompareContext& ctx);
