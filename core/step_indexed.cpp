// The step with the spatial index: the same rules as the literal walks,
// with each "which objects are near" question answered from a grid. The
// grids are built at the points of the step where the positions they hold
// stand still, and every answer comes in list order.
#include <algorithm>

#include "rules_impl.h"
#include "rules_literal.h"
#include "spatial_index.h"

namespace wymianadanych {

namespace {

bool OnMap(int64_t x, int64_t y) { return x >= 0 && x <= MaxX && y >= 0 && y <= MaxY; }

class TIndexedFinder {
 public:
  TIndexedFinder(TWorld& w, TSpatialIndex& ix) : w_(w), ix_(ix), literal_{w} {}

  bool Water(int64_t x, int64_t y) const { return ix_.Water(x, y); }

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

  template <class F>
  void LivePeopleWithin15(int64_t x, int64_t y, F f) {
    Collect(ix_.livePeople, x, y, 14, [&](const TCellGrid::Entry& e) {
      return !w_.People[static_cast<size_t>(e.index)].Dead &&
             SquaredDistance(int64_t{e.x} - x, int64_t{e.y} - y) < 225;
    });
    for (int32_t i : ix_.found) f(w_.People[static_cast<size_t>(i)]);
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

  template <class F>
  void LiveSharksWithin15(int64_t x, int64_t y, F f) {
    Collect(ix_.sharks, x, y, 14, [&](const TCellGrid::Entry& e) {
      return !w_.Sharks[static_cast<size_t>(e.index)].Dead &&
             SquaredDistance(int64_t{e.x} - x, int64_t{e.y} - y) < 225;
    });
    for (int32_t i : ix_.found) f(w_.Sharks[static_cast<size_t>(i)]);
  }

 private:
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

}  // namespace

void IndexedStepRules(TWorld& w) {
  TSpatialIndex& ix = *w.Index;
  ix.Refresh(w);
  TIndexedFinder find(w, ix);
  BuildSharkGrid(w, ix.sharks, false);
  BuildObserverGrid(w, ix.observers);
  ix.observersStale = false;

  for (const TLodz& b : w.Boats) rules::LookOut(w, b, b.Range, "łódź", find);
  BuildSharkGrid(w, ix.recent, true);
  for (TLodz& b : w.Boats) rules::BoatMovement(w, b, find);

  BuildPeopleGrid(w, ix.livePeople, true);
  for (TRekin& s : w.Sharks) rules::Shark(w, s, find);

  BuildSharkGrid(w, ix.sharks, false);
  for (TCzlowiek& p : w.People) rules::Person(w, p, find);
  w.SharkAlarm = false;
  for (const TObserwator& o : w.Observers) rules::LookOut(w, o, o.Range, "obserwator", find);
}

}  // namespace wymianadanych
