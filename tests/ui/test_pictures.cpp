// Picture look-up, loading and the copy of the map into the terrain grid.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>

#include "pictures.h"
#include "terrain_picture.h"
#include "wymianadanych.h"

using namespace wymianadanych;

namespace {

struct TFile {
  const char* name;
  int w, h;
};
const TFile Files[] = {{"wendo.bmp", 800, 1200}, {"wendomini.bmp", 160, 240}, {"obserwator.bmp", 30, 30},
                       {"boat.bmp", 30, 30},     {"rekin.bmp", 30, 30},       {"plywa.bmp", 30, 30},
                       {"stoi.bmp", 30, 30},     {"rip.bmp", 30, 30}};

// A picture whose pixels depend on the file and the position.
QImage Sample(int index, int w, int h) {
  QImage img(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) img.setPixel(x, y, qRgb((x * 3 + index) % 256, (y * 5) % 256, index * 30));
  return img;
}

// Runs each test in a fresh current directory holding the eight pictures,
// and puts the previous directory back afterwards.
class PicturesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    for (int i = 0; i < 8; ++i) ASSERT_TRUE(Sample(i, Files[i].w, Files[i].h).save(dir.filePath(Files[i].name), "BMP"));
    MapPicture = MiniMapPicture = ObserverSprite = BoatSprite = SharkSprite = SwimmingSprite = StandingSprite =
        DeadSprite = QImage();
  }
  void TearDown() override { QDir::setCurrent(previous); }

  // Only meaningful when no other searched folder holds the file.
  bool OnlyHere(const char* name) { return FindAsset(name) == QFileInfo(dir.filePath(name)).absoluteFilePath(); }

  std::string LoadError() {
    try {
      LoadPictures();
    } catch (const std::runtime_error& e) {
      return e.what();
    }
    return {};
  }

  QTemporaryDir dir;
  QString previous;
};

TEST_F(PicturesTest, LoadsAllEightAsStored) {
  LoadPictures();
  const QImage* loaded[] = {&MapPicture,  &MiniMapPicture, &ObserverSprite, &BoatSprite,
                            &SharkSprite, &SwimmingSprite, &StandingSprite, &DeadSprite};
  for (int i = 0; i < 8; ++i) {
    SCOPED_TRACE(Files[i].name);
    EXPECT_EQ(loaded[i]->format(), QImage::Format_RGB32);
    EXPECT_EQ(*loaded[i], Sample(i, Files[i].w, Files[i].h));
  }
}

TEST_F(PicturesTest, SearchOrderStartsInTheCurrentDirectory) {
  const QStringList folders = AssetFolders();
  ASSERT_EQ(folders.size(), 5);
  EXPECT_EQ(folders[0], QDir::currentPath());
  EXPECT_EQ(folders[1], QCoreApplication::applicationDirPath());
  EXPECT_EQ(folders[2], QDir(QCoreApplication::applicationDirPath()).filePath("assets"));
  EXPECT_EQ(folders[3], QDir::cleanPath(QCoreApplication::applicationDirPath() + "/../share/wendo"));
  EXPECT_EQ(FindAsset("wendo.bmp"), QFileInfo(dir.filePath("wendo.bmp")).absoluteFilePath());
  EXPECT_TRUE(FindAsset("no-such-picture.bmp").isEmpty());

  // A file beside the executable, in its assets/ folder, is found when the
  // current directory lacks it, and the current directory's copy wins.
  const QString name = QStringLiteral("probe-%1.bmp").arg(QCoreApplication::applicationPid());
  QDir exeAssets(folders[2]);
  const bool made = !exeAssets.exists();
  ASSERT_TRUE(QDir().mkpath(exeAssets.path()));
  QFile probe(exeAssets.filePath(name));
  ASSERT_TRUE(probe.open(QIODevice::WriteOnly));
  probe.close();
  EXPECT_EQ(FindAsset(name), QFileInfo(probe).absoluteFilePath());
  QFile local(dir.filePath(name));
  ASSERT_TRUE(local.open(QIODevice::WriteOnly));
  local.close();
  EXPECT_EQ(FindAsset(name), QFileInfo(local).absoluteFilePath());
  probe.remove();
  if (made) exeAssets.rmdir(".");
}

TEST_F(PicturesTest, MissingPictureNamesFileAndFoldersAndChangesNothing) {
  if (!OnlyHere("stoi.bmp") || !OnlyHere("rip.bmp")) GTEST_SKIP() << "pictures installed elsewhere";
  LoadPictures();
  const QImage before = SwimmingSprite;
  ASSERT_TRUE(QFile::remove(dir.filePath("rip.bmp")));
  ASSERT_TRUE(QFile::remove(dir.filePath("stoi.bmp")));
  ASSERT_TRUE(Sample(7, 30, 30).save(dir.filePath("plywa.bmp"), "BMP"));
  const std::string error = LoadError();
  // Table order: "stoi.bmp" comes before "rip.bmp".
  EXPECT_NE(error.find("stoi.bmp"), std::string::npos) << error;
  EXPECT_EQ(error.find("rip.bmp"), std::string::npos) << error;
  EXPECT_NE(error.find(QDir::currentPath().toStdString()), std::string::npos) << error;
  EXPECT_NE(error.find(AssetFolders().last().toStdString()), std::string::npos) << error;
  EXPECT_EQ(SwimmingSprite, before);
}

TEST_F(PicturesTest, UnreadableOrWrongSizedPictureFails) {
  {
    QFile broken(dir.filePath("rekin.bmp"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly | QIODevice::Truncate));
    broken.write("BM this is no bitmap");
  }
  std::string error = LoadError();
  EXPECT_NE(error.find("rekin.bmp"), std::string::npos) << error;
  EXPECT_TRUE(MapPicture.isNull());

  ASSERT_TRUE(Sample(4, 30, 30).save(dir.filePath("rekin.bmp"), "BMP"));
  ASSERT_TRUE(Sample(3, 31, 30).save(dir.filePath("boat.bmp"), "BMP"));
  error = LoadError();
  EXPECT_NE(error.find("boat.bmp"), std::string::npos) << error;
  EXPECT_NE(error.find("31 x 30"), std::string::npos) << error;

  ASSERT_TRUE(Sample(3, 30, 30).save(dir.filePath("boat.bmp"), "BMP"));
  ASSERT_TRUE(Sample(0, 800, 1199).save(dir.filePath("wendo.bmp"), "BMP"));
  error = LoadError();
  EXPECT_NE(error.find("wendo.bmp"), std::string::npos) << error;

  ASSERT_TRUE(Sample(0, 800, 1200).save(dir.filePath("wendo.bmp"), "BMP"));
  EXPECT_EQ(LoadError(), "");
}

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
