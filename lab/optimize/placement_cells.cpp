#include "placement_cells.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "wymianadanych.h"

namespace wendo_lab {

using namespace wymianadanych;

bool Accepts(TObjectKind kind, int32_t colour) {
  if (kind == TObjectKind::Boat) return IsWater(colour);
  return colour == LandColour || colour == OliveColour;
}

namespace {

constexpr int32_t None = -1;

// In each column, the row of the column's nearest accepted cell (None in a
// column without one), each way and the nearer kept; empty when no column
// has one.
std::vector<int32_t> ColumnNearest(const std::vector<int32_t>& terrain, TObjectKind kind) {
  std::vector<int32_t> nearest(terrain.size(), None);
  bool any = false;
  for (int32_t x = 0; x < MapWidth; ++x) {
    const size_t column = static_cast<size_t>(x) * MapHeight;
    int32_t last = None;
    for (int32_t y = 0; y < MapHeight; ++y) {
      if (Accepts(kind, terrain[column + y])) last = y;
      nearest[column + y] = last;
    }
    last = None;
    for (int32_t y = MapHeight - 1; y >= 0; --y) {
      if (Accepts(kind, terrain[column + y])) last = y;
      const int32_t above = nearest[column + y];
      if (last != None && (above == None || last - y < y - above)) nearest[column + y] = last;
    }
    any = any || nearest[column] != None;
  }
  if (!any) nearest.clear();
  return nearest;
}

// Along row y, the lower envelope of the parabolas (q - x)² + (column
// distance at x)²: at each q, the index of the nearest accepted cell.
// `hull` and `from` are room for the columns whose parabolas form the
// envelope and where each of them starts to be lowest, kept between rows.
void RowNearest(int32_t y, const std::vector<int32_t>& columnNearest, std::vector<int32_t>& nearest,
                std::vector<int32_t>& hull, std::vector<double>& from) {
  auto height = [&](int32_t x) -> double {
    const int32_t row = columnNearest[static_cast<size_t>(x) * MapHeight + y];
    return row == None ? std::numeric_limits<double>::infinity() : double(row - y) * double(row - y);
  };
  int count = 0;
  for (int32_t x = 0; x < MapWidth; ++x) {
    const double h = height(x);
    if (std::isinf(h)) continue;  // a column with no accepted cell at all
    double s = 0;
    while (count > 0) {
      const int32_t v = hull[count - 1];
      s = ((h + double(x) * x) - (height(v) + double(v) * v)) / (2.0 * (x - v));
      if (s > from[count - 1]) break;
      --count;
    }
    hull[count] = x;
    from[count] = count == 0 ? -std::numeric_limits<double>::infinity() : s;
    ++count;
  }
  int k = 0;
  for (int32_t q = 0; q < MapWidth; ++q) {
    while (k + 1 < count && from[k + 1] < q) ++k;
    const int32_t x = hull[k];
    nearest[static_cast<size_t>(q) * MapHeight + y] =
        x * MapHeight + columnNearest[static_cast<size_t>(x) * MapHeight + y];
  }
}

}  // namespace

// Felzenszwalb and Huttenlocher's distance transform, keeping where the
// minimum comes from: first, in each column, the nearest accepted cell of
// that column; then, along each row, the lower envelope of the parabolas,
// whose minimum at q is the nearest accepted cell of the whole map.
TNearestCell::TNearestCell(const std::vector<int32_t>& terrain, TObjectKind kind) {
  const std::vector<int32_t> columnNearest = ColumnNearest(terrain, kind);
  if (columnNearest.empty()) return;
  nearest_.assign(terrain.size(), None);
  std::vector<int32_t> hull(MapWidth);
  std::vector<double> from(MapWidth + 1);
  for (int32_t y = 0; y < MapHeight; ++y) RowNearest(y, columnNearest, nearest_, hull, from);
}

TCell TNearestCell::Snap(double x, double y) const {
  const auto within = [](double v, int32_t max) {
    if (!(v > 0)) return int32_t{0};  // NaN too
    return static_cast<int32_t>(std::min<double>(std::lround(std::min(v, 1e9)), max));
  };
  const int32_t index = nearest_[static_cast<size_t>(within(x, MaxX)) * MapHeight + within(y, MaxY)];
  return {index / MapHeight, index % MapHeight};
}

}  // namespace wendo_lab
