// Loading the program's pictures from the folders searched.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <stdexcept>
#include <string>

#include "pictures.h"
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

}  // namespace
