// The eight pictures every frame is drawn from, loaded once at start-up and
// never changed afterwards.
#pragma once

#include <QColor>
#include <QImage>
#include <QSize>

#include "asset_folders.h"
#include "terrain_picture.h"

extern QImage MapPicture;      // wendo.bmp, 800 x 1200: the terrain map
extern QImage MiniMapPicture;  // wendomini.bmp, 160 x 240: the map at one fifth
extern QImage ObserverSprite;  // obserwator.bmp, 30 x 30
extern QImage BoatSprite;      // boat.bmp
extern QImage SharkSprite;     // rekin.bmp
extern QImage SwimmingSprite;  // plywa.bmp
extern QImage StandingSprite;  // stoi.bmp
extern QImage DeadSprite;      // rip.bmp

// A picture that only decorates a window (the banner, the splash picture),
// as Format_RGB32; when it is missing or unreadable, a plain one of `size`
// in `fallback`, as only the look suffers: the pictures the simulation
// needs are checked at start-up.
QImage DecorationPicture(const QString& fileName, QSize size, const QColor& fallback);

// Loads the eight pictures in table order as Format_RGB32. Throws
// std::runtime_error naming the file and the folders searched when one is
// missing, unreadable or not of its stated size; the pictures are then left
// as they were.
void LoadPictures();
