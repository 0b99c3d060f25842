#include "sailable_beat.h"

#include <cmath>
#include <set>
#include <tuple>

#include "rules.h"
#include "terrain_picture.h"

namespace wendo_lab {

using namespace wymianadanych;

TBeatChecker::TBeatChecker(const QImage& map, int32_t simStepMs) : world_(std::make_unique<TWorld>()) {
  FillTerrainFromPicture(*world_, map);
  world_->SimStepMs = simStepMs;
}

TBeatChecker::~TBeatChecker() = default;

TBeatTrial TBeatChecker::Try(const TLodz& placed) const {
  TLodz b = placed;
  TBeatTrial trial;
  if (StepLength(b.Speed, world_->SimStepMs) <= 0) {
    trial.Sailable = true;
    return trial;
  }
  // The rule is deterministic without sharks: a position met twice in the
  // same direction is a stop or a circle.
  std::set<std::tuple<int32_t, int32_t, bool>> seen;
  bool turned = false;  // reached the patrol point
  for (;;) {
    if (!seen.emplace(b.X, b.Y, b.Outbound).second) {
      trial.StoppedOutbound = !turned;
      trial.Stop = {b.X, b.Y};
      return trial;
    }
    BoatMovementRule(*world_, b);
    if (!b.Outbound) turned = true;
    if (turned && b.Outbound) break;  // home again
    // Home and patrol point within turning distance: the boat stays there.
    if (turned && std::abs(b.HomeX - b.PatrolX) < 10 && std::abs(b.HomeY - b.PatrolY) < 10) break;
  }
  trial.Sailable = true;
  return trial;
}

std::optional<TLodz> TBeatChecker::Sailable(const TLodz& boat, const TNearestCell& water) const {
  const TBeatTrial first = Try(boat);
  if (first.Sailable) return boat;
  std::vector<TCell> patrols;
  if (first.StoppedOutbound) patrols.push_back(first.Stop);
  for (int tenth = 9; tenth >= 1; --tenth) {
    const double f = tenth / 10.0;
    patrols.push_back(water.Snap(boat.HomeX + f * (boat.PatrolX - boat.HomeX), boat.HomeY + f * (boat.PatrolY - boat.HomeY)));
  }
  for (const TCell& p : patrols) {
    TLodz b = boat;
    b.PatrolX = p.X;
    b.PatrolY = p.Y;
    if (Try(b).Sailable) return b;
  }
  return std::nullopt;
}

}  // namespace wendo_lab
