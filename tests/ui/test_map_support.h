// Shared set-up for the map and mini-map tests: hand-built pictures and
// terrain, an empty world and both windows.
#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <memory>

#include "wendoUnit2.h"
#include "wendoUnit3.h"
#include "wymianadanych.h"

namespace viewtest {

// Frame colour of a world colour (0x00BBGGRR).
QRgb Px(int32_t worldColour);

// Sprite kinds as the fixture installs them.
enum TKind { ObserverKind, SharkKind, SwimmingKind, StandingKind, DeadKind, BoatKind };

// A 30 x 30 sprite whose every pixel tells its kind and position apart,
// with a few pure white (transparent) pixels and one near-white pixel.
QImage MakeSprite(int kind);
bool SpriteKeyed(int kind, int i, int j);  // true where MakeSprite(kind) put pure white
constexpr int NearWhiteI = 3, NearWhiteJ = 4;

// An 800 x 1200 map whose pixels differ from their neighbours; no pixel is
// one of the four terrain colours unless painted so.
QImage MakeMap();
QImage MakeMiniMap();

// Paints a rectangle of the map picture and the matching terrain cells.
void PaintTerrain(int x, int y, int w, int h, int32_t worldColour);

class ViewsTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  static void Clear();
  QImage MapFrame();      // RedrawMap, then the frame Image1 shows
  QImage MiniMapFrame();  // RedrawMiniMap, then the frame Image1 shows

  std::unique_ptr<TForm2> form2;
  std::unique_ptr<TForm3> form3;
};

}  // namespace viewtest
