// Where a subcommand of wendo-lab writes, whether it should stop, and the
// exit statuses it ends with.
#pragma once

#include <atomic>
#include <ostream>

namespace wendo_lab {

struct TConsole {
  std::ostream& Out;
  std::ostream& Err;
  bool Terminal = false;  // standard error is a terminal: show progress there
  // Set from outside (a signal) to stop the work: run then discards its
  // output files; optimize still writes the best layout found so far.
  const std::atomic<bool>* Stop = nullptr;
};

constexpr int ExitDone = 0;
constexpr int ExitFailed = 1;     // failed while writing
constexpr int ExitBadInput = 2;   // nothing run, nothing written
constexpr int ExitStopped = 130;  // a signal stopped the work (wendo-lab exits with 128 + the signal)

}  // namespace wendo_lab
