// Many marks of one colour, such as the crosses and sighting circles of a
// million observation points on the 160 x 240 mini-map. The frame ends up
// exactly as if each were drawn with TRaster::Put and TRaster::Ellipse.
// With one colour the order does not matter, and a circle whose box lies on
// pixels that all have the colour already would change nothing, so it is
// skipped: the set counts, for each 8 x 8 tile of the frame, the pixels not
// yet of the colour, and draws a circle only in the columns of its box
// that meet a tile with some. Once thousands of circles have covered the
// frame, the rest cost a few bit tests each. The first few hundred marks
// are simply drawn, so a frame with few of them never pays for counting.
//
// While the set is in use, nothing else may be drawn on the frame: the
// counts would no longer hold.
#pragma once

#include <cstdint>
#include <vector>

#include "frame_raster.h"

namespace wendoui {

class TOneColourMarks {
 public:
  TOneColourMarks(TRaster& raster, QRgb colour);

  void Put(int64_t x, int64_t y);
  void Ellipse(int64_t l, int64_t t, int64_t r, int64_t b);

 private:
  static constexpr int TileShift = 3;  // 8 x 8 pixels
  static constexpr int PlainMarks = 256;

  // Counts what the frame holds now; the marks from here on keep count.
  void StartCounting();
  // Narrows columns x0..x1 to those whose tiles in rows y0..y1 still have
  // pixels not of the colour (in whole tiles); false when there are none.
  bool OpenColumns(int64_t& x0, int64_t y0, int64_t& x1, int64_t y1) const;
  // Colours rows y0..y1 of column x (clipped), keeping the counts.
  void Column(int64_t x, int64_t y0, int64_t y1);
  void Ink(QRgb& pixel, int64_t x, int64_t y);

  TRaster& raster_;
  QRgb colour_;
  int marks_ = 0;  // drawn before counting started
  bool counting_ = false;
  int64_t tilesAcross_;
  std::vector<int32_t> left_;  // per tile: pixels not of the colour yet
  // Per tile row, a bit for each tile that still has such pixels.
  int64_t wordsPerRow_;
  std::vector<uint64_t> open_;
};

}  // namespace wendoui
