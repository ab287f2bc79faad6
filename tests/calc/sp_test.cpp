#include "calc/sp.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "calc/fault.h"
#include "calc/result_store.h"
#include "calc/rounding.h"
#include "model/design.h"

namespace kuvelt {
namespace {

constexpr double kPi = 3.141592654;
double Rad(double d) { return d * kPi / 180.0; }
double Deg(double r) { return r * 180.0 / kPi; }

TEST(EarthPressureCoefficients, RankineWithoutFrictionOrSlope) {
    for (double phi : {20.0, 30.0, 35.0, 40.0}) {
        SCOPED_TRACE(phi);
        const double s = std::sin(Rad(phi));
        EXPECT_NEAR(GetKa(Rad(phi), 0, 0, 0, 0), (1 - s) / (1 + s), 1e-12);
        EXPECT_NEAR(GetKp(Rad(phi), 0, 0, 0, 0), (1 + s) / (1 - s), 1e-9);
        // atan answers in true radians, the conversion uses the literal: a few 1e-9 degrees.
        EXPECT_NEAR(Deg(GetZetaA(Rad(phi), 0, 0, 0, 0)), 45 + phi / 2, 1e-8);
        EXPECT_NEAR(Deg(GetZetaP(Rad(phi), 0, 0, 0, 0)), 45 - phi / 2, 1e-8);
    }
    EXPECT_NEAR(GetKa(Rad(30), 0, 0, 0, 0), 1.0 / 3.0, 1e-9);
    EXPECT_NEAR(GetKp(Rad(30), 0, 0, 0, 0), 3.0, 1e-8);
}

TEST(EarthPressureCoefficients, CoulombWithWallFriction) {
    EXPECT_NEAR(GetKa(Rad(30), 0, 0, Rad(15), 0), 0.30142, 5e-5);
    EXPECT_NEAR(Deg(GetZetaA(Rad(30), 0, 0, Rad(15), 0)), 56.86, 0.01);
    EXPECT_NEAR(GetKp(Rad(30), 0, 0, Rad(-15), 0), 4.9765, 5e-4);
    EXPECT_NEAR(Deg(GetZetaP(Rad(30), 0, 0, Rad(-15), 0)), 20.65, 0.01);
}

TEST(EarthPressureCoefficients, ImpossibleGeometry) {
    // Slope steeper than φ: the root term is left out, the coefficient still comes out.
    const double ka = GetKa(Rad(30), Rad(35), 0, Rad(15), 0);
    EXPECT_GT(ka, 0.0);
    EXPECT_NEAR(ka, std::pow(std::cos(Rad(30)), 2) / std::cos(Rad(15)), 1e-12);
    // ... but the slip angle needs the root of a negative: it falls back to β.
    EXPECT_DOUBLE_EQ(GetZetaA(Rad(30), Rad(35), 0, Rad(15), 0), Rad(35));
    // Passive with φ + β − θ < 0: negative under the root, -1 for both.
    EXPECT_EQ(GetKp(Rad(30), Rad(-40), 0, Rad(-15), 0), -1.0);
    EXPECT_EQ(GetZetaP(Rad(30), Rad(-40), 0, Rad(-15), 0), -1.0);
    // φ = β: sin(φ − β) = 0 divides the slip-angle root by zero.
    EXPECT_DOUBLE_EQ(GetZetaA(Rad(30), Rad(30), 0, Rad(15), 0), Rad(30));
}

clsSpJiban* AddLayer(colSpJiban& c, double EU, double H, int kind, double Gs, double cu = 0,
                     double cl = 0) {
    return c.Add(2, EU, H, kind, Gs, 30, cu, cl, 0, 0);
}

TEST(ActiveStage, SandyLayerUnderSurcharge) {
    clsSpa s;
    s.Q = 10;
    AddLayer(s.Jiban(), 4, 2, 0, 18);
    AddLayer(s.Jiban(), 2, 3, 0, 10);
    s.Calc();
    ASSERT_EQ(s.Error(), 0);
    EXPECT_DOUBLE_EQ(s.Q2(), 10);
    const clsSpJiban& a = *s.Jiban().Item(1);
    EXPECT_DOUBLE_EQ(a.GH, 36);
    EXPECT_DOUBLE_EQ(a.KaU, 0.2911);
    EXPECT_DOUBLE_EQ(a.KaL, 0.2911);
    EXPECT_DOUBLE_EQ(a.ZetaU, 56.9);
    EXPECT_DOUBLE_EQ(a.ZetaL, 56.9);
    EXPECT_DOUBLE_EQ(a.PaU, 2.91);
    EXPECT_DOUBLE_EQ(a.PaL, 13.39);
    EXPECT_DOUBLE_EQ(a.PU, 2.91);
    EXPECT_DOUBLE_EQ(a.PL, 13.39);
    EXPECT_DOUBLE_EQ(a.GHU, 10);
    EXPECT_DOUBLE_EQ(a.GHL, 46);
    EXPECT_EQ(a.TU, 0.0);
    // The overburden carries on into the next layer.
    const clsSpJiban& b = *s.Jiban().Item(2);
    EXPECT_DOUBLE_EQ(b.GHU, 46);
    EXPECT_DOUBLE_EQ(b.GHL, 76);
    EXPECT_DOUBLE_EQ(b.PaU, 13.39);  // 46 × 0.2911 = 13.3906
    EXPECT_DOUBLE_EQ(b.PaL, 22.12);  // 76 × 0.2911 = 22.1236
}

TEST(ActiveStage, SlopedGroundConvertsTheSurcharge) {
    clsSpa s;
    s.Q = 10;
    s.Beta = Deg(std::atan(1.0 / 2.0));  // 1 : 2
    AddLayer(s.Jiban(), 4, 2, 0, 18);
    s.Calc();
    EXPECT_DOUBLE_EQ(s.Q2(), RoundHalfUp(10 / std::cos(Rad(s.Beta)), 2));
    EXPECT_DOUBLE_EQ(s.Q2(), 11.18);
}

struct ClayCase {
    const char* name;
    double sigma, GH, c;  // surcharge, layer weight, cohesion (top and bottom)
    double P1U, P2U, PaU, P1L, P2L, PaL;
};

class ActiveClay : public ::testing::TestWithParam<ClayCase> {};

TEST_P(ActiveClay, HalfOverburdenIsTheLowerBound) {
    const ClayCase& c = GetParam();
    clsSpa s;
    s.Q = c.sigma;
    AddLayer(s.Jiban(), 0, 1, 1, c.GH, c.c, c.c);
    s.Calc();
    const clsSpJiban& j = *s.Jiban().Item(1);
    EXPECT_DOUBLE_EQ(j.P1U, c.P1U);
    EXPECT_DOUBLE_EQ(j.P2U, c.P2U);
    EXPECT_DOUBLE_EQ(j.PaU, c.PaU);
    EXPECT_DOUBLE_EQ(j.P1L, c.P1L);
    EXPECT_DOUBLE_EQ(j.P2L, c.P2L);
    EXPECT_DOUBLE_EQ(j.PaL, c.PaL);
    EXPECT_EQ(j.ZetaU, 45.0);
    EXPECT_EQ(j.ZetaL, 45.0);
    EXPECT_EQ(j.KaU, 0.0);  // not a coefficient case
}

INSTANTIATE_TEST_SUITE_P(
    Clay, ActiveClay,
    ::testing::Values(ClayCase{"NearSurface", 0, 18, 10, -20, 0, 0, -2, 9, 9},
                      ClayCase{"Deep", 100, 18, 10, 80, 50, 80, 98, 59, 98},
                      // Equal values: the half overburden is taken (P1 must exceed it).
                      ClayCase{"Equal", 40, 0, 10, 20, 20, 20, 20, 20, 20}),
    [](const ::testing::TestParamInfo<ClayCase>& i) { return std::string(i.param.name); });

TEST(PassiveStage, SandyAndClayey) {
    clsSpp s;
    EXPECT_EQ(s.Delta, -15.0);
    AddLayer(s.Jiban(), 0, 2, 0, 10);
    s.Calc();
    const clsSpJiban& j = *s.Jiban().Item(1);
    EXPECT_DOUBLE_EQ(j.KaU, 4.8069);
    EXPECT_DOUBLE_EQ(j.ZetaU, 20.7);
    EXPECT_EQ(j.PaU, 0.0);
    EXPECT_DOUBLE_EQ(j.PaL, 96.14);  // 20 × 4.8069 = 96.138

    clsSpp c;
    AddLayer(c.Jiban(), 0, 2, 1, 8, 25, 27.5);
    c.Calc();
    EXPECT_DOUBLE_EQ(c.Jiban().Item(1)->PaU, 50);
    EXPECT_DOUBLE_EQ(c.Jiban().Item(1)->PaL, 71);
    EXPECT_EQ(c.Jiban().Item(1)->ZetaU, 45.0);
}

TEST(PassiveStage, ImpossibleGeometryGivesNegativePressures) {
    clsSpp s;
    s.Beta = -40;
    AddLayer(s.Jiban(), 0, 2, 0, 10);
    s.Calc();
    EXPECT_EQ(s.Error(), 0);
    const clsSpJiban& j = *s.Jiban().Item(1);
    EXPECT_DOUBLE_EQ(j.KaU, RoundHalfUp(-std::cos(Rad(-15)), 4));
    EXPECT_DOUBLE_EQ(j.ZetaU, -57.3);  // -1 rad
    EXPECT_LT(j.PaL, 0.0);
}

TEST(EarthPressureFault, StopsAtTheLayerInError) {
    clsSpa s;
    AddLayer(s.Jiban(), 4, 2, 0, 18);
    AddLayer(s.Jiban(), 2, 1e300, 0, 1e300);  // Gs × H overflows
    AddLayer(s.Jiban(), 0, 2, 0, 18);
    s.Calc();
    EXPECT_EQ(s.Error(), 6);
    EXPECT_DOUBLE_EQ(s.Jiban().Item(1)->PaL, 10.48);  // 36 × 0.2911
    EXPECT_EQ(s.Jiban().Item(2)->GH, 0.0);
    EXPECT_EQ(s.Jiban().Item(2)->KaU, 0.0);
    EXPECT_EQ(s.Jiban().Item(3)->GHU, 0.0);
}

// The driver steps read the design and build both sides from it.
class EarthPressureDriver : public ::testing::Test {
  protected:
    void SetUp() override {
        InitData();
        ResetResultStore();
        gInpJyoken.ELGL = 4;
        gInpJyoken.ELDL = 0;
        gInpJyoken.ELWL = 2;
        gInpJyoken.Z = 10;
        gInpJiban.Gt = 18;
        gInpJiban.Gws = 10;  // saturated 20, submerged 10
    }
};

TEST_F(EarthPressureDriver, ActiveLayersSplitAtWaterAndDesignLevel) {
    gQqw.New();  // no surcharge
    CalcActive();
    ASSERT_EQ(gKhActive->Jiban().Count(), 3);
    const colSpJiban& j = gSpa->Jiban();
    ASSERT_EQ(j.Count(), 3);
    const double tops[] = {4, 2, 0}, hs[] = {2, 2, 10}, gs[] = {18, 10, 10};
    for (int32_t i = 1; i <= 3; ++i) {
        EXPECT_DOUBLE_EQ(j.Item(i)->EU, tops[i - 1]);
        EXPECT_DOUBLE_EQ(j.Item(i)->H, hs[i - 1]);
        EXPECT_DOUBLE_EQ(j.Item(i)->Gs, gs[i - 1]);
        EXPECT_EQ(j.Item(i)->No, 2);
    }
    EXPECT_DOUBLE_EQ(gSpa->Delta, 15);
    EXPECT_DOUBLE_EQ(gSpa->Beta, 0);
    EXPECT_DOUBLE_EQ(j.Item(3)->PaL, 45.41);  // (36 + 20 + 100) × 0.2911 = 45.4116
}

TEST_F(EarthPressureDriver, ConstantSlopeAngleFromTheDesign) {
    gInpJyoken.Keijyo = 1;
    gInpJyoken.K1m = 2;
    clsQqw& q = gQqw.New();
    q.Keijyo = 1;
    CalcActive();
    EXPECT_DOUBLE_EQ(gSpa->Beta, std::atan(0.5) * 180 / kPi);
    EXPECT_NEAR(gSpa->Beta, 26.565, 1e-3);
}

TEST_F(EarthPressureDriver, FlatSlopeDividesByZero) {
    gInpJyoken.Keijyo = 1;
    gInpJyoken.K1m = 0;
    gQqw.New().Keijyo = 1;
    try {
        CalcActive();
        FAIL() << "no fault";
    } catch (const CalcFault& f) {
        EXPECT_EQ(f.code, 11);
    }
}

TEST_F(EarthPressureDriver, CohesionDepthFromTheGroundBehindTheWall) {
    gInpJiban.Kind = 1;
    gInpJiban.Ca = 2;
    gInpJiban.Cb = 10;
    gQqw.New();
    CalcActive();
    EXPECT_DOUBLE_EQ(gSpa->Jiban().Item(1)->CU, 10);
    EXPECT_DOUBLE_EQ(gSpa->Jiban().Item(1)->CL, 14);
    CalcPassive();
    const clsSpJiban& p = *gSpp->Jiban().Item(1);
    EXPECT_DOUBLE_EQ(p.CU, 18);  // 4 m below ELGL
    EXPECT_DOUBLE_EQ(p.PaU, 36);
    EXPECT_DOUBLE_EQ(gSpp->Q2(), 0);
}

struct PassiveWaterCase {
    const char* name;
    double ELWL;
    int32_t layers;
    double firstGs;
};

class PassiveWater : public EarthPressureDriver,
                     public ::testing::WithParamInterface<PassiveWaterCase> {};

TEST_P(PassiveWater, Layers) {
    gInpJyoken.ELWL = GetParam().ELWL;
    CalcPassive();
    ASSERT_EQ(gSpp->Jiban().Count(), GetParam().layers);
    EXPECT_DOUBLE_EQ(gSpp->Jiban().Item(1)->Gs, GetParam().firstGs);
    EXPECT_DOUBLE_EQ(gSpp->Jiban().Item(gSpp->Jiban().Count())->EL, -10);
    EXPECT_DOUBLE_EQ(gSpp->Delta, -15);
}

INSTANTIATE_TEST_SUITE_P(Levels, PassiveWater,
                         ::testing::Values(PassiveWaterCase{"AboveDesignLevel", 2, 1, 10},
                                           PassiveWaterCase{"AtDesignLevel", 0, 1, 10},
                                           PassiveWaterCase{"Between", -3, 2, 18},
                                           PassiveWaterCase{"BelowExamined", -12, 1, 18}),
                         [](const ::testing::TestParamInfo<PassiveWaterCase>& i) {
                             return std::string(i.param.name);
                         });

}  // namespace
}  // namespace kuvelt
