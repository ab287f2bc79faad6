// The modes of kuvelt-calc. A mode is one entry of the command line's table (command_line.h)
// with a function that runs it: it prints its result on `out` and any failure message on `err`
// (standard error, where every line is prefixed with the program's name) and returns its
// outcome, whose exit status comes from the one table of usecase/outcome.h. A new mode is an
// entry in the table plus a .cpp file in this folder that registers its function with
// KUVELT_CLI_MODE; main.cpp finds it by its option.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "cli/command_line.h"
#include "platform/message.h"
#include "platform/standard_output.h"
#include "usecase/design_run.h"
#include "usecase/outcome.h"

namespace kuvelt::cli {

using usecase::Outcome;

using ModeFunction = Outcome (*)(const Invocation& inv, std::ostream& out, std::ostream& err);

struct Mode {
    std::string_view option;  // "--json"
    ModeFunction run;
};

// Registers a mode (at static initialisation); returns true so it can initialise a variable.
bool RegisterMode(const Mode& mode);
// The mode of `option`, or nullptr.
const Mode* FindMode(std::string_view option);

// Makes `path` the current design as the Open command does: the pre-read check, then ReadData;
// a ".json" path is read as a JSON design instead (design_source.h), and "-" is standard input,
// read whole, a JSON design when its first non-blank byte is "{" and a design file otherwise.
// Then the command line's --set changes are applied. On failure prints the read-failure message
// as "TITLE: TEXT" (or every fault of the JSON or of the changes) on `err` and returns false. A
// design the input windows would refuse is read as it stands; the use cases refuse to calculate it.
bool LoadDesign(const std::string& path, std::ostream& err);

// Prints a message the way the command line shows a message box: "TITLE: TEXT"; a note of the
// program's own (titled "Kuvelt" or "kuvelt-calc") as its text alone.
void PrintMessage(const Message& m, std::ostream& err);
void PrintMessages(const std::vector<Message>& messages, std::ostream& err);

// The end of every run: what was printed must have reached standard output. The exit status,
// raised to that of NotWritten with "標準出力に書き込めません：" and the cause on `err` when it
// did not.
int CheckedExit(int status, output::StandardOutput& out, std::ostream& err);

// How a report without a choice gets one.
inline constexpr std::string_view kPickHint =
    "--pick KIND:NO:L（KIND は concrete, light, steel；断面№；矢板全長 m）で使用矢板を指定するか，"
    "--pick auto で全ての照査を満足する断面を提案させて下さい。";

}  // namespace kuvelt::cli

// Defines a mode in a .cpp file: KUVELT_CLI_MODE(json, "--json", RunJson)
#define KUVELT_CLI_MODE(id, option, fn)                       \
    [[maybe_unused]] static const bool kuvelt_cli_mode_##id = \
        ::kuvelt::cli::RegisterMode({option, fn})
