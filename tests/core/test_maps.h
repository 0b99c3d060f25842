// Whole maps for the long comparisons: the program's own map picture, or a
// painted map full of traps.
#pragma once

#include <string>

#include "wymianadanych.h"

namespace wendo_test {

// Fills the terrain from a map picture file; false when it cannot be read.
// Also false in a build without Qt (the ThreadSanitizer build, which runs
// only the threaded tests, none of which needs the map): callers then paint
// a map instead.
bool LoadBmpTerrain(wymianadanych::TWorld& w, const std::string& path);

// A map full of traps: land strips narrower than a step, lakes, aqua
// regions and islands, water along every edge, other colours, and pixels
// that are no terrain at all.
void PaintTrickyMap(wymianadanych::TWorld& w);

}  // namespace wendo_test
