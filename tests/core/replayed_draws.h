// The generator's draws replayed from a seed in the order a rule makes
// them, so that a test names the draws it expects ("the swimmer's five
// draws") instead of restating the calls one by one.
#pragma once

#include <cstdint>

#include "rules.h"
#include "wymianadanych.h"

namespace wendo_test {

class TReplayedDraws {
 public:
  explicit TReplayedDraws(uint32_t seed) : random_{seed} {}

  // The wander of one coordinate by up to `d`, two draws: a coin toss, then
  // Random(d + 1) added (heads) or taken away.
  int64_t Wander(int64_t v, int32_t d) {
    if (random_(2) == 0) return v + random_(d + 1);
    return v - random_(d + 1);
  }
  // The wander of both coordinates, x first: a shark's four draws.
  wymianadanych::TPosition Wander(int64_t x, int64_t y, int32_t d) {
    const int64_t nx = Wander(x, d);
    return {nx, Wander(y, d)};
  }
  // The swimmer's five draws: the wander of both coordinates, then the
  // drift toward column 200 by Random(pull), where the test works out
  // pull = Round(|x - 200| / 100) + 1 itself.
  wymianadanych::TPosition Swim(int64_t x, int64_t y, int32_t d, int32_t pull) {
    wymianadanych::TPosition at = Wander(x, y, d);
    at.X += x > 200 ? -random_(pull) : random_(pull);
    return at;
  }
  // An arrival's draws: x = Random(width), then y = Random(height), again
  // until `accept(x, y)` takes the cell.
  template <class Accept>
  wymianadanych::TPosition Arrival(int32_t width, int32_t height, Accept accept) {
    for (;;) {
      const int32_t x = random_(width);
      const int32_t y = random_(height);
      if (accept(x, y)) return {x, y};
    }
  }

  // The seed once the draws replayed so far are made.
  uint32_t Seed() const { return random_.Seed; }

 private:
  wymianadanych::TRandom random_;
};

}  // namespace wendo_test
