#include "calc/rwp.h"

#include <gtest/gtest.h>

#include <string>

namespace kuvelt {
namespace {

struct RwpCase {
    const char* name;
    double ELRWL, ELLWL, Gw, DH, Pw;
};

class RwpTable : public ::testing::TestWithParam<RwpCase> {};

TEST_P(RwpTable, HeadAndPressure) {
    const RwpCase& c = GetParam();
    clsRWp r;
    r.ELRWL = c.ELRWL;
    r.ELLWL = c.ELLWL;
    r.Gw = c.Gw;
    r.Calc();
    EXPECT_EQ(r.Error(), 0);
    EXPECT_DOUBLE_EQ(r.DH(), c.DH);
    EXPECT_DOUBLE_EQ(r.Pw(), c.Pw);
}

INSTANTIATE_TEST_SUITE_P(
    Levels, RwpTable,
    ::testing::Values(RwpCase{"Higher", 3.0, 1.5, 9.8, 1.5, 14.7},
                      RwpCase{"LowerGivesMagnitude", 1.0, 1.5, 10, -0.5, 5},
                      RwpCase{"Equal", 2.0, 2.0, 9.8, 0, 0},
                      // The head is rounded to 0.01 m before the pressure is taken.
                      RwpCase{"HeadRounded", 2.006, 1.0, 9.8, 1.01, 9.9},
                      RwpCase{"HalfCentimetre", 1.005, 1.0, 9.8, 0.01, 0.1},
                      RwpCase{"DefaultWeight", 2.0, 1.0, 10.1, 1, 10.1}),
    [](const ::testing::TestParamInfo<RwpCase>& i) { return std::string(i.param.name); });

TEST(RwpFault, OverflowIsRecorded) {
    clsRWp r;
    r.ELRWL = 1.7e308;
    r.ELLWL = -1.7e308;
    r.Gw = 9.8;
    r.Calc();
    EXPECT_EQ(r.Error(), 6);
}

}  // namespace
}  // namespace kuvelt
