// How work stops early: the stop flag that a signal sets, checked at the
// points where a command may wait or work long, and a test hook that
// raises a signal at a named point so that a stop in each phase can be
// tried without timing.
#pragma once

#include <atomic>
#include <string_view>

namespace wendo_lab {

// Thrown where a stop is noticed; LabMain turns it into ExitStopped.
struct TStopped {};

inline bool StopRequested(const std::atomic<bool>* stop) {
  return stop && stop->load(std::memory_order_relaxed);
}
inline void ThrowIfStopped(const std::atomic<bool>* stop) {
  if (StopRequested(stop)) throw TStopped{};
}

// When the environment variable WENDO_LAB_SIGNAL_AT names `phase`, raises
// the signal WENDO_LAB_SIGNAL names (INT, the default, or TERM) as many
// times as WENDO_LAB_SIGNAL_COUNT says (default 1). The phases: "setup"
// (before the worlds are made), "runs-done" (after the last run), "staged"
// (the outputs written, not yet in place), "placing" (while they are put
// in place), "fifo" (before an output FIFO is opened), "merge" and
// "summary" (after the first row read).
void SignalPoint(std::string_view phase);

}  // namespace wendo_lab
