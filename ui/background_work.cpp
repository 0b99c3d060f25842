#include "background_work.h"

#include <algorithm>

void TBackgroundWork::Start(std::function<void(const std::atomic<bool>& stop)> job) {
  Stop();
  stop_ = false;
  finished_ = false;
  thread_ = std::thread([this, job = std::move(job)] {
    job(stop_);
    finished_ = true;
  });
}

void TBackgroundWork::Stop() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
}

int BackgroundJobs() {
  const unsigned cores = std::thread::hardware_concurrency();
  return std::max(1, static_cast<int>(cores) - 1);
}
