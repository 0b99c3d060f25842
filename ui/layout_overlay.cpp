#include "layout_overlay.h"

#include <QPainter>

namespace {

void DrawObjects(QPainter& painter, const TLayoutObjects& objects, const QColor& colour, Qt::PenStyle style) {
  QPen pen(colour, 2, style);
  painter.setPen(pen);
  painter.setBrush(Qt::NoBrush);
  for (const wymianadanych::TObserwator& o : objects.Observers) {
    const QPointF at(o.X, o.Y);
    painter.drawEllipse(at, o.Range, o.Range);
    painter.drawRect(QRectF(at.x() - 5, at.y() - 5, 10, 10));
  }
  for (const wymianadanych::TLodz& b : objects.Boats) {
    const QPointF home(b.HomeX, b.HomeY), patrol(b.PatrolX, b.PatrolY);
    painter.drawLine(home, patrol);
    painter.drawEllipse(home, 6, 6);
    painter.drawLine(patrol + QPointF(-6, -6), patrol + QPointF(6, 6));
    painter.drawLine(patrol + QPointF(-6, 6), patrol + QPointF(6, -6));
  }
}

}  // namespace

void DrawLayoutOverlay(QImage& frame, const TLayoutOverlay& overlay, int64_t viewLeft, int64_t viewTop) {
  QPainter painter(&frame);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.translate(static_cast<double>(-viewLeft), static_cast<double>(-viewTop));
  if (overlay.ShowNaive) DrawObjects(painter, overlay.Naive, NaiveColour, Qt::DashLine);
  DrawObjects(painter, overlay.Advised, AdvisedColour, Qt::SolidLine);
}
