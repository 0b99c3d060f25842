#include "interval_chart.h"

#include <QChart>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPen>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

using wendo_lab::TStatistic;

namespace {

bool EvenlySpaced(const std::vector<double>& values) {
  if (values.size() < 2 || values.size() > 11) return false;
  const double step = values[1] - values[0];
  if (step <= 0) return false;
  for (size_t i = 2; i < values.size(); ++i)
    if (std::abs(values[i] - values[i - 1] - step) > step * 1e-9) return false;
  return true;
}

}  // namespace

void DrawIntervalLines(QChart& chart, const std::vector<TIntervalLine>& lines, const TIntervalAxis& axis) {
  chart.removeAllSeries();
  for (QAbstractAxis* old : chart.axes()) {
    chart.removeAxis(old);
    delete old;
  }
  auto* x = new QValueAxis;
  auto* y = new QValueAxis;
  x->setTitleText(axis.Title);
  x->setLabelFormat(QStringLiteral("%.0f"));
  // The numbers as the windows write them: "2,5", not "2.5".
  chart.setLocale(QLocale(QLocale::Polish, QLocale::Poland));
  chart.setLocalizeNumbers(true);
  chart.addAxis(x, Qt::AlignBottom);
  chart.addAxis(y, Qt::AlignLeft);
  double high = 0, left = 0, right = 0;
  bool any = false;
  std::vector<std::pair<QLineSeries*, const TIntervalPoint*>> bars;
  for (const TIntervalLine& l : lines) {
    auto* line = new QLineSeries;
    line->setPointsVisible(true);
    line->setName(l.Name);
    for (const TIntervalPoint& p : l.Points) {
      const TStatistic& v = p.Value;
      if (v.N == 0) continue;
      line->append(p.X, v.Mean);
      if (v.N > 1) bars.push_back({line, &p});
      const double top = v.N > 1 ? std::max(v.Mean, v.CiHigh) : v.Mean;
      high = any ? std::max(high, top) : top;
      left = any ? std::min(left, p.X) : p.X;
      right = any ? std::max(right, p.X) : p.X;
      any = true;
    }
    chart.addSeries(line);
    line->attachAxis(x);
    line->attachAxis(y);
  }
  for (auto& [line, p] : bars) {
    auto* bar = new QLineSeries;
    bar->append(p->X, p->Value.CiLow);
    bar->append(p->X, p->Value.CiHigh);
    QPen pen = line->pen();
    pen.setWidthF(1.5);
    bar->setPen(pen);
    chart.addSeries(bar);
    bar->attachAxis(x);
    bar->attachAxis(y);
    for (QLegendMarker* marker : chart.legend()->markers(bar)) marker->setVisible(false);
  }
  if (!any) return;
  if (EvenlySpaced(axis.Values)) {
    // Half a step of room at each end, so the first and last bars stand
    // clear of the frame.
    const double step = axis.Values[1] - axis.Values[0];
    x->setRange(axis.Values.front() - step / 2, axis.Values.back() + step / 2);
    x->setTickType(QValueAxis::TicksDynamic);
    x->setTickAnchor(axis.Values.front());
    x->setTickInterval(step);
  } else {
    x->setRange(left - 1, right + 1);
    x->applyNiceNumbers();
  }
  // An interval reaching below 0 is cut there.
  y->setRange(0, high * 1.05 + (high == 0 ? 1 : 0));
  y->applyNiceNumbers();
}

QString IntervalText(const QLocale& locale, const TStatistic& value, int decimals) {
  if (value.N < 2) return QString();
  return QStringLiteral("%1 – %2").arg(locale.toString(value.CiLow, 'f', decimals),
                                       locale.toString(value.CiHigh, 'f', decimals));
}
