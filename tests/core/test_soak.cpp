// The real simulation thread at full speed while this thread plays the
// user interface: it walks the lists as the redraws do, drains the messages
// as the 100 ms timer does, changes the step period, and pauses, resumes,
// ends and restarts runs at random moments; then, with the simulation
// permanently behind, it must always get the world after one hold.
// WENDO_SOAK_SECONDS sets how long (2 s by default; CI runs it longer
// under ThreadSanitizer).
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <random>
#include <thread>

#include "simulation_thread.h"
#include "world_fixture.h"
#include "busy_world.h"

using namespace wendo_test;
using Clock = std::chrono::steady_clock;

namespace {

double SoakSeconds() {
  const char* s = std::getenv("WENDO_SOAK_SECONDS");
  return s ? std::atof(s) : 2.0;
}

// People on the crowded beach of the phase in which the simulation is
// behind: enough for steps of some 20 ms. ThreadSanitizer makes a step
// about fifteen times slower, so there a smaller crowd takes as long.
#if defined(__SANITIZE_THREAD__)
constexpr int Crowd = 1500;
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
constexpr int Crowd = 1500;
#else
constexpr int Crowd = 20000;
#endif
#else
constexpr int Crowd = 20000;
#endif

double TimeOf(const std::string& message) { return std::atof(message.substr(0, message.find(':')).c_str()); }

}  // namespace

TEST(Soak, TheInterfaceAndTheSimulationShareTheWorldSafely) {
  auto w = MakeWorld(WaterColour);
  Paint(*w, 350, 0, 799, 1199, LandColour);
  Paint(*w, 320, 0, 349, 1199, CyanWaterColour);
  MakeBusy(*w, {.StepMs = 1, .PersonMax = 2000, .SharkMax = 200});
  w->SharkRange = 100;
  w->PersonSpeed = 60;
  for (int i = 0; i < 4; ++i) AddObserver(*w, 360, 150 + 300 * i, 200);
  for (int i = 0; i < 3; ++i) AddBoat(*w, 300, 200 + 400 * i, 60, 100 + 400 * i, 80, 150);

  std::mt19937 rng(4242);
  auto thread = std::make_unique<TSimulationThread>(*w);
  auto start = [&](bool fresh) {
    StartRun(*w, thread->Ticks(), TSystemTicks::Instance().Now(), fresh);
    thread->Resume();
  };
  bool running = false, paused = false;
  uint64_t drained = 0, runs = 0, pauses = 0;
  double lastTime = 0;
  auto drain = [&] {
    for (const std::string& m : w->DrainEvents()) {
      ++drained;
      const double t = TimeOf(m);
      ASSERT_GE(t, lastTime) << m;  // in the order appended
      lastTime = t;
    }
  };

  start(true);
  running = true;
  runs = 1;
  const auto end = Clock::now() + std::chrono::duration<double>(SoakSeconds());
  auto nextDrain = Clock::now();
  while (Clock::now() < end) {
    // A redraw: every list walked under the lock, every position on the map.
    {
      std::lock_guard guard(w->Lock);
      for (const TCzlowiek& p : w->People) ASSERT_TRUE(p.X >= 0 && p.X <= MaxX && p.Y >= 0 && p.Y <= MaxY);
      for (const TRekin& s : w->Sharks) ASSERT_TRUE(s.X >= 0 && s.X <= MaxX && s.Y >= 0 && s.Y <= MaxY);
      for (const TLodz& b : w->Boats) ASSERT_TRUE(b.X >= 0 && b.X <= MaxX && b.Y >= 0 && b.Y <= MaxY);
      ASSERT_EQ(w->Observers.size(), 4u);
      ASSERT_LE(w->PersonCount, w->PersonMax);
    }
    if (Clock::now() >= nextDrain) {
      drain();
      nextDrain += std::chrono::milliseconds(100);
    }
    // Now and then: the timing dialog, a start, pause or resume, an end.
    switch (rng() % 300) {
      case 0:
      case 1:
        w->SimStepMs = static_cast<int32_t>(rng() % 4);
        thread->Wake();
        break;
      case 2:
      case 3:
      case 4:
        if (!running) {
          lastTime = 0;
          start(true);
          running = true;
          ++runs;
        } else if (paused) {
          start(false);
          paused = false;
        } else {
          thread->Suspend();
          paused = true;
          ++pauses;
        }
        break;
      case 5:
        if (running) {  // the end of a run
          thread->Terminate();
          drain();
          EndRun(*w);
          ASSERT_TRUE(w->People.empty() && w->Sharks.empty() && w->EventLog.empty());
          ASSERT_EQ(w->StepCounter, 0);
          for (const TLodz& b : w->Boats) ASSERT_TRUE(b.X == b.HomeX && b.Y == b.HomeY && b.Outbound);
          thread = std::make_unique<TSimulationThread>(*w);
          running = paused = false;
        }
        break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(rng() % 4));
  }
  thread->Terminate();
  drain();
  EXPECT_EQ(drained, w->EventsAppended);  // every message shown exactly once
  EXPECT_GT(runs, 0u);
  std::printf("soak: %llu messages over %llu runs and %llu pauses\n", static_cast<unsigned long long>(drained),
              static_cast<unsigned long long>(runs), static_cast<unsigned long long>(pauses));
}

TEST(Soak, TheInterfaceGetsTheWorldWithinOneHoldWhileTheSimulationIsBehind) {
  // A crowded beach with a step due every millisecond and a shark arriving
  // every millisecond: the loop never sleeps, and lets go of the world only
  // to take it again at once. This thread plays the interface: it asks for
  // the world now and then, as a redraw or the timer does, and must get it
  // after the hold in progress.
  auto w = MakeWorld(WaterColour);
  Paint(*w, 350, 0, 799, 1199, LandColour);
  std::mt19937 place(9);
  for (int i = 0; i < Crowd; ++i)
    AddPerson(*w, 350 + static_cast<int32_t>(place() % 450), static_cast<int32_t>(place() % 1200));
  for (int i = 0; i < Crowd / 10; ++i)
    AddShark(*w, static_cast<int32_t>(place() % 340), static_cast<int32_t>(place() % 1200));
  for (int i = 0; i < 8; ++i) AddObserver(*w, 400, 100 + 140 * i, 300);
  for (int i = 0; i < 4; ++i) AddBoat(*w, 300, 150 + 300 * i, 50, 150 + 300 * i, 60, 200);

  auto thread = std::make_unique<TSimulationThread>(*w);
  StartRun(*w, thread->Ticks(), TSystemTicks::Instance().Now(), true);
  w->SimStepMs = 1;
  w->SharkArrivalS = 0;
  w->SharkMax = 1000000;
  w->SharkCount = Crowd / 10;
  // No person arrivals: the crowd placed above is as many as this phase
  // wants, and the steps, not arrivals, are what keep the loop behind.
  w->PersonMax = 0;
  w->PersonCount = Crowd;
  w->Lock.StartTiming();
  thread->Resume();

  // Longest hold so far of the simulation thread (every thread but this).
  auto longestSimulationHold = [&] {
    int64_t us = 0;
    for (const TFairLock::TThreadTimes& t : w->Lock.Times())
      if (t.Thread != std::this_thread::get_id()) us = std::max(us, t.LongestHoldUs);
    return Clock::duration(std::chrono::microseconds(us));
  };
  std::mt19937 rng(77);
  uint64_t reads = 0;
  Clock::duration longestWait{};
  const auto end = Clock::now() + std::chrono::duration<double>(std::max(2.0, SoakSeconds() / 2));
  auto simulationTurns = [&] {
    uint64_t n = 0;
    for (const TFairLock::TThreadTimes& t : w->Lock.Times())
      if (t.Thread != std::this_thread::get_id()) n += t.Acquisitions;
    return n;
  };
  uint64_t mostTurns = 0;
  while (Clock::now() < end) {
    const auto asked = Clock::now();
    const uint64_t turnsBefore = simulationTurns();
    uint64_t turns = 0;
    Clock::duration waited;
    {
      std::lock_guard guard(w->Lock);
      waited = Clock::now() - asked;
      turns = simulationTurns() - turnsBefore;
      for (const TCzlowiek& p : w->People) ASSERT_TRUE(p.X >= 0 && p.X <= MaxX && p.Y >= 0 && p.Y <= MaxY);
    }
    ++reads;
    longestWait = std::max(longestWait, waited);
    mostTurns = std::max(mostTurns, turns);
    // Counted in the simulation's turns with the world, not in time, so a
    // slow or loaded machine moves the bound with it: the hold in progress
    // when this thread asks is counted already, and one more may start
    // before its ticket is drawn. Ten leave room for this thread to be
    // descheduled in between. A lock without turns lets the simulation take
    // the world hundreds or thousands of times meanwhile.
    ASSERT_LE(turns, 10u) << "read " << reads << ": the simulation took the world " << turns
                          << " times while this thread waited "
                          << std::chrono::duration<double, std::milli>(waited).count() << " ms";
    std::this_thread::sleep_for(std::chrono::microseconds(rng() % 3000));
  }
  thread->Terminate();
  EXPECT_GT(w->StepCounter, 0);
  EXPECT_GE(reads, 5u);
  std::printf(
      "behind: %llu reads, at most %llu turns of the simulation during one wait, longest wait %.2f ms, "
      "longest hold of the simulation %.2f ms, %d people\n",
      static_cast<unsigned long long>(reads), static_cast<unsigned long long>(mostTurns),
      std::chrono::duration<double, std::milli>(longestWait).count(),
      std::chrono::duration<double, std::milli>(longestSimulationHold()).count(), w->PersonCount);
}
