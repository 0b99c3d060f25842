#include "spatial_index.h"

#include <cstdlib>

#include "rules.h"

namespace wymianadanych {

void TCellGrid::Finish() {
  minX_ = minY_ = std::numeric_limits<int64_t>::max();
  maxX_ = maxY_ = std::numeric_limits<int64_t>::min();
  std::fill(start_.begin(), start_.end(), 0);
  for (size_t i = 0; i < pending_.size(); ++i) {
    const Entry& e = pending_[i];
    minX_ = std::min<int64_t>(minX_, e.x);
    maxX_ = std::max<int64_t>(maxX_, e.x);
    minY_ = std::min<int64_t>(minY_, e.y);
    maxY_ = std::max<int64_t>(maxY_, e.y);
    ++start_[static_cast<size_t>(cells_[i]) + 1];
  }
  for (size_t i = 1; i < start_.size(); ++i) start_[i] += start_[i - 1];
  entries_.resize(pending_.size());
  // A stable placement keeps each cell in increasing index order.
  next_.assign(start_.begin(), start_.end() - 1);
  for (size_t i = 0; i < pending_.size(); ++i) entries_[static_cast<size_t>(next_[static_cast<size_t>(cells_[i])]++)] = pending_[i];
}

void TSpatialIndex::Refresh(const TWorld& w) {
  if (!terrainStale && terrain.reachWidth == ReachableCells(w.PictureWidth, MapWidth) &&
      terrain.reachHeight == ReachableCells(w.PictureHeight, MapHeight))
    return;
  terrain.Make(w);
  terrainStale = false;
}

namespace {
// One cell when walking every object for every question is cheap (a few
// thousand pairs), fine cells otherwise.
void ChooseCells(const TWorld& w, TCellGrid& g, size_t objects, size_t questions, int fine) {
  const bool few = objects * questions < 4096;
  g.SetShift(w.Index->AdaptiveCells && few ? TSpatialIndex::WholeMapShift : fine);
}
}  // namespace

void BuildSharkGrid(const TWorld& w, TCellGrid& g, bool recentOnly) {
  ChooseCells(w, g, w.Sharks.size(), w.People.size() + w.Observers.size() + w.Boats.size(), TSpatialIndex::SharkShift);
  g.Begin();
  for (size_t i = 0; i < w.Sharks.size(); ++i) {
    const TRekin& s = w.Sharks[i];
    if (s.Dead || (recentOnly && !RecentlySeen(w, s))) continue;
    g.Add(static_cast<int32_t>(i), s.X, s.Y);
  }
  g.Finish();
}

void BuildPeopleGrid(const TWorld& w, TCellGrid& g, bool liveOnly) {
  ChooseCells(w, g, w.People.size(), liveOnly ? w.Sharks.size() : 64, TSpatialIndex::PeopleShift);
  g.Begin();
  for (size_t i = 0; i < w.People.size(); ++i) {
    const TCzlowiek& p = w.People[i];
    if (liveOnly && p.Dead) continue;
    g.Add(static_cast<int32_t>(i), p.X, p.Y);
  }
  g.Finish();
}

void BuildObserverGrid(const TWorld& w, TCellGrid& g) {
  ChooseCells(w, g, w.Observers.size(), w.People.size() + 64, TSpatialIndex::SharkShift);
  g.Begin();
  // A point more than 9 dm off the map is never within reach of anyone on it.
  for (size_t i = 0; i < w.Observers.size(); ++i) {
    const TObserwator& o = w.Observers[i];
    if (o.X < -9 || o.X > MaxX + 9 || o.Y < -9 || o.Y > MaxY + 9) continue;
    g.Add(static_cast<int32_t>(i), o.X, o.Y);
  }
  g.Finish();
}

}  // namespace wymianadanych
