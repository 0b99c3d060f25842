#include "simulation.h"

#include <algorithm>
#include <cstdlib>

#include "rules.h"
#include "spatial_index.h"

namespace wymianadanych {

namespace {

bool Due(uint32_t elapsed, int64_t period) { return static_cast<int64_t>(elapsed) > period; }

// Milliseconds until `elapsed` exceeds `period`.
int64_t Remaining(uint32_t elapsed, int64_t period) {
  return std::max<int64_t>(0, period + 1 - static_cast<int64_t>(elapsed));
}

void BringPerson(TWorld& w) {
  for (int64_t draws = 0; draws < MaxArrivalDraws; ++draws) {
    const int32_t x = w.Random(w.PictureWidth);
    const int32_t y = w.Random(w.PictureHeight);
    if (!(w.UseSpatialIndex ? IndexedFreeLandCell(w, x, y) : FreeLandCell(w, x, y))) continue;
    TCzlowiek p;
    p.X = x;
    p.Y = y;
    w.People.push_back(p);
    w.PersonCount += 1;
    w.AppendEvent(w.EventMessage(": pojawił sie człowiek na ", x, y));
    return;
  }
}

void BringShark(TWorld& w) {
  for (int64_t draws = 0; draws < MaxArrivalDraws; ++draws) {
    const int32_t x = w.Random(w.PictureWidth);
    const int32_t y = w.Random(w.PictureHeight);
    if (TerrainAt(w, x, y) != WaterColour) continue;
    TRekin s;
    s.X = x;
    s.Y = y;
    w.Sharks.push_back(s);
    w.SharkCount += 1;
    w.AppendEvent(w.EventMessage(": pojawił sie rekin na ", x, y));
    return;
  }
}

template <class T>
bool Near(const T& o, int32_t x, int32_t y) {
  return std::llabs(static_cast<int64_t>(x) - o.X) < 10 && std::llabs(static_cast<int64_t>(y) - o.Y) < 10;
}

}  // namespace

bool FreeLandCell(const TWorld& w, int32_t x, int32_t y) {
  if (TerrainAt(w, x, y) != LandColour) return false;
  for (const TCzlowiek& p : w.People)
    if (Near(p, x, y)) return false;
  for (const TObserwator& o : w.Observers)
    if (Near(o, x, y)) return false;
  return true;
}

void SimulationStep(TWorld& w, uint32_t now, TSimulationTicks& t) {
  w.StepCounter = static_cast<int32_t>(static_cast<uint32_t>(w.StepCounter) + 1u);
  w.ElapsedMs = static_cast<int32_t>(static_cast<uint32_t>(w.ElapsedMs) + ElapsedTicks(now, t.LastStepTick));
  t.LastStepTick = now;
  if (w.UseSpatialIndex) return IndexedStepRules(w);
  for (const TLodz& b : w.Boats) BoatSightingRule(w, b);
  for (TLodz& b : w.Boats) BoatMovementRule(w, b);
  for (TRekin& s : w.Sharks) SharkRule(w, s);
  for (TCzlowiek& p : w.People) PersonRule(w, p);
  w.SharkAlarm = false;
  for (const TObserwator& o : w.Observers) ObserverRule(w, o);
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
  std::lock_guard guard(w.Lock);
  w.Index->Invalidate();  // observation points may have changed meanwhile
  if (!fresh) return;
  w.ElapsedMs = 0;
  w.ObserverCount = static_cast<int32_t>(w.Observers.size());
  w.BoatCount = static_cast<int32_t>(w.Boats.size());
  w.SharkCount = 0;
  w.PersonCount = 0;
  w.DeadSharks = 0;
  w.DeadPeople = 0;
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
  w.Index->Invalidate();
}

}  // namespace wymianadanych
