#pragma once

#include <QImage>

// The 282 x 203 start-up picture: a white swimmer above three wavy lines on
// black, as a two-colour (1 bit per pixel) image.
QImage paintSplash();
