#include "run_command.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <optional>

#include "bad_input.h"
#include "csv.h"
#include "file_identity.h"
#include "heatmap.h"
#include "lab_support.h"
#include "output_file.h"
#include "progress_bar.h"
#include "results_table.h"
#include "shared_options.h"
#include "stop_points.h"
#include "sweep_digest.h"
#include "sweep_runner.h"

namespace wendo_lab {

namespace {

// What run checks and reads before it runs or writes anything.
struct TRunRequest {
  TSweep Sweep;
  TShardRuns Runs;
  QImage Map;
};

TRunRequest ReadRequest(const TRunArguments& a, const TConsole& console) {
  if (a.Series == "-" || a.Heatmap == "-")
    throw TBadInput("--series and --heatmap need file names; standard output is for the results table");
  CheckOutputPath(a.Out, "--out");
  CheckOutputPath(a.Series, "--series");
  CheckOutputPath(a.Heatmap, "--heatmap");
  const std::string mapPath = MapPath(a.Map);
  std::vector<TNamedFile> inputs = {{"the map", mapPath}};
  for (const std::string& path : a.Scenarios) inputs.push_back({"the scenario", path});
  CheckNoOverlap(inputs, {{"--out", a.Out}, {"--series", a.Series}, {"--heatmap", a.Heatmap}});
  TRunRequest request;
  request.Map = ReadMap(mapPath);
  std::vector<std::string> scenarioTexts;
  for (const std::string& path : a.Scenarios) {
    request.Sweep.Scenarios.push_back(ReadScenarioSetup(path));
    scenarioTexts.push_back(FileBytes(path));
    WarnIfEmptyScenario(path, scenarioTexts.back(), console.Err);
  }
  request.Sweep.Seeds = a.Seeds;
  request.Sweep.Axes = a.Axes;
  request.Sweep.DurationMs = a.DurationMs;
  request.Sweep.Check();
  request.Sweep.Id = SweepDigest(request.Sweep, scenarioTexts, FileBytes(mapPath));
  request.Runs = ShardRuns(request.Sweep.RunCount(), a.Shard);
  return request;
}

// The files run writes: each appears only when committed, after the last
// run; the results table may go to standard output as it comes.
class TRunOutputs {
 public:
  TRunOutputs(const TRunArguments& a, const TConsole& console, const QImage& map)
      : out_(a.Out, console.Out, "--out", console.Stop), deaths_(map.width(), map.height()) {
    if (!a.Series.empty()) series_.emplace(a.Series, console.Out, "--series", console.Stop);
    if (!a.Heatmap.empty()) heatmap_.emplace(a.Heatmap, console.Out, "--heatmap", console.Stop);
    Write(out_, [&] { AppendRecord(text_, RunTableHeader()); });
    if (series_) Write(*series_, [&] { AppendRecord(text_, SeriesHeader()); });
  }

  bool ResultsOnStandardOutput() const { return out_.IsStandard(); }
  bool HasFiles() const { return series_ || heatmap_; }

  void Deliver(const TSweepRun& run, const TRunResult& result, TProgressBar& progress) {
    text_.clear();
    AppendRecord(text_, RunTableRow(run, result));
    if (out_.IsStandard()) progress.Clear();
    out_.Write(text_);
    if (series_) Write(*series_, [&] { AppendSeriesRecords(text_, run, result); });
    if (heatmap_) deaths_.Add(result.Deaths);
  }

  // All the outputs, or none: see CommitOutputs.
  void Commit(const QImage& map, int heatmapWidth, const std::atomic<bool>* stop) {
    if (heatmap_) {
      const auto app = TextSupport();
      const QByteArray png = PngBytes(DrawHeatmap(map, deaths_, heatmapWidth));
      try {
        heatmap_->Write(std::string_view(png.constData(), static_cast<size_t>(png.size())));
      } catch (const TWriteFailed& e) {
        throw TWriteFailed(std::string(e.what()) + "; the outputs are one set, so no output file was written" +
                           WrittenAsTheRowsCame());
      }
    }
    std::vector<TOutputFile*> set = {&out_};
    if (series_) set.push_back(&*series_);
    if (heatmap_) set.push_back(&*heatmap_);
    try {
      CommitOutputs(set, stop);
    } catch (const TWriteFailed& e) {
      throw TWriteFailed(e.what() + WrittenAsTheRowsCame());
    }
  }

  // What no failure takes back: the tables on standard output, a pipe or
  // a device, written as the rows came.
  std::string WrittenAsTheRowsCame() const {
    std::string text;
    int count = 0;
    for (const TOutputFile* o : {&out_, series_ ? &*series_ : nullptr})
      if (o && o->IsDirect()) text += (count++ ? " and " : "") + o->Describe();
    if (count == 0) return "";
    return "; " + text + (count == 1 ? " was" : " were") + " written as the rows came and " +
           (count == 1 ? "is" : "are") + " complete";
  }

 private:
  template <class Append>
  void Write(TOutputFile& file, const Append& append) {
    text_.clear();
    append();
    file.Write(text_);
  }

  TOutputFile out_;
  std::optional<TOutputFile> series_, heatmap_;
  TDeathMap deaths_;
  std::string text_;
};

// Runs the sweep's runs, delivering each in canonical order; false when
// stopped.
bool RunAndDeliver(const TRunRequest& request, const TRunArguments& a, const TConsole& console, TRunOutputs& outputs,
                   TProgressBar& progress) {
  TSweepJobs work;
  work.Jobs = a.Jobs;
  work.Run.SampleEveryMs = a.Series.empty() ? 0 : a.EveryMs;
  work.Run.KeepDeaths = !a.Heatmap.empty();
  work.Run.Stop = console.Stop;
  int64_t delivered = 0;
  work.Deliver = [&](const TSweepRun& run, TRunResult&& result) {
    outputs.Deliver(run, result, progress);
    progress.Update(++delivered);
  };
  work.Progress = [&](int64_t) { progress.Update(delivered); };
  return RunSweep(request.Sweep, request.Runs, request.Map, work);
}

int ReportStop(const TRunOutputs& outputs, const TConsole& console) {
  if (outputs.ResultsOnStandardOutput())
    console.Err << "wendo-lab: stopped; the results table on standard output is incomplete"
                << (outputs.HasFiles() ? "; no output file was written\n" : "\n");
  else
    console.Err << "wendo-lab: stopped; no output file was written\n";
  return ExitStopped;
}

}  // namespace

CLI::App* SetupCommand(CLI::App& app, TRunArguments& a) {
  CLI::App* run = app.add_subcommand(
      "run",
      "Runs every combination of the scenario files, the parameter values and the seeds, each as the program runs "
      "it from a fresh start on a machine that always keeps up, and writes one row per run in canonical order: "
      "scenario, then the --set values in the order given, then seed.");
  run->add_option("scenarios", a.Scenarios, "Scenario files (.wnd)")->required()->type_name("SCENARIO.wnd");
  AddDurationOption(*run, a.DurationMs);
  WithDefault(AddParsedOption(*run, "--seeds", a.Seeds, ParseSeeds, "Seeds: a range A-B or a list such as 1,2,5-9"),
              "1-30")
      ->type_name("LIST");
  run->add_option_function<std::vector<std::string>>(
         "--set",
         [&a](const std::vector<std::string>& texts) {
           for (const std::string& text : texts) a.Axes.push_back(ParseSetting(text));
         },
         "Values of a parameter: NAME=V1,V2,... or NAME=FROM:TO:STEP; repeat for more parameters (the runs take "
         "every combination). NAME is one of: " +
             wymianadanych::ParameterNames())
      ->type_name("NAME=VALUES")
      ->expected(1)
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  AddMapOption(*run, a.Map);
  AddJobsOption(*run, a.Jobs);
  run->add_option("--out", a.Out,
                  "Results table, CSV (default: standard output). The output files appear together once every run "
                  "is done, all or none; a pipe, a FIFO or a device (such as /dev/stdout) is written as the rows "
                  "come instead, so it is not all-or-nothing")
      ->type_name("FILE.csv");
  CLI::Option* series =
      run->add_option("--series", a.Series, "Also write the counters of every run over time to this CSV file: run, sweep and "
                                         "sweep_runs as in the results table, then time_s and the counters")
          ->type_name("FILE.csv");
  WithDefault(AddParsedOption(
                  *run, "--every", a.EveryMs, [](const std::string& text) { return ParseSecondsAsMs(text, "--every"); },
                  "Seconds between two rows of the series"),
              "60")
      ->type_name("SECONDS")
      ->needs(series);
  CLI::Option* heatmap =
      run->add_option("--heatmap", a.Heatmap, "Also draw where people were eaten, over all runs, as a PNG picture")
          ->type_name("FILE.png");
  AddHeatmapWidthOption(*run, a.HeatmapWidth)->needs(heatmap);
  WithDefault(AddParsedOption(*run, "--shard", a.Shard, ParseShard,
                              "Run only shard K of N of the sweep (every N-th run, from run K)"),
              "1/1")
      ->type_name("K/N");
  return run;
}

int RunCommand(const TRunArguments& a, const TConsole& console) {
  const TRunRequest request = ReadRequest(a, console);
  TRunOutputs outputs(a, console, request.Map);
  TProgressBar progress(stderr, request.Runs.Count, console.Terminal);
  bool complete = false;
  try {
    complete = RunAndDeliver(request, a, console, outputs, progress);
  } catch (const TWriteFailed& e) {
    progress.Clear();
    throw TWriteFailed(std::string(e.what()) + (outputs.HasFiles() ? "; no output file was written" : ""));
  }
  progress.Clear();
  SignalPoint("runs-done");
  if (!complete || StopRequested(console.Stop)) return ReportStop(outputs, console);
  try {
    outputs.Commit(request.Map, a.HeatmapWidth, console.Stop);
  } catch (const TStopped&) {
    console.Err << "wendo-lab: stopped before the outputs were put in place; none was written, the old files are "
                   "untouched\n";
    return ExitStopped;
  }
  if (StopRequested(console.Stop)) {
    console.Err << "wendo-lab: stopped while the outputs were put in place; every one of them is in place\n";
    return ExitStopped;
  }
  return ExitDone;
}

}  // namespace wendo_lab
