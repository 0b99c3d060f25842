#include "dialog_style.h"

#include <QApplication>
#include <QDialog>

QFont DialogFont() {
  QFont font = QApplication::font();
  font.setPointSize(8);
  return font;
}

void FrameDialog(QDialog& dialog, const QString& caption, Qt::WindowFlags extra) {
  dialog.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                        extra);
  dialog.setWindowTitle(caption);
  dialog.setFont(DialogFont());
}
