// Whether two scenarios are the same: for the scenario tests and the
// fuzzer, which check that a load or a failed load changed nothing else.
#pragma once

#include <algorithm>
#include <iterator>

#include "scenario_content.h"

namespace wendo_test {

// Every parameter and every field of every object equal, in the same order.
inline bool SameScenario(const wymianadanych::TScenario& a, const wymianadanych::TScenario& b) {
  using wymianadanych::TLodz;
  using wymianadanych::TObserwator;
  auto sameObserver = [](const TObserwator& p, const TObserwator& q) {
    return p.X == q.X && p.Y == q.Y && p.Range == q.Range;
  };
  auto sameBoat = [](const TLodz& p, const TLodz& q) {
    return p.X == q.X && p.Y == q.Y && p.HomeX == q.HomeX && p.HomeY == q.HomeY && p.PatrolX == q.PatrolX &&
           p.PatrolY == q.PatrolY && p.Range == q.Range && p.Speed == q.Speed && p.Outbound == q.Outbound;
  };
  return std::equal(std::begin(a.Parameters), std::end(a.Parameters), std::begin(b.Parameters)) &&
         std::equal(a.Observers.begin(), a.Observers.end(), b.Observers.begin(), b.Observers.end(), sameObserver) &&
         std::equal(a.Boats.begin(), a.Boats.end(), b.Boats.begin(), b.Boats.end(), sameBoat);
}

}  // namespace wendo_test
