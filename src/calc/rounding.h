// The one decimal rounding rule of every calculation stage: half away from zero on the value's
// 15-significant-digit decimal form, tolerant of binary error in values meant to end in a 5; and
// how the layer tables keep and compare the thickness of a split layer. Pure functions; a
// floating-point overflow (or a value that is not a number) raises the calculation's run-time
// fault (CalcFault 6, or 5 for NaN), which the stage's Calc catches.
#pragma once

#include <cstdint>

#include "calc/fault.h"

namespace kuvelt {

// Rounds x to n decimals (the stages use 0 to 4).
double RoundHalfUp(double x, int32_t n);
// The same for the result of a checked formula.
inline double RoundHalfUp(fault::Num x, int32_t n) { return RoundHalfUp(double(x), n); }

// The thickness of the part of a layer above a level that splits it, as the layer tables keep
// it: to 0.01 m, the step in which the windows take levels, where that moves it by no more than
// binary noise; otherwise (a level between centimetres, which a design file or a JSON design may
// hold) the thickness itself, so that the parts still meet at that level.
double SplitThickness(fault::Num h);
// Whether a part of a layer is thick enough to be a layer of its own: thicker than a millimetre
// beyond binary noise, so that every stage decides alike on parts of exactly 1 mm (0.501 - 0.5 is
// 0.0010000000000000009, 3.5 - 3.499 is 0.00099999999999989).
inline bool ThickEnough(fault::Num h) { return double(h) > 0.001 + 1e-9; }

}  // namespace kuvelt
