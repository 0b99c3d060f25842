// The ratio of totals and its delta-method interval on a table checked by
// hand: runs (eaten, swim-hours) (1,2) (0,1) (3,3) (2,4): R = 6/10; the
// residuals y − R·x are −0.2, −0.6, 1.2, −0.4, Σd² = 2, s² = 2/3, x̄ = 2.5,
// so the standard error is √(2/3 / 4) / 2.5 = 0.163299 and, with
// t(0.975, 3) = 3.182446, the half width 0.519691.
#include <gtest/gtest.h>

#include "ratio_estimate.h"

using namespace wendo_lab;

TEST(RatioEstimate, DeltaMethodIntervalOfAHandCheckedTable) {
  const std::vector<double> eaten = {1, 0, 3, 2}, hours = {2, 1, 3, 4};
  TRatioOfTotals whole, first, second;
  for (size_t i = 0; i < eaten.size(); ++i) {
    whole.Add(eaten[i], hours[i]);
    (i < 2 ? first : second).Add(eaten[i], hours[i]);
  }
  first.Merge(second);
  for (const TRatioOfTotals& r : {whole, first}) {
    const TRatioEstimate e = r.Estimate(1000);
    ASSERT_TRUE(e.IntervalKnown);
    EXPECT_NEAR(e.Ratio, 600, 1e-9);
    EXPECT_NEAR(e.CiLow, 600 - 519.691, 1e-3);
    EXPECT_NEAR(e.CiHigh, 600 + 519.691, 1e-3);
  }
  // Twice the deaths on the same exposure: each run's linearised term is
  // the same residual over x̄, so the difference 0.6 has the same width.
  const std::vector<double> doubled = {2, 0, 6, 4};
  const TRatioEstimate d = PairedRatioDifference(eaten, hours, doubled, hours);
  EXPECT_NEAR(d.Ratio, 0.6, 1e-12);
  EXPECT_NEAR(d.CiHigh - d.Ratio, 0.519691, 1e-6);
  // Nobody swam: no ratio; one run: no interval.
  TRatioOfTotals dry, one;
  dry.Add(0, 0);
  one.Add(1, 2);
  EXPECT_FALSE(dry.Estimate().Known);
  EXPECT_TRUE(one.Estimate().Known);
  EXPECT_FALSE(one.Estimate().IntervalKnown);
}
