// Whether two paths name the same file: by device and inode where the file
// exists, and otherwise by the path it resolves to, symbolic links followed
// even when the last one is dangling (a link to a file not yet written).
// Checked before anything runs, so that no output replaces an input or
// another output.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace wendo_lab {

struct TFileIdentity {
  bool Exists = false;
  bool CharacterDevice = false;  // /dev/null and the like: many outputs may share one
  unsigned long long Device = 0, Inode = 0;
  std::string Resolved;  // absolute, links followed, "." and ".." removed
};

TFileIdentity IdentifyFile(const std::string& path);
bool SameFile(const TFileIdentity& a, const TFileIdentity& b);

// A file a command reads or writes, as named on its command line.
struct TNamedFile {
  std::string What;  // "--out", "the scenario", …
  std::string Path;  // empty or "-": standard output, not compared
};

// Throws TBadInput naming both when an output is one of the inputs, or two
// outputs are one file (character devices excepted).
void CheckNoOverlap(const std::vector<TNamedFile>& inputs, const std::vector<TNamedFile>& outputs);

}  // namespace wendo_lab
