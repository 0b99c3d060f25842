#include <gtest/gtest.h>

#include "rules.h"
#include "world_fixture.h"

using namespace wendo_test;

TEST(Watch, RangeIsInclusiveAndDeadSharksAreNotSeen) {
  auto w = MakeWorld(WaterColour);
  w->StepCounter = 10;
  AddObserver(*w, 100, 100, 300);
  AddShark(*w, 280, 340);             // exactly 300: seen
  AddShark(*w, 101, 400);             // about 300.0017: not seen
  AddShark(*w, 100, 100, true, 3);    // dead on the spot: not seen
  ObserverRule(*w, w->Observers[0]);
  EXPECT_TRUE(w->SharkAlarm);
  EXPECT_EQ(w->Sharks[0].LastSeenStep, 10);
  EXPECT_EQ(w->Sharks[1].LastSeenStep, 0);
  EXPECT_EQ(w->Sharks[2].LastSeenStep, 3);
  EXPECT_EQ(w->EventLog.size(), 1u);
}

TEST(Watch, ZeroRangeSeesItsOwnCellAndNegativeRangeNothing) {
  auto w = MakeWorld(WaterColour);
  w->StepCounter = 5;
  AddObserver(*w, 50, 50, -1);
  AddShark(*w, 50, 50);
  ObserverRule(*w, w->Observers[0]);
  EXPECT_FALSE(w->SharkAlarm);
  EXPECT_TRUE(w->EventLog.empty());
  w->Observers[0].Range = 0;
  AddShark(*w, 50, 51);
  ObserverRule(*w, w->Observers[0]);
  EXPECT_TRUE(w->SharkAlarm);
  EXPECT_EQ(w->Sharks[0].LastSeenStep, 5);
  EXPECT_EQ(w->Sharks[1].LastSeenStep, 0);
}

TEST(Watch, ASharkIsLoggedOnceWhileItStaysInView) {
  auto w = MakeWorld(WaterColour);
  AddObserver(*w, 100, 100, 50);
  AddObserver(*w, 110, 100, 50);  // sees the same shark: no second message
  AddShark(*w, 120, 100);
  std::vector<int32_t> loggedIn;
  for (int32_t step = 1; step <= 9; ++step) {
    w->StepCounter = step;
    const bool inView = step == 5 || step == 6 || step == 8;
    w->Sharks[0].X = inView ? 120 : 500;
    const size_t before = w->EventLog.size();
    for (auto& o : w->Observers) ObserverRule(*w, o);
    if (w->EventLog.size() > before) loggedIn.push_back(step);
    EXPECT_LE(w->EventLog.size() - before, 1u);
    if (inView) {
      EXPECT_EQ(w->Sharks[0].LastSeenStep, step);
    }
  }
  EXPECT_EQ(loggedIn, (std::vector<int32_t>{5, 8}));
  EXPECT_EQ(w->ObserverSightings, 2);
}

TEST(Watch, ANeverSeenSharkCountsAsSeenInStepZero) {
  auto w = MakeWorld(WaterColour);
  AddObserver(*w, 0, 0, 10);
  AddShark(*w, 3, 4);
  w->StepCounter = 1;
  ObserverRule(*w, w->Observers[0]);
  EXPECT_TRUE(w->EventLog.empty());
  w->Sharks[0].LastSeenStep = 0;
  w->StepCounter = 2;
  ObserverRule(*w, w->Observers[0]);
  EXPECT_EQ(w->EventLog.size(), 1u);
}

TEST(Watch, MessagesReadInFull) {
  auto w = MakeWorld(WaterColour);
  w->ElapsedMs = 12500;
  w->StepCounter = 40;
  AddObserver(*w, 120, 340, 100);
  AddShark(*w, 150, 400);
  ObserverRule(*w, w->Observers[0]);
  ASSERT_EQ(w->EventLog.size(), 1u);
  EXPECT_EQ(w->EventLog[0], "12.5: obserwator na (120,340) dostrzegł rekina na (150,400).");

  w->DecimalSeparator = ",";
  w->StepCounter = 50;
  AddBoat(*w, 160, 390, 0, 0, 10, 20);
  AddBoat(*w, 150, 401, 0, 0, 10, 20);  // the second boat adds no message
  for (auto& b : w->Boats) BoatSightingRule(*w, b);
  ASSERT_EQ(w->EventLog.size(), 2u);
  EXPECT_EQ(w->EventLog[1], "12,5: łódź na (160,390) dostrzegła rekina na (150,400).");
}

TEST(Watch, BoatsSeeLikeObserversAndRaiseTheAlarm) {
  auto w = MakeWorld(WaterColour);
  w->StepCounter = 7;
  AddBoat(*w, 300, 300, 0, 0, 0, 30);
  AddShark(*w, 330, 300);
  AddShark(*w, 331, 300);
  AddShark(*w, 300, 270, false, 6);  // seen by someone last step: no message
  BoatSightingRule(*w, w->Boats[0]);
  EXPECT_TRUE(w->SharkAlarm);
  EXPECT_EQ(w->Sharks[0].LastSeenStep, 7);
  EXPECT_EQ(w->Sharks[1].LastSeenStep, 0);
  EXPECT_EQ(w->Sharks[2].LastSeenStep, 7);
  EXPECT_EQ(w->EventLog.size(), 1u);
  EXPECT_EQ(w->BoatSightings, 1);
  EXPECT_EQ(w->ObserverSightings, 0);
}
