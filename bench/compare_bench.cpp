// Comparison cost on large schemas built in memory: N tables of twelve
// columns on each side, where every tenth master table gains a column, every
// tenth target table has one the master lacks, and a few tables exist on one
// side only. Run with several N to see that the cost grows near-linearly.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "compare/kvtVeltrane.h"
#include "core/kvtDBStructure.h"
#include "kinds/kvtCompColumn.h"
#include "kinds/kvtComp_Gnr.h"
#include "kinds/kvtComp_Tbl.h"
#include "script/kvtSQL_Exec.h"

namespace {

void AddTable(TObjs& objs, const std::string& name, int columns, const std::string& extra) {
  auto tbl = std::make_unique<TTblData>(&objs);
  tbl->SetName(name);
  for (int c = 0; c < columns; ++c) {
    auto f = std::make_unique<TFldData>(&objs, tbl.get());
    f->SetName("COL_" + std::to_string(c));
    f->DataType = c % 2 ? dtVarchar : dtInteger;
    f->Length = c % 2 ? 80 : 0;
    tbl->AddField(std::move(f));
  }
  if (!extra.empty()) {
    auto f = std::make_unique<TFldData>(&objs, tbl.get());
    f->SetName(extra);
    f->DataType = dtInteger;
    tbl->AddField(std::move(f));
  }
  objs.AddObj(tbl, true);
}

void Fill(TObjs& master, TObjs& target, int tables) {
  master.SetServerType(srvInterBase);
  target.SetServerType(srvInterBase);
  for (int i = 0; i < tables; ++i) {
    const std::string name = "TABLE_" + std::to_string(i);
    if (i % 97 != 1) AddTable(master, name, 12, i % 10 == 0 ? "NEW_COL" : "");
    if (i % 89 != 2) AddTable(target, name, 12, i % 10 == 5 ? "OLD_COL" : "");
    if (i % 50 == 0) {
      auto g = std::make_unique<TGnrData>(&master);
      g->SetName("GEN_" + std::to_string(i));
      master.AddObj(g, true);
    }
  }
}

void BM_Compare(benchmark::State& state) {
  const int tables = static_cast<int>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    TDBStructure master, target;
    TVeltrane veltrane;
    veltrane.SetDBStructureMaster(&master);
    veltrane.SetDBStructureTarget(&target);
    Fill(*master.Objs, *target.Objs, tables);
    state.ResumeTiming();

    veltrane.Compare();
    TStringList lines;
    veltrane.GetSQLExec()->RenderScript(lines, false);
    benchmark::DoNotOptimize(lines.data());

    state.PauseTiming();
    veltrane.SetDBStructureMaster(nullptr);
    veltrane.SetDBStructureTarget(nullptr);
    state.ResumeTiming();
  }
  state.SetComplexityN(tables);
}

BENCHMARK(BM_Compare)->Arg(2500)->Arg(5000)->Arg(10000)->Arg(20000)->Unit(benchmark::kMillisecond)->Complexity();

}  // namespace
