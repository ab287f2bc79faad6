// Chang's method: characteristic value, maximum moment and its depth for both load cases, and
// the fault paths (zero rigidity, negative root, overflow) that must return false, not throw.
#include "calc/chang.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "calc/layer_kh.h"

namespace kuvelt {
namespace {

struct ChangCase {
    std::string name;
    int32_t lngCase;
    double h, P;
    double beta, mmax, lm;  // expected, compared at the printed precision below
};

// KH 10000 kN/m3, E 2.0e8 kN/m2, alpha 1, I 1.0e-4 m4/m: EI = 20000 kN*m2, beta = 0.5946.
constexpr double kI = 1.0e-4;
constexpr double kEk = 2.0e5;
constexpr double kKH = 10000.0;

void PrintTo(const ChangCase& c, std::ostream* os) { *os << c.name; }

class ChangValues : public ::testing::TestWithParam<ChangCase> {};

TEST_P(ChangValues, MatchHandCalculation) {
    const ChangCase& c = GetParam();
    ASSERT_TRUE(CalcChang(c.lngCase, 1.0, c.h, c.P, kI, kEk, kKH));
    EXPECT_NEAR(ChangBeta, c.beta, 0.00005);
    EXPECT_NEAR(ChangMmax, c.mmax, 0.005);
    EXPECT_NEAR(ChangLm, c.lm, 0.0005);
}

INSTANTIATE_TEST_SUITE_P(
    Chang, ChangValues,
    ::testing::Values(ChangCase{"LoadAtVirtualGround", 1, 0.0, 50.0, 0.5946, -27.11, 1.321},
                      // Case 1 ignores h even when one is passed.
                      ChangCase{"CaseOneIgnoresHeight", 1, 2.0, 50.0, 0.5946, -27.11, 1.321},
                      ChangCase{"LoadAboveVirtualGround", 2, 2.0, 50.0, 0.5946, -111.09, 0.484},
                      ChangCase{"NoLoadCaseOne", 1, 0.0, 0.0, 0.5946, 0.0, 1.321},
                      ChangCase{"NoLoadCaseTwo", 2, 2.0, 0.0, 0.5946, 0.0, 0.484},
                      // Moment scales linearly with P, the depth does not move.
                      ChangCase{"DoubleLoadCaseTwo", 2, 2.0, 100.0, 0.5946, -222.18, 0.484}),
    [](const auto& info) { return info.param.name; });

TEST(Chang, CaseTwoTendsToCaseOneAsHeightVanishes) {
    ASSERT_TRUE(CalcChang(1, 1.0, 0.0, 50.0, kI, kEk, kKH));
    const double m1 = ChangMmax;
    const double l1 = ChangLm;
    ASSERT_TRUE(CalcChang(2, 1.0, 1e-6, 50.0, kI, kEk, kKH));
    EXPECT_NEAR(ChangMmax, m1, 1e-3);
    EXPECT_NEAR(ChangLm, l1, 1e-3);
}

struct ChangFault {
    std::string name;
    int32_t lngCase;
    double B, h, P, I, Ek, KH;
    double betaAfter;  // what ChangBeta keeps (0 when the fault came before it)
};

void PrintTo(const ChangFault& c, std::ostream* os) { *os << c.name; }

class ChangFaults : public ::testing::TestWithParam<ChangFault> {};

TEST_P(ChangFaults, ReturnFalseWithOutputsCleared) {
    const ChangFault& c = GetParam();
    // A previous good call must not leak its values into a failed one.
    ASSERT_TRUE(CalcChang(2, 1.0, 2.0, 50.0, kI, kEk, kKH));
    EXPECT_FALSE(CalcChang(c.lngCase, c.B, c.h, c.P, c.I, c.Ek, c.KH));
    EXPECT_NEAR(ChangBeta, c.betaAfter, 0.00005);
    EXPECT_EQ(ChangMmax, 0.0);
    EXPECT_EQ(ChangLm, 0.0);
}

constexpr double kHuge = std::numeric_limits<double>::max();

INSTANTIATE_TEST_SUITE_P(
    Chang, ChangFaults,
    ::testing::Values(ChangFault{"ZeroInertia", 1, 1.0, 0.0, 50.0, 0.0, kEk, kKH, 0.0},
                      ChangFault{"ZeroModulus", 2, 1.0, 2.0, 50.0, kI, 0.0, kKH, 0.0},
                      ChangFault{"NegativeUnderRoot", 1, 1.0, 0.0, 50.0, kI, kEk, -kKH, 0.0},
                      // beta = 0: the moment divides by zero after beta was stored.
                      ChangFault{"NoSubgradeCaseOne", 1, 1.0, 0.0, 50.0, kI, kEk, 0.0, 0.0},
                      ChangFault{"NoSubgradeCaseTwo", 2, 1.0, 2.0, 50.0, kI, kEk, 0.0, 0.0},
                      // The moment overflows; beta was already computed and stays.
                      ChangFault{"MomentOverflows", 1, 1.0, 0.0, kHuge, kI, kEk, kKH, 0.5946},
                      ChangFault{"NonFiniteLoad", 2, 1.0, 2.0,
                                 std::numeric_limits<double>::quiet_NaN(), kI, kEk, kKH, 0.5946},
                      ChangFault{"UnknownLoadCase", 3, 1.0, 2.0, 50.0, kI, kEk, kKH, 0.0}),
    [](const auto& info) { return info.param.name; });

// Layered ground below the virtual ground at EL 0.0: Kh 3000 down to EL -1.5, 20000 below
// (EI 20000 as above, so 4EI = 80000). The root lies deeper than 1.5 m (the β of the soft layer
// alone, 0.4401, reaches 2.27 m), so with d = 1/β: Kh(d) = (3000 × 1.5 + 20000 (d − 1.5)) / d and
// β⁴ = Kh / 80000 is d⁴ − 1.275 d³ − 4 = 0: d = 1.87846, β = 0.53235, Kh = 6425.08. Case 1 with
// P 50 kN/m: Mmax = −(50 / 0.53235) × 0.322396 = −30.281, Lm = 0.785398 / 0.53235 = 1.4753 m.
TEST(ChangLayered, SolvesForTheKhAveragedOverOneOverBeta) {
    const std::vector<CInpJibanLayer> layers{{0.0, 0, 18, 10, 30, 0, 0, 3000},
                                             {-1.5, 0, 18, 10, 30, 0, 0, 20000}};
    ASSERT_TRUE(CalcChang(1, 1.0, 0.0, 50.0, kI, kEk, layers, 0.0));
    EXPECT_NEAR(ChangBeta, 0.532350, 5e-7);
    EXPECT_NEAR(ChangKh, 6425.08, 0.005);
    EXPECT_NEAR(ChangMmax, -30.281, 0.0005);
    EXPECT_NEAR(ChangLm, 1.4753, 0.00005);
    // The root to far below the fourth decimal, and Kh the mean the shares give.
    EXPECT_NEAR(ChangBeta, std::pow(ChangKh / 80000.0, 0.25), 1e-15);
    EXPECT_EQ(ChangKh, MeanKh(KhPartsBelow(layers, 0.0, 1.0 / ChangBeta)));

    // Equal Kh everywhere below the virtual ground (whatever lies above it) is the uniform
    // ground's β to the bit, and so is a virtual ground inside the stiff layer.
    const struct {
        std::vector<CInpJibanLayer> layers;
        double top, kh;
    } uniform[] = {{{{0.0, 0, 18, 10, 30, 0, 0, kKH}}, 0.0, kKH},
                   {{{3.0, 1, 16, 6, 0, 0, 20, 500},
                     {-0.3, 0, 18, 10, 30, 0, 0, kKH},
                     {-2.0, 0, 19, 10, 35, 0, 0, kKH}},
                    -0.3,
                    kKH},
                   {layers, -1.5, 20000.0}};
    for (const auto& u : uniform) {
        ASSERT_TRUE(CalcChang(2, 1.0, 2.0, 50.0, kI, kEk, u.kh));
        const double beta = ChangBeta, mmax = ChangMmax;
        ASSERT_TRUE(CalcChang(2, 1.0, 2.0, 50.0, kI, kEk, u.layers, u.top));
        EXPECT_EQ(ChangBeta, beta);
        EXPECT_EQ(ChangMmax, mmax);
        EXPECT_EQ(ChangKh, u.kh);
    }
}

// β is the root to the last bits for any rigidity, wherever the root falls among the layers
// (in a soft, a stiff or the last one, above or below the virtual ground's layer): β⁴ and
// q·Kh(1/β) agree to a few units in the last place.
TEST(ChangLayered, BetaIsTheRootToTheLastBits) {
    const std::vector<CInpJibanLayer> layers{{2.0, 0, 18, 10, 30, 0, 0, 3000},
                                             {0.7, 1, 16, 6, 0, 1, 20, 1200},
                                             {-1.3, 0, 19, 10, 35, 0, 0, 25000},
                                             {-2.1, 0, 19, 10, 35, 0, 0, 9000}};
    for (double top : {2.0, 0.7, -0.2}) {
        const KhProfile ground(layers, top);
        for (double q = 1e-7; q < 1e-1; q *= 1.37) {
            const LayeredBeta b = ground.Beta(q, [&](double kh) { return std::pow(q * kh, 0.25); });
            const double beta4 = b.beta * b.beta * b.beta * b.beta;
            ASSERT_NEAR(beta4 / (q * b.kh), 1.0, 1e-14) << top << " " << q;
            ASSERT_EQ(b.kh, ground.MeanBelow(1.0 / b.beta));
        }
    }
}

// The streamed mean is the mean of the shares to the bit, for shares within one layer, across
// several, below the last top and from a top above the first layer.
TEST(ChangLayered, MeanKhBelowIsTheMeanOfTheShares) {
    const std::vector<CInpJibanLayer> layers{{2.0, 0, 18, 10, 30, 0, 0, 3000},
                                             {0.7, 1, 16, 6, 0, 1, 20, 1200},
                                             {-1.3, 0, 19, 10, 35, 0, 0, 25000}};
    for (double top : {2.5, 2.0, 1.0, 0.7, -0.2, -1.3, -4.0}) {
        for (double depth : {0.0, 0.3, 1.0, 2.0, 3.7, 12.0}) {
            SCOPED_TRACE(testing::Message() << top << " " << depth);
            EXPECT_EQ(MeanKhBelow(layers, top, depth), MeanKh(KhPartsBelow(layers, top, depth)));
        }
    }
}

}  // namespace
}  // namespace kuvelt
