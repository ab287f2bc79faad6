#include "calc/kh.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kuvelt {
namespace {

struct Layer {
    double EU, EL, H, Gs3, HwU, HwL;
};

struct KhCase {
    const char* name;
    double top, h, rwl;
    std::vector<double> add;
    std::vector<Layer> expected;
};

class KhTable : public ::testing::TestWithParam<KhCase> {};

TEST_P(KhTable, Layers) {
    const KhCase& c = GetParam();
    clsKh kh;
    kh.RWL = c.rwl;
    for (double e : c.add) kh.AddEL().Add(e);
    kh.Jiban().Add(2, c.top, c.h, 18.0, 20.0);
    kh.Calc();
    EXPECT_EQ(kh.Error(), 0);
    ASSERT_EQ(kh.Jiban().Count(), static_cast<int32_t>(c.expected.size()));
    for (int32_t i = 1; i <= kh.Jiban().Count(); ++i) {
        const clsKhJiban& j = *kh.Jiban().Item(i);
        const Layer& e = c.expected[i - 1];
        SCOPED_TRACE("layer " + std::to_string(i));
        EXPECT_EQ(j.No, 2);
        EXPECT_DOUBLE_EQ(j.EU, e.EU);
        EXPECT_DOUBLE_EQ(j.EL, e.EL);
        EXPECT_DOUBLE_EQ(j.H, e.H);
        EXPECT_DOUBLE_EQ(j.Gs1, 18.0);
        EXPECT_DOUBLE_EQ(j.Gs2, 20.0);
        EXPECT_DOUBLE_EQ(j.Gs3, e.Gs3);
        EXPECT_NEAR(j.HwU, e.HwU, 1e-12);
        EXPECT_NEAR(j.HwL, e.HwL, 1e-12);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Splits, KhTable,
    ::testing::Values(
        KhCase{"WaterInside", 10, 6, 7, {}, {{10, 7, 3, 18, 0, 0}, {7, 4, 3, 10, 0, 3}}},
        KhCase{"WaterAtBoundary", 10, 6, 4, {}, {{10, 4, 6, 18, 0, 0}}},
        KhCase{"WaterBelowAll", 10, 6, 2, {}, {{10, 4, 6, 18, 0, 0}}},
        KhCase{"WaterAboveAll", 10, 6, 11, {}, {{10, 4, 6, 10, 1, 7}}},
        KhCase{"WaterAtTop", 10, 6, 10, {}, {{10, 4, 6, 10, 0, 6}}},
        KhCase{"ExtraEqualsWater", 10, 6, 7, {7}, {{10, 7, 3, 18, 0, 0}, {7, 4, 3, 10, 0, 3}}},
        KhCase{"WaterAndDesignLevel",
               4,
               14,
               2,
               {0},
               {{4, 2, 2, 18, 0, 0}, {2, 0, 2, 10, 0, 2}, {0, -10, 10, 10, 2, 12}}},
        // A split within 1 mm of a boundary is no split.
        KhCase{"WithinAMillimetre", 10, 6, 9.9995, {}, {{10, 4, 6, 10, 0.0, 5.9995}}},
        // A level between centimetres: the parts meet at it and the bottom stays where it was
        // (a thickness rounded to 0.01 m would move it 4 mm down).
        KhCase{"LevelBetweenCentimetres",
               10,
               6,
               7.004,
               {},
               {{10, 7.004, 2.996, 18, 0, 0}, {7.004, 4, 3.004, 10, 0, 3.004}}}),
    [](const ::testing::TestParamInfo<KhCase>& i) { return std::string(i.param.name); });

TEST(KhSplit, OnlyTheFirstLayerContainingTheLevelIsSplit) {
    clsKh kh;
    kh.RWL = -20;  // below everything
    kh.Jiban().Add(1, 10, 2, 18, 20);
    kh.Jiban().Add(3, 8, 2, 17, 19);
    kh.AddEL().Add(9);
    kh.AddEL().Add(7);
    kh.Calc();
    ASSERT_EQ(kh.Jiban().Count(), 4);
    const int32_t nos[] = {1, 1, 3, 3};
    const double tops[] = {10, 9, 8, 7};
    for (int32_t i = 1; i <= 4; ++i) {
        EXPECT_EQ(kh.Jiban().Item(i)->No, nos[i - 1]);
        EXPECT_DOUBLE_EQ(kh.Jiban().Item(i)->EU, tops[i - 1]);
    }
    EXPECT_DOUBLE_EQ(kh.Jiban().Item(4)->Gs1, 17);
}

TEST(KhFault, OverflowEndsCalc) {
    clsKh kh;
    kh.RWL = 1e308;
    kh.Jiban().Add(2, -1e308, 1, 18, 20);
    kh.Calc();
    EXPECT_EQ(kh.Error(), 6);  // EU - RWL overflows
}

TEST(KhCollection, AddPlacesAndDerivesBottom) {
    colKhJiban c;
    c.Add(1, 5, 2, 18, 20);
    c.Add(2, 3, 1, 18, 20);
    c.Add(9, 9, 1, 18, 20, 1, true);
    c.Add(8, 8, 1, 18, 20, 1, false);
    ASSERT_EQ(c.Count(), 4);
    EXPECT_EQ(c.Item(1)->No, 9);
    EXPECT_EQ(c.Item(2)->No, 8);
    EXPECT_EQ(c.Item(3)->No, 1);
    EXPECT_DOUBLE_EQ(c.Item(3)->EL, 3);
    EXPECT_DOUBLE_EQ(c.Item(3)->Gs3, 9);  // until Calc
    EXPECT_EQ(c.Item(0), nullptr);
    EXPECT_EQ(c.Item(5), nullptr);
}

}  // namespace
}  // namespace kuvelt
