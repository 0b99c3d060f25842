#include "optimize_command.h"

#include <CLI/CLI.hpp>
#include <charconv>
#include <cstdio>
#include <limits>
#include <tuple>

#include "bad_input.h"
#include "csv.h"
#include "heatmap.h"
#include "file_identity.h"
#include "how_many_plot.h"
#include "lab_support.h"
#include "layout_picture.h"
#include "optimize_report.h"
#include "output_file.h"
#include "progress_bar.h"
#include "shared_options.h"
#include "sweep_digest.h"
#include "value_lists.h"

namespace wendo_lab {

using namespace wymianadanych;

namespace {

constexpr int64_t MostObjects = 10000;
constexpr int LeastHeldOut = 200;
constexpr int64_t MostBudget = int64_t{1} << 40;
constexpr int32_t DefaultObserverRange = 300, DefaultBoatSpeed = 50, DefaultBoatRange = 200;

constexpr const char* Description =
    "Finds where N more observation points and M more boats save the most swimmers: keeps the scenario's "
    "parameters and its own objects, adds the new ones where the objects dialog accepts them (an observation "
    "point on a green or olive cell, a boat's home and patrol point on a blue or aqua water cell, on a beat it "
    "can sail), searches for the layout with the lowest risk (people eaten per 1,000 swim-hours, see --objective "
    "and --min-use), checks it against a naive layout and the scenario as given on fresh seeds, and writes it as "
    "a scenario file. Ranges of counts (--observers 0-3) ask how many posts and boats.";

constexpr const char* Footer =
    "Search: every layout is run on the same --seeds-per-layout seeds (common random numbers), so layouts differ "
    "by where their objects stand, not by luck. It starts from the naive layout and follows the cross-entropy "
    "method: each generation draws layouts from a normal distribution per coordinate, puts every position on the "
    "nearest accepted cell, and moves the distribution toward the best 30% of the generation, until --budget "
    "runs are spent.\n\n"
    "Naive layout: the shore line is the chain of green or olive cells with a water cell among their four "
    "neighbours, walked from the northernmost one to the nearest cell not yet passed; the N observation points "
    "stand at (i + 1/2)/N of its length. Boats use the water cells beside green or olive ones, walked the same "
    "way: boat i of M has the i-th of M equal stretches, its home a quarter and its patrol point three "
    "quarters along it.\n\n"
    "Check: the best layout of the search and the naive one are both run on --held-out seeds that the search "
    "never used (the search's seeds lie below 2^31, the check's above, both placed by --seed). The report "
    "gives each one's mean number of people eaten with its 95% confidence interval, and the paired difference "
    "with its interval, and calls the advised layout better, worse, or not clearly different from that "
    "interval alone. The whole optimisation is the same for a given --seed, whatever --jobs is.\n\n"
    "Exit status: 0 done; 2 bad input, nothing written; 1 an output could not be written: the outputs (the "
    "advice, each heatmap, the table, the plot, the report) stand alone, so the others are still written, and "
    "standard error says which were and which were not; 130 stopped (Ctrl-C): the best layout found so far is "
    "written all the same, unchecked, as standard error says.";

// An option whose text is a whole number from `min` to `max`.
template <class T>
CLI::Option* AddWholeNumber(CLI::App& command, const std::string& name, T& field, int64_t min, int64_t max,
                            const std::string& help) {
  const std::string option = name.substr(0, name.find(','));
  return AddParsedOption(
      command, name, field,
      [option, min, max](const std::string& text) { return static_cast<T>(ParseWholeNumber(text, option, min, max)); },
      help);
}

void AddPlacementOptions(CLI::App& c, TOptimizeArguments& a) {
  for (auto [name, field, help] : {std::tuple{"--observers", &a.Observers, "Observation points to add"},
                                   std::tuple{"--boats", &a.Boats, "Boats to add"}}) {
    const std::string option = name;
    WithDefault(AddParsedOption(
                    c, option, *field,
                    [option](const std::string& text) { return ParseCountRange(text, option, MostObjects); },
                    std::string(help) + "; a range such as 0-3 finds the best layout for every count in it"),
                "0")
        ->type_name(option == "--boats" ? "M|FROM-TO" : "N|FROM-TO");
  }
  constexpr int64_t most = std::numeric_limits<int32_t>::max();
  AddWholeNumber(c, "--observer-range", a.ObserverRange, 0, most,
                 "Range of the added observation points (default: the scenario's last one's, else 300)")
      ->type_name("DM");
  AddWholeNumber(c, "--boat-speed", a.BoatSpeed, 0, most,
                 "Speed of the added boats (default: the scenario's last one's, else 50)")
      ->type_name("DM/S");
  AddWholeNumber(c, "--boat-range", a.BoatRange, 0, most,
                 "Range of the added boats (default: the scenario's last one's, else 200)")
      ->type_name("DM");
}

void AddSearchOptions(CLI::App& c, TOptimizeArguments& a) {
  TSearchSettings& s = a.Search;
  AddDurationOption(c, s.DurationMs);
  WithDefault(AddWholeNumber(c, "--seeds-per-layout,--seeds", s.SeedsPerEvaluation, 1, MaxListLength,
                             "Seeds each layout of the search is run on (--seeds, its old spelling, still works)"),
              "8")
      ->type_name("N");
  WithDefault(
      AddWholeNumber(c, "--budget", s.Budget, 1, MostBudget, "Runs the search may spend (the check comes on top)"),
      "800")
      ->type_name("RUNS");
  WithDefault(AddWholeNumber(c, "--held-out", s.HeldOutSeeds, LeastHeldOut, MaxListLength,
                             "Fresh seeds of the check, at least 200"),
              "200")
      ->type_name("N");
  WithDefault(
      AddWholeNumber(c, "--seed", s.SearchSeed, 0, std::numeric_limits<uint32_t>::max(), "Seed of the search itself"),
      "1")
      ->type_name("SEED");
  AddJobsOption(c, s.Jobs);
  WithDefault(c.add_option("--objective", a.Objective,
                           "What the search minimises: risk, people eaten per 1,000 swim-hours over the seeds; or "
                           "eaten, people eaten per run"),
              "risk")
      ->type_name("risk|eaten");
  AddParsedOption(
      c, "--min-use", a.MinUse,
      [](const std::string& text) {
        double v = -1;
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
        if (ec != std::errc() || end != text.data() + text.size() || !(v >= 0 && v <= 1))
          throw TBadInput("--min-use \"" + text + "\": expected a share from 0 to 1");
        return std::optional<double>(v);
      },
      "Reject a layout whose swim-hours fall below this share of the scenario's as given on the same seeds; 0: "
      "no such rule (default 0.5 with --objective risk, 0 with eaten)")
      ->type_name("SHARE");
  c.add_flag("--prune", s.Prune,
             "Drop the added objects that make no measurable difference and check the layout again");
}

void AddOutputOptions(CLI::App& c, TOptimizeArguments& a) {
  AddMapOption(c, a.Map);
  c.add_option("--heatmap-before", a.HeatmapBefore,
               "Draw where people were eaten in the check's runs of the naive layout, as a PNG picture")
      ->type_name("FILE.png");
  c.add_option("--heatmap-after", a.HeatmapAfter, "The same for the advised layout, on the same scale")
      ->type_name("FILE.png");
  AddHeatmapWidthOption(c, a.HeatmapWidth);
  c.add_option("--out", a.Out,
               "The advised scenario, written as the program writes one (needed unless --observers or --boats is "
               "a range)")
      ->type_name("BEST.wnd");
  c.add_option("--table", a.Table, "With ranges of counts: the how-many table as CSV")->type_name("FILE.csv");
  c.add_option("--plot", a.Plot, "With ranges of counts: risk and open share against the boats, as a PNG picture")
      ->type_name("FILE.png");
}

// What optimize checks and reads before it runs or writes anything.
struct TOptimizeRequest {
  QImage Map;
  TScenarioSetup Base;
  TPlacementRequest Placement;
  TSearchSettings Settings;
};

bool AsksHowMany(const TOptimizeArguments& a) { return a.Observers.IsRange() || a.Boats.IsRange(); }

// Options that belong to one question only: the advice for given counts,
// or how many.
void CheckOptionsFit(const TOptimizeArguments& a) {
  if (a.Observers.To == 0 && a.Boats.To == 0)
    throw TBadInput("nothing to place: give --observers or --boats a number above 0");
  if (!AsksHowMany(a)) {
    if (a.Out.empty()) throw TBadInput("--out BEST.wnd is required: where the advice is written");
    for (const auto& [option, path] : {std::pair{"--table", &a.Table}, std::pair{"--plot", &a.Plot}})
      if (!path->empty())
        throw TBadInput(std::string(option) +
                        " means nothing without a range of counts: give --observers or --boats a range such as 0-3");
    return;
  }
  const std::pair<const char*, bool> single[] = {{"--out", !a.Out.empty()},
                                                 {"--prune", a.Search.Prune},
                                                 {"--heatmap-before", !a.HeatmapBefore.empty()},
                                                 {"--heatmap-after", !a.HeatmapAfter.empty()}};
  for (const auto& [option, given] : single)
    if (given)
      throw TBadInput(std::string(option) +
                      " means nothing with a range of counts, which compares the counts (see --table and --plot)");
}

void CheckOutputs(const TOptimizeArguments& a) {
  if (a.Out == "-") throw TBadInput("--out -: name a file; standard output carries the report");
  for (const std::string* path : {&a.HeatmapBefore, &a.HeatmapAfter, &a.Plot})
    if (*path == "-") throw TBadInput("--heatmap-before, --heatmap-after and --plot need file names");
  if (a.Table == "-") throw TBadInput("--table -: name a file; standard output carries the report");
  CheckOutputPath(a.Out, "--out");
  CheckOutputPath(a.HeatmapBefore, "--heatmap-before");
  CheckOutputPath(a.HeatmapAfter, "--heatmap-after");
  CheckOutputPath(a.Table, "--table");
  CheckOutputPath(a.Plot, "--plot");
  CheckDistinctOutputs({{"--out", a.Out},
                        {"--heatmap-before", a.HeatmapBefore},
                        {"--heatmap-after", a.HeatmapAfter},
                        {"--table", a.Table},
                        {"--plot", a.Plot}});
  CheckNoOverlap({{"the scenario", a.Scenario}, {"the map", MapPath(a.Map)}},
                 {{"--out", a.Out},
                  {"--heatmap-before", a.HeatmapBefore},
                  {"--heatmap-after", a.HeatmapAfter},
                  {"--table", a.Table},
                  {"--plot", a.Plot}});
}

TOptimizeRequest ReadRequest(const TOptimizeArguments& a, const TConsole& console) {
  CheckOptionsFit(a);

  const std::optional<TObjective> objective = ObjectiveNamed(a.Objective);
  if (!objective)
    throw TBadInput("--objective \"" + a.Objective + "\": not an objective; the objectives are " + ObjectiveNames());
  CheckOutputs(a);
  TOptimizeRequest r{ReadMap(a.Map), ReadScenarioSetup(a.Scenario), a.Placement, a.Search};
  WarnIfEmptyScenario(a.Scenario, FileBytes(a.Scenario), console.Err);
  r.Placement.Observers = a.Observers.To;
  r.Placement.Boats = a.Boats.To;
  r.Settings.KeepDeaths = !a.HeatmapBefore.empty() || !a.HeatmapAfter.empty();
  r.Settings.Stop = console.Stop;
  r.Settings.Objective = DefaultObjectiveSettings(*objective);
  if (a.MinUse) r.Settings.Objective.MinUse = *a.MinUse;
  const TScenario& base = r.Base.Scenario;
  r.Placement.ObserverRange = a.ObserverRange          ? *a.ObserverRange
                              : base.Observers.empty() ? DefaultObserverRange
                                                       : base.Observers.back().Range;
  r.Placement.BoatSpeed = a.BoatSpeed ? *a.BoatSpeed : base.Boats.empty() ? DefaultBoatSpeed : base.Boats.back().Speed;
  r.Placement.BoatRange = a.BoatRange ? *a.BoatRange : base.Boats.empty() ? DefaultBoatRange : base.Boats.back().Range;
  const int64_t least = LeastBudget(r.Settings);
  const std::string each = " is less than one evaluation: each layout is run on --seeds-per-layout " +
                           std::to_string(r.Settings.SeedsPerEvaluation) + " seeds" +
                           (least > r.Settings.SeedsPerEvaluation ? ", and the scenario as given on the same ones" : "");
  const int combinations = SearchedCombinations(a.Observers, a.Boats);
  if (AsksHowMany(a) && r.Settings.Budget / combinations < least)
    throw TBadInput("--budget " + std::to_string(r.Settings.Budget) + " split over " + std::to_string(combinations) +
                    " combinations of counts gives each " + std::to_string(r.Settings.Budget / combinations) + each +
                    "; give at least " + std::to_string(least * combinations));
  if (r.Settings.Budget < least) throw TBadInput("--budget " + std::to_string(r.Settings.Budget) + each);
  return r;
}

// The files optimize writes; each appears only when committed.
struct TOptimizeOutputs {
  TOptimizeOutputs(const TOptimizeArguments& a, const TConsole& console) : Out(a.Out, console.Out) {
    if (!a.HeatmapBefore.empty()) Before.emplace(a.HeatmapBefore, console.Out, "--heatmap-before");
    if (!a.HeatmapAfter.empty()) After.emplace(a.HeatmapAfter, console.Out, "--heatmap-after");
  }
  TOutputFile Out;
  std::optional<TOutputFile> Before, After;
};

TOptimisation SearchWithProgress(const TLayoutSearch& search, const TSearchSettings& settings,
                                 const TConsole& console) {
  TProgressBar progress(stderr, 0, console.Terminal);  // the total comes with each report
  const TOptimisation o = search.Run(settings, [&](const TSearchProgress& p) {
    std::string note = p.Checking ? "held-out check"
                       : p.Evaluations < p.EvaluationsPlanned
                           ? std::to_string(p.Evaluations) + "/" + std::to_string(p.EvaluationsPlanned) + " layouts"
                           : "final round";
    if (p.BestScore) note += ", best " + ScoreText(*p.BestScore, settings.Objective.Objective);
    progress.SetNote(note);
    progress.SetTotal(p.RunsPlanned);
    progress.Update(p.RunsDone);
  });
  progress.Clear();
  return o;
}

std::string_view Bytes(const QByteArray& data) { return {data.constData(), static_cast<size_t>(data.size())}; }

// The heatmaps of the check, once it ran in full.
void WriteHeatmaps(TOptimizeOutputs& files, const TOptimisation& o, const TOptimizeRequest& r, int heatmapWidth,
                   TSeparateOutputs& outputs) {
  if (!files.Before && !files.After) return;
  const size_t ownObservers = r.Base.Scenario.Observers.size(), ownBoats = r.Base.Scenario.Boats.size();
  const auto app = TextSupport();
  const double peak = std::max(PeakDensity(*o.DeathsNaive), PeakDensity(*o.DeathsBest));
  auto draw = [&](const TDeathMap& deaths, const TDeathMap& boats, const TScenarioSetup& layout) {
    return PngBytes(DrawHeatmap(
        r.Map, deaths, heatmapWidth, peak,
        [&](QPainter& painter, double scale) { DrawLayout(painter, scale, layout, ownObservers, ownBoats, &boats); },
        ObjectPlaces(layout)));
  };
  if (files.Before) outputs.Put(*files.Before, Bytes(draw(*o.DeathsNaive, *o.BoatsNaive, o.Naive)));
  if (files.After) outputs.Put(*files.After, Bytes(draw(*o.DeathsBest, *o.BoatsBest, o.Best)));
}

// A stop says what the advice file holds: an unchecked layout.
int ExitStatus(const TOptimisation& o, const std::string& out, bool outWritten, const TConsole& console) {
  auto holds = [&](const std::string& layout) {
    return outWritten ? out + " holds " + layout : "the report gives " + layout + " (" + out + " could not be written)";
  };
  if (!o.SearchDone) {
    console.Err << "wendo-lab: stopped during the search, after " << o.Evaluations << " of " << o.Plan.Evaluations
                << " layouts; " << holds("the best layout found so far")
                << ", NOT checked on held-out seeds; no heatmap was written\n";
    return ExitStopped;
  }
  if (!o.CheckDone) {
    console.Err << "wendo-lab: stopped during the held-out check; " << holds("the search's best layout")
                << ", NOT checked on held-out seeds; no heatmap was written\n";
    return ExitStopped;
  }
  if (!o.WeighingDone) {
    console.Err << "wendo-lab: stopped while weighing each added object; the check is complete, but the report "
                   "says nothing of what each object is worth\n";
    return ExitStopped;
  }
  return ExitDone;
}

// How many: every combination searched and checked, the table printed
// and, when asked for, written as CSV and drawn.
int RunHowMany(const TOptimizeArguments& a, const TOptimizeRequest& r, const TConsole& console) {
  std::optional<TOutputFile> table, plot;
  if (!a.Table.empty()) table.emplace(a.Table, console.Out, "--table");
  if (!a.Plot.empty()) plot.emplace(a.Plot, console.Out, "--plot");
  TProgressBar progress(stderr, 0, console.Terminal);
  int64_t before = 0, lastDone = 0;  // runs of the combinations done
  int combination = 0;
  const THowMany t = RunHowMany(
      r.Map, r.Base, r.Placement, a.Observers, a.Boats, r.Settings, [&](const THowManyProgress& p) {
        if (p.Combination != combination) before += lastDone, combination = p.Combination;
        lastDone = p.Search.RunsDone;
        progress.SetNote("combination " + std::to_string(p.Combination) + "/" + std::to_string(p.Combinations) +
                         (p.Search.Checking ? ", held-out check" : ", search"));
        const int64_t later = int64_t{p.Combinations - p.Combination} * (r.Settings.Budget / p.Combinations +
                                                                         r.Settings.HeldOutSeeds);
        progress.SetTotal(before + p.Search.RunsPlanned + later);
        progress.Update(before + p.Search.RunsDone);
      });
  progress.Clear();
  if (!t.Done) {
    console.Err << "wendo-lab: stopped after " << t.Rows.size() << " of the combinations; nothing was written\n";
    return ExitStopped;
  }
  // The table, the plot and the text stand alone.
  TSeparateOutputs outputs;
  if (table) outputs.Put(*table, HowManyCsv(t));
  if (plot) {
    const auto app = TextSupport();
    outputs.Put(*plot, Bytes(PngBytes(HowManyPlot(t))));
  }
  TOutputFile text("", console.Out, "the report");
  outputs.Put(text, HowManyText(t, r.Settings.Objective.Objective) + "Time: " + Clock(t.Seconds) + ".\n");
  console.Err << outputs.Report();
  return outputs.AnyFailed() ? ExitFailed : ExitDone;
}

}  // namespace

CLI::App* SetupCommand(CLI::App& app, TOptimizeArguments& a) {
  CLI::App* c = app.add_subcommand("optimize", Description);
  c->footer(Footer);
  c->add_option("scenario", a.Scenario, "Scenario file (.wnd) whose parameters and objects are kept")
      ->required()
      ->type_name("SCENARIO.wnd");
  AddPlacementOptions(*c, a);
  AddSearchOptions(*c, a);
  AddOutputOptions(*c, a);
  return c;
}

int RunCommand(const TOptimizeArguments& a, const TConsole& console) {
  const TOptimizeRequest request = ReadRequest(a, console);
  if (AsksHowMany(a)) return RunHowMany(a, request, console);
  const TLayoutSearch search(request.Map, request.Base, request.Placement);
  TOptimizeOutputs files(a, console);
  const TOptimisation o = SearchWithProgress(search, request.Settings, console);
  TReportContext context{request.Settings, search, request.Base.Scenario.Observers.size(),
                         request.Base.Scenario.Boats.size(), a.Out, a.Map};
  if (o.Evaluations == 0) {
    console.Out << OptimisationReport(o, context);
    console.Err << "wendo-lab: stopped before any layout was evaluated; nothing was written\n";
    return ExitStopped;
  }
  TSeparateOutputs outputs;
  const bool outWritten = outputs.Put(files.Out, ScenarioText(WrittenLayout(o, request.Settings.Objective.Objective)));
  if (o.CheckDone) WriteHeatmaps(files, o, request, a.HeatmapWidth, outputs);
  TOutputFile text("", console.Out, "the report");
  context.OutWritten = outWritten;
  outputs.Put(text, OptimisationReport(o, context));
  const int status = ExitStatus(o, a.Out, outWritten, console);
  console.Err << outputs.Report();
  return outputs.AnyFailed() ? ExitFailed : status;
}

}  // namespace wendo_lab
