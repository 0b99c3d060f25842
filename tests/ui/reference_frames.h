// Straightforward drawings of the map and mini-map frames, pixel by pixel
// and with a painter, that the fast frames must match exactly.
#pragma once

#include <QImage>

namespace viewtest {

// Grey shown where the view reaches beyond the map.
constexpr QRgb OutsideMap = 0xFF404040u;

QImage ReferenceMap(int width, int height);
// Every mark, circle and view rectangle must lie within this margin of the
// mini-map for the painter-drawn reference to hold.
constexpr int PainterMargin = 600;
QImage ReferenceMiniMap(int width, int height, int mapWidth, int mapHeight);

// drawRect argument that outlines pixels l..r-1, t..b-1 with a one-pixel
// cosmetic pen.
QRect PainterBox(int l, int t, int r, int b);

}  // namespace viewtest
