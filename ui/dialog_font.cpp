#include "dialog_font.h"

#include <QApplication>

QFont DialogFont() {
  QFont font = QApplication::font();
  font.setPointSize(8);
  return font;
}
