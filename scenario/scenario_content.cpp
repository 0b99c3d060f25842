#include "scenario_content.h"

#include <algorithm>
#include <mutex>

namespace wymianadanych {

namespace {
bool SameObserver(const TObserwator& a, const TObserwator& b) {
  return a.X == b.X && a.Y == b.Y && a.Range == b.Range;
}

bool SameBoat(const TLodz& a, const TLodz& b) {
  return a.X == b.X && a.Y == b.Y && a.HomeX == b.HomeX && a.HomeY == b.HomeY && a.PatrolX == b.PatrolX &&
         a.PatrolY == b.PatrolY && a.Range == b.Range && a.Speed == b.Speed && a.Outbound == b.Outbound;
}
}  // namespace

TScenario TakeScenario(const TWorld& world) {
  TScenario s;
  for (int i = 0; i < ParameterCount; ++i) s.Parameters[i] = ParameterTable[i].Get(world);
  std::lock_guard guard(world.Lock);
  s.Observers = world.Observers;
  s.Boats = world.Boats;
  return s;
}

void PutScenario(TWorld& world, TScenario&& s) {
  std::lock_guard guard(world.Lock);
  for (int i = 0; i < ParameterCount; ++i) ParameterTable[i].Set(world, s.Parameters[i]);
  // The old objects go to `s` and are freed with it, after the lock is released.
  world.Observers.swap(s.Observers);
  world.Boats.swap(s.Boats);
}

bool SameScenario(const TScenario& a, const TScenario& b) {
  return std::equal(std::begin(a.Parameters), std::end(a.Parameters), std::begin(b.Parameters)) &&
         std::equal(a.Observers.begin(), a.Observers.end(), b.Observers.begin(), b.Observers.end(), SameObserver) &&
         std::equal(a.Boats.begin(), a.Boats.end(), b.Boats.begin(), b.Boats.end(), SameBoat);
}

}  // namespace wymianadanych
