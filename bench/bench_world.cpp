#include "bench_world.h"

#include <cmath>
#include <fstream>
#include <unistd.h>

#ifdef WENDO_BENCH_HAS_QT
#include "terrain_picture.h"
#endif

namespace wendo_bench {

using namespace wymianadanych;

namespace {

bool LoadMap(TWorld& w) {
#ifdef WENDO_BENCH_HAS_QT
  try {
    LoadTerrainPicture(w, QStringLiteral(WENDO_ASSET_DIR "/wendo.bmp"));
    return true;
  } catch (const TPictureError&) {
    return false;
  }
#else
  (void)w;
  return false;
#endif
}

void DrawBeach(TWorld& w) {
  for (int32_t y = 0; y < MapHeight; ++y) {
    const int32_t shore = 320 + static_cast<int32_t>(40 * std::sin(y / 90.0));
    for (int32_t x = 0; x < MapWidth; ++x) {
      int32_t c = x < shore - 30 ? WaterColour : x < shore ? CyanWaterColour : LandColour;
      if (x >= shore + 60 && x < shore + 66) c = Rgb(230, 210, 160);  // promenade
      w.TerrainGrid[static_cast<size_t>(x) * MapHeight + y] = c;
    }
  }
}

}  // namespace

std::unique_ptr<TWorld> BeachWorld() {
  auto w = std::make_unique<TWorld>();
  if (!LoadMap(*w)) DrawBeach(*w);
  return w;
}

void Populate(TWorld& w, int people, int sharks, int observers, int boats) {
  w.Random.Seed = 12345;
  auto cell = [&](auto accept) {
    for (;;) {
      const int32_t x = w.Random(MapWidth), y = w.Random(MapHeight);
      if (accept(w.Terrain(x, y))) return std::pair{x, y};
    }
  };
  for (int i = 0; i < sharks; ++i) {
    auto [x, y] = cell([](int32_t c) { return c == WaterColour; });
    TRekin s;
    s.X = x;
    s.Y = y;
    w.Sharks.push_back(s);
  }
  // Nobody swims within reach of a shark's jaws yet: the sharks have not
  // just landed on top of the crowd.
  for (int i = 0; i < people; ++i) {
    for (;;) {
      auto [x, y] = cell([&](int32_t c) { return i % 2 ? c == LandColour : IsWater(c); });
      bool clear = true;
      for (const TRekin& s : w.Sharks) clear = clear && SquaredDistance(s.X - x, s.Y - y) >= 225;
      if (!clear) continue;
      TCzlowiek p;
      p.X = x;
      p.Y = y;
      w.People.push_back(p);
      break;
    }
  }
  for (int i = 0; i < observers; ++i) {
    auto [x, y] = cell([](int32_t c) { return c == LandColour || c == OliveColour; });
    TObserwator o;
    o.X = x;
    o.Y = y;
    o.Range = 300;
    w.Observers.push_back(o);
  }
  for (int i = 0; i < boats; ++i) {
    auto [hx, hy] = cell([](int32_t c) { return IsWater(c); });
    auto [px, py] = cell([](int32_t c) { return IsWater(c); });
    TLodz b;
    b.X = b.HomeX = hx;
    b.Y = b.HomeY = hy;
    b.PatrolX = px;
    b.PatrolY = py;
    b.Speed = 50;
    b.Range = 200;
    b.Outbound = true;
    w.Boats.push_back(b);
  }
  w.PersonCount = people;
  w.SharkCount = sharks;
  w.ObserverCount = observers;
  w.BoatCount = boats;
}

void PlaceWatchers(TWorld& w) {
  for (auto [x, y] : {std::pair{420, 100}, {400, 350}, {340, 550}, {330, 650}, {420, 1000}}) {
    TObserwator o;
    o.X = x;
    o.Y = y;
    o.Range = 300;
    w.Observers.push_back(o);
  }
  const int32_t beats[3][4] = {{250, 200, 250, 450}, {220, 520, 210, 820}, {250, 880, 260, 1120}};
  for (const auto& beat : beats) {
    TLodz b;
    b.X = b.HomeX = beat[0];
    b.Y = b.HomeY = beat[1];
    b.PatrolX = beat[2];
    b.PatrolY = beat[3];
    b.Speed = 50;
    b.Range = 200;
    b.Outbound = true;
    w.Boats.push_back(b);
  }
}

uint32_t FillBeach(TWorld& w, TSimulationTicks& ticks) {
  w.SimStepMs = 1;
  w.PersonArrivalS = 0;
  w.PersonMax = 20000;
  w.SharkArrivalS = 0;
  w.SharkMax = 2000;
  w.Random.Seed = 4242;
  StartRun(w, ticks, 0, true);
  uint32_t now = 0;
  for (;;) {
    const size_t before = w.People.size();
    const unsigned done = RunIteration(w, ticks, ++now);
    w.EventLog.clear();
    if ((done & PersonArrival) && w.People.size() == before) return now;
  }
}

double ResidentMegabytes() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

}  // namespace wendo_bench
