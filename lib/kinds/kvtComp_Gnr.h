// Generators and sequences: InterBase/Firebird generators, Oracle, MS SQL and
// PostgreSQL sequences, and the identity options of a DB2 identity column.
// Generators are never re-created: an existing generator keeps its value.
#pragma once

#include <memory>
#include <string>

#include "core/kvtClasses.h"

class TFldData;
class TObjs;
struct TCompareContext;

class TGnrData : public TDbObj {
 public:
  // `owner` is the column whose identity options this is, or null (or any
  // other object) for a stand-alone generator, which gets an owned ValueType.
  TGnrData(TObjs* aObjs, TDbObj* owner = nullptr);
  ~TGnrData() override;
  const char* ClassName() const override { return "TGnrData"; }
  TObjListId GetListId() const override { return olGnr; }
  // A generator the master has by name keeps its value: never dropped.
  bool IsKeptForMaster() override;

  // The maximum that means "no maximum" when it appears in a script.
  static constexpr const char* ServerMaxValue = "999999999999999999999999999";

  // ---- Fields, in declaration order ----
  std::string MaxValue;                 // write through SetMaxValue
  std::string Cache = "20";             // write through SetCache
  bool NoCache = false;                 // write through SetNoCache
  std::unique_ptr<TFldData> ValueType;  // MS SQL AS type; null when owned by a column
  std::string MinValue;
  std::string StartWith;
  std::string IncrementBy;
  std::string OwnedBy;  // PostgreSQL OWNED BY
  bool NoMaxValue = true;
  bool Order = false;
  bool Cycle = false;
  bool Temporary = false;      // PostgreSQL TEMPORARY
  TDbObj* OwnerObj = nullptr;  // owning column or null; not owned

  // ---- Setters with special values ----
  // The server maximum stores empty and sets NoMaxValue.
  void SetMaxValue(const std::string& value);
  // "0" stores empty and sets NoCache; another value clears NoCache.
  void SetCache(const std::string& value);
  // true also empties Cache.
  void SetNoCache(bool value);

  // ---- Overrides ----
  std::string GetCreateSQL() override;
  std::string GetDropSQL() override;

  // Whether the target server keeps start value and increment with the
  // generator (Firebird 3 and 4).
  bool KeepsSequenceOptions();
  // START WITH and INCREMENT BY with the server's defaults (0 and 1) filled in.
  std::string StartValue() const;
  std::string IncrementValue() const;

  // MySQL: the start value with the server's default filled in, and every
  // option so ("start with ... nocycle").
  std::string MySQLStartValue() const;
  std::string MySQLOptionsText() const;

  // DB2 identity options "(START WITH s, INCREMENT BY i, CACHE c)"; empty elsewhere.
  std::string GetIdentityOptions();
};

// Comparison phases (run by the comparer in its fixed sequence).
// New generators and sequences: created, never marked existing.
void CreateGenerators(TCompareContext& ctx);
// Changed Oracle and PostgreSQL sequences: one ALTER SEQUENCE per difference.
void AlterGenerators(TCompareContext& ctx);
// Vanished generators and sequences.
void DropGenerators(TCompareContext& ctx);
