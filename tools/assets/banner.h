#pragma once

#include <QImage>

// The 590 x 158 main-window banner: a painted panorama of a sandy shore
// with surf in front, a bay, low houses among palms on the far shore, and
// a sky with clouds.
QImage paintBanner();
