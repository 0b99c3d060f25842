// A window's picture saved through the replacing save: in the format the
// file name asks for where Qt can write it, else PNG.
#pragma once

#include <QString>

class QWidget;

// Throws on failure; the old file, if any, is then kept.
void SaveWidgetPicture(QWidget& widget, const QString& path);
