#pragma once

#include <QImage>

// The application icon: a shark fin in the water inside a red and white
// lifebuoy, on a transparent background, drawn at the requested size.
QImage paintAppIcon(int size);
