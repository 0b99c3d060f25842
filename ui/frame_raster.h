// Pixel-level drawing straight into an RGB32 frame: single pixels,
// rectangle and ellipse outlines, all clipped to the frame. The map
// and mini-map frames are composed with these instead of a painter so that
// every frame is exact and cheap.
#pragma once

#include <QImage>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

namespace wendoui {

// Normalises an inverted box (l, t) - (r, b), right and bottom exclusive;
// false for a box with no pixels.
bool NormaliseBox(int64_t& l, int64_t& t, int64_t& r, int64_t& b);

// The outline of the ellipse inscribed in a w x h box, worked out once and
// drawn at any place. Column i of the left half (0 = the box's left column;
// the right half is its mirror image) is drawn from row Runs[i].first to
// row Runs[i].second from the box top, and mirrored about the middle row.
struct TEllipseShape {
  int64_t Width = 0;
  int64_t Height = 0;
  std::vector<std::pair<int64_t, int64_t>> Runs;
  // Every outline pixel as an offset from the box's top-left pixel in the
  // raster's memory, for a box that lies wholly inside the frame.
  std::vector<int64_t> Offsets;
};

// Drawing on the memory of one 32-bit frame, taken once per frame so that
// thousands of marks cost no more than their pixels.
class TRaster {
 public:
  explicit TRaster(QImage& frame);

  int Width() const { return width_; }
  int Height() const { return height_; }
  // The pixel at (x, y), which must lie inside the frame.
  QRgb& At(int64_t x, int64_t y) { return bits_[y * stride_ + x]; }

  // One pixel; a point outside the frame is dropped.
  void Put(int64_t x, int64_t y, QRgb colour) {
    if (x >= 0 && y >= 0 && x < width_ && y < height_) bits_[y * stride_ + x] = colour;
  }
  // One-pixel border of the pixels l..r-1 across and t..b-1 down (right and
  // bottom exclusive); an inverted box is normalised, an empty one draws
  // nothing.
  void Rect(int64_t l, int64_t t, int64_t r, int64_t b, QRgb colour);
  // The eight pixels around (x, y): Rect(x-1, y-1, x+2, y+2).
  void Ring(int64_t x, int64_t y, QRgb colour);
  // Closed one-pixel outline of the ellipse inscribed in the same kind of
  // box: it touches column l, column r-1, row t and row b-1, and is
  // symmetric about both axes of the box. Its outline is worked out once per
  // box size (see Shape); a box too wide to keep has only its columns
  // inside the frame worked out, so a huge box costs no more than the frame
  // is wide.
  void Ellipse(int64_t l, int64_t t, int64_t r, int64_t b, QRgb colour);

  // The outline of a w x h box (both positive), kept for the raster's life;
  // null for a box too wide to keep, which Ellipse works out column by
  // column instead.
  const TEllipseShape* Shape(int64_t w, int64_t h);
  // Draws `shape` with its box's top-left corner at (l, t).
  void DrawShape(const TEllipseShape& shape, int64_t l, int64_t t, QRgb colour);
  // The same pixels as Ellipse, each visible column worked out anew: how
  // boxes too wide to keep are drawn (and, for comparison, all boxes once).
  void EllipseColumnByColumn(int64_t l, int64_t t, int64_t r, int64_t b, QRgb colour);

 private:
  void Horizontal(int64_t x0, int64_t x1, int64_t y, QRgb colour);
  void Vertical(int64_t x, int64_t y0, int64_t y1, QRgb colour);

  // Outlines by box size (width in the high half of the key). Circles of
  // the same range share one, so a frame works out each size only once.
  std::unordered_map<uint64_t, std::unique_ptr<TEllipseShape>> shapes_;

  QRgb* bits_;
  int64_t stride_;  // in pixels
  int width_;
  int height_;
};

}  // namespace wendoui
