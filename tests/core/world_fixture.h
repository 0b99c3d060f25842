// Small hand-built worlds for the core tests: a world of one colour, boxes
// painted on its terrain, and objects put where a test wants them.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "wymianadanych.h"

namespace wendo_test {

using namespace wymianadanych;

// A world whose every cell has `colour`; tests paint what they need on it.
std::unique_ptr<TWorld> MakeWorld(int32_t colour);

// Gives the cells of the box from (x0, y0) to (x1, y1), bounds included,
// `colour`.
void Paint(TWorld& w, int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t colour);

// Each appends a new object to its list, as the program makes it, and
// returns it: a boat stands at its home, heading out.
TCzlowiek& AddPerson(TWorld& w, int32_t x, int32_t y, bool dead = false);
TRekin& AddShark(TWorld& w, int32_t x, int32_t y, bool dead = false, int32_t lastSeen = 0);
TObserwator& AddObserver(TWorld& w, int32_t x, int32_t y, int32_t range);
TLodz& AddBoat(TWorld& w, int32_t x, int32_t y, int32_t px, int32_t py, int32_t speed, int32_t range);

}  // namespace wendo_test
