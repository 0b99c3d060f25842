#include "optimize_command.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <limits>
#include <optional>
#include <sstream>
#include <thread>

#include "bad_input.h"
#include "csv.h"
#include "heatmap.h"
#include "lab_support.h"
#include "layout_picture.h"
#include "layout_search.h"
#include "output_file.h"
#include "progress_bar.h"
#include "scenario_format.h"
#include "value_lists.h"

namespace wendo_lab {

using namespace wymianadanych;

namespace {

constexpr int64_t MostObjects = 10000;
constexpr int LeastHeldOut = 200;
constexpr int64_t MostBudget = int64_t{1} << 40;
constexpr int32_t DefaultObserverRange = 300, DefaultBoatSpeed = 50, DefaultBoatRange = 200;

int32_t NonNegative(const std::string& text, const char* option) {
  return static_cast<int32_t>(ParseWholeNumber(text, option, 0, std::numeric_limits<int32_t>::max()));
}

std::string Fixed(double v) { return FixedText(v, 2); }

std::string Clock(double seconds) {
  const auto s = static_cast<long long>(seconds + 0.5);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%lld:%02lld", s / 60, s % 60);
  return buf;
}

std::string Range(const std::vector<uint32_t>& seeds) {
  if (seeds.empty()) return "none";
  return std::to_string(seeds.front()) + (seeds.size() > 1 ? "-" + std::to_string(seeds.back()) : "");
}

std::string Interval(const TStatistic& s) { return Fixed(s.CiLow) + " to " + Fixed(s.CiHigh); }

std::string Cell(int32_t x, int32_t y) { return "(" + std::to_string(x) + "," + std::to_string(y) + ")"; }

// The added objects, one a line.
std::string Objects(const TScenarioSetup& layout, size_t ownObservers, size_t ownBoats) {
  std::string text;
  for (size_t i = ownObservers; i < layout.Observers.size(); ++i) {
    const TObserwator& o = layout.Observers[i];
    text += "  observation point at " + Cell(o.X, o.Y) + ", range " + std::to_string(o.Range) + " dm\n";
  }
  for (size_t i = ownBoats; i < layout.Boats.size(); ++i) {
    const TLodz& b = layout.Boats[i];
    text += "  boat with its home at " + Cell(b.HomeX, b.HomeY) + " and its patrol point at " +
            Cell(b.PatrolX, b.PatrolY) + ", " + std::to_string(b.Speed) + " dm/s, range " + std::to_string(b.Range) +
            " dm\n";
  }
  return text;
}

std::string Count(size_t n, const std::string& thing) { return std::to_string(n) + " " + thing + (n == 1 ? "" : "s"); }

std::string ScenarioText(const TScenarioSetup& layout) {
  TScenario scenario;
  scenario.Parameters = layout.Parameters;
  scenario.Observers = layout.Observers;
  scenario.Boats = layout.Boats;
  std::string text;
  WriteScenario(scenario, [&](std::string_view line) { text += line; });
  return text;
}

// The held-out comparison and what it says, in words that claim no more
// than the interval of the paired difference shows.
std::string CheckReport(const TOptimisation& o) {
  const TLayoutCheck& c = o.Check;
  std::vector<std::vector<std::string>> rows = {
      {"", "people eaten", "95% CI"},
      {"naive layout", Fixed(c.Naive.Mean), Interval(c.Naive)},
      {"advised layout", Fixed(c.Best.Mean), Interval(c.Best)},
      {"advised - naive, paired", Fixed(c.Difference.Mean), Interval(c.Difference)},
  };
  std::vector<size_t> widths(3, 0);
  for (const auto& r : rows)
    for (size_t i = 0; i < r.size(); ++i) widths[i] = std::max(widths[i], r[i].size());
  std::string text;
  for (const auto& r : rows) {
    std::string line = "  " + r[0] + std::string(widths[0] - r[0].size(), ' ');
    for (size_t i = 1; i < r.size(); ++i) line += "  " + std::string(widths[i] - r[i].size(), ' ') + r[i];
    text += line + "\n";
  }
  const std::string verdict = Verdict(c.Difference);
  const TStatistic& d = c.Difference;
  text += "Verdict: " + verdict + ". ";
  if (verdict == "better")
    text += "On seeds the search never used, the advised layout has " + Fixed(-d.Mean) +
            " fewer people eaten per run (95% CI " + Fixed(-d.CiHigh) + " to " + Fixed(-d.CiLow) + ").\n";
  else if (verdict == "worse")
    text += "On seeds the search never used, the advised layout has " + Fixed(d.Mean) +
            " more people eaten per run (95% CI " + Fixed(d.CiLow) + " to " + Fixed(d.CiHigh) +
            "): its lead on the search seeds was luck; the naive layout is the better choice.\n";
  else
    text +=
        "The interval of the difference includes 0: the held-out runs do not show that the advised layout "
        "saves anyone.\n";
  return text;
}

}  // namespace

CLI::App* AddOptimizeCommand(CLI::App& app, TOptimizeArguments& a) {
  CLI::App* c = app.add_subcommand(
      "optimize",
      "Finds where N more observation points and M more boats save the most swimmers: keeps the scenario's "
      "parameters and its own objects, adds the new ones where the objects dialog accepts them (an observation "
      "point on a green or olive cell, a boat's home and patrol point on a blue or aqua water cell), searches for "
      "the layout with the fewest people eaten on average, checks it against a naive layout on fresh seeds, and "
      "writes it as a scenario file.");
  c->footer(
      "Search: every layout is run on the same --seeds seeds (common random numbers), so layouts differ by where "
      "their objects stand, not by luck. It starts from the naive layout and follows the cross-entropy method: "
      "each generation draws layouts from a normal distribution per coordinate, puts every position on the "
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
      "Exit status: 0 done; 2 bad input, nothing written; 1 a file could not be written; 130 stopped (Ctrl-C): "
      "the best layout found so far is written all the same, unchecked, as standard error says.");
  c->add_option("scenario", a.Scenario, "Scenario file (.wnd) whose parameters and objects are kept")
      ->required()
      ->type_name("SCENARIO.wnd");
  c->add_option("--observers", a.Observers, "Observation points to add")->capture_default_str()->type_name("N");
  c->add_option("--boats", a.Boats, "Boats to add")->capture_default_str()->type_name("M");
  c->add_option("--observer-range", a.ObserverRange,
                "Range of the added observation points (default: the scenario's last one's, else 300)")
      ->type_name("DM");
  c->add_option("--boat-speed", a.BoatSpeed, "Speed of the added boats (default: the scenario's last one's, else 50)")
      ->type_name("DM/S");
  c->add_option("--boat-range", a.BoatRange, "Range of the added boats (default: the scenario's last one's, else 200)")
      ->type_name("DM");
  c->add_option("--duration", a.Duration, "Simulated seconds per run")->capture_default_str()->type_name("SECONDS");
  c->add_option("--seeds", a.Seeds, "Seeds each layout of the search is run on")->capture_default_str()->type_name("N");
  c->add_option("--budget", a.Budget, "Runs the search may spend (the check comes on top)")
      ->capture_default_str()
      ->type_name("RUNS");
  c->add_option("--held-out", a.HeldOut, "Fresh seeds of the check, at least 200")
      ->capture_default_str()
      ->type_name("N");
  c->add_option("--seed", a.Seed, "Seed of the search itself")->capture_default_str()->type_name("SEED");
  c->add_option("--jobs", a.Jobs, "Runs at once (default: all cores)")->type_name("N");
  c->add_option("--map", a.Map, "Map picture (default: the program's own wendo.bmp)")->type_name("FILE.bmp");
  c->add_option("--heatmap-before", a.HeatmapBefore,
                "Draw where people were eaten in the check's runs of the naive layout, as a PNG picture")
      ->type_name("FILE.png");
  c->add_option("--heatmap-after", a.HeatmapAfter, "The same for the advised layout, on the same scale")
      ->type_name("FILE.png");
  c->add_option("--heatmap-width", a.HeatmapWidth, "Width of the heatmaps in pixels, up to 800 (aspect kept)")
      ->capture_default_str()
      ->type_name("PIXELS");
  c->add_option("--out", a.Out, "The advised scenario, written as the program writes one")
      ->required()
      ->type_name("BEST.wnd");
  return c;
}

int Optimize(const TOptimizeArguments& a, const TConsole& console) {
  // Everything is checked before anything runs or is written.
  TPlacementRequest request;
  request.Observers = static_cast<int>(ParseWholeNumber(a.Observers, "--observers", 0, MostObjects));
  request.Boats = static_cast<int>(ParseWholeNumber(a.Boats, "--boats", 0, MostObjects));
  if (request.Observers == 0 && request.Boats == 0)
    throw TBadInput("nothing to place: give --observers or --boats a number above 0");
  TSearchSettings settings;
  settings.DurationMs = ParseSecondsAsMs(a.Duration, "--duration");
  settings.SeedsPerEvaluation = static_cast<int>(ParseWholeNumber(a.Seeds, "--seeds", 1, MaxListLength));
  settings.Budget = ParseWholeNumber(a.Budget, "--budget", 1, MostBudget);
  if (settings.Budget < settings.SeedsPerEvaluation)
    throw TBadInput("--budget " + a.Budget + " is less than one evaluation: each layout is run on --seeds " +
                    std::to_string(settings.SeedsPerEvaluation) + " seeds");
  settings.HeldOutSeeds = static_cast<int>(ParseWholeNumber(a.HeldOut, "--held-out", LeastHeldOut, MaxListLength));
  settings.SearchSeed =
      static_cast<uint32_t>(ParseWholeNumber(a.Seed, "--seed", 0, std::numeric_limits<uint32_t>::max()));
  const int hardware = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  settings.Jobs = a.Jobs.empty() ? hardware : ParseCount(a.Jobs, "--jobs", 4096);
  const int heatmapWidth = ParseCount(a.HeatmapWidth, "--heatmap-width", 800);
  settings.KeepDeaths = !a.HeatmapBefore.empty() || !a.HeatmapAfter.empty();
  settings.Stop = console.Stop;
  if (a.Out == "-") throw TBadInput("--out -: name a file; standard output carries the report");
  for (const std::string* path : {&a.HeatmapBefore, &a.HeatmapAfter})
    if (*path == "-") throw TBadInput("--heatmap-before and --heatmap-after need file names");
  CheckOutputPath(a.Out, "--out");
  CheckOutputPath(a.HeatmapBefore, "--heatmap-before");
  CheckOutputPath(a.HeatmapAfter, "--heatmap-after");
  CheckDistinctOutputs({{"--out", a.Out}, {"--heatmap-before", a.HeatmapBefore}, {"--heatmap-after", a.HeatmapAfter}});
  const QImage map = ReadMap(a.Map);
  const TScenarioSetup base = ReadScenarioSetup(a.Scenario);
  request.ObserverRange = !a.ObserverRange.empty() ? NonNegative(a.ObserverRange, "--observer-range")
                          : base.Observers.empty() ? DefaultObserverRange
                                                   : base.Observers.back().Range;
  request.BoatSpeed = !a.BoatSpeed.empty() ? NonNegative(a.BoatSpeed, "--boat-speed")
                      : base.Boats.empty() ? DefaultBoatSpeed
                                           : base.Boats.back().Speed;
  request.BoatRange = !a.BoatRange.empty() ? NonNegative(a.BoatRange, "--boat-range")
                      : base.Boats.empty() ? DefaultBoatRange
                                           : base.Boats.back().Range;
  const TLayoutSearch search(map, base, request);

  TOutputFile out(a.Out, console.Out);
  std::optional<TOutputFile> before, after;
  if (!a.HeatmapBefore.empty()) before.emplace(a.HeatmapBefore, console.Out);
  if (!a.HeatmapAfter.empty()) after.emplace(a.HeatmapAfter, console.Out);

  const TBudgetPlan plan = PlanBudget(settings);
  TProgressBar progress(stderr, 0, console.Terminal);  // the total comes with each report
  const TOptimisation o = search.Run(settings, [&](const TSearchProgress& p) {
    std::string note = p.Checking ? "held-out check"
                       : p.Evaluations < p.EvaluationsPlanned
                           ? std::to_string(p.Evaluations) + "/" + std::to_string(p.EvaluationsPlanned) + " layouts"
                           : "final round";
    if (p.BestMean) note += ", best " + Fixed(*p.BestMean) + " eaten";
    progress.SetNote(note);
    progress.SetTotal(p.RunsPlanned);
    progress.Update(p.RunsDone);
  });
  progress.Clear();

  const size_t ownObservers = base.Observers.size(), ownBoats = base.Boats.size();
  std::ostringstream report;
  if (o.Evaluations > 0) {
    report << "Search: " << o.Evaluations << " layouts, each on the same " << settings.SeedsPerEvaluation << " seeds ("
           << Range(o.Seeds.Search) << ")";
    if (o.Finalists > 0)
      report << "; the best " << o.Finalists << " again on " << o.Seeds.Final.size() << " more seeds ("
             << Range(o.Seeds.Final) << ")";
    report << "; " << o.SearchRuns << " runs of " << SecondsText(settings.DurationMs) << " s, "
           << Clock(o.SearchSeconds) << (o.SearchDone ? "" : ", stopped") << ".\n"
           << "  people eaten, naive layout: " << Fixed(*o.NaiveSearchMean) << " on the " << settings.SeedsPerEvaluation
           << " search seeds";
    if (o.NaiveFinalMean) report << ", " << Fixed(*o.NaiveFinalMean) << " on all " << o.BestSeeds << " as a finalist";
    report << "\n  people eaten, best found: " << Fixed(*o.BestMean) << " on its " << o.BestSeeds << " seeds\n";
    if (o.SearchDone && ScenarioText(o.Best) == ScenarioText(o.Naive))
      report << "  no layout did better than the naive one: the advice is the naive layout\n";
    report << "Naive layout:\n" << Objects(o.Naive, ownObservers, ownBoats);
  }
  if (o.CheckDone) {
    report << "Held-out check: " << settings.HeldOutSeeds << " seeds the search never used (" << Range(o.Seeds.HeldOut)
           << "), both layouts, " << 2 * int64_t{settings.HeldOutSeeds} << " runs, " << Clock(o.CheckSeconds) << ".\n"
           << CheckReport(o);
  }
  if (o.Evaluations == 0) {
    console.Out << report.str();
    console.Err << "wendo-lab: stopped before any layout was evaluated; nothing was written\n";
    return ExitStopped;
  }
  report << (o.CheckDone ? "Advised layout" : "Best layout found so far") << ", written to " << a.Out
         << " after the scenario's " << Count(ownObservers, "observation point") << " and " << Count(ownBoats, "boat")
         << ":\n"
         << Objects(o.Best, ownObservers, ownBoats);
  if (o.CheckDone)
    report << "Its check's runs again: wendo-lab run " << a.Out << " --seeds " << Range(o.Seeds.HeldOut)
           << " --duration " << SecondsText(settings.DurationMs) << (a.Map.empty() ? "" : " --map " + a.Map) << "\n";

  if (o.CheckDone && (before || after)) {
    const auto app = TextSupport();
    const double peak = std::max(PeakDensity(*o.DeathsNaive), PeakDensity(*o.DeathsBest));
    auto draw = [&](TOutputFile& file, const TDeathMap& deaths, const TScenarioSetup& layout) {
      const QImage picture = DrawHeatmap(map, deaths, heatmapWidth, peak, [&](QPainter& painter, double scale) {
        DrawLayout(painter, scale, layout, ownObservers, ownBoats);
      });
      const QByteArray png = PngBytes(picture);
      file.Write(std::string_view(png.constData(), static_cast<size_t>(png.size())));
    };
    if (before) draw(*before, *o.DeathsNaive, o.Naive);
    if (after) draw(*after, *o.DeathsBest, o.Best);
  }
  out.Write(ScenarioText(o.Best));
  out.Commit();
  if (o.CheckDone) {
    if (before) before->Commit();
    if (after) after->Commit();
  }
  console.Out << report.str();
  console.Out.flush();
  if (!o.SearchDone) {
    console.Err << "wendo-lab: stopped during the search, after " << o.Evaluations << " of " << plan.Evaluations
                << " layouts; " << a.Out
                << " holds the best layout found so far, NOT checked on held-out seeds; no heatmap was written\n";
    return ExitStopped;
  }
  if (!o.CheckDone) {
    console.Err << "wendo-lab: stopped during the held-out check; " << a.Out
                << " holds the search's best layout, NOT checked on held-out seeds; no heatmap was written\n";
    return ExitStopped;
  }
  return 0;
}

}  // namespace wendo_lab
