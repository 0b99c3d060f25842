// The shore line, where the starting layout of the optimiser puts its
// objects evenly, as a naive guard would.
//
// The shore cells of a kind are the cells that accept it (see
// placement_cells.h) with a cell of the other side among their four
// neighbours: for an observation point, a green or olive cell beside a water
// cell; for a boat, a water cell beside a green or olive cell. The line
// orders them along the coast: it starts at the northernmost shore cell (the
// leftmost of those), and from each cell goes on to the nearest shore cell
// not yet passed (the northernmost, then leftmost, of equally near ones),
// where a cell counts as passed once the line has been on it or on one of
// its eight neighbours, so that a coast two cells thick is walked once.
// The line's length is the sum of the straight steps between its cells,
// a jump across a gap in the coast (a pier's root, an island) included.
#pragma once

#include <cstdint>
#include <vector>

#include "placement_cells.h"

namespace wendo_lab {

class TShoreLine {
 public:
  TShoreLine(const std::vector<int32_t>& terrain, TObjectKind kind);
  bool Empty() const { return cells_.empty(); }
  const std::vector<TCell>& Cells() const { return cells_; }
  double Length() const { return cells_.empty() ? 0.0 : along_.back(); }
  // The first cell at least `fraction` (0 to 1) of the length along the
  // line. Not for an empty line.
  TCell At(double fraction) const;

 private:
  std::vector<TCell> cells_;
  std::vector<double> along_;  // distance along the line to each cell
};

}  // namespace wendo_lab
