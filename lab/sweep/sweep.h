// A sweep: every combination of the scenario files, the parameter values
// and the seeds, numbered in the canonical order — scenario, then the
// parameter values in the order their --set options were given, then the
// seed.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "parameters.h"
#include "scenario_content.h"
#include "value_lists.h"
#include "wymianadanych.h"

namespace wendo_lab {

using wymianadanych::TParameterValues;

// A scenario of the sweep: what its file holds, read once and copied into
// a world per run, and the name it is reported by.
struct TScenarioSetup {
  std::string Name;  // the file name as given
  wymianadanych::TScenario Scenario;
};

// Reads a scenario file; a file the scenario reader refuses is a TBadInput
// carrying the reader's own text.
TScenarioSetup ReadScenarioSetup(const std::string& path);

// An empty scenario file is read as all parameters 0 with no object, which
// is seldom what was meant: says so on `err` when `bytes` (the file's) are
// empty.
void WarnIfEmptyScenario(const std::string& path, const std::string& bytes, std::ostream& err);

// One run of a sweep.
struct TSweepRun {
  int64_t Index = 0;  // 0-based position in the canonical order
  const TScenarioSetup* Setup = nullptr;
  TParameterValues Parameters{};  // the scenario's, with the sweep's values set
  uint32_t Seed = 0;
  int32_t DurationMs = 0;
  std::string_view SweepId;  // the sweep's digest (see SweepDigest)
  int64_t SweepRuns = 0;     // the runs of the whole sweep, all shards
};

struct TSweep {
  std::vector<TScenarioSetup> Scenarios;
  std::vector<TAxis> Axes;  // a parameter may be swept once
  std::vector<uint32_t> Seeds;
  int32_t DurationMs = 3'600'000;
  std::string Id;  // what the rows record as the sweep they belong to

  // Throws TBadInput for an empty sweep, a parameter swept twice, or a
  // sweep too large to number.
  void Check() const;
  int64_t RunCount() const;
  TSweepRun Run(int64_t index) const;
};

// The runs of shard K of N: every N-th run of the canonical order, starting
// with run K, so each shard gets its share of every configuration.
struct TShardRuns {
  int64_t First = 0;  // 0-based index of the shard's first run
  int64_t Stride = 1;
  int64_t Count = 0;
  int64_t At(int64_t position) const { return First + position * Stride; }
};
TShardRuns ShardRuns(int64_t runCount, const TShard& shard);

}  // namespace wendo_lab
