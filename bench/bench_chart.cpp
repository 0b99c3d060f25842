// The main window's 100 ms tick on a crowded beach (20 000 people) with the
// chart window open and its history thinned to the full number of points,
// against the same tick without a chart window; and the chart's own work:
// the view refresh (every series replaced, at most twice a second)
// and one repaint of the chart.
#include <algorithm>
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QChartView>
#include <QPixmap>
#include <QTimer>
#include <mutex>

#include "bench_world.h"
#include "wendoUnit1.h"
#include "wendoUnit6.h"
#include "wendoUnit7.h"
#include "wendoUnit9.h"
#include "wymianadanych.h"

using namespace wymianadanych;

namespace {

constexpr int People = 20000;
constexpr int Sharks = 2000;

// The simulated clock moves one tick's worth; every 40th tick the alarm
// flips, so the bands keep growing as well.
void AdvanceClock() {
  std::lock_guard guard(World.Lock);
  World.ElapsedMs += TForm1::TimerMs;
  World.PersonCount = People;
  if (World.ElapsedMs % 4000 == 0) World.SharkAlarm = !World.SharkAlarm;
}

void Counts(benchmark::State& state) {
  state.counters["people"] = static_cast<double>(World.People.size());
  state.counters["points"] = static_cast<double>(Form9 ? Form9->History().Samples().size() : 0);
}

void BM_TickWithChart(benchmark::State& state) {
  for (auto _ : state) {
    AdvanceClock();
    Form1->Timer2Timer();
  }
  Counts(state);
}

void BM_TickWithoutChart(benchmark::State& state) {
  TForm9* chart = Form9;
  Form9 = nullptr;
  for (auto _ : state) {
    AdvanceClock();
    Form1->Timer2Timer();
  }
  Form9 = chart;
  Counts(state);
}

void BM_ChartViewRefresh(benchmark::State& state) {
  for (auto _ : state) {
    AdvanceClock();
    Form9->TakeSample();
    Form9->RefreshView();
  }
  Counts(state);
}

void BM_ChartRepaint(benchmark::State& state) {
  Form9->RefreshView();
  for (auto _ : state) {
    QPixmap picture = Form9->ChartView1->grab();
    benchmark::DoNotOptimize(picture.cacheKey());
  }
  Counts(state);
}

BENCHMARK(BM_TickWithChart)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TickWithoutChart)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ChartViewRefresh)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ChartRepaint)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  World.ResetScenario();
  // Nothing is ever due, so the running simulation thread only sleeps.
  World.SimStepMs = 100000000;
  World.PersonArrivalS = 100000000;
  World.SharkArrivalS = 100000000;

  TForm1 main;  // fills the terrain from the (absent) map picture
  main.Timer2()->stop();
  TForm6 statistics;
  TForm7 messages;
  TForm9 chart;
  chart.show();
  main.Wznow1Click();
  {
    const auto beach = wendo_bench::BeachWorld();
    std::lock_guard guard(World.Lock);
    const wymianadanych::TTerrainGrid& terrain = beach->TerrainGrid;
    std::copy(terrain.begin(), terrain.end(), World.TerrainGrid.begin());
    wendo_bench::Populate(World, People, Sharks, 3, 2);
  }
  // A long run: the history has been thinned and is near its maximum.
  for (size_t i = 0; i < 2 * TChartHistory::DefaultMaxPoints ||
                     chart.History().Samples().size() < TChartHistory::DefaultMaxPoints * 19 / 20;
       ++i) {
    AdvanceClock();
    main.Timer2Timer();
  }

  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  main.Zakoncz1Click();
  return 0;
}
