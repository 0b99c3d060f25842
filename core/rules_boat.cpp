#include "rules.h"

#include <cstdlib>

namespace wymianadanych {

void BoatMovementRule(TWorld& w, TLodz& b) {
  const int32_t d = StepLength(b.Speed, w.SimStepMs);
  const int64_t x = b.X, y = b.Y;

  // A step toward the destination; near it the boat lands beyond it.
  const int64_t tx = b.Outbound ? b.PatrolX : b.HomeX;
  const int64_t ty = b.Outbound ? b.PatrolY : b.HomeY;
  int64_t nx = x, ny = y;
  const double toGoal = Distance(x - tx, y - ty);
  if (toGoal != 0) {
    nx = StepToward(x, tx, d, toGoal);
    ny = StepToward(y, ty, d, toGoal);
  }

  // The nearest recently seen live shark, wherever it is, overrides that.
  double best = 1e100;
  const size_t n = w.Sharks.size();
  for (size_t i = 0; i < n; ++i) {
    const TRekin& s = w.Sharks[i];
    if (s.Dead || !RecentlySeen(w, s)) continue;
    const double dist = Distance(x - s.X, y - s.Y);
    if (dist >= best) continue;
    best = dist;
    if (dist == 0) {
      nx = x;
      ny = y;
    } else {
      nx = StepToward(x, s.X, d, dist);
      ny = StepToward(y, s.Y, d, dist);
    }
  }

  // Only the landing cell is tested; off the grid it is brought onto it.
  nx = ClampX(nx);
  ny = ClampY(ny);
  if (!IsWater(TerrainAt(w, nx, ny))) {
    nx = x;
    ny = y;
  }
  b.X = ClampX(nx);
  b.Y = ClampY(ny);

  // Every live shark less than 15 dm from the new position is killed.
  for (size_t i = 0; i < n; ++i) {
    TRekin& s = w.Sharks[i];
    if (s.Dead) continue;
    if (SquaredDistance(static_cast<int64_t>(s.X) - b.X, static_cast<int64_t>(s.Y) - b.Y) < 225) {
      s.Dead = true;
      w.SharkCount -= 1;
      w.DeadSharks += 1;
      w.AppendEvent(w.TimePrefix() + ": łódź na (" + IntToStr(b.X) + "," + IntToStr(b.Y) +
                    ") zabiła rekina na pozycji (" + IntToStr(s.X) + "," + IntToStr(s.Y) + ").");
    }
  }

  // Turn around at either end of the beat; the patrol point is tested last.
  if (std::llabs(b.X - static_cast<int64_t>(b.HomeX)) < 10 && std::llabs(b.Y - static_cast<int64_t>(b.HomeY)) < 10)
    b.Outbound = true;
  if (std::llabs(b.X - static_cast<int64_t>(b.PatrolX)) < 10 && std::llabs(b.Y - static_cast<int64_t>(b.PatrolY)) < 10)
    b.Outbound = false;
}

}  // namespace wymianadanych
