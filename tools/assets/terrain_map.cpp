#include "terrain_map.h"

#include "palette.h"
#include "random_source.h"
#include "value_noise.h"

#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace {

constexpr int Width = 800;
constexpr int Height = 1200;
constexpr double Pi = 3.14159265358979323846;

constexpr int PromenadeHalf = 14;  // half the paved width
constexpr int PierTop = 690;       // rows of the pier's walkway
constexpr int PierBottom = 712;
constexpr int PierHeadLeft = 150;  // the pier's far end, out in deep water
constexpr int PierHeadRight = 178;
constexpr int PierHeadTop = 662;
constexpr int PierHeadBottom = 740;

// Per-row outline of the coast and the strips that follow it.
struct CoastProfile {
  std::array<int, Height> deepEdge{};   // first shallow column
  std::array<int, Height> shore{};      // first land column
  std::array<int, Height> beachEdge{};  // first grass column behind the beach
  std::array<int, Height> promenade{};  // promenade centre column
};

CoastProfile makeProfile() {
  ValueNoise1D wiggle(0x5EA5401, 64), shallow(0x5EA5402, 32), jag(0x5EA5403, 256), beach(0x5EA5404, 32);
  CoastProfile p;
  for (int y = 0; y < Height; ++y) {
    const double t = y / double(Height);
    const double base = 325.0 + 40.0 * std::sin(2 * Pi * t * 1.25 + 0.9) + 16.0 * std::sin(2 * Pi * t * 2.9 + 2.3);
    const double coast = base + 9.0 * wiggle.fractal(y / 45.0, 3);
    const int shore = std::clamp(static_cast<int>(std::lround(coast)), 255, 395);
    const double shallowWidth = 34.0 + 20.0 * shallow.fractal(y / 80.0, 2) + 3.0 * jag.at(y / 7.0);
    const double beachWidth = std::max(7.0, 24.0 + 18.0 * beach.fractal(y / 70.0, 2) + 2.0 * jag.at(y / 5.0 + 100.0));
    p.shore[y] = shore;
    p.deepEdge[y] = shore - std::max(12, static_cast<int>(std::lround(shallowWidth)));
    p.beachEdge[y] = shore + static_cast<int>(std::lround(beachWidth));
    p.promenade[y] = static_cast<int>(std::lround(base + 130.0));
  }
  return p;
}

void paintGround(QImage &img, const CoastProfile &p) {
  ValueNoise2D patches(0x5EA5405, 64), shoals(0x5EA5406, 64);
  for (int y = 0; y < Height; ++y) {
    auto *row = reinterpret_cast<QRgb *>(img.scanLine(y));
    for (int x = 0; x < Width; ++x) {
      QRgb c;
      if (x < p.deepEdge[y]) {
        // Sandbanks: shallow patches a little way out from the shallows.
        const bool nearShore = x > p.deepEdge[y] - 110;
        const double s = shoals.fractal(x / 40.0, y / 40.0, 2);
        c = (nearShore && s > 0.42 + 0.004 * (p.deepEdge[y] - x)) ? palette::ShallowWater : palette::DeepWater;
      } else if (x < p.shore[y]) {
        c = palette::ShallowWater;
      } else if (x < p.beachEdge[y]) {
        c = palette::Dune;
      } else {
        const double n = patches.fractal(x / 70.0, y / 70.0, 3);
        c = n > 0.36 ? palette::Dune : palette::Grass;
      }
      row[x] = c;
    }
  }
}

// Patches of one colour too small to read as shoals or dunes take the
// colour around them, so the noise leaves no stray dots.
void removeStrayPatches(QImage &img, QRgb colour, QRgb replacement, int minimumSize) {
  std::vector<char> seen(static_cast<std::size_t>(Width * Height), 0);
  std::vector<int> stack, component;
  auto same = [&img, colour](int x, int y) { return (img.pixel(x, y) & 0xFFFFFFu) == (colour & 0xFFFFFFu); };
  for (int y0 = 0; y0 < Height; ++y0) {
    for (int x0 = 0; x0 < Width; ++x0) {
      if (seen[y0 * Width + x0] || !same(x0, y0)) continue;
      component.clear();
      stack.assign(1, y0 * Width + x0);
      seen[y0 * Width + x0] = 1;
      while (!stack.empty()) {
        const int i = stack.back();
        stack.pop_back();
        component.push_back(i);
        const int x = i % Width, y = i / Width;
        const int nx[4] = {x - 1, x + 1, x, x}, ny[4] = {y, y, y - 1, y + 1};
        for (int k = 0; k < 4; ++k) {
          if (nx[k] < 0 || ny[k] < 0 || nx[k] >= Width || ny[k] >= Height) continue;
          const int j = ny[k] * Width + nx[k];
          if (!seen[j] && same(nx[k], ny[k])) {
            seen[j] = 1;
            stack.push_back(j);
          }
        }
      }
      if (static_cast<int>(component.size()) < minimumSize)
        for (int i : component) img.setPixel(i % Width, i / Width, replacement);
    }
  }
}

QColor col(QRgb c) { return QColor::fromRgb(c); }

void fillRect(QPainter &g, int x, int y, int w, int h, QRgb c) { g.fillRect(x, y, w, h, col(c)); }

// Gravel paths that lead from the promenade down to the beach.
void paintBeachPaths(QImage &img, const CoastProfile &p) {
  for (int y0 : {150, 470, 905, 1130}) {
    for (int y = y0; y < y0 + 8; ++y) {
      auto *row = reinterpret_cast<QRgb *>(img.scanLine(y));
      const int from = p.beachEdge[y] - 2;
      const int to = p.promenade[y] - PromenadeHalf;
      for (int x = from; x < to; ++x) row[x] = palette::Gravel;
    }
  }
}

// Paved promenade with kerbs and slab joints, following the coast.
void paintPromenade(QImage &img, const CoastProfile &p) {
  for (int y = 0; y < Height; ++y) {
    auto *row = reinterpret_cast<QRgb *>(img.scanLine(y));
    const int c = p.promenade[y];
    for (int x = c - PromenadeHalf; x < c + PromenadeHalf; ++x) {
      const int d = x - (c - PromenadeHalf);
      QRgb v = palette::Paving;
      if (d < 2 || d >= 2 * PromenadeHalf - 2)
        v = palette::Kerb;
      else if (y % 14 == 0 || d == PromenadeHalf)
        v = palette::PavingJoint;
      row[x] = v;
    }
  }
  // A small square where the pier meets the promenade.
  const int cy = (PierTop + PierBottom) / 2;
  const int cx = p.promenade[cy];
  for (int y = cy - 34; y < cy + 34; ++y) {
    auto *row = reinterpret_cast<QRgb *>(img.scanLine(y));
    for (int x = cx - 34; x < cx + 34; ++x) {
      const bool edge = y < cy - 32 || y >= cy + 32 || x < cx - 32 || x >= cx + 32;
      const bool joint = (x - cx) % 12 == 0 || (y - cy) % 12 == 0;
      row[x] = edge ? palette::Kerb : joint ? palette::PavingJoint : palette::Paving;
    }
  }
}

// A timber pier from the promenade far out into deep water, ending in a
// T-shaped head; planks run across the walkway.
void paintPier(QImage &img, const CoastProfile &p) {
  const int cy = (PierTop + PierBottom) / 2;
  const int root = p.promenade[cy] - 32;
  for (int y = PierTop; y < PierBottom; ++y) {
    auto *row = reinterpret_cast<QRgb *>(img.scanLine(y));
    for (int x = PierHeadRight; x < root; ++x) {
      QRgb v = (x % 6 == 0) ? palette::PierGap : palette::PierPlank;
      if (y < PierTop + 2 || y >= PierBottom - 2) v = palette::PierEdge;
      row[x] = v;
    }
  }
  for (int y = PierHeadTop; y < PierHeadBottom; ++y) {
    auto *row = reinterpret_cast<QRgb *>(img.scanLine(y));
    for (int x = PierHeadLeft; x < PierHeadRight; ++x) {
      QRgb v = (y % 6 == 0) ? palette::PierGap : palette::PierPlank;
      const bool edge =
          x < PierHeadLeft + 2 || x >= PierHeadRight - 2 || y < PierHeadTop + 2 || y >= PierHeadBottom - 2;
      row[x] = edge ? palette::PierEdge : v;
    }
  }
}

QPolygon blob(int cx, int cy, double r, double scale, int dx, int dy, const std::vector<double> &radii) {
  QPolygon poly;
  const int n = static_cast<int>(radii.size());
  for (int i = 0; i < n; ++i) {
    const double a = 2 * Pi * i / n;
    const double rr = r * radii[static_cast<std::size_t>(i)] * scale;
    poly << QPoint(cx + dx + static_cast<int>(std::lround(rr * std::cos(a))),
                   cy + dy + static_cast<int>(std::lround(rr * std::sin(a))));
  }
  return poly;
}

// An irregular boulder: dark rim, grey body, a lit face toward the top-left.
void paintRock(QPainter &g, RandomSource &rng, int cx, int cy, double r) {
  std::vector<double> radii(11);
  for (double &v : radii) v = rng.range(0.78, 1.12);
  g.setPen(Qt::NoPen);
  g.setBrush(col(palette::RockShadow));
  g.drawPolygon(blob(cx, cy, r, 1.0, 0, 0, radii));
  g.setBrush(col(palette::Rock));
  g.drawPolygon(blob(cx, cy, r, 0.80, -1, -1, radii));
  g.setBrush(col(palette::RockLight));
  g.drawPolygon(blob(cx, cy, r, 0.38, -static_cast<int>(r / 3), -static_cast<int>(r / 3), radii));
}

void paintRocks(QPainter &g, const CoastProfile &p) {
  RandomSource rng(0x5EA5407);
  // A short breakwater of boulders running out from the shore.
  for (int i = 0; i < 8; ++i) {
    const int y = 262 + rng.between(-4, 4);
    const int x = p.shore[262] + 4 - i * 15;
    paintRock(g, rng, x, y, rng.range(8.5, 12.5));
  }
  // Lone rocks and small groups out at sea.
  const std::array<std::array<int, 3>, 7> lone{{
      {118, 430, 13},
      {136, 446, 7},
      {205, 560, 8},
      {70, 900, 15},
      {232, 1010, 9},
      {246, 1022, 6},
      {150, 1130, 11},
  }};
  for (const auto &r : lone) paintRock(g, rng, r[0], r[1], r[2]);
}

enum class RoofKind { Tiles, Slate, Flat };

// A hipped roof seen from above: four faces meeting at a ridge, lit from
// the top-left, with the hips and the eaves drawn as lines.
void paintHippedRoof(QPainter &g, QRect r, QRgb light, QRgb dark, QRgb ridge) {
  const int x0 = r.left(), y0 = r.top(), x1 = r.right() + 1, y1 = r.bottom() + 1;
  QPoint a, b;  // ridge ends
  if (r.width() >= r.height()) {
    const int h2 = r.height() / 2;
    a = QPoint(x0 + h2, y0 + h2);
    b = QPoint(x1 - h2, y0 + h2);
  } else {
    const int w2 = r.width() / 2;
    a = QPoint(x0 + w2, y0 + w2);
    b = QPoint(x0 + w2, y1 - w2);
  }
  const QPoint tl(x0, y0), tr(x1, y0), bl(x0, y1), br(x1, y1);
  g.setPen(Qt::NoPen);
  g.setBrush(col(dark));
  g.drawRect(x0, y0, r.width(), r.height());
  g.setBrush(col(light));
  if (r.width() >= r.height()) {
    g.drawPolygon(QPolygon({tl, tr, b, a}));  // north face
    g.drawPolygon(QPolygon({tl, a, bl}));     // west face
  } else {
    g.drawPolygon(QPolygon({tl, a, b, bl}));  // west face
    g.drawPolygon(QPolygon({tl, tr, a}));     // north face
  }
  g.setPen(QPen(col(ridge), 2));
  g.setBrush(Qt::NoBrush);
  g.drawLine(a, b);
  g.drawLine(tl, a);
  g.drawLine(br, b);
  if (r.width() >= r.height()) {
    g.drawLine(bl, a);
    g.drawLine(tr, b);
  } else {
    g.drawLine(tr, a);
    g.drawLine(bl, b);
  }
  g.setPen(QPen(col(ridge), 1));
  g.drawRect(x0, y0, r.width() - 1, r.height() - 1);
}

void paintFlatRoof(QPainter &g, RandomSource &rng, QRect r) {
  g.setPen(Qt::NoPen);
  fillRect(g, r.left(), r.top(), r.width(), r.height(), palette::FlatRoofEdge);
  fillRect(g, r.left() + 3, r.top() + 3, r.width() - 6, r.height() - 6, palette::FlatRoof);
  for (int i = 0; i < 3; ++i) {
    const int vx = r.left() + rng.between(10, r.width() - 24);
    const int vy = r.top() + rng.between(10, r.height() - 24);
    fillRect(g, vx, vy, 12, 10, palette::FlatRoofEdge);
    fillRect(g, vx + 1, vy + 1, 10, 8, palette::RoofVent);
  }
}

struct Building {
  int top;
  int height;
  int width;
  RoofKind roof;
};

void paintBuildings(QPainter &g, const CoastProfile &p) {
  RandomSource rng(0x5EA5408);
  const std::array<Building, 7> plan{{
      {36, 96, 120, RoofKind::Tiles},
      {196, 84, 150, RoofKind::Flat},
      {352, 118, 96, RoofKind::Tiles},
      {548, 76, 110, RoofKind::Slate},
      {786, 110, 130, RoofKind::Tiles},
      {960, 92, 104, RoofKind::Flat},
      {1098, 72, 120, RoofKind::Slate},
  }};
  for (const Building &b : plan) {
    int edge = 0;
    for (int y = b.top; y < b.top + b.height; ++y) edge = std::max(edge, p.promenade[y] + PromenadeHalf);
    const int left = std::min(edge + rng.between(46, 80), 780 - b.width);
    const QRect r(left, b.top, b.width, b.height);
    // A gravel walk from the front door to the promenade.
    const int doorY = b.top + b.height / 2 - 4;
    g.setPen(Qt::NoPen);
    for (int y = doorY; y < doorY + 8; ++y) {
      const int from = p.promenade[y] + PromenadeHalf - 2;
      fillRect(g, from, y, left - from, 1, palette::Gravel);
    }
    switch (b.roof) {
      case RoofKind::Tiles:
        paintHippedRoof(g, r, palette::TileLight, palette::TileDark, palette::TileRidge);
        break;
      case RoofKind::Slate:
        paintHippedRoof(g, r, palette::SlateLight, palette::SlateDark, palette::SlateRidge);
        break;
      case RoofKind::Flat:
        paintFlatRoof(g, rng, r);
        break;
    }
  }
}

// True when a disc of radius r around (cx, cy) lies wholly on grass or dune.
bool onOpenLand(const QImage &img, int cx, int cy, int r) {
  if (cx - r < 0 || cy - r < 0 || cx + r >= Width || cy + r >= Height) return false;
  for (int y = cy - r; y <= cy + r; ++y) {
    const auto *row = reinterpret_cast<const QRgb *>(img.constScanLine(y));
    for (int x = cx - r; x <= cx + r; ++x) {
      if ((x - cx) * (x - cx) + (y - cy) * (y - cy) > r * r) continue;
      const QRgb c = row[x] & 0xFFFFFFu;
      if (c != (palette::Grass & 0xFFFFFFu) && c != (palette::Dune & 0xFFFFFFu)) return false;
    }
  }
  return true;
}

void paintTree(QPainter &g, int cx, int cy, int r) {
  g.setPen(Qt::NoPen);
  g.setBrush(col(palette::TreeEdge));
  g.drawEllipse(QPoint(cx, cy), r, r);
  g.setBrush(col(palette::TreeCanopy));
  g.drawEllipse(QPoint(cx, cy), r - 2, r - 2);
  g.setBrush(col(palette::TreeLight));
  g.drawEllipse(QPoint(cx - r / 3, cy - r / 3), r / 2, r / 2);
}

void paintPalm(QPainter &g, RandomSource &rng, int cx, int cy, int r) {
  const double turn = rng.range(0.0, 2 * Pi);
  for (int pass = 0; pass < 2; ++pass) {
    g.setPen(
        QPen(col(pass == 0 ? palette::PalmDark : palette::PalmFrond), pass == 0 ? 5 : 2, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 8; ++i) {
      const double a = turn + 2 * Pi * i / 8;
      const double len = r - pass;
      g.drawLine(QPoint(cx, cy), QPoint(cx + static_cast<int>(std::lround(len * std::cos(a))),
                                        cy + static_cast<int>(std::lround(len * std::sin(a)))));
    }
  }
  g.setPen(Qt::NoPen);
  g.setBrush(col(palette::PalmTrunk));
  g.drawEllipse(QPoint(cx, cy), 2, 2);
}

void paintVegetation(QImage &img, const CoastProfile &p) {
  RandomSource rng(0x5EA5409);
  QPainter g(&img);
  g.setRenderHint(QPainter::Antialiasing, false);
  // Palms along the landward side of the promenade.
  for (int y = 30; y < Height - 20; y += 64) {
    const int cy = y + rng.between(-6, 6);
    const int cx = p.promenade[cy] + PromenadeHalf + 14;
    if (onOpenLand(img, cx, cy, 13)) paintPalm(g, rng, cx, cy, 11);
  }
  // Trees scattered among the buildings.
  int planted = 0;
  for (int attempt = 0; attempt < 4000 && planted < 46; ++attempt) {
    const int cy = rng.between(10, Height - 11);
    const int cx = rng.between(p.promenade[cy] + 40, Width - 12);
    const int r = rng.between(7, 13);
    if (onOpenLand(img, cx, cy, r + 3)) {
      paintTree(g, cx, cy, r);
      ++planted;
    }
  }
  // A few bushes on the grass between beach and promenade.
  for (int attempt = 0, n = 0; attempt < 2000 && n < 10; ++attempt) {
    const int cy = rng.between(10, Height - 11);
    const int cx = rng.between(p.beachEdge[cy] + 20, p.promenade[cy] - 30);
    if (cx > p.beachEdge[cy] && onOpenLand(img, cx, cy, 9)) {
      paintTree(g, cx, cy, 6);
      ++n;
    }
  }
}

// Sunshades on the wider stretches of beach.
void paintUmbrellas(QImage &img, const CoastProfile &p) {
  QPainter g(&img);
  g.setRenderHint(QPainter::Antialiasing, false);
  g.setPen(Qt::NoPen);
  int placed = 0;
  for (int y = 40; y < Height - 40 && placed < 9; y += 17) {
    const int width = p.beachEdge[y] - p.shore[y];
    if (width < 30) continue;
    const int cx = p.shore[y] + width / 2;
    if (!onOpenLand(img, cx, y, 9)) continue;
    const QRgb colour = placed % 2 == 0 ? palette::UmbrellaA : palette::UmbrellaB;
    for (int s = 0; s < 8; ++s) {
      g.setBrush(col(s % 2 == 0 ? colour : palette::UmbrellaC));
      g.drawPie(QRect(cx - 7, y - 7, 15, 15), s * 45 * 16, 45 * 16);
    }
    ++placed;
    y += 60;
  }
}

}  // namespace

QImage paintTerrainMap() {
  QImage img(Width, Height, QImage::Format_RGB32);
  const CoastProfile profile = makeProfile();
  paintGround(img, profile);
  removeStrayPatches(img, palette::ShallowWater, palette::DeepWater, 120);
  removeStrayPatches(img, palette::Dune, palette::Grass, 150);
  paintBeachPaths(img, profile);
  paintPromenade(img, profile);
  paintPier(img, profile);
  {
    QPainter g(&img);
    g.setRenderHint(QPainter::Antialiasing, false);
    paintRocks(g, profile);
    paintBuildings(g, profile);
  }
  paintUmbrellas(img, profile);
  paintVegetation(img, profile);
  return img;
}
