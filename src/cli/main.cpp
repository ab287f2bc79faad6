// kuvelt-calc: the design tool's work without windows, for scripts and tests.
//
//   kuvelt-calc FILE.kvt ...                calculate and print a summary (--summary)
//   kuvelt-calc --json FILE.kvt ...         calculate and print the design and all results as JSON
//   kuvelt-calc --write OUT.kvt FILE.kvt    read and write again (canonical bytes)
//
// The command line is read by one parser from one table (command_line.h); the modes live in their
// own files (see mode.h) and register themselves; this file only dispatches.
#include <csignal>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "cli/design_source.h"
#include "cli/mode.h"
#include "cli/standard_streams.h"
#include "platform/standard_output.h"
#include "usecase/outcome.h"

namespace {

using kuvelt::usecase::Outcome;

int Exit(Outcome o) { return kuvelt::usecase::ExitStatus(o); }

// KUVELT_VERBOSE set (and not "0") is --verbose; the preview program reads it too.
bool VerboseFromEnvironment() {
    const char* v = std::getenv("KUVELT_VERBOSE");
    return v != nullptr && *v != '\0' && std::string(v) != "0";
}

int Run(const std::vector<std::string>& args) {
    using namespace kuvelt::cli;
    Invocation inv;
    if (!ParseCommandLine(args, inv, std::cerr)) {
        std::cerr << kUsageHint << '\n';
        return Exit(Outcome::Usage);
    }
    if (inv.action == Invocation::Action::Help) {
        std::cout << HelpText();
        return Exit(Outcome::Ok);
    }
    if (inv.action == Invocation::Action::Version) {
        std::cout << VersionText();
        return Exit(Outcome::Ok);
    }
    inv.verbose = inv.verbose || VerboseFromEnvironment();
    if (inv.verbose) ::setenv("KUVELT_VERBOSE", "1", 1);
    // --set changes apply to the design of every mode (see design_source.h).
    UseDesignChanges(inv.changes);
    const Mode* mode = FindMode(inv.mode);
    if (mode == nullptr) {  // a table entry without its function: a fault of this build
        std::cerr << inv.mode << " is not built into this program\n";
        return Exit(Outcome::Usage);
    }
    const Outcome outcome = mode->run(inv, std::cout, std::cerr);
    if (outcome == Outcome::Usage) std::cerr << kUsageHint << '\n';
    std::cout.flush();
    return Exit(outcome);
}

}  // namespace

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    // A reader that went away is a write failure told like any other, not a silent end.
    std::signal(SIGPIPE, SIG_IGN);
    kuvelt::output::StandardOutput out;
    // Every line on standard error is ours and says so.
    kuvelt::cli::LinePrefixer prefixed(std::cerr.rdbuf(), "kuvelt-calc: ");
    std::streambuf* const plain = std::cerr.rdbuf(&prefixed);
    const int status = kuvelt::cli::CheckedExit(
        Run(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc)), out, std::cerr);
    std::cerr.rdbuf(plain);
    return status;
}
