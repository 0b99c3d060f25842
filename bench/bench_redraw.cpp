// Time to compose one map frame and one mini-map frame: the default run in
// full swing, a crowded beach of 20 000 people and 2 000 sharks, and the
// same with a million observation points.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <mutex>
#include <stdexcept>

#include "bench_world.h"
#include "frame_one_colour_marks.h"
#include "frame_raster.h"
#include "pictures.h"
#include "wendoUnit2.h"
#include "wendoUnit3.h"
#include "wymianadanych.h"

using namespace wymianadanych;

namespace {

// A stand-in sprite: a filled disc of one colour on the white key.
QImage Disc(QRgb colour) {
  QImage s(30, 30, QImage::Format_RGB32);
  s.fill(0xFFFFFFFFu);
  QPainter p(&s);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor::fromRgb(colour));
  p.drawEllipse(3, 3, 24, 24);
  return s;
}

// The program's pictures when they can be found, else a beach drawn in code.
void SetUpPictures() {
  try {
    LoadPictures();
    return;
  } catch (const std::runtime_error&) {
  }
#ifdef WENDO_ASSET_DIR
  const QString previous = QDir::currentPath();
  QDir::setCurrent(QStringLiteral(WENDO_ASSET_DIR));
  try {
    LoadPictures();
    QDir::setCurrent(previous);
    return;
  } catch (const std::runtime_error&) {
    QDir::setCurrent(previous);
  }
#endif
  const auto beach = wendo_bench::BeachWorld();
  MapPicture = QImage(MapWidth, MapHeight, QImage::Format_RGB32);
  for (int y = 0; y < MapHeight; ++y)
    for (int x = 0; x < MapWidth; ++x) {
      const uint32_t c = static_cast<uint32_t>(beach->Terrain(x, y));
      MapPicture.setPixel(x, y, qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF));
    }
  MiniMapPicture = MapPicture.scaled(160, 240);
  ObserverSprite = Disc(qRgb(0, 0, 0));
  BoatSprite = Disc(qRgb(200, 80, 0));
  SharkSprite = Disc(qRgb(90, 90, 90));
  SwimmingSprite = Disc(qRgb(250, 200, 150));
  StandingSprite = Disc(qRgb(200, 0, 0));
  DeadSprite = Disc(qRgb(20, 20, 20));
}

void SetUpWorld(int people, int sharks, int observers, int boats) {
  std::lock_guard guard(World.Lock);
  World.People.clear();
  World.Sharks.clear();
  World.Observers.clear();
  World.Boats.clear();
  wendo_bench::Populate(World, people, sharks, observers, boats);
  // The view on the middle of the beach, as after a click on the mini-map's centre.
  World.ViewLeft = 100;
  World.ViewTop = 400;
}

void Counts(benchmark::State& state) {
  state.counters["people"] = static_cast<double>(World.People.size());
  state.counters["sharks"] = static_cast<double>(World.Sharks.size());
}

void BM_RedrawMap(benchmark::State& state) {
  SetUpWorld(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), static_cast<int>(state.range(2)), 2);
  for (auto _ : state) {
    Form2->RedrawMap();
    benchmark::DoNotOptimize(Form2->Image1->Frame().constBits());
  }
  Counts(state);
}

void BM_RedrawMiniMap(benchmark::State& state) {
  SetUpWorld(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), static_cast<int>(state.range(2)), 2);
  for (auto _ : state) {
    Form3->RedrawMiniMap();
    benchmark::DoNotOptimize(Form3->Image1->Frame().constBits());
  }
  Counts(state);
}

void BM_RedrawBoth(benchmark::State& state) {
  SetUpWorld(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), static_cast<int>(state.range(2)), 2);
  for (auto _ : state) {
    Form2->RedrawMap();
    Form3->RedrawMiniMap();
    benchmark::DoNotOptimize(Form3->Image1->Frame().constBits());
  }
  Counts(state);
}

// The sighting circles of a million observation points on the mini-map,
// drawn the old way (each circle's outline worked out column by column)
// and the new (one outline per size, each box drawn once). Argument 0:
// old or new; argument 1: every range 300, or ranges 0..600 so that hardly
// two circles share a size and a place.
void BM_ObserverCircles(benchmark::State& state) {
  SetUpWorld(0, 0, 1000000, 0);
  if (state.range(1))
    for (size_t i = 0; i < World.Observers.size(); ++i) World.Observers[i].Range = static_cast<int32_t>(i % 601);
  QImage frame(160, 240, QImage::Format_RGB32);
  for (auto _ : state) {
    frame.fill(0xFF808080u);
    wendoui::TRaster raster(frame);
    wendoui::TOneColourMarks circles(raster, 0xFF000000u);
    for (const TObserwator& o : World.Observers) {
      const int64_t l = (int64_t{o.X} - o.Range) / 5, t = (int64_t{o.Y} - o.Range) / 5;
      const int64_t r = (int64_t{o.X} + o.Range) / 5, b = (int64_t{o.Y} + o.Range) / 5;
      if (state.range(0))
        circles.Ellipse(l, t, r, b);
      else
        raster.EllipseColumnByColumn(l, t, r, b, 0xFF000000u);
    }
    benchmark::DoNotOptimize(frame.constBits());
  }
  state.SetLabel(std::string(state.range(0) ? "new" : "old") + (state.range(1) ? ", mixed ranges" : ", range 300"));
}
BENCHMARK(BM_ObserverCircles)->ArgsProduct({{0, 1}, {0, 1}})->Unit(benchmark::kMillisecond);

// The terrain fill of the start-up: every pixel of the map into the grid.
void BM_TerrainFill(benchmark::State& state) {
  for (auto _ : state) {
    FillTerrainFromPicture(World, MapPicture);
    benchmark::DoNotOptimize(World.TerrainGrid.data());
  }
}
BENCHMARK(BM_TerrainFill)->Unit(benchmark::kMillisecond);

// Default scenario in full swing, then the crowded beach.
#define WENDO_REDRAW_CASES \
  ->Args({40, 5, 3})->Args({20000, 2000, 3})->Args({20000, 2000, 1000000})->Unit(benchmark::kMicrosecond)
BENCHMARK(BM_RedrawMap) WENDO_REDRAW_CASES;
BENCHMARK(BM_RedrawMiniMap) WENDO_REDRAW_CASES;
BENCHMARK(BM_RedrawBoth) WENDO_REDRAW_CASES;

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  SetUpPictures();
  FillTerrainFromPicture(World, MapPicture);
  TForm2 map;
  TForm3 mini;
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
