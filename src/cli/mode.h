// The modes of kuvelt-calc. A mode is one option ("--json", "--write" …) with its own argument
// list; it prints its result on `out` and any failure message on `err` and returns the exit
// status. A new mode is added by a new .cpp file in this folder that registers itself with
// KUVELT_CLI_MODE; main.cpp finds it by its option.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "platform/message.h"

namespace kuvelt::cli {

// Exit statuses shared by every mode.
inline constexpr int kExitOk = 0;
inline constexpr int kExitRefused = 2;  // design file refused by the pre-read check or not read
inline constexpr int kExitWrite = 3;    // design file could not be written
inline constexpr int kExitUsage = 64;   // wrong command line

using ModeFunction = int (*)(const std::vector<std::string>& args, std::ostream& out,
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

// Makes `path` the current design as the Open command does: the pre-read check, then ReadData.
// On failure prints the read-failure message as "TITLE: TEXT" on `err` and returns false.
bool LoadDesign(const std::string& path, std::ostream& err);

// Prints a message the way the command line shows a message box: "TITLE: TEXT".
void PrintMessage(const Message& m, std::ostream& err);

}  // namespace kuvelt::cli

// Defines a mode in a .cpp file: KUVELT_CLI_MODE(json, "--json", "--json FILE.kvt", "…", RunJson)
#define KUVELT_CLI_MODE(id, option, usage, help, fn)          \
    [[maybe_unused]] static const bool kuvelt_cli_mode_##id = \
        ::kuvelt::cli::RegisterMode({option, usage, help, fn})
