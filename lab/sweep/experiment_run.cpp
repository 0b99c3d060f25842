#include "experiment_run.h"

#include <string_view>

#include "ideal_clock_run.h"
#include "rules.h"
#include "simulation.h"
#include "terrain_picture.h"

namespace wendo_lab {

using namespace wymianadanych;

namespace {

// A message's watcher: the word after the time prefix. A boat's kill
// message also starts with "łódź"; kills are counted by DeadSharks instead.
enum class TSpeaker { Observer, Boat, Other };
TSpeaker Speaker(const std::string& message) {
  const size_t colon = message.find(": ");
  if (colon == std::string::npos) return TSpeaker::Other;
  const std::string_view text = std::string_view(message).substr(colon + 2);
  if (text.starts_with("obserwator na ")) return TSpeaker::Observer;
  if (text.starts_with("łódź na ")) return TSpeaker::Boat;
  return TSpeaker::Other;
}

int32_t Swimmers(const TWorld& w) {
  int32_t n = 0;
  for (const TCzlowiek& p : w.People) n += Swims(w, p);
  return n;
}

// Everything a fresh start needs: the program's End, the scenario as if
// just loaded, the generator seeded, then Start from Idle at tick 0.
void Prepare(TWorld& w, TSimulationTicks& ticks, const TSweepRun& run) {
  EndRun(w);
  w.SharkAlarm = false;
  SetParameters(w, run.Parameters);
  w.Observers = run.Setup->Scenario.Observers;
  w.Boats = run.Setup->Scenario.Boats;
  w.DecimalSeparator.assign(1, '.');
  w.Random.Seed = run.Seed;
  StartRun(w, ticks, 0, true);
}

}  // namespace

TLabWorld::TLabWorld(const QImage& map) : world_(std::make_unique<TWorld>()) { FillTerrainFromPicture(*world_, map); }

TRunResult TLabWorld::Run(const TSweepRun& run, const TRunOptions& options) {
  TWorld& w = *world_;
  TSimulationTicks ticks;
  Prepare(w, ticks, run);

  TRunResult result;
  TCounters now;  // the counters as of the last iteration
  int64_t boatMessages = 0;
  int64_t nextSampleMs = options.SampleEveryMs > 0 ? 0 : int64_t{run.DurationMs} + 1;
  auto sampleUpTo = [&](int64_t ms) {
    for (; nextSampleMs <= ms; nextSampleMs += options.SampleEveryMs)
      result.Series.push_back({static_cast<int32_t>(nextSampleMs), now});
  };

  RunOnIdealClock(w, ticks, 0, run.DurationMs, [&](uint32_t tick, unsigned done) {
    if (options.Stop && options.Stop->load(std::memory_order_relaxed)) throw TRunStopped{};
    sampleUpTo(int64_t{tick} - 1);  // samples before this tick see the state before it
    for (const std::string& message : w.EventLog) {
      const TSpeaker speaker = Speaker(message);
      now.ObserverSightings += speaker == TSpeaker::Observer;
      boatMessages += speaker == TSpeaker::Boat;
    }
    if (options.Watch) options.Watch(w, tick, done, w.EventLog);
    w.EventLog.clear();
    if (done & StepTaken) {
      now.Swimmers = Swimmers(w);
      now.Alarm = w.SharkAlarm;
      result.AlarmSteps += w.SharkAlarm;
      if (now.Swimmers > result.MostSwimmers) result.MostSwimmers = now.Swimmers;
      if (result.FirstEatenMs < 0 && w.DeadPeople > 0) result.FirstEatenMs = w.ElapsedMs;
    }
    now.Steps = w.StepCounter;
    now.ElapsedMs = w.ElapsedMs;
    now.PeopleArrived = static_cast<int32_t>(w.People.size());
    now.PeopleEaten = w.DeadPeople;
    now.PeoplePresent = w.PersonCount;
    now.SharksArrived = static_cast<int32_t>(w.Sharks.size());
    now.SharksKilled = w.DeadSharks;
    now.SharksPresent = w.SharkCount;
    now.BoatSightings = boatMessages - w.DeadSharks;
  });
  sampleUpTo(run.DurationMs);

  result.Final = now;
  if (options.KeepDeaths)
    for (const TCzlowiek& p : w.People)
      if (p.Dead) result.Deaths.push_back({static_cast<int16_t>(p.X), static_cast<int16_t>(p.Y)});
  return result;
}

}  // namespace wendo_lab
