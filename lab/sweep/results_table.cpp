#include "results_table.h"

#include <cctype>

#include "csv.h"

namespace wendo_lab {

using namespace wymianadanych;

namespace {

std::string Text(int64_t v) { return std::to_string(v); }

// Counters that the results table and the series file share.
const std::vector<std::string> CountColumns = {
    "steps",          "elapsed_ms",    "people_arrived", "people_eaten",           "people_present",
    "sharks_arrived", "sharks_killed", "sharks_present", "sightings_by_observers", "sightings_by_boats"};

std::vector<std::string> CountFields(const TCounters& c) {
  return {Text(c.Steps),        Text(c.ElapsedMs),     Text(c.PeopleArrived),
          Text(c.PeopleEaten),  Text(c.PeoplePresent), Text(c.SharksArrived),
          Text(c.SharksKilled), Text(c.SharksPresent), Text(c.ObserverSightings),
          Text(c.BoatSightings)};
}

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
  static const std::vector<std::string> columns = [] {
    std::vector<std::string> c = CountColumns;
    c.insert(c.begin() + 8, "first_eaten_s");
    c.push_back("alarm_share");
    c.push_back("most_swimmers");
    return c;
  }();
  return columns;
}

std::vector<std::string> RunTableHeader() {
  std::vector<std::string> h = {"run", "scenario"};
  for (const TParameter& p : ParameterTable) h.push_back(SnakeCase(p.Name));
  for (const char* c : {"observers", "boats", "seed", "duration_s"}) h.push_back(c);
  h.insert(h.end(), ResultColumns().begin(), ResultColumns().end());
  return h;
}

std::vector<std::string> RunTableRow(const TSweepRun& run, const TRunResult& result) {
  std::vector<std::string> r = {Text(run.Index + 1), run.Scenario->Name};
  for (int32_t v : run.Parameters) r.push_back(Text(v));
  r.push_back(Text(static_cast<int64_t>(run.Scenario->Observers.size())));
  r.push_back(Text(static_cast<int64_t>(run.Scenario->Boats.size())));
  r.push_back(Text(run.Seed));
  r.push_back(SecondsText(run.DurationMs));
  std::vector<std::string> counts = CountFields(result.Final);
  counts.insert(counts.begin() + 8, result.FirstEatenMs < 0 ? std::string() : SecondsText(result.FirstEatenMs));
  r.insert(r.end(), counts.begin(), counts.end());
  const int32_t steps = result.Final.Steps;
  r.push_back(steps > 0 ? NumberText(static_cast<double>(result.AlarmSteps) / steps) : std::string());
  r.push_back(Text(result.MostSwimmers));
  return r;
}

bool MayBeEmpty(const std::string& resultColumn) {
  return resultColumn == "first_eaten_s" || resultColumn == "alarm_share";
}

std::vector<std::string> SeriesHeader() {
  std::vector<std::string> h = {"run", "time_s"};
  h.insert(h.end(), CountColumns.begin(), CountColumns.end());
  h.push_back("swimmers");
  h.push_back("alarm");
  return h;
}

void AppendSeriesRecords(std::string& out, const TSweepRun& run, const TRunResult& result) {
  for (const TSample& s : result.Series) {
    std::vector<std::string> r = {Text(run.Index + 1), SecondsText(s.TimeMs)};
    std::vector<std::string> counts = CountFields(s.Counters);
    r.insert(r.end(), counts.begin(), counts.end());
    r.push_back(Text(s.Counters.Swimmers));
    r.push_back(s.Counters.Alarm ? "1" : "0");
    AppendRecord(out, r);
  }
}

}  // namespace wendo_lab
