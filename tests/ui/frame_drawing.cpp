#include "frame_drawing.h"

#include "frame_raster.h"

namespace viewtest {

void PutPixel(QImage& frame, int64_t x, int64_t y, QRgb colour) { wendoui::TRaster(frame).Put(x, y, colour); }

void DrawRectOutline(QImage& frame, int64_t l, int64_t t, int64_t r, int64_t b, QRgb colour) {
  wendoui::TRaster(frame).Rect(l, t, r, b, colour);
}

void DrawEllipseOutline(QImage& frame, int64_t l, int64_t t, int64_t r, int64_t b, QRgb colour) {
  wendoui::TRaster(frame).Ellipse(l, t, r, b, colour);
}

}  // namespace viewtest
