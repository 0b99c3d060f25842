#include "lab_cli.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <memory>
#include <optional>
#include <thread>

#include "bad_input.h"
#include "heatmap.h"
#include "lab_support.h"
#include "merge_shards.h"
#include "optimize_command.h"
#include "output_file.h"
#include "progress_bar.h"
#include "results_table.h"
#include "summary.h"
#include "sweep_runner.h"

namespace wendo_lab {

namespace {

struct TRunArguments {
  std::vector<std::string> Scenarios;
  std::string Duration = "3600";
  std::string Seeds = "1-30";
  std::vector<std::string> Settings;
  std::string Map;
  std::string Jobs;
  std::string Out;
  std::string Series;
  std::string Every = "60";
  std::string Heatmap;
  std::string HeatmapWidth = "800";
  std::string Shard = "1/1";
};

int Run(const TRunArguments& a, const TConsole& console) {
  // Everything is checked before anything runs or is written.
  TSweep sweep;
  sweep.DurationMs = ParseSecondsAsMs(a.Duration, "--duration");
  sweep.Seeds = ParseSeeds(a.Seeds);
  for (const std::string& s : a.Settings) sweep.Axes.push_back(ParseSetting(s));
  const TShard shard = ParseShard(a.Shard);
  const int hardware = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  const int jobs = a.Jobs.empty() ? hardware : ParseCount(a.Jobs, "--jobs", 4096);
  TRunOptions options;
  if (!a.Series.empty()) options.SampleEveryMs = ParseSecondsAsMs(a.Every, "--every");
  const int heatmapWidth = ParseCount(a.HeatmapWidth, "--heatmap-width", 800);
  options.KeepDeaths = !a.Heatmap.empty();
  options.Stop = console.Stop;
  if (a.Series == "-" || a.Heatmap == "-")
    throw TBadInput("--series and --heatmap need file names; standard output is for the results table");
  CheckOutputPath(a.Out, "--out");
  CheckOutputPath(a.Series, "--series");
  CheckOutputPath(a.Heatmap, "--heatmap");
  CheckDistinctOutputs({{"--out", a.Out}, {"--series", a.Series}, {"--heatmap", a.Heatmap}});
  const QImage map = ReadMap(a.Map);
  for (const std::string& path : a.Scenarios) sweep.Scenarios.push_back(ReadScenarioSetup(path));
  sweep.Check();

  TOutputFile out(a.Out, console.Out);
  std::optional<TOutputFile> series, heatmap;
  if (!a.Series.empty()) series.emplace(a.Series, console.Out);
  if (!a.Heatmap.empty()) heatmap.emplace(a.Heatmap, console.Out);

  const TShardRuns runs = ShardRuns(sweep.RunCount(), shard);
  TProgressBar progress(stderr, runs.Count, console.Terminal);
  TDeathMap deaths(map.width(), map.height());
  std::string text;
  AppendRecord(text, RunTableHeader());
  out.Write(text);
  if (series) {
    text.clear();
    AppendRecord(text, SeriesHeader());
    series->Write(text);
  }
  TSweepJobs work;
  work.Jobs = jobs;
  work.Run = options;
  int64_t delivered = 0;
  work.Deliver = [&](const TSweepRun& run, TRunResult&& result) {
    text.clear();
    AppendRecord(text, RunTableRow(run, result));
    if (out.IsStandard()) progress.Clear();
    out.Write(text);
    if (series) {
      text.clear();
      AppendSeriesRecords(text, run, result);
      series->Write(text);
    }
    if (heatmap) deaths.Add(result.Deaths);
    progress.Update(++delivered);
  };
  work.Progress = [&](int64_t) { progress.Update(delivered); };
  const bool complete = RunSweep(sweep, runs, map, work);
  progress.Clear();
  if (!complete) {
    if (out.IsStandard())
      console.Err << "wendo-lab: stopped; the results table on standard output is incomplete"
                  << (series || heatmap ? "; no output file was written\n" : "\n");
    else
      console.Err << "wendo-lab: stopped; no output file was written\n";
    return ExitStopped;
  }
  if (heatmap) {
    const auto app = TextSupport();
    const QByteArray png = PngBytes(DrawHeatmap(map, deaths, heatmapWidth));
    heatmap->Write(std::string_view(png.constData(), static_cast<size_t>(png.size())));
  }
  out.Commit();
  if (series) series->Commit();
  if (heatmap) heatmap->Commit();
  return 0;
}

int Merge(const std::vector<std::string>& files, const std::string& outPath, const TConsole& console) {
  CheckOutputPath(outPath, "--out");
  const std::string merged = MergeShardFiles(files);
  TOutputFile out(outPath, console.Out);
  out.Write(merged);
  out.Commit();
  return 0;
}

int Summary(const std::string& file, const std::string& csvPath, const TConsole& console) {
  if (csvPath == "-") throw TBadInput("--csv needs a file name; standard output is for the summary text");
  CheckOutputPath(csvPath, "--csv");
  const TSummary summary = Summarise(ReadCsvFile(file), file);
  std::optional<TOutputFile> csv;
  if (!csvPath.empty()) csv.emplace(csvPath, console.Out);
  console.Out << SummaryText(summary);
  if (csv) {
    csv->Write(SummaryCsv(summary));
    csv->Commit();
  }
  console.Out.flush();
  return 0;
}

}  // namespace

int LabMain(int argc, const char* const* argv, const TConsole& console) {
  CLI::App app{
      "Experiments with the Wendo beach simulation, without windows: runs sweeps of scenarios, parameter "
      "values and seeds on a virtual clock, merges the outputs of shards, summarises the results, and advises where "
      "to put observation points and boats.",
      "wendo-lab"};
  app.require_subcommand(1);
  app.fallthrough(false);

  TRunArguments r;
  CLI::App* run = app.add_subcommand(
      "run",
      "Runs every combination of the scenario files, the parameter values and the seeds, each as the program runs "
      "it from a fresh start on a machine that always keeps up, and writes one row per run in canonical order: "
      "scenario, then the --set values in the order given, then seed.");
  run->add_option("scenarios", r.Scenarios, "Scenario files (.wnd)")->required()->type_name("SCENARIO.wnd");
  run->add_option("--duration", r.Duration, "Simulated seconds per run")->capture_default_str()->type_name("SECONDS");
  run->add_option("--seeds", r.Seeds, "Seeds: a range A-B or a list such as 1,2,5-9")
      ->capture_default_str()
      ->type_name("LIST");
  run->add_option("--set", r.Settings,
                  "Values of a parameter: NAME=V1,V2,... or NAME=FROM:TO:STEP; repeat for more parameters (the "
                  "runs take every combination). NAME is one of: " +
                      wymianadanych::ParameterNames())
      ->type_name("NAME=VALUES")
      ->expected(1)
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  run->add_option("--map", r.Map, "Map picture (default: the program's own wendo.bmp)")->type_name("FILE.bmp");
  run->add_option("--jobs", r.Jobs, "Runs at once (default: all cores)")->type_name("N");
  run->add_option("--out", r.Out, "Results table, CSV (default: standard output)")->type_name("FILE.csv");
  run->add_option("--series", r.Series, "Also write the counters of every run over time to this CSV file")
      ->type_name("FILE.csv");
  run->add_option("--every", r.Every, "Seconds between two rows of the series")
      ->capture_default_str()
      ->type_name("SECONDS")
      ->needs(run->get_option("--series"));
  run->add_option("--heatmap", r.Heatmap, "Also draw where people were eaten, over all runs, as a PNG picture")
      ->type_name("FILE.png");
  run->add_option("--heatmap-width", r.HeatmapWidth, "Width of the heatmap in pixels, up to 800 (aspect kept)")
      ->capture_default_str()
      ->type_name("PIXELS")
      ->needs(run->get_option("--heatmap"));
  run->add_option("--shard", r.Shard, "Run only shard K of N of the sweep (every N-th run, from run K)")
      ->capture_default_str()
      ->type_name("K/N");

  std::vector<std::string> mergeFiles;
  std::string mergeOut;
  CLI::App* merge = app.add_subcommand("merge",
                                       "Joins the outputs of the shards of one sweep (results tables, or "
                                       "series files) into one file in canonical order.");
  merge->add_option("files", mergeFiles, "Shard outputs")->required()->type_name("FILE.csv");
  merge->add_option("--out", mergeOut, "Merged file (default: standard output)")->type_name("FILE.csv");

  std::string summaryFile, summaryCsv;
  CLI::App* summary =
      app.add_subcommand("summary",
                         "Per configuration: the number of runs, and the mean, standard deviation and 95% confidence "
                         "interval (Student t) of the main results, as a table.");
  summary->add_option("results", summaryFile, "Results table written by run or merge")
      ->required()
      ->type_name("RUNS.csv");
  summary->add_option("--csv", summaryCsv, "Also write the summary to this CSV file")->type_name("FILE.csv");

  TOptimizeArguments optimizeArguments;
  CLI::App* optimize = AddOptimizeCommand(app, optimizeArguments);

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int status = app.exit(e, console.Out, console.Err);
    return status == 0 ? 0 : ExitBadInput;
  }
  try {
    if (*run) return Run(r, console);
    if (*merge) return Merge(mergeFiles, mergeOut, console);
    if (*optimize) return Optimize(optimizeArguments, console);
    return Summary(summaryFile, summaryCsv, console);
  } catch (const TBadInput& e) {
    console.Err << "wendo-lab: " << e.what() << '\n';
    return ExitBadInput;
  } catch (const std::exception& e) {
    console.Err << "wendo-lab: " << e.what() << '\n';
    return ExitFailed;
  }
}

}  // namespace wendo_lab
