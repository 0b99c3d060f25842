// Save then Load gives the scenario back, and saving again gives the same
// bytes, for random scenarios with extreme values and objects off the map.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <random>
#include <string>

#include "scenario_file.h"
#include "scenario_test_support.h"

namespace wendo_test {
namespace {

int32_t RandomValue(std::mt19937& rng) {
  static const int32_t extremes[] = {std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max(),
                                     0, -1, 1, -799, 1199, 1000000};
  switch (rng() % 4) {
    case 0: return extremes[rng() % std::size(extremes)];
    case 1: return static_cast<int32_t>(rng());                                        // anywhere
    case 2: return std::uniform_int_distribution<int32_t>(-2000, 2000)(rng);           // near the map
    default: return std::uniform_int_distribution<int32_t>(0, 1199)(rng);              // on the map
  }
}

void FillRandom(TWorld& world, std::mt19937& rng) {
  world.SimStepMs = RandomValue(rng);
  world.RefreshMs = RandomValue(rng);
  world.PersonArrivalS = RandomValue(rng);
  world.PersonMax = RandomValue(rng);
  world.PersonSpeed = RandomValue(rng);
  world.PersonRange = RandomValue(rng);
  world.SharkArrivalS = RandomValue(rng);
  world.SharkMax = RandomValue(rng);
  world.SharkSpeed = RandomValue(rng);
  world.SharkRange = RandomValue(rng);
  world.Observers.resize(rng() % 201);
  for (TObserwator& o : world.Observers) o.X = RandomValue(rng), o.Y = RandomValue(rng), o.Range = RandomValue(rng);
  world.Boats.resize(rng() % 201);
  for (TLodz& b : world.Boats) {
    b.X = RandomValue(rng), b.Y = RandomValue(rng);
    b.HomeX = RandomValue(rng), b.HomeY = RandomValue(rng);
    b.PatrolX = RandomValue(rng), b.PatrolY = RandomValue(rng);
    b.Speed = RandomValue(rng), b.Range = RandomValue(rng);
    b.Outbound = rng() % 2 == 0;
  }
}

// Every line "v" or "v v ..." of canonical decimals, each ended by CR LF.
bool IsCanonical(const std::string& bytes, size_t& lines) {
  lines = 0;
  size_t i = 0;
  while (i < bytes.size()) {
    for (bool first = true;; first = false) {
      if (!first) {
        if (bytes[i] != ' ') break;
        ++i;
      }
      if (i < bytes.size() && bytes[i] == '-') ++i;
      const size_t digits = i;
      while (i < bytes.size() && bytes[i] >= '0' && bytes[i] <= '9') ++i;
      if (i == digits) return false;
      if (bytes[digits] == '0' && (i - digits > 1 || (digits > 0 && bytes[digits - 1] == '-'))) return false;  // 007, -0
      if (i >= bytes.size()) return false;
    }
    if (bytes.compare(i, 2, "\r\n") != 0) return false;
    i += 2;
    ++lines;
  }
  return true;
}

TEST(ScenarioRoundTrip, RandomScenariosComeBackUnchanged) {
  TScratchFolder folder;
  const std::string first = folder / "first.wnd";
  const std::string second = folder / "second.wnd";
  for (uint32_t seed = 1; seed <= 60; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 rng(seed);
    TWorld original;
    FillRandom(original, rng);
    SaveScenario(original, first);
    const std::string bytes = ReadBytes(first);
    size_t lines = 0;
    EXPECT_TRUE(IsCanonical(bytes, lines));
    EXPECT_EQ(lines, 12 + original.Observers.size() + original.Boats.size());

    auto loaded = MakeBusyWorld();
    LoadScenario(*loaded, first);
    TScenario expected = TakeScenario(original);
    for (TLodz& b : expected.Boats) b.X = b.HomeX, b.Y = b.HomeY, b.Outbound = true;
    EXPECT_TRUE(SameScenario(expected, TakeScenario(*loaded)));

    SaveScenario(*loaded, second);
    EXPECT_EQ(bytes, ReadBytes(second));
  }
}

TEST(ScenarioRoundTrip, LargeScenarioSpansManyWriteBuffers) {
  // About 1.5 MB of text, so both the writer and the reader refill many times.
  std::mt19937 rng(99);
  TWorld original;
  original.Observers.resize(40000);
  for (TObserwator& o : original.Observers) o.X = RandomValue(rng), o.Y = RandomValue(rng), o.Range = RandomValue(rng);
  original.Boats.resize(30000);
  for (TLodz& b : original.Boats) b.HomeX = RandomValue(rng), b.PatrolY = RandomValue(rng), b.Speed = RandomValue(rng);
  TScratchFolder folder;
  SaveScenario(original, folder / "big.wnd");
  TWorld loaded;
  LoadScenario(loaded, folder / "big.wnd");
  TScenario expected = TakeScenario(original);
  for (TLodz& b : expected.Boats) b.X = b.HomeX, b.Y = b.HomeY, b.Outbound = true;
  EXPECT_TRUE(SameScenario(expected, TakeScenario(loaded)));
}

}  // namespace
}  // namespace wendo_test
