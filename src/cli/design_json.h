// The current design as JSON for kuvelt-calc: every field of the design-field table (the four
// records and the three catalogues) in file order, numbers as doubles (whole-number fields as
// integers), texts UTF-8.
// DumpJson writes numbers as the shortest text that reads back to the same double and
// non-finite numbers as null.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

namespace kuvelt::cli {

// {"gInpJyoken": {...}, "gInpJiban": {...}, ..., "gInpYaita": {...}} of the current design.
nlohmann::ordered_json DesignJson();

// Pretty-printed JSON text (two-blank indentation, ending with a line feed).
std::string DumpJson(const nlohmann::ordered_json& j);

// The shortest decimal text of `v` that reads back to the same double; "null" when not finite.
std::string JsonNumber(double v);

}  // namespace kuvelt::cli
