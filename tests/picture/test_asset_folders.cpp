// Where the program's pictures are looked for.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "asset_folders.h"

namespace {

// Runs each test in a fresh current directory holding a map picture, and
// puts the previous directory back afterwards.
class AssetFoldersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    QFile map(dir.filePath("wendo.bmp"));
    ASSERT_TRUE(map.open(QIODevice::WriteOnly));
  }
  void TearDown() override { QDir::setCurrent(previous); }

  QTemporaryDir dir;
  QString previous;
};

TEST_F(AssetFoldersTest, SearchOrderStartsInTheCurrentDirectory) {
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

}  // namespace
