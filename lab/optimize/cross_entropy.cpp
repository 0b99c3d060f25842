#include "cross_entropy.h"

#include <algorithm>
#include <boost/math/distributions/normal.hpp>
#include <boost/random/uniform_01.hpp>
#include <boost/random/uniform_int_distribution.hpp>
#include <cmath>
#include <numeric>

namespace wendo_lab {

TCrossEntropySearch::TCrossEntropySearch(std::vector<double> mean, std::vector<double> spread, uint64_t seed,
                                         TCrossEntropySettings settings)
    : mean_(std::move(mean)), spread_(std::move(spread)), settings_(settings), random_(seed) {}

std::vector<std::vector<double>> TCrossEntropySearch::Draw(int count) {
  const size_t n = static_cast<size_t>(std::max(count, 0));
  std::vector<std::vector<double>> points(n, std::vector<double>(mean_.size()));
  const boost::math::normal standard;
  std::vector<size_t> slice(n);
  for (size_t i = 0; i < mean_.size(); ++i) {
    // The slices in random order (Fisher and Yates), then a place in each.
    std::iota(slice.begin(), slice.end(), size_t{0});
    for (size_t k = n; k > 1; --k)
      std::swap(slice[k - 1], slice[boost::random::uniform_int_distribution<size_t>(0, k - 1)(random_)]);
    for (size_t k = 0; k < n; ++k) {
      const double u =
          (static_cast<double>(slice[k]) + boost::random::uniform_01<double>()(random_)) / static_cast<double>(n);
      const double z = boost::math::quantile(standard, std::clamp(u, 1e-9, 1 - 1e-9));
      points[k][i] = mean_[i] + spread_[i] * z;
    }
  }
  return points;
}

void TCrossEntropySearch::Learn(const std::vector<std::vector<double>>& points, const std::vector<double>& scores) {
  const size_t n = std::min(points.size(), scores.size());
  if (n == 0) return;
  std::vector<size_t> order(n);
  std::iota(order.begin(), order.end(), size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return scores[a] < scores[b]; });
  const size_t elite =
      std::min(n, std::max<size_t>(2, static_cast<size_t>(std::ceil(settings_.EliteShare * static_cast<double>(n)))));
  const double a = settings_.Smoothing;
  for (size_t i = 0; i < mean_.size(); ++i) {
    double sum = 0;
    for (size_t e = 0; e < elite; ++e) sum += points[order[e]][i];
    const double m = sum / static_cast<double>(elite);
    double squares = 0;
    for (size_t e = 0; e < elite; ++e) squares += (points[order[e]][i] - m) * (points[order[e]][i] - m);
    const double sd = std::sqrt(squares / static_cast<double>(elite));
    mean_[i] = a * m + (1 - a) * mean_[i];
    spread_[i] = std::max(settings_.LeastSpread, a * sd + (1 - a) * spread_[i]);
  }
}

}  // namespace wendo_lab
