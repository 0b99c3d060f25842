#include "merge_shards.h"

#include <charconv>
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

// The sweep the rows belong to, from the first row of the first file.
struct TSweepMark {
  bool Recorded = false;  // results tables record it; series files do not
  bool Known = false;
  std::string Sweep, Runs;
  std::string From;  // where it was read
};

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
  if (mark.Recorded && run == previous) throw TBadInput(Where(s) + ": " + Twice(run));
  s.Run = run;
  if (!mark.Recorded) return;
  if (!mark.Known) {
    mark = {true, true, s.Row.Fields[1], s.Row.Fields[2], Where(s)};
  } else if (s.Row.Fields[1] != mark.Sweep || s.Row.Fields[2] != mark.Runs) {
    throw TBadInput(Where(s) + ": run " + field + " belongs to another sweep (" + s.Row.Fields[1] + " of " +
                    s.Row.Fields[2] + " runs) than " + mark.From + " (" + mark.Sweep + " of " + mark.Runs +
                    " runs); merge only the shards of one sweep");
  }
}

std::string Missing(int64_t from, int64_t to) {
  return from == to ? "run " + std::to_string(from) + " is" : "runs " + std::to_string(from) + " to " + std::to_string(to) + " are";
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
    if (header != shards[0].Table->Header()) throw TBadInput(paths[f] + " and " + paths[0] + " have different columns");
  }
  const std::vector<std::string>& header = shards[0].Table->Header();
  mark.Recorded = header.size() > 2 && header[1] == "sweep" && header[2] == "sweep_runs";
  for (TShardReader& s : shards) Advance(s, mark);
  SignalPoint("merge");
  if (write) {
    std::string text;
    AppendRecord(text, header);
    write(text);
  }
  int64_t expected = 1;
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
    // A series file holds several rows per run, in time order: kept as they are.
    const int64_t run = next->Run;
    while (!next->Done && next->Run == run) {
      if (write) write(next->Row.Text);
      Advance(*next, mark);
    }
    expected = run + 1;
  }
  if (mark.Known) {
    int64_t runs = 0;
    std::from_chars(mark.Runs.data(), mark.Runs.data() + mark.Runs.size(), runs);
    if (expected - 1 != runs)
      throw TBadInput(paths.back() + ": the files end at run " + std::to_string(expected - 1) + " but the sweep has " +
                      mark.Runs + " runs; " + Missing(expected, runs) + " in none of the files (is a shard missing?)");
  }
}

}  // namespace wendo_lab
