#include "path_parts.h"

namespace wymianadanych {

std::string ParentFolder(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string LastName(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ResolveRelative(const std::string& link, const std::string& target) {
  if (!target.empty() && target[0] == '/') return target;
  return ParentFolder(link) + "/" + target;
}

}  // namespace wymianadanych
