#include <gtest/gtest.h>

#include "arrivals.h"
#include "replayed_draws.h"
#include "rules.h"
#include "simulation.h"
#include "world_fixture.h"

#include <tuple>

using namespace wendo_test;

namespace {

// Land on the right, water on the left, as on a real beach.
std::unique_ptr<TWorld> Beach() {
  auto w = MakeWorld(WaterColour);
  Paint(*w, 400, 0, 799, 1199, LandColour);
  return w;
}

}  // namespace

TEST(Simulation, ALateStepCountsTheRealTimeButMovesByTheSetStep) {
  auto w = Beach();
  w->PersonMax = 0;
  w->SharkMax = 0;
  AddPerson(*w, 600, 10);
  TSimulationTicks t;
  StartRun(*w, t, 1000, true);
  EXPECT_EQ(RunIteration(*w, t, 1100), NothingDue);  // not strictly more than 100
  EXPECT_EQ(RunIteration(*w, t, 1250), StepTaken);
  EXPECT_EQ(w->StepCounter, 1);
  EXPECT_EQ(w->ElapsedMs, 250);
  EXPECT_EQ(t.LastStepTick, 1250u);
  EXPECT_EQ(w->People[0].X, 598);
}

TEST(Simulation, ArrivalsAreStrictlyAfterTheirPeriod) {
  auto w = Beach();
  w->SimStepMs = 1000000;
  TSimulationTicks t;
  StartRun(*w, t, 0, true);
  EXPECT_EQ(RunIteration(*w, t, 10000), NothingDue);
  EXPECT_EQ(RunIteration(*w, t, 10001), PersonArrival);
  EXPECT_EQ(t.LastPersonTick, 10001u);
  EXPECT_EQ(RunIteration(*w, t, 15001), SharkArrival);
  ASSERT_EQ(w->People.size(), 1u);
  ASSERT_EQ(w->Sharks.size(), 1u);
  EXPECT_EQ(w->PersonCount, 1);
  EXPECT_EQ(w->SharkCount, 1);
  EXPECT_EQ(w->Terrain(w->People[0].X, w->People[0].Y), LandColour);
  EXPECT_EQ(w->Terrain(w->Sharks[0].X, w->Sharks[0].Y), WaterColour);
  EXPECT_FALSE(w->People[0].Dead);
  EXPECT_EQ(w->Sharks[0].LastSeenStep, 0);
  ASSERT_EQ(w->EventLog.size(), 2u);
  EXPECT_EQ(w->EventLog[0], "0: pojawił sie człowiek na (" + IntToStr(w->People[0].X) + "," +
                                IntToStr(w->People[0].Y) + ").");
  EXPECT_EQ(w->EventLog[1], "0: pojawił sie rekin na (" + IntToStr(w->Sharks[0].X) + "," +
                                IntToStr(w->Sharks[0].Y) + ").");
}

TEST(Simulation, ArrivalsDrawXThenYUntilACellIsAccepted) {
  auto w = Beach();
  w->SimStepMs = 1000000;
  w->PersonArrivalS = 0;
  w->SharkArrivalS = 0;
  w->Random.Seed = 123;
  TSimulationTicks t;
  StartRun(*w, t, 0, true);
  RunIteration(*w, t, 1);
  TReplayedDraws draws(123);
  const TPosition person = draws.Arrival(800, 1200, [](int32_t x, int32_t) { return x >= 400; });  // land
  EXPECT_EQ(w->People[0].X, person.X);
  EXPECT_EQ(w->People[0].Y, person.Y);
  const TPosition shark = draws.Arrival(800, 1200, [](int32_t x, int32_t) { return x < 400; });  // water
  EXPECT_EQ(w->Sharks[0].X, shark.X);
  EXPECT_EQ(w->Sharks[0].Y, shark.Y);
}

TEST(Simulation, NobodyArrivesWithAZeroMaximum) {
  auto w = Beach();
  w->PersonMax = 0;
  w->SharkMax = 0;
  w->PersonArrivalS = 0;
  w->SharkArrivalS = 0;
  TSimulationTicks t;
  StartRun(*w, t, 0, true);
  for (uint32_t now = 1; now < 5000; now += 7) RunIteration(*w, t, now);
  EXPECT_TRUE(w->People.empty());
  EXPECT_TRUE(w->Sharks.empty());
  EXPECT_GT(w->StepCounter, 0);
}

TEST(Simulation, NewPeopleKeepTheirDistanceAndSharksDoNot) {
  auto w = MakeWorld(WaterColour);
  Paint(*w, 700, 1100, 799, 1199, LandColour);  // 100 x 100 of land
  AddObserver(*w, 750, 1150, 0);
  AddPerson(*w, 720, 1120, /*dead=*/true);
  EXPECT_FALSE(FreeLandCell(*w, 729, 1129));
  EXPECT_TRUE(FreeLandCell(*w, 730, 1129));
  EXPECT_FALSE(FreeLandCell(*w, 741, 1141));
  EXPECT_TRUE(FreeLandCell(*w, 740, 1141));
  EXPECT_FALSE(FreeLandCell(*w, 699, 1150));  // free, but water

  w->SimStepMs = 1000000;
  w->PersonArrivalS = 0;
  w->PersonMax = 25;
  w->SharkArrivalS = 0;
  w->SharkMax = 500;
  TSimulationTicks t;
  StartRun(*w, t, 0, true);
  for (uint32_t now = 1; now <= 60; ++now) RunIteration(*w, t, now);
  const auto& all = w->People;
  for (size_t i = 0; i < all.size(); ++i) {
    EXPECT_TRUE(std::abs(all[i].X - 750) >= 10 || std::abs(all[i].Y - 1150) >= 10);
    for (size_t j = i + 1; j < all.size(); ++j)
      EXPECT_TRUE(std::abs(all[i].X - all[j].X) >= 10 || std::abs(all[i].Y - all[j].Y) >= 10);
  }
  EXPECT_EQ(all.size(), 26u);  // the dead one and 25 arrivals
}

TEST(Simulation, ASearchWithoutAnyCellGivesUp) {
  auto w = MakeWorld(CyanWaterColour);  // neither land nor shark water
  w->SimStepMs = 1000000;
  w->PersonArrivalS = 0;
  TSimulationTicks t;
  StartRun(*w, t, 0, true);
  EXPECT_EQ(RunIteration(*w, t, 1), PersonArrival);  // tried, in vain
  EXPECT_TRUE(w->People.empty());
  EXPECT_EQ(w->PersonCount, 0);
  EXPECT_TRUE(w->EventLog.empty());
  EXPECT_EQ(t.LastPersonTick, 1u);
}

TEST(Simulation, ArrivalsSeeObservationPointsChangedWhilePaused) {
  // A patch of land that one observation point in its middle blocks wholly.
  auto run = [](bool indexed) {
    auto w = MakeWorld(WaterColour);
    Paint(*w, 500, 500, 518, 518, LandColour);
    AddObserver(*w, 509, 509, 10);
    w->UseSpatialIndex = indexed;
    w->PersonArrivalS = 0;
    w->SimStepMs = 1000000;
    w->SharkMax = 0;
    TSimulationTicks t;
    StartRun(*w, t, 0, true);
    RunIteration(*w, t, 1);  // nowhere to stand
    EXPECT_TRUE(w->People.empty());
    w->Observers[0].X = 300;  // moved out to sea, as the objects dialog may
    RunIteration(*w, t, 2);
    EXPECT_EQ(w->People.size(), 1u);
    std::vector<TObserwator> loaded(1);  // a load swaps the whole list
    loaded[0].X = 509;
    loaded[0].Y = 509;
    w->Observers.swap(loaded);
    RunIteration(*w, t, 3);
    return std::tuple{w->People.size(), w->People[0].X, w->People[0].Y, w->Random.Seed};
  };
  const auto literal = run(false);
  EXPECT_EQ(std::get<0>(literal), 1u);  // the point blocks the patch again
  EXPECT_EQ(run(true), literal);
}

TEST(Simulation, AFullBeachWaitsForADeathAndThenFillsAtOnce) {
  auto w = Beach();
  w->PersonMax = 1;
  w->SimStepMs = 1000000;
  w->SharkMax = 0;
  TSimulationTicks t;
  StartRun(*w, t, 0, true);
  RunIteration(*w, t, 10001);
  ASSERT_EQ(w->PersonCount, 1);
  RunIteration(*w, t, 30000);
  EXPECT_EQ(t.LastPersonTick, 10001u);  // untouched while full
  w->People[0].Dead = true;
  w->PersonCount = 0;
  EXPECT_EQ(RunIteration(*w, t, 30001), PersonArrival);
  EXPECT_EQ(w->People.size(), 2u);
}

TEST(Simulation, AfterAResumeEveryPeriodStartsAgain) {
  auto w = Beach();
  TSimulationTicks t;
  StartRun(*w, t, 0, true);
  RunIteration(*w, t, 9000);
  EXPECT_EQ(w->StepCounter, 1);
  StartRun(*w, t, 50000, false);  // resumed after a long pause
  EXPECT_EQ(w->StepCounter, 1);
  EXPECT_EQ(RunIteration(*w, t, 50100), NothingDue);
  EXPECT_EQ(RunIteration(*w, t, 50101), StepTaken);
  EXPECT_EQ(w->ElapsedMs, 9000 + 101);
  EXPECT_EQ(RunIteration(*w, t, 60000), StepTaken);
  EXPECT_TRUE(w->People.empty());
  EXPECT_EQ(RunIteration(*w, t, 60001), PersonArrival);
}

TEST(Simulation, TicksWrapAroundThe32BitCounter) {
  auto w = Beach();
  w->PersonMax = 0;
  w->SharkMax = 0;
  TSimulationTicks t;
  StartRun(*w, t, 0xFFFFFFF0u, true);
  EXPECT_EQ(RunIteration(*w, t, 0x00000050u), NothingDue);  // 96 ms later
  EXPECT_EQ(RunIteration(*w, t, 0x00000055u), StepTaken);   // 101 ms
  EXPECT_EQ(w->ElapsedMs, 101);
  EXPECT_EQ(MsUntilDue(*w, t, 0x00000055u), 101);
}

TEST(Simulation, ZeroOrNegativeStepPeriodStepsInEveryIteration) {
  for (int32_t period : {0, -100}) {
    auto w = Beach();
    w->SimStepMs = period;
    w->PersonMax = 0;
    w->SharkMax = 0;
    TSimulationTicks t;
    StartRun(*w, t, 0, true);
    EXPECT_EQ(RunIteration(*w, t, 1), StepTaken);
    EXPECT_EQ(RunIteration(*w, t, 1), period < 0 ? StepTaken : NothingDue);
    EXPECT_EQ(MsUntilDue(*w, t, 1), period < 0 ? 0 : 1);
  }
}

TEST(Simulation, WaitsUntilTheNearestDueCheck) {
  auto w = Beach();
  TSimulationTicks t;
  StartRun(*w, t, 1000, true);
  EXPECT_EQ(MsUntilDue(*w, t, 1000), 101);
  w->SimStepMs = 50000;
  EXPECT_EQ(MsUntilDue(*w, t, 1000), 10001);  // the next person
  w->PersonMax = 0;
  EXPECT_EQ(MsUntilDue(*w, t, 1000), 15001);  // the next shark
  w->SharkMax = 0;
  EXPECT_EQ(MsUntilDue(*w, t, 2000), 49001);
  EXPECT_EQ(MsUntilDue(*w, t, 60000), 0);
}

TEST(Simulation, TheStepRunsEveryRuleInItsOrder) {
  auto w = Beach();
  w->PersonMax = 0;
  w->SharkMax = 0;
  AddObserver(*w, 300, 600, 50);
  AddShark(*w, 100, 600);
  AddPerson(*w, 380, 100);  // swimming
  TSimulationTicks t;
  StartRun(*w, t, 0, true);

  // Step 1: nobody sees the shark; the swimmer swims freely.
  RunIteration(*w, t, 101);
  EXPECT_FALSE(w->SharkAlarm);
  EXPECT_FALSE(w->PeopleWarned);
  // The shark is put under the observer: seen at the end of step 2, the
  // alarm stays up for the people of step 3, who swim ashore.
  w->Sharks[0].X = 300;
  w->Sharks[0].Y = 620;
  w->People[0].X = 380;
  w->People[0].Y = 100;
  RunIteration(*w, t, 202);
  EXPECT_TRUE(w->SharkAlarm);
  EXPECT_EQ(w->Sharks[0].LastSeenStep, 2);
  const size_t seen = w->EventLog.size();
  EXPECT_EQ(seen, 1u);
  EXPECT_FALSE(w->PeopleWarned);  // the people moved before the observer looked
  const int32_t x = w->People[0].X;
  RunIteration(*w, t, 303);
  EXPECT_EQ(w->People[0].X, x + 2);
  EXPECT_TRUE(w->PeopleWarned);

  // A boat's sighting at the start of a step alarms the people of that step.
  w->Observers.clear();
  RunIteration(*w, t, 404);
  EXPECT_FALSE(w->SharkAlarm);
  const int32_t bx = w->Sharks[0].X + 20, by = w->Sharks[0].Y;
  AddBoat(*w, bx, by, bx, by, 0, 25);
  const int32_t x2 = w->People[0].X;
  RunIteration(*w, t, 505);
  EXPECT_EQ(w->People[0].X, x2 + 2);
  EXPECT_TRUE(w->PeopleWarned);
  EXPECT_FALSE(w->SharkAlarm);  // cleared before the observers, who are gone
  // Each sighting message is counted once, by who made it.
  EXPECT_EQ(w->ObserverSightings, 1);
  EXPECT_EQ(w->BoatSightings, 1);
  EXPECT_EQ(w->EventLog.size(), 2u);
}

TEST(Simulation, FreshStartAndEndOfRun) {
  auto w = Beach();
  w->Observers.resize(3);
  TLodz& b = AddBoat(*w, 10, 20, 0, 0, 0, 0);
  b.X = 300;  // out on the water, heading home
  b.Y = 400;
  b.Outbound = false;
  w->ElapsedMs = 777;
  w->DeadPeople = 5;
  w->DeadSharks = 6;
  w->PersonCount = 7;
  w->SharkCount = 8;
  w->ObserverSightings = 9;
  w->BoatSightings = 10;
  w->PeopleWarned = true;
  TSimulationTicks t;
  StartRun(*w, t, 5, false);  // a resume resets nothing
  EXPECT_EQ(w->DeadPeople, 5);
  EXPECT_EQ(t.LastPersonTick, 5u);
  StartRun(*w, t, 6, true);
  EXPECT_EQ(w->ElapsedMs, 0);
  EXPECT_EQ(w->ObserverCount, 3);
  EXPECT_EQ(w->BoatCount, 1);
  EXPECT_EQ(w->DeadPeople + w->DeadSharks + w->PersonCount + w->SharkCount, 0);
  EXPECT_EQ(w->ObserverSightings + w->BoatSightings, 0);
  EXPECT_FALSE(w->PeopleWarned);
  EXPECT_EQ(t.LastStepTick, 6u);
  EXPECT_EQ(t.LastSharkTick, 6u);

  w->People.resize(4);
  w->Sharks.resize(2);
  w->EventLog.push_back("x");
  w->StepCounter = 99;
  w->DeadPeople = 3;
  EndRun(*w);
  EXPECT_TRUE(w->People.empty() && w->Sharks.empty() && w->EventLog.empty());
  EXPECT_EQ(w->StepCounter, 0);
  EXPECT_EQ(w->DeadPeople, 3);  // counters keep their values until the next start
  EXPECT_EQ(w->Boats[0].X, 10);
  EXPECT_EQ(w->Boats[0].Y, 20);
  EXPECT_TRUE(w->Boats[0].Outbound);
  EXPECT_EQ(w->Observers.size(), 3u);
}
