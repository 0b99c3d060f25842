#include "spatial_index.h"

#include <cstdlib>

#include "object_places.h"
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

void TSpatialIndex::Notice(const TWorld& w) {
  if (!terrainMade_ || terrainVersion_ != w.TerrainGrid.Version() ||
      terrain.reachWidth != ReachableCells(w.PictureWidth, MapWidth) ||
      terrain.reachHeight != ReachableCells(w.PictureHeight, MapHeight)) {
    terrainVersion_ = w.TerrainGrid.Version();
    terrain.Make(w);
    terrainMade_ = true;
  }
  if (!SamePlaces(w.Observers, observerPlaces_)) {
    TakePlaces(w.Observers, observerPlaces_);
    ++observersVersion;
  }
}

// One cell when walking every object for every question is cheap (a few
// thousand pairs), fine cells otherwise.
int TSpatialIndex::CellShift(size_t objects, size_t questions, int fine) const {
  return AdaptiveCells && objects * questions < 4096 ? WholeMapShift : fine;
}

void TSpatialIndex::BuildSharkGrid(const TWorld& w, TCellGrid& g, bool recentOnly) {
  g.SetShift(CellShift(w.Sharks.size(), w.People.size() + w.Observers.size() + w.Boats.size(), SharkShift));
  g.Begin();
  for (size_t i = 0; i < w.Sharks.size(); ++i) {
    const TRekin& s = w.Sharks[i];
    if (s.Dead || (recentOnly && !RecentlySeen(w, s))) continue;
    g.Add(static_cast<int32_t>(i), s.X, s.Y);
  }
  g.Finish();
}

void TSpatialIndex::BuildPeopleGrid(const TWorld& w, TCellGrid& g, bool liveOnly) {
  g.SetShift(CellShift(w.People.size(), liveOnly ? w.Sharks.size() : 64, PeopleShift));
  g.Begin();
  for (size_t i = 0; i < w.People.size(); ++i) {
    const TCzlowiek& p = w.People[i];
    if (liveOnly && p.Dead) continue;
    g.Add(static_cast<int32_t>(i), p.X, p.Y);
  }
  g.Finish();
}

void TSpatialIndex::UpdateObserverGrid(const TWorld& w) {
  const int shift = CellShift(w.Observers.size(), w.People.size() + 64, SharkShift);
  if (observerGridVersion_ == observersVersion && observers.Shift == shift) return;
  observers.SetShift(shift);
  observers.Begin();
  // A point more than 9 dm off the map is never within reach of anyone on it.
  for (size_t i = 0; i < w.Observers.size(); ++i) {
    const TObserwator& o = w.Observers[i];
    if (o.X < -9 || o.X > MaxX + 9 || o.Y < -9 || o.Y > MaxY + 9) continue;
    observers.Add(static_cast<int32_t>(i), o.X, o.Y);
  }
  observers.Finish();
  observerGridVersion_ = observersVersion;
}

TSpatialIndex& IndexOf(TWorld& w) {
  if (!w.Index) w.Index.reset(new TSpatialIndex);
  return *w.Index;
}

void TSpatialIndexDeleter::operator()(TSpatialIndex* index) const { delete index; }

}  // namespace wymianadanych
