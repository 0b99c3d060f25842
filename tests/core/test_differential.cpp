// The indexed step against the literal walks: random scenarios on the
// beach map and on a map full of traps, run both ways from the same seed
// with the same random clock, must give the same trace line for line.
// WENDO_DIFF_SCENARIOS sets how many scenarios run (the quick default is 200).
// Arrivals on pictures so small that they fill up are compared too, down
// to the generator's state after every iteration.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <sstream>

#include "arrivals.h"
#include "moment_counts.h"
#include "rules.h"
#include "simulation.h"
#include "spatial_index.h"
#include "test_maps.h"
#include "trace_run.h"
#include "world_fixture.h"
#include "busy_world.h"

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
  // Each value drawn in its own statement: the order of the draws is fixed.
  for (int i = 0; i < observers; ++i) {
    const int32_t x = Coordinate(r, MapWidth);
    const int32_t y = Coordinate(r, MapHeight);
    const int32_t range = r(10) == 0 ? Pick(r, -10, 0) : r(10) == 0 ? 2147483647 : Pick(r, 0, 400);
    AddObserver(w, x, y, range);
  }
  for (int i = 0; i < boats; ++i) {
    const int32_t x = Coordinate(r, MapWidth);
    const int32_t y = Coordinate(r, MapHeight);
    const int32_t px = Coordinate(r, MapWidth);
    const int32_t py = Coordinate(r, MapHeight);
    const int32_t speed = Pick(r, -10, 300);
    const int32_t range = Pick(r, -10, 500);
    AddBoat(w, x, y, px, py, speed, range);
  }
}

std::string RunScenario(bool indexed, bool grids, bool probe, bool beach, uint32_t scenarioSeed) {
  auto w = MakeWorld(WaterColour);
  if (!beach || !LoadBmpTerrain(*w, WENDO_ASSET_DIR "/wendo.bmp")) PaintTrickyMap(*w);
  w->UseSpatialIndex = indexed;
  IndexOf(*w).WalkFewObjects = !grids;
  IndexOf(*w).ProbeBeforeMap = probe;
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
    // Half the runs search grids even for few objects; a third make
    // the arrivals' map at once.
    const std::string literal = RunScenario(false, false, true, beach, seed);
    const std::string indexed = RunScenario(true, i % 4 < 2, i % 3 != 0, beach, seed);
    ASSERT_TRUE(literal == indexed) << (beach ? "beach" : "tricky") << " scenario " << seed << ", "
                                    << FirstDifference(literal, indexed);
    for (size_t at = literal.find("\nE "); at != std::string::npos; at = literal.find("\nE ", at + 1)) ++events;
  }
  EXPECT_GT(events, static_cast<size_t>(n) * 10);  // the runs did something
}

namespace {

// A picture of 40 x 40 pixels: deep water, an aqua strip and a strip of
// land that a handful of people fill; without deep water in one variant.
void FillSmallPicture(TWorld& w, bool deepWater) {
  constexpr int32_t size = 40;
  std::vector<uint32_t> pixels(size * size);
  for (int32_t y = 0; y < size; ++y)
    for (int32_t x = 0; x < size; ++x)
      pixels[static_cast<size_t>(y) * size + x] = static_cast<uint32_t>(
          x >= 26 ? LandColour : x >= 20 || !deepWater ? CyanWaterColour : WaterColour);
  w.FillTerrain(pixels.data(), size, size);
}

struct TArrivalRun {
  std::string trace;  // every iteration: what was due, the counts, the seed; positions after a step
  int personGiveUps = 0, sharkGiveUps = 0;
};

TArrivalRun RunSmallPicture(bool indexed, bool probe, uint32_t seed) {
  auto w = MakeWorld(NoPixel);
  FillSmallPicture(*w, seed % 4 != 3);
  w->UseSpatialIndex = indexed;
  IndexOf(*w).ProbeBeforeMap = probe;
  TRandom r{seed};
  w->SimStepMs = Pick(r, 1, 200);
  w->PersonArrivalS = seed == 2 ? 0 : 1;
  w->PersonMax = 1000;
  w->PersonSpeed = r(2) ? 0 : Pick(r, 5, 60);  // still, the beach stays full
  w->PersonRange = Pick(r, 0, 30);
  w->SharkArrivalS = Pick(r, 1, 3);
  w->SharkMax = Pick(r, 0, 4);
  w->SharkSpeed = Pick(r, 0, 60);
  w->SharkRange = Pick(r, 0, 40);
  for (int i = Pick(r, 0, 3); i > 0; --i) {
    const int32_t x = r(4) ? Pick(r, 20, 45) : 2147483647 - r(5);  // by the strip, or far off the map
    const int32_t y = Pick(r, -5, 45);
    const int32_t range = Pick(r, 0, 30);
    AddObserver(*w, x, y, range);
  }
  w->Random.Seed = seed * 2654435761u;
  TArrivalRun run;
  std::ostringstream out;
  TSimulationTicks ticks;
  StartRun(*w, ticks, 0, true);
  uint32_t now = 0;
  for (int i = 0; i < 20; ++i) {
    now += static_cast<uint32_t>(Pick(r, 200, 600));
    const size_t people = w->People.size(), sharks = w->Sharks.size();
    const unsigned done = RunIteration(*w, ticks, now);
    run.personGiveUps += (done & PersonArrival) && w->People.size() == people;
    run.sharkGiveUps += (done & SharkArrival) && w->Sharks.size() == sharks;
    out << "I " << done << ' ' << w->People.size() << ' ' << w->Sharks.size() << ' ' << w->Random.Seed << '\n';
    if (done & StepTaken) {
      for (const TCzlowiek& p : w->People) out << "P " << p.X << ' ' << p.Y << ' ' << p.Dead << '\n';
      for (const TRekin& s : w->Sharks) out << "S " << s.X << ' ' << s.Y << ' ' << s.Dead << '\n';
    }
    for (const std::string& m : w->DrainEvents()) out << "E " << m << '\n';
  }
  run.trace = out.str();
  return run;
}

}  // namespace

TEST(Differential, FullBeachesGiveUpAfterTheSameDraws) {
  int personGiveUps = 0, sharkGiveUps = 0;
  for (uint32_t seed = 1; seed <= 4; ++seed) {
    const TArrivalRun literal = RunSmallPicture(false, true, seed);
    // With and without the first draws walking the lists.
    for (bool probe : {true, false}) {
      const TArrivalRun indexed = RunSmallPicture(true, probe, seed);
      ASSERT_TRUE(literal.trace == indexed.trace) << "small picture " << seed << (probe ? "" : " (map at once)")
                                                  << ", " << FirstDifference(literal.trace, indexed.trace);
    }
    personGiveUps += literal.personGiveUps;
    sharkGiveUps += literal.sharkGiveUps;
  }
  // The beaches did fill up, and the sharks without deep water gave up.
  EXPECT_GT(personGiveUps, 10);
  EXPECT_GT(sharkGiveUps, 2);
}

namespace {

// A run on the beach map with the terrain and the observation points
// changed between iterations, as the user interface changes them while a
// run is paused: nobody tells the index.
std::string RunWithEdits(bool indexed) {
  auto w = MakeWorld(WaterColour);
  PaintTrickyMap(*w);
  w->UseSpatialIndex = indexed;
  MakeBusy(*w, {.StepMs = 50, .PersonMax = 60, .SharkMax = 20});
  w->SharkRange = 400;
  w->PersonRange = 100;
  w->Random.Seed = 31337;
  std::ostringstream out;
  TSimulationTicks ticks;
  StartRun(*w, ticks, 0, true);
  uint32_t now = 0;
  auto run = [&](int iterations) {
    for (int i = 0; i < iterations; ++i) {
      RunIteration(*w, ticks, now += 37);
      for (const TCzlowiek& p : w->People) out << p.X << ',' << p.Y << ' ';
      for (const TRekin& s : w->Sharks) out << s.X << ',' << s.Y << ' ';
      out << w->Random.Seed << '\n';
    }
  };
  run(40);
  // Observation points among the people, then one taken away, then the
  // whole list replaced.
  for (size_t i = 0; i < w->People.size(); i += 3) AddObserver(*w, w->People[i].X + 3, w->People[i].Y - 2, 200);
  run(20);
  w->Observers.erase(w->Observers.begin());
  run(20);
  std::vector<TObserwator> loaded(w->Observers.rbegin(), w->Observers.rend());
  w->Observers.swap(loaded);
  run(20);
  // The land turns to water under the people, the sea to land.
  Paint(*w, 300, 0, 799, 599, WaterColour);
  Paint(*w, 0, 600, 299, 1199, LandColour);
  run(40);
  // A smaller picture: arrivals draw only from its corner.
  std::vector<uint32_t> pixels(200 * 300, static_cast<uint32_t>(LandColour));
  for (size_t i = 0; i < pixels.size(); i += 7) pixels[i] = WaterColour;
  w->FillTerrain(pixels.data(), 200, 300);
  run(40);
  return out.str();
}

}  // namespace

// A crowd in which every watcher sees hundreds of sharks, so that the
// answers gathered from the shark grid are long enough to be put in list
// order by marking and sweeping; the sharks hunt across 400 dm of it.
TEST(Differential, CrowdsWithLongAnswersEqualTheLiteralWalks) {
  auto run = [](bool indexed) {
    auto w = MakeWorld(WaterColour);
    if (!LoadBmpTerrain(*w, WENDO_ASSET_DIR "/wendo.bmp")) PaintTrickyMap(*w);
    w->UseSpatialIndex = indexed;
    w->SharkRange = 400;
    TRandom r{99};
    auto on = [&](auto accept) {
      for (;;) {
        const int32_t x = r(MapWidth), y = r(MapHeight);
        if (accept(w->Terrain(x, y))) return std::pair{x, y};
      }
    };
    for (int i = 0; i < 300; ++i) {
      const auto [x, y] = on([](int32_t c) { return IsWater(c); });
      AddShark(*w, x, y, i % 7 == 0);
    }
    for (int i = 0; i < 3000; ++i) {
      const auto [x, y] = on([&](int32_t c) { return i % 2 ? c == LandColour : IsWater(c); });
      AddPerson(*w, x, y, i % 11 == 0);
    }
    for (int i = 0; i < 12; ++i) {
      const auto [x, y] = on([](int32_t c) { return c == LandColour; });
      AddObserver(*w, x, y, 700);
    }
    for (int i = 0; i < 10; ++i) {
      const auto [x, y] = on([](int32_t c) { return IsWater(c); });
      const auto [px, py] = on([](int32_t c) { return IsWater(c); });
      AddBoat(*w, x, y, px, py, 60, 400);
    }
    std::ostringstream out;
    TSimulationTicks ticks;
    for (uint32_t step = 1; step <= 12; ++step) {
      SimulationStep(*w, ticks, step * 100);
      out << "step " << step << " seed " << w->Random.Seed << " sightings " << w->ObserverSightings << ' '
          << w->BoatSightings << "\n";
      for (const TCzlowiek& p : w->People) out << "P " << p.X << ',' << p.Y << ',' << p.Dead << '\n';
      for (const TRekin& s : w->Sharks)
        out << "S " << s.X << ',' << s.Y << ',' << s.Dead << ',' << s.LastSeenStep << '\n';
      for (const std::string& m : w->EventLog) out << m << "\n";
      w->EventLog.clear();
    }
    return out.str();
  };
  const std::string literal = run(false), indexed = run(true);
  EXPECT_TRUE(literal == indexed) << FirstDifference(literal, indexed);
}

TEST(Differential, TheIndexNoticesWhatChangedBetweenIterations) {
  const std::string literal = RunWithEdits(false);
  const std::string indexed = RunWithEdits(true);
  EXPECT_TRUE(literal == indexed) << FirstDifference(literal, indexed);
}

// The indexed finder compares sums of squares where the rules compare
// square roots; the two must agree for every pair of points on the map and
// a good way beyond, at and around every boundary.
TEST(Differential, SumsOfSquaresCompareAsTheirRootsDo) {
  auto agree = [](int64_t dx, int64_t dy) {
    const int64_t s = dx * dx + dy * dy;
    const double dist = Distance(dx, dy);
    const auto root = static_cast<int64_t>(std::sqrt(static_cast<long double>(s)));
    for (int64_t r = std::max<int64_t>(0, root - 1); r <= root + 1; ++r)
      if ((dist <= static_cast<double>(r)) != (s <= r * r) || (dist < static_cast<double>(r)) != (s < r * r))
        return false;
    return true;
  };
  int failures = 0;
  for (int64_t dx = 0; dx < 1500; ++dx)
    for (int64_t dy = 0; dy <= dx; ++dy) failures += !agree(dx, dy);
  constexpr int64_t far = (int64_t{1} << 20) - 1;  // the largest difference compared so
  for (int64_t dx = far - 300; dx <= far; ++dx)
    for (int64_t dy : {int64_t{0}, int64_t{1}, int64_t{2}, dx / 3, dx - 1, dx}) failures += !agree(dx, dy);
  EXPECT_EQ(failures, 0);
}

// RoundOver takes the double quotient away from halves; it must round as
// the extended quotient of the rules does.
TEST(Differential, DoubleQuotientsRoundAsTheExtendedOnes) {
  auto extended = [](int64_t n, double dist) { return Round(static_cast<long double>(n) / dist); };
  int failures = 0;
  // Differences on the map and beyond times step lengths, over distances
  // that are whole (where halves are exact) and not.
  for (int64_t dx = 0; dx < 1200; dx += 7)
    for (int64_t dy = 0; dy < 800; dy += 5) {
      const double dist = Distance(dx, dy);
      if (dist == 0) continue;
      for (int64_t n : {dx, -dy, dx * 3, dy * 5, -dx * 30, dx * 1000000, int64_t{1} << 50, int64_t{5} * 1000001})
        failures += RoundOver(n, dist) != extended(n, dist);
    }
  for (int64_t m = 1; m < 2000; ++m)  // exactly half way, odd and even
    for (int64_t n : {3 * m, 5 * m, -3 * m}) failures += RoundOver(n, 2.0 * m) != extended(n, 2.0 * m);
  EXPECT_EQ(failures, 0);
}

namespace {

// Everything a run leaves after each iteration but the message text: the
// places, the counters, the generator, how many messages there were, and
// the swimmers as CountSwimmers gives them beside a walk of the people.
std::string RunCounting(bool messages, uint32_t scenarioSeed, int& swimmerMismatches) {
  auto w = MakeWorld(WaterColour);
  if (scenarioSeed % 2 || !LoadBmpTerrain(*w, WENDO_ASSET_DIR "/wendo.bmp")) PaintTrickyMap(*w);
  w->WriteMessages = messages;
  TRandom r{scenarioSeed};
  RandomScenario(*w, r);
  TRandom clock{scenarioSeed ^ 0x5bd1e995u};
  w->Random.Seed = scenarioSeed * 2654435761u;
  std::ostringstream out;
  TSimulationTicks ticks;
  StartRun(*w, ticks, 0, true);
  uint32_t now = 0;
  for (int i = 0; i < 600; ++i) {
    RunIteration(*w, ticks, now += static_cast<uint32_t>(clock(250)));
    int32_t walked = 0;
    for (const TCzlowiek& p : w->People) walked += Swims(*w, p);
    const TMomentCounts c = ReadMomentCounts(*w);
    swimmerMismatches += c.Swimmers != walked;
    out << c.Steps << ' ' << c.PeopleArrived << ' ' << c.DeadPeople << ' ' << c.SharksArrived << ' ' << c.DeadSharks
        << ' ' << c.ObserverSightings << ' ' << c.BoatSightings << ' ' << c.Swimmers << ' '
        << w->EventsAppended << ' ' << w->Random.Seed << ' ' << (messages ? 0 : w->EventLog.size()) << '\n';
    for (const TCzlowiek& p : w->People) out << p.X << ',' << p.Y << ' ';
    for (const TRekin& s : w->Sharks) out << s.X << ',' << s.Y << ' ';
    out << '\n';
    w->EventLog.clear();
  }
  return out.str();
}

}  // namespace

// An experiment that reads only the counters runs without message text,
// and reads the swimmers that the step counted.
TEST(Differential, RunsWithoutMessageTextAndSwimmersFromTheStepAreTheSameRuns) {
  int swimmerMismatches = 0;
  for (uint32_t seed = 1; seed <= 24; ++seed) {
    const std::string with = RunCounting(true, seed, swimmerMismatches);
    const std::string without = RunCounting(false, seed, swimmerMismatches);
    ASSERT_TRUE(with == without) << "scenario " << seed << ", " << FirstDifference(with, without);
  }
  EXPECT_EQ(swimmerMismatches, 0);
}
