// A run as the program makes it on a machine that always keeps up: each
// check of the loop is taken at the first millisecond tick at which it is
// due. Ticks at which nothing is due are jumped over rather than visited,
// since an iteration then changes nothing; an hour of beach time costs only
// its steps and arrivals.
#pragma once

#include <algorithm>
#include <cstdint>

#include "simulation.h"

namespace wymianadanych {

// Runs, from `startTick` (where the caller has started or resumed the run),
// every iteration that falls on the ticks startTick + 1 … startTick +
// `spanMs`: the same as iterating at each of those ticks. After each one,
// `after(now, done)` is called with its tick and its TIterationResult bits.
template <class After>
void RunOnIdealClock(TWorld& w, TSimulationTicks& t, uint32_t startTick, int64_t spanMs, After after) {
  int64_t at = 0;  // milliseconds since startTick
  for (;;) {
    const int64_t next = at + std::max<int64_t>(1, MsUntilDue(w, t, startTick + static_cast<uint32_t>(at)));
    if (next > spanMs) return;
    at = next;
    const uint32_t now = startTick + static_cast<uint32_t>(at);
    after(now, RunIteration(w, t, now));
  }
}

}  // namespace wymianadanych
