// The 土圧・水圧分布図 of chapter 2: the earth and water pressures on the wall over the whole depth
// examined, on the common layer boundaries of the virtual ground stage: the passive
// pressure in front (left of the wall line) and the active pressure behind (right of it) on one
// scale, the residual water pressure beside them, and their net sum Pa + Pw − Pp, with the
// virtual ground surface marked across all three where the sum falls to zero (and, where the
// clayey 0.5 m rule adopts another level for the loads, that one too, each named). A level axis
// names every boundary with its elevation (in layered ground each layer's top with its number and
// soil, the boundaries drawn across the earth pressures); the value at each boundary is written at
// its point (kN/m2), every label placed clear of the lines and of the other labels. Y = m·z as in
// the other figures; the wall line of the earth pressures is X = 0.
#pragma once

#include <cstdint>
#include <string>

#include "calc/results.h"

namespace kuvelt::basZuPressure {

inline constexpr double kFrameWidth = 160;
inline constexpr double kFrameHeight = 190;  // a page of its own: room between close levels
inline constexpr int32_t kMaxLayers = 40;

// Draws the figure of the calculation that gave `results` for a frame of W × F mm and returns
// the path of the composite figure file. PrintFault 5 (values that are not numbers, no depth, no
// pressure to scale), 9 (more than kMaxLayers layers, or layer lists that do not match).
std::string DrawPressureFigure(const Results& results, double W = kFrameWidth,
                               double F = kFrameHeight);

// Chapter 2's block of the figure (print_job::kPressureFigure).
void WritePressureFigure(const Results& results);

}  // namespace kuvelt::basZuPressure
