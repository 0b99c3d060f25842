// Where to add observation points and boats to a scenario so that the
// beach stays open and the fewest people are eaten, and an honest check of
// the answer.
//
// The search: every candidate layout is run on the same seeds (common random
// numbers), so the search minimises one fixed function, the objective over
// those seeds (layout_check.h: the risk per swim-hour by default, a layout
// that keeps too little of the scenario's swimming rejected), and two
// candidates differ only by where their objects stand. Every boat it
// proposes can sail its beat (sailable_beat.h). It starts from the naive layout (the objects evenly
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
// seeds, which flatters it. So it, the naive layout and the scenario as
// given are run again on held-out seeds that the search never used, and
// compared seed by seed; then the advice without each of its added objects
// in turn, which tells what each object is worth.
#pragma once

#include <QImage>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "heatmap.h"
#include "layout_check.h"
#include "placement_cells.h"
#include "sailable_beat.h"
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
  TObjectiveSettings Objective;
  // What the check runs besides the advice: the naive layout and the
  // scenario as given, and the advice without each added object in turn.
  bool CheckNaive = true;
  bool CheckAsGiven = true;
  bool WeighObjects = true;
  bool Prune = false;        // and check it again without those that make no measurable difference
  bool KeepDeaths = false;   // where people were eaten in the check, for heatmaps
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

// How the budget is spent: the scenario as given on the search's and the
// final round's seeds when a layout must keep a share of its swimming
// (MinUse above 0), about three quarters of the rest on the search's
// evaluations, each of all SeedsPerEvaluation seeds, the others on the
// final round; no final round when the budget pays for fewer than two
// evaluations besides it or less than one more seed per finalist.
struct TBudgetPlan {
  int64_t Evaluations = 0;
  int Finalists = 0;   // at most; 0: no final round
  int FinalSeeds = 0;  // more seeds per finalist
  bool AsGiven = false;  // the scenario as given runs on the search's seeds and the final round's
};
TBudgetPlan PlanBudget(const TSearchSettings& settings);
// The runs of one evaluation: the layout's seeds, and the scenario as given
// on the same seeds when a share of its swimming is kept.
int64_t LeastBudget(const TSearchSettings& settings);

struct TSearchProgress {
  int64_t RunsDone = 0;
  int64_t RunsPlanned = 0;  // the search's and the check's; exact from the check on
  int64_t Evaluations = 0;
  int64_t EvaluationsPlanned = 0;
  bool Checking = false;
  std::optional<double> BestScore;  // of the best so far, over its seeds
};

// What one added object of the advice is worth: the objective on the
// held-out seeds without it, less the objective with it, seed by seed.
// Above 0 it helps (the objective is lower with it).
struct TObjectWorth {
  bool Boat = false;
  size_t Index = 0;  // in the layout's list of its kind
  TStatistic Contribution;
  bool Measurable() const { return Contribution.N >= 2 && (Contribution.CiLow > 0 || Contribution.CiHigh < 0); }
};

struct TLayoutCheck {
  TLayoutOutcome Naive, Best, AsGiven;  // those the check ran (see TSearchSettings)
  TStatistic Difference;         // of the objective, best − naive, seed by seed
  TStatistic BestOverAsGiven;    // of the objective, best − the scenario as given
  std::vector<TObjectWorth> Worth;  // each added object of the best layout, when weighed
  std::optional<TScenarioSetup> Pruned;  // the best without the objects that make no measurable difference
  std::optional<TLayoutOutcome> PrunedOutcome;
  TStatistic PrunedOverBest;     // of the objective, pruned − best
};

// A boat of the scenario whose beat meets land.
struct TBlockedBoat {
  size_t Index = 0;
  TBeatTrial Trial;
};

struct TOptimisation {
  TSeedPlan Seeds;
  TBudgetPlan Plan;
  int64_t Evaluations = 0;  // of the search
  int Finalists = 0;        // that ran in the final round
  int64_t SearchRuns = 0;   // the final round's included
  bool SearchDone = false;  // the search and its final round ran in full
  bool CheckDone = false;
  bool WeighingDone = false;  // each added object weighed (and the pruned layout checked), or not asked for
  TScenarioSetup Naive, Best;              // the scenario with the objects added
  std::optional<double> NaiveSearchScore;  // on the search seeds; unset when never run
  std::optional<double> BestScore;         // over BestSeeds seeds: the search's, and the final round's
  int BestSeeds = 0;
  std::optional<double> NaiveFinalScore;             // over the same seeds, when the naive layout was a finalist
  TLayoutCheck Check;                                // when CheckDone
  std::optional<TDeathMap> DeathsNaive, DeathsBest;  // of the check, when asked for
  std::optional<TDeathMap> BoatsNaive, BoatsBest;    // where the boats were in the check, the same
  double SearchSeconds = 0, CheckSeconds = 0;        // wall-clock time; the check's without the weighing
  double WeighSeconds = 0;
};

using TSweepRunner = std::function<bool(const TSweep&, const TShardRuns&, const QImage&, const TSweepJobs&)>;

class TLayoutSearch {
 public:
  // Throws TBadInput when the map has no cell where a requested kind of
  // object may stand, or no shore of that kind for the naive layout.
  TLayoutSearch(const QImage& map, TScenarioSetup base, const TPlacementRequest& request);

  const TScenarioSetup& Naive() const { return naive_; }
  // The scenario's own boats whose beat meets land, and where each stops.
  const std::vector<TBlockedBoat>& BlockedBoats() const { return blocked_; }
  // Added observation points whose circle holds no water, and those that
  // stand next to water, where the people they warn cannot flee.
  bool SeesWater(const wymianadanych::TObserwator& o) const;
  bool BesideWater(const wymianadanych::TObserwator& o) const;

  // Stops early when the stop flag is set: what was found so far is kept
  // in the result. `runner` runs the sweeps (RunSweep; tests watch it).
  TOptimisation Run(const TSearchSettings& settings, const std::function<void(const TSearchProgress&)>& progress,
                    const TSweepRunner& runner = RunSweep) const;

 private:
  // The new objects' cells: each observation point's, then each boat's
  // home and patrol point.
  TScenarioSetup WithObjects(const std::vector<TCell>& cells) const;
  // Drawn coordinates put on accepted cells, every boat's patrol point
  // then moved toward its home until the beat can be sailed.
  std::vector<TCell> Snapped(const std::vector<double>& coordinates) const;
  TCell SailablePatrol(TCell home, TCell patrol) const;
  TCell NaivePatrol(const TShoreLine& water, int boat) const;
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
  std::vector<int32_t> terrain_;
  std::unique_ptr<TBeatChecker> beats_;
  std::vector<TBlockedBoat> blocked_;
  std::vector<TCell> naiveCells_;
  TScenarioSetup naive_;
};

// The layout without the added object (observation point or boat) at
// `index` in its kind's list.
TScenarioSetup Without(const TScenarioSetup& layout, bool boat, size_t index);

// "better", "no clear difference" or "worse", from where the 95% interval
// of the difference (best − naive objective) lies against 0.
std::string Verdict(const TStatistic& difference);

}  // namespace wendo_lab
