#include "virtual_ticks.h"

#include <algorithm>

namespace wendo_test {

namespace {
// Whether `tick` has been reached, on the wrapping counter.
bool Reached(uint32_t now, uint32_t tick) { return static_cast<int32_t>(now - tick) >= 0; }
}  // namespace

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
  sleepers_.erase(std::find_if(sleepers_.begin(), sleepers_.end(), [&](const TSleeper& s) { return s.Cv == &cv; }));
  changed_.notify_all();
}

void TVirtualTicks::Advance(uint32_t ms) {
  std::vector<TSleeper> due;
  {
    std::lock_guard<std::mutex> guard(m_);
    now_ += ms;
    for (const TSleeper& s : sleepers_)
      if (Reached(now_, s.Deadline)) due.push_back(s);
  }
  // Taking the sleeper's own mutex makes sure it is inside its wait, so the
  // notification cannot be lost.
  for (const TSleeper& s : due) {
    std::lock_guard<std::mutex> guard(*s.Mutex);
    s.Cv->notify_all();
  }
}

void TVirtualTicks::WaitForSleepers(size_t n) {
  std::unique_lock<std::mutex> guard(m_);
  changed_.wait(guard, [&] {
    return static_cast<size_t>(std::count_if(sleepers_.begin(), sleepers_.end(),
                                             [&](const TSleeper& s) { return !Reached(now_, s.Deadline); })) >= n;
  });
}

}  // namespace wendo_test
