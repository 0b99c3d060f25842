// Resident memory that a world of 100,000 people adds to the process, the
// people counted after a step so that the index grids hold them too.
#include <benchmark/benchmark.h>

#include "bench_world.h"
#include "simulation.h"

namespace {

void BM_MemoryOf100000People(benchmark::State& state) {
  for (auto _ : state) {
    auto w = wendo_bench::BeachWorld();
    wymianadanych::TSimulationTicks ticks;
    wymianadanych::SimulationStep(*w, ticks, 100);  // grids and terrain copy at their empty size
    const double before = wendo_bench::ResidentMegabytes();
    wendo_bench::Populate(*w, 100000, 100, 10, 10);
    wymianadanych::SimulationStep(*w, ticks, 200);
    w->EventLog.clear();
    w->EventLog.shrink_to_fit();
    state.counters["added_MB"] = wendo_bench::ResidentMegabytes() - before;
    benchmark::DoNotOptimize(w->People.data());
  }
}

}  // namespace

BENCHMARK(BM_MemoryOf100000People)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
