#include "rules.h"

namespace wymianadanych {

namespace {

// Adds or subtracts Random(d + 1), as a coin toss decides.
int64_t Wander(TWorld& w, int64_t v, int32_t d) {
  if (w.Random(2) == 0) return v + w.Random(d + 1);
  return v - w.Random(d + 1);
}

}  // namespace

void PersonRule(TWorld& w, TCzlowiek& p) {
  if (p.Dead) return;
  const int32_t d = StepLength(w.PersonSpeed, w.SimStepMs);
  const int64_t x = p.X, y = p.Y;
  int64_t nx = x, ny = y;

  // Walk to the water, swim about, or head ashore under the alarm.
  const bool water = IsWater(TerrainAt(w, x, y));
  if (water && w.SharkAlarm) {
    nx = x + d;
  } else if (water) {
    nx = Wander(w, x, d);
    ny = Wander(w, y, d);
    // A drift toward the column X = 200, from the person's own X.
    if (x > 200)
      nx -= w.Random(static_cast<int32_t>(Round((x - 200) / 100.0L)) + 1);
    else
      nx += w.Random(static_cast<int32_t>(Round((200 - x) / 100.0L)) + 1);
  } else if (!w.SharkAlarm) {
    nx = x - d;
  }

  // The first live shark within reach, in list order, sends the person away.
  for (const TRekin& s : w.Sharks) {
    if (s.Dead) continue;
    const double dist = Distance(x - s.X, y - s.Y);
    if (dist <= w.PersonRange) {
      if (dist != 0) {
        nx = x + Round(static_cast<long double>((x - s.X) * d) / dist);
        ny = y + Round(static_cast<long double>((y - s.Y) * d) / dist);
      } else {
        nx = x;
        ny = y;
      }
      break;
    }
  }

  // At an observation point a person only sidesteps; every point within
  // reach draws anew, so the last one decides.
  for (const TObserwator& o : w.Observers) {
    if (Distance(x - o.X, y - o.Y) < 10) {
      nx = x;
      ny = Wander(w, y, d);
    }
  }

  p.X = ClampX(nx);
  p.Y = ClampY(ny);
}

}  // namespace wymianadanych
