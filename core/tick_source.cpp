#include "tick_source.h"

#include <algorithm>
#include <chrono>

namespace wymianadanych {

namespace {
// Whether `tick` has been reached, on the wrapping counter.
bool Reached(uint32_t now, uint32_t tick) { return static_cast<int32_t>(now - tick) >= 0; }
}  // namespace

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

uint32_t TVirtualTicks::Now() {
  std::lock_guard<std::mutex> guard(m_);
  return now_;
}

void TVirtualTicks::WaitUntil(std::condition_variable& cv, std::unique_lock<std::mutex>& lock, uint32_t deadline) {
  {
    std::lock_guard<std::mutex> guard(m_);
    if (Reached(now_, deadline)) return;
    sleepers_.push_back({&cv, lock.mutex(), deadline});
    changed_.notify_all();
  }
  cv.wait(lock);
  std::lock_guard<std::mutex> guard(m_);
  sleepers_.erase(std::find_if(sleepers_.begin(), sleepers_.end(), [&](const Sleeper& s) { return s.cv == &cv; }));
  changed_.notify_all();
}

void TVirtualTicks::Advance(uint32_t ms) {
  std::vector<Sleeper> due;
  {
    std::lock_guard<std::mutex> guard(m_);
    now_ += ms;
    for (const Sleeper& s : sleepers_)
      if (Reached(now_, s.deadline)) due.push_back(s);
  }
  // Taking the sleeper's own mutex makes sure it is inside its wait, so the
  // notification cannot be lost.
  for (const Sleeper& s : due) {
    std::lock_guard<std::mutex> guard(*s.mutex);
    s.cv->notify_all();
  }
}

void TVirtualTicks::WaitForSleepers(size_t n) {
  std::unique_lock<std::mutex> guard(m_);
  changed_.wait(guard, [&] {
    return static_cast<size_t>(std::count_if(sleepers_.begin(), sleepers_.end(),
                                             [&](const Sleeper& s) { return !Reached(now_, s.deadline); })) >= n;
  });
}

}  // namespace wymianadanych
