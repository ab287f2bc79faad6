#include "calc/qqw.h"

#include <gtest/gtest.h>

#include <string>

namespace kuvelt {
namespace {

TEST(InfluenceFactor, KnownDistances) {
    const struct {
        double x, i;
    } cases[] = {{0.0, 1.0},   {0.33, 0.674}, {0.5, 0.563},
                 {1.0, 0.363}, {1.33, 0.290}, {2.0, 0.203}};
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(InfluenceFactor(c.x), c.i) << c.x;
}

TEST(InfluenceFactor, FaultGivesZero) {
    // x² overflows: the factor is ignored rather than failing the run.
    EXPECT_EQ(InfluenceFactor(1e200), 0.0);
}

struct QqwCase {
    const char* name;
    clsQqw in;
    double Xq, Xw, XHq, XHw, Iq, Iw, QQ, Qw, Q;
};

clsQqw Horizontal(double H, double X, double Q) {
    clsQqw q;
    q.H = H;
    q.Keijyo = 0;
    q.D1X = X;
    q.D1Q = Q;
    return q;
}

clsQqw Slope(double H, double m, double Q) {
    clsQqw q;
    q.H = H;
    q.Keijyo = 1;
    q.D2m = m;
    q.D2Q = Q;
    return q;
}

clsQqw Trapezoid(double H, double X1, double X2, double Ho, double Gs, double Q, int k = 2) {
    clsQqw q;
    q.H = H;
    q.Keijyo = k;
    q.D3X1 = X1;
    q.D3X2 = X2;
    q.D3Ho = Ho;
    q.D3Gs = Gs;
    q.D3Q = Q;
    return q;
}

class QqwTable : public ::testing::TestWithParam<QqwCase> {};

TEST_P(QqwTable, Outputs) {
    const QqwCase& c = GetParam();
    clsQqw q = c.in;
    q.Calc();
    EXPECT_EQ(q.Error(), 0);
    EXPECT_DOUBLE_EQ(q.Xq(), c.Xq);
    EXPECT_DOUBLE_EQ(q.Xw(), c.Xw);
    EXPECT_DOUBLE_EQ(q.XHq(), c.XHq);
    EXPECT_DOUBLE_EQ(q.XHw(), c.XHw);
    EXPECT_DOUBLE_EQ(q.Iq(), c.Iq);
    EXPECT_DOUBLE_EQ(q.Iw(), c.Iw);
    EXPECT_DOUBLE_EQ(q.QQ(), c.QQ);
    EXPECT_DOUBLE_EQ(q.Qw(), c.Qw);
    EXPECT_DOUBLE_EQ(q.Q(), c.Q);
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, QqwTable,
    ::testing::Values(
        QqwCase{"HorizontalAway", Horizontal(3, 1.5, 10), 1.5, 0, 0.5, 0, 0.563, 0, 5.6, 0, 5.6},
        QqwCase{"HorizontalAtWall", Horizontal(3, 0, 12.35), 0, 0, 0, 0, 1, 0, 12.4, 0, 12.4},
        // 1 / 3 = 0.333.. rounds to 0.33 before the factor is taken.
        QqwCase{"HorizontalRoundedDistance", Horizontal(3, 1, 10), 1, 0, 0.33, 0, 0.674, 0, 6.7, 0,
                6.7},
        // No wall height: the relative distance keeps its fresh value 0, so the factor is 1.
        QqwCase{"HorizontalNoHeight", Horizontal(0, 2, 10), 2, 0, 0, 0, 1, 0, 10, 0, 10},
        QqwCase{"SlopeFullSurcharge", Slope(3, 2, 12.345), 0, 0, 0, 0, 1, 0, 12.345, 0, 12.345},
        // Xw = 0.5 + 0.5 = 1 → 0.33 → 0.674; crest from 1.5 (< H + Ho = 4) → 0.5 → 0.563.
        QqwCase{"TrapezoidCrestNear", Trapezoid(3, 0.5, 1, 1, 18, 10), 1.5, 1, 0.5, 0.33, 0.563,
                0.674, 5.6, 12.1, 17.7},
        // Crest from 5 m, beyond H + Ho = 4 m: only the embankment weight (Xw 4 → 1.33 → 0.290).
        QqwCase{"TrapezoidCrestFar", Trapezoid(3, 3, 2, 1, 18, 10), 5, 4, 0, 1.33, 0, 0.290, 0, 5.2,
                5.2},
        // Crest exactly at H + Ho: ignored.
        QqwCase{"TrapezoidCrestAtLimit", Trapezoid(3, 2, 2, 1, 18, 10), 4, 3, 0, 1, 0, 0.363, 0,
                6.5, 6.5},
        // Any shape number other than 0 and 1 is the trapezoid.
        QqwCase{"OtherShapeIsTrapezoid", Trapezoid(3, 3, 2, 1, 18, 10, 7), 5, 4, 0, 1.33, 0, 0.290,
                0, 5.2, 5.2},
        QqwCase{"TrapezoidNoHeight", Trapezoid(0, 0.5, 1, 2, 18, 10), 1.5, 1, 0, 0, 1, 1, 10, 36,
                46}),
    [](const ::testing::TestParamInfo<QqwCase>& i) { return std::string(i.param.name); });

TEST(QqwFault, OverflowEndsCalcKeepingEarlierOutputs) {
    clsQqw q = Trapezoid(3, 0.5, 1, 1e200, 1e200, 10);
    q.Calc();
    EXPECT_EQ(q.Error(), 6);
    EXPECT_DOUBLE_EQ(q.Xw(), 1.0);
    EXPECT_DOUBLE_EQ(q.Iw(), 0.674);
    EXPECT_EQ(q.Qw(), 0.0);
    EXPECT_EQ(q.Xq(), 0.0);  // not reached
    EXPECT_EQ(q.Q(), 0.0);
    // A later run starts clean.
    q.D3Ho = 1;
    q.D3Gs = 18;
    q.Calc();
    EXPECT_EQ(q.Error(), 0);
    EXPECT_DOUBLE_EQ(q.Q(), 17.7);
}

TEST(QqwOutputs, RerunKeepsDistancesButResetsPressures) {
    clsQqw q = Horizontal(3, 1.5, 10);
    q.Calc();
    q.H = 0;  // the relative distance is not recomputed and keeps 0.5
    q.D1Q = 20;
    q.Calc();
    EXPECT_DOUBLE_EQ(q.XHq(), 0.5);
    EXPECT_DOUBLE_EQ(q.QQ(), 11.3);
    EXPECT_DOUBLE_EQ(q.Q(), 11.3);
}

}  // namespace
}  // namespace kuvelt
