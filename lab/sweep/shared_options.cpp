#include "shared_options.h"

#include <algorithm>
#include <limits>
#include <thread>

#include "bad_input.h"

#include "value_lists.h"

namespace wendo_lab {

namespace {
constexpr int MostJobsPerCore = 8;
constexpr int MostHeatmapWidth = 800;
int Cores() { return static_cast<int>(std::max(1u, std::thread::hardware_concurrency())); }
}  // namespace

CLI::Option* WithDefault(CLI::Option* option, const std::string& text) {
  return option->run_callback_for_default()->default_val(text);
}

void AddDurationOption(CLI::App& command, int32_t& durationMs) {
  WithDefault(
      AddParsedOption(
          command, "--duration", durationMs,
          [](const std::string& text) { return ParseSecondsAsMs(text, "--duration"); }, "Simulated seconds per run"),
      "3600")
      ->type_name("SECONDS");
}

void AddMapOption(CLI::App& command, std::string& map) {
  command.add_option("--map", map, "Map picture (default: the program's own wendo.bmp)")->type_name("FILE.bmp");
}

void AddJobsOption(CLI::App& command, int& jobs) {
  jobs = Cores();
  AddParsedOption(
      command, "--jobs", jobs,
      [](const std::string& text) {
        const int most = MostJobs();
        int64_t value = 0;
        try {
          value = ParseWholeNumber(text, "--jobs", 1, std::numeric_limits<int32_t>::max());
        } catch (const TBadInput&) {
          value = 0;
        }
        if (value < 1 || value > most)
          throw TBadInput("--jobs " + text + ": expected a whole number from 1 to " + std::to_string(most) + " (" +
                          std::to_string(MostJobsPerCore) + " per core, " + std::to_string(Cores()) +
                          " cores here)");
        return static_cast<int>(value);
      },
      "Runs at once (default: all cores; at most " + std::to_string(MostJobsPerCore) + " per core)")
      ->type_name("N");
}

int MostJobs() { return MostJobsPerCore * Cores(); }

CLI::Option* AddHeatmapWidthOption(CLI::App& command, int& width) {
  return WithDefault(AddParsedOption(
                         command, "--heatmap-width", width,
                         [](const std::string& text) { return ParseCount(text, "--heatmap-width", MostHeatmapWidth); },
                         "Width of the heatmap pictures in pixels, up to 800 (aspect kept)"),
                     "800")
      ->type_name("PIXELS");
}

}  // namespace wendo_lab
