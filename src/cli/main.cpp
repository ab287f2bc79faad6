// kuvelt-calc: the design tool's work without windows, for scripts and tests.
//
//   kuvelt-calc --json FILE.kvt             the design as JSON
//   kuvelt-calc --write OUT.kvt FILE.kvt    read and write again (canonical bytes)
//   kuvelt-calc FILE.kvt                    the default mode on one design file
//
// Modes live in their own files (see mode.h) and register themselves; this file only parses the
// command line and dispatches.
#include <iostream>
#include <string>
#include <vector>

#include "cli/mode.h"

namespace {

// The mode used when the command line starts with a file name instead of an option.
constexpr std::string_view kDefaultMode = "--json";

void PrintUsage(std::ostream& os) {
    os << "Usage: kuvelt-calc MODE ARGUMENTS...\n";
    for (const kuvelt::cli::Mode& m : kuvelt::cli::Modes()) {
        os << "  kuvelt-calc " << m.usage << "\n      " << m.help << "\n";
    }
    os << "  kuvelt-calc FILE.kvt\n      the same as kuvelt-calc " << kDefaultMode << " FILE.kvt\n";
    os << "Exit status: 0 success, 2 design file refused or not read, 3 design file not written,"
          " 64 wrong command line.\n";
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    if (args.empty()) {
        PrintUsage(std::cerr);
        return kuvelt::cli::kExitUsage;
    }
    if (args[0] == "--help" || args[0] == "-h") {
        PrintUsage(std::cout);
        return kuvelt::cli::kExitOk;
    }

    std::string option = args[0];
    if (option.rfind("-", 0) == 0) {
        args.erase(args.begin());
    } else {
        option = std::string(kDefaultMode);
    }
    const kuvelt::cli::Mode* mode = kuvelt::cli::FindMode(option);
    if (mode == nullptr) {
        std::cerr << "kuvelt-calc: unknown mode " << option << "\n";
        PrintUsage(std::cerr);
        return kuvelt::cli::kExitUsage;
    }
    const int rc = mode->run(args, std::cout, std::cerr);
    if (rc == kuvelt::cli::kExitUsage) PrintUsage(std::cerr);
    std::cout.flush();
    return rc;
}
