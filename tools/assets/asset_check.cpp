#include "asset_check.h"

#include "mini_map.h"
#include "palette.h"
#include "sprites.h"

#include <QDir>
#include <QImage>
#include <QSet>

#include <algorithm>
#include <cstdio>
#include <iterator>

namespace {

QRgb rgb(QRgb c) { return c & 0xFFFFFFu; }

bool fail(const char *what, const QString &file) {
  std::fprintf(stderr, "asset check failed: %s: %s\n", qPrintable(file), what);
  return false;
}

bool load(const QDir &dir, const char *name, int w, int h, QImage &out) {
  const QString path = dir.filePath(QString::fromLatin1(name));
  if (!out.load(path)) return fail("cannot be loaded", path);
  if (out.width() != w || out.height() != h) return fail("wrong size", path);
  return true;
}

bool checkMap(const QImage &map, const QString &file) {
  long deep = 0, shallow = 0, grass = 0, dune = 0, other = 0;
  for (int y = 0; y < map.height(); ++y) {
    int firstWater = -1, firstGrass = -1;
    for (int x = 0; x < map.width(); ++x) {
      const QRgb c = rgb(map.pixel(x, y));
      if (std::find_if(std::begin(palette::All), std::end(palette::All), [c](QRgb p) { return rgb(p) == c; }) ==
          std::end(palette::All))
        return fail("pixel of a colour outside the palette", file);
      const bool water = c == rgb(palette::DeepWater) || c == rgb(palette::ShallowWater);
      if (c == rgb(palette::DeepWater))
        ++deep;
      else if (c == rgb(palette::ShallowWater))
        ++shallow;
      else if (c == rgb(palette::Grass))
        ++grass;
      else if (c == rgb(palette::Dune))
        ++dune;
      else
        ++other;
      if (water && firstWater < 0) firstWater = x;
      if (c == rgb(palette::Grass) && firstGrass < 0) firstGrass = x;
    }
    // People walk toward smaller X until they stand in water.
    if (firstGrass >= 0 && (firstWater < 0 || firstWater > firstGrass))
      return fail("a row has grass with no water to its left", file);
    if (rgb(map.pixel(0, y)) != rgb(palette::DeepWater)) return fail("the left edge is not all deep water", file);
  }
  const double total = double(map.width()) * map.height();
  std::printf(
      "wendo.bmp: blue %ld (%.1f%%), aqua %ld (%.1f%%), green %ld (%.1f%%), "
      "olive %ld (%.1f%%), features %ld (%.1f%%)\n",
      deep, 100 * deep / total, shallow, 100 * shallow / total, grass, 100 * grass / total, dune, 100 * dune / total,
      other, 100 * other / total);
  return true;
}

bool checkSprite(const QImage &s, const QString &file) {
  bool keyed = false;
  for (int y = 0; y < s.height(); ++y) {
    for (int x = 0; x < s.width(); ++x) {
      const QRgb c = s.pixel(x, y);
      if (palette::isTerrain(c)) return fail("sprite pixel has a terrain colour", file);
      keyed = keyed || rgb(c) == 0xFFFFFFu;
    }
  }
  if (!keyed) return fail("sprite has no white background", file);
  if (rgb(s.pixel(15, 15)) == 0xFFFFFFu) return fail("sprite is transparent at its anchor pixel", file);
  return true;
}

}  // namespace

bool checkAssets(const QString &path) {
  const QDir dir(path);
  QImage map, mini, banner, splash, icon, icon48;
  if (!load(dir, "wendo.bmp", 800, 1200, map) || !checkMap(map, dir.filePath("wendo.bmp"))) return false;
  if (!load(dir, "wendomini.bmp", 160, 240, mini)) return false;
  if (mini.convertToFormat(QImage::Format_RGB32) != reduceToMiniMap(map))
    return fail("is not the map reduced to one fifth", dir.filePath("wendomini.bmp"));
  for (const char *name : {"obserwator.bmp", "boat.bmp", "rekin.bmp", "plywa.bmp", "stoi.bmp", "rip.bmp"}) {
    QImage sprite;
    if (!load(dir, name, SpriteSize, SpriteSize, sprite) ||
        !checkSprite(sprite, dir.filePath(QString::fromLatin1(name))))
      return false;
  }
  if (!load(dir, "banner.jpg", 590, 158, banner) || !load(dir, "splash.bmp", 282, 203, splash) ||
      !load(dir, "wendo.png", 256, 256, icon) || !load(dir, "wendo-48.png", 48, 48, icon48))
    return false;
  QSet<QRgb> splashColours;
  for (int y = 0; y < splash.height(); ++y)
    for (int x = 0; x < splash.width(); ++x) splashColours.insert(rgb(splash.pixel(x, y)));
  if (splashColours != QSet<QRgb>{0x000000u, 0xFFFFFFu})
    return fail("is not exactly black and white", dir.filePath("splash.bmp"));
  std::printf("all pictures in %s reloaded and checked\n", qPrintable(dir.absolutePath()));
  return true;
}
