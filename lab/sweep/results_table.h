// The rows of the results table (one per run) and of the series file (one
// per run per sample time), their result columns taken from RunColumns().
// Both start with the run's number in the sweep's canonical order, which is
// how merge puts shards back in order, then name the sweep (its digest) and
// the number of its runs, which is how merge tells shards of one sweep from
// others and knows none is missing. The series then gives the sample time.
#pragma once

#include <string>
#include <vector>

#include "experiment_run.h"
#include "sweep.h"

namespace wendo_lab {

// "sim_step_ms" for SimStepMs.
std::string SnakeCase(std::string_view name);

// The columns that hold a run's results rather than its configuration.
const std::vector<std::string>& ResultColumns();

std::vector<std::string> RunTableHeader();
std::vector<std::string> RunTableRow(const TSweepRun& run, const TRunResult& result);
// Whether RunTableRow may leave a result empty (first_eaten_s when nobody
// was eaten, alarm_share when the run took no step).
bool MayBeEmpty(const std::string& resultColumn);

std::vector<std::string> SeriesHeader();
// One record per sample, appended to `out`.
void AppendSeriesRecords(std::string& out, const TSweepRun& run, const TRunResult& result);

}  // namespace wendo_lab
