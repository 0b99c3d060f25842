// Reads a scenario file as whitespace-separated integer tokens, buffered,
// so a file of any length is never held in memory at once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace wymianadanych {

class TTokenReader {
 public:
  static constexpr size_t MaxTokenLength = 32;
  static constexpr unsigned char EndOfFileMark = 26;  // Ctrl-Z

  // `fd` stays owned by the caller; `path` names the file in error texts.
  TTokenReader(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}

  // Skips every byte with a code of 32 or less, then converts the next run
  // of at most 32 bytes above 32; the rest of a longer run is left for the
  // next read. Gives 0 when the file ends first. Throws TScenarioError on a
  // token that is not a 32-bit integer, or on a read error.
  int32_t ReadInt32();

  // Discards every byte up to and including the next LF.
  void SkipLine();

  // True once the end of the file (or a Ctrl-Z) has been reached.
  bool AtEnd();

 private:
  // The next byte without taking it, or -1 at the end of the file.
  int Peek();
  void Take() { ++pos_; }

  int fd_;
  std::string path_;
  bool ended_ = false;
  size_t pos_ = 0;
  size_t len_ = 0;
  std::vector<unsigned char> buffer_ = std::vector<unsigned char>(64 * 1024);
};

}  // namespace wymianadanych
