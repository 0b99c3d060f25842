#include "summary.h"

#include <boost/math/distributions/students_t.hpp>
#include <charconv>
#include <cmath>
#include <functional>
#include <map>
#include <memory>

#include "bad_input.h"
#include "results_table.h"
#include "run_columns.h"

namespace wendo_lab {

namespace {

// Digits after the point on the terminal.
int Decimals(const std::string& result) { return FindColumn(result)->Decimals; }

// "first_eaten_s and alarm_share": the results that a run may leave empty.
std::string EmptyAllowed() {
  std::vector<std::string> names;
  for (const TRunColumn& c : RunColumns())
    if (c.MayBeEmpty) names.emplace_back(c.Name);
  std::string text;
  for (size_t i = 0; i < names.size(); ++i) text += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
  return text;
}

// Characters, not bytes, so that text beyond ASCII lines up.
size_t Shown(const std::string& s) {
  size_t n = 0;
  for (unsigned char c : s) n += (c & 0xC0) != 0x80;
  return n;
}

std::string Padded(const std::string& s, size_t width, bool right) {
  const std::string pad(width > Shown(s) ? width - Shown(s) : 0, ' ');
  return right ? pad + s : s + pad;
}

// Each run into its configuration's risk: its people eaten over its
// swim-hours. Neither may be empty, and a run's values come in table
// order, people_eaten before swim_hours.
class TRiskOfRuns {
 public:
  void Take(TSummary& summary, size_t configuration, size_t result, double v) {
    static const auto at = [](const char* name) {
      return static_cast<size_t>(std::find(SummaryResults().begin(), SummaryResults().end(), name) -
                                 SummaryResults().begin());
    };
    static const size_t eaten = at("people_eaten"), hours = at("swim_hours");
    if (result == eaten) eaten_ = v;
    if (result == hours) summary.Configurations[configuration].Risk.Add(eaten_, v);
  }

 private:
  double eaten_ = 0;
};

// The risk line under a configuration's table.
std::string RiskText(const TRatioOfTotals& risk) {
  const TRatioEstimate e = risk.Estimate(1000);
  std::string text = "  people eaten per 1,000 swim-hours, all runs together: ";
  if (!e.Known) return text + "- (nobody swam)\n";
  text += FixedText(e.Ratio, 2);
  if (e.IntervalKnown) text += " (95% CI " + FixedText(e.CiLow, 2) + " to " + FixedText(e.CiHigh, 2) + ", delta method)";
  return text + "\n";
}

}  // namespace

const std::vector<std::string>& SummaryResults() {
  static const std::vector<std::string> results = ColumnNames(InSummary);
  return results;
}

TStatistic FromRatio(const TRatioEstimate& e) {
  TStatistic s;
  s.N = e.IntervalKnown ? e.N : e.Known ? 1 : 0;
  s.Mean = e.Ratio;
  s.CiLow = e.CiLow;
  s.CiHigh = e.CiHigh;
  return s;
}

TStatistic Describe(const std::vector<double>& values) {
  TStatistic s;
  s.N = static_cast<int64_t>(values.size());
  if (s.N == 0) return s;
  double sum = 0;
  for (double v : values) sum += v;
  s.Mean = sum / s.N;
  s.CiLow = s.CiHigh = s.Mean;
  if (s.N < 2) return s;
  double squares = 0;
  for (double v : values) squares += (v - s.Mean) * (v - s.Mean);
  s.Sd = std::sqrt(squares / (s.N - 1));
  const boost::math::students_t t(static_cast<double>(s.N - 1));
  const double half = boost::math::quantile(t, 0.975) * s.Sd / std::sqrt(static_cast<double>(s.N));
  s.CiLow = s.Mean - half;
  s.CiHigh = s.Mean + half;
  return s;
}

namespace {

// Where the configuration and the results stand in the table.
struct TSummaryColumns {
  std::vector<int> Key, Results;
};

// The configuration is every column but the run, the sweep it belongs to,
// the seed and the results.
TSummaryColumns FindSummaryColumns(const TCsvReader& table, TSummary& summary) {
  TSummaryColumns columns;
  const std::vector<std::string>& all = ResultColumns();
  for (size_t c = 0; c < table.Header().size(); ++c) {
    const std::string& name = table.Header()[c];
    if (name == "run" || name == "seed" || name == "sweep" || name == "sweep_runs" ||
        std::find(all.begin(), all.end(), name) != all.end())
      continue;
    columns.Key.push_back(static_cast<int>(c));
    summary.KeyColumns.push_back(name);
  }
  for (const std::string& name : SummaryResults()) {
    const int c = table.Column(name);
    if (c < 0)
      throw TBadInput(table.FileName() + ": no column \"" + name + "\"; not a results table of wendo-lab run");
    columns.Results.push_back(c);
  }
  return columns;
}

// Per configuration and result: the count and sum of the values in the
// first pass, the squares of their distances from the mean in the second,
// so that the numbers are those of the values all held at once.
// A table that cannot be read twice (a pipe) takes the squares from
// Welford's running mean instead, equal but for the last digits.
struct TAccumulator {
  int64_t N = 0;
  double Sum = 0;
  double Squares = 0;
  double RunningMean = 0, RunningSquares = 0;
};

// Calls `each(configuration, result, value)` for every value of the table.
template <class Each>
void ForEachValue(TCsvReader& table, const TSummaryColumns& columns, TSummary& summary,
                  std::map<std::vector<std::string>, size_t>& byKey, bool count, const Each& each) {
  std::vector<std::string> key;
  for (TCsvRecord row; table.Next(row);) {
    key.clear();
    for (int c : columns.Key) key.push_back(row.Fields[c]);
    const auto [at, fresh] = byKey.emplace(key, summary.Configurations.size());
    if (fresh) summary.Configurations.push_back({key, 0, {}, {}});
    if (count) ++summary.Configurations[at->second].Runs;
    for (size_t r = 0; r < columns.Results.size(); ++r) {
      const std::string& field = row.Fields[columns.Results[r]];
      const std::string& name = SummaryResults()[r];
      if (field.empty() && MayBeEmpty(name)) continue;
      const std::string where = table.FileName() + ", line " + std::to_string(table.Line()) + ": ";
      if (field.empty())
        throw TBadInput(where + "column " + name + " is empty; only " + EmptyAllowed() + " may be");
      double v = 0;
      const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), v);
      if (ec != std::errc() || end != field.data() + field.size() || !std::isfinite(v))
        throw TBadInput(where + "\"" + field + "\" in column " + name + " is not a number a double holds");
      each(at->second, r, v);
    }
  }
}

TStatistic Statistic(const TAccumulator& a) {
  TStatistic s;
  s.N = a.N;
  if (s.N == 0) return s;
  s.Mean = a.Sum / s.N;
  s.CiLow = s.CiHigh = s.Mean;
  if (s.N < 2) return s;
  s.Sd = std::sqrt(a.Squares / (s.N - 1));
  const boost::math::students_t t(static_cast<double>(s.N - 1));
  const double half = boost::math::quantile(t, 0.975) * s.Sd / std::sqrt(static_cast<double>(s.N));
  s.CiLow = s.Mean - half;
  s.CiHigh = s.Mean + half;
  return s;
}

}  // namespace

TSummary Summarise(const std::function<std::unique_ptr<TCsvReader>()>& open, bool readTwice) {
  TSummary summary;
  std::map<std::vector<std::string>, size_t> byKey;
  std::vector<std::vector<TAccumulator>> sums;  // configuration, result
  std::string fileName;
  TSummaryColumns columns;
  {
    const std::unique_ptr<TCsvReader> table = open();
    fileName = table->FileName();
    columns = FindSummaryColumns(*table, summary);
    TRiskOfRuns risk;
    ForEachValue(*table, columns, summary, byKey, true, [&](size_t c, size_t r, double v) {
      risk.Take(summary, c, r, v);
      if (sums.size() <= c) sums.resize(c + 1, std::vector<TAccumulator>(columns.Results.size()));
      TAccumulator& a = sums[c][r];
      ++a.N;
      a.Sum += v;
      const double delta = v - a.RunningMean;
      a.RunningMean += delta / static_cast<double>(a.N);
      a.RunningSquares += delta * (v - a.RunningMean);
    });
  }
  for (auto& configuration : sums)
    for (TAccumulator& a : configuration)
      if (!readTwice) a.Squares = a.RunningSquares;
  sums.resize(summary.Configurations.size(), std::vector<TAccumulator>(columns.Results.size()));
  if (readTwice) {
    const std::unique_ptr<TCsvReader> table = open();
    TSummary again;
    std::map<std::vector<std::string>, size_t> keys;
    ForEachValue(*table, FindSummaryColumns(*table, again), again, keys, false, [&](size_t c, size_t r, double v) {
      const double mean = sums[c][r].Sum / sums[c][r].N;
      sums[c][r].Squares += (v - mean) * (v - mean);
    });
    if (again.Configurations.size() != summary.Configurations.size())
      throw TBadInput(fileName + ": the file changed while it was read");
  }
  for (size_t i = 0; i < summary.Configurations.size(); ++i)
    for (size_t r = 0; r < sums[i].size(); ++r) {
      const TAccumulator& a = sums[i][r];
      if (!std::isfinite(a.Sum) || !std::isfinite(a.Squares))
        throw TBadInput(fileName + ": the values of column " + SummaryResults()[r] +
                        " are too large to summarise (their sum overflows a double)");
      summary.Configurations[i].Results.push_back(Statistic(a));
    }
  return summary;
}

std::string SummaryText(const TSummary& summary) {
  // Each configuration's heading names its scenario and the value of each
  // other column that differs between configurations; values that all
  // configurations share are not shown.
  std::vector<bool> differs(summary.KeyColumns.size(), false);
  for (const TConfigurationSummary& c : summary.Configurations)
    for (size_t k = 0; k < c.Key.size(); ++k) differs[k] = differs[k] || c.Key[k] != summary.Configurations[0].Key[k];
  const int scenario = [&] {
    for (size_t k = 0; k < summary.KeyColumns.size(); ++k)
      if (summary.KeyColumns[k] == "scenario") return static_cast<int>(k);
    return -1;
  }();

  std::string out;
  if (summary.Configurations.empty()) return "no runs\n";
  const std::vector<std::string> header = {"result", "runs", "mean", "sd", "95% CI low", "95% CI high"};
  for (const TConfigurationSummary& c : summary.Configurations) {
    std::string heading = scenario >= 0 ? c.Key[static_cast<size_t>(scenario)] : std::string("configuration");
    for (size_t k = 0; k < c.Key.size(); ++k)
      if (differs[k] && static_cast<int>(k) != scenario) heading += "  " + summary.KeyColumns[k] + "=" + c.Key[k];
    heading += "  (" + std::to_string(c.Runs) + (c.Runs == 1 ? " run)" : " runs)");
    out += heading + "\n";

    std::vector<std::vector<std::string>> cells = {header};
    for (size_t r = 0; r < c.Results.size(); ++r) {
      const TStatistic& s = c.Results[r];
      const int d = Decimals(SummaryResults()[r]);
      auto number = [&](double v, bool known) { return known ? FixedText(v, d) : std::string("-"); };
      cells.push_back({SummaryResults()[r], std::to_string(s.N), number(s.Mean, s.N > 0), number(s.Sd, s.N > 1),
                       number(s.CiLow, s.N > 1), number(s.CiHigh, s.N > 1)});
    }
    std::vector<size_t> widths(header.size(), 0);
    for (const auto& row : cells)
      for (size_t i = 0; i < row.size(); ++i) widths[i] = std::max(widths[i], Shown(row[i]));
    for (const auto& row : cells) {
      std::string line = " ";
      for (size_t i = 0; i < row.size(); ++i) line += (i ? "  " : " ") + Padded(row[i], widths[i], i > 0);
      out += line + "\n";
    }
    out += RiskText(c.Risk) + "\n";
  }
  return out;
}

// The ratio of totals as one more result: its value in the mean's column.
static std::vector<std::string> RiskRecord(const TConfigurationSummary& c) {
  const TRatioEstimate e = c.Risk.Estimate(1000);
  std::vector<std::string> row = c.Key;
  row.insert(row.end(), {"eaten_per_1000_swim_hours_of_totals", std::to_string(e.N), e.Known ? NumberText(e.Ratio) : "",
                         "", e.IntervalKnown ? NumberText(e.CiLow) : "", e.IntervalKnown ? NumberText(e.CiHigh) : ""});
  return row;
}

std::string SummaryCsv(const TSummary& summary) {
  std::string out;
  std::vector<std::string> header = summary.KeyColumns;
  for (const char* c : {"result", "runs", "mean", "sd", "ci95_low", "ci95_high"}) header.push_back(c);
  AppendRecord(out, header);
  for (const TConfigurationSummary& c : summary.Configurations)
    for (size_t r = 0; r < c.Results.size(); ++r) {
      const TStatistic& s = c.Results[r];
      std::vector<std::string> row = c.Key;
      row.push_back(SummaryResults()[r]);
      row.push_back(std::to_string(s.N));
      row.push_back(s.N > 0 ? NumberText(s.Mean) : "");
      for (double v : {s.Sd, s.CiLow, s.CiHigh}) row.push_back(s.N > 1 ? NumberText(v) : "");
      AppendRecord(out, row);
    }
  for (const TConfigurationSummary& c : summary.Configurations) AppendRecord(out, RiskRecord(c));
  return out;
}

}  // namespace wendo_lab
