#include "output_file.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "bad_input.h"
#include "file_identity.h"
#include "scenario_error.h"
#include "stop_points.h"

namespace wendo_lab {

namespace fs = std::filesystem;

namespace {

// The temporary files that a signal handler may have to remove, in plain
// buffers it can read: Ready once the path is complete.
enum TSlotState : int { Free, Filling, Ready };
struct TTemporarySlot {
  std::atomic<int> State{Free};
  char Path[PATH_MAX];
};
static_assert(std::atomic<int>::is_always_lock_free);
std::array<TTemporarySlot, 8> Temporaries;
std::atomic<bool> Placing{false};

// Lists `path` for RemoveTemporaryFiles; -1 when the list is full or the
// path too long.
int ListTemporary(const std::string& path) {
  if (path.size() >= PATH_MAX) return -1;
  for (size_t i = 0; i < Temporaries.size(); ++i) {
    int expected = Free;
    if (!Temporaries[i].State.compare_exchange_strong(expected, Filling)) continue;
    std::memcpy(Temporaries[i].Path, path.c_str(), path.size() + 1);
    Temporaries[i].State = Ready;
    return static_cast<int>(i);
  }
  return -1;
}

// An empty path or "-": standard output, not a file.
bool IsStandardOutput(const std::string& path) { return path.empty() || path == "-"; }

// A target that exists and is not a regular file, links followed.
bool IsNonRegular(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode);
}

std::string ErrorText(const wymianadanych::TScenarioError& e) {
  return e.Errno() ? SystemText(e.Errno()) : std::string(e.what());
}

// A name beside `target` for keeping its old file while the set is placed.
std::string AsideName(const std::string& target, int attempt) {
  const fs::path p(target);
  return (p.parent_path() / ("." + p.filename().string() + ".old" + std::to_string(::getpid()) + "_" +
                             std::to_string(attempt)))
      .string();
}

}  // namespace

std::string SystemText(int err) { return std::strerror(err); }

void RemoveTemporaryFiles() noexcept {
  for (TTemporarySlot& slot : Temporaries)
    if (slot.State == Ready) ::unlink(slot.Path);
}

bool OutputsBeingPlaced() noexcept { return Placing.load(); }

void CheckOutputPath(const std::string& path, std::string_view option) {
  if (IsStandardOutput(path)) return;
  const fs::path target(path);
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  std::error_code ec;
  const std::string where = std::string(option) + " " + path + ": ";
  if (!fs::is_directory(folder, ec)) throw TBadInput(where + "the folder \"" + folder.string() + "\" does not exist");
  if (fs::is_directory(target, ec)) throw TBadInput(where + "this is a folder; name a file");
}

void CheckDistinctOutputs(const std::vector<TNamedOutput>& outputs) {
  std::vector<TNamedFile> files;
  for (const TNamedOutput& o : outputs) files.push_back({std::string(o.Option), o.Path});
  CheckNoOverlap({}, files);
}

TOutputFile::TOutputFile(const std::string& path, std::ostream& standard, std::string_view option,
                         const std::atomic<bool>* stop)
    : path_(path), option_(option), standard_(&standard), stop_(stop) {
  if (IsStandardOutput(path)) return;
  if (IsNonRegular(path)) {
    OpenDirect(stop);
    return;
  }
  try {
    file_ = std::make_unique<wymianadanych::TReplacingFile>(path, wymianadanych::TWriteCall{});
  } catch (const wymianadanych::TScenarioError& e) {
    throw TBadInput("cannot write " + option_ + " " + path + ": " + ErrorText(e));
  }
  if (!file_->TemporaryPath().empty()) slot_ = ListTemporary(file_->TemporaryPath());
}

void TOutputFile::OpenDirect(const std::atomic<bool>* stop) {
  SignalPoint("fifo");
  // A FIFO opens only once a reader comes: opened without blocking, tried
  // again every 50 ms, so that a stop is not held up by the wait.
  for (;;) {
    ThrowIfStopped(stop);
    fd_ = ::open(path_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd_ >= 0) break;
    if (errno != ENXIO && errno != EINTR)
      throw TBadInput("cannot write " + option_ + " " + path_ + ": " + SystemText(errno));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  direct_ = true;
  const int flags = ::fcntl(fd_, F_GETFL);
  if (flags >= 0) ::fcntl(fd_, F_SETFL, flags & ~O_NONBLOCK);
}

TOutputFile::~TOutputFile() {
  file_.reset();
  if (fd_ >= 0) ::close(fd_);
  Unlist();
}

void TOutputFile::Unlist() {
  if (slot_ >= 0) Temporaries[static_cast<size_t>(slot_)].State = Free;
  slot_ = -1;
}

std::string TOutputFile::Describe() const {
  if (!IsStandard()) return option_ + " " + path_;
  return option_.starts_with("--") ? std::string("standard output") : option_ + " on standard output";
}

void TOutputFile::Write(std::string_view text) {
  if (direct_) {
    while (!text.empty()) {
      const ssize_t n = ::write(fd_, text.data(), text.size());
      if (n < 0 && errno == EINTR) {
        ThrowIfStopped(stop_);
        continue;
      }
      if (n <= 0) throw TWriteFailed("cannot write " + Describe() + ": " + SystemText(n < 0 ? errno : ENOSPC));
      text.remove_prefix(static_cast<size_t>(n));
    }
    return;
  }
  if (!file_) {
    standard_->write(text.data(), static_cast<std::streamsize>(text.size()));
    if (!*standard_) throw TWriteFailed("cannot write to standard output: " + SystemText(errno ? errno : EIO));
    return;
  }
  try {
    file_->Write(text);
  } catch (const wymianadanych::TScenarioError& e) {
    throw TWriteFailed("cannot write " + Describe() + ": " + ErrorText(e));
  }
}

void TOutputFile::Finish() {
  if (direct_) {
    if (fd_ < 0) return;
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0 && errno != EINTR) throw TWriteFailed("cannot write " + Describe() + ": " + SystemText(errno));
    return;
  }
  if (!file_) {
    errno = 0;
    standard_->flush();
    if (!*standard_) throw TWriteFailed("cannot write to standard output: " + SystemText(errno ? errno : EIO));
    return;
  }
  try {
    file_->Finish();
  } catch (const wymianadanych::TScenarioError& e) {
    throw TWriteFailed("cannot write " + Describe() + ": " + ErrorText(e));
  }
}

void TOutputFile::Commit() { CommitOutputs({this}, stop_); }

namespace {

// One staged file being put in place, its old file kept aside meanwhile.
struct TPlacement {
  const TOutputFile* Output;
  wymianadanych::TReplacingFile* File;
  std::string Aside;  // empty: no old file, or it could not be kept
  bool Placed = false;
};

// Puts the old files back (or removes the new ones where there was none).
void Undo(std::vector<TPlacement>& placements) {
  for (TPlacement& p : placements) {
    if (!p.Placed) continue;
    if (!p.Aside.empty()) ::rename(p.Aside.c_str(), p.File->TargetPath().c_str());
    else ::unlink(p.File->TargetPath().c_str());
  }
}

void KeepAside(TPlacement& p) {
  struct stat st {};
  if (::lstat(p.File->TargetPath().c_str(), &st) != 0) return;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string aside = AsideName(p.File->TargetPath(), attempt);
    if (::link(p.File->TargetPath().c_str(), aside.c_str()) == 0) {
      p.Aside = aside;
      return;
    }
    if (errno != EEXIST) return;
  }
}

}  // namespace

void CommitOutputs(const std::vector<TOutputFile*>& outputs, const std::atomic<bool>* stop) {
  const bool several = outputs.size() > 1;
  const std::string none = several ? "; the outputs are one set, so none of them was written" : "";
  for (TOutputFile* o : outputs) {
    try {
      o->Finish();
    } catch (const TWriteFailed& e) {
      throw TWriteFailed(e.what() + none + (several || !o->IsDirect() ? "; the old files are untouched" : ""));
    }
  }
  SignalPoint("staged");
  ThrowIfStopped(stop);
  std::vector<TPlacement> placements;
  for (TOutputFile* o : outputs)
    if (o->file_ && !o->file_->TemporaryPath().empty()) placements.push_back({o, o->file_.get(), {}, false});
  // Files kept aside first, so that a failed rename can be undone.
  for (TPlacement& p : placements) KeepAside(p);
  Placing = true;
  SignalPoint("placing");
  for (TPlacement& p : placements) {
    try {
      p.File->PutInPlace();
      p.Placed = true;
    } catch (const wymianadanych::TScenarioError& e) {
      Undo(placements);
      for (TPlacement& q : placements)
        if (!q.Aside.empty() && !q.Placed) ::unlink(q.Aside.c_str());
      Placing = false;
      throw TWriteFailed("cannot put " + p.Output->Describe() + " in place: " + ErrorText(e) +
                         (several ? "; none of the outputs was written" : "") + "; the old files are untouched");
    }
  }
  for (TPlacement& p : placements)
    if (!p.Aside.empty()) ::unlink(p.Aside.c_str());
  for (TOutputFile* o : outputs) o->Unlist();
  Placing = false;
}

bool TSeparateOutputs::Put(TOutputFile& file, std::string_view text) {
  try {
    file.Write(text);
    try {
      file.Commit();
    } catch (const TStopped&) {
      if (!file.IsDirect()) throw;  // a direct output has all its text: the stop takes nothing back
    }
    written_.push_back(file.Describe());
    return true;
  } catch (const TWriteFailed& e) {
    failed_.push_back(file.Describe());
    messages_.push_back(e.what());
    return false;
  }
}

namespace {

// "a", "a and b", "a, b and c".
std::string Listed(const std::vector<std::string>& items) {
  std::string text;
  for (size_t i = 0; i < items.size(); ++i)
    text += (i == 0 ? "" : i + 1 == items.size() ? " and " : ", ") + items[i];
  return text;
}

}  // namespace

std::string TSeparateOutputs::Report() const {
  if (failed_.empty()) return {};
  std::string text;
  for (const std::string& m : messages_) text += "wendo-lab: " + m + "\n";
  text += "wendo-lab: each output stands alone: ";
  text += written_.empty() ? std::string("none was written") : "written: " + Listed(written_);
  text += "; not written: " + Listed(failed_) + "\n";
  return text;
}

std::string TSeparateOutputs::StoppedReport() const {
  if (written_.empty()) return "wendo-lab: stopped; no output was written\n";
  return "wendo-lab: stopped; " + Listed(written_) + (written_.size() == 1 ? " was" : " were") +
         " written before the stop, nothing else\n";
}

}  // namespace wendo_lab
