#include "wendoUnit10.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QStandardItemModel>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <limits>
#include <map>

#include "dialog_style.h"
#include "edit_value.h"
#include "error_report.h"
#include "interval_chart.h"
#include "labeled_edit.h"
#include "message_box.h"
#include "picture_save.h"
#include "pictures.h"
#include "replacing_save.h"
#include "scenario_content.h"
#include "sweep_runner.h"
#include "value_lists.h"
#include "wymianadanych.h"

using namespace wendo_lab;

TForm10* Form10 = nullptr;

namespace {

// The longest simulated run the 32-bit clock holds, in whole minutes.
constexpr int32_t MaxMinutes = std::numeric_limits<int32_t>::max() / 60'000;

void Reject(TLabeledEdit& edit) {
  edit.Edit()->setFocus();
  ShowMessage(RejectionMessage(edit, ParameterEnding));
}

TLabeledEdit* Edit(const QString& caption, const QString& text, QWidget* parent, int width = 70) {
  auto* edit = new TLabeledEdit(caption, parent);
  edit->PlaceEdit(0, TLabeledEdit::CaptionHeight, width);
  edit->setFixedSize(width, TLabeledEdit::CaptionHeight + TLabeledEdit::EditHeight);
  edit->SetText(text);
  return edit;
}

// A one-run trial on this thread: the seconds one run of `plan` takes here.
double SecondsPerRun(const TSweep& sweep) {
  TLabWorld world(MapPicture);
  TSweepRun run = sweep.Run(0);
  const int32_t full = run.DurationMs;
  run.DurationMs = std::min<int32_t>(full, 120'000);
  QElapsedTimer clock;
  clock.start();
  world.Run(run, {});
  const double seconds = std::max<qint64>(1, clock.nsecsElapsed() / 1000) / 1e6;
  return seconds * full / run.DurationMs;
}

}  // namespace

QString ParameterCaption(int parameter) {
  static const char* const captions[] = {
      "Krok symulacji (ms)",         "Krok odświerzania (ms)",   "Ludzie: przybywanie (s)", "Ludzie: maksymalna ilość",
      "Ludzie: prędkość (dm/s)",     "Ludzie: zasięg (dm)",      "Rekiny: przybywanie (s)", "Rekiny: maksymalna ilość",
      "Rekiny: prędkość (dm/s)",     "Rekiny: zasięg (dm)"};
  static_assert(std::size(captions) == wymianadanych::ParameterTable.size());
  return QString::fromUtf8(captions[parameter]);
}

QString DurationText(double seconds) {
  const auto s = static_cast<int64_t>(std::llround(std::max(0.0, seconds)));
  if (s >= 3600) return QStringLiteral("%1 h %2 min").arg(s / 3600).arg((s % 3600) / 60, 2, 10, QChar(u'0'));
  if (s >= 60) return QStringLiteral("%1 min %2 s").arg(s / 60).arg(s % 60);
  return QStringLiteral("%1 s").arg(s);
}

TForm10::TForm10(QWidget* parent) : QDialog(parent), ChooseFile(RunFileDialog) {
  FrameDialog(*this, QStringLiteral("Eksperyment"), Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint);
  resize(FirstWidth, FirstHeight);
  setMinimumSize(440, 360);
  move(FirstLeft, FirstTop);
  Confirm = [this](const QString& question) {
    return QMessageBox::question(this, windowTitle(), question) == QMessageBox::Yes;
  };
  BuildControls();
  SetKeyboardOrder();
  SaveDialog1 = MakeSaveDialog(this, QStringLiteral("Zapisz wyniki"),
                               {QStringLiteral("Pliki CSV (*.csv)"), QStringLiteral("Wszystkie Pliki (*)")},
                               QStringLiteral("csv"));
  SaveDialog2 = MakeSaveDialog(this, QStringLiteral("Zapisz wykres"),
                               {QStringLiteral("Obrazy PNG (*.png)"), QStringLiteral("Wszystkie Pliki (*)")},
                               QStringLiteral("png"));
  Timer1 = new QTimer(this);
  Timer1->setInterval(TimerMs);
  connect(Timer1, &QTimer::timeout, this, &TForm10::Timer1Timer);
  SetWorking(false);
  Form10 = this;
}

TForm10::~TForm10() {
  ShutDown();
  if (Form10 == this) Form10 = nullptr;
}

void TForm10::BuildControls() {
  auto* grid = new QGridLayout;
  auto parameterBox = [this](bool optional) {
    auto* box = new QComboBox(this);
    if (optional) box->addItem(QStringLiteral("(brak)"));
    for (int p = 0; p < wymianadanych::ParameterCount; ++p) box->addItem(ParameterCaption(p));
    return box;
  };
  ComboBox1 = parameterBox(true);
  ComboBox1->setCurrentIndex(1 + 7);  // SharkMax: the first question people ask
  LabeledEdit1 = Edit(QStringLiteral("Od"), QStringLiteral("1"), this);
  LabeledEdit2 = Edit(QStringLiteral("Do"), QStringLiteral("9"), this);
  LabeledEdit3 = Edit(QStringLiteral("Krok"), QStringLiteral("2"), this);
  ComboBox2 = parameterBox(true);
  LabeledEdit4 = Edit(QStringLiteral("Od"), QString(), this);
  LabeledEdit5 = Edit(QStringLiteral("Do"), QString(), this);
  LabeledEdit6 = Edit(QStringLiteral("Krok"), QString(), this);
  auto* first = new QLabel(QStringLiteral("Parametr 1"), this);
  auto* second = new QLabel(QStringLiteral("Parametr 2"), this);
  first->setBuddy(ComboBox1);
  second->setBuddy(ComboBox2);
  grid->addWidget(first, 0, 0, Qt::AlignBottom);
  grid->addWidget(ComboBox1, 1, 0);
  grid->addWidget(LabeledEdit1, 0, 1, 2, 1);
  grid->addWidget(LabeledEdit2, 0, 2, 2, 1);
  grid->addWidget(LabeledEdit3, 0, 3, 2, 1);
  grid->addWidget(second, 2, 0, Qt::AlignBottom);
  grid->addWidget(ComboBox2, 3, 0);
  grid->addWidget(LabeledEdit4, 2, 1, 2, 1);
  grid->addWidget(LabeledEdit5, 2, 2, 2, 1);
  grid->addWidget(LabeledEdit6, 2, 3, 2, 1);

  LabeledEdit7 = Edit(QStringLiteral("Powtórzenia (ziarna)"), QStringLiteral("30"), this, 130);
  LabeledEdit8 = Edit(QStringLiteral("Czas symulacji (min)"), QStringLiteral("60"), this, 130);
  ComboBox3 = new QComboBox(this);
  for (const TExperimentOutcome& o : ExperimentOutcomes()) ComboBox3->addItem(o.Caption);
  auto* outcome = new QLabel(QStringLiteral("Wynik na wykresie"), this);
  outcome->setBuddy(ComboBox3);
  grid->addWidget(LabeledEdit7, 4, 1, 2, 2);
  grid->addWidget(LabeledEdit8, 4, 3, 2, 2);
  grid->addWidget(outcome, 4, 0, Qt::AlignBottom);
  grid->addWidget(ComboBox3, 5, 0);
  grid->setColumnStretch(0, 1);

  Button1 = new QPushButton(QStringLiteral("Start"), this);
  Button2 = new QPushButton(QStringLiteral("Przerwij"), this);
  ProgressBar1 = new QProgressBar(this);
  Label1 = new QLabel(this);
  auto* run = new QHBoxLayout;
  run->addWidget(Button1);
  run->addWidget(Button2);
  run->addWidget(ProgressBar1, 1);
  run->addWidget(Label1);

  StringGrid1 = new QTableWidget(this);
  StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  StringGrid1->verticalHeader()->hide();
  StringGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  Chart1 = new QChart;
  Chart1->legend()->setAlignment(Qt::AlignBottom);
  Chart1->setMargins(QMargins(4, 4, 4, 4));
  ChartView1 = new QChartView(Chart1, this);
  ChartView1->setRenderHint(QPainter::Antialiasing);
  // The chart and the table each get the whole space below the controls.
  PageControl1 = new QTabWidget(this);
  PageControl1->addTab(ChartView1, QStringLiteral("Wykres"));
  PageControl1->addTab(StringGrid1, QStringLiteral("Tabela"));

  Button3 = new QPushButton(QStringLiteral("Zapisz wyniki…"), this);
  Button4 = new QPushButton(QStringLiteral("Zapisz wykres…"), this);
  auto* save = new QHBoxLayout;
  save->addStretch(1);
  save->addWidget(Button3);
  save->addWidget(Button4);

  auto* all = new QVBoxLayout(this);
  all->addLayout(grid);
  all->addLayout(run);
  all->addWidget(PageControl1, 1);
  all->addLayout(save);

  for (QPushButton* b : {Button1, Button2, Button3, Button4}) b->setAutoDefault(false);
  Button1->setDefault(true);
  connect(Button1, &QPushButton::clicked, this, &TForm10::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TForm10::Button2Click);
  connect(Button3, &QPushButton::clicked, this, &TForm10::Button3Click);
  connect(Button4, &QPushButton::clicked, this, &TForm10::Button4Click);
  connect(ComboBox1, &QComboBox::currentIndexChanged, this, &TForm10::ComboBox1Change);
  connect(ComboBox2, &QComboBox::currentIndexChanged, this, &TForm10::ComboBox2Change);
  connect(ComboBox3, &QComboBox::currentIndexChanged, this, &TForm10::ComboBox3Change);
  // An outcome the lab does not report yet is shown but not offered.
  for (int o = 0; o < ComboBox3->count(); ++o)
    if (!OutcomeAvailable(ExperimentOutcomes()[static_cast<size_t>(o)]))
      if (auto* model = qobject_cast<QStandardItemModel*>(ComboBox3->model())) model->item(o)->setEnabled(false);
  ComboBox1Change();
  ComboBox2Change();
}

void TForm10::SetKeyboardOrder() {
  QWidget* order[] = {ComboBox1,          LabeledEdit1->Edit(), LabeledEdit2->Edit(), LabeledEdit3->Edit(),
                      ComboBox2,          LabeledEdit4->Edit(), LabeledEdit5->Edit(), LabeledEdit6->Edit(),
                      ComboBox3,          LabeledEdit7->Edit(), LabeledEdit8->Edit(), Button1,
                      Button2,            PageControl1->tabBar(), Button3,            Button4};
  for (size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
}

void TForm10::ComboBox1Change() {
  for (TLabeledEdit* e : {LabeledEdit1, LabeledEdit2, LabeledEdit3}) e->setEnabled(ComboBox1->currentIndex() > 0);
}

void TForm10::ComboBox2Change() {
  for (TLabeledEdit* e : {LabeledEdit4, LabeledEdit5, LabeledEdit6}) e->setEnabled(ComboBox2->currentIndex() > 0);
}

void TForm10::ComboBox3Change() { RefreshChart(); }

std::optional<TVariedParameter> TForm10::ReadVaried(QComboBox* box, TLabeledEdit* from, TLabeledEdit* to,
                                                    TLabeledEdit* step) {
  TVariedParameter varied;
  varied.Parameter = box->currentIndex() - 1;
  const std::optional<int32_t> f = ValueOrReject(*from, ParameterEnding);
  if (!f) return std::nullopt;
  const std::optional<int32_t> t = ValueOrReject(*to, ParameterEnding);
  if (!t) return std::nullopt;
  const std::optional<int32_t> s = ValueOrReject(*step, ParameterEnding);
  if (!s) return std::nullopt;
  // A step of 0, or one that leads away from "Do", gives no values.
  const std::optional<std::vector<int32_t>> values = StepValues(*f, *t, *s, MaxListLength);
  if (!values) {
    Reject(*s == 0 || std::abs(static_cast<int64_t>(*t) - *f) / std::abs(int64_t{*s}) >= MaxListLength ? *step : *to);
    return std::nullopt;
  }
  varied.Values = *values;
  return varied;
}

std::optional<TExperimentPlan> TForm10::ReadPlan() {
  TExperimentPlan plan;
  if (ComboBox1->currentIndex() > 0) {
    std::optional<TVariedParameter> v = ReadVaried(ComboBox1, LabeledEdit1, LabeledEdit2, LabeledEdit3);
    if (!v) return std::nullopt;
    plan.Varied.push_back(std::move(*v));
  }
  if (ComboBox2->currentIndex() > 0) {
    if (ComboBox2->currentIndex() == ComboBox1->currentIndex()) {
      // One parameter cannot take two sets of values at once.
      ComboBox2->setFocus();
      ShowMessage(u'"' + ComboBox2->currentText() + QStringLiteral("\" ") + ParameterEnding);
      return std::nullopt;
    }
    std::optional<TVariedParameter> v = ReadVaried(ComboBox2, LabeledEdit4, LabeledEdit5, LabeledEdit6);
    if (!v) return std::nullopt;
    plan.Varied.push_back(std::move(*v));
  }
  const std::optional<int32_t> seeds = ValueOrReject(*LabeledEdit7, ParameterEnding);
  if (!seeds) return std::nullopt;
  if (*seeds < 1) {
    Reject(*LabeledEdit7);
    return std::nullopt;
  }
  const std::optional<int32_t> minutes = ValueOrReject(*LabeledEdit8, ParameterEnding);
  if (!minutes) return std::nullopt;
  if (*minutes < 1 || *minutes > MaxMinutes) {
    Reject(*LabeledEdit8);
    return std::nullopt;
  }
  plan.SeedCount = *seeds;
  plan.DurationMs = *minutes * 60'000;
  plan.ScenarioName = ScenarioName.toStdString();
  // A copy taken now: a run in progress goes on undisturbed.
  plan.Scenario = wymianadanych::TakeScenario(wymianadanych::World);
  return plan;
}

bool TForm10::AskForLargeSweep(const TSweep& sweep, const TExperimentPlan&) {
  const int64_t runs = sweep.RunCount();
  if (runs <= AskAboveRuns) return true;
  const double seconds = SecondsPerRun(sweep) * static_cast<double>(runs) / BackgroundJobs();
  return Confirm && Confirm(QStringLiteral("Eksperyment obejmuje %1 przebiegów i potrwa około %2. Rozpocząć?")
                                .arg(Locale.toString(static_cast<qlonglong>(runs)), DurationText(seconds)));
}

void TForm10::Button1Click() {
  Guarded([this] {
    if (working_) return;
    std::optional<TExperimentPlan> plan = ReadPlan();
    if (!plan) return;
    auto sweep = std::make_unique<TSweep>(MakeSweep(*plan));
    if (!AskForLargeSweep(*sweep, *plan)) return;
    sweep_ = std::move(sweep);
    StartSweep();
  });
}

void TForm10::StartSweep() {
  results_ = std::make_unique<TExperimentResults>(*sweep_);
  shownRuns_.assign(static_cast<size_t>(results_->SettingCount()), -1);
  handOver_.TakeAll();
  failures_.TakeAll();
  complete_ = false;
  const int64_t runs = sweep_->RunCount();
  ProgressBar1->setRange(0, static_cast<int>(std::min<int64_t>(runs, std::numeric_limits<int>::max())));
  ProgressBar1->setValue(0);
  RefreshTable();
  RefreshChart();
  const TSweep* sweep = sweep_.get();
  work_.Start([this, sweep](const std::atomic<bool>& stop) {
    try {
      TSweepJobs jobs;
      jobs.Jobs = BackgroundJobs();
      jobs.Run.Stop = &stop;
      jobs.Deliver = [this](const TSweepRun& run, TRunResult&& result) {
        result.Series.clear();
        handOver_.Put({run, std::move(result)});
      };
      const TShardRuns all{0, 1, sweep->RunCount()};
      RunSweep(*sweep, all, MapPicture, jobs);
    } catch (const std::exception& e) {
      failures_.Put(e.what());
    } catch (...) {
      failures_.Put(UnknownErrorText);
    }
  });
  clock_.start();
  lastViewMs_ = 0;
  SetWorking(true);
  Timer1->start();
}

void TForm10::Button2Click() {
  if (!working_) return;
  work_.Stop();
  FinishWork();
}

void TForm10::ShutDown() {
  Timer1->stop();
  work_.Stop();
  working_ = false;
}

void TForm10::Timer1Timer() {
  if (!results_) return;
  for (auto& [run, result] : handOver_.TakeAll()) results_->Add(run, result);
  for (const std::string& failure : failures_.TakeAll()) ShowErrorReport(QString::fromUtf8(failure));
  RefreshProgress();
  if (work_.Finished()) {
    FinishWork();
    return;
  }
  if (clock_.elapsed() - lastViewMs_ >= ViewRefreshMs) {
    lastViewMs_ = clock_.elapsed();
    RefreshTable();
    RefreshChart();
  }
}

void TForm10::FinishWork() {
  Timer1->stop();
  if (results_) {
    for (auto& [run, result] : handOver_.TakeAll()) results_->Add(run, result);
    complete_ = sweep_ && results_->RunsDone() == sweep_->RunCount();
  }
  SetWorking(false);
  RefreshProgress();
  RefreshTable();
  RefreshChart();
}

void TForm10::SetWorking(bool working) {
  working_ = working;
  Button1->setEnabled(!working);
  Button2->setEnabled(working);
  // The results table is the lab's only when every run is in it.
  Button3->setEnabled(!working && complete_);
  Button4->setEnabled(!working && results_ && results_->RunsDone() > 0);
  for (QWidget* w : std::initializer_list<QWidget*>{ComboBox1, ComboBox2, LabeledEdit7, LabeledEdit8})
    w->setEnabled(!working);
  if (working) {
    for (TLabeledEdit* e : {LabeledEdit1, LabeledEdit2, LabeledEdit3, LabeledEdit4, LabeledEdit5, LabeledEdit6})
      e->setEnabled(false);
  } else {
    ComboBox1Change();
    ComboBox2Change();
  }
}

void TForm10::RefreshProgress() {
  if (!results_ || !sweep_) {
    Label1->clear();
    return;
  }
  const int64_t done = results_->RunsDone(), runs = sweep_->RunCount();
  ProgressBar1->setValue(static_cast<int>(std::min<int64_t>(done, ProgressBar1->maximum())));
  QString text = QStringLiteral("%1 z %2").arg(Locale.toString(static_cast<qlonglong>(done)),
                                                Locale.toString(static_cast<qlonglong>(runs)));
  if (working_ && done > 0) {
    const double left = clock_.elapsed() / 1000.0 * static_cast<double>(runs - done) / static_cast<double>(done);
    text += QStringLiteral(", zostało %1").arg(DurationText(left));
  } else if (!working_ && done < runs) {
    text += QStringLiteral(", przerwano");
  }
  Label1->setText(text);
}

void TForm10::RefreshTable() {
  const auto& outcomes = ExperimentOutcomes();
  std::vector<size_t> shown;
  for (size_t o = 0; o < outcomes.size(); ++o)
    if (OutcomeAvailable(outcomes[o])) shown.push_back(o);
  const int varied = sweep_ ? static_cast<int>(sweep_->Axes.size()) : 0;
  QStringList header;
  for (int a = 0; a < varied; ++a) header << ParameterCaption(sweep_->Axes[static_cast<size_t>(a)].Parameter);
  header << QStringLiteral("Przebiegi");
  for (size_t o : shown) header << outcomes[o].Caption << QStringLiteral("95% przedział");
  if (StringGrid1->columnCount() != header.size()) {
    StringGrid1->setColumnCount(static_cast<int>(header.size()));
    StringGrid1->setHorizontalHeaderLabels(header);
  } else {
    StringGrid1->setHorizontalHeaderLabels(header);
  }
  const int64_t settings = results_ ? results_->SettingCount() : 0;
  if (StringGrid1->rowCount() != settings) StringGrid1->setRowCount(static_cast<int>(settings));
  auto set = [this](int row, int column, const QString& text) {
    QTableWidgetItem* item = StringGrid1->item(row, column);
    if (!item) StringGrid1->setItem(row, column, item = new QTableWidgetItem);
    item->setText(text);
  };
  for (int64_t s = 0; s < settings; ++s) {
    const int64_t runs = results_->SettingRuns(s);
    if (shownRuns_[static_cast<size_t>(s)] == runs) continue;
    shownRuns_[static_cast<size_t>(s)] = runs;
    const int row = static_cast<int>(s);
    int column = 0;
    for (int32_t v : results_->SettingValues(s)) set(row, column++, Locale.toString(v));
    set(row, column++, Locale.toString(static_cast<qlonglong>(runs)));
    for (size_t o : shown) {
      const TStatistic st = results_->Statistic(s, o);
      set(row, column++, st.N > 0 ? Locale.toString(st.Mean, 'f', 2) : QString());
      set(row, column++, IntervalText(Locale, st));
    }
  }
}

void TForm10::RefreshChart() {
  const size_t outcome = static_cast<size_t>(std::max(0, ComboBox3->currentIndex()));
  Chart1->setTitle(ComboBox3->currentText());
  if (!results_ || !sweep_) {
    DrawIntervalLines(*Chart1, {}, {});
    return;
  }
  // With a second parameter, each line is named by its value alone.
  if (sweep_->Axes.size() > 1)
    Chart1->setTitle(QStringLiteral("%1; linie: %2").arg(ComboBox3->currentText(),
                                                          ParameterCaption(sweep_->Axes[1].Parameter)));
  TIntervalAxis axis;
  if (!sweep_->Axes.empty()) {
    axis.Title = ParameterCaption(sweep_->Axes[0].Parameter);
    for (int32_t v : sweep_->Axes[0].Values) axis.Values.push_back(v);
  }
  // One line per value of the second parameter, in the order of its values.
  std::map<int32_t, TIntervalLine> lines;
  for (int64_t s = 0; s < results_->SettingCount(); ++s) {
    const std::vector<int32_t>& values = results_->SettingValues(s);
    const int32_t key = values.size() > 1 ? values[1] : 0;
    TIntervalLine& line = lines[key];
    line.Name = values.size() > 1 ? Locale.toString(key) : ComboBox3->currentText();
    line.Points.push_back({values.empty() ? 0.0 : values[0], results_->Statistic(s, outcome)});
  }
  std::vector<TIntervalLine> drawn;
  for (auto& [key, line] : lines) {
    std::sort(line.Points.begin(), line.Points.end(),
              [](const TIntervalPoint& a, const TIntervalPoint& b) { return a.X < b.X; });
    drawn.push_back(std::move(line));
  }
  DrawIntervalLines(*Chart1, drawn, axis);
}

void TForm10::Button3Click() {
  Guarded([this] {
    if (!results_ || !complete_) return;
    const QString path = ChooseFileWith(ChooseFile, *SaveDialog1);
    if (path.isEmpty()) return;
    GuardedSave(path, [&] { SaveReplacing(path, results_->Csv()); });
  });
}

void TForm10::Button4Click() {
  Guarded([this] {
    const QString path = ChooseFileWith(ChooseFile, *SaveDialog2);
    if (path.isEmpty()) return;
    GuardedSave(path, [&] { SaveWidgetPicture(*ChartView1, path); });
  });
}
