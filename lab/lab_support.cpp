#include "lab_support.h"

#include <QFile>
#include <QStringList>
#include <cstdlib>
#include <QtGlobal>

#include "asset_folders.h"
#include "bad_input.h"
#include "terrain_picture.h"
#include "wymianadanych.h"

namespace wendo_lab {

namespace {
constexpr const char* DefaultMap = "wendo.bmp";
}  // namespace

std::string MapPath(const std::string& given) {
  if (!given.empty()) return given;
  const QString path = FindAsset(QString::fromLatin1(DefaultMap));
  if (path.isEmpty())
    throw TBadInput(std::string("cannot find the program's map ") + DefaultMap + " (searched: " +
                    AssetFolders().join(QStringLiteral(", ")).toStdString() + "); name one with --map");
  return path.toStdString();
}

namespace {

uint32_t LittleEndian(const QByteArray& b, int at, int size) {
  uint32_t v = 0;
  for (int i = size - 1; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b[at + i]);
  return v;
}

// An uncompressed BMP must hold every row its header announces; the
// reader would fill the missing ones with black.
void CheckBmpComplete(const std::string& path) {
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::ReadOnly)) return;
  const QByteArray head = file.read(34);
  if (head.size() < 34 || !head.startsWith("BM")) return;
  const uint32_t offset = LittleEndian(head, 10, 4), headerSize = LittleEndian(head, 14, 4);
  if (headerSize < 40) return;
  const int64_t width = static_cast<int32_t>(LittleEndian(head, 18, 4));
  const int64_t height = std::abs(static_cast<int64_t>(static_cast<int32_t>(LittleEndian(head, 22, 4))));
  const uint32_t bits = LittleEndian(head, 28, 2), compression = LittleEndian(head, 30, 4);
  if (compression != 0 && compression != 3) return;  // run-length coded: the reader checks
  const int64_t rowBytes = (width * bits + 31) / 32 * 4;
  const int64_t needed = int64_t{offset} + rowBytes * height;
  if (file.size() < needed)
    throw TBadInput("map picture \"" + path + "\": the file is cut short (" + std::to_string(file.size()) +
                    " bytes where its pixels need " + std::to_string(needed) + ")");
}

}  // namespace

QImage ReadMap(const std::string& given) {
  const std::string path = MapPath(given);
  QImage picture;
  try {
    picture = ReadMapPicture(QString::fromStdString(path)).convertToFormat(QImage::Format_RGB32);
  } catch (const TPictureError& e) {
    throw TBadInput(e.what());
  }
  CheckBmpComplete(path);
  if (picture.width() != wymianadanych::MapWidth || picture.height() != wymianadanych::MapHeight)
    throw TBadInput("map picture \"" + path + "\": " + std::to_string(picture.width()) + " × " +
                    std::to_string(picture.height()) + " pixels; a map is " + std::to_string(wymianadanych::MapWidth) + " × " +
                    std::to_string(wymianadanych::MapHeight) + " (width × height)");
  return picture;
}

std::unique_ptr<QGuiApplication> TextSupport() {
  if (QGuiApplication::instance()) return nullptr;
  static int argc = 3;
  static char name[] = "wendo-lab", option[] = "-platform", platform[] = "offscreen";
  static char* argv[] = {name, option, platform, nullptr};
  // Its start-up notes (no runtime folder in a batch job) concern nobody.
  const QtMessageHandler previous = qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
  auto app = std::make_unique<QGuiApplication>(argc, argv);
  qInstallMessageHandler(previous);
  return app;
}

}  // namespace wendo_lab
