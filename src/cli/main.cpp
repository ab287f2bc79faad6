// kuvelt-calc: the design tool's work without windows, for scripts and tests.
//
//   kuvelt-calc FILE.kvt ...                calculate and print a summary (--summary)
//   kuvelt-calc --json FILE.kvt ...         calculate and print the design and all results as JSON
//   kuvelt-calc --write OUT.kvt FILE.kvt    read and write again (canonical bytes)
//
// Modes live in their own files (see mode.h) and register themselves; this file only parses the
// command line and dispatches.
#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "cli/calc_modes.h"
#include "cli/design_source.h"
#include "cli/mode.h"
#include "platform/standard_output.h"
#include "usecase/outcome.h"

namespace {

using kuvelt::usecase::Outcome;

int Exit(Outcome o) { return kuvelt::usecase::ExitStatus(o); }

// The mode used when the command line starts with a file name instead of an option.
constexpr std::string_view kDefaultMode = "--summary";

// The calculation's JSON mode comes before any registered mode of the same option.
const kuvelt::cli::Mode* Find(std::string_view option) {
    const kuvelt::cli::Mode& calcJson = kuvelt::cli::CalcJsonMode();
    return option == calcJson.option ? &calcJson : kuvelt::cli::FindMode(option);
}

void PrintUsage(std::ostream& os) {
    os << "Usage: kuvelt-calc MODE ARGUMENTS...\n";
    const kuvelt::cli::Mode& calcJson = kuvelt::cli::CalcJsonMode();
    os << "  kuvelt-calc " << calcJson.usage << "\n      " << calcJson.help << "\n";
    for (const kuvelt::cli::Mode& m : kuvelt::cli::Modes()) {
        if (m.option == calcJson.option) continue;
        os << "  kuvelt-calc " << m.usage << "\n      " << m.help << "\n";
    }
    os << "  kuvelt-calc FILE.kvt\n      the same as kuvelt-calc " << kDefaultMode << " FILE.kvt\n";
    os << "--pick gives the sheet-pile choice (the design's stored one otherwise): KIND:NO:L\n"
          "(KIND concrete, light or steel; the section number; the total length in m) or auto\n"
          "(the first section, kinds in the order concrete, light steel, steel, that satisfies\n"
          "every check, L rounded up to 0.5 m). --yes answers the choice's questions yes. The\n"
          "report and the PDF are written only for a chosen pile.\n";
    os << "A FILE ending in .json is a JSON design (the \"design\" object of --json; keys left\n"
          "out take a new design's values). --set PATH=VALUE (repeatable, e.g.\n"
          "gInpJyoken.ELDL=-0.5 or gInpSectS[3].Zo=1520, rows from 0) changes the design read\n"
          "before anything else, with the input windows' checks.\n";
    os << kuvelt::usecase::ExitStatusText() << "\n";
}

int Run(int argc, char** argv) {
    std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    if (args.empty()) {
        PrintUsage(std::cerr);
        return Exit(Outcome::Usage);
    }
    if (args[0] == "--help" || args[0] == "-h") {
        PrintUsage(std::cout);
        return Exit(Outcome::Ok);
    }

    // --set changes apply to the design of every mode (see design_source.h).
    if (!kuvelt::cli::TakeSetOptions(args, std::cerr)) return Exit(Outcome::Usage);
    if (args.empty()) {
        PrintUsage(std::cerr);
        return Exit(Outcome::Usage);
    }
    std::string option = args[0];
    if (option.rfind("-", 0) == 0) {
        args.erase(args.begin());
    } else {
        option = std::string(kDefaultMode);
    }
    const kuvelt::cli::Mode* mode = Find(option);
    if (mode == nullptr) {
        std::cerr << "kuvelt-calc: unknown mode " << option << "\n";
        PrintUsage(std::cerr);
        return Exit(Outcome::Usage);
    }
    const Outcome outcome = mode->run(args, std::cout, std::cerr);
    if (outcome == Outcome::Usage) PrintUsage(std::cerr);
    return Exit(outcome);
}

}  // namespace

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    // A reader that went away is a write failure told like any other, not a silent end.
    std::signal(SIGPIPE, SIG_IGN);
    kuvelt::output::StandardOutput out;
    return kuvelt::cli::CheckedExit(Run(argc, argv), out, std::cerr);
}
