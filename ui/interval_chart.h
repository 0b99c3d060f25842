// Lines of means, each point with its 95% interval drawn as a vertical bar
// in its line's colour: the chart of the "Eksperyment" window and the
// "how many" chart of the "Doradca" window.
#pragma once

#include <QLocale>
#include <QString>
#include <vector>

#include "summary.h"

class QChart;

struct TIntervalPoint {
  double X = 0;
  wendo_lab::TStatistic Value;  // not drawn with N = 0; its bar with N > 1
};

struct TIntervalLine {
  QString Name;
  std::vector<TIntervalPoint> Points;  // by X
};

struct TIntervalAxis {
  QString Title;
  // Every value the x axis stands for, drawn or not yet, in order: up to
  // 11 evenly spaced values get a tick each, under their points.
  std::vector<double> Values;
};

// Replaces the chart's series and axes by `lines` (a bar without a legend
// entry), the x axis as `axis` tells, the y axis from 0, since every
// outcome shown is at least 0.
void DrawIntervalLines(QChart& chart, const std::vector<TIntervalLine>& lines, const TIntervalAxis& axis);

// "1,25 – 3,50" in `locale`, empty without an interval (N < 2).
QString IntervalText(const QLocale& locale, const wendo_lab::TStatistic& value, int decimals = 2);
