#include "worker_loop.h"

#include <algorithm>

namespace wymianadanych {

TWorkerLoop::TWorkerLoop(TTickSource& ticks, Pass pass) : ticks_(ticks), pass_(std::move(pass)) {
  thread_ = std::thread([this] { Run(); });
}

TWorkerLoop::~TWorkerLoop() { Terminate(); }

void TWorkerLoop::Run() {
  std::unique_lock<std::mutex> lock(m_);
  for (;;) {
    while (suspended_ && !terminate_) {
      parked_ = true;
      cv_.notify_all();
      cv_.wait(lock);
    }
    parked_ = false;
    if (terminate_) break;
    woken_ = false;
    lock.unlock();
    const uint32_t now = ticks_.Now();
    // A wait longer than a day is cut short; the loop then looks again.
    const int64_t wait = std::clamp<int64_t>(pass_(now), 0, 86400000);
    lock.lock();
    if (terminate_) break;
    if (wait > 0 && !suspended_ && !woken_) ticks_.WaitUntil(cv_, lock, now + static_cast<uint32_t>(wait));
  }
  finished_ = true;
  parked_ = true;
  cv_.notify_all();
}

void TWorkerLoop::Resume() {
  std::lock_guard<std::mutex> lock(m_);
  suspended_ = false;
  cv_.notify_all();
}

void TWorkerLoop::Suspend() {
  std::unique_lock<std::mutex> lock(m_);
  suspended_ = true;
  cv_.notify_all();
  cv_.wait(lock, [this] { return parked_ || finished_; });
}

void TWorkerLoop::Terminate() {
  {
    std::lock_guard<std::mutex> lock(m_);
    terminate_ = true;
    cv_.notify_all();
  }
  if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) thread_.join();
}

void TWorkerLoop::Wake() {
  std::lock_guard<std::mutex> lock(m_);
  woken_ = true;
  cv_.notify_all();
}

bool TWorkerLoop::Suspended() const {
  std::lock_guard<std::mutex> lock(m_);
  return suspended_;
}

}  // namespace wymianadanych
