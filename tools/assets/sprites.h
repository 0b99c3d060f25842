#pragma once

#include <QImage>

// 30 x 30 object pictures on a pure white background, which the map window
// treats as transparent. The object's position is pixel (15, 15), so each
// figure is centred there. No figure pixel is pure white or a terrain colour.
inline constexpr int SpriteSize = 30;

QImage paintObserverSprite();  // a lifeguard tower
QImage paintBoatSprite();      // a rescue boat seen from above
QImage paintSharkSprite();     // a shark fin cutting the water
QImage paintSwimmerSprite();   // a swimmer's head and arms in the water
QImage paintStandingSprite();  // a person standing
QImage paintDeadSprite();      // a grave stone
