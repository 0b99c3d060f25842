#include "replacing_file.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "path_parts.h"
#include "scenario_error.h"

namespace wymianadanych {

namespace {
constexpr size_t FlushSize = 64 * 1024;
constexpr int MaxLinkHops = 40;
// Leaves room for the prefix and suffix within a name of 255 bytes.
constexpr size_t MaxNameInTemporary = 200;

std::string FollowLinks(std::string path) {
  for (int hop = 0; hop < MaxLinkHops; ++hop) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    std::string target(static_cast<size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
    const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
    if (n < 0) ThrowOsError(errno, path);
    target.resize(static_cast<size_t>(n));
    path = ResolveRelative(path, target);
  }
  ThrowOsError(ELOOP, path);
}

std::string TemporaryName(const std::string& target) {
  static std::atomic<uint64_t> counter{0};
  uint64_t x = static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
               (static_cast<uint64_t>(::getpid()) << 32) ^ (counter.fetch_add(1) * 0x9E3779B97F4A7C15ull);
  static const char digits[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::string suffix;
  for (int i = 0; i < 8; ++i) {
    suffix += digits[x % 36];
    x /= 36;
  }
  return ParentFolder(target) + "/." + LastName(target).substr(0, MaxNameInTemporary) + "." + suffix;
}
}  // namespace

TReplacingFile::TReplacingFile(const std::string& path, TWriteCall write)
    : target_(FollowLinks(path)), writeCall_(std::move(write)) {
  if (!writeCall_) writeCall_ = [](int fd, const void* data, size_t size) { return ::write(fd, data, size); };
  pending_.reserve(FlushSize);
  try {
    struct stat st {};
    if (::stat(target_.c_str(), &st) != 0) {
      if (errno != ENOENT) ThrowOsError(errno, target_);
      OpenTemporary(false, 0, 0, 0);  // a new file: 0666 less the umask
    } else if (!S_ISREG(st.st_mode)) {
      OpenInPlace();
    } else {
      // The rename would replace even a read-only file, and root passes
      // access() for any file, so the mode bits are checked as well.
      if ((st.st_mode & 0222) == 0) ThrowOsError(EACCES, target_);
      if (::access(target_.c_str(), W_OK) != 0) ThrowOsError(errno, target_);
      OpenTemporary(true, st.st_mode & 0777, st.st_uid, st.st_gid);
    }
  } catch (...) {
    // No destructor runs for an object whose constructor failed.
    Discard();
    throw;
  }
}

TReplacingFile::~TReplacingFile() { Discard(); }

void TReplacingFile::Discard() noexcept {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temporary_.empty() && !committed_) ::unlink(temporary_.c_str());
}

void TReplacingFile::OpenInPlace() {
  do fd_ = ::open(target_.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC | O_NOCTTY);
  while (fd_ < 0 && errno == EINTR);
  if (fd_ < 0) ThrowOsError(errno, target_);
}

void TReplacingFile::OpenTemporary(bool keepMode, mode_t mode, uid_t owner, gid_t group) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string name = TemporaryName(target_);
    fd_ = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
    if (fd_ >= 0) {
      temporary_ = name;
      break;
    }
    if (errno != EEXIST) ThrowOsError(errno, name);
  }
  if (fd_ < 0) ThrowOsError(EEXIST, target_);
  if (!keepMode) return;
  // The replacement keeps the old file's owner where we may set it (root
  // may; others keep their own), and its permission bits.
  if (owner != ::geteuid() || group != ::getegid()) (void)::fchown(fd_, owner, group);
  if (::fchmod(fd_, mode) != 0) Fail(errno);
}

void TReplacingFile::Fail(int err) { ThrowOsError(err, temporary_.empty() ? target_ : temporary_); }

void TReplacingFile::Write(std::string_view text) {
  pending_.append(text);
  if (pending_.size() >= FlushSize) Flush();
}

void TReplacingFile::Flush() {
  const char* data = pending_.data();
  size_t left = pending_.size();
  while (left > 0) {
    const ssize_t n = writeCall_(fd_, data, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      Fail(errno);
    }
    if (n == 0) Fail(ENOSPC);  // no progress: the device takes nothing more
    data += n;
    left -= static_cast<size_t>(n);
  }
  pending_.clear();
}

void TReplacingFile::Commit() {
  Finish();
  PutInPlace();
}

void TReplacingFile::Finish() {
  Flush();
  if (!temporary_.empty() && ::fsync(fd_) != 0) Fail(errno);
  const int fd = fd_;
  fd_ = -1;  // close releases the descriptor even when it reports an error
  if (::close(fd) != 0) Fail(errno);
}

void TReplacingFile::PutInPlace() {
  if (!temporary_.empty() && ::rename(temporary_.c_str(), target_.c_str()) != 0) Fail(errno);
  committed_ = true;
}

}  // namespace wymianadanych
