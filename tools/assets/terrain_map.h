#pragma once

#include <QImage>

// The 800 x 1200 beach map: sea to the left, land to the right, with a
// promenade, buildings, a pier, rocks, paths and trees. Every pixel holds
// one exact palette colour (no anti-aliasing), because the simulation
// reads the terrain from the pixel colours.
QImage paintTerrainMap();
