// The modes of kuvelt-calc. A mode is one option ("--json", "--write" …) with its own argument
// list; it prints its result on `out` and any failure message on `err` and returns its outcome,
// whose exit status comes from the one table of usecase/outcome.h. A new mode is added by a new
// .cpp file in this folder that registers itself with KUVELT_CLI_MODE; main.cpp finds it by its
// option.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "platform/message.h"
#include "usecase/design_run.h"
#include "usecase/outcome.h"

namespace kuvelt::cli {

using usecase::Outcome;

using ModeFunction = Outcome (*)(const std::vector<std::string>& args, std::ostream& out,
                                 std::ostream& err);

struct Mode {
    std::string_view option;  // "--json"
    std::string_view usage;   // "--json FILE.kvt", shown in the usage text
    std::string_view help;    // one line saying what the mode prints
    ModeFunction run;
};

// Registers a mode (at static initialisation); returns true so it can initialise a variable.
bool RegisterMode(const Mode& mode);
// Every registered mode, sorted by option.
std::vector<Mode> Modes();
// The mode of `option`, or nullptr.
const Mode* FindMode(std::string_view option);

// Makes `path` the current design as the Open command does: the pre-read check, then ReadData;
// a ".json" path is read as a JSON design instead (design_source.h). Then the command line's
// --set changes are applied. On failure prints the read-failure message as "TITLE: TEXT" (or
// every fault of the JSON or of the changes) on `err` and returns false. A design the input
// windows would refuse is read as it stands; the use cases refuse to calculate it.
bool LoadDesign(const std::string& path, std::ostream& err);

// Prints a message the way the command line shows a message box: "TITLE: TEXT".
void PrintMessage(const Message& m, std::ostream& err);
void PrintMessages(const std::vector<Message>& messages, std::ostream& err);

// Takes the sheet-pile options out of `args`: "--pick KIND:NO:L" (KIND concrete, light or steel;
// section number; total length in m), "--pick auto" and "--yes". False, with the reason on
// `err`, when a pick is malformed or given twice.
bool TakePickOptions(std::vector<std::string>& args, usecase::PickRequest& request,
                     std::ostream& err);

// How a report without a choice gets one.
inline constexpr std::string_view kPickHint =
    "--pick KIND:NO:L（KIND は concrete, light, steel；断面№；矢板全長 m）で使用矢板を指定するか，"
    "--pick auto で全ての照査を満足する断面を提案させて下さい。";

}  // namespace kuvelt::cli

// Defines a mode in a .cpp file: KUVELT_CLI_MODE(json, "--json", "--json FILE.kvt", "…", RunJson)
#define KUVELT_CLI_MODE(id, option, usage, help, fn)          \
    [[maybe_unused]] static const bool kuvelt_cli_mode_##id = \
        ::kuvelt::cli::RegisterMode({option, usage, help, fn})
