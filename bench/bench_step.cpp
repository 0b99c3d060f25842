// One simulation step with the default scenario full and with a crowd.
// Each benchmark iteration restores the same starting world (not timed)
// and then times a few steps, reported per step.
#include <benchmark/benchmark.h>

#include "bench_world.h"
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

void StepBenchmark(benchmark::State& state, int people, int sharks, int observers, int boats) {
  auto w = wendo_bench::BeachWorld();
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
    for (int i = 0; i < kSteps; ++i) SimulationStep(*w, now += 100, ticks);
    benchmark::DoNotOptimize(w->People.data());
  }
  state.counters["per_step"] =
      benchmark::Counter(kSteps, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_StepDefaultScenarioFull(benchmark::State& state) { StepBenchmark(state, 40, 5, 3, 2); }
void BM_StepCrowd(benchmark::State& state) { StepBenchmark(state, 20000, 2000, 50, 50); }

}  // namespace

BENCHMARK(BM_StepDefaultScenarioFull)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StepCrowd)->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();
