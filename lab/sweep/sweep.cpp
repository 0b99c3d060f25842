#include "sweep.h"

#include <cstring>

#include "bad_input.h"
#include "scenario_file.h"

namespace wendo_lab {

using namespace wymianadanych;

namespace {
// Far beyond what a machine runs, well within 64-bit products.
constexpr int64_t MaxRuns = int64_t{1} << 50;
}  // namespace

TScenarioSetup ReadScenarioSetup(const std::string& path) {
  try {
    return {path, ReadScenarioFile(path)};
  } catch (const TScenarioError& e) {
    // The reader's own words, but the system's where it has only a number.
    const std::string text = e.what();
    throw TBadInput("scenario \"" + path + "\": " +
                    (e.Errno() && text.rfind("I/O error", 0) == 0 ? std::strerror(e.Errno()) : text));
  }
}

void WarnIfEmptyScenario(const std::string& path, const std::string& bytes, std::ostream& err) {
  if (bytes.empty())
    err << "wendo-lab: warning: scenario \"" << path
        << "\" is empty: every parameter is 0, with no observation point and no boat\n";
}

void TSweep::Check() const {
  if (Scenarios.empty()) throw TBadInput("no scenario file given");
  if (Seeds.empty()) throw TBadInput("no seed given");
  for (size_t i = 0; i < Axes.size(); ++i)
    for (size_t j = 0; j < i; ++j)
      if (Axes[i].Parameter == Axes[j].Parameter)
        throw TBadInput("--set " + std::string(ParameterTable[Axes[i].Parameter].Name) + " is given twice");
  int64_t runs = static_cast<int64_t>(Scenarios.size()) * static_cast<int64_t>(Seeds.size());
  for (const TAxis& axis : Axes) {
    if (runs > MaxRuns / static_cast<int64_t>(axis.Values.size()))
      throw TBadInput("the sweep has more runs than can be numbered");
    runs *= static_cast<int64_t>(axis.Values.size());
  }
  if (runs > MaxRuns) throw TBadInput("the sweep has more runs than can be numbered");
}

int64_t TSweep::RunCount() const {
  int64_t runs = static_cast<int64_t>(Scenarios.size()) * static_cast<int64_t>(Seeds.size());
  for (const TAxis& axis : Axes) runs *= static_cast<int64_t>(axis.Values.size());
  return runs;
}

TSweepRun TSweep::Run(int64_t index) const {
  // The index in mixed radix, the seed varying fastest.
  TSweepRun run;
  run.Index = index;
  run.DurationMs = DurationMs;
  run.SweepId = Id;
  run.SweepRuns = RunCount();
  int64_t rest = index;
  const auto seeds = static_cast<int64_t>(Seeds.size());
  run.Seed = Seeds[static_cast<size_t>(rest % seeds)];
  rest /= seeds;
  std::vector<int32_t> values(Axes.size());
  for (size_t a = Axes.size(); a-- > 0;) {
    const auto count = static_cast<int64_t>(Axes[a].Values.size());
    values[a] = Axes[a].Values[static_cast<size_t>(rest % count)];
    rest /= count;
  }
  run.Setup = &Scenarios[static_cast<size_t>(rest)];
  run.Parameters = run.Setup->Scenario.Parameters;
  for (size_t a = 0; a < Axes.size(); ++a) run.Parameters[Axes[a].Parameter] = values[a];
  return run;
}

TShardRuns ShardRuns(int64_t runCount, const TShard& shard) {
  TShardRuns runs;
  runs.First = shard.Index - 1;
  runs.Stride = shard.Count;
  runs.Count = runCount > runs.First ? (runCount - runs.First + shard.Count - 1) / shard.Count : 0;
  return runs;
}

}  // namespace wendo_lab
