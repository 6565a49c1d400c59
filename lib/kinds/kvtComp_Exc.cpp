#include "kinds/kvtComp_Exc.h"

#include "core/kvtCompareContext.h"
#include "core/kvtDBStructure.h"
#include "kinds/kvtListPhases.h"
#include "kinds/kvtPhaseHeader.h"
#include "script/kvtSQL_Exec.h"

// ---------------------------------------------------------------------------
// TExcData

std::string TExcData::GetCreateSQL() {
  return "CREATE EXCEPTION " + QuoteName(Name) + " " + QuoteLiteral(Message, srvInterBase);
}

std::string TExcData::GetAlterSQL() {
  return "ALTER EXCEPTION " + QuoteName(Name) + " " + QuoteLiteral(Message, srvInterBase);
}

// ---------------------------------------------------------------------------
// TEvtSdlData, TEvtData

std::string TEvtSdlData::GetText(TDbObj& quoter) const {
  auto L = [](const std::string& s) { return QuoteLiteral(s, srvASA); };
  std::string s = "SCHEDULE";
  if (!ScheduleName.empty()) s += " " + quoter.QuoteName(ScheduleName);
  if (!StartTime.empty() && !EndTime.empty())
    s += " BETWEEN " + L(StartTime) + " AND " + L(EndTime);
  else if (!StartTime.empty())
    s += " START TIME " + L(StartTime);
  if (EveryHours != 0)
    s += " EVERY " + std::to_string(EveryHours) + " HOURS";
  else if (EveryMinutes != 0)
    s += " EVERY " + std::to_string(EveryMinutes) + " MINUTES";
  else if (EverySeconds != 0)
    s += " EVERY " + std::to_string(EverySeconds) + " SECONDS";
  if (OnDays.any()) {
    // Bit 31 stands for day 0, bit n-1 for day n.
    std::string days = OnDays.test(31) ? "0" : "";
    for (int day = 1; day <= 31; ++day) {
      if (!OnDays.test(static_cast<size_t>(day - 1))) continue;
      if (!days.empty()) days += ", ";
      days += std::to_string(day);
    }
    s += " ON(" + days + ")";
  }
  if (!StartDate.empty()) s += " START DATE " + L(StartDate);
  return s;
}

std::string TEvtData::GetCreateSQL() {
  std::string s = "CREATE EVENT " + QuoteName(Name);
  if (!EventType.empty()) s += "\r\n TYPE " + EventType;
  if (!WhereCondition.empty()) s += "\r\n WHERE " + WhereCondition;
  bool first = true;
  for (const auto& e : Schedules) {
    if (!e.Obj) continue;
    s += first ? "\r\n " : ",\r\n ";
    s += e.Obj->GetText(*this);
    first = false;
  }
  s += Enabled ? "\r\n ENABLE" : "\r\n DISABLE";
  if (!Location.empty()) s += " AT " + Location;
  if (!Body.empty()) s += "\r\nHANDLER\r\n" + Body;
  return s;
}

std::string TEvtData::GetDropSQL() { return "DROP EVENT " + QuoteName(Name); }

// ---------------------------------------------------------------------------
// Exception phases: exceptions are matched by name in the two lists.

void DropExceptions(TCompareContext& ctx) {
  TPhaseHeader header(ctx.Exec, "/* Drop Exception... */");
  for (const auto& e : ctx.Target.ExcList) {
    TDbObj& t = *e.Obj;
    if (ctx.Master.ExcList.Contains(t.Name) || !t.GetExists()) continue;
    header.Write();
    t.DropDependDef();
  }
  header.Close();
}

void CreateExceptions(TCompareContext& ctx) {
  TPhaseHeader header(ctx.Exec, "/* Create Exception... */");
  for (const auto& e : ctx.Master.ExcList) {
    TDbObj& m = *e.Obj;
    if (ctx.Target.ExcList.Contains(m.Name)) continue;
    header.Write();
    ctx.Exec.AddStatement(m.GetCreateSQL(), skStatement, m.Name, dboException, saCreate);
    if (ctx.Compares(coDescription) && !m.Description.empty()) ctx.Exec.AddDescription(&m);
  }
  header.Close();
}

void AlterExceptions(TCompareContext& ctx) {
  TPhaseHeader header(ctx.Exec, "/* Alter Exception... */");
  for (const auto& e : ctx.Master.ExcList) {
    TDbObj& m = *e.Obj;
    TExcData* t = ctx.Target.FindException(m.Name);
    if (!t) continue;
    if (m.GetCreateSQL() != t->GetCreateSQL()) {
      header.Write();
      ctx.Exec.AddStatement(m.GetAlterSQL(), skStatement, m.Name, dboException, saAlter);
    }
    if (ctx.Compares(coDescription) && m.Description != t->Description &&
        !m.GetDescriptionSQL().empty()) {
      header.Write();
      ctx.Exec.AddDescription(&m);
    }
  }
  header.Close();
}

// ---------------------------------------------------------------------------
// Event phases

namespace {
constexpr TListPhase kCreateEvents{olEvt, TCounterpart::Pair, "/* Create event... */", false, true};
constexpr TListPhase kAlterEvents{olEvt, TCounterpart::Pair, "/* Alter event... */", false, true};
constexpr TListPhase kDropEvents{olEvt, TCounterpart::Pair, "/* Drop event... */"};
}  // namespace

void CreateEvents(TCompareContext& ctx) { CreateMissingObjects(ctx, kCreateEvents); }
void AlterEvents(TCompareContext& ctx) { RecreateChangedObjects(ctx, kAlterEvents); }
void DropEvents(TCompareContext& ctx) { DropVanishedObjects(ctx, kDropEvents); }

TExcData* TCustomObjs::FindException(const std::string& key) const {
  return FindIn<TExcData>(ExcList, key);
}
TEvtData* TCustomObjs::FindEvent(const std::string& key) const { return FindIn<TEvtData>(EvtList, key); }
