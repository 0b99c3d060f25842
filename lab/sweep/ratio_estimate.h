// A ratio of totals over runs, such as all people eaten over all
// swim-hours, with a 95% interval right for a ratio.
//
// The mean of per-run ratios is biased when some runs have little
// exposure (a run of a few swim-minutes and one death weighs as much as a
// run of a hundred hours), so the estimate is Σy / Σx. Its interval comes
// from the delta method (the linearised ratio estimator of survey
// sampling): with R = Σy/Σx and x̄ = Σx/n, the per-run residuals
// d = y − R·x have a sample variance that follows from the sums n, Σx, Σy,
// Σx², Σy², Σxy alone, and the ratio's standard error is
// √(s²_d / n) / x̄, taken with Student's t for n − 1 degrees of freedom.
// Chosen over a bootstrap because it needs no stored runs and no random
// resampling: the accumulator streams, merges, and gives the same interval
// for the same runs in any order.
#pragma once

#include <cstdint>
#include <vector>

namespace wendo_lab {

struct TRatioEstimate {
  int64_t N = 0;             // runs
  bool Known = false;        // Σx > 0
  bool IntervalKnown = false;  // and at least two runs
  double Ratio = 0;
  double CiLow = 0, CiHigh = 0;
};

class TRatioOfTotals {
 public:
  void Add(double y, double x);
  void Merge(const TRatioOfTotals& other);
  // The ratio times `scale` (1000 for "per 1,000 swim-hours").
  TRatioEstimate Estimate(double scale = 1) const;
  int64_t Runs() const { return n_; }
  double SumY() const { return y_; }
  double SumX() const { return x_; }

 private:
  int64_t n_ = 0;
  double x_ = 0, y_ = 0, xx_ = 0, yy_ = 0, xy_ = 0;
};

// The paired difference of two ratios of totals over the same runs
// (seed by seed), Σyb/Σxb − Σya/Σxa, times `scale`, with the delta
// method's interval: each run's linearised contribution is
// (yb − Rb·xb)/x̄b − (ya − Ra·xa)/x̄a.
TRatioEstimate PairedRatioDifference(const std::vector<double>& ya, const std::vector<double>& xa,
                                     const std::vector<double>& yb, const std::vector<double>& xb,
                                     double scale = 1);

}  // namespace wendo_lab
