// libFuzzer target for the scenario reader. Each input is stored as a file
// and loaded into a world whose state is known beforehand. A failed load
// must raise one of the reader's own texts and leave the world exactly as
// it was; a successful one must touch nothing but the scenario, and what it
// loaded must survive a save and a second load. Anything else aborts.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <unistd.h>

#include "scenario_content.h"
#include "scenario_error.h"
#include "scenario_file.h"
#include "scenario_format.h"
#include "same_scenario.h"

using namespace wymianadanych;
using wendo_test::SameScenario;

namespace {

std::string TemporaryPath(const char* what) {
  const char* base = std::getenv("TMPDIR");
  return std::string(base && *base ? base : "/tmp") + "/wendo-fuzz-" + std::to_string(::getpid()) + "-" + what;
}

const std::string InputPath = TemporaryPath("input.wnd");
const std::string ResavedPath = TemporaryPath("resaved.wnd");

void RemoveFiles() {
  ::unlink(InputPath.c_str());
  ::unlink(ResavedPath.c_str());
}

[[noreturn]] void Fail(const char* why, const std::string& detail = "") {
  std::fprintf(stderr, "scenario_fuzz: %s %s\n", why, detail.c_str());
  std::abort();
}

void StoreInput(const uint8_t* data, size_t size) {
  const int fd = ::open(InputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) Fail("cannot create", InputPath);
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n <= 0) Fail("cannot write", InputPath);
    data += n;
    size -= static_cast<size_t>(n);
  }
  if (::close(fd) != 0) Fail("cannot close", InputPath);
}

// A world that differs from the defaults and from what an input is likely
// to give, so that any partial change shows.
void SetKnownState(TWorld& w) {
  TScenario s;
  for (int i = 0; i < ParameterCount; ++i) s.Parameters[i] = 1000 + 11 * i;
  s.Observers.resize(2);
  s.Observers[0].X = 5, s.Observers[0].Y = 6, s.Observers[0].Range = 7;
  s.Observers[1].X = -1, s.Observers[1].Range = 2147483647;
  s.Boats.resize(1);
  s.Boats[0].X = 9, s.Boats[0].HomeX = 10, s.Boats[0].PatrolY = -11, s.Boats[0].Speed = 12, s.Boats[0].Range = 13;
  PutScenario(w, std::move(s));
  w.People.assign(1, TCzlowiek{});
  w.People[0].X = 3, w.People[0].Dead = true;
  w.Sharks.assign(1, TRekin{});
  w.Sharks[0].Y = 4, w.Sharks[0].LastSeenStep = 8;
  w.SharkAlarm = true;
  w.ViewLeft = 123;
  w.ViewTop = 456;
}

bool RestUntouched(const TWorld& w) {
  return w.People.size() == 1 && w.People[0].X == 3 && w.People[0].Dead && w.Sharks.size() == 1 &&
         w.Sharks[0].Y == 4 && w.Sharks[0].LastSeenStep == 8 && w.SharkAlarm && w.ViewLeft == 123 &&
         w.ViewTop == 456;
}

bool IsReadingText(const std::string& text) {
  // The input is always a readable regular file, so no system error is due.
  return text == InvalidNumberText || text == RangeCheckText || text == OutOfMemoryText;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::atexit(RemoveFiles);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // One world for the whole run: its terrain grid is large to build.
  static TWorld& world = *new TWorld;
  StoreInput(data, size);
  SetKnownState(world);
  const TScenario before = TakeScenario(world);
  try {
    LoadScenario(world, InputPath);
  } catch (const TScenarioError& e) {
    if (!IsReadingText(e.what())) Fail("unexpected error text", e.what());
    if (!SameScenario(before, TakeScenario(world)) || !RestUntouched(world)) Fail("world changed by a failed load");
    return 0;
  } catch (const std::exception& e) {
    Fail("foreign exception", e.what());
  }

  if (!RestUntouched(world)) Fail("load touched more than the scenario");
  const TScenario loaded = TakeScenario(world);
  if (loaded.Observers.size() > static_cast<size_t>(MaxObjectCount) || loaded.Boats.size() > static_cast<size_t>(MaxObjectCount))
    Fail("list longer than any count allows");
  for (const TLodz& b : loaded.Boats)
    if (b.X != b.HomeX || b.Y != b.HomeY || !b.Outbound) Fail("boat not at its home heading out");

  // Saving large lists takes long; the property is the same for small ones.
  if (loaded.Observers.size() + loaded.Boats.size() <= 10000) {
    try {
      SaveScenario(world, ResavedPath);
      SetKnownState(world);
      LoadScenario(world, ResavedPath);
    } catch (const TScenarioError& e) {
      Fail("saved scenario does not load", e.what());
    }
    if (!SameScenario(loaded, TakeScenario(world))) Fail("scenario changed by save and load");
  }
  return 0;
}
