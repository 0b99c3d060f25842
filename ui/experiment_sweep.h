// The sweep an "Eksperyment" runs, built from the window's choices on a
// copy of the scenario, and what comes back from it: the results table
// exactly as the lab writes it, and per setting the mean and 95% interval
// of each outcome.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <QString>

#include "experiment_run.h"
#include "ratio_estimate.h"
#include "summary.h"
#include "sweep.h"

// An outcome the window can show: its caption and the results column it
// reads. A column the run table does not have is not offered. A ratio
// outcome (people eaten per 1,000 swim-hours) is, per setting, the ratio of
// the totals over the setting's runs with its delta-method interval, as
// the lab's summary gives it: the mean of per-run ratios would weigh a run
// of a few swim-minutes as much as one of a hundred hours.
struct TExperimentOutcome {
  QString Caption;
  const char* Column;
  bool OfTotals = false;
};
const std::vector<TExperimentOutcome>& ExperimentOutcomes();
bool OutcomeAvailable(const TExperimentOutcome& outcome);
// The outcome's value in a run; nothing when the run has none.
std::optional<double> OutcomeValue(const TExperimentOutcome& outcome, const wendo_lab::TRunResult& run);

// A varied parameter: its index in the parameter table and its values.
struct TVariedParameter {
  int Parameter = 0;
  std::vector<int32_t> Values;
};

// FROM, FROM + STEP, ... up to TO, as the lab's NAME=FROM:TO:STEP gives
// them; nothing for a step of 0, an empty range or more than `limit`
// values.
std::optional<std::vector<int32_t>> StepValues(int32_t from, int32_t to, int32_t step, int64_t limit);

struct TExperimentPlan {
  std::string ScenarioName;  // the "scenario" column, as the lab names a file
  wymianadanych::TScenario Scenario;
  std::vector<TVariedParameter> Varied;  // at most two
  int SeedCount = 30;                    // seeds 1 to SeedCount, as --seeds 1-N
  int32_t DurationMs = 3'600'000;
};

// The sweep the lab runs for `wendo-lab run SCENARIO --seeds 1-N --set ...
// --duration S`.
wendo_lab::TSweep MakeSweep(const TExperimentPlan& plan);

// The runs' results gathered in canonical order, one setting after another
// (a setting is one combination of the varied values).
class TExperimentResults {
 public:
  explicit TExperimentResults(const wendo_lab::TSweep& sweep);

  void Add(const wendo_lab::TSweepRun& run, const wendo_lab::TRunResult& result);

  int64_t RunsDone() const { return runsDone_; }
  int64_t SettingCount() const { return static_cast<int64_t>(settings_.size()); }
  // The varied values of setting `s`, in the order of the sweep's axes.
  const std::vector<int32_t>& SettingValues(int64_t s) const { return settings_[static_cast<size_t>(s)].Values; }
  int64_t SettingRuns(int64_t s) const { return settings_[static_cast<size_t>(s)].Runs; }
  // Mean and interval of outcome `o` (ExperimentOutcomes order) at setting s.
  wendo_lab::TStatistic Statistic(int64_t s, size_t o) const;

  // The results table as `wendo-lab run` writes it, of the runs so far.
  const std::string& Csv() const { return csv_; }

 private:
  struct TSetting {
    std::vector<int32_t> Values;
    int64_t Runs = 0;
    std::vector<std::vector<double>> Outcomes;  // per run, of those not OfTotals
    wendo_lab::TRatioOfTotals Risk;             // people eaten over swim-hours
  };
  int64_t seedCount_;
  int64_t runsDone_ = 0;
  std::vector<TSetting> settings_;
  std::string csv_;
};
