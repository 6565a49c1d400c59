// Column alteration: a column that exists on both sides with a different
// definition is changed in place where the target dialect can do it, and
// otherwise rebuilt so that its rows are kept: through a temporary column
// (InterBase/Firebird) or a copy of the whole table (MS SQL column order).
// What depends on the column is dropped first and created again by the later
// phases; statements that can fail or lose precision on existing rows carry
// a warning comment and their DataRisk.
#pragma once

struct TCompareContext;
class TFldData;
class TObjs;

// How the master column's type relates to the target's: 0 when nothing that
// matters differs, 1 when the master type holds every value of the target
// type (a safe change), -1 when it cannot (narrowing, a change of family,
// different array dimensions). A domain-typed column is read as its domain's
// base column; an unknown domain gives 1.
int CompareTypes(TFldData& master, TFldData& target);

// InterBase/Firebird: whether ALTER COLUMN ... TYPE and ALTER DOMAIN ... TYPE
// take a change of base type from `from` to `to`: only widening within
// integers, exact numerics of the same scale and character strings; a type
// otherwise stays as it is. Character sets and collations are not looked at.
bool IsTypeAlterableInPlace(TFldData& to, TFldData& from);

// InterBase/Firebird: the table column `column` of the target takes the
// definition `definition` (same name, same table) where the server's ALTER
// COLUMN ... TYPE refuses the change: a temporary column of the new
// definition, its character set and collation included, gets the rows
// through a cast and then takes the column's name. What uses the column is
// dropped first and restored by the later phases, and so is the column
// order.
void RetypeThroughTemporaryColumn(TCompareContext& ctx, TFldData& definition, TFldData& column);

// InterBase/Firebird: whether the system tables may be written directly
// (the user allowed it, and the server is older than Firebird 3.0, whose
// system tables are read-only).
bool CanRewriteSystemTables(const TObjs& target);

// MS SQL: whether ALTER COLUMN converts the target's type to the master's
// implicitly.
bool IsImplicitlyConvertible(const TFldData& master, const TFldData& target);

// ---- Comparison phases ----

// Every column pair of paired tables whose definitions differ is altered in
// the target's dialect; a MySQL table whose columns moved gets its order
// fixed first.
void AlterColumns(TCompareContext& ctx);
// MySQL: gives the columns whose AUTO_INCREMENT was held back while their
// keys changed their master definition again, once the keys are made.
void RestoreAutoIncrement(TCompareContext& ctx);
// MS SQL with UpdateColumnPosition: every table whose column list changed is
// re-created through a "kvt$" copy that keeps its rows, with its indexes,
// keys, triggers and views restored.
void RecreateTablesForColumnOrder(TCompareContext& ctx);
