// The one error for input the user must correct: a message meant for the
// user, exit status 2, and nothing written.
#pragma once

#include <stdexcept>
#include <string>

namespace wendo_lab {

class TBadInput : public std::runtime_error {
 public:
  explicit TBadInput(const std::string& text) : std::runtime_error(text) {}
};

}  // namespace wendo_lab
