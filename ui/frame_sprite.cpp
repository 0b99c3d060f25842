#include "frame_sprite.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace wendoui {

void CopyBackground(QImage& frame, const QImage& picture, int64_t left, int64_t top, QRgb outside) {
  const QImage source = picture.format() == QImage::Format_RGB32 ? picture : picture.convertToFormat(QImage::Format_RGB32);
  const int64_t fw = frame.width();
  const int64_t pw = source.width();
  const int64_t ph = source.height();
  // Frame columns u0..u1-1 have a picture column behind them.
  const int64_t u0 = std::clamp<int64_t>(-left, 0, fw);
  const int64_t u1 = std::clamp<int64_t>(pw - left, u0, fw);
  for (int v = 0; v < frame.height(); ++v) {
    QRgb* row = reinterpret_cast<QRgb*>(frame.scanLine(v));
    const int64_t py = top + v;
    if (py < 0 || py >= ph || u0 == u1) {
      std::fill(row, row + fw, outside);
      continue;
    }
    const QRgb* src = reinterpret_cast<const QRgb*>(source.constScanLine(static_cast<int>(py)));
    std::fill(row, row + u0, outside);
    std::memcpy(row + u0, src + (left + u0), static_cast<size_t>(u1 - u0) * sizeof(QRgb));
    std::fill(row + u1, row + fw, outside);
  }
}

namespace {

// dst[i] = src[i] for every i in [0, n) where src[i] is not the key. Four
// pixels at a time where the processor allows: compare with the key, then
// keep the frame pixel under the mask and the sprite pixel elsewhere.
void KeyedRow(QRgb* dst, const QRgb* src, int64_t n) {
  int64_t i = 0;
#if defined(__SSE2__)
  const __m128i key = _mm_set1_epi32(static_cast<int>(TransparentPixel));
  for (; i + 4 <= n; i += 4) {
    const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
    const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + i));
    const __m128i keep = _mm_cmpeq_epi32(s, key);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), _mm_or_si128(_mm_and_si128(keep, d), _mm_andnot_si128(keep, s)));
  }
#endif
  for (; i < n; ++i)
    if (src[i] != TransparentPixel) dst[i] = src[i];
}

}  // namespace

TSprite::TSprite(const QImage& picture) {
  const int w = std::min(picture.width(), SpriteSize);
  const int h = std::min(picture.height(), SpriteSize);
  image_ = picture.copy(0, 0, w, h).convertToFormat(QImage::Format_RGB32);
  // The unused top byte is made 0xFF, so the key test is one comparison.
  for (int j = 0; j < h; ++j) {
    QRgb* row = reinterpret_cast<QRgb*>(image_.scanLine(j));
    for (int i = 0; i < w; ++i) row[i] |= 0xFF000000u;
  }
}

void TSprite::Draw(QImage& frame, int64_t left, int64_t top) const {
  const int64_t w = image_.width();
  const int64_t h = image_.height();
  // Sprite columns i0..i1-1 and rows j0..j1-1 land inside the frame.
  const int64_t i0 = std::max<int64_t>(0, -left);
  const int64_t i1 = std::min<int64_t>(w, frame.width() - left);
  const int64_t j0 = std::max<int64_t>(0, -top);
  const int64_t j1 = std::min<int64_t>(h, frame.height() - top);
  if (i0 >= i1 || j0 >= j1) return;
  uchar* bits = frame.bits();
  const qsizetype stride = frame.bytesPerLine();
  for (int64_t j = j0; j < j1; ++j) {
    const QRgb* src = reinterpret_cast<const QRgb*>(image_.constScanLine(static_cast<int>(j)));
    QRgb* dst = reinterpret_cast<QRgb*>(bits + (top + j) * stride);
    KeyedRow(dst + (left + i0), src + i0, i1 - i0);
  }
}

}  // namespace wendoui
