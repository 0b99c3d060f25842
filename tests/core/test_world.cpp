#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <utility>

#include "moment_counts.h"
#include "world_fixture.h"

using namespace wymianadanych;

TEST(World, StartsWithTheDefaults) {
  TWorld w;
  EXPECT_TRUE(w.Observers.empty() && w.People.empty() && w.Boats.empty() && w.Sharks.empty());
  EXPECT_EQ(w.StepCounter, 0);
  EXPECT_FALSE(w.SharkAlarm);
  EXPECT_EQ(w.SimStepMs, 100);
  EXPECT_EQ(w.RefreshMs, 1000);
  EXPECT_EQ(w.PersonArrivalS, 10);
  EXPECT_EQ(w.PersonMax, 40);
  EXPECT_EQ(w.PersonSpeed, 20);
  EXPECT_EQ(w.PersonRange, 50);
  EXPECT_EQ(w.SharkArrivalS, 15);
  EXPECT_EQ(w.SharkMax, 5);
  EXPECT_EQ(w.SharkSpeed, 30);
  EXPECT_EQ(w.SharkRange, 300);
  EXPECT_EQ(w.ViewLeft, 0);
  EXPECT_EQ(w.ViewTop, 0);
  EXPECT_TRUE(w.EventLog.empty());
}

TEST(World, ResetScenarioKeepsCountersAndLog) {
  TWorld w;
  w.SimStepMs = 5;
  w.PersonMax = 1;
  w.ViewLeft = 77;
  w.SharkAlarm = true;
  w.People.push_back({});
  w.Observers.push_back({});
  w.DeadPeople = 4;
  w.StepCounter = 9;
  w.EventLog.push_back("x");
  w.ResetScenario();
  EXPECT_EQ(w.SimStepMs, 100);
  EXPECT_EQ(w.PersonMax, 40);
  EXPECT_EQ(w.ViewLeft, 0);
  EXPECT_FALSE(w.SharkAlarm);
  EXPECT_TRUE(w.People.empty() && w.Observers.empty());
  EXPECT_EQ(w.DeadPeople, 4);
  EXPECT_EQ(w.StepCounter, 9);
  EXPECT_EQ(w.EventLog.size(), 1u);
}

TEST(World, GeneratorIsTheLinearCongruentialRule) {
  TRandom r;
  r.Seed = 0;
  // seed 1, then 134775814: 134775814 * 100 / 2^32 = 3.138...
  EXPECT_EQ(r(100), 0);
  EXPECT_EQ(r.Seed, 1u);
  EXPECT_EQ(r(100), 3);
  EXPECT_EQ(r.Seed, 134775814u);
  r.Seed = 0xFFFFFFFFu;  // wraps: -1 * 134775813 + 1
  r(1);
  EXPECT_EQ(r.Seed, static_cast<uint32_t>(0u - 134775812u));
  // Random(n) stays within [0, n) and Random(1) is always 0.
  for (int i = 0; i < 1000; ++i) {
    EXPECT_EQ(r(1), 0);
    const int32_t v = r(800);
    EXPECT_GE(v, 0);
    EXPECT_LT(v, 800);
  }
}

TEST(World, GeneratorJumpsAheadAsItWouldStep) {
  // Up to twice the draws of an arrival's whole search.
  for (uint64_t calls : {0ull, 1ull, 2ull, 3ull, 64ull, 12345ull, 20000000ull}) {
    TRandom jumped{0xDEADBEEFu}, stepped{0xDEADBEEFu};
    jumped.Advance(calls);
    for (uint64_t i = 0; i < calls; ++i) stepped(1);
    EXPECT_EQ(jumped.Seed, stepped.Seed) << calls << " calls";
  }
  // A batch of draws taken at once gives what the calls one by one give.
  TRandom batched{0xDEADBEEFu}, oneByOne{0xDEADBEEFu};
  const std::array<uint32_t, 8> seeds = batched.NextSeeds<8>();
  for (uint32_t s : seeds) EXPECT_EQ(TRandom::Scaled(s, 1000), oneByOne(1000));
  EXPECT_EQ(batched.Seed, oneByOne.Seed);
  // The generator's full period brings every seed back; half of it does not.
  for (uint32_t seed : {0u, 1u, 987654321u}) {
    TRandom r{seed};
    r.Advance(uint64_t{1} << 32);
    EXPECT_EQ(r.Seed, seed);
    r.Advance(uint64_t{1} << 31);
    EXPECT_NE(r.Seed, seed);
  }
}

TEST(World, RoundsHalvesToEven) {
  EXPECT_EQ(Round(0.5L), 0);
  EXPECT_EQ(Round(1.5L), 2);
  EXPECT_EQ(Round(2.5L), 2);
  EXPECT_EQ(Round(3.5L), 4);
  EXPECT_EQ(Round(-0.5L), 0);
  EXPECT_EQ(Round(-1.5L), -2);
  EXPECT_EQ(Round(-1.2L), -1);
  EXPECT_EQ(Round(-1.6L), -2);
  EXPECT_EQ(Round(2.4999L), 2);
}

TEST(World, StepLengthRoundsAndIsBounded) {
  EXPECT_EQ(StepLength(20, 100), 2);
  EXPECT_EQ(StepLength(25, 100), 2);
  EXPECT_EQ(StepLength(35, 100), 4);
  EXPECT_EQ(StepLength(30, 100), 3);
  EXPECT_EQ(StepLength(5, 100), 0);  // 0.5
  EXPECT_EQ(StepLength(4, 100), 0);
  EXPECT_EQ(StepLength(-20, 100), 0);
  EXPECT_EQ(StepLength(20, -100), 0);
  // The product is formed in 64 bits and the length capped.
  EXPECT_EQ(StepLength(2147483647, 2147483647), MaxStepLength);
  EXPECT_EQ(StepLength(-2147483647 - 1, -2147483647 - 1), MaxStepLength);
}

TEST(World, DistanceIsEuclidean) {
  EXPECT_DOUBLE_EQ(Distance(3, 4), 5.0);
  EXPECT_DOUBLE_EQ(Distance(-180, 240), 300.0);
  EXPECT_GT(Distance(1, 300), 300.0);
  EXPECT_GT(Distance(50, 1), 50.0);
  // Far beyond 32 bits squared.
  EXPECT_DOUBLE_EQ(Distance(3000000000LL, 4000000000LL), 5000000000.0);
}

// The double root is taken only where it equals the extended one rounded
// to a double: at every offset on the map, every sum up to 2^22 (about one
// in 4,000 differs) and sums far beyond.
TEST(World, DistanceIsTheExtendedRootRoundedToADouble) {
  auto extended = [](int64_t dx, int64_t dy) {
    return static_cast<double>(std::sqrt(static_cast<long double>(dx) * dx + static_cast<long double>(dy) * dy));
  };
  int64_t wrong = 0;
  for (int64_t dx = 0; dx <= MaxX; ++dx)
    for (int64_t dy = 0; dy <= MaxY; ++dy) wrong += Distance(dx, dy) != extended(dx, dy);
  EXPECT_EQ(wrong, 0);
  int64_t differing = 0;
  for (int64_t s = 1; s <= int64_t{1} << 22; ++s) {
    const double root = std::sqrt(static_cast<double>(s));
    const bool differs = root != static_cast<double>(std::sqrt(static_cast<long double>(s)));
    differing += differs;
    if (differs) {
      EXPECT_TRUE(NearRoundingMidpoint(static_cast<double>(s), root)) << s;
    }
  }
  EXPECT_GT(differing, 0);
  for (int64_t d = (int64_t{1} << 26) - 3000; d < (int64_t{1} << 26) + 3000; ++d)
    EXPECT_EQ(Distance(d, d - 7), extended(d, d - 7)) << d;
}

TEST(World, TimePrefixInGeneralFormWithTheSeparator) {
  TWorld w;
  w.ElapsedMs = 0;
  EXPECT_EQ(w.TimePrefix(), "0");
  w.ElapsedMs = 1500;
  EXPECT_EQ(w.TimePrefix(), "1.5");
  w.DecimalSeparator = ",";
  EXPECT_EQ(w.TimePrefix(), "1,5");
  w.ElapsedMs = 100;
  EXPECT_EQ(w.TimePrefix(), "0,1");
  w.ElapsedMs = 12300;
  EXPECT_EQ(w.TimePrefix(), "12,3");
  w.ElapsedMs = 61000;
  EXPECT_EQ(w.TimePrefix(), "61");
  w.ElapsedMs = 1;
  EXPECT_EQ(w.TimePrefix(), "0,001");
  // Large values get no group separator.
  w.ElapsedMs = 2147483647;
  EXPECT_EQ(w.TimePrefix(), "2147483,647");
  w.ElapsedMs = -1500;
  EXPECT_EQ(w.TimePrefix(), "-1,5");
  EXPECT_EQ(FormatGeneral(1234567.25, "."), "1234567.25");
}

TEST(World, IntegersAsPlainDecimalText) {
  EXPECT_EQ(IntToStr(0), "0");
  EXPECT_EQ(IntToStr(-5), "-5");
  EXPECT_EQ(IntToStr(2147483647), "2147483647");
  EXPECT_EQ(IntToStr(-2147483647LL - 1), "-2147483648");
}

TEST(World, TerrainFillTakesColumnsFromThePictureRows) {
  TWorld w;
  // A 3 x 2 picture; the rest of the grid has no pixel.
  const uint32_t pixels[] = {0x00008000, 0x00FF0000, 0x00FFFF00,  // row 0
                             0x00000001, 0xFF008080, 0x00123456}; // row 1 (top byte ignored)
  w.FillTerrain(pixels, 3, 2);
  EXPECT_EQ(w.Terrain(0, 0), 32768);     // red 0, green 128, blue 0
  EXPECT_EQ(w.Terrain(1, 0), 16711680);  // pure blue
  EXPECT_EQ(w.Terrain(2, 0), CyanWaterColour);
  EXPECT_EQ(w.Terrain(0, 1), 1);
  EXPECT_EQ(w.Terrain(1, 1), OliveColour);
  EXPECT_EQ(w.Terrain(2, 1), 0x00123456);
  EXPECT_EQ(w.Terrain(3, 0), NoPixel);
  EXPECT_EQ(w.Terrain(0, 2), NoPixel);
  EXPECT_EQ(w.TerrainGrid[1 * MapHeight + 1], OliveColour);  // [x][y] at x * 1200 + y
  EXPECT_EQ(w.PictureWidth, 3);
  EXPECT_EQ(w.PictureHeight, 2);
}

TEST(World, WorldsOfOnePictureShareTheTerrainUntilOneWrites) {
  const uint32_t pixels[] = {0x00008000, 0x00FF0000};
  const uint32_t other[] = {0x00008000, 0x00FFFF00};
  TWorld a, b, c;
  a.FillTerrain(pixels, 2, 1);
  b.FillTerrain(pixels, 2, 1);
  c.FillTerrain(other, 2, 1);
  const TWorld& ra = a;
  const TWorld& rb = b;
  EXPECT_EQ(ra.TerrainGrid.data(), rb.TerrainGrid.data());
  EXPECT_NE(ra.TerrainGrid.data(), std::as_const(c).TerrainGrid.data());

  const uint64_t before = b.TerrainGrid.Version();
  b.TerrainGrid[0] = WaterColour;  // b takes cells of its own
  EXPECT_GT(b.TerrainGrid.Version(), before);
  EXPECT_NE(ra.TerrainGrid.data(), rb.TerrainGrid.data());
  EXPECT_EQ(a.Terrain(0, 0), LandColour);
  EXPECT_EQ(b.Terrain(0, 0), WaterColour);
  EXPECT_EQ(b.Terrain(1, 0), WaterColour);
}

TEST(World, DrainTakesEveryPendingMessageOnce) {
  TWorld w;
  w.AppendEvent("a");
  w.AppendEvent("b");
  EXPECT_EQ(w.DrainEvents(), (std::vector<std::string>{"a", "b"}));
  EXPECT_TRUE(w.DrainEvents().empty());
  w.AppendEvent("c");
  EXPECT_EQ(w.DrainEvents(), (std::vector<std::string>{"c"}));
}

TEST(World, MomentCountsTakeSwimmersFromTheLiveOnWater) {
  using namespace wendo_test;
  auto w = MakeWorld(WaterColour);
  Paint(*w, 10, 0, 10, 0, LandColour);
  AddPerson(*w, 5, 0);
  AddPerson(*w, 6, 0, true);   // dead on water
  AddPerson(*w, 10, 0);        // standing on land
  AddPerson(*w, -1, 0);        // off the grid
  AddShark(*w, 1, 1, true);
  w->PersonCount = 3;
  w->DeadSharks = 1;
  w->BoatSightings = 4;
  w->PeopleWarned = true;
  const TMomentCounts c = ReadMomentCounts(*w);
  EXPECT_EQ(c.Swimmers, 1);
  EXPECT_EQ(c.PeopleArrived, 4);
  EXPECT_EQ(c.People, 3);
  EXPECT_EQ(c.SharksArrived, 1);
  EXPECT_EQ(c.Sharks, 0);
  EXPECT_EQ(c.DeadSharks, 1);
  EXPECT_EQ(c.BoatSightings, 4);
  EXPECT_TRUE(c.PeopleWarned);
}
