#include "wymianadanych.h"

#include "parameters.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <mutex>
#include <utility>

namespace wymianadanych {

TWorld World;

int32_t StepLength(int32_t speed, int32_t stepMs) {
  const int64_t d = RoundQuotient(static_cast<int64_t>(speed) * stepMs, 1000);
  return static_cast<int32_t>(std::clamp<int64_t>(d, 0, MaxStepLength));
}

std::string IntToStr(int64_t v) {
  char buf[24];
  auto res = std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, res.ptr);
}

std::string FormatGeneral(double v, const std::string& separator) {
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 15);
  std::string s(buf, res.ptr);
  // to_chars already drops trailing zeros in general form; it writes a
  // point, which becomes the wanted separator.
  const auto dot = s.find('.');
  if (dot != std::string::npos) s.replace(dot, 1, separator);
  return s;
}

TWorld::TWorld() { ResetScenario(); }

TWorld::~TWorld() = default;

void TWorld::ResetScenario() {
  ViewLeft = 0;
  ViewTop = 0;
  SharkAlarm = false;
  SetParameters(*this, DefaultParameters());
  std::lock_guard guard(Lock);
  Observers.clear();
  People.clear();
  Boats.clear();
  Sharks.clear();
}

struct TTerrainGrid::TCells {
  std::vector<int32_t> Cells;
  // What has been worked out from shared cells, by key.
  std::mutex DerivedLock;
  std::vector<std::pair<uint64_t, std::shared_ptr<const TTerrainDerived>>> Derived;
};

namespace {

// Every set of shared cells still held by a grid. Its cells never change:
// a grid that writes takes a copy first. So a grid that is filled with the
// same cells as one of them holds those instead of its own.
class TSharedTerrains {
 public:
  std::shared_ptr<TTerrainGrid::TCells> Intern(std::vector<int32_t>&& cells) {
    std::lock_guard guard(lock_);
    std::erase_if(held_, [](const auto& weak) { return weak.expired(); });
    for (const auto& weak : held_)
      if (auto known = weak.lock();
          known && known->Cells.size() == cells.size() &&
          std::memcmp(known->Cells.data(), cells.data(), cells.size() * sizeof(int32_t)) == 0)
        return known;
    auto made = std::make_shared<TTerrainGrid::TCells>();
    made->Cells = std::move(cells);
    held_.push_back(made);
    return made;
  }

 private:
  std::mutex lock_;
  std::vector<std::weak_ptr<TTerrainGrid::TCells>> held_;
};

TSharedTerrains& SharedTerrains() {
  static TSharedTerrains terrains;
  return terrains;
}

}  // namespace

TTerrainGrid::TTerrainGrid() {
  // Every new grid starts with the one blank terrain, held for good.
  static const std::shared_ptr<TCells> blank =
      SharedTerrains().Intern(std::vector<int32_t>(static_cast<size_t>(MapWidth) * MapHeight, NoPixel));
  Hold(blank, true);
}

void TTerrainGrid::Hold(std::shared_ptr<TCells> cells, bool shared) {
  cells_ = std::move(cells);
  read_ = cells_->Cells.data();
  shared_ = shared;
}

int32_t* TTerrainGrid::Write() {
  if (shared_) {
    auto own = std::make_shared<TCells>();
    own->Cells = cells_->Cells;
    Hold(std::move(own), false);
  }
  version_.fetch_add(1, std::memory_order_relaxed);
  return read_;
}

std::shared_ptr<const TTerrainDerived> TTerrainGrid::Derived(
    uint64_t key, std::shared_ptr<const TTerrainDerived> (*make)(const int32_t* cells, uint64_t key)) const {
  if (!shared_) return nullptr;
  TCells& held = *cells_;
  std::lock_guard guard(held.DerivedLock);
  for (const auto& [k, value] : held.Derived)
    if (k == key) return value;
  auto made = make(held.Cells.data(), key);
  held.Derived.emplace_back(key, made);
  return made;
}

void FillTerrainGrid(TTerrainGrid& grid, const uint32_t* pixels, int32_t width, int32_t height) {
  const int32_t w = std::clamp(width, 0, MapWidth);
  const int32_t h = std::clamp(height, 0, MapHeight);
  std::vector<int32_t> cells(grid.size(), NoPixel);
  // Read row by row (the picture's own order), write column-major.
  for (int32_t y = 0; y < h; ++y) {
    const uint32_t* row = pixels + static_cast<size_t>(y) * width;
    int32_t* cell = cells.data() + y;
    for (int32_t x = 0; x < w; ++x) cell[static_cast<size_t>(x) * MapHeight] = static_cast<int32_t>(row[x] & 0x00FFFFFFu);
  }
  grid.Hold(SharedTerrains().Intern(std::move(cells)), true);
  grid.version_.fetch_add(1, std::memory_order_relaxed);
}

void TWorld::FillTerrain(const uint32_t* pixels, int32_t width, int32_t height) {
  FillTerrainGrid(TerrainGrid, pixels, width, height);
  PictureWidth = std::clamp(width, 0, MapWidth);
  PictureHeight = std::clamp(height, 0, MapHeight);
}

std::string TWorld::TimePrefix() const {
  if (ElapsedMs != prefixMs_ || DecimalSeparator != prefixSeparator_) {
    prefix_ = FormatGeneral(ElapsedMs / 1000.0, DecimalSeparator);
    prefixMs_ = ElapsedMs;
    prefixSeparator_ = DecimalSeparator;
  }
  return prefix_;
}

namespace {
void AppendPlace(std::string& s, int64_t x, int64_t y) {
  char digits[24];
  s += '(';
  s.append(digits, std::to_chars(digits, digits + sizeof digits, x).ptr);
  s += ',';
  s.append(digits, std::to_chars(digits, digits + sizeof digits, y).ptr);
  s += ')';
}
}  // namespace

std::string TWorld::EventMessage(const char* text1, int64_t x1, int64_t y1, const char* text2, int64_t x2,
                                 int64_t y2) const {
  TimePrefix();  // brings prefix_ up to date
  std::string s;
  s.reserve(prefix_.size() + 112);  // the longest text with two places fits
  s += prefix_;
  s += text1;
  AppendPlace(s, x1, y1);
  if (text2) {
    s += text2;
    AppendPlace(s, x2, y2);
  }
  s += '.';
  return s;
}

std::vector<std::string> TWorld::DrainEvents() {
  std::vector<std::string> taken;
  std::lock_guard guard(Lock);
  taken.swap(EventLog);
  return taken;
}

}  // namespace wymianadanych
