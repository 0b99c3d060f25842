#include "world_fixture.h"

#include <algorithm>

namespace wendo_test {

std::unique_ptr<TWorld> MakeWorld(int32_t colour) {
  auto w = std::make_unique<TWorld>();
  std::fill(w->TerrainGrid.begin(), w->TerrainGrid.end(), colour);
  return w;
}

void Paint(TWorld& w, int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t colour) {
  int32_t* cells = w.TerrainGrid.data();
  for (int32_t x = x0; x <= x1; ++x)
    for (int32_t y = y0; y <= y1; ++y) cells[static_cast<size_t>(x) * MapHeight + y] = colour;
}

TCzlowiek& AddPerson(TWorld& w, int32_t x, int32_t y, bool dead) {
  TCzlowiek& p = w.People.emplace_back();
  p.X = x;
  p.Y = y;
  p.Dead = dead;
  return p;
}

TRekin& AddShark(TWorld& w, int32_t x, int32_t y, bool dead, int32_t lastSeen) {
  TRekin& s = w.Sharks.emplace_back();
  s.X = x;
  s.Y = y;
  s.Dead = dead;
  s.LastSeenStep = lastSeen;
  return s;
}

TObserwator& AddObserver(TWorld& w, int32_t x, int32_t y, int32_t range) {
  TObserwator& o = w.Observers.emplace_back();
  o.X = x;
  o.Y = y;
  o.Range = range;
  return o;
}

TLodz& AddBoat(TWorld& w, int32_t x, int32_t y, int32_t px, int32_t py, int32_t speed, int32_t range) {
  TLodz& b = w.Boats.emplace_back();
  b.X = b.HomeX = x;
  b.Y = b.HomeY = y;
  b.PatrolX = px;
  b.PatrolY = py;
  b.Speed = speed;
  b.Range = range;
  b.Outbound = true;
  return b;
}

}  // namespace wendo_test
