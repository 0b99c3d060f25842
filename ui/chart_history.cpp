#include "chart_history.h"

#include <algorithm>

TChartHistory::TChartHistory(size_t maxPoints, size_t maxBands)
    : maxPoints_(std::max<size_t>(maxPoints, 3)), maxBands_(std::max<size_t>(maxBands, 1)) {}

void TChartHistory::Clear() {
  samples_.clear();
  numbers_.clear();
  added_ = 0;
  stride_ = 1;
  bands_.clear();
  alarmUp_ = false;
  ++revision_;
}

void TChartHistory::Add(const TChartSample& sample) {
  if (!samples_.empty() && sample.ElapsedMs <= samples_.back().ElapsedMs) {
    // No two points at one time: the last point takes the newer values.
    TChartSample updated = sample;
    updated.ElapsedMs = samples_.back().ElapsedMs;
    if (updated == samples_.back()) return;
    samples_.back() = updated;
  } else {
    // The latest point stays only until the next one when it is off the
    // stride.
    if (!numbers_.empty() && numbers_.back() % stride_ != 0) {
      samples_.pop_back();
      numbers_.pop_back();
    }
    samples_.push_back(sample);
    numbers_.push_back(added_++);
    if (samples_.size() > maxPoints_) Thin();
  }
  NoteAlarm(samples_.back().ElapsedMs, sample.Alarm);
  ++revision_;
}

void TChartHistory::Thin() {
  stride_ *= 2;
  const size_t last = samples_.size() - 1;
  size_t kept = 0;
  for (size_t i = 0; i <= last; ++i) {
    if (numbers_[i] % stride_ != 0 && i != last) continue;
    samples_[kept] = samples_[i];
    numbers_[kept++] = numbers_[i];
  }
  samples_.resize(kept);
  numbers_.resize(kept);
}

void TChartHistory::NoteAlarm(int32_t ms, bool up) {
  // A band runs from the first sample with the alarm up to the first one
  // without it: the alarm was up for some of that time.
  if (alarmUp_) bands_.back().ToMs = ms;
  if (up && !alarmUp_ && !(bands_.size() > 0 && bands_.back().ToMs == ms)) {
    bands_.push_back({ms, ms});
    if (bands_.size() > maxBands_) MergeClosestBands();
  }
  alarmUp_ = up;
}

void TChartHistory::MergeClosestBands() {
  size_t closest = 0;
  for (size_t i = 1; i + 1 < bands_.size(); ++i)
    if (bands_[i + 1].FromMs - bands_[i].ToMs < bands_[closest + 1].FromMs - bands_[closest].ToMs) closest = i;
  bands_[closest].ToMs = bands_[closest + 1].ToMs;
  bands_.erase(bands_.begin() + static_cast<std::ptrdiff_t>(closest) + 1);
}
