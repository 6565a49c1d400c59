// Table constraints: primary, unique and foreign keys, checks, defaults.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/kvtClasses.h"
#include "core/kvtTypes.h"
#include "kinds/kvtComp_Idx.h"

class TFldData;

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

// A table constraint. Its DDL and comparison phases are added with the constraint kind.
class TCtrData : public TDbObj {
 public:
  explicit TCtrData(TObjs* aObjs);
  ~TCtrData() override;
  const char* ClassName() const override { return "TCtrData"; }
  TObjListId GetListId() const override { return olCtr; }
  std::string GetParentName() const override { return TableName; }
  const char* GetAutoNamePrefix() const override;

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
  bool DeferrableInitiallyDeferred = false;    // Oracle DEFERRABLE INITIALLY DEFERRED
  std::unique_ptr<TIndexOptions> IndexOptions;  // options of the implied index (not written)

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

 private:
  std::string GetIndexClause();
  std::string GetForeignKeyText();
};
