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

#include <fstream>
#include <iterator>

namespace wendo_test {

namespace {
uint32_t Le(const std::vector<unsigned char>& b, size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = v << 8 | b[at + i];
  return v;
}
}  // namespace

bool LoadBmpTerrain(TWorld& w, const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<unsigned char> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') return false;
  const uint32_t offset = Le(b, 10, 4);
  const int32_t width = static_cast<int32_t>(Le(b, 18, 4));
  const int32_t rawHeight = static_cast<int32_t>(Le(b, 22, 4));
  const uint32_t bits = Le(b, 28, 2), compression = Le(b, 30, 4);
  if ((bits != 24 && bits != 32) || (compression != 0 && compression != 3) || width <= 0) return false;
  const int32_t height = rawHeight < 0 ? -rawHeight : rawHeight;
  const size_t stride = (static_cast<size_t>(width) * (bits / 8) + 3) / 4 * 4;
  if (b.size() < offset + stride * height) return false;
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
  for (int32_t y = 0; y < height; ++y) {
    const size_t row = offset + stride * static_cast<size_t>(rawHeight < 0 ? y : height - 1 - y);
    for (int32_t x = 0; x < width; ++x) {
      const unsigned char* p = &b[row + static_cast<size_t>(x) * (bits / 8)];  // blue, green, red
      pixels[static_cast<size_t>(y) * width + x] = p[2] | p[1] << 8 | p[0] << 16;
    }
  }
  w.FillTerrain(pixels.data(), width, height);
  return true;
}

void PaintTrickyMap(TWorld& w) {
  std::fill(w.TerrainGrid.begin(), w.TerrainGrid.end(), WaterColour);
  Paint(w, 300, 0, 799, 1199, LandColour);
  for (int32_t x = 320; x < 800; x += 37) Paint(w, x, 0, x + 1, 1199, WaterColour);  // channels
  for (int32_t x = 40; x < 300; x += 53) Paint(w, x, 100, x + 1, 1100, LandColour);  // thin strips
  Paint(w, 500, 300, 600, 420, WaterColour);       // a lake
  Paint(w, 520, 320, 540, 340, LandColour);        // with an island
  Paint(w, 620, 600, 700, 700, CyanWaterColour);   // an aqua pond
  Paint(w, 250, 0, 299, 1199, CyanWaterColour);    // aqua shore
  Paint(w, 100, 500, 140, 540, LandColour);        // an island at sea
  Paint(w, 700, 900, 760, 960, OliveColour);
  Paint(w, 400, 800, 460, 830, Rgb(200, 200, 200));
  Paint(w, 0, 0, 799, 3, WaterColour);             // water along every edge
  Paint(w, 0, 1196, 799, 1199, WaterColour);
  Paint(w, 796, 0, 799, 1199, CyanWaterColour);
  Paint(w, 780, 1000, 799, 1050, NoPixel);
}

}  // namespace wendo_test
