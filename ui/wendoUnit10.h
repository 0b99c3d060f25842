// The "Eksperyment" window: a sweep of up to two parameters over many
// seeded runs of a copy of the scenario, run in the background on the
// lab's engine, with the mean and 95% interval of each outcome per setting
// in a table and the chosen outcome in a chart.
#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QLocale>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "background_work.h"
#include "experiment_sweep.h"
#include "file_choice.h"

class QChart;
class QChartView;
class QComboBox;
class QFileDialog;
class QLabel;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QTableWidget;
class QTimer;
class TLabeledEdit;

class TForm10 : public QDialog {
  Q_OBJECT

 public:
  // Right of the statistics window, below the chart, inside 1366 x 768: it
  // covers only the messages window's right end.
  static constexpr int FirstLeft = 880, FirstTop = 290, FirstWidth = 470, FirstHeight = 440;
  // A sweep of more runs asks first, stating the estimated time.
  static constexpr int64_t AskAboveRuns = 100'000;
  static constexpr int TimerMs = 100;
  // The table and the chart follow the results at most this often.
  static constexpr int ViewRefreshMs = 500;

  explicit TForm10(QWidget* parent = nullptr);
  ~TForm10() override;

  void Button1Click();  // "Start"
  void Button2Click();  // "Przerwij"
  void Button3Click();  // "Zapisz wyniki…"
  void Button4Click();  // "Zapisz wykres…"
  void ComboBox1Change();
  void ComboBox2Change();
  void ComboBox3Change();
  void Timer1Timer();

  // Stops the background work and waits for it (within a fraction of a
  // second); the program calls it when it closes.
  void ShutDown();
  bool Working() const { return working_; }
  const TExperimentResults* Results() const { return results_.get(); }

  // The name the results table gives the scenario, as `wendo-lab run`
  // names the file it is given; the main window sets it on load and save.
  QString ScenarioName = QStringLiteral("scenariusz.wnd");
  TFileChooser ChooseFile;
  // Asks whether to start a large sweep; tests answer without a box.
  std::function<bool(const QString& question)> Confirm;

  QComboBox* ComboBox1;  // the first parameter
  TLabeledEdit* LabeledEdit1;  // from
  TLabeledEdit* LabeledEdit2;  // to
  TLabeledEdit* LabeledEdit3;  // step
  QComboBox* ComboBox2;  // the second parameter, or none
  TLabeledEdit* LabeledEdit4;
  TLabeledEdit* LabeledEdit5;
  TLabeledEdit* LabeledEdit6;
  TLabeledEdit* LabeledEdit7;  // seeds per setting
  TLabeledEdit* LabeledEdit8;  // minutes
  QComboBox* ComboBox3;        // the outcome charted
  QPushButton* Button1;
  QPushButton* Button2;
  QPushButton* Button3;
  QPushButton* Button4;
  QProgressBar* ProgressBar1;
  QLabel* Label1;  // runs done and time left
  QTabWidget* PageControl1;  // "Wykres" and "Tabela"
  QTableWidget* StringGrid1;
  QChartView* ChartView1;
  QChart* Chart1;
  QFileDialog* SaveDialog1;  // results, CSV
  QFileDialog* SaveDialog2;  // chart, PNG
  QTimer* Timer1;
  // Numbers as the window shows them.
  const QLocale Locale{QLocale::Polish, QLocale::Poland};

 private:
  void BuildControls();
  void SetKeyboardOrder();
  std::optional<TExperimentPlan> ReadPlan();
  std::optional<TVariedParameter> ReadVaried(QComboBox* box, TLabeledEdit* from, TLabeledEdit* to,
                                             TLabeledEdit* step);
  bool AskForLargeSweep(const wendo_lab::TSweep& sweep, const TExperimentPlan& plan);
  void StartSweep();
  void FinishWork();
  void RefreshProgress();
  void RefreshTable();
  void RefreshChart();
  void SetWorking(bool working);

  TBackgroundWork work_;
  THandOver<std::pair<wendo_lab::TSweepRun, wendo_lab::TRunResult>> handOver_;
  THandOver<std::string> failures_;
  std::unique_ptr<wendo_lab::TSweep> sweep_;
  std::unique_ptr<TExperimentResults> results_;
  std::vector<int64_t> shownRuns_;  // per setting, as the table shows it
  QElapsedTimer clock_;
  qint64 lastViewMs_ = 0;
  bool working_ = false;
  bool complete_ = false;
};

extern TForm10* Form10;

// The parameter's name as the dialogs show it ("Rekiny: zasięg (dm)").
QString ParameterCaption(int parameter);
// "1 h 05 min", "3 min 20 s", "12 s".
QString DurationText(double seconds);
