// Worlds for the benchmarks: the beach map of the program when its picture
// can be read, otherwise a beach drawn in code with the same layout.
#pragma once

#include <memory>

#include "wymianadanych.h"

namespace wendo_bench {

std::unique_ptr<wymianadanych::TWorld> BeachWorld();

// Fills the world with a run in full swing: people half on land and half
// swimming, sharks in deep water, observation points and boats along the
// shore. Deterministic for a given count.
void Populate(wymianadanych::TWorld& w, int people, int sharks, int observers, int boats);

}  // namespace wendo_bench
