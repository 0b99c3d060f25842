#include "wendoUnit11.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QHideEvent>
#include <QShowEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "bad_input.h"
#include "dialog_style.h"
#include "edit_value.h"
#include "error_report.h"
#include "how_many_view.h"
#include "labeled_edit.h"
#include "message_box.h"
#include "optimize_report.h"
#include "pictures.h"
#include "replacing_save.h"
#include "scenario_content.h"
#include "wendoUnit10.h"
#include "wendoUnit2.h"

using namespace wendo_lab;

TForm11* Form11 = nullptr;

namespace {

TLabeledEdit* Edit(const QString& caption, const QString& text, QWidget* parent) {
  constexpr int width = 150;
  auto* edit = new TLabeledEdit(caption, parent);
  edit->PlaceEdit(0, TLabeledEdit::CaptionHeight, width);
  edit->setFixedSize(width, TLabeledEdit::CaptionHeight + TLabeledEdit::EditHeight);
  edit->SetText(text);
  return edit;
}

}  // namespace

TForm11::TForm11(QWidget* parent) : QDialog(parent), ChooseFile(RunFileDialog) {
  FrameDialog(*this, QStringLiteral("Doradca"), Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint);
  resize(FirstWidth, FirstHeight);
  setMinimumSize(420, 360);
  move(FirstLeft, FirstTop);
  BuildControls();
  SetKeyboardOrder();
  SaveDialog1 = MakeSaveDialog(this, QStringLiteral("Zapisz jako"),
                               {QStringLiteral("Pliki Wendy (*.wnd)"), QStringLiteral("Wszystkie Pliki (*)")},
                               QStringLiteral("wnd"));
  Timer1 = new QTimer(this);
  Timer1->setInterval(TimerMs);
  connect(Timer1, &QTimer::timeout, this, &TForm11::Timer1Timer);
  RefreshButtons();
  Form11 = this;
}

TForm11::~TForm11() {
  ShutDown();
  if (Form11 == this) Form11 = nullptr;
}

void TForm11::BuildControls() {
  LabeledEdit1 = Edit(QStringLiteral("Punkty do dodania"), QStringLiteral("1"), this);
  LabeledEdit2 = Edit(QStringLiteral("Łodzie do dodania"), QStringLiteral("1"), this);
  LabeledEdit3 = Edit(QStringLiteral("Zasięg punktu (dm)"), QStringLiteral("300"), this);
  LabeledEdit4 = Edit(QStringLiteral("Prędkość łodzi (dm/s)"), QStringLiteral("50"), this);
  LabeledEdit5 = Edit(QStringLiteral("Zasięg łodzi (dm)"), QStringLiteral("200"), this);
  ComboBox1 = new QComboBox(this);
  ComboBox1->addItems({QStringLiteral("Ryzyko na 1000 godzin pływania"), QStringLiteral("Zjedzeni ludzie")});
  ComboBox1->setCurrentIndex(0);
  ComboBox2 = new QComboBox(this);
  ComboBox2->addItems({QStringLiteral("Szybko (około minuty)"), QStringLiteral("Dokładnie (około pięciu minut)")});
  auto* objective = new QLabel(QStringLiteral("Cel"), this);
  objective->setBuddy(ComboBox1);
  auto* effort = new QLabel(QStringLiteral("Staranność"), this);
  effort->setBuddy(ComboBox2);

  auto* grid = new QGridLayout;
  grid->addWidget(LabeledEdit1, 0, 0);
  grid->addWidget(LabeledEdit3, 0, 1);
  grid->addWidget(LabeledEdit2, 1, 0);
  grid->addWidget(LabeledEdit4, 1, 1);
  grid->addWidget(LabeledEdit5, 1, 2);
  // Each choice on a line of its own, wide enough for its longest item.
  grid->addWidget(objective, 2, 0);
  grid->addWidget(ComboBox1, 2, 1, 1, 2);
  grid->addWidget(effort, 3, 0);
  grid->addWidget(ComboBox2, 3, 1, 1, 2);

  Button1 = new QPushButton(QStringLiteral("Start"), this);
  Button2 = new QPushButton(QStringLiteral("Przerwij"), this);
  ProgressBar1 = new QProgressBar(this);
  ProgressBar1->setRange(0, 1000);
  ProgressBar1->setValue(0);
  auto* run = new QHBoxLayout;
  run->addWidget(Button1);
  run->addWidget(Button2);
  run->addWidget(ProgressBar1, 1);
  Label1 = new QLabel(this);
  Label1->setWordWrap(true);
  CheckBox1 = new QCheckBox(QStringLiteral("Pokaż też układ naiwny"), this);
  Memo1 = new QPlainTextEdit(this);
  Memo1->setReadOnly(true);
  HowMany1 = new THowManyView(this);
  HowMany1->hide();
  Splitter1 = new QSplitter(Qt::Vertical, this);
  Splitter1->addWidget(HowMany1);
  Splitter1->addWidget(Memo1);
  Splitter1->setStretchFactor(0, 3);
  Splitter1->setStretchFactor(1, 1);

  Button3 = new QPushButton(QStringLiteral("Zastosuj"), this);
  Button4 = new QPushButton(QStringLiteral("Zapisz jako…"), this);
  Button5 = new QPushButton(QStringLiteral("Zamknij"), this);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(CheckBox1);
  buttons->addStretch(1);
  buttons->addWidget(Button3);
  buttons->addWidget(Button4);
  buttons->addWidget(Button5);

  auto* all = new QVBoxLayout(this);
  all->addLayout(grid);
  all->addLayout(run);
  all->addWidget(Label1);
  all->addWidget(Splitter1, 1);
  all->addLayout(buttons);

  for (QPushButton* b : {Button1, Button2, Button3, Button4, Button5}) b->setAutoDefault(false);
  Button1->setDefault(true);
  connect(Button1, &QPushButton::clicked, this, &TForm11::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TForm11::Button2Click);
  connect(Button3, &QPushButton::clicked, this, &TForm11::Button3Click);
  connect(Button4, &QPushButton::clicked, this, &TForm11::Button4Click);
  connect(Button5, &QPushButton::clicked, this, &TForm11::Button5Click);
  connect(CheckBox1, &QCheckBox::clicked, this, &TForm11::CheckBox1Click);
}

void TForm11::SetKeyboardOrder() {
  QWidget* order[] = {LabeledEdit1->Edit(), LabeledEdit3->Edit(), LabeledEdit2->Edit(), LabeledEdit4->Edit(),
                      LabeledEdit5->Edit(), ComboBox1,            ComboBox2,            Button1,
                      Button2,              HowMany1->Table,      Memo1,                CheckBox1,            Button3,
                      Button4,              Button5};
  for (size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
}

std::optional<TForm11::TRequest> TForm11::ReadRequest() {
  TRequest r;
  // Counts may be 0 but not negative, a range goes up, and one object at
  // least is added; a range or speed must be positive.
  constexpr int mostObjects = 50;
  auto refuse = [this](TLabeledEdit& edit) {
    edit.Edit()->setFocus();
    ShowMessage(RejectionMessage(edit, ParameterEnding));
  };
  for (auto [edit, counts] : {std::pair{LabeledEdit1, &r.Observers}, std::pair{LabeledEdit2, &r.Boats}}) {
    try {
      *counts = ParseCountRange(edit->Text().toStdString(), std::string(), mostObjects);
    } catch (const TBadInput&) {
      refuse(*edit);
      return std::nullopt;
    }
  }
  TLabeledEdit* const edits[] = {LabeledEdit3, LabeledEdit4, LabeledEdit5};
  int32_t values[3] = {};
  for (int i = 0; i < 3; ++i) {
    const std::optional<int32_t> v = ValueOrReject(*edits[i], ParameterEnding);
    if (!v) return std::nullopt;
    if (*v <= 0) {
      refuse(*edits[i]);
      return std::nullopt;
    }
    values[i] = *v;
  }
  if (r.Observers.To + r.Boats.To == 0) {
    refuse(*LabeledEdit1);
    return std::nullopt;
  }
  r.Placement.Observers = r.Observers.To;
  r.Placement.Boats = r.Boats.To;
  r.Placement.ObserverRange = values[0];
  r.Placement.BoatSpeed = values[1];
  r.Placement.BoatRange = values[2];
  return r;
}

void TForm11::Button1Click() {
  Guarded([this] {
    if (working_) return;
    const std::optional<TRequest> request = ReadRequest();
    if (!request) return;
    settings_ =
        Settings(ComboBox2->currentIndex() == 1 ? TAdviceEffort::Thorough : TAdviceEffort::Quick, BackgroundJobs());
    settings_.Objective = DefaultObjectiveSettings(ComboBox1->currentIndex() == 1 ? TObjective::Eaten : TObjective::Risk);
    if (request->HowMany()) {
      // Each combination must afford one evaluation.
      const int combinations = SearchedCombinations(request->Observers, request->Boats);
      if (settings_.Budget / combinations < LeastBudget(settings_)) {
        LabeledEdit1->Edit()->setFocus();
        ShowMessage(QStringLiteral("Za dużo kombinacji liczb (%1) na wybraną staranność: zawęź zakresy.")
                        .arg(combinations));
        return;
      }
    }
    // A copy taken now: a run in progress goes on undisturbed.
    TScenarioSetup base{Form10 ? Form10->ScenarioName.toStdString() : std::string(),
                        wymianadanych::TakeScenario(wymianadanych::World)};
    ownObservers_ = base.Scenario.Observers.size();
    ownBoats_ = base.Scenario.Boats.size();
    // Refuses a map without a place for a requested kind of object, before
    // anything runs; the warnings ask it about the map later.
    search_ = std::make_shared<const TLayoutSearch>(MapPicture, base, request->Placement);
    // The previous answer goes, overlay and all.
    result_.reset();
    howMany_.reset();
    if (Form2) Form2->SetOverlay(std::nullopt);
    progress_.TakeAll();
    howManyProgress_.TakeAll();
    lastProgress_ = {};
    lastHowMany_.reset();
    runsBefore_ = runsLast_ = 0;
    answers_.TakeAll();
    howManyAnswers_.TakeAll();
    failures_.TakeAll();
    Memo1->clear();
    HowMany1->Clear();
    HowMany1->hide();
    Label1->clear();
    ProgressBar1->setValue(0);
    if (request->HowMany())
      StartHowMany(*request, std::move(base));
    else
      StartAdvice();
    working_ = true;
    clock_.start();
    Timer1->start();
    RefreshButtons();
  });
}

void TForm11::StartAdvice() {
  work_.Start([this, search = search_, settings = settings_](const std::atomic<bool>& stop) mutable {
    try {
      settings.Stop = &stop;
      answers_.Put(search->Run(settings, [this](const TSearchProgress& p) { progress_.Put(p); }));
    } catch (const std::exception& e) {
      failures_.Put(e.what());
    } catch (...) {
      failures_.Put(UnknownErrorText);
    }
  });
}

void TForm11::StartHowMany(const TRequest& request, TScenarioSetup base) {
  work_.Start([this, base = std::move(base), request, settings = settings_](const std::atomic<bool>& stop) mutable {
    try {
      settings.Stop = &stop;
      howManyAnswers_.Put(RunHowMany(MapPicture, base, request.Placement, request.Observers, request.Boats, settings,
                                     [this](const THowManyProgress& p) { howManyProgress_.Put(p); }));
    } catch (const std::exception& e) {
      failures_.Put(e.what());
    } catch (...) {
      failures_.Put(UnknownErrorText);
    }
  });
}

void TForm11::Button2Click() {
  if (!working_) return;
  // The search returns what it found so far.
  work_.Stop();
  FinishWork();
}

void TForm11::ShutDown() {
  Timer1->stop();
  work_.Stop();
  working_ = false;
}

void TForm11::ShowProgress() {
  for (const THowManyProgress& p : howManyProgress_.TakeAll()) {
    // The runs of the combinations done before the current one.
    if (!lastHowMany_ || p.Combination != lastHowMany_->Combination) runsBefore_ += runsLast_;
    runsLast_ = p.Search.RunsDone;
    lastHowMany_ = p;
    lastProgress_ = p.Search;
  }
  std::vector<TSearchProgress> progress = progress_.TakeAll();
  if (!progress.empty()) lastProgress_ = progress.back();
  const TSearchProgress& p = lastProgress_;
  int64_t done = p.RunsDone, planned = p.RunsPlanned;
  QString text;
  if (lastHowMany_) {
    const THowManyProgress& h = *lastHowMany_;
    // The later combinations as the current one plans, the budget split evenly.
    const int64_t later = int64_t{h.Combinations - h.Combination} *
                          (settings_.Budget / std::max(1, h.Combinations) + settings_.HeldOutSeeds);
    done += runsBefore_;
    planned += runsBefore_ + later;
    text = QStringLiteral("kombinacja %1 z %2; ").arg(h.Combination).arg(h.Combinations);
  }
  if (planned > 0) ProgressBar1->setValue(static_cast<int>(1000 * std::min(done, planned) / planned));
  text += p.Checking ? QStringLiteral("Sprawdzanie na nowych próbach") : QStringLiteral("Szukanie");
  text += QStringLiteral(": %1 z %2 przebiegów")
              .arg(Locale.toString(static_cast<qlonglong>(p.RunsDone)),
                   Locale.toString(static_cast<qlonglong>(p.RunsPlanned)));
  if (p.BestScore)
    text += QStringLiteral("; najlepszy dotąd: %1").arg(ScoreWords(*p.BestScore, settings_.Objective.Objective));
  // The time so far shows the search at work between two progress reports.
  text += QStringLiteral("; %1").arg(DurationText(clock_.elapsed() / 1000.0));
  Label1->setText(text);
}

void TForm11::Timer1Timer() {
  if (working_) ShowProgress();
  if (working_ && work_.Finished()) FinishWork();
  RefreshButtons();
}

void TForm11::FinishWork() {
  if (working_) ShowProgress();  // the last reports, the final combination's among them
  working_ = false;
  for (const std::string& failure : failures_.TakeAll()) ShowErrorReport(QString::fromUtf8(failure));
  std::vector<TOptimisation> answers = answers_.TakeAll();
  if (!answers.empty() && answers.back().Evaluations > 0) {
    result_ = std::move(answers.back());
    // What the window offers is what the lab writes: the advice, or when
    // the check found it no better, the better of the two, named so.
    const TScenarioSetup& offered = WrittenLayout(*result_, settings_.Objective.Objective);
    advised_ = AddedObjects(offered, ownObservers_, ownBoats_);
    naive_ = AddedObjects(result_->Naive, ownObservers_, ownBoats_);
    applied_ = false;
    if (result_->CheckDone) ProgressBar1->setValue(ProgressBar1->maximum());
    Memo1->setPlainText(AdviceReport(*result_, {settings_, *search_, ownObservers_, ownBoats_}));
  }
  std::vector<THowMany> tables = howManyAnswers_.TakeAll();
  if (!tables.empty() && !tables.back().Rows.empty()) {
    howMany_ = std::move(tables.back());
    if (howMany_->Done) ProgressBar1->setValue(ProgressBar1->maximum());
    HowMany1->Show(*howMany_, settings_.Objective.Objective);
    HowMany1->show();
    // The table's fourteen columns and the chart want room; the notes
    // below take what is left.
    if (width() < 740) resize(740, height());
    const int room = Splitter1->height();
    Splitter1->setSizes({room * 3 / 4, room - room * 3 / 4});
    Memo1->setPlainText(HowManyNotes(*howMany_, settings_));
  } else if (!tables.empty()) {
    Memo1->setPlainText(QStringLiteral("Przerwano przed sprawdzeniem pierwszej kombinacji: nie ma czego pokazać."));
  }
  if (!isVisible())
    Timer1->stop();
  else if (result_)
    ShowOverlay();
  RefreshButtons();
}

void TForm11::ShowOverlay() {
  if (!Form2 || !result_) return;
  TLayoutOverlay overlay;
  overlay.Advised = advised_;
  overlay.Naive = naive_;
  overlay.ShowNaive = CheckBox1->isChecked();
  Form2->SetOverlay(std::move(overlay));
}

void TForm11::CheckBox1Click() { ShowOverlay(); }

void TForm11::RefreshButtons() {
  Button1->setEnabled(!working_);
  Button2->setEnabled(working_);
  for (TLabeledEdit* e : {LabeledEdit1, LabeledEdit2, LabeledEdit3, LabeledEdit4, LabeledEdit5})
    e->setEnabled(!working_);
  ComboBox1->setEnabled(!working_);
  ComboBox2->setEnabled(!working_);
  // A how-many table holds no layouts: these act on a single advice only.
  const bool advice = !working_ && result_.has_value();
  // "Zastosuj" as the objects dialog: only while no run is running.
  Button3->setEnabled(advice && !applied_ && ObjectsEditable && ObjectsEditable());
  Button4->setEnabled(advice);
  CheckBox1->setEnabled(advice);
}

void TForm11::Button3Click() {
  Guarded([this] {
    if (!result_ || working_ || applied_ || !ObjectsEditable || !ObjectsEditable()) return;
    AddToWorld(wymianadanych::World, advised_);
    applied_ = true;
    if (Form2) {
      // The objects are on the map now; the overlay would draw them twice.
      Form2->SetOverlay(std::nullopt);
    }
    RefreshButtons();
  });
}

void TForm11::Button4Click() {
  Guarded([this] {
    if (!result_) return;
    const QString path = ChooseFileWith(ChooseFile, *SaveDialog1);
    if (path.isEmpty()) return;
    SaveReplacing(path, ScenarioText(WrittenLayout(*result_, settings_.Objective.Objective)));
  });
}

void TForm11::Button5Click() { close(); }

void TForm11::closeEvent(QCloseEvent* event) {
  // Closing hides the window and the overlay goes with it; a search goes on
  // and is found finished at the next showing.
  if (Form2) Form2->SetOverlay(std::nullopt);
  QDialog::closeEvent(event);
}

void TForm11::showEvent(QShowEvent* event) {
  // "Zastosuj" follows the run state while the window is shown.
  Timer1->start();
  if (result_ && !applied_) ShowOverlay();
  QDialog::showEvent(event);
}

void TForm11::hideEvent(QHideEvent* event) {
  if (!working_) Timer1->stop();
  QDialog::hideEvent(event);
}
