#include "scenario_content.h"

#include <mutex>

namespace wymianadanych {

TScenario TakeScenario(const TWorld& world) {
  TScenario s;
  s.Parameters = ParameterValues(world);
  std::lock_guard guard(world.Lock);
  s.Observers = world.Observers;
  s.Boats = world.Boats;
  return s;
}

void PutScenario(TWorld& world, TScenario&& s) {
  std::lock_guard guard(world.Lock);
  SetParameters(world, s.Parameters);
  // The old objects go to `s` and are freed with it, after the lock is released.
  world.Observers.swap(s.Observers);
  world.Boats.swap(s.Boats);
}

}  // namespace wymianadanych
