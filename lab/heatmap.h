// Where people were eaten, over all runs of a sweep, drawn as a density on
// the dimmed map picture with a legend.
#pragma once

#include <QByteArray>
#include <QImage>
#include <cstdint>
#include <vector>

#include "experiment_run.h"

namespace wendo_lab {

class TDeathMap {
 public:
  TDeathMap(int width, int height);
  void Add(const std::vector<TPlace>& deaths);  // one run's
  int64_t Deaths() const { return deaths_; }
  int64_t Runs() const { return runs_; }
  // People eaten per 100 m² (a square of 100 × 100 cells), smoothed with a
  // Gaussian of `sigma` cells; row after row.
  std::vector<float> Density(double sigma) const;
  int Width() const { return width_; }
  int Height() const { return height_; }

 private:
  int width_, height_;
  std::vector<uint32_t> counts_;
  int64_t deaths_ = 0;
  int64_t runs_ = 0;
};

// The picture: `map` dimmed, the density over it in a colour ramp, and a
// legend; `width` pixels wide (at most the map's), the map's aspect kept.
// Text needs a QGuiApplication.
QImage DrawHeatmap(const QImage& map, const TDeathMap& deaths, int width);

QByteArray PngBytes(const QImage& picture);

}  // namespace wendo_lab
