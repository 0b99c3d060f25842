// Where to add observation points and boats to a scenario so that the
// fewest people are eaten, and an honest check of the answer.
//
// The search: every candidate layout is run on the same seeds (common random
// numbers), so the search minimises one fixed function, the mean number of
// people eaten over those seeds, and two candidates differ only by where
// their objects stand. It starts from the naive layout (the objects evenly
// along the shore, see shore_line.h) and then follows the cross-entropy
// method (cross_entropy.h) over the objects' coordinates, each drawn
// position put on the nearest cell where the objects dialog accepts that
// object (placement_cells.h), until its share of the budget is spent.
//
// Why that method: the function is a simulation, a black box with no
// gradient, noisy in the sense that a handful of seeds ranks layouts with
// much luck, and rugged, since a position one cell over can change a run
// completely. The cross-entropy method needs only the ranking within a
// generation, moves its distribution smoothly so that one lucky layout
// cannot take it over, is well understood, and evaluates a whole generation
// at once, so every job has runs to do. CMA-ES would also learn how the
// coordinates go together, but Debian has no C++ library of it; NLopt's
// evolutionary methods want one point at a time and a deterministic
// function.
//
// A few lucky seeds can make a mediocre layout look best, so the best few
// layouts of the search (the finalists) then run on more seeds, all on the
// same ones, and the best of them over all its seeds is the advice.
//
// The check: the advice is still the best of many on the search's own
// seeds, which flatters it. So it and the naive layout are run again on
// held-out seeds that the search never used, and compared seed by seed.
#pragma once

#include <QImage>
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "heatmap.h"
#include "placement_cells.h"
#include "shore_line.h"
#include "summary.h"
#include "sweep.h"
#include "sweep_runner.h"

namespace wendo_lab {

struct TPlacementRequest {
  int Observers = 0;
  int Boats = 0;
  int32_t ObserverRange = 300;
  int32_t BoatSpeed = 50;
  int32_t BoatRange = 200;
};

struct TSearchSettings {
  int32_t DurationMs = 3'600'000;
  int SeedsPerEvaluation = 8;
  int64_t Budget = 800;  // runs the search may spend; the check comes on top
  int HeldOutSeeds = 200;
  uint32_t SearchSeed = 1;
  int Jobs = 1;
  bool KeepDeaths = false;  // where people were eaten in the check, for heatmaps
  const std::atomic<bool>* Stop = nullptr;
};

// The seeds of the runs, as consecutive ranges starting at places drawn
// from the search seed: the search's, then right after them the final
// round's, all below 2^31; the check's from 2^31 up, so that the check
// never shares a seed with the search.
struct TSeedPlan {
  std::vector<uint32_t> Search, Final, HeldOut;
};
TSeedPlan PlanSeeds(uint32_t searchSeed, int perEvaluation, int final, int heldOut);

// How the budget is spent: about three quarters on the search's
// evaluations, each of all SeedsPerEvaluation seeds, the rest on the
// final round; no final round when the budget pays for fewer than two
// evaluations besides it or less than one more seed per finalist.
struct TBudgetPlan {
  int64_t Evaluations = 0;
  int Finalists = 0;   // at most; 0: no final round
  int FinalSeeds = 0;  // more seeds per finalist
};
TBudgetPlan PlanBudget(const TSearchSettings& settings);

struct TSearchProgress {
  int64_t RunsDone = 0;
  int64_t RunsPlanned = 0;  // the search's and the check's; exact from the check on
  int64_t Evaluations = 0;
  int64_t EvaluationsPlanned = 0;
  bool Checking = false;
  std::optional<double> BestMean;  // of the best so far, over its seeds
};

struct TLayoutCheck {
  std::vector<double> NaiveEaten, BestEaten;  // per held-out seed, in order
  TStatistic Naive, Best;
  TStatistic Difference;  // best − naive, seed by seed
};

struct TOptimisation {
  TSeedPlan Seeds;
  TBudgetPlan Plan;
  int64_t Evaluations = 0;  // of the search
  int Finalists = 0;        // that ran in the final round
  int64_t SearchRuns = 0;   // the final round's included
  bool SearchDone = false;  // the search and its final round ran in full
  bool CheckDone = false;
  TScenarioSetup Naive, Best;             // the scenario with the objects added
  std::optional<double> NaiveSearchMean;  // on the search seeds; unset when never run
  std::optional<double> BestMean;         // over BestSeeds seeds: the search's, and the final round's
  int BestSeeds = 0;
  std::optional<double> NaiveFinalMean;              // over the same seeds, when the naive layout was a finalist
  TLayoutCheck Check;                                // when CheckDone
  std::optional<TDeathMap> DeathsNaive, DeathsBest;  // of the check, when asked for
  double SearchSeconds = 0, CheckSeconds = 0;        // wall-clock time
};

using TSweepRunner = std::function<bool(const TSweep&, const TShardRuns&, const QImage&, const TSweepJobs&)>;

class TLayoutSearch {
 public:
  // Throws TBadInput when the map has no cell where a requested kind of
  // object may stand, or no shore of that kind for the naive layout.
  TLayoutSearch(const QImage& map, TScenarioSetup base, const TPlacementRequest& request);

  const TScenarioSetup& Naive() const { return naive_; }

  // Stops early when the stop flag is set: what was found so far is kept
  // in the result. `runner` runs the sweeps (RunSweep; tests watch it).
  TOptimisation Run(const TSearchSettings& settings, const std::function<void(const TSearchProgress&)>& progress,
                    const TSweepRunner& runner = RunSweep) const;

 private:
  // The new objects' cells: each observation point's, then each boat's
  // home and patrol point.
  TScenarioSetup WithObjects(const std::vector<TCell>& cells) const;
  std::vector<TCell> Snapped(const std::vector<double>& coordinates) const;
  class TPass;
  // Run's work: the naive layout's evaluation, the generations, the final
  // round and the held-out check; `seconds` tells the time since it started.
  void Search(TOptimisation& out, const TSearchSettings& settings,
              const std::function<void(const TSearchProgress&)>& progress, const TSweepRunner& runner,
              const std::function<double()>& seconds) const;

  QImage map_;  // shared, not copied
  TScenarioSetup base_;
  TPlacementRequest request_;
  std::optional<TNearestCell> land_, water_;
  std::vector<TCell> naiveCells_;
  TScenarioSetup naive_;
};

// "better", "no clear difference" or "worse", from where the 95% interval
// of the difference (best − naive people eaten) lies against 0.
std::string Verdict(const TStatistic& difference);

}  // namespace wendo_lab
