// Output to a file that replaces the old one only once everything has been
// written: the text goes to a temporary file in the same folder, which is
// renamed over the target at Commit. Until then, and after any failure,
// the old file is untouched and the temporary file is removed.
//
// A target that exists but is not a regular file (a device, a pipe) is
// written in place. A symbolic link is followed to the file it names.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace wymianadanych {

// Behaves as write(2): bytes written, or -1 with errno set. Tests pass one
// that fails part-way to stand for a disk that fills up.
using TWriteCall = std::function<ssize_t(int fd, const void* data, size_t size)>;

class TReplacingFile {
 public:
  // Throws TScenarioError when the target may not be written or the
  // temporary file cannot be created. An empty `write` means write(2).
  TReplacingFile(const std::string& path, TWriteCall write);
  ~TReplacingFile();
  TReplacingFile(const TReplacingFile&) = delete;
  TReplacingFile& operator=(const TReplacingFile&) = delete;

  void Write(std::string_view text);

  // Writes what is buffered, syncs, closes and puts the file in place.
  void Commit();
  // Commit in two halves, for a set of files put in place together: Finish
  // writes, syncs and closes; PutInPlace renames.
  void Finish();
  void PutInPlace();

  // The file finally written, symbolic links followed.
  const std::string& TargetPath() const { return target_; }

  // The temporary file's path; empty when the target is written in place.
  const std::string& TemporaryPath() const { return temporary_; }

 private:
  void OpenInPlace();
  void OpenTemporary(bool keepMode, mode_t mode, uid_t owner, gid_t group);
  void Flush();
  // Closes the file and removes the temporary one unless committed.
  void Discard() noexcept;
  [[noreturn]] void Fail(int err);

  std::string target_;     // the file finally written, symbolic links followed
  std::string temporary_;  // empty when writing in place
  int fd_ = -1;
  bool committed_ = false;
  TWriteCall writeCall_;
  std::string pending_;
};

}  // namespace wymianadanych
