// The neighbour finder of the indexed step: each question is answered from
// a grid of the spatial index instead of a walk of the list. The grids are
// built at the phases of the step where the positions they hold stand
// still, and every answer comes in list order.
#pragma once

#include <algorithm>
#include <limits>
#include <type_traits>
#include <vector>

#include "rules_literal.h"
#include "spatial_index.h"

namespace wymianadanych {

class TIndexedFinder {
 public:
  TIndexedFinder(TWorld& w, TSpatialIndex& ix) : w_(w), ix_(ix), literal_{w} {}

  bool Water(int64_t x, int64_t y) const { return ix_.terrain.Water(x, y); }

  const TRekin* FirstLiveSharkWithin(int64_t x, int64_t y, int32_t range) const {
    if (range < 0) return nullptr;
    const int64_t limit = int64_t{range} * range;  // inclusive
    int64_t best = std::numeric_limits<int64_t>::max();
    ix_.sharks.ForCellsInBox(x - range, y - range, x + range, y + range,
                             [&](const TCellGrid::Entry* b, const TCellGrid::Entry* e) {
                               // Entries come in index order: the first hit of a cell is its best.
                               for (; b != e && b->index < best; ++b)
                                 if (SquaredDistance(int64_t{b->x} - x, int64_t{b->y} - y) <= limit) {
                                   best = b->index;
                                   break;
                                 }
                             });
    return best == std::numeric_limits<int64_t>::max() ? nullptr : &w_.Sharks[static_cast<size_t>(best)];
  }

  template <class F>
  void ObserversWithin10(int64_t x, int64_t y, F f) {
    Collect(ix_.observers, x, y, 9, [&](const TCellGrid::Entry& e) {
      return SquaredDistance(int64_t{e.x} - x, int64_t{e.y} - y) < 100;
    });
    for (int32_t i : ix_.found) f(w_.Observers[static_cast<size_t>(i)]);
  }

  int64_t NearestLivePerson(int64_t x, int64_t y, int32_t range) const {
    if (range <= 0) return -1;
    return ix_.livePeople.Nearest(x, y, int64_t{range} * range,
                                  [&](int32_t i) { return !w_.People[static_cast<size_t>(i)].Dead; });
  }

  // People come from the grid of the sharks' turn, sharks from the grid of
  // the boats' turn: in each, the positions have not changed since.
  template <class T, class F>
  void LiveWithin15(std::vector<T>& list, int64_t x, int64_t y, F f) {
    const TCellGrid& grid = std::is_same_v<T, TCzlowiek> ? ix_.livePeople : ix_.sharks;
    Collect(grid, x, y, 14, [&](const TCellGrid::Entry& e) {
      return !list[static_cast<size_t>(e.index)].Dead && SquaredDistance(int64_t{e.x} - x, int64_t{e.y} - y) < 225;
    });
    for (int32_t i : ix_.found) f(list[static_cast<size_t>(i)]);
  }

  template <class F>
  void LiveSharksSeenFrom(const TObiekt& at, int32_t range, F f) {
    if (range < 0) return;
    // A watcher off the map is rare (a hand-edited file): walk the list.
    if (!OnMap(at.X, at.Y)) return literal_.LiveSharksSeenFrom(at, range, f);
    const int64_t limit = int64_t{range} * range;  // inclusive
    const int64_t x = at.X, y = at.Y;
    Collect(ix_.sharks, x, y, range, [&](const TCellGrid::Entry& e) {
      return SquaredDistance(int64_t{e.x} - x, int64_t{e.y} - y) <= limit;
    });
    for (int32_t i : ix_.found) f(w_.Sharks[static_cast<size_t>(i)]);
  }

  int64_t NearestRecentShark(int64_t x, int64_t y) const {
    if (!OnMap(x, y)) return literal_.NearestRecentShark(x, y);
    return ix_.recent.Nearest(x, y, std::numeric_limits<int64_t>::max(),
                              [&](int32_t i) { return !w_.Sharks[static_cast<size_t>(i)].Dead; });
  }

  // Builds the grids a phase asks from, where the positions stand still.
  void Entering(TStepPhase phase);

 private:
  static bool OnMap(int64_t x, int64_t y) { return x >= 0 && x <= MaxX && y >= 0 && y <= MaxY; }

  // The indices of the entries within `reach` of (x, y) in both axes that
  // `keep` accepts, in increasing order, into ix_.found.
  template <class Keep>
  void Collect(const TCellGrid& g, int64_t x, int64_t y, int64_t reach, Keep keep) {
    std::vector<int32_t>& found = ix_.found;
    found.clear();
    g.ForCellsInBox(x - reach, y - reach, x + reach, y + reach,
                    [&](const TCellGrid::Entry* b, const TCellGrid::Entry* e) {
                      for (; b != e; ++b)
                        if (keep(*b)) found.push_back(b->index);
                    });
    if (found.size() < 64 || found.size() * 8 < g.Size()) return std::sort(found.begin(), found.end());
    // Many answers: marking them and sweeping the indices beats sorting.
    std::vector<uint8_t>& mark = ix_.mark;
    int32_t top = 0;
    for (int32_t i : found) top = std::max(top, i);
    mark.assign(static_cast<size_t>(top) + 1, 0);
    for (int32_t i : found) mark[static_cast<size_t>(i)] = 1;
    found.clear();
    for (int32_t i = 0; i <= top; ++i)
      if (mark[static_cast<size_t>(i)]) found.push_back(i);
  }

  TWorld& w_;
  TSpatialIndex& ix_;
  TLiteralFinder literal_;
};

static_assert(NeighbourFinder<TIndexedFinder>);

// Boats, sharks, people, alarm and observation points of one step, with
// the grids.
void IndexedStepRules(TWorld& w);

}  // namespace wymianadanych
