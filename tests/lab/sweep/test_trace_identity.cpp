// A run of wendo-lab is the trace runner's run of the same map, scenario
// and seed with a 1 ms tick: the same states after every step and the same
// messages, also when one world is reused for run after run. Its counted
// results agree with what the trace shows.
#include <gtest/gtest.h>

#include <sstream>

#include "experiment_run.h"
#include "scenario_file.h"
#include "simulation.h"
#include "lab_test_support.h"
#include "terrain_picture.h"
#include "trace_run.h"

using namespace wendo_lab;
using namespace wymianadanych;

namespace {

struct TCase {
  const char* scenario;  // nullptr: the defaults
  std::vector<std::pair<const char*, int32_t>> overrides;
};

TScenarioSetup ScenarioOf(const TCase& c) {
  TScenarioSetup s;
  if (c.scenario) {
    s = ReadScenarioSetup(ExampleFile(c.scenario));
  } else {
    s.Name = "defaults";
    s.Scenario.Parameters = DefaultParameters();
  }
  return s;
}

TSweepRun SweepRun(const TScenarioSetup& setup, const TCase& c, uint32_t seed, int32_t durationMs) {
  TSweepRun run;
  run.Setup = &setup;
  run.Parameters = setup.Scenario.Parameters;
  for (const auto& [name, value] : c.overrides)
    run.Parameters[static_cast<size_t>(FindParameter(name) - ParameterTable.data())] = value;
  run.Seed = seed;
  run.DurationMs = durationMs;
  return run;
}

// The trace runner on a fresh world, as wendo-trace MAP SCENARIO SEED
// duration*1000 1 would run it (with the overrides set after loading).
std::string TraceRun(const QImage& map, const TCase& c, const TSweepRun& run) {
  auto w = std::make_unique<TWorld>();
  FillTerrainFromPicture(*w, map);
  if (c.scenario) LoadScenario(*w, ExampleFile(c.scenario));
  SetParameters(*w, run.Parameters);
  std::ostringstream out;
  wendo_trace::RunTrace(
      *w, run.Seed, run.DurationMs, [](int64_t) { return 1u; }, 0, out);
  return out.str();
}

// The same text made from a lab run through its watcher, and the simulated
// time of the steps whose people moved under an alarm.
std::string LabRun(TLabWorld& world, const TSweepRun& run, TRunResult& result, int64_t& warnedMs) {
  std::ostringstream out;
  TRunOptions options;
  int32_t lastElapsed = 0;
  warnedMs = 0;
  options.Watch = [&](const TWorld& w, uint32_t, unsigned done, const std::vector<std::string>& messages) {
    if (done & StepTaken) {
      wendo_trace::WriteState(w, out);
      if (w.PeopleWarned) warnedMs += w.ElapsedMs - lastElapsed;
      lastElapsed = w.ElapsedMs;
    }
    for (const std::string& m : messages) out << "E " << m << '\n';
  };
  result = world.Run(run, options);
  return out.str();
}

// The results as the trace shows them: counters from the T lines, swimmers
// from the P lines on the terrain, each step's swimmers held for the time
// since the step before, sightings from the E lines.
void ExpectResultsMatchTrace(const std::string& trace, const TWorld& terrain, const TRunResult& r) {
  std::istringstream in(trace);
  std::string line;
  int64_t steps = 0, alarmSteps = 0, observerSightings = 0, boatMessages = 0, personArrivals = 0, sharkArrivals = 0;
  int32_t swimmers = 0, mostSwimmers = 0, firstEatenMs = -1;
  int32_t step = 0, elapsed = 0, alarm = 0, dead = 0, deadSharks = 0, present = 0, lastElapsed = 0;
  int64_t swimPersonMs = 0;
  auto endOfStep = [&] {
    mostSwimmers = std::max(mostSwimmers, swimmers);
    swimPersonMs += int64_t{swimmers} * (elapsed - lastElapsed);
    lastElapsed = elapsed;
  };
  while (std::getline(in, line)) {
    std::istringstream fields(line.substr(2));
    if (line[0] == 'T') {
      endOfStep();
      fields >> step >> elapsed >> alarm >> present >> dead >> present >> deadSharks;
      ++steps;
      alarmSteps += alarm;
      if (dead > 0 && firstEatenMs < 0) firstEatenMs = elapsed;
      swimmers = 0;
    } else if (line[0] == 'P') {
      int32_t x, y, d;
      fields >> x >> y >> d;
      swimmers += !d && IsWater(terrain.Terrain(x, y));
    } else if (line.find(": pojawił sie człowiek na ") != std::string::npos) {
      ++personArrivals;
    } else if (line.find(": pojawił sie rekin na ") != std::string::npos) {
      ++sharkArrivals;
    } else if (line.find(": obserwator na ") != std::string::npos) {
      ++observerSightings;
    } else if (line.find(": łódź na ") != std::string::npos) {
      ++boatMessages;
    }
  }
  endOfStep();
  EXPECT_EQ(r.Final.Steps, steps);
  EXPECT_EQ(r.Final.Steps, step);
  EXPECT_EQ(r.Final.ElapsedMs, elapsed);
  EXPECT_EQ(r.Final.DeadPeople, dead);
  EXPECT_EQ(r.Final.DeadSharks, deadSharks);
  EXPECT_EQ(r.Final.People + r.Final.DeadPeople, r.Final.PeopleArrived);
  EXPECT_EQ(r.Final.PeopleArrived, personArrivals);
  EXPECT_EQ(r.Final.SharksArrived, sharkArrivals);
  EXPECT_EQ(r.Final.Sharks + r.Final.DeadSharks, r.Final.SharksArrived);
  EXPECT_EQ(r.AlarmSteps, alarmSteps);
  EXPECT_EQ(r.MostSwimmers, mostSwimmers);
  EXPECT_EQ(r.FirstEatenMs, firstEatenMs);
  EXPECT_EQ(r.Final.ObserverSightings, observerSightings);
  EXPECT_EQ(r.Final.BoatSightings, boatMessages - deadSharks);
  EXPECT_EQ(r.Final.SwimPersonMs, swimPersonMs);
}

TEST(TraceIdentity, RunsEqualTheTraceRunnersWithOneMillisecondTicks) {
  const QImage map = ReadMapPicture(AssetFile("wendo.bmp"));
  const std::vector<TCase> cases = {
      {nullptr, {}},
      {"five_posts_three_boats.wnd", {}},
      {"two_posts_one_boat.wnd", {{"SharkMax", 12}, {"SharkArrivalS", 2}, {"PersonMax", 70}, {"SimStepMs", 37}}},
      {"five_posts_three_boats.wnd", {{"PersonArrivalS", 0}, {"SharkSpeed", 55}, {"SharkRange", 500}}},
  };
  std::vector<TScenarioSetup> setups;
  for (const TCase& c : cases) setups.push_back(ScenarioOf(c));
  // One world for every run, as a job of wendo-lab keeps it.
  TLabWorld world(map);
  int64_t eaten = 0, sighted = 0, warned = 0;
  for (size_t i = 0; i < cases.size(); ++i) {
    for (uint32_t seed : {1u, 77u, 4000000000u}) {
      SCOPED_TRACE(std::string(cases[i].scenario ? cases[i].scenario : "defaults") + " seed " + std::to_string(seed));
      const TSweepRun run = SweepRun(setups[i], cases[i], seed, 240'000);
      const std::string expected = TraceRun(map, cases[i], run);
      TRunResult result;
      int64_t warnedMs = 0;
      const std::string actual = LabRun(world, run, result, warnedMs);
      ASSERT_EQ(FirstDifference(expected, actual), "") << "trace and lab run differ";
      ExpectResultsMatchTrace(expected, world.World(), result);
      EXPECT_EQ(result.Final.WarnedMs, warnedMs);
      warned += warnedMs;
      eaten += result.Final.DeadPeople;
      sighted += result.Final.ObserverSightings + result.Final.BoatSightings;
    }
  }
  EXPECT_GT(eaten, 0);  // the runs did something worth comparing
  EXPECT_GT(sighted, 0);
  EXPECT_GT(warned, 0);
}

}  // namespace
