#include "experiment_run.h"

#include <algorithm>

#include "ideal_clock_run.h"
#include "simulation.h"
#include "terrain_picture.h"

namespace wendo_lab {

using namespace wymianadanych;

namespace {

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

// What a run records as it goes: the counters as of the last iteration,
// the samples of the series, and what only the steps show.
class TRunRecord {
 public:
  TRunRecord(int32_t sampleEveryMs, int32_t durationMs, bool keepBoatPlaces)
      : keepBoatPlaces_(keepBoatPlaces),
        everyMs_(sampleEveryMs),
        durationMs_(durationMs),
        nextSampleMs_(sampleEveryMs > 0 ? 0 : int64_t{durationMs} + 1) {}

  // Samples every sample time up to `ms` with the counters as they are.
  void SampleUpTo(int64_t ms) {
    for (; nextSampleMs_ <= ms; nextSampleMs_ += everyMs_)
      result_.Series.push_back({static_cast<int32_t>(nextSampleMs_), now_});
  }

  void Observe(const TWorld& w, bool stepTaken) {
    static_cast<wymianadanych::TMomentCounts&>(now_) = ReadMomentCounts(w);
    if (!stepTaken) return;
    // A step stands for the simulated time since the one before; the
    // people it leaves in the water and the alarm they moved under hold
    // for that long.
    const int64_t stepMs = int64_t{now_.ElapsedMs} - lastStepElapsedMs_;
    lastStepElapsedMs_ = now_.ElapsedMs;
    now_.SwimPersonMs += int64_t{now_.Swimmers} * stepMs;
    if (now_.PeopleWarned) now_.WarnedMs += stepMs;
    result_.AlarmSteps += now_.Alarm;
    result_.MostSwimmers = std::max(result_.MostSwimmers, now_.Swimmers);
    if (result_.FirstEatenMs < 0 && now_.DeadPeople > 0) result_.FirstEatenMs = now_.ElapsedMs;
    if (keepBoatPlaces_ && now_.Steps % BoatPlaceSteps == 0)
      for (const TLodz& b : w.Boats) result_.BoatPlaces.push_back({static_cast<int16_t>(b.X), static_cast<int16_t>(b.Y)});
  }

  TRunResult Finish(const TWorld& w, bool keepDeaths) {
    SampleUpTo(durationMs_);
    result_.Final = now_;
    if (keepDeaths)
      for (const TCzlowiek& p : w.People)
        if (p.Dead) result_.Deaths.push_back({static_cast<int16_t>(p.X), static_cast<int16_t>(p.Y)});
    return std::move(result_);
  }

 private:
  bool keepBoatPlaces_;
  int32_t everyMs_;
  int32_t durationMs_;
  int64_t nextSampleMs_;
  int64_t lastStepElapsedMs_ = 0;
  TMomentCounts now_;  // as of the last iteration
  TRunResult result_;
};

}  // namespace

TLabWorld::TLabWorld(const QImage& map) : world_(std::make_unique<TWorld>()) { FillTerrainFromPicture(*world_, map); }

TRunResult TLabWorld::Run(const TSweepRun& run, const TRunOptions& options) {
  TWorld& w = *world_;
  TSimulationTicks ticks;
  Prepare(w, ticks, run);
  // The counts are kept by the step; message text is formatted only for a
  // watcher that reads it.
  w.WriteMessages = static_cast<bool>(options.Watch);
  TRunRecord record(options.SampleEveryMs, run.DurationMs, options.KeepBoatPlaces);
  RunOnIdealClock(w, ticks, 0, run.DurationMs, [&](uint32_t tick, unsigned done) {
    if (options.Stop && options.Stop->load(std::memory_order_relaxed)) throw TRunStopped{};
    record.SampleUpTo(int64_t{tick} - 1);  // samples before this tick see the state before it
    if (options.Watch) options.Watch(w, tick, done, w.EventLog);
    w.EventLog.clear();
    record.Observe(w, (done & StepTaken) != 0);
  });
  return record.Finish(w, options.KeepDeaths);
}

}  // namespace wendo_lab
