// Runs the simulation loop on a virtual clock and writes what happened as
// text: the trace runner's format, also used by the golden-trace tests.
#pragma once

#include <cstdint>
#include <functional>
#include <ostream>

#include "wymianadanych.h"

namespace wendo_trace {

// Ticks the virtual clock advances before iteration `i` (counted from 0).
using TTickStep = std::function<uint32_t(int64_t i)>;

// The state lines written after a step: a T line, then a line per person,
// shark and boat.
void WriteState(const wymianadanych::TWorld& w, std::ostream& out);

// With the terrain and scenario already in `w`: seeds the generator, makes
// a fresh start at `startTick`, then runs `iterations` iterations. After
// each one that took a step it writes a T line and a line per person, shark
// and boat; after every iteration, each new message as an E line.
void RunTrace(wymianadanych::TWorld& w, uint32_t seed, int64_t iterations, const TTickStep& tickStep,
              uint32_t startTick, std::ostream& out);

}  // namespace wendo_trace
