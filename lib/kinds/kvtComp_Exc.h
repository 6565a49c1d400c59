// InterBase/Firebird exceptions (named error messages) and SQL Anywhere
// events with their schedules. Exceptions are matched by name in the two
// exception lists; a changed message is altered in place.
#pragma once

#include <bitset>
#include <cstdint>
#include <string>

#include "core/kvtClasses.h"

struct TCompareContext;

class TExcData : public TDbObj {
 public:
  explicit TExcData(TObjs* aObjs) : TDbObj(aObjs) { ObjType = dboException; }
  const char* ClassName() const override { return "TExcData"; }
  TObjListId GetListId() const override { return olExc; }

  std::string GetCreateSQL() override;  // CREATE EXCEPTION name 'message'
  std::string GetAlterSQL() override;   // ALTER EXCEPTION name 'message'

  std::string Message;  // the exception text, unquoted
};

class TEvtData;

// Days of a schedule: bit n-1 stands for day n (1..31), bit 31 for day 0.
using TScheduleDays = std::bitset<32>;

// One SCHEDULE clause of an SQL Anywhere event.
class TEvtSdlData {
 public:
  TEvtSdlData() = default;
  TEvtSdlData(const TEvtSdlData&) = delete;
  TEvtSdlData& operator=(const TEvtSdlData&) = delete;

  TEvtData* Event = nullptr;  // the event the schedule belongs to; not owned
  std::string ScheduleName;
  std::string StartTime;  // times and date unquoted
  std::string EndTime;
  std::string StartDate;
  int32_t EveryHours = 0;  // 0 = not given
  int32_t EveryMinutes = 0;
  int32_t EverySeconds = 0;
  int32_t Reserved = 0;  // kept for hosts; never written
  TScheduleDays OnDays;  // ON days

  // The SCHEDULE clause; `quoter` quotes the schedule name.
  std::string GetText(TDbObj& quoter) const;
};

// An SQL Anywhere event. The base Body holds the HANDLER text. A changed
// event is dropped and created again.
class TEvtData : public TDbObj {
 public:
  explicit TEvtData(TObjs* aObjs) : TDbObj(aObjs) { ObjType = dboEvent; }
  const char* ClassName() const override { return "TEvtData"; }
  TObjListId GetListId() const override { return olEvt; }

  std::string GetCreateSQL() override;
  std::string GetDropSQL() override;

  TNamedObjList<TEvtSdlData> Schedules;
  std::string Location;  // AT clause
  bool Enabled = true;   // ENABLE / DISABLE
  std::string EventType;       // TYPE
  std::string WhereCondition;  // WHERE
};

// Comparison phases.
// Target exceptions the master does not have (by name).
void DropExceptions(TCompareContext& ctx);
// Master exceptions the target does not have (by name).
void CreateExceptions(TCompareContext& ctx);
// Exceptions of both sides whose texts differ: ALTER EXCEPTION.
void AlterExceptions(TCompareContext& ctx);
// Events: new ones, changed ones (re-created) and vanished ones.
void CreateEvents(TCompareContext& ctx);
void AlterEvents(TCompareContext& ctx);
void DropEvents(TCompareContext& ctx);
