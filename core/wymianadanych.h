// The world unit: every simulated object, the terrain, the scenario
// parameters, the run counters and the helpers the behaviour rules share.
//
// Plain standard C++: no toolkit header may be included here, so the core
// can be built, tested and benchmarked without a display.
#pragma once

#include <array>
#include <atomic>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "fair_lock.h"

namespace wymianadanych {

// ---------------------------------------------------------------- terrain

constexpr int32_t MapWidth = 800;    // columns, X from 0 to 799
constexpr int32_t MapHeight = 1200;  // rows, Y from 0 to 1199
constexpr int32_t MaxX = MapWidth - 1;
constexpr int32_t MaxY = MapHeight - 1;

// Colours are 0x00BBGGRR: red in the low byte, blue in the third.
constexpr int32_t Rgb(int32_t r, int32_t g, int32_t b) { return r + 256 * g + 65536 * b; }
constexpr int32_t LandColour = Rgb(0, 128, 0);          // 0x00008000
constexpr int32_t OliveColour = Rgb(128, 128, 0);       // 0x00008080
constexpr int32_t WaterColour = Rgb(0, 0, 255);         // 0x00FF0000
constexpr int32_t CyanWaterColour = Rgb(0, 255, 255);   // 0x00FFFF00
constexpr int32_t NoPixel = -1;

inline bool IsWater(int32_t colour) { return colour == WaterColour || colour == CyanWaterColour; }

// Something worked out once from a terrain that no grid can change any
// more, kept with it for every grid that holds it (internal/terrain_kinds.h).
struct TTerrainDerived {
  virtual ~TTerrainDerived() = default;
};

// The terrain cells, element [x][y] at x * MapHeight + y. Reading costs
// nothing extra; every access that can write counts a new Version, so what
// is worked out from the terrain knows to work it out again, whoever wrote.
// A writable pointer is for writing at once, not for keeping.
//
// Grids filled from the same picture hold one set of cells between them,
// which none of them can change: the first access that can write gives
// that grid cells of its own, a copy. So the worlds of an experiment, all
// on one map, keep one terrain, and a grid that is written keeps its own.
class TTerrainGrid {
 public:
  TTerrainGrid();
  TTerrainGrid(const TTerrainGrid&) = delete;
  TTerrainGrid& operator=(const TTerrainGrid&) = delete;

  size_t size() const { return static_cast<size_t>(MapWidth) * MapHeight; }
  int32_t operator[](size_t i) const { return read_[i]; }
  const int32_t* data() const { return read_; }
  const int32_t* begin() const { return data(); }
  const int32_t* end() const { return data() + size(); }

  int32_t& operator[](size_t i) { return Write()[i]; }
  int32_t* data() { return Write(); }
  int32_t* begin() { return Write(); }
  int32_t* end() { return Write() + size(); }

  uint64_t Version() const { return version_.load(std::memory_order_relaxed); }

  // Whether the cells are held in common with other grids (and so are
  // read-only until this grid writes).
  bool Shared() const { return shared_; }
  // For shared cells, what `make` works out from them, made once under
  // `key` and kept with the cells; for cells of this grid's own, null.
  std::shared_ptr<const TTerrainDerived> Derived(uint64_t key,
                                                 std::shared_ptr<const TTerrainDerived> (*make)(const int32_t* cells,
                                                                                               uint64_t key)) const;

  struct TCells;  // wymianadanych.cpp

 private:
  friend void FillTerrainGrid(TTerrainGrid& grid, const uint32_t* pixels, int32_t width, int32_t height);
  void Hold(std::shared_ptr<TCells> cells, bool shared);
  int32_t* Write();

  std::shared_ptr<TCells> cells_;
  int32_t* read_ = nullptr;  // the cells' first element
  bool shared_ = false;
  std::atomic<uint64_t> version_{0};
};

// Copies a map picture into `grid`: `pixels` holds width * height
// 0x00BBGGRR values row after row; cells beyond the picture, or beyond the
// grid's MapWidth x MapHeight, get NoPixel. The cells are shared with every
// other grid that holds the same ones (a grid filled from the same picture).
void FillTerrainGrid(TTerrainGrid& grid, const uint32_t* pixels, int32_t width, int32_t height);

// ---------------------------------------------------------------- objects

// A new object starts with every field zero or false.
struct TObiekt {
  int32_t X = 0;
  int32_t Y = 0;
};

struct TObserwator : TObiekt {
  int32_t Range = 0;
};

struct TCzlowiek : TObiekt {
  bool Dead = false;
};

struct TRekin : TObiekt {
  bool Dead = false;
  int32_t LastSeenStep = 0;
};

struct TLodz : TObiekt {
  int32_t HomeX = 0;
  int32_t HomeY = 0;
  int32_t PatrolX = 0;
  int32_t PatrolY = 0;
  int32_t Range = 0;
  int32_t Speed = 0;
  bool Outbound = false;
};

// ---------------------------------------------------------------- helpers

// The one linear congruential generator: seed := seed * 134775813 + 1, and
// Random(n) is the high half of the 64-bit product of the new seed and n.
class TRandom {
 public:
  static constexpr uint32_t Multiplier = 134775813u;
  static constexpr uint32_t Increment = 1u;

  uint32_t Seed = 0;
  int32_t operator()(int32_t n) {
    Seed = Seed * Multiplier + Increment;
    return Scaled(Seed, n);
  }

  // The next K draws' seeds at once, the generator advanced past them.
  // Each is an affine map of the present seed, so the K products are
  // independent of one another instead of a chain K multiplications long;
  // Scaled(seeds[i], n) is then what the i-th call of Random(n) returns.
  template <int K>
  std::array<uint32_t, K> NextSeeds() {
    static_assert(K >= 1 && K <= 8);
    std::array<uint32_t, K> seeds;
    for (int i = 0; i < K; ++i) seeds[i] = Seed * Powers[i].Mul + Powers[i].Add;
    Seed = seeds[K - 1];
    return seeds;
  }
  static int32_t Scaled(uint32_t seed, int32_t n) {
    return static_cast<int32_t>((static_cast<uint64_t>(seed) * static_cast<uint32_t>(n)) >> 32);
  }

  // The seed after `calls` more calls, without making them: the step
  // seed -> a * seed + c is an affine map, and its powers are found by
  // squaring, so this costs O(log calls).
  void Advance(uint64_t calls) {
    uint32_t mul = 1, add = 0;                     // the map of the calls taken so far
    uint32_t powMul = Multiplier, powAdd = Increment;  // the map of 2^k calls
    for (; calls != 0; calls >>= 1) {
      if (calls & 1) {
        mul *= powMul;
        add = add * powMul + powAdd;
      }
      powAdd = powAdd * powMul + powAdd;
      powMul *= powMul;
    }
    Seed = Seed * mul + add;
  }

 private:
  // The maps of 1, 2, … 8 calls.
  struct TAffine {
    uint32_t Mul, Add;
  };
  static constexpr std::array<TAffine, 8> Powers = [] {
    std::array<TAffine, 8> p{};
    TAffine m{Multiplier, Increment};
    for (TAffine& q : p) {
      q = m;
      m = {m.Mul * Multiplier, m.Add * Multiplier + Increment};
    }
    return p;
  }();
};

// Nearest integer, halves to even: the processor's rounding, which is to
// the nearest with ties to even unless someone changed the mode. Out of
// range, the nearest end.
inline int64_t Round(long double v) {
  if (v > -9.2e18L && v < 9.2e18L) return __builtin_llrintl(v);
  return v < 0 ? std::numeric_limits<int64_t>::min() : std::numeric_limits<int64_t>::max();
}

// Round(n / k) for a positive k, worked out exactly in integers: the
// quotient, one more past the half, the even one of the two at the half.
inline int64_t RoundQuotient(int64_t n, int64_t k) {
  int64_t q = n / k, r = n % k;
  if (r < 0) {
    q -= 1;
    r += k;
  }
  if (2 * r > k || (2 * r == k && (q & 1))) q += 1;
  return q;
}

// Whether the exact square root of `s` (an integer below 2^53, at least 1)
// lies so near the midpoint between two doubles that its root rounded to
// extended precision and then to a double may differ from `root`, its
// root rounded to a double once. The extended root lands on a midpoint
// only from within 2^-12 of a double's spacing u of it. As `root` is the
// nearest double, the midpoints nearest the exact root t lie u/2 from
// `root`, and t - root = (s - root^2) / (t + root): the residual
// s - root^2 is about root * u there. It is worked out exactly but for
// one rounding (root^2 split by Dekker's product; s less its high part
// is exact, the two lying within a factor of two), and the test allows
// for 2^-9 of it. At a power of two, where the spacing halves below,
// the answer is always yes.
inline bool NearRoundingMidpoint(double s, double root) {
  constexpr uint64_t mantissa = (uint64_t{1} << 52) - 1;
  const uint64_t bits = std::bit_cast<uint64_t>(root);
  if ((bits & mantissa) == 0) return true;
  const double u = std::bit_cast<double>((bits & ~mantissa) - (uint64_t{52} << 52));
  const double split = 134217729.0 * root;  // 2^27 + 1
  const double high = split - (split - root), low = root - high;
  const double square = root * root;
  const double error = ((high * high - square) + 2 * high * low) + low * low;
  const double residual = (s - square) - error;
  const double midway = root * u;
  return std::fabs(std::fabs(residual) - midway) <= midway * 0x1p-9;
}

// Square root of dx*dx + dy*dy, taken in extended precision and held as a
// double. Squares are summed in extended precision so positions from
// hand-edited files cannot overflow; on the map this equals the 32-bit sum.
// Where the sum is exact as a double, the double root, which the
// processor takes faster, is the same number except near a midpoint,
// which is told apart first. (A fused multiply-add would round Dekker's
// product once too often, so the shortcut is left to processors whose
// compiler cannot fuse.)
inline double Distance(int64_t dx, int64_t dy) {
#if defined(__x86_64__) && !defined(__FMA__)
  constexpr int64_t exact = int64_t{1} << 26;  // sums below 2^53
  if (dx > -exact && dx < exact && dy > -exact && dy < exact) {
    const double s = static_cast<double>(dx * dx + dy * dy);
    if (s == 0) return 0;
    const double root = std::sqrt(s);
    if (!NearRoundingMidpoint(s, root)) return root;
  }
#endif
  const long double s = static_cast<long double>(dx) * dx + static_cast<long double>(dy) * dy;
  return static_cast<double>(std::sqrt(s));
}

// Round(n / dist), the quotient taken in extended precision. The double
// quotient rounds the same way unless it lies within a hair of a half,
// where the extended one is taken; adding and taking away 1.5 * 2^52
// rounds a double below 2^51 to the nearest integer, halves to even (the
// compiler may not fold the two away, as they round).
inline int64_t RoundOver(int64_t n, double dist) {
  constexpr int64_t exactBelow = int64_t{1} << 50;
  if (n > -exactBelow && n < exactBelow && dist >= 1) {
    const double q = static_cast<double>(n) / dist;
    const double r = (q + 0x1.8p52) - 0x1.8p52;
    const double fromHalf = std::fabs(std::fabs(q - r) - 0.5);
    if (fromHalf > 0x1p-40 * std::fabs(q)) return static_cast<int64_t>(r);
  }
  return Round(static_cast<long double>(n) / static_cast<long double>(dist));
}

inline int64_t SquaredDistance(int64_t dx, int64_t dy) { return dx * dx + dy * dy; }

// Step length in dm for a speed in dm/s: Round(speed * stepMs / 1000).
// A negative length counts as 0, and lengths are capped at MaxStepLength.
constexpr int32_t MaxStepLength = 1000000;
int32_t StepLength(int32_t speed, int32_t stepMs);

// Decimal text of a signed integer: minus sign when negative, no padding.
std::string IntToStr(int64_t v);

// Shortest general form with at most 15 significant digits, trailing zeros
// and a trailing separator removed, `separator` as the decimal separator
// and never a group separator.
std::string FormatGeneral(double v, const std::string& separator);

// ---------------------------------------------------------------- world

// What the simulation keeps beside the world to find neighbours quickly;
// internal/spatial_index.h has it, made at its first use.
struct TSpatialIndex;
struct TSpatialIndexDeleter {
  void operator()(TSpatialIndex* index) const;
};

struct TWorld {
  TWorld();
  ~TWorld();
  TWorld(const TWorld&) = delete;
  TWorld& operator=(const TWorld&) = delete;

  // Serialises the world between the simulation thread and the user
  // interface: held for every arrival and every step, by every reader that
  // walks a list from another thread, and for draining EventLog. Handed
  // over in turn, so a waiting interface is served after the hold in
  // progress, never after the simulation's next one (with the simulation
  // and the interface its only takers, as they are).
  mutable TFairLock Lock;

  std::vector<TObserwator> Observers;
  std::vector<TCzlowiek> People;
  std::vector<TLodz> Boats;
  std::vector<TRekin> Sharks;

  // NoPixel where the map has no pixel.
  TTerrainGrid TerrainGrid;
  // Bounds for random placement: the map picture's size, at most the grid's.
  int32_t PictureWidth = MapWidth;
  int32_t PictureHeight = MapHeight;

  int32_t Terrain(int32_t x, int32_t y) const { return TerrainGrid[static_cast<size_t>(x) * MapHeight + y]; }

  // Scenario parameters; their defaults, names and file order are in
  // parameters.h. The two timing periods may change during a run, so they
  // are atomic; the others change only while no step can run.
  std::atomic<int32_t> SimStepMs{0};
  std::atomic<int32_t> RefreshMs{0};
  int32_t PersonArrivalS = 0;
  int32_t PersonMax = 0;
  int32_t PersonSpeed = 0;
  int32_t PersonRange = 0;
  int32_t SharkArrivalS = 0;
  int32_t SharkMax = 0;
  int32_t SharkSpeed = 0;
  int32_t SharkRange = 0;

  // Counters shown by the statistics window.
  int32_t ObserverCount = 0;
  int32_t BoatCount = 0;
  int32_t PersonCount = 0;
  int32_t DeadPeople = 0;
  int32_t SharkCount = 0;
  int32_t DeadSharks = 0;
  // Sightings announced by a message, by observation points and by boats;
  // set to 0 by a fresh start with the counters above, shown nowhere.
  int64_t ObserverSightings = 0;
  int64_t BoatSightings = 0;

  // Run state.
  bool SharkAlarm = false;
  // Whether the people of the last step moved under the alarm, raised by an
  // observation point at the end of the step before or by a boat in this
  // one: the alarm they reacted to, which the end of the step clears.
  bool PeopleWarned = false;
  int32_t StepCounter = 0;
  int32_t ElapsedMs = 0;
  std::vector<std::string> EventLog;  // messages not yet shown
  uint64_t EventsAppended = 0;        // every message ever appended

  // The live people on a water cell as the last step left them, counted
  // by the step, with what the count holds for: that step, that many
  // people, that terrain. CountSwimmers (moment_counts.h) reads it.
  struct TStepSwimmers {
    int32_t Count = 0;
    int32_t Step = 0;
    size_t People = 0;
    uint64_t TerrainVersion = 0;
    bool Counted = false;
  } StepSwimmers;

  int32_t ViewLeft = 0;
  int32_t ViewTop = 0;

  TRandom Random;

  // Decimal separator of the time stamps; the program sets the locale's.
  std::string DecimalSeparator = ".";

  // Steps and arrivals ask a spatial index which objects are near instead
  // of walking the lists; the results are the same. Off, the literal walks
  // run (the reference the index is tested against).
  bool UseSpatialIndex = true;
  std::unique_ptr<TSpatialIndex, TSpatialIndexDeleter> Index;

  // Puts every parameter, list, flag and view value back to the start-up
  // defaults (the counters, StepCounter, ElapsedMs and EventLog as New
  // leaves them: untouched).
  void ResetScenario();

  // FillTerrainGrid on TerrainGrid; the picture's size, at most the grid's,
  // becomes the bounds for random placement.
  void FillTerrain(const uint32_t* pixels, int32_t width, int32_t height);

  // "12.5" for ElapsedMs 12500, with DecimalSeparator.
  std::string TimePrefix() const;

  // An event message: the time prefix, then `text` followed by "(x,y)" for
  // each place given, then "." — as in "1.5: rekina na (3,4) zjadł
  // człowieka z pozycji (5,6).". Only the simulation thread writes them.
  std::string EventMessage(const char* text1, int64_t x1, int64_t y1, const char* text2 = nullptr, int64_t x2 = 0,
                           int64_t y2 = 0) const;
  void AppendEvent(std::string text) {
    EventLog.push_back(std::move(text));
    ++EventsAppended;
  }
  // The event message of EventMessage appended, or only counted in
  // EventsAppended when WriteMessages is off.
  void Announce(const char* text1, int64_t x1, int64_t y1, const char* text2 = nullptr, int64_t x2 = 0,
                int64_t y2 = 0) {
    if (WriteMessages)
      AppendEvent(EventMessage(text1, x1, y1, text2, x2, y2));
    else
      ++EventsAppended;
  }
  // A run whose messages nobody reads (an experiment that keeps only the
  // counters) turns this off: the step then writes no text into EventLog,
  // and everything else happens as with it on.
  bool WriteMessages = true;

  // Takes every pending message at once; what is appended afterwards waits
  // for the next call. Takes the lock itself.
  std::vector<std::string> DrainEvents();

 private:
  // The last time prefix made, as a step writes many with the same time.
  mutable int32_t prefixMs_ = -1;
  mutable std::string prefixSeparator_, prefix_;
};

// The process-wide world of the program.
extern TWorld World;

}  // namespace wymianadanych
