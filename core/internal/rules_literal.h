// The neighbour finder of the literal rules: each question is answered by
// walking the list concerned from its first element to its last.
#pragma once

#include "rules_impl.h"

namespace wymianadanych {

class TLiteralFinder {
 public:
  explicit TLiteralFinder(TWorld& w) : w_(w) {}

  bool Water(int64_t x, int64_t y) const { return IsWater(TerrainAt(w_, x, y)); }
  const TRekin* FirstLiveSharkWithin(int64_t x, int64_t y, int32_t range) const;

  template <class F>
  void ObserversWithin10(int64_t x, int64_t y, F&& f) const {
    for (const TObserwator& o : w_.Observers)
      if (Distance(x - o.X, y - o.Y) < 10) f(o);
  }

  int64_t NearestLivePerson(int64_t x, int64_t y, int32_t range) const;

  // Every live element of `list` (people or sharks) with dist < 15.
  template <class T, class F>
  void LiveWithin15(std::vector<T>& list, int64_t x, int64_t y, F&& f) const {
    const size_t n = list.size();
    for (size_t i = 0; i < n; ++i) {
      T& o = list[i];
      if (!o.Dead && SquaredDistance(int64_t{o.X} - x, int64_t{o.Y} - y) < 225) f(o);
    }
  }

  // The number of sharks is taken once: the walk covers the list as it was.
  template <class F>
  void LiveSharksSeenFrom(const TObiekt& at, int32_t range, F&& f) const {
    const size_t n = w_.Sharks.size();
    for (size_t i = 0; i < n; ++i) {
      TRekin& s = w_.Sharks[i];
      if (!s.Dead && static_cast<double>(range) >= Distance(int64_t{s.X} - at.X, int64_t{s.Y} - at.Y)) f(s);
    }
  }

  int64_t NearestRecentShark(int64_t x, int64_t y) const;

  // The walks need nothing brought up to date.
  void Entering(TStepPhase) const {}

 private:
  TWorld& w_;
};

static_assert(NeighbourFinder<TLiteralFinder>);

}  // namespace wymianadanych
