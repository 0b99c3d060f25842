// The counters of a run at one moment, read together from the world: what
// the chart samples, the trace runner writes and the experiment runner
// reports.
#pragma once

#include <cstdint>

#include "wymianadanych.h"

namespace wymianadanych {

struct TMomentCounts {
  int32_t Steps = 0;          // StepCounter
  int32_t ElapsedMs = 0;
  int32_t PeopleArrived = 0;  // People, alive or dead
  int32_t People = 0;         // PersonCount
  int32_t DeadPeople = 0;
  int32_t SharksArrived = 0;  // Sharks, alive or dead
  int32_t Sharks = 0;         // SharkCount
  int32_t DeadSharks = 0;
  int32_t Swimmers = 0;       // live people on a water cell
  int64_t ObserverSightings = 0;
  int64_t BoatSightings = 0;
  bool Alarm = false;         // SharkAlarm
  bool PeopleWarned = false;

  bool operator==(const TMomentCounts&) const = default;
};

// The live people on a water cell now. Right after a step, and until the
// next, that is the step's own count and the people who have arrived since:
// between steps nobody moves or dies. Otherwise, a walk of People.
int32_t CountSwimmers(const TWorld& w);

// Reads every counter at once. The caller holds the world's lock, or is the
// only thread that touches the world.
TMomentCounts ReadMomentCounts(const TWorld& w);

}  // namespace wymianadanych
