// The rule every check of a section and of the excavation bottom is judged by: a value passes
// when, rounded to the decimals it is printed with, it satisfies its limit. The printed check is
// then true as printed ("δ ＝ 0.101 m ≦ δa ＝ 0.100 m ‥‥ OK" cannot occur); the limit is taken
// as it is, the comparison allows only floating-point noise. The result lists' flags, the
// report, the summary page, the windows, the command line's outputs and the program's proposal
// all judge by these functions.
#pragma once

#include <cstdint>

namespace kuvelt {

// The decimals each checked value is printed with.
namespace printed {
inline constexpr int32_t kMoment = 1;        // |Mmax|, kN·m/m
inline constexpr int32_t kStress = 1;        // σ, N/mm2
inline constexpr int32_t kLength = 2;        // Lreq and L, m
inline constexpr int32_t kDisplacement = 3;  // δ, m
inline constexpr int32_t kFactor = 3;        // F of boiling and heaving
}  // namespace printed

// `value` rounded half up to `decimals` places as it is printed; a value too large to carry
// those places, or not finite, as it is.
double AsPrinted(double value, int32_t decimals);

// The value as printed lies above its upper limit: the check fails ("＞ … OUT"). Not-a-number
// fails.
bool ExceedsAsPrinted(double value, int32_t decimals, double limit);
// The value as printed lies below its lower limit (a safety factor that fails).
bool BelowAsPrinted(double value, int32_t decimals, double limit);
// The value as printed lies outside lower..upper (the ends inside).
bool OutsideAsPrinted(double value, int32_t decimals, double lower, double upper);

}  // namespace kuvelt
