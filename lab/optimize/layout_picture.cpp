#include "layout_picture.h"

#include <QPen>
#include <algorithm>
#include <cmath>

namespace wendo_lab {

namespace {

// Each cell where a boat was, cyan, more opaque where it was more often.
void DrawPlaces(QPainter& painter, double scale, const TDeathMap& places) {
  const std::vector<uint32_t>& counts = places.Counts();
  const uint32_t most = counts.empty() ? 0 : *std::max_element(counts.begin(), counts.end());
  if (most == 0) return;
  QImage haze(places.Width(), places.Height(), QImage::Format_ARGB32);
  haze.fill(Qt::transparent);
  const double top = std::log1p(static_cast<double>(most));
  for (int y = 0; y < places.Height(); ++y)
    for (int x = 0; x < places.Width(); ++x)
      if (const uint32_t c = counts[static_cast<size_t>(y) * places.Width() + x])
        haze.setPixel(x, y, qRgba(120, 230, 255, static_cast<int>(60 + 195 * std::log1p(double(c)) / top)));
  painter.drawImage(QRectF(0, 0, places.Width() * scale, places.Height() * scale), haze);
}

}  // namespace

std::vector<TPlace> ObjectPlaces(const TScenarioSetup& layout) {
  std::vector<TPlace> places;
  auto add = [&](int32_t x, int32_t y) { places.push_back({static_cast<int16_t>(x), static_cast<int16_t>(y)}); };
  for (const auto& o : layout.Scenario.Observers) add(o.X, o.Y);
  for (const auto& b : layout.Scenario.Boats) {
    add(b.HomeX, b.HomeY);
    add(b.PatrolX, b.PatrolY);
  }
  return places;
}

void DrawLayout(QPainter& painter, double scale, const TScenarioSetup& layout, size_t ownObservers, size_t ownBoats,
                const TDeathMap* boatPlaces) {
  painter.save();
  if (boatPlaces) DrawPlaces(painter, scale, *boatPlaces);
  const double mark = std::max(2.0, 5 * scale);
  auto colour = [](bool own) { return own ? QColor(170, 170, 170) : QColor(255, 255, 255); };
  auto at = [&](int32_t x, int32_t y) { return QPointF((x + 0.5) * scale, (y + 0.5) * scale); };
  for (size_t i = 0; i < layout.Scenario.Observers.size(); ++i) {
    const auto& o = layout.Scenario.Observers[i];
    const QColor c = colour(i < ownObservers);
    painter.setPen(QPen(c, std::max(1.0, 1.5 * scale), Qt::DashLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(at(o.X, o.Y), o.Range * scale, o.Range * scale);
    painter.setPen(Qt::NoPen);
    painter.setBrush(c);
    painter.drawEllipse(at(o.X, o.Y), mark, mark);
  }
  for (size_t i = 0; i < layout.Scenario.Boats.size(); ++i) {
    const auto& b = layout.Scenario.Boats[i];
    const QColor c = colour(i < ownBoats);
    if (!boatPlaces) {
      painter.setPen(QPen(c, std::max(1.0, 2 * scale)));
      painter.drawLine(at(b.HomeX, b.HomeY), at(b.PatrolX, b.PatrolY));
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(c);
    const QPointF home = at(b.HomeX, b.HomeY);
    painter.drawRect(QRectF(home.x() - mark, home.y() - mark, 2 * mark, 2 * mark));
    painter.drawEllipse(at(b.PatrolX, b.PatrolY), mark * 0.8, mark * 0.8);
  }
  painter.restore();
}

}  // namespace wendo_lab
