// The live simulation's pace: steps per second of a run of the default
// scenario in the program's own windows (the map shown, the statistics and
// messages windows as a run opens them), alone and with an "Eksperyment"
// sweep working beside it on all cores but one; and the same with a step
// every millisecond. The interface's events are
// handled while it measures, as the program's event loop handles them.
//
//   bench_pace --benchmark_repetitions=3   (from the build folder; offscreen
//   unless QT_QPA_PLATFORM says otherwise)
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <mutex>

#include "labeled_edit.h"
#include "startup.h"
#include "wendoUnit10.h"
#include "wendoUnit2.h"
#include "wymianadanych.h"

using wymianadanych::World;

namespace {

constexpr int SettleMs = 1000, MeasureMs = 10000;

void Wait(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
  loop.exec();
}

int32_t Steps() {
  std::lock_guard guard(World.Lock);
  return World.StepCounter;
}

// `stepMs` 0: the default scenario's own step.
void Pace(benchmark::State& state, bool experiment, int32_t stepMs) {
  World.ResetScenario();
  if (stepMs > 0) World.SimStepMs = stepMs;
  std::unique_ptr<TProgramWindows> windows = CreateProgramWindows();
  TForm1& main = *windows->Main;
  main.show();
  if (Form2) Form2->show();
  if (experiment) {
    // One setting, many long runs: work that outlasts the measurement.
    Form10->ComboBox1->setCurrentIndex(0);
    Form10->LabeledEdit7->SetText(QStringLiteral("20000"));
    Form10->LabeledEdit8->SetText(QStringLiteral("60"));
    Form10->show();
    Form10->Button1Click();
    if (!Form10->Working()) state.SkipWithError("the experiment did not start");
  }
  main.Wznow1Click();
  Wait(SettleMs);
  double steps = 0, seconds = 0;
  for (auto _ : state) {
    const int32_t before = Steps();
    QElapsedTimer clock;
    clock.start();
    Wait(MeasureMs);
    const double elapsed = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    steps += static_cast<double>(Steps() - before);
    seconds += elapsed;
    state.SetIterationTime(elapsed);
  }
  state.counters["steps_per_s"] = steps / seconds;
  state.counters["wanted_steps_per_s"] = 1000.0 / std::max(1, World.SimStepMs.load());
  if (experiment) state.counters["experiment_runs_done"] = static_cast<double>(Form10->Results()->RunsDone());
  main.Zakoncz1Click();
  Form10->ShutDown();
  windows.reset();
}

}  // namespace

BENCHMARK_CAPTURE(Pace, alone, false, 0)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(Pace, beside_an_experiment, true, 0)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
// The same scenario with a step every millisecond: the simulation thread
// busy, so that the experiment's jobs compete with it for the cores.
BENCHMARK_CAPTURE(Pace, fast_steps_alone, false, 1)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(Pace, fast_steps_beside_an_experiment, true, 1)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  // The pictures, as the program finds them beside itself.
  if (!QDir::setCurrent(QStringLiteral(WENDO_ASSET_DIR)) || !InitialiseWorld()) return 1;
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
