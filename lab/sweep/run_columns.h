// What a run reports, declared once: one table of columns, from which the
// results table (one row per run), the series file (one row per run per
// sample time) and the summary take their columns, in table order.
//
// A column reads either the counters of one moment (the end of the run in
// the results table, each sample time in the series) or the whole run
// (the results table only). Adding a column is one line in the table in
// run_columns.cpp.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "experiment_run.h"

namespace wendo_lab {

// Where a column appears.
enum TColumnUse : unsigned {
  InResults = 1,  // the results table
  InSeries = 2,   // the series file
  InSummary = 4,  // the summary's list of results
};

struct TRunColumn {
  std::string_view Name;
  // The value as written: `moment` is the run's final counters in the
  // results table, a sample's in the series.
  std::string (*Read)(const TRunResult& run, const TMomentCounts& moment);
  unsigned Use = 0;         // TColumnUse bits
  bool MayBeEmpty = false;  // a run may have no value (the field is left empty)
  int Decimals = 2;         // digits after the point in the summary's text
};

std::span<const TRunColumn> RunColumns();

// The names of the columns with the given use, in table order.
std::vector<std::string> ColumnNames(TColumnUse use);
// The column of that name; null when there is none.
const TRunColumn* FindColumn(std::string_view name);

}  // namespace wendo_lab
