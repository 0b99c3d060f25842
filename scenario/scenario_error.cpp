#include "scenario_error.h"

#include <cerrno>
#include <sys/stat.h>

#include "path_parts.h"

namespace wymianadanych {

namespace {
bool IsFolder(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}
}  // namespace

std::string OsErrorText(int err, const std::string& path) {
  switch (err) {
    case ENOENT:
      // A missing file in an existing folder differs from a missing folder.
      return IsFolder(ParentFolder(path)) ? "File not found" : "Invalid filename";
    case ENOTDIR:
      return "Invalid filename";
    case EACCES:
    case EPERM:
    case EROFS:
      return "File access denied";
    case EMFILE:
    case ENFILE:
      return "Too many open files";
    default:
      return "I/O error " + std::to_string(err);
  }
}

void ThrowOsError(int err, const std::string& path) { throw TScenarioError(OsErrorText(err, path), err); }

}  // namespace wymianadanych
