#include "merge_summary_commands.h"

#include <CLI/CLI.hpp>
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
                                       "series files) into one file in canonical order, byte for byte the "
                                       "whole sweep's. Refuses, naming the file and line, shards of another "
                                       "sweep, a run given twice, runs left out, and a run of a series whose "
                                       "samples are not the first run's (cut short, or another --every).");
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
  summary->add_option("--csv", a.Csv, "Also write the summary to this CSV file. It and the text stand alone: one that cannot be written "
                  "(exit status 1) does not take the other with it")->type_name("FILE.csv");
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
  // The CSV file and the text stand alone: one that cannot be written
  // loses not the other.
  TSeparateOutputs outputs;
  try {
    if (!a.Csv.empty()) {
      TOutputFile csv(a.Csv, console.Out, "--csv", console.Stop);
      outputs.Put(csv, SummaryCsv(summary));
    }
    TOutputFile text("", console.Out, "the summary", console.Stop);
    outputs.Put(text, SummaryText(summary));
  } catch (const TStopped&) {
    console.Err << outputs.Report() << outputs.StoppedReport();
    return ExitStopped;
  }
  console.Err << outputs.Report();
  if (outputs.AnyFailed()) return ExitFailed;
  if (StopRequested(console.Stop)) {
    console.Err << "wendo-lab: stopped once every output was written; all of them are in place\n";
    return ExitStopped;
  }
  return ExitDone;
}

}  // namespace wendo_lab
