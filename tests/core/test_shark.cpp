#include <gtest/gtest.h>

#include "replayed_draws.h"
#include "rules.h"
#include "world_fixture.h"

using namespace wendo_test;

TEST(Shark, WandersWithFourDrawsAndStaysInTheWater) {
  auto w = MakeWorld(WaterColour);
  Paint(*w, 0, 0, 799, 99, LandColour);  // land above row 100
  AddShark(*w, 400, 101);
  for (uint32_t seed = 1; seed < 300; ++seed) {
    w->Sharks[0].X = 400;
    w->Sharks[0].Y = 101;
    w->Random.Seed = seed;
    TReplayedDraws draws(seed);
    auto [nx, ny] = draws.Wander(400, 101, 3);
    SharkRule(*w, w->Sharks[0]);
    if (ny < 100) nx = 400, ny = 101;  // refused: not water
    ASSERT_EQ(w->Sharks[0].X, nx);
    ASSERT_EQ(w->Sharks[0].Y, ny);
    ASSERT_EQ(w->Random.Seed, draws.Seed());
  }
}

TEST(Shark, HuntsTheNearestPersonAndEatsItOnArrival) {
  auto w = MakeWorld(WaterColour);
  w->ElapsedMs = 1500;
  w->PersonCount = 1;
  AddShark(*w, 100, 100);
  AddPerson(*w, 104, 103);  // 5 away: a step of 3 toward it is (102, 102)
  SharkRule(*w, w->Sharks[0]);
  EXPECT_EQ(w->Sharks[0].X, 102);
  EXPECT_EQ(w->Sharks[0].Y, 102);
  EXPECT_TRUE(w->People[0].Dead);  // sqrt(5) away now
  EXPECT_EQ(w->PersonCount, 0);
  EXPECT_EQ(w->DeadPeople, 1);
  ASSERT_EQ(w->EventLog.size(), 1u);
  EXPECT_EQ(w->EventLog[0], "1.5: rekina na (102,102) zjadł człowieka z pozycji (104,103).");
}

TEST(Shark, HuntRangeIsStrictAndTiesGoToTheEarlierPerson) {
  auto w = MakeWorld(WaterColour);
  AddShark(*w, 300, 300);
  AddPerson(*w, 480, 540);  // exactly 300 away: not hunted
  w->Random.Seed = 11;
  SharkRule(*w, w->Sharks[0]);
  auto [wx, wy] = TReplayedDraws(11).Wander(300, 300, 3);
  EXPECT_EQ(w->Sharks[0].X, wx);
  EXPECT_EQ(w->Sharks[0].Y, wy);

  // 299 away along X: hunted.
  w->Sharks[0].X = 300;
  w->Sharks[0].Y = 300;
  w->People[0].X = 599;
  w->People[0].Y = 300;
  SharkRule(*w, w->Sharks[0]);
  EXPECT_EQ(w->Sharks[0].X, 303);
  EXPECT_EQ(w->Sharks[0].Y, 300);

  // Two at the same distance, a dead one nearer: the earlier live one wins.
  w->Sharks[0].X = 300;
  w->Sharks[0].Y = 300;
  w->People.clear();
  AddPerson(*w, 303, 301, /*dead=*/true);
  AddPerson(*w, 300, 250);
  AddPerson(*w, 350, 303);
  AddPerson(*w, 300, 350);
  SharkRule(*w, w->Sharks[0]);
  EXPECT_EQ(w->Sharks[0].X, 300);
  EXPECT_EQ(w->Sharks[0].Y, 297);
}

TEST(Shark, APersonOnTheSharksCellHoldsItAndIsEaten) {
  auto w = MakeWorld(WaterColour);
  AddShark(*w, 200, 200);
  AddPerson(*w, 210, 200);
  AddPerson(*w, 200, 200);
  w->PersonCount = 2;
  SharkRule(*w, w->Sharks[0]);
  EXPECT_EQ(w->Sharks[0].X, 200);
  EXPECT_EQ(w->Sharks[0].Y, 200);
  EXPECT_TRUE(w->People[0].Dead);  // 10 away: eaten too
  EXPECT_TRUE(w->People[1].Dead);
  EXPECT_EQ(w->PersonCount, 0);
  EXPECT_EQ(w->DeadPeople, 2);
}

TEST(Shark, ARefusedApproachDoesNotFallBackToTheWander) {
  auto w = MakeWorld(WaterColour);
  Paint(*w, 400, 0, 799, 1199, LandColour);
  AddShark(*w, 398, 500);
  AddPerson(*w, 450, 500);  // on land: the step toward it ends on land
  for (uint32_t seed = 1; seed < 50; ++seed) {
    w->Random.Seed = seed;
    SharkRule(*w, w->Sharks[0]);
    ASSERT_EQ(w->Sharks[0].X, 398);
    ASSERT_EQ(w->Sharks[0].Y, 500);
  }
}

TEST(Shark, EatsEveryLivePersonStrictlyWithin15InListOrder) {
  auto w = MakeWorld(WaterColour);
  Paint(*w, 520, 0, 799, 1199, LandColour);
  w->SharkRange = -1;  // no hunt: the wander alone, from a known seed
  w->Random.Seed = 5;
  auto [nx, ny] = TReplayedDraws(5).Wander(500, 500, 3);
  AddShark(*w, 500, 500);
  const int32_t sx = static_cast<int32_t>(nx), sy = static_cast<int32_t>(ny);
  AddPerson(*w, sx + 9, sy + 12);   // exactly 15: survives
  AddPerson(*w, sx + 14, sy + 5);   // sqrt(221): eaten
  AddPerson(*w, sx - 3, sy, true);  // already dead: no second message
  AddPerson(*w, sx, sy - 14);       // eaten
  AddPerson(*w, sx + 21, sy);       // 21 away: survives
  AddPerson(*w, sx + 1, sy + 1);    // eaten
  w->PersonCount = 5;
  SharkRule(*w, w->Sharks[0]);
  ASSERT_EQ(w->Sharks[0].X, sx);
  EXPECT_FALSE(w->People[0].Dead);
  EXPECT_TRUE(w->People[1].Dead);
  EXPECT_TRUE(w->People[3].Dead);
  EXPECT_FALSE(w->People[4].Dead);
  EXPECT_TRUE(w->People[5].Dead);
  EXPECT_EQ(w->PersonCount, 2);
  EXPECT_EQ(w->DeadPeople, 3);
  ASSERT_EQ(w->EventLog.size(), 3u);
  const std::string at = "(" + IntToStr(sx) + "," + IntToStr(sy) + ")";
  EXPECT_EQ(w->EventLog[0], "0: rekina na " + at + " zjadł człowieka z pozycji (" + IntToStr(sx + 14) + "," +
                                IntToStr(sy + 5) + ").");
  EXPECT_NE(w->EventLog[1].find(IntToStr(sy - 14) + ")."), std::string::npos);
  EXPECT_NE(w->EventLog[2].find("(" + IntToStr(sx + 1) + "," + IntToStr(sy + 1) + ")."), std::string::npos);

  // A person on land within 15 dm of the water's edge is eaten as well.
  w->People.clear();
  w->Sharks[0].X = 518;
  w->Sharks[0].Y = 500;
  w->SharkRange = 300;
  AddPerson(*w, 525, 500);
  SharkRule(*w, w->Sharks[0]);
  EXPECT_TRUE(w->People[0].Dead);
}

TEST(Shark, DeadSharksDrawNothingAndDoNothing) {
  auto w = MakeWorld(WaterColour);
  w->Random.Seed = 9;
  AddShark(*w, 100, 100, /*dead=*/true);
  AddPerson(*w, 100, 100);
  SharkRule(*w, w->Sharks[0]);
  EXPECT_EQ(w->Random.Seed, 9u);
  EXPECT_FALSE(w->People[0].Dead);
}

TEST(Shark, TargetsOffTheGridAreBroughtOntoIt) {
  auto w = MakeWorld(WaterColour);
  w->SharkSpeed = 300;  // d = 30
  for (uint32_t seed = 1; seed < 200; ++seed) {
    w->Sharks.clear();
    AddShark(*w, seed % 2 ? 0 : 799, seed % 3 ? 1 : 1198);
    w->Random.Seed = seed;
    auto [nx, ny] = TReplayedDraws(seed).Wander(w->Sharks[0].X, w->Sharks[0].Y, 30);
    SharkRule(*w, w->Sharks[0]);
    ASSERT_EQ(w->Sharks[0].X, ClampX(nx));
    ASSERT_EQ(w->Sharks[0].Y, ClampY(ny));
  }
}
