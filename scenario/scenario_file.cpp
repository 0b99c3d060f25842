#include "scenario_file.h"

#include <cerrno>
#include <fcntl.h>
#include <new>
#include <unistd.h>

#include "scenario_format.h"
#include "token_reader.h"

namespace wymianadanych {

namespace {
class TInputFile {
 public:
  explicit TInputFile(const std::string& path) : path_(path) {
    do fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    while (fd_ < 0 && errno == EINTR);
    if (fd_ < 0) ThrowOsError(errno, path);
  }
  ~TInputFile() {
    if (fd_ >= 0) ::close(fd_);
  }
  TInputFile(const TInputFile&) = delete;
  TInputFile& operator=(const TInputFile&) = delete;

  int Descriptor() const { return fd_; }

  void Close() {
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) ThrowOsError(errno, path_);
  }

 private:
  std::string path_;
  int fd_ = -1;
};
}  // namespace

void NewScenario(TWorld& world) { world.ResetScenario(); }

void SaveScenario(const TWorld& world, const std::string& path, const TWriteCall& write) {
  // A copy, so the lock is not held while the disk works.
  const TScenario scenario = TakeScenario(world);
  TReplacingFile file(path, write);
  WriteScenario(scenario, [&file](std::string_view line) { file.Write(line); });
  file.Commit();
}

TScenario ReadScenarioFile(const std::string& path) {
  TScenario scenario;
  try {
    TInputFile file(path);
    TTokenReader reader(file.Descriptor(), path);
    ReadScenario(reader, scenario);
    file.Close();
  } catch (const std::bad_alloc&) {
    throw TScenarioError(OutOfMemoryText);
  }
  return scenario;
}

void LoadScenario(TWorld& world, const std::string& path) { PutScenario(world, ReadScenarioFile(path)); }

}  // namespace wymianadanych
