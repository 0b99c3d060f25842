#include "file_identity.h"

#include <climits>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "bad_input.h"
#include "path_parts.h"

namespace wendo_lab {

namespace fs = std::filesystem;

namespace {

constexpr int MaxLinkHops = 40;

// The path with every symbolic link followed as far as it leads, the last
// target kept even when it does not exist.
std::string FollowLinks(std::string path) {
  for (int hop = 0; hop < MaxLinkHops; ++hop) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    char target[PATH_MAX];
    const ssize_t n = ::readlink(path.c_str(), target, sizeof target);
    if (n <= 0) return path;
    path = wymianadanych::ResolveRelative(path, std::string(target, static_cast<size_t>(n)));
  }
  return path;
}

bool IsStandard(const std::string& path) { return path.empty() || path == "-"; }

}  // namespace

TFileIdentity IdentifyFile(const std::string& path) {
  TFileIdentity id;
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0) {
    id.Exists = true;
    id.CharacterDevice = S_ISCHR(st.st_mode);
    id.Device = st.st_dev;
    id.Inode = st.st_ino;
  }
  std::error_code ec;
  const fs::path followed = fs::absolute(FollowLinks(path), ec);
  id.Resolved = fs::weakly_canonical(followed, ec).lexically_normal().string();
  if (ec) id.Resolved = followed.lexically_normal().string();
  return id;
}

bool SameFile(const TFileIdentity& a, const TFileIdentity& b) {
  if (a.Exists && b.Exists) return a.Device == b.Device && a.Inode == b.Inode;
  return a.Resolved == b.Resolved;
}

void CheckNoOverlap(const std::vector<TNamedFile>& inputs, const std::vector<TNamedFile>& outputs) {
  std::vector<TFileIdentity> out;
  for (const TNamedFile& o : outputs) out.push_back(IdentifyFile(o.Path));
  for (size_t i = 0; i < outputs.size(); ++i) {
    if (IsStandard(outputs[i].Path)) continue;
    for (const TNamedFile& in : inputs)
      if (!IsStandard(in.Path) && SameFile(out[i], IdentifyFile(in.Path)))
        throw TBadInput(outputs[i].What + " " + outputs[i].Path + " is " + in.What + " " + in.Path +
                        "; an output never replaces an input, name another file");
    for (size_t j = i + 1; j < outputs.size(); ++j)
      if (!IsStandard(outputs[j].Path) && !out[i].CharacterDevice && SameFile(out[i], out[j]))
        throw TBadInput(outputs[i].What + " " + outputs[i].Path + " and " + outputs[j].What + " " + outputs[j].Path +
                        " name the same file; give each its own");
  }
}

}  // namespace wendo_lab
