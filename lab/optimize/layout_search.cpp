#include "layout_search.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <utility>

#include "bad_input.h"
#include "cross_entropy.h"
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

TBudgetPlan PlanBudget(const TSearchSettings& settings) {
  TBudgetPlan plan;
  const int64_t seeds = settings.SeedsPerEvaluation;
  if (seeds < 1) return plan;
  plan.Finalists = MostFinalists;
  plan.FinalSeeds = static_cast<int>(std::min<int64_t>(MaxListLength, settings.Budget / 4 / MostFinalists));
  plan.Evaluations = (settings.Budget - int64_t{plan.Finalists} * plan.FinalSeeds) / seeds;
  if (plan.FinalSeeds < 1 || plan.Evaluations < 2) {
    plan.Finalists = plan.FinalSeeds = 0;
    plan.Evaluations = settings.Budget / seeds;
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
  const std::vector<int32_t> terrain(std::as_const(grid).begin(), std::as_const(grid).end());
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
  // a quarter and its patrol point three quarters along it.
  for (int i = 0; i < request.Observers; ++i) naiveCells_.push_back(land->At((i + 0.5) / request.Observers));
  for (int i = 0; i < request.Boats; ++i) {
    naiveCells_.push_back(water->At((i + 0.25) / request.Boats));
    naiveCells_.push_back(water->At((i + 0.75) / request.Boats));
  }
  naive_ = WithObjects(naiveCells_);
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
  for (int i = 0; i < request_.Boats; ++i, c += 2) {
    // As the scenario reader leaves a boat: at its home, heading out.
    TLodz b;
    b.X = b.HomeX = cells[c].X;
    b.Y = b.HomeY = cells[c].Y;
    b.PatrolX = cells[c + 1].X;
    b.PatrolY = cells[c + 1].Y;
    b.Speed = request_.BoatSpeed;
    b.Range = request_.BoatRange;
    b.Outbound = true;
    scenario.Boats.push_back(b);
  }
  return layout;
}

std::vector<TCell> TLayoutSearch::Snapped(const std::vector<double>& coordinates) const {
  std::vector<TCell> cells;
  for (size_t c = 0; c * 2 < coordinates.size(); ++c) {
    const TNearestCell& kind = static_cast<int>(c) < request_.Observers ? *land_ : *water_;
    cells.push_back(kind.Snap(coordinates[2 * c], coordinates[2 * c + 1]));
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
  if (out.SearchDone)
    out.CheckSeconds = seconds() - out.SearchSeconds;
  else
    out.SearchSeconds = seconds();
  return out;
}

namespace {

// The best few distinct layouts so far, by their mean; of equal means, the
// one evaluated first.
class TFinalists {
 public:
  explicit TFinalists(size_t most) : most_(most) {}
  void Offer(double mean, const std::vector<TCell>& cells, const TScenarioSetup& layout) {
    for (const TEntry& e : entries_)
      if (e.Cells == cells) return;
    auto at = std::find_if(entries_.begin(), entries_.end(), [&](const TEntry& e) { return mean < e.Mean; });
    if (static_cast<size_t>(at - entries_.begin()) >= most_) return;
    entries_.insert(at, {mean, cells, layout});
    if (entries_.size() > most_) entries_.pop_back();
  }
  struct TEntry {
    double Mean;
    std::vector<TCell> Cells;
    TScenarioSetup Layout;
  };
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
    p_.RunsPlanned = out.Plan.Evaluations * seeds_ + int64_t{out.Plan.Finalists} * out.Plan.FinalSeeds +
                     2 * int64_t{settings.HeldOutSeeds};
    finalists_.emplace(static_cast<size_t>(std::max(1, out.Plan.Finalists)));
    Report();
  }

  // Each phase returns false when stopped (or, for the first, when the
  // budget pays for no evaluation).
  bool NaiveEvaluation() { return out_.Plan.Evaluations >= 1 && Evaluate({search_.naiveCells_}, {search_.naive_}); }
  bool Generations();
  bool FinalRound();
  void HeldOutCheck();

 private:
  void Report() {
    if (progress_) progress_(p_);
  }
  // Runs every layout on every seed, handing each run's result over in
  // order; false when stopped.
  bool RunAll(const std::vector<TScenarioSetup>& layouts, const std::vector<uint32_t>& seeds, bool keepDeaths,
              const std::function<void(size_t layout, size_t seed, TRunResult&&)>& take);
  // The total number of people eaten of each layout over the seeds.
  std::optional<std::vector<double>> EatenOn(const std::vector<TScenarioSetup>& layouts,
                                             const std::vector<uint32_t>& seeds);
  // The mean number eaten of each layout on the search's seeds, offered
  // to the finalists.
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
};

bool TLayoutSearch::TPass::RunAll(const std::vector<TScenarioSetup>& layouts, const std::vector<uint32_t>& seeds,
                                  bool keepDeaths,
                                  const std::function<void(size_t layout, size_t seed, TRunResult&&)>& take) {
  TSweep sweep;
  sweep.Scenarios = layouts;
  sweep.Seeds = seeds;
  sweep.DurationMs = settings_.DurationMs;
  TSweepJobs work;
  work.Jobs = settings_.Jobs;
  work.Run.KeepDeaths = keepDeaths;
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

std::optional<std::vector<double>> TLayoutSearch::TPass::EatenOn(const std::vector<TScenarioSetup>& layouts,
                                                                 const std::vector<uint32_t>& seeds) {
  std::vector<double> eaten(layouts.size(), 0.0);
  if (!RunAll(layouts, seeds, false,
              [&](size_t layout, size_t, TRunResult&& r) { eaten[layout] += r.Final.DeadPeople; }))
    return std::nullopt;
  return eaten;
}

std::optional<std::vector<double>> TLayoutSearch::TPass::Evaluate(const std::vector<std::vector<TCell>>& cells,
                                                                  const std::vector<TScenarioSetup>& layouts) {
  auto eaten = EatenOn(layouts, out_.Seeds.Search);
  if (!eaten) return eaten;
  for (double& e : *eaten) e /= static_cast<double>(seeds_);
  for (size_t i = 0; i < layouts.size(); ++i) {
    finalists_->Offer((*eaten)[i], cells[i], layouts[i]);
    if (!out_.NaiveSearchMean) out_.NaiveSearchMean = (*eaten)[i];
  }
  out_.Best = finalists_->Entries().front().Layout;
  out_.BestMean = p_.BestMean = finalists_->Entries().front().Mean;
  out_.BestSeeds = static_cast<int>(seeds_);
  out_.Evaluations = p_.Evaluations += static_cast<int64_t>(layouts.size());
  out_.SearchRuns += static_cast<int64_t>(layouts.size()) * seeds_;
  Report();
  return eaten;
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
    const auto eaten = Evaluate(cells, layouts);
    if (!eaten) return false;  // a generation cut short counts for nothing
    method.Learn(points, *eaten);
  }
  return true;
}

bool TLayoutSearch::TPass::FinalRound() {
  // The finalists on more seeds, all on the same ones.
  const auto& entries = finalists_->Entries();
  if (out_.Plan.Finalists > 0 && entries.size() >= 2) {
    std::vector<TScenarioSetup> layouts;
    for (const auto& e : entries) layouts.push_back(e.Layout);
    const auto eaten = EatenOn(layouts, out_.Seeds.Final);
    if (!eaten) return false;
    const double all = static_cast<double>(seeds_ + out_.Plan.FinalSeeds);
    size_t best = 0;
    std::vector<double> means;
    for (size_t i = 0; i < entries.size(); ++i) {
      means.push_back((entries[i].Mean * static_cast<double>(seeds_) + (*eaten)[i]) / all);
      if (means[i] < means[best]) best = i;
      if (entries[i].Cells == search_.naiveCells_) out_.NaiveFinalMean = means[i];
    }
    out_.Best = entries[best].Layout;
    out_.BestMean = p_.BestMean = means[best];
    out_.BestSeeds = static_cast<int>(seeds_) + out_.Plan.FinalSeeds;
    out_.Finalists = static_cast<int>(entries.size());
    out_.SearchRuns += static_cast<int64_t>(entries.size()) * out_.Plan.FinalSeeds;
  }
  p_.RunsPlanned = p_.RunsDone + 2 * int64_t{settings_.HeldOutSeeds};
  return true;
}

void TLayoutSearch::TPass::HeldOutCheck() {
  p_.Checking = true;
  Report();
  const size_t heldOut = out_.Seeds.HeldOut.size();
  TLayoutCheck check;
  check.NaiveEaten.assign(heldOut, 0.0);
  check.BestEaten.assign(heldOut, 0.0);
  const bool keepDeaths = settings_.KeepDeaths;
  if (keepDeaths) {
    out_.DeathsNaive.emplace(search_.map_.width(), search_.map_.height());
    out_.DeathsBest.emplace(search_.map_.width(), search_.map_.height());
  }
  const bool complete =
      RunAll({out_.Naive, out_.Best}, out_.Seeds.HeldOut, keepDeaths, [&](size_t layout, size_t seed, TRunResult&& r) {
        (layout == 0 ? check.NaiveEaten : check.BestEaten)[seed] = r.Final.DeadPeople;
        if (keepDeaths) (layout == 0 ? out_.DeathsNaive : out_.DeathsBest)->Add(r.Deaths);
      });
  if (!complete) return;
  std::vector<double> difference(heldOut);
  for (size_t s = 0; s < heldOut; ++s) difference[s] = check.BestEaten[s] - check.NaiveEaten[s];
  check.Naive = Describe(check.NaiveEaten);
  check.Best = Describe(check.BestEaten);
  check.Difference = Describe(difference);
  out_.Check = std::move(check);
  out_.CheckDone = true;
}

void TLayoutSearch::Search(TOptimisation& out, const TSearchSettings& settings,
                           const std::function<void(const TSearchProgress&)>& progress, const TSweepRunner& runner,
                           const std::function<double()>& seconds) const {
  TPass pass(*this, out, settings, progress, runner);
  if (!pass.NaiveEvaluation() || !pass.Generations() || !pass.FinalRound()) return;
  out.SearchSeconds = seconds();
  out.SearchDone = true;
  pass.HeldOutCheck();
}

}  // namespace wendo_lab
