#include "calc/pressure.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kuvelt {
namespace {

struct Seg {
    double EU, H, PU, PL;
};

struct Row {
    int32_t Section;
    double P, Y, H, Pi, Yi, Mi;
};

struct ResultantCase {
    const char* name;
    double WU, WL;
    std::vector<Seg> qdi;
    std::vector<Seg> qdo;
    std::vector<Row> rows;
    double P, M, Y, ELY;
};

class Resultant : public ::testing::TestWithParam<ResultantCase> {};

TEST_P(Resultant, ClipsBreaksDownAndSums) {
    const ResultantCase& c = GetParam();
    clsPressure p;
    p.WU = c.WU;
    p.WL = c.WL;
    for (const Seg& s : c.qdi) p.Qdi().Add(s.EU, s.H, s.PU, s.PL);
    p.Calc();
    ASSERT_EQ(p.Error(), 0);
    ASSERT_EQ(p.Qdo().Count(), static_cast<int32_t>(c.qdo.size()));
    for (int32_t i = 1; i <= p.Qdo().Count(); ++i) {
        SCOPED_TRACE("Qdo " + std::to_string(i));
        const clsPressureLoad& q = *p.Qdo().Item(i);
        const Seg& e = c.qdo[i - 1];
        EXPECT_NEAR(q.EU, e.EU, 1e-12);
        EXPECT_NEAR(q.H, e.H, 1e-12);
        EXPECT_NEAR(q.EL, e.EU - e.H, 1e-12);
        EXPECT_DOUBLE_EQ(q.PU, e.PU);
        EXPECT_DOUBLE_EQ(q.PL, e.PL);
    }
    ASSERT_EQ(p.Detail().Count(), static_cast<int32_t>(c.rows.size()));
    for (int32_t i = 1; i <= p.Detail().Count(); ++i) {
        SCOPED_TRACE("row " + std::to_string(i));
        const clsPressureDetail& d = *p.Detail().Item(i);
        const Row& e = c.rows[i - 1];
        EXPECT_EQ(d.Section, e.Section);
        EXPECT_DOUBLE_EQ(d.P, e.P);
        EXPECT_DOUBLE_EQ(d.Y, e.Y);
        EXPECT_DOUBLE_EQ(d.H, e.H);
        EXPECT_DOUBLE_EQ(d.Pi, e.Pi);
        EXPECT_DOUBLE_EQ(d.Yi, e.Yi);
        EXPECT_DOUBLE_EQ(d.Mi, e.Mi);
    }
    EXPECT_DOUBLE_EQ(p.P(), c.P);
    EXPECT_DOUBLE_EQ(p.M(), c.M);
    EXPECT_DOUBLE_EQ(p.Y(), c.Y);
    EXPECT_DOUBLE_EQ(p.ELY(), c.ELY);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Resultant,
    ::testing::Values(
        ResultantCase{"Empty", 4, -1.5, {}, {{4, 5.5, 0, 0}}, {}, 0, 0, 0, -1.5},
        ResultantCase{
            "EmptyRoundedLevel", 4, -1.2345, {}, {{4, 5.2345, 0, 0}}, {}, 0, 0, 0, -1.235},
        ResultantCase{"Rectangle",
                      5,
                      0,
                      {{5, 2, 10, 10}},
                      {{5, 2, 10, 10}, {3, 3, 0, 0}},
                      {{0, 10, 3, 2, 20, 4, 80}},
                      20,
                      80,
                      4,
                      4},
        ResultantCase{"ZeroAtTop",
                      5,
                      0,
                      {{5, 2, 0, 10}},
                      {{5, 2, 0, 10}, {3, 3, 0, 0}},
                      {{2, 10, 3, 2, 10, 3.667, 36.67}},
                      10,
                      36.67,
                      3.667,
                      3.667},
        ResultantCase{"ZeroAtBottom",
                      5,
                      0,
                      {{5, 2, 10, 0}},
                      {{5, 2, 10, 0}, {3, 3, 0, 0}},
                      {{1, 10, 3, 2, 10, 4.333, 43.33}},
                      10,
                      43.33,
                      4.333,
                      4.333},
        // Sign change inside the layer: two triangles of opposite sign.
        ResultantCase{"SignChange",
                      2,
                      0,
                      {{2, 2, 10, -6}},
                      {{2, 2, 10, -6}},
                      {{1, 10, 0, 2, 10, 1.333, 13.33}, {2, -6, 0, 2, -6, 0.667, -4.0}},
                      4,
                      9.33,
                      2.333,
                      2.333},
        // Cut at WU = 5: 3 m left, top pressure 8 + 3 × (0 − 8) / 4 = 2.
        ResultantCase{"CutAtTop",
                      5,
                      2,
                      {{6, 4, 0, 8}},
                      {{5, 3, 2, 8}},
                      {{1, 2, 0, 3, 3, 2, 6}, {2, 8, 0, 3, 12, 1, 12}},
                      15,
                      18,
                      1.2,
                      3.2},
        // Cut at WL = 0: bottom pressure 4 + 3 × 8 / 4 = 10; padded above up to WU.
        ResultantCase{"CutAtBottom",
                      4,
                      0,
                      {{3, 4, 4, 12}},
                      {{4, 1, 0, 0}, {3, 3, 4, 10}},
                      {{1, 4, 0, 3, 6, 2, 12}, {2, 10, 0, 3, 15, 1, 15}},
                      21,
                      27,
                      1.286,
                      1.286},
        // The first layer's piece below WU is 0.5 mm: dropped, and no padding for 0.5 mm.
        ResultantCase{"SlimPieceDropped",
                      5,
                      2,
                      {{6, 1.0005, 1, 1}, {4.9995, 2.9995, 3, 3}},
                      {{4.9995, 2.9995, 3, 3}},
                      {{0, 3, 0, 2.9995, 9.0, 1.5, 13.5}},
                      9,
                      13.5,
                      1.5,
                      3.5},
        // Thin and out-of-range input layers never reach Qdo; a 0.9 mm gap at the top stays open.
        ResultantCase{"ThinAndOutsideSkipped",
                      4,
                      0,
                      {{6, 1, 5, 5}, {4, 0.0009, 5, 5}, {3.9991, 3.9991, 0, 0}, {0, 2, 9, 9}},
                      {{3.9991, 3.9991, 0, 0}},
                      {},
                      0,
                      0,
                      0,
                      0},
        // Opposite triangles that cancel: no height of the resultant.
        ResultantCase{"BalancedHasNoHeight",
                      3.5,
                      0.5,
                      {{3.5, 3, 10, -10}},
                      {{3.5, 3, 10, -10}},
                      {{1, 10, 0, 3, 15, 2, 30}, {2, -10, 0, 3, -15, 1, -15}},
                      0,
                      15,
                      0,
                      0.5}),
    [](const ::testing::TestParamInfo<ResultantCase>& i) { return std::string(i.param.name); });

TEST(ResultantFault, OverflowKeepsTheClippedLayers) {
    clsPressure p;
    p.WU = 2;
    p.WL = 0;
    p.Qdi().Add(2, 2, 1e308, 1e308);
    p.Calc();
    EXPECT_EQ(p.Error(), 6);
    EXPECT_EQ(p.Qdo().Count(), 1);
    EXPECT_EQ(p.Detail().Count(), 0);
    EXPECT_EQ(p.P(), 0.0);
    // The next run starts clean.
    p.Qdi().Clear();
    p.Calc();
    EXPECT_EQ(p.Error(), 0);
}

}  // namespace
}  // namespace kuvelt
