// Where people were eaten, over all runs of a sweep, drawn as a density on
// the dimmed map picture with a legend.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QPainter>
#include <cstdint>
#include <functional>
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
  // Row after row, how many places fell on each cell.
  const std::vector<uint32_t>& Counts() const { return counts_; }
  int Width() const { return width_; }
  int Height() const { return height_; }

 private:
  int width_, height_;
  std::vector<uint32_t> counts_;
  int64_t deaths_ = 0;
  int64_t runs_ = 0;
};

// The density at the densest place, the top of the colour ramp.
double PeakDensity(const TDeathMap& deaths);

// Drawn over the heatmap, under the legend: the painter, and the picture's
// pixels per map cell.
using THeatmapOverlay = std::function<void(QPainter&, double scale)>;

// The picture: `map` dimmed, the density over it in a colour ramp, and a
// legend; `width` pixels wide (at most the map's), the map's aspect kept.
// The ramp's top is `peak`, or this map's own PeakDensity when it is 0 (a
// common peak puts several heatmaps on one scale). Text needs a
// QGuiApplication.
// The legend goes in the first corner, of bottom right, bottom left, top
// right and top left, that holds none of the `avoid` places (map cells),
// else in the one that holds the fewest.
QImage DrawHeatmap(const QImage& map, const TDeathMap& deaths, int width, double peak = 0,
                   const THeatmapOverlay& overlay = {}, const std::vector<TPlace>& avoid = {});

QByteArray PngBytes(const QImage& picture);

}  // namespace wendo_lab
