// The JSON Schema of a design given as JSON (see design_json_read.h), made from the design-field
// table: the four records, the cover's block and the three catalogues, each field's JSON type, its
// input range and a text's byte limit. data/kuvelt-design.schema.json is this text; a test keeps
// them equal.
#pragma once

#include <string>

namespace kuvelt {

// The schema as pretty-printed JSON (two-blank indentation, ending with a line feed).
std::string DesignJsonSchema();

}  // namespace kuvelt
