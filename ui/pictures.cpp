#include "pictures.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <array>
#include <stdexcept>
#include <vector>

#include "frame_raster.h"

#ifndef WENDO_DATADIR
#define WENDO_DATADIR "/usr/local/share/wendo"
#endif

QImage MapPicture;
QImage MiniMapPicture;
QImage ObserverSprite;
QImage BoatSprite;
QImage SharkSprite;
QImage SwimmingSprite;
QImage StandingSprite;
QImage DeadSprite;

namespace {

struct TPictureFile {
  QImage* picture;
  const char* fileName;
  int width;
  int height;
};

const std::array<TPictureFile, 8> PictureFiles{{
    {&MapPicture, "wendo.bmp", 800, 1200},
    {&MiniMapPicture, "wendomini.bmp", 160, 240},
    {&ObserverSprite, "obserwator.bmp", 30, 30},
    {&BoatSprite, "boat.bmp", 30, 30},
    {&SharkSprite, "rekin.bmp", 30, 30},
    {&SwimmingSprite, "plywa.bmp", 30, 30},
    {&StandingSprite, "stoi.bmp", 30, 30},
    {&DeadSprite, "rip.bmp", 30, 30},
}};

[[noreturn]] void Fail(const QString& what) { throw std::runtime_error(what.toStdString()); }

QString Searched() { return QStringLiteral(" (searched: ") + AssetFolders().join(QStringLiteral(", ")) + QStringLiteral(")"); }

}  // namespace

QStringList AssetFolders() {
  QStringList folders{QDir::currentPath()};
  if (QCoreApplication::instance()) {
    const QString exe = QCoreApplication::applicationDirPath();
    folders << exe << QDir(exe).filePath(QStringLiteral("assets"));
    // An installation moved to another prefix keeps its layout.
    folders << QDir::cleanPath(QDir(exe).filePath(QStringLiteral("../share/wendo")));
  }
  folders << QDir::cleanPath(QStringLiteral(WENDO_DATADIR));
  return folders;
}

QString FindAsset(const QString& fileName) {
  for (const QString& folder : AssetFolders()) {
    const QFileInfo file(QDir(folder).filePath(fileName));
    if (file.isFile()) return file.absoluteFilePath();
  }
  return {};
}

void LoadPictures() {
  // Everything is read first, so a failure leaves the pictures untouched.
  std::vector<QImage> loaded;
  for (const TPictureFile& entry : PictureFiles) {
    const QString name = QString::fromLatin1(entry.fileName);
    const QString path = FindAsset(name);
    if (path.isEmpty()) Fail(QStringLiteral("Cannot find picture file \"%1\"").arg(name) + Searched());
    QImage image;
    if (!image.load(path, "BMP")) Fail(QStringLiteral("Cannot read picture file \"%1\" as a bitmap").arg(path) + Searched());
    if (image.width() != entry.width || image.height() != entry.height)
      Fail(QStringLiteral("Picture file \"%1\" is %2 x %3 pixels instead of %4 x %5")
               .arg(path)
               .arg(image.width())
               .arg(image.height())
               .arg(entry.width)
               .arg(entry.height) +
           Searched());
    loaded.push_back(image.convertToFormat(QImage::Format_RGB32));
  }
  for (size_t i = 0; i < PictureFiles.size(); ++i) *PictureFiles[i].picture = loaded[i];
}

void FillTerrainFromPicture(wymianadanych::TWorld& world, const QImage& picture) {
  const QImage source = picture.format() == QImage::Format_RGB32 ? picture : picture.convertToFormat(QImage::Format_RGB32);
  const int w = source.width();
  const int h = source.height();
  std::vector<uint32_t> pixels(static_cast<size_t>(w) * static_cast<size_t>(h));
  for (int y = 0; y < h; ++y) {
    const QRgb* row = reinterpret_cast<const QRgb*>(source.constScanLine(y));
    uint32_t* out = pixels.data() + static_cast<size_t>(y) * w;
    for (int x = 0; x < w; ++x) out[x] = static_cast<uint32_t>(wendoui::WorldColour(row[x]));
  }
  world.FillTerrain(pixels.data(), w, h);
}
