#include "test_map_support.h"

#include <mutex>

#include "pictures.h"

using namespace wymianadanych;

namespace viewtest {

QRgb Px(int32_t worldColour) { return PictureColour(worldColour); }

bool SpriteKeyed(int kind, int i, int j) { return (i * 7 + j * 3 + kind) % 11 == 0; }

QImage MakeSprite(int kind) {
  QImage s(30, 30, QImage::Format_RGB32);
  for (int j = 0; j < 30; ++j)
    for (int i = 0; i < 30; ++i) s.setPixel(i, j, qRgb(20 + 30 * kind, 4 + i * 8, 3 + j * 8));
  for (int j = 0; j < 30; ++j)
    for (int i = 0; i < 30; ++i)
      if (SpriteKeyed(kind, i, j)) s.setPixel(i, j, qRgb(255, 255, 255));
  s.setPixel(NearWhiteI, NearWhiteJ, qRgb(255, 255, 254));
  return s;
}

QImage MakeMap() {
  QImage m(MapWidth, MapHeight, QImage::Format_RGB32);
  for (int y = 0; y < MapHeight; ++y)
    for (int x = 0; x < MapWidth; ++x) m.setPixel(x, y, qRgb(x % 251, y % 241, 7 + (x / 251) * 16 + (y / 241)));
  return m;
}

QImage MakeMiniMap() {
  QImage m(160, 240, QImage::Format_RGB32);
  for (int y = 0; y < 240; ++y)
    for (int x = 0; x < 160; ++x) m.setPixel(x, y, qRgb(60 + x, 10 + y, 200));
  return m;
}

void PaintTerrain(int x, int y, int w, int h, int32_t worldColour) {
  for (int yy = y; yy < y + h; ++yy)
    for (int xx = x; xx < x + w; ++xx) {
      MapPicture.setPixel(xx, yy, Px(worldColour));
      World.TerrainGrid[static_cast<size_t>(xx) * MapHeight + yy] = worldColour;
    }
}

void ViewsTest::Clear() {
  std::lock_guard guard(World.Lock);
  World.Observers.clear();
  World.Boats.clear();
  World.People.clear();
  World.Sharks.clear();
  World.ViewLeft = 0;
  World.ViewTop = 0;
}

void ViewsTest::SetUp() {
  MapPicture = MakeMap();
  MiniMapPicture = MakeMiniMap();
  ObserverSprite = MakeSprite(ObserverKind);
  SharkSprite = MakeSprite(SharkKind);
  SwimmingSprite = MakeSprite(SwimmingKind);
  StandingSprite = MakeSprite(StandingKind);
  DeadSprite = MakeSprite(DeadKind);
  BoatSprite = MakeSprite(BoatKind);
  FillTerrainFromPicture(World, MapPicture);
  Clear();
  form2 = std::make_unique<TForm2>();
  form3 = std::make_unique<TForm3>();
}

void ViewsTest::TearDown() {
  form3.reset();
  form2.reset();
  Clear();
}

QImage ViewsTest::MapFrame() {
  form2->RedrawMap();
  return form2->Image1->Frame();
}

QImage ViewsTest::MiniMapFrame() {
  form3->RedrawMiniMap();
  return form3->Image1->Frame();
}

}  // namespace viewtest
