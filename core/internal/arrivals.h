// Arrivals: a new person on a free land cell, a new shark on deep water.
// Each draws cells at random, x then y, until one is accepted or the search
// gives up; the draws made are the result, as they decide the generator's
// state for everything after.
#pragma once

#include <cstdint>
#include <vector>

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

struct TSpatialIndex;

// The free land cells of the picture, one bit a cell (x * MapHeight + y),
// with the positions of the people and observation points it was made
// from. While nobody has moved, a draw's test is one bit, an arrival adds
// its own person's box, and a beach without a free cell is known at once.
class TFreeLandMap {
 public:
  // Made from this world's terrain, observation points and people, with
  // nobody moved since. The index tells whether the terrain or the points
  // have changed; people move only in steps, so their places are compared
  // when a step has been taken since the last look (StepCounter differs),
  // and their number is compared always. A map found stale is dropped; with
  // the count (the end of a run empties People), that keeps a new run's
  // step counter, starting again, from passing an old map as current.
  bool Current(const TWorld& w, const TSpatialIndex& ix);
  // From the land cells of the picture and every blocker's box: the copy of
  // a bit set and 19 masked words a blocker.
  void Build(const TWorld& w, const TSpatialIndex& ix);
  // How much more the list walks of arrivals may cost, in tests of a
  // blocker, before the map is worth making: a quarter of making it, less
  // what the walks have cost since the last step. Between two steps nobody
  // moves, so a burst of arrivals soon pays for the map; each step starts
  // the count again, so no map is made for a few arrivals that the next
  // step's moves would leave it useless to.
  int64_t WalkAllowance(const TWorld& w);
  void Walked(int64_t cost) { walked_ += cost; }

  bool Free(int32_t x, int32_t y) const {
    const size_t i = static_cast<size_t>(x) * MapHeight + static_cast<size_t>(y);
    return (free_[i >> 6] >> (i & 63)) & 1;
  }
  bool Full() const { return freeWords_ == 0; }
  // A person has arrived at (x, y), the end of People.
  void AddPerson(int32_t x, int32_t y);

 private:
  void Block(int64_t x, int64_t y);

  std::vector<uint64_t> free_;
  int64_t freeWords_ = 0;  // words with a free cell
  bool built_ = false;
  uint64_t kindsGeneration_ = 0, observersVersion_ = 0;
  int32_t peopleSeenAtStep_ = 0;  // StepCounter when people's places last matched
  int64_t walked_ = 0;            // the cost of the list walks since walkedSinceStep_
  int32_t walkedSinceStep_ = 0;
  std::vector<uint64_t> people_;  // their places as the map was made
};

}  // namespace wymianadanych
