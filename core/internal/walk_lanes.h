// The entries of a short list, as a walk asks them, laid out for the
// processor's vector lanes: X, Y and a live flag in arrays of their own,
// padded to blocks of four, so that a block's sums of squares are worked
// out at once. A walk of a few hundred people then costs a few cycles a
// block of entries instead of a few an entry.
//
// Sums are formed in single precision, which every processor's vector unit
// multiplies: exact while every entry lies less than 2^11 from the point
// asked about in both axes (a sum below 2^23; NearEnough), which holds for
// any two points of the map and which the callers check first; the rest
// is left to the plain walks. Sums are compared with
// the squares of ranges instead of distances with ranges, which gives the
// same answers (internal/indexed_finder.h).
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

namespace wymianadanych {

class TWalkLanes {
 public:
  static constexpr size_t Block = 4;

  // The entries (Index, X, Y in increasing Index), all live.
  template <class Entry>
  void Take(std::span<const Entry> entries) {
    const size_t n = (entries.size() + Block - 1) / Block * Block;
    x_.assign(n, Gone);
    y_.assign(n, 0);
    index_.resize(entries.size());
    minX_ = minY_ = INT32_MAX;
    maxX_ = maxY_ = INT32_MIN;
    for (size_t k = 0; k < entries.size(); ++k) {
      const Entry& e = entries[k];
      x_[k] = static_cast<float>(e.X);
      y_[k] = static_cast<float>(e.Y);
      index_[k] = e.Index;
      minX_ = std::min(minX_, e.X);
      maxX_ = std::max(maxX_, e.X);
      minY_ = std::min(minY_, e.Y);
      maxY_ = std::max(maxY_, e.Y);
    }
  }

  // The live objects of `list` straight from it, in one pass: the same
  // entries as Take given the list of the live ones. Every object is
  // written at the next free place and a dead one is overwritten by the
  // next, so the pass has no branch on who is dead.
  template <class List>
  void TakeLive(const List& list) {
    const size_t most = (list.size() + Block - 1) / Block * Block;
    if (x_.size() < most) {
      x_.resize(most);
      y_.resize(most);
    }
    index_.resize(list.size());
    float* const xs = x_.data();
    float* const ys = y_.data();
    int32_t* const indices = index_.data();
    int32_t minX = INT32_MAX, minY = INT32_MAX, maxX = INT32_MIN, maxY = INT32_MIN;
    size_t k = 0;
    for (size_t i = 0; i < list.size(); ++i) {
      const auto& o = list[i];
      const bool live = !o.Dead;
      xs[k] = static_cast<float>(o.X);
      ys[k] = static_cast<float>(o.Y);
      indices[k] = static_cast<int32_t>(i);
      minX = std::min(minX, live ? o.X : INT32_MAX);
      maxX = std::max(maxX, live ? o.X : INT32_MIN);
      minY = std::min(minY, live ? o.Y : INT32_MAX);
      maxY = std::max(maxY, live ? o.Y : INT32_MIN);
      k += live;
    }
    index_.resize(k);
    const size_t n = (k + Block - 1) / Block * Block;
    x_.resize(n);
    y_.resize(n);
    std::fill(x_.begin() + static_cast<std::ptrdiff_t>(k), x_.end(), Gone);
    std::fill(y_.begin() + static_cast<std::ptrdiff_t>(k), y_.end(), 0.0f);
    minX_ = minX;
    maxX_ = maxX;
    minY_ = minY;
    maxY_ = maxY;
  }

  size_t Size() const { return index_.size(); }
  // Whether an entry may lie within `reach` of (x, y) in both axes.
  bool MayReach(int64_t x, int64_t y, int64_t reach) const {
    return x + reach >= minX_ && x - reach <= maxX_ && y + reach >= minY_ && y - reach <= maxY_;
  }

  // Whether the sums are exact from (x, y) for every entry: the point and
  // the entries within 2^23 of 0, where single precision holds integers.
  bool NearEnough(int64_t x, int64_t y) const {
    constexpr int64_t reach = (int64_t{1} << 11) - 1, whole = int64_t{1} << 23;
    if (x <= -whole || x >= whole || y <= -whole || y >= whole) return false;
    return index_.empty() || (minX_ >= x - reach && maxX_ <= x + reach && minY_ >= y - reach && maxY_ <= y + reach);
  }
  // A limit on sums for entries NearEnough: beyond 2^24 no sum reaches it,
  // and up to it every integer is exact.
  static float Limit(int64_t limit) { return static_cast<float>(std::min<int64_t>(limit, int64_t{1} << 24)); }

  // The list index of the live entry nearest to (x, y) with a sum of
  // squares below `limit`, the earliest on a tie, or -1; `*sum` is set to
  // its sum, or to `limit` without one.
  int64_t NearestLive(int64_t x, int64_t y, float limit, float* sum) const {
    const float qx = static_cast<float>(x), qy = static_cast<float>(y);
    TLanes least = TLanes{} + limit;
    for (size_t b = 0; b < x_.size(); b += Block) {
      const TLanes s = Sums(b, qx, qy);
      least = s < least ? s : least;
    }
    float best = limit;
    for (size_t j = 0; j < Block; ++j) best = least[j] < best ? least[j] : best;
    *sum = best;
    if (!(best < limit)) return -1;
    for (size_t b = 0;; b += Block) {
      const TLanes s = Sums(b, qx, qy);
      for (size_t j = 0; j < Block; ++j)
        if (s[j] == best) return index_[b + j];
    }
  }

  // f(k) for every live entry k with a sum of squares below `limit`, in
  // list order; f may Forget(k).
  template <class F>
  void ForLiveBelow(int64_t x, int64_t y, float limit, F&& f) {
    const float qx = static_cast<float>(x), qy = static_cast<float>(y);
    for (size_t b = 0; b < x_.size(); b += Block) {
      const TLanes s = Sums(b, qx, qy);
      const auto hit = s < limit;  // all ones in a lane that hits
      uint64_t words[Block / 2];
      std::memcpy(words, &hit, sizeof words);
      if ((words[0] | words[1]) == 0) continue;
      for (size_t j = 0; j < Block; ++j)
        if (hit[j]) f(b + j);
    }
  }

  int32_t Index(size_t k) const { return index_[k]; }
  // The entry's object has died: no answer names it again.
  void Forget(size_t k) { x_[k] = Gone; }
  // The same for the entry of a list index, if it has one.
  void ForgetIndex(int32_t index) {
    const auto at = std::lower_bound(index_.begin(), index_.end(), index);
    if (at != index_.end() && *at == index) Forget(static_cast<size_t>(at - index_.begin()));
  }

 private:
  // The X of a dead or padding entry: its sums come to about 10^36, far
  // beyond any limit and still finite.
  static constexpr float Gone = 1e18f;

  // Four floats: one operation on the narrowest vector unit of a
  // processor that has one.
  using TLanes = float __attribute__((vector_size(Block * sizeof(float))));
  TLanes Sums(size_t b, float qx, float qy) const {
    TLanes px, py;
    std::memcpy(&px, &x_[b], sizeof px);
    std::memcpy(&py, &y_[b], sizeof py);
    const TLanes dx = px - qx, dy = py - qy;
    return dx * dx + dy * dy;
  }

  std::vector<float> x_, y_;
  std::vector<int32_t> index_;
  int32_t minX_ = 0, maxX_ = -1, minY_ = 0, maxY_ = -1;  // around every entry
};

}  // namespace wymianadanych
