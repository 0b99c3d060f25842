// One run of a sweep, as the program makes it on a machine that always
// keeps up: the scenario put into a world, a fresh start at tick 0 with the
// given seed, and every check of the loop taken at the first millisecond
// tick at which it is due, until the duration is over. What happened is
// read from the world's counters as they change.
#pragma once

#include <QImage>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "moment_counts.h"
#include "sweep.h"
#include "wymianadanych.h"

namespace wendo_lab {

// The counters of a run at one moment, as the core reads them, and the
// exposure that the steps up to then add up to, which only a run that
// watches every step can know.
struct TMomentCounts : wymianadanych::TMomentCounts {
  // Over the steps so far, the live people on water cells after each step
  // times the step's simulated duration: person-milliseconds in the water.
  int64_t SwimPersonMs = 0;
  // The simulated time of the steps whose people moved under an alarm.
  int64_t WarnedMs = 0;
};

struct TSample {
  int32_t TimeMs = 0;
  TMomentCounts Counters;
};

struct TPlace {
  int16_t X = 0;
  int16_t Y = 0;
};

struct TRunResult {
  TMomentCounts Final;
  int64_t AlarmSteps = 0;     // steps that ended with the alarm up
  int32_t MostSwimmers = 0;   // the most live people on water cells after a step
  int32_t FirstEatenMs = -1;  // simulated time of the first person eaten, -1 if none
  std::vector<TSample> Series;
  std::vector<TPlace> Deaths;  // where people were eaten
  std::vector<TPlace> BoatPlaces;  // where the boats were, every BoatPlaceSteps-th step, when kept
};

constexpr int32_t BoatPlaceSteps = 10;

// Raised inside a run when the stop flag is set.
struct TRunStopped {};

struct TRunOptions {
  int32_t SampleEveryMs = 0;  // 0: no series
  bool KeepDeaths = false;
  bool KeepBoatPlaces = false;
  const std::atomic<bool>* Stop = nullptr;
  // Called after every iteration with its tick, the TIterationResult bits
  // and the messages it appended (for tests that compare runs).
  std::function<void(const wymianadanych::TWorld&, uint32_t now, unsigned done, const std::vector<std::string>&)> Watch;
};

// A world kept for one job and used for run after run: the terrain is
// filled once, and each run starts from the scenario afresh.
class TLabWorld {
 public:
  explicit TLabWorld(const QImage& map);
  TRunResult Run(const TSweepRun& run, const TRunOptions& options);
  const wymianadanych::TWorld& World() const { return *world_; }

 private:
  std::unique_ptr<wymianadanych::TWorld> world_;
};

}  // namespace wendo_lab
