#include "kinds/kvtListPhases.h"

#include "core/kvtCompareContext.h"
#include "core/kvtDBStructure.h"
#include "kinds/kvtPhaseHeader.h"
#include "script/kvtSQL_Exec.h"

namespace {

class TListPhaseHeader {
 public:
  TListPhaseHeader(TCompareContext& ctx, const TListPhase& phase)
      : Header(ctx.Exec, phase.Header ? phase.Header : ""), IsLabel(phase.HeaderIsLabel) {}
  ~TListPhaseHeader() { Header.Close(); }
  TListPhaseHeader(const TListPhaseHeader&) = delete;
  TListPhaseHeader& operator=(const TListPhaseHeader&) = delete;

  void Write(TDbObj& by) {
    if (IsLabel)
      Header.Write(by);
    else
      Header.Write();
  }

 private:
  TPhaseHeader Header;
  bool IsLabel;
};

TDbObj* CounterpartOf(TDbObj& o, const TObjList& other, TCounterpart by) {
  return by == TCounterpart::Pair ? o.Pair : other.Find(o.GetListKey());
}

bool WritesDescriptions(const TCompareContext& ctx, const TListPhase& phase) {
  return phase.Descriptions && ctx.Compares(coDescription);
}

}  // namespace

void CreateMissingObjects(TCompareContext& ctx, const TListPhase& phase) {
  const TObjList& target = ctx.Target.List(phase.List);
  TListPhaseHeader header(ctx, phase);
  for (const auto& e : ctx.Master.List(phase.List)) {
    TDbObj& m = *e.Obj;
    // A paired object that no longer exists (dropped earlier in the run)
    // comes back; a namesake is left to the re-create phase.
    if (m.GetExists() || (phase.By == TCounterpart::Namesake && CounterpartOf(m, target, phase.By)))
      continue;
    header.Write(m);
    m.CreateDependDef();
    if (WritesDescriptions(ctx, phase) && !m.Description.empty())
      ctx.Exec.AddDescription(&m);
  }
}

void RecreateChangedObjects(TCompareContext& ctx, const TListPhase& phase) {
  const TObjList& target = ctx.Target.List(phase.List);
  TListPhaseHeader header(ctx, phase);
  for (const auto& e : ctx.Master.List(phase.List)) {
    TDbObj& m = *e.Obj;
    TDbObj* t = CounterpartOf(m, target, phase.By);
    if (!t) continue;
    TDbObj& headerBy = phase.By == TCounterpart::Namesake ? *t : m;
    if (t->GetCreateSQL() != m.GetCreateSQL()) {
      header.Write(headerBy);
      t->DropDependDef();
      m.CreateDependDef();
    }
    if (WritesDescriptions(ctx, phase) && m.Description != t->Description &&
        !m.GetDescriptionSQL().empty()) {
      header.Write(headerBy);
      ctx.Exec.AddDescription(&m);
    }
  }
}

void DropVanishedObjects(TCompareContext& ctx, const TListPhase& phase) {
  const TObjList& master = ctx.Master.List(phase.List);
  TListPhaseHeader header(ctx, phase);
  for (const auto& e : ctx.Target.List(phase.List)) {
    TDbObj& t = *e.Obj;
    if (CounterpartOf(t, master, phase.By) || !t.GetExists()) continue;
    header.Write(t);
    t.DropDependDef();
  }
}
