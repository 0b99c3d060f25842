// What the mini-map frame shows: marks, rings, circles, order, colours, and
// the outline rasterizer they are drawn with.
#include <QPainter>
#include <cmath>
#include <set>
#include <utility>

#include "frame_drawing.h"
#include "pictures.h"
#include "test_map_support.h"
#include "world_fixture.h"

using namespace wymianadanych;
using namespace viewtest;
using namespace wendo_test;

namespace {

constexpr QRgb Black = 0xFF000000u;
constexpr QRgb Cream = 0xFFFFFBF0u;   // RGB(255, 251, 240)
constexpr QRgb Orange = 0xFFFF8000u;  // RGB(255, 128, 0)
constexpr QRgb Maroon = 0xFF800000u;  // RGB(128, 0, 0)
constexpr QRgb Red = 0xFFFF0000u;

class MiniMapDrawing : public ViewsTest {
 protected:
  void SetUp() override {
    ViewsTest::SetUp();
    // The view rectangle well away from the marks under test.
    World.ViewLeft = 300;
    World.ViewTop = 700;  // rectangle (60, 140) - (180, 220)
  }
  // The background with the view rectangle, as every frame starts.
  static QImage Bare() {
    QImage f = MiniMapPicture.copy();
    viewtest::DrawRectOutline(f, 60, 140, 180, 220, Red);
    return f;
  }
};

// Every pixel of `frame` equals `expected`; reports the first difference.
void ExpectSame(const QImage& frame, const QImage& expected) {
  ASSERT_EQ(frame.size(), expected.size());
  for (int y = 0; y < frame.height(); ++y)
    for (int x = 0; x < frame.width(); ++x)
      ASSERT_EQ(frame.pixel(x, y), expected.pixel(x, y)) << "pixel " << x << "," << y;
}

TEST_F(MiniMapDrawing, ObserverAtTheOriginShowsTwoCrossPixelsAndAClippedCircle) {
  AddObserver(World, 0, 0, 50);
  const QImage frame = MiniMapFrame();
  QImage expected = Bare();
  expected.setPixel(0, 0, Black);
  expected.setPixel(1, 1, Black);
  viewtest::DrawEllipseOutline(expected, -10, -10, 10, 10, Black);
  ExpectSame(frame, expected);
  // The circle's box is (-10, -10) - (10, 10): its visible part reaches
  // column 9 and row 9 and nothing beyond.
  EXPECT_EQ(frame.pixel(9, 0), Black);
  EXPECT_EQ(frame.pixel(0, 9), Black);
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x) {
      if (x >= 10 || y >= 10) {
        ASSERT_EQ(frame.pixel(x, y), MiniMapPicture.pixel(x, y)) << x << "," << y;
      }
    }
  // Inside the circle only the two cross pixels are marked.
  for (const QPoint p : {QPoint(1, 0), QPoint(0, 1), QPoint(2, 2), QPoint(3, 3), QPoint(5, 5)})
    EXPECT_EQ(frame.pixel(p), MiniMapPicture.pixel(p)) << p.x() << "," << p.y();
}

TEST_F(MiniMapDrawing, MarksHaveTheirColoursShapesAndOrder) {
  // A boat over an observation point, a person over a shark, and dead
  // objects nowhere.
  AddObserver(World, 104, 304, 0);  // (20, 60)
  AddBoat(World, 100, 300, 100, 300, 0, 0);
  AddShark(World, 500, 250);  // (100, 50)
  AddShark(World, 250, 250);  // (50, 50), then covered by a person
  AddShark(World, 600, 250, /*dead=*/true);
  AddPerson(World, 254, 250);
  AddPerson(World, 254, 500, /*dead=*/true);
  const QImage frame = MiniMapFrame();

  QImage expected = Bare();
  for (const QPoint d : {QPoint(0, 0), QPoint(-1, -1), QPoint(-1, 1), QPoint(1, -1), QPoint(1, 1)})
    expected.setPixel(QPoint(20, 60) + d, Cream);
  for (int y = -1; y <= 1; ++y)
    for (int x = -1; x <= 1; ++x)
      if (x != 0 || y != 0) {
        expected.setPixel(100 + x, 50 + y, Orange);
        expected.setPixel(50 + x, 50 + y, Maroon);
      }
  ExpectSame(frame, expected);
  // Both dead ones would have lain on the untouched background.
  EXPECT_EQ(frame.pixel(121, 50), MiniMapPicture.pixel(121, 50));
  EXPECT_EQ(frame.pixel(51, 101), MiniMapPicture.pixel(51, 101));
}

TEST_F(MiniMapDrawing, CirclesFollowRangeAndNegativePositionsTruncateTowardZero) {
  // X = -7 gives column -1 (truncation toward zero); X = 4 and X = 0 share
  // column 0.
  AddBoat(World, 4, 200, 4, 200, 0, 23);
  AddObserver(World, -7, 400, 100);
  AddShark(World, 0, 1000);
  const QImage frame = MiniMapFrame();
  QImage expected = Bare();
  for (const QPoint d : {QPoint(-1, -1), QPoint(-1, 1), QPoint(1, -1), QPoint(1, 1), QPoint(0, 0)})
  {
    viewtest::PutPixel(expected, d.x() - 1, d.y() + 80, Black);
    viewtest::PutPixel(expected, d.x(), d.y() + 40, Cream);
  }
  viewtest::DrawEllipseOutline(expected, -21, 60, 18, 100, Black);  // (-107 div 5, 300 div 5)-(93 div 5, 500 div 5)
  viewtest::DrawEllipseOutline(expected, -3, 35, 5, 44, Cream);     // (-19, 177)-(27, 223) div 5
  viewtest::DrawRectOutline(expected, -1, 199, 2, 202, Orange);
  ExpectSame(frame, expected);
  EXPECT_EQ(frame.pixel(4, 40), Cream);  // the boat circle's right column
}

// Outline pixels of a box drawn alone on a large enough canvas.
std::set<std::pair<int, int>> Outline(int w, int h) {
  QImage canvas(w + 4, h + 4, QImage::Format_RGB32);
  canvas.fill(0xFF000000u);
  viewtest::DrawEllipseOutline(canvas, 2, 2, 2 + w, 2 + h, 0xFFFFFFFFu);
  std::set<std::pair<int, int>> pixels;
  for (int y = 0; y < canvas.height(); ++y)
    for (int x = 0; x < canvas.width(); ++x)
      if (canvas.pixel(x, y) == 0xFFFFFFFFu) pixels.insert({x - 2, y - 2});
  return pixels;
}

TEST(EllipseRasterizer, ClosedSymmetricOutlineInscribedInItsBox) {
  for (int w = 1; w <= 41; ++w)
    for (int h = 1; h <= 41; ++h) {
      SCOPED_TRACE(testing::Message() << w << " x " << h);
      const auto px = Outline(w, h);
      int minX = 1 << 20, maxX = -1, minY = 1 << 20, maxY = -1;
      for (auto [x, y] : px) {
        minX = std::min(minX, x), maxX = std::max(maxX, x), minY = std::min(minY, y), maxY = std::max(maxY, y);
        // Mirror images in both axes are drawn too.
        ASSERT_TRUE(px.count({w - 1 - x, y}) && px.count({x, h - 1 - y}));
        // Each pixel lies near the true ellipse: within one pixel of it.
        const double nx = (x + 0.5 - w / 2.0), ny = (y + 0.5 - h / 2.0);
        const double inner = std::pow(std::max(0.0, std::abs(nx) - 1) / (w / 2.0), 2) +
                             std::pow(std::max(0.0, std::abs(ny) - 1) / (h / 2.0), 2);
        ASSERT_LE(inner, 1.0) << x << "," << y << " lies outside the ellipse";
        ASSERT_GE(std::pow((std::abs(nx) + 1) / (w / 2.0), 2) + std::pow((std::abs(ny) + 1) / (h / 2.0), 2), 1.0)
            << x << "," << y << " lies deep inside the ellipse";
      }
      ASSERT_EQ(minX, 0);
      ASSERT_EQ(maxX, w - 1);
      ASSERT_EQ(minY, 0);
      ASSERT_EQ(maxY, h - 1);
      // One 8-connected ring...
      std::set<std::pair<int, int>> reached{*px.begin()}, frontier{*px.begin()};
      while (!frontier.empty()) {
        std::set<std::pair<int, int>> next;
        for (auto [x, y] : frontier)
          for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
              if (px.count({x + dx, y + dy}) && !reached.count({x + dx, y + dy})) {
                reached.insert({x + dx, y + dy});
                next.insert({x + dx, y + dy});
              }
        frontier.swap(next);
      }
      ASSERT_EQ(reached.size(), px.size());
      // ...that closes: the centre cannot leak out to the box border
      // through 4-connected steps.
      if (w >= 5 && h >= 5) {
        std::set<std::pair<int, int>> inside{{w / 2, h / 2}}, todo{{w / 2, h / 2}};
        ASSERT_FALSE(px.count({w / 2, h / 2}));
        while (!todo.empty()) {
          auto [x, y] = *todo.begin();
          todo.erase(todo.begin());
          ASSERT_TRUE(x > 0 && y > 0 && x < w - 1 && y < h - 1) << "leaks at " << x << "," << y;
          for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
            const std::pair<int, int> n{x + dx, y + dy};
            if (!px.count(n) && inside.insert(n).second) todo.insert(n);
          }
        }
      }
    }
}

TEST(EllipseRasterizer, InvertedEmptyAndHugeBoxes) {
  QImage a(60, 60, QImage::Format_RGB32), b(60, 60, QImage::Format_RGB32);
  a.fill(0xFF000000u);
  b.fill(0xFF000000u);
  viewtest::DrawEllipseOutline(a, 5, 7, 40, 33, 0xFFFFFFFFu);
  viewtest::DrawEllipseOutline(b, 40, 33, 5, 7, 0xFFFFFFFFu);
  EXPECT_EQ(a, b);
  viewtest::DrawRectOutline(a, 3, 4, 50, 52, 0xFF00FF00u);
  viewtest::DrawRectOutline(b, 50, 52, 3, 4, 0xFF00FF00u);
  EXPECT_EQ(a, b);

  const QImage before = a.copy();
  viewtest::DrawEllipseOutline(a, 10, 10, 10, 30, 0xFF123456u);
  viewtest::DrawEllipseOutline(a, 10, 10, 30, 10, 0xFF123456u);
  viewtest::DrawRectOutline(a, 10, 10, 10, 30, 0xFF123456u);
  viewtest::DrawRectOutline(a, 10, 10, 30, 10, 0xFF123456u);
  EXPECT_EQ(a, before);

  // A box far larger than the frame: only the visible columns are drawn.
  QImage c(160, 240, QImage::Format_RGB32);
  c.fill(0xFF000000u);
  viewtest::DrawEllipseOutline(c, -2000000000LL, -2000000000LL, 2000000000LL, 2000000000LL, 0xFFFFFFFFu);
  EXPECT_EQ(c.pixel(80, 120), 0xFF000000u);
  viewtest::DrawEllipseOutline(c, -2000000000LL, 100, 2000000000LL, 101, 0xFFFFFFFFu);
  for (int x = 0; x < 160; ++x) ASSERT_EQ(c.pixel(x, 100), 0xFFFFFFFFu);
  EXPECT_EQ(c.pixel(5, 99), 0xFF000000u);
}

}  // namespace
