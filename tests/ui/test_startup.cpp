// Start-up and exit: world initialisation, the order in which the windows
// come up, the splash and main window layouts, and closing the main window
// in every run state without a hang.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLocale>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <stdexcept>

#include "pictures.h"
#include "program_fixture.h"
#include "startup.h"
#include "test_dialogs_support.h"
#include "wendoUnit2.h"
#include "wendoUnit3.h"
#include "wendoUnit4.h"
#include "wendoUnit5.h"
#include "wendoUnit6.h"
#include "wendoUnit7.h"
#include "wendoUnit9.h"
#include "world_fixture.h"
#include "busy_world.h"

using dialog_tests::MessageCapture;
using dialog_tests::WaitFor;
using wymianadanych::World;

namespace {


int32_t Steps() {
  std::lock_guard guard(World.Lock);
  return World.StepCounter;
}

QList<QWidget*> VisibleWindows() {
  QList<QWidget*> visible;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->isVisible()) visible << w;
  return visible;
}

class Startup : public ProgramTest {
 protected:

  // Started as the program starts it, with a run going at the smallest step.
  void StartRunning() {
    windows = CreateProgramWindows();
    windows->Main->show();
    wendo_test::MakeBusy(World);
    windows->Main->Wznow1Click();
    ASSERT_TRUE(WaitFor([] { return Steps() > 10; }));
  }

  // After the main window has closed: both threads joined, timer stopped,
  // every other window gone from the screen.
  void ExpectShutDown() {
    TForm1* main = windows->Main.get();
    EXPECT_FALSE(main->isVisible());
    EXPECT_EQ(main->SimulationThread(), nullptr);
    EXPECT_EQ(main->DisplayThread(), nullptr);
    EXPECT_FALSE(main->Timer2()->isActive());
    EXPECT_TRUE(VisibleWindows().isEmpty());
    // Joined: the step counter no longer moves.
    const int32_t steps = Steps();
    QThread::msleep(20);
    EXPECT_EQ(Steps(), steps);
    windows.reset();  // destroys every window without a crash
    EXPECT_EQ(Form1, nullptr);
    EXPECT_EQ(Form2, nullptr);
    EXPECT_EQ(Form7, nullptr);
  }

  MessageCapture capture;
};

}  // namespace

TEST_F(Startup, WindowsComeUpInOrderWithOnlyTheMainWindowShown) {
  QStringList steps;
  bool splashPaintedBeforeMain = false;
  bool mainBeforeOthers = false;
  windows = CreateProgramWindows([&](const QString& step) {
    steps << step;
    if (step == QStringLiteral("main window"))
      splashPaintedBeforeMain = Form8 && Form8->isVisible() && Form8->Painted() && !Form1;
    if (step == QStringLiteral("map")) mainBeforeOthers = Form1 && !Form2 && !Form7;
  });
  EXPECT_EQ(steps, (QStringList{"splash", "main window", "map", "mini-map", "timing", "objects", "statistics",
                                "messages", "chart", "experiment", "advisor", "hide splash"}));
  EXPECT_TRUE(splashPaintedBeforeMain);
  EXPECT_TRUE(mainBeforeOthers);
  for (QWidget* w : std::initializer_list<QWidget*>{Form1, Form2, Form3, Form4, Form5, Form6, Form7, Form8, Form9})
    ASSERT_NE(w, nullptr);
  EXPECT_TRUE(VisibleWindows().isEmpty());

  windows->Main->show();
  EXPECT_EQ(VisibleWindows(), QList<QWidget*>{windows->Main.get()});
  // The terrain was filled from the map picture.
  EXPECT_EQ(World.Terrain(0, 0), static_cast<int32_t>(qRed(MapPicture.pixel(0, 0)) | qGreen(MapPicture.pixel(0, 0)) << 8 |
                                                       qBlue(MapPicture.pixel(0, 0)) << 16));
  EXPECT_TRUE(windows->Main->Timer2()->isActive());
  EXPECT_EQ(windows->Main->Timer2()->interval(), 100);
  EXPECT_TRUE(capture.errors.empty());
}

TEST_F(Startup, MainWindowAndSplashLayout) {
  windows = CreateProgramWindows();
  TForm1* main = windows->Main.get();
  main->show();
  EXPECT_EQ(main->windowTitle(), QStringLiteral("Wendo"));
  EXPECT_EQ(main->pos(), QPoint(6, 9));
  EXPECT_EQ(main->minimumSize(), main->maximumSize());
  const int bar = main->menuBar()->height();
  EXPECT_EQ(main->size(), QSize(590, 158 + bar));
  EXPECT_EQ(main->Image1->geometry(), QRect(0, bar, 590, 158));
  EXPECT_EQ(main->Image1->Frame().size(), QSize(590, 158));
  const Qt::WindowFlags flags = main->windowFlags();
  EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);

  TForm8* splash = windows->Splash.get();
  EXPECT_FALSE(splash->isVisible());
  EXPECT_TRUE(splash->windowFlags() & Qt::FramelessWindowHint);
  EXPECT_EQ(splash->pos(), QPoint(239, 184));
  EXPECT_EQ(splash->size(), QSize(281, 201));
  // The 282 x 203 picture shown unscaled: its last column and rows fall outside.
  EXPECT_EQ(splash->Image1->Frame().size(), QSize(282, 203));
  EXPECT_EQ(splash->Image1->geometry(), QRect(0, 0, 281, 201));
  EXPECT_EQ(splash->Label1->text(), QStringLiteral("Proszę czekać..."));
  EXPECT_EQ(splash->Label1->geometry(), QRect(80, 176, 122, 20));
  EXPECT_EQ(splash->Label1->palette().color(QPalette::WindowText), QColor(0, 255, 255));
  EXPECT_FALSE(splash->Label1->autoFillBackground());
  EXPECT_LE(splash->Label1->fontMetrics().horizontalAdvance(splash->Label1->text()), 122);
}

TEST_F(Startup, WorldInitialisationSetsDefaultsOrReportsAFailure) {
  World.SimStepMs = 5;
  wendo_test::AddObserver(World, 0, 0, 0);
  World.DecimalSeparator = "?";
  ASSERT_TRUE(InitialiseWorld());
  EXPECT_EQ(World.SimStepMs.load(), 100);
  EXPECT_TRUE(World.Observers.empty());
  EXPECT_EQ(QString::fromStdString(World.DecimalSeparator), QLocale::system().decimalPoint());

  // A failing picture load is reported and stops before the defaults.
  World.SimStepMs = 5;
  EXPECT_FALSE(InitialiseWorld([] { throw std::runtime_error("Cannot find picture file \"rip.bmp\" (searched: x)"); }));
  EXPECT_EQ(capture.errors, std::vector<QString>{QStringLiteral("Cannot find picture file \"rip.bmp\" (searched: x)")});
  EXPECT_EQ(World.SimStepMs.load(), 5);
}

TEST_F(Startup, MissingPictureFileIsReportedWithTheFoldersSearched) {
  QTemporaryDir empty;
  ASSERT_TRUE(empty.isValid());
  const QString previous = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(empty.path()));
  if (!FindAsset(QStringLiteral("wendo.bmp")).isEmpty()) {
    QDir::setCurrent(previous);
    GTEST_SKIP() << "the pictures are installed or beside the test program";
  }
  const bool loaded = InitialiseWorld();
  QDir::setCurrent(previous);
  EXPECT_FALSE(loaded);
  ASSERT_EQ(capture.errors.size(), 1u);
  EXPECT_TRUE(capture.errors[0].contains(QStringLiteral("wendo.bmp"))) << capture.errors[0].toStdString();
  EXPECT_TRUE(capture.errors[0].contains(empty.path())) << capture.errors[0].toStdString();
  // The pictures already loaded are kept.
  EXPECT_EQ(MapPicture.size(), QSize(800, 1200));
}

TEST_F(Startup, ClosingDuringARunEndsBothThreads) {
  StartRunning();
  Form2->show();  // other windows do not keep the program alive
  windows->Main->Koniec1->trigger();
  ExpectShutDown();
}

TEST_F(Startup, ClosingDuringAPauseEndsBothThreads) {
  StartRunning();
  windows->Main->Wstrzymaj1Click();
  windows->Main->close();
  ExpectShutDown();
}

TEST_F(Startup, ClosingWhileAModalDialogIsOpen) {
  StartRunning();
  TForm1* main = windows->Main.get();
  bool closedByMain = false;
  bool forcedOpen = false;
  QTimer::singleShot(20, main, [&] {
    main->close();
    closedByMain = !Form4->isVisible();
  });
  // Only if the close did not end the dialog: keeps the test from hanging.
  QTimer::singleShot(5000, Form4, [&] {
    if (Form4->isVisible()) {
      forcedOpen = true;
      Form4->reject();
    }
  });
  main->Symulacja1Click();
  EXPECT_TRUE(closedByMain);
  EXPECT_FALSE(forcedOpen);
  ExpectShutDown();
}
