#include "chart_sampling.h"

#include <mutex>

#include "moment_counts.h"

using namespace wymianadanych;

TChartSample ReadChartSample(const TWorld& world) {
  std::lock_guard guard(world.Lock);
  const TMomentCounts c = ReadMomentCounts(world);
  return {.ElapsedMs = c.ElapsedMs,
          .People = c.People,
          .DeadPeople = c.DeadPeople,
          .Sharks = c.Sharks,
          .DeadSharks = c.DeadSharks,
          .Swimmers = c.Swimmers,
          .Alarm = c.Alarm};
}
