#include "sweep_runner.h"

#include <chrono>
#include <csignal>
#include <pthread.h>
#include <condition_variable>
#include <exception>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "stop_points.h"

namespace wendo_lab {

namespace {

// What the threads of one sweep share, under `Lock`.
struct TSweepState {
  std::mutex Lock;
  std::condition_variable FinishedOne;
  std::condition_variable DeliveredSome;  // room in the window
  int64_t Delivered = 0;
  int64_t Window = 0;  // finished runs held at most before delivery
  std::map<int64_t, TRunResult> Waiting;  // finished, by position, until delivered
  int64_t Finished = 0;
  std::exception_ptr Error;
  std::atomic<int64_t> Next{0};
  std::atomic<bool> Abandon{false};  // an error, or the caller gave up
  const std::atomic<bool>* Stop = nullptr;

  bool Stopped() const { return (Stop && Stop->load()) || Abandon.load(); }
};

// One thread's work: the next run not yet taken, on its own world, until
// none is left or the sweep stops.
void Work(TSweepState& state, TLabWorld& world, const TSweep& sweep, const TShardRuns& runs, const TRunOptions& run) {
  try {
    for (int64_t position; !state.Stopped() && (position = state.Next.fetch_add(1)) < runs.Count;) {
      {
        // A run starts only when its result fits the window of runs not
        // yet delivered, so memory does not grow with the sweep. The wait
        // wakes now and then, for a stop that a signal set.
        std::unique_lock<std::mutex> guard(state.Lock);
        while (position >= state.Delivered + state.Window && !state.Stopped())
          state.DeliveredSome.wait_for(guard, std::chrono::milliseconds(20));
      }
      if (state.Stopped()) break;
      TRunResult result = world.Run(sweep.Run(runs.At(position)), run);
      std::lock_guard<std::mutex> guard(state.Lock);
      state.Waiting.emplace(position, std::move(result));
      ++state.Finished;
      state.FinishedOne.notify_one();
    }
  } catch (const TRunStopped&) {
  } catch (...) {
    std::lock_guard<std::mutex> guard(state.Lock);
    if (!state.Error) state.Error = std::current_exception();
    state.Abandon = true;
    state.FinishedOne.notify_one();
  }
}

// Hands the results over in canonical order as they come, on this thread;
// returns how many were delivered.
int64_t DeliverInOrder(TSweepState& state, const TSweep& sweep, const TShardRuns& runs, const TSweepJobs& jobs) {
  int64_t delivered = 0;
  std::unique_lock<std::mutex> guard(state.Lock);
  while (delivered < runs.Count && !state.Stopped()) {
    // Runs that finished before this wait are not waited for.
    state.FinishedOne.wait_for(guard, std::chrono::milliseconds(100),
                               [&] { return state.Waiting.count(delivered) > 0 || state.Error || state.Stopped(); });
    for (auto it = state.Waiting.find(delivered); it != state.Waiting.end() && !state.Stopped();
         it = state.Waiting.find(delivered)) {
      TRunResult result = std::move(it->second);
      state.Waiting.erase(it);
      guard.unlock();
      if (jobs.Deliver) jobs.Deliver(sweep.Run(runs.At(delivered)), std::move(result));
      ++delivered;
      guard.lock();
      state.Delivered = delivered;
      state.DeliveredSome.notify_all();
    }
    const int64_t count = state.Finished;
    guard.unlock();
    if (jobs.Progress) jobs.Progress(count);
    guard.lock();
  }
  return delivered;
}

}  // namespace

bool RunSweep(const TSweep& sweep, const TShardRuns& runs, const QImage& map, const TSweepJobs& jobs) {
  TSweepState state;
  state.Stop = jobs.Run.Stop;
  const int threads = static_cast<int>(std::max<int64_t>(1, std::min<int64_t>(jobs.Jobs, runs.Count)));
  state.Window = int64_t{WindowPerJob} * threads;
  // The worlds are made here, one after another, so that only this thread
  // reads the map picture; a stop between two is not held up by the rest.
  SignalPoint("setup");
  std::vector<std::unique_ptr<TLabWorld>> worlds;
  for (int i = 0; i < threads; ++i) {
    if (state.Stopped()) return false;
    worlds.push_back(std::make_unique<TLabWorld>(map));
  }
  // The threads leave the stop signals to this one, so that a signal
  // interrupts this thread's waits (a write to a pipe nobody reads).
  sigset_t stopSignals, previous;
  sigemptyset(&stopSignals);
  for (int s : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&stopSignals, s);
  pthread_sigmask(SIG_BLOCK, &stopSignals, &previous);
  std::vector<std::thread> pool;
  for (auto& world : worlds)
    pool.emplace_back(Work, std::ref(state), std::ref(*world), std::cref(sweep), std::cref(runs), std::cref(jobs.Run));
  pthread_sigmask(SIG_SETMASK, &previous, nullptr);
  // Whatever way this function is left, the threads are told and awaited.
  struct TJoin {
    std::vector<std::thread>& Pool;
    std::atomic<bool>& Abandon;
    ~TJoin() {
      Abandon = true;
      for (std::thread& t : Pool) t.join();
    }
  } join{pool, state.Abandon};

  const int64_t delivered = DeliverInOrder(state, sweep, runs, jobs);
  std::unique_lock<std::mutex> guard(state.Lock);
  const std::exception_ptr failure = state.Error;
  guard.unlock();
  if (failure) std::rethrow_exception(failure);
  return delivered == runs.Count;
}

}  // namespace wendo_lab
