// Point picking on the map window: accepted colours per kind, the shown
// frame's pixel deciding, and no point off the map.
#include <QApplication>
#include <QMouseEvent>
#include <QTimer>

#include "pictures.h"
#include "test_map_support.h"
#include "world_fixture.h"

using namespace wymianadanych;
using namespace viewtest;
using namespace wendo_test;

namespace {

class MapPicking : public ViewsTest {
 protected:
  void SetUp() override {
    ViewsTest::SetUp();
    PaintTerrain(0, 0, 100, 100, LandColour);
    PaintTerrain(100, 0, 100, 100, OliveColour);
    PaintTerrain(200, 0, 100, 100, WaterColour);
    PaintTerrain(300, 0, 100, 100, CyanWaterColour);
    PaintTerrain(400, 0, 100, 100, Rgb(0, 0, 254));  // almost blue
    PaintTerrain(500, 0, 100, 100, Rgb(0, 129, 0));  // almost green
    form2->PickActive = true;
    form2->PickDone = false;
  }
  // Redraws, shows the window and clicks; true when the pick was taken.
  bool Click(int kind, int x, int y, Qt::MouseButton button = Qt::LeftButton) {
    form2->PickKind = kind;
    form2->PickDone = false;
    form2->PickX = form2->PickY = -7;
    const bool active = form2->PickActive;
    form2->RedrawMap();
    form2->show();
    emit form2->Image1->MouseDown(button, x, y);
    const bool taken = form2->PickDone;
    EXPECT_EQ(taken, !form2->isVisible()) << "an accepted pick closes the window, a refused one does not";
    EXPECT_EQ(form2->PickActive, active);
    EXPECT_EQ(form2->PickKind, kind);
    if (!taken) {
      EXPECT_EQ(form2->PickX, -7);
      EXPECT_EQ(form2->PickY, -7);
    }
    form2->hide();
    return taken;
  }
};

TEST_F(MapPicking, LandForObserversWaterForBoats) {
  World.ViewLeft = 10;
  World.ViewTop = 20;
  EXPECT_TRUE(Click(1, 40, 50));  // green
  EXPECT_EQ(form2->PickX, 50);
  EXPECT_EQ(form2->PickY, 70);
  EXPECT_TRUE(Click(1, 150, 5));  // olive
  EXPECT_EQ(form2->PickX, 160);
  EXPECT_EQ(form2->PickY, 25);
  EXPECT_FALSE(Click(1, 250, 5));  // blue
  EXPECT_FALSE(Click(1, 350, 5));  // aqua
  EXPECT_FALSE(Click(1, 500, 5));  // almost green
  EXPECT_FALSE(Click(1, 50, 300));  // the generated ground

  EXPECT_TRUE(Click(2, 250, 5));
  EXPECT_EQ(form2->PickX, 260);
  EXPECT_TRUE(Click(2, 350, 5, Qt::RightButton));
  EXPECT_EQ(form2->PickX, 360);
  EXPECT_EQ(form2->PickY, 25);
  EXPECT_TRUE(Click(2, 300, 60, Qt::MiddleButton));
  EXPECT_FALSE(Click(2, 40, 50));   // land
  EXPECT_FALSE(Click(2, 420, 5));  // almost blue
}

TEST_F(MapPicking, TheShownFrameDecidesNotTheTerrain) {
  // A sprite over land hides it: its pixels are refused, the land beside it
  // is still accepted.
  AddObserver(World, 50, 50, 0);
  EXPECT_FALSE(Click(1, 50, 50));
  EXPECT_TRUE(Click(1, 50, 70));
  // A keyed (white) sprite pixel shows the land beneath and is accepted.
  int ki = -1, kj = -1;
  for (int j = 0; j < 30 && ki < 0; ++j)
    for (int i = 0; i < 30; ++i)
      if (SpriteKeyed(ObserverKind, i, j) && !(i == NearWhiteI && j == NearWhiteJ)) {
        ki = i;
        kj = j;
        break;
      }
  ASSERT_GE(ki, 0);
  EXPECT_TRUE(Click(1, 35 + ki, 35 + kj));
  EXPECT_EQ(form2->PickX, 35 + ki);

  // The frame is read as last drawn: a terrain change not yet redrawn does
  // not count, and a frame with a land-coloured sprite pixel over water
  // is accepted there.
  QImage sprite(30, 30, QImage::Format_RGB32);
  sprite.fill(Px(LandColour));
  ObserverSprite = sprite;
  World.Observers[0].X = 250;
  World.Observers[0].Y = 50;
  EXPECT_TRUE(Click(1, 250, 50));
  EXPECT_EQ(form2->PickX, 250);
}

TEST_F(MapPicking, IgnoredWithoutPickingModeOtherKindsOrOutsideFrame) {
  EXPECT_FALSE(Click(0, 40, 50));
  EXPECT_FALSE(Click(3, 40, 50));
  EXPECT_FALSE(Click(-1, 250, 5));
  EXPECT_FALSE(Click(1, -1, 50));
  EXPECT_FALSE(Click(1, 40, 400));
  EXPECT_FALSE(Click(1, 600, 5));
  form2->PickActive = false;
  EXPECT_FALSE(Click(1, 40, 50));
  EXPECT_FALSE(Click(2, 250, 5));
}

TEST_F(MapPicking, NoPointOffTheMapEvenOnAnAcceptedColour) {
  // A land-coloured sprite drawn beyond the map's top-left corner.
  QImage sprite(30, 30, QImage::Format_RGB32);
  sprite.fill(Px(LandColour));
  ObserverSprite = sprite;
  AddObserver(World, 5, 5, 0);
  World.ViewLeft = -20;
  World.ViewTop = -20;
  EXPECT_FALSE(Click(1, 15, 15));  // map (-5, -5)
  EXPECT_FALSE(Click(1, 19, 30));  // map (-1, 10)
  EXPECT_FALSE(Click(1, 30, 19));  // map (10, -1)
  EXPECT_TRUE(Click(1, 20, 20));   // map (0, 0)
  EXPECT_EQ(form2->PickX, 0);
  EXPECT_EQ(form2->PickY, 0);
  // The far corner: water there, and a water-coloured sprite beyond it.
  PaintTerrain(780, 1180, 20, 20, WaterColour);
  sprite.fill(Px(WaterColour));
  BoatSprite = sprite;
  AddBoat(World, 799, 1199, 799, 1199, 0, 0);
  World.ViewLeft = 700;
  World.ViewTop = 1100;
  EXPECT_TRUE(Click(2, 99, 99));
  EXPECT_EQ(form2->PickX, 799);
  EXPECT_EQ(form2->PickY, 1199);
  EXPECT_FALSE(Click(2, 100, 99));
  EXPECT_FALSE(Click(2, 99, 100));
  EXPECT_FALSE(Click(2, 105, 50));  // the grey beyond the edge
}

}  // namespace

namespace {

TEST_F(MapPicking, AnAcceptedPickEndsTheModalDisplay) {
  form2->PickKind = 1;
  form2->RedrawMap();
  bool refusedFirst = false;
  QTimer::singleShot(0, form2.get(), [&] {
    emit form2->Image1->MouseDown(Qt::LeftButton, 250, 5);  // water: stays open
    refusedFirst = form2->isVisible() && !form2->PickDone;
    emit form2->Image1->MouseDown(Qt::LeftButton, 40, 50);
    if (form2->isVisible()) form2->reject();  // the pick failed; do not hang
  });
  EXPECT_EQ(form2->exec(), QDialog::Accepted);
  EXPECT_TRUE(refusedFirst);
  EXPECT_TRUE(form2->PickDone);
  EXPECT_EQ(form2->PickX, 40);
  EXPECT_EQ(form2->PickY, 50);
}

}  // namespace

namespace {

// The pointer's shape after the mouse moved to (x, y) over the box, no
// button pressed: such moves reach the box only with mouse tracking on.
Qt::CursorShape PointerAfterMove(TImageBox* box, int x, int y) {
  EXPECT_TRUE(box->hasMouseTracking());
  const QPointF at(x + 0.5, y + 0.5);
  QMouseEvent move(QEvent::MouseMove, at, box->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(box, &move);
  return box->cursor().shape();
}

TEST_F(MapPicking, ThePointerTellsWhereAClickWouldPick) {
  form2->PickKind = 1;
  form2->RedrawMap();
  form2->show();
  TImageBox* map = form2->Image1;
  EXPECT_EQ(PointerAfterMove(map, 40, 50), Qt::CrossCursor);       // land
  EXPECT_EQ(PointerAfterMove(map, 250, 5), Qt::ForbiddenCursor);   // water
  EXPECT_EQ(PointerAfterMove(map, 150, 5), Qt::CrossCursor);       // olive
  EXPECT_EQ(PointerAfterMove(map, 500, 5), Qt::ForbiddenCursor);   // almost green
  form2->PickKind = 2;
  EXPECT_EQ(PointerAfterMove(map, 350, 5), Qt::CrossCursor);       // aqua
  EXPECT_EQ(PointerAfterMove(map, 40, 50), Qt::ForbiddenCursor);
  form2->PickKind = 3;
  EXPECT_EQ(PointerAfterMove(map, 350, 5), Qt::ForbiddenCursor);
  // The pointer never promises a click that would be refused: where it is a
  // crosshair the click picks.
  form2->PickKind = 2;
  EXPECT_EQ(PointerAfterMove(map, 350, 5), Qt::CrossCursor);
  emit map->MouseDown(Qt::LeftButton, 350, 5);
  EXPECT_TRUE(form2->PickDone);

  // During the pick the mini-map offers to move the view.
  form3->show();
  EXPECT_EQ(PointerAfterMove(form3->Image1, 80, 120), Qt::PointingHandCursor);

  // Out of picking mode both pointers are the default ones again, also
  // for windows that open without the mouse moving.
  form2->PickActive = false;
  EXPECT_EQ(PointerAfterMove(form3->Image1, 81, 120), Qt::ArrowCursor);
  form2->PickActive = true;
  form3->hide();
  form3->show();  // as a pick opens it
  EXPECT_EQ(form3->Image1->cursor().shape(), Qt::PointingHandCursor);
  form2->show();
  EXPECT_EQ(PointerAfterMove(map, 350, 5), Qt::CrossCursor);
  form2->hide();
  form3->hide();
  form2->PickActive = false;
  form2->show();
  form3->show();
  EXPECT_EQ(map->cursor().shape(), Qt::ArrowCursor);
  EXPECT_EQ(form3->Image1->cursor().shape(), Qt::ArrowCursor);
  EXPECT_EQ(PointerAfterMove(map, 40, 50), Qt::ArrowCursor);
}

}  // namespace
