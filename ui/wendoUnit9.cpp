#include "wendoUnit9.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include <QAction>
#include <QAreaSeries>
#include <QBuffer>
#include <QChart>
#include <QChartView>
#include <QFileDialog>
#include <QFileInfo>
#include <QGraphicsItem>
#include <QImageWriter>
#include <QLegend>
#include <QLineSeries>
#include <QMenu>
#include <QPainter>
#include <QTimer>
#include <QVBoxLayout>
#include <QValueAxis>

#include "chart_csv.h"
#include "chart_sampling.h"
#include "dialog_style.h"
#include "error_report.h"
#include "picture_save.h"
#include "replacing_save.h"
#include "wymianadanych.h"

TForm9* Form9 = nullptr;

namespace {

// The lines' colours, in the order of ChartLines; the band a light orange.
const QColor LineColours[ChartLineCount] = {QColor(31, 119, 180), QColor(90, 90, 90), QColor(214, 39, 40),
                                            QColor(140, 86, 75), QColor(23, 190, 207)};
const QColor AlarmColour(255, 160, 40, 70);

// An axis from 0 to a round bound at or above `top` (and at least `least`),
// divided into three to five steps of 1, 2 or 5 times a power of ten. The
// bound moves in those steps, so a growing run refits the axes seldom.
void FitAxis(QValueAxis* axis, double top, double least) {
  const double v = std::max(top, least);
  const double raw = v / 5;
  const double p = std::pow(10.0, std::floor(std::log10(raw)));
  const double step = raw <= p ? p : raw <= 2 * p ? 2 * p : raw <= 5 * p ? 5 * p : 10 * p;
  const int steps = std::max(1, static_cast<int>(std::ceil(v / step - 1e-9)));
  if (axis->max() != steps * step || axis->min() != 0) axis->setRange(0, steps * step);
  if (axis->tickCount() != steps + 1) axis->setTickCount(steps + 1);
}

}  // namespace

// The alarm bands: one rectangle per band across the plot area's height,
// over the chart's background and under its grid and lines. An area series
// of many bands would do the same but repaints several times slower.
class TAlarmBandsItem : public QGraphicsItem {
 public:
  TAlarmBandsItem(QChart* chart, QAbstractSeries* onTimeAxis)
      : QGraphicsItem(chart), chart_(chart), series_(onTimeAxis) {
    setZValue(-0.5);  // the chart's background lies at -1, everything else at 0 and above
  }

  void SetBands(std::vector<TAlarmBand> bands) {
    bands_ = std::move(bands);
    Relayout();
  }
  const std::vector<TAlarmBand>& Bands() const { return bands_; }

  // The plot area or the time axis has changed.
  void Relayout() {
    prepareGeometryChange();
    update();
  }

  QRectF boundingRect() const override { return chart_->plotArea(); }

  void paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) override {
    const QRectF area = chart_->plotArea();
    for (const TAlarmBand& b : bands_) {
      const double from = chart_->mapToPosition(QPointF(b.FromMs / 1000.0, 0), series_).x();
      // A band of a single sample still shows, one pixel wide.
      const double to = std::max(chart_->mapToPosition(QPointF(b.ToMs / 1000.0, 0), series_).x(), from + 1);
      const QRectF band = QRectF(QPointF(from, area.top()), QPointF(to, area.bottom())) & area;
      if (!band.isEmpty()) painter->fillRect(band, AlarmColour);
    }
  }

 private:
  QChart* chart_;
  QAbstractSeries* series_;
  std::vector<TAlarmBand> bands_;
};

TForm9::TForm9(QWidget* parent) : QDialog(parent), ChooseFile(RunFileDialog) {
  FrameDialog(*this, QStringLiteral("Wykres"), Qt::WindowMaximizeButtonHint);
  // Right of the mini-map and above the statistics window, clear of every
  // other window's first place and inside a 1366 x 768 screen.
  resize(FirstWidth, FirstHeight);
  setMinimumSize(320, 200);
  move(FirstLeft, FirstTop);

  BuildChart();
  BuildMenu();
  SavePictureDialog1 = MakeSaveDialog(this, QStringLiteral("Zapisz obraz"),
                                      {QStringLiteral("Obrazy PNG (*.png)"), QStringLiteral("Wszystkie Pliki (*)")},
                                      QStringLiteral("png"));
  SaveDataDialog1 = MakeSaveDialog(this, QStringLiteral("Zapisz dane"),
                                   {QStringLiteral("Pliki CSV (*.csv)"), QStringLiteral("Wszystkie Pliki (*)")},
                                   QStringLiteral("csv"));

  viewTimer_ = new QTimer(this);
  viewTimer_->setInterval(ViewRefreshMs);
  connect(viewTimer_, &QTimer::timeout, this, [this] {
    if (history_.Revision() != shownRevision_) RefreshView();
  });

  Form9 = this;
}

TForm9::~TForm9() {
  if (Form9 == this) Form9 = nullptr;
}

void TForm9::BuildChart() {
  Chart1 = new QChart;
  Chart1->setAnimationOptions(QChart::NoAnimation);
  Chart1->legend()->setAlignment(Qt::AlignBottom);
  Chart1->legend()->setFont(font());
  Chart1->setMargins(QMargins(4, 4, 4, 4));

  TimeAxis = new QValueAxis;
  TimeAxis->setTitleText(QStringLiteral("Czas (s)"));
  TimeAxis->setLabelFormat(QStringLiteral("%.0f"));
  CountAxis = new QValueAxis;
  CountAxis->setLabelFormat(QStringLiteral("%.0f"));
  for (QValueAxis* axis : {TimeAxis, CountAxis}) {
    axis->setLabelsFont(font());
    axis->setTitleFont(font());
  }
  Chart1->addAxis(TimeAxis, Qt::AlignBottom);
  Chart1->addAxis(CountAxis, Qt::AlignLeft);

  for (int i = 0; i < ChartLineCount; ++i) {
    Lines[i] = new QLineSeries;
    Lines[i]->setName(QString::fromUtf8(ChartLines[i].Caption));
    Lines[i]->setPen(QPen(LineColours[i], 2));
    Chart1->addSeries(Lines[i]);
    Lines[i]->attachAxis(TimeAxis);
    Lines[i]->attachAxis(CountAxis);
  }
  AlarmLegend = new QAreaSeries(new QLineSeries(this));
  AlarmLegend->setName(QStringLiteral("Alarm"));
  AlarmLegend->setPen(Qt::NoPen);
  AlarmLegend->setBrush(AlarmColour);
  Chart1->addSeries(AlarmLegend);
  AlarmLegend->attachAxis(TimeAxis);
  AlarmLegend->attachAxis(CountAxis);
  bands_ = new TAlarmBandsItem(Chart1, Lines[0]);
  connect(Chart1, &QChart::plotAreaChanged, this, [this] { bands_->Relayout(); });
  FitAxis(TimeAxis, 0, 10);
  FitAxis(CountAxis, 0, 5);

  ChartView1 = new QChartView(Chart1, this);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(ChartView1);
}

void TForm9::BuildMenu() {
  PopupMenu1 = new QMenu(this);
  ZapiszObraz1 = PopupMenu1->addAction(QStringLiteral("Zapisz obraz…"));
  ZapiszDane1 = PopupMenu1->addAction(QStringLiteral("Zapisz dane…"));
  connect(ZapiszObraz1, &QAction::triggered, this, &TForm9::ZapiszObraz1Click);
  connect(ZapiszDane1, &QAction::triggered, this, &TForm9::ZapiszDane1Click);
  ChartView1->setContextMenuPolicy(Qt::CustomContextMenu);
  // A scroll area reports the position in its viewport's coordinates.
  connect(ChartView1, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { PopupMenu1->popup(ChartView1->viewport()->mapToGlobal(at)); });
}

void TForm9::ClearChart() { history_.Clear(); }

void TForm9::TakeSample() { history_.Add(ReadChartSample(wymianadanych::World)); }

void TForm9::RefreshView() {
  shownRevision_ = history_.Revision();
  const std::vector<TChartSample>& samples = history_.Samples();
  const double lastS = samples.empty() ? 0 : samples.back().ElapsedMs / 1000.0;
  int32_t top = 0;
  for (const TChartSample& s : samples)
    for (const TChartLine& line : ChartLines) top = std::max(top, s.*line.Value);
  FitAxis(TimeAxis, lastS, 10);
  FitAxis(CountAxis, top, 5);

  // Each series takes all its points at once: one redraw per series.
  QList<QPointF> points(static_cast<qsizetype>(samples.size()));
  for (int i = 0; i < ChartLineCount; ++i) {
    for (size_t k = 0; k < samples.size(); ++k)
      points[static_cast<qsizetype>(k)] = QPointF(samples[k].ElapsedMs / 1000.0, samples[k].*ChartLines[i].Value);
    Lines[i]->replace(points);
  }
  bands_->SetBands(history_.AlarmBands());
}

const std::vector<TAlarmBand>& TForm9::ShownBands() const { return bands_->Bands(); }

void TForm9::showEvent(QShowEvent* event) {
  RefreshView();
  viewTimer_->start();
  QDialog::showEvent(event);
}

void TForm9::hideEvent(QHideEvent* event) {
  viewTimer_->stop();
  QDialog::hideEvent(event);
}

void TForm9::ZapiszObraz1Click() {
  Guarded([this] {
    const QString path = ChooseFileWith(ChooseFile, *SavePictureDialog1);
    if (path.isEmpty()) return;
    RefreshView();
    GuardedSave(path, [&] { SaveWidgetPicture(*ChartView1, path); });
  });
}

void TForm9::ZapiszDane1Click() {
  Guarded([this] {
    const QString path = ChooseFileWith(ChooseFile, *SaveDataDialog1);
    if (path.isEmpty()) return;
    GuardedSave(path, [&] { SaveReplacing(path, ChartCsv(history_.Samples())); });
  });
}
