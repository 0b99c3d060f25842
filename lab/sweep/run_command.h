// wendo-lab run: every combination of the scenario files, the parameter
// values and the seeds, written as the results table, and as the series
// and the heatmap when asked for.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "console.h"
#include "value_lists.h"

namespace CLI {
class App;
}

namespace wendo_lab {

// The options as given; their defaults are set where they are declared.
struct TRunArguments {
  std::vector<std::string> Scenarios;
  int32_t DurationMs = 0;
  std::vector<uint32_t> Seeds;
  std::vector<TAxis> Axes;  // --set, in the order given
  std::string Map;
  int Jobs = 1;
  std::string Out;
  std::string Series;
  int32_t EveryMs = 0;
  std::string Heatmap;
  int HeatmapWidth = 0;
  TShard Shard;
};

// Adds the subcommand, its options bound to `arguments`.
CLI::App* SetupCommand(CLI::App& app, TRunArguments& arguments);

// Exit status as LabMain's.
int RunCommand(const TRunArguments& arguments, const TConsole& console);

}  // namespace wendo_lab
