#include "tick_source.h"

#include <chrono>

namespace wymianadanych {

uint32_t TSystemTicks::Now() {
  using namespace std::chrono;
  return static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void TSystemTicks::WaitUntil(std::condition_variable& cv, std::unique_lock<std::mutex>& lock, uint32_t deadline) {
  const int32_t ms = static_cast<int32_t>(deadline - Now());
  if (ms <= 0) return;
  // The counter is truncated to whole milliseconds, so sleeping `ms` from
  // a moment within the current millisecond always reaches the deadline.
  cv.wait_for(lock, std::chrono::milliseconds(ms));
}

TSystemTicks& TSystemTicks::Instance() {
  static TSystemTicks ticks;
  return ticks;
}

}  // namespace wymianadanych
