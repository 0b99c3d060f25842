// The world's lock hands itself over in the order it was asked for: a
// holder that lets go and asks again queues behind whoever was waiting.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "fair_lock.h"

using wymianadanych::TFairLock;

namespace {

void WaitForWaiters(const TFairLock& lock, int n) {
  while (lock.Waiters() < n) std::this_thread::yield();
}

}  // namespace

TEST(FairLock, AWaitingThreadGoesBeforeTheHolderTakingItAgain) {
  // What starved the interface: the simulation lets go and at once asks
  // again; the thread that was waiting must get the lock first.
  TFairLock lock;
  std::string order;
  std::mutex orderGuard;
  auto note = [&](char who) {
    std::lock_guard<std::mutex> g(orderGuard);
    order += who;
  };
  lock.lock();
  std::thread waiter([&] {
    std::lock_guard<TFairLock> held(lock);
    note('W');
  });
  WaitForWaiters(lock, 1);
  for (int round = 0; round < 3; ++round) {
    lock.unlock();
    lock.lock();
    note('H');
  }
  lock.unlock();
  waiter.join();
  EXPECT_EQ(order, "WHHH");
}

TEST(FairLock, WaitersAreServedInTheOrderTheyAsked) {
  TFairLock lock;
  std::vector<int> served;
  lock.lock();
  std::vector<std::thread> threads;
  for (int i = 0; i < 4; ++i) {
    threads.emplace_back([&, i] {
      std::lock_guard<TFairLock> held(lock);
      served.push_back(i);  // under the lock
    });
    WaitForWaiters(lock, i + 1);
  }
  lock.unlock();
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(served, (std::vector<int>{0, 1, 2, 3}));
}

TEST(FairLock, TryLockTakesOnlyAFreeLockAndExcludesLikeAMutex) {
  TFairLock lock;
  ASSERT_TRUE(lock.try_lock());
  std::thread other([&] { EXPECT_FALSE(lock.try_lock()); });
  other.join();
  lock.unlock();

  // Four threads adding under the lock, some through try_lock: no update
  // is lost, and ThreadSanitizer sees the counter guarded.
  int64_t counter = 0;
  std::vector<std::thread> threads;
  for (int i = 0; i < 4; ++i)
    threads.emplace_back([&, i] {
      for (int k = 0; k < 20000; ++k) {
        if (i % 2 && lock.try_lock()) {
          ++counter;
          lock.unlock();
          continue;
        }
        std::unique_lock<TFairLock> held(lock);
        ++counter;
      }
    });
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(counter, 80000);
}

TEST(FairLock, TimesTheLongestWaitAndHoldOfEachThread) {
  TFairLock lock;
  {
    std::lock_guard<TFairLock> untimed(lock);
  }
  EXPECT_TRUE(lock.Times().empty());  // off until started
  lock.StartTiming();
  std::atomic<bool> holding{false};
  std::thread holder([&] {
    std::lock_guard<TFairLock> held(lock);
    holding = true;
    WaitForWaiters(lock, 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
  });
  while (!holding) std::this_thread::yield();
  const std::thread::id holderId = holder.get_id();
  {
    std::lock_guard<TFairLock> waited(lock);
  }
  holder.join();
  const auto times = lock.Times();
  ASSERT_EQ(times.size(), 2u);
  for (const TFairLock::TThreadTimes& t : times) {
    EXPECT_EQ(t.Acquisitions, 1u);
    if (t.Thread == holderId) {
      EXPECT_GE(t.LongestHoldUs, 30000);
    } else {
      EXPECT_EQ(t.Thread, std::this_thread::get_id());
      EXPECT_GE(t.LongestWaitUs, 30000);
      EXPECT_LT(t.LongestHoldUs, t.LongestWaitUs);
    }
  }
}
