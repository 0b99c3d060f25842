#include "sweep_runner.h"

#include <chrono>
#include <condition_variable>
#include <exception>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

namespace wendo_lab {

bool RunSweep(const TSweep& sweep, const TShardRuns& runs, const QImage& map, const TSweepJobs& jobs) {
  std::mutex lock;
  std::condition_variable finishedOne;
  std::map<int64_t, TRunResult> waiting;  // finished, by position, until delivered
  int64_t finished = 0;
  std::exception_ptr error;
  std::atomic<int64_t> next{0};
  std::atomic<bool> abandon{false};  // an error, or the caller gave up
  const std::atomic<bool>* stop = jobs.Run.Stop;
  auto stopped = [&] { return (stop && stop->load()) || abandon.load(); };

  // The worlds are made here, one after another, so that only this thread
  // reads the map picture.
  const int threads = static_cast<int>(std::max<int64_t>(1, std::min<int64_t>(jobs.Jobs, runs.Count)));
  std::vector<std::unique_ptr<TLabWorld>> worlds;
  for (int i = 0; i < threads; ++i) worlds.push_back(std::make_unique<TLabWorld>(map));

  auto work = [&](TLabWorld& world) {
    try {
      for (int64_t position; !stopped() && (position = next.fetch_add(1)) < runs.Count;) {
        TRunResult result = world.Run(sweep.Run(runs.At(position)), jobs.Run);
        std::lock_guard<std::mutex> guard(lock);
        waiting.emplace(position, std::move(result));
        ++finished;
        finishedOne.notify_one();
      }
    } catch (const TRunStopped&) {
    } catch (...) {
      std::lock_guard<std::mutex> guard(lock);
      if (!error) error = std::current_exception();
      abandon = true;
      finishedOne.notify_one();
    }
  };
  std::vector<std::thread> pool;
  for (auto& world : worlds) pool.emplace_back(work, std::ref(*world));
  // Whatever way this function is left, the threads are told and awaited.
  struct TJoin {
    std::vector<std::thread>& Pool;
    std::atomic<bool>& Abandon;
    ~TJoin() {
      Abandon = true;
      for (std::thread& t : Pool) t.join();
    }
  } join{pool, abandon};

  int64_t delivered = 0;
  std::unique_lock<std::mutex> guard(lock);
  while (delivered < runs.Count && !stopped()) {
    // Runs that finished before this wait are not waited for.
    finishedOne.wait_for(guard, std::chrono::milliseconds(100),
                         [&] { return waiting.count(delivered) > 0 || error || stopped(); });
    for (auto it = waiting.find(delivered); it != waiting.end() && !stopped(); it = waiting.find(delivered)) {
      TRunResult result = std::move(it->second);
      waiting.erase(it);
      guard.unlock();
      if (jobs.Deliver) jobs.Deliver(sweep.Run(runs.At(delivered)), std::move(result));
      ++delivered;
      guard.lock();
    }
    const int64_t count = finished;
    guard.unlock();
    if (jobs.Progress) jobs.Progress(count);
    guard.lock();
  }
  const std::exception_ptr failure = error;
  guard.unlock();
  if (failure) std::rethrow_exception(failure);
  return delivered == runs.Count;
}

}  // namespace wendo_lab
