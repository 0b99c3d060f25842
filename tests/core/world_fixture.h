// Small hand-built worlds for the core tests.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "wymianadanych.h"

namespace wendo_test {

using namespace wymianadanych;

// A world whose every cell has `colour`; tests paint what they need on it.
std::unique_ptr<TWorld> MakeWorld(int32_t colour);

void Paint(TWorld& w, int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t colour);  // inclusive box

TCzlowiek& AddPerson(TWorld& w, int32_t x, int32_t y, bool dead = false);
TRekin& AddShark(TWorld& w, int32_t x, int32_t y, bool dead = false, int32_t lastSeen = 0);
TObserwator& AddObserver(TWorld& w, int32_t x, int32_t y, int32_t range);
TLodz& AddBoat(TWorld& w, int32_t x, int32_t y, int32_t px, int32_t py, int32_t speed, int32_t range);

}  // namespace wendo_test

namespace wendo_test {

// Fills the terrain from a map picture file; false when it cannot be read.
// Also false in a build without Qt (the ThreadSanitizer build, which runs
// only the threaded tests, none of which needs the map): callers then paint
// a map instead.
bool LoadBmpTerrain(TWorld& w, const std::string& path);

// A map full of traps: land strips narrower than a step, lakes, aqua
// regions and islands, water along every edge, other colours, and pixels
// that are no terrain at all.
void PaintTrickyMap(TWorld& w);

}  // namespace wendo_test
