#include "heatmap.h"

#include <QBuffer>
#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <algorithm>
#include <array>
#include <cmath>

#include "csv.h"

namespace wendo_lab {

namespace {

constexpr double SmoothingSigma = 8.0;  // cells: 0.8 m
constexpr double CellsPer100SquareMetres = 10000.0;

// A dark-to-bright ramp (black, purple, red, orange, pale yellow) that
// stays readable on the dimmed map and in grey.
constexpr std::array<QRgb, 5> Ramp = {qRgb(40, 11, 84), qRgb(120, 28, 109), qRgb(212, 72, 66), qRgb(250, 150, 20),
                                      qRgb(252, 255, 164)};

QRgb RampColour(double t) {
  t = std::clamp(t, 0.0, 1.0) * (Ramp.size() - 1);
  const size_t i = std::min<size_t>(static_cast<size_t>(t), Ramp.size() - 2);
  const double f = t - static_cast<double>(i);
  auto mix = [&](int a, int b) { return static_cast<int>(std::lround(a + (b - a) * f)); };
  return qRgb(mix(qRed(Ramp[i]), qRed(Ramp[i + 1])), mix(qGreen(Ramp[i]), qGreen(Ramp[i + 1])),
              mix(qBlue(Ramp[i]), qBlue(Ramp[i + 1])));
}

// The map in muted, darker colours, so the density stands out.
QRgb Dimmed(QRgb c) {
  const double grey = 0.299 * qRed(c) + 0.587 * qGreen(c) + 0.114 * qBlue(c);
  auto dim = [&](int v) { return static_cast<int>(std::lround((0.35 * v + 0.65 * grey) * 0.45)); };
  return qRgb(dim(qRed(c)), dim(qGreen(c)), dim(qBlue(c)));
}

QRgb Over(QRgb base, QRgb top, double alpha) {
  auto mix = [&](int a, int b) { return static_cast<int>(std::lround(a + (b - a) * alpha)); };
  return qRgb(mix(qRed(base), qRed(top)), mix(qGreen(base), qGreen(top)), mix(qBlue(base), qBlue(top)));
}

// One pass of a separable Gaussian along rows (step 1) or columns.
void Blur(std::vector<float>& grid, int width, int height, double sigma, bool alongRows) {
  const int radius = static_cast<int>(std::ceil(3 * sigma));
  std::vector<float> kernel(2 * radius + 1);
  for (int i = -radius; i <= radius; ++i) kernel[i + radius] = static_cast<float>(std::exp(-0.5 * i * i / (sigma * sigma)));
  float sum = 0;
  for (float k : kernel) sum += k;
  for (float& k : kernel) k /= sum;
  const int lines = alongRows ? height : width, length = alongRows ? width : height;
  const size_t step = alongRows ? 1 : static_cast<size_t>(width);
  std::vector<float> line(length);
  for (int l = 0; l < lines; ++l) {
    float* start = grid.data() + (alongRows ? static_cast<size_t>(l) * width : static_cast<size_t>(l));
    for (int i = 0; i < length; ++i) line[i] = start[i * step];
    for (int i = 0; i < length; ++i) {
      float v = 0;
      for (int k = std::max(-radius, -i); k <= radius && i + k < length; ++k) v += kernel[k + radius] * line[i + k];
      start[i * step] = v;
    }
  }
}

QString CountText(double v) {
  if (v >= 100) return QString::number(std::lround(v));
  return QString::fromStdString(FixedText(v, v >= 10 ? 1 : 2));
}

// The corner of the picture for a box of that size with the fewest of the
// places in it (with a margin of a marker's size around the box).
QRect FreeCorner(const QImage& picture, QSize size, int margin, double cellsPerPixel, const std::vector<TPlace>& avoid) {
  const int w = picture.width(), h = picture.height();
  const QRect corners[] = {{QPoint(w - size.width() - margin, h - size.height() - margin), size},
                           {QPoint(margin, h - size.height() - margin), size},
                           {QPoint(w - size.width() - margin, margin), size},
                           {QPoint(margin, margin), size}};
  const QRect* best = &corners[0];
  size_t fewest = SIZE_MAX;
  for (const QRect& c : corners) {
    const QRect around = c.adjusted(-margin, -margin, margin, margin);
    size_t inside = 0;
    for (const TPlace& p : avoid) inside += around.contains(QPoint(static_cast<int>(p.X / cellsPerPixel), static_cast<int>(p.Y / cellsPerPixel)));
    if (inside < fewest) fewest = inside, best = &c;
    if (inside == 0) break;
  }
  return *best;
}

void DrawLegend(QImage& picture, double maxDensity, const TDeathMap& deaths, const std::vector<TPlace>& avoid) {
  const double scale = picture.width() / 800.0;
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(std::max(9, static_cast<int>(std::lround(15 * scale))));
  painter.setFont(font);
  const int lineHeight = painter.fontMetrics().height();

  const QString title = QStringLiteral("%1 people eaten in %2 runs").arg(deaths.Deaths()).arg(deaths.Runs());
  const QString unit = QStringLiteral("eaten per 10 m × 10 m, all runs:");
  const int margin = static_cast<int>(12 * scale), pad = static_cast<int>(10 * scale);
  const int textWidth = std::max(painter.fontMetrics().horizontalAdvance(title), painter.fontMetrics().horizontalAdvance(unit));
  const int boxWidth = std::max(static_cast<int>(200 * scale), textWidth) + 2 * pad;
  const int barHeight = static_cast<int>(14 * scale);
  const int boxHeight = pad * 2 + lineHeight * 3 + barHeight + static_cast<int>(4 * scale);
  const QRect box =
      FreeCorner(picture, QSize(boxWidth, boxHeight), margin, static_cast<double>(deaths.Width()) / picture.width(), avoid);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(0, 0, 0, 190));
  painter.drawRoundedRect(box, 6 * scale, 6 * scale);

  painter.setPen(QColor(235, 235, 235));
  const int left = box.left() + pad, right = box.right() - pad;
  int y = box.top() + pad;
  painter.drawText(QRect(left, y, right - left, lineHeight), Qt::AlignLeft | Qt::AlignVCenter,
                   title);
  y += lineHeight;
  painter.drawText(QRect(left, y, right - left, lineHeight), Qt::AlignLeft | Qt::AlignVCenter,
                   unit);
  y += lineHeight + static_cast<int>(2 * scale);

  QLinearGradient gradient(left, 0, right, 0);
  for (size_t i = 0; i < Ramp.size(); ++i) gradient.setColorAt(static_cast<double>(i) / (Ramp.size() - 1), QColor(Ramp[i]));
  painter.setPen(Qt::NoPen);
  painter.setBrush(gradient);
  painter.drawRect(left, y, right - left, barHeight);
  y += barHeight + static_cast<int>(2 * scale);

  painter.setPen(QColor(235, 235, 235));
  const int third = (right - left) / 3;
  painter.drawText(QRect(left, y, third, lineHeight), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("0"));
  painter.drawText(QRect(left + third, y, third, lineHeight), Qt::AlignHCenter | Qt::AlignVCenter,
                   CountText(maxDensity / 2));
  painter.drawText(QRect(right - third, y, third, lineHeight), Qt::AlignRight | Qt::AlignVCenter,
                   CountText(maxDensity));
}

}  // namespace

TDeathMap::TDeathMap(int width, int height)
    : width_(width), height_(height), counts_(static_cast<size_t>(width) * static_cast<size_t>(height)) {}

void TDeathMap::Add(const std::vector<TPlace>& deaths) {
  ++runs_;
  for (const TPlace& p : deaths) {
    if (p.X < 0 || p.Y < 0 || p.X >= width_ || p.Y >= height_) continue;
    ++counts_[static_cast<size_t>(p.Y) * width_ + p.X];
    ++deaths_;
  }
}

std::vector<float> TDeathMap::Density(double sigma) const {
  std::vector<float> grid(counts_.begin(), counts_.end());
  Blur(grid, width_, height_, sigma, true);
  Blur(grid, width_, height_, sigma, false);
  // The kernel sums to 1 over the cells: scale from per cell to per 100 m².
  for (float& v : grid) v *= static_cast<float>(CellsPer100SquareMetres);
  return grid;
}

double PeakDensity(const TDeathMap& deaths) {
  const std::vector<float> density = deaths.Density(SmoothingSigma);
  return density.empty() ? 0.0 : *std::max_element(density.begin(), density.end());
}

QImage DrawHeatmap(const QImage& map, const TDeathMap& deaths, int width, double peak,
                   const THeatmapOverlay& overlay, const std::vector<TPlace>& avoid) {
  QImage picture = map.convertToFormat(QImage::Format_RGB32);
  const std::vector<float> density = deaths.Density(SmoothingSigma);
  const double maxDensity =
      peak > 0 ? peak : density.empty() ? 0.0 : *std::max_element(density.begin(), density.end());
  for (int y = 0; y < picture.height(); ++y) {
    QRgb* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
    for (int x = 0; x < picture.width(); ++x) {
      row[x] = Dimmed(row[x]);
      if (maxDensity <= 0 || x >= deaths.Width() || y >= deaths.Height()) continue;
      const double t = density[static_cast<size_t>(y) * deaths.Width() + x] / maxDensity;
      // The faintest traces fade into the map instead of ending in an edge.
      if (t > 0.002) row[x] = Over(row[x], RampColour(t), std::min(1.0, 0.35 + t * 2.5) * std::min(1.0, t * 40));
    }
  }
  if (width < picture.width())
    picture = picture.scaledToWidth(width, Qt::SmoothTransformation);
  if (overlay) {
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    overlay(painter, static_cast<double>(picture.width()) / map.width());
  }
  DrawLegend(picture, maxDensity, deaths, avoid);
  return picture;
}

QByteArray PngBytes(const QImage& picture) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  picture.save(&buffer, "PNG");
  return bytes;
}

}  // namespace wendo_lab
