// Pacing of the display refresh thread on a virtual clock, the hand-over
// to the GUI thread, and stopping it in every state.
#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "display_thread.h"
#include "parameters.h"
#include "test_map_support.h"
#include "tick_source.h"
#include "virtual_ticks.h"
#include "wymianadanych.h"

using namespace wymianadanych;
using wendo_test::TVirtualTicks;

namespace {

class DisplayThread : public ::testing::Test {
 protected:
  void TearDown() override { SetParameters(World, DefaultParameters()); }

  // Serves the GUI thread's events until `done` holds; a hang guard only.
  static void PumpUntil(const std::function<bool()>& done) {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!done()) {
      ASSERT_LT(std::chrono::steady_clock::now(), giveUp) << "the GUI thread was never handed a redraw";
      QCoreApplication::processEvents();
      std::this_thread::yield();
    }
  }
  // The redraw the thread hands over: records the virtual tick it ran at.
  std::function<void()> Recorder(TVirtualTicks& ticks) {
    return [this, &ticks] {
      at.push_back(ticks.Now());
      if (duringRedraw) duringRedraw();
    };
  }
  // Advances the clock once the loop sleeps, then serves what comes.
  void Step(TVirtualTicks& ticks, uint32_t ms) {
    ticks.WaitForSleepers(1);
    ticks.Advance(ms);
  }
  void ExpectRedrawsAt(std::vector<uint32_t> expected) {
    PumpUntil([&] { return at.size() >= expected.size(); });
    EXPECT_EQ(at, expected);
  }
  // Everything pending has been served and no redraw came.
  void ExpectNoRedrawAfter(TVirtualTicks& ticks, size_t count) {
    ticks.WaitForSleepers(1);
    QCoreApplication::processEvents();
    EXPECT_EQ(at.size(), count);
  }

  std::vector<uint32_t> at;
  std::function<void()> duringRedraw;
};

TEST_F(DisplayThread, FirstRedrawOnePeriodAfterResumeThenOnePerPeriod) {
  World.RefreshMs = 1000;
  TVirtualTicks ticks(5000);
  TDisplayThread thread(ticks, Recorder(ticks));
  ticks.Advance(10000);  // suspended: time passes, nothing happens
  QCoreApplication::processEvents();
  ASSERT_TRUE(at.empty());
  // Created suspended: the first period starts at Resume.
  thread.Resume();
  Step(ticks, 999);
  ExpectNoRedrawAfter(ticks, 0);
  Step(ticks, 1);
  ExpectRedrawsAt({16000});
  Step(ticks, 999);
  ExpectNoRedrawAfter(ticks, 1);
  Step(ticks, 1);
  ExpectRedrawsAt({16000, 17000});
  Step(ticks, 2500);  // a late wake-up redraws once, and the period restarts
  ExpectRedrawsAt({16000, 17000, 19500});
  Step(ticks, 999);
  ExpectNoRedrawAfter(ticks, 3);

  // A redraw longer than the period is followed at once by the next.
  bool slow = true;
  duringRedraw = [&] {
    if (slow) ticks.Advance(1500);
    slow = false;
  };
  Step(ticks, 1);
  ExpectRedrawsAt({16000, 17000, 19500, 20500, 22000});
  thread.Stop();
}

TEST_F(DisplayThread, ZeroOrNegativeRefreshRedrawsBackToBack) {
  for (const int32_t refresh : {0, -5}) {
    World.RefreshMs = refresh;
    at.clear();
    TVirtualTicks ticks(100);
    TDisplayThread thread(ticks, Recorder(ticks));
    thread.Resume();
    // No time passes at all, and still the redraws keep coming.
    PumpUntil([&] { return at.size() >= 6; });
    for (uint32_t t : at) EXPECT_EQ(t, 100u);
  }
}

TEST_F(DisplayThread, ASmallerRefreshTakesEffectWhenWoken) {
  World.RefreshMs = 1000;
  TVirtualTicks ticks(0);
  TDisplayThread thread(ticks, Recorder(ticks));
  thread.Resume();
  Step(ticks, 400);
  ExpectNoRedrawAfter(ticks, 0);
  // Already waited longer than the new period: the redraw follows at once.
  World.RefreshMs = 300;
  thread.Wake();
  ExpectRedrawsAt({400});
  Step(ticks, 100);
  // Not yet reached: the new, shorter deadline replaces the old one.
  World.RefreshMs = 250;
  thread.Wake();
  ExpectNoRedrawAfter(ticks, 1);
  Step(ticks, 149);
  ExpectNoRedrawAfter(ticks, 1);
  Step(ticks, 1);
  ExpectRedrawsAt({400, 650});
  // A longer period needs no wake: the thread simply looks again when due.
  World.RefreshMs = 400;
  Step(ticks, 250);
  ExpectNoRedrawAfter(ticks, 2);
  Step(ticks, 150);
  ExpectRedrawsAt({400, 650, 1050});
}

TEST_F(DisplayThread, TheTickCounterWrapDoesNotDisturbThePeriod) {
  World.RefreshMs = 1000;
  TVirtualTicks ticks(0xFFFFFFFFu - 299u);
  TDisplayThread thread(ticks, Recorder(ticks));
  thread.Resume();
  Step(ticks, 299);  // the counter stands at 2^32 - 1
  ExpectNoRedrawAfter(ticks, 0);
  Step(ticks, 700);
  ExpectNoRedrawAfter(ticks, 0);
  Step(ticks, 1);
  ExpectRedrawsAt({700});
  Step(ticks, 1000);
  ExpectRedrawsAt({700, 1700});
}

TEST_F(DisplayThread, StopsCleanlyInEveryState) {
  TVirtualTicks ticks(0);
  {
    // Never resumed: stopped explicitly, twice, and by the destructor.
    TDisplayThread never(ticks, Recorder(ticks));
    never.Stop();
    never.Stop();
    TDisplayThread dropped(ticks, Recorder(ticks));
    TDisplayThread plain;
  }
  // A hand-over waiting for a GUI thread that is itself in Stop(): Stop
  // must not wait for the GUI, and the late call must draw nothing.
  World.RefreshMs = 0;
  TDisplayThread thread(ticks, Recorder(ticks));
  thread.Resume();
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!thread.HandOverPending()) {
    ASSERT_LT(std::chrono::steady_clock::now(), giveUp);
    std::this_thread::yield();
  }
  thread.Stop();
  EXPECT_FALSE(thread.HandOverPending());
  QCoreApplication::processEvents();
  QCoreApplication::processEvents();
  EXPECT_TRUE(at.empty());
  thread.Stop();

  // Stopped while sleeping between redraws.
  World.RefreshMs = 1000;
  TDisplayThread sleeping(ticks, Recorder(ticks));
  sleeping.Resume();
  Step(ticks, 1000);
  ExpectRedrawsAt({1000});
  ticks.WaitForSleepers(1);
  sleeping.Stop();
  ticks.Advance(5000);
  QCoreApplication::processEvents();
  EXPECT_EQ(at.size(), 1u);
}

TEST_F(DisplayThread, TheTimerIsServedBetweenRedrawsThatRunBackToBack) {
  // Redraws longer than the period follow one another at once; the 100 ms
  // timer of the main window (here every 40 ms) is overdue at the end of
  // each, and must be served before the next one begins.
  World.RefreshMs = 0;
  std::string order;
  TDisplayThread thread(TSystemTicks::Instance(), [&] {
    order += 'R';
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(100);
    while (std::chrono::steady_clock::now() < end) {
    }
  });
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] { order += 'T'; });
  timer.start(40);
  thread.Resume();
  QEventLoop loop;
  QTimer::singleShot(1200, &loop, &QEventLoop::quit);
  loop.exec();
  thread.Stop();
  const size_t first = order.find('R');
  ASSERT_NE(first, std::string::npos);
  const std::string redraws = order.substr(first, order.rfind('R') - first + 1);
  EXPECT_GE(std::count(redraws.begin(), redraws.end(), 'R'), 4) << order;
  EXPECT_EQ(redraws.find("RR"), std::string::npos) << order;
}

class DisplayThreadViews : public viewtest::ViewsTest {
 protected:
  void TearDown() override {
    SetParameters(World, DefaultParameters());
    ViewsTest::TearDown();
  }
};

TEST_F(DisplayThreadViews, RedrawViewsDrawsMapThenMiniMapAndServesModalLoops) {
  TDisplayThread direct;
  direct.RedrawViews();
  EXPECT_EQ(form2->Image1->Frame().size(), QSize(600, 400));
  EXPECT_EQ(form3->Image1->Frame().size(), QSize(160, 240));

  // Each window is skipped when it does not exist.
  form2.reset();
  World.ViewLeft = 100;
  World.ViewTop = 400;
  direct.RedrawViews();
  const QImage mini = form3->Image1->Frame();
  form3->RedrawMiniMap();
  EXPECT_EQ(mini, form3->Image1->Frame());
  form3.reset();
  direct.RedrawViews();

  // Through the thread, while the GUI thread sits in a modal dialog.
  form2 = std::make_unique<TForm2>();
  form3 = std::make_unique<TForm3>();
  World.RefreshMs = 1000;
  TVirtualTicks ticks(0);
  TDisplayThread thread(ticks);
  thread.Resume();
  ticks.WaitForSleepers(1);
  ticks.Advance(1000);
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (!form3->Image1->Frame().isNull()) form3->accept();
  });
  poll.start(1);
  EXPECT_EQ(form3->exec(), QDialog::Accepted);
  EXPECT_EQ(form2->Image1->Frame().size(), QSize(600, 400));
  thread.Stop();
}

}  // namespace
