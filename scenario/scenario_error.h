// The one error the scenario commands raise. Its text is shown to the user
// as it is, with a full stop added by the message box.
#pragma once

#include <stdexcept>
#include <string>

namespace wymianadanych {

class TScenarioError : public std::runtime_error {
 public:
  explicit TScenarioError(const std::string& text, int err = 0) : std::runtime_error(text), errno_(err) {}
  // The errno behind an operating-system error; 0 for the others.
  int Errno() const { return errno_; }

 private:
  int errno_;
};

// The texts for failures that are not operating-system errors.
inline constexpr const char* InvalidNumberText = "Invalid numeric input";
inline constexpr const char* RangeCheckText = "Range check error";
inline constexpr const char* OutOfMemoryText = "Out of memory";

// Text for the errno `err` of an operation on `path`: "File not found",
// "Invalid filename" (a folder on the path is missing), "File access
// denied", "Too many open files", or "I/O error n".
std::string OsErrorText(int err, const std::string& path);

[[noreturn]] void ThrowOsError(int err, const std::string& path);

}  // namespace wymianadanych
