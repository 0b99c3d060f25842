// Puts the outputs of the shards of a sweep — results tables or series
// files — back into one file in the canonical order of the runs, reading
// every file row by row (memory does not grow with the files).
#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace wendo_lab {

// Each shard lists its runs in rising order, so the merge takes the
// smallest next run of all files at each step. `write` receives the merged
// text piece by piece; an empty one only checks. Throws TBadInput, naming
// the first offending file and line, when a file is missing or unreadable,
// when the files' columns differ or do not start with "run", "sweep" and
// "sweep_runs", when a row belongs to another sweep than the first file's,
// when a run appears twice, when runs are left out (between two, or at the
// end of the sweep), or when a run of a series has other sample times than
// the first run (cut short, or another --every); TStopped when `stop` is
// set.
void MergeShardFiles(const std::vector<std::string>& paths, const std::function<void(std::string_view)>& write,
                     const std::atomic<bool>* stop = nullptr);

}  // namespace wendo_lab
