// What Save writes and what Load makes of it, for hand-picked scenarios.
#include <gtest/gtest.h>

#include "scenario_file.h"
#include "scenario_test_support.h"
#include "world_fixture.h"

namespace wendo_test {
namespace {

const char* const DefaultFile = "100\r\n1000\r\n10\r\n40\r\n20\r\n50\r\n15\r\n5\r\n30\r\n300\r\n0\r\n0\r\n";

TEST(ScenarioFormat, NewResetsTheWorldAndSaveWritesTheDefaults) {
  auto world = MakeBusyWorld();
  world->StepCounter = 17;
  world->DeadPeople = 3;
  NewScenario(*world);

  EXPECT_EQ(world->SimStepMs, 100);
  EXPECT_EQ(world->RefreshMs, 1000);
  EXPECT_EQ(world->SharkRange, 300);
  EXPECT_TRUE(world->Observers.empty());
  EXPECT_TRUE(world->Boats.empty());
  EXPECT_TRUE(world->People.empty());
  EXPECT_TRUE(world->Sharks.empty());
  EXPECT_FALSE(world->SharkAlarm);
  EXPECT_EQ(world->ViewLeft, 0);
  EXPECT_EQ(world->ViewTop, 0);
  // New leaves the counters to the next fresh start.
  EXPECT_EQ(world->StepCounter, 17);
  EXPECT_EQ(world->DeadPeople, 3);

  TScratchFolder folder;
  SaveScenario(*world, folder / "new.wnd");
  const std::string bytes = ReadBytes(folder / "new.wnd");
  EXPECT_EQ(bytes, DefaultFile);
  EXPECT_EQ(bytes.size(), 49u);
}

TEST(ScenarioFormat, ObjectLinesAndNegativeValues) {
  TWorld world;
  world.SharkSpeed = -5;
  world.PersonMax = -2147483647 - 1;
  AddObserver(world, 250, 400, 120);
  AddObserver(world, -3, 0, -40);
  TLodz& b = AddBoat(world, 100, 200, 300, 400, 25, 150);
  b.X = 123, b.Y = 456, b.Outbound = false;  // neither is stored

  TScratchFolder folder;
  const std::string path = folder / "objects.wnd";
  SaveScenario(world, path);
  EXPECT_EQ(ReadBytes(path),
            "100\r\n1000\r\n10\r\n-2147483648\r\n20\r\n50\r\n15\r\n5\r\n-5\r\n300\r\n"
            "2\r\n250 400 120\r\n-3 0 -40\r\n"
            "1\r\n100 200 300 400 25 150\r\n");

  TWorld loaded;
  LoadScenario(loaded, path);
  EXPECT_EQ(loaded.SharkSpeed, -5);
  EXPECT_EQ(loaded.PersonMax, -2147483647 - 1);
  ASSERT_EQ(loaded.Observers.size(), 2u);
  EXPECT_EQ(loaded.Observers[1].X, -3);
  EXPECT_EQ(loaded.Observers[1].Range, -40);
  ASSERT_EQ(loaded.Boats.size(), 1u);
  const TLodz& l = loaded.Boats[0];
  EXPECT_EQ(l.X, 100);
  EXPECT_EQ(l.Y, 200);
  EXPECT_EQ(l.HomeX, 100);
  EXPECT_EQ(l.HomeY, 200);
  EXPECT_EQ(l.PatrolX, 300);
  EXPECT_EQ(l.PatrolY, 400);
  EXPECT_EQ(l.Speed, 25);
  EXPECT_EQ(l.Range, 150);
  EXPECT_TRUE(l.Outbound);
}

TEST(ScenarioFormat, LoadReplacesOnlyTheScenario) {
  TScratchFolder folder;
  const std::string path = folder / "s.wnd";
  WriteBytes(path, "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n10\r\n1\r\n5 6 7\r\n0\r\n");
  auto world = MakeBusyWorld();
  const TWorldState before = CaptureState(*world);
  LoadScenario(*world, path);

  const int32_t expected[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  const TScenario now = TakeScenario(*world);
  EXPECT_TRUE(std::equal(std::begin(expected), std::end(expected), std::begin(now.Parameters)));
  EXPECT_EQ(world->PersonArrivalS, 3);
  EXPECT_EQ(world->SharkRange, 10);
  ASSERT_EQ(world->Observers.size(), 1u);
  EXPECT_EQ(world->Observers[0].Range, 7);
  EXPECT_TRUE(world->Boats.empty());
  // People, sharks, the alarm and the view stay as they were.
  TWorldState after = CaptureState(*world);
  after.Scenario = before.Scenario;
  EXPECT_TRUE(SameState(before, after));
}

}  // namespace
}  // namespace wendo_test
