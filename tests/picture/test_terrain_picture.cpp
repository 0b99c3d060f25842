// The copy of a map picture into the terrain grid.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <memory>
#include <utility>

#include "terrain_picture.h"
#include "wymianadanych.h"

using namespace wymianadanych;

namespace {

TEST(TerrainFromPicture, ConvertsColoursRowByRow) {
  QImage map(MapWidth, MapHeight, QImage::Format_RGB32);
  map.fill(qRgb(0, 128, 0));
  map.setPixel(3, 5, qRgb(0, 0, 255));
  map.setPixel(799, 1199, qRgb(0x12, 0x34, 0x56));
  map.setPixel(5, 3, qRgb(128, 128, 0));
  FillTerrainFromPicture(World, map);
  EXPECT_EQ(World.Terrain(0, 0), 32768);
  EXPECT_EQ(World.Terrain(3, 5), 16711680);
  EXPECT_EQ(World.Terrain(5, 3), 0x00008080);
  EXPECT_EQ(World.Terrain(799, 1199), 0x00563412);
  EXPECT_EQ(World.PictureWidth, MapWidth);
  EXPECT_EQ(World.PictureHeight, MapHeight);

  // Another pixel format is read as its colours, not its bytes.
  QImage small = map.copy(0, 0, 10, 10).convertToFormat(QImage::Format_RGB888);
  FillTerrainFromPicture(World, small);
  EXPECT_EQ(World.Terrain(3, 5), WaterColour);
  EXPECT_EQ(World.Terrain(10, 0), NoPixel);
  EXPECT_EQ(World.PictureWidth, 10);

  // A grid alone is filled the same way.
  auto grid = std::make_unique<TTerrainGrid>();
  FillTerrainGridFromPicture(*grid, small);
  const TTerrainGrid& filled = *grid;
  EXPECT_TRUE(std::equal(filled.begin(), filled.end(), std::as_const(World.TerrainGrid).begin()));
}

}  // namespace
