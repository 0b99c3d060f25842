// The four behaviour rules: one procedure per kind of object, each taking
// one step of one object. They run on the simulation thread inside a step,
// with the world's lock held by the caller.
#pragma once

#include "wymianadanych.h"

namespace wymianadanych {

// The grid value at (x, y), NoPixel for a position off the grid.
inline int32_t TerrainAt(const TWorld& w, int64_t x, int64_t y) {
  if (x < 0 || x > MaxX || y < 0 || y > MaxY) return NoPixel;
  return w.Terrain(static_cast<int32_t>(x), static_cast<int32_t>(y));
}

// A person swims when it is alive on a water cell; on any other cell, or
// off the grid, it stands. The map draws it so and the chart counts it so.
inline bool Swims(const TWorld& w, const TCzlowiek& p) { return !p.Dead && IsWater(TerrainAt(w, p.X, p.Y)); }

inline int32_t ClampX(int64_t x) { return static_cast<int32_t>(x < 0 ? 0 : x > MaxX ? MaxX : x); }
inline int32_t ClampY(int64_t y) { return static_cast<int32_t>(y < 0 ? 0 : y > MaxY ? MaxY : y); }

// StepCounter - LastSeenStep as a wrapping signed 32-bit difference.
inline int32_t StepsSince(int32_t now, int32_t then) {
  return static_cast<int32_t>(static_cast<uint32_t>(now) - static_cast<uint32_t>(then));
}
inline bool RecentlySeen(const TWorld& w, const TRekin& s) { return StepsSince(w.StepCounter, s.LastSeenStep) <= 1; }

// From `from` a step of about `d` toward `to`, which lies `dist` away:
// each axis is Round(difference * d / dist), taken separately.
inline int64_t StepToward(int64_t from, int64_t to, int32_t d, double dist) {
  return from - RoundOver((from - to) * d, dist);
}

struct TPosition {
  int64_t X = 0;
  int64_t Y = 0;
};

// A step of about `d` from (x, y) toward (tx, ty), by StepToward on each
// axis; no step at all from (tx, ty) itself.
inline TPosition StepTowardPoint(int64_t x, int64_t y, int64_t tx, int64_t ty, int32_t d) {
  const double dist = Distance(x - tx, y - ty);
  if (dist == 0) return {x, y};
  return {StepToward(x, tx, d, dist), StepToward(y, ty, d, dist)};
}

void PersonRule(TWorld& w, TCzlowiek& p);
void SharkRule(TWorld& w, TRekin& s);
void ObserverRule(TWorld& w, const TObserwator& o);
void BoatSightingRule(TWorld& w, const TLodz& b);
void BoatMovementRule(TWorld& w, TLodz& b);

// Who sights a shark, which decides the words of the message.
enum class TWatcher { ObservationPoint, Boat };

// "12.5: obserwator na (120,340) dostrzegł rekina na (150,400)." or
// "…: łódź na (…) dostrzegła rekina na (…).", appended.
inline void AnnounceSighting(TWorld& w, TWatcher watcher, const TObiekt& at, const TRekin& s) {
  const bool point = watcher == TWatcher::ObservationPoint;
  w.Announce(point ? ": obserwator na " : ": łódź na ", at.X, at.Y,
             point ? " dostrzegł rekina na " : " dostrzegła rekina na ", s.X, s.Y);
}

}  // namespace wymianadanych
