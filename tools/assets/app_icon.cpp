#include "app_icon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {
constexpr double Design = 256.0;  // the icon is designed on a 256 grid and scaled
constexpr double Pi = 3.14159265358979323846;
}  // namespace

QImage paintAppIcon(int size) {
  QImage img(size, size, QImage::Format_ARGB32);
  img.fill(Qt::transparent);
  QPainter g(&img);
  g.setRenderHint(QPainter::Antialiasing, true);
  g.scale(size / Design, size / Design);
  const QPointF c(128, 128);
  const QColor outline(30, 36, 52);

  // Sea inside the ring.
  QLinearGradient sea(0, 60, 0, 196);
  sea.setColorAt(0.0, QColor(110, 190, 235));
  sea.setColorAt(1.0, QColor(20, 84, 170));
  g.setPen(Qt::NoPen);
  g.setBrush(sea);
  g.drawEllipse(c, 76, 76);

  // The fin and the water it cuts.
  QPainterPath fin;
  fin.moveTo(86, 160);
  fin.cubicTo(104, 130, 124, 96, 150, 70);
  fin.cubicTo(144, 100, 150, 132, 172, 160);
  fin.closeSubpath();
  g.setPen(QPen(outline, 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  g.setBrush(QColor(116, 126, 140));
  g.drawPath(fin);
  QPainterPath lit;
  lit.moveTo(100, 156);
  lit.cubicTo(114, 132, 128, 106, 142, 88);
  lit.cubicTo(132, 116, 128, 140, 126, 156);
  lit.closeSubpath();
  g.setPen(Qt::NoPen);
  g.setBrush(QColor(168, 178, 190));
  g.drawPath(lit);
  QPainterPath wave;
  wave.moveTo(54, 164);
  for (int x = 54; x <= 202; x += 2) wave.lineTo(x, 164 + 6 * std::sin((x - 54) * 2 * Pi / 37.0));
  wave.lineTo(202, 210);
  wave.lineTo(54, 210);
  wave.closeSubpath();
  g.save();
  QPainterPath inside;
  inside.addEllipse(c, 76, 76);
  g.setClipPath(inside);
  g.setBrush(QColor(16, 70, 150));
  g.drawPath(wave);
  g.setPen(QPen(QColor(236, 246, 255), 6, Qt::SolidLine, Qt::RoundCap));
  g.setBrush(Qt::NoBrush);
  QPainterPath crest;
  crest.moveTo(54, 164);
  for (int x = 54; x <= 202; x += 2) crest.lineTo(x, 164 + 6 * std::sin((x - 54) * 2 * Pi / 37.0));
  g.drawPath(crest);
  g.restore();

  // The lifebuoy: four red and four white segments.
  for (int i = 0; i < 8; ++i) {
    QPainterPath seg;
    const double a0 = i * 45.0 + 22.5;
    seg.arcMoveTo(QRectF(c.x() - 118, c.y() - 118, 236, 236), a0);
    seg.arcTo(QRectF(c.x() - 118, c.y() - 118, 236, 236), a0, 45.0);
    seg.arcTo(QRectF(c.x() - 76, c.y() - 76, 152, 152), a0 + 45.0, -45.0);
    seg.closeSubpath();
    g.setPen(Qt::NoPen);
    g.setBrush(i % 2 == 0 ? QColor(222, 40, 44) : QColor(246, 246, 242));
    g.drawPath(seg);
  }
  g.setPen(QPen(outline, 6));
  g.setBrush(Qt::NoBrush);
  g.drawEllipse(c, 118, 118);
  g.drawEllipse(c, 76, 76);
  // Rope loops across the white segments.
  g.setPen(QPen(QColor(236, 196, 120), 5, Qt::SolidLine, Qt::RoundCap));
  for (int i = 0; i < 4; ++i) {
    const double a = (i * 90.0 + 45.0 + 22.5 + 22.5) * Pi / 180.0;
    const QPointF dir(std::cos(a), -std::sin(a));
    const QPointF side(-dir.y(), dir.x());
    g.drawLine(c + dir * 80 + side * 10, c + dir * 114 + side * 10);
    g.drawLine(c + dir * 80 - side * 10, c + dir * 114 - side * 10);
  }
  return img;
}
