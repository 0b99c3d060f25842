// wendo-lab's runs: one simulated hour of a scenario like the default with
// five observation points and three boats, on one core; sweeps of such
// hours with one and with two jobs; and the memory one job's world takes.
// The optimiser's own work beside its runs: reading the map into its cell
// tables and shore lines once, and what a generation's sweep costs beyond
// its runs (worlds and threads made afresh), against the hour a run takes.
#include <benchmark/benchmark.h>

#include "bench_world.h"
#include "experiment_run.h"
#include "layout_search.h"
#include "sweep_runner.h"
#include "terrain_picture.h"

using namespace wendo_lab;

namespace {

const QImage& Map() {
  static const QImage map = ReadMapPicture(QStringLiteral(WENDO_SOURCE_DIR "/assets/wendo.bmp"));
  return map;
}

TSweep HourSweep(uint32_t seeds) {
  TSweep sweep;
  sweep.Scenarios.push_back(ReadScenarioSetup(WENDO_SOURCE_DIR "/examples/five_posts_three_boats.wnd"));
  for (uint32_t s = 1; s <= seeds; ++s) sweep.Seeds.push_back(s);
  sweep.DurationMs = 3'600'000;
  return sweep;
}

// Seeds 1, 2, 3, … in turn: runs differ as a sweep's do.
void BM_OneHour(benchmark::State& state) {
  const TSweep sweep = HourSweep(64);
  TLabWorld world(Map());
  int64_t i = 0, steps = 0;
  for (auto _ : state) {
    const TRunResult r = world.Run(sweep.Run(i++ % 64), {});
    steps += r.Final.Steps;
  }
  state.counters["steps_per_run"] = benchmark::Counter(static_cast<double>(steps) / static_cast<double>(i));
}

// The same sweep of hours with one job and with two; the wall time counts.
void BM_HourSweep(benchmark::State& state) {
  const int jobs = static_cast<int>(state.range(0));
  const uint32_t runs = static_cast<uint32_t>(state.range(1));
  const TSweep sweep = HourSweep(runs);
  TSweepJobs work;
  work.Jobs = jobs;
  for (auto _ : state) RunSweep(sweep, ShardRuns(sweep.RunCount(), {}), Map(), work);
  state.counters["runs_per_s"] = benchmark::Counter(runs, benchmark::Counter::kIsIterationInvariantRate);
}

// What one more job adds: its world, after an hour's run.
void BM_MemoryPerJob(benchmark::State& state) {
  const TSweep sweep = HourSweep(1);
  Map();
  for (auto _ : state) {
    const double before = wendo_bench::ResidentMegabytes();
    TLabWorld world(Map());
    world.Run(sweep.Run(0), {});
    state.counters["job_MB"] = wendo_bench::ResidentMegabytes() - before;
  }
}

TPlacementRequest ThreePostsTwoBoats() {
  TPlacementRequest request;
  request.Observers = 3;
  request.Boats = 2;
  return request;
}

// Everything the optimiser works out from the map before its first run.
void BM_LayoutSearchSetUp(benchmark::State& state) {
  const TScenarioSetup base = HourSweep(1).Scenarios[0];
  for (auto _ : state) benchmark::DoNotOptimize(TLayoutSearch(Map(), base, ThreePostsTwoBoats()).Naive());
}

// A generation of 12 layouts as a sweep of runs that end at once: all that
// a generation costs besides its runs, with two jobs.
void BM_GenerationBesideItsRuns(benchmark::State& state) {
  TSweep sweep = HourSweep(1);
  const TLayoutSearch search(Map(), sweep.Scenarios[0], ThreePostsTwoBoats());
  sweep.Scenarios.assign(12, search.Naive());
  sweep.DurationMs = 1;
  TSweepJobs work;
  work.Jobs = 2;
  for (auto _ : state) RunSweep(sweep, ShardRuns(sweep.RunCount(), {}), Map(), work);
}

}  // namespace

BENCHMARK(BM_LayoutSearchSetUp)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GenerationBesideItsRuns)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_OneHour)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HourSweep)->Args({1, 100})->Args({2, 100})->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_MemoryPerJob)->Iterations(1)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
