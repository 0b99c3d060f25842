// The "Doradca" window: where to add observation points and boats, found
// by the lab's layout search in the background on a copy of the scenario,
// checked on held-out seeds, drawn over the map, and taken into the
// scenario with "Zastosuj"; or, for ranges of counts, how many of them,
// one checked layout per combination in a table and a chart.
#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QLocale>
#include <functional>
#include <memory>
#include <optional>

#include "background_work.h"
#include "file_choice.h"
#include "layout_advice.h"

class QCheckBox;
class QComboBox;
class QFileDialog;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QSplitter;
class QTimer;
class THowManyView;
class TLabeledEdit;

class TForm11 : public QDialog {
  Q_OBJECT

 public:
  // Right of the map, where its overlay stays in sight, and below the
  // mini-map and the chart; it covers the statistics and messages windows,
  // which the advice is not read beside.
  static constexpr int FirstLeft = 618, FirstTop = 290, FirstWidth = 500, FirstHeight = 430;
  static constexpr int TimerMs = 100;

  explicit TForm11(QWidget* parent = nullptr);
  ~TForm11() override;

  void Button1Click();  // "Start"
  void Button2Click();  // "Przerwij"
  void Button3Click();  // "Zastosuj"
  void Button4Click();  // "Zapisz jako…"
  void Button5Click();  // "Zamknij"
  void CheckBox1Click();  // the naive layout beside the advice
  void Timer1Timer();

  // Stops the search and waits for it (a fraction of a second).
  void ShutDown();
  bool Working() const { return working_; }
  // The search's answer, once it has returned.
  const std::optional<wendo_lab::TOptimisation>& Result() const { return result_; }
  // The how-many answer, once it has returned (rows of the combinations
  // checked when it was stopped).
  const std::optional<wendo_lab::THowMany>& HowManyResult() const { return howMany_; }
  // The settings of the work last started, the objective included.
  const wendo_lab::TSearchSettings& SearchSettings() const { return settings_; }
  const TLayoutObjects& Advised() const { return advised_; }
  // The scenario objects the search kept: its own, before the added ones.
  size_t OwnObservers() const { return ownObservers_; }
  size_t OwnBoats() const { return ownBoats_; }

  TFileChooser ChooseFile;
  // Whether the objects dialog may change the scenario now ("Zastosuj"
  // follows it); the main window answers.
  std::function<bool()> ObjectsEditable;
  // Settings of each effort; tests shorten them.
  std::function<wendo_lab::TSearchSettings(TAdviceEffort, int jobs)> Settings = AdviceSettings;

  TLabeledEdit* LabeledEdit1;  // observation points to add: a count, or a range such as 0-3
  TLabeledEdit* LabeledEdit2;  // boats to add: the same
  TLabeledEdit* LabeledEdit3;  // the points' range
  TLabeledEdit* LabeledEdit4;  // the boats' speed
  TLabeledEdit* LabeledEdit5;  // the boats' range
  QComboBox* ComboBox1;        // objective
  QComboBox* ComboBox2;        // effort
  QPushButton* Button1;
  QPushButton* Button2;
  QProgressBar* ProgressBar1;
  QLabel* Label1;  // progress and the best so far
  QCheckBox* CheckBox1;
  QSplitter* Splitter1;
  QPlainTextEdit* Memo1;  // the advice, its check and its verdict
  THowManyView* HowMany1;  // the how-many table and chart, shown for a how-many answer
  QPushButton* Button3;
  QPushButton* Button4;
  QPushButton* Button5;
  QFileDialog* SaveDialog1;
  QTimer* Timer1;
  const QLocale Locale{QLocale::Polish, QLocale::Poland};

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void BuildControls();
  void SetKeyboardOrder();
  // The counts, ranges, speed and the objective as typed; nothing after a
  // value was refused.
  struct TRequest {
    wendo_lab::TPlacementRequest Placement;
    wendo_lab::TCountRange Observers, Boats;
    bool HowMany() const { return Observers.IsRange() || Boats.IsRange(); }
  };
  std::optional<TRequest> ReadRequest();
  void StartAdvice();
  void StartHowMany(const TRequest& request, wendo_lab::TScenarioSetup base);
  void ShowProgress();
  void FinishWork();
  void ShowOverlay();
  void RefreshButtons();

  TBackgroundWork work_;
  THandOver<wendo_lab::TSearchProgress> progress_;
  THandOver<wendo_lab::THowManyProgress> howManyProgress_;
  THandOver<wendo_lab::TOptimisation> answers_;
  THandOver<wendo_lab::THowMany> howManyAnswers_;
  THandOver<std::string> failures_;
  wendo_lab::TSearchProgress lastProgress_;
  std::optional<wendo_lab::THowManyProgress> lastHowMany_;
  int64_t runsBefore_ = 0, runsLast_ = 0;  // of the how-many's earlier combinations, and the current one's
  wendo_lab::TSearchSettings settings_;
  // What the answer's warnings need to know of the map.
  std::shared_ptr<const wendo_lab::TLayoutSearch> search_;
  std::optional<wendo_lab::TOptimisation> result_;
  std::optional<wendo_lab::THowMany> howMany_;
  TLayoutObjects advised_, naive_;
  size_t ownObservers_ = 0, ownBoats_ = 0;
  bool working_ = false;
  bool applied_ = false;
  QElapsedTimer clock_;
};

extern TForm11* Form11;
