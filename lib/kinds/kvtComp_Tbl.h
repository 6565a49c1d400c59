// Tables and the small table-related kinds (schemas, SQL Anywhere
// publications), their DDL in every dialect, and the table comparison phases:
// match, create tables and columns, alter table-level attributes, drop columns
// and tables, restore column order, publications and schemas.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "core/kvtClasses.h"
#include "core/kvtTypes.h"
#include "kinds/kvtCompColumn.h"

class TMySQLTableOptions;
class TObjs;
struct TCompareContext;

// ON COMMIT clause of a temporary table (OnCommit).
enum : uint8_t { ocNone = 0, ocDeleteRows = 1, ocPreserveRows = 2 };

class TTblData : public TDbObj {
 public:
  explicit TTblData(TObjs* aObjs);
  ~TTblData() override;
  const char* ClassName() const override { return "TTblData"; }
  TObjListId GetListId() const override { return olTbl; }

  // ---- Fields, in declaration order ----
  // While set, computed columns are left out of the CREATE TABLE text and are
  // not marked existing by CreateDependencies.
  bool ComputedPass = false;
  bool Changed = false;  // the column list changed in this run; write through SetChanged
  std::unique_ptr<TTableSpace> TableSpace;           // Oracle physical attributes
  std::unique_ptr<TMySQLTableOptions> MySQLOptions;  // MySQL table options
  // Columns in declaration order; names compare case-insensitively only for MS SQL.
  TNamedObjList<TFldData> Fields;
  bool InBoth = false;     // match phase: the table has a counterpart
  bool Unchanged = false;  // match phase: no difference found
  std::string ExternalFile;
  bool GlobalTemporary = false;
  uint8_t OnCommit = ocNone;
  std::string OfType;
  std::string AsQuery;
  std::string NestedTable;
  std::string PhysicalText;
  std::string StoreAs;
  std::string Storage;
  std::string Cluster;
  std::string ClusterColumns;
  std::string Lob;
  bool NoLogging = false;
  bool Compress = false;
  std::string TablespaceName;
  std::string PartitionBy;
  std::string PartitionList;
  bool WithOids = false;

  // ---- Overrides ----
  bool GetExists() override;
  std::string GetCreateSQL() override;  // the CREATE TABLE text
  void CreateDependDef() override;
  void DropDependents() override;
  void CreateDependencies() override;
  void MarkCreated() override;
  std::string GetCreateScript() override;  // GetCreateSQL, telling the list the schema
  std::string GetDropSQL() override;       // "DROP TABLE " + qualified name
  TDbObj* FindColumn(const std::string& name) override { return FindField(name); }
  void ForEachColumn(const std::function<void(TDbObj&)>& fn) override;
  // A table the master has by name keeps its data: never dropped.
  bool IsKeptForMaster() override;
  // A table needed by a user is created (a computed column's table without
  // its other computed columns, unless it uses one of them).
  void ProvideFor(TDbObj& user, TDependObj& r) override;

  // ---- Operations ----
  void SetComputedPass(bool value) { ComputedPass = value; }
  // Also sets the flag on the Pair.
  void SetChanged(bool value);
  bool HasIdentityColumn() const;
  // Flags every view that uses the table for re-creation.
  void MarkDependentViewsForRecreate();
  // The table text without "CREATE " (also the type text of an MS SQL or ASE
  // column of type TABLE). Not for MySQL, whose CREATE text is built whole.
  std::string GetTableText();
  // Appends a column: sets its Position, Owner and TableName; the table owns it.
  TFldData* AddField(std::unique_ptr<TFldData> field);
  // The column of that name under the dialect's case rule; null when absent.
  TFldData* FindField(const std::string& name);
  // The field list's case rule follows the server type (case-insensitive for MS SQL).
  void UpdateFieldCase();

 private:
  std::string GetMySQLCreateSQL();
};

// A schema (Oracle, MS SQL, PostgreSQL, DB2).
class TSchData : public TDbObj {
 public:
  explicit TSchData(TObjs* aObjs);
  const char* ClassName() const override { return "TSchData"; }
  TObjListId GetListId() const override { return olSch; }

  std::string SchemaOwner;  // AUTHORIZATION owner

  std::string GetCreateSQL() override;
  std::string GetDropSQL() override;
};

class TPblData;

// One article of an SQL Anywhere publication: a table and, optionally, some
// of its columns.
class TPblArtData {
 public:
  TPblArtData() = default;
  ~TPblArtData();
  TPblArtData(const TPblArtData&) = delete;
  TPblArtData& operator=(const TPblArtData&) = delete;

  TNamedObjList<TFldData> Columns;  // column names; objects, when present, owned
  TPblData* Publication = nullptr;  // back reference
  std::string TableName;
  std::string TableOwner;

  std::string GetText(TDbObj& quoter) const;
};

// An SQL Anywhere publication.
class TPblData : public TDbObj {
 public:
  explicit TPblData(TObjs* aObjs);
  ~TPblData() override;
  const char* ClassName() const override { return "TPblData"; }
  TObjListId GetListId() const override { return olPbl; }

  // Articles sorted by name (AddArticle keeps the order).
  TNamedObjList<TPblArtData> Articles;

  TPblArtData* AddArticle(const std::string& name, std::unique_ptr<TPblArtData> article);

  std::string GetCreateSQL() override;
  std::string GetDropSQL() override;
  void CreateDependencies() override;
};

// ---- Comparison phases (run by the comparer in its fixed sequence) ----

// Pairs the columns of paired tables and decides which tables are unchanged.
void MatchTables(TCompareContext& ctx);
// New tables: created without computed columns, which follow as ALTER ... ADD.
void CreateTables(TCompareContext& ctx);
// New columns of existing tables.
void CreateColumns(TCompareContext& ctx);
// Table-level changes: descriptions, GLOBAL TEMPORARY, MySQL engine and charset.
void AlterTables(TCompareContext& ctx);
// Marks paired tables whose columns are in a different order as Changed.
void CheckColumnOrder(TCompareContext& ctx);
// Vanished columns, then vanished tables.
void DropColumnsAndTables(TCompareContext& ctx);
// Column positions of tables marked Changed (InterBase/Firebird).
void RestoreColumnOrder(TCompareContext& ctx);
void DropPublications(TCompareContext& ctx);
void AlterPublications(TCompareContext& ctx);
void CreatePublications(TCompareContext& ctx);
void CreateSchemas(TCompareContext& ctx);
void AlterSchemas(TCompareContext& ctx);
void DropSchemas(TCompareContext& ctx);
// Run once after extraction: MySQL table options and Oracle physical
// attributes written on one side only do not count as differences.
void NormalizeTables(TObjs& master, TObjs& target);
