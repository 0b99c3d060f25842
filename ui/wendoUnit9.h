// The chart window: the counters of the run over simulated time, with the
// sighting alarm as shaded bands; its points can be saved as a picture or
// as comma-separated data.
#pragma once

#include <QDialog>

#include "chart_history.h"
#include "file_choice.h"

class QAction;
class QAreaSeries;
class TAlarmBandsItem;
class QChart;
class QChartView;
class QFileDialog;
class QLineSeries;
class QMenu;
class QTimer;
class QValueAxis;

class TForm9 : public QDialog {
  Q_OBJECT

 public:
  // The view follows the points at most this often, and only while shown:
  // a long run's redraw is then no burden on the user interface.
  static constexpr int ViewRefreshMs = 500;
  // The first place and size: the frame ends left of x = 1366 and above
  // the statistics window (y = 290).
  static constexpr int FirstLeft = 800, FirstTop = 8, FirstWidth = 550, FirstHeight = 250;

  explicit TForm9(QWidget* parent = nullptr);
  ~TForm9() override;

  // Forgets every point (a fresh start).
  void ClearChart();
  // Adds a point read from the world's counters (the main window's tick);
  // the view shows it at its next refresh.
  void TakeSample();
  // Puts every point into the series in one go and fits the axes.
  void RefreshView();

  const TChartHistory& History() const { return history_; }

  void ZapiszObraz1Click();  // "Zapisz obraz…": the chart as a PNG picture
  void ZapiszDane1Click();   // "Zapisz dane…": the points as CSV

  QChartView* ChartView1;
  QChart* Chart1;
  QValueAxis* TimeAxis;   // seconds of simulated time
  QValueAxis* CountAxis;  // the counters
  QLineSeries* Lines[ChartLineCount];
  // Without points: it gives the alarm bands their legend entry.
  QAreaSeries* AlarmLegend;
  // The bands as the view shows them.
  const std::vector<TAlarmBand>& ShownBands() const;
  QMenu* PopupMenu1;
  QAction* ZapiszObraz1;
  QAction* ZapiszDane1;

  // Kept for the window's life, so each proposes the name last chosen in it.
  QFileDialog* SavePictureDialog1;
  QFileDialog* SaveDataDialog1;
  TFileChooser ChooseFile;

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void BuildChart();
  void BuildMenu();

  TChartHistory history_;
  TAlarmBandsItem* bands_;
  QTimer* viewTimer_;
  uint64_t shownRevision_ = 0;
};

extern TForm9* Form9;
