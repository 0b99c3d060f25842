// The objects dialog from the keyboard: every page's Tab cycle, grids that
// let the focus go, and page changes with Ctrl+Tab from anywhere.
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>

#include "labeled_edit.h"
#include "test_objects_fixture.h"

using dialog_tests::ObjectsDialog;

namespace {

void Press(int key, Qt::KeyboardModifiers modifiers = {}) {
  QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key), modifiers);
}

void ClickTab(QTabWidget* tabs, int index) {
  QTabBar* bar = tabs->tabBar();
  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
}

}  // namespace

TEST_F(ObjectsDialog, TabRunsThroughEveryControlOfThePageRoundToTheTabBar) {
  AddObservers({{1, 1, 10}, {2, 2, 20}});
  ShowActive();
  QWidget* tabBar = form.PageControl1->tabBar();
  const std::vector<std::vector<QWidget*>> pages = {
      {form.StringGrid1, form.LabeledEdit1->Edit(), form.Button1, form.Button2},
      {form.StringGrid2, form.LabeledEdit2->Edit(), form.LabeledEdit3->Edit(), form.Button3, form.Button4},
      {form.LabeledEdit4->Edit(), form.LabeledEdit5->Edit(), form.LabeledEdit6->Edit(), form.LabeledEdit7->Edit()},
      {form.LabeledEdit8->Edit(), form.LabeledEdit9->Edit(), form.LabeledEdit10->Edit(), form.LabeledEdit11->Edit()},
  };
  for (int page = 0; page < 4; ++page) {
    std::vector<QWidget*> cycle = pages[page];
    cycle.insert(cycle.end(), {form.BitBtn1, form.BitBtn2, tabBar});
    form.PageControl1->setCurrentIndex(page);
    tabBar->setFocus();
    for (size_t i = 0; i < cycle.size(); ++i) {
      Press(Qt::Key_Tab);
      ASSERT_EQ(QApplication::focusWidget(), cycle[i]) << "page " << page << ", Tab " << i + 1;
    }
    // Shift+Tab walks the same cycle backwards.
    for (size_t i = cycle.size() - 1; i > 0; --i) {
      Press(Qt::Key_Backtab, Qt::ShiftModifier);
      ASSERT_EQ(QApplication::focusWidget(), cycle[i - 1]) << "page " << page << ", Shift+Tab " << i;
    }
    EXPECT_EQ(form.PageControl1->currentIndex(), page);
  }
  QCoreApplication::processEvents();
  EXPECT_TRUE(capture.messages.empty());
}

TEST_F(ObjectsDialog, GridsStillSelectWholeRowsAndRangesOfThem) {
  AddObservers({{1, 1, 10}, {2, 2, 20}, {3, 3, 30}, {4, 4, 40}});
  ShowActive();
  QTableWidget* grid = form.StringGrid1;
  int top = 0, bottom = 0;
  // The arrows move by whole rows, and Shift widens the range; Tab then
  // leaves the grid without touching its rows.
  grid->setFocus();
  SelectRows(grid, 1, 1);
  Press(Qt::Key_Down);
  Press(Qt::Key_Down, Qt::ShiftModifier);
  Press(Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), form.LabeledEdit1->Edit());
  ASSERT_TRUE(TForm5::SelectedRows(grid, top, bottom));
  EXPECT_EQ(top, 2);
  EXPECT_EQ(bottom, 3);
  EXPECT_EQ(grid->selectedItems().size(), 2 * grid->columnCount());

  // Dragging from one cell to another selects the rows between.
  const QPoint from = grid->visualRect(grid->model()->index(0, 2)).center();
  const QPoint to = grid->visualRect(grid->model()->index(2, 0)).center();
  QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, from);
  QMouseEvent drag(QEvent::MouseMove, to, grid->viewport()->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, {});
  QApplication::sendEvent(grid->viewport(), &drag);
  QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, to);
  ASSERT_TRUE(TForm5::SelectedRows(grid, top, bottom));
  EXPECT_EQ(top, 1);
  EXPECT_EQ(bottom, 3);
  EXPECT_EQ(grid->selectedItems().size(), 3 * grid->columnCount());
}

TEST_F(ObjectsDialog, CtrlTabTurnsThePagesFromAnywhere) {
  ShowActive();
  form.PageControl1->setCurrentIndex(0);
  QWidget* from[] = {form.StringGrid1, form.StringGrid2, form.LabeledEdit4->Edit(), form.BitBtn1, form.BitBtn2};
  for (int i = 0; i < 5; ++i) {
    const int page = form.PageControl1->currentIndex();
    if (from[i] != form.BitBtn1 && from[i] != form.BitBtn2) {
      ASSERT_TRUE(form.PageControl1->currentWidget()->isAncestorOf(from[i])) << i;
    }
    from[i]->setFocus();
    Press(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(form.PageControl1->currentIndex(), (page + 1) % 4) << i;
  }
  // Back again, wrapping from the first page to the last.
  form.PageControl1->setCurrentIndex(1);
  for (QWidget* w : {static_cast<QWidget*>(form.StringGrid2), static_cast<QWidget*>(form.BitBtn1)}) {
    w->setFocus();
    Press(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
  }
  EXPECT_EQ(form.PageControl1->currentIndex(), 3);
  form.LabeledEdit11->Edit()->setFocus();
  Press(Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(form.PageControl1->currentIndex(), 2);
  QCoreApplication::processEvents();
  EXPECT_TRUE(capture.messages.empty());
}

TEST_F(ObjectsDialog, AClickOnATabLeavesTheFocusOnTheTabBar) {
  ShowActive();
  form.PageControl1->setCurrentIndex(0);
  form.StringGrid1->setFocus();
  ClickTab(form.PageControl1, 1);
  EXPECT_EQ(form.PageControl1->currentIndex(), 1);
  EXPECT_EQ(QApplication::focusWidget(), form.PageControl1->tabBar());
  // From there Tab enters the page, Shift+Tab goes back to the buttons.
  Press(Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), form.StringGrid2);
  ClickTab(form.PageControl1, 0);
  Press(Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(QApplication::focusWidget(), form.BitBtn2);
}
