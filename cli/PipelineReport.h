// What the command-line tool tells pipelines about an update script: a
// summary of the changed objects (as text or JSON), the statements that
// destroy data, and why a dependent object is dropped or created again.
//
// Everything here reads the statement list the comparison produced; the
// library's own output is untouched.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "core/kvtTypes.h"

class TCustomSQLExec;
class TStatement;

// One object the update script changes.
struct TChangeEntry {
  std::string Action;  // "create", "alter", "drop" or "recreate"
  std::string Kind;    // "table", "column", "view", "procedure", ...
  std::string Name;    // qualified as users write it: TABLE.COLUMN for a column
  // For a drop or re-creation forced by another object: that object and what
  // happened to it ("column ORDERS.AMOUNT altered"); empty otherwise.
  std::string Reason;
  std::vector<size_t> Statements;  // indexes into the statement list, in order
};

// The changed objects in the order of their first statement. Header,
// comment and commit statements belong to no object.
std::vector<TChangeEntry> SummarizeChanges(const TCustomSQLExec& exec);

// One line per entry: kind, name, what happens to it and, when forced by
// another object, why ("view V_ORDERS recreated: column ORDERS.AMOUNT altered").
std::string FormatSummaryText(const std::vector<TChangeEntry>& changes, bool crlf);

// The same as one JSON array of objects {action, kind, name, reason,
// statements}, the statements as the script writes them; stable across runs.
std::string FormatSummaryJson(const std::vector<TChangeEntry>& changes,
                              const TCustomSQLExec& exec, bool crlf);

// Why running the statement destroys data (a dropped table or column, a
// type change that can truncate or fail); empty when it does not.
std::string DataLossReason(const TStatement& st);

// For each statement of the list, the entry it belongs to (null for header
// and comment statements).
std::vector<const TChangeEntry*> EntriesByStatement(const std::vector<TChangeEntry>& changes,
                                                    size_t statementCount);

// The text of the comment that says why the statement's object is dropped,
// emptied or created again because of another object; empty when the
// statement is the object's own change. `entry` is the statement's entry.
std::string ExplainStatement(const TStatement& st, const TChangeEntry* entry);

// The user-facing word of an object kind ("table", "primary key", ...).
std::string KindWord(TDbObject kind);
