// Splitting a file path into its folder and its last name.
#pragma once

#include <string>

namespace wymianadanych {

// "a/b/c.wnd" -> "a/b", "c.wnd" -> ".", "/c.wnd" -> "/".
std::string ParentFolder(const std::string& path);

// "a/b/c.wnd" -> "c.wnd".
std::string LastName(const std::string& path);

// `target` read from a symbolic link at `link`, taken relative to the link's folder.
std::string ResolveRelative(const std::string& link, const std::string& target);

}  // namespace wymianadanych
