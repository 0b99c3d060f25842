// Puts the outputs of the shards of a sweep — results tables or series
// files — back into one file in the canonical order of the runs.
#pragma once

#include <string>
#include <vector>

namespace wendo_lab {

// The merged text. Throws TBadInput when a file is missing or unreadable,
// when the files' columns differ or do not start with "run", when a run
// appears in two files, or when runs are missing between the first and
// the last (a shard left out).
std::string MergeShardFiles(const std::vector<std::string>& paths);

}  // namespace wendo_lab
