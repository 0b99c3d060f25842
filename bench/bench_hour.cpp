// Simulated hours of three beaches, every check of the loop taken on time,
// as an experiment makes them:
// - the default-sized beach (five observation points, three boats);
// - a busy beach: 200 people arriving every 2 s, one observation point and
//   one boat, on the program's map;
// - a small beach with fast arrivals: a person every second up to 40, a
//   shark every 3 s up to 8, five observation points and three boats.
// The plain ones run only the simulation; "Lab" also keeps after every
// iteration what an experiment reads: the swimmers after each step, the
// sightings, and the messages taken off the log.
#include <benchmark/benchmark.h>

#include <string_view>

#include "bench_world.h"
#include "ideal_clock_run.h"
#if __has_include("moment_counts.h")
#include "moment_counts.h"
#endif
#include "rules.h"
#include "scenario_file.h"
#include "simulation.h"

using namespace wymianadanych;

namespace {

enum class TBeach { Default, Busy, FastArrivals };

std::unique_ptr<TWorld> MakeBeach(TBeach beach) {
  auto w = wendo_bench::BeachWorld();
  if (beach == TBeach::Busy) {
    LoadScenario(*w, WENDO_SOURCE_DIR "/examples/busy.wnd");
    TObserwator o;
    o.X = 300;
    o.Y = 600;
    o.Range = 250;
    w->Observers.push_back(o);
    TLodz b;
    b.X = b.HomeX = 220;
    b.Y = b.HomeY = b.PatrolY = 600;
    b.PatrolX = 60;
    b.Speed = 50;
    b.Range = 200;
    b.Outbound = true;
    w->Boats.push_back(b);
    return w;
  }
  wendo_bench::PlaceWatchers(*w);
  if (beach == TBeach::FastArrivals) {
    w->PersonArrivalS = 1;
    w->PersonMax = 40;
    w->SharkArrivalS = 3;
    w->SharkMax = 8;
  }
  return w;
}

struct TLabCounts {
  int64_t sightings = 0, swimmerSteps = 0;
};

// The counts an experiment keeps after an iteration, the log emptied.
// Where the core counts sightings and swimmers itself and can leave out
// the message text, the experiment reads those instead.
#if __has_include("moment_counts.h")
constexpr bool kCoreCounts = true;
void StartCounting(TWorld& w) { w.WriteMessages = false; }
void KeepCounts(TWorld& w, unsigned done, TLabCounts& counts) {
  counts.sightings = w.ObserverSightings + w.BoatSightings;
  w.EventLog.clear();
  if (done & StepTaken) counts.swimmerSteps += CountSwimmers(w);
}
#else
// What an experiment counts from the messages: the watcher's word after
// the time prefix.
bool SaidBy(const std::string& message, std::string_view word) {
  const size_t colon = message.find(": ");
  return colon != std::string::npos && std::string_view(message).substr(colon + 2).starts_with(word);
}

int32_t WalkSwimmers(const TWorld& w) {
  int32_t n = 0;
  for (const TCzlowiek& p : w.People) n += Swims(w, p);
  return n;
}

constexpr bool kCoreCounts = false;
void StartCounting(TWorld&) {}
void KeepCounts(TWorld& w, unsigned done, TLabCounts& counts) {
  for (const std::string& m : w.EventLog) counts.sightings += SaidBy(m, "obserwator na ") || SaidBy(m, "łódź na ");
  w.EventLog.clear();
  if (done & StepTaken) counts.swimmerSteps += WalkSwimmers(w);
}
#endif

void HourBenchmark(benchmark::State& state, TBeach beach, bool lab) {
  auto w = MakeBeach(beach);
  TLabCounts counts;
  for (auto _ : state) {
    state.PauseTiming();
    EndRun(*w);
    w->Random.Seed = 2024;
    TSimulationTicks ticks;
    StartRun(*w, ticks, 0, true);
    counts = {};
    if (lab) StartCounting(*w);
    state.ResumeTiming();
    RunOnIdealClock(*w, ticks, 0, 3600 * 1000, [&](uint32_t, unsigned done) {
      if (lab) KeepCounts(*w, done, counts);
    });
  }
  state.counters["steps"] = w->StepCounter;
  state.counters["people"] = static_cast<double>(w->People.size());
  state.counters["eaten"] = w->DeadPeople;
  state.counters["sharks"] = static_cast<double>(w->Sharks.size());
  if (lab) {
    state.counters["swimmer_steps"] = static_cast<double>(counts.swimmerSteps);
    state.counters["sightings"] = static_cast<double>(counts.sightings);
    state.counters["core_counts"] = kCoreCounts;
  }
}

void BM_DefaultHourLab(benchmark::State& state) { HourBenchmark(state, TBeach::Default, true); }
void BM_BusyBeachHour(benchmark::State& state) { HourBenchmark(state, TBeach::Busy, false); }
void BM_BusyBeachHourLab(benchmark::State& state) { HourBenchmark(state, TBeach::Busy, true); }
void BM_FastArrivalsHour(benchmark::State& state) { HourBenchmark(state, TBeach::FastArrivals, false); }
void BM_FastArrivalsHourLab(benchmark::State& state) { HourBenchmark(state, TBeach::FastArrivals, true); }

}  // namespace

BENCHMARK(BM_DefaultHourLab)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BusyBeachHour)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BusyBeachHourLab)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FastArrivalsHour)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FastArrivalsHourLab)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
