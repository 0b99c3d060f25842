// Where a command writes a file: standard output, or a named file that
// appears only once it is complete (written to a temporary file in the
// same folder and renamed at Commit; discarded when not committed).
#pragma once

#include <memory>
#include <ostream>
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
// and symbolic links resolved; empty paths and "-" are not compared.
void CheckDistinctOutputs(const std::vector<TNamedOutput>& outputs);

class TOutputFile {
 public:
  // An empty path or "-" means `standard`. Throws TBadInput when the
  // temporary file cannot be made.
  TOutputFile(const std::string& path, std::ostream& standard);
  ~TOutputFile();
  TOutputFile(const TOutputFile&) = delete;
  TOutputFile& operator=(const TOutputFile&) = delete;
  void Write(std::string_view text);
  // Throws std::runtime_error when the file cannot be completed.
  void Commit();
  bool IsStandard() const { return !file_; }

 private:
  // Takes the temporary file off RemoveTemporaryFiles' list: it is gone
  // or in place.
  void Unlist();

  std::string path_;
  std::ostream* standard_;
  std::unique_ptr<wymianadanych::TReplacingFile> file_;
  int slot_ = -1;  // where its temporary file is listed for RemoveTemporaryFiles
};

// Removes the temporary file of every TOutputFile neither committed nor
// destroyed yet. Async-signal-safe (unlink on paths listed beforehand), for
// a signal handler that ends the process at once.
void RemoveTemporaryFiles() noexcept;

}  // namespace wendo_lab
