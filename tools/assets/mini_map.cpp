#include "mini_map.h"

#include <array>
#include <utility>

namespace {
constexpr int Factor = 5;
}

QImage reduceToMiniMap(const QImage &map) {
  const QImage src = map.convertToFormat(QImage::Format_RGB32);
  QImage out(src.width() / Factor, src.height() / Factor, QImage::Format_RGB32);
  for (int by = 0; by < out.height(); ++by) {
    for (int bx = 0; bx < out.width(); ++bx) {
      // Candidate colours with their counts; the centre pixel goes first
      // so that it wins any tie.
      std::array<std::pair<QRgb, int>, Factor * Factor> seen{};
      int kinds = 0;
      auto add = [&](QRgb c) {
        for (int i = 0; i < kinds; ++i) {
          if (seen[i].first == c) {
            ++seen[i].second;
            return;
          }
        }
        seen[kinds++] = {c, 1};
      };
      const int x0 = bx * Factor, y0 = by * Factor;
      add(src.pixel(x0 + Factor / 2, y0 + Factor / 2));
      for (int y = y0; y < y0 + Factor; ++y)
        for (int x = x0; x < x0 + Factor; ++x)
          if (x != x0 + Factor / 2 || y != y0 + Factor / 2) add(src.pixel(x, y));
      int best = 0;
      for (int i = 1; i < kinds; ++i)
        if (seen[i].second > seen[best].second) best = i;
      out.setPixel(bx, by, seen[best].first);
    }
  }
  return out;
}
