// The whole program with a busy run: one step a millisecond and people
// arriving every millisecond. After `WENDO_RUN_MS` (default 1500) of the run
// the main window is closed, as by its close box, and the moment is printed
// in milliseconds since boot (the clock of /proc/uptime), so the caller can
// time the way from the close to the end of the process.
#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <ctime>

#include "startup.h"
#include "wymianadanych.h"
#include "busy_world.h"

namespace {
long long BootMs() {
  timespec t{};
  clock_gettime(CLOCK_BOOTTIME, &t);
  return static_cast<long long>(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
}
}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (!InitialiseWorld()) return 1;
  auto windows = CreateProgramWindows();
  using wymianadanych::World;
  wendo_test::MakeBusy(World, {.StepMs = 1, .PersonMax = 800, .SharkMax = 100});
  World.RefreshMs = 50;
  TForm1* main = windows->Main.get();
  main->show();
  main->Mapa1Click();
  main->MiniMapa1Click();
  main->Wznow1Click();
  const int runMs = qEnvironmentVariableIsSet("WENDO_RUN_MS") ? qEnvironmentVariableIntValue("WENDO_RUN_MS") : 1500;
  QTimer::singleShot(runMs, main, [main] {
    {
      std::lock_guard guard(World.Lock);
      std::printf("people %d sharks %d\n", World.PersonCount, World.SharkCount);
    }
    std::printf("closing at %lld\n", BootMs());
    std::fflush(stdout);
    main->close();
  });
  const int code = app.exec();
  windows.reset();
  return code;
}
