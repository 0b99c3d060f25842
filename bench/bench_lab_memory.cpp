// wendo-lab's memory against the size of a sweep, and what a job costs.
//
// BM_SweepResidentMemory runs sweeps of 10^4 to 10^7 half-second runs on
// two jobs, each row formatted as the results table has it and dropped (as
// if written to a file), and reports how far the resident memory grew
// during the sweep (rss_growth_MB, the peak over samples taken every 10,000
// runs): it stays flat, since finished runs wait in a window of 256 per
// job, not in memory until the end. BM_JobCost makes the worlds of N jobs
// as a sweep does before its first run: the time and resident memory each
// one takes.
//
// Run it as: bench/bench_lab_memory --benchmark_filter=Sweep (the 10^7
// case takes about a minute on two cores).
#include <benchmark/benchmark.h>

#include <chrono>
#include <fstream>
#include <unistd.h>

#include "csv.h"
#include "experiment_run.h"
#include "results_table.h"
#include "sweep_runner.h"
#include "terrain_picture.h"

using namespace wendo_lab;

namespace {

const QImage& Map() {
  static const QImage map = ReadMapPicture(QStringLiteral(WENDO_SOURCE_DIR "/assets/wendo.bmp"));
  return map;
}

// Resident memory now, in bytes.
double ResidentBytes() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return static_cast<double>(resident) * static_cast<double>(::sysconf(_SC_PAGESIZE));
}

void BM_SweepResidentMemory(benchmark::State& state) {
  const auto runs = static_cast<uint32_t>(state.range(0));
  TSweep sweep;
  sweep.Scenarios.push_back(ReadScenarioSetup(WENDO_SOURCE_DIR "/examples/two_posts_one_boat.wnd"));
  sweep.Seeds.resize(runs);
  for (uint32_t s = 0; s < runs; ++s) sweep.Seeds[s] = s + 1;
  sweep.DurationMs = 500;
  sweep.Id = "0123456789abcdef";
  const TShardRuns shard = ShardRuns(sweep.RunCount(), {});
  double growth = 0;
  for (auto _ : state) {
    const double start = ResidentBytes();
    double peak = start;
    int64_t delivered = 0;
    std::string row;
    TSweepJobs work;
    work.Jobs = 2;
    work.Deliver = [&](const TSweepRun& run, TRunResult&& result) {
      row.clear();
      AppendRecord(row, RunTableRow(run, result));
      benchmark::DoNotOptimize(row.data());
      if (++delivered % 10000 == 0) peak = std::max(peak, ResidentBytes());
    };
    RunSweep(sweep, shard, Map(), work);
    growth = std::max(growth, std::max(peak, ResidentBytes()) - start);
  }
  state.counters["rss_growth_MB"] = growth / 1e6;
  state.counters["runs"] = runs;
}
// The seed list itself is held (4 bytes a run, 40 MB for 10^7): it is the
// sweep's definition, not its results, and is made before the sweep starts.
BENCHMARK(BM_SweepResidentMemory)
    ->Arg(10'000)
    ->Arg(100'000)
    ->Arg(1'000'000)
    ->Arg(10'000'000)
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();

void BM_JobCost(benchmark::State& state) {
  const auto jobs = static_cast<int>(state.range(0));
  Map();  // read once, before anything is measured
  double growth = 0, seconds = 0;
  int64_t made = 0;
  for (auto _ : state) {
    const double start = ResidentBytes();
    const auto begin = std::chrono::steady_clock::now();
    std::vector<std::unique_ptr<TLabWorld>> worlds;
    for (int i = 0; i < jobs; ++i) worlds.push_back(std::make_unique<TLabWorld>(Map()));
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    made += jobs;
    // The first making counts: later ones reuse what the last one freed.
    growth = std::max(growth, ResidentBytes() - start);
    benchmark::DoNotOptimize(worlds.data());
  }
  state.counters["MB_per_job"] = growth / 1e6 / jobs;
  state.counters["ms_per_job"] = seconds * 1e3 / static_cast<double>(made);
}
BENCHMARK(BM_JobCost)->Arg(1)->Arg(16)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
