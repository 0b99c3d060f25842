// What the map frame shows: background, sprite choice, order, key colour
// and clipping.
#include <mutex>

#include "pictures.h"
#include "reference_frames.h"
#include "test_map_support.h"
#include "world_fixture.h"

using namespace wymianadanych;
using namespace viewtest;
using namespace wendo_test;

namespace {

class MapDrawing : public ViewsTest {
 protected:
  // The map pixel the frame shows at (u, v) for the current view.
  static QRgb Ground(int u, int v) {
    const int x = World.ViewLeft + u, y = World.ViewTop + v;
    if (x < 0 || y < 0 || x >= MapWidth || y >= MapHeight) return OutsideMap;
    return MapPicture.pixel(x, y);
  }
  // Checks the frame around (x, y): the topmost unkeyed pixel of `kinds`
  // (listed top first), else the ground.
  static void ExpectStack(const QImage& frame, int x, int y, std::initializer_list<TKind> kinds) {
    for (int j = 0; j < 30; ++j)
      for (int i = 0; i < 30; ++i) {
        const int u = x - 15 + i - World.ViewLeft, v = y - 15 + j - World.ViewTop;
        if (u < 0 || v < 0 || u >= frame.width() || v >= frame.height()) continue;
        QRgb expected = Ground(u, v);
        for (TKind k : kinds) {
          const QImage sprite = MakeSprite(k);
          if (sprite.pixel(i, j) != 0xFFFFFFFFu) {
            expected = sprite.pixel(i, j);
            break;
          }
        }
        ASSERT_EQ(frame.pixel(u, v), expected) << "sprite pixel " << i << "," << j;
      }
  }
  // Only the position of an observation point or a boat shows on the map.
  static void AddObserverAt(int x, int y) { AddObserver(World, x, y, 0); }
  static void AddBoatAt(int x, int y) { AddBoat(World, x, y, x, y, 0, 0); }
};

TEST_F(MapDrawing, EmptyListsShowTheBareBackgroundAtTheView) {
  QImage frame = MapFrame();
  ASSERT_EQ(frame.size(), QSize(600, 400));
  EXPECT_EQ(frame, MapPicture.copy(0, 0, 600, 400));

  World.ViewLeft = 123;
  World.ViewTop = 456;
  EXPECT_EQ(MapFrame(), MapPicture.copy(123, 456, 600, 400));

  // Beyond the map's edges: plain grey, the rest still the map.
  for (const QPoint view : {QPoint(-50, -30), QPoint(700, 1000), QPoint(-900, 5000)}) {
    World.ViewLeft = view.x();
    World.ViewTop = view.y();
    frame = MapFrame();
    for (int v = 0; v < 400; v += 7)
      for (int u = 0; u < 600; u += 3) ASSERT_EQ(frame.pixel(u, v), Ground(u, v)) << u << "," << v;
    EXPECT_EQ(frame.pixel(599, 399), Ground(599, 399));
  }
}

TEST_F(MapDrawing, ObjectAtTheOriginShowsItsLowerRightQuarter) {
  AddObserverAt(0, 0);
  const QImage frame = MapFrame();
  const QImage sprite = MakeSprite(ObserverKind);
  for (int v = 0; v < 40; ++v)
    for (int u = 0; u < 40; ++u) {
      QRgb expected = MapPicture.pixel(u, v);
      if (u < 15 && v < 15 && sprite.pixel(15 + u, 15 + v) != 0xFFFFFFFFu) expected = sprite.pixel(15 + u, 15 + v);
      ASSERT_EQ(frame.pixel(u, v), expected) << u << "," << v;
    }
}

TEST_F(MapDrawing, SpritesAreClippedAtEveryFrameEdge) {
  World.ViewLeft = 100;
  World.ViewTop = 200;
  // Straddling each edge, and sprites that just touch or just miss the frame.
  AddObserverAt(100 + 595, 200 + 200);  // right edge: sprite columns 0..19
  AddObserverAt(100 + 5, 200 + 398);    // bottom-left corner
  AddObserverAt(100 + 300, 200 - 1);    // top edge
  AddObserverAt(100 + 614, 200 + 100);  // only sprite column 0 at u = 599
  AddObserverAt(100 - 14, 200 + 50);    // only sprite column 29 at u = 0
  AddObserverAt(100 + 615, 200 + 300);  // wholly outside, right
  AddObserverAt(100 - 15, 200 + 300);   // wholly outside, left
  AddObserverAt(100 + 300, 200 + 415);  // wholly outside, below
  const QImage frame = MapFrame();
  ASSERT_EQ(frame, ReferenceMap(600, 400));
  for (const TObserwator& o : World.Observers) ExpectStack(frame, o.X, o.Y, {ObserverKind});
  EXPECT_EQ(frame.pixel(599, 100 - 15 + 1), MakeSprite(ObserverKind).pixel(0, 1));
  EXPECT_EQ(frame.pixel(0, 50 - 15 + 1), MakeSprite(ObserverKind).pixel(29, 1));
  // The sprites wholly outside leave their nearest frame pixels alone.
  EXPECT_EQ(frame.pixel(599, 300), Ground(599, 300));
  EXPECT_EQ(frame.pixel(0, 300), Ground(0, 300));
  EXPECT_EQ(frame.pixel(300, 399), Ground(300, 399));
}

TEST_F(MapDrawing, LaterPassesAndLaterElementsLieOnTopExceptWhereWhite) {
  PaintTerrain(380, 380, 60, 60, LandColour);
  World.ViewLeft = 100;
  World.ViewTop = 200;
  AddObserverAt(400, 400);
  AddBoatAt(400, 400);
  AddPerson(World, 400, 400);
  AddShark(World, 400, 400);
  QImage frame = MapFrame();
  ExpectStack(frame, 400, 400, {BoatKind, StandingKind, SharkKind, ObserverKind});
  // The near-white pixel of the top sprite is drawn, pure white never is.
  EXPECT_EQ(frame.pixel(400 - 15 + NearWhiteI - 100, 400 - 15 + NearWhiteJ - 200), qRgb(255, 255, 254));
  for (int v = 0; v < 400; ++v)
    for (int u = 0; u < 600; ++u) ASSERT_NE(frame.pixel(u, v), 0xFFFFFFFFu);

  // Within one list, the later element covers the earlier one.
  Clear();
  World.ViewLeft = 0;
  World.ViewTop = 0;
  AddShark(World, 200, 200);
  AddShark(World, 200, 200, /*dead=*/true);
  AddShark(World, 300, 300, /*dead=*/true);
  AddShark(World, 300, 300);
  frame = MapFrame();
  ExpectStack(frame, 200, 200, {DeadKind, SharkKind});
  ExpectStack(frame, 300, 300, {SharkKind, DeadKind});
}

TEST_F(MapDrawing, DeadLookAlikeAndOnlyTheGroundPixelDecidesSwimming) {
  PaintTerrain(0, 0, 800, 100, LandColour);
  PaintTerrain(50, 50, 1, 1, WaterColour);
  PaintTerrain(150, 50, 1, 1, CyanWaterColour);
  PaintTerrain(250, 50, 1, 1, Rgb(0, 0, 254));   // almost blue: land
  PaintTerrain(350, 50, 1, 1, Rgb(0, 255, 254));  // almost aqua: land
  PaintTerrain(440, 30, 40, 40, WaterColour);
  PaintTerrain(451, 50, 1, 1, LandColour);  // a land pixel in the water
  for (int x : {50, 150, 250, 350, 451, 550}) AddPerson(World, x, 50);
  PaintTerrain(690, 30, 20, 20, WaterColour);
  AddPerson(World, 700, 40, /*dead=*/true);  // dead on water
  AddShark(World, 640, 60, /*dead=*/true);
  const QImage frame = MapFrame();
  ExpectStack(frame, 50, 50, {SwimmingKind});
  ExpectStack(frame, 150, 50, {SwimmingKind});
  ExpectStack(frame, 250, 50, {StandingKind});
  ExpectStack(frame, 350, 50, {StandingKind});
  ExpectStack(frame, 451, 50, {StandingKind});
  ExpectStack(frame, 550, 50, {StandingKind});
  ExpectStack(frame, 700, 40, {DeadKind});
  ExpectStack(frame, 640, 60, {DeadKind});
}

}  // namespace
