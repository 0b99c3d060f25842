// Where a command writes a file: standard output, a named file that appears
// only once it is complete (written to a temporary file in the same folder
// and renamed when committed; discarded when not), or a file that is not a
// regular one (a pipe, a FIFO, a device such as /dev/stdout), written
// directly as the text comes, with no temporary file and so not
// all-or-nothing.
//
// The outputs of `run` are committed together as one set (CommitOutputs):
// either every one is in place, or none is and the old files are untouched.
// Those of `summary` and `optimize` stand alone (TSeparateOutputs).
#pragma once

#include <atomic>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "replacing_file.h"

namespace wendo_lab {

// Throws TBadInput unless `path` can name an output file: its folder must
// exist, and it must not be a folder itself. `option` names it.
void CheckOutputPath(const std::string& path, std::string_view option);

struct TNamedOutput {
  std::string_view Option;
  const std::string& Path;
};
// Throws TBadInput when two of the outputs name the same file, "." and ".."
// and symbolic links resolved (a dangling link by the file it would make);
// empty paths and "-" are not compared.
void CheckDistinctOutputs(const std::vector<TNamedOutput>& outputs);

// A write that failed: the message names the file and gives the system's
// own words.
class TWriteFailed : public std::runtime_error {
 public:
  explicit TWriteFailed(const std::string& text) : std::runtime_error(text) {}
};

// "No space left on device" for ENOSPC, and so on.
std::string SystemText(int err);

class TOutputFile {
 public:
  // An empty path or "-" means `standard`. `option` names the output in
  // messages. Throws TBadInput when the file cannot be made; TStopped when
  // `stop` is set while a FIFO waits for its reader.
  TOutputFile(const std::string& path, std::ostream& standard, std::string_view option = "--out",
              const std::atomic<bool>* stop = nullptr);
  ~TOutputFile();
  TOutputFile(const TOutputFile&) = delete;
  TOutputFile& operator=(const TOutputFile&) = delete;
  // Throws TWriteFailed; TStopped when a stop interrupts a blocked write.
  void Write(std::string_view text);
  // Commits this output alone (see CommitOutputs for a set).
  void Commit();
  bool IsStandard() const { return !file_ && !direct_; }
  // Not all-or-nothing: standard output, a pipe, a device.
  bool IsDirect() const { return !file_; }
  const std::string& Path() const { return path_; }
  std::string_view Option() const { return option_; }
  // "--out runs.csv"; "standard output", or "the report on standard
  // output" when `option` names no option but what is written.
  std::string Describe() const;

 private:
  friend void CommitOutputs(const std::vector<TOutputFile*>& outputs, const std::atomic<bool>* stop);
  void OpenDirect(const std::atomic<bool>* stop);
  // Writes what is buffered and closes; a named file is then staged.
  void Finish();
  // Takes the temporary file off RemoveTemporaryFiles' list.
  void Unlist();

  std::string path_;
  std::string option_;
  std::ostream* standard_;
  std::unique_ptr<wymianadanych::TReplacingFile> file_;
  bool direct_ = false;  // a non-regular file, written directly through `fd_`
  int fd_ = -1;
  const std::atomic<bool>* stop_ = nullptr;
  int slot_ = -1;  // where its temporary file is listed for RemoveTemporaryFiles
};

// Commits the outputs as one set: each is finished (written, synced,
// closed), then, unless `stop` is set by then, all are put in place, an
// old file kept aside until every new one is in place. Throws TStopped
// when stopped before the renames (nothing new in place), TWriteFailed
// when one fails (nothing new in place, old files untouched; the message
// says so). A signal during the renames does not end the process before
// they are done.
void CommitOutputs(const std::vector<TOutputFile*>& outputs, const std::atomic<bool>* stop = nullptr);

// Outputs that stand alone rather than as one set: each is written and
// committed on its own, so that one that fails takes none of the others
// with it. Put notes what became of each; Report says it.
class TSeparateOutputs {
 public:
  // Writes `text` to `file` and commits it; false, the failure noted, when
  // it cannot be written. Throws TStopped when a stop comes before the file
  // is in place (not once a direct output has had all its text).
  bool Put(TOutputFile& file, std::string_view text);
  bool AnyFailed() const { return !failed_.empty(); }
  // When one failed: each failure on its own line, then which outputs were
  // written and which were not. Nothing when all were written.
  std::string Report() const;
  // After a stop: which outputs were written before it.
  std::string StoppedReport() const;

 private:
  std::vector<std::string> written_, failed_, messages_;
};

// Removes the temporary file of every TOutputFile neither committed nor
// destroyed yet. Async-signal-safe (unlink on paths listed beforehand), for
// a signal handler that ends the process at once.
void RemoveTemporaryFiles() noexcept;

// True while CommitOutputs puts a set of outputs in place: a signal handler
// then leaves the ending to the command, which reports the set complete.
bool OutputsBeingPlaced() noexcept;

}  // namespace wendo_lab
