#include "run_columns.h"

#include <algorithm>

#include "csv.h"

namespace wendo_lab {

namespace {

template <auto Field>
std::string Count(const TRunResult&, const TMomentCounts& moment) {
  return std::to_string(moment.*Field);
}

std::string FirstEaten(const TRunResult& run, const TMomentCounts&) {
  return run.FirstEatenMs < 0 ? std::string() : SecondsText(run.FirstEatenMs);
}

std::string AlarmShare(const TRunResult& run, const TMomentCounts&) {
  const int32_t steps = run.Final.Steps;
  return steps > 0 ? NumberText(static_cast<double>(run.AlarmSteps) / steps) : std::string();
}

std::string MostSwimmers(const TRunResult& run, const TMomentCounts&) { return std::to_string(run.MostSwimmers); }

constexpr double MsPerHour = 3'600'000.0;

std::string SwimHours(const TRunResult&, const TMomentCounts& moment) {
  return NumberText(static_cast<double>(moment.SwimPersonMs) / MsPerHour);
}

std::string WarnedShare(const TRunResult&, const TMomentCounts& moment) {
  if (moment.ElapsedMs <= 0) return {};
  return NumberText(static_cast<double>(moment.WarnedMs) / moment.ElapsedMs);
}

std::string OpenShare(const TRunResult&, const TMomentCounts& moment) {
  if (moment.ElapsedMs <= 0) return {};
  return NumberText(static_cast<double>(moment.ElapsedMs - moment.WarnedMs) / moment.ElapsedMs);
}

std::string EatenPerSwimHours(const TRunResult&, const TMomentCounts& moment) {
  if (moment.SwimPersonMs <= 0) return {};
  return NumberText(1000.0 * moment.DeadPeople * MsPerHour / static_cast<double>(moment.SwimPersonMs));
}

std::string Alarm(const TRunResult&, const TMomentCounts& moment) { return moment.Alarm ? "1" : "0"; }

constexpr unsigned Everywhere = InResults | InSeries | InSummary;
constexpr unsigned Counted = InResults | InSeries;

constexpr TRunColumn Columns[] = {
    {"steps", Count<&TMomentCounts::Steps>, Counted},
    {"elapsed_ms", Count<&TMomentCounts::ElapsedMs>, Counted},
    {"people_arrived", Count<&TMomentCounts::PeopleArrived>, Everywhere},
    {"people_eaten", Count<&TMomentCounts::DeadPeople>, Everywhere},
    {"people_present", Count<&TMomentCounts::People>, Counted},
    {"sharks_arrived", Count<&TMomentCounts::SharksArrived>, Everywhere},
    {"sharks_killed", Count<&TMomentCounts::DeadSharks>, Everywhere},
    {"sharks_present", Count<&TMomentCounts::Sharks>, Counted},
    {"first_eaten_s", FirstEaten, InResults | InSummary, true},
    {"sightings_by_observers", Count<&TMomentCounts::ObserverSightings>, Everywhere},
    {"sightings_by_boats", Count<&TMomentCounts::BoatSightings>, Everywhere},
    {"alarm_share", AlarmShare, InResults | InSummary, true, 4},
    {"most_swimmers", MostSwimmers, InResults | InSummary},
    {"swimmers", Count<&TMomentCounts::Swimmers>, InSeries},
    {"alarm", Alarm, InSeries},
    {"swim_hours", SwimHours, Everywhere, false, 3},
    {"warned_share", WarnedShare, Everywhere, true, 4},
    {"open_share", OpenShare, Everywhere, true, 4},
    {"eaten_per_1000_swim_hours", EatenPerSwimHours, Everywhere, true},
};

}  // namespace

std::span<const TRunColumn> RunColumns() { return Columns; }

std::vector<std::string> ColumnNames(TColumnUse use) {
  std::vector<std::string> names;
  for (const TRunColumn& c : Columns)
    if (c.Use & use) names.emplace_back(c.Name);
  return names;
}

const TRunColumn* FindColumn(std::string_view name) {
  const auto at =
      std::find_if(std::begin(Columns), std::end(Columns), [&](const TRunColumn& c) { return c.Name == name; });
  return at == std::end(Columns) ? nullptr : at;
}

}  // namespace wendo_lab
