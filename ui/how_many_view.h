// The "how many" answer in the "Doradca" window: one table row per
// combination of counts (the outcomes on the held-out seeds with their
// intervals, and what one more post or boat changes), and a chart of the
// objective against the number of boats, one line per number of
// observation points, each point with its 95% interval.
#pragma once

#include <QWidget>

#include "how_many.h"

class QTableWidget;
class QChartView;

class THowManyView : public QWidget {
  Q_OBJECT

 public:
  explicit THowManyView(QWidget* parent = nullptr);

  // Shows the table and the chart of `table` for `objective`; rows of
  // combinations not yet checked are left out.
  void Show(const wendo_lab::THowMany& table, wendo_lab::TObjective objective);
  void Clear();
  // The chart as a picture, for "Zapisz wykres…".
  QImage ChartPicture() const;

  QTableWidget* Table;
  QChartView* Chart;
};
