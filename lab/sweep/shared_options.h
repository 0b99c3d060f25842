// How every option of wendo-lab is declared: once, bound to a typed field,
// with its check on the declaration. The text given is read by a parser
// that refuses bad text with a TBadInput naming the option (exit status 2,
// nothing run or written); a default goes through the same parser, so the
// help shows it and the field starts as it. Below, the options that more
// than one subcommand takes, each declared here once.
#pragma once

#include <CLI/CLI.hpp>
#include <cstdint>
#include <string>

namespace wendo_lab {

template <class T, class Parse>
CLI::Option* AddParsedOption(CLI::App& command, const std::string& name, T& field, Parse parse,
                             const std::string& help) {
  return command.add_option_function<std::string>(
      name, [&field, parse](const std::string& text) { field = parse(text); }, help);
}

// `option` with `text` as its default.
CLI::Option* WithDefault(CLI::Option* option, const std::string& text);

// --duration SECONDS, simulated seconds per run (default 3600).
void AddDurationOption(CLI::App& command, int32_t& durationMs);
// --map FILE.bmp; empty: the program's own wendo.bmp.
void AddMapOption(CLI::App& command, std::string& map);
// --jobs N, runs at once (default: all cores, at most MostJobs()).
void AddJobsOption(CLI::App& command, int& jobs);
// The ceiling of --jobs: 8 per core.
int MostJobs();
// --heatmap-width PIXELS, up to 800 (default 800).
CLI::Option* AddHeatmapWidthOption(CLI::App& command, int& width);

}  // namespace wendo_lab
