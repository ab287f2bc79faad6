#include "calc/calc_main.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calc/result_store.h"
#include "calc/rounding.h"
#include "model/design.h"

namespace kuvelt {
namespace {

class Driver : public ::testing::Test {
  protected:
    void SetUp() override {
        InitData();
        ResetResultStore();
    }
};

// The default design worked by hand: ground 4.0, design level 0.0, water at the surface,
// sandy soil (γt 18, γ' 10, φ 30°), 10 m examined.
TEST_F(Driver, DefaultDesignEndToEnd) {
    std::vector<Message> messages;
    EXPECT_TRUE(CalcMain(&messages));
    EXPECT_TRUE(messages.empty());

    EXPECT_EQ(gQqw->Q(), 0.0);
    EXPECT_DOUBLE_EQ(gQqw->H, 4);
    ASSERT_EQ(gSpa->Jiban().Count(), 2);
    EXPECT_DOUBLE_EQ(gSpa->Jiban().Item(1)->PaL, 11.64);  // 40 × 0.2911
    EXPECT_DOUBLE_EQ(gSpa->Jiban().Item(2)->PaL, 40.75);  // 140 × 0.2911
    ASSERT_EQ(gSpp->Jiban().Count(), 1);
    EXPECT_DOUBLE_EQ(gSpp->Jiban().Item(1)->PaL, 480.69);  // 100 × 4.8069
    EXPECT_DOUBLE_EQ(gRWp->DH(), 4);
    EXPECT_DOUBLE_EQ(gRWp->Pw(), 39.2);
    EXPECT_DOUBLE_EQ(gRWp->ELDL, -10);

    const clsDL& dl = *gDL;
    EXPECT_EQ(dl.Error(), 0);
    ASSERT_EQ(dl.Pg().Count(), 2);
    EXPECT_DOUBLE_EQ(dl.Pg().Item(1)->PL, 50.84);
    EXPECT_DOUBLE_EQ(dl.Pg().Item(2)->PL, 40.75 + 39.2 - 480.69);
    EXPECT_DOUBLE_EQ(dl.ELDLXU(), 0);
    EXPECT_DOUBLE_EQ(dl.ELDLXL(), -10);
    EXPECT_DOUBLE_EQ(dl.ELDLX(), -1.13);  // 10 × 50.84 / 451.58 = 1.1258

    const clsPressure& p = *gPressure;
    EXPECT_EQ(p.Error(), 0);
    EXPECT_DOUBLE_EQ(p.WU, 4);
    EXPECT_DOUBLE_EQ(p.WL, -1.13);
    ASSERT_EQ(p.Qdi().Count(), 2);
    EXPECT_DOUBLE_EQ(p.Qdi().Item(2)->EU, 0);
    EXPECT_DOUBLE_EQ(p.Qdi().Item(2)->H, 1.13);
    EXPECT_DOUBLE_EQ(p.Qdi().Item(2)->PU, 50.84);
    EXPECT_EQ(p.Qdi().Item(2)->PL, 0.0);
    ASSERT_EQ(p.Detail().Count(), 2);
    EXPECT_DOUBLE_EQ(p.Detail().Item(1)->Pi, 101.68);
    EXPECT_DOUBLE_EQ(p.Detail().Item(1)->Yi, 2.463);
    EXPECT_DOUBLE_EQ(p.Detail().Item(1)->Mi, 250.44);
    EXPECT_DOUBLE_EQ(p.Detail().Item(2)->Pi, 28.72);
    EXPECT_DOUBLE_EQ(p.Detail().Item(2)->Yi, 0.753);
    EXPECT_DOUBLE_EQ(p.Detail().Item(2)->Mi, 21.63);
    EXPECT_DOUBLE_EQ(p.P(), 101.68 + 28.72);
    EXPECT_DOUBLE_EQ(p.M(), 250.44 + 21.63);
    EXPECT_DOUBLE_EQ(p.Y(), 2.086);
    EXPECT_DOUBLE_EQ(p.ELY(), 0.956);
}

struct WaterCase {
    const char* name;
    double ELWL;
    bool load;
    double DH;
};

class DriverWater : public Driver, public ::testing::WithParamInterface<WaterCase> {};

TEST_P(DriverWater, LoadOnlyForAPositiveHead) {
    gInpJyoken.ELWL = GetParam().ELWL;
    CalcMain();
    EXPECT_DOUBLE_EQ(gRWp->DH(), GetParam().DH);
    double most = 0;
    for (const clsDLLoad& w : gDL->Pw()) most = std::max({most, w.PU, w.PL});
    if (GetParam().load) {
        EXPECT_DOUBLE_EQ(most, gRWp->Pw());
        const clsDLLoad& last = *gDL->Pw().Item(gDL->Pw().Count());
        EXPECT_DOUBLE_EQ(last.EL, -10);  // down to ELDL − Z
        EXPECT_DOUBLE_EQ(last.PU, gRWp->Pw());
    } else {
        EXPECT_EQ(most, 0.0);  // only the zero padding over the common range
    }
}

INSTANTIATE_TEST_SUITE_P(Levels, DriverWater,
                         ::testing::Values(WaterCase{"AtDesignLevel", 0, false, 0},
                                           WaterCase{"BelowDesignLevel", -2, false, -2},
                                           WaterCase{"LessThanHalfACentimetre", 0.004, false, 0},
                                           WaterCase{"OneCentimetre", 0.01, true, 0.01},
                                           WaterCase{"Higher", 2.5, true, 2.5},
                                           WaterCase{"AboveTheGround", 5, true, 5}),
                         [](const ::testing::TestParamInfo<WaterCase>& i) {
                             return std::string(i.param.name);
                         });

// Exactly two water segments handed to the virtual ground stage when there is a head: seen in
// the lists before the stage pads and splits them, by a water level at the ground surface (no
// padding needed above, and the active split sits at the same levels).
TEST_F(Driver, WaterLoadIsATriangleThenConstant) {
    gInpJyoken.ELWL = 2;
    ASSERT_TRUE(CalcMain());
    const colDLLoad& w = gDL->Pw();
    ASSERT_EQ(w.Count(), 3);  // zero padding 4 → 2, then the two segments
    EXPECT_DOUBLE_EQ(w.Item(2)->EU, 2);
    EXPECT_DOUBLE_EQ(w.Item(2)->H, 2);
    EXPECT_EQ(w.Item(2)->PU, 0.0);
    EXPECT_DOUBLE_EQ(w.Item(2)->PL, 19.6);
    EXPECT_DOUBLE_EQ(w.Item(3)->EU, 0);
    EXPECT_DOUBLE_EQ(w.Item(3)->H, 10);
    EXPECT_DOUBLE_EQ(w.Item(3)->PU, 19.6);
    EXPECT_DOUBLE_EQ(w.Item(3)->PL, 19.6);
}

TEST_F(Driver, NoVirtualGroundWithinTheExaminedDepth) {
    // A first run leaves its resultant behind.
    ASSERT_TRUE(CalcMain());
    const clsPressure* before = &*gPressure;
    const double P = gPressure->P();
    // 0.5 m examined: the net pressure stays positive down to the bottom.
    gInpJyoken.Z = 0.5;
    std::vector<Message> messages;
    EXPECT_FALSE(CalcMain(&messages));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "「設計条件の入力」で検討する深さの入力値を大きくして下さい。");
    EXPECT_EQ(messages[0].title, "仮想海底面の算定ｴﾗｰ");
    EXPECT_EQ(messages[0].icon, MsgIcon::Information);
    EXPECT_EQ(messages[0].buttons, MsgButtons::Ok);
    EXPECT_EQ(messages[0], VirtualGroundErrorMessage());
    EXPECT_EQ(gDL->Error(), 999);
    EXPECT_DOUBLE_EQ(gDL->ELDLX(), -0.5);
    // The previous resultant survives.
    EXPECT_EQ(&*gPressure, before);
    EXPECT_DOUBLE_EQ(gPressure->P(), P);
}

TEST_F(Driver, FlatSlopeFailsTheRunWithoutAMessage) {
    gInpJyoken.Keijyo = 1;
    gInpJyoken.K1m = 0;
    std::vector<Message> messages;
    EXPECT_FALSE(CalcMain(&messages));
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(gQqw.Reached());
    EXPECT_TRUE(gSpa.Reached());  // replaced before its slope angle faulted
    EXPECT_FALSE(gSpp.Reached());
    EXPECT_FALSE(gDL.Reached());
}

TEST_F(Driver, StageFaultFailsTheRun) {
    // An embankment weight that overflows: the surcharge stage records the fault; the run must
    // not design a wall from the partial surcharge.
    gInpJyoken.Keijyo = 2;
    gInpJyoken.K2Gs = 1e200;
    gInpJyoken.K2Ho = 1e200;
    EXPECT_FALSE(CalcMain());
    EXPECT_EQ(gQqw->Error(), 6);
    EXPECT_FALSE(gSpa.Reached());
}

// Clayey ground whose net pressure crosses zero within 0.5 m of the design level: the cantilever
// reaches 0.5 m below it, the last load a triangle from the design level to zero.
class DriverClay : public Driver {
  protected:
    void SetUp() override {
        Driver::SetUp();
        gInpJiban.Kind = 1;
        gInpJiban.Ca = 0;
        gInpJyoken.ELWL = -10;  // no water
    }
};

// Cohesion Ca = 2 per m, Cb at the surface: the net pressure at the design level is
// 72 − 4 c(4 m) and falls by 8 kN/m2 per metre, so Cb moves the crossing across 0.5 m. Above the
// design level σv/2 − 2C = −2 Cb + 5 z (σv = 18 z, C = 2 z + Cb) turns positive at z = 2 Cb / 5,
// 3.56 to 3.64 m: the layer is split there (EL 0.44, 0.40, 0.36), σv − 2C governing below.
struct ClayCase {
    const char* name;
    double Cb;
    double ELDLX;
    bool halfMetreRule;
};

class DriverClayDepth : public DriverClay, public ::testing::WithParamInterface<ClayCase> {};

TEST_P(DriverClayDepth, CantileverBottom) {
    const ClayCase& c = GetParam();
    gInpJiban.Ca = 2;
    gInpJiban.Cb = c.Cb;
    ASSERT_TRUE(CalcMain());
    EXPECT_DOUBLE_EQ(gDL->ELDLX(), c.ELDLX);
    const colPressureLoad& q = gPressure->Qdi();
    ASSERT_EQ(q.Count(), 3);
    EXPECT_DOUBLE_EQ(q.Item(1)->EL, RoundHalfUp(4 - 2 * c.Cb / 5, 2));
    const clsPressureLoad& last = *q.Item(3);
    EXPECT_DOUBLE_EQ(last.EU, 0);
    EXPECT_EQ(last.PL, 0.0);
    if (c.halfMetreRule) {
        // From the net pressure at the design level (end of the segment above) to zero 0.5 m
        // below it.
        EXPECT_DOUBLE_EQ(gPressure->WL, -0.5);
        EXPECT_DOUBLE_EQ(last.H, 0.5);
        EXPECT_DOUBLE_EQ(last.PU, q.Item(2)->PL);
    } else {
        // The rest of the layer holding the virtual ground surface, falling to zero there.
        EXPECT_DOUBLE_EQ(gPressure->WL, c.ELDLX);
        EXPECT_DOUBLE_EQ(last.H, -c.ELDLX);
        EXPECT_DOUBLE_EQ(last.PU, gDL->Pg().Item(3)->PU);
    }
    EXPECT_DOUBLE_EQ(gPressure->Qdo().Item(gPressure->Qdo().Count())->EL, gPressure->WL);
}

INSTANTIATE_TEST_SUITE_P(Depths, DriverClayDepth,
                         ::testing::Values(ClayCase{"Shallow", 9.1, -0.45, true},
                                           ClayCase{"ExactlyHalfAMetre", 9, -0.5, true},
                                           ClayCase{"JustDeeper", 8.9, -0.55, false}),
                         [](const ::testing::TestParamInfo<ClayCase>& i) {
                             return std::string(i.param.name);
                         });

// No virtual ground within the depth examined: whether a deeper search can find one. Dry clay
// (γ = 18) under 4 m of ground, cohesion b at the surface: the net pressure at the design level
// is (72 − 2c) − 2c = 72 − 4c (c = b + 4a) and changes by −4a per metre below it.
struct NoGroundCase {
    const char* name;
    double Ca, Cb, Z;
    bool calculates;
    bool neverCrosses;
};

class DriverClayNoGround : public DriverClay, public ::testing::WithParamInterface<NoGroundCase> {};

TEST_P(DriverClayNoGround, TheMessageSaysWhetherADeeperSearchCanHelp) {
    const NoGroundCase& c = GetParam();
    gInpJiban.Ca = c.Ca;
    gInpJiban.Cb = c.Cb;
    gInpJyoken.Z = c.Z;
    std::vector<Message> messages;
    ASSERT_EQ(CalcMain(&messages), c.calculates);
    if (c.calculates) return;
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], VirtualGroundErrorMessage(c.neverCrosses));
    const std::string first = "「設計条件の入力」で検討する深さの入力値を大きくして下さい。";
    EXPECT_EQ(messages[0].text.substr(0, first.size()), first);  // the message as it always was
    EXPECT_EQ(messages[0].text.find("\n（原因）") != std::string::npos, c.neverCrosses);
}

INSTANTIATE_TEST_SUITE_P(
    Cohesion, DriverClayNoGround,
    ::testing::Values(
        // a = 0, b = 5: 52 kN/m2 at every depth, passive and active growing alike.
        NoGroundCase{"UniformClayTooWeak", 0, 5, 10, false, true},
        NoGroundCase{"UniformClayTooWeakAtAnyDepth", 0, 5, 99, false, true},
        // a = 0.2: 72 − 4 × 5.8 = 48.8, falling 0.8 per metre: zero 61 m down.
        NoGroundCase{"GrowingCohesionBeyondTheDepth", 0.2, 5, 10, false, false},
        NoGroundCase{"GrowingCohesionWithinTheDepth", 0.2, 5, 70, true, false}),
    [](const ::testing::TestParamInfo<NoGroundCase>& i) { return std::string(i.param.name); });

TEST_F(DriverClay, SandyGroundNeverUsesTheHalfMetreRule) {
    // Half a metre of dry sand retained: the passive side takes over within centimetres.
    gInpJiban.Kind = 0;
    gInpJyoken.ELGL = 0.5;
    gInpJyoken.ELYU = 0.5;
    ASSERT_TRUE(CalcMain());
    ASSERT_GT(gDL->ELDLX(), -0.5);
    EXPECT_DOUBLE_EQ(gDL->ELDLX(), -0.03);  // 10 × 2.62 / (2.62 + 810.22) = 0.032
    EXPECT_DOUBLE_EQ(gPressure->WL, gDL->ELDLX());
}

TEST_F(DriverClay, HalfMetreRuleWithoutASegmentAboveFails) {
    // Ground surface at the design level: no net pressure segment starts above it, so the
    // triangle has no pressure to start from. The run fails; it never crashes.
    gInpJyoken.ELGL = 0;
    gInpJyoken.ELYU = 0;
    gInpJiban.Cb = 0;
    gInpJiban.Ca = 10;
    std::vector<Message> messages;
    const bool ok = CalcMain(&messages);
    ASSERT_EQ(gDL->Error(), 0);
    ASSERT_DOUBLE_EQ(gDL->ELDLX(), 0);  // h = 0: the 0.5 m rule
    EXPECT_FALSE(ok);
    EXPECT_TRUE(messages.empty());
    EXPECT_FALSE(gPressure->Qdi().Count() > 0);
}

TEST(CalcMessages, ErrorMessageTexts) {
    const Message m = CalcErrorMessage("使用矢板の決定");
    EXPECT_EQ(m.text, "計算ｴﾗｰです。入力ﾃﾞｰﾀ等をご確認下さい。");
    EXPECT_EQ(m.title, "使用矢板の決定");
    EXPECT_EQ(m.icon, MsgIcon::Information);
    EXPECT_EQ(m.buttons, MsgButtons::Ok);
    EXPECT_EQ(CalcErrorMessage("計算結果の印刷").title, "計算結果の印刷");
}

TEST_F(Driver, ResetEmptiesTheStoreForTheNextDesign) {
    ASSERT_TRUE(CalcMain());
    ResetResultStore();
    EXPECT_FALSE(gQqw.Reached());
    EXPECT_FALSE(gKhActive.Reached());
    EXPECT_FALSE(gSpa.Reached());
    EXPECT_FALSE(gKhPassive.Reached());
    EXPECT_FALSE(gSpp.Reached());
    EXPECT_FALSE(gRWp.Reached());
    EXPECT_FALSE(gDL.Reached());
    EXPECT_FALSE(gPressure.Reached());
}

TEST(ResultStore, FreshReferenceGivesDefaults) {
    ResetResultStore();
    EXPECT_FALSE(gDL.Reached());
    EXPECT_EQ(gDL->ELDLX(), 0.0);  // first use makes a fresh instance
    EXPECT_TRUE(gDL.Reached());
    gDL->ELDL = 3;
    clsDL& fresh = gDL.New();
    EXPECT_EQ(fresh.ELDL, 0.0);
    EXPECT_EQ(&fresh, &*gDL);
    gDL.Reset();
    EXPECT_FALSE(gDL.Reached());
    EXPECT_DOUBLE_EQ(gSpp->Delta, -15);
}

}  // namespace
}  // namespace kuvelt
