// The whole program as a user runs it, for a script that drives it under
// Xvfb, with three things measured and printed:
// - "paused at MS after N steps" each time "Wstrzymaj" has taken effect (the
//   simulation thread stands still), in milliseconds since boot
//   (/proc/uptime's clock), and "resumed at MS after N steps" at "Wznów";
// - at the end, the longest wait for the world's lock and the longest hold
//   of the interface thread and of the other threads, and the longest gap
//   between two ticks of the 100 ms timer, during a run and while paused.
#include <QAction>
#include <QApplication>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <mutex>
#include <thread>

#include "startup.h"
#include "wymianadanych.h"

namespace {

double BootMs() {
  timespec t{};
  clock_gettime(CLOCK_BOOTTIME, &t);
  return static_cast<double>(t.tv_sec) * 1000.0 + static_cast<double>(t.tv_nsec) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  using wymianadanych::World;
  World.Lock.StartTiming();
  if (!InitialiseWorld()) return 1;
  std::unique_ptr<TProgramWindows> windows = CreateProgramWindows();
  TForm1* main = windows->Main.get();

  // Connected after the window's own handlers, so these run when they are done.
  // With the steps taken so far, for the pace of the run.
  auto steps = [] {
    std::lock_guard guard(World.Lock);
    return static_cast<int>(World.StepCounter);
  };
  QObject::connect(main->Wstrzymaj1, &QAction::triggered, [steps] {
    std::printf("paused at %.1f after %d steps\n", BootMs(), steps());
    std::fflush(stdout);
  });
  QObject::connect(main->Wznow1, &QAction::triggered, [steps] {
    std::printf("resumed at %.1f after %d steps\n", BootMs(), steps());
    std::fflush(stdout);
  });
  // Gaps between two ticks of the timer, during a run and while paused.
  double lastTick = 0, longestRunningGap = 0, longestPausedGap = 0;
  QObject::connect(main->Timer2(), &QTimer::timeout, [&] {
    const double now = BootMs();
    if (main->RunState() == TForm1::TRunState::Running && lastTick > 0)
      longestRunningGap = std::max(longestRunningGap, now - lastTick);
    if (main->RunState() == TForm1::TRunState::Paused && lastTick > 0)
      longestPausedGap = std::max(longestPausedGap, now - lastTick);
    lastTick = main->RunState() == TForm1::TRunState::Idle ? 0 : now;
  });

  main->show();
  const int code = app.exec();
  windows.reset();

  double uiWait = 0, uiHold = 0, otherWait = 0, otherHold = 0;
  for (const auto& t : World.Lock.Times()) {
    const bool ui = t.Thread == std::this_thread::get_id();
    double& wait = ui ? uiWait : otherWait;
    double& hold = ui ? uiHold : otherHold;
    wait = std::max(wait, t.LongestWaitUs / 1000.0);
    hold = std::max(hold, t.LongestHoldUs / 1000.0);
  }
  std::printf("interface thread: longest wait for the world %.1f ms, longest hold %.1f ms\n", uiWait, uiHold);
  std::printf("simulation threads: longest wait for the world %.1f ms, longest hold %.1f ms\n", otherWait, otherHold);
  std::printf("longest gap between two timer ticks: %.1f ms during a run, %.1f ms while paused\n", longestRunningGap,
              longestPausedGap);
  return code;
}
