// Copying the map background and the object sprites into an RGB32 frame
// on raw scanlines, clipped to the frame.
#pragma once

#include <QImage>
#include <cstdint>

namespace wendoui {

constexpr int SpriteSize = 30;    // the top-left 30 x 30 pixels are drawn
constexpr int SpriteAnchor = 15;  // the object's position is sprite pixel (15, 15)
constexpr QRgb TransparentPixel = 0xFFFFFFFFu;  // pure white, never drawn

// Fills the frame with picture pixels from (left, top) onwards, unscaled;
// frame pixels with no picture pixel behind them get `outside`.
void CopyBackground(QImage& frame, const QImage& picture, int64_t left, int64_t top, QRgb outside);

// A sprite ready for drawing: its top-left SpriteSize square as RGB32.
class TSprite {
 public:
  TSprite() = default;
  explicit TSprite(const QImage& picture);
  // Draws the sprite with its top-left pixel at frame pixel (left, top):
  // every pixel but pure white replaces the frame pixel beneath it, and
  // pixels outside the frame are dropped.
  void Draw(QImage& frame, int64_t left, int64_t top) const;

 private:
  QImage image_;
};

}  // namespace wendoui
