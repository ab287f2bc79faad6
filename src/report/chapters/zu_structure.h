// The 構造図 of chapter 1: the cross-section of the design. The wall from its head to its tip
// (to the depth examined, dashed below the design ground level, while no pile is chosen), the
// ground surface behind it with the surcharge shape as entered (horizontal with Ｘ and Ｑ, a
// constant slope 1:ｍ with its angle and ｑ, a trapezoidal embankment with Ｘ1, Ｘ2, Ｈo, γ and
// Ｑ), the design ground level in front, the groundwater level behind and the water level in
// front (▽), the layer boundaries of layered ground with their elevations and each layer's soil,
// the bottom of the depth examined and, from a calculation, the virtual ground
// surface (both the computed and the adopted one, named so, where the clayey 0.5 m rule makes
// them differ); every level named with its elevation, vertically to scale with a scale bar. Left
// of the ground in front, the dimension lines a checker measures the wall by: Ｈ (ground surface
// to design ground level) over Ｄ (the embedment below it), Ｈ0 (pile head to the adopted virtual
// ground) over l ＝ 3／β of the chosen section, and the pile length Ｌ outermost. The wall stands
// at X = 0, the ground behind it to the right; a level z (m) is drawn at Y = m·z.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "calc/results.h"

namespace kuvelt::basZuStructure {

inline constexpr double kFrameWidth = 165;
inline constexpr double kFrameHeight = 110;

// A ground layer: its top and its soil (0 sandy, 1 clayey).
struct Stratum {
    double top = 0;
    int32_t kind = 0;
};

// What the figure shows: the design's levels and surcharge, and what a calculation adds.
struct Section {
    double ELGL = 0, ELYU = 0, ELDL = 0, ELWL = 0, Z = 0;
    int32_t Keijyo = 0;
    double K0X = 0, K0Q = 0, K1m = 0, K1Q = 0, K2X1 = 0, K2X2 = 0, K2Ho = 0, K2Gs = 0, K2Q = 0;
    std::optional<double> tip;            // ELYU − L of the chosen pile
    std::optional<double> embedment;      // 3/β of the chosen section below the virtual ground
    std::optional<double> frontWater;     // the channel water level
    std::vector<Stratum> strata;          // the ground layers from the top, when more than one
    std::optional<double> virtualGround;  // as computed
    std::optional<double> adoptedGround;  // as adopted for the loads (ELV), when it differs
    bool calculated = false;              // false: a note says the calculated levels are not shown
};

// The current design, with what the calculation that gave `results` found when `calculated`
// (the virtual ground surface only when that calculation found one).
Section CurrentSection(const Results& results, bool calculated);

// The sub-figure file's bytes (code page 932, CR LF) of the figure for a frame of W × F mm, for
// a window that shows it without writing files; and where the sub-figure's origin goes in the
// frame. Loads the style files when none are loaded. PrintFault 5 when a value is not a usable
// number.
struct Drawn {
    std::string bytes;
    double x = 0;  // placement of the sub-figure in the frame
    double y = 0;
};
Drawn BuildStructureFigure(const Section& s, double W = kFrameWidth, double F = kFrameHeight);

// Loads the style files, draws the figure of `s` and writes its sub-figure and composite files;
// returns the composite's path.
std::string DrawStructureFigure(const Section& s, double W = kFrameWidth, double F = kFrameHeight);

// Chapter 1's block of the figure (print_job::kStructureFigure) for the current design and the
// results of its calculation.
void WriteStructureFigure(const Results& results);

}  // namespace kuvelt::basZuStructure
