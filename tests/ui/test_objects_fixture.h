// The objects dialog with the map and mini-map windows it picks points in.
#pragma once

#include <gtest/gtest.h>

#include <QStringList>
#include <QTableWidget>
#include <QTest>

#include "test_dialogs_support.h"
#include "wendoUnit2.h"
#include "wendoUnit3.h"
#include "wendoUnit5.h"
#include "world_fixture.h"

namespace dialog_tests {

class ObjectsDialog : public ::testing::Test {
 protected:
  void SetUp() override { ResetWorld(); }
  void TearDown() override { ResetWorld(); }

  void ShowActive() {
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  }

  // The texts of one grid row as the dialog counts rows (0 = header).
  QStringList Row(const QTableWidget* grid, int row) const {
    QStringList texts;
    for (int c = 0; c < grid->columnCount(); ++c) texts << TForm5::Cell(grid, c, row);
    return texts;
  }

  bool RowBlank(const QTableWidget* grid, int row) const { return Row(grid, row).join(QString()).isEmpty(); }

  // Selects rows top..bottom as the dialog counts rows (header excluded)
  // and makes top current, as a user's click and shift-click would.
  static void SelectRows(QTableWidget* grid, int top, int bottom) {
    grid->clearSelection();
    grid->setCurrentCell(top - 1, 0, QItemSelectionModel::NoUpdate);
    grid->setRangeSelected(QTableWidgetSelectionRange(top - 1, 0, bottom - 1, grid->columnCount() - 1), true);
  }

  void AddObservers(std::initializer_list<std::array<int32_t, 3>> points) {
    std::lock_guard guard(wymianadanych::World.Lock);
    for (const auto& p : points) wendo_test::AddObserver(wymianadanych::World, p[0], p[1], p[2]);
  }

  // The map answer that accepts (x, y) as the user's click would.
  std::function<void()> PickAt(int32_t x, int32_t y) {
    return [x, y] {
      Form2->PickX = x;
      Form2->PickY = y;
      Form2->PickDone = true;
      Form2->accept();
    };
  }
  static void CloseWithoutPoint() { Form2->reject(); }

  TForm2 map;
  TForm3 miniMap;
  TForm5 form;
  MessageCapture capture;
  ModalAnswers mapAnswers{&map};
  ModalAnswers miniMapAnswers{&miniMap};
};

}  // namespace dialog_tests
