// The main window: the banner, the menu that drives the whole program, the
// run state machine, the two worker threads and the 100 ms timer.
#pragma once

#include <functional>
#include <memory>

#include <QMainWindow>
#include <QString>

#include "display_thread.h"
#include "file_choice.h"
#include "image_box.h"
#include "simulation_thread.h"

class QAction;
class QFileDialog;
class QMenu;
class QTimer;

class TForm1 : public QMainWindow {
  Q_OBJECT

 public:
  // Client area below the menu bar.
  static constexpr int ClientWidth = 590;
  static constexpr int ClientHeight = 158;
  static constexpr int TimerMs = 100;

  enum class TRunState { Idle, Running, Paused };

  // Fills the terrain, seeds the random generator and creates the display
  // thread and then the simulation thread, both suspended.
  explicit TForm1(QWidget* parent = nullptr);
  ~TForm1() override;

  void FormCreate();
  // "Plik"
  void Za1Click();       // "Nowy"
  void Wczytaj1Click();  // "Wczytaj"
  void Zapisz1Click();   // "Zapisz"
  void Koniec1Click();   // "Koniec"
  // "Dane"
  void Obiekty1Click();
  void Symulacja1Click();  // the timing dialog
  // "Symulacja"
  void Wznow1Click();      // "Wznów": start or resume
  void Wstrzymaj1Click();  // pause
  void Zakoncz1Click();    // "Zakończ": end the run
  // "Okna"
  void Mapa1Click();
  void MiniMapa1Click();
  void Komunikaty1Click();
  void Statystyka1Click();
  void Wykres1Click();
  // "Analiza"
  void Eksperyment1Click();
  void Doradca1Click();

  // The 100 ms tick, from program start to end: refreshes the statistics,
  // moves every pending message into the messages window and, while a run
  // is running, adds a point to the chart.
  void Timer2Timer();

  // Has the timing dialog wake both threads whenever it stores new periods
  // (the dialog is created after this window).
  void ConnectTimingDialog();

  // Stops the timer and both threads (each joined); safe to call again.
  // Runs when the main window closes, before any window is destroyed.
  void ShutDown();

  TRunState RunState() const { return state_; }
  // Null once ShutDown has joined them.
  wymianadanych::TSimulationThread* SimulationThread() const { return simulationThread_.get(); }
  TDisplayThread* DisplayThread() const { return displayThread_.get(); }
  QTimer* Timer2() const { return timer2_; }

  TImageBox* Image1;
  QMenu* Plik1;
  QAction* Nowy1;
  QAction* Wczytaj1;
  QAction* Zapisz1;
  QAction* Koniec1;
  QMenu* Dane1;
  QAction* Obiekty1;
  QAction* Symulacja1;  // "Dane" -> "Symulacja"
  QMenu* Symulacja2;    // the "Symulacja" menu
  QAction* Wznow1;
  QAction* Wstrzymaj1;
  QAction* Zakoncz1;
  QMenu* Okna1;
  QAction* Mapa1;
  QAction* MiniMapa1;
  QAction* Komunikaty1;
  QAction* Statystyka1;
  QAction* Wykres1;
  QMenu* Analiza1;
  QAction* Eksperyment1;
  QAction* Doradca1;

  // Kept for the window's life, so each proposes the name last chosen in it.
  QFileDialog* SaveDialog1;
  QFileDialog* OpenDialog1;
  // Answers a scenario file dialog; tests replace it to answer without one.
  TFileChooser ChooseFile;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildMenu();
  QFileDialog* MakeScenarioDialog(bool save);
  QString ChooseScenarioFile(QFileDialog& dialog);
  void SetRunState(TRunState state);
  void StopSimulationThread();
  void WakeThreads();
  void CloseOtherWindows();
  // "Nowy": the ended run's chart is dropped and "Wykres" disabled.
  void ForgetRunChart();

  TRunState state_ = TRunState::Idle;
  std::unique_ptr<TDisplayThread> displayThread_;
  std::unique_ptr<wymianadanych::TSimulationThread> simulationThread_;
  QTimer* timer2_ = nullptr;
  bool displayStarted_ = false;
  bool shutDown_ = false;
  bool runChartKept_ = false;  // a run's chart exists (from a fresh start until "Nowy")
};

extern TForm1* Form1;
