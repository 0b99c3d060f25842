#include "frame_one_colour_marks.h"

#include <algorithm>
#include <bit>

namespace wendoui {

TOneColourMarks::TOneColourMarks(TRaster& raster, QRgb colour)
    : raster_(raster),
      colour_(colour),
      tilesAcross_(((raster.Width() - 1) >> TileShift) + 1),
      wordsPerRow_((tilesAcross_ + 63) / 64) {}

void TOneColourMarks::StartCounting() {
  counting_ = true;
  const int64_t tilesDown = ((raster_.Height() - 1) >> TileShift) + 1;
  left_.assign(static_cast<size_t>(tilesAcross_ * tilesDown), 0);
  open_.assign(static_cast<size_t>(wordsPerRow_ * tilesDown), 0);
  for (int64_t y = 0; y < raster_.Height(); ++y)
    for (int64_t x = 0; x < raster_.Width(); ++x)
      if (raster_.At(x, y) != colour_) {
        const int64_t tx = x >> TileShift, ty = y >> TileShift;
        ++left_[static_cast<size_t>(ty * tilesAcross_ + tx)];
        open_[static_cast<size_t>(ty * wordsPerRow_ + tx / 64)] |= uint64_t{1} << (tx % 64);
      }
}

bool TOneColourMarks::OpenColumns(int64_t& x0, int64_t y0, int64_t& x1, int64_t y1) const {
  const int64_t tx0 = x0 >> TileShift, tx1 = x1 >> TileShift;
  int64_t first = tx1 + 1, last = tx0 - 1;
  for (int64_t word = tx0 / 64; word <= tx1 / 64; ++word) {
    uint64_t open = 0;
    for (int64_t ty = y0 >> TileShift; ty <= (y1 >> TileShift); ++ty) open |= open_[static_cast<size_t>(ty * wordsPerRow_ + word)];
    const int64_t from = std::max<int64_t>(tx0 - 64 * word, 0), to = std::min<int64_t>(tx1 - 64 * word, 63);
    open &= (to == 63 ? ~uint64_t{0} : (uint64_t{1} << (to + 1)) - 1) & ~((uint64_t{1} << from) - 1);
    if (!open) continue;
    first = std::min(first, 64 * word + std::countr_zero(open));
    last = 64 * word + 63 - std::countl_zero(open);
  }
  if (first > last) return false;
  x0 = std::max(x0, first << TileShift);
  x1 = std::min(x1, ((last + 1) << TileShift) - 1);
  return true;
}

void TOneColourMarks::Column(int64_t x, int64_t y0, int64_t y1) {
  if (x < 0 || x >= raster_.Width()) return;
  y0 = std::max<int64_t>(y0, 0);
  y1 = std::min<int64_t>(y1, raster_.Height() - 1);
  for (int64_t y = y0; y <= y1; ++y) {
    QRgb& pixel = raster_.At(x, y);
    if (pixel != colour_) Ink(pixel, x, y);
  }
}

void TOneColourMarks::Ink(QRgb& pixel, int64_t x, int64_t y) {
  pixel = colour_;
  const int64_t tx = x >> TileShift, ty = y >> TileShift;
  if (--left_[static_cast<size_t>(ty * tilesAcross_ + tx)] == 0)
    open_[static_cast<size_t>(ty * wordsPerRow_ + tx / 64)] &= ~(uint64_t{1} << (tx % 64));
}

void TOneColourMarks::Put(int64_t x, int64_t y) {
  if (!counting_ && ++marks_ <= PlainMarks) return raster_.Put(x, y, colour_);
  if (!counting_) StartCounting();
  if (x < 0 || y < 0 || x >= raster_.Width() || y >= raster_.Height()) return;
  QRgb& pixel = raster_.At(x, y);
  if (pixel != colour_) Ink(pixel, x, y);
}

void TOneColourMarks::Ellipse(int64_t l, int64_t t, int64_t r, int64_t b) {
  if (!counting_ && ++marks_ <= PlainMarks) return raster_.Ellipse(l, t, r, b, colour_);
  if (!counting_) StartCounting();
  if (!NormaliseBox(l, t, r, b)) return;
  const int64_t x0 = std::max<int64_t>(l, 0), x1 = std::min<int64_t>(r - 1, raster_.Width() - 1);
  const int64_t y0 = std::max<int64_t>(t, 0), y1 = std::min<int64_t>(b - 1, raster_.Height() - 1);
  int64_t from = x0, to = x1;
  if (x0 > x1 || y0 > y1 || !OpenColumns(from, y0, to, y1)) return;
  const TEllipseShape* shape = raster_.Shape(r - l, b - t);
  // Too wide to keep: drawn without counting. The counts then only
  // overstate what is left, which never skips a circle wrongly.
  if (!shape) return raster_.EllipseColumnByColumn(l, t, r, b, colour_);
  const int64_t half = static_cast<int64_t>(shape->Runs.size());
  for (int64_t x = from; x <= to; ++x) {
    int64_t i = x - l;
    if (i >= half) i = shape->Width - 1 - i;
    const auto [top, end] = shape->Runs[static_cast<size_t>(i)];
    Column(x, t + top, t + end);
    Column(x, b - 1 - end, b - 1 - top);
  }
}

}  // namespace wendoui
