// The one decimal rounding rule of every calculation stage: half away from zero on the value's
// 15-significant-digit decimal form, tolerant of binary error in values meant to end in a 5.
// Pure function; a floating-point overflow (or a value that is not a number) raises the
// calculation's run-time fault (CalcFault 6, or 5 for NaN), which the stage's Calc catches.
#pragma once

#include <cstdint>

#include "calc/fault.h"

namespace kuvelt {

// Rounds x to n decimals (the stages use 0 to 4).
double RoundHalfUp(double x, int32_t n);
// The same for the result of a checked formula.
inline double RoundHalfUp(fault::Num x, int32_t n) { return RoundHalfUp(double(x), n); }

}  // namespace kuvelt
