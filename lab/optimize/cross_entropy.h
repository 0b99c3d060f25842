// The cross-entropy method (Rubinstein and Kroese) for minimising a noisy
// function of a real vector, one generation at a time: candidates are drawn
// from independent normal distributions, one per coordinate; the best share
// of them (the elite) gives the next distribution's means and spreads,
// blended with the old ones so that one lucky generation cannot collapse
// the search. Only the order of the scores in a generation counts, never
// their size, which keeps a few extreme runs from steering it.
//
// A generation is drawn as a Latin hypercube: each coordinate's draws fall
// one into each of as many slices of equal probability, in random order, so
// that even a small generation covers the whole width of the distribution
// instead of bunching by chance on one side of it.
#pragma once

#include <boost/random/mersenne_twister.hpp>
#include <cstdint>
#include <vector>

namespace wendo_lab {

struct TCrossEntropySettings {
  double EliteShare = 0.3;  // of a generation; at least two candidates
  double Smoothing = 0.7;   // weight of the elite against the old distribution
  double LeastSpread = 5;   // per coordinate, so the search never stops looking
};

class TCrossEntropySearch {
 public:
  TCrossEntropySearch(std::vector<double> mean, std::vector<double> spread, uint64_t seed,
                      TCrossEntropySettings settings = {});

  std::vector<std::vector<double>> Draw(int count);

  // `points` as they were evaluated (they may differ from those drawn) and
  // their scores, lower being better; ties go to the earlier point.
  void Learn(const std::vector<std::vector<double>>& points, const std::vector<double>& scores);

 private:
  std::vector<double> mean_, spread_;
  TCrossEntropySettings settings_;
  // Boost's generator and normal distribution are the same on every
  // platform, so a search seed gives the same search everywhere.
  boost::random::mt19937_64 random_;
};

}  // namespace wendo_lab
