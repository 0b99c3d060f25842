// The world's lock taken and let go by one thread with nobody else asking,
// as the experiment runner does for every step: the turn-taking lock
// against a plain std::mutex, and a whole loop iteration that takes a step
// of the default scenario under it.
#include <benchmark/benchmark.h>

#include <mutex>

#include "bench_world.h"
#include "fair_lock.h"
#include "simulation.h"

using namespace wymianadanych;

namespace {

template <class Lock>
void BM_UncontendedLock(benchmark::State& state) {
  Lock lock;
  for (auto _ : state) {
    std::lock_guard<Lock> held(lock);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_UncontendedLock<std::mutex>);
BENCHMARK(BM_UncontendedLock<TFairLock>);

// One iteration of the loop with a step due each time (the default
// scenario full), on a virtual clock and without threads.
void BM_IterationWithAStep(benchmark::State& state) {
  auto w = wendo_bench::BeachWorld();
  wendo_bench::Populate(*w, 40, 5, 3, 2);
  w->PersonMax = 0;
  w->SharkMax = 0;
  TSimulationTicks ticks;
  uint32_t now = 0;
  for (auto _ : state) benchmark::DoNotOptimize(RunIteration(*w, ticks, now += 101));
}
BENCHMARK(BM_IterationWithAStep);

}  // namespace

BENCHMARK_MAIN();
