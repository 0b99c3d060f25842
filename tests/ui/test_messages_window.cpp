// The messages window and the main window's 100 ms tick that feeds it.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMenu>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include "test_dialogs_support.h"
#include "wendoUnit1.h"
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

// The main window owns the tick; its own timer is stopped, so only the test
// ticks.
struct MainWindowTick {
  MainWindowTick() { main.Timer2()->stop(); }
  void operator()() { main.Timer2Timer(); }
  TForm1 main;
};

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
  MainWindowTick tick;
  ResetWorld();
  TForm7 form;

  // The first tick after start-up: five blank rows, nothing pending.
  ASSERT_EQ(form.StringGrid1->rowCount(), 5);
  tick();
  ASSERT_EQ(form.StringGrid1->rowCount(), 5);
  for (int r = 0; r < 5; ++r) EXPECT_TRUE(form.RowText(r).isEmpty()) << r;

  form.ResetGrid();
  ASSERT_EQ(form.StringGrid1->rowCount(), 1);
  Append("0.1: pierwsza");
  Append("0.2: druga");
  Append("0.3: trzecia");
  tick();
  ASSERT_EQ(form.StringGrid1->rowCount(), 4);
  EXPECT_EQ(form.RowText(0), QStringLiteral("0.1: pierwsza"));
  EXPECT_EQ(form.RowText(1), QStringLiteral("0.2: druga"));
  EXPECT_EQ(form.RowText(2), QStringLiteral("0.3: trzecia"));
  EXPECT_TRUE(form.RowText(3).isEmpty());
  EXPECT_TRUE(PendingEmpty());

  // Nothing pending: the grid stays as it is.
  tick();
  ASSERT_EQ(form.StringGrid1->rowCount(), 4);
  EXPECT_EQ(form.RowText(2), QStringLiteral("0.3: trzecia"));
  EXPECT_TRUE(form.RowText(3).isEmpty());

  // The next message takes the blank row, a new blank row follows.
  Append("1: zjadł człowieka");
  tick();
  ASSERT_EQ(form.StringGrid1->rowCount(), 5);
  EXPECT_EQ(form.RowText(3), QStringLiteral("1: zjadł człowieka"));
  EXPECT_TRUE(form.RowText(4).isEmpty());
}

TEST(MessagesWindow, ResetLeavesOneRowThatTheNextTickBlanksOrFills) {
  MainWindowTick tick;
  ResetWorld();
  TForm7 form;
  form.ResetGrid();
  Append("stara");
  Append("druga");
  tick();
  ASSERT_EQ(form.StringGrid1->rowCount(), 3);

  form.ResetGrid();
  ASSERT_EQ(form.StringGrid1->rowCount(), 1);
  tick();
  ASSERT_EQ(form.StringGrid1->rowCount(), 1);
  EXPECT_TRUE(form.RowText(0).isEmpty());

  Append("nowa");
  tick();
  ASSERT_EQ(form.StringGrid1->rowCount(), 2);
  EXPECT_EQ(form.RowText(0), QStringLiteral("nowa"));
  EXPECT_TRUE(form.RowText(1).isEmpty());
}

TEST(MessagesWindow, TickNeverMovesTheScrollPosition) {
  MainWindowTick tick;
  ResetWorld();
  TForm7 form;
  form.show();
  form.ResetGrid();
  for (int i = 0; i < 40; ++i) Append("m" + std::to_string(i));
  tick();
  QCoreApplication::processEvents();  // lets the view lay out its new rows
  QScrollBar* bar = form.StringGrid1->verticalScrollBar();
  EXPECT_EQ(bar->value(), 0);
  ASSERT_GT(bar->maximum(), 7);
  bar->setValue(7);
  for (int i = 0; i < 40; ++i) Append("n" + std::to_string(i));
  tick();
  QCoreApplication::processEvents();
  EXPECT_EQ(bar->value(), 7);
  EXPECT_EQ(form.StringGrid1->rowCount(), 81);
}

TEST(MessagesWindow, EveryMessageAppendedDuringTicksIsShownOnceInOrder) {
  MainWindowTick tick;
  ResetWorld();
  TForm7 form;
  form.ResetGrid();
  constexpr int Count = 3000;
  std::thread simulation([] {
    for (int i = 0; i < Count; ++i) Append(std::to_string(i));
  });
  while (form.StringGrid1->rowCount() < Count + 1) {
    tick();
    if (form.StringGrid1->rowCount() < Count + 1) std::this_thread::yield();
  }
  simulation.join();
  tick();
  ASSERT_EQ(form.StringGrid1->rowCount(), Count + 1);
  for (int i = 0; i < Count; ++i) ASSERT_EQ(form.RowText(i), QString::number(i)) << i;
  EXPECT_TRUE(form.RowText(Count).isEmpty());
}

TEST(MessagesWindow, TickRefreshesTheStatisticsWindowWhenThereIsOne) {
  MainWindowTick tick;
  ResetWorld();
  TForm7 messages;
  tick();  // no statistics window: nothing to refresh
  TForm6 statistics;
  World.PersonCount = 7;
  World.ElapsedMs = 2500;
  tick();
  EXPECT_EQ(statistics.Label11->text(), QStringLiteral("7"));
  EXPECT_EQ(statistics.Label8->text(), QStringLiteral("2.5"));
  ResetWorld();
}

TEST(MessagesWindow, EnterLeavesItOpenAndEscClosesIt) {
  TForm7 form;
  form.show();
  form.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  // Wherever the focus is, the grid or the button, Enter closes nothing.
  for (QWidget* focus : {static_cast<QWidget*>(form.StringGrid1), static_cast<QWidget*>(form.BitBtn1)}) {
    focus->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), focus);
    QTest::keyClick(focus, Qt::Key_Return);
    QTest::keyClick(focus, Qt::Key_Enter);
    EXPECT_TRUE(form.isVisible()) << focus->metaObject()->className();
  }
  EXPECT_FALSE(form.BitBtn1->isDefault());
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
  EXPECT_FALSE(form.isVisible());
}

TEST(MessagesWindow, ContextMenuCopiesTheSelectedMessagesAndSavesThemAll) {
  ResetWorld();
  MainWindowTick tick;
  TForm7 form;
  form.ResetGrid();
  for (const char* m : {"0.5: pojawił się człowiek na (1,2).", "1: b", "1.5: c", "2: d"}) Append(m);
  tick();
  ASSERT_EQ(form.StringGrid1->rowCount(), 5);  // four messages and the blank row
  QStringList items;
  for (const QAction* a : form.PopupMenu1->actions()) items << a->text();
  EXPECT_EQ(items, (QStringList{"Kopiuj", QStringLiteral("Zapisz wszystkie…")}));
  EXPECT_EQ(form.StringGrid1->contextMenuPolicy(), Qt::CustomContextMenu);

  // Rows 3 and 1 and the blank row: the two messages, top to bottom.
  for (int row : {3, 1, 4}) form.StringGrid1->selectionModel()->select(form.StringGrid1->model()->index(row, 0),
                                                                      QItemSelectionModel::Select);
  form.Kopiuj1->trigger();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("1: b\n2: d"));

  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath(QStringLiteral("wiadomosci.txt"));
  form.ChooseFile = [&](QFileDialog& dialog) {
    EXPECT_EQ(&dialog, form.SaveDialog1);
    return path;
  };
  dialog_tests::MessageCapture capture;
  form.ZapiszWszystkie1->trigger();
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), QByteArray("0.5: pojawił się człowiek na (1,2).\n1: b\n1.5: c\n2: d\n"));
  EXPECT_EQ(form.SaveDialog1->defaultSuffix(), QStringLiteral("txt"));

  // Into a folder that does not exist: reported, nothing written, the grid
  // as it was.
  form.ChooseFile = [&](QFileDialog&) { return dir.filePath(QStringLiteral("brak/w.txt")); };
  form.ZapiszWszystkie1->trigger();
  ASSERT_EQ(capture.errors.size(), 1u);
  EXPECT_EQ(capture.errors[0], QStringLiteral("Invalid filename: \"%1\".").arg(dir.filePath(QStringLiteral("brak/w.txt"))));
  EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("brak"))));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
            QStringList{"wiadomosci.txt"});
  EXPECT_EQ(form.Messages().size(), 4);
}
