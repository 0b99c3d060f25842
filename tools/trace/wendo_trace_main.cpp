// wendo-trace MAP.bmp SCENARIO SEED ITERATIONS TICK_MS [START_TICK]
//
// Reproduces a run without windows: the terrain from MAP.bmp, the scenario
// from SCENARIO ("-" keeps the defaults), a seeded generator, and a virtual
// clock that advances TICK_MS before every iteration. Prints the trace.
#include <charconv>
#include <cstring>
#include <iostream>
#include <memory>

#include "scenario_file.h"
#include "terrain_picture.h"
#include "trace_run.h"

namespace {

bool ParseUnsigned(const char* text, uint64_t max, uint64_t& out) {
  const char* end = text + std::strlen(text);
  auto [ptr, ec] = std::from_chars(text, end, out);
  return ec == std::errc() && ptr == end && out <= max;
}

int Usage() {
  std::cerr << "usage: wendo-trace MAP.bmp SCENARIO SEED ITERATIONS TICK_MS [START_TICK]\n"
               "  SCENARIO is a scenario file, or - for the defaults\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 6 && argc != 7) return Usage();
  uint64_t seed, iterations, tickMs, startTick = 0;
  if (!ParseUnsigned(argv[3], UINT32_MAX, seed) || !ParseUnsigned(argv[4], INT64_MAX, iterations) ||
      !ParseUnsigned(argv[5], UINT32_MAX, tickMs) || (argc == 7 && !ParseUnsigned(argv[6], UINT32_MAX, startTick)))
    return Usage();

  auto world = std::make_unique<wymianadanych::TWorld>();
  try {
    LoadTerrainPicture(*world, QString::fromLocal8Bit(argv[1]));
  } catch (const TPictureError& e) {
    std::cerr << "wendo-trace: " << e.what() << '\n';
    return 1;
  }
  if (std::strcmp(argv[2], "-") != 0) {
    try {
      LoadScenario(*world, argv[2]);
    } catch (const std::exception& e) {
      std::cerr << "wendo-trace: " << argv[2] << ": " << e.what() << '\n';
      return 1;
    }
  }
  std::ios::sync_with_stdio(false);
  wendo_trace::RunTrace(*world, static_cast<uint32_t>(seed), static_cast<int64_t>(iterations),
                        [tickMs](int64_t) { return static_cast<uint32_t>(tickMs); }, static_cast<uint32_t>(startTick),
                        std::cout);
  std::cout.flush();
  return std::cout ? 0 : 1;
}
