// The kept outlines and the marks of one colour draw exactly the
// pixels that the outline rasterizer drew column by column, for every box
// size up to the mini-map's width and for clipped, huge and repeated boxes.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <vector>

#include "frame_one_colour_marks.h"
#include "frame_drawing.h"
#include "frame_raster.h"

namespace {

// The rasterizer as it was before outlines were kept: every visible column
// of every box worked out with a square root.
void ColumnByColumnEllipse(QImage& frame, int64_t l, int64_t t, int64_t r, int64_t b, QRgb colour) {
  if (l > r) std::swap(l, r);
  if (t > b) std::swap(t, b);
  if (r <= l || b <= t) return;
  const int64_t width = r - l, height = b - t, halfWidth = (width + 1) / 2, midRow = (height - 1) / 2;
  auto top = [&](int64_t i) -> int64_t {
    if (i >= halfWidth - 1) return 0;
    const double dx = static_cast<double>(2 * i + 1 - width) / static_cast<double>(width);
    const double half = static_cast<double>(height) / 2.0;
    const double hy = half * std::sqrt(std::max(0.0, 1.0 - dx * dx));
    return std::clamp<int64_t>(static_cast<int64_t>(std::floor(half - hy)), 0, midRow);
  };
  auto vertical = [&](int64_t x, int64_t y0, int64_t y1) {
    for (int64_t y = std::max<int64_t>(y0, 0); y <= std::min<int64_t>(y1, frame.height() - 1); ++y)
      frame.setPixel(static_cast<int>(x), static_cast<int>(y), colour);
  };
  for (int64_t x = std::max<int64_t>(l, 0); x <= std::min<int64_t>(r - 1, frame.width() - 1); ++x) {
    int64_t i = x - l;
    if (i >= halfWidth) i = width - 1 - i;
    const int64_t end = i == 0 ? midRow : std::max(top(i), top(i - 1) - 1);
    vertical(x, t + top(i), t + end);
    vertical(x, b - 1 - end, b - 1 - top(i));
  }
}

QImage Blank(int w, int h) {
  QImage frame(w, h, QImage::Format_RGB32);
  frame.fill(0xFF102030u);
  return frame;
}

constexpr QRgb Ink = 0xFFFFFFFFu;

TEST(KeptEllipseOutlines, EveryBoxSizeUpToTheMiniMapWidthMatchesColumnByColumnDrawing) {
  // One raster for all sizes, as a frame keeps its outlines; each box lies
  // wholly inside, so the kept pixel offsets are what draws it.
  QImage drawn = Blank(164, 244);
  wendoui::TRaster raster(drawn);
  for (int w = 1; w <= 160; ++w)
    for (int h = 1; h <= 240; h += (h < 48 ? 1 : 7)) {
      drawn.fill(0xFF102030u);
      raster.Ellipse(2, 2, 2 + w, 2 + h, Ink);
      QImage expected = Blank(164, 244);
      ColumnByColumnEllipse(expected, 2, 2, 2 + w, 2 + h, Ink);
      ASSERT_EQ(drawn, expected) << w << " x " << h;
    }
}

TEST(KeptEllipseOutlines, ClippedInvertedAndHugeBoxesMatchColumnByColumnDrawing) {
  std::mt19937 rng(515);
  auto uniform = [&](int64_t lo, int64_t hi) { return std::uniform_int_distribution<int64_t>(lo, hi)(rng); };
  QImage drawn = Blank(160, 240);
  wendoui::TRaster raster(drawn);
  for (int k = 0; k < 4000; ++k) {
    // Mostly mini-map circles across the edges, some wider than any kept
    // outline, some far beyond the frame.
    const int64_t w = k % 10 == 0 ? uniform(4000, 9000) : uniform(1, 400);
    const int64_t h = k % 13 == 0 ? uniform(4000, 100000) : uniform(1, 400);
    const int64_t l = uniform(-w - 5, 165), t = uniform(-h - 5, 245);
    drawn.fill(0xFF102030u);
    if (k % 2)
      raster.Ellipse(l, t, l + w, t + h, Ink);
    else
      raster.Ellipse(l + w, t + h, l, t, Ink);
    QImage expected = Blank(160, 240);
    ColumnByColumnEllipse(expected, l, t, l + w, t + h, Ink);
    ASSERT_EQ(drawn, expected) << l << "," << t << " " << w << " x " << h;
  }
}

TEST(OneColourMarks, ManyCirclesOfOneColourLookAsIfEachWereDrawn) {
  // Repeated boxes, boxes off the frame, a few hundred sizes and some far
  // too wide to keep, with single pixels between them, all in one colour
  // and over other colours: once the frame is covered most are skipped.
  std::mt19937 rng(4711);
  auto uniform = [&](int64_t lo, int64_t hi) { return std::uniform_int_distribution<int64_t>(lo, hi)(rng); };
  QImage drawn = Blank(160, 240);
  QImage expected = Blank(160, 240);
  viewtest::DrawRectOutline(drawn, 20, 30, 90, 200, 0xFF00FF00u);
  viewtest::DrawRectOutline(expected, 20, 30, 90, 200, 0xFF00FF00u);
  wendoui::TRaster raster(drawn);
  wendoui::TOneColourMarks circles(raster, Ink);
  std::vector<std::array<int64_t, 4>> boxes;
  for (int k = 0; k < 20000; ++k) {
    if (k % 3 == 0 && !boxes.empty()) {  // a box drawn before, again
      const auto [l, t, r, b] = boxes[static_cast<size_t>(uniform(0, static_cast<int64_t>(boxes.size()) - 1))];
      circles.Ellipse(l, t, r, b);
      continue;
    }
    const int64_t range = k % 500 == 1 ? uniform(20000, 30000) : uniform(-10, 300);
    const int64_t x = uniform(-300, 1100), y = uniform(-300, 1500);
    const int64_t l = (x - range) / 5, t = (y - range) / 5, r = (x + range) / 5, b = (y + range) / 5;
    circles.Ellipse(l, t, r, b);
    ColumnByColumnEllipse(expected, l, t, r, b, Ink);
    boxes.push_back({l, t, r, b});
    // A cross pixel, sometimes off the frame.
    const int64_t px = x / 5, py = y / 5;
    circles.Put(px, py);
    if (px >= 0 && py >= 0 && px < 160 && py < 240) expected.setPixel(static_cast<int>(px), static_cast<int>(py), Ink);
  }
  EXPECT_EQ(drawn, expected);
  // A colour drawn after the set covers it as usual.
  raster.Ellipse(10, 10, 70, 90, 0xFFFF0000u);
  ColumnByColumnEllipse(expected, 10, 10, 70, 90, 0xFFFF0000u);
  EXPECT_EQ(drawn, expected);
}

}  // namespace
