#include "reference_frames.h"

#include <QPainter>
#include <mutex>

#include "frame_drawing.h"
#include "pictures.h"
#include "wymianadanych.h"

using namespace wymianadanych;

namespace viewtest {

namespace {

void PlainSprite(QImage& frame, const QImage& sprite, int32_t x, int32_t y) {
  for (int i = 0; i < 30; ++i)
    for (int j = 0; j < 30; ++j) {
      const QRgb c = sprite.pixel(i, j);
      if ((c & 0xFFFFFFu) == 0xFFFFFFu) continue;
      const int64_t u = int64_t{x} - 15 + i - World.ViewLeft;
      const int64_t v = int64_t{y} - 15 + j - World.ViewTop;
      if (u < 0 || v < 0 || u >= frame.width() || v >= frame.height()) continue;
      frame.setPixel(static_cast<int>(u), static_cast<int>(v), c);
    }
}

int Div5(int64_t v) { return static_cast<int>(v / 5); }

}  // namespace

QRect PainterBox(int l, int t, int r, int b) { return QRect(l, t, r - l - 1, b - t - 1); }

QImage ReferenceMap(int width, int height) {
  QImage frame(width, height, QImage::Format_RGB32);
  for (int v = 0; v < height; ++v)
    for (int u = 0; u < width; ++u) {
      const int64_t x = int64_t{World.ViewLeft} + u;
      const int64_t y = int64_t{World.ViewTop} + v;
      const bool inside = x >= 0 && y >= 0 && x < MapPicture.width() && y < MapPicture.height();
      frame.setPixel(u, v, inside ? MapPicture.pixel(static_cast<int>(x), static_cast<int>(y)) : OutsideMap);
    }
  std::lock_guard guard(World.Lock);
  for (const TObserwator& o : World.Observers) PlainSprite(frame, ObserverSprite, o.X, o.Y);
  for (const TRekin& s : World.Sharks) PlainSprite(frame, s.Dead ? DeadSprite : SharkSprite, s.X, s.Y);
  for (const TCzlowiek& p : World.People) {
    const int32_t ground = World.Terrain(p.X, p.Y);
    const bool water = ground == CyanWaterColour || ground == WaterColour;
    PlainSprite(frame, p.Dead ? DeadSprite : water ? SwimmingSprite : StandingSprite, p.X, p.Y);
  }
  for (const TLodz& b : World.Boats) PlainSprite(frame, BoatSprite, b.X, b.Y);
  return frame;
}

QImage ReferenceMiniMap(int width, int height, int mapWidth, int mapHeight) {
  // The painter draws on a canvas with a wide margin and the frame is cut
  // out of it: the raster engine drops a pixel now and then where a cosmetic
  // outline is clipped at the image edge, so nothing here may be clipped.
  constexpr int M = PainterMargin;
  QImage canvas(width + 2 * M, height + 2 * M, QImage::Format_RGB32);
  canvas.fill(0xFF000000u);
  QPainter painter(&canvas);
  painter.drawImage(M, M, MiniMapPicture, 0, 0, width, height);
  auto begin = [&] {
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.translate(M, M);
  };
  begin();
  auto pen = [&](int32_t colour) {
    QPen p{QColor::fromRgb(PictureColour(colour))};
    p.setWidth(1);
    p.setCosmetic(true);
    painter.setPen(p);
    painter.setBrush(Qt::NoBrush);
  };
  // The ellipse comes from the frame's own rasterizer; the painter is
  // closed around it so both write the canvas in drawing order.
  auto watcher = [&](const TObiekt& o, int32_t range, int32_t colour) {
    const int x = Div5(o.X), y = Div5(o.Y);
    pen(colour);
    for (const QPoint d : {QPoint(0, 0), QPoint(-1, -1), QPoint(-1, 1), QPoint(1, -1), QPoint(1, 1)})
      painter.drawPoint(x + d.x(), y + d.y());
    painter.end();
    viewtest::DrawEllipseOutline(canvas, M + Div5(int64_t{o.X} - range), M + Div5(int64_t{o.Y} - range),
                                M + Div5(int64_t{o.X} + range), M + Div5(int64_t{o.Y} + range),
                                PictureColour(colour));
    painter.begin(&canvas);
    begin();
  };
  std::lock_guard guard(World.Lock);
  for (const TObserwator& o : World.Observers) watcher(o, o.Range, Rgb(0, 0, 0));
  for (const TLodz& b : World.Boats) watcher(b, b.Range, Rgb(255, 251, 240));
  pen(Rgb(255, 128, 0));
  for (const TRekin& s : World.Sharks)
    if (!s.Dead) painter.drawRect(PainterBox(Div5(s.X) - 1, Div5(s.Y) - 1, Div5(s.X) + 2, Div5(s.Y) + 2));
  pen(Rgb(128, 0, 0));
  for (const TCzlowiek& p : World.People)
    if (!p.Dead) painter.drawRect(PainterBox(Div5(p.X) - 1, Div5(p.Y) - 1, Div5(p.X) + 2, Div5(p.Y) + 2));
  pen(Rgb(255, 0, 0));
  const int l = Div5(World.ViewLeft), t = Div5(World.ViewTop);
  painter.drawRect(PainterBox(l, t, l + mapWidth / 5, t + mapHeight / 5));
  painter.end();
  return canvas.copy(M, M, width, height);
}

}  // namespace viewtest
