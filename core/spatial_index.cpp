#include "spatial_index.h"

#include "object_places.h"
#include "rules.h"

namespace wymianadanych {

void TCellGrid::Build(std::span<const Entry> entries) {
  minX_ = minY_ = std::numeric_limits<int64_t>::max();
  maxX_ = maxY_ = std::numeric_limits<int64_t>::min();
  std::fill(start_.begin(), start_.end(), 0);
  cells_.resize(entries.size());
  for (size_t i = 0; i < entries.size(); ++i) {
    const Entry& e = entries[i];
    minX_ = std::min<int64_t>(minX_, e.X);
    maxX_ = std::max<int64_t>(maxX_, e.X);
    minY_ = std::min<int64_t>(minY_, e.Y);
    maxY_ = std::max<int64_t>(maxY_, e.Y);
    cells_[i] = static_cast<int32_t>(Cell(CellX(e.X), CellY(e.Y)));
    ++start_[static_cast<size_t>(cells_[i]) + 1];
  }
  for (size_t i = 1; i < start_.size(); ++i) start_[i] += start_[i - 1];
  entries_.resize(entries.size());
  // A stable placement keeps each cell in increasing index order.
  next_.assign(start_.begin(), start_.end() - 1);
  for (size_t i = 0; i < entries.size(); ++i) entries_[static_cast<size_t>(next_[static_cast<size_t>(cells_[i])]++)] = entries[i];
}

void TSpatialIndex::Notice(const TWorld& w) {
  if (!terrainMade_ || terrainVersion_ != w.TerrainGrid.Version() ||
      Terrain.ReachWidth != ReachableCells(w.PictureWidth, MapWidth) ||
      Terrain.ReachHeight != ReachableCells(w.PictureHeight, MapHeight)) {
    terrainVersion_ = w.TerrainGrid.Version();
    Terrain.Make(w);
    terrainMade_ = true;
  }
  if (!SamePlaces(w.Observers, observerPlaces_)) {
    TakePlaces(w.Observers, observerPlaces_);
    ++ObserversVersion;
  }
}

void TSpatialIndex::ListLiveSharks(const TWorld& w) {
  LiveSharks.Fill(w.Sharks, [](const TRekin& s) { return !s.Dead; });
}

void TSpatialIndex::ListRecentSharks(const TWorld& w) {
  RecentSharks.Select(LiveSharks, w.Sharks, [&](const TRekin& s) { return !s.Dead && RecentlySeen(w, s); });
}

void TSpatialIndex::RefreshLiveSharks(const TWorld& w) {
  LiveSharks.Select(LiveSharks, w.Sharks, [](const TRekin& s) { return !s.Dead; });
}

void TSpatialIndex::ListLivePeople(const TWorld& w) {
  LivePeople.Fill(w.People, [](const TCzlowiek& p) { return !p.Dead; });
}

void TSpatialIndex::UpdateObservers(const TWorld& w, bool grid) {
  if (observerListVersion_ != ObserversVersion) {
    ObserverPoints.Fill(w.Observers, [](const TObserwator&) { return true; });
    ObserverRows.reset();
    for (const TObserwator& o : w.Observers)
      for (int64_t y = std::max<int64_t>(int64_t{o.Y} - 9, 0); y <= std::min<int64_t>(int64_t{o.Y} + 9, MaxY); ++y)
        ObserverRows.set(static_cast<size_t>(y));
    observerListVersion_ = ObserversVersion;
  }
  if (!grid || observerGridVersion_ == ObserversVersion) return;
  // A point more than 9 dm off the map is never within reach of anyone on
  // it, and would only make the grid's edge cells longer.
  nearMap_.clear();
  for (const TCellGrid::Entry& e : ObserverPoints.Entries())
    if (e.X >= -9 && e.X <= MaxX + 9 && e.Y >= -9 && e.Y <= MaxY + 9) nearMap_.push_back(e);
  ObserverGrid.Build(nearMap_);
  observerGridVersion_ = ObserversVersion;
}

TSpatialIndex& IndexOf(TWorld& w) {
  if (!w.Index) w.Index.reset(new TSpatialIndex);
  return *w.Index;
}

void TSpatialIndexDeleter::operator()(TSpatialIndex* index) const { delete index; }

}  // namespace wymianadanych
