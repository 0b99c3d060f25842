#include "layout_picture.h"

#include <QPen>
#include <algorithm>

namespace wendo_lab {

void DrawLayout(QPainter& painter, double scale, const TScenarioSetup& layout, size_t ownObservers, size_t ownBoats) {
  painter.save();
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
    painter.setPen(QPen(c, std::max(1.0, 2 * scale)));
    painter.drawLine(at(b.HomeX, b.HomeY), at(b.PatrolX, b.PatrolY));
    painter.setPen(Qt::NoPen);
    painter.setBrush(c);
    const QPointF home = at(b.HomeX, b.HomeY);
    painter.drawRect(QRectF(home.x() - mark, home.y() - mark, 2 * mark, 2 * mark));
    painter.drawEllipse(at(b.PatrolX, b.PatrolY), mark * 0.8, mark * 0.8);
  }
  painter.restore();
}

}  // namespace wendo_lab
