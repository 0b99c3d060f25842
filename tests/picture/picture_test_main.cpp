// GoogleTest main for the picture tests: an application object, as the
// program and the tools have, so the picture search sees the program's
// folder as they do. No display is needed.
#include <QCoreApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
