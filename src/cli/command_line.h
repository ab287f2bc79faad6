// The command line of kuvelt-calc: one table of its modes and options, read by the parser, the
// --help text, the manual page's lists and the shell completion. Modes and options stand in any
// order, before or after the files; "--" ends the options and "--NAME=VALUE" is "--NAME VALUE".
// A FILE "-" is standard input; the OUT of --write and --pdf "-" is standard output. A bad
// command line is refused with the reason, never half run.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "usecase/design_run.h"

namespace kuvelt::cli {

// What an option's value is: the help text names it, the shell completes it.
enum class ValueKind : uint8_t {
    None,     // a flag
    Output,   // a file to write, or "-" for standard output
    Folder,   // a folder to write into
    Pick,     // KIND:NO:L or auto
    Change,   // PATH=VALUE, a field of the design
    Sweep,    // PATH=FROM:TO:STEP, a numeric field of the design
    Columns,  // PATH,PATH… of the --json dump
    Count,    // a whole number
};

struct OptionSpec {
    std::string_view name = {};   // "--pdf"
    std::string_view value = {};  // "OUT.pdf" as the help shows it; "" for a flag
    ValueKind kind = ValueKind::None;
    bool mode = false;            // a mode: one per command line
    bool manyFiles = false;       // modes: one or more FILEs (otherwise exactly one)
    int most = 1;                 // options: how often it may be given (0: any number of times)
    bool csvOnly = false;         // an option of --csv only (--sweep alone means --csv)
    std::string_view alias = {};  // "-h"
    std::string_view help = {};   // one paragraph, for --help and the manual page
};

// Every mode, then every option, in the order the help lists them.
std::span<const OptionSpec> CommandLineOptions();
// The mode or option of a name or alias, or nullptr.
const OptionSpec* FindOption(std::string_view name);

// "-" as a file: standard input where a design is read, standard output where one is written.
inline constexpr std::string_view kStandardStream = "-";

// What a command line asks for.
struct Invocation {
    enum class Action { Run, Help, Version };
    Action action = Action::Run;
    std::string mode = "--summary";  // "--csv" when only a --sweep is given
    std::string output;              // the OUT of --write and --pdf, the DIR of --report
    std::vector<std::string> files;  // the designs, in the order given
    usecase::PickRequest pick;
    std::vector<std::string> changes;  // --set PATH=VALUE, in order
    std::vector<std::string> sweeps;   // --sweep PATH=FROM:TO:STEP, in order
    std::vector<std::string> columns;  // --columns PATH,…, in order
    std::string maxRuns;               // --max-runs N as given ("" when not)
    bool verbose = false;              // library messages through to standard error
};

// Reads `args` (without the program name). False, with the reason on `err`, for a command line
// that cannot be run: an unknown option, a value missing, two modes, an option given more often
// than it may be, one of --csv with another mode, a FILE missing or too many, "-" read twice.
bool ParseCommandLine(const std::vector<std::string>& args, Invocation& inv, std::ostream& err);

// The text of --help (modes, options, exit statuses) and of --version.
std::string HelpText();
std::string VersionText();

// The line after a usage error, pointing at the help.
inline constexpr std::string_view kUsageHint = "kuvelt-calc --help and man kuvelt-calc say more";

}  // namespace kuvelt::cli
