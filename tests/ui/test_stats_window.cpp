// The statistics window: layout, the seven values and their right edge.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "test_dialogs_support.h"
#include "wendoUnit6.h"

using dialog_tests::ResetWorld;
using wymianadanych::World;

namespace {

std::vector<QLabel*> Values(TForm6& f) {
  return {f.Label8, f.Label9, f.Label10, f.Label11, f.Label12, f.Label13, f.Label14};
}

std::vector<QLabel*> Names(TForm6& f) { return {f.Label1, f.Label2, f.Label3, f.Label4, f.Label5, f.Label6, f.Label7}; }

void ExpectRightEdges(TForm6& form) {
  for (QLabel* label : Values(form)) {
    EXPECT_EQ(label->x() + label->width(), TForm6::ValueRight) << label->text().toStdString();
    EXPECT_GE(label->x(), 0) << label->text().toStdString();
  }
}

}  // namespace

TEST(StatisticsWindow, LayoutAndZeroesBeforeTheFirstRefresh) {
  ResetWorld();
  World.PersonCount = 9;  // not shown until a refresh
  TForm6 form;
  EXPECT_EQ(Form6, &form);
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Statystyki"));
  EXPECT_EQ(form.size(), QSize(228, 199));
  EXPECT_EQ(form.minimumSize(), form.maximumSize());
  EXPECT_EQ(form.pos(), QPoint(646, 290));
  const char* captions[] = {"Czas (s):", "Obserwatorzy:", "Łódki:", "Ludzie:", "Martwi ludzie:", "Rekiny:",
                            "Martwe rekiny:"};
  const auto names = Names(form);
  const auto values = Values(form);
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(names[i]->text(), QString::fromUtf8(captions[i]));
    EXPECT_EQ(names[i]->pos(), QPoint(32, 24 + 16 * i));
    EXPECT_EQ(values[i]->y(), 24 + 16 * i);
    EXPECT_EQ(values[i]->text(), QStringLiteral("0"));
    // A name must not run into its value.
    EXPECT_LT(names[i]->x() + names[i]->width(), values[i]->x()) << i;
  }
  ExpectRightEdges(form);
  EXPECT_EQ(form.BitBtn1->text(), QStringLiteral("Zamknij"));
  EXPECT_EQ(form.BitBtn1->geometry(), QRect(88, 152, 75, 25));
  EXPECT_TRUE(form.BitBtn1->isDefault());
  EXPECT_FALSE(form.BitBtn1->icon().isNull());
  ResetWorld();
}

TEST(StatisticsWindow, RefreshShowsTheCountersInOrder) {
  ResetWorld();
  TForm6 form;
  World.ObserverCount = 1;
  World.BoatCount = 2;
  World.PersonCount = 3;
  World.DeadPeople = 4;
  World.SharkCount = 5;
  World.DeadSharks = -6;
  World.ElapsedMs = 12300;
  form.RefreshStatistics();
  EXPECT_EQ(form.Label8->text(), QStringLiteral("12.3"));
  EXPECT_EQ(form.Label9->text(), QStringLiteral("1"));
  EXPECT_EQ(form.Label10->text(), QStringLiteral("2"));
  EXPECT_EQ(form.Label11->text(), QStringLiteral("3"));
  EXPECT_EQ(form.Label12->text(), QStringLiteral("4"));
  EXPECT_EQ(form.Label13->text(), QStringLiteral("5"));
  EXPECT_EQ(form.Label14->text(), QStringLiteral("-6"));
  ResetWorld();
}

TEST(StatisticsWindow, TimeUsesTheDecimalSeparatorOfTheLocale) {
  ResetWorld();
  TForm6 form;
  World.DecimalSeparator = ",";
  const std::pair<int32_t, const char*> comma[] = {{100, "0,1"}, {0, "0"}, {1500, "1,5"}, {12300, "12,3"}};
  for (const auto& [ms, text] : comma) {
    World.ElapsedMs = ms;
    form.RefreshStatistics();
    EXPECT_EQ(form.Label8->text(), QString::fromUtf8(text)) << ms;
  }
  World.DecimalSeparator = ".";
  World.ElapsedMs = 100;
  form.RefreshStatistics();
  EXPECT_EQ(form.Label8->text(), QStringLiteral("0.1"));
  ResetWorld();
}

TEST(StatisticsWindow, ValuesKeepTheirRightEdgeAsTheyGrowAndShrink) {
  ResetWorld();
  TForm6 form;
  World.DecimalSeparator = ",";
  World.ElapsedMs = 2147483647;
  World.ObserverCount = 12;
  World.BoatCount = 1234;
  World.PersonCount = 123456;
  World.DeadPeople = 2147483647;
  World.SharkCount = -2147483647 - 1;
  World.DeadSharks = 99999;
  form.RefreshStatistics();
  EXPECT_EQ(form.Label8->text(), QStringLiteral("2147483,647"));
  ExpectRightEdges(form);
  const int wide = form.Label12->width();

  World.DeadPeople = 3;
  form.RefreshStatistics();
  EXPECT_LT(form.Label12->width(), wide);
  ExpectRightEdges(form);
  ResetWorld();
}

TEST(StatisticsWindow, EnterAndTheCloseButtonHideTheWindow) {
  TForm6 form;
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  QTest::keyClick(&form, Qt::Key_Return);
  EXPECT_FALSE(form.isVisible());

  form.show();
  form.BitBtn1->click();
  EXPECT_FALSE(form.isVisible());
  // Hidden, it keeps refreshing.
  World.BoatCount = 4;
  form.RefreshStatistics();
  EXPECT_EQ(form.Label10->text(), QStringLiteral("4"));
  ResetWorld();
}
