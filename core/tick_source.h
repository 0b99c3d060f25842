// The millisecond tick counter, and the one way a worker thread sleeps:
// until a tick is reached or it is woken. Tests use the virtual clock.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <vector>

namespace wymianadanych {

class TTickSource {
 public:
  virtual ~TTickSource() = default;
  // Milliseconds since some fixed moment, wrapping at 2^32.
  virtual uint32_t Now() = 0;
  // Sleeps on `cv` (whose mutex `lock` holds) until the counter has reached
  // `deadline`, or until `cv` is notified; may also return early.
  virtual void WaitUntil(std::condition_variable& cv, std::unique_lock<std::mutex>& lock, uint32_t deadline) = 0;
};

// Milliseconds of the monotonic clock since system start.
class TSystemTicks final : public TTickSource {
 public:
  uint32_t Now() override;
  void WaitUntil(std::condition_variable& cv, std::unique_lock<std::mutex>& lock, uint32_t deadline) override;
  static TSystemTicks& Instance();
};

// A clock that moves only when told to; threads sleeping on it are woken
// when it reaches their deadline.
class TVirtualTicks final : public TTickSource {
 public:
  explicit TVirtualTicks(uint32_t start = 0) : now_(start) {}
  uint32_t Now() override;
  void WaitUntil(std::condition_variable& cv, std::unique_lock<std::mutex>& lock, uint32_t deadline) override;

  // Moves the clock by `ms` and wakes every sleeper whose deadline passed.
  void Advance(uint32_t ms);
  // Blocks until `n` threads are asleep waiting for a later tick.
  void WaitForSleepers(size_t n = 1);

 private:
  struct Sleeper {
    std::condition_variable* cv;
    std::mutex* mutex;
    uint32_t deadline;
  };
  std::mutex m_;
  std::condition_variable changed_;
  uint32_t now_;
  std::vector<Sleeper> sleepers_;
};

}  // namespace wymianadanych
