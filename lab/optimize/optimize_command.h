// wendo-lab optimize: where added observation points and boats save the
// most swimmers. The options, their checks, the search with its progress,
// the report and the files.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "console.h"
#include "how_many.h"
#include "layout_search.h"

namespace CLI {
class App;
}

namespace wendo_lab {

// The options as given; their defaults are set where they are declared.
struct TOptimizeArguments {
  std::string Scenario;
  TCountRange Observers, Boats;                                // a range asks how many
  TPlacementRequest Placement;                                 // its counts, ranges and speed come from the options
  std::optional<int32_t> ObserverRange, BoatSpeed, BoatRange;  // unset: from the scenario
  TSearchSettings Search;                                      // but its KeepDeaths, Stop and Objective
  std::string Objective = "risk";
  std::optional<double> MinUse;                                // unset: 0.5 for risk, 0 for eaten
  std::string Map;
  std::string HeatmapBefore, HeatmapAfter;
  int HeatmapWidth = 0;
  std::string Out;
  std::string Table, Plot;  // of how many
};

// Adds the subcommand, its options bound to `arguments`.
CLI::App* SetupCommand(CLI::App& app, TOptimizeArguments& arguments);

// Exit status as LabMain's; a stop still writes the best layout found so
// far, if any (status 130).
int RunCommand(const TOptimizeArguments& arguments, const TConsole& console);

}  // namespace wendo_lab
