// What the rules and the arrivals tell apart in a terrain cell, worked out
// once from the terrain: one byte a cell, small enough to stay in the
// processor's cache, and bit sets (x * MapHeight + y, as the terrain) of
// the water cells and of the land cells an arrival can draw.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "wymianadanych.h"

namespace wymianadanych {

enum TTerrainKind : uint8_t { OtherGround = 0, Land = 1, BlueWater = 2, AquaWater = 3 };

class TTerrainKinds {
 public:
  // An arrival draws x = Random(PictureWidth) and y = Random(PictureHeight):
  // the cells of the grid it can reach are x < ReachWidth, y < ReachHeight
  // (Random(0) is always 0; a negative size can reach any cell).
  int32_t ReachWidth = 0, ReachHeight = 0;
  uint64_t Generation = 0;  // how often it was worked out

  // Worked out from the world's terrain: for shared cells (a map that many
  // worlds hold) the tables are made once and held in common with them.
  void Make(const TWorld& w);

  const std::vector<uint64_t>& ReachableLand() const { return tables_->ReachableLand; }
  int64_t ReachableLandWords() const { return tables_->ReachableLandWords; }  // words with a cell
  bool AnyReachableBlueWater() const { return tables_->AnyReachableBlueWater; }

  uint8_t Kind(int64_t x, int64_t y) const {
    if (x < 0 || x > MaxX || y < 0 || y > MaxY) return OtherGround;
    return kind_[static_cast<size_t>(x) * MapHeight + static_cast<size_t>(y)];
  }
  bool Water(int64_t x, int64_t y) const {
    if (x < 0 || x > MaxX || y < 0 || y > MaxY) return false;
    const size_t i = static_cast<size_t>(x) * MapHeight + static_cast<size_t>(y);
    return (water_[i >> 6] >> (i & 63)) & 1;
  }

  // The tables, as bit sets (x * MapHeight + y) and one kind a cell.
  struct TTables : TTerrainDerived {
    std::vector<uint8_t> Kind;
    std::vector<uint64_t> Water;
    std::vector<uint64_t> ReachableLand;
    int64_t ReachableLandWords = 0;
    bool AnyReachableBlueWater = false;
  };

 private:
  std::shared_ptr<const TTables> tables_;
  const uint8_t* kind_ = nullptr;
  const uint64_t* water_ = nullptr;
};

// The grid cells Random(size) can reach along an axis of `cells` cells.
inline int32_t ReachableCells(int32_t size, int32_t cells) {
  if (size == 0) return 1;
  if (size < 0) return cells;
  return size < cells ? size : cells;
}

}  // namespace wymianadanych
