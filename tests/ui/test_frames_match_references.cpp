// The fast frames against straightforward drawings of the same worlds.
#include <QPainter>
#include <mutex>
#include <random>

#include "frame_drawing.h"
#include "pictures.h"
#include "reference_frames.h"
#include "test_map_support.h"
#include "world_fixture.h"

using namespace wymianadanych;
using namespace viewtest;
using namespace wendo_test;

namespace {

TEST(PainterConvention, DrawRectOfPainterBoxOutlinesTheExclusiveBox) {
  // Unclipped boxes only: where the outline is clipped at the image edge
  // the raster engine may drop a pixel, so the references never clip.
  for (const QRect box : {QRect(QPoint(2, 3), QPoint(5, 7)), QRect(QPoint(4, 10), QPoint(6, 12)),
                          QRect(QPoint(8, 8), QPoint(10, 10)), QRect(QPoint(0, 0), QPoint(19, 19))}) {
    const int l = box.left(), t = box.top(), r = box.right() + 1, b = box.bottom() + 1;
    QImage painted(20, 20, QImage::Format_RGB32), raw(20, 20, QImage::Format_RGB32);
    painted.fill(0xFF000000u);
    raw.fill(0xFF000000u);
    {
      QPainter p(&painted);
      QPen pen(QColor(255, 0, 0));
      pen.setWidth(1);
      pen.setCosmetic(true);
      p.setPen(pen);
      p.drawRect(PainterBox(l, t, r, b));
    }
    viewtest::DrawRectOutline(raw, l, t, r, b, 0xFFFF0000u);
    EXPECT_EQ(painted, raw) << l << "," << t << " - " << r << "," << b;
    if (l >= 0 && t >= 0 && r < 20 && b < 20) {
      EXPECT_EQ(painted.pixel(l, t), 0xFFFF0000u);
      EXPECT_EQ(painted.pixel(r - 1, b - 1), 0xFFFF0000u);
      EXPECT_EQ(painted.pixel(r, t), 0xFF000000u);
      EXPECT_EQ(painted.pixel(l, b), 0xFF000000u);
    }
  }
}

class RandomWorlds : public ViewsTest {
 protected:
  std::mt19937 rng{20240607};
  int Uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
  // Often an edge value, otherwise anywhere in lo..hi.
  int Coordinate(int lo, int hi, int edge) {
    switch (Uniform(0, 7)) {
      case 0:
        return 0;
      case 1:
        return edge;
      default:
        return Uniform(lo, hi);
    }
  }
  void Populate() {
    std::lock_guard guard(World.Lock);
    World.Observers.clear();
    World.Boats.clear();
    World.People.clear();
    World.Sharks.clear();
    // Each value drawn in its own statement: the order of the draws is fixed.
    for (int n = Uniform(0, 6); n > 0; --n) {
      const int x = Coordinate(-120, 920, MaxX);
      const int y = Coordinate(-120, 1320, MaxY);
      AddObserver(World, x, y, Uniform(-50, 600));
    }
    for (int n = Uniform(0, 6); n > 0; --n) {
      const int x = Coordinate(-120, 920, MaxX);
      const int y = Coordinate(-120, 1320, MaxY);
      AddBoat(World, x, y, x, y, 0, Uniform(0, 400));
    }
    for (int n = Uniform(0, 40); n > 0; --n) {
      const int x = Coordinate(0, MaxX, MaxX);
      const int y = Coordinate(0, MaxY, MaxY);
      AddPerson(World, x, y, Uniform(0, 4) == 0);
    }
    for (int n = Uniform(0, 15); n > 0; --n) {
      const int x = Coordinate(0, MaxX, MaxX);
      const int y = Coordinate(0, MaxY, MaxY);
      AddShark(World, x, y, Uniform(0, 4) == 0);
    }
    switch (Uniform(0, 4)) {
      case 0:  // within the map
        World.ViewLeft = Uniform(0, 200);
        World.ViewTop = Uniform(0, 800);
        break;
      case 1:  // a mini-map click anywhere
        World.ViewLeft = 5 * Uniform(0, 159) - 300;
        World.ViewTop = 5 * Uniform(0, 239) - 200;
        break;
      default:
        World.ViewLeft = Uniform(-700, 1400);
        World.ViewTop = Uniform(-500, 1700);
    }
  }
};

TEST_F(RandomWorlds, FastFramesEqualTheReferenceDrawings) {
  // Patches of every ground a person can stand on, exact and near colours.
  const int32_t grounds[] = {WaterColour, CyanWaterColour, LandColour, OliveColour, Rgb(0, 0, 254), Rgb(1, 255, 255)};
  for (int k = 0; k < 120; ++k)
    PaintTerrain(Uniform(0, 760), Uniform(0, 1160), Uniform(1, 40), Uniform(1, 40), grounds[Uniform(0, 5)]);
  for (int world = 0; world < 300; ++world) {
    Populate();
    SCOPED_TRACE(testing::Message() << "world " << world << " view " << World.ViewLeft << "," << World.ViewTop);
    const QImage map = MapFrame();
    const QImage expectedMap = ReferenceMap(600, 400);
    ASSERT_EQ(map, expectedMap);
    const QImage mini = MiniMapFrame();
    const QImage expectedMini = ReferenceMiniMap(160, 240, 600, 400);
    if (mini != expectedMini) {
      for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 160; ++x) ASSERT_EQ(mini.pixel(x, y), expectedMini.pixel(x, y)) << x << "," << y;
    }
  }
}

}  // namespace
