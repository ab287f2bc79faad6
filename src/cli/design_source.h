// Where kuvelt-calc's designs come from and go to: a design file is read by its extension
// (".json" a JSON design, anything else as today: the Open command's check, which refuses all but
// ".kvt"), then the command line's --set changes are applied to it in the order given. A design
// is written by the extension of its target: ".json" as the JSON of --json's "design", anything
// else as a design file; "-" is a design file on standard output.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "usecase/outcome.h"

namespace kuvelt::cli {

// Keeps the command line's "--set PATH=VALUE" changes (each holding a "=") for
// ApplyDesignChanges; the path and value are checked on the design they change.
void UseDesignChanges(const std::vector<std::string>& changes);

// The --set changes, in order, on the current design. False, with every refused change on `err`
// (path, value and what the field accepts), when any is refused.
bool ApplyDesignChanges(std::ostream& err);

// Reads a JSON design (the text of `path`, or `text` when given) into the current design; false
// with each fault on `err`, after the name of what was read.
bool ReadJsonDesign(const std::string& path, std::ostream& err);
bool ReadJsonDesignText(std::string_view text, std::string_view name, std::ostream& err);

// Whether `path` may take a design before any work is done ("-", standard output, always may): not
// a folder, device or pipe, not one of `inputs` (the design read), not read-only, not a dangling
// link. False with the windows' write-failure message (the file and the cause) on `err`.
bool CheckDesignTarget(const std::string& path, const std::vector<std::string>& inputs,
                       std::ostream& err);

// Writes the current design to `path` by its extension ("-" as a design file to `out`), only when
// the program's own reader of that form reads it back: Refused (each field it would not take named
// on `err`, a text with bytes code page 932 does not hold among them) or NotWritten (the windows'
// write-failure message on `err`) otherwise; the file is then as it was.
usecase::Outcome WriteDesign(const std::string& path, const std::vector<std::string>& inputs,
                             std::ostream& out, std::ostream& err);

}  // namespace kuvelt::cli
