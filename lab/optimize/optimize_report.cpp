#include "optimize_report.h"

#include <cmath>
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

std::string Interval(const TStatistic& s, int decimals = 2) {
  if (s.N < 2) return "-";
  return FixedText(s.CiLow, decimals) + " to " + FixedText(s.CiHigh, decimals);
}

std::string Cell(int32_t x, int32_t y) { return "(" + std::to_string(x) + "," + std::to_string(y) + ")"; }

std::string Count(size_t n, const std::string& thing) { return std::to_string(n) + " " + thing + (n == 1 ? "" : "s"); }

std::string Percent(double share) { return FixedText(100 * share, 0) + "%"; }

// The objective in words, for headings and sentences.
std::string ObjectiveWords(TObjective objective) {
  return objective == TObjective::Risk ? "people eaten per 1,000 swim-hours" : "people eaten per run";
}

std::string Post(const TObserwator& o, const TLayoutSearch& search) {
  std::string text = "observation point at " + Cell(o.X, o.Y) + ", range " + std::to_string(o.Range) + " dm";
  if (!search.SeesWater(o)) text += " (its circle holds no water: it sees no shark)";
  if (search.BesideWater(o)) text += " (next to water, where the people it warns cannot flee)";
  return text;
}

std::string BoatText(const TLodz& b) {
  return "boat with its home at " + Cell(b.HomeX, b.HomeY) + " and its patrol point at " + Cell(b.PatrolX, b.PatrolY) +
         ", " + std::to_string(b.Speed) + " dm/s, range " + std::to_string(b.Range) + " dm";
}

// The added objects, one a line.
std::string Objects(const TScenarioSetup& layout, const TReportContext& context) {
  const TScenario& s = layout.Scenario;
  std::string text;
  for (size_t i = context.OwnObservers; i < s.Observers.size(); ++i)
    text += "  " + Post(s.Observers[i], context.Search) + "\n";
  for (size_t i = context.OwnBoats; i < s.Boats.size(); ++i) text += "  " + BoatText(s.Boats[i]) + "\n";
  return text;
}

// Rows of cells, the first column to the left, the others to the right.
std::string Aligned(const std::vector<std::vector<std::string>>& rows) {
  std::vector<size_t> widths;
  for (const auto& r : rows)
    for (size_t i = 0; i < r.size(); ++i) {
      if (widths.size() <= i) widths.push_back(0);
      widths[i] = std::max(widths[i], r[i].size());
    }
  std::string text;
  for (const auto& r : rows) {
    std::string line = "  " + r[0] + std::string(widths[0] - r[0].size(), ' ');
    for (size_t i = 1; i < r.size(); ++i) line += "  " + std::string(widths[i] - r[i].size(), ' ') + r[i];
    while (!line.empty() && line.back() == ' ') line.pop_back();
    text += line + "\n";
  }
  return text;
}

std::vector<std::string> OutcomeRow(const std::string& name, const TLayoutOutcome& o) {
  TStatistic risk;
  risk.N = o.Risk.IntervalKnown ? o.Risk.N : 0;
  risk.CiLow = o.Risk.CiLow;
  risk.CiHigh = o.Risk.CiHigh;
  return {name,
          Fixed(o.Eaten.Mean),
          Interval(o.Eaten),
          FixedText(o.SwimHours.Mean, 1),
          Interval(o.SwimHours, 1),
          FixedText(o.OpenShare.Mean, 3),
          Interval(o.OpenShare, 3),
          o.Risk.Known ? Fixed(o.Risk.Ratio) : "-",
          Interval(risk)};
}

// The held-out comparison, one row per layout, each figure a mean per run
// with its 95% interval; the risk a ratio of totals.
std::string CheckTable(const TLayoutCheck& c) {
  return Aligned({{"", "eaten", "95% CI", "swim-hours", "95% CI", "open share", "95% CI", "risk", "95% CI"},
                  OutcomeRow("scenario as given", c.AsGiven),
                  OutcomeRow("naive layout", c.Naive),
                  OutcomeRow("advised layout", c.Best)});
}

std::string Difference(const TStatistic& d) { return Fixed(d.Mean) + " (95% CI " + Interval(d) + ")"; }

// What the interval of the paired difference says, and no more.
std::string VerdictText(const TStatistic& d, TObjective objective) {
  const std::string verdict = Verdict(d), what = ObjectiveWords(objective);
  std::string text = "Verdict: " + verdict + ". ";
  if (verdict == "better")
    return text + "On seeds the search never used, the advised layout has " + Fixed(-d.Mean) + " fewer " + what +
           " (95% CI " + Fixed(-d.CiHigh) + " to " + Fixed(-d.CiLow) + ").\n";
  if (verdict == "worse")
    return text + "On seeds the search never used, the advised layout has " + Fixed(d.Mean) + " more " + what +
           " (95% CI " + Interval(d) + "): its lead on the search seeds was luck; the naive layout is the better choice.\n";
  return text + "The interval of the difference includes 0: the held-out runs do not show that the advised layout "
                "does better than the naive one.\n";
}

// What the advice buys over the scenario as given, in safety and in swimming.
std::string OverAsGiven(const TLayoutCheck& c, TObjective objective) {
  const TStatistic& d = c.BestOverAsGiven;
  const double swimming = c.Best.SwimHours.Mean - c.AsGiven.SwimHours.Mean;
  std::string text = "Against the scenario as given (no object added), advised - as given, paired: " + Difference(d) +
                     " " + ObjectiveWords(objective) + "; " + (swimming >= 0 ? "+" : "") + FixedText(swimming, 1) +
                     " swim-hours per run.\n";
  const std::string verdict = Verdict(d);
  if (verdict == "better") return text;
  if (verdict == "worse")
    return text + "The advice is less safe than adding nothing at all" +
           (swimming > 0 ? ": what it buys is more swimming, not safety.\n" : ".\n");
  return text + "The advice buys no measurable safety over the scenario as given" +
         (swimming > 0 ? "; what it buys is more swimming.\n" : ".\n");
}

// "the beach is closed" for every layout of the check whose swimmers are
// gone in the last half of the run.
std::string ClosedBeaches(const TLayoutCheck& c) {
  std::string text;
  const std::pair<const char*, const TLayoutOutcome*> layouts[] = {
      {"scenario as given", &c.AsGiven}, {"naive layout", &c.Naive}, {"advised layout", &c.Best}};
  for (const auto& [name, o] : layouts)
    if (o->NobodySwimsAfterMinutes)
      text += std::string("With the ") + name + ", the beach is closed: after " +
              std::to_string(*o->NobodySwimsAfterMinutes) + " minutes nobody swims (fewer than one swimmer on average " +
              "over the last half of the run, " + FixedText(o->LastHalfSwimmers, 2) + ").\n";
  return text;
}

std::string WorthTable(const TOptimisation& o, const TReportContext& context) {
  const TObjective objective = context.Settings.Objective.Objective;
  std::vector<std::vector<std::string>> rows = {{"object", "worth", "95% CI", ""}};
  const TScenario& s = o.Best.Scenario;
  for (const TObjectWorth& w : o.Check.Worth) {
    const std::string name = w.Boat ? BoatText(s.Boats[w.Index]) : Post(s.Observers[w.Index], context.Search);
    rows.push_back({name, Fixed(w.Contribution.Mean), Interval(w.Contribution),
                    w.Measurable() ? (w.Contribution.Mean > 0 ? "helps" : "does harm") : "makes no measurable difference"});
  }
  return "What each added object is worth: the advised layout without it, less with it, in " +
         ObjectiveWords(objective) + ", the same held-out seeds (above 0: it helps):\n" + Aligned(rows);
}

std::string PrunedText(const TOptimisation& o, const TReportContext& context) {
  const TLayoutCheck& c = o.Check;
  if (!c.Pruned) return "Pruning: every added object makes a measurable difference; nothing was dropped.\n";
  return "Pruned layout, without the objects that make no measurable difference, on the same seeds:\n" +
         Aligned({{"", "eaten", "95% CI", "swim-hours", "95% CI", "open share", "95% CI", "risk", "95% CI"},
                  OutcomeRow("pruned layout", *c.PrunedOutcome)}) +
         "  pruned - advised, paired: " + Difference(c.PrunedOverBest) + " " +
         ObjectiveWords(context.Settings.Objective.Objective) + "\n";
}

std::string BlockedBoats(const TReportContext& context, const TScenarioSetup& base) {
  std::string text;
  for (const TBlockedBoat& b : context.Search.BlockedBoats())
    text += "The scenario's boat " + std::to_string(b.Index + 1) + " (" + BoatText(base.Scenario.Boats[b.Index]) +
            ") cannot sail its beat: it stops at " + Cell(b.Trial.Stop.X, b.Trial.Stop.Y) + " on its way " +
            (b.Trial.StoppedOutbound ? "out" : "back") + ", where the next cell is not water.\n";
  return text;
}

void ReportSearch(std::ostream& report, const TOptimisation& o, const TReportContext& context) {
  const int seeds = context.Settings.SeedsPerEvaluation;
  const TObjectiveSettings& objective = context.Settings.Objective;
  report << BlockedBoats(context, context.Search.Naive()) << "Objective: " << ObjectiveName(objective.Objective)
         << ", " << ObjectiveWords(objective.Objective);
  if (objective.MinUse > 0)
    report << "; a layout with less than " << Percent(objective.MinUse)
           << " of the swim-hours of the scenario as given on the same seeds is rejected";
  report << ".\nSearch: " << o.Evaluations << " layouts, each on the same " << seeds << " seeds ("
         << Range(o.Seeds.Search) << ")";
  if (o.Finalists > 0)
    report << "; the best " << o.Finalists << " again on " << o.Seeds.Final.size() << " more seeds ("
           << Range(o.Seeds.Final) << ")";
  report << "; " << o.SearchRuns << " runs of " << SecondsText(context.Settings.DurationMs) << " s, "
         << Clock(o.SearchSeconds) << (o.SearchDone ? "" : ", stopped") << ".\n"
         << "  naive layout: " << ScoreText(*o.NaiveSearchScore, objective.Objective) << " on the " << seeds
         << " search seeds";
  if (o.NaiveFinalScore)
    report << ", " << ScoreText(*o.NaiveFinalScore, objective.Objective) << " on all " << o.BestSeeds
           << " as a finalist";
  report << "\n  best found: " << ScoreText(*o.BestScore, objective.Objective) << " on its " << o.BestSeeds
         << " seeds\n";
  if (Rejected(*o.BestScore))
    report << "  every layout of the search was rejected: none kept " << Percent(objective.MinUse)
           << " of the swimming of the scenario as given\n";
  else if (o.SearchDone && ScenarioText(o.Best) == ScenarioText(o.Naive))
    report << "  no layout did better than the naive one: the advice is the naive layout\n";
  report << "Naive layout:\n" << Objects(o.Naive, context);
}

void ReportCheck(std::ostream& report, const TOptimisation& o, const TReportContext& context) {
  const int heldOut = context.Settings.HeldOutSeeds;
  const TObjective objective = context.Settings.Objective.Objective;
  report << "Held-out check: " << heldOut << " seeds the search never used (" << Range(o.Seeds.HeldOut)
         << "), the scenario as given, the naive and the advised layout, " << 3 * int64_t{heldOut} << " runs, "
         << Clock(o.CheckSeconds) << ". Per run: people eaten, swim-hours, the share of the time without an "
         << "alarm (open share); risk: people eaten per 1,000 swim-hours, all runs together (delta-method interval).\n"
         << CheckTable(o.Check) << "  advised - naive, paired: " << Difference(o.Check.Difference) << " "
         << ObjectiveWords(objective) << "\n"
         << VerdictText(o.Check.Difference, objective) << OverAsGiven(o.Check, objective) << ClosedBeaches(o.Check);
  if (!o.Check.Worth.empty())
    report << WorthTable(o, context) << "  (" << o.Check.Worth.size() * int64_t{heldOut} << " runs, "
           << Clock(o.WeighSeconds) << ")\n";
  if (o.WeighingDone && context.Settings.Prune) report << PrunedText(o, context);
}

void ReportAdvice(std::ostream& report, const TOptimisation& o, const TReportContext& context) {
  std::string what;
  const TScenarioSetup& written = WrittenLayout(o, context.Settings.Objective.Objective, &what);
  report << what << (context.OutWritten ? ", written to " : ", which could not be written to ") << context.Out
         << (context.OutWritten ? "" : " (see standard error),") << " after the scenario's "
         << Count(context.OwnObservers, "observation point") << " and " << Count(context.OwnBoats, "boat") << ":\n"
         << Objects(written, context);
  if (o.CheckDone && context.OutWritten)
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

const TScenarioSetup& WrittenLayout(const TOptimisation& o, TObjective objective, std::string* what) {
  auto say = [&](const std::string& text) {
    if (what) *what = text;
  };
  if (!o.CheckDone) {
    say("Best layout found so far, NOT checked on held-out seeds");
    return o.Best;
  }
  if (Verdict(o.Check.Difference) == "better") {
    if (o.Check.Pruned) {
      say("Advised layout, pruned of the objects that make no measurable difference");
      return *o.Check.Pruned;
    }
    say("Advised layout");
    return o.Best;
  }
  const double naive = ObjectiveOf(o.Check.Naive, objective).Mean, best = ObjectiveOf(o.Check.Best, objective).Mean;
  if (naive <= best) {
    say("Not advice: the search found nothing clearly better than the naive layout. The naive layout, the better of "
        "the two on the held-out seeds by the point estimate");
    return o.Naive;
  }
  say("Not advice: the search's best layout is not clearly better than the naive one; it is only the better of the "
      "two on the held-out seeds by the point estimate");
  return o.Best;
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
