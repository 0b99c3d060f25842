#include "moment_counts.h"

#include "rules.h"

namespace wymianadanych {

int32_t CountSwimmers(const TWorld& w) {
  const TWorld::TStepSwimmers& counted = w.StepSwimmers;
  const bool current = counted.Counted && counted.Step == w.StepCounter && counted.People <= w.People.size() &&
                       counted.TerrainVersion == w.TerrainGrid.Version();
  int32_t n = current ? counted.Count : 0;
  for (size_t i = current ? counted.People : 0; i < w.People.size(); ++i) n += Swims(w, w.People[i]);
  return n;
}

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
