#include "terrain_picture.h"

#include <QFileInfo>
#include <QImageReader>
#include <vector>

namespace {
// The picture's pixels as world colours, row after row.
std::vector<uint32_t> TerrainPixels(const QImage& picture) {
  const QImage source = picture.format() == QImage::Format_RGB32 ? picture : picture.convertToFormat(QImage::Format_RGB32);
  const int w = source.width();
  const int h = source.height();
  std::vector<uint32_t> pixels(static_cast<size_t>(w) * static_cast<size_t>(h));
  for (int y = 0; y < h; ++y) {
    const QRgb* row = reinterpret_cast<const QRgb*>(source.constScanLine(y));
    uint32_t* out = pixels.data() + static_cast<size_t>(y) * w;
    for (int x = 0; x < w; ++x) out[x] = static_cast<uint32_t>(TerrainColour(row[x]));
  }
  return pixels;
}
}  // namespace

void FillTerrainGridFromPicture(wymianadanych::TTerrainGrid& grid, const QImage& picture) {
  wymianadanych::FillTerrainGrid(grid, TerrainPixels(picture).data(), picture.width(), picture.height());
}

void FillTerrainFromPicture(wymianadanych::TWorld& world, const QImage& picture) {
  world.FillTerrain(TerrainPixels(picture).data(), picture.width(), picture.height());
}

QImage ReadMapPicture(const QString& path) {
  const QFileInfo file(path);
  auto fail = [&](const QString& why) {
    throw TPictureError(QStringLiteral("map picture \"%1\": %2").arg(path, why).toStdString());
  };
  if (!file.exists()) fail(QStringLiteral("no such file"));
  if (!file.isFile()) fail(QStringLiteral("not a file"));
  if (!file.isReadable()) fail(QStringLiteral("permission denied"));
  QImageReader reader(path);
  QImage picture = reader.read();
  if (picture.isNull()) fail(QStringLiteral("not a picture that can be read (%1)").arg(reader.errorString()));
  return picture;
}

QImage LoadTerrainPicture(wymianadanych::TWorld& world, const QString& path) {
  QImage picture = ReadMapPicture(path);
  FillTerrainFromPicture(world, picture);
  return picture;
}
