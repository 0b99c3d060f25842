// The small font of the program's windows and dialogs.
#pragma once

#include <QFont>

// The system's default sans font at 8 points, never a font that may be
// missing.
QFont DialogFont();
