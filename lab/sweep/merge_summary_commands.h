// wendo-lab merge and summary: the subcommands that read results tables
// (or series files) written by run.
#pragma once

#include <string>
#include <vector>

#include "console.h"

namespace CLI {
class App;
}

namespace wendo_lab {

struct TMergeArguments {
  std::vector<std::string> Files;
  std::string Out;
};

CLI::App* SetupCommand(CLI::App& app, TMergeArguments& arguments);
int RunCommand(const TMergeArguments& arguments, const TConsole& console);

struct TSummaryArguments {
  std::string Results;
  std::string Csv;
};

CLI::App* SetupCommand(CLI::App& app, TSummaryArguments& arguments);
int RunCommand(const TSummaryArguments& arguments, const TConsole& console);

}  // namespace wendo_lab
