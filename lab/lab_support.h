// What the subcommands of wendo-lab share: the map they run on and the
// text support that pictures with text need.
#pragma once

#include <QGuiApplication>
#include <QImage>
#include <memory>
#include <string>

namespace wendo_lab {

// The map picture named by --map, or the program's own wendo.bmp where the
// program finds its pictures when `given` is empty, as 32-bit pixels.
// Throws TBadInput when it is missing or no picture.
QImage ReadMap(const std::string& given);

// Text needs fonts, and fonts need a QGuiApplication; no display is used.
// Null when one exists already.
std::unique_ptr<QGuiApplication> TextSupport();

}  // namespace wendo_lab
