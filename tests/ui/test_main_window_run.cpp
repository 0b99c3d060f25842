// The main window's run control: the menu in each run state, fresh starts,
// pausing and resuming, ending a run, and the timing dialog waking the
// sleeping simulation thread.
#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QTableWidget>
#include <QThread>

#include "labeled_edit.h"
#include "program_fixture.h"
#include "startup.h"
#include "test_dialogs_support.h"
#include "wendoUnit4.h"
#include "wendoUnit6.h"
#include "wendoUnit7.h"
#include "wendoUnit9.h"
#include "world_fixture.h"
#include "busy_world.h"

using dialog_tests::MessageCapture;
using dialog_tests::WaitFor;
using dialog_tests::ModalAnswers;
using wymianadanych::World;
using TRunState = TForm1::TRunState;

namespace {

// A period no test ever waits for: nothing becomes due during the test.
constexpr int32_t Never = 100000000;


struct TCounters {
  int32_t ElapsedMs, ObserverCount, BoatCount, PersonCount, DeadPeople, SharkCount, DeadSharks, StepCounter;
  bool operator==(const TCounters&) const = default;
};

TCounters ReadCounters() {
  std::lock_guard guard(World.Lock);
  return {World.ElapsedMs,  World.ObserverCount, World.BoatCount,  World.PersonCount,
          World.DeadPeople, World.SharkCount,    World.DeadSharks, World.StepCounter};
}

template <class F>
auto Locked(F read) {
  std::lock_guard guard(World.Lock);
  return read();
}

class MainWindowRun : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    OpenProgram();
  }

  // Nothing arrives and no step is taken unless a test asks for it.
  static void QuietWorld() {
    World.SimStepMs = Never;
    World.PersonArrivalS = Never;
    World.SharkArrivalS = Never;
  }

  // `chartKept`: a run has started since the program began or "Nowy".
  void ExpectMenu(TRunState state, bool chartKept = false) {
    const bool idle = state == TRunState::Idle;
    const bool running = state == TRunState::Running;
    EXPECT_EQ(form->RunState(), state);
    EXPECT_EQ(form->Nowy1->isEnabled(), idle);
    EXPECT_EQ(form->Wczytaj1->isEnabled(), idle);
    EXPECT_EQ(form->Zapisz1->isEnabled(), idle);
    EXPECT_EQ(form->Obiekty1->isEnabled(), !running);
    EXPECT_EQ(form->Wznow1->isEnabled(), !running);
    EXPECT_EQ(form->Wstrzymaj1->isEnabled(), running);
    EXPECT_EQ(form->Zakoncz1->isEnabled(), !idle);
    EXPECT_EQ(form->Komunikaty1->isEnabled(), !idle);
    EXPECT_EQ(form->Statystyka1->isEnabled(), !idle);
    EXPECT_EQ(form->Wykres1->isEnabled(), !idle || chartKept);
    // Available in every state.
    EXPECT_TRUE(form->Symulacja1->isEnabled());
    EXPECT_TRUE(form->Mapa1->isEnabled());
    EXPECT_TRUE(form->MiniMapa1->isEnabled());
    EXPECT_TRUE(form->Koniec1->isEnabled());
    ASSERT_NE(form->SimulationThread(), nullptr);
    EXPECT_EQ(form->SimulationThread()->Suspended(), !running);
  }

  static void AddBoat(int32_t x, int32_t y, int32_t patrolX, int32_t patrolY) {
    wendo_test::AddBoat(World, x, y, patrolX, patrolY, 50, 100);
  }

  MessageCapture capture;
};

}  // namespace

TEST_F(MainWindowRun, MenuFollowsTheRunStateTable) {
  QuietWorld();
  ExpectMenu(TRunState::Idle);

  form->Wznow1->trigger();
  ExpectMenu(TRunState::Running);
  EXPECT_TRUE(Form6->isVisible());
  EXPECT_TRUE(Form7->isVisible());

  form->Wstrzymaj1->trigger();
  ExpectMenu(TRunState::Paused);

  form->Wznow1->trigger();
  ExpectMenu(TRunState::Running);

  form->Zakoncz1->trigger();
  ExpectMenu(TRunState::Idle, true);
  // Ending a run leaves the two report windows open with their contents.
  EXPECT_TRUE(Form6->isVisible());
  EXPECT_TRUE(Form7->isVisible());

  // Paused straight to Idle, and a new run can start after that.
  form->Wznow1->trigger();
  form->Wstrzymaj1->trigger();
  ExpectMenu(TRunState::Paused);
  form->Zakoncz1->trigger();
  ExpectMenu(TRunState::Idle, true);
  // "Nowy" forgets the ended run's chart.
  form->Wykres1->trigger();
  form->Nowy1->trigger();
  ExpectMenu(TRunState::Idle);
  EXPECT_FALSE(Form9->isVisible());
  form->Wznow1->trigger();
  ExpectMenu(TRunState::Running);
  form->Zakoncz1->trigger();
  EXPECT_TRUE(capture.errors.empty());
}

TEST_F(MainWindowRun, EmptyScenarioStillBringsPeopleAndSharks) {
  // Left over from an earlier run: a fresh start recounts.
  World.ObserverCount = 7;
  World.BoatCount = 3;
  World.DeadPeople = 2;
  World.ElapsedMs = 99000;
  wendo_test::MakeBusy(World, {.StepMs = 5});

  form->Wznow1Click();
  {
    const TCounters c = ReadCounters();
    EXPECT_EQ(c.ObserverCount, 0);
    EXPECT_EQ(c.BoatCount, 0);
    EXPECT_EQ(c.DeadPeople, 0);
    EXPECT_LT(c.ElapsedMs, 99000);
  }
  // The statistics were refreshed before the thread was resumed.
  EXPECT_EQ(Form6->Label9->text(), QStringLiteral("0"));
  EXPECT_EQ(Form6->Label10->text(), QStringLiteral("0"));

  ASSERT_TRUE(WaitFor([] {
    const TCounters c = ReadCounters();
    return c.PersonCount > 0 && c.SharkCount > 0 && c.StepCounter > 0;
  }));
  // The 100 ms timer moves the arrival messages into the messages grid.
  ASSERT_TRUE(WaitFor([] { return !Form7->RowText(0).isEmpty(); }));
  EXPECT_EQ(ReadCounters().ObserverCount, 0);
  EXPECT_EQ(ReadCounters().BoatCount, 0);
  form->Zakoncz1Click();
}

TEST_F(MainWindowRun, PauseAndResumeKeepTheCountersAndCutTheMessages) {
  wendo_test::AddObserver(World, 300, 300, 50);
  AddBoat(400, 900, 400, 1000);
  World.SimStepMs = 5;
  World.PersonArrivalS = 0;

  form->Wznow1Click();
  ASSERT_TRUE(WaitFor([] { return ReadCounters().PersonCount > 1 && Form7->StringGrid1->rowCount() > 2; }));
  form->Wstrzymaj1Click();
  ASSERT_EQ(form->RunState(), TRunState::Paused);
  const TCounters paused = ReadCounters();
  EXPECT_EQ(paused.ObserverCount, 1);
  EXPECT_EQ(paused.BoatCount, 1);
  EXPECT_GT(paused.ElapsedMs, 0);

  // Suspended: nothing changes while paused.
  QThread::msleep(30);
  EXPECT_EQ(ReadCounters(), paused);

  // A boat added while paused is not counted; the resumed run has nothing
  // due, so the counters can be compared exactly.
  AddBoat(420, 950, 420, 1050);
  QuietWorld();
  form->Wznow1Click();
  EXPECT_EQ(form->RunState(), TRunState::Running);
  EXPECT_EQ(ReadCounters(), paused);
  EXPECT_EQ(Form7->StringGrid1->rowCount(), 1);
  EXPECT_EQ(Form6->Label10->text(), QStringLiteral("1"));
  form->Zakoncz1Click();
}

TEST_F(MainWindowRun, EndingAPausedRunSendsBoatsHomeAndClearsTheRun) {
  // In the water at the top of the map, fast enough to move every step.
  AddBoat(300, 300, 100, 100);
  AddBoat(320, 300, 320, 100);
  for (wymianadanych::TLodz& b : World.Boats) b.Speed = 2000;
  wendo_test::MakeBusy(World, {.StepMs = 5});

  form->Wznow1Click();
  ASSERT_TRUE(WaitFor([] {
    return Locked([] {
      return !World.People.empty() && !World.Sharks.empty() &&
             (World.Boats[0].X != World.Boats[0].HomeX || World.Boats[0].Y != World.Boats[0].HomeY);
    });
  }));
  form->Wstrzymaj1Click();
  World.AppendEvent("pending");  // not yet moved to the messages window
  const TCounters paused = ReadCounters();

  form->Zakoncz1Click();
  EXPECT_EQ(form->RunState(), TRunState::Idle);
  ASSERT_NE(form->SimulationThread(), nullptr);
  EXPECT_TRUE(form->SimulationThread()->Suspended());
  for (const wymianadanych::TLodz& b : World.Boats) {
    EXPECT_EQ(b.X, b.HomeX);
    EXPECT_EQ(b.Y, b.HomeY);
    EXPECT_TRUE(b.Outbound);
  }
  EXPECT_TRUE(World.People.empty());
  EXPECT_TRUE(World.Sharks.empty());
  EXPECT_TRUE(World.EventLog.empty());
  EXPECT_EQ(World.StepCounter, 0);
  // The counters keep their last values until the next fresh start.
  TCounters after = ReadCounters();
  EXPECT_EQ(after.PersonCount, paused.PersonCount);
  EXPECT_EQ(after.SharkCount, paused.SharkCount);
  EXPECT_EQ(after.ElapsedMs, paused.ElapsedMs);

  // The replacement thread runs the next run.
  form->Wznow1Click();
  ASSERT_TRUE(WaitFor([] { return ReadCounters().StepCounter > 0; }));
  form->Zakoncz1Click();
  EXPECT_TRUE(capture.errors.empty());
}

TEST_F(MainWindowRun, NewTimingWakesTheSleepingSimulationThread) {
  QuietWorld();
  form->Wznow1Click();
  // Long enough for the thread to have gone to sleep for the whole period.
  WaitFor([] { return false; }, 50);
  ASSERT_EQ(ReadCounters().StepCounter, 0);

  ModalAnswers answers(Form4);
  answers.Add([] {
    Form4->LabeledEdit1->SetText(QStringLiteral("2"));
    Form4->LabeledEdit2->SetText(QStringLiteral("1000"));
    Form4->BitBtn1Click();
  });
  form->Symulacja1->trigger();
  EXPECT_EQ(answers.Answered(), 1);
  EXPECT_EQ(World.SimStepMs.load(), 2);
  EXPECT_TRUE(WaitFor([] { return ReadCounters().StepCounter > 0; }));
  form->Zakoncz1Click();
}
