#include "calc/rounding.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "calc/fault.h"
#include "platform/numfmt.h"

namespace kuvelt {

namespace {

// 10^n for the decimal counts that occur, exact; other counts through pow.
double PowerOfTen(int32_t n) {
    static constexpr double kTable[] = {1.0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10};
    if (n >= 0 && n <= 10) return kTable[n];
    return fault::Pow(10.0, static_cast<double>(n));
}

constexpr const auto& kPow10 = numfmt::kPowersOfTen;

// How the general number format (15 significant digits) shows the scaled value t.
enum class Shown { Whole, DecimalBelowHalf, DecimalHalfOrMore, Unknown };

// The form of "%.15g" of t, from the digits of t itself. For 0.1 <= t < 1e15 the text is plain
// decimal with 14 - X decimals (X the decimal exponent of t), rounded to nearest with ties to
// even from t's exact binary value, trailing zeros dropped; it shows a decimal point when those
// decimals are not all zero. From 1e15 on it has an exponent. Below 0.1: Unknown (the text
// decides).
Shown ShownForm(double t) {
    if (t >= 1e15) return Shown::Whole;  // exponent form
    if (!(t >= 0.1)) return Shown::Unknown;
    const auto whole = static_cast<uint64_t>(t);  // t < 1e15: exact
    // The decimal exponent: whole has x + 1 digits (x = -1 for 0). The bit length gives it
    // within one (bits × log10 2, at most 15 here), one comparison settles it.
    int x = static_cast<int>((64 - std::countl_zero(whole)) * 1233 >> 12);
    if (whole < kPow10[x]) --x;
    const int decimals = 14 - x;  // 0 .. 15
    // t = mantissa * 2^-k with a 53-bit mantissa (t is normal); t >= 0.1 keeps k <= 56.
    const auto bits = std::bit_cast<uint64_t>(t);
    const uint64_t mantissa = (bits & ((uint64_t{1} << 52) - 1)) | (uint64_t{1} << 52);
    const int k = 1075 - static_cast<int>(bits >> 52);
    if (k <= 0) return Shown::Whole;  // an integer
    const uint64_t fraction = k >= 64 ? mantissa : mantissa & ((uint64_t{1} << k) - 1);
    // fraction / 2^k scaled to `decimals` digits, rounded to nearest, ties to even.
    __extension__ using U128 = unsigned __int128;
    const U128 scaled = static_cast<U128>(fraction) * kPow10[decimals];
    auto digits = static_cast<uint64_t>(scaled >> k);
    const U128 rest = scaled & ((static_cast<U128>(1) << k) - 1);
    const U128 half = static_cast<U128>(1) << (k - 1);
    if (rest > half || (rest == half && (digits & 1) != 0)) ++digits;
    if (digits == 0 || digits == kPow10[decimals]) return Shown::Whole;  // nothing or a carry
    // The first decimal is 5 or more: compared rather than divided out (a division by a table
    // entry costs about as much as the rest of the rounding).
    return digits >= 5 * kPow10[decimals - 1] ? Shown::DecimalHalfOrMore : Shown::DecimalBelowHalf;
}

// The same question answered by printing the text.
Shown PrintedForm(double t) {
    char text[64];
    std::snprintf(text, sizeof text, "%.15g", t);
    const char* dot = std::strchr(text, '.');
    const bool exponent = std::strchr(text, 'e') != nullptr;
    if (dot != nullptr && !exponent && dot[1] >= '0' && dot[1] <= '9') {
        return dot[1] >= '5' ? Shown::DecimalHalfOrMore : Shown::DecimalBelowHalf;
    }
    return Shown::Whole;  // a whole number in that format, or one written with an exponent
}

}  // namespace

double RoundHalfUp(double x, int32_t n) {
    fault::Chk(x);
    const double a = std::fabs(x);
    double r = 0.0;
    // Magnitudes below half a unit of the first dropped decimal are zero whatever follows.
    // (The limits of the usual decimal counts are the same quotients, computed once.)
    static constexpr double kLimit[] = {1.0 / 1e1, 1.0 / 1e2, 1.0 / 1e3, 1.0 / 1e4, 1.0 / 1e5,
                                        1.0 / 1e6, 1.0 / 1e7, 1.0 / 1e8, 1.0 / 1e9, 1.0 / 1e10};
    const double limit = n >= 0 && n <= 9 ? kLimit[n] : fault::Div(1.0, PowerOfTen(n + 1));
    if (!(a < limit)) {
        const double p = PowerOfTen(n);
        // 0.00001 of the last kept decimal lifts a stored 1.00499999... to its intended 1.005.
        const double t = fault::Add(fault::Mul(a, p), 0.00001);
        // The decision is taken on the text the general number format shows (15 significant
        // digits): only its first decimal digit counts. It is read off t's digits directly;
        // printing is left for values outside the range those digits cover.
        Shown shown = ShownForm(t);
        if (shown == Shown::Unknown) shown = PrintedForm(t);
        switch (shown) {
            case Shown::DecimalHalfOrMore:
                r = fault::Div(std::trunc(fault::Add(t, 1.0)), p);
                break;
            case Shown::DecimalBelowHalf:
                r = fault::Div(std::trunc(t), p);
                break;
            case Shown::Whole:
            case Shown::Unknown:
                r = fault::Div(t, p);
                break;
        }
    }
    return x < 0 ? -r : r;
}

double SplitThickness(fault::Num h) {
    const double r = RoundHalfUp(h, 2);
    return std::fabs(r - double(h)) <= 1e-9 ? r : double(h);
}

}  // namespace kuvelt
