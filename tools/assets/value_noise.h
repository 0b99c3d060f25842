#pragma once

#include <cstdint>
#include <vector>

// Smooth pseudo-random fields built from seeded lattice values; they give
// the shoreline and the patches their natural, irregular look.
class ValueNoise1D {
 public:
  ValueNoise1D(std::uint64_t seed, int lattice);
  // Value in [-1, 1] at t (lattice units), wrapping over the lattice.
  double at(double t) const;
  // Sum of octaves, normalised to [-1, 1].
  double fractal(double t, int octaves) const;

 private:
  std::vector<double> values_;
};

class ValueNoise2D {
 public:
  ValueNoise2D(std::uint64_t seed, int lattice);
  // Value in [-1, 1] at (u, v) (lattice units), wrapping over the lattice.
  double at(double u, double v) const;
  double fractal(double u, double v, int octaves) const;

 private:
  int size_;
  std::vector<double> values_;
};
