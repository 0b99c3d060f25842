#include "arrivals.h"

#include <cstdlib>
#include <optional>

#include "rules.h"
#include "spatial_index.h"
#include "terrain_kinds.h"

namespace wymianadanych {

namespace {

template <class T>
bool Within9(const T& o, int64_t x, int64_t y) {
  return std::llabs(x - o.X) < 10 && std::llabs(y - o.Y) < 10;
}

// Nobody, alive or dead, and no observation point within 9 dm in both axes.
bool Unblocked(const TWorld& w, int32_t x, int32_t y) {
  for (const TCzlowiek& p : w.People)
    if (Within9(p, x, y)) return false;
  for (const TObserwator& o : w.Observers)
    if (Within9(o, x, y)) return false;
  return true;
}

struct TCell {
  int32_t X, Y;
};

// Draws x, then y, until `accept` takes the cell, `more` says stop or
// MaxArrivalDraws cells have been rejected; `rejected` counts them across
// calls, so one search can change its test halfway.
template <class Accept, class More>
std::optional<TCell> Search(TWorld& w, int64_t& rejected, Accept accept, More more) {
  for (; rejected < MaxArrivalDraws && more(); ++rejected) {
    const int32_t x = w.Random(w.PictureWidth);
    const int32_t y = w.Random(w.PictureHeight);
    if (accept(x, y)) return TCell{x, y};
  }
  return std::nullopt;
}

template <class Accept>
std::optional<TCell> Search(TWorld& w, int64_t& rejected, Accept accept) {
  return Search(w, rejected, accept, [] { return true; });
}

// No cell can be accepted: the generator moves on as the rest of the search
// would have moved it, two calls a draw, without the draws.
void GiveUp(TWorld& w, int64_t rejected) { w.Random.Advance(2 * static_cast<uint64_t>(MaxArrivalDraws - rejected)); }

bool OnGrid(int32_t x, int32_t y) {
  return static_cast<uint32_t>(x) < static_cast<uint32_t>(MapWidth) &&
         static_cast<uint32_t>(y) < static_cast<uint32_t>(MapHeight);
}

std::optional<TCell> SearchFreeLand(TWorld& w) {
  int64_t rejected = 0;
  if (!w.UseSpatialIndex) return Search(w, rejected, [&](int32_t x, int32_t y) { return FreeLandCell(w, x, y); });

  TSpatialIndex& ix = IndexOf(w);
  ix.Notice(w);
  const TTerrainKinds& kinds = ix.Terrain;
  TFreeLandMap& map = ix.FreeLand;
  if (!map.Current(w, ix)) {
    // On a beach with room a few draws find a cell: walk the lists for
    // them, until the map is worth making.
    const int64_t blockers = static_cast<int64_t>(w.People.size() + w.Observers.size());
    const int64_t allowed = ix.ProbeBeforeMap ? map.WalkAllowance(w) : 0;
    int64_t budget = allowed;
    const auto found = Search(
        w, rejected,
        [&](int32_t x, int32_t y) {
          if (kinds.Kind(x, y) != Land) {
            --budget;
            return false;
          }
          budget -= 1 + blockers;
          return Unblocked(w, x, y);
        },
        [&] { return budget > 0; });
    map.Walked(allowed - budget);
    if (found || rejected == MaxArrivalDraws) return found;
    map.Build(w, ix);
  }
  if (map.Full()) {
    GiveUp(w, rejected);
    return std::nullopt;
  }
  const auto found = Search(w, rejected, [&](int32_t x, int32_t y) { return OnGrid(x, y) && map.Free(x, y); });
  if (found) map.AddPerson(found->X, found->Y);
  return found;
}

std::optional<TCell> SearchBlueWater(TWorld& w) {
  int64_t rejected = 0;
  if (!w.UseSpatialIndex)
    return Search(w, rejected, [&](int32_t x, int32_t y) { return TerrainAt(w, x, y) == WaterColour; });
  TSpatialIndex& ix = IndexOf(w);
  ix.Notice(w);
  const TTerrainKinds& kinds = ix.Terrain;
  if (!kinds.AnyReachableBlueWater()) {
    GiveUp(w, rejected);
    return std::nullopt;
  }
  return Search(w, rejected, [&](int32_t x, int32_t y) { return kinds.Kind(x, y) == BlueWater; });
}

// A new object on the cell found, if any: appended to `list`, counted and
// announced with `text`.
template <class T>
bool Arrive(TWorld& w, const std::optional<TCell>& cell, std::vector<T>& list, int32_t& count, const char* text) {
  if (!cell) return false;
  T& o = list.emplace_back();
  o.X = cell->X;
  o.Y = cell->Y;
  count += 1;
  w.Announce(text, o.X, o.Y);
  return true;
}

}  // namespace

bool FreeLandCell(const TWorld& w, int32_t x, int32_t y) {
  return TerrainAt(w, x, y) == LandColour && Unblocked(w, x, y);
}

bool BringPerson(TWorld& w) {
  return Arrive(w, SearchFreeLand(w), w.People, w.PersonCount, ": pojawił sie człowiek na ");
}

bool BringShark(TWorld& w) { return Arrive(w, SearchBlueWater(w), w.Sharks, w.SharkCount, ": pojawił sie rekin na "); }

}  // namespace wymianadanych
