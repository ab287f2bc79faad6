#include "calc/verdicts.h"

#include <cmath>

#include "calc/rounding.h"

namespace kuvelt {

namespace {

// What a comparison of a printed value with its limit tolerates: the binary error of values
// that are decimals of at most a few places (far below the last printed digit, 0.001).
constexpr double kNoise = 1e-9;

}  // namespace

double AsPrinted(double value, int32_t decimals) {
    if (!std::isfinite(value) || std::fabs(value) >= 1e15) return value;
    return RoundHalfUp(value, decimals);
}

bool ExceedsAsPrinted(double value, int32_t decimals, double limit) {
    return !(AsPrinted(value, decimals) <= limit + kNoise);
}

bool BelowAsPrinted(double value, int32_t decimals, double limit) {
    return !(AsPrinted(value, decimals) >= limit - kNoise);
}

bool OutsideAsPrinted(double value, int32_t decimals, double lower, double upper) {
    return BelowAsPrinted(value, decimals, lower) || ExceedsAsPrinted(value, decimals, upper);
}

}  // namespace kuvelt
