#include "shared_options.h"

#include <algorithm>
#include <thread>

#include "value_lists.h"

namespace wendo_lab {

namespace {
constexpr int MostJobs = 4096;
constexpr int MostHeatmapWidth = 800;
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
  jobs = static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, unsigned{MostJobs}));
  AddParsedOption(
      command, "--jobs", jobs, [](const std::string& text) { return ParseCount(text, "--jobs", MostJobs); },
      "Runs at once (default: all cores)")
      ->type_name("N");
}

CLI::Option* AddHeatmapWidthOption(CLI::App& command, int& width) {
  return WithDefault(AddParsedOption(
                         command, "--heatmap-width", width,
                         [](const std::string& text) { return ParseCount(text, "--heatmap-width", MostHeatmapWidth); },
                         "Width of the heatmap pictures in pixels, up to 800 (aspect kept)"),
                     "800")
      ->type_name("PIXELS");
}

}  // namespace wendo_lab
