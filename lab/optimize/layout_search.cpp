#include "layout_search.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <utility>

#include "bad_input.h"
#include "cross_entropy.h"
#include "optimize_report.h"
#include "rules.h"
#include "terrain_picture.h"
#include "value_lists.h"
#include "wymianadanych.h"

namespace wendo_lab {

using namespace wymianadanych;

namespace {

// Where a seed range may start, so that the search's and the final
// round's seeds together (each list at most MaxListLength long) stay below
// 2^31, and the check's below 2^32.
constexpr uint32_t HalfOfSeeds = 1u << 31;
constexpr uint32_t RangeStarts = HalfOfSeeds - (1u << 25);
static_assert(2 * MaxListLength < (int64_t{1} << 25));

constexpr int MostFinalists = 4;

uint64_t SplitMix(uint64_t& state) {
  uint64_t z = (state += 0x9e3779b97f4a7c15u);
  z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9u;
  z = (z ^ (z >> 27)) * 0x94d049bb133111ebu;
  return z ^ (z >> 31);
}

// The search draws each coordinate from a normal distribution that starts
// this wide: a quarter of the map each way, so that the first generations
// look at the whole coast.
constexpr double FirstSpreadX = MapWidth / 4.0;
constexpr double FirstSpreadY = MapHeight / 4.0;

// Candidates per generation: the rule of thumb of evolution strategies for
// this many coordinates, and never fewer than six, so that the elite is a
// choice.
int Generation(size_t coordinates) {
  return std::max(6, 4 + static_cast<int>(std::floor(3 * std::log(static_cast<double>(coordinates)))));
}

}  // namespace

TSeedPlan PlanSeeds(uint32_t searchSeed, int perEvaluation, int final, int heldOut) {
  uint64_t state = searchSeed;
  const uint32_t search = static_cast<uint32_t>(SplitMix(state) % RangeStarts);
  const uint32_t check = HalfOfSeeds + static_cast<uint32_t>(SplitMix(state) % RangeStarts);
  TSeedPlan plan;
  for (int i = 0; i < perEvaluation; ++i) plan.Search.push_back(search + static_cast<uint32_t>(i));
  for (int i = 0; i < final; ++i) plan.Final.push_back(search + static_cast<uint32_t>(perEvaluation + i));
  for (int i = 0; i < heldOut; ++i) plan.HeldOut.push_back(check + static_cast<uint32_t>(i));
  return plan;
}

int64_t LeastBudget(const TSearchSettings& settings) {
  return settings.SeedsPerEvaluation * (settings.Objective.MinUse > 0 ? 2 : 1);
}

TBudgetPlan PlanBudget(const TSearchSettings& settings) {
  TBudgetPlan plan;
  const int64_t seeds = settings.SeedsPerEvaluation;
  if (seeds < 1) return plan;
  plan.AsGiven = settings.Objective.MinUse > 0;
  const int64_t asGiven = plan.AsGiven ? 1 : 0;
  plan.Finalists = MostFinalists;
  plan.FinalSeeds = static_cast<int>(std::min<int64_t>(MaxListLength, settings.Budget / 4 / MostFinalists));
  plan.Evaluations =
      (settings.Budget - int64_t{plan.Finalists + asGiven} * plan.FinalSeeds) / seeds - asGiven;
  if (plan.FinalSeeds < 1 || plan.Evaluations < 2) {
    plan.Finalists = plan.FinalSeeds = 0;
    plan.Evaluations = std::max<int64_t>(0, settings.Budget / seeds - asGiven);
  }
  return plan;
}

std::string Verdict(const TStatistic& difference) {
  if (difference.N < 2) return "no clear difference";
  if (difference.CiHigh < 0) return "better";
  if (difference.CiLow > 0) return "worse";
  return "no clear difference";
}

TLayoutSearch::TLayoutSearch(const QImage& map, TScenarioSetup base, const TPlacementRequest& request)
    : map_(map), base_(std::move(base)), request_(request) {
  if (request.Observers < 0 || request.Boats < 0) throw TBadInput("the numbers of objects to place cannot be negative");
  if (request.Observers == 0 && request.Boats == 0)
    throw TBadInput("nothing to place: give --observers or --boats a number above 0");
  TTerrainGrid grid;
  FillTerrainGridFromPicture(grid, map);
  terrain_.assign(std::as_const(grid).begin(), std::as_const(grid).end());
  const std::vector<int32_t>& terrain = terrain_;
  const auto simStep = static_cast<size_t>(FindParameter("SimStepMs") - ParameterTable.data());
  beats_ = std::make_unique<TBeatChecker>(map, base_.Scenario.Parameters[simStep]);
  for (size_t i = 0; i < base_.Scenario.Boats.size(); ++i)
    if (const TBeatTrial t = beats_->Try(base_.Scenario.Boats[i]); !t.Sailable) blocked_.push_back({i, t});
  auto prepare = [&](TObjectKind kind, int count, const char* object, const char* cells, const char* beside) {
    if (count == 0) return std::optional<TShoreLine>();
    TNearestCell nearest(terrain, kind);
    if (nearest.Empty())
      throw TBadInput(std::string("the map has no ") + cells + " cell, where " + object + " may stand");
    (kind == TObjectKind::Observer ? land_ : water_).emplace(std::move(nearest));
    std::optional<TShoreLine> shore(std::in_place, terrain, kind);
    if (shore->Empty())
      throw TBadInput(std::string("the map has no shore for ") + object + ": no " + cells + " cell beside " + beside +
                      ", where the starting layout puts it");
    return shore;
  };
  const auto land = prepare(TObjectKind::Observer, request.Observers, "an observation point", "green or olive",
                            "a water cell (blue or aqua)");
  const auto water =
      prepare(TObjectKind::Boat, request.Boats, "a boat", "water (blue or aqua)", "a green or olive cell");
  // The naive layout: the i-th of N observation points (i from 0) at
  // (i + 1/2) / N of the shore line's length; the i-th of M boats given
  // the i-th of M equal stretches of the water's shore line, with its home
  // a quarter along it and its patrol point the farthest point of the
  // stretch, up to three quarters, that the boat can sail to and back.
  for (int i = 0; i < request.Observers; ++i) naiveCells_.push_back(land->At((i + 0.5) / request.Observers));
  for (int i = 0; i < request.Boats; ++i) {
    naiveCells_.push_back(water->At((i + 0.25) / request.Boats));
    naiveCells_.push_back(NaivePatrol(*water, i));
  }
  naive_ = WithObjects(naiveCells_);
}

namespace {

TLodz Beat(TCell home, TCell patrol, const TPlacementRequest& request) {
  // As the scenario reader leaves a boat: at its home, heading out.
  TLodz b;
  b.X = b.HomeX = home.X;
  b.Y = b.HomeY = home.Y;
  b.PatrolX = patrol.X;
  b.PatrolY = patrol.Y;
  b.Speed = request.BoatSpeed;
  b.Range = request.BoatRange;
  b.Outbound = true;
  return b;
}

// Points along a boat's stretch of shore at which its patrol point is tried.
constexpr int StretchTrials = 50;

}  // namespace

TCell TLayoutSearch::NaivePatrol(const TShoreLine& water, int boat) const {
  const double stretch = 1.0 / request_.Boats, from = boat * stretch;
  const TCell home = water.At(from + stretch / 4);
  for (int k = 0; k < StretchTrials; ++k) {
    const TCell patrol = water.At(from + stretch * (0.75 - 0.5 * k / StretchTrials));
    if (beats_->Try(Beat(home, patrol, request_)).Sailable) return patrol;
  }
  return home;  // nowhere to sail: the boat waits at its home
}

TCell TLayoutSearch::SailablePatrol(TCell home, TCell patrol) const {
  const std::optional<TLodz> sailable = beats_->Sailable(Beat(home, patrol, request_), *water_);
  return sailable ? TCell{sailable->PatrolX, sailable->PatrolY} : home;
}

bool TLayoutSearch::SeesWater(const TObserwator& o) const {
  const int32_t r = std::max(0, o.Range);
  for (int32_t x = std::max(0, o.X - r); x <= std::min(MapWidth - 1, o.X + r); ++x)
    for (int32_t y = std::max(0, o.Y - r); y <= std::min(MapHeight - 1, o.Y + r); ++y)
      if (IsWater(terrain_[static_cast<size_t>(x) * MapHeight + y]) && Distance(x - o.X, y - o.Y) <= r) return true;
  return false;
}

bool TLayoutSearch::BesideWater(const TObserwator& o) const {
  for (int32_t dx = -1; dx <= 1; ++dx)
    for (int32_t dy = -1; dy <= 1; ++dy) {
      const int32_t x = o.X + dx, y = o.Y + dy;
      if (x >= 0 && x < MapWidth && y >= 0 && y < MapHeight && IsWater(terrain_[static_cast<size_t>(x) * MapHeight + y]))
        return true;
    }
  return false;
}

TScenarioSetup Without(const TScenarioSetup& layout, bool boat, size_t index) {
  TScenarioSetup less = layout;
  if (boat)
    less.Scenario.Boats.erase(less.Scenario.Boats.begin() + static_cast<std::ptrdiff_t>(index));
  else
    less.Scenario.Observers.erase(less.Scenario.Observers.begin() + static_cast<std::ptrdiff_t>(index));
  return less;
}

TScenarioSetup TLayoutSearch::WithObjects(const std::vector<TCell>& cells) const {
  TScenarioSetup layout = base_;
  TScenario& scenario = layout.Scenario;
  size_t c = 0;
  for (int i = 0; i < request_.Observers; ++i, ++c) {
    TObserwator o;
    o.X = cells[c].X;
    o.Y = cells[c].Y;
    o.Range = request_.ObserverRange;
    scenario.Observers.push_back(o);
  }
  for (int i = 0; i < request_.Boats; ++i, c += 2) scenario.Boats.push_back(Beat(cells[c], cells[c + 1], request_));
  return layout;
}

std::vector<TCell> TLayoutSearch::Snapped(const std::vector<double>& coordinates) const {
  std::vector<TCell> cells;
  for (size_t c = 0; c * 2 < coordinates.size(); ++c) {
    const bool observer = static_cast<int>(c) < request_.Observers;
    cells.push_back((observer ? *land_ : *water_).Snap(coordinates[2 * c], coordinates[2 * c + 1]));
    // A boat's cells come in pairs, its home then its patrol point.
    if (!observer && (c - static_cast<size_t>(request_.Observers)) % 2 == 1)
      cells.back() = SailablePatrol(cells[c - 1], cells.back());
  }
  return cells;
}

TOptimisation TLayoutSearch::Run(const TSearchSettings& settings,
                                 const std::function<void(const TSearchProgress&)>& progress,
                                 const TSweepRunner& runner) const {
  const auto start = std::chrono::steady_clock::now();
  auto seconds = [&] { return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(); };
  TOptimisation out;
  Search(out, settings, progress, runner, seconds);
  if (!out.SearchDone)
    out.SearchSeconds = seconds();
  else if (!out.CheckDone)
    out.CheckSeconds = seconds() - out.SearchSeconds;
  else
    out.WeighSeconds = seconds() - out.SearchSeconds - out.CheckSeconds;
  return out;
}

namespace {

// The best few distinct layouts so far, by their score; of equal scores,
// the one evaluated first.
class TFinalists {
 public:
  explicit TFinalists(size_t most) : most_(most) {}
  struct TEntry {
    double Score;
    TTotals Totals;
    std::vector<TCell> Cells;
    TScenarioSetup Layout;
  };
  void Offer(TEntry entry) {
    for (const TEntry& e : entries_)
      if (e.Cells == entry.Cells) return;
    auto at = std::find_if(entries_.begin(), entries_.end(), [&](const TEntry& e) { return entry.Score < e.Score; });
    if (static_cast<size_t>(at - entries_.begin()) >= most_) return;
    entries_.insert(at, std::move(entry));
    if (entries_.size() > most_) entries_.pop_back();
  }
  const std::vector<TEntry>& Entries() const { return entries_; }

 private:
  size_t most_;
  std::vector<TEntry> entries_;
};

}  // namespace

// One run of the search: its phases and the state they share.
class TLayoutSearch::TPass {
 public:
  TPass(const TLayoutSearch& search, TOptimisation& out, const TSearchSettings& settings,
        const std::function<void(const TSearchProgress&)>& progress, const TSweepRunner& runner)
      : search_(search),
        out_(out),
        settings_(settings),
        progress_(progress),
        runner_(runner),
        seeds_(settings.SeedsPerEvaluation) {
    out.Plan = PlanBudget(settings);
    out.Seeds = PlanSeeds(settings.SearchSeed, settings.SeedsPerEvaluation, out.Plan.FinalSeeds, settings.HeldOutSeeds);
    out.Naive = out.Best = search.naive_;
    p_.EvaluationsPlanned = out.Plan.Evaluations;
    const int64_t asGiven = out.Plan.AsGiven ? 1 : 0;
    p_.RunsPlanned = (out.Plan.Evaluations + asGiven) * seeds_ +
                     int64_t{out.Plan.Finalists + asGiven} * out.Plan.FinalSeeds + CheckRuns();
    finalists_.emplace(static_cast<size_t>(std::max(1, out.Plan.Finalists)));
    Report();
  }

  // Each phase returns false when stopped (or, for the first, when the
  // budget pays for no evaluation).
  bool AsGivenEvaluation();
  bool NaiveEvaluation() { return out_.Plan.Evaluations >= 1 && Evaluate({search_.naiveCells_}, {search_.naive_}); }
  bool Generations();
  bool FinalRound();
  bool HeldOutCheck();
  bool WeighObjects();  // false when stopped

 private:
  void Report() {
    if (progress_) progress_(p_);
  }
  // The runs of the check: three layouts, and the advice without each
  // added object when weighed (the pruned layout comes on top).
  int64_t CheckRuns() const {
    const int64_t added = search_.request_.Observers + search_.request_.Boats;
    return (1 + settings_.CheckNaive + settings_.CheckAsGiven + (settings_.WeighObjects ? added : 0)) *
           int64_t{settings_.HeldOutSeeds};
  }
  // Runs every layout on every seed, handing each run's result over in
  // order; false when stopped.
  bool RunAll(const std::vector<TScenarioSetup>& layouts, const std::vector<uint32_t>& seeds, const TRunOptions& options,
              const std::function<void(size_t layout, size_t seed, TRunResult&&)>& take);
  // The totals of each layout over the seeds.
  std::optional<std::vector<TTotals>> TotalsOn(const std::vector<TScenarioSetup>& layouts,
                                               const std::vector<uint32_t>& seeds);
  // Each layout on the held-out seeds; the first two's deaths kept when
  // asked for.
  std::optional<std::vector<TLayoutOutcome>> OutcomesOn(const std::vector<TScenarioSetup>& layouts, bool keepDeaths);
  // The score of each layout on the search's seeds, offered to the
  // finalists.
  std::optional<std::vector<double>> Evaluate(const std::vector<std::vector<TCell>>& cells,
                                              const std::vector<TScenarioSetup>& layouts);

  const TLayoutSearch& search_;
  TOptimisation& out_;
  const TSearchSettings& settings_;
  const std::function<void(const TSearchProgress&)>& progress_;
  const TSweepRunner& runner_;
  const int64_t seeds_;
  TSearchProgress p_;
  std::optional<TFinalists> finalists_;
  TTotals asGivenSearch_, asGivenFinal_;  // empty when not run: no share of swimming is asked for
};

bool TLayoutSearch::TPass::RunAll(const std::vector<TScenarioSetup>& layouts, const std::vector<uint32_t>& seeds,
                                  const TRunOptions& options,
                                  const std::function<void(size_t layout, size_t seed, TRunResult&&)>& take) {
  TSweep sweep;
  sweep.Scenarios = layouts;
  sweep.Seeds = seeds;
  sweep.DurationMs = settings_.DurationMs;
  TSweepJobs work;
  work.Jobs = settings_.Jobs;
  work.Run = options;
  work.Run.Stop = settings_.Stop;
  work.Deliver = [&](const TSweepRun& run, TRunResult&& result) {
    const auto count = static_cast<int64_t>(seeds.size());
    take(static_cast<size_t>(run.Index / count), static_cast<size_t>(run.Index % count), std::move(result));
    ++p_.RunsDone;
    Report();
  };
  work.Progress = [&](int64_t) { Report(); };
  return runner_(sweep, ShardRuns(sweep.RunCount(), {}), search_.map_, work);
}

std::optional<std::vector<TTotals>> TLayoutSearch::TPass::TotalsOn(const std::vector<TScenarioSetup>& layouts,
                                                                   const std::vector<uint32_t>& seeds) {
  std::vector<TTotals> totals(layouts.size());
  if (!RunAll(layouts, seeds, {}, [&](size_t layout, size_t, TRunResult&& r) { totals[layout].Add(r); }))
    return std::nullopt;
  return totals;
}

bool TLayoutSearch::TPass::AsGivenEvaluation() {
  if (!out_.Plan.AsGiven) return true;
  const auto totals = TotalsOn({search_.base_}, out_.Seeds.Search);
  if (!totals) return false;
  asGivenSearch_ = totals->front();
  out_.SearchRuns += seeds_;
  return true;
}

std::optional<std::vector<double>> TLayoutSearch::TPass::Evaluate(const std::vector<std::vector<TCell>>& cells,
                                                                  const std::vector<TScenarioSetup>& layouts) {
  const auto totals = TotalsOn(layouts, out_.Seeds.Search);
  if (!totals) return std::nullopt;
  std::vector<double> scores;
  for (size_t i = 0; i < layouts.size(); ++i) {
    scores.push_back(Score((*totals)[i], asGivenSearch_, settings_.Objective));
    finalists_->Offer({scores.back(), (*totals)[i], cells[i], layouts[i]});
    if (!out_.NaiveSearchScore) out_.NaiveSearchScore = scores.back();
  }
  out_.Best = finalists_->Entries().front().Layout;
  out_.BestScore = p_.BestScore = finalists_->Entries().front().Score;
  out_.BestSeeds = static_cast<int>(seeds_);
  out_.Evaluations = p_.Evaluations += static_cast<int64_t>(layouts.size());
  out_.SearchRuns += static_cast<int64_t>(layouts.size()) * seeds_;
  Report();
  return scores;
}

bool TLayoutSearch::TPass::Generations() {
  std::vector<double> mean, spread;
  for (const TCell& c : search_.naiveCells_) {
    mean.insert(mean.end(), {double(c.X), double(c.Y)});
    spread.insert(spread.end(), {FirstSpreadX, FirstSpreadY});
  }
  uint64_t state = settings_.SearchSeed;
  for (int i = 0; i < 2; ++i) SplitMix(state);  // past the two seed ranges' starts
  TCrossEntropySearch method(mean, spread, SplitMix(state));
  const int generation = Generation(mean.size());
  while (out_.Evaluations < out_.Plan.Evaluations) {
    const int count = static_cast<int>(std::min<int64_t>(generation, out_.Plan.Evaluations - out_.Evaluations));
    std::vector<std::vector<double>> points;
    std::vector<std::vector<TCell>> cells;
    std::vector<TScenarioSetup> layouts;
    for (const std::vector<double>& drawn : method.Draw(count)) {
      cells.push_back(search_.Snapped(drawn));
      std::vector<double>& point = points.emplace_back();
      for (const TCell& c : cells.back()) point.insert(point.end(), {double(c.X), double(c.Y)});
      layouts.push_back(search_.WithObjects(cells.back()));
    }
    const auto scores = Evaluate(cells, layouts);
    if (!scores) return false;  // a generation cut short counts for nothing
    method.Learn(points, *scores);
  }
  return true;
}

bool TLayoutSearch::TPass::FinalRound() {
  // The finalists on more seeds, all on the same ones, and the scenario as
  // given with them when a share of its swimming is asked for.
  const auto& entries = finalists_->Entries();
  if (out_.Plan.Finalists > 0 && entries.size() >= 2) {
    std::vector<TScenarioSetup> layouts;
    for (const auto& e : entries) layouts.push_back(e.Layout);
    if (out_.Plan.AsGiven) layouts.push_back(search_.base_);
    const auto totals = TotalsOn(layouts, out_.Seeds.Final);
    if (!totals) return false;
    TTotals asGiven = asGivenSearch_;
    if (out_.Plan.AsGiven) asGiven += totals->back();
    size_t best = 0;
    std::vector<double> scores;
    for (size_t i = 0; i < entries.size(); ++i) {
      TTotals all = entries[i].Totals;
      all += (*totals)[i];
      scores.push_back(Score(all, asGiven, settings_.Objective));
      if (scores[i] < scores[best]) best = i;
      if (entries[i].Cells == search_.naiveCells_) out_.NaiveFinalScore = scores[i];
    }
    out_.Best = entries[best].Layout;
    out_.BestScore = p_.BestScore = scores[best];
    out_.BestSeeds = static_cast<int>(seeds_) + out_.Plan.FinalSeeds;
    out_.Finalists = static_cast<int>(entries.size());
    out_.SearchRuns += static_cast<int64_t>(layouts.size()) * out_.Plan.FinalSeeds;
  }
  p_.RunsPlanned = p_.RunsDone + CheckRuns();
  return true;
}

std::optional<std::vector<TLayoutOutcome>> TLayoutSearch::TPass::OutcomesOn(const std::vector<TScenarioSetup>& layouts,
                                                                            bool keepDeaths) {
  const size_t heldOut = out_.Seeds.HeldOut.size();
  std::vector<std::vector<TCheckRun>> runs(layouts.size(), std::vector<TCheckRun>(heldOut));
  TRunOptions options;
  options.SampleEveryMs = SwimmerSampleMs;
  options.KeepDeaths = options.KeepBoatPlaces = keepDeaths;
  if (keepDeaths)
    for (auto* map : {&out_.DeathsNaive, &out_.DeathsBest, &out_.BoatsNaive, &out_.BoatsBest})
      map->emplace(search_.map_.width(), search_.map_.height());
  const bool complete =
      RunAll(layouts, out_.Seeds.HeldOut, options, [&](size_t layout, size_t seed, TRunResult&& r) {
        runs[layout][seed] = CheckRunOf(r);
        if (!keepDeaths || layout >= 2) return;
        (layout == 0 ? out_.DeathsNaive : out_.DeathsBest)->Add(r.Deaths);
        (layout == 0 ? out_.BoatsNaive : out_.BoatsBest)->Add(r.BoatPlaces);
      });
  if (!complete) return std::nullopt;
  std::vector<TLayoutOutcome> outcomes;
  for (std::vector<TCheckRun>& r : runs) outcomes.push_back(OutcomeOf(std::move(r)));
  return outcomes;
}

bool TLayoutSearch::TPass::HeldOutCheck() {
  p_.Checking = true;
  Report();
  // The naive layout first and the advice second, whose deaths the
  // heatmaps draw.
  std::vector<TScenarioSetup> layouts = {out_.Best};
  if (settings_.CheckNaive) layouts.insert(layouts.begin(), out_.Naive);
  if (settings_.CheckAsGiven) layouts.push_back(search_.base_);
  auto outcomes = OutcomesOn(layouts, settings_.KeepDeaths && settings_.CheckNaive);
  if (!outcomes) return false;
  TLayoutCheck& check = out_.Check;
  auto next = outcomes->begin();
  if (settings_.CheckNaive) check.Naive = std::move(*next++);
  check.Best = std::move(*next++);
  if (settings_.CheckAsGiven) check.AsGiven = std::move(*next++);
  const TObjective objective = settings_.Objective.Objective;
  if (settings_.CheckNaive) check.Difference = PairedDifference(check.Naive, check.Best, objective);
  if (settings_.CheckAsGiven) check.BestOverAsGiven = PairedDifference(check.AsGiven, check.Best, objective);
  return true;
}

bool TLayoutSearch::TPass::WeighObjects() {
  // The added objects stand after the scenario's own in each list.
  const TScenario& best = out_.Best.Scenario;
  std::vector<TObjectWorth> worth;
  std::vector<TScenarioSetup> layouts;
  const size_t ownObservers = search_.base_.Scenario.Observers.size(), ownBoats = search_.base_.Scenario.Boats.size();
  for (size_t i = ownObservers; i < best.Observers.size(); ++i) worth.push_back({false, i, {}});
  for (size_t i = ownBoats; i < best.Boats.size(); ++i) worth.push_back({true, i, {}});
  for (const TObjectWorth& w : worth) layouts.push_back(Without(out_.Best, w.Boat, w.Index));
  const auto outcomes = OutcomesOn(layouts, false);
  if (!outcomes) return false;
  const TObjective objective = settings_.Objective.Objective;
  for (size_t k = 0; k < worth.size(); ++k)
    worth[k].Contribution = PairedDifference(out_.Check.Best, (*outcomes)[k], objective);
  out_.Check.Worth = worth;
  if (!settings_.Prune) return true;
  // Without every object that makes no measurable difference, the last
  // first so that the indices stay right.
  TScenarioSetup pruned = out_.Best;
  for (auto w = worth.rbegin(); w != worth.rend(); ++w)
    if (!w->Measurable()) pruned = Without(pruned, w->Boat, w->Index);
  if (ScenarioText(pruned) == ScenarioText(out_.Best)) return true;
  p_.RunsPlanned += settings_.HeldOutSeeds;
  const auto again = OutcomesOn({pruned}, false);
  if (!again) return false;
  out_.Check.Pruned = pruned;
  out_.Check.PrunedOutcome = again->front();
  out_.Check.PrunedOverBest = PairedDifference(out_.Check.Best, again->front(), objective);
  return true;
}

void TLayoutSearch::Search(TOptimisation& out, const TSearchSettings& settings,
                           const std::function<void(const TSearchProgress&)>& progress, const TSweepRunner& runner,
                           const std::function<double()>& seconds) const {
  TPass pass(*this, out, settings, progress, runner);
  if (!pass.AsGivenEvaluation() || !pass.NaiveEvaluation() || !pass.Generations() || !pass.FinalRound()) return;
  out.SearchSeconds = seconds();
  out.SearchDone = true;
  if (!pass.HeldOutCheck()) return;
  out.CheckSeconds = seconds() - out.SearchSeconds;
  out.CheckDone = true;
  out.WeighingDone = !settings.WeighObjects || pass.WeighObjects();
}

}  // namespace wendo_lab
