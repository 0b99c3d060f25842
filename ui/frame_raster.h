// Pixel-level drawing straight into an RGB32 frame: colour conversion, single
// pixels, rectangle and ellipse outlines, all clipped to the frame. The map
// and mini-map frames are composed with these instead of a painter so that
// every frame is exact and cheap.
#pragma once

#include <QImage>
#include <cstdint>

namespace wendoui {

// World colours are 0x00BBGGRR; an RGB32 frame stores 0xFFRRGGBB.
constexpr QRgb FrameColour(int32_t colour) {
  const uint32_t c = static_cast<uint32_t>(colour);
  return 0xFF000000u | ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}
constexpr int32_t WorldColour(QRgb pixel) {
  return static_cast<int32_t>(((pixel & 0xFFu) << 16) | (pixel & 0xFF00u) | ((pixel >> 16) & 0xFFu));
}

// Sets one pixel of an RGB32 frame; a point outside the frame is dropped.
void PutPixel(QImage& frame, int64_t x, int64_t y, QRgb colour);

// One-pixel border of the pixels l..r-1 across and t..b-1 down (right and
// bottom exclusive); an inverted box is normalised, an empty one draws nothing.
void DrawRectOutline(QImage& frame, int64_t l, int64_t t, int64_t r, int64_t b, QRgb colour);

// Closed one-pixel outline of the ellipse inscribed in the same kind of box:
// it touches column l, column r-1, row t and row b-1, and is symmetric about
// both axes of the box. Only the columns inside the frame are computed, so
// a huge box costs no more than a small one.
void DrawEllipseOutline(QImage& frame, int64_t l, int64_t t, int64_t r, int64_t b, QRgb colour);

}  // namespace wendoui
