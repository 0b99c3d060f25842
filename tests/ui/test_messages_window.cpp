// The messages window and the main window's 100 ms tick that feeds it.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>

#include "test_dialogs_support.h"
#include "wendoUnit6.h"
#include "wendoUnit7.h"

using dialog_tests::ResetWorld;
using wymianadanych::World;

namespace {

void Append(const std::string& text) {
  std::lock_guard guard(World.Lock);
  World.AppendEvent(text);
}

bool PendingEmpty() {
  std::lock_guard guard(World.Lock);
  return World.EventLog.empty();
}

}  // namespace

TEST(MessagesWindow, WindowAndGridLayout) {
  TForm7 form;
  EXPECT_EQ(Form7, &form);
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Wiadomości"));
  EXPECT_EQ(form.size(), QSize(393, 171));
  EXPECT_EQ(form.minimumSize(), form.maximumSize());
  EXPECT_EQ(form.pos(), QPoint(618, 535));
  EXPECT_EQ(form.StringGrid1->geometry(), QRect(0, 0, 393, 120));
  EXPECT_EQ(form.StringGrid1->columnCount(), 1);
  EXPECT_EQ(form.StringGrid1->columnWidth(0), 350);
  EXPECT_EQ(form.StringGrid1->verticalHeader()->defaultSectionSize(), 20);
  EXPECT_FALSE(form.StringGrid1->horizontalHeader()->isVisibleTo(&form));
  EXPECT_FALSE(form.StringGrid1->verticalHeader()->isVisibleTo(&form));
  EXPECT_EQ(form.StringGrid1->editTriggers(), QAbstractItemView::NoEditTriggers);
  EXPECT_EQ(form.BitBtn1->text(), QStringLiteral("Zamknij"));
  EXPECT_EQ(form.BitBtn1->geometry(), QRect(160, 136, 75, 25));
  EXPECT_FALSE(form.BitBtn1->icon().isNull());
  form.show();
  form.BitBtn1->click();
  EXPECT_FALSE(form.isVisible());
}

TEST(MessagesWindow, TickDrainsPendingMessagesIntoTheBlankLastRow) {
  ResetWorld();
  TForm7 form;

  // The first tick after start-up: five blank rows, nothing pending.
  ASSERT_EQ(form.StringGrid1->rowCount(), 5);
  form.Timer2Timer();
  ASSERT_EQ(form.StringGrid1->rowCount(), 5);
  for (int r = 0; r < 5; ++r) EXPECT_TRUE(form.RowText(r).isEmpty()) << r;

  form.ResetGrid();
  ASSERT_EQ(form.StringGrid1->rowCount(), 1);
  Append("0.1: pierwsza");
  Append("0.2: druga");
  Append("0.3: trzecia");
  form.Timer2Timer();
  ASSERT_EQ(form.StringGrid1->rowCount(), 4);
  EXPECT_EQ(form.RowText(0), QStringLiteral("0.1: pierwsza"));
  EXPECT_EQ(form.RowText(1), QStringLiteral("0.2: druga"));
  EXPECT_EQ(form.RowText(2), QStringLiteral("0.3: trzecia"));
  EXPECT_TRUE(form.RowText(3).isEmpty());
  EXPECT_TRUE(PendingEmpty());

  // Nothing pending: the grid stays as it is.
  form.Timer2Timer();
  ASSERT_EQ(form.StringGrid1->rowCount(), 4);
  EXPECT_EQ(form.RowText(2), QStringLiteral("0.3: trzecia"));
  EXPECT_TRUE(form.RowText(3).isEmpty());

  // The next message takes the blank row, a new blank row follows.
  Append("1: zjadł człowieka");
  form.Timer2Timer();
  ASSERT_EQ(form.StringGrid1->rowCount(), 5);
  EXPECT_EQ(form.RowText(3), QStringLiteral("1: zjadł człowieka"));
  EXPECT_TRUE(form.RowText(4).isEmpty());
}

TEST(MessagesWindow, ResetLeavesOneRowThatTheNextTickBlanksOrFills) {
  ResetWorld();
  TForm7 form;
  form.ResetGrid();
  Append("stara");
  Append("druga");
  form.Timer2Timer();
  ASSERT_EQ(form.StringGrid1->rowCount(), 3);

  form.ResetGrid();
  ASSERT_EQ(form.StringGrid1->rowCount(), 1);
  form.Timer2Timer();
  ASSERT_EQ(form.StringGrid1->rowCount(), 1);
  EXPECT_TRUE(form.RowText(0).isEmpty());

  Append("nowa");
  form.Timer2Timer();
  ASSERT_EQ(form.StringGrid1->rowCount(), 2);
  EXPECT_EQ(form.RowText(0), QStringLiteral("nowa"));
  EXPECT_TRUE(form.RowText(1).isEmpty());
}

TEST(MessagesWindow, TickNeverMovesTheScrollPosition) {
  ResetWorld();
  TForm7 form;
  form.show();
  form.ResetGrid();
  for (int i = 0; i < 40; ++i) Append("m" + std::to_string(i));
  form.Timer2Timer();
  QCoreApplication::processEvents();  // lets the view lay out its new rows
  QScrollBar* bar = form.StringGrid1->verticalScrollBar();
  EXPECT_EQ(bar->value(), 0);
  ASSERT_GT(bar->maximum(), 7);
  bar->setValue(7);
  for (int i = 0; i < 40; ++i) Append("n" + std::to_string(i));
  form.Timer2Timer();
  QCoreApplication::processEvents();
  EXPECT_EQ(bar->value(), 7);
  EXPECT_EQ(form.StringGrid1->rowCount(), 81);
}

TEST(MessagesWindow, EveryMessageAppendedDuringTicksIsShownOnceInOrder) {
  ResetWorld();
  TForm7 form;
  form.ResetGrid();
  constexpr int Count = 3000;
  std::thread simulation([] {
    for (int i = 0; i < Count; ++i) Append(std::to_string(i));
  });
  while (form.StringGrid1->rowCount() < Count + 1) {
    form.Timer2Timer();
    if (form.StringGrid1->rowCount() < Count + 1) std::this_thread::yield();
  }
  simulation.join();
  form.Timer2Timer();
  ASSERT_EQ(form.StringGrid1->rowCount(), Count + 1);
  for (int i = 0; i < Count; ++i) ASSERT_EQ(form.RowText(i), QString::number(i)) << i;
  EXPECT_TRUE(form.RowText(Count).isEmpty());
}

TEST(MessagesWindow, TickRefreshesTheStatisticsWindowWhenThereIsOne) {
  ResetWorld();
  TForm7 messages;
  messages.Timer2Timer();  // no statistics window: nothing to refresh
  TForm6 statistics;
  World.PersonCount = 7;
  World.ElapsedMs = 2500;
  messages.Timer2Timer();
  EXPECT_EQ(statistics.Label11->text(), QStringLiteral("7"));
  EXPECT_EQ(statistics.Label8->text(), QStringLiteral("2.5"));
  ResetWorld();
}
