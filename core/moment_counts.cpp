#include "moment_counts.h"

#include "rules.h"

namespace wymianadanych {

namespace {
int32_t CountSwimmers(const TWorld& w) {
  int32_t n = 0;
  for (const TCzlowiek& p : w.People) n += Swims(w, p);
  return n;
}
}  // namespace

TMomentCounts ReadMomentCounts(const TWorld& w) {
  TMomentCounts c;
  c.Steps = w.StepCounter;
  c.ElapsedMs = w.ElapsedMs;
  c.PeopleArrived = static_cast<int32_t>(w.People.size());
  c.People = w.PersonCount;
  c.DeadPeople = w.DeadPeople;
  c.SharksArrived = static_cast<int32_t>(w.Sharks.size());
  c.Sharks = w.SharkCount;
  c.DeadSharks = w.DeadSharks;
  c.Swimmers = CountSwimmers(w);
  c.ObserverSightings = w.ObserverSightings;
  c.BoatSightings = w.BoatSightings;
  c.Alarm = w.SharkAlarm;
  c.PeopleWarned = w.PeopleWarned;
  return c;
}

}  // namespace wymianadanych
