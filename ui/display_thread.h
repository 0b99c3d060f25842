// The display refresh thread: every RefreshMs it has the GUI thread redraw
// the map and the mini-map and waits until that is done. It never draws
// itself and sleeps between redraws.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

#include "tick_source.h"
#include "worker_loop.h"

class TDisplayThread {
 public:
  // Created suspended; redraws with RedrawViews.
  explicit TDisplayThread(wymianadanych::TTickSource& ticks = wymianadanych::TSystemTicks::Instance());
  // The same, but with `redraw` run on the GUI thread instead of
  // RedrawViews (tests count and time the redraws with it).
  TDisplayThread(wymianadanych::TTickSource& ticks, std::function<void()> redraw);
  ~TDisplayThread();
  TDisplayThread(const TDisplayThread&) = delete;
  TDisplayThread& operator=(const TDisplayThread&) = delete;

  void Resume();
  // RefreshMs has changed: look again at once instead of sleeping on.
  void Wake();
  // Ends the thread and joins it. Safe while a redraw is waiting for the GUI
  // thread (even when called on the GUI thread itself), idempotent; a
  // redraw request that reaches the GUI thread afterwards draws nothing.
  void Stop();

  // GUI thread: the map, then the mini-map, each only if its window exists.
  void RedrawViews();

  // True while a redraw has been handed to the GUI thread and not yet run.
  bool HandOverPending() const;

 private:
  // Shared with the calls posted to the GUI thread, which may outlive
  // this object.
  struct THandOver {
    std::mutex Mutex;
    std::condition_variable Done;
    std::function<void()> Redraw;
    bool Stopped = false;
    uint64_t Posted = 0;
    uint64_t Served = 0;
  };

  int64_t Pass(uint32_t now);
  // Has the GUI thread run the redraw and waits for it; false once stopped.
  bool HandToGui();

  std::shared_ptr<THandOver> handOver_;
  wymianadanych::TTickSource& ticks_;
  bool started_ = false;  // loop thread only
  uint32_t last_ = 0;     // loop thread only: tick at the previous redraw
  wymianadanych::TWorkerLoop loop_;  // last: it stops before the members it uses go
};
