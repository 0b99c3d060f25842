#include "replacing_save.h"

#include <QFile>

#include "replacing_file.h"

void SaveReplacing(const QString& path, std::string_view bytes) {
  wymianadanych::TReplacingFile file(QFile::encodeName(path).toStdString(), {});
  file.Write(bytes);
  file.Commit();
}
