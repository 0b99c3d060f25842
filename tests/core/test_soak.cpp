// The real simulation thread at full speed while this thread plays the
// user interface: it walks the lists as the redraws do, drains the messages
// as the 100 ms timer does, changes the step period, and pauses, resumes,
// ends and restarts runs at random moments. WENDO_SOAK_SECONDS sets how
// long (2 s by default; CI runs it longer under ThreadSanitizer).
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <random>
#include <thread>

#include "simulation_thread.h"
#include "world_fixture.h"

using namespace wendo_test;
using Clock = std::chrono::steady_clock;

namespace {

double SoakSeconds() {
  const char* s = std::getenv("WENDO_SOAK_SECONDS");
  return s ? std::atof(s) : 2.0;
}

double TimeOf(const std::string& message) { return std::atof(message.substr(0, message.find(':')).c_str()); }

}  // namespace

TEST(Soak, TheInterfaceAndTheSimulationShareTheWorldSafely) {
  auto w = MakeWorld(WaterColour);
  Paint(*w, 350, 0, 799, 1199, LandColour);
  Paint(*w, 320, 0, 349, 1199, CyanWaterColour);
  w->SimStepMs = 1;
  w->PersonArrivalS = 0;
  w->SharkArrivalS = 0;
  w->PersonMax = 2000;
  w->SharkMax = 200;
  w->SharkRange = 100;
  w->PersonSpeed = 60;
  for (int i = 0; i < 4; ++i) {
    TObserwator o;
    o.X = 360;
    o.Y = 150 + 300 * i;
    o.Range = 200;
    w->Observers.push_back(o);
  }
  for (int i = 0; i < 3; ++i) {
    TLodz b;
    b.X = b.HomeX = 300;
    b.Y = b.HomeY = 200 + 400 * i;
    b.PatrolX = 60;
    b.PatrolY = 100 + 400 * i;
    b.Speed = 80;
    b.Range = 150;
    b.Outbound = true;
    w->Boats.push_back(b);
  }

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
      std::lock_guard<std::mutex> guard(w->Lock);
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
