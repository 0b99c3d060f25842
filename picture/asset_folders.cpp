#include "asset_folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#ifndef WENDO_DATADIR
#define WENDO_DATADIR "/usr/local/share/wendo"
#endif

namespace {

// The running program's folder; without an application object (a tool that
// only reads pictures) the kernel's link to the executable tells it.
QString ProgramFolder() {
  if (QCoreApplication::instance()) return QCoreApplication::applicationDirPath();
  const QFileInfo self(QStringLiteral("/proc/self/exe"));
  return self.exists() ? QFileInfo(self.symLinkTarget()).absolutePath() : QString();
}

}  // namespace

QStringList AssetFolders() {
  QStringList folders{QDir::currentPath()};
  const QString exe = ProgramFolder();
  if (!exe.isEmpty()) {
    folders << exe << QDir(exe).filePath(QStringLiteral("assets"));
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
