#include "chart_sampling.h"

#include <mutex>

using namespace wymianadanych;

namespace {

// A person swims when the terrain cell under it is water, as the map draws
// it; a cell off the grid counts as land.
bool Swims(const TWorld& world, const TCzlowiek& person) {
  if (person.X < 0 || person.X >= MapWidth || person.Y < 0 || person.Y >= MapHeight) return false;
  return IsWater(world.Terrain(person.X, person.Y));
}

}  // namespace

TChartSample ReadChartSample(const TWorld& world) {
  TChartSample s;
  std::lock_guard guard(world.Lock);
  s.ElapsedMs = world.ElapsedMs;
  s.People = world.PersonCount;
  s.DeadPeople = world.DeadPeople;
  s.Sharks = world.SharkCount;
  s.DeadSharks = world.DeadSharks;
  s.Alarm = world.SharkAlarm;
  if (world.TerrainGrid.size() >= static_cast<size_t>(MapWidth) * MapHeight)
    for (const TCzlowiek& p : world.People)
      if (!p.Dead && Swims(world, p)) ++s.Swimmers;
  return s;
}
