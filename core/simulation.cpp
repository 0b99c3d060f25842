#include "simulation.h"

#include <algorithm>

#include "arrivals.h"
#include "rules.h"
#include "indexed_finder.h"

namespace wymianadanych {

namespace {

bool Due(uint32_t elapsed, int64_t period) { return static_cast<int64_t>(elapsed) > period; }

// Milliseconds until `elapsed` exceeds `period`.
int64_t Remaining(uint32_t elapsed, int64_t period) {
  return std::max<int64_t>(0, period + 1 - static_cast<int64_t>(elapsed));
}

}  // namespace

void SimulationStep(TWorld& w, uint32_t now, TSimulationTicks& t) {
  w.StepCounter = static_cast<int32_t>(static_cast<uint32_t>(w.StepCounter) + 1u);
  w.ElapsedMs = static_cast<int32_t>(static_cast<uint32_t>(w.ElapsedMs) + ElapsedTicks(now, t.LastStepTick));
  t.LastStepTick = now;
  if (w.UseSpatialIndex)
    IndexedStepRules(w);
  else
    LiteralStepRules(w);
}

unsigned RunIteration(TWorld& w, TSimulationTicks& t, uint32_t now) {
  unsigned done = NothingDue;
  if (Due(ElapsedTicks(now, t.LastPersonTick), int64_t{w.PersonArrivalS} * 1000) && w.PersonCount < w.PersonMax) {
    std::lock_guard guard(w.Lock);
    t.LastPersonTick = now;
    BringPerson(w);
    done |= PersonArrival;
  }
  if (Due(ElapsedTicks(now, t.LastSharkTick), int64_t{w.SharkArrivalS} * 1000) && w.SharkCount < w.SharkMax) {
    std::lock_guard guard(w.Lock);
    t.LastSharkTick = now;
    BringShark(w);
    done |= SharkArrival;
  }
  if (Due(ElapsedTicks(now, t.LastStepTick), w.SimStepMs)) {
    std::lock_guard guard(w.Lock);
    SimulationStep(w, now, t);
    done |= StepTaken;
  }
  return done;
}

int64_t MsUntilDue(const TWorld& w, const TSimulationTicks& t, uint32_t now) {
  int64_t wait = Remaining(ElapsedTicks(now, t.LastStepTick), w.SimStepMs);
  if (w.PersonCount < w.PersonMax)
    wait = std::min(wait, Remaining(ElapsedTicks(now, t.LastPersonTick), int64_t{w.PersonArrivalS} * 1000));
  if (w.SharkCount < w.SharkMax)
    wait = std::min(wait, Remaining(ElapsedTicks(now, t.LastSharkTick), int64_t{w.SharkArrivalS} * 1000));
  return wait;
}

void StartRun(TWorld& w, TSimulationTicks& t, uint32_t now, bool fresh) {
  t.LastStepTick = now;
  t.LastSharkTick = now;
  t.LastPersonTick = now;
  if (!fresh) return;
  std::lock_guard guard(w.Lock);
  w.ElapsedMs = 0;
  w.ObserverCount = static_cast<int32_t>(w.Observers.size());
  w.BoatCount = static_cast<int32_t>(w.Boats.size());
  w.SharkCount = 0;
  w.PersonCount = 0;
  w.DeadSharks = 0;
  w.DeadPeople = 0;
  w.ObserverSightings = 0;
  w.BoatSightings = 0;
  w.PeopleWarned = false;
}

void EndRun(TWorld& w) {
  std::lock_guard guard(w.Lock);
  for (TLodz& b : w.Boats) {
    b.Outbound = true;
    b.X = b.HomeX;
    b.Y = b.HomeY;
  }
  w.Sharks.clear();
  w.People.clear();
  w.EventLog.clear();
  w.StepCounter = 0;
}

}  // namespace wymianadanych
