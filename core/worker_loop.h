// A worker thread that owns its loop: created suspended, resumed, suspended
// between two passes, woken early, and ended with a join. Between passes it
// sleeps until the pass says it is next due, so it never busy-polls.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

#include "tick_source.h"

namespace wymianadanych {

class TWorkerLoop {
 public:
  // One pass of the loop at tick `now`; returns the milliseconds after
  // `now` until the next pass is due (0 for at once).
  using Pass = std::function<int64_t(uint32_t now)>;

  TWorkerLoop(TTickSource& ticks, Pass pass);
  ~TWorkerLoop();  // terminates and joins
  TWorkerLoop(const TWorkerLoop&) = delete;
  TWorkerLoop& operator=(const TWorkerLoop&) = delete;

  void Resume();
  // Returns once the loop stands between two passes (or has ended).
  void Suspend();
  // Asks the loop to end after its current pass and waits for it; a
  // suspended loop ends without another pass.
  void Terminate();
  // Has a sleeping loop look again at once (a period has changed).
  void Wake();

  bool Suspended() const;
  TTickSource& Ticks() const { return ticks_; }

 private:
  void Run();

  TTickSource& ticks_;
  Pass pass_;
  mutable std::mutex m_;
  std::condition_variable cv_;
  bool suspended_ = true;
  bool parked_ = true;
  bool terminate_ = false;
  bool woken_ = false;
  bool finished_ = false;
  std::thread thread_;
};

}  // namespace wymianadanych
