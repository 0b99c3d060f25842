// The millisecond tick counter, and the one way a worker thread sleeps:
// until a tick is reached or it is woken. Tests drive a virtual clock
// through the same interface.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>

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

}  // namespace wymianadanych
