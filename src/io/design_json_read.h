// A design given as JSON: the object kuvelt-calc --json prints under "design" (the same keys and
// nesting, driven by the design-field table). Keys left out keep the values of a new design
// (InitData); a catalogue that is given replaces the default one whole, and a section row's
// keys left out take what a new grid row holds. Every value goes through the checks of the
// input windows: its type, the field's input range (InRange) and a text's byte limit and
// characters (TextFieldAcceptable); a section's number the grid's range (CellAcceptable); and
// either may hold what a new design holds (NewDesignValuesOutsideRange). Every fault is reported,
// each as "PATH: what", with the JSON path ("gInpJyoken.ELDL", "gInpSectS[3].Zo", indices from 0 as
// in the JSON; "gInpJiban.Layers[1].Fai" with layers from 1), the value and what is allowed.
//
// The site's values beyond a homogeneous ground are keys of their records written only when they
// differ from a new design's: gInpJyoken.ELWF, gInpJiban.DeltaA, gInpJiban.DeltaP and
// gInpJiban.Layers, the array of the layers below the first (as objects of LayerFields()). So
// is gInpHyoshi.SankoBunken, the design's references: an array of texts, none of them empty.
//
// Malformed documents are refused the same way: a byte order mark, a syntax error or truncated
// text, NaN or Infinity literals, numbers beyond the range of a double, a key given twice in an
// object, and nesting deeper than kMaxJsonDepth levels (checked while parsing, never by
// recursion).
//
// The same checks serve the command line's PATH=VALUE changes (SetDesignValue).
#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/design_fields.h"

namespace kuvelt {

inline constexpr int kMaxJsonDepth = 64;

// True when `path` ends in ".json" (any case): such a file is read as a JSON design.
bool IsJsonDesignPath(std::string_view path);

// Reads the JSON text into the current design (after InitData). On any fault the current design
// is a fresh default design again, `faults` holds every fault and the result is false.
bool DesignFromJson(std::string_view text, std::vector<std::string>& faults);

// The same from a file (read whole; a file that cannot be read is one fault).
bool ReadDesignJson(const std::string& path, std::vector<std::string>& faults);

// A field of the current design named by a JSON path: a record's field ("gInpJyoken.ELDL"), a
// section row's ("gInpSectS[3].Zo", row index from 0) or a ground layer's below the first
// ("gInpJiban.Layers[1].Fai", the second ground layer: layers count from 1 as the refusals of
// RefuseDesign name them) or one of the design's references ("gInpHyoshi.SankoBunken[0]", from
// 0 as in the JSON array).
struct DesignPath {
    const DesignField* field = nullptr;
    std::optional<Catalogue> catalogue;  // section rows only
    bool layer = false;                  // a layer below the first
    bool reference = false;              // one of the design's references (ReferenceField())
    int32_t row = 0;                     // from 0 (gInpJiban.Layers[1] is row 0)
    std::string text;                    // the path as given
};

// The field `path` names, or nullopt with the reason in `fault`. Whether the row exists is
// decided when a value is set (the catalogue or the layers of the design at hand); setting a
// field of the layer one past the last appends a layer as a new grid row holds it; a reference
// one past the last is appended, and an empty text removes the reference it names.
std::optional<DesignPath> ParseDesignPath(std::string_view path, std::string& fault);

// Empty when `value` may be stored in the field; otherwise "PATH: VALUE …why".
std::string CheckDesignValue(const DesignField& f, const nlohmann::json& value,
                             std::string_view path);

// A command-line VALUE for the field: a number (whole for whole-number fields), true or false,
// or the text itself. nullopt (reason in `fault`) when it is not of the field's type.
std::optional<nlohmann::json> ValueForField(const DesignField& f, std::string_view text,
                                            std::string_view path, std::string& fault);

// Checks the value and stores it in the current design; false with the reason in `fault` (the
// design unchanged) when the value is refused or the row does not exist.
bool SetDesignValue(const DesignPath& p, const nlohmann::json& value, std::string& fault);
// "PATH=VALUE" text parts, as on the command line.
bool SetDesignValue(std::string_view path, std::string_view value, std::string& fault);

// The unit of a field from its caption's last parenthesis ("m" of "設計地盤面(m)"), or "".
std::string FieldUnit(const DesignField& f);

// What a field accepts, as a refused value is told ("入力範囲：-999.00 ～ +999.00", "at most 60
// code page 932 bytes, …"); "" for a field without a range.
std::string FieldRangeWords(const DesignField& f);

}  // namespace kuvelt
