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

void ThrowOsError(int err, const std::string& path) { throw TScenarioError(OsErrorText(err, path)); }

bool IsScenarioErrorText(const std::string& text) {
  static const char* const fixed[] = {"File not found",      "Invalid filename",      "File access denied",
                                      "Too many open files", InvalidNumberText,       RangeCheckText,
                                      OutOfMemoryText};
  for (const char* f : fixed)
    if (text == f) return true;
  const std::string prefix = "I/O error ";
  if (text.size() <= prefix.size() || text.compare(0, prefix.size(), prefix) != 0) return false;
  for (size_t i = prefix.size(); i < text.size(); ++i)
    if (text[i] < '0' || text[i] > '9') return false;
  return true;
}

}  // namespace wymianadanych
