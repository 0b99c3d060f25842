// One iteration of the simulation loop (arrivals, then a step when due),
// and the run control the main window applies around it. Everything here
// takes the current tick as an argument, so a virtual clock can drive it.
#pragma once

#include <cstdint>

#include "wymianadanych.h"

namespace wymianadanych {

// Ticks of the millisecond counter at which the last step and the last
// arrival attempts were made (or the run was last resumed).
struct TSimulationTicks {
  uint32_t LastStepTick = 0;
  uint32_t LastSharkTick = 0;
  uint32_t LastPersonTick = 0;
};

// Milliseconds from `since` to `now` on the wrapping 32-bit counter.
inline uint32_t ElapsedTicks(uint32_t now, uint32_t since) { return now - since; }

// Which checks of an iteration were due and ran (an arrival may still find
// no cell and bring nobody).
enum TIterationResult : unsigned {
  NothingDue = 0,
  PersonArrival = 1,
  SharkArrival = 2,
  StepTaken = 4,
};

// The three checks of one pass, in order: person arrival, shark arrival,
// step. Each that is due runs with the world's lock held.
unsigned RunIteration(TWorld& w, TSimulationTicks& t, uint32_t now);

// Milliseconds after `now` at which some check of RunIteration is next due
// (0: at once). An arrival held back by its maximum is not counted: only a
// step can lower the count.
int64_t MsUntilDue(const TWorld& w, const TSimulationTicks& t, uint32_t now);

// The step itself: the step counter and the clock, then the phases of
// rules::Step (internal/rules_impl.h) with the spatial index's finder, or
// with the literal walks when UseSpatialIndex is off.
void SimulationStep(TWorld& w, TSimulationTicks& t, uint32_t now);

// Start or resume: the three ticks := now; a fresh start also clears the
// clock and the counters and counts the observation points and boats.
void StartRun(TWorld& w, TSimulationTicks& t, uint32_t now, bool fresh);

// After the simulation thread has stopped: boats back home and heading
// out, people, sharks and pending messages gone, StepCounter 0.
void EndRun(TWorld& w);

}  // namespace wymianadanych
