// Single drawing operations on a whole frame, for building the frames the
// tests expect: each takes the frame's raster for one call.
#pragma once

#include <QImage>
#include <cstdint>

namespace viewtest {

void PutPixel(QImage& frame, int64_t x, int64_t y, QRgb colour);
void DrawRectOutline(QImage& frame, int64_t l, int64_t t, int64_t r, int64_t b, QRgb colour);
void DrawEllipseOutline(QImage& frame, int64_t l, int64_t t, int64_t r, int64_t b, QRgb colour);

}  // namespace viewtest
