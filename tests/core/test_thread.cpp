// The simulation thread on a virtual clock: it wakes only when a check is
// due, pauses between iterations, and ends cleanly in every state.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "simulation_thread.h"
#include "virtual_ticks.h"
#include "world_fixture.h"

using namespace wendo_test;

namespace {

struct ThreadTest : ::testing::Test {
  std::unique_ptr<TWorld> w = MakeWorld(WaterColour);
  TVirtualTicks clock{1000};

  void SetUp() override {
    Paint(*w, 400, 0, 799, 1199, LandColour);
    w->PersonMax = 0;
    w->SharkMax = 0;
  }
  int32_t Steps() {
    std::lock_guard guard(w->Lock);
    return w->StepCounter;
  }
  // Moves the clock and waits until the thread has done what fell due.
  void Advance(uint32_t ms) {
    clock.Advance(ms);
    clock.WaitForSleepers();
  }
};

}  // namespace

TEST_F(ThreadTest, CreatedSuspendedThenStepsOnItsPeriod) {
  TSimulationThread thread(*w, clock);
  clock.Advance(5000);
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(Steps(), 0);

  StartRun(*w, thread.Ticks(), clock.Now(), true);
  thread.Resume();
  clock.WaitForSleepers();
  EXPECT_EQ(Steps(), 0);
  Advance(100);
  EXPECT_EQ(Steps(), 0);  // not strictly more than the period yet
  Advance(1);
  EXPECT_EQ(Steps(), 1);
  Advance(101);
  Advance(101);
  EXPECT_EQ(Steps(), 3);
  EXPECT_EQ(w->ElapsedMs, 303);
  thread.Terminate();
}

TEST_F(ThreadTest, PauseStopsBetweenIterationsAndResumeRestartsThePeriods) {
  TSimulationThread thread(*w, clock);
  StartRun(*w, thread.Ticks(), clock.Now(), true);
  thread.Resume();
  clock.WaitForSleepers();
  Advance(150);
  EXPECT_EQ(Steps(), 1);
  thread.Suspend();
  EXPECT_TRUE(thread.Suspended());
  clock.Advance(100000);
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(Steps(), 1);
  EXPECT_EQ(w->ElapsedMs, 150);

  StartRun(*w, thread.Ticks(), clock.Now(), false);
  thread.Resume();
  clock.WaitForSleepers();
  Advance(100);
  EXPECT_EQ(Steps(), 1);  // a full period after the resume, not before
  Advance(1);
  EXPECT_EQ(Steps(), 2);
  EXPECT_EQ(w->ElapsedMs, 251);  // the pause is not counted
}

TEST_F(ThreadTest, AShorterPeriodTakesEffectWhenWoken) {
  w->SimStepMs = 1000000;
  TSimulationThread thread(*w, clock);
  StartRun(*w, thread.Ticks(), clock.Now(), true);
  thread.Resume();
  clock.WaitForSleepers();
  Advance(500);
  EXPECT_EQ(Steps(), 0);
  w->SimStepMs = 10;
  thread.Wake();
  // Woken, the thread sees 500 ms have passed and steps at once.
  for (int i = 0; i < 2000 && Steps() == 0; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  EXPECT_EQ(Steps(), 1);
  clock.WaitForSleepers();
  Advance(11);
  EXPECT_EQ(Steps(), 2);
}

TEST_F(ThreadTest, RunsAcrossTheWrapOfTheTickCounter) {
  TVirtualTicks late(0xFFFFFFC0u);
  TSimulationThread thread(*w, late);
  StartRun(*w, thread.Ticks(), late.Now(), true);
  thread.Resume();
  late.WaitForSleepers();
  late.Advance(101);  // crosses 2^32
  late.WaitForSleepers();
  EXPECT_EQ(Steps(), 1);
  late.Advance(101);
  late.WaitForSleepers();
  EXPECT_EQ(Steps(), 2);
  EXPECT_EQ(w->ElapsedMs, 202);
}

TEST_F(ThreadTest, ArrivalsComeOnTheirOwnPeriods) {
  w->PersonMax = 3;
  w->SharkMax = 1;
  w->SimStepMs = 1000000;
  TSimulationThread thread(*w, clock);
  StartRun(*w, thread.Ticks(), clock.Now(), true);
  thread.Resume();
  clock.WaitForSleepers();
  Advance(10001);
  EXPECT_EQ(w->PersonCount, 1);
  Advance(5000);
  EXPECT_EQ(w->SharkCount, 1);
  Advance(5000);
  EXPECT_EQ(w->PersonCount, 1);  // exactly 10000 ms after the last one
  Advance(1);
  EXPECT_EQ(w->PersonCount, 2);
}

TEST_F(ThreadTest, EndsInEveryState) {
  {
    TSimulationThread never(*w, clock);  // never resumed
    never.Terminate();
  }
  {
    TSimulationThread paused(*w, clock);
    paused.Resume();
    paused.Suspend();
    paused.Terminate();
    paused.Terminate();  // a second request is harmless
  }
  {
    TSimulationThread running(*w, clock);
    running.Resume();
    clock.WaitForSleepers();
  }  // the destructor ends and joins it
  SUCCEED();
}

TEST(SimulationThreadRealClock, StepsOnTheSystemTickCounter) {
  auto w = MakeWorld(WaterColour);
  Paint(*w, 400, 0, 799, 1199, LandColour);
  w->SimStepMs = 1;
  w->PersonArrivalS = 0;
  w->PersonMax = 50;
  TSimulationThread thread(*w);
  StartRun(*w, thread.Ticks(), TSystemTicks::Instance().Now(), true);
  thread.Resume();
  // The first arrival builds the spatial index, which under ThreadSanitizer
  // on a busy machine may outlast a fixed wait: wait for a step instead.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (std::chrono::steady_clock::now() < deadline) {
    {
      std::lock_guard guard(w->Lock);
      if (w->StepCounter > 0) break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  thread.Suspend();
  EXPECT_GT(w->StepCounter, 0);
  EXPECT_GT(w->PersonCount, 0);
  EXPECT_FALSE(w->EventLog.empty());
  thread.Terminate();
}
