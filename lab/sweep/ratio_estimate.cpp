#include "ratio_estimate.h"

#include <algorithm>
#include <boost/math/distributions/students_t.hpp>
#include <cmath>

namespace wendo_lab {

namespace {

double HalfWidth(double variance, int64_t n) {
  const boost::math::students_t t(static_cast<double>(n - 1));
  return boost::math::quantile(t, 0.975) * std::sqrt(std::max(0.0, variance) / static_cast<double>(n));
}

}  // namespace

void TRatioOfTotals::Add(double y, double x) {
  ++n_;
  x_ += x;
  y_ += y;
  xx_ += x * x;
  yy_ += y * y;
  xy_ += x * y;
}

void TRatioOfTotals::Merge(const TRatioOfTotals& o) {
  n_ += o.n_;
  x_ += o.x_;
  y_ += o.y_;
  xx_ += o.xx_;
  yy_ += o.yy_;
  xy_ += o.xy_;
}

TRatioEstimate TRatioOfTotals::Estimate(double scale) const {
  TRatioEstimate e;
  e.N = n_;
  e.Known = x_ > 0;
  if (!e.Known) return e;
  const double r = y_ / x_;
  e.Ratio = e.CiLow = e.CiHigh = r * scale;
  if (n_ < 2) return e;
  e.IntervalKnown = true;
  // Σ(y − R·x)² from the sums, over n − 1: the residuals' sample variance.
  const double residuals = (yy_ - 2 * r * xy_ + r * r * xx_) / static_cast<double>(n_ - 1);
  const double meanX = x_ / static_cast<double>(n_);
  const double half = HalfWidth(residuals / (meanX * meanX), n_) * scale;
  e.CiLow = e.Ratio - half;
  e.CiHigh = e.Ratio + half;
  return e;
}

TRatioEstimate PairedRatioDifference(const std::vector<double>& ya, const std::vector<double>& xa,
                                     const std::vector<double>& yb, const std::vector<double>& xb, double scale) {
  TRatioOfTotals a, b;
  const size_t n = std::min({ya.size(), xa.size(), yb.size(), xb.size()});
  for (size_t i = 0; i < n; ++i) {
    a.Add(ya[i], xa[i]);
    b.Add(yb[i], xb[i]);
  }
  TRatioEstimate e;
  e.N = static_cast<int64_t>(n);
  e.Known = a.SumX() > 0 && b.SumX() > 0;
  if (!e.Known) return e;
  const double ra = a.SumY() / a.SumX(), rb = b.SumY() / b.SumX();
  const double meanA = a.SumX() / static_cast<double>(n), meanB = b.SumX() / static_cast<double>(n);
  e.Ratio = e.CiLow = e.CiHigh = (rb - ra) * scale;
  if (n < 2) return e;
  e.IntervalKnown = true;
  // The linearised contributions have mean 0 by construction.
  double squares = 0;
  for (size_t i = 0; i < n; ++i) {
    const double u = (yb[i] - rb * xb[i]) / meanB - (ya[i] - ra * xa[i]) / meanA;
    squares += u * u;
  }
  const double half = HalfWidth(squares / static_cast<double>(n - 1), static_cast<int64_t>(n)) * scale;
  e.CiLow = e.Ratio - half;
  e.CiHigh = e.Ratio + half;
  return e;
}

}  // namespace wendo_lab
