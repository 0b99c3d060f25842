#include "sprites.h"

#include <QPainter>
#include <QPolygon>

namespace {

const QColor Ink(28, 28, 36);
const QColor Skin(238, 188, 146);
const QColor Hair(92, 56, 30);

QImage blankSprite() {
  QImage img(SpriteSize, SpriteSize, QImage::Format_RGB32);
  img.fill(QColor(255, 255, 255));
  return img;
}

// Pixel-exact drawing: no anti-aliasing, so only the chosen colours appear.
void begin(QPainter &g) {
  g.setRenderHint(QPainter::Antialiasing, false);
  g.setPen(Qt::NoPen);
}

void line(QPainter &g, QPoint a, QPoint b, const QColor &c, int width) {
  g.setPen(QPen(c, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  g.drawLine(a, b);
  g.setPen(Qt::NoPen);
}

// A limb or pole: an ink stroke with a narrower coloured stroke on top.
void outlinedLine(QPainter &g, QPoint a, QPoint b, const QColor &c, int width) {
  line(g, a, b, Ink, width + 2);
  line(g, a, b, c, width);
}

void filledPolygon(QPainter &g, const QPolygon &p, const QColor &fill) {
  g.setPen(QPen(Ink, 1));
  g.setBrush(fill);
  g.drawPolygon(p);
  g.setPen(Qt::NoPen);
}

void box(QPainter &g, int x, int y, int w, int h, const QColor &fill) {
  g.fillRect(x, y, w, h, Ink);
  g.fillRect(x + 1, y + 1, w - 2, h - 2, fill);
}

void disc(QPainter &g, QPoint c, int r, const QColor &fill) {
  g.setPen(QPen(Ink, 1));
  g.setBrush(fill);
  g.drawEllipse(c, r, r);
  g.setPen(Qt::NoPen);
}

}  // namespace

QImage paintObserverSprite() {
  QImage img = blankSprite();
  QPainter g(&img);
  begin(g);
  const QColor wood(150, 98, 52), cabin(244, 204, 44), roof(206, 44, 40), glass(150, 200, 236);
  // Splayed legs with a cross brace.
  outlinedLine(g, {9, 28}, {11, 17}, wood, 2);
  outlinedLine(g, {21, 28}, {19, 17}, wood, 2);
  line(g, {10, 26}, {20, 19}, wood, 1);
  line(g, {20, 26}, {10, 19}, wood, 1);
  // Platform with a railing.
  box(g, 6, 15, 19, 3, wood);
  // Cabin, window and roof.
  box(g, 8, 7, 15, 9, cabin);
  box(g, 11, 9, 9, 4, glass);
  filledPolygon(g, QPolygon({QPoint(5, 8), QPoint(15, 1), QPoint(25, 8)}), roof);
  // Flag on a pole.
  line(g, {26, 16}, {26, 2}, Ink, 1);
  g.fillRect(27, 2, 3, 2, roof);
  g.fillRect(27, 4, 3, 2, cabin);
  return img;
}

QImage paintBoatSprite() {
  QImage img = blankSprite();
  QPainter g(&img);
  begin(g);
  const QColor tube(236, 96, 28), floor(196, 200, 204), seat(120, 86, 54), motor(60, 64, 72);
  const QPolygon hull({QPoint(15, 1), QPoint(20, 5), QPoint(23, 12), QPoint(23, 25), QPoint(21, 28), QPoint(9, 28),
                       QPoint(7, 25), QPoint(7, 12), QPoint(10, 5)});
  filledPolygon(g, hull, tube);
  const QPolygon deck({QPoint(15, 6), QPoint(18, 9), QPoint(20, 14), QPoint(20, 24), QPoint(19, 25), QPoint(11, 25),
                       QPoint(10, 24), QPoint(10, 14), QPoint(12, 9)});
  filledPolygon(g, deck, floor);
  g.fillRect(11, 13, 9, 2, seat);
  g.fillRect(11, 19, 9, 2, seat);
  // Outboard motor at the stern.
  box(g, 12, 25, 7, 5, motor);
  // Grab line along the tubes.
  g.fillRect(8, 15, 1, 8, Ink);
  g.fillRect(22, 15, 1, 8, Ink);
  return img;
}

QImage paintSharkSprite() {
  QImage img = blankSprite();
  QPainter g(&img);
  begin(g);
  const QColor fin(104, 112, 124), lit(150, 158, 170), foam(214, 232, 248), wave(110, 156, 204);
  // Wake: swept lines fanning back from the fin's base.
  line(g, {2, 24}, {9, 21}, wave, 2);
  line(g, {21, 21}, {28, 24}, wave, 2);
  line(g, {4, 27}, {11, 24}, wave, 1);
  line(g, {19, 24}, {26, 27}, wave, 1);
  g.fillRect(4, 21, 23, 3, foam);
  g.fillRect(2, 22, 2, 1, foam);
  g.fillRect(27, 22, 2, 1, foam);
  // The fin, heading left: a convex leading edge up to a tip swept back,
  // then a concave trailing edge down to the water.
  filledPolygon(g,
                QPolygon({QPoint(5, 22), QPoint(8, 16), QPoint(12, 10), QPoint(16, 6), QPoint(20, 3), QPoint(19, 8),
                          QPoint(19, 13), QPoint(21, 18), QPoint(25, 22)}),
                fin);
  // Light catching the front of the fin.
  g.setBrush(lit);
  g.drawPolygon(QPolygon(
      {QPoint(7, 21), QPoint(9, 16), QPoint(13, 11), QPoint(17, 7), QPoint(15, 12), QPoint(12, 17), QPoint(11, 21)}));
  line(g, {5, 22}, {25, 22}, Ink, 1);
  return img;
}

QImage paintSwimmerSprite() {
  QImage img = blankSprite();
  QPainter g(&img);
  begin(g);
  const QColor ripple(126, 182, 232), body(58, 104, 168), splash(232, 244, 254), cap(214, 38, 38);
  // Rings spreading in the water around the swimmer.
  g.setPen(QPen(ripple, 1));
  g.setBrush(Qt::NoBrush);
  g.drawEllipse(QPoint(15, 15), 13, 12);
  g.setPen(Qt::NoPen);
  // The body just below the surface.
  g.setBrush(body);
  g.drawEllipse(QPoint(15, 20), 3, 7);
  // Arms reaching forward in a stroke, hands splashing.
  outlinedLine(g, {12, 17}, {5, 9}, Skin, 3);
  outlinedLine(g, {18, 17}, {25, 9}, Skin, 3);
  g.fillRect(2, 6, 3, 2, splash);
  g.fillRect(26, 6, 3, 2, splash);
  g.fillRect(4, 5, 1, 1, splash);
  g.fillRect(26, 4, 1, 1, splash);
  // Head with a swimming cap.
  disc(g, {15, 13}, 4, Skin);
  g.setPen(QPen(Ink, 1));
  g.setBrush(cap);
  g.drawChord(QRect(11, 9, 9, 9), 0, 180 * 16);
  g.setPen(Qt::NoPen);
  return img;
}

QImage paintStandingSprite() {
  QImage img = blankSprite();
  QPainter g(&img);
  begin(g);
  const QColor shirt(224, 60, 48), shorts(44, 72, 164), shoe(70, 48, 36);
  // Legs and feet.
  outlinedLine(g, {13, 21}, {12, 27}, Skin, 2);
  outlinedLine(g, {17, 21}, {18, 27}, Skin, 2);
  g.fillRect(10, 27, 4, 2, shoe);
  g.fillRect(17, 27, 4, 2, shoe);
  // Arms hanging beside the body.
  outlinedLine(g, {11, 11}, {8, 19}, Skin, 2);
  outlinedLine(g, {19, 11}, {22, 19}, Skin, 2);
  // Body and swimming shorts.
  box(g, 10, 9, 11, 10, shirt);
  box(g, 10, 18, 11, 4, shorts);
  // Head with hair.
  disc(g, {15, 5}, 4, Skin);
  g.setPen(QPen(Ink, 1));
  g.setBrush(Hair);
  g.drawChord(QRect(11, 1, 9, 9), 20 * 16, 140 * 16);
  g.setPen(Qt::NoPen);
  return img;
}

QImage paintDeadSprite() {
  QImage img = blankSprite();
  QPainter g(&img);
  begin(g);
  const QColor stone(150, 152, 158), stoneLit(186, 188, 194), carve(78, 80, 88), tuft(70, 132, 52), soil(120, 92, 60);
  // Mound of earth with grass at the foot of the stone.
  g.setBrush(soil);
  g.setPen(QPen(Ink, 1));
  g.drawChord(QRect(3, 23, 25, 12), 0, 180 * 16);
  g.setPen(Qt::NoPen);
  // Stone slab with a rounded top.
  const QPolygon slab({QPoint(8, 26), QPoint(8, 10), QPoint(9, 7), QPoint(11, 5), QPoint(13, 4), QPoint(17, 4),
                       QPoint(19, 5), QPoint(21, 7), QPoint(22, 10), QPoint(22, 26)});
  filledPolygon(g, slab, stone);
  g.fillRect(9, 10, 2, 16, stoneLit);
  g.fillRect(10, 7, 2, 3, stoneLit);
  // Carved cross.
  g.fillRect(14, 8, 3, 14, carve);
  g.fillRect(11, 11, 9, 3, carve);
  // Grass tufts.
  for (int x : {4, 7, 23, 26}) {
    line(g, {x, 27}, {x - 1, 24}, tuft, 1);
    line(g, {x + 1, 27}, {x + 2, 24}, tuft, 1);
  }
  return img;
}
