// Small builders for the kind tests: containers of one dialect, tables with
// columns, and a master/target pair wired like a running comparison.
#pragma once

#include <memory>
#include <string>

#include "compare/kvtPairing.h"
#include "compare/kvtPhases.h"
#include "core/kvtCompareContext.h"
#include "core/kvtDBOptions.h"
#include "core/kvtDBStructure.h"
#include "kinds/kvtCompColumn.h"
#include "kinds/kvtComp_Gnr.h"
#include "kinds/kvtComp_Tbl.h"
#include "script/kvtSQL_Exec.h"

// One column of a test table.
struct TColSpec {
  TColSpec(const char* name, uint8_t type = dtInteger, int32_t length = 0, bool nullable = true,
           const char* computed = "")
      : Name(name), Type(type), Length(length), Nullable(nullable), Computed(computed) {}
  std::string Name;
  uint8_t Type;
  int32_t Length;
  bool Nullable;
  std::string Computed;  // computed expression; empty for a stored column
};

inline TTblData* AddTable(TObjs& objs, const std::string& name,
                          std::initializer_list<TColSpec> cols) {
  auto t = std::make_unique<TTblData>(&objs);
  t->SetName(name);
  for (const TColSpec& c : cols) {
    auto f = std::make_unique<TFldData>(&objs, t.get());
    f->SetName(c.Name);
    f->DataType = c.Type;
    f->Length = c.Length;
    f->Nullable = c.Nullable;
    f->SetBody(c.Computed);
    t->AddField(std::move(f));
  }
  TTblData* raw = t.get();
  objs.AddObj(t, true);
  return raw;
}

inline TGnrData* AddGenerator(TObjs& objs, const std::string& name) {
  auto g = std::make_unique<TGnrData>(&objs);
  g->SetName(name);
  TGnrData* raw = g.get();
  objs.AddObj(g, true);
  return raw;
}

// A master and a target container of one dialect sharing a statement list,
// as the comparer sets them up: the master renders in the target's dialect.
struct TTwoDbs {
  TObjs Master;
  TObjs Target;
  TSQLExec Exec;
  TCompareContext Ctx{Master, Target, Exec};

  explicit TTwoDbs(TServerType st) {
    Master.SetServerType(st);
    Target.SetServerType(st);
    Master.Role = 1;
    Target.Role = 2;
    Master.Partner = &Target;
    Target.Partner = &Master;
    Master.SQLExec = Target.SQLExec = &Exec;
    Master.UsePartnerServer = true;
  }
  ~TTwoDbs() {
    Master.SQLExec = Target.SQLExec = nullptr;
    Master.Partner = Target.Partner = nullptr;
  }

  // Pairs the objects and sets the existence flags exactly as the comparer
  // does before its phases: a master object exists when it has a partner.
  void PairObjects() {
    ::PairObjects(Master, Target);
    ::SetExistenceFlags(Master, Target);
  }

  // Every row of the comparer's phase table with this number, as a
  // comparison runs them.
  void RunPhase(int number) {
    for (size_t i = 0; i < ComparePhaseCount; ++i) {
      const TComparePhase& p = ComparePhases[i];
      if (p.Number == number && p.Run && PhaseApplies(p, Ctx)) p.Run(Ctx);
    }
  }

  // The rendered script, lines joined by "\n".
  std::string Script() {
    TStringList lines;
    Exec.RenderScript(lines, false);
    std::string out;
    for (size_t i = 0; i < lines.size(); ++i) {
      if (i) out += "\n";
      out += lines[i];
    }
    return out;
  }
};
