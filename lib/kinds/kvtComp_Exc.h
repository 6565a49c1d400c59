// Exceptions and events.
#pragma once

#include "core/kvtClasses.h"

// An exception. Its DDL and comparison phases are added with the exception kind.
class TExcData : public TDbObj {
 public:
  explicit TExcData(TObjs* aObjs) : TDbObj(aObjs) { ObjType = dboException; }
  const char* ClassName() const override { return "TExcData"; }
  TObjListId GetListId() const override { return olExc; }
};

// An event. Its DDL and comparison phases are added with the event kind.
class TEvtData : public TDbObj {
 public:
  explicit TEvtData(TObjs* aObjs) : TDbObj(aObjs) { ObjType = dboEvent; }
  const char* ClassName() const override { return "TEvtData"; }
  TObjListId GetListId() const override { return olEvt; }
};
