// The "Eksperyment" window: its results table is the lab's own byte for
// byte, bad values are refused, a large sweep asks first, "Przerwij" and
// closing the program end the background work at once, and the keyboard
// order.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <algorithm>
#include <sstream>

#include "console.h"
#include "csv.h"
#include "labeled_edit.h"
#include "program_fixture.h"
#include "run_command.h"
#include "scenario_file.h"
#include "summary.h"
#include "value_lists.h"
#include "wendoUnit10.h"
#include "world_fixture.h"

using dialog_tests::MessageCapture;
using dialog_tests::WaitFor;
using wymianadanych::World;

namespace {

class ExperimentWindow : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    OpenProgram();
    ASSERT_TRUE(dir.isValid());
    ASSERT_NE(Form10, nullptr);
  }

  // Parameter `p` (table index) varied from..to by step in row `row` (0, 1).
  static void Vary(int row, int p, const QString& from, const QString& to, const QString& step) {
    (row == 0 ? Form10->ComboBox1 : Form10->ComboBox2)->setCurrentIndex(p + 1);
    TLabeledEdit* const edits[2][3] = {{Form10->LabeledEdit1, Form10->LabeledEdit2, Form10->LabeledEdit3},
                                       {Form10->LabeledEdit4, Form10->LabeledEdit5, Form10->LabeledEdit6}};
    edits[row][0]->SetText(from);
    edits[row][1]->SetText(to);
    edits[row][2]->SetText(step);
  }

  static void RunsAndMinutes(const QString& seeds, const QString& minutes) {
    Form10->LabeledEdit7->SetText(seeds);
    Form10->LabeledEdit8->SetText(minutes);
  }

  static QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  MessageCapture capture;
  QTemporaryDir dir;
};

constexpr int SharkMax = 7, PersonMax = 3;

}  // namespace

TEST_F(ExperimentWindow, SavedResultsAreTheLabsRunTableByteForByte) {
  wendo_test::AddObserver(World, 380, 900, 150);
  wendo_test::AddBoat(World, 200, 800, 100, 900, 40, 120);
  const QString scenario = dir.filePath(QStringLiteral("plaza.wnd"));
  wymianadanych::SaveScenario(World, scenario.toStdString());
  Form10->ScenarioName = scenario;
  Vary(0, SharkMax, QStringLiteral("2"), QStringLiteral("6"), QStringLiteral("4"));
  Vary(1, PersonMax, QStringLiteral("30"), QStringLiteral("50"), QStringLiteral("20"));
  RunsAndMinutes(QStringLiteral("3"), QStringLiteral("2"));

  Form10->Button1Click();
  ASSERT_TRUE(Form10->Working());
  ASSERT_TRUE(WaitFor([] { return !Form10->Working(); }, 60000));
  ASSERT_EQ(Form10->Results()->RunsDone(), 12);
  EXPECT_EQ(Form10->StringGrid1->rowCount(), 4);
  const QString saved = dir.filePath(QStringLiteral("wyniki.csv"));
  Form10->ChooseFile = [saved](QFileDialog&) { return saved; };
  ASSERT_TRUE(Form10->Button3->isEnabled());
  Form10->Button3Click();

  wendo_lab::TRunArguments lab;
  lab.Scenarios = {scenario.toStdString()};
  lab.Seeds = wendo_lab::ParseSeeds("1-3");
  lab.Axes = {wendo_lab::ParseSetting("SharkMax=2:6:4"), wendo_lab::ParseSetting("PersonMax=30:50:20")};
  lab.DurationMs = 120'000;
  lab.Map = WENDO_TEST_ASSET_DIR "/wendo.bmp";
  lab.Out = dir.filePath(QStringLiteral("lab.csv")).toStdString();
  std::ostringstream out, err;
  ASSERT_EQ(wendo_lab::RunCommand(lab, {out, err}), wendo_lab::ExitDone) << err.str();
  const QByteArray expected = Contents(QString::fromStdString(lab.Out));
  ASSERT_FALSE(expected.isEmpty());
  EXPECT_EQ(Contents(saved), expected);
  EXPECT_TRUE(capture.errors.empty());
  EXPECT_TRUE(capture.messages.empty());

  // The risk of each setting is the lab summary's ratio of totals, with its
  // interval.
  const auto& outcomes = ExperimentOutcomes();
  const size_t risk = static_cast<size_t>(
      std::find_if(outcomes.begin(), outcomes.end(),
                   [](const TExperimentOutcome& o) { return o.Column == std::string("eaten_per_1000_swim_hours"); }) -
      outcomes.begin());
  ASSERT_LT(risk, outcomes.size());
  ASSERT_TRUE(OutcomeAvailable(outcomes[risk]));
  const wendo_lab::TSummary summary =
      wendo_lab::Summarise([&] { return std::make_unique<wendo_lab::TCsvReader>(lab.Out); });
  ASSERT_EQ(summary.Configurations.size(), 4u);
  bool eaten = false;
  for (int64_t s = 0; s < 4; ++s) {
    const wendo_lab::TRatioEstimate e = summary.Configurations[static_cast<size_t>(s)].Risk.Estimate(1000);
    const wendo_lab::TStatistic shown = Form10->Results()->Statistic(s, risk);
    ASSERT_TRUE(e.IntervalKnown);
    EXPECT_EQ(shown.N, e.N);
    EXPECT_NEAR(shown.Mean, e.Ratio, 1e-9 * (1 + e.Ratio)) << s;
    EXPECT_NEAR(shown.CiLow, e.CiLow, 1e-9 * (1 + e.Ratio)) << s;
    EXPECT_NEAR(shown.CiHigh, e.CiHigh, 1e-9 * (1 + e.Ratio)) << s;
    eaten = eaten || e.Ratio > 0;
  }
  EXPECT_TRUE(eaten);  // with nobody eaten, a mean of per-run ratios would agree as well
}

TEST_F(ExperimentWindow, BadValuesAreRefusedWithTheEditFocused) {
  Form10->show();
  struct TCase {
    TLabeledEdit* Edit;
    QString Text;
  };
  Vary(0, SharkMax, QStringLiteral("1"), QStringLiteral("5"), QStringLiteral("1"));
  RunsAndMinutes(QStringLiteral("3"), QStringLiteral("2"));
  const TCase cases[] = {
      {Form10->LabeledEdit1, QStringLiteral("12a")},  // not a number
      {Form10->LabeledEdit3, QStringLiteral("0")},    // a step of 0 never ends
      {Form10->LabeledEdit2, QStringLiteral("-3")},   // the steps lead away from "Do"
      {Form10->LabeledEdit7, QStringLiteral("0")},    // no seeds
      {Form10->LabeledEdit8, QStringLiteral("40000")},  // beyond the simulated clock
  };
  for (const TCase& c : cases) {
    const QString good = c.Edit->Text();
    c.Edit->SetText(c.Text);
    capture.messages.clear();
    Form10->Button1Click();
    QApplication::processEvents();
    ASSERT_EQ(capture.messages.size(), 1u) << c.Text.toStdString();
    EXPECT_EQ(capture.messages[0], u'"' + c.Text + QStringLiteral("\" nie jest prawidłową wartością."));
    EXPECT_EQ(Form10->focusWidget(), c.Edit->Edit()) << c.Text.toStdString();
    EXPECT_FALSE(Form10->Working());
    EXPECT_EQ(Form10->Results(), nullptr);
    c.Edit->SetText(good);
  }
  // The same parameter twice.
  Vary(1, SharkMax, QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("1"));
  capture.messages.clear();
  Form10->Button1Click();
  ASSERT_EQ(capture.messages.size(), 1u);
  EXPECT_EQ(Form10->focusWidget(), Form10->ComboBox2);
  EXPECT_EQ(Form10->Results(), nullptr);
}

TEST_F(ExperimentWindow, ALargeSweepAsksFirstWithItsEstimatedTime) {
  Form10->ComboBox1->setCurrentIndex(0);
  RunsAndMinutes(QStringLiteral("150000"), QStringLiteral("1"));
  QString question;
  Form10->Confirm = [&](const QString& q) {
    question = q;
    return false;
  };
  Form10->Button1Click();
  EXPECT_TRUE(question.contains(Form10->Locale.toString(150000))) << question.toStdString();
  EXPECT_TRUE(question.contains(QStringLiteral("potrwa około")));
  EXPECT_FALSE(Form10->Working());
  EXPECT_EQ(Form10->Results(), nullptr);
}

TEST_F(ExperimentWindow, PrzerwijAndClosingTheProgramStopTheWorkAtOnce) {
  Form10->ComboBox1->setCurrentIndex(0);
  RunsAndMinutes(QStringLiteral("5000"), QStringLiteral("600"));
  Form10->Button1Click();
  ASSERT_TRUE(Form10->Working());
  QElapsedTimer clock;
  clock.start();
  Form10->Button2Click();
  EXPECT_LT(clock.elapsed(), 500);
  EXPECT_FALSE(Form10->Working());
  EXPECT_FALSE(Form10->Button3->isEnabled());  // an interrupted sweep is not the lab's table
  EXPECT_TRUE(Form10->Button1->isEnabled());

  Form10->Button1Click();
  ASSERT_TRUE(Form10->Working());
  form->show();
  clock.restart();
  form->close();
  EXPECT_LT(clock.elapsed(), 2000);
  EXPECT_FALSE(Form10->Working());
  EXPECT_TRUE(capture.errors.empty());
}

TEST_F(ExperimentWindow, TabVisitsTheControlsInOrder) {
  Form10->ComboBox2->setCurrentIndex(1);  // every edit enabled
  QWidget* const order[] = {Form10->ComboBox1,          Form10->LabeledEdit1->Edit(), Form10->LabeledEdit2->Edit(),
                            Form10->LabeledEdit3->Edit(), Form10->ComboBox2,          Form10->LabeledEdit4->Edit(),
                            Form10->LabeledEdit5->Edit(), Form10->LabeledEdit6->Edit(), Form10->ComboBox3,
                            Form10->LabeledEdit7->Edit(), Form10->LabeledEdit8->Edit(), Form10->Button1};
  for (size_t i = 1; i < std::size(order); ++i) {
    QWidget* next = order[i - 1]->nextInFocusChain();
    while (next != order[i - 1] && !(next->focusPolicy() & Qt::TabFocus)) next = next->nextInFocusChain();
    EXPECT_EQ(next, order[i]) << "after control " << i - 1;
  }
}
