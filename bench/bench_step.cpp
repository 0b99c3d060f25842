// One simulation step with the default scenario full and with a crowd;
// an hour of the default scenario on an ideal clock; iterations on a beach
// so full that no one more can arrive. The step benchmarks restore the
// same starting world (not timed) and then time a few steps, reported per
// step.
#include <benchmark/benchmark.h>

#include "bench_world.h"
#include "ideal_clock_run.h"
#include "simulation.h"

using namespace wymianadanych;

namespace {

struct Snapshot {
  std::vector<TCzlowiek> people;
  std::vector<TRekin> sharks;
  std::vector<TLodz> boats;
  void Take(const TWorld& w) {
    people = w.People;
    sharks = w.Sharks;
    boats = w.Boats;
  }
  void Restore(TWorld& w) const {
    w.People = people;
    w.Sharks = sharks;
    w.Boats = boats;
    w.StepCounter = 0;
    w.EventLog.clear();
    w.Random.Seed = 777;
  }
};

void StepBenchmark(benchmark::State& state, bool indexed, int people, int sharks, int observers, int boats) {
  auto w = wendo_bench::BeachWorld();
  w->UseSpatialIndex = indexed;
  wendo_bench::Populate(*w, people, sharks, observers, boats);
  Snapshot start;
  start.Take(*w);
  constexpr int kSteps = 4;
  TSimulationTicks ticks;
  uint32_t now = 0;
  for (auto _ : state) {
    state.PauseTiming();
    start.Restore(*w);
    state.ResumeTiming();
    for (int i = 0; i < kSteps; ++i) SimulationStep(*w, ticks, now += 100);
    benchmark::DoNotOptimize(w->People.data());
  }
  state.counters["per_step"] =
      benchmark::Counter(kSteps, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// The default scenario full: 40 people, 5 sharks, 3 observation points, 2 boats.
void BM_StepDefaultIndexed(benchmark::State& state) { StepBenchmark(state, true, 40, 5, 3, 2); }
void BM_StepDefaultLiteral(benchmark::State& state) { StepBenchmark(state, false, 40, 5, 3, 2); }
// A crowd: 20,000 people, 2,000 sharks, 50 observation points, 50 boats.
void BM_StepCrowdIndexed(benchmark::State& state) { StepBenchmark(state, true, 20000, 2000, 50, 50); }
void BM_StepCrowdLiteral(benchmark::State& state) { StepBenchmark(state, false, 20000, 2000, 50, 50); }

// Arrivals onto a busy beach: the free-cell test of every drawn cell.
void BM_PersonArrivalCrowd(benchmark::State& state) {
  auto w = wendo_bench::BeachWorld();
  wendo_bench::Populate(*w, 1000, 0, 50, 0);  // 500 of them on land
  w->PersonMax = 1 << 30;
  w->PersonArrivalS = 0;
  w->SimStepMs = 1 << 30;
  TSimulationTicks ticks;
  uint32_t now = 0;
  RunIteration(*w, ticks, ++now);  // the terrain is prepared at the first arrival
  for (auto _ : state) RunIteration(*w, ticks, ++now);
}

// One simulated hour of the default scenario with five observation points
// and three boats, every check taken on time: what an experiment costs.
void BM_DefaultScenarioHour(benchmark::State& state) {
  auto w = wendo_bench::BeachWorld();
  wendo_bench::PlaceWatchers(*w);
  int64_t steps = 0;
  for (auto _ : state) {
    state.PauseTiming();
    EndRun(*w);
    w->Random.Seed = 2024;
    TSimulationTicks ticks;
    StartRun(*w, ticks, 0, true);
    state.ResumeTiming();
    RunOnIdealClock(*w, ticks, 0, 3600 * 1000, [](uint32_t, unsigned) {});
    steps = w->StepCounter;
  }
  state.counters["steps"] = static_cast<double>(steps);
}

// The beach of the crowded arrival scenario once it is full: every
// iteration tries a person's arrival in vain and takes a 1 ms step.
struct FullBeach {
  std::unique_ptr<TWorld> w = wendo_bench::BeachWorld();
  TSimulationTicks ticks;
  uint32_t now = wendo_bench::FillBeach(*w, ticks);
  static FullBeach& Get() {
    static FullBeach beach;
    return beach;
  }
};

void BM_FullBeachIteration(benchmark::State& state) {
  FullBeach& b = FullBeach::Get();
  for (auto _ : state) {
    RunIteration(*b.w, b.ticks, ++b.now);
    b.w->EventLog.clear();
  }
  state.counters["people"] = static_cast<double>(b.w->People.size());
}

void BM_FullBeachRunOf1000(benchmark::State& state) {
  FullBeach& b = FullBeach::Get();
  for (auto _ : state) {
    for (int i = 0; i < 1000; ++i) RunIteration(*b.w, b.ticks, ++b.now);
    b.w->EventLog.clear();
  }
}

}  // namespace

BENCHMARK(BM_StepDefaultIndexed)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StepDefaultLiteral)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StepCrowdIndexed)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StepCrowdLiteral)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_PersonArrivalCrowd)->Unit(benchmark::kMicrosecond)->Iterations(500);
BENCHMARK(BM_DefaultScenarioHour)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FullBeachIteration)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FullBeachRunOf1000)->Unit(benchmark::kMillisecond)->Iterations(1);

BENCHMARK_MAIN();
