// Exceptions and events.
#pragma once

#include <bitset>
#include <cstdint>
#include <string>

#include "core/kvtClasses.h"

// An exception. Its DDL and comparison phases are added with the exception kind.
class TExcData : public TDbObj {
 public:
  explicit TExcData(TObjs* aObjs) : TDbObj(aObjs) { ObjType = dboException; }
  const char* ClassName() const override { return "TExcData"; }
  TObjListId GetListId() const override { return olExc; }

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
};

// An SQL Anywhere event. Its DDL and comparison phases are added with the event kind.
// The base Body holds the HANDLER text.
class TEvtData : public TDbObj {
 public:
  explicit TEvtData(TObjs* aObjs) : TDbObj(aObjs) { ObjType = dboEvent; }
  const char* ClassName() const override { return "TEvtData"; }
  TObjListId GetListId() const override { return olEvt; }

  TNamedObjList<TEvtSdlData> Schedules;
  std::string Location;  // AT clause
  bool Enabled = true;   // ENABLE / DISABLE
  std::string EventType;       // TYPE
  std::string WhereCondition;  // WHERE
};
