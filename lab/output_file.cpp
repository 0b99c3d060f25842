#include "output_file.h"

#include <array>
#include <atomic>
#include <climits>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <unistd.h>

#include "bad_input.h"
#include "scenario_error.h"

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

}  // namespace

void RemoveTemporaryFiles() noexcept {
  for (TTemporarySlot& slot : Temporaries)
    if (slot.State == Ready) ::unlink(slot.Path);
}

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
  std::vector<fs::path> resolved;
  for (const TNamedOutput& o : outputs) {
    std::error_code ec;
    resolved.push_back(IsStandardOutput(o.Path) ? fs::path() : fs::weakly_canonical(fs::absolute(o.Path, ec), ec));
  }
  for (size_t i = 0; i < outputs.size(); ++i)
    for (size_t j = i + 1; j < outputs.size(); ++j)
      if (!resolved[i].empty() && resolved[i] == resolved[j])
        throw TBadInput(std::string(outputs[i].Option) + " " + outputs[i].Path + " and " +
                        std::string(outputs[j].Option) + " " + outputs[j].Path +
                        " name the same file; give each its own");
}

TOutputFile::TOutputFile(const std::string& path, std::ostream& standard) : path_(path), standard_(&standard) {
  if (IsStandardOutput(path)) return;
  try {
    file_ = std::make_unique<wymianadanych::TReplacingFile>(path, wymianadanych::TWriteCall{});
  } catch (const wymianadanych::TScenarioError& e) {
    throw TBadInput("cannot write " + path + ": " + e.what());
  }
  if (!file_->TemporaryPath().empty()) slot_ = ListTemporary(file_->TemporaryPath());
}

TOutputFile::~TOutputFile() {
  file_.reset();
  Unlist();
}

void TOutputFile::Unlist() {
  if (slot_ >= 0) Temporaries[static_cast<size_t>(slot_)].State = Free;
  slot_ = -1;
}

void TOutputFile::Write(std::string_view text) {
  if (!file_) {
    standard_->write(text.data(), static_cast<std::streamsize>(text.size()));
    return;
  }
  try {
    file_->Write(text);
  } catch (const wymianadanych::TScenarioError& e) {
    throw std::runtime_error("cannot write " + path_ + ": " + e.what());
  }
}

void TOutputFile::Commit() {
  if (!file_) {
    standard_->flush();
    if (!*standard_) throw std::runtime_error("cannot write to standard output");
    return;
  }
  try {
    file_->Commit();
  } catch (const wymianadanych::TScenarioError& e) {
    throw std::runtime_error("cannot write " + path_ + ": " + e.what());
  }
  Unlist();
}

}  // namespace wendo_lab
