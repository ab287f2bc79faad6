#include "calc/dl.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kuvelt {
namespace {

struct Seg {
    double EU, H, PU, PL;
};

void Fill(colDLLoad& c, const std::vector<Seg>& segs) {
    for (const Seg& s : segs) c.Add(s.EU, s.H, s.PU, s.PL);
}

struct SearchCase {
    const char* name;
    double ELDL;
    std::vector<Seg> net;  // given as the active list; water and passive stay empty
    int32_t error;
    double ELDLXU, ELDLXL, ELDLX;
};

class VirtualGroundSearch : public ::testing::TestWithParam<SearchCase> {};

TEST_P(VirtualGroundSearch, Level) {
    const SearchCase& c = GetParam();
    clsDL dl;
    dl.ELDL = c.ELDL;
    Fill(dl.Pa(), c.net);
    dl.Calc();
    EXPECT_EQ(dl.Error(), c.error);
    EXPECT_DOUBLE_EQ(dl.ELDLXU(), c.ELDLXU);
    EXPECT_DOUBLE_EQ(dl.ELDLXL(), c.ELDLXL);
    EXPECT_DOUBLE_EQ(dl.ELDLX(), c.ELDLX);
    ASSERT_EQ(dl.Pg().Count(), static_cast<int32_t>(c.net.size()));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, VirtualGroundSearch,
    ::testing::Values(
        SearchCase{"CrossingInLayer", 0, {{2, 2, 5, 5}, {0, 2, 5, -5}}, 0, 0, -2, -1},
        // X = R(0 + 6 × 12 / (−42), 2) = R(−1.714.., 2).
        SearchCase{"CrossingRounded", 0, {{0, 6, 12, -30}}, 0, 0, -6, -1.71},
        SearchCase{"NearZeroTopCountsAsZero", 0, {{2, 2, 10, 10}, {0, 2, 0.005, -3}}, 0, 0, -2, 0},
        SearchCase{"UniformZeroIsNoCrossing", 0, {{0, 2, 0, 0}, {-2, 2, 5, -5}}, 0, -2, -4, -3},
        SearchCase{"FlatWithinACentIsNoCrossing",
                   0,
                   {{0, 2, 0.004, -0.004}, {-2, 2, 5, -5}},
                   0,
                   -2,
                   -4,
                   -3},
        // Jump from +2 to −1 at a boundary, no crossing above: that boundary, not rounded.
        SearchCase{"JumpAtBoundary",
                   0,
                   {{0, 2.1234, 5, 2}, {-2.1234, 2, -1, -3}},
                   0,
                   -2.1234,
                   -4.1234,
                   -2.1234},
        // A crossing lower down than a jump: the jump's boundary wins; the layer stays A's.
        SearchCase{"JumpAboveCrossingWins",
                   0,
                   {{0, 2, 5, 2}, {-2, 1, -1, -3}, {-3, 2, 4, -4}},
                   0,
                   -3,
                   -5,
                   -2},
        SearchCase{"SignChangeAboveDesignLevelIgnored",
                   0,
                   {{1, 1, 5, -5}, {0, 2, -5, -10}},
                   999,
                   0,
                   -2,
                   -2},
        SearchCase{"TopWithinAMillimetreAboveCounts",
                   0,
                   {{2, 1.9991, 10, 10}, {0.0009, 2.0009, 4, -4}},
                   0,
                   0.0009,
                   -2,
                   -1},
        SearchCase{"TopMoreThanAMillimetreAboveDoesNot",
                   0,
                   {{2, 1.9989, 10, 10}, {0.0011, 2.0011, 4, -4}},
                   999,
                   0.0011,
                   -2,
                   -2},
        SearchCase{"PositiveEverywhere", 0, {{4, 4, 1, 5}, {0, 5, 5, 10}}, 999, 0, -5, -5}),
    [](const ::testing::TestParamInfo<SearchCase>& i) { return std::string(i.param.name); });

TEST(VirtualGround, NetPressureIsActivePlusWaterMinusPassive) {
    clsDL dl;
    dl.ELDL = 0;
    Fill(dl.Pa(), {{4, 10, 0, 30}});
    Fill(dl.Pp(), {{0, 6, 0, 60}});
    dl.Calc();
    ASSERT_EQ(dl.Error(), 0);
    // The empty water list became one zero layer over the common range, then was split.
    ASSERT_EQ(dl.Pw().Count(), 2);
    EXPECT_DOUBLE_EQ(dl.Pw().Item(1)->EU, 4);
    EXPECT_DOUBLE_EQ(dl.Pw().Item(2)->EL, -6);
    // The passive list was padded above the design ground level.
    ASSERT_EQ(dl.Pp().Count(), 2);
    EXPECT_DOUBLE_EQ(dl.Pp().Item(1)->H, 4);
    // The active layer was split at 0: pressure there 12.
    ASSERT_EQ(dl.Pa().Count(), 2);
    EXPECT_DOUBLE_EQ(dl.Pa().Item(1)->PL, 12);
    EXPECT_DOUBLE_EQ(dl.Pa().Item(2)->PU, 12);
    ASSERT_EQ(dl.Pg().Count(), 2);
    const clsDLLoad& g = *dl.Pg().Item(2);
    EXPECT_DOUBLE_EQ(g.PU, 12);
    EXPECT_DOUBLE_EQ(g.PL, -30);
    EXPECT_DOUBLE_EQ(dl.ELDLX(), -1.71);
}

TEST(VirtualGround, WaterAddsToTheNet) {
    clsDL dl;
    dl.ELDL = 0;
    Fill(dl.Pa(), {{4, 10, 0, 30}});
    Fill(dl.Pw(), {{2, 2, 0, 9.8}, {0, 6, 9.8, 9.8}});
    Fill(dl.Pp(), {{0, 6, 0, 60}});
    dl.Calc();
    ASSERT_EQ(dl.Pg().Count(), 3);
    // 4 → 2 active only; 2 → 0 active plus the water triangle; below, minus the passive.
    EXPECT_DOUBLE_EQ(dl.Pg().Item(2)->PU, 6);
    EXPECT_DOUBLE_EQ(dl.Pg().Item(2)->PL, 12 + 9.8);
    EXPECT_DOUBLE_EQ(dl.Pg().Item(3)->PU, 12 + 9.8);
    EXPECT_DOUBLE_EQ(dl.Pg().Item(3)->PL, 30 + 9.8 - 60);
}

TEST(VirtualGround, SplitKeepsCentimetresAndLevelsBetweenThem) {
    // A break at 0.33 (4 - 0.33 = 3.6699999999999999 in binary) gives the thickness 3.67; a break
    // between centimetres, 0.333, keeps its own 3.667 so that the parts meet at 0.333. The
    // pressure at a split is kept to 0.1: 3 × 3.67 = 11.01 and 3 × 3.667 = 11.001 give 11.0.
    for (double level : {0.33, 0.333}) {
        SCOPED_TRACE(level);
        clsDL dl;
        dl.ELDL = 0;
        Fill(dl.Pa(), {{4, 10, 0, 30}});
        Fill(dl.Pp(), {{level, level + 6, 0, 60}});
        dl.Calc();
        ASSERT_EQ(dl.Pa().Count(), 2);
        const clsDLLoad& up = *dl.Pa().Item(1);
        const clsDLLoad& lo = *dl.Pa().Item(2);
        EXPECT_EQ(up.H, level == 0.33 ? 3.67 : 4 - 0.333);
        EXPECT_DOUBLE_EQ(up.EL, level);
        EXPECT_DOUBLE_EQ(up.PL, 11.0);
        EXPECT_DOUBLE_EQ(lo.EU, level);
        EXPECT_DOUBLE_EQ(lo.H, 10 - up.H);
        EXPECT_DOUBLE_EQ(lo.PU, 11.0);
        EXPECT_DOUBLE_EQ(lo.PL, 30);
        EXPECT_DOUBLE_EQ(lo.EL, -6);  // kept
    }
}

TEST(VirtualGround, SplitOfAConstantPressureKeepsItsValue) {
    // Residual water 11.76 below the channel water, split by the passive side's top at 0: to the
    // nearest 0.1 it would be 11.8 on one side of the split and 11.76 on the other.
    clsDL dl;
    dl.ELDL = 0;
    Fill(dl.Pa(), {{2, 8, 0, 40}});
    Fill(dl.Pw(), {{2, 1.2, 0, 11.76}, {0.8, 6.8, 11.76, 11.76}});
    Fill(dl.Pp(), {{0, 6, 0, 90}});
    dl.Calc();
    for (const clsDLLoad& w : dl.Pw()) {
        if (w.EU < 0.8) {
            EXPECT_DOUBLE_EQ(w.PU, 11.76) << w.EU;
        }
        if (w.EU <= 0.8) {
            EXPECT_DOUBLE_EQ(w.PL, 11.76) << w.EU;
        }
    }
}

struct PadCase {
    const char* name;
    Seg active;
    double passiveEU, passiveEL;  // the passive bottom set exactly, not derived
    int32_t activeCount;
};

class VirtualGroundPadding : public ::testing::TestWithParam<PadCase> {};

TEST_P(VirtualGroundPadding, OneMillimetreStaysOpen) {
    const PadCase& c = GetParam();
    clsDL dl;
    dl.ELDL = -1;
    Fill(dl.Pa(), {c.active});
    dl.Pp().Add(c.passiveEU, c.passiveEU - c.passiveEL, 0, 0)->EL = c.passiveEL;
    dl.Calc();
    EXPECT_EQ(dl.Pa().Count(), c.activeCount);
}

// Gaps computed as 0.001 - 0 and 0 - (-0.001): exactly the limit, which is not exceeded. A wider
// gap is padded, so the lists still pair layer by layer once the levels split them (levels in
// centimetres never leave a gap between 1 and 10 mm).
INSTANTIATE_TEST_SUITE_P(
    Gaps, VirtualGroundPadding,
    ::testing::Values(PadCase{"TopExactly1mm", {0, 5, 0, 10}, 0.001, -5, 1},
                      PadCase{"Top1point1mm", {0, 5, 0, 10}, 0.0011, -5, 2},
                      PadCase{"BottomExactly1mm", {5, 5, 0, 10}, 5, -0.001, 1},
                      PadCase{"Bottom1point1mm", {5, 5, 0, 10}, 5, -0.0011, 2}),
    [](const ::testing::TestParamInfo<PadCase>& i) { return std::string(i.param.name); });

TEST(VirtualGround, BreakNearABoundaryCausesNoSplit) {
    clsDL dl;
    dl.ELDL = 0;
    Fill(dl.Pa(), {{4, 4, 0, 10}, {0, 6, 10, 20}});
    Fill(dl.Pp(), {{0.0005, 6.0005, 0, 60}});
    dl.Calc();
    ASSERT_EQ(dl.Pa().Count(), 2);
    ASSERT_EQ(dl.Pp().Count(), 2);
    EXPECT_DOUBLE_EQ(dl.Pp().Item(2)->EU, 0.0005);
    EXPECT_DOUBLE_EQ(dl.Pa().Item(2)->EU, 0);
}

TEST(VirtualGround, NoActiveLayer) {
    clsDL dl;
    Fill(dl.Pg(), {{1, 1, 1, 1}});
    Fill(dl.Pp(), {{0, 5, 0, 50}});
    dl.Calc();
    EXPECT_EQ(dl.Error(), -1);
    EXPECT_EQ(dl.Pg().Count(), 1);
    EXPECT_EQ(dl.Pp().Count(), 1);
    EXPECT_EQ(dl.ELDLX(), 0.0);
}

TEST(VirtualGround, UnpairedLayerIsAMissingItemFault) {
    // A 0.5 mm active layer has no partner in the other lists after splitting.
    clsDL dl;
    dl.ELDL = 0;
    Fill(dl.Pa(), {{4, 2, 0, 5}, {2, 0.0005, 5, 5}, {1.9995, 7.9995, 5, 20}});
    Fill(dl.Pp(), {{4, 10, 0, 0}});
    dl.Calc();
    EXPECT_EQ(dl.Error(), 91);
    EXPECT_EQ(dl.Pg().Count(), 2);  // the layers paired before the fault stay
    EXPECT_EQ(dl.ELDLX(), 0.0);
}

TEST(VirtualGround, RunTimeFaultIsRecorded) {
    clsDL dl;
    dl.ELDL = 0;
    Fill(dl.Pa(), {{0, 2, 1.7e308, 0}});
    Fill(dl.Pw(), {{0, 2, 1.7e308, 0}});
    dl.Calc();
    EXPECT_EQ(dl.Error(), 6);
}

TEST(LoadLists, AddPlacesAndFixesTheBottom) {
    colDLLoad c;
    c.Add(5, 2, 1, 2);
    c.Add(9, 1, 0, 0, 1, true);
    c.Add(3, 1, 0, 0, 1, false);
    ASSERT_EQ(c.Count(), 3);
    EXPECT_DOUBLE_EQ(c.Item(1)->EU, 9);
    EXPECT_DOUBLE_EQ(c.Item(2)->EU, 3);
    EXPECT_DOUBLE_EQ(c.Item(3)->EL, 3);
    c.Item(3)->H = 10;  // the bottom is derived only when added
    EXPECT_DOUBLE_EQ(c.Item(3)->EL, 3);
    EXPECT_EQ(c.Item(4), nullptr);
}

}  // namespace
}  // namespace kuvelt
