#include "merge_shards.h"

#include <charconv>
#include <cmath>
#include <memory>

#include "bad_input.h"
#include "csv.h"
#include "stop_points.h"

namespace wendo_lab {

namespace {

// A shard being read: its next row and that row's run.
struct TShardReader {
  std::unique_ptr<TCsvReader> Table;
  TCsvRecord Row;
  int64_t Run = 0;
  bool Done = false;
};

std::string Where(const TShardReader& s) { return s.Table->FileName() + ", line " + std::to_string(s.Table->Line()); }

// The sweep the rows belong to, from the first row of the first file, and
// whether the files are series (several rows per run, each with its sample
// time) rather than results tables (one row per run).
struct TSweepMark {
  bool Series = false;
  bool Known = false;
  std::string Sweep, Runs;
  int64_t RunCount = 0;  // Runs as a number
  std::string From;  // where it was read
};

// The sample times of one run of a series: every run of a sweep has the
// same ones.
struct TSamples {
  int64_t Count = 0;
  std::string First, Last;
  bool operator==(const TSamples&) const = default;
};

std::string SamplesText(const TSamples& s) {
  return std::to_string(s.Count) + (s.Count == 1 ? " sample" : " samples") + " from " + s.First + " to " + s.Last +
         " s";
}

std::string Twice(int64_t run) {
  return "run " + std::to_string(run) + " is in both this file and another one given, or twice in this one; merge "
         "each shard once";
}

void Advance(TShardReader& s, TSweepMark& mark) {
  const int64_t previous = s.Run;
  if (!s.Table->Next(s.Row)) {
    s.Done = true;
    return;
  }
  const std::string& field = s.Row.Fields[0];
  int64_t run = 0;
  const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), run);
  if (ec != std::errc() || end != field.data() + field.size() || run < 1)
    throw TBadInput(Where(s) + ": \"" + field + "\" is not a run number");
  if (run < previous)
    throw TBadInput(Where(s) + ": run " + field + " comes after run " + std::to_string(previous) +
                    "; a shard lists its runs in rising order");
  // A results table has one row per run; a series file several, in a row.
  if (!mark.Series && run == previous) throw TBadInput(Where(s) + ": " + Twice(run));
  s.Run = run;
  if (!mark.Known) {
    const std::string& runs = s.Row.Fields[2];
    int64_t count = 0;
    const auto [last, bad] = std::from_chars(runs.data(), runs.data() + runs.size(), count);
    if (bad != std::errc() || last != runs.data() + runs.size() || count < 1)
      throw TBadInput(Where(s) + ": sweep_runs \"" + runs + "\" is not a number of runs");
    mark = {mark.Series, true, s.Row.Fields[1], runs, count, Where(s)};
  } else if (s.Row.Fields[1] != mark.Sweep || s.Row.Fields[2] != mark.Runs) {
    throw TBadInput(Where(s) + ": run " + field + " belongs to another sweep (" + s.Row.Fields[1] + " of " +
                    s.Row.Fields[2] + " runs) than " + mark.From + " (" + mark.Sweep + " of " + mark.Runs +
                    " runs); merge only the shards of one sweep");
  }
  if (run > mark.RunCount)
    throw TBadInput(Where(s) + ": run " + field + " is beyond the sweep's " + mark.Runs + " runs");
}

std::string Missing(int64_t from, int64_t to) {
  return from == to ? "run " + std::to_string(from) + " is" : "runs " + std::to_string(from) + " to " + std::to_string(to) + " are";
}

// A sample time of a series row; NaN when it is not a number.
double SampleTime(const std::string& field) {
  double t = std::nan("");
  const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), t);
  return ec == std::errc() && end == field.data() + field.size() ? t : std::nan("");
}

}  // namespace

void MergeShardFiles(const std::vector<std::string>& paths, const std::function<void(std::string_view)>& write,
                     const std::atomic<bool>* stop) {
  if (paths.empty()) throw TBadInput("no file to merge");
  std::vector<TShardReader> shards(paths.size());
  TSweepMark mark;
  for (size_t f = 0; f < paths.size(); ++f) {
    shards[f].Table = std::make_unique<TCsvReader>(paths[f], stop);
    const std::vector<std::string>& header = shards[f].Table->Header();
    if (header.empty() || header[0] != "run")
      throw TBadInput(paths[f] + ": the first column is not \"run\"; not a wendo-lab output");
    if (header.size() < 3 || header[1] != "sweep" || header[2] != "sweep_runs")
      throw TBadInput(paths[f] + ": no columns \"sweep\" and \"sweep_runs\" after \"run\"; not a results table or "
                      "series file of this wendo-lab");
    if (header != shards[0].Table->Header()) throw TBadInput(paths[f] + " and " + paths[0] + " have different columns");
  }
  const std::vector<std::string>& header = shards[0].Table->Header();
  mark.Series = header.size() > 3 && header[3] == "time_s";
  for (TShardReader& s : shards) Advance(s, mark);
  SignalPoint("merge");
  if (write) {
    std::string text;
    AppendRecord(text, header);
    write(text);
  }
  int64_t expected = 1;
  TSamples firstSamples;
  std::string firstFrom;
  for (;;) {
    ThrowIfStopped(stop);
    TShardReader* next = nullptr;
    for (TShardReader& s : shards)
      if (!s.Done && (!next || s.Run < next->Run)) next = &s;
    if (!next) break;
    if (next->Run < expected)
      throw TBadInput(Where(*next) + ": " + Twice(next->Run));
    if (next->Run > expected)
      throw TBadInput(Where(*next) + ": " + Missing(expected, next->Run - 1) +
                      " in none of the files (is a shard missing?)");
    // A series file holds several rows per run, in time order: kept as
    // they are, their times checked against the first run's.
    const int64_t run = next->Run;
    const std::string from = Where(*next);
    TSamples samples;
    double lastTime = -HUGE_VAL;
    while (!next->Done && next->Run == run) {
      if (mark.Series) {
        const std::string& field = next->Row.Fields[3];
        const double t = SampleTime(field);
        if (!(t > lastTime))
          throw TBadInput(Where(*next) + ": run " + std::to_string(run) + ": the sample at \"" + field +
                          "\" s comes twice, out of order or is not a time");
        lastTime = t;
        if (samples.Count++ == 0) samples.First = field;
        samples.Last = field;
      }
      if (write) write(next->Row.Text);
      Advance(*next, mark);
    }
    if (mark.Series && firstSamples.Count == 0) {
      firstSamples = samples;
      firstFrom = from;
    } else if (mark.Series && samples != firstSamples) {
      throw TBadInput(from + ": run " + std::to_string(run) + " has " + SamplesText(samples) + ", but run 1 (" +
                      firstFrom + ") has " +
                      SamplesText(firstSamples) + "; a series cut short, or written with another --every");
    }
    expected = run + 1;
  }
  if (expected - 1 != mark.RunCount)
    throw TBadInput(paths.back() + ": the files end at run " + std::to_string(expected - 1) + " but the sweep has " +
                    mark.Runs + " runs; " + Missing(expected, mark.RunCount) +
                    " in none of the files (is a shard missing?)");
}

}  // namespace wendo_lab
