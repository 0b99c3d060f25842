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
#include <QStandardItemModel>
#include <QTimer>
#include <QVBoxLayout>

#include "dialog_style.h"
#include "edit_value.h"
#include "error_report.h"
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
  // The search minimises the people eaten; risk comes with the exposure
  // figures.
  if (auto* model = qobject_cast<QStandardItemModel*>(ComboBox1->model())) model->item(0)->setEnabled(false);
  ComboBox1->setCurrentIndex(1);
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
  grid->addWidget(objective, 2, 0);
  grid->addWidget(effort, 2, 1);
  grid->addWidget(ComboBox1, 3, 0);
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
  CheckBox1 = new QCheckBox(QStringLiteral("Pokaż też układ naiwny"), this);
  Memo1 = new QPlainTextEdit(this);
  Memo1->setReadOnly(true);

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
  all->addWidget(Memo1, 1);
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
                      Button2,              Memo1,                CheckBox1,            Button3,
                      Button4,              Button5};
  for (size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
}

void TForm11::Button1Click() {
  Guarded([this] {
    if (working_) return;
    TPlacementRequest request;
    TLabeledEdit* const edits[] = {LabeledEdit1, LabeledEdit2, LabeledEdit3, LabeledEdit4, LabeledEdit5};
    int32_t values[5] = {};
    for (int i = 0; i < 5; ++i) {
      const std::optional<int32_t> v = ValueOrReject(*edits[i], ParameterEnding);
      if (!v) return;
      // Counts may be 0 but not negative, and one object at least is added;
      // a range or speed must be positive.
      if (*v < 0 || (i >= 2 && *v == 0) || (i < 2 && *v > 50)) {
        edits[i]->Edit()->setFocus();
        ShowMessage(RejectionMessage(*edits[i], ParameterEnding));
        return;
      }
      values[i] = *v;
    }
    if (values[0] + values[1] == 0) {
      LabeledEdit1->Edit()->setFocus();
      ShowMessage(RejectionMessage(*LabeledEdit1, ParameterEnding));
      return;
    }
    request.Observers = values[0];
    request.Boats = values[1];
    request.ObserverRange = values[2];
    request.BoatSpeed = values[3];
    request.BoatRange = values[4];

    // A copy taken now: a run in progress goes on undisturbed.
    TScenarioSetup base{Form10 ? Form10->ScenarioName.toStdString() : std::string(),
                        wymianadanych::TakeScenario(wymianadanych::World)};
    ownObservers_ = base.Scenario.Observers.size();
    ownBoats_ = base.Scenario.Boats.size();
    // Refuses a map without a place for a requested kind of object.
    auto search = std::make_shared<TLayoutSearch>(MapPicture, std::move(base), request);
    TSearchSettings settings =
        Settings(ComboBox2->currentIndex() == 1 ? TAdviceEffort::Thorough : TAdviceEffort::Quick, BackgroundJobs());
    // The previous advice goes, overlay and all.
    result_.reset();
    if (Form2) Form2->SetOverlay(std::nullopt);
    progress_.TakeAll();
    lastProgress_ = {};
    answers_.TakeAll();
    failures_.TakeAll();
    Memo1->clear();
    Label1->clear();
    ProgressBar1->setValue(0);
    work_.Start([this, search, settings](const std::atomic<bool>& stop) mutable {
      try {
        settings.Stop = &stop;
        answers_.Put(search->Run(settings, [this](const TSearchProgress& p) { progress_.Put(p); }));
      } catch (const std::exception& e) {
        failures_.Put(e.what());
      } catch (...) {
        failures_.Put(UnknownErrorText);
      }
    });
    working_ = true;
    clock_.start();
    Timer1->start();
    RefreshButtons();
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

void TForm11::Timer1Timer() {
  std::vector<TSearchProgress> progress = progress_.TakeAll();
  if (!progress.empty()) lastProgress_ = progress.back();
  if (working_) {
    const TSearchProgress& p = lastProgress_;
    if (p.RunsPlanned > 0)
      ProgressBar1->setValue(static_cast<int>(1000 * std::min<int64_t>(p.RunsDone, p.RunsPlanned) / p.RunsPlanned));
    QString text = p.Checking ? QStringLiteral("Sprawdzanie na nowych próbach") : QStringLiteral("Szukanie");
    text += QStringLiteral(": %1 z %2 przebiegów")
                .arg(Locale.toString(static_cast<qlonglong>(p.RunsDone)),
                     Locale.toString(static_cast<qlonglong>(p.RunsPlanned)));
    if (p.BestMean) text += QStringLiteral("; najlepszy dotąd: %1 zjedzonych").arg(Locale.toString(*p.BestMean, 'f', 2));
    // The time so far shows the search at work between two progress reports.
    text += QStringLiteral("; %1").arg(DurationText(clock_.elapsed() / 1000.0));
    Label1->setText(text);
  }
  if (working_ && work_.Finished()) FinishWork();
  RefreshButtons();
}

void TForm11::FinishWork() {
  working_ = false;
  for (const std::string& failure : failures_.TakeAll()) ShowErrorReport(QString::fromUtf8(failure));
  std::vector<TOptimisation> answers = answers_.TakeAll();
  if (!answers.empty() && answers.back().Evaluations > 0) {
    result_ = std::move(answers.back());
    advised_ = AddedObjects(result_->Best, ownObservers_, ownBoats_);
    naive_ = AddedObjects(result_->Naive, ownObservers_, ownBoats_);
    applied_ = false;
    if (result_->CheckDone) ProgressBar1->setValue(ProgressBar1->maximum());
    Memo1->setPlainText(AdviceText());
  }
  if (!isVisible())
    Timer1->stop();
  else if (result_)
    ShowOverlay();
  RefreshButtons();
}

QString TForm11::AdviceText() const {
  const TOptimisation& o = *result_;
  auto n = [this](double v) { return Locale.toString(v, 'f', 2); };
  QString text = o.CheckDone ? QStringLiteral("Doradzany układ:\n")
                             : QStringLiteral("Najlepszy dotąd układ (niesprawdzony: wyszukiwanie przerwano):\n");
  for (const auto& p : advised_.Observers)
    text += QStringLiteral("  punkt obserwacyjny w (%1, %2), zasięg %3 dm\n").arg(p.X).arg(p.Y).arg(p.Range);
  for (const auto& b : advised_.Boats)
    text += QStringLiteral("  łódź: przystań (%1, %2), punkt patrolowy (%3, %4), %5 dm/s, zasięg %6 dm\n")
                .arg(b.HomeX)
                .arg(b.HomeY)
                .arg(b.PatrolX)
                .arg(b.PatrolY)
                .arg(b.Speed)
                .arg(b.Range);
  if (o.BestMean)
    text += QStringLiteral("Zjedzeni ludzie w wyszukiwaniu: %1 na przebieg (na %2 próbach).\n")
                .arg(n(*o.BestMean))
                .arg(o.BestSeeds);
  if (o.CheckDone) {
    const TLayoutCheck& c = o.Check;
    auto row = [&](const QString& name, const TStatistic& s) {
      return QStringLiteral("  %1: %2 (95% przedział %3 – %4)\n").arg(name, n(s.Mean), n(s.CiLow), n(s.CiHigh));
    };
    text += QStringLiteral("Sprawdzenie na %1 nowych próbach, zjedzeni ludzie na przebieg:\n")
                .arg(static_cast<qlonglong>(c.BestEaten.size()));
    text += row(QStringLiteral("układ naiwny"), c.Naive);
    text += row(QStringLiteral("układ doradzany"), c.Best);
    text += row(QStringLiteral("różnica (doradzany − naiwny)"), c.Difference);
    text += VerdictSentence(c.Difference) + u'\n';
  }
  text += QStringLiteral("Czas: wyszukiwanie %1, sprawdzenie %2.")
              .arg(DurationText(o.SearchSeconds), DurationText(o.CheckSeconds));
  return text;
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
  ComboBox2->setEnabled(!working_);
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
    SaveReplacing(path, ScenarioText(result_->Best));
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
