#include "experiment_sweep.h"

#include <charconv>

#include "asset_folders.h"
#include "csv.h"
#include "scenario_format.h"
#include "sweep_digest.h"
#include "results_table.h"
#include "run_columns.h"

using namespace wendo_lab;

const std::vector<TExperimentOutcome>& ExperimentOutcomes() {
  static const std::vector<TExperimentOutcome> outcomes = {
      {QStringLiteral("Zjedzeni ludzie"), "people_eaten"},
      {QStringLiteral("Godziny pływania"), "swim_hours"},
      {QStringLiteral("Udział czasu otwartej plaży"), "open_share"},
      {QStringLiteral("Ryzyko na 1000 godzin pływania"), "eaten_per_1000_swim_hours", true},
  };
  return outcomes;
}

bool OutcomeAvailable(const TExperimentOutcome& outcome) {
  const TRunColumn* column = FindColumn(outcome.Column);
  return column && (column->Use & InResults);
}

std::optional<double> OutcomeValue(const TExperimentOutcome& outcome, const TRunResult& run) {
  const TRunColumn* column = FindColumn(outcome.Column);
  if (!column) return std::nullopt;
  const std::string text = column->Read(run, run.Final);
  double value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<std::vector<int32_t>> StepValues(int32_t from, int32_t to, int32_t step, int64_t limit) {
  if (step == 0 || (step > 0 ? to < from : to > from)) return std::nullopt;
  const int64_t count = (static_cast<int64_t>(to) - from) / step + 1;
  if (count > limit) return std::nullopt;
  std::vector<int32_t> values;
  values.reserve(static_cast<size_t>(count));
  for (int64_t i = 0; i < count; ++i) values.push_back(static_cast<int32_t>(from + i * step));
  return values;
}

TSweep MakeSweep(const TExperimentPlan& plan) {
  TSweep sweep;
  sweep.Scenarios.push_back({plan.ScenarioName, plan.Scenario});
  for (const TVariedParameter& v : plan.Varied) sweep.Axes.push_back({v.Parameter, v.Values});
  for (int seed = 1; seed <= plan.SeedCount; ++seed) sweep.Seeds.push_back(static_cast<uint32_t>(seed));
  sweep.DurationMs = plan.DurationMs;
  sweep.Check();
  // The lab names a sweep by the digest of its settings, its scenario
  // file's bytes and its map's; the copy is written as the program saves it.
  std::string scenarioText;
  wymianadanych::WriteScenario(plan.Scenario, [&](std::string_view line) { scenarioText += line; });
  sweep.Id = SweepDigest(sweep, {scenarioText}, FileBytes(FindAsset(QStringLiteral("wendo.bmp")).toStdString()));
  return sweep;
}

TExperimentResults::TExperimentResults(const TSweep& sweep)
    : seedCount_(static_cast<int64_t>(sweep.Seeds.size())) {
  const int64_t settings = sweep.RunCount() / seedCount_;
  settings_.resize(static_cast<size_t>(settings));
  for (int64_t s = 0; s < settings; ++s) {
    const TSweepRun run = sweep.Run(s * seedCount_);
    TSetting& setting = settings_[static_cast<size_t>(s)];
    for (const TAxis& axis : sweep.Axes) setting.Values.push_back(run.Parameters[axis.Parameter]);
    setting.Outcomes.resize(ExperimentOutcomes().size());
  }
  AppendRecord(csv_, RunTableHeader());
}

void TExperimentResults::Add(const TSweepRun& run, const TRunResult& result) {
  AppendRecord(csv_, RunTableRow(run, result));
  TSetting& setting = settings_[static_cast<size_t>(run.Index / seedCount_)];
  ++setting.Runs;
  const auto& outcomes = ExperimentOutcomes();
  for (size_t o = 0; o < outcomes.size(); ++o)
    if (!outcomes[o].OfTotals)
      if (const std::optional<double> v = OutcomeValue(outcomes[o], result)) setting.Outcomes[o].push_back(*v);
  // The values as the table holds them, so that the ratio is the one the
  // lab's summary computes from it.
  static const TExperimentOutcome eaten{{}, "people_eaten"}, hours{{}, "swim_hours"};
  const std::optional<double> y = OutcomeValue(eaten, result), x = OutcomeValue(hours, result);
  if (y && x) setting.Risk.Add(*y, *x);
  ++runsDone_;
}

TStatistic TExperimentResults::Statistic(int64_t s, size_t o) const {
  const TSetting& setting = settings_[static_cast<size_t>(s)];
  if (!ExperimentOutcomes()[o].OfTotals) return Describe(setting.Outcomes[o]);
  return FromRatio(setting.Risk.Estimate(1000));
}
