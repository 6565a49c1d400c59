// Table constraints: primary, unique and foreign keys, checks, defaults.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/kvtClasses.h"
#include "core/kvtTypes.h"
#include "kinds/kvtComp_Idx.h"

class TFldData;
struct TCompareContext;

// Constraint types (ConstraintType). Type 4 is unused.
enum : uint8_t {
  ctPrimaryKey = 0,
  ctUnique = 1,
  ctForeignKey = 2,
  ctCheck = 3,
  ctDefault = 5,     // MS SQL, ASE
  ctNotNull = 6,     // Oracle
  ctReferences = 7   // the column REFERENCES form
};

// PostgreSQL MATCH clause of a foreign key (MatchType).
enum : uint8_t { mtNone = 0, mtFull = 1, mtPartial = 2 };

// Referential actions (OnUpdate, OnDelete).
enum : uint8_t { raNone = 0, raRestrict = 1, raCascade = 2, raSetDefault = 3, raSetNull = 4 };

// A table constraint: its clause, its ALTER TABLE ... ADD and DROP texts in
// every dialect, the walks that take foreign keys down before the keys they
// reference, and the phases that drop changed constraints early and create
// new and changed ones late.
class TCtrData : public TDbObj {
 public:
  explicit TCtrData(TObjs* aObjs);
  ~TCtrData() override;
  const char* ClassName() const override { return "TCtrData"; }
  TObjListId GetListId() const override { return olCtr; }
  std::string GetParentName() const override { return TableName; }
  const char* GetAutoNamePrefix() const override;
  void AddedToList(const std::string& key) override;

  // ---- Fields, in declaration order ----
  uint8_t ConstraintType = ctForeignKey;    // write through SetConstraintType
  std::unique_ptr<TTableSpace> TableSpace;  // Oracle storage of the implied index
  std::string TableName;                    // constrained table; write through SetTableName
  std::string RefTableName;  // referenced table (FOREIGN KEY, REFERENCES); SetRefTableName
  std::string RefSchema;     // MS SQL schema of the referenced table; SetRefSchema
  TNamedObjList<TFldData> Fields;  // constrained columns
  std::string RefTableOwner;       // SQL Anywhere owner of the referenced table
  std::string RoleName;            // SQL Anywhere foreign-key role name
  TNamedObjList<TFldData> RefFields;  // referenced columns
  uint8_t MatchType = mtNone;         // PostgreSQL MATCH FULL / PARTIAL
  uint8_t OnUpdate = raNone;
  uint8_t OnDelete = raNone;
  bool DescIndex = false;  // InterBase/Firebird: USING DESC INDEX
  // InterBase/Firebird USING [DESC] INDEX name; MySQL unique key name; other
  // dialects: text written verbatim after the key.
  std::string IndexName;
  bool CheckOnCommit = false;      // SQL Anywhere CHECK ON COMMIT
  bool Clustered = false;          // MS SQL / SQL Anywhere CLUSTERED
  bool NotForReplication = false;  // MS SQL NOT FOR REPLICATION
  bool Deferrable = false;         // PostgreSQL DEFERRABLE
  bool InitiallyDeferred = false;  // PostgreSQL INITIALLY DEFERRED
  // How many constraints the container held when this one was added: the
  // order of the script, which CHECK constraints are created in.
  int32_t AddOrder = 0;
  bool DeferrableInitiallyDeferred = false;    // Oracle DEFERRABLE INITIALLY DEFERRED
  std::unique_ptr<TIndexOptions> IndexOptions;  // options of the implied index (not written)

  // ---- Overrides ----
  // The name, else the server-generated name, else the ADD text.
  std::string GetDisplayName() override;
  // A named constraint: the base key (MySQL: table + "." + name, its key
  // names being per table). An unnamed one: its ADD text, which names its
  // table and columns, so two unnamed constraints share a key only when
  // they are the same constraint.
  std::string GetListKey() override;
  std::string GetCreateSQL() override;  // ALTER TABLE ... ADD (Oracle NOT NULL: MODIFY)
  // A primary or unique key first takes down the foreign keys that
  // reference it (and, on MySQL, those of its own table resting on its index).
  void DropDependents() override;
  // Creates the table and columns the constraint is on and, for a foreign
  // key, the key it references.
  void CreateDependencies() override;
  std::string GetDropSQL() override;
  // While the key is rendered, InterBase/Firebird names stay unquoted, as in
  // SQL dialect 1, so that the key does not depend on the dialect.
  std::string QuoteName(const std::string& name) override;
  // A removal that is only a note goes to the script as a comment; a
  // Firebird lookup block runs between COMMITs, so that it sees the DDL
  // before it and the DDL after it sees its change.
  void AppendDropStatement(const std::string& name) override;
  // A constraint goes with the table or column it is on.
  bool ReleaseUse(TDbObj& used) override;

  // ---- Operations ----
  // Also sets ObjType to the matching kind (types 4 and 6 leave it unchanged).
  void SetConstraintType(uint8_t value);
  // The table names are upper-cased for MS SQL unless its compare options
  // keep identifier case, like the object's own name.
  void SetTableName(const std::string& value);
  void SetRefTableName(const std::string& value);
  void SetRefSchema(const std::string& value);

  // Quoted names of Fields / RefFields separated by ", ".
  std::string GetColumnList();
  std::string GetRefColumnList();
  // The constraint clause as written inside CREATE TABLE or after ADD.
  // `single`: the clause follows a column added by ALTER TABLE ... ADD.
  std::string GetInlineSQL(bool single);

  bool IsKey() const { return ConstraintType == ctPrimaryKey || ConstraintType == ctUnique; }
  // A FOREIGN KEY, or the column REFERENCES form.
  bool IsReference() const {
    return ConstraintType == ctForeignKey || ConstraintType == ctReferences;
  }
  // The schema of the referenced table: RefSchema, else the constraint's own.
  const std::string& GetRefSchema() const { return RefSchema.empty() ? Schema : RefSchema; }
  // For a reference: the primary or unique key of the same container that it
  // points at (its columns are RefFields; without them, the primary key).
  TCtrData* FindReferencedKey();
  // For a key: the references of the same container that point at it.
  std::vector<TCtrData*> GetReferencingConstraints();

 private:
  std::string GetIndexClause();
  std::string GetForeignKeyText();
  // "ALTER TABLE " + the table, as the ADD and DROP texts write it.
  std::string GetAlterTablePrefix();
  // The removal of an unnamed constraint through a lookup of the name the
  // server gave it; empty where none is written.
  std::string GetLookupDropSQL(const std::string& prefix);
  // The comment that opens the removal of an unnamed constraint (and is all
  // of it where the server's name cannot be found).
  std::string GetDropNote();
  // Whether GetDropSQL is a Firebird lookup block.
  bool DropsByExecuteBlock();

  bool RenderingKey = false;  // GetListKey is rendering the ADD text
};

// Drops (DropDependDef) the references in `objs` that point at the table
// `table`: foreign keys of other tables must go before the table does.
void DropReferencesToTable(TObjs* objs, TDbObj& table);
// MySQL and MS SQL let a foreign key reference the columns of a unique
// index. `index` (such an index on `table`, its columns `columns`) is about
// to go: every existing reference to exactly those columns is dropped first,
// unless a primary or unique key of the table on them stays to serve it.
void DropReferencesToUniqueIndex(TDbObj& index, const std::string& table,
                                 const TNamedObjList<TFldData>& columns);
// MySQL keeps an index under every foreign key. `index` (an index or a key
// on `table`, its columns `columns`) is about to go: every existing foreign
// key of that table whose columns lead `columns`, and which no other
// existing index or key of the table serves, is dropped first.
void DropReferencesRestingOn(TDbObj& index, const std::string& table,
                             const TNamedObjList<TFldData>& columns);
// MySQL wants an AUTO_INCREMENT column to lead a key at every moment.
// `index` (an index or key on `table`, its columns `columns`) is about to go:
// when it is the last existing one the table's AUTO_INCREMENT column leads,
// the column loses AUTO_INCREMENT first (AutoIncrementHeld on it and its
// master pair); RestoreAutoIncrement gives it back once the keys are made.
void HoldAutoIncrementOn(TDbObj& index, const std::string& table, const TNamedObjList<TFldData>& columns);
// Whether an existing index or key of the column's table other than
// `except` has the column first.
bool LeadsExistingKey(const TFldData& column, const TDbObj* except = nullptr);
// Whether a foreign key of `table` in `objs` on exactly `columns` was
// dropped earlier in the run.
bool ReferenceDroppedOn(const TObjs* objs, const std::string& table,
                        const TNamedObjList<TFldData>& columns);

// ---- Comparison phases ----

// Target constraints that vanished or whose ADD text changed (with the
// foreign keys that reference a dropped key).
void DropConstraints(TCompareContext& ctx);
// Master constraints of every type but DEFAULT that do not exist.
void CreateConstraints(TCompareContext& ctx);
// Master DEFAULT constraints that do not exist (after the procedure bodies).
void CreateDefaultConstraints(TCompareContext& ctx);
