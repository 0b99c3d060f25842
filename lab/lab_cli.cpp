#include "lab_cli.h"

#include <CLI/CLI.hpp>
#include <cerrno>
#include <memory>

#include "bad_input.h"
#include "merge_summary_commands.h"
#include "optimize_command.h"
#include "output_file.h"
#include "run_command.h"
#include "stop_points.h"

namespace wendo_lab {

namespace {

// Every subcommand has the same shape: an arguments struct, SetupCommand
// declaring its options bound to the struct, and RunCommand doing the work
// once the command line is read, its exit status kept in `status`.
template <class TArguments>
void AddCommand(CLI::App& app, const TConsole& console, int& status) {
  auto arguments = std::make_shared<TArguments>();
  SetupCommand(app, *arguments)->callback([arguments, &console, &status] { status = RunCommand(*arguments, console); });
}

void AddRunCommand(CLI::App& app, const TConsole& console, int& status) {
  AddCommand<TRunArguments>(app, console, status);
}
void AddMergeCommand(CLI::App& app, const TConsole& console, int& status) {
  AddCommand<TMergeArguments>(app, console, status);
}
void AddSummaryCommand(CLI::App& app, const TConsole& console, int& status) {
  AddCommand<TSummaryArguments>(app, console, status);
}
void AddOptimizeCommand(CLI::App& app, const TConsole& console, int& status) {
  AddCommand<TOptimizeArguments>(app, console, status);
}

}  // namespace

int LabMain(int argc, const char* const* argv, const TConsole& console) {
  CLI::App app{
      "Experiments with the Wendo beach simulation, without windows: runs sweeps of scenarios, parameter "
      "values and seeds on a virtual clock, merges the outputs of shards, summarises the results, and advises where "
      "to put observation points and boats.",
      "wendo-lab"};
  app.require_subcommand(1);
  app.fallthrough(false);
  app.set_version_flag("--version", "wendo-lab " WENDO_VERSION, "Prints \"wendo-lab\" and its version, and exits");
  int status = ExitDone;
  AddRunCommand(app, console, status);
  AddMergeCommand(app, console, status);
  AddSummaryCommand(app, console, status);
  AddOptimizeCommand(app, console, status);
  try {
    app.parse(argc, argv);
    // What went to standard output must have arrived (a full disk, a
    // closed pipe): a lost report is no success. A command that failed
    // has said so already.
    console.Out.flush();
    if (!console.Out && status != ExitStopped && status != ExitFailed) {
      console.Err << "wendo-lab: cannot write to standard output: " << SystemText(errno ? errno : EIO) << '\n';
      return ExitFailed;
    }
    return status;
  } catch (const TStopped&) {
    console.Err << "wendo-lab: stopped; no output file was written\n";
    return ExitStopped;
  } catch (const CLI::ParseError& e) {
    return app.exit(e, console.Out, console.Err) == 0 ? ExitDone : ExitBadInput;
  } catch (const TBadInput& e) {
    console.Err << "wendo-lab: " << e.what() << '\n';
    return ExitBadInput;
  } catch (const std::exception& e) {
    console.Err << "wendo-lab: " << e.what() << '\n';
    return ExitFailed;
  }
}

}  // namespace wendo_lab
