#include "wendoUnit1.h"

#include <chrono>

#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QShowEvent>
#include <QTimer>

#include "error_report.h"
#include "dialog_style.h"
#include "pictures.h"
#include "scenario_file.h"
#include "simulation.h"
#include "wendoUnit2.h"
#include "wendoUnit3.h"
#include "wendoUnit4.h"
#include "wendoUnit5.h"
#include "wendoUnit6.h"
#include "wendoUnit7.h"
#include "wendoUnit9.h"
#include "wendoUnit10.h"
#include "wendoUnit11.h"
#include "wymianadanych.h"

using wymianadanych::World;

TForm1* Form1 = nullptr;

namespace {

uint32_t ClockSeed() {
  using namespace std::chrono;
  return static_cast<uint32_t>(duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count());
}

}  // namespace

TForm1::TForm1(QWidget* parent) : QMainWindow(parent), ChooseFile(RunFileDialog) {
  Form1 = this;
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setWindowTitle(QStringLiteral("Wendo"));
  setFont(DialogFont());

  Image1 = new TImageBox(this);
  Image1->setFixedSize(ClientWidth, ClientHeight);
  // Without the banner, a sky blue.
  Image1->SetFrame(DecorationPicture(QStringLiteral("banner.jpg"), QSize(ClientWidth, ClientHeight), QColor(135, 190, 235)));
  setCentralWidget(Image1);

  BuildMenu();
  setFixedSize(ClientWidth, ClientHeight + menuBar()->sizeHint().height());
  move(6, 9);

  SaveDialog1 = MakeScenarioDialog(true);
  OpenDialog1 = MakeScenarioDialog(false);

  // The statistics and messages refresh runs from program start to end,
  // whether or not a run is in progress.
  timer2_ = new QTimer(this);
  timer2_->setInterval(TimerMs);
  connect(timer2_, &QTimer::timeout, this, &TForm1::Timer2Timer);

  FormCreate();
  timer2_->start();
}

TForm1::~TForm1() {
  ShutDown();
  if (Form4) Form4->OnTimingChanged = nullptr;
  if (Form1 == this) Form1 = nullptr;
}

void TForm1::FormCreate() {
  FillTerrainFromPicture(World, MapPicture);
  {
    std::lock_guard guard(World.Lock);
    World.Random.Seed = ClockSeed();
  }
  displayThread_ = std::make_unique<TDisplayThread>();
  simulationThread_ = std::make_unique<wymianadanych::TSimulationThread>(World);
  ConnectTimingDialog();
}

void TForm1::ConnectTimingDialog() {
  if (Form4) Form4->OnTimingChanged = [this] { WakeThreads(); };
}

void TForm1::BuildMenu() {
  QMenuBar* bar = menuBar();
  auto item = [this](QMenu* menu, const QString& caption, void (TForm1::*handler)()) {
    QAction* action = menu->addAction(caption);
    connect(action, &QAction::triggered, this, handler);
    return action;
  };

  Plik1 = bar->addMenu(QStringLiteral("Plik"));
  Nowy1 = item(Plik1, QStringLiteral("Nowy"), &TForm1::Za1Click);
  Wczytaj1 = item(Plik1, QStringLiteral("Wczytaj"), &TForm1::Wczytaj1Click);
  Zapisz1 = item(Plik1, QStringLiteral("Zapisz"), &TForm1::Zapisz1Click);
  Plik1->addSeparator();
  Koniec1 = item(Plik1, QStringLiteral("Koniec"), &TForm1::Koniec1Click);

  Dane1 = bar->addMenu(QStringLiteral("Dane"));
  Obiekty1 = item(Dane1, QStringLiteral("Obiekty"), &TForm1::Obiekty1Click);
  Symulacja1 = item(Dane1, QStringLiteral("Symulacja"), &TForm1::Symulacja1Click);

  Symulacja2 = bar->addMenu(QStringLiteral("Symulacja"));
  Wznow1 = item(Symulacja2, QStringLiteral("Wznów"), &TForm1::Wznow1Click);
  Wstrzymaj1 = item(Symulacja2, QStringLiteral("Wstrzymaj"), &TForm1::Wstrzymaj1Click);
  Zakoncz1 = item(Symulacja2, QStringLiteral("Zakończ"), &TForm1::Zakoncz1Click);

  Okna1 = bar->addMenu(QStringLiteral("Okna"));
  Mapa1 = item(Okna1, QStringLiteral("Mapa"), &TForm1::Mapa1Click);
  MiniMapa1 = item(Okna1, QStringLiteral("Mini Mapa"), &TForm1::MiniMapa1Click);
  Komunikaty1 = item(Okna1, QStringLiteral("Komunikaty"), &TForm1::Komunikaty1Click);
  Statystyka1 = item(Okna1, QStringLiteral("Statystyka"), &TForm1::Statystyka1Click);
  Wykres1 = item(Okna1, QStringLiteral("Wykres"), &TForm1::Wykres1Click);

  // Enabled in every state: both work on a copy of the scenario.
  Analiza1 = bar->addMenu(QStringLiteral("Analiza"));
  Eksperyment1 = item(Analiza1, QStringLiteral("Eksperyment…"), &TForm1::Eksperyment1Click);
  Doradca1 = item(Analiza1, QStringLiteral("Doradca…"), &TForm1::Doradca1Click);

  SetRunState(TRunState::Idle);
}

QFileDialog* TForm1::MakeScenarioDialog(bool save) {
  auto* dialog = new QFileDialog(this);
  dialog->setOption(QFileDialog::DontUseNativeDialog);
  dialog->setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  // Open does not insist that the file exist: Load reports a missing one.
  dialog->setFileMode(QFileDialog::AnyFile);
  dialog->setNameFilters({QStringLiteral("Pliki Wendy (*.wnd)"), QStringLiteral("Wszystkie Pliki (*)")});
  dialog->selectNameFilter(QStringLiteral("Pliki Wendy (*.wnd)"));
  dialog->setDefaultSuffix(QStringLiteral("wnd"));
  dialog->setWindowTitle(save ? QStringLiteral("Zapisz") : QStringLiteral("Wczytaj"));
  return dialog;
}

void TForm1::SetRunState(TRunState state) {
  state_ = state;
  const bool idle = state == TRunState::Idle;
  const bool running = state == TRunState::Running;
  Nowy1->setEnabled(idle);
  Wczytaj1->setEnabled(idle);
  Zapisz1->setEnabled(idle);
  Obiekty1->setEnabled(!running);
  Wznow1->setEnabled(!running);
  Wstrzymaj1->setEnabled(running);
  Zakoncz1->setEnabled(!idle);
  Komunikaty1->setEnabled(!idle);
  Statystyka1->setEnabled(!idle);
  // After a run has ended its chart stays open to view and save, until a
  // fresh start or "Nowy" forgets it.
  Wykres1->setEnabled(!idle || runChartKept_);
}

// ------------------------------------------------------------------ "Plik"

void TForm1::Za1Click() {
  Guarded([this] {
    wymianadanych::NewScenario(World);
    ForgetRunChart();
  });
}

void TForm1::ForgetRunChart() {
  runChartKept_ = false;
  if (Form9) {
    Form9->hide();
    Form9->ClearChart();
  }
  SetRunState(state_);
}

QString TForm1::ChooseScenarioFile(QFileDialog& dialog) { return ChooseFileWith(ChooseFile, dialog); }

void TForm1::Zapisz1Click() {
  Guarded([this] {
    const QString path = ChooseScenarioFile(*SaveDialog1);
    if (path.isEmpty()) return;
    wymianadanych::SaveScenario(World, path.toStdString());
    if (Form10) Form10->ScenarioName = path;
  });
}

void TForm1::Wczytaj1Click() {
  Guarded([this] {
    const QString path = ChooseScenarioFile(*OpenDialog1);
    if (path.isEmpty()) return;
    wymianadanych::LoadScenario(World, path.toStdString());
    if (Form10) Form10->ScenarioName = path;
  });
}

void TForm1::Koniec1Click() { close(); }

// ------------------------------------------------------------------ "Dane"

void TForm1::Obiekty1Click() {
  Guarded([] {
    // The dialog shows both map windows modally while picking a point.
    if (Form2) Form2->hide();
    if (Form3) Form3->hide();
    if (Form5) Form5->exec();
  });
}

void TForm1::Symulacja1Click() {
  Guarded([this] {
    if (!Form4) return;
    ConnectTimingDialog();
    Form4->exec();
  });
}

// ------------------------------------------------------------- "Symulacja"

void TForm1::Wznow1Click() {
  Guarded([this] {
    if (!simulationThread_) return;
    const bool fresh = state_ == TRunState::Idle;
    wymianadanych::StartRun(World, simulationThread_->Ticks(), simulationThread_->TickSource().Now(), fresh);
    if (Form9) {
      // A fresh start begins a new chart; a resume carries on the old one.
      if (fresh) Form9->ClearChart();
      runChartKept_ = true;
      Form9->TakeSample();
    }
    if (Form6) Form6->RefreshStatistics();
    if (Form7) Form7->ResetGrid();
    SetRunState(TRunState::Running);
    if (Form6) Form6->show();
    if (Form7) Form7->show();
    simulationThread_->Resume();
  });
}

void TForm1::Wstrzymaj1Click() {
  Guarded([this] {
    SetRunState(TRunState::Paused);
    // Returns once the thread stands between two iterations, so the world
    // is consistent for the objects dialog.
    if (simulationThread_) simulationThread_->Suspend();
    // The chart ends where the run stands; paused ticks add nothing.
    if (Form9) Form9->TakeSample();
  });
}

void TForm1::Zakoncz1Click() {
  Guarded([this] {
    SetRunState(TRunState::Idle);
    if (!simulationThread_) return;
    // The lists are touched only after the thread's loop has finished.
    StopSimulationThread();
    // The last point, before the people leave the beach; the chart is kept
    // until the next fresh start.
    if (Form9) Form9->TakeSample();
    wymianadanych::EndRun(World);
    simulationThread_ = std::make_unique<wymianadanych::TSimulationThread>(World);
  });
}

void TForm1::StopSimulationThread() {
  // Terminate ends a suspended loop as well, without letting it run another
  // pass, and joins it.
  simulationThread_->Terminate();
  simulationThread_.reset();
}

void TForm1::WakeThreads() {
  if (simulationThread_) simulationThread_->Wake();
  if (displayThread_) displayThread_->Wake();
}

// ------------------------------------------------------------------ "Okna"

void TForm1::Mapa1Click() {
  Guarded([] {
    if (!Form2) return;
    Form2->show();
    Form2->RedrawMap();
  });
}

void TForm1::MiniMapa1Click() {
  Guarded([] {
    if (!Form3) return;
    Form3->show();
    Form3->RedrawMiniMap();
  });
}

void TForm1::Komunikaty1Click() {
  if (Form7) Form7->show();
}

void TForm1::Statystyka1Click() {
  if (Form6) Form6->show();
}

void TForm1::Wykres1Click() {
  if (Form9) Form9->show();
}

// --------------------------------------------------------------- "Analiza"

void TForm1::Doradca1Click() {
  if (!Form11) return;
  Form11->show();
  Form11->raise();
  Form11->activateWindow();
}

void TForm1::Eksperyment1Click() {
  if (!Form10) return;
  Form10->show();
  Form10->raise();
  Form10->activateWindow();
}


// ------------------------------------------------------------- timer

void TForm1::Timer2Timer() {
  if (Form6) Form6->RefreshStatistics();
  // One swap under the lock: each message is taken exactly once, and what
  // the simulation appends afterwards waits for the next tick.
  if (Form7) Form7->AppendMessages(World.DrainEvents());
  // Only a running simulation moves the counters; a paused or ended run's
  // chart stays as it was left.
  if (state_ == TRunState::Running && Form9) Form9->TakeSample();
}

// ------------------------------------------------------------- lifecycle

void TForm1::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!displayStarted_ && displayThread_) {
    displayStarted_ = true;
    displayThread_->Resume();
  }
}

void TForm1::ShutDown() {
  if (shutDown_) return;
  shutDown_ = true;
  if (timer2_) timer2_->stop();
  // The background analyses first: each stops within a fraction of a second.
  if (Form10) Form10->ShutDown();
  if (Form11) Form11->ShutDown();
  if (simulationThread_) StopSimulationThread();
  // Safe even while a redraw waits for this very thread.
  if (displayThread_) {
    displayThread_->Stop();
    displayThread_.reset();
  }
}

void TForm1::CloseOtherWindows() {
  // Modal dialogs first (their loops end as control returns to them), then
  // every other window, so nothing keeps the program alive.
  QList<QPointer<QWidget>> others;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w != this) others.append(w);
  for (int guard = 0; guard < 32; ++guard) {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || modal == this) break;
    modal->close();
    if (modal->isVisible()) modal->hide();
  }
  for (const QPointer<QWidget>& w : others)
    if (w && w->isVisible()) w->close();
}

void TForm1::closeEvent(QCloseEvent* event) {
  ShutDown();
  CloseOtherWindows();
  event->accept();
  QMainWindow::closeEvent(event);
  // Closing the main window ends the program, even with other windows open.
  QCoreApplication::quit();
}
