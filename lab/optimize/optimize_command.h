// wendo-lab optimize: where added observation points and boats save the
// most swimmers. The options, their checks, the search with its progress,
// the report and the files.
#pragma once

#include <string>

#include "lab_cli.h"

namespace CLI {
class App;
}

namespace wendo_lab {

struct TOptimizeArguments {
  std::string Scenario;
  std::string Observers = "0";
  std::string Boats = "0";
  std::string ObserverRange, BoatSpeed, BoatRange;  // empty: from the scenario
  std::string Duration = "3600";
  std::string Seeds = "8";
  std::string Budget = "800";
  std::string HeldOut = "200";
  std::string Jobs;
  std::string Map;
  std::string HeatmapBefore, HeatmapAfter;
  std::string HeatmapWidth = "800";
  std::string Seed = "1";
  std::string Out;
};

// Adds the subcommand and its options, filling `arguments`.
CLI::App* AddOptimizeCommand(CLI::App& app, TOptimizeArguments& arguments);

// Exit status as LabMain's; a stop still writes the best layout found so
// far, if any (status 130).
int Optimize(const TOptimizeArguments& arguments, const TConsole& console);

}  // namespace wendo_lab
