// Writes the program's pictures into the directory given on the command
// line, then reloads and checks them. Every picture is generated from fixed
// seeds, so repeated runs give identical files.

#include "app_icon.h"
#include "asset_check.h"
#include "banner.h"
#include "mini_map.h"
#include "sprites.h"
#include "splash.h"
#include "terrain_map.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>

#include <cstdio>

namespace {

bool save(const QImage &img, const QDir &dir, const char *name, const char *format, int quality = -1) {
  const QString path = dir.filePath(QString::fromLatin1(name));
  if (!img.save(path, format, quality)) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char **argv) {
  // An application object makes the image-format plugins (JPEG) available.
  QCoreApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTDIR\n", argv[0]);
    return 2;
  }
  const QDir dir(QString::fromLocal8Bit(argv[1]));
  if (!QDir().mkpath(dir.path())) {
    std::fprintf(stderr, "cannot create %s\n", argv[1]);
    return 1;
  }

  const QImage map = paintTerrainMap();
  const bool written =
      save(map, dir, "wendo.bmp", "BMP") && save(reduceToMiniMap(map), dir, "wendomini.bmp", "BMP") &&
      save(paintObserverSprite(), dir, "obserwator.bmp", "BMP") && save(paintBoatSprite(), dir, "boat.bmp", "BMP") &&
      save(paintSharkSprite(), dir, "rekin.bmp", "BMP") && save(paintSwimmerSprite(), dir, "plywa.bmp", "BMP") &&
      save(paintStandingSprite(), dir, "stoi.bmp", "BMP") && save(paintDeadSprite(), dir, "rip.bmp", "BMP") &&
      save(paintBanner(), dir, "banner.jpg", "JPG", 92) && save(paintSplash(), dir, "splash.bmp", "BMP") &&
      save(paintAppIcon(256), dir, "wendo.png", "PNG") && save(paintAppIcon(48), dir, "wendo-48.png", "PNG");
  if (!written) return 1;
  return checkAssets(dir.path()) ? 0 : 1;
}
