#include "how_many.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <memory>

#include "bad_input.h"
#include "csv.h"
#include "value_lists.h"

namespace wendo_lab {

TCountRange ParseCountRange(const std::string& text, const std::string& option, int most) {
  const size_t dash = text.find('-', 1);  // a leading '-' is a sign, refused as a count
  if (dash == std::string::npos) {
    const int n = static_cast<int>(ParseWholeNumber(text, option, 0, most));
    return {n, n};
  }
  const std::string from = text.substr(0, dash), to = text.substr(dash + 1);
  if (from.empty() || to.empty() || to.find('-') != std::string::npos)
    throw TBadInput(option + " \"" + text + "\": expected a count, or a range of counts such as 0-3");
  const TCountRange r{static_cast<int>(ParseWholeNumber(from, option, 0, most)),
                      static_cast<int>(ParseWholeNumber(to, option, 0, most))};
  if (r.To < r.From)
    throw TBadInput(option + " \"" + text + "\": a range goes up, from the smaller count to the larger");
  return r;
}

int SearchedCombinations(TCountRange observers, TCountRange boats) {
  const int all = (observers.To - observers.From + 1) * (boats.To - boats.From + 1);
  return all - (observers.From == 0 && boats.From == 0 ? 1 : 0);
}

namespace {

THowManyRow* Find(std::vector<THowManyRow>& rows, int observers, int boats) {
  for (THowManyRow& r : rows)
    if (r.Observers == observers && r.Boats == boats) return &r;
  return nullptr;
}

// Each row's change from the row with one object of a kind fewer.
void AddMarginals(std::vector<THowManyRow>& rows, TObjective objective) {
  for (THowManyRow& r : rows) {
    if (const THowManyRow* fewer = Find(rows, r.Observers - 1, r.Boats))
      r.OneMorePost = PairedDifference(fewer->Outcome, r.Outcome, objective);
    if (const THowManyRow* fewer = Find(rows, r.Observers, r.Boats - 1))
      r.OneMoreBoat = PairedDifference(fewer->Outcome, r.Outcome, objective);
  }
}

}  // namespace

THowMany RunHowMany(const QImage& map, const TScenarioSetup& base, TPlacementRequest placement,
                    TCountRange observers, TCountRange boats, const TSearchSettings& settings,
                    const std::function<void(const THowManyProgress&)>& progress) {
  const auto start = std::chrono::steady_clock::now();
  THowMany table;
  table.Combinations = SearchedCombinations(observers, boats);
  table.BudgetEach = settings.Budget / std::max(1, table.Combinations);
  // Every search is set up first, so that a map without a cell or a shore
  // of a needed kind is refused before anything runs.
  struct TCombination {
    int Observers, Boats;
    std::unique_ptr<TLayoutSearch> Search;
  };
  std::vector<TCombination> searches;
  for (int o = observers.From; o <= observers.To; ++o)
    for (int b = boats.From; b <= boats.To; ++b) {
      if (o == 0 && b == 0) continue;
      placement.Observers = o;
      placement.Boats = b;
      searches.push_back({o, b, std::make_unique<TLayoutSearch>(map, base, placement)});
    }
  THowManyProgress p;
  p.Combinations = table.Combinations;
  for (const TCombination& c : searches) {
    TSearchSettings each = settings;
    each.Budget = table.BudgetEach;
    each.CheckNaive = each.WeighObjects = each.Prune = each.KeepDeaths = false;
    each.CheckAsGiven = p.Combination == 0 && observers.From == 0 && boats.From == 0;
    ++p.Combination;
    const TOptimisation o = c.Search->Run(each, [&](const TSearchProgress& s) {
      p.Search = s;
      if (progress) progress(p);
    });
    if (!o.CheckDone) return table;
    if (each.CheckAsGiven) table.Rows.push_back({0, 0, o.Check.AsGiven, {}, {}, false});
    table.Rows.push_back({c.Observers, c.Boats, o.Check.Best, {}, {}, !std::isfinite(*o.BestScore)});
    table.HeldOut = o.Seeds.HeldOut;
  }
  std::stable_sort(table.Rows.begin(), table.Rows.end(), [](const THowManyRow& a, const THowManyRow& b) {
    return a.Observers != b.Observers ? a.Observers < b.Observers : a.Boats < b.Boats;
  });
  AddMarginals(table.Rows, settings.Objective.Objective);
  table.Done = true;
  table.Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return table;
}

namespace {

std::string Fixed(double v, int decimals = 2) { return FixedText(v, decimals); }

std::string Interval(const TStatistic& s, int decimals = 2) {
  return s.N < 2 ? "-" : Fixed(s.CiLow, decimals) + " to " + Fixed(s.CiHigh, decimals);
}

std::string Counted(int n, const std::string& thing) { return std::to_string(n) + " " + thing + (n == 1 ? "" : "s"); }

TStatistic RiskOf(const TLayoutOutcome& o) { return ObjectiveOf(o, TObjective::Risk); }

std::string Change(const std::optional<TStatistic>& d) {
  if (!d) return "";
  return Fixed(d->Mean) + " (" + Interval(*d) + ")";
}

}  // namespace

std::string HowManyText(const THowMany& t, TObjective objective) {
  std::vector<std::vector<std::string>> rows = {{"posts", "boats", "eaten", "95% CI", "swim-hours", "95% CI",
                                                 "open share", "95% CI", "risk", "95% CI", "one more post",
                                                 "one more boat"}};
  for (const THowManyRow& r : t.Rows) {
    const TLayoutOutcome& o = r.Outcome;
    const TStatistic risk = RiskOf(o);
    rows.push_back({std::to_string(r.Observers), std::to_string(r.Boats), Fixed(o.Eaten.Mean), Interval(o.Eaten),
                    Fixed(o.SwimHours.Mean, 1), Interval(o.SwimHours, 1), Fixed(o.OpenShare.Mean, 3),
                    Interval(o.OpenShare, 3), risk.N > 0 ? Fixed(risk.Mean) : "-", Interval(risk),
                    Change(r.OneMorePost), Change(r.OneMoreBoat)});
  }
  std::vector<size_t> widths(rows[0].size(), 0);
  for (const auto& r : rows)
    for (size_t i = 0; i < r.size(); ++i) widths[i] = std::max(widths[i], r[i].size());
  std::string text = "How many: " + std::to_string(t.Combinations) + " combinations searched, the budget split " +
                     "evenly, " + std::to_string(t.BudgetEach) + " runs each; each best layout then run on the " +
                     "same " + std::to_string(t.HeldOut.size()) + " held-out seeds (" +
                     (t.HeldOut.empty() ? std::string("none")
                                        : std::to_string(t.HeldOut.front()) + "-" + std::to_string(t.HeldOut.back())) +
                     "); 0 posts and 0 boats is the scenario as given. Per run: people eaten, swim-hours, open " +
                     "share; risk: people eaten per 1,000 swim-hours, all runs together. One more post or boat: " +
                     "the change of the objective (" + ObjectiveName(objective) +
                     ") from the row with one fewer, paired, with its 95% interval (below 0: it helps).\n";
  for (const auto& r : rows) {
    std::string line = " ";
    for (size_t i = 0; i < r.size(); ++i) line += " " + std::string(widths[i] - r[i].size(), ' ') + r[i];
    while (line.back() == ' ') line.pop_back();
    text += line + "\n";
  }
  for (const THowManyRow& r : t.Rows)
    if (r.NoneKeptSwimming)
      text += "With " + Counted(r.Observers, "post") + " and " + Counted(r.Boats, "boat") + ", no layout of the search kept the share of swimming asked for (--min-use): the row is its "
              "naive layout, rejected like every other.\n";
  return text;
}

std::string HowManyCsv(const THowMany& t) {
  std::string out;
  AppendRecord(out, {"observers", "boats", "people_eaten", "people_eaten_ci95_low", "people_eaten_ci95_high",
                     "swim_hours", "swim_hours_ci95_low", "swim_hours_ci95_high", "open_share", "open_share_ci95_low",
                     "open_share_ci95_high", "eaten_per_1000_swim_hours", "eaten_per_1000_swim_hours_ci95_low",
                     "eaten_per_1000_swim_hours_ci95_high", "one_more_post", "one_more_post_ci95_low",
                     "one_more_post_ci95_high", "one_more_boat", "one_more_boat_ci95_low", "one_more_boat_ci95_high"});
  auto three = [](std::vector<std::string>& row, const std::optional<TStatistic>& s) {
    const bool known = s && s->N > 0, interval = s && s->N > 1;
    row.insert(row.end(), {known ? NumberText(s->Mean) : "", interval ? NumberText(s->CiLow) : "",
                           interval ? NumberText(s->CiHigh) : ""});
  };
  for (const THowManyRow& r : t.Rows) {
    std::vector<std::string> row = {std::to_string(r.Observers), std::to_string(r.Boats)};
    for (const TStatistic* s : {&r.Outcome.Eaten, &r.Outcome.SwimHours, &r.Outcome.OpenShare}) three(row, *s);
    three(row, RiskOf(r.Outcome));
    three(row, r.OneMorePost);
    three(row, r.OneMoreBoat);
    AppendRecord(out, row);
  }
  return out;
}

}  // namespace wendo_lab
