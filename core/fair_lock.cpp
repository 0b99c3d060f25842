#include "fair_lock.h"

#include <algorithm>

namespace wymianadanych {

namespace {
int64_t Microseconds(std::chrono::steady_clock::duration d) {
  return std::chrono::duration_cast<std::chrono::microseconds>(d).count();
}
}  // namespace

void TFairLock::lock() {
  std::unique_lock<std::mutex> guard(m_);
  const bool timed = timing_;
  const Clock::time_point asked = timed ? Clock::now() : Clock::time_point{};
  const uint64_t ticket = nextTicket_++;
  if (ticket != serving_) {
    ++waiting_;
    turn_.wait(guard, [&] { return serving_ == ticket; });
    --waiting_;
  }
  if (!timing_) return;
  heldSince_ = Clock::now();
  TThreadTimes& mine = TimesOfThisThread();
  ++mine.Acquisitions;
  if (timed) mine.LongestWaitUs = std::max(mine.LongestWaitUs, Microseconds(heldSince_ - asked));
}

bool TFairLock::try_lock() {
  std::lock_guard<std::mutex> guard(m_);
  if (nextTicket_ != serving_) return false;
  ++nextTicket_;
  if (timing_) {
    heldSince_ = Clock::now();
    ++TimesOfThisThread().Acquisitions;
  }
  return true;
}

void TFairLock::unlock() {
  std::lock_guard<std::mutex> guard(m_);
  if (timing_) {
    TThreadTimes& mine = TimesOfThisThread();
    mine.LongestHoldUs = std::max(mine.LongestHoldUs, Microseconds(Clock::now() - heldSince_));
  }
  ++serving_;
  // Notified under the mutex, so the lock may go away as soon as the next
  // holder has it.
  if (waiting_ > 0) turn_.notify_all();
}

int TFairLock::Waiters() const {
  std::lock_guard<std::mutex> guard(m_);
  return waiting_;
}

void TFairLock::StartTiming() {
  std::lock_guard<std::mutex> guard(m_);
  timing_ = true;
  heldSince_ = Clock::now();  // a hold in progress counts from here
  times_.clear();
}

std::vector<TFairLock::TThreadTimes> TFairLock::Times() const {
  std::lock_guard<std::mutex> guard(m_);
  return times_;
}

TFairLock::TThreadTimes& TFairLock::TimesOfThisThread() {
  const std::thread::id self = std::this_thread::get_id();
  for (TThreadTimes& t : times_)
    if (t.Thread == self) return t;
  times_.push_back({self});
  return times_.back();
}

}  // namespace wymianadanych
