// The results of a calculation run as JSON for kuvelt-calc: the design, then every
// stage the run reached, the section tables and lists and the stability checks, with the keys
// in a fixed order. Stages the run never reached are left out. Numbers as the shortest text
// that reads back to the same double, non-finite numbers as null (see design_json.h).
#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>

#include "cli/design_json.h"
#include "usecase/design_run.h"

namespace kuvelt::cli {

// Everything is taken from the run: whether the calculation ran to its end (CalcMain), the
// stability check's result (null when it did not run) and its results value.
// Writes the members of the result object (the caller opens and closes it).
void WriteResultsMembers(JsonWriter& w, const usecase::CalcRun& run);

// The result object pretty-printed, ending with a line feed (one design of kuvelt-calc --json),
// appended to `out` or as a string.
void WriteResultsText(JsonBuffer& out, const usecase::CalcRun& run);
std::string ResultsJsonText(const usecase::CalcRun& run);

// The result object as one line without blanks (JSON Lines), ending with a line feed; with a
// `file`, a "file" member first (one design of a batch). Appended to `out` or as a string.
void WriteResultsLine(JsonBuffer& out, std::optional<std::string_view> file,
                      const usecase::CalcRun& run);
std::string ResultsJsonLine(std::optional<std::string_view> file, const usecase::CalcRun& run);

// The result object as a tree, for code that looks values up.
nlohmann::ordered_json ResultsJson(const usecase::CalcRun& run);

// One line of JSON without blanks (JSON Lines), numbers as in DumpJson, ending with a line feed;
// appended to `out` or as a string.
void WriteJsonLine(JsonBuffer& out, const nlohmann::ordered_json& j);
std::string DumpJsonLine(const nlohmann::ordered_json& j);

}  // namespace kuvelt::cli
