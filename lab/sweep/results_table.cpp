#include "results_table.h"

#include <cctype>

#include "csv.h"
#include "run_columns.h"

namespace wendo_lab {

using namespace wymianadanych;

namespace {
std::string Text(int64_t v) { return std::to_string(v); }
}  // namespace

std::string SnakeCase(std::string_view name) {
  std::string s;
  for (size_t i = 0; i < name.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(name[i]);
    if (std::isupper(c) && i > 0) s += '_';
    s += static_cast<char>(std::tolower(c));
  }
  return s;
}

const std::vector<std::string>& ResultColumns() {
  static const std::vector<std::string> columns = ColumnNames(InResults);
  return columns;
}

std::vector<std::string> RunTableHeader() {
  std::vector<std::string> h = {"run", "sweep", "sweep_runs", "scenario"};
  for (const TParameter& p : ParameterTable) h.push_back(SnakeCase(p.Name));
  for (const char* c : {"observers", "boats", "seed", "duration_s"}) h.push_back(c);
  h.insert(h.end(), ResultColumns().begin(), ResultColumns().end());
  return h;
}

std::vector<std::string> RunTableRow(const TSweepRun& run, const TRunResult& result) {
  std::vector<std::string> r = {Text(run.Index + 1), std::string(run.SweepId), Text(run.SweepRuns), run.Setup->Name};
  for (int32_t v : run.Parameters) r.push_back(Text(v));
  r.push_back(Text(static_cast<int64_t>(run.Setup->Scenario.Observers.size())));
  r.push_back(Text(static_cast<int64_t>(run.Setup->Scenario.Boats.size())));
  r.push_back(Text(run.Seed));
  r.push_back(SecondsText(run.DurationMs));
  for (const TRunColumn& c : RunColumns())
    if (c.Use & InResults) r.push_back(c.Read(result, result.Final));
  return r;
}

bool MayBeEmpty(const std::string& resultColumn) {
  const TRunColumn* column = FindColumn(resultColumn);
  return column && column->MayBeEmpty;
}

std::vector<std::string> SeriesHeader() {
  std::vector<std::string> h = {"run", "sweep", "sweep_runs", "time_s"};
  for (const std::string& name : ColumnNames(InSeries)) h.push_back(name);
  return h;
}

void AppendSeriesRecords(std::string& out, const TSweepRun& run, const TRunResult& result) {
  for (const TSample& s : result.Series) {
    std::vector<std::string> r = {Text(run.Index + 1), std::string(run.SweepId), Text(run.SweepRuns),
                                  SecondsText(s.TimeMs)};
    for (const TRunColumn& c : RunColumns())
      if (c.Use & InSeries) r.push_back(c.Read(result, s.Counters));
    AppendRecord(out, r);
  }
}

}  // namespace wendo_lab
