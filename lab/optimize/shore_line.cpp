#include "shore_line.h"

#include <algorithm>
#include <cmath>
#include <tuple>

#include "wymianadanych.h"

namespace wendo_lab {

using namespace wymianadanych;

namespace {

// Nearer first; then northernmost, then leftmost.
bool Before(int64_t d2, TCell c, int64_t bestD2, TCell best) {
  return std::tie(d2, c.Y, c.X) < std::tie(bestD2, best.Y, best.X);
}

// The nearest shore cell to `from` not yet passed, if any. Rings around
// `from` are searched while a nearer cell can still be found there (a cell
// r rings out is at least r away); beyond a few rings, the remaining cells
// are scanned instead (a jump to another part of the coast).
class TNearestUnpassed {
 public:
  TNearestUnpassed(const std::vector<uint8_t>& shore, const std::vector<uint8_t>& passed, std::vector<TCell> cells)
      : shore_(shore), passed_(passed), remaining_(std::move(cells)) {}

  bool Find(TCell from, TCell& found) {
    constexpr int32_t MostRings = 8;
    int64_t bestD2 = INT64_MAX;
    for (int32_t r = 1; r <= MostRings && int64_t{r} * r <= bestD2; ++r)
      for (int32_t dy = -r; dy <= r; ++dy)
        for (int32_t dx = -r; dx <= r; dx += (dy == -r || dy == r) ? 1 : 2 * r) {
          const TCell c{from.X + dx, from.Y + dy};
          const int64_t d2 = int64_t{dx} * dx + int64_t{dy} * dy;
          if (Open(c) && Before(d2, c, bestD2, found)) bestD2 = d2, found = c;
        }
    // Done unless a cell beyond the rings could be as near.
    if (bestD2 < int64_t{MostRings + 1} * (MostRings + 1)) return true;
    // Scan what is left, dropping the passed cells on the way.
    std::erase_if(remaining_, [&](TCell c) { return !Open(c); });
    for (const TCell c : remaining_) {
      const int64_t dx = c.X - from.X, dy = c.Y - from.Y, d2 = dx * dx + dy * dy;
      if (Before(d2, c, bestD2, found)) bestD2 = d2, found = c;
    }
    return bestD2 != INT64_MAX;
  }

 private:
  bool Open(TCell c) const {
    if (c.X < 0 || c.Y < 0 || c.X > MaxX || c.Y > MaxY) return false;
    const size_t i = static_cast<size_t>(c.X) * MapHeight + c.Y;
    return shore_[i] && !passed_[i];
  }
  const std::vector<uint8_t>& shore_;
  const std::vector<uint8_t>& passed_;
  std::vector<TCell> remaining_;
};

}  // namespace

TShoreLine::TShoreLine(const std::vector<int32_t>& terrain, TObjectKind kind) {
  const TObjectKind other = kind == TObjectKind::Boat ? TObjectKind::Observer : TObjectKind::Boat;
  auto at = [&](int32_t x, int32_t y) { return terrain[static_cast<size_t>(x) * MapHeight + y]; };
  std::vector<uint8_t> shore(terrain.size(), 0), passed(terrain.size(), 0);
  std::vector<TCell> all;
  for (int32_t x = 0; x < MapWidth; ++x)
    for (int32_t y = 0; y < MapHeight; ++y) {
      if (!Accepts(kind, at(x, y))) continue;
      const bool beside = (x > 0 && Accepts(other, at(x - 1, y))) || (x < MaxX && Accepts(other, at(x + 1, y))) ||
                          (y > 0 && Accepts(other, at(x, y - 1))) || (y < MaxY && Accepts(other, at(x, y + 1)));
      if (!beside) continue;
      shore[static_cast<size_t>(x) * MapHeight + y] = 1;
      all.push_back({x, y});
    }
  if (all.empty()) return;

  TCell cell = *std::min_element(all.begin(), all.end(), [](TCell a, TCell b) { return Before(0, a, 0, b); });
  TNearestUnpassed next(shore, passed, all);
  for (;;) {
    along_.push_back(cells_.empty() ? 0.0
                                    : along_.back() + std::hypot(double(cell.X - cells_.back().X),
                                                                 double(cell.Y - cells_.back().Y)));
    cells_.push_back(cell);
    for (int32_t dx = -1; dx <= 1; ++dx)
      for (int32_t dy = -1; dy <= 1; ++dy) {
        const int32_t x = cell.X + dx, y = cell.Y + dy;
        if (x >= 0 && y >= 0 && x <= MaxX && y <= MaxY) passed[static_cast<size_t>(x) * MapHeight + y] = 1;
      }
    if (!next.Find(cell, cell)) break;
  }
}

TCell TShoreLine::At(double fraction) const {
  const double wanted = std::clamp(fraction, 0.0, 1.0) * Length();
  const size_t i = static_cast<size_t>(std::lower_bound(along_.begin(), along_.end(), wanted) - along_.begin());
  return cells_[std::min(i, cells_.size() - 1)];
}

}  // namespace wendo_lab
