// Excavation-bottom stability: the boiling factor and its reference table, the heaving factor
// with the clamped water depths, the 999 cases, faults, and the entry that fills the checks
// from the design and reports a failed check.
#include "calc/nekiri.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "calc/calc_main.h"
#include "calc/result_store.h"
#include "model/design.h"
#include "platform/vberror.h"

namespace kuvelt {
namespace {

// ---- Boiling ---------------------------------------------------------------------------------

struct BoilingCase {
    std::string name;
    double Gws, Gw, Hw, D, Fa;
    double F;       // expected factor (to 0.0005)
    bool hantei;    // expected verdict
    double firstD;  // first depth of the reference table
};

void PrintTo(const BoilingCase& c, std::ostream* os) { *os << c.name; }

class Boiling : public ::testing::TestWithParam<BoilingCase> {};

TEST_P(Boiling, FactorVerdictAndTable) {
    const BoilingCase& c = GetParam();
    clsNekiriAnteiAs as;
    as.Gws = c.Gws;
    as.Gw = c.Gw;
    as.Hw = c.Hw;
    as.D = c.D;
    as.Fa = c.Fa;
    ASSERT_TRUE(as.Calc());
    EXPECT_EQ(as.Error(), 0);
    EXPECT_NEAR(as.F(), c.F, 0.0005);
    EXPECT_EQ(as.Hantei(), c.hantei);
    ASSERT_EQ(as.Ichiran().Count(), 20);
    for (int32_t i = 1; i <= 20; ++i) {
        const CDim1x2& p = *as.Ichiran().Item(i);
        const double d = c.firstD + 0.5 * (i - 1);
        EXPECT_DOUBLE_EQ(p.Value1, d) << "row " << i;
        const double fd = c.Hw > 0.001 ? 2 * c.Gws * d / (c.Hw * c.Gw) : 999.0;
        EXPECT_NEAR(p.Value2, fd, 1e-12) << "row " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Nekiri, Boiling,
    ::testing::Values(
        // F = 80 / 29.4; R(4, 0) - 5 < 0 so the table starts at 0.5 m.
        BoilingCase{"HandExample", 10, 9.8, 3.0, 4.0, 1.2, 2.721, true, 0.5},
        BoilingCase{"DeepEmbedmentTable", 10, 9.8, 3.0, 6.3, 1.2, 4.286, true, 1.5},
        BoilingCase{"RoundedDownEmbedmentTable", 10, 9.8, 3.0, 3.7, 1.2, 2.517, true, 0.5},
        // R(2.5, 0) = 3: halves round up, still below 5.
        BoilingCase{"HalfRoundsUp", 10, 9.8, 3.0, 2.5, 1.2, 1.701, true, 0.5},
        BoilingCase{"HalfRoundsUpAboveFive", 10, 9.8, 3.0, 5.5, 1.2, 3.741, true, 1.5},
        BoilingCase{"JustBelowHalf", 10, 9.8, 3.0, 5.4999, 1.2, 3.741, true, 0.5},
        // No head difference: nothing can boil, and Gw = 0 is then harmless.
        BoilingCase{"NoHead", 10, 9.8, 0.0, 4.0, 1.5, 999.0, true, 0.5},
        BoilingCase{"HeadWithinTolerance", 10, 0.0, 0.001, 4.0, 1.5, 999.0, true, 0.5},
        BoilingCase{"WaterBelowBottom", 10, 9.8, -2.0, 4.0, 1.5, 999.0, true, 0.5},
        // F = 2.72109 is printed 2.721: an Fa of 2.721 passes, 2.7215 (within the old 0.001)
        // fails, since "2.721 ≧ 2.7215" would not be true as printed.
        BoilingCase{"PrintedAtFa", 10, 9.8, 3.0, 4.0, 2.721, 2.721, true, 0.5},
        BoilingCase{"PrintedHalfThousandthShort", 10, 9.8, 3.0, 4.0, 2.7215, 2.721, false, 0.5},
        BoilingCase{"JustShort", 10, 9.8, 3.0, 4.0, 2.7225, 2.721, false, 0.5}),
    [](const auto& info) { return info.param.name; });

TEST(NekiriBoiling, NoWaterWeightFaults) {
    clsNekiriAnteiAs as;
    as.Gws = 10;
    as.Gw = 0;
    as.Hw = 3.0;
    as.D = 4.0;
    as.Fa = 1.2;
    EXPECT_FALSE(as.Calc());
    EXPECT_EQ(as.Error(), vberr::kDivisionByZero);
    // A fault never leaves the previous design's results behind.
    EXPECT_EQ(as.F(), 0.0);
    EXPECT_FALSE(as.Hantei());
    EXPECT_EQ(as.Ichiran().Count(), 0);
}

// ---- Heaving ---------------------------------------------------------------------------------

struct HeavingCase {
    std::string name;
    double Gt, Gws, Gw, Q, Ca, Cb, H, Hw, Fa;
    double F;
    bool hantei;
};

void PrintTo(const HeavingCase& c, std::ostream* os) { *os << c.name; }

class Heaving : public ::testing::TestWithParam<HeavingCase> {};

TEST_P(Heaving, FactorAndVerdict) {
    const HeavingCase& c = GetParam();
    clsNekiriAnteiAc ac;
    ac.Gt = c.Gt;
    ac.Gws = c.Gws;
    ac.Gw = c.Gw;
    ac.Q = c.Q;
    ac.Ca = c.Ca;
    ac.Cb = c.Cb;
    ac.H = c.H;
    ac.Hw = c.Hw;
    ac.D = 5.0;
    ac.Fa = c.Fa;
    ASSERT_TRUE(ac.Calc());
    EXPECT_EQ(ac.Error(), 0);
    EXPECT_NEAR(ac.F(), c.F, 0.0005);
    EXPECT_EQ(ac.Hantei(), c.hantei);
}

// W = 2 x 18 + 18 x 1 + 10 = 64 unless noted.
INSTANTIATE_TEST_SUITE_P(
    Nekiri, Heaving,
    ::testing::Values(
        HeavingCase{"UniformCohesion", 18, 8, 10, 10, 0, 20, 3.0, 1.0, 1.2, 1.963, true},
        HeavingCase{"CohesionGrowingWithDepth", 18, 8, 10, 10, 2, 10, 3.0, 1.0, 1.2, 2.351, true},
        // Hw > H: h1 clamps to 0, W = 18 x 4 + 10 = 82.
        HeavingCase{"WaterAboveGround", 18, 8, 10, 10, 0, 20, 3.0, 4.0, 1.2,
                    2 * 3.141592654 * 20 / 82, true},
        // Hw < 0: h2 clamps to 0, W = 4 x 18 + 10 = 82.
        HeavingCase{"WaterBelowBottom", 18, 8, 10, 10, 0, 20, 3.0, -1.0, 1.2,
                    2 * 3.141592654 * 20 / 82, true},
        HeavingCase{"NoOverburden", 18, 8, 10, 0, 0, 20, 0.0, 0.0, 1.2, 999.0, true},
        HeavingCase{"OverburdenWithinTolerance", 18, 8, 10, 0.001, 0, 20, 0.0, 0.0, 1.2, 999.0,
                    true},
        // F = 1.96350 is printed 1.963: Fa 1.963 passes, 1.9635 fails.
        HeavingCase{"PrintedAtFa", 18, 8, 10, 10, 0, 20, 3.0, 1.0, 1.963, 1.963, true},
        HeavingCase{"PrintedHalfThousandthShort", 18, 8, 10, 10, 0, 20, 3.0, 1.0, 1.9635, 1.963,
                    false},
        HeavingCase{"JustShort", 18, 8, 10, 10, 0, 20, 3.0, 1.0, 1.965, 1.963, false}),
    [](const auto& info) { return info.param.name; });

TEST(NekiriHeaving, CohesionOfOppositeSignsFaults) {
    // Ca^2 H^2 + 2 Ca Cb H = 36 - 120 < 0 under the root.
    clsNekiriAnteiAc ac;
    ac.Gt = 18;
    ac.Gws = 8;
    ac.Gw = 10;
    ac.Q = 10;
    ac.Ca = 2;
    ac.Cb = -10;
    ac.H = 3.0;
    ac.Hw = 1.0;
    ac.Fa = 1.2;
    EXPECT_FALSE(ac.Calc());
    EXPECT_EQ(ac.Error(), vberr::kInvalidCall);
    EXPECT_EQ(ac.F(), 0.0);
    EXPECT_FALSE(ac.Hantei());
}

// ---- The entry -------------------------------------------------------------------------------

class NekiriEntry : public ::testing::Test {
  protected:
    void SetUp() override {
        InitData();
        ResetResultStore();
        ResetNekiriAntei();
        gInpJyoken.ELGL = 3.5;
        gInpJyoken.ELYU = 4.0;  // the pile head 0.5 m above the ground surface
        gInpJyoken.ELDL = 0.0;
        gInpJyoken.ELWL = 3.0;
        gInpJyoken.Fsb = 1.5;
        gInpJyoken.Fsh = 1.2;
        gInpJyoken.Nekiri = 1;
        gInpYaita.L = 8.0;
        gInpYaita.InpFlg = true;
    }
    void TearDown() override {
        InitData();
        ResetResultStore();
        ResetNekiriAntei();
    }
};

TEST_F(NekiriEntry, SandyGroundRunsBoilingOnly) {
    gInpJiban.Kind = 0;
    gInpJiban.Gws = 10;
    gInpJiban.Gw = 9.8;
    std::vector<Message> msgs;
    EXPECT_TRUE(CalcNekiriAntei(&msgs));
    EXPECT_TRUE(msgs.empty());
    EXPECT_FALSE(gNekiriAnteiAc.Reached());
    ASSERT_TRUE(gNekiriAnteiAs.Reached());
    EXPECT_DOUBLE_EQ(gNekiriAnteiAs->Hw, 3.0);
    // The embedment below the design ground level counts from the pile top at ELYU = 4.0, not
    // from the ground surface: D = 8.0 - (4.0 - 0.0) = 4.0 (the ground surface would give 4.5).
    EXPECT_DOUBLE_EQ(gNekiriAnteiAs->D, 4.0);
    EXPECT_DOUBLE_EQ(gNekiriAnteiAs->Fa, 1.5);
    EXPECT_NEAR(gNekiriAnteiAs->F(), 2 * 10 * 4.0 / (3.0 * 9.8), 1e-12);
    EXPECT_TRUE(gNekiriAnteiAs->Hantei());
}

TEST_F(NekiriEntry, ClayeyGroundRunsHeavingWithSurcharge) {
    gInpJiban.Kind = 1;
    gInpJiban.Gt = 18;
    gInpJiban.Gws = 8;
    gInpJiban.Gw = 10;
    gInpJiban.Ca = 0;
    gInpJiban.Cb = 20;
    gInpJyoken.ELGL = 3.0;
    gInpJyoken.ELWL = 1.0;
    gInpJyoken.Keijyo = 0;
    gInpJyoken.K0X = 0.0;
    gInpJyoken.K0Q = 10.0;
    // No calculation ran, and a stale surcharge stage of another design is in the store: the
    // check computes the surcharge of this design itself. Horizontal surcharge q = 10 kN/m2
    // from the wall on: W = 2 x 18 + (8 + 10) x 1 + 10 = 64, F = 2 pi 20 / 64 = 1.963.
    gQqw.New();
    std::vector<Message> msgs;
    EXPECT_TRUE(CalcNekiriAntei(&msgs));
    EXPECT_TRUE(msgs.empty());
    EXPECT_FALSE(gNekiriAnteiAs.Reached());
    ASSERT_TRUE(gNekiriAnteiAc.Reached());
    EXPECT_DOUBLE_EQ(gNekiriAnteiAc->Q, 10.0);
    EXPECT_DOUBLE_EQ(gNekiriAnteiAc->H, 3.0);
    EXPECT_DOUBLE_EQ(gNekiriAnteiAc->D, 8.0 - (4.0 - 0.0));
    EXPECT_DOUBLE_EQ(gNekiriAnteiAc->Fa, 1.2);
    EXPECT_NEAR(gNekiriAnteiAc->F(), 2 * 3.141592654 * 20 / 64, 1e-12);
    // An edit of the surcharge alone reaches the next check.
    gInpJyoken.K0Q = 0.0;
    ASSERT_TRUE(CalcNekiriAntei());
    EXPECT_NEAR(gNekiriAnteiAc->F(), 2 * 3.141592654 * 20 / 54, 1e-12);
}

TEST_F(NekiriEntry, NotAskedForLeavesPreviousResults) {
    gInpJiban.Kind = 0;
    ASSERT_TRUE(CalcNekiriAntei());
    const double f = gNekiriAnteiAs->F();
    gInpJyoken.Nekiri = 0;
    gInpJyoken.ELWL = 0.0;  // would give 999 if it ran
    std::vector<Message> msgs;
    EXPECT_TRUE(CalcNekiriAntei(&msgs));
    EXPECT_TRUE(msgs.empty());
    EXPECT_DOUBLE_EQ(gNekiriAnteiAs->F(), f);
}

TEST_F(NekiriEntry, FailedCheckReportsAndStillSucceeds) {
    gInpJiban.Kind = 0;
    gInpJiban.Gw = 0;  // with water head above the bottom: division by zero
    std::vector<Message> msgs;
    EXPECT_TRUE(CalcNekiriAntei(&msgs));
    ASSERT_EQ(msgs.size(), 1u);
    EXPECT_EQ(msgs[0].text, "根切り底面の安定検討時に計算ｴﾗｰが発生しました。");
    EXPECT_EQ(msgs[0].title, "根切り底面の安定検討");
    EXPECT_EQ(msgs[0].icon, MsgIcon::Information);
    EXPECT_EQ(msgs[0].buttons, MsgButtons::Ok);
    EXPECT_EQ(gNekiriAnteiAs->Error(), vberr::kDivisionByZero);
    // No message sink: still no crash, still true.
    EXPECT_TRUE(CalcNekiriAntei());
}

TEST_F(NekiriEntry, InstanceIsReusedAcrossChecks) {
    gInpJiban.Kind = 0;
    ASSERT_TRUE(CalcNekiriAntei());
    const clsNekiriAnteiAs* first = gNekiriAnteiAs.Peek();
    gInpYaita.L = 10.0;
    ASSERT_TRUE(CalcNekiriAntei());
    EXPECT_EQ(gNekiriAnteiAs.Peek(), first);
    EXPECT_DOUBLE_EQ(gNekiriAnteiAs->D, 10.0 - 4.0);
}

TEST(NekiriMessages, ResultWindowRefusal) {
    for (const char* title : {"ボイリングの検討", "ヒービングの検討"}) {
        const Message m = NekiriNoResultMessage(title);
        EXPECT_EQ(m.text, "根切り底面の安定検討時に計算ｴﾗｰが発生しているため，結果はありません。");
        EXPECT_EQ(m.title, title);
        EXPECT_EQ(m.icon, MsgIcon::Information);
        EXPECT_EQ(m.buttons, MsgButtons::Ok);
    }
}

}  // namespace
}  // namespace kuvelt
