// An advised layout drawn over the map window's frame: each new
// observation point with its circle of sight, each new boat's home, patrol
// point and the beat between them, in a colour no picture of the program
// uses; the naive layout, when asked for, beside it in a second colour.
#pragma once

#include <QColor>
#include <QImage>
#include <cstdint>
#include <vector>

#include "wymianadanych.h"

struct TLayoutObjects {
  std::vector<wymianadanych::TObserwator> Observers;
  std::vector<wymianadanych::TLodz> Boats;
};

struct TLayoutOverlay {
  TLayoutObjects Advised;
  TLayoutObjects Naive;
  bool ShowNaive = false;
};

inline const QColor AdvisedColour(255, 0, 255);  // magenta
inline const QColor NaiveColour(255, 140, 0);    // orange

// Draws over `frame`, whose top-left pixel is map position (viewLeft, viewTop).
void DrawLayoutOverlay(QImage& frame, const TLayoutOverlay& overlay, int64_t viewLeft, int64_t viewTop);
