// A one-line progress bar on a terminal: runs done of all, runs per
// second, a note of the caller's, and the time left. Redrawn at most ten
// times a second.
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

namespace wendo_lab {

class TProgressBar {
 public:
  // Draws nothing unless `enabled` (standard error is a terminal).
  TProgressBar(std::FILE* terminal, int64_t total, bool enabled);
  ~TProgressBar();

  void Update(int64_t done);
  // For work whose size becomes known as it goes.
  void SetTotal(int64_t total) { total_ = total; }
  // Shown from the next redraw on, such as the best result so far.
  void SetNote(std::string note) { note_ = std::move(note); }
  // Takes the line away, so other output can be written to the terminal.
  void Clear();

 private:
  void Draw(int64_t done);

  std::FILE* terminal_;
  int64_t total_;
  bool enabled_;
  bool shown_ = false;
  std::string note_;
  std::chrono::steady_clock::time_point start_, lastDraw_;
};

}  // namespace wendo_lab
