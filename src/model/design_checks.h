// The rules the input windows hold a design to, in one place: each field inside its input range
// (ranges.h) while it takes part in the design, the codes of the choices, the checks across the
// fields of the design-conditions and ground windows, the rows of the section grids and the
// stored sheet-pile choice. The windows apply them as the user types and confirms; every
// calculation applies them all first (RefuseDesign), so no verdict, report or figure of results
// comes from a design a window would refuse. A design file may still hold such a design: it is
// read and written unchanged, and refused when it is to be calculated.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/design.h"
#include "platform/message.h"

namespace kuvelt {

struct ConditionConflict {
    Message message;         // names the fields and their values
    std::string focusField;  // "CInpJyoken.ELDL", "gInpJiban.Layers[2].ELU": the field to correct
};

// Whether a field takes part in the design: the dimensions of the chosen surcharge shape
// (`keijyo`), φ of sandy ground and the cohesion of clayey ground (`kind`, the layer's own for
// the fields of a layer below the first, "CInpJibanLayer.Fai"); every other field always. The
// windows enable exactly these fields; the others keep their values unchecked.
bool FieldInForce(std::string_view field, int32_t keijyo, int32_t kind);

// The angle of a constant ground slope 1 : m in degrees, as the earth pressure takes it.
double SlopeAngle(double m);

// The first conflict of the design conditions, in the order wall height, pile head, depth, the
// channel water below the design ground level, and a constant slope steeper than φ of a sandy
// layer of `g` (no Coulomb wedge exists behind it).
std::optional<ConditionConflict> DesignConditionsConflict(const CInpJyoken& c, const CInpJiban& g);
// The ground window's, in the order of its fields: more than kMaxGroundLayers layers; each layer
// below the first, row by row: its kind, each value it takes part with outside its grid
// column's range, a top not below the ground surface or the layer above, or not above the
// examined depth (ELDL - Z of `c`); a sandy layer's φ below the constant slope of `c`; a wall
// friction angle other than the default 15° outside 0 … φ of a sandy layer (the default stays
// valid where φ is below it, as it always was).
std::optional<ConditionConflict> GroundConditionsConflict(const CInpJiban& g, const CInpJyoken& c);

// The wall friction angle every design held before it could be entered; always accepted.
inline constexpr double kDefaultWallFriction = 15.0;
// "gInpJiban.Layers[2].ELU": a field of the layer `row` (from 1, the second ground layer) as the
// command line and the refusals name it.
std::string LayerFieldPath(std::size_t row, std::string_view member);

// A concrete section whose shortest length exceeds its longest, and the grid's message for row
// `row` (1-based) titled `title` (a refused paste adds that nothing was pasted).
constexpr bool LengthsCross(double lmin, double lmax) { return lmin > lmax; }
Message LengthOrderMessage(int row, double lmin, double lmax, const std::string& title,
                           bool paste = false);

// The shortest pile the choice window takes: the first length its field can hold (0.01 m) that
// reaches below the design ground level, so the pile has embedment in front of the wall.
double LeastPileLength(const CInpJyoken& c);
// The refusal of a pile length L that does not reach below the design ground level, naming the
// least length; nothing when L reaches below it.
std::optional<Message> PileLengthRefusal(double L, const CInpJyoken& c);

// The number of sections of the catalogue of a stored kind (CInpYaita.Yaita 0, 1, 2); 0 for a
// value no kind has.
int32_t CatalogueSize(int32_t yaita);

// Why a design may not be calculated: the window's message, naming the field, its value and
// what is allowed, and the field ("CInpJiban.Fai", "gInpSectS[2].Zo" with rows from 0 as in the
// JSON form, "gInpJiban.Layers[2].ELU" with layers from 1, "CInpYaita.Sect").
struct DesignRefusal {
    Message message;
    std::string field;
};

// Whether the stored sheet-pile choice is part of what is checked: it is when the run uses it
// (printing, the stability check, a command-line run with the stored choice), not when a new
// choice replaces it (the choice window, --pick).
enum class StoredChoice { Ignored, Checked };

// The first rule the current design breaks, in the order of the windows: design conditions (the
// channel water level with them), ground (its layers and wall friction angles with it), materials,
// the three section catalogues, then (when checked and a choice is stored) the sheet-pile choice.
// Nothing when every window would take the design as it stands.
std::optional<DesignRefusal> RefuseDesign(StoredChoice stored);

}  // namespace kuvelt
