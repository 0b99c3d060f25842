// The command line of wendo-lab: the subcommands run, merge, summary and
// optimize.
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

// Exit status: 0 done, 1 failed while writing, 2 bad input (nothing
// written), 130 stopped.
int LabMain(int argc, const char* const* argv, const TConsole& console);

}  // namespace wendo_lab
