#include "splash.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {

constexpr int Width = 282;
constexpr int Height = 203;

void stroke(QPainter &g, QPoint a, QPoint b, int width) {
  g.setPen(QPen(Qt::white, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  g.drawLine(a, b);
}

}  // namespace

QImage paintSplash() {
  // Drawn in full colour without anti-aliasing, so only black and white
  // appear, then stored with a two-entry colour table.
  QImage art(Width, Height, QImage::Format_RGB32);
  art.fill(Qt::black);
  {
    QPainter g(&art);
    g.setRenderHint(QPainter::Antialiasing, false);
    // Swimmer doing the crawl, heading right: legs kicking, body level,
    // the leading arm reaching over the head, the other arm pulling below.
    stroke(g, {104, 90}, {62, 80}, 13);
    stroke(g, {104, 90}, {64, 102}, 13);
    stroke(g, {152, 82}, {104, 90}, 19);
    stroke(g, {150, 78}, {168, 42}, 11);
    stroke(g, {168, 42}, {208, 54}, 11);
    stroke(g, {146, 86}, {132, 106}, 10);
    g.setPen(Qt::NoPen);
    g.setBrush(Qt::white);
    g.drawEllipse(QPoint(177, 72), 13, 13);
    // Three waves under the swimmer, above the waiting text.
    for (int i = 0; i < 3; ++i) {
      const int yc = 122 + 19 * i;
      QPainterPath wave;
      for (int x = 38; x <= 244; ++x) {
        const double y = yc + 5.0 * std::sin((x - 38) * 2 * 3.14159265358979 / 41.0);
        if (x == 38)
          wave.moveTo(x, y);
        else
          wave.lineTo(x, y);
      }
      g.setPen(QPen(Qt::white, 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      g.setBrush(Qt::NoBrush);
      g.drawPath(wave);
    }
  }
  QImage mono(Width, Height, QImage::Format_Mono);
  mono.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
  for (int y = 0; y < Height; ++y)
    for (int x = 0; x < Width; ++x) mono.setPixel(x, y, (art.pixel(x, y) & 0xFFFFFFu) == 0xFFFFFFu ? 1 : 0);
  return mono;
}
