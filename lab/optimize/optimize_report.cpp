#include "optimize_report.h"

#include <cstdio>
#include <sstream>

#include "csv.h"
#include "scenario_format.h"

namespace wendo_lab {

using namespace wymianadanych;

namespace {

std::string Fixed(double v) { return FixedText(v, 2); }

std::string Range(const std::vector<uint32_t>& seeds) {
  if (seeds.empty()) return "none";
  return std::to_string(seeds.front()) + (seeds.size() > 1 ? "-" + std::to_string(seeds.back()) : "");
}

std::string Interval(const TStatistic& s) { return Fixed(s.CiLow) + " to " + Fixed(s.CiHigh); }

std::string Cell(int32_t x, int32_t y) { return "(" + std::to_string(x) + "," + std::to_string(y) + ")"; }

std::string Count(size_t n, const std::string& thing) { return std::to_string(n) + " " + thing + (n == 1 ? "" : "s"); }

// The added objects, one a line.
std::string Objects(const TScenarioSetup& layout, const TReportContext& context) {
  const TScenario& s = layout.Scenario;
  std::string text;
  for (size_t i = context.OwnObservers; i < s.Observers.size(); ++i) {
    const TObserwator& o = s.Observers[i];
    text += "  observation point at " + Cell(o.X, o.Y) + ", range " + std::to_string(o.Range) + " dm\n";
  }
  for (size_t i = context.OwnBoats; i < s.Boats.size(); ++i) {
    const TLodz& b = s.Boats[i];
    text += "  boat with its home at " + Cell(b.HomeX, b.HomeY) + " and its patrol point at " +
            Cell(b.PatrolX, b.PatrolY) + ", " + std::to_string(b.Speed) + " dm/s, range " + std::to_string(b.Range) +
            " dm\n";
  }
  return text;
}

// The table of the held-out comparison, columns aligned.
std::string CheckTable(const TLayoutCheck& c) {
  const std::vector<std::vector<std::string>> rows = {
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
  return text;
}

// What the interval of the paired difference says, and no more.
std::string VerdictText(const TStatistic& d) {
  const std::string verdict = Verdict(d);
  std::string text = "Verdict: " + verdict + ". ";
  if (verdict == "better")
    return text + "On seeds the search never used, the advised layout has " + Fixed(-d.Mean) +
           " fewer people eaten per run (95% CI " + Fixed(-d.CiHigh) + " to " + Fixed(-d.CiLow) + ").\n";
  if (verdict == "worse")
    return text + "On seeds the search never used, the advised layout has " + Fixed(d.Mean) +
           " more people eaten per run (95% CI " + Fixed(d.CiLow) + " to " + Fixed(d.CiHigh) +
           "): its lead on the search seeds was luck; the naive layout is the better choice.\n";
  return text +
         "The interval of the difference includes 0: the held-out runs do not show that the advised layout "
         "saves anyone.\n";
}

void ReportSearch(std::ostream& report, const TOptimisation& o, const TReportContext& context) {
  const int seeds = context.Settings.SeedsPerEvaluation;
  report << "Search: " << o.Evaluations << " layouts, each on the same " << seeds << " seeds (" << Range(o.Seeds.Search)
         << ")";
  if (o.Finalists > 0)
    report << "; the best " << o.Finalists << " again on " << o.Seeds.Final.size() << " more seeds ("
           << Range(o.Seeds.Final) << ")";
  report << "; " << o.SearchRuns << " runs of " << SecondsText(context.Settings.DurationMs) << " s, "
         << Clock(o.SearchSeconds) << (o.SearchDone ? "" : ", stopped") << ".\n"
         << "  people eaten, naive layout: " << Fixed(*o.NaiveSearchMean) << " on the " << seeds << " search seeds";
  if (o.NaiveFinalMean) report << ", " << Fixed(*o.NaiveFinalMean) << " on all " << o.BestSeeds << " as a finalist";
  report << "\n  people eaten, best found: " << Fixed(*o.BestMean) << " on its " << o.BestSeeds << " seeds\n";
  if (o.SearchDone && ScenarioText(o.Best) == ScenarioText(o.Naive))
    report << "  no layout did better than the naive one: the advice is the naive layout\n";
  report << "Naive layout:\n" << Objects(o.Naive, context);
}

void ReportCheck(std::ostream& report, const TOptimisation& o, const TReportContext& context) {
  const int heldOut = context.Settings.HeldOutSeeds;
  report << "Held-out check: " << heldOut << " seeds the search never used (" << Range(o.Seeds.HeldOut)
         << "), both layouts, " << 2 * int64_t{heldOut} << " runs, " << Clock(o.CheckSeconds) << ".\n"
         << CheckTable(o.Check) << VerdictText(o.Check.Difference);
}

void ReportAdvice(std::ostream& report, const TOptimisation& o, const TReportContext& context) {
  report << (o.CheckDone ? "Advised layout" : "Best layout found so far") << ", written to " << context.Out
         << " after the scenario's " << Count(context.OwnObservers, "observation point") << " and "
         << Count(context.OwnBoats, "boat") << ":\n"
         << Objects(o.Best, context);
  if (o.CheckDone)
    report << "Its check's runs again: wendo-lab run " << context.Out << " --seeds " << Range(o.Seeds.HeldOut)
           << " --duration " << SecondsText(context.Settings.DurationMs)
           << (context.Map.empty() ? "" : " --map " + context.Map) << "\n";
}

}  // namespace

std::string Clock(double seconds) {
  const auto s = static_cast<long long>(seconds + 0.5);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%lld:%02lld", s / 60, s % 60);
  return buf;
}

std::string ScenarioText(const TScenarioSetup& layout) {
  std::string text;
  WriteScenario(layout.Scenario, [&](std::string_view line) { text += line; });
  return text;
}

std::string OptimisationReport(const TOptimisation& o, const TReportContext& context) {
  if (o.Evaluations == 0) return {};
  std::ostringstream report;
  ReportSearch(report, o, context);
  if (o.CheckDone) ReportCheck(report, o, context);
  ReportAdvice(report, o, context);
  return report.str();
}

}  // namespace wendo_lab
