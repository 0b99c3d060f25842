#include "lab_support.h"

#include <QStringList>
#include <QtGlobal>

#include "asset_folders.h"
#include "bad_input.h"
#include "terrain_picture.h"

namespace wendo_lab {

namespace {
constexpr const char* DefaultMap = "wendo.bmp";
}  // namespace

QImage ReadMap(const std::string& given) {
  QString path = QString::fromStdString(given);
  if (path.isEmpty()) {
    path = FindAsset(QString::fromLatin1(DefaultMap));
    if (path.isEmpty())
      throw TBadInput(std::string("cannot find the program's map ") + DefaultMap + " (searched: " +
                      AssetFolders().join(QStringLiteral(", ")).toStdString() + "); name one with --map");
  }
  try {
    return ReadMapPicture(path).convertToFormat(QImage::Format_RGB32);
  } catch (const TPictureError& e) {
    throw TBadInput(e.what());
  }
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
