// What identifies a sweep, so that the shards of one sweep can be told
// from those of another: a digest of the scenario files' contents, the
// map's, the --set axes, the seeds, the duration and the program version.
// The shard is not part of it: every shard of a sweep records the same.
#pragma once

#include <string>
#include <vector>

#include "sweep.h"

namespace wendo_lab {

// 16 hexadecimal digits. `scenarioTexts` are the scenario files' bytes in
// the sweep's order, `mapBytes` the map file's.
std::string SweepDigest(const TSweep& sweep, const std::vector<std::string>& scenarioTexts,
                        const std::string& mapBytes);

// A file's bytes; throws TBadInput with the system's words when it cannot
// be read.
std::string FileBytes(const std::string& path);

}  // namespace wendo_lab
