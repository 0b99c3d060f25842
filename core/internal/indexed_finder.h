// The neighbour finder of the indexed step. A crowd is asked from grids of
// the spatial index instead of walks of the lists; the grids are built at
// the phases of the step where the positions they hold stand still, and
// every answer comes in list order. A handful of objects is walked from a
// short list of the live ones, which costs less than building a grid.
//
// Both ways compare the sum s of the squares of the differences with r^2
// instead of the distance, its square root, with r. For |dx|, |dy| < 2^20
// (on the map s stays below 2.1 million) s < 2^41 is exact, and for every
// integer r >= 0:
// - sqrt(s) <= r exactly when s <= r^2. If s <= r^2, the root is at most
//   r, and rounding it (to extended, then to double precision) keeps it so,
//   r being representable. If s >= r^2 + 1, then r < 2^20.5 and the root
//   exceeds r by at least sqrt(r^2 + 1) - r > 1 / (2r + 1) > 2^-22, while
//   each rounding near r moves it by less than 2^-31.
// - sqrt(s) < r exactly when s < r^2, by the same margins below r.
// - Two sums compare as their roots do, and equal roots have equal sums,
//   as neighbouring roots differ by more than 2^-22 as well: the nearest
//   and its ties come out the same.
// A negative range sees nothing either way; objects farther apart (a
// hand-edited file) are left to the literal walks.
#pragma once

#include <algorithm>
#include <limits>
#include <type_traits>
#include <vector>

#include "rules_literal.h"
#include "spatial_index.h"
#include "walk_lanes.h"

namespace wymianadanych {

class TIndexedFinder {
 public:
  TIndexedFinder(TWorld& w, TSpatialIndex& ix) : w_(w), ix_(ix), literal_{w} {}

  bool Water(int64_t x, int64_t y) const { return ix_.Terrain.Water(x, y); }

  const TRekin* FirstLiveSharkWithin(int64_t x, int64_t y, int32_t range) const {
    if (range < 0) return nullptr;
    const int64_t limit = int64_t{range} * range;  // inclusive
    if (walkLiveSharks_) {
      const TWalkList& list = ix_.LiveSharks;
      if (!list.MayReach(x, y, range)) return nullptr;
      if (!list.AllExactFrom(x, y)) return literal_.FirstLiveSharkWithin(x, y, range);
      for (const TCellGrid::Entry& e : list.Entries())
        if (WithinSquared(e, x, y, range, limit)) return &w_.Sharks[static_cast<size_t>(e.Index)];
      return nullptr;
    }
    int64_t best = std::numeric_limits<int64_t>::max();
    ix_.SharkGrid.ForCellsInBox(x - range, y - range, x + range, y + range,
                                [&](const TCellGrid::Entry* b, const TCellGrid::Entry* e) {
                                  // Entries come in index order: the first hit of a cell is its best.
                                  for (; b != e && b->Index < best; ++b)
                                    if (SquaredDistance(int64_t{b->X} - x, int64_t{b->Y} - y) <= limit) {
                                      best = b->Index;
                                      break;
                                    }
                                });
    return best == std::numeric_limits<int64_t>::max() ? nullptr : &w_.Sharks[static_cast<size_t>(best)];
  }

  template <class F>
  void ObserversWithin10(int64_t x, int64_t y, F&& f) {
    if (y >= 0 && y <= MaxY && !ix_.ObserverRows[static_cast<size_t>(y)]) return;
    if (walkObservers_) {
      const TWalkList& list = ix_.ObserverPoints;
      if (!list.MayReach(x, y, 9)) return;
      if (!list.AllExactFrom(x, y)) return literal_.ObserversWithin10(x, y, f);
      for (const TCellGrid::Entry& e : list.Entries())
        if (Near(e, x, y, 10)) f(w_.Observers[static_cast<size_t>(e.Index)]);
      return;
    }
    Collect(ix_.ObserverGrid, x, y, 9, [&](const TCellGrid::Entry& e) {
      return SquaredDistance(int64_t{e.X} - x, int64_t{e.Y} - y) < 100;
    });
    for (int32_t i : ix_.Found) f(w_.Observers[static_cast<size_t>(i)]);
  }

  int64_t NearestLivePerson(int64_t x, int64_t y, int32_t range) {
    preyAsked_ = TPreyAsked{};
    if (range <= 0) return -1;
    const int64_t limit = int64_t{range} * range;
    auto alive = [&](int32_t i) { return !w_.People[static_cast<size_t>(i)].Dead; };
    if (!walkPeople_) {
      int64_t sum = 0;
      const int64_t nearest = ix_.PeopleGrid.Nearest(x, y, limit, alive, &sum);
      preyAsked_ = TPreyAsked{x, y, sum, true};
      return nearest;
    }
    // Walked people are in the lanes; from a point too far for their sums
    // (never on the map) the list is walked.
    const TWalkLanes& lanes = ix_.PeopleLanes;
    if (!lanes.MayReach(x, y, range)) {
      preyAsked_ = TPreyAsked{x, y, limit, true};  // everyone is farther in one axis
      return -1;
    }
    if (lanes.NearEnough(x, y)) {
      float sum = 0;
      const int64_t nearest = lanes.NearestLive(x, y, TWalkLanes::Limit(limit), &sum);
      preyAsked_ = TPreyAsked{x, y, static_cast<int64_t>(sum), true};
      return nearest;
    }
    return literal_.NearestLivePerson(x, y, range);
  }

  // People come from the list of the sharks' turn, sharks from the list of
  // the boats' turn: in each, the positions have not changed since. Walked
  // people who die are forgotten by the lanes, which hold no Dead flags.
  template <class T, class F>
  void LiveWithin15(std::vector<T>& list, int64_t x, int64_t y, F&& f) {
    constexpr bool people = std::is_same_v<T, TCzlowiek>;
    if (people && NobodyWithin15(x, y)) return;
    if (people ? walkPeople_ : walkLiveSharks_) {
      TWalkLanes& lanes = ix_.PeopleLanes;
      if (people ? !lanes.MayReach(x, y, 14) : !ix_.LiveSharks.MayReach(x, y, 14)) return;
      auto call = [&](T& o) {
        f(o);
        if (people && o.Dead) lanes.ForgetIndex(static_cast<int32_t>(&o - list.data()));
      };
      if (people && lanes.NearEnough(x, y)) {
        return lanes.ForLiveBelow(x, y, 225, [&](size_t k) {
          T& o = list[static_cast<size_t>(lanes.Index(k))];
          f(o);
          if (o.Dead) lanes.Forget(k);
        });
      }
      const TWalkList& walk = ix_.LiveSharks;
      if (people || !walk.AllExactFrom(x, y)) return literal_.LiveWithin15(list, x, y, call);
      for (const TCellGrid::Entry& e : walk.Entries()) {
        T& o = list[static_cast<size_t>(e.Index)];
        if (Near(e, x, y, 15) && !o.Dead) call(o);
      }
      return;
    }
    Collect(people ? ix_.PeopleGrid : ix_.SharkGrid, x, y, 14, [&](const TCellGrid::Entry& e) {
      return !list[static_cast<size_t>(e.Index)].Dead && SquaredDistance(int64_t{e.X} - x, int64_t{e.Y} - y) < 225;
    });
    for (int32_t i : ix_.Found) f(list[static_cast<size_t>(i)]);
  }

  template <class F>
  void LiveSharksSeenFrom(const TObiekt& at, int32_t range, F&& f) {
    if (range < 0) return;
    const int64_t x = at.X, y = at.Y;
    const int64_t limit = int64_t{range} * range;  // inclusive
    if (walkLiveSharks_) {
      const TWalkList& list = ix_.LiveSharks;
      if (!list.MayReach(x, y, range)) return;
      if (!list.AllExactFrom(x, y)) return literal_.LiveSharksSeenFrom(at, range, f);
      for (const TCellGrid::Entry& e : list.Entries())
        if (WithinSquared(e, x, y, range, limit)) f(w_.Sharks[static_cast<size_t>(e.Index)]);
      return;
    }
    // A watcher off the map is rare (a hand-edited file): walk the list.
    if (!OnMap(x, y)) return literal_.LiveSharksSeenFrom(at, range, f);
    CollectMany(ix_.SharkGrid, x, y, range, [&](const TCellGrid::Entry& e) {
      return SquaredDistance(int64_t{e.X} - x, int64_t{e.Y} - y) <= limit;
    });
    for (int32_t i : ix_.Found) f(w_.Sharks[static_cast<size_t>(i)]);
  }

  int64_t NearestRecentShark(int64_t x, int64_t y) const {
    if (!OnMap(x, y)) return literal_.NearestRecentShark(x, y);
    auto alive = [&](int32_t i) { return !w_.Sharks[static_cast<size_t>(i)].Dead; };
    if (!walkRecent_) return ix_.RecentGrid.Nearest(x, y, std::numeric_limits<int64_t>::max(), alive);
    const TWalkList& list = ix_.RecentSharks;
    if (!list.AllExactFrom(x, y)) return literal_.NearestRecentShark(x, y);
    int64_t bestS = std::numeric_limits<int64_t>::max(), best = -1;
    for (const TCellGrid::Entry& e : list.Entries()) {
      const int64_t s = SquaredDistance(e.X - x, e.Y - y);
      if (s < bestS && alive(e.Index)) {
        bestS = s;
        best = e.Index;
      }
    }
    return best;
  }

  // Lists what a phase asks about, where the positions stand still, and
  // sorts the lists into grids unless they are short enough to walk.
  void Entering(TStepPhase phase);

 private:
  static bool OnMap(int64_t x, int64_t y) { return x >= 0 && x <= MaxX && y >= 0 && y <= MaxY; }
  // Less than r from (x, y); most entries fail on X alone.
  static bool Near(const TCellGrid::Entry& e, int64_t x, int64_t y, int64_t r) {
    const int64_t dx = e.X - x;
    if (dx <= -r || dx >= r) return false;
    const int64_t dy = e.Y - y;
    return dx * dx + dy * dy < r * r;
  }
  // At most r from (x, y), with limit = r * r.
  static bool WithinSquared(const TCellGrid::Entry& e, int64_t x, int64_t y, int64_t r, int64_t limit) {
    const int64_t dx = e.X - x;
    if (dx < -r || dx > r) return false;
    const int64_t dy = e.Y - y;
    return dx * dx + dy * dy <= limit;
  }

  // Whether no live person can be within 15 dm of (x, y), as the last
  // search for the nearest live person tells: everyone alive was at least
  // the root of its sum from where it asked, so at least that less the
  // way from there to (x, y) from here. People stand still while the
  // sharks ask and only die, so the answer holds for the whole phase.
  bool NobodyWithin15(int64_t x, int64_t y) const {
    if (!preyAsked_.Set) return false;
    const int64_t dx = x - preyAsked_.X, dy = y - preyAsked_.Y;
    constexpr int64_t far = int64_t{1} << 20;
    if (dx <= -far || dx >= far || dy <= -far || dy >= far) return false;
    const int64_t moved = SquaredDistance(dx, dy);
    int64_t way = static_cast<int64_t>(std::sqrt(static_cast<double>(moved)));  // rounded up below
    while (way * way < moved) ++way;
    return preyAsked_.Sum >= (15 + way) * (15 + way);
  }

  // The indices of the entries within `reach` of (x, y) in both axes that
  // `keep` accepts, in increasing order, into ix_.Found: gathered a column
  // of cells at a time, then put in order.
  template <class Keep>
  void Collect(const TCellGrid& g, int64_t x, int64_t y, int64_t reach, Keep&& keep) {
    std::vector<int32_t>& found = ix_.Found;
    found.clear();
    g.ForColumnsInBox(x - reach, y - reach, x + reach, y + reach,
                      [&](const TCellGrid::Entry* b, const TCellGrid::Entry* e) {
                        for (; b != e; ++b)
                          if (keep(*b)) found.push_back(b->Index);
                      });
    if (!SweepBeatsSorting(found.size(), g.Size())) return std::sort(found.begin(), found.end());
    // Many answers: marking them and sweeping the indices beats sorting.
    std::vector<uint8_t>& mark = ix_.Mark;
    int32_t top = 0;
    for (int32_t i : found) top = std::max(top, i);
    mark.assign(static_cast<size_t>(top) + 1, 0);
    for (int32_t i : found) mark[static_cast<size_t>(i)] = 1;
    found.clear();
    for (int32_t i = 0; i <= top; ++i)
      if (mark[static_cast<size_t>(i)]) found.push_back(i);
  }

  // Collect for a watcher's look-out, whose answer in a crowd runs to
  // hundreds of sharks, each kept or not as no processor can guess. Every
  // index is written at the next free place of a scratch that only grows
  // and kept by moving on, in the gathering and in the sweep, so neither
  // branches on the answer. Collect keeps its own ordering: it is inlined
  // into the step's loops, and sharing this one there made the small
  // beaches' hours 6-20% slower.
  template <class Keep>
  void CollectMany(const TCellGrid& g, int64_t x, int64_t y, int64_t reach, Keep&& keep) {
    std::vector<int32_t>& out = ix_.Gathered;
    size_t n = 0;
    g.ForColumnsInBox(x - reach, y - reach, x + reach, y + reach,
                      [&](const TCellGrid::Entry* b, const TCellGrid::Entry* e) {
                        GrowTo(out, n + static_cast<size_t>(e - b));
                        for (; b != e; ++b) {
                          out[n] = b->Index;
                          n += keep(*b) ? 1 : 0;
                        }
                      });
    std::vector<int32_t>& found = ix_.Found;
    if (!SweepBeatsSorting(n, g.Size())) {
      found.assign(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(n));
      return std::sort(found.begin(), found.end());
    }
    std::vector<uint8_t>& mark = ix_.Mark;
    int32_t top = 0;
    for (size_t k = 0; k < n; ++k) top = std::max(top, out[k]);
    mark.assign(static_cast<size_t>(top) + 1, 0);
    for (size_t k = 0; k < n; ++k) mark[static_cast<size_t>(out[k])] = 1;
    GrowTo(out, mark.size());
    n = 0;
    for (int32_t i = 0; i <= top; ++i) {
      out[n] = i;
      n += mark[static_cast<size_t>(i)];
    }
    found.assign(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(n));
  }

  // Whether `answers` out of a grid of `entries` are put in order faster
  // by marking and sweeping the indices than by sorting them.
  static bool SweepBeatsSorting(size_t answers, size_t entries) { return answers >= 64 && answers * 8 >= entries; }
  // A scratch that only grows, at least doubling, so that growing is rare.
  static void GrowTo(std::vector<int32_t>& v, size_t size) {
    if (v.size() < size) v.resize(std::max(size, 2 * v.size()));
  }

  TWorld& w_;
  TSpatialIndex& ix_;
  TLiteralFinder literal_;
  // Lists walked instead of asked from a grid, chosen at each phase.
  bool walkLiveSharks_ = false, walkRecent_ = false, walkPeople_ = false, walkObservers_ = false;
  // The last search for the nearest live person: from where, and the
  // least sum of squares of a live person from there (or the search's
  // limit, without one); Set only when the search looked at everyone.
  struct TPreyAsked {
    int64_t X = 0, Y = 0, Sum = 0;
    bool Set = false;
  };
  TPreyAsked preyAsked_;
};

static_assert(NeighbourFinder<TIndexedFinder>);

}  // namespace wymianadanych
