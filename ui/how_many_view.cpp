#include "how_many_view.h"

#include <QChart>
#include <QChartView>
#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <map>

#include "interval_chart.h"

using namespace wendo_lab;

namespace {

const QLocale Polish{QLocale::Polish, QLocale::Poland};

// "0 punktów", "1 punkt", "3 punkty", "12 punktów".
QString Posts(int n) {
  const int tens = n % 100, ones = n % 10;
  const char* word = n == 1 ? "punkt" : (ones >= 2 && ones <= 4 && (tens < 12 || tens > 14)) ? "punkty" : "punktów";
  return QStringLiteral("%1 %2").arg(n).arg(QString::fromUtf8(word));
}

QString ObjectiveCaption(TObjective objective) {
  return objective == TObjective::Eaten ? QStringLiteral("Zjedzeni ludzie")
                                        : QStringLiteral("Ryzyko na 1000 godzin pływania");
}

}  // namespace

THowManyView::THowManyView(QWidget* parent) : QWidget(parent) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  Table = new QTableWidget(this);
  Table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  Table->verticalHeader()->setVisible(false);
  Table->setColumnCount(14);
  Table->setHorizontalHeaderLabels(
      {QStringLiteral("Punkty"), QStringLiteral("Łodzie"), QStringLiteral("Zjedzeni ludzie"),
       QStringLiteral("95% przedział"), QStringLiteral("Godziny pływania"), QStringLiteral("95% przedział"),
       QStringLiteral("Udział czasu otwartej plaży"), QStringLiteral("95% przedział"),
       QStringLiteral("Ryzyko na 1000 godzin pływania"), QStringLiteral("95% przedział"),
       QStringLiteral("Jeden punkt więcej"), QStringLiteral("95% przedział"), QStringLiteral("Jedna łódź więcej"),
       QStringLiteral("95% przedział")});
  auto* chart = new QChart;
  chart->legend()->setAlignment(Qt::AlignBottom);
  Chart = new QChartView(chart, this);
  Chart->setRenderHint(QPainter::Antialiasing);
  layout->addWidget(Table, 1);
  layout->addWidget(Chart, 2);
}

void THowManyView::Show(const THowMany& table, TObjective objective) {
  std::vector<const THowManyRow*> rows;
  for (const THowManyRow& r : table.Rows)
    if (!r.Outcome.Runs.empty()) rows.push_back(&r);
  // An interrupted search leaves its rows in the order they were checked.
  std::stable_sort(rows.begin(), rows.end(), [](const THowManyRow* a, const THowManyRow* b) {
    return a->Observers != b->Observers ? a->Observers < b->Observers : a->Boats < b->Boats;
  });

  Table->clearContents();
  Table->setRowCount(static_cast<int>(rows.size()));
  for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
    const THowManyRow& r = *rows[static_cast<size_t>(i)];
    const TLayoutOutcome& o = r.Outcome;
    const TStatistic risk = ObjectiveOf(o, TObjective::Risk);
    int column = 0;
    auto set = [&](const QString& text) {
      auto* item = new QTableWidgetItem(text);
      if (r.NoneKeptSwimming)
        item->setToolTip(QStringLiteral("Żaden sprawdzony układ nie zachował wymaganej części pływania; "
                                        "to ten, który zachował jej najwięcej."));
      Table->setItem(i, column++, item);
    };
    auto mean = [&](const std::optional<TStatistic>& s, int decimals) {
      set(s && s->N > 0 ? Polish.toString(s->Mean, 'f', decimals) : QString());
      set(s ? IntervalText(Polish, *s, decimals) : QString());
    };
    set(Polish.toString(r.Observers));
    set(Polish.toString(r.Boats));
    mean(o.Eaten, 2);
    mean(o.SwimHours, 1);
    mean(o.OpenShare, 3);
    mean(risk, 2);
    mean(r.OneMorePost, 2);
    mean(r.OneMoreBoat, 2);
  }
  Table->resizeColumnsToContents();

  // One line per number of posts, the objective against the boats.
  std::map<int, TIntervalLine> lines;
  TIntervalAxis axis{QStringLiteral("Łodzie"), {}};
  for (const THowManyRow* r : rows) {
    TIntervalLine& line = lines[r->Observers];
    line.Name = Posts(r->Observers);
    line.Points.push_back({static_cast<double>(r->Boats), ObjectiveOf(r->Outcome, objective)});
    axis.Values.push_back(r->Boats);
  }
  std::sort(axis.Values.begin(), axis.Values.end());
  axis.Values.erase(std::unique(axis.Values.begin(), axis.Values.end()), axis.Values.end());
  std::vector<TIntervalLine> drawn;
  for (auto& [posts, line] : lines) drawn.push_back(std::move(line));
  Chart->chart()->setTitle(ObjectiveCaption(objective));
  DrawIntervalLines(*Chart->chart(), drawn, axis);
}

void THowManyView::Clear() {
  Table->clearContents();
  Table->setRowCount(0);
  Chart->chart()->setTitle(QString());
  DrawIntervalLines(*Chart->chart(), {}, {});
}

QImage THowManyView::ChartPicture() const { return Chart->grab().toImage(); }
