#include "how_many_plot.h"

#include <QFont>
#include <QPainter>
#include <algorithm>
#include <array>
#include <cmath>

#include "csv.h"

namespace wendo_lab {

namespace {

constexpr int PanelWidth = 520, PanelHeight = 380, Margin = 60;

// Line colours that stay apart in grey and for the colour-blind (Okabe–Ito).
constexpr std::array<QRgb, 6> Colours = {qRgb(0, 114, 178),  qRgb(230, 159, 0), qRgb(0, 158, 115),
                                         qRgb(204, 121, 167), qRgb(86, 180, 233), qRgb(213, 94, 0)};

struct TPoint {
  int Posts = 0, Boats = 0;
  double Value = 0, Low = 0, High = 0;
  bool Known = false;
};

// One panel: axes, ticks and every posts count's line with its bars.
// Four ticks of a round step that reach `highest`.
double RoundTop(double highest) {
  if (!(highest > 0)) return 1;
  const double quarter = highest / 4, magnitude = std::pow(10.0, std::floor(std::log10(quarter)));
  for (double m : {1.0, 1.5, 2.0, 2.5, 3.0, 4.0, 5.0, 6.0, 8.0, 10.0})
    if (m * magnitude >= quarter) return 4 * m * magnitude;
  return 40 * magnitude;
}

// One panel: axes, ticks and every posts count's line with its bars; the
// axis reaches `top`, or the highest bar when it is 0.
void DrawPanel(QPainter& painter, const QRect& area, const std::vector<TPoint>& points, const QString& title,
               int minBoats, int maxBoats, double top = 0) {
  if (top <= 0) {
    for (const TPoint& p : points)
      if (p.Known) top = std::max({top, p.High, p.Value});
    top = RoundTop(top);
  }
  const QRect plot = area.adjusted(Margin, 30, -10, -40);
  // A third of a step of room at either end, so that no bar meets the frame.
  auto x = [&](double boats) {
    const double span = std::max(1, maxBoats - minBoats) + 2.0 / 3;
    return plot.left() + (boats - minBoats + 1.0 / 3) * plot.width() / span;
  };
  auto y = [&](double v) { return plot.bottom() - std::clamp(v, 0.0, top) / top * plot.height(); };
  painter.setPen(Qt::black);
  painter.setBrush(Qt::NoBrush);
  painter.drawText(QRect(area.left(), area.top(), area.width(), 24), Qt::AlignCenter, title);
  painter.drawRect(plot);
  for (int b = minBoats; b <= maxBoats; ++b) {
    painter.drawLine(QPointF(x(b), plot.bottom()), QPointF(x(b), plot.bottom() + 4));
    painter.drawText(QRectF(x(b) - 20, plot.bottom() + 6, 40, 16), Qt::AlignCenter, QString::number(b));
  }
  painter.drawText(QRect(plot.left(), plot.bottom() + 20, plot.width(), 18), Qt::AlignCenter,
                   QStringLiteral("boats added"));
  for (int i = 0; i <= 4; ++i) {
    const double v = top * i / 4;
    painter.drawLine(QPointF(plot.left() - 4, y(v)), QPointF(plot.left(), y(v)));
    painter.drawText(QRectF(area.left(), y(v) - 8, Margin - 8, 16), Qt::AlignRight | Qt::AlignVCenter,
                     QString::fromStdString(FixedText(v, top <= 4 ? 2 : top < 40 ? 1 : 0)));
  }
  int posts = -1;
  for (const TPoint& p : points) posts = std::max(posts, p.Posts);
  for (int k = 0; k <= posts; ++k) {
    const QColor colour(Colours[static_cast<size_t>(k) % Colours.size()]);
    painter.setPen(QPen(colour, 2));
    const TPoint* last = nullptr;
    const double nudge = (k - posts / 2.0) * 4;  // the bars of different lines side by side
    for (const TPoint& p : points) {
      if (p.Posts != k || !p.Known) continue;
      const QPointF at(x(p.Boats) + nudge, y(p.Value));
      if (last) painter.drawLine(QPointF(x(last->Boats) + nudge, y(last->Value)), at);
      painter.drawLine(QPointF(at.x(), y(p.Low)), QPointF(at.x(), y(p.High)));
      painter.drawLine(QPointF(at.x() - 4, y(p.Low)), QPointF(at.x() + 4, y(p.Low)));
      painter.drawLine(QPointF(at.x() - 4, y(p.High)), QPointF(at.x() + 4, y(p.High)));
      painter.setBrush(colour);
      painter.drawEllipse(at, 3.5, 3.5);
      painter.setBrush(Qt::NoBrush);
      last = &p;
    }
  }
}

}  // namespace

QImage HowManyPlot(const THowMany& table) {
  QImage picture(2 * PanelWidth, PanelHeight + 40, QImage::Format_RGB32);
  picture.fill(Qt::white);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(13);
  painter.setFont(font);
  std::vector<TPoint> risk, open;
  int minBoats = 1 << 20, maxBoats = 0, maxPosts = 0;
  for (const THowManyRow& r : table.Rows) {
    const TRatioEstimate& e = r.Outcome.Risk;
    risk.push_back({r.Observers, r.Boats, e.Ratio, e.IntervalKnown ? e.CiLow : e.Ratio,
                    e.IntervalKnown ? e.CiHigh : e.Ratio, e.Known});
    const TStatistic& s = r.Outcome.OpenShare;
    open.push_back({r.Observers, r.Boats, s.Mean, s.N > 1 ? s.CiLow : s.Mean, s.N > 1 ? s.CiHigh : s.Mean, s.N > 0});
    minBoats = std::min(minBoats, r.Boats);
    maxBoats = std::max(maxBoats, r.Boats);
    maxPosts = std::max(maxPosts, r.Observers);
  }
  if (table.Rows.empty()) minBoats = 0;
  DrawPanel(painter, QRect(0, 0, PanelWidth, PanelHeight), risk,
            QStringLiteral("risk: people eaten per 1,000 swim-hours (95% CI)"), minBoats, maxBoats);
  DrawPanel(painter, QRect(PanelWidth, 0, PanelWidth, PanelHeight), open,
            QStringLiteral("open share: time without an alarm (95% CI)"), minBoats, maxBoats, 1.0);
  // The legend under the panels, one entry per number of posts.
  int left = Margin;
  for (int k = 0; k <= maxPosts; ++k) {
    const QColor colour(Colours[static_cast<size_t>(k) % Colours.size()]);
    painter.setPen(QPen(colour, 3));
    painter.drawLine(left, PanelHeight + 18, left + 24, PanelHeight + 18);
    painter.setPen(Qt::black);
    const QString label = QStringLiteral("%1 post%2 added").arg(k).arg(k == 1 ? "" : "s");
    painter.drawText(left + 30, PanelHeight + 23, label);
    left += 40 + painter.fontMetrics().horizontalAdvance(label);
  }
  return picture;
}

}  // namespace wendo_lab
