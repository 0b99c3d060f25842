// A fixture for tests of the whole program: the pictures loaded once per
// suite, and a world back at its start-up state before and after each test.
#pragma once

#include <gtest/gtest.h>

#include <QDir>

#include <memory>

#include "startup.h"
#include "test_dialogs_support.h"

class ProgramTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(QDir::setCurrent(QStringLiteral(WENDO_TEST_ASSET_DIR)));
    ASSERT_TRUE(InitialiseWorld());
  }

  void SetUp() override { ResetAll(); }

  void TearDown() override {
    windows.reset();
    ResetAll();
  }

  // Creates every window as the start-up does.
  void OpenProgram() {
    windows = CreateProgramWindows();
    form = windows->Main.get();
  }

  std::unique_ptr<TProgramWindows> windows;
  TForm1* form = nullptr;

 private:
  static void ResetAll() {
    dialog_tests::ResetWorld();
    wymianadanych::World.StepCounter = 0;
  }
};
