// Whether a boat can sail its beat. A boat steps straight toward its
// patrol point and back home and stays put when the next cell is not
// water, so a beat whose way out or back meets land is a parked boat. The
// check steps the boat's own movement rule on the map, with no sharks to
// chase, until the boat is home again after turning at its patrol point,
// stops, or goes round in circles.
#pragma once

#include <QImage>
#include <memory>
#include <optional>

#include "placement_cells.h"
#include "wymianadanych.h"

namespace wendo_lab {

struct TBeatTrial {
  bool Sailable = false;
  bool StoppedOutbound = false;  // when not: on the way out, else on the way back
  TCell Stop;                    // where it stopped (when not sailable)
};

class TBeatChecker {
 public:
  // `simStepMs`: the scenario's step period, which sets how far a boat goes
  // in one step.
  TBeatChecker(const QImage& map, int32_t simStepMs);
  ~TBeatChecker();

  // The boat as placed: at its home, heading out. A boat that never moves
  // (speed 0) is sailable: nothing it does depends on its beat.
  TBeatTrial Try(const wymianadanych::TLodz& boat) const;

  // The beat as given when it is sailable; else the patrol point moved
  // toward home, first to where the boat stopped, then to water cells at
  // 9/10, 8/10 … 1/10 of the way, until the beat is sailable; none when
  // none is.
  std::optional<wymianadanych::TLodz> Sailable(const wymianadanych::TLodz& boat, const TNearestCell& water) const;

 private:
  std::unique_ptr<wymianadanych::TWorld> world_;  // the terrain, and nothing on it
};

}  // namespace wendo_lab
