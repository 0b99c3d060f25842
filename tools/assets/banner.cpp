#include "banner.h"

#include "random_source.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>

namespace {

constexpr int Width = 590;
constexpr int Height = 158;
constexpr int Horizon = 64;

// Foreground waterline: the surf line of the beach in front.
double waterline(double x) { return 134.0 - 62.0 * std::pow(std::max(0.0, x) / Width, 1.1) + 3.0 * std::sin(x / 23.0); }

// Front edge of the far shore, which closes the bay on the right.
double farShore(double x) { return Horizon + 1.0 + 22.0 * std::max(0.0, (x - 250.0) / 340.0); }

QColor mix(const QColor &a, const QColor &b, double t) {
  return QColor::fromRgbF(a.redF() + (b.redF() - a.redF()) * t, a.greenF() + (b.greenF() - a.greenF()) * t,
                          a.blueF() + (b.blueF() - a.blueF()) * t);
}

void paintSky(QPainter &g, RandomSource &rng) {
  QLinearGradient sky(0, 0, 0, Horizon);
  sky.setColorAt(0.0, QColor(74, 132, 204));
  sky.setColorAt(1.0, QColor(204, 226, 242));
  g.fillRect(0, 0, Width, Horizon + 2, sky);

  QRadialGradient sun(470, 14, 110);
  sun.setColorAt(0.0, QColor(255, 248, 220, 190));
  sun.setColorAt(1.0, QColor(255, 248, 220, 0));
  g.fillRect(0, 0, Width, Horizon + 2, sun);

  // Clouds: piles of overlapping puffs, shaded underneath.
  const double clouds[][3] = {{70, 18, 1.0},  {215, 34, 0.8}, {330, 12, 1.15},
                              {520, 38, 0.7}, {440, 52, 0.5}, {20, 50, 0.55}};
  for (const auto &c : clouds) {
    const double cx = c[0], cy = c[1], s = c[2];
    struct Puff {
      double x, y, rx, ry;
    };
    Puff puffs[9];
    for (Puff &p : puffs) {
      p.x = cx + rng.range(-38, 38) * s;
      p.y = cy + rng.range(-5, 4) * s;
      p.rx = rng.range(12, 22) * s;
      p.ry = p.rx * rng.range(0.55, 0.8);
    }
    g.setPen(Qt::NoPen);
    g.setBrush(QColor(176, 190, 212, 200));
    for (const Puff &p : puffs) g.drawEllipse(QPointF(p.x, p.y + 3 * s), p.rx, p.ry);
    for (const Puff &p : puffs) {
      QRadialGradient puff(p.x - p.rx * 0.3, p.y - p.ry * 0.4, p.rx * 1.2);
      puff.setColorAt(0.0, QColor(255, 255, 255, 250));
      puff.setColorAt(1.0, QColor(226, 234, 246, 235));
      g.setBrush(puff);
      g.drawEllipse(QPointF(p.x, p.y), p.rx, p.ry);
    }
  }
}

void paintSea(QPainter &g, RandomSource &rng) {
  // A hazy headland far away on the left.
  QPainterPath hills;
  hills.moveTo(0, Horizon + 1);
  hills.lineTo(0, Horizon - 9);
  hills.cubicTo(40, Horizon - 16, 90, Horizon - 6, 130, Horizon - 8);
  hills.cubicTo(160, Horizon - 10, 190, Horizon - 2, 220, Horizon + 1);
  hills.closeSubpath();
  g.setPen(Qt::NoPen);
  g.setBrush(QColor(132, 160, 184));
  g.drawPath(hills);

  QLinearGradient sea(0, Horizon, 0, 140);
  sea.setColorAt(0.0, QColor(40, 98, 156));
  sea.setColorAt(0.6, QColor(42, 132, 168));
  sea.setColorAt(1.0, QColor(64, 172, 180));
  g.fillRect(0, Horizon, Width, Height - Horizon, sea);

  // Glints and wave crests, longer and wider toward the viewer.
  for (int i = 0; i < 420; ++i) {
    const double y = Horizon + 2 + std::pow(rng.unit(), 0.8) * 70.0;
    const double near = (y - Horizon) / 70.0;
    const double x = rng.range(0, Width);
    const double len = 3 + near * rng.range(6, 16);
    const int alpha = static_cast<int>(60 + 80 * rng.unit());
    g.setPen(QPen(QColor(210, 236, 246, alpha), 0.6 + near * 1.2, Qt::SolidLine, Qt::RoundCap));
    g.drawLine(QPointF(x, y), QPointF(x + len, y + rng.range(-0.4, 0.4)));
  }
}

QPointF bezier(QPointF a, QPointF c, QPointF b, double t) {
  const double u = 1.0 - t;
  return a * (u * u) + c * (2 * u * t) + b * (t * t);
}

// A palm: a gently curved trunk and a crown of arching fronds; large palms
// also get leaflets hanging from each frond.
void paintPalm(QPainter &g, RandomSource &rng, QPointF foot, double height, double lean) {
  const QPointF top(foot.x() + lean, foot.y() - height);
  QPainterPath trunk;
  trunk.moveTo(foot);
  trunk.quadTo(QPointF(foot.x() + lean * 0.1, foot.y() - height * 0.6), top);
  g.setBrush(Qt::NoBrush);
  g.setPen(QPen(QColor(104, 80, 54), std::max(1.2, height / 18.0), Qt::SolidLine, Qt::RoundCap));
  g.drawPath(trunk);
  if (height > 60) {
    // Rings on the trunk.
    g.setPen(QPen(QColor(78, 60, 40), 1.0));
    for (double t = 0.08; t < 0.95; t += 0.06) {
      const QPointF p = bezier(foot, QPointF(foot.x() + lean * 0.1, foot.y() - height * 0.6), top, t);
      g.drawLine(p - QPointF(height / 40.0, 0.5), p + QPointF(height / 40.0, -0.5));
    }
  }
  const int fronds = 7;
  struct Frond {
    QPointF ctrl, tip;
  };
  Frond crown[fronds];
  for (int i = 0; i < fronds; ++i) {
    const double a = -3.14159 * (0.04 + 0.92 * i / (fronds - 1)) + rng.range(-0.12, 0.12);
    const double len = height * rng.range(0.40, 0.52);
    const double side = std::cos(a);
    crown[i].tip = QPointF(top.x() + len * side, top.y() - 0.1 * len + 1.05 * len * side * side);
    crown[i].ctrl = QPointF(top.x() + len * 0.6 * side, top.y() - len * 0.38);
  }
  for (int pass = 0; pass < 2; ++pass) {
    const QColor c = pass == 0 ? QColor(30, 82, 38) : QColor(72, 140, 58);
    for (const Frond &f : crown) {
      if (height > 60) {
        g.setPen(QPen(c, pass == 0 ? 2.6 : 1.4, Qt::SolidLine, Qt::RoundCap));
        for (double t = 0.12; t <= 1.0; t += 0.06) {
          const QPointF p = bezier(top, f.ctrl, f.tip, t);
          const QPointF d = bezier(top, f.ctrl, f.tip, std::min(1.0, t + 0.01)) - p;
          const double n = std::hypot(d.x(), d.y()) + 1e-9;
          const QPointF normal(-d.y() / n, d.x() / n);
          const double l = height * 0.085 * (1.0 - 0.6 * t);
          for (int s : {-1, 1}) {
            const QPointF leaf = normal * (s * l) + QPointF(0, l * 0.7);
            g.drawLine(p, p + leaf);
          }
        }
      }
      QPainterPath frond;
      frond.moveTo(top);
      frond.quadTo(f.ctrl, f.tip);
      g.setPen(QPen(c, std::max(1.0, height / (pass == 0 ? 14.0 : 26.0)), Qt::SolidLine, Qt::RoundCap));
      g.drawPath(frond);
    }
  }
}

void paintHouse(QPainter &g, RandomSource &rng, double x, double base, double w, double h) {
  const QColor wall = mix(QColor(244, 238, 226), QColor(236, 218, 190), rng.unit());
  const QColor roof = mix(QColor(192, 92, 62), QColor(160, 76, 56), rng.unit());
  g.setPen(Qt::NoPen);
  g.setBrush(wall);
  g.drawRect(QRectF(x, base - h, w, h));
  g.setBrush(wall.darker(118));
  g.drawRect(QRectF(x + w * 0.82, base - h, w * 0.18, h));
  const double rh = std::min(h * 0.55, w * 0.35);
  QPainterPath roofPath;
  roofPath.moveTo(x - 1.5, base - h);
  roofPath.lineTo(x + w * 0.2, base - h - rh);
  roofPath.lineTo(x + w * 0.8, base - h - rh);
  roofPath.lineTo(x + w + 1.5, base - h);
  roofPath.closeSubpath();
  g.setBrush(roof);
  g.drawPath(roofPath);
  g.setBrush(QColor(70, 96, 130));
  const int windows = std::max(1, static_cast<int>(w / 8));
  for (int i = 0; i < windows; ++i) {
    const double wx = x + (i + 0.5) * w / windows - 1.3;
    g.drawRect(QRectF(wx, base - h * 0.7, 2.6, h * 0.3));
  }
}

void paintFarShore(QPainter &g, RandomSource &rng) {
  // Green band of gardens and bushes behind the far beach.
  QPainterPath land;
  land.moveTo(240, Horizon + 1);
  for (double x = 240; x <= Width; x += 5) {
    const double near = (x - 240.0) / 350.0;
    land.lineTo(x, std::min(farShore(x) - 4.0, Horizon - 1.0 - 2.0 * near) -
                       (1.5 + 2.0 * near) * (1.0 + std::sin(x / 11.0) * std::sin(x / 4.3)));
  }
  land.lineTo(Width, farShore(Width));
  for (double x = Width; x >= 240; x -= 5) land.lineTo(x, farShore(x));
  land.closeSubpath();
  g.setPen(Qt::NoPen);
  g.setBrush(QColor(70, 118, 62));
  g.drawPath(land);

  // Houses, smaller and hazier toward the distance.
  double x = 268;
  while (x < Width - 12) {
    const double near = (x - 250.0) / 340.0;
    const double w = rng.range(16, 34) * (0.6 + 0.6 * near);
    const double h = rng.range(8, 15) * (0.6 + 0.7 * near);
    const double base = farShore(x + w / 2) - 3;
    paintHouse(g, rng, x, base, w, h);
    x += w + rng.range(10, 30) * (0.6 + 0.6 * near);
  }
  // Bushes in front of the houses and a strip of far sand.
  for (double bx = 246; bx < Width; bx += rng.range(5, 11)) {
    const double near = (bx - 250.0) / 340.0;
    const double r = rng.range(2.0, 4.5) * (0.7 + near);
    g.setBrush(mix(QColor(46, 96, 46), QColor(86, 136, 64), rng.unit()));
    g.drawEllipse(QPointF(bx, farShore(bx) - 2 - r * 0.4), r * 1.3, r);
  }
  QPainterPath sand;
  sand.moveTo(250, farShore(250) - 1);
  for (double sx = 250; sx <= Width; sx += 5) sand.lineTo(sx, farShore(sx) - 1);
  for (double sx = Width; sx >= 250; sx -= 5) sand.lineTo(sx, farShore(sx) + 1.5 + 2.5 * (sx - 250) / 340);
  sand.closeSubpath();
  g.setBrush(QColor(226, 206, 164));
  g.drawPath(sand);

  // Palms rising among the houses.
  for (int i = 0; i < 11; ++i) {
    const double px = rng.range(262, Width - 6);
    const double near = (px - 250.0) / 340.0;
    paintPalm(g, rng, QPointF(px, farShore(px) - 2), rng.range(20, 30) * (0.6 + 0.7 * near), rng.range(-5, 5));
  }
}

void paintBeach(QPainter &g, RandomSource &rng) {
  auto edgePath = [](double offset) {
    QPainterPath p;
    p.moveTo(0, Height);
    for (double x = 0; x <= Width; x += 3) p.lineTo(x, std::max(waterline(x), farShore(x) + 1.0) + offset);
    p.lineTo(Width, Height);
    p.closeSubpath();
    return p;
  };
  // Wet sand first, dry sand above it a little further up the beach.
  g.setPen(Qt::NoPen);
  g.setBrush(QColor(196, 172, 128));
  g.drawPath(edgePath(0));
  QLinearGradient dry(0, 80, 0, Height);
  dry.setColorAt(0.0, QColor(238, 218, 176));
  dry.setColorAt(1.0, QColor(222, 192, 142));
  g.setBrush(dry);
  g.drawPath(edgePath(6));

  // Sand texture: fine grains and soft ripples.
  for (int i = 0; i < 2600; ++i) {
    const double x = rng.range(0, Width);
    const double y = rng.range(waterline(x) + 6, Height);
    const bool light = rng.unit() < 0.5;
    g.setPen(QPen(light ? QColor(250, 236, 204, 110) : QColor(176, 146, 104, 90), 1.0));
    g.drawPoint(QPointF(x, y));
  }
  for (int i = 0; i < 60; ++i) {
    const double x = rng.range(0, Width);
    const double y = rng.range(waterline(x) + 12, Height - 2);
    QPainterPath ripple;
    ripple.moveTo(x, y);
    ripple.quadTo(x + 10, y - 2, x + 22, y);
    g.setPen(QPen(QColor(200, 170, 124, 80), 1.2));
    g.setBrush(Qt::NoBrush);
    g.drawPath(ripple);
  }
}

void paintSurf(QPainter &g, RandomSource &rng) {
  // Successive breaking waves: foam lines parallel to the waterline,
  // broken into irregular pieces, thicker near the sand.
  g.setBrush(Qt::NoBrush);
  for (int band = 0; band < 5; ++band) {
    const double offset = -2.0 - band * 5.5;
    const double thickness = 3.2 - band * 0.5;
    double x = rng.range(-20, 0);
    while (x < Width) {
      const double len = rng.range(25, 90);
      QPainterPath foam;
      bool started = false;
      for (double sx = x; sx <= x + len; sx += 3) {
        const double y = waterline(sx) + offset + 1.2 * std::sin(sx / 7.0 + band);
        if (y < farShore(sx) + 2) continue;
        if (!started) {
          foam.moveTo(sx, y);
          started = true;
        } else {
          foam.lineTo(sx, y);
        }
      }
      const int alpha = static_cast<int>(235 - band * 35);
      g.setPen(QPen(QColor(250, 252, 255, alpha), thickness, Qt::SolidLine, Qt::RoundCap));
      g.drawPath(foam);
      x += len + rng.range(4, 30);
    }
  }
}

// Short strokes in the colours already laid down give the picture a
// brushed, painted surface.
void brushOver(QImage &img, RandomSource &rng) {
  const QImage base = img.copy();
  QPainter g(&img);
  g.setRenderHint(QPainter::Antialiasing, true);
  for (int i = 0; i < 7000; ++i) {
    const int x = rng.between(0, Width - 1);
    const int y = rng.between(0, Height - 1);
    QColor c = base.pixelColor(x, y);
    c = c.lighter(rng.between(94, 108));
    c.setAlpha(70);
    const double a = rng.range(-0.35, 0.35);
    const double len = rng.range(2.0, 5.0);
    g.setPen(QPen(c, 1.6, Qt::SolidLine, Qt::RoundCap));
    g.drawLine(QPointF(x, y), QPointF(x + len * std::cos(a), y + len * std::sin(a)));
  }
}

}  // namespace

QImage paintBanner() {
  QImage img(Width, Height, QImage::Format_RGB32);
  RandomSource rng(0xBA77E2);
  {
    QPainter g(&img);
    g.setRenderHint(QPainter::Antialiasing, true);
    paintSky(g, rng);
    paintSea(g, rng);
    paintFarShore(g, rng);
    paintBeach(g, rng);
    paintSurf(g, rng);
    // A tall palm in the right foreground frames the view.
    paintPalm(g, rng, QPointF(556, Height + 4), 132, -26);
  }
  brushOver(img, rng);
  return img;
}
