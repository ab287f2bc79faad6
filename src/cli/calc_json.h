// The whole result store of a calculation run as JSON for kuvelt-calc: the design, then every
// stage the run reached, the section tables and lists and the stability checks, with the keys
// in a fixed order. Stages the run never reached are left out. Numbers as the shortest text
// that reads back to the same double, non-finite numbers as null.
#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <string>

namespace kuvelt::cli {

// `calcMain` is CalcMain's result; `nekiri` CalcNekiriAntei's, or empty when it did not run.
nlohmann::ordered_json ResultsJson(bool calcMain, std::optional<bool> nekiri);

// One line of JSON without blanks (JSON Lines), numbers as in DumpJson, ending with a line feed.
std::string DumpJsonLine(const nlohmann::ordered_json& j);

}  // namespace kuvelt::cli
