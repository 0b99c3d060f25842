// The indexed step against the literal walks: random scenarios on the
// beach map and on a map full of traps, run both ways from the same seed
// with the same random clock, must give the same trace line for line.
// WENDO_DIFF_SCENARIOS sets how many scenarios run (the quick default is 200).
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "spatial_index.h"
#include "trace_run.h"
#include "world_fixture.h"

using namespace wendo_test;

namespace {

int ScenarioCount() {
  const char* n = std::getenv("WENDO_DIFF_SCENARIOS");
  return n ? std::atoi(n) : 200;
}

int32_t Pick(TRandom& r, int32_t lo, int32_t hi) { return lo + r(hi - lo + 1); }

// A coordinate mostly on the map, now and then off it or far away.
int32_t Coordinate(TRandom& r, int32_t size) {
  switch (r(20)) {
    case 0: return Pick(r, -40, -1);
    case 1: return Pick(r, size, size + 40);
    case 2: return r(2) ? 2147483647 : -2147483647 - 1;
    default: return r(size);
  }
}

void RandomScenario(TWorld& w, TRandom& r) {
  w.SimStepMs = Pick(r, 0, 8) == 0 ? Pick(r, -20, 0) : Pick(r, 1, 300);
  w.PersonArrivalS = Pick(r, 0, 2);
  w.PersonMax = Pick(r, 0, 120);
  w.PersonSpeed = Pick(r, 0, 6) == 0 ? Pick(r, -50, 0) : Pick(r, 1, 120);
  w.PersonRange = Pick(r, -5, 200);
  w.SharkArrivalS = Pick(r, 0, 3);
  w.SharkMax = Pick(r, 0, 30);
  w.SharkSpeed = Pick(r, 0, 150);
  w.SharkRange = Pick(r, 0, 5) == 0 ? Pick(r, -5, 20) : Pick(r, 20, 700);
  const int observers = Pick(r, 0, 12), boats = Pick(r, 0, 6);
  for (int i = 0; i < observers; ++i) {
    TObserwator o;
    o.X = Coordinate(r, MapWidth);
    o.Y = Coordinate(r, MapHeight);
    o.Range = r(10) == 0 ? Pick(r, -10, 0) : r(10) == 0 ? 2147483647 : Pick(r, 0, 400);
    w.Observers.push_back(o);
  }
  for (int i = 0; i < boats; ++i) {
    TLodz b;
    b.X = b.HomeX = Coordinate(r, MapWidth);
    b.Y = b.HomeY = Coordinate(r, MapHeight);
    b.PatrolX = Coordinate(r, MapWidth);
    b.PatrolY = Coordinate(r, MapHeight);
    b.Speed = Pick(r, -10, 300);
    b.Range = Pick(r, -10, 500);
    b.Outbound = true;
    w.Boats.push_back(b);
  }
}

std::string RunScenario(bool indexed, bool fineCells, bool beach, uint32_t scenarioSeed) {
  auto w = MakeWorld(WaterColour);
  if (!beach || !LoadBmpTerrain(*w, WENDO_ASSET_DIR "/wendo.bmp")) PaintTrickyMap(*w);
  w->UseSpatialIndex = indexed;
  w->Index->AdaptiveCells = !fineCells;
  TRandom r{scenarioSeed};
  RandomScenario(*w, r);
  TRandom clock{scenarioSeed ^ 0x5bd1e995u};
  std::ostringstream out;
  wendo_trace::RunTrace(*w, scenarioSeed * 2654435761u, 2000, [&](int64_t) { return clock(250); },
                        static_cast<uint32_t>(scenarioSeed) * 40503u, out);
  return out.str();
}

std::string FirstDifference(const std::string& a, const std::string& b) {
  std::istringstream sa(a), sb(b);
  std::string la, lb;
  for (int line = 1;; ++line) {
    const bool ga = static_cast<bool>(std::getline(sa, la)), gb = static_cast<bool>(std::getline(sb, lb));
    if (!ga && !gb) return "none";
    if (la != lb || ga != gb)
      return "line " + std::to_string(line) + ": literal '" + la + "' indexed '" + lb + "'";
  }
}

}  // namespace

TEST(Differential, IndexedStepsEqualTheLiteralWalks) {
  const int n = ScenarioCount();
  size_t events = 0;
  for (int i = 0; i < n; ++i) {
    const bool beach = i % 2 == 0;
    const uint32_t seed = 1000u + static_cast<uint32_t>(i);
    // Half the runs search fine cells even for few objects.
    const std::string literal = RunScenario(false, false, beach, seed);
    const std::string indexed = RunScenario(true, i % 4 < 2, beach, seed);
    ASSERT_TRUE(literal == indexed) << (beach ? "beach" : "tricky") << " scenario " << seed << ", "
                                    << FirstDifference(literal, indexed);
    for (size_t at = literal.find("\nE "); at != std::string::npos; at = literal.find("\nE ", at + 1)) ++events;
  }
  EXPECT_GT(events, static_cast<size_t>(n) * 10);  // the runs did something
}
