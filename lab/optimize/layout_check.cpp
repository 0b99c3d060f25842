#include "layout_check.h"

#include <algorithm>

#include "csv.h"

namespace wendo_lab {

namespace {

constexpr double MsPerHour = 3'600'000.0;
// Scores of rejected layouts: this, plus the share of the swimming lost.
constexpr double RejectedScore = 1e300;

std::vector<double> Field(const TLayoutOutcome& o, double TCheckRun::*field) {
  std::vector<double> values;
  for (const TCheckRun& r : o.Runs) values.push_back(r.*field);
  return values;
}

}  // namespace

std::string ObjectiveName(TObjective objective) { return objective == TObjective::Risk ? "risk" : "eaten"; }

std::optional<TObjective> ObjectiveNamed(const std::string& name) {
  for (TObjective o : {TObjective::Risk, TObjective::Eaten})
    if (name == ObjectiveName(o)) return o;
  return std::nullopt;
}

std::string ObjectiveNames() { return "risk, eaten"; }

double SwimHours(const TRunResult& run) { return static_cast<double>(run.Final.SwimPersonMs) / MsPerHour; }

void TTotals::Add(const TRunResult& run) {
  ++Runs;
  Eaten += run.Final.DeadPeople;
  SwimHours += wendo_lab::SwimHours(run);
}

TTotals& TTotals::operator+=(const TTotals& o) {
  Runs += o.Runs;
  Eaten += o.Eaten;
  SwimHours += o.SwimHours;
  return *this;
}

double Score(const TTotals& layout, const TTotals& asGiven, const TObjectiveSettings& settings) {
  const double kept = asGiven.SwimHours > 0 ? std::min(1.0, layout.SwimHours / asGiven.SwimHours) : 0.0;
  const double rejected = RejectedScore * (2 - kept);
  if (settings.MinUse > 0 && layout.SwimHours < settings.MinUse * asGiven.SwimHours) return rejected;
  if (settings.Objective == TObjective::Eaten) return layout.Runs > 0 ? layout.Eaten / layout.Runs : rejected;
  return layout.SwimHours > 0 ? 1000 * layout.Eaten / layout.SwimHours : rejected;
}

bool Rejected(double score) { return score >= RejectedScore; }

TObjectiveSettings DefaultObjectiveSettings(TObjective objective) {
  return {objective, objective == TObjective::Risk ? 0.5 : 0.0};
}

std::string ScoreText(double score, TObjective objective) {
  if (Rejected(score)) return "rejected (" + FixedText(100 * (2 - score / RejectedScore), 0) + "% of the swimming)";
  return FixedText(score, 2) + (objective == TObjective::Risk ? " eaten per 1,000 swim-hours" : " eaten");
}

TCheckRun CheckRunOf(const TRunResult& run) {
  TCheckRun r;
  r.Eaten = run.Final.DeadPeople;
  r.SwimHours = SwimHours(run);
  r.OpenShare = run.Final.ElapsedMs > 0
                    ? static_cast<double>(run.Final.ElapsedMs - run.Final.WarnedMs) / run.Final.ElapsedMs
                    : 1.0;
  for (const TSample& s : run.Series) r.Swimmers.push_back(s.Counters.Swimmers);
  return r;
}

TLayoutOutcome OutcomeOf(std::vector<TCheckRun> runs) {
  TLayoutOutcome o;
  o.Runs = std::move(runs);
  o.Eaten = Describe(Field(o, &TCheckRun::Eaten));
  o.SwimHours = Describe(Field(o, &TCheckRun::SwimHours));
  o.OpenShare = Describe(Field(o, &TCheckRun::OpenShare));
  TRatioOfTotals risk;
  for (const TCheckRun& r : o.Runs) risk.Add(r.Eaten, r.SwimHours);
  o.Risk = risk.Estimate(1000);
  // The mean number of swimmers at each sample time, over the runs.
  size_t samples = o.Runs.empty() ? 0 : o.Runs.front().Swimmers.size();
  for (const TCheckRun& r : o.Runs) samples = std::min(samples, r.Swimmers.size());
  std::vector<double> mean(samples, 0.0);
  for (const TCheckRun& r : o.Runs)
    for (size_t i = 0; i < samples; ++i) mean[i] += static_cast<double>(r.Swimmers[i]) / static_cast<double>(o.Runs.size());
  if (samples < 2) return o;
  // The last half: the samples from the middle sample time to the end.
  const size_t half = (samples - 1) / 2;
  double sum = 0;
  for (size_t i = half; i < samples; ++i) sum += mean[i];
  o.LastHalfSwimmers = sum / static_cast<double>(samples - half);
  if (o.LastHalfSwimmers < 1) {
    size_t from = samples;
    while (from > 0 && mean[from - 1] < 1) --from;
    o.NobodySwimsAfterMinutes = static_cast<int32_t>(from * SwimmerSampleMs / 60'000);
  }
  return o;
}

TStatistic ObjectiveOf(const TLayoutOutcome& o, TObjective objective) {
  return objective == TObjective::Eaten ? o.Eaten : FromRatio(o.Risk);
}

TStatistic PairedDifference(const TLayoutOutcome& a, const TLayoutOutcome& b, TObjective objective) {
  if (objective == TObjective::Risk)
    return FromRatio(PairedRatioDifference(Field(a, &TCheckRun::Eaten), Field(a, &TCheckRun::SwimHours),
                                           Field(b, &TCheckRun::Eaten), Field(b, &TCheckRun::SwimHours), 1000));
  std::vector<double> d;
  for (size_t i = 0; i < std::min(a.Runs.size(), b.Runs.size()); ++i) d.push_back(b.Runs[i].Eaten - a.Runs[i].Eaten);
  return Describe(d);
}

}  // namespace wendo_lab
