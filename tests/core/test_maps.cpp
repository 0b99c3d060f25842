#include "test_maps.h"

#include <algorithm>

#include "world_fixture.h"

#ifdef WENDO_TEST_HAS_TERRAIN_PICTURE
#include "terrain_picture.h"
#endif

namespace wendo_test {

bool LoadBmpTerrain(TWorld& w, const std::string& path) {
#ifdef WENDO_TEST_HAS_TERRAIN_PICTURE
  try {
    LoadTerrainPicture(w, QString::fromStdString(path));
    return true;
  } catch (const TPictureError&) {
    return false;
  }
#else
  (void)w;
  (void)path;
  return false;
#endif
}

void PaintTrickyMap(TWorld& w) {
  std::fill(w.TerrainGrid.begin(), w.TerrainGrid.end(), WaterColour);
  Paint(w, 300, 0, 799, 1199, LandColour);
  for (int32_t x = 320; x < 800; x += 37) Paint(w, x, 0, x + 1, 1199, WaterColour);  // channels
  for (int32_t x = 40; x < 300; x += 53) Paint(w, x, 100, x + 1, 1100, LandColour);  // thin strips
  Paint(w, 500, 300, 600, 420, WaterColour);       // a lake
  Paint(w, 520, 320, 540, 340, LandColour);        // with an island
  Paint(w, 620, 600, 700, 700, CyanWaterColour);   // an aqua pond
  Paint(w, 250, 0, 299, 1199, CyanWaterColour);    // aqua shore
  Paint(w, 100, 500, 140, 540, LandColour);        // an island at sea
  Paint(w, 700, 900, 760, 960, OliveColour);
  Paint(w, 400, 800, 460, 830, Rgb(200, 200, 200));
  Paint(w, 0, 0, 799, 3, WaterColour);             // water along every edge
  Paint(w, 0, 1196, 799, 1199, WaterColour);
  Paint(w, 796, 0, 799, 1199, CyanWaterColour);
  Paint(w, 780, 1000, 799, 1050, NoPixel);
}

}  // namespace wendo_test
