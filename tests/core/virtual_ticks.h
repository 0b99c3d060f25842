// A tick counter that moves only when a test tells it to, for driving the
// worker threads' loops step by step.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <vector>

#include "tick_source.h"

namespace wendo_test {

// Threads sleeping on this clock are woken when it reaches their deadline.
class TVirtualTicks final : public wymianadanych::TTickSource {
 public:
  explicit TVirtualTicks(uint32_t start = 0) : now_(start) {}
  uint32_t Now() override;
  void WaitUntil(std::condition_variable& cv, std::unique_lock<std::mutex>& lock, uint32_t deadline) override;

  // Moves the clock by `ms` and wakes every sleeper whose deadline passed.
  void Advance(uint32_t ms);
  // Blocks until `n` threads are asleep waiting for a later tick.
  void WaitForSleepers(size_t n = 1);

 private:
  struct TSleeper {
    std::condition_variable* Cv;
    std::mutex* Mutex;
    uint32_t Deadline;
  };
  std::mutex m_;
  std::condition_variable changed_;
  uint32_t now_;
  std::vector<TSleeper> sleepers_;
};

}  // namespace wendo_test
