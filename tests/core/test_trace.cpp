// Whole runs on a small beach, compared with traces recorded earlier and
// checked by hand. Set WENDO_UPDATE_GOLDEN=1 to record them anew after an
// intended change of behaviour.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "trace_run.h"
#include "world_fixture.h"

using namespace wendo_test;

namespace {

// Deep water, an aqua strip, green land with a promenade of another colour
// and an olive patch.
std::unique_ptr<TWorld> SmallBeach() {
  auto w = MakeWorld(WaterColour);
  Paint(*w, 120, 0, 139, 1199, CyanWaterColour);
  Paint(*w, 140, 0, 799, 1199, LandColour);
  Paint(*w, 160, 0, 163, 1199, Rgb(230, 210, 160));
  Paint(*w, 300, 200, 340, 260, OliveColour);
  return w;
}

// A scenario with quick arrivals and a little of everything.
void BusyScenario(TWorld& w) {
  w.PersonArrivalS = 0;
  w.PersonMax = 12;
  w.PersonSpeed = 80;
  w.SharkArrivalS = 1;
  w.SharkMax = 4;
  w.SharkRange = 200;
  w.SharkSpeed = 60;
  AddObserver(w, 150, 300, 120);
  AddObserver(w, 150, 800, 120);
  AddBoat(w, 60, 500, 100, 900, 80, 150);
}

std::string Trace(uint32_t seed, int64_t iterations, uint32_t tick, uint32_t start) {
  auto w = SmallBeach();
  BusyScenario(*w);
  std::ostringstream out;
  wendo_trace::RunTrace(*w, seed, iterations, [tick](int64_t i) { return tick + static_cast<uint32_t>(i % 3); },
                        start, out);
  return out.str();
}

void CompareWithGolden(const std::string& name, const std::string& trace) {
  const std::string path = std::string(WENDO_GOLDEN_DIR) + "/" + name;
  if (std::getenv("WENDO_UPDATE_GOLDEN")) {
    std::ofstream(path, std::ios::binary) << trace;
    GTEST_SKIP() << "recorded " << path;
  }
  std::ifstream in(path, std::ios::binary);
  ASSERT_TRUE(in) << "missing " << path;
  std::stringstream golden;
  golden << in.rdbuf();
  ASSERT_EQ(golden.str().size(), trace.size());
  EXPECT_TRUE(golden.str() == trace) << "the run differs from " << path;
}

}  // namespace

TEST(Trace, AWholeRunMatchesTheRecordedOne) {
  const std::string trace = Trace(20240601, 2000, 37, 0);
  // Something of every kind happened.
  for (const char* what : {"pojawił sie człowiek", "pojawił sie rekin", "dostrzegł rekina", "dostrzegła rekina",
                           "zjadł człowieka", "zabiła rekina"})
    EXPECT_NE(trace.find(what), std::string::npos) << what;
  CompareWithGolden("small_beach.trace", trace);
}

TEST(Trace, ARunAcrossTheTickWrapMatchesTheRecordedOne) {
  const std::string trace = Trace(7, 600, 61, 0xFFFFF000u);
  CompareWithGolden("small_beach_wrap.trace", trace);
}

TEST(Trace, TheSameSeedGivesTheSameRun) {
  EXPECT_EQ(Trace(99, 800, 50, 0), Trace(99, 800, 50, 0));
  EXPECT_NE(Trace(99, 800, 50, 0), Trace(100, 800, 50, 0));
}
