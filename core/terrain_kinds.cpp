#include "terrain_kinds.h"

namespace wymianadanych {

namespace {

// Clears the bits first to last (inclusive).
void ClearBits(std::vector<uint64_t>& bits, size_t first, size_t last) {
  for (size_t word = first >> 6; word <= last >> 6; ++word) {
    const unsigned lo = word == first >> 6 ? first & 63 : 0;
    const unsigned hi = word == last >> 6 ? last & 63 : 63;
    bits[word] &= ~((~uint64_t{0} >> (63 - hi)) & (~uint64_t{0} << lo));
  }
}

// Keeps only the cells an arrival can draw; returns the number of words
// with a cell left.
int64_t KeepReachable(std::vector<uint64_t>& bits, int32_t reachWidth, int32_t reachHeight) {
  constexpr size_t column = MapHeight;
  for (int32_t x = 0; x < MapWidth; ++x) {
    const int32_t from = x < reachWidth ? reachHeight : 0;
    if (from < MapHeight) ClearBits(bits, x * column + static_cast<size_t>(from), x * column + column - 1);
  }
  int64_t words = 0;
  for (uint64_t word : bits) words += word != 0;
  return words;
}

// The tables of `grid` (the terrain's cells) for the reach packed in `key`.
std::shared_ptr<const TTerrainDerived> MakeTables(const int32_t* grid, uint64_t key) {
  static_assert(int64_t{MapWidth} * MapHeight % 64 == 0, "whole words of cells");
  const auto reachWidth = static_cast<int32_t>(key >> 32), reachHeight = static_cast<int32_t>(key & 0xFFFFFFFFu);
  const size_t words = static_cast<size_t>(MapWidth) * MapHeight / 64;
  auto t = std::make_shared<TTerrainKinds::TTables>();
  t->Kind.resize(words * 64);
  t->Water.resize(words);
  t->ReachableLand.resize(words);
  std::vector<uint64_t> blue(words);
  for (size_t word = 0; word < words; ++word) {
    uint64_t wet = 0, land = 0, deep = 0;
    for (unsigned b = 0; b < 64; ++b) {
      const int32_t c = grid[word * 64 + b];
      const uint8_t k = c == LandColour ? Land : c == WaterColour ? BlueWater : c == CyanWaterColour ? AquaWater : OtherGround;
      t->Kind[word * 64 + b] = k;
      wet |= uint64_t{k >= BlueWater} << b;
      land |= uint64_t{k == Land} << b;
      deep |= uint64_t{k == BlueWater} << b;
    }
    t->Water[word] = wet;
    t->ReachableLand[word] = land;
    blue[word] = deep;
  }
  t->ReachableLandWords = KeepReachable(t->ReachableLand, reachWidth, reachHeight);
  t->AnyReachableBlueWater = KeepReachable(blue, reachWidth, reachHeight) != 0;
  return t;
}

}  // namespace

void TTerrainKinds::Make(const TWorld& w) {
  ReachWidth = ReachableCells(w.PictureWidth, MapWidth);
  ReachHeight = ReachableCells(w.PictureHeight, MapHeight);
  const uint64_t key = (uint64_t{static_cast<uint32_t>(ReachWidth)} << 32) | static_cast<uint32_t>(ReachHeight);
  auto tables = w.TerrainGrid.Derived(key, &MakeTables);
  if (!tables) tables = MakeTables(w.TerrainGrid.data(), key);
  tables_ = std::static_pointer_cast<const TTables>(std::move(tables));
  kind_ = tables_->Kind.data();
  water_ = tables_->Water.data();
  ++Generation;
}

}  // namespace wymianadanych
