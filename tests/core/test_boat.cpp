#include <gtest/gtest.h>

#include "rules.h"
#include "world_fixture.h"

using namespace wendo_test;

TEST(Boat, StepsTowardItsDestinationAndOvershootsNearIt) {
  auto w = MakeWorld(WaterColour);
  AddBoat(*w, 100, 100, 130, 140, 50, 0);  // d = 5
  BoatMovementRule(*w, w->Boats[0]);
  EXPECT_EQ(w->Boats[0].X, 103);
  EXPECT_EQ(w->Boats[0].Y, 104);
  EXPECT_TRUE(w->Boats[0].Outbound);

  AddBoat(*w, 100, 500, 95, 500, 100, 0);  // d = 10: lands 5 beyond, within tolerance
  BoatMovementRule(*w, w->Boats[1]);
  EXPECT_EQ(w->Boats[1].X, 90);
  EXPECT_EQ(w->Boats[1].Y, 500);
  EXPECT_FALSE(w->Boats[1].Outbound);
}

TEST(Boat, ALongStepAroundTheGoalNeverArrives) {
  auto w = MakeWorld(WaterColour);
  AddBoat(*w, 100, 200, 115, 200, 300, 0);  // d = 30
  for (int i = 0; i < 6; ++i) {
    BoatMovementRule(*w, w->Boats[0]);
    EXPECT_EQ(w->Boats[0].X, i % 2 == 0 ? 130 : 100);
    EXPECT_EQ(w->Boats[0].Y, 200);
    EXPECT_TRUE(w->Boats[0].Outbound);
  }
}

TEST(Boat, ArrivalToleranceIsStrictInBothAxes) {
  auto w = MakeWorld(WaterColour);
  AddBoat(*w, 509, 391, 500, 400, 0, 0);  // 9 right, 9 above; d = 0
  w->Boats[0].HomeX = 0;
  w->Boats[0].HomeY = 0;
  BoatMovementRule(*w, w->Boats[0]);
  EXPECT_FALSE(w->Boats[0].Outbound);
  AddBoat(*w, 510, 400, 500, 400, 0, 0);
  w->Boats[1].HomeX = 0;
  w->Boats[1].HomeY = 0;
  BoatMovementRule(*w, w->Boats[1]);
  EXPECT_TRUE(w->Boats[1].Outbound);

  // Home and patrol point within tolerance of each other: it ends inbound
  // and stays so while it sits at home.
  AddBoat(*w, 300, 300, 305, 303, 20, 0);
  for (int i = 0; i < 5; ++i) BoatMovementRule(*w, w->Boats[2]);
  EXPECT_FALSE(w->Boats[2].Outbound);
  EXPECT_LT(std::abs(w->Boats[2].X - 300), 10);
}

TEST(Boat, ZeroStepBoatStillSeesAndKills) {
  auto w = MakeWorld(WaterColour);
  w->SharkCount = 1;
  AddBoat(*w, 200, 200, 400, 400, 4, 100);  // 0.4 rounds to 0
  AddShark(*w, 210, 211);                     // about 14.87 away
  BoatSightingRule(*w, w->Boats[0]);
  BoatMovementRule(*w, w->Boats[0]);
  EXPECT_EQ(w->Boats[0].X, 200);
  EXPECT_EQ(w->Boats[0].Y, 200);
  EXPECT_TRUE(w->SharkAlarm);
  EXPECT_TRUE(w->Sharks[0].Dead);
  EXPECT_EQ(w->SharkCount, 0);
  EXPECT_EQ(w->DeadSharks, 1);
}

TEST(Boat, KillDistanceIsStrictAndEachSharkDiesOnce) {
  auto w = MakeWorld(WaterColour);
  w->ElapsedMs = 61000;
  w->SharkCount = 3;
  AddBoat(*w, 300, 420, 300, 420, 0, 0);
  AddBoat(*w, 295, 425, 295, 425, 0, 0);
  AddShark(*w, 309, 432);  // exactly 15: survives
  AddShark(*w, 305, 430);  // killed by the first boat only
  AddShark(*w, 290, 420);  // killed too
  w->StepCounter = 50;     // none recently seen: no chase
  for (auto& b : w->Boats) BoatMovementRule(*w, b);
  EXPECT_FALSE(w->Sharks[0].Dead);
  EXPECT_TRUE(w->Sharks[1].Dead);
  EXPECT_TRUE(w->Sharks[2].Dead);
  EXPECT_EQ(w->SharkCount, 1);
  EXPECT_EQ(w->DeadSharks, 2);
  ASSERT_EQ(w->EventLog.size(), 2u);
  EXPECT_EQ(w->EventLog[0], "61: łódź na (300,420) zabiła rekina na pozycji (305,430).");
  EXPECT_EQ(w->EventLog[1], "61: łódź na (300,420) zabiła rekina na pozycji (290,420).");
}

TEST(Boat, ChasesTheNearestRecentlySeenLiveShark) {
  auto w = MakeWorld(WaterColour);
  w->StepCounter = 10;
  AddBoat(*w, 400, 400, 400, 100, 100, 0);  // d = 10, heading up
  AddShark(*w, 400, 700, false, 8);         // seen two steps ago: ignored
  AddShark(*w, 400, 380, true, 10);         // dead: ignored
  AddShark(*w, 500, 400, false, 9);         // 100 away, seen last step
  AddShark(*w, 400, 500, false, 10);        // 100 away too, but later
  AddShark(*w, 1000, 1000, false, 10);      // far
  BoatMovementRule(*w, w->Boats[0]);
  EXPECT_EQ(w->Boats[0].X, 410);
  EXPECT_EQ(w->Boats[0].Y, 400);
  EXPECT_TRUE(w->Boats[0].Outbound);  // a chase does not turn the boat

  // On the shark's own cell the boat holds still and kills it.
  w->Sharks[2].X = 410;
  BoatMovementRule(*w, w->Boats[0]);
  EXPECT_EQ(w->Boats[0].X, 410);
  EXPECT_TRUE(w->Sharks[2].Dead);
}

TEST(Boat, ASharkNeverSeenCountsAsRecentlySeenInStepOne) {
  auto w = MakeWorld(WaterColour);
  w->StepCounter = 1;
  AddBoat(*w, 100, 100, 100, 1000, 100, 0);
  AddShark(*w, 300, 100);
  BoatMovementRule(*w, w->Boats[0]);
  EXPECT_EQ(w->Boats[0].X, 110);
  w->StepCounter = 2;
  BoatMovementRule(*w, w->Boats[0]);
  EXPECT_EQ(w->Boats[0].X, 110);
  EXPECT_EQ(w->Boats[0].Y, 110);
}

TEST(Boat, OnlyTheLandingCellIsTested) {
  auto w = MakeWorld(WaterColour);
  Paint(*w, 205, 0, 206, 1199, LandColour);  // a strip 2 wide
  AddBoat(*w, 200, 600, 300, 600, 100, 0);   // d = 10: jumps the strip
  BoatMovementRule(*w, w->Boats[0]);
  EXPECT_EQ(w->Boats[0].X, 210);

  Paint(*w, 215, 0, 225, 1199, LandColour);  // the next landing cell is land
  for (int i = 0; i < 3; ++i) BoatMovementRule(*w, w->Boats[0]);
  EXPECT_EQ(w->Boats[0].X, 210);

  // A refused step toward a shark does not fall back to the destination.
  w->StepCounter = 1;
  AddShark(*w, 230, 600);
  w->Boats[0].PatrolX = 210;
  w->Boats[0].PatrolY = 0;
  BoatMovementRule(*w, w->Boats[0]);
  EXPECT_EQ(w->Boats[0].X, 210);
  EXPECT_EQ(w->Boats[0].Y, 600);
}

TEST(Boat, ABoatOffTheMapIsBroughtOntoIt) {
  auto w = MakeWorld(WaterColour);
  AddBoat(*w, -5000, 99999, 100, 100, 100, 0);
  AddBoat(*w, 2147483647, -2147483647 - 1, 100, 100, 2147483647, 0);
  for (auto& b : w->Boats) BoatMovementRule(*w, b);
  EXPECT_EQ(w->Boats[0].X, 0);
  EXPECT_EQ(w->Boats[0].Y, 1199);
  EXPECT_GE(w->Boats[1].X, 0);
  EXPECT_LE(w->Boats[1].X, 799);
  EXPECT_GE(w->Boats[1].Y, 0);
  EXPECT_LE(w->Boats[1].Y, 1199);
}
