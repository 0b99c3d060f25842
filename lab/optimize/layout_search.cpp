#include "layout_search.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <memory>

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
  std::vector<int32_t> terrain;
  {
    const auto world = std::make_unique<TWorld>();
    FillTerrainFromPicture(*world, map);
    const TTerrainGrid& grid = world->TerrainGrid;
    terrain.assign(grid.begin(), grid.end());
  }
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
  size_t c = 0;
  for (int i = 0; i < request_.Observers; ++i, ++c) {
    TObserwator o;
    o.X = cells[c].X;
    o.Y = cells[c].Y;
    o.Range = request_.ObserverRange;
    layout.Observers.push_back(o);
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
    layout.Boats.push_back(b);
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

void TLayoutSearch::Search(TOptimisation& out, const TSearchSettings& settings,
                           const std::function<void(const TSearchProgress&)>& progress, const TSweepRunner& runner,
                           const std::function<double()>& seconds) const {
  out.Plan = PlanBudget(settings);
  out.Seeds = PlanSeeds(settings.SearchSeed, settings.SeedsPerEvaluation, out.Plan.FinalSeeds, settings.HeldOutSeeds);
  out.Naive = out.Best = naive_;
  const int64_t seeds = settings.SeedsPerEvaluation;
  TSearchProgress p;
  p.EvaluationsPlanned = out.Plan.Evaluations;
  p.RunsPlanned = out.Plan.Evaluations * seeds + int64_t{out.Plan.Finalists} * out.Plan.FinalSeeds +
                  2 * int64_t{settings.HeldOutSeeds};
  auto report = [&] {
    if (progress) progress(p);
  };

  // Runs every layout on every seed, handing each run's result over in
  // order; false when stopped.
  auto runAll = [&](const std::vector<TScenarioSetup>& layouts, const std::vector<uint32_t>& seedList, bool keepDeaths,
                    const std::function<void(size_t layout, size_t seed, TRunResult &&)>& take) {
    TSweep sweep;
    sweep.Scenarios = layouts;
    sweep.Seeds = seedList;
    sweep.DurationMs = settings.DurationMs;
    TSweepJobs work;
    work.Jobs = settings.Jobs;
    work.Run.KeepDeaths = keepDeaths;
    work.Run.Stop = settings.Stop;
    work.Deliver = [&](const TSweepRun& run, TRunResult&& result) {
      const auto count = static_cast<int64_t>(seedList.size());
      take(static_cast<size_t>(run.Index / count), static_cast<size_t>(run.Index % count), std::move(result));
      ++p.RunsDone;
      report();
    };
    work.Progress = [&](int64_t) { report(); };
    return runner(sweep, ShardRuns(sweep.RunCount(), {}), map_, work);
  };
  // The total number of people eaten of each layout over the seeds.
  auto eatenOn = [&](const std::vector<TScenarioSetup>& layouts,
                     const std::vector<uint32_t>& seedList) -> std::optional<std::vector<double>> {
    std::vector<double> eaten(layouts.size(), 0.0);
    if (!runAll(layouts, seedList, false,
                [&](size_t layout, size_t, TRunResult&& r) { eaten[layout] += r.Final.PeopleEaten; }))
      return std::nullopt;
    return eaten;
  };
  report();

  TFinalists finalists(static_cast<size_t>(std::max(1, out.Plan.Finalists)));
  auto evaluate = [&](const std::vector<std::vector<TCell>>& cells, const std::vector<TScenarioSetup>& layouts) {
    auto eaten = eatenOn(layouts, out.Seeds.Search);
    if (!eaten) return eaten;
    for (double& e : *eaten) e /= static_cast<double>(seeds);
    for (size_t i = 0; i < layouts.size(); ++i) {
      finalists.Offer((*eaten)[i], cells[i], layouts[i]);
      if (!out.NaiveSearchMean) out.NaiveSearchMean = (*eaten)[i];
    }
    out.Best = finalists.Entries().front().Layout;
    out.BestMean = p.BestMean = finalists.Entries().front().Mean;
    out.BestSeeds = static_cast<int>(seeds);
    out.Evaluations = p.Evaluations += static_cast<int64_t>(layouts.size());
    out.SearchRuns += static_cast<int64_t>(layouts.size()) * seeds;
    report();
    return eaten;
  };

  if (out.Plan.Evaluations < 1 || !evaluate({naiveCells_}, {naive_})) return;

  std::vector<double> mean, spread;
  for (const TCell& c : naiveCells_) {
    mean.insert(mean.end(), {double(c.X), double(c.Y)});
    spread.insert(spread.end(), {FirstSpreadX, FirstSpreadY});
  }
  uint64_t state = settings.SearchSeed;
  for (int i = 0; i < 2; ++i) SplitMix(state);  // past the two seed ranges' starts
  TCrossEntropySearch search(mean, spread, SplitMix(state));
  const int generation = Generation(mean.size());
  while (out.Evaluations < out.Plan.Evaluations) {
    const int count = static_cast<int>(std::min<int64_t>(generation, out.Plan.Evaluations - out.Evaluations));
    std::vector<std::vector<double>> points;
    std::vector<std::vector<TCell>> cells;
    std::vector<TScenarioSetup> layouts;
    for (const std::vector<double>& drawn : search.Draw(count)) {
      cells.push_back(Snapped(drawn));
      std::vector<double>& point = points.emplace_back();
      for (const TCell& c : cells.back()) point.insert(point.end(), {double(c.X), double(c.Y)});
      layouts.push_back(WithObjects(cells.back()));
    }
    const auto eaten = evaluate(cells, layouts);
    if (!eaten) return;  // a generation cut short counts for nothing
    search.Learn(points, *eaten);
  }

  // The final round: the finalists on more seeds, all on the same ones.
  const auto& entries = finalists.Entries();
  if (out.Plan.Finalists > 0 && entries.size() >= 2) {
    std::vector<TScenarioSetup> layouts;
    for (const auto& e : entries) layouts.push_back(e.Layout);
    const auto eaten = eatenOn(layouts, out.Seeds.Final);
    if (!eaten) return;
    const double all = static_cast<double>(seeds + out.Plan.FinalSeeds);
    size_t best = 0;
    std::vector<double> means;
    for (size_t i = 0; i < entries.size(); ++i) {
      means.push_back((entries[i].Mean * static_cast<double>(seeds) + (*eaten)[i]) / all);
      if (means[i] < means[best]) best = i;
      if (entries[i].Cells == naiveCells_) out.NaiveFinalMean = means[i];
    }
    out.Best = entries[best].Layout;
    out.BestMean = p.BestMean = means[best];
    out.BestSeeds = static_cast<int>(seeds) + out.Plan.FinalSeeds;
    out.Finalists = static_cast<int>(entries.size());
    out.SearchRuns += static_cast<int64_t>(entries.size()) * out.Plan.FinalSeeds;
  }
  p.RunsPlanned = p.RunsDone + 2 * int64_t{settings.HeldOutSeeds};
  out.SearchSeconds = seconds();
  out.SearchDone = true;

  p.Checking = true;
  report();
  const size_t heldOut = out.Seeds.HeldOut.size();
  TLayoutCheck check;
  check.NaiveEaten.assign(heldOut, 0.0);
  check.BestEaten.assign(heldOut, 0.0);
  if (settings.KeepDeaths) {
    out.DeathsNaive.emplace(map_.width(), map_.height());
    out.DeathsBest.emplace(map_.width(), map_.height());
  }
  const bool complete = runAll({out.Naive, out.Best}, out.Seeds.HeldOut, settings.KeepDeaths,
                               [&](size_t layout, size_t seed, TRunResult&& r) {
                                 (layout == 0 ? check.NaiveEaten : check.BestEaten)[seed] = r.Final.PeopleEaten;
                                 if (settings.KeepDeaths)
                                   (layout == 0 ? out.DeathsNaive : out.DeathsBest)->Add(r.Deaths);
                               });
  if (!complete) return;
  std::vector<double> difference(heldOut);
  for (size_t s = 0; s < heldOut; ++s) difference[s] = check.BestEaten[s] - check.NaiveEaten[s];
  check.Naive = Describe(check.NaiveEaten);
  check.Best = Describe(check.BestEaten);
  check.Difference = Describe(difference);
  out.Check = std::move(check);
  out.CheckDone = true;
}

}  // namespace wendo_lab
