#include "startup.h"

#include <exception>

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "message_box.h"
#include "pictures.h"
#include "wendoUnit2.h"
#include "wendoUnit3.h"
#include "wendoUnit4.h"
#include "wendoUnit5.h"
#include "wendoUnit6.h"
#include "wendoUnit7.h"
#include "wendoUnit9.h"
#include "wendoUnit10.h"
#include "wendoUnit11.h"
#include "wymianadanych.h"

using wymianadanych::World;

TProgramWindows::~TProgramWindows() {
  // The threads end before any window they redraw or report to goes.
  if (Main) Main->ShutDown();
  Main.reset();
  Splash.reset();
}

bool InitialiseWorld(const std::function<void()>& loadPictures) {
  try {
    if (loadPictures)
      loadPictures();
    else
      LoadPictures();
  } catch (const std::exception& e) {
    ShowErrorReport(QString::fromUtf8(e.what()));
    return false;
  }
  World.ResetScenario();
  World.DecimalSeparator = QLocale::system().decimalPoint().toStdString();
  return true;
}

std::unique_ptr<TProgramWindows> CreateProgramWindows(const TStartupTrace& trace) {
  auto step = [&trace](const char* name) {
    if (trace) trace(QString::fromLatin1(name));
  };
  auto windows = std::make_unique<TProgramWindows>();

  step("splash");
  windows->Splash = std::make_unique<TForm8>();
  windows->Splash->show();
  // Painted now: the terrain fill that follows keeps the event loop away.
  windows->Splash->repaint();
  QCoreApplication::processEvents();

  step("main window");
  windows->Main = std::make_unique<TForm1>();
  TForm1* main = windows->Main.get();

  step("map");
  new TForm2(main);
  step("mini-map");
  new TForm3(main);
  step("timing");
  new TForm4(main);
  step("objects");
  new TForm5(main);
  step("statistics");
  new TForm6(main);
  step("messages");
  new TForm7(main);
  step("chart");
  new TForm9(main);
  step("experiment");
  new TForm10(main);
  step("advisor");
  new TForm11(main);
  // "Zastosuj" may change the scenario exactly when the objects dialog may.
  Form11->ObjectsEditable = [main] { return main->Obiekty1->isEnabled(); };
  // The timing dialog exists only now; changed periods must wake the threads.
  main->ConnectTimingDialog();

  step("hide splash");
  windows->Splash->hide();
  return windows;
}

bool InstallToolkitTranslation(QTranslator& translator) {
  // The program speaks Polish whatever the locale, and so do the toolkit's
  // own dialogs (file dialogs, the overwrite question) where Qt's Polish
  // translation is installed; without it they stay in English.
  if (!translator.load(QStringLiteral("qtbase_pl"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    return false;
  return QCoreApplication::installTranslator(&translator);
}

int RunProgram(QApplication& app) {
  QTranslator toolkit;
  InstallToolkitTranslation(toolkit);
  app.setWindowIcon(QIcon(FindAsset(QStringLiteral("wendo.png"))));
  app.setDesktopFileName(QStringLiteral("wendo"));
  if (!InitialiseWorld()) return 1;
  std::unique_ptr<TProgramWindows> windows = CreateProgramWindows();
  windows->Main->show();
  const int code = app.exec();
  windows.reset();
  return code;
}
