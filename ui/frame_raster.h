// Pixel-level drawing straight into an RGB32 frame: colour conversion, single
// pixels, rectangle and ellipse outlines, all clipped to the frame. The map
// and mini-map frames are composed with these instead of a painter so that
// every frame is exact and cheap.
#pragma once

#include <QImage>
#include <cstdint>

#include "terrain_picture.h"

namespace wendoui {

// World colours are 0x00BBGGRR; an RGB32 frame stores 0xFFRRGGBB.
constexpr QRgb FrameColour(int32_t colour) { return PictureColour(colour); }
constexpr int32_t WorldColour(QRgb pixel) { return TerrainColour(pixel); }

// Drawing on the memory of one 32-bit frame, taken once per frame so that
// thousands of marks cost no more than their pixels.
class TRaster {
 public:
  explicit TRaster(QImage& frame);

  int Width() const { return width_; }
  int Height() const { return height_; }

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
  // symmetric about both axes of the box. Only the columns inside the frame
  // are computed, so a huge box costs no more than a small one.
  void Ellipse(int64_t l, int64_t t, int64_t r, int64_t b, QRgb colour);

 private:
  void Horizontal(int64_t x0, int64_t x1, int64_t y, QRgb colour);
  void Vertical(int64_t x, int64_t y0, int64_t y1, QRgb colour);

  QRgb* bits_;
  int64_t stride_;  // in pixels
  int width_;
  int height_;
};

// The same operations for a single call on a frame.
void PutPixel(QImage& frame, int64_t x, int64_t y, QRgb colour);
void DrawRectOutline(QImage& frame, int64_t l, int64_t t, int64_t r, int64_t b, QRgb colour);
void DrawEllipseOutline(QImage& frame, int64_t l, int64_t t, int64_t r, int64_t b, QRgb colour);

}  // namespace wendoui
