#include "calc/rounding.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "calc/fault.h"

namespace kuvelt {

namespace {

// 10^n for the decimal counts that occur, exact; other counts through pow.
double PowerOfTen(int32_t n) {
    static constexpr double kTable[] = {1.0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10};
    if (n >= 0 && n <= 10) return kTable[n];
    return fault::Pow(10.0, static_cast<double>(n));
}

}  // namespace

double RoundHalfUp(double x, int32_t n) {
    fault::Chk(x);
    const double a = std::fabs(x);
    double r = 0.0;
    // Magnitudes below half a unit of the first dropped decimal are zero whatever follows.
    if (!(a < fault::Div(1.0, PowerOfTen(n + 1)))) {
        const double p = PowerOfTen(n);
        // 0.00001 of the last kept decimal lifts a stored 1.00499999... to its intended 1.005.
        const double t = fault::Add(fault::Mul(a, p), 0.00001);
        // The decision is taken on the text the general number format shows (15 significant
        // digits): only its first decimal digit counts.
        char text[64];
        std::snprintf(text, sizeof text, "%.15g", t);
        const char* dot = std::strchr(text, '.');
        const bool exponent = std::strchr(text, 'e') != nullptr;
        if (dot != nullptr && !exponent && dot[1] >= '0' && dot[1] <= '9') {
            if (dot[1] >= '5') {
                r = fault::Div(std::trunc(fault::Add(t, 1.0)), p);
            } else {
                r = fault::Div(std::trunc(t), p);
            }
        } else {
            // A whole number in that format, or one written with an exponent.
            r = fault::Div(t, p);
        }
    }
    return x < 0 ? -r : r;
}

}  // namespace kuvelt
