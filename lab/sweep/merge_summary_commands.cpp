#include "merge_summary_commands.h"

#include <CLI/CLI.hpp>
#include <optional>

#include "bad_input.h"
#include "merge_shards.h"
#include "output_file.h"
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

int RunCommand(const TMergeArguments& a, const TConsole& console) {
  CheckOutputPath(a.Out, "--out");
  const std::string merged = MergeShardFiles(a.Files);
  TOutputFile out(a.Out, console.Out);
  out.Write(merged);
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
  const TSummary summary = Summarise(ReadCsvFile(a.Results), a.Results);
  std::optional<TOutputFile> csv;
  if (!a.Csv.empty()) csv.emplace(a.Csv, console.Out);
  console.Out << SummaryText(summary);
  if (csv) {
    csv->Write(SummaryCsv(summary));
    csv->Commit();
  }
  console.Out.flush();
  return ExitDone;
}

}  // namespace wendo_lab
