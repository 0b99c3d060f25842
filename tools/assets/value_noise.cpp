#include "value_noise.h"

#include "random_source.h"

#include <cmath>

namespace {

double smooth(double f) { return f * f * (3.0 - 2.0 * f); }

int wrap(int i, int n) { return ((i % n) + n) % n; }

}  // namespace

ValueNoise1D::ValueNoise1D(std::uint64_t seed, int lattice) {
  RandomSource rng(seed);
  values_.resize(static_cast<std::size_t>(lattice));
  for (double &v : values_) v = rng.range(-1.0, 1.0);
}

double ValueNoise1D::at(double t) const {
  const int n = static_cast<int>(values_.size());
  const double fl = std::floor(t);
  const int i = static_cast<int>(fl);
  const double f = smooth(t - fl);
  const double a = values_[static_cast<std::size_t>(wrap(i, n))];
  const double b = values_[static_cast<std::size_t>(wrap(i + 1, n))];
  return a + (b - a) * f;
}

double ValueNoise1D::fractal(double t, int octaves) const {
  double sum = 0.0, amplitude = 1.0, norm = 0.0, scale = 1.0;
  for (int o = 0; o < octaves; ++o) {
    sum += amplitude * at(t * scale + 17.0 * o);
    norm += amplitude;
    amplitude *= 0.5;
    scale *= 2.0;
  }
  return sum / norm;
}

ValueNoise2D::ValueNoise2D(std::uint64_t seed, int lattice) : size_(lattice) {
  RandomSource rng(seed);
  values_.resize(static_cast<std::size_t>(lattice * lattice));
  for (double &v : values_) v = rng.range(-1.0, 1.0);
}

double ValueNoise2D::at(double u, double v) const {
  const double fu = std::floor(u), fv = std::floor(v);
  const int iu = static_cast<int>(fu), iv = static_cast<int>(fv);
  const double su = smooth(u - fu), sv = smooth(v - fv);
  auto cell = [this](int x, int y) {
    return values_[static_cast<std::size_t>(wrap(y, size_) * size_ + wrap(x, size_))];
  };
  const double top = cell(iu, iv) + (cell(iu + 1, iv) - cell(iu, iv)) * su;
  const double bottom = cell(iu, iv + 1) + (cell(iu + 1, iv + 1) - cell(iu, iv + 1)) * su;
  return top + (bottom - top) * sv;
}

double ValueNoise2D::fractal(double u, double v, int octaves) const {
  double sum = 0.0, amplitude = 1.0, norm = 0.0, scale = 1.0;
  for (int o = 0; o < octaves; ++o) {
    sum += amplitude * at(u * scale + 31.0 * o, v * scale + 7.0 * o);
    norm += amplitude;
    amplitude *= 0.5;
    scale *= 2.0;
  }
  return sum / norm;
}
