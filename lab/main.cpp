// wendo-lab: experiments with the beach simulation, without windows.
#include <atomic>
#include <csignal>
#include <iostream>
#include <unistd.h>

#include "lab_cli.h"
#include "output_file.h"

namespace {

std::atomic<bool> StopRequested{false};
std::atomic<int> StopSignal{0};
static_assert(std::atomic<bool>::is_always_lock_free);
static_assert(std::atomic<int>::is_always_lock_free);

// Ctrl-C, the end of a batch job's time or a closed terminal: a sweep
// stops at once and its output files are discarded; an optimisation stops
// and writes the best layout found so far. A second signal ends the
// process at once, removing the temporary files of the outputs first,
// unless the outputs are being put in place: then the set is completed and
// the command ends with the stop's status. The status is 128 + the signal.
extern "C" void RequestStop(int signal) {
  int none = 0;
  StopSignal.compare_exchange_strong(none, signal);
  if (!StopRequested.exchange(true)) return;
  if (wendo_lab::OutputsBeingPlaced()) return;
  wendo_lab::RemoveTemporaryFiles();
  _exit(128 + signal);
}

}  // namespace

int main(int argc, char** argv) {
  struct sigaction action {};
  action.sa_handler = RequestStop;
  action.sa_flags = 0;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGHUP, &action, nullptr);
  const int status =
      wendo_lab::LabMain(argc, argv, {std::cout, std::cerr, isatty(STDERR_FILENO) == 1, &StopRequested});
  return status == wendo_lab::ExitStopped && StopSignal != 0 ? 128 + StopSignal : status;
}
