// The "Doradca" window: the objective reaches the search; "Zastosuj" puts
// exactly the advised objects into the scenario as the objects dialog
// would, and only when that dialog may change it; the overlay leaves the
// map's frames untouched when not shown; a range of counts runs how-many;
// bad values and ranges, "Przerwij", closing the program during a search,
// and the keyboard order.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>

#include "how_many_view.h"
#include "labeled_edit.h"
#include "program_fixture.h"
#include "wendoUnit11.h"
#include "wendoUnit2.h"
#include "wendoUnit5.h"
#include "world_fixture.h"

using dialog_tests::MessageCapture;
using dialog_tests::WaitFor;
using wymianadanych::World;

namespace {

class AdvisorWindow : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    OpenProgram();
    ASSERT_NE(Form11, nullptr);
    // A short search: a few layouts of ten simulated minutes.
    Form11->Settings = [](TAdviceEffort, int jobs) {
      wendo_lab::TSearchSettings s;
      s.DurationMs = 600'000;
      s.SeedsPerEvaluation = 2;
      s.Budget = 24;
      s.HeldOutSeeds = 20;
      s.Jobs = jobs;
      return s;
    };
  }

  static void Finish() { ASSERT_TRUE(WaitFor([] { return !Form11->Working(); }, 60000)); }

  MessageCapture capture;
};

}  // namespace

TEST_F(AdvisorWindow, ZastosujAddsExactlyTheAdvisedObjectsAsTheObjectsDialogWould) {
  wendo_test::AddObserver(World, 380, 900, 150);
  Form11->LabeledEdit1->SetText(QStringLiteral("1"));
  Form11->LabeledEdit2->SetText(QStringLiteral("1"));
  Form11->show();
  Form11->Button1Click();
  ASSERT_TRUE(Form11->Working());
  Finish();
  ASSERT_TRUE(Form11->Result().has_value());
  EXPECT_TRUE(Form11->Result()->CheckDone);
  // The risk, the default, keeps half of the swimming: the search ran the
  // scenario as given beside its layouts, and the check compared with it.
  EXPECT_EQ(Form11->SearchSettings().Objective.Objective, wendo_lab::TObjective::Risk);
  EXPECT_TRUE(Form11->Result()->Plan.AsGiven);
  EXPECT_FALSE(Form11->Result()->Check.AsGiven.Runs.empty());
  const QString text = Form11->Memo1->toPlainText();
  EXPECT_TRUE(text.contains(QStringLiteral("Scenariusz bez zmian:"))) << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("od scenariusza bez zmian"))) << text.toStdString();
  EXPECT_EQ(text.contains(QStringLiteral("To nie jest porada")), !IsAdvice(*Form11->Result()));
  const TLayoutObjects advised = Form11->Advised();
  ASSERT_EQ(advised.Observers.size(), 1u);
  ASSERT_EQ(advised.Boats.size(), 1u);
  EXPECT_EQ(Form11->OwnObservers(), 1u);

  // Not while a run is running, as the objects dialog.
  World.SimStepMs = World.PersonArrivalS = World.SharkArrivalS = 100000000;
  form->Wznow1Click();
  Form11->Timer1Timer();
  EXPECT_FALSE(Form11->Button3->isEnabled());
  Form11->Button3Click();
  EXPECT_EQ(World.Observers.size(), 1u);
  form->Wstrzymaj1Click();
  Form11->Timer1Timer();
  ASSERT_TRUE(Form11->Button3->isEnabled());

  Form11->Button3Click();
  ASSERT_EQ(World.Observers.size(), 2u);
  ASSERT_EQ(World.Boats.size(), 1u);
  const auto& p = World.Observers[1];
  EXPECT_EQ(p.X, advised.Observers[0].X);
  EXPECT_EQ(p.Y, advised.Observers[0].Y);
  EXPECT_EQ(p.Range, 300);
  const auto& b = World.Boats[0];
  const auto& a = advised.Boats[0];
  EXPECT_EQ(std::tuple(b.X, b.Y, b.HomeX, b.HomeY, b.PatrolX, b.PatrolY, b.Speed, b.Range, b.Outbound),
            std::tuple(a.HomeX, a.HomeY, a.HomeX, a.HomeY, a.PatrolX, a.PatrolY, 50, 200, true));
  EXPECT_FALSE(Form11->Button3->isEnabled());  // once only
  Form11->Button3Click();
  EXPECT_EQ(World.Observers.size(), 2u);

  Form5->FormShow();
  EXPECT_EQ(TForm5::Cell(Form5->StringGrid1, 0, 2), QString::number(p.X));
  EXPECT_EQ(TForm5::Cell(Form5->StringGrid1, 1, 2), QString::number(p.Y));
  EXPECT_EQ(TForm5::Cell(Form5->StringGrid2, 2, 1), QString::number(a.PatrolX));
  form->Zakoncz1Click();
  EXPECT_TRUE(capture.errors.empty());
}

TEST_F(AdvisorWindow, TheOverlayLeavesTheMapsFramesAsTheyWereWhenNotShown) {
  {
    std::lock_guard guard(World.Lock);
    World.ViewLeft = 100;
    World.ViewTop = 700;
  }
  Form2->RedrawMap();
  const QImage plain = Form2->Image1->Frame().copy();
  TLayoutOverlay overlay;
  wymianadanych::TObserwator post;
  post.X = 400;
  post.Y = 900;
  post.Range = 120;
  overlay.Advised.Observers.push_back(post);
  Form2->SetOverlay(overlay);
  Form2->RedrawMap();
  const QImage advised = Form2->Image1->Frame().copy();
  EXPECT_NE(advised, plain);
  EXPECT_EQ(advised.pixelColor(300, 200 - 5).rgb() & 0xFFFFFF, AdvisedColour.rgb() & 0xFFFFFF);

  // While a point is picked the colours under the pointer are the map's.
  Form2->PickActive = true;
  Form2->RedrawMap();
  EXPECT_EQ(Form2->Image1->Frame(), plain);
  Form2->PickActive = false;

  // "Zamknij" takes the overlay away.
  Form11->show();
  Form11->Button5Click();
  EXPECT_FALSE(Form11->isVisible());
  EXPECT_FALSE(Form2->Overlay().has_value());
  Form2->RedrawMap();
  EXPECT_EQ(Form2->Image1->Frame(), plain);
}

TEST_F(AdvisorWindow, BadValuesAreRefused) {
  struct TCase {
    TLabeledEdit* Edit;
    QString Text;
  };
  const TCase cases[] = {
      {Form11->LabeledEdit1, QStringLiteral("x")},
      {Form11->LabeledEdit2, QStringLiteral("-1")},
      {Form11->LabeledEdit3, QStringLiteral("0")},
      {Form11->LabeledEdit4, QStringLiteral("")},
      {Form11->LabeledEdit1, QStringLiteral("3-1")},
      {Form11->LabeledEdit2, QStringLiteral("0-")},
      {Form11->LabeledEdit2, QStringLiteral("0-99")},
  };
  for (const TCase& c : cases) {
    const QString good = c.Edit->Text();
    c.Edit->SetText(c.Text);
    capture.messages.clear();
    Form11->Button1Click();
    ASSERT_EQ(capture.messages.size(), 1u) << c.Text.toStdString();
    EXPECT_EQ(capture.messages[0], u'"' + c.Text + QStringLiteral("\" nie jest prawidłową wartością."));
    EXPECT_EQ(Form11->focusWidget(), c.Edit->Edit());
    EXPECT_FALSE(Form11->Working());
    c.Edit->SetText(good);
  }
  // Nothing to add at all.
  Form11->LabeledEdit1->SetText(QStringLiteral("0"));
  Form11->LabeledEdit2->SetText(QStringLiteral("0"));
  capture.messages.clear();
  Form11->Button1Click();
  EXPECT_EQ(capture.messages.size(), 1u);
  EXPECT_FALSE(Form11->Working());
}

TEST_F(AdvisorWindow, PrzerwijOffersTheBestSoFarUncheckedAndClosingEndsTheSearch) {
  Form11->Settings = [](TAdviceEffort, int jobs) {
    wendo_lab::TSearchSettings s = AdviceSettings(TAdviceEffort::Thorough, jobs);
    s.SeedsPerEvaluation = 2;
    return s;
  };
  Form11->ComboBox1->setCurrentIndex(1);  // the people eaten, no share of swimming kept
  Form11->show();
  Form11->Button1Click();
  ASSERT_TRUE(Form11->Working());
  EXPECT_EQ(Form11->SearchSettings().Objective.Objective, wendo_lab::TObjective::Eaten);
  EXPECT_EQ(Form11->SearchSettings().Objective.MinUse, 0.0);
  ASSERT_TRUE(WaitFor([] { return Form11->Label1->text().contains(QStringLiteral("najlepszy")); }, 60000));
  QElapsedTimer clock;
  clock.start();
  Form11->Button2Click();
  EXPECT_LT(clock.elapsed(), 500);
  EXPECT_FALSE(Form11->Working());
  ASSERT_TRUE(Form11->Result().has_value());
  EXPECT_FALSE(Form11->Result()->CheckDone);
  EXPECT_TRUE(Form11->Memo1->toPlainText().contains(QStringLiteral("niesprawdzony")));
  EXPECT_TRUE(Form2->Overlay().has_value());

  Form11->Button1Click();
  ASSERT_TRUE(Form11->Working());
  form->show();
  clock.restart();
  form->close();
  EXPECT_LT(clock.elapsed(), 2000);
  EXPECT_FALSE(Form11->Working());
}

TEST_F(AdvisorWindow, ARangeOfCountsRunsHowManyAndPrzerwijStopsIt) {
  Form11->LabeledEdit1->SetText(QStringLiteral("0-1"));
  Form11->LabeledEdit2->SetText(QStringLiteral("1"));
  Form11->show();
  Form11->Button1Click();
  ASSERT_TRUE(Form11->Working());
  Finish();
  ASSERT_TRUE(Form11->HowManyResult().has_value());
  const wendo_lab::THowMany& table = *Form11->HowManyResult();
  EXPECT_TRUE(table.Done);
  ASSERT_EQ(table.Rows.size(), 2u);
  EXPECT_EQ(std::pair(table.Rows[1].Observers, table.Rows[1].Boats), std::pair(1, 1));
  EXPECT_TRUE(table.Rows[1].OneMorePost.has_value());
  EXPECT_FALSE(Form11->Result().has_value());
  EXPECT_TRUE(Form11->HowMany1->isVisible());
  EXPECT_EQ(Form11->HowMany1->Table->rowCount(), 2);
  EXPECT_TRUE(Form11->Label1->text().startsWith(QStringLiteral("kombinacja 2 z 2"))) << Form11->Label1->text().toStdString();
  EXPECT_FALSE(Form11->Button3->isEnabled());
  EXPECT_FALSE(Form11->Button4->isEnabled());
  EXPECT_FALSE(Form2->Overlay().has_value());

  Form11->Settings = [](TAdviceEffort, int jobs) {
    wendo_lab::TSearchSettings s = AdviceSettings(TAdviceEffort::Thorough, jobs);
    s.SeedsPerEvaluation = 2;
    return s;
  };
  Form11->LabeledEdit2->SetText(QStringLiteral("1-2"));
  Form11->Button1Click();
  ASSERT_TRUE(Form11->Working());
  EXPECT_FALSE(Form11->HowMany1->isVisible());
  ASSERT_TRUE(WaitFor([] { return Form11->Label1->text().startsWith(QStringLiteral("kombinacja 1 z 4")); }, 60000));
  QElapsedTimer clock;
  clock.start();
  Form11->Button2Click();
  EXPECT_LT(clock.elapsed(), 500);
  EXPECT_FALSE(Form11->Working());
  EXPECT_TRUE(!Form11->HowManyResult() || !Form11->HowManyResult()->Done);
  EXPECT_TRUE(Form11->Button1->isEnabled());
  EXPECT_TRUE(capture.errors.empty());
}

TEST_F(AdvisorWindow, TabVisitsTheControlsInOrder) {
  QWidget* const order[] = {Form11->LabeledEdit1->Edit(), Form11->LabeledEdit3->Edit(), Form11->LabeledEdit2->Edit(),
                            Form11->LabeledEdit4->Edit(), Form11->LabeledEdit5->Edit(), Form11->ComboBox1,
                            Form11->ComboBox2,            Form11->Button1};
  for (size_t i = 1; i < std::size(order); ++i) {
    QWidget* next = order[i - 1]->nextInFocusChain();
    while (next != order[i - 1] && !(next->focusPolicy() & Qt::TabFocus)) next = next->nextInFocusChain();
    EXPECT_EQ(next, order[i]) << "after control " << i - 1;
  }
}
