// The chart window: its place and menu, the points the main window's tick
// feeds it through a run's states, the lines against the counters of a
// scripted run, and saving the picture and the data.
#include <gtest/gtest.h>

#include <QAction>
#include <QAreaSeries>
#include <QChartView>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QImageReader>
#include <QLineSeries>
#include <QMenu>
#include <QTemporaryDir>
#include <QTimer>
#include <QValueAxis>

#include "ideal_clock_run.h"
#include "pictures.h"
#include "program_fixture.h"
#include "simulation.h"
#include "wendoUnit9.h"
#include "world_fixture.h"

using dialog_tests::MessageCapture;
using wymianadanych::World;

namespace {

class ChartWindow : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    OpenProgram();
    form->Timer2()->stop();  // the test ticks itself
    ASSERT_TRUE(dir.isValid());
  }

  // Every file dialog is answered with `path`.
  void AnswerDialogs(const QString& path) {
    Form9->ChooseFile = [path](QFileDialog&) { return path; };
  }

  static void SetCounters(int32_t elapsedMs, int32_t people) {
    std::lock_guard guard(World.Lock);
    World.ElapsedMs = elapsedMs;
    World.PersonCount = people;
  }

  // The points of line `line` as the view shows them.
  static QList<QPointF> Shown(int line) {
    Form9->RefreshView();
    return Form9->Lines[line]->points();
  }

  static QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  MessageCapture capture;
  QTemporaryDir dir;
};

// Water on the map picture: blue or aqua.
bool WaterPixel(int32_t x, int32_t y) {
  const QRgb c = MapPicture.pixel(x, y) & 0xFFFFFF;
  return c == 0x0000FF || c == 0x00FFFF;
}

}  // namespace

TEST_F(ChartWindow, PlaceMenuAndLegend) {
  ASSERT_NE(Form9, nullptr);
  EXPECT_FALSE(Form9->isVisible());
  EXPECT_EQ(Form9->windowTitle(), QStringLiteral("Wykres"));
  // Its first place fits a 1366 x 768 screen, frame included.
  EXPECT_EQ(Form9->pos(), QPoint(800, 8));
  EXPECT_LE(Form9->x() + Form9->width() + 16, 1366);
  EXPECT_LE(Form9->y() + Form9->height() + 40, 768);
  EXPECT_NE(Form9->minimumSize(), Form9->maximumSize());
  EXPECT_EQ(Form9->TimeAxis->titleText(), QStringLiteral("Czas (s)"));
  QStringList names;
  for (QLineSeries* line : Form9->Lines) names << line->name();
  EXPECT_EQ(names, (QStringList{"Ludzie", "Martwi ludzie", "Rekiny", "Martwe rekiny", QStringLiteral("Pływający")}));
  EXPECT_EQ(Form9->AlarmLegend->name(), QStringLiteral("Alarm"));

  World.SimStepMs = 100000000;
  form->Wznow1Click();
  form->Wykres1->trigger();
  EXPECT_TRUE(Form9->isVisible());
  EXPECT_EQ(Form9->ChartView1->contextMenuPolicy(), Qt::CustomContextMenu);
  emit Form9->ChartView1->customContextMenuRequested(QPoint(20, 20));
  EXPECT_TRUE(Form9->PopupMenu1->isVisible());
  Form9->PopupMenu1->close();
  QStringList items;
  for (const QAction* a : Form9->PopupMenu1->actions()) items << a->text();
  EXPECT_EQ(items, (QStringList{QStringLiteral("Zapisz obraz…"), QStringLiteral("Zapisz dane…")}));
  form->Zakoncz1Click();
}

TEST_F(ChartWindow, FreshStartClearsThePointsPausesAndTheEndKeepThem) {
  World.SimStepMs = World.PersonArrivalS = World.SharkArrivalS = 100000000;  // nothing ever due
  form->Wznow1Click();
  EXPECT_EQ(Shown(0), (QList<QPointF>{{0, 0}}));
  SetCounters(1000, 3);
  form->Timer2Timer();
  form->Timer2Timer();  // the same time: no second point for it
  EXPECT_EQ(Shown(0), (QList<QPointF>{{0, 0}, {1, 3}}));

  form->Wstrzymaj1Click();
  SetCounters(1200, 5);  // as if changed while paused: not sampled
  form->Timer2Timer();
  EXPECT_EQ(Shown(0), (QList<QPointF>{{0, 0}, {1, 3}}));
  SetCounters(1000, 3);  // the paused world as it stood
  form->Wznow1Click();
  SetCounters(1500, 4);
  form->Timer2Timer();
  const QList<QPointF> run = {{0, 0}, {1, 3}, {1.5, 4}};
  EXPECT_EQ(Shown(0), run);

  form->Zakoncz1Click();
  SetCounters(1500, 9);  // as if changed after the end: no longer followed
  form->Timer2Timer();
  EXPECT_EQ(Shown(0), run);

  form->Wznow1Click();  // a fresh start resets the counters and the chart
  EXPECT_EQ(Shown(0), (QList<QPointF>{{0, 0}}));
  form->Zakoncz1Click();
  EXPECT_TRUE(capture.errors.empty());
}

TEST_F(ChartWindow, LinesFollowTheCountersOfAScriptedRun) {
  // One short-sighted guard and a boat for many sharks: the run has alarms,
  // swimmers and deaths.
  wendo_test::AddObserver(World, 380, 900, 100);
  wendo_test::AddBoat(World, 200, 800, 100, 900, 40, 120);
  World.PersonArrivalS = 1;
  World.PersonMax = 300;
  World.SharkArrivalS = 1;
  World.SharkMax = 20;
  World.Random.Seed = 7;

  // Two minutes on an ideal clock, a sample after every 100 ms, as the
  // main window's tick takes them.
  wymianadanych::TSimulationTicks ticks;
  wymianadanych::StartRun(World, ticks, 0, true);
  Form9->ClearChart();
  std::vector<TChartSample> expected;
  for (uint32_t at = 0; at < 120000; at += 100) {
    wymianadanych::RunOnIdealClock(World, ticks, at, 100, [](uint32_t, unsigned) {});
    Form9->TakeSample();
    TChartSample s{World.ElapsedMs, World.PersonCount, World.DeadPeople, World.SharkCount, World.DeadSharks, 0,
                   World.SharkAlarm};
    for (const auto& p : World.People) s.Swimmers += !p.Dead && WaterPixel(p.X, p.Y);
    // A tick without a step since the last one updates that point.
    if (!expected.empty() && expected.back().ElapsedMs == s.ElapsedMs)
      expected.back() = s;
    else
      expected.push_back(s);
  }
  // The run must show what the lines are for.
  ASSERT_GT(expected.back().DeadPeople, 0);
  ASSERT_GT(std::count_if(expected.begin(), expected.end(), [](auto& s) { return !s.Alarm; }), 0);
  ASSERT_GT(std::count_if(expected.begin(), expected.end(), [](auto& s) { return s.Alarm; }), 0);
  ASSERT_GT(std::max_element(expected.begin(), expected.end(), [](auto& a, auto& b) { return a.Swimmers < b.Swimmers; })
                ->Swimmers,
            0);

  for (int line = 0; line < ChartLineCount; ++line) {
    const QList<QPointF> shown = Shown(line);
    ASSERT_EQ(shown.size(), static_cast<qsizetype>(expected.size())) << line;
    for (size_t k = 0; k < expected.size(); ++k) {
      ASSERT_EQ(shown[k].x(), expected[k].ElapsedMs / 1000.0) << line << " " << k;
      ASSERT_EQ(shown[k].y(), expected[k].*ChartLines[line].Value) << line << " " << k;
    }
  }
  // A time with the alarm up lies in a band; one without it is at most a
  // band's end.
  const auto& bands = Form9->ShownBands();
  for (const TChartSample& s : expected) {
    const bool inside = std::any_of(bands.begin(), bands.end(), [&](const TAlarmBand& b) {
      return b.FromMs <= s.ElapsedMs && s.ElapsedMs < b.ToMs;
    });
    const bool lastUp = !bands.empty() && bands.back().ToMs == s.ElapsedMs && s.Alarm;
    EXPECT_EQ(inside || lastUp, s.Alarm) << s.ElapsedMs;
  }
}

TEST_F(ChartWindow, SavesThePictureAndTheDataOrReportsWhyNot) {
  Form9->ClearChart();
  SetCounters(0, 1);
  Form9->TakeSample();
  SetCounters(2500, 6);
  {
    std::lock_guard guard(World.Lock);
    World.DeadPeople = 1;
    World.SharkCount = 2;
  }
  Form9->TakeSample();

  const QString csv = dir.filePath(QStringLiteral("wykres.csv"));
  AnswerDialogs(csv);
  Form9->ZapiszDane1->trigger();
  EXPECT_EQ(Contents(csv), QByteArray("Czas (s),Ludzie,Martwi ludzie,Rekiny,Martwe rekiny,Pływający,Alarm\n"
                                      "0,1,0,0,0,0,0\n"
                                      "2.5,6,1,2,0,0,0\n"));
  EXPECT_EQ(Form9->SaveDataDialog1->defaultSuffix(), QStringLiteral("csv"));
  EXPECT_EQ(Form9->SaveDataDialog1->acceptMode(), QFileDialog::AcceptSave);

  Form9->show();
  const QString png = dir.filePath(QStringLiteral("wykres.png"));
  AnswerDialogs(png);
  Form9->ZapiszObraz1->trigger();
  const QImage picture(png);
  EXPECT_EQ(picture.size(), Form9->ChartView1->size());
  EXPECT_EQ(QImageReader::imageFormat(png), QByteArray("png"));
  EXPECT_EQ(Form9->SavePictureDialog1->defaultSuffix(), QStringLiteral("png"));
  // Another name that Qt can write is written in its own format.
  const QString bmp = dir.filePath(QStringLiteral("wykres.bmp"));
  AnswerDialogs(bmp);
  Form9->ZapiszObraz1->trigger();
  EXPECT_EQ(QImageReader::imageFormat(bmp), QByteArray("bmp"));
  EXPECT_TRUE(capture.errors.empty());

  // A folder that does not exist: reported, and nothing written anywhere.
  const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
  // The report names the file.
  const QString missing = dir.filePath(QStringLiteral("brak/wykres.csv"));
  AnswerDialogs(missing);
  Form9->ZapiszDane1->trigger();
  ASSERT_EQ(capture.errors.size(), 1u);
  EXPECT_EQ(capture.errors[0], QStringLiteral("Invalid filename: \"%1\".").arg(missing));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), before);

  // A read-only file is refused and keeps its content.
  ASSERT_TRUE(QFile::setPermissions(csv, QFileDevice::ReadOwner));
  AnswerDialogs(csv);
  SetCounters(3000, 7);
  Form9->TakeSample();
  Form9->ZapiszDane1->trigger();
  ASSERT_EQ(capture.errors.size(), 2u);
  EXPECT_EQ(capture.errors[1], QStringLiteral("File access denied: \"%1\".").arg(csv));
  EXPECT_TRUE(Contents(csv).endsWith("2.5,6,1,2,0,0,0\n"));
  // Cancelling the dialog writes nothing and reports nothing.
  AnswerDialogs(QString());
  Form9->ZapiszObraz1->trigger();
  EXPECT_EQ(capture.errors.size(), 2u);
}
