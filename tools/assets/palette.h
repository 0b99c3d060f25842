#pragma once

#include <QColor>
#include <QRgb>

#include "terrain_picture.h"
#include "wymianadanych.h"

// The four terrain colours the simulation tests by exact value, taken from
// the simulation itself, and the colours of everything else on the map.
// Feature colours are chosen to be none of the four, and to stay clear of
// the mini-map's mark colours (black, cream, orange, maroon, red) so marks
// remain visible on them.
namespace palette {

inline constexpr QRgb DeepWater = PictureColour(wymianadanych::WaterColour);
inline constexpr QRgb ShallowWater = PictureColour(wymianadanych::CyanWaterColour);
inline constexpr QRgb Grass = PictureColour(wymianadanych::LandColour);
inline constexpr QRgb Dune = PictureColour(wymianadanych::OliveColour);

inline constexpr QRgb Paving = qRgb(224, 204, 160);
inline constexpr QRgb PavingJoint = qRgb(204, 184, 142);
inline constexpr QRgb Kerb = qRgb(168, 160, 150);

inline constexpr QRgb Gravel = qRgb(200, 186, 156);

inline constexpr QRgb TileLight = qRgb(200, 104, 72);
inline constexpr QRgb TileDark = qRgb(166, 84, 60);
inline constexpr QRgb TileRidge = qRgb(140, 72, 56);
inline constexpr QRgb SlateLight = qRgb(120, 128, 140);
inline constexpr QRgb SlateDark = qRgb(96, 104, 116);
inline constexpr QRgb SlateRidge = qRgb(76, 82, 94);
inline constexpr QRgb FlatRoof = qRgb(176, 176, 172);
inline constexpr QRgb FlatRoofEdge = qRgb(120, 120, 118);
inline constexpr QRgb RoofVent = qRgb(140, 142, 146);

inline constexpr QRgb PierPlank = qRgb(156, 112, 66);
inline constexpr QRgb PierGap = qRgb(118, 82, 46);
inline constexpr QRgb PierEdge = qRgb(92, 64, 38);

inline constexpr QRgb Rock = qRgb(126, 122, 114);
inline constexpr QRgb RockLight = qRgb(166, 162, 152);
inline constexpr QRgb RockShadow = qRgb(86, 84, 80);

inline constexpr QRgb TreeCanopy = qRgb(30, 96, 38);
inline constexpr QRgb TreeLight = qRgb(52, 122, 50);
inline constexpr QRgb TreeEdge = qRgb(18, 66, 26);
inline constexpr QRgb PalmFrond = qRgb(104, 178, 64);
inline constexpr QRgb PalmDark = qRgb(40, 98, 36);
inline constexpr QRgb PalmTrunk = qRgb(122, 96, 60);

inline constexpr QRgb UmbrellaA = qRgb(230, 200, 40);
inline constexpr QRgb UmbrellaB = qRgb(40, 140, 200);
inline constexpr QRgb UmbrellaC = qRgb(236, 236, 230);

// Every colour the map may contain, so a check can prove nothing else crept in.
inline constexpr QRgb All[] = {
    DeepWater, ShallowWater, Grass,     Dune,       Paving,    PavingJoint, Kerb,       Gravel,
    TileLight, TileDark,     TileRidge, SlateLight, SlateDark, SlateRidge,  FlatRoof,   FlatRoofEdge,
    RoofVent,  PierPlank,    PierGap,   PierEdge,   Rock,      RockLight,   RockShadow, TreeCanopy,
    TreeLight, TreeEdge,     PalmFrond, PalmDark,   PalmTrunk, UmbrellaA,   UmbrellaB,  UmbrellaC,
};

inline bool isTerrain(QRgb c) {
  const QRgb rgb = c & 0xFFFFFFu;
  return rgb == (DeepWater & 0xFFFFFFu) || rgb == (ShallowWater & 0xFFFFFFu) || rgb == (Grass & 0xFFFFFFu) ||
         rgb == (Dune & 0xFFFFFFu);
}

}  // namespace palette
