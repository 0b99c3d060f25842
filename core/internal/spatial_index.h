// A uniform grid over the map that finds the objects near a point without
// walking a whole list. Entries of one cell are kept in list order, so the
// answers can honour every "first in the list" rule of the walks they stand
// in for.
#pragma once

#include <algorithm>
#include <bitset>
#include <cstdint>
#include <limits>
#include <span>
#include <vector>

#include "free_land_map.h"
#include "terrain_kinds.h"
#include "walk_lanes.h"
#include "wymianadanych.h"

namespace wymianadanych {

class TCellGrid {
 public:
  // Cells of 2^shift dm a side: small cells for dense crowds searched at
  // short range, large ones for sparse objects searched far.
  explicit TCellGrid(int shift)
      : Shift(shift),
        CellSize(1 << shift),
        Cols((MapWidth + CellSize - 1) >> shift),
        Rows((MapHeight + CellSize - 1) >> shift),
        start_(static_cast<size_t>(Cols) * Rows + 1, 0) {}

  const int Shift;
  const int32_t CellSize, Cols, Rows;

  struct Entry {
    int32_t Index;
    int32_t X;
    int32_t Y;
  };

  // Sorts entries, which must come in increasing index order, into cells.
  // A position off the map goes into the nearest edge cell.
  void Build(std::span<const Entry> entries);
  size_t Size() const { return entries_.size(); }

  int32_t CellX(int64_t x) const { return static_cast<int32_t>(std::clamp<int64_t>(x >> Shift, 0, Cols - 1)); }
  int32_t CellY(int64_t y) const { return static_cast<int32_t>(std::clamp<int64_t>(y >> Shift, 0, Rows - 1)); }

  const Entry* CellBegin(int32_t cx, int32_t cy) const { return entries_.data() + start_[Cell(cx, cy)]; }
  const Entry* CellEnd(int32_t cx, int32_t cy) const { return entries_.data() + start_[Cell(cx, cy) + 1]; }

  // Whether the box (bounds inclusive) can hold an entry at all: it meets
  // the box around every entry.
  bool MayHold(int64_t x0, int64_t y0, int64_t x1, int64_t y1) const {
    return !entries_.empty() && x1 >= minX_ && x0 <= maxX_ && y1 >= minY_ && y0 <= maxY_;
  }

  // Calls f(begin, end) for every cell that meets the box (bounds inclusive).
  template <class F>
  void ForCellsInBox(int64_t x0, int64_t y0, int64_t x1, int64_t y1, F&& f) const {
    if (!MayHold(x0, y0, x1, y1)) return;
    const int32_t cx0 = CellX(x0), cx1 = CellX(x1), cy0 = CellY(y0), cy1 = CellY(y1);
    for (int32_t cx = cx0; cx <= cx1; ++cx)
      for (int32_t cy = cy0; cy <= cy1; ++cy) {
        const Entry* b = CellBegin(cx, cy);
        const Entry* e = CellEnd(cx, cy);
        if (b != e) f(b, e);
      }
  }

  // Calls f(begin, end) for every column of cells that meets the box, with
  // the entries of its cells in the box one after the other: a column's
  // cells lie next to each other. Within a column the entries come cell by
  // cell, so only in index order per cell.
  template <class F>
  void ForColumnsInBox(int64_t x0, int64_t y0, int64_t x1, int64_t y1, F&& f) const {
    if (!MayHold(x0, y0, x1, y1)) return;
    const int32_t cx0 = CellX(x0), cx1 = CellX(x1), cy0 = CellY(y0), cy1 = CellY(y1);
    for (int32_t cx = cx0; cx <= cx1; ++cx) {
      const Entry* b = CellBegin(cx, cy0);
      const Entry* e = CellEnd(cx, cy1);
      if (b != e) f(b, e);
    }
  }

  // The entry nearest to (x, y) with a squared distance below `limit` and
  // accepted by `alive`; of equal distances the lowest index wins. Searches
  // rings of cells outward and stops once no nearer entry can remain.
  // Returns the index, or -1; `*sum`, if asked for, is set to its squared
  // distance, or to `limit` without one.
  template <class Alive>
  int64_t Nearest(int64_t x, int64_t y, int64_t limit, Alive&& alive, int64_t* sum = nullptr) const {
    if (sum) *sum = limit;
    if (entries_.empty() || limit <= 0) return -1;
    const int32_t cx = CellX(x), cy = CellY(y);
    int64_t bestS = std::numeric_limits<int64_t>::max();
    int64_t best = -1;
    const int32_t maxRing = std::max({cx, Cols - 1 - cx, cy, Rows - 1 - cy});
    for (int32_t k = 0; k <= maxRing; ++k) {
      if (k > 0) {
        const int64_t gap = RingGap(x, y, cx, cy, k);  // least distance along one axis
        const int64_t bound = gap * gap;
        if (bound >= limit || (best >= 0 && bound > bestS)) break;
      }
      ForRing(cx, cy, k, [&](int32_t i, int32_t j, const Entry* b, const Entry* e) {
        // A cell wholly farther than the best so far holds nothing better.
        const int64_t gx = std::max<int64_t>({0, int64_t{i} * CellSize - x, x - (int64_t{i} * CellSize + CellSize - 1)});
        const int64_t gy = std::max<int64_t>({0, int64_t{j} * CellSize - y, y - (int64_t{j} * CellSize + CellSize - 1)});
        const int64_t near = gx * gx + gy * gy;
        if (near >= limit || near > bestS) return;
        for (; b != e; ++b) {
          const int64_t s = SquaredDistance(int64_t{b->X} - x, int64_t{b->Y} - y);
          if (s >= limit || s > bestS || (s == bestS && b->Index > best)) continue;
          if (!alive(b->Index)) continue;
          bestS = s;
          best = b->Index;
        }
      });
    }
    if (sum && best >= 0) *sum = bestS;
    return best;
  }

 private:
  size_t Cell(int32_t cx, int32_t cy) const { return static_cast<size_t>(cx) * Rows + cy; }

  // The least distance along one axis from (x, y), in cell (cx, cy), to any
  // cell of ring k that lies within the grid.
  int64_t RingGap(int64_t x, int64_t y, int32_t cx, int32_t cy, int32_t k) const {
    int64_t gap = std::numeric_limits<int64_t>::max();
    if (cx + k < Cols) gap = std::min(gap, int64_t{cx + k} * CellSize - x);
    if (cx - k >= 0) gap = std::min(gap, x - (int64_t{cx - k} * CellSize + CellSize - 1));
    if (cy + k < Rows) gap = std::min(gap, int64_t{cy + k} * CellSize - y);
    if (cy - k >= 0) gap = std::min(gap, y - (int64_t{cy - k} * CellSize + CellSize - 1));
    return gap;
  }

  // The cells at Chebyshev distance k from (cx, cy), within the grid.
  template <class F>
  void ForRing(int32_t cx, int32_t cy, int32_t k, F&& f) const {
    auto visit = [&](int32_t i, int32_t j) {
      const Entry* b = CellBegin(i, j);
      const Entry* e = CellEnd(i, j);
      if (b != e) f(i, j, b, e);
    };
    if (k == 0) return visit(cx, cy);
    const int32_t i0 = std::max(cx - k, 0), i1 = std::min(cx + k, Cols - 1);
    const int32_t j0 = std::max(cy - k + 1, 0), j1 = std::min(cy + k - 1, Rows - 1);
    for (int32_t i = i0; i <= i1; ++i) {
      if (cy - k >= 0) visit(i, cy - k);
      if (cy + k < Rows) visit(i, cy + k);
    }
    for (int32_t j = j0; j <= j1; ++j) {
      if (cx - k >= 0) visit(cx - k, j);
      if (cx + k < Cols) visit(cx + k, j);
    }
  }

  std::vector<int32_t> cells_;  // the cell of each entry given to Build
  std::vector<Entry> entries_;
  std::vector<int32_t> start_;
  std::vector<int32_t> next_;
  int64_t minX_ = 0, maxX_ = -1, minY_ = 0, maxY_ = -1;  // around every entry
};

// Objects of one list in list order, as a phase of a step finds them, with
// the box around them: walked as they are when they are few, and sorted
// into a grid when they are many.
class TWalkList {
 public:
  using Entry = TCellGrid::Entry;

  // The objects of `list` that `keep` accepts, with their indices.
  template <class List, class Keep>
  void Fill(const List& list, Keep&& keep) {
    if (storage_.size() < list.size()) storage_.resize(list.size());
    size_ = 0;
    TBox box;
    for (size_t i = 0; i < list.size(); ++i)
      if (keep(list[i])) {
        storage_[size_++] = {static_cast<int32_t>(i), list[i].X, list[i].Y};
        box.Add(list[i].X, list[i].Y);
      }
    SetBox(box);
  }
  // The objects of `from`, entries of `list`, that `keep` accepts, where
  // they stand now. `from` may be this list itself.
  template <class List, class Keep>
  void Select(const TWalkList& from, const List& list, Keep&& keep) {
    if (storage_.size() < from.size_) storage_.resize(from.size_);
    size_t kept = 0;
    TBox box;
    for (size_t i = 0; i < from.size_; ++i) {
      const int32_t index = from.storage_[i].Index;
      const auto& o = list[static_cast<size_t>(index)];
      if (keep(o)) {
        storage_[kept++] = {index, o.X, o.Y};
        box.Add(o.X, o.Y);
      }
    }
    size_ = kept;
    SetBox(box);
  }

  std::span<const Entry> Entries() const { return {storage_.data(), size_}; }
  size_t Size() const { return size_; }

  // Whether an entry may lie within `reach` of (x, y) in both axes; none
  // farther in an axis can be within that distance.
  bool MayReach(int64_t x, int64_t y, int64_t reach) const {
    return x + reach >= minX_ && x - reach <= maxX_ && y + reach >= minY_ && y - reach <= maxY_;
  }
  // Whether every entry is less than 2^20 from (x, y) in both axes, near
  // enough for exact sums of squares (internal/indexed_finder.h).
  bool AllExactFrom(int64_t x, int64_t y) const {
    constexpr int64_t limit = int64_t{1} << 20;
    return size_ == 0 || (minX_ > x - limit && maxX_ < x + limit && minY_ > y - limit && maxY_ < y + limit);
  }

 private:
  // The box around the entries, made as they are listed.
  struct TBox {
    int32_t MinX = std::numeric_limits<int32_t>::max(), MaxX = std::numeric_limits<int32_t>::min();
    int32_t MinY = std::numeric_limits<int32_t>::max(), MaxY = std::numeric_limits<int32_t>::min();
    void Add(int32_t x, int32_t y) {
      MinX = std::min(MinX, x);
      MaxX = std::max(MaxX, x);
      MinY = std::min(MinY, y);
      MaxY = std::max(MaxY, y);
    }
  };
  void SetBox(const TBox& box) {
    minX_ = box.MinX;
    maxX_ = box.MaxX;
    minY_ = box.MinY;
    maxY_ = box.MaxY;
  }

  std::vector<Entry> storage_;  // the first size_ are the entries
  size_t size_ = 0;
  int64_t minX_ = 0, maxX_ = -1, minY_ = 0, maxY_ = -1;  // around every entry
};

// What the simulation keeps beside the world to answer "who is near"
// quickly: the terrain as the rules and arrivals read it, the grids of the
// indexed step and the arrivals' map of free land. It notices by itself
// what has changed in the world, so nobody has to tell it:
// - The terrain grid counts a version at every access that can write it
//   (reads cost nothing); the picture's size is compared.
// - The observation points are a plain list that the objects dialog and
//   Load change directly (an append, an erase, a swap of the whole list),
//   so nothing can count their changes: a copy of their places is compared,
//   a few numbers a point, whenever a step or an arrival begins.
// - People and sharks move in every step; the step's grids are built anew
//   at its phases, and the free-land map checks the people's places itself.
struct TSpatialIndex {
  // Few objects are walked rather than put in a grid, since building it
  // would cost more than the walk it saves. Tests turn this off to search
  // grids however few the objects.
  bool WalkFewObjects = true;
  // Whether `objects` asked `questions` times are few enough to walk: a
  // few thousand pairs.
  bool Walk(size_t objects, size_t questions) const { return WalkFewObjects && objects * questions < 4096; }
  // An arrival walks the lists for its first draws and makes the free-land
  // map only once the walks have cost as much. Tests turn this off to use
  // the map from the first draw.
  bool ProbeBeforeMap = true;

  // Looks at the terrain and the observation points for changes since the
  // last look: O(observation points) when nothing changed.
  void Notice(const TWorld& w);

  TTerrainKinds Terrain;
  uint64_t ObserversVersion = 0;  // counts the changes of Observers' places noticed

  // What a step asks about, in list order: the live sharks, the recently
  // seen ones and the live people as the phases of the step find them, and
  // the observation points. Few are walked as they are; many are sorted
  // into the grids as well.
  TWalkList LiveSharks, RecentSharks, LivePeople, ObserverPoints;
  // The live people as last listed, into LivePeople or the lanes.
  size_t LivePeopleCount = 0;
  // The live people of the sharks' turn in lanes, when they are walked.
  TWalkLanes PeopleLanes;
  // The rows of the map within 9 dm of an observation point's row: on any
  // other row no point is within 10 dm.
  std::bitset<MapHeight> ObserverRows;
  void ListLiveSharks(const TWorld& w);
  // Of the live sharks listed, those seen in this step or the one before.
  void ListRecentSharks(const TWorld& w);
  // The live sharks listed, where they stand now.
  void RefreshLiveSharks(const TWorld& w);
  void ListLivePeople(const TWorld& w);
  // The points and their grid change only with the points.
  void UpdateObservers(const TWorld& w, bool grid);

  static constexpr int PeopleShift = 4, SharkShift = 6;
  TCellGrid SharkGrid{SharkShift};
  TCellGrid RecentGrid{SharkShift};
  TCellGrid PeopleGrid{PeopleShift};
  TCellGrid ObserverGrid{SharkShift};  // the points that can be near the map
  TFreeLandMap FreeLand;
  std::vector<int32_t> Found;  // scratch for answers in list order
  std::vector<uint8_t> Mark;
  std::vector<int32_t> Gathered;  // scratch of CollectMany, which only grows

 private:
  uint64_t terrainVersion_ = 0;
  bool terrainMade_ = false;
  std::vector<uint64_t> observerPlaces_;
  uint64_t observerListVersion_ = ~uint64_t{0}, observerGridVersion_ = ~uint64_t{0};
  std::vector<TCellGrid::Entry> nearMap_;
};

// The world's index, made at its first use.
TSpatialIndex& IndexOf(TWorld& w);

}  // namespace wymianadanych
