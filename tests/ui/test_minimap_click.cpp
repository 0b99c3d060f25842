// A mini-map click centres the map view; the view rectangle shows it at
// the next redraw only.
#include "frame_drawing.h"
#include "pictures.h"
#include "test_map_support.h"

using namespace wymianadanych;
using namespace viewtest;

namespace {

constexpr QRgb Red = 0xFFFF0000u;

// The view rectangle (l, t) - (r, b) drawn on the bare mini-map.
QImage WithView(int l, int t, int r, int b) {
  QImage f = MiniMapPicture.copy();
  viewtest::DrawRectOutline(f, l, t, r, b, Red);
  return f;
}

class MiniMapClick : public ViewsTest {
 protected:
  void Click(int x, int y, Qt::MouseButton button = Qt::LeftButton) {
    emit form3->Image1->MouseDown(button, x, y);
  }
};

TEST_F(MiniMapClick, CentresTheViewAndShowsItAtTheNextRedraw) {
  const QImage first = MiniMapFrame();
  EXPECT_EQ(first, WithView(0, 0, 120, 80));
  const QImage map = MapFrame();

  Click(80, 120);
  EXPECT_EQ(World.ViewLeft, 100);
  EXPECT_EQ(World.ViewTop, 400);
  // Nothing is redrawn by the click itself.
  EXPECT_EQ(form3->Image1->Frame(), first);
  EXPECT_EQ(form2->Image1->Frame(), map);
  QImage frame = MiniMapFrame();
  EXPECT_EQ(frame, WithView(20, 80, 140, 160));
  EXPECT_EQ(frame.pixel(20, 80), Red);
  EXPECT_EQ(frame.pixel(139, 159), Red);
  EXPECT_EQ(frame.pixel(80, 159), Red);
  EXPECT_NE(frame.pixel(140, 80), Red);
  EXPECT_NE(frame.pixel(20, 160), Red);
  EXPECT_NE(frame.pixel(21, 81), Red);

  Click(0, 0, Qt::RightButton);
  EXPECT_EQ(World.ViewLeft, -300);
  EXPECT_EQ(World.ViewTop, -200);
  frame = MiniMapFrame();
  EXPECT_EQ(frame, WithView(-60, -40, 60, 40));
  EXPECT_EQ(frame.pixel(59, 0), Red);
  EXPECT_EQ(frame.pixel(0, 39), Red);
  EXPECT_NE(frame.pixel(0, 0), Red);
  EXPECT_NE(frame.pixel(60, 39), Red);

  Click(159, 239, Qt::MiddleButton);
  EXPECT_EQ(World.ViewLeft, 495);
  EXPECT_EQ(World.ViewTop, 995);
  frame = MiniMapFrame();
  EXPECT_EQ(frame, WithView(99, 199, 219, 279));
  EXPECT_EQ(frame.pixel(159, 199), Red);
  EXPECT_EQ(frame.pixel(99, 239), Red);
  EXPECT_NE(frame.pixel(100, 200), Red);
}

TEST_F(MiniMapClick, ANegativeViewTruncatesTowardZeroAndTheMapSizeDefaults) {
  World.ViewLeft = -7;  // -7 div 5 = -1
  World.ViewTop = -4;   // 0
  EXPECT_EQ(MiniMapFrame(), WithView(-1, 0, 119, 80));

  // Without a map window the standard 600 x 400 view is assumed.
  form2.reset();
  Click(80, 120);
  EXPECT_EQ(World.ViewLeft, 100);
  EXPECT_EQ(World.ViewTop, 400);
  EXPECT_EQ(MiniMapFrame(), WithView(20, 80, 140, 160));
}

}  // namespace
