#include "calc/rounding.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "calc/fault.h"

namespace kuvelt {
namespace {

struct RoundCase {
    const char* name;
    double x;
    int n;
    double expected;
};

class RoundHalfUpTable : public ::testing::TestWithParam<RoundCase> {};

TEST_P(RoundHalfUpTable, Rounds) {
    const RoundCase& c = GetParam();
    EXPECT_EQ(RoundHalfUp(c.x, c.n), c.expected) << c.x << " at " << c.n;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RoundHalfUpTable,
    ::testing::Values(
        RoundCase{"Tie2", 2.345, 2, 2.35}, RoundCase{"NegTie2", -2.345, 2, -2.35},
        RoundCase{"BinaryBelowTie", 1.005, 2, 1.01},
        RoundCase{"NearlyHalfRoundsUp", 1.2349999, 2, 1.24},
        RoundCase{"BelowThreshold", 0.0004, 2, 0.0},
        RoundCase{"JustBelowTieAtThreshold", 0.00499999, 2, 0.01}, RoundCase{"Tie1", 0.15, 1, 0.2},
        RoundCase{"Pi3", 3.14159, 3, 3.142}, RoundCase{"Tie0", 12.5, 0, 13.0},
        RoundCase{"NegBelowThreshold", -0.0004, 2, 0.0},
        RoundCase{"NegSmallRoundsToZero", -0.004, 2, 0.0},
        RoundCase{"NegTieAtThreshold", -0.005, 2, -0.01},
        RoundCase{"ExactThresholdKept", 0.001, 2, 0.0},
        RoundCase{"ClearlyBelowHalf", 1.2348, 2, 1.23}, RoundCase{"Zero", 0.0, 2, 0.0},
        RoundCase{"Whole", 7.0, 2, 7.0}, RoundCase{"Four", 0.29114, 4, 0.2911},
        RoundCase{"FourTie", 0.30145, 4, 0.3015}, RoundCase{"Point4999", 2.4999, 0, 2.0},
        RoundCase{"Point49999", 2.49999, 0, 3.0}, RoundCase{"Large", 123456.785, 2, 123456.79},
        // 1e14 * 100 + 0.00001 prints without a fraction (15 digits): r = t / p.
        RoundCase{"WholeAt15Digits", 1e13 + 0.004, 2, (1e15 + 0.4 + 0.00001) / 100.0},
        // From 1e15 on the general format writes an exponent: the value only passes through
        // the scaling, however its mantissa is written.
        RoundCase{"ExponentForm", 1.5e15, 0, 1.5e15 + 0.00001},
        RoundCase{"ExponentFormScaled", 2.5e13, 2, (2.5e15 + 0.00001) / 100.0}),
    [](const ::testing::TestParamInfo<RoundCase>& i) { return std::string(i.param.name); });

// Reference: exact half-up rounding of an integer count of thousandths of the last kept decimal.
// Values given with at most three further decimals have a fraction of at most 0.999 units, so
// the 0.00001 allowance never matters and the decimal intent decides.
TEST(RoundHalfUpProperty, MatchesDecimalRoundingOfShortDecimals) {
    std::mt19937_64 rng(20261209);
    std::uniform_int_distribution<long long> digits(0, 999'999'999LL);
    for (int n = 0; n <= 4; ++n) {
        const double p = std::pow(10.0, n);
        for (int k = 0; k < 20000; ++k) {
            const long long m = digits(rng);  // value = m / 10^(n+3)
            char text[64];
            std::snprintf(text, sizeof text, "%lld.%03lld", m / 1000, m % 1000);
            const double x = std::strtod(text, nullptr) / p;
            long long units = m / 1000;
            if (m % 1000 >= 500) ++units;
            // The magnitude below half a unit of the first dropped decimal is 0 (m < 100).
            const double expected = m < 100 ? 0.0 : static_cast<double>(units) / p;
            ASSERT_EQ(RoundHalfUp(x, n), expected) << text << "e-" << n << " n=" << n;
            ASSERT_EQ(RoundHalfUp(-x, n), -expected) << "-" << text << "e-" << n;
        }
    }
}

// The rounding as it was first written, on the printed 15-digit text, kept as the reference:
// the rule is defined by that text, and the faster rounding must give the same result (the
// same double, sign of zero included, or the same fault) for every input.
namespace text_rule {

double PowerOfTen(int32_t n) {
    static constexpr double kTable[] = {1.0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10};
    if (n >= 0 && n <= 10) return kTable[n];
    return fault::Pow(10.0, static_cast<double>(n));
}

double RoundHalfUp(double x, int32_t n) {
    fault::Chk(x);
    const double a = std::fabs(x);
    double r = 0.0;
    if (!(a < fault::Div(1.0, PowerOfTen(n + 1)))) {
        const double p = PowerOfTen(n);
        const double t = fault::Add(fault::Mul(a, p), 0.00001);
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
            r = fault::Div(t, p);
        }
    }
    return x < 0 ? -r : r;
}

}  // namespace text_rule

// The result bits, or the fault code in the low bits with a marker no double result has here.
uint64_t Outcome(double (*round)(double, int32_t), double x, int32_t n) {
    try {
        return std::bit_cast<uint64_t>(round(x, n));
    } catch (const CalcFault& f) {
        return 0xFFF8'0000'0000'0000ULL | static_cast<uint32_t>(f.code);
    }
}

void ExpectSame(double x, int32_t n, long long& checked) {
    ++checked;
    const uint64_t got = Outcome(&RoundHalfUp, x, n);
    const uint64_t want = Outcome(&text_rule::RoundHalfUp, x, n);
    if (got != want) {
        char text[64];
        std::snprintf(text, sizeof text, "%.17g", x);
        ADD_FAILURE() << text << " at " << n << " decimals: " << std::bit_cast<double>(got)
                      << " instead of " << std::bit_cast<double>(want);
    }
}

// Several million inputs from a fixed seed: random magnitudes from the subnormals to the
// overflow, decimal ties and their neighbours a few ulps away at every digit count, values near
// powers of ten and near the ends of the 15-digit plain form (the threshold of zero, 1e15 after
// scaling, carries of ...999), each with both signs; digit counts 0 to 4 mostly, and the
// counts -2 to 12 that the rule also accepts.
TEST(RoundHalfUpProperty, SameAsTheTextRuleForEveryKindOfInput) {
    std::mt19937_64 rng(20261209);
    std::uniform_int_distribution<int> usual(0, 4), other(-2, 12), expo(-320, 308), near(-8, 17);
    std::uniform_real_distribution<double> mant(1.0, 10.0);
    long long checked = 0;
    auto both = [&](double v, int32_t n) {
        for (int u = -3; u <= 3; ++u) {
            double w = v;
            for (int s = 0; s < (u < 0 ? -u : u); ++s) w = std::nextafter(w, u < 0 ? 0.0 : 1e308);
            ExpectSame(w, n, checked);
            ExpectSame(-w, n, checked);
        }
    };
    for (int k = 0; k < 50000; ++k) {
        const int n = k % 16 == 0 ? other(rng) : usual(rng);
        const double p = std::pow(10.0, n);
        // Any magnitude, and the magnitudes the stages meet.
        both(mant(rng) * std::pow(10.0, expo(rng)), n);
        both(mant(rng) * std::pow(10.0, near(rng)), n);
        // A decimal tie: some units and a half of the last kept decimal, given as decimal text.
        const long long units =
            static_cast<long long>(rng() % 1'000'000'000'000ULL) >> (rng() % 40);
        char text[64];
        std::snprintf(text, sizeof text, "%lld.5e%d", units, -n);
        both(std::strtod(text, nullptr), n);
        // The same tie as the calculation computes it, by division.
        both((static_cast<double>(units) + 0.5) / p, n);
        // Around a power of ten, the zero threshold, and where the scaled value reaches 1e15.
        both(std::pow(10.0, near(rng)), n);
        both(1.0 / std::pow(10.0, n + 1), n);
        both((1e15 - 0.00001) / p * (1.0 + (static_cast<double>(rng() % 2001) - 1000.0) * 1e-16),
             n);
        // Runs of nines: the 15-digit form carries into the next whole number or power.
        const int nines = 1 + static_cast<int>(rng() % 16);
        both((std::pow(10.0, nines) - std::pow(10.0, -static_cast<int>(rng() % 16))) / p, n);
    }
    for (double v : {0.0, 5e-324, 2.2250738585072014e-308, 1e-5, 0.05, 0.5, 1e14, 1e15, 1e16, 1e300,
                     1.7976931348623157e308, std::numeric_limits<double>::infinity(),
                     std::numeric_limits<double>::quiet_NaN()}) {
        for (int n = -2; n <= 12; ++n) {
            ExpectSame(v, n, checked);
            ExpectSame(-v, n, checked);
        }
    }
    EXPECT_GT(checked, 5'000'000);
}

TEST(RoundHalfUpFault, OverflowAndNaNAreRunTimeFaults) {
    struct F {
        double x;
        int n;
        int32_t code;
    } cases[] = {
        {std::numeric_limits<double>::max(), 2, vberr::kOverflow},
        {std::numeric_limits<double>::infinity(), 0, vberr::kOverflow},
        {-std::numeric_limits<double>::infinity(), 1, vberr::kOverflow},
        {std::numeric_limits<double>::quiet_NaN(), 2, vberr::kInvalidCall},
    };
    for (const F& c : cases) {
        try {
            RoundHalfUp(c.x, c.n);
            ADD_FAILURE() << c.x << " did not fault";
        } catch (const CalcFault& f) {
            EXPECT_EQ(f.code, c.code) << c.x;
        }
    }
    // The largest magnitudes that still scale without overflow round through.
    EXPECT_EQ(RoundHalfUp(1e300, 4), 1e300 * 1e4 / 1e4);
}

}  // namespace
}  // namespace kuvelt
