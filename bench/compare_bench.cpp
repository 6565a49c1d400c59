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
#include "kinds/kvtComp_Ctr.h"
#include "kinds/kvtComp_Gnr.h"
#include "kinds/kvtComp_Prc.h"
#include "kinds/kvtComp_Tbl.h"
#include "kinds/kvtComp_Viw.h"
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

// The same comparison with what real schemas hang on their tables: per table
// a view over it, a procedure reading two of its columns and a foreign key
// to the previous table. In the master 5 % of the columns are gone and 5 %
// have another type, so the drop walks empty procedures, drop views and keys.
constexpr int kDepColumns = 12;

TTblData* AddDepTable(TObjs& objs, int i, bool master) {
  auto tbl = std::make_unique<TTblData>(&objs);
  tbl->SetName("TABLE_" + std::to_string(i));
  for (int c = 0; c < kDepColumns; ++c) {
    const int n = i * kDepColumns + c;
    if (master && n % 20 == 3) continue;  // dropped in the master
    auto f = std::make_unique<TFldData>(&objs, tbl.get());
    f->SetName("COL_" + std::to_string(c));
    const bool retyped = master && n % 20 == 13;
    f->DataType = retyped ? dtBigInt : (c % 2 ? dtVarchar : dtInteger);
    f->Length = c % 2 && !retyped ? 80 : 0;
    tbl->AddField(std::move(f));
  }
  TTblData* raw = tbl.get();
  objs.AddObj(tbl, true);
  return raw;
}

template <class T>
T* AddNamed(TObjs& objs, const std::string& name) {
  auto obj = std::make_unique<T>(&objs);
  obj->SetName(name);
  T* raw = obj.get();
  objs.AddObj(obj, true);
  return raw;
}

void FillWithDependencies(TObjs& objs, int tables, bool master) {
  objs.SetServerType(srvInterBase);
  TTblData* previous = nullptr;
  for (int i = 0; i < tables; ++i) {
    const std::string n = std::to_string(i);
    TTblData* t = AddDepTable(objs, i, master);
    auto* v = AddNamed<TViwData>(objs, "V_" + n);
    v->SetBody("SELECT * FROM TABLE_" + n);
    AddDependency(&objs, v, t, "", 0, 0);
    for (int c = 0; c < kDepColumns; ++c)
      AddDependency(&objs, v, t, "COL_" + std::to_string(c), 0, 0);
    auto* p = AddNamed<TPrcData>(objs, "P_" + n);
    p->SetBody("BEGIN SELECT COL_1, COL_3 FROM TABLE_" + n + "; END");
    AddDependency(&objs, p, t, "", 0, 0);
    AddDependency(&objs, p, t, "COL_1", 0, 0);
    AddDependency(&objs, p, t, "COL_3", 0, 0);
    if (previous) {
      auto* fk = AddNamed<TCtrData>(objs, "FK_" + n);
      fk->TableName = t->Name;
      AddDependency(&objs, fk, t, "COL_0", 0, 0);
      AddDependency(&objs, fk, previous, "COL_0", 0, 0);
    }
    previous = t;
  }
}

void BM_CompareWithDependencies(benchmark::State& state) {
  const int tables = static_cast<int>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    auto master = std::make_unique<TDBStructure>();
    auto target = std::make_unique<TDBStructure>();
    auto veltrane = std::make_unique<TVeltrane>();
    veltrane->SetDBStructureMaster(master.get());
    veltrane->SetDBStructureTarget(target.get());
    FillWithDependencies(*master->Objs, tables, true);
    FillWithDependencies(*target->Objs, tables, false);
    state.ResumeTiming();

    veltrane->Compare();
    TStringList lines;
    veltrane->GetSQLExec()->RenderScript(lines, false);
    benchmark::DoNotOptimize(lines.data());

    // Building and freeing the schemas is not the comparison's cost.
    state.PauseTiming();
    veltrane.reset();
    master.reset();
    target.reset();
    state.ResumeTiming();
  }
  state.SetComplexityN(tables);
  state.counters["per_table"] = benchmark::Counter(
      static_cast<double>(tables), benchmark::Counter::kIsIterationInvariantRate |
                                       benchmark::Counter::kInvert);
}

BENCHMARK(BM_CompareWithDependencies)
    ->Arg(2500)
    ->Arg(10000)
    ->Arg(40000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

}  // namespace
