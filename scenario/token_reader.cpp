#include "token_reader.h"

#include <cerrno>
#include <string_view>
#include <unistd.h>

#include "numbers.h"
#include "scenario_error.h"

namespace wymianadanych {

int TTokenReader::Peek() {
  if (ended_) return -1;
  if (pos_ == len_) {
    ssize_t n;
    do n = ::read(fd_, buffer_.data(), buffer_.size());
    while (n < 0 && errno == EINTR);
    if (n < 0) ThrowOsError(errno, path_);
    pos_ = 0;
    len_ = static_cast<size_t>(n);
    if (n == 0) {
      ended_ = true;
      return -1;
    }
  }
  if (buffer_[pos_] == EndOfFileMark) {
    // Nothing after a Ctrl-Z is ever read.
    ended_ = true;
    return -1;
  }
  return buffer_[pos_];
}

bool TTokenReader::AtEnd() { return Peek() < 0; }

int32_t TTokenReader::ReadInt32() {
  int c;
  while ((c = Peek()) >= 0 && c <= 32) Take();
  if (c < 0) return 0;
  char token[MaxTokenLength];
  size_t length = 0;
  do {
    token[length++] = static_cast<char>(c);
    Take();
  } while (length < MaxTokenLength && (c = Peek()) > 32);
  const auto value = ParseInt32(std::string_view(token, length));
  if (!value) throw TScenarioError(InvalidNumberText);
  return *value;
}

void TTokenReader::SkipLine() {
  int c;
  while ((c = Peek()) >= 0) {
    Take();
    if (c == '\n') return;
  }
}

}  // namespace wymianadanych
