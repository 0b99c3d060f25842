#include "rules.h"

namespace wymianadanych {

void SharkRule(TWorld& w, TRekin& s) {
  if (s.Dead) return;
  const int32_t d = StepLength(w.SharkSpeed, w.SimStepMs);
  const int64_t x = s.X, y = s.Y;

  // The wander is drawn in every step, even when the hunt replaces it.
  int64_t nx = w.Random(2) == 0 ? x + w.Random(d + 1) : x - w.Random(d + 1);
  int64_t ny = w.Random(2) == 0 ? y + w.Random(d + 1) : y - w.Random(d + 1);

  // A step toward the nearest live person strictly within range; the
  // earliest in the list wins a tie.
  double best = w.SharkRange;
  for (const TCzlowiek& p : w.People) {
    if (p.Dead) continue;
    const double dist = Distance(x - p.X, y - p.Y);
    if (dist < best) {
      best = dist;
      if (dist != 0) {
        nx = StepToward(x, p.X, d, dist);
        ny = StepToward(y, p.Y, d, dist);
      } else {
        nx = x;
        ny = y;
      }
    }
  }

  // Only water is entered; a target off the grid is brought onto it first.
  nx = ClampX(nx);
  ny = ClampY(ny);
  if (!IsWater(TerrainAt(w, nx, ny))) {
    nx = x;
    ny = y;
  }
  s.X = ClampX(nx);
  s.Y = ClampY(ny);

  // Every live person within 15 dm of where the shark came to rest is eaten.
  for (TCzlowiek& p : w.People) {
    if (p.Dead) continue;
    if (Distance(s.X - static_cast<int64_t>(p.X), s.Y - static_cast<int64_t>(p.Y)) < 15) {
      p.Dead = true;
      w.PersonCount -= 1;
      w.DeadPeople += 1;
      w.AppendEvent(w.TimePrefix() + ": rekina na (" + IntToStr(s.X) + "," + IntToStr(s.Y) +
                    ") zjadł człowieka z pozycji (" + IntToStr(p.X) + "," + IntToStr(p.Y) + ").");
    }
  }
}

}  // namespace wymianadanych
