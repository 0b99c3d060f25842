#include <gtest/gtest.h>

#include "replayed_draws.h"
#include "rules.h"
#include "world_fixture.h"

using namespace wendo_test;

TEST(Person, WalksTowardTheWaterOnLandAndStandsUnderTheAlarm) {
  auto w = MakeWorld(LandColour);
  w->Random.Seed = 42;
  AddPerson(*w, 500, 100);
  PersonRule(*w, w->People[0]);
  EXPECT_EQ(w->People[0].X, 498);
  EXPECT_EQ(w->People[0].Y, 100);
  w->SharkAlarm = true;
  PersonRule(*w, w->People[0]);
  EXPECT_EQ(w->People[0].X, 498);
  EXPECT_EQ(w->Random.Seed, 42u);  // no draws on land without an observation point

  // Held at the left edge; any non-water colour counts as land.
  w->SharkAlarm = false;
  Paint(*w, 0, 0, 5, 5, NoPixel);
  AddPerson(*w, 0, 3);
  PersonRule(*w, w->People[1]);
  EXPECT_EQ(w->People[1].X, 0);
  Paint(*w, 0, 0, 5, 5, WaterColour + 1);
  AddPerson(*w, 1, 3);
  PersonRule(*w, w->People[2]);
  EXPECT_EQ(w->People[2].X, 0);
}

TEST(Person, SwimsWithFiveDrawsInOrderAndDriftsTowardColumn200) {
  for (int32_t colour : {WaterColour, CyanWaterColour}) {
    auto w = MakeWorld(colour);
    for (int32_t x : {50, 150, 200, 450, 550, 799, 0}) {
      // Bound of the drift: Round(|x - 200| / 100) + 1, halves to even.
      const int32_t pull = x == 50 ? 3 : x == 150 ? 1 : x == 200 ? 1 : x == 450 ? 3 : x == 550 ? 5 : x == 799 ? 7 : 3;
      for (uint32_t seed = 1; seed < 200; ++seed) {
        w->People.clear();
        AddPerson(*w, x, 600);
        w->Random.Seed = seed;
        TReplayedDraws draws(seed);
        const TPosition swim = draws.Swim(x, 600, 2, pull);
        PersonRule(*w, w->People[0]);
        ASSERT_EQ(w->People[0].X, ClampX(swim.X)) << "x " << x << " seed " << seed;
        ASSERT_EQ(w->People[0].Y, swim.Y);
        ASSERT_EQ(w->Random.Seed, draws.Seed());
      }
    }
  }
}

TEST(Person, ZeroStepLengthStillDriftsAndDrawsRandomOne) {
  auto w = MakeWorld(WaterColour);
  w->PersonSpeed = 4;  // 0.4 dm per step rounds to 0
  Paint(*w, 600, 0, 799, 1199, LandColour);
  AddPerson(*w, 700, 10);  // on land: never moves
  AddPerson(*w, 50, 10);   // swimming: drifts right by Random(3)
  bool drifted = false;
  for (uint32_t seed = 1; seed < 50; ++seed) {
    w->People[1].X = 50;
    w->Random.Seed = seed;
    TReplayedDraws draws(seed);
    const int64_t drift = draws.Swim(50, 10, 0, 3).X - 50;  // a wander of 0 moves nothing
    PersonRule(*w, w->People[0]);
    PersonRule(*w, w->People[1]);
    EXPECT_EQ(w->People[0].X, 700);
    EXPECT_EQ(w->People[1].X, 50 + drift);
    EXPECT_EQ(w->People[1].Y, 10);
    EXPECT_EQ(w->Random.Seed, draws.Seed());
    drifted |= drift > 0;
  }
  EXPECT_TRUE(drifted);
}

TEST(Person, UnderTheAlarmASwimmerHeadsAshoreAndIsHeldAtTheEdge) {
  auto w = MakeWorld(WaterColour);
  w->SharkAlarm = true;
  AddPerson(*w, 300, 40);
  AddPerson(*w, 799, 40);
  AddPerson(*w, 798, 40);
  for (auto& p : w->People) PersonRule(*w, p);
  EXPECT_EQ(w->People[0].X, 302);
  EXPECT_EQ(w->People[1].X, 799);
  EXPECT_EQ(w->People[2].X, 799);
  EXPECT_EQ(w->Random.Seed, 0u);
}

TEST(Person, FleesFromTheFirstLiveSharkWithinRangeWhateverTheGround) {
  for (int32_t colour : {LandColour, WaterColour})
    for (bool alarm : {false, true}) {
      auto w = MakeWorld(colour);
      w->SharkAlarm = alarm;
      w->Random.Seed = 7;
      AddShark(*w, 100, 101, /*dead=*/true);  // passed over
      AddShark(*w, 103, 104);                 // dist 5: first live within range
      AddShark(*w, 101, 100);                 // nearer, but later
      AddPerson(*w, 100, 100);
      PersonRule(*w, w->People[0]);
      EXPECT_EQ(w->People[0].X, 99);  // Round(-3*2/5) = Round(-1.2) = -1
      EXPECT_EQ(w->People[0].Y, 98);  // Round(-4*2/5) = Round(-1.6) = -2
      // The swimmer's five draws are still made though the flee replaces them.
      TReplayedDraws draws(7);
      if (colour == WaterColour && !alarm) draws.Swim(100, 100, 2, 2);
      EXPECT_EQ(w->Random.Seed, draws.Seed());
    }
}

TEST(Person, FleeRangeIsInclusive) {
  auto w = MakeWorld(LandColour);
  AddPerson(*w, 400, 400);
  AddShark(*w, 430, 440);  // exactly 50 away
  PersonRule(*w, w->People[0]);
  EXPECT_EQ(w->People[0].X, 399);  // Round(-30*2/50) = Round(-1.2)
  EXPECT_EQ(w->People[0].Y, 398);  // Round(-40*2/50) = Round(-1.6)

  w->People[0] = {};
  w->People[0].X = 400;
  w->People[0].Y = 400;
  w->Sharks[0].X = 450;  // sqrt(2501): out of reach, the person walks on
  w->Sharks[0].Y = 401;
  PersonRule(*w, w->People[0]);
  EXPECT_EQ(w->People[0].X, 398);
  EXPECT_EQ(w->People[0].Y, 400);
}

TEST(Person, SharkOnThePersonsCellHoldsItInPlace) {
  auto w = MakeWorld(LandColour);
  AddPerson(*w, 400, 400);
  AddShark(*w, 400, 400);
  PersonRule(*w, w->People[0]);
  EXPECT_EQ(w->People[0].X, 400);
  EXPECT_EQ(w->People[0].Y, 400);
}

TEST(Person, SidestepsAtObservationPointsOnlyAlongY) {
  auto w = MakeWorld(LandColour);
  AddPerson(*w, 400, 400);
  AddObserver(*w, 406, 408, 0);  // exactly 10 away: no effect
  PersonRule(*w, w->People[0]);
  EXPECT_EQ(w->People[0].X, 398);
  EXPECT_EQ(w->Random.Seed, 0u);

  // Two points within reach, and a shark: each point draws anew from the
  // person's own position, the last decides, and X stays.
  w->Observers.clear();
  AddObserver(*w, 407, 407, 0);  // sqrt(98)
  AddObserver(*w, 393, 400, 0);
  AddShark(*w, 403, 404);
  for (uint32_t seed = 1; seed < 100; ++seed) {
    w->People[0].X = 400;
    w->People[0].Y = 400;
    w->Random.Seed = seed;
    TReplayedDraws draws(seed);
    draws.Wander(400, 2);  // the first point's sidestep, overruled
    const int64_t ny = draws.Wander(400, 2);
    PersonRule(*w, w->People[0]);
    ASSERT_EQ(w->People[0].X, 400);
    ASSERT_EQ(w->People[0].Y, ny);
    ASSERT_EQ(w->Random.Seed, draws.Seed());
  }
}

TEST(Person, DeadPeopleDoNothingAndDrawNothing) {
  auto w = MakeWorld(WaterColour);
  w->Random.Seed = 3;
  AddObserver(*w, 100, 100, 5);
  AddPerson(*w, 100, 100, /*dead=*/true);
  PersonRule(*w, w->People[0]);
  EXPECT_EQ(w->People[0].X, 100);
  EXPECT_EQ(w->People[0].Y, 100);
  EXPECT_EQ(w->Random.Seed, 3u);
}

TEST(Person, StaysOnTheGridAtEveryEdge) {
  auto w = MakeWorld(WaterColour);
  w->PersonSpeed = 200;  // d = 20
  for (uint32_t seed = 1; seed < 300; ++seed) {
    w->People.clear();
    AddPerson(*w, seed % 2 ? 0 : 799, seed % 3 ? 0 : 1199);
    w->Random.Seed = seed;
    PersonRule(*w, w->People[0]);
    ASSERT_GE(w->People[0].X, 0);
    ASSERT_LE(w->People[0].X, 799);
    ASSERT_GE(w->People[0].Y, 0);
    ASSERT_LE(w->People[0].Y, 1199);
  }
}
