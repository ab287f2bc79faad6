#include "calc/rounding.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
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

// Reference for arbitrary doubles: the rule on the printed 15-digit text, done in decimal string
// arithmetic (integer part read from the text, incremented by string addition).
double TextRule(double x, int n) {
    const double a = std::fabs(x);
    const double p = std::pow(10.0, n);
    if (a < 1.0 / std::pow(10.0, n + 1)) return 0.0;
    const double t = a * p + 0.00001;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15g", t);
    std::string s(buf);
    double r;
    const auto dot = s.find('.');
    if (s.find('e') != std::string::npos || dot == std::string::npos) {
        r = t / p;
    } else {
        std::string ip = s.substr(0, dot);
        if (s[dot + 1] >= '5') {
            int i = static_cast<int>(ip.size()) - 1;
            while (i >= 0 && ip[i] == '9') ip[i--] = '0';
            if (i < 0) {
                ip.insert(ip.begin(), '1');
            } else {
                ++ip[i];
            }
        }
        r = std::strtod(ip.c_str(), nullptr) / p;
    }
    return x < 0 ? -r : r;
}

TEST(RoundHalfUpProperty, MatchesTextRuleOverManyMagnitudes) {
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> mant(1.0, 10.0);
    std::uniform_int_distribution<int> expo(-6, 16);
    std::uniform_int_distribution<int> places(0, 4);
    for (int k = 0; k < 200000; ++k) {
        const double x = mant(rng) * std::pow(10.0, expo(rng)) * (k % 2 ? -1.0 : 1.0);
        const int n = places(rng);
        ASSERT_EQ(RoundHalfUp(x, n), TextRule(x, n)) << x << " n=" << n;
    }
}

// Values a hair either side of a tie, a few ulps apart, in every magnitude the stages meet.
TEST(RoundHalfUpProperty, TiesAndNearTiesFollowTheTextRule) {
    for (int n = 0; n <= 4; ++n) {
        for (long long units = 0; units < 3000; units += 7) {
            for (double scale : {1.0, 1e3, 1e6, 1e9, 1e12}) {
                const double tie = (units * scale + 0.5) / std::pow(10.0, n);
                double v = tie;
                for (int u = 0; u < 4; ++u) v = std::nextafter(v, 0.0);
                for (int u = 0; u < 8; ++u, v = std::nextafter(v, 1e300)) {
                    ASSERT_EQ(RoundHalfUp(v, n), TextRule(v, n)) << v << " n=" << n;
                }
            }
        }
    }
    // Decimal ties meant to round up, whatever their binary form.
    for (long long m = 5; m < 100000; m += 10) {
        const double x = m / 1000.0;  // x.xx5
        ASSERT_EQ(RoundHalfUp(x, 2), (m + 5) / 10 / 100.0) << x;
    }
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
