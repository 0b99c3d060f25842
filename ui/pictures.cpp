#include "pictures.h"

#include <array>
#include <stdexcept>
#include <vector>

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
  QImage* Picture;
  const char* FileName;
  int Width;
  int Height;
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

QImage DecorationPicture(const QString& fileName, QSize size, const QColor& fallback) {
  QImage picture(FindAsset(fileName));
  if (picture.isNull()) {
    picture = QImage(size, QImage::Format_RGB32);
    picture.fill(fallback);
  }
  return picture.convertToFormat(QImage::Format_RGB32);
}

void LoadPictures() {
  // Everything is read first, so a failure leaves the pictures untouched.
  std::vector<QImage> loaded;
  for (const TPictureFile& entry : PictureFiles) {
    const QString name = QString::fromLatin1(entry.FileName);
    const QString path = FindAsset(name);
    if (path.isEmpty()) Fail(QStringLiteral("Cannot find picture file \"%1\"").arg(name) + Searched());
    QImage image;
    if (!image.load(path, "BMP")) Fail(QStringLiteral("Cannot read picture file \"%1\" as a bitmap").arg(path) + Searched());
    if (image.width() != entry.Width || image.height() != entry.Height)
      Fail(QStringLiteral("Picture file \"%1\" is %2 x %3 pixels instead of %4 x %5")
               .arg(path)
               .arg(image.width())
               .arg(image.height())
               .arg(entry.Width)
               .arg(entry.Height) +
           Searched());
    loaded.push_back(image.convertToFormat(QImage::Format_RGB32));
  }
  for (size_t i = 0; i < PictureFiles.size(); ++i) *PictureFiles[i].Picture = loaded[i];
}
