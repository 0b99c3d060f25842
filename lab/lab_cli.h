// The command line of wendo-lab: the subcommands run, merge, summary and
// optimize.
#pragma once

#include "console.h"

namespace wendo_lab {

// Exit status: ExitDone, ExitFailed, ExitBadInput (nothing written) or
// ExitStopped.
int LabMain(int argc, const char* const* argv, const TConsole& console);

}  // namespace wendo_lab
