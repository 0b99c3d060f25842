// Where the objects dialog lets an object stand: an observation point on a
// green (0x00008000) or olive (0x00008080) cell, a boat's home and patrol
// point on a water cell, blue (0x00FF0000) or aqua (0x00FFFF00). The
// terrain is a grid in the world's layout: cell (x, y) at x * MapHeight + y.
#pragma once

#include <cstdint>
#include <vector>

namespace wendo_lab {

enum class TObjectKind { Observer, Boat };

bool Accepts(TObjectKind kind, int32_t colour);

struct TCell {
  int32_t X = 0;
  int32_t Y = 0;
  friend bool operator==(const TCell&, const TCell&) = default;
};

// For every cell of the map, the nearest cell (Euclidean distance) that
// accepts the kind, worked out once with an exact distance transform, so
// that putting a position on a valid cell costs one look-up.
class TNearestCell {
 public:
  TNearestCell(const std::vector<int32_t>& terrain, TObjectKind kind);
  bool Empty() const { return nearest_.empty(); }
  // The accepted cell nearest to (x, y), once (x, y) is rounded and brought
  // within the map. Not for an empty table.
  TCell Snap(double x, double y) const;

 private:
  std::vector<int32_t> nearest_;  // per cell, the index of the nearest accepted cell
};

}  // namespace wendo_lab
