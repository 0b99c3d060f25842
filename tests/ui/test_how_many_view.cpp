// The "how many" view: one table row per checked combination, in order,
// numbers in Polish, and one chart line per number of posts with the
// objective against the boats.
#include <gtest/gtest.h>

#include <QChart>
#include <QChartView>
#include <QLineSeries>
#include <QTableWidget>

#include "how_many_view.h"

using namespace wendo_lab;

namespace {

// Two runs: eaten `a` and `b` in 10 swim-hours each.
TLayoutOutcome Outcome(double a, double b) {
  return OutcomeOf({{a, 10, 1.0, {}}, {b, 10, 0.5, {}}});
}

}  // namespace

TEST(HowManyView, RowsOfCheckedCombinationsAndOneLinePerNumberOfPosts) {
  THowMany table;
  // As an interrupted search leaves them: in the order checked, one unchecked.
  table.Rows.push_back({1, 1, Outcome(0, 2), {}, {}, false});
  table.Rows.push_back({0, 0, Outcome(1, 3), {}, {}, false});
  table.Rows.push_back({1, 0, Outcome(3, 3), {}, {}, false});
  table.Rows.push_back({0, 1, Outcome(1, 1), {}, {}, false});
  table.Rows.push_back({2, 0, {}, {}, {}, false});
  table.Rows[0].OneMoreBoat = TStatistic{2, 1.5, 0.5, 0.25, 2.75};

  THowManyView view;
  view.Show(table, TObjective::Risk);
  QTableWidget& t = *view.Table;
  ASSERT_EQ(t.rowCount(), 4);
  auto cell = [&](int row, int column) { return t.item(row, column) ? t.item(row, column)->text() : QString(); };
  const int counts[4][2] = {{0, 0}, {0, 1}, {1, 0}, {1, 1}};
  for (int r = 0; r < 4; ++r) {
    EXPECT_EQ(cell(r, 0).toInt(), counts[r][0]) << r;
    EXPECT_EQ(cell(r, 1).toInt(), counts[r][1]) << r;
  }
  EXPECT_EQ(t.horizontalHeaderItem(0)->text(), QStringLiteral("Punkty"));
  EXPECT_EQ(t.horizontalHeaderItem(1)->text(), QStringLiteral("Łodzie"));
  EXPECT_EQ(cell(0, 2), QStringLiteral("2,00"));      // eaten (1 + 3) / 2
  EXPECT_EQ(cell(0, 6), QStringLiteral("0,750"));     // open share
  EXPECT_EQ(cell(0, 8), QStringLiteral("200,00"));    // 4 eaten in 20 swim-hours
  EXPECT_FALSE(cell(0, 9).isEmpty());                 // its interval
  EXPECT_EQ(cell(3, 12), QStringLiteral("1,50"));     // one more boat
  EXPECT_EQ(cell(3, 13), QStringLiteral("0,25 – 2,75"));
  EXPECT_TRUE(cell(2, 12).isEmpty());

  std::map<QString, QList<QPointF>> lines;
  int bars = 0;
  for (QAbstractSeries* s : view.Chart->chart()->series()) {
    auto* line = static_cast<QLineSeries*>(s);
    if (line->name().isEmpty())  // an interval's bar, no legend entry
      ++bars;
    else
      lines[line->name()] = line->points();
  }
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[QStringLiteral("0 punktów")], (QList<QPointF>{{0, 200}, {1, 100}}));
  EXPECT_EQ(lines[QStringLiteral("1 punkt")], (QList<QPointF>{{0, 300}, {1, 100}}));
  EXPECT_EQ(bars, 4);

  view.Show(table, TObjective::Eaten);
  bool found = false;
  for (QAbstractSeries* s : view.Chart->chart()->series())
    if (s->name() == QStringLiteral("1 punkt")) {
      found = true;
      EXPECT_EQ(static_cast<QLineSeries*>(s)->points(), (QList<QPointF>{{0, 3}, {1, 1}}));
    }
  EXPECT_TRUE(found);
  view.Clear();
  EXPECT_EQ(t.rowCount(), 0);
  EXPECT_TRUE(view.Chart->chart()->series().isEmpty());
}
