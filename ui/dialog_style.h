// How the program's windows and dialogs look: their small font, and the
// frame of a secondary window.
#pragma once

#include <QFont>
#include <QString>
#include <Qt>

class QDialog;

// The system's default sans font at 8 points, never a font that may be
// missing.
QFont DialogFont();

// A secondary window: a title bar with `caption` and a close box (and the
// `extra` buttons), and the small font.
void FrameDialog(QDialog& dialog, const QString& caption, Qt::WindowFlags extra = {});
