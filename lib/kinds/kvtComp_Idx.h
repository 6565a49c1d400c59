// Indexes on tables, and the option records of indexes and of the indexes
// that keys imply.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "core/kvtClasses.h"
#include "core/kvtTypes.h"

class TFldData;
struct TCompareContext;

// Options of an index or of the index a key implies. MySQL keeps the index
// method here; MS SQL the WITH options and the ON filegroup of a key. Only the
// method is ever written (after USING); the rest is kept as read.
struct TIndexOptions {
  std::string Method;                        // MySQL USING BTREE / HASH
  int32_t FillFactor = 0;                    // MS SQL FILLFACTOR; 0 = not given
  std::optional<bool> IgnoreDupKey;          // MS SQL WITH options: ON / OFF when given
  std::optional<bool> SortInTempDb;
  std::optional<bool> PadIndex;
  std::optional<bool> DropExisting;
  std::optional<bool> Online;
  std::optional<bool> AllowRowLocks;
  std::optional<bool> AllowPageLocks;
  std::optional<bool> StatisticsNoRecompute;
  std::string FileGroup;  // MS SQL ON filegroup of a key (an index has its own FileGroup)
};

// Full-text options of an index, kept as read and never written.
struct TFullTextIndexOptions {
  std::string Parser;              // MySQL WITH PARSER
  std::string KeyIndex;            // MS SQL KEY INDEX
  std::string Catalog;             // MS SQL full-text catalog
  std::string FileGroup;           // MS SQL FILEGROUP of the catalog clause
  std::string ChangeTracking;      // MS SQL CHANGE_TRACKING: AUTO, MANUAL or OFF
  std::string StopList;            // MS SQL STOPLIST: OFF, SYSTEM or a name
  std::string SearchPropertyList;  // MS SQL SEARCH PROPERTY LIST
};

// An index on a table: its CREATE INDEX and DROP INDEX texts in every
// dialect, the InterBase/Firebird ACTIVE / INACTIVE state, and the phases
// that drop vanished indexes and create new and changed ones.
class TIdxData : public TDbObj {
 public:
  explicit TIdxData(TObjs* aObjs);
  ~TIdxData() override;
  const char* ClassName() const override { return "TIdxData"; }
  TObjListId GetListId() const override { return olIdx; }
  std::string GetParentName() const override { return TableName; }

  // ---- Overrides ----
  // MySQL names indexes per table: the key is table + "." + name.
  std::string GetListKey() override;
  std::string GetCreateSQL() override;  // CREATE INDEX
  std::string GetDropSQL() override;    // DROP INDEX
  // The base walk; a unique index (MySQL, MS SQL) takes down the foreign
  // keys that reference its columns, and a MySQL index those of its table
  // that have no other index to rest on.
  void DropDependents() override;
  // Also keeps DroppedInRun.
  void SetExists(bool value) override;
  // The CREATE INDEX statement, followed for an inactive InterBase/Firebird
  // index by the statement that deactivates it.
  void AppendCreateStatement() override;
  void AppendCreateDescriptions(TCustomSQLExec& exec) override;
  // An index goes with the table or column it indexes.
  bool ReleaseUse(TDbObj& used) override;

  // ---- Fields, in declaration order ----
  std::unique_ptr<TTableSpace> TableSpace;  // Oracle physical attributes
  bool Unique = false;
  bool Bitmap = false;
  bool Descending = false;  // InterBase/Firebird DESC index
  std::string TableName;    // indexed table
  // Indexed columns in order; each object carries SortOrder (2 = descending)
  // and Length (MySQL prefix length).
  TNamedObjList<TFldData> Fields;
  bool Active = true;     // InterBase/Firebird ACTIVE / INACTIVE
  bool Clustered = false;  // MS SQL CLUSTERED
  std::string FileGroup;   // MS SQL ON filegroup
  bool PrimaryXml = false;  // MS SQL PRIMARY XML index
  bool Xml = false;         // MS SQL XML index
  TNamedObjList<TFldData> IncludeFields;  // MS SQL INCLUDE columns
  std::string WithClause;                 // MS SQL option text, written verbatim on its own line
  std::unique_ptr<TIndexOptions> MSSQLOptions;  // MS SQL WITH options (not written)
  std::string Where;                            // MS SQL filter condition
  std::string IndexType;                        // Oracle INDEXTYPE IS
  std::string Parameters;                       // Oracle PARAMETERS text
  bool NoLogging = false;                       // Oracle NOLOGGING
  std::string TablespaceName;                   // Oracle TABLESPACE
  bool Compress = false;                        // Oracle COMPRESS
  bool NoCompress = false;                      // Oracle NOCOMPRESS
  std::unique_ptr<TIndexOptions> MySQLOptions;  // MySQL options; Method is written after USING
  bool Fulltext = false;
  std::unique_ptr<TFullTextIndexOptions> FullTextOptions;  // full-text options (not written)
  bool Spatial = false;
  bool AllowReverseScans = false;  // DB2 ALLOW REVERSE SCANS
  // MySQL: the order the table's keys were declared in, which the server
  // keeps (after the unique ones); 0 when not known.
  int32_t Sequence = 0;
  // MySQL: the server made this index for a foreign key that no index
  // served. Adding that foreign key again moves such an index after the
  // table's other keys.
  bool ForForeignKey = false;

  // Whether the script dropped this index since the comparer marked it
  // existing at the start of the run: a target index stops existing only
  // when it is dropped, and only the comparer marks a target index existing.
  // A changed index whose target went with its table or column is created
  // anew in the master's form and is not dropped and created a second time.
  bool DroppedInRun = false;

  // ---- Operations ----
  // The indexed columns, quoted, each with " DESC" when descending and, for
  // MySQL, its prefix length; separated by ", ".
  std::string GetColumnList();
  // The quoted INCLUDE columns separated by ", ".
  std::string GetIncludeList();
  // InterBase/Firebird: "ALTER INDEX " + name + " ACTIVE" or " INACTIVE";
  // empty for the other dialects, which know no inactive index.
  std::string GetActivitySQL(bool active);
};

// ---- Comparison phases ----

// Target indexes the master no longer has.
void DropIndexes(TCompareContext& ctx);
// Master indexes the target lacks (or lost with their table or column).
void CreateIndexes(TCompareContext& ctx);
// Paired indexes whose definition or activity changed.
void AlterIndexes(TCompareContext& ctx);
