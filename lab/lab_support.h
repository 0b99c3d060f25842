// What the subcommands of wendo-lab share: the map they run on and the
// text support that pictures with text need.
#pragma once

#include <QGuiApplication>
#include <QImage>
#include <memory>
#include <string>

namespace wendo_lab {

// The map picture's path: `given`, or the program's own wendo.bmp where the
// program finds its pictures when `given` is empty. Throws TBadInput when
// there is none.
std::string MapPath(const std::string& given);

// The map picture at MapPath(given), as 32-bit pixels. Throws TBadInput
// when it is missing, no picture, cut short (a BMP whose pixels end before
// the header says) or not the 800 × 1200 cells of the beach.
QImage ReadMap(const std::string& given);

// Text needs fonts, and fonts need a QGuiApplication; no display is used.
// Null when one exists already.
std::unique_ptr<QGuiApplication> TextSupport();

}  // namespace wendo_lab
