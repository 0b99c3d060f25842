#include "free_land_map.h"

#include <algorithm>

#include "object_places.h"
#include "spatial_index.h"

namespace wymianadanych {

bool TFreeLandMap::Current(const TWorld& w, const TSpatialIndex& ix) {
  built_ = built_ && kindsGeneration_ == ix.Terrain.Generation && observersVersion_ == ix.ObserversVersion &&
           w.People.size() == people_.size() &&
           (w.StepCounter == peopleSeenAtStep_ || SamePlaces(w.People, people_));
  peopleSeenAtStep_ = w.StepCounter;
  return built_;
}

int64_t TFreeLandMap::WalkAllowance(const TWorld& w) {
  if (w.StepCounter != walkedSinceStep_) {
    walked_ = 0;
    walkedSinceStep_ = w.StepCounter;
  }
  // Making the map costs about as much as 10,000 tests of a blocker, and
  // 100 more a blocker.
  const int64_t buildCost = 10000 + 100 * static_cast<int64_t>(w.People.size() + w.Observers.size());
  return buildCost / 4 - walked_;
}

void TFreeLandMap::Build(const TWorld& w, const TSpatialIndex& ix) {
  free_ = ix.Terrain.ReachableLand();
  freeWords_ = ix.Terrain.ReachableLandWords();
  people_.clear();
  for (const TCzlowiek& p : w.People) {
    people_.push_back(Place(p));
    Block(p.X, p.Y);
  }
  for (const TObserwator& o : w.Observers) Block(o.X, o.Y);
  kindsGeneration_ = ix.Terrain.Generation;
  observersVersion_ = ix.ObserversVersion;
  peopleSeenAtStep_ = w.StepCounter;
  built_ = true;
  walked_ = 0;
}

void TFreeLandMap::AddPerson(int32_t x, int32_t y) {
  people_.push_back(Place(x, y));
  Block(x, y);
}

// Clears the cells within 9 dm of (x, y) in both axes: in each column of
// the box its rows are neighbouring bits, in one word or two.
void TFreeLandMap::Block(int64_t x, int64_t y) {
  const int64_t x0 = std::max<int64_t>(x - 9, 0), x1 = std::min<int64_t>(x + 9, MaxX);
  const int64_t y0 = std::max<int64_t>(y - 9, 0), y1 = std::min<int64_t>(y + 9, MaxY);
  if (x0 > x1 || y0 > y1) return;
  const uint64_t rows = (uint64_t{1} << (y1 - y0 + 1)) - 1;  // at most 19 bits
  auto clear = [&](size_t word, uint64_t mask) {
    const uint64_t before = free_[word];
    free_[word] = before & ~mask;
    freeWords_ -= before != 0 && free_[word] == 0;
  };
  for (int64_t cx = x0; cx <= x1; ++cx) {
    const size_t first = static_cast<size_t>(cx * MapHeight + y0);
    const unsigned lo = first & 63;
    clear(first >> 6, rows << lo);
    if (lo != 0 && (rows >> (64 - lo)) != 0) clear((first >> 6) + 1, rows >> (64 - lo));
  }
}

}  // namespace wymianadanych
