// Work that runs on a thread of its own beside the user interface: one
// job at a time, a stop flag the job tests often, and a join that never
// waits long because the job stops within a fraction of a second.
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

class TBackgroundWork {
 public:
  TBackgroundWork() = default;
  TBackgroundWork(const TBackgroundWork&) = delete;
  TBackgroundWork& operator=(const TBackgroundWork&) = delete;
  ~TBackgroundWork() { Stop(); }

  // Starts `job` on a new thread (a job still running is stopped first);
  // the job gets the stop flag to pass on.
  void Start(std::function<void(const std::atomic<bool>& stop)> job);
  // Sets the stop flag and waits for the job to return.
  void Stop();
  // The job has returned (or none was started).
  bool Finished() const { return finished_.load(); }
  bool StopRequested() const { return stop_.load(); }

 private:
  std::atomic<bool> stop_{false};
  std::atomic<bool> finished_{true};
  std::thread thread_;
};

// Items handed from a worker thread to the interface thread, which takes
// them all at once on its timer.
template <class T>
class THandOver {
 public:
  void Put(T item) {
    std::lock_guard guard(lock_);
    items_.push_back(std::move(item));
  }
  std::vector<T> TakeAll() {
    std::lock_guard guard(lock_);
    std::vector<T> taken;
    taken.swap(items_);
    return taken;
  }

 private:
  std::mutex lock_;
  std::vector<T> items_;
};

// The workers for a background job: every core but one, at least one.
int BackgroundJobs();
