// The map picture as terrain: the colour conversion between picture pixels
// and the world's colour values, and the fill of the terrain grid from a
// picture. Qt Gui only (no widgets), so the program, the trace runner, the
// benchmarks and the experiment runner share it, with or without a display.
#pragma once

#include <QImage>
#include <QString>
#include <cstdint>
#include <stdexcept>

#include "wymianadanych.h"

// A picture pixel 0xAARRGGBB as a world colour 0x00BBGGRR (alpha dropped).
constexpr int32_t TerrainColour(QRgb pixel) {
  return static_cast<int32_t>(((pixel & 0xFFu) << 16) | (pixel & 0xFF00u) | ((pixel >> 16) & 0xFFu));
}

// A world colour 0x00BBGGRR as an opaque picture pixel 0xFFRRGGBB.
constexpr QRgb PictureColour(int32_t colour) {
  const uint32_t c = static_cast<uint32_t>(colour);
  return 0xFF000000u | ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}

// A map picture file that is missing, unreadable or no picture.
class TPictureError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Copies a picture of any pixel format into a terrain grid, by colour;
// cells beyond the picture get NoPixel. No world is needed.
void FillTerrainGridFromPicture(wymianadanych::TTerrainGrid& grid, const QImage& picture);

// The same into the world's terrain grid; the picture's size becomes the
// bounds for random placement.
void FillTerrainFromPicture(wymianadanych::TWorld& world, const QImage& picture);

// Reads a picture file of any format Qt reads. Throws TPictureError naming
// the file and saying what is wrong with it.
QImage ReadMapPicture(const QString& path);

// ReadMapPicture, then FillTerrainFromPicture; the terrain is unchanged on
// failure. Returns the picture read.
QImage LoadTerrainPicture(wymianadanych::TWorld& world, const QString& path);
