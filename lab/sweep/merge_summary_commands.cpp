#include "merge_summary_commands.h"

#include <CLI/CLI.hpp>
#include <optional>
#include <sys/stat.h>

#include "bad_input.h"
#include "csv.h"
#include "file_identity.h"
#include "merge_shards.h"
#include "output_file.h"
#include "stop_points.h"
#include "summary.h"

namespace wendo_lab {

CLI::App* SetupCommand(CLI::App& app, TMergeArguments& a) {
  CLI::App* merge = app.add_subcommand("merge",
                                       "Joins the outputs of the shards of one sweep (results tables, or "
                                       "series files) into one file in canonical order.");
  merge->add_option("files", a.Files, "Shard outputs")->required()->type_name("FILE.csv");
  merge->add_option("--out", a.Out, "Merged file (default: standard output)")->type_name("FILE.csv");
  return merge;
}

namespace {

std::vector<TNamedFile> Inputs(const std::vector<std::string>& paths) {
  std::vector<TNamedFile> inputs;
  for (const std::string& p : paths) inputs.push_back({"the input", p});
  return inputs;
}

// A regular file can be read twice; a pipe only once.
bool AllRegular(const std::vector<std::string>& paths) {
  for (const std::string& p : paths) {
    struct stat st {};
    if (::stat(p.c_str(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode)) return false;
  }
  return true;
}

}  // namespace

int RunCommand(const TMergeArguments& a, const TConsole& console) {
  CheckOutputPath(a.Out, "--out");
  CheckNoOverlap(Inputs(a.Files), {{"--out", a.Out}});
  // The files are checked whole before anything is written, so that bad
  // shards leave nothing behind, not even on standard output; then merged.
  // Pipes are read once, as they are merged.
  if (AllRegular(a.Files)) MergeShardFiles(a.Files, {}, console.Stop);
  TOutputFile out(a.Out, console.Out, "--out", console.Stop);
  MergeShardFiles(a.Files, [&](std::string_view text) { out.Write(text); }, console.Stop);
  out.Commit();
  return ExitDone;
}

CLI::App* SetupCommand(CLI::App& app, TSummaryArguments& a) {
  CLI::App* summary =
      app.add_subcommand("summary",
                         "Per configuration: the number of runs, and the mean, standard deviation and 95% confidence "
                         "interval (Student t) of the main results, as a table.");
  summary->add_option("results", a.Results, "Results table written by run or merge")->required()->type_name("RUNS.csv");
  summary->add_option("--csv", a.Csv, "Also write the summary to this CSV file")->type_name("FILE.csv");
  return summary;
}

int RunCommand(const TSummaryArguments& a, const TConsole& console) {
  if (a.Csv == "-") throw TBadInput("--csv needs a file name; standard output is for the summary text");
  CheckOutputPath(a.Csv, "--csv");
  CheckNoOverlap(Inputs({a.Results}), {{"--csv", a.Csv}});
  const TSummary summary = Summarise([&] {
    auto reader = std::make_unique<TCsvReader>(a.Results, console.Stop);
    SignalPoint("summary");
    return reader;
  }, AllRegular({a.Results}));
  ThrowIfStopped(console.Stop);
  // The text and the CSV file are one set: the file is put in place only
  // once the text has reached standard output.
  TOutputFile text("", console.Out, "summary", console.Stop);
  std::optional<TOutputFile> csv;
  if (!a.Csv.empty()) csv.emplace(a.Csv, console.Out, "--csv", console.Stop);
  text.Write(SummaryText(summary));
  if (csv) csv->Write(SummaryCsv(summary));
  std::vector<TOutputFile*> set = {&text};
  if (csv) set.push_back(&*csv);
  CommitOutputs(set, console.Stop);
  return ExitDone;
}

}  // namespace wendo_lab
