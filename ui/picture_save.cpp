#include "picture_save.h"

#include <stdexcept>

#include <QBuffer>
#include <QFileInfo>
#include <QImageWriter>
#include <QWidget>

#include "replacing_save.h"

void SaveWidgetPicture(QWidget& widget, const QString& path) {
  QByteArray picture;
  QBuffer buffer(&picture);
  buffer.open(QIODevice::WriteOnly);
  // A "Wszystkie Pliki" choice may name a .jpg.
  QByteArray format = QFileInfo(path).suffix().toLower().toLatin1();
  if (!QImageWriter::supportedImageFormats().contains(format)) format = "png";
  QImageWriter writer(&buffer, format);
  if (!writer.write(widget.grab().toImage())) throw std::runtime_error(writer.errorString().toStdString());
  SaveReplacing(path, std::string_view(picture.constData(), static_cast<size_t>(picture.size())));
}
