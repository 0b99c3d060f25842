#pragma once

#include <QImage>

// The map reduced to one fifth: each 5 x 5 block becomes the colour most of
// its pixels have (ties go to the block's centre pixel), so the result holds
// only colours of the map itself, never a blend.
QImage reduceToMiniMap(const QImage &map);
