// Wendo: a simulation of a guarded bathing beach.
#include <QApplication>

#include "startup.h"

int main(int argc, char** argv) {
  // The application object comes first: even a missing picture is reported
  // in a message box, which needs it.
  QApplication app(argc, argv);
  return RunProgram(app);
}
