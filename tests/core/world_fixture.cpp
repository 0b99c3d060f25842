#include "world_fixture.h"

#include <algorithm>

namespace wendo_test {

std::unique_ptr<TWorld> MakeWorld(int32_t colour) {
  auto w = std::make_unique<TWorld>();
  std::fill(w->TerrainGrid.begin(), w->TerrainGrid.end(), colour);
  return w;
}

void Paint(TWorld& w, int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t colour) {
  for (int32_t x = x0; x <= x1; ++x)
    for (int32_t y = y0; y <= y1; ++y) w.TerrainGrid[static_cast<size_t>(x) * MapHeight + y] = colour;
}

TCzlowiek& AddPerson(TWorld& w, int32_t x, int32_t y, bool dead) {
  TCzlowiek p;
  p.X = x;
  p.Y = y;
  p.Dead = dead;
  w.People.push_back(p);
  return w.People.back();
}

TRekin& AddShark(TWorld& w, int32_t x, int32_t y, bool dead, int32_t lastSeen) {
  TRekin s;
  s.X = x;
  s.Y = y;
  s.Dead = dead;
  s.LastSeenStep = lastSeen;
  w.Sharks.push_back(s);
  return w.Sharks.back();
}

TObserwator& AddObserver(TWorld& w, int32_t x, int32_t y, int32_t range) {
  TObserwator o;
  o.X = x;
  o.Y = y;
  o.Range = range;
  w.Observers.push_back(o);
  return w.Observers.back();
}

TLodz& AddBoat(TWorld& w, int32_t x, int32_t y, int32_t px, int32_t py, int32_t speed, int32_t range) {
  TLodz b;
  b.X = b.HomeX = x;
  b.Y = b.HomeY = y;
  b.PatrolX = px;
  b.PatrolY = py;
  b.Speed = speed;
  b.Range = range;
  b.Outbound = true;
  w.Boats.push_back(b);
  return w.Boats.back();
}

}  // namespace wendo_test
