#pragma once

#include <QString>

// Reloads the written pictures from disk and checks what the program relies
// on: sizes, exact terrain colours, a reachable sea on every map row, the
// reduced map matching the map, and sprites free of terrain colours.
// Prints a summary; returns false (after printing why) on the first fault.
bool checkAssets(const QString &dir);
