// Runs the runs of a sweep (or of one shard of it) on several threads, one
// world per thread, and hands each result to the caller in canonical order
// on the calling thread, whatever order the threads finish in.
#pragma once

#include <QImage>
#include <atomic>
#include <functional>

#include "experiment_run.h"
#include "sweep.h"

namespace wendo_lab {

// Finished runs held per job, at most, before they are delivered: a run
// starts only when it is fewer than this many runs per job ahead of the
// next one to deliver.
constexpr int WindowPerJob = 256;

struct TSweepJobs {
  int Jobs = 1;
  TRunOptions Run;  // its Stop flag also stops the sweep
  // Called on the calling thread with each run's result, in order.
  std::function<void(const TSweepRun&, TRunResult&&)> Deliver;
  // Called on the calling thread once per pass of its loop, after the
  // deliveries of that pass (or after waiting at most 100 ms for one), with
  // the number of runs finished so far.
  std::function<void(int64_t finished)> Progress;
};

// Returns false when the stop flag ended the sweep early; the runs that
// were delivered before stay delivered. An error in a run is rethrown here
// after every thread has stopped.
bool RunSweep(const TSweep& sweep, const TShardRuns& runs, const QImage& map, const TSweepJobs& jobs);

}  // namespace wendo_lab
