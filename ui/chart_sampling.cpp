#include "chart_sampling.h"

#include <mutex>

#include "rules.h"

using namespace wymianadanych;

TChartSample ReadChartSample(const TWorld& world) {
  TChartSample s;
  std::lock_guard guard(world.Lock);
  s.ElapsedMs = world.ElapsedMs;
  s.People = world.PersonCount;
  s.DeadPeople = world.DeadPeople;
  s.Sharks = world.SharkCount;
  s.DeadSharks = world.DeadSharks;
  s.Alarm = world.SharkAlarm;
  for (const TCzlowiek& p : world.People) s.Swimmers += Swims(world, p);
  return s;
}
