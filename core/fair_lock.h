// The world's lock: handed over in the order it was asked for.
//
// std::mutex promises no order. The simulation thread, when it is behind,
// lets go of the world and takes it again at once, and a plain mutex then
// almost always goes back to it rather than to the interface thread that
// has been waiting: the interface starves for seconds. Here each caller
// draws a ticket and the lock serves tickets in turn, so a thread that asks
// again queues behind the one already waiting, and the interface waits at
// most for the hold in progress (while it and the simulation are the only
// takers; each more taker may add one hold). A taker that finds the lock free pays two
// short critical sections on a std::mutex and nothing else.
//
// It meets Lockable, so std::lock_guard and std::unique_lock work with it.
// For measurements it can time, per thread, how long each took to get the
// lock and how long it kept it.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

namespace wymianadanych {

class TFairLock {
 public:
  TFairLock() = default;
  TFairLock(const TFairLock&) = delete;
  TFairLock& operator=(const TFairLock&) = delete;

  void lock();
  bool try_lock();
  void unlock();
  // How many threads stand in the queue now, the holder not counted.
  int Waiters() const;

  // Longest times one thread waited for the lock and kept it, in
  // microseconds, since timing was started.
  struct TThreadTimes {
    std::thread::id Thread;
    int64_t LongestWaitUs = 0;
    int64_t LongestHoldUs = 0;
    uint64_t Acquisitions = 0;
  };
  // Starts timing every acquisition (and clears earlier figures). Off by
  // default, when the lock reads no clock at all.
  void StartTiming();
  std::vector<TThreadTimes> Times() const;

 private:
  using Clock = std::chrono::steady_clock;
  TThreadTimes& TimesOfThisThread();  // m_ held

  mutable std::mutex m_;
  std::condition_variable turn_;
  uint64_t nextTicket_ = 0;
  uint64_t serving_ = 0;
  int waiting_ = 0;

  bool timing_ = false;
  Clock::time_point heldSince_;
  std::vector<TThreadTimes> times_;
};

}  // namespace wymianadanych
