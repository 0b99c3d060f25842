// What a layout did on a set of seeds, and the objectives the advisor
// ranks layouts by.
//
// The advisor's question is how to keep the beach open and lose nobody,
// so its default objective is the risk per exposure: people eaten per
// 1,000 swimmer-hours, as a ratio of totals over the seeds. A ratio alone
// rewards a nearly closed beach (a few minutes of swimming and nobody
// eaten scores 0), so a layout whose swim-hours fall below a share of
// those of the scenario as given on the same seeds is rejected as the
// worst possible, whichever objective ranks the others.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "experiment_run.h"
#include "ratio_estimate.h"
#include "summary.h"

namespace wendo_lab {

enum class TObjective { Risk, Eaten };

// "risk", "eaten"; and back, none for another name.
std::string ObjectiveName(TObjective objective);
std::optional<TObjective> ObjectiveNamed(const std::string& name);
// "risk, eaten": for messages.
std::string ObjectiveNames();

struct TObjectiveSettings {
  TObjective Objective = TObjective::Risk;
  double MinUse = 0.5;  // share of the scenario's swim-hours a layout must keep; 0: no such rule
};
// The objective with its default share of swimming to keep: half for the
// risk, which a closed beach would otherwise win, none for the people eaten.
TObjectiveSettings DefaultObjectiveSettings(TObjective objective);

// A layout's totals over some seeds.
struct TTotals {
  int64_t Runs = 0;
  double Eaten = 0;
  double SwimHours = 0;
  void Add(const TRunResult& run);
  TTotals& operator+=(const TTotals& other);
};

double SwimHours(const TRunResult& run);

// The objective of the totals, lower is better: people eaten per 1,000
// swim-hours, or the mean number eaten. A layout whose swim-hours fall
// below MinUse of `asGiven`'s on the same seeds (or, for risk, where
// nobody swam) is rejected: it scores above every accepted one, the less
// swimming it kept the higher, so that a search among rejected layouts
// still climbs toward the open beach.
double Score(const TTotals& layout, const TTotals& asGiven, const TObjectiveSettings& settings);
bool Rejected(double score);

// "2.31 eaten per 1,000 swim-hours", "0.72 eaten", "rejected (3% of the swimming)".
std::string ScoreText(double score, TObjective objective);

// How often the check samples the number of swimmers.
constexpr int32_t SwimmerSampleMs = 60'000;

// One run of the check.
struct TCheckRun {
  double Eaten = 0, SwimHours = 0, OpenShare = 0;
  std::vector<int32_t> Swimmers;  // at 0, 1, 2 … minutes
};
TCheckRun CheckRunOf(const TRunResult& run);

// A layout on the held-out seeds.
struct TLayoutOutcome {
  std::vector<TCheckRun> Runs;  // in seed order
  TStatistic Eaten, SwimHours, OpenShare;
  TRatioEstimate Risk;  // per 1,000 swim-hours, all runs together
  // The mean number of swimmers over the runs and over the samples of the
  // last half of a run, and, when it is below one, the minute from which
  // the mean at every sample stays below one.
  double LastHalfSwimmers = 0;
  std::optional<int32_t> NobodySwimsAfterMinutes;
};
TLayoutOutcome OutcomeOf(std::vector<TCheckRun> runs);

// The objective's value for the outcome, with its interval.
TStatistic ObjectiveOf(const TLayoutOutcome& outcome, TObjective objective);
// b − a seed by seed for the objective, with its 95% interval: the mean
// paired difference of people eaten, or the delta method's interval of
// the difference of two ratios of totals.
TStatistic PairedDifference(const TLayoutOutcome& a, const TLayoutOutcome& b, TObjective objective);

}  // namespace wendo_lab
