// What the chart window shows: the counters of a run sampled over simulated
// time, and the spans during which the sighting alarm was up. Plain C++, so
// it can be filled and read without a display.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <vector>

// The counters at one moment of a run.
struct TChartSample {
  int32_t ElapsedMs = 0;
  int32_t People = 0;      // PersonCount
  int32_t DeadPeople = 0;  // DeadPeople
  int32_t Sharks = 0;      // SharkCount
  int32_t DeadSharks = 0;  // DeadSharks
  int32_t Swimmers = 0;    // live people on a water cell
  bool Alarm = false;      // SharkAlarm

  bool operator==(const TChartSample&) const = default;
};

// One line of the chart: its caption and the value it draws.
struct TChartLine {
  const char* Caption;  // UTF-8
  int32_t TChartSample::*Value;
};

// The lines in the order of the legend and of the columns of the saved data.
inline constexpr TChartLine ChartLines[] = {
    {"Ludzie", &TChartSample::People},        {"Martwi ludzie", &TChartSample::DeadPeople},
    {"Rekiny", &TChartSample::Sharks},        {"Martwe rekiny", &TChartSample::DeadSharks},
    {"Pływający", &TChartSample::Swimmers},
};
inline constexpr int ChartLineCount = static_cast<int>(std::size(ChartLines));

// A span of simulated time, in ms, during which the alarm was up.
struct TAlarmBand {
  int32_t FromMs = 0;
  int32_t ToMs = 0;
};

class TChartHistory {
 public:
  // Points kept per line and alarm spans kept; a run of hours is thinned to
  // these, so the chart stays quick to redraw.
  static constexpr size_t DefaultMaxPoints = 2000;
  static constexpr size_t DefaultMaxBands = 200;

  explicit TChartHistory(size_t maxPoints = DefaultMaxPoints, size_t maxBands = DefaultMaxBands);

  void Clear();

  // Adds a sample. One at the time of the last point (or earlier) updates
  // that point instead, so no two points share a time. The points kept are
  // every k-th sample, evenly spread over the run, and always the latest
  // one; when they exceed the maximum, every second one goes (the first and
  // the last stay) and k doubles.
  void Add(const TChartSample& sample);

  const std::vector<TChartSample>& Samples() const { return samples_; }
  // In time order; the last one still grows while the alarm is up. Beyond
  // the maximum, the two bands with the shortest gap between them merge.
  const std::vector<TAlarmBand>& AlarmBands() const { return bands_; }
  // How often points or bands changed; the view redraws only after a change.
  uint64_t Revision() const { return revision_; }

 private:
  void NoteAlarm(int32_t ms, bool up);
  void Thin();
  void MergeClosestBands();

  size_t maxPoints_;
  size_t maxBands_;
  std::vector<TChartSample> samples_;
  std::vector<uint64_t> numbers_;  // each point's sample number, from 0
  uint64_t added_ = 0;             // samples added since Clear
  uint64_t stride_ = 1;            // k: points kept are at multiples of it
  std::vector<TAlarmBand> bands_;
  bool alarmUp_ = false;
  uint64_t revision_ = 0;
};
