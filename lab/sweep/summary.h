// The summary of a results table: per configuration (every column but the
// run, the seed and the results), the number of runs and, for each main
// result, the mean, the standard deviation and the 95% confidence interval
// of the mean from Student's t distribution.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "csv.h"
#include "ratio_estimate.h"

namespace wendo_lab {

struct TStatistic {
  int64_t N = 0;  // runs with a value (first_eaten_s is empty when nobody was eaten)
  double Mean = 0;
  double Sd = 0;  // sample standard deviation; with N < 2 it is not known
  double CiLow = 0;
  double CiHigh = 0;
};

// Mean, sd and the t interval; sd and the interval need two values.
TStatistic Describe(const std::vector<double>& values);
// A ratio of totals as a statistic: the ratio as the mean, with N = 1 when
// it is known without an interval and 0 when nobody swam.
TStatistic FromRatio(const TRatioEstimate& e);

struct TConfigurationSummary {
  std::vector<std::string> Key;  // the configuration columns' values
  int64_t Runs = 0;
  std::vector<TStatistic> Results;  // one per SummaryResults() entry
  TRatioOfTotals Risk;              // people eaten over swim-hours, all runs together
};

struct TSummary {
  std::vector<std::string> KeyColumns;
  std::vector<TConfigurationSummary> Configurations;  // in order of first appearance
};

// The results summarised, in table order.
const std::vector<std::string>& SummaryResults();

// Reads the table twice through readers `open` makes (first the counts and
// sums, then the squares around the means), holding one row at a time;
// once when not `readTwice` (a pipe), the squares then kept as it goes.
// Throws TBadInput for a table without the expected columns, with a value
// that is not a number a double holds, with an empty value where a run
// always has one (see MayBeEmpty), or with sums beyond a double.
TSummary Summarise(const std::function<std::unique_ptr<TCsvReader>()>& open, bool readTwice = true);

// An aligned table for the terminal: a heading per configuration naming
// the scenario and what differs between the configurations.
std::string SummaryText(const TSummary& summary);

// One record per configuration and result.
std::string SummaryCsv(const TSummary& summary);

}  // namespace wendo_lab
