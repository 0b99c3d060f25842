// Worlds for the benchmarks: the beach map of the program when its picture
// can be read, otherwise a beach drawn in code with the same layout.
#pragma once

#include <memory>

#include "simulation.h"

namespace wendo_bench {

std::unique_ptr<wymianadanych::TWorld> BeachWorld();

// Fills the world with a run in full swing: people half on land and half
// swimming, sharks in deep water, observation points and boats along the
// shore. Deterministic for a given count.
void Populate(wymianadanych::TWorld& w, int people, int sharks, int observers, int boats);

// Five observation points on the land and three boats patrolling the water
// near the shore, at fixed places of the program's map.
void PlaceWatchers(wymianadanych::TWorld& w);

// The crowded arrival scenario: steps of 1 ms (nobody moves), people and
// sharks arriving in every iteration up to 20,000 and 2,000. Started at
// tick 0 and run until a person's arrival finds no free cell; returns the
// last tick used.
uint32_t FillBeach(wymianadanych::TWorld& w, wymianadanych::TSimulationTicks& ticks);

// The process's resident memory now, in MB, as the kernel counts it.
double ResidentMegabytes();

}  // namespace wendo_bench
