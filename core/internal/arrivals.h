// Arrivals: a new person on a free land cell, a new shark on deep water.
// Each draws cells at random, x then y, until one is accepted or the search
// gives up; the draws made are the result, as they decide the generator's
// state for everything after.
#pragma once

#include <cstdint>

#include "wymianadanych.h"

namespace wymianadanych {

// An arrival search gives up after this many rejected cells.
constexpr int64_t MaxArrivalDraws = 10000000;

// Where a new person may stand: a land cell with nobody, alive or dead, and
// no observation point within 9 dm in both axes. Walks the lists.
bool FreeLandCell(const TWorld& w, int32_t x, int32_t y);

// One arrival each, with the world's lock held: the search, then the new
// object appended, counted and announced. False when the search gave up.
bool BringPerson(TWorld& w);
bool BringShark(TWorld& w);

}  // namespace wymianadanych
