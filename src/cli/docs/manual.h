// The parts of kuvelt-calc's manual page and of its shell completion that come from the
// program's tables: the modes and options (cli/command_line.h) and the design's fields
// (model/design_fields.h). The committed files (docs/man/kuvelt-calc.1, data/bash-completion/
// kuvelt-calc) hold them between the lines "BEGIN table: NAME" and "END table"; the manual's
// test keeps them equal and rewrites them on request. Not part of the program itself.
#pragma once

#include <string>

namespace kuvelt::cli::docs {

// roff: ".SH MODES" and ".SH OPTIONS", one tagged paragraph per entry, the help's words.
std::string ManualModesAndOptions();

// roff: one ".SS" per record and catalogue, one tagged paragraph per field with its type, its
// caption in the window and what it accepts.
std::string ManualDesignFields();

// bash: the words the completion offers, as shell variables.
std::string CompletionTables();

}  // namespace kuvelt::cli::docs
