// The chart's history: one point per time, thinning of a long run, the
// alarm bands, and the points as comma-separated text.
#include <gtest/gtest.h>

#include "chart_csv.h"
#include "chart_history.h"

namespace {

TChartSample At(int32_t ms, int32_t people, bool alarm = false) {
  TChartSample s;
  s.ElapsedMs = ms;
  s.People = people;
  s.Alarm = alarm;
  return s;
}

}  // namespace

TEST(ChartHistory, ASampleAtTheLastPointsTimeUpdatesItInstead) {
  TChartHistory history;
  history.Add(At(0, 1));
  history.Add(At(0, 2));
  history.Add(At(500, 3));
  history.Add(At(500, 4));
  ASSERT_EQ(history.Samples().size(), 2u);
  EXPECT_EQ(history.Samples()[0], At(0, 2));
  EXPECT_EQ(history.Samples()[1], At(500, 4));
  // Unchanged values leave the revision alone, so the view is not redrawn.
  const uint64_t revision = history.Revision();
  history.Add(At(500, 4));
  EXPECT_EQ(history.Revision(), revision);

  history.Clear();
  EXPECT_TRUE(history.Samples().empty());
  EXPECT_TRUE(history.AlarmBands().empty());
  EXPECT_NE(history.Revision(), revision);
}

TEST(ChartHistory, ALongRunIsThinnedKeepingTheFirstAndTheLastPoint) {
  constexpr size_t Max = 100;
  TChartHistory history(Max);
  for (int32_t i = 0; i < 10000; ++i) {
    history.Add(At(100 * i, i));
    const auto& s = history.Samples();
    ASSERT_LE(s.size(), Max) << i;
    ASSERT_EQ(s.front().People, 0);
    ASSERT_EQ(s.back().People, i);
  }
  const auto& s = history.Samples();
  EXPECT_GE(s.size(), Max / 2);
  // Still in time order, each point keeping its own values, and spread over
  // the whole run rather than crowded at either end.
  int32_t widestGap = 0;
  for (size_t k = 1; k < s.size(); ++k) {
    ASSERT_LT(s[k - 1].ElapsedMs, s[k].ElapsedMs);
    ASSERT_EQ(s[k].ElapsedMs, 100 * s[k].People);
    widestGap = std::max(widestGap, s[k].ElapsedMs - s[k - 1].ElapsedMs);
  }
  EXPECT_LE(widestGap, 4 * 100 * 10000 / static_cast<int32_t>(Max));
}

TEST(ChartHistory, AlarmBandsRunFromTheFirstSampleUpToTheFirstDown) {
  TChartHistory history(1000, 2);
  const bool alarm[] = {false, true, true, false, false, true, false, true, true, true};
  for (int i = 0; i < 10; ++i) history.Add(At(100 * i, 0, alarm[i]));
  // Up at 100-300, 500-600 and from 700 on: the two with the shorter gap
  // between them (600 to 700) merge to stay within two bands.
  ASSERT_EQ(history.AlarmBands().size(), 2u);
  EXPECT_EQ(history.AlarmBands()[0].FromMs, 100);
  EXPECT_EQ(history.AlarmBands()[0].ToMs, 300);
  EXPECT_EQ(history.AlarmBands()[1].FromMs, 500);
  EXPECT_EQ(history.AlarmBands()[1].ToMs, 900);
  // The band still up reaches the next sample, which ends it.
  history.Add(At(1000, 0, false));
  history.Add(At(1100, 0, false));
  EXPECT_EQ(history.AlarmBands()[1].ToMs, 1000);
}

TEST(ChartCsv, HeaderThenOneRowPerPointWithAFullStopForDecimals) {
  TChartSample a = At(0, 1);
  TChartSample b;
  b.ElapsedMs = 12345;
  b.People = 40;
  b.DeadPeople = 2;
  b.Sharks = 5;
  b.DeadSharks = 1;
  b.Swimmers = 17;
  b.Alarm = true;
  TChartSample c = At(3600000, -1);
  EXPECT_EQ(ChartCsv({a, b, c}),
            "Czas (s),Ludzie,Martwi ludzie,Rekiny,Martwe rekiny,Pływający,Alarm\n"
            "0,1,0,0,0,0,0\n"
            "12.345,40,2,5,1,17,1\n"
            "3600,-1,0,0,0,0,0\n");
  EXPECT_EQ(ChartCsv({}), "Czas (s),Ludzie,Martwi ludzie,Rekiny,Martwe rekiny,Pływający,Alarm\n");
}
