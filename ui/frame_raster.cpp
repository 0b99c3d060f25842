#include "frame_raster.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace wendoui {

bool NormaliseBox(int64_t& l, int64_t& t, int64_t& r, int64_t& b) {
  if (l > r) std::swap(l, r);
  if (t > b) std::swap(t, b);
  return r > l && b > t;
}

namespace {

// The ellipse outline is built for the upper-left quarter and mirrored, so
// it is symmetric by construction. Column i of the left half (0 = the box's
// left column) starts at row Top(i) from the box top; its vertical run
// reaches down to just above where the column nearer the edge starts, which
// keeps the outline closed on steep stretches.
struct TEllipseQuarter {
  int64_t Width, Height, HalfWidth, MidRow;

  TEllipseQuarter(int64_t w, int64_t h) : Width(w), Height(h), HalfWidth((w + 1) / 2), MidRow((h - 1) / 2) {}

  // Row (from the box top) of the pixel through which the ellipse passes at
  // the centre of column i; the middle column always touches the top row.
  int64_t Top(int64_t i) const {
    if (i >= HalfWidth - 1) return 0;
    const double dx = static_cast<double>(2 * i + 1 - Width) / static_cast<double>(Width);
    const double half = static_cast<double>(Height) / 2.0;
    const double hy = half * std::sqrt(std::max(0.0, 1.0 - dx * dx));
    return std::clamp<int64_t>(static_cast<int64_t>(std::floor(half - hy)), 0, MidRow);
  }

  int64_t RunEnd(int64_t i) const {
    if (i == 0) return MidRow;
    return std::max(Top(i), Top(i - 1) - 1);
  }
};

// Outlines wider than this are not kept: only their visible columns are
// worked out, so a huge box costs no more than the frame is wide.
constexpr int64_t MaxShapeWidth = 4096;
constexpr int64_t MaxShapeHeight = int64_t{1} << 30;

}  // namespace

TRaster::TRaster(QImage& frame)
    : bits_(reinterpret_cast<QRgb*>(frame.bits())),
      stride_(frame.bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb))),
      width_(frame.width()),
      height_(frame.height()) {}

void TRaster::Horizontal(int64_t x0, int64_t x1, int64_t y, QRgb colour) {
  if (y < 0 || y >= height_) return;
  x0 = std::max<int64_t>(x0, 0);
  x1 = std::min<int64_t>(x1, width_ - 1);
  if (x0 > x1) return;
  QRgb* row = bits_ + y * stride_;
  std::fill(row + x0, row + x1 + 1, colour);
}

void TRaster::Vertical(int64_t x, int64_t y0, int64_t y1, QRgb colour) {
  if (x < 0 || x >= width_) return;
  y0 = std::max<int64_t>(y0, 0);
  y1 = std::min<int64_t>(y1, height_ - 1);
  for (int64_t y = y0; y <= y1; ++y) bits_[y * stride_ + x] = colour;
}

void TRaster::Rect(int64_t l, int64_t t, int64_t r, int64_t b, QRgb colour) {
  if (!NormaliseBox(l, t, r, b)) return;
  Horizontal(l, r - 1, t, colour);
  Horizontal(l, r - 1, b - 1, colour);
  Vertical(l, t, b - 1, colour);
  Vertical(r - 1, t, b - 1, colour);
}

void TRaster::Ring(int64_t x, int64_t y, QRgb colour) {
  if (x < 1 || y < 1 || x >= width_ - 1 || y >= height_ - 1) {
    Rect(x - 1, y - 1, x + 2, y + 2, colour);
    return;
  }
  QRgb* p = bits_ + (y - 1) * stride_ + (x - 1);
  p[0] = p[1] = p[2] = colour;
  p[stride_] = p[stride_ + 2] = colour;
  p[2 * stride_] = p[2 * stride_ + 1] = p[2 * stride_ + 2] = colour;
}

const TEllipseShape* TRaster::Shape(int64_t w, int64_t h) {
  if (w > MaxShapeWidth || h > MaxShapeHeight) return nullptr;
  std::unique_ptr<TEllipseShape>& kept = shapes_[(static_cast<uint64_t>(w) << 32) | static_cast<uint64_t>(h)];
  if (!kept) {
    kept = std::make_unique<TEllipseShape>();
    kept->Width = w;
    kept->Height = h;
    const TEllipseQuarter q(w, h);
    kept->Runs.reserve(static_cast<size_t>(q.HalfWidth));
    for (int64_t i = 0; i < q.HalfWidth; ++i) kept->Runs.emplace_back(q.Top(i), q.RunEnd(i));
    if (w <= width_ && h <= height_) {
      for (int64_t x = 0; x < w; ++x) {
        const auto [top, end] = kept->Runs[static_cast<size_t>(x < q.HalfWidth ? x : w - 1 - x)];
        for (int64_t y = top; y <= end; ++y) kept->Offsets.push_back(y * stride_ + x);
        for (int64_t y = h - 1 - end; y <= h - 1 - top; ++y) kept->Offsets.push_back(y * stride_ + x);
      }
    }
  }
  return kept.get();
}

void TRaster::DrawShape(const TEllipseShape& shape, int64_t l, int64_t t, QRgb colour) {
  const int64_t r = l + shape.Width;
  const int64_t b = t + shape.Height;
  if (l >= 0 && t >= 0 && r <= width_ && b <= height_) {
    QRgb* corner = bits_ + t * stride_ + l;
    for (const int64_t offset : shape.Offsets) corner[offset] = colour;
    return;
  }
  const int64_t half = static_cast<int64_t>(shape.Runs.size());
  const int64_t x0 = std::max<int64_t>(l, 0);
  const int64_t x1 = std::min<int64_t>(r - 1, width_ - 1);
  for (int64_t x = x0; x <= x1; ++x) {
    int64_t i = x - l;
    if (i >= half) i = shape.Width - 1 - i;
    const auto [top, end] = shape.Runs[static_cast<size_t>(i)];
    Vertical(x, t + top, t + end, colour);
    Vertical(x, b - 1 - end, b - 1 - top, colour);
  }
}

void TRaster::Ellipse(int64_t l, int64_t t, int64_t r, int64_t b, QRgb colour) {
  if (!NormaliseBox(l, t, r, b)) return;
  // A box that misses the frame has no visible pixel.
  if (r <= 0 || b <= 0 || l >= width_ || t >= height_) return;
  if (const TEllipseShape* shape = Shape(r - l, b - t)) return DrawShape(*shape, l, t, colour);
  EllipseColumnByColumn(l, t, r, b, colour);
}

void TRaster::EllipseColumnByColumn(int64_t l, int64_t t, int64_t r, int64_t b, QRgb colour) {
  if (!NormaliseBox(l, t, r, b)) return;
  const TEllipseQuarter q(r - l, b - t);
  const int64_t x0 = std::max<int64_t>(l, 0);
  const int64_t x1 = std::min<int64_t>(r - 1, width_ - 1);
  for (int64_t x = x0; x <= x1; ++x) {
    int64_t i = x - l;
    if (i >= q.HalfWidth) i = q.Width - 1 - i;
    const int64_t top = q.Top(i);
    const int64_t end = q.RunEnd(i);
    Vertical(x, t + top, t + end, colour);
    Vertical(x, b - 1 - end, b - 1 - top, colour);
  }
}

}  // namespace wendoui
