// The program's start-up sequence, kept apart from main() so that it can
// be exercised step by step.
#pragma once

#include <functional>
#include <memory>

#include <QString>

#include "wendoUnit1.h"
#include "wendoUnit8.h"

class QApplication;
class QTranslator;

// Every window of the program. The main window owns the seven secondary
// windows (they are its child windows and go with it, after its threads).
struct TProgramWindows {
  TProgramWindows() = default;
  ~TProgramWindows();
  TProgramWindows(const TProgramWindows&) = delete;
  TProgramWindows& operator=(const TProgramWindows&) = delete;

  std::unique_ptr<TForm8> Splash;
  std::unique_ptr<TForm1> Main;
};

// Loads the eight pictures, then sets every default and the locale's
// decimal separator. A missing or broken picture is shown with the default
// error report, and false is returned. Needs the application object.
// `loadPictures` stands in for LoadPictures in tests.
bool InitialiseWorld(const std::function<void()>& loadPictures = {});

// Told the name of each start-up step just before it runs.
using TStartupTrace = std::function<void(const QString& step)>;

// Shows and paints the splash window, creates the main window and then the
// map, mini-map, timing, objects, statistics, messages and chart windows
// (none shown), and hides the splash window.
std::unique_ptr<TProgramWindows> CreateProgramWindows(const TStartupTrace& trace = {});

// Loads Qt's own Polish texts into `translator` and installs it for the
// application; false when the translation files are not installed. The
// translator must outlive its use.
bool InstallToolkitTranslation(QTranslator& translator);

// The whole program once the application object exists; returns the exit
// code.
int RunProgram(QApplication& app);
